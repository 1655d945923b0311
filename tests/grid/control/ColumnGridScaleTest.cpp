// The column grid's scaling with the form, a descendant's own column collection, the sort
// indicator in automatic column sizing, the progress of row sizing, the sort's row swap and column
// sums over real rows and group rows. Real column 2 is hidden, so display column 2 shows real
// column 3.
#include "grid/control/ExtCGrid.h"
#include "tests/support/QtPrint.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// A grid that records its progress reports and can name a group column and group rows.
class TProbeGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    std::vector<std::pair<int, int>> Progress;
    std::vector<int> NodeRows, SummaryRows; // display rows
    void SetGroupColumnForTest(int C) { FGroupColumn = C; }
    void ExportNotification(int AState, int ARow) override { Progress.emplace_back(AState, ARow); }
    TCellType GetCellType(int ACol, int ARow) override {
        if (ACol == 0 && std::find(NodeRows.begin(), NodeRows.end(), ARow) != NodeRows.end()) return ctNode;
        if (ACol == 0 && std::find(SummaryRows.begin(), SummaryRows.end(), ARow) != SummaryRows.end()) return ctSummary;
        return TExtColumnGrid::GetCellType(ACol, ARow);
    }
};

constexpr int Start = 0, Done = 2, Next = 5; // the progress states

class ColumnGridFinish : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TProbeGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(60);
        G->HideColumn(2);
        ASSERT_EQ(G->RealColIndex(2), 3);
    }
    int Extra() { return G->HorzTextMargin() + 2 * G->GridLineWidth() + 2; }
    std::unique_ptr<TProbeGrid> G;
};

// ---- scaling ------------------------------------------------------------------------------------------
TEST_F(ColumnGridFinish, ScalingGrowsWidthsHeightsAndEveryFontHiddenColumnsIncluded) {
    G->Font()->SetSize(10);
    G->FixedFont()->SetSize(8);
    G->ActiveCellFont()->SetSize(12);
    G->SetColWidths(1, 80);
    G->SetRowHeights(3, 30);
    G->Columns()->Items(3)->Font()->SetSize(9);
    G->Columns()->Items(2)->HeaderFont()->SetSize(14); // the hidden column's item
    const int DefaultH = G->DefaultRowHeight();
    ASSERT_EQ(G->GetAllColWidths(2), 60);
    G->ChangeScaleOverride(3, 2);
    EXPECT_EQ(G->ColWidths(1), 120);
    EXPECT_EQ(G->ColWidths(2), 90);
    EXPECT_EQ(G->GetAllColWidths(2), 90) << "the hidden column comes back scaled";
    EXPECT_EQ(G->DefaultColWidth(), 90);
    EXPECT_EQ(G->DefaultRowHeight(), MulDiv(DefaultH, 3, 2));
    G->SetRowCount(G->RowCount() + 1);
    EXPECT_EQ(G->RowHeights(G->RowCount() - 1), G->DefaultRowHeight()) << "a row added later fits the rest";
    EXPECT_EQ(G->Columns()->Items(1)->Width(), 120) << "the item keeps the width shown";
    EXPECT_EQ(G->RowHeights(3), 45);
    EXPECT_EQ(G->Font()->Size(), 15);
    EXPECT_EQ(G->FixedFont()->Size(), 12);
    EXPECT_EQ(G->ActiveCellFont()->Size(), 18);
    EXPECT_EQ(G->Columns()->Items(3)->Font()->Size(), 14); // 13.5 rounded
    EXPECT_EQ(G->Columns()->Items(2)->HeaderFont()->Size(), 21);
    G->ChangeScaleOverride(5, 5);
    EXPECT_EQ(G->ColWidths(1), 120) << "a scale of one changes nothing";
    EXPECT_EQ(G->Columns()->Items(3)->Font()->Size(), 14);
}

// ---- a descendant's own column collection -------------------------------------------------------------
class TOwnColumns : public TGridColumnCollection {
public:
    using TGridColumnCollection::TGridColumnCollection;
};

class TOverridingGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;

protected:
    std::unique_ptr<TGridColumnCollection> CreateColumns() override { return std::make_unique<TOwnColumns>(this); }
};

// Sets its columns up in its constructor, before its own collection takes over.
class TOverridingSetupGrid : public TOverridingGrid {
public:
    explicit TOverridingSetupGrid(TComponent* AOwner) : TOverridingGrid(AOwner) {
        Columns()->Items(1)->SetHeader("set in the constructor");
        Columns()->Items(2)->SetWidth(123);
        Columns()->Items(3)->SetReadOnly(true);
    }
};

class TMakerGrid : public TExtColumnGrid {
public:
    explicit TMakerGrid(TComponent* AOwner)
        : TExtColumnGrid(AOwner, [](TExtColumnGrid* G) { return std::make_unique<TOwnColumns>(G); }) {
        // The collection is there while the descendant's constructor runs.
        OwnInConstructor = dynamic_cast<TOwnColumns*>(Columns()) != nullptr;
        Columns()->Items(1)->SetHeader("set in the constructor");
    }
    bool OwnInConstructor = false;

protected:
    std::unique_ptr<TGridColumnCollection> CreateColumns() override { return nullptr; }
};

TEST(ColumnCollectionMaker, ADescendantOverrideIsUsedOnceTheGridIsBuilt) {
    std::unique_ptr<TOverridingGrid> G(Create<TOverridingGrid>(nullptr));
    EXPECT_NE(dynamic_cast<TOwnColumns*>(G->Columns()), nullptr);
    EXPECT_EQ(G->Columns()->Count(), G->ColCount()) << "one item per column";
    G->SetColCount(7);
    EXPECT_EQ(G->Columns()->Count(), 7);
}

TEST(ColumnCollectionMaker, WhatTheConstructorSetUpOutlivesTheCollectionChange) {
    std::unique_ptr<TOverridingSetupGrid> G(Create<TOverridingSetupGrid>(nullptr));
    ASSERT_NE(dynamic_cast<TOwnColumns*>(G->Columns()), nullptr);
    ASSERT_EQ(G->Columns()->Count(), G->ColCount());
    EXPECT_EQ(G->Columns()->Items(1)->Header(), "set in the constructor");
    EXPECT_EQ(G->Columns()->Items(2)->Width(), 123);
    EXPECT_TRUE(G->Columns()->Items(3)->ReadOnly());
    EXPECT_FALSE(G->Columns()->Items(4)->ReadOnly());
}

TEST(ColumnCollectionMaker, AMakerGivesTheCollectionDuringConstructionAndIsKept) {
    std::unique_ptr<TMakerGrid> G(Create<TMakerGrid>(nullptr));
    EXPECT_TRUE(G->OwnInConstructor);
    EXPECT_NE(dynamic_cast<TOwnColumns*>(G->Columns()), nullptr);
    EXPECT_EQ(G->Columns()->Items(1)->Header(), "set in the constructor");
}

TEST(ColumnCollectionMaker, APlainGridMadeEitherWayHasTheDefaultCollection) {
    auto Direct = std::make_unique<TExtColumnGrid>(nullptr);
    std::unique_ptr<TExtColumnGrid> Made(Create<TExtColumnGrid>(nullptr));
    for (TExtColumnGrid* G : {Direct.get(), Made.get()}) {
        const TGridColumnCollection& Held = *G->Columns();
        EXPECT_EQ(typeid(Held), typeid(TGridColumnCollection));
        EXPECT_EQ(G->Columns()->Count(), G->ColCount());
    }
}

// ---- sizing -----------------------------------------------------------------------------------------------
TEST_F(ColumnGridFinish, TheSortIndicatorWidensOnlyTheSortedColumn) {
    G->SetGridCell(3, 0, "A wide header text");
    G->SetGridCell(4, 0, "A wide header text");
    G->SortSettings()->SetShow(true);
    G->SortSettings()->SetRow(0);
    G->SortSettings()->SetColumn(3);
    const int Text =
        QFontMetrics(G->Columns()->Items(3)->HeaderFont()->ToQFont()).horizontalAdvance("A wide header text");
    G->AutoSizeCol(2);
    EXPECT_EQ(G->ColWidths(2), Text + 10 + Extra());
    G->AutoSizeCol(3);
    EXPECT_EQ(G->ColWidths(3), Text + Extra()) << "not the sort column";
    G->SortSettings()->SetShow(false);
    G->AutoSizeCol(2);
    EXPECT_EQ(G->ColWidths(2), Text + Extra()) << "no indicator shown";
}

TEST_F(ColumnGridFinish, RowSizingReportsItsProgressRowByRow) {
    G->SetRowCount(4);
    G->AutoSizeRows(false);
    EXPECT_EQ(G->Progress, (std::vector<std::pair<int, int>>{{Start, 1}, {Next, 1}, {Next, 2}, {Next, 3}, {Done, -1}}));
    G->Progress.clear();
    G->AutoSizeRows(true);
    ASSERT_EQ(G->Progress.size(), 6u);
    EXPECT_EQ(G->Progress[1], std::make_pair(Next, 0)) << "fixed rows counted too";
}

// ---- the sort's swap -------------------------------------------------------------------------------------
TEST_F(ColumnGridFinish, SortSwapKeepsTheCrossReferenceCountsAndCarriesTheFollowedRow) {
    for (int r = 0; r < 8; ++r) {
        G->SortRowXRef()->Add(r);
        for (int c = 0; c < 6; ++c) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
    }
    G->SetSortFollowRow(2);
    G->SortSwapRows(2, 5);
    EXPECT_EQ(G->SortRowXRef()->GetInteger(2), 5);
    EXPECT_EQ(G->SortRowXRef()->GetInteger(5), 2);
    EXPECT_EQ(G->GetGridCell(3, 2), "3,5") << "the hidden column moves with its row";
    EXPECT_EQ(G->SortFollowRow(), 5);
    EXPECT_EQ(G->SortSwapCount(), 1);
    G->SortSwapRows(5, 6);
    EXPECT_EQ(G->SortFollowRow(), 6);
    EXPECT_EQ(G->SortSwapCount(), 2);
}

TEST_F(ColumnGridFinish, SingleColumnSortSwapsOnlyTheSortColumn) {
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 6; ++c) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
    G->SortSettings()->SetSingleColumn(true);
    G->SortSettings()->SetColumn(4);
    G->SortSwapRows(1, 3);
    EXPECT_EQ(G->GetGridCell(4, 1), "4,3");
    EXPECT_EQ(G->GetGridCell(4, 3), "4,1");
    EXPECT_EQ(G->GetGridCell(1, 1), "1,1") << "other columns stay";
    EXPECT_EQ(G->GetGridCell(3, 1), "3,1");
}

// ---- column sums ----------------------------------------------------------------------------------------
struct SumCase {
    const char* Name;
    int GroupColumn;
    bool Footer; // a floating footer is shown
    int From, To; // To: a row index, or one of the marks below
    double Sum;
};
constexpr int LastReal = -2, PastLastReal = -3;
void PrintTo(const SumCase& C, std::ostream* Os) { *Os << C.Name; }

class ColumnSums : public ColumnGridFinish, public ::testing::WithParamInterface<SumCase> {};

// Real rows 1..7 hold 1, 2, 4, ... 64 in real column 3; real row 3 (value 4) is hidden, so the
// last real row (7) is the row just past the displayed ones. Display row 2 is a node row (value
// 2) and display row 5 (real row 6, value 32) a summary row.
TEST_P(ColumnSums, CountsRealOrDisplayRowsAndSkipsGroupRows) {
    const SumCase& K = GetParam();
    for (int r = 1; r < 8; ++r) G->SetGridCell(3, r, QString::number(1 << (r - 1)));
    G->HideRow(3);
    ASSERT_EQ(G->RowCount(), 7);
    G->NodeRows = {2};
    G->SummaryRows = {5};
    G->SetGroupColumnForTest(K.GroupColumn);
    G->FloatingFooter()->SetVisible(K.Footer);
    const int To = K.To == LastReal ? G->TotalRowCount() - 1 : K.To == PastLastReal ? G->TotalRowCount() : K.To;
    EXPECT_DOUBLE_EQ(G->ColumnSum(3, K.From, To), K.Sum);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnSums,
    ::testing::Values(SumCase{"DisplayRowsNoGroups", -1, false, 1, 6, 1 + 2 + 8 + 16 + 32 + 64},
                      SumCase{"DisplayRowsGroupRowsLeftOut", 1, false, 1, 6, 1 + 8 + 16 + 64},
                      SumCase{"RowJustPastTheDisplayedStillCountsDisplayRows", -1, false, 1, LastReal,
                              1 + 2 + 8 + 16 + 32 + 64},
                      SumCase{"RowJustPastTheDisplayedWithAFooterCountsRealRows", -1, true, 1, LastReal, 127},
                      SumCase{"RealRowsHiddenIncluded", -1, false, 1, PastLastReal, 127},
                      SumCase{"RealRowsGroupRowsLeftOut", 1, false, 1, PastLastReal, 1 + 4 + 8 + 16 + 64},
                      SumCase{"DefaultRangeIsTheNormalRows", -1, false, -1, -1, 1 + 2 + 8 + 16 + 32 + 64}),
    [](const ::testing::TestParamInfo<SumCase>& I) { return std::string(I.param.Name); });

TEST_F(ColumnGridFinish, ColumnSumReportsProgressAndSkipsNonNumbers) {
    G->SetRowCount(4);
    G->SetGridCell(3, 1, "2.5");
    G->SetGridCell(3, 2, "n/a");
    G->SetGridCell(3, 3, "<b>4</b>");
    EXPECT_DOUBLE_EQ(G->ColumnSum(3, 1, 3), 6.5);
    EXPECT_EQ(G->Progress, (std::vector<std::pair<int, int>>{{Start, 1}, {Next, 1}, {Next, 2}, {Next, 3}, {Done, -1}}));
}

} // namespace
