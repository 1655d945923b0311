#pragma once
// Forms (top-level windows with two-phase creation and modal showing) and the application.
#include "platform/gui/Controls.h"

#include <QString>

#include <exception>
#include <functional>
#include <vector>

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;
constexpr TModalResult mrTryAgain = 10;
constexpr TModalResult mrContinue = 11;
constexpr TModalResult mrAll = 12;
constexpr TModalResult mrNoToAll = 13;
constexpr TModalResult mrYesToAll = 14;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // Two-phase creation: CreateComponents (with csLoading set on the form and on everything it
    // creates), Loaded() on each component, then FormCreate / OnCreate. CreateForm and Create<T>
    // of a form run it from AfterConstruction.
    void AfterConstruction() override;
    virtual void CreateComponents() {}
    virtual void FormCreate(TObject* Sender) { (void)Sender; }
    TNotifyEvent OnCreate;

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;

    // The window: Caption is its title. Showing raises and activates it (also when shown already).
    void Show() override;
    void Close();
    void Release(); // deleted from the event loop once the current handler has returned
    TModalResult ShowModal();
    bool Modal() const { return FModal; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    virtual bool CloseQuery();

    TWinControl* ActiveControl() const { return FActiveControl; }
    // Gives Control the focus; set while the form is hidden or from its OnShow, it is the control
    // the showing focuses.
    void SetActiveControl(TWinControl* Control);
    // Called when Control got the focus: CM_EXIT / DoExit up from the old active control to
    // the common ancestor, then CM_ENTER / DoEnter down to Control.
    void SetFocusedControl(TWinControl* Control);
    bool Active() const;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;

    void WndProc(TMessage& Message) override;

protected:
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    void KeyDown(Word& Key, TShiftState Shift) override;
    void PaintHandler() override;
    void TextChanged() override { setWindowTitle(Caption()); }
    void closeEvent(QCloseEvent* E) override;
    void showEvent(QShowEvent* E) override;
    void hideEvent(QHideEvent* E) override;
    void changeEvent(QEvent* E) override;

private:
    void ApplyWindowFlags();
    void ApplyFixedSize();
    void PlaceOnShow();
    // Enter and Escape offered to the form's buttons; arrows and Tab move the focus.
    bool DialogKey(Word Key, TShiftState Shift);

    friend class TControl;
    TBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = {biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    bool FKeyPreview = false;
    bool FScaled = true;
    bool FModal = false;
    bool FPlaced = false;
    bool FClosingFromClose = false;
    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
    QPointer<QWidget> FActiveGuard;
    // The control the current or next showing focuses (named by OnShow or SetActiveControl).
    QPointer<TWinControl> FFocusOnShow;
    bool FShowing = false;
    class QEventLoop* FModalLoop = nullptr;
};

// A test (or a host that shows no windows) can take over ShowModal: the hook gets the form once
// it is shown as modal, acts on it and sets its ModalResult; ShowModal then returns it. A hook
// that leaves mrNone makes ShowModal return mrCancel. Null restores real modal showing.
using TModalHook = std::function<void(TForm* Form)>;
void SetModalHook(TModalHook Hook);
const TModalHook& ModalHook();

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class THintWindow;
using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Creates the Qt application when there is none (a test main makes its own).
    void Initialize(int& argc, char** argv);
    void Initialize();

    // Builds the form (two-phase creation) and stores it in *Reference before FormCreate runs,
    // so the creation handler can already be reached through the reference. The first form
    // created is the main form.
    template <class T>
    void CreateForm(T** Reference) {
        T* F = new T(this);
        if (Reference) *Reference = F;
        if (!FMainForm) FMainForm = F;
        F->AfterConstruction();
    }
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Form) { FMainForm = Form; }
    // Every top window of this platform has its own task-bar entry; the setting is kept only.
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool Value) { FMainFormOnTaskBar = Value; }

    // Shows the main form and runs the event loop until the main form closes or Terminate.
    void Run();
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // The default handler of exceptions that reach a dispatch point: OnException when set,
    // else ShowException. EAbort is silent.
    void HandleException(TObject* Sender, const std::exception& E);
    void HandleException(TObject* Sender); // the exception being handled now (in a catch)
    void ShowException(const std::exception& E); // an error box with the exception's text
    TExceptionEvent OnException;

    // A message box through the dialog service (Dialogs.h); Flags as MB_*; returns ID*.
    int MessageBox(const QString& Text, const QString& Caption, unsigned Flags);

    QString Title() const;
    void SetTitle(const QString& Value);
    QString ExeName() const;

    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    void CancelHint();
    // The class of hint window the hint machinery makes (THintWindow by default).
    THintWindowClass HintWindowClass;
    // Shows a hint for Control at the mouse (the tool-tip path calls it).
    void ActivateHint(TControl* Control, const TPoint& CursorPos);

    // Forms that exist, in creation order.
    const std::vector<TForm*>& Forms() const { return FForms; }

private:
    friend class TForm;
    void FormCreated(TForm* F);
    void FormDestroyed(TForm* F);
    TForm* FMainForm = nullptr;
    bool FMainFormOnTaskBar = false;
    bool FTerminated = false;
    bool FRunning = false;
    QString FTitle;
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    std::vector<TForm*> FForms;
    THintWindow* FHintWindow = nullptr;
    bool FInHandleException = false;
};
extern TApplication* Application;

// The hint window: a borderless top window showing a text at a point, sized for its text.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    // The rectangle (0, 0, w, h) the text needs when at most MaxWidth wide, margins included.
    virtual TRect CalcHintRect(int MaxWidth, const QString& AHint, void* AData);
    virtual void ActivateHint(TRect R, const QString& AHint);
    virtual void ActivateHintData(TRect R, const QString& AHint, void* AData);
    void ReleaseHandle(); // hides the window
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
};
