// The two column-list drop-downs share one column definition, collection, style table and popup
// sizing, yet keep two sets of types: what one set accepts the other must not, and where the
// sets differ (inserting out of range, copying an item) each keeps its own rule.
#include "DropDownListCases.h"
#include "EditorsFixture.h"
#include "grid/editors/ExtDropDownColumns.h"
#include "grid/editors/ExtGridDropDown.h"
#include "grid/editors/ExtMultiColumnDropDown.h"

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace {

namespace MC = ExtMultiColumnDropDown;
namespace GD = ExtGridDD;

static_assert(!std::is_same_v<MC::TDropDownColumn, GD::TDropDownColumn>);
static_assert(!std::is_same_v<MC::TDropDownColumns, GD::TDropDownColumns>);
static_assert(!std::is_same_v<MC::TDropDownItem, GD::TDropDownItem>);
static_assert(!std::is_same_v<MC::TDropDownItems, GD::TDropDownItems>);

// ---- the two sets -----------------------------------------------------------------------------
TEST(DropDownColumnSets, AColumnOfOneSetIsNotCopiedIntoTheOther) {
    MC::TDropDownColumns Mine(nullptr);
    GD::TDropDownColumns Theirs(nullptr);
    MC::TDropDownColumn* A = Mine.Add();
    GD::TDropDownColumn* B = Theirs.Add();
    B->SetWidth(33);
    B->SetHeader("other set");
    A->Assign(B);
    EXPECT_EQ(A->Width(), 80);
    EXPECT_EQ(A->Header(), "");
    Mine.Assign(&Theirs);
    EXPECT_EQ(Mine.Count(), 1);
    EXPECT_EQ(Mine.Items(0), A);
}

TEST(DropDownColumnSets, AColumnCopyTakesEveryField) {
    MC::TDropDownColumns Cols(nullptr);
    MC::TDropDownColumn* S = Cols.Add();
    S->SetWordwrap(true);
    S->SetWidth(41);
    S->SetAutoSize(true);
    S->SetHeader("Head");
    S->SetAlignment(taRightJustify);
    S->SetColor(RGB(1, 2, 3));
    S->SetColumnType(MC::ctImage);
    S->Font()->SetColor(RGB(9, 8, 7));
    S->SetEllipsis(true);
    MC::TDropDownColumns Copy(nullptr);
    Copy.Assign(&Cols);
    ASSERT_EQ(Copy.Count(), 1);
    const MC::TDropDownColumn* C = Copy.Items(0);
    EXPECT_NE(C, S);
    EXPECT_TRUE(C->Wordwrap());
    EXPECT_EQ(C->Width(), 41);
    EXPECT_TRUE(C->AutoSize());
    EXPECT_EQ(C->Header(), "Head");
    EXPECT_EQ(C->Alignment(), taRightJustify);
    EXPECT_EQ(C->Color(), RGB(1, 2, 3));
    EXPECT_EQ(C->ColumnType(), MC::ctImage);
    EXPECT_EQ(const_cast<MC::TDropDownColumn*>(C)->Font()->Color(), RGB(9, 8, 7));
    EXPECT_TRUE(C->Ellipsis());
    EXPECT_EQ(C->Index(), 0);
}

// Where an insert lands (or that it fails) in each set's collections.
struct InsertCase {
    const char* Name;
    std::function<std::vector<int>(int Index)> Insert; // the tags in order after inserting tag 9 at Index
    int Index;
    std::vector<int> Want; // empty: a list index error
};
void PrintTo(const InsertCase& C, std::ostream* Os) { *Os << C.Name; }

template <class TCollection>
std::vector<int> InsertInto(int Index) {
    TCollection L(nullptr);
    for (int I = 0; I < 3; ++I) L.Add()->SetImageIndex(I);
    L.Insert(Index)->SetImageIndex(9);
    std::vector<int> Out;
    for (int I = 0; I < L.Count(); ++I) Out.push_back(L.Items(I)->ImageIndex());
    return Out;
}

// Columns have no image index: their width carries the tag.
template <class TCollection>
std::vector<int> InsertColumn(int Index) {
    TCollection L(nullptr);
    for (int I = 0; I < 3; ++I) L.Add()->SetWidth(I);
    L.Insert(Index)->SetWidth(9);
    std::vector<int> Out;
    for (int I = 0; I < L.Count(); ++I) Out.push_back(L.Items(I)->Width());
    return Out;
}

class DropDownInsert : public ::testing::TestWithParam<InsertCase> {};

TEST_P(DropDownInsert, EachSetKeepsItsOwnRuleForAnIndexOutOfRange) {
    const InsertCase& C = GetParam();
    if (C.Want.empty()) {
        EXPECT_THROW(C.Insert(C.Index), EListError);
    } else {
        EXPECT_EQ(C.Insert(C.Index), C.Want);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Collections, DropDownInsert,
    ::testing::Values(
        InsertCase{"multi_column_items_in_range", InsertInto<MC::TDropDownItems>, 1, {0, 9, 1, 2}},
        InsertCase{"multi_column_items_past_the_end_go_last", InsertInto<MC::TDropDownItems>, 7, {0, 1, 2, 9}},
        InsertCase{"multi_column_items_below_zero_go_first", InsertInto<MC::TDropDownItems>, -2, {9, 0, 1, 2}},
        InsertCase{"multi_column_columns_past_the_end_go_last", InsertColumn<MC::TDropDownColumns>, 5, {0, 1, 2, 9}},
        InsertCase{"grid_items_at_the_end", InsertInto<GD::TDropDownItems>, 3, {0, 1, 2, 9}},
        InsertCase{"grid_items_past_the_end_fail", InsertInto<GD::TDropDownItems>, 4, {}},
        InsertCase{"grid_items_below_zero_fail", InsertInto<GD::TDropDownItems>, -1, {}},
        InsertCase{"grid_columns_in_range", InsertColumn<GD::TDropDownColumns>, 0, {9, 0, 1, 2}},
        InsertCase{"grid_columns_past_the_end_fail", InsertColumn<GD::TDropDownColumns>, 4, {}}),
    CaseName());

TEST(DropDownColumnSets, ItemCopiesKeepEachSetsRule) {
    MC::TDropDownItems A(nullptr);
    MC::TDropDownItem* S = A.Add();
    S->SetImageIndex(3);
    S->Text() << "x"
              << "y";
    MC::TDropDownItem* T = A.Add();
    T->Assign(S);
    EXPECT_EQ(T->ImageIndex(), 3);
    EXPECT_EQ(T->Text(), (QStringList{"x", "y"}));
    EXPECT_EQ(T->Index(), 1);

    GD::TDropDownItems B(nullptr);
    GD::TDropDownItem* U = B.Add();
    U->SetImageIndex(5);
    U->Text()->Add("kept apart");
    GD::TDropDownItem* V = B.Add();
    V->Text()->Add("own");
    V->Assign(U);
    EXPECT_EQ(V->ImageIndex(), 5);
    ASSERT_EQ(V->Text()->Count(), 1);
    EXPECT_EQ(V->Text()->Strings(0), "own");
    EXPECT_THROW(B.Items(2), EListError);
    EXPECT_THROW(A.Delete(-1), EListError);
}

// ---- popup sizing -----------------------------------------------------------------------------
struct HeightCase {
    const char* Name;
    int Height, Bars, HeaderHeight, RowHeight, Extra;
    int Want;
};
void PrintTo(const HeightCase& C, std::ostream* Os) { *Os << C.Name; }

class WholeRows : public ::testing::TestWithParam<HeightCase> {};

TEST_P(WholeRows, ThePopupShowsOnlyWholeDataRows) {
    const HeightCase& C = GetParam();
    EXPECT_EQ(ExtDropDownColumns::WholeRowsHeight(C.Height, C.Bars, C.HeaderHeight, C.RowHeight, C.Extra), C.Want);
}

INSTANTIATE_TEST_SUITE_P(
    Sizing, WholeRows,
    ::testing::Values(HeightCase{"seven_rows_of_22_in_200", 200, 0, 25, 22, 2, 25 + 7 * 22 + 2},
                      HeightCase{"the_grid_adds_six", 200, 0, 25, 22, 6, 25 + 7 * 22 + 6},
                      HeightCase{"header_and_footer_bars_count_apart", 260, 60, 25, 22, 2, 60 + 25 + 7 * 22 + 2},
                      HeightCase{"no_room_gives_no_row_not_a_negative_one", 20, 0, 25, 22, 2, 25 + 2},
                      HeightCase{"bars_taller_than_the_popup", 30, 40, 25, 22, 2, 40 + 25 + 2},
                      HeightCase{"a_row_height_of_zero_keeps_the_height", 200, 0, 25, 0, 2, 200}),
    CaseName());

struct ScaleCase {
    const char* Name;
    std::vector<int> Widths;
    int Available;
    std::vector<int> Want;
};
void PrintTo(const ScaleCase& C, std::ostream* Os) { *Os << C.Name; }

class ColumnScaling : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ColumnScaling, ColumnsShareThePopupWidthWithTheRoundingCarried) {
    const ScaleCase& C = GetParam();
    EXPECT_EQ(ExtDropDownColumns::ScaleColumnWidths(C.Widths, C.Available), C.Want);
}

INSTANTIATE_TEST_SUITE_P(Sizing, ColumnScaling,
                         ::testing::Values(ScaleCase{"three_columns_into_200", {80, 80, 81}, 200, {66, 66, 67}},
                                           // f = 301/301 = 1: nothing to round.
                                           ScaleCase{"the_same_width", {100, 100, 100}, 301, {100, 100, 100}},
                                           // f = 12/5 = 2.4: each rounds to 2; the third carry passes a pixel.
                                           ScaleCase{
                                               "the_carry_adds_a_pixel_once_past_one", {1, 1, 1, 1}, 12, {2, 2, 3, 2}},
                                           // f = 10/4 = 2.5 on 1 and 2: 2 and 5, the remainder 0.5 stays below a pixel.
                                           ScaleCase{"half_to_even", {1, 2}, 10, {2, 5}},
                                           // f = 1.75 on three of 1: 2, 2, 2 rounded up; the carry goes negative.
                                           ScaleCase{"carry_down_never_takes_a_pixel", {1, 1, 1}, 7, {2, 2, 2}},
                                           ScaleCase{"no_columns", {}, 200, {}},
                                           ScaleCase{"no_room_gives_no_negative_width", {50, 50}, -20, {0, 0}}),
                         CaseName());

// ---- the style table in both sets -------------------------------------------------------------
class DropDownSetsStyles : public EditorsTest, public ::testing::WithParamInterface<ListStyleCase> {};

TEST_P(DropDownSetsStyles, BothDropDownsTakeTheSameListColours) {
    const ListStyleCase& C = GetParam();
    auto* M = Create<TExtMultiColumnDropDown>(Host.get(), Host.get());
    auto* G = Create<TCustomExtGridDropDown>(Host.get(), Host.get());
    M->SetComponentStyle(C.Style);
    G->SetComponentStyle(C.Style);
    {
        SCOPED_TRACE("multi-column");
        ExpectListStyle(M, C);
    }
    {
        SCOPED_TRACE("grid");
        ExpectListStyle(G, C);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Looks, DropDownSetsStyles,
    ::testing::Values(ListStyleCase{"office2003_silver_keeps_the_header_font", tsOffice2003Silver, RGB(165, 164, 189),
                                    RGB(117, 116, 149), RGB(124, 124, 148), RGB(124, 124, 148), clBlack},
                      ListStyleCase{"office2007_obsidian", tsOffice2007Obsidian, RGB(240, 241, 242), RGB(189, 194, 201),
                                    RGB(76, 83, 92), RGB(76, 83, 92), clBlack, RGB(55, 60, 67)},
                      ListStyleCase{"whidbey", tsWhidbey, RGB(239, 238, 235), RGB(152, 152, 126), RGB(0, 45, 150),
                                    RGB(0, 45, 150), clBlack, clWhite},
                      ListStyleCase{"windows_vista", tsWindowsVista, RGB(249, 253, 255), RGB(240, 250, 255),
                                    RGB(218, 242, 252), RGB(218, 242, 252), clBlack, clBlack},
                      ListStyleCase{"terminal", tsTerminal, clBtnFace, clBtnFace, RGB(128, 128, 128),
                                    RGB(128, 128, 128), clHighlightText, clBlack, clHighlight}),
    CaseName());

// The grid drop-down stops at the terminal style; the multi-column one goes on to Office 2010.
TEST_F(EditorsTest, OnlyTheMultiColumnDropDownTakesTheOffice2010Colours) {
    auto* M = Create<TExtMultiColumnDropDown>(Host.get(), Host.get());
    auto* G = Create<TCustomExtGridDropDown>(Host.get(), Host.get());
    for (TExtStyle S : {tsWindows7, tsOffice2010Blue}) {
        M->SetComponentStyle(S);
        G->SetComponentStyle(S);
    }
    EXPECT_EQ(M->HeaderColor(), RGB(205, 219, 237));
    EXPECT_EQ(M->HeaderColorTo(), clNone);
    EXPECT_EQ(G->HeaderColor(), RGB(250, 251, 253));
    EXPECT_EQ(G->LineColor(), RGB(184, 214, 251));
}

} // namespace
