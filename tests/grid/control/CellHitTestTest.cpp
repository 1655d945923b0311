// Cell graphic geometry and hit testing: the room an object takes beside the text, its printed
// size, and whether a point is on a check box, push button, expand button or node glyph. The
// check box a click is tested against must be the box the painter draws: each case paints the
// cell and finds the box among the pixels. The fixture hides real column 2 and real row 4, so
// display column 2 shows real column 3 and display row 4 shows real row 5.
#include "grid/control/ExtGrid.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Messages.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

// Rectangles and points read as numbers in failure messages.
static void PrintTo(const TRect& R, std::ostream* OS) {
    *OS << "(" << R.Left << "," << R.Top << ")-(" << R.Right << "," << R.Bottom << ")";
}
static void PrintTo(const TPoint& P, std::ostream* OS) { *OS << "(" << P.X << "," << P.Y << ")"; }

namespace {

constexpr TColor Red = 0x000000FF;

class HitFixture : public ::testing::Test {
protected:
    static constexpr int HiddenRealCol = 2;
    static constexpr int HiddenRealRow = 4;
    static constexpr int RealCol = 3; // shown at display column 2
    static constexpr int DisplCol = 2;
    static constexpr int Row = 4; // display row 4, real row 5

    void SetUp() override {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(8);
        G->SetDefaultColWidth(100);
        G->SetDefaultRowHeight(24);
        G->SetBounds(0, 0, 620, 220);
        G->SetColor(clWhite);
        G->SetOptions(G->Options() << goEditing);
        G->HideColumn(HiddenRealCol);
        G->HideRow(HiddenRealRow);
        ASSERT_EQ(G->RealColIndex(DisplCol), RealCol);
        ASSERT_EQ(G->RealRowIndex(Row), 5);
        // A solid red glyph, so the painted box can be found among the pixels.
        const int S = G->ControlLook()->CheckSize();
        Glyph.SetSize(S, S);
        Glyph.Canvas()->Brush()->SetColor(Red);
        Glyph.Canvas()->FillRect(Rect(0, 0, S, S));
        Glyph.Canvas()->SetPixels(0, S - 1, clLime);
        G->ControlLook()->SetControlStyle(csGlyph);
        G->ControlLook()->SetCheckedGlyph(&Glyph);
        G->ControlLook()->SetUnCheckedGlyph(&Glyph);
        Sheet.SetSize(640, 240);
    }
    TCellGraphic* Put(int ACol, int ARow) {
        auto* CG = new TCellGraphic;
        G->SetGraphicObjectEx(ACol, ARow, CG);
        return CG;
    }
    // The box of red pixels the painter left in the cell; empty when there are none.
    TRect PaintedBox() {
        Sheet.Canvas()->Brush()->SetColor(clWhite);
        Sheet.Canvas()->FillRect(Rect(0, 0, 640, 240));
        const TRect R = G->CellRect(DisplCol, Row);
        G->PaintCell(Sheet.Canvas(), DisplCol, Row, R, {});
        TRect B = Rect(R.Right, R.Bottom, R.Left, R.Top);
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                if (Sheet.Canvas()->Pixels(x, y) == Red) {
                    B.Left = std::min(B.Left, x);
                    B.Top = std::min(B.Top, y);
                    B.Right = std::max(B.Right, x + 1);
                    B.Bottom = std::max(B.Bottom, y + 1);
                }
        return B.Left < B.Right ? B : TRect{};
    }
    std::unique_ptr<TExtStringGrid> G;
    TBitmap Glyph, Sheet;
};

// ---- the check box: painted and hit at the same place --------------------------------------------------
struct BoxCase {
    const char* Name;
    TAlignment HA;
    TCellVAlign VA;
    const char* Text;
    bool Radio = false;
};
void PrintTo(const BoxCase& C, std::ostream* OS) { *OS << C.Name; }

class CheckBoxGeometry : public HitFixture, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(CheckBoxGeometry, TheHitBoxIsThePaintedBox) {
    const BoxCase& C = GetParam();
    G->MouseActions()->SetPreciseCheckBoxCheck(true);
    G->OnGetAlignment = [&](TObject*, int, int, TAlignment& HA, TVAlignment&) { HA = C.HA; };
    G->SetCellEx(RealCol, Row, QString::fromUtf8(C.Text));
    TCellGraphic* CG = Put(RealCol, Row);
    if (C.Radio) {
        CG->SetRadioButton(true, false, haLeft, C.VA);
        G->ControlLook()->SetRadioOnGlyph(&Glyph);
        G->ControlLook()->SetRadioOffGlyph(&Glyph);
    } else {
        CG->SetCheckBox(true, false, false, haLeft, C.VA);
    }
    const TRect Box = G->CheckBoxRect(RealCol, Row);
    if (!C.Radio) {
        const TRect Painted = PaintedBox();
        ASSERT_FALSE(Painted.Width() == 0) << "nothing red painted";
        EXPECT_EQ(Box, Painted);
    }
    ASSERT_GT(Box.Width(), 0);
    // Inside at every corner, outside one pixel beyond each edge.
    struct Probe {
        int X, Y;
        bool In;
    };
    const Probe Probes[] = {{Box.Left, Box.Top, true},        {Box.Right - 1, Box.Top, true},
                            {Box.Left, Box.Bottom - 1, true}, {Box.Right - 1, Box.Bottom - 1, true},
                            {Box.Left - 1, Box.Top, false},   {Box.Right, Box.Top, false},
                            {Box.Left, Box.Top - 1, false},   {Box.Left, Box.Bottom, false}};
    for (const Probe& P : Probes)
        EXPECT_EQ(G->IsInCheckBox(RealCol, Row, P.X, P.Y), P.In) << "(" << P.X << "," << P.Y << ")";
}

INSTANTIATE_TEST_SUITE_P(Placements, CheckBoxGeometry,
                         ::testing::Values(BoxCase{"LeftTopEmpty", taLeftJustify, vaTop, ""},
                                           BoxCase{"LeftCentreWithText", taLeftJustify, vaCenter, "Some text"},
                                           BoxCase{"LeftBottomEmpty", taLeftJustify, vaBottom, ""},
                                           BoxCase{"RightWithTextLeftOfTheText", taRightJustify, vaCenter, "Some text"},
                                           BoxCase{"RightEmpty", taRightJustify, vaTop, ""},
                                           BoxCase{"CentredWithText", taCenter, vaCenter, "Mid"},
                                           BoxCase{"CentredEmpty", taCenter, vaCenter, ""},
                                           BoxCase{"RadioButtonLeft", taLeftJustify, vaTop, "", true}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(HitFixture, ARightAlignedBoxWithTextLiesLeftOfTheText) {
    G->OnGetAlignment = [](TObject*, int, int, TAlignment& HA, TVAlignment&) { HA = taRightJustify; };
    Put(RealCol, Row)->SetCheckBox(true, false, false, haLeft, vaCenter);
    const TRect Empty = G->CheckBoxRect(RealCol, Row);
    G->SetCellEx(RealCol, Row, "A longer text");
    const TRect WithText = G->CheckBoxRect(RealCol, Row);
    EXPECT_LT(WithText.Right, Empty.Left);
    EXPECT_GE(G->CellRect(DisplCol, Row).Right - WithText.Right, G->MeasureCellTextWidth(DisplCol, Row));
}

TEST_F(HitFixture, WithoutPreciseChecksAnyPointOfACheckCellCountsAndOtherCellsNever) {
    Put(RealCol, Row)->SetCheckBox(false, false, false, haLeft, vaTop);
    const TRect R = G->CellRect(DisplCol, Row);
    ASSERT_FALSE(G->MouseActions()->PreciseCheckBoxCheck());
    EXPECT_TRUE(G->IsInCheckBox(RealCol, Row, R.Right - 1, R.Bottom - 1));
    EXPECT_FALSE(G->IsInCheckBox(RealCol, Row + 1, R.Left + 3, R.Top + 3)) << "a cell without a box";
    EXPECT_FALSE(G->IsInCheckBox(RealCol, -1, 0, 0));
    EXPECT_FALSE(G->IsInCheckBox(-1, Row, 0, 0));
    G->MouseActions()->SetPreciseCheckBoxCheck(true);
    EXPECT_FALSE(G->IsInCheckBox(RealCol, Row, R.Right - 1, R.Bottom - 1));
}

TEST_F(HitFixture, APreciseClickTogglesOnTheBoxAndNotBesideIt) {
    G->MouseActions()->SetPreciseCheckBoxCheck(true);
    TCellGraphic* CG = Put(RealCol, Row);
    CG->SetCheckBox(false, false, false, haLeft, vaCenter);
    const TRect Box = G->CheckBoxRect(RealCol, Row);
    auto Click = [&](int X, int Y) {
        G->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
        G->Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    };
    Click(Box.Right + 20, Box.Top + 2);
    EXPECT_FALSE(CG->CellBoolean()) << "beside the box";
    Click(Box.Left + 2, Box.Top + 2);
    EXPECT_TRUE(CG->CellBoolean()) << "on the box";
}

// ---- buttons, expand buttons, node glyphs, sort indicators ----------------------------------------------
TEST_F(HitFixture, TheButtonRectFollowsTheOffsetOfTheLastPaintAndTheFullAlignments) {
    TCellGraphic* CG = Put(RealCol, Row);
    CG->SetButton(30, 16, "Go", haLeft, vaTop);
    const TRect R = G->CellRect(DisplCol, Row);
    EXPECT_EQ(G->GetCellButtonRect(DisplCol, Row), Rect(R.Left, R.Top, R.Left + 30, R.Top + 16)) << "before a paint";
    CG->SetButtonOffset(Point(5, 3));
    EXPECT_EQ(G->GetCellButtonRect(DisplCol, Row), Rect(R.Left + 5, R.Top + 3, R.Left + 35, R.Top + 19));
    EXPECT_EQ(G->ButtonRect(RealCol, Row), G->GetCellButtonRect(DisplCol, Row)) << "the mouse's view agrees";
    CG->SetCellVAlign(vaFull);
    CG->SetCellHAlign(haFull);
    EXPECT_EQ(G->GetCellButtonRect(DisplCol, Row), R);
    EXPECT_EQ(G->GetCellButtonRect(DisplCol, Row + 1), TRect{}) << "no object";
}

TEST_F(HitFixture, TheExpandButtonIsAnElevenPixelSquareAtTheTopRight) {
    EXPECT_EQ(G->GetExpandButtonRect(RealCol, Row), TRect{});
    Put(RealCol, Row)->SetCellType(ctExpand);
    const TRect R = G->CellRect(DisplCol, Row);
    EXPECT_EQ(G->GetExpandButtonRect(RealCol, Row), Rect(R.Right - 13, R.Top + 2, R.Right - 2, R.Top + 13));
}

struct GlyphCase {
    const char* Name;
    TNodeType Type;
    int X;
    bool In;
};
void PrintTo(const GlyphCase& C, std::ostream* OS) { *OS << C.Name; }

class NodeGlyph : public HitFixture, public ::testing::WithParamInterface<GlyphCase> {};

TEST_P(NodeGlyph, LevelOneIndentTwelve) {
    const GlyphCase& C = GetParam();
    G->MouseActions()->SetPreciseNodeClick(true);
    G->CellNode()->SetNodeIndent(12);
    G->CellNode()->SetNodeType(C.Type);
    G->AddNode(G->RealRowIndex(Row), 2);
    ASSERT_EQ(G->GetNodeLevel(Row), 1);
    EXPECT_EQ(G->IsInNodeGlyph(Row, C.X), C.In);
}

INSTANTIATE_TEST_SUITE_P(
    Points, NodeGlyph,
    ::testing::Values(GlyphCase{"XPOnItsLeftEdge", cnXP, 4, false}, GlyphCase{"XPJustInside", cnXP, 5, true},
                      GlyphCase{"XPLastInside", cnXP, 15, true}, GlyphCase{"XPOnItsRightEdge", cnXP, 16, false},
                      GlyphCase{"ThreeDFromOne", cn3D, 1, true}, GlyphCase{"ThreeDUpToSeventeen", cn3D, 17, true},
                      GlyphCase{"ThreeDPastIt", cn3D, 18, false}, GlyphCase{"LeafUpToNineteen", cnLeaf, 19, true},
                      GlyphCase{"EmptyGlyphSpansTheIndent", cnGlyph, 5, true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(HitFixture, WithoutPreciseNodeClicksEveryPointIsOnTheGlyph) {
    G->MouseActions()->SetPreciseNodeClick(false);
    EXPECT_TRUE(G->IsInNodeGlyph(Row, 500));
}

TEST_F(HitFixture, TheSortIndicatorSitsInTheSortRowOnlyWhileShownAndWithData) {
    G->SortSettings()->SetRow(0);
    G->SortSettings()->SetShow(true);
    EXPECT_TRUE(G->IsSortIndicatorCell(1, 0));
    EXPECT_FALSE(G->IsSortIndicatorCell(1, 1));
    G->SetFixedRows(2);
    G->SortSettings()->SetRow(1);
    G->MergeCells(1, 0, 1, 2); // a header two rows high: its indicator is in its bottom row
    EXPECT_TRUE(G->IsSortIndicatorCell(1, 0));
    G->SortSettings()->SetShow(false);
    EXPECT_FALSE(G->IsSortIndicatorCell(1, 0));
}

// ---- images ---------------------------------------------------------------------------------------------
TEST_F(HitFixture, ImageKeysAreWholeObjectAddressesOrIndexes) {
    TBitmap A, B;
    Put(RealCol, 1)->SetBitmap(&A, false, haLeft, vaTop);
    Put(RealCol, 2)->SetBitmap(&B, false, haLeft, vaTop);
    Put(RealCol, 3)->SetImageIdx(7, haLeft, vaTop);
    EXPECT_EQ(G->CellImageKey(RealCol, 1), int64_t(reinterpret_cast<uintptr_t>(&A)));
    EXPECT_EQ(G->CellImageKey(RealCol, 2), int64_t(reinterpret_cast<uintptr_t>(&B)));
    EXPECT_EQ(G->CellImageKey(RealCol, 3), 7);
    EXPECT_EQ(G->CellImageKey(RealCol, 6), -1);
    EXPECT_EQ(G->CellImageKey(RealCol, 99), -1);
}

TEST_F(HitFixture, DataGraphicCellsAreAskedAtTheBaseOfAMergedArea) {
    Put(RealCol, 1)->SetCheckBox(false, true, false, haLeft, vaTop); // a data check box
    Put(RealCol, 3)->SetCheckBox(false, false, false, haLeft, vaTop);
    G->MergeCells(RealCol, 1, 1, 2);
    EXPECT_TRUE(G->IsDataGraphicCell(RealCol, 1));
    EXPECT_TRUE(G->IsDataGraphicCell(RealCol, 2)) << "inside the merged area";
    EXPECT_FALSE(G->IsDataGraphicCell(RealCol, 3));
    EXPECT_FALSE(G->IsDataGraphicCell(RealCol, 6));
}

// ---- room taken beside the text -----------------------------------------------------------------------
struct SizeCase {
    const char* Name;
    std::function<void(TExtStringGrid*, TCellGraphic*)> Make;
    const char* Text;
    std::function<TPoint(TExtStringGrid*)> Expected;
};
void PrintTo(const SizeCase& C, std::ostream* OS) { *OS << C.Name; }

class GraphicSize : public HitFixture, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(GraphicSize, RoomTakenFromTheText) {
    const SizeCase& C = GetParam();
    G->SetCellEx(RealCol, Row, QString::fromUtf8(C.Text));
    C.Make(G.get(), Put(RealCol, Row));
    EXPECT_EQ(G->GetCellGraphicSize(RealCol, Row), C.Expected(G.get()));
}

TIcon* Icon20x16() {
    static TIcon* I = [] {
        auto* Icon = new TIcon;
        TBitmap B(20, 16);
        Icon->Assign(&B);
        return Icon;
    }();
    return I;
}

TStringList* TwoOptions() {
    static TStringList* L = [] {
        auto* S = new TStringList;
        S->Add("One");
        S->Add("Second");
        return S;
    }();
    return L;
}

int TextW(TExtStringGrid* G, const QString& S) {
    TCanvas C;
    C.Font()->Assign(G->Font());
    return C.TextWidth(S);
}
int LineH(TExtStringGrid* G) {
    TCanvas C;
    C.Font()->Assign(G->Font());
    return C.TextHeight("gh");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, GraphicSize,
    ::testing::Values(
        SizeCase{"NoObject", [](auto*, TCellGraphic*) {}, "x", [](auto*) { return Point(0, 0); }},
        SizeCase{"CheckBox", [](auto*, TCellGraphic* CG) { CG->SetCheckBox(false, false, false, haLeft, vaTop); }, "",
                 [](auto*) { return Point(15, 15); }},
        SizeCase{"RadioButton", [](auto*, TCellGraphic* CG) { CG->SetRadioButton(false, false, haLeft, vaTop); }, "",
                 [](auto*) { return Point(10, 10); }},
        SizeCase{"IconBeforeTextTakesItsWidth",
                 [](auto*, TCellGraphic* CG) { CG->SetIcon(Icon20x16(), haBeforeText, vaTop); }, "text",
                 [](auto*) { return Point(20, 16); }},
        SizeCase{"IconLeftOfTextTakesOnlyItsHeight",
                 [](auto*, TCellGraphic* CG) { CG->SetIcon(Icon20x16(), haLeft, vaTop); }, "text",
                 [](auto*) { return Point(0, 16); }},
        SizeCase{"IconInAnEmptyCell", [](auto*, TCellGraphic* CG) { CG->SetIcon(Icon20x16(), haLeft, vaTop); }, "",
                 [](auto*) { return Point(20, 16); }},
        SizeCase{"RatingOfFiveKeepsItsWidthWhenFull",
                 [](auto*, TCellGraphic* CG) {
                     CG->SetCellType(ctRating);
                     CG->SetCellAngle(5);
                     CG->SetCellHAlign(haFull);
                 },
                 "", [](auto*) { return Point(90, 16); }},
        SizeCase{"ProgressPie", [](auto*, TCellGraphic* CG) { CG->SetCellType(ctProgressPie); }, "",
                 [](auto*) { return Point(20, 20); }},
        SizeCase{"HorizontalRadioGroup",
                 [](auto*, TCellGraphic* CG) {
                     CG->SetCellType(ctRadio);
                     CG->SetCellBitmap(TwoOptions());
                     CG->SetCellBoolean(true);
                 },
                 "", [](auto* G) { return Point(TextW(G, "One") + TextW(G, "Second") + 24, LineH(G)); }},
        SizeCase{"VerticalRadioGroup",
                 [](auto*, TCellGraphic* CG) {
                     CG->SetCellType(ctRadio);
                     CG->SetCellBitmap(TwoOptions());
                 },
                 "", [](auto* G) { return Point(TextW(G, "Second") + 12, 2 * std::max(16, LineH(G))); }},
        SizeCase{"ButtonBesideText", [](auto*, TCellGraphic* CG) { CG->SetButton(30, 16, "Go", haLeft, vaUnderText); },
                 "text", [](auto*) { return Point(0, 16); }},
        SizeCase{"FullButtonInAnEmptyCellKeepsItsCaptionWidth",
                 [](auto*, TCellGraphic* CG) { CG->SetButton(30, 16, "Go", haFull, vaTop); }, "",
                 [](auto* G) { return Point(TextW(G, "Go") + 4, 16); }},
        SizeCase{"FullHeightTakesTheCell",
                 [](auto*, TCellGraphic* CG) { CG->SetCheckBox(false, false, false, haLeft, vaFull); }, "",
                 [](auto* G) { return Point(15, G->RowHeights(4)); }}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(HitFixture, PrintedSizes) {
    Put(RealCol, 1)->SetIcon(Icon20x16(), haLeft, vaTop);
    G->SetCellEx(RealCol, 1, "text");
    EXPECT_EQ(G->GetCellGraphicPrintSize(RealCol, 1, 100, 100, 1.0), Point(20, 16)) << "full size when printed";
    Put(RealCol, 2)->SetCellType(ctProgress);
    EXPECT_EQ(G->GetCellGraphicPrintSize(RealCol, 2, 100, 100, 1.0), Point(100, 24)) << "the whole cell";
    TCellGraphic* Rating = Put(RealCol, 3);
    Rating->SetCellType(ctRating);
    Rating->SetCellAngle(5);
    EXPECT_EQ(G->GetCellGraphicPrintSize(RealCol, 3, 100, 100, 1.0), Point(0, 0));
    Put(RealCol, 6)->SetCellType(ctShape);
    EXPECT_EQ(G->GetCellGraphicPrintSize(RealCol, 6, 100, 100, 1.0),
              Point(24 - 2 * G->XYOffset().y(), 24 - 2 * G->XYOffset().y()));
}

} // namespace
