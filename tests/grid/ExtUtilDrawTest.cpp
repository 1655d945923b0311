// The drawing routines: colour arithmetic, gradients, shapes, bars and buttons, probed on bitmaps.
#include "grid/base/ExtStyleIF.h"
#include "grid/base/ExtUtil.h"
#include "platform/gui/Snapshot.h"
#include "platform/gui/Themes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

constexpr TColor Bg = 0x00F0E0D0;

// A bitmap canvas cleared to a known background.
struct TSheet {
    TBitmap B;
    TSheet(int W, int H) : B(W, H) {
        B.Canvas()->Brush()->SetColor(Bg);
        B.Canvas()->FillRect(Rect(0, 0, W, H));
    }
    TCanvas* C() { return B.Canvas(); }
    TColor At(int X, int Y) { return B.Canvas()->Pixels(X, Y); }
};

// ---- colour arithmetic --------------------------------------------------------------------------
struct TColorCase {
    const char* Name;
    TColor Result;
    TColor Expected;
};

class ColourArithmetic : public ::testing::TestWithParam<TColorCase> {};

TEST_P(ColourArithmetic, GivesTheChannelsOfTheExamples) { EXPECT_EQ(GetParam().Result, GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Table, ColourArithmetic,
    ::testing::Values(TColorCase{"ScaleUpWrapsToLowByte", ScaleColor(RGB(200, 100, 0), 50), RGB(44, 150, 0)},
                      TColorCase{"ScaleDown", ScaleColor(RGB(200, 100, 10), -50), RGB(100, 50, 5)},
                      TColorCase{"ScaleResolvesSystemColour", ScaleColor(clBtnFace, 0), RGB(0xF0, 0xF0, 0xF0)},
                      TColorCase{"HalveRoundsDown", HalveColor(RGB(255, 3, 128)), RGB(127, 1, 64)},
                      TColorCase{"InterpolateWithoutEndIsFrom", InterpolateColor(clRed, clNone, 0, 10, 5), clRed},
                      TColorCase{"InterpolateHalfway", InterpolateColor(RGB(0, 100, 200), RGB(100, 0, 200), 0, 10, 5),
                                 RGB(50, 50, 200)},
                      TColorCase{"InterpolateEmptyScaleIsFrom", InterpolateColor(RGB(1, 2, 3), clWhite, 4, 4, 2),
                                 RGB(1, 2, 3)}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// ---- gradients ----------------------------------------------------------------------------------
TEST(FillGradient, StepsAreLimitedToTheLengthAndRunFromStartToEnd) {
    TSheet S(10, 10);
    FillGradientRect(S.C(), RGB(0, 0, 0), RGB(90, 0, 0), 256, Rect(0, 0, 10, 10), false);
    // 10 rows give a length of 9 and so 9 steps of 10 red levels each.
    EXPECT_EQ(S.At(5, 0), RGB(0, 0, 0));
    EXPECT_EQ(S.At(5, 4), RGB(40, 0, 0));
    EXPECT_EQ(S.At(5, 9), RGB(90, 0, 0));
}

TEST(FillGradient, NoneAndEmptyRectangles) {
    TSheet S(10, 10);
    FillGradientRect(S.C(), clRed, clBlue, 16, Rect(0, 5, 10, 5), false);
    EXPECT_EQ(S.At(5, 5), Bg) << "top equal to bottom draws nothing";
    FillGradientRect(S.C(), clNone, clBlue, 16, Rect(0, 8, 10, 2), true);
    EXPECT_EQ(S.At(5, 5), clBlue) << "reversed rectangle, only the end colour set";
    FillGradientRect(S.C(), clNone, clNone, 16, Rect(0, 0, 10, 10), true);
    EXPECT_EQ(S.At(5, 5), clBlue) << "neither colour: nothing";
}

TEST(GradientBackground, MirrorHalvesAndFrame) {
    TSheet S(20, 20);
    DrawGradientBackground(S.C(), Rect(0, 0, 20, 20), clRed, clRed, clBlue, clBlue, true, clLime, false, true);
    EXPECT_EQ(S.At(10, 5), clRed);
    EXPECT_EQ(S.At(10, 15), clBlue);
    EXPECT_EQ(S.At(0, 10), clLime);
    EXPECT_EQ(S.At(19, 10), clLime);
    EXPECT_EQ(S.At(10, 19), clLime);
}

TEST(GradientButtonFace, RoundedEndsFollowTheSideCode) {
    // Sides 1: left end rounded only, so the outer colour sits only in the left corners.
    TSheet S(60, 22);
    const TColor Outer = clFuchsia, Border = clNavy;
    DrawGradientButtonFace(S.C(), clWhite, clNone, clNone, clNone, clYellow, clAqua, Border, clGray, Outer,
                           Rect(0, 0, 30, 22), 1);
    DrawGradientButtonFace(S.C(), clWhite, clNone, clNone, clNone, clYellow, clAqua, Border, clGray, Outer,
                           Rect(30, 0, 60, 22), 3);
    EXPECT_EQ(S.At(0, 0), Outer);
    EXPECT_EQ(S.At(1, 0), clGray);
    EXPECT_EQ(S.At(0, 10), Border) << "outer edge of the rounded end";
    EXPECT_EQ(S.At(1, 5), clYellow) << "upper inner line down the rounded end";
    EXPECT_EQ(S.At(1, 15), clAqua) << "lower inner line";
    EXPECT_EQ(S.At(29, 0), Border) << "the square right end runs the top edge to the edge";
    EXPECT_EQ(S.At(30, 0), Border);
    EXPECT_EQ(S.At(30, 10), clWhite) << "no end edge on a middle piece";
    EXPECT_EQ(S.At(15, 10), clWhite);
    EXPECT_EQ(S.At(15, 21), Bg) << "the bottom two rows stay free";
}

// ---- shapes -------------------------------------------------------------------------------------
struct TShapeCase {
    const char* Name;
    int Shape;
    TPoint Inside; // in a 40 x 30 box at (0, 0)
    TPoint Outside;
};

class CellShape : public ::testing::TestWithParam<TShapeCase> {};

TEST_P(CellShape, FillsItsOwnArea) {
    const TShapeCase& P = GetParam();
    TSheet S(40, 30);
    DrawCellShape(S.C(), 0, 0, 40, 30, P.Shape, clRed, clBlack);
    EXPECT_EQ(S.At(P.Inside.X, P.Inside.Y), clRed);
    EXPECT_EQ(S.At(P.Outside.X, P.Outside.Y), Bg);
}

INSTANTIATE_TEST_SUITE_P(Table, CellShape,
                         ::testing::Values(TShapeCase{"Rectangle", csRectangle, {20, 15}, {0, 0}},
                                           TShapeCase{"CircleUsesTheSmallerSide", csCircle, {15, 15}, {35, 15}},
                                           TShapeCase{"TriangleLeft", csTriangleLeft, {35, 15}, {3, 3}},
                                           TShapeCase{"TriangleRight", csTriangleRight, {5, 15}, {36, 3}},
                                           TShapeCase{"TriangleUp", csTriangleUp, {20, 25}, {3, 3}},
                                           TShapeCase{"TriangleDown", csTriangleDown, {20, 5}, {3, 27}},
                                           TShapeCase{"Diamond", csDiamond, {20, 15}, {3, 3}},
                                           TShapeCase{"RoundRect", csRoundRect, {20, 15}, {0, 0}},
                                           TShapeCase{"Ellipse", csEllips, {35, 15}, {1, 1}},
                                           TShapeCase{"Square", csSquare, {15, 15}, {35, 15}},
                                           TShapeCase{"RoundSquare", csRoundSquare, {15, 15}, {35, 15}},
                                           TShapeCase{"Star", csStar, {20, 15}, {3, 27}},
                                           TShapeCase{"HalfStarIsTheLeftHalf", csHalfStar, {17, 15}, {26, 15}},
                                           TShapeCase{"ArrowUp", csArrowUp, {20, 10}, {3, 25}},
                                           TShapeCase{"ArrowDown", csArrowDown, {20, 20}, {3, 5}},
                                           TShapeCase{"ArrowLeft", csArrowLeft, {10, 15}, {35, 3}},
                                           TShapeCase{"ArrowRight", csArrowRight, {30, 15}, {5, 3}}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(CellShape, LinesAndUnknownShapes) {
    TSheet S(40, 30);
    DrawCellShape(S.C(), 0, 0, 40, 30, csLineVert, clRed, clBlack);
    EXPECT_NE(S.At(20, 15), Bg);
    EXPECT_EQ(S.At(22, 15), Bg);
    DrawCellShape(S.C(), 0, 0, 40, 30, csLineHorz, clRed, clBlack);
    EXPECT_NE(S.At(5, 15), Bg);
    EXPECT_EQ(S.At(5, 17), Bg);
    TSheet T(40, 30);
    DrawCellShape(T.C(), 0, 0, 40, 30, 19, clRed, clBlack);
    DrawCellShape(T.C(), 0, 0, 40, 30, -1, clRed, clBlack);
    for (int y = 0; y < 30; y += 3)
        for (int x = 0; x < 40; x += 3) ASSERT_EQ(T.At(x, y), Bg);
}

// ---- progress bars ------------------------------------------------------------------------------
TProgressSettings Plain() {
    TProgressSettings P;
    P.Level0Color = clLime;
    P.Level1Color = clYellow;
    P.Level2Color = clFuchsia;
    P.Level3Color = clRed;
    P.UnCompleteColor = clWhite;
    P.BorderColor = clNavy;
    P.ShowPercentage = false;
    return P;
}

TEST(ProgressBar, ZeroShowsBackgroundAndBorderOnly) {
    TSheet S(50, 12);
    DrawProgressBar(S.C(), Rect(0, 0, 50, 12), 0, Plain());
    EXPECT_EQ(S.At(0, 5), clNavy);
    EXPECT_EQ(S.At(1, 5), clWhite);
    EXPECT_EQ(S.At(48, 5), clWhite);
}

TEST(ProgressBar, StackedAtFullFillsTheWholeLengthInThreeBands) {
    TSheet S(102, 12);
    TProgressSettings P = Plain();
    P.Stacked = true;
    DrawProgressBar(S.C(), Rect(0, 0, 102, 12), 100, P); // L = 100
    EXPECT_EQ(S.At(1, 5), clLime);
    EXPECT_EQ(S.At(70, 5), clLime);
    EXPECT_EQ(S.At(71, 5), clYellow);
    EXPECT_EQ(S.At(90, 5), clYellow);
    EXPECT_EQ(S.At(91, 5), clRed);
    EXPECT_EQ(S.At(100, 5), clRed);
    EXPECT_EQ(S.At(101, 5), clNavy);
}

TEST(ProgressBar, BlocksOfSevenWithoutARemainderOfTwo) {
    TSheet S(22, 12);
    TProgressSettings P = Plain();
    P.CompletionSmooth = false;
    DrawProgressBar(S.C(), Rect(0, 0, 22, 12), 100, P); // L = 20, t = 20: two blocks, 20 mod 9 = 2
    EXPECT_EQ(S.At(1, 5), clWhite);
    for (int x = 2; x < 9; ++x) EXPECT_EQ(S.At(x, 5), clRed) << x;
    EXPECT_EQ(S.At(9, 5), clWhite);
    EXPECT_EQ(S.At(11, 5), clRed);
    EXPECT_EQ(S.At(17, 5), clRed);
    EXPECT_EQ(S.At(18, 5), clWhite);
    EXPECT_EQ(S.At(20, 5), clWhite) << "no remainder block";
    EXPECT_EQ(S.At(5, 1), clWhite) << "blocks keep 2 pixels from the edges across the bar";
}

TEST(ProgressBar, LevelColoursAndValuesOutsideTheScale) {
    TSheet S(102, 12);
    DrawProgressBar(S.C(), Rect(0, 0, 102, 12), 75, Plain());
    EXPECT_EQ(S.At(50, 5), clYellow);
    EXPECT_EQ(S.At(80, 5), clWhite);
    TSheet T(102, 12);
    DrawProgressBar(T.C(), Rect(10, 0, 60, 12), 250, Plain());
    EXPECT_EQ(T.At(58, 5), clRed);
    EXPECT_EQ(T.At(61, 5), Bg) << "a value above 100 stays inside its rectangle";
}

TEST(ProgressFormatted, FormatsAndRanges) {
    auto Draw = [](double Pos, int Min, int Max, const QString& Fmt) {
        TSheet S(104, 24);
        DrawProgressFormatted(S.C(), Rect(2, 2, 102, 22), clBlue, clWhite, clSilver, clBlack, Pos, 0, 0, Min, Max, Fmt,
                              clNavy, false);
        return S.B.Image().copy();
    };
    // "%d" rounds the position: 3.6 shows the same text as 4.
    EXPECT_EQ(Draw(3.6, 0, 1000, "%d"), Draw(4, 0, 1000, "%d"));
    EXPECT_NE(Draw(3.6, 0, 1000, "%d"), Draw(3, 0, 1000, "%d"));
    // Without a format the position is the percentage; 150 fills the bar.
    TSheet S(104, 24);
    DrawProgressFormatted(S.C(), Rect(2, 2, 102, 22), clBlue, clWhite, clSilver, clBlack, 150, 0, 0, 0, 0, "", clNavy,
                          false);
    EXPECT_EQ(S.At(99, 3), clBlue);
    EXPECT_EQ(S.At(1, 10), clNavy);
    // An empty range shows an empty bar instead of failing; a format that does not fit shows no text.
    TSheet E(104, 24);
    EXPECT_NO_THROW(DrawProgressFormatted(E.C(), Rect(2, 2, 102, 22), clBlue, clWhite, clSilver, clBlack, 5, 0, 0, 7, 7,
                                          "%d", clNavy, false));
    EXPECT_EQ(E.At(3, 3), clSilver);
    EXPECT_NO_THROW(Draw(5, 0, 10, "%s %s"));
    // Values no integer holds: a far position fills the bar, one that is not a number leaves it
    // empty, and neither has integer text.
    EXPECT_EQ(Draw(1e300, 0, 10, "%d"), Draw(1e300, 0, 10, "%s %s"));
    TSheet F(104, 24);
    DrawProgressFormatted(F.C(), Rect(2, 2, 102, 22), clBlue, clWhite, clSilver, clBlack, 1e300, 0, 0, INT_MIN, INT_MAX,
                          "%d", clNavy, false);
    EXPECT_EQ(F.At(99, 3), clBlue);
    TSheet N(104, 24);
    DrawProgressFormatted(N.C(), Rect(2, 2, 102, 22), clBlue, clWhite, clSilver, clBlack, std::nan(""), 0, 0, 0, 10,
                          "%d", clNavy, false);
    EXPECT_EQ(N.At(3, 3), clSilver);
}

TEST(ProgressPieAndRange, FillTheirShareAndSurviveAnEmptyRange) {
    TSheet S(41, 41);
    DrawProgressPie(S.C(), Rect(0, 0, 41, 41), clRed, 25, false);
    EXPECT_EQ(S.At(28, 12), clRed) << "first quarter, clockwise from 12 o'clock";
    EXPECT_EQ(S.At(12, 28), Bg);
    TSheet R(44, 10);
    EXPECT_NO_THROW(DrawRangeIndicator(R.C(), Rect(0, 0, 44, 10), 5, 0, false, clRed, clLime));
    EXPECT_EQ(R.At(25, 5), Bg);
    DrawRangeIndicator(R.C(), Rect(0, 0, 44, 10), 5, 10, false, clRed, clLime); // half of 20 to the right
    EXPECT_EQ(R.At(23, 5), clLime);
    EXPECT_EQ(R.At(31, 5), clLime);
    EXPECT_EQ(R.At(33, 5), Bg);
    DrawRangeIndicator(R.C(), Rect(0, 0, 44, 10), -99, 10, false, clRed, clLime); // clamped to the range
    EXPECT_EQ(R.At(2, 5), clRed);
    EXPECT_EQ(R.At(1, 5), Bg);
}

// ---- buttons ------------------------------------------------------------------------------------
TColorTones Tones() {
    TColorTones T;
    T.Background = {clWhite, clNavy, clBlack};
    T.Hover = {clYellow, clOlive, clBlack};
    T.Selected = {clAqua, clTeal, clBlack};
    T.Disabled = {clSilver, clGray, clGray};
    return T;
}

TEST(Buttons, CustomColourLookUsesTheStateTone) {
    TSheet S(60, 20);
    DrawComboButton(S.C(), nullptr, Rect(0, 0, 60, 20), ButtonLookTones, ButtonStateHot, Tones());
    // 17 pixels at the right, 2 left and 3 right again: left edge 44.
    EXPECT_EQ(S.At(50, 3), clYellow);
    EXPECT_EQ(S.At(45, 10), clNavy) << "separator";
    EXPECT_EQ(S.At(52, 9), clBlack) << "arrow";
    EXPECT_EQ(S.At(42, 10), Bg);

    TSheet B(40, 20);
    DrawButtonFace(B.C(), nullptr, Rect(0, 0, 40, 20), ButtonLookTones, ButtonStateDown, Tones());
    EXPECT_EQ(B.At(0, 0), clTeal);
    EXPECT_EQ(B.At(20, 10), clAqua);

    TSheet P(40, 20);
    DrawSpinButtons(P.C(), nullptr, Rect(0, 0, 40, 20), ButtonLookTones, ButtonStateDisabled, Tones());
    EXPECT_EQ(P.At(26, 1), clSilver);
    EXPECT_EQ(P.At(31, 3), clBlack) << "up arrow";
    EXPECT_EQ(P.At(26, 9), Bg) << "one pixel between the halves";
}

TEST(Buttons, EveryLookAndStateDrawsSomething) {
    for (bool Themes : {true, false}) {
        SetThemesActive(Themes);
        for (int Look = 0; Look < 4; ++Look)
            for (int State = 0; State < 4; ++State) {
                TSheet S(60, 22);
                DrawButtonFace(S.C(), nullptr, Rect(0, 0, 30, 22), Look, State, Tones());
                DrawComboButton(S.C(), nullptr, Rect(30, 0, 60, 22), Look, State, Tones());
                EXPECT_NE(S.At(15, 11), Bg) << Look << State;
                EXPECT_NE(S.At(50, 11), Bg) << Look << State;
            }
    }
    SetThemesActive(true);
}

// ---- bitmaps and underline ----------------------------------------------------------------------
TEST(TransparentBitmap, TheCornerColourBecomesTheBackground) {
    TBitmap Glyph(4, 4);
    Glyph.Canvas()->Brush()->SetColor(clFuchsia);
    Glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    Glyph.Canvas()->SetPixels(2, 2, clBlue);
    TSheet S(10, 10);
    DrawBitmapTransparent(S.C(), &Glyph, clYellow, Rect(3, 3, 10, 10));
    EXPECT_EQ(S.At(3, 3), clYellow);
    EXPECT_EQ(S.At(5, 5), clBlue);
    EXPECT_EQ(S.At(7, 7), Bg) << "drawn at its own size";
    EXPECT_NO_THROW(DrawResBitmapTransparent(S.C(), clWhite, Rect(0, 0, 10, 10), "NOSUCHBITMAP"));
}

TEST(ErrorUnderline, ZigZagUnderTheRangeOnly) {
    TSheet S(200, 30);
    const QString Text = "good badword good";
    S.C()->Font()->SetHeight(-12);
    DrawErrorUnderline(nullptr, S.C(), Text, Rect(0, 0, 200, 30), 14, 5, 7);
    const int X1 = 1 + S.C()->TextWidth("good ");
    const int X2 = 1 + S.C()->TextWidth("good badword");
    int RedInside = 0, RedOutside = 0;
    for (int x = 0; x < 200; ++x)
        for (int y = 10; y < 22; ++y)
            if (S.At(x, y) == clRed) (x >= X1 - 1 && x <= X2 + 1 ? RedInside : RedOutside)++;
    EXPECT_GT(RedInside, (X2 - X1));
    EXPECT_EQ(RedOutside, 0);
}

// ---- the sheet a person looks at ----------------------------------------------------------------
TEST(DrawingSheet, ShapesBarsAndButtons) {
    TSheet S(480, 300);
    S.C()->Brush()->SetColor(clWhite);
    S.C()->FillRect(Rect(0, 0, 480, 300));
    for (int k = 0; k <= csHalfStar; ++k)
        DrawCellShape(S.C(), 6 + (k % 10) * 46, 6 + (k / 10) * 40, 36, 30, k, k % 2 ? clSkyBlue : clMoneyGreen, clNavy);
    TProgressSettings P = Plain();
    P.ShowPercentage = true;
    P.CompleteFontColor = clBlack;
    int y = 90;
    for (int Pct : {0, 35, 80, 100}) {
        DrawProgressBar(S.C(), Rect(6, y, 156, y + 16), Pct, P);
        TProgressSettings Q = P;
        Q.Stacked = true;
        Q.ShowGradient = true;
        Q.Level0ColorTo = clWhite;
        Q.Level1ColorTo = clWhite;
        Q.Level3ColorTo = clWhite;
        DrawProgressBar(S.C(), Rect(166, y, 316, y + 16), Pct, Q);
        Q = P;
        Q.CompletionSmooth = false;
        DrawProgressBar(S.C(), Rect(326, y, 476, y + 16), Pct, Q);
        y += 22;
    }
    DrawProgressFormatted(S.C(), Rect(6, 182, 156, 200), clNavy, clWhite, clSilver, clBlack, 42, 0, 0, 0, 100, "%d kg",
                          clGray, false);
    DrawProgressPie(S.C(), Rect(170, 178, 196, 204), clRed, 65, false);
    DrawRangeIndicator(S.C(), Rect(206, 182, 316, 200), -30, 100, false, clRed, clGreen);
    DrawRangeIndicator(S.C(), Rect(326, 182, 476, 200), 60, 100, false, clRed, clGreen);
    for (int Look = 0; Look < 4; ++Look)
        for (int State = 0; State < 4; ++State) {
            const int X = 6 + State * 118, Y = 210 + Look * 22;
            DrawButtonFace(S.C(), nullptr, Rect(X, Y, X + 40, Y + 20), Look, State, Tones());
            DrawComboButton(S.C(), nullptr, Rect(X + 44, Y, X + 84, Y + 20), Look, State, Tones());
            DrawSpinButtons(S.C(), nullptr, Rect(X + 88, Y, X + 112, Y + 21), Look, State, Tones());
        }
    EXPECT_TRUE(SaveBitmapPng(S.B, GRID_DRAW_SHEET_PATH));
    EXPECT_EQ(S.At(6 + 18, 6 + 15), clMoneyGreen) << "rectangle of the first shape";
    EXPECT_EQ(S.At(326 + 75, 90 + 8), clWhite) << "empty block bar";
}

} // namespace
