// The theme painter: the global switch, every part in every state, the visual-styles numbering.
#include "platform/gui/Themes.h"

#include <gtest/gtest.h>

namespace {

class ThemesTest : public ::testing::Test {
protected:
    void SetUp() override { SetThemesActive(true); }
    void TearDown() override { SetThemesActive(true); }

    // A fresh white 60 x 40 bitmap with one part drawn at (10,10,50,30).
    QImage Draw(TThemedPart Part, TThemedState State, TThemedCheck Check = tcUnchecked) {
        TBitmap B(60, 40);
        B.Canvas()->Brush()->SetColor(clWhite);
        B.Canvas()->FillRect(Rect(0, 0, 60, 40));
        EXPECT_TRUE(DrawThemedPart(B.Canvas(), Part, State, Rect(10, 10, 50, 30), Check));
        return B.Image().copy();
    }

    static TRect Ink(const QImage& Img) {
        TRect R{Img.width(), Img.height(), 0, 0};
        for (int Y = 0; Y < Img.height(); ++Y)
            for (int X = 0; X < Img.width(); ++X)
                if ((Img.pixel(X, Y) & 0xFFFFFF) != 0xFFFFFF) {
                    R.Left = std::min(R.Left, X);
                    R.Top = std::min(R.Top, Y);
                    R.Right = std::max(R.Right, X + 1);
                    R.Bottom = std::max(R.Bottom, Y + 1);
                }
        return R.IsEmpty() ? TRect{} : R;
    }
};

TEST_F(ThemesTest, EveryPartDrawsInsideItsRectInEveryState) {
    const TThemedPart Parts[] = {
        TThemedPart::CheckBox,        TThemedPart::RadioButton,      TThemedPart::PushButton,
        TThemedPart::HeaderItem,      TThemedPart::ComboDropButton,  TThemedPart::SpinUp,
        TThemedPart::SpinDown,        TThemedPart::ProgressBar,      TThemedPart::ProgressChunk,
        TThemedPart::ProgressBarVert, TThemedPart::ProgressChunkVert};
    for (TThemedPart P : Parts)
        for (TThemedState S : {tsNormal, tsHot, tsPressed, tsDisabled}) {
            const TRect R = Ink(Draw(P, S));
            EXPECT_FALSE(R.IsEmpty()) << int(P) << "/" << S;
            EXPECT_GE(R.Left, 10) << int(P) << "/" << S;
            EXPECT_GE(R.Top, 10) << int(P) << "/" << S;
            EXPECT_LE(R.Right, 50) << int(P) << "/" << S;
            EXPECT_LE(R.Bottom, 30) << int(P) << "/" << S;
        }
}

TEST_F(ThemesTest, StatesLookDifferent) {
    EXPECT_NE(Draw(TThemedPart::CheckBox, tsNormal, tcChecked), Draw(TThemedPart::CheckBox, tsNormal));
    EXPECT_NE(Draw(TThemedPart::CheckBox, tsNormal, tcMixed), Draw(TThemedPart::CheckBox, tsNormal, tcChecked));
    EXPECT_NE(Draw(TThemedPart::CheckBox, tsDisabled, tcChecked), Draw(TThemedPart::CheckBox, tsNormal, tcChecked));
    EXPECT_NE(Draw(TThemedPart::RadioButton, tsNormal, tcChecked), Draw(TThemedPart::RadioButton, tsNormal));
    EXPECT_NE(Draw(TThemedPart::PushButton, tsPressed), Draw(TThemedPart::PushButton, tsNormal));
    EXPECT_NE(Draw(TThemedPart::SpinUp, tsNormal), Draw(TThemedPart::SpinDown, tsNormal));
}

TEST_F(ThemesTest, CheckBoxKeepsItsNaturalSizeCentred) {
    const TSize N = ThemedPartSize(TThemedPart::CheckBox);
    ASSERT_GT(N.cx, 6);
    ASSERT_GT(N.cy, 6);
    const TRect R = Ink(Draw(TThemedPart::CheckBox, tsNormal, tcChecked));
    EXPECT_LE(R.Width(), N.cx);
    EXPECT_LE(R.Height(), N.cy);
    EXPECT_NEAR((R.Left + R.Right) / 2.0, 30, 1.5);
    EXPECT_NEAR((R.Top + R.Bottom) / 2.0, 20, 1.5);
}

TEST_F(ThemesTest, GlobalSwitchControlsOpeningThemeData) {
    HTHEME T = OpenThemeData(nullptr, "Button");
    ASSERT_NE(T, nullptr);
    CloseThemeData(T);
    EXPECT_EQ(OpenThemeData(nullptr, "window"), nullptr);
    T = OpenThemeData(nullptr, "unknown; COMBOBOX");
    EXPECT_NE(T, nullptr);
    CloseThemeData(T);

    SetThemesActive(false);
    EXPECT_FALSE(ThemesActive());
    EXPECT_FALSE(IsThemeActive());
    EXPECT_EQ(OpenThemeData(nullptr, "button"), nullptr);
}

TEST_F(ThemesTest, VisualStylesNumberingSelectsPartAndState) {
    HTHEME Button = OpenThemeData(nullptr, "button");
    HTHEME Spin = OpenThemeData(nullptr, "spin");
    TBitmap A(60, 40), B(60, 40);
    for (TBitmap* Bmp : {&A, &B}) {
        Bmp->Canvas()->Brush()->SetColor(clWhite);
        Bmp->Canvas()->FillRect(Rect(0, 0, 60, 40));
    }
    EXPECT_TRUE(DrawThemeBackground(Button, A.Canvas(), BP_CHECKBOX, CBS_CHECKEDHOT, Rect(10, 10, 50, 30)));
    EXPECT_TRUE(DrawThemedPart(B.Canvas(), TThemedPart::CheckBox, tsHot, Rect(10, 10, 50, 30), tcChecked));
    EXPECT_EQ(A.Image(), B.Image());

    EXPECT_FALSE(DrawThemeBackground(Button, A.Canvas(), BP_CHECKBOX, 13, Rect(0, 0, 10, 10)));
    EXPECT_FALSE(DrawThemeBackground(Button, A.Canvas(), 9, 1, Rect(0, 0, 10, 10)));
    EXPECT_FALSE(DrawThemeBackground(Spin, A.Canvas(), BP_CHECKBOX + 5, 1, Rect(0, 0, 10, 10)));
    EXPECT_FALSE(DrawThemeBackground(nullptr, A.Canvas(), 1, 1, Rect(0, 0, 10, 10)));

    TSize S;
    EXPECT_TRUE(GetThemePartSize(Button, A.Canvas(), BP_RADIOBUTTON, RBS_CHECKEDNORMAL, S));
    EXPECT_EQ(S, ThemedPartSize(TThemedPart::RadioButton));

    // a clip rectangle limits the drawing
    TBitmap C(60, 40);
    C.Canvas()->Brush()->SetColor(clWhite);
    C.Canvas()->FillRect(Rect(0, 0, 60, 40));
    const TRect Clip = Rect(10, 10, 30, 30);
    EXPECT_TRUE(DrawThemeBackground(Button, C.Canvas(), BP_PUSHBUTTON, PBS_NORMAL, Rect(10, 10, 50, 30), &Clip));
    EXPECT_LE(Ink(C.Image()).Right, 30);
    CloseThemeData(Button);
    CloseThemeData(Spin);
}

TEST_F(ThemesTest, MeasureOnlyCanvasDrawsNothing) {
    TCanvas Measure;
    EXPECT_FALSE(DrawThemedPart(&Measure, TThemedPart::PushButton, tsNormal, Rect(0, 0, 10, 10)));
}

} // namespace
