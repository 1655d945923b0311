// Row and column operations of the string grid and the column grid, on a fixture with a hidden
// column, a hidden row and cell records.
#include "grid/control/ExtCGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Six real columns, real column 2 hidden; one fixed row and column; eight rows of which real
// row 6 is hidden after filling. Every cell holds "realcol,realrow".
class RowColGrid : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(60);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r) G->SetGridCell(c, r, Txt(c, r));
        for (int c = 0; c < 6; ++c) G->Columns()->Items(c)->SetHeader(QString("H%1").arg(c));
        G->HideColumn(2);
        G->HideRow(6);
        ASSERT_EQ(G->ColCount(), 5);
        ASSERT_EQ(G->RowCount(), 7);
    }
    static QString Txt(int c, int r) { return QString("%1,%2").arg(c).arg(r); }
    TGridColumnItem* Item(int i) { return G->Columns()->Items(i); }
    // The texts of one display row over all real columns, joined by "|".
    QString RowText(int DisplRow) {
        QStringList L;
        for (int c = 0; c < G->TotalColCount(); ++c) L << G->GetGridCell(c, DisplRow);
        return L.join('|');
    }
    std::unique_ptr<TExtColumnGrid> G;
};

// ---- moving a column across a hidden one -----------------------------------------------------------
struct TMoveCase {
    const char* Name;
    int FromDispl, ToDispl;
    std::vector<int> Order; // real column now at each real index (by its old index)
    int HiddenReal; // where the hidden column is afterwards
};
void PrintTo(const TMoveCase& K, std::ostream* os) { *os << K.Name; }

class MoveAcrossHidden : public RowColGrid, public ::testing::WithParamInterface<TMoveCase> {};

TEST_P(MoveAcrossHidden, CellsWidthsItemsAndHiddenStateMoveTogether) {
    const TMoveCase& K = GetParam();
    // Distinct widths and cell records per column, a hidden column with its own kept width.
    for (int d = 0; d < G->ColCount(); ++d) G->SetColWidths(d, 50 + G->RealColIndex(d));
    for (int c = 0; c < 6; ++c) G->GetCellProperties(c, 3)->SetBrushColor(TColor(0x100 + c));
    G->UnHideColumn(2);
    G->SetColWidths(2, 52);
    G->HideColumn(2);
    G->MoveColumn(K.FromDispl, K.ToDispl);

    G->CheckIndexConsistency();
    EXPECT_EQ(G->ColCount(), 5);
    EXPECT_EQ(G->NumHiddenColumns(), 1);
    EXPECT_TRUE(G->IsHiddenColumn(K.HiddenReal));
    for (int c = 0; c < 6; ++c) {
        const int Old = K.Order[size_t(c)];
        SCOPED_TRACE(c);
        EXPECT_EQ(G->GetGridCell(c, 1), Txt(Old, 1));
        EXPECT_EQ(G->GetCellsEx(c, 6), Txt(Old, 6)); // the hidden row moves with them
        ASSERT_TRUE(G->HasCellProperties(c, 3));
        EXPECT_EQ(G->GetCellProperties(c, 3)->BrushColor(), TColor(0x100 + Old));
        EXPECT_EQ(G->GetCellProperties(c, 3)->OwnerCol(), c);
        EXPECT_EQ(Item(c)->Header(), QString("H%1").arg(Old));
        EXPECT_EQ(G->AllColWidths(c), 50 + Old);
    }
    // Showing the hidden column again puts its own cells and width where it now is.
    G->UnHideColumnsAll();
    EXPECT_EQ(G->ColWidths(K.HiddenReal), 52);
    EXPECT_EQ(G->GetGridCell(K.HiddenReal, 1), "2,1");
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveAcrossHidden,
                         ::testing::Values(TMoveCase{"RightOverHidden", 1, 3, {0, 2, 3, 4, 1, 5}, 1},
                                           TMoveCase{"LeftOverHidden", 4, 1, {0, 5, 1, 2, 3, 4}, 3},
                                           TMoveCase{"RightBesideHidden", 2, 4, {0, 1, 2, 4, 5, 3}, 2},
                                           TMoveCase{"LeftOntoColumnAfterHidden", 2, 1, {0, 3, 1, 2, 4, 5}, 3}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(RowColGrid, SortColumnFollowsAMovedColumn) {
    G->SortSettings()->SetColumn(4);
    G->MoveColumn(3, 1); // real 4 to real 1
    EXPECT_EQ(G->SortSettings()->Column(), 1);
    G->SortSettings()->SetColumn(3);
    G->MoveColumn(1, 3); // real 1 to real 4: 2..4 shift left
    EXPECT_EQ(G->SortSettings()->Column(), 2);
}

} // namespace
