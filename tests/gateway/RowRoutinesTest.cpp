// The rule-row routines and the row clipboard: copy, paste, delete and insert on a column grid
// (check-box columns as text) and on a string grid with cell check boxes and read-only flags, and
// the two hooks. The column grid keeps a hidden column: the routines copy every real column.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "gateway/UComon_Grid.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Rows = 5; // data rows 1..5

class ColumnGridRows : public ::testing::Test {
protected:
    void SetUp() override {
        Load_English_Strings();
        Row_Clipboard->Clear();
        Grid.reset(Create<TExtColumnGrid>(nullptr));
        Grid->SetColCount(5); // 0 number, 1 key, 2 check box, 3 text, 4 hidden text
        Grid->SetRowCount(Rows + 1);
        Grid->Columns()->Items(2)->SetEditor(edDataCheckBox);
        Grid->HideColumn(4);
        ASSERT_EQ(Grid->ColCount(), 4);
        for (int r = 1; r <= Rows; ++r) Fill(r, "k" + IntToStr(r));
    }
    void TearDown() override {
        Grid.reset();
        Opt_Enable_Jump_Field_Tables = false;
        Opt_Double_Click_Auto_Size = false;
    }
    void Fill(int r, const QString& Key, const QString& Check = "Y") {
        Grid->SetCellEx(1, r, Key);
        Grid->SetCellEx(2, r, Check);
        Grid->SetCellEx(3, r, Key.isEmpty() ? QString() : Key + "t");
        Grid->SetCellEx(4, r, Key.isEmpty() ? QString() : Key + "h");
    }
    QString Row(int r) {
        QStringList L;
        for (int c = 0; c < 5; ++c) L << Grid->GetCellEx(c, r);
        return L.join("|");
    }
    std::unique_ptr<TExtColumnGrid> Grid;
};

TEST_F(ColumnGridRows, CopyThenPasteCarriesEveryRealColumnButTheNumber) {
    Grid_Copy_Row(Grid.get(), 2);
    EXPECT_EQ(Row_Clipboard->Text(), "k2\r\nY\r\nk2t\r\nk2h\r\n");
    Fill(4, "", "N"); // a row holding only a check-box text is free: no question
    Grid_Paste_Row(Grid.get(), 4, true);
    EXPECT_EQ(Row(4), "|k2|Y|k2t|k2h");
}

TEST_F(ColumnGridRows, PasteRefusalsAndTheOverwriteQuestion) {
    struct {
        const char* Name;
        bool Copied;
        int ClipboardEntries; // -1: a copy from this grid
        TModalResult Answer; // mrNone: no question expected
        int Box; // the text shown
        bool Pasted;
    } Cases[] = {
        {"nothing copied in this grid", false, -1, mrNone, 1302, false},
        {"copied from a grid of another shape", true, 3, mrNone, 1301, false},
        {"used row, answered No", true, -1, mrNo, 1300, false},
        {"used row, answered Yes", true, -1, mrYes, 1300, true},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        SetUp();
        Grid_Copy_Row(Grid.get(), 1);
        if (C.ClipboardEntries >= 0) {
            Row_Clipboard->Clear();
            for (int i = 0; i < C.ClipboardEntries; ++i) Row_Clipboard->Add("x");
        }
        const QString Before = Row(3);
        TestDialogs().Reset();
        TestDialogs().ExpectBox(C.Answer == mrNone ? mrOk : C.Answer, Lang[C.Box]);
        Grid_Paste_Row(Grid.get(), 3, C.Copied);
        EXPECT_EQ(Row(3), C.Pasted ? "|k1|Y|k1t|k1h" : Before);
        EXPECT_EQ(TestDialogs().Boxes().back().Type, C.Answer == mrNone ? mtError : mtConfirmation);
    }
}

TEST_F(ColumnGridRows, BlanksOnlyRowIsFree) {
    Grid_Copy_Row(Grid.get(), 1);
    Fill(3, "   ", "Y");
    Grid->SetCellEx(3, 3, " ");
    Grid->SetCellEx(4, 3, QString());
    Grid_Paste_Row(Grid.get(), 3, true); // no box expected
    EXPECT_EQ(Grid->GetCellEx(1, 3), "k1");
}

TEST_F(ColumnGridRows, DeleteMovesRowsUpAndEmptiesTheLast) {
    for (int r = 1; r <= Rows; ++r) Grid->SetCellEx(0, r, IntToStr(r));
    Grid_Delete_Row(1, Grid.get());
    EXPECT_EQ(Row(1), "1|k2|Y|k2t|k2h");
    EXPECT_EQ(Row(4), "4|k5|Y|k5t|k5h");
    EXPECT_EQ(Row(5), "5||||");
    Grid_Delete_Row(5, Grid.get()); // the last row: cleared only
    EXPECT_EQ(Row(4), "4|k5|Y|k5t|k5h");
}

TEST_F(ColumnGridRows, InsertMovesRowsDownOrRefusesWhenTheLastRowIsUsed) {
    // Full table: the last row would drop off the end, so nothing moves and the user is told.
    TestDialogs().ExpectBox(mrOk, Lang[1306]);
    EXPECT_FALSE(Grid_Insert_Row(2, Grid.get(), false));
    EXPECT_EQ(Row(5), "|k5|Y|k5t|k5h");
    EXPECT_EQ(Row(2), "|k2|Y|k2t|k2h");
    // With the last row free: rows 2..4 move down, row 2 is new.
    Fill(5, "", "");
    EXPECT_TRUE(Grid_Insert_Row(2, Grid.get(), true));
    EXPECT_EQ(Row(2), "|Y|||");
    EXPECT_EQ(Row(3), "|k2|Y|k2t|k2h");
    EXPECT_EQ(Row(5), "|k4|Y|k4t|k4h");
    // At the last row, in use again, the insert would empty it: refused as well.
    TestDialogs().ExpectBox(mrOk, Lang[1306]);
    EXPECT_FALSE(Grid_Insert_Row(5, Grid.get(), false));
    EXPECT_EQ(Row(5), "|k4|Y|k4t|k4h");
    Fill(5, "", "");
    EXPECT_TRUE(Grid_Insert_Row(5, Grid.get(), true));
    EXPECT_EQ(Row(5), "|Y|||");
}

TEST_F(ColumnGridRows, EnterMovesToTheNextCellOnlyWithTheOption) {
    struct {
        int Col, Row;
        bool Option;
        int ToCol, ToRow;
        bool Swallowed;
    } Cases[] = {
        {1, 1, true, 2, 1, true}, {3, 1, true, 1, 2, true}, {3, Rows, true, 1, 1, true},
        {0, 3, true, 0, 3, true}, {2, 0, true, 2, 0, true}, {1, 1, false, 1, 1, false},
    };
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(0);
    for (const auto& C : Cases) {
        Opt_Enable_Jump_Field_Tables = C.Option;
        Grid->SetCol(C.Col);
        Grid->SetRow(C.Row);
        QChar Key(13);
        Grid_Enter_Next_Cell(Grid.get(), Key);
        EXPECT_EQ(Grid->Col(), C.ToCol) << C.Col << "," << C.Row;
        EXPECT_EQ(Grid->Row(), C.ToRow) << C.Col << "," << C.Row;
        EXPECT_EQ(Key, C.Swallowed ? QChar(0) : QChar(13));
    }
    QChar Other('a');
    Opt_Enable_Jump_Field_Tables = true;
    Grid_Enter_Next_Cell(Grid.get(), Other);
    EXPECT_EQ(Other, QChar('a'));
}

TEST_F(ColumnGridRows, HeaderDoubleClickSizesTheColumnOnlyWithTheOption) {
    Grid->SetCellEx(3, 2, "a rather long text that does not fit");
    Grid->SetColWidths(3, 20);
    Grid_Header_DblClick(Grid.get(), 0, 3);
    EXPECT_EQ(Grid->ColWidths(3), 20);
    Opt_Double_Click_Auto_Size = true;
    Grid_Header_DblClick(Grid.get(), 1, 3);
    EXPECT_EQ(Grid->ColWidths(3), 20);
    Grid_Header_DblClick(Grid.get(), 0, 3);
    EXPECT_GT(Grid->ColWidths(3), 100);
}

// The string-grid twins: check boxes are cell state, every cell has a read-only flag.
class CheckBoxGridRows : public ::testing::Test {
protected:
    void SetUp() override {
        Load_English_Strings();
        Row_Clipboard->Clear();
        Grid.reset(Create<TExtStringGrid>(nullptr));
        Grid->SetColCount(4);
        Grid->SetRowCount(Rows + 1);
        Grid->AddCheckBoxColumn(1, false, false);
        for (int r = 1; r <= Rows; ++r) {
            Grid->SetCheckBoxState(1, r, r % 2 == 1);
            Grid->SetCellEx(2, r, "t" + IntToStr(r));
            Grid->SetCellEx(3, r, "l" + IntToStr(r));
            Grid->GetCellProperties(3, r)->SetReadOnly(r == 2);
        }
    }
    QString Row(int r) {
        return QString("%1|%2|%3%4")
            .arg(Grid->IsChecked(1, r) ? "X" : "-", Grid->GetCellEx(2, r), Grid->GetCellEx(3, r),
                 Grid->GetCellProperties(3, r)->ReadOnly() ? "!" : "");
    }
    std::unique_ptr<TExtStringGrid> Grid;
};

TEST_F(CheckBoxGridRows, CopyPasteCarriesTheCheckStateNotAText) {
    Grid_Copy_Row_CheckBox(Grid.get(), 2);
    EXPECT_EQ(Row_Clipboard->Strings(0), "N");
    EXPECT_EQ(Row_Clipboard_CheckBox, (QList<bool>{true, false, false}));
    // A single blank makes the row used here (no trimming).
    Grid->SetCellEx(2, 5, " ");
    Grid->SetCellEx(3, 5, QString());
    TestDialogs().ExpectBox(mrYes, Lang[1300]);
    Grid_Paste_Row_CheckBox(Grid.get(), 5, true);
    EXPECT_EQ(Row(5), "-|t2|l2");
    EXPECT_EQ(Grid->GetCellEx(1, 5), QString());
}

TEST_F(CheckBoxGridRows, DeleteMovesStatesAndFlagsUpAndLeavesAnEditableLastRow) {
    Grid_Delete_Row_CheckBox(1, Grid.get(), true);
    EXPECT_EQ(Row(1), "-|t2|l2!");
    EXPECT_EQ(Row(4), "X|t5|l5");
    EXPECT_EQ(Row(5), "X||");
    for (int c = 1; c < 4; ++c) EXPECT_FALSE(Grid->GetCellProperties(c, 5)->ReadOnly()) << c;
}

TEST_F(CheckBoxGridRows, InsertRefusesOnAFullTableAndOtherwiseMovesDown) {
    TestDialogs().ExpectBox(mrOk, Lang[1306]);
    EXPECT_FALSE(Grid_Insert_Row_CheckBox(1, Grid.get(), true));
    EXPECT_EQ(Row(5), "X|t5|l5");
    Grid->SetCellEx(2, 5, QString());
    Grid->SetCellEx(3, 5, QString());
    EXPECT_TRUE(Grid_Insert_Row_CheckBox(1, Grid.get(), true));
    EXPECT_EQ(Row(1), "X||");
    EXPECT_EQ(Row(3), "-|t2|l2!");
    EXPECT_EQ(Row(5), "-|t4|l4");
}

} // namespace
