// Whole-row storage of the string grid: rearranging rows in one pass, and taking a row's cells
// out of the grid and back without copying them.
#include "platform/grids/Grids.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TTag : public TObject {};

class TRowGrid : public TStringGrid {
public:
    using TStringGrid::RearrangeRows;
    using TStringGrid::TStringGrid;
};

class RowStorage : public ::testing::Test {
protected:
    void SetUp() override {
        G.SetColCount(4);
        G.SetRowCount(6);
        for (int R = 0; R < 6; ++R) {
            G.SetRowHeights(R, 20 + R);
            for (int C = 0; C < 4; ++C) G.SetCells(C, R, QString("%1:%2").arg(C).arg(R));
        }
        G.SetCells(6, 2, "beyond ColCount"); // cells outside the counts belong to the row too
        G.SetObjects(1, 3, &Tag);
    }
    TRowGrid G{nullptr};
    TTag Tag;
};

TEST_F(RowStorage, RearrangeMovesTextsObjectsAndHeightsAndMakesEmptyRows) {
    G.SetRow(4);
    G.RearrangeRows({3, -1, 0, 2}); // rows 1, 4 and 5 go
    ASSERT_EQ(G.RowCount(), 4);
    EXPECT_EQ(G.Cells(0, 0), "0:3");
    EXPECT_EQ(G.Objects(1, 0), &Tag);
    EXPECT_EQ(G.RowHeights(0), 23);
    EXPECT_EQ(G.Cells(0, 1), "");
    EXPECT_EQ(G.RowHeights(1), G.DefaultRowHeight());
    EXPECT_EQ(G.Cells(2, 2), "2:0");
    EXPECT_EQ(G.Cells(6, 3), "beyond ColCount");
    EXPECT_EQ(G.Objects(1, 3), nullptr);
    EXPECT_EQ(G.Row(), 3); // the current cell stays inside the sheet
    G.SetRowCount(6);
    EXPECT_EQ(G.Cells(0, 4), ""); // removed rows are gone, not kept beyond the count
    EXPECT_THROW(G.RearrangeRows({0, 9}), EInvalidGridOperation);
}

// Plans that only close up or only open gaps move the rows in place; both end as asked.
TEST_F(RowStorage, ClosingUpAndOpeningGapsInPlace) {
    G.RearrangeRows({0, 2, 3, -1}); // rows 1, 4 and 5 go, one empty row at the end
    ASSERT_EQ(G.RowCount(), 4);
    EXPECT_EQ(G.Cells(0, 1), "0:2");
    EXPECT_EQ(G.Cells(6, 1), "beyond ColCount");
    EXPECT_EQ(G.Objects(1, 2), &Tag);
    EXPECT_EQ(G.RowHeights(2), 23);
    EXPECT_EQ(G.Cells(0, 3), "");
    G.RearrangeRows({-1, 0, 1, -1, 2, 3, -1});
    ASSERT_EQ(G.RowCount(), 7);
    const char* Expected[] = {"", "0:0", "0:2", "", "0:3", "", ""};
    for (int R = 0; R < 7; ++R) EXPECT_EQ(G.Cells(0, R), Expected[R]) << R;
    EXPECT_EQ(G.Objects(1, 4), &Tag);
    G.RearrangeRows({1, 2}); // only closing up, the rest goes
    ASSERT_EQ(G.RowCount(), 2);
    EXPECT_EQ(G.Cells(0, 0), "0:0");
    EXPECT_EQ(G.Cells(0, 1), "0:2");
    G.SetRowCount(7);
    for (int R = 2; R < 7; ++R) EXPECT_EQ(G.Cells(0, R), "") << R;
}

// A closing-up plan that puts an empty row where an unnamed row stood: that row's cells are
// freed, not overwritten (the sanitizer build reports a leak otherwise).
TEST_F(RowStorage, ClosingUpOverAnUnnamedRowFreesIt) {
    G.RearrangeRows({0, -1, 3, -1, 5});
    ASSERT_EQ(G.RowCount(), 5);
    const char* Expected[] = {"0:0", "", "0:3", "", "0:5"};
    for (int R = 0; R < 5; ++R) EXPECT_EQ(G.Cells(0, R), Expected[R]) << R;
    EXPECT_EQ(G.Objects(1, 2), &Tag);
    EXPECT_EQ(G.Cells(6, 1), "");
}

TEST_F(RowStorage, ARowNamedTwiceComesBackEmptyTheSecondTime) {
    G.RearrangeRows({2, 2, 1});
    EXPECT_EQ(G.Cells(0, 0), "0:2");
    EXPECT_EQ(G.Cells(0, 1), "");
    EXPECT_EQ(G.Cells(0, 2), "0:1");
}

TEST_F(RowStorage, DetachedRowsKeepTheirCellsUntilAttached) {
    TStringGrid::TDetachedRow Row = G.DetachRow(3);
    EXPECT_EQ(G.Cells(0, 3), "");
    EXPECT_EQ(G.Objects(1, 3), nullptr);
    EXPECT_EQ(Row.Cells(2), "2:3");
    EXPECT_EQ(Row.Objects(1), &Tag);
    EXPECT_EQ(Row.ObjectCount(), 2);
    Row.SetCells(7, "grown");
    Row.SetCells(0, "");
    G.AttachRow(5, Row);
    EXPECT_EQ(G.Cells(7, 5), "grown");
    EXPECT_EQ(G.Cells(0, 5), "");
    EXPECT_EQ(G.Cells(2, 5), "2:3");
    EXPECT_EQ(G.Objects(1, 5), &Tag);
    EXPECT_EQ(Row.Cells(2), ""); // left empty
    G.AttachRow(40, Row); // an empty row beyond the rows changes nothing
    EXPECT_EQ(G.Cells(0, 40), "");
    TStringGrid::TDetachedRow Moved = G.DetachRow(0);
    TStringGrid::TDetachedRow Other = std::move(Moved);
    EXPECT_EQ(Other.Cells(1), "1:0");
    EXPECT_EQ(Moved.Cells(1), "");
}

} // namespace
