// The grid's drop-down editors, each opened over a cell as a user opens it: the value it
// commits (validated before it reaches the cell), what a refusal leaves, Escape, Tab, the
// typing events and the pickers' selection hooks.
#include "EditFixture.h"
#include "grid/control/GridDropDownWrappers.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QDir>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

// A drop-down kind with what a test types into it and what the cell gets.
struct WrapperCase {
    std::string Name;
    TEditorType Kind;
    QString Typed; // typed over the opening text (all selected first)
    QString Stored; // what the cell holds after Enter
    QString Replaced; // the validation's replacement "9" as the editor shows it
    // For the kinds whose value is picked, not typed: picks it on the open control and gives
    // the text the cell is to get.
    std::function<QString(TExtCustomDropDown*)> Pick;
};
void PrintTo(const WrapperCase& C, std::ostream* Os) { *Os << C.Name; }
std::string CaseName(const ::testing::TestParamInfo<WrapperCase>& I) { return I.param.Name; }

const WrapperCase Cases[] = {
    {"TrackBar", edTrackbarDropDown, "7", "7", "9"},
    {"Memo", edMemoDropDown, "abc", "abc", "9"},
    {"Calculator", edCalculatorDropDown, "12", "12.00", "9.00"},
    {"DetailPicker", edDetailDropDown, "xy", "xy", "9"},
    {"MultiColumn", edGridDropDown, "xy", "xy", "9"},
    {"GridPicker", edExtGridDropDown, "xy", "xy", "9"},
    {"TimePicker", edTimePickerDropDown, "", "", "",
     [](TExtCustomDropDown* D) {
         dynamic_cast<TExtTimePickerDropDown*>(D)->SetTime(EncodeTime(10, 20, 30, 0));
         return D->Text();
     }},
    // The colour picker writes its colour's text; the image picker leaves a text cell's text.
    {"ColorPicker", edColorPickerDropDown, "", "", "",
     [](TExtCustomDropDown* D) {
         auto* P = dynamic_cast<TExtColorPickerDropDown*>(D);
         P->SetSelectedColor(clRed);
         return P->SelectedColorText();
     }},
    {"ImagePicker", edImagePickerDropDown, "", "", "",
     [](TExtCustomDropDown* D) {
         dynamic_cast<TExtImagePickerDropDown*>(D)->SetItemIndex(1);
         return QString("5");
     }},
};

class DropDownGrid : public EditGrid {
protected:
    void SetUp() override {
        EditGrid::SetUp();
        G->SetGridCell(3, 3, "5");
        G->Navigation()->SetAdvanceOnEnter(true);
        G->Navigation()->SetAdvanceDirection(adTopBottom);
        G->Navigation()->SetAdvanceAutoEdit(false);
        // The image picker's items: two captioned entries.
        auto* Img = G->ImagePickerDropDown();
        Img->Items()->Add()->SetCaption("first");
        Img->Items()->Add()->SetCaption("second");
    }
    // Opens the kind's editor on display cell (2, 3) (real column 3) with F2.
    void Open(TEditorType Kind) {
        G->OnGetEditorType = [Kind](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = Kind;
        };
        G->MoveCurrentCell(2, 3, true);
        G->SetFocus();
        QApplication::processEvents();
        G->SimulateKey(VK_F2);
        QApplication::processEvents();
        ASSERT_TRUE(G->EditorControlOpen());
        ASSERT_EQ(G->EditorControlKind(), Kind);
    }
    TExtCustomDropDown* DropDown() const { return dynamic_cast<TExtCustomDropDown*>(G->EditorControl()); }
    // Types the case's text over the opening one, or picks the case's value.
    // Returns the text the cell is to get.
    QString Enter(const WrapperCase& C) {
        if (C.Pick) return C.Pick(DropDown());
        TypeAll(C.Typed);
        return C.Stored;
    }
    void TypeAll(const QString& S) {
        DropDown()->SelectAll();
        for (QChar C : S) DropDown()->SimulateKey(0, {}, C);
    }
    void Press(Word K, TShiftState Shift = {}) { DropDown()->SimulateKey(K, Shift); }
};

class DropDownWrappers : public DropDownGrid, public ::testing::WithParamInterface<WrapperCase> {};

TEST_P(DropDownWrappers, EnterWritesTheTypedValueAndMovesOn) {
    const WrapperCase& C = GetParam();
    Open(C.Kind);
    const QString Expected = Enter(C);
    EXPECT_EQ(CellAt(3, 3), "5") << "editing alone writes nothing";
    Press(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), Expected);
    EXPECT_EQ(G->Row(), 4) << "Enter advances";
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_FALSE(DropDown());
    EXPECT_EQ(CellAt(HiddenRealCol, 3), "2,3");
}

TEST_P(DropDownWrappers, EscapeLeavesTheCellWithItsOpeningText) {
    const WrapperCase& C = GetParam();
    Open(C.Kind);
    Enter(C);
    Press(VK_ESCAPE);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "5");
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(G->Col(), 2);
}

TEST_P(DropDownWrappers, RefusedValueKeepsTheEditorOpenWithTheReplacementSelected) {
    const WrapperCase& C = GetParam();
    int Asked = 0;
    G->OnCellValidate = [&](TObject*, int, int, QString& Value, bool& Valid) {
        ++Asked;
        Value = "9";
        Valid = false;
    };
    Open(C.Kind);
    // An unchanged value is asked about only when the grid always validates.
    if (Enter(C) == "5") G->SetAlwaysValidate(true);
    Press(VK_RETURN);
    EXPECT_GE(Asked, 1);
    ASSERT_TRUE(G->EditorControlOpen()) << "a refused value keeps the editor open";
    EXPECT_EQ(CellAt(3, 3), "5") << "a refused value never reaches the cell";
    if (!C.Pick) {
        EXPECT_EQ(DropDown()->Text(), C.Replaced);
        EXPECT_EQ(DropDown()->SelLength(), DropDown()->Text().size());
    }
    EXPECT_EQ(G->Row(), 3) << "no advance";
    EXPECT_TRUE(G->NoAutoAdvance());
}

// However the edit ends after a refusal, by Escape or by the focus leaving the grid, the cell
// keeps the text it had when the editor opened.
TEST_P(DropDownWrappers, AfterARefusalTheCellKeepsItsOpeningText) {
    const WrapperCase& C = GetParam();
    G->OnCellValidate = [&](TObject*, int, int, QString& Value, bool& Valid) {
        Value = "9";
        Valid = false;
    };
    for (const char* Ending : {"Escape", "leaving the grid"}) {
        SCOPED_TRACE(Ending);
        Open(C.Kind);
        if (Enter(C) == "5") G->SetAlwaysValidate(true);
        Press(VK_RETURN);
        ASSERT_TRUE(G->EditorControlOpen());
        if (std::string(Ending) == "Escape")
            Press(VK_ESCAPE);
        else
            FocusAway();
        EXPECT_FALSE(G->EditorControlOpen());
        EXPECT_EQ(CellAt(3, 3), "5");
    }
}

// Alt+Down belongs to the control: it opens the popup and the edit goes on; End moves the caret.
TEST_P(DropDownWrappers, AltDownOpensThePopupAndEndStaysInTheEdit) {
    const WrapperCase& C = GetParam();
    Open(C.Kind);
    Press(VK_END);
    EXPECT_TRUE(G->EditorControlOpen());
    Press(VK_DOWN, {ssAlt});
    QApplication::processEvents();
    EXPECT_TRUE(G->EditorControlOpen());
    EXPECT_TRUE(DropDown()->DroppedDown());
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(CellAt(3, 3), "5");
    DropDown()->HideDropDown(true);
    Press(VK_ESCAPE);
    EXPECT_EQ(CellAt(3, 3), "5");
}

// A form's default and cancel buttons never take Enter or Escape from an open cell editor.
TEST_P(DropDownWrappers, EnterAndEscapeStayWithTheEditorNotTheFormsButtons) {
    const WrapperCase& C = GetParam();
    std::vector<std::string> Clicks;
    auto* Ok = Create<TButton>(Form, Form);
    Ok->SetDefault(true);
    Ok->SetBounds(430, 240, 75, 25);
    Ok->OnClick = [&](TObject*) { Clicks.push_back("ok"); };
    auto* Cancel = Create<TButton>(Form, Form);
    Cancel->SetCancel(true);
    Cancel->SetBounds(430, 270, 75, 25);
    Cancel->OnClick = [&](TObject*) { Clicks.push_back("cancel"); };
    Open(C.Kind);
    Enter(C);
    Press(VK_ESCAPE);
    EXPECT_EQ(CellAt(3, 3), "5");
    Open(C.Kind);
    const QString Expected = Enter(C);
    Press(VK_RETURN);
    QApplication::processEvents();
    EXPECT_EQ(CellAt(3, 3), Expected);
    EXPECT_TRUE(Clicks.empty()) << Clicks.front();
}

// Typing reports each change for the edited cell; Enter validates, writes, ends the edit at
// once and reports the cell as done only after the key.
TEST_P(DropDownWrappers, EnterEventsComeInOrder) {
    const WrapperCase& C = GetParam();
    std::vector<std::string> Log;
    auto Cell = [](int ACol, int ARow) { return std::to_string(ACol) + "," + std::to_string(ARow); };
    G->OnEditChange = [&](TObject* Sender, int ACol, int ARow, const QString&) {
        if (Log.empty() || Log.back() != "change " + Cell(ACol, ARow))
            Log.push_back("change " + Cell(ACol, ARow) + (Sender == G ? "" : " wrong sender"));
    };
    G->OnCellValidate = [&](TObject*, int ACol, int ARow, QString&, bool&) {
        Log.push_back("validate " + Cell(ACol, ARow) + " cell " + CellAt(3, 3).toStdString());
    };
    G->OnEditingDone = [&](TObject*) { Log.push_back("done"); };
    G->OnEditCellDone = [&](TObject*, int ACol, int ARow) { Log.push_back("cell done " + Cell(ACol, ARow)); };
    Open(C.Kind);
    const QString Expected = Enter(C);
    if (Expected == "5") G->SetAlwaysValidate(true);
    Press(VK_RETURN);
    Log.push_back("key handled");
    QApplication::processEvents();
    std::vector<std::string> Want;
    if (!C.Pick)
        Want.push_back("change 3,3");
    else // a pick changes the edit text or not, as the kind shows it
        Log.erase(std::remove(Log.begin(), Log.end(), std::string("change 3,3")), Log.end());
    // The validation sees the cell as it was: the value is not in it yet.
    for (const char* L : {"validate 3,3 cell 5", "done", "key handled", "cell done 3,3"}) Want.push_back(L);
    EXPECT_EQ(Log, Want);
    EXPECT_EQ(CellAt(3, 3), Expected);
}

TEST_P(DropDownWrappers, KeyPressSeesTheEditorAndTheControlKeysAreNoCharacters) {
    const WrapperCase& C = GetParam();
    std::vector<std::pair<TObject*, ushort>> Seen;
    G->OnKeyPress = [&](TObject* Sender, QChar& K) { Seen.emplace_back(Sender, K.unicode()); };
    Open(C.Kind);
    DropDown()->SimulateKey(0, {}, QChar('1'));
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back().first, static_cast<TObject*>(DropDown()));
    const QString Before = DropDown()->Text();
    DropDown()->Perform(WM_CHAR, 27);
    DropDown()->Perform(WM_CHAR, 9);
    DropDown()->Perform(WM_CHAR, 13);
    EXPECT_EQ(DropDown()->Text(), Before);
}

TEST_P(DropDownWrappers, UpCommitsAndMovesUp) {
    const WrapperCase& C = GetParam();
    Open(C.Kind);
    const QString Expected = Enter(C);
    Press(VK_UP);
    EXPECT_EQ(CellAt(3, 3), Expected);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(G->Row(), 2);
}

TEST_P(DropDownWrappers, UpWithARefusedValueStaysPut) {
    const WrapperCase& C = GetParam();
    G->OnCellValidate = [&](TObject*, int, int, QString&, bool& Valid) { Valid = false; };
    Open(C.Kind);
    // An unchanged value is asked about only when the grid always validates.
    if (Enter(C) == "5") G->SetAlwaysValidate(true);
    Press(VK_DOWN);
    EXPECT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "5");
    EXPECT_EQ(G->Row(), 3);
}

TEST_P(DropDownWrappers, TabWithTabNavigationWritesAndMovesToTheNextCell) {
    const WrapperCase& C = GetParam();
    G->SetOptions(G->Options() << goTabs);
    Open(C.Kind);
    const QString Expected = Enter(C);
    Press(VK_TAB);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), Expected);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 3);
}

TEST_P(DropDownWrappers, TabWithoutTabNavigationWritesAndGoesOnToTheNextControl) {
    const WrapperCase& C = GetParam();
    // Validation makes the editor take Tab without tab navigation; the grid itself does not.
    G->OnCellValidate = [](TObject*, int, int, QString&, bool& Valid) { Valid = true; };
    std::vector<Word> GridKeys;
    G->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { GridKeys.push_back(Key); };
    Open(C.Kind);
    const QString Expected = Enter(C);
    GridKeys.clear();
    Press(VK_TAB);
    EXPECT_EQ(CellAt(3, 3), Expected);
    EXPECT_FALSE(G->EditorControlOpen());
    QApplication::processEvents(); // the posted Tab goes the way a typed one does
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(G->Col(), 2);
    EXPECT_TRUE(std::find(GridKeys.begin(), GridKeys.end(), Word(VK_TAB)) == GridKeys.end());
}

TEST_P(DropDownWrappers, TabWithARefusedValueKeepsTheEditorWithTheCaretAtTheEnd) {
    const WrapperCase& C = GetParam();
    G->SetOptions(G->Options() << goTabs);
    G->OnCellValidate = [&](TObject*, int, int, QString& Value, bool& Valid) {
        Value = "9";
        Valid = false;
    };
    Open(C.Kind);
    // An unchanged value is asked about only when the grid always validates.
    if (Enter(C) == "5") G->SetAlwaysValidate(true);
    Press(VK_TAB);
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "5");
    EXPECT_EQ(G->Col(), 2);
    if (!C.Pick) {
        EXPECT_EQ(DropDown()->Text(), C.Replaced);
        EXPECT_EQ(DropDown()->SelLength(), 0);
        EXPECT_EQ(DropDown()->SelStart(), DropDown()->Text().size());
    }
}

TEST_P(DropDownWrappers, EnterWithAutoEditOpensTheEditorAgainOnTheNextCell) {
    const WrapperCase& C = GetParam();
    G->Navigation()->SetAdvanceAutoEdit(true);
    Open(C.Kind);
    const QString Expected = Enter(C);
    Press(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), Expected);
    EXPECT_EQ(G->Row(), 4);
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->EditorControlKind(), C.Kind);
    EXPECT_EQ(G->OpenEditorCell()->RealRow, 4);
}

INSTANTIATE_TEST_SUITE_P(Wrapper, DropDownWrappers, ::testing::ValuesIn(Cases), CaseName);

TEST_F(DropDownGrid, TheListPickersTakeTheCellColour) {
    G->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* B, TFont*) {
        if (B) B->SetColor(TColor(0x00CCFF));
    };
    for (TEditorType Kind : {edGridDropDown, edExtGridDropDown}) {
        Open(Kind);
        ASSERT_NE(G->EditorControl(), nullptr);
        EXPECT_EQ(G->EditorControl()->Color(), TColor(0x00CCFF)) << "kind " << int(Kind);
        G->EditorControl()->SimulateKey(VK_ESCAPE);
    }
}

TEST_F(DropDownGrid, ColourEditorWithItsPopupOpenKeepsTheArrowsForThePicker) {
    Open(edColorPickerDropDown);
    DropDown()->ShowDropDown();
    QApplication::processEvents();
    ASSERT_TRUE(DropDown()->DroppedDown());
    Press(VK_DOWN);
    Press(VK_UP);
    EXPECT_TRUE(G->EditorControlOpen()) << "the arrows move inside the picker";
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(CellAt(3, 3), "5");
    Press(VK_RETURN);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_FALSE(G->ColorPickerDropDown()->DroppedDown());
}

TEST_F(DropDownGrid, ColourEditorWithItsPopupClosedMovesOnTheArrowsWithoutCommitting) {
    Open(edColorPickerDropDown);
    Press(VK_DOWN);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(G->Row(), 4);
    EXPECT_EQ(CellAt(3, 3), "5");
}

TEST_F(DropDownGrid, ColourPickFiresOnColorSelectForTheEditedCell) {
    std::vector<std::string> Seen;
    G->OnColorSelect = [&](TObject* Sender, int ACol, int ARow, TColor C, const QString& V) {
        Seen.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + (C == clRed ? "red " : "other ") +
                       V.toStdString() + (Sender == G ? "" : " wrong sender"));
    };
    Open(edColorPickerDropDown);
    G->ColorPickerDropDown()->SetSelectedColor(clRed);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], "3,3 red " + G->ColorPickerDropDown()->SelectedColorText().toStdString());
}

TEST_F(DropDownGrid, ImagePickFiresOnImageSelectForTheEditedCell) {
    std::vector<std::string> Seen;
    G->OnImageSelect = [&](TObject* Sender, int ACol, int ARow, int Index) {
        Seen.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + std::to_string(Index) +
                       (Sender == G ? "" : " wrong sender"));
    };
    Open(edImagePickerDropDown);
    G->ImagePickerDropDown()->SetItemIndex(1);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], "3,3 1");
}

// The kinds that put the caret under the click that opened them, each with a text it shows
// as it stands.
struct ClickCase {
    std::string Name;
    TEditorType Kind;
    QString Text;
};
void PrintTo(const ClickCase& C, std::ostream* Os) { *Os << C.Name; }
std::string ClickCaseName(const ::testing::TestParamInfo<ClickCase>& I) { return I.param.Name; }

const ClickCase ClickCases[] = {
    {"Memo", edMemoDropDown, "abcdefghijkl"},
    {"TrackBar", edTrackbarDropDown, "abcdefghijkl"},
    {"Calculator", edCalculatorDropDown, "123456789012"},
};

class CaretAtClick : public DropDownGrid, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(CaretAtClick, AClickOnTheCellPutsTheCaretUnderTheMouse) {
    const ClickCase& C = GetParam();
    G->SetGridCell(3, 3, C.Text);
    G->OnGetEditorType = [&](TObject*, int ACol, int, TEditorType& E) {
        if (ACol == 3) E = C.Kind;
    };
    G->MouseActions()->SetDirectEdit(true);
    const TRect R = G->CellRect(2, 3);
    // Into the middle of the text: past the first few characters, well before the end.
    TCanvas Measure;
    Measure.Font()->Assign(G->Font());
    const int X = R.Left + 3 + Measure.TextWidth(C.Text.left(6));
    const LPARAM P = MakeLParam(X, (R.Top + R.Bottom) / 2);
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, P);
    G->Perform(WM_LBUTTONUP, 0, P);
    QApplication::processEvents();
    ASSERT_TRUE(G->EditorControlOpen());
    ASSERT_EQ(G->EditorControlKind(), C.Kind);
    TExtCustomDropDown* D = DropDown();
    EXPECT_EQ(D->SelLength(), 0);
    EXPECT_GT(D->SelStart(), 2);
    EXPECT_LT(D->SelStart(), 10);
    EXPECT_FALSE(G->LButFlag()) << "the press is used up";
}

INSTANTIATE_TEST_SUITE_P(Wrapper, CaretAtClick, ::testing::ValuesIn(ClickCases), ClickCaseName);

TEST_F(DropDownGrid, DirectDropOpensThePopupAfterTheStartKey) {
    G->MouseActions()->SetDirectComboDrop(true);
    G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
        if (ACol == 3) E = edMemoDropDown;
    };
    G->MoveCurrentCell(2, 3, true);
    G->SetFocus();
    QApplication::processEvents();
    G->SimulateKey(0, {}, QChar('x'));
    QApplication::processEvents();
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_TRUE(DropDown()->DroppedDown());
    EXPECT_TRUE(DropDown()->Text().contains('x'));
    Press(VK_ESCAPE);
    EXPECT_EQ(CellAt(3, 3), "5");
}

// The pickers' commit: what the cell's text, colour, shape or image become, and what the
// application's hook sees (and changes) first.
struct PickerCase {
    std::string Name;
    TEditorType Kind;
    std::function<void(TExtStringGrid*)> Cell; // makes cell (3, 3) what the case needs
    std::function<void(TExtCustomDropDown*)> Pick; // the user's choice on the open editor
    std::function<void(TExtStringGrid*)> Hooks; // the application's handlers
    QString Text; // the cell's text after Enter
    std::function<std::string(TExtStringGrid*)> Look; // the cell's colour, shape or image after it
    std::string Looks; // what Look gives
    std::vector<std::string> Events;
};
void PrintTo(const PickerCase& C, std::ostream* Os) { *Os << C.Name; }
std::string PickerCaseName(const ::testing::TestParamInfo<PickerCase>& I) { return I.param.Name; }

std::vector<std::string>* PickerLog = nullptr;
std::string ColourName(TColor C) {
    return C == clRed ? "red" : C == clBlue ? "blue" : C == clNone ? "none" : std::to_string(C);
}
std::string CellColour(TExtStringGrid* G) { return ColourName(G->Colors(3, 3)); }
std::string ShapeColour(TExtStringGrid* G) { return "shape " + ColourName(G->GetShapeColor(3, 3)); }
std::string CellImage(TExtStringGrid* G) {
    int I = -1;
    G->GetImageIdx(3, 3, I);
    return "image " + std::to_string(I);
}
void PickRed(TExtCustomDropDown* D) { dynamic_cast<TExtColorPickerDropDown*>(D)->SetSelectedColor(clRed); }
void PickSecondImage(TExtCustomDropDown* D) { dynamic_cast<TExtImagePickerDropDown*>(D)->SetItemIndex(1); }
void LogColorSelected(TExtStringGrid* G) {
    G->OnColorSelected = [](TObject*, int ACol, int ARow, TColor& C, QString& V) {
        PickerLog->push_back("selected " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + ColourName(C) +
                             " " + V.toStdString());
    };
}
void LogImageSelected(TExtStringGrid* G) {
    G->OnImageSelected = [](TObject*, int ACol, int ARow, int& I) {
        PickerLog->push_back("selected " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + std::to_string(I));
    };
}

const PickerCase PickerCases[] = {
    {"ColourOnATextCellWritesItsNameAndColour",
     edColorPickerDropDown,
     nullptr,
     PickRed,
     LogColorSelected,
     "Red",
     CellColour,
     "red",
     {"selected 3,3 red Red", "validate Red"}},
    {"ColourOnAShapeCellColoursTheShape",
     edColorPickerDropDown,
     [](TExtStringGrid* G) { G->AddShape(3, 3, csCircle, clBlue, clBlack, haLeft, vaTop); },
     PickRed,
     LogColorSelected,
     "Red",
     ShapeColour,
     "shape red",
     {"selected 3,3 red Red", "validate Red"}},
    {"ColourChangedByTheApplication",
     edColorPickerDropDown,
     nullptr,
     PickRed,
     [](TExtStringGrid* G) {
         G->OnColorSelected = [](TObject*, int, int, TColor& C, QString& V) {
             C = clBlue;
             V = "sky";
         };
     },
     "sky",
     CellColour,
     "blue",
     {"validate sky"}},
    {"NoColourChosenKeepsTheText",
     edColorPickerDropDown,
     nullptr,
     [](TExtCustomDropDown*) {},
     LogColorSelected,
     "5",
     CellColour,
     "none",
     {"selected 3,3 none 5"}},
    {"ImageOnAnImageListCellSetsTheImageAndKeepsTheText",
     edImagePickerDropDown,
     [](TExtStringGrid* G) { G->AddImageIdx(3, 3, 0, haLeft, vaTop); },
     PickSecondImage,
     LogImageSelected,
     "5",
     CellImage,
     "image 1",
     {"selected 3,3 1"}},
    {"ImageOnADataImageCellWritesItsIndex",
     edImagePickerDropDown,
     [](TExtStringGrid* G) { G->AddDataImage(3, 3, 0, haLeft, vaTop); },
     PickSecondImage,
     LogImageSelected,
     "1",
     [](TExtStringGrid*) { return std::string(); },
     "",
     {"selected 3,3 1", "validate 1"}},
    {"ImageChangedByTheApplication",
     edImagePickerDropDown,
     [](TExtStringGrid* G) { G->AddImageIdx(3, 3, 0, haLeft, vaTop); },
     PickSecondImage,
     [](TExtStringGrid* G) { G->OnImageSelected = [](TObject*, int, int, int& I) { I = 0; }; },
     "5",
     CellImage,
     "image 0",
     {}},
};

class PickerCommit : public DropDownGrid, public ::testing::WithParamInterface<PickerCase> {
protected:
    void SetUp() override {
        DropDownGrid::SetUp();
        PickerLog = &Log;
        Images = std::make_unique<TImageList>(nullptr, 16, 16);
        TBitmap Strip(32, 16);
        Images->Add(&Strip, nullptr);
        G->SetGridImages(Images.get());
        auto* Img = G->ImagePickerDropDown();
        for (int I = 0; I < 2; ++I) Img->Items()->Items(I)->SetImageIndex(I);
        G->OnCellValidate = [this](TObject*, int, int, QString& V, bool&) {
            Log.push_back("validate " + V.toStdString());
        };
    }
    void TearDown() override {
        PickerLog = nullptr;
        DropDownGrid::TearDown();
    }
    std::vector<std::string> Log;
    std::unique_ptr<TImageList> Images;
};

TEST_P(PickerCommit, EnterWritesThePick) {
    const PickerCase& C = GetParam();
    if (C.Cell) C.Cell(G);
    // A value in the cell's text that the data-image cell reads as its image.
    if (C.Name.find("DataImage") != std::string::npos) G->SetGridCell(3, 3, "0");
    C.Hooks(G);
    Open(C.Kind);
    C.Pick(DropDown());
    EXPECT_TRUE(Log.empty()) << "nothing is announced before the commit";
    Press(VK_RETURN);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), C.Text);
    EXPECT_EQ(C.Look(G), C.Looks);
    EXPECT_EQ(Log, C.Events) << "announced once per commit";
}

TEST_P(PickerCommit, EscapeDropsThePick) {
    const PickerCase& C = GetParam();
    if (C.Cell) C.Cell(G);
    if (C.Name.find("DataImage") != std::string::npos) G->SetGridCell(3, 3, "0");
    C.Hooks(G);
    const std::string Before = C.Look(G);
    const QString Text = CellAt(3, 3);
    Open(C.Kind);
    C.Pick(DropDown());
    Press(VK_ESCAPE);
    EXPECT_EQ(CellAt(3, 3), Text);
    EXPECT_EQ(C.Look(G), Before);
    EXPECT_TRUE(Log.empty());
}

INSTANTIATE_TEST_SUITE_P(Picker, PickerCommit, ::testing::ValuesIn(PickerCases), PickerCaseName);

TEST_F(DropDownGrid, MemoThatCannotBeTypedInCommitsAllItsLines) {
    G->MemoDropDown()->SetEditorEnabled(false);
    G->SetGridCell(3, 3, "one\r\ntwo");
    Open(edMemoDropDown);
    auto* M = G->MemoDropDown();
    M->ShowDropDown();
    QApplication::processEvents();
    ASSERT_TRUE(M->DroppedDown());
    M->Memo()->SetText("one\r\ntwo\r\nthree");
    M->HideDropDown(false);
    QApplication::processEvents();
    ASSERT_NE(M->Text(), "one\r\ntwo\r\nthree") << "the edit shows the first line only";
    Press(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "one\r\ntwo\r\nthree");
}

TEST_F(DropDownGrid, AWrapperNeedsAGridAsItsOwner) {
    EXPECT_THROW(Create<TGridMemoDropDown>(Form, Form), EInvalidCast);
}

// Every editor control of the grid, drop-down or not, is made for a grid: another owner is a
// class-cast error, the same one for all of them.
struct OwnerCase {
    std::string Name;
    std::function<void(TForm*)> Make;
};
void PrintTo(const OwnerCase& C, std::ostream* Os) { *Os << C.Name; }
std::string OwnerCaseName(const ::testing::TestParamInfo<OwnerCase>& I) { return I.param.Name; }

const OwnerCase OwnerCases[] = {
    {"Combo", [](TForm* F) { Create<TGridCombo>(F, F); }},
    {"CheckBox", [](TForm* F) { Create<TGridCheckBox>(F, F); }},
    {"Spin", [](TForm* F) { Create<TGridSpin>(F, F); }},
    {"DatePicker", [](TForm* F) { Create<TGridDatePicker>(F, F); }},
    {"DateTimePicker", [](TForm* F) { Create<TGridDateTimePicker>(F, F); }},
    {"EditBtn", [](TForm* F) { Create<TGridEditBtn>(F, F); }},
    {"UnitEditBtn", [](TForm* F) { Create<TGridUnitEditBtn>(F, F); }},
    {"Button", [](TForm* F) { Create<TGridButton>(F, F); }},
    {"TrackBar", [](TForm* F) { Create<TGridTrackbarDropDown>(F, F); }},
    {"ColorPicker", [](TForm* F) { Create<TGridColorDropDown>(F, F); }},
};

class EditorOwner : public DropDownGrid, public ::testing::WithParamInterface<OwnerCase> {};

TEST_P(EditorOwner, OtherThanAGridIsAClassCastError) { EXPECT_THROW(GetParam().Make(Form), EInvalidCast); }

INSTANTIATE_TEST_SUITE_P(Editor, EditorOwner, ::testing::ValuesIn(OwnerCases), OwnerCaseName);

TEST_F(DropDownGrid, EachKindMakesItsEditorOnceAndKeepsIt) {
    EXPECT_EQ(G->DropDownEditor(edMemoDropDown), G->DropDownEditor(edMemoDropDown));
    EXPECT_NE(static_cast<void*>(G->DropDownEditor(edMemoDropDown)),
              static_cast<void*>(G->DropDownEditor(edCalculatorDropDown)));
    EXPECT_EQ(G->DropDownEditor(edComboEdit), nullptr);
    EXPECT_FALSE(G->MemoDropDown()->isVisible());
}

// One sheet: the grid with each drop-down editor open over its cell and its popup dropped, the
// popup drawn where it stands on the screen. Looked at by eye; the checks below only pin that
// every popup opened next to its cell.
TEST_F(DropDownGrid, SheetOfEveryEditorWithItsPopupOpen) {
    const TEditorType Kinds[] = {edTrackbarDropDown, edMemoDropDown,        edCalculatorDropDown, edTimePickerDropDown,
                                 edDetailDropDown,   edColorPickerDropDown, edImagePickerDropDown};
    auto* Detail = G->DetailPickerDropDown();
    Detail->Items()->Add()->SetCaption("Alpha");
    Detail->Items()->Add()->SetCaption("Beta");
    G->SetGridCell(3, 3, "Alpha");
    const int TileW = 520, TileH = 520;
    QImage Sheet(TileW * 4, TileH * 2, QImage::Format_RGB32);
    Sheet.fill(Qt::white);
    QPainter P(&Sheet);
    int I = 0;
    for (TEditorType Kind : Kinds) {
        Open(Kind);
        TExtCustomDropDown* D = DropDown();
        D->ShowDropDown();
        QApplication::processEvents();
        ASSERT_TRUE(D->DroppedDown()) << int(Kind);
        const QPoint Origin((I % 4) * TileW, (I / 4) * TileH);
        P.drawImage(Origin, Form->grab().toImage());
        QWidget* Popup = D->DropDownForm();
        const QPoint At = Form->mapFromGlobal(Popup->mapToGlobal(QPoint(0, 0)));
        EXPECT_LE(std::abs(At.y() - (D->mapTo(Form, QPoint(0, D->Height())).y())), 4) << "popup below its cell";
        P.drawImage(Origin + At, Popup->grab().toImage());
        P.drawRect(QRect(Origin, QSize(TileW - 1, TileH - 1)));
        Press(VK_ESCAPE);
        EXPECT_FALSE(D->DroppedDown());
        ++I;
    }
    P.end();
    EXPECT_TRUE(Sheet.save(QDir::current().filePath("grid_dropdown_wrappers.png")));
}

} // namespace
