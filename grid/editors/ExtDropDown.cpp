// The drop-down edit: creation, opening and closing the popup, keys, focus, mouse, the attached
// label, layout and painting.
#include "grid/editors/ExtDropDown.h"

#include "platform/rtl/Clock.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QScreen>

// ---- creation -------------------------------------------------------------------------------
TExtCustomDropDown::TExtCustomDropDown(TComponent* AOwner)
    : TCustomEdit(AOwner), FDropDownHeader(std::make_unique<THeaderAppearance>(this)),
      FButtonAppearance(std::make_unique<TExtButtonAppearance>()),
      FDropDownFooter(std::make_unique<TFooterAppearance>(this)) {
    TCustomEdit::SetBounds(Left(), Top(), 200, 21);
    FDropDownHeader->OnChange = [this](TObject* S) { HeaderChanged(S); };
    FDropDownHeader->OnButtonsChanged = [this](TObject* S) { HeaderChanged(S); };
    FDropDownFooter->OnChange = [this](TObject* S) { HeaderChanged(S); };
    FDropDownFooter->OnButtonsChanged = [this](TObject* S) { HeaderChanged(S); };
    FLabelFont.OnChange = [this](TObject*) {
        if (FLabel) UpdateLabel();
        if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) SetParentFont(false);
    };
    Native()->installEventFilter(this);
}

TExtCustomDropDown::~TExtCustomDropDown() {
    Destroying();
    delete FLabel;
    FLabel = nullptr;
    if (FDropDownForm) {
        FDropDownForm->SetExtDropDown(nullptr);
        delete FDropDownForm;
        FDropDownForm = nullptr;
    }
}

void TExtCustomDropDown::AfterConstruction() {
    TCustomEdit::AfterConstruction();
    if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
    CreateButton();
    SetReadOnly(false);
    FDropPosition = dpAuto;
    SetText(QString());
    FOldText.clear();
    FUserDropDownWidth = -1;
    FUserDropDownHeight = -1;
    FCanUndo = true;
    FAutoThousandSeparator = true;
    SetSelectionColorStyle(scOffice2007);
    FFocusDraw = true;
    SetComponentStyle(tsOffice2007Luna);
    FLabelMargin = 4;
    ResizeControl();
}

void TExtCustomDropDown::CreateDropDownForm() {
    if (FDropDownForm) return;
    FDropDownForm = new TDropDownForm(this);
    FDropDownForm->AfterConstruction();
    FDropDownForm->SetExtDropDown(this);
    FDropDownForm->OnHide = [this](TObject*) { AfterDropUp(); };
    FDropDownForm->OnFormKeyPress = [this](TObject*, QChar& Key) { FormKeyPress(Key); };
    FDropDownForm->OnFormKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
    FDropDownForm->OnFormKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyUp(Key, Shift); };
    FDropDownForm->OnFormMouseWheelDown = [this](TObject*, TShiftState Shift, TPoint P, bool&) {
        FormMouseWheelDown(Shift, P);
    };
    FDropDownForm->OnFormMouseWheelUp = [this](TObject*, TShiftState Shift, TPoint P, bool&) {
        FormMouseWheelUp(Shift, P);
    };
    FDropDownForm->OnDestroy = [this](TObject*) {
        if (!ComponentState().Contains(csDestroying)) DropDownFormDestroyed();
    };
    FDropDownForm->OnSizing = [this](TObject*) { DropDownSizing(); };
    FDropDownForm->resize(std::max(0, FDropDownWidth), std::max(0, FDropDownHeight));
}

void TExtCustomDropDown::CreateButton() {
    if (FButton) return;
    FButton = new TDropDownEditButton(this);
    FButton->SetParent(this);
    FButton->AfterConstruction();
    FButton->OnClick = [this](TObject* S) { ButtonClick(S); };
    if (ComponentState().Contains(csDesigning)) FButton->ButtonColor = clBtnFace;
    UpdateButton();
}

void TExtCustomDropDown::UpdateButton() {
    if (!FButton) return;
    FButton->SetButtonWidth(FButtonWidth);
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetFocusControl(this);
}

void TExtCustomDropDown::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TExtCustomDropDown*>(Source);
    if (!S) return;
    FFocusDraw = S->FFocusDraw;
    FForceShadow = S->FForceShadow;
    FDropDownEnabled = S->FDropDownEnabled;
    FDropDownColor = S->FDropDownColor;
    FDropDownColorTo = S->FDropDownColorTo;
    FDropDownGradient = S->FDropDownGradient;
    FDropDownBorderColor = S->FDropDownBorderColor;
    FDropDownBorderWidth = S->FDropDownBorderWidth;
    FDropDownShadow = S->FDropDownShadow;
    FDropDownWidth = S->FDropDownWidth;
    FDropDownHeight = S->FDropDownHeight;
    FDropDownSizeable = S->FDropDownSizeable;
    FEditType = S->FEditType;
    FReturnIsTab = S->FReturnIsTab;
    FLengthLimit = S->FLengthLimit;
    FPrecision = S->FPrecision;
    FPrefix = S->FPrefix;
    FSuffix = S->FSuffix;
    FDefaultHandling = S->FDefaultHandling;
    FCanUndo = S->FCanUndo;
    FExcelStyleDecimalSeparator = S->FExcelStyleDecimalSeparator;
    FValidChars = S->FValidChars;
    FSigned = S->FSigned;
    FAutoThousandSeparator = S->FAutoThousandSeparator;
    FButtonAppearance->Assign(S->FButtonAppearance.get());
    FDropDownHeader->Assign(S->FDropDownHeader.get());
    FDropDownFooter->Assign(S->FDropDownFooter.get());
    SetDropPosition(S->FDropPosition);
    SetFlat(S->FFlat);
    SetDropDownButtonWidth(S->FButtonWidth);
    SetDropDownButtonHint(S->FButtonHint);
    FEditorEnabled = S->FEditorEnabled;
    FButton->SetGlyph(S->FButton->Glyph());
    FButton->SetButtonCaption(S->FButton->ButtonCaption());
    FEtched = S->FEtched;
    SetImages(S->FImages);
    FSelectionColorStyle = S->FSelectionColorStyle;
    FSelectionColor = S->FSelectionColor;
    FSelectionColorTo = S->FSelectionColorTo;
}

QString TExtCustomDropDown::Version() const {
    const int V = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4").arg((V >> 24) & 0xFF).arg((V >> 16) & 0xFF).arg((V >> 8) & 0xFF).arg(V & 0xFF);
}

void TExtCustomDropDown::HeaderChanged(TObject*) {
    if (FDroppedDown && FDropDownForm) FDropDownForm->InitializeAndUpdate();
}

// ---- settings -------------------------------------------------------------------------------
void TExtCustomDropDown::SetImages(TCustomImageList* Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
}

void TExtCustomDropDown::SetEditorEnabled(bool Value) {
    FEditorEnabled = Value;
    Native()->update();
}

void TExtCustomDropDown::SetFlat(bool Value) {
    FFlat = Value;
    ResizeControl();
}

void TExtCustomDropDown::SetDropDownWidth(int Value) {
    FDropDownWidth = Value;
    FUserDropDownWidth = -1;
    FUserDropDownHeight = -1;
}

void TExtCustomDropDown::SetDropDownHeight(int Value) {
    FDropDownHeight = Value;
    FUserDropDownWidth = -1;
    FUserDropDownHeight = -1;
}

void TExtCustomDropDown::SetDropDownButtonWidth(int Value) {
    if (!FButton || Value == FButtonWidth) return;
    FButtonWidth = Value;
    FButton->SetButtonWidth(Value);
    ResizeControl();
}

void TExtCustomDropDown::SetDropDownButtonHint(const QString& Value) {
    if (Value == FButtonHint) return;
    FButtonHint = Value;
    if (FButton) {
        FButton->SetHint(Value);
        FButton->SetShowHint(!Value.isEmpty());
        FButton->Button()->SetHint(Value);
        FButton->Button()->SetShowHint(!Value.isEmpty());
    }
}

void TExtCustomDropDown::SetBorderColor(TColor Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    Native()->update();
    if (FButton) FButton->Button()->update();
}

void TExtCustomDropDown::SetDisabledBorder(bool Value) {
    if (Value == FDisabledBorder) return;
    FDisabledBorder = Value;
    Native()->update();
}

void TExtCustomDropDown::SetControl(TControl* Value) {
    if (Value == FControl) return;
    FControl = Value;
    if (!ComponentState().Contains(csDesigning)) PlaceControl();
}

void TExtCustomDropDown::SetEnabled(bool Value) {
    TCustomEdit::SetEnabled(Value);
    if (FButton) FButton->SetEnabled(Value);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Value);
    Native()->update();
}

void TExtCustomDropDown::SetVisible(bool Value) {
    TCustomEdit::SetVisible(Value);
    if (FLabel && !FLabel->Caption().isEmpty()) FLabel->SetVisible(Value);
}

void TExtCustomDropDown::Loaded() {
    TCustomEdit::Loaded();
    FParentFnt = ParentFont();
    SetEditRect();
    ResizeControl();
    if (FButton) FButton->SetEnabled(Enabled());
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    if (FLabel) UpdateLabel();
    if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
}

void TExtCustomDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomEdit::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FFocusControl) FFocusControl = nullptr;
    if (AComponent == FControl) FControl = nullptr;
    if (AComponent == FLabel) FLabel = nullptr;
}

void TExtCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent()) UpdateLabel();
}

// ---- opening and closing --------------------------------------------------------------------
void TExtCustomDropDown::BeforeDropDown() {
    if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TExtCustomDropDown::FocusDropDownControl() {
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
}

void TExtCustomDropDown::PlaceControl() {
    if (!FDropDownForm || !FControl) return;
    FControl->SetParent(FDropDownForm);
    FControl->SetTop(FDropDownHeader->Visible() ? FDropDownHeader->Height() + 2 : FDropDownBorderWidth);
    FControl->SetAlign(alClient);
}

void TExtCustomDropDown::SizeDropDown() {
    if (!FDropDownForm) return;
    int W, H;
    if (FDropDownWidth > 0)
        W = FDropDownWidth;
    else if (FControl && FControl->Visible())
        W = FControl->Width();
    else
        W = Width();
    if (FDropDownHeight > 0) {
        H = FDropDownHeight;
    } else {
        H = 2 * FDropDownBorderWidth;
        if (FDropDownHeader->Visible()) H += FDropDownHeader->Height();
        if (FDropDownFooter->Visible()) H += FDropDownFooter->Height();
        if (FControl && FControl->Visible()) H += FControl->Height();
    }
    FDropDownForm->resize(W, H);
}

TRect TExtCustomDropDown::WorkAreaAt(const TPoint& P) const {
    QScreen* S = QGuiApplication::screenAt(QPoint(P.X, P.Y));
    if (!S) S = QGuiApplication::primaryScreen();
    if (!S) return Screen->WorkAreaRect();
    QRect R = S->availableGeometry();
    return Bounds(R.x(), R.y(), R.width(), R.height());
}

void TExtCustomDropDown::DoDropDown() {
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->isVisible() || !Enabled() ||
        ReadOnly())
        return;
    QPointer<TExtCustomDropDown> Self(this);
    // A cancel puts back the text the edit shows now, whatever the kind writes while open.
    FOldText = GetText();
    BeforeDropDown();
    if (!Self) return;
    TDropDownForm* F = FDropDownForm;
    struct TPlacing {
        TDropDownForm* F;
        explicit TPlacing(TDropDownForm* Form) : F(Form) { F->SetPlacing(true); }
        ~TPlacing() { F->SetPlacing(false); }
    } Placing(F);
    F->SetShadow(FDropDownShadow);
    F->InitializeAndUpdate();
    F->setWindowFlag(Qt::NoDropShadowWindowHint, !FDropDownShadow);
    F->move(Left(), Top());
    SizeDropDown();
    PlaceControl();
    F->setMinimumSize(80, 50);
    if (auto* W = dynamic_cast<TWinControl*>(FControl)) {
        W->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
        W->OnKeyPress = [this](TObject*, QChar& Key) { ControlKeyPress(Key); };
        W->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
    }
    QPoint Anchor = mapToGlobal(QPoint(0, 0));
    int X = Anchor.x(), Y = Anchor.y();
    int PW = F->width(), PH = F->height();
    switch (FDropPosition) {
        case dpAuto: Y = PH + Anchor.y() < Screen->Height() ? Anchor.y() + Height() - 1 : Anchor.y() - PH; break;
        case dpDown: Y = Anchor.y() + Height() - 1; break;
        case dpUp: Y = Anchor.y() - PH; break;
    }
    F->move(X, Y);
    bool Accept = true;
    if (OnDropDown) OnDropDown(this, Accept);
    if (!Self || !Accept) return;
    TRect Work = WorkAreaAt(Point(Anchor.x(), Anchor.y()));
    if (FUserDropDownWidth != -1 && FUserDropDownHeight != -1) {
        PW = FUserDropDownWidth;
        PH = FUserDropDownHeight;
    }
    // The popup stays wholly inside the work area of its monitor, whichever side of the primary
    // one that monitor lies on: a part outside it could not be reached.
    auto KeepInside = [&Work](int& Pos, int Size, bool Horizontal) {
        const int Low = Horizontal ? Work.Left : Work.Top, High = Horizontal ? Work.Right : Work.Bottom;
        if (Pos + Size > High) Pos = High - Size;
        if (Pos < Low) Pos = Low;
    };
    KeepInside(X, std::max(PW, 80), true);
    KeepInside(Y, std::max(PH, 50), false);
    F->setGeometry(X, Y, 0, 0);
    F->SetVisible(true);
    if (FDropDownShadow && FForceShadow) {
        F->SetVisible(false);
        F->resize(1, 1);
        F->SetVisible(true);
    }
    AdaptDropDownHeight(PH);
    KeepInside(Y, std::max(PH, 50), false);
    FDroppedDown = true;
    F->setGeometry(X, Y, std::max(PW, 80), std::max(PH, 50));
    F->AlignControls();
    FocusDropDownControl();
}

void TExtCustomDropDown::DoHideDropDown(bool Cancelled) {
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || !FDropDownForm->isVisible()) return;
    QPointer<TExtCustomDropDown> Self(this);
    if (OnBeforeDropUp) OnBeforeDropUp(this);
    if (!Self) return;
    FUserDropDownWidth = FDropDownForm->width();
    FUserDropDownHeight = FDropDownForm->height();
    FDropDownForm->Hide();
    if (!Self) return;
    if (FDroppedDown) AfterDropUp(); // a hide while activation was blocked
    // The window the popup belongs to gets the input back once the popup is gone.
    if (QWidget* W = window(); W && W->isVisible() && !W->isActiveWindow()) QApplication::setActiveWindow(W);
    if (TabStop() && CanFocus() && !Focused()) SetFocus();
    Application->CancelHint();
    if (Cancelled) SetText(FOldText);
    if (OnDropUp) OnDropUp(this, Cancelled);
}

void TExtCustomDropDown::AfterDropUp() {
    FDroppedDown = false;
    if (TabStop() && CanFocus() && !Focused() && !ComponentState().Contains(csDestroying)) SetFocus();
}

void TExtCustomDropDown::ToggleDropDown() {
    if (FDroppedDown)
        DoHideDropDown(false);
    else
        DoDropDown();
}

void TExtCustomDropDown::ButtonClick(TObject*) {
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->isVisible()) return;
    const uint32_t Last = FDropDownForm->DeActivateTick();
    // The press that took the activation from the popup also lands on this button: it must not
    // open the popup it has just closed.
    if (Last != 0 && uint32_t(Clock().TickCount()) - Last <= 250) return;
    DoDropDown();
}

void TExtCustomDropDown::FormMouseWheelDown(TShiftState, TPoint) { MouseWheelDownHook(); }
void TExtCustomDropDown::FormMouseWheelUp(TShiftState, TPoint) { MouseWheelUpHook(); }
void TExtCustomDropDown::FormKeyPress(QChar& Key) { Perform(WM_CHAR, Key.unicode()); }
void TExtCustomDropDown::FormKeyDown(Word& Key, TShiftState Shift) { Perform(WM_KEYDOWN, Key, LPARAM(Shift.Bits())); }
void TExtCustomDropDown::FormKeyUp(Word& Key, TShiftState Shift) { Perform(WM_KEYUP, Key, LPARAM(Shift.Bits())); }
void TExtCustomDropDown::ControlKeyDown(Word& Key, TShiftState Shift) {
    Perform(WM_KEYDOWN, Key, LPARAM(Shift.Bits()));
}
void TExtCustomDropDown::ControlKeyUp(Word& Key, TShiftState Shift) { Perform(WM_KEYUP, Key, LPARAM(Shift.Bits())); }
void TExtCustomDropDown::ControlKeyPress(QChar& Key) { Perform(WM_CHAR, Key.unicode()); }

// ---- messages -------------------------------------------------------------------------------
void TExtCustomDropDown::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_KEYDOWN: {
            FLastKeyDown = Word(M.WParam);
            if (FSwallowKey != 0 && Word(M.WParam) == FSwallowKey) return;
            // Alt combinations are system keys: they reach the key-down event only.
            if (TShiftState::FromBits(uint32_t(M.LParam)).Contains(ssAlt) || ComponentState().Contains(csDesigning)) {
                TCustomEdit::WndProc(M);
                return;
            }
            WMKeyDown(M);
            return;
        }
        case WM_CHAR:
            if (FSwallowKey == VK_ESCAPE && M.WParam == 27) {
                FSwallowKey = 0;
                return;
            }
            FSwallowKey = 0;
            WMChar(M);
            return;
        case WM_KEYUP:
            if (FSwallowKey != 0 && Word(M.WParam) == FSwallowKey) FSwallowKey = 0;
            break;
        case WM_LBUTTONDBLCLK:
            // A value that cannot be typed takes no double clicks: the second click is a click.
            if (FEditorEnabled) break;
            M.Msg = WM_LBUTTONDOWN;
            WMLButtonDown(M);
            return;
        case WM_CUT: WMCut(M); return;
        case WM_COPY: WMCopy(M); return;
        case WM_PASTE: WMPaste(M); return;
        case WM_SETFOCUS: SetFocusMessageHandler(M); return;
        case WM_KILLFOCUS: KillFocusMessageHandler(M); return;
        case CM_WANTSPECIALKEY: CMWantSpecialKey(M); return;
        case CM_ENTER: CMEnter(M); return;
        case CM_EXIT:
            TCustomEdit::WndProc(M);
            Native()->update();
            return;
        case WM_LBUTTONDOWN: WMLButtonDown(M); return;
        case WM_LBUTTONUP: WMLButtonUp(M); return;
        case WM_SIZE:
            TCustomEdit::WndProc(M);
            ResizeControl();
            return;
        case WM_COMMAND:
            if (M.LParam == LPARAM(this) && HiWord(M.WParam) == EN_CHANGE && FBlockChange) {
                FBlockChange = false;
                return;
            }
            break;
        case EM_SETREADONLY:
            TCustomEdit::WndProc(M);
            if (FButton) FButton->Button()->update();
            return;
        case CM_ENABLEDCHANGED:
            TCustomEdit::WndProc(M);
            if (FButton) FButton->SetEnabled(Enabled());
            return;
        default: break;
    }
    TCustomEdit::WndProc(M);
}

void TExtCustomDropDown::Change() {
    ++FChangeCount;
    TCustomEdit::Change();
}

void TExtCustomDropDown::WMKeyDown(TMessage& M) {
    Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    bool TabPosted = false;
    auto Inherited = [&] {
        M.WParam = Key;
        // The posted Tab moves the focus; the edit itself would move it once more.
        if (TabPosted || ClipboardKey(Key, Shift)) return;
        TCustomEdit::WndProc(M);
    };
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) ToggleDropDown();
    if (!FEditorEnabled && Enabled()) {
        if (!ReadOnly()) {
            if (Key == VK_RETURN)
                DoHideDropDown(false);
            else if (Key == VK_ESCAPE)
                DoHideDropDown(true);
            else if (Key == VK_F4)
                ToggleDropDown();
        }
        if (Key == VK_RETURN || Key == VK_ESCAPE) Inherited();
        return;
    }
    if (Shift.Contains(ssCtrl) && (Key == VK_TAB || Key == VK_RETURN)) {
        Inherited();
        return;
    }
    if (Key == VK_RETURN && FReturnIsTab) {
        // Enter accepts an open popup before it moves on: left open, the popup would lose its
        // activation to the next control and cancel what Enter accepted.
        if (FDroppedDown) {
            QPointer<TExtCustomDropDown> Self(this);
            DoHideDropDown(false);
            if (!Self) return;
        }
        Key = VK_TAB;
        // The Tab goes the way a typed Tab goes: to the form, which moves the focus on.
        if (isVisible())
            if (TForm* Form = ParentForm()) {
                PostMessage(Form, CM_DIALOGKEY, VK_TAB, 0);
                TabPosted = true;
            }
    }
    const int Pl = PrefixLength();
    const int ValueLen = int(GetText().size());
    const int SelEnd = HiWord(uintptr_t(Perform(EM_GETSEL)));
    if (Key == VK_RIGHT && !FSuffix.isEmpty() && SelEnd >= Pl + ValueLen) return;
    if (Key == VK_DELETE && !FSuffix.isEmpty()) {
        if (SelEnd >= Pl + ValueLen && SelLength() == 0) return;
        SetModified(true);
    }
    if (Key == VK_LEFT && !FPrefix.isEmpty() && SelEnd <= Pl) return;
    if (Key == VK_END && !FSuffix.isEmpty()) {
        if (Shift.Contains(ssShift))
            Perform(EM_SETSEL, WPARAM(SelStart()), LPARAM(Pl + ValueLen));
        else
            SetSelStart(Pl + ValueLen);
        return;
    }
    if (Key == VK_HOME && !FPrefix.isEmpty()) {
        if (Shift.Contains(ssShift))
            Perform(EM_SETSEL, WPARAM(Pl + ValueLen), LPARAM(Pl));
        else
            SetSelStart(Pl);
        return;
    }
    if (Key == VK_BACK && !FPrefix.isEmpty()) {
        if (SelStart() <= Pl && SelLength() == 0) return;
        SetModified(true);
    }
    if (Key == VK_DELETE && SelStart() >= Pl) {
        QString V = GetText();
        int At = SelStart() - Pl;
        V.remove(At, SelLength() > 0 ? SelLength() : 1);
        if (FLengthLimit > 0 && IntegerDigits(V) - 1 > FLengthLimit) return;
        SetModified(true);
    }
    QPointer<TExtCustomDropDown> Self(this);
    Inherited();
    if (!Self) return;
    if (Key == VK_DELETE && FEditType == etMoney && !ReadOnly()) FormatMoney();
    if (!FPrefix.isEmpty() && SelStart() < Pl) SetSelStart(Pl);
    if (Key == VK_RETURN)
        DoHideDropDown(false);
    else if (Key == VK_ESCAPE)
        DoHideDropDown(true);
    else if (Key == VK_F4)
        ToggleDropDown();
}

// The edit's own clipboard keys would paste, cut and copy past the edit type's rules and the
// clipboard events: they take the clipboard messages instead. Ctrl+C, Ctrl+V and Ctrl+X act
// through the character they make.
bool TExtCustomDropDown::ClipboardKey(Word Key, TShiftState Shift) {
    if (Shift.Contains(ssAlt)) return false;
    const bool Ctrl = Shift.Contains(ssCtrl), ShiftDown = Shift.Contains(ssShift);
    if (Key == VK_INSERT && ShiftDown && !Ctrl) {
        Perform(WM_PASTE);
        return true;
    }
    if (Key == VK_INSERT && Ctrl && !ShiftDown) {
        Perform(WM_COPY);
        return true;
    }
    if (Key == VK_DELETE && ShiftDown && !Ctrl) {
        Perform(WM_CUT);
        return true;
    }
    return Ctrl && (Key == 'C' || Key == 'V' || Key == 'X');
}

void TExtCustomDropDown::KeyDown(Word& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) ToggleDropDown();
}

void TExtCustomDropDown::KeyPress(QChar& Key) {
    TCustomEdit::KeyPress(Key);
    if (Key == QChar(13)) Key = QChar();
}

void TExtCustomDropDown::CMWantSpecialKey(TMessage& M) {
    TForm* Form = ParentForm();
    if (!Form || Form == static_cast<QWidget*>(this)) return;
    const Word Key = Word(M.WParam);
    bool Consumed = false;
    if (Key == VK_ESCAPE && FCanUndo && !Form->KeyPreview()) {
        SelectAll();
        TCustomEdit::SetModified(false);
        FIsModified = false;
        Consumed = true;
        if (Parent() && FDefaultHandling) {
            PostMessage(Parent(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(Parent(), WM_KEYUP, VK_ESCAPE, 0);
        }
    } else if (Key == VK_RETURN && FDefaultHandling && !Form->KeyPreview() && Parent() && Parent()->Focused()) {
        PostMessage(Parent(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessage(Parent(), WM_KEYUP, VK_RETURN, 0);
    }
    TCustomEdit::WndProc(M);
    if (Key == VK_ESCAPE && FDroppedDown) {
        M.Result = 1;
    } else if (Consumed) {
        // The key is used up here: neither the form's cancel button nor the edit sees it.
        FSwallowKey = VK_ESCAPE;
        M.Result = 1;
    }
}

// ---- focus and mouse ------------------------------------------------------------------------
void TExtCustomDropDown::SetFocusMessageHandler(TMessage& M) {
    if (ComponentState().Contains(csLoading)) return;
    TCustomEdit::WndProc(M);
    FHasFocus = true;
    if (IsEditable()) {
        FOldString = GetText();
        if (AutoSelect())
            SelectAll();
        else if (FEditType == etFloat || FEditType == etMoney)
            SelectBeforeDecimal();
    } else {
        Native()->update();
    }
}

void TExtCustomDropDown::KillFocusMessageHandler(TMessage& M) {
    if (ComponentState().Contains(csLoading)) return;
    const QString V = GetText();
    if ((FEditType == etFloat || FEditType == etMoney) && FPrecision > 0 && (!V.isEmpty() || !FAllowNumericNullValue)) {
        const bool Keep = FIsModified;
        SetFloatValue(GetFloatValue());
        SetModified(Keep);
    } else if (FEditType == etNumeric && V.isEmpty() && !FAllowNumericNullValue) {
        SetText(QStringLiteral("0"));
    } else if ((FEditType == etFloat || FEditType == etMoney) && V.isEmpty() && !FAllowNumericNullValue) {
        SetFloatValue(0);
    }
    FHasFocus = false;
    TCustomEdit::WndProc(M);
    if (!IsEditable()) Native()->update();
}

void TExtCustomDropDown::CMEnter(TMessage& M) {
    if (AutoSelect() && !(KeyboardShiftState().Contains(ssLeft))) SelectAll();
    TWinControl::WndProc(M); // the plain edit would select the prefix and suffix too
    Native()->update();
}

void TExtCustomDropDown::DoEnter() {
    TWinControl::DoEnter();
    SetEditRect();
}

void TExtCustomDropDown::MouseEnter() {
    TCustomEdit::MouseEnter();
    if (!Enabled()) return;
    FMouseInControl = true;
    Native()->update();
}

void TExtCustomDropDown::MouseLeave() {
    TCustomEdit::MouseLeave();
    if (!Enabled()) return;
    FMouseInControl = false;
    Native()->update();
}

bool TExtCustomDropDown::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool R = TCustomEdit::DoMouseWheelDown(Shift, MousePos);
    MouseWheelDownHook();
    return R;
}

bool TExtCustomDropDown::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool R = TCustomEdit::DoMouseWheelUp(Shift, MousePos);
    MouseWheelUpHook();
    return R;
}

void TExtCustomDropDown::WMLButtonDown(TMessage& M) {
    if (!FEditorEnabled) {
        TCustomEdit::WndProc(M);
        ButtonClick(this);
        return;
    }
    if (Focused() && SelLength() > 0) {
        int At = LoWord(uintptr_t(Perform(EM_CHARFROMPOS, 0, M.LParam)));
        if (At >= SelStart() && At < SelStart() + SelLength()) {
            FButtonDown = true;
            return;
        }
    }
    TCustomEdit::WndProc(M);
}

void TExtCustomDropDown::WMLButtonUp(TMessage& M) {
    if (!IsEditable()) Native()->update();
    if (FButtonDown) {
        int At = LoWord(uintptr_t(Perform(EM_CHARFROMPOS, 0, M.LParam)));
        SetSelStart(At);
    }
    FButtonDown = false;
    TCustomEdit::WndProc(M);
    const int Pl = PrefixLength();
    const int End = Pl + int(GetText().size());
    if (!FPrefix.isEmpty() && SelStart() < Pl) {
        SelectAll();
    } else if (!FSuffix.isEmpty()) {
        if (SelLength() == 0 && SelStart() > End)
            SetSelStart(End);
        else if (SelLength() > 0 && SelStart() + SelLength() > End)
            SetSelLength(End - SelStart());
    }
}

void TExtCustomDropDown::FontChanged() {
    TCustomEdit::FontChanged();
    if (HandleAllocated()) SetEditRect();
    if (FLabel && ParentFont()) {
        FLabel->Font()->Assign(Font());
        UpdateLabel();
    }
}

// ---- layout ---------------------------------------------------------------------------------
namespace {
constexpr int FrameInset = 2; // the edit's single 3-D border: child windows sit inside it
}

void TExtCustomDropDown::SetEditRect() {
    const bool Border = BorderStyle() != bsNone;
    const int ClientW = Width() - (Border ? 2 * FrameInset : 0);
    const int ClientH = Height() - (Border ? 2 * FrameInset : 0);
    FEditRect = Rect(Border ? 1 : 2, Border ? 1 : 3, ClientW - FButtonWidth - 3, ClientH + 1);
    const int RightMargin = std::max(0, ClientW - FEditRect.Right);
    Native()->setTextMargins(0, 0, RightMargin, 0);
}

int TExtCustomDropDown::GetMinHeight() const {
    TCanvas C;
    C.Font()->Assign(const_cast<TExtCustomDropDown*>(this)->Font());
    const int FontH = C.TextHeight(QStringLiteral("Wg"));
    TCanvas Sys;
    const int SysH = Sys.TextHeight(QStringLiteral("Wg"));
    return FontH + std::min(FontH, SysH) / 4;
}

void TExtCustomDropDown::ResizeControl() {
    if (FResizing || !FButton) return;
    struct TGuard {
        bool& F;
        explicit TGuard(bool& Flag) : F(Flag) { F = true; }
        ~TGuard() { F = false; }
    } G(FResizing);
    const int Min = GetMinHeight();
    if (Height() < Min) {
        TCustomEdit::SetBounds(Left(), Top(), Width(), Min);
    }
    const bool Border = BorderStyle() != bsNone;
    const int Off = Border ? FrameInset : 0;
    if (Border) {
        const int A = FFlat ? 3 : 4;
        const int Top = FFlat ? 2 : 0;
        FButton->SetBounds(Width() - FButtonWidth - A + Off, Top + Off, FButtonWidth,
                           std::max(0, std::min(Height() - A, Height() - 2 * Off - Top)));
    } else {
        FButton->SetBounds(Width() - FButtonWidth - 2, 1, FButtonWidth, Height() - 2);
    }
    FButton->raise();
    SetEditRect();
    update();
    Native()->update();
}

void TExtCustomDropDown::resizeEvent(QResizeEvent* E) {
    TCustomEdit::resizeEvent(E);
    ResizeControl();
}

// ---- label ----------------------------------------------------------------------------------
void TExtCustomDropDown::CreateLabel() {
    FLabel = new TLabel(this);
    if (Parent()) FLabel->SetParent(Parent());
    FLabel->AfterConstruction();
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(&FLabelFont);
    FLabel->OnClick = [this](TObject*) { LabelClick(); };
    FLabel->OnDblClick = [this](TObject*) { LabelDblClick(); };
}

QString TExtCustomDropDown::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TExtCustomDropDown::SetLabelCaption(const QString& Value) {
    if (!FLabel) CreateLabel();
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TExtCustomDropDown::SetLabelPosition(TLabelPosition Value) {
    FLabelPosition = Value;
    if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::SetLabelMargin(int Value) {
    FLabelMargin = Value;
    if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::SetLabelTransparent(bool Value) {
    FLabelTransparent = Value;
    if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::SetLabelFont(TFont* Value) {
    if (!ParentFont()) FLabelFont.Assign(Value);
    if (FLabel) UpdateLabel();
}

void TExtCustomDropDown::LabelClick() {
    if (OnLabelClick) OnLabelClick(this);
}

void TExtCustomDropDown::LabelDblClick() {
    if (OnLabelDblClick) OnLabelDblClick(this);
}

void TExtCustomDropDown::UpdateLabel() {
    if (!FLabel) return;
    if (!FLabel->Parent() && Parent()) FLabel->SetParent(Parent());
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : &FLabelFont);
    TCanvas C;
    C.Font()->Assign(FLabel->Font());
    TRect R = Rect(0, 0, 1000, 255);
    DrawText(&C, FLabel->Caption(), R, DT_CALCRECT | DT_HIDEPREFIX);
    const TPoint P = LabelPlace(FLabelPosition, Rect(Left(), Top(), Left() + Width(), Top() + Height()),
                                FLabel->Width(), FLabel->Height(), R.Width(), FLabelMargin);
    FLabel->SetBounds(P.X, P.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

// ---- painting -------------------------------------------------------------------------------
bool TExtCustomDropDown::IsHotOrFocused() const { return FMouseInControl || FHasFocus || hasFocus(); }

void TExtCustomDropDown::PaintHandler() { TCustomEdit::PaintHandler(); }

void TExtCustomDropDown::paintEvent(QPaintEvent* E) { TCustomEdit::paintEvent(E); }

bool TExtCustomDropDown::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == Native() && !ComponentState().Contains(csDestroying)) {
        switch (E->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                // Text comes in by typing or through the clipboard, under the edit type's rules.
                E->ignore();
                return true;
            case QEvent::ContextMenu: ShowEditMenu(static_cast<QContextMenuEvent*>(E)->globalPos()); return true;
            default: break;
        }
    }
    if (Watched == Native() && E->type() == QEvent::Paint && !ComponentState().Contains(csDestroying)) {
        // The edit paints itself first; the highlight bar and the border go on top.
        static_cast<QObject*>(Native())->event(E);
        TControl::Guard(this, [this] { PaintOverlay(); });
        return true;
    }
    return TCustomEdit::eventFilter(Watched, E);
}

// The edit's menu, its entries acting through the same messages as the keys.
void TExtCustomDropDown::ShowEditMenu(const QPoint& ScreenPos) {
    auto* Menu = new QMenu(Native());
    Menu->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<TExtCustomDropDown> Self(this);
    auto Add = [&](const QString& Caption, bool On, std::function<void()> Do) {
        QAction* A = Menu->addAction(Caption);
        A->setEnabled(On);
        QObject::connect(A, &QAction::triggered, Menu, [Self, Do] {
            if (Self) TControl::Guard(Self, Do);
        });
    };
    const bool Editable = IsEditable();
    const bool Selected = SelLength() > 0;
    const bool Hidden = FEditType == etPassword;
    Add(QStringLiteral("&Undo"), Editable && Native()->isUndoAvailable(), [this] { Perform(WM_UNDO); });
    Menu->addSeparator();
    Add(QStringLiteral("Cu&t"), Editable && Selected && !Hidden, [this] { Perform(WM_CUT); });
    Add(QStringLiteral("&Copy"), Selected && !Hidden, [this] { Perform(WM_COPY); });
    Add(QStringLiteral("&Paste"), Editable && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { Perform(WM_PASTE); });
    Add(QStringLiteral("&Delete"), Editable && Selected, [this] { Perform(WM_CLEAR); });
    Menu->addSeparator();
    Add(QStringLiteral("Select &All"), !GetText().isEmpty(), [this] { SelectAll(); });
    Menu->popup(ScreenPos);
}

void TExtCustomDropDown::PaintOverlay() {
    TCanvas C;
    C.BeginPaintOn(Native());
    struct TEnd {
        TCanvas& C;
        ~TEnd() { C.EndPaint(); }
    } End{C};
    C.Font()->Assign(Font());
    TMessage M{WM_PAINT, WPARAM(&C), 0, 0};
    WMPaint(M);
}

void TExtCustomDropDown::WMPaint(TMessage& M) {
    auto* C = reinterpret_cast<TCanvas*>(M.WParam);
    if (!C) return;
    DrawFocusedText(C);
    if (FFocusBorderColor != clNone || FBorderColor != clNone || (!Enabled() && FDisabledBorder) || FFlat)
        DrawBorder(C);
    if (FButton) FButton->Button()->SetFocused(IsHotOrFocused());
}

void TExtCustomDropDown::DrawControlBorder() { Native()->update(); }

void TExtCustomDropDown::DrawBorder(TCanvas* C) {
    if (ComponentState().Contains(csDesigning)) return;
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    TRect R = Rect(0, 0, Width(), Height());
    auto Frame = [&](TColor Col, TRect F) {
        C->Brush()->SetColor(Col);
        C->FrameRect(F);
    };
    if (!Enabled() && FIsThemed && FDisabledBorder) {
        Frame(clSilver, R);
    } else if (FBorderColor != clNone && (!IsHotOrFocused() || FFocusBorderColor == clNone)) {
        Frame(FBorderColor, R);
    } else if (FFocusBorderColor != clNone) {
        if (FHasFocus) Frame(FFocusBorderColor, R);
    } else if (IsHotOrFocused()) {
        TRect E = R;
        DrawEdge(C, E, BDR_SUNKENOUTER, BF_RECT);
        InflateRect(R, -1, -1);
        Frame(clBtnFace, R);
    } else {
        TColor P = Parent() ? Parent()->Color() : clBtnFace;
        Frame(P, R);
        InflateRect(R, -1, -1);
        Frame(P, R);
    }
}

void TExtCustomDropDown::DrawFocusedText(TCanvas* C) {
    if (FEditorEnabled || !FHasFocus || ComponentState().Contains(csDesigning) || !FFocusDraw) return;
    TRect R = Rect(2, 2, Width() - FButtonWidth - 1, Height() - 2);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clHighlight);
    C->Rectangle(R);
    C->Font()->Assign(Font());
    C->Font()->SetColor(clHighlightText);
    R.Left += 2;
    R.Right -= 3;
    int Saved = SetBkMode(C, TRANSPARENT);
    DrawText(C, GetText(), R, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SetBkMode(C, Saved);
}

void TExtCustomDropDown::DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, TGradientDirection Direction,
                                      TRect R, int Steps) {
    FillGradientBands(Canvas, FromColor, ToColor, Direction == gdHorizontal, R, Steps);
}
