// Looks and colour schemes of the string grid (SetLook, SetStyle, SetComponentStyle,
// SetColorTones, SetTheme), with a picture of one grid in every look.
#include "grid/base/ExtObj.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "tests/support/QtPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

class GridLooks : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(6);
        G->HideColumn(2);
    }
    std::unique_ptr<TExtStringGrid> G;
};

struct TStyleCase {
    const char* Name;
    TExtGridStyle Style;
    TGridLook Look;
    TColor Selection, HeaderFrom, GridLine;
    TGridSelectionStyle SelStyle;
};

class SetStyleCases : public GridLooks, public ::testing::WithParamInterface<TStyleCase> {};

TEST_P(SetStyleCases, SchemeColours) {
    const TStyleCase& C = GetParam();
    G->SetLook(glStandard);
    G->SetStyle(C.Style);
    EXPECT_EQ(G->Look(), C.Look);
    EXPECT_EQ(G->SelectionColor(), C.Selection);
    EXPECT_EQ(G->ExtGradientFrom(), C.HeaderFrom);
    EXPECT_EQ(G->GridLineColor(), C.GridLine);
    EXPECT_EQ(G->SelectionStyle(), C.SelStyle);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetStyleCases,
    ::testing::Values(
        TStyleCase{"Office2003Blue", gsOffice2003Blue, glXP, 0x94E6FB, 0xFCE1CB, 0xC0C0C0, ssDefault},
        TStyleCase{"Office2003Olive", gsOffice2003Olive, glXP, 0x94E6FB, 0xCFF0EA, 0xC0C0C0, ssDefault},
        TStyleCase{"Office2007Luna", gsOffice2007Luna, glOffice2007, 0x5EC1F1, 0xFBF9F6, 0xF1EDEB, ssOffice2007},
        TStyleCase{"Office2007Silver", gsOffice2007Silver, glOffice2007, 0x95C7F5, 0xF3F3F1, 0xE5D7D0, ssOffice2007},
        TStyleCase{"WindowsVista", gsWindowsVista, glVista, 0xEACAB6, 0xFFFFFF, 0xECECF0, ssVista},
        TStyleCase{"Windows7", gsWindows7, glWin7, 0xEACAB6, 0xFDFCFA, 0xECECF0, ssWin7},
        TStyleCase{"Office2010Black", gsOffice2010Black, glOffice2007, 0xFFDBB7, 0x6A6A6A, 0xC0C0C0, ssDefault},
        // the terminal scheme only changes the look and the common first steps
        TStyleCase{"Terminal", gsTerminal, glStandard, clHighlight, 0xF0F0F0, 0xC0C0C0, ssDefault}),
    [](const ::testing::TestParamInfo<TStyleCase>& I) { return std::string(I.param.Name); });

TEST_F(GridLooks, WhidbeyKeepsTheLook) {
    G->SetLook(glSoft);
    G->SetStyle(gsWhidbey);
    EXPECT_EQ(G->Look(), glSoft);
    EXPECT_EQ(G->ActiveCellColor(), TColor(0x94E6FB));
    EXPECT_EQ(G->ExtGradientTo(), TColor(0xF0F0F0)) << "clBtnFace stored as RGB";
}

TEST_F(GridLooks, LunaFooterEndColourIsNone) {
    G->SetStyle(gsOffice2007Luna);
    EXPECT_EQ(G->SelectionStyle(), ssOffice2007);
    EXPECT_EQ(G->SearchFooter()->ColorTo(), clNone);
}

TEST_F(GridLooks, Office2003ResetsMirrorsButKeepsHoverColours) {
    G->SetExtGradientHoverFrom(0x111111);
    G->SetExtGradientDownFrom(0x222222);
    G->SetExtGradientHoverMirrorFrom(0x333333);
    G->SetStyle(gsOffice2003Blue);
    EXPECT_EQ(G->ExtGradientHoverMirrorFrom(), clNone);
    EXPECT_EQ(G->ExtGradientDownMirrorTo(), clNone);
    EXPECT_EQ(G->ExtGradientHoverFrom(), TColor(0x111111));
    EXPECT_EQ(G->ExtGradientDownFrom(), TColor(0x222222));
}

TEST_F(GridLooks, Windows7HoverComesFromTheControlLook) {
    G->SetStyle(gsWindows7);
    EXPECT_EQ(G->ExtGradientHoverFrom(), TColor(0xFEFBF8));
    EXPECT_EQ(G->ExtGradientHoverTo(), TColor(0xFAF2ED));
}

TEST_F(GridLooks, LookPresetRunsOnceAndCustomKeepsColours) {
    G->SetLook(glExt);
    EXPECT_EQ(G->ExtGradientTo(), TColor(0xC0C0C0));
    G->SetSelectionColor(0x123456);
    G->SetLook(glExt);
    EXPECT_EQ(G->SelectionColor(), TColor(0x123456)) << "the same look twice changes nothing";
    G->SetScrollType(ssFlat);
    G->SetLook(glCustom);
    EXPECT_EQ(G->SelectionColor(), TColor(0x123456));
    EXPECT_EQ(G->ScrollType(), ssNormal);
    EXPECT_EQ(G->BorderColor(), TColor(0xB99D7F));
}

// ---- the six classic presets ---------------------------------------------------------------------------
struct PresetCase {
    const char* Name;
    TGridLook Look;
    TColor FixedColor; // clNone: left as it was
    TColor FixedFrom, FixedTo, ActiveCell, Selection, SelectionText, FooterFrom, FooterTo;
    bool HoverAndDown; // the grey hover and down gradients go on
};
void PrintTo(const PresetCase& C, std::ostream* Os) { *Os << C.Name; }

class ClassicPresets : public GridLooks, public ::testing::WithParamInterface<PresetCase> {
protected:
    // Every colour a preset may touch set to one the presets never give.
    void Scramble() {
        const TColor X = 0x010203;
        G->SetFixedColor(X);
        for (TControlLookGradient W :
             {clgFixedFrom, clgFixedTo, clgFixedMirrorFrom, clgFixedMirrorTo, clgHoverFrom, clgHoverTo,
              clgHoverMirrorFrom, clgHoverMirrorTo, clgDownFrom, clgDownTo, clgDownMirrorFrom, clgDownMirrorTo})
            G->ControlLook()->SetGradient(W, X);
        G->SetGridLineColor(X);
        G->SetGridFixedLineColor(X);
        G->SetActiveCellColor(X);
        G->SetActiveCellColorTo(X);
        G->SetSelectionColor(X);
        G->SetSelectionColorTo(X);
        G->SetSelectionTextColor(X);
        G->SearchFooter()->SetColor(X);
        G->SearchFooter()->SetColorTo(X);
        G->SortSettings()->SetHeaderColor(X);
        G->SetSelectionStyle(ssVista);
        G->SetScrollType(ssFlat);
    }
};

TEST_P(ClassicPresets, SetTheirColours) {
    const PresetCase& C = GetParam();
    const TColor X = 0x010203;
    G->SetLook(glCustom);
    Scramble();
    G->SetLook(C.Look);
    TControlLook* CL = G->ControlLook();
    EXPECT_EQ(G->FixedColor(), C.FixedColor == clNone ? X : C.FixedColor);
    EXPECT_EQ(CL->FixedGradientFrom(), C.FixedFrom);
    EXPECT_EQ(CL->FixedGradientTo(), C.FixedTo);
    EXPECT_EQ(CL->FixedGradientMirrorFrom(), clNone);
    EXPECT_EQ(CL->FixedGradientMirrorTo(), clNone);
    EXPECT_EQ(G->GridFixedLineColor(), clGray);
    EXPECT_EQ(G->GridLineColor(), clSilver);
    EXPECT_EQ(G->ActiveCellColor(), C.ActiveCell);
    EXPECT_EQ(G->ActiveCellColorTo(), clNone);
    EXPECT_EQ(G->SelectionColor(), C.Selection);
    // Only the light selection of glExt and glXP clears its end colour.
    EXPECT_EQ(G->SelectionColorTo(), C.HoverAndDown ? clNone : X);
    EXPECT_EQ(G->SelectionTextColor(), C.SelectionText);
    EXPECT_EQ(G->SearchFooter()->Color(), C.FooterFrom);
    EXPECT_EQ(G->SearchFooter()->ColorTo(), C.FooterTo);
    EXPECT_EQ(G->SortSettings()->HeaderColor(), clNone);
    EXPECT_EQ(CL->FixedGradientHoverFrom(), C.HoverAndDown ? TColor(0xCFD0D1) : X);
    EXPECT_EQ(CL->FixedGradientHoverMirrorTo(), C.HoverAndDown ? TColor(0xABBCBF) : X);
    EXPECT_EQ(CL->FixedGradientDownFrom(), C.HoverAndDown ? TColor(0x868788) : X);
    EXPECT_EQ(CL->FixedGradientDownMirrorTo(), C.HoverAndDown ? TColor(0x627376) : X);
    EXPECT_EQ(G->SelectionStyle(), ssDefault);
    EXPECT_EQ(G->ScrollType(), ssNormal);
    EXPECT_EQ(G->BorderColor(), TColor(0xB99D7F));
}

TEST_P(ClassicPresets, WhileLoadingSetOnlyTheSelectionStyleAndTheFrame) {
    const PresetCase& C = GetParam();
    const TColor X = 0x010203;
    G->SetLook(glCustom);
    Scramble();
    G->BeginLoading();
    G->SetLook(C.Look);
    EXPECT_EQ(G->SelectionStyle(), ssDefault);
    EXPECT_EQ(G->ScrollType(), ssNormal);
    EXPECT_EQ(G->FixedColor(), X);
    EXPECT_EQ(G->SelectionColor(), X);
    EXPECT_EQ(G->GridLineColor(), X);
    EXPECT_EQ(G->SearchFooter()->Color(), X);
    // The gradients are cleared before the preset, loading or not.
    EXPECT_EQ(G->ControlLook()->FixedGradientFrom(), clNone);
    EXPECT_EQ(G->ControlLook()->FixedGradientHoverFrom(), X);
    G->EndLoading();
}

INSTANTIATE_TEST_SUITE_P(Looks, ClassicPresets,
                         ::testing::Values(PresetCase{"Standard", glStandard, clBtnFace, clBtnFace, clNone, clGray,
                                                      clHighlight, clHighlightText, clBtnFace, clBtnFace, false},
                                           PresetCase{"Soft", glSoft, clBtnFace, clBtnFace, clNone, clGray, clHighlight,
                                                      clHighlightText, clBtnFace, clBtnFace, false},
                                           PresetCase{"Classic", glClassic, clBtnFace, clBtnFace, clNone, clGray,
                                                      clHighlight, clHighlightText, clBtnFace, clBtnFace, false},
                                           PresetCase{"Ext", glExt, clNone, clWhite, clSilver, 0xEACAB6, 0xEACAB6,
                                                      clBlack, clNone, clNone, true},
                                           PresetCase{"XP", glXP, clNone, clWhite, clBtnFace, 0xEACAB6, 0xEACAB6,
                                                      clBlack, clNone, clNone, true},
                                           PresetCase{"ListView", glListView, clNone, clWhite, clBtnFace, clGray,
                                                      clHighlight, clHighlightText, clBtnFace, clBtnFace, false}),
                         [](const ::testing::TestParamInfo<PresetCase>& I) { return std::string(I.param.Name); });

TEST_F(GridLooks, ComponentStyleLeavesMetroScrollingOnlyForCustom) {
    G->SetScrollType(ssMetro);
    G->SetComponentStyle(tsCustom);
    EXPECT_EQ(G->ScrollType(), ssMetro);
    G->SetComponentStyle(tsOffice2010Black);
    EXPECT_EQ(G->ScrollType(), ssNormal);
    EXPECT_EQ(G->ComponentStyle(), tsOffice2010Black);
}

TEST_F(GridLooks, ColorTonesMakeAFlatClassicGrid) {
    TColorTones T;
    T.Background = {0xFFFFFF, 0xDDDDDD, 0x111111};
    T.Foreground = {0xC08040, 0xAAAAAA, 0xFFFFFF};
    T.Selected = {0x40C0F0, 0x000000, 0x000000};
    G->SetColorTones(T);
    EXPECT_EQ(G->Look(), glClassic);
    EXPECT_TRUE(G->Flat());
    EXPECT_EQ(G->ScrollType(), ssMetro);
    EXPECT_EQ(G->ControlLook()->ControlStyle(), csGlyph);
    EXPECT_EQ(G->FixedColor(), TColor(0xC08040));
    EXPECT_EQ(G->SelectionColor(), TColor(0x40C0F0));
    EXPECT_EQ(G->GridLineColor(), TColor(0xE6E6E6));
    EXPECT_EQ(G->Tones().Foreground.BrushColor, TColor(0xC08040));
}

// A grid in colour tones draws its check boxes and radio buttons with the flat glyphs: a
// checked box shows its dark mark, an unchecked one none.
TEST_F(GridLooks, ColorTonesDrawFlatGlyphCheckBoxes) {
    G->SetColorTones(TColorTones{});
    TControlLook* CL = G->ControlLook();
    for (TBitmap* B : {CL->CheckedGlyph(), CL->UnCheckedGlyph(), CL->RadioOnGlyph(), CL->RadioOffGlyph()})
        EXPECT_FALSE(B->Empty());
    TBitmap Sheet(40, 20);
    Sheet.Canvas()->Brush()->SetColor(clWhite);
    Sheet.Canvas()->FillRect(Rect(0, 0, 40, 20));
    G->DrawCheckBox(Sheet.Canvas(), Rect(0, 0, 15, 15), true, cbUnchecked, false, csGlyph, false, true);
    G->DrawCheckBox(Sheet.Canvas(), Rect(20, 0, 35, 15), false, cbUnchecked, false, csGlyph, false, true);
    EXPECT_EQ(Sheet.Canvas()->Pixels(7, 7), TColor(0x303030)) << "the mark of the checked box";
    EXPECT_EQ(Sheet.Canvas()->Pixels(27, 7), clWhite);
    EXPECT_EQ(Sheet.Canvas()->Pixels(21, 7), TColor(0x606060)) << "the frame of the unchecked box";
}

// The coloured border of the gradient looks: one pixel in when the cells fit the grid, with
// the outermost ring in the parent's colour; on the outermost ring otherwise; never for the
// plain looks or a flat grid.
TEST(GridLooksBorder, ColouredBorderFollowsTheLookAndTheFit) {
    struct TCase {
        const char* Name;
        TGridLook Look;
        bool Flat, Fit;
        TColor Outer, Inner;
    };
    const TColor Red = 0x000000FF, Parent = 0x0000FF00, Back = 0x00FFFFFF;
    for (const TCase& C :
         {TCase{"XPFitting", glXP, false, true, Parent, Red}, TCase{"XPNotFitting", glXP, false, false, Red, Back},
          TCase{"Standard", glStandard, false, true, Back, Back}, TCase{"FlatXP", glXP, true, true, Back, Back}}) {
        SCOPED_TRACE(C.Name);
        auto Form = std::unique_ptr<TForm>(Create<TForm>(nullptr));
        Form->SetColor(Parent);
        auto* G = Create<TExtStringGrid>(Form.get(), Form.get());
        G->SetBounds(0, 0, 200, 100);
        G->SetColCount(3);
        G->SetRowCount(2);
        G->SetColor(Back);
        G->SetLook(C.Look);
        G->SetFlat(C.Flat);
        G->SetBorderColor(Red);
        G->SetFitCellsInGrid(C.Fit);
        G->SetFixedRows(0);
        G->SetFixedCols(0);
        G->SetRowCount(1);
        QImage Img(200, 100, QImage::Format_RGB32);
        Img.fill(Qt::white);
        G->render(&Img);
        auto At = [&](int X, int Y) {
            const QRgb Q = Img.pixel(X, Y);
            return TColor(qRed(Q) | (qGreen(Q) << 8) | (qBlue(Q) << 16));
        };
        EXPECT_EQ(At(100, 99), C.Outer) << "bottom edge";
        EXPECT_EQ(At(199, 60), C.Outer) << "right edge";
        EXPECT_EQ(At(100, 98), C.Inner) << "one pixel in at the bottom";
        EXPECT_EQ(At(198, 60), C.Inner) << "one pixel in at the right";
    }
}

TEST_F(GridLooks, ThemeSetsHeaderAndFooter) {
    G->SetTheme(xpGreen);
    EXPECT_EQ(G->ExtGradientFrom(), TColor(0xCFF0EA));
    EXPECT_EQ(G->ExtGradientTo(), TColor(0x8CC0B1));
    EXPECT_EQ(G->SearchFooter()->ColorTo(), TColor(0x8CC0B1));
    G->SetTheme(xpNone);
    EXPECT_EQ(G->ActiveCellColorTo(), TColor(0xFFD9B3));
}

TEST_F(GridLooks, OfficeThemeAppliedOnlyOnAChange) {
    G->ApplyOfficeTheme();
    const TOfficeTheme Seen = G->OldOfficeTheme();
    G->SetSelectionColor(0x123456);
    G->ApplyOfficeTheme();
    EXPECT_EQ(G->SelectionColor(), TColor(0x123456));
    EXPECT_EQ(G->OldOfficeTheme(), Seen);
}

// ---- one grid in every look, on one sheet -------------------------------------------------------------
TEST_F(GridLooks, SheetOfEveryLook) {
    const TGridLook Looks[] = {glStandard, glSoft, glClassic, glExt, glXP, glListView, glVista, glWin7, glOffice2007};
    constexpr int GW = 300, GH = 120;
    QImage Sheet(GW * 3 + 40, GH * 3 + 40, QImage::Format_RGB32);
    Sheet.fill(Qt::white);
    QPainter P(&Sheet);
    int I = 0;
    TColor FirstHeader = clNone, FirstCell = clNone;
    for (TGridLook L : Looks) {
        auto Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetColCount(4);
        Grid->SetRowCount(5);
        Grid->SetDefaultColWidth(70);
        Grid->SetDefaultRowHeight(22);
        Grid->SetBounds(0, 0, GW, GH);
        Grid->SetLook(glCustom);
        Grid->SetLook(L);
        for (int c = 1; c < 4; ++c) Grid->SetCells(c, 0, QStringLiteral("Head %1").arg(c));
        for (int r = 1; r < 5; ++r) {
            Grid->SetCells(0, r, QString::number(r));
            Grid->SetCells(1, r, QStringLiteral("Text %1").arg(r));
            Grid->SetCells(2, r, QString::number(r * 12.5, 'f', 2));
            Grid->SetCells(3, r, r % 2 ? "wrapped text in a cell" : "");
            Grid->SetCells(3, 4, R"({\rtf1{\colortbl ;\red200\green0\blue0;}\b rich \cf1 red})");
        }
        Grid->GetCellProperties(2, 2)->SetBrushColor(0x80E0FF);
        Grid->SetAutoNumAlign(true);
        Grid->SetSelection(TGridRect{1, 3, 2, 3});
        QImage Img(GW, GH, QImage::Format_RGB32);
        Grid->render(&Img);
        if (I == 0) {
            const TRect H = Grid->CellRect(1, 0), C = Grid->CellRect(2, 2);
            FirstHeader =
                TColor(qRed(Img.pixel(H.Left + 2, H.Top + 5)) | (qGreen(Img.pixel(H.Left + 2, H.Top + 5)) << 8) |
                       (qBlue(Img.pixel(H.Left + 2, H.Top + 5)) << 16));
            const QRgb Q = Img.pixel(C.Right - 4, C.Bottom - 4);
            FirstCell = TColor(qRed(Q) | (qGreen(Q) << 8) | (qBlue(Q) << 16));
        }
        P.drawImage(10 + (I % 3) * (GW + 10), 10 + (I / 3) * (GH + 10), Img);
        ++I;
    }
    P.end();
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("grid_looks_sheet.png");
    ASSERT_TRUE(Sheet.save(Path));
    // the standard look paints its headers in clBtnFace and the own colour of a cell
    EXPECT_EQ(FirstHeader, TColor(0xF0F0F0));
    EXPECT_EQ(FirstCell, TColor(0x80E0FF));
}

// ---- every cell graphic kind in every look, on one sheet ------------------------------------------------
// A caller's object: a small framed square.
class TSquareObject : public TInterfacedPersistent, public ICellGraphic {
public:
    void Draw(TCanvas* Canvas, const TRect& R, int, int, bool, TExtStringGrid*) override {
        Canvas->Brush()->SetColor(0x00C08040);
        Canvas->FillRect(Rect(R.Left + 2, R.Top + 2, R.Left + 16, R.Top + 16));
    }
    int GetWidth() override { return 16; }
    int GetHeight() override { return 16; }
    bool IsBackground() override { return false; }
};

struct TKindRow {
    const char* Name;
    std::function<void(TExtStringGrid&, TCellGraphic&, int Row)> Setup;
};

std::vector<TKindRow> KindRows(TBitmap* Glyph, TSquareObject* Object) {
    constexpr int GC = 3; // the real column of the graphics (real column 2 is hidden)
    auto Colours = [](TCellGraphic& CG, TColor A, TColor B) {
        CG.SetCellBitmapColor(A);
        CG.SetCellIconColor(B);
    };
    return {
        {"CheckBox",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetCheckBox(true, false, false, haBeforeText, vaCenter);
             G.SetCells(GC, R, "checked");
         }},
        {"CheckBox off",
         [](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetCheckBox(false, false, false, haLeft, vaCenter); }},
        {"TriState", [](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetCheckBox(cbGrayed, false, haLeft, vaCenter); }},
        {"DataCheckBox",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetCheckBox(false, true, false, haCenter, vaCenter);
             G.SetCells(GC, R, "Y");
         }},
        {"RadioButton",
         [](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetRadioButton(true, false, haLeft, vaCenter); }},
        {"Radio",
         [](TExtStringGrid&, TCellGraphic& CG, int) {
             CG.SetCellType(ctRadio);
             auto L = std::make_unique<TStringList>();
             L->Add("one");
             L->Add("two");
             CG.SetCellBitmapOwned(std::move(L));
             CG.SetCellBoolean(true);
             CG.SetCellIndex(1);
         }},
        {"Bitmap", [Glyph](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetBitmap(Glyph, false, haLeft, vaCenter); }},
        {"ImageList", [](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetImageIdx(1, haLeft, vaCenter); }},
        {"DataImage",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetDataImage(0, haLeft, vaCenter);
             G.SetCells(GC, R, "1");
         }},
        {"Images",
         [](TExtStringGrid&, TCellGraphic& CG, int R) {
             CG.SetMultiImage(GC, R, 0, haLeft, vaCenter, nullptr);
             CG.CellBitmapAs<TIntList>()->Add(0);
             CG.CellBitmapAs<TIntList>()->Add(1);
         }},
        {"Rotated",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetAngle(20);
             G.SetCells(GC, R, "Turned");
         }},
        {"Progress",
         [Colours](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetCellType(ctProgress);
             Colours(CG, 0x0000C000, 0x00FFE0C0);
             CG.SetCellErrLen(100);
             G.SetCells(GC, R, "60");
         }},
        {"ProgressPie",
         [](TExtStringGrid&, TCellGraphic& CG, int) {
             CG.SetCellType(ctProgressPie);
             CG.SetCellBitmapColor(0x0000C000);
             CG.SetCellAngle(70);
         }},
        {"RangeIndicator",
         [Colours](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetCellType(ctRangeIndicator);
             Colours(CG, clRed, 0x0000C000);
             CG.SetCellIndex(100);
             CG.SetCellBoolean(true);
             G.SetCells(GC, R, "-40");
         }},
        {"XPProgress",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetCellType(ctXPProgress);
             CG.SetCellErrLen(100);
             G.SetCells(GC, R, "45");
         }},
        {"Comment",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetCellType(ctComment);
             CG.SetCellAngle(clNone);
             G.SetCells(GC, R, "noted");
         }},
        {"Button", [](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetButton(60, 20, "Press", haLeft, vaCenter); }},
        {"BitButton",
         [Glyph](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetBitButton(70, 20, "Go", Glyph, haLeft, vaCenter); }},
        {"Expand", [](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetCellType(ctExpand); }},
        {"Shape",
         [](TExtStringGrid&, TCellGraphic& CG, int) {
             CG.SetCellType(ctShape);
             CG.SetCellAngle(csStar);
             CG.SetCellIndex(0x0000C0FF);
             CG.SetCellBitmapColor(clBlack);
         }},
        {"Rating",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             CG.SetCellType(ctRating);
             CG.SetCellAngle(5);
             CG.SetCellIndex(0x0000C0FF);
             CG.SetCellBitmapColor(0x00E0E0E0);
             G.SetCells(GC, R, "3.5");
         }},
        {"Interface", [Object](TExtStringGrid&, TCellGraphic& CG, int) { CG.SetInterfacedCell(Object); }},
        {"Node",
         [](TExtStringGrid& G, TCellGraphic& CG, int R) {
             // the node glyph goes into column 0: the record here only marks the row
             auto* Node = new TCellGraphic;
             Node->SetCellType(ctNode);
             Node->SetCellBoolean(true);
             G.SetGraphicObjectEx(0, R, Node);
             G.GetCellProperties(0, R)->SetNodeLevel(1);
             CG.SetCellType(ctEmpty);
         }},
    };
}

TEST_F(GridLooks, SheetOfEveryLookWithEveryGraphic) {
    const TGridLook Looks[] = {glStandard, glSoft, glClassic, glExt, glXP, glListView, glVista, glWin7, glOffice2007};
    TBitmap Glyph(12, 12);
    Glyph.Canvas()->Brush()->SetColor(clRed);
    Glyph.Canvas()->FillRect(Rect(0, 0, 12, 12));
    TSquareObject Object;
    TImageList Images(nullptr, 16, 16);
    TBitmap Strip(32, 16);
    Strip.Canvas()->Brush()->SetColor(0x00FF8000);
    Strip.Canvas()->FillRect(Rect(0, 0, 32, 16));
    Strip.Canvas()->Brush()->SetColor(0x000080FF);
    Strip.Canvas()->FillRect(Rect(16, 0, 32, 16));
    Images.Add(&Strip, nullptr);
    const auto Kinds = KindRows(&Glyph, &Object);
    const int Rows = int(Kinds.size()) + 1;
    constexpr int RowH = 24, GW = 300;
    const int GH = Rows * (RowH + 1) + 6;
    QImage Sheet(GW * 3 + 40, GH * 3 + 40, QImage::Format_RGB32);
    Sheet.fill(Qt::white);
    QPainter P(&Sheet);
    int I = 0;
    for (TGridLook L : Looks) {
        auto Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetColCount(4);
        Grid->SetRowCount(Rows);
        Grid->HideColumn(2);
        Grid->SetColWidths(0, 30);
        Grid->SetColWidths(1, 90);
        Grid->SetColWidths(2, 150);
        Grid->SetDefaultRowHeight(RowH);
        Grid->SetBounds(0, 0, GW, GH);
        Grid->SetOptions(Grid->Options() << goEditing);
        Grid->SetGridImages(&Images);
        Grid->SetLook(glCustom);
        Grid->SetLook(L);
        Grid->SetCells(1, 0, "kind");
        Grid->SetCells(3, 0, "object");
        for (int r = 1; r < Rows; ++r) {
            const TKindRow& K = Kinds[size_t(r - 1)];
            Grid->SetCells(1, r, QString::fromLatin1(K.Name));
            auto* CG = new TCellGraphic;
            K.Setup(*Grid, *CG, r);
            Grid->SetGraphicObjectEx(3, r, CG);
        }
        Grid->SetSelection(TGridRect{1, 2, 3, 2});
        QImage Img(GW, GH, QImage::Format_RGB32);
        Grid->render(&Img);
        // a checked and an unchecked box look different in every look
        const TRect On = Grid->CellRect(2, 1), Off = Grid->CellRect(2, 2);
        int Differ = 0;
        for (int y = 2; y < On.Height() - 2; ++y)
            for (int x = 2; x < 20; ++x)
                Differ += Img.pixel(On.Left + x, On.Top + y) != Img.pixel(Off.Left + x, Off.Top + y);
        EXPECT_GT(Differ, 5) << "look " << int(L);
        P.drawImage(10 + (I % 3) * (GW + 10), 10 + (I / 3) * (GH + 10), Img);
        ++I;
    }
    P.end();
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("grid_looks_graphics_sheet.png");
    ASSERT_TRUE(Sheet.save(Path));
}

} // namespace
