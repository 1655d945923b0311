// The string grid's selection: current row and column, the selection rectangle, disjunct row
// and column selection with its veto event, persistent row flags and the row flags.
#include "GridNavFixture.h"
#include "platform/rtl/SysUtils.h"

namespace {

using Selection = GridNav;

struct SelectRowsCase {
    const char* Name;
    int From;
    int Count;
    TGridRect Expected; // the selection afterwards
    int Row;
    int Col;
};
void PrintTo(const SelectRowsCase& C, std::ostream* Os) { *Os << C.Name; }

class SelectRowsTable : public GridNav, public ::testing::WithParamInterface<SelectRowsCase> {};

TEST_P(SelectRowsTable, SelectsWholeRowsOverTheDataColumns) {
    const SelectRowsCase& C = GetParam();
    G->SelectRows(C.From, C.Count);
    EXPECT_EQ(G->Selection(), C.Expected);
    EXPECT_EQ(G->Row(), C.Row);
    EXPECT_EQ(G->Col(), C.Col);
    EXPECT_EQ(G->SelStore().CheckConsistency(), "");
}

// 10 rows, 5 columns (one hidden besides): the last display column is 4.
INSTANTIATE_TEST_SUITE_P(Cases, SelectRowsTable,
                         ::testing::Values(SelectRowsCase{"RunPastTheEndIsCut", 3, 100, {1, 3, 4, 9}, 9, 4},
                                           SelectRowsCase{"OneRow", 4, 1, {1, 4, 4, 4}, 4, 4},
                                           SelectRowsCase{"RowAfterTheHiddenOne", 6, 2, {1, 6, 4, 7}, 7, 4}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(Selection, DisjunctSelectRowsSetsOnlyTheFlags) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetSelection(GridRect(1, 1, 1, 1));
    G->SelectRows(3, 2);
    EXPECT_EQ(G->Selection(), GridRect(1, 1, 1, 1));
    EXPECT_TRUE(G->GetRowSelect(3));
    EXPECT_TRUE(G->GetRowSelect(4));
    EXPECT_FALSE(G->GetRowSelect(5));
    EXPECT_EQ(G->RowSelectCount(), 2);
    EXPECT_EQ(G->SelectedRows(), (std::vector<int>{3, 4}));
    EXPECT_EQ(G->SelStore().CheckConsistency(), "");
}

TEST_F(Selection, RowErrorsNameTheRowAndLeaveTheFlagsAlone) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    try {
        G->GetRowSelect(-1);
        FAIL() << "no error";
    } catch (const EExtGridError& E) {
        EXPECT_EQ(E.Message(), "Invalid row -1 accessed");
    }
    // RowCount + NumHiddenRows is 11: row 11 is beyond every row.
    EXPECT_THROW(G->GetRowSelect(11), EExtGridError);
    EXPECT_NO_THROW(G->GetRowSelect(10)); // the hidden row's real place counts
    try {
        G->SetRowSelect(11, true);
        FAIL() << "no error";
    } catch (const EExtGridError& E) {
        EXPECT_EQ(E.Message(), "Invalid row accessed");
    }
    EXPECT_THROW(G->SetRowSelect(-1, true), EExtGridError);
    EXPECT_THROW(G->GetColSelect(5), EExtGridError);
    EXPECT_THROW(G->SetColSelect(-1, true), EExtGridError);
    EXPECT_EQ(G->SelStore().RowFlagCount(), 0);
    EXPECT_EQ(G->SelStore().ColFlagCount(), 0);
}

TEST_F(Selection, WithoutHiddenRowsRowCountItselfIsRefused) {
    G->UnHideRowsAll();
    ASSERT_EQ(G->NumHiddenRows(), 0);
    EXPECT_THROW(G->SetRowSelect(G->RowCount(), true), EExtGridError);
}

TEST_F(Selection, PersistentFlagsAskedBeyondTheRowsAnswerFalseWithoutGrowing) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->MouseActions()->SetRowSelectPersistent(true);
    G->SetRowSelect(2, true);
    const int Before = G->SelStore().RowFlagCount();
    EXPECT_FALSE(G->GetRowSelect(500000));
    EXPECT_EQ(G->SelStore().RowFlagCount(), Before);
    // A negative row reaches the flag list, whose index check refuses it.
    EXPECT_THROW(G->GetRowSelect(-1), EListError);
}

TEST_F(Selection, PersistentFlagsAreKeptByRealRow) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->MouseActions()->SetRowSelectPersistent(true);
    // Display rows 6 and 9 are real rows 7 and 10 (real row 6 is hidden); 10 lies at
    // RowCount, which a limit of RowCount would wrongly drop.
    G->SelectRows(6, 1);
    G->SelectRows(9, 1);
    EXPECT_TRUE(G->GetRowSelect(7));
    EXPECT_TRUE(G->GetRowSelect(10));
    EXPECT_FALSE(G->GetRowSelect(6));
    EXPECT_TRUE(G->IsSelected(1, 6));
    EXPECT_TRUE(G->IsSelected(1, 9));
    EXPECT_FALSE(G->IsSelected(1, 5));
    G->UnSelectRows(9, 1);
    EXPECT_FALSE(G->GetRowSelect(10));
    EXPECT_EQ(G->SelStore().CheckConsistency(), "");
}

// The veto event is asked whenever a row's flag would change, a row never flagged before
// included (also the row right after the last one the list knows).
struct VetoCase {
    const char* Name;
    int Prepared; // flag set on this row first (-1: none)
    int Row;
    bool Value;
    bool Asked;
};
void PrintTo(const VetoCase& C, std::ostream* Os) { *Os << C.Name; }

class VetoTable : public GridNav, public ::testing::WithParamInterface<VetoCase> {};

TEST_P(VetoTable, AskedExactlyWhenTheFlagChanges) {
    const VetoCase& C = GetParam();
    G->MouseActions()->SetDisjunctRowSelect(true);
    if (C.Prepared >= 0) G->SetRowSelect(C.Prepared, true);
    int Asked = 0;
    G->OnRowDisjunctSelect = [&](TObject* Sender, int ARow, bool AState, bool& Allow) {
        EXPECT_EQ(Sender, G.get());
        EXPECT_EQ(ARow, C.Row);
        EXPECT_EQ(AState, C.Value);
        ++Asked;
        Allow = false;
    };
    const bool Before = G->GetRowSelect(C.Row);
    G->SetRowSelect(C.Row, C.Value);
    EXPECT_EQ(Asked, C.Asked ? 1 : 0);
    // A refusal leaves the flag as it was.
    EXPECT_EQ(G->GetRowSelect(C.Row), Before);
    EXPECT_EQ(G->SelStore().CheckConsistency(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, VetoTable,
                         ::testing::Values(VetoCase{"BrandNewRowEmptyList", -1, 0, true, true},
                                           VetoCase{"RowRightAfterTheList", 3, 4, true, true},
                                           VetoCase{"RowFarBeyondTheList", 3, 8, true, true},
                                           VetoCase{"SetFlagSetAgain", 3, 3, true, false},
                                           VetoCase{"SetFlagCleared", 3, 3, false, true},
                                           VetoCase{"ClearFlagClearedAgain", 3, 2, false, false},
                                           VetoCase{"UnknownRowCleared", 3, 9, false, false}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(Selection, RowUpdateReportsEachNewRowOnce) {
    std::vector<std::pair<int, int>> Seen;
    G->OnRowUpdate = [&](TObject*, int OldRow, int NewRow) { Seen.push_back({OldRow, NewRow}); };
    G->SetRow(5);
    G->SetRow(7);
    G->SetRow(7);
    EXPECT_EQ(Seen, (std::vector<std::pair<int, int>>{{-1, 5}, {5, 7}}));
    EXPECT_THROW(G->SetRow(10), EInvalidGridOperation);
}

TEST_F(Selection, TopRowOutsideTheScrollableRowsIsIgnored) {
    G->SetBounds(0, 0, 400, 120);
    G->SetTopRow(3);
    EXPECT_EQ(G->TopRow(), 3);
    G->SetTopRow(0);
    EXPECT_EQ(G->TopRow(), 3);
    G->SetTopRow(10);
    EXPECT_EQ(G->TopRow(), 3);
}

TEST_F(Selection, HiddenSelectionComesBackOrFallsBackToTheFirstDataCell) {
    G->SetSelection(GridRect(2, 3, 3, 5));
    G->HideSelection();
    EXPECT_TRUE(G->SelectionHidden());
    EXPECT_EQ(G->Selection(), GridRect(5, 10, 5, 10));
    G->UnHideSelection();
    EXPECT_FALSE(G->SelectionHidden());
    EXPECT_EQ(G->Selection(), GridRect(2, 3, 3, 5));

    G->SetSelection(GridRect(2, 8, 3, 9));
    G->HideSelection();
    G->SetRowCount(5);
    G->UnHideSelection();
    EXPECT_EQ(G->Selection(), GridRect(1, 1, 1, 1));
}

TEST_F(Selection, DisablingTheCurrentRowMovesToTheFirstEnabledRow) {
    G->SetRowEnabled(1, false);
    G->SetRow(4);
    G->SetRowEnabled(4, false);
    EXPECT_EQ(G->Row(), 2);
    EXPECT_FALSE(G->GetRowEnabled(4));
    EXPECT_FALSE(G->GetRowEnabled(1));
    EXPECT_TRUE(G->GetRowEnabled(3));
    EXPECT_TRUE(G->EnabledRowsUsed());
}

TEST_F(Selection, ModifiedRowsAreCounted) {
    G->SetRowModified(2, true);
    G->SetRowModified(7, true);
    G->SetRowModified(2, false);
    EXPECT_EQ(G->ModifiedRowCount(), 1);
    EXPECT_TRUE(G->GetRowModified(7));
    EXPECT_FALSE(G->GetRowModified(2));
    EXPECT_FALSE(G->GetRowModified(9));
}

TEST_F(Selection, SelectRangeMovesTheCurrentCellToItsEnd) {
    G->SelectRange(1, 3, 2, 5);
    EXPECT_EQ(G->Selection(), GridRect(1, 2, 3, 5));
    EXPECT_EQ(Cell(), "3,5");
    G->FocusCell(2, 4);
    EXPECT_EQ(G->Selection(), GridRect(2, 4, 2, 4));
    G->GotoCell(4, 8);
    EXPECT_EQ(Cell(), "4,8");
}

TEST_F(Selection, ColumnFlagsAndSelectionToFlags) {
    G->MouseActions()->SetDisjunctColSelect(true);
    G->SelectCols(2, 10); // cut at ColCount
    EXPECT_EQ(G->ColSelectCount(), 3);
    G->UnSelectCols(3, 1);
    EXPECT_FALSE(G->GetColSelect(3));
    G->ClearColSelect();
    EXPECT_EQ(G->ColSelectCount(), 0);
    G->SetSelection(GridRect(2, 1, 3, 1));
    G->SelectionToColSelect(false);
    EXPECT_TRUE(G->GetColSelect(2));
    EXPECT_TRUE(G->GetColSelect(3));
    EXPECT_FALSE(G->GetColSelect(4));
}

TEST_F(Selection, SelectionToRowSelectFollowsTheRectangleAndStopsAboveTheFooters) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetFixedFooters(1);
    G->SetSelection(GridRect(1, 7, 2, 9));
    G->SelectionToRowSelect(false);
    EXPECT_EQ(G->SelectedRows(), (std::vector<int>{7, 8}));
    G->SetSelection(GridRect(1, 2, 2, 2));
    G->SelectionToRowSelect(true);
    EXPECT_EQ(G->SelectedRows(), (std::vector<int>{2}));
    G->ClearRowSelect();
    EXPECT_EQ(G->RowSelectCount(), 0);
    EXPECT_TRUE(G->SelectedRows().empty());
    EXPECT_EQ(G->SelStore().CheckConsistency(), "");
}

TEST_F(Selection, IsSelectedFollowsTheRectangleAndSkipsFixedCells) {
    G->SetSelection(GridRect(1, 2, 3, 4));
    EXPECT_TRUE(G->IsSelected(1, 2));
    EXPECT_TRUE(G->IsSelected(3, 4));
    EXPECT_FALSE(G->IsSelected(4, 4));
    EXPECT_FALSE(G->IsSelected(0, 3));
    G->MouseActions()->SetDisjunctCellSelect(true);
    G->SelStore().AddCell(2, 70000);
    EXPECT_FALSE(G->IsSelected(2, 3));
    EXPECT_TRUE(G->IsSelected(2, 70000));
    EXPECT_FALSE(G->IsSelected(2 + 65536, 70000 - 1));
}

TEST_F(Selection, SwapCellsExchangesTextsAndRecords) {
    G->GetCellProperties(1, 1)->SetBrushColor(clRed);
    G->SwapCells(Point(1, 1), Point(3, 2));
    EXPECT_EQ(G->GetGridCell(1, 1), "3,2");
    EXPECT_EQ(G->GetGridCell(3, 2), "1,1");
    ASSERT_TRUE(G->HasCellProperties(3, 2));
    EXPECT_EQ(G->GetCellProperties(3, 2)->BrushColor(), clRed);
    EXPECT_EQ(G->GetCellProperties(3, 2)->OwnerCol(), 3);
    EXPECT_EQ(G->GetCellProperties(3, 2)->OwnerRow(), 2);
}

} // namespace
