#pragma once
// A list of equally sized images, drawn by index (button glyphs, cell images, panel chevrons).
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QImage>

#include <vector>

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(TComponent* AOwner, int Width, int Height);

    int Width() const { return FWidth; }
    void SetWidth(int Value); // a new size empties the list
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Count() const { return int(FImages.size()); }

    // Adds Image cut into Width-wide cells from the left (a narrower image is one cell). Mask
    // pixels that are white make the matching image pixels transparent; no mask: all opaque.
    // Returns the index of the first added image, -1 when nothing was added.
    int Add(TBitmap* Image, TBitmap* Mask);
    // As Add, with MaskColor's pixels transparent (clDefault: the bottom-left pixel's colour).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    void Delete(int Index);
    void Clear();

    // Draws image Index with its top-left at (X, Y); a disabled image is drawn greyed out.
    // An index outside the list draws nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    // Copies image Index into Image (transparent pixels become clBtnFace, as on a button);
    // false when Index is outside the list.
    bool GetBitmap(int Index, TBitmap* Image);
    QImage ImageAt(int Index) const; // ARGB, a null image outside the list

    TNotifyEvent OnChange;

private:
    void Changed();
    int AddCells(const QImage& Source);
    int FWidth = 16;
    int FHeight = 16;
    std::vector<QImage> FImages; // each FWidth x FHeight, ARGB32 premultiplied
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
