// Typed cell access, headers, highlighting, fills and area figures of the string grid. The
// fixture keeps a hidden column (real column 2 of six) and a hidden row.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using TTestGrid = TExtStringGrid;

class CellAccess : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = FormatSettings;
        G = std::make_unique<TTestGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->HideColumn(2);
        G->SetCells(1, 5, "last row");
        G->HideRow(5);
        ASSERT_EQ(G->ColCount(), 5);
        ASSERT_EQ(G->RowCount(), 5);
    }
    void TearDown() override { FormatSettings = Saved; }
    TFormatSettings Saved;
    std::unique_ptr<TTestGrid> G;
};

struct TIntCase {
    const char* Name;
    const char* Text;
    bool Raises;
    int Expected;
};

class GetInts : public CellAccess, public ::testing::WithParamInterface<TIntCase> {};

TEST_P(GetInts, ReadsTheStrippedDisplayText) {
    const TIntCase& C = GetParam();
    G->SetCells(3, 1, C.Text);
    if (C.Raises) {
        try {
            G->GetInts(3, 1);
            FAIL() << "no error";
        } catch (const EExtGridError& E) {
            EXPECT_EQ(E.Message(), "Cell does not contain integer value");
        }
    } else
        EXPECT_EQ(G->GetInts(3, 1), C.Expected);
    EXPECT_EQ(G->Cells(3, 1), C.Text); // a read never changes the cell
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetInts,
    ::testing::Values(TIntCase{"Empty", "", false, 0}, TIntCase{"LoneMinus", "-", false, 0},
                      TIntCase{"Blanks", "  42  ", false, 42}, TIntCase{"Negative", "-17", false, -17},
                      TIntCase{"InsideBoldTags", "<b>7</b>", false, 7}, TIntCase{"Trailing", "4x", true, 0},
                      TIntCase{"ThousandSeparator", "1,000", true, 0}, TIntCase{"Fraction", "1.5", true, 0}),
    [](const ::testing::TestParamInfo<TIntCase>& I) { return std::string(I.param.Name); });

TEST_F(CellAccess, GetAllIntsReadsTagsAsTheyAre) {
    G->SetCells(3, 1, "<b>7</b>");
    EXPECT_THROW(G->GetAllInts(3, 1), EExtGridError);
    G->SetAllInts(1, 5, 12); // the hidden row
    EXPECT_EQ(G->GetAllInts(1, 5), 12);
    EXPECT_EQ(G->RowCount(), 5);
}

TEST_F(CellAccess, FloatsUseTheFormatAndTheDecimalSeparator) {
    G->SetFloats(3, 1, 1.5);
    EXPECT_EQ(G->Cells(3, 1), "1.50");
    EXPECT_DOUBLE_EQ(G->GetFloats(3, 1), 1.5);
    FormatSettings.DecimalSeparator = ',';
    FormatSettings.ThousandSeparator = '.';
    G->SetFloats(3, 2, 1234.5);
    EXPECT_EQ(G->Cells(3, 2), "1234,50");
    G->SetCells(3, 3, "1.234,5");
    EXPECT_DOUBLE_EQ(G->GetFloats(3, 3), 1234.5);
    G->SetCells(3, 4, "1,2,3"); // two decimal separators
    try {
        G->GetFloats(3, 4);
        FAIL() << "no error";
    } catch (const EExtGridError& E) {
        EXPECT_EQ(E.Message(), "Cell does not contain a float value");
    }
}

TEST_F(CellAccess, CallerFloatFormatsGoThroughTheCheckedFormat) {
    G->SetFloatFormat("%d items");
    EXPECT_THROW(G->SetFloats(3, 1, 2.5), EConvertError);
    EXPECT_EQ(G->Cells(3, 1), "");
    G->SetFloatFormat("%.1f");
    G->SetAllFloats(1, 5, 2.5); // the hidden row, with the grid's own format
    EXPECT_EQ(G->GetCellsEx(1, 5), "2.5");
}

TEST_F(CellAccess, NullDatesAreShownOnlyWhenAsked) {
    G->SetDates(3, 1, 0);
    EXPECT_FALSE(G->Cells(3, 1).isEmpty());
    G->SetShowNullDates(false);
    G->SetDates(3, 1, 0);
    EXPECT_EQ(G->Cells(3, 1), "");
    const TDateTime D = EncodeDate(2026, 3, 14);
    G->SetDates(3, 2, D);
    EXPECT_DOUBLE_EQ(G->GetDates(3, 2), D);
    G->SetCells(3, 3, "no date");
    EXPECT_THROW(G->GetDates(3, 3), EConvertError);
    const TDateTime T = EncodeTime(13, 45, 0, 0);
    G->SetTimes(3, 4, T);
    EXPECT_NEAR(G->GetTimes(3, 4), T, 1e-6);
}

TEST_F(CellAccess, ControlValuesAreReadAndRewritten) {
    G->SetCells(3, 1, "<CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"old\">");
    EXPECT_EQ(G->GetCtrlVal(3, 1, "a"), "old");
    EXPECT_EQ(G->GetCtrlVal(3, 1, "b"), "");
    G->SetCtrlVal(3, 1, "a", "new");
    EXPECT_EQ(G->GetCtrlVal(3, 1, "a"), "new");
    const QString Before = G->Cells(3, 1);
    G->SetCtrlVal(3, 1, "b", "x");
    EXPECT_EQ(G->Cells(3, 1), Before);
}

TEST_F(CellAccess, HighlightEscapesTheTextAndUnhighlightRestoresIt) {
    G->SetCells(1, 1, "xAbx<y");
    G->HilightInCell(false, 1, 1, "ab");
    EXPECT_EQ(G->Cells(1, 1), "x<hi>Ab</hi>x&lt;y");
    G->UnHilightInCell(1, 1);
    EXPECT_EQ(G->Cells(1, 1), "xAbx<y");
    G->MarkInCell(true, 1, 1, "ab"); // case-sensitive: no match
    EXPECT_EQ(G->Cells(1, 1), "xAbx&lt;y");
}

TEST_F(CellAccess, HighlightInGridReachesTheHiddenColumnMarkInGridDoesNot) {
    for (int RealCol = 0; RealCol < 6; ++RealCol) G->SetCells(RealCol, 1, "a");
    G->HilightInGrid(false, true, "a");
    EXPECT_EQ(G->Cells(2, 1), "<hi>a</hi>"); // hidden column
    EXPECT_EQ(G->Cells(5, 1), "<hi>a</hi>");
    EXPECT_EQ(G->Cells(0, 1), "a"); // fixed column
    G->UnHilightInGrid(false);
    G->MarkInGrid(false, true, "a");
    EXPECT_EQ(G->Cells(4, 1), "<e>a</e>");
    EXPECT_EQ(G->Cells(5, 1), "a"); // columns up to ColCount - 1 only
}

// ---- fills ----------------------------------------------------------------------------------------------
struct TFillCase {
    const char* Name;
    std::function<void(TTestGrid&)> Fill;
    int RealCol;
    int DisplRow;
    const char* Expected;
};

class Fills : public CellAccess, public ::testing::WithParamInterface<TFillCase> {};

TEST_P(Fills, WriteTheirArea) {
    const TFillCase& C = GetParam();
    C.Fill(*G);
    EXPECT_EQ(G->Cells(C.RealCol, C.DisplRow), C.Expected);
    EXPECT_EQ(G->GetCellsEx(1, 5), "last row"); // the hidden row is left alone
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Fills,
    ::testing::Values(
        TFillCase{"LinearFillFirstNormalCell", [](TTestGrid& G) { G.LinearFill(false); }, 1, 1, "1:1"},
        TFillCase{"LinearFillLastNormalCell", [](TTestGrid& G) { G.LinearFill(false); }, 4, 4, "4:4"},
        TFillCase{"LinearFillLeavesFixedRow", [](TTestGrid& G) { G.LinearFill(false); }, 1, 0, ""},
        TFillCase{"LinearFillLeavesFixedCol", [](TTestGrid& G) { G.LinearFill(false); }, 0, 2, ""},
        TFillCase{"LinearFillWithFixed", [](TTestGrid& G) { G.LinearFill(true); }, 0, 0, "0:0"},
        TFillCase{"FillsStopBelowColCount", [](TTestGrid& G) { G.LinearFill(true); }, 5, 2, ""},
        TFillCase{"TextFill", [](TTestGrid& G) { G.TextFill(false, "t"); }, 3, 3, "t"},
        TFillCase{"TextFillKeepsFixed", [](TTestGrid& G) { G.TextFill(false, "t"); }, 3, 0, ""},
        TFillCase{"FormatFillColumnThenRow", [](TTestGrid& G) { G.FormatFill(false, "c%d-r%d"); }, 3, 2, "c3-r2"},
        TFillCase{"FormatFillWidth", [](TTestGrid& G) { G.FormatFill(true, "%3d|%-2d|"); }, 1, 4, "  1|4 |"},
        TFillCase{"RandomFillOfOne", [](TTestGrid& G) { G.RandomFill(false, 1); }, 2, 3, "0"},
        TFillCase{"FixedRightColumnsAndFootersKept",
                  [](TTestGrid& G) {
                      G.SetFixedRightCols(1);
                      G.SetFixedFooters(1);
                      G.TextFill(false, "t");
                  },
                  4, 3, ""}),
    [](const ::testing::TestParamInfo<TFillCase>& I) { return std::string(I.param.Name); });

TEST_F(CellAccess, FormatFillWithAMismatchedFormatRaises) {
    EXPECT_THROW(G->FormatFill(false, "%s and %s"), EConvertError);
    EXPECT_THROW(G->FormatFill(false, "%d %d %d"), EConvertError);
}

// ---- headers and figures ----------------------------------------------------------------------------------
TEST_F(CellAccess, ColumnHeadersGoToRowZeroWithLineBreaks) {
    TStringList L;
    L.Add("#");
    L.Add("Name\\nfirst");
    L.Add("Hidden");
    G->SetColumnHeaders(&L);
    EXPECT_EQ(G->Cells(1, 0), "Name\rfirst");
    EXPECT_EQ(G->Cells(2, 0), "Hidden"); // real column 2 is the hidden one
    G->ColumnHeaders()->Add("Fourth");
    EXPECT_EQ(G->Cells(3, 0), "Fourth");
    G->ClearColumnHeaders();
    EXPECT_EQ(G->Cells(1, 0), "");
}

TEST_F(CellAccess, RowHeadersGoToColumnZero) {
    G->RowHeaders()->Add("");
    G->RowHeaders()->Add("one");
    EXPECT_EQ(G->Cells(0, 1), "one");
}

TEST_F(CellAccess, UsedCellsIsTheSmallestRectangleWithText) {
    EXPECT_EQ(G->UsedCells(), TRect(0, 0, 0, 0));
    G->SetCells(3, 2, "a");
    G->SetCells(1, 4, "b");
    const TRect R = G->UsedCells();
    EXPECT_EQ(R.Left, 1);
    EXPECT_EQ(R.Top, 2);
    EXPECT_EQ(R.Right, 3);
    EXPECT_EQ(R.Bottom, 4);
}

TEST_F(CellAccess, PrintColumnFiguresCheckTheirRange) {
    G->SetPrintColWidth(511, 80);
    EXPECT_EQ(G->GetPrintColWidth(511), 80);
    try {
        G->GetPrintColWidth(512);
        FAIL() << "no error";
    } catch (const EExtGridError& E) {
        EXPECT_EQ(E.Message(), "Columns is not in valid range");
    }
    EXPECT_THROW(G->GetPrintColOffset(-1), EExtGridError);
}

TEST_F(CellAccess, SaveFiguresFollowTheSaveFlags) {
    G->SetFixedRightCols(1);
    G->SetFixedFooters(1);
    EXPECT_EQ(G->SaveStartCol(), 0);
    EXPECT_EQ(G->SaveEndRow(), 4);
    G->SetSaveFixedCells(false);
    EXPECT_EQ(G->SaveStartCol(), 1);
    EXPECT_EQ(G->SaveStartRow(), 1);
    EXPECT_EQ(G->SaveEndCol(), 3);
    EXPECT_EQ(G->SaveEndRow(), 3);
    EXPECT_EQ(G->SaveColCount(), 3);
    EXPECT_EQ(G->SaveRowCount(), 3);
    G->SetSaveFixedRows(true);
    EXPECT_EQ(G->SaveStartRow(), 0);
    EXPECT_EQ(G->SaveRowCount(), 5);
}

TEST_F(CellAccess, FooterSumCountsTheHiddenRowWhenAsked) {
    G->UnHideRow(5);
    G->SetRowCount(7); // the last row is the footer
    G->FloatingFooter()->SetVisible(true);
    for (int Row = 1; Row <= 5; ++Row) G->SetInts(3, Row, Row);
    G->HideRow(2);
    G->GetCellProperties(3, G->RowCount() - 1)->SetCalcType(acSUM);
    G->CalcFooter(3);
    EXPECT_EQ(G->Cells(3, G->RowCount() - 1), "15.00");
    G->FloatingFooter()->SetCalculateHiddenRows(false);
    G->CalcFooter(-1);
    EXPECT_EQ(G->Cells(3, G->RowCount() - 1), "13.00");
}

TEST_F(CellAccess, CustomFooterAsksTheGridFirstThenTheFooter) {
    G->SetRowCount(6);
    G->FloatingFooter()->SetVisible(true);
    const int Footer = G->RowCount() - 1;
    G->GetCellProperties(4, Footer)->SetCalcType(acCUSTOM);
    std::vector<int> Asked;
    G->FloatingFooter()->OnCalcFooter = [&](TObject*, int ACol, int ARow, QString& Value) {
        Asked.push_back(ARow);
        Value = QString("footer %1").arg(ACol);
    };
    G->CalcFooter(4);
    EXPECT_EQ(G->Cells(4, Footer), "footer 4");
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Asked[0], G->NumHiddenRows() + G->RowCount() - 1);
    G->OnFooterCalc = [](TObject*, int, int, QString& Value) { Value = "grid"; };
    G->CalcFooter(4);
    EXPECT_EQ(G->Cells(4, Footer), "grid");
    EXPECT_EQ(Asked.size(), 1u);
}

} // namespace
