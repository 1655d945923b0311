// The search bar: its layout, the texts it takes from the grid's search footer, enabling its
// buttons, Enter and Ctrl+Enter in its edit, the handlers it reaches, and its painting.
#include "grid/control/SearchPanel.h"

#include "platform/gui/Forms.h"
#include "tests/grid/control/GridNavFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <ostream>

namespace {

// A grid that records which of its search handlers the bar reaches.
class RecordingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    std::vector<std::string> Calls;
    void SearchNextClick(TObject*) override { Calls.push_back("next"); }
    void SearchPrevClick(TObject*) override { Calls.push_back("prev"); }
    void SearchHighlightClick(TObject*) override { Calls.push_back("highlight"); }
};

class SearchBar : public ::testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 700, 400);
        G = std::make_unique<RecordingGrid>(nullptr);
        G->SetColCount(6);
        G->SetRowCount(11);
        G->HideColumn(2);
        G->HideRow(6);
        TSearchFooter* S = G->SearchFooter();
        S->SetFindNextCaption("&Next");
        S->SetFindPrevCaption("&Previous");
        S->SetHighLightCaption("&Highlight");
        S->SetMatchCaseCaption("Match case");
        S->SetHintFindNext("Find the next match");
        S->SetHintFindPrev(QString());
        S->SetHintClose("Close the bar");
        S->SetHintHighlight("Mark every match");
        S->SetVisible(true);
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 640, 300);
        P = G->SearchPanel();
    }
    void TearDown() override { G->SetParent(nullptr); }
    void Type(const QString& Text) { P->Edit()->SetText(Text); }
    std::unique_ptr<TForm> Form;
    std::unique_ptr<RecordingGrid> G;
    TSearchPanel* P = nullptr;
};

struct LayoutCase {
    const char* Name;
    TControl* (*Pick)(TSearchPanel*);
    int Left, Top, Width, Height; // Height -1: the control's own
};
void PrintTo(const LayoutCase& C, std::ostream* Os) { *Os << C.Name; }

class SearchBarLayout : public SearchBar, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(SearchBarLayout, ControlsSitWhereTheBarPutsThem) {
    const LayoutCase& C = GetParam();
    TControl* Ctl = C.Pick(P);
    EXPECT_EQ(Ctl->Left(), C.Left);
    EXPECT_EQ(Ctl->Top(), C.Top);
    if (C.Width >= 0) EXPECT_EQ(Ctl->Width(), C.Width);
    if (C.Height >= 0) EXPECT_EQ(Ctl->Height(), C.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SearchBarLayout,
    ::testing::Values(
        LayoutCase{"Edit", [](TSearchPanel* P) -> TControl* { return P->Edit(); }, 25, 6, 110, -1},
        LayoutCase{"Forward", [](TSearchPanel* P) -> TControl* { return P->ForwardButton(); }, 140, 5, 90, 23},
        LayoutCase{"Backward", [](TSearchPanel* P) -> TControl* { return P->BackwardButton(); }, 235, 5, 90, 23},
        LayoutCase{"Close", [](TSearchPanel* P) -> TControl* { return P->ExitButton(); }, 5, 7, 14, 14},
        LayoutCase{"Highlight", [](TSearchPanel* P) -> TControl* { return P->HiliteButton(); }, 330, 5, 90, 23},
        LayoutCase{"MatchCase", [](TSearchPanel* P) -> TControl* { return P->MatchCase(); }, 425, 8, -1, -1}),
    [](const ::testing::TestParamInfo<LayoutCase>& I) { return std::string(I.param.Name); });

TEST_F(SearchBar, IsThirtyTwoHighAtTheBottomWithTheFootersTexts) {
    EXPECT_EQ(P->Height(), 32);
    EXPECT_TRUE(P->Visible());
    EXPECT_EQ(P->ForwardButton()->Caption(), "&Next");
    EXPECT_EQ(P->BackwardButton()->Caption(), "&Previous");
    EXPECT_EQ(P->HiliteButton()->Caption(), "&Highlight");
    EXPECT_EQ(P->MatchCase()->Caption(), "Match case");
    EXPECT_EQ(P->ExitButton()->Caption(), "");
    EXPECT_EQ(P->ForwardButton()->Hint(), "Find the next match");
    EXPECT_TRUE(P->ForwardButton()->ShowHint());
    EXPECT_FALSE(P->BackwardButton()->ShowHint()) << "an empty hint is not shown";
    EXPECT_TRUE(P->ExitButton()->ShowHint());
    G->SearchFooter()->SetVisible(false);
    EXPECT_EQ(P->Height(), 0);
}

TEST_F(SearchBar, MatchCaseMovesLeftWithoutTheHighlightButton) {
    G->SearchFooter()->SetShowHighLight(false);
    EXPECT_FALSE(P->HiliteButton()->Visible());
    EXPECT_EQ(P->MatchCase()->Left(), 330);
}

TEST_F(SearchBar, RightToLeftPutsTheCloseButtonAtTheRightEdge) {
    G->setLayoutDirection(Qt::RightToLeft);
    P->LayoutControls();
    EXPECT_EQ(P->ExitButton()->Left(), P->Width() - 14 - 5);
    EXPECT_EQ(P->Edit()->Left(), P->Width() - 110 - 25);
    G->setLayoutDirection(Qt::LeftToRight);
}

TEST_F(SearchBar, TextEnablesTheSearchButtons) {
    std::vector<QString> Changes;
    G->OnSearchEditChange = [&](TObject* Sender, const QString& Value, bool&) {
        EXPECT_EQ(Sender, static_cast<TObject*>(G.get()));
        Changes.push_back(Value);
    };
    auto Enabled = [&] {
        return std::vector<bool>{P->ForwardButton()->Enabled(), P->BackwardButton()->Enabled(),
                                 P->HiliteButton()->Enabled()};
    };
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false}));
    Type("a");
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true}));
    Type("ab");
    Type("");
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(Changes, (std::vector<QString>{"a", "ab", ""}));
}

TEST_F(SearchBar, EnterAndCtrlEnterSearchWithoutReachingTheEdit) {
    Type("abc");
    std::vector<int> Pressed;
    P->Edit()->OnKeyPress = [&](TObject*, QChar& Key) { Pressed.push_back(Key.unicode()); };
    P->Edit()->Perform(WM_KEYDOWN, VK_RETURN, 0);
    P->Edit()->Perform(WM_KEYDOWN, VK_RETURN, LPARAM(TShiftState{ssCtrl}.Bits()));
    P->Edit()->Perform(WM_CHAR, 13, 0);
    P->Edit()->Perform(WM_CHAR, 10, 0);
    EXPECT_EQ(G->Calls, (std::vector<std::string>{"next", "prev"}));
    EXPECT_EQ(Pressed, (std::vector<int>{13, 10})) << "OnKeyPress sees the line ends";
    EXPECT_EQ(P->Edit()->Text(), "abc") << "and they are swallowed";
    P->Edit()->Perform(WM_CHAR, 'd', 0);
    EXPECT_EQ(P->Edit()->Text(), "abcd");
}

TEST_F(SearchBar, ButtonsReachTheGridsHandlers) {
    Type("x");
    P->ForwardButton()->Click();
    P->BackwardButton()->Click();
    P->HiliteButton()->Click();
    EXPECT_EQ(G->Calls, (std::vector<std::string>{"next", "prev", "highlight"}));
    bool Closed = false;
    G->OnSearchFooterClose = [&](TObject*) { Closed = true; };
    P->ExitButton()->Click();
    EXPECT_TRUE(Closed);
    EXPECT_FALSE(G->SearchFooter()->Visible());
    EXPECT_EQ(P->Height(), 0);
}

TEST_F(SearchBar, PaintsItsGradientUnderAGridLine) {
    G->SearchFooter()->SetColor(TColor(0xF0E0D0));
    G->SearchFooter()->SetColorTo(TColor(0xC08040));
    G->SetGridLineColor(clRed);
    Type("match");
    Form->Show();
    QCoreApplication::processEvents();
    QImage Img(P->Width(), P->Height(), QImage::Format_RGB32);
    P->render(&Img);
    ASSERT_TRUE(Img.save(QDir(QCoreApplication::applicationDirPath()).filePath("search_panel.png")));
    auto At = [&](int X, int Y) {
        const QRgb Q = Img.pixel(X, Y);
        return TColor(qRed(Q) | (qGreen(Q) << 8) | (qBlue(Q) << 16));
    };
    EXPECT_EQ(At(P->Width() - 3, 0), clRed);
    // from the colour at the top down to ColorTo (red parts 0xD0 and 0x40)
    const int Top = At(P->Width() - 3, 1) & 0xFF, Bottom = At(P->Width() - 3, P->Height() - 1) & 0xFF;
    EXPECT_NEAR(Top, 0xD0, 8);
    EXPECT_NEAR(Bottom, 0x40, 8);
    Form->Hide();
}

} // namespace
