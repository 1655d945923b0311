// Grouping the rows by a column, sub-groups, undoing both, and the per-group figures, on a grid
// with a hidden column and a row hidden by a filter.
#include "grid/control/ExtCGrid.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridFooter.h"
#include "grid/control/GridSettings.h"
#include "grid/control/GridSettingsObjects.h"
#include "grid/control/SortSettings.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Real columns: 0 the node column, 1 Kind, 2 Secret (hidden), 3 Sub, 4 Name, 5 Value. Row 0 is the
// header, the last row a fixed footer. Real row 6 (c1) is hidden by a filter. The rows come sorted
// by Kind. Grouping by Kind (column 1) leaves 0, 1 Secret (hidden), 2 Sub, 3 Name, 4 Value.
class GroupGrid : public ::testing::Test {
protected:
    static constexpr int KindCol = 1, HiddenCol = 2, SubCol = 3, ValueCol = 5;
    static constexpr int HiddenRealRow = 6;

    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(6);
        const std::vector<std::vector<const char*>> Rows = {
            {"", "Kind", "Secret", "Sub", "Name", "Value"},
            {"", "A", "s1", "p", "a1", "1"},
            {"", "A", "s2", "p", "a2", "2"},
            {"", "B", "s3", "p", "b1", "x"},
            {"", "B", "s4", "q", "b2", "10"},
            {"", "B", "s5", "q", "b3", "20"},
            {"", "C", "s6", "q", "c1", "5"},
            {"", "C", "s7", "q", "c2", "7"},
            {"", "", "", "total", "", "Sum"},
        };
        G->SetRowCount(int(Rows.size()));
        G->SetFixedFooters(1);
        for (int r = 0; r < int(Rows.size()); ++r)
            for (int c = 0; c < 6; ++c) G->SetGridCell(c, r, QString::fromUtf8(Rows[size_t(r)][size_t(c)]));
        G->SetColWidths(KindCol, 77);
        G->SortSettings()->SetAutoSortForGrouping(false);
        G->HideColumn(HiddenCol);
        G->HideRow(HiddenRealRow);
        ASSERT_EQ(G->RealColIndex(2), 3);
    }

    // Every real cell of every real row (hidden ones included), the column widths and what is hidden.
    std::vector<std::string> Snapshot() const {
        std::vector<std::string> S;
        for (int r = 0; r < G->TotalRowCount(); ++r) {
            std::string Line = G->IsHiddenRow(r) ? "hidden:" : "";
            for (int c = 0; c < G->TotalColCount(); ++c)
                Line += G->GetCellsEx(c, r).toStdString() + (G->IsHiddenColumn(c) ? "*" : "") + "|";
            S.push_back(Line);
        }
        for (int c = 0; c < G->ColCount(); ++c) S.push_back("w" + std::to_string(G->ColWidths(c)));
        S.push_back("nodes " + std::to_string(G->NumNodes()));
        return S;
    }
    // The rows on display: N<span> for a node row, S for a summary row, then the shown texts.
    std::vector<std::string> Layout() const {
        std::vector<std::string> L;
        for (int r = G->FixedRows(); r < G->RowCount() - G->FixedFooters(); ++r) {
            std::string Line = G->IsNode(r) ? "N" + std::to_string(G->GetNodeSpan(r)) : G->IsSummary(r) ? "S" : "-";
            for (int c = 1; c < G->ColCount(); ++c) Line += "|" + G->Cells(G->RealColIndex(c), r).toStdString();
            L.push_back(Line);
        }
        return L;
    }

    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(GroupGrid, GroupMakesAHeaderNodePerValueAndTakesTheColumnOut) {
    G->Group(KindCol);
    EXPECT_EQ(G->GroupColumn(), KindCol);
    EXPECT_EQ(Layout(),
              (std::vector<std::string>{"N3|A||", "-|p|a1|1", "-|p|a2|2", "N4|B||", "-|p|b1|x", "-|q|b2|10",
                                        "-|q|b3|20", "N2|C||", "-|q|c2|7"}))
        << "the header text stands in the first shown column";
    EXPECT_EQ(G->Cells(2, 0), "Sub");
    int Filtered = -1;
    for (int r = 0; r < G->TotalRowCount(); ++r)
        if (G->IsHiddenRow(r)) Filtered = r;
    ASSERT_GE(Filtered, 0);
    EXPECT_EQ(G->GetCellsEx(3, Filtered), "c1") << "the filtered row's cells line up with the columns";
    EXPECT_TRUE(G->IsHiddenColumn(1)) << "the hidden column moved with its cells";
}

TEST_F(GroupGrid, AutoSortBringsEqualValuesTogetherFirst) {
    // B, A, B in the group column: the sort makes the groups A (one row) and B (two rows).
    G->UnHideRow(HiddenRealRow);
    G->SetRowCount(5);
    G->SetFixedFooters(0);
    const std::vector<std::pair<const char*, const char*>> Rows = {{"B", "b1"}, {"A", "a1"}, {"B", "b2"}};
    for (int r = 0; r < 3; ++r) {
        G->SetGridCell(KindCol, r + 1, Rows[size_t(r)].first);
        G->SetGridCell(4, r + 1, Rows[size_t(r)].second);
    }
    G->SetGridCell(KindCol, 4, "A");
    G->SetGridCell(4, 4, "a2");
    G->SortSettings()->SetAutoSortForGrouping(true);
    G->Group(KindCol);
    std::vector<std::string> Got;
    for (int r = 1; r < G->RowCount(); ++r)
        Got.push_back((G->IsNode(r) ? "N" + std::to_string(G->GetNodeSpan(r)) + ":" + G->Cells(2, r).toStdString()
                                    : G->Cells(3, r).toStdString()));
    EXPECT_EQ(Got, (std::vector<std::string>{"N3:A", "a1", "a2", "N3:B", "b1", "b2"}));
}

TEST_F(GroupGrid, SummaryRowsFollowEveryGroup) {
    G->Grouping()->SetSummary(true);
    G->Group(KindCol);
    EXPECT_EQ(Layout(),
              (std::vector<std::string>{"N3|A||", "-|p|a1|1", "-|p|a2|2", "S|||", "N4|B||", "-|p|b1|x", "-|q|b2|10",
                                        "-|q|b3|20", "S|||", "N2|C||", "-|q|c2|7", "S|||"}));
}

struct LookCase {
    const char* Name;
    bool Summary, MergeHeader, MergeSummary, ExpandOne;
};
void PrintTo(const LookCase& C, std::ostream* Os) { *Os << C.Name; }

class GroupRoundTrip : public GroupGrid, public ::testing::WithParamInterface<LookCase> {};

TEST_P(GroupRoundTrip, UnGroupGivesEveryRowAndTheColumnBack) {
    const LookCase& C = GetParam();
    TGrouping* Gr = G->Grouping();
    Gr->SetSummary(C.Summary);
    Gr->SetMergeHeader(C.MergeHeader);
    Gr->SetMergeSummary(C.MergeSummary);
    Gr->SetHeaderColor(TColor(0x00FFEEDD));
    Gr->SetSummaryColor(TColor(0x00DDEEFF));
    G->CellNode()->SetExpandOne(C.ExpandOne);
    const auto Before = Snapshot();
    G->Group(KindCol);
    ASSERT_EQ(G->NumNodes(), 3);
    G->ContractNode(G->RealRowIndex(1));
    G->UnGroup();
    EXPECT_EQ(G->GroupColumn(), -1);
    EXPECT_EQ(Snapshot(), Before);
    EXPECT_EQ(G->CellNode()->ExpandOne(), C.ExpandOne);
    for (int r = 0; r < G->RowCount(); ++r) {
        EXPECT_EQ(G->Colors(4, r), clNone) << "row " << r;
        EXPECT_FALSE(G->IsMergedCell(2, r)) << "row " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(Grouping, GroupRoundTrip,
                         ::testing::Values(LookCase{"Plain", false, false, false, false},
                                           LookCase{"Summary", true, false, false, false},
                                           LookCase{"MergedHeaders", false, true, false, false},
                                           LookCase{"MergedSummaries", true, false, true, false},
                                           LookCase{"AllMergedExpandOne", true, true, true, true}),
                         [](const ::testing::TestParamInfo<LookCase>& I) { return std::string(I.param.Name); });

TEST_F(GroupGrid, SummarySwitchedWhileGroupedLosesNoRow) {
    const auto Before = Snapshot();
    G->Group(KindCol);
    G->Grouping()->SetSummary(true);
    G->UnGroup();
    EXPECT_EQ(Snapshot(), Before) << "no data row is taken for a summary row";

    G->Grouping()->SetSummary(true);
    G->Group(KindCol);
    G->Grouping()->SetSummary(false);
    G->UnGroup();
    EXPECT_EQ(Snapshot(), Before) << "no summary row stays behind as data";
}

TEST_F(GroupGrid, GroupingAgainUngroupsFirst) {
    const auto Before = Snapshot();
    G->Group(KindCol);
    G->Group(SubCol); // counted as the columns stand once Kind is back
    EXPECT_EQ(G->GroupColumn(), SubCol);
    EXPECT_EQ(G->Cells(1, 1), "p") << "the header text in the first shown column, Kind";
    G->UnGroup();
    EXPECT_EQ(Snapshot(), Before);
}

struct RefusalCase {
    const char* Name;
    int Column;
    void (*Prepare)(TExtStringGrid*);
};
void PrintTo(const RefusalCase& C, std::ostream* Os) { *Os << C.Name; }

class GroupRefusals : public GroupGrid, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(GroupRefusals, LeaveTheGridAsItWas) {
    const RefusalCase& C = GetParam();
    if (C.Prepare) C.Prepare(G.get());
    const auto Before = Snapshot();
    G->SetGroupColumn(C.Column);
    EXPECT_EQ(Snapshot(), Before);
    EXPECT_EQ(G->GroupColumn(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Grouping, GroupRefusals,
    ::testing::Values(RefusalCase{"ZeroIsIgnored", 0, nullptr},
                      RefusalCase{"FixedColumn", 1, [](TExtStringGrid* G) { G->SetFixedCols(2); }},
                      RefusalCase{"ColumnZeroWithoutFixedColumns", 0, [](TExtStringGrid* G) { G->SetFixedCols(0); }},
                      RefusalCase{"HiddenColumn", 2, nullptr}, RefusalCase{"MissingColumn", 9, nullptr},
                      RefusalCase{"GridWithItsOwnNodes", 1, [](TExtStringGrid* G) { G->AddNode(1, 2); }},
                      RefusalCase{"UnGroupWhenNotGrouped", -1, nullptr}),
    [](const ::testing::TestParamInfo<RefusalCase>& I) { return std::string(I.param.Name); });

// The column asked for is counted as the columns stand once Kind is back; a refused one leaves
// the grouping by Kind in place.
TEST_F(GroupGrid, RefusedRegroupingKeepsTheGroupingInPlace) {
    G->Group(KindCol);
    const auto Grouped = Layout();
    for (int Col : {0, HiddenCol, 6}) {
        G->Group(Col);
        EXPECT_EQ(G->GroupColumn(), KindCol) << "column " << Col;
        EXPECT_EQ(Layout(), Grouped) << "column " << Col;
    }
    G->Group(ValueCol);
    EXPECT_EQ(G->GroupColumn(), ValueCol) << "the last column, counted with Kind back";
}

TEST_F(GroupGrid, NothingToGroupWithoutDataRows) {
    G->SetRowCount(2); // the header and the footer
    G->Group(KindCol);
    EXPECT_EQ(G->GroupColumn(), -1);
    EXPECT_EQ(G->TotalColCount(), 6);
}

// ---- group figures ---------------------------------------------------------------------------------------
struct CalcCase {
    const char* Name;
    int Method;
    bool Summary;
    std::vector<std::string> Values; // groups A, B, C
};
void PrintTo(const CalcCase& C, std::ostream* Os) { *Os << C.Name; }

class GroupFigures : public GroupGrid, public ::testing::WithParamInterface<CalcCase> {};

// After grouping, Value is column 4; the groups' headers are display rows 1, 4, 8 (with summary
// rows: 1, 5, 10, their summary rows 4, 9, 12).
TEST_P(GroupFigures, WriteOneValuePerGroup) {
    const CalcCase& C = GetParam();
    G->Grouping()->SetSummary(C.Summary);
    G->Group(KindCol);
    G->OnGroupCalc = [](TObject*, int ACol, int FromRow, int ToRow, double& Res) {
        Res = ACol * 1000 + FromRow * 10 + ToRow;
    };
    G->GroupCalc(4, C.Method);
    const std::vector<int> Targets = C.Summary ? std::vector<int>{4, 9, 12} : std::vector<int>{1, 4, 8};
    std::vector<std::string> Got;
    for (int T : Targets) Got.push_back(G->Cells(4, T).toStdString());
    EXPECT_EQ(Got, C.Values);
}

INSTANTIATE_TEST_SUITE_P(Grouping, GroupFigures,
                         ::testing::Values(CalcCase{"SumIntoHeaders", 1, false, {"3.00", "30.00", "7.00"}},
                                           CalcCase{"SumIntoSummaries", 1, true, {"3.00", "30.00", "7.00"}},
                                           CalcCase{"AverageOfNumbersOnly", 2, true, {"1.50", "15.00", "7.00"}},
                                           CalcCase{"MinimumSkipsATextFirst", 3, true, {"1.00", "10.00", "7.00"}},
                                           CalcCase{"Maximum", 4, true, {"2.00", "20.00", "7.00"}},
                                           CalcCase{"CountOfRows", 5, false, {"2", "3", "1"}},
                                           CalcCase{"CustomFromTheEvent", 6, false, {"4023.00", "4057.00", "4099.00"}},
                                           CalcCase{"Distinct", 7, true, {"2.00", "3.00", "1.00"}},
                                           CalcCase{"StdDevOfNumbersOnly", 8, true, {"0.50", "5.00", "0.00"}},
                                           CalcCase{"UnknownMethodWritesNothing", 9, true, {"", "", ""}}),
                         [](const ::testing::TestParamInfo<CalcCase>& I) { return std::string(I.param.Name); });

TEST_F(GroupGrid, ContractedGroupGetsNoFigure) {
    G->Group(KindCol);
    G->ContractNode(G->RealRowIndex(4));
    G->GroupCount(4);
    EXPECT_EQ(G->Cells(4, 1), "2");
    EXPECT_EQ(G->Cells(4, 4), "");
    EXPECT_EQ(G->Cells(4, 5), "1") << "group C, now right below B's node";
}

TEST_F(GroupGrid, FooterTakesTheCalculationWhenShown) {
    G->Group(KindCol);
    G->FloatingFooter()->SetVisible(true);
    G->GroupSum(4);
    EXPECT_EQ(G->FloatingFooter()->GetColumnCalc(4), acSUM);
    G->GroupStdDev(4);
    EXPECT_EQ(G->FloatingFooter()->GetColumnCalc(4), acSUM) << "the figures past count leave the footer alone";
}

// ---- sub-groups ----------------------------------------------------------------------------------------------
TEST_F(GroupGrid, SubGroupNestsRunsAndKeepsTheGroupsOwnColumn) {
    G->Group(KindCol);
    G->SubGroup(2); // Sub, as the columns stand after grouping
    EXPECT_EQ(G->GroupColumn(), KindCol) << "UnGroup still brings Kind back";
    EXPECT_EQ(Layout(),
              (std::vector<std::string>{"N4|A||", "N3||p|", "-||a1|1", "-||a2|2", "N6|B||", "N2||p|", "-||b1|x",
                                        "N3||q|", "-||b2|10", "-||b3|20", "N3|C||", "N2||q|", "-||c2|7"}));
    EXPECT_EQ(G->GetNodeLevel(2 - 1), 1);
    EXPECT_EQ(G->GetNodeLevel(2), 2);
}

TEST_F(GroupGrid, SubUnGroupThenUnGroupRestoresTheGrid) {
    const auto Before = Snapshot();
    G->Group(KindCol);
    const auto Grouped = Layout();
    G->SubGroup(2);
    G->SubUnGroup(2);
    EXPECT_EQ(Layout(), Grouped);
    G->UnGroup();
    EXPECT_EQ(Snapshot(), Before);
}

TEST_F(GroupGrid, UnGroupUndoesSubGroupsToo) {
    const auto Before = Snapshot();
    G->Grouping()->SetSummary(true);
    G->Group(KindCol);
    G->SubGroup(2);
    G->UnGroup();
    EXPECT_EQ(Snapshot(), Before);
}

TEST_F(GroupGrid, FiguresOfAGroupWithACollapsedSubGroupStayInTheirGroup) {
    G->Grouping()->SetSummary(true);
    G->Group(KindCol);
    G->SubGroup(2);
    // B's sub-group q (b2, b3) is collapsed: B's figure is taken over the rows on display, and
    // the groups after B still get theirs, each into its own summary row.
    int SubQ = -1;
    for (int r = G->FixedRows(); r < G->RowCount(); ++r)
        if (G->GetNodeLevel(r) == 2 && G->Cells(3, r) == "q") {
            SubQ = r;
            break;
        }
    ASSERT_GT(SubQ, 0);
    G->ContractNode(G->RealRowIndex(SubQ));
    G->GroupCount(4);
    G->GroupSum(4);
    std::vector<std::string> Got;
    for (int r = G->FixedRows(); r < G->RowCount() - G->FixedFooters(); ++r)
        if (G->IsSummary(r)) Got.push_back(G->Cells(4, r).toStdString());
    EXPECT_EQ(Got, (std::vector<std::string>{"3.00", "0.00", "", "7.00"}))
        << "B has only x on display; the sub-grouping's summary row inside C is no group's";
    std::vector<std::string> Headers;
    for (int r = G->FixedRows(); r < G->RowCount(); ++r)
        if (G->GetNodeLevel(r) == 1) Headers.push_back(G->Cells(2, r).toStdString());
    EXPECT_EQ(Headers, (std::vector<std::string>{"A", "B", "C"})) << "no header row is written over";
}

TEST_F(GroupGrid, DistinctCountsOnlyTheDataRowsOfASubGroupedGroup) {
    G->Group(KindCol);
    G->SubGroup(2);
    G->GroupDistinct(3); // Name: the sub-headers hold their value in this column
    EXPECT_EQ(G->Cells(3, 1), QStringLiteral("2.00")) << "a1 and a2, not the sub-header's p";
}

struct SubRefusalCase {
    const char* Name;
    bool GroupFirst;
    int FirstSub, SecondSub;
};
void PrintTo(const SubRefusalCase& C, std::ostream* Os) { *Os << C.Name; }

class SubGroupRefusals : public GroupGrid, public ::testing::WithParamInterface<SubRefusalCase> {};

// A sub-grouping that UnGroup could not take back is not made: the grid keeps its rows and
// values through the refused call and the UnGroup after it.
TEST_P(SubGroupRefusals, LoseNothing) {
    const SubRefusalCase& C = GetParam();
    const auto Before = Snapshot();
    if (C.GroupFirst) G->Group(KindCol);
    if (C.FirstSub > 0) G->SubGroup(C.FirstSub);
    const auto Layout1 = Layout();
    G->SubGroup(C.SecondSub);
    EXPECT_EQ(Layout(), Layout1);
    G->UnGroup();
    EXPECT_EQ(Snapshot(), Before);
}

INSTANTIATE_TEST_SUITE_P(Grouping, SubGroupRefusals,
                         ::testing::Values(SubRefusalCase{"WithoutAGrouping", false, 0, 2},
                                           SubRefusalCase{"TheSameColumnTwice", true, 2, 2}),
                         [](const ::testing::TestParamInfo<SubRefusalCase>& I) { return std::string(I.param.Name); });

// ---- the column grid -------------------------------------------------------------------------------------
TEST(ColumnGridGrouping, EveryColumnGetsItsOwnSettingsBack) {
    auto G = std::make_unique<TExtColumnGrid>(nullptr);
    G->SetColCount(5);
    G->SetRowCount(4);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r) G->SetGridCell(c, r, QString("%1.%2").arg(c).arg(r % 2));
    G->SortSettings()->SetAutoSortForGrouping(false);
    auto Format = [&G](int c) { return G->Columns()->Items(c)->FloatFormat(); };
    for (int c = 0; c < 5; ++c) G->Columns()->Items(c)->SetFloatFormat(QString("%.%1f").arg(c));
    G->Group(1);
    G->Group(0); // refused: the grouping by 1 stands
    EXPECT_EQ(G->GroupColumn(), 1);
    G->Group(3); // as the columns stand with column 1 back
    EXPECT_EQ(G->GroupColumn(), 3);
    G->UnGroup();
    EXPECT_EQ(G->GroupColumn(), -1);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(Format(c), QString("%.%1f").arg(c)) << "column " << c;
}

} // namespace
