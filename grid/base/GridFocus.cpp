#include "grid/base/GridFocus.h"

#include "platform/rtl/SysUtils.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

// ---- TGridAlphaMask -------------------------------------------------------------------------------
TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(pf32bit); }

void TGridAlphaMask::Assign(TPersistent* Source) {
    if (auto* M = dynamic_cast<TGridAlphaMask*>(Source)) {
        if (M == this) return;
        FOpacity = M->FOpacity;
        SetPixelFormat(pf32bit);
        const QImage Src = M->Image().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QImage& Dst = Image();
        // Only what both images hold: a source of another size neither overruns nor is overrun.
        const int Rows = std::min(Dst.height(), Src.height());
        const int Bytes = std::min(Dst.width(), Src.width()) * 4;
        for (int y = 0; y < Rows; ++y) std::memcpy(Dst.scanLine(y), Src.constScanLine(y), size_t(Bytes));
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor) {
    if (!Bitmap || !Mask || Bitmap->PixelFormat() != pf24bit) return;
    const int W = Bitmap->Width(), H = Bitmap->Height();
    SetPixelFormat(pf32bit);
    SetSize(W, H);
    if (W == 0 || H == 0) return;
    const QImage M = Mask->Image().convertToFormat(QImage::Format_BGR888);
    const QImage& B = Bitmap->Image();
    QImage& D = Image();
    for (int y = 0; y < H; ++y) {
        const uint8_t* BL = B.constScanLine(y);
        const uint8_t* ML = y < M.height() ? M.constScanLine(y) : nullptr;
        uint8_t* DL = D.scanLine(y);
        for (int x = 0; x < W; ++x) {
            const int A = (ML && x < M.width()) ? ML[x * 3 + 2] : 0;
            for (int c = 0; c < 3; ++c) DL[x * 4 + c] = uint8_t(Round(BL[x * 3 + c] * A / 255.0));
            DL[x * 4 + 3] = uint8_t(A);
        }
    }
}

// ---- TGridFocusWindow -----------------------------------------------------------------------------
TGridFocusWindow::TGridFocusWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clRed);
    SetBounds(0, 0, 0, 0);
    SetVisible(false);
    SetEnabled(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void TGridFocusWindow::SetAlphaImage(const TGridAlphaMask* Image, int Opacity) {
    FImage = Image ? Image->Image().convertToFormat(QImage::Format_ARGB32_Premultiplied) : QImage();
    FOpacity = std::clamp(Opacity, 0, 255);
    // The glow blends over the grid: no background of its own under the picture.
    setAutoFillBackground(FImage.isNull());
    update();
}

void TGridFocusWindow::SetWindowRegion(const QRegion& Region) {
    if (Region.isEmpty())
        clearMask();
    else
        setMask(Region);
}

void TGridFocusWindow::Paint() {
    if (FImage.isNull()) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
        return;
    }
    if (QPainter* P = Canvas()->Painter()) {
        P->save();
        P->setOpacity(FOpacity / 255.0);
        P->drawImage(0, 0, FImage);
        P->restore();
    }
}

// ---- blur -----------------------------------------------------------------------------------------
int ClampInt(int Min, int Max, int Value) { return Value < Min ? Min : (Value > Max ? Max : Value); }

uint8_t TrimToByte(int Min, int Max, double Value) {
    if (Value < Min) return uint8_t(Min);
    if (Value >= Max) return uint8_t(Max);
    return uint8_t(Round(Value));
}

TGaussianKernel MakeGaussianKernel(double Radius) {
    TGaussianKernel Kr;
    double Sum = 0;
    for (int i = 0; i <= 20; ++i) {
        const double D = (i - 10) / Radius;
        Kr.Weights[size_t(i)] = float(std::exp(-D * D / 2));
        Sum += Kr.Weights[size_t(i)];
    }
    for (auto& W : Kr.Weights) W = float(W / Sum);
    int K = 10;
    double Tail = 0;
    while (Tail < 1.0 / 510 && K > 1) {
        Tail += 2 * Kr.Weights[size_t(10 + K)];
        --K;
    }
    Kr.K = K;
    Sum = 0;
    for (int i = 10 - K; i <= 10 + K; ++i) Sum += Kr.Weights[size_t(i)];
    for (int i = 0; i <= 20; ++i)
        Kr.Weights[size_t(i)] = (i >= 10 - K && i <= 10 + K) ? float(Kr.Weights[size_t(i)] / Sum) : 0.f;
    return Kr;
}

void BlurLine(const TGaussianKernel& Kr, std::vector<uint8_t>& Line) {
    const int N = int(Line.size() / 3) - 1;
    if (N < 0) return;
    std::vector<uint8_t> Out(Line.size());
    for (int a = 0; a <= N; ++a) {
        for (int c = 0; c < 3; ++c) {
            double S = 0;
            for (int i = -Kr.K; i <= Kr.K; ++i)
                S += Kr.Weights[size_t(10 + i)] * Line[size_t(ClampInt(0, N, a - i) * 3 + c)];
            Out[size_t(a * 3 + c)] = TrimToByte(0, 255, S);
        }
    }
    Line.swap(Out);
}

void BlurBitmap(TBitmap* Bitmap, double Radius) {
    if (!Bitmap || Bitmap->PixelFormat() != pf24bit)
        throw Exception(QStringLiteral("Blur only works for 24-bit bitmaps"));
    if (!(Radius > 0)) return; // no spread: nothing to soften
    const TGaussianKernel Kr = MakeGaussianKernel(Radius);
    QImage& Img = Bitmap->Image();
    const int W = Img.width(), H = Img.height();
    if (W == 0 || H == 0) return;
    std::vector<uint8_t> Line;
    // rows
    for (int y = 0; y < H; ++y) {
        uint8_t* P = Img.scanLine(y);
        if (y <= 20 || y >= H - 20) {
            Line.assign(P, P + W * 3);
            BlurLine(Kr, Line);
            std::memcpy(P, Line.data(), Line.size());
        } else {
            std::memcpy(P, Img.constScanLine(15), size_t(W) * 3);
        }
    }
    // columns
    for (int x = 0; x < W; ++x) {
        if (x <= 20 || x >= W - 20) {
            Line.resize(size_t(H) * 3);
            for (int y = 0; y < H; ++y) std::memcpy(&Line[size_t(y) * 3], Img.constScanLine(y) + x * 3, 3);
            BlurLine(Kr, Line);
            for (int y = 0; y < H; ++y) std::memcpy(Img.scanLine(y) + x * 3, &Line[size_t(y) * 3], 3);
        } else {
            for (int y = 0; y < H; ++y) {
                uint8_t* P = Img.scanLine(y);
                std::memcpy(P + x * 3, P + 15 * 3, 3);
            }
        }
    }
}

void BuildRoundRectMask(TBitmap* Bitmap, int Width, int Height, int PenWidth, int Corner, double Radius) {
    if (!Bitmap) return;
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    if (Bitmap->Empty()) return;
    TCanvas* C = Bitmap->Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBlack);
    C->FillRect(Rect(0, 0, Width, Height));
    const int c = PenWidth / 2;
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(clWhite);
    if (PenWidth < 1) {
        C->Pen()->SetWidth(1);
        C->Brush()->SetColor(clWhite);
    } else {
        C->Pen()->SetWidth(PenWidth);
        C->Brush()->SetColor(clBlack);
    }
    C->RoundRect(c + 2, c + 2, Width - c - 2, Height - c - 2, Corner, Corner);
    C->Pen()->SetWidth(1);
    if (Radius > 0) BlurBitmap(Bitmap, Radius);
}
