// Printing and preview of the grid: cell measuring in 0.1 mm, the page layout (rows per page,
// bands, repeated fixed rows and columns, fitting, page numbers), the print events, PDF output
// turned into pictures, and the preview on a bitmap. The fixture keeps a hidden column and a
// hidden row.
#include "grid/control/ExtGrid.h"
#include "platform/gui/Printers.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/QtPrint.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

QString PictureDir() {
    const QString D = QStringLiteral(GRID_SERVICES_PICTURE_DIR);
    QDir().mkpath(D);
    return D;
}

bool HaveTool(const char* Name) { return !QStandardPaths::findExecutable(QString::fromLatin1(Name)).isEmpty(); }

QString RunTool(const QString& Program, const QStringList& Args) {
    QProcess P;
    P.start(Program, Args);
    P.waitForFinished(-1);
    return QString::fromUtf8(P.readAllStandardOutput());
}

int PdfPageCount(const QString& File) {
    const QString Info = RunTool(QStringLiteral("pdfinfo"), {File});
    for (const QString& L : Info.split(QLatin1Char('\n')))
        if (L.startsWith(QLatin1String("Pages:"))) return L.mid(6).trimmed().toInt();
    return -1;
}

class GridPrint : public ::testing::Test {
protected:
    static constexpr int RealCols = 5;
    static constexpr int HiddenRealCol = 3;

    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(RealCols);
        G->SetRowCount(41);
        G->SetFixedRows(1);
        G->SetFixedCols(1);
        for (int c = 0; c < RealCols; ++c) G->SetGridCell(c, 0, QStringLiteral("Head %1").arg(c));
        for (int r = 1; r < 41; ++r) {
            G->SetGridCell(0, r, QString::number(r));
            for (int c = 1; c < RealCols; ++c) G->SetGridCell(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
        }
        G->HideColumn(HiddenRealCol);
        // real row 40 is hidden: the grid shows 40 rows (0 .. 39)
        G->HideRow(40);
        auto P = std::make_unique<TPrinter>();
        P->SetOutputFileName(Pdf());
        P->SetResolution(300);
        Old = SetPrinter(std::move(P));
    }
    void TearDown() override { SetPrinter(std::move(Old)); }

    QString Pdf() const { return Dir.filePath(QStringLiteral("grid.pdf")); }

    // Which display rows and columns each page draws, read from the per-cell border query
    // (asked only for cells that are drawn).
    struct TPage {
        std::vector<int> Rows;
        std::set<int> Cols;
    };
    std::vector<TPage> Pages;
    std::vector<QString> Events;
    void RecordPages() {
        G->OnPrintPage = [this](TObject*, TCanvas*, int PageNr, int, int) {
            Events.push_back(QStringLiteral("page %1").arg(PageNr));
            Pages.emplace_back();
        };
        G->OnPrintPageDone = [this](TObject*, TCanvas*, int, int, int LastPage, int, int) {
            Events.push_back(QStringLiteral("done %1").arg(LastPage));
        };
        G->OnPrintCancel = [this](TObject*, int PageNr, bool&) {
            Events.push_back(QStringLiteral("cancel? %1").arg(PageNr));
        };
        G->OnGetCellPrintBorder = [this](TObject*, int ARow, int ACol, TPen*, TCellBorders&) {
            if (Pages.empty()) return;
            auto& Rows = Pages.back().Rows;
            if (Rows.empty() || Rows.back() != ARow) Rows.push_back(ARow);
            Pages.back().Cols.insert(G->DisplColIndex(ACol));
        };
    }

    QTemporaryDir Dir;
    std::unique_ptr<TExtStringGrid> G;
    std::unique_ptr<TPrinter> Old;
};

// ---- units and small routines ----------------------------------------------------------------------

struct TFontCase {
    const char* Name;
    int Points;
    double Scale;
    int Height;
};
void PrintTo(const TFontCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintFontUnits : public GridPrint, public ::testing::WithParamInterface<TFontCase> {};

TEST_P(PrintFontUnits, PointsBecomeNegativeTenthsOfAMillimetre) {
    const TFontCase& C = GetParam();
    ASSERT_EQ(C.Scale, 1.0) << "the scale only applies inside a run";
    EXPECT_EQ(G->MapFontHeight(C.Points), C.Height);
    EXPECT_EQ(G->MapFontSize(-C.Height), C.Points);
}

INSTANTIATE_TEST_SUITE_P(Fonts, PrintFontUnits,
                         ::testing::Values(TFontCase{"TenPoints", 10, 1.0, -35}, TFontCase{"EightPoints", 8, 1.0, -28},
                                           TFontCase{"SeventyTwoPointsIsOneInch", 72, 1.0, -254}),
                         [](const auto& I) { return std::string(I.param.Name); });

struct TRotCase {
    const char* Name;
    int Angle;
    TAlignment HA;
    TVAlignment VA;
    TPoint Expected;
};
void PrintTo(const TRotCase& C, std::ostream* Os) { *Os << C.Name; }
class RotatedOrigin : public ::testing::TestWithParam<TRotCase> {};

// Rectangle (0, 100) - (200, 0) with y up; A, B, C, D = -10, -20, 30, 40.
TEST_P(RotatedOrigin, StartPointByQuadrantAndAlignment) {
    const TRotCase& C = GetParam();
    TRect R = Rect(0, 100, 200, 0);
    TExtStringGrid::RotatedTextOrigin(R, C.HA, C.VA, -10, -20, 30, 40, C.Angle);
    EXPECT_EQ(R.Left, C.Expected.X);
    EXPECT_EQ(R.Top, C.Expected.Y);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, RotatedOrigin,
                         ::testing::Values(TRotCase{"Q1LeftTop", 45, taLeftJustify, vtaTop, {0, 80}},
                                           TRotCase{"Q1RightBottom", 90, taRightJustify, vtaBottom, {130, 10}},
                                           TRotCase{"Q1Centred", 30, taCenter, vtaCenter, {65, 45}},
                                           TRotCase{"Q2LeftTop", 135, taLeftJustify, vtaTop, {40, 70}},
                                           TRotCase{"Q3RightBottom", 200, taRightJustify, vtaBottom, {200, 20}},
                                           TRotCase{"Q4LeftTop", 300, taLeftJustify, vtaTop, {30, 100}},
                                           TRotCase{"Q4LeftBottom", 300, taLeftJustify, vtaBottom, {30, 30}}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(GridPrint, MaxLinesInRowIsOneWithoutMultiLineCells) {
    G->SetGridCell(1, 2, "one\rtwo\rthree");
    EXPECT_EQ(G->MaxLinesInRow(2), 1);
    G->SetMultilinecells(true);
    EXPECT_EQ(G->MaxLinesInRow(2), 3);
    EXPECT_EQ(G->MaxLinesInRow(3), 1);
}

// ---- cell measuring -------------------------------------------------------------------------------

struct TExtentCase {
    const char* Name;
    QString Text;
    bool Multiline;
    bool WrapNoAutoSize;
    int Angle; // 0: not rotated
    int FontSize;
};
void PrintTo(const TExtentCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintCellExtent : public GridPrint, public ::testing::WithParamInterface<TExtentCase> {};

TEST_P(PrintCellExtent, CellsMeasureInTenthsOfAMillimetre) {
    const TExtentCase& P = GetParam();
    TBitmap Bmp(10, 10);
    TCanvas* C = Bmp.Canvas();
    C->SetMapMode(MM_LOMETRIC);
    G->PrintSettings()->Font()->SetSize(P.FontSize);
    G->PrintSettings()->SetUseDisplayFont(false);
    G->PrintSettings()->SetNoAutoSize(P.WrapNoAutoSize);
    G->SetWordWrap(P.WrapNoAutoSize);
    G->SetMultilinecells(P.Multiline);
    G->SetGridCell(2, 5, P.Text);
    TBitmap Scratch(10, 10);
    G->PrintPreview(Scratch.Canvas(), Rect(0, 0, 10, 10)); // the block of all cells
    TPoint Flat{0, 0};
    G->SetPrintCanvas(C);
    if (P.Angle != 0) {
        // the same cell lying flat, in the font a rotated cell takes
        G->AddRotated(2, 5, 0, P.Text);
        Flat = G->CellPrintExtent(2, 5);
        G->AddRotated(2, 5, P.Angle, P.Text);
    }
    G->MeasurePrintColumns();
    const TPoint E = G->CellPrintExtent(2, 5);

    // the expectation from the canvas's own measuring in the same font
    C->Font()->Assign(G->PrintSettings()->Font());
    C->Font()->SetHeight(G->MapFontHeight(P.FontSize));
    const int LineH = C->TextHeight("gh");
    const QStringList Lines = P.Multiline ? P.Text.split('\r') : QStringList{P.Text.section('\r', 0, 0)};
    int Widest = 0;
    for (const QString& L : Lines) Widest = std::max(Widest, C->TextWidth(L.isEmpty() ? QStringLiteral("gh") : L));
    const int H = LineH * int(Lines.size());
    if (P.Angle == 90) {
        EXPECT_EQ(E.X, Flat.Y);
        EXPECT_EQ(E.Y, Flat.X);
    } else if (P.WrapNoAutoSize) {
        EXPECT_EQ(E.X, G->MaxWidths(G->DisplColIndex(2))) << "as wide as its column";
        EXPECT_GE(E.Y, 2 * LineH - 2) << "the text wraps into several lines";
    } else {
        EXPECT_EQ(E.X, Widest);
        EXPECT_EQ(E.Y, H);
    }
    G->SetPrintCanvas(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PrintCellExtent,
    ::testing::Values(TExtentCase{"OneLine", "Hello print", false, false, 0, 10},
                      TExtentCase{"EmptyCountsAsGh", "", false, false, 0, 10},
                      TExtentCase{"BiggerFont", "Hello print", false, false, 0, 20},
                      TExtentCase{"ThreeLinesWhenMultiLine", "one\rlonger two\rthree", true, false, 0, 10},
                      TExtentCase{"FirstLineOnlyWithoutMultiLine", "one\rlonger two\rthree", false, false, 0, 10},
                      TExtentCase{"NonLatin", QString::fromUtf8("Grüße 日本語"), false, false, 0, 10},
                      TExtentCase{"WrappedInTheColumnWidth",
                                  "a long text that cannot fit in one narrow column of the grid", false, true, 0, 10},
                      TExtentCase{"RotatedQuarterTurn", "Turned", false, false, 90, 10}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(GridPrint, ColumnsAtScreenWidthsWithNoAutoSizeElseAtTheirWidestCell) {
    TBitmap Bmp(10, 10);
    Bmp.Canvas()->SetMapMode(MM_LOMETRIC);
    G->SetPrintCanvas(Bmp.Canvas());
    G->SetColWidths(2, 100);
    G->PrintPreview(Bmp.Canvas(), Rect(0, 0, 10, 10)); // sets the block to all cells
    G->SetPrintCanvas(Bmp.Canvas());
    G->PrintSettings()->SetNoAutoSize(true);
    G->MeasurePrintColumns();
    EXPECT_EQ(G->MaxWidths(2), int(std::lround(100 * 254.0 / 96)));
    G->PrintSettings()->SetNoAutoSize(false);
    G->SetGridCell(G->RealColIndex(2), 7, "a much wider text than any other in this column");
    G->MeasurePrintColumns();
    EXPECT_EQ(G->MaxWidths(2), G->CellPrintExtent(G->RealColIndex(2), 7).X);
    G->SetPrintCanvas(nullptr);
}

// ---- page layout -------------------------------------------------------------------------------------

TEST_F(GridPrint, EveryShownRowIsPrintedOnceInOrderOverSeveralPages) {
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 60);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    RecordPages();
    G->Print();
    ASSERT_GT(Pages.size(), 1u);
    std::vector<int> All;
    for (const auto& P : Pages) All.insert(All.end(), P.Rows.begin(), P.Rows.end());
    std::vector<int> Expected;
    for (int r = 0; r < G->RowCount(); ++r) Expected.push_back(r);
    EXPECT_EQ(All, Expected);
    EXPECT_EQ(G->PrintNrOfPages(), int(Pages.size()));
    EXPECT_FALSE(Pages[0].Cols.count(G->ColCount())) << "the hidden column is not printed";
    if (HaveTool("pdfinfo")) EXPECT_EQ(PdfPageCount(Pdf()), int(Pages.size()));
}

struct TRepeatCase {
    const char* Name;
    bool RepeatRows;
};
void PrintTo(const TRepeatCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintRepeatRows : public GridPrint, public ::testing::WithParamInterface<TRepeatCase> {};

TEST_P(PrintRepeatRows, FixedRowsHeadEveryPageAfterTheFirstOnlyWhenAsked) {
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 60);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    G->PrintSettings()->SetRepeatFixedRows(GetParam().RepeatRows);
    RecordPages();
    G->Print();
    ASSERT_GT(Pages.size(), 1u);
    EXPECT_EQ(Pages[0].Rows.front(), 0);
    for (size_t p = 1; p < Pages.size(); ++p) {
        ASSERT_FALSE(Pages[p].Rows.empty());
        EXPECT_EQ(Pages[p].Rows.front() == 0, GetParam().RepeatRows) << "page " << p + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Repeat, PrintRepeatRows,
                         ::testing::Values(TRepeatCase{"Repeated", true}, TRepeatCase{"NotRepeated", false}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(GridPrint, AWideGridPrintsInBandsNumberedPageDashBand) {
    G->SetRowCount(5);
    for (int c = 0; c < G->ColCount(); ++c) G->SetColWidths(c, 450);
    G->PrintSettings()->SetNoAutoSize(true);
    G->PrintSettings()->SetRepeatFixedCols(true);
    G->PrintSettings()->SetPageNr(ppBottomRight);
    std::vector<QString> Numbers;
    G->OnPrintGetPageNum = [&](TObject*, int, int, QString& S) { Numbers.push_back(S); };
    RecordPages();
    G->Print();
    ASSERT_GE(Pages.size(), 2u);
    EXPECT_EQ(Numbers.front(), "1-1");
    EXPECT_EQ(Numbers.at(1), "1-2");
    for (size_t p = 1; p < Pages.size(); ++p) {
        QStringList Cols;
        for (int c : Pages[p].Cols) Cols << QString::number(c);
        EXPECT_TRUE(Pages[p].Cols.count(0)) << "fixed column repeated on page " << p + 1 << ": "
                                            << Cols.join(',').toStdString() << " of " << Pages.size();
    }
    std::set<int> Printed;
    for (const auto& P : Pages) Printed.insert(P.Cols.begin(), P.Cols.end());
    EXPECT_EQ(Printed.size(), size_t(G->ColCount())) << "every shown column lands on some band";
}

TEST_F(GridPrint, ShrinkToPageFitsAWideGridIntoOneBandAndKeepsANarrowOne) {
    G->SetRowCount(5);
    TPrintSettings* PS = G->PrintSettings();
    PS->SetFitToPage(fpShrink);
    PS->SetNoAutoSize(true);
    PS->SetLeftSize(100);
    PS->SetRightSize(50);
    RecordPages();
    G->Print();
    const int Narrow = G->MaxWidths(1);
    EXPECT_EQ(Narrow, int(std::lround(G->ColWidths(1) * 254.0 / 96))) << "a narrow grid keeps its widths";
    for (int c = 0; c < G->ColCount(); ++c) G->SetColWidths(c, 450);
    Pages.clear();
    G->Print();
    ASSERT_EQ(Pages.size(), 1u);
    const int W = G->PrintPageRect().Width();
    int Sum = 0;
    for (int c = 0; c < G->ColCount(); ++c) Sum += G->MaxWidths(c) + 20;
    EXPECT_NEAR(Sum, W - 150, G->ColCount()) << "columns and spacing fill the page between the margins";
}

struct TPageNumCase {
    const char* Name;
    int Rows;
    std::vector<QString> Expected;
};
void PrintTo(const TPageNumCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintPageNumbers : public GridPrint, public ::testing::WithParamInterface<TPageNumCase> {};

TEST_P(PrintPageNumbers, NumberOfTotalOrTheNumberAlone) {
    G->SetRowCount(GetParam().Rows);
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 200);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    G->PrintSettings()->SetPageNr(ppBottomCenter);
    G->PrintSettings()->SetPagePrefix("Page");
    std::vector<QString> Numbers;
    G->OnPrintGetPageNum = [&](TObject*, int, int, QString& S) { Numbers.push_back(S); };
    G->Print();
    EXPECT_EQ(Numbers, GetParam().Expected);
    if (HaveTool("pdftotext")) {
        const QString Text = RunTool("pdftotext", {Pdf(), "-"});
        for (const QString& N : GetParam().Expected) EXPECT_TRUE(Text.contains("Page " + N)) << N.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Numbers, PrintPageNumbers,
                         ::testing::Values(TPageNumCase{"OnePage", 3, {"1"}},
                                           TPageNumCase{"ThreePages", 14, {"1/3", "2/3", "3/3"}}),
                         [](const auto& I) { return std::string(I.param.Name); });

// ---- events ---------------------------------------------------------------------------------------------

TEST_F(GridPrint, EventsComePageByPageAfterTheStart) {
    G->SetRowCount(14);
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 200);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    RecordPages();
    G->OnPrintStart = [this](TObject*, int N, int& From, int& To) {
        Events.push_back(QStringLiteral("start %1 %2-%3").arg(N).arg(From).arg(To));
    };
    G->Print();
    const std::vector<QString> Expected{"start 3 1-3", "page 1",    "done 1", "cancel? 1", "page 2",
                                        "done 2",      "cancel? 2", "page 3", "done 3",    "cancel? 3"};
    EXPECT_EQ(Events, Expected);
}

TEST_F(GridPrint, CancelStopsAfterTheCurrentPageAndTheJobStillEnds) {
    G->SetRowCount(14);
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 200);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    RecordPages();
    G->OnPrintCancel = [](TObject*, int PageNr, bool& Cancel) { Cancel = PageNr == 2; };
    G->Print();
    EXPECT_EQ(Pages.size(), 2u);
    ASSERT_TRUE(QFile::exists(Pdf()));
    if (HaveTool("pdfinfo")) EXPECT_EQ(PdfPageCount(Pdf()), 2);
}

TEST_F(GridPrint, AnEmptyRangeFromTheStartEventPrintsNothingAndKeepsTheOldFile) {
    {
        QFile F(Pdf());
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("old");
    }
    G->OnPrintStart = [](TObject*, int, int& From, int& To) {
        From = 2;
        To = 1;
    };
    RecordPages();
    G->Print();
    EXPECT_TRUE(Pages.empty());
    QFile F(Pdf());
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no part file left behind";
}

TEST_F(GridPrint, NewPageRequestedAfterRowTenStartsTheNextPageWithRowEleven) {
    RecordPages();
    G->OnPrintNewPage = [](TObject*, int ARow, bool& NewPage) { NewPage = ARow == 11; };
    G->Print();
    ASSERT_GE(Pages.size(), 2u);
    EXPECT_EQ(Pages[0].Rows.back(), 10);
    EXPECT_EQ(Pages[1].Rows.front(), 11);
}

TEST_F(GridPrint, SelectedRowsOnlyAndTheFixedRowWhenAlwaysPrinted) {
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(3, true);
    G->SetRowSelect(7, true);
    RecordPages();
    G->PrintSelectedRows();
    ASSERT_EQ(Pages.size(), 1u);
    EXPECT_EQ(Pages[0].Rows, (std::vector<int>{3, 7}));
    Pages.clear();
    G->PrintSettings()->SetFixedCellsAlways(true);
    G->PrintSelectedRows();
    ASSERT_EQ(Pages.size(), 1u);
    EXPECT_EQ(Pages[0].Rows, (std::vector<int>{0, 3, 7}));
}

TEST_F(GridPrint, EmptyOrHiddenGridsPrintWithoutError) {
    G->SetRowCount(1);
    EXPECT_NO_THROW(G->Print());
    auto Empty = std::make_unique<TExtStringGrid>(nullptr);
    Empty->SetColCount(3);
    Empty->SetRowCount(2);
    Empty->HideColumn(1);
    Empty->HideColumn(2);
    Empty->HideRow(1);
    EXPECT_NO_THROW(Empty->Print());
    TBitmap Bmp(200, 200);
    EXPECT_NO_THROW(Empty->PrintPreview(Bmp.Canvas(), Rect(0, 0, 200, 200)));
    EXPECT_NO_THROW(Empty->PrintDraw(Bmp.Canvas(), Rect(0, 0, 200, 200)));
}

TEST_F(GridPrint, PrintingWithoutAnyPrinterRaisesAndWritesNothing) {
    auto P = std::make_unique<TPrinter>();
    P->SetOutputFileName(Dir.filePath("no/such/folder/x.pdf"));
    auto Mine = SetPrinter(std::move(P));
    EXPECT_THROW(G->Print(), EPrinter);
    SetPrinter(std::move(Mine));
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(GridPrint, APrintTheDiskCannotHoldRaisesAndKeepsTheOldFile) {
    {
        QFile F(Pdf());
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("old");
    }
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 200);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    {
        TFileSizeLimit Limit(4000);
        ASSERT_TRUE(Limit.Set());
        EXPECT_THROW(G->Print(), EPrinter);
    }
    EXPECT_FALSE(Printer()->Printing());
    QFile F(Pdf());
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no part file left behind";
}

// ---- pictures -------------------------------------------------------------------------------------------

TEST_F(GridPrint, PrintedPdfPagesShowBordersTextAndCellColours) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    G->SetRowCount(12);
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 200);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    G->SetColors(1, 2, clRed);
    G->PrintSettings()->SetPageNr(ppBottomCenter);
    G->PrintSettings()->SetTitle(ppTopLeft);
    G->PrintSettings()->SetTitleText("Gateway rules");
    std::map<int, int> LastY;
    G->OnPrintPageDone = [&](TObject*, TCanvas*, int, int LastRowOffset, int Page, int, int) {
        LastY[Page] = LastRowOffset;
    };
    G->Print();
    QFile::remove(PictureDir() + "/printed.pdf");
    QFile::copy(Pdf(), PictureDir() + "/printed.pdf");
    const QString Prefix = PictureDir() + "/printed";
    for (const QString& Old : QDir(PictureDir()).entryList({"printed-*.png"})) QFile::remove(PictureDir() + "/" + Old);
    QProcess::execute("pdftoppm", {"-png", "-r", "40", Pdf(), Prefix});
    const QStringList Pngs = QDir(PictureDir()).entryList({"printed-*.png"}, QDir::Files, QDir::Name);
    ASSERT_EQ(Pngs.size(), 3);
    const QImage Page1(PictureDir() + "/" + Pngs[0]);
    ASSERT_FALSE(Page1.isNull());
    int Red = 0, Dark = 0;
    for (int y = 0; y < Page1.height(); ++y)
        for (int x = 0; x < Page1.width(); ++x) {
            const QColor C = Page1.pixelColor(x, y);
            if (C.red() > 200 && C.green() < 60 && C.blue() < 60) ++Red;
            if (C.red() < 90 && C.green() < 90 && C.blue() < 90) ++Dark;
        }
    EXPECT_GT(Red, 50) << "the red cell is filled";
    EXPECT_GT(Dark, 200) << "borders and texts are drawn";
    if (HaveTool("pdftotext")) {
        const QString Text = RunTool("pdftotext", {Pdf(), "-"});
        EXPECT_TRUE(Text.contains("Gateway rules"));
        EXPECT_TRUE(Text.contains("r11c4")) << "the last row on the last page";
        EXPECT_FALSE(Text.contains("r1c3")) << "the hidden column is not printed";
    }
    // the last page holds only the rows left over: below them, down to the page number, it is blank
    const QImage Page3(PictureDir() + "/" + Pngs[2]);
    ASSERT_TRUE(LastY.count(3));
    const int Below = int(-LastY[3] * 40 / 254.0) + 4;
    ASSERT_LT(Below, Page3.height() / 2) << "the test wants room left on the last page";
    int LowerInk = 0;
    for (int y = Below; y < Page3.height() - 20; ++y)
        for (int x = 0; x < Page3.width(); ++x)
            if (Page3.pixelColor(x, y).lightness() < 128) ++LowerInk;
    EXPECT_EQ(LowerInk, 0);
}

struct TBorderCase {
    const char* Name;
    TPrintBorders Borders;
    bool Horizontal, Vertical;
    bool DropAllInEvent;
};
void PrintTo(const TBorderCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintBorderLines : public GridPrint, public ::testing::WithParamInterface<TBorderCase> {};

// Long runs of dark pixels across the drawing are border lines; texts never make them.
TEST_P(PrintBorderLines, OnlyTheLinesTheBorderKindAsksFor) {
    const TBorderCase& P = GetParam();
    G->SetRowCount(6);
    G->PrintSettings()->SetBorders(P.Borders);
    if (P.DropAllInEvent) G->OnGetCellPrintBorder = [](TObject*, int, int, TPen*, TCellBorders& B) { B = {}; };
    TBitmap Bmp(800, 600);
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(Rect(0, 0, 800, 600));
    G->PrintDraw(Bmp.Canvas(), Rect(0, 0, 800, 600));
    Bmp.Image().save(PictureDir() + "/borders-" + QString::fromLatin1(P.Name) + ".png");
    auto Dark = [&](int X, int Y) { return QColor(Bmp.Image().pixel(X, Y)).lightness() < 100; };
    int LongRows = 0, LongCols = 0;
    for (int Y = 0; Y < 600; ++Y) {
        int Run = 0, Best = 0;
        for (int X = 0; X < 800; ++X) Best = std::max(Best, Run = Dark(X, Y) ? Run + 1 : 0);
        if (Best > 150) ++LongRows;
    }
    for (int X = 0; X < 800; ++X) {
        int Run = 0, Best = 0;
        for (int Y = 0; Y < 600; ++Y) Best = std::max(Best, Run = Dark(X, Y) ? Run + 1 : 0);
        if (Best > 80) ++LongCols;
    }
    EXPECT_EQ(LongRows > 0, P.Horizontal) << LongRows;
    EXPECT_EQ(LongCols > 0, P.Vertical) << LongCols;
}

INSTANTIATE_TEST_SUITE_P(Kinds, PrintBorderLines,
                         ::testing::Values(TBorderCase{"Single", pbSingle, true, true, false},
                                           TBorderCase{"HorizontalOnly", pbHorizontal, true, false, false},
                                           TBorderCase{"VerticalOnly", pbVertical, false, true, false},
                                           TBorderCase{"NoBorder", pbNoborder, false, false, false},
                                           TBorderCase{"RemovedByTheEvent", pbSingle, false, false, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

// The first ink row of a cell's text, on a drawing of the first page.
int FirstInkRow(TExtStringGrid* G, TVAlignment VA) {
    G->OnGetAlignment = [VA](TObject*, int, int, TAlignment&, TVAlignment& V) { V = VA; };
    TBitmap Bmp(800, 800);
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(Rect(0, 0, 800, 800));
    G->PrintSettings()->SetBorders(pbNoborder);
    G->PrintDraw(Bmp.Canvas(), Rect(0, 0, 800, 800));
    const int X0 = G->Indents(2) * 96 / 254, X1 = G->Indents(3) * 96 / 254;
    for (int Y = 0; Y < 800; ++Y)
        for (int X = X0 + 2; X < X1 - 2; ++X)
            if (QColor(Bmp.Image().pixel(X, Y)).lightness() < 128) return Y;
    return -1;
}

TEST_F(GridPrint, ThreeLinesCentredInFiveStartOneLineLowerThanAtTheTop) {
    G->SetRowCount(2);
    G->SetMultilinecells(true);
    G->PrintSettings()->SetUseFixedHeight(true);
    for (int c = 0; c < G->TotalColCount(); ++c) G->SetGridCell(c, 0, QString());
    G->SetGridCell(G->RealColIndex(2), 1, "Agh\rAgh\rAgh");
    // five lines of the body font, spacing unit and all
    TBitmap Probe(10, 10);
    Probe.Canvas()->SetMapMode(MM_LOMETRIC);
    Probe.Canvas()->Font()->Assign(G->PrintSettings()->Font());
    Probe.Canvas()->Font()->SetHeight(G->MapFontHeight(G->PrintSettings()->Font()->Size()));
    const int t = Probe.Canvas()->TextHeight("gh");
    const int Line = t + t / 8;
    G->PrintSettings()->SetFixedHeight(5 * Line - 2 * (t / 8));
    const int Top = FirstInkRow(G.get(), vtaTop);
    const int Centre = FirstInkRow(G.get(), vtaCenter);
    ASSERT_GE(Top, 0);
    EXPECT_NEAR(Centre - Top, Line * 96 / 254.0, 2.0);
}

TEST_F(GridPrint, CustomFitAsksTheEventWhichMayRefuseIt) {
    G->SetRowCount(5);
    for (int c = 0; c < G->ColCount(); ++c) G->SetColWidths(c, 450);
    G->PrintSettings()->SetNoAutoSize(true);
    G->PrintSettings()->SetFitToPage(fpCustom);
    double Asked = 0;
    bool Allow = false;
    G->OnFitToPage = [&](TObject*, double& Scale, bool& A) {
        Asked = Scale;
        A = Allow;
    };
    TBitmap Bmp(800, 1100);
    G->PrintPreview(Bmp.Canvas(), Rect(0, 0, 794, 1123));
    EXPECT_GT(Asked, 0.0);
    EXPECT_LT(Asked, 1.0) << "a grid wider than the page is shrunk";
    EXPECT_EQ(G->MaxWidths(1), int(std::lround(450 * 254.0 / 96))) << "refused: the widths stay";
    Allow = true;
    G->PrintPreview(Bmp.Canvas(), Rect(0, 0, 794, 1123));
    EXPECT_EQ(G->MaxWidths(1), int(std::lround(std::lround(450 * 254.0 / 96) * Asked)));
}

TEST_F(GridPrint, PreviewDrawsThePageIntoItsRectangleOnly) {
    TBitmap Bmp(900, 1200);
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(Rect(0, 0, 900, 1200));
    G->SetColors(1, 2, clRed);
    G->SetPreviewPage(1);
    const TRect Page = Rect(50, 40, 50 + 794, 40 + 1123);
    G->PrintPreview(Bmp.Canvas(), Page);
    Bmp.Image().save(PictureDir() + "/preview-page1.png");
    int Red = 0, InkOutside = 0;
    for (int y = 0; y < 1200; ++y)
        for (int x = 0; x < 900; ++x) {
            const TColor C = Bmp.Canvas()->Pixels(x, y);
            const bool Inside = x >= Page.Left && x < Page.Right && y >= Page.Top && y < Page.Bottom;
            if (C == clRed) ++Red;
            if (!Inside && C != clWhite) ++InkOutside;
        }
    EXPECT_GT(Red, 100);
    EXPECT_EQ(InkOutside, 0);
    EXPECT_FALSE(G->IsPrintPreview());
    EXPECT_EQ(Bmp.Canvas()->MapMode(), MM_TEXT) << "the canvas's mapping is restored";
}

// A preview draws one page: after a print of several pages it is not the pages on top of each other.
TEST_F(GridPrint, PreviewAfterAPrintDrawsOnlyItsPage) {
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 60);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    RecordPages();
    G->Print();
    ASSERT_GT(Pages.size(), 1u);
    const std::vector<int> FirstPageRows = Pages[0].Rows;
    const std::vector<int> SecondPageRows = Pages[1].Rows;
    TBitmap Bmp(800, 1130);
    Pages.clear();
    G->PrintPreview(Bmp.Canvas(), Rect(0, 0, 794, 1123));
    ASSERT_EQ(Pages.size(), 1u);
    EXPECT_EQ(Pages[0].Rows, FirstPageRows);
    Pages.clear();
    G->SetPreviewPage(2);
    G->PrintPreview(Bmp.Canvas(), Rect(0, 0, 794, 1123));
    // the start of the run announces page 1 even when it is not drawn; only page 2 draws cells
    std::vector<int> Drawn;
    for (const auto& P : Pages) Drawn.insert(Drawn.end(), P.Rows.begin(), P.Rows.end());
    EXPECT_EQ(Drawn, SecondPageRows);
}

class RecordingPreview : public IPrintPreviewService {
public:
    int Shown = 0;
    QString File;
    void Preview(TPrinter&, const std::function<void(TPrinter&)>& Render) override {
        ++Shown;
        TPrinter Target;
        Target.SetOutputFileName(File);
        Target.SetResolution(150);
        Render(Target);
    }
};

TEST_F(GridPrint, ThePreviewWindowShowsWhatThePrintWouldPrint) {
    auto Fake = std::make_shared<RecordingPreview>();
    Fake->File = Dir.filePath("preview.pdf");
    SetPrintPreviewService(Fake);
    G->ShowPrintPreview();
    SetPrintPreviewService(nullptr);
    EXPECT_EQ(Fake->Shown, 1);
    EXPECT_TRUE(QFile::exists(Fake->File));
    if (HaveTool("pdfinfo")) EXPECT_GE(PdfPageCount(Fake->File), 1);
}

} // namespace

namespace {
// Awkward grids and blocks: printing, previewing and drawing them never raises, and a print
// still ends its job with a whole file.
struct TAwkwardCase {
    const char* Name;
    std::function<void(TExtStringGrid&)> Shape;
    std::function<void(TExtStringGrid&)> Print;
};
void PrintTo(const TAwkwardCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintAwkwardGrids : public GridPrint, public ::testing::WithParamInterface<TAwkwardCase> {};

TEST_P(PrintAwkwardGrids, PrintPreviewAndDrawNeverRaise) {
    GetParam().Shape(*G);
    EXPECT_NO_THROW(GetParam().Print(*G));
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_TRUE(QFile::exists(Pdf()));
    TBitmap Bmp(300, 400);
    EXPECT_NO_THROW(G->PrintPreview(Bmp.Canvas(), Rect(0, 0, 300, 400)));
    EXPECT_NO_THROW(G->PrintDraw(Bmp.Canvas(), Rect(0, 0, 300, 400)));
    EXPECT_EQ(G->Fontscalefactor(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, PrintAwkwardGrids,
    ::testing::Values(TAwkwardCase{"AllColumnsButTheFixedOneHidden",
                                   [](TExtStringGrid& G) {
                                       for (int c = G.TotalColCount() - 1; c >= 1; --c)
                                           if (!G.IsHiddenColumn(c)) G.HideColumn(c);
                                   },
                                   [](TExtStringGrid& G) { G.Print(); }},
                      TAwkwardCase{"OnlyTheFixedRowLeft", [](TExtStringGrid& G) { G.HideRows(1, G.RowCount() - 1); },
                                   [](TExtStringGrid& G) { G.Print(); }},
                      TAwkwardCase{"BlockOutsideTheGrid", [](TExtStringGrid&) {},
                                   [](TExtStringGrid& G) {
                                       G.PrintRect(TGridRect{7, 60, 20, 90});
                                   }},
                      TAwkwardCase{"InvertedBlock", [](TExtStringGrid&) {},
                                   [](TExtStringGrid& G) {
                                       G.PrintRect(TGridRect{3, 9, 1, 2});
                                   }},
                      TAwkwardCase{"NothingSelectedInSelectionMode",
                                   [](TExtStringGrid& G) { G.MouseActions()->SetDisjunctRowSelect(true); },
                                   [](TExtStringGrid& G) { G.PrintSelectedRows(); }},
                      TAwkwardCase{"RepeatedFixedPartsAndShrinkOnEmptyCells",
                                   [](TExtStringGrid& G) {
                                       G.ClearRect(0, 0, G.TotalColCount() - 1, G.RowCount() - 1);
                                       G.PrintSettings()->SetRepeatFixedCols(true);
                                       G.PrintSettings()->SetRepeatFixedRows(true);
                                       G.PrintSettings()->SetFitToPage(fpAlways);
                                       G.PrintSettings()->SetUseFixedWidth(true);
                                       G.PrintSettings()->SetFixedWidth(0);
                                   },
                                   [](TExtStringGrid& G) { G.Print(); }},
                      TAwkwardCase{"HeaderAndFooterTallerThanThePage",
                                   [](TExtStringGrid& G) {
                                       G.PrintSettings()->SetHeaderSize(2000);
                                       G.PrintSettings()->SetFooterSize(2000);
                                       G.PrintSettings()->SetPageNr(ppBottomRight);
                                   },
                                   [](TExtStringGrid& G) { G.Print(); }}),
    [](const auto& I) { return std::string(I.param.Name); });

// The page count comes from a pass that draws nothing; the pages drawn afterwards must break at
// the same rows, or rows past the counted pages are never printed.
struct TTitleCase {
    const char* Name;
    QStringList Lines;
    TPrintPosition Where;
};
void PrintTo(const TTitleCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintTitleBreaks : public GridPrint, public ::testing::WithParamInterface<TTitleCase> {};

TEST_P(PrintTitleBreaks, EveryRowIsPrintedWhateverTheTitleTakes) {
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 60);
    G->PrintSettings()->SetNoAutoSizeRow(true);
    G->PrintSettings()->SetTitle(GetParam().Where);
    TStringList Lines;
    for (const QString& L : GetParam().Lines) Lines.Add(L);
    G->PrintSettings()->SetTitleLines(&Lines);
    RecordPages();
    G->Print();
    std::vector<int> All;
    for (const auto& P : Pages) All.insert(All.end(), P.Rows.begin(), P.Rows.end());
    std::vector<int> Expected;
    for (int r = 0; r < G->RowCount(); ++r) Expected.push_back(r);
    EXPECT_EQ(All, Expected);
    ASSERT_FALSE(Pages.empty());
    EXPECT_LT(Pages[0].Rows.size(), Pages.back().Rows.size() + 30) << "the title takes room on the first page";
    EXPECT_EQ(G->PrintNrOfPages(), int(Pages.size()));
    if (HaveTool("pdfinfo")) EXPECT_EQ(PdfPageCount(Pdf()), int(Pages.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Titles, PrintTitleBreaks,
    ::testing::Values(TTitleCase{"PlainLinesAtTheTop", {"Rules", "second line", "third line"}, ppTopLeft},
                      TTitleCase{"HtmlAtTheTop", {"<b>Rules</b>" + QStringLiteral("<br>line").repeated(25)}, ppTopLeft},
                      TTitleCase{"HtmlAtTheBottom", {"<b>Rules</b><br>second line"}, ppBottomCenter}),
    [](const auto& I) { return std::string(I.param.Name); });

// Bands split the columns so that every column lands on the page of its band; only a column wider
// than the page itself runs over the edge, on a band of its own.
struct TBandCase {
    const char* Name;
    std::vector<int> WidthsPx; // display columns 0 .. 3
    bool RepeatFixedCols;
};
void PrintTo(const TBandCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintColumnBands : public GridPrint, public ::testing::WithParamInterface<TBandCase> {};

TEST_P(PrintColumnBands, EveryColumnFitsOnItsBandsPage) {
    const TBandCase& P = GetParam();
    G->SetRowCount(4);
    ASSERT_EQ(G->ColCount(), int(P.WidthsPx.size()));
    for (int c = 0; c < G->ColCount(); ++c) G->SetColWidths(c, P.WidthsPx[size_t(c)]);
    G->PrintSettings()->SetNoAutoSize(true);
    G->PrintSettings()->SetRepeatFixedCols(P.RepeatFixedCols);
    struct TBand {
        int First, Last, RightEdge;
    };
    std::vector<TBand> Bands;
    G->OnPrintPageDone = [&](TObject*, TCanvas*, int, int, int, int, int) {
        Bands.push_back({G->PrintColStart(), G->PrintColEnd(), G->Indents(G->PrintColEnd() + 1)});
    };
    G->Print();
    const int W = G->PrintPageRect().Width();
    std::vector<int> Seen(size_t(G->ColCount()), 0);
    for (const TBand& B : Bands) {
        for (int c = B.First; c <= B.Last; ++c) ++Seen[size_t(c)];
        const bool LoneTooWide = B.First == B.Last && G->MaxWidths(B.First) + 20 > W;
        if (!LoneTooWide) EXPECT_LE(B.RightEdge, W) << "band " << B.First << ".." << B.Last << " runs off the page";
    }
    for (int c = (P.RepeatFixedCols ? 1 : 0); c < G->ColCount(); ++c)
        EXPECT_EQ(Seen[size_t(c)], 1) << "column " << c << " is printed on exactly one band";
}

INSTANTIATE_TEST_SUITE_P(Widths, PrintColumnBands,
                         ::testing::Values(TBandCase{"EachOverHalfThePage", {480, 480, 480, 480}, false},
                                           TBandCase{"OneWiderThanThePage", {200, 200, 900, 200}, false},
                                           TBandCase{"FixedColumnRepeated", {200, 420, 420, 420}, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

// A word-wrapped cell keeps the same inner margin as a one-line cell: its text starts (or ends)
// inside the cell, never on the border line.
struct TWrapMarginCase {
    const char* Name;
    TAlignment Align;
};
void PrintTo(const TWrapMarginCase& C, std::ostream* Os) { *Os << C.Name; }
class PrintWrapMargins : public GridPrint, public ::testing::WithParamInterface<TWrapMarginCase> {};

TEST_P(PrintWrapMargins, WrappedTextStaysInsideTheCellLikeOneLineText) {
    const TAlignment Align = GetParam().Align;
    G->SetRowCount(3);
    G->SetColWidths(2, 260);
    G->PrintSettings()->SetUseDisplayFont(false);
    G->PrintSettings()->Font()->SetSize(20);
    G->PrintSettings()->SetNoAutoSize(true);
    G->PrintSettings()->SetBorders(pbNoborder);
    // only the two cells under test hold text
    G->ClearRect(0, 0, G->TotalColCount() - 1, G->RowCount() - 1);
    const int RC = G->RealColIndex(2);
    G->SetGridCell(RC, 1, "Wwww");
    G->SetGridCell(RC, 2, "Wwww wwwwwww wwwwwwwwwww");
    G->OnGetWordWrap = [](TObject*, int, int ARow, bool& Wrap) { Wrap = ARow == 2; };
    G->OnGetAlignment = [Align](TObject*, int, int, TAlignment& H, TVAlignment&) { H = Align; };
    TBitmap Bmp(900, 700);
    Bmp.Canvas()->Brush()->SetColor(clWhite);
    Bmp.Canvas()->FillRect(Rect(0, 0, 900, 700));
    G->PrintDraw(Bmp.Canvas(), Rect(0, 0, 900, 700));
    Bmp.Image().save(PictureDir() + "/wrap-margin-" + QString::fromLatin1(GetParam().Name) + ".png");
    const int X0 = int(std::lround(G->Indents(2) * 96 / 254.0)), X1 = int(std::lround(G->Indents(3) * 96 / 254.0));
    // the rows' y spans on the bitmap, from the row steps
    auto InkSpan = [&](int Y0, int Y1) {
        int L = 10000, R = -1;
        for (int Y = Y0; Y < Y1; ++Y)
            for (int X = 0; X < 900; ++X)
                if (QColor(Bmp.Image().pixel(X, Y)).lightness() < 128) {
                    L = std::min(L, X);
                    R = std::max(R, X);
                }
        return std::pair<int, int>{L, R};
    };
    // find the two text blocks: scan down for ink rows
    std::vector<std::pair<int, int>> Blocks;
    bool In = false;
    for (int Y = 0; Y < 700; ++Y) {
        bool Ink = false;
        for (int X = X0 + 1; X < X1 - 1 && !Ink; ++X) Ink = QColor(Bmp.Image().pixel(X, Y)).lightness() < 128;
        if (Ink && !In) Blocks.push_back({Y, Y});
        if (Ink) Blocks.back().second = Y + 1;
        In = Ink;
    }
    ASSERT_GE(Blocks.size(), 2u);
    const auto One = InkSpan(Blocks[0].first, Blocks[0].second);
    const auto Wrapped = InkSpan(Blocks[1].first, Blocks.back().second);
    EXPECT_GT(Blocks.size(), 2u) << "the long text wraps";
    EXPECT_GT(Wrapped.first, X0 + 1) << "starts inside the cell";
    EXPECT_LT(Wrapped.second, X1 - 1) << "ends inside the cell";
    if (Align == taLeftJustify) EXPECT_GE(Wrapped.first, One.first - 1);
    if (Align == taRightJustify) EXPECT_LE(Wrapped.second, One.second + 1);
}

INSTANTIATE_TEST_SUITE_P(Alignments, PrintWrapMargins,
                         ::testing::Values(TWrapMarginCase{"Left", taLeftJustify},
                                           TWrapMarginCase{"Right", taRightJustify}),
                         [](const auto& I) { return std::string(I.param.Name); });

// A printed grid with every band of a page in use: header and footer, repeated fixed row, page
// numbers, wrapped, rotated and merged cells, a coloured cell, the hidden column and row. The
// pages are kept as pictures under the build tree for looking at.
TEST_F(GridPrint, PrintedPagesCarryHeaderFooterRepeatedRowAndNumbers) {
    if (!HaveTool("pdftoppm") || !HaveTool("pdftotext")) GTEST_SKIP() << "poppler-utils are not installed";
    G->SetMultilinecells(true);
    G->SetWordWrap(true);
    for (int c = 0; c < G->ColCount(); ++c) G->SetColWidths(c, 150);
    for (int r = 1; r < G->RowCount(); ++r) G->SetRowHeights(r, 40);
    G->SetRowHeights(3, 90);
    TPrintSettings* PS = G->PrintSettings();
    PS->SetNoAutoSize(true);
    PS->SetNoAutoSizeRow(true);
    PS->SetRepeatFixedRows(true);
    PS->SetTitle(ppTopLeft);
    PS->SetTitleText("Gateway rules");
    PS->SetDate(ppTopRight);
    PS->SetPageNr(ppBottomCenter);
    PS->SetPagePrefix("Page");
    PS->SetLeftSize(100);
    PS->SetHeaderSize(50);
    PS->SetFooterSize(50);
    G->SetGridCell(1, 2, "a long text that wraps over several lines of its narrow column");
    G->AddRotated(2, 3, 90, "Turned");
    G->MergeCells(1, 5, 2, 1);
    G->SetGridCell(1, 5, "merged over two columns");
    G->SetColors(4, 6, clRed);
    G->Print();
    ASSERT_EQ(G->PrintNrOfPages(), 2);
    const QString Prefix = PictureDir() + "/showcase";
    for (const QString& Old : QDir(PictureDir()).entryList({"showcase-*.png"})) QFile::remove(PictureDir() + "/" + Old);
    QProcess::execute("pdftoppm", {"-png", "-r", "60", Pdf(), Prefix});
    auto PageText = [&](int Page) {
        return RunTool("pdftotext", {"-f", QString::number(Page), "-l", QString::number(Page), Pdf(), "-"});
    };
    const QString One = PageText(1), Two = PageText(2);
    for (const QString* T : {&One, &Two}) {
        EXPECT_TRUE(T->contains("Gateway rules"));
        EXPECT_TRUE(T->contains("Head 1")) << "the fixed row heads every page";
        EXPECT_FALSE(T->contains("Head 3")) << "the hidden column is not printed";
        EXPECT_FALSE(T->contains("r40c")) << "the hidden row is not printed";
    }
    EXPECT_TRUE(One.contains("Page 1/2"));
    EXPECT_TRUE(Two.contains("Page 2/2"));
    EXPECT_TRUE(One.contains("wraps")) << "wrapped text is printed";
    EXPECT_TRUE(One.contains("merged over two columns")) << "a merged cell's text is not cut at its first column";
    EXPECT_TRUE(Two.contains("r39c4")) << "the last shown row";
    const QImage Page1(Prefix + "-1.png");
    ASSERT_FALSE(Page1.isNull());
    int Red = 0;
    for (int y = 0; y < Page1.height(); ++y)
        for (int x = 0; x < Page1.width(); ++x) {
            const QColor C = Page1.pixelColor(x, y);
            if (C.red() > 200 && C.green() < 60 && C.blue() < 60) ++Red;
        }
    EXPECT_GT(Red, 100) << "the coloured cell is filled";
    // nothing lies left of the left margin but the header's own text
    const int Margin = int(100 * 60 / 254.0) - 1;
    int InkLeft = 0;
    for (int y = Page1.height() / 10; y < Page1.height() * 9 / 10; ++y)
        for (int x = 0; x < Margin; ++x)
            if (Page1.pixelColor(x, y).lightness() < 128) ++InkLeft;
    EXPECT_EQ(InkLeft, 0);
}
} // namespace
