// Finding and replacing cell text, and the search footer that drives it, on a grid with a hidden
// column, a hidden row and a collapsible node.
#include "grid/control/ExtGrid.h"
#include "grid/control/GridAuxEditors.h"
#include "grid/control/GridSettingsObjects.h"
#include "grid/control/SearchPanel.h"
#include "grid/control/SortSettings.h"
#include "platform/gui/Forms.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct CellText {
    int RealCol, RealRow;
    const char* Text;
};

// 6 real columns (real column 2 hidden: display column 2 shows real column 3), 10 real rows (real
// row 7 hidden: display row 7 shows real row 8), one fixed row and column. Normal cells hold
// "r<row>c<col>", headers "Head<col>"; a test writes its own texts over them before the hiding.
class SearchGrid : public ::testing::Test {
protected:
    static constexpr int HiddenRealCol = 2;
    static constexpr int HiddenRealRow = 7;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 700, 400);
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(10);
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 640, 300);
    }
    void TearDown() override { G->SetParent(nullptr); }

    void Build(const std::vector<CellText>& Cells) {
        for (int c = 0; c < 6; ++c) {
            G->SetGridCell(c, 0, QString("Head%1").arg(c));
            for (int r = 1; r < 10; ++r) G->SetGridCell(c, r, c == 0 ? QString() : QString("r%1c%2").arg(r).arg(c));
        }
        for (const CellText& C : Cells) G->SetGridCell(C.RealCol, C.RealRow, QString::fromUtf8(C.Text));
        G->HideColumn(HiddenRealCol);
        G->HideRow(HiddenRealRow);
        ASSERT_EQ(G->RealColIndex(2), 3);
        ASSERT_EQ(G->RealRowIndex(7), 8);
    }
    static std::string At(TPoint P) { return std::to_string(P.X) + "," + std::to_string(P.Y); }

    std::unique_ptr<TForm> Form;
    std::unique_ptr<TExtStringGrid> G;
};

// ---- Find ------------------------------------------------------------------------------------------------
struct FindCase {
    const char* Name;
    std::vector<CellText> Cells;
    const char* Text;
    TFindParams Params;
    const char* Expected; // "col,row" in the search's own space
    int CursorCol = 1, CursorRow = 1;
    int PresetRow = -1;
};
void PrintTo(const FindCase& C, std::ostream* Os) { *Os << C.Name; }

class FindCases : public SearchGrid, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindCases, FindsTheFirstMatchingCell) {
    const FindCase& C = GetParam();
    Build(C.Cells);
    G->SetCol(C.CursorCol);
    G->SetRow(C.CursorRow);
    G->FindRow = C.PresetRow;
    if (C.Params.Contains(fnSelectedCells)) G->SetSelection(TGridRect{3, 3, 4, 6});
    EXPECT_EQ(At(G->FindFirst(QString::fromUtf8(C.Text), C.Params)), C.Expected);
    EXPECT_EQ(At(G->SearchCell()), C.Expected);
}

const std::vector<CellText> CaseCell{{3, 3, "xAbx"}};
const std::vector<CellText> TwoAcross{{1, 3, "ab"}, {3, 1, "ab"}};

INSTANTIATE_TEST_SUITE_P(
    Search, FindCases,
    ::testing::Values(
        FindCase{"IgnoresCaseByDefault", CaseCell, "ab", {}, "2,3"},
        FindCase{"MatchCaseMisses", CaseCell, "ab", {fnMatchCase}, "-1,-1"},
        FindCase{"MatchCaseHits", CaseCell, "Ab", {fnMatchCase}, "2,3"},
        FindCase{"MatchStartSkipsInnerMatch", {{1, 2, "cab"}, {1, 3, "abc"}}, "ab", {fnMatchStart}, "1,3"},
        FindCase{"MatchFullSkipsLongerText", {{1, 2, "abc"}, {1, 3, "ab"}}, "ab", {fnMatchFull}, "1,3"},
        FindCase{"TopBottomWalksColumnsFirst", TwoAcross, "ab", {}, "1,3"},
        FindCase{"LeftRightWalksRowsFirst", TwoAcross, "ab", {fnDirectionLeftRight}, "2,1"},
        FindCase{"BackwardStartsAtTheLastCell", {{1, 1, "ab"}, {3, 5, "ab"}}, "ab", {fnBackward}, "2,5"},
        FindCase{"HiddenColumnLeftOut", {{2, 2, "ab"}}, "ab", {}, "-1,-1"},
        FindCase{"HiddenColumnIncludedByRealIndex", {{2, 2, "ab"}}, "ab", {fnIncludeHiddenColumns}, "2,2"},
        FindCase{"HiddenRowLeftOut", {{1, 7, "ab"}}, "ab", {}, "-1,-1"},
        FindCase{"HiddenRowIncludedByRealIndex", {{1, 7, "ab"}}, "ab", {fnIncludeHiddenRows}, "1,7"},
        FindCase{"RowsBelowHiddenRowByRealIndex", {{1, 8, "ab"}}, "ab", {fnIncludeHiddenRows}, "1,8"},
        FindCase{"TwoQuotesFindAnEmptyCell", {{4, 2, ""}}, "\"\"", {}, "3,2"},
        FindCase{"HtmlTagsCountWithoutIgnore", {{1, 4, "<b>a</b>b"}}, "ab", {}, "-1,-1"},
        FindCase{"HtmlTagsIgnored", {{1, 4, "<b>a</b>b"}}, "ab", {fnIgnoreHTMLTags}, "1,4"},
        FindCase{"RegularCondition", {{3, 5, "azz"}}, "a*", {fnMatchRegular}, "2,5"},
        FindCase{"CurrentColumnOnly", {{1, 1, "ab"}, {4, 4, "ab"}}, "ab", {fnFindInCurrentCol}, "3,4", 3, 2},
        FindCase{"CurrentRowOnly", {{1, 1, "ab"}, {4, 4, "ab"}}, "ab", {fnFindInCurrentRow}, "3,4", 1, 4},
        FindCase{"PresetRowOnly", {{1, 1, "ab"}, {3, 5, "ab"}}, "ab", {fnFindInPresetRow}, "2,5", 1, 1, 5},
        FindCase{"PresetRowOutsideTheGrid",
                 {{4, 2, ""}},
                 "\"\"",
                 TFindParams{fnFindInPresetRow, fnIncludeHiddenRows},
                 "-1,-1",
                 1,
                 1,
                 -1},
        FindCase{"SelectedCellsOnly", {{1, 1, "ab"}, {5, 4, "ab"}}, "ab", {fnSelectedCells}, "4,4"},
        FindCase{"FixedCellsLeftOut", {{3, 0, "ab"}}, "ab", {}, "-1,-1"},
        FindCase{"FixedCellsIncluded", {{3, 0, "ab"}}, "ab", {fnIncludeFixed}, "2,0"}),
    [](const ::testing::TestParamInfo<FindCase>& I) { return std::string(I.param.Name); });

TEST_F(SearchGrid, FindNextStepsOnAndEndsWithoutWrapping) {
    Build({{1, 2, "ab"}, {3, 1, "xab"}, {4, 5, "AB"}});
    EXPECT_EQ(At(G->FindFirst("ab", {})), "1,2");
    EXPECT_TRUE(G->FindBusy());
    EXPECT_EQ(At(G->FindNext()), "2,1");
    EXPECT_EQ(At(G->FindNext()), "3,5");
    EXPECT_TRUE(G->FindBusy());
    EXPECT_EQ(At(G->FindNext()), "-1,-1");
    EXPECT_FALSE(G->FindBusy());
    EXPECT_EQ(At(G->FindNext()), "1,2") << "a search after the end starts over";
}

// A column that sorting ignores is left out of the search whichever way the walk goes: the same
// search must not find a cell in one direction and miss it in the other.
TEST_F(SearchGrid, IgnoredColumnIsLeftOutInBothDirections) {
    Build({{3, 2, "ab"}, {4, 6, "ab"}});
    G->IgnoredColumns()->Add(3);
    EXPECT_EQ(At(G->FindFirst("ab", {})), "3,6");
    EXPECT_EQ(At(G->FindFirst("ab", {fnDirectionLeftRight})), "3,6");
    G->IgnoredColumns()->Clear();
    EXPECT_EQ(At(G->FindFirst("ab", {fnDirectionLeftRight})), "2,2");
}

TEST_F(SearchGrid, FindPreviousWalksBack) {
    Build({{1, 2, "ab"}, {3, 1, "xab"}});
    EXPECT_EQ(At(G->Find({2, 1}, "ab", {fnBackward})), "1,2");
    EXPECT_EQ(At(G->Find({1, 2}, "ab", {fnBackward})), "-1,-1");
}

TEST_F(SearchGrid, AutoGotoMovesTheCursor) {
    Build({{4, 5, "ab"}});
    EXPECT_EQ(At(G->Find({-1, -1}, "ab", {fnAutoGoto})), "3,5");
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 5);
}

TEST_F(SearchGrid, AutoGotoOpensTheCollapsedNodeThatHoldsTheRow) {
    Build({{3, 5, "ab"}});
    G->AddNode(3, 3); // real rows 3, 4 and 5
    G->ContractNode(3);
    ASSERT_TRUE(G->IsHiddenRow(5));
    EXPECT_EQ(At(G->Find({-1, -1}, "ab", {fnAutoGoto})), "-1,-1") << "a collapsed row is not on display";
    EXPECT_EQ(At(G->Find({-1, -1}, "ab", TFindParams{fnAutoGoto, fnIncludeHiddenRows})), "2,5");
    EXPECT_FALSE(G->GetNodeState(3));
    EXPECT_FALSE(G->IsHiddenRow(5));
    EXPECT_EQ(G->Row(), G->DisplRowIndex(5));
    EXPECT_EQ(G->Col(), 2);
}

TEST_F(SearchGrid, AutoGotoLeavesTheCursorOffARowHiddenByOtherMeans) {
    Build({{1, 7, "ab"}});
    G->SetRow(2);
    EXPECT_EQ(At(G->Find({-1, -1}, "ab", TFindParams{fnAutoGoto, fnIncludeHiddenRows})), "1,7");
    EXPECT_EQ(G->Row(), 2);
    EXPECT_TRUE(G->IsHiddenRow(7));
}

TEST_F(SearchGrid, EmptyGridFindsNothing) {
    G->SetRowCount(1);
    EXPECT_EQ(At(G->FindFirst("a", {})), "-1,-1");
    EXPECT_FALSE(G->FindBusy());
}

// ---- Replace -----------------------------------------------------------------------------------------------
struct ReplaceCase {
    const char* Name;
    std::vector<CellText> Cells;
    const char* From;
    const char* To;
    TFindParams Params;
    int Count;
    std::vector<CellText> After; // real column, real row, stored text
    std::vector<CellText> ReadOnly = {};
};
void PrintTo(const ReplaceCase& C, std::ostream* Os) { *Os << C.Name; }

class ReplaceCases : public SearchGrid, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceCases, ChangesTheCellsItMayAndCountsThem) {
    const ReplaceCase& C = GetParam();
    Build(C.Cells);
    for (const CellText& R : C.ReadOnly) G->SetReadOnly(R.RealCol, G->DisplRowIndex(R.RealRow), true);
    EXPECT_EQ(G->Replace(QString::fromUtf8(C.From), QString::fromUtf8(C.To), C.Params), C.Count);
    for (const CellText& A : C.After)
        EXPECT_EQ(G->GetCellsEx(A.RealCol, A.RealRow), QString::fromUtf8(A.Text))
            << "real cell " << A.RealCol << "," << A.RealRow;
}

INSTANTIATE_TEST_SUITE_P(
    Search, ReplaceCases,
    ::testing::Values(ReplaceCase{"AnyCaseWithoutMatchCase",
                                  {{1, 2, "ab-AB"}, {3, 4, "cab"}},
                                  "ab",
                                  "X",
                                  {},
                                  2,
                                  {{1, 2, "X-X"}, {3, 4, "cX"}}},
                      ReplaceCase{"MatchCaseReplacesOnlyThatCase",
                                  {{1, 2, "ab-AB"}, {3, 4, "cab"}, {4, 5, "AB"}},
                                  "ab",
                                  "X",
                                  {fnMatchCase},
                                  2,
                                  {{1, 2, "X-AB"}, {3, 4, "cX"}, {4, 5, "AB"}}},
                      ReplaceCase{"ReadOnlyCellKept",
                                  {{1, 2, "ab"}, {3, 4, "ab"}},
                                  "ab",
                                  "X",
                                  {},
                                  1,
                                  {{1, 2, "ab"}, {3, 4, "X"}},
                                  {{1, 2, ""}}},
                      ReplaceCase{"DisplayColumnWritesItsRealColumn",
                                  {{2, 3, "zz"}, {3, 3, "ab"}},
                                  "ab",
                                  "X",
                                  {},
                                  1,
                                  {{2, 3, "zz"}, {3, 3, "X"}}},
                      ReplaceCase{"HiddenColumnByRealIndex",
                                  {{2, 3, "ab"}, {3, 3, "zz"}},
                                  "ab",
                                  "X",
                                  {fnIncludeHiddenColumns},
                                  1,
                                  {{2, 3, "X"}, {3, 3, "zz"}}},
                      ReplaceCase{"HiddenRowChangedInTheStore",
                                  {{1, 7, "ab"}, {1, 8, "zz"}},
                                  "ab",
                                  "X",
                                  {fnIncludeHiddenRows},
                                  1,
                                  {{1, 7, "X"}, {1, 8, "zz"}}},
                      ReplaceCase{"SameTextCountsNothing", {{1, 2, "ab"}}, "ab", "ab", {}, 0, {{1, 2, "ab"}}},
                      ReplaceCase{"ConditionMatchWithoutTheTextCountsNothing",
                                  {{1, 2, "azz"}},
                                  "a*",
                                  "X",
                                  {fnMatchRegular},
                                  0,
                                  {{1, 2, "azz"}}},
                      ReplaceCase{"EmptyTextReplacesNothing", {{1, 2, "ab"}}, "", "X", {}, 0, {{1, 2, "ab"}}},
                      ReplaceCase{"FixedCellsFoundButNotChanged",
                                  {{3, 0, "ab"}, {0, 4, "ab"}, {4, 4, "ab"}},
                                  "ab",
                                  "X",
                                  {fnIncludeFixed},
                                  1,
                                  {{3, 0, "ab"}, {0, 4, "ab"}, {4, 4, "X"}}},
                      ReplaceCase{"ReplacementHoldingTheTextIsNotReplacedAgain",
                                  {{1, 2, "ab"}, {1, 3, "zz"}},
                                  "ab",
                                  "abab",
                                  {},
                                  1,
                                  {{1, 2, "abab"}, {1, 3, "zz"}}}),
    [](const ::testing::TestParamInfo<ReplaceCase>& I) { return std::string(I.param.Name); });

TEST_F(SearchGrid, ReplaceMarksChangedRowsAndAsksTheCanEditEvent) {
    Build({{1, 2, "ab"}, {3, 4, "ab"}, {4, 5, "ab"}});
    G->ShowModified()->SetEnabled(true);
    G->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) {
        (void)ACol;
        if (ARow == 4) CanEdit = false;
    };
    EXPECT_EQ(G->Replace("ab", "X", {}), 2);
    EXPECT_EQ(G->GetGridCell(3, 4), "ab");
    EXPECT_TRUE(G->GetRowModified(2));
    EXPECT_FALSE(G->GetRowModified(4));
    EXPECT_TRUE(G->GetRowModified(5));
}

TEST_F(SearchGrid, ReplaceChangesAMergedCellOnce) {
    Build({{3, 2, "ab"}});
    G->MergeCells(3, 2, 2, 3); // real columns 3 and 4, rows 2 to 4
    EXPECT_EQ(G->Replace("ab", "abab", {}), 1);
    EXPECT_EQ(G->GetGridCell(3, 2), "abab");
}

TEST_F(SearchGrid, ReplaceKeepsADisplayFormatOutOfTheCell) {
    Build({{1, 2, "ab"}});
    G->OnGetDisplText = [](TObject*, int ACol, int ARow, QString& Value) {
        if (ACol == 1 && ARow == 2) Value += " kg";
    };
    EXPECT_EQ(G->Replace("ab", "X", {}), 1);
    EXPECT_EQ(G->GetGridCell(1, 2), "X");
}

// ---- the key-column search -----------------------------------------------------------------------------------
TEST_F(SearchGrid, KeySearchFindsTheFirstRowStartingWithTheText) {
    Build({{1, 3, "Apple"}, {1, 5, "apricot"}});
    EXPECT_EQ(G->Search("AP"), 3);
    EXPECT_EQ(G->Search("APR"), 5);
    EXPECT_EQ(G->Search("ZZ"), -1);
}

TEST_F(SearchGrid, KeySearchFollowsTheSortSettings) {
    Build({{1, 3, "Apple"}, {4, 6, "apricot"}, {5, 2, "apex"}});
    TSortSettings* S = G->SortSettings();
    S->SetShow(true);
    S->SetColumn(4);
    EXPECT_EQ(G->Search("AP"), 6) << "the sorted column";
    S->SetIndexShow(true);
    EXPECT_EQ(G->Search("AP"), 3) << "no sort keys yet: the first normal column";
    G->SortIndexes()->AddIndex(5, true);
    EXPECT_EQ(G->Search("AP"), 2) << "the first sort key";
    S->SetIndexShow(false);
    S->SetColumn(-1);
    EXPECT_EQ(G->Search("AP"), -1);
    S->SetColumn(40);
    EXPECT_EQ(G->Search("AP"), -1) << "a sort column the grid no longer has";
}

// ---- the search footer -----------------------------------------------------------------------------------------
class SearchFooterGrid : public SearchGrid {
protected:
    void SetUp() override {
        SearchGrid::SetUp();
        G->SearchFooter()->SetVisible(true);
        P = G->SearchPanel();
    }
    void Type(const QString& Text) { P->Edit()->SetText(Text); }
    TSearchPanel* P = nullptr;
};

TEST_F(SearchFooterGrid, TypingFindsAndColoursTheEdit) {
    Build({{4, 5, "ab"}});
    std::vector<std::string> Actions;
    G->OnSearchFooterAction = [&](TObject*, const QString& Value, int ACol, int ARow, TSearchAction A) {
        Actions.push_back(Value.toStdString() + "@" + std::to_string(ACol) + "," + std::to_string(ARow) + "/" +
                          std::to_string(int(A)));
    };
    Type("ab");
    EXPECT_EQ(At(G->SearchCell()), "3,5");
    EXPECT_EQ(G->Row(), 5);
    EXPECT_EQ(P->Edit()->Color(), clWindow);
    Type("abzz");
    EXPECT_EQ(P->Edit()->Color(), clRed);
    Type("");
    EXPECT_EQ(P->Edit()->Color(), clWindow);
    EXPECT_EQ(Actions, (std::vector<std::string>{"ab@3,5/0", "abzz@-1,-1/0"}));
}

TEST_F(SearchFooterGrid, HandlerCanTakeTheSearchOver) {
    Build({{4, 5, "ab"}});
    G->OnSearchEditChange = [](TObject*, const QString&, bool& DefaultSearch) { DefaultSearch = false; };
    Type("zz");
    EXPECT_EQ(P->Edit()->Color(), clWindow);
    EXPECT_EQ(At(G->SearchCell()), "-1,-1");
}

TEST_F(SearchFooterGrid, NextAndPreviousStepFromTheLastMatch) {
    Build({{1, 2, "ab"}, {3, 1, "ab"}, {4, 5, "ab"}});
    Type("ab");
    ASSERT_EQ(At(G->SearchCell()), "1,2");
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "2,1");
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "3,5");
    EXPECT_EQ(G->Col(), 3);
    P->BackwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "2,1");
    EXPECT_EQ(G->SearchFooter()->LastSearch(), "ab");
}

TEST_F(SearchFooterGrid, NextAfterATypedSearchWithHiddenRowsGoesOnFromTheRowOnDisplay) {
    Build({{1, 8, "ab"}, {1, 9, "ab"}}); // display rows 7 and 8 below the hidden real row 7
    G->SearchFooter()->SetSearchHiddenRows(true);
    Type("ab");
    ASSERT_EQ(At(G->SearchCell()), "1,8") << "the real row";
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "1,8") << "display row 8 shows real row 9";
    EXPECT_EQ(G->Row(), 8);
}

TEST_F(SearchFooterGrid, MatchCaseBoxAndSearchColumnShapeTheSearch) {
    Build({{1, 2, "AB"}, {3, 4, "ab"}, {4, 6, "ab"}});
    P->MatchCase()->SetChecked(true);
    Type("AB");
    EXPECT_EQ(At(G->SearchCell()), "1,2");
    Type("ab");
    EXPECT_EQ(At(G->SearchCell()), "2,4");
    G->SearchFooter()->SetSearchColumn(3);
    Type("a");
    Type("ab");
    EXPECT_EQ(At(G->SearchCell()), "3,6");
}

TEST_F(SearchFooterGrid, WithoutAutoSearchANewTextStartsOver) {
    Build({{1, 2, "ab"}, {3, 1, "ab"}, {3, 6, "cd"}});
    G->SearchFooter()->SetAutoSearch(false);
    Type("ab");
    EXPECT_EQ(At(G->SearchCell()), "-1,-1") << "typing searches nothing";
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "1,2");
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "2,1");
    Type("cd");
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "2,6");
}

TEST_F(SearchFooterGrid, HighlightButtonMarksAndUnmarksEveryMatch) {
    Build({{1, 2, "xaby"}, {3, 4, "ab"}});
    Type("ab");
    // A press and release on the toggle puts it down, then reports the click.
    P->HiliteButton()->SetDown(true);
    P->HiliteButton()->Click();
    EXPECT_NE(G->GetGridCell(1, 2), "xaby");
    EXPECT_NE(G->GetGridCell(3, 4), "ab");
    EXPECT_EQ(G->GetGridCell(4, 4), "r4c4");
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "2,4") << "the marks do not hide the text from the search";
    P->HiliteButton()->SetDown(false);
    P->HiliteButton()->Click();
    EXPECT_EQ(G->GetGridCell(1, 2), "xaby");
    EXPECT_EQ(G->GetGridCell(3, 4), "ab");
}

TEST_F(SearchFooterGrid, AlwaysHighlightedMatchesStillMatchTheirStart) {
    Build({{1, 2, "abc"}, {3, 4, "abd"}});
    G->SearchFooter()->SetAlwaysHighLight(true);
    G->SearchFooter()->SetSearchMatchStart(true);
    Type("ab");
    EXPECT_EQ(At(G->SearchCell()), "1,2");
    EXPECT_NE(G->GetGridCell(3, 4), "abd") << "every match is marked";
    P->ForwardButton()->Click();
    EXPECT_EQ(At(G->SearchCell()), "2,4");
}

TEST_F(SearchFooterGrid, CloseFiresBeforeTheBarGoes) {
    Build({});
    bool VisibleInHandler = false;
    G->OnSearchFooterClose = [&](TObject*) { VisibleInHandler = G->SearchFooter()->Visible(); };
    P->ExitButton()->Click();
    EXPECT_TRUE(VisibleInHandler);
    EXPECT_FALSE(G->SearchFooter()->Visible());
}

TEST_F(SearchGrid, FixedCellEditorReportsItsText) {
    Build({});
    std::vector<std::string> Changes;
    G->OnEditChange = [&](TObject*, int ACol, int ARow, const QString& Value) {
        Changes.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + "=" + Value.toStdString());
    };
    TGridTransEdit* E = G->FixedCellEdit();
    E->FCol = 3;
    E->FRow = 0;
    E->SetText("Title");
    EXPECT_EQ(Changes, (std::vector<std::string>{"3,0=Title"}));
}

} // namespace
