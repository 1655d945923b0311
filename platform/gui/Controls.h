#pragma once
// The object model of windows: components and their owners, controls on Qt widgets, messages
// through a virtual WndProc, keyboard focus, timers, the screen and the mouse.
#include "platform/gui/Graphics.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Objects.h"
#include "platform/rtl/SysUtils.h"

#include <QCursor>
#include <QMimeData>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class TWinControl;
class TForm;
class TPopupMenu;
class THintWindow;

// ---- small sets -------------------------------------------------------------------------------
// A set over an enumeration of at most 32 values: Contains() is "in", << and >> add and remove.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> Items) {
        for (E I : Items) FBits |= Bit(I);
    }
    constexpr bool Contains(E I) const { return (FBits & Bit(I)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& operator<<(E I) {
        FBits |= Bit(I);
        return *this;
    }
    constexpr TSet& operator>>(E I) {
        FBits &= ~Bit(I);
        return *this;
    }
    constexpr TSet operator+(TSet O) const { return FromBits(FBits | O.FBits); }
    constexpr TSet operator-(TSet O) const { return FromBits(FBits & ~O.FBits); }
    constexpr TSet operator*(TSet O) const { return FromBits(FBits & O.FBits); }
    constexpr bool operator==(const TSet&) const = default;
    constexpr uint32_t Bits() const { return FBits; }
    static constexpr TSet FromBits(uint32_t B) {
        TSet S;
        S.FBits = B;
        return S;
    }

private:
    static constexpr uint32_t Bit(E I) { return 1u << unsigned(I); }
    uint32_t FBits = 0;
};

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The shift state of the input being handled now (keys and buttons), or Qt's live state when
// no input is being dispatched. Synthetic input sets it the same way real input does.
TShiftState KeyboardShiftState();
// Bit 15 set (negative) when the key is down, as the classic GetKeyState answers; knows
// VK_SHIFT, VK_CONTROL, VK_MENU and the mouse buttons of the input being handled.
short GetKeyState(int VirtKey);

// Key codes of Qt and their virtual-key equivalents (0 / Qt::Key_unknown when there is none).
Word QtKeyToVK(int QtKey);
int VKToQtKey(Word VK);

// ---- cursors ----------------------------------------------------------------------------------
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

// ---- components -------------------------------------------------------------------------------
enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning, csFreeNotification };
using TComponentState = TSet<TComponentStateItem>;
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    // Runs once the constructor of the most derived class has finished (see Create<T>).
    virtual void AfterConstruction() {}

    TComponent* Owner() const { return FOwner; }
    QString Name() const { return FName; }
    virtual void SetName(const QString& Value) { FName = Value; }
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t Value) { FTag = Value; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const; // raises EListError outside 0..ComponentCount-1
    int ComponentIndex() const;
    TComponent* FindComponent(const QString& AName) const; // case-insensitive; null if none
    TComponentState ComponentState() const { return FComponentState; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // AComponent will tell this component (Notification opRemove) when it is destroyed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called once everything created with csLoading is built; clears csLoading.
    virtual void Loaded();
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // Loading as a stored form does it: sets csLoading on this component (components created
    // with it as owner take csLoading too); EndLoading runs Loaded() on each owned component
    // that is still loading, then on this one.
    void BeginLoading();
    void EndLoading();

protected:
    // True when the owner must delete this component; a control with a Qt parent is deleted
    // by its parent instead.
    virtual bool DeletedByOwner() const { return true; }
    void SetComponentState(TComponentState Value) { FComponentState = Value; }
    void Destroying() { FComponentState << csDestroying; }

private:
    TComponent* FOwner = nullptr;
    QString FName;
    intptr_t FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
};

class TControl;

// Builds a component as the stored form would: the constructor (which makes no virtual calls),
// the parent when one is given, then AfterConstruction(). A component created while its owner
// is loading is loading too, until the owner's EndLoading.
template <class T, class... Args>
T* Create(TComponent* Owner, TWinControl* Parent = nullptr, Args&&... args) {
    T* C = new T(Owner, std::forward<Args>(args)...);
    if constexpr (std::is_base_of_v<TControl, T>) {
        if (Parent) C->SetParent(Parent);
    }
    C->AfterConstruction();
    return C;
}

// ---- events -----------------------------------------------------------------------------------
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// What the hint machinery asks a control (CM_HINTSHOW) before it shows a hint; the control may
// change the text, the place and the area the hint stays valid in.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos; // screen position of the hint window
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect; // client area in which the same hint stays
    TPoint CursorPos; // client coordinates of the mouse
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    QString HintStr;
    void* HintData = nullptr;
    // The window that shows this hint (the application's HintWindowClass unless the control
    // chooses another, for a hint that needs its own drawing); empty: THintWindow.
    std::function<THintWindow*(TComponent* AOwner)> HintWindowClass;
};

// The accelerator of a caption: the character after a single "&" ("&&" is a literal "&"),
// upper-cased; null when there is none. IsAccel: whether VK (a letter or digit key, or the
// character) is that accelerator.
QChar GetHotKey(const QString& Caption);
bool IsAccel(Word VK, const QString& Caption);

// The text before "|" of a hint; the whole text when it has none.
QString GetShortHint(const QString& Hint);
QString GetLongHint(const QString& Hint);

// ---- drag and drop of data between windows (and programs) --------------------------------------
// What a drop does to the data, as programs tell each other: nothing, a copy, a move.
constexpr int DROPEFFECT_NONE = 0;
constexpr int DROPEFFECT_COPY = 1;
constexpr int DROPEFFECT_MOVE = 2;
// The answers of a drag: the data was dropped, or nothing was dropped (cancelled or refused).
constexpr int DRAGDROP_S_DROP = 0x40100;
constexpr int DRAGDROP_S_CANCEL = 0x40101;

enum TDropStage { drEnter, drOver, drLeave, drDrop };
// Data dragged over a control that accepts drops. The control answers in Effect
// (DROPEFFECT_NONE refuses the data at this point).
struct TDropRequest {
    TDropStage Stage = drEnter;
    const QMimeData* Data = nullptr; // null when the drag leaves
    TPoint ScreenPos;
    TShiftState Shift;
    int OKEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE; // what the source allows
    int Effect = DROPEFFECT_NONE;
};

// ---- controls ---------------------------------------------------------------------------------
// A control is a Qt widget. Qt's events are turned into messages and go through WndProc, whose
// default hands them to the handlers below and then to DefaultHandler (the native behaviour).
class TControl : public QWidget, public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // bounds, relative to the parent's client area
    int Left() const { return geometry().x(); }
    int Top() const { return geometry().y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
    void SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
    void SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
    void SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(Left(), Top(), Width(), Height()); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual int ClientWidth() const { return width(); }
    virtual int ClientHeight() const { return height(); }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    TPoint ClientToScreen(const TPoint& P) const;
    TPoint ScreenToClient(const TPoint& P) const;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    // A form shows itself as the active window.
    virtual void Show() { SetVisible(true); }
    virtual void Hide() { SetVisible(false); }
    bool Showing() const { return isVisible(); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    QString Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) {
        FShowHint = Value;
        FParentShowHint = false;
    }
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value) { FParentShowHint = Value; }
    bool EffectiveShowHint() const;

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    // Edges kept at their distance from the parent's edges when the parent is resized.
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    QString Caption() const { return FText; }
    void SetCaption(const QString& Value) { SetText(Value); }
    QString Text() const { return GetText(); }
    virtual void SetText(const QString& Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value); // forgotten when the menu is destroyed
    void Notification(TComponent* AComponent, TOperation Operation) override;

    virtual void Invalidate() { update(); }
    void InvalidateRect(const TRect& R) { update(R.Left, R.Top, R.Width(), R.Height()); }
    void Update() { repaint(); } // paints what is pending now
    // The window exists: the control is on a parent (or is a window itself).
    bool HandleAllocated() const { return FParent != nullptr || isWindow(); }
    // All mouse input goes to this control until released.
    bool MouseCapture() const { return QWidget::mouseGrabber() == this; }
    void SetMouseCapture(bool Value) {
        if (Value)
            grabMouse();
        else if (MouseCapture())
            releaseMouse();
    }
    void Repaint() { repaint(); }
    void Refresh() { repaint(); }
    void BringToFront() { raise(); }
    void SendToBack() { lower(); }

    // The message protocol.
    LRESULT Perform(Cardinal Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // Per-control timers: every Ms milliseconds WM_TIMER (WParam = ID) goes through WndProc.
    // Setting an ID again restarts it with the new interval.
    void SetTimer(int ID, unsigned Ms);
    bool KillTimer(int ID);
    bool TimerActive(int ID) const { return FTimers.count(ID) != 0; }

    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;

    // Runs Fn; an exception it throws goes to Application->HandleException and stops there.
    // Every place where Qt calls into the system's code goes through it.
    static void Guard(TObject* Sender, const std::function<void()>& Fn);

    // The form this control is on (itself for a form); null when not on one.
    TForm* ParentForm() const;
    // Sends a key as the keyboard would: the dialog-key rules, KeyDown, KeyPress, KeyUp.
    void SimulateKey(Word Key, TShiftState Shift = {}, QChar Char = QChar());
    // A posted key-down arriving from the message queue: the dialog-key rules, then KeyDown.
    void DeliverPostedKeyDown(Word Key, TShiftState Shift);

protected:
    virtual QString GetText() const { return FText; }
    virtual void TextChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();
    virtual void Paint() {}
    // WM_TIMER of a per-control timer.
    virtual void TimerTick(int ID) { (void)ID; }
    // Data dragged over the control (only when it accepts drops); the default refuses it.
    virtual void DropRequest(TDropRequest& Request) { Request.Effect = DROPEFFECT_NONE; }
    // The answer to WM_GETDLGCODE: the DLGC_* keys the control takes itself.
    virtual LRESULT DialogCode() const { return 0; }
    // Controls that paint themselves open their canvas around Paint.
    virtual void PaintHandler();

    // Whether a press and release of the left button on the control is a click (fires Click).
    virtual bool ClicksOnMouseUp() const { return FNativeWidget == nullptr; }

    bool DeletedByOwner() const override { return parentWidget() == nullptr; }

    // A native Qt widget that fills the control and does its input itself: its Qt events are
    // turned into this control's messages, and DefaultHandler hands them back to it.
    void SetNativeWidget(QWidget* W);
    QWidget* NativeWidget() const { return FNativeWidget; }

    bool event(QEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;
    void resizeEvent(QResizeEvent* E) override;

    void ApplyPalette();
    void ParentFontOrColorChanged();

private:
    friend class TWinControl;
    friend class TForm;
    friend class THintWindow;
    bool TranslateKey(QKeyEvent* E, bool Press);
    bool TranslateMouse(QMouseEvent* E, QWidget* From);
    // The control's own coordinates of a point of its window (a mirrored control mirrors them).
    virtual QPoint MouseClientPoint(QPoint P) const { return P; }
    bool TranslateWheel(QWheelEvent* E, QWidget* From);
    // Runs Body with the translation state saved around it (a handler may translate a nested
    // event); true when the original Qt event is used up.
    bool Translate(const std::function<void()>& Body);
    bool DeliverTranslated(TMessage& M);
    void DispatchKeyDown(Word Key, TShiftState Shift, QChar Char, QKeyEvent* Original);
    bool HandleToolTip(QEvent* E);
    void TranslateDrop(QEvent* E);
    void DeliverNative(TMessage& Message);
    void FocusIn(QWidget* From);
    void SizeChanged();
    QSize FLastSize;
    void FocusOut(QWidget* To);

    TWinControl* FParent = nullptr;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TFont FFont;
    bool FParentFont = true;
    bool FSettingParentFont = false;
    QString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TAlign FAlign = alNone;
    TAnchors FAnchors = {akLeft, akTop};
    int FAnchorRight = 0; // parent client width - Right, when last placed
    int FAnchorBottom = 0; // parent client height - Bottom
    bool FAnchoring = false;
    void UpdateAnchorDistances();
    QString FText;
    TPopupMenu* FPopupMenu = nullptr;
    bool FLeftPressed = false;
    std::map<int, int> FTimers; // our id -> Qt timer id
    QWidget* FNativeWidget = nullptr;
    // While a Qt event is being translated: the message made from it. Reaching DefaultHandler
    // with it unchanged lets the original event go on to the native widget.
    const TMessage* FTranslating = nullptr;
    TMessage FTranslatedCopy;
    bool FPassOriginal = false;
    bool FDelivering = false;
    bool FCharFollows = false;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int Index) const;
    TControl* FindChildControl(const QString& ControlName) const;

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // Every TWinControl inside this one that takes the focus by Tab, in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    // Moves the focus to the next (or previous) control of the tab order after CurControl.
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    // Lays out the children that have an Align (top, bottom, left, right, then client; each
    // kind in creation order) in AlignRect.
    void AlignControls();
    virtual TRect AlignRect() const { return ClientRect(); }
    // Sends the message to each child control until one answers (Result non-zero).
    void Broadcast(TMessage& Message);
    // Moves or stretches the children anchored to the right or bottom edge.
    void AnchorControls();
    void DisableAlign() { ++FAlignLock; }
    void EnableAlign() {
        if (--FAlignLock == 0) AlignControls();
    }

    void WndProc(TMessage& Message) override;

    // Draws the control as it would show, children included, with its top-left corner at (X, Y)
    // of the canvas. A hidden control can be drawn this way too.
    void PaintTo(TCanvas* Canvas, int X, int Y);

protected:
    void resizeEvent(QResizeEvent* E) override;
    // The widget the child controls' windows sit in: the control itself, or an inner area whose
    // origin is the client origin (a category panel's area below its header).
    virtual QWidget* ClientWidget() { return this; }

private:
    friend class TControl;
    void InsertControl(TControl* C);
    void RemoveControl(TControl* C);
    std::vector<TControl*> FControls; // creation order
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    int FAlignLock = 0;
};

// A window that paints itself: Paint() draws on Canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return FCanvas.get(); }

protected:
    void PaintHandler() override;

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// A control that never takes the focus (labels, shapes, images); paints itself on Canvas.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return FCanvas.get(); }

protected:
    void PaintHandler() override;

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// ---- timer component --------------------------------------------------------------------------
class QTimer;
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value); // enabling an enabled timer does not restart it
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value); // restarts a running timer
    TNotifyEvent OnTimer;
    // What a tick does: Timer() with any exception going to Application->HandleException.
    void Tick();
    virtual void Timer(); // fires OnTimer
    bool Running() const; // counting: enabled with an interval (a tick without OnTimer does nothing)
private:
    void UpdateTimer();
    QTimer* FTimer = nullptr;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};

// ---- screen and mouse -------------------------------------------------------------------------
class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value); // crDefault gives every control its own cursor back
    // The program's own cursors, registered under positive numbers next to the stock ones.
    QCursor Cursors(TCursor Index) const;
    void SetCursors(TCursor Index, const QCursor& Value);
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    TForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int FormCount() const;
    TForm* Forms(int Index) const;

private:
    TCursor FCursor = crDefault;
    std::map<TCursor, QCursor> FCursors;
};
extern TScreen* Screen;

class TMouse {
public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& P);
    int WheelScrollLines() const;
    TControl* Capture() const;
    void SetCapture(TControl* Control);
};
extern TMouse* Mouse;

bool GetCursorPos(TPoint& P);
QCursor CursorToQCursor(TCursor Cursor);

// The control a Qt widget belongs to (the widget itself or the control whose native widget it
// is); null for other widgets.
TControl* FindControl(QWidget* W);
// The window control under a point of the screen (the innermost one); null over no control.
TWinControl* FindVCLWindow(const TPoint& Pos);
// The control under a point of the screen, labels and other graphic controls included; a
// disabled one counts only with AllowDisabled (else the enabled control beneath it answers).
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);

// Starting a drag of data: the source control, the data (handed over), the effects the source
// allows, the picture shown under the cursor and Feedback, told every effect the drag would
// have where it is now. Answers the effect of the drop, DROPEFFECT_NONE when nothing was
// dropped. The runner does it through the system's drag and drop; tests put their own in place
// (a drag runs modally until the button is released).
struct TDragStart {
    TControl* Source = nullptr;
    std::unique_ptr<QMimeData> Data;
    int OKEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    QPixmap Picture;
    TPoint HotSpot;
    std::function<void(int Effect)> Feedback;
};
using TDragRunner = std::function<int(TDragStart& Drag)>;
int RunDragDrop(TDragStart& Drag);
// An empty runner puts the system's back.
void SetDragRunner(TDragRunner Runner);
