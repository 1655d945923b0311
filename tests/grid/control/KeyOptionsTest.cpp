// The key handlers' less travelled branches, on the navigation fixture (a hidden column and a
// hidden row): a key the application's OnKeyDown clears, Home/End by rows in row-select mode,
// cursor wrapping with Ctrl, the Tab step past rows with nothing to select, cell marks made by
// the keyboard, and the check box below a hidden row.
#include "GridNavFixture.h"

#include <functional>
#include <ostream>

namespace {

class KeyOptions : public GridNav {
protected:
    void SetUp() override {
        GridNav::SetUp();
        G->SetBounds(0, 0, 400, 300);
        G->SetDefaultRowHeight(20);
    }
    void KeyUp(Word VK, TShiftState Shift = {}) { G->Perform(WM_KEYUP, VK, LPARAM(Shift.Bits())); }
    void Stroke(Word VK, TShiftState Shift = {}) {
        Key(VK, Shift);
        KeyUp(VK, Shift);
    }
};

// ---- a key cleared by OnKeyDown is not acted on ----------------------------------------------------

struct ClearedKeyCase {
    const char* Name;
    Word VK;
    TShiftState Shift;
    std::function<void(TExtStringGrid&)> Setup;
    // What the key does when the handler leaves it: rows added (+) or removed (-), and whether
    // the whole sheet ends up selected.
    int RowDelta;
    bool SelectsAll;
};

void PrintTo(const ClearedKeyCase& C, std::ostream* Os) { *Os << C.Name; }

class ClearedKey : public KeyOptions, public ::testing::WithParamInterface<ClearedKeyCase> {};

TEST_P(ClearedKey, ActsOnlyWhenTheHandlerLeavesTheKey) {
    const ClearedKeyCase& C = GetParam();
    C.Setup(*G);
    G->SetOptions(G->Options() << goRangeSelect);
    for (bool Clear : {true, false}) {
        SCOPED_TRACE(Clear ? "cleared" : "left");
        G->FocusCell(1, 3);
        const int Rows = G->RowCount();
        int Fired = 0;
        G->OnKeyDown = [&](TObject*, Word& K, TShiftState) {
            ++Fired;
            if (Clear) K = 0;
        };
        Key(C.VK, C.Shift);
        EXPECT_EQ(Fired, 1);
        EXPECT_EQ(G->RowCount(), Rows + (Clear ? 0 : C.RowDelta));
        const TGridRect S = G->Selection();
        const bool All = S.Left == 1 && S.Top == 1 && S.Right == G->ColCount() - 1 && S.Bottom == G->RowCount() - 1;
        EXPECT_EQ(All, !Clear && C.SelectsAll);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ClearedKey,
    ::testing::Values(
        ClearedKeyCase{
            "Insert", VK_INSERT, {}, [](TExtStringGrid& G) { G.Navigation()->SetAllowInsertRow(true); }, 1, false},
        ClearedKeyCase{
            "Delete", VK_DELETE, {}, [](TExtStringGrid& G) { G.Navigation()->SetAllowDeleteRow(true); }, -1, false},
        ClearedKeyCase{"CtrlA", 'A', {ssCtrl}, [](TExtStringGrid&) {}, 0, true}),
    [](const ::testing::TestParamInfo<ClearedKeyCase>& I) { return std::string(I.param.Name); });

// ---- Home and End ---------------------------------------------------------------------------------------

TEST_F(KeyOptions, HomeByRowsInRowSelectModeKeepsTheLeftColumn) {
    G->SetDefaultColWidth(150);
    G->SetOptions(G->Options() << goRowSelect);
    G->Navigation()->SetHomeEndKey(heFirstLastRow);
    G->Navigation()->SetKeepHorizScroll(true);
    G->FocusCell(1, 7);
    G->SetLeftCol(3);
    Key(VK_HOME);
    EXPECT_EQ(G->Row(), 1);
    EXPECT_EQ(G->LeftCol(), 3);
    // Without the option the view goes where the platform puts it.
    G->Navigation()->SetKeepHorizScroll(false);
    G->FocusCell(1, 7);
    G->SetLeftCol(3);
    Key(VK_END);
    EXPECT_EQ(G->Row(), G->RowCount() - 1);
}

TEST_F(KeyOptions, EndByRowsWithAFloatingFooterShowsTheLastPage) {
    G->SetRowCount(40);
    G->SetBounds(0, 0, 400, 200);
    G->Navigation()->SetHomeEndKey(heFirstLastRow);
    G->FloatingFooter()->SetVisible(true);
    G->FocusCell(1, 2);
    Key(VK_END);
    EXPECT_EQ(G->Row(), G->RowCount() - 2);
    EXPECT_EQ(G->TopRow(), G->RowCount() - G->VisibleRowCount());
}

// ---- cursor wrapping ----------------------------------------------------------------------------------

TEST_F(KeyOptions, CursorLoopWrapsWithCtrlToo) {
    G->Navigation()->SetCursorAdvance(caLoop);
    G->FocusCell(G->ColCount() - 1, 2);
    Key(VK_RIGHT, {ssCtrl});
    EXPECT_EQ(Cell(), "1,2");
    // Up from the first row lands on the last one, over the hidden row.
    G->FocusCell(3, 1);
    Key(VK_UP, {ssCtrl});
    EXPECT_EQ(Cell(), "3," + std::to_string(G->RowCount() - 1));
}

// ---- Tab past rows with nothing to select ------------------------------------------------------------

TEST_F(KeyOptions, TabAtARowEndWithNothingEditableBelowGoesOnToTheTop) {
    G->SetOptions(G->Options() << goTabs << goEditing);
    G->Navigation()->SetAdvanceAutoEdit(false);
    G->OnCanEditCell = [](TObject*, int DisplRow, int, bool& CanEdit) {
        if (DisplRow > 3) CanEdit = false;
    };
    G->FocusCell(G->ColCount() - 1, 3);
    Stroke(VK_TAB);
    EXPECT_EQ(Cell(), "1,1");
    // A grid that refuses even the last cell keeps the current one.
    G->OnSelectCell = [](TObject*, int, int DisplRow, bool& CanSelect) {
        if (DisplRow > 3) CanSelect = false;
    };
    G->FocusCell(G->ColCount() - 1, 3);
    Stroke(VK_TAB);
    EXPECT_EQ(Cell(), std::to_string(G->ColCount() - 1) + ",3");
}

// ---- cell marks from the keyboard ---------------------------------------------------------------------

TEST_F(KeyOptions, SpaceAndShiftMarkCellsWhenCellsAreSelectedApart) {
    G->SetOptions(G->Options() << goRangeSelect);
    G->MouseActions()->SetDisjunctCellSelect(true);
    // Below the hidden row: display row 6 shows real row 7.
    G->FocusCell(2, 6);
    Stroke(VK_SPACE);
    EXPECT_TRUE(G->GetSelectedCells(2, 6));
    EXPECT_EQ(G->SelectedCellsCount(), 1);
    // Ctrl+Space adds another cell; Space alone starts the marks anew.
    G->FocusCell(4, 2);
    Stroke(VK_SPACE, {ssCtrl});
    EXPECT_TRUE(G->GetSelectedCells(2, 6));
    EXPECT_TRUE(G->GetSelectedCells(4, 2));
    Stroke(VK_SPACE, {ssCtrl});
    EXPECT_FALSE(G->GetSelectedCells(4, 2));
    G->FocusCell(1, 1);
    Stroke(VK_SPACE);
    EXPECT_FALSE(G->GetSelectedCells(2, 6));
    EXPECT_TRUE(G->GetSelectedCells(1, 1));
    // Shift+arrows: every cell of the new block but the current one is marked.
    G->FocusCell(1, 5);
    Stroke(VK_DOWN, {ssShift});
    Stroke(VK_RIGHT, {ssShift});
    const TGridRect S = G->Selection();
    for (int r = S.Top; r <= S.Bottom; ++r)
        for (int c = S.Left; c <= S.Right; ++c)
            EXPECT_EQ(G->GetSelectedCells(c, r), !(c == G->Col() && r == G->Row())) << c << "," << r;
}

// ---- a check box below a hidden row ------------------------------------------------------------------

TEST_F(KeyOptions, SpaceOnACheckBoxBelowTheHiddenRowReportsItsOwnState) {
    G->SetOptions(G->Options() << goEditing);
    G->AddCheckBox(1, 7, false, false); // display row 7 shows real row 8
    std::vector<std::string> Clicks;
    G->OnCheckBoxClick = [&](TObject*, int C, int R, bool State) {
        Clicks.push_back(std::to_string(C) + "," + std::to_string(R) + "," + (State ? "on" : "off"));
    };
    G->FocusCell(1, 7);
    Key(VK_SPACE);
    Key(VK_SPACE);
    EXPECT_EQ(Clicks, (std::vector<std::string>{"1,7,on", "1,7,off"}));
}

} // namespace
