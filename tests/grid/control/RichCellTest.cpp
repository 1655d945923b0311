// Rich-text cells: the RTF reader's text and formatting, drawing into the cell (colours from the
// colour table, the selection colour) and the size the cell asks for.
#include "grid/control/ExtGrid.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct TRtfCase {
    const char* Name;
    const char* Rtf;
    const char* Plain;
    const char* HtmlHas; // a piece the markup must hold ("" for none)
};

class RtfReader : public ::testing::TestWithParam<TRtfCase> {};

TEST_P(RtfReader, TextAndFormatting) {
    const TRtfCase& C = GetParam();
    QString Plain;
    const QString Html = RtfToHtml(QString::fromUtf8(C.Rtf), false, &Plain);
    EXPECT_EQ(Plain, QString::fromUtf8(C.Plain));
    if (*C.HtmlHas) EXPECT_TRUE(Html.contains(QString::fromUtf8(C.HtmlHas))) << Html.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReader,
    ::testing::Values(
        TRtfCase{"Plain", R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 Hello\par})", "Hello", "font-size:10pt"},
        TRtfCase{"BoldRun", R"({\rtf1 a\b bc\b0 d})", "abcd", "font-weight:bold"},
        TRtfCase{"GroupEndsFormatting", R"({\rtf1 {\i x}y})", "xy", "font-style:italic"},
        TRtfCase{"ColourTable", R"({\rtf1{\colortbl ;\red255\green0\blue0;}\cf1 R})", "R", "color:#ff0000"},
        TRtfCase{"EscapesAndHex", R"({\rtf1 \{x\}\\ caf\'e9})", "{x}\\ caf\u00e9", ""},
        TRtfCase{"Paragraphs", R"({\rtf1 one\par two\par})", "one\ntwo", "<br>"},
        TRtfCase{"UnicodeSkipsItsFallback", R"({\rtf1 \u8364?x})", "\u20acx", ""},
        TRtfCase{"IgnorableDestination", R"({\rtf1 {\*\generator Writer;}text})", "text", ""},
        TRtfCase{"MarkupIsEscaped", R"({\rtf1 a<b>&c})", "a<b>&c", "&lt;b&gt;&amp;"}),
    [](const ::testing::TestParamInfo<TRtfCase>& I) { return std::string(I.param.Name); });

class RichCell : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(5);
        G->SetDefaultColWidth(120);
        G->SetDefaultRowHeight(30);
        G->HideColumn(2);
        Sheet.SetSize(600, 200);
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 600, 200));
    }
    bool HasInk(const TRect& R, TColor Want) {
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) {
                const TColor C = Sheet.Canvas()->Pixels(x, y);
                if ((C & 0xFF) > 150 && ((C >> 8) & 0xFF) < 80 && ((C >> 16) & 0xFF) < 80 && Want == clRed) return true;
                if ((C & 0xFF) + ((C >> 8) & 0xFF) + ((C >> 16) & 0xFF) < 200 && Want == clBlack) return true;
            }
        return false;
    }
    std::unique_ptr<TExtStringGrid> G;
    TBitmap Sheet;
};

TEST_F(RichCell, DrawsInTheColourTableColour) {
    G->SetCells(3, 2, R"({\rtf1{\colortbl ;\red255\green0\blue0;}\cf1\b WWWW})");
    const TRect R = G->CellRect(2, 2);
    G->PaintCell(Sheet.Canvas(), 2, 2, R, {});
    EXPECT_TRUE(HasInk(R, clRed));
}

TEST_F(RichCell, SelectedCellTakesTheSelectionTextColour) {
    G->SetCells(3, 2, R"({\rtf1{\colortbl ;\red255\green0\blue0;}\cf1\b WWWW})");
    G->SetSelectionColor(clWhite);
    G->SetSelectionTextColor(clBlack);
    G->SetSelection(TGridRect{1, 1, 3, 3});
    const TRect R = G->CellRect(2, 2);
    G->PaintCell(Sheet.Canvas(), 2, 2, R, {gdSelected});
    EXPECT_FALSE(HasInk(R, clRed));
    EXPECT_TRUE(HasInk(R, clBlack));
    G->SetSelectionRTFKeep(true);
    G->PaintCell(Sheet.Canvas(), 2, 2, R, {gdSelected});
    EXPECT_TRUE(HasInk(R, clRed)) << "kept with SelectionRTFKeep";
}

TEST_F(RichCell, MeasuresItsLaidOutText) {
    G->SetCells(3, 2, R"({\rtf1 short\par a much longer second line})");
    const TSize Z = G->GetCellTextSize(3, 2, false, false);
    TCanvas M;
    M.SetFont(G->Font());
    EXPECT_GE(Z.cx, M.TextWidth("a much longer second line") - 2);
    EXPECT_GE(Z.cy, 2 * M.TextHeight("gh"));
    const TSize Wrapped = G->GetCellTextSize(3, 2, false, true);
    EXPECT_LE(Wrapped.cx, 120);
    EXPECT_GT(Wrapped.cy, Z.cy);
}

} // namespace
