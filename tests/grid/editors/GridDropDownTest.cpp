// The grid drop-down driven headless through its keys and clicks: typing with lookup, pick-list
// lookup and narrowing down, opening, moving in the popup grid, choosing by Enter and by click,
// cancelling, the wheel, a sorted popup, an editable popup, stepping from the edit, the popup's
// sizes and the style colours.
#include "DropDownListCases.h"
#include "EditorsFixture.h"
#include "grid/editors/ExtGridDropDown.h"

#include <QScreen>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using ExtGridDD::TDropDownColumn;
using ExtGridDD::TExtColGrid;

class GridDropDownTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        FClock->Advance(100000);
        D = Create<TCustomExtGridDropDown>(Host.get(), Host.get());
        D->SetBounds(60, 20, 160, 24);
        ShowHost();
        D->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (D) {
            D->OnSelect = nullptr;
            D->OnDropUp = nullptr;
            D->OnChange = nullptr;
            if (D->DroppedDown()) D->HideDropDown(true);
        }
        EditorsTest::TearDown();
    }
    // Two columns (name, code); the lookup column is the name.
    void AddItems(std::initializer_list<std::pair<const char*, const char*>> Rows) {
        while (D->Columns()->Count() < 2) D->Columns()->Add()->SetHeader(D->Columns()->Count() == 1 ? "Name" : "Code");
        for (auto [Name, Code] : Rows) {
            auto* It = D->Items()->Add();
            It->Text()->Add(Name);
            It->Text()->Add(Code);
        }
        D->EndUpdate();
    }
    void Fruit() { AddItems({{"Apple", "A1"}, {"Apricot", "A2"}, {"Banana", "B1"}, {"Cherry", "C1"}}); }
    void Listen() {
        D->OnSelect = [this](TObject*) { Log.push_back("select " + std::to_string(D->ItemIndex())); };
        D->OnDropUp = [this](TObject*, bool Cancelled) {
            Log.push_back(std::string(Cancelled ? "cancel " : "accept ") + std::to_string(D->ItemIndex()) + " " +
                          D->Text().toStdString());
        };
    }
    TExtColGrid* G() const { return D->GetGrid(); }
    void Key(Word K, TShiftState Shift = {}, QChar Ch = QChar()) {
        if (D->DroppedDown())
            G()->SimulateKey(K, Shift, Ch);
        else
            D->SimulateKey(K, Shift, Ch);
    }
    void Open() {
        Key(VK_F4);
        ASSERT_TRUE(D->DroppedDown());
        Log.clear();
    }
    void ClickRow(int Row) {
        const TRect R = G()->CellRect(0, Row);
        Click(G(), (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    std::string Selected() const { return D->SelText().toStdString(); }
    std::string Text() const { return D->Text().toStdString(); }
    TCustomExtGridDropDown* D = nullptr;
    std::vector<std::string> Log;
};

// ---- typing in the edit ---------------------------------------------------------------------
struct TypingCase {
    const char* Name;
    TDropDownStyle Style;
    const char* Typed;
    const char* Text;
    const char* Tail; // the selected part
    int ItemIndex;
};
void PrintTo(const TypingCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownTyping : public GridDropDownTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(GridDropDownTyping, TypedTextLooksUpTheLookupColumn) {
    const TypingCase& C = GetParam();
    Fruit();
    D->SetStyle(C.Style);
    Type(D, C.Typed);
    EXPECT_EQ(Text(), C.Text);
    EXPECT_EQ(Selected(), C.Tail);
    EXPECT_EQ(D->ItemIndex(), C.ItemIndex);
    EXPECT_FALSE(D->DroppedDown());
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, GridDropDownTyping,
    ::testing::Values(
        TypingCase{"a_letter_completes_to_the_first_match", dsDropDown, "b", "Banana", "anana", 2},
        TypingCase{"a_second_letter_narrows_the_match", dsDropDown, "apr", "Apricot", "icot", 1},
        TypingCase{"no_match_keeps_the_typed_text", dsDropDown, "bx", "Bx", "", 2},
        TypingCase{"a_pick_list_restarts_with_a_letter_that_does_not_continue", dsDropDownList, "bc", "Cherry", "", 3},
        TypingCase{"a_pick_list_follows_a_continuing_letter", dsDropDownList, "ap", "Apple", "", 0},
        TypingCase{"a_pick_list_ignores_a_letter_nothing_starts_with", dsDropDownList, "az", "Apple", "", 0},
        TypingCase{"a_blank_typed_first_finds_nothing", dsDropDown, " ", " ", "", -1}),
    CaseName());

TEST_F(GridDropDownTest, EscapeClearsTheTypedLookupEntry) {
    Fruit();
    Type(D, "bx");
    ASSERT_EQ(D->LookupEntry(), "bx");
    Key(VK_ESCAPE);
    EXPECT_TRUE(D->LookupEntry().isEmpty());
}

// Without the typed lookup only the edit's completion acts: the typed letters first, the item's
// own letter case once the key is released.
TEST_F(GridDropDownTest, TheEditsCompletionTakesTheItemsOwnCaseOnTheKeyRelease) {
    Fruit();
    D->SetLookupMethod(lmNone);
    std::vector<std::string> Changes;
    D->OnChange = [&](TObject*) { Changes.push_back(Text()); };
    D->SimulateKey('A', {}, QChar('a'));
    EXPECT_EQ(Text(), "Apple");
    EXPECT_EQ(Selected(), "pple");
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_EQ(Changes, (std::vector<std::string>{"a", "apple", "Apple"}));
    EXPECT_TRUE(D->Modified());
}

// The lookup list stays as the last update left it, but only items that exist are completed to.
TEST_F(GridDropDownTest, TheCompletionSkipsEntriesOfItemsRemovedSinceTheLastUpdate) {
    Fruit();
    D->SetLookupMethod(lmNone);
    D->Items()->Delete(3); // Cherry, without an update bracket
    D->SimulateKey('C', {}, QChar('c'));
    EXPECT_EQ(Text(), "c");
    EXPECT_EQ(D->ItemIndex(), -1);
}

// Enter and Escape in the closed edit settle the item on the text, whatever its letter case.
struct EditKeyCase {
    const char* Name;
    const char* Before;
    Word Key;
    const char* Text;
    int ItemIndex;
};
void PrintTo(const EditKeyCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownEditKey : public GridDropDownTest, public ::testing::WithParamInterface<EditKeyCase> {};

TEST_P(GridDropDownEditKey, EnterAndEscapeTakeTheItemOfTheText) {
    const EditKeyCase& C = GetParam();
    Fruit();
    D->SetCanUndo(false); // else the edit's undo takes Escape first
    D->SetItemIndex(0);
    D->SetText(C.Before);
    Key(C.Key);
    EXPECT_EQ(Text(), C.Text);
    EXPECT_EQ(D->ItemIndex(), C.ItemIndex);
    EXPECT_FALSE(D->DroppedDown());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, GridDropDownEditKey,
    ::testing::Values(EditKeyCase{"enter_takes_the_item_in_its_own_case", "cherry", VK_RETURN, "Cherry", 3},
                      EditKeyCase{"enter_with_no_such_item_keeps_text_and_item", "Melon", VK_RETURN, "Melon", 0},
                      EditKeyCase{"escape_finds_the_item_of_the_text", "apricot", VK_ESCAPE, "Apricot", 1},
                      EditKeyCase{"escape_with_no_such_item_chooses_none", "Melon", VK_ESCAPE, "", -1}),
    CaseName());

TEST_F(GridDropDownTest, NoLookupMethodLeavesTheTypedTextAlone) {
    Fruit();
    D->SetLookupMethod(lmNone);
    D->Items()->Clear(); // nor does the edit's completion find anything
    D->EndUpdate();
    Type(D, "ba");
    EXPECT_EQ(Text(), "ba");
    EXPECT_EQ(D->ItemIndex(), -1);
}

// ---- opening, choosing and cancelling -------------------------------------------------------
TEST_F(GridDropDownTest, OpeningFillsThePopupGridFromTheItemsWithTheChosenRowCurrent) {
    Fruit();
    D->SetItemIndex(2);
    Open();
    EXPECT_EQ(G()->RowCount(), 5);
    EXPECT_EQ(G()->GetGridCell(0, 0), "Name");
    EXPECT_EQ(G()->GetGridCell(1, 3), "B1");
    EXPECT_EQ(G()->Row(), 3);
    EXPECT_EQ(D->RowToItem(3), 2);
    EXPECT_EQ(D->ItemToRow(2), 3);
}

TEST_F(GridDropDownTest, EnterAtOnceKeepsTheCurrentItem) {
    Fruit();
    D->SetItemIndex(1);
    Listen();
    Open();
    Key(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(Text(), "Apricot");
    EXPECT_EQ(Log, (std::vector<std::string>{"accept 1 Apricot", "select 1"}));
}

TEST_F(GridDropDownTest, MovingInThePopupFollowsTheRowAndEnterChoosesIt) {
    Fruit();
    Listen();
    Open();
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Text(), "Banana");
    Key(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"accept 2 Banana", "select 2"}));
}

TEST_F(GridDropDownTest, EscapeRestoresTheItemAndTextOfTheOpening) {
    Fruit();
    D->SetItemIndex(0);
    Listen();
    Open();
    Key(VK_DOWN);
    Key(VK_DOWN);
    ASSERT_EQ(Text(), "Banana");
    Key(VK_ESCAPE);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_EQ(Text(), "Apple");
    EXPECT_EQ(Log, (std::vector<std::string>{"cancel 0 Apple"}));
}

TEST_F(GridDropDownTest, AClickOnARowChoosesItAndClosesThePopup) {
    Fruit();
    Listen();
    Open();
    ClickRow(4);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 3);
    EXPECT_EQ(Text(), "Cherry");
    EXPECT_EQ(Log, (std::vector<std::string>{"accept 3 Cherry", "select 3"}));
}

TEST_F(GridDropDownTest, AClickOnTheHeaderChoosesNothing) {
    Fruit();
    D->SetItemIndex(1);
    Listen();
    Open();
    ClickRow(0);
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_TRUE(Log.empty());
}

TEST_F(GridDropDownTest, TheWheelLooksThroughTheRowsWithoutChoosing) {
    Fruit();
    D->SetItemIndex(0);
    Open();
    G()->Perform(WM_MOUSEWHEEL, WPARAM(uint32_t(-120) << 16), 0);
    EXPECT_GT(G()->Row(), 1);
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_EQ(Text(), "Apple");
    D->HideDropDown(false);
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_EQ(Text(), "Apple");
}

// Tab neither reaches the edit nor searches: with no letters typed it would find the first item.
TEST_F(GridDropDownTest, TabInThePopupDoesNothing) {
    Fruit();
    Listen();
    std::vector<std::string> Keys;
    D->OnKeyDown = [&](TObject*, Word& K, TShiftState) { Keys.push_back("edit key " + std::to_string(K)); };
    Open();
    Keys.clear();
    Key(VK_DOWN);
    ASSERT_EQ(D->ItemIndex(), 1);
    Key(VK_TAB, {}, QChar(9));
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(G()->Row(), 2);
    EXPECT_EQ(Keys, std::vector<std::string>{});
    EXPECT_TRUE(Log.empty());
}

TEST_F(GridDropDownTest, LettersTypedInThePopupSearchAndMoveTheRow) {
    Fruit();
    Open();
    Key('C', {}, QChar('c'));
    EXPECT_EQ(G()->Row(), 4);
    EXPECT_EQ(D->ItemIndex(), 3);
    EXPECT_EQ(Text(), "Cherry");
    EXPECT_EQ(Selected(), "herry");
    Key(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 3);
}

// Characters whose codes are those of the page and arrow keys are ordinary text when typed.
struct PunctuationCase {
    const char* Name;
    QChar Typed;
    const char* Found;
    int ItemIndex;
};
void PrintTo(const PunctuationCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownPunctuation : public GridDropDownTest, public ::testing::WithParamInterface<PunctuationCase> {};

TEST_P(GridDropDownPunctuation, PunctuationTypedInThePopupSearches) {
    const PunctuationCase& C = GetParam();
    AddItems({{"Plain", "p"}, {"!bang", "1"}, {"#hash", "2"}, {"&and", "3"}, {"(paren", "4"}});
    Open();
    G()->SimulateKey(0, {}, C.Typed);
    EXPECT_EQ(Text(), C.Found);
    EXPECT_EQ(D->ItemIndex(), C.ItemIndex);
    EXPECT_EQ(G()->Row(), C.ItemIndex + 1);
    EXPECT_EQ(D->LookupEntry(), QString(C.Typed));
}

INSTANTIATE_TEST_SUITE_P(Search, GridDropDownPunctuation,
                         ::testing::Values(PunctuationCase{"exclamation_mark", QChar('!'), "!bang", 1},
                                           PunctuationCase{"hash", QChar('#'), "#hash", 2},
                                           PunctuationCase{"ampersand", QChar('&'), "&and", 3},
                                           PunctuationCase{"opening_parenthesis", QChar('('), "(paren", 4}),
                         CaseName());

TEST_F(GridDropDownTest, AClickOnTheSortRowKeepsTheChosenItemCurrent) {
    Fruit();
    D->SetSorting(gsSingleColumn);
    D->SetItemIndex(1); // Apricot
    Listen();
    Open();
    ASSERT_EQ(G()->Row(), 2);
    const TRect R = G()->CellRect(1, 0);
    Click(G(), (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    ASSERT_EQ(G()->SortSettings()->Column(), 1);
    const int Row = G()->Row();
    EXPECT_EQ(G()->GetGridCell(0, Row), "Apricot");
    EXPECT_EQ(D->RowToItem(Row), 1);
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_TRUE(D->DroppedDown());
    Key(VK_RETURN);
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(Text(), "Apricot");
}

// Enter ending a cell edit in an editable popup: the edit takes the row's item (the item shown
// there, the popup being sorted); the popup closes only when the lookup cell was edited.
struct CellEditCase {
    const char* Name;
    int Col;
    const char* Typed;
    const char* Cell;
    bool StaysOpen;
};
void PrintTo(const CellEditCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownCellEdit : public GridDropDownTest, public ::testing::WithParamInterface<CellEditCase> {};

TEST_P(GridDropDownCellEdit, EnterEndingACellEditTakesTheItemOfThatRow) {
    const CellEditCase& C = GetParam();
    Fruit();
    D->SetGridEditable(true);
    D->SetRowSelect(false); // cells of a whole-row selection are not edited
    D->SetSorting(gsSingleColumn);
    G()->SortSettings()->SetColumn(1);
    G()->SortSettings()->SetDirection(sdDescending);
    Listen();
    Open();
    ASSERT_EQ(G()->GetGridCell(0, 2), "Banana");
    G()->MoveCurrentCell(C.Col, 2, true);
    Key(VK_F2);
    ASSERT_TRUE(G()->EditMode());
    TExtInplaceEdit* E = G()->TextEditor();
    ASSERT_NE(E, nullptr);
    E->SetSelStart(int(E->Text().size()));
    Type(E, C.Typed);
    E->SimulateKey(VK_RETURN, {}, QChar(13));
    EXPECT_EQ(G()->GetGridCell(C.Col, 2), C.Cell);
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Text(), "Banana");
    EXPECT_EQ(D->DroppedDown(), C.StaysOpen);
    if (C.StaysOpen) EXPECT_FALSE(G()->EditMode());
}

INSTANTIATE_TEST_SUITE_P(Editable, GridDropDownCellEdit,
                         ::testing::Values(CellEditCase{"another_column_keeps_the_popup_open", 1, "x", "B1x", true},
                                           CellEditCase{"the_lookup_column_closes_the_popup", 0, "s", "Bananas",
                                                        false}),
                         CaseName());

TEST_F(GridDropDownTest, ChoosingTheFirstRowOfASortedPopupTakesTheItemShownThere) {
    Fruit();
    D->SetSorting(gsSingleColumn);
    G()->SortSettings()->SetColumn(1);
    G()->SortSettings()->SetDirection(sdDescending);
    Open();
    ASSERT_EQ(G()->GetGridCell(0, 1), "Cherry");
    ClickRow(1);
    EXPECT_EQ(D->ItemIndex(), 3);
    EXPECT_EQ(Text(), "Cherry");
}

TEST_F(GridDropDownTest, AnEditablePopupStaysOpenWhenARowIsChosen) {
    Fruit();
    D->SetGridEditable(true);
    Listen();
    Open();
    ClickRow(3);
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Log, (std::vector<std::string>{"select 2"}));
}

TEST_F(GridDropDownTest, ThePopupGridsEventsArePassedOnAsDropDownEvents) {
    Fruit();
    std::vector<std::string> Seen;
    D->OnGridKeyDown = [&](TObject* S, Word& Key, TShiftState) {
        Seen.push_back(std::string(S == D ? "drop-down" : "other") + " key " + std::to_string(Key));
    };
    D->OnGridGetAlignment = [&](TObject* S, int ARow, int ACol, TAlignment& H, TVAlignment&) {
        if (ARow == 1 && ACol == 1)
            Seen.push_back(std::string(S == G() ? "grid" : "other") + " align " +
                           (H == taRightJustify ? "right" : "left"));
    };
    D->Columns()->Items(1)->SetAlignment(taRightJustify);
    Open();
    TAlignment H = taLeftJustify;
    TVAlignment V = vtaTop;
    G()->GetCellAlignment(1, 1, H, V);
    EXPECT_EQ(H, taRightJustify);
    Key(VK_DOWN);
    EXPECT_NE(std::find(Seen.begin(), Seen.end(), "drop-down key " + std::to_string(VK_DOWN)), Seen.end());
    EXPECT_NE(std::find(Seen.begin(), Seen.end(), "grid align right"), Seen.end());
}

TEST_F(GridDropDownTest, ThePopupGridsRowAndColumnInsertionsArePassedOn) {
    Fruit();
    std::vector<std::string> Seen;
    D->OnGridInsertRow = [&](TObject* S, int R) {
        Seen.push_back(std::string(S == G() ? "grid" : "other") + " insert row " + std::to_string(R));
    };
    D->OnGridDeleteRow = [&](TObject*, int R) { Seen.push_back("delete row " + std::to_string(R)); };
    D->OnGridInsertCol = [&](TObject*, int C) { Seen.push_back("insert col " + std::to_string(C)); };
    Open();
    G()->OnAutoInsertRow(G(), 2);
    G()->OnAutoDeleteRow(G(), 3);
    G()->OnAutoInsertCol(G(), 1);
    EXPECT_EQ(Seen, (std::vector<std::string>{"grid insert row 2", "delete row 3", "insert col 1"}));
}

// ---- stepping from the edit -----------------------------------------------------------------
struct StepCase {
    const char* Name;
    int From;
    Word Key;
    TDropDownStyle Style;
    int Want;
};
void PrintTo(const StepCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownStep : public GridDropDownTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(GridDropDownStep, KeysInTheClosedEditStepThroughTheItems) {
    const StepCase& C = GetParam();
    for (int I = 0; I < 12; ++I) AddItems({{qPrintable(QString("Item %1").arg(I, 2, 10, QChar('0'))), "x"}});
    D->SetStyle(C.Style);
    D->SetItemIndex(C.From);
    Key(C.Key);
    EXPECT_EQ(D->ItemIndex(), C.Want);
    if (C.Want >= 0) EXPECT_EQ(D->Text(), QString("Item %1").arg(C.Want, 2, 10, QChar('0')));
}

INSTANTIATE_TEST_SUITE_P(Steps, GridDropDownStep,
                         ::testing::Values(StepCase{"down_from_none_takes_the_first", -1, VK_DOWN, dsDropDown, 0},
                                           StepCase{"up_from_none_takes_the_first", -1, VK_UP, dsDropDown, 0},
                                           StepCase{"page_down_from_none_takes_the_first", -1, VK_NEXT, dsDropDown, 0},
                                           StepCase{"page_down_stops_at_the_last", 5, VK_NEXT, dsDropDown, 11},
                                           StepCase{"page_up_stops_at_the_first", 5, VK_PRIOR, dsDropDown, 0},
                                           StepCase{"down_at_the_last_stays", 11, VK_DOWN, dsDropDown, 11},
                                           StepCase{"end_in_a_pick_list_takes_the_last", 2, VK_END, dsDropDownList, 11},
                                           StepCase{"end_in_an_editable_edit_moves_the_caret_only", 2, VK_END,
                                                    dsDropDown, 2}),
                         CaseName());

struct WheelCase {
    const char* Name;
    int From;
    int Delta; // negative: towards the user, the next item
    int Want;
};
void PrintTo(const WheelCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownWheel : public GridDropDownTest, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(GridDropDownWheel, TheWheelOverTheClosedEditStepsByOne) {
    const WheelCase& C = GetParam();
    Fruit();
    D->SetItemIndex(C.From);
    D->Perform(WM_MOUSEWHEEL, WPARAM(uint32_t(C.Delta) << 16), MakeLParam(70, 30));
    EXPECT_EQ(D->ItemIndex(), C.Want);
    EXPECT_FALSE(D->DroppedDown());
}

INSTANTIATE_TEST_SUITE_P(Wheel, GridDropDownWheel,
                         ::testing::Values(WheelCase{"down_takes_the_next", 1, -120, 2},
                                           WheelCase{"up_takes_the_previous", 1, 120, 0},
                                           WheelCase{"down_from_none_takes_the_first", -1, -120, 0},
                                           WheelCase{"down_at_the_last_stays", 3, -120, 3}),
                         CaseName());

// ---- grid mode and narrowing down -----------------------------------------------------------
class GridModeTest : public GridDropDownTest {
protected:
    static constexpr int HiddenCol = 1;
    void SetUp() override {
        GridDropDownTest::SetUp();
        D->SetUseItems(false);
        D->SetLookupColumn(2);
        G()->SetColCount(3);
        G()->SetRowCount(6);
        const char* Names[] = {"Name", "Apple", "Grape", "Apricot", "Papaya", "Banana"};
        for (int R = 0; R < 6; ++R) {
            G()->SetGridCell(0, R, QString::number(R));
            G()->SetGridCell(HiddenCol, R, "hidden");
            G()->SetGridCell(2, R, Names[R]);
        }
        G()->HideColumn(HiddenCol);
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> R;
        for (int I = G()->FixedRows(); I < G()->RowCount(); ++I) R.push_back(G()->GetGridCell(2, I).toStdString());
        return R;
    }
};

TEST_F(GridModeTest, ItemIndexCountsDataRowsAndARowPastTheLastIsIgnored) {
    D->SetItemIndex(2);
    EXPECT_EQ(Text(), "Apricot");
    D->SetItemIndex(5); // one past the last data row: there is no cell to show
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(Text(), "Apricot");
    D->SetItemIndex(-1);
    EXPECT_EQ(Text(), "");
}

TEST_F(GridModeTest, FindLookupMatchScansTheLookupColumn) {
    QString Match;
    int Row = 0;
    EXPECT_TRUE(D->FindLookupMatch("ap", Match, Row));
    EXPECT_EQ(Match, "Apple");
    EXPECT_EQ(Row, 1);
    D->SetCaseSensitive(true);
    EXPECT_FALSE(D->FindLookupMatch("ap", Match, Row));
    EXPECT_EQ(Row, -1);
    EXPECT_TRUE(Match.isEmpty());
}

TEST_F(GridModeTest, OpeningMakesTheMatchingRowCurrentAndEnterChoosesIt) {
    D->SetText("Pap");
    Listen();
    Open();
    EXPECT_EQ(G()->Row(), 4);
    Key(VK_RETURN);
    EXPECT_EQ(D->ItemIndex(), 3);
    EXPECT_EQ(Text(), "Papaya");
}

TEST_F(GridModeTest, ATypedLookupCountsItemIndexInDataRowsAsEveryOtherStep) {
    Type(D, "pa");
    EXPECT_EQ(Text(), "Papaya");
    EXPECT_EQ(D->ItemIndex(), 3);
    Listen();
    Open();
    EXPECT_EQ(G()->Row(), 4);
    Key(VK_RETURN);
    EXPECT_EQ(D->ItemIndex(), 3);
    EXPECT_EQ(Text(), "Papaya");
    EXPECT_EQ(Log, (std::vector<std::string>{"accept 3 Papaya", "select 3"}));
}

TEST_F(GridModeTest, EscapeInThePopupRestoresTheRowOfTheOpening) {
    D->SetItemIndex(1);
    Listen();
    Open();
    Key(VK_DOWN);
    Key(VK_DOWN);
    ASSERT_EQ(Text(), "Papaya");
    Key(VK_ESCAPE);
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(Text(), "Grape");
    EXPECT_EQ(Log, (std::vector<std::string>{"cancel 1 Grape"}));
}

TEST_F(GridModeTest, NarrowingDownHidesRowsAndAnEmptyEntryShowsThemAgain) {
    D->SetLookupMethod(lmNarrowDown);
    Type(D, "ap");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Apple", "Grape", "Apricot", "Papaya"}));
    EXPECT_EQ(Text(), "Apple");
    Type(D, "r");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Apricot"}));
    D->SetText("");
    Type(D, QString(QChar(8)));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Apple", "Grape", "Apricot", "Papaya", "Banana"}));
}

TEST_F(GridModeTest, ANarrowingLastsUntilTheControlIsEnteredAgain) {
    D->SetLookupMethod(lmNarrowDown);
    Type(D, "ban");
    ASSERT_EQ(Shown(), (std::vector<std::string>{"Banana"}));
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Banana"}));
    D->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(Shown().size(), 5u);
    EXPECT_TRUE(D->LookupEntry().isEmpty());
}

TEST_F(GridModeTest, ANarrowingTypedAfterEnteringAgainStartsAfresh) {
    D->SetLookupMethod(lmNarrowDown);
    Type(D, "ri");
    ASSERT_EQ(Shown(), (std::vector<std::string>{"Apricot"}));
    Host->Other->SetFocus();
    QApplication::processEvents();
    D->SetFocus();
    QApplication::processEvents();
    ASSERT_EQ(Shown().size(), 5u);
    D->SetText("");
    Type(D, "r");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Grape", "Apricot"}));
}

TEST_F(GridDropDownTest, ItemModeNarrowingKeepsTheItemOfEveryShownRow) {
    Fruit();
    D->SetLookupMethod(lmNarrowDown);
    D->SetAutoShowDropDown(true);
    Type(D, "an");
    ASSERT_TRUE(D->DroppedDown());
    ASSERT_EQ(G()->RowCount(), 2);
    EXPECT_EQ(G()->GetGridCell(0, 1), "Banana");
    EXPECT_EQ(D->RowToItem(1), 2);
    EXPECT_EQ(D->ItemToRow(0), -1); // Apple is filtered out: no row shows it
}

// The items' rows are narrowed down whether or not the popup has been open before.
TEST_F(GridDropDownTest, ItemModeNarrowingBeforeTheFirstOpeningCompletesFromTheItems) {
    Fruit();
    D->SetLookupMethod(lmNarrowDown);
    Type(D, "an");
    EXPECT_EQ(Text(), "Banana");
    EXPECT_EQ(Selected(), "nana");
    Open();
    ASSERT_EQ(G()->RowCount(), 2);
    EXPECT_EQ(G()->GetGridCell(0, 1), "Banana");
}

// ---- sizes ----------------------------------------------------------------------------------
TEST_F(GridDropDownTest, TheOpeningHeightShowsOnlyWholeRows) {
    for (int I = 0; I < 10; ++I) AddItems({{"x", "y"}});
    D->DropDownHeader()->SetVisible(false);
    D->DropDownFooter()->SetVisible(false);
    int H = 200;
    D->AdaptDropDownHeight(H);
    EXPECT_EQ(H, 25 + 7 * 22 + 6);
    D->SetDropDownRowHeight(0); // no division by zero: the height stays
    H = 200;
    D->AdaptDropDownHeight(H);
    EXPECT_EQ(H, 200);
}

// The popup shows five data rows here: the chosen row is scrolled to the top only when it would
// be out of sight.
struct TopRowCase {
    const char* Name;
    int ItemIndex;
    int TopRow;
};
void PrintTo(const TopRowCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownTopRow : public GridDropDownTest, public ::testing::WithParamInterface<TopRowCase> {};

TEST_P(GridDropDownTopRow, OpeningScrollsOnlyARowOutOfSight) {
    const TopRowCase& C = GetParam();
    for (int I = 0; I < 12; ++I) AddItems({{qPrintable(QString("Item %1").arg(I)), "x"}});
    D->SetItemIndex(C.ItemIndex);
    Open();
    ASSERT_EQ(G()->VisibleRowCount(), 5);
    EXPECT_EQ(G()->Row(), C.ItemIndex + 1);
    EXPECT_EQ(G()->TopRow(), C.TopRow);
}

INSTANTIATE_TEST_SUITE_P(Opening, GridDropDownTopRow,
                         ::testing::Values(TopRowCase{"first_item", 0, 1}, TopRowCase{"third_item_in_sight", 2, 1},
                                           TopRowCase{"last_row_in_sight", 4, 1},
                                           TopRowCase{"first_row_out_of_sight_goes_to_the_top", 5, 6},
                                           TopRowCase{"last_item_scrolls_as_far_as_the_grid_goes", 11, 8}),
                         CaseName());

TEST_F(GridDropDownTest, ColumnsScaleToThePopupWidth) {
    AddItems({{"a", "b"}});
    D->Columns()->Add();
    D->Columns()->Items(0)->SetWidth(80);
    D->Columns()->Items(1)->SetWidth(80);
    D->Columns()->Items(2)->SetWidth(81);
    D->SetAutoSizeColumns(false);
    D->SetDropDownAutoWidth(false);
    D->SetDropDownWidth(200);
    Open();
    ASSERT_EQ(D->DropDownForm()->Width(), 200);
    EXPECT_EQ(G()->ColWidths(0), 66);
    EXPECT_EQ(G()->ColWidths(1), 66);
    EXPECT_EQ(G()->ColWidths(2), 67);
}

// The popup opens wholly inside the available area of the screen, wherever the edit sits.
struct CornerCase {
    const char* Name;
    bool Right, Bottom;
};
void PrintTo(const CornerCase& C, std::ostream* Os) { *Os << C.Name; }

class GridDropDownCorner : public GridDropDownTest, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(GridDropDownCorner, ThePopupOpensInsideTheScreen) {
    const CornerCase& C = GetParam();
    QScreen* S = QGuiApplication::primaryScreen();
    ASSERT_NE(S, nullptr);
    const QRect Avail = S->availableGeometry();
    for (int I = 0; I < 12; ++I) AddItems({{"A long enough name", "and its code"}});
    D->Columns()->Items(0)->SetWidth(180);
    D->Columns()->Items(1)->SetWidth(180);
    D->SetAutoSizeColumns(false);
    // The edit hangs over the chosen corners of the screen by a little.
    const int X = C.Right ? Avail.right() - 100 : Avail.left() - 70;
    const int Y = C.Bottom ? Avail.bottom() - 40 : Avail.top() - 30;
    Host->SetBounds(X, Y, 200, 100);
    QApplication::processEvents();
    D->SetBounds(10, 10, 160, 24);
    Open();
    const QRect P = D->DropDownForm()->geometry();
    EXPECT_TRUE(Avail.contains(P)) << P.x() << "," << P.y() << " " << P.width() << "x" << P.height();
}

INSTANTIATE_TEST_SUITE_P(Screen, GridDropDownCorner,
                         ::testing::Values(CornerCase{"top_left", false, false}, CornerCase{"top_right", true, false},
                                           CornerCase{"bottom_left", false, true},
                                           CornerCase{"bottom_right", true, true}),
                         CaseName());

// ---- styles ---------------------------------------------------------------------------------
class GridDropDownStyle : public GridDropDownTest, public ::testing::WithParamInterface<ListStyleCase> {};

TEST_P(GridDropDownStyle, StylesSetTheHeaderLineAndSelectionColours) {
    const ListStyleCase& C = GetParam();
    D->SetComponentStyle(C.Style);
    ExpectListStyle(D, C);
}

INSTANTIATE_TEST_SUITE_P(Styles, GridDropDownStyle,
                         ::testing::Values(ListStyleCase{"office2003_blue", tsOffice2003Blue, RGB(89, 135, 214),
                                                         RGB(3, 56, 147), RGB(0, 45, 150), RGB(0, 45, 150), clBlack},
                                           ListStyleCase{"windows_xp_lines_apart", tsWindowsXP, clBtnFace, clBtnFace,
                                                         clSilver, clBlack, clHighlightText},
                                           ListStyleCase{"windows7", tsWindows7, RGB(250, 251, 253), RGB(235, 243, 253),
                                                         RGB(184, 214, 251), RGB(184, 214, 251), clBlack}),
                         CaseName());

TEST_F(GridDropDownTest, Office2010StylesLeaveTheGridColoursAlone) {
    D->SetComponentStyle(tsWindows7);
    D->SetComponentStyle(tsOffice2010Blue);
    EXPECT_EQ(D->HeaderColor(), RGB(250, 251, 253));
    EXPECT_EQ(D->LineColor(), RGB(184, 214, 251));
}

} // namespace
