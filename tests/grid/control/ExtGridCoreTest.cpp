// The string grid's construction, defaults, sizing and lifetime.
#include "grid/control/ExtGrid.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ExtGridCore, NewGridHasItsCountsAndSizes) {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    EXPECT_EQ(G->ColCount(), 5);
    EXPECT_EQ(G->RowCount(), 10);
    EXPECT_EQ(G->FixedRows(), 1);
    EXPECT_EQ(G->FixedCols(), 1);
    EXPECT_EQ(G->DefaultRowHeight(), 22);
    EXPECT_EQ(G->FixedRowHeight(), 22);
    EXPECT_EQ(G->Width(), 400);
    EXPECT_EQ(G->Height(), 250);
}

} // namespace
