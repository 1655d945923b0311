// Check boxes as cell objects: a plain box keeps its state in the cell's graphic record (so the
// painter finds and draws it, and it travels with its row), a data box keeps it as the cell text.
// The fixture keeps a hidden column; boxes go into the real column after it.
#include "grid/control/ExtCGrid.h"
#include "grid/control/ExtGrid.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

constexpr int HiddenCol = 1; // real column 1 is hidden
constexpr int BoxCol = 2; // real column 2, shown as display column 1

class CellCheckBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(6);
        G->HideColumn(HiddenCol);
        ASSERT_EQ(G->ColCount(), 3);
    }
    TCellGraphic* Record(int Col, int Row) { return dynamic_cast<TCellGraphic*>(G->GetCellGraphic(Col, Row)); }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(CellCheckBoxes, ColumnGivesEveryNonFixedRowAPlainBoxHeldInTheCellsRecord) {
    G->AddCheckBoxColumn(BoxCol, true, false);
    EXPECT_EQ(G->GetCellType(BoxCol, 0), ctEmpty);
    for (int r = 1; r < G->RowCount(); ++r) {
        TCellGraphic* Box = Record(BoxCol, r);
        ASSERT_NE(Box, nullptr) << r;
        EXPECT_EQ(Box->CellType(), ctCheckBox);
        EXPECT_TRUE(Box->CellBoolean());
        EXPECT_EQ(Box->CellHAlign(), haBeforeText);
        EXPECT_TRUE(G->HasCheckBox(BoxCol, r));
    }
    // The state lives in the record: setting it leaves the cell text alone.
    EXPECT_TRUE(G->SetCheckBoxState(BoxCol, 3, false));
    EXPECT_FALSE(Record(BoxCol, 3)->CellBoolean());
    EXPECT_FALSE(G->IsChecked(BoxCol, 3));
    EXPECT_EQ(G->GetCellEx(BoxCol, 3), "");
    // A cell without a box reports none and takes no state.
    bool State = true;
    EXPECT_FALSE(G->GetCheckBoxState(3, 1, State));
    EXPECT_TRUE(State);
    EXPECT_FALSE(G->SetCheckBoxState(3, 1, true));
}

TEST_F(CellCheckBoxes, DataBoxKeepsACheckTextAndReplacesAnyOther) {
    struct {
        const char* Name;
        QString Text;
        bool State;
        QString After;
    } Cases[] = {
        {"empty cell, checked", "", true, "Y"},    {"empty cell, unchecked", "", false, "N"},
        {"other text", "maybe", true, "Y"},        {"check-false text kept", "N", true, "N"},
        {"check-true text kept", "Y", false, "Y"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        G->SetCellEx(BoxCol, 1, C.Text);
        G->AddCheckBox(BoxCol, 1, C.State, true);
        EXPECT_EQ(G->GetCellType(BoxCol, 1), ctDataCheckBox);
        EXPECT_EQ(G->GetCellEx(BoxCol, 1), C.After);
        EXPECT_EQ(G->IsChecked(BoxCol, 1), C.After == "Y");
    }
    G->SetCheckBoxState(BoxCol, 1, false);
    EXPECT_EQ(G->GetCellEx(BoxCol, 1), "N");
}

TEST_F(CellCheckBoxes, OutsideTheGridRaisesAndAttachesNothing) {
    EXPECT_THROW(G->AddCheckBox(4, 1, true, false), Exception);
    EXPECT_THROW(G->AddCheckBox(BoxCol, 6, true, false), Exception);
    // The hidden column is still inside the grid.
    G->AddCheckBox(HiddenCol, 1, true, false);
    EXPECT_TRUE(G->IsChecked(HiddenCol, 1));
}

TEST_F(CellCheckBoxes, BoxTravelsWithItsRowAndANewBoxReplacesTheOld) {
    G->AddCheckBox(BoxCol, 2, true, false);
    G->InsertRows(1, 1);
    EXPECT_FALSE(G->HasCheckBox(BoxCol, 2));
    EXPECT_TRUE(G->IsChecked(BoxCol, 3));
    G->AddCheckBox(BoxCol, 3, false, false);
    EXPECT_EQ(Record(BoxCol, 3)->CellType(), ctCheckBox);
    EXPECT_FALSE(G->IsChecked(BoxCol, 3));
}

TEST_F(CellCheckBoxes, ToggleFlipsThePlainBoxState) {
    G->SetOptions(G->Options() << goEditing);
    G->AddCheckBox(BoxCol, 2, false, false);
    EXPECT_TRUE(G->ToggleCheckBoxCell(BoxCol, 2, true));
    EXPECT_TRUE(G->IsChecked(BoxCol, 2));
    EXPECT_EQ(G->GetCellEx(BoxCol, 2), "");
}

} // namespace
