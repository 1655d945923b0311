// The file picture's size and drawing for the cell graphic. Kept in a unit of its own: the
// control's settings header and the grid controls header each declare a synchronised-grid class
// of the same name.
#include "grid/base/ExtGridCtrls.h"

bool FilePictureSize(TObject* Picture, int& Width, int& Height) {
    auto* P = dynamic_cast<TFilePicture*>(Picture);
    if (!P) return false;
    Width = P->Width();
    Height = P->Height();
    return true;
}

void DrawFilePicture(TObject* Picture, TCanvas* Canvas, const TRect& R) {
    if (auto* P = dynamic_cast<TFilePicture*>(Picture)) P->DrawPicture(Canvas, R);
}

TObject* FilePictureObject(TFilePicture* Picture) { return Picture; }
