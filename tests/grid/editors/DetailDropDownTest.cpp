// The detail drop-down driven headless through its keys, clicks and wheel: completion while
// typing, Enter and Esc on the typed text, opening, moving in the popup, the typed-letter search,
// accepting and cancelling, and the rows it draws with their notes.
#include "DropDownListCases.h"
#include "EditorsFixture.h"
#include "grid/editors/ExtDetailDropDown.h"

#include <QFontMetrics>
#include <QImage>

#include <string>
#include <vector>

namespace {

class DetailDropDownTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        FClock->Advance(100000);
        D = Create<TExtDetailDropDown>(Host.get(), Host.get());
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
    void AddItems(std::initializer_list<const char*> Captions) {
        for (const char* C : Captions) D->Items()->Add()->SetCaption(C);
    }
    void Listen() {
        D->OnSelect = [this](TObject*) { Log.push_back("select " + std::to_string(D->ItemIndex())); };
        D->OnDropUp = [this](TObject*, bool Cancelled) {
            Log.push_back(std::string(Cancelled ? "cancel " : "accept ") + std::to_string(D->ItemIndex()));
        };
    }
    void Key(Word K, QChar Ch = QChar()) {
        if (D->DroppedDown())
            D->DropDownForm()->SimulateKey(K, {}, Ch);
        else
            D->SimulateKey(K, {}, Ch);
    }
    void Open() {
        Key(VK_F4);
        ASSERT_TRUE(D->DroppedDown());
        Log.clear();
    }
    std::string Selected() const { return D->SelText().toStdString(); }
    TExtDetailDropDown* D = nullptr;
    std::vector<std::string> Log;
};

class DetailCompletion : public DetailDropDownTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(DetailCompletion, TypingCompletesToTheFirstCaptionItStarts) {
    const TypingCase& C = GetParam();
    AddItems({"Apple", "Apricot", "Banana", "apex"});
    Type(D, C.Typed);
    EXPECT_EQ(D->Text().toStdString(), C.Text);
    EXPECT_EQ(Selected(), C.Tail);
    EXPECT_EQ(D->ItemIndex(), C.ItemIndex);
    EXPECT_FALSE(D->DroppedDown());
}

INSTANTIATE_TEST_SUITE_P(
    Typing, DetailCompletion,
    ::testing::Values(TypingCase{"one_letter_takes_the_first_match", "a", "apple", "pple", 0},
                      TypingCase{"two_letters_keep_the_typed_case", "ap", "apple", "ple", 0},
                      TypingCase{"a_third_letter_moves_to_the_next_match", "apr", "apricot", "icot", 1},
                      TypingCase{"the_typed_case_stays_the_tail_is_the_captions", "BA", "BAnana", "nana", 2},
                      TypingCase{"a_later_item_matches_when_the_earlier_do_not", "ape", "apex", "x", 3},
                      TypingCase{"no_match_keeps_what_was_typed", "apz", "apz", "", 0},
                      TypingCase{"a_whole_caption_leaves_nothing_selected", "apple", "apple", "", 0}),
    CaseName());

TEST_F(DetailDropDownTest, BackspaceDoesNotCompleteTheDeletedTailAgain) {
    AddItems({"Apple", "Apricot"});
    Type(D, "ap");
    ASSERT_EQ(D->Text(), "apple");
    Key(VK_BACK);
    EXPECT_EQ(D->Text(), "ap");
    EXPECT_FALSE(D->WorkMode());
    Type(D, "r"); // any other key turns completion back on
    EXPECT_EQ(D->Text(), "apricot");
    EXPECT_EQ(D->ItemIndex(), 1);
}

struct EnterCase {
    const char* Name;
    const char* Text;
    int Want;
};
void PrintTo(const EnterCase& C, std::ostream* Os) { *Os << C.Name; }

class DetailEnter : public DetailDropDownTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(DetailEnter, EnterSelectsOnlyACaptionEqualToTheText) {
    const EnterCase& C = GetParam();
    AddItems({"Apple", "Apricot"});
    D->SetText(C.Text);
    ASSERT_EQ(D->ItemIndex(), -1);
    Listen();
    Key(VK_RETURN);
    EXPECT_EQ(D->ItemIndex(), C.Want);
    EXPECT_EQ(D->Text().toStdString(), C.Text);
    EXPECT_EQ(Log.size(), C.Want < 0 ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Keys, DetailEnter,
                         ::testing::Values(EnterCase{"exact_caption", "Apricot", 1},
                                           EnterCase{"other_case_is_no_caption", "apricot", -1},
                                           EnterCase{"a_prefix_is_no_caption", "Apri", -1}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(DetailDropDownTest, EscapeWhileClosedSelectsTheItemWhoseCaptionIsTheText) {
    AddItems({"Apple", "Apricot"});
    D->SetCanUndo(false); // else the base takes Esc as undo and the key goes no further
    D->SetText("Apricot");
    ASSERT_EQ(D->ItemIndex(), -1);
    Key(VK_ESCAPE);
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_FALSE(D->WorkMode());
}

TEST_F(DetailDropDownTest, ItemIndexSetsTheWholeCaptionSelectedAndIgnoresStrayValues) {
    AddItems({"Apple", "Apricot"});
    Listen();
    D->SetItemIndex(1);
    EXPECT_EQ(D->Text(), "Apricot");
    EXPECT_EQ(Selected(), "Apricot");
    D->SetItemIndex(1); // unchanged: no event
    D->SetItemIndex(2); // past the end
    D->SetItemIndex(-5);
    EXPECT_EQ(D->ItemIndex(), 1);
    D->SetItemIndex(-1); // none: the text goes, without an event
    EXPECT_EQ(D->ItemIndex(), -1);
    EXPECT_TRUE(D->Text().isEmpty());
    EXPECT_EQ(Log, std::vector<std::string>{"select 1"});
}

TEST_F(DetailDropDownTest, SettingACaptionDoesNotCompleteItToALongerOne) {
    AddItems({"Apples", "Apple"});
    D->SetItemIndex(1);
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(D->Text(), "Apple");
}

TEST_F(DetailDropDownTest, ArrowsInTheOpenPopupMoveTheChoiceAndEnterAcceptsIt) {
    AddItems({"Apple", "Apricot", "Banana"});
    Listen();
    Open();
    Key(VK_DOWN); // from none: the first
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN); // past the end: stays
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_EQ(D->Text(), "Banana");
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(D->Text(), "Apricot");
    EXPECT_EQ(Log, (std::vector<std::string>{"select 0", "select 1", "select 2", "select 1", "accept 1"}));
}

struct PageCase {
    const char* Name;
    int Start;
    Word Key;
    int Want; // -1: a page on from Start
};
void PrintTo(const PageCase& C, std::ostream* Os) { *Os << C.Name; }

class DetailPages : public DetailDropDownTest, public ::testing::WithParamInterface<PageCase> {};

// Ten rows in a popup that shows fewer: a page is the rows in view, and it stops at the ends.
TEST_P(DetailPages, PageKeysMoveByTheRowsInViewAndKeepThePopupOpen) {
    const PageCase& C = GetParam();
    for (int I = 0; I < 10; ++I) D->Items()->Add()->SetCaption(QStringLiteral("Row %1").arg(I));
    D->SetItemIndex(C.Start);
    Open();
    const int N = D->ItemSelector()->GetVisibleItemCount();
    ASSERT_GT(N, 0);
    ASSERT_LT(N, 9);
    Key(C.Key);
    EXPECT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), C.Want < 0 ? C.Start + N : C.Want);
    EXPECT_EQ(D->Text(), QStringLiteral("Row %1").arg(D->ItemIndex()));
}

INSTANTIATE_TEST_SUITE_P(Keys, DetailPages,
                         ::testing::Values(PageCase{"page_down_is_the_rows_in_view", 0, VK_NEXT, -1},
                                           PageCase{"page_down_stops_at_the_last", 8, VK_NEXT, 9},
                                           PageCase{"page_up_stops_at_the_first", 2, VK_PRIOR, 0}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(DetailDropDownTest, AnOwnDrawingHandlerReplacesTheRowsDrawing) {
    AddItems({"Apple", "Apricot"});
    int Calls = 0;
    D->OnDrawSelectedImage = [&](TObject* Sender, TCanvas* C, TRect R) {
        EXPECT_EQ(Sender, D);
        ++Calls;
        C->Brush()->SetColor(0x00FF00);
        C->FillRect(R);
    };
    Open();
    const QImage I = D->ItemSelector()->SelectorPanel()->grab().toImage();
    EXPECT_GE(Calls, 2);
    TRect R;
    D->ItemSelector()->SelectorPanel()->GetItemRect(1, R);
    EXPECT_EQ(I.pixel(R.Left + 10, R.Top + 8), qRgb(0, 255, 0));
}

TEST_F(DetailDropDownTest, CancellingRestoresTheItemFromWhenThePopupOpened) {
    AddItems({"Apple", "Apricot", "Banana"});
    D->SetItemIndex(0);
    Listen();
    Open();
    Key(VK_END);
    EXPECT_EQ(D->ItemIndex(), 2);
    Key(VK_ESCAPE);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_EQ(D->Text(), "Apple");
    EXPECT_EQ(Log, (std::vector<std::string>{"select 2", "select 0", "cancel 0"}));
}

TEST_F(DetailDropDownTest, CancellingAPopupOpenedWithoutAChoiceLeavesNone) {
    AddItems({"Apple", "Apricot", "Banana"});
    Listen();
    Open();
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(D->ItemIndex(), 1);
    EXPECT_EQ(D->Text(), "Apricot");
    Key(VK_ESCAPE);
    EXPECT_FALSE(D->DroppedDown());
    // The text went back to what it was; the item browsed to must not stay chosen behind it.
    EXPECT_EQ(D->Text(), "");
    EXPECT_EQ(D->ItemIndex(), -1);
    EXPECT_EQ(Log, (std::vector<std::string>{"select 0", "select 1", "cancel -1"}));
}

TEST_F(DetailDropDownTest, AClickOnARowPicksItAndCloses) {
    AddItems({"Apple", "Apricot", "Banana"});
    Listen();
    Open();
    TRect R;
    D->ItemSelector()->SelectorPanel()->GetItemRect(2, R);
    Click(D->ItemSelector()->SelectorPanel(), R.Left + 5, R.Top + 5);
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(D->Text(), "Banana");
    EXPECT_EQ(Log, (std::vector<std::string>{"select 2", "accept 2"}));
}

TEST_F(DetailDropDownTest, LettersTypedInTheOpenPopupSearchTheCaptions) {
    AddItems({"Banana", "<b>Apple</b>", "Apricot", "#5"});
    Open();
    Key('A', QChar('a'));
    Key('P', QChar('p'));
    Key('R', QChar('r'));
    EXPECT_EQ(D->ItemIndex(), 2);
    EXPECT_TRUE(D->DroppedDown());
    FClock->Advance(500); // the burst has run out
    Key('A', QChar('a'));
    Key('P', QChar('p'));
    EXPECT_EQ(D->ItemIndex(), 1);
    FClock->Advance(500);
    Key(0xDE, QChar('#')); // the typed character counts, not the key's code
    EXPECT_EQ(D->ItemIndex(), 3);
    EXPECT_TRUE(D->DroppedDown());
}

TEST_F(DetailDropDownTest, ClosedKeysAndTheWheelStepThroughTheItems) {
    AddItems({"Apple", "Apricot", "Banana"});
    D->MouseWheelDownHook(); // from none: the first
    EXPECT_EQ(D->ItemIndex(), 0);
    D->MouseWheelDownHook();
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(D->ItemIndex(), 2);
    Key(VK_UP);
    D->MouseWheelUpHook();
    D->MouseWheelUpHook();
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_FALSE(D->DroppedDown());
}

TEST_F(DetailDropDownTest, TheWheelInTheOpenPopupMovesTheChoiceAndKeepsItOpen) {
    AddItems({"Apple", "Apricot", "Banana"});
    Open();
    D->MouseWheelDownHook();
    D->MouseWheelDownHook();
    EXPECT_EQ(D->ItemIndex(), 1);
    D->MouseWheelUpHook();
    EXPECT_EQ(D->ItemIndex(), 0);
    EXPECT_TRUE(D->DroppedDown());
}

// Dark pixels of text in a band of a rendered row.
int InkIn(const QImage& I, int Left, int Top, int Right, int Bottom) {
    int Ink = 0;
    for (int Y = std::max(Top, 0); Y < std::min(Bottom, I.height()); ++Y)
        for (int X = std::max(Left, 0); X < std::min(Right, I.width()); ++X)
            if (qGray(I.pixel(X, Y)) < 96) ++Ink;
    return Ink;
}

TEST_F(DetailDropDownTest, RowsSpanThePopupAndNotesGoOneCaptionLineBelow) {
    D->SetItemHeight(40);
    D->Items()->Add()->SetCaption("Plain");
    TDetailItem* WithNotes = D->Items()->Add();
    WithNotes->SetCaption("Noted");
    WithNotes->SetNotes("<b>note</b> text");
    Open();
    TExtCustomItemSelector* S = D->ItemSelector();
    TRect R0, R1;
    S->SelectorPanel()->GetItemRect(0, R0);
    S->SelectorPanel()->GetItemRect(1, R1);
    EXPECT_EQ(R0.Height(), 40);
    EXPECT_GE(R0.Width(), D->Width() - 2 * D->DropDownBorderWidth() - 4 - TExtCustomItemSelector::ScrollBarWidth());
    const QImage I = S->SelectorPanel()->grab().toImage();
    const int CaptionLine = QFontMetrics(D->CaptionFont()->ToQFont()).height();
    // The caption line holds text in both rows; below it only the row with notes has any.
    EXPECT_GT(InkIn(I, R0.Left, R0.Top, R0.Right, R0.Top + 2 + CaptionLine), 0);
    EXPECT_EQ(InkIn(I, R0.Left, R0.Top + 2 + CaptionLine + 1, R0.Right, R0.Bottom), 0);
    EXPECT_GT(InkIn(I, R1.Left, R1.Top + 2 + CaptionLine + 1, R1.Right, R1.Bottom), 0);
}

} // namespace
