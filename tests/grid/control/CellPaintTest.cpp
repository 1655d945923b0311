// Cell painting of the string grid, probed on a bitmap: the colours a cell gets (own colours,
// fixed looks, banding, selection), the order of the painting steps (background event, text,
// borders, owner drawing), tree lines, text alignment and wrapping. The fixture hides real
// column 2, so display column 2 shows real column 3.
#include "grid/control/ExtGrid.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/QtPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColor Back = 0x00FFFFFF;

// Gradients reach their end colours within a few steps.
bool Near(TColor A, TColor B) {
    for (int S = 0; S < 24; S += 8)
        if (std::abs(int((A >> S) & 0xFF) - int((B >> S) & 0xFF)) > 6) return false;
    return true;
}

class TPaintGrid : public TExtStringGrid {
public:
    explicit TPaintGrid(TComponent* AOwner) : TExtStringGrid(AOwner) {}
    bool HasNodes() override { return Nodes; }
    bool Nodes = false;
};

class CellPaint : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TPaintGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(80);
        G->SetDefaultRowHeight(24);
        G->SetBounds(0, 0, 420, 220);
        G->HideColumn(2);
        G->SetColor(Back);
        Sheet.SetSize(440, 240);
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 440, 240));
    }
    void Paint(int DisplCol, int Row, TGridDrawState S = {}) {
        G->PaintCell(Sheet.Canvas(), DisplCol, Row, G->CellRect(DisplCol, Row), S);
    }
    TColor At(int X, int Y) { return Sheet.Canvas()->Pixels(X, Y); }
    TColor Centre(int DisplCol, int Row) {
        const TRect R = G->CellRect(DisplCol, Row);
        return At((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    // The box of dark (text) pixels inside R; empty when there is none.
    TRect Ink(const TRect& R) {
        TRect B = Rect(R.Right, R.Bottom, R.Left, R.Top);
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) {
                const TColor C = At(x, y);
                if ((C & 0xFF) + ((C >> 8) & 0xFF) + ((C >> 16) & 0xFF) < 300) {
                    B.Left = std::min(B.Left, x);
                    B.Top = std::min(B.Top, y);
                    B.Right = std::max(B.Right, x + 1);
                    B.Bottom = std::max(B.Bottom, y + 1);
                }
            }
        return B;
    }
    std::unique_ptr<TPaintGrid> G;
    TBitmap Sheet;
};

// ---- colours: setup -> probe -> colour ----------------------------------------------------------------
struct TColorCase {
    const char* Name;
    std::function<void(TPaintGrid&)> Setup;
    int Col, Row; // display cell painted and probed at its centre
    TColor Expected;
};

class CellColours : public CellPaint, public ::testing::WithParamInterface<TColorCase> {};

TEST_P(CellColours, CentrePixel) {
    const TColorCase& C = GetParam();
    C.Setup(*G);
    Paint(C.Col, C.Row);
    EXPECT_EQ(Centre(C.Col, C.Row), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellColours,
    ::testing::Values(TColorCase{"PlainCellInGridColour", [](TPaintGrid&) {}, 3, 3, Back},
                      // display column 2 shows real column 3: the record of real column 3 colours it
                      TColorCase{"OwnColourOfTheRealColumn",
                                 [](TPaintGrid& G) { G.GetCellProperties(3, 3)->SetBrushColor(0x00336699); }, 2, 3,
                                 0x00336699},
                      TColorCase{"BandPrimaryRow",
                                 [](TPaintGrid& G) {
                                     G.Bands()->SetPrimaryColor(0x0000CC00);
                                     G.Bands()->SetSecondaryColor(0x00CC0000);
                                     G.Bands()->SetPrimaryLength(1);
                                     G.Bands()->SetSecondaryLength(1);
                                     G.Bands()->SetActive(true);
                                 },
                                 3, 3, 0x0000CC00},
                      TColorCase{"BandSecondaryRow",
                                 [](TPaintGrid& G) {
                                     G.Bands()->SetPrimaryColor(0x0000CC00);
                                     G.Bands()->SetSecondaryColor(0x00CC0000);
                                     G.Bands()->SetPrimaryLength(1);
                                     G.Bands()->SetSecondaryLength(1);
                                     G.Bands()->SetActive(true);
                                 },
                                 3, 4, 0x00CC0000},
                      TColorCase{"FixedCellOfAFlatClassicLook",
                                 [](TPaintGrid& G) {
                                     G.SetLook(glClassic);
                                     G.SetFlat(true);
                                     G.SetFixedColor(0x00A0B0C0);
                                 },
                                 0, 3, 0x00A0B0C0},
                      TColorCase{"FixedOwnColourOnEmptyCellKept",
                                 [](TPaintGrid& G) {
                                     G.SetLook(glClassic);
                                     G.SetFlat(true);
                                     G.GetCellProperties(0, 3)->SetBrushColor(0x00123456);
                                 },
                                 0, 3, 0x00123456},
                      TColorCase{"SelectedCellSelectionColour",
                                 [](TPaintGrid& G) {
                                     G.SetSelectionColor(0x000000FF);
                                     G.SetSelection(TGridRect{3, 3, 4, 4});
                                 },
                                 3, 3, 0x000000FF},
                      TColorCase{"SelectionMixedHalf",
                                 [](TPaintGrid& G) {
                                     G.SetSelectionColor(0x000000FF);
                                     G.SetSelectionColorMixer(true);
                                     G.SetSelectionColorMixerFactor(50);
                                     G.GetCellProperties(4, 3)->SetBrushColor(0x00FF0000);
                                     G.SetSelection(TGridRect{3, 3, 4, 4});
                                 },
                                 3, 3, 0x00800080},
                      TColorCase{"SelectionMixFactorZeroKeepsOwn",
                                 [](TPaintGrid& G) {
                                     G.SetSelectionColor(0x000000FF);
                                     G.SetSelectionColorMixer(true);
                                     G.SetSelectionColorMixerFactor(0);
                                     G.GetCellProperties(4, 3)->SetBrushColor(0x00FF0000);
                                     G.SetSelection(TGridRect{3, 3, 4, 4});
                                 },
                                 3, 3, 0x00FF0000},
                      TColorCase{"CellColourEventWins",
                                 [](TPaintGrid& G) {
                                     G.OnGetCellColor = [](TObject*, int ARow, int ACol, TGridDrawState, TBrush* B,
                                                           TFont*) {
                                         if (ARow == 3 && ACol == 3) B->SetColor(0x0000AAFF);
                                     };
                                 },
                                 2, 3, 0x0000AAFF}),
    [](const ::testing::TestParamInfo<TColorCase>& I) { return std::string(I.param.Name); });

TEST_F(CellPaint, GradientLookHeaderRunsFromTheHeaderColours) {
    G->SetLook(glOffice2007);
    const TRect R = G->CellRect(1, 0);
    Paint(1, 0);
    EXPECT_TRUE(Near(At(R.Left + 10, R.Top + 1), G->ExtGradientFrom()));
    EXPECT_TRUE(Near(At(R.Left + 10, R.Bottom - 4), G->ExtGradientTo()));
}

// ---- order of the painting steps ---------------------------------------------------------------------
TEST_F(CellPaint, BackgroundEventUnderTextAndCustomDrawOverIt) {
    G->SetCells(3, 3, "MMMM");
    G->OnCustomCellBkgDraw = [](TObject*, TCanvas* C, int, int, TGridDrawState, TRect R, bool) {
        C->Brush()->SetColor(0x00C0FFC0);
        C->FillRect(R);
    };
    Paint(2, 3);
    const TRect R = G->CellRect(2, 3);
    EXPECT_EQ(At(R.Right - 10, R.Bottom - 6), TColor(0x00C0FFC0)) << "background drawn";
    EXPECT_FALSE(Ink(R).Width() <= 0) << "text drawn over the background";
    G->OnCustomCellDraw = [](TObject*, TCanvas* C, int, int, TGridDrawState, TRect R, bool) {
        C->Brush()->SetColor(0x00FFFFC0);
        C->FillRect(R);
    };
    Paint(2, 3);
    EXPECT_LE(Ink(R).Width(), 0) << "the owner drawing comes last";
    EXPECT_EQ(Centre(2, 3), TColor(0x00FFFFC0));
}

TEST_F(CellPaint, NoDefaultDrawSuppressesTextOnlyWithAnOwnerDrawEvent) {
    G->SetCells(3, 3, "MMMM");
    G->SetNoDefaultDraw(true);
    const TRect R = G->CellRect(2, 3);
    Paint(2, 3);
    EXPECT_GT(Ink(R).Width(), 0) << "no owner-draw event: the text stays";
    int Calls = 0;
    G->OnDrawCell = [&](TObject*, int ACol, int, TRect, TGridDrawState) {
        EXPECT_EQ(ACol, 3) << "the real column";
        ++Calls;
    };
    Sheet.Canvas()->FillRect(Rect(0, 0, 440, 240));
    Paint(2, 3);
    EXPECT_EQ(Calls, 1);
    EXPECT_LE(Ink(R).Width(), 0);
}

TEST_F(CellPaint, BorderPenWidthThreeMovesVerticalLinesInward) {
    G->SetColor(clWhite);
    TGridOptions O = G->Options();
    O << goVertLine;
    G->SetOptions(O);
    G->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* P, TCellBorders& B) {
        if (ARow == 3 && ACol == 3) {
            P->SetColor(clBlack);
            P->SetWidth(3);
            B = TCellBorders{cbLeft, cbRight};
        }
    };
    Paint(2, 3);
    const TRect R = G->CellRect(2, 3);
    const int Y = (R.Top + R.Bottom) / 2;
    // W grown back by one is the cell less its grid line; the lines move 2 pixels in from there
    EXPECT_EQ(At(R.Left + 2, Y), clBlack);
    EXPECT_EQ(At(R.Left + 4, Y), clWhite);
    EXPECT_EQ(At(R.Right - 4, Y), clBlack);
}

TEST_F(CellPaint, TreeLinesMoveWithTheCell) {
    G->Nodes = true;
    G->SetFixedCols(0);
    G->GetCellProperties(0, 3)->SetNodeLevel(1);
    G->GetCellProperties(0, 4)->SetNodeLevel(1);
    // the same cell painted at x = 20 and, as a scrolled or moved column is, at x = 220
    auto Lines = [&](int X) {
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 440, 240));
        const TRect W = Rect(X, 100, X + 80, 123);
        G->DrawGridCell(Sheet.Canvas(), 0, 3, W, {});
        std::vector<std::pair<int, int>> L;
        for (int y = 90; y < 135; ++y)
            for (int x = 0; x < 440; ++x)
                if (At(x, y) == TColor(0x808080)) L.push_back({x - X, y});
        return L;
    };
    const auto Near0 = Lines(20), Far = Lines(220);
    EXPECT_FALSE(Near0.empty());
    EXPECT_EQ(Near0, Far);
}

TEST_F(CellPaint, FocusRectangleNotDrawnWithoutFocus) {
    G->SetCol(2);
    G->SetRow(3);
    Paint(2, 3, {gdFocused});
    const TRect R = G->CellRect(2, 3);
    for (int y = R.Top + 2; y < R.Bottom - 2; ++y) ASSERT_EQ(At(R.Left + 1, y), Centre(2, 3)) << y;
}

TEST_F(CellPaint, FocusFrameRingsTheCellAndHides) {
    const TRect R = G->CellRect(2, 3);
    G->ShowFocusFrame(R);
    TGridFocusWindow* F = G->FocusFrame();
    ASSERT_NE(F, nullptr);
    EXPECT_TRUE(F->Visible());
    EXPECT_EQ(GridWithFocusWindow, G.get());
    EXPECT_EQ(F->Left(), R.Left - 4);
    EXPECT_EQ(F->Top(), R.Top - 4);
    EXPECT_EQ(F->Width(), R.Width() + 9);
    EXPECT_EQ(F->Height(), R.Height() + 9);
    EXPECT_TRUE(F->HasAlphaImage());
    G->HideFocusFrame();
    EXPECT_FALSE(F->Visible());
    EXPECT_EQ(GridWithFocusWindow, nullptr);
}

TEST_F(CellPaint, SizingLineDrawnTwiceLeavesNothing) {
    QImage Img(G->size(), QImage::Format_RGB32);
    G->render(&Img);
    const QImage Before = Img;
    G->Canvas()->BeginPaintOn(&Img);
    G->DrawColSizingLine(100);
    G->Canvas()->EndPaint();
    EXPECT_NE(Img, Before) << "the line shows";
    G->Canvas()->BeginPaintOn(&Img);
    G->DrawColSizingLine(100);
    G->DrawRowSizingLine(50);
    G->DrawRowSizingLine(50);
    G->Canvas()->EndPaint();
    EXPECT_EQ(Img, Before) << "drawn again, it is gone";
}

// ---- text alignment and wrapping ---------------------------------------------------------------------
struct TAlignCase {
    const char* Name;
    TAlignment HA;
    TVAlignment VA;
    bool WordWrap;
    const char* Text;
    // where the ink lies: -1 at the start, 0 centred, 1 at the end (per direction)
    int Horz, Vert;
};

class TextAlignment : public CellPaint, public ::testing::WithParamInterface<TAlignCase> {};

TEST_P(TextAlignment, InkPlacement) {
    const TAlignCase& C = GetParam();
    G->SetDefaultRowHeight(60);
    G->SetCells(3, 3, C.Text);
    G->OnGetAlignment = [&](TObject*, int, int, TAlignment& H, TVAlignment& V) {
        H = C.HA;
        V = C.VA;
    };
    G->OnGetWordWrap = [&](TObject*, int, int, bool& W) { W = C.WordWrap; };
    Paint(2, 3);
    TRect R = G->CellRect(2, 3);
    R.Right -= 1;
    R.Bottom -= 1;
    const TRect I = Ink(R);
    ASSERT_GT(I.Width(), 0);
    const int Left = I.Left - R.Left, Right = R.Right - I.Right, Top = I.Top - R.Top, Bottom = R.Bottom - I.Bottom;
    auto Side = [](int Start, int End) { return std::abs(Start - End) <= 4 ? 0 : (Start < End ? -1 : 1); };
    EXPECT_EQ(Side(Left, Right), C.Horz) << Left << " / " << Right;
    EXPECT_EQ(Side(Top, Bottom), C.Vert) << Top << " / " << Bottom;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextAlignment,
    ::testing::Values(TAlignCase{"LeftTop", taLeftJustify, vtaTop, false, "WWW", -1, -1},
                      TAlignCase{"RightBottom", taRightJustify, vtaBottom, false, "WWW", 1, 1},
                      TAlignCase{"CentreCentre", taCenter, vtaCenter, false, "WWW", 0, 0},
                      // wrapped text keeps the canvas's rule: only single-line text is centred
                      TAlignCase{"WrappedCentredStaysOnTop", taCenter, vtaCenter, true, "WWW WWW", 0, -1},
                      TAlignCase{"WrappedBottomStaysOnTop", taCenter, vtaBottom, true, "WWW WWW", 0, -1}),
    [](const ::testing::TestParamInfo<TAlignCase>& I) { return std::string(I.param.Name); });

TEST_F(CellPaint, WordWrapBreaksALongTextOverLines) {
    G->SetDefaultRowHeight(60);
    G->SetCells(3, 3, "WWW WWW WWW");
    G->OnGetWordWrap = [](TObject*, int, int, bool& W) { W = true; };
    Paint(2, 3);
    const TRect I = Ink(G->CellRect(2, 3));
    Sheet.Canvas()->SetFont(G->Font());
    EXPECT_GT(I.Height(), Sheet.Canvas()->TextHeight("W") + 2) << "more than one line";
}

TEST_F(CellPaint, PasswordCellDrawsMaskCharacters) {
    G->SetCells(3, 3, "iiii");
    G->SetPasswordChar(QChar('W'));
    G->OnIsPasswordCell = [](TObject*, int, int, bool& P) { P = true; };
    Paint(2, 3);
    Sheet.Canvas()->SetFont(G->Font());
    EXPECT_GE(Ink(G->CellRect(2, 3)).Width(), Sheet.Canvas()->TextWidth("WWWW") - 3);
}

// The filter row shows the built-in filter button, the caller's glyph instead, and the active
// glyph while the column is filtered.
TEST_F(CellPaint, FilterRowShowsTheFilterGlyphOfTheColumnState) {
    G->SetFixedRows(1);
    G->SetFilterDropDownRow(0);
    G->OnGetColumnFilter = [](TObject*, int, TStrings* L) { L->Add("a"); };
    const TRect R = G->CellRect(2, 0);
    auto Count = [&](TColor C) {
        int N = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Right - 20; x < R.Right; ++x) N += At(x, y) == C;
        return N;
    };
    Paint(2, 0);
    EXPECT_GT(Count(TColor(0x303030)), 10) << "the built-in funnel";
    auto Glyph = [](TColor C) {
        auto B = std::make_unique<TBitmap>(16, 16);
        B->Canvas()->Brush()->SetColor(C);
        B->Canvas()->FillRect(Rect(0, 0, 16, 16));
        B->Canvas()->SetPixels(0, 15, clFuchsia); // the corner colour that stays out
        return B;
    };
    G->FilterDropDown()->SetGlyph(Glyph(clRed).get());
    G->FilterDropDown()->SetGlyphActive(Glyph(clBlue).get());
    Paint(2, 0);
    EXPECT_GT(Count(clRed), 100);
    EXPECT_EQ(Count(clBlue), 0);
    G->SetFilterActive(true);
    TFilterData* Condition = G->Filter()->Add();
    Condition->SetColumn(3);
    Condition->SetCondition("a");
    Paint(2, 0);
    EXPECT_GT(Count(clBlue), 100) << "the column's filter is active";
}

// A check-box column keeps its boxes in the cells' records, where the painter finds them: a
// checked and an unchecked box look different, and a data box keeps its state as the text.
TEST_F(CellPaint, CheckBoxColumnIsKeptInTheCellsAndDrawn) {
    G->SetFixedRows(1);
    G->SetOptions(G->Options() << goEditing);
    G->AddCheckBoxColumn(3, false, false);
    auto* CG = dynamic_cast<TCellGraphic*>(G->GetCellGraphic(3, 2));
    ASSERT_NE(CG, nullptr);
    EXPECT_EQ(CG->CellType(), ctCheckBox);
    EXPECT_EQ(CG->CellHAlign(), haBeforeText);
    EXPECT_EQ(G->GetCellType(3, 0), ctEmpty) << "the fixed row gets none";
    EXPECT_TRUE(G->SetCheckBoxState(3, 2, true));
    EXPECT_TRUE(G->IsChecked(3, 2));
    EXPECT_FALSE(G->IsChecked(3, 3));
    EXPECT_TRUE(CG->CellBoolean());
    Paint(2, 2);
    Paint(2, 3);
    const TRect On = G->CellRect(2, 2), Off = G->CellRect(2, 3);
    int Differ = 0, Ink = 0;
    for (int y = 0; y < On.Height(); ++y)
        for (int x = 0; x < On.Width(); ++x) {
            Differ += At(On.Left + x, On.Top + y) != At(Off.Left + x, Off.Top + y);
            Ink += At(Off.Left + x, Off.Top + y) != Back;
        }
    EXPECT_GT(Ink, 20) << "the unchecked box is drawn";
    EXPECT_GT(Differ, 5) << "the checked box shows its mark";

    G->SetCells(4, 2, "maybe");
    G->AddCheckBox(4, 2, true, true);
    EXPECT_EQ(G->GetCellType(4, 2), ctDataCheckBox);
    EXPECT_EQ(G->GetCellEx(4, 2), "Y") << "a data box's text becomes its state";
    EXPECT_TRUE(G->SetCheckBoxState(4, 2, false));
    EXPECT_EQ(G->GetCellEx(4, 2), "N");
    EXPECT_THROW(G->AddCheckBox(9, 2, true, false), Exception) << "outside the grid";
}

// ---- a caller's object in the cell ------------------------------------------------------------------
class TFillObject : public TInterfacedPersistent, public ICellGraphic {
public:
    void Draw(TCanvas* Canvas, const TRect& R, int, int, bool, TExtStringGrid*) override {
        ++Calls;
        Canvas->Brush()->SetColor(0x00A0E0A0);
        Canvas->FillRect(R);
    }
    int GetWidth() override { return 10; }
    int GetHeight() override { return 10; }
    bool IsBackground() override { return Background; }
    bool Background = false;
    int Calls = 0;
};

// An object that asks to be drawn first lies under the text; any other covers it. Either is
// drawn once.
TEST_F(CellPaint, InterfaceObjectDrawnFirstLiesUnderTheText) {
    struct TCase {
        const char* Name;
        bool Background, TextVisible;
    };
    for (const TCase& C : {TCase{"DrawnFirst", true, true}, TCase{"DrawnAfter", false, false}}) {
        SCOPED_TRACE(C.Name);
        TFillObject Object;
        Object.Background = C.Background;
        G->SetCells(3, 3, "MMMM");
        auto* CG = new TCellGraphic;
        CG->SetInterfacedCell(&Object);
        G->SetGraphicObjectEx(3, 3, CG);
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 440, 240));
        Paint(2, 3);
        const TRect R = G->CellRect(2, 3);
        EXPECT_EQ(Object.Calls, 1);
        EXPECT_EQ(At(R.Right - 6, R.Bottom - 5), TColor(0x00A0E0A0)) << "the object is drawn";
        EXPECT_EQ(Ink(R).Width() > 0, C.TextVisible);
        G->SetGraphicObjectEx(3, 3, nullptr);
        delete CG;
    }
}

// A marked character range of a text cell is underlined in red; an unmarked cell is not.
TEST_F(CellPaint, ErrorMarkerUnderlinesTheMarkedCharacters) {
    G->SetCells(3, 3, "MMMM MMMM");
    auto RedPixels = [&]() {
        int N = 0;
        const TRect R = G->CellRect(2, 3);
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) N += At(x, y) == clRed;
        return N;
    };
    auto* CG = new TCellGraphic;
    CG->SetCellType(ctEmpty);
    G->SetGraphicObjectEx(3, 3, CG);
    Paint(2, 3);
    EXPECT_EQ(RedPixels(), 0) << "no marked range";
    CG->SetCellErrFrom(0);
    CG->SetCellErrLen(4);
    Paint(2, 3);
    EXPECT_GT(RedPixels(), 8);
}

} // namespace
