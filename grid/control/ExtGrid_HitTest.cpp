// How much room a cell object takes beside the cell text, how large it prints, and whether a
// point falls on a cell's check box, push button, expand button or node glyph. The check box a
// click is tested against is placed by the same routine the painter draws it with, so the box a
// user sees is the box that answers.
#include "grid/control/ExtGrid.h"

#include "grid/control/CellGraphicPlace.h"
#include "platform/gui/ImgList.h"

#include <QApplication>
#include <QStyle>

#include <cmath>
#include <cstdint>

namespace {
bool BesideText(TCellHAlign hal) { return hal == haBeforeText || hal == haAfterText; }
bool OverText(TCellVAlign val) { return val == vaUnderText || val == vaAboveText; }
bool InRect(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

// An image-list cell's images side by side (CellBoolean) or stacked; Size kept without images.
void ImagesSize(TCellGraphic* CG, TCustomImageList* Images, TPoint& Size) {
    auto* L = CG->CellBitmapAs<TIntList>();
    if (!L || !Images) return;
    if (CG->CellBoolean())
        Size = Point(L->Count() * Images->Width(), Images->Height());
    else
        Size = Point(Images->Width(), L->Count() * Images->Height());
}

// Text measured in the grid's font.
struct TGridMeasure {
    explicit TGridMeasure(TFont* Font) { Canvas.Font()->Assign(Font); }
    int Width(const QString& S) { return Canvas.TextWidth(S); }
    int Height(const QString& S) { return Canvas.TextHeight(S); }
    TCanvas Canvas;
};

// A radio group's options side by side (Horizontal) or one under another, each with its 12-pixel
// button; a stacked option is at least MinItemHeight high.
TPoint RadioGroupSize(TFont* Font, TStrings* Items, bool Horizontal, int MinItemHeight) {
    TGridMeasure M(Font);
    const int LineH = M.Height(QStringLiteral("gh"));
    TPoint Size{0, 0};
    if (Horizontal) {
        for (int i = 0; i < Items->Count(); ++i) Size.X += M.Width(Items->Strings(i)) + 12;
        Size.Y = LineH;
    } else {
        Size.X = 12;
        for (int i = 0; i < Items->Count(); ++i) Size.X = std::max(Size.X, M.Width(Items->Strings(i)) + 12);
        Size.Y = std::max(MinItemHeight, LineH) * Items->Count();
    }
    return Size;
}
} // namespace

// ---- shared check-box placement ---------------------------------------------------------------------
TRect TExtStringGrid::PlaceCheckBox(TRect G, TCellGraphic* CG, TVAlignment VA, TAlignment HA, int TextWidth, int w,
                                    int h) {
    const TCellType Kind = CG->CellType();
    // A cell's own vertical alignment, when it differs from the grid's, places the box too.
    TCellVAlign CVA = CG->CellVAlign();
    if (VA != VAlignment()) CVA = VA == vtaTop ? vaTop : VA == vtaCenter ? vaCenter : vaBottom;
    int T = 0, B = 0;
    PlaceGraphicVertically(G, CVA, h, T, B);
    const int tw = TextWidth > 0 ? TextWidth + 2 : 0;
    // Data kinds draw no text, so nothing stands beside their box.
    const bool DataKind = Kind == ctDataCheckBox || Kind == ctVirtCheckBox || Kind == ctRowCheckBox;
    int L;
    if (HA == taRightJustify) {
        L = (DataKind ? G.Right : G.Right - tw) - w - 1;
    } else if (HA == taCenter) {
        if (!DataKind && tw >= 1)
            L = G.Left + std::max(0, G.Right - tw - G.Left) / 2 - w;
        else
            L = G.Left + std::max(0, G.Right - w - G.Left) / 2;
    } else {
        L = G.Left + 1;
    }
    L = std::max(L, G.Left + 1);
    if (Kind == ctRadioButton) {
        L += XYOffset().x();
        const int RS = ControlLook()->RadioSize();
        return Rect(L, T, L + RS, T + RS);
    }
    return Rect(L, T, L + w, B);
}

TRect TExtStringGrid::CheckBoxRect(int RealCol, int DisplRow) {
    if (RealCol < 0 || RealCol >= TotalColCount() || DisplRow < 0 || DisplRow >= RowCount()) return TRect{};
    TCellGraphic* CG = CellGraphicRecord(RealCol, DisplRow);
    if (!CG || !IsCheckKind(CG->CellType()) || IsHiddenColumn(RealCol)) return TRect{};
    const int DisplCol = DisplColIndex(RealCol);
    // The painter's graphic area: the cell less its margins, one pixel lower in a fixed cell.
    TRect G = CellRect(DisplCol, DisplRow);
    if (CellIsFixed(DisplCol, DisplRow)) G.Top += 1;
    InflateRect(G, -(XYOffset().x() - 1), -(XYOffset().y() - 1));
    TAlignment HA = taLeftJustify;
    TVAlignment VA = VAlignment();
    CellAlignment(RealCol, DisplRow, HA, VA);
    const TCellGraphicExtent E = CellGraphicExtent(RealCol, DisplRow);
    const int TextWidth =
        E.DrawText && !GetCellEx(RealCol, DisplRow).isEmpty() ? MeasureCellTextWidth(DisplCol, DisplRow) + 2 : 0;
    return PlaceCheckBox(G, CG, VA, HA, TextWidth, E.Width, E.Height);
}

bool TExtStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos) {
    if (ACol < 0 || ACol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return false;
    TCellGraphic* CG = CellGraphicRecord(ACol, ARow);
    if (!CG || !IsCheckKind(CG->CellType())) return false;
    if (!MouseActions()->PreciseCheckBoxCheck()) return true;
    return InRect(CheckBoxRect(ACol, ARow), XPos, YPos);
}

// ---- buttons and glyphs ---------------------------------------------------------------------------------
TRect TExtStringGrid::GetCellButtonRect(int ACol, int ARow) {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return TRect{};
    TCellGraphic* CG = CellGraphicRecord(RealColIndex(ACol), ARow);
    if (!CG) return TRect{};
    const TRect R = CellRect(ACol, ARow);
    // Where the painter last placed the button inside its cell (0, 0 before the first paint).
    const TPoint O = CG->ButtonOffset();
    TRect B{R.Left + O.X, R.Top + O.Y, R.Left + O.X + CG->ButtonWidth(), R.Top + O.Y + CG->ButtonHeight()};
    if (CG->CellVAlign() == vaFull) {
        B.Top = R.Top;
        B.Bottom = R.Bottom;
    }
    if (CG->CellHAlign() == haFull) {
        B.Left = R.Left;
        B.Right = R.Right;
    }
    return B;
}

TRect TExtStringGrid::GetExpandButtonRect(int ACol, int ARow) {
    if (ACol < 0 || ACol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return TRect{};
    int BaseCol = ACol, BaseRow = ARow;
    ResolveBaseCell(ACol, ARow, BaseCol, BaseRow);
    TCellGraphic* CG = CellGraphicRecord(BaseCol, BaseRow);
    if (!CG || CG->CellType() != ctExpand || IsHiddenColumn(ACol)) return TRect{};
    const TRect R = CellRect(DisplColIndex(ACol), ARow);
    return Rect(R.Right - 13, R.Top + 2, R.Right - 2, R.Top + 13);
}

bool TExtStringGrid::IsInNodeGlyph(int ARow, int X) {
    if (!MouseActions()->PreciseNodeClick()) return true;
    const int L = NodeLevel(ARow);
    const int I = CellNode()->NodeIndent();
    int b = 4, c = 4;
    switch (CellNode()->NodeType()) {
        case cnFlat: b = 4, c = 4; break;
        case cn3D: b = 6, c = 0; break;
        case cnGlyph: {
            TBitmap* Glyph = CellNode()->ExpandGlyph();
            const bool Empty = !Glyph || Glyph->Empty();
            b = Empty ? 0 : Glyph->Width() / 2;
            c = Empty ? 0 : 2;
            break;
        }
        case cnLeaf: b = 8, c = 2; break;
        case cnXP: b = 4, c = 4; break;
    }
    if (layoutDirection() != Qt::RightToLeft) return c + (L - 1) * I < X && X < b + L * I;
    if (RowCount() - FixedRows() > VisibleRowCount())
        X += QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return Width() - 2 - L * I - b <= X && X < Width() - (L - 1) * I;
}

bool TExtStringGrid::IsSortIndicatorCell(int ACol, int ARow) {
    // The indicator of a merged header sits in the area's bottom row.
    if (ACol >= 0 && ARow >= 0 && IsMergedCell(ACol, ARow)) ARow += std::max(0, CellSpan(ACol, ARow).Y);
    return ARow == SortSettings()->Row() && SortSettings()->Show() && RowCount() > FixedRows() + 1;
}

// ---- images ---------------------------------------------------------------------------------------------
TIntList* TExtStringGrid::GetCellImages(int ACol, int ARow) {
    if (ACol < 0 || ACol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return nullptr;
    TCellGraphic* CG = CellGraphicRecord(ACol, ARow);
    return CG && CG->CellType() == ctImages ? CG->CellBitmapAs<TIntList>() : nullptr;
}

bool TExtStringGrid::IsDataGraphicCell(int ACol, int ARow) {
    if (ACol < 0 || ACol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return false;
    int BaseCol = ACol, BaseRow = ARow;
    ResolveBaseCell(ACol, ARow, BaseCol, BaseRow);
    TCellGraphic* CG = CellGraphicRecord(BaseCol, BaseRow);
    if (!CG) return false;
    const TCellType K = CG->CellType();
    return K == ctDataCheckBox || K == ctDataImage || K == ctVirtCheckBox || K == ctRowCheckBox;
}

// ---- sizes --------------------------------------------------------------------------------------------
TPoint TExtStringGrid::GetCellGraphicSizeEx(int ACol, int ARow, int ExtraHeight) {
    TPoint Size{0, 0};
    if (ACol < 0 || ACol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return Size;
    TCellGraphic* CG = CellGraphicRecord(ACol, ARow);
    if (!CG) return Size;
    const bool HasText = !GetCellEx(ACol, ARow).isEmpty();
    const TCellHAlign hal = CG->CellHAlign();
    const TCellVAlign val = CG->CellVAlign();
    const bool Shown = !IsHiddenColumn(ACol);
    const TRect R = Shown ? CellRect(DisplColIndex(ACol), ARow) : TRect{};
    const int CellW = Shown ? ColWidths(DisplColIndex(ACol)) : GetAllColWidths(ACol);
    const int CellH = RowHeights(ARow);
    auto* Images = dynamic_cast<TCustomImageList*>(GetCellImageList(ACol, ARow));
    bool KeepWidth = false; // a rating, or a button sized to its caption, keeps its width at haFull
    switch (CG->CellType()) {
        case ctIcon:
            if (auto* I = CG->CellIconAs<TIcon>()) {
                Size.X = BesideText(hal) || !HasText ? I->Width() : 0;
                Size.Y = I->Height();
            }
            break;
        case ctBitmap:
            if (auto* B = CG->CellBitmapAs<TBitmap>()) {
                Size.X = BesideText(hal) || !HasText ? B->Width() : 0;
                Size.Y = OverText(val) || !HasText ? B->Height() : 0;
            }
            break;
        case ctImageList:
        case ctDataImage:
            if (Images) {
                Size.X = BesideText(hal) || !HasText ? Images->Width() : 0;
                Size.Y = OverText(val) || !HasText ? Images->Height() : 0;
            }
            break;
        case ctPicture:
        case ctFilePicture: {
            const int HM = XYOffsetTopLeftOnly() ? XYOffset().x() : 2 * XYOffset().x();
            const int VM = XYOffsetTopLeftOnly() ? XYOffset().y() : 2 * XYOffset().y();
            Size = CG->GetPictureSize(CellW - HM - 1, CellH - VM - 1 - ExtraHeight, HasText);
            break;
        }
        case ctButton:
        case ctBitButton: {
            Size = Point(CG->ButtonWidth(), CG->ButtonHeight());
            TGridMeasure M(Font());
            if (HasText) {
                if (hal == haCenter) Size.X = 0;
                if (hal == haFull) Size.X = M.Width(CG->CellText()) + 4;
                if (!OverText(val)) Size.Y = 0;
                if (OverText(val)) Size.X = 0;
            } else if (hal == haFull) {
                Size.X = M.Width(CG->CellText()) + 4;
                KeepWidth = !CG->CellText().isEmpty();
            }
            break;
        }
        case ctInterface: {
            auto* I = dynamic_cast<ICellGraphic*>(CG->CellBitmap());
            const int W = I ? I->GetWidth() : 0;
            const int H = I ? I->GetHeight() : 0;
            Size = W == 0 || H == 0 ? Point(R.Width(), R.Height()) : Point(W, H);
            break;
        }
        case ctProgressPie: Size = Point(20, 20); break;
        case ctRadioButton: Size = Point(ControlLook()->RadioSize(), ControlLook()->RadioSize()); break;
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox: Size = Point(ControlLook()->CheckSize(), ControlLook()->CheckSize()); break;
        case ctRadio:
            if (auto* Items = CG->CellBitmapAs<TStrings>()) Size = RadioGroupSize(Font(), Items, CG->CellBoolean(), 16);
            break;
        case ctRating:
            Size = Point(CG->CellAngle() * 18, 16);
            KeepWidth = true;
            break;
        case ctImages: ImagesSize(CG, Images, Size); break;
        default: break;
    }
    if (val == vaFull) Size.Y = R.Height();
    if (hal == haFull && !KeepWidth) Size.X = R.Width();
    return Size;
}

TPoint TExtStringGrid::GetCellGraphicPrintSize(int ACol, int ARow, int AvailWidth, int AvailHeight, double Scale) {
    TPoint Size{0, 0};
    if (ACol < 0 || ACol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return Size;
    TCellGraphic* CG = CellGraphicRecord(ACol, ARow);
    if (!CG) return Size;
    const bool HasText = !GetCellEx(ACol, ARow).isEmpty();
    const TCellHAlign hal = CG->CellHAlign();
    const bool Shown = !IsHiddenColumn(ACol);
    const TRect R = Shown ? CellRect(DisplColIndex(ACol), ARow) : TRect{};
    auto* Images = dynamic_cast<TCustomImageList*>(GetCellImageList(ACol, ARow));
    switch (CG->CellType()) {
        case ctBitmap:
            if (auto* B = CG->CellBitmapAs<TBitmap>()) Size = Point(B->Width(), B->Height());
            break;
        case ctIcon:
            if (auto* I = CG->CellIconAs<TIcon>()) Size = Point(I->Width(), I->Height());
            break;
        case ctImageList:
            if (Images) Size = Point(BesideText(hal) || !HasText ? Images->Width() : 0, Images->Height());
            break;
        case ctDataImage:
            if (Images) Size = Point(Images->Width(), Images->Height());
            break;
        case ctPicture:
        case ctFilePicture: {
            const TPoint P = CG->GetPictureSize(AvailWidth, AvailHeight, HasText);
            if (Scale > 0) Size = Point(int(std::nearbyint(P.X / Scale)), int(std::nearbyint(P.Y / Scale)));
            break;
        }
        case ctProgress:
        case ctXPProgress:
            Size = Point(Shown ? ColWidths(DisplColIndex(ACol)) : GetAllColWidths(ACol), RowHeights(ARow));
            break;
        case ctNode:
        case ctProgressPie: Size = Point(20, 20); break;
        case ctRadio:
            if (auto* Items = CG->CellBitmapAs<TStrings>()) Size = RadioGroupSize(Font(), Items, CG->CellBoolean(), 0);
            break;
        case ctShape: {
            const int S = RowHeights(ARow) - 2 * XYOffset().y();
            Size = Point(S, S);
            break;
        }
        case ctInterface:
            if (auto* I = dynamic_cast<ICellGraphic*>(CG->CellBitmap())) {
                Size = Point(I->GetWidth(), I->GetHeight());
                if (Size.X == 0) Size.X = R.Width();
                if (Size.Y == 0) Size.Y = R.Height();
            }
            break;
        case ctRadioButton: Size = Point(ControlLook()->RadioSize(), ControlLook()->RadioSize()); break;
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox: Size = Point(ControlLook()->CheckSize(), ControlLook()->CheckSize()); break;
        case ctButton:
        case ctBitButton: Size = Point(CG->ButtonWidth(), CG->ButtonHeight()); break;
        case ctImages: ImagesSize(CG, Images, Size); break;
        default: break;
    }
    return Size;
}
