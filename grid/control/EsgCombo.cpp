// The combo box look: flat and etched frames, the coloured drop-down button, focus colours and
// the caption label beside the combo.
#include "grid/control/EsgCombo.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Themes.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace {
// The platform's vertical scroll bar width; the default button is two pixels wider.
constexpr int VertScrollBarWidth = 17;
constexpr TColor DisabledThemedBorder = TColor(0xB99D7F);
} // namespace

// Paints the custom button and frame over the platform's combo; mouse input goes through.
class TEsgComboLookFrame : public TGraphicControl {
public:
    explicit TEsgComboLookFrame(TEsgCustomCombo* AOwner) : TGraphicControl(AOwner), FCombo(AOwner) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void Paint() override {
        if (FCombo->CustomLook()) FCombo->PaintLook(Canvas());
    }

private:
    TEsgCustomCombo* FCombo;
};

TEsgCustomCombo::TEsgCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), FButtonWidth(VertScrollBarWidth + 2), FLabelFont(std::make_unique<TFont>()) {
    FIsThemed = true;
    FFrame = new TEsgComboLookFrame(this);
    FFrame->SetParent(this);
    FFrame->SetBounds(0, 0, Width(), Height());
    FFrame->raise();
}

TEsgCustomCombo::~TEsgCustomCombo() {
    Destroying();
    if (FLabel) delete FLabel.data();
}

void TEsgCustomCombo::Loaded() {
    TCustomComboBox::Loaded();
    ApplyListWidth();
    FOldColor = FLoadedColor;
    if (!(FFlat && FFlatParentColor && Parent())) TControl::SetColor(FLoadedColor);
    if (FLabel) {
        FLabel->SetEnabled(Enabled() || FLabelAlwaysEnabled);
        if (!FLabel->ParentFont()) FLabel->SetFont(FLabelFont.get());
    }
    PlaceLabel();
    FNormalColor = Color();
}

void TEsgCustomCombo::Init() { FNormalColor = Color(); }

void TEsgCustomCombo::SelectItem(const QString& AString) {
    const int I = Items()->IndexOf(AString);
    if (I >= 0) SetItemIndex(I);
}

void TEsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!ComponentState().Contains(csDestroying)) PlaceLabel();
}

void TEsgCustomCombo::Resize() {
    TCustomComboBox::Resize();
    if (FFrame) FFrame->SetBounds(0, 0, Width(), Height());
}

void TEsgCustomCombo::SetParent(TWinControl* AParent) {
    TCustomComboBox::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        PlaceLabel();
    }
}

void TEsgCustomCombo::SetEnabled(bool Value) {
    const bool Changed = Value != Enabled();
    const bool Loading = ComponentState().Contains(csLoading);
    if (Changed && FFlat && !Loading) {
        if (!Value) {
            FOldColor = Color();
            FOldParentColor = ParentColor();
            if (Parent()) TControl::SetColor(Parent()->Color());
        } else {
            TControl::SetColor(FOldColor);
            SetParentColor(FOldParentColor);
        }
    }
    TCustomComboBox::SetEnabled(Value);
    if (Changed && FLabel && !Loading && !ComponentState().Contains(csDesigning)) {
        if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Value);
        PlaceLabel();
    }
    RepaintLook();
}

void TEsgCustomCombo::SetVisible(bool Value) {
    TCustomComboBox::SetVisible(Value);
    if (FLabel) FLabel->SetVisible(Value);
}

void TEsgCustomCombo::SetColor(TColor Value) {
    if (ComponentState().Contains(csLoading)) FLoadedColor = Value;
    TControl::SetColor(Value);
}

void TEsgCustomCombo::SetButtonWidth(int Value) {
    if (Value < 14 || Value > 32) return;
    FButtonWidth = Value;
    RepaintLook();
}

void TEsgCustomCombo::SetFlat(bool Value) {
    if (FFlat == Value) return;
    FFlat = Value;
    if (FFlat) {
        if (FFlatParentColor && Parent())
            TControl::SetColor(Parent()->Color());
        else
            TControl::SetColor(FLoadedColor);
    } else {
        TControl::SetColor(FLoadedColor);
    }
    RepaintLook();
}

void TEsgCustomCombo::SetEtched(bool Value) {
    if (FEtched == Value) return;
    FEtched = Value;
    RepaintLook();
}

void TEsgCustomCombo::SetDropWidth(int Value) {
    FDropWidth = Value;
    if (Value > 0) SetListWidth(Value);
}

void TEsgCustomCombo::SetListWidth(int Value) {
    FListWidth = Value;
    ApplyListWidth();
}

void TEsgCustomCombo::ApplyListWidth() {
    if (QAbstractItemView* V = Native()->view()) V->setMinimumWidth(std::max(0, FListWidth));
}

void TEsgCustomCombo::SetBorderColor(TColor Value) {
    FBorderColor = Value;
    if (HandleAllocated()) RepaintLook();
}

void TEsgCustomCombo::SetFlatLineColor(TColor Value) {
    FFlatLineColor = Value;
    RepaintLook();
}

void TEsgCustomCombo::SetFlatParentColor(bool Value) {
    FFlatParentColor = Value;
    RepaintLook();
}

void TEsgCustomCombo::SetFocusBorderColor(TColor Value) {
    FFocusBorderColor = Value;
    RepaintLook();
}

void TEsgCustomCombo::SetDisabledBorder(bool Value) {
    FDisabledBorder = Value;
    RepaintLook();
}

// ---- the label ---------------------------------------------------------------------------------
QString TEsgCustomCombo::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TEsgCustomCombo::SetLabelCaption(const QString& Value) {
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->SetVisible(Visible());
    }
    FLabel->SetCaption(Value);
    PlaceLabel();
}

void TEsgCustomCombo::SetLabelFont(TFont* Value) {
    FLabelFont->Assign(Value);
    if (FLabel && !ParentFont()) FLabel->SetFont(FLabelFont.get());
    PlaceLabel();
}

void TEsgCustomCombo::SetLabelMargin(int Value) {
    FLabelMargin = Value;
    PlaceLabel();
}

void TEsgCustomCombo::SetLabelPosition(TLabelPosition Value) {
    FLabelPosition = Value;
    PlaceLabel();
}

void TEsgCustomCombo::SetLabelTransparent(bool Value) {
    FLabelTransparent = Value;
    PlaceLabel();
}

void TEsgCustomCombo::SetLabelAlwaysEnabled(bool Value) {
    FLabelAlwaysEnabled = Value;
    if (FLabel) FLabel->SetEnabled(Enabled() || Value);
    PlaceLabel();
}

void TEsgCustomCombo::FontChanged() {
    TCustomComboBox::FontChanged();
    PlaceLabel();
}

void TEsgCustomCombo::PlaceLabel() {
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!ParentFont()) FLabel->SetFont(FLabelFont.get());
    TCanvas* C = FLabel->Canvas();
    C->Font()->Assign(FLabel->Font());
    TRect R = Rect(0, 0, 1000, 255);
    C->DrawText(FLabel->Caption(), R, DT_CALCRECT | DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    // The combo's label knows the left, top, bottom and right places, not the two right-aligned ones.
    const TLabelPosition Pos =
        FLabelPosition == lpTopRight || FLabelPosition == lpBottomRight ? lpLeftTop : FLabelPosition;
    const TPoint P = LabelPlace(Pos, Rect(Left(), Top(), Left() + Width(), Top() + Height()), FLabel->Width(),
                                FLabel->Height(), R.Width(), FLabelMargin);
    FLabel->SetBounds(P.X, P.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

// ---- focus, mouse and list -----------------------------------------------------------------------
void TEsgCustomCombo::DoEnter() {
    FHasFocus = true;
    if (FFocusColor != clNone) TControl::SetColor(FFocusColor);
    if (FFocusLabel && FLabel) FLabel->Font()->SetStyle(FLabel->Font()->Style() + TFontStyles{fsBold});
    RepaintLook();
    TCustomComboBox::DoEnter();
}

void TEsgCustomCombo::DoExit() {
    FHasFocus = false;
    if (FFocusColor != clNone && FNormalColor != clNone) TControl::SetColor(FNormalColor);
    if (FFocusLabel && FLabel) FLabel->Font()->SetStyle(FLabel->Font()->Style() - TFontStyles{fsBold});
    RepaintLook();
    TCustomComboBox::DoExit();
}

void TEsgCustomCombo::MouseMove(TShiftState Shift, int X, int Y) {
    const bool Over = X >= ClientWidth() - FButtonWidth && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
    if (Over != FButtonHover) {
        FButtonHover = Over;
        RepaintLook();
    }
    TCustomComboBox::MouseMove(Shift, X, Y);
}

void TEsgCustomCombo::MouseEnter() {
    if (Enabled()) FMouseInControl = true;
    RepaintLook();
    if (FAutoFocus && !ComponentState().Contains(csDesigning)) {
        TForm* F = ParentForm();
        if (F && F->Active() && CanFocus()) SetFocus();
    }
    TCustomComboBox::MouseEnter();
}

void TEsgCustomCombo::MouseLeave() {
    FMouseInControl = false;
    FButtonHover = false;
    RepaintLook();
    TCustomComboBox::MouseLeave();
}

void TEsgCustomCombo::DropDown() {
    RepaintLook();
    TCustomComboBox::DropDown();
}

void TEsgCustomCombo::CloseUp() {
    RepaintLook();
    TCustomComboBox::CloseUp();
    if (OnDropUp) OnDropUp(this);
}

// ---- painting ------------------------------------------------------------------------------------
void TEsgCustomCombo::RepaintLook() {
    if (FFrame) FFrame->update();
}

bool TEsgCustomCombo::CustomLook() const {
    const bool ButtonColoured = ButtonColor != clNone;
    if (FIsVista && !ButtonColoured) return false;
    return FFlat || ButtonColoured || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus) ||
        (!Enabled() && FIsThemed && !FDisabledBorder);
}

TRect TEsgCustomCombo::ButtonRect() const {
    TRect R = Rect(ClientWidth() - FButtonWidth + 2, 0, ClientWidth(), ClientHeight());
    InflateRect(R, -1, -1);
    return R;
}

void TEsgCustomCombo::PaintLook(TCanvas* C) {
    const TRect Client = Rect(0, 0, Width(), Height());
    const bool Hot = FMouseInControl || FHasFocus;
    // The button, when its colours are the combo's own.
    if (ButtonColor != clNone && Style() != csSimple) {
        // The whole button area is the combo's own: the platform's arrow does not show through.
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(Rect(ClientWidth() - FButtonWidth - 4, 1, ClientWidth() - 1, ClientHeight() - 1));
        TRect B = ButtonRect();
        InflateRect(B, -1, -1);
        const bool Down = GetKeyState(VK_LBUTTON) < 0;
        TColor Fill = ButtonColor;
        if (FButtonHover && ButtonColorHot != clNone) Fill = ButtonColorHot;
        if (FButtonHover && Down && ButtonColorDown != clNone) Fill = ButtonColorDown;
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Fill);
        C->FillRect(B);
        if (ButtonBorderColor != clNone) {
            C->Pen()->SetColor(ButtonBorderColor);
            C->MoveTo(B.Left, B.Top);
            C->LineTo(B.Left, B.Bottom);
        }
        TColor Arrow = ButtonTextColor != clNone ? ButtonTextColor : clBlack;
        if (Down && ButtonTextColorDown != clNone) Arrow = ButtonTextColorDown;
        C->Pen()->SetColor(Arrow);
        C->Brush()->SetColor(Arrow);
        const int L = B.Left, T = B.Top + (B.Height() - 14) / 2;
        C->Polygon({Point(L + 4, T + 7), Point(L + 10, T + 7), Point(L + 7, T + 10)});
    }
    // The frame.
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    if (FIsVista && FBorderColor == clNone) return;
    C->Brush()->SetStyle(bsSolid);
    if (!Enabled() && FIsThemed && !FDisabledBorder) {
        C->Brush()->SetColor(DisabledThemedBorder);
        C->FrameRect(Client);
        return;
    }
    if (FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus)) {
        const TColor Border = (FHasFocus && FFocusBorderColor != clNone) ? FFocusBorderColor : FBorderColor;
        if (Border != clNone) {
            C->Brush()->SetColor(Border);
            C->FrameRect(Client);
        }
        return;
    }
    // The classic flat frame.
    if (Hot && FFocusBorder) {
        TRect E = Client;
        C->DrawEdge(E, BDR_SUNKENOUTER, BF_RECT);
    } else {
        C->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
        C->FrameRect(Client);
    }
    TRect Inner = Client;
    InflateRect(Inner, -1, -1);
    C->Brush()->SetColor(Color());
    C->FrameRect(Inner);
    if (FFlat && FFlatLineColor != clNone) {
        C->Pen()->SetColor(FFlatLineColor);
        C->MoveTo(0, Client.Bottom - 1);
        C->LineTo(Client.Right - FButtonWidth, Client.Bottom - 1);
    }
    if (Style() != csSimple && !ThemesActive() && !Hot && ButtonColor == clNone) {
        C->Brush()->SetColor(clBtnFace);
        C->FrameRect(ButtonRect());
    }
}
