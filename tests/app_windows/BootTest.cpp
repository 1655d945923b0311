// The device update dialog: how it shows for each variant, the octet edits, the echo check with
// its outcomes, the parameter file and the updater's run, headless on fake services.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "gateway/UBoot.h"
#include "platform/gui/Snapshot.h"
#include "platform/net/IcmpClient.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"
#include "platform/xml/XMLDoc.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BootDialog : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString OldAppDir;
    TFBoot* OldBoot = nullptr;
    std::shared_ptr<TFakeClock> FakeClock = std::make_shared<TFakeClock>(QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
    std::shared_ptr<TFakeIcmpClient> Icmp = std::make_shared<TFakeIcmpClient>();
    std::shared_ptr<TFakeProcessLauncher> Launcher = std::make_shared<TFakeProcessLauncher>();
    std::shared_ptr<TFakeSerialPorts> Ports = std::make_shared<TFakeSerialPorts>();

    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        OldAppDir = App_Dir();
        Set_App_Dir(Dir.path());
        Load_English_Strings();
        Reset_Globals();
        SW_Code = Const_SW_Code;
        Master_Dir = App_Dir() + "MASTER";
        Project_Dir = App_Dir() + "PROJECTS/P1";
        Last_IP_Address = Default_IP_Address;
        Update_Read_Back = true;
        SetClock(FakeClock);
        SetIcmpClient(Icmp);
        SetProcessLauncher(Launcher);
        SetSerialPorts(Ports);
        OldBoot = FBoot;
        Application->CreateForm(&FBoot);
    }
    void TearDown() override {
        delete FBoot;
        FBoot = OldBoot;
        SetSerialPorts(nullptr);
        SetProcessLauncher(nullptr);
        SetIcmpClient(nullptr);
        SetClock(nullptr);
        Reset_Globals();
        Reset_Language();
        Set_App_Dir(OldAppDir);
    }

    // Shows the dialog as the main window does and runs Action while it is up; then closes it
    // with the Cancel button.
    TModalResult Show(int Form_Type, const std::function<void(TFBoot*)>& Action) {
        FBoot->Form_Type = Form_Type;
        TestModal().Expect([&](TForm*) {
            Action(FBoot);
            FBoot->Btn_Cancel->Click();
        });
        return FBoot->ShowModal();
    }

    QString Updater() const { return App_Dir() + "Ethernet_Update.exe"; }
    QString Parameter_File() const { return App_Dir() + "Ethernet_Update.xml"; }

    void Set_Address(const QString& A, const QString& B, const QString& C, const QString& D) {
        FBoot->E_IP1->SetText(A);
        FBoot->E_IP2->SetText(B);
        FBoot->E_IP3->SetText(C);
        FBoot->E_IP4->SetText(D);
    }
};

QStringList Items(TComboBox* Box) {
    QStringList L;
    for (int i = 0; i < Box->Items()->Count(); ++i) L << Box->Items()->Strings(i);
    return L;
}

// Pictures of the dialog go beside the test program, in the build folder.
QString Png(const QString& Name) { return QCoreApplication::applicationDirPath() + "/" + Name; }

// Key presses and characters as the keyboard sends them, each to the control that has the focus.
void Type(const QString& Text) {
    for (QChar C : Text) {
        QWidget* To = QApplication::focusWidget();
        ASSERT_NE(To, nullptr);
        const int Key = C == u'.' ? int(Qt::Key_Period) : int(C.unicode());
        QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, QString(C));
        QApplication::sendEvent(To, &Press);
        QKeyEvent Release(QEvent::KeyRelease, Key, Qt::NoModifier, QString(C));
        QApplication::sendEvent(To, &Release);
    }
}

TEST_F(BootDialog, EthernetVariantShowsAddressAndOptionsFromTheSharedState) {
    Last_IP_Address = "192.168.1.7";
    Update_Option_Index = 2;
    Update_Read_Back = false;
    const TModalResult R = Show(1, [&](TFBoot* F) {
        EXPECT_EQ(F->Caption(), "Update Device by Ethernet (UDP)");
        EXPECT_EQ(F->L_SW_Desc->Caption(), "Update Device Using the Ethernet Port");
        EXPECT_EQ(F->L_SW_Code->Caption(), "CFG4180");
        EXPECT_TRUE(F->P_IP_Address->isVisible());
        EXPECT_TRUE(F->P_Options->isVisible());
        EXPECT_FALSE(F->P_Serial->isVisible());
        EXPECT_FALSE(F->P_Eth_Search->isVisible());
        EXPECT_EQ(F->ClientWidth(), 449);
        EXPECT_EQ(F->ClientHeight(), 230);
        EXPECT_EQ(F->P_Title->Top(), 0);
        EXPECT_EQ(F->P_IP_Address->Top(), 69);
        EXPECT_EQ(F->P_Options->Top(), 118);
        EXPECT_EQ(F->P_Button->Top(), 190);
        EXPECT_EQ(F->E_IP1->Text(), "192");
        EXPECT_EQ(F->E_IP2->Text(), "168");
        EXPECT_EQ(F->E_IP3->Text(), "1");
        EXPECT_EQ(F->E_IP4->Text(), "7");
        EXPECT_EQ(F->CB_Update_Options->Items()->Count(), 3);
        EXPECT_EQ(F->CB_Update_Options->ItemIndex(), 2);
        EXPECT_EQ(F->CB_Update_Options->Text(), "Configuration");
        EXPECT_FALSE(F->CB_Update_Option_Read_Back->Checked());
        EXPECT_EQ(F->ActiveControl(), F->E_IP1);
        EXPECT_EQ(F->Btn_Update->Caption(), "Execute Update Firmware");
        EXPECT_EQ(F->E_IP3->Hint(), "Insert third byte of IP Address");
        EXPECT_TRUE(SaveControlPng(F, Png("TFBoot_Ethernet.png")));
    });
    EXPECT_EQ(R, mrCancel);
}

TEST_F(BootDialog, SerialVariantListsThePortsAndStartsNothing) {
    Ports->Set({"/dev/ttyS0", "/dev/ttyUSB1"});
    Update_Option_Index = 1;
    Show(0, [&](TFBoot* F) {
        EXPECT_EQ(F->Caption(), "Update Device by Serial");
        EXPECT_EQ(F->L_SW_Desc->Caption(), "Update Device Using the Serial Port");
        EXPECT_TRUE(F->P_Serial->isVisible());
        EXPECT_FALSE(F->P_IP_Address->isVisible());
        EXPECT_EQ(F->ClientHeight(), 232);
        EXPECT_EQ(F->P_Serial->Top(), 69);
        EXPECT_EQ(F->P_Options->Top(), 120);
        EXPECT_EQ(Items(F->CB_COM_Port), QStringList({"COM1", "COM34"}));
        EXPECT_EQ(F->CB_COM_Port->ItemIndex(), 0);
        EXPECT_EQ(F->ActiveControl(), F->CB_COM_Port);
        EXPECT_TRUE(SaveControlPng(F, Png("TFBoot_Serial.png")));

        // The list follows the ports present when asked again; no ports, nothing selected.
        Ports->Set({});
        F->Btn_COM_List->Click();
        EXPECT_EQ(F->CB_COM_Port->Items()->Count(), 0);
        EXPECT_EQ(F->CB_COM_Port->ItemIndex(), -1);

        F->CB_Update_Options->SetItemIndex(2);
        F->CB_Update_Option_Read_Back->SetChecked(false);
        F->Btn_Update->Click();
    });
    EXPECT_EQ(Update_Option_Index, 2);
    EXPECT_FALSE(Update_Read_Back);
    EXPECT_EQ(Icmp->Count(), 0);
    EXPECT_TRUE(Launcher->Starts().isEmpty());
    EXPECT_FALSE(FileExists(Parameter_File()));
}

TEST_F(BootDialog, UnknownVariantKeepsOnlyTitleAndButtonsAndDoesNothing) {
    Show(1, [](TFBoot*) {});
    Show(7, [&](TFBoot* F) {
        EXPECT_EQ(F->Caption(), "Update Device by Ethernet (UDP)");
        for (TPanel* P : {F->P_IP_Address, F->P_Serial, F->P_Options, F->P_Eth_Search})
            EXPECT_FALSE(P->isVisible()) << P->Name().toStdString();
        EXPECT_TRUE(F->P_Title->isVisible());
        EXPECT_TRUE(F->P_Button->isVisible());
        F->Btn_Update->Click();
    });
    EXPECT_EQ(Icmp->Count(), 0);
    EXPECT_TRUE(Launcher->Starts().isEmpty());
}

TEST_F(BootDialog, LastAddressFillsTheEditsOnlyWhenItIsValid) {
    struct {
        const char* Last;
        QStringList Expected;
    } Cases[] = {
        {"10.1.2", {"1", "2", "3", "4"}},
        {"", {"1", "2", "3", "4"}},
        {"10.1.2.300", {"1", "2", "3", "4"}},
        {" 10 . 0.0.9 ", {"10", "0", "0", "9"}},
    };
    for (const auto& C : Cases) {
        Last_IP_Address = C.Last;
        Set_Address("1", "2", "3", "4");
        Show(1, [&](TFBoot* F) {
            EXPECT_EQ(QStringList({F->E_IP1->Text(), F->E_IP2->Text(), F->E_IP3->Text(), F->E_IP4->Text()}), C.Expected)
                << C.Last;
        });
    }
}

TEST_F(BootDialog, DotKeyMovesThroughTheOctetsAndIsNeverTyped) {
    Last_IP_Address.clear();
    Set_Address("0", "0", "0", "0");
    Show(1, [&](TFBoot* F) {
        ASSERT_EQ(F->ActiveControl(), F->E_IP1);
        F->E_IP1->SelectAll();
        Type("192.168.1.7");
        EXPECT_EQ(F->E_IP1->Text(), "192");
        EXPECT_EQ(F->E_IP2->Text(), "168");
        EXPECT_EQ(F->E_IP3->Text(), "1");
        EXPECT_EQ(F->E_IP4->Text(), "7");
        // In the last octet a dot goes nowhere and is dropped too.
        Type(".");
        EXPECT_EQ(F->E_IP4->Text(), "7");
        EXPECT_EQ(F->ActiveControl(), F->E_IP4);
    });
}

TEST_F(BootDialog, AnsweringDeviceGetsTheParameterFileAndTheUpdater) {
    Icmp->SetAnswering("192.168.1.7");
    Launcher->SetRunPolls(3);
    Show(1, [&](TFBoot* F) {
        Set_Address("192", "168", "1", "7");
        F->CB_Update_Options->SetItemIndex(1);
        F->CB_Update_Option_Read_Back->SetChecked(false);
        F->Btn_Update->Click();
        // The update leaves the dialog open.
        EXPECT_EQ(F->ModalResult(), mrNone);
        EXPECT_TRUE(F->isVisible());
    });
    EXPECT_EQ(Icmp->Hosts(), QStringList({"192.168.1.7", "192.168.1.7"}));
    EXPECT_EQ(FBoot->ping_res, 1);
    EXPECT_EQ(Last_IP_Address, "192.168.1.7");
    EXPECT_EQ(Update_Option_Index, 1);
    EXPECT_FALSE(Update_Read_Back);

    TXMLDocument Doc;
    Doc.LoadFromFile(Parameter_File());
    const IXMLNode Root = Doc.DocumentElement();
    EXPECT_EQ(Root.FindNode("IP_Address_Dev").Text(), "192.168.1.7");
    const IXMLNodeList Ops = Root.FindNode("Operations").ChildNodes();
    ASSERT_EQ(Ops.Count(), 1);
    EXPECT_EQ(Ops.Nodes(0).FindNode("Ope_FileName").Text(), Master_Dir + "/SimQ4180.sim");
    EXPECT_EQ(Ops.Nodes(0).FindNode("Ope_Read_Back").Text(), "0");
    EXPECT_EQ(Ops.Nodes(0).FindNode("Ope_GoToApp_After").Text(), "1");

    ASSERT_EQ(Launcher->Starts().size(), 1);
    EXPECT_EQ(Launcher->Starts()[0].Program, Updater());
    EXPECT_TRUE(Launcher->Starts()[0].Arguments.isEmpty());
    EXPECT_FALSE(Launcher->Starts()[0].Hidden);
    EXPECT_EQ(Launcher->Polls(), 4);

    // The next opening shows the address that answered.
    Set_Address("0", "0", "0", "0");
    Show(1, [&](TFBoot* F) {
        EXPECT_EQ(F->E_IP1->Text() + "." + F->E_IP2->Text() + "." + F->E_IP3->Text() + "." + F->E_IP4->Text(),
                  "192.168.1.7");
        EXPECT_EQ(F->CB_Update_Options->ItemIndex(), 1);
    });
}

TEST_F(BootDialog, EchoFailuresShowTheirBoxAndChangeNothing) {
    struct {
        const char* Name;
        bool Unresolvable;
        TMsgDlgType Type;
        const char* Text;
        int Ping_Res;
    } Cases[] = {
        {"silent", false, mtWarning, "Device Not Found!", 2},
        {"unresolvable", true, mtError, "Error!!! Check the Ip Address", 0},
    };
    for (const auto& C : Cases) {
        const QString Host = C.Unresolvable ? "no.such.host.x" : "10.9.9.9";
        if (C.Unresolvable) Icmp->SetUnresolvable(Host);
        const QStringList Octets = Host.split('.');
        Last_IP_Address = "192.168.2.205";
        Update_Option_Index = 0;
        const int Before = Icmp->Count();
        const uint64_t Start = FakeClock->TickCount();
        TestDialogs().ExpectBox(mrOk, C.Text);
        Show(1, [&](TFBoot* F) {
            Set_Address(Octets[0], Octets[1], Octets[2], Octets[3]);
            F->CB_Update_Options->SetItemIndex(2);
            F->Btn_Update->Click();
            EXPECT_EQ(F->ping_res, C.Ping_Res) << C.Name;
        });
        const uint64_t Elapsed = FakeClock->TickCount() - Start;
        ASSERT_FALSE(TestDialogs().Boxes().empty());
        EXPECT_EQ(TestDialogs().Boxes().back().Type, C.Type) << C.Name;
        if (C.Unresolvable) {
            EXPECT_EQ(Icmp->Count() - Before, 1);
        } else {
            // A silent device is given a little over five seconds, a dozen requests or so.
            EXPECT_GT(Elapsed, 5000u);
            EXPECT_LT(Elapsed, 5500u);
            EXPECT_GE(Icmp->Count() - Before, 12);
        }
        EXPECT_EQ(Last_IP_Address, "192.168.2.205") << C.Name;
        EXPECT_EQ(Update_Option_Index, 0) << C.Name;
        EXPECT_FALSE(FileExists(Parameter_File())) << C.Name;
        EXPECT_TRUE(Launcher->Starts().isEmpty()) << C.Name;
    }
}

TEST_F(BootDialog, OneReplyAmongSilencesIsNotEnoughWhenTheLastIsSilent) {
    // The outcome of the last request decides: a device that stops answering is not found.
    class TFlaky : public IIcmpClient {
    public:
        int N = 0;
        std::optional<TIcmpReply> Ping(const QString& Host, int PacketSize, int TimeoutMs) override {
            if (N++ == 0) return TIcmpReply{Host, PacketSize, 1};
            Clock().Sleep(unsigned(TimeoutMs));
            return std::nullopt;
        }
    };
    auto Flaky = std::make_shared<TFlaky>();
    SetIcmpClient(Flaky);
    FBoot->Form_Type = 1;
    EXPECT_FALSE(FBoot->Send_Ping());
    EXPECT_EQ(FBoot->ping_res, 2);
    EXPECT_GT(Flaky->N, 2);
}

TEST_F(BootDialog, UpdaterThatCannotStartIsReported) {
    Icmp->SetAnswering("192.168.1.7");
    Launcher->SetMissing(Updater());
    TestDialogs().ExpectBox(mrOk, "could not be started");
    Show(1, [&](TFBoot* F) {
        Set_Address("192", "168", "1", "7");
        F->Btn_Update->Click();
    });
    EXPECT_EQ(TestDialogs().Boxes().back().Type, mtError);
    EXPECT_TRUE(TestDialogs().Boxes().back().Text.contains(Updater()));
    // The file is written before the start, and stays for a new try.
    EXPECT_TRUE(FileExists(Parameter_File()));
}

TEST_F(BootDialog, UpdaterStillRunningAfterTheLimitIsLeftRunning) {
    Icmp->SetAnswering("192.168.1.7");
    Launcher->SetRunPolls(-1);
    FBoot->Form_Type = 1;
    Set_Address("192", "168", "1", "7");
    const uint64_t Start = FakeClock->TickCount();
    FBoot->Btn_UpdateClick(FBoot->Btn_Update);
    const uint64_t Waited = FakeClock->TickCount() - Start;
    EXPECT_GT(Waited, 150000u);
    EXPECT_LT(Waited, 150100u);
    EXPECT_EQ(Launcher->Starts().size(), 1);
    EXPECT_TRUE(TestDialogs().Boxes().empty());
}

TEST_F(BootDialog, MainWindowStartsTheUpdaterWhenItHasSetTheHook) {
    Icmp->SetAnswering("192.168.1.7");
    QStringList Calls;
    FBoot->OnStart_Program = [&](const QString& NomeSW, const QString& Parameter, bool tipo) {
        Calls << NomeSW << Parameter << (tipo ? "hidden" : "shown");
        // The parameter file is complete before the updater is started.
        EXPECT_TRUE(FileExists(Parameter_File()));
        return TWaitResult::Ended;
    };
    FBoot->Form_Type = 1;
    Set_Address("192", "168", "1", "7");
    FBoot->Btn_UpdateClick(FBoot->Btn_Update);
    EXPECT_EQ(Calls, QStringList({Updater(), "", "shown"}));
    EXPECT_TRUE(Launcher->Starts().isEmpty());
}

TEST_F(BootDialog, ParameterFileThatCannotBeWrittenStopsTheUpdate) {
    Icmp->SetAnswering("192.168.1.7");
    ASSERT_TRUE(QDir().mkpath(Parameter_File())); // a folder in the file's place
    FBoot->Form_Type = 1;
    Set_Address("192", "168", "1", "7");
    EXPECT_THROW(FBoot->Btn_UpdateClick(FBoot->Btn_Update), EInOutError);
    EXPECT_TRUE(Launcher->Starts().isEmpty());
}

TEST_F(BootDialog, LanguageChangeRefillsTheOptionsAndKeepsTheChoice) {
    Icmp->SetAnswering("192.168.1.7");
    Show(1, [&](TFBoot* F) {
        Set_Address("192", "168", "1", "7");
        F->CB_Update_Options->SetItemIndex(2);
        F->Btn_Update->Click();
    });
    const QString Lng = Dir.path() + "/Italiano.lng";
    QFile File(Lng);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("STR 1202 =Aggiorna dispositivo via Ethernet (UDP)\r\n"
               "STR 1215 =Firmware + Configurazione\r\n"
               "STR 1217 =Configurazione\r\n");
    File.close();
    Read_Language_File(Lng);
    FBoot->Set_Lang();
    Show(1, [&](TFBoot* F) {
        EXPECT_EQ(F->Caption(), "Aggiorna dispositivo via Ethernet (UDP)");
        EXPECT_EQ(F->CB_Update_Options->Items()->Strings(0), "Firmware + Configurazione");
        EXPECT_EQ(F->CB_Update_Options->Items()->Strings(1), "Firmware");
        EXPECT_EQ(F->CB_Update_Options->ItemIndex(), 2);
        EXPECT_EQ(F->CB_Update_Options->Text(), "Configurazione");
    });
}

// Every text by its own number: a language file gives each number a text of its own, so a text
// taken from a neighbouring number shows.
TEST_F(BootDialog, EveryTextComesFromItsOwnNumber) {
    const QString Lng = Dir.path() + "/Numbers.lng";
    QFile File(Lng);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    for (int N = 1200; N <= 1237; ++N) File.write(QString("STR %1 =T%1\r\n").arg(N).toLatin1());
    File.close();
    Read_Language_File(Lng);
    auto T = [](int N) { return QString("T%1").arg(N); };

    FBoot->Form_Type = 1;
    FBoot->Set_Lang();
    const std::pair<QString, int> Expected[] = {
        {FBoot->Caption(), 1202},
        {FBoot->L_SW_Desc->Caption(), 1203},
        {FBoot->L_IP_Address->Caption(), 1206},
        {FBoot->L_List_Device->Caption(), 1209},
        {FBoot->Btn_Search->Caption(), 1210},
        {FBoot->Btn_Search->Hint(), 1229},
        {FBoot->ACG_List_Devices->Cells(0, 0), 1211},
        {FBoot->ACG_List_Devices->Cells(1, 0), 1212},
        // The device list's column items carry its headers.
        {FBoot->ACG_List_Devices->Columns()->Items(0)->Header(), 1211},
        {FBoot->ACG_List_Devices->Columns()->Items(1)->Header(), 1212},
        {FBoot->ACG_List_Devices->Hint(), 1230},
        {FBoot->CB_Find_All_Velmora->Caption(), 1213},
        {FBoot->CB_Find_All_Velmora->Hint(), 1231},
        {FBoot->L_Update_Option->Caption(), 1214},
        {FBoot->CB_Update_Options->Items()->Strings(0), 1215},
        {FBoot->CB_Update_Options->Items()->Strings(1), 1216},
        {FBoot->CB_Update_Options->Items()->Strings(2), 1217},
        {FBoot->CB_Update_Options->Hint(), 1232},
        {FBoot->CB_Update_Option_Read_Back->Caption(), 1218},
        {FBoot->CB_Update_Option_Read_Back->Hint(), 1233},
        {FBoot->Btn_Cancel->Caption(), 1219},
        {FBoot->Btn_Cancel->Hint(), 1234},
        {FBoot->Btn_Update->Caption(), 1220},
        {FBoot->Btn_Update->Hint(), 1235},
        {FBoot->E_IP1->Hint(), 1221},
        {FBoot->E_IP2->Hint(), 1222},
        {FBoot->E_IP3->Hint(), 1223},
        {FBoot->E_IP4->Hint(), 1224},
    };
    for (const auto& [Shown, N] : Expected) EXPECT_EQ(Shown, T(N)) << N;
    EXPECT_EQ(FBoot->CB_Update_Options->Items()->Count(), 3);
    EXPECT_EQ(FBoot->CB_Update_Options->ItemIndex(), 0);
    // The serial panel's label and button keep their design texts.
    EXPECT_EQ(FBoot->L_COM_Port->Caption(), "Select the COM port for the Update");
    EXPECT_EQ(FBoot->Btn_COM_List->Hint(), "Update COM Ports List");

    FBoot->Form_Type = 0;
    FBoot->Set_Lang();
    EXPECT_EQ(FBoot->Caption(), T(1200));
    EXPECT_EQ(FBoot->L_SW_Desc->Caption(), T(1201));
    // Another variant leaves the caption and description as they were.
    FBoot->Form_Type = 5;
    FBoot->Set_Lang();
    EXPECT_EQ(FBoot->Caption(), T(1200));
    EXPECT_EQ(FBoot->L_SW_Desc->Caption(), T(1201));
    Load_English_Strings();
}

TEST_F(BootDialog, TypeOfDeviceIsAlwaysZero) {
    File_ParGen = Dir.path() + "/ParGen.xml";
    EXPECT_EQ(FBoot->Get_Type_Dev(), 0);
    QFile F(File_ParGen);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("<Par_Gen><broken>");
    F.close();
    EXPECT_EQ(FBoot->Get_Type_Dev(), 0);
}

} // namespace
