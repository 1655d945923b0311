// The metro scroll indicators and the header drag button.
#include "grid/control/ScrollIndicator.h"

#include "grid/base/EsgHTMLE.h"
#include "grid/control/ExtGrid.h"

#include <algorithm>
#include <cmath>

namespace {
// Nearest integer, halves to the even neighbour.
int RoundEven(double V) { return int(std::nearbyint(V)); }
} // namespace

// ---- TScrollControl --------------------------------------------------------------------------------
TScrollControl::TScrollControl(TComponent* AOwner) : TCustomControl(AOwner) {
    // No background of its own: the grid's cells show through around the thumb.
    setAutoFillBackground(false);
}

void TScrollControl::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Invalidate();
}

TExtStringGrid* TScrollControl::Grid() const { return dynamic_cast<TExtStringGrid*>(Parent()); }

bool TScrollControl::Axis(TAxis& A) const {
    TExtStringGrid* G = Grid();
    if (!G) return false;
    if (FDirection == sdVertical) {
        A.Length = Height();
        A.Count = G->RowCount();
        A.Fixed = G->FixedRows();
        A.Position = G->TopRow();
        A.Visible = G->VisibleRowCount();
        for (int r = 0; r < A.Fixed; ++r) A.FixedExtent += G->RowHeights(r);
        for (int r = std::max(A.Count - G->FixedFooters(), 0); r < A.Count; ++r) A.FooterExtent += G->RowHeights(r);
        A.FirstExtent = A.Count > 0 ? G->RowHeights(0) : 0;
    } else {
        A.Length = Width();
        A.Count = G->ColCount();
        A.Fixed = G->FixedCols();
        A.Position = G->LeftCol();
        A.Visible = G->VisibleColCount();
        for (int c = 0; c < A.Fixed; ++c) A.FixedExtent += G->ColWidths(c);
        for (int c = std::max(A.Count - G->FixedRightCols(), 0); c < A.Count; ++c) A.FooterExtent += G->ColWidths(c);
        A.FirstExtent = A.Count > 0 ? G->ColWidths(0) : 0;
    }
    return true;
}

bool TScrollControl::ThumbExtent(int& Start, int& Size) const {
    TAxis A;
    if (!Axis(A)) return false;
    const int Scrollable = A.Count - A.Fixed;
    // Nothing to scroll (no normal rows, or all of them visible) or no room for a track.
    if (Scrollable <= 0 || A.Visible >= Scrollable) return false;
    const int Track = A.Length - A.FixedExtent - A.FooterExtent;
    if (Track <= 0 || A.Length <= 0) return false;
    const double p = double(A.Position - A.Fixed) / double(Scrollable);
    const double s = double(A.Visible) / double(A.Count);
    Start = A.FixedExtent + RoundEven(Track * p);
    Size = std::max(RoundEven(Track * s), 20);
    // A control shorter than the smallest thumb has no room to show where the view stands.
    if (Size > A.Length) return false;
    if (Start + Size > A.Length) Start = A.Length - Size;
    return true;
}

void TScrollControl::Paint() {
    int Start = 0, Size = 0;
    if (!ThumbExtent(Start, Size)) return;
    TCanvas* C = Canvas();
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(FColor);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FColor);
    if (FDirection == sdVertical)
        C->Rectangle(0, Start, FScrollWidth, Start + Size);
    else
        C->Rectangle(Start, 0, Start + Size, FScrollWidth);
}

void TScrollControl::SetPosition(int Value) {
    TExtStringGrid* G = Grid();
    if (!G) return;
    if (FDirection == sdVertical)
        G->SetTopRow(Value);
    else if (Value >= G->FixedCols() && Value < G->ColCount())
        G->SetLeftCol(Value);
    Invalidate();
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    TAxis A;
    int Start = 0, Size = 0;
    if (!Axis(A) || !ThumbExtent(Start, Size)) return;
    const int m = FDirection == sdVertical ? Y : X;
    if (m < Start)
        SetPosition(std::max(A.Fixed, A.Position - A.Visible));
    else if (m > Start + Size)
        SetPosition(std::min(A.Position + A.Visible, A.Count - A.Visible));
    else {
        FDownOnScroller = true;
        FDownPos = m;
        FDownRow = A.Position;
    }
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    TAxis A;
    if (!FDownOnScroller || !Axis(A)) return;
    const int Range = A.Length - A.FirstExtent;
    if (Range <= 0) return;
    const int m = FDirection == sdVertical ? Y : X;
    const int Moved = RoundEven(double(m - FDownPos) / double(Range) * A.Count) + FDownRow;
    const int Target = std::max(A.Fixed, std::min(Moved, A.Count - A.Visible));
    if (Target != A.Position) SetPosition(Target);
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDownOnScroller = false;
}

// ---- THeaderDragButton -----------------------------------------------------------------------------
THeaderDragButton::THeaderDragButton(TExtStringGrid* AOwner) : TCustomControl(AOwner), FGrid(AOwner) {
    TControl::SetColor(clBtnFace);
}

void THeaderDragButton::SetCaption(const QString& Value) {
    FCaption = Value;
    Invalidate();
}

void THeaderDragButton::Paint() {
    TCanvas* C = Canvas();
    const TRect Client = ClientRect();
    // A button too small for its frame, or a grid without a header cell, shows nothing.
    if (Client.Width() <= 2 || Client.Height() <= 2 || !FGrid || FGrid->RowCount() < 1 || FGrid->ColCount() < 1) return;
    // The window border of a floating button, then the header cell's look inside it.
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(clWindowFrame);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(Client);
    TRect R = Client;
    InflateRect(R, -1, -1);
    FGrid->PaintCellExt(C, 0, 0, R, TGridDrawState{gdFixed});
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(FGrid->FixedFont());
    if (!FCaption.contains(QStringLiteral("</"))) {
        C->DrawText(FCaption, R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        return;
    }
    QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
    int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
    TRect HoverRect, ControlRect;
    DrawHTMLText(C, FCaption, R, dynamic_cast<TCustomImageList*>(FGrid->GridImages()), 0, 0, -1, -1, 1, false, false,
                 false, false, false, false, true, false, 0.0, FGrid->URLColor(), clNone, clNone, TColor(0x808080),
                 AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks, MouseLink, HoverRect,
                 ControlRect, CID, CV, CT, nullptr, nullptr, this, bdLeftToRight);
}
