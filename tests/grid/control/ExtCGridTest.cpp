// The column grid: column items, the collection's hold on the column count and headers, and the
// per-cell questions the items answer.
#include "grid/control/ExtCGrid.h"

#include "platform/gui/Menus.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "tests/support/QtPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Six real columns, real column 2 hidden (display column 2 shows real column 3); one fixed row
// and column, five rows. Every cell holds "realcol,row".
class ColumnGrid : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(5);
        G->SetDefaultColWidth(60);
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 5; ++r) G->SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
        G->HideColumn(2);
        ASSERT_EQ(G->ColCount(), 5);
        ASSERT_EQ(G->NumHiddenColumns(), 1);
        ASSERT_EQ(G->Columns()->Count(), 6);
    }
    TGridColumnItem* Item(int i) { return G->Columns()->Items(i); }
    std::unique_ptr<TExtColumnGrid> G;
};

TEST_F(ColumnGrid, ANewItemStartsWithTheGridsFontAndColourAndTheDocumentedDefaults) {
    TGridColumnItem* I = Item(1);
    EXPECT_EQ(I->Font()->Name(), G->Font()->Name());
    EXPECT_EQ(I->Color(), G->Color());
    EXPECT_EQ(I->CheckTrue(), "Y");
    EXPECT_EQ(I->CheckFalse(), "N");
    EXPECT_EQ(I->DropDownCount(), 8);
    EXPECT_EQ(I->SpinStep(), 1);
    EXPECT_EQ(I->PrintColor(), clWhite);
    EXPECT_EQ(I->BorderPen()->Color(), clSilver);
    EXPECT_EQ(I->PrintBorderPen()->Color(), 0);
    EXPECT_EQ(I->PrintBorders(), (TCellBorders{cbTop, cbLeft, cbRight, cbBottom}));
    EXPECT_TRUE(I->PrintBorderCustom());
    EXPECT_EQ(I->Editor(), edNormal);
    TGridColumnItem Loose(nullptr);
    EXPECT_EQ(Loose.Width(), 0);
    EXPECT_EQ(Loose.Color(), 0);
}

TEST_F(ColumnGrid, DisplayNameUsesTheNameWhenThereIsOne) {
    EXPECT_EQ(Item(2)->GetDisplayName(), "Column 2");
    Item(2)->SetName("ID");
    EXPECT_EQ(Item(2)->GetDisplayName(), "Col 2: ID");
    EXPECT_EQ(G->GetColumnByName("ID"), Item(2));
    EXPECT_EQ(G->GetColumnByName("id"), nullptr);
}

TEST_F(ColumnGrid, RaisingTheCountAddsAnItemWithTheVisualsOfTheLastOne) {
    TGridColumnItem* Last = Item(5);
    Last->SetEditor(edComboList);
    Last->SetReadOnly(true);
    Last->SetCheckTrue("1");
    Last->ComboItems()->Add("a");
    Last->ComboItems()->Add("b");
    Last->SetDropDownCount(3);
    Last->SetHeader("Last");
    G->SetColCount(6);
    ASSERT_EQ(G->Columns()->Count(), 7);
    TGridColumnItem* New = Item(6);
    EXPECT_EQ(New->Editor(), edComboList);
    EXPECT_TRUE(New->ReadOnly());
    EXPECT_EQ(New->CheckTrue(), "1");
    EXPECT_EQ(New->ComboItems()->Count(), 0);
    EXPECT_EQ(New->DropDownCount(), 8);
    EXPECT_EQ(New->Header(), "");
    EXPECT_EQ(New->Width(), 60);
    G->SetColCount(3);
    EXPECT_EQ(G->Columns()->Count(), 4);
}

TEST_F(ColumnGrid, HeaderWritesRowZeroOnlyWithFixedRowsAndAlwaysRebuildsTheList) {
    Item(3)->SetHeader("Three");
    EXPECT_EQ(G->GetGridCell(3, 0), "Three");
    ASSERT_EQ(G->ColumnHeaders()->Count(), 6);
    EXPECT_EQ(G->ColumnHeaders()->Get(3), "Three");
    G->SetFixedRows(0);
    Item(4)->SetHeader("Four");
    EXPECT_EQ(G->GetGridCell(4, 0), "4,0");
    EXPECT_EQ(G->ColumnHeaders()->Get(4), "Four");
    EXPECT_EQ(G->ColumnHeaders()->Get(3), "Three");
}

TEST_F(ColumnGrid, RebuildingHeadersTakesRowZeroForItemsWithoutAHeader) {
    Item(1)->SetHeader("One");
    G->RebuildColumnHeaders();
    EXPECT_EQ(Item(1)->Header(), "One");
    EXPECT_EQ(Item(4)->Header(), "4,0");
    EXPECT_EQ(G->ColumnHeaders()->Get(4), "4,0");
}

TEST_F(ColumnGrid, TheWidthOfAHiddenColumnsItemIsItsRememberedWidth) {
    G->SetColWidths(1, 77);
    EXPECT_EQ(Item(1)->Width(), 77);
    EXPECT_EQ(Item(2)->Width(), 60);
    Item(2)->SetWidth(90);
    EXPECT_EQ(Item(2)->Width(), 90);
    for (int d = 0; d < G->ColCount(); ++d) EXPECT_EQ(G->ColWidths(d), d == 1 ? 77 : 60) << d;
    G->UnHideColumn(2);
    EXPECT_EQ(G->ColWidths(2), 90);
    Item(4)->SetWidth(33);
    EXPECT_EQ(G->ColWidths(4), 33);
}

TEST_F(ColumnGrid, AssignCopiesSettingsButWritesNoCellAndKeepsThePopupType) {
    Item(1)->SetHeader("Src");
    Item(1)->SetEditor(edDataCheckBox);
    Item(1)->SetColor(0x123456);
    Item(1)->ComboItems()->Add("x");
    Item(4)->SetColumnPopupType(cpAllCellsLClick);
    Item(4)->Assign(Item(1));
    EXPECT_EQ(Item(4)->Header(), "Src");
    EXPECT_EQ(G->GetGridCell(4, 0), "4,0");
    EXPECT_EQ(Item(4)->Editor(), edDataCheckBox);
    EXPECT_EQ(Item(4)->Color(), 0x123456);
    EXPECT_EQ(Item(4)->ComboItems()->Count(), 1);
    EXPECT_EQ(Item(4)->ColumnPopupType(), cpAllCellsLClick);

    Item(5)->SetHeader("Keep");
    Item(5)->AssignVisuals(Item(1));
    EXPECT_EQ(Item(5)->Header(), "Keep");
    EXPECT_EQ(Item(5)->Editor(), edDataCheckBox);
    EXPECT_EQ(Item(5)->Color(), G->Color());
    EXPECT_EQ(Item(5)->ComboItems()->Count(), 0);
}

TEST_F(ColumnGrid, DeletingItemsNarrowsTheGridButNeverToTheFixedColumns) {
    G->Columns()->Delete(5);
    EXPECT_EQ(G->ColCount(), 4);
    while (G->Columns()->Count() > 1) G->Columns()->Delete(G->Columns()->Count() - 1);
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_THROW(G->Columns()->Items(7), EListError);
}

TEST_F(ColumnGrid, ReadOnlyAndFixedColumnsAreNotEditableOtherColumnsAreWithoutGoEditing) {
    ASSERT_FALSE(G->Options().Contains(goEditing));
    Item(1)->SetReadOnly(true);
    Item(4)->SetFixed(true);
    struct Case {
        int Col, Row;
        bool Editable;
    };
    for (Case C : {Case{1, 2, false}, Case{3, 2, true}, Case{4, 2, false}, Case{5, 2, true}, Case{3, 0, false},
                   Case{0, 2, false}}) {
        bool CanEdit = true;
        G->GetCellEditable(C.Col, C.Row, CanEdit);
        EXPECT_EQ(CanEdit, C.Editable) << C.Col << "," << C.Row;
    }
    G->GetCellProperties(3, 3)->SetReadOnly(true);
    bool CanEdit = true;
    G->GetCellEditable(3, 3, CanEdit);
    EXPECT_FALSE(CanEdit);
}

TEST_F(ColumnGrid, DataCheckBoxColumnsTypeTheirNormalCellsAsDataCheckBoxes) {
    Item(3)->SetEditor(edDataCheckBox);
    G->SetGridCell(3, 2, "");
    EXPECT_EQ(G->GetCellType(3, 2), ctDataCheckBox);
    EXPECT_EQ(G->GetCellType(3, 0), ctEmpty);
    EXPECT_EQ(G->GetCellType(4, 2), ctEmpty);
    EXPECT_NE(G->GetCellGraphic(3, 2), nullptr);
    EXPECT_EQ(G->GetCellGraphic(3, 0), nullptr);
}

TEST_F(ColumnGrid, AskingTheEditorOfAComboColumnLoadsItsList) {
    Item(4)->SetEditor(edComboList);
    for (const char* S : {"a", "b", "c"}) Item(4)->ComboItems()->Add(S);
    Item(4)->SetDropDownCount(5);
    G->EditComboItems()->Add("stale");
    TEditorType E = edNormal;
    G->GetCellEditor(4, 3, E);
    EXPECT_EQ(E, edComboList);
    ASSERT_EQ(G->EditComboItems()->Count(), 3);
    EXPECT_EQ(G->EditComboItems()->Get(2), "c");
    EXPECT_EQ(G->ControlLook()->DropDownCount(), 5);
    EXPECT_TRUE(G->HasComboButton(4, 3));
    EXPECT_FALSE(G->HasComboButton(4, 0));
    EXPECT_FALSE(G->HasComboButton(1, 3));
}

TEST_F(ColumnGrid, TheColumnsCheckTextsWinOverTheEvent) {
    Item(3)->SetCheckTrue("1");
    G->OnGetCheckTrue = [](TObject*, int, int, QString& V) { V = "X"; };
    QString V;
    G->GetCheckTrue(3, 2, V);
    EXPECT_EQ(V, "1");
    G->GetCheckTrue(3, 0, V);
    EXPECT_EQ(V, "X");
}

TEST_F(ColumnGrid, DisplayIndexQuestionsMapToTheRealColumnsItem) {
    Item(3)->SetFixed(true);
    bool Fixed = false;
    G->GetFixedCell(2, 2, Fixed); // display column 2 shows real column 3
    EXPECT_TRUE(Fixed);
    Item(3)->SetEditMask("000");
    EXPECT_EQ(G->GetEditMask(2, 2), "000");
    Item(3)->SetEditLength(4);
    G->SetCol(2);
    EXPECT_EQ(G->GetEditLimit(), 4);
}

TEST_F(ColumnGrid, MovingAColumnMovesItsItem) {
    Item(1)->SetHeader("Moved");
    Item(1)->SetEditor(edComboEdit);
    Item(1)->SetColor(0x00FF00);
    int From = -1, To = -1;
    G->OnAfterColumnMoved = [&](TObject*, int F, int T) { From = F, To = T; };
    G->MoveColumn(1, 3);
    EXPECT_EQ(From, 1);
    EXPECT_EQ(To, 4); // display column 3 is real column 4
    EXPECT_EQ(Item(4)->Header(), "Moved");
    EXPECT_EQ(Item(4)->Editor(), edComboEdit);
    EXPECT_EQ(Item(4)->Color(), 0x00FF00);
    EXPECT_EQ(G->Columns()->Count(), 6);
}

TEST_F(ColumnGrid, ItemSizeLimitsBoundUserAndAutomaticSizing) {
    Item(1)->SetMinSize(40);
    Item(1)->SetMaxSize(100);
    Item(1)->SetAutoMaxSize(70);
    int W = 20;
    G->DoUpdateColumnSize(1, W);
    EXPECT_EQ(W, 40);
    W = 200;
    G->DoUpdateColumnSize(1, W);
    EXPECT_EQ(W, 100);
    W = 200;
    G->DoAutoSizeColumn(1, W);
    EXPECT_EQ(W, 70);
}

TEST_F(ColumnGrid, FloatFormatOfTheColumnAppliesToNumbersOnly) {
    Item(4)->SetFloatFormat("%.1f");
    G->SetGridCell(4, 2, "3");
    G->SetGridCell(4, 3, "1e3");
    EXPECT_EQ(G->GetFormattedCell(4, 2), "3.0");
    EXPECT_EQ(G->GetFormattedCell(4, 3), "1e3");
    EXPECT_EQ(G->GetFormattedCell(1, 2), "1,2");
}

// What a write to one property of an item does to the grid: a notification (the collection
// rebuilds the header list and repaints), a repaint only, or nothing beyond the stored value.
enum TSideEffect { seNotify, seRepaint, seNone };

struct TSetterCase {
    const char* Name;
    std::function<void(TGridColumnItem*)> Write;
    TSideEffect Effect;
    std::function<bool(TGridColumnItem*)> Stored;
};
void PrintTo(const TSetterCase& C, std::ostream* Os) { *Os << C.Name; }

class TCountingGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    void Invalidate() override {
        ++Repaints;
        TExtColumnGrid::Invalidate();
    }
    int Repaints = 0;
};

class ItemSetters : public ::testing::TestWithParam<TSetterCase> {
protected:
    void SetUp() override {
        G = std::make_unique<TCountingGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(4);
        G->HideColumn(2);
    }
    std::unique_ptr<TCountingGrid> G;
};

TEST_P(ItemSetters, StoreTheValueWithTheirOwnSideEffect) {
    TGridColumnItem* It = G->Columns()->Items(3); // display column 2, after the hidden column
    G->ColumnHeaders()->Clear();
    G->Repaints = 0;
    GetParam().Write(It);
    EXPECT_TRUE(GetParam().Stored(It));
    const bool Notified = G->ColumnHeaders()->Count() == G->Columns()->Count();
    EXPECT_EQ(Notified, GetParam().Effect == seNotify);
    EXPECT_EQ(G->Repaints > 0, GetParam().Effect != seNone);
}

TFont* BoldFont() {
    static TFont F;
    F.SetStyle({fsBold});
    F.SetSize(14);
    return &F;
}
TPen* WidePen() {
    static TPen P;
    P.SetWidth(4);
    P.SetColor(0x0000FF);
    return &P;
}
TStringList* TwoEntries() {
    static TStringList L;
    if (L.Count() == 0) L.Add("All=*"), L.Add("Some=>1");
    return &L;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemSetters,
    ::testing::Values(TSetterCase{"Alignment", [](TGridColumnItem* I) { I->SetAlignment(taRightJustify); }, seRepaint,
                                  [](TGridColumnItem* I) { return I->Alignment() == taRightJustify; }},
                      TSetterCase{"Font", [](TGridColumnItem* I) { I->SetFont(BoldFont()); }, seNotify,
                                  [](TGridColumnItem* I) { return I->Font()->Style().Contains(fsBold); }},
                      TSetterCase{"FontSettingChanged", [](TGridColumnItem* I) { I->Font()->SetSize(20); }, seNotify,
                                  [](TGridColumnItem* I) { return I->Font()->Size() == 20; }},
                      TSetterCase{"Color", [](TGridColumnItem* I) { I->SetColor(0x123456); }, seNotify,
                                  [](TGridColumnItem* I) { return I->Color() == 0x123456; }},
                      TSetterCase{"ShowBands", [](TGridColumnItem* I) { I->SetShowBands(true); }, seNotify,
                                  [](TGridColumnItem* I) { return I->ShowBands(); }},
                      TSetterCase{"Fixed", [](TGridColumnItem* I) { I->SetFixed(true); }, seNotify,
                                  [](TGridColumnItem* I) { return I->Fixed(); }},
                      TSetterCase{"Password", [](TGridColumnItem* I) { I->SetPassword(true); }, seNotify,
                                  [](TGridColumnItem* I) { return I->Password(); }},
                      TSetterCase{"Borders", [](TGridColumnItem* I) { I->SetBorders({cbLeft}); }, seNotify,
                                  [](TGridColumnItem* I) { return I->Borders() == TCellBorders{cbLeft}; }},
                      TSetterCase{"BorderPen", [](TGridColumnItem* I) { I->SetBorderPen(WidePen()); }, seNotify,
                                  [](TGridColumnItem* I) { return I->BorderPen()->Width() == 4; }},
                      TSetterCase{"PrintBorderPen", [](TGridColumnItem* I) { I->SetPrintBorderPen(WidePen()); }, seNone,
                                  [](TGridColumnItem* I) { return I->PrintBorderPen()->Color() == 0x0000FF; }},
                      TSetterCase{"ComboItems", [](TGridColumnItem* I) { I->SetComboItems(TwoEntries()); }, seNone,
                                  [](TGridColumnItem* I) { return I->ComboItems()->Count() == 2; }},
                      TSetterCase{"Filter", [](TGridColumnItem* I) { I->SetFilter(TwoEntries()); }, seRepaint,
                                  [](TGridColumnItem* I) { return I->Filter()->Get(1) == "Some=>1"; }},
                      TSetterCase{"PrintFont", [](TGridColumnItem* I) { I->SetPrintFont(BoldFont()); }, seNone,
                                  [](TGridColumnItem* I) { return I->PrintFont()->Size() == 14; }},
                      TSetterCase{"HeaderFont", [](TGridColumnItem* I) { I->SetHeaderFont(BoldFont()); }, seRepaint,
                                  [](TGridColumnItem* I) { return I->HeaderFont()->Style().Contains(fsBold); }},
                      TSetterCase{"HeaderFontSettingChanged",
                                  [](TGridColumnItem* I) { I->HeaderFont()->SetStyle({fsItalic}); }, seNotify,
                                  [](TGridColumnItem* I) { return I->HeaderFont()->Style().Contains(fsItalic); }},
                      TSetterCase{"HeaderAlignment", [](TGridColumnItem* I) { I->SetHeaderAlignment(taCenter); },
                                  seRepaint, [](TGridColumnItem* I) { return I->HeaderAlignment() == taCenter; }},
                      TSetterCase{"FloatFormat", [](TGridColumnItem* I) { I->SetFloatFormat("%.2f"); }, seRepaint,
                                  [](TGridColumnItem* I) { return I->FloatFormat() == "%.2f"; }},
                      TSetterCase{"EditorToDataCheckBox", [](TGridColumnItem* I) { I->SetEditor(edDataCheckBox); },
                                  seRepaint, [](TGridColumnItem* I) { return I->Editor() == edDataCheckBox; }},
                      TSetterCase{"EditorToCombo", [](TGridColumnItem* I) { I->SetEditor(edComboList); }, seNone,
                                  [](TGridColumnItem* I) { return I->Editor() == edComboList; }},
                      TSetterCase{"EditorUnchanged", [](TGridColumnItem* I) { I->SetEditor(edNormal); }, seNone,
                                  [](TGridColumnItem* I) { return I->Editor() == edNormal; }},
                      TSetterCase{"ReadOnly", [](TGridColumnItem* I) { I->SetReadOnly(true); }, seNone,
                                  [](TGridColumnItem* I) { return I->ReadOnly(); }},
                      TSetterCase{"CheckTrue", [](TGridColumnItem* I) { I->SetCheckTrue("1"); }, seNone,
                                  [](TGridColumnItem* I) { return I->CheckTrue() == "1"; }},
                      TSetterCase{"EditLength", [](TGridColumnItem* I) { I->SetEditLength(7); }, seNone,
                                  [](TGridColumnItem* I) { return I->EditLength() == 7; }},
                      TSetterCase{"AutoMaxSize", [](TGridColumnItem* I) { I->SetAutoMaxSize(60); }, seNone,
                                  [](TGridColumnItem* I) { return I->AutoMaxSize() == 60; }}),
    [](const ::testing::TestParamInfo<TSetterCase>& I) { return std::string(I.param.Name); });

TEST(ItemWidth, AWidthWriteResizesTheShownColumnAndTheHeaderWriteItsRowZeroCell) {
    TExtColumnGrid G(nullptr);
    G.SetColCount(5);
    G.HideColumn(1);
    G.Columns()->Items(3)->SetWidth(81); // display column 2
    EXPECT_EQ(G.ColWidths(2), 81);
    EXPECT_EQ(G.Columns()->Items(3)->Width(), 81);
    G.Columns()->Items(3)->SetHeader("Three");
    EXPECT_EQ(G.GetGridCell(3, 0), "Three");
}

TEST_F(ColumnGrid, CellColourComesFromTheItemUnlessTheCellHasItsOwn) {
    Item(3)->SetColor(0x0000FF);
    TBrush B;
    TFont F;
    G->GetCellColor(3, 2, TGridDrawState{}, &B, &F);
    EXPECT_EQ(B.Color(), 0x0000FF);
    G->GetCellProperties(3, 3)->SetBrushColor(0x00FF00);
    G->GetCellColor(3, 3, TGridDrawState{}, &B, &F);
    EXPECT_EQ(B.Color(), 0x00FF00);
}

} // namespace

namespace {

// Column removal and insertion on the column grid fixture: cell records are freed or moved with
// their columns (ASan reports a leak or a dangling record), widths and the hidden column follow.
// A menu that records where it would show; a grid whose mouse-down the test can send.
class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.emplace_back(X, Y); }
    std::vector<std::pair<int, int>> Shown;
};
class TClickGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::MouseDown;
    using TExtColumnGrid::TExtColumnGrid;
};

TEST(ColumnPopups, TheKindDecidesWhichClickAndWhichRowsShowTheMenu) {
    struct Case {
        const char* Name;
        TColumnPopupType Kind;
        TMouseButton Button;
        int Row;
        bool Offered, Shown;
    };
    const Case Cases[] = {
        {"FixedRightInHeader", cpFixedCellsRClick, mbRight, 0, true, true},
        {"FixedRightInNormalRow", cpFixedCellsRClick, mbRight, 2, true, false},
        {"FixedRightWithLeftButton", cpFixedCellsRClick, mbLeft, 0, false, false},
        {"NormalLeftInNormalRow", cpNormalCellsLClick, mbLeft, 2, true, true},
        {"NormalLeftInHeader", cpNormalCellsLClick, mbLeft, 0, true, false},
        {"AllRightAnywhere", cpAllCellsRClick, mbRight, 3, true, true},
    };
    for (const Case& K : Cases) {
        TClickGrid G(nullptr);
        G.SetColCount(4);
        G.SetRowCount(5);
        G.SetDefaultColWidth(50);
        G.SetDefaultRowHeight(20);
        G.SetBounds(0, 0, 300, 200);
        G.HideColumn(1); // display column 1 shows real column 2
        TRecordingMenu Menu(nullptr);
        G.Columns()->Items(2)->SetColumnPopup(&Menu);
        G.Columns()->Items(2)->SetColumnPopupType(K.Kind);
        int Offered = 0;
        G.OnColumnPopup = [&](TObject*, int ACol, int ARow, TPopupMenu*&) {
            ++Offered;
            EXPECT_EQ(ACol, 1) << K.Name;
            EXPECT_EQ(ARow, K.Row) << K.Name;
        };
        const TRect R = G.CellRect(1, K.Row);
        G.MouseDown(K.Button, TShiftState{}, R.Left + 5, R.Top + 5);
        EXPECT_EQ(Offered, K.Offered ? 1 : 0) << K.Name;
        EXPECT_EQ(Menu.Shown.size(), K.Shown ? 1u : 0u) << K.Name;
    }
}

class ColumnOps : public ColumnGrid {};

TEST_F(ColumnOps, RemovingAColumnBeforeTheHiddenOneMovesEverythingLeft) {
    G->GetCellProperties(1, 3)->SetBrushColor(0x111111); // dropped with its column
    G->GetCellProperties(4, 3)->SetBrushColor(0x444444); // moves to column 3
    G->SetColWidths(3, 71); // real column 4
    Item(1)->SetHeader("gone");
    Item(4)->SetHeader("four");
    G->RemoveCols(1, 1);
    EXPECT_EQ(G->TotalColCount(), 5);
    EXPECT_EQ(G->NumHiddenColumns(), 1);
    EXPECT_TRUE(G->IsHiddenColumn(1));
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(G->GetGridCell(1, 3), "2,3");
    EXPECT_EQ(G->GetGridCell(3, 3), "4,3");
    EXPECT_EQ(G->GetGridCell(4, 3), "5,3");
    ASSERT_TRUE(G->HasCellProperties(3, 3));
    EXPECT_EQ(G->GetCellProperties(3, 3)->BrushColor(), 0x444444);
    EXPECT_EQ(G->GetCellProperties(3, 3)->OwnerCol(), 3);
    EXPECT_FALSE(G->HasCellProperties(4, 3));
    EXPECT_EQ(G->ColWidths(G->DisplColIndex(3)), 71);
    ASSERT_EQ(G->Columns()->Count(), 5);
    EXPECT_EQ(Item(3)->Header(), "four");
    G->CheckIndexConsistency();
}

TEST_F(ColumnOps, RemovingTheHiddenColumnAndMoreIsCutAtTheEnd) {
    G->RemoveCols(2, 10);
    EXPECT_EQ(G->TotalColCount(), 2);
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(G->ColCount(), 2);
    EXPECT_EQ(G->Columns()->Count(), 2);
    G->CheckIndexConsistency();
}

TEST_F(ColumnOps, InsertingColumnsOpensEmptyVisibleColumnsAndMovesTheRest) {
    G->GetCellProperties(3, 2)->SetBrushColor(0x333333);
    Item(3)->SetHeader("three");
    G->InsertCols(1, 2);
    EXPECT_EQ(G->TotalColCount(), 8);
    EXPECT_TRUE(G->IsHiddenColumn(4));
    EXPECT_EQ(G->ColCount(), 7);
    EXPECT_EQ(G->GetGridCell(1, 2), "");
    EXPECT_EQ(G->GetGridCell(2, 2), "");
    EXPECT_EQ(G->GetGridCell(3, 2), "1,2");
    EXPECT_EQ(G->GetGridCell(5, 2), "3,2");
    ASSERT_TRUE(G->HasCellProperties(5, 2));
    EXPECT_EQ(G->GetCellProperties(5, 2)->BrushColor(), 0x333333);
    EXPECT_EQ(G->ColWidths(1), G->DefaultColWidth());
    ASSERT_EQ(G->Columns()->Count(), 8);
    EXPECT_EQ(Item(5)->Header(), "three");
    EXPECT_EQ(Item(1)->Header(), "");
    G->CheckIndexConsistency();
}

TEST_F(ColumnOps, MergeColsJoinsTheNormalRowsAndDropsTheSecondColumn) {
    G->MergeCols(1, 3, " - ");
    EXPECT_EQ(G->GetGridCell(1, 2), "1,2 - 3,2");
    EXPECT_EQ(G->GetGridCell(1, 0), "1,0");
    EXPECT_EQ(G->GetGridCell(3, 2), "4,2");
    EXPECT_EQ(G->TotalColCount(), 5);
}

} // namespace

namespace {

class ColumnStream : public ColumnGrid {
protected:
    QByteArray Saved() {
        TMemoryStream M;
        G->SaveColumnsToStream(&M);
        QByteArray B(qsizetype(M.Size()), '\0');
        M.SetPosition(0);
        M.ReadBuffer(B.data(), B.size());
        return B;
    }
    void Load(const QByteArray& B) {
        TMemoryStream M;
        M.WriteBuffer(B.constData(), B.size());
        M.SetPosition(0);
        G->LoadColumnsFromStream(&M);
    }
};

TEST_F(ColumnStream, EverySettingComesBack) {
    Item(3)->SetHeader("Three");
    Item(3)->SetEditor(edComboList);
    Item(3)->ComboItems()->Add("a");
    Item(3)->ComboItems()->Add("b");
    Item(3)->SetCheckTrue("1");
    Item(3)->SetReadOnly(true);
    Item(3)->Font()->SetStyle({fsBold});
    Item(3)->BorderPen()->SetWidth(3);
    Item(3)->SetBorders({cbTop, cbBottom});
    Item(3)->SetPrintFontCustom(false);
    Item(3)->SetPrintBorderCustom(false);
    Item(3)->SetColumnPopupType(cpNormalCellsLClick);
    Item(1)->SetWidth(88);
    const QByteArray B = Saved();
    G->Columns()->Items(3)->SetHeader("changed");
    G->Columns()->Items(3)->SetEditor(edNormal);
    Item(3)->SetPrintFontCustom(true);
    Item(3)->SetPrintBorderCustom(true);
    Item(3)->SetColumnPopupType(cpFixedCellsRClick);
    G->SetColWidths(1, 20);
    Load(B);
    EXPECT_FALSE(Item(3)->PrintBorderCustom());
    EXPECT_EQ(Item(3)->ColumnPopupType(), cpNormalCellsLClick);
    EXPECT_EQ(Item(3)->Header(), "Three");
    EXPECT_EQ(G->GetGridCell(3, 0), "Three");
    EXPECT_EQ(Item(3)->Editor(), edComboList);
    EXPECT_EQ(Item(3)->ComboItems()->Count(), 2);
    EXPECT_EQ(Item(3)->CheckTrue(), "1");
    EXPECT_TRUE(Item(3)->ReadOnly());
    EXPECT_TRUE(Item(3)->Font()->Style().Contains(fsBold));
    EXPECT_EQ(Item(3)->BorderPen()->Width(), 3);
    EXPECT_EQ(Item(3)->Borders(), (TCellBorders{cbTop, cbBottom}));
    EXPECT_FALSE(Item(3)->PrintFontCustom());
    EXPECT_EQ(G->ColWidths(1), 88);
    EXPECT_EQ(G->Columns()->Count(), 6);
}

TEST_F(ColumnStream, TheColumnsKeepTheirDesignPositionsWhichTheStreamDoesNotHold) {
    G->Columns()->SetOrganization();
    const QByteArray B = Saved();
    Load(B);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Item(i)->DefIdx(), i) << i;
}

struct TDamage {
    const char* Name;
    std::function<void(QByteArray&)> Apply;
};

class ColumnStreamDamage : public ColumnStream, public ::testing::WithParamInterface<TDamage> {};

TEST_P(ColumnStreamDamage, RaisesAndChangesNothing) {
    Item(3)->SetHeader("Three");
    QByteArray B = Saved();
    Item(3)->SetHeader("Kept");
    Item(3)->SetEditor(edDataCheckBox);
    GetParam().Apply(B);
    EXPECT_THROW(Load(B), EReadError);
    EXPECT_EQ(Item(3)->Header(), "Kept");
    EXPECT_EQ(Item(3)->Editor(), edDataCheckBox);
    EXPECT_EQ(G->Columns()->Count(), 6);
}

void PutU32(QByteArray& B, int At, quint32 V) {
    for (int i = 0; i < 4; ++i) B[At + i] = char((V >> (8 * i)) & 0xFF);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColumnStreamDamage,
                         ::testing::Values(TDamage{"Truncated", [](QByteArray& B) { B.chop(B.size() / 3); }},
                                           TDamage{"LastByteMissing", [](QByteArray& B) { B.chop(1); }},
                                           TDamage{"WrongMagic", [](QByteArray& B) { B[0] = 'X'; }},
                                           TDamage{"HugeColumnCount", [](QByteArray& B) { PutU32(B, 8, 0x7FFFFFFF); }},
                                           TDamage{"MoreColumnsThanData", [](QByteArray& B) { PutU32(B, 8, 7); }},
                                           TDamage{"HugePropertyCount",
                                                   [](QByteArray& B) { PutU32(B, 12, 0xFFFFFFF0); }},
                                           TDamage{"HugeNameLength", [](QByteArray& B) { PutU32(B, 16, 0x40000000); }},
                                           TDamage{"TrailingBytes", [](QByteArray& B) { B.append("xyz"); }},
                                           TDamage{"Empty", [](QByteArray& B) { B.clear(); }}),
                         [](const ::testing::TestParamInfo<TDamage>& I) { return std::string(I.param.Name); });

} // namespace

namespace {

// Column positions on a grid without hidden columns: positions are display positions there.
class ColumnPositions : public ::testing::Test {
protected:
    void SetUp() override {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(3);
        G->Columns()->SetOrganization();
        for (int c = 0; c < 3; ++c) G->Columns()->Items(c)->SetHeader(QString("H%1").arg(c));
        // One file per test: the tests may run side by side.
        const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
        Ini = QDir(QDir::tempPath())
                  .filePath(QString("colgrid_%1_%2.ini").arg(Info->name()).arg(QCoreApplication::applicationPid()));
        QFile::remove(Ini);
    }
    void TearDown() override { QFile::remove(Ini); }
    QString Headers() {
        QString S;
        for (int c = 0; c < 3; ++c) S += G->Columns()->Items(c)->Header();
        return S;
    }
    std::unique_ptr<TExtColumnGrid> G;
    QString Ini;
};

TEST_F(ColumnPositions, LoadingPutsTheColumnsBackInTheSavedOrder) {
    G->MoveColumn(0, 2); // H1 H2 H0
    ASSERT_EQ(Headers(), "H1H2H0");
    G->SaveColumnPositions(Ini, "Cols");
    G->MoveColumn(2, 0); // back to H0 H1 H2
    ASSERT_EQ(Headers(), "H0H1H2");
    G->LoadColumnPositions(Ini, "Cols");
    EXPECT_EQ(Headers(), "H1H2H0");
}

TEST_F(ColumnPositions, LoadingStartsFromTheDesignOrderWhateverTheCurrentOrder) {
    G->MoveColumn(0, 2); // H1 H2 H0
    G->SaveColumnPositions(Ini, "Cols");
    G->MoveColumn(2, 0);
    G->MoveColumn(2, 0); // H2 H0 H1
    ASSERT_EQ(Headers(), "H2H0H1");
    G->LoadColumnPositions(Ini, "Cols");
    EXPECT_EQ(Headers(), "H1H2H0");
    EXPECT_EQ(G->Columns()->Items(0)->DefIdx(), 1);
    EXPECT_EQ(G->Columns()->Items(2)->DefIdx(), 0);
}

TEST_F(ColumnPositions, LoadingShowsAHiddenColumnAndPlacesEveryColumn) {
    G->MoveColumn(0, 2); // H1 H2 H0
    G->SaveColumnPositions(Ini, "Cols");
    G->MoveColumn(2, 0);
    G->HideColumn(1);
    ASSERT_EQ(G->NumHiddenColumns(), 1);
    G->LoadColumnPositions(Ini, "Cols");
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(Headers(), "H1H2H0");
    for (int c = 0; c < 3; ++c) EXPECT_EQ(G->GetGridCell(c, 0), G->Columns()->Items(c)->Header()) << c;
}

TEST_F(ColumnPositions, AColumnNamedAtTwoPositionsRaisesAndMovesNothing) {
    {
        TIniFile F(Ini);
        F.WriteInteger("Cols", "CP0", 1);
        F.WriteInteger("Cols", "CP1", 1);
        F.WriteInteger("Cols", "CP2", 0);
    }
    G->MoveColumn(0, 2); // H1 H2 H0
    EXPECT_THROW(G->LoadColumnPositions(Ini, "Cols"), EListError);
    EXPECT_EQ(Headers(), "H1H2H0");
}

TEST_F(ColumnPositions, TheGridsOwnSaveAndLoadUseTheIniFileOfItsColumnSizeSettings) {
    G->ColumnSize()->SetLocation(clIniFile);
    G->ColumnSize()->SetKey(Ini);
    G->ColumnSize()->SetSection("Grid");
    G->MoveColumn(0, 2);
    G->SaveColPositions();
    EXPECT_EQ(TIniFile(Ini).ReadInteger("Grid", "CP2", -1), 0);
    G->MoveColumn(2, 0);
    G->LoadColPositions();
    EXPECT_EQ(Headers(), "H1H2H0");
}

TEST_F(ColumnPositions, AnIncompleteSectionChangesNothingABadValueRaisesFirst) {
    {
        TIniFile F(Ini);
        F.WriteInteger("Cols", "CP0", 2);
        F.WriteInteger("Cols", "CP1", 0);
    }
    G->LoadColumnPositions(Ini, "Cols");
    EXPECT_EQ(Headers(), "H0H1H2");
    {
        TIniFile F(Ini);
        F.WriteInteger("Cols", "CP2", 9);
    }
    EXPECT_THROW(G->LoadColumnPositions(Ini, "Cols"), EListError);
    EXPECT_EQ(Headers(), "H0H1H2");
    for (int c = 0; c < 3; ++c) EXPECT_EQ(G->Columns()->Items(c)->DefIdx(), c);
}

} // namespace
