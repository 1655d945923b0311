// The canvas's 0.1 mm mapping (y up from the viewport origin) on a 96 dpi bitmap: coordinates,
// font heights and pen widths go to device pixels, measurements come back in 0.1 mm.
#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class CanvasMapping : public ::testing::Test {
protected:
    void SetUp() override {
        Bmp = std::make_unique<TBitmap>(400, 300);
        C = Bmp->Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 400, 300));
        C->SetViewportOrg(TPoint{20, 10});
        C->SetMapMode(MM_LOMETRIC);
    }
    // 0.1 mm to 96 dpi pixels
    static int Dev(int Tenths) { return int(std::lround(Tenths * 96 / 254.0)); }
    std::unique_ptr<TBitmap> Bmp;
    TCanvas* C = nullptr;
};

struct TPointCase {
    const char* Name;
    TPoint Logical;
    TPoint Device;
};
void PrintTo(const TPointCase& P, std::ostream* Os) { *Os << P.Name; }

class CanvasMappingPoints : public CanvasMapping, public ::testing::WithParamInterface<TPointCase> {};

TEST_P(CanvasMappingPoints, LogicalPointsLandOnTheirDevicePixelAndBack) {
    const TPointCase& P = GetParam();
    const TPoint D = C->LPtoDP(P.Logical);
    EXPECT_EQ(D.X, P.Device.X);
    EXPECT_EQ(D.Y, P.Device.Y);
    const TPoint Back = C->DPtoLP(D);
    // one device pixel is 2.6 tenths of a millimetre
    EXPECT_NEAR(Back.X, P.Logical.X, 2);
    EXPECT_NEAR(Back.Y, P.Logical.Y, 2);
}

INSTANTIATE_TEST_SUITE_P(Mapping, CanvasMappingPoints,
                         ::testing::Values(TPointCase{"Origin", {0, 0}, {20, 10}},
                                           TPointCase{"OneInchRight", {254, 0}, {116, 10}},
                                           TPointCase{"OneInchDownIsNegativeY", {0, -254}, {20, 106}},
                                           TPointCase{"AboveTheOriginIsPositiveY", {0, 100}, {20, 10 - 38}}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(CanvasMapping, FillRectWithTopAboveBottomFillsTheDeviceRectangle) {
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 254, -254)); // one inch square below and right of the origin
    EXPECT_EQ(C->Pixels(0, 0), clWhite) << "pixels are read in device units with the mapping off";
    C->SetMapMode(MM_TEXT);
    EXPECT_EQ(C->Pixels(20, 10), clRed);
    EXPECT_EQ(C->Pixels(115, 105), clRed);
    EXPECT_EQ(C->Pixels(116, 50), clWhite);
    EXPECT_EQ(C->Pixels(50, 106), clWhite);
    EXPECT_EQ(C->Pixels(19, 50), clWhite);
}

TEST_F(CanvasMapping, TextIsMeasuredInTenthsOfAMillimetreWithTheFontHeightMapped) {
    C->Font()->SetName("Arial");
    C->Font()->SetHeight(-100); // 10 mm
    const int LW = C->TextWidth("Hello"), LH = C->TextHeight("gh");
    C->SetMapMode(MM_TEXT);
    C->Font()->SetHeight(-Dev(100));
    const int DW = C->TextWidth("Hello"), DH = C->TextHeight("gh");
    EXPECT_NEAR(LW, DW * 254.0 / 96, 2);
    EXPECT_NEAR(LH, DH * 254.0 / 96, 2);
    EXPECT_EQ(C->Font()->Height(), -Dev(100)) << "the mapped font height is the caller's again afterwards";
}

TEST_F(CanvasMapping, TextOutDrawsDownwardsFromItsLogicalTop) {
    C->Font()->SetName("Arial");
    C->Font()->SetHeight(-60);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(100, -100, "HH");
    EXPECT_EQ(C->Font()->Height(), -60);
    C->SetMapMode(MM_TEXT);
    const int X0 = 20 + Dev(100), Y0 = 10 + Dev(100);
    int Ink = 0, Outside = 0;
    for (int Y = 0; Y < 300; ++Y)
        for (int X = 0; X < 400; ++X) {
            if (C->Pixels(X, Y) == clWhite) continue;
            if (X >= X0 && X < X0 + 40 && Y >= Y0 && Y < Y0 + Dev(60) + 2)
                ++Ink;
            else
                ++Outside;
        }
    EXPECT_GT(Ink, 10);
    EXPECT_EQ(Outside, 0);
}

TEST_F(CanvasMapping, ClipRectComesBackInPageUnits) {
    const TRect R = C->ClipRect();
    EXPECT_NEAR(R.Left, -53, 1) << "the device's left edge is 20 pixels left of the origin";
    EXPECT_NEAR(R.Top, 26, 1);
    EXPECT_NEAR(R.Right - R.Left, 1058, 2);
    EXPECT_NEAR(R.Bottom, -767, 2);
}

TEST_F(CanvasMapping, DrawTextRectangleMeasuresDownwards) {
    C->Font()->SetHeight(-50);
    TRect R = Rect(0, 0, 2000, 0);
    const int H = C->DrawText("one\r\ntwo", R, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_GT(H, 0);
    EXPECT_LT(R.Bottom, -2 * 40) << "two lines go below the top";
    EXPECT_GT(R.Right, 0);
}

TEST_F(CanvasMapping, PenWidthIsMappedAndLinesFollowTheFlip) {
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(1);
    C->MoveTo(0, -254);
    C->LineTo(254, -254);
    EXPECT_EQ(C->Pen()->Width(), 1);
    C->SetMapMode(MM_TEXT);
    EXPECT_EQ(C->Pixels(60, 106), clBlack);
    EXPECT_EQ(C->Pixels(60, 105), clWhite);
}

} // namespace
