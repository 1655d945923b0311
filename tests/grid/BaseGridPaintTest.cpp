// Base cell painting: order and geometry of the frame every cell is painted with, probed on
// bitmaps and on the grid's own rendering.
#include "grid/base/BaseGrid.h"
#include "platform/rtl/SysUtils.h"

#include <QImage>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

constexpr TColor GridColor = 0x00FAFAFA;
constexpr TColor CellColor = 0x00E0FFE0;
constexpr TColor FixedCellColor = 0x00C8C8C8;
constexpr TColor AreaColor = clYellow;

// A grid whose cells say their colours through GetVisualProperties and whose content painter
// records what it was asked to draw.
class TPaintGrid : public TBaseGrid {
public:
    explicit TPaintGrid(TComponent* AOwner) : TBaseGrid(AOwner) {}
    int TotalColCount() const override { return ColCount() + 1; } // one hidden column after the shown ones
    void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool, bool, bool, TBrush* ABrush, TColor&,
                             TColor&, TColor&, TFont*, TAlignment&, TVAlignment&, bool&,
                             TCellGradientDirection&) override {
        TColor C = AState.Contains(gdFixed) ? FixedCellColor : CellColor;
        if (auto It = Colors.find({ACol, ARow}); It != Colors.end()) C = It->second;
        ABrush->SetColor(C);
    }
    void DrawGridCell(TCanvas*, int ACol, int ARow, TRect ARect, TGridDrawState) override {
        if (Throw) throw Exception("cell content failed");
        Drawn.push_back({ACol, ARow, ARect});
    }
    void NextPass() { Paint(); } // a paint pass without a window to paint on
    struct TDrawn {
        int Col, Row;
        TRect R;
    };
    std::vector<TDrawn> Drawn;
    std::map<std::pair<int, int>, TColor> Colors;
    bool Throw = false;
};

class BaseGridPaint : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TPaintGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetFixedCols(1);
        G->SetFixedRows(1);
        G->SetDefaultColWidth(40);
        G->SetDefaultRowHeight(20);
        G->SetColor(GridColor);
        G->SetBounds(0, 0, 260, 180);
        Sheet.SetSize(300, 200);
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 300, 200));
    }
    // Paints one cell at the rectangle the grid gives it.
    void Paint(int c, int r, TGridDrawState S = {}) { G->PaintCell(Sheet.Canvas(), c, r, G->CellRect(c, r), S); }
    TColor At(int X, int Y) { return Sheet.Canvas()->Pixels(X, Y); }
    std::unique_ptr<TPaintGrid> G;
    TBitmap Sheet;
};

TEST_F(BaseGridPaint, NormalCellFillsLinesAndHandsOnTheInnerRectangle) {
    const TRect R = G->CellRect(2, 2);
    Paint(2, 2);
    EXPECT_EQ(At(R.Left + 5, R.Top + 5), CellColor);
    EXPECT_EQ(At(R.Right - 1, R.Top + 5), G->GridLineColor()) << "right line";
    EXPECT_EQ(At(R.Left + 5, R.Bottom - 1), G->GridLineColor()) << "bottom line";
    ASSERT_EQ(G->Drawn.size(), 1u);
    TRect Inner = R;
    InflateRect(Inner, -1, -1);
    EXPECT_EQ(G->Drawn[0].R, Inner);
}

TEST_F(BaseGridPaint, FixedCellsKeepOnePixelLinesWhenNormalLinesAreWide) {
    G->SetGridLineWidth(3);
    const TRect N = G->CellRect(2, 2), F = G->CellRect(0, 2);
    Paint(2, 2);
    Paint(0, 2, {gdFixed});
    for (int d = 1; d <= 3; ++d) EXPECT_EQ(At(N.Right - d, N.Top + 8), G->GridLineColor()) << d;
    EXPECT_EQ(At(N.Right - 4, N.Top + 8), CellColor);
    for (int d = 1; d <= 3; ++d) EXPECT_EQ(At(N.Left + 8, N.Bottom - d), G->GridLineColor()) << d;
    EXPECT_EQ(At(F.Right - 1, F.Top + 8), G->GridFixedLineColor());
    EXPECT_EQ(At(F.Right - 2, F.Top + 8), FixedCellColor);
    ASSERT_EQ(G->Drawn.size(), 2u);
    TRect Inner = N;
    InflateRect(Inner, -3, -3);
    EXPECT_EQ(G->Drawn[0].R, Inner);
    EXPECT_EQ(G->Drawn[1].R, Rect(F.Left, F.Top, F.Right - 1, F.Bottom - 2)) << "fixed inner rectangle";
}

TEST_F(BaseGridPaint, HiddenLastRowIsAPlainRectangleInTheGridColour) {
    G->SetHideLastRow(true);
    const TRect R = G->CellRect(2, 7);
    Sheet.Canvas()->Brush()->SetColor(clWhite);
    G->PaintCell(Sheet.Canvas(), 2, 7, Rect(10, 150, 50, 170), {});
    (void)R;
    EXPECT_TRUE(G->Drawn.empty());
    EXPECT_EQ(At(30, 160), GridColor);
    EXPECT_EQ(At(49, 169), GridColor) << "no grid lines";
}

TEST_F(BaseGridPaint, MergedAreaIsPaintedOncePerPassFromItsCoveredCells) {
    G->MergeCells(2, 2, 2, 2);
    G->Colors[{2, 2}] = AreaColor;
    const TRect Area = G->CellRect(2, 2);
    Paint(3, 3);
    Paint(2, 3);
    Paint(3, 2);
    ASSERT_EQ(G->Drawn.size(), 1u);
    EXPECT_EQ(G->Drawn[0].Col, 2);
    EXPECT_EQ(G->Drawn[0].Row, 2);
    EXPECT_EQ(Area.Width(), 80);
    EXPECT_EQ(At(Area.Left + 5, Area.Top + 5), AreaColor);
    EXPECT_EQ(At(Area.Right - 5, Area.Bottom - 5), AreaColor);
    G->NextPass();
    G->Drawn.clear();
    Paint(3, 3);
    EXPECT_EQ(G->Drawn.size(), 1u) << "the next pass paints it again";
}

TEST_F(BaseGridPaint, MergedAreaScrolledUnderTheFixedRowsIsClippedBelowThem) {
    G->MergeCells(2, 2, 2, 2); // rows 2..3
    G->Colors[{2, 2}] = AreaColor;
    G->SetTopRow(3); // the base row is out of view, row 3 shows below the fixed row
    QImage Img(G->size(), QImage::Format_RGB32);
    G->render(&Img);
    const TRect R3 = G->CellRect(3, 3);
    const TRect Fixed = G->CellRect(3, 0);
    EXPECT_EQ(TColor(FromQColor(Img.pixelColor(R3.Left + 5, R3.Top + 5))), AreaColor);
    EXPECT_EQ(TColor(FromQColor(Img.pixelColor(Fixed.Left + 5, Fixed.Top + 5))), FixedCellColor)
        << "the area does not paint over the fixed row";
}

TEST_F(BaseGridPaint, HoverRowCoversOnlyTheCellsItIsMeantFor) {
    G->SetHoverRow(true);
    G->SetHoverRowColor(clAqua);
    G->SetHoverRowIdx(2);
    G->SetHoverRowCells({hcNormal});
    Paint(2, 2);
    Paint(3, 2, {gdSelected});
    Paint(0, 2, {gdFixed});
    EXPECT_EQ(At(G->CellRect(2, 2).Left + 5, G->CellRect(2, 2).Top + 5), clAqua);
    EXPECT_EQ(At(G->CellRect(3, 2).Left + 5, G->CellRect(3, 2).Top + 5), CellColor) << "selected without hcSelected";
    EXPECT_EQ(At(G->CellRect(0, 2).Left + 5, G->CellRect(0, 2).Top + 5), FixedCellColor) << "fixed without hcFixed";
    G->SetHoverRowCells({hcNormal, hcFixed});
    Paint(0, 2, {gdFixed});
    EXPECT_EQ(At(G->CellRect(0, 2).Left + 5, G->CellRect(0, 2).Top + 5), clAqua);
}

TEST_F(BaseGridPaint, ActiveRowLeavesTheFocusedCellAlone) {
    G->SetActiveRowShow(true);
    G->SetActiveRowColor(clLime);
    G->SetCol(2);
    G->SetRow(3);
    Paint(2, 3, {gdFocused});
    Paint(3, 3);
    Paint(0, 3, {gdFixed});
    EXPECT_EQ(At(G->CellRect(2, 3).Left + 5, G->CellRect(2, 3).Top + 5), CellColor);
    EXPECT_EQ(At(G->CellRect(3, 3).Left + 5, G->CellRect(3, 3).Top + 5), clLime);
    EXPECT_EQ(At(G->CellRect(0, 3).Left + 5, G->CellRect(0, 3).Top + 5), FixedCellColor);
}

struct TFaceCase {
    const char* Name;
    TGridSelectionStyle Style;
    bool Focused;
    TColor Border;
    TColor InnerCorner;
};

class SelectionFace : public BaseGridPaint, public ::testing::WithParamInterface<TFaceCase> {};

TEST_P(SelectionFace, ARowReadsAsOneFaceRoundedAtItsEnds) {
    const TFaceCase& P = GetParam();
    G->SetSelectionStyle(P.Style);
    G->SetOptions(P.Focused ? G->Options() + TGridOptions{goDrawFocusSelected} : G->Options());
    G->SetSelection(GridRect(4, 2, 2, 2)); // reversed: columns 2..4
    for (int c = 2; c <= 4; ++c) Paint(c, 2, {gdSelected});
    const TRect L = G->CellRect(2, 2), M = G->CellRect(3, 2), R = G->CellRect(4, 2);
    const int Mid = L.Top + 9;
    EXPECT_EQ(At(L.Left, L.Top), GridColor) << "outer corner of the left end";
    EXPECT_EQ(At(L.Left, Mid), P.Border) << "rounded left edge";
    EXPECT_EQ(At(M.Left, M.Top), P.Border) << "the middle cell runs its top edge to the edge";
    EXPECT_NE(At(M.Left, Mid), P.Border);
    EXPECT_EQ(At(L.Left + 1, L.Top), P.InnerCorner);
    EXPECT_EQ(At(M.Right - 2, M.Top), P.Border) << "no corner inside the face";
    EXPECT_EQ(At(R.Right - 2, R.Top), P.InnerCorner) << "corner of the right end";
    EXPECT_EQ(At(R.Left, R.Top + 9), At(M.Left, Mid));
    EXPECT_EQ(At(R.Right - 1, R.Top + 9), G->GridLineColor()) << "grid lines are drawn over the face";
}

INSTANTIATE_TEST_SUITE_P(Table, SelectionFace,
                         ::testing::Values(TFaceCase{"VistaFocused", ssVista, true, 0xFDDE99, 0xFCEDCB},
                                           TFaceCase{"Win7Focused", ssWin7, true, 0xCEA27D, 0xE0C5AE},
                                           TFaceCase{"Office2007Focused", ssOffice2007, true, 0x8DD7D3, 0xC3D9DF},
                                           TFaceCase{"VistaFocusElsewhere", ssVista, false, 0xD9D9D9, 0xEFEFEF}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(BaseGridPaint, LookAlikeTakesTheRectangleAsGivenWithoutContent) {
    G->SetActiveRowColor(clLime);
    G->PaintCellExt(Sheet.Canvas(), 2, 2, Rect(200, 150, 240, 170), {gdSelected});
    EXPECT_TRUE(G->Drawn.empty());
    EXPECT_EQ(At(210, 155), clLime) << "selected shows the active-row colour";
    EXPECT_EQ(At(239, 160), G->GridLineColor());
}

TEST_F(BaseGridPaint, AFailingCellDoesNotEscapeThePaint) {
    G->Throw = true;
    QImage Img(G->size(), QImage::Format_RGB32);
    EXPECT_NO_THROW(G->render(&Img));
    // Printing and drag images paint cells on their own canvases.
    EXPECT_NO_THROW(Paint(2, 2));
    EXPECT_NO_THROW(G->PaintCellExt(Sheet.Canvas(), 2, 2, Rect(0, 0, 40, 20), {}));
}

} // namespace

namespace {

TEST_F(BaseGridPaint, PictureOfAPaintedGrid) {
    G->MergeCells(1, 4, 2, 2);
    G->Colors[{1, 4}] = AreaColor;
    G->SetSelectionStyle(ssOffice2007);
    G->SetOptions(G->Options() + TGridOptions{goDrawFocusSelected, goRangeSelect});
    G->SetCol(2);
    G->SetRow(2);
    G->SetSelection(GridRect(2, 2, 4, 2));
    G->SetHoverRow(true);
    G->SetHoverRowColor(clSkyBlue);
    G->SetHoverRowIdx(3);
    QImage Img(G->size(), QImage::Format_RGB32);
    G->render(&Img);
    EXPECT_TRUE(Img.save(QString(GRID_DRAW_SHEET_PATH).replace("grid_draw_sheet", "grid_base_cells")));
    const TRect Hover = G->CellRect(3, 3);
    EXPECT_EQ(TColor(FromQColor(Img.pixelColor(Hover.Left + 5, Hover.Top + 5))), clSkyBlue);
}

} // namespace
