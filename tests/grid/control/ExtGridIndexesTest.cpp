// Display and real indexes: the visible-column map, the hidden-row store with its filter levels,
// and moving rows. Every fixture keeps a hidden column; the row tests also keep hidden rows.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

QString Text(int RealCol, int RealRow) { return QString("c%1r%2").arg(RealCol).arg(RealRow); }

// ---- the column map ---------------------------------------------------------------------------------------
struct TColCase {
    const char* Name;
    std::vector<int> Hidden; // real columns hidden, in this order, on a five-column sheet
    bool ToReal; // RealColIndex (display -> real) or DisplColIndex (real -> display)
    int Index;
    int Expected;
};

class ColumnMap : public ::testing::TestWithParam<TColCase> {};

TEST_P(ColumnMap, MapsBetweenDisplayAndRealColumns) {
    const TColCase& C = GetParam();
    TExtStringGrid G(nullptr);
    G.SetColCount(5);
    for (int RealCol : C.Hidden) {
        G.HideColumn(RealCol);
        G.CheckIndexConsistency();
    }
    EXPECT_EQ(C.ToReal ? G.RealColIndex(C.Index) : G.DisplColIndex(C.Index), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColumnMap,
                         ::testing::Values(TColCase{"RealOfDispl1WithCol1Hidden", {1}, true, 1, 2},
                                           TColCase{"DisplOfReal2WithCol1Hidden", {1}, false, 2, 1},
                                           TColCase{"HiddenColumnMapsToItsWouldBePosition", {1}, false, 1, 1},
                                           TColCase{"ColumnsBeyondTheSheetCountAsVisible", {1}, true, 4, 5},
                                           TColCase{"NoMatchInsideTheMapGivesZero", {1}, true, 511, 0},
                                           TColCase{"BeyondTheMapIsUnchanged", {1}, true, 600, 600},
                                           TColCase{"RealBeyondTheMapIsUnchanged", {1}, false, 600, 600},
                                           TColCase{"NothingHiddenIsIdentity", {}, true, 3, 3},
                                           TColCase{"TwoHiddenSkipsBoth", {1, 2}, true, 1, 3},
                                           TColCase{"TwoHiddenDisplOfLast", {1, 2}, false, 4, 2},
                                           TColCase{"FixedColumnHidden", {0}, true, 0, 1},
                                           TColCase{"DisplOfRealZero", {0}, false, 0, 0}),
                         [](const ::testing::TestParamInfo<TColCase>& I) { return std::string(I.param.Name); });

class HiddenColumns : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(4);
        for (int RealCol = 0; RealCol < 5; ++RealCol) {
            G->SetColWidths(RealCol, 40 + RealCol);
            for (int Row = 0; Row < 4; ++Row) G->SetCells(RealCol, Row, Text(RealCol, Row));
        }
        G->HideColumn(1);
        G->CheckIndexConsistency();
    }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(HiddenColumns, HidingKeepsTheCellsAndCounts) {
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->NumHiddenColumns(), 1);
    EXPECT_EQ(G->TotalColCount(), 5);
    EXPECT_EQ(G->AllColCount(), 5);
    EXPECT_TRUE(G->IsHiddenColumn(1));
    EXPECT_EQ(G->Cells(1, 2), Text(1, 2));
    // The display columns keep the widths of the columns they show.
    EXPECT_EQ(G->ColWidths(1), 42);
    EXPECT_EQ(G->ColWidths(3), 44);
}

TEST_F(HiddenColumns, RepeatedAndImpossibleRequestsAreSkipped) {
    G->HideColumn(1); // already hidden
    G->UnHideColumn(2); // visible
    G->HideColumn(7); // beyond the sheet
    G->CheckIndexConsistency();
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->NumHiddenColumns(), 1);

    TExtStringGrid One(nullptr);
    One.SetColCount(2);
    One.SetFixedCols(0);
    One.HideColumn(0);
    One.HideColumn(1); // would leave no visible column
    One.CheckIndexConsistency();
    EXPECT_EQ(One.ColCount(), 1);
    EXPECT_EQ(One.NumHiddenColumns(), 1);
}

TEST_F(HiddenColumns, RequestsBeyondTheMapAreIgnored) {
    TExtStringGrid Wide(nullptr);
    Wide.SetColCount(520);
    Wide.HideColumns(510, 519);
    Wide.CheckIndexConsistency();
    EXPECT_EQ(Wide.NumHiddenColumns(), 2); // 510 and 511; 512 and up stay as they are
    EXPECT_FALSE(Wide.IsHiddenColumn(512));
    EXPECT_EQ(Wide.ColCount(), 518);
    Wide.UnHideColumns(0, 600);
    Wide.CheckIndexConsistency();
    EXPECT_EQ(Wide.ColCount(), 520);
    EXPECT_EQ(Wide.NumHiddenColumns(), 0);
}

TEST_F(HiddenColumns, ShowingAgainGivesTheWidthBackWhateverItsSize) {
    G->UnHideColumn(1);
    G->CheckIndexConsistency();
    EXPECT_EQ(G->ColCount(), 5);
    for (int RealCol = 0; RealCol < 5; ++RealCol) EXPECT_EQ(G->ColWidths(RealCol), 40 + RealCol) << RealCol;

    G->SetColWidths(3, 40000); // wider than 16 bits
    G->HideColumn(3);
    G->UnHideColumn(3);
    EXPECT_EQ(G->ColWidths(3), 40000);
}

TEST_F(HiddenColumns, UnHideAllShowsEveryColumnInItsPlace) {
    G->HideColumn(3);
    G->CheckIndexConsistency();
    EXPECT_EQ(G->RealColIndex(1), 2);
    EXPECT_EQ(G->RealColIndex(2), 4);
    G->UnHideColumnsAll();
    G->CheckIndexConsistency();
    EXPECT_EQ(G->ColCount(), 5);
    for (int RealCol = 0; RealCol < 5; ++RealCol) {
        EXPECT_EQ(G->RealColIndex(RealCol), RealCol);
        EXPECT_EQ(G->ColWidths(RealCol), 40 + RealCol);
    }
}

TEST_F(HiddenColumns, TheEditorWritesTheRealColumnAndNeverAColumnThatIsNotShown) {
    G->SetEditText(1, 2, "edited"); // display column 1 shows real column 2
    EXPECT_EQ(G->Cells(2, 2), "edited");
    EXPECT_EQ(G->Cells(1, 2), Text(1, 2));
    EXPECT_EQ(G->GetEditText(1, 3), Text(2, 3));

    // Every mapped real column hidden but the first: display columns from 1 up show nothing.
    TExtStringGrid Wide(nullptr);
    Wide.SetColCount(512);
    Wide.HideColumns(1, 511);
    ASSERT_EQ(Wide.ColCount(), 1);
    Wide.SetCells(0, 1, "kept");
    Wide.SetEditText(5, 1, "lost?");
    EXPECT_EQ(Wide.Cells(0, 1), "kept");
    EXPECT_EQ(Wide.Cells(5, 1), "");
}

// ---- the hidden-row store -------------------------------------------------------------------------------
// Ten real rows 0..9 over six real columns, real column 2 hidden; every cell says where it
// belongs and every row has its own height.
class HiddenRows : public ::testing::Test {
protected:
    static constexpr int Rows = 10;
    static constexpr int Cols = 6;
    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(Cols);
        G->SetRowCount(Rows);
        for (int Row = 0; Row < Rows; ++Row) {
            G->SetRowHeights(Row, 20 + Row);
            for (int RealCol = 0; RealCol < Cols; ++RealCol) G->SetCells(RealCol, Row, Text(RealCol, Row));
        }
        G->HideColumn(2);
        Check();
    }
    void Check() const { G->CheckIndexConsistency(); }
    // Every visible row shows the texts and height of the real row it maps to, and every hidden
    // row's texts wait in the store.
    void ExpectAllInPlace(bool Heights = true) const {
        ASSERT_EQ(G->TotalRowCount(), Rows);
        for (int DisplRow = 0; DisplRow < G->RowCount(); ++DisplRow) {
            const int RealRow = G->RealRowIndex(DisplRow);
            EXPECT_EQ(G->DisplRowIndex(RealRow), DisplRow);
            EXPECT_FALSE(G->IsHiddenRow(RealRow));
            if (Heights) {
                EXPECT_EQ(G->RowHeights(DisplRow), 20 + RealRow) << "display row " << DisplRow;
            }
            for (int RealCol = 0; RealCol < Cols; ++RealCol)
                ASSERT_EQ(G->Cells(RealCol, DisplRow), Text(RealCol, RealRow)) << "display row " << DisplRow;
        }
        for (int RealRow = 0; RealRow < Rows; ++RealRow)
            for (int RealCol = 0; RealCol < Cols; ++RealCol)
                ASSERT_EQ(G->GetCellsEx(RealCol, RealRow), Text(RealCol, RealRow)) << "real row " << RealRow;
    }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(HiddenRows, HideRowsThenUnHideRowsRestoresTextsAndHeights) {
    G->HideRows(3, 4);
    Check();
    EXPECT_EQ(G->RowCount(), 8);
    EXPECT_EQ(G->NumHiddenRows(), 2);
    EXPECT_EQ(G->RealRowIndex(3), 5);
    EXPECT_EQ(G->DisplRowIndex(5), 3);
    EXPECT_TRUE(G->IsHiddenRow(4));
    EXPECT_EQ(G->HiddenRows().Items(0)->Height(), 23);
    ExpectAllInPlace();
    G->UnHideRows(3, 4);
    Check();
    EXPECT_EQ(G->RowCount(), 10);
    EXPECT_EQ(G->NumHiddenRows(), 0);
    ExpectAllInPlace();
}

struct TRowIndexCase {
    const char* Name;
    bool ToReal;
    int Index;
    int Expected;
};

class RowIndexes : public HiddenRows, public ::testing::WithParamInterface<TRowIndexCase> {};

// Real rows 3, 4 and 7 hidden.
TEST_P(RowIndexes, MapBetweenDisplayAndRealRows) {
    G->HideRows(3, 4);
    G->HideRow(7);
    Check();
    const TRowIndexCase& C = GetParam();
    EXPECT_EQ(C.ToReal ? G->RealRowIndex(C.Index) : G->DisplRowIndex(C.Index), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowIndexes,
    ::testing::Values(TRowIndexCase{"RealOfDispl3", true, 3, 5}, TRowIndexCase{"DisplOfReal5", false, 5, 3},
                      TRowIndexCase{"RealBeforeTheHiddenRows", true, 2, 2},
                      TRowIndexCase{"RealAfterAllHiddenRows", true, 5, 8},
                      TRowIndexCase{"RealOfTheLastRow", true, 6, 9}, TRowIndexCase{"RealBeyondTheRows", true, 9, 12},
                      TRowIndexCase{"DisplOfAHiddenRow", false, 4, 3}, TRowIndexCase{"DisplOfTheLastRow", false, 9, 6},
                      TRowIndexCase{"NegativeStaysNegative", true, -1, -1}),
    [](const ::testing::TestParamInfo<TRowIndexCase>& I) { return std::string(I.param.Name); });

TEST_F(HiddenRows, HideRowListThenUnHideRowListPutsTheRowsBack) {
    TIntList List(0, 0);
    List.Add(2);
    List.Add(5);
    G->HideRowList(&List);
    Check();
    EXPECT_EQ(G->FilterLevel(), 1);
    EXPECT_EQ(G->RowCount(), 8);
    EXPECT_TRUE(G->IsHiddenRow(2));
    EXPECT_TRUE(G->IsHiddenRow(5));
    ExpectAllInPlace();
    G->UnHideRowList();
    Check();
    EXPECT_EQ(G->NumHiddenRows(), 0);
    EXPECT_EQ(G->RowCount(), 10);
    ExpectAllInPlace();
}

TEST_F(HiddenRows, TheFooterRowStaysLast) {
    G->FloatingFooter()->SetVisible(true);
    TIntList List(0, 0);
    List.Add(1);
    List.Add(8);
    G->HideRowList(&List);
    EXPECT_EQ(G->Cells(0, G->RowCount() - 1), Text(0, 9));
    G->UnHideRowList();
    Check();
    EXPECT_EQ(G->Cells(0, G->RowCount() - 1), Text(0, 9));
    ExpectAllInPlace();
}

TEST_F(HiddenRows, ManualHidingAndFilterLevelsCombineWithoutMixingRows) {
    G->HideRows(1, 2); // manual
    TIntList Level0(0, 0);
    Level0.Add(2); // display row 2 is real row 4
    Level0.Add(5); // real row 7
    G->HideRowList(&Level0);
    Check();
    EXPECT_TRUE(G->IsHiddenRow(4));
    EXPECT_TRUE(G->IsHiddenRow(7));
    TIntList Level1(0, 0);
    Level1.Add(3); // real rows visible now: 0 3 5 6 8 9 -> display 3 is real 6
    G->HideRowList(&Level1);
    Check();
    EXPECT_EQ(G->FilterLevel(), 2);
    EXPECT_TRUE(G->IsHiddenRow(6));
    ExpectAllInPlace();

    G->UnHideRowList(); // level 2: only real row 6 comes back
    G->SetFilterLevel(1);
    Check();
    EXPECT_FALSE(G->IsHiddenRow(6));
    EXPECT_TRUE(G->IsHiddenRow(7));
    ExpectAllInPlace();

    G->HideRow(8); // manual, while a filter level is applied
    Check();
    ExpectAllInPlace();
    G->UnHideRowsAll();
    Check();
    EXPECT_EQ(G->NumHiddenRows(), 0);
    ExpectAllInPlace();
}

TEST_F(HiddenRows, UnHideRowListWithoutAFilterLevelKeepsManuallyHiddenRows) {
    G->HideRows(3, 4);
    G->UnHideRowList();
    Check();
    EXPECT_EQ(G->NumHiddenRows(), 2);
    ExpectAllInPlace();
}

TEST_F(HiddenRows, PartialRangesPutEveryTextInItsOwnRow) {
    G->HideRow(3);
    G->HideRows(2, 5); // 3 already hidden
    Check();
    EXPECT_EQ(G->NumHiddenRows(), 4);
    ExpectAllInPlace();
    G->UnHideRows(2, 3); // 4 and 5 stay hidden
    Check();
    EXPECT_EQ(G->NumHiddenRows(), 2);
    EXPECT_TRUE(G->IsHiddenRow(4));
    ExpectAllInPlace();
    G->HideRow(8);
    G->UnHideRows(4, 9); // 6, 7 and 9 were never hidden
    Check();
    EXPECT_EQ(G->NumHiddenRows(), 0);
    ExpectAllInPlace();
}

TEST_F(HiddenRows, UnHideRowsNeedsTheFirstRowHidden) {
    G->HideRow(5);
    G->UnHideRows(4, 6);
    EXPECT_TRUE(G->IsHiddenRow(5));
    G->UnHideRow(5);
    Check();
    EXPECT_EQ(G->NumHiddenRows(), 0);
    ExpectAllInPlace();
}

TEST_F(HiddenRows, HideRowsExKeepsNoHeight) {
    G->HideRowsEx(6, 7);
    Check();
    EXPECT_EQ(G->RowCount(), 8);
    EXPECT_EQ(G->HiddenRows().Items(0)->Height(), 0);
    EXPECT_EQ(G->GetCellsEx(3, 7), Text(3, 7));
    G->HideRowsEx(6, 6); // already hidden: nothing
    EXPECT_EQ(G->NumHiddenRows(), 2);
}

TEST_F(HiddenRows, CellsOfHiddenRowsAreReadAndWrittenByRealRow) {
    G->HideRows(3, 4);
    G->SetCellsEx(5, 4, "changed while hidden");
    G->SetCellsEx(1, 6, "visible");
    EXPECT_EQ(G->Cells(1, 4), "visible"); // real row 6 is display row 4
    EXPECT_EQ(G->GetCellsEx(5, 4), "changed while hidden");
    EXPECT_EQ(G->GetCellsEx(-1, 4), "");
    G->UnHideRows(3, 4);
    EXPECT_EQ(G->Cells(5, 4), "changed while hidden");
}

TEST_F(HiddenRows, CellObjectsTravelWithHiddenRows) {
    TCellProperties* P = G->GetCellProperties(2, 4); // in the hidden column
    P->SetBrushColor(clRed);
    G->HideRows(3, 4);
    EXPECT_EQ(G->GetCellPropertiesByRealRow(2, 4), P);
    EXPECT_FALSE(G->HasCellProperties(2, 3)); // real row 5 moved up without it
    G->UnHideRowsAll();
    ASSERT_TRUE(G->HasCellProperties(2, 4));
    EXPECT_EQ(G->GetCellProperties(2, 4), P);
    EXPECT_EQ(P->BrushColor(), clRed);
}

TEST_F(HiddenRows, LookupListAnswersLikeTheStore) {
    G->HideRows(2, 3);
    G->HideRow(8);
    TIntList* Lookup = nullptr;
    for (int RealRow = 0; RealRow < Rows; ++RealRow)
        EXPECT_EQ(G->IsHiddenRow(RealRow, Lookup), G->IsHiddenRow(RealRow)) << RealRow;
    ASSERT_NE(Lookup, nullptr);
    EXPECT_EQ(Lookup->Count(), 3);
    delete Lookup;
}

// Random sequences of every hiding and showing operation against a plain model of which real
// rows are hidden: after each step the store is consistent and every row is in its place.
TEST_F(HiddenRows, RandomSequencesKeepEveryRowInPlace) {
    QRandomGenerator Rng(16);
    for (int Step = 0; Step < 400; ++Step) {
        const int Op = int(Rng.bounded(6));
        const int A = int(Rng.bounded(Rows));
        const int B = std::min(Rows - 1, A + int(Rng.bounded(3)));
        switch (Op) {
            case 0: G->HideRows(A, B); break;
            case 1: G->UnHideRows(A, B); break;
            case 2: {
                TIntList L(0, 0);
                for (int D = 0; D < G->RowCount(); ++D)
                    if (Rng.bounded(4) == 0) L.Add(D);
                if (L.Count() < G->RowCount()) G->HideRowList(&L);
                break;
            }
            case 3:
                if (G->FilterLevel() > 0) {
                    G->UnHideRowList();
                    G->SetFilterLevel(G->FilterLevel() - 1);
                }
                break;
            case 4: G->HideRowsEx(A, B); break;
            default:
                if (Rng.bounded(4) == 0) {
                    G->UnHideRowsAll();
                    G->SetFilterLevel(0);
                }
        }
        Check();
        ExpectAllInPlace(false); // rows hidden through the removal operation keep no height
        if (HasFatalFailure() || HasNonfatalFailure()) FAIL() << "after step " << Step << " (operation " << Op << ")";
    }
}

// ---- moving rows -----------------------------------------------------------------------------------------
TEST_F(HiddenRows, MoveRowsPutsTheBlockWhereItWasAsked) {
    G->UnHideColumn(2);
    G->HideColumn(4);
    TCellProperties* P = G->GetCellProperties(4, 3); // hidden column, moving row
    G->MoveRows(2, 8, 3);
    Check();
    EXPECT_EQ(G->RowCount(), 10);
    // Rows 2..4 now start at display row 5; rows 5..7 moved up.
    const int Expected[Rows] = {0, 1, 5, 6, 7, 2, 3, 4, 8, 9};
    for (int DisplRow = 0; DisplRow < Rows; ++DisplRow) {
        for (int RealCol = 0; RealCol < Cols; ++RealCol)
            EXPECT_EQ(G->Cells(RealCol, DisplRow), Text(RealCol, Expected[DisplRow])) << DisplRow;
        EXPECT_EQ(G->RowHeights(DisplRow), 20 + Expected[DisplRow]) << DisplRow;
    }
    ASSERT_TRUE(G->HasCellProperties(4, 6));
    EXPECT_EQ(G->GetCellProperties(4, 6), P);
    EXPECT_FALSE(G->HasCellProperties(4, 3));
}

TEST_F(HiddenRows, MoveRowsOfNothingDoesNothing) {
    G->MoveRows(2, 2, 3);
    G->MoveRows(2, 5, 0);
    for (int DisplRow = 0; DisplRow < Rows; ++DisplRow) EXPECT_EQ(G->Cells(0, DisplRow), Text(0, DisplRow));
}

} // namespace
