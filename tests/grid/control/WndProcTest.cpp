// The string grid's window procedure: the child editors' notifications sent to the grid (the
// combo editor's choices and typed changes reach OnComboChange here), the edit-done notice, the
// zoom and the version text.
#include "EditFixture.h"
#include "grid/base/ExtStyleIF.h"
#include "grid/control/ExtGrid_Editors.h"

#include <QImage>

#include <functional>
#include <ostream>

namespace {

// The edit fixture with a hidden row as well, the current cell on display (2, 4): real column 3,
// display row 4.
class GridMessages : public EditGrid {
protected:
    void SetUp() override {
        EditGrid::SetUp();
        G->HideRow(6);
        G->MoveCurrentCell(2, 4, true);
        G->ClearComboString();
        for (const char* S : {"Alpha", "Beta", "Gamma"}) G->AddComboString(S);
        G->OnComboChange = [this](TObject* Sender, int ACol, int ARow, int Index, const QString& S) {
            EXPECT_EQ(Sender, G);
            Add("combo", ACol, ARow, std::to_string(Index) + " " + S.toStdString());
        };
        G->OnComboObjectChange = [this](TObject*, int ACol, int ARow, int Index, const QString& S, TObject*) {
            Add("object", ACol, ARow, std::to_string(Index) + " " + S.toStdString());
        };
        // These two pass (row, column).
        G->OnComboDropDown = [this](TObject*, int ARow, int ACol) { Add("dropdown", ARow, ACol); };
        G->OnComboCloseUp = [this](TObject*, int ARow, int ACol) { Add("closeup", ARow, ACol); };
        G->OnEditCellDone = [this](TObject*, int ACol, int ARow) { Add("editcelldone", ACol, ARow); };
    }
    void TearDown() override {
        G->OnComboChange = nullptr;
        G->OnComboObjectChange = nullptr;
        G->OnComboDropDown = nullptr;
        G->OnComboCloseUp = nullptr;
        G->OnEditCellDone = nullptr;
        G->OnGetEditorType = nullptr;
        EditGrid::TearDown();
    }
    void Add(const char* What, int A, int B, const std::string& Rest = std::string()) {
        Log.push_back(std::string(What) + " " + std::to_string(A) + "," + std::to_string(B) +
                      (Rest.empty() ? "" : " " + Rest));
    }
    void Notify(Word Code) { G->Perform(WM_COMMAND, MakeWParam(0, Code), LPARAM(G->EditCombo)); }
    std::vector<std::string> Log;
};

struct CommandCase {
    const char* Name;
    TEditorType Open; // edNone: no editor open
    std::function<void(TGridCombo*)> Prepare;
    std::vector<Word> Codes;
    std::vector<std::string> Log;
};
void PrintTo(const CommandCase& C, std::ostream* Os) { *Os << C.Name; }

class ComboNotifications : public GridMessages, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(ComboNotifications, ReachTheGridsEvents) {
    const CommandCase& C = GetParam();
    if (C.Open != edNone) {
        G->OnGetEditorType = [&](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = C.Open;
        };
        Key(VK_F2);
        ASSERT_TRUE(G->EditorControlOpen());
    }
    C.Prepare(G->EditCombo);
    Log.clear();
    for (Word Code : C.Codes) Notify(Code);
    EXPECT_EQ(Log, C.Log);
    EXPECT_EQ(CellAt(HiddenRealCol, 4), "2,4");
}

INSTANTIATE_TEST_SUITE_P(Cases, ComboNotifications,
                         ::testing::Values(CommandCase{"AChoiceFromTheListReportsItsItemOnce",
                                                       edComboList,
                                                       [](TGridCombo* Cb) { Cb->SetItemIndex(1); },
                                                       {CBN_SELCHANGE},
                                                       {"combo 3,4 1 Beta", "object 3,4 1 Beta"}},
                                           CommandCase{"ATypedChangeReportsTheRealThenTheDisplayColumn",
                                                       edComboEdit,
                                                       [](TGridCombo* Cb) {
                                                           Cb->SetItemIndex(-1);
                                                           Cb->SetText("Be");
                                                       },
                                                       {CBN_EDITCHANGE},
                                                       {"combo 3,4 -1 Be", "object 3,4 -1 Be", "combo 2,4 -1 Be"}},
                                           CommandCase{"WithoutAnOpenEditorAChoiceIsNotReported",
                                                       edNone,
                                                       [](TGridCombo* Cb) { Cb->SetItemIndex(1); },
                                                       {CBN_SELCHANGE},
                                                       {}},
                                           CommandCase{"WithoutAnOpenEditorATypedChangeReportsOnlyTheDisplayColumn",
                                                       edNone,
                                                       [](TGridCombo* Cb) { Cb->SetText("x"); },
                                                       {CBN_EDITCHANGE},
                                                       {"combo 2,4 -1 x"}},
                                           CommandCase{"DropDownAndCloseUpPassRowThenRealColumn",
                                                       edComboList,
                                                       [](TGridCombo*) {},
                                                       {CBN_DROPDOWN, CBN_CLOSEUP},
                                                       {"dropdown 4,3", "closeup 4,3"}}),
                         [](const ::testing::TestParamInfo<CommandCase>& I) { return std::string(I.param.Name); });

TEST_F(GridMessages, TheEditDoneNoticeReportsItsCell) {
    G->Perform(RegisterWindowMessage(QStringLiteral("GridEditDone")), 3, 4);
    EXPECT_EQ(Log, (std::vector<std::string>{"editcelldone 3,4"}));
}

// ---- zoom ------------------------------------------------------------------------------------------------
struct ZoomCase {
    const char* Name;
    std::vector<int> Steps;
    int Factor; // expected
    int WidthChange; // of a column of width above 0
};
void PrintTo(const ZoomCase& C, std::ostream* Os) { *Os << C.Name; }

class Zooming : public GridMessages, public ::testing::WithParamInterface<ZoomCase> {};

TEST_P(Zooming, KeepsTheFactorWithinTenStepsEachWay) {
    const ZoomCase& C = GetParam();
    G->SetColWidths(3, 0);
    const int W = G->ColWidths(1), H = G->RowHeights(1);
    for (int X : C.Steps) G->Zoom(X);
    EXPECT_EQ(G->ZoomFactor(), C.Factor);
    EXPECT_EQ(G->ColWidths(1), W + C.WidthChange);
    EXPECT_EQ(G->RowHeights(1), H + C.WidthChange);
    EXPECT_EQ(G->ColWidths(3), 0) << "a column hidden by width stays hidden";
}

INSTANTIATE_TEST_SUITE_P(Cases, Zooming,
                         ::testing::Values(ZoomCase{"BeyondTenDoesNothing", {11}, 0, 0},
                                           ZoomCase{"ThreeStepsOfThree", {3, 3, 3}, 9, 9},
                                           ZoomCase{"AFourthStepWouldPassTen", {3, 3, 3, 3}, 9, 9},
                                           ZoomCase{"DownAndBackUp", {-4, 2}, -2, -2}),
                         [](const ::testing::TestParamInfo<ZoomCase>& I) { return std::string(I.param.Name); });

TEST_F(GridMessages, TheVersionTextCarriesItsMonth) {
    EXPECT_EQ(TExtStringGrid::GetVersionNr(), 0x06020103);
    EXPECT_EQ(G->GetVersionString(), "6.2.1.3 Sep, 2012");
}

} // namespace

namespace {

// ---- the wheel --------------------------------------------------------------------------------------------
struct WheelCase {
    const char* Name;
    bool EnableWheel;
    bool FixedRowAlways;
    int Rows; // the grid's RowCount (with FixedRowAlways: 1 leaves the fixed row alone)
    bool Ctrl;
    int Delta;
    // expected
    int Row;
    int ZoomFactor;
    int WheelEvents;
};
void PrintTo(const WheelCase& C, std::ostream* Os) { *Os << C.Name; }

class Wheel : public GridMessages, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(Wheel, ThroughTheWindowProcedure) {
    const WheelCase& C = GetParam();
    G->SetEnableWheel(C.EnableWheel);
    G->SetFixedRowAlways(C.FixedRowAlways);
    if (C.Rows == 1) G->SetRowCount(1);
    int Events = 0;
    G->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++Events; };
    G->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool&) { ++Events; };
    const TPoint P = G->ClientToScreen(Point(100, 100));
    G->Perform(WM_MOUSEWHEEL, MakeWParam(C.Ctrl ? MK_CONTROL : 0, C.Delta), MakeLParam(P.X, P.Y));
    G->OnMouseWheelDown = nullptr;
    G->OnMouseWheelUp = nullptr;
    EXPECT_EQ(G->Row(), C.Row);
    EXPECT_EQ(G->ZoomFactor(), C.ZoomFactor);
    EXPECT_EQ(Events, C.WheelEvents);
}

INSTANTIATE_TEST_SUITE_P(Cases, Wheel,
                         ::testing::Values(WheelCase{"WheelOffIsSwallowed", false, false, 8, false, -120, 4, 0, 0},
                                           WheelCase{"FixedRowAlwaysWithOnlyTheFixedRowIsSwallowed", true, true, 1,
                                                     false, -120, 0, 0, 0},
                                           WheelCase{"CtrlTowardsTheUserZoomsIn", true, false, 8, true, -120, 4, 3, 0},
                                           WheelCase{"CtrlAwayZoomsOut", true, false, 8, true, 120, 4, -3, 0}),
                         [](const ::testing::TestParamInfo<WheelCase>& I) { return std::string(I.param.Name); });

} // namespace

namespace {

TEST_F(GridMessages, WithDirectComboCloseClosingTheListCommitsTheChosenItem) {
    G->MouseActions()->SetDirectComboClose(true);
    G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
        if (ACol == 3) E = edComboList;
    };
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    G->EditCombo->SetItemIndex(2);
    Log.clear();
    Notify(CBN_CLOSEUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"combo 3,4 2 Gamma", "object 3,4 2 Gamma", "closeup 4,3"}));
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 4), "Gamma");
    EXPECT_EQ(CellAt(HiddenRealCol, 4), "2,4");
    EXPECT_FALSE(G->MouseActions()->DirectEdit());
    // A list closed outside an edit writes nothing.
    Log.clear();
    G->EditCombo->SetItemIndex(0);
    Notify(CBN_CLOSEUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"closeup 4,3"}));
    EXPECT_EQ(CellAt(3, 4), "Gamma");
}

} // namespace

// ---- wheel steps --------------------------------------------------------------------------------------------
namespace {

struct WheelStepCase {
    const char* Name;
    TWheelAction Action;
    int Increment; // MouseActions.WheelIncrement (0: the system's wheel lines, 3 here)
    int Delta; // negative: towards the user
    int StartTop;
    int Row, TopRow; // expected (TopRow -1: wherever the row's move takes it); the row starts at 4
    std::vector<std::string> Log;
};
void PrintTo(const WheelStepCase& C, std::ostream* Os) { *Os << C.Name; }

class WheelSteps : public GridMessages, public ::testing::WithParamInterface<WheelStepCase> {};

TEST_P(WheelSteps, MoveTheRowOrTheViewAsWheelActionSays) {
    const WheelStepCase& C = GetParam();
    QApplication::setWheelScrollLines(3);
    G->Perform(WM_SIZE, 0, 0); // takes the wheel lines again
    G->SetHeight(80); // a few rows in view, so the view can move
    ASSERT_LT(G->VisibleRowCount(), 4);
    G->MouseActions()->SetWheelAction(C.Action);
    G->MouseActions()->SetWheelIncrement(C.Increment);
    G->SetTopRow(C.StartTop);
    ASSERT_EQ(G->Row(), 4);
    G->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { Log.push_back("wheeldown"); };
    G->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool&) { Log.push_back("wheelup"); };
    G->OnSelectionChanged = [&](TObject*, int L, int T, int, int) {
        Log.push_back("selection " + std::to_string(L) + "," + std::to_string(T));
    };
    Log.clear();
    const TPoint P = G->ClientToScreen(Point(100, 30));
    const LRESULT R = G->Perform(WM_MOUSEWHEEL, MakeWParam(0, C.Delta), MakeLParam(P.X, P.Y));
    G->OnMouseWheelDown = nullptr;
    G->OnMouseWheelUp = nullptr;
    G->OnSelectionChanged = nullptr;
    EXPECT_EQ(R, 1);
    EXPECT_EQ(G->Row(), C.Row);
    if (C.TopRow >= 0) {
        EXPECT_EQ(G->TopRow(), C.TopRow);
    }
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(Log, C.Log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WheelSteps,
    ::testing::Values(
        // the configurator's tables keep the defaults: three rows a notch, no wheel events
        WheelStepCase{"DefaultAwayMovesTheRowByTheWheelLines", waMoveSelection, 0, 120, 1, 1, 1, {"selection 2,1"}},
        WheelStepCase{"DefaultTowardsStopsAtTheLastRow", waMoveSelection, 0, -120, 1, 6, -1, {"selection 2,6"}},
        WheelStepCase{"AnIncrementMovesThatManyRowsAndFiresTheEvent",
                      waMoveSelection,
                      1,
                      -120,
                      1,
                      5,
                      -1,
                      {"wheeldown", "selection 2,5"}},
        WheelStepCase{
            "AwayNeverPassesTheFirstNormalRow", waMoveSelection, 9, 120, 1, 1, 1, {"wheelup", "selection 2,1"}},
        WheelStepCase{"ScrollMovesTheViewAndKeepsTheRow", waScroll, 2, -120, 1, 4, 3, {"wheeldown"}},
        WheelStepCase{"ScrollAwayIsCutAtTheFirstNormalRow", waScroll, 5, 120, 3, 4, 1, {"wheelup"}}),
    [](const ::testing::TestParamInfo<WheelStepCase>& I) { return std::string(I.param.Name); });

// ---- the wheel with the search panel shown -------------------------------------------------------------------
// The panel covers the grid's bottom rows: a wheel step that reaches the last page goes on until
// the last row shows above it; one that stays short of it moves the view by its step only.
struct PanelWheelCase {
    const char* Name;
    TWheelAction Action;
    int Notches; // towards the user, three rows each
    bool LastRowShown;
    int TopRow; // expected when the last row is not reached; -1 otherwise
};
void PrintTo(const PanelWheelCase& C, std::ostream* Os) { *Os << C.Name; }

class WheelWithSearchPanel : public GridMessages, public ::testing::WithParamInterface<PanelWheelCase> {};

TEST_P(WheelWithSearchPanel, KeepsTheLastRowAboveThePanel) {
    const PanelWheelCase& C = GetParam();
    G->SetRowCount(20);
    G->SetHeight(150);
    G->SearchFooter()->SetVisible(true);
    ASSERT_NE(G->SearchPanel(), nullptr);
    const int PanelTop = G->ClientHeight() - G->SearchPanel()->Height();
    ASSERT_LT(PanelTop, G->ClientHeight());
    G->MouseActions()->SetWheelAction(C.Action);
    G->MouseActions()->SetWheelIncrement(3);
    G->SetTopRow(1);
    const TPoint P = G->ClientToScreen(Point(100, 30));
    for (int i = 0; i < C.Notches; ++i) G->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), MakeLParam(P.X, P.Y));
    const TRect Last = G->CellRect(2, G->RowCount() - 1);
    if (C.LastRowShown) {
        ASSERT_FALSE(Last.IsEmpty());
        EXPECT_LE(Last.Bottom, PanelTop) << "the last row ends above the panel";
        // One notch back shows the rows above again.
        const int Top = G->TopRow();
        G->Perform(WM_MOUSEWHEEL, MakeWParam(0, 120), MakeLParam(P.X, P.Y));
        if (C.Action == waScroll) EXPECT_LT(G->TopRow(), Top);
    } else {
        EXPECT_EQ(G->TopRow(), C.TopRow);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WheelWithSearchPanel,
                         ::testing::Values(PanelWheelCase{"ScrollingToTheEnd", waScroll, 10, true, -1},
                                           PanelWheelCase{"MovingTheRowToTheEnd", waMoveSelection, 10, true, -1},
                                           PanelWheelCase{"OneScrollStepShortOfTheEndMovesByTheStep", waScroll, 1,
                                                          false, 4}),
                         [](const ::testing::TestParamInfo<PanelWheelCase>& I) { return std::string(I.param.Name); });

// ---- wheel panning ------------------------------------------------------------------------------------------
// A grid whose mouse position the test sets.
class PanGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    TPoint MouseAt{0, 0};

protected:
    TPoint PanMousePos() override { return MouseAt; }
};

class Panning : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 200);
        G = Create<PanGrid>(Form, Form);
        G->SetBounds(0, 0, 300, 120);
        G->SetColCount(12);
        G->SetRowCount(30);
        G->SetDefaultColWidth(60);
        G->HideColumn(2);
        G->HideRow(6);
        Form->Show();
        QApplication::processEvents();
        G->MoveColRow(4, 10, true, true);
        G->SetTopRow(8);
        G->SetLeftCol(3);
        G->SetShowHint(true);
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }
    void Middle(TPoint P) { G->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MakeLParam(P.X, P.Y)); }
    void Tick() { G->Perform(WM_TIMER, TExtStringGrid::PanTimerID, 0); }

    TForm* Form = nullptr;
    PanGrid* G = nullptr;
};

struct PanCase {
    const char* Name;
    TIntelliPan Pan;
    TWheelAction Action;
    int DX, DY; // mouse from the pan origin
    TCursor Cursor;
    int Col, Row, LeftCol, TopRow; // after one tick; started at (4, 10), left 3, top 8
};
void PrintTo(const PanCase& C, std::ostream* Os) { *Os << C.Name; }

class PanTicks : public Panning, public ::testing::WithParamInterface<PanCase> {};

TEST_P(PanTicks, FollowTheMouseFromTheOrigin) {
    const PanCase& C = GetParam();
    G->SetIntelliPan(C.Pan);
    G->MouseActions()->SetWheelAction(C.Action);
    const TPoint O{100, 50};
    Middle(O);
    ASSERT_TRUE(G->WheelPanning());
    G->MouseAt = TPoint{O.X + C.DX, O.Y + C.DY};
    Tick();
    EXPECT_EQ(G->ShownCursor(), C.Cursor);
    EXPECT_EQ(G->Col(), C.Col);
    EXPECT_EQ(G->Row(), C.Row);
    EXPECT_EQ(G->LeftCol(), C.LeftCol);
    EXPECT_EQ(G->TopRow(), C.TopRow);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanTicks,
    ::testing::Values(
        PanCase{"BelowMovesTheRowDown", ipVertical, waMoveSelection, 0, 20, TExtStringGrid::crPanDown, 4, 11, 3, 9},
        PanCase{"VerticalIgnoresSideways", ipVertical, waMoveSelection, 30, 0, TExtStringGrid::crPan, 4, 10, 3, 8},
        PanCase{"FivePixelsAreStill", ipBoth, waMoveSelection, 5, -5, TExtStringGrid::crPan, 4, 10, 3, 8},
        PanCase{"BothGoesUpAndRight", ipBoth, waMoveSelection, 20, -20, TExtStringGrid::crPanUpRight, 5, 9, 3, 8},
        PanCase{"ScrollMovesTheViewLeft", ipHorizontal, waScroll, -20, 20, TExtStringGrid::crPanLeft, 4, 10, 2, 8},
        PanCase{"ScrollMovesTheViewUpLeft", ipBoth, waScroll, -20, -20, TExtStringGrid::crPanUpLeft, 4, 10, 2, 7}),
    [](const ::testing::TestParamInfo<PanCase>& I) { return std::string(I.param.Name); });

TEST_F(Panning, AButtonEndsItAndGivesBackCursorAndHints) {
    G->SetCursor(crIBeam);
    Middle(TPoint{100, 50});
    ASSERT_TRUE(G->WheelPanning());
    EXPECT_EQ(G->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_FALSE(G->ShowHint());
    EXPECT_EQ(G->WheelPanOrigin(), (TPoint{100, 50}));
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(100, 50));
    G->Perform(WM_LBUTTONUP, 0, MakeLParam(100, 50));
    EXPECT_FALSE(G->WheelPanning());
    EXPECT_EQ(G->cursor().shape(), Qt::IBeamCursor);
    EXPECT_TRUE(G->ShowHint());
    // A late tick of the stopped timer moves nothing.
    G->MouseAt = TPoint{100, 90};
    const int After = G->Row();
    Tick();
    EXPECT_EQ(G->Row(), After);
}

TEST_F(Panning, IsOffWithIntelliPanNone) {
    G->SetIntelliPan(ipNone);
    Middle(TPoint{100, 50});
    EXPECT_FALSE(G->WheelPanning());
}

TEST_F(Panning, TheOriginGlyphIsPainted) {
    G->SetIntelliPan(ipBoth);
    const QImage Before = G->grab(QRect(100, 50, 32, 32)).toImage();
    Middle(TPoint{100, 50});
    const QImage During = G->grab(QRect(100, 50, 32, 32)).toImage();
    EXPECT_NE(Before, During);
    G->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MakeLParam(10, 10));
    EXPECT_FALSE(G->WheelPanning());
    EXPECT_EQ(G->grab(QRect(100, 50, 32, 32)).toImage(), Before);
}

// ---- the theme message --------------------------------------------------------------------------------------
TEST_F(GridMessages, TheThemeMessagesFollowTheOfficeThemeOnlyWithAutoThemeAdapt) {
    ASSERT_NE(GetOfficeTheme(), ot2003Olive);
    for (Cardinal Msg : {Cardinal(WM_THEMECHANGED), Cardinal(WM_OFFICETHEMECHANGED)}) {
        G->SetOldOfficeTheme(ot2003Olive);
        G->Perform(Msg, 0, 0);
        EXPECT_EQ(G->OldOfficeTheme(), ot2003Olive) << "without AutoThemeAdapt";
        G->SetAutoThemeAdapt(true);
        G->SetOldOfficeTheme(ot2003Olive);
        G->Perform(Msg, 0, 0);
        EXPECT_EQ(G->OldOfficeTheme(), GetOfficeTheme());
        G->SetAutoThemeAdapt(false);
    }
}

// ---- an edit link's combo box -------------------------------------------------------------------------------
class ComboLink : public TEditLink {
public:
    explicit ComboLink(TComponent* AOwner, TComboBox* C) : TEditLink(AOwner), Combo(C) {}
    TWinControl* GetEditControl() override { return Combo; }
    TComboBox* Combo;
};

TEST_F(GridMessages, AnEditLinksComboReportsItsChoiceForTheDisplayColumn) {
    auto* Combo = Create<TComboBox>(Form, Form);
    for (const char* S : {"One", "Two"}) Combo->Items()->Add(S);
    ComboLink Link(nullptr, Combo);
    G->SetEditLink(&Link);
    Combo->SetItemIndex(1);
    G->Perform(WM_COMMAND, MakeWParam(0, CBN_SELCHANGE), LPARAM(static_cast<TControl*>(Combo)));
    Combo->SetItemIndex(-1);
    G->Perform(WM_COMMAND, MakeWParam(0, CBN_SELCHANGE), LPARAM(static_cast<TControl*>(Combo)));
    G->SetEditLink(nullptr);
    // (display column 2, row 4); a choice without an item has no text.
    EXPECT_EQ(Log, (std::vector<std::string>{"combo 2,4 1 Two", "combo 2,4 -1 "}));
}

} // namespace

// ---- the view moves ------------------------------------------------------------------------------------------
namespace {

class ViewMoves : public GridMessages {
protected:
    void SetUp() override {
        GridMessages::SetUp();
        G->SetHeight(100); // about three rows in view
        ASSERT_LT(G->VisibleRowCount(), 4);
        G->SetTopRow(1);
    }
};

TEST_F(ViewMoves, CellControlsFollowTheirCellsAndHideOutOfView) {
    auto* InCell = Create<TEdit>(Form, Form);
    auto* HiddenByColumn = Create<TEdit>(Form, Form);
    G->SetCellControl(3, 2, InCell); // display column 2
    G->SetCellControl(4, 3, HiddenByColumn); // display column 3
    G->HideColumn(4);
    G->CellControlsUpdate(false);
    auto Expected = [&] {
        const TRect R = G->CellRect(2, 2);
        return TRect{R.Left - 1, R.Top - 1, R.Right, R.Bottom};
    };
    EXPECT_TRUE(InCell->Visible());
    EXPECT_EQ(InCell->BoundsRect(), Expected());
    EXPECT_FALSE(HiddenByColumn->Visible());
    G->SetTopRow(4); // row 2 leaves the view
    EXPECT_FALSE(InCell->Visible());
    G->SetTopRow(2); // back, now at the top of the view
    EXPECT_TRUE(InCell->Visible());
    EXPECT_EQ(InCell->BoundsRect(), Expected());
    G->UnHideColumn(4);
    G->CellControlsUpdate(true); // gathered again from the cells
    EXPECT_EQ(G->CellControls()->Count(), 2);
    EXPECT_TRUE(HiddenByColumn->Visible());
}

TEST_F(ViewMoves, AScrollEndsAComboEditKeepingItsValueButNotTheTextEditor) {
    G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
        if (ACol == 3) E = edComboList;
    };
    G->SetTopRow(3);
    G->MoveCurrentCell(2, 3, true);
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    G->EditCombo->SetItemIndex(1);
    G->SetTopRow(2);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "Beta");
    G->MoveCurrentCell(1, 3, true);
    OpenWithF2();
    G->SetTopRow(3);
    EXPECT_TRUE(TextEditorOpen());
}

TEST_F(ViewMoves, ASynchronisedGridFollowsTheViewAsItsOptionsSay) {
    auto* Other = Create<TExtStringGrid>(Form, Form);
    Other->SetBounds(0, 100, 460, 100);
    Other->SetColCount(20);
    Other->SetRowCount(20);
    G->SyncGrid()->SetGrid(Other);
    G->SetTopRow(3);
    EXPECT_EQ(Other->TopRow(), 3);
    G->SyncGrid()->SetScrollVertical(false);
    G->SetTopRow(2);
    EXPECT_EQ(Other->TopRow(), 3);
    G->SyncGrid()->SetGrid(nullptr);
}

} // namespace
