// The grid's auxiliary editors: the edit box and combo over a form control embedded in a cell's
// HTML text (their keys, and how an edit ends), and the fixed-cell editors' stop step.
#include "grid/base/ExtUtil.h"
#include "grid/control/GridAuxEditors.h"
#include "tests/grid/control/EditFixture.h"

#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

std::string Cell(TExtStringGrid* G) { return std::to_string(G->Col()) + "," + std::to_string(G->Row()); }

const QString ControlCell = "Name <CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"x\" WIDTH=\"60\"> "
                            "<CONTROL TYPE=\"CHECK\" ID=\"b\" VALUE=\"TRUE\"> "
                            "<CONTROL TYPE=\"EDIT\" ID=\"c\" VALUE=\"y\" WIDTH=\"60\">";

class AuxEditors : public EditGrid {
protected:
    void SetUp() override {
        EditGrid::SetUp();
        G->SetDefaultRowHeight(30);
        G->SetColWidths(2, 300); // room for every control of the cell on one line
        G->SetCellEx(3, 2, ControlCell); // display column 2, row 2
        G->OnControlEditDone = [this](TObject* Sender, int ARow, int ACol, const QString& ID, const QString& Type,
                                      const QString& Value) {
            EXPECT_EQ(Sender, G);
            Done.push_back(std::to_string(ARow) + "," + std::to_string(ACol) + " " + ID.toStdString() + " " +
                           Type.toStdString() + " " + Value.toStdString());
        };
    }
    TControlEdit* Edit() const { return G->ControlEditor(); }
    bool EditOpen() const { return Edit()->isVisible(); }
    std::vector<std::string> Done;
};

TEST_F(AuxEditors, EditWantsTabButNotEnterComboWantsTab) {
    EXPECT_EQ(Edit()->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 1);
    EXPECT_EQ(Edit()->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 0);
    EXPECT_EQ(G->ControlCombo()->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 1);
}

TEST_F(AuxEditors, TabMovesToTheCellsNextEditControlThenBackToTheGrid) {
    G->HTMLControlClick(3, 2, "");
    ASSERT_TRUE(EditOpen());
    EXPECT_EQ(Edit()->Parent(), G);
    EXPECT_EQ(Edit()->Text(), "x");
    Edit()->SetText("new");
    Edit()->SimulateKey(VK_TAB, {}, QChar('\t'));
    // The check box is passed over: the second edit control is open now.
    EXPECT_EQ(Done, std::vector<std::string>{"2,3 a EDIT new"});
    ASSERT_TRUE(EditOpen());
    EXPECT_EQ(Edit()->Text(), "y");
    EXPECT_EQ(G->EditedCellControlID(), "c");
    QString V;
    ASSERT_TRUE(GetControlValue(G->GetCellEx(3, 2), "a", V));
    EXPECT_EQ(V, "new");
    Edit()->SimulateKey(VK_TAB, {}, QChar('\t'));
    EXPECT_FALSE(EditOpen());
    EXPECT_EQ(Done.size(), 2u);
    EXPECT_TRUE(G->Focused());
    EXPECT_EQ(Cell(G), "2,3") << "the grid's current cell stays";
}

// Which navigation switch sends Tab on to the next cell: only AdvanceAuto does; the reopening of
// editors after a move (AdvanceAutoEdit, on by default) keeps Tab inside the cell.
struct TabCase {
    const char* Name;
    bool AdvanceAuto;
    bool AdvanceAutoEdit;
    bool GridMovesOn;
};
void PrintTo(const TabCase& C, std::ostream* Os) { *Os << C.Name; }

class TabInControl : public AuxEditors, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabInControl, GoesToTheNextControlUnlessAdvanceAuto) {
    const TabCase& C = GetParam();
    G->Navigation()->SetAdvanceAutoEdit(C.AdvanceAutoEdit);
    G->Navigation()->SetAdvanceAuto(C.AdvanceAuto);
    G->MoveCurrentCell(2, 2, true);
    G->HTMLControlClick(3, 2, "");
    ASSERT_TRUE(EditOpen());
    Edit()->SimulateKey(VK_TAB, {}, QChar('\t'));
    EXPECT_EQ(Done, std::vector<std::string>{"2,3 a EDIT x"});
    if (C.GridMovesOn) {
        EXPECT_FALSE(EditOpen());
        EXPECT_NE(Cell(G), "2,2");
    } else {
        ASSERT_TRUE(EditOpen());
        EXPECT_EQ(G->EditedCellControlID(), "c");
        EXPECT_EQ(Cell(G), "2,2");
    }
}

INSTANTIATE_TEST_SUITE_P(Navigation, TabInControl,
                         ::testing::Values(TabCase{"Defaults", false, true, false},
                                           TabCase{"NoAutoEdit", false, false, false},
                                           TabCase{"AdvanceAuto", true, true, true},
                                           TabCase{"AdvanceAutoWithoutAutoEdit", true, false, true}),
                         [](const ::testing::TestParamInfo<TabCase>& I) { return std::string(I.param.Name); });

TEST_F(AuxEditors, EnterEndsTheEditAndGivesTheGridTheFocus) {
    G->HTMLControlClick(3, 2, "");
    ASSERT_TRUE(EditOpen());
    Edit()->SetText("z");
    Edit()->SimulateKey(VK_RETURN, {}, QChar(13));
    EXPECT_FALSE(EditOpen());
    EXPECT_EQ(Done, std::vector<std::string>{"2,3 a EDIT z"});
    EXPECT_TRUE(G->Focused());
    EXPECT_EQ(Cell(G), "2,3");
}

TEST_F(AuxEditors, PasswordAndMaskControlsSetUpTheEdit) {
    G->SetCellEx(3, 2,
                 "<CONTROL TYPE=\"PASSWORD\" ID=\"p\" VALUE=\"pw\" MAXLEN=\"6\" WIDTH=\"60\"> "
                 "<CONTROL TYPE=\"MASK\" ID=\"m\" VALUE=\"12\" PROP=\"99;0; \" WIDTH=\"60\">");
    G->HTMLControlClick(3, 2, "");
    ASSERT_TRUE(EditOpen());
    EXPECT_EQ(Edit()->PasswordChar(), QChar('*'));
    EXPECT_EQ(Edit()->MaxLength(), 6);
    EXPECT_TRUE(Edit()->EditMask().isEmpty());
    Edit()->SimulateKey(VK_TAB, {}, QChar('\t'));
    ASSERT_TRUE(EditOpen());
    EXPECT_EQ(G->EditedCellControlID(), "m");
    EXPECT_EQ(Edit()->PasswordChar(), QChar());
    EXPECT_EQ(Edit()->EditMask(), "99;0; ");
}

TEST_F(AuxEditors, ComboControlOffersTheHandlersValuesAndStoresTheChoice) {
    G->SetCellEx(3, 2, "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"two\" WIDTH=\"80\">");
    G->OnControlComboList = [](TObject*, int, int, const QString& ID, const QString& Type, const QString& Val,
                               TStringList* Values, bool& Edit, int& DropCount) {
        EXPECT_EQ(ID, "k");
        EXPECT_EQ(Type, "COMBO");
        EXPECT_EQ(Val, "two");
        Values->Add("one");
        Values->Add("two");
        Values->Add("three");
        Edit = false;
        DropCount = 3;
    };
    std::vector<std::string> Chosen;
    G->OnControlComboSelect = [&](TObject*, int ARow, int ACol, int Index, const QString& ID, const QString& Value) {
        Chosen.push_back(std::to_string(ARow) + "," + std::to_string(ACol) + " " + std::to_string(Index) + " " +
                         ID.toStdString() + " " + Value.toStdString());
    };
    G->HTMLControlClick(3, 2, "");
    TControlCombo* Cb = G->ControlCombo();
    ASSERT_TRUE(Cb->isVisible());
    Cb->SetDroppedDown(false);
    EXPECT_EQ(Cb->Style(), csDropDownList);
    EXPECT_EQ(Cb->ItemIndex(), 1);
    EXPECT_EQ(Cb->DropDownCount(), 3);
    Cb->SetItemIndex(2);
    Cb->OnSelect(Cb);
    EXPECT_EQ(Chosen, std::vector<std::string>{"2,3 2 k three"});
    Cb->SimulateKey(VK_TAB, {}, QChar('\t'));
    EXPECT_FALSE(Cb->isVisible());
    EXPECT_EQ(Done, std::vector<std::string>{"2,3 k COMBO three"});
    QString V;
    ASSERT_TRUE(GetControlValue(G->GetCellEx(3, 2), "k", V));
    EXPECT_EQ(V, "three");
}

TEST_F(AuxEditors, ClickOnAnEmbeddedEditOpensItsEditorAndBesideItSelectsTheCell) {
    std::vector<std::string> Clicks;
    G->OnControlClick = [&](TObject*, int ARow, int ACol, const QString& ID, const QString& Type, const QString& Val) {
        Clicks.push_back(std::to_string(ARow) + "," + std::to_string(ACol) + " " + ID.toStdString() + " " +
                         Type.toStdString() + " " + Val.toStdString());
    };
    G->OnClickCell = [&](TObject*, int ARow, int ACol) {
        Clicks.push_back("cell " + std::to_string(ARow) + "," + std::to_string(ACol));
    };
    // Where the renderer puts control "a": the editor opened by the keyboard path shows it.
    G->HTMLControlClick(3, 2, "");
    ASSERT_TRUE(EditOpen());
    const TPoint OnA{Edit()->Left() + 5, Edit()->Top() + 2};
    Edit()->SimulateKey(VK_RETURN, {}, QChar(13));
    ASSERT_FALSE(EditOpen());
    Done.clear();

    auto Click = [&](TPoint P) {
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(P.X, P.Y));
        G->Perform(WM_LBUTTONUP, 0, MakeLParam(P.X, P.Y));
    };
    Click(OnA);
    EXPECT_EQ(Clicks, std::vector<std::string>{"2,2 a EDIT x"});
    ASSERT_TRUE(EditOpen());
    EXPECT_EQ(Edit()->Text(), "x");
    Edit()->SimulateKey(VK_RETURN, {}, QChar(13));

    Clicks.clear();
    const TRect R = G->CellRect(2, 2);
    Click(TPoint{R.Left + 6, R.Top + 4}); // on the label "Name"
    EXPECT_EQ(Clicks, std::vector<std::string>{"cell 2,2"});
    EXPECT_FALSE(EditOpen());
    EXPECT_EQ(Cell(G), "2,2");

    // A read-only cell's controls are not edited.
    Clicks.clear();
    G->SetReadOnly(3, 2, true);
    Click(OnA);
    EXPECT_FALSE(EditOpen());
    for (const std::string& S : Clicks) EXPECT_EQ(S.find(" a EDIT"), std::string::npos) << S;
}

TEST_F(AuxEditors, CellWithoutEditControlsLeavesTheFocusWithTheGrid) {
    G->SetCellEx(3, 2, "<CONTROL TYPE=\"CHECK\" ID=\"b\" VALUE=\"TRUE\">");
    G->HTMLControlClick(3, 2, "");
    EXPECT_FALSE(EditOpen());
    EXPECT_TRUE(G->Focused());
    EXPECT_TRUE(Done.empty());
}

// ---- the fixed-cell editors' stop step --------------------------------------------------------------------
struct StopCase {
    const char* Name;
    bool Combo;
    bool Valid;
    QString Typed;
    QString Stored; // the header text afterwards
    bool Result;
};
void PrintTo(const StopCase& C, std::ostream* Os) { *Os << C.Name; }

class FixedCellStop : public EditGrid, public ::testing::WithParamInterface<StopCase> {};

TEST_P(FixedCellStop, ValidatesStoresAndHides) {
    const StopCase& C = GetParam();
    TWinControl* E = C.Combo ? static_cast<TWinControl*>(G->FixedCellCombo()) : G->FixedCellEdit();
    auto Start = [&](int RealCol, int ARow) {
        if (C.Combo) {
            G->FixedCellCombo()->FCol = RealCol;
            G->FixedCellCombo()->FRow = ARow;
        } else {
            G->FixedCellEdit()->FCol = RealCol;
            G->FixedCellEdit()->FRow = ARow;
        }
    };
    Start(3, 0); // the header of real column 3 (display column 2)
    E->SetBounds(G->CellRect(2, 0).Left, 0, 80, 20);
    E->SetVisible(true);
    E->SetText(C.Typed);
    std::vector<std::string> Log;
    G->OnCellValidate = [&](TObject* Sender, int ACol, int ARow, QString& Value, bool& Valid) {
        EXPECT_EQ(Sender, G);
        EXPECT_TRUE(Valid);
        Log.push_back("validate " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
        Value = Value.toUpper();
        Valid = C.Valid;
    };
    G->OnEditingDone = [&](TObject* Sender) {
        EXPECT_EQ(Sender, G);
        Log.push_back("done");
    };
    const bool R = C.Combo ? G->FixedCellCombo()->StopEdit() : G->FixedCellEdit()->StopEdit();
    EXPECT_EQ(R, C.Result);
    EXPECT_EQ(G->GetCellEx(3, 0), C.Stored);
    EXPECT_EQ(E->isVisible(), !C.Result);
    std::vector<std::string> Want{"validate 3,0 " + C.Typed.toStdString()};
    if (C.Valid) Want.push_back("done");
    EXPECT_EQ(Log, Want);
    // A header never becomes the current cell: the refusal leaves the current cell alone.
    EXPECT_EQ(Cell(G), "2,3");
    if (!C.Valid) {
        EXPECT_TRUE(E->isVisible()) << "the edit goes on";
    }
}

INSTANTIATE_TEST_SUITE_P(Editors, FixedCellStop,
                         ::testing::Values(StopCase{"edit_valid", false, true, "abc", "ABC", true},
                                           StopCase{"edit_refused", false, false, "abc", "3,0", false},
                                           StopCase{"combo_valid", true, true, "xy", "XY", true},
                                           StopCase{"combo_refused", true, false, "xy", "3,0", false}),
                         [](const ::testing::TestParamInfo<StopCase>& I) { return std::string(I.param.Name); });

TEST_F(EditGrid, FixedCellEditorsDropEnterAndStopWhenLeft) {
    TGridTransEdit* E = G->FixedCellEdit();
    EXPECT_FALSE(E->isVisible());
    EXPECT_EQ(E->BorderStyle(), bsNone);
    E->FCol = 1;
    E->FRow = 0;
    E->SetBounds(G->CellRect(1, 0).Left, 0, 80, 20);
    E->SetVisible(true);
    E->SetText("Head");
    E->SetFocus();
    QApplication::processEvents();
    E->SimulateKey(VK_RETURN, {}, QChar(13));
    EXPECT_TRUE(E->isVisible()) << "Enter is dropped";
    EXPECT_EQ(E->Text(), "Head");
    Other->SetFocus(); // leaving the editor stops the edit
    QApplication::processEvents();
    EXPECT_FALSE(E->isVisible());
    EXPECT_EQ(G->GetCellEx(1, 0), "Head");
}

TEST(FixedCellEditorAlone, WithoutAGridStopOnlyHides) {
    auto* E = new TGridTransEdit(nullptr, nullptr);
    std::unique_ptr<TGridTransEdit> Guard(E);
    E->SetVisible(true);
    EXPECT_TRUE(E->StopEdit());
    EXPECT_FALSE(E->Visible());
}

TEST_F(AuxEditors, EditorsPicture) {
    G->HTMLControlClick(3, 2, "");
    ASSERT_TRUE(EditOpen());
    TGridTransEdit* F = G->FixedCellEdit();
    const TRect H = G->CellRect(1, 0);
    F->FCol = 1;
    F->FRow = 0;
    F->SetBounds(H.Left + 1, H.Top + 1, H.Width() - 1, H.Height() - 1);
    F->SetText("Header");
    F->SetVisible(true);
    QApplication::processEvents();
    const QImage Img = Form->grab().toImage();
    EXPECT_TRUE(Img.save(QCoreApplication::applicationDirPath() + "/grid_aux_editors.png"));
    // The control editor lies inside its cell.
    const TRect C = G->CellRect(2, 2);
    EXPECT_GE(Edit()->Left(), C.Left);
    EXPECT_LE(Edit()->Left() + Edit()->Width(), C.Right);
}

} // namespace
