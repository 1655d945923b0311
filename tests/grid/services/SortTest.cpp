// Sorting: each comparison style against a plain stable sort of the same keys, indexed and
// group sorts, unsort, the header click, and a sort that raises.
#include "grid/base/ExtUtil.h"
#include "tests/grid/services/SortFixture.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <stdexcept>

namespace {

// The order a plain stable sort of (key, row) gives, as tags.
using Less = std::function<bool(const QString&, const QString&)>;
std::vector<std::string> Expected(const std::vector<QString>& Values, const Less& L, bool Descending) {
    std::vector<int> Idx(Values.size());
    std::iota(Idx.begin(), Idx.end(), 0);
    std::stable_sort(Idx.begin(), Idx.end(), [&](int A, int B) {
        return Descending ? L(Values[size_t(B)], Values[size_t(A)]) : L(Values[size_t(A)], Values[size_t(B)]);
    });
    std::vector<std::string> T;
    for (int I : Idx) T.push_back("r" + std::to_string(I));
    return T;
}

double Num(const QString& S) {
    bool Ok = false;
    const double D = S.trimmed().toDouble(&Ok);
    return Ok ? D : 0;
}

struct StyleCase {
    const char* Name;
    TSortStyle Style;
    bool AutoFormat;
    std::vector<QString> Values;
    Less Key;
    TSortDirection Direction;
};
void PrintTo(const StyleCase& C, std::ostream* Os) { *Os << C.Name; }

const Less Ordinal = [](const QString& A, const QString& B) { return QString::compare(A, B) < 0; };
const Less Numeric = [](const QString& A, const QString& B) { return Num(A) < Num(B); };
const Less NoCase = [](const QString& A, const QString& B) {
    return QString::compare(A.toUpper(), B.toUpper()) < 0; // the cases use ASCII letters only
};

const std::vector<QString> Words{"pear", "Apple", "apple", "banana", "Cherry", "apple", "", "date", "Banana"};
const std::vector<QString> Numbers{"10", "9", "-3", "2.5", "100", "-20", "9", "0", "1e3", "-0.5"};

class SortStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(SortStyles, MatchesStableSortOfTheKeys) {
    const StyleCase& C = GetParam();
    SortGridFixture F;
    F.Fill(C.Values);
    F.G->SortSettings()->SetAutoFormat(C.AutoFormat);
    F.G->SortSettings()->SetFull(false); // only the value column decides; ties keep their order
    if (C.Style != ssAutomatic)
        F.G->OnGetFormat = [&](TObject*, int ACol, TSortStyle& S, QString&, QString&) {
            if (ACol == SortGridFixture::ValueCol) S = C.Style;
        };
    F.G->Sort(SortGridFixture::ValueCol, C.Direction);
    EXPECT_EQ(F.Tags(), Expected(C.Values, C.Key, C.Direction == TSortDirection::sdDescending));
    EXPECT_EQ(F.G->NumHiddenRows(), 1);
    EXPECT_EQ(F.G->GetCellsEx(0, 2), "hidden");
}

INSTANTIATE_TEST_SUITE_P(
    Styles, SortStyles,
    ::testing::Values(
        StyleCase{"alphabetic_ascending", ssAlphabetic, false, Words, Ordinal, TSortDirection::sdAscending},
        StyleCase{"alphabetic_descending", ssAlphabetic, false, Words, Ordinal, TSortDirection::sdDescending},
        StyleCase{"alpha_case", ssAlphaCase, false, Words, Ordinal, TSortDirection::sdAscending},
        StyleCase{"alpha_no_case", ssAlphaNoCase, false, Words, NoCase, TSortDirection::sdAscending},
        StyleCase{"alpha_no_case_descending", ssAlphaNoCase, false, Words, NoCase, TSortDirection::sdDescending},
        StyleCase{"html",
                  ssHTML,
                  false,
                  {"<b>b</b>", "a", "<i>c</i>", "b"},
                  [](const QString& A, const QString& B) { return StripHTMLTags(A) < StripHTMLTags(B); },
                  TSortDirection::sdAscending},
        StyleCase{"numeric_ascending", ssNumeric, false, Numbers, Numeric, TSortDirection::sdAscending},
        StyleCase{"numeric_descending", ssNumeric, false, Numbers, Numeric, TSortDirection::sdDescending},
        StyleCase{"automatic_numbers", ssAutomatic, true, Numbers, Numeric, TSortDirection::sdAscending},
        StyleCase{"automatic_words", ssAutomatic, true, Words, Ordinal, TSortDirection::sdAscending},
        StyleCase{"alphanumeric_numbers", ssAlphaNumeric, false, Numbers, Numeric, TSortDirection::sdAscending},
        StyleCase{"custom_without_handler_keeps_order", ssCustom, false, Words,
                  [](const QString&, const QString&) { return false; }, TSortDirection::sdAscending},
        StyleCase{"raw_without_handler_keeps_order", ssRaw, false, Numbers,
                  [](const QString&, const QString&) { return false; }, TSortDirection::sdAscending}),
    [](const ::testing::TestParamInfo<StyleCase>& I) { return std::string(I.param.Name); });

// Sizes and orders that would drive a naive quicksort to its worst case and deep recursion.
struct ShapeCase {
    const char* Name;
    std::function<QString(int I, int N)> Value;
};
void PrintTo(const ShapeCase& C, std::ostream* Os) { *Os << C.Name; }

class SortShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(SortShapes, LargeGridsSortWithoutDeepRecursion) {
    const int N = 100000;
    std::vector<QString> Values(static_cast<size_t>(N));
    for (int i = 0; i < N; ++i) Values[size_t(i)] = GetParam().Value(i, N);
    SortGridFixture F;
    F.Fill(Values);
    F.G->SortSettings()->SetFull(false);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), Expected(Values, Numeric, false));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SortShapes,
    ::testing::Values(ShapeCase{"ascending", [](int I, int) { return QString::number(I); }},
                      ShapeCase{"descending", [](int I, int N) { return QString::number(N - I); }},
                      ShapeCase{"all_equal", [](int, int) { return QString("7"); }},
                      ShapeCase{"organ_pipe", [](int I, int N) { return QString::number(I < N / 2 ? I : N - I); }},
                      ShapeCase{"few_distinct", [](int I, int) { return QString::number(I % 3); }}),
    [](const ::testing::TestParamInfo<ShapeCase>& I) { return std::string(I.param.Name); });

TEST(Sort, NumericEmptyCountsAsZeroAndBlanksGoWhereAsked) {
    SortGridFixture F;
    F.Fill({"10", "9", ""});
    F.G->SortSettings()->SetAutoFormat(false);
    F.G->OnGetFormat = [](TObject*, int, TSortStyle& S, QString&, QString&) { S = ssNumeric; };
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r2", "r1", "r0"}));
    F.G->SortSettings()->SetIgnoreBlanks(true);
    F.G->SortSettings()->SetBlankPos(blLast);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r0", "r2"}));
    // Descending with blFirst still puts the blank first.
    F.G->SortSettings()->SetBlankPos(blFirst);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdDescending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r2", "r0", "r1"}));
}

TEST(Sort, NumericTextThatDoesNotConvertKeepsItsSign) {
    SortGridFixture F;
    F.Fill({"5", "-12kg", "3"});
    F.G->SortSettings()->SetAutoFormat(false);
    F.G->OnGetFormat = [](TObject*, int, TSortStyle& S, QString&, QString&) { S = ssNumeric; };
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r2", "r0"}));
}

TEST(Sort, PrefixAndSuffixAreCutBeforeReading) {
    SortGridFixture F;
    F.Fill({"$30EUR", "$4EUR", "$200EUR"});
    F.G->OnGetFormat = [](TObject*, int, TSortStyle& S, QString& P, QString& Sf) {
        S = ssNumeric;
        P = "$";
        Sf = "EUR";
    };
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r0", "r2"}));
}

TEST(Sort, FullBreaksTiesWithTheFollowingColumnsHiddenOnesIncluded) {
    SortGridFixture F;
    F.Fill({"b", "a", "b", "a"}, {"2", "2", "1", "1"});
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    // Ties on the value column fall to the hidden column (h-tags), which orders by tag.
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r3", "r0", "r2"}));
    F.G->IgnoredColumns()->Add(SortGridFixture::HiddenCol);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r3", "r1", "r2", "r0"}));
}

TEST(Sort, IndexedSortUsesEachKeysDirection) {
    SortGridFixture F;
    F.Fill({"1", "2", "1", "2", "3"}, {"b", "a", "a", "c", "z"});
    F.G->SortIndexes()->AddIndex(SortGridFixture::ValueCol, false);
    F.G->SortIndexes()->AddIndex(SortGridFixture::SecondCol, true);
    F.G->QSortIndexed();
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r4", "r1", "r3", "r2", "r0"}));
    // Without Full only the first key decides: equal rows keep their order.
    F.G->QUnSort();
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4"}));
    F.G->SortSettings()->SetFull(false);
    F.G->QSortIndexed();
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r4", "r1", "r3", "r0", "r2"}));
}

TEST(Sort, IndexedSortWithoutKeysRaisesAndChangesNothing) {
    SortGridFixture F;
    F.Fill({"3", "1", "2"});
    EXPECT_THROW(F.G->QSortIndexed(), EExtGridError);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r2"}));
}

TEST(Sort, UnSortRestoresTheOrderBeforeSortingHiddenColumnsIncluded) {
    SortGridFixture F;
    F.Fill({"c", "a", "d", "b"});
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    F.G->Sort(SortGridFixture::SecondCol, TSortDirection::sdDescending);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdDescending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r2", "r0", "r3", "r1"}));
    F.G->QUnSort();
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r2", "r3"}));
}

TEST(Sort, FixedRowsAndFootersStayAndColumnZeroStaysWithNormalCellsOnly) {
    SortGridFixture F;
    F.Fill({"c", "a", "b"}, {}, false);
    F.G->SetRowCount(F.G->RowCount() + 1);
    F.G->SetGridCell(SortGridFixture::ValueCol, 4, "footer");
    F.G->SetFixedFooters(1);
    F.G->SetFixedCols(1);
    F.G->SortSettings()->SetNormalCellsOnly(true);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::ValueCol, 0), "value");
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::ValueCol, 4), "footer");
    // Column 0 (the tags) kept its place; the values and the hidden column moved.
    EXPECT_EQ(F.G->GetGridCell(0, 1), "r0");
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::ValueCol, 1), "a");
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::HiddenCol, 1), "hr1");
}

TEST(Sort, GroupSortSortsTheChildrenOfEachNodeOnly) {
    SortGridFixture F;
    F.Fill({"g1", "c", "a", "b", "g2", "z", "y"}, {}, false);
    F.G->AddNode(1, 4);
    F.G->AddNode(5, 3);
    F.G->SortSettings()->SetColumn(SortGridFixture::ValueCol);
    F.G->QSortGroup();
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r2", "r3", "r1", "r4", "r6", "r5"}));
}

TEST(Sort, SortLineExchangesOnlyRowsOutOfOrder) {
    SortGridFixture F;
    F.Fill({"a", "b"}, {}, false);
    EXPECT_FALSE(F.G->SortLine(SortGridFixture::ValueCol, 1, 2));
    F.G->SortSettings()->SetDirection(TSortDirection::sdDescending);
    EXPECT_TRUE(F.G->SortLine(SortGridFixture::ValueCol, 1, 2));
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r0"}));
}

TEST(Sort, AHandlerThatRaisesLeavesTheGridAsItWas) {
    SortGridFixture F;
    F.Fill({"c", "a", "b", "d"});
    const int Rows = F.G->RowCount(), Cols = F.G->ColCount(), Width = F.G->ColWidths(Cols - 1);
    int Calls = 0;
    F.G->OnGetFormat = [](TObject*, int, TSortStyle& S, QString&, QString&) { S = ssCustom; };
    F.G->OnCustomCompare = [&](TObject*, const QString& A, const QString& B, int& Res) {
        if (++Calls == 3) throw std::runtime_error("handler failed");
        Res = QString::compare(A, B);
    };
    EXPECT_THROW(F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending), std::runtime_error);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r2", "r3"}));
    EXPECT_EQ(F.G->RowCount(), Rows);
    EXPECT_EQ(F.G->ColCount(), Cols);
    EXPECT_EQ(F.G->ColWidths(Cols - 1), Width);
    EXPECT_EQ(F.G->NumHiddenRows(), 1);
    EXPECT_EQ(F.G->NumHiddenColumns(), 1);
    // The update lock is released: a later sort works and repaints.
    Calls = -100;
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r2", "r0", "r3"}));
}

TEST(Sort, CursorRowTravelsWithItsDataWithMoveRowOnSort) {
    SortGridFixture F;
    F.Fill({"c", "a", "b"}, {}, false);
    F.G->SetRow(1); // r0 ("c")
    F.G->Navigation()->SetMoveRowOnSort(true);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.G->Row(), 3);
    F.G->Navigation()->SetMoveRowOnSort(false);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdDescending);
    EXPECT_EQ(F.G->Row(), 3);
}

} // namespace
