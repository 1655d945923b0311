// Unit ExtGrid: the cell level of printing. Measures a cell's content, the print width of every
// column and the print height of every row, and draws one row of cells (background, text,
// graphic, border lines) on a page in 0.1 mm with y growing upwards.
#include "grid/base/EsgHTMLE.h"
#include "grid/control/ExtGrid.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int tkHTML = 1, tkRTF = 2, tkFormula = 3, tkWide = 5;

int RoundInt(double V) { return int(std::lround(V)); }

QStringList CellLines(const QString& Text, bool Multiline) {
    static const QRegularExpression Breaks(QStringLiteral("\r\n|\r|\n"));
    if (Multiline) return Text.split(Breaks);
    const qsizetype I = Text.indexOf(Breaks);
    return {I < 0 ? Text : Text.left(I)};
}

class TScaleScope {
public:
    TScaleScope(double& Ref, double Value) : FRef(Ref), FOld(Ref) { FRef = Value; }
    ~TScaleScope() { FRef = FOld; }
    TScaleScope(const TScaleScope&) = delete;
    TScaleScope& operator=(const TScaleScope&) = delete;

private:
    double& FRef;
    double FOld;
};

bool IsPrintedCheckKind(TCellType T) {
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox || T == ctRadioButton;
}

} // namespace

void TExtStringGrid::SetPrintCanvas(TCanvas* Canvas) {
    FPrintRun = TPrintRun{};
    FPrintRun.Canvas = Canvas;
    FPrintRun.Px = 254.0 / TFont::PixelsPerInch;
    SizePrintTables();
    if (!Canvas) return;
    FPrintRun.ResRatio = Canvas->PixelsPerInchX() / double(TFont::PixelsPerInch);
    TFont Saved;
    Saved.Assign(Canvas->Font());
    Canvas->Font()->Assign(PrintSettings()->Font());
    Canvas->Font()->SetHeight(MapFontHeight(PrintSettings()->Font()->Size()));
    FPrintRun.Sp = Canvas->TextHeight(QStringLiteral("gh")) / 8;
    Canvas->Font()->Assign(&Saved);
}

// ---- measuring ----------------------------------------------------------------------------------------

TPoint TExtStringGrid::CellPrintExtent(int RealCol, int ARow) {
    TCanvas* C = FPrintRun.Canvas;
    if (!C || RealCol < 0 || RealCol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return TPoint{0, 0};
    TPrintSettings* PS = PrintSettings();
    const double Px = FPrintRun.Px;
    TFont Saved;
    Saved.Assign(C->Font());
    const int SavedOrientation = C->Font()->Orientation();

    // 1.
    QString Text = IsDataGraphicCell(RealCol, ARow) ? QString() : GetFormattedCell(RealCol, ARow);
    int Kind = ClassifyCellText(Text, EnableHTML());
    if (Kind == tkWide) {
        Text = DecodeWideCellText(Text);
        Kind = 0;
    }
    TPoint Size{0, 0};
    const int DisplCol = DisplColIndex(RealCol);

    if (Kind == tkHTML) {
        // 2. measured in device pixels, then brought back to page units
        C->Font()->Assign(PS->Font());
        const int FontPx = std::max(1, RoundInt(PS->Font()->Size() * C->PixelsPerInchY() / 72.0 * FFontscalefactor));
        const int OldMode = C->SetMapMode(MM_TEXT);
        C->Font()->SetHeight(-FontPx);
        const int Limit =
            PS->NoAutoSize() && DisplCol >= 0 ? RoundInt((ColWidths(DisplCol) + 12) * FPrintRun.ResRatio) : 65535;
        QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
        int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
        TRect HoverRect, ControlRect;
        DrawHTMLText(C, Text, Rect(0, 0, Limit, 65535), dynamic_cast<TCustomImageList*>(GridImages()), 0, 0, -1, -1, 1,
                     false, true, true, false, false, false, true, false, FPrintRun.ResRatio, URLColor(), clNone,
                     clNone, clGray, AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink,
                     HoverRect, ControlRect, CID, CV, CT, FImageCache.get(),
                     dynamic_cast<TPictureContainer*>(PictureContainer()), nullptr, bdLeftToRight);
        C->SetMapMode(OldMode);
        const double ToPage = 254.0 / std::max(1, C->PixelsPerInchX());
        Size.X = RoundInt(XSize * ToPage);
        // the renderer's extent includes a spacing unit that the row step adds again
        Size.Y = std::max(0, RoundInt(YSize * 254.0 / std::max(1, C->PixelsPerInchY()) - FPrintRun.Sp * Px));
    } else {
        // 3.
        if (Kind == tkRTF) Text = RichTextToPlain(Text);
        if (Kind == tkFormula) Text = GetGridCell(RealCol, ARow);
        TGridDrawState State;
        TBrush Br;
        TFont F;
        TColor ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
        TAlignment HA = taLeftJustify;
        TVAlignment VA = vtaTop;
        bool VisWW = false;
        TCellGradientDirection GD = GradientVertical;
        GetVisualProperties(RealCol, ARow, State, true, false, false, &Br, ColorTo, Mirror, MirrorTo, &F, HA, VA, VisWW,
                            GD);
        C->Font()->Assign(&F);
        C->Font()->SetHeight(MapFontHeight(F.Size()));
        bool Wrap = WordWrap();
        GetCellWordWrap(RealCol, ARow, Wrap);
        int Angle = 0;
        const bool Rotated = IsRotated(RealCol, ARow, Angle);
        if (Rotated) C->Font()->SetOrientation(Angle * 10);
        int gw = 0, gh = 0;
        if (PS->PrintGraphics()) {
            const TPoint G = GetCellGraphicSize(RealCol, ARow);
            gw = RoundInt(G.X * Px);
            gh = RoundInt(G.Y * Px);
        }
        if (Text.isEmpty()) Text = QStringLiteral("gh");
        int W = 0, H = 0, Widest = 0;
        if (!Wrap || !PS->NoAutoSize() || Rotated) {
            QStringList Lines = CellLines(Text, Multilinecells());
            for (QString& L : Lines) {
                if (URLShow() && !URLFull()) StripURLScheme(L);
                Widest = std::max(Widest, C->TextWidth(L));
            }
            W = Widest + gw;
            H = C->TextHeight(QStringLiteral("gh")) * int(Lines.size());
        } else {
            const int Room = IsXMergedCell(RealCol, ARow) ? 65535 : MaxWidths(DisplCol);
            TRect R = Rect(0, 0, Room, 0);
            C->DrawText(Text, R, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            W = Room;
            H = -R.Bottom;
        }
        if (Rotated) {
            const double a = Angle * std::numbers::pi / 180.0;
            const int RW = RoundInt(std::abs(std::cos(a) * W)) + RoundInt(std::abs(std::sin(a) * H));
            const int RH = RoundInt(std::abs(std::sin(a) * Widest)) + RoundInt(std::abs(std::cos(a) * H));
            W = RW;
            H = RH;
            C->Font()->SetOrientation(SavedOrientation);
        }
        Size = TPoint{std::max(W, gw), std::max(H, gh)};
    }
    // 4.
    C->Font()->Assign(&Saved);
    if (OnCustomCellSize) OnCustomCellSize(this, C, RealCol, ARow, Size, true);
    return Size;
}

void TExtStringGrid::MeasurePrintColumns() {
    SizePrintTables();
    TPrintSettings* PS = PrintSettings();
    const TGridRect& PR = FPrintRect;
    // the fixed columns repeated on later bands need their widths too
    const int FirstCol = PS->RepeatFixedCols() ? std::min(PR.Left, std::max(0, FixedCols())) : PR.Left;
    for (int c = std::max(0, FirstCol); c <= PR.Right; ++c) FMaxWidths[size_t(c)] = 0;
    if (PS->NoAutoSize()) {
        for (int c = std::max(0, FirstCol); c <= PR.Right; ++c)
            if (PrintColPrinted(c)) FMaxWidths[size_t(c)] = RoundInt(ColWidths(c) * FPrintRun.Px);
        return;
    }
    std::vector<int> Rows;
    if (PS->RepeatFixedRows())
        for (int r = 0; r < FixedRows() && r < PR.Top; ++r) Rows.push_back(r);
    for (int r = PR.Top; r <= PR.Bottom; ++r) Rows.push_back(r);
    for (int r : Rows)
        for (int c = std::max(0, FirstCol); c <= PR.Right; ++c) {
            if (!PrintColPrinted(c)) continue;
            const int RC = RealColIndex(c);
            if (IsXMergedCell(RC, r)) continue;
            const int W = PS->UseFixedWidth() ? PS->FixedWidth() : CellPrintExtent(RC, r).X;
            FMaxWidths[size_t(c)] = std::max(FMaxWidths[size_t(c)], W);
        }
}

int TExtStringGrid::PrintRowHeight(int ARow) {
    TPrintRun& E = FPrintRun;
    if (ARow == E.CachedRow) return E.CachedHeight;
    TPrintSettings* PS = PrintSettings();
    int H = 0;
    if (PS->NoAutoSizeRow()) {
        H = RoundInt(RowHeights(ARow) * E.Px) - 4;
    } else if (PS->UseFixedHeight()) {
        H = PS->FixedHeight();
    } else {
        TScaleScope Scale(FFontscalefactor, E.FitScale);
        int Max = 0, Last = 0;
        for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
            const int RC = RealColIndex(c);
            if (IsYMergedCell(RC, ARow)) continue;
            Last = CellPrintExtent(RC, ARow).Y;
            Max = std::max(Max, Last);
        }
        if (Max == 0) Max = Last;
        H = Max + Max / 8;
        if (OnPrintSetRowHeight) OnPrintSetRowHeight(this, ARow, H);
    }
    E.CachedRow = ARow;
    E.CachedHeight = H;
    return H;
}

// ---- rotated text ------------------------------------------------------------------------------------

void TExtStringGrid::RotatedTextOrigin(TRect& R, TAlignment HAlign, TVAlignment VAlign, int A, int B, int C, int D,
                                       int Angle) {
    const int Quadrant = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle > 270 ? 4 : 3;
    auto Half = [](int V) { return V / 2; };
    const int L = R.Left, T = R.Top, Rt = R.Right, Bt = R.Bottom;
    int X = L, Y = T;
    switch (Quadrant) {
        case 1:
            X = HAlign == taRightJustify ? Rt - D - C : HAlign == taCenter ? L + Half(Rt - L - C - D) : L;
            Y = VAlign == vtaBottom ? Bt - A : VAlign == vtaCenter ? T + B - Half(B + T + A - Bt) : T + B;
            break;
        case 2:
            X = HAlign == taRightJustify ? Rt - C : HAlign == taCenter ? Rt - Half(C + Rt - L - D) : L + D;
            Y = VAlign == vtaBottom ? Bt : VAlign == vtaCenter ? T + A + B - Half(B + T + A - Bt) : T + A + B;
            break;
        case 3:
            X = HAlign == taRightJustify ? Rt : HAlign == taCenter ? Rt - Half(Rt - L - C - D) : L + C + D;
            Y = VAlign == vtaBottom ? Bt - B : VAlign == vtaCenter ? T + A - Half(B + T + A - Bt) : T + A;
            break;
        default:
            X = HAlign == taRightJustify ? Rt - D : HAlign == taCenter ? L + Half(C + Rt - L - D) : L + C;
            Y = VAlign == vtaBottom ? Bt - A - B : VAlign == vtaCenter ? T - Half(B + T + A - Bt) : T;
            break;
    }
    R.Left = X;
    R.Top = Y;
}

// ---- drawing ------------------------------------------------------------------------------------------

int TExtStringGrid::PrintRow(int y, int FirstCol, int LastCol, int ARow) {
    TPrintRun& E = FPrintRun;
    TPrintSettings* PS = PrintSettings();
    TCanvas* C = E.Canvas;
    TScaleScope Scale(FFontscalefactor, E.FitScale);
    struct TScaleReset {
        double& F;
        ~TScaleReset() { F = 1.0; }
    } Reset{FFontscalefactor};

    // 1.
    const int h = PrintRowHeight(ARow);
    const int Step = 2 * E.Sp + h + PS->RowSpacing();
    if (!C || !PrintDrawing() || !PrintPageInRange(E.C + 1)) return Step;
    SizePrintTables();
    const double Px = E.Px;
    const int TableEnd = int(FMaxWidths.size()) - 2;
    const bool Printing = E.Mode == 1;

    // 2.
    for (int c = std::max(0, FirstCol); c <= LastCol && c <= TableEnd; ++c) {
        if (!PrintColPrinted(c)) continue;
        const int RC = RealColIndex(c);
        // 2.1
        const TPoint Ext = CellExt(RC, ARow);
        const int ex = std::max(0, Ext.X), ey = std::max(0, Ext.Y);
        int Width = 0;
        for (int k = c; k <= c + ex && k <= TableEnd; ++k) Width += FMaxWidths[size_t(k)] + E.S;
        auto RowTerm = [&](int r) {
            const int k = RoundInt((RowHeights(r) - 4) * Px);
            return k + k / 8 + 2 * E.Sp + PS->RowSpacing();
        };
        int Height = 0;
        if (PS->NoAutoSizeRow()) {
            if (ey == 0)
                Height = Step;
            else
                for (int r = ARow; r <= ARow + ey && r < RowCount(); ++r) Height += RowTerm(r);
        } else {
            Height = Step;
            for (int r = ARow + 1; r <= ARow + ey && r < RowCount(); ++r) Height += RowTerm(r);
        }
        const int Left = FIndents[size_t(c)];
        TRect CR = Rect(Left, y, Left + Width, y - Height);

        // 2.2
        TCellBorders Borders;
        switch (PS->Borders()) {
            case pbSingle:
            case pbDouble: Borders = TCellBorders{cbTop, cbLeft, cbRight, cbBottom}; break;
            case pbHorizontal:
            case pbAroundHorizontal: Borders = TCellBorders{cbTop, cbBottom}; break;
            case pbVertical:
            case pbAroundVertical: Borders = TCellBorders{cbLeft, cbRight}; break;
            default: break;
        }
        C->Pen()->SetWidth(1);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(PS->BorderColor());
        GetCellPrintBorder(RC, ARow, C->Pen(), Borders);
        TPen BorderPen;
        BorderPen.Assign(C->Pen());

        // 2.3
        if (IsBaseCell(RC, ARow)) {
            TFont SavedFont;
            SavedFont.Assign(C->Font());
            TBrush SavedBrush;
            SavedBrush.Assign(C->Brush());
            const int pw = std::max(1, C->Pen()->Width());

            // 2.3.1
            TGridDrawState State;
            TBrush Br;
            TFont F;
            TColor ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
            TAlignment HA = taLeftJustify;
            TVAlignment VA = vtaTop;
            bool VisWW = false;
            TCellGradientDirection GD = GradientVertical;
            GetVisualProperties(RC, ARow, State, true, false, false, &Br, ColorTo, Mirror, MirrorTo, &F, HA, VA, VisWW,
                                GD);
            C->Font()->Assign(&F);
            C->Font()->SetHeight(MapFontHeight(F.Size()));
            bool Wrap = WordWrap();
            GetCellWordWrap(RC, ARow, Wrap);
            QString Text = IsDataGraphicCell(RC, ARow) ? QString() : GetFormattedCell(RC, ARow);
            int Kind = ClassifyCellText(Text, EnableHTML());
            if (Kind == tkWide) {
                Text = DecodeWideCellText(Text);
                Kind = 0;
            }
            if (Kind == tkFormula) Text = GetGridCell(RC, ARow);

            // 2.3.2
            if (Br.Color() != clNone && Br.Style() != bsClear) {
                TRect Bg = CR;
                if (!Borders.Contains(cbLeft)) Bg.Left += 2 * pw;
                if (!Borders.Contains(cbTop)) Bg.Top -= 2 * pw;
                FillGradientRect(C, Br.Color(), ColorTo, 64, Bg, GD == GradientHorizontal);
            }

            // 2.3.3
            CellAlignment(RC, ARow, HA, VA);
            const int t = C->TextHeight(QStringLiteral("gh")) + PS->RowSpacing();
            const int S = t + t / 8;
            const int g = C->TextWidth(QStringLiteral("g")) / 2;

            // 2.3.4
            int Angle = 0;
            const bool Rotated = IsRotated(RC, ARow, Angle);
            if (Rotated) {
                const int Factor = Printing && PrinterDriverFix() && PrinterLandscapeRotation() == 270 ? -10 : 10;
                C->Font()->SetOrientation(Factor * Angle);
            }

            // 2.3.5
            TCellGraphic* CG = PS->PrintGraphics() ? CellGraphicRecord(RC, ARow) : nullptr;
            TRect TextR = CR;
            TRect GR{};
            if (CG) {
                const TPoint GS = GetCellGraphicSize(RC, ARow);
                int gw = RoundInt(GS.X * Px), gh = RoundInt(GS.Y * Px);
                if (CG->CellType() == ctRadio) Text.clear();
                int gx = CR.Left + RoundInt(Px);
                switch (CG->CellHAlign()) {
                    case haLeft:
                    case haBeforeText:
                        gx = CR.Left + RoundInt(Px);
                        TextR.Left = gx + gw;
                        break;
                    case haRight:
                    case haAfterText:
                        gx = CR.Right - gw;
                        TextR.Right = gx;
                        break;
                    case haCenter: gx = CR.Left + (CR.Width() - gw) / 2; break;
                    case haFull:
                        gx = CR.Left;
                        gw = CR.Width();
                        break;
                }
                if (IsPrintedCheckKind(CG->CellType()) && Text.isEmpty()) {
                    if (HA == taRightJustify) gx = CR.Right - gw;
                    if (HA == taCenter) gx = CR.Left + (CR.Width() - gw) / 2;
                }
                const int CellH = CR.Top - CR.Bottom;
                int gy = CR.Top;
                switch (CG->CellVAlign()) {
                    case vaTop: gy = CR.Top; break;
                    case vaBottom: gy = CR.Bottom + gh; break;
                    case vaCenter: gy = CR.Top - (CellH - gh) / 2; break;
                    case vaUnderText:
                        gy = CR.Bottom + gh;
                        TextR.Bottom = gy;
                        break;
                    case vaAboveText:
                        gy = CR.Top;
                        TextR.Top = CR.Top - gh;
                        break;
                    case vaFull:
                        gy = CR.Top;
                        gh = CellH;
                        break;
                }
                GR = Rect(gx, gy, gx + gw, gy - gh);
            }

            // 2.3.6
            C->Brush()->SetStyle(bsClear);
            // text never runs past the band's last column on the page
            const int ClipRight = FIndents[size_t(std::min(LastCol + 1, TableEnd + 1))];
            if (TextR.Right > E.W) TextR.Right = ClipRight;
            if (Kind == tkHTML) {
                TRect R = TextR;
                R.Right -= g + 2 * RoundInt(Px);
                R.Bottom -= RoundInt(E.Sp * Px);
                const TRect DR = C->LPtoDP(R);
                const int FontPx = std::max(1, RoundInt(F.Size() * C->PixelsPerInchY() / 72.0 * FFontscalefactor));
                const int OldMode = C->SetMapMode(MM_TEXT);
                C->Font()->SetHeight(-FontPx);
                QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
                int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
                TRect HoverRect, ControlRect;
                DrawHTMLText(C, Text, DR, dynamic_cast<TCustomImageList*>(GridImages()), 0, 0, -1, -1, 1, false, false,
                             true, false, false, false, true, false, E.ResRatio, URLColor(), clNone, clNone, clGray,
                             AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink,
                             HoverRect, ControlRect, CID, CV, CT, FImageCache.get(),
                             dynamic_cast<TPictureContainer*>(PictureContainer()), nullptr, bdLeftToRight);
                C->SetMapMode(OldMode);
            } else if (Kind == tkRTF) {
                const TRect DR = C->LPtoDP(TextR);
                const int OldMode = C->SetMapMode(MM_TEXT);
                DrawRichCell(RC, ARow, DR, C);
                C->SetMapMode(OldMode);
            } else if (Wrap && PS->NoAutoSize() && !Rotated) {
                TRect R = TextR;
                R.Left += 2 * RoundInt(Px);
                unsigned Flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
                // the same inner margin as one-line text, so the text never touches the border
                if (HA == taLeftJustify || HA == taCenter) R.Left += g;
                if (HA == taRightJustify || HA == taCenter) R.Right -= g;
                if (HA == taRightJustify) Flags |= DT_RIGHT;
                if (HA == taCenter) Flags |= DT_CENTER;
                C->DrawText(Text, R, Flags);
            } else {
                QStringList Lines = CellLines(Text, Multilinecells());
                for (QString& L : Lines)
                    if (URLShow() && !URLFull()) StripURLScheme(L);
                if (Rotated) {
                    int U = 0;
                    for (const QString& L : Lines) U = std::max(U, C->TextWidth(L));
                    TRect R = TextR;
                    R.Top += g;
                    R.Bottom -= g;
                    const double a = Angle * std::numbers::pi / 180.0;
                    RotatedTextOrigin(R, HA, VA, -RoundInt(std::abs(std::cos(a) * S)),
                                      -RoundInt(std::abs(std::sin(a) * U)), RoundInt(std::abs(std::sin(a) * S)),
                                      RoundInt(std::abs(std::cos(a) * U)), Angle);
                    C->TextOut(R.Left, R.Top, Lines.value(0));
                } else if (Lines.size() <= 1) {
                    const QString L = Lines.value(0);
                    TRect R = TextR;
                    if (ey == 0) R.Bottom = std::max(R.Bottom, R.Top - Step - PS->RowSpacing());
                    unsigned Flags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL;
                    if (EnhTextSize() && PS->NoAutoSize()) {
                        Flags |= DT_END_ELLIPSIS;
                        R.Left += RoundInt(XYOffset().x() * Px);
                        R.Top -= RoundInt(XYOffset().y() * Px);
                    } else {
                        R.Top -= E.Sp;
                        if (HA == taLeftJustify || HA == taCenter) R.Left += g;
                        if (HA == taRightJustify || HA == taCenter) R.Right -= g;
                        if (VA == vtaCenter) Flags |= DT_VCENTER;
                        if (VA == vtaBottom) Flags |= DT_BOTTOM;
                    }
                    if (HA == taRightJustify) Flags |= DT_RIGHT;
                    if (HA == taCenter) Flags |= DT_CENTER;
                    C->DrawText(L, R, Flags);
                } else {
                    const int n = int(Lines.size());
                    const int LineStep = S - PS->RowSpacing();
                    int o = 0;
                    if (ey == 0 && ex == 0) {
                        if (VA == vtaCenter) o = (Step - LineStep * n) / 2;
                        if (VA == vtaBottom) o = Step - LineStep * n;
                    }
                    int Top = TextR.Top - std::max(0, o);
                    for (const QString& L : Lines) {
                        const int TW = C->TextWidth(L);
                        int X = TextR.Left + g;
                        if (HA == taRightJustify) X = TextR.Right - g - TW;
                        if (HA == taCenter) X = TextR.Left + (TextR.Right - TextR.Left - TW) / 2;
                        C->TextOut(X, Top, L);
                        Top -= LineStep;
                    }
                }
            }
            if (Rotated) C->Font()->SetOrientation(0);

            // 2.3.7
            if (CG) PrintCellGraphic(RC, ARow, CG, GR, Br.Color());

            // 2.3.8
            if (OnCustomCellDraw) {
                const TRect DR = C->LPtoDP(Rect(CR.Left, y, CR.Right, y - Step));
                const int OldMode = C->SetMapMode(MM_TEXT);
                C->Font()->Assign(PS->Font());
                C->Font()->SetHeight(
                    -std::max(1, RoundInt(PS->Font()->Size() * C->PixelsPerInchY() / 72.0 * FFontscalefactor)));
                OnCustomCellDraw(this, C, RC, ARow, TGridDrawState{}, DR, true);
                C->SetMapMode(OldMode);
            }
            C->Font()->Assign(&SavedFont);
            C->Brush()->Assign(&SavedBrush);
        }

        // 2.4
        C->Pen()->Assign(&BorderPen);
        if (!IsBaseCell(RC, ARow)) {
            if (ex > 0) Borders >> cbLeft >> cbRight;
            if (ey > 0) Borders >> cbTop >> cbBottom;
            if (ey == 0 && IsYMergedCell(RC, ARow)) Borders >> cbTop;
            if (ex == 0 && IsXMergedCell(RC, ARow)) Borders >> cbLeft;
        }
        if (Printing) C->Pen()->SetWidth(std::max(1, RoundInt(BorderPen.Width() * Px)));
        const int pw = C->Pen()->Width();
        TRect BR = CR;
        if (BR.Bottom < E.B + PS->FooterSize()) {
            BR.Bottom = y - Step;
            Borders >> cbBottom;
        }
        if (BR.Right > E.W) BR.Right = FIndents[size_t(std::min(LastCol + 1, TableEnd + 1))];
        const int LX = c > FirstCol ? BR.Left - pw : BR.Left;
        if (Borders.Contains(cbTop)) {
            C->MoveTo(BR.Left, BR.Top);
            C->LineTo(BR.Right, BR.Top);
        }
        if (Borders.Contains(cbBottom)) {
            C->MoveTo(BR.Left, BR.Bottom);
            C->LineTo(BR.Right, BR.Bottom);
        }
        if (Borders.Contains(cbLeft)) {
            C->MoveTo(LX, BR.Top);
            C->LineTo(LX, BR.Bottom);
        }
        if (Borders.Contains(cbRight)) {
            C->MoveTo(BR.Right, BR.Top);
            C->LineTo(BR.Right, BR.Bottom);
        }
    }
    // 3.
    return Step;
}

// A cell graphic is drawn by the screen's own painter on a bitmap of its screen size and
// stretched into its place on the page, so every kind prints as it shows.
void TExtStringGrid::PrintCellGraphic(int RealCol, int ARow, TCellGraphic* CG, TRect R, TColor Brush) {
    TCanvas* C = FPrintRun.Canvas;
    if (!CG || !C || R.Left >= R.Right || R.Top <= R.Bottom) return;
    if (CG->CellType() == ctNode) {
        // a square of 2 mm in the node colour, with a bar, and a second one when closed
        const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
        TBrush Saved;
        Saved.Assign(C->Brush());
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(CellNode()->NodeColor());
        C->Pen()->SetColor(clBlack);
        C->Rectangle(cx - 10, cy + 10, cx + 10, cy - 10);
        C->MoveTo(cx - 6, cy);
        C->LineTo(cx + 6, cy);
        if (CG->CellBoolean()) {
            C->MoveTo(cx, cy + 6);
            C->LineTo(cx, cy - 6);
        }
        C->Brush()->Assign(&Saved);
        return;
    }
    const TPoint GS = GetCellGraphicSize(RealCol, ARow);
    if (GS.X <= 0 || GS.Y <= 0) return;
    // room for the painter's own margins around the graphic
    const int MX = std::max(0, XYOffset().x()), MY = std::max(0, XYOffset().y());
    TBitmap Bmp;
    Bmp.SetSize(GS.X + 2 * MX, GS.Y + 2 * MY);
    Bmp.Canvas()->Brush()->SetStyle(bsSolid);
    Bmp.Canvas()->Brush()->SetColor(Brush == clNone ? clWhite : Brush);
    Bmp.Canvas()->FillRect(Rect(0, 0, Bmp.Width(), Bmp.Height()));
    TCellGraphicPaint Info;
    Info.Canvas = Bmp.Canvas();
    Info.RealCol = RealCol;
    Info.Row = ARow;
    Info.Width = GS.X;
    Info.Height = GS.Y;
    // the graphic alone: its own alignment is the placement already made on the page
    const TCellHAlign OldH = CG->CellHAlign();
    const TCellVAlign OldV = CG->CellVAlign();
    CG->SetCellHAlign(haLeft);
    CG->SetCellVAlign(vaTop);
    try {
        DrawCellGraphic(Rect(0, 0, Bmp.Width(), Bmp.Height()), CG, vtaTop, Info);
    } catch (...) {
        CG->SetCellHAlign(OldH);
        CG->SetCellVAlign(OldV);
        throw;
    }
    CG->SetCellHAlign(OldH);
    CG->SetCellVAlign(OldV);
    const double Px = FPrintRun.Px;
    const TRect Target = Rect(R.Left - RoundInt(MX * Px), R.Top + RoundInt(MY * Px), R.Right + RoundInt(MX * Px),
                              R.Bottom - RoundInt(MY * Px));
    C->StretchDraw(Target, &Bmp);
}
