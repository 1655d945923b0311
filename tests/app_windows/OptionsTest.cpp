// The options dialog: its layout and texts, the language pages with their flags, the language
// switch with its question, the dependent check boxes, OK and Cancel, and the manual version
// check with its link.
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/USoftOptions.h"
#include "app/USoftOptions_Version.h"
#include "platform/gui/Snapshot.h"
#include "platform/net/HttpClient.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Set_App_Dir(Dir.path());
        Reset_Globals();
        Prepare_App_Folders();
        Lang_Name = "English";
        SW_Code = Const_SW_Code;
        Load_English_Strings();
        Links = std::make_shared<TFakeLinkOpener>();
        SetLinkOpener(Links);
        Http = std::make_shared<TFakeHttpClient>();
        SetHttpClient(Http);
        Form.reset(Create<TFSoftOptions>(nullptr));
        Form->Change_Language = [this] {
            ++Language_Changes;
            Form->Set_Lang();
        };
        Timer = std::make_unique<TTimer>(nullptr);
        Timer->SetEnabled(false);
        Form->Timer_Update = Timer.get();
    }
    void TearDown() override {
        Form.reset();
        SetLinkOpener(nullptr);
        SetHttpClient(nullptr);
        Reset_Language();
        Reset_Globals();
    }

    void Add_Language(const QString& Name, const QByteArray& Text = " ") {
        WriteFileAtomic(Language_Dir + "/" + Name + ".lng", Text);
    }
    void Add_Flag(const QString& Name, TColor Color) {
        TBitmap Flag(48, 48);
        Flag.Canvas()->Brush()->SetColor(Color);
        Flag.Canvas()->FillRect(Rect(0, 0, 48, 48));
        Flag.SaveToFile(Language_Dir + "/" + Name + ".bmp");
    }
    // Shows the dialog modally; Act plays the user and sets the result.
    TModalResult Show(const std::function<void(TFSoftOptions*)>& Act) {
        TestModal().Expect([&](TForm*) { Act(Form.get()); });
        return Form->ShowModal();
    }
    QStringList Shown_Slots() const {
        QStringList Names;
        for (int i = 0; i < 6; ++i)
            if (Form->Slot_Label(i)->Visible()) Names << Form->Slot_Label(i)->Caption();
        return Names;
    }

    QTemporaryDir Dir;
    std::shared_ptr<TFakeLinkOpener> Links;
    std::shared_ptr<TFakeHttpClient> Http;
    std::unique_ptr<TFSoftOptions> Form;
    std::unique_ptr<TTimer> Timer;
    int Language_Changes = 0;
};

TEST_F(OptionsTest, LayoutTextsAndPicture) {
    EXPECT_EQ(Form->ClientWidth(), 509);
    EXPECT_EQ(Form->ClientHeight(), 373);
    EXPECT_EQ(Form->BorderStyle(), bsSingle);
    EXPECT_EQ(Form->BorderIcons(), TBorderIcons({biSystemMenu}));
    EXPECT_EQ(Form->Color(), TColor(15595512));
    EXPECT_EQ(Form->P_Title->Height(), 69);
    EXPECT_EQ(Form->P_Buttons->Height(), 40);
    EXPECT_EQ(Form->P_Buttons->Top(), 373 - 40);
    EXPECT_EQ(Form->PC_Options->BoundsRect(), Rect(0, 69, 509, 333));
    EXPECT_EQ(Form->Btn_OK->BoundsRect(), Bounds(16, 6, 110, 28));
    EXPECT_EQ(Form->Btn_Cancel->BoundsRect(), Bounds(134, 6, 110, 28));
    EXPECT_EQ(Form->Btn_OK->Style(), bsEncarta);
    EXPECT_EQ(Form->Btn_Cancel->ModalResult(), mrCancel);
    EXPECT_EQ(Form->Btn_Check_Update->BoundsRect(), Bounds(36, 78, 204, 28));
    EXPECT_EQ(Form->Btn_Next->Layout(), blGlyphRight);
    const int Image_Left[] = {24, 26, 24, 254, 254, 254};
    const int Top[] = {40, 94, 148};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Form->Slot_Image(i)->BoundsRect(), Bounds(Image_Left[i], Top[i % 3], 48, 48)) << i;
        EXPECT_EQ(Form->Slot_Label(i)->Left(), i < 3 ? 80 : 310) << i;
        EXPECT_EQ(Form->Slot_Label(i)->Top(), Top[i % 3] + 16) << i;
    }

    EXPECT_EQ(Form->L_SW_Code->Caption(), "CFG4180");
    EXPECT_EQ(Form->Caption(), Lang[300]);
    EXPECT_EQ(Form->TS_Con_Options->Caption(), "Connection Options");
    EXPECT_EQ(Form->TS_Soft_Settings->Caption(), "Software Settings");
    EXPECT_EQ(Form->CB_DoubleClick_Auto_Size->Caption(), Lang[321]);
    EXPECT_EQ(Form->L_Page_Lang->Caption(), "Page 1 / 1");
    EXPECT_TRUE(Form->TS_Con_Options->TabVisible());

    Add_Language("English");
    Add_Language("Italiano");
    Add_Flag("English", TColor(0xC08040));
    Show([](TFSoftOptions* F) {
        // Pictures beside the test program, to look at.
        const QString Out = QCoreApplication::applicationDirPath() + "/options-";
        EXPECT_TRUE(SaveControlPng(F, Out + "language.png"));
        F->PC_Options->SetActivePage(F->TS_Con_Options);
        F->LL_Check_Update->Show();
        F->LL_Check_Update->SetCaption(Update_Link_Caption(Lang[314]));
        EXPECT_TRUE(SaveControlPng(F, Out + "connection.png"));
        F->PC_Options->SetActivePage(F->TS_Soft_Settings);
        EXPECT_TRUE(SaveControlPng(F, Out + "settings.png"));
    });
}

TEST_F(OptionsTest, SevenLanguagesMakeTwoPages) {
    for (const char* Name : {"italiano", "Deutsch", "English", "Francais", "Espanol", "polski", "Cesky"})
        Add_Language(Name);
    Show([this](TFSoftOptions* F) {
        EXPECT_EQ(F->PC_Options->ActivePage(), F->TS_Language);
        EXPECT_EQ(F->L_Sel_Lang->Caption(), "Selected Language : English");
        EXPECT_EQ(Shown_Slots(), QStringList({"Cesky", "Deutsch", "English", "Espanol", "Francais", "italiano"}));
        EXPECT_EQ(F->L_Page_Lang->Caption(), "Page 1 / 2");
        EXPECT_FALSE(F->Btn_Prev->Visible());
        EXPECT_TRUE(F->Btn_Next->Visible());

        EXPECT_TRUE(SaveControlPng(F, QCoreApplication::applicationDirPath() + "/options-pages.png"));
        F->Btn_Next->Click();
        EXPECT_EQ(F->Show_Page, 2);
        EXPECT_EQ(Shown_Slots(), QStringList({"polski"}));
        for (int i = 1; i < 6; ++i) EXPECT_FALSE(F->Slot_Image(i)->Visible()) << i;
        EXPECT_EQ(F->L_Page_Lang->Caption(), "Page 2 / 2");
        EXPECT_TRUE(F->Btn_Prev->Visible());
        EXPECT_FALSE(F->Btn_Next->Visible());

        F->Btn_NextClick(F->Btn_Next); // no page 3
        EXPECT_EQ(F->Show_Page, 2);

        F->Btn_Prev->Click();
        EXPECT_EQ(F->Show_Page, 1);
        EXPECT_EQ(Shown_Slots().size(), 6);
        EXPECT_EQ(F->L_Page_Lang->Caption(), "Page 1 / 2");
    });
}

TEST_F(OptionsTest, OnlyWritableLngFilesAreListed) {
    Add_Language("English");
    Add_Language("Locked");
    QFile::setPermissions(Language_Dir + "/Locked.lng", QFile::ReadOwner | QFile::ReadGroup);
    WriteFileAtomic(Language_Dir + "/Upper.LNG", " ");
    WriteFileAtomic(Language_Dir + "/Notes.txt", " ");
    QDir(Language_Dir).mkdir("Folder.lng");
    Show([this](TFSoftOptions* F) {
        EXPECT_EQ(Shown_Slots(), QStringList({"English"}));
        EXPECT_EQ(F->SL_Languages->Count(), 1);
    });
}

TEST_F(OptionsTest, NoLanguageFileShowsNoSlot) {
    Show([this](TFSoftOptions* F) {
        EXPECT_TRUE(Shown_Slots().isEmpty());
        for (int i = 0; i < 6; ++i) EXPECT_FALSE(F->Slot_Image(i)->Visible()) << i;
        EXPECT_EQ(F->L_Page_Lang->Caption(), "Page 1 / 0");
        EXPECT_FALSE(F->Btn_Prev->Visible());
        EXPECT_FALSE(F->Btn_Next->Visible()); // there is no page to go to
    });
}

TEST_F(OptionsTest, FlagsFallBackToTheDefaultFlagOrNone) {
    Add_Language("Alpha");
    Add_Language("Beta");
    Add_Flag("Alpha", TColor(0x0000FF));
    Show([](TFSoftOptions* F) {
        EXPECT_TRUE(F->I_L1->Visible());
        EXPECT_EQ(F->I_L1->Picture()->Bitmap()->Image().pixelColor(5, 5), QColor(255, 0, 0));
        EXPECT_FALSE(F->I_L2->Visible()); // no own flag and no default flag
    });
    Add_Flag("DefaultFlag", TColor(0x00FF00));
    Show([](TFSoftOptions* F) {
        EXPECT_TRUE(F->I_L2->Visible());
        EXPECT_EQ(F->I_L2->Picture()->Bitmap()->Image().pixelColor(5, 5), QColor(0, 255, 0));
    });
}

TEST_F(OptionsTest, BrokenFlagIsReportedAfterTheDialogIsFilled) {
    Add_Language("Alpha");
    Add_Language("Beta");
    WriteFileAtomic(Language_Dir + "/Alpha.bmp", "not a picture");
    Add_Flag("Beta", TColor(0x0000FF));
    Opt_Enable_Internet = true;
    Opt_Double_Click_Auto_Size = true;
    TestDialogs().ExpectBox(mrOk);
    Show([](TFSoftOptions* F) {
        EXPECT_FALSE(F->I_L1->Visible());
        EXPECT_EQ(F->L_L1->Caption(), "Alpha");
        EXPECT_TRUE(F->I_L2->Visible());
        EXPECT_EQ(F->L_L2->Caption(), "Beta");
        // The options are those of now, so OK cannot store stale ones.
        EXPECT_TRUE(F->CB_En_Con->Checked());
        EXPECT_TRUE(F->CB_DoubleClick_Auto_Size->Checked());
    });
    ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes()[0].Type, mtError);
}

TEST_F(OptionsTest, LanguageChoiceSwitchesTextsAtOnceButIsSavedOnlyByOK) {
    Add_Language("English");
    Add_Language("Italiano", "STR 300 =Opzioni\nSTR 304 =Lingua selezionata: \xB6\n");
    Lang_Name = "English";

    TestDialogs().ExpectBox(mrYes, "Do you want to change the Language from English to Italiano?");
    EXPECT_EQ(Show([](TFSoftOptions* F) {
                  ASSERT_EQ(F->L_L2->Caption(), "Italiano");
                  F->LangClick(F->L_L2);
                  F->Btn_Cancel->Click();
              }),
              mrCancel);
    EXPECT_EQ(Language_Changes, 1);
    EXPECT_EQ(Lang[300], "Opzioni");
    EXPECT_EQ(Form->Caption(), "Opzioni");
    EXPECT_EQ(Form->L_Sel_Lang->Caption(), "Lingua selezionata: Italiano");
    EXPECT_EQ(Lang_Name, "English"); // Cancel: the file keeps the old language

    // The next showing names the language that is saved.
    Show([](TFSoftOptions* F) {
        EXPECT_EQ(F->Language_In_Use, "English");
        EXPECT_EQ(F->L_Sel_Lang->Caption(), "Lingua selezionata: English");
        F->Btn_Cancel->Click();
    });

    // Chosen again and confirmed with OK, it becomes the saved language.
    TestDialogs().ExpectBox(mrYes);
    EXPECT_EQ(Show([](TFSoftOptions* F) {
                  F->LangClick(F->I_L2);
                  F->Btn_OK->Click();
              }),
              mrOk);
    EXPECT_EQ(Lang_Name, "Italiano");
}

TEST_F(OptionsTest, AnsweringNoChangesNothing) {
    Add_Language("English");
    Add_Language("Italiano", "STR 300 =Opzioni\n");
    TestDialogs().ExpectBox(mrNo);
    Show([](TFSoftOptions* F) { F->LangClick(F->L_L2); });
    EXPECT_EQ(Language_Changes, 0);
    EXPECT_EQ(Lang[300], "Software Options");
    EXPECT_EQ(Form->Language_In_Use, "English");
}

TEST_F(OptionsTest, LanguageSwitchKeepsThePageLabelOfThePageShown) {
    for (const char* Name : {"A1", "A2", "A3", "A4", "A5", "A6", "B1"}) Add_Language(Name);
    TestDialogs().ExpectBox(mrYes);
    Show([](TFSoftOptions* F) {
        F->Btn_Next->Click();
        F->LangClick(F->L_L1);
        EXPECT_EQ(F->Language_In_Use, "B1");
        EXPECT_EQ(F->L_Page_Lang->Caption(), "Page 2 / 2");
    });
}

TEST_F(OptionsTest, ConnectionBoxDisablesTheUpdateControlsButKeepsTheMark) {
    Opt_Enable_Internet = true;
    Opt_Enable_Update = true;
    Timer->SetEnabled(true);
    EXPECT_EQ(Show([](TFSoftOptions* F) {
                  EXPECT_TRUE(F->CB_Update->Enabled());
                  EXPECT_TRUE(F->Btn_Check_Update->Enabled());
                  EXPECT_FALSE(F->LL_Check_Update->Visible());
                  F->CB_En_Con->Toggle();
                  EXPECT_FALSE(F->CB_Update->Enabled());
                  EXPECT_TRUE(F->CB_Update->Checked());
                  EXPECT_FALSE(F->Btn_Check_Update->Enabled());
                  F->CB_Soft_Set_Jump_Table->Toggle();
                  F->Btn_OK->Click();
              }),
              mrOk);
    EXPECT_FALSE(Opt_Enable_Internet);
    EXPECT_TRUE(Opt_Enable_Update);
    EXPECT_TRUE(Opt_Enable_Jump_Field_Tables);
    EXPECT_FALSE(Opt_Double_Click_Auto_Size);
    EXPECT_FALSE(Timer->Enabled());
}

TEST_F(OptionsTest, OKWithBothConnectionOptionsStartsTheTimerAndCancelStoresNothing) {
    EXPECT_EQ(Show([](TFSoftOptions* F) {
                  EXPECT_FALSE(F->CB_Update->Enabled());
                  EXPECT_FALSE(F->Btn_Check_Update->Enabled());
                  F->CB_En_Con->Toggle();
                  F->CB_Update->Toggle();
                  EXPECT_TRUE(F->Btn_Check_Update->Enabled());
                  F->CB_DoubleClick_Auto_Size->Toggle();
                  F->Btn_Cancel->Click();
              }),
              mrCancel);
    EXPECT_FALSE(Opt_Enable_Internet || Opt_Enable_Update || Opt_Double_Click_Auto_Size);
    EXPECT_FALSE(Timer->Enabled());

    Show([](TFSoftOptions* F) {
        EXPECT_FALSE(F->CB_En_Con->Checked()); // the boxes follow the options, not the last showing
        F->CB_En_Con->Toggle();
        F->CB_Update->Toggle();
        F->Btn_OK->Click();
    });
    EXPECT_TRUE(Opt_Enable_Internet && Opt_Enable_Update);
    EXPECT_TRUE(Timer->Enabled());
}

TEST_F(OptionsTest, ManualCheckShowsTheLinkOrTheNoUpdateText) {
    Opt_Enable_Internet = true;
    Opt_Enable_Update = true;
    Http->SetReply(Version_Query_URL(), QByteArray("VER. 1.001"));
    Show([this](TFSoftOptions* F) {
        F->Btn_Check_Update->Click();
        EXPECT_TRUE(F->LL_Check_Update->Visible());
        EXPECT_EQ(F->LL_Check_Update->Caption(), Update_Link_Caption(Lang[314]));
        F->LL_Check_Update->ClickLink(Download_Page_URL());
        EXPECT_EQ(Links->Links(), QStringList({Download_Page_URL()}));

        Http->SetReply(Version_Query_URL(), std::nullopt); // no answer
        F->Btn_Check_Update->Click();
        EXPECT_TRUE(F->LL_Check_Update->Visible());
        EXPECT_EQ(F->LL_Check_Update->Caption(), "No Update Available");
    });
    EXPECT_EQ(Http->Requests().size(), 2);
    // Shown again, the dialog starts without the last answer.
    Show([](TFSoftOptions* F) { EXPECT_FALSE(F->LL_Check_Update->Visible()); });
}

} // namespace
