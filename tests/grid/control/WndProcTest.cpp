// The string grid's window procedure: the child editors' notifications sent to the grid (the
// combo editor's choices and typed changes reach OnComboChange here), the edit-done notice, the
// zoom and the version text.
#include "EditFixture.h"
#include "grid/control/ExtGrid_Editors.h"

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
