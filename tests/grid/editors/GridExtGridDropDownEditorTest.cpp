// The grid's grid-picker editor opened from a cell: the cell's value in, typing with lookup,
// Enter committing through the validation, a refused value staying out of the cell, Escape
// bringing the cell's text back, and choosing in the popup grid.
#include "grid/control/GridDropDownWrapper_ExtGrid.h"
#include "tests/grid/control/EditFixture.h"

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

} // namespace
