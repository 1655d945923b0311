#include "grid/base/ExtGridCtrls.h"

#include "grid/base/ExtUtil.h"
#include "platform/grids/Grids.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Themes.h"

#include <QFile>
#include <QFileInfo>
#include <QPolygon>
#include <QRegion>

#include <algorithm>

// ---- TArrowWindow -------------------------------------------------------------------------------
TArrowWindow::TArrowWindow(TComponent* AOwner) : TPanel(AOwner) {
    SetBevelOuter(bvNone);
    SetShowCaption(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

std::array<TPoint, 7> TArrowWindow::ArrowPolygon(TArrowDirection Direction) {
    switch (Direction) {
        case arrUp: return {{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}}};
        case arrDown: return {{{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}}};
        case arrLeft: return {{{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}}};
        case arrRight: return {{{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}}};
    }
    return {};
}

std::array<TPoint, 7> TArrowWindow::Arrow() const { return ArrowPolygon(FDir); }

void TArrowWindow::Init(TWinControl* AOwner, TArrowDirection Direction) {
    FDir = Direction;
    SetColor(clLime);
    SetVisible(false);
    if (AOwner) SetParent(AOwner);
    QPolygon Poly;
    for (const TPoint& P : Arrow()) Poly << QPoint(P.X, P.Y);
    setMask(QRegion(Poly, Qt::WindingFill));
}

void TArrowWindow::Paint() {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// ---- TExtGridButton -----------------------------------------------------------------------------
namespace {

struct TLookColors {
    TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, Borders;
};

constexpr TLookColors Looks[4] = {
    {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31},
    {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000},
    {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000},
    {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000},
};

// The XP colour scheme by its exact name (0 when themes are off or the name is another).
int GetXPColorScheme() {
    if (!IsWinXPOrLater() || !ThemesActive()) return 0;
    return 0; // the application's style has no colour-scheme name
}

bool InsideButton(const TControl* C, int X, int Y) {
    return X >= 0 && X < C->ClientWidth() && Y >= 0 && Y <= C->ClientHeight();
}

} // namespace

TExtGridButton::TExtGridButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 23, 22);
    SetParentFont(true);
    FIsComCtl6 = IsComCtl6();
}

void TExtGridButton::SetGroupIndex(int Value) {
    if (FGroupIndex == Value) return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TExtGridButton::SetAllowAllUp(bool Value) {
    if (FAllowAllUp == Value) return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TExtGridButton::SetGlyph(TBitmap* Value) {
    FGlyph.Assign(Value);
    if (FGlyphDisabled.Empty() && !FGlyph.Empty()) {
        QImage Img = FGlyph.ToImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < Img.height(); ++y) {
            auto* L = reinterpret_cast<QRgb*>(Img.scanLine(y));
            for (int x = 0; x < Img.width(); ++x) {
                const int G = int(Round((qRed(L[x]) + qGreen(L[x]) + qBlue(L[x])) / 3.0)) / 2 + 96;
                L[x] = qRgb(G, G, G);
            }
        }
        FGlyphDisabled.SetImage(Img);
    }
    if (FShaded && !ComponentState().Contains(csLoading)) BuildShadeGlyph();
    Invalidate();
}

void TExtGridButton::SetDown(bool Value) {
    if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        Repaint();
        return;
    }
    if (Value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TExtGridButton::SetLayout(TButtonLayout Value) {
    if (FLayout == Value) return;
    FLayout = Value;
    Invalidate();
}

void TExtGridButton::SetSpacing(int Value) {
    if (FSpacing == Value) return;
    FSpacing = Value;
    Invalidate();
}

void TExtGridButton::SetMargin(int Value) {
    if (Value < -1 || FMargin == Value) return;
    FMargin = Value;
    Invalidate();
}

void TExtGridButton::SetFlat(bool Value) {
    if (FFlat == Value) return;
    FFlat = Value;
    Invalidate();
}

void TExtGridButton::SetShowCaption(bool Value) {
    if (FShowCaption == Value) return;
    FShowCaption = Value;
    Invalidate();
}

void TExtGridButton::SetColorTo(TColor Value) {
    FColorTo = Value;
    Invalidate();
}

void TExtGridButton::SetColorChecked(TColor Value) {
    FColorChecked = Value;
    Invalidate();
}

void TExtGridButton::SetColorCheckedTo(TColor Value) {
    FColorCheckedTo = Value;
    Invalidate();
}

void TExtGridButton::SetStyle(TExtGridButtonStyle Value) {
    FStyle = Value;
    Invalidate();
}

void TExtGridButton::SetRounded(bool Value) {
    FRounded = Value;
    Invalidate();
}

void TExtGridButton::SetDropDownButton(bool Value) {
    FDropDownButton = Value;
    Invalidate();
}

void TExtGridButton::SetBorderColor(TColor Value) {
    FBorderColor = Value;
    Invalidate();
}

void TExtGridButton::SetDropDownMenu(TPopupMenu* Value) {
    FDropDownMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TExtGridButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TExtGridButton::SetShaded(bool Value) {
    FShaded = Value;
    if (Value && !ComponentState().Contains(csLoading)) BuildShadeGlyph();
}

void TExtGridButton::BuildShadeGlyph() {
    if (FGlyph.Empty()) {
        FGlyphShade.SetSize(0, 0);
        return;
    }
    QImage Img = FGlyph.ToImage().convertToFormat(QImage::Format_RGB32);
    const QRgb Key = Img.pixel(0, Img.height() - 1);
    const QRgb Gray = ToQColor(clGray).rgb();
    for (int y = 0; y < Img.height(); ++y) {
        auto* L = reinterpret_cast<QRgb*>(Img.scanLine(y));
        for (int x = 0; x < Img.width(); ++x) L[x] = L[x] == Key ? Key : Gray;
    }
    FGlyphShade.SetImage(Img);
}

void TExtGridButton::Loaded() {
    TGraphicControl::Loaded();
    if (FShaded) BuildShadeGlyph();
    if (FAutoThemeAdapt) ThemeAdapt();
}

void TExtGridButton::SetAutoThemeAdapt(bool Value) {
    FAutoThemeAdapt = Value;
    if (Value) ThemeAdapt();
}

void TExtGridButton::ThemeAdapt() {
    switch (GetXPColorScheme()) {
        case 1: ApplyLook(2); break;
        case 2: ApplyLook(3); break;
        case 3: ApplyLook(4); break;
        default: ApplyLook(1); break;
    }
}

void TExtGridButton::ApplyLook(int Look) {
    if (Look < 1 || Look > 4) return;
    const TLookColors& L = Looks[Look - 1];
    SetColor(L.Color);
    FColorTo = L.ColorTo;
    FColorHot = L.Hot;
    FColorHotTo = L.HotTo;
    FColorDown = L.Down;
    FColorDownTo = L.DownTo;
    FColorChecked = L.Checked;
    FColorCheckedTo = L.CheckedTo;
    FBorderDownColor = FBorderHotColor = L.Borders;
    FBorderColor = clNone;
    FRounded = false;
    FFlat = true;
    FLook = Look;
    Invalidate();
}

void TExtGridButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage M{CM_GRIDBUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(static_cast<TObject*>(this)), 0};
    Parent()->Broadcast(M);
}

void TExtGridButton::UpdateTracking() {
    if (!FFlat || !Enabled()) return;
    TPoint P;
    if (!GetCursorPos(P)) return;
    const bool Over = FindDragTarget(P, true) == this;
    if (Over != FMouseInControl) Perform(Over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TExtGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    if (FDropDownButton && X >= ClientWidth() - 12) {
        FState = bsUp;
        if (OnDropDown) OnDropDown(this);
        if (FDropDownMenu) {
            const TPoint P = ClientToScreen(Point(0, ClientHeight()));
            FDropDownMenu->Popup(P.X, P.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TExtGridButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TButtonState New = FDown ? bsExclusive : (InsideButton(this, X, Y) ? bsDown : bsUp);
        if (FStyle == tasCheck && FDown) New = bsDown;
        if (New != FState) {
            FState = New;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TExtGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    const bool Inside = InsideButton(this, X, Y);
    if (FGroupIndex == 0) {
        FState = bsUp;
        if (FStyle == tasCheck && Inside) {
            FDown = !FDown;
            FState = bsUp;
        }
        if (Inside && !FDown) Invalidate();
        if (FStyle == tasCheck) Repaint();
    } else if (Inside) {
        SetDown(!FDown);
        if (FDown) Repaint();
    } else {
        if (FDown) FState = bsExclusive;
        Repaint();
    }
    if (Inside) Click();
    UpdateTracking();
}

void TExtGridButton::MouseEnter() {
    if (!FMouseInControl && Enabled() && !QWidget::mouseGrabber()) {
        FMouseInControl = true;
        Repaint();
    }
    TGraphicControl::MouseEnter();
}

void TExtGridButton::MouseLeave() {
    if (FMouseInControl && Enabled() && !FDragging) {
        FMouseInControl = false;
        Invalidate();
    }
    TGraphicControl::MouseLeave();
}

void TExtGridButton::DblClick() {
    if (FDown) TGraphicControl::DblClick();
}

void TExtGridButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_GRIDBUTTONPRESSED: {
            auto* Sender = dynamic_cast<TExtGridButton*>(reinterpret_cast<TObject*>(Message.LParam));
            if (int(Message.WParam) == FGroupIndex && Sender && Sender != this) {
                if (Sender->Down() && FDown) {
                    FDown = false;
                    FState = bsUp;
                    Invalidate();
                }
                FAllowAllUp = Sender->AllowAllUp();
            }
            return;
        }
        case CM_DIALOGCHAR:
            if (IsAccel(Word(Message.WParam), Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
                Click();
                Message.Result = 1;
                return;
            }
            break;
        case CM_ENABLEDCHANGED:
            UpdateTracking();
            Repaint();
            break;
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_SYSCOLORCHANGE: Invalidate(); break;
        case WM_THEMECHANGED:
        case CM_APPSTYLECHANGED:
            if (FAutoThemeAdapt) ThemeAdapt();
            break;
        default: break;
    }
    TGraphicControl::WndProc(Message);
}

void TExtGridButton::FillFace(TRect R, TColor C, TColor CTo, TColor Pen) {
    TCanvas* Cv = Canvas();
    if (CTo != clNone)
        FillGradientRect(Cv, C, CTo, 16, R, false);
    else
        FillRectColor(Cv, R, C);
    if (Pen != clNone && !FRounded) {
        Cv->Brush()->SetStyle(bsSolid);
        Cv->Brush()->SetColor(Pen);
        Cv->FrameRect(R);
    }
    if (FBorderColor != clNone) {
        Cv->Pen()->SetStyle(psSolid);
        Cv->Pen()->SetWidth(1);
        Cv->Pen()->SetColor(FBorderColor);
        Cv->Brush()->SetStyle(bsClear);
        TRect F = R;
        InflateRect(F, 1, 1);
        if (FRounded)
            Cv->RoundRect(F.Left, F.Top, F.Right, F.Bottom, 8, 8);
        else
            Cv->Rectangle(F);
        Cv->Brush()->SetStyle(bsSolid);
    }
}

TBitmap* TExtGridButton::CurrentGlyph() {
    const bool Hot = FMouseInControl;
    if (!Enabled()) return FGlyphDisabled.Empty() ? &FGlyph : &FGlyphDisabled;
    if (FDown || FState == bsDown) return FGlyphDown.Empty() ? &FGlyph : &FGlyphDown;
    if (Hot) return FGlyphHot.Empty() ? &FGlyph : &FGlyphHot;
    return &FGlyph;
}

void TExtGridButton::CalcLayout(const TRect& Client, TPoint Offset, TPoint& GlyphPos, TRect& TextBounds) {
    const TSize Glyph{FGlyph.Width(), FGlyph.Height()};
    TSize Text;
    const QString Cap = FShowCaption ? Caption() : QString();
    if (!Cap.isEmpty()) {
        TRect M = Rect(0, 0, Client.Width(), 0);
        Canvas()->Font()->Assign(Font());
        Canvas()->DrawText(Cap, M, DT_CALCRECT | DT_SINGLELINE);
        Text = {M.Width(), M.Height()};
    }
    TButtonLayout Lay = FLayout;
    if (layoutDirection() == Qt::RightToLeft) {
        if (Lay == TButtonLayout::blGlyphLeft)
            Lay = TButtonLayout::blGlyphRight;
        else if (Lay == TButtonLayout::blGlyphRight)
            Lay = TButtonLayout::blGlyphLeft;
    }
    const bool Horz = Lay == TButtonLayout::blGlyphLeft || Lay == TButtonLayout::blGlyphRight;
    const int CW = Client.Width(), CH = Client.Height();
    TPoint G{(CW - Glyph.cx + 1) / 2, (CH - Glyph.cy + 1) / 2};
    TPoint T{(CW - Text.cx + 1) / 2, (CH - Text.cy + 1) / 2};
    int Spacing = FSpacing, Margin = FMargin;
    if (Text.cx == 0 || Glyph.cx == 0) Spacing = 0;
    const int ClientSize = Horz ? CW : CH;
    const int GlyphSize = Horz ? Glyph.cx : Glyph.cy;
    const int TextSize = Horz ? Text.cx : Text.cy;
    if (Margin == -1 && Spacing == -1) {
        Margin = (ClientSize - GlyphSize - TextSize) / 3;
        Spacing = Margin;
    } else if (Margin == -1) {
        Margin = (ClientSize - (GlyphSize + Spacing + TextSize) + 1) / 2;
    } else if (Spacing == -1) {
        Spacing = (ClientSize - (Margin + GlyphSize) - TextSize) / 2;
    }
    switch (Lay) {
        case TButtonLayout::blGlyphLeft:
            G.X = Margin;
            T.X = G.X + Glyph.cx + Spacing;
            break;
        case TButtonLayout::blGlyphRight:
            G.X = CW - Margin - Glyph.cx;
            T.X = G.X - Spacing - Text.cx;
            break;
        case TButtonLayout::blGlyphTop:
            G.Y = Margin;
            T.Y = G.Y + Glyph.cy + Spacing;
            break;
        case TButtonLayout::blGlyphBottom:
            G.Y = CH - Margin - Glyph.cy;
            T.Y = G.Y - Spacing - Text.cy;
            break;
    }
    GlyphPos = Point(G.X + Client.Left + Offset.X, G.Y + Client.Top + Offset.Y);
    TextBounds = Bounds(T.X + Client.Left + Offset.X, T.Y + Client.Top + Offset.Y, Text.cx, Text.cy);
}

void TExtGridButton::Paint() {
    TCanvas* C = Canvas();
    // 1. state
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = (FDown && FGroupIndex != 0) ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown) FState = bsDown;
    // 2.
    TRect R = ClientRect();
    C->Font()->Assign(Font());
    const bool Designing = ComponentState().Contains(csDesigning);
    const bool Hot = FMouseInControl && Enabled() && !Designing;
    // 3., 4. face
    if (FFlat) {
        if (FBorderDownColor == clNone || FRounded) InflateRect(R, -1, -1);
        if (!Hot) {
            const TColor Pen = FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor);
            if (FStyle == tasCheck && FDown)
                FillFace(R, FColorChecked, FColorCheckedTo, Pen);
            else
                FillFace(R, Color(), FColorTo, Pen);
        } else {
            TColor F = FColorHot, FT = FColorHotTo, B = FBorderHotColor;
            if (FState == bsDown) F = FColorDown, FT = FColorDownTo, B = FBorderDownColor;
            if (FStyle == tasCheck && FDown && FState != bsDown)
                F = FColorChecked, FT = FColorCheckedTo, B = FBorderDownColor;
            FillFace(R, F, FT, FRounded ? clNone : B);
            if (FDropDownButton) {
                C->Pen()->SetColor(B != clNone ? B : clGray);
                C->MoveTo(R.Right - 12, R.Top);
                C->LineTo(R.Right - 12, R.Bottom);
            }
        }
        InflateRect(R, -1, -1);
    } else {
        const bool Pushed = FState == bsDown || FState == bsExclusive;
        if (!(FAutoXPStyle && IsWinXPOrLater() && FIsComCtl6 && ThemesActive() &&
              DrawThemedPart(C, TThemedPart::PushButton, Pushed ? tsPressed : (Hot ? tsHot : tsNormal), R))) {
            TRect F = R;
            C->DrawFrameControl(F, DFC_BUTTON, DFCS_BUTTONPUSH | (Pushed ? DFCS_PUSHED : 0));
        }
        InflateRect(R, -2, -2);
    }
    // 5. offset
    TPoint Offset;
    if ((FState == bsDown || FState == bsExclusive) && !FFlat && !Designing) Offset = Point(1, 1);
    if (FFlat && Hot && FShaded && FState != bsDown) Offset = Point(-1, -1);
    if (FState == bsExclusive && !(FFlat && Hot)) {
        TRect E = R;
        InflateRect(E, 1, 1);
        if (FColorCheckedTo != clNone)
            FillGradientRect(C, FColorChecked, FColorCheckedTo, 16, E, false);
        else
            FillRectColor(C, E, FColorChecked);
    }
    // 6. drop-down part
    if (FDropDownButton) {
        const int M = R.Top + R.Height() / 2;
        const TColor Arrow = Font()->Color();
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Arrow);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(Arrow);
        C->Polygon({Point(R.Right - 8, M - 1), Point(R.Right - 4, M - 1), Point(R.Right - 6, M + 1)});
        R.Right -= 12;
    }
    // 7., 8. glyph
    TPoint GlyphPos;
    TRect TextR;
    CalcLayout(R, Offset, GlyphPos, TextR);
    // A glyph-only button shows its glyph from the content area's top-left corner.
    if (!FShowCaption || Caption().isEmpty()) GlyphPos = Point(R.Left + Offset.X, R.Top + Offset.Y);
    if (!FGlyph.Empty()) {
        TBitmap* G = CurrentGlyph();
        if (Hot && FShaded && FState != bsDown && !FGlyphShade.Empty()) {
            FGlyphShade.SetTransparent(true);
            C->Draw(GlyphPos.X + 2, GlyphPos.Y + 2, &FGlyphShade);
        }
        G->SetTransparent(FTransparent);
        G->SetTransparentMode(tmAuto);
        C->Draw(GlyphPos.X, GlyphPos.Y, G);
    }
    // 9. caption
    if (FShowCaption && !Caption().isEmpty()) {
        C->Brush()->SetStyle(bsClear);
        const unsigned Flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (!Enabled()) {
            TRect S = TextR;
            OffsetRect(S, 1, 1);
            C->Font()->SetColor(clBtnHighlight);
            C->DrawText(Caption(), S, Flags);
            C->Font()->SetColor(clBtnShadow);
        }
        C->DrawText(Caption(), TextR, Flags);
        C->Brush()->SetStyle(bsSolid);
    }
}

// ---- TExtCheckBox -------------------------------------------------------------------------------
TExtCheckBox::TExtCheckBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 98, 20);
    SetColor(clWindow);
    SetTabStop(true);
    FIsWinXP = IsWinXPOrLater();
}

bool TExtCheckBox::Themed() const { return FIsWinXP && ThemesActive() && IsComCtl6(); }

void TExtCheckBox::SetChecked(bool Value) {
    SetState(Value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TExtCheckBox::SetState(TCheckBoxState Value) {
    if (FState == Value) return;
    FState = Value;
    const TRect Strip = FAlignment == taLeftJustify ? Rect(ClientWidth() - 20, 0, ClientWidth(), ClientHeight())
                                                    : Rect(0, 0, 20, ClientHeight());
    InvalidateRect(Strip);
}

void TExtCheckBox::Toggle() {
    if (!FReadOnly) SetChecked(!Checked());
}

void TExtCheckBox::SetAlignment(TAlignment Value) {
    if (FAlignment == Value) return;
    FAlignment = Value;
    Invalidate();
}

void TExtCheckBox::SetButtonVertAlign(TTextLayout Value) {
    if (FBtnVAlign == Value) return;
    FBtnVAlign = Value;
    Invalidate();
}

void TExtCheckBox::SetEllipsis(bool Value) {
    if (FEllipsis == Value) return;
    FEllipsis = Value;
    Invalidate();
}

void TExtCheckBox::SetCaption(const QString& Value) {
    FCaption = Value;
    SetText(Value);
    Invalidate();
}

void TExtCheckBox::SetTransparent(bool Value) {
    FTransparent = Value;
    // Transparent: the parent's picture shows under the box and caption.
    setAutoFillBackground(!Value);
    Repaint();
}

void TExtCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FTransparent) Repaint();
}

void TExtCheckBox::InvalidateBox() {
    const TRect B = BoxRect();
    InvalidateRect(Bounds(B.Left, B.Top, 16, 16));
}

TRect TExtCheckBox::BoxRect() const {
    const bool BoxLeft = FAlignment != taLeftJustify;
    const int H = ClientHeight();
    if (Themed()) {
        const int X = BoxLeft ? 0 : ClientWidth() - 15;
        const int Y = FBtnVAlign == tlTop ? 4 : (FBtnVAlign == tlCenter ? H / 2 - 6 : H - 14);
        return Bounds(X, Y, 14, 14);
    }
    const int X = BoxLeft ? 0 : ClientWidth() - 13;
    const int Y = FBtnVAlign == tlTop ? 4 : (FBtnVAlign == tlCenter ? H / 2 - 6 : H - 17);
    return Bounds(X, Y, 13, 13);
}

TRect TExtCheckBox::CaptionRect() const {
    TRect R = ClientRect();
    if (FAlignment != taLeftJustify)
        R.Left += 9;
    else
        R.Right -= 9;
    R.Top += 4;
    R.Left += 6;
    return R;
}

void TExtCheckBox::Paint() {
    TCanvas* C = Canvas();
    if (!FTransparent) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(ClientRect());
    }
    // box
    const TRect B = BoxRect();
    bool Drawn = false;
    if (Themed()) {
        int Base =
            FState == cbChecked ? CBS_CHECKEDNORMAL : (FState == cbGrayed ? CBS_MIXEDNORMAL : CBS_UNCHECKEDNORMAL);
        int Offs = 0;
        if (!Enabled())
            Offs = 3;
        else if (FDown)
            Offs = 2;
        else if (FHot)
            Offs = 1;
        if (HTHEME T = OpenThemeData(this, QStringLiteral("button"))) {
            Drawn = DrawThemeBackground(T, C, BP_CHECKBOX, Base + Offs, B);
            CloseThemeData(T);
        }
    }
    if (!Drawn) {
        TRect F = B;
        unsigned State = DFCS_BUTTONCHECK;
        if (FState == cbChecked) State |= DFCS_CHECKED;
        if (FState == cbGrayed || !Enabled()) State |= DFCS_INACTIVE;
        C->DrawFrameControl(F, DFC_BUTTON, State);
    }
    // caption
    TRect R = CaptionRect();
    unsigned Flags = DT_LEFT | DT_TOP | DT_SINGLELINE;
    if (FEllipsis) Flags |= DT_END_ELLIPSIS;
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsClear);
    if (!Enabled()) {
        TRect S = R;
        OffsetRect(S, 1, 1);
        C->Font()->SetColor(clWhite);
        C->DrawText(FCaption, S, Flags);
        C->Font()->SetColor(clGray);
    }
    C->DrawText(FCaption, R, Flags);
    C->Brush()->SetStyle(bsSolid);
    if (FFocused) {
        const int TW = C->TextWidth(FCaption), TH = C->TextHeight(FCaption.isEmpty() ? QStringLiteral("gh") : FCaption);
        C->DrawFocusRect(Bounds(R.Left - 2, R.Top, TW + 1 + 2, TH + 1));
    }
}

void TExtCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        FMouseDown = true;
        if (CanFocus()) SetFocus();
        SetMouseCapture(true);
        FDown = true;
        if (FIsWinXP) InvalidateBox();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TExtCheckBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (MouseCapture() || FMouseDown) {
        const bool In = X >= 0 && Y >= 0 && X < ClientWidth() && Y < ClientHeight();
        if (In != FDown) {
            FDown = In;
            InvalidateBox();
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TExtCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    SetMouseCapture(false);
    FDown = false;
    const bool Inside = X >= 0 && Y >= 0 && X <= ClientWidth() && Y <= ClientHeight();
    if (Button == mbLeft && Inside && (Focused() || !CanFocus()) && FMouseDown) {
        FClicksDisabled = true;
        Toggle();
        FClicksDisabled = false;
        Click();
    }
    FMouseDown = false;
    if (FIsWinXP) InvalidateBox();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TExtCheckBox::MouseEnter() {
    FHot = true;
    InvalidateBox();
    TCustomControl::MouseEnter();
}

void TExtCheckBox::MouseLeave() {
    FHot = false;
    InvalidateBox();
    TCustomControl::MouseLeave();
}

LRESULT TExtCheckBox::DialogCode() const { return FReturnIsTab ? DLGC_WANTALLKEYS : 0; }

void TExtCheckBox::KeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        PostMessage(this, WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_SPACE) {
        FDown = true;
        InvalidateBox();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TExtCheckBox::KeyUp(Word& Key, TShiftState) {
    if (Key == VK_SPACE) {
        FDown = false;
        Toggle();
        Click();
    }
}

void TExtCheckBox::DoEnter() {
    FFocused = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TExtCheckBox::DoExit() {
    FFocused = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TExtCheckBox::WndProc(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR && IsAccel(Word(Message.WParam), FCaption) && Enabled() && Visible()) {
        Toggle();
        if (TabStop() && CanFocus()) SetFocus();
        Message.Result = 1;
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---- TFilePicture -------------------------------------------------------------------------------
std::unique_ptr<TGraphic> LoadPictureFile(const QString& FileName, qint64 MaxBytes) {
    const QFileInfo Info(FileName);
    if (!Info.exists()) throw EInOutError(QStringLiteral("File not found: %1").arg(FileName));
    // A device, a pipe or a directory could block or never end; a huge file would exhaust memory.
    if (!Info.isFile()) throw EInOutError(QStringLiteral("Not a regular file: %1").arg(FileName));
    if (Info.size() > MaxBytes) throw EInOutError(QStringLiteral("Picture file too large: %1").arg(FileName));
    QFile F(FileName);
    if (!F.open(QIODevice::ReadOnly)) throw EInOutError(QStringLiteral("Cannot open file: %1").arg(FileName));
    const QByteArray Bytes = F.read(MaxBytes + 1);
    if (Bytes.size() > MaxBytes) throw EInOutError(QStringLiteral("Picture file too large: %1").arg(FileName));
    const QString Ext = Info.suffix().toLower();
    std::unique_ptr<TGraphic> G;
    if (Ext == "bmp")
        G = std::make_unique<TBitmap>();
    else if (Ext == "png")
        G = std::make_unique<TPngImage>();
    else if (Ext == "gif")
        G = std::make_unique<TGIFImage>();
    else if (Ext == "ico")
        G = std::make_unique<TIcon>();
    else if (Ext == "jpg" || Ext == "jpeg")
        G = std::make_unique<TJPEGImage>();
    else
        throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(Ext));
    G->LoadFromBytes(Bytes);
    return G;
}

TFilePicture::TFilePicture() = default;
TFilePicture::~TFilePicture() = default;

std::shared_ptr<TGraphic> TFilePicture::Decode(const QString& FileName) {
    ++FDecodeCount;
    return std::shared_ptr<TGraphic>(LoadPictureFile(FileName, MaxFileSize));
}

void TFilePicture::SetFilename(const QString& Value) {
    if (Value.isEmpty()) {
        FFilename.clear();
        FWidth = FHeight = 0;
        FPicture.reset();
        FFailed = false;
        return;
    }
    std::shared_ptr<TGraphic> G = Decode(Value);
    FFilename = Value;
    FWidth = G->Width();
    FHeight = G->Height();
    FPicture = std::move(G);
    FFailed = false;
}

void TFilePicture::DrawPicture(TCanvas* Canvas, TRect R) {
    if (!Canvas || FFilename.isEmpty()) return;
    if (!FPicture && !FFailed) {
        try {
            FPicture = Decode(FFilename);
        } catch (const std::exception&) {
            FFailed = true; // drawn as nothing from now on
        }
    }
    if (FPicture) Canvas->StretchDraw(R, FPicture.get());
}

void TFilePicture::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TFilePicture*>(Source);
    if (!S) {
        TPersistent::Assign(Source);
        return;
    }
    FFilename = S->FFilename;
    FWidth = S->FWidth;
    FHeight = S->FHeight;
    FPicture = S->FPicture;
    FFailed = S->FFailed;
}

// ---- TSyncGrid, TFocusHelper --------------------------------------------------------------------
namespace GridBase {
void TSyncGrid::SetGrid(TStringGrid* Value) {
    if (Value == FOwner) return;
    FGrid = Value;
}

void TSyncGrid::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TSyncGrid*>(Source);
    if (!S) return;
    SetGrid(S->FGrid);
    ScrollVertical = S->ScrollVertical;
    ScrollHorizontal = S->ScrollHorizontal;
    SelectionColumn = S->SelectionColumn;
    SelectionRow = S->SelectionRow;
    MoveColumn = S->MoveColumn;
    MoveRow = S->MoveRow;
}

void TFocusHelper::Assign(TPersistent* Source) {
    if (auto* S = dynamic_cast<TFocusHelper*>(Source)) Enabled = S->Enabled;
}
} // namespace GridBase
