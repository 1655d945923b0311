// The selection store on its own: growth on demand, the selected-rows order, 64-bit cell keys
// and the modified and disabled row flags.
#include "grid/control/ExtGridSelStore.h"

#include "platform/rtl/SysUtils.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(GridSelStore, AskingARowBeyondTheListAnswersFalseWithoutGrowingIt) {
    TGridSelStore S;
    S.SetRowFlag(3, true);
    EXPECT_EQ(S.RowFlagCount(), 4);
    EXPECT_FALSE(S.RowFlag(100000));
    EXPECT_EQ(S.RowFlagCount(), 4);
    EXPECT_FALSE(S.ColFlag(70000));
    EXPECT_EQ(S.ColFlagCount(), 0);
    EXPECT_EQ(S.CheckConsistency(), "");
}

TEST(GridSelStore, NegativeIndexesRaiseTheListIndexError) {
    TGridSelStore S;
    EXPECT_THROW(S.RowFlag(-1), EListError);
    EXPECT_THROW(S.SetRowFlag(-1, true), EListError);
    EXPECT_THROW(S.SetColFlag(-2, true), EListError);
    EXPECT_THROW(S.SetRowModified(-1, true), EListError);
    try {
        S.RowFlag(-7);
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "List index out of bounds (-7)");
    }
    EXPECT_EQ(S.RowFlagCount(), 0);
    EXPECT_EQ(S.CheckConsistency(), "");
}

TEST(GridSelStore, SelectedRowsKeepTheirSelectionOrderOnce) {
    TGridSelStore S;
    for (int R : {7, 2, 7, 40000, 2}) {
        S.SetRowFlag(R, true);
        S.AddSelectedRow(R);
        ASSERT_EQ(S.CheckConsistency(), "");
    }
    EXPECT_EQ(S.SelectedRows(), (std::vector<int>{7, 2, 40000}));
    S.SetRowFlag(2, false);
    S.RemoveSelectedRow(2);
    S.RemoveSelectedRow(99); // not listed
    EXPECT_EQ(S.CheckConsistency(), "");
    EXPECT_EQ(S.SelectedRows(), (std::vector<int>{7, 40000}));
    EXPECT_EQ(S.CountRowFlags(S.RowFlagCount()), 2);
    EXPECT_EQ(S.CountRowFlags(100), 1); // row 40000 lies beyond the first 100 entries
    EXPECT_EQ(S.FlaggedRows(), (std::vector<int>{7, 40000}));
}

TEST(GridSelStore, AListedRowWithoutItsFlagIsReported) {
    TGridSelStore S;
    S.AddSelectedRow(5);
    EXPECT_NE(S.CheckConsistency(), "");
}

struct CellCase {
    const char* Name;
    int Col;
    int Row;
};

void PrintTo(const CellCase& C, std::ostream* os) { *os << C.Name << " (" << C.Col << ", " << C.Row << ")"; }

class GridSelStoreCells : public ::testing::TestWithParam<CellCase> {};

// Packing a row and a 16-bit column into 32 bits makes distinct cells collide beyond row 32,767
// and column 65,535; every one of these cells is its own entry.
TEST_P(GridSelStoreCells, EveryCellKeepsItsOwnKey) {
    const CellCase& C = GetParam();
    TGridSelStore S;
    S.AddCell(C.Col, C.Row);
    EXPECT_TRUE(S.HasCell(C.Col, C.Row));
    EXPECT_EQ(TGridSelStore::KeyCol(TGridSelStore::CellKey(C.Col, C.Row)), C.Col);
    EXPECT_EQ(TGridSelStore::KeyRow(TGridSelStore::CellKey(C.Col, C.Row)), C.Row);
    // the neighbours that a 16-bit packing would confuse with this cell
    EXPECT_FALSE(S.HasCell(C.Col + 65536, C.Row - 1));
    if (C.Col > 0xFFFF) EXPECT_FALSE(S.HasCell(C.Col & 0xFFFF, C.Row));
    EXPECT_FALSE(S.HasCell(C.Col, C.Row + 65536));
    EXPECT_EQ(S.CheckConsistency(), "");
    S.RemoveCell(C.Col, C.Row);
    EXPECT_EQ(S.CellCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, GridSelStoreCells,
                         ::testing::Values(CellCase{"Origin", 0, 1}, CellCase{"Row32767", 3, 32767},
                                           CellCase{"Row32768", 3, 32768}, CellCase{"Row65536", 3, 65536},
                                           CellCase{"Col65535", 65535, 5}, CellCase{"Col65536", 65536, 5},
                                           CellCase{"Row1000000Col70000", 70000, 1000000},
                                           CellCase{"RowIntMax", 1, INT_MAX - 70000}),
                         [](const ::testing::TestParamInfo<CellCase>& I) { return std::string(I.param.Name); });

TEST(GridSelStore, ModifiedRowsAreCountedAsTheyChange) {
    TGridSelStore S;
    S.SetRowModified(4, true);
    S.SetRowModified(4, true);
    S.SetRowModified(70000, true);
    EXPECT_EQ(S.ModifiedRowCount(), 2);
    S.SetRowModified(4, false);
    S.SetRowModified(9, false);
    EXPECT_EQ(S.ModifiedRowCount(), 1);
    EXPECT_TRUE(S.RowModified(70000));
    EXPECT_FALSE(S.RowModified(4));
    EXPECT_FALSE(S.RowModified(-1));
    EXPECT_EQ(S.CheckConsistency(), "");
}

TEST(GridSelStore, TheFirstDisabledRowPutsTheEnabledListInUse) {
    TGridSelStore S;
    EXPECT_FALSE(S.EnabledRowsUsed());
    S.SetRowDisabled(3, false);
    EXPECT_TRUE(S.EnabledRowsUsed());
    S.SetRowDisabled(5, true);
    EXPECT_TRUE(S.RowDisabled(5));
    EXPECT_FALSE(S.RowDisabled(3));
    EXPECT_FALSE(S.RowDisabled(100));
    EXPECT_EQ(S.CheckConsistency(), "");
}

} // namespace
