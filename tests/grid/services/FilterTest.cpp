// Filtering: conditions and their operations, filter levels, narrowing down, the drop-down
// handlers, and rows hidden by other means that no filter removal may show.
#include "grid/control/ExtCGrid.h"
#include "grid/control/GridDropLists.h"
#include "tests/grid/services/SortFixture.h"

namespace {

using Tags = std::vector<std::string>;

const std::vector<QString> Fruits{"apple", "banana", "Cherry", "apricot", "", "blue berry"};
const std::vector<QString> Amounts{"1", "5", "10", "20", "7", "3"};

struct Cond {
    int Column;
    QString Condition;
    TFilterOperation Op;
    TFilterCells Data = fcVirtual;
    TFilterMethod Method = fmExpression;
    bool CaseSensitive = true;
};

struct FilterCase {
    const char* Name;
    std::vector<Cond> Conditions;
    Tags Visible;
};
void PrintTo(const FilterCase& C, std::ostream* Os) { *Os << C.Name; }

class FilterConditions : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterConditions, KeepOnlyTheRowsThatPass) {
    SortGridFixture F;
    F.Fill(Fruits, Amounts);
    for (const Cond& C : GetParam().Conditions) {
        TFilterData* D = F.G->Filter()->Add();
        D->SetColumn(C.Column);
        D->SetCondition(C.Condition);
        D->SetOperation(C.Op);
        D->SetData(C.Data);
        D->SetMethod(C.Method);
        D->SetCaseSensitive(C.CaseSensitive);
    }
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), GetParam().Visible);
    EXPECT_EQ(F.G->FilterLevel(), 1);
    // Removing the level brings every filtered row back, and only those.
    F.G->RemoveLastFilter();
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(F.G->NumHiddenRows(), 1);
}

constexpr int V = SortGridFixture::ValueCol;
constexpr int S = SortGridFixture::SecondCol;

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterConditions,
    ::testing::Values(
        FilterCase{"empty_condition_passes_every_row", {{V, "", foNONE}}, {"r0", "r1", "r2", "r3", "r4", "r5"}},
        FilterCase{"wildcard", {{V, "a*", foNONE}}, {"r0", "r3"}},
        FilterCase{"wildcard_without_case", {{V, "c*", foNONE, fcVirtual, fmExpression, false}}, {"r2"}},
        FilterCase{"negated_pattern", {{V, "!*an*", foNONE}}, {"r0", "r2", "r3", "r4", "r5"}},
        FilterCase{"numeric_comparison", {{S, ">5", foNONE}}, {"r2", "r3", "r4"}},
        FilterCase{"or_inside_a_condition", {{V, "apple|Cherry", foNONE}}, {"r0", "r2"}},
        FilterCase{"and_of_two_conditions", {{V, "a*", foNONE}, {S, ">5", foAND}}, {"r3"}},
        FilterCase{"first_or_lets_every_row_pass", {{V, "zzz", foOR}}, {"r0", "r1", "r2", "r3", "r4", "r5"}},
        FilterCase{"first_xor_negates", {{V, "a*", foXOR}}, {"r1", "r2", "r4", "r5"}},
        FilterCase{"short_stops_before_a_later_or", {{V, "a*", foSHORT}, {V, "b*", foOR}}, {"r0", "r3"}},
        FilterCase{
            "literal_is_case_sensitive",
            {{V, "cherry", foNONE, fcVirtual, fmLiteral, false}, {V, "apple", foOR, fcVirtual, fmLiteral, false}},
            {"r0"}},
        FilterCase{"literal_exact", {{V, "apple", foNONE, fcVirtual, fmLiteral}}, {"r0"}},
        FilterCase{"whole_row_contains", {{-1, "BERRY", foNONE, fcRow}}, {"r5"}},
        FilterCase{"quoted_blank_in_pattern", {{V, "\"blue *\"", foNONE}}, {"r5"}}),
    [](const ::testing::TestParamInfo<FilterCase>& I) { return std::string(I.param.Name); });

// The text a condition sees: blanks around it do not count, a prefix and a suffix come off, and
// a text in the wide-character encoding is decoded whole.
struct TextCase {
    const char* Name;
    QString Cell;
    QString Condition;
    bool Passes;
    QString Prefix = QString();
    QString Suffix = QString();
};
void PrintTo(const TextCase& C, std::ostream* Os) { *Os << C.Name; }

class FilterCellText : public ::testing::TestWithParam<TextCase> {};

TEST_P(FilterCellText, IsMatchedAsTheUserReadsIt) {
    SortGridFixture F;
    F.Fill({GetParam().Cell, "0"});
    F.G->SetFixedRowAlways(true); // the header stays a header when no row passes
    TFilterData* D = F.G->Filter()->Add();
    D->SetColumn(V);
    D->SetCondition(GetParam().Condition);
    D->SetPrefix(GetParam().Prefix);
    D->SetSuffix(GetParam().Suffix);
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), GetParam().Passes ? Tags{"r0"} : Tags{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterCellText,
    ::testing::Values(TextCase{"blanks_around_do_not_count", "  apple  ", "apple", true},
                      TextCase{"tabs_around_do_not_count", "\tapple\t", "apple", true},
                      TextCase{"a_blank_inside_counts", "ap ple", "apple", false},
                      TextCase{"prefix_and_suffix_come_off", " EUR 10 net ", ">5", true, "EUR ", " net"},
                      TextCase{"prefix_only_when_the_text_starts_with_it", "USD 10", "10", false, "EUR "},
                      TextCase{"wide_text_is_decoded", EncodeWideCellText(QString::fromUtf8("äpfel")),
                               QString::fromUtf8("ä*"), true},
                      // U+0409 and U+0120 end in a byte that alone reads as a tab or a blank.
                      TextCase{"wide_text_keeps_a_last_letter_ending_in_a_tab_byte",
                               EncodeWideCellText(QString::fromUtf8("ЉЉ")), QString::fromUtf8("ЉЉ"), true},
                      TextCase{"wide_text_keeps_a_last_letter_ending_in_a_blank_byte",
                               "  " + EncodeWideCellText(QString::fromUtf8("aĠ")), QString::fromUtf8("aĠ"), true},
                      TextCase{"wide_text_loses_its_own_blanks", EncodeWideCellText(" pear "), "pear", true}),
    [](const ::testing::TestParamInfo<TextCase>& I) { return std::string(I.param.Name); });

// A descendant that calculates its cells: ten times the stored number.
class CalculatingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    QString CalculatedCellText(int RealCol, int DisplRow) override { return GetCellEx(RealCol, DisplRow) + "0"; }
};

TEST(Filter, CalculatedConditionsTestTheCalculatedText) {
    SortGridFixture F;
    F.G = std::make_unique<CalculatingGrid>(nullptr);
    F.Fill({"1", "5", "10"});
    F.G->SetFixedRowAlways(true); // the header stays a header when no row passes
    TFilterData* D = F.G->Filter()->Add();
    D->SetColumn(V);
    D->SetCondition(">50");
    D->SetData(fcCalculated);
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), (Tags{"r2"}));
    F.G->RemoveLastFilter();
    D->SetData(fcVirtual);
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), (Tags{}));
}

// One pass reads the conditions once: a handler that changes a condition in the middle of a
// pass changes the next pass, not the rows still to come.
TEST(Filter, APassKeepsTheConditionsItStartedWith) {
    SortGridFixture F;
    F.Fill(Fruits, Amounts);
    TFilterData* D = F.G->Filter()->Add();
    D->SetColumn(V);
    D->SetCondition("a*");
    F.G->OnCustomFilter = [&](TObject*, int, bool&) { D->SetCondition("b*"); };
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r3"}));
    F.G->RemoveLastFilter();
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), (Tags{"r1", "r5"}));
}

// Without rows hidden beforehand the hidden-row store empties between the passes, and the next
// pass builds its level where the last one was.
TEST(Filter, FilteringAgainAfterEveryRowCameBackKeepsEachRowWhole) {
    SortGridFixture F;
    F.Fill(Fruits, Amounts, false);
    TFilterData* D = F.G->Filter()->Add();
    D->SetColumn(V);
    for (const auto& [Condition, Visible] : std::vector<std::pair<QString, Tags>>{
             {"a*", {"r0", "r3"}}, {"b*", {"r1", "r5"}}, {"*e*", {"r0", "r2", "r5"}}}) {
        D->SetCondition(Condition);
        F.G->ApplyFilter();
        EXPECT_EQ(F.Tags(), Visible) << Condition.toStdString();
        EXPECT_EQ(F.G->NumHiddenRows(), 6 - int(Visible.size()));
        F.G->RemoveLastFilter();
        EXPECT_EQ(F.G->NumHiddenRows(), 0);
        EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r3", "r4", "r5"}));
    }
    for (int r = 1; r <= 6; ++r) EXPECT_EQ(F.G->GetGridCell(SortGridFixture::SecondCol, r), Amounts[size_t(r - 1)]);
}

TEST(Filter, CustomFilterHasTheLastWord) {
    SortGridFixture F;
    F.Fill(Fruits, Amounts);
    F.G->OnCustomFilter = [&](TObject*, int ARow, bool& Accept) {
        if (F.G->GetGridCell(SortGridFixture::TagCol, ARow) == "r1") Accept = false;
    };
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r2", "r3", "r4", "r5"}));
}

TEST(Filter, ProgressReportsEachNewPercentageUpToAHundred) {
    SortGridFixture F;
    F.Fill({"a", "b", "c", "d"});
    std::vector<int> Seen;
    F.G->OnFilterProgress = [&](TObject*, short P) { Seen.push_back(P); };
    F.G->ApplyFilter();
    EXPECT_EQ(Seen, (std::vector<int>{25, 50, 75, 100, 100}));
}

// Rows hidden with HideRow belong to no filter level: no removal of filters shows them.
TEST(Filter, RemovingFiltersNeverShowsRowsHiddenByOtherMeans) {
    SortGridFixture F;
    F.Fill(Fruits, Amounts);
    F.G->Filter()->Add()->SetColumn(V);
    F.G->Filter()->Items(0)->SetCondition("a*");
    F.G->SetFilterActive(true);
    F.G->HideRow(F.G->RealRowIndex(2)); // r3 "apricot", hidden while the filter is on
    F.G->SetFilterActive(false);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r4", "r5"}));
    F.G->NarrowDown("b", V);
    F.G->NarrowDown("", V);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r4", "r5"}));
    F.G->ApplyFilter();
    F.G->RemoveAllFilters();
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r4", "r5"}));
    EXPECT_EQ(F.G->NumHiddenRows(), 2);
    EXPECT_EQ(F.G->GetCellsEx(0, 2), "hidden");
}

TEST(Filter, NarrowDownAddsALevelPerCharacterAndTakesItBack) {
    SortGridFixture F;
    F.Fill({"ab", "abc", "abd", "xab", "b"});
    F.G->NarrowDown("ab", V);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r3"}));
    F.G->NarrowDown("abc", V);
    EXPECT_EQ(F.Tags(), (Tags{"r1"}));
    EXPECT_EQ(F.G->FilterLevel(), 2);
    F.G->NarrowDown("ab", V);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r3"}));
    EXPECT_EQ(F.G->FilterLevel(), 1);
    F.G->NarrowDown("x", V); // neither one more nor one less: starts over
    EXPECT_EQ(F.Tags(), (Tags{"r3"}));
    F.G->NarrowDown("", V);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r2", "r3", "r4"}));
    EXPECT_EQ(F.G->FilterLevel(), 0);
    EXPECT_TRUE(F.G->FixedRowAlways());
}

TEST(Filter, NarrowDownWithABlankMatchesTheBlank) {
    SortGridFixture F;
    F.Fill({"blue berry", "blueberry", "a blue sky"});
    F.G->NarrowDown("blue ", V);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r2"}));
    EXPECT_EQ(F.G->Filter()->Items(0)->Condition(), "\"*blue *\"");
}

TEST(Filter, SwitchingOffAfterTwoNarrowingsPutsBackOnlyTheLastLevel) {
    SortGridFixture F;
    F.Fill({"ab", "abc", "x"});
    F.G->SetFilterActive(true); // empty filter: a level that hides nothing
    F.G->NarrowDown("a", V);
    F.G->NarrowDown("ab", V);
    F.G->NarrowDown("abc", V);
    EXPECT_EQ(F.Tags(), (Tags{"r1"}));
    F.G->SetFilterActive(false);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1"}));
}

TEST(Filter, NodeAndSummaryRowsStayWithFilterNormalCellsOnly) {
    SortGridFixture F;
    F.Fill({"group", "x", "y"}, {}, false);
    F.G->AddNode(1, 3);
    TFilterData* D = F.G->Filter()->Add();
    D->SetColumn(V);
    D->SetCondition("z*");
    F.G->ApplyFilter();
    EXPECT_EQ(F.Tags(), (Tags{"r0"}));
}

TEST(Filter, TheDropListPickFiltersTheColumnAndItsClearEntryShowsTheRowsAgain) {
    SortGridFixture F;
    F.Fill(Fruits, Amounts);
    F.G->SetFilterDropDownAuto(true);
    TFilterData* Other = F.G->Filter()->Add();
    Other->SetColumn(S);
    Other->SetCondition("<10");
    bool Done = false;
    F.G->OnFilterDone = [&](TObject*) { Done = true; };
    // The list offers the clear entry first, then the column's values sorted.
    ASSERT_TRUE(F.G->GetFilterValues(V));
    TStringList* Values = F.G->FilterValueList();
    const int Apple = Values->IndexOf("apple");
    ASSERT_GT(Apple, 0);
    for (int i = 0; i < Values->Count(); ++i) F.G->FilterDropList()->Items()->Add(Values->Get(i));
    F.G->SetFilterCol(V);
    F.G->FilterSelect(Apple);
    EXPECT_TRUE(Done);
    EXPECT_EQ(F.G->FilterCol(), -1);
    EXPECT_EQ(F.Tags(), (Tags{"r0"}));
    // The clear entry removes the column's condition; the other column's condition still holds.
    F.G->SetFilterCol(V);
    F.G->FilterSelect(0);
    EXPECT_EQ(F.G->Filter()->ColumnFilter(V), nullptr);
    EXPECT_EQ(F.Tags(), (Tags{"r0", "r1", "r4", "r5"}));
    EXPECT_EQ(F.G->FilterLevel(), 1);
}

TEST(Filter, TheCheckListJoinsTheTickedEntriesWithOr) {
    SortGridFixture F;
    F.Fill(Fruits, Amounts);
    F.G->SetFilterDropDownAuto(true);
    ASSERT_TRUE(F.G->GetFilterValues(V));
    TStringList* Values = F.G->FilterValueList();
    TDropCheckList* L = F.G->FilterDropCheckList();
    L->Clear();
    for (int i = 0; i < Values->Count(); ++i) L->Items()->Add(Values->Get(i));
    L->MakeCheckable();
    L->SetChecked(Values->IndexOf("banana"), true);
    L->SetChecked(Values->IndexOf("apricot"), true);
    F.G->SetFilterCol(V);
    L->OnSelect(L, 0); // the list confirms as its own handler does
    ASSERT_EQ(F.G->Filter()->Count(), 2);
    EXPECT_EQ(F.G->Filter()->Items(0)->Operation(), foNONE);
    EXPECT_EQ(F.G->Filter()->Items(1)->Operation(), foOR);
    EXPECT_EQ(F.Tags(), (Tags{"r1", "r3"}));
}

TEST(Filter, RemoveLastFilterWithoutALevelDoesNothing) {
    SortGridFixture F;
    F.Fill(Fruits);
    EXPECT_FALSE(F.G->RemoveLastFilter());
    F.G->Filter()->Add()->SetCondition("x");
    F.G->RemoveAllFilters(); // no level: the conditions go
    EXPECT_EQ(F.G->Filter()->Count(), 0);
    F.G->SetFilterDropDownRow(5); // at or below FixedRows: ignored
    EXPECT_EQ(F.G->FilterDropDownRow(), 0);
}

TEST(Filter, CompiledConditionsAnswerAsTheMatcher) {
    const std::vector<QString> Conditions{"a*", "!a*", ">5&<10", "(a*|b*)&*e", "=\"x y\"", "<=3^>8", "?b*", ""};
    const std::vector<QString> Texts{"apple", "abe", "7", "x y", "3", "9", "", "bee"};
    for (const QString& C : Conditions)
        for (bool Case : {true, false}) {
            TCompiledCondition K(C, Case);
            for (const QString& T : Texts)
                EXPECT_EQ(K.Match(T), MatchCondition(C, T, Case)) << C.toStdString() << " / " << T.toStdString();
        }
}

TEST(Filter, GetColFilterAddsAConditionOnTheColumnOnlyWhenThereIsNone) {
    TFilter F;
    TFilterData* D = F.GetColFilter(3);
    EXPECT_EQ(D->Column(), 3);
    EXPECT_EQ(D->Operation(), foNONE);
    EXPECT_EQ(F.GetColFilter(3), D);
    EXPECT_EQ(F.GetColFilter(1)->Operation(), foAND);
    EXPECT_EQ(F.Count(), 2);
}

} // namespace

namespace {

// The column grid takes its entries from the column's own list and applies the pick.
TEST(ColumnGridFilter, ThePickOfAColumnEntryFiltersTheRows) {
    auto G = std::make_unique<TExtColumnGrid>(nullptr);
    G->SetColCount(4);
    G->SetRowCount(6);
    G->SetFixedRows(1);
    const QStringList Values{"apple", "banana", "avocado", "cherry", "apricot"};
    for (int r = 1; r < 6; ++r) {
        G->SetGridCell(0, r, QString("r%1").arg(r - 1));
        G->SetGridCell(1, r, Values[r - 1]);
        G->SetGridCell(2, r, "h");
    }
    G->HideColumn(2);
    G->HideRow(5); // "apricot", hidden before any filter
    G->SetAutoFilterDisplay(true);
    TGridColumnItem* It = G->Columns()->Items(1);
    It->Filter()->Add("Starts with a=a*");
    It->Filter()->Add("Everything=");
    G->SetFilterCol(1);
    G->FilterSelect(0);
    ASSERT_EQ(G->RowCount(), 3);
    EXPECT_EQ(G->GetGridCell(1, 1), "apple");
    EXPECT_EQ(G->GetGridCell(1, 2), "avocado");
    EXPECT_EQ(It->Header(), "Starts with a");
    // The empty condition matches every row; the row hidden beforehand stays hidden.
    G->SetFilterCol(1);
    G->FilterSelect(1);
    EXPECT_EQ(G->RowCount(), 5);
    EXPECT_EQ(G->NumHiddenRows(), 1);
}

// A pick that leaves no row keeps the header row to pick from again; the handler still sees
// the column it filters, and the column closes afterwards.
TEST(ColumnGridFilter, APickThatFiltersEveryRowAwayKeepsTheHeader) {
    auto G = std::make_unique<TExtColumnGrid>(nullptr);
    G->SetColCount(3);
    G->SetRowCount(4);
    G->SetFixedRows(1);
    for (int r = 1; r < 4; ++r) {
        G->SetGridCell(1, r, QString("v%1").arg(r));
        G->SetGridCell(2, r, "h");
    }
    G->HideColumn(2);
    G->HideRow(3);
    TGridColumnItem* It = G->Columns()->Items(1);
    It->Filter()->Add("None=zzz");
    int SeenCol = -2;
    G->OnFilterSelect = [&](TObject*, int, int, const QString&, QString&) { SeenCol = G->FilterCol(); };
    G->SetFilterCol(1);
    G->FilterSelect(0);
    EXPECT_EQ(SeenCol, 1);
    EXPECT_EQ(G->FilterCol(), -1);
    EXPECT_TRUE(G->FixedRowAlways());
    EXPECT_EQ(G->RowCount(), 1);
    EXPECT_EQ(G->NumHiddenRows(), 3);
    G->SetFilterActive(false);
    EXPECT_EQ(G->RowCount(), 3);
    EXPECT_EQ(G->NumHiddenRows(), 1);
}

} // namespace
