// The grid's settings records: the values they start with, which writers repaint, and what each
// copy takes over and what it leaves.
#include "grid/base/ExtObj.h"
#include "grid/control/ExtGrid.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A grid that counts its repaints.
class TCountingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void Invalidate() override {
        ++Repaints;
        TExtStringGrid::Invalidate();
    }
    int Repaints = 0;
};

TEST(GridSettings, NewRecordsStartWithTheirValues) {
    TCountingGrid G(nullptr);
    TCellNode* N = G.CellNode();
    EXPECT_EQ(N->Owner(), &G);
    EXPECT_EQ(N->Color(), clSilver);
    EXPECT_EQ(N->NodeType(), cnXP);
    EXPECT_EQ(N->NodeColor(), clBlack);
    EXPECT_TRUE(N->ExpandGlyph()->Empty());
    EXPECT_TRUE(N->ShowTree());
    EXPECT_TRUE(N->ShowTreeFull());
    EXPECT_EQ(N->NodeIndent(), 12);
    EXPECT_EQ(N->TreeColor(), clGray);

    TColumnSize* CS = G.ColumnSize();
    EXPECT_EQ(CS->Owner(), &G);
    EXPECT_EQ(CS->StretchColumn(), -1);
    EXPECT_EQ(CS->Location(), clRegistry);
    EXPECT_EQ(CS->Rows(), arAll);

    THTMLSettings* H = G.HTMLSettings();
    EXPECT_TRUE(H->SaveColor());
    EXPECT_TRUE(H->SaveFonts());
    EXPECT_TRUE(H->ExportImages());
    EXPECT_EQ(H->BorderSize(), 1);
    EXPECT_EQ(H->Width(), 100);
    EXPECT_EQ(H->ColWidths()->Count(), 0);

    TPrintSettings* P = G.PrintSettings();
    EXPECT_EQ(P->Grid(), &G);
    EXPECT_EQ(P->Borders(), pbSingle);
    EXPECT_TRUE(P->Centered());
    EXPECT_TRUE(P->UseDisplayFont());
    EXPECT_EQ(P->DateFormat(), "dd/mm/yyyy");
    EXPECT_EQ(P->PageNumSep(), "/");
    EXPECT_EQ(P->FitToPage(), fpNever);
    EXPECT_EQ(P->Orientation(), poPortrait);
    EXPECT_EQ(P->BorderColor(), clBlack);

    EXPECT_FALSE(G.SizeWhileTyping()->Height());
    EXPECT_FALSE(G.SizeWhileTyping()->Width());
}

TEST(GridSettings, NodeWritersRepaintOnlyOnAChange) {
    TCountingGrid G(nullptr);
    TCellNode* N = G.CellNode();
    G.Repaints = 0;
    N->SetNodeIndent(12);
    EXPECT_EQ(G.Repaints, 0);
    N->SetNodeIndent(16);
    EXPECT_EQ(G.Repaints, 1);
    N->SetNodeType(cnFlat);
    N->SetShowTree(false);
    N->SetShowTreeFull(false);
    N->SetTreeColor(clRed);
    EXPECT_EQ(G.Repaints, 5);
    N->SetColor(clRed); // stored without a repaint
    N->SetNodeColor(clBlue);
    EXPECT_EQ(G.Repaints, 5);
}

TEST(GridSettings, NodeGlyphsAreCopiesOfWhatWasGiven) {
    TCountingGrid G(nullptr);
    auto Glyph = std::make_unique<TBitmap>(9, 7);
    G.CellNode()->SetExpandGlyph(Glyph.get());
    Glyph.reset();
    EXPECT_EQ(G.CellNode()->ExpandGlyph()->Width(), 9);
    EXPECT_EQ(G.CellNode()->ExpandGlyph()->Height(), 7);
}

TEST(GridSettings, NodeAssignCopiesANodeAndIgnoresOtherRecords) {
    TCountingGrid A(nullptr), B(nullptr);
    TBitmap Glyph(5, 5);
    B.CellNode()->SetNodeType(cnLeaf);
    B.CellNode()->SetColor(clAqua);
    B.CellNode()->SetContractGlyph(&Glyph);
    B.CellNode()->SetExpandOne(true);
    A.CellNode()->Assign(B.CellNode());
    EXPECT_EQ(A.CellNode()->NodeType(), cnLeaf);
    EXPECT_EQ(A.CellNode()->Color(), clAqua);
    EXPECT_TRUE(A.CellNode()->ExpandOne());
    EXPECT_EQ(A.CellNode()->ContractGlyph()->Width(), 5);
    EXPECT_NE(A.CellNode()->ContractGlyph(), B.CellNode()->ContractGlyph());

    A.ColumnSize()->SetKey("k");
    A.CellNode()->Assign(A.ColumnSize()); // a column-size record changes nothing
    EXPECT_EQ(A.CellNode()->NodeType(), cnLeaf);
    EXPECT_EQ(A.CellNode()->Color(), clAqua);
}

TEST(GridSettings, ColumnSizeAssignCopiesEverySetting) {
    TColumnSize A, B;
    B.SetSave(true);
    B.SetKey("Software\\Grid");
    B.SetSection("Cols");
    B.SetLocation(clIniFile);
    B.SetStretchColumn(3);
    B.SetSynchWithGrid(true);
    B.SetSynchNormalCellsOnly(true);
    B.SetRows(arFixed);
    bool Stretched = false;
    A.OnStretchChange = [&](TObject*) { Stretched = true; };
    A.Assign(&B);
    EXPECT_TRUE(A.Save());
    EXPECT_EQ(A.Key(), "Software\\Grid");
    EXPECT_EQ(A.Section(), "Cols");
    EXPECT_EQ(A.Location(), clIniFile);
    EXPECT_EQ(A.StretchColumn(), 3);
    EXPECT_TRUE(A.SynchWithGrid());
    EXPECT_TRUE(A.SynchNormalCellsOnly());
    EXPECT_EQ(A.Rows(), arFixed);
    EXPECT_FALSE(Stretched);
    TCellNode Node(nullptr);
    A.Assign(&Node); // ignored
    EXPECT_EQ(A.Key(), "Software\\Grid");
}

TEST(GridSettings, HTMLAssignKeepsTheTargetsWidthsAndImageSwitch) {
    THTMLSettings A, B;
    B.SetBorderSize(3);
    B.SetTableStyle("x");
    B.SetXHTML(true);
    B.SetNonBreakingText(true);
    B.SetExportImages(false);
    B.ColWidths()->Add(40);
    A.ColWidths()->Add(10);
    A.ColWidths()->Add(20);
    A.Assign(&B);
    EXPECT_EQ(A.BorderSize(), 3);
    EXPECT_EQ(A.TableStyle(), "x");
    EXPECT_TRUE(A.XHTML());
    EXPECT_TRUE(A.NonBreakingText());
    EXPECT_TRUE(A.ExportImages());
    EXPECT_EQ(A.ColWidths()->Count(), 2);
}

TEST(GridSettings, PrintAssignCopiesFontsAndLinesButNotFixedCellsAlways) {
    TPrintSettings A(nullptr), B(nullptr);
    B.SetTitleText("Title");
    B.TitleLines()->Add("line 1");
    B.HeaderFont()->SetName("Arial");
    B.HeaderFont()->SetSize(14);
    B.SetBorders(pbAround);
    B.SetFitToPage(fpShrink);
    B.SetFixedCellsAlways(true);
    B.SetOrientation(poLandscape);
    A.Assign(&B);
    EXPECT_EQ(A.TitleText(), "Title");
    ASSERT_EQ(A.TitleLines()->Count(), 1);
    EXPECT_EQ(A.TitleLines()->Strings(0), "line 1");
    EXPECT_EQ(A.HeaderFont()->Name(), "Arial");
    EXPECT_EQ(A.HeaderFont()->Size(), 14);
    EXPECT_NE(A.HeaderFont(), B.HeaderFont());
    EXPECT_EQ(A.Borders(), pbAround);
    EXPECT_EQ(A.FitToPage(), fpShrink);
    EXPECT_EQ(A.Orientation(), poLandscape);
    EXPECT_FALSE(A.FixedCellsAlways());
}

TEST(GridSettings, PrintAssignFromAnotherClassRaises) {
    TPrintSettings A(nullptr);
    THTMLSettings H;
    EXPECT_THROW(A.Assign(&H), EInvalidCast);
    EXPECT_THROW(A.Assign(nullptr), EInvalidCast);
}

TEST(GridSettings, SizeWhileTypingHasNoCopyOfItsOwn) {
    TSizeWhileTyping A, B;
    B.SetHeight(true);
    A.Assign(&B);
    EXPECT_FALSE(A.Height());
}

TEST(GridSettings, GridAssignCopiesTheRecordsIntoItsOwnObjects) {
    TCountingGrid A(nullptr), B(nullptr);
    B.PrintSettings()->SetJobName("job");
    B.HTMLSettings()->SetSummary("sum");
    B.CellNode()->SetNodeIndent(20);
    B.ColumnSize()->SetSection("s");
    TPrintSettings* Before = A.PrintSettings();
    A.Assign(&B);
    EXPECT_EQ(A.PrintSettings(), Before);
    EXPECT_EQ(A.PrintSettings()->Grid(), &A);
    EXPECT_EQ(A.PrintSettings()->JobName(), "job");
    EXPECT_EQ(A.HTMLSettings()->Summary(), "sum");
    EXPECT_EQ(A.CellNode()->NodeIndent(), 20);
    EXPECT_EQ(A.ColumnSize()->Section(), "s");
}

} // namespace
