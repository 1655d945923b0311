#include "grid/editors/EsgDateTimePicker.h"

#include "platform/gui/Themes.h"

#include <QResizeEvent>

namespace {
constexpr TColor ThemedFrameColor = 0xB99D7F;
// The classic vertical scroll bar's width, which the drop button takes plus two pixels.
constexpr int ScrollBarWidth = 17;
} // namespace

// A frame over the platform's field that paints the look; the mouse goes through it.
class TDateTimePickerLookFrame : public TGraphicControl {
public:
    explicit TDateTimePickerLookFrame(TDateTimePickerLook* AOwner) : TGraphicControl(AOwner), FPicker(AOwner) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void Paint() override { FPicker->PaintLook(Canvas()); }

private:
    TDateTimePickerLook* FPicker;
};

TDateTimePickerLook::TDateTimePickerLook(TComponent* AOwner)
    : TDateTimePicker(AOwner), FButtonWidth(ScrollBarWidth + 2) {
    FFrame = new TDateTimePickerLookFrame(this);
    FFrame->SetParent(this);
    FFrame->SetBounds(0, 0, Width(), Height());
    FFrame->raise();
}

QString TDateTimePickerLook::Version() const {
    const uint32_t V = VersionNumber();
    return QStringLiteral("%1.%2.%3.%4").arg(V >> 24).arg((V >> 16) & 0xFF).arg((V >> 8) & 0xFF).arg(V & 0xFF);
}

void TDateTimePickerLook::RepaintLook() {
    if (FFrame) FFrame->update();
}

void TDateTimePickerLook::SetMetroStyle(bool Value) {
    if (FMetroStyle == Value) return;
    FMetroStyle = Value;
    RepaintLook();
}

void TDateTimePickerLook::SetBorderColor(TColor Value) {
    if (FBorderColor == Value) return;
    FBorderColor = Value;
    RepaintLook();
}

void TDateTimePickerLook::SetFocusBorderColor(TColor Value) {
    FFocusBorderColor = Value;
    RepaintLook();
}

void TDateTimePickerLook::SetBorderStyle(TBorderStyle Value) {
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    RepaintLook();
}

void TDateTimePickerLook::SetCtl3D(bool Value) {
    FCtl3D = Value;
    RepaintLook();
}

void TDateTimePickerLook::SetDisabledBorder(bool Value) {
    FDisabledBorder = Value;
    RepaintLook();
}

void TDateTimePickerLook::SetFocusBorder(bool Value) {
    FFocusBorder = Value;
    RepaintLook();
}

void TDateTimePickerLook::resizeEvent(QResizeEvent* E) {
    TDateTimePicker::resizeEvent(E);
    if (FFrame) {
        FFrame->SetBounds(0, 0, width(), height());
        FFrame->raise();
    }
}

void TDateTimePickerLook::MouseMove(TShiftState Shift, int X, int Y) {
    TDateTimePicker::MouseMove(Shift, X, Y);
    const bool Hover = X > Width() - FButtonWidth && X < Width();
    if (Hover != FButtonHover) {
        FButtonHover = Hover;
        RepaintLook();
    }
}

void TDateTimePickerLook::MouseEnter() {
    TDateTimePicker::MouseEnter();
    if (ComponentState().Contains(csDesigning) && !TrackMouseAtDesign()) return;
    if (Enabled()) FMouseInControl = true;
    RepaintLook();
}

void TDateTimePickerLook::MouseLeave() {
    TDateTimePicker::MouseLeave();
    if (ComponentState().Contains(csDesigning) && !TrackMouseAtDesign()) return;
    if (Enabled()) FMouseInControl = false;
    FButtonHover = false;
    RepaintLook();
}

void TDateTimePickerLook::DoEnter() {
    TDateTimePicker::DoEnter();
    if (ComponentState().Contains(csDesigning)) return;
    FHasFocus = true;
    RepaintLook();
}

void TDateTimePickerLook::DoExit() {
    TDateTimePicker::DoExit();
    if (ComponentState().Contains(csDesigning)) return;
    FHasFocus = false;
    RepaintLook();
}

void TDateTimePickerLook::PaintLook(TCanvas* C) {
    C->Brush()->SetStyle(bsClear);
    if (!FCtl3D && FlatOutlineWanted()) PaintFlatOutline(C);
    if (MetroActive()) {
        PaintMetroButton(C);
        if (CustomBorderAllowed()) PaintCustomBorder(C);
    }
}

void TDateTimePickerLook::PaintFlatOutline(TCanvas* C) {
    const TColor ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    TColor Pen = FBorderStyle == bsNone && Parent() ? ParentColor : ThemesActive() ? ThemedFrameColor : FBorderColor;
    if (Pen == clNone) Pen = clBlack;
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(Pen);
    C->Rectangle(ClientRect());
    if (FBorderStyle == bsSingle && Parent()) C->Pen()->SetColor(ParentColor);
    if ((FBorderStyle == bsNone || FBorderStyle == bsSingle) && Parent()) {
        C->MoveTo(1, Height() - 2);
        C->LineTo(1, 1);
        C->LineTo(Width() - 1, 1);
    }
    if (SecondOutline() && !ThemesActive()) {
        C->Pen()->SetColor(Pen);
        C->Rectangle(Rect(1, 1, Width() - 1, Height() - 1));
    }
}

void TDateTimePickerLook::PaintMetroButton(TCanvas* C) {
    if (Kind() == dtkTime) return;
    const TColor Own = Color();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Own);
    if (ThemesActive())
        C->FillRect(Rect(Width() - FButtonWidth - MetroStripOffset(), 1, Width(), Height()));
    else
        C->FillRect(Rect(Width() - FButtonWidth - 2, 4, Width() - 2, Height() - 4));
    TRect B = Rect(Width() - FButtonWidth + 2 + 1, 1, Width() - 1, Height() - 1);
    const bool MouseDown = (GetKeyState(VK_LBUTTON) & 0x8000) || (GetKeyState(VK_RBUTTON) & 0x8000);
    if (FButtonColor != clNone) {
        TColor Fill = FButtonHover && MouseDown && FButtonColorDown != clNone ? FButtonColorDown
            : FButtonHover && FButtonColorHot != clNone                       ? FButtonColorHot
                                                                              : FButtonColor;
        C->Brush()->SetColor(Fill);
        C->FillRect(Rect(B.Left + 2, B.Top, B.Right, B.Bottom));
        if (FButtonBorderColor != clNone) {
            C->Pen()->SetColor(FButtonBorderColor);
            C->MoveTo(B.Left, B.Top);
            C->LineTo(B.Left, B.Bottom);
        }
        TColor Arrow = MouseDown && FButtonTextColorDown != clNone ? FButtonTextColorDown : FButtonTextColor;
        if (Arrow == clNone) Arrow = clBlack;
        C->Pen()->SetColor(Arrow);
        C->Brush()->SetColor(Arrow);
        const int Top = B.Top + (B.Height() - 12) / 2;
        C->Polygon({Point(B.Left + 5, Top + 7), Point(B.Left + 11, Top + 7), Point(B.Left + 8, Top + 10)});
    } else if (ThemesActive()) {
        const int State = !Enabled()                      ? CBXS_DISABLED
            : MouseDown && DroppedDown()                  ? CBXS_PRESSED
            : MouseDown || !FButtonHover || DroppedDown() ? CBXS_NORMAL
                                                          : CBXS_HOT;
        if (HTHEME Th = OpenThemeData(this, QStringLiteral("combobox"))) {
            DrawThemeBackground(Th, C, CP_DROPDOWNBUTTON, State, B);
            CloseThemeData(Th);
        }
    } else {
        DrawFrameControl(C, B, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
}

void TDateTimePickerLook::PaintCustomBorder(TCanvas* C) {
    if (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    const TColor ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    const TRect R = ClientRect();
    auto Frame = [&](TRect F, TColor Col) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetColor(Col);
        C->Rectangle(F);
    };
    if (!Enabled() && ThemesActive() && !FDisabledBorder) {
        Frame(R, ThemedFrameColor);
        return;
    }
    const bool Focus = FHasFocus || Focused();
    if (FBorderColor == clNone || (Focus && FFocusBorderColor != clNone)) {
        if (FFocusBorderColor == clNone) {
            const bool FocusLook =
                FFocusBorder && !ComponentState().Contains(csDesigning) && (FMouseInControl || Focus);
            if (FocusLook) {
                TRect E = R;
                DrawEdge(C, E, BDR_SUNKENOUTER, BF_RECT);
                Frame(Rect(1, 1, R.Right - 1, R.Bottom - 1), clBtnFace);
                Frame(Rect(2, 2, R.Right - 2, R.Bottom - 2), Color());
            } else {
                Frame(R, ParentColor);
                Frame(Rect(1, 1, R.Right - 1 - FButtonWidth, R.Bottom - 1), ParentColor);
                Frame(Rect(2, 2, R.Right - 2 - FButtonWidth, R.Bottom - 2), Color());
            }
        } else if (Focus) {
            Frame(R, FFocusBorderColor);
        }
    } else {
        Frame(R, FBorderColor);
    }
    if (ThemesActive()) return;
    // Without visual styles the drop button gets its own edge: raised while the control is hot
    // (flat while the calendar is open), else a plain face.
    TRect B = Rect(Width() - FButtonWidth - 2 + 2, 2, Width() - 2, Height() - 2);
    const bool Hot = FMouseInControl || Focus || (ComponentState().Contains(csDesigning) && Enabled());
    if (Hot) {
        DrawEdge(C, B, DroppedDown() ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Rect(B.Left, B.Top + 1, B.Right - 1, B.Bottom - 1));
    }
}

// ---- TEsgDateTimePicker ---------------------------------------------------------------------
TEsgDateTimePicker::TEsgDateTimePicker(TComponent* AOwner) : TDateTimePickerLook(AOwner) { FCtl3D = true; }

bool TEsgDateTimePicker::MetroActive() const { return FMetroStyle && !ComponentState().Contains(csDesigning); }

bool TEsgDateTimePicker::FlatOutlineWanted() const { return FBorderColor != clNone; }
