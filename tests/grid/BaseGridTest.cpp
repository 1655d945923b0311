// The cell store: text through base cells, merged areas, cell records and navigation.
#include "grid/base/BaseGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A graphic class the records own (matched by its name), counting its deaths.
int GraphicsAlive = 0;
class TCellGraphic : public TObject {
public:
    TCellGraphic() { ++GraphicsAlive; }
    ~TCellGraphic() override { --GraphicsAlive; }
};
class TOtherGraphic : public TObject {};

// A grid that keeps one hidden column after its visible ones, as the string grid does: storage
// column ColCount() is hidden, so TotalColCount() is ColCount() + 1.
class TTestGrid : public TBaseGrid {
public:
    explicit TTestGrid(TComponent* AOwner) : TBaseGrid(AOwner) {}
    int TotalColCount() const override { return ColCount() + 1; }
    void CellTextChanged(int ACol, int ARow) override { Changed.push_back(Point(ACol, ARow)); }
    void UpdateHiddenLastRow() override { ++HiddenLastRowUpdates; }
    void Invalidate() override {
        ++Invalidations;
        TBaseGrid::Invalidate();
    }
    std::vector<TPoint> Changed;
    int HiddenLastRowUpdates = 0;
    int Invalidations = 0;
};

class BaseGrid : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TTestGrid>(nullptr);
        G->SetColCount(6); // storage columns 0..5 shown, 6 hidden
        G->SetRowCount(6);
        G->SetDefaultColWidth(50);
        G->SetDefaultRowHeight(20);
        G->SetBounds(0, 0, 400, 200);
        for (int c = 0; c <= Hidden; ++c)
            for (int r = 0; r < 6; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
    }
    static constexpr int Hidden = 6;
    TOtherGraphic Obj; // an object the grid does not own; outlives the grid
    std::unique_ptr<TTestGrid> G;
};

TEST_F(BaseGrid, TextOfACoveredCellGoesToTheBaseAndSplitShowsTheOldTexts) {
    G->MergeCells(1, 1, 3, 2); // columns 1..3, rows 1..2
    G->SetCellEx(3, 2, "x");
    EXPECT_EQ(G->GetGridCell(1, 1), "x");
    EXPECT_EQ(G->GetGridCell(3, 2), "3,2");
    ASSERT_FALSE(G->Changed.empty());
    EXPECT_EQ(G->Changed.back(), Point(1, 1));
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) EXPECT_EQ(G->GetCellEx(c, r), "x") << c << "," << r;
    EXPECT_EQ(G->GetCellEx(4, 1), "4,1");

    G->SplitCells(2, 2); // any cell of the area splits all of it
    EXPECT_EQ(G->GetCellEx(3, 2), "3,2");
    EXPECT_EQ(G->GetCellEx(2, 1), "2,1");
    EXPECT_EQ(G->GetCellEx(1, 1), "x");
    EXPECT_FALSE(G->IsMergedCell(1, 1));
    EXPECT_EQ(G->MergeCount(), 0);
}

TEST_F(BaseGrid, SpanQueriesOfA3By2Area) {
    G->MergeCells(1, 2, 3, 2);
    for (int c = 1; c <= 3; ++c) {
        for (int r = 2; r <= 3; ++r) {
            SCOPED_TRACE(QString("%1,%2").arg(c).arg(r).toStdString());
            EXPECT_EQ(G->CellSpan(c, r), Point(2, 1));
            EXPECT_EQ(G->BaseCell(c, r), Point(1, 2));
            EXPECT_TRUE(G->IsMergedCell(c, r));
            EXPECT_TRUE(G->IsXMergedCell(c, r));
            EXPECT_TRUE(G->IsYMergedCell(c, r));
            EXPECT_EQ(G->IsBaseCell(c, r), c == 1 && r == 2);
            EXPECT_EQ(G->IsMergedNonBaseCell(c, r), !(c == 1 && r == 2));
            EXPECT_EQ(G->FullCell(c, r), GridRect(1, 2, 3, 3));
        }
    }
    EXPECT_EQ(G->CellExt(2, 3), Point(1, 0));
    EXPECT_EQ(G->CellExt(1, 2), Point(2, 1));
    int bc = 0, br = 0;
    EXPECT_FALSE(G->ResolveBaseCell(3, 3, bc, br));
    EXPECT_EQ(Point(bc, br), Point(1, 2));
    EXPECT_TRUE(G->ResolveBaseCell(1, 2, bc, br));
    EXPECT_EQ(G->MinRowSpan(2), 1);
    EXPECT_EQ(G->MaxRowSpan(2), 1);
    EXPECT_EQ(G->MaxRowSpan(1), 0);
    EXPECT_EQ(G->MinRowSpan(1), G->RowCount());
}

TEST_F(BaseGrid, UnmergedAndOneByOneCellsAreNotMerged) {
    G->MergeCells(4, 4, 1, 1);
    struct Case {
        int c, r;
        const char* what;
    } Cases[] = {{4, 4, "1x1 merge"}, {2, 2, "no record"}};
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.what);
        EXPECT_FALSE(G->IsMergedCell(K.c, K.r));
        EXPECT_TRUE(G->IsBaseCell(K.c, K.r));
        EXPECT_FALSE(G->IsXMergedCell(K.c, K.r));
        EXPECT_EQ(G->CellSpan(K.c, K.r), Point(0, 0));
        EXPECT_EQ(G->CellExt(K.c, K.r), Point(0, 0));
        EXPECT_EQ(G->FullCell(K.c, K.r), GridRect(K.c, K.r, K.c, K.r));
    }
    EXPECT_FALSE(G->HasCellProperties(2, 2));
    EXPECT_TRUE(G->HasCellProperties(4, 4));
}

TEST_F(BaseGrid, MergeCountMovesEvenWhenNothingMerges) {
    G->MergeCells(1, 1, 0, 3);
    EXPECT_EQ(G->MergeCount(), 1);
    EXPECT_FALSE(G->HasCellProperties(1, 1));
    G->SplitCells(2, 2); // not merged: a record appears, nothing is reset
    EXPECT_EQ(G->MergeCount(), 0);
    EXPECT_TRUE(G->HasCellProperties(2, 2));
    EXPECT_EQ(G->GetCellProperties(2, 2)->CellSpanX(), -1);
}

TEST_F(BaseGrid, HiddenColumnKeepsItsMergesAndCellsBeyondTheStoreReadRaw) {
    G->MergeCells(Hidden, 1, 1, 3); // rows 1..3 of the hidden storage column
    G->SetCellEx(Hidden, 3, "h");
    EXPECT_EQ(G->GetGridCell(Hidden, 1), "h");
    EXPECT_EQ(G->GetCellEx(Hidden, 2), "h");
    EXPECT_EQ(G->CellSpan(Hidden, 2), Point(0, 2));

    // Outside TotalColCount the store does not resolve: a record there counts for nothing.
    G->MergeCells(Hidden + 1, 1, 1, 2);
    EXPECT_FALSE(G->HasCellProperties(Hidden + 1, 2));
    EXPECT_FALSE(G->IsMergedCell(Hidden + 1, 2));
    G->SetCellEx(Hidden + 1, 2, "raw");
    EXPECT_EQ(G->GetGridCell(Hidden + 1, 2), "raw");
    EXPECT_EQ(G->GetGridCell(Hidden + 1, 1), "");
}

TEST_F(BaseGrid, NegativeRowReachesThePlatformListError) {
    EXPECT_THROW(G->GetCellEx(1, -1), EListError);
    EXPECT_THROW(G->GetCellProperties(1, -1), EListError);
}

TEST_F(BaseGrid, WritingTheLastRowOfAGridWithAHiddenLastRowRunsItsHook) {
    G->SetCellEx(1, 5, "a");
    EXPECT_EQ(G->HiddenLastRowUpdates, 0);
    G->SetHideLastRow(true);
    G->SetCellEx(1, 4, "a");
    EXPECT_EQ(G->HiddenLastRowUpdates, 0);
    G->SetCellEx(1, 5, "b");
    EXPECT_EQ(G->HiddenLastRowUpdates, 1);
}

TEST_F(BaseGrid, DisplayHooksRunOnlyForNormalRows) {
    G->SetNormalRowCount(3);
    G->OnGetDisplText = [](TObject*, int, int, QString& V) { V = "<" + V + ">"; };
    EXPECT_EQ(G->GetCellEx(1, 2), "<1,2>");
    EXPECT_EQ(G->GetCellEx(1, 3), "1,3");
    EXPECT_EQ(G->GetGridCell(1, 2), "1,2");

    G->MergeCells(1, 1, 1, 3); // rows 1..3: the covered row 3 reads its base row 1, a normal row
    EXPECT_EQ(G->GetCellEx(1, 3), "<1,1>");

    QString Seen;
    G->OnGetDisplWideText = [&Seen](TObject*, int, int, QString& V) {
        Seen = V;
        V += QChar(0x20AC);
    };
    const QString Out = G->GetCellEx(2, 0);
    EXPECT_EQ(Seen, "<2,0>");
    EXPECT_TRUE(Out.startsWith("|\\"));
    EXPECT_EQ(DecodeWideCellText(Out), QString("<2,0>") + QChar(0x20AC));
    EXPECT_EQ(G->GetCellEx(2, 4), "2,4");
}

TEST_F(BaseGrid, NewRecordIsSeededFromTheGridDefaults) {
    G->SetWordWrap(false);
    G->SetColor(0x123456);
    G->Font()->SetName("Verdana");
    TCellProperties* P = G->GetCellProperties(2, 3);
    EXPECT_FALSE(P->WordWrap());
    EXPECT_EQ(P->BrushColor(), TColor(0x123456));
    EXPECT_EQ(P->BrushColorTo(), clNone);
    EXPECT_EQ(P->FontName(), "Verdana");
    EXPECT_EQ(P->Alignment(), taLeftJustify);
    EXPECT_EQ(P->VAlignment(), vtaTop);
    EXPECT_EQ(P->OwnerCol(), 2);
    EXPECT_EQ(P->OwnerRow(), 3);
    EXPECT_EQ(G->GetCellProperties(2, 3), P); // created once
    EXPECT_TRUE(G->HasCellProps());

    TCellProperties Fresh(nullptr, 0, 0);
    EXPECT_EQ(Fresh.BrushColor(), clNone); // not set: the grid's colour paints
    EXPECT_EQ(Fresh.CellSpanX(), -1);
    EXPECT_EQ(Fresh.Editor(), edNormal);
}

TEST_F(BaseGrid, AssignKeepsGradientEndAndGraphic) {
    TOtherGraphic GA, GB; // outlive the records that point at them
    TCellProperties A(nullptr, 1, 1), B(nullptr, 2, 2);
    A.SetBrushColor(0x11);
    A.SetBrushColorTo(0x22);
    A.SetGraphicObject(&GA);
    A.SetFontName("Arial");
    A.SetCellSpanX(3);
    A.SetGradientDirection(GradientHorizontal);
    B.SetBrushColorTo(0x99);
    B.SetGraphicObject(&GB);
    B.Assign(&A);
    EXPECT_EQ(B.BrushColor(), TColor(0x11));
    EXPECT_EQ(B.FontName(), "Arial");
    EXPECT_EQ(B.CellSpanX(), 3);
    EXPECT_EQ(B.OwnerCol(), 1);
    EXPECT_EQ(B.BrushColorTo(), TColor(0x99));
    EXPECT_EQ(B.GraphicObject(), &GB);
    EXPECT_EQ(B.GradientDirection(), GradientVertical);
}

TEST_F(BaseGrid, ObjectsAttachWithoutChangingTheText) {
    G->SetGridCell(2, 2, "");
    G->SetObjectEx(2, 2, &Obj);
    EXPECT_EQ(G->GetCellEx(2, 2), "");
    EXPECT_EQ(G->GetObjectEx(2, 2), &Obj);
    EXPECT_EQ(G->GetObjectEx(3, 3), nullptr);
    EXPECT_FALSE(G->HasCellProperties(3, 3)); // reading does not create

    G->SetGraphicObjectEx(4, 4, &Obj);
    EXPECT_EQ(G->GetGraphicObjectEx(4, 4), &Obj);
    EXPECT_EQ(G->GetCellEx(4, 4), "4,4");
    EXPECT_EQ(TBaseGrid::PropsGraphicObject(G->GetCellProperties(4, 4)), &Obj);
    G->FreeCellProps(4, 4); // a graphic of another class stays its owner's
    EXPECT_FALSE(G->HasCellProperties(4, 4));
}

TEST_F(BaseGrid, CellGraphicsDieWithTheirRecordWhereverItLives) {
    GraphicsAlive = 0;
    G->SetGraphicObjectEx(1, 1, new TCellGraphic);
    G->SetGraphicObjectEx(2, 2, new TCellGraphic);
    G->SetGraphicObjectEx(Hidden, 3, new TCellGraphic); // beyond ColCount
    G->SetGraphicObjectEx(1, 4, new TCellGraphic);
    EXPECT_EQ(GraphicsAlive, 4);
    G->FreeCellPropsRect(1, 1, 1, 1);
    EXPECT_EQ(GraphicsAlive, 3);
    G->FreeCellProps(2, 2);
    EXPECT_EQ(GraphicsAlive, 2);
    G->ClearCellAndObject(1, 4); // slot emptied, record kept alive by nobody but the grid
    EXPECT_EQ(G->GetGridObject(1, 4), nullptr);
    G.reset();
    EXPECT_EQ(GraphicsAlive, 0);
}

TEST_F(BaseGrid, SetCellPropertiesReplacesAndFreesTheOldRecord) {
    GraphicsAlive = 0;
    G->SetGraphicObjectEx(1, 1, new TCellGraphic);
    auto* Mine = new TCellProperties(G.get(), 1, 1);
    G->SetCellProperties(1, 1, Mine);
    EXPECT_EQ(GraphicsAlive, 0);
    EXPECT_EQ(G->GetCellProperties(1, 1), Mine);
    G->SetCellProperties(1, 1, nullptr);
    EXPECT_FALSE(G->HasCellProperties(1, 1));
}

TEST_F(BaseGrid, SpanIdentity) {
    EXPECT_FALSE(G->ColSpanIdentical(1, 2)); // nothing merged
    G->MergeCells(1, 2, 2, 1); // one area over columns 1 and 2 in row 2
    EXPECT_TRUE(G->ColSpanIdentical(1, 2));
    G->MergeCells(3, 4, 2, 1); // column 3 merged in row 4, column 2 not
    EXPECT_FALSE(G->ColSpanIdentical(2, 3));

    EXPECT_FALSE(G->RowSpanIdentical(1, 2));
    G->MergeCells(5, 1, 1, 3); // rows 1..3 of column 5
    EXPECT_TRUE(G->RowSpanIdentical(1, 3));
    G->MergeCells(0, 1, 1, 2); // column 0: rows 1..2 and 3..4 are two areas
    G->MergeCells(0, 3, 1, 2);
    EXPECT_TRUE(G->RowSpanIdentical(1, 2));
    EXPECT_FALSE(G->RowSpanIdentical(2, 3));
}

TEST_F(BaseGrid, CellRectCoversTheWholeAreaAlsoOverAZeroWidthColumn) {
    const TRect Plain = G->CellRect(2, 2);
    EXPECT_EQ(Plain.Width(), 50);
    EXPECT_EQ(Plain.Height(), 20);
    EXPECT_EQ(G->CellRectAnywhere(2, 2), Plain);

    G->MergeCells(2, 1, 3, 2);
    const TRect Area = G->CellRect(3, 2);
    EXPECT_EQ(Area.Left, G->CellRectAnywhere(2, 1).Left);
    EXPECT_EQ(Area.Top, G->CellRectAnywhere(2, 1).Top);
    EXPECT_EQ(Area.Right, G->CellRectAnywhere(4, 2).Right);
    EXPECT_EQ(Area.Bottom, G->CellRectAnywhere(4, 2).Bottom);
    EXPECT_EQ(G->CellSize(2, 1), Point(150, 40));
    const TCustomGrid* Platform = G.get(); // code that only knows the platform grid sees the area too
    EXPECT_EQ(Platform->CellRect(3, 2), Area);

    G->SetColWidths(2, 0);
    const TRect Narrow = G->CellRect(2, 1);
    EXPECT_EQ(Narrow.Right, G->CellRectAnywhere(4, 2).Right);
    EXPECT_EQ(Narrow.Width(), 100);
}

TEST_F(BaseGrid, LineAndLookSetters) {
    EXPECT_EQ(G->GridLineWidth(), 1);
    EXPECT_FALSE(G->DefaultDrawing());
    // Every line is drawn inside the cells: the platform leaves no gap between them, whatever
    // the width.
    for (int Width : {1, 3, 0}) {
        G->SetGridLineWidth(Width);
        EXPECT_EQ(G->GridLineWidth(), Width);
        EXPECT_EQ(G->CellRect(1, 1).Right, G->CellRect(2, 1).Left) << Width;
        EXPECT_EQ(G->CellRect(1, 1).Bottom, G->CellRect(1, 2).Top) << Width;
    }
    G->SetGridLineWidth(1);
    G->SetDefaultDrawing(true);
    EXPECT_TRUE(G->DefaultDrawing());
    EXPECT_EQ(G->GridLineColor(), clSilver);
    EXPECT_EQ(G->GridFixedLineColor(), clGray);
    EXPECT_EQ(G->HoverRowCells(), THoverRowCells({hcNormal, hcSelected}));

    const int Before = G->Invalidations;
    G->SetActiveRowColor(clInfoBk); // unchanged: no repaint
    EXPECT_EQ(G->Invalidations, Before);
    G->SetActiveRowColor(0xFF);
    G->SetGridLineColor(clSilver); // line colours repaint always
    EXPECT_EQ(G->Invalidations, Before + 2);
}

// ---- navigation --------------------------------------------------------------------------------
TEST_F(BaseGrid, ArrowsStepOverMergedAreas) {
    G->MergeCells(1, 1, 3, 1); // columns 1..3 of row 1
    G->MergeCells(2, 2, 1, 3); // rows 2..4 of column 2

    G->SetCol(1);
    G->SetRow(1);
    Word Key = VK_RIGHT;
    G->KeyDown(Key, {});
    EXPECT_EQ(G->Col(), 4);
    EXPECT_EQ(G->Row(), 1);

    G->SetCol(2);
    G->SetRow(2);
    Key = VK_DOWN;
    G->KeyDown(Key, {});
    EXPECT_EQ(G->Row(), 5);
    EXPECT_EQ(G->Col(), 2);

    // Down from row 1 column 2 lands in the vertical area and snaps onto its base.
    G->SetCol(4);
    G->SetRow(1);
    Key = VK_LEFT;
    G->KeyDown(Key, {}); // into the horizontal area: its base
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 1);

    G->SetCol(2);
    G->SetRow(5);
    Key = VK_UP;
    G->KeyDown(Key, {});
    EXPECT_EQ(G->Row(), 2);
    EXPECT_EQ(G->Col(), 2);
}

TEST_F(BaseGrid, RightIntoAnotherAreaLandsOnItsBase) {
    G->MergeCells(1, 2, 2, 1); // columns 1..2 of row 2
    G->MergeCells(3, 1, 2, 2); // columns 3..4, rows 1..2: column 3 of row 2 is covered
    G->SetCol(1);
    G->SetRow(2);
    Word Key = VK_RIGHT;
    G->KeyDown(Key, {});
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(G->Row(), 1);
}

TEST_F(BaseGrid, LeftAndUpFromACoveredCellLeaveTheArea) {
    G->MergeCells(2, 2, 3, 3); // columns 2..4, rows 2..4
    G->SetCol(4);
    G->SetRow(3); // a covered cell, set by program
    Word Key = VK_LEFT;
    G->KeyDown(Key, {});
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 3);

    G->SetCol(3);
    G->SetRow(4);
    Key = VK_UP;
    G->KeyDown(Key, {});
    EXPECT_EQ(G->Row(), 1);
    EXPECT_EQ(G->Col(), 3);

    G->MergeCells(1, 1, 2, 1); // base at column 1: stepping left from its covered cell
    G->SetCol(2);
    G->SetRow(1);
    Key = VK_LEFT;
    EXPECT_NO_THROW(G->KeyDown(Key, {}));
    EXPECT_EQ(G->Col(), 1);
}

} // namespace
