#include "platform/gui/Controls.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStringList>

#include <gtest/gtest.h>

namespace {
class TTracked : public TComponent {
public:
    TTracked(TComponent* AOwner, int* Deleted) : TComponent(AOwner), FDeleted(Deleted) {}
    ~TTracked() override { ++*FDeleted; }

private:
    int* FDeleted;
};

class TTrackedControl : public TCustomControl {
public:
    TTrackedControl(TComponent* AOwner, int* Deleted) : TCustomControl(AOwner), FDeleted(Deleted) {}
    ~TTrackedControl() override { ++*FDeleted; }

private:
    int* FDeleted;
};

QString KeyName(Word Key) {
    switch (Key) {
        case VK_TAB: return "Tab";
        case VK_RETURN: return "Enter";
        case VK_ESCAPE: return "Escape";
        case VK_LEFT: return "Left";
        case VK_RIGHT: return "Right";
        case VK_UP: return "Up";
        case VK_DOWN: return "Down";
        default: return QString::number(Key);
    }
}

// A grid-like control: it says which keys it wants and logs what reaches it.
class TKeyControl : public TCustomControl {
public:
    TKeyControl(TComponent* AOwner, LRESULT Wants) : TCustomControl(AOwner), FWants(Wants) { SetTabStop(true); }
    QStringList Log;

protected:
    LRESULT DialogCode() const override { return FWants; }
    void KeyDown(Word& Key, TShiftState Shift) override {
        Log << KeyName(Key) + (Shift.Contains(ssShift) ? "+Shift" : "");
        TCustomControl::KeyDown(Key, Shift);
    }
    void KeyPress(QChar& Key) override {
        Log << QStringLiteral("char %1").arg(Key.unicode());
        TCustomControl::KeyPress(Key);
    }

private:
    LRESULT FWants;
};

void SendKey(QWidget* To, int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = QString()) {
    QKeyEvent Press(QEvent::KeyPress, QtKey, Mods, Text);
    QApplication::sendEvent(To, &Press);
    QKeyEvent Release(QEvent::KeyRelease, QtKey, Mods, Text);
    QApplication::sendEvent(To, &Release);
}

// A form with a control under test, an edit after it, and default and cancel buttons.
struct TKeyFixture {
    TForm Form{nullptr};
    TKeyControl* Grid;
    TEdit* Next;
    TButton* Ok;
    TButton* Cancel;
    QStringList Clicks;
    explicit TKeyFixture(LRESULT Wants) {
        Form.SetBounds(0, 0, 320, 200);
        Grid = Create<TKeyControl>(&Form, &Form, Wants);
        Grid->SetBounds(8, 8, 200, 100);
        Next = Create<TEdit>(&Form, &Form);
        Next->SetTop(120);
        Ok = Create<TButton>(&Form, &Form);
        Ok->SetDefault(true);
        Ok->SetBounds(220, 8, 75, 25);
        Ok->OnClick = [this](TObject*) { Clicks << "ok"; };
        Cancel = Create<TButton>(&Form, &Form);
        Cancel->SetCancel(true);
        Cancel->SetBounds(220, 40, 75, 25);
        Cancel->OnClick = [this](TObject*) { Clicks << "cancel"; };
        Form.Show();
        Grid->SetFocus();
        QApplication::processEvents();
    }
};
} // namespace

TEST(ControlsTest, OwnerDeletesItsNonVisualComponentsAndParentsDeleteControls) {
    int Deleted = 0;
    auto* Owner = new TForm(nullptr);
    new TTracked(Owner, &Deleted);
    auto* Gone = new TTracked(Owner, &Deleted);
    auto* Child = Create<TTrackedControl>(Owner, Owner, &Deleted);
    auto* Inner = Create<TTrackedControl>(Owner, Child, &Deleted); // owned by the form, parent the control
    (void)Inner;
    EXPECT_EQ(Owner->ComponentCount(), 4);
    delete Gone; // leaves its owner's list
    EXPECT_EQ(Deleted, 1);
    EXPECT_EQ(Owner->ComponentCount(), 3);
    EXPECT_EQ(Owner->Components(1), Child);
    EXPECT_THROW(Owner->Components(3), EListError);
    delete Owner;
    EXPECT_EQ(Deleted, 4) << "every component is deleted exactly once";
}

TEST(ControlsTest, FindComponentIgnoresCase) {
    TForm F(nullptr);
    auto* E = Create<TEdit>(&F, &F);
    E->SetName("E_New_Proj");
    EXPECT_EQ(F.FindComponent("e_new_proj"), E);
    EXPECT_EQ(F.FindComponent("missing"), nullptr);
}

TEST(ControlsTest, TabEnterEscapeAndArrowsReachAControlThatWantsThem) {
    TKeyFixture T(DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
    ASSERT_TRUE(T.Grid->Focused());
    SendKey(T.Grid, Qt::Key_Tab, Qt::NoModifier, "\t");
    SendKey(T.Grid, Qt::Key_Backtab, Qt::ShiftModifier);
    SendKey(T.Grid, Qt::Key_Return, Qt::NoModifier, "\r");
    SendKey(T.Grid, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    SendKey(T.Grid, Qt::Key_Left);
    SendKey(T.Grid, Qt::Key_Right);
    SendKey(T.Grid, Qt::Key_Up);
    SendKey(T.Grid, Qt::Key_Down);
    EXPECT_EQ(T.Grid->Log,
              QStringList({"Tab", "char 9", "Tab+Shift", "Enter", "char 13", "Escape", "char 27", "Left", "Right", "Up",
                           "Down"}));
    EXPECT_TRUE(T.Grid->Focused()) << "Tab stayed with the control";
    EXPECT_TRUE(T.Clicks.isEmpty()) << "Enter and Escape did not press the form's buttons";
}

TEST(ControlsTest, KeysAControlDoesNotWantGoToTheForm) {
    TKeyFixture T(DLGC_WANTCHARS);
    SendKey(T.Grid, Qt::Key_Return, Qt::NoModifier, "\r");
    SendKey(T.Grid, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(T.Clicks, QStringList({"ok", "cancel"}));
    SendKey(T.Grid, Qt::Key_Tab, Qt::NoModifier, "\t");
    EXPECT_TRUE(T.Next->Focused()) << "Tab moved the focus on";
    EXPECT_TRUE(T.Grid->Log.isEmpty()) << T.Grid->Log.join(",").toStdString();
}

TEST(ControlsTest, SyntheticKeysTakeTheSamePathAsTheKeyboard) {
    TKeyFixture T(DLGC_WANTARROWS);
    T.Grid->SimulateKey(VK_DOWN);
    T.Grid->SimulateKey('A', {ssShift});
    T.Grid->SimulateKey(VK_RETURN); // not wanted: the default button
    EXPECT_EQ(T.Grid->Log, QStringList({"Down", "65+Shift", "char 65"}));
    EXPECT_EQ(T.Clicks, QStringList({"ok"}));
}

TEST(ControlsTest, FocusToOwnChildEditorIsNotAnExit) {
    TForm F(nullptr);
    F.SetBounds(0, 0, 300, 200);
    QStringList Log;
    auto* Grid = Create<TKeyControl>(&F, &F, DLGC_WANTARROWS);
    Grid->SetBounds(0, 0, 200, 100);
    Grid->SetName("Grid");
    auto* Editor = Create<TEdit>(&F, Grid);
    Editor->SetName("Editor");
    auto* Other = Create<TEdit>(&F, &F);
    Other->SetTop(150);
    for (TControl* C : std::initializer_list<TControl*>{Grid, Editor}) {
        C->OnEnter = [&Log](TObject* S) { Log << "enter " + static_cast<TControl*>(S)->Name(); };
        C->OnExit = [&Log](TObject* S) { Log << "exit " + static_cast<TControl*>(S)->Name(); };
    }
    F.Show();
    Grid->SetFocus();
    QApplication::processEvents();
    Editor->SetFocus();
    Other->SetFocus();
    EXPECT_EQ(Log, QStringList({"enter Grid", "enter Editor", "exit Editor", "exit Grid"}));
}

TEST(ControlsTest, KillFocusNamesTheControlThatGetsTheFocus) {
    TForm F(nullptr);
    F.SetBounds(0, 0, 300, 200);
    struct TGrid : TCustomControl {
        using TCustomControl::TCustomControl;
        TControl* LostTo = reinterpret_cast<TControl*>(1);
        void WndProc(TMessage& M) override {
            if (M.Msg == WM_KILLFOCUS) LostTo = reinterpret_cast<TControl*>(M.WParam);
            TCustomControl::WndProc(M);
        }
    };
    auto* Grid = Create<TGrid>(&F, &F);
    Grid->SetBounds(0, 0, 200, 100);
    auto* Editor = Create<TEdit>(&F, Grid);
    F.Show();
    Grid->SetFocus();
    QApplication::processEvents();
    Editor->SetFocus();
    EXPECT_EQ(Grid->LostTo, Editor);
}

TEST(ControlsTest, PerControlTimerDeliversWmTimerUntilKilled) {
    struct TTicker : TCustomControl {
        using TCustomControl::TCustomControl;
        std::vector<int> Ticks;
        void TimerTick(int ID) override {
            Ticks.push_back(ID);
            if (Ticks.size() == 2) KillTimer(ID);
        }
    };
    TTicker C(nullptr);
    C.SetTimer(111, 0); // zero interval: fires on every pass of the event loop
    EXPECT_TRUE(C.TimerActive(111));
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
    EXPECT_EQ(C.Ticks, std::vector<int>({111, 111}));
    EXPECT_FALSE(C.TimerActive(111));
    EXPECT_FALSE(C.KillTimer(111));
}

TEST(ControlsTest, TimerComponentRunsWhenEnabledAndItsTicksAreGuarded) {
    TTimer T(nullptr);
    T.SetEnabled(false);
    T.SetInterval(60000);
    int Ticks = 0;
    T.OnTimer = [&](TObject*) {
        ++Ticks;
        T.SetEnabled(false);
        throw Exception("tick failed");
    };
    EXPECT_FALSE(T.Running());
    T.SetEnabled(true);
    EXPECT_TRUE(T.Running());
    T.SetEnabled(true); // already enabled: keeps running as it was
    EXPECT_TRUE(T.Running());
    TestDialogs().ExpectBox(mrOk, "tick failed");
    T.Tick();
    EXPECT_EQ(Ticks, 1);
    EXPECT_FALSE(T.Running());
    T.SetEnabled(true);
    T.SetInterval(0); // no interval: stopped, as when disabled
    EXPECT_FALSE(T.Running());
}

TEST(ControlsTest, MouseMessagesMakeAClickOnlyWhenReleasedInside) {
    TKeyControl C(nullptr, 0);
    C.SetBounds(0, 0, 50, 20);
    QStringList Log;
    C.OnClick = [&](TObject*) { Log << "click"; };
    C.OnMouseDown = [&](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
        Log << QStringLiteral("down %1 %2 %3,%4").arg(int(B)).arg(S.Contains(ssShift)).arg(X).arg(Y);
    };
    C.OnDblClick = [&](TObject*) { Log << "dbl"; };
    C.Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MakeLParam(5, 6));
    C.Perform(WM_LBUTTONUP, MK_SHIFT, MakeLParam(7, 8));
    C.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 6));
    C.Perform(WM_LBUTTONUP, 0, MakeLParam(70, 8)); // released outside
    C.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(1, 1));
    EXPECT_EQ(Log, QStringList({"down 0 1 5,6", "click", "down 0 0 5,6", "dbl", "down 0 0 1,1"}));
}

TEST(ControlsTest, AlignedChildrenShareTheClientArea) {
    TPanel P(nullptr);
    P.SetBevelOuter(bvNone);
    P.SetBounds(0, 0, 200, 100);
    auto* Top = Create<TPanel>(nullptr, &P);
    Top->SetHeight(20);
    Top->SetAlign(alTop);
    auto* Bottom = Create<TPanel>(nullptr, &P);
    Bottom->SetHeight(30);
    Bottom->SetAlign(alBottom);
    auto* Client = Create<TPanel>(nullptr, &P);
    Client->SetAlign(alClient);
    EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(Bottom->BoundsRect(), Rect(0, 70, 200, 100));
    EXPECT_EQ(Client->BoundsRect(), Rect(0, 20, 200, 70));
    P.SetBounds(0, 0, 300, 150);
    EXPECT_EQ(Client->BoundsRect(), Rect(0, 20, 300, 120));
    Top->Hide();
    EXPECT_EQ(Client->BoundsRect(), Rect(0, 0, 300, 120));
}

TEST(ControlsTest, ChildrenTakeTheParentFontUntilGivenTheirOwn) {
    TForm F(nullptr);
    F.Font()->SetName("Verdana");
    F.Font()->SetHeight(-11);
    auto* L = Create<TLabel>(&F, &F);
    EXPECT_EQ(L->Font()->Name(), "Verdana");
    F.Font()->SetHeight(-14);
    EXPECT_EQ(L->Font()->Height(), -14);
    L->Font()->SetHeight(-32);
    EXPECT_FALSE(L->ParentFont());
    F.Font()->SetHeight(-9);
    EXPECT_EQ(L->Font()->Height(), -32);
}

TEST(ControlsTest, AcceleratorsPressTheButtonOfTheirCaption) {
    const struct {
        const char* Caption;
        QChar Key;
    } Table[] = {
        {"&OK", 'O'}, {"Save && &close", 'C'}, {"&&Plain", QChar()}, {"No accelerator", QChar()}, {"End&", QChar()},
    };
    for (const auto& T : Table) EXPECT_EQ(GetHotKey(T.Caption), T.Key) << T.Caption;

    TForm F(nullptr);
    F.SetBounds(0, 0, 300, 200);
    auto* E = Create<TEdit>(&F, &F);
    auto* B = Create<TButton>(&F, &F);
    B->SetTop(50);
    B->SetCaption("&Open");
    int Clicks = 0;
    B->OnClick = [&](TObject*) { ++Clicks; };
    F.Show();
    E->SetFocus();
    E->SimulateKey('O', {ssAlt});
    EXPECT_EQ(Clicks, 1);
    E->SimulateKey('O'); // the edit takes characters: typed, no click
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(E->Text(), "o");
    auto* K = Create<TKeyControl>(&F, &F, LRESULT(0)); // takes no characters
    K->SetTop(100);
    K->SetFocus();
    K->SimulateKey('O');
    EXPECT_EQ(Clicks, 2);
}

TEST(ControlsTest, KeyPreviewLetsTheFormSeeKeysFirst) {
    TForm F(nullptr);
    auto* E = Create<TEdit>(&F, &F);
    QStringList Log;
    F.OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        Log << "form " + KeyName(Key);
        if (Key == VK_F2) Key = 0;
    };
    E->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { Log << "edit " + KeyName(Key); };
    E->SimulateKey(VK_F2);
    EXPECT_EQ(Log, QStringList({"edit 113"}));
    Log.clear();
    F.SetKeyPreview(true);
    E->SimulateKey(VK_F2);
    E->SimulateKey(VK_F3);
    EXPECT_EQ(Log, QStringList({"form 113", "form 114", "edit 114"}));
}

TEST(ControlsTest, HintShowLetsTheControlChangeTheHintText) {
    struct TCellHints : TCustomControl {
        using TCustomControl::TCustomControl;
        void WndProc(TMessage& M) override {
            if (M.Msg == CM_HINTSHOW) {
                auto* Info = reinterpret_cast<THintInfo*>(M.LParam);
                if (Info->CursorPos.X > 50)
                    Info->HintStr = QStringLiteral("cell %1").arg(Info->CursorPos.X / 50);
                else
                    M.Result = 1; // no hint here
                return;
            }
            TCustomControl::WndProc(M);
        }
    };
    TCellHints C(nullptr);
    C.SetBounds(0, 0, 200, 50);
    C.SetHint("grid|the long text");
    C.SetShowHint(true);
    EXPECT_EQ(GetShortHint(C.Hint()), "grid");
    EXPECT_EQ(GetLongHint(C.Hint()), "the long text");
    int Made = 0;
    THintWindow* Last = nullptr;
    Application->HintWindowClass = [&](TComponent* Owner) {
        ++Made;
        Last = new THintWindow(Owner);
        return Last;
    };
    Application->ActivateHint(&C, {10, 10});
    EXPECT_EQ(Made, 0);
    Application->ActivateHint(&C, {120, 10});
    ASSERT_EQ(Made, 1);
    EXPECT_EQ(Last->Caption(), "cell 2");
    EXPECT_TRUE(Last->isVisible());
    Application->CancelHint();
    EXPECT_FALSE(Last->isVisible());
    Application->HintWindowClass = nullptr;
}

TEST(ControlsTest, HintShowMayChooseTheHintWindowAndHandItData) {
    // A hint window that draws its own kind of text, chosen by the control for some hints only.
    struct TOwnHintWindow : THintWindow {
        using THintWindow::THintWindow;
        void* Data = nullptr;
        void ActivateHintData(TRect R, const QString& AHint, void* AData) override {
            Data = AData;
            THintWindow::ActivateHintData(R, AHint, AData);
        }
    };
    static int Marker = 0;
    struct TRichHints : TCustomControl {
        using TCustomControl::TCustomControl;
        TOwnHintWindow* Made = nullptr;
        void WndProc(TMessage& M) override {
            if (M.Msg == CM_HINTSHOW) {
                auto* Info = reinterpret_cast<THintInfo*>(M.LParam);
                Info->HintStr = Info->CursorPos.X > 50 ? "<b>rich</b>" : "plain";
                if (Info->CursorPos.X > 50) {
                    Info->HintData = &Marker;
                    Info->HintWindowClass = [this](TComponent* Owner) { return Made = new TOwnHintWindow(Owner); };
                }
                return;
            }
            TCustomControl::WndProc(M);
        }
    };
    TRichHints C(nullptr);
    C.SetBounds(0, 0, 200, 50);
    C.SetShowHint(true);
    Application->ActivateHint(&C, {120, 10});
    ASSERT_NE(C.Made, nullptr);
    EXPECT_EQ(C.Made->Data, &Marker);
    EXPECT_EQ(C.Made->Caption(), "<b>rich</b>");
    C.Made = nullptr;
    Application->ActivateHint(&C, {10, 10});
    EXPECT_EQ(C.Made, nullptr) << "the other hints keep the application's window";
    Application->CancelHint();
}

TEST(ControlsTest, AnchoredChildrenFollowTheParentsRightAndBottomEdges) {
    TPanel P(nullptr);
    P.SetBounds(0, 0, 460, 40);
    auto* Ok = Create<TButton>(nullptr, &P);
    Ok->SetBounds(219, 6, 110, 28);
    Ok->SetAnchors({akTop, akRight});
    auto* Stretch = Create<TEdit>(nullptr, &P);
    Stretch->SetBounds(10, 6, 100, 21);
    Stretch->SetAnchors({akLeft, akTop, akRight, akBottom});
    auto* Fixed = Create<TEdit>(nullptr, &P);
    Fixed->SetBounds(10, 30, 50, 5);
    P.SetBounds(0, 0, 500, 60);
    EXPECT_EQ(Ok->BoundsRect(), Bounds(259, 6, 110, 28));
    EXPECT_EQ(Stretch->BoundsRect(), Bounds(10, 6, 140, 41));
    EXPECT_EQ(Fixed->BoundsRect(), Bounds(10, 30, 50, 5));
}

TEST(ControlsTest, AWheelAChildDoesNotUseReachesTheForm) {
    TForm F(nullptr);
    F.SetBounds(0, 0, 300, 200);
    auto* E = Create<TEdit>(&F, &F);
    auto* K = Create<TKeyControl>(&F, &F, LRESULT(0));
    K->SetTop(50);
    QStringList Log;
    F.OnMouseWheel = [&](TObject* S, TShiftState, int Delta, TPoint, bool& Handled) {
        Log << QStringLiteral("form %1 from %2").arg(Delta).arg(S == &F);
        Handled = true;
    };
    K->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
        Log << "control down";
        Handled = true;
    };
    E->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), MakeLParam(5, 5));
    K->Perform(WM_MOUSEWHEEL, MakeWParam(0, 120), MakeLParam(5, 5));
    K->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), MakeLParam(5, 5));
    EXPECT_EQ(Log, QStringList({"form -120 from 1", "form 120 from 1", "control down"}));
}

TEST(ControlsTest, ResizeFiresOncePerNewSize) {
    TKeyControl C(nullptr, 0);
    int Resized = 0;
    C.OnResize = [&](TObject*) { ++Resized; };
    C.SetBounds(0, 0, 100, 50);
    C.SetBounds(10, 10, 100, 50); // moved only
    C.show();
    QApplication::processEvents();
    C.SetWidth(120);
    C.hide();
    EXPECT_EQ(Resized, 2);
}

TEST(ControlsTest, AControlForgetsItsPopupMenuWhenTheMenuIsDestroyed) {
    TForm F(nullptr);
    auto* Menu = new TPopupMenu(&F);
    auto* E = Create<TEdit>(&F, &F);
    E->SetPopupMenu(Menu);
    EXPECT_EQ(E->PopupMenu(), Menu);
    delete Menu;
    EXPECT_EQ(E->PopupMenu(), nullptr);
    E->Perform(WM_RBUTTONUP, 0, MakeLParam(1, 1)); // no menu to show, nothing happens
}

TEST(ControlsTest, TheControlUnderAScreenPointIsFound) {
    TForm F(nullptr);
    F.SetBounds(40, 30, 300, 200);
    auto* P = Create<TPanel>(&F, &F);
    P->SetBounds(10, 10, 200, 120);
    auto* L = Create<TLabel>(&F, P);
    L->SetAutoSize(false);
    L->SetBounds(20, 20, 80, 20);
    auto* E = Create<TEdit>(&F, P);
    E->SetBounds(20, 60, 100, 21);
    F.Show();
    QApplication::processEvents();
    auto At = [](TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); };
    EXPECT_EQ(FindDragTarget(At(L, 5, 5), false), L);
    EXPECT_EQ(FindVCLWindow(At(L, 5, 5)), P) << "a label is no window: the panel under it answers";
    EXPECT_EQ(FindDragTarget(At(E, 5, 5), false), E) << "the edit's inner Qt widget belongs to the edit";
    EXPECT_EQ(FindVCLWindow(At(E, 5, 5)), E);
    EXPECT_EQ(FindDragTarget(At(P, 150, 100), false), P);
    EXPECT_EQ(FindVCLWindow(At(&F, 280, 180)), &F);
    L->SetEnabled(false);
    EXPECT_EQ(FindDragTarget(At(L, 5, 5), false), P);
    EXPECT_EQ(FindDragTarget(At(L, 5, 5), true), L);
    EXPECT_EQ(FindVCLWindow(At(&F, 1000, 1000)), nullptr);
}
