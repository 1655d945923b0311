// The shared globals: project file paths, the folders beside the executable, the reset, the
// serial-port numbers.
#include "app/UComon.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iterator>

namespace {

// Every project file path the globals keep.
const QString* const Project_Files[] = {
    &File_ParGen,
    &File_OPC_UA_Server,
    &File_ModbusM_SetAccess,
    &File_BACnet_Slave,
    &File_CAN_Rec_Frames,
    &File_CAN_Send_Frames,
    &File_BACnet_Master_Access,
    &File_ModbusTCPM_SetAccess,
    &File_SDO_Server_CANopen,
    &File_SDO_Client_CANopen,
    &File_PDO_CANopen,
    &File_MQTT_Set_Topic,
    &File_DNETM_Net,
    &File_DNETM_DefOff,
    &File_DMX_Default_Values,
    &File_J1939_Rec_Frames,
    &File_J1939_Send_Frames,
    &File_KNX_SetAccess,
    &File_NMEA_Rec_Frames,
    &File_NMEA_Send_Frames,
    &File_SNMP_Manager,
    &File_SNMP_Trap,
    &File_EtherNetIP_Master_Rules,
};

class GlobalsTest : public ::testing::Test {
protected:
    void SetUp() override { Reset_Globals(); }
    void TearDown() override {
        Reset_Globals();
        SetSerialPorts(nullptr);
    }
};

TEST_F(GlobalsTest, SetFilesPutsEveryFileDirectlyInTheProjectFolderUnderItsOwnName) {
    for (const QString Dir : {"/srv/cfg/PROJECTS/Plant 1", "/srv/cfg/PROJECTS/B"}) {
        SCOPED_TRACE(Dir.toStdString());
        Project_Dir = Dir;
        Set_Files();
        QSet<QString> Names;
        for (const QString* Path : Project_Files) {
            ASSERT_TRUE(Path->startsWith(Dir + "/")) << Path->toStdString();
            const QString Name = Path->mid(Dir.size() + 1);
            EXPECT_FALSE(Name.contains('/')) << Path->toStdString();
            EXPECT_TRUE(Name.endsWith(".xml")) << Path->toStdString();
            Names.insert(Name);
        }
        EXPECT_EQ(Names.size(), int(std::size(Project_Files))); // no two globals share a file
    }
}

TEST_F(GlobalsTest, WithoutAProjectNoPathPointsAnywhere) {
    Project_Dir = "/srv/cfg/PROJECTS/A";
    Set_Files();
    Project_Dir.clear();
    Set_Files();
    for (const QString* Path : Project_Files) EXPECT_TRUE(Path->isEmpty()) << Path->toStdString();
}

TEST_F(GlobalsTest, ResetRestoresTheStartState) {
    Project_Name = "P";
    Project_Dir = "/x/P";
    Set_Files();
    Last_IP_Address = "10.0.0.1";
    Lang_Name = "Italiano";
    Update_Option_Index = 2;
    Update_Read_Back = false;
    Opt_Enable_Internet = Opt_Enable_Update = true;
    Opt_Enable_Jump_Field_Tables = Opt_Double_Click_Auto_Size = true;
    Row_Clipboard->Add("1");
    Row_Clipboard_CheckBox.append(true);
    MIB_Read_Names->Add("r");
    MIB_Write_Names->Add("w");

    Reset_Globals();

    EXPECT_TRUE(Project_Name.isEmpty());
    EXPECT_TRUE(Project_Dir.isEmpty());
    EXPECT_TRUE(File_ParGen.isEmpty());
    EXPECT_TRUE(File_EtherNetIP_Master_Rules.isEmpty());
    EXPECT_TRUE(Last_IP_Address.isEmpty());
    EXPECT_TRUE(Lang_Name.isEmpty());
    EXPECT_EQ(Update_Option_Index, 0);
    EXPECT_TRUE(Update_Read_Back); // the read-back box starts ticked
    EXPECT_FALSE(Opt_Enable_Internet || Opt_Enable_Update || Opt_Enable_Jump_Field_Tables ||
                 Opt_Double_Click_Auto_Size);
    EXPECT_EQ(Row_Clipboard->Count(), 0);
    EXPECT_TRUE(Row_Clipboard_CheckBox.isEmpty());
    EXPECT_EQ(MIB_Read_Names->Count(), 0);
    EXPECT_EQ(MIB_Write_Names->Count(), 0);
}

TEST_F(GlobalsTest, SoftwareIdentity) {
    EXPECT_EQ(Const_SW_Code, "CFG4180");
    EXPECT_EQ(Const_SW_Code_Query, "CFG4180");
    EXPECT_EQ(Const_SW_Desc, "OPC UA Server / CANopen - Converter");
    EXPECT_EQ(Const_App_Title, "Velmora - Configurator CFG4180 - OPC UA Server / CANopen ");
}

TEST_F(GlobalsTest, PrepareAppFoldersCreatesTheMissingOnesAndKeepsTheRest) {
    QTemporaryDir Root;
    ASSERT_TRUE(Root.isValid());
    const QString OldAppDir = App_Dir();
    Set_App_Dir(Root.path());
    ASSERT_TRUE(QDir(Root.path()).mkdir("PROJECTS"));
    QFile Kept(Root.path() + "/PROJECTS/keep.txt");
    ASSERT_TRUE(Kept.open(QIODevice::WriteOnly));
    Kept.write("x");
    Kept.close();

    Prepare_App_Folders();
    Set_App_Dir(OldAppDir);

    EXPECT_EQ(Master_Dir, Root.path() + "/MASTER");
    EXPECT_EQ(Projects_Dir, Root.path() + "/PROJECTS");
    EXPECT_EQ(Language_Dir, Root.path() + "/LANGUAGE");
    EXPECT_TRUE(QDir(Master_Dir).exists());
    EXPECT_TRUE(QDir(Language_Dir).exists());
    EXPECT_TRUE(QFile::exists(Root.path() + "/PROJECTS/keep.txt"));
}

TEST_F(GlobalsTest, PrepareAppFoldersDoesNotReportFoldersItCannotCreate) {
    QTemporaryDir Root;
    ASSERT_TRUE(Root.isValid());
    const QString OldAppDir = App_Dir();
    // The executable's folder is gone: nothing can be created below it.
    Set_App_Dir(Root.path() + "/missing/deeper");
    EXPECT_NO_THROW(Prepare_App_Folders());
    Set_App_Dir(OldAppDir);
    EXPECT_EQ(Master_Dir, Root.path() + "/missing/deeper/MASTER");
    EXPECT_FALSE(QDir(Master_Dir).exists());
}

TEST_F(GlobalsTest, ComPortsAreStableNumbersInAscendingOrder) {
    SetSerialPorts(
        std::make_shared<TFakeSerialPorts>(QStringList{"/dev/ttyS0", "/dev/ttyS3", "/dev/ttyUSB0", "/dev/ttyUSB12",
                                                       "/dev/ttyACM1", "/dev/ttyS40", "/dev/ttyXYZ", "/dev/ttyUSBx"}));
    std::unique_ptr<TStringList> Ports = Get_COM_Ports();
    ASSERT_NE(Ports, nullptr);
    QStringList Got;
    for (int i = 0; i < Ports->Count(); ++i) Got.append(Ports->Strings(i));
    EXPECT_EQ(Got, (QStringList{"1", "4", "33", "45", "66"}));

    SetSerialPorts(std::make_shared<TFakeSerialPorts>());
    EXPECT_EQ(Get_COM_Ports()->Count(), 0);
}

} // namespace
