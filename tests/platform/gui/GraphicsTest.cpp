// Colours, rectangles and the drawing tools (font, pen, brush).
#include "platform/gui/Graphics.h"

#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

TEST(GraphicsColorTest, ColorToRGBResolvesSystemColoursThroughThePalette) {
    struct Case {
        TColor In;
        int Out;
    };
    const Case Cases[] = {
        {clBtnFace, 0xF0F0F0},   {clWindow, 0xFFFFFF},        {clWindowText, 0x000000}, {clInfoBk, 0xE1FFFF},
        {clBtnShadow, 0xA0A0A0}, {clHighlightText, 0xFFFFFF}, {clRed, 0x0000FF},        {RGB(1, 2, 3), 0x030201},
        {15595512, 15595512},    {TColor(0xFF0000FFu), 0}, // an index outside the palette
    };
    for (const Case& K : Cases) EXPECT_EQ(ColorToRGB(K.In), K.Out) << std::hex << K.In;
    EXPECT_EQ(clBtnFace, TColor(0xFF00000F));
    EXPECT_EQ(clNone, 0x1FFFFFFF);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(FromQColor(QColor(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(RGB(1, 2, 3)), "$00030201");
}

TEST(GraphicsRectTest, RectHelpersUseExclusiveRightAndBottom) {
    TRect D;
    EXPECT_TRUE(IntersectRect(D, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
    EXPECT_EQ(D, Rect(5, 5, 10, 10));
    D = Rect(1, 2, 3, 4);
    EXPECT_FALSE(IntersectRect(D, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10))); // touching only
    EXPECT_EQ(D, TRect{});

    EXPECT_TRUE(PtInRect(Rect(0, 0, 10, 10), Point(0, 0)));
    EXPECT_TRUE(PtInRect(Rect(0, 0, 10, 10), Point(9, 9)));
    EXPECT_FALSE(PtInRect(Rect(0, 0, 10, 10), Point(10, 5)));
    EXPECT_FALSE(PtInRect(Rect(0, 0, 10, 10), Point(5, 10)));

    TRect R = Rect(10, 10, 20, 30);
    InflateRect(R, 2, -3);
    EXPECT_EQ(R, Rect(8, 13, 22, 27));
    OffsetRect(R, -8, 1);
    EXPECT_EQ(R, Rect(0, 14, 14, 28));
    EXPECT_EQ(R.Width(), 14);
    EXPECT_EQ(Bounds(5, 6, 10, 20), Rect(5, 6, 15, 26));
    EXPECT_TRUE(UnionRect(D, Rect(0, 0, 5, 5), Rect(10, 10, 12, 12)));
    EXPECT_EQ(D, Rect(0, 0, 12, 12));
}

TEST(GraphicsFontTest, SizeAndHeightConvertAtNinetySixDpi) {
    struct Case {
        int Size;
        int Height;
    };
    const Case Cases[] = {{8, -11}, {9, -12}, {10, -13}, {11, -15}, {12, -16}, {14, -19}, {16, -21}};
    for (const Case& K : Cases) {
        TFont F;
        F.SetSize(K.Size);
        EXPECT_EQ(F.Height(), K.Height) << K.Size;
        EXPECT_EQ(F.Size(), K.Size) << K.Size;
        EXPECT_EQ(F.ToQFont().pixelSize(), -K.Height);
    }
}

TEST(GraphicsFontTest, WindowsFontNamesMapToInstalledFaces) {
    struct Case {
        const char* Windows;
        const char* Linux;
    };
    const Case Cases[] = {
        {"Verdana", "DejaVu Sans"},  {"Tahoma", "DejaVu Sans"},    {"MS Sans Serif", "DejaVu Sans"},
        {"Segoe UI", "DejaVu Sans"}, {"arial", "Liberation Sans"}, {"Courier New", "Liberation Mono"},
    };
    for (const Case& K : Cases) {
        EXPECT_EQ(MapFontName(K.Windows), K.Linux) << K.Windows;
        TFont F;
        F.SetName(K.Windows);
        // the face is really there: the font the painter gets is the mapped one
        EXPECT_EQ(QFontInfo(F.ToQFont()).family(), K.Linux) << K.Windows;
    }
    EXPECT_EQ(MapFontName("DejaVu Serif"), "DejaVu Serif"); // other names are kept
}

TEST(GraphicsFontTest, StylesAreASet) {
    TFontStyles S{fsBold};
    EXPECT_TRUE(S.Contains(fsBold));
    EXPECT_FALSE(S.Contains(fsItalic));
    S = S + fsItalic;
    EXPECT_EQ(S, (TFontStyles{fsBold, fsItalic}));
    S = S - TFontStyles{fsBold};
    EXPECT_EQ(S, TFontStyles{fsItalic});
    EXPECT_TRUE((S * TFontStyles{fsBold}).Empty());

    TFont F;
    F.SetStyle({fsBold, fsUnderline});
    const QFont Q = F.ToQFont();
    EXPECT_TRUE(Q.bold());
    EXPECT_TRUE(Q.underline());
    EXPECT_FALSE(Q.italic());
}

TEST(GraphicsFontTest, ChangesNotifyOnceAndAssignCopiesEverything) {
    TFont A;
    int Changes = 0;
    A.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &A);
        ++Changes;
    };
    A.SetName("Arial");
    A.SetName("Arial"); // no change, no event
    A.SetColor(clRed);
    A.SetStyle({fsItalic});
    EXPECT_EQ(Changes, 3);

    TFont B;
    B.Assign(&A);
    EXPECT_EQ(B.Name(), "Arial");
    EXPECT_EQ(B.Color(), clRed);
    EXPECT_EQ(B.Style(), TFontStyles{fsItalic});
    EXPECT_EQ(B.Height(), A.Height());

    TPen P;
    B.Assign(&P); // another class is ignored
    EXPECT_EQ(B.Name(), "Arial");
}

TEST(GraphicsToolsTest, PenAndBrushDefaultsAndAssign) {
    TPen P;
    EXPECT_EQ(P.Color(), clBlack);
    EXPECT_EQ(P.Width(), 1);
    EXPECT_EQ(P.Style(), psSolid);
    EXPECT_EQ(P.Mode(), pmCopy);
    P.SetWidth(0);
    EXPECT_EQ(P.Width(), 1);
    TBrush B;
    EXPECT_EQ(B.Color(), clWhite);
    B.SetStyle(bsClear);
    B.SetColor(clRed); // a colour makes a clear brush solid again
    EXPECT_EQ(B.Style(), bsSolid);
    TBrush B2;
    B2.SetStyle(bsClear);
    B.Assign(&B2);
    EXPECT_EQ(B.Style(), bsClear);
    EXPECT_EQ(B.Color(), clWhite);
}

} // namespace
