// Cell graphics drawn on a bitmap: each case puts one object into a cell, draws it where the
// painter would and probes pixels relative to the cell's rectangle. A sheet with every kind is
// saved as a PNG beside the test program.
#include "grid/base/ExtObj.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Snapshot.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int CellW = 120;
constexpr int CellH = 30;
constexpr TColor Back = clWhite;
constexpr TColor Fill = 0x0000C000; // green
constexpr TColor Rest = 0x00FFE0C0;
constexpr TColor Mark = 0x000000C0; // dark red

// A grid of 5 real columns (real column 1 hidden) and 16 rows; graphics go into real column 2.
class PaintSheet {
public:
    PaintSheet() {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(16);
        G->SetDefaultColWidth(CellW);
        G->SetDefaultRowHeight(CellH);
        G->HideColumn(1);
        G->SetOptions(G->Options() << goEditing); // editable cells draw their boxes enabled
        Images = std::make_unique<TImageList>(nullptr, 16, 16);
        TBitmap Strip(32, 16);
        Strip.Canvas()->Brush()->SetColor(clRed);
        Strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
        Strip.Canvas()->Brush()->SetColor(clBlue);
        Strip.Canvas()->FillRect(Rect(16, 0, 32, 16));
        Images->Add(&Strip, nullptr);
        G->SetGridImages(Images.get());
        Sheet.SetSize(640, 16 * CellH);
        Sheet.Canvas()->Brush()->SetColor(Back);
        Sheet.Canvas()->FillRect(Rect(0, 0, 640, 16 * CellH));
    }
    ~PaintSheet() { G.reset(); }

    // The painter's rectangle of row R in a column that starts at X.
    static TRect CellAt(int X, int R) { return Rect(X, R * CellH, X + CellW, (R + 1) * CellH); }

    TCellGraphic* Put(int Row) {
        auto* CG = new TCellGraphic;
        G->SetGraphicObjectEx(RealCol, Row, CG);
        return CG;
    }

    // Draws the cell's graphic the way the painter does: extent first, then the object.
    void Draw(TRect W, int Row, TAlignment HA = taLeftJustify, int TextWidth = 0) {
        const auto E = G->CellGraphicExtent(RealCol, Row);
        ASSERT_NE(E.Graphic, nullptr);
        TExtStringGrid::TCellGraphicPaint P;
        P.Canvas = Sheet.Canvas();
        P.RealCol = RealCol;
        P.Row = Row;
        P.HAlign = HA;
        P.TextWidth = TextWidth;
        P.Width = E.Width;
        P.Height = E.Height;
        Sheet.Canvas()->Brush()->SetColor(Back);
        G->DrawCellGraphic(W, E.Graphic, G->VAlignment(), P);
    }

    TColor At(int X, int Y) { return Sheet.Canvas()->Pixels(X, Y); }
    int Count(TRect R, TColor C) {
        int N = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) N += At(x, y) == C;
        return N;
    }

    static constexpr int RealCol = 2;
    std::unique_ptr<TExtStringGrid> G;
    std::unique_ptr<TImageList> Images;
    std::unique_ptr<TBitmap> Red = std::make_unique<TBitmap>(8, 8);
    TPicture EmptyPicture;
    TBitmap Sheet;
};

struct Probe {
    int DX, DY; // from the cell's top-left corner
    TColor Color;
};

struct PaintCase {
    const char* Name;
    std::function<void(PaintSheet&, int Row)> Setup;
    std::vector<Probe> Probes;
};

// Check boxes of the Borland look have exact pixels: a 15 x 15 face of clBtnFace at (2, 2) of
// the cell with a black double tick whose left stroke runs down x = 4 from y = 9.
void BorlandBox(PaintSheet& S, TCellGraphic* CG) {
    S.G->ControlLook()->SetControlStyle(csBorland);
    (void)CG;
}

const TColor Face = ColorToRGB(clBtnFace);

std::vector<PaintCase> Cases() {
    return {
        {"CheckBoxChecked",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCheckBox(true, false, false, haLeft, vaTop);
             BorlandBox(S, CG);
         },
         {{4, 10, clBlack}, {8, 4, Face}, {1, 1, Back}}},
        {"CheckBoxUnchecked",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetCheckBox(false, false, false, haLeft, vaTop);
             S.G->ControlLook()->SetControlStyle(csBorland);
         },
         {{4, 10, Face}, {8, 4, Face}}},
        {"DataCheckBoxTextY",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetCheckBox(false, true, false, haLeft, vaTop);
             S.G->SetGridCell(PaintSheet::RealCol, R, "Y");
             S.G->ControlLook()->SetControlStyle(csBorland);
         },
         {{4, 10, clBlack}}},
        {"DataCheckBoxOtherText",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetCheckBox(false, true, false, haLeft, vaTop);
             S.G->SetGridCell(PaintSheet::RealCol, R, "yes");
             S.G->ControlLook()->SetControlStyle(csBorland);
         },
         {{4, 10, Face}}},
        {"BitmapAtTopLeft",
         [](PaintSheet& S, int R) {
             S.Red->Canvas()->Brush()->SetColor(clRed);
             S.Red->Canvas()->FillRect(Rect(0, 0, 8, 8));
             S.Put(R)->SetBitmap(S.Red.get(), false, haLeft, vaTop);
         },
         {{2, 2, clRed}, {9, 9, clRed}, {10, 10, Back}}},
        {"BitmapRightAligned",
         [](PaintSheet& S, int R) {
             S.Red->Canvas()->Brush()->SetColor(clRed);
             S.Red->Canvas()->FillRect(Rect(0, 0, 8, 8));
             S.Put(R)->SetBitmap(S.Red.get(), false, haRight, vaBottom);
         },
         // G is the cell less 1 on each side; the bitmap ends one pixel inside it
         {{CellW - 3, CellH - 3, clRed}, {CellW - 10, CellH - 10, clRed}, {CellW - 2, CellH - 2, Back}}},
        {"ImageListImage", [](PaintSheet& S, int R) { S.Put(R)->SetImageIdx(1, haLeft, vaTop); }, {{5, 5, clBlue}}},
        {"ImageIndexOutOfRangeDrawsNothing",
         [](PaintSheet& S, int R) { S.Put(R)->SetImageIdx(9, haLeft, vaTop); },
         {{5, 5, Back}}},
        {"DataImageFromCellValue",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetDataImage(0, haLeft, vaTop);
             S.G->SetGridCell(PaintSheet::RealCol, R, "1");
         },
         {{5, 5, clBlue}}},
        {"DataImageOfNoNumberDrawsTheFirst",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetDataImage(0, haLeft, vaTop);
             S.G->SetGridCell(PaintSheet::RealCol, R, "abc");
         },
         {{5, 5, clRed}}},
        {"PictureOfNoSizeDrawsNothing",
         [](PaintSheet& S, int R) { S.Put(R)->SetPicture(&S.EmptyPicture, false, Stretch, 0, haFull, vaFull); },
         {{CellW / 2, CellH / 2, Back}}},
        {"ProgressHalf",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctProgress);
             CG->SetCellBitmapColor(Fill);
             CG->SetCellIconColor(Rest);
             CG->SetCellErrFrom(0);
             CG->SetCellErrLen(100);
             S.G->SetGridCell(PaintSheet::RealCol, R, "50");
         },
         // the bar: the cell less 2 and the margins of 2
         {{5, CellH / 2, Fill}, {CellW - 6, CellH / 2, Rest}, {2, CellH / 2, Back}}},
        {"ProgressEmptyRangeShowsNoProgress",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctProgress);
             CG->SetCellBitmapColor(Fill);
             CG->SetCellIconColor(Rest);
             CG->SetCellErrFrom(5);
             CG->SetCellErrLen(5);
             CG->SetCellText("%.0f");
             S.G->SetGridCell(PaintSheet::RealCol, R, "5");
         },
         {{5, CellH / 2, Rest}, {CellW - 6, CellH / 2, Rest}}},
        {"XPProgressEmptyRange",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctXPProgress);
             CG->SetCellErrFrom(3);
             CG->SetCellErrLen(3);
             S.G->ProgressAppearance()->SetUnCompleteColor(Rest);
             S.G->ProgressAppearance()->SetShowPercentage(false);
             S.G->SetGridCell(PaintSheet::RealCol, R, "7");
         },
         {{8, CellH / 2, Rest}}},
        {"CommentTriangle",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctComment);
             CG->SetCellAngle(clNone);
         },
         {{CellW - 3, 1, clRed}, {CellW - 8, 4, Back}}},
        {"CommentInItsOwnColour",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctComment);
             CG->SetCellIndex(clBlue);
         },
         {{CellW - 3, 1, clBlue}}},
        {"ShapeFilled",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctShape);
             CG->SetCellAngle(csRectangle);
             CG->SetCellIndex(Fill);
             CG->SetCellBitmapColor(clBlack);
         },
         {{2 + 12, 2 + 12, Fill}, {29, 14, Back}, {1, 1, Back}}},
        {"RatingThreeAndAHalf",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctRating);
             CG->SetCellAngle(5);
             CG->SetCellIndex(Fill);
             CG->SetCellBitmapColor(Rest);
             S.G->SetGridCell(PaintSheet::RealCol, R, "3.3");
         },
         // star i spans x = 2 + 18 i .. + 16 from y = 2; its centre is (10 + 18 i, 10)
         {{10, 11, Fill}, {10 + 36, 11, Fill}, {10 + 54 - 2, 11, Fill}, {10 + 54 + 2, 11, Rest}, {10 + 72, 11, Rest}}},
        {"NodeFlatExpandedShowsAMinus",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctNode);
             S.G->GetCellProperties(0, R)->SetNodeLevel(1); // a top-level node row
             S.G->CellNode()->SetNodeType(cnFlat);
             S.G->CellNode()->SetShowTree(false);
         },
         // box left = cell + 12 - 6 - 4 + 4 = 6, top = (30 - 8) / 2 = 11
         {{6, 11, clBlack}, {14, 19, clBlack}, {10, 15, clBlack}, {10, 13, clSilver}, {15, 15, Back}}},
        {"NodeFlatCollapsedShowsAPlus",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctNode);
             S.G->GetCellProperties(0, R)->SetNodeLevel(1); // a top-level node row
             CG->SetCellBoolean(true);
             S.G->CellNode()->SetNodeType(cnFlat);
             S.G->CellNode()->SetShowTree(false);
         },
         {{10, 15, clBlack}, {10, 13, clBlack}}},
        {"XPCheckBoxTicksGreen",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetCheckBox(true, false, false, haLeft, vaTop);
             S.G->ControlLook()->SetControlStyle(csWinXP);
         },
         // the 15 x 15 glyph at (2, 2): frame from (3, 3), tick down its middle
         {{3, 3, 0x0080511C}, {2, 2, Back}, {7, 11, 0x0021A121}}},
        {"ExtCheckBoxDisabledIsGrey",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetCheckBox(false, false, false, haLeft, vaTop);
             S.G->ControlLook()->SetControlStyle(csExt);
             S.G->SetOptions(S.G->Options() >> goEditing);
         },
         {{3, 3, 0x00A0A0A0}, {9, 9, 0x00F0F0F0}}},
        {"RadioButtonExtChecked",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetRadioButton(true, false, haLeft, vaTop);
             S.G->ControlLook()->SetControlStyle(csExt);
         },
         // one option centred in the 10 x 10 box at (4, 2): its 16 x 16 glyph at (1, 4)
         {{8, 11, 0x00602020}}},
        {"RadioButtonExtUnchecked",
         [](PaintSheet& S, int R) {
             S.Put(R)->SetRadioButton(false, false, haLeft, vaTop);
             S.G->ControlLook()->SetControlStyle(csExt);
         },
         {{8, 11, clWhite}}},
        {"NodeXPCollapsed",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctNode);
             S.G->GetCellProperties(0, R)->SetNodeLevel(1); // a top-level node row
             CG->SetCellBoolean(true);
             S.G->CellNode()->SetShowTree(false);
         },
         // G.Left = 2, moved by 4: the 9 x 9 glyph at (6, 10), its plus through (10, 14)
         {{10, 12, clBlack}, {8, 14, clBlack}, {7, 11, clWhite}}},
        {"NodeLeafExpanded",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctNode);
             S.G->GetCellProperties(0, R)->SetNodeLevel(1); // a top-level node row
             S.G->CellNode()->SetNodeType(cnLeaf);
             S.G->CellNode()->SetShowTree(false);
         },
         // the 12 x 12 glyph at (2, 9); a minus, no stroke
         {{8, 15, clBlack}, {8, 12, 0x00D0F0D8}}},
        {"ProgressPie",
         [](PaintSheet& S, int R) {
             auto* CG = S.Put(R);
             CG->SetCellType(ctProgressPie);
             CG->SetCellBitmapColor(Fill);
             CG->SetCellAngle(100);
         },
         {{8, 8, Fill}, {40, 12, Back}}},
        {"ButtonFace",
         [](PaintSheet& S, int R) { S.Put(R)->SetButton(40, 20, "", haLeft, vaTop); },
         {{1, 1, Back}, {43, 12, Back}}},
    };
}

void PrintTo(const PaintCase& C, std::ostream* Os) { *Os << C.Name; }

class CellGraphicPaint : public ::testing::TestWithParam<PaintCase> {};

TEST_P(CellGraphicPaint, ProbesShowTheObject) {
    PaintSheet S;
    const int Row = 3;
    GetParam().Setup(S, Row);
    const TRect W = PaintSheet::CellAt(200, Row);
    S.Draw(W, Row);
    for (const Probe& P : GetParam().Probes)
        EXPECT_EQ(S.At(W.Left + P.DX, W.Top + P.DY), P.Color) << "at (" << P.DX << ", " << P.DY << ")";
}

INSTANTIATE_TEST_SUITE_P(Kinds, CellGraphicPaint, ::testing::ValuesIn(Cases()),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// Tri-state, greyed and balloon boxes compared as pictures: the balloon flag must not change
// the look, a greyed box must.
TEST(CellGraphicPaintCompare, ABalloonDoesNotGreyACheckBox) {
    PaintSheet S;
    S.G->ControlLook()->SetControlStyle(csClassic);
    S.Put(1)->SetCheckBox(false, false, false, haLeft, vaTop);
    auto* Balloon = S.Put(2);
    Balloon->SetCheckBox(false, false, false, haLeft, vaTop);
    Balloon->SetHasBalloon(true);
    Balloon->SetCellBitmapOwned(std::make_unique<TStringList>());
    auto* Greyed = S.Put(3);
    Greyed->SetCheckBox(false, false, false, haLeft, vaTop);
    Greyed->SetCellAngle(1);
    auto* Tri = S.Put(4);
    Tri->SetCheckBox(cbGrayed, false, haLeft, vaTop);
    for (int r = 1; r <= 4; ++r) S.Draw(PaintSheet::CellAt(0, r), r);
    auto Box = [&](int r) {
        QImage I = S.Sheet.Image().copy(2, r * CellH + 2, 16, 16);
        return I;
    };
    EXPECT_EQ(Box(2), Box(1));
    EXPECT_NE(Box(3), Box(1));
    EXPECT_EQ(Box(4), Box(3)) << "a tri-state box in its greyed state looks like a greyed box";
}

TEST(CellGraphicPaintCompare, ProgressTextIsTheInverseOfTheResolvedBarColour) {
    PaintSheet S;
    auto Setup = [&](int R, TColor Bar) {
        auto* CG = S.Put(R);
        CG->SetCellType(ctProgress);
        CG->SetCellBitmapColor(Bar);
        CG->SetCellIconColor(Rest);
        CG->SetCellErrFrom(0);
        CG->SetCellErrLen(100);
        S.G->SetGridCell(PaintSheet::RealCol, R, "100");
        S.Draw(PaintSheet::CellAt(0, R), R);
    };
    Setup(1, clLime);
    Setup(2, clBtnFace);
    EXPECT_GT(S.Count(PaintSheet::CellAt(0, 1), clFuchsia), 0) << "lime bar, magenta text";
    EXPECT_GT(S.Count(PaintSheet::CellAt(0, 2), 0x0F0F0F), 0) << "a system colour is resolved before inverting";
}

TEST(CellGraphicPaintCompare, CheckBoxBeforeRightAlignedTextSitsLeftOfIt) {
    PaintSheet S;
    S.G->ControlLook()->SetControlStyle(csBorland);
    S.Put(1)->SetCheckBox(false, false, false, haBeforeText, vaTop);
    const TRect W = PaintSheet::CellAt(0, 1);
    const int tw = 40;
    S.Draw(W, 1, taRightJustify, tw);
    // G = W less 1; the box ends one pixel before the text (tw + 2 wide) at G's right edge
    const int BoxRight = W.Right - 1 - (tw + 2) - 1;
    EXPECT_EQ(S.At(BoxRight - 1, W.Top + 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(S.At(BoxRight, W.Top + 6), Back);
    EXPECT_EQ(S.At(BoxRight - 15, W.Top + 6), ColorToRGB(clBtnHighlight));
}

TEST(CellGraphicPaintCompare, AButtonIsTheFaceOfTheButtonRoutine) {
    PaintSheet S;
    S.Put(1)->SetButton(40, 20, "", haLeft, vaTop);
    const TRect W = PaintSheet::CellAt(0, 1);
    S.Draw(W, 1);
    TBitmap Ref(40, 20);
    TColorTones Tones;
    const int Look = S.G->XPThemed() ? ButtonLookThemed : ButtonLookClassic;
    DrawButtonFace(Ref.Canvas(), S.G.get(), Rect(0, 0, 40, 20), Look, ButtonStateNormal, Tones);
    for (TPoint P : {Point(0, 0), Point(20, 10), Point(39, 19), Point(39, 0), Point(0, 19), Point(1, 1), Point(38, 18)})
        EXPECT_EQ(S.At(W.Left + 2 + P.X, W.Top + 2 + P.Y), Ref.Canvas()->Pixels(P.X, P.Y)) << P.X << "," << P.Y;
    EXPECT_NE(S.At(W.Left + 20, W.Top + 12), Back);
}

// A flat grid in colour tones draws its cell buttons in the tones: the face in the background
// tone and the caption in its text colour.
TEST(CellGraphicPaintCompare, AButtonOfAGridInTonesTakesTheTones) {
    PaintSheet S;
    TColorTones Tones;
    Tones.Background = {0x00E0C0A0, 0x00806040, 0x00200080};
    Tones.Foreground = {clSilver, clGray, clBlack};
    S.G->SetColorTones(Tones);
    S.G->ControlLook()->SetFlatButton(false);
    S.Put(1)->SetButton(60, 20, "WWW", haLeft, vaTop);
    const TRect W = PaintSheet::CellAt(0, 1);
    S.Draw(W, 1);
    EXPECT_EQ(S.At(W.Left + 5, W.Top + 5), TColor(0x00E0C0A0)) << "the background tone";
    EXPECT_EQ(S.At(W.Left + 2, W.Top + 2), TColor(0x00806040)) << "its border";
    int Caption = 0; // the caption's pixels: dark green channel, unlike the face and the border
    for (int y = W.Top + 4; y < W.Top + 20; ++y)
        for (int x = W.Left + 4; x < W.Left + 60; ++x) Caption += ((S.At(x, y) >> 8) & 0xFF) < 0x40;
    EXPECT_GT(Caption, 10) << "the caption in the background tone's text colour";
}

// A rotated header gets the sort glyph only where a header can: in a fixed row of a grid that
// has rows below it.
TEST(CellGraphicPaintCompare, RotatedSortHeaderGetsTheGlyphOnlyAboveRows) {
    for (const int Rows : {16, 2}) {
        SCOPED_TRACE(Rows);
        PaintSheet S;
        S.G->SetFixedRows(1);
        S.G->SortSettings()->SetRow(0);
        S.G->SortSettings()->SetShow(true);
        S.G->SortSettings()->SetColumn(PaintSheet::RealCol);
        S.G->SetRowCount(Rows);
        S.Put(0)->SetAngle(90);
        const TRect W = PaintSheet::CellAt(100, 0);
        S.Draw(W, 0);
        // the outlined triangle of the glyph, 10 pixels left of the object's right edge; a
        // rotated text object has no width, so that edge is the left one
        const int Grey = S.Count(Rect(W.Left - 20, W.Top, W.Left + 4, W.Top + 16), clGray);
        if (Rows > 2)
            EXPECT_GT(Grey, 3);
        else
            EXPECT_EQ(Grey, 0) << "a header row with no row under it";
    }
}

TEST(CellGraphicPaintCompare, AButtonLeftOfTheCellKeepsANegativeOffset) {
    PaintSheet S;
    auto* CG = S.Put(1);
    CG->SetButton(CellW + 40, 20, "Wide", haRight, vaTop);
    const TRect W = PaintSheet::CellAt(100, 1);
    S.Draw(W, 1);
    EXPECT_EQ(CG->ButtonOffset().X, (CellW - 2) - (CellW + 40)) << "right edge G.Right - 1, width beyond the cell";
    EXPECT_LT(CG->ButtonOffset().X, 0);
    EXPECT_EQ(CG->ButtonOffset().Y, 2);
}

TEST(CellGraphicPaintCompare, ExtentFollowsTheKind) {
    PaintSheet S;
    S.Put(1)->SetCheckBox(true, true, false, haLeft, vaTop);
    auto E = S.G->CellGraphicExtent(PaintSheet::RealCol, 1);
    EXPECT_EQ(E.Width, 15);
    EXPECT_FALSE(E.DrawText);
    S.Put(2)->SetButton(33, 17, "b", haLeft, vaTop);
    E = S.G->CellGraphicExtent(PaintSheet::RealCol, 2);
    EXPECT_EQ(E.Width, 33);
    EXPECT_EQ(E.Height, 17);
    EXPECT_TRUE(E.DrawText);
    auto* Shape = S.Put(3);
    Shape->SetCellType(ctShape);
    E = S.G->CellGraphicExtent(PaintSheet::RealCol, 3);
    EXPECT_EQ(E.Width, CellH - 4);
    auto* Rating = S.Put(4);
    Rating->SetCellType(ctRating);
    Rating->SetCellAngle(4);
    E = S.G->CellGraphicExtent(PaintSheet::RealCol, 4);
    EXPECT_EQ(E.Width, 72);
    EXPECT_EQ(E.Height, 16);
    EXPECT_EQ(S.G->CellGraphicExtent(PaintSheet::RealCol, 5).Graphic, nullptr);
    EXPECT_TRUE(S.G->CellGraphicExtent(PaintSheet::RealCol, 5).DrawText);
}

TEST(CellGraphicPaintCompare, SortIndexShowsTheNumberOfTheSecondColumnOnly) {
    PaintSheet S;
    S.G->SortSettings()->SetIndexShow(true);
    S.G->SortIndexes()->AddIndex(3, true);
    S.G->SortIndexes()->AddIndex(2, false);
    S.G->SortSettings()->SetIndexColor(clYellow);
    S.G->DrawSortGlyph(S.Sheet.Canvas(), 2, 20, 20);
    S.G->DrawSortGlyph(S.Sheet.Canvas(), 4, 20, 60);
    EXPECT_EQ(S.At(15, 16), clYellow) << "a descending key's triangle";
    EXPECT_EQ(S.At(55, 16), Back) << "a column without a key shows nothing";
}

// One sheet with every kind, for a person to look at.
TEST(CellGraphicPaintSheet, EveryKindOnOneSheet) {
    PaintSheet S;
    const auto All = Cases();
    int Row = 0, X = 0;
    for (const PaintCase& C : All) {
        PaintSheet One; // each case in its own grid, copied onto the sheet
        C.Setup(One, 3);
        const TRect W = PaintSheet::CellAt(X, Row);
        One.Draw(PaintSheet::CellAt(0, 3), 3);
        S.Sheet.Canvas()->CopyRect(W, One.Sheet.Canvas(), PaintSheet::CellAt(0, 3));
        S.Sheet.Canvas()->Font()->SetSize(7);
        S.Sheet.Canvas()->Brush()->SetStyle(bsClear);
        S.Sheet.Canvas()->TextOut(X + CellW + 4, Row * CellH + 8, QString::fromLatin1(C.Name));
        S.Sheet.Canvas()->Pen()->SetColor(clSilver);
        S.Sheet.Canvas()->Brush()->SetStyle(bsClear);
        S.Sheet.Canvas()->Rectangle(W);
        if (++Row == 16) {
            Row = 0;
            X = 320;
        }
    }
    const QString Path = QDir(QCoreApplication::applicationDirPath()).filePath("cell_graphics_sheet.png");
    ASSERT_TRUE(SaveBitmapPng(S.Sheet, Path));
    EXPECT_EQ(S.At(4, 10), clBlack) << "the first case's tick on the sheet";
}

} // namespace
