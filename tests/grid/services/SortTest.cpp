// Sorting: each comparison style against a plain stable sort of the same keys, indexed and
// group sorts, unsort, the header click, and a sort that raises.
#include "grid/base/ExtUtil.h"
#include "tests/grid/GridFormatFixture.h"
#include "tests/grid/services/SortFixture.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
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

// Styles whose order is easiest to state outright: dates, times, financial texts, mixed
// alphanumeric columns and numbers written in several ways, under pinned locale separators
// (decimal ".", thousand ",", date "/", time ":", short date day first).
struct KnownOrderCase {
    const char* Name;
    TSortStyle Style; // ssAutomatic: chosen from the cells (AutoFormat on)
    std::vector<QString> Values;
    TSortDirection Direction;
    std::vector<std::string> Expected;
};
void PrintTo(const KnownOrderCase& C, std::ostream* Os) { *Os << C.Name; }

class SortKnownOrders : public GridFormatTest, public ::testing::WithParamInterface<KnownOrderCase> {};

TEST_P(SortKnownOrders, RowsComeInTheStatedOrder) {
    const KnownOrderCase& C = GetParam();
    SortGridFixture F;
    F.Fill(C.Values);
    F.G->SortSettings()->SetAutoFormat(C.Style == ssAutomatic);
    F.G->SortSettings()->SetFull(false); // equal values keep their order
    if (C.Style != ssAutomatic)
        F.G->OnGetFormat = [&](TObject*, int ACol, TSortStyle& S, QString&, QString&) {
            if (ACol == SortGridFixture::ValueCol) S = C.Style;
        };
    F.G->Sort(SortGridFixture::ValueCol, C.Direction);
    EXPECT_EQ(F.Tags(), C.Expected);
    EXPECT_EQ(F.G->GetCellsEx(0, 2), "hidden");
}

const auto Asc = TSortDirection::sdAscending;
const auto Desc = TSortDirection::sdDescending;

INSTANTIATE_TEST_SUITE_P(
    Styles, SortKnownOrders,
    ::testing::Values(
        KnownOrderCase{"automatic_dates_day_first",
                       ssAutomatic,
                       {"03/01/2021", "02/12/2020", "15/06/2020", "01/01/2022"},
                       Asc,
                       {"r2", "r1", "r0", "r3"}},
        KnownOrderCase{"automatic_dates_descending",
                       ssAutomatic,
                       {"03/01/2021", "02/12/2020", "15/06/2020", "01/01/2022"},
                       Desc,
                       {"r3", "r0", "r1", "r2"}},
        KnownOrderCase{"automatic_text_with_a_separator_stays_alphabetic",
                       ssAutomatic,
                       {"ab/cd", "b", "aa/zz"},
                       Asc,
                       {"r2", "r0", "r1"}},
        KnownOrderCase{
            "automatic_times", ssAutomatic, {"10:30", "9:05", "23:59", "00:01"}, Asc, {"r3", "r1", "r0", "r2"}},
        KnownOrderCase{"financial_thousand_separators",
                       ssFinancial,
                       {"1,200", "950", "20", "3,000.5"},
                       Asc,
                       {"r2", "r1", "r0", "r3"}},
        KnownOrderCase{
            "short_date_day_first", ssShortDateEU, {"03/01/2021", "02/12/2020", "15/06/2020"}, Asc, {"r2", "r1", "r0"}},
        KnownOrderCase{"short_date_month_first",
                       ssShortDateUS,
                       {"03/01/2021", "02/12/2020", "12/15/2020"},
                       Asc,
                       {"r1", "r2", "r0"}},
        KnownOrderCase{"ansi_no_case_keeps_equal_letters_in_order",
                       ssAnsiAlphaNoCase,
                       {"b", "A", "a", "C"},
                       Asc,
                       {"r1", "r2", "r0", "r3"}},
        KnownOrderCase{"alphanumeric_numbers_by_value_words_after",
                       ssAlphaNumeric,
                       {"10", "9", "abc", "2"},
                       Asc,
                       {"r3", "r1", "r0", "r2"}},
        KnownOrderCase{"one_number_written_several_ways_ties",
                       ssNumeric,
                       {"0.3", "3e-1", "0.30", "-1", "+0.3", " 0.3"},
                       Asc,
                       {"r3", "r0", "r1", "r2", "r4", "r5"}},
        KnownOrderCase{"more_digits_than_a_double_holds",
                       ssNumeric,
                       {"12345678901234567.5", "12345678901234568", "1.0000000000000002", "1"},
                       Asc,
                       {"r3", "r2", "r0", "r1"}},
        KnownOrderCase{"numbers_beyond_the_double_range_keep_their_place",
                       ssNumeric,
                       {"1e999", "5", "-1e999", "-5", "1e-999"},
                       Asc,
                       {"r2", "r3", "r4", "r1", "r0"}},
        KnownOrderCase{
            "automatic_numbers_descending", ssAutomatic, {"2.5", "-3", "10", "0"}, Desc, {"r2", "r0", "r3", "r1"}}),
    [](const ::testing::TestParamInfo<KnownOrderCase>& I) { return std::string(I.param.Name); });

// Larger grids with many equal values: the first key ties often, and the rest of the chain
// (here the hidden column, "h" and the tag) decides; descending turns the whole chain round.
struct ChainCase {
    const char* Name;
    bool Numbers;
    TSortDirection Direction;
};
void PrintTo(const ChainCase& C, std::ostream* Os) { *Os << C.Name; }

class SortFullChain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(SortFullChain, TiesFallToTheFollowingColumns) {
    const ChainCase& C = GetParam();
    const std::vector<QString> Words{"kiwi", "fig", "Fig", "kiwis", "apple", "kiw", ""};
    const std::vector<QString> Nums{"3", "-1", "2.5", "10", "0", "-0", "1e1"};
    std::mt19937 Rng(7);
    std::vector<QString> Values(3000);
    for (QString& V : Values) V = (C.Numbers ? Nums : Words)[Rng() % 7];
    SortGridFixture F;
    F.Fill(Values);
    F.G->Sort(SortGridFixture::ValueCol, C.Direction);

    const bool Down = C.Direction == TSortDirection::sdDescending;
    std::vector<int> Idx(Values.size());
    std::iota(Idx.begin(), Idx.end(), 0);
    auto Cmp = [&](int A, int B) {
        int R = C.Numbers ? (Num(Values[size_t(A)]) < Num(Values[size_t(B)])       ? -1
                                 : Num(Values[size_t(B)]) < Num(Values[size_t(A)]) ? 1
                                                                                   : 0)
                          : QString::compare(Values[size_t(A)], Values[size_t(B)]);
        if (R == 0) R = QString::compare(QString("hr%1").arg(A), QString("hr%1").arg(B));
        return Down ? R > 0 : R < 0;
    };
    std::stable_sort(Idx.begin(), Idx.end(), Cmp);
    std::vector<std::string> Want;
    for (int I : Idx) Want.push_back("r" + std::to_string(I));
    EXPECT_EQ(F.Tags(), Want);
}

INSTANTIATE_TEST_SUITE_P(Chains, SortFullChain,
                         ::testing::Values(ChainCase{"text_ascending", false, TSortDirection::sdAscending},
                                           ChainCase{"text_descending", false, TSortDirection::sdDescending},
                                           ChainCase{"numbers_ascending", true, TSortDirection::sdAscending},
                                           ChainCase{"numbers_descending", true, TSortDirection::sdDescending}),
                         [](const ::testing::TestParamInfo<ChainCase>& I) { return std::string(I.param.Name); });

// The exchange counter: what a row-by-row sort needs at least (rows out of place less the
// cycles of the permutation), whether whole rows move or only the sort column.
struct SwapCase {
    const char* Name;
    std::function<int(int I, int N)> Rank; // the rank of row I's value: a permutation of 0 .. N - 1
    int N;
    bool SingleColumn;
};
void PrintTo(const SwapCase& C, std::ostream* Os) { *Os << C.Name; }

class SortSwapCount : public ::testing::TestWithParam<SwapCase> {};

std::vector<int> ShuffledRanks(int N) {
    std::vector<int> P(static_cast<size_t>(N));
    std::iota(P.begin(), P.end(), 0);
    std::shuffle(P.begin(), P.end(), std::mt19937(99));
    return P;
}

TEST_P(SortSwapCount, CountsTheExchangesOfTheFewestSwaps) {
    const SwapCase& C = GetParam();
    std::vector<int> Rank(static_cast<size_t>(C.N));
    for (int i = 0; i < C.N; ++i) Rank[size_t(i)] = C.Rank(i, C.N);
    std::vector<QString> Values;
    for (int R : Rank) Values.push_back(QString::number(R));
    // Cycles of the permutation, walked one at a time.
    std::vector<bool> Seen(Rank.size());
    int Cycles = 0;
    for (size_t i = 0; i < Rank.size(); ++i) {
        if (Seen[i]) continue;
        ++Cycles;
        for (size_t j = i; !Seen[j]; j = size_t(Rank[j])) Seen[j] = true;
    }
    SortGridFixture F;
    F.Fill(Values, {}, false);
    F.G->SortSettings()->SetSingleColumn(C.SingleColumn);
    F.G->ResetSortSwapCount();
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.G->SortSwapCount(), C.N - Cycles);
    for (int r = 0; r < C.N; ++r) EXPECT_EQ(F.G->GetGridCell(SortGridFixture::ValueCol, r + 1), QString::number(r));
}

INSTANTIATE_TEST_SUITE_P(
    Permutations, SortSwapCount,
    ::testing::Values(SwapCase{"in_order", [](int I, int) { return I; }, 50, false},
                      SwapCase{"one_pair", [](int I, int) { return I == 3 ? 7 : (I == 7 ? 3 : I); }, 10, false},
                      SwapCase{"reversed", [](int I, int N) { return N - 1 - I; }, 41, false},
                      SwapCase{"one_long_cycle", [](int I, int N) { return (I + 1) % N; }, 500, false},
                      SwapCase{"shuffled", [](int I, int N) { return ShuffledRanks(N)[size_t(I)]; }, 2000, false},
                      SwapCase{"shuffled_single_column", [](int I, int N) { return ShuffledRanks(N)[size_t(I)]; }, 300,
                               true}),
    [](const ::testing::TestParamInfo<SwapCase>& I) { return std::string(I.param.Name); });

TEST(Sort, CheckBoxCellsSortClearedBeforeTicked) {
    SortGridFixture F;
    F.Fill({"", "", "", ""});
    const bool Ticked[] = {true, false, true, false};
    // The hidden row is out of the display rows: rows 1 .. 4 hold r0 .. r3.
    for (int i = 0; i < 4; ++i) F.G->AddCheckBox(SortGridFixture::ValueCol, 1 + i, Ticked[i], false);
    F.G->SortSettings()->SetFull(false);
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r3", "r0", "r2"}));
}

// Every handler the sort calls may raise; whichever does, the grid is left as it was.
struct RaiseCase {
    const char* Name;
    std::function<void(TExtStringGrid& G, int& Calls)> Arm;
};
void PrintTo(const RaiseCase& C, std::ostream* Os) { *Os << C.Name; }

class SortRaises : public ::testing::TestWithParam<RaiseCase> {};

TEST_P(SortRaises, TheGridIsLeftAsItWas) {
    SortGridFixture F;
    F.Fill({"c", "a", "b", "d", "e"});
    F.G->SetFixedCols(1);
    F.G->SortSettings()->SetNormalCellsOnly(true);
    F.G->Navigation()->SetKeepScrollOnSort(true);
    F.G->SetRowHeights(3, 40);
    const int Rows = F.G->RowCount(), Cols = F.G->ColCount(), Width = F.G->ColWidths(Cols - 1);
    const int Top = F.G->TopRow(), Updates = F.G->UpdateCount();
    int Calls = 0;
    GetParam().Arm(*F.G, Calls);
    EXPECT_THROW(F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending), std::runtime_error);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4"}));
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::ValueCol, 1), "c");
    EXPECT_EQ(F.G->RowHeights(3), 40);
    EXPECT_EQ(F.G->RowCount(), Rows);
    EXPECT_EQ(F.G->ColCount(), Cols);
    EXPECT_EQ(F.G->ColWidths(Cols - 1), Width);
    EXPECT_EQ(F.G->TopRow(), Top);
    EXPECT_EQ(F.G->UpdateCount(), Updates);
    EXPECT_EQ(F.G->NumHiddenRows(), 1);
    EXPECT_EQ(F.G->NumHiddenColumns(), 1);
    // A later sort without the fault works as usual.
    Calls = -1000000;
    F.G->OnGetFormat = nullptr;
    F.G->OnGetDisplText = nullptr;
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::ValueCol, 1), "a");
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, SortRaises,
    ::testing::Values(RaiseCase{"custom_compare",
                                [](TExtStringGrid& G, int& Calls) {
                                    G.OnGetFormat = [](TObject*, int, TSortStyle& S, QString&, QString&) {
                                        S = ssCustom;
                                    };
                                    G.OnCustomCompare = [&Calls](TObject*, const QString& A, const QString& B,
                                                                 int& Res) {
                                        if (++Calls == 4) throw std::runtime_error("compare failed");
                                        Res = QString::compare(A, B);
                                    };
                                }},
                      RaiseCase{"raw_compare",
                                [](TExtStringGrid& G, int& Calls) {
                                    G.OnGetFormat = [](TObject*, int, TSortStyle& S, QString&, QString&) { S = ssRaw; };
                                    G.OnRawCompare = [&Calls, &G](TObject*, int ACol, int R1, int R2, int& Res) {
                                        if (++Calls == 4) throw std::runtime_error("compare failed");
                                        Res = QString::compare(G.GetGridCell(ACol, R1), G.GetGridCell(ACol, R2));
                                    };
                                }},
                      RaiseCase{"format_event",
                                [](TExtStringGrid& G, int&) {
                                    G.OnGetFormat = [](TObject*, int, TSortStyle&, QString&, QString&) {
                                        throw std::runtime_error("format failed");
                                    };
                                }},
                      RaiseCase{"display_text",
                                [](TExtStringGrid& G, int& Calls) {
                                    G.OnGetDisplText = [&Calls](TObject*, int, int, QString&) {
                                        if (++Calls == 3) throw std::runtime_error("display failed");
                                    };
                                }}),
    [](const ::testing::TestParamInfo<RaiseCase>& I) { return std::string(I.param.Name); });

TEST(Sort, GroupSortLeavesContractedNodesAndSortsThemOnceExpanded) {
    SortGridFixture F;
    F.Fill({"g1", "c", "a", "b", "g2", "z", "y", "x"}, {}, false);
    F.G->AddNode(1, 4);
    F.G->AddNode(5, 4);
    F.G->ContractNode(5); // its children become hidden rows
    F.G->SortSettings()->SetColumn(SortGridFixture::ValueCol);
    F.G->QSortGroup();
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r2", "r3", "r1", "r4"}));
    F.G->ExpandNode(5);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r2", "r3", "r1", "r4", "r5", "r6", "r7"}));
    // The indexed group sort, descending, now reaches both groups.
    F.G->SortIndexes()->AddIndex(SortGridFixture::ValueCol, false);
    F.G->QSortGroupIndexed();
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r3", "r2", "r4", "r5", "r6", "r7"}));
}

TEST(Sort, DisplayedTextsDecideAlsoForRowsInsertedLater) {
    SortGridFixture F;
    F.Fill({"3", "1"}, {}, false);
    F.G->InsertRows(F.G->RowCount(), 2, false);
    F.G->SetGridCell(SortGridFixture::TagCol, 3, "r2");
    F.G->SetGridCell(SortGridFixture::HiddenCol, 3, "hr2");
    F.G->SetGridCell(SortGridFixture::ValueCol, 3, "2");
    F.G->SetGridCell(SortGridFixture::TagCol, 4, "r3");
    F.G->SetGridCell(SortGridFixture::HiddenCol, 4, "hr3");
    F.G->SetGridCell(SortGridFixture::ValueCol, 4, "0");
    // The displayed value is the stored one negated: the order is the stored one turned round.
    F.G->OnGetDisplText = [](TObject*, int ACol, int, QString& V) {
        if (ACol == SortGridFixture::ValueCol && !V.isEmpty()) V = "-" + V;
    };
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r2", "r1", "r3"}));
}

TEST(Sort, SingleColumnMovesOnlyTheSortColumnAndTheCursorFollowsIt) {
    SortGridFixture F;
    F.Fill({"c", "a", "b"}, {"x", "y", "z"}, false);
    F.G->SortSettings()->SetSingleColumn(true);
    F.G->Navigation()->SetMoveRowOnSort(true);
    F.G->SetRow(1); // "c"
    F.G->Sort(SortGridFixture::ValueCol, TSortDirection::sdAscending);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r2"}));
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::ValueCol, 1), "a");
    EXPECT_EQ(F.G->GetGridCell(SortGridFixture::SecondCol, 1), "x");
    EXPECT_EQ(F.G->Row(), 3);
}
} // namespace

namespace {

TEST(SortHeaderClick, TurnsTheOrderRoundAndWithUndoSortComesBackUnsorted) {
    SortGridFixture F;
    F.Fill({"b", "c", "a"});
    F.G->SortSettings()->SetUndoSort(true);
    std::vector<int> Clicked;
    F.G->OnClickSort = [&](TObject*, int ACol) { Clicked.push_back(ACol); };
    F.G->SortHeaderClick(SortGridFixture::ValueCol, {});
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r2", "r0", "r1"}));
    F.G->SortHeaderClick(SortGridFixture::ValueCol, {});
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r1", "r0", "r2"}));
    F.G->SortHeaderClick(SortGridFixture::ValueCol, {});
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r1", "r2"}));
    EXPECT_EQ(F.G->SortSettings()->Column(), -1);
    EXPECT_EQ(Clicked, (std::vector<int>{1, 1, 1}));
}

TEST(SortHeaderClick, WithIndexShowShiftAddsAKeyAndAPlainClickStartsOver) {
    SortGridFixture F;
    F.Fill({"1", "2", "1", "2"}, {"x", "b", "a", "c"});
    F.G->SortSettings()->SetIndexShow(true);
    F.G->SortHeaderClick(SortGridFixture::ValueCol, {});
    F.G->SortHeaderClick(SortGridFixture::SecondCol, TShiftState() << ssShift);
    EXPECT_EQ(F.G->SortIndexes()->Count(), 2);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r2", "r0", "r1", "r3"}));
    // Shift on a key turns it round.
    F.G->SortHeaderClick(SortGridFixture::SecondCol, TShiftState() << ssShift);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r0", "r2", "r3", "r1"}));
    F.G->SortHeaderClick(SortGridFixture::SecondCol, {});
    EXPECT_EQ(F.G->SortIndexes()->Count(), 1);
    EXPECT_EQ(F.Tags(), (std::vector<std::string>{"r2", "r1", "r3", "r0"}));
}

} // namespace
