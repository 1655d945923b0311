// The string grid's scrolling: always-visible bars, thumb hints through WM_VSCROLL/WM_HSCROLL,
// metro controls, stretching, drag-over scrolling and proportional column sizing by the mouse.
#include "GridNavFixture.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

namespace {

using Scroll = GridNav;

TEST_F(Scroll, AlwaysVisibleBarOfFittingRowsShowsDisabled) {
    G->SetRowCount(3);
    G->SetScrollBarAlways(saVert);
    EXPECT_TRUE(G->ScrollBarShowing(SB_VERT));
    EXPECT_FALSE(G->ScrollBarEnabled(SB_VERT));
    G->SetScrollBarAlways(saNone);
    G->ApplyScrollBarAlways(true);
    EXPECT_FALSE(G->ScrollBarShowing(SB_VERT));
}

struct HintCase {
    const char* Name;
    Cardinal Msg;
    int Pos;
    TScrollHintType Hints;
    const char* Text; // "" when no hint shows
};
void PrintTo(const HintCase& C, std::ostream* Os) { *Os << C.Name; }

class HintTable : public GridNav, public ::testing::WithParamInterface<HintCase> {};

// 100 rows (one fixed, 10 in view) and 30 columns (one fixed, 4 in view).
TEST_P(HintTable, ThumbTrackingShowsWhereTheThumbIs) {
    const HintCase& C = GetParam();
    G->SetDefaultColWidth(70);
    G->SetColCount(30);
    G->SetRowCount(100);
    G->SetBounds(0, 0, 400, 275);
    ASSERT_EQ(G->VisibleRowCount(), 10);
    ASSERT_EQ(G->VisibleColCount(), 4);
    G->SetScrollHints(C.Hints);
    G->Perform(C.Msg, MakeWParam(SB_THUMBTRACK, C.Pos), 0);
    EXPECT_EQ(G->ScrollHintShowing(), *C.Text != 0);
    if (*C.Text) {
        EXPECT_EQ(G->ScrollHintText(), C.Text);
    }
    G->Perform(C.Msg, MakeWParam(SB_ENDSCROLL, 0), 0);
    EXPECT_FALSE(G->ScrollHintShowing());
}

INSTANTIATE_TEST_SUITE_P(Cases, HintTable,
                         ::testing::Values(HintCase{"RowAtTheEnd", WM_VSCROLL, 127, shVertical, "Row : 90"},
                                           HintCase{"RowAtTheStart", WM_VSCROLL, 0, shBoth, "Row : 1"},
                                           HintCase{"RowHalfway", WM_VSCROLL, 64, shVertical, "Row : 46"},
                                           HintCase{"NoRowHintsForHorizontalOnly", WM_VSCROLL, 127, shHorizontal, ""},
                                           HintCase{"ColumnAtTheEnd", WM_HSCROLL, 127, shHorizontal, "Col : 26"},
                                           HintCase{"NoHints", WM_HSCROLL, 127, shNone, ""}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(Scroll, ScrollHintEventMayChangeTheTextAndSynchScrolls) {
    G->SetRowCount(100);
    G->SetBounds(0, 0, 400, 260);
    ASSERT_EQ(G->VisibleRowCount(), 10);
    G->SetScrollHints(shVertical);
    G->SetScrollSynch(true);
    int HintRow = -1;
    G->OnScrollHint = [&](TObject*, int ARow, QString& Hint) {
        HintRow = ARow;
        Hint = "Row " + QString::number(ARow) + " of 100";
    };
    G->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 64), 0);
    EXPECT_EQ(HintRow, 46);
    EXPECT_EQ(G->ScrollHintText(), "Row 46 of 100");
    EXPECT_EQ(G->TopRow(), 46);
}

TEST_F(Scroll, MetroTypeReplacesTheBarsAndNormalBringsThemBack) {
    auto Form = std::make_unique<TForm>(nullptr); // the metro controls need the grid's window
    G->SetParent(Form.get());
    G->SetScrollType(ssMetro);
    EXPECT_EQ(G->ScrollBars(), ssNone);
    ASSERT_NE(G->MetroScrollControl(0), nullptr);
    ASSERT_NE(G->MetroScrollControl(1), nullptr);
    EXPECT_EQ(G->MetroScrollControl(0)->Width(), 6);
    EXPECT_EQ(G->MetroScrollControl(1)->Height(), 6);
    G->SetScrollType(ssNormal);
    EXPECT_EQ(G->ScrollBars(), ssBoth);
    EXPECT_EQ(G->MetroScrollControl(0), nullptr);
    G->SetScrollType(ssFlat);
    EXPECT_TRUE(G->FlatScroll());
    EXPECT_EQ(G->FlatScrollStyle(), 2);
    G->SetParent(nullptr);
}

TEST_F(Scroll, StretchingTheLastColumn) {
    try {
        G->StretchColumn(5);
        FAIL() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Stretch column index out of range");
    }
    const int Before = G->ColWidths(4);
    G->StretchRightColumn(); // ColumnSize.Stretch is off
    EXPECT_EQ(G->ColWidths(4), Before);
    G->ColumnSize()->SetStretch(true);
    G->StretchRightColumn();
    int Others = 0;
    for (int c = 0; c < 4; ++c) Others += G->ColWidths(c);
    EXPECT_EQ(G->ColWidths(4), G->ClientWidth() - Others - 1);
}

TEST_F(Scroll, DraggingOverTheTopMarginScrollsOneRowPerTick) {
    G->SetRowCount(100);
    G->SetTopRow(5);
    ASSERT_EQ(G->TopRow(), 5);
    G->DragScrollOptions()->SetActive(true);
    bool Accept = true;
    G->DragOver(nullptr, G->Width() / 2, G->Height() / 2, dsDragMove, Accept);
    EXPECT_FALSE(G->DragScrollTimerRunning()); // not near an edge
    G->DragOver(nullptr, 100, 5, dsDragEnter, Accept);
    ASSERT_TRUE(G->DragScrollTimerRunning());
    EXPECT_EQ(G->DragScrollTimer()->Interval(), 1000u);
    G->DragScrollTimer()->Tick();
    EXPECT_EQ(G->TopRow(), 4);
    EXPECT_EQ(G->DragScrollTimer()->Interval(), 250u);
    std::vector<int> Offered;
    G->OnDragScroll = [&](TObject*, int TopRow, int, TDragScrollDirection& Dir, bool& CanScroll) {
        Offered.push_back(TopRow);
        EXPECT_TRUE(Dir.Contains(dsdUp));
        CanScroll = TopRow > 3;
    };
    G->DragScrollTimer()->Tick();
    G->DragScrollTimer()->Tick();
    EXPECT_EQ(G->TopRow(), 3);
    EXPECT_EQ(Offered, (std::vector<int>{4, 3}));
    G->DragOver(nullptr, 100, 5, dsDragLeave, Accept);
    EXPECT_FALSE(G->DragScrollTimerRunning());
}

TEST_F(Scroll, SizingAColumnWithTheMouseScalesTheOthersWithAllColumnSize) {
    G->SetDefaultColWidth(50);
    G->SetOptions(G->Options() << goColSizing);
    G->MouseActions()->SetAllColumnSize(true);
    std::vector<int> Ended;
    G->OnEndColumnSize = [&](TObject*, int ACol) { Ended.push_back(ACol); };
    const TRect R = G->CellRect(2, 0);
    ASSERT_TRUE(G->IsSizingBorder(R.Right, 5));
    G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(R.Right, 5));
    G->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(R.Right + 50, 5));
    G->Perform(WM_LBUTTONUP, 0, MakeLParam(R.Right + 50, 5));
    const int NewWidth = G->ColWidths(2);
    ASSERT_GT(NewWidth, 90);
    EXPECT_EQ(Ended, std::vector<int>{2});
    for (int c = 1; c < G->ColCount(); ++c) EXPECT_EQ(G->ColWidths(c), NewWidth) << c;
    EXPECT_EQ(G->ColWidths(0), 50); // fixed columns keep their width
}

TEST_F(Scroll, UpdateColumnSizeMayChangeTheSizedWidth) {
    G->SetDefaultColWidth(50);
    G->OnUpdateColumnSize = [](TObject*, int, int& AWidth) { AWidth = 77; };
    G->NoteSizingStart(true, 3);
    G->SetColWidths(3, 120);
    EXPECT_EQ(G->ColWidths(3), 77);
    G->SetColWidths(3, 60); // no longer sized with the mouse
    EXPECT_EQ(G->ColWidths(3), 60);
}

TEST_F(Scroll, ProportionalThumbLeavesAFittingGridAlone) {
    TScrollInfo Before;
    G->GetScrollInfo(SB_VERT, Before);
    G->SetScrollProportional(true);
    TScrollInfo After;
    G->GetScrollInfo(SB_VERT, After);
    EXPECT_EQ(After.nMax, Before.nMax);
    G->SetRowCount(200);
    G->SetScrollProportional(true);
    G->GetScrollInfo(SB_VERT, After);
    // 10 of 200 rows in view: a thumb of about a twentieth of the range.
    EXPECT_GT(After.nMax, 127);
    EXPECT_EQ(int(After.nPage), After.nMax - 126);
}

} // namespace
