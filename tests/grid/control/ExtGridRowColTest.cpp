// Row and column operations of the string grid and the column grid, on a fixture with a hidden
// column, a hidden row and cell records.
#include "grid/control/ExtCGrid.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The column grid with its update lock visible.
class TProbeGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    using TExtStringGrid::UpdatePending;
    // What the grouping service leaves behind when it took a column out.
    void SetGroupColumnForTest(int RealCol) { FGroupColumn = RealCol; }
};

// Six real columns, real column 2 hidden; one fixed row and column; eight rows of which real
// row 6 is hidden after filling. Every cell holds "realcol,realrow".
class RowColGrid : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TProbeGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(60);
        for (int c = 0; c < 6; ++c) G->Columns()->Items(c)->SetHeader(QString("H%1").arg(c));
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 8; ++r) G->SetGridCell(c, r, Txt(c, r));
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
    // The row keys of every row once all rows are shown again, each row checked to hold the
    // cells of one original row in every real column (or to be empty).
    std::vector<QString> KeysAfterUnhide() {
        G->UnHideRowsAll();
        std::vector<QString> Keys;
        for (int r = 0; r < G->RowCount(); ++r) {
            const QString K = G->GetGridCell(0, r).section(',', 1);
            for (int c = 0; c < G->TotalColCount(); ++c)
                EXPECT_EQ(G->GetGridCell(c, r), K.isEmpty() ? QString() : Txt(c, K.toInt())) << "row " << r;
            Keys.push_back(K);
        }
        return Keys;
    }
    std::unique_ptr<TProbeGrid> G;
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

// ---- row removal and insertion --------------------------------------------------------------------
struct TRowOpCase {
    const char* Name;
    std::function<void(TExtStringGrid*)> Op;
    int RowCount; // display rows afterwards
    int HiddenIdx; // the hidden row's real index afterwards
    std::vector<QString> Keys; // rows after showing the hidden one again
};
void PrintTo(const TRowOpCase& K, std::ostream* os) { *os << K.Name; }

class RowOps : public RowColGrid, public ::testing::WithParamInterface<TRowOpCase> {};

TEST_P(RowOps, CellsRecordsAndHiddenRowsKeepTheirPlaces) {
    const TRowOpCase& K = GetParam();
    // A record in the hidden column of each row (the row's own colour) and one on the hidden row.
    for (int r = 0; r < 7; ++r) G->GetCellProperties(2, r)->SetBrushColor(TColor(0x1000 + G->RealRowIndex(r)));
    K.Op(G.get());
    EXPECT_FALSE(G->UpdatePending());
    G->CheckIndexConsistency();
    EXPECT_EQ(G->RowCount(), K.RowCount);
    ASSERT_EQ(G->NumHiddenRows(), 1);
    EXPECT_EQ(G->HiddenRows().Items(0)->Idx(), K.HiddenIdx);
    EXPECT_EQ(G->ColCount(), 5);
    for (int r = 0; r < G->RowCount(); ++r) {
        const QString Key = G->GetGridCell(0, r).section(',', 1);
        TCellProperties* P = G->HasCellProperties(2, r) ? G->GetCellProperties(2, r) : nullptr;
        if (Key.isEmpty()) {
            EXPECT_EQ(P, nullptr) << "new row " << r;
            continue;
        }
        ASSERT_NE(P, nullptr) << "row " << r;
        EXPECT_EQ(P->BrushColor(), TColor(0x1000 + Key.toInt()));
        EXPECT_EQ(P->OwnerRow(), r);
    }
    EXPECT_EQ(KeysAfterUnhide(), K.Keys);
}

INSTANTIATE_TEST_SUITE_P(Cases, RowOps,
                         ::testing::Values(TRowOpCase{"RemoveTwoAboveTheHiddenRow",
                                                      [](TExtStringGrid* G) { G->RemoveRows(2, 2); },
                                                      5,
                                                      4,
                                                      {"0", "1", "4", "5", "6", "7"}},
                                           TRowOpCase{"RemoveAtTheEndShortensFromTheEnd",
                                                      [](TExtStringGrid* G) { G->RemoveRows(7, 2); },
                                                      5,
                                                      5,
                                                      {"0", "1", "2", "3", "4", "6"}},
                                           TRowOpCase{"RemoveAcrossTheHiddenRow",
                                                      [](TExtStringGrid* G) { G->RemoveRows(5, 2); },
                                                      5,
                                                      5,
                                                      {"0", "1", "2", "3", "4", "6"}},
                                           TRowOpCase{"RemoveRangeBelowTheHiddenRowLeavesIt",
                                                      [](TExtStringGrid* G) { G->RemoveRowRange(6, 1); },
                                                      6,
                                                      6,
                                                      {"0", "1", "2", "3", "4", "5", "6"}},
                                           TRowOpCase{"RemoveRowsExAboveIt",
                                                      [](TExtStringGrid* G) { G->RemoveRowsEx(1, 1); },
                                                      6,
                                                      5,
                                                      {"0", "2", "3", "4", "5", "6", "7"}},
                                           TRowOpCase{"NothingForANonPositiveCount",
                                                      [](TExtStringGrid* G) { G->RemoveRows(2, 0); },
                                                      7,
                                                      6,
                                                      {"0", "1", "2", "3", "4", "5", "6", "7"}},
                                           TRowOpCase{"NothingBeyondTheEnd",
                                                      [](TExtStringGrid* G) { G->RemoveRows(8, 1); },
                                                      7,
                                                      6,
                                                      {"0", "1", "2", "3", "4", "5", "6", "7"}},
                                           TRowOpCase{"InsertAboveTheHiddenRow",
                                                      [](TExtStringGrid* G) { G->InsertRows(3, 2); },
                                                      9,
                                                      8,
                                                      {"0", "1", "2", "", "", "3", "4", "5", "6", "7"}},
                                           TRowOpCase{"InsertBelowTheHiddenRow",
                                                      [](TExtStringGrid* G) { G->InsertRows(7, 1); },
                                                      8,
                                                      6,
                                                      {"0", "1", "2", "3", "4", "5", "6", "7", ""}},
                                           TRowOpCase{"RemoveUnselectedKeepsTheSelectedRectangle",
                                                      [](TExtStringGrid* G) {
                                                          G->SetSelection(GridRect(1, 2, 3, 3));
                                                          G->RemoveUnSelectedRows();
                                                      },
                                                      3,
                                                      3,
                                                      {"0", "2", "3", "6"}}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(RowColGrid, RemoveDuplicatesKeepsTheFirstOfTextsThatDifferOnlyInCaseWhateverDoCase) {
    for (bool DoCase : {false, true}) {
        SetUp();
        G->SetGridCell(1, 1, "abc");
        G->SetGridCell(1, 2, "ABC");
        G->SetGridCell(1, 3, "x");
        G->SetRowCount(4);
        G->RemoveDuplicates(1, DoCase);
        ASSERT_EQ(G->RowCount(), 3) << DoCase;
        EXPECT_EQ(G->GetGridCell(1, 1), "abc");
        EXPECT_EQ(G->GetGridCell(1, 2), "x");
    }
}

TEST_F(RowColGrid, AnUpdateLockIsGivenBackWhenAHandlerRaisesMidway) {
    G->SetCheckTrue("Y");
    for (int r = 1; r < 7; ++r) G->SetGridCell(1, r, "Y");
    int Calls = 0;
    G->OnCellsChanged = [&](TObject*, const TRect&) {
        if (++Calls == 2) throw EExtGridError("handler failed");
    };
    EXPECT_THROW(G->RemoveCheckedRows(1, true), EExtGridError);
    EXPECT_FALSE(G->UpdatePending());
    EXPECT_EQ(G->RowCount(), 5); // two rows went before the raise
    G->CheckIndexConsistency();
    G->OnCellsChanged = nullptr;
    G->RemoveCheckedRows(1, true);
    EXPECT_EQ(G->RowCount(), 1);
    EXPECT_FALSE(G->UpdatePending());
}

TEST_F(RowColGrid, RemovingCheckedRowsTakesOnlyTheRowsInTheAskedState) {
    G->SetGridCell(1, 2, "Y");
    G->SetGridCell(1, 4, "Y");
    G->RemoveCheckedRows(1, false); // the unchecked normal rows go
    ASSERT_EQ(G->RowCount(), 3);
    EXPECT_EQ(G->GetGridCell(0, 1), "0,2");
    EXPECT_EQ(G->GetGridCell(0, 2), "0,4");
}

TEST_F(RowColGrid, DisjunctlySelectedRowsAreRemovedOrHiddenWithTheirFlags) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(2, true);
    G->SetRowSelect(5, true);
    G->SetRowModified(6, true);
    G->RemoveSelectedRows();
    EXPECT_EQ(G->RowCount(), 5);
    EXPECT_EQ(G->RowSelectCount(), 0);
    EXPECT_TRUE(G->GetRowModified(4)); // the modified flag moved up with its row
    EXPECT_FALSE(G->GetRowModified(6));
    EXPECT_EQ(KeysAfterUnhide(), (std::vector<QString>{"0", "1", "3", "4", "6", "7"}));
    G->SetRowSelect(1, true);
    G->SetRowSelect(3, true);
    G->HideSelectedRows();
    EXPECT_EQ(G->RowCount(), 4);
    EXPECT_EQ(KeysAfterUnhide(), (std::vector<QString>{"0", "1", "3", "4", "6", "7"}));
}

TEST_F(RowColGrid, InsertingAndRemovingRowsMoveCellControlsByRealRow) {
    TEdit* E = new TEdit(nullptr);
    std::unique_ptr<TEdit> Own(E);
    G->CellControls()->AddControl(1, 7, E); // real row 7 shows at display row 6
    G->InsertRows(1, 2);
    EXPECT_EQ(G->CellControls()->Controls(0)->FY, 9);
    G->RemoveRowRange(8, 1); // display 8 is real 9: the control goes with its row
    EXPECT_EQ(G->CellControls()->Count(), 0);
}

// ---- clearing, trimming, merging, finding ------------------------------------------------------------
TEST_F(RowColGrid, ClearRectFreesRecordsUnlessOnlyTextsAreCleared) {
    G->GetCellProperties(2, 3)->SetBrushColor(0x123456);
    G->GetCellProperties(3, 3)->SetBrushColor(0x654321);
    G->SetClearTextOnly(true);
    G->ClearRect(2, 3, 3, 3);
    EXPECT_EQ(G->GetGridCell(2, 3), "");
    EXPECT_TRUE(G->HasCellProperties(2, 3));
    G->SetClearTextOnly(false);
    G->ClearRect(2, 3, 3, 3);
    EXPECT_FALSE(G->HasCellProperties(2, 3));
    EXPECT_FALSE(G->HasCellProperties(3, 3));
    EXPECT_EQ(G->GetGridCell(4, 3), "4,3");
    G->ClearRect(0, 3, 5, 2); // bottom above top: nothing
    EXPECT_EQ(G->GetGridCell(0, 3), "0,3");
}

TEST_F(RowColGrid, ClearHelpersClearTheirPartsOnly) {
    struct Case {
        const char* Name;
        std::function<void(TExtStringGrid*)> Op;
        std::vector<std::pair<int, int>> Cleared, Kept; // (real column, display row)
    };
    const Case Cases[] = {
        {"ClearRows", [](TExtStringGrid* G) { G->ClearRows(2, 1); }, {{0, 2}, {2, 2}, {5, 2}}, {{0, 1}, {0, 3}}},
        {"ClearCols", [](TExtStringGrid* G) { G->ClearCols(2, 1); }, {{2, 0}, {2, 6}}, {{1, 0}, {3, 0}}},
        {"ClearNormalCols", [](TExtStringGrid* G) { G->ClearNormalCols(2, 2); }, {{2, 1}, {3, 6}}, {{2, 0}, {4, 1}}},
        {"ClearNormalRows", [](TExtStringGrid* G) { G->ClearNormalRows(3, 1); }, {{1, 3}, {5, 3}}, {{0, 3}, {1, 2}}},
        {"ClearNormalCells", [](TExtStringGrid* G) { G->ClearNormalCells(); }, {{1, 1}, {5, 6}}, {{0, 1}, {1, 0}}},
        {"Clear", [](TExtStringGrid* G) { G->Clear(); }, {{0, 0}, {2, 6}}, {}},
    };
    for (const Case& K : Cases) {
        SetUp();
        K.Op(G.get());
        for (auto [c, r] : K.Cleared) EXPECT_EQ(G->GetGridCell(c, r), "") << K.Name << " " << c << "," << r;
        for (auto [c, r] : K.Kept) EXPECT_EQ(G->GetGridCell(c, r), Txt(c, G->RealRowIndex(r))) << K.Name;
    }
}

TEST_F(RowColGrid, ClearAllAlsoEmptiesTheHiddenRows) {
    G->Clear();
    EXPECT_EQ(G->GetCellsEx(1, 6), "1,6");
    G->ClearAll();
    EXPECT_EQ(G->GetCellsEx(1, 6), "");
}

TEST_F(RowColGrid, TrimRemovesBlanksAndControlCharactersAtBothEnds) {
    G->SetGridCell(2, 1, " \t a b \r\n");
    G->SetGridCell(1, 1, "  x ");
    G->TrimRow(1);
    EXPECT_EQ(G->GetGridCell(2, 1), "a b");
    EXPECT_EQ(G->GetGridCell(1, 1), "x");
}

TEST_F(RowColGrid, MergeRowCellsMergesRunsOfEqualTexts) {
    G->SetFixedCols(0);
    G->UnHideColumnsAll();
    G->SetColCount(3);
    G->SetGridCell(0, 2, "same");
    G->SetGridCell(1, 2, "same");
    G->SetGridCell(2, 2, "other");
    G->MergeRowCells(2, true);
    EXPECT_EQ(G->CellSpan(0, 2).X, 1);
    EXPECT_TRUE(G->IsBaseCell(2, 2));
    EXPECT_EQ(G->CellSpan(2, 2).X, 0);
    G->SplitRowCells(2);
    EXPECT_FALSE(G->IsMergedCell(0, 2));
}

TEST_F(RowColGrid, FindingCellsAndWideCells) {
    int C = -1, R = -1;
    EXPECT_TRUE(G->IsCell("3,4", C, R));
    EXPECT_EQ(C, 2); // display column of real column 3
    EXPECT_EQ(R, 4);
    EXPECT_FALSE(G->IsCell("2,4", C, R)); // the hidden column is not searched
    G->SetGridCell(1, 1, "|\\wide");
    G->SetGridCell(1, 2, " |\\wide");
    EXPECT_TRUE(G->IsWideCell(1, 1));
    EXPECT_FALSE(G->IsWideCell(1, 2));
    EXPECT_EQ(G->ColumnByHeader("2,0"), 2);
    EXPECT_EQ(G->ColumnByHeader("nothing"), -1);
}

// ---- column order and columns by selection -------------------------------------------------------------
TEST_F(RowColGrid, ColumnOrderFollowsMovesAndResetPutsColumnsBack) {
    G->UnHideColumnsAll();
    EXPECT_EQ(G->ColumnPosition(3), 3); // nothing recorded yet
    G->MoveColumn(1, 4);
    EXPECT_EQ(G->ColumnAtPosition(4), 1);
    EXPECT_EQ(G->ColumnPosition(1), 4);
    EXPECT_EQ(G->ColumnPosition(9), 9); // not in the order: the column itself
    G->ResetColumnOrder();
    for (int c = 0; c < 6; ++c) EXPECT_EQ(G->GetGridCell(c, 1), Txt(c, 1));
    EXPECT_EQ(G->ColumnAtPosition(4), 4);
}

TEST_F(RowColGrid, RemovingSelectedColumnsLeavesAHiddenColumnInsideTheSelection) {
    G->SetSelection(GridRect(1, 1, 2, 2)); // display 1..2 = real 1 and 3, real 2 hidden between
    G->RemoveSelectedCols();
    EXPECT_EQ(G->TotalColCount(), 4);
    EXPECT_TRUE(G->IsHiddenColumn(1));
    EXPECT_EQ(G->GetGridCell(1, 1), "2,1");
    EXPECT_EQ(G->GetGridCell(2, 1), "4,1");
    EXPECT_EQ(G->Columns()->Count(), 4);
    G->CheckIndexConsistency();
}

// ---- grouping and filter values ------------------------------------------------------------------------
TEST_F(RowColGrid, UngroupingGivesTheGroupedColumnsSettingsBack) {
    Item(3)->SetHeader("before");
    G->UnGroup(); // no group column: nothing is given back
    EXPECT_EQ(Item(3)->Header(), "before");
    Item(3)->SetHeader("Kind");
    Item(3)->SetEditor(edComboList);
    Item(3)->SetColor(0x00AA00);
    G->Group(3);
    G->SetGroupColumnForTest(3);
    Item(3)->SetHeader("something else");
    Item(3)->SetEditor(edNormal);
    G->UnGroup();
    EXPECT_EQ(Item(3)->Header(), "Kind");
    EXPECT_EQ(Item(3)->Editor(), edComboList);
    EXPECT_EQ(Item(3)->Color(), 0x00AA00);
}

TEST_F(RowColGrid, FilterValuesComeFromTheColumnsFilterTextBeforeTheEqualsSign) {
    struct Case {
        const char* Name;
        QStringList Filter;
        bool Result;
        QStringList Values;
    };
    const Case Cases[] = {
        {"NoEntries", {}, false, {}},
        {"TextsAndConditions", {"Low=<10", "High=>=10", "Any"}, true, {"Low", "High", "Any"}},
        {"EqualsFirst", {"=x"}, true, {""}},
    };
    for (const Case& K : Cases) {
        TStringList F;
        for (const QString& E : K.Filter) F.Add(E);
        Item(3)->SetFilter(&F);
        EXPECT_EQ(G->GetFilterValues(3), K.Result) << K.Name;
        if (!K.Result) continue;
        QStringList Got;
        for (int i = 0; i < G->FilterValueList()->Count(); ++i) Got << G->FilterValueList()->Get(i);
        EXPECT_EQ(Got, K.Values) << K.Name;
    }
    EXPECT_FALSE(G->GetFilterValues(40)); // no item
}

TEST_F(RowColGrid, ChoosingAColumnFilterEntrySetsItsConditionHeaderAndClosesTheList) {
    auto* CG = dynamic_cast<TExtColumnGrid*>(G.get());
    ASSERT_NE(CG, nullptr);
    TGridColumnItem* It = CG->Columns()->Items(3);
    It->Filter()->Add("Big=>100");
    It->Filter()->Add("<5");
    It->SetFilterCaseSensitive(true);
    CG->SetAutoFilterDisplay(true);
    struct Seen {
        int Col = -1, Index = -1;
        QString Caption;
    } S;
    int Done = 0;
    CG->OnFilterSelect = [&](TObject*, int Col, int Index, const QString& Caption, QString& Cond) {
        S = {Col, Index, Caption};
        Cond += "0";
    };
    CG->OnFilterDone = [&](TObject*) { ++Done; };
    CG->SetFilterCol(3);
    CG->FilterSelect(0);
    EXPECT_EQ(S.Col, 3);
    EXPECT_EQ(S.Caption, "Big");
    EXPECT_EQ(It->Header(), "Big");
    ASSERT_EQ(CG->Filter()->Count(), 1);
    EXPECT_EQ(CG->Filter()->Items(0)->Condition(), ">1000");
    EXPECT_TRUE(CG->Filter()->Items(0)->CaseSensitive());
    EXPECT_TRUE(CG->FilterActive());
    EXPECT_EQ(Done, 1);
    EXPECT_EQ(CG->FilterCol(), -1);
    CG->SetFilterCol(3);
    CG->FilterSelect(1); // no "=": the entry is both caption and condition
    EXPECT_EQ(CG->Filter()->Items(0)->Condition(), "<50");
    EXPECT_EQ(It->Header(), "<5");
    CG->SetFilterCol(3);
    CG->FilterSelect(2); // past the list: only the list closes
    EXPECT_EQ(Done, 2);
    EXPECT_EQ(CG->FilterCol(), -1);
}

} // namespace
