// The about box: fixed English texts whatever the language, its layout, the links to the
// maker's home page, and closing it.
#include "app/UAbout.h"
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "platform/gui/Snapshot.h"
#include "platform/shell/Shell.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        Reset_Globals();
        Load_English_Strings();
        Links = std::make_shared<TFakeLinkOpener>();
        SetLinkOpener(Links);
        Form.reset(Create<TFAbout>(nullptr));
    }
    void TearDown() override {
        Form.reset();
        SetLinkOpener(nullptr);
        Reset_Language();
        Reset_Globals();
    }
    std::shared_ptr<TFakeLinkOpener> Links;
    std::unique_ptr<TFAbout> Form;
};

TEST_F(AboutTest, ShowsTheFixedTextsInPlace) {
    TestModal().Expect([](TForm* F) {
        EXPECT_TRUE(SaveControlPng(F, QCoreApplication::applicationDirPath() + "/about.png"));
        F->SetModalResult(mrOk);
    });
    Form->ShowModal();
    // The picture: the badge's blue below the "V", the white of the "V"'s left arm, and the
    // window's own colour in the corner.
    const QImage Shot(QCoreApplication::applicationDirPath() + "/about.png");
    ASSERT_EQ(Shot.size(), QSize(425, 148));
    EXPECT_EQ(Shot.pixelColor(72, 94), QColor(0x2F, 0x70, 0xB5));
    EXPECT_EQ(Shot.pixelColor(64, 64), QColor(Qt::white));
    EXPECT_EQ(Shot.pixelColor(5, 5), QColor(0xF8, 0xF7, 0xED));
    EXPECT_EQ(Form->Caption(), "About...");
    EXPECT_EQ(Form->ClientWidth(), 425);
    EXPECT_EQ(Form->ClientHeight(), 148);
    EXPECT_EQ(Form->BorderStyle(), bsSingle);
    EXPECT_EQ(Form->Color(), TColor(15595512));
    EXPECT_EQ(Form->Font()->Color(), TColor(3355443));
    struct TPlace {
        TControl* Control;
        int Left, Top;
        const char* Text;
    };
    const TPlace Places[] = {
        {Form->Label1, 128, 24, "Software Tessaro "}, {Form->Label2, 128, 39, "OPC UA Server / CANopen - Converter"},
        {Form->Label6, 128, 62, "Software Code : "},  {Form->Label9, 240, 62, "CFG4180"},
        {Form->Label3, 128, 77, "Version :"},         {Form->Label10, 240, 77, "1.000"},
        {Form->Label8, 128, 93, "Document Code :"},   {Form->Label12, 240, 93, "DOC4180"},
        {Form->Label4, 316, 131, "www.velmora.com"},  {Form->LbButton1, 32, 115, "OK"},
    };
    for (const TPlace& P : Places) {
        EXPECT_EQ(P.Control->Left(), P.Left) << P.Text;
        EXPECT_EQ(P.Control->Top(), P.Top) << P.Text;
        EXPECT_EQ(P.Control->Caption(), P.Text);
    }
    EXPECT_EQ(Form->Image2->BoundsRect(), Bounds(32, 24, 81, 81));
    EXPECT_EQ(Form->LbButton1->BoundsRect(), Bounds(32, 115, 81, 22));
    EXPECT_TRUE(Form->Label1->Font()->Style().Contains(fsBold));
    EXPECT_EQ(Form->Label1->Font()->Height(), -13);
    EXPECT_EQ(Form->Label4->Font()->Color(), clBlue);
    EXPECT_TRUE(Form->Label4->Font()->Style().Contains(fsUnderline));
}

TEST_F(AboutTest, LanguageFileDoesNotReachIt) {
    // Even with no language table at all the box reads the same.
    Reset_Language();
    TestModal().Expect([](TForm* F) { F->SetModalResult(mrOk); });
    Form->ShowModal();
    EXPECT_EQ(Form->Label6->Caption(), "Software Code : ");
    EXPECT_EQ(Form->LbButton1->Caption(), "OK");
}

TEST_F(AboutTest, LogoAndAddressOpenTheHomePage) {
    Form->Image2->Click();
    Form->Label4->Click();
    const QString Home = "https://www.velmora.com/HOME/default.asp?frompg=CFG4180";
    EXPECT_EQ(Home_Page_URL(), Home);
    EXPECT_EQ(Links->Links(), QStringList({Home, Home}));
}

TEST_F(AboutTest, OKAndCloseBothCloseIt) {
    TestModal().Expect([](TForm* F) { static_cast<TFAbout*>(F)->LbButton1->Click(); });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    TestModal().Expect([](TForm* F) { F->Close(); });
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(Links->Links().isEmpty());
}

} // namespace
