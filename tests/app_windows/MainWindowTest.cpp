// The main window: what its creation prepares (folders, settings, language, the remembered
// project), its layout, the settings file it writes, the steps that need a project, the EDS
// export, the version timer and the wait on a started program.
#include "app/UAbout.h"
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UNew_Project.h"
#include "app/UOpenConf.h"
#include "app/UParGen.h"
#include "app/USoftOptions.h"
#include "app/USoftOptions_Version.h"
#include "app/UTessaroFirmWare.h"
#include "gateway/UBoot.h"
#include "gateway/UOPC_UA_Server_Access.h"
#include "gateway/USet_PDO_Access.h"
#include "gateway/USet_SDO_Client_Access.h"
#include "gateway/USet_SDO_Server_Access.h"
#include "platform/gui/Snapshot.h"
#include "platform/net/HttpClient.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

void Write_File(const QString& Path, const QByteArray& Bytes) {
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << Path.toStdString();
    f.write(Bytes);
}

QByteArray Read_File(const QString& Path) {
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QByteArray Settings_XML(const QString& Project, const QString& Ip, const QString& Language, const QString& Internet,
                        const QString& Update, const QString& Jump, const QString& DblClick) {
    return QStringLiteral("<Conf_Settings><lastproj><projectname>%1</projectname></lastproj>"
                          "<lastipadd><ipaddress>%2</ipaddress></lastipadd>"
                          "<lastlang><language>%3</language></lastlang>"
                          "<lastinternet><enable_internet>%4</enable_internet><enable_update>%5"
                          "</enable_update><enable_jump_field_tables>%6</enable_jump_field_tables>"
                          "<Double_Click_Auto_Size>%7</Double_Click_Auto_Size></lastinternet>"
                          "</Conf_Settings>")
        .arg(Project, Ip, Language, Internet, Update, Jump, DblClick)
        .toUtf8();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Set_App_Dir(Dir.path());
        Reset_Globals();
        Reset_Language();
    }
    void TearDown() override {
        Others.clear();
        FNew_Project = nullptr;
        FOpenConf = nullptr;
        FAbout = nullptr;
        FSoftOptions = nullptr;
        FParGen = nullptr;
        FBoot = nullptr;
        FOPC_UA_Server_Access = nullptr;
        FSet_PDO_Access = nullptr;
        FSet_SDO_Client_Access = nullptr;
        FSet_SDO_Server_Access = nullptr;
        Window.reset();
        Set_App_Dir(QString());
        SetClock(nullptr);
        SetProcessLauncher(nullptr);
        SetHttpClient(nullptr);
        SetLinkOpener(nullptr);
        Reset_Globals();
    }
    QString Path(const QString& Name) const { return Dir.path() + "/" + Name; }
    void Create_Window() { Window.reset(Create<TFTessaroFirmWare>(nullptr)); }
    // The main window and every window it opens, in the program's order.
    void Create_All_Windows() {
        Create_Window();
        FNew_Project = Keep(Create<TFNew_Project>(nullptr));
        FOpenConf = Keep(Create<TFOpenConf>(nullptr));
        FAbout = Keep(Create<TFAbout>(nullptr));
        FSoftOptions = Keep(Create<TFSoftOptions>(nullptr));
        FParGen = Keep(Create<TFParGen>(nullptr));
        FBoot = Keep(Create<TFBoot>(nullptr));
        FOPC_UA_Server_Access = Keep(Create<TFOPC_UA_Server_Access>(nullptr));
        FSet_PDO_Access = Keep(Create<TFSet_PDO_Access>(nullptr));
        FSet_SDO_Client_Access = Keep(Create<TFSet_SDO_Client_Access>(nullptr));
        FSet_SDO_Server_Access = Keep(Create<TFSet_SDO_Server_Access>(nullptr));
    }
    template <class T>
    T* Keep(T* Form) {
        Others.emplace_back(Form);
        return Form;
    }
    void Make_Project(const QString& Name) { ASSERT_TRUE(QDir().mkpath(Path("PROJECTS/" + Name + "/bin"))); }

    QTemporaryDir Dir;
    std::unique_ptr<TFTessaroFirmWare> Window;
    std::vector<std::unique_ptr<TForm>> Others;
};

TEST_F(MainWindowTest, FirstStartInAnEmptyFolder) {
    Create_Window();
    for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"}) EXPECT_TRUE(DirectoryExists(Path(folder))) << folder;
    EXPECT_EQ(Projects_Dir, Path("PROJECTS"));
    EXPECT_TRUE(Project_Name.isEmpty());
    EXPECT_TRUE(Project_Dir.isEmpty());
    EXPECT_TRUE(File_ParGen.isEmpty());
    EXPECT_EQ(Lang_Name, "English");
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
    EXPECT_FALSE(Opt_Enable_Internet || Opt_Enable_Update || Opt_Enable_Jump_Field_Tables ||
                 Opt_Double_Click_Auto_Size);
    EXPECT_TRUE(Update_Read_Back);
    EXPECT_FALSE(Window->Timer_Update->Enabled());
    EXPECT_EQ(Window->Timer_Update->Interval(), 60000u);
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang[9]);
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), Lang[10]);
    EXPECT_EQ(Window->Caption(), "Velmora - Configurator CFG4180 - OPC UA Server / CANopen ");
    EXPECT_EQ(Window->L_SW_Code->Caption(), "CFG4180");
    EXPECT_EQ(Window->L_SW_Desc->Caption(), Const_SW_Desc);
    EXPECT_EQ(Num_Lang_Strings, Lang_Table_Size);
    EXPECT_EQ(Row_Clipboard->Count(), 0);

    // Closing writes the settings: no project, the defaults.
    Window->Btn_Click(Window->Btn_Close);
    EXPECT_EQ(Read_File(Path("Tessaro.xml")),
              Settings_XML("", "192.168.2.205", "English", "0", "0", "0", "0")
                      .replace("<projectname></projectname>", "<projectname/>") +
                  "\n");
}

TEST_F(MainWindowTest, LayoutShowsTheGatewaySteps) {
    Create_Window();
    EXPECT_EQ(Window->ClientWidth(), 694);
    EXPECT_EQ(Window->ClientHeight(), 572);
    EXPECT_EQ(Window->Color(), TColor(15595512));
    EXPECT_EQ(Window->BorderStyle(), bsSingle);
    // The three round buttons sit in one row at the top right, evenly spaced, inside the window.
    TControl* corner[] = {Window->Btn_Info, Window->Btn_Opz, Window->Btn_Close};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(corner[i]->Name().toStdString());
        EXPECT_TRUE(corner[i]->Visible());
        EXPECT_EQ(corner[i]->Top(), corner[0]->Top());
        EXPECT_EQ(corner[i]->Width(), corner[i]->Height());
        if (i > 0) EXPECT_EQ(corner[i]->Left() - corner[i - 1]->Left(), corner[1]->Left() - corner[0]->Left());
        EXPECT_GT(corner[i]->Left(), Window->ClientWidth() / 2);
    }
    EXPECT_LE(Window->Btn_Close->Left() + Window->Btn_Close->Width(), Window->ClientWidth());
    // One step button per row under the project buttons, all alike and evenly spaced; the steps
    // whose editors are missing are shown disabled. Each step's label lies within its row.
    TControl* rows[] = {Window->Btn_New,
                        Window->Btn_Prm_Gen,
                        Window->Btn_OPC_UA_Server_Access,
                        Window->Btn_SDO_Server_CANopen,
                        Window->Btn_SDO_Client_CANopen,
                        Window->Btn_PDO_CANopen,
                        Window->Btn_CANopen_EDS,
                        Window->Btn_CreateBin};
    const bool enabled[] = {true, true, true, true, true, true, true, true};
    TLabel* steps[] = {Window->L_Step_1, Window->L_Step_2, Window->L_Step_3, Window->L_Step_4,
                       Window->L_Step_5, Window->L_Step_6, Window->L_Step_7, Window->L_Step_8};
    const int pitch = rows[1]->Top() - rows[0]->Top();
    EXPECT_GT(pitch, rows[0]->Height()); // rows do not overlap
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(rows[i]->Name().toStdString());
        EXPECT_TRUE(rows[i]->Visible());
        EXPECT_EQ(rows[i]->Enabled(), enabled[i]);
        EXPECT_EQ(rows[i]->Left(), rows[0]->Left());
        EXPECT_EQ(rows[i]->Width(), rows[0]->Width());
        EXPECT_EQ(rows[i]->Height(), rows[0]->Height());
        EXPECT_EQ(rows[i]->Top(), rows[0]->Top() + pitch * i);
        EXPECT_GE(steps[i]->Top(), rows[i]->Top());
        EXPECT_LT(steps[i]->Top(), rows[i]->Top() + rows[i]->Height());
        EXPECT_EQ(steps[i]->Caption(), Lang[i + 1]);
    }
    // Open sits beside New; the project name's frame spans both, above them.
    EXPECT_EQ(Window->Btn_Open->Top(), Window->Btn_New->Top());
    EXPECT_GT(Window->Btn_Open->Left(), Window->Btn_New->Left() + Window->Btn_New->Width());
    EXPECT_EQ(Window->Shape2->Left(), Window->Btn_New->Left());
    EXPECT_EQ(Window->Shape2->Left() + Window->Shape2->Width(), Window->Btn_Open->Left() + Window->Btn_Open->Width());
    EXPECT_LT(Window->Shape2->Top() + Window->Shape2->Height(), Window->Btn_New->Top() + 1);
    // The rule under the steps runs across the window below the last one.
    EXPECT_EQ(Window->Shape1->Height(), 1);
    EXPECT_GT(Window->Shape1->Top(), Window->Btn_CreateBin->Top() + Window->Btn_CreateBin->Height());
    EXPECT_GT(Window->Shape1->Width(), Window->ClientWidth() * 9 / 10);
    for (TLbButton* b : {Window->Btn_BACnet_EDE_File, Window->Btn_Modbus_Set_Access, Window->Btn_BACnet_SetAccess,
                         Window->Btn_CAN_Rec_Frame, Window->Btn_CAN_Send_Frame, Window->Btn_DNet_Net,
                         Window->Btn_DNet_Offset, Window->Btn_DMX_Default, Window->Btn_KNX_Access,
                         Window->Btn_MQTT_Set_Topic, Window->Btn_SNMP_Trap, Window->Btn_SNMP_Manager_Access,
                         Window->Btn_SNMP_MIB, Window->Btn_PROFINET_XML, Window->Btn_EtherNetIP_Access})
        EXPECT_FALSE(b->Visible()) << b->Name().toStdString();

    // Texts by number, hints included, and the button looks.
    EXPECT_EQ(Window->Btn_New->Caption(), Lang[15]);
    EXPECT_EQ(Window->Btn_CreateBin->Caption(), Lang[17]);
    EXPECT_EQ(Window->Btn_Prm_Gen->Caption(), Lang[20]);
    EXPECT_EQ(Window->Btn_CANopen_EDS->Caption(), Lang[43]);
    EXPECT_EQ(Window->Btn_CANopen_EDS->Hint(), Lang[44]);
    EXPECT_EQ(Window->Btn_EtherNetIP_Access->Hint(), Lang[68]);
    EXPECT_EQ(Window->Btn_Close->Hint(), Lang[14]);
    EXPECT_EQ(Window->Btn_Close->Caption(), "");
    EXPECT_EQ(Window->Btn_New->HotTrackColor(), TColor(0xF0CAA6));
    EXPECT_EQ(Window->Btn_CANopen_EDS->HotTrackColor(), TColor(0x00FFFF));
    EXPECT_EQ(Window->Btn_Prm_Gen->Style(), bsNormal);
    EXPECT_EQ(Window->Btn_CANopen_EDS->Style(), bsEncarta);
    EXPECT_EQ(Window->Btn_CreateBin->ColorWhenDown(), TColor(33023));

    Window->Show();
    const QString png = QCoreApplication::applicationDirPath() + "/main_window.png";
    ASSERT_TRUE(SaveControlPng(Window.get(), png));
    Window->Hide();
    // The picture: the window's colour left of the step buttons, and each button's lower edge
    // drawn darker than it.
    const QImage shot(png);
    ASSERT_FALSE(shot.isNull());
    const int x = Window->Btn_New->Left() / 2, y = Window->Btn_CANopen_EDS->Top() + 2;
    const TColor face = ColorToRGB(Window->Color());
    EXPECT_EQ(shot.pixelColor(x, y), QColor(face & 0xFF, (face >> 8) & 0xFF, (face >> 16) & 0xFF));
    for (TControl* b : rows) {
        const QColor edge = shot.pixelColor(b->Left() + b->Width() / 2, b->Top() + b->Height() - 1);
        EXPECT_LT(edge.lightness(), shot.pixelColor(x, y).lightness()) << b->Name().toStdString();
    }
}

// Every name the project dialogs accept comes back from the settings file at the next start,
// blanks and markup characters included.
TEST_F(MainWindowTest, EveryAcceptedProjectNameIsReopenedAtTheNextStart) {
    const QString Names[] = {"Plant:1?", " P1 ", "Anlage S\u00fcd", "a&b<c>\"d'", "  "};
    for (const QString& Name : Names) {
        SCOPED_TRACE(Name.toStdString());
        ASSERT_TRUE(Is_Valid_Project_Name(Name));
        Window.reset();
        Reset_Globals();
        Make_Project(Name);
        Create_Window();
        Project_Name = Name;
        Project_Dir = Path("PROJECTS/" + Name);
        Window->Save_Setting();
        Window.reset();
        Reset_Globals();
        Create_Window();
        EXPECT_EQ(Project_Name, Name);
        EXPECT_EQ(Project_Dir, Path("PROJECTS/" + Name));
    }
}

// A project name longer than its frame ends in "..." inside the frame; the frame stays whole.
TEST_F(MainWindowTest, LongProjectNameStaysInsideItsFrame) {
    const QString Name = "Heating plant north building, second floor, CANopen gateway 7 (2026 retrofit)";
    Make_Project(Name);
    Write_File(Path("Tessaro.xml"), Settings_XML(Name, "1.2.3.4", "English", "0", "0", "0", "0"));
    Create_Window();
    ASSERT_EQ(Project_Name, Name);
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), Name);
    const TRect Frame = Window->Shape2->BoundsRect();
    for (TLabel* l : {Window->L_Name_Conf, Window->L_Name_Conf_L2}) {
        SCOPED_TRACE(l->Name().toStdString());
        EXPECT_GT(l->Left(), Frame.Left);
        EXPECT_LT(l->Left() + l->Width(), Frame.Right);
        EXPECT_LE(l->Top() + l->Height(), Frame.Bottom);
    }
    Window->Show();
    const QString png = QCoreApplication::applicationDirPath() + "/main_window_long_name.png";
    ASSERT_TRUE(SaveControlPng(Window.get(), png));
    Window->Hide();
    QImage Shot(png);
    ASSERT_FALSE(Shot.isNull());
    // Between the frame's right edge and the corner buttons nothing is drawn but the background.
    const QRgb Background = Shot.pixel(Frame.Right + 2, Frame.Top + 2);
    EXPECT_EQ(Background, QColor(248, 247, 237).rgb());
    int Ink = 0;
    for (int y = Frame.Top + 1; y < Frame.Bottom - 1; ++y)
        for (int x = Frame.Right + 1; x < Window->Btn_Info->Left(); ++x)
            if (Shot.pixel(x, y) != Background) ++Ink;
    EXPECT_EQ(Ink, 0);
    // The frame's right edge is not written over.
    const QRgb Edge = Shot.pixel(Frame.Right - 1, Frame.Top);
    for (int y = Frame.Top; y < Frame.Bottom; ++y) EXPECT_EQ(Shot.pixel(Frame.Right - 1, y), Edge) << y;
    // The name's line has ink close to the frame's right edge: the "..." ends it there.
    const TRect Line = Window->L_Name_Conf_L2->BoundsRect();
    int LastInk = -1;
    for (int x = Line.Left; x < Line.Right; ++x)
        for (int y = Line.Top; y < Line.Bottom; ++y)
            if (Shot.pixel(x, y) != Background) LastInk = x;
    EXPECT_GT(LastInk, Line.Right - 20);
}

// What creation takes from an existing settings file.
TEST_F(MainWindowTest, SettingsFileDecidesTheStart) {
    struct TCase {
        const char* Name;
        QByteArray Xml;
        bool MakeProject;
        QString Project; // expected Project_Name after start
        QString Ip;
        bool Internet, Update, Jump, DblClick;
    };
    const TCase cases[] = {
        {"everything set", Settings_XML("P1", "10.0.0.7", "English", "1", "1", "1", "1"), true, "P1", "10.0.0.7", true,
         true, true, true},
        {"project folder deleted", Settings_XML("P1", "10.0.0.7", "English", "1", "0", "0", "1"), false, "", "10.0.0.7",
         true, false, false, true},
        {"flags only as 1", Settings_XML("", "x", "English", "true", "01", " 1", "1"), false, "", "x", false, false,
         false, true},
        {"language only", "<Conf_Settings><lastlang><language>English</language></lastlang></Conf_Settings>", false, "",
         "192.168.2.205", false, false, false, false},
        {"first node is a comment", "<!-- c -->" + Settings_XML("P1", "10.0.0.7", "English", "1", "1", "1", "1"), true,
         "", "192.168.2.205", false, false, false, false},
        {"name leaving the projects folder", Settings_XML("..", "10.0.0.7", "English", "0", "0", "0", "0"), false, "",
         "10.0.0.7", false, false, false, false},
        {"name with a path", Settings_XML("P1/bin", "1.2.3.4", "English", "0", "0", "0", "0"), true, "", "1.2.3.4",
         false, false, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Window.reset();
        Reset_Globals();
        QDir(Path("PROJECTS")).removeRecursively();
        if (c.MakeProject) Make_Project("P1");
        Write_File(Path("Tessaro.xml"), c.Xml);
        Create_Window();
        EXPECT_EQ(Project_Name, c.Project);
        EXPECT_EQ(Project_Dir, c.Project.isEmpty() ? QString() : Path("PROJECTS/" + c.Project));
        EXPECT_EQ(File_ParGen, c.Project.isEmpty() ? QString() : Path("PROJECTS/" + c.Project + "/ParGen.xml"));
        EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang[c.Project.isEmpty() ? 9 : 11]);
        EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), c.Project.isEmpty() ? Lang[10] : c.Project);
        EXPECT_EQ(Last_IP_Address, c.Ip);
        EXPECT_EQ(Lang_Name, "English");
        EXPECT_EQ(Opt_Enable_Internet, c.Internet);
        EXPECT_EQ(Opt_Enable_Update, c.Update);
        EXPECT_EQ(Opt_Enable_Jump_Field_Tables, c.Jump);
        EXPECT_EQ(Opt_Double_Click_Auto_Size, c.DblClick);
        EXPECT_EQ(Window->Timer_Update->Enabled(), c.Internet && c.Update);
        // Closing stores the project that is open now, none when its folder went away.
        Window->Close();
        EXPECT_TRUE(Read_File(Path("Tessaro.xml"))
                        .contains(c.Project.isEmpty() ? QByteArray("<projectname/>")
                                                      : "<projectname>" + c.Project.toUtf8() + "</projectname>"));
    }
}

TEST_F(MainWindowTest, LanguageFromTheSettingsFile) {
    ASSERT_TRUE(QDir().mkpath(Path("LANGUAGE")));
    Write_File(Path("LANGUAGE/Italiano.lng"), "STR 0 =Inizio\r\nSTR 15 =Nuova Configurazione\r\n");
    Write_File(Path("Tessaro.xml"),
               "<Conf_Settings><lastlang><language>Italiano</language></lastlang></Conf_Settings>");
    Create_Window();
    EXPECT_EQ(Lang_Name, "Italiano");
    EXPECT_EQ(Window->L_Begin->Caption(), "Inizio");
    EXPECT_EQ(Window->Btn_New->Caption(), "Nuova Configurazione");
    EXPECT_EQ(Window->Btn_Open->Caption(), "Open Configuration");
}

// A damaged settings file is reported, and the program starts as on a first start; closing
// then writes a good file.
TEST_F(MainWindowTest, DamagedSettingsFileIsReportedAndStartGoesOn) {
    Make_Project("P1");
    Write_File(Path("Tessaro.xml"), "<Conf_Settings><lastproj><projectname>P1</projectname>");
    TestDialogs().ExpectBox(mrOk);
    Create_Window();
    ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes()[0].Type, mtError);
    EXPECT_TRUE(Project_Name.isEmpty());
    EXPECT_EQ(Lang_Name, "English");
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang[9]);
    EXPECT_EQ(Window->Btn_New->Caption(), Lang[15]);
    Window->Save_Setting();
    Window.reset();
    Reset_Globals();
    Create_Window(); // no box this time
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
}

// A language file that is there but cannot be read: an error box, and the program starts in
// English as without the file.
TEST_F(MainWindowTest, UnreadableLanguageFileIsReportedAndStartGoesOnInEnglish) {
    ASSERT_TRUE(QDir().mkpath(Path("LANGUAGE")));
    // Opens, but every read fails with an I/O error.
    ASSERT_TRUE(QFile::link("/proc/self/mem", Path("LANGUAGE/Deutsch.lng")));
    Write_File(Path("Tessaro.xml"), Settings_XML("", "1.2.3.4", "Deutsch", "0", "0", "0", "0"));
    TestDialogs().ExpectBox(mrOk, "Deutsch.lng");
    ASSERT_NO_THROW(Create_Window());
    ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes()[0].Type, mtError);
    EXPECT_EQ(Lang_Name, "English");
    EXPECT_EQ(Num_Lang_Strings, Lang_Table_Size);
    EXPECT_EQ(Lang[15], "New Configuration");
    EXPECT_EQ(Window->Btn_New->Caption(), "New Configuration");
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang[9]);
    EXPECT_EQ(Last_IP_Address, "1.2.3.4");
    EXPECT_EQ(File_ParGen, QString());
    EXPECT_EQ(Row_Clipboard->Count(), 0);
}

// After an unreadable language file the start goes on as without it: "English.lng" overrides the
// built-in English when it reads, and is left out when it is the unreadable one. One box either way.
TEST_F(MainWindowTest, UnreadableLanguageFileFallsBackAsAMissingOneDoes) {
    struct TCase {
        const char* Name;
        const char* Language;
        bool EnglishReadable;
        const char* Caption15;
    };
    const TCase Cases[] = {
        {"English.lng over the built-in table", "Deutsch", true, "Neue Konfiguration"},
        {"English.lng itself unreadable", "English", false, "New Configuration"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        ASSERT_TRUE(QDir(Path("LANGUAGE")).removeRecursively() || !QDir(Path("LANGUAGE")).exists());
        ASSERT_TRUE(QDir().mkpath(Path("LANGUAGE")));
        if (C.EnglishReadable) {
            Write_File(Path("LANGUAGE/English.lng"), "STR 15 = Neue Konfiguration\n");
            ASSERT_TRUE(QFile::link("/proc/self/mem", Path("LANGUAGE/Deutsch.lng")));
        } else {
            ASSERT_TRUE(QFile::link("/proc/self/mem", Path("LANGUAGE/English.lng")));
        }
        Write_File(Path("Tessaro.xml"), Settings_XML("", "1.2.3.4", C.Language, "0", "0", "0", "0"));
        Window.reset();
        Reset_Globals();
        TestDialogs().Reset();
        TestDialogs().ExpectBox(mrOk, QString(C.Language) + ".lng");
        ASSERT_NO_THROW(Create_Window());
        EXPECT_EQ(TestDialogs().Boxes().size(), 1u);
        EXPECT_EQ(Lang_Name, "English");
        EXPECT_EQ(Num_Lang_Strings, Lang_Table_Size);
        EXPECT_EQ(Lang[15], QString::fromUtf8(C.Caption15));
        EXPECT_EQ(Lang[16], "Open Configuration");
    }
}

// A settings file that cannot be written is reported through the application's handler, and the
// window closes all the same, by its close button as by the close box of its frame.
TEST_F(MainWindowTest, ClosingWithAnUnwritableSettingsFileReportsAndCloses) {
    struct TCase {
        const char* Name;
        std::function<void(TFTessaroFirmWare*)> Close;
    };
    const TCase Cases[] = {
        {"close button", [](TFTessaroFirmWare* W) { W->Btn_Click(W->Btn_Close); }},
        {"close box", [](TFTessaroFirmWare* W) { W->close(); }},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        ASSERT_TRUE(QDir().mkpath(Dir.path()));
        Reset_Globals();
        Create_Window();
        Window->Show();
        // The folder beside the executable went away while the program ran.
        ASSERT_TRUE(QDir(Dir.path()).removeRecursively());
        TestDialogs().ExpectBox(mrOk, "Tessaro.xml");
        EXPECT_NO_THROW(C.Close(Window.get()));
        EXPECT_EQ(TestDialogs().Boxes().size(), 1u);
        EXPECT_FALSE(Window->Visible());
        EXPECT_FALSE(Window->isVisible());
        TestDialogs().Reset();
        Window.reset();
    }
}

// A project whose folder name holds characters other systems refuse (":" "?") is opened through
// the open dialog, kept at closing and reopened at the next start.
TEST_F(MainWindowTest, ProjectOpenedThroughTheDialogIsReopenedAtTheNextStart) {
    for (const QString& Name : {QString("C:Plant"), QString("What? 2")}) {
        SCOPED_TRACE(Name.toStdString());
        Make_Project(Name);
        Create_All_Windows();
        TestModal().Expect([&](TForm* F) {
            auto* d = static_cast<TFOpenConf*>(F);
            const int i = d->Search_Open_Conf(Name);
            ASSERT_GE(i, 0);
            d->ListBox1->Native()->setCurrentRow(i);
            d->Btn_OK->Click();
        });
        Window->Btn_Click(Window->Btn_Open);
        EXPECT_EQ(Project_Name, Name);
        Window->Close();
        Others.clear();
        Window.reset();
        Reset_Globals();
        Create_Window();
        EXPECT_EQ(Project_Name, Name);
        EXPECT_EQ(Project_Dir, Path("PROJECTS/" + Name));
        EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), Name);
        Window.reset();
    }
}

TEST_F(MainWindowTest, SettingsRoundTrip) {
    Make_Project("Plant 7");
    Create_Window();
    Project_Name = "Plant 7";
    Last_IP_Address = "10.1.2.3";
    Opt_Enable_Internet = true;
    Opt_Enable_Update = false;
    Opt_Enable_Jump_Field_Tables = true;
    Opt_Double_Click_Auto_Size = false;
    Window->XML1->LoadFromXML("<Other><x/></Other>"); // a borrower's leftovers go
    Window->Save_Setting();
    EXPECT_EQ(Read_File(Path("Tessaro.xml")),
              Settings_XML("Plant 7", "10.1.2.3", "English", "1", "0", "1", "0") + "\n");
    Window.reset();
    Reset_Globals();
    Create_Window();
    EXPECT_EQ(Project_Name, "Plant 7");
    EXPECT_EQ(Project_Dir, Path("PROJECTS/Plant 7"));
    EXPECT_EQ(Last_IP_Address, "10.1.2.3");
    EXPECT_TRUE(Opt_Enable_Internet);
    EXPECT_FALSE(Opt_Enable_Update);
    EXPECT_TRUE(Opt_Enable_Jump_Field_Tables);
    EXPECT_FALSE(Opt_Double_Click_Auto_Size);
}

TEST_F(MainWindowTest, StepsNeedAProject) {
    Create_Window();
    for (TLbButton* b :
         {Window->Btn_Prm_Gen, Window->Btn_OPC_UA_Server_Access, Window->Btn_SDO_Server_CANopen,
          Window->Btn_SDO_Client_CANopen, Window->Btn_PDO_CANopen, Window->Btn_CANopen_EDS, Window->Btn_CreateBin}) {
        SCOPED_TRACE(b->Name().toStdString());
        TestDialogs().ExpectBox(mrOk, "Error! Project not Valid");
        Window->Btn_Click(b);
        EXPECT_EQ(TestDialogs().Boxes().back().Type, mtError);
    }
    EXPECT_TRUE(TestDialogs().FileDialogs().empty());
    EXPECT_FALSE(FileExists(Path("PROJECTS/bin/bank1.bin")));
}

TEST_F(MainWindowTest, EdsExportGoesWhereTheUserSaysOrNowhere) {
    Make_Project("P1");
    Write_File(Path("Tessaro.xml"), Settings_XML("P1", "1.2.3.4", "English", "0", "0", "0", "0"));
    Create_Window();
    const QString eds = Path("PROJECTS/P1/out.eds");
    TestDialogs().ExpectFileDialog(false);
    Window->Btn_Click(Window->Btn_CANopen_EDS);
    EXPECT_FALSE(FileExists(eds));
    TestDialogs().ExpectFileDialog(true, eds);
    Window->Btn_Click(Window->Btn_CANopen_EDS);
    ASSERT_EQ(TestDialogs().FileDialogs().size(), 2u);
    const TFileDialogRequest& r = TestDialogs().FileDialogs()[1];
    EXPECT_EQ(r.Kind, fdSave);
    EXPECT_EQ(r.InitialDir, Path("PROJECTS/P1"));
    EXPECT_EQ(r.Filter, "Electronic Data Sheet (*.eds)|*.eds");
    EXPECT_TRUE(Read_File(eds).contains("[FileInfo]"));

    // Another project open: the dialog opens in its folder with no name chosen, so Enter cannot
    // overwrite the first project's file.
    Make_Project("P2");
    Project_Name = "P2";
    Project_Dir = Path("PROJECTS/P2");
    Set_Files();
    TestDialogs().ExpectFileDialog(false);
    Window->Btn_Click(Window->Btn_CANopen_EDS);
    ASSERT_EQ(TestDialogs().FileDialogs().size(), 3u);
    EXPECT_EQ(TestDialogs().FileDialogs()[2].InitialDir, Path("PROJECTS/P2"));
    EXPECT_EQ(TestDialogs().FileDialogs()[2].FileName, QString());
}

// A project file the build refuses stops the update before any image is written or the dialog
// opens (an unexpected modal form would fail the test).
TEST_F(MainWindowTest, UpdateStopsAtAFailedBuild) {
    Make_Project("P1");
    Write_File(Path("Tessaro.xml"), Settings_XML("P1", "1.2.3.4", "English", "0", "0", "0", "0"));
    Write_File(Path("PROJECTS/P1/PDO_CANopen.xml"), "<PDO_CANopen><broken");
    Create_All_Windows();
    EXPECT_ANY_THROW(Window->Update_Device());
    EXPECT_FALSE(FileExists(Path("PROJECTS/P1/bin/bank1.bin")));
    EXPECT_FALSE(FileExists(Path("PROJECTS/P1/bin/bank2.bin")));
    EXPECT_TRUE(TestModal().Shown().empty());
}

TEST_F(MainWindowTest, VersionTimerShowsTheLinkAndRunsEveryTwoHours) {
    auto http = std::make_shared<TFakeHttpClient>();
    SetHttpClient(http);
    auto links = std::make_shared<TFakeLinkOpener>();
    SetLinkOpener(links);
    Create_Window();
    http->SetReply(Version_Query_URL(), QByteArray("VER. 1.001"));
    Window->Timer_UpdateTimer(Window->Timer_Update);
    EXPECT_TRUE(Window->LL_Update->Visible());
    EXPECT_EQ(Window->LL_Update->Caption(), Update_Link_Caption(Lang[19]));
    EXPECT_TRUE(Window->Timer_Update->Enabled());
    EXPECT_EQ(Window->Timer_Update->Interval(), 7200000u);
    Window->LL_Update->ClickLink(Download_Page_URL());
    http->SetReply(Version_Query_URL(), std::nullopt);
    Window->Timer_UpdateTimer(Window->Timer_Update);
    EXPECT_FALSE(Window->LL_Update->Visible());
    EXPECT_TRUE(Window->Timer_Update->Enabled());
    Window->L_VelmoraClick(Window->L_Velmora);
    EXPECT_EQ(links->Links(), QStringList({Download_Page_URL(), Maker_Web_Site + "HOME/default.asp?frompg=CFG4180"}));
}

TEST_F(MainWindowTest, StartProgramWaitsAtMostTheLimit) {
    Create_Window();
    auto clock = std::make_shared<TFakeClock>(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    SetClock(clock);
    auto launcher = std::make_shared<TFakeProcessLauncher>();
    SetProcessLauncher(launcher);
    struct TCase {
        const char* Name;
        int RunPolls;
        bool Missing;
        TWaitResult Result;
        uint64_t Waited;
    };
    const TCase cases[] = {
        // An ended program is followed by one more pause of 10 ms.
        {"ends at once", 0, false, TWaitResult::Ended, 10},
        {"ends after three polls", 3, false, TWaitResult::Ended, 40},
        {"never ends", -1, false, TWaitResult::TimedOut, 150000},
        {"cannot start", 0, true, TWaitResult::NotStarted, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString program = Path(QString("Ethernet_Update_%1.exe").arg(c.Name));
        if (c.Missing) launcher->SetMissing(program);
        launcher->SetRunPolls(c.RunPolls);
        const uint64_t before = clock->TickCount();
        EXPECT_EQ(Window->Start_Program(program, "", 0), c.Result);
        EXPECT_EQ(clock->TickCount() - before, c.Waited);
        EXPECT_EQ(launcher->Starts().back().Program, program);
        EXPECT_FALSE(launcher->Starts().back().Hidden);
    }
    Window->Start_Program(Path("x"), "-a \"b c\"", 1);
    EXPECT_TRUE(launcher->Starts().back().Hidden);
    EXPECT_EQ(launcher->Starts().back().Arguments, QStringList({"-a", "b c"}));
}

TEST_F(MainWindowTest, EdeFileNameGetsItsExtension) {
    Make_Project("P1");
    Write_File(Path("Tessaro.xml"), Settings_XML("P1", "1.2.3.4", "English", "0", "0", "0", "0"));
    Write_File(Path("PROJECTS/P1/a.csv"), "x");
    Create_Window();
    // "a" becomes "a.csv", which exists: the overwrite question comes.
    TestDialogs().ExpectFileDialog(true, Path("PROJECTS/P1/a"));
    TestDialogs().ExpectBox(mrNo, "overwrite");
    Window->BACnet_EDE_File();
    // "b.CSV" keeps its name and does not exist: no question.
    TestDialogs().ExpectFileDialog(true, Path("PROJECTS/P1/b.CSV"));
    Window->BACnet_EDE_File();
    EXPECT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().FileDialogs()[0].Filter, "CSV (MS-DOS) (*.csv)|*.csv");
}

TEST_F(MainWindowTest, NewAndOpenProjectDecideTheOpenProject) {
    Make_Project("P1");
    Create_All_Windows();
    // A new project made in the dialog becomes the open one.
    TestModal().Expect([](TForm* F) {
        auto* d = dynamic_cast<TFNew_Project*>(F);
        ASSERT_NE(d, nullptr);
        d->E_New_Proj->SetText("P2");
        d->Btn_OKClick(d);
    });
    Window->Btn_Click(Window->Btn_New);
    EXPECT_EQ(Project_Name, "P2");
    EXPECT_EQ(Project_Dir, Path("PROJECTS/P2"));
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang[11]);
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), "P2");
    // Cancelled: nothing changes.
    TestModal().Expect([](TForm* F) { F->SetModalResult(mrCancel); });
    Window->Btn_Click(Window->Btn_Open);
    EXPECT_EQ(Project_Name, "P2");
    // Opened: the chosen folder with its file paths.
    TestModal().Expect([](TForm* F) {
        auto* d = dynamic_cast<TFOpenConf*>(F);
        ASSERT_NE(d, nullptr);
        d->Name_Conf = "P1";
        d->SetModalResult(mrOk);
    });
    Window->Btn_Click(Window->Btn_Open);
    EXPECT_EQ(Project_Dir, Path("PROJECTS/P1"));
    EXPECT_EQ(File_PDO_CANopen, Path("PROJECTS/P1/PDO_CANopen.xml"));
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), "P1");
    // Confirmed with nothing to choose: no project is open afterwards.
    TestModal().Expect([](TForm* F) {
        static_cast<TFOpenConf*>(F)->Name_Conf.clear();
        F->SetModalResult(mrOk);
    });
    Window->Btn_Click(Window->Btn_Open);
    EXPECT_TRUE(Project_Name.isEmpty());
    EXPECT_TRUE(Project_Dir.isEmpty());
    EXPECT_TRUE(File_PDO_CANopen.isEmpty());
    EXPECT_EQ(Window->L_Name_Conf->Caption(), Lang[9]);
    EXPECT_EQ(Window->L_Name_Conf_L2->Caption(), Lang[10]);
}

TEST_F(MainWindowTest, OptionsOkSavesTheSettingsAndSwitchesTheTimer) {
    Create_All_Windows();
    TestModal().Expect([](TForm* F) {
        auto* d = dynamic_cast<TFSoftOptions*>(F);
        ASSERT_NE(d, nullptr);
        d->CB_En_Con->SetChecked(true);
        d->CB_Update->SetChecked(true);
        d->Btn_OKClick(d);
    });
    Window->Btn_Click(Window->Btn_Opz);
    EXPECT_TRUE(Opt_Enable_Internet && Opt_Enable_Update);
    EXPECT_TRUE(Window->Timer_Update->Enabled());
    EXPECT_TRUE(Read_File(Path("Tessaro.xml")).contains("<enable_update>1</enable_update>"));
    // Cancelled: the file stays as it was.
    DeleteFile(Path("Tessaro.xml"));
    TestModal().Expect([](TForm* F) { F->SetModalResult(mrCancel); });
    Window->Btn_Click(Window->Btn_Opz);
    EXPECT_FALSE(FileExists(Path("Tessaro.xml")));
    // The about box and the main parameters (with a project) open modally.
    TestModal().Expect([](TForm* F) {
        EXPECT_NE(dynamic_cast<TFAbout*>(F), nullptr);
        F->SetModalResult(mrOk);
    });
    Window->Btn_Click(Window->Btn_Info);
    Make_Project("P1");
    Project_Name = "P1";
    Project_Dir = Path("PROJECTS/P1");
    Set_Files();
    TestModal().Expect([](TForm* F) {
        EXPECT_NE(dynamic_cast<TFParGen*>(F), nullptr);
        F->SetModalResult(mrCancel);
    });
    Window->Btn_Click(Window->Btn_Prm_Gen);
    EXPECT_EQ(TestModal().Shown().size(), 4u);
    // Steps 3 to 6 open their table editors, whatever they answer.
    const std::pair<TLbButton*, TForm*> Steps[] = {{Window->Btn_OPC_UA_Server_Access, FOPC_UA_Server_Access},
                                                   {Window->Btn_SDO_Server_CANopen, FSet_SDO_Server_Access},
                                                   {Window->Btn_SDO_Client_CANopen, FSet_SDO_Client_Access},
                                                   {Window->Btn_PDO_CANopen, FSet_PDO_Access}};
    for (const auto& [Button, Editor] : Steps) {
        TestModal().Expect([Editor](TForm* F) {
            EXPECT_EQ(F, Editor);
            F->SetModalResult(mrCancel);
        });
        Window->Btn_Click(Button);
    }
    EXPECT_EQ(TestModal().Shown().size(), 8u);
}

TEST_F(MainWindowTest, UpdateOpensTheEthernetDialogThatStartsThroughTheMainWindow) {
    Make_Project("P1");
    Write_File(Path("Tessaro.xml"), Settings_XML("P1", "1.2.3.4", "English", "0", "0", "0", "0"));
    Create_All_Windows();
    auto clock = std::make_shared<TFakeClock>(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    SetClock(clock);
    auto launcher = std::make_shared<TFakeProcessLauncher>();
    SetProcessLauncher(launcher);
    launcher->SetRunPolls(-1);
    TestModal().Expect([](TForm* F) {
        auto* d = dynamic_cast<TFBoot*>(F);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->Form_Type, 1);
        ASSERT_TRUE(bool(d->OnStart_Program));
        EXPECT_EQ(d->OnStart_Program("updater", "", false), TWaitResult::TimedOut);
        F->SetModalResult(mrCancel);
    });
    Window->Btn_Click(Window->Btn_CreateBin);
    EXPECT_TRUE(FileExists(Path("PROJECTS/P1/bin/bank1.bin")));
    EXPECT_TRUE(FileExists(Path("PROJECTS/P1/bin/bank2.bin")));
    EXPECT_EQ(clock->TickCount(), 150000u);
    ASSERT_EQ(launcher->Starts().size(), 1);
    EXPECT_EQ(launcher->Starts()[0].Program, "updater");
}

TEST_F(MainWindowTest, LanguageChangeRelabelsTheWindows) {
    Create_All_Windows();
    ASSERT_TRUE(QDir().mkpath(Path("LANGUAGE")));
    Write_File(Path("LANGUAGE/Deutsch.lng"),
               "STR 0 =Anfang\r\nSTR 9 =Keine Konfiguration\r\nSTR 100 =Neues Projekt\r\n"
               "STR 200 =Projekt oeffnen\r\nSTR 300 =Optionen\r\nSTR 400 =Parameter\r\n"
               "STR 1200 =Aktualisieren\r\nSTR 1400 =Variablen\r\nSTR 2500 =PDO\r\nSTR 2600 =SDO Client\r\n"
               "STR 2717 =Objekt\r\n");
    Lang_Name = "Deutsch";
    Load_Language();
    Window->Change_Language();
    EXPECT_EQ(Window->L_Begin->Caption(), "Anfang");
    EXPECT_EQ(Window->L_Name_Conf->Caption(), "Keine Konfiguration");
    EXPECT_EQ(FNew_Project->Caption(), "Neues Projekt");
    EXPECT_EQ(FParGen->Caption(), "Parameter");
    EXPECT_EQ(FOpenConf->Caption(), "Projekt oeffnen");
    EXPECT_EQ(FSoftOptions->Caption(), "Optionen");
    EXPECT_EQ(FBoot->Caption(), "Aktualisieren");
    EXPECT_EQ(FOPC_UA_Server_Access->Caption(), "Variablen");
    EXPECT_EQ(FSet_SDO_Server_Access->sga()->Cells(1, 0), "Objekt");
    EXPECT_EQ(FSet_PDO_Access->Caption(), "PDO");
    EXPECT_EQ(FSet_SDO_Client_Access->Caption(), "SDO Client");
    // The about box keeps its fixed texts.
    EXPECT_EQ(FAbout->Caption(), "About...");
}

TEST_F(MainWindowTest, BACnetTypeFromTheMainParameters) {
    Make_Project("P1");
    Write_File(Path("Tessaro.xml"), Settings_XML("P1", "1.2.3.4", "English", "0", "0", "0", "0"));
    Create_Window();
    struct TCase {
        const char* Name;
        QByteArray Xml;
        int Type;
    };
    const TCase cases[] = {
        {"no file", {}, 0},
        {"a number", "<Par_Gen><BACnet_Type>3</BACnet_Type></Par_Gen>", 3},
        {"not a number", "<Par_Gen><BACnet_Type>x</BACnet_Type></Par_Gen>", 0},
        {"no element", "<Par_Gen><Other>3</Other></Par_Gen>", 0},
        {"unreadable", "<Par_Gen><BACnet_Type>3", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        DeleteFile(File_ParGen);
        if (!c.Xml.isNull()) Write_File(File_ParGen, c.Xml);
        EXPECT_EQ(Window->Get_Type_BACnet(), c.Type);
    }
}

} // namespace
