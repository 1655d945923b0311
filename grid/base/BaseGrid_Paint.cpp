// The frame every cell of every grid is painted with: the hidden last row, merged areas painted
// once per pass, clipping under the fixed cells, hover and active-row colours, the selection
// faces, the background and the grid lines; the content goes to DrawGridCell.
#include "grid/base/BaseGrid.h"

#include "grid/base/ExtUtil.h"

#include <QDebug>

#include <algorithm>

namespace {

// The colours of a selection face: fill, fill to, inner corner, border, inner lower line, inner
// upper line, lower half fill to, lower half fill.
struct TFaceColors {
    TColor Fill, FillTo, InnerCorner, Border, LowerLine, UpperLine, LowerFillTo, LowerFill;
};

constexpr TFaceColors FaceVista{0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone};
constexpr TFaceColors FaceWin7{0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone};
constexpr TFaceColors FaceOffice2007{0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0xB3F1FC, 0x58D4FC};
constexpr TFaceColors FaceUnfocused{0xF8F8F8, 0xE5E5E5, 0xEFEFEF, 0xD9D9D9, 0xF0F0F0, 0xFBFAFA, clNone, clNone};

const TFaceColors& FaceColors(TGridSelectionStyle Style, bool Focused) {
    if (!Focused) return FaceUnfocused;
    switch (Style) {
        case ssWin7: return FaceWin7;
        case ssOffice2007: return FaceOffice2007;
        default: return FaceVista;
    }
}

// Where the cell's column lies in the selected column span: 1 left end, 2 right end, 3 inside,
// 0 a one-column selection (or outside it).
int SelectionSide(const TGridRect& Sel, int ACol) {
    const int L = std::min(Sel.Left, Sel.Right), R = std::max(Sel.Left, Sel.Right);
    if (L == R) return 0;
    if (ACol == L) return 1;
    if (ACol == R) return 2;
    if (ACol > L && ACol < R) return 3;
    return 0;
}

} // namespace

void TBaseGrid::ReportPaintError(int ACol, int ARow, const char* What) {
    if (FPaintErrorReported) return;
    FPaintErrorReported = true;
    qWarning("Grid %s: painting cell (%d, %d) failed: %s", qPrintable(Name()), ACol, ARow, What);
}

void TBaseGrid::GuardedPaintCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState,
                                 bool Full) {
    try {
        PaintCellCore(ACanvas, ACol, ARow, ARect, AState, Full);
    } catch (const std::exception& E) {
        ReportPaintError(ACol, ARow, E.what());
    } catch (...) {
        ReportPaintError(ACol, ARow, "unknown exception");
    }
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    GuardedPaintCell(Canvas(), ACol, ARow, ARect, AState, true);
}

// Printing and drag images paint through these: a failing cell must not end the whole job.
void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    GuardedPaintCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    GuardedPaintCell(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::PaintCellCore(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState, bool Full) {
    if (!Canvas) return;

    // 1. the hidden last row is a plain rectangle in the grid's colour
    if (ARow == RowCount() - 1 && FHideLastRow) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color());
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(Color());
        Canvas->Rectangle(R);
        return;
    }

    // 2. a covered cell paints its merged area once per pass, through the base cell
    int BaseCol = ACol, BaseRow = ARow;
    if (!ResolveBaseCell(ACol, ARow, BaseCol, BaseRow)) {
        if (TCellProperties* BP = PropsAt(BaseCol, BaseRow); BP && BP->FPaintID != FPaintID) {
            BP->FPaintID = FPaintID;
            PaintCell(Canvas, BaseCol, BaseRow, R, AState);
        }
        return;
    }

    // 3., 4. the fixed look and the whole area of a merged base cell
    if (Full && IsFixed(ACol, ARow)) {
        AState >> gdSelected;
        AState << gdFixed;
    }
    if (Full) R = CellRect(ACol, ARow);

    // 5. an area scrolled under the fixed cells must not paint over them
    const int D = ACol >= PlatformFixedCols() ? FixedColsWidth() : 0;
    const int E = ARow >= PlatformFixedRows() ? FixedRowsHeight() : 0;
    const bool Clip = (ACol >= PlatformFixedCols() && PlatformFixedCols() > 0 && R.Left < D) ||
        (ARow >= PlatformFixedRows() && PlatformFixedRows() > 0 && R.Top < E);
    // The clip goes back even when a descendant's drawing raises.
    struct TClipGuard {
        TCanvas* C;
        bool Set = false, Had = false;
        TRect Old;
        ~TClipGuard() {
            if (!Set) return;
            if (Had)
                C->SetClipRect(Old);
            else
                C->ResetClip();
        }
    } Guard{Canvas, false, false, TRect()};
    if (Clip) {
        Guard.Set = true;
        Guard.Had = Canvas->HasClip();
        if (Guard.Had) {
            Guard.Old = Canvas->ClipRect();
            Canvas->IntersectClipRect(Rect(D, E, Width(), Height()));
        } else {
            Canvas->SetClipRect(Rect(D, E, Width(), Height()));
        }
    }

    // 6. the cell's look
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->SetFont(Font());
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color());
    TColor ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = FWordWrap;
    TCellGradientDirection GD = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, true, Canvas->Brush(), ColorTo, MirrorColor, MirrorColorTo,
                        Canvas->Font(), HA, VA, WW, GD);
    Canvas->Pen()->SetColor(Canvas->Brush()->Color());

    const bool Selected = AState.Contains(gdSelected);
    const bool Fixed = AState.Contains(gdFixed);

    // 7. hover row
    if (ARow == FHoverRowIdx && FHoverRow && !(Selected && !FHoverRowCells.Contains(hcSelected)) &&
        !(Fixed && !FHoverRowCells.Contains(hcFixed))) {
        Canvas->Brush()->SetColor(FHoverRowColor);
        ColorTo = FHoverRowColorTo;
        MirrorColor = MirrorColorTo = clNone;
        GD = GradientVertical;
    }

    // 8. active row
    if ((FActiveRowShow && ARow == Row() && ACol >= PlatformFixedCols() && (ACol != Col() || !FShowSel)) ||
        (!Full && Selected)) {
        Canvas->Brush()->SetColor(FActiveRowColor);
        ColorTo = FActiveRowColorTo;
        MirrorColor = FActiveRowMirrorColor;
        MirrorColorTo = FActiveRowMirrorColorTo;
    }
    Canvas->Pen()->SetColor(Canvas->Brush()->Color());

    const bool RTL = layoutDirection() == Qt::RightToLeft;
    const TGridOptions Opts = Options();

    // 9. background
    if (Selected && FSelectionStyle != ssDefault && FShowSel) {
        const int S = SelectionSide(Selection(), ACol);
        TRect F = R;
        if (!Opts.Contains(goHorzLine)) F.Bottom++;
        if (!Opts.Contains(goVertLine)) F.Right++;
        if (RTL) {
            F.Right++;
            F.Bottom++;
        }
        const bool HasFocus = Focused() || Opts.Contains(goDrawFocusSelected);
        const TFaceColors& FC = FaceColors(FSelectionStyle, HasFocus);
        DrawGradientButtonFace(Canvas, FC.Fill, FC.FillTo, FC.LowerFill, FC.LowerFillTo, FC.UpperLine, FC.LowerLine,
                               FC.Border, FC.InnerCorner, Color(), F, S);
    } else if (!(UsesPlatformStyles() && (Fixed || Selected))) {
        const TColor Brush = Canvas->Brush()->Color();
        if (MirrorColorTo == clNone)
            FillGradientRect(Canvas, Brush, ColorTo, 64, R, GD == GradientHorizontal);
        else
            DrawGradientBackground(Canvas, R, Brush, ColorTo, MirrorColor, MirrorColorTo, GD == GradientVertical,
                                   clNone, false, true);
        Canvas->Brush()->SetColor(Brush);
    }

    // 10. grid lines
    int lw = 1;
    Canvas->Pen()->SetStyle(psSolid);
    if (Fixed) {
        Canvas->Pen()->SetColor(FGridFixedLineColor);
        Canvas->Pen()->SetWidth(1);
    } else {
        if (GridLineWidth() > 0) Canvas->Pen()->SetColor(FGridLineColor);
        Canvas->Pen()->SetWidth(GridLineWidth());
        lw = (GridLineWidth() + 1) / 2;
    }
    const bool LinesWanted = Fixed || GridLineWidth() > 0;
    if (LinesWanted && ((Opts.Contains(goHorzLine) && !Fixed) || (Opts.Contains(goFixedHorzLine) && Fixed)) &&
        !(BaseCol == 0 && HasNodes())) {
        Canvas->MoveTo(R.Left - lw + 1, R.Bottom - lw);
        Canvas->LineTo(R.Right - lw + 1, R.Bottom - lw);
    }
    if (LinesWanted && ((Opts.Contains(goVertLine) && !Fixed) || (Opts.Contains(goFixedVertLine) && Fixed))) {
        const int X = R.Right - lw + (RTL ? 1 : 0);
        Canvas->MoveTo(X, R.Bottom - lw);
        Canvas->LineTo(X, R.Top - lw);
    }
    Canvas->Pen()->SetWidth(1);

    // 11. content
    TRect Inner = R;
    if (Fixed) {
        Inner.Right -= 1;
        Inner.Bottom -= 2;
    } else {
        InflateRect(Inner, -GridLineWidth(), -GridLineWidth());
    }
    if (Full) DrawGridCell(Canvas, ACol, ARow, Inner, AState);

    // 12. (the clip is restored by its guard)
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Pen()->SetStyle(psSolid);
}
