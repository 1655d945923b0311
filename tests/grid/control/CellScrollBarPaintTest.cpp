// A cell's own scroll bar, probed on a bitmap: the bar stands along the cell's right edge over the
// cell's height only when its page is smaller than its range, the text keeps off it and scrolls
// up by the bar's position without leaving the cell. The fixture hides real column 2, so display
// column 2 shows real column 3.
#include "grid/control/ExtGrid.h"
#include "platform/gui/Snapshot.h"
#include "tests/support/QtPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

constexpr TColor Back = 0x00FFFFFF;
constexpr int DCol = 2, RCol = 3; // the display column and the real column it shows
constexpr int BarW = TExtStringGrid::CellScrollBarWidth;

QString ManyLines(int Count) {
    QStringList L;
    for (int i = 0; i < Count; ++i) L << QStringLiteral("Line %1 MWM").arg(i);
    return L.join(QLatin1Char('\n'));
}

class CellScrollBarPaint : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(140);
        G->SetDefaultRowHeight(60);
        G->SetBounds(0, 0, 700, 500);
        G->HideColumn(2);
        G->SetColor(Back);
        G->SetMultilinecells(true);
        Clear();
    }
    void Clear() {
        Sheet.SetSize(720, 520);
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 720, 520));
    }
    void Paint(int Row) { G->PaintCell(Sheet.Canvas(), DCol, Row, G->CellRect(DCol, Row), {}); }
    TColor At(int X, int Y) { return Sheet.Canvas()->Pixels(X, Y); }
    // Pixels of the strip [X1, X2) x [Y1, Y2) that are not the background.
    int Marked(int X1, int X2, int Y1, int Y2) {
        int N = 0;
        for (int y = Y1; y < Y2; ++y)
            for (int x = X1; x < X2; ++x) N += At(x, y) != Back;
        return N;
    }
    // The box of dark (text) pixels inside R; empty when there is none.
    TRect Ink(const TRect& R) {
        TRect B = Rect(R.Right, R.Bottom, R.Left, R.Top);
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) {
                const TColor C = At(x, y);
                if ((C & 0xFF) + ((C >> 8) & 0xFF) + ((C >> 16) & 0xFF) < 300) {
                    B.Left = std::min(B.Left, x);
                    B.Top = std::min(B.Top, y);
                    B.Right = std::max(B.Right, x + 1);
                    B.Bottom = std::max(B.Bottom, y + 1);
                }
            }
        return B;
    }
    void AddBar(int Row, int Page, int Range, int Pos) {
        G->AddScrollBar(RCol, Row, false);
        G->SetScrollProp(RCol, Row, TExtStringGrid::TScrollProp{Page, Range});
        G->SetScrollPosition(RCol, Row, Pos);
    }
    std::unique_ptr<TExtStringGrid> G;
    TBitmap Sheet;
};

// ---- where the bar stands: page and range -> bar or none --------------------------------------------
struct TBarCase {
    const char* Name;
    bool HasBar;
    int Page, Range;
    bool Shown;
};

void PrintTo(const TBarCase& C, std::ostream* Os) { *Os << C.Name; }

class CellScrollBarShown : public CellScrollBarPaint, public ::testing::WithParamInterface<TBarCase> {};

TEST_P(CellScrollBarShown, BarAlongTheRightEdge) {
    const TBarCase& C = GetParam();
    if (C.HasBar) AddBar(3, C.Page, C.Range, 0);
    Paint(3);
    const TRect R = G->CellRect(DCol, 3);
    // The strip the bar takes, a little in from its edges; and the cell left of it.
    const int InBar = Marked(R.Right - BarW + 3, R.Right - 3, R.Top + 1, R.Bottom - 1);
    const int StripArea = (BarW - 6) * (R.Height() - 2);
    if (C.Shown) {
        EXPECT_GT(InBar, StripArea * 9 / 10) << "the bar covers its strip";
        // the bar runs over the cell's height and no further
        EXPECT_NE(At(R.Right - BarW / 2, R.Top + 1), Back);
        EXPECT_NE(At(R.Right - BarW / 2, R.Bottom - 2), Back);
        EXPECT_EQ(At(R.Right - BarW - 6, R.Top + R.Height() / 2), Back) << "the cell left of the bar";
    } else {
        EXPECT_EQ(InBar, 0) << "no bar";
    }
    // The rows above and below stay as they were.
    EXPECT_EQ(Marked(R.Left, R.Right, R.Top - 20, R.Top - 2), 0);
    EXPECT_EQ(Marked(R.Left, R.Right, R.Bottom + 2, R.Bottom + 20), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CellScrollBarShown,
                         ::testing::Values(TBarCase{"PageBelowRange", true, 20, 100, true},
                                           TBarCase{"PageZero", true, 0, 100, true},
                                           TBarCase{"PageOneBelowRange", true, 99, 100, true},
                                           TBarCase{"PageEqualsRange", true, 100, 100, false},
                                           TBarCase{"PageAboveRange", true, 150, 100, false},
                                           TBarCase{"RangeZero", true, 0, 0, false},
                                           // a range below zero with a page further below it
                                           // paints no bar and raises nothing
                                           TBarCase{"NegativeRangeAndPage", true, -20, -5, false},
                                           TBarCase{"NoScrollBar", false, 0, 0, false}),
                         [](const ::testing::TestParamInfo<TBarCase>& I) { return std::string(I.param.Name); });

// ---- the text beside the bar ------------------------------------------------------------------------
TEST_F(CellScrollBarPaint, RightAlignedTextEndsLeftOfTheBar) {
    G->SetCells(RCol, 3, "MMMM");
    G->SetCells(RCol, 4, "MMMM");
    G->OnGetAlignment = [](TObject*, int, int, TAlignment& H, TVAlignment&) { H = taRightJustify; };
    AddBar(4, 20, 100, 0);
    Paint(3);
    Paint(4);
    const TRect Plain = G->CellRect(DCol, 3), Barred = G->CellRect(DCol, 4);
    const TRect Free = Ink(Rect(Plain.Left, Plain.Top, Plain.Right, Plain.Bottom));
    const TRect Beside = Ink(Rect(Barred.Left, Barred.Top, Barred.Right - BarW - 1, Barred.Bottom));
    ASSERT_GT(Free.Width(), 0);
    ASSERT_GT(Beside.Width(), 0);
    EXPECT_EQ(Plain.Right - Free.Right + BarW, Barred.Right - Beside.Right) << "the text moved left by the bar";
    EXPECT_EQ(Free.Width(), Beside.Width());
}

// The text scrolled by p shows what the unscrolled text shows p pixels lower, and nothing of it
// lands above the cell.
struct TOffsetCase {
    const char* Name;
    int Page, Range, Pos;
    int Shift; // the offset the text takes
};

void PrintTo(const TOffsetCase& C, std::ostream* Os) { *Os << C.Name; }

class CellScrollOffset : public CellScrollBarPaint, public ::testing::WithParamInterface<TOffsetCase> {};

TEST_P(CellScrollOffset, TextMovesUpByThePosition) {
    const TOffsetCase& C = GetParam();
    G->SetCells(RCol, 3, ManyLines(12));
    AddBar(3, C.Page, C.Range, 0);
    Paint(3);
    const TRect R = G->CellRect(DCol, 3);
    const int X1 = R.Left + 1, X2 = R.Right - BarW - 1;
    const QImage Unscrolled = Sheet.ToImage();
    Clear();
    G->SetScrollPosition(RCol, 3, C.Pos);
    Paint(3);
    EXPECT_EQ(Marked(R.Left, R.Right, R.Top - 40, R.Top), 0) << "nothing above the cell";
    EXPECT_EQ(Marked(R.Left, R.Right, R.Bottom + 1, R.Bottom + 40), 0) << "nothing below the cell";
    const QImage Scrolled = Sheet.ToImage();
    int Differ = 0;
    for (int y = R.Top + 2; y < R.Bottom - 2 - C.Shift; ++y)
        for (int x = X1; x < X2; ++x) Differ += Unscrolled.pixel(x, y + C.Shift) != Scrolled.pixel(x, y);
    EXPECT_EQ(Differ, 0);
    if (C.Shift > 0) {
        // the scrolled text is no copy of the unscrolled one in place
        int Moved = 0;
        for (int y = R.Top + 2; y < R.Bottom - 2; ++y)
            for (int x = X1; x < X2; ++x) Moved += Unscrolled.pixel(x, y) != Scrolled.pixel(x, y);
        EXPECT_GT(Moved, 20);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CellScrollOffset,
                         ::testing::Values(TOffsetCase{"PositionZero", 20, 100, 0, 0},
                                           TOffsetCase{"PositionInRange", 20, 100, 30, 30},
                                           // the last page starts at range - page + 1
                                           TOffsetCase{"PositionPastTheEndStopsAtTheLastPage", 20, 100, 1000, 81},
                                           TOffsetCase{"NegativePositionStaysAtTheTop", 20, 100, -15, 0},
                                           // a bar that is not shown scrolls nothing
                                           TOffsetCase{"PageCoversRangeNoOffset", 100, 100, 30, 0}),
                         [](const ::testing::TestParamInfo<TOffsetCase>& I) { return std::string(I.param.Name); });

// One bar serves every cell in turn: a cell painted after a cell with a short range keeps its own
// range and position.
TEST_F(CellScrollBarPaint, CellKeepsItsOwnRangeAfterAnotherCell) {
    G->SetCells(RCol, 4, ManyLines(40));
    AddBar(3, 10, 20, 5);
    AddBar(4, 20, 600, 300);
    const TRect R = G->CellRect(DCol, 4);
    Paint(4);
    const QImage Alone = Sheet.ToImage().copy(R.Left, R.Top, R.Width(), R.Height());
    Clear();
    Paint(3);
    Paint(4);
    const QImage After = Sheet.ToImage().copy(R.Left, R.Top, R.Width(), R.Height());
    EXPECT_EQ(After, Alone);
}

// The clip the text step sets for the scrolled text goes back: what is painted after the cell
// (here the next cell) is not cut off.
TEST_F(CellScrollBarPaint, ClipIsGivenBackAfterTheCell) {
    G->SetCells(RCol, 3, ManyLines(12));
    AddBar(3, 20, 100, 30);
    Paint(3);
    EXPECT_FALSE(Sheet.Canvas()->HasClip());
    G->SetCells(RCol, 5, "MMMM");
    Paint(5);
    EXPECT_GT(Ink(G->CellRect(DCol, 5)).Width(), 0);
}

// The bar's thumb shows the position.
TEST_F(CellScrollBarPaint, ThumbFollowsThePosition) {
    AddBar(3, 20, 100, 0);
    const TRect R = G->CellRect(DCol, 3);
    Paint(3);
    const QImage Top = Sheet.ToImage().copy(R.Right - BarW, R.Top, BarW, R.Height());
    G->SetScrollPosition(RCol, 3, 81);
    Paint(3);
    const QImage Bottom = Sheet.ToImage().copy(R.Right - BarW, R.Top, BarW, R.Height());
    EXPECT_NE(Top, Bottom);
}

// A sheet of scroll-bar cells at a few positions, for a person to look at.
TEST_F(CellScrollBarPaint, SheetOfScrolledCells) {
    const int Positions[] = {0, 20, 50, 81};
    for (int i = 0; i < 4; ++i) {
        G->SetCells(RCol, 1 + i, ManyLines(8));
        AddBar(1 + i, 20, 100, Positions[i]);
        Paint(1 + i);
    }
    G->SetCells(RCol, 5, ManyLines(2));
    AddBar(5, 100, 100, 0);
    Paint(5);
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("cell_scroll_bars.png");
    ASSERT_TRUE(SaveBitmapPng(Sheet, Path));
}

} // namespace
