// The live cell scroll bar: the mouse places the grid's one bar along the right edge of a cell
// whose text needs it, the bar's steps are the grid's own (10 a line, 100 a page), and a move of
// the bar lands in the cell it was placed over. The fixture hides real column 2, so display
// column 2 shows real column 3, and column 4 holds a scroll bar that needs no bar (page >= range).
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "tests/support/QtPrint.h"

#include <QApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

constexpr int DCol = 2, RCol = 3; // a scrolled cell: display column and the real one it shows
constexpr int FitDCol = 3, FitRCol = 4; // a scroll-bar cell whose page covers its range
constexpr int PlainDCol = 1; // no scroll bar at all
constexpr int Row = 2, Range = 300, Page = 60;

class CellScrollBarMouse : public ::testing::Test {
protected:
    void SetUp() override {
        Form = Create<TForm>(nullptr);
        Form->SetBounds(0, 0, 760, 420);
        G = Create<TExtStringGrid>(Form, Form);
        G->SetBounds(0, 0, 720, 380);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(120);
        G->SetDefaultRowHeight(Page);
        G->HideColumn(2);
        G->AddScrollBar(RCol, Row, false);
        G->SetScrollProp(RCol, Row, TExtStringGrid::TScrollProp{Page, Range});
        G->SetScrollPosition(RCol, Row, 40);
        G->AddScrollBar(FitRCol, Row, false);
        G->SetScrollProp(FitRCol, Row, TExtStringGrid::TScrollProp{Page, Page});
        G->OnScrollCell = [this](TObject*, int C, int R, int Pos, int Min, int Max) {
            Scrolled.emplace_back(C, R, Pos, Min, Max);
        };
        Form->Show();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Form;
        QApplication::processEvents();
    }
    void MoveOver(int C, int R) {
        const TRect Cell = G->CellRect(C, R);
        G->Perform(WM_MOUSEMOVE, 0, MakeLParam((Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2));
    }
    void Step(Word Code, int Pos = 0) {
        G->Perform(WM_VSCROLL, MakeWParam(Code, Word(int16_t(Pos))), LPARAM(G->CellScrollBar()));
    }
    TScrollBar* Bar() const { return G->CellScrollBar(); }

    TForm* Form = nullptr;
    TExtStringGrid* G = nullptr;
    std::vector<std::tuple<int, int, int, int, int>> Scrolled;
};

TEST_F(CellScrollBarMouse, TheBarStandsAlongTheRightEdgeOfTheCellUnderTheMouse) {
    ASSERT_NE(Bar(), nullptr);
    EXPECT_FALSE(Bar()->Visible());
    MoveOver(DCol, Row);
    ASSERT_TRUE(Bar()->Visible());
    const TRect Cell = G->CellRect(DCol, Row);
    const int GL = G->GridLineWidth();
    EXPECT_EQ(Bar()->BoundsRect(),
              (TRect{Cell.Right - TExtStringGrid::CellScrollBarWidth - GL, Cell.Top + GL, Cell.Right - GL,
                     Cell.Bottom - GL}));
    EXPECT_EQ(Bar()->Position(), 40);
    EXPECT_EQ(Bar()->PageSize(), Page);
    EXPECT_EQ(Bar()->Max(), Range);
}

TEST_F(CellScrollBarMouse, ACellWithoutABarHidesItAndACellWhosePageFitsLeavesItAlone) {
    MoveOver(DCol, Row);
    const TRect Placed = Bar()->BoundsRect();
    MoveOver(FitDCol, Row);
    EXPECT_TRUE(Bar()->Visible());
    EXPECT_EQ(Bar()->BoundsRect(), Placed);
    // The bar still serves the cell it stands over: its step lands there, not in the fitting cell.
    Step(SB_LINEDOWN);
    EXPECT_EQ(G->GetScrollPosition(RCol, Row), 50);
    EXPECT_EQ(G->GetScrollPosition(FitRCol, Row), 0);
    MoveOver(PlainDCol, Row);
    EXPECT_FALSE(Bar()->Visible());
}

TEST_F(CellScrollBarMouse, TheBarTakesWhatTheProgramChangedOnTheNextMoveOverTheCell) {
    MoveOver(DCol, Row);
    ASSERT_EQ(Bar()->Position(), 40);
    G->SetScrollPosition(RCol, Row, 0);
    G->SetScrollProp(RCol, Row, TExtStringGrid::TScrollProp{Page, 200});
    MoveOver(DCol, Row);
    EXPECT_EQ(Bar()->Position(), 0);
    EXPECT_EQ(Bar()->Max(), 200);
    // The next step starts from the cell's own position, not from the one the bar last showed.
    Step(SB_LINEDOWN);
    EXPECT_EQ(G->GetScrollPosition(RCol, Row), 10);
}

struct StepCase {
    const char* Name;
    Word Code;
    int Start, Expected;
};
void PrintTo(const StepCase& C, std::ostream* Os) { *Os << C.Name; }

class CellScrollBarSteps : public CellScrollBarMouse, public ::testing::WithParamInterface<StepCase> {};

TEST_P(CellScrollBarSteps, TheStepLandsInTheCellAndIsAnnounced) {
    const StepCase& C = GetParam();
    G->SetScrollPosition(RCol, Row, C.Start);
    MoveOver(DCol, Row);
    Step(C.Code, C.Code == SB_THUMBTRACK ? Range + 50 : 0);
    EXPECT_EQ(G->GetScrollPosition(RCol, Row), C.Expected);
    EXPECT_EQ(Bar()->Position(), C.Expected);
    if (C.Expected == C.Start) {
        EXPECT_TRUE(Scrolled.empty());
    } else {
        ASSERT_EQ(Scrolled.size(), 1u);
        EXPECT_EQ(Scrolled[0], std::make_tuple(DCol, Row, C.Expected, 0, Range));
    }
}

// The bar's top position is Range - Page + 1: the page covers the last Page - 1 positions.
INSTANTIATE_TEST_SUITE_P(
    Codes, CellScrollBarSteps,
    ::testing::Values(StepCase{"LineDown", SB_LINEDOWN, 40, 50}, StepCase{"LineUp", SB_LINEUP, 40, 30},
                      StepCase{"LineUpStopsAtZero", SB_LINEUP, 5, 0}, StepCase{"PageDown", SB_PAGEDOWN, 40, 140},
                      StepCase{"PageUpStopsAtZero", SB_PAGEUP, 40, 0},
                      StepCase{"PageDownStopsAtTheEnd", SB_PAGEDOWN, 200, Range - Page + 1},
                      StepCase{"NothingAtTheTop", SB_LINEUP, 0, 0},
                      StepCase{"NothingAtTheEnd", SB_LINEDOWN, Range - Page + 1, Range - Page + 1},
                      StepCase{"ThumbPastTheEndStopsAtTheEnd", SB_THUMBTRACK, 40, Range - Page + 1}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(CellScrollBarMouse, TheNativeBarMovesByTheGridsStepsNotItsOwn) {
    MoveOver(DCol, Row);
    Bar()->Native()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(G->GetScrollPosition(RCol, Row), 50);
    EXPECT_EQ(Bar()->Position(), 50);
    Bar()->Native()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(G->GetScrollPosition(RCol, Row), 150);
    ASSERT_EQ(Scrolled.size(), 2u);
}

} // namespace
