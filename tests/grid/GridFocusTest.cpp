// The focus glow: kernel, blur, mask builder, alpha image and the overlay window.
#include "grid/base/GridFocus.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TKernelCase {
    const char* Name;
    double Radius;
    int K;
};

class GaussianKernel : public ::testing::TestWithParam<TKernelCase> {};

TEST_P(GaussianKernel, IsTrimmedToTheTapsThatMatter) {
    const TGaussianKernel Kr = MakeGaussianKernel(GetParam().Radius);
    EXPECT_EQ(Kr.K, GetParam().K);
    double Sum = 0;
    for (int i = 10 - Kr.K; i <= 10 + Kr.K; ++i) Sum += Kr.Weights[size_t(i)];
    EXPECT_NEAR(Sum, 1.0, 1e-5);
    EXPECT_FLOAT_EQ(Kr.Weights[size_t(10 - Kr.K)], Kr.Weights[size_t(10 + Kr.K)]);
}

INSTANTIATE_TEST_SUITE_P(Table, GaussianKernel,
                         ::testing::Values(TKernelCase{"Radius1", 1, 2}, TKernelCase{"Radius3", 3, 8},
                                           TKernelCase{"Radius5", 5, 9}, TKernelCase{"Radius50", 50, 9}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Blur, TrimAndClampHelpers) {
    EXPECT_EQ(TrimToByte(0, 255, -3), 0);
    EXPECT_EQ(TrimToByte(0, 255, 255.0), 255);
    EXPECT_EQ(TrimToByte(0, 255, 300), 255);
    EXPECT_EQ(TrimToByte(0, 255, 12.6), 13);
    EXPECT_EQ(ClampInt(0, 9, -1), 0);
    EXPECT_EQ(ClampInt(0, 9, 12), 9);
}

TEST(Blur, UniformLineStaysAndAnEdgeSpreads) {
    const TGaussianKernel Kr = MakeGaussianKernel(1);
    std::vector<uint8_t> White(30, 255);
    BlurLine(Kr, White);
    for (uint8_t B : White) ASSERT_EQ(B, 255) << "a sum of exactly 255 stays 255";
    std::vector<uint8_t> Step(30, 0);
    for (int i = 15; i < 30; ++i) Step[size_t(i)] = 255;
    BlurLine(Kr, Step);
    EXPECT_EQ(Step[0], 0);
    EXPECT_GT(Step[4 * 3], 0) << "pixel 4 takes from pixel 5";
    EXPECT_LT(Step[5 * 3], 255);
    EXPECT_EQ(Step[29], 255);
}

TEST(Blur, OnlyTwentyFourBitBitmaps) {
    TBitmap B(10, 10);
    B.SetPixelFormat(pf32bit);
    try {
        BlurBitmap(&B, 3);
        FAIL() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Blur only works for 24-bit bitmaps");
    }
}

TEST(RoundRectMask, FilledOrRing) {
    TBitmap Filled;
    BuildRoundRectMask(&Filled, 40, 30, 0, 5, 0);
    EXPECT_EQ(Filled.PixelFormat(), pf24bit);
    EXPECT_EQ(Filled.Canvas()->Pixels(20, 15), clWhite);
    EXPECT_EQ(Filled.Canvas()->Pixels(0, 0), clBlack);
    TBitmap Ring;
    BuildRoundRectMask(&Ring, 40, 30, 4, 5, 0);
    EXPECT_EQ(Ring.Canvas()->Pixels(20, 15), clBlack) << "black centre";
    EXPECT_EQ(Ring.Canvas()->Pixels(20, 5), clWhite) << "inside the 4-pixel ring (rows 4..7)";
    EXPECT_EQ(Ring.Canvas()->Pixels(20, 9), clBlack);
    TBitmap Soft;
    BuildRoundRectMask(&Soft, 60, 60, 4, 5, 3);
    const int Edge = GetRValue(Soft.Canvas()->Pixels(30, 2));
    EXPECT_GT(Edge, 0) << "the blur spreads the ring outwards";
    EXPECT_LT(Edge, 255);
    EXPECT_LT(GetRValue(Soft.Canvas()->Pixels(30, 30)), 8) << "the middle stays dark";
    EXPECT_EQ(Soft.Canvas()->Pixels(30, 5), Soft.Canvas()->Pixels(15, 5)) << "the middle of a band repeats column 15";
}

TEST(AlphaMask, MergePremultipliesWithTheMaskRedByte) {
    TBitmap Mask(3, 2), Colour(3, 2);
    Mask.SetPixelFormat(pf24bit);
    Colour.SetPixelFormat(pf24bit);
    Mask.Canvas()->Brush()->SetColor(RGB(128, 0, 0));
    Mask.Canvas()->FillRect(Rect(0, 0, 3, 2));
    Colour.Canvas()->Brush()->SetColor(RGB(200, 100, 0));
    Colour.Canvas()->FillRect(Rect(0, 0, 3, 2));
    TGridAlphaMask A;
    A.MergeMask(&Mask, &Colour, clNone);
    ASSERT_EQ(A.Width(), 3);
    const uint8_t* P = A.Image().constScanLine(1) + 2 * 4; // B G R A
    EXPECT_EQ(P[2], 100); // round(200 * 128 / 255)
    EXPECT_EQ(P[1], 50);
    EXPECT_EQ(P[0], 0);
    EXPECT_EQ(P[3], 128);
    // A colour bitmap that is not 24-bit is left alone.
    TBitmap Other(5, 5);
    Other.SetPixelFormat(pf32bit);
    A.MergeMask(&Mask, &Other, clNone);
    EXPECT_EQ(A.Width(), 3);
}

TEST(AlphaMask, MergeAndAssignStayInsideImagesOfOtherSizes) {
    TBitmap SmallMask(2, 2), Colour(8, 6);
    SmallMask.SetPixelFormat(pf24bit);
    Colour.SetPixelFormat(pf24bit);
    SmallMask.Canvas()->Brush()->SetColor(clWhite);
    SmallMask.Canvas()->FillRect(Rect(0, 0, 2, 2));
    TGridAlphaMask A;
    A.MergeMask(&SmallMask, &Colour, clNone);
    EXPECT_EQ(A.Image().constScanLine(1)[1 * 4 + 3], 255);
    EXPECT_EQ(A.Image().constScanLine(5)[7 * 4 + 3], 0) << "outside the mask: transparent";

    TGridAlphaMask Big, Small;
    Big.SetSize(40, 30);
    Big.FOpacity = 77;
    Small.SetSize(5, 4);
    Small.Assign(&Big); // the target keeps its size; only the shared part is copied
    EXPECT_EQ(Small.Width(), 5);
    EXPECT_EQ(Small.FOpacity, 77);
    Big.Assign(&Small);
    EXPECT_EQ(Big.Width(), 40);
    EXPECT_EQ(Big.PixelFormat(), pf32bit);
    TBitmap Plain(6, 6);
    Small.Assign(&Plain);
    EXPECT_EQ(Small.Width(), 6);
    EXPECT_EQ(Small.PixelFormat(), pf32bit);
}

TEST(FocusWindow, ChildOverlayShowingTheGlow) {
    auto Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(0, 0, 200, 120);
    auto* W = Create<TGridFocusWindow>(Host.get(), Host.get());
    EXPECT_EQ(W->Width(), 0);
    EXPECT_EQ(W->Color(), clRed);
    EXPECT_FALSE(W->Visible());
    EXPECT_TRUE(W->testAttribute(Qt::WA_TransparentForMouseEvents));
    // As the grid sets it up for a 60 x 20 cell.
    TBitmap Mask, Colour;
    BuildRoundRectMask(&Mask, 69, 29, 4, 5, 3);
    Colour.SetPixelFormat(pf24bit);
    Colour.SetSize(69, 29);
    Colour.Canvas()->Brush()->SetColor(0xFDD397);
    Colour.Canvas()->FillRect(Rect(0, 0, 69, 29));
    TGridAlphaMask A;
    A.MergeMask(&Mask, &Colour, clNone);
    W->SetAlphaImage(&A, 230);
    W->SetBounds(36, 26, 69, 29);
    W->SetWindowRegion(QRegion(0, 0, 69, 29) - QRegion(4, 4, 60, 20));
    W->Show();
    Host->Show();
    QImage Img(Host->size(), QImage::Format_RGB32);
    Host->render(&Img);
    EXPECT_TRUE(Img.save(QString(GRID_DRAW_SHEET_PATH).replace("grid_draw_sheet", "grid_focus_glow")));
    const TColor Ring = FromQColor(Img.pixelColor(36 + 30, 26 + 3));
    const TColor Inside = FromQColor(Img.pixelColor(36 + 30, 26 + 12));
    EXPECT_NE(Ring, TColor(ColorToRGB(Host->Color()))) << "the glow shows";
    EXPECT_GT(GetBValue(Ring), GetRValue(Ring)) << "in the light blue of the glow, blended over the form";
    EXPECT_EQ(Inside, TColor(ColorToRGB(Host->Color()))) << "the cell itself is cut out";
}

} // namespace
