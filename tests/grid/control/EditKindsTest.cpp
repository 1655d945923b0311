// Each editor kind reached the way a user reaches it: keys on the grid open the kind's control
// over the cell (display column 2 edits real column 3, real column 2 is hidden), its own keys or
// the focus leaving it commit, Escape cancels, a refused value stays out of the cell. The column
// grid's combo list and check-box columns open through the same switch.
#include "grid/control/ExtCGrid.h"
#include "grid/control/ExtGrid_Editors.h"
#include "tests/grid/control/EditFixture.h"

#include <functional>

namespace {

class EditKinds : public EditGrid {
public:
    void Away() { FocusAway(); }

protected:
    void SetUp() override {
        EditGrid::SetUp();
        G->UnitEditBtn->Units()->Add("mm");
        G->ClearComboString();
        for (const char* S : {"Alpha", "Beta", "Gamma"}) G->AddComboString(S);
        G->OnCellValidate = [this](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
            Validated.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
            if (Value.startsWith("bad")) {
                Valid = false;
                Value = "fix me";
            }
        };
    }
    void KindOnColumn3(TEditorType Kind) {
        G->OnGetEditorType = [Kind](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = Kind;
        };
    }
    std::vector<std::string> Validated;
};

struct KindCase {
    const char* Name;
    TEditorType Kind;
    const char* CellText;
    std::function<void(EditKinds&, TExtStringGrid*)> Act; // with the editor open through F2
    const char* Stored; // real (3, 3) afterwards
    bool StillOpen;
};
void PrintTo(const KindCase& C, std::ostream* Os) { *Os << C.Name; }

class KindTable : public EditKinds, public ::testing::WithParamInterface<KindCase> {};

TEST_P(KindTable, OpensFromTheGridAndWritesOnlyItsCell) {
    const KindCase& C = GetParam();
    G->SetGridCell(3, 3, C.CellText);
    KindOnColumn3(C.Kind);
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    ASSERT_EQ(G->EditorControlKind(), C.Kind);
    EXPECT_EQ(G->EditCtrl(), G->EditorControl());
    EXPECT_FALSE(TextEditorOpen());
    C.Act(*this, G);
    QApplication::processEvents();
    EXPECT_EQ(CellAt(3, 3), C.Stored);
    EXPECT_EQ(G->EditorControlOpen(), C.StillOpen);
    EXPECT_EQ(G->EditMode(), C.StillOpen);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(CellAt(2, r), QString("2,%1").arg(r)) << "hidden column, row " << r;
}

INSTANTIATE_TEST_SUITE_P(Kinds, KindTable,
                         ::testing::Values(KindCase{"ComboListDownEnter", edComboList, "Beta",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCombo->SimulateKey(VK_DOWN);
                                                        G->EditCombo->SimulateKey(VK_RETURN);
                                                    },
                                                    "Gamma", false},
                                           KindCase{"ComboListEscape", edComboList, "Beta",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCombo->SimulateKey(VK_DOWN);
                                                        G->EditCombo->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "Beta", false},
                                           KindCase{"ComboEditFocusLossCommits", edComboEdit, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditCombo->SetText("typed");
                                                        T.Away();
                                                    },
                                                    "typed", false},
                                           KindCase{"ComboEditRefusedOnEnter", edComboEdit, "Beta",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCombo->SetText("bad");
                                                        G->EditCombo->SimulateKey(VK_RETURN);
                                                        EXPECT_EQ(G->EditCombo->Text(), "fix me");
                                                    },
                                                    "Beta", true},
                                           KindCase{"ComboEditRefusedOnFocusLoss", edComboEdit, "Beta",
                                                    [](EditKinds& T, TExtStringGrid* G) {
                                                        G->EditCombo->SetText("bad");
                                                        T.Away();
                                                    },
                                                    "Beta", false},
                                           KindCase{"SpinUpStepsEnterCommits", edSpinEdit, "5",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetMaxValue(10);
                                                        G->SpinEdit()->SimulateKey(VK_PRIOR);
                                                        G->SpinEdit()->SimulateKey(VK_RETURN);
                                                    },
                                                    "6", false},
                                           KindCase{"SpinEscapeKeepsTheCell", edSpinEdit, "5",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetText("8");
                                                        G->SpinEdit()->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "5", false},
                                           KindCase{"SpinRefused", edSpinEdit, "5",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->SpinEdit()->SetText("bad");
                                                        G->SpinEdit()->SimulateKey(VK_RETURN);
                                                    },
                                                    "5", true},
                                           KindCase{"EditButtonEnter", edEditBtn, "x",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("new");
                                                        G->EditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "new", false},
                                           KindCase{"EditButtonEscape", edEditBtn, "x",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("new");
                                                        G->EditBtn->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "x", false},
                                           KindCase{"EditButtonRefused", edEditBtn, "x",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditBtn->SetText("bad");
                                                        G->EditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "x", true},
                                           KindCase{"UnitEnterStoresValueAndUnit", edUnitEditBtn, "1mm",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        EXPECT_EQ(G->UnitEditBtn->UnitID(), "mm");
                                                        G->UnitEditBtn->SelectAll();
                                                        G->UnitEditBtn->SimulateKey('1');
                                                        G->UnitEditBtn->SimulateKey('2');
                                                        G->UnitEditBtn->SimulateKey(VK_RETURN);
                                                    },
                                                    "12mm", false},
                                           KindCase{"UnitEscape", edUnitEditBtn, "1",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->UnitEditBtn->SetText("12");
                                                        G->UnitEditBtn->SimulateKey(VK_ESCAPE);
                                                    },
                                                    "1", false},
                                           KindCase{"CheckBoxWritesNothing", edCheckBox, "3,3",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->EditCheck->SimulateKey(VK_SPACE);
                                                        G->EditCheck->SimulateKey(VK_RETURN);
                                                    },
                                                    "3,3", false},
                                           KindCase{"ButtonRightMovesOn", edButton, "3,3",
                                                    [](EditKinds&, TExtStringGrid* G) {
                                                        G->GridButton->SimulateKey(VK_RIGHT);
                                                        EXPECT_EQ(G->Col(), 3);
                                                    },
                                                    "3,3", false}),
                         [](const ::testing::TestParamInfo<KindCase>& I) { return std::string(I.param.Name); });

TEST_F(EditKinds, ATypedDigitOpensTheSpinAndReachesIt) {
    G->SetGridCell(3, 3, "");
    KindOnColumn3(edSpinEdit);
    Type("7");
    QApplication::processEvents();
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->SpinEdit()->Text(), "7");
    G->SpinEdit()->SimulateKey(VK_RETURN);
    EXPECT_EQ(CellAt(3, 3), "7");
}

TEST_F(EditKinds, OneValidationPerCommitAndTheEventsInOrder) {
    EditLog L;
    L.Watch(G);
    auto Watched = G->OnGetEditorType;
    G->OnGetEditorType = [&](TObject* S, int ACol, int ARow, TEditorType& E) {
        Watched(S, ACol, ARow, E);
        if (ACol == 3) E = edComboEdit;
    };
    Key(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    G->EditCombo->SetText("Gamma");
    G->EditCombo->SimulateKey(VK_RETURN);
    EXPECT_EQ(Validated, (std::vector<std::string>{"3,3 Gamma"}));
    QApplication::processEvents();
    EXPECT_EQ(CellAt(3, 3), "Gamma");
    ASSERT_GE(L.Lines.size(), 4u);
    EXPECT_EQ(L.Lines.front(), "GetEditorType 3,3");
    EXPECT_EQ(L.Lines[1], "GetEditorProp 3,3");
    EXPECT_EQ(L.Lines[L.Lines.size() - 2], "EditingDone");
    EXPECT_EQ(L.Lines.back(), "EditCellDone 3,3");
}

TEST_F(EditKinds, MovingTheCurrentCellCommitsTheComboIntoItsOwnCell) {
    KindOnColumn3(edComboEdit);
    Key(VK_F2);
    G->EditCombo->SetText("kept");
    G->MoveCurrentCell(4, 6, true);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "kept");
    EXPECT_EQ(CellAt(5, 6), "5,6");
    // A refused value keeps the focus on its cell and the editor open.
    G->MoveCurrentCell(2, 3, true);
    Key(VK_F2);
    G->EditCombo->SetText("bad");
    G->MoveCurrentCell(4, 6, true);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(CellAt(3, 3), "kept");
}

TEST_F(EditKinds, DataCheckBoxAndNoneOpenNoEditor) {
    for (TEditorType Kind : {edDataCheckBox, edNone}) {
        KindOnColumn3(Kind);
        Key(VK_F2);
        EXPECT_FALSE(G->EditorControlOpen()) << int(Kind);
        EXPECT_FALSE(TextEditorOpen()) << int(Kind);
        EXPECT_EQ(CellAt(3, 3), "3,3");
    }
}

// ---- the column grid ----------------------------------------------------------------------------------
class ColumnEditors : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 520, 320);
        G = Create<TExtColumnGrid>(Form, Form);
        G->SetBounds(0, 0, 460, 220);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(70);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 6; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        G->HideColumn(2);
        Form->Show();
        QApplication::processEvents();
        G->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }
    TGridColumnItem* Item(int RealCol) { return G->Columns()->Items(RealCol); }
    TForm* Form = nullptr;
    TExtColumnGrid* G = nullptr;
};

TEST_F(ColumnEditors, AComboListColumnOpensWithItsItemsAndWritesThePick) {
    Item(3)->SetEditor(edComboList);
    for (const char* S : {"a", "b", "c"}) Item(3)->ComboItems()->Add(S);
    G->SetGridCell(3, 2, "a");
    G->MoveCurrentCell(2, 2, true);
    G->SimulateKey(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    ASSERT_EQ(G->EditCombo->Items()->Count(), 3);
    EXPECT_EQ(G->EditCombo->ItemIndex(), 0);
    G->EditCombo->SimulateKey(VK_DOWN);
    G->EditCombo->SimulateKey(VK_RETURN);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(G->GetGridCell(3, 2), "b");
    EXPECT_EQ(G->GetGridCell(2, 2), "2,2");
}

TEST_F(ColumnEditors, ACheckBoxColumnOpensTheCheckBoxEditorAReadOnlyColumnNothing) {
    Item(3)->SetEditor(edCheckBox);
    Item(4)->SetEditor(edComboList);
    Item(4)->SetReadOnly(true);
    G->MoveCurrentCell(2, 2, true);
    G->SimulateKey(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    EXPECT_EQ(G->EditorControlKind(), edCheckBox);
    EXPECT_TRUE(G->EditCheck->Visible());
    G->EditCheck->SimulateKey(VK_ESCAPE); // the check box's own key: the editor stays
    EXPECT_TRUE(G->EditorControlOpen());
    G->EditCheck->SimulateKey(VK_RETURN);
    EXPECT_FALSE(G->EditorControlOpen());
    G->MoveCurrentCell(3, 2, true);
    G->SimulateKey(VK_F2);
    EXPECT_FALSE(G->EditorControlOpen());
    EXPECT_EQ(G->GetGridCell(4, 2), "4,2");
}

TEST_F(ColumnEditors, ASpinColumnGivesTheSpinItsBounds) {
    Item(3)->SetEditor(edSpinEdit);
    Item(3)->SetSpinMin(2);
    Item(3)->SetSpinMax(4);
    Item(3)->SetSpinStep(2);
    G->SetGridCell(3, 2, "2");
    G->MoveCurrentCell(2, 2, true);
    G->SimulateKey(VK_F2);
    ASSERT_TRUE(G->EditorControlOpen());
    G->SpinEdit()->SimulateKey(VK_PRIOR);
    G->SpinEdit()->SimulateKey(VK_PRIOR); // past the maximum: stays
    G->SpinEdit()->SimulateKey(VK_RETURN);
    EXPECT_EQ(G->GetGridCell(3, 2), "4");
}

} // namespace
