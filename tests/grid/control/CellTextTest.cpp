// What a cell shows and how it measures: the display text with caller formats, the alignment
// rules, the selection colour mixing, the visual record of fixed cells, and the measured size of
// plain, multi-line and rotated text. The fixture hides real column 2.
#include "grid/control/ExtGrid.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class TTextGrid : public TExtStringGrid {
public:
    explicit TTextGrid(TComponent* AOwner) : TExtStringGrid(AOwner) {}
    bool IsRotated(int RealCol, int ARow, int& AAngle) override {
        AAngle = Angle;
        return Angle != 0 && RealCol == 3 && ARow == 2;
    }
    int Angle = 0;
};

class CellText : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TTextGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetDefaultColWidth(90);
        G->HideColumn(2);
    }
    std::unique_ptr<TTextGrid> G;
};

// ---- display text -----------------------------------------------------------------------------------
struct TFormatCase {
    const char* Name;
    const char* Text;
    const char* Format; // given by the event; null: the grid's FloatFormat stays
    bool IsFloat;
    const char* Expected;
};

class FormattedCell : public CellText, public ::testing::WithParamInterface<TFormatCase> {};

TEST_P(FormattedCell, CallerFormat) {
    const TFormatCase& C = GetParam();
    G->SetCells(3, 1, C.Text);
    G->OnGetFloatFormat = [&](TObject*, int ACol, int ARow, bool& IsFloat, QString& Fmt) {
        EXPECT_EQ(ACol, 3);
        EXPECT_EQ(ARow, 1);
        if (C.Format) Fmt = C.Format;
        IsFloat = C.IsFloat;
    };
    EXPECT_EQ(G->GetFormattedCell(3, 1), QString(C.Expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, FormattedCell,
                         ::testing::Values(TFormatCase{"DefaultFormat", "3.14159", nullptr, true, "3.14"},
                                           TFormatCase{"IntegerFormat", "42", "%d", true, "42"},
                                           TFormatCase{"WidthAndPrecision", "2.5", "%8.3f", true, "   2.500"},
                                           TFormatCase{"EmptyFormatKeepsText", "3.14159", "", true, "3.14159"},
                                           TFormatCase{"NotFloatKeepsText", "3.14159", "%.1f", false, "3.14159"},
                                           // a format that does not fit its number must not break painting
                                           TFormatCase{"MismatchedFormatKeepsText", "3.5", "%s %s", true, "3.5"},
                                           TFormatCase{"IntegerFormatOnDecimalKeepsText", "3.5", "%d", true, "3.5"},
                                           TFormatCase{"TextIsNotFormatted", "abc", "%.1f", true, "abc"}),
                         [](const ::testing::TestParamInfo<TFormatCase>& I) { return std::string(I.param.Name); });

TEST_F(CellText, WithoutTheEventTheRawTextShows) {
    G->SetCells(3, 1, "3.14159");
    EXPECT_EQ(G->GetFormattedCell(3, 1), "3.14159");
}

// ---- alignment --------------------------------------------------------------------------------------
TEST_F(CellText, AutoNumAlignRightAlignsNumbersOnly) {
    G->SetAutoNumAlign(true);
    struct {
        const char* Text;
        TAlignment HA;
    } Cases[] = {{"12.50", taRightJustify}, {"-7", taRightJustify}, {"1e5", taRightJustify},
                 {"abc", taLeftJustify},    {"=A1", taLeftJustify}, {"", taLeftJustify}};
    for (const auto& C : Cases) {
        G->SetCells(3, 1, C.Text);
        TAlignment HA;
        TVAlignment VA;
        G->CellAlignment(3, 1, HA, VA);
        EXPECT_EQ(HA, C.HA) << C.Text;
    }
    G->SetCells(3, 1, "12.50");
    G->GetCellProperties(3, 1)->SetAlignment(taCenter);
    TAlignment HA;
    TVAlignment VA;
    G->CellAlignment(3, 1, HA, VA);
    EXPECT_EQ(HA, taCenter) << "the cell's record decides";
}

TEST_F(CellText, HotmailRowSelectCentresColumnZero) {
    G->MouseActions()->SetHotmailRowSelect(true);
    TAlignment HA;
    TVAlignment VA;
    G->CellAlignment(0, 1, HA, VA);
    EXPECT_EQ(HA, taCenter);
    G->CellAlignment(1, 1, HA, VA);
    EXPECT_EQ(HA, taLeftJustify);
}

// ---- colours ----------------------------------------------------------------------------------------
TEST_F(CellText, MixColorsRule) {
    struct {
        int P;
        TColor Sel, Own, Expected;
    } Cases[] = {{100, 0x0000FF, 0xFF0000, 0x0000FF}, {0, 0x0000FF, 0xFF0000, 0xFF0000},
                 {50, 0x0000FF, 0xFF0000, 0x800080},  {25, 0x0000FF, 0xFF0000, 0xBF0040},
                 {50, clNone, 0xFF0000, 0xFF0000},    {50, 0x0000FF, clNone, 0x0000FF},
                 {50, clWhite, clBlack, 0x808080}};
    for (const auto& C : Cases)
        EXPECT_EQ(TExtStringGrid::MixColors(C.Sel, C.Own, C.P), C.Expected) << C.P << " " << std::hex << C.Sel;
}

TEST_F(CellText, InverseTextColourOfTheResolvedColour) {
    EXPECT_EQ(TExtStringGrid::InverseTextColor(0x00FF8000), TColor(0x00007FFF));
    // clHighlight resolves before it is inverted; its raw value would give a nonsense colour
    EXPECT_EQ(TExtStringGrid::InverseTextColor(clHighlight), TColor(ColorToRGB(clHighlight) ^ 0xFFFFFF));
    EXPECT_EQ(TExtStringGrid::InverseTextColor(clBtnFace), TColor(0x000F0F0F));
    EXPECT_EQ(TExtStringGrid::InverseTextColor(clNone), clNone);
}

TEST_F(CellText, FixedCellVisualRecord) {
    G->SetFixedCols(1);
    G->SetFixedRows(1);
    G->SetLook(glOffice2007);
    TBrush B;
    TFont F;
    TColor To, MF, MT;
    TAlignment HA;
    TVAlignment VA;
    bool WW = false;
    TCellGradientDirection GD;
    TGridDrawState S;
    G->GetVisualProperties(1, 0, S, false, true, true, &B, To, MF, MT, &F, HA, VA, WW, GD);
    EXPECT_TRUE(S.Contains(gdFixed));
    EXPECT_EQ(B.Color(), G->ExtGradientFrom()) << "header gradient for looks beyond classic";
    EXPECT_EQ(To, G->ExtGradientTo());
    EXPECT_TRUE(F.Style().Contains(fsBold)) << "the fixed font";
    // an own colour on an empty cell keeps the cell out of the fixed look
    G->GetCellProperties(0, 2)->SetBrushColor(0x123456);
    S = {};
    G->GetVisualProperties(0, 2, S, false, true, true, &B, To, MF, MT, &F, HA, VA, WW, GD);
    EXPECT_FALSE(S.Contains(gdFixed));
    EXPECT_EQ(B.Color(), TColor(0x123456));
}

// The header gradient belongs to every look after the classic one, the custom look too; the
// classic looks keep the fixed colour.
TEST_F(CellText, HeaderGradientOfTheLooksAfterClassic) {
    G->SetFixedRows(1);
    struct TCase {
        TGridLook Look;
        bool Gradient;
    };
    for (const TCase& C :
         {TCase{glStandard, false}, TCase{glClassic, false}, TCase{glListView, true}, TCase{glCustom, true}}) {
        G->SetLook(C.Look);
        G->SetExtGradientFrom(0x00102030);
        G->SetExtGradientTo(0x00405060);
        G->SetFixedColor(0x00A0B0C0);
        TBrush B;
        TFont F;
        TColor To, MF, MT;
        TAlignment HA;
        TVAlignment VA;
        bool WW = false;
        TCellGradientDirection GD;
        TGridDrawState S;
        G->GetVisualProperties(3, 0, S, false, false, true, &B, To, MF, MT, &F, HA, VA, WW, GD);
        EXPECT_EQ(B.Color(), C.Gradient ? TColor(0x00102030) : TColor(0x00A0B0C0)) << int(C.Look);
        EXPECT_EQ(To, C.Gradient ? TColor(0x00405060) : clNone) << int(C.Look);
    }
}

TEST_F(CellText, SelectedCellGradientIsVertical) {
    G->GetCellProperties(3, 2)->SetGradientDirection(GradientHorizontal);
    TBrush B;
    TFont F;
    TColor To, MF, MT;
    TAlignment HA;
    TVAlignment VA;
    bool WW = false;
    TCellGradientDirection GD = GradientHorizontal;
    TGridDrawState S{gdSelected};
    G->GetVisualProperties(2, 2, S, false, false, true, &B, To, MF, MT, &F, HA, VA, WW, GD);
    EXPECT_EQ(GD, GradientVertical);
}

// ---- measuring --------------------------------------------------------------------------------------
struct TRotCase {
    const char* Name;
    int W, H, Angle, EW, EH;
};

class RotatedExtent : public ::testing::TestWithParam<TRotCase> {};

TEST_P(RotatedExtent, SumOfProjectedSides) {
    const TRotCase& C = GetParam();
    const TSize Z = TExtStringGrid::RotatedTextExtent(C.W, C.H, C.Angle);
    EXPECT_EQ(Z.cx, C.EW);
    EXPECT_EQ(Z.cy, C.EH);
}

INSTANTIATE_TEST_SUITE_P(Cases, RotatedExtent,
                         ::testing::Values(TRotCase{"Zero", 100, 20, 0, 112, 32},
                                           TRotCase{"Ninety", 100, 20, 90, 32, 112},
                                           TRotCase{"HalfTurn", 100, 20, 180, 112, 32},
                                           TRotCase{"ThreeQuarter", 100, 20, 270, 32, 112},
                                           // 45 degrees: both sides project onto both axes
                                           TRotCase{"FortyFive", 100, 20, 45, 85 + 12, 85 + 12},
                                           TRotCase{"Thirty", 100, 20, 30, 10 + 87 + 12, 17 + 50 + 12}),
                         [](const ::testing::TestParamInfo<TRotCase>& I) { return std::string(I.param.Name); });

TEST_F(CellText, RotatedCellMeasuresAsTurnedText) {
    G->SetCells(3, 2, "Rotated text");
    const TSize Flat = G->GetCellTextSize(3, 2, false, false);
    G->Angle = 90;
    const TSize Turned = G->GetCellTextSize(3, 2, false, false);
    EXPECT_EQ(Turned.cx, Flat.cy + 12);
    EXPECT_EQ(Turned.cy, Flat.cx + 12);
    G->Angle = 45;
    const TSize Slant = G->GetCellTextSize(3, 2, false, false);
    EXPECT_GE(Slant.cx, Flat.cx * 7 / 10) << "a slanted text needs the width of its projection";
}

// A cell whose object is rotated text measures turned, without any override of the grid.
TEST(CellTextRotatedObject, ARotatedCellObjectTurnsTheMeasure) {
    TExtStringGrid G(nullptr);
    G.SetColCount(6);
    G.SetRowCount(6);
    G.HideColumn(2);
    G.SetCells(3, 2, "Rotated text");
    const TSize Flat = G.GetCellTextSize(3, 2, false, false);
    auto* CG = new TCellGraphic;
    CG->SetAngle(90);
    G.SetGraphicObjectEx(3, 2, CG);
    int Angle = -1;
    EXPECT_TRUE(G.IsRotated(3, 2, Angle));
    EXPECT_EQ(Angle, 90);
    const TSize Turned = G.GetCellTextSize(3, 2, false, false);
    EXPECT_EQ(Turned.cx, Flat.cy + 12);
    EXPECT_EQ(Turned.cy, Flat.cx + 12);
    EXPECT_FALSE(G.IsRotated(4, 2, Angle)) << "a cell without object";
    EXPECT_EQ(Angle, 0);
}

// Printing takes the print settings' fonts unless they say to print with the display fonts.
TEST_F(CellText, PrintingUsesThePrintFontsUnlessTheDisplayFontsAreAsked) {
    G->SetFixedRows(1);
    G->PrintSettings()->Font()->SetSize(21);
    G->PrintSettings()->FixedFont()->SetSize(17);
    G->Font()->SetSize(9);
    TBrush B;
    TFont F;
    TColor To, MF, MT;
    TAlignment HA;
    TVAlignment VA;
    bool WW = false;
    TCellGradientDirection GD;
    auto FontSize = [&](int DisplCol, int Row, bool Print) {
        TGridDrawState S;
        G->GetVisualProperties(DisplCol, Row, S, Print, false, true, &B, To, MF, MT, &F, HA, VA, WW, GD);
        return F.Size();
    };
    EXPECT_EQ(FontSize(3, 2, false), 9) << "on screen: the grid's font";
    EXPECT_EQ(FontSize(3, 2, true), 9) << "UseDisplayFont is on by default";
    G->PrintSettings()->SetUseDisplayFont(false);
    EXPECT_EQ(FontSize(3, 2, true), 21);
    EXPECT_EQ(FontSize(3, 0, true), 17) << "a fixed row prints in the fixed print font";
    EXPECT_EQ(FontSize(3, 2, false), 9);
}

TEST_F(CellText, MeasuresLinesAndWidthsInTheCellFont) {
    TCanvas M;
    M.SetFont(G->Font());
    const int LineH = M.TextHeight("gh");
    G->SetCells(3, 1, "short\rmuch longer line");
    G->SetMultilinecells(false);
    TSize Z = G->GetCellTextSize(3, 1, false, false);
    EXPECT_EQ(Z.cy, LineH);
    G->SetMultilinecells(true);
    Z = G->GetCellTextSize(3, 1, false, false);
    EXPECT_EQ(Z.cy, 2 * LineH);
    EXPECT_EQ(Z.cx, M.TextWidth("much longer line"));
    G->SetCells(3, 1, "");
    Z = G->GetCellTextSize(3, 1, false, false);
    EXPECT_EQ(Z.cx, 0);
    EXPECT_EQ(Z.cy, LineH) << "an empty text is one line high";
}

TEST_F(CellText, WrappedMeasureUsesTheCellWidthAndTheScrollBarRoom) {
    G->SetCells(3, 1, "one two three four five six seven eight nine ten");
    const TSize Wide = G->GetCellTextSize(3, 1, false, false);
    const TSize Wrapped = G->GetCellTextSize(3, 1, false, true);
    EXPECT_LT(Wrapped.cx, 90);
    EXPECT_GT(Wrapped.cy, Wide.cy);
    const TSize WithBar = G->GetCellTextSize(3, 1, true, true);
    EXPECT_GE(WithBar.cy, Wrapped.cy) << "17 pixels less room wraps into at least as many lines";
}

TEST_F(CellText, PasswordAndUrlDisplay) {
    G->SetCells(3, 1, "http://example.org");
    G->SetURLShow(true);
    TCanvas M;
    M.SetFont(G->Font());
    EXPECT_EQ(G->GetCellTextSize(3, 1, false, false).cx, M.TextWidth("example.org"));
    G->SetURLFull(true);
    EXPECT_EQ(G->GetCellTextSize(3, 1, false, false).cx, M.TextWidth("http://example.org"));
}

} // namespace
