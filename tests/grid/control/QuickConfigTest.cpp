// The quick-configuration box of a grid being designed: hit test, clicks, the look menu and
// repaints; at run time it is neither drawn nor hit.
#include "grid/control/ExtGrid.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

// A grid a test can put into the designer's state.
class TDesignGrid : public TExtStringGrid {
public:
    using TExtStringGrid::SetComponentState;
    using TExtStringGrid::TExtStringGrid;
};

class QuickConfig : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TDesignGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(6);
        G->HideColumn(1);
        G->SetBounds(0, 0, 400, 300);
        TCanvas Measure;
        Measure.Font()->SetName("Tahoma");
        Measure.Font()->SetSize(8);
        th = Measure.TextHeight("gh");
    }
    void Design() { G->SetComponentState(G->ComponentState() << csDesigning); }
    // A point inside item 1 .. 3 (the rows under the title) or on the close glyph (4).
    TPoint ItemPoint(int Item) {
        const TRect B = G->DesignHelperRect();
        const int s = th + 2;
        if (Item == 4) return Point(B.Right - 8, B.Top + 8);
        return Point(B.Left + 6, B.Top + Item * s + 4 + s / 2);
    }
    std::unique_ptr<TDesignGrid> G;
    int th = 0;
};

TEST_F(QuickConfig, AtRunTimeNothingIsHitOrDrawn) {
    const TPoint P = ItemPoint(1);
    EXPECT_EQ(G->DesignHelperHitTest(P.X, P.Y), -1);
    EXPECT_FALSE(G->HandleDesignHitTest(P.X, P.Y));
    const TGridOptions Before = G->Options();
    G->DesignHelperClick(P.X, P.Y);
    EXPECT_EQ(G->Options(), Before);
    TBitmap B(400, 300);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 400, 300));
    G->PaintDesignHelperOn(B.Canvas());
    EXPECT_EQ(B.Canvas()->Pixels(300, 295), clWhite);
}

TEST_F(QuickConfig, ItemsAreFoundWhereTheyAreDrawn) {
    Design();
    for (int Item = 1; Item <= 4; ++Item) {
        const TPoint P = ItemPoint(Item);
        EXPECT_EQ(G->DesignHelperHitTest(P.X, P.Y), Item) << Item;
    }
    EXPECT_EQ(G->DesignHelperHitTest(10, 10), -1);
    G->SetShowDesignHelper(false);
    EXPECT_EQ(G->DesignHelperHitTest(ItemPoint(1).X, ItemPoint(1).Y), -1);
}

TEST_F(QuickConfig, AllowEditTwiceLeavesTheOptions) {
    Design();
    const TGridOptions Before = G->Options();
    const TPoint P = ItemPoint(1);
    G->DesignHelperClick(P.X, P.Y);
    EXPECT_EQ(G->Options().Contains(goEditing), !Before.Contains(goEditing));
    G->DesignHelperClick(P.X, P.Y);
    EXPECT_EQ(G->Options(), Before);
}

TEST_F(QuickConfig, ColumnNumbersToggleAndCloseHidesTheBox) {
    Design();
    G->DesignHelperClick(ItemPoint(2).X, ItemPoint(2).Y);
    EXPECT_TRUE(G->ColumnNumbersShown());
    G->DesignHelperClick(ItemPoint(4).X, ItemPoint(4).Y);
    EXPECT_FALSE(G->ShowDesignHelper());
}

TEST_F(QuickConfig, LookMenuOffersTheLooksAndSetsTheChosenOne) {
    Design();
    G->SetLook(glXP);
    QStringList SeenEntries;
    std::vector<int> SeenCommands;
    int Checked = 0;
    int Answer = 9;
    G->DesignLookMenu = [&](const QStringList& Entries, const std::vector<int>& Commands, int CheckedCommand, TPoint) {
        SeenEntries = Entries;
        SeenCommands = Commands;
        Checked = CheckedCommand;
        return Answer;
    };
    G->DesignHelperClick(ItemPoint(3).X, ItemPoint(3).Y);
    EXPECT_EQ(SeenEntries,
              (QStringList{"Standard", "Soft", "Classic", "Ext", "ListView", "Office 2007", "Windows XP",
                           "Windows Vista", "Windows 7"}));
    EXPECT_EQ(SeenCommands, (std::vector<int>{1, 2, 3, 4, 6, 9, 5, 7, 8}));
    EXPECT_EQ(Checked, int(glXP) + 1);
    EXPECT_EQ(G->Look(), glOffice2007);
    Answer = 0; // dismissed
    G->DesignHelperClick(ItemPoint(3).X, ItemPoint(3).Y);
    EXPECT_EQ(G->Look(), glOffice2007);
}

// The look names the box shows after "Set look: "; a custom look has none.
TEST(QuickConfigLookNames, DisplayNamesOfTheLooks) {
    const std::pair<TGridLook, const char*> Names[] = {{glStandard, "Standard"},     {glSoft, "Soft"},
                                                       {glClassic, "Classic"},       {glExt, "Ext"},
                                                       {glXP, "Windows XP"},         {glListView, "ListView"},
                                                       {glVista, "Windows Vista"},   {glWin7, "Windows 7"},
                                                       {glOffice2007, "Office2007"}, {glCustom, ""}};
    for (const auto& [Look, Name] : Names) EXPECT_EQ(TExtStringGrid::LookDisplayName(Look), QString(Name)) << Name;
}

TEST_F(QuickConfig, MovingWithinOneItemDoesNotRepaint) {
    Design();
    const TPoint P = ItemPoint(1);
    EXPECT_TRUE(G->HandleDesignHitTest(P.X, P.Y));
    const int After = G->DesignHelperRepaints();
    EXPECT_TRUE(G->HandleDesignHitTest(P.X + 3, P.Y));
    EXPECT_EQ(G->DesignHelperRepaints(), After);
    EXPECT_TRUE(G->HandleDesignHitTest(ItemPoint(2).X, ItemPoint(2).Y));
    EXPECT_EQ(G->DesignHelperRepaints(), After + 1);
    EXPECT_FALSE(G->HandleDesignHitTest(10, 10));
}

TEST_F(QuickConfig, BoxIsDrawnInTheBottomRightCorner) {
    Design();
    G->SetOptions(G->Options() << goEditing);
    TBitmap B(400, 300);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 400, 300));
    G->PaintDesignHelperOn(B.Canvas());
    const TRect Box = G->DesignHelperRect();
    EXPECT_EQ(Box.Right, 400);
    EXPECT_EQ(Box.Bottom, 300);
    EXPECT_EQ(B.Canvas()->Pixels(Box.Left, Box.Top + 10), clGray) << "the frame";
    EXPECT_EQ(B.Canvas()->Pixels(Box.Right - 40, Box.Bottom - 3), ColorToRGB(clInfoBk));
    EXPECT_EQ(B.Canvas()->Pixels(Box.Left - 1, Box.Top + 10), clWhite);
    // the "Allow edit" box: the XP check glyph at (Left + 4, Top + th + 4), ticked in green
    const int X0 = Box.Left + 4, Y0 = Box.Top + th + 4;
    int Green = 0;
    for (int y = Y0; y < Y0 + 15; ++y)
        for (int x = X0; x < X0 + 15; ++x) Green += B.Canvas()->Pixels(x, y) == 0x0021A121;
    EXPECT_GT(Green, 4);
}

} // namespace
