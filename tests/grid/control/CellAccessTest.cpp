// The cell access interface: cells through their index spaces, the per-cell and per-row look and
// the embedded cell controls. The fixture hides real column 2 and real row 6.
#include "GridNavFixture.h"
#include "platform/gui/StdCtrls.h"

#include <functional>

namespace {

using CellAccessApi = GridNav;

TEST_F(CellAccessApi, StoredTextOfRealRowsReachesHiddenRows) {
    EXPECT_EQ(G->GetGridCellsEx(3, 6), "3,6"); // the hidden row's stored text
    G->SetGridCellsEx(3, 6, "x");
    EXPECT_EQ(G->GetGridCellsEx(3, 6), "x");
    G->SetGridCellsEx(3, 7, "y"); // real row 7 is display row 6
    EXPECT_EQ(G->GetGridCell(3, 6), "y");
    EXPECT_EQ(G->GetCellsEx(-1, 0), "");
    EXPECT_EQ(G->GetCellsEx(0, -1), "");
}

TEST_F(CellAccessApi, WidthsOfHiddenColumnsWaitUntilShown) {
    G->SetColWidths(1, 44);
    EXPECT_EQ(G->GetAllColWidths(1), 44);
    EXPECT_EQ(G->GetAllColWidths(2), 60); // the width it had when hidden
    G->SetAllColWidths(2, 33);
    EXPECT_EQ(G->ColWidths(2), 60); // display column 2 shows real column 3
    G->UnHideColumn(2);
    EXPECT_EQ(G->ColWidths(2), 33);
    G->CheckIndexConsistency();
}

TEST_F(CellAccessApi, WidthsOutsideTheMapRaise) {
    EXPECT_THROW(G->SetAllColWidths(513, 10), EExtGridError);
    EXPECT_THROW(G->SetAllColWidths(-1, 10), EExtGridError);
    EXPECT_THROW(G->GetAllColWidths(600), EExtGridError);
}

TEST_F(CellAccessApi, UnsortedRowsOutsideTheSortOrderRaise) {
    EXPECT_EQ(G->UnSortedRowIndex(4), 4); // no sort yet
    for (int r : {0, 3, 1, 2}) G->SortRowXRef()->Add(r);
    EXPECT_EQ(G->UnSortedRowIndex(3), 1);
    EXPECT_EQ(G->GetUnSortedCell(1, 3), G->GetCellEx(1, 1));
    G->SetUnSortedCell(1, 2, "z");
    EXPECT_EQ(G->GetCellEx(1, 3), "z");
    EXPECT_EQ(G->GetUnSortedCell(1, 7), G->GetCellEx(1, 7)); // beyond the order: unchanged
    EXPECT_THROW(G->UnSortedRowIndex(4), EExtGridError);
    EXPECT_THROW(G->GetUnSortedCell(1, 4), EExtGridError);
    EXPECT_THROW(G->SetUnSortedCell(1, 4, "lost"), EExtGridError);
    EXPECT_EQ(G->SortedRowIndex(1), G->RealRowIndex(3));
    EXPECT_EQ(G->SortedRowIndex(8), G->RealRowIndex(8));
}

TEST_F(CellAccessApi, LinesInCellCountsAtLeastOne) {
    G->SetCellEx(1, 1, "");
    EXPECT_EQ(G->GetLinesInCell(1, 1), 1);
    G->SetCellEx(1, 1, "a\r\nb\r\nc");
    EXPECT_EQ(G->GetLinesInCell(1, 1), 3);
}

TEST_F(CellAccessApi, ObjectsOfHiddenRowsGoIntoTheirRecords) {
    int Mine = 0;
    auto* Obj = reinterpret_cast<TObject*>(&Mine);
    G->SetObjectsEx(1, 2, Obj);
    EXPECT_EQ(G->GetObjectsEx(1, 2), Obj);
    EXPECT_EQ(G->GetObjectsEx(1, 6), nullptr);
    EXPECT_THROW(G->SetObjectsEx(1, 6, Obj), EExtGridError); // no record there: nothing taken over
    G->UnHideRow(6);
    G->SetObjectsEx(1, 6, Obj);
    G->HideRow(6);
    EXPECT_EQ(G->GetObjectsEx(1, 6), Obj);
    EXPECT_NE(G->GetGridObjectsEx(1, 6), nullptr);
    G->SetObjectsEx(1, 6, nullptr);
    EXPECT_EQ(G->GetObjectsEx(1, 6), nullptr);
}

// ---- per-cell look ------------------------------------------------------------------------------------
struct LookCase {
    const char* Name;
    std::function<bool(TExtStringGrid&)> ReadsDefault; // on a cell without properties
    std::function<void(TExtStringGrid&)> Write;
    std::function<bool(TExtStringGrid&)> ReadsWritten;
};
void PrintTo(const LookCase& C, std::ostream* Os) { *Os << C.Name; }

class CellLook : public GridNav, public ::testing::WithParamInterface<LookCase> {};

TEST_P(CellLook, ReadsTheDefaultWithoutCreatingAndWritesCreate) {
    const LookCase& C = GetParam();
    ASSERT_FALSE(G->HasCellProperties(3, 2));
    EXPECT_TRUE(C.ReadsDefault(*G));
    EXPECT_FALSE(G->HasCellProperties(3, 2));
    C.Write(*G);
    EXPECT_TRUE(G->HasCellProperties(3, 2));
    EXPECT_TRUE(C.ReadsWritten(*G));
}

#define LOOK(Name, Default, Value)                                                                                     \
    LookCase {                                                                                                         \
#Name, [](TExtStringGrid& G) { return G.Name(3, 2) == Default; },                                              \
            [](TExtStringGrid& G) { G.Set##Name(3, 2, Value); },                                                       \
            [](TExtStringGrid& G) { return G.Name(3, 2) == Value; }       \
    }

INSTANTIATE_TEST_SUITE_P(Properties, CellLook,
                         ::testing::Values(LOOK(Colors, clNone, clRed), LOOK(ColorsTo, clNone, clBlue),
                                           LOOK(Gradients, GradientVertical, GradientHorizontal),
                                           LOOK(FontColors, clNone, clGreen),
                                           LOOK(FontStyles, TFontStyles(), TFontStyles({fsItalic})),
                                           LOOK(FontSizes, 0, 14), LOOK(FontNames, QString(), QString("Arial")),
                                           LOOK(Alignments, taLeftJustify, taRightJustify),
                                           LOOK(ReadOnly, false, true)),
                         [](const ::testing::TestParamInfo<LookCase>& I) { return std::string(I.param.Name); });

TEST_F(CellAccessApi, WordWrapsReadsThroughTheRecord) {
    EXPECT_TRUE(G->WordWraps(3, 2));
    EXPECT_TRUE(G->HasCellProperties(3, 2));
}

TEST_F(CellAccessApi, FontsCopiesTheFontIntoTheCell) {
    TFont F;
    F.SetName("Arial");
    F.SetSize(11);
    F.SetStyle({fsBold});
    F.SetColor(clMaroon);
    G->SetFonts(1, 1, &F);
    EXPECT_EQ(G->FontNames(1, 1), "Arial");
    EXPECT_EQ(G->FontSizes(1, 1), 11);
    EXPECT_TRUE(G->FontStyles(1, 1).Contains(fsBold));
    EXPECT_EQ(G->FontColors(1, 1), clMaroon);
}

// ---- whole rows ---------------------------------------------------------------------------------------
TEST_F(CellAccessApi, RowColourReachesEveryCellFromTheFixedColumnsOnHiddenOnesToo) {
    G->SetRowColor(3, clYellow);
    EXPECT_FALSE(G->HasCellProperties(0, 3));
    for (int c = 1; c < G->AllColCount(); ++c) EXPECT_EQ(G->Colors(c, 3), clYellow) << c;
    G->SetRowColorTo(3, clRed);
    G->SetRowFontColor(3, clBlue);
    EXPECT_EQ(G->ColorsTo(2, 3), clRed);
    EXPECT_EQ(G->FontColors(4, 3), clBlue);
}

// Clearing one colour never takes the rest of a cell's record with it.
TEST_F(CellAccessApi, ClearingARowColourClearsThatColourOnly) {
    G->SetRowColor(3, clYellow);
    G->SetRowColorTo(3, clRed);
    G->SetRowFontColor(3, clBlue);
    G->SetReadOnly(1, 3, true);
    G->SetAlignments(4, 3, taCenter);
    G->SetRowColor(3, clNone);
    EXPECT_EQ(G->Colors(1, 3), clNone);
    EXPECT_TRUE(G->ReadOnly(1, 3));
    EXPECT_EQ(G->ColorsTo(1, 3), clRed);
    G->SetRowColorTo(3, clNone);
    EXPECT_EQ(G->ColorsTo(4, 3), clNone);
    EXPECT_EQ(G->Alignments(4, 3), taCenter);
    G->SetRowFontColor(3, clNone);
    EXPECT_EQ(G->FontColors(1, 3), clNone);
    EXPECT_TRUE(G->ReadOnly(1, 3));
    // a row without records gets none from clearing
    G->SetRowColor(5, clNone);
    EXPECT_FALSE(G->HasCellProperties(1, 5));
}

// ---- embedded controls --------------------------------------------------------------------------------
TEST_F(CellAccessApi, CellControlsAreCountedOncePerCell) {
    auto* A = new TEdit(nullptr);
    auto* B = new TEdit(nullptr);
    G->SetCellControl(3, 2, A);
    EXPECT_EQ(G->GetCellControl(3, 2), A);
    EXPECT_EQ(G->NumCellControls(), 1);
    EXPECT_EQ(A->Parent(), G.get());
    const TRect R = G->CellRect(2, 2); // display column of real column 3
    EXPECT_EQ(A->Left(), R.Left - 1);
    EXPECT_EQ(A->Width(), R.Right - R.Left + 1);
    G->SetCellControl(3, 2, B); // replaces, not adds
    EXPECT_EQ(G->NumCellControls(), 1);
    EXPECT_EQ(G->CellControls()->Count(), 1);
    G->SetCellControl(3, 2, nullptr);
    EXPECT_EQ(G->NumCellControls(), 0);
    EXPECT_EQ(G->CellControls()->Count(), 0);
    EXPECT_EQ(G->GetCellControl(3, 2), nullptr);
    G->SetCellControl(3, 2, nullptr);
    EXPECT_EQ(G->NumCellControls(), 0);
    delete A;
    delete B;
}

// ---- other members -------------------------------------------------------------------------------------
TEST_F(CellAccessApi, IntegralHeightAppliesAtOnce) {
    G->SetBounds(0, 0, 400, 250);
    G->SetIntegralHeight(true);
    EXPECT_NE(G->Height(), 250);
    G->SetIntegralHeight(false);
    G->SetBounds(0, 0, 400, 250);
    EXPECT_EQ(G->Height(), 250);
}

TEST_F(CellAccessApi, FocusHelperIsCopiedIntoTheGridsOwn) {
    TFocusHelper F;
    F.SetEnabled(true);
    TFocusHelper* Own = G->FocusHelper();
    G->SetFocusHelper(&F);
    EXPECT_EQ(G->FocusHelper(), Own);
    EXPECT_TRUE(Own->Enabled());
}

} // namespace
