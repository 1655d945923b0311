// Pixel tests of the canvas on a bitmap: the drawing rules code written for the classic GDI
// relies on (exclusive right/bottom, outline inside, line end left out, DT_* text layout).
#include "platform/gui/Graphics.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(120, 60); }

    void Reset(int W, int H) {
        Bmp = std::make_unique<TBitmap>(W, H);
        C = Bmp->Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, W, H));
        C->Font()->SetName("Tahoma");
        C->Font()->SetHeight(-13);
        C->Font()->SetColor(clBlack);
    }

    // The smallest rectangle holding every pixel that is not Background (empty when none).
    TRect InkBox(TBitmap& B, TColor Background = clWhite) {
        TRect R{B.Width(), B.Height(), 0, 0};
        for (int Y = 0; Y < B.Height(); ++Y)
            for (int X = 0; X < B.Width(); ++X)
                if (B.Canvas()->Pixels(X, Y) != Background) {
                    R.Left = std::min(R.Left, X);
                    R.Top = std::min(R.Top, Y);
                    R.Right = std::max(R.Right, X + 1);
                    R.Bottom = std::max(R.Bottom, Y + 1);
                }
        return R.IsEmpty() ? TRect{} : R;
    }
    TRect InkBox(TColor Background = clWhite) { return InkBox(*Bmp, Background); }

    static bool SameImage(TBitmap& A, TBitmap& B) { return A.Image() == B.Image(); }

    std::unique_ptr<TBitmap> Bmp;
    TCanvas* C = nullptr;
};

TEST_F(CanvasTest, FillRectCoversExactlyLeftTopInclusiveRightBottomExclusive) {
    struct Case {
        TRect R;
        TRect Expected;
    };
    const Case Cases[] = {
        {Rect(10, 5, 20, 15), Rect(10, 5, 20, 15)},
        {Rect(0, 0, 1, 1), Rect(0, 0, 1, 1)},
        {Rect(-5, -5, 3, 4), Rect(0, 0, 3, 4)}, // clipped by the bitmap
        {Rect(100, 50, 200, 200), Rect(100, 50, 120, 60)},
        {Rect(10, 10, 10, 20), TRect{}}, // zero width
        {Rect(20, 10, 10, 20), TRect{}}, // inverted
    };
    for (const Case& K : Cases) {
        Reset(120, 60);
        C->Brush()->SetColor(clRed);
        C->FillRect(K.R);
        EXPECT_EQ(InkBox(), K.Expected) << K.R.Left << "," << K.R.Top << "," << K.R.Right << "," << K.R.Bottom;
        if (!K.Expected.IsEmpty()) {
            EXPECT_EQ(C->Pixels(K.Expected.Left, K.Expected.Top), clRed);
        }
    }
}

TEST_F(CanvasTest, FillRectWithClearBrushPaintsNothing) {
    C->Brush()->SetStyle(bsClear);
    C->FillRect(Rect(0, 0, 50, 50));
    EXPECT_EQ(InkBox(), TRect{});
}

TEST_F(CanvasTest, RectangleDrawsOutlineInsideAndFillsInterior) {
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clBlue);
    C->Rectangle(5, 5, 15, 12);
    EXPECT_EQ(InkBox(), Rect(5, 5, 15, 12));
    for (int X = 5; X < 15; ++X) {
        EXPECT_EQ(C->Pixels(X, 5), clBlack) << X;
        EXPECT_EQ(C->Pixels(X, 11), clBlack) << X;
    }
    for (int Y = 5; Y < 12; ++Y) {
        EXPECT_EQ(C->Pixels(5, Y), clBlack) << Y;
        EXPECT_EQ(C->Pixels(14, Y), clBlack) << Y;
    }
    for (int Y = 6; Y < 11; ++Y)
        for (int X = 6; X < 14; ++X) ASSERT_EQ(C->Pixels(X, Y), clBlue) << X << "," << Y;
}

TEST_F(CanvasTest, WidePenRectangleStaysInsideTheRect) {
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(3);
    C->Brush()->SetColor(clBlue);
    C->Rectangle(Rect(10, 10, 30, 25));
    EXPECT_EQ(InkBox(), Rect(10, 10, 30, 25));
    EXPECT_EQ(C->Pixels(12, 15), clBlack);
    EXPECT_EQ(C->Pixels(13, 15), clBlue);
    EXPECT_EQ(C->Pixels(27, 15), clBlack);
    EXPECT_EQ(C->Pixels(26, 15), clBlue);
}

TEST_F(CanvasTest, ClearBrushRectangleLeavesTheBackgroundInside) {
    C->Brush()->SetColor(clYellow);
    C->FillRect(Rect(0, 0, 120, 60));
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(clRed);
    C->Rectangle(10, 10, 40, 30);
    EXPECT_EQ(C->Pixels(10, 10), clRed);
    EXPECT_EQ(C->Pixels(39, 29), clRed);
    for (int Y = 11; Y < 29; ++Y)
        for (int X = 11; X < 39; ++X) ASSERT_EQ(C->Pixels(X, Y), clYellow) << X << "," << Y;
}

TEST_F(CanvasTest, RectangleWithoutPenFillsOnePixelShort) {
    C->Pen()->SetStyle(psClear);
    C->Brush()->SetColor(clGreen);
    C->Rectangle(10, 10, 20, 20);
    EXPECT_EQ(InkBox(), Rect(10, 10, 19, 19));
}

TEST_F(CanvasTest, LineToLeavesOutTheEndPixel) {
    struct Case {
        TPoint From, To;
        std::vector<TPoint> On, Off;
    };
    const Case Cases[] = {
        {{2, 5}, {10, 5}, {{2, 5}, {9, 5}}, {{10, 5}, {1, 5}}},
        {{10, 5}, {2, 5}, {{10, 5}, {3, 5}}, {{2, 5}}},
        {{4, 1}, {4, 9}, {{4, 1}, {4, 8}}, {{4, 9}}},
        {{4, 9}, {4, 1}, {{4, 9}, {4, 2}}, {{4, 1}}},
        {{2, 2}, {8, 8}, {{2, 2}, {5, 5}, {7, 7}}, {{8, 8}}},
        {{3, 3}, {3, 3}, {}, {{3, 3}}}, // zero length draws nothing
    };
    for (const Case& K : Cases) {
        Reset(20, 12);
        C->Pen()->SetColor(clBlack);
        C->MoveTo(K.From.X, K.From.Y);
        C->LineTo(K.To.X, K.To.Y);
        EXPECT_EQ(C->PenPos(), K.To);
        for (TPoint P : K.On) EXPECT_EQ(C->Pixels(P.X, P.Y), clBlack) << P.X << "," << P.Y;
        for (TPoint P : K.Off) EXPECT_EQ(C->Pixels(P.X, P.Y), clWhite) << P.X << "," << P.Y;
    }
}

TEST_F(CanvasTest, ConnectedLinesShareTheirCorner) {
    C->Pen()->SetColor(clBlack);
    C->MoveTo(2, 2);
    C->LineTo(10, 2);
    C->LineTo(10, 8);
    EXPECT_EQ(C->Pixels(10, 2), clBlack); // drawn by the second line
    EXPECT_EQ(C->Pixels(10, 7), clBlack);
    EXPECT_EQ(C->Pixels(10, 8), clWhite);
    EXPECT_EQ(InkBox(), Rect(2, 2, 11, 8));
}

TEST_F(CanvasTest, DottedPenLeavesGaps) {
    C->Pen()->SetStyle(psDot);
    C->MoveTo(0, 3);
    C->LineTo(30, 3);
    int Ink = 0;
    for (int X = 0; X < 30; ++X) Ink += C->Pixels(X, 3) == clBlack;
    EXPECT_GT(Ink, 5);
    EXPECT_LT(Ink, 25);
}

TEST_F(CanvasTest, NotXorPenAndFocusRectUndoThemselves) {
    C->Brush()->SetColor(clBlue);
    C->FillRect(Rect(0, 0, 60, 30));
    TBitmap Before;
    Before.Assign(Bmp.get());

    C->Pen()->SetMode(pmNotXor);
    C->Pen()->SetColor(clBlack);
    C->MoveTo(0, 10);
    C->LineTo(50, 10);
    EXPECT_EQ(C->Pixels(5, 10), clYellow); // black under NotXor inverts blue
    C->MoveTo(0, 10);
    C->LineTo(50, 10);
    EXPECT_TRUE(SameImage(*Bmp, Before));

    C->DrawFocusRect(Rect(5, 5, 40, 25));
    EXPECT_FALSE(SameImage(*Bmp, Before));
    EXPECT_NE(C->Pixels(5, 5), clBlue);
    EXPECT_EQ(C->Pixels(6, 5), clBlue); // dotted
    EXPECT_EQ(C->Pixels(20, 15), clBlue); // only the frame
    C->DrawFocusRect(Rect(5, 5, 40, 25));
    EXPECT_TRUE(SameImage(*Bmp, Before));
}

// ---- text ------------------------------------------------------------------------------

class CanvasTextTest : public CanvasTest {
protected:
    // The picture of Lines drawn with TextOut at the given origins on a fresh bitmap.
    std::unique_ptr<TBitmap> Expected(const std::vector<std::pair<TPoint, QString>>& Lines) {
        auto E = std::make_unique<TBitmap>(Bmp->Width(), Bmp->Height());
        TCanvas* EC = E->Canvas();
        EC->Brush()->SetColor(clWhite);
        EC->FillRect(Rect(0, 0, E->Width(), E->Height()));
        EC->Font()->Assign(C->Font());
        EC->Brush()->SetStyle(bsClear);
        for (const auto& [P, S] : Lines) EC->TextOut(P.X, P.Y, S);
        return E;
    }
};

TEST_F(CanvasTextTest, SingleLineAlignmentsPlaceTheTextByItsMeasuredExtent) {
    const QString S = "Hig";
    const int W = C->TextWidth(S), H = C->TextHeight(S);
    const TRect R = Rect(10, 5, 110, 55);
    struct Case {
        unsigned Flags;
        int X, Y;
    };
    const Case Cases[] = {
        {DT_LEFT | DT_TOP, R.Left, R.Top},
        {DT_CENTER | DT_VCENTER, (R.Left + R.Right - W) / 2, (R.Top + R.Bottom - H) / 2},
        {DT_RIGHT | DT_BOTTOM, R.Right - W, R.Bottom - H},
        {DT_RIGHT | DT_VCENTER, R.Right - W, (R.Top + R.Bottom - H) / 2},
    };
    for (const Case& K : Cases) {
        Reset(120, 60);
        C->Brush()->SetStyle(bsClear);
        TRect RR = R;
        C->DrawText(S, RR, K.Flags | DT_SINGLELINE);
        auto E = Expected({{{K.X, K.Y}, S}});
        EXPECT_TRUE(SameImage(*Bmp, *E)) << "flags " << K.Flags;
        EXPECT_FALSE(InkBox().IsEmpty());
    }
}

TEST_F(CanvasTextTest, VerticalAlignmentNeedsSingleLine) {
    const QString S = "Hig";
    C->Brush()->SetStyle(bsClear);
    TRect R = Rect(10, 5, 110, 55);
    C->DrawText(S, R, DT_VCENTER | DT_BOTTOM);
    EXPECT_TRUE(SameImage(*Bmp, *Expected({{{10, 5}, S}})));
}

TEST_F(CanvasTextTest, WordBreakWrapsBetweenWordsAndCalcRectMeasures) {
    const int H = C->TextHeight("x");
    const int Room = C->TextWidth("aaa bbb") + 1;
    TRect R = Rect(4, 2, 4 + Room, 2);
    const int Height = C->DrawText("aaa bbb ccc", R, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(Height, 2 * H);
    EXPECT_EQ(R, Rect(4, 2, 4 + C->TextWidth("aaa bbb"), 2 + 2 * H));
    EXPECT_EQ(InkBox(), TRect{}) << "CALCRECT draws nothing";

    C->Brush()->SetStyle(bsClear);
    TRect D = Rect(4, 2, 4 + Room, 58);
    C->DrawText("aaa bbb ccc", D, DT_WORDBREAK);
    EXPECT_TRUE(SameImage(*Bmp, *Expected({{{4, 2}, "aaa bbb"}, {{4, 2 + H}, "ccc"}})));
}

TEST_F(CanvasTextTest, CalcRectCases) {
    const int H = C->TextHeight("x");
    struct Case {
        QString Text;
        unsigned Flags;
        int Room;
        int Width;
        int Lines;
    };
    const Case Cases[] = {
        {"abcdefghij", DT_WORDBREAK, 10, C->TextWidth("abcdefghij"), 1}, // a long word stays whole
        {"one\r\ntwo", 0, 200, std::max(C->TextWidth("one"), C->TextWidth("two")), 2},
        {"one\ntwo\rthree", 0, 200, C->TextWidth("three"), 3},
        {"one\r\ntwo", DT_SINGLELINE, 200, -1, 1},
        {"a&&b", 0, 200, C->TextWidth("a&b"), 1},
        {"a&&b", DT_NOPREFIX, 200, C->TextWidth("a&&b"), 1},
        {"&File", 0, 200, C->TextWidth("File"), 1},
        {"", 0, 200, 0, 1},
    };
    for (const Case& K : Cases) {
        TRect R = Rect(0, 0, K.Room, 0);
        const int Ret = C->DrawText(K.Text, R, K.Flags | DT_CALCRECT);
        EXPECT_EQ(Ret, K.Lines * H) << K.Text.toStdString();
        EXPECT_EQ(R.Height(), K.Lines * H) << K.Text.toStdString();
        if (K.Width >= 0) {
            EXPECT_EQ(R.Width(), K.Width) << K.Text.toStdString();
        }
    }
}

TEST_F(CanvasTextTest, PrefixUnderlinesTheMarkedCharacterOnly) {
    C->Brush()->SetStyle(bsClear);
    TRect R = Rect(10, 10, 110, 40);
    C->DrawText("&File", R, DT_SINGLELINE);
    auto Plain = Expected({{{10, 10}, "File"}});
    EXPECT_FALSE(SameImage(*Bmp, *Plain));
    // every difference lies under the "F", below the baseline
    const int FW = C->TextWidth("F");
    const int Base = 10 + QFontMetrics(C->Font()->ToQFont()).ascent();
    for (int Y = 0; Y < 60; ++Y)
        for (int X = 0; X < 120; ++X)
            if (C->Pixels(X, Y) != Plain->Canvas()->Pixels(X, Y)) {
                EXPECT_GE(X, 10);
                EXPECT_LT(X, 10 + FW + 1);
                EXPECT_GE(Y, Base);
            }

    Reset(120, 60);
    C->Brush()->SetStyle(bsClear);
    R = Rect(10, 10, 110, 40);
    C->DrawText("&File", R, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_TRUE(SameImage(*Bmp, *Expected({{{10, 10}, "&File"}})));
}

TEST_F(CanvasTextTest, EndEllipsisShortensTheLineToTheRoom) {
    const QString Long = "The quick brown fox jumps over the lazy dog";
    const int Room = C->TextWidth("The quick");
    auto Lines = C->LayoutText(Long, Room, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_TRUE(Lines[0].Text.endsWith("..."));
    EXPECT_LE(Lines[0].Width, Room);
    EXPECT_TRUE(Long.startsWith(Lines[0].Text.chopped(3)));

    C->Brush()->SetStyle(bsClear);
    TRect R = Rect(10, 10, 10 + Room, 30);
    C->DrawText(Long, R, DT_SINGLELINE | DT_END_ELLIPSIS);
    const TRect Ink = InkBox();
    EXPECT_GE(Ink.Left, R.Left);
    EXPECT_LE(Ink.Right, R.Right);
}

TEST_F(CanvasTextTest, RightToLeftReadingOrdersTheTextFromTheRight) {
    // "abc!" read right to left puts the neutral "!" on the left of the Latin run
    const QString S = "abc!";
    C->Brush()->SetStyle(bsClear);
    TRect R = Rect(10, 10, 110, 40);
    C->DrawText(S, R, DT_SINGLELINE | DT_RTLREADING);
    auto Ltr = Expected({{{10, 10}, S}});
    EXPECT_FALSE(SameImage(*Bmp, *Ltr));
    EXPECT_TRUE(SameImage(*Bmp, *Expected({{{10, 10}, "!abc"}})));
}

TEST_F(CanvasTextTest, TextIsClippedToTheRectUnlessNoClip) {
    C->Brush()->SetStyle(bsClear);
    TRect R = Rect(10, 10, 20, 30);
    C->DrawText("WWWWWWWW", R, DT_SINGLELINE);
    EXPECT_LE(InkBox().Right, 20);
    Reset(120, 60);
    C->Brush()->SetStyle(bsClear);
    R = Rect(10, 10, 20, 30);
    C->DrawText("WWWWWWWW", R, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox().Right, 20);
}

TEST_F(CanvasTextTest, ClearBrushLeavesTheBackgroundBehindText) {
    C->Brush()->SetColor(clYellow);
    C->FillRect(Rect(0, 0, 120, 60));
    const QString S = "Ab";
    const int W = C->TextWidth(S), H = C->TextHeight(S);

    C->Brush()->SetStyle(bsClear);
    C->TextOut(10, 10, S);
    int Background = 0;
    for (int Y = 10; Y < 10 + H; ++Y)
        for (int X = 10; X < 10 + W; ++X) Background += C->Pixels(X, Y) == clYellow;
    EXPECT_GT(Background, 0);
    EXPECT_EQ(C->Pixels(10, 10 + H - 1), clYellow);

    // a solid brush paints the text cell in the brush colour
    C->Brush()->SetColor(clWhite);
    C->TextOut(10, 30, S);
    EXPECT_EQ(C->Pixels(10, 30 + H - 1), clWhite);
    EXPECT_EQ(C->Pixels(10 + W - 1, 30), clWhite);
    EXPECT_EQ(C->Pixels(10 + W, 30), clYellow);
    EXPECT_EQ(C->PenPos(), Point(10 + W, 30));
}

TEST_F(CanvasTextTest, TransparentBackgroundModeHoldsUntilTheBrushChanges) {
    C->Brush()->SetColor(clYellow);
    C->FillRect(Rect(0, 0, 120, 60));
    const int H = C->TextHeight("Ab");
    C->Brush()->SetColor(clWhite);
    EXPECT_EQ(SetBkMode(C, TRANSPARENT), OPAQUE);
    C->TextOut(10, 10, "Ab");
    EXPECT_EQ(C->Pixels(10, 10 + H - 1), clYellow);
    C->Brush()->SetColor(clAqua); // a brush change brings the opaque background back
    EXPECT_EQ(C->BkMode(), OPAQUE);
    C->TextOut(10, 30, "Ab");
    EXPECT_EQ(C->Pixels(10, 30 + H - 1), clAqua);

    // clNone is "no colour": neither fills nor text backgrounds paint with it
    C->Brush()->SetColor(clNone);
    C->FillRect(Rect(60, 0, 120, 60));
    C->TextOut(70, 10, "Ab");
    EXPECT_EQ(C->Pixels(65, 5), clYellow);
    EXPECT_EQ(C->Pixels(70, 10 + H - 1), clYellow);
}

TEST_F(CanvasTextTest, MeasureOnlyCanvasMeasuresLikeADrawingOne) {
    TCanvas Measure;
    Measure.Font()->Assign(C->Font());
    EXPECT_FALSE(Measure.HandleAllocated());
    EXPECT_EQ(Measure.TextWidth("Hello world"), C->TextWidth("Hello world"));
    EXPECT_EQ(Measure.TextHeight("Hello"), C->TextHeight("Hello"));
    EXPECT_GT(Measure.TextWidth("Hello world"), Measure.TextWidth("Hello"));
    TRect R = Rect(0, 0, 50, 0);
    EXPECT_EQ(Measure.DrawText("a b c d e f g h i j k", R, DT_WORDBREAK | DT_CALCRECT) % Measure.TextHeight("x"), 0);
    Measure.FillRect(Rect(0, 0, 10, 10)); // nothing to draw on: no effect, no crash
    Measure.TextOut(0, 0, "x");

    C->Font()->SetStyle({fsBold});
    EXPECT_GT(C->TextWidth("Hello world"), Measure.TextWidth("Hello world"));
}

TEST_F(CanvasTextTest, OrientationTurnsTheTextCounterClockwise) {
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetOrientation(900);
    C->TextOut(40, 55, "Vertical");
    const TRect Ink = InkBox();
    EXPECT_GT(Ink.Height(), 2 * Ink.Width());
    EXPECT_LE(Ink.Bottom, 56); // it runs upwards from its origin
    EXPECT_GE(Ink.Left, 40);
}

TEST_F(CanvasTest, WidePensDrawSolidLines) {
    C->Pen()->SetWidth(3);
    C->Pen()->SetStyle(psDash);
    C->MoveTo(10, 10);
    C->LineTo(100, 10);
    for (int X = 12; X < 98; ++X) ASSERT_EQ(C->Pixels(X, 10), clBlack) << X;
}

// ---- pictures, clipping, edges ------------------------------------------------------------

TEST_F(CanvasTest, TransparentBitmapSkipsItsTransparentColour) {
    TBitmap Glyph(4, 4);
    Glyph.Canvas()->Brush()->SetColor(clFuchsia);
    Glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    Glyph.Canvas()->Brush()->SetColor(clBlue);
    Glyph.Canvas()->FillRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(Glyph.TransparentColor(), clFuchsia); // the bottom-left pixel

    C->Brush()->SetColor(clYellow);
    C->FillRect(Rect(0, 0, 120, 60));
    Glyph.SetTransparent(true);
    C->Draw(10, 10, &Glyph);
    EXPECT_EQ(C->Pixels(10, 10), clYellow);
    EXPECT_EQ(C->Pixels(13, 13), clYellow);
    EXPECT_EQ(C->Pixels(11, 11), clBlue);
    EXPECT_EQ(C->Pixels(12, 12), clBlue);

    // a fixed transparent colour replaces the automatic one
    Glyph.SetTransparentColor(clBlue);
    EXPECT_EQ(Glyph.TransparentMode(), tmFixed);
    C->Draw(30, 10, &Glyph);
    EXPECT_EQ(C->Pixels(30, 10), clFuchsia);
    EXPECT_EQ(C->Pixels(31, 11), clYellow);

    Glyph.SetTransparent(false);
    C->Draw(50, 10, &Glyph);
    EXPECT_EQ(C->Pixels(50, 10), clFuchsia);
}

TEST_F(CanvasTest, StretchDrawScalesToTheRect) {
    TBitmap Src(2, 2);
    Src.Canvas()->Brush()->SetColor(clRed);
    Src.Canvas()->FillRect(Rect(0, 0, 2, 2));
    C->StretchDraw(Rect(10, 10, 30, 20), &Src);
    EXPECT_EQ(InkBox(), Rect(10, 10, 30, 20));
}

TEST_F(CanvasTest, ClippingLimitsDrawing) {
    C->SetClipRect(Rect(10, 10, 20, 20));
    EXPECT_EQ(C->ClipRect(), Rect(10, 10, 20, 20));
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 120, 60));
    EXPECT_EQ(InkBox(), Rect(10, 10, 20, 20));

    C->ResetClip();
    EXPECT_EQ(C->ClipRect(), Rect(0, 0, 120, 60));
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 120, 60));
    C->IntersectClipRect(Rect(0, 0, 50, 50));
    C->IntersectClipRect(Rect(40, 40, 100, 100));
    C->ExcludeClipRect(Rect(40, 40, 45, 50));
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 120, 60));
    EXPECT_EQ(InkBox(), Rect(45, 40, 50, 50));
}

TEST_F(CanvasTest, FloodFillStopsAtTheBorderColour) {
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(clGray);
    C->Rectangle(10, 10, 30, 25);
    C->Brush()->SetColor(clRed);
    C->FloodFill(20, 15, clGray, TCanvas::fsBorder);
    EXPECT_EQ(InkBox(), Rect(10, 10, 30, 25));
    EXPECT_EQ(C->Pixels(11, 11), clRed);
    EXPECT_EQ(C->Pixels(28, 23), clRed);
    EXPECT_EQ(C->Pixels(10, 10), clGray);

    // fsSurface fills the connected area of the given colour: here all the white outside
    C->Brush()->SetColor(clBlue);
    C->FloodFill(0, 0, clWhite, TCanvas::fsSurface);
    EXPECT_EQ(C->Pixels(119, 59), clBlue);
    EXPECT_EQ(C->Pixels(20, 15), clRed);
    C->FloodFill(10, 10, clWhite, TCanvas::fsSurface); // not white there: nothing
    EXPECT_EQ(C->Pixels(10, 10), clGray);
}

TEST_F(CanvasTest, PixelsReadBackWhatWasSet) {
    C->SetPixels(3, 4, RGB(10, 20, 30));
    EXPECT_EQ(C->Pixels(3, 4), RGB(10, 20, 30));
    EXPECT_EQ(C->Pixels(-1, 0), -1);
    EXPECT_EQ(C->Pixels(120, 0), -1);
    C->SetPixels(5, 5, clBtnFace); // system colours resolve through the palette
    EXPECT_EQ(C->Pixels(5, 5), 0xF0F0F0);
}

TEST_F(CanvasTest, CopyRectCopiesFromAnotherCanvas) {
    TBitmap Src(10, 10);
    Src.Canvas()->Brush()->SetColor(clGreen);
    Src.Canvas()->FillRect(Rect(0, 0, 10, 10));
    Src.Canvas()->SetPixels(2, 3, clRed);
    C->CopyRect(Rect(20, 20, 25, 25), Src.Canvas(), Rect(0, 0, 5, 5));
    EXPECT_EQ(InkBox(), Rect(20, 20, 25, 25));
    EXPECT_EQ(C->Pixels(22, 23), clRed);
    EXPECT_EQ(C->Pixels(21, 23), clGreen);

    // within one canvas (a picture shifted inside itself), and by copy mode
    C->CopyRect(Rect(21, 21, 26, 26), C, Rect(20, 20, 25, 25));
    EXPECT_EQ(C->Pixels(23, 24), clRed);
    C->SetCopyMode(cmSrcInvert);
    C->CopyRect(Rect(40, 20, 45, 25), Src.Canvas(), Rect(0, 0, 5, 5));
    EXPECT_EQ(C->Pixels(40, 20), RGB(255, 127, 255)); // white xor green
    C->SetCopyMode(cmSrcCopy);
}

TEST_F(CanvasTest, DrawEdgeRaisedAndSunkenWithAdjust) {
    TRect R = Rect(10, 10, 30, 30);
    C->DrawEdge(R, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(R, Rect(12, 12, 28, 28));
    EXPECT_EQ(C->Pixels(10, 10), ColorToRGB(cl3DLight));
    EXPECT_EQ(C->Pixels(29, 29), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(C->Pixels(11, 11), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(C->Pixels(28, 28), ColorToRGB(clBtnShadow));
    EXPECT_EQ(C->Pixels(20, 20), clWhite);

    TRect S = Rect(40, 10, 60, 30);
    C->DrawEdge(S, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(S, Rect(40, 10, 60, 30));
    EXPECT_EQ(C->Pixels(40, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(C->Pixels(59, 29), ColorToRGB(clBtnHighlight));
}

TEST_F(CanvasTest, FrameControlCheckBoxShowsTheTickOnlyWhenChecked) {
    TRect R = Rect(10, 10, 23, 23);
    C->DrawFrameControl(R, DFC_BUTTON, DFCS_BUTTONCHECK);
    int Dark = 0;
    for (int Y = 12; Y < 21; ++Y)
        for (int X = 12; X < 21; ++X) Dark += C->Pixels(X, Y) == clBlack;
    EXPECT_EQ(Dark, 0);
    TRect R2 = Rect(40, 10, 53, 23);
    C->DrawFrameControl(R2, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    for (int Y = 12; Y < 21; ++Y)
        for (int X = 42; X < 51; ++X) Dark += C->Pixels(X, Y) == clBlack;
    EXPECT_GT(Dark, 5);
}

TEST_F(CanvasTest, Frame3DShrinksByItsWidth) {
    TRect R = Rect(5, 5, 25, 25);
    Frame3D(C, R, clWhite, clBlack, 2);
    EXPECT_EQ(R, Rect(7, 7, 23, 23));
    EXPECT_EQ(C->Pixels(24, 24), clBlack);
    EXPECT_EQ(C->Pixels(23, 23), clBlack);
    EXPECT_EQ(C->Pixels(24, 5), clBlack); // the top-right corner belongs to the bottom colour
}

TEST_F(CanvasTest, PolygonAndEllipseStayInsideTheirBox) {
    C->Brush()->SetColor(clRed);
    C->Pen()->SetColor(clBlack);
    C->Ellipse(10, 10, 30, 20);
    EXPECT_EQ(InkBox(), Rect(10, 10, 30, 20));
    Reset(120, 60);
    C->Brush()->SetColor(clRed);
    C->Polygon({Point(10, 10), Point(30, 10), Point(20, 20)});
    const TRect Ink = InkBox();
    EXPECT_EQ(Ink.Left, 10);
    EXPECT_EQ(Ink.Top, 10);
    EXPECT_LE(Ink.Right, 31);
    EXPECT_LE(Ink.Bottom, 21);
    EXPECT_EQ(C->Pixels(20, 13), clRed);
}

TEST_F(CanvasTest, CurvedShapesWithoutPenFillOnePixelShortLikeRectangle) {
    const std::vector<std::pair<const char*, std::function<void(TCanvas*)>>> Shapes = {
        {"Ellipse", [](TCanvas* K) { K->Ellipse(10, 10, 30, 20); }},
        {"RoundRect", [](TCanvas* K) { K->RoundRect(10, 10, 30, 20, 4, 4); }},
        {"Rectangle", [](TCanvas* K) { K->Rectangle(10, 10, 30, 20); }},
    };
    for (const auto& [Name, Draw] : Shapes) {
        Reset(120, 60);
        C->Brush()->SetColor(clRed);
        C->Pen()->SetStyle(psClear);
        Draw(C);
        EXPECT_EQ(InkBox(), Rect(10, 10, 29, 19)) << Name;
        EXPECT_EQ(C->Pixels(10, 15), clRed) << Name;
    }
}

// Neighbouring filled polygons, each outlined in its own colour (as a colour panel of cells is
// drawn), leave no background between them: whichever way an edge is walked, the outline pixels
// are the same, and the fill reaches the outline.
struct TPolygonPairCase {
    const char* Name;
    std::vector<TPoint> A, B;
    bool Pen; // outlined in the fill colour, or filled only
    // the probe: from From to To (a straight line) every pixel belongs to one of the polygons
    TPoint From, To;
    int Across; // the probe is repeated this many pixels to the side (perpendicular)
};

void PrintTo(const TPolygonPairCase& C, std::ostream* Os) { *Os << C.Name; }

std::vector<TPoint> Hexagon(int X, int Y, int A = 6, int B = 3) {
    return {Point(X - A, Y - B), Point(X, Y - 2 * B), Point(X + A, Y - B),
            Point(X + A, Y + B), Point(X, Y + 2 * B), Point(X - A, Y + B)};
}

std::vector<TPoint> Reversed(std::vector<TPoint> P) {
    std::reverse(P.begin(), P.end());
    return P;
}

class CanvasPolygonPair : public CanvasTest, public ::testing::WithParamInterface<TPolygonPairCase> {};

TEST_P(CanvasPolygonPair, NoBackgroundBetweenNeighbours) {
    const TPolygonPairCase& P = GetParam();
    for (const auto& [Shape, Colour] : {std::pair{&P.A, clRed}, std::pair{&P.B, clBlue}}) {
        C->Brush()->SetColor(Colour);
        C->Pen()->SetColor(Colour);
        C->Pen()->SetStyle(P.Pen ? psSolid : psClear);
        C->Polygon(std::span<const TPoint>(*Shape));
    }
    const bool Vertical = P.From.X == P.To.X;
    for (int K = 0; K < P.Across; ++K) {
        const int N = Vertical ? P.To.Y - P.From.Y : P.To.X - P.From.X;
        for (int I = 0; I <= N; ++I) {
            const int X = Vertical ? P.From.X + K : P.From.X + I, Y = Vertical ? P.From.Y + I : P.From.Y + K;
            ASSERT_NE(C->Pixels(X, Y), clWhite) << "a gap at " << X << ", " << Y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasPolygonPair,
    ::testing::Values(
        // cells of a hexagon panel: rows 10 apart, shifted by half a cell
        TPolygonPairCase{"HexagonBelowRight", Hexagon(20, 20), Hexagon(26, 30), true, Point(20, 20), Point(20, 30), 7},
        TPolygonPairCase{"HexagonBelowLeft", Hexagon(26, 20), Hexagon(20, 30), true, Point(20, 20), Point(20, 30), 7},
        TPolygonPairCase{"HexagonSideBySide", Hexagon(20, 20), Hexagon(32, 20), true, Point(20, 18), Point(32, 18), 5},
        TPolygonPairCase{"HexagonWalkedTheOtherWay", Reversed(Hexagon(20, 20)), Hexagon(26, 30), true, Point(20, 20),
                         Point(20, 30), 7},
        TPolygonPairCase{"WideHexagonsBelowRight", Hexagon(30, 20, 10, 5), Hexagon(40, 36, 10, 5), true, Point(30, 20),
                         Point(30, 36), 11},
        TPolygonPairCase{"TrianglesSharingADiagonal",
                         {Point(10, 10), Point(47, 10), Point(10, 29)},
                         {Point(47, 10), Point(47, 29), Point(10, 29)},
                         true,
                         Point(11, 10),
                         Point(11, 29),
                         36},
        TPolygonPairCase{"TrianglesSharingADiagonalWalkedApart",
                         {Point(10, 10), Point(47, 10), Point(10, 29)},
                         {Point(10, 29), Point(47, 29), Point(47, 10)},
                         true,
                         Point(11, 10),
                         Point(11, 29),
                         36},
        TPolygonPairCase{"TrianglesSharingADiagonalWithoutPen",
                         {Point(10, 10), Point(47, 10), Point(10, 29)},
                         {Point(47, 10), Point(47, 29), Point(10, 29)},
                         false,
                         Point(11, 11),
                         Point(11, 27),
                         35}),
    [](const ::testing::TestParamInfo<TPolygonPairCase>& I) { return std::string(I.param.Name); });

// A polygon outlined in its fill colour is solid: the fill reaches the outline on every side.
TEST_F(CanvasTest, OutlinedPolygonHasNoHoleBetweenFillAndOutline) {
    for (const auto& Shape : {Hexagon(30, 30, 6, 3), Hexagon(30, 30, 10, 5), Hexagon(30, 30, 9, 7),
                              std::vector<TPoint>{Point(10, 10), Point(50, 17), Point(23, 50)}}) {
        Reset(120, 60);
        C->Brush()->SetColor(clRed);
        C->Pen()->SetColor(clBlack);
        C->Polygon(std::span<const TPoint>(Shape));
        // every white pixel must reach the bitmap's border: none is shut in by the shape
        TBitmap& B = *Bmp;
        std::vector<char> Out(size_t(B.Width() * B.Height()), 0);
        std::vector<TPoint> Stack;
        auto Push = [&](int X, int Y) {
            if (X < 0 || Y < 0 || X >= B.Width() || Y >= B.Height()) return;
            char& O = Out[size_t(Y * B.Width() + X)];
            if (O || C->Pixels(X, Y) != clWhite) return;
            O = 1;
            Stack.push_back(Point(X, Y));
        };
        for (int X = 0; X < B.Width(); ++X) Push(X, 0), Push(X, B.Height() - 1);
        for (int Y = 0; Y < B.Height(); ++Y) Push(0, Y), Push(B.Width() - 1, Y);
        while (!Stack.empty()) {
            const TPoint P = Stack.back();
            Stack.pop_back();
            Push(P.X + 1, P.Y), Push(P.X - 1, P.Y), Push(P.X, P.Y + 1), Push(P.X, P.Y - 1);
        }
        int ShutIn = 0;
        for (int Y = 0; Y < B.Height(); ++Y)
            for (int X = 0; X < B.Width(); ++X) ShutIn += C->Pixels(X, Y) == clWhite && !Out[size_t(Y * B.Width() + X)];
        EXPECT_EQ(ShutIn, 0) << Shape.size() << " corners";
    }
}

// ---- widgets and other devices ---------------------------------------------------------------

class TCanvasWidget : public QWidget {
public:
    std::function<void(TCanvas*)> OnPaint;
    bool PresetClip = false;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        if (PresetClip) P.setClipRect(0, 0, 25, 30); // what the caller's painter came with
        TCanvas Canvas;
        Canvas.AttachPainter(&P);
        if (OnPaint) OnPaint(&Canvas);
        Canvas.EndPaint();
    }
};

TEST(CanvasDeviceTest, AttachedToAWidgetPainterItDrawsAndKeepsTheCallersClip) {
    TCanvasWidget W;
    W.resize(50, 30);
    W.OnPaint = [](TCanvas* C) {
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 50, 30));
        C->Brush()->SetColor(clRed);
        C->SetClipRect(Rect(10, 0, 40, 30));
        C->FillRect(Rect(0, 0, 50, 10));
        C->ResetClip();
        C->Pen()->SetColor(clBlue);
        C->MoveTo(0, 20);
        C->LineTo(50, 20);
    };
    QImage Shot = W.grab().toImage();
    EXPECT_EQ(QColor(Shot.pixel(5, 5)), QColor(Qt::white));
    EXPECT_EQ(QColor(Shot.pixel(15, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(Shot.pixel(45, 5)), QColor(Qt::white));
    EXPECT_EQ(QColor(Shot.pixel(45, 20)), QColor(Qt::blue));

    W.PresetClip = true;
    Shot = W.grab().toImage();
    EXPECT_EQ(QColor(Shot.pixel(15, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(Shot.pixel(20, 20)), QColor(Qt::blue));
    EXPECT_NE(QColor(Shot.pixel(30, 5)), QColor(Qt::red)); // the caller's clip still holds
    EXPECT_NE(QColor(Shot.pixel(45, 20)), QColor(Qt::blue)); // even after ResetClip
}

TEST(CanvasDeviceTest, BeginPaintOnAnImageAndEndPaint) {
    QImage Img(20, 10, QImage::Format_RGB32);
    Img.fill(Qt::white);
    TCanvas C;
    C.BeginPaintOn(&Img);
    EXPECT_TRUE(C.HandleAllocated());
    EXPECT_EQ(C.ClipRect(), Rect(0, 0, 20, 10));
    C.Brush()->SetColor(clGreen);
    C.FillRect(Rect(2, 2, 4, 4));
    EXPECT_EQ(C.Pixels(3, 3), clGreen); // read back through the painter's image
    C.EndPaint();
    EXPECT_FALSE(C.HandleAllocated());
    EXPECT_EQ(QColor(Img.pixel(3, 3)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(Img.pixel(4, 4)), QColor(Qt::white));
    C.FillRect(Rect(0, 0, 20, 10)); // after EndPaint nothing is drawn
    EXPECT_EQ(QColor(Img.pixel(0, 0)), QColor(Qt::white));
}

} // namespace

namespace {
class CanvasWidePenTest : public CanvasTest {};
} // namespace

// Grid lines of width w are drawn (w + 1) / 2 pixels inside a cell's right and bottom edges, so
// a wide pen must lie centred on its line: width 3 at x covers x - 1 .. x + 1.
TEST_F(CanvasWidePenTest, AThreePixelPenIsCentredOnItsLine) {
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(3);
    C->MoveTo(50, 50); // a right line, drawn upwards
    C->LineTo(50, 10);
    C->MoveTo(10, 30); // a bottom line
    C->LineTo(40, 30);
    for (int Y = 15; Y < 45; ++Y) {
        EXPECT_EQ(C->Pixels(48, Y), clWhite) << Y;
        for (int X = 49; X <= 51; ++X) EXPECT_EQ(C->Pixels(X, Y), clBlack) << X << "," << Y;
        EXPECT_EQ(C->Pixels(52, Y), clWhite) << Y;
    }
    for (int X = 15; X < 35; ++X) {
        EXPECT_EQ(C->Pixels(X, 28), clWhite) << X;
        for (int Y = 29; Y <= 31; ++Y) EXPECT_EQ(C->Pixels(X, Y), clBlack) << X << "," << Y;
        EXPECT_EQ(C->Pixels(X, 32), clWhite) << X;
    }
}
