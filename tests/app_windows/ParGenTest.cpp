// The main-parameters window: its file (reader, writer, what the device-image builder reads back),
// its check, the octet keys, the panel layout, and a picture of it.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UParGen.h"
#include "gateway/USaveBincc.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Snapshot.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString Data_Dir = QStringLiteral(TESSARO_TEST_DATA "/app/pargen/");

// The elements of "ParGen.xml" in the order the writer puts them.
const QStringList Element_Order = {
    "OPC_UA_Server_IP1",    "OPC_UA_Server_IP2",       "OPC_UA_Server_IP3",     "OPC_UA_Server_IP4",
    "OPC_UA_Server_SM1",    "OPC_UA_Server_SM2",       "OPC_UA_Server_SM3",     "OPC_UA_Server_SM4",
    "OPC_UA_Server_GAT1",   "OPC_UA_Server_GAT2",      "OPC_UA_Server_GAT3",    "OPC_UA_Server_GAT4",
    "OPC_UA_Server_EN_GAT", "OPC_UA_Server_DNS1",      "OPC_UA_Server_DNS2",    "OPC_UA_Server_DNS3",
    "OPC_UA_Server_DNS4",   "OPC_UA_Server_EN_DNS",    "OPC_UA_Server_Port",    "CANopen_IDDev",
    "CANopen_BAUDRATE",     "CANopen_Set_Operational", "CANopen_Network_Start", "CANopen_Delay",
    "CANopen_SDO_TimeOut",  "NTP_Server_URL",          "NTP_Poll_Time"};

class ParGenTest : public ::testing::Test {
protected:
    void SetUp() override {
        Load_English_Strings();
        ASSERT_TRUE(Dir.isValid());
        Project_Dir = Dir.path();
        Set_Files();
        Form.reset(Create<TFParGen>(nullptr));
    }
    void TearDown() override {
        SetModalHook(nullptr);
        Form.reset();
        Project_Dir.clear();
        Set_Files();
    }
    void Use_Fixture(const QString& Name) {
        QFile::remove(File_ParGen);
        ASSERT_TRUE(QFile::copy(Data_Dir + Name, File_ParGen));
    }
    // The defaults of a new project with a poll time, so that every check passes.
    void Valid_Values() {
        QFile::remove(File_ParGen);
        Form->FormShow(Form.get());
        Form->E_NTP_Poll_Time->SetText("60");
    }
    // Runs the check; returns the text of the one box it showed, empty when none.
    QString Check(bool& Result) {
        TestDialogs().Reset();
        TestDialogs().ExpectBox(mrOk);
        Result = Form->Controllo_Dati();
        QString Shown;
        if (!TestDialogs().Boxes().empty()) {
            Shown = TestDialogs().Boxes().back().Text;
            EXPECT_EQ(TestDialogs().Boxes().back().Type, mtError);
        } else {
            TestDialogs().Reset(); // the expectation was not needed
        }
        EXPECT_LE(TestDialogs().Boxes().size(), 1u);
        return Shown;
    }
    QString File_Text() {
        QFile F(File_ParGen);
        if (!F.open(QIODevice::ReadOnly)) return QString();
        return QString::fromUtf8(F.readAll());
    }
    QTemporaryDir Dir;
    std::unique_ptr<TFParGen> Form;
};

TEST_F(ParGenTest, NewProjectShowsDefaultsAndFailsOnlyOnThePollTime) {
    Form->E_OPC_UA_Server_IP1->SetText("garbage");
    Form->CB_OPC_UA_Server_En_GAT->SetChecked(true);
    Form->FormShow(Form.get());
    const std::pair<TEdit*, QString> Expected[] = {
        {Form->E_OPC_UA_Server_IP1, "192"},  {Form->E_OPC_UA_Server_IP2, "168"},     {Form->E_OPC_UA_Server_IP3, "0"},
        {Form->E_OPC_UA_Server_IP4, "10"},   {Form->E_OPC_UA_Server_SM1, "255"},     {Form->E_OPC_UA_Server_SM4, "0"},
        {Form->E_OPC_UA_Server_GAT1, "192"}, {Form->E_OPC_UA_Server_GAT4, "1"},      {Form->E_OPC_UA_Server_DNS1, "8"},
        {Form->E_OPC_UA_Server_DNS4, "8"},   {Form->E_OPC_UA_Server_Port, "4840"},   {Form->E_CANopen_IDDevice, "1"},
        {Form->E_CANopen_NetOpe_Delay, "0"}, {Form->E_CANopen_SDO_Timeout, "10000"}, {Form->E_NTP_Server_URL, ""},
        {Form->E_NTP_Poll_Time, ""}};
    for (const auto& [Edit, Text] : Expected) EXPECT_EQ(Edit->Text(), Text) << Edit->Name().toStdString();
    EXPECT_FALSE(Form->CB_OPC_UA_Server_En_GAT->Checked());
    EXPECT_FALSE(Form->CB_OPC_UA_Server_En_DNS->Checked());
    EXPECT_FALSE(Form->CB_CANopen_SetOpe->Checked());
    EXPECT_FALSE(Form->CB_CANopen_NetOpe->Checked());
    EXPECT_EQ(Form->CB_CANopen_Baudrate->ItemIndex(), 5);
    EXPECT_EQ(Form->CB_CANopen_Baudrate->Text(), "250K");

    bool Ok = true;
    EXPECT_EQ(Check(Ok), Lang[1092]);
    EXPECT_FALSE(Ok);
}

// Each case starts from values that pass and changes some; Text 0 means the check passes.
TEST_F(ParGenTest, CheckReportsTheFirstFailingValueOnly) {
    struct TCase {
        const char* What;
        std::function<void(TFParGen*)> Change;
        int Text;
    };
    const TCase Cases[] = {
        {"all valid", [](TFParGen*) {}, 0},
        {"IP1 256", [](TFParGen* F) { F->E_OPC_UA_Server_IP1->SetText("256"); }, 922},
        {"IP2 empty", [](TFParGen* F) { F->E_OPC_UA_Server_IP2->SetText(""); }, 923},
        {"IP3 -1", [](TFParGen* F) { F->E_OPC_UA_Server_IP3->SetText("-1"); }, 924},
        {"IP4 trailing blank", [](TFParGen* F) { F->E_OPC_UA_Server_IP4->SetText("10 "); }, 925},
        {"IP4 leading blank", [](TFParGen* F) { F->E_OPC_UA_Server_IP4->SetText(" 10"); }, 0},
        {"IP hex in range", [](TFParGen* F) { F->E_OPC_UA_Server_IP1->SetText("$C0"); }, 0},
        {"IP hex out of range", [](TFParGen* F) { F->E_OPC_UA_Server_IP1->SetText("0x100"); }, 922},
        {"SM1 letters", [](TFParGen* F) { F->E_OPC_UA_Server_SM1->SetText("ab"); }, 926},
        {"SM2", [](TFParGen* F) { F->E_OPC_UA_Server_SM2->SetText("300"); }, 927},
        {"SM3", [](TFParGen* F) { F->E_OPC_UA_Server_SM3->SetText("300"); }, 928},
        {"SM4", [](TFParGen* F) { F->E_OPC_UA_Server_SM4->SetText("300"); }, 929},
        {"gateway off, letters pass", [](TFParGen* F) { F->E_OPC_UA_Server_GAT1->SetText("xx"); }, 0},
        {"gateway on, GAT1",
         [](TFParGen* F) {
             F->CB_OPC_UA_Server_En_GAT->SetChecked(true);
             F->E_OPC_UA_Server_GAT1->SetText("xx");
         },
         930},
        {"gateway on, GAT2",
         [](TFParGen* F) {
             F->CB_OPC_UA_Server_En_GAT->SetChecked(true);
             F->E_OPC_UA_Server_GAT2->SetText("xx");
         },
         931},
        {"gateway on, GAT3",
         [](TFParGen* F) {
             F->CB_OPC_UA_Server_En_GAT->SetChecked(true);
             F->E_OPC_UA_Server_GAT3->SetText("xx");
         },
         932},
        {"gateway on, GAT4 and GAT3",
         [](TFParGen* F) {
             F->CB_OPC_UA_Server_En_GAT->SetChecked(true);
             F->E_OPC_UA_Server_GAT4->SetText("xx");
             F->E_OPC_UA_Server_GAT3->SetText("999");
         },
         932},
        {"gateway on, GAT4",
         [](TFParGen* F) {
             F->CB_OPC_UA_Server_En_GAT->SetChecked(true);
             F->E_OPC_UA_Server_GAT4->SetText("256");
         },
         933},
        {"DNS not checked",
         [](TFParGen* F) {
             F->CB_OPC_UA_Server_En_DNS->SetChecked(true);
             F->E_OPC_UA_Server_DNS1->SetText("300");
             F->E_OPC_UA_Server_DNS2->SetText("ab");
         },
         0},
        {"port 10000", [](TFParGen* F) { F->E_OPC_UA_Server_Port->SetText("10000"); }, 1136},
        {"port 0", [](TFParGen* F) { F->E_OPC_UA_Server_Port->SetText("0"); }, 0},
        {"port 65535", [](TFParGen* F) { F->E_OPC_UA_Server_Port->SetText("65535"); }, 0},
        {"port 65536", [](TFParGen* F) { F->E_OPC_UA_Server_Port->SetText("65536"); }, 1136},
        {"port empty", [](TFParGen* F) { F->E_OPC_UA_Server_Port->SetText(""); }, 1136},
        {"node 0", [](TFParGen* F) { F->E_CANopen_IDDevice->SetText("0"); }, 1009},
        {"node 128", [](TFParGen* F) { F->E_CANopen_IDDevice->SetText("128"); }, 1009},
        {"node 1", [](TFParGen* F) { F->E_CANopen_IDDevice->SetText("1"); }, 0},
        {"node 127", [](TFParGen* F) { F->E_CANopen_IDDevice->SetText("127"); }, 0},
        {"delay 300, start off", [](TFParGen* F) { F->E_CANopen_NetOpe_Delay->SetText("300"); }, 0},
        {"delay empty, start off", [](TFParGen* F) { F->E_CANopen_NetOpe_Delay->SetText(""); }, 0},
        {"delay 300, start on",
         [](TFParGen* F) {
             F->CB_CANopen_NetOpe->SetChecked(true);
             F->E_CANopen_NetOpe_Delay->SetText("300");
         },
         1010},
        {"delay empty, start on",
         [](TFParGen* F) {
             F->CB_CANopen_NetOpe->SetChecked(true);
             F->E_CANopen_NetOpe_Delay->SetText("");
         },
         1010},
        {"delay 255, start on",
         [](TFParGen* F) {
             F->CB_CANopen_NetOpe->SetChecked(true);
             F->E_CANopen_NetOpe_Delay->SetText("255");
         },
         0},
        {"SDO 100000", [](TFParGen* F) { F->E_CANopen_SDO_Timeout->SetText("100000"); }, 0},
        {"SDO 100001", [](TFParGen* F) { F->E_CANopen_SDO_Timeout->SetText("100001"); }, 1011},
        {"poll 10000000", [](TFParGen* F) { F->E_NTP_Poll_Time->SetText("10000000"); }, 0},
        {"poll 10000001", [](TFParGen* F) { F->E_NTP_Poll_Time->SetText("10000001"); }, 1092},
        {"bit rate, boxes and server text not checked",
         [](TFParGen* F) {
             F->CB_CANopen_Baudrate->SetItemIndex(-1);
             F->CB_CANopen_SetOpe->SetChecked(true);
             F->E_NTP_Server_URL->SetText("%%% not a host");
         },
         0},
        {"IP1 and port wrong: IP first",
         [](TFParGen* F) {
             F->E_OPC_UA_Server_IP1->SetText("x");
             F->E_OPC_UA_Server_Port->SetText("10000");
         },
         922},
        {"node and poll wrong: node first",
         [](TFParGen* F) {
             F->E_CANopen_IDDevice->SetText("0");
             F->E_NTP_Poll_Time->SetText("");
         },
         1009},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.What);
        Valid_Values();
        C.Change(Form.get());
        bool Ok = false;
        const QString Shown = Check(Ok);
        EXPECT_EQ(Ok, C.Text == 0);
        EXPECT_EQ(Shown, C.Text == 0 ? QString() : Lang[C.Text]);
    }
}

TEST_F(ParGenTest, MendingTheFirstErrorShowsTheNext) {
    Valid_Values();
    Form->E_OPC_UA_Server_IP1->SetText("999");
    Form->E_OPC_UA_Server_Port->SetText("10000");
    bool Ok = true;
    EXPECT_EQ(Check(Ok), Lang[922]);
    EXPECT_EQ(Form->E_OPC_UA_Server_IP1->Text(), "999"); // nothing is changed by the check
    Form->E_OPC_UA_Server_IP1->SetText("192");
    EXPECT_EQ(Check(Ok), Lang[1136]);
    Form->E_OPC_UA_Server_Port->SetText("4840");
    EXPECT_EQ(Check(Ok), QString());
    EXPECT_TRUE(Ok);
}

TEST_F(ParGenTest, OkWritesTheFileAsTypedAndReadsItBack) {
    Valid_Values();
    Form->E_OPC_UA_Server_IP1->SetText("$0A");
    Form->E_OPC_UA_Server_IP2->SetText("007");
    Form->E_OPC_UA_Server_IP3->SetText(" 3");
    Form->E_OPC_UA_Server_IP4->SetText("4");
    Form->E_OPC_UA_Server_SM3->SetText("254");
    Form->CB_OPC_UA_Server_En_GAT->SetChecked(true);
    Form->E_OPC_UA_Server_GAT4->SetText("254");
    Form->E_OPC_UA_Server_DNS1->SetText("300"); // not checked: stored as typed
    Form->E_OPC_UA_Server_Port->SetText("4841");
    Form->E_CANopen_IDDevice->SetText("17");
    Form->CB_CANopen_Baudrate->SetItemIndex(7);
    Form->CB_CANopen_SetOpe->SetChecked(true);
    Form->E_CANopen_NetOpe_Delay->SetText("25");
    Form->E_NTP_Server_URL->SetText("ntp.example.org & <friends>");
    Form->E_NTP_Poll_Time->SetText("3600");

    Form->Btn_OKClick(Form->Btn_OK);
    EXPECT_EQ(Form->ModalResult(), mrOk);
    ASSERT_TRUE(FileExists(File_ParGen));

    // The document: the root first, then the comment, nothing else; 27 text elements in order.
    TXMLDocument Doc;
    Doc.LoadFromFile(File_ParGen);
    ASSERT_EQ(Doc.ChildNodes().Count(), 2);
    const IXMLNode Root = Doc.ChildNodes()[0];
    EXPECT_EQ(Root.NodeType(), ntElement);
    EXPECT_EQ(Root.NodeName(), "Par_Gen");
    EXPECT_EQ(Doc.ChildNodes()[1].NodeType(), ntComment);
    EXPECT_EQ(Doc.ChildNodes()[1].NodeValue(), "SW_VERSION = 1.000");
    EXPECT_FALSE(File_Text().startsWith("<?xml"));
    ASSERT_EQ(Root.ChildNodes().Count(), Element_Order.size());
    for (int i = 0; i < Element_Order.size(); ++i) {
        const IXMLNode N = Root.ChildNodes()[i];
        EXPECT_EQ(N.NodeName(), Element_Order[i]);
        EXPECT_EQ(N.AttributeCount(), 0);
    }
    auto Value = [&](const char* Name) { return Root.FindNode(Name).Text(); };
    EXPECT_EQ(Value("OPC_UA_Server_IP1"), "$0A");
    EXPECT_EQ(Value("OPC_UA_Server_IP2"), "007");
    EXPECT_EQ(Value("OPC_UA_Server_IP3"), " 3");
    EXPECT_EQ(Value("OPC_UA_Server_EN_GAT"), "1");
    EXPECT_EQ(Value("OPC_UA_Server_EN_DNS"), "0");
    EXPECT_EQ(Value("OPC_UA_Server_DNS1"), "300");
    EXPECT_EQ(Value("CANopen_BAUDRATE"), "7");
    EXPECT_EQ(Value("CANopen_Set_Operational"), "1");
    EXPECT_EQ(Value("CANopen_Network_Start"), "0");
    EXPECT_EQ(Value("NTP_Server_URL"), "ntp.example.org & <friends>");

    // Showing again reads back exactly what was written.
    std::vector<QString> Written;
    for (TControl* C : std::initializer_list<TControl*>{
             Form->E_OPC_UA_Server_IP1, Form->E_OPC_UA_Server_IP2, Form->E_OPC_UA_Server_IP3,
             Form->E_OPC_UA_Server_GAT4, Form->E_OPC_UA_Server_DNS1, Form->E_OPC_UA_Server_Port,
             Form->E_CANopen_IDDevice, Form->E_CANopen_NetOpe_Delay, Form->E_NTP_Server_URL, Form->E_NTP_Poll_Time})
        Written.push_back(C->Text());
    Form->E_OPC_UA_Server_IP1->SetText("1");
    Form->E_NTP_Server_URL->SetText("");
    Form->CB_OPC_UA_Server_En_GAT->SetChecked(false);
    Form->CB_CANopen_Baudrate->SetItemIndex(0);
    Form->FormShow(Form.get());
    int k = 0;
    for (TControl* C : std::initializer_list<TControl*>{
             Form->E_OPC_UA_Server_IP1, Form->E_OPC_UA_Server_IP2, Form->E_OPC_UA_Server_IP3,
             Form->E_OPC_UA_Server_GAT4, Form->E_OPC_UA_Server_DNS1, Form->E_OPC_UA_Server_Port,
             Form->E_CANopen_IDDevice, Form->E_CANopen_NetOpe_Delay, Form->E_NTP_Server_URL, Form->E_NTP_Poll_Time})
        EXPECT_EQ(C->Text(), Written[k++]);
    EXPECT_TRUE(Form->CB_OPC_UA_Server_En_GAT->Checked());
    EXPECT_TRUE(Form->CB_CANopen_SetOpe->Checked());
    EXPECT_EQ(Form->CB_CANopen_Baudrate->ItemIndex(), 7);
}

// The device-image builder reads the file this window writes.
TEST_F(ParGenTest, DeviceImageBuilderReadsTheWrittenFile) {
    Valid_Values();
    Form->E_OPC_UA_Server_IP1->SetText("$0A");
    Form->E_OPC_UA_Server_IP2->SetText("1");
    Form->E_OPC_UA_Server_IP3->SetText("2");
    Form->E_OPC_UA_Server_IP4->SetText("3");
    Form->E_OPC_UA_Server_SM4->SetText("128");
    Form->CB_OPC_UA_Server_En_GAT->SetChecked(true);
    Form->E_OPC_UA_Server_GAT1->SetText("10");
    Form->E_OPC_UA_Server_GAT2->SetText("1");
    Form->E_OPC_UA_Server_GAT3->SetText("2");
    Form->E_OPC_UA_Server_GAT4->SetText("254");
    Form->CB_OPC_UA_Server_En_DNS->SetChecked(true);
    Form->E_OPC_UA_Server_DNS1->SetText("1");
    Form->E_OPC_UA_Server_Port->SetText("4850");
    Form->E_CANopen_IDDevice->SetText("0x21");
    Form->CB_CANopen_Baudrate->SetItemIndex(6);
    Form->CB_CANopen_SetOpe->SetChecked(true);
    Form->CB_CANopen_NetOpe->SetChecked(true);
    Form->E_CANopen_NetOpe_Delay->SetText("5");
    Form->E_CANopen_SDO_Timeout->SetText("2500");
    Form->E_NTP_Server_URL->SetText("pool.ntp.org");
    Form->E_NTP_Poll_Time->SetText("120");
    Form->Btn_OKClick(Form->Btn_OK);
    ASSERT_EQ(Form->ModalResult(), mrOk);

    Init_Param_Block();
    Init_OPC_UA_Server();
    Load_ParGen_Params(File_ParGen);
    auto U32 = [](int Ofs) {
        return uint32_t(Param_Block[Ofs]) | uint32_t(Param_Block[Ofs + 1]) << 8 | uint32_t(Param_Block[Ofs + 2]) << 16 |
            uint32_t(Param_Block[Ofs + 3]) << 24;
    };
    auto IP = [](int Ofs) {
        return QString("%1.%2.%3.%4")
            .arg(Param_Block[Ofs])
            .arg(Param_Block[Ofs + 1])
            .arg(Param_Block[Ofs + 2])
            .arg(Param_Block[Ofs + 3]);
    };
    EXPECT_EQ(IP(PB::Eth_IP_Address), "10.1.2.3");
    EXPECT_EQ(IP(PB::Eth_Subnet_Mask), "255.255.255.128");
    EXPECT_EQ(IP(PB::Eth_Gateway), "10.1.2.254");
    EXPECT_EQ(IP(PB::Eth_DNS), "1.8.8.8");
    EXPECT_EQ(OPC_UA_Server_Block.Port, 4850);
    EXPECT_EQ(OPC_UA_Server_Block.NTP, "pool.ntp.org");
    EXPECT_EQ(OPC_UA_Server_Block.NTP_Time, 120u);
    EXPECT_EQ(U32(PB::CANopen_Node_ID), 0x21u);
    EXPECT_EQ(U32(PB::CAN_Bit_Rate), 500000u);
    EXPECT_EQ(U32(PB::CANopen_Start_Flags), 3u);
    EXPECT_EQ(U32(PB::Net_Start_Delay), 5000u);
    EXPECT_EQ(U32(PB::SDO_Client_TimeOut), 2500u);
}

TEST_F(ParGenTest, ReaderGuardsEachElement) {
    // Present elements are read, missing ones take their defaults; " 1" is not ticked; letters
    // in the bit rate select 250K; the first of two elements of a name counts.
    Use_Fixture("partial.xml");
    Form->E_OPC_UA_Server_SM2->SetText("1");
    Form->CB_CANopen_NetOpe->SetChecked(true);
    Form->FormShow(Form.get());
    EXPECT_EQ(Form->E_OPC_UA_Server_IP1->Text(), "10");
    EXPECT_EQ(Form->E_OPC_UA_Server_IP2->Text(), "168");
    EXPECT_EQ(Form->E_OPC_UA_Server_SM2->Text(), "255");
    EXPECT_EQ(Form->E_OPC_UA_Server_Port->Text(), "4841");
    EXPECT_EQ(Form->E_CANopen_IDDevice->Text(), "$7F");
    EXPECT_FALSE(Form->CB_OPC_UA_Server_En_GAT->Checked());
    EXPECT_TRUE(Form->CB_OPC_UA_Server_En_DNS->Checked());
    EXPECT_FALSE(Form->CB_CANopen_NetOpe->Checked());
    EXPECT_EQ(Form->CB_CANopen_Baudrate->ItemIndex(), 5);
    EXPECT_EQ(Form->E_NTP_Server_URL->Text(), "pool.ntp.org");
    EXPECT_EQ(Form->E_NTP_Poll_Time->Text(), "");
    EXPECT_EQ(Form->E_CANopen_SDO_Timeout->Text(), "10000");

    // A first node that is not the root element: every element takes its default.
    Use_Fixture("pi_first.xml");
    Form->FormShow(Form.get());
    EXPECT_EQ(Form->E_OPC_UA_Server_IP1->Text(), "192");
    EXPECT_EQ(Form->CB_CANopen_Baudrate->ItemIndex(), 5);
    EXPECT_FALSE(Form->CB_CANopen_SetOpe->Checked());
}

TEST_F(ParGenTest, BitRateOutsideTheListSelectsNothingAndIsWrittenAsMinusOne) {
    Use_Fixture("baud_out_of_range.xml");
    Form->FormShow(Form.get());
    EXPECT_EQ(Form->CB_CANopen_Baudrate->ItemIndex(), -1);
    Form->Btn_OKClick(Form->Btn_OK);
    ASSERT_EQ(Form->ModalResult(), mrOk);
    TXMLDocument Doc;
    Doc.LoadFromFile(File_ParGen);
    EXPECT_EQ(Doc.DocumentElement().FindNode("CANopen_BAUDRATE").Text(), "-1");
}

TEST_F(ParGenTest, MalformedFileIsReportedAndTheLastShowingsValuesAreDropped) {
    Use_Fixture("malformed.xml");
    Form->E_OPC_UA_Server_IP1->SetText("77"); // what another project's file had put there
    TestDialogs().ExpectBox(mrOk);
    Form->FormShow(Form.get());
    ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes()[0].Type, mtError);
    EXPECT_FALSE(TestDialogs().Boxes()[0].Text.isEmpty());
    EXPECT_NE(Form->E_OPC_UA_Server_IP1->Text(), "77");
}

TEST_F(ParGenTest, FailedCheckOrSaveWritesNothingAndKeepsTheWindowOpen) {
    // A failed check: no file, no result.
    Valid_Values();
    Form->E_CANopen_IDDevice->SetText("200");
    TestDialogs().ExpectBox(mrOk, Lang[1009]);
    Form->Btn_OKClick(Form->Btn_OK);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_FALSE(FileExists(File_ParGen));

    // An earlier file stays as it was when the check fails.
    Form->E_CANopen_IDDevice->SetText("20");
    Form->Btn_OKClick(Form->Btn_OK);
    const QString Before = File_Text();
    ASSERT_FALSE(Before.isEmpty());
    Form->SetModalResult(mrNone);
    Form->E_OPC_UA_Server_Port->SetText("10000");
    TestDialogs().ExpectBox(mrOk, Lang[1136]);
    Form->Btn_OKClick(Form->Btn_OK);
    EXPECT_EQ(File_Text(), Before);
    EXPECT_EQ(Form->ModalResult(), mrNone);

    // A folder that is gone: the error reaches the default handler and the window stays open.
    Form->E_OPC_UA_Server_Port->SetText("4840");
    File_ParGen = Dir.path() + "/no such folder/ParGen.xml";
    TestDialogs().ExpectBox(mrOk);
    TControl::Guard(Form->Btn_OK, [&] { Form->Btn_OKClick(Form->Btn_OK); });
    EXPECT_EQ(TestDialogs().Boxes().back().Type, mtError);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_FALSE(FileExists(File_ParGen));
}

TEST_F(ParGenTest, ShownModallyOkSavesAndCancelDiscards) {
    QFile::remove(File_ParGen);
    // Cancel: nothing written.
    SetModalHook([](TForm* F) {
        auto* P = static_cast<TFParGen*>(F);
        EXPECT_EQ(P->E_OPC_UA_Server_Port->Text(), "4840"); // the reader ran on showing
        P->E_NTP_Poll_Time->SetText("60");
        P->Btn_Cancel->Click();
    });
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_FALSE(FileExists(File_ParGen));
    // The discarded value is gone at the next showing; OK saves.
    SetModalHook([](TForm* F) {
        auto* P = static_cast<TFParGen*>(F);
        EXPECT_EQ(P->E_NTP_Poll_Time->Text(), "");
        P->E_NTP_Poll_Time->SetText("90");
        P->Btn_OK->Click();
    });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    TXMLDocument Doc;
    Doc.LoadFromFile(File_ParGen);
    EXPECT_EQ(Doc.DocumentElement().FindNode("NTP_Poll_Time").Text(), "90");
}

TEST_F(ParGenTest, DotMovesAlongTheOctetEditsAndNeverReachesThem) {
    QFile::remove(File_ParGen);
    SetModalHook([](TForm* F) {
        auto* P = static_cast<TFParGen*>(F);
        QApplication::processEvents();
        P->E_OPC_UA_Server_IP1->SetText("");
        P->E_OPC_UA_Server_IP2->SetText("");
        P->E_OPC_UA_Server_IP1->SetFocus();
        QApplication::processEvents();
        for (QChar C : QString("192.168.")) {
            auto* Target = dynamic_cast<TWinControl*>(P->ActiveControl());
            ASSERT_NE(Target, nullptr);
            const Word VK = C == '.' ? Word(VK_OEM_PERIOD) : Word(C.unicode());
            Target->SimulateKey(VK, {}, C);
            QApplication::processEvents();
        }
        EXPECT_EQ(P->E_OPC_UA_Server_IP1->Text(), "192");
        EXPECT_EQ(P->E_OPC_UA_Server_IP2->Text(), "168");
        EXPECT_TRUE(P->E_OPC_UA_Server_IP3->Focused());

        // After the last DNS octet the focus stays; other edits take "." as typed.
        P->E_OPC_UA_Server_DNS4->SetFocus();
        QChar Dot('.');
        P->KeyPress(P->E_OPC_UA_Server_DNS4, Dot);
        EXPECT_TRUE(Dot.isNull());
        QApplication::processEvents();
        EXPECT_TRUE(P->E_OPC_UA_Server_DNS4->Focused());
        P->E_NTP_Server_URL->SetText("");
        P->E_NTP_Server_URL->SetFocus();
        QApplication::processEvents();
        for (QChar C : QString("a.b"))
            P->E_NTP_Server_URL->SimulateKey(C == '.' ? Word(VK_OEM_PERIOD) : Word(C.toUpper().unicode()), {}, C);
        EXPECT_EQ(P->E_NTP_Server_URL->Text(), "a.b");
        P->SetModalResult(mrCancel);
    });
    Form->ShowModal();
}

TEST_F(ParGenTest, ThreePanelsNumberedAndStacked) {
    int Shown = 0;
    for (int i = 0; i < Form->CPG->PanelCount(); ++i)
        if (Form->CPG->Panels(i)->Visible()) ++Shown;
    EXPECT_EQ(Form->CPG->PanelCount(), 27);
    EXPECT_EQ(Shown, 3);
    const std::tuple<TCategoryPanel*, QString, int, int> Expected[] = {
        {Form->CP_OPC_UA_Server, "1. " + Lang[406], 0, 178},
        {Form->CP_CANopen, "2. " + Lang[604], 178, 178},
        {Form->CP_NTP, "3. " + Lang[564], 356, 94}};
    int Order = 0;
    for (const auto& [Panel, Caption, Top, Height] : Expected) {
        EXPECT_TRUE(Panel->Visible());
        EXPECT_EQ(Panel->Caption(), Caption);
        EXPECT_EQ(Panel->Top() + Form->CPG->ScrollPos(), Top);
        EXPECT_EQ(Panel->Height(), Height);
        EXPECT_EQ(Panel->TabOrder(), Order++);
    }
    EXPECT_EQ(Form->Caption(), "Set Communication");
    EXPECT_EQ(Form->L_SW_Desc->Caption(), "Set Communication Setting");
    EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and Save the current configuration");
    EXPECT_EQ(Form->E_OPC_UA_Server_DNS4->Hint(), Lang[1142]);
    EXPECT_EQ(Form->ClientWidth(), 460);
    EXPECT_EQ(Form->ClientHeight(), 700);
    // An empty model shows nothing new, and a check box outside the layout rows changes no height.
    Form->CB_CANopen_SetOpe->SetChecked(true);
    EXPECT_EQ(Form->CP_CANopen->Height(), 178);
}

TEST_F(ParGenTest, WheelScrollsTheGroupOnlyOverIt) {
    const int Lines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(3);
    SetModalHook([](TForm* F) {
        auto* P = static_cast<TFParGen*>(F);
        P->SetClientHeight(300); // the stack no longer fits
        QApplication::processEvents();
        ASSERT_GT(P->CPG->ScrollRange(), 3 * TCategoryPanelGroup::LineIncrement);
        bool Handled = false;
        P->FormMouseWheel(P, {}, -120, P->P_Title->ClientToScreen(Point(20, 20)), Handled);
        EXPECT_FALSE(Handled);
        EXPECT_EQ(P->CPG->ScrollPos(), 0);
        P->FormMouseWheel(P, {}, -120, P->P_Button->ClientToScreen(Point(20, 20)), Handled);
        EXPECT_FALSE(Handled);
        EXPECT_EQ(P->CPG->ScrollPos(), 0);
        P->FormMouseWheel(P, {}, -120, P->CPG->ClientToScreen(Point(20, 20)), Handled);
        EXPECT_TRUE(Handled);
        EXPECT_EQ(P->CPG->ScrollPos(), 3 * TCategoryPanelGroup::LineIncrement);
        Handled = false;
        P->FormMouseWheel(P, {}, 120, P->CPG->ClientToScreen(Point(20, 20)), Handled);
        EXPECT_TRUE(Handled);
        EXPECT_EQ(P->CPG->ScrollPos(), 0);
        // The width is fixed, the height follows the user.
        P->SetClientWidth(600);
        P->SetClientHeight(500);
        QApplication::processEvents();
        EXPECT_EQ(P->ClientWidth(), 460);
        EXPECT_EQ(P->ClientHeight(), 500);
        P->SetModalResult(mrCancel);
    });
    Form->ShowModal();
    QApplication::setWheelScrollLines(Lines);
}

TEST_F(ParGenTest, Picture) {
    QFile::remove(File_ParGen);
    const QString Old_SW_Code = SW_Code;
    SW_Code = Const_SW_Code;
    Form->L_SW_Code->SetCaption(SW_Code);
    SetModalHook([](TForm* F) {
        QApplication::processEvents();
        const QString Path = QCoreApplication::applicationDirPath() + "/ParGen.png";
        EXPECT_TRUE(SaveControlPng(F, Path));
        F->SetModalResult(mrCancel);
    });
    Form->ShowModal();
    SW_Code = Old_SW_Code;
}

TEST_F(ParGenTest, OtherModelsShowTheirOwnPanelsNumberedFromOne) {
    struct TCase {
        const char* Model;
        void (TFParGen::*Order)();
        std::vector<std::pair<TCategoryPanel * TFParGen::*, int>> Panels;
    };
    const TCase Cases[] = {
        {"MDL01",
         &TFParGen::Order_TAB_Panels_MDL01,
         {{&TFParGen::CP_OPC_UA_Server, 406}, {&TFParGen::CP_Serial, 913}, {&TFParGen::CP_NTP, 564}}},
        {"MDL11",
         &TFParGen::Order_TAB_Panels_MDL11,
         {{&TFParGen::CP_OPC_UA_Server, 406}, {&TFParGen::CP_DeviceNet_Slave, 625}, {&TFParGen::CP_NTP, 564}}},
        {"MDL17",
         &TFParGen::Order_TAB_Panels_MDL17,
         {{&TFParGen::CP_OPC_UA_Server, 406},
          {&TFParGen::CP_MQTT, 423},
          {&TFParGen::CP_Ethernet, 450},
          {&TFParGen::CP_WiFi, 473},
          {&TFParGen::CP_TLS, 549},
          {&TFParGen::CP_NTP, 564}}},
        {"MDL18", &TFParGen::Order_TAB_Panels_MDL18, {}},
        {"MDL20", &TFParGen::Order_TAB_Panels_MDL20, {}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Model);
        for (int i = 0; i < Form->CPG->PanelCount(); ++i) Form->CPG->Panels(i)->SetVisible(false);
        (Form.get()->*C.Order)();
        int Shown = 0;
        for (int i = 0; i < Form->CPG->PanelCount(); ++i)
            if (Form->CPG->Panels(i)->Visible()) ++Shown;
        EXPECT_EQ(Shown, int(C.Panels.size()));
        int Number = 1, Top = 0;
        for (const auto& [Member, Text] : C.Panels) {
            TCategoryPanel* P = Form.get()->*Member;
            EXPECT_TRUE(P->Visible());
            EXPECT_EQ(P->Caption(), QString::number(Number) + ". " + Lang[Text]);
            EXPECT_EQ(P->TabOrder(), Number - 1);
            EXPECT_EQ(P->Top(), Top); // stacked without gaps in the order of the list
            Top = P->Top() + P->Height();
            ++Number;
        }
    }
}

// Each shown control by its own number: a language file gives every number a text of its own, so
// a text taken from a neighbouring number shows.
TEST_F(ParGenTest, EveryShownTextComesFromItsOwnNumber) {
    const QString File = Dir.path() + "/Numbers.lng";
    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    for (int N = 400; N <= 1142; ++N) F.write(QString("STR %1 =T%1\r\n").arg(N).toLatin1());
    F.close();
    Read_Language_File(File);
    Form->Set_Lang();
    TFParGen* P = Form.get();
    const std::pair<QString, int> Expected[] = {
        {P->Caption(), 400},
        {P->L_SW_Desc->Caption(), 401},
        {P->Btn_OK->Caption(), 402},
        {P->Btn_Cancel->Caption(), 403},
        {P->Btn_OK->Hint(), 404},
        {P->Btn_Cancel->Hint(), 405},
        {P->L_OPC_UA_Server_IP->Caption(), 407},
        {P->E_OPC_UA_Server_IP1->Hint(), 408},
        {P->E_OPC_UA_Server_IP2->Hint(), 409},
        {P->E_OPC_UA_Server_IP3->Hint(), 410},
        {P->E_OPC_UA_Server_IP4->Hint(), 411},
        {P->L_OPC_UA_Server_SM->Caption(), 412},
        {P->E_OPC_UA_Server_SM1->Hint(), 413},
        {P->E_OPC_UA_Server_SM2->Hint(), 414},
        {P->E_OPC_UA_Server_SM3->Hint(), 415},
        {P->E_OPC_UA_Server_SM4->Hint(), 416},
        {P->CB_OPC_UA_Server_En_GAT->Caption(), 417},
        {P->CB_OPC_UA_Server_En_GAT->Hint(), 418},
        {P->E_OPC_UA_Server_GAT1->Hint(), 419},
        {P->E_OPC_UA_Server_GAT2->Hint(), 420},
        {P->E_OPC_UA_Server_GAT3->Hint(), 421},
        {P->E_OPC_UA_Server_GAT4->Hint(), 422},
        {P->CB_OPC_UA_Server_En_DNS->Caption(), 1137},
        {P->CB_OPC_UA_Server_En_DNS->Hint(), 1138},
        {P->E_OPC_UA_Server_DNS1->Hint(), 1139},
        {P->E_OPC_UA_Server_DNS2->Hint(), 1140},
        {P->E_OPC_UA_Server_DNS3->Hint(), 1141},
        {P->E_OPC_UA_Server_DNS4->Hint(), 1142},
        {P->L_OPC_UA_Server_Port->Caption(), 1134},
        {P->E_OPC_UA_Server_Port->Hint(), 1135},
        {P->L_CANopen_IDDevice->Caption(), 605},
        {P->E_CANopen_IDDevice->Hint(), 606},
        {P->L_CANopen_Baudrate->Caption(), 607},
        {P->CB_CANopen_Baudrate->Hint(), 608},
        {P->CB_CANopen_SetOpe->Caption(), 609},
        {P->CB_CANopen_SetOpe->Hint(), 610},
        {P->CB_CANopen_NetOpe->Caption(), 611},
        {P->CB_CANopen_NetOpe->Hint(), 612},
        {P->E_CANopen_NetOpe_Delay->Hint(), 613},
        {P->L_CANopen_SDO_Timeout->Caption(), 614},
        {P->E_CANopen_SDO_Timeout->Hint(), 615},
        {P->L_NTP_Server_URL->Caption(), 565},
        {P->E_NTP_Server_URL->Hint(), 566},
        {P->L_NTP_Poll_Time->Caption(), 567},
        {P->E_NTP_Poll_Time->Hint(), 568},
    };
    for (const auto& [Shown, N] : Expected) EXPECT_EQ(Shown, QString("T%1").arg(N)) << N;
    // The bit-rate items are not translated.
    EXPECT_EQ(P->CB_CANopen_Baudrate->Items()->Strings(8), "1000K");
    Load_English_Strings();
}

TEST_F(ParGenTest, LanguageChangeRetextsControlsButNotPanelCaptions) {
    const QString File = Dir.path() + "/Test.lng";
    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("STR 400 =Imposta Comunicazione\r\nSTR 406 =Server OPC UA\r\nSTR 1135 =Porta del server\r\n");
    F.close();
    Read_Language_File(File);
    Form->Set_Lang();
    EXPECT_EQ(Form->Caption(), "Imposta Comunicazione");
    EXPECT_EQ(Form->E_OPC_UA_Server_Port->Hint(), "Porta del server");
    EXPECT_EQ(Form->CP_OPC_UA_Server->Caption(), "1. OPC UA Server");
    Load_English_Strings();
}

} // namespace
