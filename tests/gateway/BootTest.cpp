#include "GatewayTestSupport.h"
#include "gateway/UBoot.h"
#include "platform/xml/XMLDoc.h"

namespace {

TEST(UpdateOptions, CodesByOptionAndReadBack) {
    struct {
        int Option;
        bool ReadBack;
        const char* Expected;
    } Cases[] = {
        {0, true, "P FW FR PW PR "},
        {0, false, "P FW NO PW NO "},
        {1, true, "P FW FR NO NO "},
        {1, false, "P FW NO NO NO "},
        {2, true, "P NO NO PW PR "},
        {2, false, "P NO NO PW NO "},
        {3, true, "P "},
        {-1, false, "P "},
    };
    for (const auto& C : Cases) EXPECT_EQ(Update_Options("P ", C.Option, C.ReadBack), C.Expected) << C.Option;
}

class EthernetUpdate : public ::testing::Test {
protected:
    TScratchDir Dir;
    QString OldAppDir;
    void SetUp() override {
        OldAppDir = App_Dir();
        Set_App_Dir(Dir.Path());
    }
    void TearDown() override { Set_App_Dir(OldAppDir); }
    TBootParams Params(int Option, bool ReadBack) {
        return TBootParams{"192.168.1.7", Option, ReadBack, "/opt/t/MASTER", "/opt/t/PROJECTS/P1"};
    }
};

struct TOp {
    QString File, Start, Bank, WriteCss, GoToApp;
};

QList<TOp> Operations(const IXMLNode& Root) {
    QList<TOp> Ops;
    const IXMLNodeList L = Root.FindNode("Operations").ChildNodes();
    for (int i = 0; i < L.Count(); ++i) {
        const IXMLNode O = L.Nodes(i);
        EXPECT_EQ(O.ChildNodes().Count(), 20);
        Ops << TOp{O.FindNode("Ope_FileName").Text(), O.FindNode("Ope_Start_Address").Text(),
                   O.FindNode("Ope_Bank_Type").Text(), O.FindNode("Ope_Write_CSS").Text(),
                   O.FindNode("Ope_GoToApp_After").Text()};
    }
    return Ops;
}

TEST_F(EthernetUpdate, OptionsChooseTheOperations) {
    const QString Fw = "/opt/t/MASTER/SimQ4180.sim", B1 = "/opt/t/PROJECTS/P1/bin/bank1.bin",
                  B2 = "/opt/t/PROJECTS/P1/bin/bank2.bin";
    struct {
        int Option;
        QStringList Files, Starts, GoToApp;
    } Cases[] = {
        {0, {Fw, B1, B2}, {"0x8000", "0x07000", "0x90000"}, {"0", "0", "1"}},
        {1, {Fw}, {"0x8000"}, {"1"}},
        {2, {B1, B2}, {"0x07000", "0x90000"}, {"0", "1"}},
    };
    for (const auto& C : Cases) {
        Compile_XML_Parameter_New_Boot(Params(C.Option, C.Option != 1));
        TXMLDocument Doc;
        Doc.LoadFromFile(Dir.Path("Ethernet_Update.xml"));
        const IXMLNode Root = Doc.DocumentElement();
        ASSERT_EQ(Root.NodeName(), "Ethernet_Update");
        EXPECT_EQ(Root.FindNode("IP_Address_Dev").Text(), "192.168.1.7");
        EXPECT_EQ(Root.FindNode("Protections").FindNode("Protection").Text(), "0x1C9");
        const QList<TOp> Ops = Operations(Root);
        ASSERT_EQ(Ops.size(), C.Files.size()) << C.Option;
        for (int i = 0; i < Ops.size(); ++i) {
            EXPECT_EQ(Ops[i].File, C.Files[i]);
            EXPECT_EQ(Ops[i].Start, C.Starts[i]);
            EXPECT_EQ(Ops[i].GoToApp, C.GoToApp[i]);
            EXPECT_EQ(Ops[i].WriteCss, Ops[i].File == Fw ? "1" : "0");
            EXPECT_EQ(Ops[i].Bank, Ops[i].File == Fw ? "1" : "2");
        }
    }
}

TEST_F(EthernetUpdate, FirmwareOnlyWithoutReadBackIsTheExactDocument) {
    const QString Xml = Ethernet_Update_XML(Params(1, false));
    EXPECT_EQ(
        Xml.trimmed(),
        "<Ethernet_Update><Version>1000</Version><Title>Velmora - CFG4180 Ethernet Update</Title>"
        "<IP_Address_Dev>192.168.1.7</IP_Address_Dev><Application_Port>10000</Application_Port>"
        "<Boot_Port>2008</Boot_Port><Boot_Port_Sec>2007</Boot_Port_Sec><Address_Protection>0x07800</Address_Protection>"
        "<Protections><Protection>0x1C9</Protection></Protections><Operations><Operation>"
        "<Ope_Protection_Enabled/><Ope_GoToBoot_Before>0</Ope_GoToBoot_Before><Ope_GoToApp_Before>0</"
        "Ope_GoToApp_Before>"
        "<Ope_IP_Address/><Ope_Port>2008</Ope_Port><Ope_Port_Sec>2007</Ope_Port_Sec><Ope_Erase_Memory>0</"
        "Ope_Erase_Memory>"
        "<Ope_FileName>/opt/t/MASTER/SimQ4180.sim</Ope_FileName><Ope_Start_Address>0x8000</Ope_Start_Address>"
        "<Ope_Memory_Type>0</Ope_Memory_Type><Ope_Bank_Type>1</Ope_Bank_Type><Ope_Read_Back>0</Ope_Read_Back>"
        "<Ope_Write_CSS>1</Ope_Write_CSS><Ope_Address_CSS>0x07A00</Ope_Address_CSS><Ope_Command_CSS>0x02</"
        "Ope_Command_CSS>"
        "<Ope_Write_Internal_Data>0</Ope_Write_Internal_Data><Ope_WID_Address>0x07810</Ope_WID_Address>"
        "<Ope_WID_Command>0x02</Ope_WID_Command><Ope_WID_Data>0x00, 0x00, 0x00, 0x01</Ope_WID_Data>"
        "<Ope_GoToApp_After>1</Ope_GoToApp_After></Operation></Operations></Ethernet_Update>");
}

TEST_F(EthernetUpdate, FailedWriteRaisesAndLeavesNoOldFile) {
    Block_File(Dir.Path("Ethernet_Update.xml"));
    EXPECT_THROW(Compile_XML_Parameter_New_Boot(Params(0, true)), EInOutError);
}

} // namespace
