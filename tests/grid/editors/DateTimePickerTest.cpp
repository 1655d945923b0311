// The date and time pickers: the combined date and time editor with its attached time picker,
// the values it reads and writes, the field advance after a typed digit, the caption label's
// placement, and the custom look probed in its pixels.
#include "grid/editors/EsgDateTimePicker.h"
#include "grid/editors/ExtDateTimePicker.h"
#include "platform/gui/Themes.h"
#include "tests/grid/editors/EditorsFixture.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QKeyEvent>

namespace {

// Posted messages, and what handling them posts in turn.
void Drain() {
    for (int I = 0; I < 3; ++I) QApplication::processEvents();
}

TColor PixelAt(QWidget* W, int X, int Y) {
    const QImage I = W->grab().toImage();
    const QRgb P = I.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

class DateTimePickerTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        FThemes = ThemesActive();
        SetThemesActive(true);
        P = Create<TExtDateTimePicker>(Host.get(), Host.get());
        P->SetBounds(120, 20, 200, 24);
        E = Create<TEsgDateTimePicker>(Host.get(), Host.get());
        E->SetBounds(120, 80, 140, 24);
        ShowHost();
    }
    void TearDown() override {
        SetThemesActive(FThemes);
        EditorsTest::TearDown();
    }
    TExtDateTimePicker* P = nullptr;
    TEsgDateTimePicker* E = nullptr;
    bool FThemes = true;
};

TEST_F(DateTimePickerTest, VersionsAndInitialState) {
    EXPECT_EQ(E->Version(), "1.0.0.0");
    EXPECT_EQ(P->Version(), "1.2.0.0");
    EXPECT_EQ(P->Kind(), dkDateTime);
    EXPECT_EQ(P->BorderStyle(), bsSingle);
    EXPECT_EQ(E->BorderColor(), clNone);
    EXPECT_EQ(E->ButtonWidth(), 19);
    ASSERT_NE(P->TimePicker(), nullptr);
    EXPECT_EQ(P->TimePicker()->BorderColor(), clBlack);
    EXPECT_FALSE(P->TimePicker()->Ctl3D());
    EXPECT_TRUE(P->TimePicker()->Visible());
}

TEST_F(DateTimePickerTest, TimeChangedInTheAttachedPickerReachesDateTime) {
    P->SetDateTime(EncodeDate(2024, 3, 10) + EncodeTime(8, 15, 0, 0));
    P->TimePicker()->TDateTimePicker::SetTime(EncodeTime(17, 45, 30, 0));
    EXPECT_NEAR(P->DateTime(), EncodeDate(2024, 3, 10) + EncodeTime(17, 45, 30, 0), 1e-9);
    EXPECT_DOUBLE_EQ(P->Date(), EncodeDate(2024, 3, 10));
    EXPECT_NEAR(P->Time(), EncodeTime(17, 45, 30, 0), 1e-9);
}

TEST_F(DateTimePickerTest, DateKeepsTheTimeToTheSecondAndMillisecondsAreDropped) {
    P->SetDateTime(EncodeDate(2024, 3, 10) + EncodeTime(8, 15, 42, 678));
    EXPECT_NEAR(P->DateTime(), EncodeDate(2024, 3, 10) + EncodeTime(8, 15, 42, 0), 1e-9);
    P->SetDate(EncodeDate(2025, 12, 31));
    EXPECT_NEAR(P->DateTime(), EncodeDate(2025, 12, 31) + EncodeTime(8, 15, 42, 0), 1e-9);
}

TEST_F(DateTimePickerTest, WrittenTimeLastsThroughTheUpdate) {
    P->SetDateTime(EncodeDate(2024, 3, 10) + EncodeTime(8, 0, 0, 0));
    P->SetTime(EncodeTime(12, 30, 0, 0));
    EXPECT_NEAR(P->DateTime(), EncodeDate(2024, 3, 10) + EncodeTime(12, 30, 0, 0), 1e-9);
}

TEST_F(DateTimePickerTest, KindSwitchDestroysAndRecreatesTheAttachedPicker) {
    QPointer<TCustomDateTimePicker> Old(P->TimePicker());
    P->SetKind(dkDate);
    EXPECT_EQ(P->TimePicker(), nullptr);
    EXPECT_TRUE(Old.isNull());
    P->SetKind(dkDateTime);
    ASSERT_NE(P->TimePicker(), nullptr);
    EXPECT_EQ(P->TimePicker()->Kind(), dtkTime);
    // Placed at the right edge, inside the picker (themes active, not Metro).
    TCanvas C;
    C.Font()->Assign(P->Font());
    const int T = C.TextWidth(P->TimePicker()->DisplayText()) + 31;
    EXPECT_EQ(P->TimePicker()->BoundsRect(), Rect(P->Width() - T - 34, 1, P->Width() - 34, P->Height() - 1));
    P->SetKind(dkTime);
    EXPECT_EQ(P->TimePicker(), nullptr);
    EXPECT_EQ(P->TDateTimePicker::Kind(), dtkTime);
}

TEST_F(DateTimePickerTest, ChangesInTheAttachedPickerFireWithThePickerAsSender) {
    std::vector<QString> Events;
    P->OnChange = [&](TObject* S) {
        EXPECT_EQ(S, P);
        Events.push_back("change");
    };
    P->FOnTimeChange = [&](TObject* S) {
        EXPECT_EQ(S, P);
        Events.push_back("time");
    };
    P->TimePicker()->Native()->setTime(QTime(3, 4, 5));
    EXPECT_EQ(Events, (std::vector<QString>{"change", "time"}));
}

TEST_F(DateTimePickerTest, KeysInTheAttachedPickerRunThePickersKeyDownOnly) {
    ASSERT_NE(P->TimePicker(), nullptr);
    std::vector<QString> Events;
    P->OnKeyDown = [&](TObject* S, Word& Key, TShiftState) {
        EXPECT_EQ(S, P);
        if (Key == VK_F2) Events.push_back("down");
    };
    P->OnKeyPress = [&](TObject*, QChar&) { Events.push_back("press"); };
    P->TimePicker()->SimulateKey(VK_F2);
    P->TimePicker()->SimulateKey('5');
    EXPECT_EQ(Events, (std::vector<QString>{"down"}));
}

TEST_F(DateTimePickerTest, AutoTabAfterTheLastFieldMovesToTheTimePicker) {
    P->SetFormat("dd/MM/yyyy");
    P->SetAutoTab(true);
    P->SetDateTime(EncodeDate(2024, 3, 10) + EncodeTime(8, 0, 0, 0));
    P->SetFocus();
    QApplication::processEvents();
    // What the typed digit does to the value, standing in for the platform field's typing.
    TDateTime After = 0;
    P->OnKeyPress = [&](TObject*, QChar& Key) {
        P->SetDateTime(After);
        Key = QChar(0);
    };
    std::vector<Word> KeyDowns;
    P->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { KeyDowns.push_back(Key); };

    After = EncodeDate(2024, 3, 12) + EncodeTime(8, 0, 0, 0); // the day changed
    P->SimulateKey('2');
    Drain();
    EXPECT_NE(std::find(KeyDowns.begin(), KeyDowns.end(), VK_RIGHT), KeyDowns.end());
    EXPECT_FALSE(P->TimePicker()->Focused());

    KeyDowns.clear();
    After = EncodeDate(2027, 3, 12) + EncodeTime(8, 0, 0, 0); // the year, the format's last field
    P->SimulateKey('7');
    Drain();
    EXPECT_TRUE(P->TimePicker()->Focused());
    EXPECT_EQ(std::find(KeyDowns.begin(), KeyDowns.end(), VK_RIGHT), KeyDowns.end());
}

TEST_F(DateTimePickerTest, AutoTabInTimeKindMovesOnOnlyWhenAFieldChanged) {
    P->SetKind(dkTime);
    P->SetAutoTab(true);
    P->SetTime(EncodeTime(8, 0, 0, 0));
    TDateTime After = 0;
    P->OnKeyPress = [&](TObject*, QChar& Key) {
        P->SetTime(After);
        Key = QChar(0);
    };
    int Rights = 0;
    P->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { Rights += Key == VK_RIGHT; };
    After = EncodeTime(8, 0, 0, 0); // the digit left the time as it was
    P->SimulateKey('8');
    Drain();
    EXPECT_EQ(Rights, 0);
    After = EncodeTime(9, 0, 0, 0); // the hour changed
    P->SimulateKey('9');
    Drain();
    EXPECT_EQ(Rights, 1);
}

TEST_F(DateTimePickerTest, AutoTabOffPostsNothing) {
    P->SetDateTime(EncodeDate(2024, 3, 10));
    P->OnKeyPress = [&](TObject*, QChar& Key) {
        P->SetDateTime(EncodeDate(2024, 3, 12));
        Key = QChar(0);
    };
    int Rights = 0;
    P->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { Rights += Key == VK_RIGHT; };
    P->SimulateKey('2');
    Drain();
    EXPECT_EQ(Rights, 0);
}

TEST_F(DateTimePickerTest, RightArrowMovesToTheNextField) {
    P->SetKind(dkDate);
    P->SetFormat("dd/MM/yyyy");
    P->Native()->setCurrentSectionIndex(0);
    P->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(P->Native()->currentSectionIndex(), 1);
}

TEST_F(DateTimePickerTest, AltDownOpensTheCalendarEnterPicksEscapeCancels) {
    E->SetDateTime(EncodeDate(2024, 2, 10));
    std::vector<QString> Events;
    E->OnDropDown = [&](TObject*) { Events.push_back("dropdown"); };
    E->OnCloseUp = [&](TObject*) { Events.push_back("closeup"); };
    E->OnChange = [&](TObject* S) {
        EXPECT_EQ(S, E);
        Events.push_back("change");
    };
    E->SetFocus();
    QApplication::processEvents();
    E->SimulateKey(VK_DOWN, {ssAlt});
    ASSERT_TRUE(E->DroppedDown());
    QCalendarWidget* Cal = E->Native()->calendarWidget();
    Cal->setSelectedDate(QDate(2024, 2, 14));
    QKeyEvent Esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(Cal->window(), &Esc);
    QApplication::processEvents();
    EXPECT_FALSE(E->DroppedDown());
    EXPECT_DOUBLE_EQ(E->Date(), EncodeDate(2024, 2, 10)); // cancelled: the date stays

    E->SimulateKey(VK_F4);
    ASSERT_TRUE(E->DroppedDown());
    Cal->setSelectedDate(QDate(2024, 2, 14));
    QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Cal->findChild<QAbstractItemView*>(), &Enter);
    QApplication::processEvents();
    EXPECT_FALSE(E->DroppedDown());
    EXPECT_DOUBLE_EQ(E->Date(), EncodeDate(2024, 2, 14));
    // Browsing the calendar moves the field along; a cancel puts the value back.
    EXPECT_EQ(Events,
              (std::vector<QString>{"dropdown", "change", "change", "closeup", "dropdown", "change", "closeup"}));
}

TEST_F(DateTimePickerTest, LabelPlacementFollowsThePosition) {
    P->SetLabelCaption("Due");
    TLabel* L = P->Label();
    ASSERT_NE(L, nullptr);
    EXPECT_EQ(L->Parent(), Host.get());
    EXPECT_EQ(L->FocusControl(), P);
    const int M = P->LabelMargin();
    TCanvas C;
    C.Font()->Assign(L->Font());
    const int Tw = C.TextWidth("Due");
    P->SetLabelPosition(lpLeftTop);
    EXPECT_EQ(L->Left(), P->Left() - Tw - M);
    EXPECT_EQ(L->Top(), P->Top());
    P->SetLabelPosition(lpTopLeft);
    EXPECT_EQ(L->Top(), P->Top() - L->Height() - M);
    EXPECT_EQ(L->Left(), P->Left());
    P->SetLabelPosition(lpRightCenter);
    EXPECT_EQ(L->Left(), P->Left() + P->Width() + M);
    EXPECT_EQ(L->Top(), P->Top() + (P->Height() - L->Height()) / 2);
    P->SetLeft(150); // the label follows the picker
    EXPECT_EQ(L->Left(), 150 + P->Width() + M);
}

TEST_F(DateTimePickerTest, WideLabelCentredAbovePlacesItLeftOfThePicker) {
    P->SetWidth(60);
    P->SetLabelCaption("A caption much wider than the picker");
    P->SetLabelPosition(lpTopCenter);
    TLabel* L = P->Label();
    ASSERT_GT(L->Width(), P->Width());
    EXPECT_EQ(L->Left(), P->Left() - (L->Width() - P->Width()) / 2);
    EXPECT_EQ(L->Top(), P->Top() - L->Height() - P->LabelMargin());
}

TEST_F(DateTimePickerTest, LabelFollowsEnabledAndTurnsBoldWithFocusLabel) {
    P->SetLabelCaption("Due");
    P->SetFocusLabel(true);
    P->SetEnabled(false);
    EXPECT_FALSE(P->Label()->Enabled());
    P->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(P->Label()->Enabled());
    P->SetEnabled(true);
    P->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(P->Label()->Font()->Style().Contains(fsBold));
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(P->Label()->Font()->Style().Contains(fsBold));
}

TEST_F(DateTimePickerTest, DisabledThemedMetroPickerShowsTheThemedFrame) {
    E->SetMetroStyle(true);
    E->SetEnabled(false);
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(E, 0, E->Height() / 2), TColor(0xB99D7F));
    E->SetDisabledBorder(true);
    QApplication::processEvents();
    EXPECT_NE(PixelAt(E, 0, E->Height() / 2), TColor(0xB99D7F));
}

TEST_F(DateTimePickerTest, MetroButtonInItsColoursAndBorderColour) {
    E->SetMetroStyle(true);
    E->SetBorderColor(0x0000C0);
    E->FButtonColor = 0xE0C0A0;
    E->FButtonTextColor = 0x400000;
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(E, 0, 5), TColor(0x0000C0));
    EXPECT_EQ(PixelAt(E, E->Width() - 4, 3), TColor(0xE0C0A0));
    // The hover follows the mouse over the button.
    E->Perform(WM_MOUSEMOVE, 0, MakeLParam(E->Width() - 5, 5));
    EXPECT_TRUE(E->ButtonHover());
    E->Perform(WM_MOUSEMOVE, 0, MakeLParam(5, 5));
    EXPECT_FALSE(E->ButtonHover());
}

TEST_F(DateTimePickerTest, FocusBorderColourOnlyWhileFocused) {
    E->SetMetroStyle(true);
    E->SetFocusBorderColor(0x00A000);
    E->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(E->HasFocus());
    EXPECT_EQ(PixelAt(E, 0, 5), TColor(0x00A000));
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_NE(PixelAt(E, 0, 5), TColor(0x00A000));
}

TEST_F(DateTimePickerTest, CheckBoxClearedDisablesTheAttachedPicker) {
    P->SetShowCheckbox(true);
    P->SetChecked(true);
    EXPECT_TRUE(P->Checked());
    P->SetChecked(false);
    P->TDateTimePicker::SetDateTime(EncodeDate(2024, 1, 1)); // a change notification of the field
    P->Native()->setDate(QDate(2024, 1, 2));
    EXPECT_FALSE(P->TimePicker()->Enabled());
}

TEST_F(DateTimePickerTest, DTPShiftFocusIsOneRegisteredMessage) {
    EXPECT_EQ(DTPShiftFocusMessage(), RegisterWindowMessage("DTPShiftFocus"));
    EXPECT_GE(DTPShiftFocusMessage(), 0xC000u);
}

} // namespace
