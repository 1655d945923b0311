// The time picker drop-down headless: its text, the text taken over from outside, the arrow
// steps, and the popup clock (and picker) opened, moved, committed and cancelled.
#include "grid/editors/ExtTimePickerDropDown.h"
#include "tests/grid/editors/EditorsFixture.h"

#include <string>
#include <vector>

namespace {

class TimePickerFixture : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        T = Create<TExtTimePickerDropDown>(Host.get(), Host.get());
        T->SetBounds(10, 10, 120, 24);
        T->OnTimeChange = [this](TObject*) { Log.push_back("time " + Shown()); };
        T->OnDropDown = [this](TObject*, bool&) { Log.push_back("down"); };
        T->OnDropUp = [this](TObject*, bool Cancelled) { Log.push_back(Cancelled ? "up cancelled" : "up"); };
        ShowHost();
        T->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        Application->OnException = nullptr;
        EditorsTest::TearDown();
    }
    std::string Shown() const {
        int H, M, S, MS;
        DecodeTime(T->Time(), H, M, S, MS);
        return QStringLiteral("%1:%2:%3")
            .arg(H)
            .arg(M, 2, 10, QLatin1Char('0'))
            .arg(S, 2, 10, QLatin1Char('0'))
            .toStdString();
    }
    void Open() {
        T->ShowDropDown();
        QApplication::processEvents();
        ASSERT_TRUE(T->DroppedDown());
        ASSERT_NE(T->Watch(), nullptr);
    }
    TExtTimePickerDropDown* T = nullptr;
    std::vector<std::string> Log;
};

TEST_F(TimePickerFixture, StartsAtMidnightNotEditable) {
    EXPECT_EQ(T->Text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(T->EditorEnabled());
    EXPECT_TRUE(T->DropDownEnabled());
    EXPECT_FALSE(T->DropDownHeader()->Visible());
    EXPECT_FALSE(T->DropDownFooter()->Visible());
}

TEST_F(TimePickerFixture, TimeSetterWritesTheTextWithoutAnnouncing) {
    T->SetTime(EncodeTime(13, 5, 9, 0));
    EXPECT_EQ(T->Text(), QStringLiteral("13:05:09"));
    EXPECT_TRUE(Log.empty());
}

TEST_F(TimePickerFixture, SecondsSwitchReformatsAndKeepsTheTime) {
    T->SetTime(EncodeTime(7, 45, 30, 0));
    T->SetShowSeconds(false);
    EXPECT_EQ(T->Text(), QStringLiteral("07:45"));
    EXPECT_EQ(Shown(), "7:45:30");
    T->SetShowSeconds(true);
    EXPECT_EQ(T->Text(), QStringLiteral("07:45:30"));
    EXPECT_EQ(Shown(), "7:45:30");
}

struct TextCase {
    const char* Name;
    bool Seconds;
    const char* Text;
    const char* WantTime; // unchanged from 3:04:05 when the text is not taken
    const char* WantText;
};
void PrintTo(const TextCase& C, std::ostream* Os) { *Os << C.Name; }

class TimePickerText : public TimePickerFixture, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TimePickerText, FromOutsideIsTakenOverOrLeft) {
    const TextCase& C = GetParam();
    T->SetShowSeconds(C.Seconds);
    T->SetTime(EncodeTime(3, 4, 5, 0));
    T->SetTextUnformatted(QString::fromLatin1(C.Text));
    EXPECT_EQ(Shown(), C.WantTime);
    if (C.WantText) EXPECT_EQ(T->Text(), QString::fromLatin1(C.WantText));
    EXPECT_TRUE(Log.empty()) << "typing announces no time change";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TimePickerText,
    ::testing::Values(TextCase{"complete_without_seconds", false, "12:30", "12:30:00", "12:30"},
                      TextCase{"full_hour_without_seconds", false, "21:00", "21:00:00", "21:00"},
                      TextCase{"complete_with_seconds_is_taken", true, "12:30:45", "12:30:45", "12:30:45"},
                      TextCase{"complete_with_one_digit_hour", true, " 9:05:30", "9:05:30", nullptr},
                      TextCase{"complete_full_hour_is_rewritten", true, " 9:00:00", "9:00:00", "09:00:00"},
                      TextCase{"seconds_half_typed_are_left", true, "12:30:4 ", "3:04:05", nullptr},
                      TextCase{"hour_typed_seconds_blank", true, " 9:00:", "9:00:00", "09:00:00"},
                      TextCase{"other_minute_is_not_rewritten", true, " 9:05:", "9:05:00", nullptr},
                      TextCase{"hour_only_is_left", true, "11:", "3:04:05", nullptr}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(TimePickerFixture, ValueWrittenFromOutsideSurvivesThePopup) {
    T->SetAnimation(false);
    T->SetTime(EncodeTime(3, 4, 5, 0));
    T->SetTextUnformatted("12:30:45");
    Open();
    int H, M, S, MS;
    DecodeTime(T->Watch()->Time(), H, M, S, MS);
    EXPECT_EQ(H, 12);
    EXPECT_EQ(M, 30);
    T->HideDropDown(false);
    QApplication::processEvents();
    EXPECT_EQ(T->Text(), QStringLiteral("12:30:45"));
    EXPECT_EQ(Shown(), "12:30:45");
}

TEST_F(TimePickerFixture, ImpossibleTimeIsReportedAndKeepsTheOldOne) {
    std::vector<std::string> Errors;
    Application->OnException = [&](TObject*, const std::exception& E) { Errors.push_back(E.what()); };
    T->SetShowSeconds(false);
    T->SetTime(EncodeTime(3, 4, 0, 0));
    T->SetTextUnformatted("25:00");
    EXPECT_EQ(Shown(), "3:04:00");
    EXPECT_EQ(Errors.size(), 1u);
}

struct StepCase {
    const char* Name;
    int Caret;
    Word Key;
    int H, M, S;
    const char* Want;
};
void PrintTo(const StepCase& C, std::ostream* Os) { *Os << C.Name; }

class TimePickerSteps : public TimePickerFixture, public ::testing::WithParamInterface<StepCase> {};

TEST_P(TimePickerSteps, ArrowStepsTheFieldUnderTheCaret) {
    const StepCase& C = GetParam();
    T->SetTime(EncodeTime(C.H, C.M, C.S, 0));
    T->SetSelStart(C.Caret);
    T->SimulateKey(C.Key);
    EXPECT_EQ(Shown(), C.Want);
    EXPECT_EQ(Log, (std::vector<std::string>{"time " + std::string(C.Want)}));
    EXPECT_EQ(T->SelStart(), C.Caret);
}

INSTANTIATE_TEST_SUITE_P(Keys, TimePickerSteps,
                         ::testing::Values(StepCase{"up_on_hour_00_wraps_to_23", 0, VK_UP, 0, 10, 20, "23:10:20"},
                                           StepCase{"down_on_hour_23_wraps_to_0", 1, VK_DOWN, 23, 10, 20, "0:10:20"},
                                           StepCase{"down_on_minute_59_leaves_hour", 3, VK_DOWN, 5, 59, 20, "5:00:20"},
                                           StepCase{"up_on_minute", 4, VK_UP, 5, 30, 20, "5:29:20"},
                                           StepCase{"down_on_second", 6, VK_DOWN, 5, 30, 20, "5:30:21"},
                                           StepCase{"up_on_second_00_wraps", 7, VK_UP, 5, 30, 0, "5:30:59"}),
                         [](const auto& I) { return std::string(I.param.Name); });

TEST_F(TimePickerFixture, PopupClockShowsTheTimeAndCommitsItsHands) {
    T->SetAnimation(false);
    T->SetTime(EncodeTime(8, 20, 0, 0));
    Open();
    TExtWatch* W = T->Watch();
    int H, M, S, MS;
    DecodeTime(W->Time(), H, M, S, MS);
    EXPECT_EQ(H, 8);
    EXPECT_EQ(M, 20);
    // Three o'clock on the face: the hour hand moves, the edit follows.
    const TPoint C = W->GetCenter();
    EXPECT_GE(W->Width(), 160);
    EXPECT_GE(W->Height(), 160);
    Click(W, C.X + 40, C.Y);
    EXPECT_EQ(Shown(), "3:20:00");
    T->DropDownForm()->SimulateKey(VK_RETURN, {}, QChar(13));
    QApplication::processEvents();
    EXPECT_FALSE(T->DroppedDown());
    EXPECT_EQ(Shown(), "3:20:00");
    EXPECT_EQ(T->Text(), QStringLiteral("03:20:00"));
    EXPECT_EQ(Log, (std::vector<std::string>{"down", "time 3:20:00", "up"}));
}

TEST_F(TimePickerFixture, CancellingAfterMovingTheHandsKeepsTheTime) {
    T->SetAnimation(false);
    T->SetTime(EncodeTime(8, 20, 0, 0));
    Open();
    T->DropDownForm()->SimulateKey(VK_RIGHT); // the clock's minute
    int H, M, S, MS;
    DecodeTime(T->Watch()->Time(), H, M, S, MS);
    EXPECT_EQ(M, 21);
    T->DropDownForm()->SimulateKey(VK_ESCAPE, {}, QChar(27));
    QApplication::processEvents();
    EXPECT_FALSE(T->DroppedDown());
    EXPECT_EQ(Shown(), "8:20:00");
    EXPECT_EQ(T->Text(), QStringLiteral("08:20:00"));
    DecodeTime(T->Watch()->Time(), H, M, S, MS);
    EXPECT_EQ(M, 20) << "the clock is set back too";
    EXPECT_EQ(Log, (std::vector<std::string>{"down", "time 8:21:00", "time 8:20:00", "up cancelled"}));
}

TEST_F(TimePickerFixture, StepKeysInThePopupGoToTheClockNotTheEdit) {
    T->SetTime(EncodeTime(8, 20, 0, 0));
    Open();
    T->DropDownForm()->SimulateKey(VK_NEXT); // hour - 1 on the clock, animated
    while (T->Watch()->AnimationTimer()->Enabled()) T->Watch()->AnimationTimer()->Tick();
    EXPECT_EQ(Shown(), "7:20:00");
    T->DropDownForm()->SimulateKey(VK_UP); // no step of the edit's field while open
    EXPECT_EQ(Shown(), "7:20:00");
    T->HideDropDown(false);
    EXPECT_EQ(T->Text(), QStringLiteral("07:20:00"));
}

TEST_F(TimePickerFixture, RunningClockIgnoresTheEditsTime) {
    T->WatchSettings()->SetAuto(true);
    T->SetTime(EncodeTime(14, 0, 0, 0));
    Open();
    int H, M, S, MS;
    DecodeTime(T->Watch()->CurrentTime(), H, M, S, MS);
    EXPECT_EQ(H, 9); // the fake clock's
    EXPECT_TRUE(T->Watch()->WatchTimer()->Enabled());
    T->HideDropDown(true);
    EXPECT_EQ(Shown(), "14:00:00");
}

TEST_F(TimePickerFixture, TimePickerBelowTheClockFollowsIt) {
    T->SetShowTimePicker(true);
    T->SetAnimation(false);
    T->SetTime(EncodeTime(10, 15, 0, 0));
    Open();
    TDateTimePicker* P = T->Picker();
    ASSERT_NE(P, nullptr);
    EXPECT_TRUE(P->Visible());
    int H, M, S, MS;
    DecodeTime(P->Time(), H, M, S, MS);
    EXPECT_EQ(H, 10);
    EXPECT_EQ(M, 15);
    T->Watch()->HandleKey(VK_END);
    DecodeTime(P->Time(), H, M, S, MS);
    EXPECT_EQ(M, 0);
    EXPECT_EQ(Shown(), "10:00:00");
    T->HideDropDown(false);
    T->SetShowTimePicker(false);
    Open();
    EXPECT_FALSE(P->Visible());
}

TEST_F(TimePickerFixture, ComponentStyleReachesTheClockAtTheNextOpening) {
    T->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(T->WatchAppearance()->HourPointer(), RGB(8, 55, 114));
    Open();
    EXPECT_EQ(T->Watch()->Appearance()->HourPointer(), RGB(8, 55, 114));
}

} // namespace
