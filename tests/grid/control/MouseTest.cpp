// The grid under the mouse, driven through its own window procedure: clicks, check boxes,
// header clicks, double clicks, column sizing, right clicks, links, ratings and cell hints.
#include "grid/control/ExtCGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/shell/Shell.h"
#include "tests/support/QtPrint.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::string S(int V) { return std::to_string(V); }

// A column grid as the configurator's tables set it up: a fixed row-number column and a header
// row, goColSizing on, goEditing off. Six real columns with real column 2 hidden, so display
// column 2 shows real column 3. Real column 4 (display 3) is a data check-box column, real
// column 5 (display 4) a check-box column that is read-only.
class MouseGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::LinkAt;
    using TExtColumnGrid::TExtColumnGrid;
    // A rating cell for the rating cases: (display 1, row 4) when set.
    bool RatingCell = false;
    // The grid's start after loading, run again.
    void LoadedAgain() { Loaded(); }
    TCellType GetCellType(int ACol, int ARow) override {
        if (RatingCell && ACol == 1 && ARow == 4) return ctRating;
        return TExtColumnGrid::GetCellType(ACol, ARow);
    }
};

class Mouse : public ::testing::Test {
public:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 560, 320);
        G = Create<MouseGrid>(Form, Form);
        G->SetBounds(0, 0, 520, 240);
        G->SetColCount(6);
        G->SetRowCount(7);
        G->SetDefaultColWidth(80);
        G->SetOptions(G->Options() << goColSizing >> goEditing);
        for (int c = 1; c < 6; ++c)
            for (int r = 1; r < 7; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        for (int c = 0; c < 6; ++c) G->SetGridCell(c, 0, QString("H%1").arg(c));
        G->Columns()->Items(4)->SetEditor(edDataCheckBox);
        G->Columns()->Items(5)->SetEditor(edDataCheckBox);
        G->Columns()->Items(5)->SetReadOnly(true);
        for (int r = 1; r < 7; ++r) {
            G->SetGridCell(4, r, r == 2 ? "" : "N");
            G->SetGridCell(5, r, "N");
        }
        G->HideColumn(2);
        Form->Show();
        QApplication::processEvents();
        G->SetFocus();
        QApplication::processEvents();
        G->MoveColRow(1, 1, true, true);
        Watch();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
        SetLinkOpener(nullptr);
    }

    void Watch() {
        G->OnClickCell = [this](TObject* Sd, int R, int C) { Add(Sd, "ClickCell " + S(R) + "," + S(C)); };
        G->OnCheckBoxClick = [this](TObject* Sd, int C, int R, bool St) {
            Add(Sd, "CheckBoxClick " + S(C) + "," + S(R) + "," + S(St));
        };
        G->OnCheckBoxChange = [this](TObject* Sd, int C, int R, bool St) {
            Add(Sd, "CheckBoxChange " + S(C) + "," + S(R) + "," + S(St));
        };
        G->OnMouseDown = [this](TObject* Sd, TMouseButton B, TShiftState, int X, int Y) {
            Add(Sd, "MouseDown " + S(int(B)) + " " + S(X) + "," + S(Y));
        };
        G->OnMouseUp = [this](TObject* Sd, TMouseButton B, TShiftState, int X, int Y) {
            Add(Sd, "MouseUp " + S(int(B)) + " " + S(X) + "," + S(Y));
        };
        G->OnClick = [this](TObject* Sd) { Add(Sd, "Click"); };
        G->OnDblClick = [this](TObject* Sd) { Add(Sd, "DblClick"); };
        G->OnDblClickCell = [this](TObject* Sd, int R, int C) { Add(Sd, "DblClickCell " + S(R) + "," + S(C)); };
        G->OnRightClickCell = [this](TObject* Sd, int R, int C) { Add(Sd, "RightClickCell " + S(R) + "," + S(C)); };
        G->OnSelectionChanged = [this](TObject* Sd, int L, int T, int R, int B) {
            Add(Sd, "SelectionChanged " + S(L) + "," + S(T) + "," + S(R) + "," + S(B));
        };
        G->OnColumnSize = [this](TObject* Sd, int C, bool&) { Add(Sd, "ColumnSize " + S(C)); };
        G->OnButtonClick = [this](TObject* Sd, int C, int R) { Add(Sd, "ButtonClick " + S(C) + "," + S(R)); };
        G->OnClickSort = [this](TObject* Sd, int C) { Add(Sd, "ClickSort " + S(C)); };
        G->OnEndColumnSize = [this](TObject* Sd, int C) { Add(Sd, "EndColumnSize " + S(C)); };
    }
    void Add(TObject* Sender, const std::string& Line) {
        Log.push_back(Line);
        if (Sender != G) Log.push_back("(sender is not the grid)");
    }
    // Only the lines that start with one of the given event names.
    std::vector<std::string> Only(std::initializer_list<std::string> Names) const {
        std::vector<std::string> R;
        for (const auto& L : Log)
            for (const auto& N : Names)
                if (L.rfind(N + " ", 0) == 0 || L == N) R.push_back(L);
        return R;
    }

    TPoint Mid(int C, int R) const {
        const TRect Rc = G->CellRect(C, R);
        return {(Rc.Left + Rc.Right) / 2, (Rc.Top + Rc.Bottom) / 2};
    }
    void Down(TPoint P, WPARAM Keys = 0) { G->Perform(WM_LBUTTONDOWN, MK_LBUTTON | Keys, MakeLParam(P.X, P.Y)); }
    void Up(TPoint P, WPARAM Keys = 0) { G->Perform(WM_LBUTTONUP, Keys, MakeLParam(P.X, P.Y)); }
    void Move(TPoint P, WPARAM Keys = MK_LBUTTON) { G->Perform(WM_MOUSEMOVE, Keys, MakeLParam(P.X, P.Y)); }
    void Dbl(TPoint P) { G->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(P.X, P.Y)); }
    void Click(TPoint P) {
        Down(P);
        Up(P);
    }
    bool EditorShown() const { return G->TextEditor() && G->TextEditor()->isVisible(); }
    QString Hint(TPoint P, THintInfo* Out = nullptr) {
        THintInfo Info;
        Info.HintControl = G;
        Info.CursorPos = P;
        G->Perform(CM_HINTSHOW, 0, LPARAM(&Info));
        if (Out) *Out = Info;
        return Info.HintStr;
    }

public:
    TForm* Form = nullptr;
    MouseGrid* G = nullptr;
    std::vector<std::string> Log;
};

// ---- the left button: a table of (starting state, clicks) -> (events, current cell, texts) ----
struct LeftCase {
    const char* Name;
    std::function<void(Mouse&)> Setup; // may be empty
    std::vector<TPoint> Clicks; // display cells clicked at their middle, in order
    std::vector<std::string> Events; // ClickCell, CheckBoxClick, CheckBoxChange, MouseDown (display)
    TPoint FinalCell; // Col, Row
    QString CheckText; // text of real column 4, row 2 afterwards
    bool Editor;
};

const std::vector<LeftCase>& LeftCases() {
    static const std::vector<LeftCase> Cases = {
        {"ClickSelectsAndFiresClickCell", {}, {{1, 3}}, {"ClickCell 3,1"}, {1, 3}, "", false},
        {"SecondClickOnTheCurrentCellOpensTheEditor",
         {},
         {{2, 3}, {2, 3}},
         {"ClickCell 3,2", "ClickCell 3,2"},
         {2, 3},
         "",
         true},
        {"CheckBoxClickSetsYAndMovesTheFocus",
         {},
         {{3, 2}},
         {"CheckBoxChange 3,2,1", "CheckBoxClick 3,2,1"},
         {3, 2},
         "Y",
         false},
        {"SecondCheckBoxClickSetsN",
         {},
         {{3, 2}, {3, 2}},
         {"CheckBoxChange 3,2,1", "CheckBoxClick 3,2,1", "CheckBoxChange 3,2,0", "CheckBoxClick 3,2,0"},
         {3, 2},
         "N",
         false},
        {"ReadOnlyCheckBoxIsAPlainClick", {}, {{4, 2}}, {"ClickCell 2,4"}, {4, 2}, "", false},
        {"RefusedCheckBoxIsAPlainClick",
         [](Mouse& M) { M.G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; }; },
         {{3, 2}},
         {"ClickCell 2,3"},
         {3, 2},
         "",
         false},
        {"HeaderClickMovesNothing", {}, {{2, 0}}, {"ClickCell 0,2"}, {1, 1}, "", false},
        {"RowNumberClickMovesNothing", {}, {{0, 5}}, {"ClickCell 5,0"}, {1, 1}, "", false},
        {"RefusedClickDoesNothing",
         [](Mouse& M) { M.G->OnCanClickCell = [](TObject*, int, int, bool& Allow) { Allow = false; }; },
         {{2, 4}, {3, 2}},
         {},
         {1, 1},
         "",
         false},
        {"DirectEditOpensOnTheFirstClick",
         [](Mouse& M) { M.G->MouseActions()->SetDirectEdit(true); },
         {{2, 5}},
         {"ClickCell 5,2"},
         {2, 5},
         "",
         true},
        {"CheckAlwaysActiveTogglesAReadOnlyColumn",
         [](Mouse& M) { M.G->ControlLook()->SetCheckAlwaysActive(true); },
         {{4, 3}},
         {"CheckBoxChange 4,3,1", "CheckBoxClick 4,3,1"},
         {4, 3},
         "",
         false},
    };
    return Cases;
}

void PrintTo(const LeftCase& C, std::ostream* Os) { *Os << C.Name; }

class LeftButton : public Mouse, public ::testing::WithParamInterface<LeftCase> {};

TEST_P(LeftButton, Table) {
    const LeftCase& C = GetParam();
    if (C.Setup) C.Setup(*this);
    for (TPoint P : C.Clicks) Click(Mid(P.X, P.Y));
    EXPECT_EQ(Only({"ClickCell", "CheckBoxClick", "CheckBoxChange"}), C.Events);
    EXPECT_EQ(G->Col(), C.FinalCell.X);
    EXPECT_EQ(G->Row(), C.FinalCell.Y);
    EXPECT_EQ(G->GetGridCell(4, 2), C.CheckText);
    EXPECT_EQ(EditorShown(), C.Editor);
    for (const auto& L : Log) EXPECT_NE(L, "(sender is not the grid)");
}

INSTANTIATE_TEST_SUITE_P(Cases, LeftButton, ::testing::ValuesIn(LeftCases()),
                         [](const ::testing::TestParamInfo<LeftCase>& I) { return std::string(I.param.Name); });

TEST_F(Mouse, CheckBoxClickFiresItsEventsInOrderAndNoClickCell) {
    const TPoint P = Mid(3, 2);
    Click(P);
    const std::vector<std::string> Want = {"CheckBoxChange 3,2,1", "CheckBoxClick 3,2,1",
                                           "MouseDown 0 " + S(P.X) + "," + S(P.Y), "Click"};
    EXPECT_EQ(Only({"CheckBoxChange", "CheckBoxClick", "MouseDown", "Click", "ClickCell"}), Want);
    // The text lands in the real column behind display column 3.
    EXPECT_EQ(G->GetGridCell(4, 2), "Y");
    EXPECT_EQ(G->GetGridCell(3, 2), "3,2");
}

TEST_F(Mouse, HeaderClickFiresClickCellThenOnClickOnce) {
    Click(Mid(2, 0));
    EXPECT_EQ(Only({"ClickCell", "Click", "SelectionChanged"}), (std::vector<std::string>{"ClickCell 0,2", "Click"}));
}

TEST_F(Mouse, AClickNearAHeaderBorderIsASizingClick) {
    const TRect R = G->CellRect(2, 0);
    Click({R.Right - 2, (R.Top + R.Bottom) / 2});
    EXPECT_TRUE(Only({"ClickCell"}).empty());
}

TEST_F(Mouse, MouseUpGetsThePointerCoordinates) {
    const TPoint P = Mid(2, 4);
    Click(P);
    EXPECT_EQ(Only({"MouseUp"}), (std::vector<std::string>{"MouseUp 0 " + S(P.X) + "," + S(P.Y)}));
}

TEST_F(Mouse, SelectionChangedFiresOnlyForAChangeSinceThePress) {
    Click(Mid(1, 1)); // already the current cell
    EXPECT_TRUE(Only({"SelectionChanged"}).empty());
    Click(Mid(2, 3));
    EXPECT_EQ(Only({"SelectionChanged"}), (std::vector<std::string>{"SelectionChanged 2,3,2,3"}));
    // A drag reports while it moves; the release adds nothing for what was reported.
    Log.clear();
    G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    G->SetOptions(G->Options() << goRangeSelect >> goEditing);
    Down(Mid(1, 2));
    Move(Mid(2, 4));
    Up(Mid(2, 4));
    const auto Changes = Only({"SelectionChanged"});
    ASSERT_FALSE(Changes.empty());
    EXPECT_EQ(Changes.back(), "SelectionChanged 1,2,2,4");
    for (size_t i = 1; i < Changes.size(); ++i) EXPECT_NE(Changes[i], Changes[i - 1]);
}

TEST_F(Mouse, SelectionResizeDragRepeatsTheCellsWithoutTouchingTheClipboard) {
    QGuiApplication::clipboard()->setText("the user's own clipboard");
    G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    G->SetOptions(G->Options() << goRangeSelect >> goEditing);
    G->SetSelectionRectangle(true);
    G->SetSelectionResizer(true);
    G->SetGridCell(1, 1, "a");
    G->SetGridCell(1, 2, "b");
    G->SetSelection(TGridRect{1, 1, 1, 2});
    std::vector<std::string> Resize;
    auto Str = [](TGridRect R) { return S(R.Left) + "," + S(R.Top) + "," + S(R.Right) + "," + S(R.Bottom); };
    G->OnSelectionResize = [&](TObject*, TGridRect O, TGridRect N) {
        Resize.push_back("Resize " + Str(O) + " " + Str(N));
    };
    G->OnSelectionResized = [&](TObject*, TGridRect O, TGridRect N) {
        Resize.push_back("Resized " + Str(O) + " " + Str(N));
    };
    const TRect Handle = G->CellRect(1, 2);
    Down({Handle.Right - 2, Handle.Bottom - 2});
    Move(Mid(1, 5));
    Up(Mid(1, 5));
    EXPECT_EQ(Resize, (std::vector<std::string>{"Resize 1,1,1,2 1,1,1,5", "Resized 1,1,1,2 1,1,1,5"}));
    EXPECT_EQ(G->GetGridCell(1, 3), "a");
    EXPECT_EQ(G->GetGridCell(1, 4), "b");
    EXPECT_EQ(G->GetGridCell(1, 5), "a");
    EXPECT_EQ(G->GetGridCell(1, 6), "1,6");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "the user's own clipboard");
}

// ---- disjunct selections: (options, clicks with keys) -> (rows, columns or cells selected) ----------
struct Press {
    TPoint Cell; // display cell, pressed and released at its middle
    WPARAM Keys; // MK_CONTROL, MK_SHIFT
};

struct DisjunctCase {
    const char* Name;
    std::function<void(TExtStringGrid*)> Setup;
    std::vector<Press> Presses;
    // What is selected afterwards, as "r2 r4" (rows), "c1 c3" (columns) or "1,2 2,4" (cells).
    std::string Selected;
};

void PrintTo(const DisjunctCase& C, std::ostream* Os) { *Os << C.Name; }

std::string SelectedRows(TExtStringGrid* G) {
    std::string R;
    for (int r = G->FixedRows(); r < G->RowCount(); ++r)
        if (G->GetRowSelect(r)) R += (R.empty() ? "r" : " r") + S(r);
    return R;
}
std::string SelectedCols(TExtStringGrid* G) {
    std::string R;
    for (int c = G->FixedCols(); c < G->ColCount(); ++c)
        if (G->GetColSelect(c)) R += (R.empty() ? "c" : " c") + S(c);
    return R;
}
std::string SelectedCells(TExtStringGrid* G) {
    std::string R;
    for (int r = G->FixedRows(); r < G->RowCount(); ++r)
        for (int c = G->FixedCols(); c < G->ColCount(); ++c)
            if (G->GetSelectedCells(c, r)) R += (R.empty() ? "" : " ") + S(c) + "," + S(r);
    return R;
}

const std::vector<DisjunctCase>& DisjunctCases() {
    auto Rows = [](TExtStringGrid* G) { G->MouseActions()->SetDisjunctRowSelect(true); };
    auto Cols = [](TExtStringGrid* G) { G->MouseActions()->SetDisjunctColSelect(true); };
    auto Cells = [](TExtStringGrid* G) { G->MouseActions()->SetDisjunctCellSelect(true); };
    static const std::vector<DisjunctCase> Cases = {
        {"RowsCtrlClickAddsARow", Rows, {{{1, 2}, 0}, {{1, 4}, MK_CONTROL}}, "r2 r4"},
        {"RowsCtrlClickOnASelectedRowTakesItOut",
         Rows,
         {{{1, 2}, 0}, {{1, 4}, MK_CONTROL}, {{1, 2}, MK_CONTROL}},
         "r4"},
        {"RowsPlainClickStartsANewSet", Rows, {{{1, 2}, 0}, {{1, 4}, MK_CONTROL}, {{2, 5}, 0}}, "r5"},
        {"ColumnsCtrlClickAddsAColumn", Cols, {{{1, 3}, 0}, {{2, 3}, MK_CONTROL}}, "c1 c2"},
        {"ColumnsCtrlClickOnASelectedColumnTakesItOut",
         Cols,
         {{{1, 3}, 0}, {{2, 3}, MK_CONTROL}, {{1, 5}, MK_CONTROL}},
         "c2"},
        {"CellsCtrlClickAddsACell", Cells, {{{1, 2}, 0}, {{2, 4}, MK_CONTROL}}, "1,2 2,4"},
        {"CellsCtrlClickOnASelectedCellTakesItOut",
         Cells,
         {{{1, 2}, 0}, {{2, 4}, MK_CONTROL}, {{1, 2}, MK_CONTROL}},
         "2,4"},
        {"CellsPlainClickStartsANewSet", Cells, {{{1, 2}, 0}, {{2, 4}, MK_CONTROL}, {{2, 5}, 0}}, "2,5"},
        {"CellsRefusedBySelectCellStayOut",
         [](TExtStringGrid* G) {
             G->MouseActions()->SetDisjunctCellSelect(true);
             G->OnSelectCell = [](TObject*, int C, int, bool& Can) { Can = C != 2; };
         },
         {{{1, 2}, 0}, {{2, 4}, MK_CONTROL}},
         "1,2"},
    };
    return Cases;
}

class Disjunct : public Mouse, public ::testing::WithParamInterface<DisjunctCase> {};

TEST_P(Disjunct, Table) {
    const DisjunctCase& C = GetParam();
    // Cells that may not be edited: every click selects (no editor takes the second one).
    G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    C.Setup(G);
    for (const Press& P : C.Presses) {
        Down(Mid(P.Cell.X, P.Cell.Y), P.Keys);
        Up(Mid(P.Cell.X, P.Cell.Y), P.Keys);
    }
    std::string Got;
    if (G->MouseActions()->DisjunctRowSelect()) Got = SelectedRows(G);
    if (G->MouseActions()->DisjunctColSelect()) Got = SelectedCols(G);
    if (G->MouseActions()->DisjunctCellSelect()) Got = SelectedCells(G);
    EXPECT_EQ(Got, C.Selected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Disjunct, ::testing::ValuesIn(DisjunctCases()),
                         [](const ::testing::TestParamInfo<DisjunctCase>& I) { return std::string(I.param.Name); });

TEST_F(Mouse, ACtrlClickInTheDraggableSelectionFlipsTheRowAndReportsThePointer) {
    G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->DragDropSettings()->SetOleDropSource(true);
    Click(Mid(1, 2));
    Down(Mid(2, 4), MK_CONTROL);
    Up(Mid(2, 4), MK_CONTROL);
    ASSERT_EQ(SelectedRows(G), "r2 r4");
    Log.clear();
    // Row 4 is selected: the press may start a drag; released in place it is a Ctrl click.
    const TPoint P = Mid(1, 4);
    Down(P, MK_CONTROL);
    Up(P, MK_CONTROL);
    EXPECT_EQ(Only({"ClickCell", "MouseDown", "MouseUp"}),
              (std::vector<std::string>{"MouseDown 0 " + S(P.X) + "," + S(P.Y), "ClickCell 4,1",
                                        "MouseUp 0 " + S(P.X) + "," + S(P.Y)}));
    EXPECT_EQ(SelectedRows(G), "r2");
}

TEST_F(Mouse, APlainClickInTheDraggableSelectionSelectsTheCell) {
    G->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    G->SetOptions(G->Options() << goRangeSelect);
    G->DragDropSettings()->SetOleDropSource(true);
    G->SetSelection(TGridRect{1, 2, 2, 4});
    Click(Mid(2, 3));
    EXPECT_EQ(Only({"ClickCell"}), (std::vector<std::string>{"ClickCell 3,2"}));
    const TGridRect Sel = G->Selection();
    EXPECT_EQ((std::vector<int>{Sel.Left, Sel.Top, Sel.Right, Sel.Bottom}), (std::vector<int>{2, 3, 2, 3}));
}

// ---- sort clicks ----------------------------------------------------------------------------------
TEST_F(Mouse, ClickingTheSortColumnAgainTurnsTheOrderRound) {
    G->SortSettings()->SetShow(true);
    std::vector<int> Directions;
    G->OnClickSort = [&](TObject*, int) { Directions.push_back(int(G->SortSettings()->Direction())); };
    Click(Mid(1, 0));
    Click(Mid(1, 0));
    Click(Mid(1, 0));
    Click(Mid(2, 0)); // another column starts ascending again
    EXPECT_EQ(Directions, (std::vector<int>{sdAscending, sdDescending, sdAscending, sdAscending}));
    EXPECT_EQ(G->SortSettings()->Column(), 3);
}

// ---- cell buttons -----------------------------------------------------------------------------------
class CellButtons : public Mouse {
protected:
    void SetUp() override {
        Mouse::SetUp();
        auto* CG = new TCellGraphic;
        CG->SetButton(40, 18, "Go", haLeft, vaTop);
        G->SetGraphicObjectEx(1, 5, CG); // display (1, 5)
    }
    TPoint OnButton() const { return {G->CellRect(1, 5).Left + 5, G->CellRect(1, 5).Top + 5}; }
};

TEST_F(CellButtons, PressHoldsTheButtonAndReleaseOnItReportsIt) {
    Down(OnButton());
    EXPECT_EQ(G->PushedCellButton(), (TPoint{1, 5}));
    EXPECT_EQ(Only({"ClickCell", "ButtonClick"}), (std::vector<std::string>{"ClickCell 5,1"}));
    Up(OnButton());
    EXPECT_EQ(Only({"ClickCell", "ButtonClick"}), (std::vector<std::string>{"ClickCell 5,1", "ButtonClick 1,5"}));
    EXPECT_EQ(G->PushedCellButton(), (TPoint{-1, -1}));
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 5);
}

TEST_F(CellButtons, ReleaseAwayFromTheButtonReportsNothing) {
    Down(OnButton());
    Up(Mid(2, 2));
    EXPECT_TRUE(Only({"ButtonClick"}).empty());
    EXPECT_EQ(G->PushedCellButton(), (TPoint{-1, -1}));
}

TEST_F(CellButtons, DoubleClickOnTheButtonIsNoDoubleClickOfTheCell) {
    Dbl(OnButton());
    EXPECT_TRUE(Only({"DblClickCell", "DblClick"}).empty());
}

// ---- fixed column sizing ---------------------------------------------------------------------------
TEST_F(Mouse, SizeFixedColDragsTheFixedColumnsBorderInAnyRow) {
    G->MouseActions()->SetSizeFixedCol(true);
    std::vector<std::pair<int, int>> Sizing;
    G->OnColumnSizing = [&](TObject*, int C, int W) { Sizing.push_back({C, W}); };
    const int Border = G->ColWidths(0) + 1;
    const int Y = Mid(1, 3).Y;
    Move({Border, Y}, 0);
    Down({Border, Y});
    Move({Border + 20, Y});
    Up({Border + 20, Y});
    EXPECT_EQ(Sizing, (std::vector<std::pair<int, int>>{{0, Border + 20}}));
    EXPECT_EQ(G->ColWidths(0), Border + 20);
    EXPECT_EQ(Only({"EndColumnSize", "ClickCell"}), (std::vector<std::string>{"EndColumnSize 0"}));
}

// ---- hover and balloons ------------------------------------------------------------------------------
TEST_F(Mouse, HoverRowFollowsTheMouseAndGoesWhenItLeaves) {
    G->SetHoverRow(true);
    Move(Mid(2, 3), 0);
    EXPECT_EQ(G->HoverRowIdx(), 3);
    Move(Mid(1, 5), 0);
    EXPECT_EQ(G->HoverRowIdx(), 5);
    G->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(G->HoverRowIdx(), -1);
}

TEST_F(Mouse, BalloonWindowExistsOnlyWhileBalloonsAreOn) {
    EXPECT_EQ(G->BalloonWindow(), nullptr);
    G->Balloon()->SetEnable(true);
    QPointer<QWidget> First(G->BalloonWindow());
    ASSERT_FALSE(First.isNull());
    G->LoadedAgain(); // starting again keeps the one window
    EXPECT_EQ(G->BalloonWindow(), First.data());
    G->Balloon()->SetEnable(false);
    EXPECT_EQ(G->BalloonWindow(), nullptr);
    EXPECT_TRUE(First.isNull());
    G->Balloon()->SetEnable(true);
    EXPECT_NE(G->BalloonWindow(), nullptr);
}

// ---- ratings and links ---------------------------------------------------------------------------
TEST_F(Mouse, ARatingCellsStarsComeFromItsGraphic) {
    auto* CG = new TCellGraphic;
    CG->SetCellType(ctRating);
    CG->SetCellAngle(3);
    G->SetGraphicObjectEx(1, 4, CG);
    G->SetOptions(G->Options() << goEditing);
    const TRect R = G->CellRect(1, 4);
    Click({R.Right - 3, (R.Top + R.Bottom) / 2}); // four stars' worth of width
    EXPECT_EQ(G->GetGridCell(1, 4).toDouble(), 3.0);
    Click({R.Left + 20, (R.Top + R.Bottom) / 2});
    EXPECT_EQ(G->GetGridCell(1, 4).toDouble(), 1.0);
}

TEST_F(Mouse, ARatingNeverExceedsItsStars) {
    G->RatingCell = true;
    G->SetOptions(G->Options() << goEditing);
    G->OnRatingChange = [](TObject*, int, int, double& NewRate, bool&) { NewRate = 99; };
    Click(Mid(1, 4));
    EXPECT_EQ(G->GetGridCell(1, 4).toDouble(), 5.0);
    G->OnRatingChange = [](TObject*, int, int, double& NewRate, bool&) { NewRate = -3; };
    Click(Mid(1, 4));
    EXPECT_EQ(G->GetGridCell(1, 4).toDouble(), 0.0);
    G->OnRatingChange = [](TObject*, int, int, double&, bool& Allow) { Allow = false; };
    Click(Mid(1, 4));
    EXPECT_EQ(G->GetGridCell(1, 4).toDouble(), 0.0);
}

struct LinkCase {
    const char* Name;
    const char* Text;
    bool Opened;
};

void PrintTo(const LinkCase& C, std::ostream* Os) { *Os << C.Name; }

class Links : public Mouse, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(Links, OnlyWebAndMailLinksLeaveTheProgram) {
    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    G->SetURLShow(true);
    G->SetGridCell(1, 3, GetParam().Text);
    std::string Anchor;
    G->OnAnchorClick = [&](TObject*, int, int, const QString& A, bool&) { Anchor = A.toStdString(); };
    Click(Mid(1, 3));
    EXPECT_EQ(Opener->Links().size(), GetParam().Opened ? 1 : 0);
    if (GetParam().Opened) EXPECT_EQ(Opener->Links().front(), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Cases, Links,
                         ::testing::Values(LinkCase{"Http", "http://example.org/a", true},
                                           LinkCase{"Https", "https://example.org/b", true},
                                           LinkCase{"Mailto", "mailto:someone@example.org", true},
                                           LinkCase{"File", "file:///etc/passwd", false},
                                           LinkCase{"Ftp", "ftp://example.org/c", false}),
                         [](const ::testing::TestParamInfo<LinkCase>& I) { return std::string(I.param.Name); });

TEST_F(Mouse, CellReferenceLinksMoveInsideTheGridAndIgnoreCellsOutsideIt) {
    G->SetURLShow(true);
    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    bool Handled = true;
    G->OnAnchorClick = [&](TObject*, int, int, const QString&, bool& Auto) { Auto = Handled; };
    G->SetGridCell(1, 3, "CELL://R99C99");
    Click(Mid(1, 3));
    EXPECT_TRUE(Opener->Links().isEmpty());
    EXPECT_EQ(G->Row(), 1);
    G->SetGridCell(1, 3, "CELL://R5C2");
    Click(Mid(1, 3));
    EXPECT_EQ(G->Row(), 5);
    EXPECT_EQ(G->Col(), 2);
}

// A link inside a mini-HTML cell: the renderer finds it under the point; only web and mail
// addresses leave the program, cell references move inside the grid.
struct HtmlLinkCase {
    const char* Name;
    const char* Href;
    bool OnTheLink; // the click lands on the link's text, else right of it
    std::vector<std::string> Opened;
    int Col, Row; // the current cell afterwards (started at 1, 1)
    std::vector<std::string> Log;
};
void PrintTo(const HtmlLinkCase& C, std::ostream* Os) { *Os << C.Name; }

class HtmlLinks : public Mouse, public ::testing::WithParamInterface<HtmlLinkCase> {};

TEST_P(HtmlLinks, FollowTheAnchorUnderThePoint) {
    const HtmlLinkCase& C = GetParam();
    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    G->SetColWidths(1, 160);
    G->SetGridCell(1, 3, QString("<a href=\"%1\">linklink</a>").arg(C.Href));
    G->OnAnchorClick = [this](TObject* Sd, int R, int Cl, const QString& A, bool&) {
        Add(Sd, "AnchorClick " + S(R) + "," + S(Cl) + " " + A.toStdString());
    };
    Log.clear();
    const TRect R = G->CellRect(1, 3);
    Click(TPoint{C.OnTheLink ? R.Left + 8 : R.Right - 6, R.Top + G->XYOffset().y() + 7});
    std::vector<std::string> Opened;
    for (const QString& L : Opener->Links()) Opened.push_back(L.toStdString());
    EXPECT_EQ(Opened, C.Opened);
    EXPECT_EQ(G->Col(), C.Col);
    EXPECT_EQ(G->Row(), C.Row);
    EXPECT_EQ(Only({"AnchorClick", "ClickCell"}), C.Log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlLinks,
    ::testing::Values(
        HtmlLinkCase{"WebLinkOpens",
                     "http://example.org/a",
                     true,
                     {"http://example.org/a"},
                     1,
                     1,
                     {"AnchorClick 3,1 http://example.org/a"}},
        HtmlLinkCase{"MailLinkOpens",
                     "mailto:a@example.org",
                     true,
                     {"mailto:a@example.org"},
                     1,
                     1,
                     {"AnchorClick 3,1 mailto:a@example.org"}},
        HtmlLinkCase{
            "FileLinkIsNotOpened", "file:///etc/passwd", true, {}, 1, 1, {"AnchorClick 3,1 file:///etc/passwd"}},
        HtmlLinkCase{"ProgramLinkIsNotOpened", "/usr/bin/xterm", true, {}, 1, 1, {"AnchorClick 3,1 /usr/bin/xterm"}},
        HtmlLinkCase{"CellReferenceMovesThere", "CELL://R5C2", true, {}, 2, 5, {"AnchorClick 3,1 CELL://R5C2"}},
        HtmlLinkCase{
            "CellReferenceOutsideTheGridIsIgnored", "CELL://R40C2", true, {}, 1, 1, {"AnchorClick 3,1 CELL://R40C2"}},
        HtmlLinkCase{"BesideTheLinkIsAPlainClick", "http://example.org/a", false, {}, 1, 3, {"ClickCell 3,1"}}),
    [](const ::testing::TestParamInfo<HtmlLinkCase>& I) { return std::string(I.param.Name); });

TEST_F(Mouse, AnAnchorClickHandlerMayKeepTheLinkFromOpening) {
    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    G->SetColWidths(1, 160);
    G->SetGridCell(1, 3, "<a href=\"http://example.org/a\">linklink</a>");
    G->OnAnchorClick = [](TObject*, int, int, const QString&, bool& Auto) { Auto = false; };
    const TRect R = G->CellRect(1, 3);
    Click(TPoint{R.Left + 8, R.Top + G->XYOffset().y() + 7});
    EXPECT_TRUE(Opener->Links().isEmpty());
}

TEST_F(Mouse, ALinkBesideAFormControlIsFollowed) {
    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    G->SetColWidths(1, 220);
    G->SetGridCell(1, 3,
                   "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\"> <a href=\"http://example.org/a\">linklink</a>");
    const TRect R = G->CellRect(1, 3);
    const int Y = R.Top + G->XYOffset().y() + 7;
    int X = R.Left;
    while (X < R.Right && G->LinkAt(1, 3, X, Y).isEmpty()) ++X;
    ASSERT_LT(X, R.Right) << "the link is laid out in the cell";
    Click(TPoint{X + 2, Y});
    EXPECT_EQ(Opener->Links(), QStringList{"http://example.org/a"});
}

TEST_F(Mouse, MovingOntoAndOffALinkReportsItAndShowsTheHand) {
    G->SetColWidths(1, 160);
    G->SetGridCell(1, 3, "<a href=\"http://example.org/a\">linklink</a>");
    G->OnAnchorEnter = [this](TObject* Sd, int R, int C, const QString& A) {
        Add(Sd, "AnchorEnter " + S(R) + "," + S(C) + " " + A.toStdString());
    };
    G->OnAnchorExit = [this](TObject* Sd, int R, int C, const QString& A) {
        Add(Sd, "AnchorExit " + S(R) + "," + S(C) + " [" + A.toStdString() + "]");
    };
    const TRect R = G->CellRect(1, 3);
    Move(TPoint{R.Left + 8, R.Top + G->XYOffset().y() + 7}, 0);
    EXPECT_EQ(G->ShownCursor(), crHandPoint);
    EXPECT_EQ(G->cursor().shape(), Qt::PointingHandCursor);
    Move(TPoint{R.Left + 10, R.Top + G->XYOffset().y() + 7}, 0); // the same link: no new report
    Move(Mid(3, 4), 0);
    EXPECT_EQ(G->ShownCursor(), crDefault);
    EXPECT_EQ(Only({"AnchorEnter", "AnchorExit"}),
              (std::vector<std::string>{"AnchorEnter 3,1 http://example.org/a", "AnchorExit 4,3 []"}));
}

// ---- the cursor -----------------------------------------------------------------------------------------
// The platform sends no set-cursor message; the grid chooses its cursor on every move.
struct CursorCase {
    const char* Name;
    std::function<void(MouseGrid*)> Set;
    std::function<TPoint(Mouse&)> At;
    TCursor Cursor;
    Qt::CursorShape Shape;
};
void PrintTo(const CursorCase& C, std::ostream* Os) { *Os << C.Name; }

class Cursors : public Mouse, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(Cursors, FollowTheZoneUnderTheMouse) {
    const CursorCase& C = GetParam();
    C.Set(G);
    Move(C.At(*this), 0);
    EXPECT_EQ(G->ShownCursor(), C.Cursor);
    EXPECT_EQ(G->cursor().shape(), C.Shape);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cursors,
    ::testing::Values(
        CursorCase{"APlainCellShowsTheGridsCursor", [](MouseGrid*) {}, [](Mouse& M) { return M.Mid(1, 2); }, crDefault,
                   Qt::ArrowCursor},
        CursorCase{"AHeaderBorderShowsTheSplit", [](MouseGrid*) {},
                   [](Mouse& M) {
                       const TRect R = M.G->CellRect(1, 0);
                       return TPoint{R.Right - 1, (R.Top + R.Bottom) / 2};
                   },
                   crHSplit, Qt::SplitHCursor},
        CursorCase{"AColumnHeaderWithColSelect", [](MouseGrid* G) { G->MouseActions()->SetColSelect(true); },
                   [](Mouse& M) { return M.Mid(2, 0); }, TExtStringGrid::crSelectColumn, Qt::BitmapCursor},
        CursorCase{"ARowHeaderWithRowSelect", [](MouseGrid* G) { G->MouseActions()->SetRowSelect(true); },
                   [](Mouse& M) { return M.Mid(0, 3); }, TExtStringGrid::crSelectRow, Qt::BitmapCursor},
        CursorCase{"TheCornerWithAllSelect", [](MouseGrid* G) { G->MouseActions()->SetAllSelect(true); },
                   [](Mouse& M) { return M.Mid(0, 0); }, TExtStringGrid::crSelectAll, Qt::BitmapCursor},
        CursorCase{"CellSelectorMode", [](MouseGrid* G) { G->SetCellSelectorMode(true); },
                   [](Mouse& M) { return M.Mid(1, 2); }, TExtStringGrid::crCellSelector, Qt::CrossCursor},
        CursorCase{"TheCellCursorEventDecides",
                   [](MouseGrid* G) {
                       G->OnGetCellCursor = [](TObject*, int ACol, int, int, int, TCursor& C) {
                           if (ACol == 3) C = crIBeam;
                       };
                   },
                   [](Mouse& M) { return M.Mid(3, 2); }, crIBeam, Qt::IBeamCursor},
        CursorCase{"APlainLinkShowsTheHand",
                   [](MouseGrid* G) {
                       G->SetURLShow(true);
                       G->SetGridCell(1, 3, "http://example.org/");
                   },
                   [](Mouse& M) { return M.Mid(1, 3); }, crHandPoint, Qt::PointingHandCursor},
        CursorCase{"AFixedColumnBorderWithSizeFixedCol", [](MouseGrid* G) { G->MouseActions()->SetSizeFixedCol(true); },
                   [](Mouse& M) {
                       return TPoint{M.G->ColWidths(0) + 1, M.Mid(0, 3).Y};
                   },
                   crHSplit, Qt::SplitHCursor}),
    [](const ::testing::TestParamInfo<CursorCase>& I) { return std::string(I.param.Name); });

TEST_F(Mouse, GivingTheGridAnotherCursorDropsAnArmedHeaderSelection) {
    G->MouseActions()->SetColSelect(true);
    Move(Mid(2, 0), 0);
    ASSERT_EQ(G->MouseSelectMode(), TExtStringGrid::msColumn);
    G->SetCursor(crIBeam);
    EXPECT_EQ(G->MouseSelectMode(), TExtStringGrid::msNormal);
}

// ---- double click --------------------------------------------------------------------------------
TEST_F(Mouse, HeaderDoubleClickFiresDblClickCell) {
    const TPoint P = Mid(2, 0);
    Down(P);
    Up(P);
    Dbl(P);
    Up(P);
    EXPECT_EQ(Only({"DblClickCell"}), (std::vector<std::string>{"DblClickCell 0,2"}));
    EXPECT_EQ(Only({"ColumnSize", "EndColumnSize"}), (std::vector<std::string>{}));
}

TEST_F(Mouse, DoubleClickOnAHeaderBorderSizesTheLeftColumn) {
    G->SetGridCell(1, 4, "a much longer text than the column is wide, to be sized to");
    const int Before = G->ColWidths(1);
    const TRect R = G->CellRect(2, 0);
    const TPoint P{R.Left + 1, (R.Top + R.Bottom) / 2};
    Dbl(P);
    Up(P);
    EXPECT_EQ(Only({"ColumnSize", "EndColumnSize", "DblClickCell"}),
              (std::vector<std::string>{"ColumnSize 1", "EndColumnSize 1"}));
    EXPECT_GT(G->ColWidths(1), Before);
}

TEST_F(Mouse, RefusedBorderDoubleClickKeepsTheWidth) {
    G->OnColumnSize = [](TObject*, int, bool& Allow) { Allow = false; };
    G->SetGridCell(1, 4, "a much longer text than the column is wide, to be sized to");
    const int Before = G->ColWidths(1);
    const TRect R = G->CellRect(2, 0);
    Dbl({R.Left + 1, 5});
    EXPECT_EQ(G->ColWidths(1), Before);
    EXPECT_TRUE(Only({"DblClickCell"}).empty());
}

TEST_F(Mouse, DoubleClickOnACheckBoxCellFiresNoDblClickCell) {
    Dbl(Mid(3, 3));
    EXPECT_TRUE(Only({"DblClickCell"}).empty());
    Dbl(Mid(1, 3));
    EXPECT_EQ(Only({"DblClickCell"}), (std::vector<std::string>{"DblClickCell 3,1"}));
}

struct DblCase {
    const char* Name;
    bool EditOnDblClickOnly;
    bool RangeSelectAndEdit;
    bool EditorAfterClicks; // two single clicks on a cell
    bool EditorAfterDouble; // click, then double click, on another cell (by the double click itself)
};

void PrintTo(const DblCase& C, std::ostream* Os) { *Os << C.Name; }

class DoubleClickOptions : public Mouse, public ::testing::WithParamInterface<DblCase> {};

TEST_P(DoubleClickOptions, WhichClicksOpenTheEditor) {
    const DblCase& C = GetParam();
    G->MouseActions()->SetEditOnDblClickOnly(C.EditOnDblClickOnly);
    G->MouseActions()->SetRangeSelectAndEdit(C.RangeSelectAndEdit);
    Click(Mid(2, 3));
    Click(Mid(2, 3));
    EXPECT_EQ(EditorShown(), C.EditorAfterClicks);
    if (EditorShown()) G->HideInplaceEdit();
    G->SetFocus();
    Click(Mid(1, 5));
    Dbl(Mid(1, 5));
    Up(Mid(1, 5));
    EXPECT_EQ(EditorShown(), C.EditorAfterDouble);
    EXPECT_EQ(Only({"DblClickCell"}).back(), "DblClickCell 5,1");
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 5);
}

INSTANTIATE_TEST_SUITE_P(Cases, DoubleClickOptions,
                         ::testing::Values(DblCase{"Defaults", false, false, true, false},
                                           DblCase{"EditOnDblClickOnly", true, false, false, true},
                                           DblCase{"RangeSelectAndEdit", false, true, true, true}),
                         [](const ::testing::TestParamInfo<DblCase>& I) { return std::string(I.param.Name); });

// ---- column sizing by dragging ---------------------------------------------------------------------
TEST_F(Mouse, DraggingAHeaderBorderSizesTheColumnAndReportsEachWidth) {
    std::vector<std::pair<int, int>> Sizing;
    G->OnColumnSizing = [&](TObject*, int C, int W) { Sizing.push_back({C, W}); };
    const TRect R = G->CellRect(1, 0);
    const int Y = (R.Top + R.Bottom) / 2;
    Down({R.Right, Y});
    ASSERT_EQ(G->GridState(), gsColSizing);
    Move({R.Right + 10, Y});
    Move({R.Right + 25, Y});
    Up({R.Right + 25, Y});
    ASSERT_EQ(Sizing.size(), 2u);
    EXPECT_EQ(Sizing[0], std::make_pair(1, 90));
    EXPECT_EQ(Sizing[1], std::make_pair(1, 105));
    EXPECT_EQ(G->ColWidths(1), 105);
    EXPECT_FALSE(G->ScrollHintShowing());
    EXPECT_TRUE(Only({"ClickCell"}).empty());
}

TEST_F(Mouse, SizingHintShowsTheWidthWhileDraggingAndGoesOnRelease) {
    G->SetHintShowSizing(true);
    const TRect R = G->CellRect(1, 0);
    Down({R.Right, 5});
    Move({R.Right + 5, 5});
    EXPECT_TRUE(G->ScrollHintShowing());
    EXPECT_EQ(G->ScrollHintText(), "cw=<b>85</b>");
    Up({R.Right + 5, 5});
    EXPECT_FALSE(G->ScrollHintShowing());
}

TEST_F(Mouse, HeaderReleaseSortsUnlessRefusedDoubleClickedOrOnABorder) {
    std::vector<std::string> Sorts;
    G->OnClickSort = [&](TObject*, int C) { Sorts.push_back("ClickSort " + S(C)); };
    bool Allow = true;
    G->OnCanSort = [&](TObject*, int C, bool& DoSort) {
        Sorts.push_back("CanSort " + S(C));
        DoSort = Allow;
    };
    Click(Mid(2, 0)); // sorting off
    EXPECT_TRUE(Sorts.empty());
    G->SortSettings()->SetShow(true);
    Click(Mid(2, 0)); // display column 2 is real column 3
    EXPECT_EQ(Sorts, (std::vector<std::string>{"CanSort 3", "ClickSort 3"}));
    EXPECT_EQ(G->SortSettings()->Column(), 3);
    Sorts.clear();
    Allow = false;
    Click(Mid(1, 0));
    EXPECT_EQ(Sorts, (std::vector<std::string>{"CanSort 1"}));
    EXPECT_EQ(G->SortSettings()->Column(), 3);
    Sorts.clear();
    Allow = true;
    const TRect R = G->CellRect(2, 0);
    Dbl({R.Left + 1, 5});
    Up({R.Left + 1, 5});
    EXPECT_EQ(Sorts, (std::vector<std::string>{}));
    const TRect After = G->CellRect(2, 0); // the double click sized column 1
    Click({After.Right - 1, 5});
    EXPECT_EQ(Sorts, (std::vector<std::string>{}));
}

// ---- right button ---------------------------------------------------------------------------------
TEST_F(Mouse, RightClickReportsTheCellAndMovesNothing) {
    G->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(Mid(2, 4).X, Mid(2, 4).Y));
    G->Perform(WM_RBUTTONUP, 0, MakeLParam(Mid(2, 4).X, Mid(2, 4).Y));
    EXPECT_EQ(Only({"RightClickCell"}), (std::vector<std::string>{"RightClickCell 4,2"}));
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 1);
    G->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(515, 235));
    EXPECT_EQ(Only({"RightClickCell"}).back(), "RightClickCell -1,-1");
}

TEST_F(Mouse, SelectOnRightClickWithoutAHandlerPlaysALeftClick) {
    G->MouseActions()->SetSelectOnRightClick(true);
    G->OnRightClickCell = nullptr;
    const TPoint P = Mid(2, 4);
    G->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(P.X, P.Y));
    EXPECT_EQ(
        Only({"MouseDown"}),
        (std::vector<std::string>{"MouseDown 1 " + S(P.X) + "," + S(P.Y), "MouseDown 0 " + S(P.X) + "," + S(P.Y)}));
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 4);
}

TEST_F(Mouse, RightClickOnALinkEditsItWithURLEdit) {
    auto Opener = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(Opener);
    G->SetURLShow(true);
    G->SetURLEdit(true);
    G->SetGridCell(1, 3, "http://example.org/");
    G->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(Mid(1, 3).X, Mid(1, 3).Y));
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_TRUE(EditorShown());
    EXPECT_TRUE(Opener->Links().isEmpty());
}

TEST_F(Mouse, SelectOnRightClickMovesTheFocus) {
    G->MouseActions()->SetSelectOnRightClick(true);
    G->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(Mid(2, 4).X, Mid(2, 4).Y));
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(G->Row(), 4);
}

// ---- cell hints ----------------------------------------------------------------------------------
TEST_F(Mouse, HeaderHintStandsBelowTheHeaderWithTheHandlersText) {
    std::vector<std::string> Asked;
    G->OnGridHint = [&](TObject*, int R, int C, QString& H) {
        Asked.push_back(S(R) + "," + S(C) + " " + H.toStdString());
        H = "Header " + QString::number(C);
    };
    THintInfo Info;
    const TPoint P = Mid(2, 0);
    EXPECT_EQ(Hint(P, &Info), "Header 2");
    EXPECT_EQ(Asked, (std::vector<std::string>{"0,2 "}));
    const TRect R = G->CellRect(2, 0);
    EXPECT_EQ(Info.HintPos, G->ClientToScreen({P.X, R.Bottom + 6}));
    EXPECT_EQ(Info.HintColor, G->HintColor());
}

TEST_F(Mouse, HintShowCellsPutsTheCellTextAtTheCellTopForNormalCellsOnly) {
    G->SetHintShowCells(true);
    THintInfo Info;
    EXPECT_EQ(Hint(Mid(2, 3), &Info), "3,3");
    EXPECT_EQ(Info.HintPos.Y, G->ClientToScreen({0, G->CellRect(2, 3).Top}).Y);
    EXPECT_EQ(Hint(Mid(2, 0)), "");
}

TEST_F(Mouse, MovingToAnotherCellResetsTheHint) {
    std::vector<std::string> Asked;
    G->OnGridHint = [&](TObject*, int R, int C, QString&) { Asked.push_back(S(R) + "," + S(C)); };
    Hint(Mid(1, 0));
    EXPECT_EQ(G->LastHintPos(), (TPoint{1, 0}));
    Move(Mid(1, 0), 0);
    EXPECT_EQ(G->LastHintPos(), (TPoint{1, 0}));
    Move(Mid(2, 0), 0);
    EXPECT_EQ(G->LastHintPos(), (TPoint{-1, -1}));
    Hint(Mid(2, 0));
    EXPECT_EQ(Asked, (std::vector<std::string>{"0,1", "0,2"}));
}

TEST_F(Mouse, HintOverAMergedCellNamesItsBaseCell) {
    G->MergeCells(1, 3, 2, 2);
    std::vector<std::string> Asked;
    G->OnGridHint = [&](TObject*, int R, int C, QString&) { Asked.push_back(S(R) + "," + S(C)); };
    const TRect R = G->CellRect(2, 4);
    Hint({R.Left + 3, R.Top + 3});
    EXPECT_EQ(Asked, (std::vector<std::string>{"3,1"}));
}

} // namespace

namespace {

// ---- the owner form's resize hook ------------------------------------------------------------------
class FormGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void LoadedAgain() { Loaded(); }
};

class OwnerFormResize : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 600, 400);
        Application->OnException = [this](TObject* Sender, const std::exception& E) {
            std::string Who = Sender == G1 ? "g1" : Sender == G2 ? "g2" : Sender == Form ? "form" : "?";
            Log.push_back("error " + Who + " " + E.what());
        };
    }
    void TearDown() override {
        Application->OnException = nullptr;
        delete Form;
        QApplication::processEvents();
    }
    FormGrid* MakeGrid(const std::string& Name, bool FailingStretch = false) {
        auto* G = new FormGrid(Form);
        G->SetSizeWithForm(true);
        static_cast<TControl*>(G)->OnResize = [this, Name](TObject*) { Log.push_back("size " + Name); };
        if (FailingStretch) {
            // A stretch column beyond the grid makes each stretch report itself, naming its grid.
            G->ColumnSize()->SetStretchColumn(99);
            G->ColumnSize()->SetStretch(true);
        }
        G->SetParent(Form);
        G->SetBounds(0, 0, 400, 200);
        return G;
    }
    void Resize(int W, int H) {
        Log.clear();
        Form->SetBounds(0, 0, W, H);
        QApplication::processEvents();
    }

    TForm* Form = nullptr;
    FormGrid* G1 = nullptr;
    FormGrid* G2 = nullptr;
    std::vector<std::string> Log;
};

TEST_F(OwnerFormResize, LastGridSizesFirstThenTheFormThenTheStretchesInCreationOrder) {
    Form->OnResize = [this](TObject*) { Log.push_back("form"); };
    G1 = MakeGrid("g1", true);
    G2 = MakeGrid("g2", true);
    Form->Show();
    QApplication::processEvents();
    Resize(650, 430);
    EXPECT_EQ(Log,
              (std::vector<std::string>{
                  // each grid's own size step stretches first and reports its error
                  "error g2 Stretch column index out of range", "error g1 Stretch column index out of range", "form",
                  "error g1 Stretch column index out of range", "error g2 Stretch column index out of range"}));
    EXPECT_EQ(G1->Width(), 450);
    EXPECT_EQ(G2->Height(), 230);
}

TEST_F(OwnerFormResize, AFormHandlerSetAfterItsGridsIsChainedWhenTheFormIsLoaded) {
    G1 = MakeGrid("g1");
    Form->OnResize = [this](TObject*) { Log.push_back("form"); }; // as a window's set-up does
    G1->LoadedAgain();
    Form->Show();
    QApplication::processEvents();
    Resize(620, 400);
    EXPECT_EQ(Log, (std::vector<std::string>{"size g1", "form"}));
    EXPECT_EQ(G1->Width(), 420);
}

TEST_F(OwnerFormResize, AnErrorOfTheFormsHandlerIsReportedOnceAndTheStretchStillRuns) {
    Form->OnResize = [](TObject*) { throw Exception("form handler failed"); };
    G1 = MakeGrid("g1");
    G1->SetSizeWithForm(false);
    G1->SetColCount(3);
    G1->SetDefaultColWidth(50);
    G1->ColumnSize()->SetStretchColumn(-1);
    G1->ColumnSize()->SetStretch(true);
    G1->SetColWidths(2, 50);
    Form->Show();
    QApplication::processEvents();
    Resize(640, 420);
    EXPECT_EQ(Log, (std::vector<std::string>{"error form form handler failed"}));
    EXPECT_GT(G1->ColWidths(2), 50);
}

TEST_F(OwnerFormResize, WithTheFormsHandlerAndTheStretchFailingTheFormsErrorComesFirst) {
    // The hook runs the handler it replaced before it fits its stretch column; each error is
    // reported once, where it happens, and neither keeps the other from running.
    Form->OnResize = [](TObject*) { throw Exception("form handler failed"); };
    G1 = MakeGrid("g1", true);
    G1->SetSizeWithForm(false);
    Form->Show();
    QApplication::processEvents();
    Resize(640, 420);
    EXPECT_EQ(
        Log,
        (std::vector<std::string>{"error form form handler failed", "error g1 Stretch column index out of range"}));
}

TEST_F(OwnerFormResize, AGridThatWouldVanishKeepsItsSize) {
    G1 = MakeGrid("g1");
    Form->Show();
    QApplication::processEvents();
    Resize(150, 400); // 400 - 450 would leave no width
    EXPECT_EQ(G1->Width(), 400);
    Resize(650, 400); // measured from the last size the grid followed
    EXPECT_EQ(G1->Width(), 450);
}

} // namespace
