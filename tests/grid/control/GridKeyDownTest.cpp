// The grid under the keyboard, driven through its own window procedure with synthetic key-down,
// character and key-up messages: navigation, typing into a cell, Space on check boxes, Enter and
// the form's OnKeyPress, Ctrl+A, Tab, and the branches the navigation options switch on.
#include "grid/control/ExtCGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::string S(int V) { return std::to_string(V); }

// A column grid set up as the configurator's tables set theirs: a fixed row-number column and
// a header row, goEditing off (the selection switches it on per cell), goRangeSelect on. Six
// real columns with real column 2 hidden, so display column 2 shows real column 3; real column 4
// (display 3) is a data check-box column, real column 5 (display 4) a read-only one. Eight rows.
class KeyInput : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 560, 320);
        G = Create<TExtColumnGrid>(Form, Form);
        G->SetBounds(0, 0, 520, 240);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(80);
        G->SetDefaultRowHeight(21);
        G->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goColSizing});
        for (int c = 1; c < 6; ++c)
            for (int r = 1; r < 8; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        G->Columns()->Items(4)->SetEditor(edDataCheckBox);
        G->Columns()->Items(5)->SetEditor(edDataCheckBox);
        G->Columns()->Items(5)->SetReadOnly(true);
        for (int r = 1; r < 8; ++r) {
            G->SetGridCell(4, r, "N");
            G->SetGridCell(5, r, "N");
        }
        G->HideColumn(2);
        Other = Create<TEdit>(Form, Form);
        Other->SetBounds(0, 260, 100, 24);
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
    }

    void Watch() {
        G->OnKeyDown = [this](TObject* Sd, Word& K, TShiftState) { Add(Sd, "KeyDown " + S(K)); };
        G->OnKeyPress = [this](TObject* Sd, QChar& K) {
            Add(Sd, "KeyPress " + S(K.unicode()));
            if (ClearKeys) K = QChar();
            if (MoveOnEnter && K.unicode() == 13) {
                // What the rule-table forms do: on to the next cell, the key used up.
                G->SetCol(G->Col() + 1);
                K = QChar();
            }
        };
        G->OnCheckBoxClick = [this](TObject* Sd, int C, int R, bool St) {
            Add(Sd, "CheckBoxClick " + S(C) + "," + S(R) + "," + S(St));
        };
        G->OnSelectionChanged = [this](TObject* Sd, int L, int T, int R, int B) {
            Add(Sd, "SelectionChanged " + S(L) + "," + S(T) + "," + S(R) + "," + S(B));
        };
        G->OnAutoAddRow = [this](TObject* Sd, int R) { Add(Sd, "AutoAddRow " + S(R)); };
        G->OnAutoInsertRow = [this](TObject* Sd, int R) { Add(Sd, "AutoInsertRow " + S(R)); };
        G->OnAutoDeleteRow = [this](TObject* Sd, int R) { Add(Sd, "AutoDeleteRow " + S(R)); };
        G->OnClipboardCopy = [this](TObject* Sd, bool&) { Add(Sd, "ClipboardCopy"); };
    }
    void Add(TObject* Sender, const std::string& Line) {
        Log.push_back(Line);
        if (Sender != G) Log.push_back("(sender is not the grid)");
    }

    bool EditorShown() const { return G->TextEditor() && G->TextEditor()->isVisible(); }
    // The control that has the keyboard: the open text editor, else the grid.
    TControl* Target() const { return EditorShown() ? static_cast<TControl*>(G->TextEditor()) : G; }
    // One key as the platform delivers it to the control's window procedure: key down, the
    // character it makes, key up.
    void Press(Word VK, TShiftState Shift = {}, ushort Ch = 0) { Target()->SimulateKey(VK, Shift, QChar(Ch)); }
    void Type(char Ch) {
        const Word VK = Ch >= 'a' && Ch <= 'z' ? Word(Ch - 'a' + 'A') : Word(Ch);
        Press(VK, {}, ushort(Ch));
    }

public:
    TForm* Form = nullptr;
    TExtColumnGrid* G = nullptr;
    TEdit* Other = nullptr;
    std::vector<std::string> Log;
    bool ClearKeys = false;
    bool MoveOnEnter = false;
};

// ---- a table of (options, starting cell, keys) -> (events, current cell, selection, texts, editor) ----
struct KeyStroke {
    Word VK;
    TShiftState Shift;
    ushort Ch;
};

struct KeyCase {
    const char* Name;
    std::function<void(KeyInput&)> Setup; // may be empty
    TPoint Start; // display cell made current first
    std::vector<KeyStroke> Strokes;
    std::vector<std::string> Events;
    TPoint Final; // Col, Row
    TGridRect Sel; // Left -1: not checked
    QString Text; // text of real column 4, row 2 ("" : not checked)
    bool Editor;
    QString EditorText; // checked when the editor shows
};

const KeyStroke Enter{VK_RETURN, {}, 13};
const KeyStroke Space{VK_SPACE, {}, ' '};
const TGridRect AnySel{-1, -1, -1, -1};

const std::vector<KeyCase>& KeyCases() {
    static const std::vector<KeyCase> Cases = {
        // The configurator's tables.
        {"DownMovesOneRow",
         {},
         {1, 1},
         {{VK_DOWN, {}, 0}},
         {"KeyDown 40", "SelectionChanged 1,2,1,2"},
         {1, 2},
         {1, 2, 1, 2},
         "",
         false,
         ""},
        {"RightStepsOverTheHiddenColumn",
         {},
         {1, 1},
         {{VK_RIGHT, {}, 0}, {VK_RIGHT, {}, 0}},
         {"KeyDown 39", "SelectionChanged 2,1,2,1", "KeyDown 39", "SelectionChanged 3,1,3,1"},
         {3, 1},
         {3, 1, 3, 1},
         "",
         false,
         ""},
        {"PageDownGoesToTheLastRowThatFits",
         {},
         {1, 1},
         {{VK_NEXT, {}, 0}},
         {"KeyDown 34", "SelectionChanged 1,7,1,7"},
         {1, 7},
         AnySel,
         "",
         false,
         ""},
        {"PageUpComesBack",
         {},
         {1, 6},
         {{VK_PRIOR, {}, 0}},
         {"KeyDown 33", "SelectionChanged 1,1,1,1"},
         {1, 1},
         AnySel,
         "",
         false,
         ""},
        {"CtrlEndGoesToTheLastCell",
         {},
         {1, 1},
         {{VK_END, {ssCtrl}, 0}},
         {"KeyDown 35", "SelectionChanged 4,7,4,7"},
         {4, 7},
         AnySel,
         "",
         false,
         ""},
        {"CtrlHomeGoesToTheFirstCell",
         {},
         {3, 5},
         {{VK_HOME, {ssCtrl}, 0}},
         {"KeyDown 36"},
         {1, 1},
         AnySel,
         "",
         false,
         ""},
        {"HomeGoesToTheFirstSelectableColumn",
         {},
         {3, 5},
         {{VK_HOME, {}, 0}},
         {"KeyDown 36"},
         {1, 5},
         AnySel,
         "",
         false,
         ""},
        {"EndGoesToTheLastColumn", {}, {1, 5}, {{VK_END, {}, 0}}, {"KeyDown 35"}, {4, 5}, AnySel, "", false, ""},
        {"TypingOpensTheEditorWithTheCharacter",
         {},
         {2, 3},
         {{'X', {}, 'x'}},
         {"KeyDown 88", "KeyPress 120"},
         {2, 3},
         AnySel,
         "",
         true,
         "x"},
        // The handler keeps the character out of the cell; the editor opens all the same.
        {"TypedCharacterClearedByTheHandlerOpensTheEditorUntyped",
         [](KeyInput& K) { K.ClearKeys = true; },
         {2, 3},
         {{'X', {}, 'x'}},
         {"KeyDown 88", "KeyPress 120"},
         {2, 3},
         AnySel,
         "",
         true,
         "3,3"},
        // Editing without goEditing: the handler sees a copy, and the cell opens with the key typed.
        {"RangeSelectAndEditTypesTheKeyWhateverTheHandlerDoes",
         [](KeyInput& K) {
             K.ClearKeys = true;
             K.G->MouseActions()->SetRangeSelectAndEdit(true);
         },
         {2, 3},
         {{'X', {}, 'x'}},
         {"KeyDown 88", "KeyPress 120"},
         {2, 3},
         AnySel,
         "",
         true,
         "x"},
        {"SpaceTogglesADataCheckBoxToY",
         {},
         {3, 2},
         {Space},
         {"CheckBoxClick 3,2,1", "KeyDown 32", "KeyPress 32"},
         {3, 2},
         AnySel,
         "Y",
         false,
         ""},
        {"SecondSpaceTogglesBackToN",
         {},
         {3, 2},
         {Space, Space},
         {"CheckBoxClick 3,2,1", "KeyDown 32", "KeyPress 32", "CheckBoxClick 3,2,0", "KeyDown 32", "KeyPress 32"},
         {3, 2},
         AnySel,
         "N",
         false,
         ""},
        {"EnterReachesOnKeyPressAndTheFormMovesOn",
         [](KeyInput& K) { K.MoveOnEnter = true; },
         {1, 3},
         {Enter},
         {"KeyDown 13", "KeyPress 13"},
         {2, 3},
         AnySel,
         "",
         false,
         ""},
        {"EnterLeftInPlaceOpensTheEditor",
         {},
         {2, 3},
         {Enter},
         {"KeyDown 13", "KeyPress 13"},
         {2, 3},
         AnySel,
         "",
         true,
         "3,3"},
        {"EnterOnACheckBoxCellOpensNothing",
         {},
         {3, 2},
         {Enter},
         {"KeyDown 13", "KeyPress 13"},
         {3, 2},
         AnySel,
         "N",
         false,
         ""},
        {"CtrlASelectsAllNormalCells",
         {},
         {2, 3},
         {{'A', {ssCtrl}, 1}},
         {"KeyDown 65", "KeyPress 1"},
         {4, 7},
         {1, 1, 4, 7},
         "",
         false,
         ""},
        // Options no window sets.
        {"SpaceOnAReadOnlyCheckBoxDoesNothing",
         {},
         {4, 2},
         {Space},
         {"KeyDown 32", "KeyPress 32"},
         {4, 2},
         AnySel,
         "",
         false,
         ""},
        {"CheckAlwaysActiveTogglesAReadOnlyCheckBox",
         [](KeyInput& K) { K.G->ControlLook()->SetCheckAlwaysActive(true); },
         {4, 2},
         {Space},
         {"CheckBoxClick 4,2,1", "KeyDown 32", "KeyPress 32"},
         {4, 2},
         AnySel,
         "",
         false,
         ""},
        {"HomeEndFirstLastCell",
         [](KeyInput& K) { K.G->Navigation()->SetHomeEndKey(heFirstLastCell); },
         {2, 4},
         {{VK_END, {}, 0}},
         {"KeyDown 35"},
         {4, 7},
         AnySel,
         "",
         false,
         ""},
        {"HomeEndFirstLastRow",
         [](KeyInput& K) { K.G->Navigation()->SetHomeEndKey(heFirstLastRow); },
         {2, 4},
         {{VK_HOME, {}, 0}},
         {"KeyDown 36"},
         {2, 1},
         AnySel,
         "",
         false,
         ""},
        {"CursorLoopWrapsRightToTheFirstColumn",
         [](KeyInput& K) { K.G->Navigation()->SetCursorAdvance(caLoop); },
         {4, 3},
         {{VK_RIGHT, {}, 0}},
         {"KeyDown 39", "SelectionChanged 1,3,1,3"},
         {1, 3},
         AnySel,
         "",
         false,
         ""},
        {"CursorSnakeWrapsRightToTheNextRow",
         [](KeyInput& K) { K.G->Navigation()->SetCursorAdvance(caSnake); },
         {4, 3},
         {{VK_RIGHT, {}, 0}},
         {"KeyDown 39", "SelectionChanged 1,4,1,4"},
         {1, 4},
         AnySel,
         "",
         false,
         ""},
        {"CursorLoopWrapsUpToTheLastRow",
         [](KeyInput& K) { K.G->Navigation()->SetCursorAdvance(caLoop); },
         {2, 1},
         {{VK_UP, {}, 0}},
         {"KeyDown 38", "SelectionChanged 2,7,2,7"},
         {2, 7},
         AnySel,
         "",
         false,
         ""},
        {"AppendOnArrowDownAddsARowAtTheEnd",
         [](KeyInput& K) { K.G->Navigation()->SetAppendOnArrowDown(true); },
         {2, 7},
         {{VK_DOWN, {}, 0}},
         {"AutoAddRow 8", "KeyDown 40", "SelectionChanged 2,8,2,8"},
         {2, 8},
         AnySel,
         "",
         false,
         ""},
        {"SkipFixedCellsJumpsOverAFixedColumn",
         [](KeyInput& K) {
             K.G->OnIsFixedCell = [](TObject*, int, int ACol, bool& IsFixed) { IsFixed = IsFixed || ACol == 2; };
         },
         {1, 3},
         {{VK_RIGHT, {}, 0}},
         {"KeyDown 39", "SelectionChanged 3,3,3,3"},
         {3, 3},
         AnySel,
         "",
         false,
         ""},
        {"TabsMoveToTheNextSelectableCell",
         [](KeyInput& K) { K.G->SetOptions(K.G->Options() << goTabs); },
         {1, 3},
         {{VK_TAB, {}, 0}},
         {"KeyDown 9", "SelectionChanged 2,3,2,3", "KeyPress 9"},
         {2, 3},
         AnySel,
         "",
         true,
         "3,3"},
        {"TabsWrapToTheNextRow",
         [](KeyInput& K) { K.G->SetOptions(K.G->Options() << goTabs); },
         {4, 3},
         {{VK_TAB, {}, 0}},
         {"KeyDown 9", "SelectionChanged 1,4,1,4", "KeyPress 9"},
         {1, 4},
         AnySel,
         "",
         true,
         "1,4"},
        {"ShiftTabGoesBack",
         [](KeyInput& K) { K.G->SetOptions(K.G->Options() << goTabs); },
         {2, 3},
         {{VK_TAB, {ssShift}, 0}},
         {"KeyDown 9", "SelectionChanged 1,3,1,3", "KeyPress 9"},
         {1, 3},
         AnySel,
         "",
         true,
         "1,3"},
        {"RangeSelectAndEditF2OpensTheEditor",
         [](KeyInput& K) {
             K.G->MouseActions()->SetRangeSelectAndEdit(true);
             K.G->SetOptions(K.G->Options() >> goEditing);
         },
         {2, 3},
         {{VK_F2, {}, 0}},
         {"KeyDown 113"},
         {2, 3},
         AnySel,
         "",
         true,
         "3,3"},
        {"MoveScrollOnlyMovesTheViewNotTheCell",
         [](KeyInput& K) {
             K.G->Navigation()->SetMoveScrollOnly(true);
             K.G->SetRowCount(40);
         },
         {2, 3},
         {{VK_NEXT, {}, 0}},
         {},
         {2, 3},
         AnySel,
         "",
         false,
         ""},
        {"CursorMoveRowsCtrlDownMovesTheRow",
         [](KeyInput& K) { K.G->Navigation()->SetCursorMoveRows(true); },
         {3, 1},
         {{VK_DOWN, {ssCtrl}, 0}},
         {"KeyDown 40", "SelectionChanged 3,2,3,2"},
         {3, 2},
         AnySel,
         "",
         false,
         ""},
        {"ClipboardShortCutAsksItsEvent",
         [](KeyInput& K) { K.G->Navigation()->SetAllowClipboardShortCuts(true); },
         {2, 3},
         {{'C', {ssCtrl}, 3}},
         {"KeyDown 67", "ClipboardCopy"},
         {2, 3},
         AnySel,
         "",
         false,
         ""},
        {"InsertKeyInsertsARowBeforeTheCurrent",
         [](KeyInput& K) { K.G->Navigation()->SetAllowInsertRow(true); },
         {2, 3},
         {{VK_INSERT, {}, 0}},
         {"KeyDown 45", "AutoInsertRow 3"},
         {2, 3},
         AnySel,
         "",
         false,
         ""},
        {"DeleteKeyRemovesTheCurrentRow",
         [](KeyInput& K) { K.G->Navigation()->SetAllowDeleteRow(true); },
         {2, 3},
         {{VK_DELETE, {}, 0}},
         {"KeyDown 46", "AutoDeleteRow 3"},
         {2, 3},
         AnySel,
         "",
         false,
         ""},
    };
    return Cases;
}

void PrintTo(const KeyCase& C, std::ostream* Os) { *Os << C.Name; }

class KeyTable : public KeyInput, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, Table) {
    const KeyCase& C = GetParam();
    if (C.Setup) C.Setup(*this);
    G->MoveColRow(C.Start.X, C.Start.Y, true, true);
    Log.clear();
    for (const KeyStroke& K : C.Strokes) Press(K.VK, K.Shift, K.Ch);
    EXPECT_EQ(Log, C.Events);
    EXPECT_EQ(G->Col(), C.Final.X);
    EXPECT_EQ(G->Row(), C.Final.Y);
    if (C.Sel.Left >= 0) EXPECT_EQ(G->Selection(), C.Sel);
    if (!C.Text.isEmpty()) EXPECT_EQ(G->GetGridCell(4, 2), C.Text);
    EXPECT_EQ(EditorShown(), C.Editor);
    if (C.Editor && EditorShown()) EXPECT_EQ(G->TextEditor()->Text(), C.EditorText);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyTable, ::testing::ValuesIn(KeyCases()),
                         [](const ::testing::TestParamInfo<KeyCase>& I) { return std::string(I.param.Name); });

// ---- behaviours that need more than one table row ----

TEST_F(KeyInput, TypedTextAndEnterStoreTheValueWithEachKeyReportedOnce) {
    G->MoveColRow(2, 3, true, true);
    Log.clear();
    Type('a');
    Type('b');
    Press(VK_RETURN, {}, 13);
    EXPECT_EQ(G->GetGridCell(3, 3), "ab");
    EXPECT_FALSE(EditorShown());
    std::vector<std::string> Presses;
    for (const auto& L : Log)
        if (L.rfind("KeyPress", 0) == 0) Presses.push_back(L);
    EXPECT_EQ(Presses, (std::vector<std::string>{"KeyPress 97", "KeyPress 98", "KeyPress 13"}));
}

TEST_F(KeyInput, EnterInTheEditorWithTheFormMovingOnStoresAndClosesIt) {
    MoveOnEnter = true;
    G->MoveColRow(2, 3, true, true);
    Type('z');
    ASSERT_TRUE(EditorShown());
    Press(VK_RETURN, {}, 13);
    EXPECT_EQ(G->GetGridCell(3, 3), "z");
    EXPECT_EQ(G->Col(), 3);
    EXPECT_FALSE(EditorShown());
}

TEST_F(KeyInput, TabLeavesTheGridForTheNextControl) {
    EXPECT_EQ(G->Perform(WM_GETDLGCODE, VK_TAB, 0) & DLGC_WANTTAB, 0);
    G->SimulateKey(VK_TAB);
    QApplication::processEvents();
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(KeyInput, CheckBoxClickReportsTheSameColumnFromTheKeyboardAsFromTheMouse) {
    // Display column 3 shows real column 4: both ways report the display column.
    const TRect R = G->CellRect(3, 4);
    const LPARAM P = MakeLParam((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, P);
    G->Perform(WM_LBUTTONUP, 0, P);
    Press(VK_SPACE, {}, ' ');
    std::vector<std::string> Clicks;
    for (const auto& L : Log)
        if (L.rfind("CheckBoxClick", 0) == 0) Clicks.push_back(L);
    EXPECT_EQ(Clicks, (std::vector<std::string>{"CheckBoxClick 3,4,1", "CheckBoxClick 3,4,0"}));
}

TEST_F(KeyInput, KeypadDecimalKeyTypesTheLocaleSeparator) {
    G->SetExcelStyleDecimalSeparator(true);
    const QChar Saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ',';
    G->MoveColRow(2, 3, true, true);
    G->Perform(WM_CHAR, '.', LPARAM(1) << 22);
    FormatSettings.DecimalSeparator = Saved;
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(G->TextEditor()->Text(), ",");
}

TEST_F(KeyInput, KeyUpClearsTheIncrementalSearchText) {
    // A column nobody edits: typed characters search it.
    G->Columns()->Items(1)->SetReadOnly(true);
    G->SetOptions(G->Options() >> goEditing);
    G->Navigation()->SetAutoGotoWhenSorted(true);
    G->Navigation()->SetAutoGotoIncremental(true);
    G->MoveColRow(1, 1, true, false);
    G->SetOptions(G->Options() >> goEditing);
    G->Perform(WM_CHAR, '1', 0);
    EXPECT_FALSE(G->IncrementalSearchText().isEmpty());
    Press(VK_DOWN);
    EXPECT_TRUE(G->IncrementalSearchText().isEmpty());
}

} // namespace
