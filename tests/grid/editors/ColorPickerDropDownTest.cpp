// The colour picker drop-down driven headless through its keys, clicks and wheel: opening, the
// typed-letter search, choosing in each popup style, accepting and cancelling, the value texts
// and the painted edit part.
#include "EditorsFixture.h"
#include "grid/editors/ExtColorPickerDropDown.h"

#include <QImage>
#include <QLineEdit>

#include <string>
#include <vector>

namespace {

TColor PixelAt(const QImage& I, int X, int Y) {
    const QColor P = I.pixelColor(X, Y);
    return TColor(P.red() | (P.green() << 8) | (P.blue() << 16));
}

class ColorPickerTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        FClock->Advance(100000);
        P = Create<TExtColorPickerDropDown>(Host.get(), Host.get());
        P->SetBounds(60, 20, 200, 22);
        P->AddDefaultColors();
        P->OnSelect = [this](TObject*) {
            Log.push_back("select " + std::to_string(P->ItemIndex()) + " " + Hex(P->SelectedColor()));
        };
        P->OnDropUp = [this](TObject*, bool Cancelled) {
            Log.push_back(std::string(Cancelled ? "cancel " : "accept ") + Hex(P->SelectedColor()));
        };
        ShowHost();
        P->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (P) {
            P->OnSelect = nullptr;
            P->OnDropUp = nullptr;
            if (P->DroppedDown()) P->HideDropDown(true);
        }
        EditorsTest::TearDown();
    }
    static std::string Hex(TColor C) { return QString::number(uint32_t(C), 16).toStdString(); }
    // A key to the open popup, or to the picker while it is closed.
    void Key(Word K, QChar Ch = QChar()) {
        if (P->DroppedDown())
            P->DropDownForm()->SimulateKey(K, {}, Ch);
        else
            P->SimulateKey(K, {}, Ch);
    }
    void TypeKeys(const QString& Text) {
        for (QChar C : Text) Key(Word(C.toUpper().unicode()), C);
    }
    void Open() {
        Key(VK_F4);
        ASSERT_TRUE(P->DroppedDown());
        Log.clear();
    }
    TExtColorPickerDropDown* P = nullptr;
    std::vector<std::string> Log;
};

TEST_F(ColorPickerTest, StartsWithoutColoursUntilTheDefaultsAreAdded) {
    auto* Fresh = Create<TExtColorPickerDropDown>(Host.get(), Host.get());
    EXPECT_EQ(Fresh->Colors()->Count(), 0);
    Fresh->AddDefaultColors();
    Fresh->AddDefaultColors();
    ASSERT_EQ(Fresh->Colors()->Count(), 32);
    EXPECT_EQ(Fresh->Colors()->Items(9)->Caption(), "Red");
    EXPECT_EQ(Fresh->Colors()->Items(25)->Color(), TColor(0x0000FF));
    EXPECT_EQ(Fresh->SelectedColor(), clNone);
    EXPECT_EQ(Fresh->ItemIndex(), -1);
    EXPECT_FALSE(Fresh->EditorEnabled());
}

TEST_F(ColorPickerTest, SelectedColorPicksItsEntryOrNone) {
    P->SetColorValueText(cvtHTML);
    P->SetSelectedColor(0x0000FF);
    EXPECT_EQ(P->ItemIndex(), 9);
    EXPECT_EQ(P->SelectedColorText(), "Red");
    // A colour no entry has leaves no entry's caption beside it.
    P->SetSelectedColor(0x123456);
    EXPECT_EQ(P->ItemIndex(), -1);
    EXPECT_EQ(P->SelectedColorText(), "#563412");
    P->SetSelectedColor(0x123456); // unchanged: nothing
    EXPECT_EQ(Log, std::vector<std::string>{"select 9 ff"});
}

TEST_F(ColorPickerTest, ItemIndexIgnoresEntriesPastTheEndAndAnnouncesEveryOther) {
    P->SetItemIndex(16);
    EXPECT_EQ(P->ItemIndex(), -1);
    P->SetItemIndex(12);
    EXPECT_EQ(P->SelectedColor(), TColor(0xFF0000));
    P->SetItemIndex(12);
    P->SetItemIndex(-1); // no entry, the colour stays
    EXPECT_EQ(P->SelectedColor(), TColor(0xFF0000));
    EXPECT_EQ(Log, (std::vector<std::string>{"select 12 ff0000", "select 12 ff0000", "select -1 ff0000"}));
}

struct ValueTextCase {
    const char* Name;
    TColor Color;
    TColorValueText Kind;
    const char* Want;
};
void PrintTo(const ValueTextCase& C, std::ostream* Os) { *Os << C.Name; }

class ColorValueTexts : public ::testing::TestWithParam<ValueTextCase> {};

TEST_P(ColorValueTexts, ShowTheColourAsAsked) {
    const ValueTextCase& C = GetParam();
    EXPECT_EQ(ColorValueString(C.Color, C.Kind), QString::fromLatin1(C.Want));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ColorValueTexts,
    ::testing::Values(ValueTextCase{"none_is_empty", 0x0000FF, cvtNone, ""},
                      ValueTextCase{"hex_is_blue_first", 0x0000FF, cvtHex, "0000FF"},
                      ValueTextCase{"html_is_red_first", 0x0000FF, cvtHTML, "#FF0000"},
                      ValueTextCase{"rgb_in_decimal", 0x204080, cvtRGB, "Red:128,Green:64,Blue:32"},
                      ValueTextCase{"web_name_falls_back_to_html", 0xABCDEF, cvtWebName, "#EFCDAB"},
                      ValueTextCase{"web_name_of_a_named_colour", 0xFAFAFF, cvtWebName, "clWebSnow"},
                      ValueTextCase{"web_name_first_of_two", 0xFFFF00, cvtWebName, "clWebAqua"},
                      ValueTextCase{"system_colour_is_resolved", clWindow, cvtHTML, "#FFFFFF"}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(ColorPickerTest, ListKeysMoveTheSelectionWhileThePopupStaysOpen) {
    P->SetItemIndex(2);
    Open();
    TExtCustomItemSelector* S = P->ItemSelector();
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->Items()->Count(), 16);
    EXPECT_EQ(S->ItemIndex(), 2);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_TRUE(P->DroppedDown());
    EXPECT_EQ(P->ItemIndex(), 4);
    Key(VK_END);
    EXPECT_EQ(P->ItemIndex(), 15);
    Key(VK_DOWN); // past the last: nothing
    Key(VK_LEFT);
    EXPECT_EQ(P->ItemIndex(), 14);
    Key(VK_RETURN);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(P->SelectedColor(), TColor(0xFFFF00));
    EXPECT_EQ(Log,
              (std::vector<std::string>{"select 3 8080", "select 4 800000", "select 15 ffffff", "select 14 ffff00",
                                        "accept ffff00", "select 14 ffff00"}));
}

TEST_F(ColorPickerTest, EscapeTakesBackWhatTheKeysChoseWithoutAnnouncingIt) {
    P->SetSelectedColor(0x00FF00); // Lime, entry 10
    Open();
    Key(VK_HOME);
    Key(VK_RIGHT);
    EXPECT_EQ(P->SelectedColor(), TColor(0x000080));
    Log.clear();
    Key(VK_ESCAPE);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(P->ItemIndex(), 10);
    EXPECT_EQ(P->SelectedColor(), TColor(0x00FF00));
    EXPECT_EQ(Log, std::vector<std::string>{"cancel ff00"});
}

TEST_F(ColorPickerTest, EscapeRestoresAColourThatNoEntryHas) {
    P->SetSelectedColor(0x123456);
    Open();
    Key(VK_DOWN); // from no entry: the first
    EXPECT_EQ(P->SelectedColor(), TColor(0x000000));
    Key(VK_ESCAPE);
    EXPECT_EQ(P->ItemIndex(), -1);
    EXPECT_EQ(P->SelectedColor(), TColor(0x123456));
}

TEST_F(ColorPickerTest, AClickOnAnEntryChoosesItAndCloses) {
    Open();
    TExtCustomItemSelector* S = P->ItemSelector();
    TRect R;
    S->SelectorPanel()->GetItemRect(5, R);
    Click(S->SelectorPanel(), R.Left + 3, R.Top + 3);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(P->ItemIndex(), 5);
    EXPECT_EQ(Log, (std::vector<std::string>{"select 5 800080", "accept 800080"}));
}

TEST_F(ColorPickerTest, EnterOnTheHotEntryChoosesItOnce) {
    Open();
    P->MouseWheelDownHook(); // hot moves: the first entry
    P->MouseWheelDownHook();
    EXPECT_EQ(P->ItemSelector()->ItemHot(), 1);
    EXPECT_EQ(P->ItemIndex(), -1);
    Key(VK_RETURN);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(Log, (std::vector<std::string>{"select 1 80", "accept 80"}));
}

struct SearchCase {
    const char* Name;
    const char* Burst1;
    int WaitMs; // between the two bursts
    const char* Burst2;
    int Want;
};
void PrintTo(const SearchCase& C, std::ostream* Os) { *Os << C.Name; }

class ColorSearch : public ColorPickerTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(ColorSearch, FindsTheTypedPrefixWithinABurst) {
    const SearchCase& C = GetParam();
    Open();
    TypeKeys(QString::fromLatin1(C.Burst1));
    FClock->Advance(unsigned(C.WaitMs));
    TypeKeys(QString::fromLatin1(C.Burst2));
    EXPECT_TRUE(P->DroppedDown());
    EXPECT_EQ(P->ItemIndex(), C.Want);
}

INSTANTIATE_TEST_SUITE_P(Bursts, ColorSearch,
                         ::testing::Values(SearchCase{"one_letter", "g", 0, "", 2},
                                           SearchCase{"letters_of_one_burst", "gr", 100, "a", 7},
                                           SearchCase{"just_inside_the_burst", "r", 499, "e", 9},
                                           SearchCase{"a_pause_starts_anew", "gr", 500, "b", 0},
                                           SearchCase{"no_match_keeps_the_last", "y", 0, "x", 11}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(ColorPickerTest, SearchUsesTheTypedCharacterNotTheKeyCode) {
    P->Colors()->Clear();
    P->Colors()->Add()->SetCaption("Azure");
    P->Colors()->Add()->SetCaption("1 custom");
    P->Colors()->Items(1)->SetColor(0x0A0B0C);
    Open();
    Key(VK_NUMPAD1, QChar('1')); // the number pad's 1 has the key code of "a"
    EXPECT_EQ(P->ItemIndex(), 1);
    EXPECT_EQ(P->CurSearch(), "1");
    FClock->Advance(600);
    P->KeyTimer()->Tick();
    EXPECT_EQ(P->CurSearch(), "");
    EXPECT_FALSE(P->KeyTimer()->Enabled());
}

TEST_F(ColorPickerTest, ClosedKeysAndWheelStepThroughTheEntries) {
    Key(VK_DOWN);
    EXPECT_EQ(P->ItemIndex(), 0);
    Key(VK_UP); // nothing before the first
    EXPECT_EQ(P->ItemIndex(), 0);
    Key(VK_END);
    EXPECT_EQ(P->ItemIndex(), 15);
    Key(VK_HOME);
    P->MouseWheelDownHook();
    P->MouseWheelDownHook();
    EXPECT_EQ(P->ItemIndex(), 2);
    P->MouseWheelUpHook();
    EXPECT_EQ(P->ItemIndex(), 1);
    EXPECT_FALSE(P->DroppedDown());
    TypeKeys("w");
    EXPECT_EQ(P->SelectedColor(), TColor(0xFFFFFF));
    EXPECT_FALSE(P->DroppedDown());
}

TEST_F(ColorPickerTest, ThePaletteMovesWithKeysAndCancelPutsTheOldColourBack) {
    P->SetColorSelectionStyle(csDiscrete);
    P->SetSelectedColor(0x123456);
    Open();
    TCustomColorSelector* Pal = P->ColorSelector();
    ASSERT_NE(Pal, nullptr);
    EXPECT_TRUE(Pal->Visible());
    EXPECT_EQ(Pal->ItemIndex(), -1);
    Key(VK_HOME);
    Key(VK_RIGHT);
    EXPECT_TRUE(P->DroppedDown());
    EXPECT_EQ(P->SelectedColor(), Pal->Items()->Items(1)->Color());
    Log.clear();
    Key(VK_ESCAPE);
    EXPECT_EQ(P->SelectedColor(), TColor(0x123456));
    EXPECT_EQ(Log, std::vector<std::string>{"cancel 123456"});
    Open();
    Key(VK_END);
    Key(VK_RETURN);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(P->SelectedColor(), Pal->Items()->Items(59)->Color());
    EXPECT_EQ(P->ItemIndex(), -1);
}

TEST_F(ColorPickerTest, ACubeCellIsChosenWithOneClick) {
    P->SetColorSelectionStyle(csColorCube);
    Open();
    TExtColorCubePanel* Cube = P->ColorCubePanel();
    ASSERT_NE(Cube, nullptr);
    EXPECT_FALSE(P->DropDownForm()->Sizeable());
    const auto& Cell = Cube->CubeCell(64); // the white centre, also the entry "White"
    Click(Cube, Cell.Center.X, Cell.Center.Y);
    EXPECT_FALSE(P->DroppedDown());
    EXPECT_EQ(P->SelectedColor(), TColor(0xFFFFFF));
    EXPECT_EQ(P->ItemIndex(), -1);
    EXPECT_EQ(Log, (std::vector<std::string>{"select 15 ffffff", "select -1 ffffff", "accept ffffff"}));
}

TEST_F(ColorPickerTest, TheEditPartShowsTheBoxAndTheCaption) {
    Host->Other->SetFocus();
    QApplication::processEvents();
    P->SetSelectedColor(0x0000FF);
    QImage I = P->grab().toImage();
    const int BoxTop = 1 + (P->Height() - 14) / 2;
    EXPECT_EQ(PixelAt(I, 5, BoxTop), clBlack); // the frame
    EXPECT_EQ(PixelAt(I, 10, BoxTop + 6), TColor(0x0000FF));
    int Dark = 0;
    for (int X = 24; X < 60; ++X)
        for (int Y = 3; Y < P->Height() - 3; ++Y) Dark += qGray(I.pixel(X, Y)) < 100;
    EXPECT_GT(Dark, 5) << "the caption follows the box";
    P->SetShowText(false);
    I = P->grab().toImage();
    Dark = 0;
    for (int X = 24; X < 60; ++X)
        for (int Y = 3; Y < P->Height() - 3; ++Y) Dark += qGray(I.pixel(X, Y)) < 100;
    EXPECT_EQ(Dark, 0);
    P->SetSelectedColor(clNone);
    I = P->grab().toImage();
    EXPECT_NE(PixelAt(I, 5, BoxTop), clBlack);
}

TEST_F(ColorPickerTest, PageKeysMoveByTheEntriesInView) {
    P->SetItemIndex(0);
    Open();
    const int N = P->ItemSelector()->GetVisibleItemCount();
    ASSERT_GT(N, 1);
    ASSERT_LT(N, 16);
    Key(VK_NEXT);
    EXPECT_EQ(P->ItemIndex(), N);
    Key(VK_NEXT);
    EXPECT_EQ(P->ItemIndex(), std::min(2 * N, 15));
    Key(VK_PRIOR);
    Key(VK_PRIOR);
    Key(VK_PRIOR);
    EXPECT_EQ(P->ItemIndex(), 0);
    EXPECT_TRUE(P->DroppedDown());
}

TEST_F(ColorPickerTest, ChangingTheStyleWhileOpenShowsTheNewPanel) {
    Open();
    P->SetColorSelectionStyle(csDiscrete);
    ASSERT_NE(P->ColorSelector(), nullptr);
    EXPECT_TRUE(P->ColorSelector()->Visible());
    EXPECT_FALSE(P->ItemSelector()->Visible());
    EXPECT_EQ(P->DropDownForm()->Width(), P->ColorSelector()->Width() + 2); // inside a border of 1
    EXPECT_EQ(P->DropDownForm()->Height(), P->ColorSelector()->Height() + 2);
    Key(VK_ESCAPE);
    EXPECT_FALSE(P->DroppedDown());
    P->SetColorSelectionStyle(csList);
    Open();
    EXPECT_TRUE(P->ItemSelector()->Visible());
    EXPECT_FALSE(P->ColorSelector()->Visible());
}

} // namespace
