// The metro scroll indicators (thumb, paging, dragging, degenerate grids) and the header drag
// button's painting.
#include "grid/control/ScrollIndicator.h"

#include "platform/gui/Forms.h"
#include "tests/grid/control/GridNavFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <ostream>

namespace {

class Indicator : public GridNav {
protected:
    void SetUp() override {
        GridNav::SetUp();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 320, 200);
        G->SetDefaultRowHeight(20);
        G->SetScrollType(ssMetro);
        V = dynamic_cast<TScrollControl*>(G->MetroScrollControl(0));
        H = dynamic_cast<TScrollControl*>(G->MetroScrollControl(1));
        ASSERT_NE(V, nullptr);
        ASSERT_NE(H, nullptr);
    }
    void TearDown() override { G->SetParent(nullptr); }
    void Rows(int Count) {
        G->SetRowCount(Count);
        G->SetTopRow(G->FixedRows());
    }
    void Press(TScrollControl* C, int X, int Y) {
        C->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
        C->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    }
    std::unique_ptr<TForm> Form;
    TScrollControl* V = nullptr;
    TScrollControl* H = nullptr;
};

TEST_F(Indicator, IsCreatedAlongTheRightAndBottomEdges) {
    EXPECT_EQ(V->Direction(), sdVertical);
    EXPECT_EQ(H->Direction(), sdHorizontal);
    EXPECT_EQ(V->Width(), 6);
    EXPECT_EQ(H->Height(), 6);
    EXPECT_EQ(V->Color(), TColor(0xC0C0C0));
    EXPECT_EQ(V->ScrollWidth(), 4);
}

// ---- the thumb on grids of several shapes -------------------------------------------------------------
struct ThumbCase {
    const char* Name;
    int RowCount;
    int FixedRows;
    int Height; // of the indicator
    int TopRow;
    int Visible; // rows the grid shows; -1: not pinned
    bool Shown;
    int Start, Size;
};
void PrintTo(const ThumbCase& C, std::ostream* Os) { *Os << C.Name; }

class Thumb : public Indicator, public ::testing::WithParamInterface<ThumbCase> {};

TEST_P(Thumb, ShowsTheVisibleRowsOrNothing) {
    const ThumbCase& C = GetParam();
    G->SetRowCount(C.RowCount);
    G->SetFixedRows(C.FixedRows);
    if (C.TopRow >= 0) G->SetTopRow(C.TopRow);
    V->SetAlign(alNone);
    V->SetBounds(0, 0, 6, C.Height);
    if (C.Visible >= 0) {
        ASSERT_EQ(G->VisibleRowCount(), C.Visible);
    }
    int Start = -1, Size = -1;
    ASSERT_EQ(V->ThumbExtent(Start, Size), C.Shown);
    if (C.Shown) {
        EXPECT_EQ(Start, C.Start);
        EXPECT_EQ(Size, C.Size);
    }
    // painting never fails, whatever the shape
    QImage Img(6, std::max(C.Height, 1), QImage::Format_RGB32);
    V->render(&Img);
}

// Rows are 20 high (the fixed row too): a 200-high indicator has a 180 track below the header.
INSTANTIATE_TEST_SUITE_P(
    Shapes, Thumb,
    ::testing::Values(ThumbCase{"AllRowsFitShowNoThumb", 5, 1, 200, -1, -1, false, 0, 0},
                      ThumbCase{"OneNormalRowFits", 2, 1, 200, -1, -1, false, 0, 0},
                      ThumbCase{"TinyControlHasNoTrack", 100, 1, 15, -1, -1, false, 0, 0},
                      ThumbCase{"ZeroHighControl", 100, 1, 0, -1, -1, false, 0, 0},
                      // no header: a whole track, but shorter than the 20-pixel thumb
                      ThumbCase{"ShorterThanTheSmallestThumb", 100, 0, 12, -1, -1, false, 0, 0},
                      ThumbCase{"JustTheSmallestThumb", 100, 0, 20, -1, -1, true, 0, 20},
                      ThumbCase{"ThousandRowsGetTwentyPixels", 1000, 1, 200, -1, -1, true, 20, 20},
                      ThumbCase{"HundredRowsAtTheTop", 100, 1, 200, -1, -1, true, 20, 20},
                      // 20 + [180 x 19 / 39] = 20 + 88; [180 x 9 / 40] = [40.5] = 40, halves to even
                      ThumbCase{"FortyRowsInTheMiddle", 40, 1, 200, 20, 9, true, 108, 40}),
    [](const ::testing::TestParamInfo<ThumbCase>& I) { return std::string(I.param.Name); });

TEST_F(Indicator, ThumbAtTheEndStaysInsideTheControl) {
    Rows(1000);
    G->SetTopRow(999);
    V->SetAlign(alNone);
    V->SetBounds(0, 0, 6, 200);
    int Start = 0, Size = 0;
    ASSERT_TRUE(V->ThumbExtent(Start, Size));
    EXPECT_EQ(Start + Size, 200);
}

TEST_F(Indicator, WithoutAGridParentItDoesNothing) {
    TScrollControl Loose(nullptr);
    Loose.SetParent(Form.get());
    Loose.SetBounds(0, 0, 6, 100);
    int Start = 0, Size = 0;
    EXPECT_FALSE(Loose.ThumbExtent(Start, Size));
    Loose.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 90));
    EXPECT_FALSE(Loose.DownOnScroller());
    Loose.SetParent(nullptr);
}

// ---- paging and dragging -----------------------------------------------------------------------------
TEST_F(Indicator, ClickingBesideTheThumbPagesWithinTheRows) {
    Rows(40);
    V->SetAlign(alNone);
    V->SetBounds(0, 0, 6, 200);
    const int Visible = G->VisibleRowCount();
    ASSERT_GT(Visible, 2);
    Press(V, 2, 195); // below the thumb
    EXPECT_EQ(G->TopRow(), 1 + Visible);
    for (int i = 0; i < 10; ++i) Press(V, 2, 199);
    EXPECT_EQ(G->TopRow(), G->RowCount() - Visible) << "never beyond the last full page";
    Press(V, 2, 21); // above the thumb
    EXPECT_EQ(G->TopRow(), G->RowCount() - 2 * Visible);
    for (int i = 0; i < 10; ++i) Press(V, 2, 21);
    EXPECT_EQ(G->TopRow(), G->FixedRows());
}

TEST_F(Indicator, DraggingTheWholeTrackReachesTheLastPage) {
    Rows(40);
    V->SetAlign(alNone);
    V->SetBounds(0, 0, 6, 200);
    int Start = 0, Size = 0;
    ASSERT_TRUE(V->ThumbExtent(Start, Size));
    V->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, Start + 2));
    ASSERT_TRUE(V->DownOnScroller());
    V->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(2, Start + 2 + 45)); // a quarter of the 180 track
    EXPECT_EQ(G->TopRow(), 1 + 10);
    V->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(2, Start + 2 + 180));
    EXPECT_EQ(G->TopRow(), G->RowCount() - G->VisibleRowCount());
    V->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(2, Start + 2 - 400));
    EXPECT_EQ(G->TopRow(), G->FixedRows());
    V->Perform(WM_LBUTTONUP, 0, MakeLParam(2, 0));
    EXPECT_FALSE(V->DownOnScroller());
}

TEST_F(Indicator, HorizontalPagesTheColumns) {
    G->SetColCount(30);
    H->SetAlign(alNone);
    H->SetBounds(0, 0, 300, 6);
    const int Visible = G->VisibleColCount();
    ASSERT_LT(Visible + 1, 30);
    Press(H, 295, 2);
    EXPECT_EQ(G->LeftCol(), 1 + Visible);
}

// The horizontal track leaves out the fixed columns on both sides.
TEST_F(Indicator, HorizontalTrackEndsBeforeTheFixedRightColumns) {
    G->SetColCount(30);
    H->SetAlign(alNone);
    H->SetBounds(0, 0, 300, 6);
    G->SetLeftCol(G->ColCount() - G->VisibleColCount());
    int Start = 0, Size = 0;
    ASSERT_TRUE(H->ThumbExtent(Start, Size));
    EXPECT_GT(Start + Size, 240);
    G->SetFixedRightCols(1);
    ASSERT_TRUE(H->ThumbExtent(Start, Size));
    EXPECT_LE(Start + Size, 240) << "the 60 pixels of the right fixed column are no track";
    EXPECT_GE(Start, 60);
}

// ---- pictures ----------------------------------------------------------------------------------------
TEST_F(Indicator, PaintsThumbsOverTheGrid) {
    Rows(60);
    G->SetColCount(20);
    V->SetColor(clGray);
    H->SetColor(clGray);
    G->SetTopRow(10);
    Form->Show();
    QCoreApplication::processEvents();
    QImage Img(G->Width(), G->Height(), QImage::Format_RGB32);
    Img.fill(Qt::white);
    G->render(&Img);
    ASSERT_TRUE(Img.save(QDir(QCoreApplication::applicationDirPath()).filePath("scroll_indicators.png")));
    int Start = 0, Size = 0;
    ASSERT_TRUE(V->ThumbExtent(Start, Size));
    const QRgb Q = Img.pixel(V->Left() + 2, V->Top() + Start + Size / 2);
    EXPECT_EQ(TColor(qRed(Q) | (qGreen(Q) << 8) | (qBlue(Q) << 16)), clGray);
    // Beside the thumb the indicator has no background: the grid looks as it does without it.
    V->SetVisible(false);
    QImage Bare(G->Width(), G->Height(), QImage::Format_RGB32);
    Bare.fill(Qt::white);
    G->render(&Bare);
    int Differ = 0;
    for (int y = V->Top(); y < V->Top() + V->Height(); ++y) {
        if (y >= V->Top() + Start && y < V->Top() + Start + Size) continue;
        for (int x = V->Left(); x < V->Left() + V->Width(); ++x) Differ += Img.pixel(x, y) != Bare.pixel(x, y);
    }
    EXPECT_EQ(Differ, 0);
    Form->Hide();
}

// ---- header drag button ------------------------------------------------------------------------------
QImage RenderButton(THeaderDragButton* B) {
    QImage Img(B->Width(), B->Height(), QImage::Format_RGB32);
    Img.fill(Qt::white);
    B->render(&Img);
    return Img;
}
bool HasRed(const QImage& Img) {
    for (int y = 0; y < Img.height(); ++y)
        for (int x = 0; x < Img.width(); ++x) {
            const QRgb Q = Img.pixel(x, y);
            if (qRed(Q) > 180 && qGreen(Q) < 80 && qBlue(Q) < 80) return true;
        }
    return false;
}

TEST_F(Indicator, DragButtonDrawsMarkupAsMarkupAndPlainTextOnOneLine) {
    THeaderDragButton* B = G->MoveButton();
    ASSERT_NE(B, nullptr);
    EXPECT_FALSE(B->Visible());
    EXPECT_FALSE(B->Enabled());
    B->SetBounds(0, 0, 90, 24);
    B->SetCaption("<font color=\"clRed\">Red</font> header");
    const QImage Markup = RenderButton(B);
    EXPECT_TRUE(HasRed(Markup));
    B->SetCaption("A very long plain header caption that cannot fit");
    const QImage Plain = RenderButton(B);
    EXPECT_FALSE(HasRed(Plain));
    QImage Sheet(100, 70, QImage::Format_RGB32);
    Sheet.fill(Qt::white);
    QPainter Pt(&Sheet);
    Pt.drawImage(5, 5, Markup);
    Pt.drawImage(5, 40, Plain);
    Pt.end();
    ASSERT_TRUE(Sheet.save(QDir(QCoreApplication::applicationDirPath()).filePath("header_drag_button.png")));
    // a button too small for its frame, or over a grid without cells, draws nothing
    B->SetBounds(0, 0, 2, 2);
    const QImage Tiny = RenderButton(B);
    EXPECT_EQ(Tiny.pixel(0, 0), Tiny.pixel(1, 1)) << "no frame, no cell";
}

} // namespace
