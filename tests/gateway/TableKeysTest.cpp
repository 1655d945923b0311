// Typing into a rule table as a user does: a character on an editable cell opens the text editor
// with that character, and Enter stores the value and, with the option that jumps to the next
// field, moves on to the next cell.
#include "app/UComon.h"
#include "platform/gui/Messages.h"
#include "tests/gateway/TableWindowTestSupport.h"

#include <QApplication>

namespace {

class TableKeys : public ::testing::Test, public TableWindowFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Form.reset(Create<TFSet_SDO_Server_Access>(nullptr));
        Form->FormShow(Form.get());
        Form->Show();
        QApplication::processEvents();
        G = Form->Grids[0];
        G->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        Opt_Enable_Jump_Field_Tables = SavedJump;
        Form.reset();
        QApplication::processEvents();
    }
    void ClickCell(int DisplCol, int DisplRow) {
        const TRect R = G->CellRect(DisplCol, DisplRow);
        const LPARAM P = MakeLParam((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, P);
        G->Perform(WM_LBUTTONUP, 0, P);
    }
    bool EditorShown() const { return G->TextEditor() && G->TextEditor()->isVisible(); }
    TControl* Target() const { return EditorShown() ? static_cast<TControl*>(G->TextEditor()) : G; }
    void Type(const QString& S) {
        for (QChar C : S) Target()->SimulateKey(Word(C.toUpper().unicode()), {}, C);
    }
    void Enter() { Target()->SimulateKey(VK_RETURN); }

    std::unique_ptr<TFSet_SDO_Server_Access> Form;
    TExtColumnGrid* G = nullptr;
    bool SavedJump = Opt_Enable_Jump_Field_Tables;
};

TEST_F(TableKeys, TypingOnTheFirstCellOpensTheEditorWithTheCharacter) {
    ASSERT_EQ(G->Col(), 1);
    ASSERT_EQ(G->Row(), 1);
    Type("7");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(G->TextEditor()->Text(), "7");
}

TEST_F(TableKeys, TypingOnAClickedCellAndEnterStoreTheValue) {
    Opt_Enable_Jump_Field_Tables = false;
    ClickCell(4, 3);
    Type("12");
    ASSERT_TRUE(EditorShown());
    Enter();
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(G->Cells(4, 3), "12");
    EXPECT_EQ(G->Col(), 4);
}

TEST_F(TableKeys, EnterWithTheJumpOptionStoresAndMovesToTheNextCell) {
    Opt_Enable_Jump_Field_Tables = true;
    ClickCell(4, 3);
    Type("5");
    Enter();
    EXPECT_EQ(G->Cells(4, 3), "5");
    EXPECT_EQ(G->Col(), 5);
    EXPECT_EQ(G->Row(), 3);
    EXPECT_FALSE(EditorShown());
    // Enter on a cell that is not being edited moves on as well, opening nothing.
    Enter();
    EXPECT_EQ(G->Col(), 6);
    EXPECT_FALSE(EditorShown());
}

} // namespace
