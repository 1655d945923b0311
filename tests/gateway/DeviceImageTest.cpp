#include "GatewayTestSupport.h"
#include "app/UComon.h"
#include "gateway/USaveBincc.h"

namespace {

uint32_t U32(const uint8_t* P) { return P[0] | (P[1] << 8) | (P[2] << 16) | (uint32_t(P[3]) << 24); }
uint16_t U16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }
uint32_t PB32(int Ofs) { return U32(Param_Block.data() + Ofs); }
uint32_t Bank1_32(int Ofs) { return U32(Bank1_Data.data() + Ofs); }

class DeviceImage : public ::testing::Test {
protected:
    TScratchDir Dir;
    TProjectFiles Files = TProjectFiles::In(Dir.Path());
    void SetUp() override { QDir(Dir.Path()).mkpath("bin"); }
    void ParGen(const QByteArray& Children) { Dir.Write("ParGen.xml", "<Par_Gen>" + Children + "</Par_Gen>"); }
    void Build() { Compile_Bin(Files); }
};

TEST_F(DeviceImage, EmptyProjectGivesDefaultsAndTheGoldenChecksum) {
    Build();
    ASSERT_EQ(Bank1_Len, 2048);
    EXPECT_EQ(Bank1_32(2044), 4497u);
    EXPECT_EQ(Bank1_32(0), 250000u);
    EXPECT_EQ(Bank1_32(224), 0x90000u);
    EXPECT_EQ(Bank1_32(244), 0x9D000u);
    EXPECT_EQ(Bank1_32(1568), 0x9E000u);
    EXPECT_EQ(Bank1_Data[436], 8);
    EXPECT_EQ(Bank1_Data[443], 8);

    ASSERT_EQ(Bank2_Len, 57361);
    for (int e = 0; e < 1792; ++e) { // every entry free: 12 zero bytes, eight 0xFFFF words, 4 zero bytes
        const uint8_t* P = Bank2_Data.data() + 32 * e;
        for (int i = 0; i < 12; ++i) ASSERT_EQ(P[i], 0) << e;
        for (int i = 12; i < 28; ++i) ASSERT_EQ(P[i], 0xFF) << e;
        for (int i = 28; i < 32; ++i) ASSERT_EQ(P[i], 0) << e;
    }
    const uint8_t Header[] = {0xE8, 0x12, 0, 0, 0x10, 0xE0, 0x09, 0, 0x10, 0xE0, 0x09, 0, 10, 0, 0, 0, 0};
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(Bank2_Data.data() + 57344), 17),
              QByteArray(reinterpret_cast<const char*>(Header), 17));
}

TEST_F(DeviceImage, ParGenWithoutElementsTakesEveryFallback) {
    ParGen("");
    Build();
    EXPECT_EQ(Bank1_32(2044), 4201u);
    EXPECT_EQ(PB32(0), 1000000u);
    EXPECT_EQ(PB32(40), 0x0A00A8C0u); // 192.168.0.10, first octet first
    EXPECT_EQ(PB32(48), 0xFFFFFFFFu);
    EXPECT_EQ(PB32(1420), 0u);
    EXPECT_EQ(PB32(156), 1u);
    EXPECT_EQ(PB32(164), 10000u);
    EXPECT_EQ(PB32(168), 10000u);
    EXPECT_EQ(OPC_UA_Server_Block.Port, 4840);
    EXPECT_EQ(OPC_UA_Server_Block.NTP_Time, 1000u);
}

TEST_F(DeviceImage, ParGenElements) {
    struct {
        QByteArray Xml;
        int Offset;
        uint32_t Expected;
    } Cases[] = {
        {"<OPC_UA_Server_EN_GAT>0</OPC_UA_Server_EN_GAT><OPC_UA_Server_GAT1>10</OPC_UA_Server_GAT1>"
         "<OPC_UA_Server_GAT2>0</OPC_UA_Server_GAT2><OPC_UA_Server_GAT3>0</OPC_UA_Server_GAT3><OPC_UA_Server_GAT4>1</"
         "OPC_UA_Server_GAT4>",
         48, 0xFFFFFFFF},
        {"<OPC_UA_Server_EN_GAT>1</OPC_UA_Server_EN_GAT><OPC_UA_Server_GAT1>10</OPC_UA_Server_GAT1>"
         "<OPC_UA_Server_GAT2>0</OPC_UA_Server_GAT2><OPC_UA_Server_GAT3>0</OPC_UA_Server_GAT3><OPC_UA_Server_GAT4>1</"
         "OPC_UA_Server_GAT4>",
         48, 0x0100000A},
        {"<OPC_UA_Server_DNS1>1</OPC_UA_Server_DNS1>", 1420, 0},
        {"<OPC_UA_Server_EN_DNS>1</OPC_UA_Server_EN_DNS><OPC_UA_Server_DNS1>1</OPC_UA_Server_DNS1>", 1420, 0x08080801},
        {"<CANopen_BAUDRATE>4</CANopen_BAUDRATE>", 0, 125000},
        {"<CANopen_BAUDRATE>$4</CANopen_BAUDRATE>", 0, 125000},
        {"<CANopen_BAUDRATE>9</CANopen_BAUDRATE>", 0, 1000000},
        {"<CANopen_BAUDRATE>-1</CANopen_BAUDRATE>", 0, 1000000},
        {"<CANopen_BAUDRATE>abc</CANopen_BAUDRATE>", 0, 1000000},
        {"<CANopen_Delay>3</CANopen_Delay>", 164, 3000},
        {"<CANopen_Set_Operational>1</CANopen_Set_Operational><CANopen_Network_Start>0</CANopen_Network_Start>", 160,
         1},
        {"<CANopen_Set_Operational>1 </CANopen_Set_Operational><CANopen_Network_Start>1</CANopen_Network_Start>", 160,
         2},
        {"<OPC_UA_Server_IP1>300</OPC_UA_Server_IP1>", 40, 0x0A00A82C},
        {"<CANopen_IDDev>0x7F</CANopen_IDDev>", 156, 127},
        {"<CANopen_SDO_TimeOut>x10</CANopen_SDO_TimeOut>", 168, 16},
    };
    for (const auto& C : Cases) {
        ParGen(C.Xml);
        Build();
        EXPECT_EQ(PB32(C.Offset), C.Expected) << C.Xml.constData();
    }
}

TEST_F(DeviceImage, ParGenFeedsTheOpcUaRecord) {
    ParGen("<OPC_UA_Server_Port>0x1F90</OPC_UA_Server_Port><NTP_Server_URL> pool "
           "</NTP_Server_URL><NTP_Poll_Time>60</NTP_Poll_Time>");
    Build();
    EXPECT_EQ(OPC_UA_Server_Block.Port, 8080);
    EXPECT_EQ(OPC_UA_Server_Block.NTP, " pool ");
    EXPECT_EQ(OPC_UA_Server_Block.NTP_Time, 60u);
}

TEST_F(DeviceImage, OpcUaBlockExample) {
    ParGen("<NTP_Server_URL>10.0.0.9</NTP_Server_URL>");
    Dir.Write("OPC_UA_Server.xml",
              "<OPC_UA_Server><OPC_UA_Server_Variables>"
              R"(<row Enable="Y" Type="Float" Position="10" Length="4" Name="T1" ReadWrite="Read/Write" Mnemonic=""/>)"
              R"(<row Enable="N" Type="Int16" Position="1" Length="2" Name="skip" ReadWrite="Read/Write" Mnemonic=""/>)"
              R"(<row Enable="Y" Type="Byte" Position="$20" Length="1" Name="" ReadWrite="Read Only" Mnemonic=""/>)"
              "</OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.000-->");
    Build();
    const uint8_t* B = Bank2_Data.data() + 57344;
    EXPECT_EQ(Bank2_Len - 57344, 61);
    EXPECT_EQ(U16(B + 2), 2);
    EXPECT_EQ(U32(B + 4), 0x9E010u);
    EXPECT_EQ(U32(B + 8), 0x9E031u);
    // first entry: Float, 10, 4, writable, name at 0x9E03A
    EXPECT_EQ(U32(B + 16), 9u);
    EXPECT_EQ(U16(B + 20), 10);
    EXPECT_EQ(U16(B + 22), 4);
    EXPECT_EQ(U32(B + 24), 1u);
    EXPECT_EQ(U32(B + 28), 0x9E03Au);
    // second: the skipped row leaves no gap; an empty name points at the shared 0 byte
    EXPECT_EQ(U32(B + 32), 2u);
    EXPECT_EQ(U16(B + 36), 32);
    EXPECT_EQ(U32(B + 40), 0u);
    EXPECT_EQ(U32(B + 44), 0x9E030u);
    EXPECT_EQ(B[0x30], 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(B + 0x31), 9), QByteArray("10.0.0.9\0", 9));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(B + 0x3A), 3), QByteArray("T1\0", 3));
}

TEST_F(DeviceImage, OpcUaRowGuards) {
    Dir.Write("OPC_UA_Server.xml",
              "<OPC_UA_Server><OPC_UA_Server_Variables>"
              R"(<row Type="DateTime" Position="abc" Length="abc"/>)" // no Enable: enabled, as the window shows it
              "<!-- not a variable -->"
              R"(<row Enable="Y" Type="ByteString"/>)"
              "</OPC_UA_Server_Variables></OPC_UA_Server>");
    Build();
    ASSERT_EQ(OPC_UA_Server_Block.Variables.size(), 2);
    const TOPC_UA_Var& A = OPC_UA_Server_Block.Variables[0];
    EXPECT_EQ(A.VarType, 0u);
    EXPECT_EQ(A.Position, 0);
    EXPECT_EQ(A.Length, 1);
    EXPECT_EQ(A.Options, 0u);
    const TOPC_UA_Var& B = OPC_UA_Server_Block.Variables[1];
    EXPECT_EQ(B.VarType, 14u);
    EXPECT_EQ(B.Length, 0);
}

TEST_F(DeviceImage, OpcUaRootIsFoundByNameAfterADeclaration) {
    Dir.Write("OPC_UA_Server.xml",
              "<?xml version=\"1.0\"?><!--c--><OPC_UA_Server><OPC_UA_Server_Variables>"
              R"(<row Enable="Y" Type="Byte"/>)"
              "</OPC_UA_Server_Variables></OPC_UA_Server>");
    Build();
    EXPECT_EQ(OPC_UA_Server_Block.Num_Var, 1);
}

TEST_F(DeviceImage, CanopenRecordsAtTheirDeviceAddresses) {
    Dir.Write(
        "SDO_Server_CANopen.xml",
        "<SDO_Server_CANopen><SDO_Read>"
        R"(<row Index="$2000" SubIndex="x1" NByte="3" Address_B1="100" Address_B2="101" Address_B3="102" Address_B4="103" Mnemonic=""/>)"
        "</SDO_Read><SDO_Write>"
        R"(<row Index="0x2001" SubIndex="2" NByte="4" Address_B1="1" Address_B2="2" Address_B3="3" Address_B4="4" Mnemonic=""/>)"
        "</SDO_Write></SDO_Server_CANopen>");
    Dir.Write(
        "SDO_Client_CANopen.xml",
        "<SDO_Client_CANopen><SDO_Read>"
        R"(<row Device_ID="5" Index="0x1018" SubIndex="1" NByte="1" Poll_Time="1000" Address_B1="7" Address_B2="" Address_B3="" Address_B4="" Mnemonic=""/>)"
        "</SDO_Read><SDO_Write>"
        R"(<row Device_ID="6" Index="0x1018" SubIndex="1" NByte="1" Poll_Time="0" Address_B1="8" Address_B2="" Address_B3="" Address_B4="" Mnemonic=""/>)"
        "</SDO_Write></SDO_Client_CANopen>");
    Dir.Write(
        "PDO_CANopen.xml",
        "<PDO_CANopen><Receive_PDO>"
        R"(<row COB-ID="$201" Dimension="1" Address_B1="9" Address_B2="" Address_B3="" Address_B4="" Address_B5="" Address_B6="" Address_B7="" Address_B8="" TimeOut="500" Mnemonic=""/>)"
        "</Receive_PDO><Transmit_PDO>"
        R"(<row COB-ID="0x181" Dimension="2" Address_B1="20" Address_B2="21" Address_B3="x" Address_B4="" Address_B5="" Address_B6="" Address_B7="" Address_B8="" Send_Time="100" On_Change="Y" Mnemonic=""/>)"
        R"(<row COB-ID="0x182" Dimension="1" Address_B1="22" Address_B2="" Address_B3="" Address_B4="" Address_B5="" Address_B6="" Address_B7="" Address_B8="" Send_Time="100" On_Change="N" Mnemonic=""/>)"
        "</Transmit_PDO></PDO_CANopen>");
    Build();
    auto Entry = [](uint32_t DeviceAddress, int Index) {
        const int Ofs = int(DeviceAddress - 0x90000) + 32 * Index;
        return QByteArray(reinterpret_cast<const char*>(Bank2_Data.data() + Ofs), 32).toHex(' ');
    };
    EXPECT_EQ(Entry(0x90000, 0),
              "00 00 00 00 00 20 01 00 00 00 00 00 00 00 00 00 00 00 00 00 64 00 65 00 00 00 00 00 03 00 00 00");
    EXPECT_EQ(Entry(0x94000, 0),
              "00 00 00 00 01 20 02 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 02 00 03 00 04 00 04 01 00 00");
    EXPECT_EQ(Entry(0x98000, 0),
              "00 00 00 00 18 10 01 05 e8 03 00 00 00 00 00 00 00 00 00 00 07 00 00 00 00 00 00 00 01 00 00 00");
    EXPECT_EQ(Entry(0x9A000, 0),
              "00 00 00 00 18 10 01 06 00 00 00 00 00 00 00 00 00 00 00 00 08 00 00 00 00 00 00 00 01 01 00 00");
    EXPECT_EQ(Entry(0x9C000, 0),
              "01 02 00 00 00 00 00 00 f4 01 00 00 09 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00");
    EXPECT_EQ(Entry(0x9D000, 0),
              "81 01 00 00 00 00 00 00 64 00 00 00 14 00 15 00 00 00 00 00 00 00 00 00 00 00 00 00 02 03 00 00");
    EXPECT_EQ(Entry(0x9D000, 1).right(11), "01 01 00 00");
    EXPECT_EQ(Entry(0x9D000, 2), Entry(0x9D000, 100)); // free entries after the used ones
    const uint32_t Counts[] = {1, 1, 1, 1, 1, 2};
    for (int t = 0; t < 6; ++t) EXPECT_EQ(PB32(172 + 4 * t), Counts[t]) << t;
}

TEST_F(DeviceImage, EntryModesAndAddressWordsByTable) {
    const QByteArray Adds = R"(Address_B1="1" Address_B2="2" Address_B3="3" Address_B4="4")";
    auto Client = [&](const QByteArray& Extra) {
        return "<row Device_ID=\"1\" Index=\"0X1000\" SubIndex=\"0\" NByte=\"4\" Poll_Time=\"1\" " + Adds + " " +
            Extra + " Mnemonic=\"\"/>";
    };
    // A read request is mode 0 whatever it holds; a write request is 3 only for "Y".
    Dir.Write("SDO_Client_CANopen.xml",
              "<SDO_Client_CANopen><SDO_Read>" + Client(R"(On_Change="Y")") + "</SDO_Read><SDO_Write>" +
                  Client(R"(On_Change="Y")") + Client(R"(On_Change="N")") + Client(R"(On_Change="")") +
                  Client(R"(On_Change="y")") + "</SDO_Write></SDO_Client_CANopen>");
    QByteArray PdoAdds;
    for (int b = 1; b <= 8; ++b) PdoAdds += QString(" Address_B%1=\"%2\"").arg(b).arg(100 + b).toUtf8();
    Dir.Write("PDO_CANopen.xml",
              "<PDO_CANopen><Receive_PDO><row COB-ID=\"0x7FF\" Dimension=\"8\"" + PdoAdds +
                  " TimeOut=\"65535\" Mnemonic=\"\"/></Receive_PDO><Transmit_PDO/></PDO_CANopen>");
    Build();
    EXPECT_EQ(SDO_Client_Read_Table[0].Entry_Mode, 0);
    const uint8_t Modes[] = {3, 1, 1, 1};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SDO_Client_Write_Table[i].Entry_Mode, Modes[i]) << i;
    // SDO values sit in the upper four address words, all four taken for four bytes.
    const uint16_t Sdo[] = {0, 0, 0, 0, 1, 2, 3, 4};
    for (int w = 0; w < 8; ++w) EXPECT_EQ(U16(Bank2_Data.data() + 0x9A000 - 0x90000 + 12 + 2 * w), Sdo[w]) << w;
    const TCANopen_Entry& R = RPDO_Table[0];
    EXPECT_EQ(R.COB_ID, 0x7FFu);
    EXPECT_EQ(R.Entry_Time, 65535u);
    EXPECT_EQ(R.Entry_Mode, 0);
    for (int w = 0; w < 8; ++w) EXPECT_EQ(R.Data_Address[w], 101 + w) << w;
    EXPECT_EQ(PB32(188), 1u);
    EXPECT_EQ(PB32(192), 0u);
}

struct TRefusedCase {
    const char* Name;
    const char* File;
    QByteArray Xml;
};

// The case prints as its name wherever the test framework shows the parameter.
void PrintTo(const TRefusedCase& C, std::ostream* Out) { *Out << C.Name; }

class RefusedProject : public DeviceImage, public ::testing::WithParamInterface<TRefusedCase> {};

TEST_P(RefusedProject, BuildRaisesAndNothingIsWritten) {
    const TRefusedCase& C = GetParam();
    Dir.Write(C.File, C.Xml);
    Dir.Write("bin/bank1.bin", "old");
    EXPECT_THROW(Build(), Exception) << C.Name;
    EXPECT_EQ(Bank1_Len, 0);
    EXPECT_THROW(Write_Bin_Files(Dir.Path()), EInOutError);
    EXPECT_EQ(Dir.Read("bin/bank1.bin"), "old");
    EXPECT_FALSE(FileExists(Dir.Path("bin/bank2.bin")));
}

QByteArray Many(const QByteArray& Row, int N) {
    QByteArray R;
    for (int i = 0; i < N; ++i) R += Row;
    return R;
}

const QByteArray ClientRow =
    R"(<row Device_ID="1" Index="0x1000" SubIndex="0" NByte="1" Poll_Time="1" Address_B1="0" Address_B2="" Address_B3="" Address_B4="" Mnemonic=""/>)";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedProject,
    ::testing::Values(
        TRefusedCase{"pdo row without dimension", "PDO_CANopen.xml",
                     "<PDO_CANopen><Receive_PDO><row COB-ID=\"1\" Address_B1=\"0\" "
                     "TimeOut=\"0\"/></Receive_PDO><Transmit_PDO/></PDO_CANopen>"},
        TRefusedCase{"missing section", "PDO_CANopen.xml", "<PDO_CANopen><Receive_PDO/></PDO_CANopen>"},
        TRefusedCase{"value not a number", "SDO_Server_CANopen.xml",
                     "<SDO_Server_CANopen><SDO_Read><row Index=\"abc\" SubIndex=\"0\" NByte=\"1\" "
                     "Address_B1=\"0\"/></SDO_Read><SDO_Write/></SDO_Server_CANopen>"},
        TRefusedCase{"malformed xml", "SDO_Client_CANopen.xml", "<SDO_Client_CANopen><SDO_Read>"},
        TRefusedCase{"comment among rows", "SDO_Client_CANopen.xml",
                     "<SDO_Client_CANopen><SDO_Read>" + ClientRow + "<!--x-->" +
                         "</SDO_Read><SDO_Write/></SDO_Client_CANopen>"},
        TRefusedCase{"declaration before the root", "SDO_Client_CANopen.xml",
                     "<?xml version=\"1.0\"?><SDO_Client_CANopen><SDO_Read/><SDO_Write/></SDO_Client_CANopen>"},
        TRefusedCase{"257 sdo client rows", "SDO_Client_CANopen.xml",
                     "<SDO_Client_CANopen><SDO_Read>" + Many(ClientRow, 257) +
                         "</SDO_Read><SDO_Write/></SDO_Client_CANopen>"},
        TRefusedCase{"opc ua block beyond its room", "OPC_UA_Server.xml",
                     "<OPC_UA_Server><OPC_UA_Server_Variables>" +
                         Many("<row Enable=\"Y\" Type=\"Byte\" Name=\"" + QByteArray(400, 'n') + "\"/>", 200) +
                         "</OPC_UA_Server_Variables></OPC_UA_Server>"},
        TRefusedCase{"opc ua without its section", "OPC_UA_Server.xml", "<OPC_UA_Server/>"}),
    [](const auto& Info) { return QString(Info.param.Name).replace(' ', '_').toStdString(); });

TEST_F(DeviceImage, TablesFilledToCapacityAreAccepted) {
    Dir.Write("SDO_Client_CANopen.xml",
              "<SDO_Client_CANopen><SDO_Read>" + Many(ClientRow, 256) + "</SDO_Read><SDO_Write>" +
                  Many(ClientRow, 256) + "</SDO_Write></SDO_Client_CANopen>");
    Build();
    EXPECT_EQ(PB32(180), 256u);
    EXPECT_EQ(PB32(184), 256u);
    EXPECT_EQ(Bank2_Len, 57361);
}

TEST_F(DeviceImage, WriteBinFilesWritesBothImages) {
    Build();
    Write_Bin_Files(Dir.Path());
    EXPECT_EQ(Dir.Read("bin/bank1.bin"), QByteArray(reinterpret_cast<const char*>(Bank1_Data.data()), 2048));
    EXPECT_EQ(Dir.Read("bin/bank2.bin").size(), 57361);
}

TEST_F(DeviceImage, FailedWriteRaisesAndLeavesNoPair) {
    Build();
    // "bank2.bin" cannot be replaced: the new bank1 must not stay beside an old bank2.
    Dir.Write("bin/bank1.bin", "old1");
    Block_File(Dir.Path("bin/bank2.bin"));
    EXPECT_THROW(Write_Bin_Files(Dir.Path()), EInOutError);
    EXPECT_FALSE(FileExists(Dir.Path("bin/bank1.bin")));
}

TEST_F(DeviceImage, UnwritableBinFolderRaises) {
    Build();
    QDir(Dir.Path()).rmdir("bin");
    Dir.Write("bin", "not a folder");
    EXPECT_THROW(Write_Bin_Files(Dir.Path()), EInOutError);

    TScratchDir Other; // a read-only "bin" folder (root ignores the permission bits, so it may pass)
    QDir(Other.Path()).mkpath("bin");
    QFile::setPermissions(Other.Path("bin"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool Writable = QFile(Other.Path("bin/probe")).open(QIODevice::WriteOnly);
    if (!Writable) {
        EXPECT_THROW(Write_Bin_Files(Other.Path()), EInOutError);
        EXPECT_FALSE(FileExists(Other.Path("bin/bank1.bin")));
    }
    QFile::setPermissions(Other.Path("bin"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(DeviceImage, OpenProjectGlobals) {
    Project_Dir = Dir.Path();
    Set_Files();
    ParGen("<CANopen_IDDev>9</CANopen_IDDev>");
    Compile_Bin();
    EXPECT_EQ(PB32(156), 9u);
    Write_Bin_Files();
    EXPECT_TRUE(FileExists(Dir.Path("bin/bank2.bin")));
    Reset_Globals();
    EXPECT_THROW(Write_Bin_Files(), EInOutError);
}

TEST(OpcUaTypeCodes, ExactTexts) {
    const QStringList Types = {"Boolean", "Signed Byte", "Byte",  "Int16",  "UInt16", "Int32",     "UInt32",
                               "Int64",   "UInt64",      "Float", "Double", "String", "ByteString"};
    const uint32_t Codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14};
    for (int i = 0; i < Types.size(); ++i) EXPECT_EQ(Get_OPC_UA_VarType(Types[i]), Codes[i]);
    EXPECT_EQ(Get_OPC_UA_VarType("float"), 0u);
    EXPECT_EQ(Get_OPC_UA_VarType(""), 0u);
}

TEST(ParamBlockDefaults, EveryByteOfTheDefaultBlock) {
    // Built byte by byte from the field table, so a default at a wrong offset shows even when the
    // byte-sum stays the same.
    std::array<uint8_t, 2048> Expected{};
    auto Put = [&Expected](int Ofs, uint32_t V, int Width) {
        for (int i = 0; i < Width; ++i) Expected[Ofs + i] = uint8_t(V >> (8 * i));
    };
    Put(0, 250000, 4);
    Put(4, 250000, 4);
    Put(12, 9600, 4);
    const uint8_t Ip[] = {192, 168, 2, 205}, Mask[] = {255, 255, 255, 0};
    for (int i = 0; i < 4; ++i) {
        Expected[40 + i] = Ip[i];
        Expected[44 + i] = Mask[i];
        Expected[48 + i] = 255;
    }
    Put(52, 10000, 2);
    Put(54, 10001, 2);
    Put(56, 10001, 2);
    for (int i = 436; i <= 443; ++i) Expected[i] = 8;
    Init_Param_Block();
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Param_Block[i], Expected[i]) << "offset " << i;
}

TEST(ParamBlockToBank, ChecksumOfTheCopy) {
    Init_Param_Block();
    Param_Block[100] = 0xFF;
    TBank Bank{};
    EXPECT_EQ(Param_Block_To_Bank(0, Bank), 2048);
    uint32_t Sum = 0;
    for (int i = 0; i < 2044; ++i) Sum += Bank[i];
    EXPECT_EQ(U32(Bank.data() + 2044), Sum);
    EXPECT_THROW(Param_Block_To_Bank(Bank_Size - 100, Bank), ERangeError);
}

} // namespace
