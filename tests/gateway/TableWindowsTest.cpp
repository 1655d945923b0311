// What every table window does the same way, run over each of them: the table ends at the first
// blank key, Cancel leaves the file, saved and reopened shows the same cells, a refused OK writes
// nothing, a damaged file is reported and not replaced without a question, the texts come from
// the window's own block of numbers in order, and a picture of the window with data.
#include "app/UWindow_Look.h"
#include "platform/gui/Snapshot.h"
#include "tests/gateway/TableWindowTestSupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

namespace {

class TableWindows : public ::testing::TestWithParam<TTableWindow>, public TableWindowFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Form.reset(W().Make());
    }
    void TearDown() override { Form.reset(); }
    const TTableWindow& W() const { return GetParam(); }
    QString File() const { return *W().File; }
    // Fills rows 1..Count of every table with valid rules and saves them through OK.
    void Save_Valid(int Count) {
        Show(Form.get());
        for (int t = 0; t < W().Tables; ++t)
            for (int r = 1; r <= Count; ++r) Set_Row(Form.get(), t, r, W().Valid_Row(t, r + 10 * t));
        Press_OK(Form.get());
        ASSERT_EQ(Form->ModalResult(), mrOk);
        Form->SetModalResult(mrNone);
    }
    std::unique_ptr<TForm> Form;
};

TEST_P(TableWindows, BlankKeyEndsTheTableForTheCheckAndTheFile) {
    Show(Form.get());
    const int Last = Data_Rows(Form.get(), 0);
    Set_Row(Form.get(), 0, 1, W().Valid_Row(0, 1));
    Set_Row(Form.get(), 0, 2, W().Valid_Row(0, 2));
    Set_Cell(Form.get(), 0, 3, W().Key_Column, " ");
    // Rows after the blank key are neither checked nor saved, the last data row included.
    Set_Row(Form.get(), 0, 4, W().Valid_Row(0, 4));
    Set_Cell(Form.get(), 0, 4, W().Bad_Column, W().Bad_Text);
    Set_Row(Form.get(), 0, Last, W().Valid_Row(0, 5));
    Press_OK(Form.get());
    EXPECT_EQ(Form->ModalResult(), mrOk);

    Show(Form.get());
    EXPECT_EQ(Get_Row(Form.get(), 0, 1), W().Valid_Row(0, 1));
    EXPECT_EQ(Get_Row(Form.get(), 0, 2), W().Valid_Row(0, 2));
    for (int r : {3, 4, Last}) EXPECT_TRUE(Get_Row(Form.get(), 0, r).join("").remove('Y').isEmpty()) << r;
}

TEST_P(TableWindows, SavedAndReopenedShowsTheSameCellsAndRewritesTheSameBytes) {
    Save_Valid(3);
    const QByteArray Saved = Read_Bytes(File());
    // The root is named after the file and comes first; the version comment follows it.
    EXPECT_TRUE(Saved.startsWith("<" + QFileInfo(File()).completeBaseName().toUtf8() + ">"))
        << Saved.left(40).toStdString();
    EXPECT_TRUE(Saved.contains("<!--SW_VERSION = 1.000-->"));
    EXPECT_FALSE(Saved.startsWith("<?xml"));
    std::unique_ptr<TForm> Other(W().Make());
    Show(Other.get());
    for (int t = 0; t < W().Tables; ++t)
        for (int r = 1; r <= 3; ++r)
            EXPECT_EQ(Get_Row(Other.get(), t, r), W().Valid_Row(t, r + 10 * t)) << t << " " << r;
    Press_OK(Other.get());
    EXPECT_EQ(Read_Bytes(File()), Saved);
}

TEST_P(TableWindows, CancelAfterEditsLeavesTheFileAndTheNextShowingDropsThem) {
    Save_Valid(2);
    const QByteArray Saved = Read_Bytes(File());
    TestModal().Expect([this](TForm* F) {
        Set_Row(F, 0, 1, W().Valid_Row(0, 7));
        Set_Row(F, 0, 5, W().Valid_Row(0, 8));
        F->FindComponent("Btn_Cancel") ? static_cast<TLbButton*>(F->FindComponent("Btn_Cancel"))->Click()
                                       : F->SetModalResult(mrCancel);
    });
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(Read_Bytes(File()), Saved);
    Show(Form.get());
    EXPECT_EQ(Get_Row(Form.get(), 0, 1), W().Valid_Row(0, 1));
}

TEST_P(TableWindows, RefusedOkShowsTheFirstErrorAndWritesNothing) {
    Save_Valid(1);
    const QByteArray Saved = Read_Bytes(File());
    Show(Form.get());
    Set_Row(Form.get(), 0, 2, W().Valid_Row(0, 2));
    Set_Row(Form.get(), 0, 3, W().Valid_Row(0, 3));
    Set_Cell(Form.get(), 0, 2, W().Bad_Column, W().Bad_Text);
    Set_Cell(Form.get(), 0, 3, W().Bad_Column, W().Bad_Text);
    TestDialogs().ExpectBox(mrOk, W().Bad_Message(2));
    Press_OK(Form.get());
    EXPECT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes().back().Text, W().Bad_Message(2));
    EXPECT_EQ(TestDialogs().Boxes().back().Type, mtError);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_EQ(Read_Bytes(File()), Saved);
    // The window keeps what the user typed.
    EXPECT_EQ(Get_Row(Form.get(), 0, 3).value(W().Bad_Column - 1), W().Bad_Text);
}

TEST_P(TableWindows, NewProjectWritesTheEmptyShape) {
    Show(Form.get());
    Press_OK(Form.get());
    const QByteArray Saved = Read_Bytes(File());
    EXPECT_TRUE(Saved.endsWith("<!--SW_VERSION = 1.000-->") || Saved.endsWith("<!--SW_VERSION = 1.000-->\n"))
        << Saved.toStdString();
    EXPECT_FALSE(Saved.contains("<row"));
}

// A file cut short cannot be read whole: the window says so when it opens, and OK asks before it
// replaces the file with the rows it could show.
TEST_P(TableWindows, DamagedFileIsReportedAndReplacedOnlyOnYes) {
    Save_Valid(3);
    const QByteArray Damaged = Read_Bytes(File()).left(Read_Bytes(File()).size() / 2);
    Write_Bytes(File(), Damaged);
    TestDialogs().ExpectBox(mrOk);
    Show(Form.get());
    ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes().back().Type, mtError);
    EXPECT_TRUE(Incomplete(Form.get()));

    Set_Row(Form.get(), 0, 1, W().Valid_Row(0, 1));
    TestDialogs().ExpectBox(mrNo, Lang[1307]);
    Press_OK(Form.get());
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_EQ(Read_Bytes(File()), Damaged);

    TestDialogs().ExpectBox(mrYes, Lang[1307]);
    Press_OK(Form.get());
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_NE(Read_Bytes(File()), Damaged);
    EXPECT_FALSE(Incomplete(Form.get()));
}

// Every text of the window is the language table's, taken in order from the window's block: a
// language file that numbers each text shows which control took which number.
TEST_P(TableWindows, TextsRunFromTheWindowsBlockStart) {
    const QString Lng = Dir.path() + "/Numbers.lng";
    QByteArray Lines;
    for (int n = W().TextBase; n < W().TextBase + 100; ++n)
        Lines += "STR " + QByteArray::number(n) + " =#" + QByteArray::number(n) + "\r\n";
    Write_Bytes(Lng, Lines);
    Read_Language_File(Lng);
    if (auto* R = dynamic_cast<TRuleTableForm*>(Form.get())) {
        R->Set_Lang();
        int n = W().TextBase;
        auto Next = [&n] { return "#" + IntToStr(n++); };
        EXPECT_EQ(R->Caption(), Next());
        EXPECT_EQ(R->L_SW_Desc->Caption(), Next());
        TLbButton* Buttons[] = {R->Btn_OK,     R->Btn_Cancel,  R->Btn_DelRow,
                                R->Btn_InsRow, R->Btn_CopyRow, R->Btn_PasteRow};
        for (TLbButton* B : Buttons) EXPECT_EQ(B->Caption(), Next());
        for (TLbButton* B : Buttons) EXPECT_EQ(B->Hint(), Next());
        for (TTabSheet* T : R->Tabs) EXPECT_EQ(T->Caption(), Next());
        for (TExtColumnGrid* G : R->Grids)
            for (int c = 0; c < G->ColCount(); ++c) EXPECT_EQ(G->Cells(c, 0), Next()) << c;
        for (size_t g = 0; g < R->Grids.size(); ++g)
            for (int i = 0; i < R->Hint_Lists[g]->Count(); ++i) EXPECT_EQ(R->Hint_Lists[g]->Strings(i), Next());
        // The block goes on with the check's "Error row " text.
        EXPECT_EQ(English_Table().value(n), "Error row ");
        // Header hints show over the data columns' headers only.
        QString Hint;
        R->GridHint(R->Grids[0], 0, 1, Hint);
        EXPECT_EQ(Hint, R->Hint_Lists[0]->Strings(0));
        R->GridHint(R->Grids[0], 1, 1, Hint);
        EXPECT_EQ(Hint, "");
    } else {
        auto* O = dynamic_cast<TFOPC_UA_Server_Access*>(Form.get());
        O->Set_Lang();
        EXPECT_EQ(O->Caption(), "#1400");
        EXPECT_EQ(O->L_SW_Desc->Caption(), "#1401");
        TLbButton* Buttons[] = {O->Btn_OK,     O->Btn_Cancel,  O->Btn_DelRow,
                                O->Btn_InsRow, O->Btn_CopyRow, O->Btn_PasteRow};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(Buttons[i]->Caption(), "#" + IntToStr(1402 + i));
            EXPECT_EQ(Buttons[i]->Hint(), "#" + IntToStr(1408 + i));
        }
        const int Headers[] = {1414, 1415, 1416, 1417, 1418, 1419, 1429, 1420};
        for (int c = 0; c < 8; ++c) EXPECT_EQ(O->ESG->Cells(c, 0), "#" + IntToStr(Headers[c])) << c;
    }
}

// The window with a few rules, for a person to look at; the probes pin the title panel's colour
// and that the grid drew its rows below it.
TEST_P(TableWindows, Picture) {
    Form->Show(); // showing loads the (missing) file: the rows come after it
    for (int t = 0; t < W().Tables; ++t)
        for (int r = 1; r <= 4; ++r) Set_Row(Form.get(), t, r, W().Valid_Row(t, r + 10 * t));
    QCoreApplication::processEvents();
    const QString Path = QCoreApplication::applicationDirPath() + "/table_window_" + W().Name + ".png";
    ASSERT_TRUE(SaveControlPng(Form.get(), Path));
    const QImage Image(Path);
    ASSERT_FALSE(Image.isNull());
    EXPECT_EQ(Image.width(), Form->ClientWidth());
    EXPECT_EQ(Image.height(), Form->ClientHeight());
    const QRgb Title = Image.pixel(Image.width() - 5, 5);
    EXPECT_EQ(qRed(Title), 248);
    EXPECT_EQ(qGreen(Title), 247);
    EXPECT_EQ(qBlue(Title), 237);
    // The grid paints something other than the window's colour between the two panels.
    bool Drawn = false;
    for (int x = 0; x < Image.width() && !Drawn; x += 3) Drawn = Image.pixel(x, Title_Panel_Height + 60) != Title;
    EXPECT_TRUE(Drawn);
    Form->Hide();
}

INSTANTIATE_TEST_SUITE_P(Each, TableWindows, ::testing::ValuesIn(Table_Windows()),
                         [](const ::testing::TestParamInfo<TTableWindow>& I) { return std::string(I.param.Name); });

} // namespace
