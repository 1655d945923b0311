// The soft glowing frame around the cell being edited: a child overlay of the grid showing a
// blurred light-blue ring that leaves the cell itself uncovered.
#include "grid/control/ExtGrid.h"

#include <QRegion>

void ApplyLayeredImage(TGridFocusWindow* Window, const TGridAlphaMask& Image) {
    if (!Window || Image.Height() == 0) return;
    Window->SetBounds(Window->Left(), Window->Top(), Image.Width(), Image.Height());
    Window->SetAlphaImage(&Image, Image.FOpacity);
}

void TExtStringGrid::ShowFocusFrame(TRect CellR) {
    if (!FFocusFrame) {
        FFocusFrame = new TGridFocusWindow(nullptr);
        FFocusFrame->SetParent(this);
    }
    FFocusFrame->Hide();
    const int W = CellR.Width() + 9, H = CellR.Height() + 9;
    TBitmap Mask;
    BuildRoundRectMask(&Mask, W, H, 4, 5, 3);
    TBitmap Colour;
    Colour.SetPixelFormat(pf24bit);
    Colour.SetSize(W, H);
    Colour.Canvas()->Brush()->SetColor(TColor(0xFDD397));
    Colour.Canvas()->FillRect(Rect(0, 0, W, H));
    TGridAlphaMask Image;
    Image.MergeMask(&Mask, &Colour, clNone);
    Image.FOpacity = 230;
    ApplyLayeredImage(FFocusFrame, Image);
    FFocusFrame->SetWindowRegion(QRegion(0, 0, W, H).subtracted(QRegion(4, 4, CellR.Width(), CellR.Height())));
    FFocusFrame->SetBounds(CellR.Left - 4, CellR.Top - 4, W, H);
    FFocusFrame->Show();
    SetFocusWindowShown(true);
}

void TExtStringGrid::MoveFocusFrame() {
    if (!FFocusFrame || !FFocusFrame->Visible()) return;
    const TRect R = CellRect(Col(), Row());
    FFocusFrame->SetBounds(R.Left - 4, R.Top - 4, R.Width() + 9, R.Height() + 9);
}

void TExtStringGrid::HideFocusFrame() {
    SetFocusWindowShown(false);
    if (FFocusFrame) FFocusFrame->Hide();
}
