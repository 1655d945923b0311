// Column figures, automatic column sizing and the selection queries, on grids with a hidden
// column; widths are expected from the font's own metrics.
#include "grid/control/ExtCGrid.h"
#include "tests/support/QtPrint.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Real columns 0..5 with real column 2 hidden; one fixed row and column, six rows.
class Stats : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(40);
        G->HideColumn(2);
        ASSERT_EQ(G->RealColIndex(2), 3);
    }
    int TextW(TFont* F, const QString& S) { return QFontMetrics(F->ToQFont()).horizontalAdvance(S); }
    int Extra() { return G->HorzTextMargin() + 2 * G->GridLineWidth() + 2; }
    std::unique_ptr<TExtColumnGrid> G;
};

TEST_F(Stats, ColumnFiguresSkipTextsThatAreNotNumbersAndKeepToTheNormalRows) {
    const char* Texts[] = {"hdr", "1.5", "x", "4", "-2", "10"};
    for (int r = 0; r < 6; ++r) G->SetGridCell(3, r, Texts[r]);
    EXPECT_DOUBLE_EQ(G->ColumnSum(3, -1, -1), 13.5);
    EXPECT_DOUBLE_EQ(G->ColumnAvg(3, 1, 5), 13.5 / 5);
    EXPECT_DOUBLE_EQ(G->ColumnAvg(3, 4, 2), 0);
    EXPECT_DOUBLE_EQ(G->ColumnMin(3, -1, -1), -2);
    EXPECT_DOUBLE_EQ(G->ColumnMax(3, -1, -1), 10);
    EXPECT_THROW(G->ColumnMin(3, 2, 5), EExtGridError);
    G->SetFixedFooters(1);
    EXPECT_DOUBLE_EQ(G->ColumnSum(3, -1, -1), 3.5);
}

TEST_F(Stats, DistinctCountsTextsDifferingInCaseOnce) {
    const char* Texts[] = {"h", "Abc", "aBC", "abd", "", ""};
    for (int r = 0; r < 6; ++r) G->SetGridCell(1, r, Texts[r]);
    EXPECT_DOUBLE_EQ(G->ColumnDistinct(1, -1, -1), 3);
}

TEST_F(Stats, RowSumReadsTheRealColumnsOfTheDisplayedOnes) {
    for (int c = 0; c < 6; ++c) G->SetGridCell(c, 2, QString::number(c + 1));
    EXPECT_DOUBLE_EQ(G->RowSum(2, 1, 3), 2 + 4 + 5); // display 1..3 show real 1, 3, 4
    EXPECT_DOUBLE_EQ(G->RowAvg(2, 1, 3), 11.0 / 3);
}

TEST_F(Stats, AutoSizeColTakesTheWidestTextHeaderIncludedInItsOwnFont) {
    G->SetGridCell(3, 0, "A rather long header");
    G->SetGridCell(3, 2, "short");
    G->AutoSizeCol(2);
    // A column grid draws its header row in the column's header font.
    EXPECT_EQ(G->ColWidths(2), TextW(G->Columns()->Items(3)->HeaderFont(), "A rather long header") + Extra());
    G->SetGridCell(3, 4, "A much much longer text in a normal row\nsecond");
    G->AutoSizeCol(2, 5);
    EXPECT_EQ(G->ColWidths(2), TextW(G->Font(), "A much much longer text in a normal row") + Extra() + 5);
}

TEST_F(Stats, GrowOnlyKeepsAWideColumnAndTheLimitsApply) {
    G->SetGridCell(1, 3, "ab");
    G->SetColWidths(1, 300);
    G->SetSizeGrowOnly(true);
    G->AutoSizeCol(1);
    EXPECT_EQ(G->ColWidths(1), 300);
    G->SetSizeGrowOnly(false);
    G->SetMinColWidth(50);
    G->AutoSizeCol(1);
    EXPECT_EQ(G->ColWidths(1), 50);
}

TEST_F(Stats, ColumnItemFontsAndAutoLimitsShapeTheWidth) {
    G->SetGridCell(4, 3, "Sized by the column font");
    TGridColumnItem* I = G->Columns()->Items(4);
    I->Font()->SetSize(16);
    G->AutoSizeCol(3);
    EXPECT_EQ(G->ColWidths(3), TextW(I->Font(), "Sized by the column font") + Extra());
    I->SetAutoMaxSize(60);
    G->AutoSizeCol(3);
    EXPECT_EQ(G->ColWidths(3), 60);
    G->SetMaxColWidth(55);
    G->AutoSizeCol(3);
    EXPECT_EQ(G->ColWidths(3), 55);
}

TEST_F(Stats, AutoSizeColMeasuresTheTextAsTheColumnFormatShowsIt) {
    TGridColumnItem* I = G->Columns()->Items(3);
    I->SetFloatFormat("%.4f");
    G->SetGridCell(3, 0, "");
    G->SetGridCell(3, 2, "7");
    G->AutoSizeCol(2);
    EXPECT_EQ(G->ColWidths(2), TextW(I->Font(), "7.0000") + Extra());
}

TEST_F(Stats, AColumnFormatThatDoesNotTakeANumberShowsTheTextAsStored) {
    G->Columns()->Items(3)->SetFloatFormat("%d");
    G->SetGridCell(3, 2, "7.5");
    EXPECT_EQ(G->GetFormattedCell(3, 2), "7.5");
    G->AutoSizeCol(2);
    EXPECT_GT(G->ColWidths(2), 0);
}

TEST_F(Stats, OnlyTheTopLeftOffsetCountsOnceInTheMargins) {
    G->SetGridCell(4, 2, "offset text");
    G->SetXYOffset(QPoint(5, 3));
    G->AutoSizeCol(3);
    const int Doubled = G->ColWidths(3);
    EXPECT_EQ(Doubled, TextW(G->Font(), "offset text") + 10 + 2 * G->GridLineWidth() + 2);
    G->SetXYOffsetTopLeftOnly(true);
    G->AutoSizeCol(3);
    EXPECT_EQ(G->ColWidths(3), Doubled - 5);
    G->AutoSizeRow(2);
    const int Line = QFontMetrics(G->Font()->ToQFont()).lineSpacing();
    EXPECT_EQ(G->RowHeights(2), 3 + Line + 2 * G->GridLineWidth() + 2);
}

TEST_F(Stats, AutoSizeColumnsLeavesTheFixedColumnUnlessAsked) {
    G->SetGridCell(0, 3, "fixed column text");
    G->AutoSizeColumns(false);
    EXPECT_EQ(G->ColWidths(0), 40);
    G->AutoSizeColumns(true);
    EXPECT_EQ(G->ColWidths(0), TextW(G->FixedFont(), "fixed column text") + Extra());
}

TEST_F(Stats, SelectionQueriesFollowTheRectangle) {
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 6; ++r) G->SetGridCell(c, r, QString("%1%2").arg(c).arg(r));
    G->SelectCells(1, 2, 3, 4);
    EXPECT_EQ(G->SelectedRowCount(), 3);
    EXPECT_EQ(G->SelectedColCount(), 3);
    EXPECT_EQ(G->SelectedRow(0), 2);
    EXPECT_EQ(G->SelectedRow(2), 4);
    EXPECT_EQ(G->SelectedRow(3), -1);
    G->SelectCells(1, 2, 2, 3);
    EXPECT_EQ(G->SelectedText(), "12\t32\r\n13\t33");
}

} // namespace
