// The settings file "Tessaro.xml": what is read from it (each value on its own default), what
// is written, and how bad files and failed writes end.
#include "app/UComon.h"
#include "app/USettings.h"
#include "platform/rtl/Files.h"
#include "platform/xml/XMLDoc.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Set_App_Dir(Dir.path());
        Reset_Globals();
    }
    void TearDown() override { Reset_Globals(); }

    void Write_File(const QByteArray& Text) { WriteFileAtomic(Settings_File(), Text); }

    // Values that differ from every default, so a value left unread shows.
    static void Set_Non_Defaults() {
        Project_Name = "Plant 7";
        Project_Dir = "/somewhere/Plant 7";
        Last_IP_Address = "10.0.0.9";
        Lang_Name = "Deutsch";
        Opt_Enable_Internet = true;
        Opt_Enable_Update = true;
        Opt_Enable_Jump_Field_Tables = true;
        Opt_Double_Click_Auto_Size = true;
    }

    QTemporaryDir Dir;
    TXMLDocument XML;
};

TEST_F(SettingsTest, SavedFileHasTheFixedLayoutAndReadsBack) {
    Project_Name = "Line 1";
    Last_IP_Address = "192.168.0.10";
    Lang_Name = "Italiano";
    Opt_Enable_Internet = true;
    Opt_Enable_Update = false;
    Opt_Enable_Jump_Field_Tables = true;
    Opt_Double_Click_Auto_Size = false;
    Save_Settings(XML);

    const QString Text = QString::fromUtf8(ReadFileBytes(Settings_File())).trimmed();
    EXPECT_EQ(Text,
              "<Conf_Settings><lastproj><projectname>Line 1</projectname></lastproj>"
              "<lastipadd><ipaddress>192.168.0.10</ipaddress></lastipadd>"
              "<lastlang><language>Italiano</language></lastlang>"
              "<lastinternet><enable_internet>1</enable_internet><enable_update>0</enable_update>"
              "<enable_jump_field_tables>1</enable_jump_field_tables>"
              "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>");

    Reset_Globals();
    TXMLDocument Other;
    Load_Settings(Other);
    EXPECT_EQ(Project_Name, "Line 1");
    EXPECT_EQ(Last_IP_Address, "192.168.0.10");
    EXPECT_EQ(Lang_Name, "Italiano");
    EXPECT_TRUE(Opt_Enable_Internet);
    EXPECT_FALSE(Opt_Enable_Update);
    EXPECT_TRUE(Opt_Enable_Jump_Field_Tables);
    EXPECT_FALSE(Opt_Double_Click_Auto_Size);
}

TEST_F(SettingsTest, EmptyProjectNameAndBlanksSurviveTheRoundTrip) {
    Project_Name = "";
    Last_IP_Address = " 10.1.1.1 ";
    Lang_Name = "English";
    Save_Settings(XML);
    Set_Non_Defaults();
    Load_Settings(XML);
    EXPECT_EQ(Project_Name, "");
    EXPECT_EQ(Last_IP_Address, " 10.1.1.1 ");
}

TEST_F(SettingsTest, SaveDiscardsWhateverTheDocumentHeld) {
    // The main window lends its document to the file generators; their content and their
    // declaration switch must not end up in the settings file.
    XML.LoadFromXML("<?xml version=\"1.0\"?><Generated><Row a=\"1\"/></Generated>");
    XML.SetWriteDeclaration(true);
    Save_Settings(XML);
    const QByteArray Bytes = ReadFileBytes(Settings_File());
    EXPECT_TRUE(Bytes.startsWith("<Conf_Settings>")) << Bytes.constData();
    EXPECT_FALSE(Bytes.contains("Generated"));
}

struct TReadCase {
    const char* Name;
    const char* File;
    const char* Project;
    const char* Address;
    const char* Language;
    bool Internet, Update, Jump, AutoSize;
};

// The case prints as its name wherever the test framework shows the parameter.
void PrintTo(const TReadCase& C, std::ostream* Out) { *Out << C.Name; }

class SettingsReadTest : public SettingsTest, public ::testing::WithParamInterface<TReadCase> {};

TEST_P(SettingsReadTest, EachValueFallsBackOnItsOwn) {
    const TReadCase& C = GetParam();
    Write_File(C.File);
    Set_Non_Defaults();
    Load_Settings(XML);
    EXPECT_EQ(Project_Name, C.Project);
    EXPECT_EQ(Last_IP_Address, C.Address);
    EXPECT_EQ(Lang_Name, C.Language);
    EXPECT_EQ(Opt_Enable_Internet, C.Internet);
    EXPECT_EQ(Opt_Enable_Update, C.Update);
    EXPECT_EQ(Opt_Enable_Jump_Field_Tables, C.Jump);
    EXPECT_EQ(Opt_Double_Click_Auto_Size, C.AutoSize);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsReadTest,
    ::testing::Values(TReadCase{"OnlyLanguage",
                                "<Conf_Settings><lastlang><language>Deutsch</language></lastlang></Conf_Settings>", "",
                                "192.168.2.205", "Deutsch", false, false, false, false},
                      TReadCase{"RootNameNotChecked",
                                "<Anything><lastproj><projectname>P</projectname></lastproj>"
                                "<lastinternet><enable_update>1</enable_update></lastinternet></Anything>",
                                "P", "192.168.2.205", "English", false, true, false, false},
                      TReadCase{"DeclarationFirstGivesDefaults",
                                "<?xml version=\"1.0\"?><Conf_Settings><lastproj><projectname>P</projectname>"
                                "</lastproj><lastinternet><enable_internet>1</enable_internet></lastinternet>"
                                "</Conf_Settings>",
                                "", "192.168.2.205", "English", false, false, false, false},
                      TReadCase{"CommentFirstGivesDefaults",
                                "<!-- saved --><Conf_Settings><lastlang><language>Deutsch</language></lastlang>"
                                "</Conf_Settings>",
                                "", "192.168.2.205", "English", false, false, false, false},
                      TReadCase{"FlagsOnlyForExactlyOne",
                                "<Conf_Settings><lastinternet><enable_internet>true</enable_internet>"
                                "<enable_update>01</enable_update><enable_jump_field_tables> 1"
                                "</enable_jump_field_tables><Double_Click_Auto_Size>1</Double_Click_Auto_Size>"
                                "</lastinternet></Conf_Settings>",
                                "", "192.168.2.205", "English", false, false, false, true},
                      TReadCase{"NamesAreCaseSensitive",
                                "<Conf_Settings><LastProj><projectname>P</projectname></LastProj>"
                                "<lastipadd><IPaddress>1.2.3.4</IPaddress></lastipadd><lastinternet>"
                                "<double_click_auto_size>1</double_click_auto_size></lastinternet>"
                                "</Conf_Settings>",
                                "", "192.168.2.205", "English", false, false, false, false},
                      TReadCase{"TextsUntrimmedAndGroupsIndependent",
                                "<Conf_Settings><lastproj><projectname> P 2 </projectname></lastproj>"
                                "<lastipadd/><lastlang><language></language></lastlang></Conf_Settings>",
                                " P 2 ", "192.168.2.205", "", false, false, false, false}),
    [](const ::testing::TestParamInfo<TReadCase>& Info) { return std::string(Info.param.Name); });

TEST_F(SettingsTest, MissingFileGivesDefaultsAndClosesTheProject) {
    Set_Non_Defaults();
    Load_Settings(XML);
    EXPECT_EQ(Project_Name, "");
    EXPECT_EQ(Project_Dir, "");
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
    EXPECT_EQ(Lang_Name, "English");
    EXPECT_FALSE(Opt_Enable_Internet || Opt_Enable_Update || Opt_Enable_Jump_Field_Tables ||
                 Opt_Double_Click_Auto_Size);
}

TEST_F(SettingsTest, UnparsableFileRaisesWithEveryValueAtItsDefault) {
    Write_File("<Conf_Settings><lastlang><language>Deutsch</language></lastlang>");
    Set_Non_Defaults();
    EXPECT_THROW(Load_Settings(XML), EXMLDocError);
    EXPECT_EQ(Project_Name, "");
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
    EXPECT_EQ(Lang_Name, "English");
    EXPECT_FALSE(Opt_Enable_Internet);
    // The broken file is left for the user to look at.
    EXPECT_TRUE(FileExists(Settings_File()));
}

TEST_F(SettingsTest, FailedWriteRaisesAndLeavesNoFile) {
    Set_App_Dir(Dir.path() + "/missing/folder");
    EXPECT_THROW(Save_Settings(XML), EInOutError);
    EXPECT_FALSE(FileExists(Settings_File()));
}

} // namespace
