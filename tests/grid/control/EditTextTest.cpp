// The grid's default text editor driven through keys, mouse and focus on a grid with a hidden
// column: how an edit ends, refused values, the cell an edit belongs to, the typing and paste
// filters of each editor kind, the length limit, lookup, caret walking and the event order.
#include "platform/gui/Dialogs.h"
#include "platform/gui/Snapshot.h"
#include "platform/rtl/SysUtils.h"
#include "tests/grid/control/EditFixture.h"

#include <QCoreApplication>
#include <QImage>

#include <ostream>

namespace {

enum class End { Enter, Tab, Down, FocusOut, ClickOther, Escape };

const char* EndName(End E) {
    switch (E) {
        case End::Enter: return "Enter";
        case End::Tab: return "Tab";
        case End::Down: return "Down";
        case End::FocusOut: return "FocusOut";
        case End::ClickOther: return "ClickOther";
        case End::Escape: return "Escape";
    }
    return "?";
}

class TextEdit : public EditGrid {
protected:
    void SetUp() override {
        EditGrid::SetUp();
        OldDecimal = FormatSettings.DecimalSeparator;
        OldThousand = FormatSettings.ThousandSeparator;
        FormatSettings.DecimalSeparator = QLatin1Char('.');
        FormatSettings.ThousandSeparator = QLatin1Char(',');
    }
    void TearDown() override {
        FormatSettings.DecimalSeparator = OldDecimal;
        FormatSettings.ThousandSeparator = OldThousand;
        EditGrid::TearDown();
    }
    void EndEdit(End E) {
        switch (E) {
            case End::Enter: Key(VK_RETURN); break;
            case End::Tab: Key(VK_TAB); break;
            case End::Down: Key(VK_DOWN); break;
            case End::FocusOut: FocusAway(); break;
            case End::ClickOther: ClickCell(4, 5); break;
            case End::Escape: Key(VK_ESCAPE); break;
        }
    }
    // Typing with each key's own code, so that each key is also released.
    void TypeKeys(const QString& S) {
        for (QChar C : S)
            KeyTarget()->SimulateKey(C == QLatin1Char(' ') ? Word(VK_SPACE) : Word(C.toUpper().unicode()), {}, C);
    }
    void UseKind(TEditorType Kind) {
        G->OnGetEditorType = [Kind](TObject*, int, int, TEditorType& E) { E = Kind; };
    }
    QChar OldDecimal, OldThousand;
};

// ---- how an edit ends ---------------------------------------------------------------------------------------
TEST_F(TextEdit, EachEndingWritesOnlyTheEditedCell) {
    struct Case {
        End How;
        QString Expected;
    };
    const Case Cases[] = {
        {End::Enter, "3,3x"},    {End::Tab, "3,3x"},        {End::Down, "3,3x"},
        {End::FocusOut, "3,3x"}, {End::ClickOther, "3,3x"}, {End::Escape, "3,3"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(EndName(C.How));
        G->SetGridCell(3, 3, "3,3");
        G->SetFocus();
        G->MoveCurrentCell(2, 3, true);
        G->SetOptions(G->Options() << goTabs);
        OpenWithF2();
        Type("x");
        EndEdit(C.How);
        EXPECT_FALSE(TextEditorOpen());
        EXPECT_EQ(CellAt(3, 3), C.Expected);
        EXPECT_EQ(CellAt(HiddenRealCol, 3), "2,3") << "the hidden column is never written";
        EXPECT_EQ(CellAt(4, 3), "4,3");
        EXPECT_EQ(CellAt(5, 5), "5,5");
    }
}

TEST_F(TextEdit, ATypedKeyOpensTheEditorAndReplacesTheText) {
    Type("7");
    ASSERT_TRUE(TextEditorOpen());
    Type("1");
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "71");
}

TEST_F(TextEdit, ARefusedValueNeverReachesTheCell) {
    struct Case {
        End How;
        bool EditorStaysOpen;
    };
    const Case Cases[] = {
        {End::Enter, true}, {End::Tab, true}, {End::Down, true}, {End::FocusOut, false}, {End::ClickOther, false},
    };
    int Asked = 0;
    G->OnCellValidate = [&](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
        ++Asked;
        EXPECT_EQ(ACol, 3);
        EXPECT_EQ(ARow, 3);
        Valid = !Value.endsWith("bad");
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(EndName(C.How));
        G->SetFocus();
        G->MoveCurrentCell(2, 3, true);
        OpenWithF2();
        Type("bad");
        Asked = 0;
        EndEdit(C.How);
        EXPECT_EQ(Asked, 1);
        EXPECT_EQ(CellAt(3, 3), "3,3");
        EXPECT_EQ(TextEditorOpen(), C.EditorStaysOpen);
        if (!C.EditorStaysOpen) continue;
        EXPECT_EQ(G->Col(), 2);
        EXPECT_EQ(G->Row(), 3);
        EXPECT_EQ(Editor()->Text(), "3,3bad");
        // The value is checked again on the next try, not taken as checked.
        EndEdit(C.How);
        EXPECT_EQ(Asked, 2);
        EXPECT_EQ(CellAt(3, 3), "3,3");
        // Mended, the value goes through.
        Editor()->SetSelStart(int(Editor()->Text().size()));
        Key(VK_BACK);
        Key(VK_BACK);
        Key(VK_BACK);
        Type("ok");
        Key(VK_RETURN);
        EXPECT_EQ(CellAt(3, 3), "3,3ok");
        G->SetGridCell(3, 3, "3,3");
    }
}

TEST_F(TextEdit, ValidationMayCorrectTheValue) {
    G->OnCellValidate = [](TObject*, int, int, QString& Value, bool& Valid) {
        Value = Value.trimmed();
        Valid = true;
    };
    OpenWithF2();
    Type("  ");
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "3,3");
}

TEST_F(TextEdit, TheEditWritesToTheCellItWasOpenedForAfterTheCurrentCellMoved) {
    OpenWithF2();
    Type("x");
    // The selection is set as given, without asking the cell selection: the editor is still open.
    G->SetSelection(GridRect(4, 5, 4, 5));
    ASSERT_TRUE(TextEditorOpen());
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "3,3x");
    EXPECT_EQ(CellAt(5, 5), "5,5");
    EXPECT_EQ(CellAt(HiddenRealCol, 3), "2,3");
}

TEST_F(TextEdit, EscapeBringsBackTheOpeningTextAfterTypingAndPaste) {
    SetClipboard("pasted");
    OpenWithF2();
    Type("typed");
    Key('V', {ssCtrl});
    EXPECT_EQ(Editor()->Text(), "3,3typedpasted");
    EXPECT_EQ(CellAt(3, 3), "3,3typedpasted") << "typing and pasting show in the cell at once";
    Key(VK_ESCAPE);
    EXPECT_FALSE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
}

TEST_F(TextEdit, TheGridsOwnEndOfAnEditChecksTheTextEditorsValue) {
    G->OnCellValidate = [](TObject*, int, int, QString& Value, bool& Valid) { Valid = !Value.endsWith("bad"); };
    OpenWithF2();
    Type("bad");
    G->HideCellEdit();
    EXPECT_TRUE(TextEditorOpen()) << "closing the special editors leaves the text editor alone";
    G->DoneInplaceEdit(VK_RETURN, {});
    EXPECT_TRUE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    Editor()->SetText("3,3good");
    G->DoneInplaceEdit(VK_RETURN, {});
    EXPECT_FALSE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3good");
}

// ---- typing filters --------------------------------------------------------------------------------------------
struct TypingCase {
    const char* Name;
    TEditorType Kind;
    QString Start;
    int Caret; // -1: the whole text selected
    TShiftState Shift;
    QString Typed;
    QString Expected;
    int Beeps;
};

class TypingFilter : public TextEdit, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(TypingFilter, PassesOnlyTheKindsCharacters) {
    const TypingCase& C = GetParam();
    UseKind(C.Kind);
    G->SetValidChars("abc");
    G->SetGridCell(3, 3, C.Start);
    OpenWithF2();
    if (C.Caret < 0)
        Editor()->SelectAll();
    else
        Editor()->SetSelStart(C.Caret);
    const int Beeps = MessageBeepCount();
    for (QChar Ch : C.Typed) Editor()->SimulateKey(0, C.Shift, Ch);
    EXPECT_EQ(Editor()->Text(), C.Expected);
    EXPECT_EQ(MessageBeepCount() - Beeps, C.Beeps);
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TypingFilter,
    ::testing::Values(TypingCase{"numeric_minus_at_start", edNumeric, "12", 0, {}, "-", "-12", 0},
                      TypingCase{"numeric_minus_elsewhere", edNumeric, "12", 2, {}, "-", "12", 1},
                      TypingCase{"numeric_second_minus", edNumeric, "-12", 0, {}, "-", "-12", 1},
                      TypingCase{"numeric_letter", edNumeric, "", 0, {}, "a5", "5", 1},
                      TypingCase{"positive_numeric_minus", edPositiveNumeric, "", 0, {}, "-5", "5", 1},
                      TypingCase{"float_second_separator", edFloat, "1.5", 3, {}, ".", "1.5", 0},
                      TypingCase{"float_separator_over_selection", edFloat, "1.5", -1, {}, ".", ".", 0},
                      TypingCase{"float_thousand_separator", edFloat, "1", 1, {}, ",", "1", 0},
                      TypingCase{"float_minus_not_at_start", edFloat, "1", 1, {}, "-", "1", 1},
                      TypingCase{"float_letter_silent", edFloat, "1", 1, {}, "x", "1", 0},
                      TypingCase{"positive_float_minus_silent", edPositiveFloat, "", 0, {}, "-2", "2", 0},
                      TypingCase{"positive_float_minus_with_ctrl", edPositiveFloat, "", 0, {ssCtrl}, "-", "-", 0},
                      TypingCase{"upper_case", edUpperCase, "", 0, {}, "ab", "AB", 0},
                      TypingCase{"capital", edCapital, "", 0, {}, "ab", "AB", 0},
                      TypingCase{"lower_case", edLowerCase, "", 0, {}, "AB", "ab", 0},
                      TypingCase{"mixed_case", edMixedCase, "", 0, {}, "john smith", "John Smith", 0},
                      TypingCase{"valid_chars", edValidChars, "", 0, {}, "axb", "ab", 1},
                      TypingCase{"normal_takes_all", edNormal, "", 0, {}, "x-1.,", "x-1.,", 0},
                      TypingCase{"password_takes_all", edPassword, "", 0, {}, "pw", "pw", 0}),
    [](const ::testing::TestParamInfo<TypingCase>& I) { return std::string(I.param.Name); });

// ---- paste ------------------------------------------------------------------------------------------------------
struct PasteCase {
    const char* Name;
    TEditorType Kind;
    QString Start;
    QString Clip;
    QString Expected;
};
void PrintTo(const PasteCase& C, std::ostream* Os) { *Os << C.Name; }

class PasteFilter : public TextEdit, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteFilter, GoesThroughTheKindsFilterAndTheEvents) {
    const PasteCase& C = GetParam();
    UseKind(C.Kind);
    G->SetValidChars("abc");
    G->SetGridCell(3, 3, C.Start);
    std::vector<std::string> Log;
    G->OnClipboardPaste = [&](TObject*, bool&) { Log.push_back("Paste"); };
    G->OnClipboardBeforePasteCell = [&](TObject*, int ACol, int ARow, QString&, bool&) {
        Log.push_back("Before " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    G->OnClipboardAfterPasteCell = [&](TObject*, int ACol, int ARow, const QString& V) {
        Log.push_back("After " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + V.toStdString());
    };
    SetClipboard(C.Clip);
    OpenWithF2();
    Key(VK_INSERT, {ssShift});
    EXPECT_EQ(Editor()->Text(), C.Expected);
    EXPECT_EQ(CellAt(3, 3), C.Expected) << "a paste shows in the cell at once";
    EXPECT_EQ(Log, (std::vector<std::string>{"Paste", "Before 3,3", "After 3,3 " + C.Expected.toStdString()}));
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PasteFilter,
                         ::testing::Values(PasteCase{"numeric_refuses_letters", edNumeric, "12", "ab", "12"},
                                           PasteCase{"numeric_takes_digits", edNumeric, "12", "34", "1234"},
                                           PasteCase{"positive_numeric_refuses_minus", edPositiveNumeric, "", "-4", ""},
                                           PasteCase{"float_takes_decimal", edFloat, "", "-1.5", "-1.5"},
                                           PasteCase{"positive_float_refuses_minus", edPositiveFloat, "", "-1.5", ""},
                                           PasteCase{"upper_case", edUpperCase, "", "ab", "AB"},
                                           PasteCase{"lower_case", edLowerCase, "", "AB", "ab"},
                                           PasteCase{"mixed_case", edMixedCase, "", "big town", "Big Town"},
                                           PasteCase{"valid_chars_refuses", edValidChars, "", "abd", ""},
                                           PasteCase{"valid_chars_takes", edValidChars, "", "cab", "cab"},
                                           PasteCase{"normal_drops_one_ending_line_break", edNormal, "x", "line\r\n",
                                                     "xline"}),
                         [](const ::testing::TestParamInfo<PasteCase>& I) { return std::string(I.param.Name); });

TEST_F(TextEdit, APastedValueIsValidatedLikeATypedOne) {
    G->OnCellValidate = [](TObject*, int, int, QString& Value, bool& Valid) { Valid = !Value.contains("bad"); };
    SetClipboard("bad");
    OpenWithF2();
    Key('V', {ssCtrl});
    FocusAway();
    EXPECT_FALSE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
}

TEST_F(TextEdit, AVetoedPasteLeavesTheText) {
    G->OnClipboardPaste = [](TObject*, bool& Allow) { Allow = false; };
    SetClipboard("zz");
    OpenWithF2();
    Key('V', {ssCtrl});
    EXPECT_EQ(Editor()->Text(), "3,3");
}

// ---- length limit and automatic advance -----------------------------------------------------------------------------
TEST_F(TextEdit, TheLengthLimitIsAFullInteger) {
    // A limit beyond 32767 still holds (a 16-bit limit would wrap to "no limit").
    const QString Long(40000, QLatin1Char('a'));
    G->SetGridCell(3, 3, Long);
    G->SetMaxEditLength(40000);
    OpenWithF2();
    EXPECT_EQ(Editor()->LengthLimit(), 40000);
    EXPECT_EQ(Editor()->Text().size(), 40000) << "the text is loaded whole";
    Type("b");
    EXPECT_EQ(Editor()->Text().size(), 40000);
    Key(VK_BACK);
    Type("c");
    EXPECT_EQ(Editor()->Text().size(), 40000);
    EXPECT_TRUE(Editor()->Text().endsWith("ac"));
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3).size(), 40000);
}

TEST_F(TextEdit, TypingToTheLimitAdvancesWithAdvanceAuto) {
    G->Navigation()->SetAdvanceAuto(true);
    G->SetMaxEditLength(4);
    G->SetGridCell(3, 3, "");
    OpenWithF2();
    Type("123");
    EXPECT_EQ(G->Col(), 2);
    Type("4");
    EXPECT_EQ(CellAt(3, 3), "1234");
    EXPECT_EQ(G->Col(), 3) << "the fourth digit moved on";
    EXPECT_EQ(G->Row(), 3);
}

TEST_F(TextEdit, AFifthDigitIsDroppedSilently) {
    G->SetMaxEditLength(4);
    G->SetGridCell(3, 3, "1234");
    OpenWithF2();
    const int Beeps = MessageBeepCount();
    Type("5");
    EXPECT_EQ(Editor()->Text(), "1234");
    EXPECT_EQ(MessageBeepCount(), Beeps);
}

// ---- sizing while typing ------------------------------------------------------------------------------------
TEST_F(TextEdit, TheColumnWidensForTheTypedTextBeforeTheEditEnds) {
    G->SizeWhileTyping()->SetWidth(true);
    G->SetGridCell(3, 3, "");
    const int Before = G->ColWidths(2);
    OpenWithF2();
    TypeKeys("a typed text far wider than its column");
    EXPECT_GT(G->ColWidths(2), Before);
    EXPECT_EQ(CellAt(3, 3), "a typed text far wider than its column") << "the typing shows in the cell at once";
    Key(VK_ESCAPE);
    EXPECT_EQ(CellAt(3, 3), "");
}

TEST_F(TextEdit, AWrappedRowGrowsWithTheTypedTextAndSaysSo) {
    G->SizeWhileTyping()->SetHeight(true);
    G->SetWordWrap(true);
    G->SetGridCell(3, 3, "");
    std::vector<int> Sized;
    G->OnEndRowSize = [&](TObject*, int ARow) { Sized.push_back(ARow); };
    const int Before = G->RowHeights(3);
    OpenWithF2();
    TypeKeys("many words typed into a narrow wrapped cell grow its row");
    EXPECT_GT(G->RowHeights(3), Before);
    ASSERT_FALSE(Sized.empty());
    EXPECT_EQ(Sized.back(), 3);
    EXPECT_EQ(G->RowHeights(4), Before) << "only the edited row";
}

// ---- lookup ----------------------------------------------------------------------------------------------------------
TEST_F(TextEdit, LookupCompletesFromTheFirstMatchingItem) {
    G->SetLookup(true);
    G->LookupItems()->Add("Alpha");
    G->LookupItems()->Add("Alpine");
    G->LookupItems()->Add("Beta");
    G->SetGridCell(3, 3, "");
    OpenWithF2();
    Key('A');
    Key('L');
    EXPECT_EQ(Editor()->Text(), "alpha");
    EXPECT_EQ(Editor()->SelStart(), 2);
    EXPECT_EQ(Editor()->SelLength(), 3);
    Key(VK_BACK);
    EXPECT_EQ(Editor()->Text(), "al") << "Backspace removes the completion and does not complete again";
    Key('P');
    EXPECT_EQ(Editor()->Text(), "alpha");
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "alpha");
}

// ---- caret walking ---------------------------------------------------------------------------------------------------
TEST_F(TextEdit, CaretWalkingMovesToTheNeighbourAfterValidation) {
    G->Navigation()->SetCursorWalkEditor(true);
    bool Refuse = true;
    G->OnCellValidate = [&](TObject*, int, int, QString&, bool& Valid) { Valid = !Refuse; };
    OpenWithF2();
    Type("r");
    Key(VK_RIGHT);
    EXPECT_EQ(G->Col(), 2) << "a refused value keeps the caret in its cell";
    EXPECT_TRUE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    Refuse = false;
    Editor()->SetSelStart(int(Editor()->Text().size()));
    Key(VK_RIGHT);
    EXPECT_EQ(CellAt(3, 3), "3,3r");
    EXPECT_EQ(G->Col(), 3);
    EXPECT_TRUE(TextEditorOpen()) << "the editor opens on the new cell";
    EXPECT_EQ(Editor()->Text(), "4,3");
    Editor()->SetSelStart(0);
    Key(VK_LEFT);
    EXPECT_EQ(G->Col(), 2);
}

// ---- mouse, focus and keys that keep the edit ----------------------------------------------------------------------
TEST_F(TextEdit, AClickOpensTheEditorWithTheCaretAtTheClick) {
    const TRect R = G->CellRect(2, 3);
    const LPARAM At = MakeLParam(R.Left + 2, (R.Top + R.Bottom) / 2);
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At);
    G->Perform(WM_LBUTTONUP, 0, At);
    QApplication::processEvents();
    ASSERT_TRUE(TextEditorOpen());
    EXPECT_EQ(Editor()->SelStart(), 0);
    EXPECT_EQ(Editor()->SelLength(), 0);
    // Opened from the keyboard, the text is selected whole.
    Key(VK_ESCAPE);
    Key(VK_F2);
    EXPECT_EQ(Editor()->SelLength(), 3);
}

TEST_F(TextEdit, KeysThatLeaveTheEditAlone) {
    G->Navigation()->SetAllowCtrlEnter(false);
    OpenWithF2();
    Type("k");
    Key(VK_RETURN, {ssCtrl});
    EXPECT_TRUE(TextEditorOpen()) << "Ctrl+Enter in a single-line grid";
    EXPECT_EQ(Editor()->Text(), "3,3k");
    Key('A', {ssCtrl});
    EXPECT_EQ(Editor()->SelLength(), 4) << "Ctrl+A selects all";
    EXPECT_EQ(Editor()->Text(), "3,3k");
    // With Alt+Backspace held the editor keeps the focus loss from ending the edit.
    Editor()->Perform(WM_SYSKEYDOWN, VK_BACK, 0);
    FocusAway();
    EXPECT_TRUE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3k") << "the edit goes on, its typing in the cell";
    EXPECT_TRUE(G->EditMode());
    Editor()->Perform(WM_SYSKEYUP, VK_BACK, 0);
    G->SetFocus();
    Editor()->SetFocus();
    QApplication::processEvents();
    FocusAway();
    EXPECT_FALSE(TextEditorOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3k");
}

TEST_F(TextEdit, LookupHistoryKeepsWhatWasTyped) {
    G->SetLookupHistory(true);
    OpenWithF2();
    Type("h");
    FocusAway();
    EXPECT_EQ(G->LookupItems()->IndexOf("3,3h"), 0);
}

// ---- event order ------------------------------------------------------------------------------------------------------
TEST_F(TextEdit, EventsOfAnEditEndedWithEnter) {
    EditLog Log;
    Log.Watch(G);
    G->OnCellValidate = [&](TObject*, int ACol, int ARow, QString& V, bool& Valid) {
        Log.Add("CellValidate " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + V.toStdString());
        Valid = true;
    };
    OpenWithF2();
    Type("z");
    Key(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "3,3z");
    const std::vector<std::string> BeforeLoop{"GetEditorType 3,3", "GetEditorProp 3,3", "EditChange 3,3 3,3z",
                                              "CellValidate 3,3 3,3z", "EditingDone"};
    EXPECT_EQ(Log.Lines, BeforeLoop) << "the cell-done notification waits for the message loop";
    Application->ProcessMessages();
    std::vector<std::string> After = BeforeLoop;
    After.push_back("EditCellDone 3,3");
    EXPECT_EQ(Log.Lines, After);
}

// ---- picture ----------------------------------------------------------------------------------------------------------
TEST_F(TextEdit, PictureOfTheOpenEditor) {
    G->SetGridCell(3, 3, "Gateway");
    OpenWithF2();
    Type(" 1");
    QApplication::processEvents();
    const QString Path = QCoreApplication::applicationDirPath() + "/grid_text_editor.png";
    ASSERT_TRUE(SaveControlPng(Form, Path));
    const QImage I(Path);
    ASSERT_FALSE(I.isNull());
    const TRect R = G->CellRect(2, 3);
    EXPECT_EQ(Editor()->Left(), R.Left);
    EXPECT_EQ(Editor()->Top(), R.Top);
    EXPECT_EQ(Editor()->Width(), R.Right - R.Left - 1);
    EXPECT_EQ(Editor()->Height(), R.Bottom - R.Top - 1);
    // The editor's face is the cell's white, with dark text on it.
    EXPECT_EQ(I.pixelColor(R.Right - 4, R.Top + 3), QColor(Qt::white));
    bool Text = false;
    for (int X = R.Left; X < R.Right && !Text; ++X)
        for (int Y = R.Top; Y < R.Bottom && !Text; ++Y) Text = I.pixelColor(X, Y).lightness() < 100;
    EXPECT_TRUE(Text);
}

} // namespace
