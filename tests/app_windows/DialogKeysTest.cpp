// Every dialog of the configurator as the keyboard meets it: each showing puts the focus where the
// window says (or on its first control in tab order), whatever was used at the showing before, so
// typed text and Enter go there; Escape is treated alike by every window.
#include "app/UAbout.h"
#include "app/UComon.h"
#include "app/ULanguage.h"
#include "app/UNew_Project.h"
#include "app/UOpenConf.h"
#include "app/UParGen.h"
#include "app/USoftOptions.h"
#include "gateway/UBoot.h"
#include "platform/net/IcmpClient.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Files.h"
#include "platform/shell/Shell.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A key as the keyboard sends it, to the widget that has the focus.
void Key(int QtKey, const QString& Text = QString()) {
    QWidget* To = QApplication::focusWidget();
    ASSERT_NE(To, nullptr);
    QKeyEvent Press(QEvent::KeyPress, QtKey, Qt::NoModifier, Text);
    QApplication::sendEvent(To, &Press);
    QKeyEvent Release(QEvent::KeyRelease, QtKey, Qt::NoModifier, Text);
    QApplication::sendEvent(To, &Release);
}

void Type(const QString& Text) {
    for (QChar C : Text) Key(C == u'.' ? int(Qt::Key_Period) : int(C.toUpper().unicode()), QString(C));
}

void Enter() { Key(Qt::Key_Return, "\r"); }
void Escape() { Key(Qt::Key_Escape, "\x1b"); }

// A click with the mouse: the button takes the focus, as a user's click leaves it.
void MouseClick(TControl* Button) {
    const QPointF P(Button->Width() / 2.0, Button->Height() / 2.0);
    const QPointF G = Button->mapToGlobal(P);
    QMouseEvent Down(QEvent::MouseButtonPress, P, G, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Button, &Down);
    QMouseEvent Up(QEvent::MouseButtonRelease, P, G, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Button, &Up);
}

// The platform control the keyboard is on (a native widget's owner included).
TControl* FocusedControl() {
    for (QWidget* W = QApplication::focusWidget(); W; W = W->parentWidget())
        if (auto* C = dynamic_cast<TControl*>(W)) return C;
    return nullptr;
}

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Saved_App_Dir = App_Dir();
        Set_App_Dir(Dir.path());
        Reset_Globals();
        Load_English_Strings();
        Prepare_App_Folders();
        SW_Code = Const_SW_Code;
        Lang_Name = Default_Lang_Name;
        Last_IP_Address = Default_IP_Address;
        SetClock(Clock_);
        SetIcmpClient(Icmp);
        SetProcessLauncher(Launcher);
    }
    void TearDown() override {
        Forms.clear();
        SetProcessLauncher(nullptr);
        SetIcmpClient(nullptr);
        SetClock(nullptr);
        Set_App_Dir(Saved_App_Dir);
        Reset_Globals();
        Reset_Language();
    }
    template <class T>
    T* Make() {
        T* F = Create<T>(nullptr);
        Forms.emplace_back(F);
        return F;
    }
    void Open_Project(const QString& Name) {
        ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/" + Name + "/bin"));
        Project_Name = Name;
        Project_Dir = Projects_Dir + "/" + Name;
        Set_Files();
    }
    // Shows Form modally with Action acting as the user while it is up.
    TModalResult Show(TForm* Form, const std::function<void(TForm*)>& Action) {
        TestModal().Expect(Action);
        return Form->ShowModal();
    }

    QTemporaryDir Dir;
    QString Saved_App_Dir;
    std::shared_ptr<TFakeClock> Clock_ = std::make_shared<TFakeClock>(QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
    std::shared_ptr<TFakeIcmpClient> Icmp = std::make_shared<TFakeIcmpClient>();
    std::shared_ptr<TFakeProcessLauncher> Launcher = std::make_shared<TFakeProcessLauncher>();
    std::vector<std::unique_ptr<TForm>> Forms;
};

// Left with Cancel clicked, the new-project dialog comes back with the focus in the name field:
// the name typed goes there and Enter creates the project.
TEST_F(DialogKeysTest, NewProjectSecondShowingTakesTheTypedNameAndEnter) {
    auto* F = Make<TFNew_Project>();
    EXPECT_EQ(Show(F,
                   [&](TForm*) {
                       EXPECT_EQ(FocusedControl(), F->E_New_Proj);
                       MouseClick(F->Btn_Cancel);
                   }),
              mrCancel);
    EXPECT_EQ(Show(F,
                   [&](TForm*) {
                       EXPECT_EQ(FocusedControl(), F->E_New_Proj);
                       Type("Plant");
                       Enter();
                   }),
              mrOk);
    EXPECT_EQ(Project_Name, "Plant");
    EXPECT_TRUE(DirectoryExists(Projects_Dir + "/Plant/bin"));
}

// The update dialog after an update and Cancel: the new address is typed into the octet edits
// (the old text selected, so it is replaced) and Enter there runs nothing; the update button then
// asks the new address.
TEST_F(DialogKeysTest, UpdateDialogSecondShowingTakesTheNewAddress) {
    Open_Project("P1");
    auto* F = Make<TFBoot>();
    F->Form_Type = 1;
    EXPECT_EQ(Show(F,
                   [&](TForm*) {
                       EXPECT_EQ(FocusedControl(), F->E_IP1);
                       TestDialogs().ExpectBox(mrOk, Lang[1236]);
                       MouseClick(F->Btn_Update);
                       F->Btn_Cancel->Click();
                   }),
              mrCancel);
    const int Asked = Icmp->Count();
    ASSERT_GT(Asked, 0);
    EXPECT_EQ(Icmp->Hosts().last(), Default_IP_Address);
    Icmp->SetAnswering("10.0.0.9", false);
    EXPECT_EQ(Show(F,
                   [&](TForm*) {
                       EXPECT_EQ(FocusedControl(), F->E_IP1);
                       Type("10.0.0.9");
                       Enter();
                       EXPECT_EQ(F->ModalResult(), mrNone);
                       EXPECT_EQ(Icmp->Count(), Asked) << "Enter ran the update";
                       EXPECT_EQ(F->E_IP1->Text() + "." + F->E_IP2->Text() + "." + F->E_IP3->Text() + "." +
                                     F->E_IP4->Text(),
                                 "10.0.0.9");
                       TestDialogs().ExpectBox(mrOk, Lang[1236]);
                       MouseClick(F->Btn_Update);
                       F->Btn_Cancel->Click();
                   }),
              mrCancel);
    EXPECT_EQ(Icmp->Hosts().last(), "10.0.0.9");
}

// Windows whose show handler names no control: the first control in tab order has the focus at
// every showing, not the button clicked the time before.
TEST_F(DialogKeysTest, OtherDialogsFocusTheirFirstControlAtEveryShowing) {
    Open_Project("Alpha");
    ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/Beta"));
    struct TCase {
        const char* Name;
        std::function<TForm*()> Make;
        std::function<TControl*(TForm*)> First; // the control that must have the focus
        std::function<TControl*(TForm*)> Leave; // the button that closed the first showing
    };
    const TCase Cases[] = {
        {"open project", [this] { return Make<TFOpenConf>(); },
         [](TForm* F) { return static_cast<TFOpenConf*>(F)->ListBox1; },
         [](TForm* F) { return static_cast<TFOpenConf*>(F)->Btn_Cancel; }},
        {"options", [this] { return Make<TFSoftOptions>(); },
         [](TForm* F) { return static_cast<TFSoftOptions*>(F)->PC_Options; },
         [](TForm* F) { return static_cast<TFSoftOptions*>(F)->Btn_Cancel; }},
        {"main parameters", [this] { return Make<TFParGen>(); },
         [](TForm* F) { return static_cast<TFParGen*>(F)->E_OPC_UA_Server_IP1; },
         [](TForm* F) { return static_cast<TFParGen*>(F)->Btn_Cancel; }},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TForm* F = C.Make();
        for (int Showing = 1; Showing <= 2; ++Showing) {
            SCOPED_TRACE(Showing);
            EXPECT_EQ(Show(F,
                           [&](TForm*) {
                               EXPECT_EQ(FocusedControl(), C.First(F));
                               // Enter is no button's key here: the window stays up.
                               Enter();
                               EXPECT_EQ(F->ModalResult(), mrNone);
                               MouseClick(C.Leave(F));
                           }),
                      mrCancel);
        }
    }
}

// The about box has one control, its OK button: Enter on it closes the box at every showing.
TEST_F(DialogKeysTest, AboutBoxClosesWithEnterAtEveryShowing) {
    auto* F = Make<TFAbout>();
    for (int Showing = 1; Showing <= 2; ++Showing) {
        SCOPED_TRACE(Showing);
        EXPECT_EQ(Show(F,
                       [&](TForm*) {
                           EXPECT_EQ(FocusedControl(), F->LbButton1);
                           Enter();
                       }),
                  mrOk);
    }
}

// No window of the configurator has a cancel button for Escape: Escape closes none of them, from
// whichever control has the focus.
TEST_F(DialogKeysTest, EscapeClosesNoWindow) {
    Open_Project("Alpha");
    struct TCase {
        const char* Name;
        std::function<TForm*()> Make;
        std::function<void(TForm*)> Close;
    };
    auto Cancel = [](TLbButton* B) { B->Click(); };
    const TCase Cases[] = {
        {"new project", [this] { return Make<TFNew_Project>(); },
         [&](TForm* F) { Cancel(static_cast<TFNew_Project*>(F)->Btn_Cancel); }},
        {"open project", [this] { return Make<TFOpenConf>(); },
         [&](TForm* F) { Cancel(static_cast<TFOpenConf*>(F)->Btn_Cancel); }},
        {"options", [this] { return Make<TFSoftOptions>(); },
         [&](TForm* F) { Cancel(static_cast<TFSoftOptions*>(F)->Btn_Cancel); }},
        {"about", [this] { return Make<TFAbout>(); }, [&](TForm* F) { static_cast<TFAbout*>(F)->LbButton1->Click(); }},
        {"main parameters", [this] { return Make<TFParGen>(); },
         [&](TForm* F) { Cancel(static_cast<TFParGen*>(F)->Btn_Cancel); }},
        {"update",
         [this] {
             auto* B = Make<TFBoot>();
             B->Form_Type = 1;
             return B;
         },
         [&](TForm* F) { Cancel(static_cast<TFBoot*>(F)->Btn_Cancel); }},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TForm* F = C.Make();
        Show(F, [&](TForm*) {
            ASSERT_NE(FocusedControl(), nullptr);
            Escape();
            EXPECT_EQ(F->ModalResult(), mrNone);
            C.Close(F);
        });
    }
}

} // namespace
