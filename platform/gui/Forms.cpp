#include "platform/gui/Forms.h"

#include "platform/gui/Dialogs.h"
#include "platform/rtl/StateScope.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>

// ---- modal hook -------------------------------------------------------------------------------
namespace {
TModalHook& GModalHook() {
    static TModalHook Hook;
    return Hook;
}
} // namespace

void SetModalHook(TModalHook Hook) { GModalHook() = std::move(Hook); }
const TModalHook& ModalHook() { return GModalHook(); }

// ---- TForm ------------------------------------------------------------------------------------
TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    FVisible = false;
    setAttribute(Qt::WA_DeleteOnClose, false);
    ApplyWindowFlags();
    Application->FormCreated(this);
}

TForm::~TForm() {
    Destroying();
    if (OnDestroy) TControl::Guard(this, [this] { OnDestroy(this); });
    if (FModalLoop) FModalLoop->quit();
    Application->FormDestroyed(this);
}

void TForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    BeginLoading();
    CreateComponents();
    EndLoading();
    FormCreate(this);
    if (OnCreate) OnCreate(this);
}

void TForm::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    ApplyWindowFlags();
    ApplyFixedSize();
}

void TForm::SetBorderIcons(TBorderIcons Value) {
    FBorderIcons = Value;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle Value) {
    FFormStyle = Value;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
    bool WasVisible = isVisible();
    Qt::WindowFlags F = (FBorderStyle == bsDialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
    if (FBorderStyle == bsNone) {
        F |= Qt::FramelessWindowHint;
    } else {
        F |= Qt::WindowTitleHint;
        if (FBorderIcons.Contains(biSystemMenu)) F |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        bool Sizeable = FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin;
        if (FBorderIcons.Contains(biSystemMenu) && FBorderIcons.Contains(biMinimize) && FBorderStyle != bsDialog)
            F |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons.Contains(biSystemMenu) && FBorderIcons.Contains(biMaximize) && Sizeable)
            F |= Qt::WindowMaximizeButtonHint;
    }
    if (FFormStyle == fsStayOnTop) F |= Qt::WindowStaysOnTopHint;
    setWindowFlags(F);
    if (WasVisible) QWidget::setVisible(true);
}

void TForm::ApplyFixedSize() {
    bool Sizeable = FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin;
    if (Sizeable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(width(), height());
    }
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    bool Sizeable = FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin;
    if (!Sizeable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    ApplyFixedSize();
}

void TForm::PlaceOnShow() {
    if (FPlaced) return;
    FPlaced = true;
    QScreen* S = QGuiApplication::primaryScreen();
    if (!S) return;
    QRect Area = S->availableGeometry();
    QRect Frame = frameGeometry();
    QSize Outer = Frame.size().isValid() ? Frame.size() : size();
    switch (FPosition) {
        case poScreenCenter:
        case poDesktopCenter:
            move(Area.x() + (Area.width() - Outer.width()) / 2, Area.y() + (Area.height() - Outer.height()) / 2);
            break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            QWidget* Ref = Application->MainForm();
            if (FPosition == poOwnerFormCenter) Ref = dynamic_cast<TForm*>(Owner());
            if (!Ref || Ref == this || !Ref->isVisible()) Ref = nullptr;
            QRect R = Ref ? Ref->frameGeometry() : Area;
            move(R.x() + (R.width() - Outer.width()) / 2, R.y() + (R.height() - Outer.height()) / 2);
            break;
        }
        default: break;
    }
}

void TForm::Show() {
    SetVisible(true);
    raise();
    activateWindow();
}

void TForm::SetVisible(bool Value) {
    if (Value) PlaceOnShow();
    FVisible = Value;
    QWidget::setVisible(Value);
}

bool TForm::CloseQuery() {
    bool CanClose = true;
    if (OnCloseQuery) OnCloseQuery(this, CanClose);
    return CanClose;
}

void TForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TForm::Close() {
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction Action = caHide;
    DoClose(Action);
    if (Action == caNone) return;
    if (Application->MainForm() == this) {
        Hide();
        Application->Terminate();
        return;
    }
    if (Action == caHide || Action == caMinimize)
        Hide();
    else if (Action == caFree)
        Release();
}

void TForm::Release() {
    Hide();
    deleteLater();
}

void TForm::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    if (FModal && Value != mrNone && FModalLoop) FModalLoop->quit();
}

TModalResult TForm::ShowModal() {
    if (FModal) throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    if (isVisible()) throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    QPointer<TForm> Self(this);
    FModal = true;
    FModalResult = mrNone;
    Application->CancelHint();
    // A modal result ends the showing only when the form agrees to close (OnCloseQuery, OnClose).
    auto AgreesToClose = [&] {
        bool Ok = false;
        TControl::Guard(this, [&] {
            if (!CloseQuery()) return;
            TCloseAction Action = caHide;
            DoClose(Action);
            Ok = Action != caNone;
        });
        return Ok;
    };
    if (const TModalHook& Hook = ModalHook()) {
        SetVisible(true);
        // Active at once, as a modal window is: the hook's focus changes behave as they would.
        QApplication::setActiveWindow(this);
        // The hook acts as the user while the form is up; a form that refuses to close stays up
        // for the hook's next turn, as it would on screen (a bounded number of turns).
        TModalResult R = mrCancel;
        for (int Turn = 0; Turn < 8; ++Turn) {
            Hook(this);
            if (!Self) return mrCancel;
            if (FModalResult == mrNone) FModalResult = mrCancel;
            R = FModalResult;
            bool Ok = AgreesToClose();
            if (!Self) return mrCancel;
            if (Ok) break;
            FModalResult = mrNone;
        }
        FModalResult = R;
        FModal = false;
        SetVisible(false);
        return R;
    }
    setWindowModality(Qt::ApplicationModal);
    Show();
    QEventLoop Loop;
    FModalLoop = &Loop;
    for (;;) {
        if (FModalResult == mrNone) Loop.exec();
        if (!Self) return mrCancel;
        if (FModalResult != mrNone) {
            bool Ok = AgreesToClose();
            if (!Self) return mrCancel;
            if (Ok) break;
            FModalResult = mrNone;
        }
    }
    FModalLoop = nullptr;
    TModalResult R = FModalResult;
    FModal = false;
    SetVisible(false);
    setWindowModality(Qt::NonModal);
    return R;
}

void TForm::SetActiveControl(TWinControl* Control) {
    if (Control && Control->ParentForm() != this) return;
    if (!isVisible() || FShowing) FFocusOnShow = Control;
    if (isVisible() && Control && Control->CanFocus()) Control->setFocus(Qt::OtherFocusReason);
}

void TForm::SetFocusedControl(TWinControl* Control) {
    TWinControl* Old = FActiveGuard ? FActiveControl : nullptr;
    if (Old == Control) return;
    FActiveControl = Control;
    FActiveGuard = Control;
    auto Chain = [this](TWinControl* C) {
        std::vector<TWinControl*> L;
        for (TWinControl* W = C; W && W != this; W = W->Parent()) L.push_back(W);
        return L; // from the control up to (not including) the form
    };
    std::vector<TWinControl*> OldChain = Chain(Old), NewChain = Chain(Control);
    // Exits: the old control and its ancestors that are not ancestors of the new one.
    for (TWinControl* W : OldChain) {
        if (std::find(NewChain.begin(), NewChain.end(), W) != NewChain.end()) break;
        if (W->ComponentState().Contains(csDestroying)) continue;
        QPointer<QWidget> G(W);
        W->Perform(CM_EXIT);
        if (!G || FActiveControl != Control) return; // the exit moved the focus elsewhere
    }
    // Enters: from the outermost new ancestor the old chain lacks, down to the control.
    for (auto It = NewChain.rbegin(); It != NewChain.rend(); ++It) {
        if (std::find(OldChain.begin(), OldChain.end(), *It) != OldChain.end()) continue;
        QPointer<QWidget> G(*It);
        (*It)->Perform(CM_ENTER);
        if (!G || FActiveControl != Control) return;
    }
}

bool TForm::Active() const { return isActiveWindow(); }

bool TForm::DialogKey(Word Key, TShiftState Shift) {
    TWinControl* Cur = FActiveGuard ? FActiveControl : nullptr;
    switch (Key) {
        case VK_TAB:
            if (Shift.Contains(ssCtrl)) return false;
            SelectNext(Cur, !Shift.Contains(ssShift), true);
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (Cur && Cur->Parent()) {
                Cur->Parent()->SelectNext(Cur, Key == VK_RIGHT || Key == VK_DOWN, false);
                return true;
            }
            return false;
        case VK_RETURN:
        case VK_ESCAPE: {
            // The form's controls are offered the key (a default or cancel button takes it).
            std::function<bool(TWinControl*)> Offer = [&](TWinControl* P) {
                for (int I = 0; I < P->ControlCount(); ++I) {
                    TControl* C = P->Controls(I);
                    if (!C->Visible() || !C->Enabled()) continue;
                    if (C->Perform(CM_DIALOGKEY, Key, LPARAM(Shift.Bits())) != 0) return true;
                    if (auto* W = dynamic_cast<TWinControl*>(C))
                        if (Offer(W)) return true;
                }
                return false;
            };
            return Offer(this);
        }
        default: return false;
    }
}

void TForm::KeyDown(Word& Key, TShiftState Shift) { TWinControl::KeyDown(Key, Shift); }

void TForm::PaintHandler() { TWinControl::PaintHandler(); }

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TForm::closeEvent(QCloseEvent* E) {
    // The close box: the form decides (a modal form answers mrCancel).
    E->ignore();
    TControl::Guard(this, [this] { Close(); });
}

void TForm::showEvent(QShowEvent* E) {
    TWinControl::showEvent(E);
    // A window restored from the task bar is no new showing: it keeps its focus, and OnShow does
    // not run again (the window system's own show events are spontaneous).
    if (E->spontaneous()) return;
    // Every showing starts afresh: the control OnShow names gets the focus, else the first one in
    // tab order; never the one the user left at the showing before (the Cancel button, say), where
    // typed text would be lost and Enter would press it.
    FActiveControl = nullptr;
    FActiveGuard = nullptr;
    QPointer<TForm> Self(this);
    FShowing = true;
    TControl::Guard(this, [this] { DoShow(); });
    if (!Self) return;
    FShowing = false;
    TWinControl* Target = FFocusOnShow;
    FFocusOnShow = nullptr;
    if (!Target || !Target->CanFocus()) {
        Target = nullptr;
        std::vector<TWinControl*> List;
        GetTabOrderList(List);
        for (TWinControl* W : List) {
            if (W->CanFocus() && W->TabStop()) {
                Target = W;
                break;
            }
        }
    }
    if (Target) Target->setFocus(Qt::OtherFocusReason);
}

void TForm::hideEvent(QHideEvent* E) {
    TWinControl::hideEvent(E);
    if (E->spontaneous()) return; // minimised: still shown as far as the program is concerned
    if (!ComponentState().Contains(csDestroying)) TControl::Guard(this, [this] { DoHide(); });
}

void TForm::changeEvent(QEvent* E) {
    TWinControl::changeEvent(E);
    if (E->type() == QEvent::ActivationChange && !ComponentState().Contains(csDestroying)) {
        TControl::Guard(this, [this] {
            if (isActiveWindow()) {
                if (OnActivate) OnActivate(this);
            } else if (OnDeactivate) {
                OnDeactivate(this);
            }
        });
    }
}

void TForm::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_CLOSE: Close(); return;
        case CM_DIALOGKEY:
            M.Result = DialogKey(Word(M.WParam), TShiftState::FromBits(uint32_t(M.LParam))) ? 1 : 0;
            return;
        case CM_DIALOGCHAR: {
            // Offered to every control until one takes it (a caption with that accelerator).
            std::function<bool(TWinControl*)> Offer = [&](TWinControl* P) {
                for (int I = 0; I < P->ControlCount(); ++I) {
                    TControl* C = P->Controls(I);
                    if (!C->Visible() || !C->Enabled()) continue;
                    if (C->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0) return true;
                    if (auto* W = dynamic_cast<TWinControl*>(C))
                        if (Offer(W)) return true;
                }
                return false;
            };
            M.Result = Offer(this) ? 1 : 0;
            return;
        }
        default: break;
    }
    TWinControl::WndProc(M);
}

// ---- TApplication -----------------------------------------------------------------------------
TApplication* Application = new TApplication(nullptr);

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() = default;

void TApplication::Initialize(int& argc, char** argv) {
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
}

void TApplication::Initialize() {
    static int Argc = 1;
    static char Name[] = "TessaroFirmWare";
    static char* Argv[] = {Name, nullptr};
    Initialize(Argc, Argv);
}

void TApplication::FormCreated(TForm* F) { FForms.push_back(F); }

void TApplication::FormDestroyed(TForm* F) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), F), FForms.end());
    if (FMainForm == F) FMainForm = nullptr;
}

void TApplication::Run() {
    if (FTerminated) return;
    FRunning = true;
    // The program ends when its main form closes (or on Terminate), not when windows hide.
    QApplication::setQuitOnLastWindowClosed(false);
    if (FMainForm) FMainForm->Show();
    if (!FTerminated) QApplication::exec();
    FRunning = false;
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::Terminate() {
    FTerminated = true;
    if (QCoreApplication::instance()) QCoreApplication::quit();
}

void TApplication::HandleException(TObject* Sender, const std::exception& E) {
    if (dynamic_cast<const EAbort*>(&E)) return;
    if (OnException) {
        // The handler itself must not let anything through to Qt either.
        try {
            OnException(Sender, E);
        } catch (...) {}
        return;
    }
    // A failure while the box itself is up is not shown again in a nested box.
    if (FInHandleException) return;
    const TStateScope<bool> Handling(FInHandleException, true);
    try {
        ShowException(E);
    } catch (...) {}
}

void TApplication::HandleException(TObject* Sender) {
    try {
        throw;
    } catch (const std::exception& E) {
        HandleException(Sender, E);
    } catch (...) {
        HandleException(Sender, Exception(QStringLiteral("Unknown exception")));
    }
}

void TApplication::ShowException(const std::exception& E) {
    QString Text;
    if (auto* X = dynamic_cast<const Exception*>(&E))
        Text = X->Message();
    else
        Text = QString::fromUtf8(E.what());
    TMessageBoxRequest R;
    R.Type = mtError;
    R.Caption = Title();
    R.Text = Text;
    R.Buttons = {mbOK};
    DialogService().MessageBox(R);
}

int TApplication::MessageBox(const QString& Text, const QString& Caption, unsigned Flags) {
    TMessageBoxRequest R;
    R.Text = Text;
    R.Caption = Caption.isEmpty() ? Title() : Caption;
    switch (Flags & 0xF0) {
        case MB_ICONERROR: R.Type = mtError; break;
        case MB_ICONQUESTION: R.Type = mtConfirmation; break;
        case MB_ICONWARNING: R.Type = mtWarning; break;
        case MB_ICONINFORMATION: R.Type = mtInformation; break;
        default: R.Type = mtCustom; break;
    }
    switch (Flags & 0x0F) {
        case MB_OKCANCEL: R.Buttons = {mbOK, mbCancel}; break;
        case MB_ABORTRETRYIGNORE: R.Buttons = {mbAbort, mbRetry, mbIgnore}; break;
        case MB_YESNOCANCEL: R.Buttons = {mbYes, mbNo, mbCancel}; break;
        case MB_YESNO: R.Buttons = {mbYes, mbNo}; break;
        case MB_RETRYCANCEL: R.Buttons = {mbRetry, mbCancel}; break;
        default: R.Buttons = {mbOK}; break;
    }
    // The ID* answers have the same numbers as the modal results.
    return DialogService().MessageBox(R);
}

QString TApplication::Title() const {
    if (!FTitle.isEmpty()) return FTitle;
    return QFileInfo(ExeName()).completeBaseName();
}

void TApplication::SetTitle(const QString& Value) {
    FTitle = Value;
    if (QCoreApplication::instance()) QCoreApplication::setApplicationName(Value);
}

QString TApplication::ExeName() const {
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

void TApplication::CancelHint() {
    if (FHintWindow) FHintWindow->ReleaseHandle();
}

void TApplication::ActivateHint(TControl* Control, const TPoint& CursorPos) {
    if (!Control) return;
    THintInfo Info;
    Info.HintControl = Control;
    Info.CursorPos = CursorPos;
    Info.CursorRect = Control->ClientRect();
    TPoint Screen0 = Control->ClientToScreen(CursorPos);
    Info.HintPos = {Screen0.X, Screen0.Y + 20};
    Info.HintMaxWidth = Screen->Width() > 0 ? Screen->Width() : 1024;
    Info.HintColor = FHintColor;
    Info.HideTimeout = FHintHidePause;
    Info.HintStr = Control->EffectiveShowHint() ? GetShortHint(Control->Hint()) : QString();
    Info.HintWindowClass = HintWindowClass;
    if (Control->Perform(CM_HINTSHOW, 0, LPARAM(&Info)) != 0 || Info.HintStr.isEmpty()) {
        CancelHint();
        return;
    }
    delete FHintWindow;
    FHintWindow = Info.HintWindowClass ? Info.HintWindowClass(this) : new THintWindow(this);
    FHintWindow->SetColor(Info.HintColor);
    TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
    OffsetRect(R, Info.HintPos.X, Info.HintPos.Y);
    FHintWindow->ActivateHintData(R, Info.HintStr, Info.HintData);
    if (Info.HideTimeout > 0) {
        QPointer<QWidget> W(FHintWindow);
        QTimer::singleShot(Info.HideTimeout, W, [W] {
            if (W) W->hide();
        });
    }
}

// ---- THintWindow ------------------------------------------------------------------------------
THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    FVisible = false;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const QString& AHint, void* AData) {
    (void)AData;
    TRect R = Rect(0, 0, MaxWidth, 0);
    Canvas()->Font()->Assign(Font());
    Canvas()->DrawText(AHint, R, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    R.Right += 6;
    R.Bottom += 2;
    return R;
}

void THintWindow::ActivateHint(TRect R, const QString& AHint) {
    SetCaption(AHint);
    TRect Area = Screen->WorkAreaRect();
    if (!Area.IsEmpty()) {
        if (R.Right > Area.Right) OffsetRect(R, Area.Right - R.Right, 0);
        if (R.Left < Area.Left) OffsetRect(R, Area.Left - R.Left, 0);
        if (R.Bottom > Area.Bottom) OffsetRect(R, 0, Area.Bottom - R.Bottom);
        if (R.Top < Area.Top) OffsetRect(R, 0, Area.Top - R.Top);
    }
    setGeometry(R.Left, R.Top, R.Width(), R.Height());
    FVisible = true;
    QWidget::setVisible(true);
    raise();
    update();
}

void THintWindow::ActivateHintData(TRect R, const QString& AHint, void* AData) {
    (void)AData;
    ActivateHint(R, AHint);
}

void THintWindow::ReleaseHandle() {
    FVisible = false;
    QWidget::setVisible(false);
}

void THintWindow::WndProc(TMessage& Message) { TCustomControl::WndProc(Message); }

void THintWindow::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(R);
    InflateRect(R, -2, -1);
    C->Font()->Assign(Font());
    C->DrawText(Caption(), R, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
