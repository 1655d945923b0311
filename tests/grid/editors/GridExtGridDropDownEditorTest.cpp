// The grid's grid-picker editor opened from a cell: the cell's value in, typing with lookup,
// Enter committing through the validation, a refused value staying out of the cell, Escape
// bringing the cell's text back, and choosing in the popup grid.
#include "grid/control/GridDropDownWrapper_ExtGrid.h"
#include "tests/grid/control/EditFixture.h"

#include <QMouseEvent>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class GridPickerEditorTest : public EditGrid {
protected:
    void SetUp() override {
        EditGrid::SetUp();
        // Display column 2 (real column 3) edits with the grid picker.
        G->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
            if (ACol == 3) E = edExtGridDropDown;
        };
        P = G->ExtGridDropDown();
        P->Columns()->Add()->SetHeader("Fruit");
        P->Columns()->Add()->SetHeader("Code");
        const char* Rows[][2] = {{"Apple", "A1"}, {"Apricot", "A2"}, {"Banana", "B1"}, {"Cherry", "C1"}};
        for (auto& R : Rows) {
            auto* It = P->Items()->Add();
            It->Text()->Add(R[0]);
            It->Text()->Add(R[1]);
        }
        P->EndUpdate();
    }
    void TearDown() override {
        G->OnCellValidate = nullptr;
        EditGrid::TearDown();
    }
    bool PickerOpen() const { return P->isVisible() && G->EditorControl() == P; }
    void Open() {
        Key(VK_F2);
        ASSERT_TRUE(PickerOpen());
    }
    // Keys go where the keyboard is: the popup grid while it is open, else the picker.
    void PKey(Word K, TShiftState Shift = {}) {
        if (P->DroppedDown())
            P->Grid()->SimulateKey(K, Shift, QChar());
        else
            P->SimulateKey(K, Shift, QChar());
    }
    void PType(const QString& S) {
        for (QChar C : S) P->SimulateKey(Word(C.toUpper().unicode()), {}, C);
    }
    TGridExtGridDropDown* P = nullptr;
};

TEST_F(GridPickerEditorTest, OpensOverTheCellWithItsText) {
    G->SetGridCell(3, 3, "Banana");
    Open();
    EXPECT_EQ(P->Text(), "Banana");
    EXPECT_EQ(P->ItemIndex(), 2);
    EXPECT_EQ(P->Grid(), static_cast<TExtStringGrid*>(P->GetGrid()));
    EXPECT_NE(P->Grid(), G);
}

TEST_F(GridPickerEditorTest, TypingLooksUpAndEnterWritesTheItemIntoTheCell) {
    Open();
    P->SetText("");
    PType("ch");
    EXPECT_EQ(P->Text(), "Cherry");
    PKey(VK_RETURN);
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3), "Cherry");
    EXPECT_EQ(CellAt(2, 3), "2,3"); // the hidden column is left alone
}

TEST_F(GridPickerEditorTest, ARefusedValueStaysOutOfTheCellAndTheEditorStaysOpen) {
    std::vector<std::string> Seen;
    G->OnCellValidate = [&](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
        Seen.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString());
        Valid = Value != "Banana";
        if (!Valid) Value = "not that";
    };
    Open();
    P->SetText("");
    PType("b");
    PKey(VK_RETURN);
    EXPECT_TRUE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    EXPECT_EQ(P->Text(), "not that");
    EXPECT_EQ(P->SelText(), "not that");
    EXPECT_EQ(G->Row(), 3);
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), "3,3 Banana");
    P->SetText("Apple");
    PKey(VK_RETURN);
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3), "Apple");
}

TEST_F(GridPickerEditorTest, EscapeBringsBackTheCellsTextAndLeavesTheCell) {
    Open();
    P->SetText("");
    PType("apr");
    ASSERT_EQ(P->Text(), "Apricot");
    PKey(VK_ESCAPE);
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    EXPECT_EQ(P->Text(), "3,3");
}

TEST_F(GridPickerEditorTest, ARowChosenInThePopupIsCommittedByEnter) {
    Open();
    PKey(VK_F4);
    ASSERT_TRUE(P->DroppedDown());
    ASSERT_TRUE(PickerOpen()); // the popup taking the focus does not end the edit
    PKey(VK_DOWN); // from Apple, the first row, two rows down
    PKey(VK_DOWN);
    PKey(VK_RETURN); // chooses in the popup, which closes
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_TRUE(PickerOpen());
    EXPECT_EQ(P->Text().toStdString(), "Banana");
    PKey(VK_RETURN);
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3).toStdString(), "Banana");
}

TEST_F(GridPickerEditorTest, EscapeInTheOpenPopupCancelsTheEdit) {
    Open();
    PKey(VK_F4);
    ASSERT_TRUE(P->DroppedDown());
    PKey(VK_DOWN);
    PKey(VK_ESCAPE);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(CellAt(3, 3), "3,3");
}

TEST_F(GridPickerEditorTest, EscapeAfterARowWasChosenInThePopupBringsBackTheCellsText) {
    Open();
    PKey(VK_F4);
    PKey(VK_DOWN);
    PKey(VK_RETURN); // Apricot is chosen; the popup closes, the edit stays open
    ASSERT_EQ(P->Text(), "Apricot");
    ASSERT_TRUE(PickerOpen());
    PKey(VK_ESCAPE);
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
    EXPECT_EQ(P->Text(), "3,3");
}

// The keys that end the edit: the value is validated before it is written, and a refused one
// never reaches the cell nor lets the grid move on.
struct PickerCommitCase {
    const char* Name;
    Word Key;
    bool Refuse;
    const char* Cell; // what the edited cell holds afterwards
    int Row; // the grid's row afterwards
    bool StaysOpen;
};
void PrintTo(const PickerCommitCase& C, std::ostream* Os) { *Os << C.Name; }

class GridPickerCommit : public GridPickerEditorTest, public ::testing::WithParamInterface<PickerCommitCase> {};

TEST_P(GridPickerCommit, CommitKeysValidateBeforeWriting) {
    const PickerCommitCase& C = GetParam();
    std::vector<std::string> Seen;
    G->OnCellValidate = [&](TObject*, int ACol, int ARow, QString& Value, bool& Valid) {
        Seen.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + Value.toStdString() + " cell " +
                       G->GetGridCell(ACol, ARow).toStdString());
        Valid = !C.Refuse;
        if (!Valid) Value = "refused";
    };
    Open();
    P->SetText("");
    PType("ch");
    ASSERT_EQ(P->Text(), "Cherry");
    PKey(C.Key);
    EXPECT_EQ(CellAt(3, 3), C.Cell);
    EXPECT_EQ(G->Row(), C.Row);
    EXPECT_EQ(PickerOpen(), C.StaysOpen);
    ASSERT_EQ(Seen.size(), 1u);
    // The handler saw the edited cell (real column) as it was before the edit.
    EXPECT_EQ(Seen[0], "3,3 Cherry cell 3,3");
    if (C.StaysOpen) EXPECT_EQ(P->SelText(), "refused");
}

INSTANTIATE_TEST_SUITE_P(Keys, GridPickerCommit,
                         ::testing::Values(PickerCommitCase{"enter_accepted", VK_RETURN, false, "Cherry", 3, false},
                                           PickerCommitCase{"enter_refused", VK_RETURN, true, "3,3", 3, true},
                                           PickerCommitCase{"down_accepted_moves_down", VK_DOWN, false, "Cherry", 4,
                                                            false},
                                           PickerCommitCase{"down_refused_stays", VK_DOWN, true, "3,3", 3, true},
                                           PickerCommitCase{"up_accepted_moves_up", VK_UP, false, "Cherry", 2, false},
                                           PickerCommitCase{"up_refused_stays", VK_UP, true, "3,3", 3, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(GridPickerEditorTest, LeavingTheEditorWithARefusedValueLeavesTheCellAlone) {
    G->OnCellValidate = [](TObject*, int, int, QString& Value, bool& Valid) { Valid = Value != "Banana"; };
    Open();
    P->SetText("");
    PType("ban");
    ASSERT_EQ(P->Text(), "Banana");
    FocusAway();
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3), "3,3");
}

// A press outside the open popup closes it keeping the row the keys moved to; the edit stays
// open with that value until it is left.
TEST_F(GridPickerEditorTest, APressOutsideThePopupKeepsItsRowAndLeavingCommitsIt) {
    Open();
    PKey(VK_F4);
    ASSERT_TRUE(P->DroppedDown());
    PKey(VK_DOWN);
    ASSERT_EQ(P->Text().toStdString(), "Apricot");
    TDropDownForm* F = P->DropDownForm();
    const QPoint Outside(-20, -20);
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(Outside), QPointF(F->mapToGlobal(Outside)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(F, &Press);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_TRUE(PickerOpen());
    EXPECT_EQ(P->Text().toStdString(), "Apricot");
    EXPECT_EQ(CellAt(3, 3).toStdString(), "3,3");
    FocusAway();
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3).toStdString(), "Apricot");
}

// The grid's events, in the order typing with lookup, choosing in the popup and committing raise
// them.
TEST_F(GridPickerEditorTest, TypingChoosingAndCommittingRaiseTheGridsEventsInOrder) {
    std::vector<std::string> Log;
    G->OnKeyPress = [&](TObject*, QChar& K) { Log.push_back("key " + QString(K).toStdString()); };
    G->OnEditChange = [&](TObject*, int, int, const QString& V) { Log.push_back("change " + V.toStdString()); };
    G->OnCellValidate = [&](TObject*, int, int, QString& V, bool&) {
        Log.push_back("validate " + V.toStdString() + " cell " + CellAt(3, 3).toStdString());
    };
    Open();
    P->SelectAll();
    Log.clear();
    PType("b");
    PKey(VK_F4);
    PKey(VK_DOWN);
    PKey(VK_RETURN); // chooses Cherry in the popup
    PKey(VK_RETURN); // commits it
    // A text reported twice in a row counts once: the completion and the lookup both write it.
    Log.erase(std::unique(Log.begin(), Log.end()), Log.end());
    // The Enter that commits reaches the grid's key-press as well; no Enter of the popup does.
    EXPECT_EQ(Log,
              (std::vector<std::string>{"key b", "change banana", "change Banana", "change Cherry",
                                        "validate Cherry cell 3,3", "key \r"}));
    EXPECT_EQ(CellAt(3, 3).toStdString(), "Cherry");
}

TEST_F(GridPickerEditorTest, TabWithTabNavigationWritesTheValueAndMovesOn) {
    G->SetOptions(G->Options() << goTabs);
    Open();
    P->SetText("");
    PType("apr");
    PKey(VK_TAB);
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(CellAt(3, 3), "Apricot");
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 3);
}

TEST_F(GridPickerEditorTest, TypedKeysReachTheGridsKeyPressWithThePickerAsSender) {
    std::vector<std::string> Seen;
    G->OnKeyPress = [&](TObject* S, QChar& K) {
        Seen.push_back(std::string(S == P ? "picker " : "other ") + QString(K).toStdString());
    };
    Open();
    P->SetText("");
    PType("b");
    EXPECT_EQ(Seen, (std::vector<std::string>{"picker b"}));
    EXPECT_EQ(P->Text(), "Banana");
}

TEST_F(GridPickerEditorTest, ItemsAddedWithoutAnUpdateBracketAreCompletedOnceTheEditorOpens) {
    P->SetLookupMethod(lmNone); // only the edit's completion, which reads the lookup list
    auto* It = P->Items()->Add();
    It->Text()->Add("Damson");
    It->Text()->Add("D1");
    Open();
    P->SetText("");
    PType("d");
    EXPECT_EQ(P->Text().toStdString(), "Damson");
    EXPECT_EQ(P->ItemIndex(), 4);
}

} // namespace
