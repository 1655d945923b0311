#include "platform/gui/Dialogs.h"

#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>

TEST(DialogsTest, FiltersBecomeQtFilters) {
    const struct {
        const char* In;
        QStringList Out;
    } Table[] = {
        {"CSV (MS-DOS) (*.csv)|*.csv", {"CSV (MS-DOS) (*.csv)"}},
        {"Electronic Data Sheet (*.eds)|*.eds", {"Electronic Data Sheet (*.eds)"}},
        {"XML|*.xml|Any|*.txt;*.log", {"XML (*.xml)", "Any (*.txt *.log)"}},
        {"PROFINET XML (*.xml)|GSDML-V2.3-Tessaro.xml", {"PROFINET XML (*.xml) (GSDML-V2.3-Tessaro.xml)"}},
        {"", {}},
    };
    for (const auto& T : Table) EXPECT_EQ(FilterToQt(T.In), T.Out) << T.In;
}

TEST(DialogsTest, SaveDialogAppendsTheDefaultExtensionOnlyWhenTheNameHasNone) {
    TSaveDialog D(nullptr);
    D.SetDefaultExt("*.eds");
    D.SetFilter("Electronic Data Sheet (*.eds)|*.eds");
    D.SetInitialDir("/projects/P1");
    D.SetFileName("Gateway");
    const struct {
        const char* Chosen;
        const char* Result;
    } Table[] = {
        {"/projects/P1/Gateway", "/projects/P1/Gateway.eds"},
        {"/projects/P1/Gateway.txt", "/projects/P1/Gateway.txt"},
        {"/projects/P1.v2/Gateway", "/projects/P1.v2/Gateway.eds"},
    };
    for (const auto& T : Table) {
        TestDialogs().ExpectFileDialog(true, T.Chosen);
        ASSERT_TRUE(D.Execute());
        EXPECT_EQ(D.FileName(), T.Result);
    }
    const TFileDialogRequest& R = TestDialogs().FileDialogs().front();
    EXPECT_EQ(R.Kind, fdSave);
    EXPECT_EQ(R.DefaultExt, "eds");
    EXPECT_EQ(R.InitialDir, "/projects/P1");
    EXPECT_EQ(R.FileName, "Gateway");
    EXPECT_EQ(R.Filter, "Electronic Data Sheet (*.eds)|*.eds");

    TestDialogs().ExpectFileDialog(false);
    D.SetFileName("Kept");
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(D.FileName(), "Kept") << "a cancelled dialog changes nothing";
}

TEST(DialogsTest, OpenDialogIsAnOpenRequest) {
    TOpenDialog D(nullptr);
    TestDialogs().ExpectFileDialog(true, "/tmp/flag.bmp");
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(D.FileName(), "/tmp/flag.bmp");
    EXPECT_EQ(TestDialogs().FileDialogs()[0].Kind, fdOpen);
}

TEST(DialogsTest, BoxesCarryTheirKindAndButtonsAndReturnTheAnswer) {
    TestDialogs().ExpectBox(mrOk);
    TestDialogs().ExpectBox(mrYes);
    TestDialogs().ExpectBox(mrNo);
    TestDialogs().ExpectBox(mrOk);
    TestDialogs().ExpectBox(mrCancel);
    ErrorBox("Error! Project not Valid");
    EXPECT_TRUE(YesNoBox("File exists. Overwrite?"));
    EXPECT_FALSE(YesNoBox("File exists. Overwrite?"));
    WarningBox("Device Not Found!");
    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrCancel);
    const auto& B = TestDialogs().Boxes();
    ASSERT_EQ(B.size(), 5u);
    EXPECT_EQ(B[0].Type, mtError);
    EXPECT_EQ(B[0].Buttons, TMsgDlgButtons({mbOK}));
    EXPECT_EQ(B[0].Caption, Application->Title());
    EXPECT_EQ(B[1].Type, mtConfirmation);
    EXPECT_EQ(B[1].Buttons, mbYesNo);
    EXPECT_EQ(B[3].Type, mtWarning);
    EXPECT_EQ(B[3].Text, "Device Not Found!");
    EXPECT_EQ(B[4].Buttons, mbYesNoCancel);
}

// Every box the program raises carries one title, the application's, whichever routine shows it
// and whatever its kind.
TEST(DialogsTest, EveryBoxCarriesTheApplicationsTitle) {
    const std::function<void()> Shows[] = {
        [] { ErrorBox("Error! Name project is not valid"); },
        [] { MessageDlg("Error! Project not Valid", mtError, {mbOK}); },
        [] { Application->ShowException(EInOutError("Cannot write \"Tessaro.xml\"")); },
        [] { Application->HandleException(nullptr, EConvertError("'x' is not a valid integer value")); },
        [] { WarningBox("Device Not Found!"); },
        [] { MessageDlg("Do you want to overwrite?", mtConfirmation, mbYesNoCancel); },
        [] { MessageDlg("Done", mtInformation, {mbOK}); },
        [] { MessageDlg("Careful", mtWarning, {mbOK}); },
        [] { YesNoBox("Change the language?"); },
        [] { ShowMessage("No Update Available"); },
    };
    for (const auto& Show : Shows) {
        TestDialogs().ExpectBox(mrOk);
        Show();
    }
    ASSERT_EQ(TestDialogs().Boxes().size(), std::size(Shows));
    for (const TMessageBoxRequest& B : TestDialogs().Boxes())
        EXPECT_EQ(B.Caption, Application->Title()) << B.Text.toStdString();
}

TEST(DialogsTest, ApplicationMessageBoxAnswersWithIds) {
    TestDialogs().ExpectBox(mrYes);
    EXPECT_EQ(Application->MessageBox("Delete?", "Confirm", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(TestDialogs().Boxes()[0].Caption, "Confirm");
}

TEST(DialogsTest, TheScriptedHostFailsATestOnAnUnexpectedBoxOrModalForm) {
    EXPECT_NONFATAL_FAILURE(ErrorBox("Error!!! Check the Ip Address"), "unexpected message box");
    TForm F(nullptr);
    F.SetName("FBoot");
    TModalResult R = mrNone;
    EXPECT_NONFATAL_FAILURE(R = F.ShowModal(), "unexpected modal form FBoot");
    EXPECT_EQ(R, mrCancel);
    TestDialogs().ExpectBox(mrOk, "Device Not Found!");
    EXPECT_NONFATAL_FAILURE(WarningBox("Error!"), "does not contain");
    TestDialogs().ExpectBox(mrOk);
    EXPECT_NONFATAL_FAILURE(TestDialogs().VerifyAllUsed(), "expected message box not shown");
    TestDialogs().Reset();
}
