// The string grid's cell graphics: how big a cell's object is and where it goes, and the drawing
// of every object kind, of check boxes and radio groups (also used by printing and the
// quick-configuration box) and of the sort glyph of sorted headers.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "grid/control/CellGraphicPlace.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Resources.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

// Draws a named bitmap with the colour of its top-left pixel left out.
void DrawResTransparent(TCanvas* Canvas, int X, int Y, const QString& Name) {
    QImage Img = ResourceBitmap(Name);
    if (Img.isNull() || !Canvas) return;
    Img = Img.convertToFormat(QImage::Format_ARGB32);
    const QRgb Key = Img.pixel(0, 0) | 0xFF000000u;
    for (int y = 0; y < Img.height(); ++y) {
        auto* Line = reinterpret_cast<QRgb*>(Img.scanLine(y));
        for (int x = 0; x < Img.width(); ++x)
            if ((Line[x] | 0xFF000000u) == Key) Line[x] = 0;
    }
    TBitmap B;
    B.SetImage(Img);
    Canvas->Draw(X, Y, &B);
}

// Draws a caller's glyph with its automatic transparent colour, leaving the glyph itself as it is.
void DrawGlyphTransparent(TCanvas* Canvas, int X, int Y, TBitmap* Glyph) {
    if (!Canvas || !Glyph || Glyph->Empty()) return;
    TBitmap Copy;
    Copy.Assign(Glyph);
    Copy.SetTransparent(true);
    Canvas->Draw(X, Y, &Copy);
}

// The brush colour on entry to a drawing step, put back when it ends.
struct TBrushKeeper {
    explicit TBrushKeeper(TCanvas* C) : Canvas(C), Color(C->Brush()->Color()), Style(C->Brush()->Style()) {}
    ~TBrushKeeper() {
        Canvas->Brush()->SetColor(Color);
        Canvas->Brush()->SetStyle(Style);
    }
    TCanvas* Canvas;
    TColor Color;
    TBrushStyle Style;
};

} // namespace

// ---- extent and placement -------------------------------------------------------------------------------
TCellGraphic* TExtStringGrid::CellGraphicRecord(int RealCol, int DisplRow) {
    if (MouseActions()->HotmailRowSelect() && RealCol == 0 && DisplRow >= FixedRows()) {
        if (!FRowCheckGraphic) FRowCheckGraphic = std::make_unique<TCellGraphic>();
        FRowCheckGraphic->SetCellType(ctRowCheckBox);
        FRowCheckGraphic->SetCellHAlign(haCenter);
        FRowCheckGraphic->SetCellVAlign(vaCenter);
        FRowCheckGraphic->SetCellBoolean(GetRowSelect(DisplRow));
        return FRowCheckGraphic.get();
    }
    return dynamic_cast<TCellGraphic*>(GetCellGraphic(RealCol, DisplRow));
}

TExtStringGrid::TCellGraphicExtent TExtStringGrid::CellGraphicExtent(int RealCol, int DisplRow) {
    TCellGraphicExtent E;
    TCellGraphic* CG = CellGraphicRecord(RealCol, DisplRow);
    if (!CG) return E;
    E.Graphic = CG;
    E.HAlign = CG->CellHAlign();
    E.VAlign = CG->CellVAlign();
    auto Size = [&](int W, int H) {
        E.Width = W;
        E.Height = H;
    };
    auto* Images = dynamic_cast<TCustomImageList*>(GridImages());
    const int CheckSize = ControlLook()->CheckSize();
    switch (CG->CellType()) {
        case ctBitmap:
            if (auto* B = CG->CellBitmapAs<TBitmap>()) Size(B->Width(), B->Height());
            break;
        case ctIcon:
            if (auto* I = CG->CellIconAs<TIcon>()) Size(I->Width(), I->Height());
            break;
        case ctImageList:
        case ctDataImage:
            if (Images) Size(Images->Width(), Images->Height());
            E.DrawText = CG->CellType() != ctDataImage;
            break;
        case ctCheckBox:
        case ctTriStateCheckBox: Size(CheckSize, CheckSize); break;
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
            Size(CheckSize, CheckSize);
            E.DrawText = false;
            break;
        case ctRotated:
        case ctRadio:
        case ctProgress:
        case ctRangeIndicator:
        case ctXPProgress: E.DrawText = false; break;
        case ctImages:
            if (auto* L = CG->CellBitmapAs<TIntList>(); L && Images) {
                if (CG->CellBoolean())
                    Size(L->Count() * Images->Width(), Images->Height());
                else
                    Size(Images->Width(), L->Count() * Images->Height());
            }
            break;
        case ctPicture:
        case ctFilePicture: {
            const TPoint P = CG->GetPictureSize(ColWidths(DisplColIndex(RealCol)), RowHeights(DisplRow), true);
            Size(P.X, P.Y);
            break;
        }
        case ctButton:
        case ctBitButton: Size(CG->ButtonWidth(), CG->ButtonHeight()); break;
        case ctProgressPie: Size(20, 20); break;
        case ctInterface:
            if (auto* I = dynamic_cast<ICellGraphic*>(CG->CellBitmap())) Size(I->GetWidth(), I->GetHeight());
            break;
        case ctRadioButton: Size(ControlLook()->RadioSize() + 4, ControlLook()->RadioSize() + 4); break;
        case ctShape: {
            const int S = RowHeights(DisplRow) - 2 * XYOffset().y();
            Size(S, S);
            break;
        }
        case ctRating:
            Size(CG->CellAngle() * 18, 16);
            E.DrawText = false;
            break;
        default: break;
    }
    return E;
}

// ---- drawing one object -----------------------------------------------------------------------------------
void TExtStringGrid::DrawCellGraphic(TRect W, TCellGraphic* CG, TVAlignment VA, const TCellGraphicPaint& Info) {
    TCanvas* Canvas = Info.Canvas;
    if (!CG || !Canvas) return;
    const TCellType Kind = CG->CellType();
    const int RC = Info.RealCol;
    const int R = Info.Row;
    const int w = Info.Width;
    const int h = Info.Height;
    const TAlignment HA = Info.HAlign;

    // 1. the graphic area
    TRect G = W;
    if (Kind != ctNode && Kind != ctProgress && Kind != ctRangeIndicator && Kind != ctXPProgress)
        InflateRect(G, -(XYOffset().x() - 1), -(XYOffset().y() - 1));
    int tw = Info.TextWidth;
    if (tw > 0) tw += 2;

    // 2. horizontal placement
    int L = G.Left + 1, Rt = 0;
    bool RtSet = false;
    switch (CG->CellHAlign()) {
        case haLeft: L = G.Left + 1; break;
        case haRight:
            Rt = G.Right - 1;
            L = Rt - w;
            RtSet = true;
            break;
        case haCenter: L = w < G.Width() ? G.Left + (G.Width() - w) / 2 : G.Left + 1; break;
        case haBeforeText:
            if (HA == taRightJustify)
                L = G.Right - tw - w;
            else if (HA == taCenter)
                L = G.Left + (G.Width() - tw - w) / 2;
            else
                L = G.Left + 1;
            L = std::max(L, G.Left + 1);
            break;
        case haAfterText:
            if (HA == taRightJustify) {
                Rt = G.Right - 1;
                L = Rt - w;
                RtSet = true;
            } else if (HA == taCenter) {
                L = std::max(G.Left + tw + (G.Width() - tw - w) / 2, G.Left + 1);
            } else {
                L = G.Left + tw;
            }
            break;
        case haFull:
            L = G.Left;
            Rt = G.Right;
            RtSet = true;
            break;
    }
    if (!RtSet) Rt = L + w;

    // 3. vertical placement
    TCellVAlign CVA = CG->CellVAlign();
    if (IsCheckKind(Kind) && VA != VAlignment()) CVA = VA == vtaTop ? vaTop : VA == vtaCenter ? vaCenter : vaBottom;
    int T = 0, B = 0;
    PlaceGraphicVertically(G, CVA, h, T, B);

    auto CellEnabled = [&] {
        bool E = true;
        GetCellEditable(RC, R, E);
        return E;
    };
    auto* Images = dynamic_cast<TCustomImageList*>(GridImages());

    // 4. by kind
    switch (Kind) {
        case ctBitmap: {
            auto* Bmp = CG->CellBitmapAs<TBitmap>();
            if (!Bmp || Bmp->Empty()) break;
            if (CG->CellTransparent())
                DrawGlyphTransparent(Canvas, L, T, Bmp);
            else
                Canvas->Draw(L, T, Bmp);
            break;
        }
        case ctIcon:
            if (auto* I = CG->CellIconAs<TIcon>(); I && !I->Empty()) Canvas->Draw(L, T, I);
            break;
        case ctImageList:
            if (Images) Images->Draw(Canvas, L, T, CG->CellIndex(), true);
            break;
        case ctDataImage:
            if (Images) {
                const int Index = SafeInts(RC, R) + CG->CellIndex();
                if (Index >= 0 && Index < Images->Count()) Images->Draw(Canvas, L, T, Index, true);
            }
            break;
        case ctImages:
            if (auto* List = CG->CellBitmapAs<TIntList>(); List && Images) {
                for (int i = 0; i < List->Count(); ++i) {
                    Images->Draw(Canvas, L, T, List->GetInteger(i), true);
                    if (CG->CellBoolean())
                        L += Images->Width();
                    else
                        T += Images->Height();
                }
            }
            break;
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctRadioButton:
        case ctTriStateCheckBox: {
            const bool DataKind = Kind == ctDataCheckBox || Kind == ctVirtCheckBox || Kind == ctRowCheckBox;
            const TRect Box = PlaceCheckBox(G, CG, VA, HA, Info.TextWidth, w, h);
            const bool E = CellEnabled();
            const TControlStyle Style = ControlLook()->ControlStyle();
            if (Kind == ctCheckBox || Kind == ctRowCheckBox) {
                DrawCheckBox(Canvas, Box, CG->CellBoolean(), cbUnchecked, false, Style, CG->CellAngle() > 0, E);
            } else if (DataKind) {
                QString True;
                GetCheckTrue(RC, R, True);
                DrawCheckBox(Canvas, Box, GetGridCell(RC, R) == True, cbUnchecked, false, Style, false, E);
            } else if (Kind == ctTriStateCheckBox) {
                DrawCheckBox(Canvas, Box, false, CG->CellCheckBoxState(), true, Style, CG->CellAngle() > 0, E);
            } else {
                DrawRadioGroup(Canvas, Box, false, 1, Style, R, RC, false, nullptr, !E, false,
                               CG->CellBoolean() ? 0 : -1, 1);
            }
            break;
        }
        case ctRotated: {
            const QString Text = GetGridCell(RC, R);
            TRect P = G;
            PlaceRotatedText(Canvas, P, CG->CellAngle(), VA, HA, Text);
            TFont Old;
            Old.Assign(Canvas->Font());
            Canvas->Font()->SetOrientation(CG->CellAngle() * 10);
            TRect Clip = G;
            InflateRect(Clip, -2, -2);
            {
                TBrushKeeper Keep(Canvas);
                Canvas->Brush()->SetStyle(bsClear);
                Canvas->TextRect(Clip, P.Left, P.Top, Text);
            }
            Canvas->Font()->Assign(&Old);
            if (IsSortHeaderCell(RC, R)) DrawSortGlyph(Canvas, RC, T + 8, Rt - 10);
            break;
        }
        case ctNode: DrawNodeGlyph(Canvas, W, G, CG, R, Info.State); break;
        case ctRadio: {
            auto* Items = CG->CellBitmapAs<TStrings>();
            DrawRadioGroup(Canvas, G, false, 1, ControlLook()->ControlStyle(), R, RC, Info.State.Contains(gdSelected),
                           Items, !CellEnabled(), CG->CellBoolean(), CG->CellIndex(), Items ? Items->Count() : 0);
            break;
        }
        case ctPicture: {
            auto* Pic = CG->CellBitmapAs<TPicture>();
            // A picture that reports no size has nothing to show.
            if (!Pic || !Pic->Graphic() || Pic->Width() <= 0 || Pic->Height() <= 0) break;
            if (CG->CellAngle() != noStretch) {
                if (Rt > L && B > T) Canvas->StretchDraw(Rect(L, T, Rt, B), Pic->Graphic());
            } else {
                Canvas->Draw(L, T, Pic->Graphic());
            }
            break;
        }
        case ctFilePicture: {
            int PW = 0, PH = 0;
            if (FilePictureSize(CG->CellBitmap(), PW, PH) && PW > 0 && PH > 0 && Rt > L && B > T)
                DrawFilePicture(CG->CellBitmap(), Canvas, Rect(L, T, Rt, B));
            break;
        }
        case ctProgress: DrawProgressCell(Canvas, G, CG, RC, R); break;
        case ctProgressPie:
            DrawProgressPie(Canvas, Rect(L, T, L + 20, T + 20), CG->CellBitmapColor(), CG->CellAngle(), false);
            break;
        case ctRangeIndicator: {
            TRect Q = G;
            InflateRect(Q, -ControlLook()->ProgressMarginX(), -ControlLook()->ProgressMarginY());
            DrawRangeIndicator(Canvas, Q, SafeInts(RC, R), CG->CellIndex(), CG->CellBoolean(), CG->CellBitmapColor(),
                               CG->CellIconColor());
            break;
        }
        case ctXPProgress: {
            const TGridProgressAppearance* PA = ProgressAppearance();
            TProgressSettings S;
            S.Level0Color = PA->Level0Color();
            S.Level0ColorTo = PA->Level0ColorTo();
            S.Level1Color = PA->Level1Color();
            S.Level1ColorTo = PA->Level1ColorTo();
            S.Level2Color = PA->Level2Color();
            S.Level2ColorTo = PA->Level2ColorTo();
            S.Level3Color = PA->Level3Color();
            S.Level3ColorTo = PA->Level3ColorTo();
            S.Level1Perc = PA->Level1Perc();
            S.Level2Perc = PA->Level2Perc();
            S.ShowBorder = PA->ShowBorder();
            S.BorderColor = PA->BorderColor();
            S.Stacked = PA->Stacked();
            S.ShowPercentage = PA->ShowPercentage();
            S.CompletionSmooth = PA->CompletionSmooth();
            S.ShowGradient = PA->ShowGradient();
            S.Steps = PA->Steps();
            S.CompleteFontColor = PA->CompleteFontColor();
            S.Font = Font();
            S.UnCompleteColor = PA->UnCompleteColor() == clNone ? Color() : PA->UnCompleteColor();
            S.Vertical = false;
            TRect Q = G;
            InflateRect(Q, -ControlLook()->ProgressMarginX(), -ControlLook()->ProgressMarginY());
            Q.Right -= 1;
            Q.Bottom -= 1;
            // An empty range has no progress: the bar shows empty.
            const double Span = double(CG->CellErrLen()) - CG->CellErrFrom();
            int Perc = 0;
            if (Span != 0) {
                const double P = std::abs(SafeInts(RC, R) - double(CG->CellErrFrom())) / Span * 100.0;
                if (std::isfinite(P)) Perc = int(std::nearbyint(std::clamp(P, -1e6, 1e6)));
            }
            DrawProgressBar(Canvas, Q, Perc, S);
            break;
        }
        case ctComment: {
            if (ControlLook()->CommentColor() == clNone) break;
            TColor C = ControlLook()->CommentColor();
            if (CG->CellAngle() != clNone) C = CG->CellIndex();
            Canvas->Pen()->SetColor(C);
            Canvas->Brush()->SetColor(C);
            Canvas->Polygon({Point(W.Right - 7, W.Top), Point(W.Right - 2, W.Top), Point(W.Right - 2, W.Top + 5)});
            Canvas->Brush()->SetColor(Color());
            break;
        }
        case ctButton:
        case ctBitButton:
        case ctExpand: DrawCellButton(Canvas, W, G, CG, RC, R, L, T, Rt, B); break;
        case ctInterface:
            if (auto* I = dynamic_cast<ICellGraphic*>(CG->CellBitmap()))
                I->Draw(Canvas, Rect(G.Left - 1, G.Top - 1, G.Right, G.Bottom), RC, R, Info.State.Contains(gdSelected),
                        this);
            break;
        case ctShape:
            DrawCellShape(Canvas, L, T, Rt - L - 1, B - T - 1, CG->CellAngle(), CG->CellIndex(), CG->CellBitmapColor());
            break;
        case ctRating: {
            const double Value = SafeFloats(RC, R);
            const double v = std::isfinite(Value) ? std::nearbyint(2 * Value) / 2 : 0;
            for (int i = 0; i < CG->CellAngle(); ++i) {
                const TColor Star = i + 1 > v ? CG->CellBitmapColor() : CG->CellIndex();
                DrawCellShape(Canvas, L, T, 16, 16, csStar, Star, Star);
                if (i < v && v < i + 1)
                    DrawCellShape(Canvas, L, T, 16, 16, csHalfStar, CG->CellIndex(), CG->CellIndex());
                L += 18;
            }
            break;
        }
        default: break;
    }
}

int TExtStringGrid::SafeInts(int RealCol, int DisplRow) {
    try {
        return GetInts(RealCol, DisplRow);
    } catch (const std::exception&) {
        return 0; // a cell that holds no number shows as 0
    }
}

double TExtStringGrid::SafeFloats(int RealCol, int DisplRow) {
    try {
        return GetFloats(RealCol, DisplRow);
    } catch (const std::exception&) {
        return 0;
    }
}

void TExtStringGrid::DrawProgressCell(TCanvas* Canvas, TRect G, TCellGraphic* CG, int RC, int R) {
    const double Value = SafeFloats(RC, R);
    const TControlStyle Style = ControlLook()->ControlStyle();
    if ((Style == csWinXP || Style == csTheme) && XPThemed() && ControlLook()->ProgressXP()) {
        if (HTHEME Theme = OpenThemeData(this, QStringLiteral("Progress"))) {
            TRect Q = G;
            InflateRect(Q, -ControlLook()->ProgressMarginX(), -ControlLook()->ProgressMarginY());
            DrawThemeBackground(Theme, Canvas, PP_BAR, 0, Q);
            InflateRect(Q, -2, -2);
            const double p = std::isfinite(Value) ? std::clamp(Value, 0.0, 100.0) : 0;
            Q.Right = Q.Left + int(std::nearbyint(p * Q.Width() / 100));
            if (Q.Right > Q.Left) DrawThemeBackground(Theme, Canvas, PP_CHUNK, 1, Q);
            CloseThemeData(Theme);
            return;
        }
    }
    TRect Q = G;
    InflateRect(Q, -2, -2);
    const TColor Fill = CG->CellBitmapColor();
    const TColor Rest = CG->CellIconColor();
    TColor FillText, RestText;
    if (CG->CellBoolean()) {
        FillText = CG->CellIndex();
        RestText = CG->CellAngle();
    } else {
        // The inverse of what is on the screen: a system colour is resolved first.
        FillText = ColorToRGB(Fill) ^ 0xFFFFFF;
        RestText = ColorToRGB(Rest) ^ 0xFFFFFF;
    }
    DrawProgressFormatted(Canvas, Q, Fill, FillText, Rest, RestText, Value, ControlLook()->ProgressMarginX(),
                          ControlLook()->ProgressMarginY(), CG->CellErrFrom(), CG->CellErrLen(), CG->CellText(),
                          ControlLook()->ProgressBorderColor(), false);
}

void TExtStringGrid::DrawCellButton(TCanvas* Canvas, TRect W, TRect G, TCellGraphic* CG, int RC, int R, int L, int T,
                                    int Rt, int B) {
    const TCellType Kind = CG->CellType();
    CG->SetButtonOffset(Point(L - W.Left, T - W.Top));
    const TColor OldBrush = Canvas->Brush()->Color();
    Canvas->Brush()->SetColor(clBtnFace);
    bool E = true;
    if (!ControlLook()->NoDisabledButtonLook()) GetCellEditable(RC, R, E);
    const TColorTones& Tones = this->Tones();
    int Look = ControlLook()->FlatButton() ? ButtonLookFlat : XPThemed() ? ButtonLookThemed : ButtonLookClassic;
    if (Flat() && Tones.Background.BrushColor != clNone) Look = ButtonLookTones;
    int State = ButtonStateNormal;
    if (CG->CellBoolean())
        State = ButtonStateDown;
    else if (FHoveredCellButton == Point(RC, R))
        State = ButtonStateHot;
    if (!E && Kind != ctExpand) State = ButtonStateDisabled;

    TRect Face = Kind == ctExpand ? Rect(G.Right - 13, G.Top, G.Right, G.Top + 13) : Rect(L, T, Rt, B);
    DrawButtonFace(Canvas, this, Face, Look, State, Tones);
    const int Shift = State == ButtonStateDown ? 1 : 0;
    const int w = Rt - L;
    const int h = B - T;
    if (Kind == ctExpand) {
        Canvas->Pen()->SetColor(clBlack);
        Canvas->Pen()->SetWidth(1);
        const int X = G.Right + Shift, Y = G.Top + Shift;
        if (CG->CellVar().isValid() && !(CG->CellVar().typeId() == QMetaType::Bool && !CG->CellVar().toBool()))
            Canvas->Polyline({Point(X - 10, Y + 8), Point(X - 7, Y + 5), Point(X - 3, Y + 9)});
        else
            Canvas->Polyline({Point(X - 10, Y + 5), Point(X - 7, Y + 8), Point(X - 3, Y + 4)});
        Canvas->Brush()->SetColor(OldBrush);
        return;
    }
    if (Kind == ctBitButton) {
        auto* Glyph = CG->CellBitmapAs<TBitmap>();
        if (Glyph && !Glyph->Empty()) {
            const int GY = T + (Glyph->Height() < h ? (h - Glyph->Height()) / 2 : 3) + Shift;
            if (!CG->CellText().isEmpty() || Glyph->Width() >= w) {
                DrawGlyphTransparent(Canvas, L + 3 + Shift, GY, Glyph);
                L += Glyph->Width() + 4;
            } else {
                DrawGlyphTransparent(Canvas, L + (w - Glyph->Width()) / 2 + Shift, GY, Glyph);
            }
        }
    }
    if (!CG->CellText().isEmpty()) {
        const TColor OldFont = Canvas->Font()->Color();
        if (Look == ButtonLookTones) {
            const TColorTone* Tone[] = {&Tones.Background, &Tones.Hover, &Tones.Selected, &Tones.Disabled};
            Canvas->Font()->SetColor(Tone[State]->TextColor);
        }
        const int OldMode = SetBkMode(Canvas, TRANSPARENT);
        TRect TR = Rect(L + 1 + Shift, T + Shift, Rt + Shift, B + Shift);
        const unsigned WrapFlag = CG->CellText().contains(QLatin1Char('\r')) ? DT_WORDBREAK : DT_SINGLELINE;
        DrawText(Canvas, CG->CellText(), TR, DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | WrapFlag);
        SetBkMode(Canvas, OldMode);
        Canvas->Font()->SetColor(OldFont);
    }
    Canvas->Brush()->SetColor(OldBrush);
}

void TExtStringGrid::DrawNodeGlyph(TCanvas* Canvas, TRect W, TRect G, TCellGraphic* CG, int R, TGridDrawState S) {
    TCellNode* N = CellNode();
    const int I = N->NodeIndent();
    // The node glyph sits relative to the cell, wherever column 0 starts on the screen.
    const int P = NodeLevel(R) * I;
    G.Left = W.Left + P - I;
    const bool Collapsed = CG->CellBoolean();
    if (N->ShowTree() && R >= FixedRows()) {
        Canvas->Pen()->SetColor(N->TreeColor());
        Canvas->Pen()->SetWidth(1);
        const int X = G.Left + I / 2 + 2;
        const int MidY = G.Top + G.Height() / 2;
        const bool NextIndented = R + 1 < RowCount() && NodeLevel(R + 1) > NodeLevel(R);
        if (NextIndented && !(Collapsed && NodeLevel(R + 1) < NodeLevel(R))) {
            Canvas->MoveTo(X, MidY);
            Canvas->LineTo(X, G.Bottom);
        }
        if (R - 1 >= 0 && NodeLevel(R - 1) >= NodeLevel(R)) {
            Canvas->MoveTo(X, G.Top);
            Canvas->LineTo(X, G.Top + 6);
        }
    }
    G.Left = W.Left + P - I / 2 - 4;
    TColor K = Canvas->Brush()->Color();
    if (K == clNone) K = FixedCols() == 0 ? Color() : FixedColor();
    if (ShowSelection() && S.Contains(gdSelected) && !MouseActions()->DisjunctRowSelect()) K = SelectionColor();
    switch (N->NodeType()) {
        case cnLeaf: {
            const int Y = G.Top + (G.Height() - 12) / 2;
            DrawResBitmapTransparent(Canvas, K, Rect(G.Left, Y, G.Right, Y + 12),
                                     Collapsed ? QStringLiteral("ESGLEAFCLOSE") : QStringLiteral("ESGLEAFOPEN"));
            return;
        }
        case cnXP: {
            const int Y = G.Top + (G.Height() - 10) / 2;
            DrawResBitmapTransparent(Canvas, K, Rect(G.Left + 4, Y, G.Right, Y + 10),
                                     Collapsed ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"));
            return;
        }
        case cnGlyph:
            if (!N->ExpandGlyph()->Empty() && !N->ContractGlyph()->Empty()) {
                TBitmap* Glyph = Collapsed ? N->ContractGlyph() : N->ExpandGlyph();
                const int Y = G.Top + (G.Height() - N->ContractGlyph()->Height()) / 2;
                DrawBitmapTransparent(Canvas, Glyph, K, Rect(G.Left, Y, G.Left + Glyph->Width(), Y + Glyph->Height()));
                return;
            }
            break;
        case cn3D: {
            TBrushKeeper Keep(Canvas);
            Canvas->Brush()->SetColor(N->Color());
            Canvas->FillRect(G);
            TRect F = G;
            Frame3D(Canvas, F, clWhite, clGray, 1);
            break;
        }
        default: break;
    }
    const int Left = G.Left + 4, Right = G.Left + 12;
    const int Top = G.Top + std::max(0, G.Height() - 8) / 2, Bottom = Top + 8;
    Canvas->Brush()->SetColor(N->Color());
    if (N->NodeType() == cnFlat) {
        Canvas->Pen()->SetColor(N->NodeColor());
        Canvas->Pen()->SetWidth(1);
        Canvas->Rectangle(Left, Top, Right + 1, Bottom + 1);
        Canvas->MoveTo(Left + 2, Top + 4);
        Canvas->LineTo(Left + 7, Top + 4);
        if (Collapsed) {
            Canvas->MoveTo(Left + 4, Top + 2);
            Canvas->LineTo(Left + 4, Top + 7);
        }
    } else {
        TRect Box = Rect(Left, Top, Right, Bottom);
        Canvas->FillRect(Box);
        DrawEdge(Canvas, Box, Collapsed ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT);
    }
}

// ---- check boxes, radio groups --------------------------------------------------------------------------
void TExtStringGrid::DrawCheckBox(TRect R, bool Checked, TCheckBoxState State, bool TriState, TControlStyle Style,
                                  bool Grayed, bool Enabled) {
    DrawCheckBox(Canvas(), R, Checked, State, TriState, Style, Grayed, Enabled);
}

void TExtStringGrid::DrawCheckBox(TCanvas* C, TRect Q, bool Checked, TCheckBoxState State, bool TriState,
                                  TControlStyle Style, bool Grayed, bool Enabled) {
    if (!C) return;
    // Right to left the box takes the mirrored place but keeps its own look: a tick does not
    // turn round.
    std::optional<TCanvasLeftToRight> Physical;
    if (C->Mirrored()) {
        Q = C->MirrorRect(Q);
        Physical.emplace(C);
    }
    if (ControlLook()->NoDisabledCheckRadioLook() || ControlLook()->CheckAlwaysActive()) Enabled = true;
    if (Style == csTheme && !XPThemed()) Style = csClassic;
    if (TriState) {
        Checked = State == cbChecked;
        Grayed = State == cbGrayed;
    }
    const int CS = ControlLook()->CheckSize();
    switch (Style) {
        case csWinXP:
            DrawResTransparent(C, Q.Left, Q.Top,
                               Checked ? (Enabled ? QStringLiteral("ESGCHK05") : QStringLiteral("ESGCHK07"))
                                       : (Enabled ? QStringLiteral("ESGCHK06") : QStringLiteral("ESGCHK08")));
            break;
        case csExt:
            DrawResTransparent(C, Q.Left, Q.Top,
                               Checked ? (Enabled ? QStringLiteral("ESGCHK01") : QStringLiteral("ESGCHK03"))
                                       : (Enabled ? QStringLiteral("ESGCHK02") : QStringLiteral("ESGCHK04")));
            break;
        case csGlyph:
            DrawGlyphTransparent(C, Q.Left, Q.Top,
                                 Checked ? ControlLook()->CheckedGlyph() : ControlLook()->UnCheckedGlyph());
            break;
        case csBorland: {
            TBrushKeeper Keep(C);
            C->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
            C->Pen()->SetColor(clBtnFace);
            C->Rectangle(Q);
            C->Pen()->SetColor(clBtnHighlight);
            C->MoveTo(Q.Left, Q.Bottom - 1);
            C->LineTo(Q.Left, Q.Top);
            C->LineTo(Q.Right, Q.Top);
            C->Pen()->SetColor(clBtnShadow);
            C->MoveTo(Q.Right - 1, Q.Top);
            C->LineTo(Q.Right - 1, Q.Bottom - 1);
            C->LineTo(Q.Left - 1, Q.Bottom - 1);
            if (Checked) {
                C->Pen()->SetColor(Enabled ? ControlLook()->Color() : clGray);
                const int OldTop = Q.Top;
                Q.Top -= 1;
                Q.Bottom -= 1;
                C->MoveTo(Q.Left + 2, OldTop + CS / 2);
                C->LineTo(Q.Left + 2, Q.Bottom - 1);
                C->MoveTo(Q.Left + 3, Q.Top + CS / 2);
                C->LineTo(Q.Left + 3, Q.Bottom - 2);
                C->MoveTo(Q.Left + 2, Q.Bottom - 1);
                C->LineTo(Q.Right - 2, Q.Top + 3);
                C->MoveTo(Q.Left + 3, Q.Bottom - 1);
                C->LineTo(Q.Right - 1, Q.Top + 3);
            }
            C->Pen()->SetColor(clBlack);
            break;
        }
        case csTheme:
            if (HTHEME Theme = OpenThemeData(this, QStringLiteral("button"))) {
                int St = Grayed ? CBS_MIXEDNORMAL : Checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
                if (!Enabled) St += 3;
                DrawThemeBackground(Theme, C, BP_CHECKBOX, St, Bounds(Q.Left, Q.Top, CS, CS));
                CloseThemeData(Theme);
                break;
            }
            [[fallthrough]];
        case csClassic:
        case csFlat:
        default: {
            TRect Box = Bounds(Q.Left + (Q.Width() - CS) / 2, Q.Top + (Q.Height() - CS) / 2, CS, CS);
            unsigned Flags = DFCS_BUTTONCHECK;
            if (Checked) Flags |= DFCS_CHECKED;
            if (Grayed) Flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
            if (Style == csFlat) Flags |= DFCS_FLAT;
            if (!Enabled) Flags |= DFCS_INACTIVE;
            DrawFrameControl(C, Box, DFC_BUTTON, Flags);
            break;
        }
    }
}

void TExtStringGrid::DrawRadioGroup(TCanvas* C, TRect Q, bool Upward, double Scale, TControlStyle Style, int ARow,
                                    int ACol, bool Selected, TStrings* Items, bool Disabled, bool Horizontal,
                                    int SelectedIndex, int Count) {
    if (!C || Count <= 0) return;
    if (ControlLook()->NoDisabledCheckRadioLook() || ControlLook()->RadioAlwaysActive()) Disabled = false;
    if (Style == csTheme && !XPThemed()) Style = csClassic;
    const int OldMode = SetBkMode(C, TRANSPARENT);
    const TColor OldFont = C->Font()->Color();
    const QString Raw = ARow >= 0 && ACol >= 0 && ARow < RowCount() ? GetGridCell(ACol, ARow) : QString();
    const int RS = ControlLook()->RadioSize();
    const int d = Upward ? -1 : 1;
    const int TextH = C->TextHeight(QStringLiteral("gh"));
    int X0 = 0;
    for (int i = 1; i <= Count; ++i) {
        QString Text;
        const bool HasText = Items && Items->Count() >= i;
        if (HasText) Text = Items->Strings(i - 1);
        C->Font()->SetColor(Selected && ShowSelection() && HasText ? SelectionTextColor() : OldFont);
        // Only an option that has a text can match the cell's text; an empty cell checks nothing.
        bool Checked = i == SelectedIndex + 1;
        if (SelectedIndex == -1 && HasText && Text == Raw) Checked = true;
        if (Style == csClassic || Style == csFlat) {
            const int S = int(std::lround(Scale * (RS + (Style == csFlat ? 2 : 0))));
            int Left, Top;
            if (Horizontal) {
                Left = Q.Left + 2 + X0 + (i - 1) * RS;
                Top = Q.Top + (Q.Height() - RS) / 2;
                if (!Text.isEmpty()) {
                    C->TextOut(Left + int(std::lround(Scale * RS)), Top - 2, Text);
                    X0 += C->TextWidth(Text);
                }
            } else {
                Top = Q.Top + (i - 1) * d * TextH + 2;
                if (HasText) {
                    Left = Q.Left + 2;
                    C->TextOut(Left + int(std::lround(Scale * (RS + 4))), Top - 2, Text);
                } else {
                    Left = Q.Left + (Q.Width() - int(std::lround(Scale * RS))) / 2;
                }
            }
            TRect Box = Bounds(Left, Top, S, S);
            unsigned Flags = DFCS_BUTTONRADIO;
            if (Style == csFlat) Flags |= DFCS_FLAT;
            if (Disabled) Flags |= DFCS_INACTIVE;
            if (Checked) Flags |= DFCS_CHECKED;
            DrawFrameControl(C, Box, DFC_BUTTON, Flags);
            continue;
        }
        const bool BitmapStyle = Style == csWinXP || Style == csExt || Style == csGlyph;
        int Left, Top;
        if (Horizontal) {
            Left = Q.Left + X0 + 16 * i - 14;
            Top = Q.Top + (Q.Height() - 16) / 2;
            if (!Text.isEmpty()) {
                C->TextOut(Left + 16, BitmapStyle ? Top + 1 : Top - 2, Text);
                X0 += C->TextWidth(Text);
            }
        } else {
            const int m = std::max(16, TextH);
            Top = Q.Top + (i - 1) * d * m + 2;
            if (HasText) {
                Left = Q.Left + 2;
                if (BitmapStyle)
                    C->TextOut(Q.Left + 18, Top + 1, Text);
                else
                    C->TextOut(Q.Left + 20, Top - 2, Text);
            } else {
                Left = Q.Left + (Q.Width() - 16) / 2;
            }
        }
        switch (Style) {
            case csBorland: {
                TBrushKeeper Keep(C);
                C->Brush()->SetColor(clBtnFace);
                C->Pen()->SetColor(clBtnFace);
                C->Polygon({Point(Left + 2, Top + 8), Point(Left + 8, Top + 2), Point(Left + 14, Top + 8),
                            Point(Left + 8, Top + 14)});
                C->Pen()->SetColor(Checked ? clGray : clWhite);
                C->MoveTo(Left + 2, Top + 8);
                C->LineTo(Left + 8, Top + 2);
                C->LineTo(Left + 14, Top + 8);
                C->Pen()->SetColor(Checked ? clWhite : clGray);
                C->LineTo(Left + 8, Top + 14);
                C->LineTo(Left + 2, Top + 8);
                if (Checked) {
                    C->Brush()->SetColor(ControlLook()->Color());
                    C->Pen()->SetColor(ControlLook()->Color());
                    C->Polygon({Point(Left + 6, Top + 8), Point(Left + 8, Top + 6), Point(Left + 10, Top + 8),
                                Point(Left + 8, Top + 10)});
                }
                C->Pen()->SetColor(clBlack);
                break;
            }
            case csTheme:
                if (HTHEME Theme = OpenThemeData(this, QStringLiteral("button"))) {
                    const int St = Checked ? (Disabled ? RBS_CHECKEDDISABLED : RBS_CHECKEDNORMAL)
                                           : (Disabled ? RBS_UNCHECKEDDISABLED : RBS_UNCHECKEDNORMAL);
                    DrawThemeBackground(Theme, C, BP_RADIOBUTTON, St, Bounds(Left, Top, 16, 16));
                    CloseThemeData(Theme);
                }
                break;
            case csWinXP:
                DrawResTransparent(C, Left, Top,
                                   Checked ? (Disabled ? QStringLiteral("ESGRAD07") : QStringLiteral("ESGRAD05"))
                                           : (Disabled ? QStringLiteral("ESGRAD08") : QStringLiteral("ESGRAD06")));
                break;
            case csExt:
                DrawResTransparent(C, Left, Top,
                                   Checked ? (Disabled ? QStringLiteral("ESGRAD03") : QStringLiteral("ESGRAD01"))
                                           : (Disabled ? QStringLiteral("ESGRAD04") : QStringLiteral("ESGRAD02")));
                break;
            case csGlyph:
                DrawGlyphTransparent(C, Left, Top,
                                     Checked ? ControlLook()->RadioOnGlyph() : ControlLook()->RadioOffGlyph());
                break;
            default: break;
        }
    }
    C->Font()->SetColor(OldFont);
    SetBkMode(C, OldMode);
}

// ---- sort glyph, rotated text -----------------------------------------------------------------------------
void TExtStringGrid::DrawSortGlyph(TCanvas* C, int RealCol, int Y, int X) {
    if (!C) return;
    TSortSettings* SS = SortSettings();
    // Right to left the glyph keeps its look (its light edge stays on the right) and stands at
    // the mirrored place, moved left by the room of the glyph.
    std::optional<TCanvasLeftToRight> Physical;
    if (C->Mirrored()) {
        TBitmap* Up = SS->IndexShow() ? SS->IndexUpGlyph() : SS->UpGlyph();
        TBitmap* Down = SS->IndexShow() ? SS->IndexDownGlyph() : SS->DownGlyph();
        X = C->MirrorWidth() - X - 4 - (!Up->Empty() && !Down->Empty() ? Up->Width() + 7 : 7);
        Physical.emplace(C);
    }
    if (SS->IndexShow()) {
        const int k = FSortIndexes ? FSortIndexes->FindIndex(RealCol) : -1;
        if (k < 0) return;
        const bool Glyphs = !SS->IndexUpGlyph()->Empty() && !SS->IndexDownGlyph()->Empty();
        TBrushKeeper Keep(C);
        TFont Old;
        Old.Assign(C->Font());
        C->Brush()->SetColor(SS->IndexColor());
        C->Font()->SetColor(clBlack);
        C->Font()->SetSize(6);
        const QString Number = QString::number(k + 1);
        const bool Descending = FSortIndexes->GetInteger(k) < 0;
        if (Descending) {
            if (Glyphs)
                DrawGlyphTransparent(C, X - 7, Y - 7, SS->IndexUpGlyph());
            else
                C->Polygon({Point(X - 7, Y - 5), Point(X + 7, Y - 5), Point(X, Y + 8)});
            SetBkMode(C, TRANSPARENT);
            C->TextOut(X - 2, Y - 4, Number);
        } else {
            if (Glyphs)
                DrawGlyphTransparent(C, X - 7, Y - 7, SS->IndexDownGlyph());
            else
                C->Polygon({Point(X - 6, Y + 8), Point(X + 6, Y + 8), Point(X, Y - 4)});
            SetBkMode(C, TRANSPARENT);
            C->TextOut(X - 2, Y - 2, Number);
        }
        C->Font()->Assign(&Old);
        return;
    }
    const bool Descending = SS->Direction() == ::sdDescending;
    if (SS->UpGlyph()->Empty() || SS->DownGlyph()->Empty()) {
        C->Pen()->SetWidth(1);
        if (Descending) {
            C->Pen()->SetColor(clWhite);
            C->MoveTo(X + 4, Y - 4);
            C->LineTo(X, Y + 4);
            C->Pen()->SetColor(clGray);
            C->LineTo(X - 4, Y - 4);
            C->LineTo(X + 4, Y - 4);
        } else {
            C->Pen()->SetColor(clWhite);
            C->MoveTo(X - 4, Y + 4);
            C->LineTo(X + 4, Y + 4);
            C->LineTo(X, Y - 4);
            C->Pen()->SetColor(clGray);
            C->LineTo(X - 4, Y + 4);
        }
        C->Pen()->SetColor(clBlack);
    } else {
        DrawGlyphTransparent(C, X - 4, Y - 4, Descending ? SS->DownGlyph() : SS->UpGlyph());
        C->Brush()->SetColor(FixedColor());
    }
}

void TExtStringGrid::PlaceRotatedText(TCanvas* C, TRect& R, int Angle, TVAlignment VA, TAlignment HA,
                                      const QString& Text) {
    InflateRect(R, -2, -2);
    const double tw = C->TextWidth(Text);
    const double th = C->TextHeight(Text.isEmpty() ? QStringLiteral("gh") : Text);
    const double a = Angle * std::numbers::pi / 180.0;
    // The corners of the text box from its start point, counter-clockwise rotation on a y-down
    // canvas: along the text (cos, -sin), down the text (sin, cos).
    const double xs[4] = {0, tw * std::cos(a), th * std::sin(a), tw * std::cos(a) + th * std::sin(a)};
    const double ys[4] = {0, -tw * std::sin(a), th * std::cos(a), -tw * std::sin(a) + th * std::cos(a)};
    const double MinX = *std::min_element(xs, xs + 4), MaxX = *std::max_element(xs, xs + 4);
    const double MinY = *std::min_element(ys, ys + 4), MaxY = *std::max_element(ys, ys + 4);
    const double BW = MaxX - MinX, BH = MaxY - MinY;
    double Left = R.Left;
    if (HA == taRightJustify)
        Left = R.Right - BW;
    else if (HA == taCenter)
        Left = R.Left + (R.Width() - BW) / 2;
    double Top = R.Top;
    if (VA == vtaBottom)
        Top = R.Bottom - BH;
    else if (VA == vtaCenter)
        Top = R.Top + (R.Height() - BH) / 2;
    R.Left = int(std::lround(Left - MinX));
    R.Top = int(std::lround(Top - MinY));
}
