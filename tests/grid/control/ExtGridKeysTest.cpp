// The string grid's character keys through its own message path (WM_CHAR into the window
// procedure), the advance after Enter and Tab, and the setters with side effects.
#include "GridNavFixture.h"
#include "platform/rtl/SysUtils.h"

namespace {

using Keys = GridNav;

// ---- Enter and the advance --------------------------------------------------------------------------
struct AdvanceCase {
    const char* Name;
    TAdvanceDirection Direction;
    bool Loop;
    bool Insert;
    bool CanAdd;
    int StartCol, StartRow;
    int Col, Row; // where the current cell ends
    int RowCount; // RowCount afterwards
};
void PrintTo(const AdvanceCase& C, std::ostream* Os) { *Os << C.Name; }

class EnterTable : public GridNav, public ::testing::WithParamInterface<AdvanceCase> {};

// The grid's window does not have the focus here (the editor would), so Enter advances.
TEST_P(EnterTable, EnterAdvancesTheCurrentCell) {
    const AdvanceCase& C = GetParam();
    G->Navigation()->SetAdvanceOnEnter(true);
    G->Navigation()->SetAdvanceDirection(C.Direction);
    G->Navigation()->SetAdvanceOnEnterLoop(C.Loop);
    G->Navigation()->SetAdvanceInsert(C.Insert);
    int Added = -1;
    G->OnCanAddRow = [&](TObject*, bool& CanAdd) { CanAdd = C.CanAdd; };
    G->OnAutoAddRow = [&](TObject*, int ARow) { Added = ARow; };
    G->GotoCell(C.StartCol, C.StartRow);
    int Presses = 0;
    G->OnKeyPress = [&](TObject* Sender, QChar& Key) {
        EXPECT_EQ(Sender, G.get());
        EXPECT_EQ(Key.unicode(), 13);
        ++Presses;
    };
    Char(13);
    EXPECT_EQ(Cell(), std::to_string(C.Col) + "," + std::to_string(C.Row));
    EXPECT_EQ(G->RowCount(), C.RowCount);
    EXPECT_EQ(Presses, 1);
    if (C.RowCount > 10) {
        EXPECT_EQ(Added, C.RowCount - 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnterTable,
    ::testing::Values(AdvanceCase{"NextColumn", adLeftRight, true, false, true, 2, 3, 3, 3, 10},
                      AdvanceCase{"LastColumnToNextRow", adLeftRight, true, false, true, 4, 3, 1, 4, 10},
                      AdvanceCase{"LastCellLoopsToFirstDataRow", adLeftRight, true, false, true, 4, 9, 1, 1, 10},
                      AdvanceCase{"LastCellWithoutLoopStays", adLeftRight, false, false, true, 4, 9, 4, 9, 10},
                      AdvanceCase{"InsertRefusedGoesToFirstColumn", adLeftRight, true, true, false, 4, 9, 1, 9, 10},
                      AdvanceCase{"InsertAddsARow", adLeftRight, true, true, true, 4, 9, 1, 10, 11},
                      AdvanceCase{"InRowLoops", adLeftRightInRow, true, false, true, 4, 5, 1, 5, 10},
                      AdvanceCase{"InRowWithoutLoopStays", adLeftRightInRow, false, false, true, 4, 5, 4, 5, 10},
                      AdvanceCase{"Down", adTopBottom, true, false, true, 2, 3, 2, 4, 10},
                      AdvanceCase{"LastRowToNextColumn", adTopBottom, true, false, true, 2, 9, 3, 1, 10},
                      AdvanceCase{"LastCellToFirstColumn", adTopBottom, true, false, true, 4, 9, 1, 1, 10},
                      AdvanceCase{"InColumnLoops", adTopBottomInCol, true, false, true, 3, 9, 3, 1, 10}),
    [](const auto& I) { return std::string(I.param.Name); });

struct BackCase {
    const char* Name;
    TAdvanceDirection Direction;
    int StartCol, StartRow;
    int Col, Row;
};
void PrintTo(const BackCase& C, std::ostream* Os) { *Os << C.Name; }

class BackwardTable : public GridNav, public ::testing::WithParamInterface<BackCase> {};

TEST_P(BackwardTable, ShiftTabGoesBack) {
    const BackCase& C = GetParam();
    G->Navigation()->SetAdvanceDirection(C.Direction);
    G->GotoCell(C.StartCol, C.StartRow);
    G->AdvanceCell(G->Col(), G->Row(), false, false, false, false, true);
    EXPECT_EQ(Cell(), std::to_string(C.Col) + "," + std::to_string(C.Row));
}

INSTANTIATE_TEST_SUITE_P(Cases, BackwardTable,
                         ::testing::Values(BackCase{"PreviousColumn", adLeftRight, 3, 4, 2, 4},
                                           BackCase{"FirstColumnToPreviousRow", adLeftRight, 1, 4, 4, 3},
                                           BackCase{"FirstCellToLastCell", adLeftRight, 1, 1, 4, 9},
                                           BackCase{"Up", adTopBottom, 3, 4, 3, 3},
                                           BackCase{"FirstRowToPreviousColumn", adTopBottom, 3, 1, 2, 9},
                                           BackCase{"FirstCellToLastColumn", adTopBottom, 1, 1, 4, 9}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(Keys, EnterOnAReadOnlyCellWithoutAdvanceFiresOnceAndClearsTheKey) {
    G->GotoCell(2, 3);
    std::vector<int> Seen;
    G->OnKeyPress = [&](TObject*, QChar& Key) { Seen.push_back(Key.unicode()); };
    QChar K(13);
    G->KeyPress(K); // goEditing is off: no cell is editable
    EXPECT_EQ(Seen, std::vector<int>{13});
    EXPECT_TRUE(K.isNull());
    EXPECT_EQ(Cell(), "2,3");
    Char(13);
    EXPECT_EQ(Seen, (std::vector<int>{13, 13}));
    EXPECT_EQ(Cell(), "2,3");
}

TEST_F(Keys, ReadOnlyCellsArePassedOverAndTheChainStartIsReported) {
    G->Navigation()->SetAdvanceOnEnter(true);
    G->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) {
        if (ARow == 4 && (ACol == 1 || ACol == 3)) CanEdit = false; // real columns of display 1 and 2
    };
    std::vector<std::string> Log;
    G->OnAutoAdvance = [&](TObject*, int OldRow, int OldCol, int& NewRow, int& NewCol, bool&) {
        Log.push_back(EventLog::Args({{"OldRow", OldRow}, {"OldCol", OldCol}, {"NewRow", NewRow}, {"NewCol", NewCol}}));
    };
    G->GotoCell(4, 3);
    Char(13);
    EXPECT_EQ(Cell(), "3,4");
    EXPECT_EQ(Log, std::vector<std::string>{"OldRow=3 OldCol=4 NewRow=4 NewCol=3"});
}

TEST_F(Keys, AdvanceWithoutAnyEditableCellEndsWhereItStarted) {
    G->Navigation()->SetAdvanceOnEnter(true);
    int Asked = 0;
    G->OnCanEditCell = [&](TObject*, int, int, bool& CanEdit) {
        ++Asked;
        CanEdit = false;
    };
    for (TAdvanceDirection D : {adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol}) {
        G->Navigation()->SetAdvanceDirection(D);
        G->Navigation()->SetAdvanceOnEnterLoop(D != adLeftRightInRow);
        G->GotoCell(2, 5);
        Asked = 0;
        G->AdvanceCell(2, 5, false, false, true, false, false);
        EXPECT_EQ(Cell(), "2,5") << int(D);
        EXPECT_GT(Asked, 0);
        EXPECT_LE(Asked, 4 * 9 + 1);
    }
}

TEST_F(Keys, AnInsertingAdvanceOverReadOnlyCellsAddsAtMostOneColumn) {
    G->Navigation()->SetAdvanceOnEnter(true);
    G->Navigation()->SetAdvanceInsert(true);
    G->Navigation()->SetAdvanceDirection(adTopBottom);
    G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    G->GotoCell(4, 9);
    G->AdvanceCell(4, 9, false, false, true, false, false);
    EXPECT_EQ(G->ColCount(), 6);
}

TEST_F(Keys, AutoEventCanRedirectOrRefuseTheMove) {
    G->Navigation()->SetAdvanceOnEnter(true);
    G->GotoCell(1, 2);
    G->OnAutoAdvance = [](TObject*, int, int, int& NewRow, int& NewCol, bool&) {
        NewRow = 7;
        NewCol = 3;
    };
    Char(13);
    EXPECT_EQ(Cell(), "3,7");
    G->OnAutoAdvance = [](TObject*, int, int, int&, int&, bool& Allow) { Allow = false; };
    Char(13);
    EXPECT_EQ(Cell(), "3,7");
}

TEST_F(Keys, EscapeWhileEditingRestoresTheCachedTextAndSkipsThePlatformStep) {
    G->SetOptions(G->Options() << goEditing);
    G->GotoCell(2, 3);
    G->ShowEditor();
    ASSERT_TRUE(G->EditorMode());
    // The editing area caches the text as the edit begins.
    G->SetOldCellCache(G->GetGridCell(G->GetRealCol(), 3));
    G->SetGridCell(3, 3, "typed");
    int Presses = 0;
    G->OnKeyPress = [&](TObject*, QChar&) { ++Presses; };
    QChar K(27);
    G->KeyPress(K);
    EXPECT_EQ(G->GetGridCell(3, 3), "3,3");
    EXPECT_EQ(Presses, 1);
    EXPECT_EQ(K.unicode(), 27); // the platform step would have run on; it did not see the key
}

TEST_F(Keys, TypedKeysGoToTheMatchingRowWhenAutoGotoIsOn) {
    const char* Names[] = {"", "apple", "banana", "blueberry", "cherry", "date", "fig", "grape", "kiwi", "lemon"};
    for (int r = 1; r < 10; ++r) G->SetGridCell(1, r, Names[r]); // display column 1 is real column 1
    G->Navigation()->SetAutoGotoWhenSorted(true);
    G->Navigation()->SetAutoGotoIncremental(true);
    Char('b');
    EXPECT_EQ(G->Row(), 2);
    Char('l');
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(G->IncrementalSearchText(), "bl");
    Char(8);
    EXPECT_EQ(G->IncrementalSearchText(), "b");
    EXPECT_EQ(G->Row(), 2);
    Char('x');
    EXPECT_EQ(G->IncrementalSearchText(), "");
    EXPECT_EQ(G->Row(), 2);
    G->Navigation()->SetAutoGotoIncremental(false);
    Char('k');
    EXPECT_EQ(G->Row(), 8);
}

TEST_F(Keys, CollectedTextAgesAwayOnTheFourthQuietTick) {
    G->Navigation()->SetAutoGotoWhenSorted(true);
    G->Navigation()->SetAutoGotoIncremental(true);
    G->SetGridCell(1, 3, "bb");
    Char('b');
    for (int i = 0; i < 3; ++i) G->IncrementalSearchTick();
    Char('b'); // a key resets the count
    for (int i = 0; i < 3; ++i) G->IncrementalSearchTick();
    EXPECT_EQ(G->IncrementalSearchText(), "bb");
    G->IncrementalSearchTick();
    EXPECT_EQ(G->IncrementalSearchText(), "");
}

TEST_F(Keys, WantsCharactersWhenNotEditing) { EXPECT_TRUE(G->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS); }

TEST_F(Keys, DisjunctRowSelectFollowsAnAdvanceThatMayEdit) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->Navigation()->SetAdvanceOnEnter(true);
    G->GotoCell(4, 3);
    // Only an advance that may go on editing re-selects the rows.
    G->AdvanceCell(4, 3, false, false, true, false, false);
    EXPECT_EQ(G->SelectedRows(), (std::vector<int>{3, 4}));
    G->AdvanceCell(1, 4, true, false, true, false, false);
    EXPECT_EQ(G->SelectedRows(), std::vector<int>{4});
    EXPECT_EQ(G->SelStore().CheckConsistency(), "");
}

TEST_F(Keys, CellControlEditingMovesToTheNextEditableElement) {
    G->SetGridCell(3, 2,
                   "<CONTROL TYPE=\"EDIT\" ID=\"a\"> <CONTROL TYPE=\"CHECK\" ID=\"b\"> "
                   "<CONTROL TYPE=\"COMBO\" ID=\"c\">");
    G->EditNextCellControl(3, 2, "a");
    EXPECT_EQ(G->EditedCellControlID(), "c"); // the check box is passed over
    G->EditNextCellControl(3, 2, "c");
    EXPECT_EQ(G->EditedCellControlID(), "");
}

// ---- setters ------------------------------------------------------------------------------------------
// A grid whose check boxes stand in one real column (the cell objects are not needed for that).
class CheckBoxColumnGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    int CheckBoxRealCol = -1;
    TCellType GetCellType(int ACol, int ARow) override {
        return ACol == CheckBoxRealCol && ARow >= FixedRows() ? ctCheckBox : TExtStringGrid::GetCellType(ACol, ARow);
    }
};

TEST(KeysWithCellControls, AdvanceOntoACheckBoxAsksTheStartCellsEditorByItsRealColumn) {
    CheckBoxColumnGrid G(nullptr);
    G.SetColCount(6);
    G.SetRowCount(6);
    G.HideColumn(2); // display column 2 shows real column 3, display column 3 real column 4
    G.CheckBoxRealCol = 4;
    G.SetOptions(G.Options() << goEditing);
    G.Navigation()->SetAdvanceOnEnter(true);
    G.GotoCell(2, 3);
    std::vector<int> AskedCols;
    G.OnGetEditorType = [&](TObject*, int ACol, int ARow, TEditorType&) {
        if (ARow == 3) AskedCols.push_back(ACol);
    };
    G.AdvanceCell(G.Col(), G.Row(), true, false, true, true, false);
    EXPECT_EQ(G.Col(), 3);
    EXPECT_EQ(G.Row(), 3);
    ASSERT_FALSE(AskedCols.empty());
    EXPECT_EQ(AskedCols.back(), 3); // the start cell's real column, not its display column 2
}

TEST_F(Keys, ShrinkingAndGrowingRowCountKeepsTheTexts) {
    G->SetRowCount(3);
    EXPECT_EQ(G->RowCount(), 3);
    G->SetRowCount(10);
    EXPECT_EQ(G->GetGridCell(1, 5), "1,5");
    EXPECT_EQ(G->GetGridCell(3, 9), "3,10"); // display row 9 is real row 10
    EXPECT_EQ(G->MaxRowCount(), 11);
}

TEST_F(Keys, FixedRowsWithFixedRowAlwaysStaysBelowTheRowCount) {
    G->SetRowCount(3);
    G->SetFixedRowAlways(true);
    G->SetFixedRows(5);
    EXPECT_EQ(G->FixedRows(), 2);
    EXPECT_EQ(G->MinFixedRows(), 5);
    EXPECT_THROW(
        {
            G->SetFixedRowAlways(false);
            G->SetFixedRows(3);
        },
        EInvalidGridOperation);
}

TEST_F(Keys, WordWrapIsOneValueForTheGridAndItsCellStore) {
    TBaseGrid& Store = *G;
    EXPECT_TRUE(G->WordWrap());
    G->SetWordWrap(false);
    EXPECT_FALSE(Store.WordWrap());
    Store.SetWordWrap(true); // the cell store's own setter, as its painting code may call it
    EXPECT_TRUE(G->WordWrap());
}

TEST_F(Keys, MixerFactorIsClamped) {
    G->SetSelectionColorMixerFactor(150);
    EXPECT_EQ(G->SelectionColorMixerFactor(), 100);
    G->SetSelectionColorMixerFactor(-3);
    EXPECT_EQ(G->SelectionColorMixerFactor(), 0);
}

TEST_F(Keys, SettersWithSideEffects) {
    G->SetVAlignment(vtaCenter);
    EXPECT_EQ(G->VAlignFlag(), 4);
    G->SetVAlignment(vtaBottom);
    EXPECT_EQ(G->VAlignFlag(), 8);
    G->SetSpreadSheet(true);
    EXPECT_TRUE(G->SelectionRectangle());
    EXPECT_TRUE(G->SelectionResizer());
    EXPECT_TRUE(G->Options().Contains(goEditing));
    EXPECT_TRUE(G->Options().Contains(goRangeSelect));
    EXPECT_TRUE(G->MouseActions()->RangeSelectAndEdit());
    EXPECT_TRUE(G->Navigation()->AllowSmartClipboard());
    G->SetFixedRightCols(1);
    G->SetFixedFooters(2);
    EXPECT_EQ(G->FixedRightCols(), 1);
    EXPECT_EQ(G->FixedFooters(), 2);
    G->SetFixedRowHeight(30);
    EXPECT_EQ(G->RowHeights(0), 30);
    EXPECT_EQ(G->RowHeights(1), 22);
    G->SetFixedColWidth(40);
    EXPECT_EQ(G->FixedColWidth(), 40);
    G->UpdateXYOffset(4, 5);
    EXPECT_EQ(G->XYOffset(), QPoint(4, 5));
}

} // namespace
