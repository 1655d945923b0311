// More column and row figures, numbering, swaps, row sizing, fitting and the selected cells, on a
// grid with a hidden column.
#include "grid/control/ExtCGrid.h"
#include "tests/support/QtPrint.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Real columns 0..5 with real column 2 hidden (display 2 shows real 3); one fixed row and
// column, nine rows.
class Figures : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(9);
        G->SetDefaultColWidth(40);
        G->HideColumn(2);
    }
    std::unique_ptr<TExtColumnGrid> G;
};

TEST_F(Figures, StandardDeviationOfThePopulationAndItsErrors) {
    const char* Texts[] = {"h", "2", "4", "4", "4", "5", "5", "7", "9"};
    for (int r = 0; r < 9; ++r) G->SetGridCell(3, r, Texts[r]);
    EXPECT_DOUBLE_EQ(G->ColumnStdDev(3, -1, -1), 2.0);
    G->SetGridCell(3, 4, "x");
    EXPECT_THROW(G->ColumnStdDev(3, -1, -1), EExtGridError);
    EXPECT_DOUBLE_EQ(G->ColumnCustomCalc(3, 1, 2), 0);
    G->OnColumnCalc = [](TObject*, int ACol, int From, int To, double& Res) { Res = ACol * 100 + From * 10 + To; };
    EXPECT_DOUBLE_EQ(G->ColumnCustomCalc(3, 1, 2), 312);
}

struct TRowFigureCase {
    const char* Name;
    int From, To;
    double Min, Max;
};
void PrintTo(const TRowFigureCase& K, std::ostream* os) { *os << K.Name; }
class RowFigures : public Figures, public ::testing::WithParamInterface<TRowFigureCase> {};

TEST_P(RowFigures, MinAndMaxOverTheDisplayedColumns) {
    // Real columns 0..5 hold 9, 3, -50 (hidden), 7, "x", 1.
    const char* Texts[] = {"9", "3", "-50", "7", "x", "1"};
    for (int c = 0; c < 6; ++c) G->SetGridCell(c, 2, Texts[c]);
    const TRowFigureCase& K = GetParam();
    EXPECT_DOUBLE_EQ(G->RowMin(2, K.From, K.To), K.Min);
    EXPECT_DOUBLE_EQ(G->RowMax(2, K.From, K.To), K.Max);
}

INSTANTIATE_TEST_SUITE_P(Cases, RowFigures,
                         ::testing::Values(TRowFigureCase{"AllDisplayed", 0, 4, 1, 9},
                                           TRowFigureCase{"SkipsTextAndTheHiddenColumn", 1, 3, 3, 7},
                                           TRowFigureCase{"ReversedRangeGivesTheFirstValue", 2, 1, 7, 7}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(Figures, RowMinRaisesWhenTheFirstCellIsNotANumber) {
    G->SetGridCell(4, 2, "x");
    EXPECT_THROW(G->RowMin(2, 3, 4), EExtGridError);
}

TEST_F(Figures, AutoNumberColStartsAfterTheSkippedRowsAndCanRunBackwards) {
    G->SetAutoNumberStart(2);
    G->SetAutoNumberOffset(10);
    G->AutoNumberCol(1);
    EXPECT_EQ(G->GetGridCell(1, 1), "");
    EXPECT_EQ(G->GetGridCell(1, 2), "");
    EXPECT_EQ(G->GetGridCell(1, 3), "13");
    EXPECT_EQ(G->GetGridCell(1, 8), "18");
    G->SetAutoNumberStart(0);
    G->SetAutoNumberOffset(0);
    G->SetAutoNumberDirection(TExtStringGrid::sdDescending);
    G->AutoNumberCol(3);
    EXPECT_EQ(G->GetGridCell(3, 8), "1");
    EXPECT_EQ(G->GetGridCell(3, 1), "8");
    G->AutoNumberRow(4);
    EXPECT_EQ(G->GetGridCell(5, 4), "1"); // the last displayed column shows real 5
    EXPECT_EQ(G->GetGridCell(1, 4), "4");
    EXPECT_EQ(G->GetGridCell(2, 4), ""); // the hidden column is not numbered
}

TEST_F(Figures, SwappingColumnsMovesRecordsWidthsAndTheSortColumnAndFreesNothing) {
    G->SetGridCell(1, 3, "one");
    G->SetGridCell(4, 3, "four");
    TCellProperties* P = G->GetCellProperties(1, 3);
    P->SetBrushColor(0x0000FF);
    G->SetColWidths(1, 33);
    G->SortSettings()->SetColumn(4);
    G->SwapColumns(1, 3); // display 3 shows real 4
    EXPECT_EQ(G->GetGridCell(4, 3), "one");
    EXPECT_EQ(G->GetGridCell(1, 3), "four");
    EXPECT_EQ(G->GetCellProperties(4, 3), P);
    EXPECT_EQ(P->OwnerCol(), 4);
    EXPECT_FALSE(G->HasCellProperties(1, 3));
    EXPECT_EQ(G->ColWidths(3), 33);
    EXPECT_EQ(G->SortSettings()->Column(), 1);
}

TEST_F(Figures, SwappingRowsMovesEveryRealColumnAndTheHeights) {
    G->SetGridCell(2, 1, "hidden1");
    G->SetGridCell(2, 5, "hidden5");
    G->SetRowHeights(1, 50);
    G->SwapRows(1, 5);
    EXPECT_EQ(G->GetGridCell(2, 1), "hidden5");
    EXPECT_EQ(G->GetGridCell(2, 5), "hidden1");
    EXPECT_EQ(G->RowHeights(5), 50);
    EXPECT_EQ(G->RowHeights(1), G->DefaultRowHeight());
}

TEST_F(Figures, AutoSizeRowTakesTheTallestCellFromTheFontsMetrics) {
    G->SetGridCell(1, 3, "one");
    G->SetGridCell(3, 3, "two\nlines");
    G->SetWordWrap(false);
    G->AutoSizeRow(3);
    const int Line = QFontMetrics(G->Font()->ToQFont()).lineSpacing();
    EXPECT_EQ(G->RowHeights(3), 2 * Line + 2 * G->XYOffset().y() + 2 * G->GridLineWidth());
    G->SetMaxRowHeight(20);
    G->AutoSizeRow(3);
    EXPECT_EQ(G->RowHeights(3), 20);
    G->SetMaxRowHeight(0);
    G->SetSizeGrowOnly(true);
    G->SetRowHeights(3, 200);
    G->AutoSizeRow(3);
    EXPECT_EQ(G->RowHeights(3), 200);
}

TEST_F(Figures, AutoFitColumnsFillsTheWidthInProportion) {
    G->SetBorderStyle(bsNone);
    G->SetScrollBars(ssNone);
    G->SetBounds(0, 0, 400, 300);
    G->SetOptions(TGridOptions{});
    G->SetColWidths(0, 30);
    for (int c = 1; c < 5; ++c) G->SetColWidths(c, 20 * c);
    G->AutoFitColumns(false);
    int Sum = 0;
    for (int c = 0; c < 5; ++c) Sum += G->ColWidths(c);
    EXPECT_EQ(Sum, 400);
    EXPECT_EQ(G->ColWidths(0), 30); // the fixed column keeps its width
    EXPECT_LT(G->ColWidths(1), G->ColWidths(2));
    EXPECT_NEAR(double(G->ColWidths(4)) / G->ColWidths(2), 2.0, 0.05);
}

TEST_F(Figures, SelectedCellsOfARectangleAreListedColumnByColumn) {
    G->SelectCells(1, 2, 2, 4);
    ASSERT_EQ(G->SelectedCellsCount(), 6);
    const std::vector<std::pair<int, int>> Want = {{1, 2}, {1, 3}, {1, 4}, {2, 2}, {2, 3}, {2, 4}};
    for (int i = 0; i < 6; ++i) {
        const TGridCoord C = G->GetSelectedCell(i);
        EXPECT_EQ(std::make_pair(C.X, C.Y), Want[size_t(i)]) << i;
    }
    EXPECT_THROW(G->GetSelectedCell(6), EListError);
    EXPECT_TRUE(G->GetSelectedCells(2, 4));
    EXPECT_FALSE(G->GetSelectedCells(3, 4));
}

TEST_F(Figures, DisjunctlySelectedCellsKeepTheirOrder) {
    G->MouseActions()->SetDisjunctCellSelect(true);
    G->SetSelectedCells(3, 5, true);
    G->SetSelectedCells(1, 2, true);
    G->SetSelectedCells(3, 5, true); // already there
    EXPECT_EQ(G->SelectedCellsCount(), 2);
    EXPECT_EQ(G->GetSelectedCell(0).X, 3);
    EXPECT_EQ(G->GetSelectedCell(1).Y, 2);
    G->SetSelectedCells(3, 5, false);
    EXPECT_EQ(G->SelectedCellsCount(), 1);
    G->ClearSelectedCells();
    EXPECT_EQ(G->SelectedCellsCount(), 0);
}

TEST_F(Figures, SelectedRowCountCoversAMergedCellAtTheTop) {
    G->MergeCells(1, 2, 1, 3); // rows 2..4
    G->SelectCells(1, 2, 1, 2);
    EXPECT_EQ(G->SelectedRowCount(), 3);
    G->SelectCells(1, 1, 2, 5);
    EXPECT_EQ(G->SelectedRowCount(), 5);
}

TEST_F(Figures, SelectedTextOfDisjunctRowsAndQuotedLines) {
    G->SetGridCell(1, 2, "a");
    G->SetGridCell(3, 2, "b");
    G->SetGridCell(1, 4, "two\r\nlines");
    G->SetGridCell(3, 4, "d");
    G->SelectCells(1, 2, 2, 2);
    EXPECT_EQ(G->SelectedText(), "a\tb");
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(2, true);
    G->SetRowSelect(4, true);
    G->SetExcelClipboardFormat(true);
    EXPECT_EQ(G->SelectedText(), QString("a\tb\r\n\"two") + QChar(0x0B) + "lines\"\td");
}

} // namespace
