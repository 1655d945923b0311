#include "platform/gui/Controls.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/StateScope.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

// ---- input state ------------------------------------------------------------------------------
namespace {
// The shift state of the message being dispatched; set while input (real or synthetic) runs.
int GInputDepth = 0;
TShiftState GInputShift;

struct TInputScope {
    TShiftState Saved;
    explicit TInputScope(TShiftState S) : Saved(GInputShift) {
        GInputShift = S;
        ++GInputDepth;
    }
    ~TInputScope() {
        GInputShift = Saved;
        --GInputDepth;
    }
};

TShiftState ModifiersToShift(Qt::KeyboardModifiers M) {
    TShiftState S;
    if (M & Qt::ShiftModifier) S << ssShift;
    if (M & Qt::ControlModifier) S << ssCtrl;
    if (M & Qt::AltModifier) S << ssAlt;
    return S;
}

Qt::KeyboardModifiers ShiftToModifiers(TShiftState S) {
    Qt::KeyboardModifiers M;
    if (S.Contains(ssShift)) M |= Qt::ShiftModifier;
    if (S.Contains(ssCtrl)) M |= Qt::ControlModifier;
    if (S.Contains(ssAlt)) M |= Qt::AltModifier;
    return M;
}

// The shift and button states as the mouse messages carry them.
const std::pair<TShiftStateItem, WPARAM> MKBits[] = {
    {ssLeft, MK_LBUTTON}, {ssRight, MK_RBUTTON}, {ssMiddle, MK_MBUTTON}, {ssShift, MK_SHIFT},
    {ssCtrl, MK_CONTROL}, {ssAlt, MK_ALT},       {ssDouble, MK_DOUBLE},
};

WPARAM ShiftToMK(TShiftState S) {
    WPARAM W = 0;
    for (const auto& [Item, Bit] : MKBits)
        if (S.Contains(Item)) W |= Bit;
    return W;
}

TShiftState MKToShift(WPARAM W) {
    TShiftState S;
    for (const auto& [Item, Bit] : MKBits)
        if (W & Bit) S << Item;
    return S;
}

Qt::MouseButtons ShiftToButtons(TShiftState S) {
    Qt::MouseButtons B;
    if (S.Contains(ssLeft)) B |= Qt::LeftButton;
    if (S.Contains(ssRight)) B |= Qt::RightButton;
    if (S.Contains(ssMiddle)) B |= Qt::MiddleButton;
    return B;
}

struct TKeyPair {
    int Qt;
    Word VK;
};
const TKeyPair KeyTable[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, VK_SELECT},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Asterisk, VK_MULTIPLY},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
};

// A control character as a key press produces it: #8 Backspace, #9 Tab, #13 Enter, #27 Escape,
// printable characters, and Ctrl+letter #1..#26. Delete and the cursor keys produce none.
bool IsKeyChar(QChar C, Qt::KeyboardModifiers M) {
    ushort U = C.unicode();
    if (U == 8 || U == 9 || U == 13 || U == 27) return true;
    if (U >= 0x20 && U != 0x7F) return !(M & Qt::AltModifier) || (M & Qt::ControlModifier);
    return (M & Qt::ControlModifier) && U >= 1 && U <= 26;
}
} // namespace

Word QtKeyToVK(int Key) {
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return Word(Key);
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z) return Word(Key);
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24) return Word(VK_F1 + (Key - Qt::Key_F1));
    for (const TKeyPair& P : KeyTable)
        if (P.Qt == Key) return P.VK;
    if (Key > 0 && Key < 0x7F) return Word(QChar(Key).toUpper().unicode());
    return 0;
}

int VKToQtKey(Word VK) {
    if ((VK >= '0' && VK <= '9') || (VK >= 'A' && VK <= 'Z')) return VK;
    if (VK >= VK_F1 && VK <= VK_F12) return Qt::Key_F1 + (VK - VK_F1);
    if (VK >= VK_NUMPAD0 && VK <= VK_NUMPAD9) return Qt::Key_0 + (VK - VK_NUMPAD0);
    for (const TKeyPair& P : KeyTable)
        if (P.VK == VK) return P.Qt;
    return Qt::Key_unknown;
}

TShiftState KeyboardShiftState() {
    if (GInputDepth > 0) return GInputShift;
    TShiftState S = ModifiersToShift(QGuiApplication::queryKeyboardModifiers());
    Qt::MouseButtons B = QGuiApplication::mouseButtons();
    if (B & Qt::LeftButton) S << ssLeft;
    if (B & Qt::RightButton) S << ssRight;
    if (B & Qt::MiddleButton) S << ssMiddle;
    return S;
}

short GetKeyState(int VirtKey) {
    TShiftState S = KeyboardShiftState();
    bool Down = false;
    switch (VirtKey) {
        case VK_SHIFT:
        case VK_LSHIFT:
        case VK_RSHIFT: Down = S.Contains(ssShift); break;
        case VK_CONTROL:
        case VK_LCONTROL:
        case VK_RCONTROL: Down = S.Contains(ssCtrl); break;
        case VK_MENU:
        case VK_LMENU:
        case VK_RMENU: Down = S.Contains(ssAlt); break;
        case VK_LBUTTON: Down = S.Contains(ssLeft); break;
        case VK_RBUTTON: Down = S.Contains(ssRight); break;
        case VK_MBUTTON: Down = S.Contains(ssMiddle); break;
        default: break;
    }
    return Down ? short(0x8000) : 0;
}

QChar GetHotKey(const QString& Caption) {
    for (int I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != QLatin1Char('&')) continue;
        if (Caption[I + 1] == QLatin1Char('&')) {
            ++I;
            continue;
        }
        return Caption[I + 1].toUpper();
    }
    return QChar();
}

bool IsAccel(Word VK, const QString& Caption) {
    QChar H = GetHotKey(Caption);
    return !H.isNull() && H == QChar(char16_t(VK)).toUpper();
}

QString GetShortHint(const QString& Hint) {
    int I = Hint.indexOf(QLatin1Char('|'));
    return I < 0 ? Hint : Hint.left(I);
}

QString GetLongHint(const QString& Hint) {
    int I = Hint.indexOf(QLatin1Char('|'));
    return I < 0 ? Hint : Hint.mid(I + 1);
}

QCursor CursorToQCursor(TCursor C) {
    switch (C) {
        case crNone: return QCursor(Qt::BlankCursor);
        case crCross: return QCursor(Qt::CrossCursor);
        case crIBeam: return QCursor(Qt::IBeamCursor);
        case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
        case crSizeNS: return QCursor(Qt::SizeVerCursor);
        case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
        case crSizeWE: return QCursor(Qt::SizeHorCursor);
        case crUpArrow: return QCursor(Qt::UpArrowCursor);
        case crHourGlass:
        case crSQLWait: return QCursor(Qt::WaitCursor);
        case crDrag:
        case crMultiDrag: return QCursor(Qt::DragCopyCursor);
        case crNoDrop:
        case crNo: return QCursor(Qt::ForbiddenCursor);
        case crHSplit: return QCursor(Qt::SplitHCursor);
        case crVSplit: return QCursor(Qt::SplitVCursor);
        case crAppStart: return QCursor(Qt::BusyCursor);
        case crHelp: return QCursor(Qt::WhatsThisCursor);
        case crHandPoint: return QCursor(Qt::PointingHandCursor);
        case crSizeAll: return QCursor(Qt::SizeAllCursor);
        default: return C > 0 && Screen ? Screen->Cursors(C) : QCursor(Qt::ArrowCursor);
    }
}

// ---- TComponent -------------------------------------------------------------------------------
TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) {
        AOwner->InsertComponent(this);
        if (AOwner->FComponentState.Contains(csLoading)) FComponentState << csLoading;
    }
}

TComponent::~TComponent() {
    FComponentState << csDestroying;
    std::vector<TComponent*> Notifies = FFreeNotifies;
    for (TComponent* C : Notifies) {
        auto& L = C->FFreeNotifies;
        L.erase(std::remove(L.begin(), L.end(), this), L.end());
        C->Notification(this, opRemove);
    }
    FFreeNotifies.clear();
    // Owned components go last-created first; a control kept by a Qt parent is left to it.
    while (!FComponents.empty()) {
        TComponent* C = FComponents.back();
        FComponents.pop_back();
        C->FOwner = nullptr;
        if (C->DeletedByOwner()) delete C;
    }
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= int(FComponents.size()))
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FComponents[size_t(Index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& L = FOwner->FComponents;
    auto It = std::find(L.begin(), L.end(), this);
    return It == L.end() ? -1 : int(It - L.begin());
}

TComponent* TComponent::FindComponent(const QString& AName) const {
    if (AName.isEmpty()) return nullptr;
    for (TComponent* C : FComponents)
        if (C->FName.compare(AName, Qt::CaseInsensitive) == 0) return C;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner == this) return;
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    if (!FComponentState.Contains(csDestroying)) Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent) return;
    auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (It == FComponents.end()) return;
    FComponents.erase(It);
    AComponent->FOwner = nullptr;
    if (!FComponentState.Contains(csDestroying)) Notification(AComponent, opRemove);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FFreeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
    auto& L = AComponent->FFreeNotifies;
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
}

void TComponent::Loaded() { FComponentState >> csLoading; }

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    (void)AComponent;
    (void)Operation;
}

void TComponent::BeginLoading() { FComponentState << csLoading; }

void TComponent::EndLoading() {
    // Copy: a Loaded handler may create or free components.
    std::vector<TComponent*> List = FComponents;
    for (TComponent* C : List) {
        if (std::find(FComponents.begin(), FComponents.end(), C) == FComponents.end()) continue;
        if (C->FComponentState.Contains(csLoading)) C->Loaded();
    }
    if (FComponentState.Contains(csLoading)) Loaded();
}

// ---- TControl ---------------------------------------------------------------------------------
namespace {
QPointer<QWidget> GLastFocused; // the control that last had the keyboard focus

// A widget's control, walking up through native widgets and their inner parts.
TControl* ControlOf(QWidget* W) {
    while (W) {
        if (auto* C = dynamic_cast<TControl*>(W)) return C;
        W = W->parentWidget();
    }
    return nullptr;
}
} // namespace

TControl* FindControl(QWidget* W) { return ControlOf(W); }

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
    TControl* C = ControlOf(QApplication::widgetAt(QPoint(Pos.X, Pos.Y)));
    while (C && !AllowDisabled && !C->Enabled()) C = C->Parent();
    return C;
}

TWinControl* FindVCLWindow(const TPoint& Pos) {
    TControl* C = ControlOf(QApplication::widgetAt(QPoint(Pos.X, Pos.Y)));
    while (C && !dynamic_cast<TWinControl*>(C)) C = C->Parent();
    return static_cast<TWinControl*>(C);
}

TControl::TControl(TComponent* AOwner) : QWidget(nullptr), TComponent(AOwner) {
    setAttribute(Qt::WA_NoMousePropagation, false);
    setMouseTracking(true);
    FFont.OnChange = [this](TObject*) {
        if (!FSettingParentFont) FParentFont = false;
        Perform(CM_FONTCHANGED);
    };
    setFont(FFont.ToQFont());
    ApplyPalette();
}

TControl::~TControl() {
    Destroying();
    if (TForm* F = ParentForm(); F && F != this && F->FActiveControl == this) {
        F->FActiveControl = nullptr;
        F->FActiveGuard = nullptr;
    }
    for (auto& [Id, QtId] : FTimers) killTimer(QtId);
    FTimers.clear();
    if (FParent) FParent->RemoveControl(this);
    FParent = nullptr;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    QSize Old = size();
    setGeometry(ALeft, ATop, AWidth, AHeight);
    if (FNativeWidget) FNativeWidget->setGeometry(0, 0, AWidth, AHeight);
    if (!FAnchoring) UpdateAnchorDistances();
    if (Old != QSize(AWidth, AHeight)) {
        if (auto* W = dynamic_cast<TWinControl*>(this)) {
            W->AlignControls();
            W->AnchorControls();
        }
        SizeChanged();
    }
    if (FAlign != alNone && FParent) FParent->AlignControls();
}

void TControl::UpdateAnchorDistances() {
    if (!FParent) return;
    FAnchorRight = FParent->ClientWidth() - (Left() + Width());
    FAnchorBottom = FParent->ClientHeight() - (Top() + Height());
}

void TControl::SetAnchors(TAnchors Value) {
    FAnchors = Value;
    UpdateAnchorDistances();
}

// WM_SIZE once per new size, whether the size came from SetBounds or from the window system.
void TControl::SizeChanged() {
    if (FLastSize == size()) return;
    FLastSize = size();
    Guard(this, [this] { Perform(WM_SIZE, 0, MakeLParam(width(), height())); });
}

void TControl::SetClientWidth(int Value) { SetBounds(Left(), Top(), Value + (Width() - ClientWidth()), Height()); }
void TControl::SetClientHeight(int Value) { SetBounds(Left(), Top(), Width(), Value + (Height() - ClientHeight())); }

TPoint TControl::ClientToScreen(const TPoint& P) const {
    QPoint Q = mapToGlobal(QPoint(P.X, P.Y));
    return {Q.x(), Q.y()};
}

TPoint TControl::ScreenToClient(const TPoint& P) const {
    QPoint Q = mapFromGlobal(QPoint(P.X, P.Y));
    return {Q.x(), Q.y()};
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
    QRect G = geometry();
    if (FParent) FParent->RemoveControl(this);
    FParent = AParent;
    setParent(AParent ? AParent->ClientWidget() : nullptr);
    setGeometry(G);
    if (AParent) {
        AParent->InsertControl(this);
        UpdateAnchorDistances();
        if (FParentFont)
            ParentFontOrColorChanged();
        else if (FParentColor)
            ParentFontOrColorChanged();
        QWidget::setVisible(FVisible);
        if (FAlign != alNone) AParent->AlignControls();
    }
}

void TControl::SetVisible(bool Value) {
    if (FVisible == Value) return;
    FVisible = Value;
    if (parentWidget()) QWidget::setVisible(Value);
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    if (FAlign != alNone && FParent) FParent->AlignControls();
}

void TControl::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    setEnabled(Value);
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor Value) {
    FParentColor = false;
    if (FColor == Value) return;
    FColor = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    FParentColor = Value;
    if (Value && FParent) ParentFontOrColorChanged();
}

void TControl::SetParentFont(bool Value) {
    FParentFont = Value;
    if (Value && FParent) ParentFontOrColorChanged();
}

void TControl::ParentFontOrColorChanged() {
    if (!FParent) return;
    if (FParentFont) {
        FSettingParentFont = true;
        FFont.Assign(FParent->Font());
        FSettingParentFont = false;
    }
    if (FParentColor && FColor != FParent->Color()) {
        FColor = FParent->Color();
        Perform(CM_COLORCHANGED);
        FParentColor = true;
    }
}

bool TControl::EffectiveShowHint() const {
    if (!FParentShowHint) return FShowHint;
    return FParent ? FParent->EffectiveShowHint() : FShowHint;
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetCursor(TCursor Value) {
    FCursor = Value;
    setCursor(CursorToQCursor(Value));
    if (FNativeWidget) FNativeWidget->setCursor(CursorToQCursor(Value));
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetAlign(TAlign Value) {
    if (FAlign == Value) return;
    FAlign = Value;
    if (FParent) FParent->AlignControls();
}

void TControl::SetText(const QString& Value) {
    if (FText == Value) return;
    FText = Value;
    Perform(CM_TEXTCHANGED);
}

void TControl::FontChanged() {
    setFont(FFont.ToQFont());
    if (FNativeWidget) FNativeWidget->setFont(FFont.ToQFont());
    ApplyPalette();
    update();
}

void TControl::ColorChanged() {
    ApplyPalette();
    update();
}

void TControl::ApplyPalette() {
    QPalette P = palette();
    QColor Back = ToQColor(FColor == clNone || FColor == clDefault ? clBtnFace : FColor);
    QColor Fore = ToQColor(FFont.Color());
    P.setColor(QPalette::Window, Back);
    P.setColor(QPalette::Base, Back);
    P.setColor(QPalette::Button, Back);
    P.setColor(QPalette::WindowText, Fore);
    P.setColor(QPalette::Text, Fore);
    P.setColor(QPalette::ButtonText, Fore);
    // A disabled control shows its text (a check box its mark too) in the grey of disabled text,
    // whatever its font colour, as the platform's standard controls do.
    const QColor Grey = ToQColor(clGrayText);
    for (QPalette::ColorRole Role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        P.setColor(QPalette::Disabled, Role, Grey);
    setPalette(P);
    if (FNativeWidget) FNativeWidget->setPalette(P);
}

LRESULT TControl::Perform(Cardinal Msg, WPARAM WParam, LPARAM LParam) {
    TMessage M{Msg, WParam, LParam, 0};
    WndProc(M);
    return M.Result;
}

LRESULT SendMessage(TControl* Target, Cardinal Msg, WPARAM WParam, LPARAM LParam) {
    return Target ? Target->Perform(Msg, WParam, LParam) : 0;
}

void TControl::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            bool Down = M.Msg == WM_KEYDOWN || M.Msg == WM_SYSKEYDOWN;
            Word Key = Word(M.WParam);
            TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
            TInputScope Scope(Shift);
            TForm* F = ParentForm();
            if (F && F != this && F->KeyPreview()) {
                if (Down)
                    F->KeyDown(Key, Shift);
                else
                    F->KeyUp(Key, Shift);
            }
            if (Key != 0) {
                if (Down)
                    KeyDown(Key, Shift);
                else
                    KeyUp(Key, Shift);
            }
            if (Key != 0) {
                M.WParam = Key;
                DefaultHandler(M);
            }
            return;
        }
        case WM_CHAR:
        case WM_SYSCHAR: {
            QChar C(char16_t(M.WParam));
            TForm* F = ParentForm();
            if (F && F != this && F->KeyPreview() && !C.isNull()) F->KeyPress(C);
            if (!C.isNull()) KeyPress(C);
            if (!C.isNull()) {
                M.WParam = C.unicode();
                DefaultHandler(M);
            }
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            TShiftState S = MKToShift(M.WParam);
            TInputScope Scope(S);
            TMouseButton B = (M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONDBLCLK) ? mbLeft
                : (M.Msg == WM_RBUTTONDOWN || M.Msg == WM_RBUTTONDBLCLK)            ? mbRight
                                                                                    : mbMiddle;
            bool Dbl = M.Msg == WM_LBUTTONDBLCLK || M.Msg == WM_RBUTTONDBLCLK || M.Msg == WM_MBUTTONDBLCLK;
            if (Dbl) {
                S << ssDouble;
                if (B == mbLeft) DblClick();
            } else if (B == mbLeft) {
                FLeftPressed = true;
            }
            MouseDown(B, S, GetXLParam(M.LParam), GetYLParam(M.LParam));
            DefaultHandler(M);
            return;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            TShiftState S = MKToShift(M.WParam);
            TInputScope Scope(S);
            TMouseButton B = M.Msg == WM_LBUTTONUP ? mbLeft : M.Msg == WM_RBUTTONUP ? mbRight : mbMiddle;
            int X = GetXLParam(M.LParam), Y = GetYLParam(M.LParam);
            bool WasPressed = B == mbLeft && FLeftPressed;
            if (B == mbLeft) FLeftPressed = false;
            MouseUp(B, S, X, Y);
            DefaultHandler(M);
            if (WasPressed && ClicksOnMouseUp() && X >= 0 && Y >= 0 && X < width() && Y < height()) Click();
            if (B == mbRight && FPopupMenu) {
                TPoint P = ClientToScreen({X, Y});
                FPopupMenu->SetPopupComponent(this);
                FPopupMenu->Popup(P.X, P.Y);
            }
            return;
        }
        case WM_MOUSEMOVE: {
            TShiftState S = MKToShift(M.WParam);
            TInputScope Scope(S);
            MouseMove(S, GetXLParam(M.LParam), GetYLParam(M.LParam));
            DefaultHandler(M);
            return;
        }
        case WM_MOUSEWHEEL: {
            TShiftState S = MKToShift(LoWord(M.WParam));
            TInputScope Scope(S);
            int Delta = int16_t(HiWord(M.WParam));
            TPoint P{GetXLParam(M.LParam), GetYLParam(M.LParam)};
            if (DoMouseWheel(S, Delta, P)) {
                M.Result = 1;
                return;
            }
            // Unused by the control (and its native widget), the wheel goes to the parent.
            if (FNativeWidget) DefaultHandler(M);
            if (M.Result == 0 && FParent) M.Result = FParent->Perform(M.Msg, M.WParam, M.LParam);
            return;
        }
        case CM_MOUSEENTER: MouseEnter(); return;
        case CM_MOUSELEAVE: MouseLeave(); return;
        case CM_ENTER: DoEnter(); return;
        case CM_EXIT: DoExit(); return;
        case WM_SIZE: Resize(); return;
        case WM_PAINT: Paint(); return;
        case WM_TIMER: TimerTick(int(M.WParam)); return;
        case WM_GETDLGCODE: M.Result = DialogCode(); return;
        case CM_FONTCHANGED:
            FontChanged();
            if (auto* W = dynamic_cast<TWinControl*>(this))
                for (int I = 0; I < W->ControlCount(); ++I) W->Controls(I)->Perform(CM_PARENTFONTCHANGED);
            return;
        case CM_COLORCHANGED:
            ColorChanged();
            if (auto* W = dynamic_cast<TWinControl*>(this))
                for (int I = 0; I < W->ControlCount(); ++I) W->Controls(I)->Perform(CM_PARENTCOLORCHANGED);
            return;
        case CM_PARENTFONTCHANGED:
            if (FParentFont) ParentFontOrColorChanged();
            return;
        case CM_PARENTCOLORCHANGED:
            if (FParentColor) ParentFontOrColorChanged();
            return;
        case CM_TEXTCHANGED:
            TextChanged();
            update();
            return;
        default: DefaultHandler(M); return;
    }
}

void TControl::DefaultHandler(TMessage& M) {
    if (FNativeWidget) DeliverNative(M);
}

void TControl::DeliverNative(TMessage& M) {
    if (FTranslating == &M && M.Msg != WM_MOUSEWHEEL && M.Msg == FTranslatedCopy.Msg &&
        M.WParam == FTranslatedCopy.WParam && M.LParam == FTranslatedCopy.LParam) {
        FPassOriginal = true;
        return;
    }
    QWidget* N = FNativeWidget;
    switch (M.Msg) {
        case WM_KEYDOWN:
        case WM_KEYUP: {
            if (M.Msg == WM_KEYDOWN && FCharFollows) return;
            TShiftState S = TShiftState::FromBits(uint32_t(M.LParam));
            QKeyEvent E(M.Msg == WM_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease, VKToQtKey(Word(M.WParam)),
                        ShiftToModifiers(S));
            const TStateScope<bool> D(FDelivering, true);
            QApplication::sendEvent(N, &E);
            return;
        }
        case WM_CHAR: {
            QChar C(char16_t(M.WParam));
            ushort U = C.unicode();
            int Key = Qt::Key_unknown;
            Qt::KeyboardModifiers Mods = ShiftToModifiers(KeyboardShiftState());
            if (U == 8)
                Key = Qt::Key_Backspace;
            else if (U == 9)
                Key = Qt::Key_Tab;
            else if (U == 13)
                Key = Qt::Key_Return;
            else if (U == 27)
                Key = Qt::Key_Escape;
            else if (U >= 1 && U <= 26) {
                Key = Qt::Key_A + (U - 1);
                Mods |= Qt::ControlModifier;
            } else {
                QChar Up = C.toUpper();
                if (Up.unicode() < 0x7F) Key = Up.unicode();
                Mods &= ~Qt::ControlModifier;
            }
            QKeyEvent E(QEvent::KeyPress, Key, Mods, QString(C));
            const TStateScope<bool> D(FDelivering, true);
            QApplication::sendEvent(N, &E);
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE: {
            TShiftState S = MKToShift(M.WParam);
            QPointF Local = N->mapFrom(this, QPoint(GetXLParam(M.LParam), GetYLParam(M.LParam)));
            QPointF Global = N->mapToGlobal(Local);
            QEvent::Type T = QEvent::MouseMove;
            Qt::MouseButton B = Qt::NoButton;
            switch (M.Msg) {
                case WM_LBUTTONDOWN:
                    T = QEvent::MouseButtonPress;
                    B = Qt::LeftButton;
                    break;
                case WM_RBUTTONDOWN:
                    T = QEvent::MouseButtonPress;
                    B = Qt::RightButton;
                    break;
                case WM_MBUTTONDOWN:
                    T = QEvent::MouseButtonPress;
                    B = Qt::MiddleButton;
                    break;
                case WM_LBUTTONUP:
                    T = QEvent::MouseButtonRelease;
                    B = Qt::LeftButton;
                    break;
                case WM_RBUTTONUP:
                    T = QEvent::MouseButtonRelease;
                    B = Qt::RightButton;
                    break;
                case WM_MBUTTONUP:
                    T = QEvent::MouseButtonRelease;
                    B = Qt::MiddleButton;
                    break;
                case WM_LBUTTONDBLCLK:
                    T = QEvent::MouseButtonDblClick;
                    B = Qt::LeftButton;
                    break;
                case WM_RBUTTONDBLCLK:
                    T = QEvent::MouseButtonDblClick;
                    B = Qt::RightButton;
                    break;
                case WM_MBUTTONDBLCLK:
                    T = QEvent::MouseButtonDblClick;
                    B = Qt::MiddleButton;
                    break;
                default: break;
            }
            Qt::MouseButtons Buttons = ShiftToButtons(S);
            if (T == QEvent::MouseButtonPress || T == QEvent::MouseButtonDblClick) Buttons |= B;
            if (T == QEvent::MouseButtonRelease) Buttons &= ~Qt::MouseButtons(B);
            QMouseEvent E(T, Local, Global, B, Buttons, ShiftToModifiers(S));
            const TStateScope<bool> D(FDelivering, true);
            QApplication::sendEvent(N, &E);
            return;
        }
        case WM_MOUSEWHEEL: {
            TShiftState S = MKToShift(LoWord(M.WParam));
            int Delta = int16_t(HiWord(M.WParam));
            QPointF Global(GetXLParam(M.LParam), GetYLParam(M.LParam));
            QPointF Local = N->mapFromGlobal(Global);
            QWheelEvent E(Local, Global, QPoint(), QPoint(0, Delta), ShiftToButtons(S), ShiftToModifiers(S),
                          Qt::NoScrollPhase, false);
            const TStateScope<bool> D(FDelivering, true);
            QApplication::sendEvent(N, &E);
            M.Result = E.isAccepted() ? 1 : 0;
            return;
        }
        case WM_CUT: QMetaObject::invokeMethod(N, "cut"); return;
        case WM_COPY: QMetaObject::invokeMethod(N, "copy"); return;
        case WM_PASTE: QMetaObject::invokeMethod(N, "paste"); return;
        case WM_UNDO: QMetaObject::invokeMethod(N, "undo"); return;
        case WM_CLEAR: QMetaObject::invokeMethod(N, "del"); return;
        default: return;
    }
}

void TControl::SetTimer(int ID, unsigned Ms) {
    KillTimer(ID);
    FTimers[ID] = startTimer(int(Ms));
}

bool TControl::KillTimer(int ID) {
    auto It = FTimers.find(ID);
    if (It == FTimers.end()) return false;
    killTimer(It->second);
    FTimers.erase(It);
    return true;
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    if (!Handled) {
        if (WheelDelta < 0)
            Handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            Handled = DoMouseWheelUp(Shift, MousePos);
    }
    return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Handled);
    return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Handled);
    return Handled;
}

void TControl::KeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TControl::KeyPress(QChar& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TControl::KeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::PaintHandler() { Perform(WM_PAINT); }

void TControl::Guard(TObject* Sender, const std::function<void()>& Fn) {
    try {
        Fn();
    } catch (const std::exception& E) {
        Application->HandleException(Sender, E);
    } catch (...) {
        Application->HandleException(Sender);
    }
}

TForm* TControl::ParentForm() const {
    const QWidget* W = this;
    while (W) {
        if (auto* F = dynamic_cast<const TForm*>(W)) return const_cast<TForm*>(F);
        W = W->parentWidget();
    }
    return nullptr;
}

void TControl::SetNativeWidget(QWidget* W) {
    FNativeWidget = W;
    W->setParent(this);
    W->setGeometry(0, 0, width(), height());
    W->installEventFilter(this);
    W->setMouseTracking(true);
    W->setFont(FFont.ToQFont());
    W->setPalette(palette());
    setFocusProxy(W);
    W->show();
}

void TControl::resizeEvent(QResizeEvent* E) {
    QWidget::resizeEvent(E);
    if (FNativeWidget) FNativeWidget->setGeometry(0, 0, width(), height());
}

// Qt key event -> WM_KEYDOWN (with the dialog-key rules) and WM_CHAR, or WM_KEYUP. True when
// the event is used up; false lets the original go on to the native widget.
bool TControl::TranslateKey(QKeyEvent* E, bool Press) {
    Word VK = QtKeyToVK(E->key());
    if (E->key() == Qt::Key_Backtab) VK = VK_TAB;
    TShiftState Shift = ModifiersToShift(E->modifiers());
    if (E->key() == Qt::Key_Backtab) Shift << ssShift;
    QChar Ch;
    if (Press && !E->text().isEmpty() && IsKeyChar(E->text().at(0), E->modifiers())) Ch = E->text().at(0);
    return Translate([&] {
        if (Press) {
            DispatchKeyDown(VK, Shift, Ch, E);
        } else {
            TMessage M{WM_KEYUP, VK, LPARAM(Shift.Bits()), 0};
            FTranslating = &M;
            FTranslatedCopy = M;
            FPassOriginal = false;
            if (VK != 0) WndProc(M);
        }
    });
}

bool TControl::Translate(const std::function<void()>& Body) {
    const TStateScope<const TMessage*> SaveTranslating(this, FTranslating);
    const TStateScope<TMessage> SaveCopy(this, FTranslatedCopy);
    const TStateScope<bool> SavePass(this, FPassOriginal);
    bool Result = true;
    QPointer<TControl> Self(this);
    Guard(this, [&] {
        Body();
        if (Self) Result = !FPassOriginal;
    });
    return Self ? Result : true;
}

bool TControl::DeliverTranslated(TMessage& M) {
    return Translate([&] {
        FTranslating = &M;
        FTranslatedCopy = M;
        FPassOriginal = false;
        WndProc(M);
    });
}

void TControl::DispatchKeyDown(Word Key, TShiftState Shift, QChar Char, QKeyEvent* Original) {
    TInputScope Scope(Shift);
    FPassOriginal = false;
    bool Special = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_LEFT || Key == VK_RIGHT ||
        Key == VK_UP || Key == VK_DOWN;
    if (Special && !Shift.Contains(ssAlt) && !(Key == VK_TAB && Shift.Contains(ssCtrl))) {
        // The control is asked first; then its dialog code: Tab needs DLGC_WANTTAB, the arrows
        // DLGC_WANTARROWS, Enter and Escape DLGC_WANTALLKEYS.
        bool Wants = Perform(CM_WANTSPECIALKEY, Key, 0) != 0;
        if (!Wants) {
            LRESULT Code = Perform(WM_GETDLGCODE, Key, 0);
            LRESULT Mask = Key == VK_TAB                 ? DLGC_WANTTAB
                : (Key == VK_RETURN || Key == VK_ESCAPE) ? DLGC_WANTALLKEYS
                                                         : DLGC_WANTARROWS;
            Wants = (Code & Mask) != 0;
        }
        if (!Wants) {
            TForm* F = ParentForm();
            if (F && F->Perform(CM_DIALOGKEY, Key, LPARAM(Shift.Bits())) != 0) return;
        }
    }
    // Alt with a letter or digit: the accelerator of a control's caption.
    if (Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) &&
        ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))) {
        TForm* F = ParentForm();
        if (F && F->Perform(CM_DIALOGCHAR, Key, LPARAM(Shift.Bits())) != 0) return;
    }
    QPointer<TControl> Self(this);
    TMessage M{WM_KEYDOWN, Key, LPARAM(Shift.Bits()), 0};
    bool HasChar = !Char.isNull();
    if (Original && !HasChar) {
        FTranslating = &M;
        FTranslatedCopy = M;
    } else {
        FTranslating = nullptr;
    }
    // A key that makes a character reaches a native widget with the character (below), so
    // that it is not acted on twice.
    {
        const TStateScope<bool> CharFollows(this, FCharFollows, HasChar);
        WndProc(M);
    }
    if (!Self || !HasChar) return;
    FPassOriginal = false;
    // A character the control does not take may be the accelerator of another control.
    if (Char.unicode() >= 0x20 && !(Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS)) {
        TForm* F = ParentForm();
        if (F && F->Perform(CM_DIALOGCHAR, Char.toUpper().unicode(), LPARAM(Shift.Bits())) != 0) return;
        if (!Self) return;
    }
    TMessage C{WM_CHAR, Char.unicode(), 0, 0};
    if (Original) {
        FTranslating = &C;
        FTranslatedCopy = C;
    } else {
        FTranslating = nullptr;
    }
    WndProc(C);
}

void TControl::SimulateKey(Word Key, TShiftState Shift, QChar Char) {
    if (Char.isNull() && !Shift.Contains(ssAlt)) {
        if (Key >= 'A' && Key <= 'Z') {
            if (Shift.Contains(ssCtrl))
                Char = QChar(char16_t(Key - 'A' + 1));
            else
                Char = Shift.Contains(ssShift) ? QChar(Key) : QChar(Key).toLower();
        } else if (Key >= '0' && Key <= '9' && !Shift.Contains(ssCtrl)) {
            Char = QChar(Key);
        } else if (Key == VK_SPACE) {
            Char = QChar(' ');
        } else if (Key == VK_RETURN) {
            Char = QChar(13);
        } else if (Key == VK_BACK) {
            Char = QChar(8);
        } else if (Key == VK_ESCAPE) {
            Char = QChar(27);
        } else if (Key == VK_TAB) {
            Char = QChar(9);
        }
    }
    QPointer<TControl> Self(this);
    const TStateScope<const TMessage*> NotTranslating(this, FTranslating, nullptr);
    DispatchKeyDown(Key, Shift, Char, nullptr);
    if (!Self) return;
    FTranslating = nullptr;
    Perform(WM_KEYUP, Key, LPARAM(Shift.Bits()));
}

void TControl::DeliverPostedKeyDown(Word Key, TShiftState Shift) {
    const TStateScope<const TMessage*> NotTranslating(this, FTranslating, nullptr);
    DispatchKeyDown(Key, Shift, QChar(), nullptr);
}

bool TControl::TranslateMouse(QMouseEvent* E, QWidget* From) {
    QPoint P = E->position().toPoint();
    if (From != this) P = From->mapTo(this, P);
    P = MouseClientPoint(P);
    TShiftState S = ModifiersToShift(E->modifiers());
    Qt::MouseButtons B = E->buttons();
    if (B & Qt::LeftButton) S << ssLeft;
    if (B & Qt::RightButton) S << ssRight;
    if (B & Qt::MiddleButton) S << ssMiddle;
    Cardinal Msg = WM_MOUSEMOVE;
    Qt::MouseButton Btn = E->button();
    switch (E->type()) {
        case QEvent::MouseButtonPress:
            Msg = Btn == Qt::LeftButton ? WM_LBUTTONDOWN : Btn == Qt::RightButton ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
            break;
        case QEvent::MouseButtonDblClick:
            Msg = Btn == Qt::LeftButton  ? WM_LBUTTONDBLCLK
                : Btn == Qt::RightButton ? WM_RBUTTONDBLCLK
                                         : WM_MBUTTONDBLCLK;
            break;
        case QEvent::MouseButtonRelease:
            Msg = Btn == Qt::LeftButton ? WM_LBUTTONUP : Btn == Qt::RightButton ? WM_RBUTTONUP : WM_MBUTTONUP;
            break;
        default: break;
    }
    if (Msg != WM_MOUSEMOVE && Btn != Qt::LeftButton && Btn != Qt::RightButton && Btn != Qt::MiddleButton) return false;
    TMessage M{Msg, ShiftToMK(S), MakeLParam(P.x(), P.y()), 0};
    return DeliverTranslated(M);
}

bool TControl::TranslateWheel(QWheelEvent* E, QWidget* From) {
    (void)From;
    TShiftState S = ModifiersToShift(E->modifiers());
    int Delta = E->angleDelta().y();
    if (Delta == 0) Delta = E->angleDelta().x();
    QPoint G = E->globalPosition().toPoint();
    TMessage M{WM_MOUSEWHEEL, MakeWParam(int(ShiftToMK(S)), Delta), MakeLParam(G.x(), G.y()), 0};
    return DeliverTranslated(M);
}

void TControl::FocusIn(QWidget* From) {
    (void)From;
    QPointer<TControl> Self(this);
    TControl* Old = ControlOf(GLastFocused.data());
    if (Old == this) Old = nullptr;
    GLastFocused = this;
    Guard(this, [&] {
        Perform(WM_SETFOCUS, WPARAM(Old), 0);
        if (!Self) return;
        if (auto* W = dynamic_cast<TWinControl*>(this))
            if (TForm* F = ParentForm()) F->SetFocusedControl(W);
    });
}

void TControl::FocusOut(QWidget* To) {
    TControl* New = ControlOf(To);
    if (New == this) New = nullptr;
    Guard(this, [&] { Perform(WM_KILLFOCUS, WPARAM(New), 0); });
}

bool TControl::HandleToolTip(QEvent* E) {
    auto* H = static_cast<QHelpEvent*>(E);
    if (!Application->ShowHint()) return true;
    QPoint P = H->globalPos();
    TPoint Client = ScreenToClient({P.x(), P.y()});
    Guard(this, [&] { Application->ActivateHint(this, Client); });
    return true;
}

bool TControl::event(QEvent* E) {
    if (ComponentState().Contains(csDestroying)) return QWidget::event(E);
    switch (E->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // A key a native widget left unused ends here: Qt would pass it on to the parents, which
            // have had their say through the messages already.
            E->accept();
            if (FNativeWidget) return true;
            TranslateKey(static_cast<QKeyEvent*>(E), E->type() == QEvent::KeyPress);
            return true;
        case QEvent::ShortcutOverride:
            // Keys go to the control that has the focus before any shortcut of Qt's.
            E->accept();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            if (E->type() == QEvent::MouseButtonPress) Application->CancelHint();
            E->accept();
            if (FNativeWidget) return true;
            TranslateMouse(static_cast<QMouseEvent*>(E), this);
            return true;
        case QEvent::Wheel:
            E->accept();
            if (FNativeWidget) return true;
            TranslateWheel(static_cast<QWheelEvent*>(E), this);
            return true;
        case QEvent::Enter: Guard(this, [this] { Perform(CM_MOUSEENTER); }); break;
        case QEvent::Leave:
            Application->CancelHint();
            Guard(this, [this] { Perform(CM_MOUSELEAVE); });
            break;
        case QEvent::FocusIn:
            if (!FNativeWidget) FocusIn(nullptr);
            break;
        case QEvent::FocusOut:
            if (!FNativeWidget) FocusOut(QApplication::focusWidget());
            break;
        case QEvent::ToolTip: return HandleToolTip(E);
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop: TranslateDrop(E); return true;
        case QEvent::Paint: Guard(this, [this] { PaintHandler(); }); return true;
        case QEvent::Timer: {
            int QtId = static_cast<QTimerEvent*>(E)->timerId();
            for (auto& [Id, Q] : FTimers) {
                if (Q == QtId) {
                    int OurId = Id;
                    Guard(this, [this, OurId] { Perform(WM_TIMER, WPARAM(OurId), 0); });
                    return true;
                }
            }
            break;
        }
        case QEvent::Resize: {
            bool R = QWidget::event(E);
            SizeChanged();
            return R;
        }
        default: break;
    }
    return QWidget::event(E);
}

bool TControl::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched != FNativeWidget || FDelivering || ComponentState().Contains(csDestroying))
        return QWidget::eventFilter(Watched, E);
    switch (E->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: return TranslateKey(static_cast<QKeyEvent*>(E), E->type() == QEvent::KeyPress);
        case QEvent::ShortcutOverride:
            // As for every control: the key goes to the control first (accelerators included).
            E->accept();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: return TranslateMouse(static_cast<QMouseEvent*>(E), FNativeWidget);
        case QEvent::Wheel: return TranslateWheel(static_cast<QWheelEvent*>(E), FNativeWidget);
        case QEvent::FocusIn: FocusIn(nullptr); return false;
        case QEvent::FocusOut: FocusOut(QApplication::focusWidget()); return false;
        case QEvent::ToolTip: return HandleToolTip(E);
        default: return false;
    }
}

void TControl::TranslateDrop(QEvent* E) {
    TDropRequest R;
    if (E->type() == QEvent::DragLeave) {
        R.Stage = drLeave;
        Guard(this, [&] { DropRequest(R); });
        E->accept();
        return;
    }
    auto* D = static_cast<QDropEvent*>(E);
    R.Stage = E->type() == QEvent::DragEnter ? drEnter : E->type() == QEvent::DragMove ? drOver : drDrop;
    R.Data = D->mimeData();
    const QPoint P = D->position().toPoint();
    R.ScreenPos = ClientToScreen(TPoint{P.x(), P.y()});
    R.Shift = ModifiersToShift(D->modifiers());
    R.OKEffects = 0;
    if (D->possibleActions() & Qt::CopyAction) R.OKEffects |= DROPEFFECT_COPY;
    if (D->possibleActions() & Qt::MoveAction) R.OKEffects |= DROPEFFECT_MOVE;
    Guard(this, [&] { DropRequest(R); });
    const Qt::DropAction A = (R.Effect & DROPEFFECT_MOVE) ? Qt::MoveAction
        : (R.Effect & DROPEFFECT_COPY)                    ? Qt::CopyAction
                                                          : Qt::IgnoreAction;
    if (A == Qt::IgnoreAction) {
        D->setDropAction(Qt::IgnoreAction);
        // An entered drag stays announced to the control, so that it follows the data to a
        // place where it can be dropped.
        if (E->type() == QEvent::DragEnter)
            D->accept();
        else
            D->ignore();
        return;
    }
    D->setDropAction(A);
    D->accept();
}

namespace {
TDragRunner& DragRunner() {
    static TDragRunner R;
    return R;
}

int SystemDragDrop(TDragStart& Start) {
    auto* Drag = new QDrag(Start.Source);
    Drag->setMimeData(Start.Data.release());
    if (!Start.Picture.isNull()) {
        Drag->setPixmap(Start.Picture);
        Drag->setHotSpot(QPoint(Start.HotSpot.X, Start.HotSpot.Y));
    }
    auto Feedback = Start.Feedback;
    QObject::connect(Drag, &QDrag::actionChanged, Drag, [Feedback](Qt::DropAction A) {
        if (!Feedback) return;
        Feedback(A == Qt::MoveAction ? DROPEFFECT_MOVE : A == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_NONE);
    });
    Qt::DropActions Allowed;
    if (Start.OKEffects & DROPEFFECT_COPY) Allowed |= Qt::CopyAction;
    if (Start.OKEffects & DROPEFFECT_MOVE) Allowed |= Qt::MoveAction;
    const Qt::DropAction Done =
        Drag->exec(Allowed, (Start.OKEffects & DROPEFFECT_MOVE) ? Qt::MoveAction : Qt::CopyAction);
    Drag->deleteLater();
    return Done == Qt::MoveAction ? DROPEFFECT_MOVE : Done == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}
} // namespace

int RunDragDrop(TDragStart& Drag) {
    if (DragRunner()) return DragRunner()(Drag);
    return SystemDragDrop(Drag);
}

void SetDragRunner(TDragRunner Runner) { DragRunner() = std::move(Runner); }

// ---- TWinControl ------------------------------------------------------------------------------
TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    setAutoFillBackground(true);
    // A click does not take the focus by itself: controls that want it take it in MouseDown.
    setFocusPolicy(Qt::NoFocus);
}

TWinControl::~TWinControl() {
    Destroying();
    for (TControl* C : FControls) C->FParent = nullptr;
    FControls.clear();
    FTabList.clear();
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
    QPainter* P = Canvas ? Canvas->Painter() : nullptr;
    if (!P) return;
    if (!testAttribute(Qt::WA_WState_Polished)) ensurePolished();
    // The canvas keeps its own pen, brush and clip on the painter: they come back untouched.
    P->save();
    render(P, QPoint(X, Y), QRegion(), QWidget::DrawChildren);
    P->restore();
}

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= int(FControls.size()))
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FControls[size_t(Index)];
}

TControl* TWinControl::FindChildControl(const QString& ControlName) const {
    for (TControl* C : FControls)
        if (C->Name().compare(ControlName, Qt::CaseInsensitive) == 0) return C;
    return nullptr;
}

void TWinControl::InsertControl(TControl* C) {
    FControls.push_back(C);
    if (auto* W = dynamic_cast<TWinControl*>(C)) FTabList.push_back(W);
}

void TWinControl::RemoveControl(TControl* C) {
    FControls.erase(std::remove(FControls.begin(), FControls.end(), C), FControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), C), FTabList.end());
    if (!ComponentState().Contains(csDestroying) && C->Align() != alNone) AlignControls();
}

void TWinControl::SetTabStop(bool Value) {
    FTabStop = Value;
    if (!NativeWidget()) setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus);
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    auto& L = Parent()->FTabList;
    auto It = std::find(L.begin(), L.end(), this);
    return It == L.end() ? -1 : int(It - L.begin());
}

void TWinControl::SetTabOrder(int Value) {
    if (!Parent()) return;
    auto& L = Parent()->FTabList;
    auto It = std::find(L.begin(), L.end(), this);
    if (It == L.end()) return;
    L.erase(It);
    Value = std::clamp(Value, 0, int(L.size()));
    L.insert(L.begin() + Value, this);
}

bool TWinControl::CanFocus() const {
    const TControl* C = this;
    while (C) {
        if (!C->Visible() || !C->Enabled()) return false;
        if (!C->Parent()) {
            // The top of the chain must be a window that is on the screen.
            return C->isWindow() && C->isVisible();
        }
        C = C->Parent();
    }
    return false;
}

bool TWinControl::Focused() const { return hasFocus(); }

void TWinControl::SetFocus() {
    if (TForm* F = ParentForm()) {
        if (F != this) F->SetActiveControl(this);
    }
    if (!CanFocus()) return;
    if (QWidget* W = window()) {
        if (!W->isActiveWindow()) W->activateWindow();
    }
    setFocus(Qt::OtherFocusReason);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
    for (TWinControl* W : FTabList) {
        List.push_back(W);
        W->GetTabOrderList(List);
    }
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    std::vector<TWinControl*> List;
    GetTabOrderList(List);
    if (List.empty()) return;
    int N = int(List.size());
    int Start = -1;
    for (int I = 0; I < N; ++I)
        if (List[size_t(I)] == CurControl) Start = I;
    if (Start < 0) Start = GoForward ? N - 1 : 0;
    int I = Start;
    for (int Step = 0; Step < N; ++Step) {
        I = GoForward ? (I + 1) % N : (I - 1 + N) % N;
        TWinControl* W = List[size_t(I)];
        if (W == CurControl) break;
        if (W->CanFocus() && (!CheckTabStop || W->TabStop())) {
            W->SetFocus();
            return;
        }
    }
}

void TWinControl::AlignControls() {
    if (FAlignLock > 0) return;
    ++FAlignLock;
    TRect R = AlignRect();
    const TAlign Order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign A : Order) {
        for (TControl* C : FControls) {
            if (C->Align() != A || !C->Visible()) continue;
            switch (A) {
                case alTop:
                    C->SetBounds(R.Left, R.Top, R.Width(), C->Height());
                    R.Top += C->Height();
                    break;
                case alBottom:
                    C->SetBounds(R.Left, R.Bottom - C->Height(), R.Width(), C->Height());
                    R.Bottom -= C->Height();
                    break;
                case alLeft:
                    C->SetBounds(R.Left, R.Top, C->Width(), std::max(0, R.Height()));
                    R.Left += C->Width();
                    break;
                case alRight:
                    C->SetBounds(R.Right - C->Width(), R.Top, C->Width(), std::max(0, R.Height()));
                    R.Right -= C->Width();
                    break;
                case alClient: C->SetBounds(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())); break;
                default: break;
            }
        }
    }
    --FAlignLock;
}

void TWinControl::Broadcast(TMessage& Message) {
    std::vector<TControl*> List = FControls;
    for (TControl* C : List) {
        C->WndProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::AnchorControls() {
    int W = ClientWidth(), H = ClientHeight();
    for (TControl* C : FControls) {
        if (C->Align() != alNone) continue;
        TAnchors A = C->Anchors();
        if (!A.Contains(akRight) && !A.Contains(akBottom)) {
            continue;
        }
        int L = C->Left(), T = C->Top(), CW = C->Width(), CH = C->Height();
        if (A.Contains(akRight)) {
            if (A.Contains(akLeft))
                CW = std::max(0, W - C->FAnchorRight - L);
            else
                L = W - C->FAnchorRight - CW;
        }
        if (A.Contains(akBottom)) {
            if (A.Contains(akTop))
                CH = std::max(0, H - C->FAnchorBottom - T);
            else
                T = H - C->FAnchorBottom - CH;
        }
        C->FAnchoring = true;
        C->SetBounds(L, T, CW, CH);
        C->FAnchoring = false;
    }
}

void TWinControl::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_COMMAND: {
            // A child's notification: the child itself acts on it (its change and select events).
            auto* Sender = reinterpret_cast<TControl*>(M.LParam);
            if (Sender && Sender != this) {
                M.Result = Sender->Perform(M.Msg, M.WParam, M.LParam);
                return;
            }
            TControl::WndProc(M);
            return;
        }
        default: TControl::WndProc(M);
    }
}

void TWinControl::resizeEvent(QResizeEvent* E) {
    TControl::resizeEvent(E);
    AlignControls();
    AnchorControls();
}

// ---- TCustomControl / TGraphicControl ---------------------------------------------------------
TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->Font()->Assign(Font());
}

TCustomControl::~TCustomControl() = default;

// A control paints through its canvas, which starts each paint with the control's font and colour.
static void PaintWithCanvas(TControl* Control, TCanvas& Canvas) {
    Canvas.Font()->Assign(Control->Font());
    Canvas.Brush()->SetColor(Control->Color());
    Canvas.BeginPaintOn(Control);
    try {
        Control->Perform(WM_PAINT);
    } catch (...) {
        Canvas.EndPaint();
        throw;
    }
    Canvas.EndPaint();
}

void TCustomControl::PaintHandler() { PaintWithCanvas(this, *FCanvas); }

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    setFocusPolicy(Qt::NoFocus);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintHandler() { PaintWithCanvas(this, *FCanvas); }

// ---- TTimer -----------------------------------------------------------------------------------
TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(new QTimer()) {
    QObject::connect(FTimer, &QTimer::timeout, [this] { Tick(); });
}

TTimer::~TTimer() { delete FTimer; }

void TTimer::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
    if (FInterval == Value) return;
    FInterval = Value;
    FTimer->stop();
    UpdateTimer();
}

bool TTimer::Running() const { return FTimer->isActive(); }

void TTimer::UpdateTimer() {
    if (FEnabled && FInterval > 0) {
        if (!FTimer->isActive()) FTimer->start(int(FInterval));
    } else {
        FTimer->stop();
    }
}

void TTimer::Tick() {
    TControl::Guard(this, [this] { Timer(); });
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

// ---- TScreen, TMouse --------------------------------------------------------------------------
TScreen* Screen = new TScreen(nullptr);
static TMouse GMouse;
TMouse* Mouse = &GMouse;

void TScreen::SetCursor(TCursor Value) {
    if (FCursor == Value) return;
    if (FCursor != crDefault) QApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value != crDefault) QApplication::setOverrideCursor(CursorToQCursor(Value));
}

QCursor TScreen::Cursors(TCursor Index) const {
    auto It = FCursors.find(Index);
    return It == FCursors.end() ? QCursor(Qt::ArrowCursor) : It->second;
}

void TScreen::SetCursors(TCursor Index, const QCursor& Value) { FCursors[Index] = Value; }

int TScreen::Width() const {
    QScreen* S = QGuiApplication::primaryScreen();
    return S ? S->geometry().width() : 0;
}

int TScreen::Height() const {
    QScreen* S = QGuiApplication::primaryScreen();
    return S ? S->geometry().height() : 0;
}

TRect TScreen::WorkAreaRect() const {
    QScreen* S = QGuiApplication::primaryScreen();
    if (!S) return {};
    QRect R = S->availableGeometry();
    return Bounds(R.x(), R.y(), R.width(), R.height());
}

TForm* TScreen::ActiveForm() const { return dynamic_cast<TForm*>(QApplication::activeWindow()); }

TWinControl* TScreen::ActiveControl() const {
    return dynamic_cast<TWinControl*>(ControlOf(QApplication::focusWidget()));
}

int TScreen::FormCount() const { return int(Application->Forms().size()); }

TForm* TScreen::Forms(int Index) const {
    const auto& L = Application->Forms();
    if (Index < 0 || Index >= int(L.size()))
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return L[size_t(Index)];
}

TPoint TMouse::CursorPos() const {
    QPoint P = QCursor::pos();
    return {P.x(), P.y()};
}

void TMouse::SetCursorPos(const TPoint& P) { QCursor::setPos(P.X, P.Y); }

int TMouse::WheelScrollLines() const { return QApplication::wheelScrollLines(); }

TControl* TMouse::Capture() const { return ControlOf(QWidget::mouseGrabber()); }

void TMouse::SetCapture(TControl* Control) {
    if (Control)
        Control->grabMouse();
    else if (QWidget* W = QWidget::mouseGrabber())
        W->releaseMouse();
}

bool GetCursorPos(TPoint& P) {
    P = Mouse->CursorPos();
    return true;
}
