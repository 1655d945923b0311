// The analog clock: settings, appearance, geometry, clicks and keys, hand animation, painting
// and colour styles.
#include "grid/editors/ExtWatch.h"

#include "grid/editors/ExtDropDown.h"
#include "platform/rtl/Clock.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {
constexpr double KDeg = std::numbers::pi / 180.0;
int Rnd(double X) { return int(Round(X)); }
void Decode(TDateTime T, int& H, int& M, int& S, int& MS) {
    DecodeTime(T, H, M, S, MS);
    H %= 24;
}

// One hand of the clock: its colours, pen width, angle (clockwise from 12 o'clock) and its
// extent as fractions of the radius; a line hand's shadow is shorter and may lie aside.
struct THand {
    TColor Color, Shadow;
    int Width;
    double Angle, Tail, Tip, ShadowTip;
    int ShadowDx;
};

// Draws a hand, or its shadow (nothing for a hand without one), as a line or as a filled
// four-point pointer.
void PaintHand(TCanvas* C, TPoint Ct, int R, bool Pointer, const THand& Hd, bool AsShadow) {
    if (AsShadow && Hd.Shadow == clNone) return;
    const TColor Color = AsShadow ? Hd.Shadow : Hd.Color;
    const int Dx = AsShadow ? (Pointer ? 1 : Hd.ShadowDx) : 0, Dy = AsShadow ? 3 : 0;
    auto Pt = [&](double K, double T) {
        return Point(Ct.X + Rnd(K * R * std::sin(T)) + Dx, Ct.Y - Rnd(K * R * std::cos(T)) + Dy);
    };
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(Color);
    if (Pointer) {
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color);
        C->Polygon({Pt(Hd.Tail, Hd.Angle), Pt(0.05, Hd.Angle - 90 * KDeg), Pt(Hd.Tip, Hd.Angle),
                    Pt(0.05, Hd.Angle + 90 * KDeg)});
        return;
    }
    C->Pen()->SetWidth(std::max(1, Hd.Width));
    const TPoint P1 = Pt(Hd.Tail, Hd.Angle), P2 = Pt(AsShadow ? Hd.ShadowTip : Hd.Tip, Hd.Angle);
    C->MoveTo(P1.X, P1.Y);
    C->LineTo(P2.X, P2.Y);
}
} // namespace

// ---- settings -------------------------------------------------------------------------------
void TWatchSettings::SetAuto(bool Value) {
    if (Value == FAuto) return;
    FAuto = Value;
    Changed();
}

void TWatchSettings::SetSecond(bool Value) {
    if (Value == FSeconds) return;
    FSeconds = Value;
    Changed();
}

void TWatchSettings::SetTimeOffset(int Value) {
    if (Value == FTimeOffset) return;
    FTimeOffset = Value;
    Changed();
}

void TWatchSettings::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TWatchSettings*>(Source);
    if (!S) return;
    FSeconds = S->FSeconds;
    FTimeOffset = S->FTimeOffset;
    SetAuto(S->FAuto);
}

// ---- appearance -----------------------------------------------------------------------------
TWatchAppearance::TWatchAppearance() {
    Reset();
    // A picture changed in place shows at once, as one set through the property does.
    FPicture.OnChange = [this](TObject*) { Changed(); };
}

void TWatchAppearance::Reset() {
    FSize = 0;
    FHourPointer = clBlack;
    FBackgroundColor = clWhite;
    FMinutePointerShadow = clBtnShadow;
    FBackgroundColorTo = clNone;
    FHourPointerShadow = clBtnShadow;
    FSecondPointer = clRed;
    FBorderColor = clBlack;
    FMinutePointer = clBlack;
    FHourFont.SetName(QStringLiteral("Tahoma"));
    FHourFont.SetSize(8);
    FHourFont.SetStyle({});
    FHourFont.SetColor(clWindowText);
    FAMPMFont.SetName(QStringLiteral("Tahoma"));
    FAMPMFont.SetSize(10);
    FAMPMFont.SetStyle({});
    FAMPMFont.SetColor(clWindowText);
    {
        const TNotifyEvent Hook = std::exchange(FPicture.OnChange, nullptr);
        FPicture.Assign(nullptr);
        FPicture.OnChange = Hook;
    }
    FAMPMFrame = apRect;
    FShape = wsCircle;
    FPointerStyle = psLine;
    FHourPointerSize = 4;
    FSecondPointerSize = 1;
    FMinutePointerSize = 3;
    FHourColor = clBlack;
    FMinuteColor = clGray;
    FCenterPointSize = 4;
    FCenterPointColor = clBlack;
    FCenterPointBorderColor = clNone;
    FBackgroundGradient = wgVertical;
    FHourMarkLength = 0;
    FHourMarkWidth = 1;
    FMinuteMarkLength = 0;
    FMinuteMarkWidth = 1;
    FBorderWidth = 4;
    FAMPMColor = clWhite;
    FAMPMBorderColor = clBlack;
    FCenterPointOuterBorderColor = clNone;
    FTickMarks = tmAll;
    FHourMarkStyle = hmsLine;
}

void TWatchAppearance::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TWatchAppearance*>(Source);
    if (!S) {
        TPersistent::Assign(Source);
        return;
    }
    if (S == this) return;
    FSize = S->FSize;
    FHourPointer = S->FHourPointer;
    FBackgroundColor = S->FBackgroundColor;
    FMinutePointerShadow = S->FMinutePointerShadow;
    FBackgroundColorTo = S->FBackgroundColorTo;
    FHourPointerShadow = S->FHourPointerShadow;
    FSecondPointer = S->FSecondPointer;
    FBorderColor = S->FBorderColor;
    FMinutePointer = S->FMinutePointer;
    FHourFont.Assign(&S->FHourFont);
    FAMPMFont.Assign(&S->FAMPMFont);
    {
        const TNotifyEvent Hook = std::exchange(FPicture.OnChange, nullptr);
        FPicture.Assign(&S->FPicture);
        FPicture.OnChange = Hook;
    }
    FAMPMFrame = S->FAMPMFrame;
    FShape = S->FShape;
    FPointerStyle = S->FPointerStyle;
    FHourPointerSize = S->FHourPointerSize;
    FSecondPointerSize = S->FSecondPointerSize;
    FMinutePointerSize = S->FMinutePointerSize;
    FHourColor = S->FHourColor;
    FMinuteColor = S->FMinuteColor;
    FCenterPointSize = S->FCenterPointSize;
    FCenterPointColor = S->FCenterPointColor;
    FCenterPointBorderColor = S->FCenterPointBorderColor;
    FBackgroundGradient = S->FBackgroundGradient;
    FHourMarkLength = S->FHourMarkLength;
    FHourMarkWidth = S->FHourMarkWidth;
    FMinuteMarkLength = S->FMinuteMarkLength;
    FMinuteMarkWidth = S->FMinuteMarkWidth;
    FBorderWidth = S->FBorderWidth;
    FAMPMColor = S->FAMPMColor;
    FAMPMBorderColor = S->FAMPMBorderColor;
    SetCenterPointOuterBorderColor(S->FCenterPointOuterBorderColor);
    SetTickMarks(S->FTickMarks);
    SetHourMarkStyle(S->FHourMarkStyle);
}

// ---- the clock ------------------------------------------------------------------------------
TExtWatch::TExtWatch(TComponent* AOwner)
    : TCustomControl(AOwner), FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>()), FWatchTimer(std::make_unique<TTimer>(nullptr)),
      FAnimationTimer(std::make_unique<TTimer>(nullptr)) {
    FAppearance->OnChange = [this](TObject*) {
        FBKGCache = QImage();
        update();
    };
    FSettings->OnChange = [this](TObject*) { SettingsChanged(); };
    FWatchTimer->SetInterval(100);
    FWatchTimer->SetEnabled(FSettings->Auto());
    FWatchTimer->OnTimer = [this](TObject*) { RepaintPointers(); };
    FAnimationTimer->SetInterval(1);
    FAnimationTimer->SetEnabled(false);
    FAnimationTimer->OnTimer = [this](TObject*) { AnimationTick(); };
    SetBounds(Left(), Top(), 180, 180);
}

TExtWatch::~TExtWatch() {
    FWatchTimer->SetEnabled(false);
    FAnimationTimer->SetEnabled(false);
}

TDateTime TExtWatch::CurrentTime() const {
    if (FSettings->Auto()) return Now() + FSettings->TimeOffset() / 1440.0;
    return FTime;
}

void TExtWatch::SetTimeInternal(TDateTime T) {
    if (T == FTime) return;
    FTime = T;
    int H, M, S, MS;
    Decode(T, H, M, S, MS);
    FInternalSet = true;
    SetAM(H < 12);
    FInternalSet = false;
}

void TExtWatch::SetTime(TDateTime Value) {
    if (Value == FTime) return;
    SetTimeInternal(Value);
    RepaintPointers();
}

void TExtWatch::SetShowAMPM(bool Value) {
    if (Value == FShowAMPM) return;
    FShowAMPM = Value;
    FBKGCache = QImage();
    update();
}

void TExtWatch::SetShowNumbers(bool Value) {
    if (Value == FShowNumbers) return;
    FShowNumbers = Value;
    FBKGCache = QImage();
    update();
}

void TExtWatch::FireChange() {
    if (OnChange) OnChange(this);
}

void TExtWatch::SettingsChanged() {
    FWatchTimer->SetEnabled(FSettings->Auto());
    if (FSettings->Auto()) {
        FTime = CurrentTime();
        int H, M, S, MS;
        Decode(FTime, H, M, S, MS);
        FInternalSet = true;
        SetAM(H < 12);
        FInternalSet = false;
    }
    FBKGCache = QImage();
    update();
}

void TExtWatch::RepaintPointers() { update(); }

// ---- geometry -------------------------------------------------------------------------------
TRect TExtWatch::GetWatchRect() const {
    const int W = Width(), H = Height();
    int S;
    if (FAppearance->Size() > 0)
        S = std::min(std::min(FAppearance->Size(), H), W);
    else
        S = std::min(W, H) - 20;
    const int L = (W - S) / 2, T = (H - S) / 2;
    return Rect(L, T, L + S, T + S);
}

TPoint TExtWatch::GetCenter() const {
    const TRect R = GetWatchRect();
    return Point(R.Left + (R.Right - R.Left) / 2, R.Top + (R.Bottom - R.Top) / 2);
}

int TExtWatch::GetRadius() const {
    const TRect R = GetWatchRect();
    return (R.Right - R.Left) / 2;
}

TRect TExtWatch::GetAMPMRect() {
    if (!FShowAMPM) return Rect(-1, -1, -1, -1);
    TCanvas C;
    C.Font()->Assign(FAppearance->AMPMFont());
    const TSize S = C.TextExtent(QStringLiteral("AM"));
    const TPoint Ct = GetCenter();
    const int W = S.cx + 8, L = Ct.X - W / 2, T = Ct.Y + Rnd((GetRadius() - S.cy) / 3.0);
    return Rect(L, T, L + W, T + S.cy);
}

int TExtWatch::MinuteFromPoint(int X, int Y) const {
    const TPoint C = GetCenter();
    int Dy = std::abs(C.Y - Y), Dx = std::abs(C.X - X);
    if (Dy == 0) Dy = 1;
    if (Dx == 0) Dx = 1;
    const int F = Rnd(std::atan(double(Dy) / Dx) / KDeg / 6);
    int M;
    if (X >= C.X && Y >= C.Y)
        M = 15 + F;
    else if (X <= C.X && Y >= C.Y)
        M = 45 - F;
    else if (X <= C.X && Y <= C.Y)
        M = 45 + F;
    else
        M = 15 - F;
    return (M < 0 || M > 59) ? 0 : M;
}

int TExtWatch::HourFromPoint(int X, int Y) const {
    const int K = Rnd(MinuteFromPoint(X, Y) / 5.0);
    if (K == 0 || K == 12) return FAM ? 0 : 12;
    return FAM ? K : K + 12;
}

// ---- setting the hands ----------------------------------------------------------------------
void TExtWatch::SetHour(int Value) {
    int H, M, S, MS;
    Decode(CurrentTime(), H, M, S, MS);
    if (H == Value) return;
    const bool Still = ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
    if (FAnimation && !FInternalCall && !Still) {
        FCurrentHourTo = Value;
        FHourAnimating = true;
        FAnimationTimer->SetEnabled(true);
        return;
    }
    SetTimeInternal(EncodeTime(Value, M, S, MS));
    RepaintPointers();
    // A change made directly (not a step of an animation) is its own target, so it is announced.
    if (!FInternalCall) FCurrentHourTo = Value;
    if (Value == FCurrentHourTo) FireChange();
}

void TExtWatch::SetMinute(int Value) {
    int H, M, S, MS;
    Decode(CurrentTime(), H, M, S, MS);
    if (Value >= 60) throw Exception(QStringLiteral("Invalid time"));
    if (M == Value) return;
    const bool Still = ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
    if (FAnimation && !FInternalCall && !Still) {
        FCurrentMinuteTo = Value;
        FHourAnimating = false;
        FMinuteFrom = M;
        FAnimationTimer->SetEnabled(true);
        return;
    }
    if (!FAnimation) FMinuteFrom = M;
    if (Value == 0 && FMinuteFrom > 30) {
        H = (H + 1) % 24;
        FMinuteFrom = 0;
    }
    SetTimeInternal(EncodeTime(H, Value, S, MS));
    RepaintPointers();
    if (!FInternalCall) FCurrentMinuteTo = Value;
    if (Value == FCurrentMinuteTo) FireChange();
}

void TExtWatch::AnimationTick() {
    if (!FAnimation || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    int H, M, S, MS;
    Decode(CurrentTime(), H, M, S, MS);
    const int Factor = std::max(1, FAnimationFactor); // a factor of 0 moves like 1
    const bool Saved = FInternalCall;
    FInternalCall = true;
    if (FHourAnimating) {
        const int Step = std::max(1, Rnd(std::abs(FCurrentHourTo - H) / double(Factor)));
        if (H == FCurrentHourTo) {
            SetHour(FCurrentHourTo);
            FAnimationTimer->SetEnabled(false);
        } else {
            SetHour(H < FCurrentHourTo ? H + Step : H - Step);
        }
    } else {
        const bool Wrap = FCurrentMinuteTo == 0 && M > 30;
        const int Dist = Wrap ? std::abs(60 - M) : std::abs(FCurrentMinuteTo - M);
        const int Step = std::max(1, Rnd(Dist / double(Factor)));
        if (M == FCurrentMinuteTo) {
            SetMinute(FCurrentMinuteTo);
            FAnimationTimer->SetEnabled(false);
        } else {
            int N = (M < FCurrentMinuteTo || Wrap) ? M + Step : M - Step;
            if (N >= 60) N = 0;
            SetMinute(N);
        }
    }
    FInternalCall = Saved;
}

void TExtWatch::SetAM(bool A) {
    if (A == FAM) return;
    FAM = A;
    if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet) {
        // The label rolls one pixel per step over the inner height of the box.
        const TRect R = GetAMPMRect();
        const int Steps = std::max(0, R.Bottom - R.Top - 2);
        // The window on the strip starts at the old text and ends on the new one.
        for (int I = 0; I < Steps; ++I) {
            FRollOffset = A ? Steps - 1 - I : I + 1;
            repaint();
            Clock().Sleep(10);
        }
        FRollOffset = -1;
    }
    FBKGCache = QImage();
    update();
}

// ---- mouse and keys -------------------------------------------------------------------------
void TExtWatch::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (ComponentState().Contains(csDesigning)) return;
    const TRect R = GetAMPMRect();
    const bool Over = FShowAMPM && X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
    setCursor(Over ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TExtWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FSettings->Auto()) return;
    const TRect F = GetWatchRect();
    const double A = (F.Right - F.Left) / 2.0, B = (F.Bottom - F.Top) / 2.0;
    const double Ex = (X - (F.Left + A)) / A, Ey = (Y - (F.Top + B)) / B;
    if (A <= 0 || Ex * Ex + Ey * Ey > 1) {
        SetMinute(MinuteFromPoint(X, Y));
        return;
    }
    const TRect AP = GetAMPMRect();
    if (FShowAMPM && X >= AP.Left && X < AP.Right && Y >= AP.Top && Y < AP.Bottom) {
        if (FAnimation) SetAM(!FAM);
        int H, M, S, MS;
        Decode(FTime, H, M, S, MS);
        const int Target = H < 12 ? H + 12 : H - 12;
        FCurrentHourTo = Target;
        FInternalCall = true;
        SetHour(Target);
        FInternalCall = false;
        return;
    }
    SetHour(HourFromPoint(X, Y));
}

void TExtWatch::HandleKey(Word Key) {
    if (FSettings->Auto()) return;
    int H, M, S, MS;
    Decode(CurrentTime(), H, M, S, MS);
    auto Now = [this](int Hour) {
        FCurrentHourTo = Hour;
        FInternalCall = true;
        SetHour(Hour);
        FInternalCall = false;
    };
    switch (Key) {
        case 'A':
            if (H >= 12) SetHour(H - 12);
            break;
        case 'P':
            if (H < 12) SetHour(H + 12);
            break;
        case VK_PRIOR:
            if (H == 23)
                Now(0);
            else
                SetHour(H + 1);
            break;
        case VK_NEXT:
            if (H == 0)
                Now(23);
            else
                SetHour(H - 1);
            break;
        case VK_HOME: Now(12); break;
        case VK_END: SetMinute(0); break;
        case VK_LEFT:
            if (M == 0) {
                SetTime(EncodeTime((H + 23) % 24, 59, S, MS));
                // The user moved the hands: the owner hears of it as of any other change.
                FireChange();
            } else {
                SetMinute(M - 1);
            }
            break;
        case VK_RIGHT:
            if (M == 59)
                SetMinute(0);
            else
                SetMinute(M + 1);
            break;
        default: break;
    }
}

// ---- painting -------------------------------------------------------------------------------
void TExtWatch::Paint() {
    if (FBKGCache.size() != QSize(Width(), Height())) {
        FBKGCache = QImage(std::max(1, Width()), std::max(1, Height()), QImage::Format_RGB32);
        FBKGCache.fill(ToQColor(Color()));
        TCanvas C;
        C.BeginPaintOn(&FBKGCache);
        PaintFace(&C);
        C.EndPaint();
    }
    PaintAll(Canvas());
}

void TExtWatch::PaintAll(TCanvas* Canvas) {
    if (QPainter* P = Canvas->Painter()) P->drawImage(0, 0, FBKGCache);
    if (FRollOffset >= 0) PaintRoll(Canvas);
    PaintPointers(Canvas);
}

// One step of the AM/PM roll: a strip with "AM" over "PM", seen through the box at the
// current offset, then the box's frame.
void TExtWatch::PaintRoll(TCanvas* C) {
    TWatchAppearance* A = FAppearance.get();
    QPainter* P = C->Painter();
    const TRect B = GetAMPMRect();
    const int W = B.Right - B.Left - 2, Inner = B.Bottom - B.Top - 2;
    if (!P || W <= 0 || Inner <= 0) return;
    QImage Strip(W, 2 * Inner, QImage::Format_RGB32);
    Strip.fill(ToQColor(A->AMPMColor()));
    {
        TCanvas S;
        S.BeginPaintOn(&Strip);
        S.Font()->Assign(A->AMPMFont());
        S.Brush()->SetStyle(bsClear);
        TRect Top = Rect(0, 0, W, Inner), Bottom = Rect(0, Inner, W, 2 * Inner);
        DrawText(&S, QStringLiteral("AM"), Top, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        DrawText(&S, QStringLiteral("PM"), Bottom, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        S.EndPaint();
    }
    P->drawImage(B.Left + 1, B.Top + 1, Strip, 0, std::clamp(FRollOffset, 0, Inner), W, Inner);
    if (A->AMPMBorderColor() == clNone) return;
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(A->AMPMBorderColor());
    if (A->AMPMFrame() == apRect)
        C->Rectangle(B);
    else
        C->RoundRect(B.Left, B.Top, B.Right, B.Bottom, 5, 5);
}

void TExtWatch::PaintFace(TCanvas* C) {
    TWatchAppearance* A = FAppearance.get();
    const TRect F = GetWatchRect();
    const TRect Client = Rect(0, 0, Width(), Height());
    const TPoint Ct = GetCenter();
    const int R = GetRadius();
    QPainter* P = C->Painter();
    if (!P) return;

    // background
    const TRect Area = A->Shape() == wsCircle ? F : Client;
    if (A->Shape() == wsCircle) {
        P->setClipRegion(
            QRegion(QRect(F.Left - 1, F.Top - 1, F.Right - F.Left + 3, F.Bottom - F.Top + 3), QRegion::Ellipse));
    } else if (A->Shape() == wsRoundRect) {
        QPainterPath Path;
        Path.addRoundedRect(QRectF(Client.Left, Client.Top, Client.Right - Client.Left, Client.Bottom - Client.Top), 10,
                            10);
        P->setClipPath(Path);
    }
    if (A->BackgroundColor() != clNone && A->BackgroundColorTo() != clNone) {
        FillGradientBands(C, A->BackgroundColor(), A->BackgroundColorTo(), A->BackgroundGradient() == wgRadial, Area,
                          80);
    } else if (A->BackgroundColor() != clNone) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(A->BackgroundColor());
        C->FillRect(Area);
    }
    if (A->BorderColor() != clNone && A->BorderWidth() > 0) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(A->BorderColor());
        C->Pen()->SetWidth(A->BorderWidth());
        if (A->Shape() == wsCircle)
            C->Ellipse(F);
        else if (A->Shape() == wsRect)
            C->Rectangle(Client);
        else
            C->RoundRect(Client.Left, Client.Top, Client.Right, Client.Bottom, 20, 20);
    }
    if (QPainter* Q = C->Painter()) Q->setClipping(false);
    if (TGraphic* G = A->Picture()->Graphic(); G && !G->Empty()) {
        // The picture lies over the face with its bottom-left colour left out; a copy is made
        // transparent so that the appearance's own picture is not touched while painting.
        if (auto* Bmp = dynamic_cast<TBitmap*>(G)) {
            TBitmap Over;
            Over.Assign(Bmp);
            Over.SetTransparentMode(tmAuto);
            Over.SetTransparent(true);
            C->Draw(0, 0, &Over);
        } else {
            C->Draw(0, 0, G);
        }
    }

    // tick marks
    const int Ro = R - A->BorderWidth() / 2;
    auto Mark = [&](double Deg, double Inner, int Dx, int Dy) {
        const double Ca = std::cos(Deg * KDeg), Sa = std::sin(Deg * KDeg);
        C->MoveTo(Ct.X + Rnd(Inner * Ca) + Dx, Ct.Y + Rnd(Inner * Sa) + Dy);
        C->LineTo(Ct.X + Rnd(Ro * Ca) + Dx, Ct.Y + Rnd(Ro * Sa) + Dy);
    };
    if (A->TickMarks() != tmNone) {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(A->HourColor());
        C->Pen()->SetWidth(A->HourMarkWidth());
        const double HourIn = A->HourMarkLength() > 0 ? Ro - A->HourMarkLength() : 0.9 * Ro;
        for (int I = 0; I < 12; ++I) {
            const double Deg = I * 30.0;
            if (I % 3 == 0) {
                if (A->HourMarkStyle() == hmsQuartDblLine) {
                    const bool ShiftY = I == 0 || I == 6;
                    Mark(Deg, HourIn, ShiftY ? 0 : -2, ShiftY ? -2 : 0);
                    Mark(Deg, HourIn, ShiftY ? 0 : 2, ShiftY ? 2 : 0);
                } else {
                    Mark(Deg, HourIn, 0, 0);
                }
            } else if (A->TickMarks() == tmAll || A->TickMarks() == tmHours) {
                Mark(Deg, HourIn, 0, 0);
            }
        }
        if (A->TickMarks() == tmAll) {
            C->Pen()->SetColor(A->MinuteColor());
            C->Pen()->SetWidth(A->MinuteMarkWidth());
            const double MinIn = A->MinuteMarkLength() > 0 ? Ro - A->MinuteMarkLength() : 0.95 * Ro;
            for (int I = 0; I < 60; ++I)
                if (I % 5 != 0) Mark(I * 6.0, MinIn, 0, 0);
        }
    }

    // numbers
    if (FShowNumbers && (A->TickMarks() == tmAll || A->TickMarks() == tmQuartHours)) {
        C->Font()->Assign(A->HourFont());
        C->Brush()->SetStyle(bsClear);
        const int B = A->HourMarkLength() > 0 ? A->HourMarkLength() : Rnd(Ro - 0.9 * Ro) + 2;
        for (int I = 1; I <= 12; ++I) {
            if (A->TickMarks() == tmQuartHours && I % 3 != 0) continue;
            const QString S = QString::number(I);
            const TSize Ts = C->TextExtent(S);
            const int D = I == 10 ? Rnd(0.2 * Ts.cy) : I == 11 ? Rnd(0.15 * Ts.cy) : 0;
            const double Rho = Ro - 2.0 * B - 2 + B / 2.0 - D;
            const double T = I * 30.0 * KDeg;
            const int X = Ct.X + Rnd(std::sin(T) * Rho), Y = Ct.Y - Rnd(std::cos(T) * Rho);
            C->TextOut(X - Ts.cx / 2, Y - Ts.cy / 2, S);
        }
    }

    // AM/PM box
    if (FShowAMPM) {
        const TRect B = GetAMPMRect();
        if (A->AMPMColor() != clNone || A->AMPMBorderColor() != clNone) {
            if (A->AMPMColor() == clNone) {
                C->Brush()->SetStyle(bsClear);
            } else {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(A->AMPMColor());
            }
            if (A->AMPMBorderColor() == clNone) {
                C->Pen()->SetStyle(psClear);
            } else {
                C->Pen()->SetStyle(psSolid);
                C->Pen()->SetColor(A->AMPMBorderColor());
            }
            C->Pen()->SetWidth(1);
            if (A->AMPMFrame() == apRect)
                C->Rectangle(B);
            else
                C->RoundRect(B.Left, B.Top, B.Right, B.Bottom, 5, 5);
            C->Pen()->SetStyle(psSolid);
        }
        C->Font()->Assign(A->AMPMFont());
        C->Brush()->SetStyle(bsClear);
        TRect TR = B;
        DrawText(C, FAM ? QStringLiteral("AM") : QStringLiteral("PM"), TR, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TExtWatch::PaintPointers(TCanvas* C) {
    TWatchAppearance* A = FAppearance.get();
    const TDateTime Now_ = CurrentTime();
    int H, M, S, MS;
    Decode(Now_, H, M, S, MS);
    if (FSettings->Auto() && FAM != (H < 12)) {
        FInternalSet = true;
        SetAM(H < 12);
        FInternalSet = false;
    }
    H %= 12;
    const TPoint Ct = GetCenter();
    const int R = GetRadius();
    const double Th = (30.0 * H + M / 2.0) * KDeg, Tm = 6.0 * M * KDeg, Ts = 6.0 * S * KDeg;
    const THand Hour{A->HourPointer(), A->HourPointerShadow(), A->HourPointerSize(), Th, -0.1, 0.5, 0.46, -1};
    const THand Minute{A->MinutePointer(), A->MinutePointerShadow(), A->MinutePointerSize(), Tm, -0.1, 0.7, 0.65, 0};
    const THand SecondHand{A->SecondPointer(), clNone, A->SecondPointerSize(), Ts, -0.2, 0.9, 0, 0};
    const bool Second = FSettings->Auto() && FSettings->Second();
    if (A->PointerStyle() == psLine) {
        // Both shadows lie under both hands.
        PaintHand(C, Ct, R, false, Hour, true);
        PaintHand(C, Ct, R, false, Minute, true);
        PaintHand(C, Ct, R, false, Hour, false);
        PaintHand(C, Ct, R, false, Minute, false);
    } else if (A->PointerStyle() == psPointer) {
        PaintHand(C, Ct, R, true, Hour, true);
        PaintHand(C, Ct, R, true, Hour, false);
        PaintHand(C, Ct, R, true, Minute, true);
        PaintHand(C, Ct, R, true, Minute, false);
    }
    if (Second && (A->PointerStyle() == psLine || A->PointerStyle() == psPointer))
        PaintHand(C, Ct, R, false, SecondHand, false);

    // centre cap
    const int Sz = A->CenterPointSize();
    if (Sz > 0) {
        const int X0 = Rnd(Ct.X - Sz / 2.0), Y0 = Rnd(Ct.Y - Sz / 2.0);
        if (A->CenterPointColor() != clNone) {
            C->Pen()->SetStyle(psSolid);
            C->Pen()->SetWidth(1);
            C->Pen()->SetColor(A->CenterPointColor());
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(A->CenterPointColor());
            C->Ellipse(X0, Y0, X0 + Sz, Y0 + Sz);
        }
        int V = 0;
        C->Brush()->SetStyle(bsClear);
        if (A->CenterPointOuterBorderColor() != clNone) {
            V = Rnd(0.2 * Sz);
            C->Pen()->SetStyle(psSolid);
            C->Pen()->SetColor(A->CenterPointOuterBorderColor());
            C->Pen()->SetWidth(std::max(1, V));
            C->Ellipse(X0, Y0, X0 + Sz, Y0 + Sz);
        }
        if (A->CenterPointBorderColor() != clNone) {
            const int D = Sz - V, X1 = Rnd(Ct.X - D / 2.0), Y1 = Rnd(Ct.Y - D / 2.0);
            C->Pen()->SetStyle(psSolid);
            C->Pen()->SetColor(A->CenterPointBorderColor());
            C->Pen()->SetWidth(std::max(1, Rnd(0.1 * Sz)));
            C->Ellipse(X1, Y1, X1 + D, Y1 + D);
        }
    }
}

// ---- styles ---------------------------------------------------------------------------------
void TExtWatch::SetStyle(TWatchStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    ApplyPreset(Value);
}

namespace {
struct TStyleColors {
    TColor AMPMBorder, AMPMFill, Back, BackTo, Border, CapRing, Cap, Hands, Shadows, Second;
};
constexpr TColor Rgb(int R, int G, int B) { return TColor(R | (G << 8) | (B << 16)); }
// Indexed by TExtStyle; tsCustom's row is never used.
const TStyleColors KStyleColors[] = {
    {Rgb(0, 45, 150), Rgb(89, 135, 214), Rgb(175, 210, 255), Rgb(175, 210, 255), Rgb(89, 135, 214), Rgb(89, 135, 214),
     Rgb(89, 135, 214), Rgb(89, 135, 214), clWhite, clWhite},
    {Rgb(0, 45, 150), Rgb(165, 164, 189), Rgb(216, 216, 230), Rgb(216, 216, 230), Rgb(165, 164, 189),
     Rgb(165, 164, 189), Rgb(165, 164, 189), Rgb(165, 164, 189), clWhite, clWhite},
    {Rgb(0, 45, 150), Rgb(175, 192, 130), Rgb(225, 234, 185), Rgb(225, 234, 185), Rgb(175, 192, 130),
     Rgb(175, 192, 130), Rgb(175, 192, 130), Rgb(175, 192, 130), clWhite, clWhite},
    {Rgb(0, 45, 150), Rgb(128, 128, 128), Rgb(242, 242, 242), Rgb(242, 242, 242), Rgb(128, 128, 128),
     Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(128, 128, 128), clWhite, Rgb(128, 128, 128)},
    {Rgb(208, 222, 240), Rgb(208, 222, 240), Rgb(227, 239, 255), Rgb(227, 239, 255), Rgb(208, 222, 240),
     Rgb(227, 239, 255), Rgb(227, 239, 255), Rgb(8, 55, 114), clWhite, Rgb(8, 55, 114)},
    {Rgb(240, 241, 242), Rgb(76, 83, 92), Rgb(76, 83, 92), Rgb(76, 83, 92), Rgb(240, 241, 242), Rgb(227, 239, 255),
     Rgb(227, 239, 255), Rgb(240, 241, 242), clWhite, Rgb(240, 241, 242)},
    {clBlack, clBtnFace, clBtnFace, clBtnFace, clBlack, clBlack, clBlack, clBlack, clWhite, clBlack},
    {Rgb(152, 152, 126), Rgb(250, 249, 245), Rgb(250, 249, 245), Rgb(250, 249, 245), Rgb(152, 152, 126),
     Rgb(152, 152, 126), Rgb(152, 152, 126), Rgb(152, 152, 126), clWhite, Rgb(152, 152, 126)},
    {}, // tsCustom
    {Rgb(219, 224, 232), Rgb(241, 244, 248), Rgb(241, 244, 248), Rgb(241, 244, 248), Rgb(219, 224, 232),
     Rgb(219, 224, 232), Rgb(111, 112, 116), Rgb(111, 112, 116), clWhite, Rgb(111, 112, 116)},
    {Rgb(154, 223, 254), Rgb(249, 253, 255), Rgb(249, 253, 255), Rgb(240, 250, 255), Rgb(154, 223, 254),
     Rgb(154, 223, 254), Rgb(154, 223, 254), Rgb(154, 223, 254), clWhite, Rgb(154, 223, 254)},
    {Rgb(184, 214, 251), Rgb(250, 251, 253), Rgb(250, 251, 253), Rgb(235, 243, 253), Rgb(184, 214, 251),
     Rgb(184, 214, 251), Rgb(184, 214, 251), Rgb(184, 214, 251), clWhite, Rgb(184, 214, 251)},
    {Rgb(128, 128, 128), clBtnFace, clBtnFace, clBtnFace, Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(128, 128, 128),
     Rgb(128, 128, 128), clWhite, Rgb(128, 128, 128)},
    {Rgb(159, 178, 199), Rgb(199, 218, 240), Rgb(239, 246, 253), Rgb(239, 246, 253), Rgb(159, 178, 199),
     Rgb(159, 178, 199), Rgb(159, 178, 199), Rgb(159, 178, 199), clWhite, Rgb(159, 178, 199)},
    {Rgb(200, 205, 210), Rgb(224, 229, 237), clWhite, clWhite, Rgb(200, 205, 210), Rgb(200, 205, 210),
     Rgb(200, 205, 210), Rgb(200, 205, 210), clSilver, Rgb(200, 205, 210)},
    {Rgb(109, 109, 109), Rgb(145, 145, 145), Rgb(191, 191, 191), Rgb(191, 191, 191), Rgb(109, 109, 109),
     Rgb(109, 109, 109), Rgb(109, 109, 109), Rgb(109, 109, 109), clWhite, Rgb(109, 109, 109)},
};
} // namespace

// The colour table of the component styles, on any appearance (the time picker uses it too).
void ApplyWatchStyleColors(TWatchAppearance* A, TExtStyle AStyle) {
    A->SetCenterPointOuterBorderColor(clBlack);
    A->HourFont()->SetColor(clBlack);
    A->AMPMFont()->SetColor(clBlack);
    if (AStyle == tsCustom || size_t(AStyle) >= std::size(KStyleColors)) {
        A->Changed();
        return;
    }
    const TStyleColors& S = KStyleColors[AStyle];
    A->SetAMPMBorderColor(S.AMPMBorder);
    A->SetAMPMColor(S.AMPMFill);
    A->SetBackgroundColor(S.Back);
    A->SetBackgroundColorTo(S.BackTo);
    A->SetBorderColor(S.Border);
    A->SetCenterPointBorderColor(S.CapRing);
    A->SetCenterPointColor(S.Cap);
    A->SetHourColor(S.Hands);
    A->SetMinuteColor(S.Hands);
    A->SetHourPointer(S.Hands);
    A->SetMinutePointer(S.Hands);
    A->SetHourPointerShadow(S.Shadows);
    A->SetMinutePointerShadow(S.Shadows);
    A->SetSecondPointer(S.Second);
    if (AStyle == tsOffice2007Obsidian) {
        A->AMPMFont()->SetColor(Rgb(240, 241, 242));
        A->HourFont()->SetColor(Rgb(240, 241, 242));
    }
    A->Changed();
}

void TExtWatch::SetComponentStyle(TExtStyle AStyle) { ApplyWatchStyleColors(FAppearance.get(), AStyle); }

void TExtWatch::ApplyPreset(TWatchStyle Value) {
    TWatchAppearance* A = FAppearance.get();
    A->Reset();
    auto Font = [](TFont* F, TColor Color, const char* Name, int Size, TFontStyles Style) {
        if (Color != clNone) F->SetColor(Color);
        if (Name) F->SetName(QString::fromLatin1(Name));
        if (Size > 0) F->SetSize(Size);
        F->SetStyle(Style);
    };
    const TFontStyles Plain{}, Bold{fsBold};
    const int Side = std::min(Width(), Height());
    bool AMPM = FShowAMPM, Numbers = FShowNumbers;
    // Fields are written directly: one notification for the whole preset.
    switch (Value) {
        case wsClassic:
            Font(A->AMPMFont(), clNone, "MS Sans Serif", 0, Plain);
            Font(A->HourFont(), clNone, "Comic Sans MS", 10, Bold);
            A->SetHourMarkLength(8);
            A->SetHourPointerSize(5);
            A->SetMinuteMarkLength(4);
            FAnimation = true;
            FAnimationFactor = 10;
            AMPM = Numbers = true;
            break;
        case wsTower:
            Font(A->AMPMFont(), clNone, "MS Sans Serif", 0, Plain);
            A->SetAMPMFrame(apRect);
            A->SetBorderWidth(1);
            A->SetBackgroundColor(Rgb(254, 240, 177));
            A->SetBackgroundColorTo(Rgb(232, 204, 91));
            A->SetBackgroundGradient(wgDiagonalForward);
            A->SetCenterPointColor(Rgb(213, 43, 0));
            A->SetCenterPointSize(6);
            Font(A->HourFont(), clWindowText, "Century", 0, Bold);
            A->SetHourPointerSize(5);
            A->SetSecondPointer(Rgb(213, 43, 0));
            A->SetShape(wsRect);
            A->SetPointerStyle(psPointer);
            A->SetAMPMColor(A->BackgroundColor());
            A->SetTickMarks(tmHours);
            Numbers = false;
            break;
        case wsFluorescent: {
            const TColor Blue = Rgb(62, 62, 255);
            Font(A->AMPMFont(), clWindowText, "MS Sans Serif", 10, Plain);
            A->SetAMPMFrame(apRoundRect);
            A->SetBorderColor(Blue);
            A->SetCenterPointColor(Blue);
            A->SetHourColor(Blue);
            A->SetMinuteColor(Blue);
            A->SetHourPointer(Blue);
            A->SetMinutePointer(Blue);
            A->SetBackgroundColor(clBlack);
            A->SetBackgroundColorTo(clBlack);
            A->SetCenterPointBorderColor(clBlack);
            A->SetCenterPointOuterBorderColor(clBlack);
            A->SetCenterPointSize(20);
            Font(A->HourFont(), clWindowText, "MS Sans Serif", 8, Plain);
            A->SetHourMarkLength(10);
            A->SetHourMarkWidth(2);
            A->SetHourMarkStyle(hmsQuartDblLine);
            A->SetHourPointerSize(2);
            A->SetMinutePointerSize(2);
            A->SetShape(wsRoundRect);
            A->SetTickMarks(tmHours);
            AMPM = Numbers = false;
            break;
        }
        case wsEmerald: {
            const TColor Green = Rgb(0, 232, 58);
            Font(A->AMPMFont(), Rgb(0, 0, 160), "MS Sans Serif", 0, Plain);
            A->SetAMPMFrame(apRoundRect);
            A->SetBorderColor(Green);
            A->SetBackgroundColor(Green);
            A->SetBackgroundColorTo(clBlack);
            A->SetBackgroundGradient(wgDiagonalForward);
            A->SetCenterPointBorderColor(Rgb(0, 255, 64));
            A->SetCenterPointColor(Rgb(0, 225, 56));
            A->SetCenterPointSize(16);
            A->SetCenterPointOuterBorderColor(clBlack);
            Font(A->HourFont(), Green, "MS Sans Serif", 0, Plain);
            A->SetHourPointer(Rgb(0, 255, 64));
            A->SetMinutePointer(Rgb(0, 255, 64));
            A->SetHourPointerSize(5);
            A->SetShape(wsRect);
            A->SetPointerStyle(psPointer);
            A->SetAMPMColor(clNone);
            A->SetHourMarkStyle(hmsQuartDblLine);
            A->SetHourColor(Green);
            A->SetSecondPointer(Rgb(255, 255, 0));
            A->SetTickMarks(tmHours);
            AMPM = Numbers = false;
            break;
        }
        case wsBlueStar: {
            const TColor Light = Rgb(213, 213, 255), Dark = Rgb(0, 0, 160);
            Font(A->AMPMFont(), Dark, "MS Sans Serif", 10, Plain);
            A->SetAMPMBorderColor(clNone);
            A->SetAMPMColor(clNone);
            A->SetAMPMFrame(apRoundRect);
            A->SetBorderColor(Light);
            A->SetBackgroundColor(Light);
            A->SetBackgroundColorTo(Dark);
            A->SetBackgroundGradient(wgRadial);
            Font(A->HourFont(), Light, "MS Sans Serif", 8, Plain);
            A->SetHourPointer(Dark);
            A->SetMinutePointer(Dark);
            A->SetHourPointerSize(5);
            A->SetShape(wsRoundRect);
            A->SetPointerStyle(psPointer);
            AMPM = Numbers = true;
            break;
        }
        case wsFuchsia: {
            const TColor Pink = Rgb(255, 208, 255);
            Font(A->AMPMFont(), clWindowText, "MS Sans Serif", 10, Plain);
            A->SetAMPMFrame(apRoundRect);
            A->SetBorderColor(Pink);
            A->SetHourColor(Pink);
            A->SetMinuteColor(Pink);
            A->SetHourPointer(Pink);
            A->SetMinutePointer(Pink);
            A->SetBackgroundColor(clBlack);
            A->SetBackgroundColorTo(clBlack);
            A->SetCenterPointBorderColor(Rgb(221, 104, 221));
            A->SetSecondPointer(Rgb(221, 104, 221));
            A->SetCenterPointSize(20);
            A->SetCenterPointOuterBorderColor(clBlack);
            Font(A->HourFont(), clWindowText, "MS Sans Serif", 8, Plain);
            A->SetHourMarkLength(10);
            A->SetHourMarkWidth(2);
            A->SetHourMarkStyle(hmsQuartDblLine);
            A->SetHourPointerSize(2);
            A->SetMinutePointerSize(2);
            A->SetShape(wsRect);
            A->SetTickMarks(tmQuartHours);
            AMPM = Numbers = false;
            break;
        }
        case wsBlack:
            Font(A->AMPMFont(), clNone, "MS Sans Serif", 0, Plain);
            A->SetBackgroundColor(Rgb(32, 32, 32));
            A->SetBackgroundColorTo(clNone);
            A->SetBorderColor(clBlack);
            A->SetCenterPointColor(clWhite);
            A->SetCenterPointBorderColor(clWhite);
            A->SetCenterPointOuterBorderColor(clWhite);
            A->SetHourColor(Rgb(88, 88, 88));
            A->SetMinuteColor(Rgb(88, 88, 88));
            Font(A->HourFont(), clWhite, "Century Gothic", 11, Plain);
            A->SetHourPointer(clWhite);
            A->SetMinutePointer(clWhite);
            A->SetHourPointerSize(5);
            A->SetMinuteMarkLength(4);
            AMPM = false;
            Numbers = true;
            break;
        case wsBlackWhite:
            A->SetBackgroundColor(clWhite);
            A->SetBackgroundColorTo(clNone);
            A->SetBorderColor(clBlack);
            A->SetBorderWidth(8);
            A->SetCenterPointColor(clBlack);
            A->SetCenterPointBorderColor(clBlack);
            A->SetCenterPointOuterBorderColor(clBlack);
            A->SetCenterPointSize(8);
            A->SetHourColor(Rgb(88, 88, 88));
            Font(A->HourFont(), clBlack, "Century Gothic", 14, Bold);
            A->SetHourPointer(clBlack);
            A->SetMinutePointer(clBlack);
            A->SetHourPointerSize(5);
            A->SetMinuteMarkLength(4);
            A->SetSecondPointer(Rgb(128, 0, 0));
            A->SetPointerStyle(psPointer);
            A->SetTickMarks(tmQuartHours);
            AMPM = false;
            Numbers = true;
            break;
        case wsGray:
            Font(A->AMPMFont(), clNone, "MS Sans Serif", 10, A->AMPMFont()->Style());
            A->SetBackgroundColor(Rgb(209, 209, 209));
            A->SetBackgroundColorTo(Rgb(108, 108, 108));
            A->SetBackgroundGradient(wgRadial);
            A->SetBorderColor(Rgb(69, 69, 69));
            A->SetCenterPointBorderColor(Rgb(69, 69, 69));
            A->SetCenterPointColor(clBlack);
            A->SetCenterPointOuterBorderColor(clNone);
            A->SetHourColor(clBlack);
            Font(A->HourFont(), clNone, "Comic Sans MS", 8, Plain);
            A->SetHourPointer(Rgb(78, 78, 78));
            A->SetMinutePointer(Rgb(78, 78, 78));
            A->SetHourPointerShadow(clNone);
            A->SetMinutePointerShadow(clNone);
            A->SetHourPointerSize(1);
            A->SetMinutePointerSize(1);
            A->SetMinuteColor(Rgb(128, 128, 128));
            A->SetSecondPointer(Rgb(255, 0, 0));
            AMPM = Numbers = true;
            break;
        case wsSuperNova:
            A->SetBackgroundColorTo(Rgb(211, 211, 209));
            A->SetBorderColor(clNone);
            A->SetCenterPointOuterBorderColor(clBlack);
            A->SetCenterPointSize(10);
            A->SetHourMarkLength(Rnd(Side / 4.5));
            A->SetMinuteMarkLength(Side / 3);
            A->SetHourPointer(clBlack);
            A->SetMinutePointer(clBlack);
            A->SetHourPointerShadow(clBtnShadow);
            A->SetMinuteColor(Rgb(128, 128, 128));
            AMPM = Numbers = false;
            break;
        case wsSports:
            A->SetBackgroundColor(clBlack);
            A->SetBackgroundColorTo(clNone);
            A->SetBorderColor(clBlack);
            A->SetBorderWidth(1);
            A->SetCenterPointBorderColor(Rgb(0, 0, 255));
            A->SetCenterPointOuterBorderColor(clBlack);
            A->SetCenterPointColor(Rgb(25, 25, 25));
            A->SetCenterPointSize(Rnd(Side / 3.6));
            A->SetHourColor(Rgb(177, 176, 171));
            Font(A->HourFont(), Rgb(121, 121, 121), "Times New Roman", 9, A->HourFont()->Style());
            A->SetHourPointer(Rgb(255, 0, 0));
            A->SetMinutePointer(Rgb(255, 255, 0));
            A->SetHourPointerShadow(clNone);
            A->SetMinutePointerShadow(clNone);
            A->SetHourPointerSize(2);
            A->SetMinutePointerSize(2);
            A->SetMinuteColor(Rgb(128, 128, 128));
            A->SetMinuteMarkLength(1);
            A->SetSecondPointer(Rgb(254, 139, 24));
            A->SetTickMarks(tmQuartHours);
            AMPM = false;
            Numbers = true;
            break;
        case wsSmooth:
            A->SetBackgroundColor(clWhite);
            A->SetBackgroundColorTo(Rgb(177, 176, 171));
            A->SetBorderColor(Rgb(88, 88, 88));
            A->SetBorderWidth(1);
            A->SetCenterPointBorderColor(clBlack);
            A->SetCenterPointOuterBorderColor(Rgb(74, 74, 74));
            A->SetCenterPointColor(clWhite);
            A->SetCenterPointSize(6);
            A->SetHourColor(Rgb(177, 176, 171));
            Font(A->HourFont(), Rgb(121, 121, 121), "Times New Roman", 9, A->HourFont()->Style());
            A->SetHourPointer(Rgb(74, 74, 74));
            A->SetMinutePointer(Rgb(74, 74, 74));
            A->SetSecondPointer(Rgb(74, 74, 74));
            A->SetHourPointerShadow(Rgb(178, 178, 178));
            A->SetMinutePointerShadow(Rgb(178, 178, 178));
            A->SetHourPointerSize(2);
            A->SetMinutePointerSize(2);
            A->SetMinuteColor(Rgb(128, 128, 128));
            A->SetMinuteMarkLength(1);
            A->SetTickMarks(tmQuartHours);
            AMPM = false;
            Numbers = true;
            break;
    }
    SetShowAMPM(AMPM);
    SetShowNumbers(Numbers);
    A->Changed();
}
