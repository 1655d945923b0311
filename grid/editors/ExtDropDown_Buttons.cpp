// The buttons of the drop-down family and the drawing routines they share.
#include "grid/editors/ExtDropDown.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/base/ExtUtil.h"
#include "platform/gui/Themes.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
int NInt(double X) { return int(Round(X)); }
} // namespace

// ---- drawing routines -----------------------------------------------------------------------
void FillGradientBands(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int Steps) {
    if (!Canvas) return;
    if (Steps <= 0) Steps = 1;
    const int From = ColorToRGB(FromColor), To = ColorToRGB(ToColor);
    const int Limit = Horizontal ? R.Right : R.Bottom;
    if (Horizontal)
        --R.Right;
    else
        --R.Bottom;
    const int Start = Horizontal ? R.Left : R.Top;
    const double Extent = Horizontal ? R.Width() : R.Height();
    const double D = Extent / Steps;
    TColor SavedPen = Canvas->Pen()->Color(), SavedBrush = Canvas->Brush()->Color();
    int SavedWidth = Canvas->Pen()->Width();
    Canvas->Pen()->SetWidth(1);
    for (int I = 0; I < Steps; ++I) {
        int Rc = GetRValue(From) + NInt(double(I) * (GetRValue(To) - GetRValue(From)) / Steps);
        int Gc = GetGValue(From) + NInt(double(I) * (GetGValue(To) - GetGValue(From)) / Steps);
        int Bc = GetBValue(From) + NInt(double(I) * (GetBValue(To) - GetBValue(From)) / Steps);
        TColor C = RGB(Rc, Gc, Bc);
        Canvas->Pen()->SetColor(C);
        Canvas->Brush()->SetColor(C);
        int A = Start + NInt(I * D);
        int B = std::min(A + NInt(D) + 1, Limit);
        if (B <= A) continue;
        if (Horizontal)
            Canvas->Rectangle(A, R.Top, B, R.Bottom);
        else
            Canvas->Rectangle(R.Left, A, R.Right, B);
    }
    Canvas->Pen()->SetColor(SavedPen);
    Canvas->Pen()->SetWidth(SavedWidth);
    Canvas->Brush()->SetColor(SavedBrush);
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
    if (Percent >= 100) return Color1;
    if (Percent <= 0) return Color2;
    const int C1 = ColorToRGB(Color1), C2 = ColorToRGB(Color2);
    const double P = Percent / 100.0;
    auto Mix = [&](int A, int B) { return NInt(P * A + (1 - P) * B); };
    return RGB(Mix(GetRValue(C1), GetRValue(C2)), Mix(GetGValue(C1), GetGValue(C2)), Mix(GetBValue(C1), GetBValue(C2)));
}

TColor ShiftColor(TColor Color, int RedPct, int GreenPct, int BluePct) {
    const int C = ColorToRGB(Color);
    auto Shift = [](int Channel, int Pct) {
        if (Channel == 0) return std::max(0, Pct);
        return NInt(std::min(100, 100 + Pct) / 100.0 * Channel);
    };
    return RGB(Shift(GetRValue(C), RedPct), Shift(GetGValue(C), GreenPct), Shift(GetBValue(C), BluePct));
}

void DrawFramedGradient(TCanvas* Canvas, TRect R, TColor FromColor, TGradientDirection Direction, int BorderWidth,
                        TColor BorderColor, TColor ToColor) {
    if (!Canvas) return;
    if (ToColor != clNone) {
        FillGradientBands(Canvas, FromColor, ToColor, Direction == gdHorizontal, R, 80);
    } else if (FromColor != clNone) {
        Canvas->Brush()->SetColor(FromColor);
        Canvas->FillRect(R);
    }
    if (BorderColor != clNone && BorderWidth > 0) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Pen()->SetWidth(BorderWidth);
        Canvas->Rectangle(R);
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

void DrawImageAndText(TCanvas* Canvas, TRect R, const QString& Text, int ImageIndex, TCustomImageList* Images) {
    if (!Canvas) return;
    bool Image = ImageIndex >= 0 && Images;
    if (Image) {
        Images->Draw(Canvas, R.Left + 4, R.Top + (R.Height() - Images->Height()) / 2, ImageIndex);
        R.Left += Images->Width() + 8;
    }
    unsigned Flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (Image ? DT_LEFT : DT_CENTER);
    TBrushStyle SavedStyle = Canvas->Brush()->Style();
    Canvas->Brush()->SetStyle(bsClear);
    DrawText(Canvas, Text, R, Flags);
    Canvas->Brush()->SetStyle(SavedStyle);
}

void DrawTransparentGlyph(TCanvas* Canvas, TBitmap* Glyph, TColor BackgroundColor, TRect R) {
    if (!Canvas || !Glyph || Glyph->Empty()) return;
    TBitmap Work(Glyph->Width(), Glyph->Height());
    Work.Canvas()->Brush()->SetColor(BackgroundColor);
    Work.Canvas()->FillRect(Rect(0, 0, Work.Width(), Work.Height()));
    const QImage& Src = Glyph->Image();
    const QRgb Key = Src.pixel(0, 0);
    QImage& Dst = Work.Image();
    for (int Y = 0; Y < Src.height(); ++Y)
        for (int X = 0; X < Src.width(); ++X)
            if (Src.pixel(X, Y) != Key) Dst.setPixel(X, Y, Src.pixel(X, Y));
    Canvas->CopyRect(Rect(R.Left, R.Top, R.Left + Work.Width(), R.Top + Work.Height()), Work.Canvas(),
                     Rect(0, 0, Work.Width(), Work.Height()));
}

TSize GetTextSize(TCanvas* Canvas, const QString& Text) {
    if (!Canvas || Text.isEmpty()) return {0, 0};
    TRect R = Rect(0, 0, 1000, 500);
    DrawText(Canvas, Text, R, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
    return {R.Width(), R.Height()};
}

QString FitText(TCanvas* Canvas, const QString& Text, int MaxWidth, bool Ellipsis) {
    if (!Canvas || Canvas->TextWidth(Text) <= MaxWidth) return Text;
    const QString Tail = Ellipsis ? QStringLiteral("...") : QString();
    // Every prefix, down to the empty one, is tried once: the search ends for any width.
    for (qsizetype N = Text.size() - 1; N >= 0; --N) {
        QString Candidate = Text.left(N) + Tail;
        if (Canvas->TextWidth(Candidate) < MaxWidth) return Candidate;
    }
    return QString();
}

TSize DrawDropDownHTML(TCanvas* Canvas, const QString& Text, TRect R, TCustomImageList* Images, bool Enabled,
                       bool Measure) {
    if (!Canvas || Text.isEmpty()) return {0, 0};
    QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
    int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
    TRect HoverRect, ControlRect;
    const TColor Saved = Canvas->Font()->Color();
    if (!Enabled) Canvas->Font()->SetColor(clGrayText);
    const TBrushStyle SavedStyle = Canvas->Brush()->Style();
    Canvas->Brush()->SetStyle(bsClear);
    DrawHTMLText(Canvas, Text, R, Images, 0, 0, -1, -1, 1, false, Measure, false, false, false, false, false, false,
                 1.0, clBlue, clNone, clNone, clGray, AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize,
                 HyperLinks, MouseLink, HoverRect, ControlRect, CID, CV, CT, nullptr, nullptr, nullptr, bdLeftToRight);
    Canvas->Brush()->SetStyle(SavedStyle);
    Canvas->Font()->SetColor(Saved);
    return {XSize, YSize};
}

// ---- TDbgList -------------------------------------------------------------------------------
void TDbgList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.erase(FItems.begin() + Index);
}

void TDbgList::AssignList(const TDbgList& ListA) {
    FItems.clear();
    for (void* P : ListA.FItems) FItems.push_back(P);
}

void* TDbgList::ItemsEx(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("Index out of bounds in list read access"));
    return FItems[size_t(Index)];
}

void TDbgList::SetItemsEx(int Index, void* Value) {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("Index out of bounds in list write access"));
    FItems[size_t(Index)] = Value;
}

// ---- TExtButtonAppearance -------------------------------------------------------------------
TExtButtonAppearance::TExtButtonAppearance()
    : FColorCheckedTo(ShiftColor(0xF9D2B2, -10, -10, 0)), FColorChecked(ShiftColor(0xF5F0E1, -10, -10, 0)) {
    FFont.SetName(QStringLiteral("Tahoma"));
}

void TExtButtonAppearance::Changed() {
    if (OnChange) OnChange(this);
}

void TExtButtonAppearance::SetColorField(TColor& Field, TColor Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
}

void TExtButtonAppearance::SetGradient(TGradientDirection Value) {
    if (FGradient == Value) return;
    FGradient = Value;
    Changed();
}

void TExtButtonAppearance::SetFont(TFont* Value) {
    FFont.Assign(Value);
    Changed();
}

void TExtButtonAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TExtButtonAppearance*>(Source);
    if (!S) throw EConvertError(QStringLiteral("Cannot assign to a TExtButtonAppearance"));
    SetColor(S->Color());
    SetColorTo(S->ColorTo());
    SetColorHot(S->ColorHot());
    SetColorHotTo(S->ColorHotTo());
    SetColorDown(S->ColorDown());
    SetColorDownTo(S->ColorDownTo());
    SetColorChecked(S->ColorChecked());
    SetColorCheckedTo(S->ColorCheckedTo());
    SetColorDisabled(S->ColorDisabled());
    SetColorDisabledTo(S->ColorDisabledTo());
    SetBorderColor(S->BorderColor());
    SetBorderColorHot(S->BorderColorHot());
    SetBorderColorDown(S->BorderColorDown());
    SetBorderColorChecked(S->BorderColorChecked());
    SetBorderColorDisabled(S->BorderColorDisabled());
    SetGradient(S->Gradient());
}

// ---- TExtDropDownSpeedButton ----------------------------------------------------------------
TExtDropDownSpeedButton::TExtDropDownSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FIsWinXP(true) {}

TDropDownEditButton* TExtDropDownSpeedButton::Holder() const { return dynamic_cast<TDropDownEditButton*>(Owner()); }

void TExtDropDownSpeedButton::SetButtonStyle(TButtonStyle Value) {
    FButtonStyle = Value;
    update();
}

void TExtDropDownSpeedButton::SetEtched(bool Value) {
    if (FEtched == Value) return;
    FEtched = Value;
    update();
}

void TExtDropDownSpeedButton::SetFocused(bool Value) {
    if (FFocused == Value) return;
    FFocused = Value;
    update();
}

void TExtDropDownSpeedButton::MouseEnter() {
    TGraphicControl::MouseEnter();
    FHot = true;
    update();
}

void TExtDropDownSpeedButton::MouseLeave() {
    TGraphicControl::MouseLeave();
    FHot = false;
    update();
}

void TExtDropDownSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        FDown = true;
        update();
    }
}

void TExtDropDownSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    bool WasDown = FDown;
    FDown = false;
    update();
    if (WasDown)
        if (TDropDownEditButton* H = Holder()) H->ButtonMouseUp(this, Button);
}

void TExtDropDownSpeedButton::Paint() {
    TCanvas* C = Canvas();
    TDropDownEditButton* H = Holder();
    TExtCustomDropDown* D = H ? H->DropDown() : nullptr;
    const TRect Client = ClientRect();
    const int W = Width(), Ht = Height();
    const bool Pressed = FDown && !FUp;
    if (FButtonStyle == bsDropDown) {
        if (!H || H->ButtonColor == clNone) {
            if (!FGlyph.Empty()) {
                C->Brush()->SetColor(clBtnFace);
                C->Pen()->SetColor(0x808080);
                C->Rectangle(Client);
                FGlyph.SetTransparent(true);
                C->Draw(0, 0, &FGlyph);
                return;
            }
            if (D) {
                bool E = D->Enabled() && !D->ReadOnly();
                if (Enabled() != E) SetEnabled(E);
            }
            if (FIsWinXP && ThemesActive()) {
                int State = !Enabled() ? CBXS_DISABLED : Pressed ? CBXS_PRESSED : FHot ? CBXS_HOT : CBXS_NORMAL;
                TRect R = Client;
                ++R.Left; // the themed rectangle of the current platform generation
                if (HTHEME T = OpenThemeData(this, QStringLiteral("combobox"))) {
                    DrawThemeBackground(T, C, CP_DROPDOWNBUTTON, State, R);
                    CloseThemeData(T);
                }
                return;
            }
            C->Brush()->SetColor(clBtnFace);
            C->FillRect(Client);
            TRect E = Client;
            DrawEdge(C, E, Pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT);
            C->Pen()->SetColor(clBtnFace);
            C->Polyline({Point(W - 2, 0), Point(0, 0), Point(0, Ht - 1)});
            C->Pen()->SetColor(clWhite);
            C->Polyline({Point(W - 3, 1), Point(1, 1), Point(1, Ht - 2)});
            C->Pen()->SetColor(clBlack);
            C->Brush()->SetColor(Enabled() ? clBlack : clGray);
            if (!Enabled()) C->Pen()->SetColor(clGray);
            C->Polygon({Point(5, 7), Point(11, 7), Point(8, 10)});
            return;
        }
        TColor Face = Pressed ? H->ButtonColorDown : FHot ? H->ButtonColorHot : H->ButtonColor;
        TColor Arrow = Pressed ? H->ButtonTextColorDown : FHot ? H->ButtonTextColorHot : H->ButtonTextColor;
        if (Face == clNone) Face = H->ButtonColor;
        if (Arrow == clNone) Arrow = clBlack;
        C->Brush()->SetColor(Face);
        C->FillRect(Client);
        if (D && D->BorderColor() != clNone) {
            C->Pen()->SetColor(D->BorderColor());
            C->MoveTo(0, 0);
            C->LineTo(0, Ht);
        }
        C->Pen()->SetColor(Arrow);
        C->Brush()->SetColor(Arrow);
        C->Polygon({Point(5, 7), Point(11, 7), Point(8, 10)});
        return;
    }
    // bsButton: a push-button face with glyph and caption.
    if (D) C->Font()->Assign(D->Font());
    TRect Inner = Client;
    if (FIsWinXP && ThemesActive()) {
        C->FillRect(Client);
        int State = !Enabled() ? PBS_DISABLED : Pressed ? PBS_PRESSED : FHot ? PBS_HOT : PBS_NORMAL;
        if (HTHEME T = OpenThemeData(this, QStringLiteral("button"))) {
            DrawThemeBackground(T, C, BP_PUSHBUTTON, State, Rect(0, 0, W + 1, Ht + 1));
            CloseThemeData(T);
        }
        InflateRect(Inner, -2, -2);
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Client);
        TRect E = Client;
        DrawEdge(C, E, Pressed ? BDR_SUNKENOUTER : (FEtched ? EDGE_ETCHED : EDGE_RAISED), BF_RECT);
        InflateRect(Inner, -3, -1);
    }
    if (Pressed) OffsetRect(Inner, 1, 1);
    if (!FGlyph.Empty()) {
        int X = Caption().isEmpty() ? Inner.Left + std::max(0, (Inner.Width() - FGlyph.Width()) / 2) : Inner.Left + 2;
        int Y = Inner.Top + std::max(0, (Inner.Height() - FGlyph.Height()) / 2);
        DrawTransparentGlyph(C, &FGlyph, clBtnFace, Bounds(X, Y, FGlyph.Width(), FGlyph.Height()));
        Inner.Left = X + FGlyph.Width() + 2;
    }
    if (!Caption().isEmpty()) {
        int Saved = SetBkMode(C, TRANSPARENT);
        DrawText(C, Caption(), Inner, DT_SINGLELINE | DT_VCENTER | (FGlyph.Empty() ? DT_CENTER : DT_LEFT));
        SetBkMode(C, Saved);
    }
}

// ---- TDropDownEditButton --------------------------------------------------------------------
TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner) {
    FButton = new TExtDropDownSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetButtonStyle(bsDropDown);
    FButton->SetCaption(QString());
    FButton->AfterConstruction();
    TWinControl::SetBounds(0, 0, 16, 25);
    AdjustButton();
}

TExtCustomDropDown* TDropDownEditButton::DropDown() const { return dynamic_cast<TExtCustomDropDown*>(Owner()); }

void TDropDownEditButton::SetFocusControl(TWinControl* Value) {
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TDropDownEditButton::SetButtonWidth(int Value) {
    FBWidth = Value;
    SetBounds(Left(), Top(), Value, Height());
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    (void)AWidth;
    TWinControl::SetBounds(ALeft, ATop, FBWidth, AHeight);
    AdjustButton();
}

void TDropDownEditButton::AdjustButton() {
    if (ComponentState().Contains(csLoading)) return;
    FButton->SetBounds(0, 0, FBWidth, Height());
}

void TDropDownEditButton::Resize() {
    TWinControl::Resize();
    AdjustButton();
}

void TDropDownEditButton::Loaded() {
    TWinControl::Loaded();
    AdjustButton();
}

void TDropDownEditButton::SetEnabled(bool Value) {
    TWinControl::SetEnabled(Value);
    FButton->SetEnabled(Value);
}

void TDropDownEditButton::ButtonMouseUp(TObject* Sender, TMouseButton Button) {
    if (Button == mbLeft && OnClick && Sender == FButton) OnClick(this);
}

// ---- TExtButton -----------------------------------------------------------------------------
TExtButton::TExtButton(TComponent* AOwner) : TCustomControl(AOwner), FUnHotTimer(new TTimer(this)) {
    FUnHotTimer->SetInterval(1);
    FUnHotTimer->SetEnabled(false);
    FUnHotTimer->OnTimer = [this](TObject* S) { UnHotTimerTick(S); };
    Font()->SetName(QStringLiteral("Tahoma"));
    SetShowHint(false);
    TCustomControl::SetBounds(0, 0, 23, 22);
}

TExtButton::~TExtButton() { FUnHotTimer->SetEnabled(false); }

void TExtButton::Loaded() {
    TCustomControl::Loaded();
    if (FInitialDown) SetDown(true);
}

void TExtButton::Paint() {
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled) {
        FState = (FDown && FGroupIndex != 0) ? absExclusive : absUp;
    }
    if (FStyle == tasCheck && FDown) FState = absDown;
    DrawButton(Canvas());
}

void TExtButton::DrawButton(TCanvas* C) {
    if (!FAppearance || !C) return;
    TExtButtonAppearance* A = FAppearance;
    TColor From, To, Border;
    if (!Enabled()) {
        From = A->ColorDisabled();
        To = A->ColorDisabledTo();
        Border = A->BorderColorDisabled();
    } else if (FMouseDownInControl && FMouseInControl) {
        From = To = A->ColorDown();
        Border = A->BorderColorDown();
    } else if (FDown) {
        From = To = A->ColorChecked();
        Border = A->BorderColorChecked();
    } else if (FMouseInControl || Focused()) {
        From = To = A->ColorHot();
        Border = A->BorderColorHot();
    } else {
        From = A->Color();
        To = A->ColorTo();
        Border = A->BorderColor();
    }
    DrawFramedGradient(C, ClientRect(), From, A->Gradient(), 1, Border, To);
    C->Font()->Assign(A->Font());
    DrawImageAndText(C, ClientRect(), Caption(), FImageIndex, FImages);
}

void TExtButton::AutoSizeButton() {
    if (!FAppearance) return;
    TCanvas C;
    C.Font()->Assign(FAppearance->Font());
    TSize S = GetTextSize(&C, Caption());
    int W = S.cx, H = S.cy;
    if (FImages && FImageIndex >= 0) {
        W = std::max(W, FImages->Width());
        H = std::max(H, FImages->Height());
    }
    SetBounds(Left(), Top(), W + 8, H + 4);
}

void TExtButton::MouseEnter() {
    TCustomControl::MouseEnter();
    if (ComponentState().Contains(csDesigning)) return;
    FMouseInControl = true;
    if (Enabled()) update();
    FUnHotTimer->SetEnabled(true);
    if (OnMouseEnterEvent) OnMouseEnterEvent(this);
}

void TExtButton::UnHotTimerTick(TObject*) {
    TPoint P = ScreenToClient(Mouse->CursorPos());
    if (PtInRect(ClientRect(), P)) return;
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    FHot = false;
    if (Enabled()) update();
}

void TExtButton::MouseLeave() {
    TCustomControl::MouseLeave();
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    FHot = false;
    if (Enabled()) update();
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(this);
}

void TExtButton::SyncHot() {
    TPoint P = Mouse->CursorPos();
    bool Over = FindDragTarget(P, true) == this;
    if (Over && !FMouseInControl)
        Perform(CM_MOUSEENTER);
    else if (!Over && FMouseInControl)
        Perform(CM_MOUSELEAVE);
}

void TExtButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || ComponentState().Contains(csDesigning)) return;
    FMouseDownInControl = true;
    if (!FDown) {
        FState = absDown;
        update();
    }
    if (FStyle == tasCheck) {
        FState = absDown;
        repaint();
    }
    FDragging = true;
}

void TExtButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TExtButtonState New = FDown ? absExclusive : absUp;
        if (X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight()) New = FDown ? absExclusive : absDown;
        if (FStyle == tasCheck && FDown) New = absDown;
        if (New != FState) {
            FState = New;
            update();
        }
    } else if (!FMouseInControl) {
        SyncHot();
    }
}

bool TExtButton::ClicksOnMouseUp() const { return true; }

void TExtButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDownInControl = false;
    update();
    if (!FDragging) return;
    FDragging = false;
    bool Inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (FGroupIndex != 0) {
        if (Inside) SetDown(!FDown);
        FState = FDown ? absExclusive : absUp;
    } else {
        FState = absUp;
        FMouseInControl = false;
        FHot = false;
        if (FStyle == tasCheck) FDown = !FDown;
        update();
    }
    SyncHot();
}

void TExtButton::SetDown(bool Value) {
    if (ComponentState().Contains(csLoading)) {
        FInitialDown = Value;
        return;
    }
    if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        FState = Value ? absDown : absUp;
        update();
        return;
    }
    if (Value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    if (Value) {
        if (FState == absUp) update();
        FState = absExclusive;
        if (TWinControl* P = Parent())
            for (int I = 0; I < P->ControlCount(); ++I)
                if (P->Controls(I) != this)
                    P->Controls(I)->Perform(CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this));
    } else {
        FState = absUp;
        update();
    }
}

void TExtButton::WndProc(TMessage& M) {
    switch (M.Msg) {
        case CM_BUTTONPRESSED: {
            auto* Sender = reinterpret_cast<TExtButton*>(M.LParam);
            if (int(M.WParam) == FGroupIndex && Sender && Sender != this) {
                if (Sender->Down() && FDown) {
                    FDown = false;
                    FState = absUp;
                    update();
                }
                FAllowAllUp = Sender->AllowAllUp();
            }
            return;
        }
        case CM_DIALOGCHAR:
            if (Enabled() && IsAccel(Word(M.WParam), Caption())) {
                Click();
                M.Result = 1;
                return;
            }
            break;
        case CM_ENABLEDCHANGED:
        case CM_FOCUSCHANGED: update(); break;
        case WM_ERASEBKGND: M.Result = 1; return;
        default: break;
    }
    TCustomControl::WndProc(M);
}

void TExtButton::KeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_RETURN || Key == VK_SPACE) {
        if (!FDown || FStyle == tasCheck) {
            FState = absDown;
            repaint();
        }
        QPointer<TExtButton> Self(this);
        FInternalClick = true;
        Click();
        if (!Self) return;
        FInternalClick = false;
        FState = FDown ? absExclusive : absUp;
        update();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TExtButton::Click() {
    QPointer<TExtButton> Self(this);
    if (TForm* F = ParentForm()) F->SetModalResult(FModalResult);
    if (FExtDropDown) {
        switch (FModalResult) {
            case mrOk:
            case mrYes:
            case mrAll:
            case mrYesToAll: FExtDropDown->DoHideDropDown(false); break;
            case mrCancel:
            case mrAbort:
            case mrIgnore:
            case mrNo:
            case mrNoToAll: FExtDropDown->DoHideDropDown(true); break;
            default: break;
        }
    }
    // Pressed by key or by mouse, the button tells its panel the same way.
    if (Self) TCustomControl::Click();
}
