// What is each table window's own: the OPC UA window's check boxes, type and access combos,
// lengths and read-only flags, its reader's defaults and its formatted messages; the CANopen
// windows' two grids with one copy flag each, their delete question, the SDO server's one use of
// an (Index, SubIndex) pair, a file missing a section, and the check-box columns' texts on file.
#include "grid/control/ExtGrid_Editors.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Snapshot.h"
#include "tests/gateway/TableWindowTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>

namespace {

class OpcUaWindow : public ::testing::Test, public TableWindowFixture {
protected:
    void SetUp() override {
        Form.reset(Create<TFOPC_UA_Server_Access>(nullptr));
        G = Form->ESG;
    }
    void TearDown() override { Form.reset(); }
    bool Length_ReadOnly(int r) { return G->GetCellProperties(OPC_UA_Col::Length, r)->ReadOnly(); }
    std::unique_ptr<TFOPC_UA_Server_Access> Form;
    TExtStringGrid* G = nullptr;
};

TEST_F(OpcUaWindow, ReaderDefaultsAndLengthsFromTheTypes) {
    Write_Bytes(
        File_OPC_UA_Server,
        R"(<OPC_UA_Server><OPC_UA_Server_Variables>)"
        R"(<row Type="Int32" Position="1" Length="4" Name="a" ReadWrite="Read Only" Mnemonic=""/>)"
        R"(<row Enable="n" Type="Double" Position="2" Name="b" Mnemonic=""/>)"
        R"(<row Enable="N" Type="String" Position="3" Length="32" Name="c" ReadWrite="Read/Write" Mnemonic=""/>)"
        R"(</OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.000-->)");
    Form->FormShow(Form.get());
    EXPECT_TRUE(G->IsChecked(1, 1)); // no Enable: checked
    EXPECT_TRUE(G->IsChecked(1, 2)); // only "N" unchecks
    EXPECT_FALSE(G->IsChecked(1, 3));
    EXPECT_TRUE(G->IsChecked(1, 4)); // a new row is enabled
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 2), ""); // a stored length is read as it is, a missing one empty
    EXPECT_EQ(G->Cells(OPC_UA_Col::ReadWrite, 2), "");
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 3), "32");
    EXPECT_TRUE(Length_ReadOnly(2));
    EXPECT_FALSE(Length_ReadOnly(3));
    EXPECT_FALSE(Length_ReadOnly(4));
}

TEST_F(OpcUaWindow, CombosOfferTheTypeAndAccessListsAndTheTypeSetsTheLength) {
    Form->FormShow(Form.get());
    TEditorType E = edNormal;
    Form->ESGGetEditorType(G, OPC_UA_Col::Type, 1, E);
    EXPECT_EQ(E, edComboList);
    EXPECT_EQ(G->ComboStrings()->Count(), 13);
    EXPECT_EQ(G->ComboStrings()->Strings(12), "ByteString");
    E = edNormal;
    Form->ESGGetEditorType(G, OPC_UA_Col::ReadWrite, 1, E);
    EXPECT_EQ(E, edComboList);
    EXPECT_EQ(G->ComboStrings()->Text(), "Read Only\r\nRead/Write\r\n");
    E = edNormal;
    Form->ESGGetEditorType(G, OPC_UA_Col::Position, 1, E);
    EXPECT_EQ(E, edNormal);

    Form->ESGComboChange(G, OPC_UA_Col::Type, 1, 10, "Double");
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 1), "8");
    EXPECT_TRUE(Length_ReadOnly(1));
    EXPECT_EQ(G->Cells(OPC_UA_Col::ReadWrite, 1), "Read/Write");
    G->SetCells(OPC_UA_Col::ReadWrite, 1, "Read Only");
    Form->ESGComboChange(G, OPC_UA_Col::Type, 1, 11, "String");
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 1), "10");
    EXPECT_FALSE(Length_ReadOnly(1));
    EXPECT_EQ(G->Cells(OPC_UA_Col::ReadWrite, 1), "Read Only");
    // A change in the access column touches nothing else.
    Form->ESGComboChange(G, OPC_UA_Col::ReadWrite, 1, 0, "Read Only");
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 1), "10");
}

TEST_F(OpcUaWindow, OkWritesTheCheckStateAndTheRowsUpToTheBlankType) {
    Form->FormShow(Form.get());
    Set_Row(Form.get(), 0, 1, {"N", "Byte", "5000", "1", "off", "Read Only", ""});
    Set_Row(Form.get(), 0, 2, {"Y", "Int16", "$10", "2", QString::fromUtf8("Temp\u00e9"), "Read/Write", "x<y"});
    G->SetCells(OPC_UA_Col::Position, 4, "7"); // after the blank Type of row 3: not saved
    Form->Btn_OKClick(Form.get());
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_EQ(Read_Bytes(File_OPC_UA_Server),
              QByteArray("<OPC_UA_Server><OPC_UA_Server_Variables>"
                         "<row Enable=\"N\" Type=\"Byte\" Position=\"5000\" Length=\"1\" Name=\"off\" "
                         "ReadWrite=\"Read Only\" Mnemonic=\"\"/>"
                         "<row Enable=\"Y\" Type=\"Int16\" Position=\"$10\" Length=\"2\" Name=\"Temp\xc3\xa9\" "
                         "ReadWrite=\"Read/Write\" Mnemonic=\"x&lt;y\"/>"
                         "</OPC_UA_Server_Variables></OPC_UA_Server>\n<!--SW_VERSION = 1.000-->\n"));
}

TEST_F(OpcUaWindow, NameTheDeviceCannotStoreIsRefused) {
    Form->FormShow(Form.get());
    Set_Row(Form.get(), 0, 1, {"Y", "Byte", "1", "1", QString::fromUtf8("\u20ac"), "Read Only", ""});
    TestDialogs().ExpectBox(mrOk, Format(Lang[1431], {1}));
    Form->Btn_OKClick(Form.get());
    EXPECT_FALSE(QFile::exists(File_OPC_UA_Server));
}

// Deleted rows leave read-only cells at the end of the table; the next showing makes each row's
// cells editable again as its contents call for.
TEST_F(OpcUaWindow, ShowingRecomputesTheReadOnlyFlagsAfterDeletes) {
    Form->FormShow(Form.get());
    const int Last = TFOPC_UA_Server_Access::Data_Rows;
    for (int i = 0; i < 3; ++i) {
        G->GetCellProperties(OPC_UA_Col::Name, Last - i)->SetReadOnly(true);
        G->GetCellProperties(OPC_UA_Col::Length, Last - i)->SetReadOnly(true);
    }
    Set_Row(Form.get(), 0, Last - 1, {"Y", "String", "1", "40", "s", "Read Only", ""});
    G->SetRow(1);
    TestDialogs().ExpectBox(mrYes, "Are you sure to delete the Row number 1");
    Form->Btn_DelRowClick(Form.get());
    Form->FormShow(Form.get());
    for (int r = Last - 3; r <= Last; ++r)
        for (int c = 1; c < 8; ++c) EXPECT_FALSE(G->GetCellProperties(c, r)->ReadOnly()) << r << " " << c;
}

TEST_F(OpcUaWindow, PasteKeepsTheCopiedLengthAndTheTypesFlag) {
    Form->FormShow(Form.get());
    Set_Row(Form.get(), 0, 1, {"N", "String", "1", "32", "s", "", ""});
    Form->VarSetLength("String", 2, 1);
    G->SetCells(OPC_UA_Col::Length, 1, "32");
    G->SetRow(1);
    Form->Btn_CopyRowClick(Form.get());
    G->SetRow(2);
    Form->Btn_PasteRowClick(Form.get());
    EXPECT_EQ(Get_Row(Form.get(), 0, 2), (QStringList{"N", "String", "1", "32", "s", "Read/Write", ""}));
    EXPECT_FALSE(Length_ReadOnly(2));
}

TEST_F(OpcUaWindow, DeleteQuestionWithABadTranslationFallsBackToEnglish) {
    const QString Lng = Dir.path() + "/Bad.lng";
    Write_Bytes(Lng, "STR 1428 =Riga %s da cancellare?\r\n");
    Read_Language_File(Lng);
    Form->FormShow(Form.get());
    G->SetRow(7);
    TestDialogs().ExpectBox(mrNo, "Are you sure to delete the Row number 7");
    Form->Btn_DelRowClick(Form.get());
}

// The window as a user works it with the mouse: the Enable boxes are drawn and a click toggles
// one, and the Length cell of a fixed-size type does not open for typing while an editable cell
// does.
class OpcUaWindowMouse : public OpcUaWindow {
protected:
    void SetUp() override {
        OpcUaWindow::SetUp();
        Form->Show();
        QApplication::processEvents();
        G->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        Form->Hide();
        OpcUaWindow::TearDown();
    }
    TPoint Mid(int C, int R) const {
        const TRect Rc = G->CellRect(C, R);
        return {(Rc.Left + Rc.Right) / 2, (Rc.Top + Rc.Bottom) / 2};
    }
    void Click(int C, int R) {
        const TPoint P = Mid(C, R);
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(P.X, P.Y));
        G->Perform(WM_LBUTTONUP, 0, MakeLParam(P.X, P.Y));
    }
    bool Editor_Open() const { return G->TextEditor() && G->TextEditor()->isVisible(); }
    // Dark pixels inside a cell: a drawn check mark or box frame.
    int Dark_Pixels(const QImage& Image, int C, int R) {
        const TRect Rc = G->CellRect(C, R);
        const QPoint At = G->mapTo(Form.get(), QPoint(0, 0));
        int Dark = 0;
        for (int y = Rc.Top + 2; y < Rc.Bottom - 2; ++y)
            for (int x = Rc.Left + 2; x < Rc.Right - 2; ++x)
                if (qGray(Image.pixel(At.x() + x, At.y() + y)) < 100) ++Dark;
        return Dark;
    }
};

TEST_F(OpcUaWindowMouse, EnableBoxesAreDrawnAndAClickTogglesOne) {
    Set_Row(Form.get(), 0, 1, {"Y", "Int32", "0", "4", "a", "Read Only", ""});
    Set_Row(Form.get(), 0, 2, {"Y", "Int32", "4", "4", "b", "Read Only", ""});
    const QString Path = QCoreApplication::applicationDirPath() + "/table_window_OpcUaVariables_boxes.png";
    ASSERT_TRUE(SaveControlPng(Form.get(), Path));
    const QImage Image(Path);
    EXPECT_GT(Dark_Pixels(Image, OPC_UA_Col::Enable, 2), 8);
    EXPECT_EQ(Dark_Pixels(Image, OPC_UA_Col::Position, 5), 0); // an empty text cell draws no mark

    Click(OPC_UA_Col::Enable, 2);
    EXPECT_FALSE(G->IsChecked(OPC_UA_Col::Enable, 2));
    EXPECT_TRUE(G->IsChecked(OPC_UA_Col::Enable, 1));
    Form->Btn_OKClick(Form.get());
    EXPECT_TRUE(Read_Bytes(File_OPC_UA_Server).contains(R"(<row Enable="N" Type="Int32" Position="4")"));
}

TEST_F(OpcUaWindowMouse, FixedLengthCellStaysClosedAndAStringLengthOpens) {
    Set_Row(Form.get(), 0, 1, {"Y", "Int32", "0", "4", "a", "Read Only", ""});
    Form->VarSetLength("Int32", OPC_UA_Col::Type, 1);
    Set_Row(Form.get(), 0, 2, {"Y", "String", "4", "10", "b", "Read Only", ""});
    Form->VarSetLength("String", OPC_UA_Col::Type, 2);
    Click(OPC_UA_Col::Length, 1);
    Click(OPC_UA_Col::Length, 1);
    EXPECT_FALSE(Editor_Open());
    Click(OPC_UA_Col::Length, 2);
    Click(OPC_UA_Col::Length, 2);
    EXPECT_TRUE(Editor_Open());
}

// Picking a type in the Type column's combo: the grid asks the window for the editor, which
// offers the type list; a pick sets the length at once, and closing stores the type.
TEST_F(OpcUaWindowMouse, TypePickedInTheComboSetsTheLengthAndIsStored) {
    Click(OPC_UA_Col::Type, 1);
    Click(OPC_UA_Col::Type, 1);
    ASSERT_TRUE(G->EditCombo->isVisible());
    EXPECT_EQ(G->EditCombo->Items()->Count(), 13);
    G->EditCombo->Perform(WM_CHAR, 'D', 0); // the first type starting with D
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 1), "8");
    EXPECT_TRUE(Length_ReadOnly(1));
    EXPECT_EQ(G->Cells(OPC_UA_Col::ReadWrite, 1), "Read/Write");
    G->EditCombo->Perform(WM_KEYDOWN, VK_RETURN, 0);
    G->EditCombo->Perform(WM_CHAR, 13, 0);
    Application->ProcessMessages();
    EXPECT_EQ(G->Cells(OPC_UA_Col::Type, 1), "Double");
}

// A letter typed into the Type combo: the combo's own key search picks the first type with
// that letter, and the choice is reported once, as a pick with the mouse is, so the Length
// follows the type before the edit ends. The letter may reach an open combo, or open it from
// the selected cell (the combo then opens on the first type, which is reported as it opens).
class OpcUaTypeKeys : public OpcUaWindowMouse {
protected:
    void SetUp() override {
        OpcUaWindowMouse::SetUp();
        G->OnComboChange = [this](TObject* S, int C, int R, int I, const QString& T) {
            Reports.push_back(T);
            Form->ESGComboChange(S, C, R, I, T);
        };
    }
    // One key as the keyboard delivers it to the widget that has the focus (or to W).
    void Key(int QtKey, const QString& Text, QWidget* W = nullptr) {
        if (!W) W = QApplication::focusWidget();
        ASSERT_NE(W, nullptr);
        QKeyEvent Press(QEvent::KeyPress, QtKey, Qt::NoModifier, Text);
        QApplication::sendEvent(W, &Press);
        QKeyEvent Release(QEvent::KeyRelease, QtKey, Qt::NoModifier, Text);
        QApplication::sendEvent(W, &Release);
        Application->ProcessMessages();
    }
    std::vector<QString> Reports;
};

TEST_F(OpcUaTypeKeys, LetterInTheOpenComboSetsTheLengthOnce) {
    Click(OPC_UA_Col::Type, 2);
    Click(OPC_UA_Col::Type, 2);
    Application->ProcessMessages();
    ASSERT_TRUE(G->EditCombo->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), G->EditCombo->Native());
    Reports.clear();
    Key(Qt::Key_D, "d");
    EXPECT_EQ(Reports, std::vector<QString>{"Double"});
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 2), "8");
    EXPECT_TRUE(Length_ReadOnly(2));
    EXPECT_EQ(G->Cells(OPC_UA_Col::ReadWrite, 2), "Read/Write");
    Key(Qt::Key_Return, "\r");
    EXPECT_EQ(G->Cells(OPC_UA_Col::Type, 2), "Double");
    EXPECT_EQ(Reports.size(), 1u);
}

TEST_F(OpcUaTypeKeys, LetterOnTheSelectedCellOpensTheComboAndSetsTheLengthOnce) {
    Click(OPC_UA_Col::Type, 3);
    Application->ProcessMessages();
    ASSERT_FALSE(G->EditCombo && G->EditCombo->isVisible());
    Key(Qt::Key_S, "s");
    ASSERT_TRUE(G->EditCombo->isVisible());
    EXPECT_EQ(Reports, (std::vector<QString>{"Boolean", "Signed Byte"}));
    EXPECT_EQ(G->Cells(OPC_UA_Col::Length, 3), "1");
    EXPECT_TRUE(Length_ReadOnly(3));
    Key(Qt::Key_Return, "\r", G->EditCombo->Native());
    EXPECT_EQ(G->Cells(OPC_UA_Col::Type, 3), "Signed Byte");
}

// ---- the CANopen windows ------------------------------------------------------------------

class CanOpenWindow : public ::testing::Test, public TableWindowFixture {
protected:
    void TearDown() override { Form.reset(); }
    template <class T>
    T* Make() {
        auto* F = Create<T>(nullptr);
        Form.reset(F);
        F->FormShow(F);
        return F;
    }
    std::unique_ptr<TRuleTableForm> Form;
};

// A click in the row-number column selects that row; the corner cell above it is no row.
// The PDO tables' position headers ("Add B1" ...) are wider than their 45-pixel columns and
// wrap: the header row shows both lines whole, with blank pixels left below the second one.
TEST_F(CanOpenWindow, PdoHeadersShowBothLines) {
    auto* F = Make<TFSet_PDO_Access>();
    F->Show();
    QCoreApplication::processEvents();
    const QString Path = QCoreApplication::applicationDirPath() + "/table_window_Pdo_headers.png";
    ASSERT_TRUE(SaveControlPng(F, Path));
    const QImage Image(Path);
    TExtColumnGrid* G = F->sga();
    EXPECT_GT(G->RowHeights(0), G->DefaultRowHeight());
    const QPoint At = G->mapTo(F, QPoint(0, 0));
    for (int c : {3, 10}) {
        const TRect R = G->CellRect(c, 0);
        int Lowest = -1;
        for (int y = R.Top + 1; y < R.Bottom - 1; ++y)
            for (int x = R.Left + 2; x < R.Right - 3; ++x)
                if (qGray(Image.pixel(At.x() + x, At.y() + y)) < 100) Lowest = y;
        EXPECT_GT(Lowest, (R.Top + R.Bottom) / 2) << "second line of column " << c;
        EXPECT_LT(Lowest, R.Bottom - 3) << "text of column " << c << " clipped at the bottom";
    }
    F->Hide();
}

TEST_F(CanOpenWindow, RowNumberClickSelectsItsRowAndTheCornerSelectsNone) {
    auto* F = Make<TFSet_SDO_Server_Access>();
    F->Show();
    QApplication::processEvents();
    TExtColumnGrid* G = F->sga();
    auto Click = [G](int C, int R) {
        const TRect Rc = G->CellRect(C, R);
        const int X = (Rc.Left + Rc.Right) / 2, Y = (Rc.Top + Rc.Bottom) / 2;
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
        G->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    };
    Click(0, 3);
    EXPECT_EQ(G->Selection().Top, 3);
    EXPECT_EQ(G->Selection().Bottom, 3);
    EXPECT_EQ(G->Selection().Left, 1);
    EXPECT_EQ(G->Selection().Right, G->ColCount() - 1);
    Click(0, 0);
    EXPECT_GE(G->Selection().Top, 1);
    EXPECT_GE(G->Row(), 1);
    F->Hide();
}

TEST_F(CanOpenWindow, CopyFlagsKeepARowInTheGridItCameFrom) {
    auto* F = Make<TFSet_SDO_Client_Access>();
    Set_Row(F, 0, 1, {"1", "0x1000", "0", "1", "100", "0", "", "", "", "m"});
    F->sga()->SetRow(1);
    F->Btn_CopyRowClick(F);
    F->PageControl1->SetActivePage(F->TS_SDO_Write());
    F->sgb()->SetRow(1);
    TestDialogs().ExpectBox(mrOk, Lang[1302]);
    F->Btn_PasteRowClick(F);
    EXPECT_EQ(F->sgb()->Cells(1, 1), "");
    // Back in the first grid, a paste onto a used row asks first.
    F->PageControl1->SetActivePage(F->TS_SDO_Read());
    F->sga()->SetRow(1);
    TestDialogs().ExpectBox(mrNo, Lang[1300]);
    F->Btn_PasteRowClick(F);
    // A new showing forgets the copy.
    F->FormShow(F);
    F->sga()->SetRow(2);
    TestDialogs().ExpectBox(mrOk, Lang[1302]);
    F->Btn_PasteRowClick(F);
}

TEST_F(CanOpenWindow, DeleteAsksWithTheRowNumberAndInsertOnTheLastRowClearsIt) {
    auto* F = Make<TFSet_PDO_Access>();
    for (int r = 1; r <= PDO_Rows; ++r) Set_Row(F, 0, r, Table_Windows()[3].Valid_Row(0, r));
    F->sga()->SetRow(7);
    TestDialogs().ExpectBox(mrNo, "Are you sure to delete the Row number 7");
    F->Btn_DelRow_Click(F);
    EXPECT_EQ(F->sga()->Cells(1, 7), IntToStr(0x180 + 7));
    TestDialogs().ExpectBox(mrYes, "Are you sure to delete the Row number 7");
    F->Btn_DelRow_Click(F);
    EXPECT_EQ(F->sga()->Cells(1, 7), IntToStr(0x180 + 8));
    EXPECT_EQ(F->sga()->Cells(1, PDO_Rows), "");
    EXPECT_EQ(F->sga()->Cells(0, PDO_Rows), IntToStr(PDO_Rows));
    // Row 30 is the last data row: with it free, Insert Row there leaves it empty.
    F->sga()->SetRow(PDO_Rows);
    F->Btn_InsRowClick(F);
    EXPECT_EQ(F->sga()->Cells(1, PDO_Rows), "");
    // With every row in use, Insert Row is refused rather than losing row 30.
    Set_Row(F, 0, PDO_Rows, Table_Windows()[3].Valid_Row(0, 30));
    F->sga()->SetRow(1);
    TestDialogs().ExpectBox(mrOk, Lang[1306]);
    F->Btn_InsRowClick(F);
    EXPECT_EQ(F->sga()->Cells(1, PDO_Rows), IntToStr(0x180 + 30));
}

TEST_F(CanOpenWindow, CheckBoxColumnIsSavedAsItsTextAndEmptyWhenNeverSet) {
    auto* F = Make<TFSet_SDO_Client_Access>();
    Set_Row(F, 1, 1, {"5", "$1000", "0", "2", "0", "", "1", "2", "", "", "never"});
    Set_Row(F, 1, 2, {"5", "$1000", "1", "1", "0", "Y", "3", "", "", "", "on"});
    F->Btn_OK_Click(F);
    EXPECT_EQ(
        Read_Bytes(File_SDO_Client_CANopen),
        QByteArray("<SDO_Client_CANopen><SDO_Read/><SDO_Write>"
                   "<row Device_ID=\"5\" Index=\"$1000\" SubIndex=\"0\" NByte=\"2\" Poll_Time=\"0\" On_Change=\"\" "
                   "Address_B1=\"1\" Address_B2=\"2\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"never\"/>"
                   "<row Device_ID=\"5\" Index=\"$1000\" SubIndex=\"1\" NByte=\"1\" Poll_Time=\"0\" On_Change=\"Y\" "
                   "Address_B1=\"3\" Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"on\"/>"
                   "</SDO_Write></SDO_Client_CANopen>\n<!--SW_VERSION = 1.000-->\n"));
}

TEST_F(CanOpenWindow, SdoServerRefusesAPairUsedTwiceNamingBothRows) {
    auto* F = Make<TFSet_SDO_Server_Access>();
    Set_Row(F, 0, 1, {"$2000", "1", "1", "0", "", "", "", "a"});
    Set_Row(F, 1, 1, {"$2001", "1", "1", "0", "", "", "", "b"});
    Set_Row(F, 1, 2, {"8192", "1", "1", "0", "", "", "", "c"});
    const QString Message = "Error row 2!! [SDO in Write] Index and SubIndex already used in row 1 of SDO in Read";
    TestDialogs().ExpectBox(mrOk, Message);
    F->Btn_OK_Click(F);
    EXPECT_EQ(TestDialogs().Boxes().back().Text, Message);
    EXPECT_FALSE(QFile::exists(File_SDO_Server_CANopen));
}

TEST_F(CanOpenWindow, FileWithoutItsWriteSectionShowsTheReadTableAndIsReported) {
    Write_Bytes(File_SDO_Server_CANopen,
                R"(<SDO_Server_CANopen><SDO_Read><row Index="$2000" SubIndex="0" NByte="1" Address_B1="0" )"
                R"(Address_B2="" Address_B3="" Address_B4="" Mnemonic="a"/></SDO_Read></SDO_Server_CANopen>)");
    const QByteArray Before = Read_Bytes(File_SDO_Server_CANopen);
    TestDialogs().ExpectBox(mrOk, "SDO_Write");
    auto* F = Make<TFSet_SDO_Server_Access>();
    EXPECT_EQ(F->sga()->Cells(1, 1), "$2000");
    EXPECT_EQ(F->sgb()->Cells(1, 1), "");
    TestDialogs().ExpectBox(mrNo, Lang[1307]);
    F->Btn_OK_Click(F);
    EXPECT_EQ(Read_Bytes(File_SDO_Server_CANopen), Before);
}

// A file with more rows than the table holds: the window says the rest was not read, and OK
// asks before the shorter table replaces the file.
TEST_F(CanOpenWindow, RowsBeyondTheTableAreReportedBeforeTheyAreDropped) {
    QByteArray Rows;
    for (int r = 1; r <= PDO_Rows + 1; ++r)
        Rows += "<row COB-ID=\"" + QByteArray::number(r) +
            "\" Dimension=\"1\" Address_B1=\"0\" Address_B2=\"\" "
            "Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" Address_B8=\"\" "
            "TimeOut=\"0\" Mnemonic=\"\"/>";
    Write_Bytes(File_PDO_CANopen, "<PDO_CANopen><Receive_PDO>" + Rows + "</Receive_PDO><Transmit_PDO/></PDO_CANopen>");
    const QByteArray Before = Read_Bytes(File_PDO_CANopen);
    TestDialogs().ExpectBox(mrOk, Lang[1308]);
    auto* F = Make<TFSet_PDO_Access>();
    EXPECT_EQ(F->sga()->Cells(1, PDO_Rows), IntToStr(PDO_Rows));
    TestDialogs().ExpectBox(mrNo, Lang[1307]);
    F->Btn_OK_Click(F);
    EXPECT_EQ(Read_Bytes(File_PDO_CANopen), Before);
    TestDialogs().ExpectBox(mrYes, Lang[1307]);
    F->Btn_OK_Click(F);
    EXPECT_EQ(F->ModalResult(), mrOk);
    EXPECT_FALSE(Read_Bytes(File_PDO_CANopen).contains("COB-ID=\"31\""));
}

} // namespace

namespace {
// Keys typed into the window's grid through its own window procedure: characters open the cell's
// editor and land in it, Enter (with the jump option) stores the text and moves to the next cell.
TEST_F(CanOpenWindow, TypedCellsWithEnterJumpLandInTheirCells) {
    Opt_Enable_Jump_Field_Tables = true;
    auto* F = Make<TFSet_PDO_Access>();
    F->Show();
    QApplication::processEvents();
    TExtColumnGrid* G = F->sga();
    G->SetFocus();
    // The user clicks the first cell, then types.
    const TRect First = G->CellRect(1, 1);
    const int X = (First.Left + First.Right) / 2, Y = (First.Top + First.Bottom) / 2;
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
    G->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    for (const QString Text : {"385", "1", "7"}) {
        // Keys go where the focus is: the open editor, else the grid.
        auto Focused = [G]() -> TWinControl* {
            if (G->TextEditor() && G->TextEditor()->isVisible()) return G->TextEditor();
            return G;
        };
        for (const QChar C : Text) {
            Focused()->Perform(WM_CHAR, C.unicode(), 0);
            Application->ProcessMessages();
        }
        Focused()->Perform(WM_CHAR, 13, 0);
        Application->ProcessMessages();
    }
    EXPECT_EQ(G->Cells(1, 1), "385");
    EXPECT_EQ(G->Cells(2, 1), "1");
    EXPECT_EQ(G->Cells(3, 1), "7");
    EXPECT_EQ(G->Col(), 4);
    Opt_Enable_Jump_Field_Tables = false;
    F->Hide();
}
} // namespace
