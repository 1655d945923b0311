// The item selector: cell size and arrangement, selection and hot item (with the disabled items
// and indexes past the end), lookup by typed prefix, mouse, scrolling and the painted cells.
#include "EditorsFixture.h"
#include "grid/editors/ExtDropDown.h"
#include "grid/editors/ExtItemSelector.h"

#include <QImage>

#include <string>
#include <vector>

namespace {

TColor PixelAt(const QImage& I, int X, int Y) {
    const QColor P = I.pixelColor(X, Y);
    return TColor(P.red() | (P.green() << 8) | (P.blue() << 16));
}

class ItemSelectorTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        S = Create<TExtCustomItemSelector>(Host.get(), Host.get());
        S->SetBounds(10, 10, 200, 120);
        S->OnItemSelect = [this](TObject* Sender) {
            Events.push_back("select " + std::to_string(S->ItemIndex()));
            Senders.push_back(Sender);
        };
    }
    // Captions added as items; UpdateSelectorPanel arranges them.
    void Fill(std::initializer_list<const char*> Captions) {
        for (const char* C : Captions) S->Items()->Add()->SetCaption(QString::fromUtf8(C));
        S->UpdateSelectorPanel();
    }
    // Every cell W x H, whatever the items hold.
    void FixCellSize(int W, int H) {
        S->OnItemSize = [W, H](TObject*, TSize& Size) { Size = TSize{W, H}; };
    }
    TRect Cell(int Index) const {
        TRect R;
        S->SelectorPanel()->GetItemRect(Index, R);
        return R;
    }
    TExtCustomItemSelector* S = nullptr;
    std::vector<std::string> Events;
    std::vector<TObject*> Senders;
};

TEST_F(ItemSelectorTest, AnEmptySelectorHasADefaultPanelAndDoesNothing) {
    int W = 0, H = 0;
    S->GetSelectorPanelSize(W, H);
    EXPECT_EQ(W, 100);
    EXPECT_EQ(H, 50);
    EXPECT_FALSE(S->LookupItem("A"));
    S->SelectFirst();
    S->SelectLast();
    S->SelectNext();
    S->SelectPrevious();
    S->HotNext();
    S->HotPrevious();
    EXPECT_EQ(S->ItemIndex(), -1);
    EXPECT_EQ(S->ItemHot(), -1);
    EXPECT_EQ(S->GetVisibleItemCount(), 0);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Cell(0), Rect(-1, -1, -1, -1));
}

struct ArrangeCase {
    const char* Name;
    int Columns; // set before the items are arranged; below 1 is ignored
    int Count;
    int WantColumns;
    TPoint LastCellAt;
    TSize Panel;
};
void PrintTo(const ArrangeCase& C, std::ostream* Os) { *Os << C.Name; }

class ItemArrangement : public ItemSelectorTest, public ::testing::WithParamInterface<ArrangeCase> {};

// Cells of 30 x 18 touching each other, 2 pixels from the panel's edges.
TEST_P(ItemArrangement, PutsCellsInRowsOfColumns) {
    const ArrangeCase& C = GetParam();
    FixCellSize(30, 18);
    S->SetColumns(C.Columns);
    for (int I = 0; I < C.Count; ++I) S->Items()->Add()->SetCaption(QString::number(I));
    S->UpdateSelectorPanel();
    EXPECT_EQ(S->Columns(), C.WantColumns);
    EXPECT_EQ(Cell(0), Rect(2, 2, 32, 20));
    EXPECT_EQ(Cell(C.Count - 1), Rect(C.LastCellAt.X, C.LastCellAt.Y, C.LastCellAt.X + 30, C.LastCellAt.Y + 18));
    int W = 0, H = 0;
    S->GetSelectorPanelSize(W, H);
    EXPECT_EQ(W, C.Panel.cx);
    EXPECT_EQ(H, C.Panel.cy);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ItemArrangement,
                         ::testing::Values(ArrangeCase{"one_column_stacks", 1, 3, 1, {2, 38}, {34, 58}},
                                           ArrangeCase{"three_items_in_two_columns", 2, 3, 2, {2, 20}, {64, 40}},
                                           ArrangeCase{"a_full_last_row", 2, 4, 2, {32, 20}, {64, 40}},
                                           ArrangeCase{"fewer_items_than_columns", 5, 2, 5, {32, 2}, {64, 22}},
                                           ArrangeCase{"zero_columns_is_ignored", 0, 3, 1, {2, 38}, {34, 58}},
                                           ArrangeCase{"negative_columns_is_ignored", -2, 2, 1, {2, 20}, {34, 40}}),
                         [](const auto& I) { return std::string(I.param.Name); });

struct SizeCase {
    const char* Name;
    TItemLayout Layout;
    bool Caption;
};
void PrintTo(const SizeCase& C, std::ostream* Os) { *Os << C.Name; }

class ItemSize : public ItemSelectorTest, public ::testing::WithParamInterface<SizeCase> {};

// A colour box of 14 x 14, cells inset by 4, a gap of 4 between box and caption; the caption is
// measured as the selector measures it, plus 4.
TEST_P(ItemSize, ComesFromTheColourBoxAndTheWidestCaption) {
    const SizeCase& C = GetParam();
    S->SetSelectorType(stColor);
    S->SetItemLayout(C.Layout);
    Fill({C.Caption ? "Red" : "", C.Caption ? "<b>Dark</b> blue" : ""});
    TCanvas M;
    M.Font()->Assign(S->ItemAppearance()->Font());
    int CW = 0, CH = 0;
    for (int I = 0; I < 2; ++I) {
        const TSize T =
            DrawDropDownHTML(&M, S->Items()->Items(I)->Caption(), Rect(0, 0, 1000, 500), nullptr, true, true);
        CW = std::max(CW, T.cx);
        CH = std::max(CH, T.cy);
    }
    if (CW > 0) CW += 4;
    const bool Side = C.Layout == ilCaptionLeft || C.Layout == ilCaptionRight;
    const int W = Side ? 8 + 14 + (CW > 0 ? 4 + CW : 0) : std::max(CW, 14) + 8;
    const int H = Side ? std::max(CH, 14) + 8 : 8 + 14 + (CH > 0 ? 4 + CH : 0);
    EXPECT_EQ(Cell(0), Rect(2, 2, 2 + W, 2 + H));
    EXPECT_EQ(Cell(1), Rect(2, 2 + H, 2 + W, 2 + 2 * H));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ItemSize,
                         ::testing::Values(SizeCase{"caption_right", ilCaptionRight, true},
                                           SizeCase{"caption_left", ilCaptionLeft, true},
                                           SizeCase{"caption_top", ilCaptionTop, true},
                                           SizeCase{"caption_bottom", ilCaptionBottom, true},
                                           SizeCase{"box_only_beside", ilCaptionRight, false},
                                           SizeCase{"box_only_above", ilCaptionBottom, false}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(ItemSelectorTest, TheItemListOwnsCopiesAndRefusesIndexesOutside) {
    TSelectorItems L(nullptr);
    int Changes = 0;
    L.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &L);
        ++Changes;
    };
    L.Add()->SetCaption("b");
    L.Insert(-3)->SetCaption("a"); // before the first
    L.Insert(99)->SetCaption("c"); // after the last
    EXPECT_EQ(Changes, 3) << "adding fires nothing; each new caption does";
    L.Items(1)->SetCaption("b"); // unchanged: nothing
    EXPECT_EQ(Changes, 3);
    ASSERT_EQ(L.Count(), 3);
    EXPECT_EQ(L.Items(0)->Caption(), "a");
    EXPECT_EQ(L.Items(2)->Caption(), "c");
    EXPECT_EQ(L.IndexOf(L.Items(2)), 2);
    EXPECT_EQ(L.Items(2)->Index(), 2);
    EXPECT_THROW(L.Items(3), EListError);
    EXPECT_THROW(L.Items(-1), EListError);
    EXPECT_THROW(L.Delete(3), EListError);
    L.Assign(&L); // a list copied onto itself loses nothing
    EXPECT_EQ(L.Count(), 3);
    TSelectorItems Copy(nullptr);
    Copy.Add()->SetCaption("gone");
    Copy.Assign(&L);
    ASSERT_EQ(Copy.Count(), 3);
    EXPECT_EQ(Copy.Items(1)->Caption(), "b");
    EXPECT_NE(Copy.Items(1), L.Items(1));
    L.Delete(0);
    EXPECT_EQ(L.Items(0)->Caption(), "b");
}

TEST_F(ItemSelectorTest, ChangingTheLayoutAloneWaitsForTheNextArrangement) {
    S->SetSelectorType(stColor);
    Fill({"Red"});
    const TRect Before = Cell(0);
    S->SetItemLayout(ilCaptionBottom);
    EXPECT_EQ(Cell(0), Before);
    S->UpdateSelectorPanel();
    EXPECT_NE(Cell(0), Before);
}

TEST_F(ItemSelectorTest, SelectionIgnoresIndexesPastTheEndAndDisabledItems) {
    Fill({"Red", "Green", "Blue"});
    S->Items()->Items(1)->FEnabled = false;
    S->SetItemIndex(2);
    S->SetItemIndex(3); // past the end: no selection, no event
    EXPECT_EQ(S->ItemIndex(), 2);
    S->SetItemIndex(1); // disabled
    EXPECT_EQ(S->ItemIndex(), 2);
    S->SetItemIndex(2); // the same index is announced again
    S->SetItemIndex(-1); // no selection is not announced
    EXPECT_EQ(S->ItemIndex(), -1);
    EXPECT_EQ(Events, (std::vector<std::string>{"select 2", "select 2"}));
    ASSERT_EQ(Senders.size(), 2u);
    EXPECT_EQ(Senders[0], S);
}

TEST_F(ItemSelectorTest, NavigationStopsAtTheEndsAndSkipsNothingButDisabledHot) {
    Fill({"a", "b", "c"});
    S->SelectPrevious(); // from none: the first
    EXPECT_EQ(S->ItemIndex(), 0);
    S->SelectPrevious();
    EXPECT_EQ(S->ItemIndex(), 0);
    S->SelectLast();
    S->SelectNext();
    EXPECT_EQ(S->ItemIndex(), 2);
    S->HotNext();
    EXPECT_EQ(S->ItemHot(), 0);
    S->Items()->Items(1)->FEnabled = false;
    S->HotNext(); // item 1 cannot be hot
    EXPECT_EQ(S->ItemHot(), 0);
    S->SelectorPanel()->SetItemHot(2);
    EXPECT_EQ(S->ItemHot(), 2);
    S->SelectorPanel()->SetItemHot(7);
    EXPECT_EQ(S->ItemHot(), 2);
}

struct LookupCase {
    const char* Name;
    const char* Typed;
    int Disabled; // -1: none
    bool Found;
    int Want;
};
void PrintTo(const LookupCase& C, std::ostream* Os) { *Os << C.Name; }

class ItemLookup : public ItemSelectorTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(ItemLookup, FindsTheFirstEnabledCaptionWithThePrefix) {
    const LookupCase& C = GetParam();
    Fill({"  <b>Red</b> wine", "Rose", "red", "Blue"});
    if (C.Disabled >= 0) S->Items()->Items(C.Disabled)->FEnabled = false;
    S->SetItemIndex(3);
    EXPECT_EQ(S->LookupItem(QString::fromUtf8(C.Typed)), C.Found);
    EXPECT_EQ(S->ItemIndex(), C.Want);
}

INSTANTIATE_TEST_SUITE_P(Prefixes, ItemLookup,
                         ::testing::Values(LookupCase{"tags_and_spaces_are_left_out", "RE", -1, true, 0},
                                           LookupCase{"a_disabled_match_gives_way_to_the_next", "RE", 0, true, 2},
                                           LookupCase{"only_a_disabled_match_finds_nothing", "RO", 1, false, 3},
                                           LookupCase{"the_prefix_is_compared_as_given", "re", -1, false, 3},
                                           LookupCase{"an_empty_prefix_matches_nothing", "", -1, false, 3}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(ItemSelectorTest, MouseSelectsEnabledCellsAndMakesThemHot) {
    ShowHost();
    FixCellSize(40, 20);
    Fill({"a", "b", "c"});
    S->Items()->Items(1)->SetHint("second");
    S->Items()->Items(2)->FEnabled = false;
    TCustomItemSelector* P = S->SelectorPanel();
    P->Perform(WM_MOUSEMOVE, 0, MakeLParam(5, 25));
    EXPECT_EQ(S->ItemHot(), 1);
    EXPECT_EQ(P->Hint(), "second");
    P->Perform(WM_MOUSEMOVE, 0, MakeLParam(5, 45)); // disabled: nothing is hot
    EXPECT_EQ(S->ItemHot(), -1);
    P->Perform(WM_MOUSEMOVE, 0, MakeLParam(5, 5));
    EXPECT_EQ(S->ItemHot(), 0);
    P->Perform(WM_MOUSEMOVE, 0, MakeLParam(90, 90)); // off every cell
    EXPECT_EQ(S->ItemHot(), -1);
    Click(P, 42, 25); // right of the cells: their right edge is outside them
    Click(P, 5, 45); // disabled
    EXPECT_EQ(S->ItemIndex(), -1);
    Click(P, 41, 22); // the top left corner is inside
    EXPECT_EQ(S->ItemIndex(), 1);
    EXPECT_EQ(Events, std::vector<std::string>{"select 1"});
}

TEST_F(ItemSelectorTest, ScrollsTheSelectedItemIntoView) {
    ShowHost();
    FixCellSize(60, 20);
    for (int I = 0; I < 20; ++I) S->Items()->Add()->SetCaption(QString::number(I));
    S->UpdateSelectorPanel();
    ASSERT_TRUE(S->VertScrollBarVisible());
    EXPECT_FALSE(S->HorzScrollBarVisible());
    EXPECT_EQ(S->GetVisibleItemCount(), 6); // 120 / 20
    auto InView = [&](int I) {
        const int Top = Cell(I).Top + S->SelectorPanel()->Top();
        return Top >= 0 && Top + 20 <= S->ViewHeight();
    };
    S->SetItemIndex(19);
    EXPECT_TRUE(InView(19));
    EXPECT_EQ(S->VertScrollPos(), 402 - 120); // the last cell's bottom at the view's
    S->SelectFirst();
    EXPECT_TRUE(InView(0));
    EXPECT_EQ(S->VertScrollPos(), 2); // the first cell's top at the view's
    S->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 100));
    EXPECT_EQ(S->VertScrollPos(), 100);
    EXPECT_EQ(S->SelectorPanel()->Top(), -100);
}

TEST_F(ItemSelectorTest, AnEmptyCellHeightCountsNoVisibleItems) {
    FixCellSize(40, 0);
    Fill({"a", "b"});
    EXPECT_EQ(S->GetVisibleItemCount(), 0);
    FixCellSize(40, 30);
    S->SetColumns(2);
    EXPECT_EQ(S->GetVisibleItemCount(), 8); // 120 / 30 rows of two
}

TEST_F(ItemSelectorTest, ThePanelNeedsAContainerForItsOwner) {
    try {
        TCustomItemSelector P(Host.get());
        FAIL() << "a panel without its container was made";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Invalid parent");
    }
}

TEST_F(ItemSelectorTest, PaintsTheSelectedCellWithItsLookAndTheColourBox) {
    ShowHost();
    S->SetSelectorType(stColor);
    S->SetItemAppearance(S->ItemAppearance()); // copying itself changes nothing
    Fill({"Red", "Blue"});
    S->Items()->Items(0)->SetColor(0x0000FF);
    S->Items()->Items(1)->SetColor(0xFF0000);
    S->SetItemIndex(1);
    QApplication::processEvents();
    const QImage I = S->SelectorPanel()->grab().toImage();
    const TRect C0 = Cell(0), C1 = Cell(1);
    // The colour boxes: black frame, the item's colour inside, at the cell's inset.
    EXPECT_EQ(PixelAt(I, C0.Left + 4, C0.Top + 4), clBlack);
    EXPECT_EQ(PixelAt(I, C0.Left + 10, C0.Top + 10), TColor(0x0000FF));
    EXPECT_EQ(PixelAt(I, C1.Left + 10, C1.Top + 10), TColor(0xFF0000));
    // An unselected cell shows the selector's colour; the selected one the selection look.
    EXPECT_EQ(PixelAt(I, C0.Right - 3, C0.Top + 3), TColor(0xFFFFFF));
    const TColor Sel = PixelAt(I, C1.Right - 4, C1.Top + 4);
    EXPECT_NE(Sel, TColor(0xFFFFFF));
    EXPECT_NE(Sel, TColor(0x000000));
}

TEST_F(ItemSelectorTest, AnEmptyPictureGivesWayToTheImageOfTheList) {
    TImageList Images(Host.get(), 16, 16);
    TBitmap Strip(16, 16);
    Images.Add(&Strip, nullptr);
    S->SetImages(&Images);
    TSelectorItem* Empty = S->Items()->Add();
    TBitmap Nothing;
    Empty->Image()->SetGraphic(&Nothing);
    Empty->SetImageIndex(0);
    S->UpdateSelectorPanel();
    EXPECT_FALSE(Empty->HasPicture());
    EXPECT_EQ(Cell(0), Rect(2, 2, 2 + 16 + 8, 2 + 16 + 8));
    TSelectorItem* Wide = S->Items()->Add();
    TBitmap Picture(30, 10);
    Wide->Image()->SetGraphic(&Picture);
    Wide->SetImageIndex(0); // the picture wins
    S->UpdateSelectorPanel();
    EXPECT_EQ(Cell(0), Rect(2, 2, 2 + 30 + 8, 2 + 16 + 8));
    S->SetImages(nullptr);
    EXPECT_EQ(Cell(0), Rect(2, 2, 2 + 30 + 8, 2 + 10 + 8));
}

} // namespace
