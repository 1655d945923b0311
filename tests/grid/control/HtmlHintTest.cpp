// The mini-HTML hint window: measuring, margins, placement inside the screen, the grid's images,
// and the cell hint choosing it for markup and wide texts.
#include "grid/control/HtmlHint.h"

#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGridUnit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "tests/grid/control/GridNavFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <ostream>

namespace {

// ---- placement inside the available area -------------------------------------------------------------
struct PlaceCase {
    const char* Name;
    TRect Area;
    TRect In;
    TRect Out;
};
void PrintTo(const PlaceCase& C, std::ostream* Os) { *Os << C.Name; }

class HintPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(HintPlacement, StaysInsideTheAreaOnEverySide) {
    const PlaceCase& C = GetParam();
    const TRect R = THTMLHintWindow::PlaceInArea(C.In, C.Area);
    EXPECT_EQ(R.Left, C.Out.Left);
    EXPECT_EQ(R.Top, C.Out.Top);
    EXPECT_EQ(R.Right, C.Out.Right);
    EXPECT_EQ(R.Bottom, C.Out.Bottom);
    EXPECT_EQ(R.Width(), C.In.Width());
    EXPECT_EQ(R.Height(), C.In.Height());
}

// An 800 x 600 screen, and one that starts at (1000, 100) beside it.
constexpr TRect Scr{0, 0, 800, 600};
constexpr TRect Second{1000, 100, 1800, 700};
INSTANTIATE_TEST_SUITE_P(
    Edges, HintPlacement,
    ::testing::Values(PlaceCase{"InsideStays", Scr, {100, 100, 200, 120}, {100, 100, 200, 120}},
                      PlaceCase{"RightEdgeEndsTwoPixelsBefore", Scr, {750, 100, 850, 120}, {698, 100, 798, 120}},
                      PlaceCase{"JustFitsOnTheRightStays", Scr, {700, 100, 800, 120}, {700, 100, 800, 120}},
                      PlaceCase{"BottomEdgeEndsTwoPixelsAbove", Scr, {100, 590, 200, 610}, {100, 578, 200, 598}},
                      PlaceCase{"BottomRightCorner", Scr, {790, 595, 890, 615}, {698, 578, 798, 598}},
                      PlaceCase{"LeftOfTheScreenStartsAtItsEdge", Scr, {-50, 100, 50, 120}, {0, 100, 100, 120}},
                      PlaceCase{"AboveTheScreenStartsAtItsEdge", Scr, {100, -30, 200, -10}, {100, 0, 200, 20}},
                      PlaceCase{"TopLeftCorner", Scr, {-5, -5, 95, 15}, {0, 0, 100, 20}},
                      PlaceCase{"WiderThanTheScreenStartsAtTheLeft", Scr, {300, 100, 1300, 120}, {0, 100, 1000, 120}},
                      PlaceCase{"SecondScreenRightEdge", Second, {1750, 200, 1850, 220}, {1698, 200, 1798, 220}},
                      PlaceCase{"SecondScreenTopEdge", Second, {1200, 50, 1300, 70}, {1200, 100, 1300, 120}}),
    [](const ::testing::TestParamInfo<PlaceCase>& I) { return std::string(I.param.Name); });

// ---- measuring and showing ---------------------------------------------------------------------------
class HtmlHint : public ::testing::Test {
protected:
    void SetUp() override { W = std::make_unique<THTMLHintWindow>(nullptr); }
    void TearDown() override { HintFontName.clear(); }
    std::unique_ptr<THTMLHintWindow> W;
};

TEST_F(HtmlHint, MarginsAreSixteenForMarkupAndEightForWideText) {
    W->ActivateHint(Rect(10, 10, 11, 11), "plain words");
    EXPECT_GT(W->TextWidth(), 0);
    EXPECT_EQ(W->Width(), W->TextWidth() + 16);
    EXPECT_EQ(W->Height(), W->TextHeight() + 4);
    EXPECT_TRUE(W->isVisible());

    const QString Wide = EncodeWideCellText(QString::fromUtf8("Größe Ω"));
    W->ActivateHint(Rect(10, 10, 11, 11), Wide);
    EXPECT_EQ(W->WideCaption(), QString::fromUtf8("Größe Ω"));
    EXPECT_EQ(W->Width(), W->TextWidth() + 8);
    EXPECT_EQ(W->Height(), W->TextHeight() + 4);
}

TEST_F(HtmlHint, MarkupWrapsAtTheMeasuringWidthAndWideTextNever) {
    QString Long;
    for (int i = 0; i < 80; ++i) Long += "<b>word</b> ";
    const TRect Narrow = W->CalcHintRect(200, Long, nullptr);
    const TRect Measured = W->CalcHintRect(THTMLHintWindow::MeasureWidth, Long, nullptr);
    EXPECT_LE(Narrow.Right, 200);
    EXPECT_LE(Measured.Right, THTMLHintWindow::MeasureWidth);
    EXPECT_GT(Narrow.Bottom, Measured.Bottom); // more lines when narrower
    // the window measures in 1008 pixels, whatever width it is offered
    W->ActivateHint(Rect(0, 0, 1, 1), Long);
    EXPECT_EQ(W->TextHeight(), Measured.Bottom);

    QString LongWide;
    for (int i = 0; i < 40; ++i) LongWide += QString::fromUtf8("wörd ");
    const TRect OneLine = W->CalcHintRect(100, EncodeWideCellText(LongWide), nullptr);
    const TRect Short = W->CalcHintRect(100, EncodeWideCellText("x"), nullptr);
    EXPECT_GT(OneLine.Right, 100);
    EXPECT_EQ(OneLine.Bottom, Short.Bottom);
}

TEST_F(HtmlHint, WideTextIsMeasuredInTheGridFont) {
    const QString Text = EncodeWideCellText("MMMMMMMMMM");
    HintFontName = "Courier New";
    W->Font()->SetSize(20);
    const int Big = W->CalcHintRect(1008, Text, nullptr).Right;
    W->Font()->SetSize(8);
    EXPECT_GT(Big, W->CalcHintRect(1008, Text, nullptr).Right);
}

TEST_F(HtmlHint, ShownNearTheScreenEdgesStaysOnTheScreen) {
    const TRect Area = THTMLHintWindow::ScreenAreaAt(TPoint{10, 10});
    ASSERT_FALSE(Area.IsEmpty());
    W->ActivateHint(Rect(Area.Right - 5, Area.Bottom - 5, Area.Right, Area.Bottom), "near the corner");
    EXPECT_EQ(W->Left() + W->Width(), Area.Right - 2);
    EXPECT_EQ(W->Top() + W->Height(), Area.Bottom - 2);
    W->ActivateHint(Rect(Area.Left - 40, Area.Top - 40, Area.Left, Area.Top), "off the top left");
    EXPECT_EQ(W->Left(), Area.Left);
    EXPECT_EQ(W->Top(), Area.Top);
}

TEST_F(HtmlHint, TakesImagesOnlyFromAGrid) {
    TExtStringGrid G(nullptr);
    TImageList Images(nullptr);
    G.SetGridImages(&Images);
    TStringList NotAGrid;
    W->ActivateHintData(Rect(0, 0, 1, 1), "x", static_cast<TObject*>(&NotAGrid));
    EXPECT_EQ(W->Images(), nullptr);
    W->ActivateHintData(Rect(0, 0, 1, 1), "x", static_cast<TObject*>(&G));
    EXPECT_EQ(W->Images(), &Images);
    W->ActivateHintData(Rect(0, 0, 1, 1), "x", static_cast<TObject*>(&NotAGrid));
    EXPECT_EQ(W->Images(), &Images);
    W->ActivateHintData(Rect(0, 0, 1, 1), "x", nullptr);
    EXPECT_EQ(W->Images(), &Images);
    G.SetGridImages(nullptr);
}

TEST_F(HtmlHint, PaintsTheFrameAndTheMarkup) {
    W->SetColor(clInfoBk);
    W->ActivateHint(Rect(20, 20, 21, 21), "Hint with <b>bold</b> and <font color=\"clRed\">red</font> text");
    QImage Img(W->Width(), W->Height(), QImage::Format_RGB32);
    W->render(&Img);
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("html_hint.png");
    ASSERT_TRUE(Img.save(Path));
    auto At = [&](int X, int Y) {
        const QRgb Q = Img.pixel(X, Y);
        return TColor(qRed(Q) | (qGreen(Q) << 8) | (qBlue(Q) << 16));
    };
    EXPECT_EQ(At(0, 0), TColor(ColorToRGB(cl3DLight)));
    EXPECT_EQ(At(W->Width() - 1, W->Height() - 1), TColor(ColorToRGB(cl3DDkShadow)));
    EXPECT_EQ(At(2, 2), TColor(ColorToRGB(clInfoBk)));
    bool Red = false;
    for (int y = 0; y < Img.height(); ++y)
        for (int x = 0; x < Img.width(); ++x) {
            const QRgb Q = Img.pixel(x, y);
            Red = Red || (qRed(Q) > 180 && qGreen(Q) < 80 && qBlue(Q) < 80);
        }
    EXPECT_TRUE(Red) << "the markup's colour reaches the window";
}

// ---- the cell hint's choice of window ----------------------------------------------------------------
class CellHintWindow : public GridNav {
protected:
    THintInfo Ask(int DisplCol, int DisplRow) {
        THintInfo Info;
        const TRect R = G->CellRect(DisplCol, DisplRow);
        Info.CursorPos = TPoint{R.Left + 3, R.Top + 3};
        Info.HintMaxWidth = 640;
        G->Perform(CM_HINTSHOW, 0, LPARAM(&Info));
        return Info;
    }
    void TearDown() override { HintFontName.clear(); }
};

TEST_F(CellHintWindow, MarkupAndWideTextsGoToTheHtmlWindow) {
    G->SetHintShowCells(true);
    G->SetHTMLHint(true);
    G->SetCells(1, 2, "<b>bold</b>");
    G->SetCells(3, 3, EncodeWideCellText(QString::fromUtf8("Ωmega")));
    G->Font()->SetName("Verdana");

    THintInfo Markup = Ask(1, 2);
    EXPECT_EQ(Markup.HintStr, "<b>bold</b>");
    ASSERT_TRUE(Markup.HintWindowClass);
    std::unique_ptr<THintWindow> Made(Markup.HintWindowClass(nullptr));
    EXPECT_NE(dynamic_cast<THTMLHintWindow*>(Made.get()), nullptr);
    EXPECT_EQ(static_cast<TObject*>(Markup.HintData), static_cast<TObject*>(G.get()));
    EXPECT_EQ(HintFontName, "Verdana");

    EXPECT_TRUE(Ask(2, 3).HintWindowClass) << "display column 2 shows real column 3's wide text";
    EXPECT_FALSE(Ask(1, 1).HintWindowClass) << "a plain text keeps the platform window";
    G->SetUseInternalHintClass(false);
    EXPECT_FALSE(Ask(1, 2).HintWindowClass);
}

TEST_F(CellHintWindow, ControlLookLimitsTheHintWidth) {
    EXPECT_EQ(Ask(1, 1).HintMaxWidth, 640);
    G->ControlLook()->SetHintMaxWidth(120);
    EXPECT_EQ(Ask(1, 1).HintMaxWidth, 120);
}

TEST(UseHTMLHints, SwitchesTheWholeApplicationsHintWindow) {
    TExtStringGrid A(nullptr), B(nullptr);
    A.SetUseHTMLHints(true);
    ASSERT_TRUE(Application->HintWindowClass);
    std::unique_ptr<THintWindow> W(Application->HintWindowClass(nullptr));
    EXPECT_NE(dynamic_cast<THTMLHintWindow*>(W.get()), nullptr);
    B.SetUseHTMLHints(false); // the last grid decides
    EXPECT_FALSE(Application->HintWindowClass);
}

} // namespace
