// Drawing routines of the utility unit: shapes, progress bars, gradients, buttons, transparent
// bitmaps, the error underline and the colour arithmetic they share.
#include "grid/base/ExtUtil.h"

#include "grid/base/ExtStyleIF.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Themes.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Restores the canvas's clip when the drawing that narrowed it is done.
class TClipSaver {
public:
    explicit TClipSaver(TCanvas* C) : FCanvas(C), FHad(C->HasClip()) {
        if (FHad) FOld = C->ClipRect();
    }
    ~TClipSaver() {
        if (FHad)
            FCanvas->SetClipRect(FOld);
        else
            FCanvas->ResetClip();
    }
    void Narrow(const TRect& R) {
        if (FHad)
            FCanvas->SetClipRect(FOld), FCanvas->IntersectClipRect(R);
        else
            FCanvas->SetClipRect(R);
    }

private:
    TCanvas* FCanvas;
    bool FHad;
    TRect FOld;
};

int RoundInt(double X) { return int(Round(X)); }

TColor ChannelMix(int R, int G, int B) {
    return RGB(std::clamp(R, 0, 255), std::clamp(G, 0, 255), std::clamp(B, 0, 255));
}

void SolidRect(TCanvas* C, const TRect& R, TColor Color) {
    if (R.IsEmpty() || Color == clNone) return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

void Pixel(TCanvas* C, int X, int Y, TColor Color) {
    if (Color == clNone) return;
    SolidRect(C, Rect(X, Y, X + 1, Y + 1), Color);
}

void HLine(TCanvas* C, int X1, int X2, int Y, TColor Color) { // X2 inclusive
    if (X2 >= X1) SolidRect(C, Rect(X1, Y, X2 + 1, Y + 1), Color);
}

void VLine(TCanvas* C, int X, int Y1, int Y2, TColor Color) { // Y2 inclusive
    if (Y2 >= Y1) SolidRect(C, Rect(X, Y1, X + 1, Y2 + 1), Color);
}

void FilledPolygon(TCanvas* C, std::initializer_list<TPoint> Pts, TColor Color) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(Color);
    C->Polygon(Pts);
}

// A bar filled in Color, or in two halves across it with ShowGradient.
void FillBar(TCanvas* C, const TRect& R, TColor Color, TColor ColorTo, const TProgressSettings& S) {
    if (R.IsEmpty()) return;
    if (S.ShowGradient && ColorTo != clNone) {
        if (!S.Vertical) {
            const int Mid = R.Top + R.Height() / 2;
            FillGradientRect(C, ColorTo, Color, S.Steps, Rect(R.Left, R.Top, R.Right, Mid), false);
            FillGradientRect(C, Color, ColorTo, S.Steps, Rect(R.Left, Mid, R.Right, R.Bottom), false);
        } else {
            const int Mid = R.Left + R.Width() / 2;
            FillGradientRect(C, ColorTo, Color, S.Steps, Rect(R.Left, R.Top, Mid, R.Bottom), true);
            FillGradientRect(C, Color, ColorTo, S.Steps, Rect(Mid, R.Top, R.Right, R.Bottom), true);
        }
    } else {
        SolidRect(C, R, Color);
    }
}

// The part of the bar's inside from Start over Length pixels along the bar (from the left, or
// from the bottom when vertical), Across giving the inset across it.
TRect BarSpan(const TRect& Inner, bool Vertical, int Start, int Length) {
    if (!Vertical) return Rect(Inner.Left + Start, Inner.Top, Inner.Left + Start + Length, Inner.Bottom);
    return Rect(Inner.Left, Inner.Bottom - Start - Length, Inner.Right, Inner.Bottom - Start);
}

QString ApplyProgressFormat(const QString& Fmt, double Position) {
    try {
        if (Fmt.contains(QLatin1Char('d')) || Fmt.contains(QLatin1Char('u'))) {
            // A value no integer holds (infinite, not a number, too large) has no integer text.
            if (!std::isfinite(Position) || std::fabs(Position) >= 9.0e18) return QString();
            return Format(Fmt, {TVarRec(qlonglong(Round(Position)))});
        }
        return Format(Fmt, {TVarRec(Position)});
    } catch (const std::exception&) {
        // A format that does not fit the value shows no text rather than failing every repaint.
        return QString();
    }
}

} // namespace

// ---- colour arithmetic ----------------------------------------------------------------------------
TColor InterpolateColor(TColor FromColor, TColor ToColor, int Start, int End, int Position) {
    if (ToColor == clNone || End == Start) return FromColor;
    const int F = ColorToRGB(FromColor), T = ColorToRGB(ToColor);
    const double Scale = double(Position) / double(End - Start);
    auto Ch = [&](int a, int b) { return a + RoundInt((b - a) * Scale); };
    return ChannelMix(Ch(GetRValue(F), GetRValue(T)), Ch(GetGValue(F), GetGValue(T)), Ch(GetBValue(F), GetBValue(T)));
}

TColor HalveColor(TColor Color) {
    const int C = ColorToRGB(Color);
    return RGB(GetRValue(C) / 2, GetGValue(C) / 2, GetBValue(C) / 2);
}

TColor ScaleColor(TColor Color, int Percentage) {
    const int C = ColorToRGB(Color);
    auto Ch = [&](int c) { return RoundInt(c + c * Percentage / 100.0) & 0xFF; };
    return RGB(Ch(GetRValue(C)), Ch(GetGValue(C)), Ch(GetBValue(C)));
}

// ---- shapes ---------------------------------------------------------------------------------------
void DrawCellShape(TCanvas* Canvas, int X, int Y, int W, int H, int Shape, TColor BrushColor, TColor PenColor) {
    if (!Canvas || Shape < 0 || Shape > csHalfStar) return;
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare) W = H = std::min(W, H);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(BrushColor);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(PenColor);
    const int EW = W & ~1, EH = H & ~1;
    const int QW = EW / 4, QH = EH / 4;
    const int CX = X + W / 2, CY = Y + H / 2;
    auto StarPoint = [&](int k) {
        const double A = k * 36.0 * M_PI / 180.0;
        const double RX = (k % 2 == 0) ? W / 2.0 : W / 6.0;
        const double RY = (k % 2 == 0) ? H / 2.0 : H / 6.0;
        return Point(CX + RoundInt(std::sin(A) * RX), CY - RoundInt(std::cos(A) * RY));
    };
    switch (TCellShape(Shape)) {
        case csRectangle:
        case csSquare: Canvas->Rectangle(X + 1, Y + 1, X + W - 1, Y + H - 1); break;
        case csCircle:
        case csEllips: Canvas->Ellipse(X, Y, X + W, Y + H); break;
        case csRoundRect:
        case csRoundSquare: Canvas->RoundRect(X, Y, X + W, Y + H, 10, 10); break;
        case csTriangleLeft: Canvas->Polygon({Point(X + W, Y), Point(X + W, Y + H), Point(X, Y + H / 2)}); break;
        case csTriangleRight: Canvas->Polygon({Point(X, Y), Point(X, Y + H), Point(X + W, Y + H / 2)}); break;
        case csTriangleUp: Canvas->Polygon({Point(X, Y + H), Point(X + W, Y + H), Point(X + W / 2, Y)}); break;
        case csTriangleDown: Canvas->Polygon({Point(X, Y), Point(X + W, Y), Point(X + W / 2, Y + H)}); break;
        case csDiamond:
            Canvas->Polygon({Point(X, Y + H / 2), Point(X + W / 2, Y), Point(X + 2 * (W / 2), Y + H / 2),
                             Point(X + W / 2, Y + 2 * (H / 2))});
            break;
        case csLineVert: Canvas->Rectangle(X + W / 2, Y, X + W / 2 + 1, Y + H); break;
        case csLineHorz: Canvas->Rectangle(X, Y + H / 2, X + W, Y + H / 2 + 1); break;
        case csStar: {
            std::vector<TPoint> P;
            for (int k = 0; k < 10; ++k) P.push_back(StarPoint(k));
            Canvas->Polygon(P);
            break;
        }
        case csHalfStar:
            Canvas->Polygon({StarPoint(0), StarPoint(5), StarPoint(6), StarPoint(7), StarPoint(8), StarPoint(9)});
            break;
        case csArrowUp:
            Canvas->Polygon({Point(X, Y + H / 2), Point(X + EW / 2, Y), Point(X + EW, Y + H / 2),
                             Point(X + 3 * QW, Y + H / 2), Point(X + 3 * QW, Y + H), Point(X + QW, Y + H),
                             Point(X + QW, Y + H / 2)});
            break;
        case csArrowDown:
            Canvas->Polygon({Point(X + QW, Y), Point(X + 3 * QW, Y), Point(X + 3 * QW, Y + H / 2),
                             Point(X + EW, Y + H / 2), Point(X + EW / 2, Y + H), Point(X, Y + H / 2),
                             Point(X + QW, Y + H / 2)});
            break;
        case csArrowLeft:
            Canvas->Polygon({Point(X + W / 2, Y), Point(X, Y + EH / 2), Point(X + W / 2, Y + EH),
                             Point(X + W / 2, Y + 3 * QH), Point(X + W, Y + 3 * QH), Point(X + W, Y + QH),
                             Point(X + W / 2, Y + QH)});
            break;
        case csArrowRight:
            Canvas->Polygon({Point(X + W / 2, Y), Point(X + W, Y + EH / 2), Point(X + W / 2, Y + EH),
                             Point(X + W / 2, Y + 3 * QH), Point(X, Y + 3 * QH), Point(X, Y + QH),
                             Point(X + W / 2, Y + QH)});
            break;
    }
}

// ---- progress bars --------------------------------------------------------------------------------
void DrawProgressBar(TCanvas* Canvas, TRect R, int Percentage, const TProgressSettings& S) {
    if (!Canvas || R.IsEmpty()) return;
    // A value outside 0..100 would draw past the cell.
    Percentage = std::clamp(Percentage, 0, 100);
    int L = S.Vertical ? R.Height() : R.Width();
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(S.UnCompleteColor);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(S.ShowBorder ? S.BorderColor : S.UnCompleteColor);
    Canvas->Rectangle(R);
    L -= 2;
    const TRect Inner = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);

    if (Percentage > 0 && L > 0) {
        if (S.Stacked) {
            int Pos = 0;
            auto Band = [&](int Len, TColor C, TColor CTo) {
                Len = std::clamp(Len, 0, L - Pos);
                FillBar(Canvas, BarSpan(Inner, S.Vertical, Pos, Len), C, CTo, S);
                Pos += Len;
            };
            if (Percentage < S.Level1Perc)
                Band(RoundInt(Percentage / 100.0 * L), S.Level0Color, S.Level0ColorTo);
            else
                Band(RoundInt(S.Level1Perc / 100.0 * L), S.Level0Color, S.Level0ColorTo);
            if (Percentage >= S.Level1Perc) {
                if (Percentage < S.Level2Perc)
                    Band(RoundInt(L * (Percentage - S.Level1Perc) / 100.0), S.Level1Color, S.Level1ColorTo);
                else
                    Band(RoundInt(L * (S.Level2Perc - S.Level1Perc) / 100.0), S.Level1Color, S.Level1ColorTo);
            }
            if (Percentage >= S.Level2Perc) {
                if (Percentage >= 100)
                    Band(L - Pos, S.Level3Color, S.Level3ColorTo);
                else
                    Band(RoundInt(L * (Percentage - S.Level2Perc) / 100.0), S.Level3Color, S.Level3ColorTo);
            }
        } else {
            TColor C = S.Level2Color, CTo = S.Level2ColorTo;
            if (Percentage < S.Level1Perc)
                C = S.Level0Color, CTo = S.Level0ColorTo;
            else if (Percentage < S.Level2Perc)
                C = S.Level1Color, CTo = S.Level1ColorTo;
            else if (Percentage > 99)
                C = S.Level3Color, CTo = S.Level3ColorTo;
            if (S.CompletionSmooth) {
                FillBar(Canvas, BarSpan(Inner, S.Vertical, 0, RoundInt(Percentage / 100.0 * L)), C, CTo, S);
            } else {
                const int T = RoundInt(double(Percentage) * L / 100.0);
                // Blocks span the rectangle less 2 pixels on each side across the bar.
                const TRect Blocks = S.Vertical ? Rect(R.Left + 2, R.Top + 1, R.Right - 2, R.Bottom - 1)
                                                : Rect(R.Left + 1, R.Top + 2, R.Right - 1, R.Bottom - 2);
                auto Block = [&](int Start, int Len) {
                    FillBar(Canvas, BarSpan(Blocks, S.Vertical, Start, std::min(Len, L - Start)), C, CTo, S);
                };
                if (T > 9) {
                    const int N = T / 9;
                    for (int i = 0; i < N; ++i) Block(1 + i * 9, 7);
                    if (T % 9 > 2) Block(1 + N * 9, T % 9 - 1);
                } else if (T > 1) {
                    Block(1, T - 1);
                }
            }
        }
    }

    if (S.ShowPercentage) {
        TFont Saved;
        Saved.Assign(Canvas->Font());
        if (S.Font) {
            Canvas->Font()->SetName(S.Font->Name());
            Canvas->Font()->SetHeight(S.Font->Height());
            Canvas->Font()->SetStyle(S.Font->Style());
        }
        Canvas->Font()->SetColor(S.CompleteFontColor);
        const QString Text = QString::number(Percentage) + QLatin1Char('%');
        const int Old = Canvas->BkMode();
        Canvas->SetBkMode(TRANSPARENT);
        if (!S.Vertical) {
            TRect TR = R;
            Canvas->DrawText(Text, TR, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        } else if (QPainter* P = Canvas->Painter()) {
            // Turned by 90 degrees, reading upwards, centred.
            P->save();
            P->setFont(Canvas->Font()->ToQFont());
            P->setPen(ToQColor(S.CompleteFontColor));
            P->translate(R.Left + R.Width() / 2.0, R.Top + R.Height() / 2.0);
            P->rotate(-90);
            P->drawText(QRectF(-R.Height() / 2.0, -R.Width() / 2.0, R.Height(), R.Width()), Qt::AlignCenter, Text);
            P->restore();
        }
        Canvas->SetBkMode(Old);
        Canvas->Font()->Assign(&Saved);
    }

    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(S.ShowBorder ? S.BorderColor : S.UnCompleteColor);
    Canvas->Rectangle(R);
    Canvas->Brush()->SetStyle(bsSolid);
}

void DrawProgressFormatted(TCanvas* Canvas, TRect R, TColor Color, TColor FontColor, TColor RestColor,
                           TColor RestFontColor, double Position, int HMargin, int VMargin, int Min, int Max,
                           const QString& Fmt, TColor BorderColor, bool Print) {
    if (!Canvas) return;
    const TColor EntryBrush = Canvas->Brush()->Color();
    QString Text;
    int Perc = 0;
    if (!Fmt.isEmpty()) {
        Text = ApplyProgressFormat(Fmt, Position);
        // An empty range has no progress to show: the bar stays empty.
        const double P = Max != Min ? (Position - Min) * 100.0 / (double(Max) - Min) : 0;
        Perc = std::isfinite(P) ? int(Round(std::clamp(P, -1.0, 101.0))) : 0;
    } else {
        Text = QString::number(Round(Position)) + QLatin1Char('%');
        Perc = std::isfinite(Position) ? int(std::clamp<double>(Round(Position), -1, 101)) : 0;
    }
    Perc = std::clamp(Perc, 0, 100);

    InflateRect(R, -HMargin, -VMargin);
    if (R.IsEmpty()) return;
    const int Filled = RoundInt(Perc * R.Width() / 100.0);
    const TRect FillPart = Rect(R.Left, R.Top, R.Left + Filled, R.Bottom);
    const TRect RestPart = Rect(R.Left + Filled, R.Top, R.Right, R.Bottom);
    SolidRect(Canvas, FillPart, Color);
    SolidRect(Canvas, RestPart, RestColor);

    const int TH = Canvas->TextHeight(Text.isEmpty() ? QStringLiteral("gh") : Text);
    const int TW = Canvas->TextWidth(Text);
    const int TX = R.Left + (R.Width() - TW) / 2;
    const int TY = R.Top + (Print ? (R.Height() + TH) / 2 : (R.Height() - TH) / 2);
    const int OldMode = Canvas->BkMode();
    const TColor OldFont = Canvas->Font()->Color();
    {
        TClipSaver Clip(Canvas);
        Canvas->SetBkMode(TRANSPARENT);
        if (!FillPart.IsEmpty()) {
            Clip.Narrow(FillPart);
            Canvas->Font()->SetColor(FontColor);
            Canvas->TextOut(TX, TY, Text);
        }
        if (!RestPart.IsEmpty()) {
            Clip.Narrow(RestPart);
            Canvas->Font()->SetColor(RestFontColor);
            Canvas->TextOut(TX, TY, Text);
        }
    }
    Canvas->Font()->SetColor(OldFont);
    Canvas->SetBkMode(OldMode);

    TRect F = R;
    InflateRect(F, 1, 1);
    if (BorderColor != clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(F);
    }
    InflateRect(F, 1, 1);
    Canvas->Brush()->SetColor(EntryBrush);
    Canvas->FrameRect(F);
}

void DrawProgressPie(TCanvas* Canvas, TRect R, TColor Color, int Percentage, bool Flag) {
    if (!Canvas || R.IsEmpty()) return;
    Percentage = std::clamp(Percentage, 0, 100);
    const TColor Gray = RGB(128, 128, 128);
    const int W = R.Width(), H = R.Height();
    const int CX = R.Left + W / 2, CY = R.Top + H / 2;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(Gray);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Ellipse(R);
    Canvas->MoveTo(CX, R.Top);
    Canvas->LineTo(CX, CY);
    const double A = Percentage * 360.0 / 100.0 * M_PI / 180.0;
    Canvas->MoveTo(CX, CY);
    Canvas->LineTo(CX + RoundInt((W + 1) / 2.0 * std::sin(A)), CY - RoundInt((H + 1) / 2.0 * std::cos(A)));
    if (Percentage != 0) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->FloodFill(CX + 1, Flag ? R.Top - 2 : R.Top + 2, Gray, TCanvas::fsBorder);
    }
    Canvas->Brush()->SetStyle(bsSolid);
}

void DrawRangeIndicator(TCanvas* Canvas, TRect R, int Value, int Range, bool ShowValue, TColor NegColor,
                        TColor PosColor) {
    if (!Canvas) return;
    InflateRect(R, -2, -2);
    if (R.IsEmpty() || Range <= 0) return; // no scale: nothing to show
    if (ShowValue) Canvas->SetBkMode(TRANSPARENT);
    Value = std::clamp(Value, -Range, Range);
    const int Half = R.Width() / 2;
    const int CX = R.Left + Half;
    const int Len = RoundInt(double(Half) * Value / Range);
    if (Len == 0) return;
    const TColor C = Len > 0 ? PosColor : NegColor;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(C);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(C);
    if (Len > 0)
        Canvas->Rectangle(CX, R.Top, CX + Len, R.Bottom);
    else
        Canvas->Rectangle(CX + Len, R.Top, CX, R.Bottom);
}

// ---- gradients ------------------------------------------------------------------------------------
void FillGradientRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect R, bool Horizontal) {
    if (!Canvas || R.Top == R.Bottom) return;
    if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
    if (FromColor == clNone || ToColor == clNone) {
        SolidRect(Canvas, R, FromColor != clNone ? FromColor : ToColor);
        return;
    }
    const int Length = Horizontal ? R.Width() : R.Height() - 1;
    Steps = std::max(1, std::min(Steps, Length));
    const int F = ColorToRGB(FromColor), T = ColorToRGB(ToColor);
    const int BandLen = int(double(Length) / Steps + 1);
    for (int k = 0; k <= Steps; ++k) {
        auto Ch = [&](int a, int b) { return a + RoundInt(double(k) * (b - a) / Steps); };
        const TColor C =
            ChannelMix(Ch(GetRValue(F), GetRValue(T)), Ch(GetGValue(F), GetGValue(T)), Ch(GetBValue(F), GetBValue(T)));
        const int Start = int(double(k) * Length / Steps);
        TRect Band = Horizontal ? Rect(R.Left + Start, R.Top, R.Left + Start + BandLen, R.Bottom)
                                : Rect(R.Left, R.Top + Start, R.Right, R.Top + Start + BandLen);
        TRect Clipped;
        if (IntersectRect(Clipped, Band, R)) SolidRect(Canvas, Clipped, C);
    }
}

void DrawGradientBackground(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TColor MirrorColor,
                            TColor MirrorColorTo, bool Vertical, TColor BorderColor, bool BorderLinesOnly, bool Fill) {
    if (!Canvas) return;
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone) {
            if (ColorTo == clNone)
                SolidRect(Canvas, Rect(R.Left, R.Top, R.Right, R.Bottom + 1), Color);
            else
                FillGradientRect(Canvas, Color, ColorTo, 128, R, !Vertical);
        } else {
            TRect First = R, Second = R;
            if (Vertical)
                First.Bottom = Second.Top = R.Top + R.Height() / 2;
            else
                First.Right = Second.Left = R.Left + R.Width() / 2;
            FillGradientRect(Canvas, Color, ColorTo, 128, First, !Vertical);
            FillGradientRect(Canvas, MirrorColor, MirrorColorTo, 128, Second, !Vertical);
        }
    }
    if (BorderColor != clNone && !R.IsEmpty()) {
        if (BorderLinesOnly) {
            VLine(Canvas, R.Left, R.Top, R.Bottom - 1, BorderColor);
            VLine(Canvas, R.Right - 1, R.Top, R.Bottom - 1, BorderColor);
        } else {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(BorderColor);
            Canvas->FrameRect(R);
        }
    }
}

void DrawGradientButtonFace(TCanvas* Canvas, TColor FromColor, TColor ToColor, TColor MirrorFromColor,
                            TColor MirrorToColor, TColor UpperLineColor, TColor LowerLineColor, TColor BorderColor,
                            TColor CornerColor, TColor OuterCornerColor, TRect R, int Sides) {
    if (!Canvas) return;
    // Inclusive pixel edges of the face: the bottom two rows and the right column stay free.
    const int XL = R.Left, XR = R.Right - 1, YT = R.Top, YB = R.Bottom - 2;
    if (XR - XL < 4 || YB - YT < 4) return;
    const bool LeftRound = Sides == 0 || Sides == 1;
    const bool RightRound = Sides == 0 || Sides == 2;
    const int Mid = (YT + YB) / 2;
    const int IL = LeftRound ? XL + 2 : XL, IR = RightRound ? XR - 2 : XR;

    // inside
    const TRect In = Rect(IL, YT + 2, IR + 1, YB - 1);
    if (ToColor == clNone)
        SolidRect(Canvas, In, FromColor);
    else if (MirrorFromColor == clNone)
        FillGradientRect(Canvas, FromColor, ToColor, 16, In, false);
    else {
        const int H = In.Top + In.Height() / 2;
        FillGradientRect(Canvas, FromColor, ToColor, 16, Rect(In.Left, In.Top, In.Right, H), false);
        FillGradientRect(Canvas, MirrorFromColor, MirrorToColor, 16, Rect(In.Left, H, In.Right, In.Bottom), false);
    }
    // inner lines
    HLine(Canvas, IL, IR, YT + 1, UpperLineColor);
    HLine(Canvas, IL, IR, YB - 1, LowerLineColor);
    if (LeftRound) {
        VLine(Canvas, XL + 1, YT + 2, Mid, UpperLineColor);
        VLine(Canvas, XL + 1, Mid + 1, YB - 2, LowerLineColor);
    }
    if (RightRound) {
        VLine(Canvas, XR - 1, YT + 2, Mid, UpperLineColor);
        VLine(Canvas, XR - 1, Mid + 1, YB - 2, LowerLineColor);
    }
    // border
    HLine(Canvas, IL, IR, YT, BorderColor);
    HLine(Canvas, IL, IR, YB, BorderColor);
    if (LeftRound) VLine(Canvas, XL, YT + 2, YB - 2, BorderColor);
    if (RightRound) VLine(Canvas, XR, YT + 2, YB - 2, BorderColor);
    // corners: three pixels in the corner colour, the outermost one in the outer colour
    auto Corner = [&](int X, int Y, int DX, int DY) {
        Pixel(Canvas, X + DX, Y, CornerColor);
        Pixel(Canvas, X, Y + DY, CornerColor);
        Pixel(Canvas, X + DX, Y + DY, CornerColor);
        Pixel(Canvas, X, Y, OuterCornerColor);
    };
    if (LeftRound) {
        Corner(XL, YT, 1, 1);
        Corner(XL, YB, 1, -1);
    }
    if (RightRound) {
        Corner(XR, YT, -1, 1);
        Corner(XR, YB, -1, -1);
    }
}

// ---- buttons --------------------------------------------------------------------------------------
namespace {

const TColorTone& ToneOf(const TColorTones& Tones, int State) {
    switch (State) {
        case ButtonStateHot: return Tones.Hover;
        case ButtonStateDown: return Tones.Selected;
        case ButtonStateDisabled: return Tones.Disabled;
        default: return Tones.Background;
    }
}

// Draws a part of a themed class; false when themes are off or the part is unknown, so the
// caller draws the classic look instead.
bool DrawThemed(TCanvas* Canvas, QWidget* Window, const char* ClassName, int Part, int State, const TRect& R) {
    HTHEME Theme = OpenThemeData(Window, QString::fromLatin1(ClassName));
    if (!Theme) return false;
    const bool Done = DrawThemeBackground(Theme, Canvas, Part, State, R);
    CloseThemeData(Theme);
    return Done;
}

} // namespace

void DrawComboButton(TCanvas* Canvas, QWidget* Window, TRect R, int Look, int State, const TColorTones& Tones) {
    if (!Canvas) return;
    TRect B = Rect(R.Right - 17, R.Top + 1, R.Right, R.Bottom - 1);
    OffsetRect(B, -2, 0);
    const bool Disabled = State == ButtonStateDisabled;
    if (Look == ButtonLookThemed &&
        DrawThemed(Canvas, Window, "combobox", CP_DROPDOWNBUTTON, Disabled ? CBXS_DISABLED : CBXS_NORMAL, B))
        return;
    if (Look == ButtonLookTones) {
        OffsetRect(B, 3, 0);
        const TColorTone& T = ToneOf(Tones, State);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(T.BrushColor);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(T.BrushColor);
        Canvas->Rectangle(B);
        VLine(Canvas, B.Left + 1, B.Top, B.Bottom - 1, Tones.Background.BorderColor);
        FilledPolygon(Canvas,
                      {Point(B.Left + 5, B.Top + 8), Point(B.Left + 11, B.Top + 8), Point(B.Left + 8, B.Top + 11)},
                      Tones.Background.TextColor);
        return;
    }
    unsigned Flags = DFCS_SCROLLCOMBOBOX;
    if (Disabled) Flags |= DFCS_INACTIVE;
    if (Look == ButtonLookFlat) Flags |= DFCS_FLAT;
    Canvas->DrawFrameControl(B, DFC_SCROLL, Flags);
}

void DrawButtonFace(TCanvas* Canvas, QWidget* Window, TRect R, int Look, int State, const TColorTones& Tones) {
    if (!Canvas) return;
    if (Look == ButtonLookThemed && DrawThemed(Canvas, Window, "button", BP_PUSHBUTTON, std::clamp(State, 0, 3) + 1, R))
        return;
    if (Look == ButtonLookTones) {
        const TColorTone& T = ToneOf(Tones, State);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(T.BrushColor);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(T.BorderColor);
        Canvas->Rectangle(R);
        return;
    }
    unsigned Flags = DFCS_BUTTONPUSH;
    if (State == ButtonStateHot) Flags |= DFCS_HOT;
    if (State == ButtonStateDown) Flags |= DFCS_PUSHED;
    if (State == ButtonStateDisabled) Flags |= DFCS_INACTIVE;
    if (Look == ButtonLookFlat) Flags |= DFCS_FLAT;
    Canvas->DrawFrameControl(R, DFC_BUTTON, Flags);
}

void DrawSpinButtons(TCanvas* Canvas, QWidget* Window, TRect R, int Look, int State, const TColorTones& Tones) {
    if (!Canvas) return;
    TRect B = Rect(R.Right - 15, R.Top, R.Right, R.Bottom);
    OffsetRect(B, -1, -1);
    const int Mid = B.Top + B.Height() / 2;
    TRect Up = Rect(B.Left, B.Top, B.Right, Mid);
    TRect Down = Rect(B.Left, Mid + 1, B.Right, B.Bottom);
    const bool Disabled = State == ButtonStateDisabled;
    if (Look == ButtonLookThemed) {
        HTHEME Theme = OpenThemeData(Window, QStringLiteral("spin"));
        if (Theme) {
            DrawThemeBackground(Theme, Canvas, SPNP_UP, Disabled ? UPS_DISABLED : UPS_NORMAL, Up);
            DrawThemeBackground(Theme, Canvas, SPNP_DOWN, Disabled ? DNS_DISABLED : DNS_NORMAL, Down);
            CloseThemeData(Theme);
            return;
        }
    }
    if (Look == ButtonLookTones) {
        const TColor C = ToneOf(Tones, State).BrushColor;
        SolidRect(Canvas, Up, C);
        SolidRect(Canvas, Down, C);
        FilledPolygon(Canvas,
                      {Point(Up.Left + 5, Up.Top + 5), Point(Up.Left + 9, Up.Top + 5), Point(Up.Left + 7, Up.Top + 3)},
                      clBlack);
        FilledPolygon(Canvas,
                      {Point(Down.Left + 5, Down.Top + 1), Point(Down.Left + 9, Down.Top + 1),
                       Point(Down.Left + 7, Down.Top + 3)},
                      clBlack);
        return;
    }
    unsigned Extra = 0;
    if (Disabled) Extra |= DFCS_INACTIVE;
    if (Look == ButtonLookFlat) Extra |= DFCS_FLAT;
    Canvas->DrawFrameControl(Up, DFC_SCROLL, DFCS_SCROLLUP | Extra);
    Canvas->DrawFrameControl(Down, DFC_SCROLL, DFCS_SCROLLDOWN | Extra);
}

void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color) {
    if (!Canvas) return;
    FilledPolygon(Canvas, {Point(X - 3, Y), Point(X + 3, Y), Point(X, Y + 3)}, Color);
}

void FillRectColor(TCanvas* Canvas, TRect R, TColor Color) {
    if (Canvas) SolidRect(Canvas, R, Color);
}

// ---- bitmaps --------------------------------------------------------------------------------------
void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, TRect R) {
    if (!Canvas || !Bitmap || Bitmap->Empty()) return;
    QImage Img = Bitmap->ToImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb Key = Img.pixel(0, 0) | 0xFF000000u;
    const QRgb Bk = ToQColor(BkColor).rgb() | 0xFF000000u;
    for (int y = 0; y < Img.height(); ++y) {
        auto* Line = reinterpret_cast<QRgb*>(Img.scanLine(y));
        for (int x = 0; x < Img.width(); ++x)
            if ((Line[x] | 0xFF000000u) == Key) Line[x] = Bk;
    }
    TBitmap Copy;
    Copy.SetImage(Img);
    Canvas->Draw(R.Left, R.Top, &Copy);
}

void DrawResBitmapTransparent(TCanvas* Canvas, TColor BkColor, TRect R, const QString& ResName) {
    if (!Canvas) return;
    TBitmap B;
    try {
        B.LoadFromResourceName(ResName);
    } catch (const std::exception&) {
        return; // an unknown name draws nothing
    }
    DrawBitmapTransparent(Canvas, &B, BkColor, R);
}

// ---- error underline ------------------------------------------------------------------------------
void DrawErrorUnderline(TWinControl*, TCanvas* Canvas, const QString& Text, TRect R, int VOffset, int First,
                        int Count) {
    if (!Canvas || Count <= 0 || First < 0) return;
    // Where a single-line edit of R's size puts a character: one pixel of margin, then the
    // text; a place beyond the text is 4 pixels after its end.
    auto PosFromChar = [&](int Index) {
        if (Index >= Text.size()) return R.Left + 1 + Canvas->TextWidth(Text) + 4;
        return R.Left + 1 + Canvas->TextWidth(Text.left(Index));
    };
    const int X1 = PosFromChar(First);
    const int X2 = PosFromChar(First + Count);
    const int Y = R.Top + VOffset;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    bool Low = true;
    Canvas->MoveTo(X1, Y + 3);
    for (int X = X1 + 3; X <= X2; X += 3) {
        Low = !Low;
        Canvas->LineTo(X, Low ? Y + 3 : Y);
    }
    Canvas->Pen()->SetWidth(1);
}

// ---- layered windows ------------------------------------------------------------------------------
bool DynUpdateLayeredWindow(QWidget*, TBitmap*, TPoint, int) { return true; }
bool DynSetLayeredWindowAttributes(QWidget*, TColor, int, unsigned) { return true; }
