// The filter's list of conditions: how conditions are added, found and removed.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(GridFilterTest, AddedConditionsJoinWithAndAfterTheFirst) {
    TFilter F;
    EXPECT_EQ(F.Add()->Operation(), foNONE);
    EXPECT_EQ(F.Add()->Operation(), foAND);
    EXPECT_EQ(F.Add()->Operation(), foAND);
    EXPECT_EQ(F.Count(), 3);
    EXPECT_TRUE(F.Items(0)->CaseSensitive());
    EXPECT_EQ(F.Items(0)->Method(), fmExpression);
    EXPECT_EQ(F.Items(0)->Data(), fcVirtual);
}

TEST(GridFilterTest, InsertPutsTheConditionAtItsIndex) {
    TFilter F;
    F.Add()->SetColumn(1);
    F.Add()->SetColumn(2);
    TFilterData* D = F.Insert(1);
    D->SetColumn(9);
    EXPECT_EQ(F.Items(0)->Column(), 1);
    EXPECT_EQ(F.Items(1)->Column(), 9);
    EXPECT_EQ(F.Items(2)->Column(), 2);
    F.Insert(3)->SetColumn(4); // at the end
    EXPECT_EQ(F.Items(3)->Column(), 4);
    EXPECT_THROW(F.Insert(5), EListError);
    EXPECT_THROW(F.Insert(-1), EListError);
    EXPECT_EQ(F.Count(), 4);
}

TEST(GridFilterTest, ReadingAColumnsFilterCreatesNothing) {
    TFilter F;
    EXPECT_EQ(F.ColumnFilter(4), nullptr);
    EXPECT_FALSE(F.HasFilter(4));
    EXPECT_EQ(F.Count(), 0);
    TFilterData* D = F.Add();
    D->SetColumn(4);
    EXPECT_EQ(F.ColumnFilter(4), D);
    EXPECT_TRUE(F.HasFilter(4));
}

TEST(GridFilterTest, RemoveColumnFilterDeletesEveryConditionOfThatColumn) {
    TExtStringGrid G(nullptr);
    TFilter* F = G.Filter();
    EXPECT_EQ(F->Owner(), &G);
    for (int c : {4, 2, 4}) F->Add()->SetColumn(c);
    F->RemoveColumnFilter(4);
    ASSERT_EQ(F->Count(), 1);
    EXPECT_EQ(F->Items(0)->Column(), 2);
}

TEST(GridFilterTest, AssignCopiesEveryConditionWhole) {
    TFilter Src, Dst;
    TFilterData* D = Src.Add();
    D->SetColumn(3);
    D->SetCondition("a*");
    D->SetMethod(fmLiteral);
    Dst.Add();
    Dst.Add();
    Dst.Assign(&Src);
    ASSERT_EQ(Dst.Count(), 1);
    EXPECT_EQ(Dst.Items(0)->Condition(), "a*");
    EXPECT_EQ(Dst.Items(0)->Method(), fmLiteral);
    EXPECT_NE(Dst.Items(0), Src.Items(0));
}

TEST(GridFilterTest, ItemsOutsideTheListRaise) {
    TFilter F;
    F.Add();
    EXPECT_THROW(F.Items(1), EListError);
    EXPECT_THROW(F.Delete(-1), EListError);
    TFilterData Lit;
    Lit.SetCondition("x");
    F.SetItems(0, &Lit);
    EXPECT_EQ(F.Items(0)->Condition(), "x");
}

} // namespace
