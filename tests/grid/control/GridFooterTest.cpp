// The floating footer: what showing it does to the grid's last row, its calculation types, the
// strip's size, template, columns under the mouse, hints, clicks and painting.
#include "grid/control/GridFooter.h"

#include "platform/gui/Forms.h"
#include "tests/grid/control/GridNavFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <ostream>

namespace {

class Footer : public GridNav {
protected:
    void SetUp() override {
        GridNav::SetUp();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 360, 300);
        F = G->FloatingFooter();
        P = G->FooterPanel();
    }
    void TearDown() override { G->SetParent(nullptr); }
    std::unique_ptr<TForm> Form;
    TFloatingFooter* F = nullptr;
    TFooterPanel* P = nullptr;
};

TEST_F(Footer, ShowingItTakesTheLastRowOutOfTheCells) {
    EXPECT_FALSE(G->HideLastRow());
    EXPECT_EQ(P->Height(), 0);
    F->SetHeight(25);
    F->SetVisible(true);
    EXPECT_EQ(P->Height(), 24);
    EXPECT_TRUE(P->Visible());
    EXPECT_TRUE(G->HideLastRow());
    EXPECT_EQ(G->FixedFooters(), 1);
    F->SetHeight(31);
    EXPECT_EQ(P->Height(), 30);
    F->SetVisible(false);
    EXPECT_EQ(P->Height(), 0);
    EXPECT_FALSE(G->HideLastRow());
    EXPECT_EQ(G->FixedFooters(), 0);
}

// Changing the style of a shown footer recounts the fixed footer row it owns.
TEST_F(Footer, StyleChangeRecountsTheFixedFooterRow) {
    F->SetVisible(true);
    F->SetFooterStyle(fsColumnPreview);
    EXPECT_FALSE(G->HideLastRow()) << "the last row is a grid row again";
    EXPECT_EQ(G->FixedFooters(), 0);
    F->SetFooterStyle(fsFixedLastRow);
    EXPECT_TRUE(G->HideLastRow());
    EXPECT_EQ(G->FixedFooters(), 1);
    // a hidden footer leaves the grid's own fixed footers alone
    F->SetVisible(false);
    G->SetFixedFooters(2);
    F->SetFooterStyle(fsCustomPaint);
    EXPECT_EQ(G->FixedFooters(), 2);
}

TEST_F(Footer, DefaultRowHeightResizesAShownStrip) {
    F->SetVisible(true);
    G->SetDefaultRowHeight(30);
    EXPECT_EQ(F->Height(), 30);
    EXPECT_EQ(P->Height(), 29);
}

TEST_F(Footer, ColumnCalculationWaitsForAVisibleFooter) {
    const int Last = G->RowCount() - 1;
    EXPECT_EQ(F->GetColumnCalc(3), acNONE);
    EXPECT_FALSE(G->HasCellProperties(3, Last)) << "reading the type creates nothing";
    for (int r = 1; r < Last; ++r) G->SetCells(3, r, QString::number(r));
    F->SetColumnCalc(3, acSUM);
    EXPECT_EQ(F->GetColumnCalc(3), acSUM);
    EXPECT_EQ(G->Cells(3, Last), "3,10") << "hidden: no value written";
    G->SetAllInts(3, HiddenRealRow, 100);
    F->SetVisible(true);
    G->SetCells(3, 1, "1");
    G->CalcFooter(-1);
    // display rows 1..8 and the hidden real row
    EXPECT_DOUBLE_EQ(G->GetFloats(3, Last), 1 + 2 + 3 + 4 + 5 + 6 + 7 + 8 + 100);
}

TEST_F(Footer, CountOfElevenRowsWithOneFixedIsNine) {
    F->SetVisible(true);
    F->SetColumnCalc(1, acCOUNT);
    EXPECT_EQ(G->GetInts(1, G->RowCount() - 1), 9) << "10 visible rows and 1 hidden row, less header and footer";
    F->SetCalculateHiddenRows(false);
    G->CalcFooter(1);
    EXPECT_EQ(G->GetInts(1, G->RowCount() - 1), 8);
}

TEST_F(Footer, AssignCopiesTheSettings) {
    TExtStringGrid Other(nullptr);
    TFloatingFooter* S = Other.FloatingFooter();
    S->SetCalculateHiddenRows(false);
    S->SetColor(clRed);
    S->SetColumn(3);
    S->SetCustomTemplate("<#1>");
    S->SetFooterStyle(fsCustomPreview);
    S->SetVisible(true);
    S->SetShowHint(true);
    F->Assign(S);
    EXPECT_FALSE(F->CalculateHiddenRows());
    EXPECT_EQ(F->Color(), clRed);
    EXPECT_EQ(F->Column(), 3);
    EXPECT_EQ(F->CustomTemplate(), "<#1>");
    EXPECT_EQ(F->FooterStyle(), fsCustomPreview);
    EXPECT_TRUE(F->Visible());
    EXPECT_TRUE(P->Visible()) << "visibility goes through its writer";
    EXPECT_TRUE(F->ShowHint());
    EXPECT_TRUE(P->ShowHint());
}

// ---- template ----------------------------------------------------------------------------------------
struct TemplateCase {
    const char* Name;
    const char* Template;
    const char* Expanded;
};
void PrintTo(const TemplateCase& C, std::ostream* Os) { *Os << C.Name; }

class FooterTemplate : public Footer, public ::testing::WithParamInterface<TemplateCase> {};

TEST_P(FooterTemplate, PlaceholdersTakeTheCurrentRowsTexts) {
    G->SetRow(5);
    EXPECT_EQ(P->ExpandTemplate(GetParam().Template), GetParam().Expanded);
}

// Row 5 of display column 2 shows real column 3: "3,5".
INSTANTIATE_TEST_SUITE_P(Cases, FooterTemplate,
                         ::testing::Values(TemplateCase{"NoPlaceholder", "Total", "Total"},
                                           TemplateCase{"OnePlaceholder", "Sum: <#2>!", "Sum: 3,5!"},
                                           TemplateCase{"TwoPlaceholders", "<#1>/<#4>", "1,5/5,5"},
                                           TemplateCase{"NotANumberVanishes", "a<#x>b", "ab"},
                                           TemplateCase{"OutOfRangeVanishes", "a<#99>b", "ab"},
                                           TemplateCase{"UnclosedStaysAsWritten", "a<#2 b", "a<#2 b"},
                                           TemplateCase{"MarkupKept", "<b><#1></b>", "<b>1,5</b>"}),
                         [](const ::testing::TestParamInfo<TemplateCase>& I) { return std::string(I.param.Name); });

// ---- columns under the mouse -------------------------------------------------------------------------
struct ColumnCase {
    const char* Name;
    int LeftCol;
    int X;
    int Col; // -1: none
};
void PrintTo(const ColumnCase& C, std::ostream* Os) { *Os << C.Name; }

class FooterColumns : public Footer, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(FooterColumns, FoundFromTheLeftColumn) {
    const ColumnCase& C = GetParam();
    G->SetBounds(0, 0, 200, 300); // narrow enough to scroll
    G->SetLeftCol(C.LeftCol);
    ASSERT_EQ(G->LeftCol(), C.LeftCol);
    int Col = -7;
    const bool Found = P->ColumnAt(C.X, Col);
    EXPECT_EQ(Found, C.Col >= 0);
    if (Found) {
        EXPECT_EQ(Col, C.Col);
    }
}

// Columns are 60 wide; column 0 is fixed; 5 display columns.
INSTANTIATE_TEST_SUITE_P(Cases, FooterColumns,
                         ::testing::Values(ColumnCase{"OverTheFixedColumn", 1, 30, 0},
                                           ColumnCase{"FirstScrolledColumn", 1, 61, 1},
                                           ColumnCase{"EdgeBelongsToTheLeftColumn", 1, 120, 1},
                                           ColumnCase{"ThirdColumn", 1, 150, 2},
                                           ColumnCase{"ScrolledFixedIsLeftColMinusOne", 3, 30, 2},
                                           ColumnCase{"ScrolledFirstIsLeftCol", 3, 70, 3},
                                           ColumnCase{"RightOfTheLastColumnIsNone", 1, 301, -1}),
                         [](const ::testing::TestParamInfo<ColumnCase>& I) { return std::string(I.param.Name); });

// ---- hints and clicks --------------------------------------------------------------------------------
TEST_F(Footer, HintsAskTheGridForTheLastRowsColumn) {
    F->SetVisible(true);
    std::vector<std::string> Log;
    G->OnGridHint = [&](TObject* Sender, int ARow, int ACol, QString& Hint) {
        EXPECT_EQ(Sender, static_cast<TObject*>(G.get()));
        Log.push_back(EventLog::Args({{"ARow", ARow}, {"ACol", ACol}}));
        Hint = QString("col %1").arg(ACol);
    };
    THintInfo Info;
    Info.CursorPos = TPoint{130, 5};
    EXPECT_NE(P->Perform(CM_HINTSHOW, 0, LPARAM(&Info)), 0) << "no hint without the footer's ShowHint";
    EXPECT_EQ(P->LastHintX(), -1);
    F->SetShowHint(true);
    Info.HintStr.clear();
    EXPECT_EQ(P->Perform(CM_HINTSHOW, 0, LPARAM(&Info)), 0);
    EXPECT_EQ(Info.HintStr, "col 2");
    EXPECT_EQ(P->LastHintX(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"ARow=9 ACol=2", "ARow=9 ACol=2"}));
    // moving to the next column drops the hint of this one
    P->Perform(WM_MOUSEMOVE, 0, MakeLParam(150, 5));
    EXPECT_EQ(P->LastHintX(), 2);
    P->Perform(WM_MOUSEMOVE, 0, MakeLParam(190, 5));
    EXPECT_EQ(P->LastHintX(), 3);
    P->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(P->LastHintX(), -1);
}

TEST_F(Footer, ClickFiresTheGridsClickThenTheCellClick) {
    F->SetVisible(true);
    std::vector<std::string> Log;
    G->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, static_cast<TObject*>(G.get()));
        Log.push_back("click");
    };
    G->OnClickCell = [&](TObject*, int ARow, int ACol) {
        Log.push_back("cell " + EventLog::Args({{"ARow", ARow}, {"ACol", ACol}}));
    };
    P->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(70, 5));
    P->Perform(WM_LBUTTONUP, 0, MakeLParam(70, 5));
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "cell ARow=9 ACol=1"}));
}

// ---- painting ----------------------------------------------------------------------------------------
QImage RenderGrid(TExtStringGrid& G) {
    QImage Img(G.Width(), G.Height(), QImage::Format_RGB32);
    Img.fill(Qt::white);
    G.render(&Img);
    return Img;
}
TColor Pixel(const QImage& Img, int X, int Y) {
    const QRgb Q = Img.pixel(X, Y);
    return TColor(qRed(Q) | (qGreen(Q) << 8) | (qBlue(Q) << 16));
}

TEST_F(Footer, PaintsTheLastRowInTheStrip) {
    const int Last = G->RowCount() - 1;
    G->SetCells(1, Last, "Total");
    G->SetColors(3, Last, clYellow);
    F->SetBorderColor(clRed);
    F->SetVisible(true);
    G->SetBounds(0, 0, 360, 300);
    Form->Show();
    QCoreApplication::processEvents();
    ASSERT_EQ(P->Top() + P->Height(), G->ClientHeight()) << "docked at the bottom";
    const QImage Img = RenderGrid(*G);
    ASSERT_TRUE(Img.save(QDir(QCoreApplication::applicationDirPath()).filePath("grid_footer.png")));
    const int Y = P->Top();
    EXPECT_EQ(Pixel(Img, 30, Y), clRed) << "border line along the top";
    EXPECT_EQ(Pixel(Img, 150, Y + 10), clYellow) << "the cell's own colour, display column 2";
    // the strip shows the text the grid hides
    bool Dark = false;
    for (int x = 62; x < 118; ++x)
        for (int y = Y + 2; y < Y + P->Height() - 1; ++y) Dark = Dark || qGray(Img.pixel(x, y)) < 100;
    EXPECT_TRUE(Dark);

    F->SetFooterStyle(fsCustomPreview);
    F->SetCustomTemplate("Current: <b><#1></b>");
    G->SetRow(4);
    const QImage Preview = RenderGrid(*G);
    ASSERT_TRUE(Preview.save(QDir(QCoreApplication::applicationDirPath()).filePath("grid_footer_preview.png")));
    EXPECT_EQ(Pixel(Preview, P->Width() - 1 - (P->Width() - P->UsedWidth()) - 1, Y + P->Height() - 1),
              TColor(0x808080));
    Form->Hide();
}

// The strip's columns are fixed cells: their edges take the fixed-cell line colour, not that of
// the normal cells.
TEST_F(Footer, ColumnEdgesTakeTheFixedLineColour) {
    G->SetGridLineColor(clRed);
    G->SetGridFixedLineColor(clLime);
    F->SetVisible(true);
    Form->Show();
    QCoreApplication::processEvents();
    const QImage Img = RenderGrid(*G);
    const int Y = P->Top() + P->Height() / 2;
    for (int Edge : {59, 119, 179}) EXPECT_EQ(Pixel(Img, Edge, Y), clLime) << "x " << Edge;
    Form->Hide();
}

} // namespace
