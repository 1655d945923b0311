// The multi-column drop-down driven headless through its keys, clicks and wheel: completion while
// typing, the item index and its text, stepping while closed, opening sizes, choosing and
// cancelling in the open list, the search in the list, and what the list paints.
#include "DropDownListCases.h"
#include "EditorsFixture.h"
#include "grid/editors/ExtMultiColumnDropDown.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <string>
#include <vector>

namespace {

using ExtMultiColumnDropDown::ctImage;
using ExtMultiColumnDropDown::TDropDownItem;
using ExtMultiColumnDropDown::TDropDownItems;

class MultiColumnDropDownTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        FClock->Advance(100000);
        D = Create<TExtMultiColumnDropDown>(Host.get(), Host.get());
        D->SetBounds(60, 20, 160, 24);
        ShowHost();
        D->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (D) {
            D->OnSelect = nullptr;
            D->OnDropUp = nullptr;
            if (D->DroppedDown()) D->HideDropDown(true);
        }
        EditorsTest::TearDown();
    }
    // Two columns: the name (the lookup column) and a note.
    void AddItems(std::initializer_list<const char*> Names, bool Rebuild = true) {
        if (D->Columns()->Count() == 0) {
            D->Columns()->Add()->SetHeader("Name");
            D->Columns()->Add()->SetHeader("Note");
        }
        for (const char* N : Names) {
            TDropDownItem* It = D->Items()->Add();
            It->Text() << N << QStringLiteral("note of %1").arg(N);
        }
        if (Rebuild) D->EndUpdate();
    }
    void AddRows(int N) {
        for (int I = 0; I < N; ++I) {
            TDropDownItem* It = D->Items()->Add();
            It->Text() << QStringLiteral("Row %1").arg(I, 2, 10, QChar('0'));
        }
        if (D->Columns()->Count() == 0) D->Columns()->Add()->SetHeader("Row");
        D->EndUpdate();
    }
    void Listen() {
        D->OnSelect = [this](TObject*) { Log.push_back("select " + std::to_string(D->ItemIndex())); };
        D->OnDropUp = [this](TObject*, bool Cancelled) {
            Log.push_back(std::string(Cancelled ? "cancel " : "accept ") + std::to_string(D->ItemIndex()) + " " +
                          D->Text().toStdString());
        };
    }
    ExtMultiColumnDropDown::TExtColGrid* List() const { return D->ExtColGrid(); }
    // A key where the keyboard sends it: the list while the popup is open, else the edit.
    void Key(Word K, QChar Ch = QChar(), TShiftState Shift = {}) {
        if (D->DroppedDown())
            List()->SimulateKey(K, Shift, Ch);
        else
            D->SimulateKey(K, Shift, Ch);
    }
    void Open() {
        D->SimulateKey(VK_F4);
        ASSERT_TRUE(D->DroppedDown());
        QApplication::processEvents();
        Log.clear();
    }
    void Wheel(TControl* C, bool Down) {
        C->Perform(WM_MOUSEWHEEL, MakeWParam(0, Down ? Word(-120) : Word(120)), MakeLParam(5, 5));
    }
    std::string Selected() const { return D->SelText().toStdString(); }
    std::string Txt() const { return D->Text().toStdString(); }

    TExtMultiColumnDropDown* D = nullptr;
    std::vector<std::string> Log;
};

// ---- completion in the edit -------------------------------------------------------------------
class MultiColumnCompletion : public MultiColumnDropDownTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(MultiColumnCompletion, TypingCompletesToTheFirstLookupEntryItStarts) {
    const TypingCase& C = GetParam();
    AddItems({"Apple", "Apricot", "Banana", "apex"});
    Type(D, C.Typed);
    EXPECT_EQ(Txt(), C.Text);
    EXPECT_EQ(Selected(), C.Tail);
    EXPECT_EQ(D->ItemIndex(), C.ItemIndex);
    EXPECT_FALSE(D->DroppedDown());
}

INSTANTIATE_TEST_SUITE_P(
    Typing, MultiColumnCompletion,
    ::testing::Values(TypingCase{"one_letter_takes_the_items_own_case", "a", "Apple", "pple", 0},
                      TypingCase{"a_third_letter_moves_to_the_next_match", "apr", "Apricot", "icot", 1},
                      TypingCase{"upper_case_typing_matches_too", "BA", "Banana", "nana", 2},
                      TypingCase{"a_later_item_matches_when_earlier_do_not", "ape", "apex", "x", 3},
                      TypingCase{"no_match_cuts_the_text_at_the_caret", "apz", "Apz", "", 0},
                      TypingCase{"a_whole_entry_leaves_nothing_selected", "banana", "Banana", "", 2}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(MultiColumnDropDownTest, BeforeTheKeyReleaseTheTypedCaseStaysAndTheReleaseTakesTheItems) {
    AddItems({"Apple", "Apricot", "Banana"});
    D->Perform(WM_KEYDOWN, 'A', 0);
    D->Perform(WM_CHAR, 'a', 0);
    EXPECT_EQ(Txt(), "apple");
    EXPECT_EQ(Selected(), "pple");
    D->Perform(WM_KEYUP, 'A', 0);
    EXPECT_EQ(Txt(), "Apple");
    EXPECT_EQ(Selected(), "pple");
    EXPECT_EQ(D->ItemIndex(), 0);
}

TEST_F(MultiColumnDropDownTest, BackspaceTurnsCompletionOffUntilAnotherKey) {
    AddItems({"Apple", "Apricot"});
    Type(D, "ap");
    ASSERT_EQ(Txt(), "Apple");
    Key(VK_BACK);
    EXPECT_EQ(Txt(), "Ap");
    EXPECT_FALSE(D->WorkMode());
    Type(D, "r");
    EXPECT_TRUE(D->WorkMode());
    EXPECT_EQ(Txt(), "Apricot");
    EXPECT_EQ(D->ItemIndex(), 1);
}

TEST_F(MultiColumnDropDownTest, TheEditCompletesOnlyWhatTheLastRebuildListedWhileTheListSearchReadsTheItems) {
    AddItems({"Apple"});
    AddItems({"Cherry"}, /*Rebuild=*/false);
    Type(D, "c");
    EXPECT_EQ(Txt(), "c");
    EXPECT_EQ(D->ItemIndex(), -1);
    D->SetText(QString());
    Open();
    Key('C', QChar('c'));
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(Txt(), "Cherry");
    EXPECT_EQ(List()->Row(), 2);
}

// Items removed after the last rebuild: their stale entries must not become the item index.
TEST_F(MultiColumnDropDownTest, EntriesOfRemovedItemsDoNotComplete) {
    AddItems({"Apple", "Banana", "Cherry"});
    D->Items()->Delete(2);
    Type(D, "ch");
    EXPECT_EQ(Txt(), "ch");
    EXPECT_EQ(D->ItemIndex(), -1);
    D->Items()->Clear();
    D->EndUpdate(); // with no items the list empties
    EXPECT_TRUE(D->LookupItems().isEmpty());
    D->SetText(QString());
    Type(D, "a");
    EXPECT_EQ(Txt(), "a");
    EXPECT_EQ(D->ItemIndex(), -1);
}

struct EnterCase {
    const char* Name;
    const char* Text;
    int Want;
    const char* After;
};
void PrintTo(const EnterCase& C, std::ostream* Os) { *Os << C.Name; }

class MultiColumnEnter : public MultiColumnDropDownTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(MultiColumnEnter, EnterTakesTheEntryTheTextNamesInAnyCase) {
    const EnterCase& C = GetParam();
    AddItems({"Apples", "Apple", "Apricot"});
    D->SetText(C.Text);
    ASSERT_EQ(D->ItemIndex(), -1);
    Key(VK_RETURN);
    EXPECT_EQ(D->ItemIndex(), C.Want);
    EXPECT_EQ(Txt(), C.After);
}

INSTANTIATE_TEST_SUITE_P(Keys, MultiColumnEnter,
                         ::testing::Values(EnterCase{"exact_entry", "Apricot", 2, "Apricot"},
                                           EnterCase{"other_case_takes_the_entrys_case", "apple", 1, "Apple"},
                                           EnterCase{"a_prefix_is_no_entry", "Apri", -1, "Apri"}),
                         [](const auto& I) { return std::string(I.param.Name); });

// Escape in the closed edit settles the item from the text; a text no entry has leaves no item.
struct EscapeCase {
    const char* Name;
    const char* Text;
    int Want;
    const char* After;
};
void PrintTo(const EscapeCase& C, std::ostream* Os) { *Os << C.Name; }

class MultiColumnEscape : public MultiColumnDropDownTest, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(MultiColumnEscape, EscapeInTheClosedEditTakesTheItemTheTextNames) {
    const EscapeCase& C = GetParam();
    AddItems({"Apple", "Banana"});
    D->SetCanUndo(false); // else the edit's undo takes Escape first
    D->SetItemIndex(0);
    D->SetText(C.Text);
    Key(VK_ESCAPE);
    EXPECT_FALSE(D->WorkMode());
    EXPECT_EQ(D->ItemIndex(), C.Want);
    EXPECT_EQ(Txt(), C.After);
}

INSTANTIATE_TEST_SUITE_P(Keys, MultiColumnEscape,
                         ::testing::Values(EscapeCase{"an_entry_in_any_case", "banana", 1, "Banana"},
                                           EscapeCase{"no_entry_no_item", "Cherry", -1, ""}),
                         CaseName());

// What the change event and the item see, key by key, while a completion is made and settled.
TEST_F(MultiColumnDropDownTest, TheChangeEventSeesTheTypedTextThenTheCompletion) {
    AddItems({"Apple", "Apricot"});
    D->OnChange = [this](TObject*) { Log.push_back("change " + Txt() + " " + std::to_string(D->ItemIndex())); };
    D->Perform(WM_KEYDOWN, 'A', 0);
    D->Perform(WM_CHAR, 'a', 0);
    Log.push_back("typed " + Txt() + " " + std::to_string(D->ItemIndex()));
    D->Perform(WM_KEYUP, 'A', 0);
    Log.push_back("released " + Txt() + " " + std::to_string(D->ItemIndex()));
    EXPECT_EQ(Log,
              (std::vector<std::string>{"change a -1", "change apple 0", "typed apple 0", "change Apple 0",
                                        "released Apple 0"}));
    EXPECT_TRUE(D->GetModified());
}

// ---- item index -------------------------------------------------------------------------------
TEST_F(MultiColumnDropDownTest, ItemIndexWritesTheLookupStringAndIgnoresIndexesPastTheEnd) {
    AddItems({"Apple", "Banana"});
    D->SetItemIndex(1);
    EXPECT_EQ(Txt(), "Banana");
    D->SetItemIndex(2); // past the end
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(Txt(), "Banana");
    D->SetItemIndex(-7); // none
    EXPECT_EQ(D->ItemIndex(), -1);
    EXPECT_EQ(Txt(), "");
    D->SetLookupColumn(1);
    D->SetItemIndex(0);
    EXPECT_EQ(Txt(), "note of Apple");
    D->Items()->Add()->Text() << "Short"; // no string in column 1
    D->SetItemIndex(2);
    EXPECT_EQ(Txt(), "");
    D->SetLookupColumn(-1);
    D->SetItemIndex(0);
    EXPECT_EQ(Txt(), "");
}

TEST_F(MultiColumnDropDownTest, GetItemIndexMatchesExactlyAndSkipsItemsWithoutTheString) {
    AddItems({"Apple", "Banana"});
    D->Items()->Insert(0)->Text() << "";
    EXPECT_EQ(D->GetItemIndex("Banana"), 2);
    EXPECT_EQ(D->GetItemIndex("banana"), -1);
    EXPECT_EQ(D->GetItemIndex(""), 0);
    D->SetLookupColumn(3);
    EXPECT_EQ(D->GetItemIndex(""), -1);
    EXPECT_EQ(D->Items()->IndexInColumn(1, "note of Apple"), 1);
}

TEST_F(MultiColumnDropDownTest, CopiedItemsKeepTheirStrings) {
    AddItems({"Apple", "Banana"});
    D->Items()->Items(1)->SetImageIndex(4);
    auto* Other = Create<TExtMultiColumnDropDown>(Host.get(), Host.get());
    Other->Assign(D);
    ASSERT_EQ(Other->Items()->Count(), 2);
    EXPECT_EQ(Other->Items()->Items(1)->TextAt(0), "Banana");
    EXPECT_EQ(Other->Items()->Items(1)->ImageIndex(), 4);
    EXPECT_EQ(Other->Columns()->Items(0)->Header(), "Name");
    TDropDownItems Copy(nullptr);
    Copy.Assign(D->Items());
    EXPECT_EQ(Copy.Items(0)->Text(), (QStringList{"Apple", "note of Apple"}));
}

// ---- stepping while closed ----------------------------------------------------------------------
struct StepCase {
    const char* Name;
    int Start;
    Word Key;
    bool Editable;
    int Want;
};
void PrintTo(const StepCase& C, std::ostream* Os) { *Os << C.Name; }

class MultiColumnSteps : public MultiColumnDropDownTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(MultiColumnSteps, KeysInTheClosedEditStepThroughTheItems) {
    const StepCase& C = GetParam();
    AddRows(25);
    D->SetEditorEnabled(C.Editable);
    D->SetItemIndex(C.Start);
    Key(C.Key);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), C.Want);
    if (C.Want >= 0) {
        EXPECT_EQ(D->Text(), QStringLiteral("Row %1").arg(C.Want, 2, 10, QChar('0')));
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, MultiColumnSteps,
                         ::testing::Values(StepCase{"down_from_none_is_the_first", -1, VK_DOWN, true, 0},
                                           StepCase{"down_at_the_last_stays", 24, VK_DOWN, true, 24},
                                           StepCase{"up_from_none_is_the_first", -1, VK_UP, true, 0},
                                           StepCase{"up_at_the_first_stays", 0, VK_UP, true, 0},
                                           StepCase{"page_down_from_none_is_the_first", -1, VK_NEXT, true, 0},
                                           StepCase{"page_down_is_ten_on", 3, VK_NEXT, true, 13},
                                           StepCase{"page_down_stops_at_the_last", 20, VK_NEXT, true, 24},
                                           StepCase{"page_up_stops_at_the_first", 5, VK_PRIOR, true, 0},
                                           StepCase{"page_up_is_ten_back", 15, VK_PRIOR, true, 5},
                                           StepCase{"end_in_an_editable_edit_moves_the_caret", 3, VK_END, true, 3},
                                           StepCase{"end_in_a_fixed_edit_is_the_last", 3, VK_END, false, 24},
                                           StepCase{"home_in_a_fixed_edit_is_the_first", 3, VK_HOME, false, 0}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(MultiColumnDropDownTest, TheWheelOverTheClosedEditStepsOneItem) {
    AddItems({"Apple", "Banana", "Cherry"});
    Wheel(D, true);
    EXPECT_EQ(D->ItemIndex(), 0);
    Wheel(D, true);
    Wheel(D, true);
    Wheel(D, true);
    EXPECT_EQ(D->ItemIndex(), 2);
    Wheel(D, false);
    EXPECT_EQ(Txt(), "Banana");
}

// ---- opening ---------------------------------------------------------------------------------
TEST_F(MultiColumnDropDownTest, ThePopupShowsOnlyWholeRows) {
    AddRows(10);
    D->DropDownHeader()->SetVisible(false);
    D->DropDownFooter()->SetVisible(false);
    Open();
    EXPECT_EQ(D->DropDownForm()->Height(), 25 + 7 * 22 + 2);
    int H = 200;
    D->AdaptDropDownHeight(H);
    EXPECT_EQ(H, 181);
    D->SetDropDownRowHeight(0); // nothing to divide by: the height stays
    H = 200;
    D->AdaptDropDownHeight(H);
    EXPECT_EQ(H, 200);
}

TEST_F(MultiColumnDropDownTest, ColumnsScaleToThePopupWidthWithTheRemainderSpread) {
    D->Columns()->Add()->SetWidth(80);
    D->Columns()->Add()->SetWidth(80);
    D->Columns()->Add()->SetWidth(81);
    D->Items()->Add()->Text() << "a"
                              << "b"
                              << "c";
    D->EndUpdate();
    D->SetDropDownAutoWidth(false);
    D->SetDropDownWidth(200);
    Open();
    ASSERT_EQ(D->DropDownForm()->Width(), 200);
    EXPECT_EQ(List()->ColWidths(0), 66);
    EXPECT_EQ(List()->ColWidths(1), 66);
    EXPECT_EQ(List()->ColWidths(2), 67);
}

TEST_F(MultiColumnDropDownTest, AutoWidthMakesThePopupAsWideAsItsColumns) {
    D->Columns()->Add()->SetWidth(70);
    D->Columns()->Add()->SetWidth(90);
    D->Items()->Add()->Text() << "a"
                              << "b";
    D->EndUpdate();
    D->SetColumnSizeWithDropDown(false);
    Open();
    EXPECT_EQ(D->DropDownForm()->Width(), 70 + 90 + 2 * D->DropDownBorderWidth());
    EXPECT_EQ(List()->ColWidths(0), 70);
}

TEST_F(MultiColumnDropDownTest, AnAutoSizeColumnTakesItsWidestCell) {
    AddItems({"Fig", "Pomegranate"});
    D->Columns()->Items(0)->SetAutoSize(true);
    D->SetColumnSizeWithDropDown(false);
    Open();
    TCanvas C;
    C.Font()->Assign(D->Columns()->Items(0)->Font());
    EXPECT_EQ(List()->ColWidths(0), C.TextWidth("Pomegranate") + 6);
    EXPECT_EQ(List()->Columns()->Items(0)->Width(), C.TextWidth("Pomegranate") + 6);
}

TEST_F(MultiColumnDropDownTest, OpeningPutsTheListOnTheItemAndScrollsItIntoView) {
    AddRows(20);
    D->SetItemIndex(15);
    Open();
    EXPECT_EQ(List()->Row(), 16);
    EXPECT_TRUE(List()->RowInView(16));
    EXPECT_EQ(List()->RowCount(), 21);
    EXPECT_EQ(D->ItemIndex(), 15);
}

// Where the edit sits against the screen's work area when the popup opens.
struct EdgeCase {
    const char* Name;
    bool FromRight, FromBottom; // which edges Dx and Dy count from
    int Dx, Dy; // the host's offset from those edges
    TDropPosition Position;
};
void PrintTo(const EdgeCase& C, std::ostream* Os) { *Os << C.Name; }

class MultiColumnScreenEdges : public MultiColumnDropDownTest, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(MultiColumnScreenEdges, ThePopupOpensWhollyInsideTheWorkArea) {
    const EdgeCase& C = GetParam();
    QScreen* S = QGuiApplication::primaryScreen();
    ASSERT_NE(S, nullptr);
    const QRect Avail = S->availableGeometry();
    // A list wider and taller than the room the edit leaves on that side.
    D->Columns()->Add()->SetWidth(180);
    D->Columns()->Add()->SetWidth(180);
    AddRows(30);
    D->SetDropPosition(C.Position);
    const int X = (C.FromRight ? Avail.right() : Avail.left()) + C.Dx;
    const int Y = (C.FromBottom ? Avail.bottom() : Avail.top()) + C.Dy;
    Host->SetBounds(X, Y, 360, 200);
    QApplication::processEvents();
    Open();
    const QRect G = D->DropDownForm()->geometry();
    EXPECT_TRUE(Avail.contains(G)) << G.x() << "," << G.y() << " " << G.width() << "x" << G.height() << " in "
                                   << Avail.width() << "x" << Avail.height();
    EXPECT_GE(G.width(), 360); // the list keeps its width: it is moved, not cut
}

INSTANTIATE_TEST_SUITE_P(Opening, MultiColumnScreenEdges,
                         ::testing::Values(EdgeCase{"left_edge_past_the_screen", false, false, -90, 100, dpAuto},
                                           EdgeCase{"right_edge", true, false, -150, 100, dpAuto},
                                           EdgeCase{"top_edge_dropping_up", false, false, 100, 0, dpUp},
                                           EdgeCase{"bottom_edge_dropping_down", false, true, 100, -60, dpDown},
                                           EdgeCase{"bottom_right_corner", true, true, -120, -60, dpAuto}),
                         CaseName());

// ---- choosing in the open list ----------------------------------------------------------------
TEST_F(MultiColumnDropDownTest, ArrowsInTheListMoveTheItemAtOnceAndEnterAcceptsIt) {
    AddItems({"Apple", "Banana", "Cherry"});
    Listen();
    Open();
    EXPECT_EQ(List()->Row(), 1);
    Key(VK_DOWN);
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(Txt(), "Banana");
    Key(VK_DOWN);
    Key(VK_DOWN); // past the end: stays
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 2);
    Key(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Txt(), "Cherry");
    EXPECT_EQ(Log, (std::vector<std::string>{"accept 2 Cherry", "select 2"}));
}

struct CloseCase {
    const char* Name;
    int Start; // the item when the popup opens
    bool Cancel;
    int Want;
    const char* Text;
};
void PrintTo(const CloseCase& C, std::ostream* Os) { *Os << C.Name; }

class MultiColumnClose : public MultiColumnDropDownTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(MultiColumnClose, EscapeRestoresTheOldItemAndTextAfterMovingInTheList) {
    const CloseCase& C = GetParam();
    AddItems({"Apple", "Banana", "Cherry"});
    if (C.Start >= 0)
        D->SetItemIndex(C.Start);
    else
        D->SetText("typed"); // a text no item has
    Listen();
    Open();
    Key(VK_END);
    EXPECT_EQ(D->ItemIndex(), 2);
    Key(C.Cancel ? VK_ESCAPE : VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), C.Want);
    EXPECT_EQ(Txt(), C.Text);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.front(), std::string(C.Cancel ? "cancel " : "accept ") + std::to_string(C.Want) + " " + C.Text);
}

INSTANTIATE_TEST_SUITE_P(Close, MultiColumnClose,
                         ::testing::Values(CloseCase{"escape_restores_the_item", 0, true, 0, "Apple"},
                                           CloseCase{"escape_restores_a_text_no_item_had", -1, true, -1, "typed"},
                                           CloseCase{"enter_keeps_the_moved_to_item", 0, false, 2, "Cherry"}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(MultiColumnDropDownTest, AWheelMoveInTheListIsNotTakenWithoutAClickOrKey) {
    AddItems({"Apple", "Banana", "Cherry"});
    D->SetItemIndex(0);
    Listen();
    Open();
    Wheel(List(), true);
    Wheel(List(), true);
    EXPECT_EQ(List()->Row(), 3);
    EXPECT_EQ(D->ItemIndex(), 0);
    D->HideDropDown(false); // the popup loses its activation
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_EQ(Txt(), "Apple");
    EXPECT_EQ(Log, (std::vector<std::string>{"accept 0 Apple"}));
}

TEST_F(MultiColumnDropDownTest, AKeyAfterTheWheelConfirmsTheRow) {
    AddItems({"Apple", "Banana", "Cherry"});
    D->SetItemIndex(0);
    Open();
    Wheel(List(), true);
    Key(VK_DOWN);
    EXPECT_EQ(D->ItemIndex(), 2);
    D->HideDropDown(false);
    EXPECT_EQ(D->ItemIndex(), 2);
}

TEST_F(MultiColumnDropDownTest, AClickOnARowPicksItAndCloses) {
    AddItems({"Apple", "Banana", "Cherry"});
    Listen();
    Open();
    const TRect R = List()->CellRect(0, 3);
    ASSERT_GT(R.Height(), 0);
    Click(List(), R.Left + 5, R.Top + 5);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Txt(), "Cherry");
    EXPECT_EQ(Log, (std::vector<std::string>{"accept 2 Cherry", "select 2"}));
}

TEST_F(MultiColumnDropDownTest, AClickOnTheHeaderPicksNothing) {
    AddItems({"Apple", "Banana"});
    D->SetItemIndex(1);
    Listen();
    Open();
    Click(List(), 5, 5);
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 1);
}

TEST_F(MultiColumnDropDownTest, AltUpInTheListClosesThePopupWithoutMovingTheItem) {
    AddItems({"Apple", "Banana", "Cherry"});
    D->SetItemIndex(1);
    Open();
    Key(VK_UP, QChar(), TShiftState{ssAlt});
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 1);
}

// ---- search in the open list ------------------------------------------------------------------
TEST_F(MultiColumnDropDownTest, LettersTypedInTheListSearchTheLookupColumn) {
    AddItems({"Banana", "Apple", "Apricot", "#5 bolt", "(spare)"});
    Open();
    Key('A', QChar('a'));
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(Txt(), "Apple");
    EXPECT_EQ(Selected(), "pple");
    Key('P', QChar('p'));
    Key('R', QChar('r'));
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Selected(), "icot");
    EXPECT_EQ(List()->Row(), 3);
    EXPECT_EQ(D->LookupEntry(), "apr");
    // No item starts with "aprb": the letter alone starts a new search.
    Key('B', QChar('b'));
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_EQ(D->LookupEntry(), "b");
    // The typed characters count, whatever key codes they share.
    Key(0xDE, QChar('#'));
    EXPECT_EQ(D->ItemIndex(), 3);
    Key('9', QChar('('));
    EXPECT_EQ(D->ItemIndex(), 4);
    EXPECT_TRUE(D->DroppedDown());
    Key('Z', QChar('z')); // nothing: the entry is cleared
    EXPECT_EQ(D->LookupEntry(), "");
    EXPECT_EQ(D->ItemIndex(), 4);
}

TEST_F(MultiColumnDropDownTest, TheListSearchHonoursCaseSensitive) {
    AddItems({"apple", "Apple"});
    D->SetCaseSensitive(true);
    Open();
    Key('A', QChar('A'), TShiftState{ssShift});
    EXPECT_EQ(D->ItemIndex(), 1);
    D->HideDropDown(true);
    D->SetCaseSensitive(false);
    Open();
    Key('A', QChar('A'), TShiftState{ssShift});
    EXPECT_EQ(D->ItemIndex(), 0);
}

TEST_F(MultiColumnDropDownTest, TheSearchScrollsAFarItemToTheTop) {
    AddRows(30);
    Open();
    Type(List(), "Row 2");
    Key('7', QChar('7'));
    EXPECT_EQ(D->ItemIndex(), 27);
    EXPECT_EQ(List()->Row(), 28);
    EXPECT_TRUE(List()->RowInView(28));
}

TEST_F(MultiColumnDropDownTest, BackspaceInTheListShortensTheEntryAndEndsTheSearch) {
    AddItems({"Apple", "Apricot"});
    Open();
    Key('A', QChar('a'));
    Key('P', QChar('p'));
    Key('R', QChar('r'));
    ASSERT_EQ(Txt(), "Apricot");
    ASSERT_EQ(Selected(), "icot");
    Key(VK_BACK); // the selection goes
    EXPECT_EQ(Txt(), "Apr");
    EXPECT_EQ(D->LookupEntry(), "");
    EXPECT_TRUE(D->DroppedDown());
}

// ---- styles -----------------------------------------------------------------------------------
class MultiColumnStyles : public MultiColumnDropDownTest, public ::testing::WithParamInterface<ListStyleCase> {};

TEST_P(MultiColumnStyles, AStyleSetsTheHeaderAndLineColours) {
    const ListStyleCase& C = GetParam();
    D->SetComponentStyle(C.Style);
    ExpectListStyle(D, C);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, MultiColumnStyles,
    ::testing::Values(
        ListStyleCase{"office2003_blue", tsOffice2003Blue, RGB(89, 135, 214), RGB(3, 56, 147), RGB(0, 45, 150),
                      RGB(0, 45, 150), clBlack, clWhite},
        ListStyleCase{"windows_xp_lines_apart", tsWindowsXP, clBtnFace, clBtnFace, clSilver, clBlack, clHighlightText,
                      clBlack, clHighlight},
        ListStyleCase{"terminal_highlight_selection", tsTerminal, clBtnFace, clBtnFace, RGB(128, 128, 128),
                      RGB(128, 128, 128), clHighlightText, clBlack, clHighlight},
        ListStyleCase{"office2007_luna_header_font", tsOffice2007Luna, RGB(227, 239, 255), RGB(175, 210, 255),
                      RGB(175, 210, 255), RGB(175, 210, 255), clBlack, RGB(8, 55, 114)},
        ListStyleCase{"office2010_black_no_gradient_end", tsOffice2010Black, RGB(130, 130, 130), clNone,
                      RGB(207, 221, 238), RGB(207, 221, 238), clBlack, RGB(214, 215, 215), RGB(255, 208, 108)},
        ListStyleCase{"office2010_silver_selection", tsOffice2010Silver, RGB(229, 233, 237), clNone, RGB(207, 221, 238),
                      RGB(207, 221, 238), clBlack, RGB(30, 57, 91), RGB(255, 208, 108)},
        ListStyleCase{"windows7", tsWindows7, RGB(250, 251, 253), RGB(235, 243, 253), RGB(184, 214, 251),
                      RGB(184, 214, 251), clBlack, clBlack}),
    CaseName());

// A custom style leaves whatever the list had.
TEST_F(MultiColumnDropDownTest, TheCustomStyleKeepsTheListColours) {
    D->SetComponentStyle(tsWindows7);
    D->SetHeaderColor(RGB(1, 2, 3));
    D->SetComponentStyle(tsCustom);
    EXPECT_EQ(D->HeaderColor(), RGB(1, 2, 3));
    EXPECT_EQ(D->LineColor(), RGB(184, 214, 251));
}

TEST_F(MultiColumnDropDownTest, DefaultsAndSelectionStyleLines) {
    EXPECT_EQ(D->HeaderColor(), clWhite);
    EXPECT_EQ(D->HeaderColorTo(), RGB(128, 128, 128));
    EXPECT_EQ(D->LineColor(), RGB(235, 237, 241));
    EXPECT_EQ(D->FixedLineColor(), RGB(164, 187, 209));
    EXPECT_EQ(D->DropDownHeight(), 200);
    EXPECT_EQ(D->ItemIndex(), -1);
    D->SetSelectionColorStyle(scWindows7);
    EXPECT_EQ(D->LineColor(), RGB(240, 236, 236));
    EXPECT_EQ(D->FixedLineColor(), RGB(209, 210, 212));
    D->SetComponentStyle(tsOffice2010Blue);
    EXPECT_EQ(D->SelectionColor(), RGB(255, 208, 108));
    EXPECT_EQ(D->SelectionColorStyle(), scCustom);
}

// ---- painting ---------------------------------------------------------------------------------
TColor Pixel(const QImage& I, int X, int Y) {
    const QRgb P = I.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

TEST_F(MultiColumnDropDownTest, TheListPaintsHeaderGradientSelectionLinesAndCellColours) {
    AddItems({"Apple", "Banana", "Cherry"});
    D->Columns()->Items(1)->SetColor(RGB(250, 240, 200));
    D->SetHeaderColor(RGB(255, 0, 0));
    D->SetHeaderColorTo(RGB(0, 0, 255));
    D->SetLineColor(RGB(0, 160, 0));
    D->SetItemIndex(1);
    Open();
    const QImage I = List()->grab().toImage();
    const TRect H = List()->CellRect(1, 0);
    // Top to bottom: red at the top, blue at the bottom of the header.
    EXPECT_GT(qRed(I.pixel(H.Left + 30, H.Top + 1)), 200);
    EXPECT_GT(qBlue(I.pixel(H.Left + 30, H.Bottom - 3)), 200);
    // An unselected cell in its column's colour, with the data line along its bottom.
    const TRect C = List()->CellRect(1, 3);
    EXPECT_EQ(Pixel(I, C.Right - 4, C.Top + 3), RGB(250, 240, 200));
    EXPECT_EQ(Pixel(I, C.Left + 20, C.Bottom - 1), RGB(0, 160, 0));
    // The selected row is painted in the selection look, not in the column's colour.
    const TRect S = List()->CellRect(1, 2);
    EXPECT_NE(Pixel(I, S.Right - 4, S.Top + S.Height() / 2), RGB(250, 240, 200));
}

TEST_F(MultiColumnDropDownTest, AnOwnDrawingHandlerAndTheTextHandlerReplaceTheDefaults) {
    AddItems({"Apple", "Banana"});
    std::vector<std::string> Asked;
    D->OnDropDownGetItemText = [&](TObject*, int Col, int Row, QString& Text) {
        Asked.push_back(std::to_string(Col) + ":" + std::to_string(Row) + " " + Text.toStdString());
    };
    Open();
    List()->grab();
    EXPECT_NE(std::find(Asked.begin(), Asked.end(), "0:2 Banana"), Asked.end());
    EXPECT_EQ(std::find(Asked.begin(), Asked.end(), "0:0 Name"), Asked.end()); // the header is no item
    D->HideDropDown(true);
    D->OnDropDownDrawItem = [](TObject*, int, int, TCanvas* C, TRect R) {
        C->Brush()->SetColor(RGB(0, 255, 0));
        C->FillRect(R);
    };
    Open();
    const QImage I = List()->grab().toImage();
    const TRect R = List()->CellRect(0, 1);
    EXPECT_EQ(Pixel(I, R.Left + 10, R.Top + 5), RGB(0, 255, 0));
}

} // namespace
