// The track bar and memo drop-downs driven headless through their keys, clicks and popups: the
// value, the edit text and the order of the events.
#include "grid/editors/ExtMemoDropDown.h"
#include "grid/editors/ExtTrackBarDropDown.h"
#include "platform/gui/Messages.h"
#include "tests/grid/editors/EditorsFixture.h"
#include "tests/support/QtPrint.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

#include <ostream>
#include <string>
#include <vector>

namespace {

// ---- track bar -------------------------------------------------------------------------------------
class TrackBarDropDown : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        D = Create<TExtTrackBarDropDown>(Host.get(), Host.get());
        D->SetBounds(60, 20, 160, 21);
        D->OnTrackChange = [this](TObject*) { Log.push_back("track " + std::to_string(D->Position())); };
        D->OnDropUp = [this](TObject*, bool Cancelled) { Log.push_back(Cancelled ? "cancelled" : "accepted"); };
        ShowHost();
    }
    void TearDown() override {
        if (D->DroppedDown()) D->HideDropDown(true);
        EditorsTest::TearDown();
    }
    void Focus() {
        D->SetFocus();
        QApplication::processEvents();
    }
    TExtTrackBarDropDown* D = nullptr;
    std::vector<std::string> Log;
};

TEST_F(TrackBarDropDown, StartsAsAValuePickedWithTheMouseOrTheArrows) {
    EXPECT_EQ(D->Min(), 0);
    EXPECT_EQ(D->Max(), 10);
    EXPECT_EQ(D->Position(), 0);
    EXPECT_EQ(D->PageSize(), 2);
    EXPECT_EQ(D->Frequency(), 1);
    EXPECT_FALSE(D->EditorEnabled());
    EXPECT_TRUE(D->DropDownEnabled());
    EXPECT_EQ(D->EditType(), etNumeric);
    EXPECT_FALSE(D->DropDownHeader()->Visible());
    EXPECT_FALSE(D->DropDownFooter()->Visible());
    EXPECT_TRUE(D->ForceShadow());
    ASSERT_NE(D->TrackBar(), nullptr);
    EXPECT_EQ(D->TrackBar()->Height(), 40);
}

// Up at 0 does nothing; Down steps one at a time up to the maximum and stops there.
TEST_F(TrackBarDropDown, ArrowKeysStepByTheFrequencyWithinTheRange) {
    Focus();
    D->SimulateKey(VK_UP);
    EXPECT_EQ(D->Position(), 0);
    EXPECT_TRUE(Log.empty());
    for (int I = 1; I <= 12; ++I) {
        D->SimulateKey(VK_DOWN);
        EXPECT_EQ(D->Position(), std::min(I, 10)) << I;
    }
    EXPECT_EQ(D->Text(), "10");
    EXPECT_EQ(Log.size(), 10u) << "one change per step, none at the end";
    D->SetFrequency(4);
    D->SimulateKey(VK_UP);
    D->SimulateKey(VK_UP);
    EXPECT_EQ(D->Position(), 2);
    D->SimulateKey(VK_UP);
    EXPECT_EQ(D->Position(), 2) << "a step below the minimum is not taken";
}

TEST_F(TrackBarDropDown, OpenMoveAndAcceptOrCancel) {
    struct TCase {
        const char* Name;
        Word CloseKey;
        int Value;
        std::vector<std::string> Log;
    };
    for (const TCase& C : {TCase{"Enter", VK_RETURN, 6, {"track 6", "accepted"}},
                           // the text put back moves the value back before the close is told
                           TCase{"Escape", VK_ESCAPE, 3, {"track 6", "track 3", "cancelled"}}}) {
        SCOPED_TRACE(C.Name);
        D->SetPosition(3);
        Log.clear();
        Focus();
        D->SimulateKey(VK_F4);
        ASSERT_TRUE(D->DroppedDown());
        EXPECT_EQ(D->Control(), D->TrackBar());
        EXPECT_EQ(D->DropDownForm()->width(), D->Width());
        EXPECT_GE(D->TrackBar()->Height(), TExtTrackBarDropDown::TrackBarHeight);
        EXPECT_EQ(D->TrackBar()->Position(), 3);
        D->TrackBar()->SetPosition(6); // the user drags the thumb
        EXPECT_EQ(D->Position(), 6);
        EXPECT_EQ(D->Text(), "6");
        D->DropDownForm()->SimulateKey(C.CloseKey);
        EXPECT_FALSE(D->DroppedDown());
        EXPECT_EQ(D->Position(), C.Value);
        EXPECT_EQ(D->Text(), QString::number(C.Value));
        EXPECT_EQ(Log, C.Log);
    }
}

// A click on the edit opens the popup; an arrow key in the open track bar moves the value one step.
TEST_F(TrackBarDropDown, ClickOpensAndAnArrowInTheTrackBarStepsOnce) {
    D->SetPosition(5);
    Focus();
    Click(D, 20, 5);
    ASSERT_TRUE(D->DroppedDown());
    D->TrackBar()->SimulateKey(VK_DOWN);
    EXPECT_EQ(D->Position(), 6);
    EXPECT_EQ(D->TrackBar()->Position(), 6);
    D->TrackBar()->SimulateKey(VK_UP);
    EXPECT_EQ(D->Position(), 5);
    D->HideDropDown(false);
    EXPECT_EQ(D->Text(), "5");
}

struct TDragCase {
    const char* Name;
    int PageSize;
    std::vector<int> Moves; // pixels per mouse event
    int Start, Expected;
};

void PrintTo(const TDragCase& C, std::ostream* Os) { *Os << C.Name; }

class TrackBarDrag : public TrackBarDropDown, public ::testing::WithParamInterface<TDragCase> {};

TEST_P(TrackBarDrag, MovesByWholePagesPerMouseEvent) {
    const TDragCase& C = GetParam();
    D->SetPageSize(C.PageSize);
    D->SetPosition(C.Start);
    int X = 50;
    D->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, 5));
    if (D->DroppedDown()) D->HideDropDown(false);
    for (int M : C.Moves) {
        X += M;
        D->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(X, 5));
    }
    D->Perform(WM_LBUTTONUP, 0, MakeLParam(X, 5));
    EXPECT_EQ(D->Position(), C.Expected);
    EXPECT_EQ(D->Text(), QString::number(C.Expected));
    // after the button is up the mouse moves nothing
    D->Perform(WM_MOUSEMOVE, 0, MakeLParam(X + 20, 5));
    EXPECT_EQ(D->Position(), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrackBarDrag,
                         ::testing::Values(TDragCase{"FivePixelsAtOnceMoveTwo", 2, {5}, 0, 2},
                                           TDragCase{"FiveSinglePixelsMoveNone", 2, {1, 1, 1, 1, 1}, 0, 0},
                                           TDragCase{"LeftwardsMovesDown", 2, {-4}, 5, 3},
                                           TDragCase{"StopsAtTheMaximum", 1, {30}, 5, 10},
                                           // a page size of 0 counts as one pixel per step
                                           TDragCase{"PageSizeZeroStepsPerPixel", 0, {3, 1}, 0, 4}),
                         [](const ::testing::TestParamInfo<TDragCase>& I) { return std::string(I.param.Name); });

// With typing on, the typed number becomes the value; a text that is no whole number leaves it.
TEST_F(TrackBarDropDown, TypedTextThatIsNoNumberLeavesTheValue) {
    struct TCase {
        const char* Text;
        int Expected;
    };
    D->SetEditorEnabled(true);
    D->SetPosition(4);
    // an empty text of a number edit reads as 0
    for (const TCase& C : {TCase{"7", 7}, TCase{"abc", 7}, TCase{"2.5", 7}, TCase{"7x", 7}, TCase{"", 0},
                           TCase{"-3", 0}, TCase{"50", 10}, TCase{" 8", 8}}) {
        SCOPED_TRACE(C.Text);
        EXPECT_NO_THROW(D->SetText(C.Text));
        EXPECT_EQ(D->Position(), C.Expected);
    }
}

TEST_F(TrackBarDropDown, RangeRefusedByTheTrackBarIsNotKept) {
    D->SetPosition(8);
    D->SetMax(5);
    EXPECT_EQ(D->Max(), 5);
    EXPECT_EQ(D->Position(), 5);
    EXPECT_EQ(D->Text(), "5");
    D->SetMin(9); // above the maximum
    EXPECT_EQ(D->Min(), 0);
    D->SetMin(2);
    D->SetPosition(-4);
    EXPECT_EQ(D->Position(), 2);
}

// The popup opens wholly inside the screen even when the edit sits at its bottom-right corner.
TEST_F(TrackBarDropDown, PopupStaysInsideTheScreen) {
    QScreen* S = QGuiApplication::primaryScreen();
    ASSERT_NE(S, nullptr);
    const QRect Avail = S->availableGeometry();
    Host->SetBounds(Avail.right() - 120, Avail.bottom() - 60, 200, 100);
    QApplication::processEvents();
    D->SetBounds(60, 20, 160, 21);
    Focus();
    D->SimulateKey(VK_F4);
    ASSERT_TRUE(D->DroppedDown());
    const QRect G = D->DropDownForm()->geometry();
    EXPECT_TRUE(Avail.contains(G)) << G.x() << "," << G.y() << " " << G.width() << "x" << G.height();
}

// ---- memo ------------------------------------------------------------------------------------------
class MemoDropDown : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        D = Create<TExtMemoDropDown>(Host.get(), Host.get());
        D->SetBounds(60, 20, 160, 21);
        D->SetEditorEnabled(false);
        D->OnMemoChange = [this](TObject*) { Log.push_back("memo"); };
        D->OnDropUp = [this](TObject*, bool Cancelled) { Log.push_back(Cancelled ? "cancelled" : "accepted"); };
        ShowHost();
    }
    void TearDown() override {
        if (D->DroppedDown()) D->HideDropDown(true);
        EditorsTest::TearDown();
    }
    void SetLines(const QStringList& L) {
        TStringList S;
        for (const QString& Line : L) S.Add(Line);
        D->SetMemoText(&S);
    }
    void Open() {
        D->SetFocus();
        QApplication::processEvents();
        D->SimulateKey(VK_F4);
    }
    QString MemoValue() const { return D->MemoText()->ToStringList().join('|'); }
    TExtMemoDropDown* D = nullptr;
    std::vector<std::string> Log;
};

struct TMemoTextCase {
    const char* Name;
    QStringList Lines;
    bool Editor;
    QString Shown; // empty: checked by the test for a shortened line
};

void PrintTo(const TMemoTextCase& C, std::ostream* Os) { *Os << C.Name; }

class MemoEditText : public MemoDropDown, public ::testing::WithParamInterface<TMemoTextCase> {};

TEST_P(MemoEditText, EditShowsTheFirstLineOrAll) {
    const TMemoTextCase& C = GetParam();
    D->SetEditorEnabled(C.Editor);
    SetLines(C.Lines);
    if (!C.Shown.isEmpty()) {
        EXPECT_EQ(D->Text(), C.Shown);
        return;
    }
    const QString T = D->Text();
    EXPECT_TRUE(T.endsWith("...")) << T.toStdString();
    EXPECT_TRUE(C.Lines[0].startsWith(T.chopped(3))) << T.toStdString();
    EXPECT_LT(T.size(), C.Lines[0].size());
    TCanvas Measure;
    Measure.Font()->Assign(D->Font());
    EXPECT_LE(Measure.TextWidth(T), D->GetEditRect().Width());
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoEditText,
                         ::testing::Values(TMemoTextCase{"OneLine", {"a"}, false, "a"},
                                           TMemoTextCase{"TwoLinesFirstWithDots", {"a", "b"}, false, "a..."},
                                           TMemoTextCase{"TwoLinesEditable", {"a", "b"}, true, "a\r\nb"},
                                           TMemoTextCase{
                                               "LongFirstLineShortened",
                                               {"a first line far longer than the edit is wide, by a good margin", "b"},
                                               false,
                                               ""}),
                         [](const ::testing::TestParamInfo<TMemoTextCase>& I) { return std::string(I.param.Name); });

TEST_F(MemoDropDown, TypedLinesSurviveAnAcceptedClose) {
    SetLines({"a", "b"});
    Open();
    ASSERT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->Control(), D->Memo());
    EXPECT_EQ(D->Memo()->Lines()->ToStringList().join('|'), "a|b");
    D->Memo()->Native()->moveCursor(QTextCursor::End);
    D->Memo()->Native()->insertPlainText("c\nd");
    EXPECT_EQ(MemoValue(), "a|b") << "the value waits for the close";
    D->Memo()->SimulateKey(VK_F4); // closes, keeping the memo's text
    EXPECT_FALSE(D->DroppedDown());
    EXPECT_EQ(MemoValue(), "a|bc|d");
    EXPECT_EQ(D->Text(), "a...");
    EXPECT_EQ(D->SelStart(), 0);
    EXPECT_EQ(D->SelLength(), 0);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.front(), "memo");
    EXPECT_EQ(Log.back(), "accepted");
}

// Escape, and Alt with Up or Down, close as cancelled and stay closed; what was typed is gone.
TEST_F(MemoDropDown, CancelledCloseDropsWhatWasTyped) {
    struct TCase {
        const char* Name;
        Word Key;
        TShiftState Shift;
    };
    for (const TCase& C :
         {TCase{"Escape", VK_ESCAPE, {}}, TCase{"AltUp", VK_UP, {ssAlt}}, TCase{"AltDown", VK_DOWN, {ssAlt}}}) {
        SCOPED_TRACE(C.Name);
        SetLines({"a", "b"});
        Log.clear();
        Open();
        ASSERT_TRUE(D->DroppedDown());
        D->Memo()->Native()->insertPlainText("typed");
        D->Memo()->SimulateKey(C.Key, C.Shift);
        QApplication::processEvents();
        EXPECT_FALSE(D->DroppedDown());
        EXPECT_EQ(MemoValue(), "a|b");
        EXPECT_EQ(D->Text(), "a...");
        ASSERT_FALSE(Log.empty());
        EXPECT_EQ(Log.back(), "cancelled");
    }
}

TEST_F(MemoDropDown, KeysInTheMemoStayThereButCtrlASelectsAll) {
    SetLines({"one", "two"});
    Open();
    ASSERT_TRUE(D->DroppedDown());
    D->Memo()->SetFocus();
    QApplication::processEvents();
    D->Memo()->SimulateKey(VK_UP);
    D->Memo()->SimulateKey(VK_RETURN);
    EXPECT_TRUE(D->DroppedDown()) << "Enter and the arrows are the memo's";
    D->Memo()->SimulateKey('A', {ssCtrl});
    EXPECT_EQ(D->Memo()->SelLength(), int(D->Memo()->Native()->toPlainText().size()));
    D->HideDropDown(false);
}

TEST_F(MemoDropDown, AutoDropOpensOnFocusAndNotAgainOnClose) {
    D->SetAutoDrop(true);
    SetLines({"x"});
    D->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(D->DroppedDown());
    D->HideDropDown(false);
    QApplication::processEvents();
    EXPECT_FALSE(D->DroppedDown()) << "the focus coming back does not open it again";
}

TEST_F(MemoDropDown, SettingsReachTheMemoAtOpening) {
    D->SetMemoScrollBars(ssVertical);
    D->SetMaxLength(40);
    SetLines({"q"});
    Open();
    ASSERT_TRUE(D->DroppedDown());
    EXPECT_EQ(D->Memo()->ScrollBars(), ssVertical);
    EXPECT_EQ(D->Memo()->MaxLength(), 40);
    EXPECT_FALSE(D->Memo()->ReadOnly());
    D->SetMemoReadOnly(true); // applied at once while open
    EXPECT_TRUE(D->Memo()->ReadOnly());
    EXPECT_EQ(D->Memo()->Height(), TExtMemoDropDown::MemoHeight);
    EXPECT_EQ(D->DropDownForm()->width(), D->Width());
    D->HideDropDown(true);
}

// Typed into the edit with typing on, the text becomes the value's lines.
TEST_F(MemoDropDown, TypedEditTextBecomesTheValue) {
    D->SetEditorEnabled(true);
    D->SetFocus();
    QApplication::processEvents();
    Type(D, "hi");
    EXPECT_EQ(MemoValue(), "hi");
    EXPECT_EQ(D->Text(), "hi");
}

} // namespace
