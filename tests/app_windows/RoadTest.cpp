// The whole road in the running program: a new project, the main parameters, the four table
// editors filled through their grids (a cell typed, Enter to the next), the EDS file, the device
// images and the updater's file, each compared with its golden file. Set TESSARO_WRITE_GOLDEN=1
// to write the golden files anew (then look at them before committing).
#include "app/UAbout.h"
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UNew_Project.h"
#include "app/UOpenConf.h"
#include "app/UParGen.h"
#include "app/USoftOptions.h"
#include "app/UTessaroFirmWare.h"
#include "gateway/UBoot.h"
#include "gateway/UOPC_UA_Server_Access.h"
#include "gateway/USet_PDO_Access.h"
#include "gateway/USet_SDO_Client_Access.h"
#include "gateway/USet_SDO_Server_Access.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"
#include "tests/support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const QString Golden_Dir = QStringLiteral(TESSARO_TEST_DATA "/app/road/");

QByteArray Bytes_Of(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

// Types each text into the current cell and presses Enter, which moves to the next cell.
void Type_Row(TRuleTableForm* F, TExtColumnGrid* G, int Row, const QStringList& Texts) {
    G->SetCol(1);
    G->SetRow(Row);
    for (const QString& T : Texts) {
        G->SetCells(G->Col(), G->Row(), T);
        QChar Enter(13);
        F->KeyPress(G, Enter);
        ASSERT_EQ(Enter, QChar(0));
    }
}

class Road : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Set_App_Dir(Dir.path());
        Reset_Globals();
        Reset_Language();
        SetClock(std::make_shared<TFakeClock>(QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26))));
        Window.reset(Create<TFTessaroFirmWare>(nullptr));
        FNew_Project = Keep(Create<TFNew_Project>(nullptr));
        FOpenConf = Keep(Create<TFOpenConf>(nullptr));
        FAbout = Keep(Create<TFAbout>(nullptr));
        FSoftOptions = Keep(Create<TFSoftOptions>(nullptr));
        FParGen = Keep(Create<TFParGen>(nullptr));
        FOPC_UA_Server_Access = Keep(Create<TFOPC_UA_Server_Access>(nullptr));
        FBoot = Keep(Create<TFBoot>(nullptr));
        FSet_PDO_Access = Keep(Create<TFSet_PDO_Access>(nullptr));
        FSet_SDO_Client_Access = Keep(Create<TFSet_SDO_Client_Access>(nullptr));
        FSet_SDO_Server_Access = Keep(Create<TFSet_SDO_Server_Access>(nullptr));
        Opt_Enable_Jump_Field_Tables = true;
    }
    void TearDown() override {
        FNew_Project = nullptr;
        FOpenConf = nullptr;
        FAbout = nullptr;
        FSoftOptions = nullptr;
        FParGen = nullptr;
        FOPC_UA_Server_Access = nullptr;
        FBoot = nullptr;
        FSet_PDO_Access = nullptr;
        FSet_SDO_Client_Access = nullptr;
        FSet_SDO_Server_Access = nullptr;
        Others.clear();
        Window.reset();
        SetClock(nullptr);
        Set_App_Dir(QString());
        Reset_Globals();
    }
    template <class T>
    T* Keep(T* F) {
        Others.emplace_back(F);
        return F;
    }
    // The file against its golden file; paths of this run's folder are written as "@APP@".
    void Compare(const QString& Path, const QString& Golden) {
        QByteArray Got = Bytes_Of(Path);
        ASSERT_FALSE(Got.isEmpty()) << Path.toStdString();
        QString App = App_Dir();
        if (App.endsWith('/')) App.chop(1);
        Got.replace(App.toUtf8(), "@APP@");
        if (qEnvironmentVariableIsSet("TESSARO_WRITE_GOLDEN")) {
            QFile F(Golden_Dir + Golden);
            ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
            F.write(Got);
            return;
        }
        EXPECT_EQ(Got, Bytes_Of(Golden_Dir + Golden)) << Golden.toStdString();
    }
    QTemporaryDir Dir;
    std::unique_ptr<TFTessaroFirmWare> Window;
    std::vector<std::unique_ptr<TForm>> Others;
};

TEST_F(Road, NewProjectToUpdaterFile) {
    // 1. A new project.
    TestModal().Expect([](TForm* F) {
        auto* D = dynamic_cast<TFNew_Project*>(F);
        ASSERT_NE(D, nullptr);
        D->E_New_Proj->SetText("Road");
        D->Btn_OKClick(D);
    });
    Window->Btn_Click(Window->Btn_New);
    ASSERT_EQ(Project_Name, "Road");

    // 2. The main parameters: the defaults with a poll time.
    TestModal().Expect([](TForm* F) {
        auto* D = dynamic_cast<TFParGen*>(F);
        ASSERT_NE(D, nullptr);
        D->E_NTP_Poll_Time->SetText("60");
        D->Btn_OKClick(D);
        EXPECT_EQ(D->ModalResult(), mrOk);
    });
    Window->Btn_Click(Window->Btn_Prm_Gen);

    // 3. OPC UA variables: an enabled Int32, a disabled Double, an enabled String of 16 bytes.
    TestModal().Expect([](TForm* F) {
        auto* D = dynamic_cast<TFOPC_UA_Server_Access*>(F);
        ASSERT_NE(D, nullptr);
        TExtStringGrid* G = D->ESG;
        struct {
            bool Enable;
            const char *Type, *Position, *Name, *RW;
        } Vars[] = {{true, "Int32", "0", "Counter", "Read Only"},
                    {false, "Double", "4", "Spare", nullptr},
                    {true, "String", "100", "Label", "Read/Write"}};
        for (int i = 0; i < 3; ++i) {
            const int r = i + 1;
            G->SetCheckBoxState(1, r, Vars[i].Enable);
            G->SetCells(2, r, Vars[i].Type);
            D->ESGComboChange(G, 2, r, 0, Vars[i].Type);
            G->SetCells(3, r, Vars[i].Position);
            G->SetCells(5, r, Vars[i].Name);
            if (Vars[i].RW) G->SetCells(6, r, Vars[i].RW);
        }
        G->SetCells(4, 3, "16");
        D->Btn_OK->Click();
        EXPECT_EQ(D->ModalResult(), mrOk);
    });
    Window->Btn_Click(Window->Btn_OPC_UA_Server_Access);

    // 4. SDO server: two read objects, one write object.
    TestModal().Expect([](TForm* F) {
        auto* D = dynamic_cast<TFSet_SDO_Server_Access*>(F);
        ASSERT_NE(D, nullptr);
        Type_Row(D, D->sga(), 1, {"$2000", "0", "2", "0", "1", "", "", "Speed"});
        Type_Row(D, D->sga(), 2, {"$2000", "1", "4", "2", "3", "4", "5", "Position"});
        D->PageControl1->SetActivePage(D->TS_SDO_Write());
        Type_Row(D, D->sgb(), 1, {"$2100", "0", "1", "10", "", "", "", "Command"});
        D->Btn_OK->Click();
        EXPECT_EQ(D->ModalResult(), mrOk);
    });
    Window->Btn_Click(Window->Btn_SDO_Server_CANopen);

    // 5. SDO client: one read request, one write request sent on change.
    TestModal().Expect([](TForm* F) {
        auto* D = dynamic_cast<TFSet_SDO_Client_Access*>(F);
        ASSERT_NE(D, nullptr);
        Type_Row(D, D->sga(), 1, {"2", "$6000", "1", "1", "100", "20", "", "", "", "Input"});
        D->PageControl1->SetActivePage(D->TS_SDO_Write());
        Type_Row(D, D->sgb(), 1, {"3", "$6200", "1", "2", "0", "Y", "21", "22", "", "", "Output"});
        D->Btn_OK->Click();
        EXPECT_EQ(D->ModalResult(), mrOk);
    });
    Window->Btn_Click(Window->Btn_SDO_Client_CANopen);

    // 6. PDO: one receive and one transmit frame; the row copied and pasted below, then changed.
    TestModal().Expect([](TForm* F) {
        auto* D = dynamic_cast<TFSet_PDO_Access*>(F);
        ASSERT_NE(D, nullptr);
        Type_Row(D, D->sga(), 1, {"$181", "2", "30", "31", "", "", "", "", "", "", "500", "RPDO A"});
        D->sga()->SetRow(1);
        D->Btn_CopyRow->Click();
        D->sga()->SetRow(2);
        D->Btn_PasteRow->Click();
        D->sga()->SetCells(1, 2, "$182");
        D->PageControl1->SetActivePage(D->TS_Transmit_PDO());
        Type_Row(D, D->sgb(), 1, {"$201", "1", "40", "", "", "", "", "", "", "", "1000", "Y", "TPDO A"});
        D->Btn_OK->Click();
        EXPECT_EQ(D->ModalResult(), mrOk);
    });
    Window->Btn_Click(Window->Btn_PDO_CANopen);

    // 7. The EDS file.
    const QString Eds = Project_Dir + "/Road.eds";
    TestDialogs().ExpectFileDialog(true, Eds);
    Window->Btn_Click(Window->Btn_CANopen_EDS);

    // 8. The device images and the updater's file.
    TestModal().Expect([](TForm* F) {
        auto* D = dynamic_cast<TFBoot*>(F);
        ASSERT_NE(D, nullptr);
        D->E_IP1->SetText("192");
        D->E_IP2->SetText("168");
        D->E_IP3->SetText("2");
        D->E_IP4->SetText("50");
        D->Compile_XML_Parameter_New_Boot();
        F->SetModalResult(mrCancel);
    });
    Window->Btn_Click(Window->Btn_CreateBin);

    EXPECT_EQ(TestModal().Shown().size(), 7u);
    Compare(File_ParGen, "ParGen.xml");
    Compare(File_OPC_UA_Server, "OPC_UA_Server.xml");
    Compare(File_SDO_Server_CANopen, "SDO_Server_CANopen.xml");
    Compare(File_SDO_Client_CANopen, "SDO_Client_CANopen.xml");
    Compare(File_PDO_CANopen, "PDO_CANopen.xml");
    Compare(Eds, "Road.eds");
    Compare(Project_Dir + "/bin/bank1.bin", "bank1.bin");
    Compare(Project_Dir + "/bin/bank2.bin", "bank2.bin");
    Compare(App_Dir() + "Ethernet_Update.xml", "Ethernet_Update.xml");
}

} // namespace
