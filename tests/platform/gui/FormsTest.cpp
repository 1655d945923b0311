#include "platform/gui/Forms.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Snapshot.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QStringList GLog;

class TLoggedEdit : public TEdit {
public:
    using TEdit::TEdit;
    void Loaded() override {
        GLog << QStringLiteral("Loaded %1 loading=%2").arg(Name()).arg(ComponentState().Contains(csLoading));
        TEdit::Loaded();
    }
};

// A dialog as the windows of the configurator are built: components, OK and Cancel.
class TFDialog : public TForm {
public:
    explicit TFDialog(TComponent* AOwner) : TForm(AOwner) {}
    TLoggedEdit* E_Name = nullptr;
    TButton* Btn_OK = nullptr;
    TButton* Btn_Cancel = nullptr;
    bool Valid = true;

    void CreateComponents() override {
        GLog << "CreateComponents";
        SetName("FDialog");
        SetBorderStyle(bsSingle);
        SetBorderIcons({biSystemMenu});
        SetPosition(poScreenCenter);
        SetColor(TColor(15595512));
        SetClientWidth(300);
        SetClientHeight(120);
        E_Name = Create<TLoggedEdit>(this, this);
        E_Name->SetName("E_Name");
        E_Name->SetBounds(10, 10, 200, 21);
        GLog << QStringLiteral("created loading=%1").arg(E_Name->ComponentState().Contains(csLoading));
        Btn_OK = Create<TButton>(this, this);
        Btn_OK->SetBounds(60, 80, 110, 28);
        Btn_OK->SetCaption("OK");
        Btn_OK->SetDefault(true);
        Btn_OK->OnClick = [this](TObject*) {
            if (Valid)
                SetModalResult(mrOk);
            else
                ErrorBox("Error! Project not Valid");
        };
        Btn_Cancel = Create<TButton>(this, this);
        Btn_Cancel->SetBounds(180, 80, 110, 28);
        Btn_Cancel->SetCaption("Cancel");
        Btn_Cancel->SetCancel(true);
        Btn_Cancel->SetModalResult(mrCancel);
    }
    void FormCreate(TObject*) override { GLog << "FormCreate"; }
};

void SendKey(QWidget* To, int QtKey, const QString& Text) {
    QKeyEvent Press(QEvent::KeyPress, QtKey, Qt::NoModifier, Text);
    QApplication::sendEvent(To, &Press);
}
} // namespace

TEST(FormsTest, CreationRunsComponentsThenLoadedThenFormCreate) {
    GLog.clear();
    TFDialog* F = nullptr;
    Application->CreateForm(&F);
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(GLog, QStringList({"CreateComponents", "created loading=1", "Loaded E_Name loading=1", "FormCreate"}));
    EXPECT_FALSE(F->E_Name->ComponentState().Contains(csLoading));
    EXPECT_FALSE(F->ComponentState().Contains(csLoading));
    EXPECT_EQ(F->Owner(), Application);
    EXPECT_EQ(F->ClientWidth(), 300);
    EXPECT_FALSE(F->Visible());
    if (Application->MainForm() == F) Application->SetMainForm(nullptr);
    delete F;
}

TEST(FormsTest, ModalFormDrivenByTheTestReturnsItsResult) {
    auto F = std::make_unique<TFDialog>(nullptr);
    F->AfterConstruction();
    TestModal().Expect([](TForm* Form) {
        auto* D = dynamic_cast<TFDialog*>(Form);
        ASSERT_NE(D, nullptr);
        EXPECT_TRUE(D->Visible());
        EXPECT_TRUE(D->Modal());
        D->E_Name->SetText("Project1");
        D->Btn_OK->Native()->click();
    });
    EXPECT_EQ(F->ShowModal(), mrOk);
    EXPECT_FALSE(F->Visible());
    EXPECT_EQ(F->E_Name->Text(), "Project1");

    // A refused OK keeps the dialog up; the driver then closes it with the close box.
    F->Valid = false;
    TestDialogs().ExpectBox(mrOk, "Error! Project not Valid");
    TestModal().Expect([](TForm* Form) {
        auto* D = static_cast<TFDialog*>(Form);
        D->Btn_OK->Click();
        EXPECT_EQ(D->ModalResult(), mrNone);
        D->close(); // the close box
    });
    EXPECT_EQ(F->ShowModal(), mrCancel);
}

TEST(FormsTest, ModalResultsHaveTheirFixedValues) {
    const std::pair<TModalResult, int> Table[] = {{mrNone, 0},  {mrOk, 1},     {mrCancel, 2},   {mrAbort, 3},
                                                  {mrRetry, 4}, {mrIgnore, 5}, {mrYes, 6},      {mrNo, 7},
                                                  {mrClose, 8}, {mrAll, 12},   {mrNoToAll, 13}, {mrYesToAll, 14}};
    for (auto [R, V] : Table) EXPECT_EQ(R, V);
}

TEST(FormsTest, EnterAndEscapeInAnEditPressTheDefaultAndCancelButtons) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    TestModal().Expect([](TForm* Form) {
        auto* D = static_cast<TFDialog*>(Form);
        D->E_Name->SetFocus();
        SendKey(D->E_Name->Native(), Qt::Key_Escape, "\x1b");
    });
    EXPECT_EQ(F.ShowModal(), mrCancel);
    TestModal().Expect([](TForm* Form) {
        auto* D = static_cast<TFDialog*>(Form);
        D->E_Name->SetFocus();
        SendKey(D->E_Name->Native(), Qt::Key_Return, "\r");
    });
    EXPECT_EQ(F.ShowModal(), mrOk);
}

TEST(FormsTest, ExceptionInAClickHandlerShowsOneErrorBoxAndTheProgramGoesOn) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    int Clicks = 0;
    F.Btn_Cancel->OnClick = [&](TObject*) {
        ++Clicks;
        throw EInOutError("Cannot create file \"/x/Tessaro.xml\"");
    };
    TestDialogs().ExpectBox(mrOk, "Cannot create file");
    F.Btn_Cancel->Native()->click();
    ASSERT_EQ(TestDialogs().Boxes().size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes()[0].Type, mtError);
    EXPECT_EQ(TestDialogs().Boxes()[0].Buttons, TMsgDlgButtons({mbOK}));
    EXPECT_EQ(TestDialogs().Boxes()[0].Text, "Cannot create file \"/x/Tessaro.xml\"");
    // Still running: the next click is handled as usual.
    F.Btn_Cancel->OnClick = [&](TObject*) { ++Clicks; };
    F.Btn_Cancel->Native()->click();
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(TestDialogs().Boxes().size(), 1u);
}

TEST(FormsTest, AbortIsSilentAndOnExceptionReplacesTheBox) {
    TButton B(nullptr);
    B.OnClick = [](TObject*) { throw EAbort("abort"); };
    B.Native()->click();
    EXPECT_TRUE(TestDialogs().Boxes().empty());
    QString Seen;
    Application->OnException = [&](TObject*, const std::exception& E) { Seen = QString::fromUtf8(E.what()); };
    B.OnClick = [](TObject*) { throw std::runtime_error("plain"); };
    B.Native()->click();
    Application->OnException = nullptr;
    EXPECT_EQ(Seen, "plain");
}

TEST(FormsTest, FixedSingleBorderFormIsCentredAndKeepsItsClientSize) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    F.SetCaption("Options");
    EXPECT_EQ(F.windowTitle(), "Options");
    EXPECT_EQ(F.minimumSize(), QSize(300, 120));
    EXPECT_EQ(F.maximumSize(), QSize(300, 120));
    EXPECT_TRUE(F.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(F.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(F.windowFlags() & Qt::WindowMinimizeButtonHint);
    F.Show();
    TRect Area = Screen->WorkAreaRect();
    QRect G = F.frameGeometry();
    EXPECT_NEAR(G.center().x(), (Area.Left + Area.Right) / 2, 2);
    EXPECT_NEAR(G.center().y(), (Area.Top + Area.Bottom) / 2, 2);
    F.Hide();
}

TEST(FormsTest, CloseRunsOnCloseAndCloseQuery) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    F.Show();
    bool Allow = false;
    QStringList Log;
    F.OnCloseQuery = [&](TObject*, bool& CanClose) {
        CanClose = Allow;
        Log << "query";
    };
    F.OnClose = [&](TObject*, TCloseAction& A) {
        Log << "close";
        EXPECT_EQ(A, caHide);
    };
    F.Close();
    EXPECT_TRUE(F.Visible());
    Allow = true;
    F.Close();
    EXPECT_FALSE(F.Visible());
    EXPECT_EQ(Log, QStringList({"query", "query", "close"}));
}

TEST(FormsTest, AModalFormAsksOnCloseQueryAndRunsOnCloseBeforeItsResultCounts) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    QStringList Log;
    bool Allow = false;
    F.OnCloseQuery = [&](TObject*, bool& CanClose) {
        CanClose = Allow;
        Log << "query";
    };
    F.OnClose = [&](TObject*, TCloseAction&) { Log << "close"; };
    // OK is refused by OnCloseQuery: the form stays up for the next action, which cancels.
    TestModal().Expect([](TForm* Form) { static_cast<TFDialog*>(Form)->Btn_OK->Click(); });
    TestModal().Expect([&](TForm* Form) {
        EXPECT_TRUE(Form->Visible()) << "still shown after the refused close";
        EXPECT_EQ(Form->ModalResult(), mrNone);
        Allow = true;
        Form->close(); // the close box
    });
    EXPECT_EQ(F.ShowModal(), mrCancel);
    EXPECT_EQ(Log, QStringList({"query", "query", "close"}));
    EXPECT_FALSE(F.Visible());
    Log.clear();
    TestModal().Expect([](TForm* Form) { Form->SetModalResult(mrOk); });
    EXPECT_EQ(F.ShowModal(), mrOk);
    EXPECT_EQ(Log, QStringList({"query", "close"}));
}

TEST(FormsTest, SnapshotOfAFormRendersItsControls) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    auto* L = Create<TLabel>(&F, &F);
    L->SetCaption("Main parameters");
    L->SetBounds(10, 40, 100, 17);
    auto* P = Create<TPanel>(&F, &F);
    P->SetBounds(220, 10, 70, 40);
    P->SetColor(clRed);
    QTemporaryDir Dir;
    QString Path = Dir.filePath("form.png");
    ASSERT_TRUE(SaveControlPng(&F, Path));
    QImage I(Path);
    ASSERT_FALSE(I.isNull());
    EXPECT_EQ(I.size(), QSize(300, 120));
    EXPECT_EQ(I.pixelColor(5, 60), QColor(248, 247, 237)) << "form background";
    EXPECT_EQ(I.pixelColor(255, 30), QColor(255, 0, 0)) << "panel face";
    bool Text = false;
    for (int X = 10; X < 110 && !Text; ++X)
        for (int Y = 40; Y < 57 && !Text; ++Y) Text = I.pixelColor(X, Y).lightness() < 128;
    EXPECT_TRUE(Text) << "the label's caption is drawn";
}

TEST(FormsTest, HintWindowIsSizedForItsText) {
    THintWindow H(nullptr);
    TRect Short = H.CalcHintRect(1000, "OK", nullptr);
    TRect Long = H.CalcHintRect(1000, "Opens the options of the configurator", nullptr);
    TRect Wrapped = H.CalcHintRect(80, "Opens the options of the configurator", nullptr);
    EXPECT_GT(Long.Width(), Short.Width());
    EXPECT_LE(Wrapped.Width(), 80 + 6);
    EXPECT_GT(Wrapped.Height(), Long.Height());
    H.ActivateHint(Bounds(100, 100, Long.Width(), Long.Height()), "Opens the options of the configurator");
    EXPECT_TRUE(H.isVisible());
    EXPECT_EQ(H.Caption(), "Opens the options of the configurator");
    H.ReleaseHandle();
    EXPECT_FALSE(H.isVisible());
}

TEST(FormsTest, AModalFormIsActiveForTheDriverSoFocusEventsRun) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    QStringList Log;
    F.E_Name->OnEnter = [&](TObject*) { Log << "enter"; };
    F.E_Name->OnExit = [&](TObject*) { Log << "exit"; };
    TestModal().Expect([](TForm* Form) {
        auto* D = static_cast<TFDialog*>(Form);
        D->E_Name->SetFocus();
        EXPECT_TRUE(D->E_Name->Focused());
        D->E_Name->SimulateKey(VK_TAB);
        EXPECT_TRUE(D->Btn_OK->Focused());
        D->SetModalResult(mrOk);
    });
    EXPECT_EQ(F.ShowModal(), mrOk);
    EXPECT_EQ(Log, QStringList({"enter", "exit"}));
}

// Each showing focuses the control the show handler (or SetActiveControl beforehand) names, else
// the first control in tab order, never the control left focused at the showing before; the
// focused field is entered afresh, so its text is selected for typing over.
TEST(FormsTest, EveryShowingFocusesTheNamedOrFirstControl) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    int Entered = 0;
    F.E_Name->OnEnter = [&](TObject*) { ++Entered; };
    TWinControl* Named = nullptr;
    F.OnShow = [&](TObject*) {
        if (Named) Named->SetFocus();
    };
    enum TWhere { wNone, wShowHandler, wBeforeShow };
    struct TCase {
        const char* Name;
        TWhere Where;
        bool ExpectEdit; // the edit, else the OK button
    };
    const TCase Cases[] = {
        {"first in tab order", wNone, true},
        {"named by the show handler", wShowHandler, false},
        {"set before showing", wBeforeShow, false},
        {"first in tab order again", wNone, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Named = C.Where == wShowHandler ? F.Btn_OK : nullptr;
        if (C.Where == wBeforeShow) F.SetActiveControl(F.Btn_OK);
        F.E_Name->SetText("Plant 1");
        const int EnteredBefore = Entered;
        TWinControl* Expected = C.ExpectEdit ? static_cast<TWinControl*>(F.E_Name) : F.Btn_OK;
        TestModal().Expect([&](TForm*) {
            EXPECT_TRUE(Expected->Focused());
            EXPECT_EQ(F.ActiveControl(), Expected);
            if (C.ExpectEdit) {
                EXPECT_EQ(Entered, EnteredBefore + 1);
                EXPECT_EQ(F.E_Name->SelLength(), 7);
            }
            // Left through Cancel, which then has the focus.
            F.Btn_Cancel->SetFocus();
            EXPECT_TRUE(F.Btn_Cancel->Focused());
            F.SetModalResult(mrCancel);
        });
        EXPECT_EQ(F.ShowModal(), mrCancel);
    }
}

// Code that holds a form as a plain control (an owner showing its children, a list of windows)
// shows it as a window: raised and active, its first control focused.
TEST(FormsTest, AFormShownThroughItsControlBaseBecomesTheActiveWindow) {
    TFDialog A(nullptr), B(nullptr);
    A.AfterConstruction();
    B.AfterConstruction();
    A.Show();
    B.Show();
    QApplication::processEvents();
    ASSERT_TRUE(B.Active());
    TControl& Base = A;
    Base.Show();
    QApplication::processEvents();
    EXPECT_TRUE(A.Active());
    EXPECT_FALSE(B.Active());
    EXPECT_TRUE(A.E_Name->Focused());
    Base.Hide();
    EXPECT_FALSE(A.Visible());
    EXPECT_FALSE(A.Showing());
    B.Hide();
}

// Minimising and restoring a window is no hiding and showing: OnHide and OnShow do not run and
// the control the user was in keeps the focus.
TEST(FormsTest, MinimisingAndRestoringKeepsTheFocusAndRunsNoShowOrHide) {
    TFDialog F(nullptr);
    F.AfterConstruction();
    int Shows = 0, Hides = 0;
    F.OnShow = [&](TObject*) { ++Shows; };
    F.OnHide = [&](TObject*) { ++Hides; };
    F.Show();
    QApplication::processEvents();
    ASSERT_EQ(Shows, 1);
    F.Btn_OK->SetFocus();
    ASSERT_TRUE(F.Btn_OK->Focused());
    F.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    F.setWindowState(Qt::WindowNoState);
    F.Show();
    QApplication::processEvents();
    EXPECT_EQ(Shows, 1);
    EXPECT_EQ(Hides, 0);
    EXPECT_EQ(F.ActiveControl(), F.Btn_OK);
    F.Hide();
    EXPECT_EQ(Hides, 1);
}
