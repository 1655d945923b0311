// Calls that reach the string grid through its platform grid: code holding the grid as a plain
// string grid (the synchronised grid, the platform's own mouse and wheel handling) gets the
// string grid's behaviour, not the bare platform step.
#include "GridNavFixture.h"
#include "platform/rtl/SysUtils.h"

namespace {

using BaseCalls = GridNav;

TEST_F(BaseCalls, RowSetThroughThePlatformGridIsReported) {
    std::vector<std::pair<int, int>> Updates;
    G->OnRowUpdate = [&](TObject*, int Old, int New) { Updates.push_back({Old, New}); };
    TStringGrid& Base = *G;
    Base.SetRow(4);
    EXPECT_EQ(G->Row(), 4);
    ASSERT_FALSE(Updates.empty());
    EXPECT_EQ(Updates.back().second, 4);
}

TEST_F(BaseCalls, WheelStepsTheRowThroughTheGrid) {
    G->SetBounds(0, 0, 400, 250);
    G->SetRow(2);
    std::vector<int> Rows;
    G->OnRowUpdate = [&](TObject*, int, int New) { Rows.push_back(New); };
    TPoint P = G->ClientToScreen(TPoint{50, 50});
    G->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), MakeLParam(P.X, P.Y));
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(Rows, std::vector<int>{3});
}

TEST_F(BaseCalls, TopRowOutsideTheDataRowsIsIgnored) {
    G->SetRowCount(60);
    G->SetBounds(0, 0, 400, 250);
    G->SetTopRow(5);
    TCustomGrid& Base = *G;
    for (int Value : {0, 60, 100}) {
        Base.SetTopRow(Value);
        EXPECT_EQ(G->TopRow(), 5) << Value;
    }
}

TEST_F(BaseCalls, DefaultRowHeightReachesTheFloatingFooter) {
    TCustomGrid& Base = *G;
    Base.SetDefaultRowHeight(31);
    EXPECT_EQ(G->DefaultRowHeight(), 31);
    EXPECT_EQ(G->FloatingFooter()->Height(), 31);
}

// The column order is taken before the first move, whoever moves the column (the mouse included).
TEST_F(BaseCalls, ColumnMovedThroughThePlatformGridKeepsTheColumnOrder) {
    G->UnHideColumnsAll();
    TCustomGrid& Base = *G;
    Base.MoveColumn(1, 3);
    std::vector<int> Order;
    for (int i = 0; i < G->ColumnOrder()->Count(); ++i) Order.push_back(G->ColumnOrder()->GetInteger(i));
    EXPECT_EQ(Order, (std::vector<int>{0, 2, 3, 1, 4, 5}));
    EXPECT_EQ(G->Cells(3, 1), "1,1");
}

TEST_F(BaseCalls, RowsInsertedPastTheEndThroughThePlatformGridAreAppended) {
    TStringGrid& Base = *G;
    EXPECT_NO_THROW(Base.InsertRowRange(40, 2));
    EXPECT_EQ(G->RowCount(), 12);
    EXPECT_EQ(G->Cells(1, 9), "1,10");
    EXPECT_EQ(G->Cells(1, 10), "");
}

// Two grids that follow each other's selection hand a row or column on once, and stop.
TEST_F(BaseCalls, GridsFollowingEachOtherStopAfterOneStep) {
    auto H = std::make_unique<TExtStringGrid>(nullptr);
    H->SetColCount(5);
    H->SetRowCount(10);
    for (TExtStringGrid* A : {G.get(), H.get()}) {
        A->SyncGrid()->SetSelectionRow(true);
        A->SyncGrid()->SetSelectionColumn(true);
    }
    G->SyncGrid()->SetGrid(H.get());
    H->SyncGrid()->SetGrid(G.get());
    G->SetRow(5);
    G->SetCol(3);
    EXPECT_EQ(H->Row(), 5);
    EXPECT_EQ(H->Col(), 3);
    H->SetRow(2);
    EXPECT_EQ(G->Row(), 2);
    G->SyncGrid()->SetGrid(nullptr);
    H->SyncGrid()->SetGrid(nullptr);
}

TEST_F(BaseCalls, FixedCountsOfTheGridAndOfThePlatformGrid) {
    G->SetFixedRowAlways(true);
    G->SetFixedRows(0);
    EXPECT_EQ(G->PlatformFixedRows(), 0);
    EXPECT_EQ(G->FixedRows(), 1);
    G->SetFixedRowAlways(false);
    EXPECT_EQ(G->FixedRows(), 0);
}

} // namespace
