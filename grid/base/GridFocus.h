#pragma once
// The soft glowing frame a grid can draw around its focused cell: the overlay window that shows
// it, the 32-bit alpha image it shows, the rounded-rectangle mask it is made from and the blur
// that softens the mask.
//
// The overlay is a child of the grid's window (so it follows the grid wherever the grid goes);
// it takes no input, and shows its alpha image at the opacity the grid gives it.
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

#include <QRegion>

#include <array>
#include <cstdint>
#include <vector>

class TGridAlphaMask : public TBitmap {
public:
    TGridAlphaMask();
    // From another mask: the opacity and the pixels the two images share (this image keeps its
    // size); from any other graphic: the plain bitmap copy. The result is 32-bit either way.
    void Assign(TPersistent* Source) override;
    // Colour from Bitmap (24-bit), alpha from the red byte of Mask, premultiplied; this image
    // takes Bitmap's size. A mask pixel outside Mask counts as alpha 0. Color is not used.
    void MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor Color);
    uint8_t FOpacity = 255;
};

class TGridFocusWindow : public TCustomControl {
public:
    explicit TGridFocusWindow(TComponent* AOwner);
    // The picture and the constant opacity the window shows (a copy is kept).
    void SetAlphaImage(const TGridAlphaMask* Image, int Opacity);
    bool HasAlphaImage() const { return !FImage.isNull(); }
    // The part of the window that shows (window coordinates); an empty region shows all.
    void SetWindowRegion(const QRegion& Region);

protected:
    void Paint() override;

private:
    QImage FImage;
    int FOpacity = 255;
};

// Gaussian weights for offsets -10 .. +10 and the half width K in use (1 .. 10).
struct TGaussianKernel {
    std::array<float, 21> Weights{};
    int K = 10;
};

TGaussianKernel MakeGaussianKernel(double Radius);
int ClampInt(int Min, int Max, int Value);
uint8_t TrimToByte(int Min, int Max, double Value);
// Blurs Line (pixels of 3 bytes, B G R) in place with the kernel; ends repeat the end pixel.
void BlurLine(const TGaussianKernel& Kernel, std::vector<uint8_t>& Line);
// Blurs a 24-bit bitmap with a Gaussian of Radius; raises Exception for any other bitmap. The
// blur is exact near the edges and copies row and column 15 into the middle (masks are uniform
// there).
void BlurBitmap(TBitmap* Bitmap, double Radius);
// A white rounded rectangle (filled with PenWidth < 1, else a ring of PenWidth) on black, in a
// 24-bit bitmap of Width x Height, blurred with Radius when Radius > 0.
void BuildRoundRectMask(TBitmap* Bitmap, int Width, int Height, int PenWidth, int Corner, double Radius);
