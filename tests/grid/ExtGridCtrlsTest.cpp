// The grid's auxiliary controls: arrows, gradient buttons, check box, file picture, settings.
#include "grid/base/ExtGridCtrls.h"

#include "grid/base/esgcheck.h"
#include "platform/grids/Grids.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// ---- arrows ---------------------------------------------------------------------------------------
struct TArrowCase {
    const char* Name;
    TArrowDirection Dir;
    TPoint First;
    TPoint Inside; // a pixel the arrow covers
    TPoint Outside;
};

class ArrowWindow : public ::testing::TestWithParam<TArrowCase> {};

TEST_P(ArrowWindow, ShowsOnlyItsPolygonInLime) {
    const TArrowCase& P = GetParam();
    auto Host = std::make_unique<TForm>(nullptr);
    auto* A = new TArrowWindow(Host.get());
    A->Init(Host.get(), P.Dir);
    EXPECT_EQ(A->Dir(), P.Dir);
    EXPECT_EQ(A->Color(), clLime);
    EXPECT_FALSE(A->Visible());
    EXPECT_EQ(A->parentWidget(), Host.get());
    EXPECT_EQ(A->Arrow()[0], P.First);
    A->SetBounds(0, 0, 11, 11);
    EXPECT_TRUE(A->mask().contains(QPoint(P.Inside.X, P.Inside.Y)));
    EXPECT_FALSE(A->mask().contains(QPoint(P.Outside.X, P.Outside.Y)));
}

INSTANTIATE_TEST_SUITE_P(Table, ArrowWindow,
                         ::testing::Values(TArrowCase{"Up", arrUp, {5, 0}, {5, 7}, {0, 9}},
                                           TArrowCase{"Down", arrDown, {3, 0}, {5, 5}, {0, 0}},
                                           TArrowCase{"Left", arrLeft, {0, 3}, {5, 5}, {0, 0}},
                                           TArrowCase{"Right", arrRight, {0, 5}, {5, 5}, {8, 0}}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// ---- gradient button ------------------------------------------------------------------------------
class GridButton : public ::testing::Test {
protected:
    void SetUp() override {
        Host = std::make_unique<TForm>(nullptr);
        Host->SetBounds(0, 0, 200, 100);
        A = Create<TExtGridButton>(Host.get(), Host.get());
        B = Create<TExtGridButton>(Host.get(), Host.get());
        B->SetLeft(30);
    }
    static void Click(TExtGridButton* Btn, int X = 5, int Y = 5, int UpX = 5) {
        Btn->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
        Btn->Perform(WM_LBUTTONUP, 0, MakeLParam(UpX, Y));
    }
    std::unique_ptr<TForm> Host;
    TExtGridButton* A = nullptr;
    TExtGridButton* B = nullptr;
};

TEST_F(GridButton, DefaultsAndRefusedMargin) {
    EXPECT_EQ(A->Width(), 23);
    EXPECT_EQ(A->Height(), 22);
    EXPECT_EQ(A->Color(), clBtnFace);
    EXPECT_EQ(A->ColorHot(), 0xCAC7C7);
    EXPECT_EQ(A->ColorDown(), 0xD8D3D2);
    EXPECT_EQ(A->ColorChecked(), clGray);
    EXPECT_TRUE(A->Flat());
    EXPECT_TRUE(A->Shaded());
    EXPECT_EQ(A->Spacing(), 4);
    A->SetMargin(-2);
    EXPECT_EQ(A->Margin(), -1);
    A->SetMargin(3);
    EXPECT_EQ(A->Margin(), 3);
}

TEST_F(GridButton, GroupedButtonsAreExclusiveAndStayDown) {
    A->SetGroupIndex(1);
    B->SetGroupIndex(1);
    int Clicks = 0;
    A->OnClick = [&](TObject*) { ++Clicks; };
    Click(A);
    EXPECT_TRUE(A->Down());
    Click(B);
    EXPECT_TRUE(B->Down());
    EXPECT_FALSE(A->Down()) << "pressing the second releases the first";
    Click(B);
    EXPECT_TRUE(B->Down()) << "without AllowAllUp a down button stays down";
    EXPECT_EQ(Clicks, 1);
    B->SetAllowAllUp(true);
    Click(B);
    EXPECT_FALSE(B->Down());
}

TEST_F(GridButton, UngroupedPushButtonsNeverStayDown) {
    A->SetDown(true);
    EXPECT_FALSE(A->Down());
    int Clicks = 0;
    A->OnClick = [&](TObject*) { ++Clicks; };
    Click(A);
    Click(A, 5, 5, 60); // released outside: no click
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(A->State(), bsUp);
}

TEST_F(GridButton, CheckStyleTogglesOnClicksInsideOnly) {
    A->SetStyle(tasCheck);
    Click(A);
    EXPECT_TRUE(A->Down());
    Click(A);
    EXPECT_FALSE(A->Down());
    Click(A, 5, 5, 60);
    EXPECT_FALSE(A->Down()) << "released outside: unchanged";
}

TEST_F(GridButton, DropDownPartFiresItsEventOnly) {
    A->SetWidth(60);
    A->SetDropDownButton(true);
    int Drops = 0, Clicks = 0;
    A->OnDropDown = [&](TObject*) { ++Drops; };
    A->OnClick = [&](TObject*) { ++Clicks; };
    Click(A, 55, 5, 55);
    EXPECT_EQ(Drops, 1);
    EXPECT_EQ(Clicks, 0);
    Click(A, 10, 5, 10);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(GridButton, DisabledGlyphIsMadeOnceFromTheFirstGlyph) {
    TBitmap G(4, 4);
    G.Canvas()->Brush()->SetColor(RGB(200, 100, 0)); // grey (300 / 3) / 2 + 96 = 146
    G.Canvas()->FillRect(Rect(0, 0, 4, 4));
    A->SetGlyph(&G);
    ASSERT_FALSE(A->GlyphDisabled()->Empty());
    EXPECT_EQ(A->GlyphDisabled()->Canvas()->Pixels(1, 1), RGB(146, 146, 146));
    TBitmap H(4, 4);
    H.Canvas()->Brush()->SetColor(clWhite);
    H.Canvas()->FillRect(Rect(0, 0, 4, 4));
    A->SetGlyph(&H);
    EXPECT_EQ(A->GlyphDisabled()->Canvas()->Pixels(1, 1), RGB(146, 146, 146)) << "kept";
}

TEST_F(GridButton, MarginAndSpacingMinusOneCentreWithEqualGaps) {
    TBitmap G(10, 10);
    A->SetGlyph(&G);
    A->SetCaption("Wide caption");
    A->SetSpacing(-1);
    A->SetMargin(-1);
    TPoint GP;
    TRect TR;
    const TRect Client = Rect(0, 0, 120, 22);
    A->CalcLayout(Client, Point(0, 0), GP, TR);
    const int GapBefore = GP.X - Client.Left;
    const int GapBetween = TR.Left - (GP.X + 10);
    EXPECT_EQ(GapBefore, GapBetween);
    EXPECT_NEAR(Client.Right - TR.Right, GapBefore, 2);
    EXPECT_EQ(GP.Y, (22 - 10 + 1) / 2) << "centred across";
}

TEST_F(GridButton, GlyphWithoutCaptionStartsAtTheTopLeftOfTheContent) {
    TBitmap G(8, 8);
    G.Canvas()->Brush()->SetColor(clBlue);
    G.Canvas()->FillRect(Rect(0, 0, 8, 8));
    G.Canvas()->SetPixels(0, 7, clFuchsia); // the transparent colour
    A->SetGlyph(&G);
    A->SetCaption("");
    A->SetColor(clWhite);
    Host->Show();
    QImage Img(Host->size(), QImage::Format_RGB32);
    Host->render(&Img);
    // Flat without a down border: the face loses one pixel, the content one more.
    EXPECT_EQ(FromQColor(Img.pixelColor(2, 2)), TColor(clBlue));
    EXPECT_EQ(FromQColor(Img.pixelColor(9, 9)), TColor(clBlue));
    EXPECT_EQ(FromQColor(Img.pixelColor(14, 13)), TColor(clWhite)) << "not centred";
    EXPECT_EQ(FromQColor(Img.pixelColor(2, 9)), TColor(clWhite)) << "the key colour stays transparent";
}

TEST_F(GridButton, DropDownArrowStandsFourToEightPixelsFromTheRightEdge) {
    B->SetLeft(100);
    A->SetBounds(0, 0, 40, 22);
    A->SetCaption("");
    A->SetColor(clWhite);
    A->Font()->SetColor(clBlack);
    A->SetDropDownButton(true);
    Host->Show();
    QImage Img(Host->size(), QImage::Format_RGB32);
    Host->render(&Img);
    // Content area (2, 2, 38, 20): mid height 11, the arrow's top row at 10.
    for (int x = 30; x <= 34; ++x) EXPECT_EQ(FromQColor(Img.pixelColor(x, 10)), TColor(clBlack)) << x;
    EXPECT_EQ(FromQColor(Img.pixelColor(32, 12)), TColor(clBlack)) << "the point";
    EXPECT_EQ(FromQColor(Img.pixelColor(29, 10)), TColor(clWhite));
    EXPECT_EQ(FromQColor(Img.pixelColor(35, 10)), TColor(clWhite));
}

TEST_F(GridButton, PresetLooksAndPainting) {
    A->SetAutoThemeAdapt(true); // no colour scheme here: look 1
    EXPECT_EQ(A->Look(), 1);
    EXPECT_EQ(A->ColorHot(), 0xEED2C1);
    EXPECT_EQ(A->BorderHotColor(), 0xC56A31);
    EXPECT_EQ(A->BorderColor(), clNone);
    A->ApplyLook(3);
    EXPECT_EQ(A->Color(), 0xCFF0EA);
    EXPECT_EQ(A->ColorTo(), 0x8CC0B1);
    EXPECT_EQ(A->BorderDownColor(), 0x000000);
    A->SetBounds(0, 0, 60, 22);
    A->SetCaption("Find");
    B->SetStyle(tasCheck);
    B->SetDown(true);
    B->SetBounds(70, 0, 60, 22);
    B->SetCaption("Case");
    Host->Show();
    QImage Img(Host->size(), QImage::Format_RGB32);
    Host->render(&Img);
    EXPECT_TRUE(Img.save(QString(GRID_DRAW_SHEET_PATH).replace("grid_draw_sheet", "grid_buttons")));
    EXPECT_EQ(FromQColor(Img.pixelColor(30, 0)), 0xCFF0EA) << "top of the olive gradient";
    EXPECT_EQ(FromQColor(Img.pixelColor(30, 21)), 0x8CC0B1) << "bottom of it";
    EXPECT_EQ(FromQColor(Img.pixelColor(72, 2)), TColor(clGray)) << "a down check button shows ColorChecked";
}

// ---- check box ------------------------------------------------------------------------------------
class ExtCheckBox : public ::testing::Test {
protected:
    void SetUp() override {
        Host = std::make_unique<TForm>(nullptr);
        Host->SetBounds(0, 0, 200, 60);
        Box = Create<TExtCheckBox>(Host.get(), Host.get());
        Box->OnClick = [this](TObject*) { ++Clicks; };
        Host->Show();
        QApplication::setActiveWindow(Host.get()); // a click must find the box focused
    }
    std::unique_ptr<TForm> Host;
    TExtCheckBox* Box = nullptr;
    int Clicks = 0;
};

TEST_F(ExtCheckBox, ClicksAndSpaceToggleUnlessReadOnly) {
    EXPECT_EQ(Box->Width(), 98);
    EXPECT_EQ(Box->Height(), 20);
    EXPECT_EQ(Box->Caption(), "TExtCheckBox");
    Box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    Box->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(Clicks, 1);
    Box->SimulateKey(VK_SPACE);
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Clicks, 2);
    Box->SetReadOnly(true);
    Box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    Box->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    Box->SimulateKey(VK_SPACE);
    EXPECT_FALSE(Box->Checked()) << "read-only ignores clicks and Space";
    EXPECT_EQ(Clicks, 4) << "but still fires OnClick";
    Box->SetReadOnly(false);
    Box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    Box->Perform(WM_LBUTTONUP, 0, MakeLParam(150, 5));
    EXPECT_FALSE(Box->Checked()) << "released outside";
}

TEST_F(ExtCheckBox, BoxPlacesAndPainting) {
    Box->SetBounds(0, 0, 98, 30);
    EXPECT_EQ(Box->BoxRect(), Bounds(0, 4, 14, 14));
    Box->SetButtonVertAlign(tlCenter);
    EXPECT_EQ(Box->BoxRect(), Bounds(0, 9, 14, 14));
    Box->SetAlignment(taLeftJustify);
    Box->SetButtonVertAlign(tlBottom);
    EXPECT_EQ(Box->BoxRect(), Bounds(98 - 15, 16, 14, 14));
    EXPECT_EQ(Box->CaptionRect().Left, 6);
    Box->SetAlignment(taRightJustify);
    EXPECT_EQ(Box->CaptionRect(), Rect(15, 4, 98, 30));
    Box->SetState(cbGrayed);
    EXPECT_FALSE(Box->Checked());
    Box->SetCaption("Case sensitive");
    QImage Img(Host->size(), QImage::Format_RGB32);
    Host->render(&Img);
    int Dark = 0;
    for (int x = 15; x < 98; ++x)
        for (int y = 4; y < 24; ++y)
            if (qGray(Img.pixel(x, y)) < 100) ++Dark;
    EXPECT_GT(Dark, 10) << "the caption is drawn";
}

// ---- file picture ---------------------------------------------------------------------------------
class FilePicture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        QImage Img(6, 4, QImage::Format_RGB32);
        Img.fill(QColor(255, 0, 0));
        Png = Dir.filePath("red.png");
        ASSERT_TRUE(Img.save(Png));
    }
    QTemporaryDir Dir;
    QString Png;
};

TEST_F(FilePicture, LoadsOnceDrawsStretchedAndClearsWithAnEmptyName) {
    TFilePicture P;
    P.SetFilename(Png);
    EXPECT_EQ(P.Width(), 6);
    EXPECT_EQ(P.Height(), 4);
    TBitmap B(30, 20);
    for (int i = 0; i < 3; ++i) P.DrawPicture(B.Canvas(), Rect(0, 0, 30, 20));
    EXPECT_EQ(B.Canvas()->Pixels(28, 18), clRed);
    EXPECT_EQ(P.DecodeCount(), 1) << "decoded once, not on every paint";
    TFilePicture Q;
    Q.Assign(&P);
    EXPECT_EQ(Q.Filename(), Png);
    EXPECT_EQ(Q.Width(), 6);
    Q.DrawPicture(B.Canvas(), Rect(0, 0, 30, 20));
    EXPECT_EQ(Q.DecodeCount(), 0);
    EXPECT_NO_THROW(P.SetFilename(""));
    EXPECT_EQ(P.Filename(), "");
    EXPECT_EQ(P.Width(), 0);
    TBitmap C(10, 10);
    C.Canvas()->Brush()->SetColor(clWhite);
    C.Canvas()->FillRect(Rect(0, 0, 10, 10));
    P.DrawPicture(C.Canvas(), Rect(0, 0, 10, 10));
    EXPECT_EQ(C.Canvas()->Pixels(5, 5), clWhite);
}

TEST_F(FilePicture, ReadsOnlyRegularFilesOfAtMostSixteenMiB) {
    TFilePicture P;
    EXPECT_THROW(P.SetFilename(Dir.filePath("missing.png")), Exception);
    EXPECT_THROW(P.SetFilename(Dir.path()), Exception) << "a directory";
    EXPECT_THROW(P.SetFilename("/dev/zero"), Exception) << "a device";
    const QString Big = Dir.filePath("big.png");
    {
        QFile F(Big);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        ASSERT_TRUE(F.resize(TFilePicture::MaxFileSize + 1));
    }
    EXPECT_THROW(P.SetFilename(Big), Exception);
    const QString Junk = Dir.filePath("junk.png");
    {
        QFile F(Junk);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("not a picture");
    }
    EXPECT_THROW(P.SetFilename(Junk), Exception);
    EXPECT_EQ(P.Filename(), "") << "a failed name leaves the picture as it was";
}

// ---- settings and checker -------------------------------------------------------------------------
TEST(GridSettings, SyncGridAndFocusHelperCopyFromTheirOwnKindOnly) {
    TStringGrid Owner(nullptr), Other(nullptr);
    GridBase::TSyncGrid S(&Owner), T(&Owner);
    S.SetGrid(&Owner);
    EXPECT_EQ(S.Grid(), nullptr) << "the owner itself is ignored";
    S.SetGrid(&Other);
    S.ScrollVertical = S.MoveRow = S.SelectionColumn = true;
    T.Assign(&S);
    EXPECT_EQ(T.Grid(), &Other);
    EXPECT_TRUE(T.ScrollVertical);
    EXPECT_TRUE(T.MoveRow);
    EXPECT_TRUE(T.SelectionColumn);
    EXPECT_FALSE(T.ScrollHorizontal);
    GridBase::TFocusHelper F(&Owner), G(&Owner);
    F.Enabled = true;
    G.Assign(&F);
    EXPECT_TRUE(G.Enabled);
    G.Assign(&S);
    EXPECT_TRUE(G.Enabled) << "another kind is ignored";
    T.Assign(&F);
    EXPECT_EQ(T.Grid(), &Other);
}

TEST(GridSettings, CheckerBaseChangesNoText) {
    TExtStringGridCheck C(nullptr);
    EXPECT_FALSE(C.GotoCell || C.AutoCorrect || C.AutoMarkError || C.UseCorrect || C.UseMarkError);
    C.StartCheck();
    EXPECT_EQ(C.Correct(1, 2, "teh text"), "teh text");
    EXPECT_EQ(C.MarkError(1, 2, "teh text"), "teh text");
    C.StopCheck();
}

} // namespace
