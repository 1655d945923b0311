// The spin editor driven through its own keys and buttons: values of the four kinds read from
// and written to the text in two number settings, limits, steps by the field under the caret,
// the character filter, the button pair with its auto-repeat, and the focus rules.
#include "grid/editors/esgspin.h"
#include "tests/grid/editors/EditorsFixture.h"

namespace {

class SpinEditTest : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        S = Create<TEsgSpinEdit>(Host.get(), Host.get());
        S->SetBounds(20, 20, 120, 24);
        ShowHost();
    }
    void Focus() {
        S->SetFocus();
        QApplication::processEvents();
    }
    void Caret(int Pos) { S->SetSelStart(Pos); }
    void Key(Word K, TShiftState Shift = {}) { S->SimulateKey(K, Shift); }
    TEsgSpinEdit* S = nullptr;
};

// ---- integers -------------------------------------------------------------------------------
TEST_F(SpinEditTest, IntegerReadsEmptyAsZeroAndLettersAsMinimum) {
    S->SetMinValue(5);
    S->SetMaxValue(50);
    S->SetText("");
    EXPECT_EQ(S->Value(), 0);
    S->SetText("abc");
    EXPECT_EQ(S->Value(), 5);
    S->SetText(" 42 ");
    EXPECT_EQ(S->Value(), 42);
    S->SetText("-7");
    EXPECT_EQ(S->Value(), -7);
    // The text is read as a decimal number only: hex forms are not numbers here.
    for (const char* Hex : {"$10", "0x10", "x1F"}) {
        S->SetText(Hex);
        EXPECT_EQ(S->Value(), 5) << Hex;
    }
}

TEST_F(SpinEditTest, IntegerLimitsClampUnlessEqual) {
    S->SetValue(100);
    Key(VK_UP);
    EXPECT_EQ(S->Text(), "100");
    S->SetValue(-3);
    EXPECT_EQ(S->Text(), "0");
    S->SetMinValue(0);
    S->SetMaxValue(0);
    S->SetValue(500);
    EXPECT_EQ(S->Text(), "500");
    S->SetIncrement(7);
    Key(VK_PRIOR); // the page flag is ignored for integers
    EXPECT_EQ(S->Text(), "507");
    Key(VK_DOWN);
    EXPECT_EQ(S->Text(), "500");
    // Limits the wrong way round: the lower one is checked first.
    S->SetMinValue(10);
    S->SetMaxValue(5);
    S->SetValue(7);
    EXPECT_EQ(S->Text(), "10");
    S->SetValue(3);
    EXPECT_EQ(S->Text(), "10");
}

TEST_F(SpinEditTest, IntegerStepStopsAtTheEndsOfTheIntegerRange) {
    S->SetMinValue(0);
    S->SetMaxValue(0);
    S->SetText("2147483647");
    Key(VK_UP);
    EXPECT_EQ(S->Text(), "2147483647");
    S->SetText("-2147483648");
    Key(VK_DOWN);
    EXPECT_EQ(S->Text(), "-2147483648");
    S->SetIncrement(-2147483647 - 1);
    S->SetText("5");
    Key(VK_DOWN); // minus the lowest integer
    EXPECT_EQ(S->Text(), "2147483647");
}

TEST_F(SpinEditTest, EveryStepFiresOnChangeAndArrowsNeverReachOnKeyDown) {
    int Changes = 0, KeyDowns = 0;
    S->OnChange = [&](TObject*) { ++Changes; };
    S->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++KeyDowns; };
    Focus();
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_NEXT);
    EXPECT_EQ(S->Text(), "1");
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(KeyDowns, 0);
}

// ---- floats in two number settings ----------------------------------------------------------
struct TFloatCase {
    const char* Name;
    char Decimal, Thousand;
    int Precision;
    double Value;
    const char* Shown;
};

class SpinFloatTest : public SpinEditTest, public ::testing::WithParamInterface<TFloatCase> {};

TEST_P(SpinFloatTest, ShownInTheSettingsAndReadBack) {
    const TFloatCase& C = GetParam();
    UseSeparators(C.Decimal, C.Thousand);
    S->SetSpinType(sptFloat);
    S->SetMaxFloatValue(10000);
    S->SetPrecision(C.Precision);
    S->SetFloatValue(C.Value);
    EXPECT_EQ(S->Text(), C.Shown);
    EXPECT_NEAR(S->FloatValue(), C.Value, C.Precision ? 0.5 * std::pow(10, -C.Precision) : 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Settings, SpinFloatTest,
                         ::testing::Values(TFloatCase{"PointShortest", '.', ',', 0, 1.25, "1.25"},
                                           TFloatCase{"CommaShortest", ',', '.', 0, 1.25, "1,25"},
                                           TFloatCase{"PointFixed", '.', ',', 2, 1.5, "1.50"},
                                           TFloatCase{"CommaFixed", ',', '.', 2, 1.5, "1,50"},
                                           TFloatCase{"CommaNoGrouping", ',', '.', 1, 1234.56, "1234,6"}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(SpinEditTest, FloatStepsByArrowAndPageIncrements) {
    for (char Dec : {'.', ','}) {
        UseSeparators(Dec, Dec == '.' ? ',' : '.');
        S->SetSpinType(sptFloat);
        S->SetPrecision(2);
        S->SetFloatValue(1.25);
        Key(VK_UP);
        EXPECT_NEAR(S->FloatValue(), 1.35, 1e-9);
        Key(VK_PRIOR);
        EXPECT_NEAR(S->FloatValue(), 2.35, 1e-9);
        Key(VK_NEXT);
        Key(VK_DOWN);
        EXPECT_EQ(S->Text(), Dec == '.' ? "1.25" : "1,25");
    }
}

TEST_F(SpinEditTest, FloatThatIsNotANumberFallsBackToTheFloatMinimum) {
    S->SetSpinType(sptFloat);
    S->SetMinValue(-7);
    S->SetMinFloatValue(2.5);
    S->SetText("abc");
    EXPECT_DOUBLE_EQ(S->FloatValue(), 2.5);
}

TEST_F(SpinEditTest, SpinTypeReappliesTheValueInTheNewKind) {
    S->SetText("7");
    S->SetSpinType(sptFloat);
    S->SetPrecision(1);
    EXPECT_EQ(S->Text(), "7.0");
    S->SetSpinType(sptNormal); // a float's text is no integer: it reads as the lower limit
    EXPECT_EQ(S->Text(), "0");
    S->SetText("55");
    S->SetSpinType(sptNormal); // re-applied also when the kind stays: clamped
    S->SetMaxValue(50);
    S->SetSpinType(sptNormal);
    EXPECT_EQ(S->Text(), "50");
}

// ---- the character filter -------------------------------------------------------------------
TEST_F(SpinEditTest, FloatWithPrecisionRefusesDigitsBeyondItAndASecondSeparator) {
    S->SetSpinType(sptFloat);
    S->SetPrecision(2);
    S->SetText("1.25");
    Focus();
    Caret(4);
    const int Beeps = MessageBeepCount();
    Type(S, "7");
    EXPECT_EQ(S->Text(), "1.25");
    EXPECT_EQ(MessageBeepCount(), Beeps + 1);
    Caret(1);
    Type(S, ".");
    EXPECT_EQ(S->Text(), "1.25");
    Type(S, ","); // the thousand separator
    EXPECT_EQ(S->Text(), "1.25");
    S->SetSelStart(1);
    S->SetSelLength(1); // the separator itself selected
    Type(S, ".");
    EXPECT_EQ(S->Text(), "1.25");
    EXPECT_EQ(MessageBeepCount(), Beeps + 3);
}

TEST_F(SpinEditTest, MinusOnlyAtTheStart) {
    S->SetMinValue(-100);
    S->SetText("12");
    Focus();
    Caret(1);
    Type(S, "-");
    EXPECT_EQ(S->Text(), "12");
    Caret(0);
    Type(S, "-");
    EXPECT_EQ(S->Text(), "-12");
    Caret(0);
    Type(S, "-"); // a second one
    EXPECT_EQ(S->Text(), "-12");
}

struct TCharCase {
    const char* Name;
    TEsgSpinType Kind;
    char16_t Ch;
    bool Accepted;
};

class SpinCharTest : public SpinEditTest, public ::testing::WithParamInterface<TCharCase> {};

TEST_P(SpinCharTest, AcceptsCharByKind) {
    const TCharCase& C = GetParam();
    S->SetSpinType(C.Kind);
    S->SetText("");
    QChar Ch(C.Ch);
    EXPECT_EQ(S->AcceptsChar(Ch), C.Accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpinCharTest,
    ::testing::Values(
        TCharCase{"IntegerDigit", sptNormal, u'5', true}, TCharCase{"IntegerLetter", sptNormal, u'a', false},
        TCharCase{"IntegerDecimal", sptNormal, u'.', false}, TCharCase{"IntegerTimeSeparator", sptNormal, u':', false},
        TCharCase{"FloatDecimal", sptFloat, u'.', true}, TCharCase{"FloatThousand", sptFloat, u',', false},
        TCharCase{"FloatDateSeparator", sptFloat, u'/', false}, TCharCase{"DateSeparator", sptDate, u'/', true},
        TCharCase{"DateTimeSeparator", sptDate, u':', false}, TCharCase{"TimeSeparator", sptTime, u':', true},
        TCharCase{"TimeLetter", sptTime, u'x', false}, TCharCase{"EnterRefused", sptTime, u'\r', false},
        TCharCase{"ControlCharacter", sptDate, u'\x01', true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(SpinEditTest, TimeTakesAtMostTwoSeparators) {
    S->SetSpinType(sptTime);
    S->SetText("10:20:30");
    QChar Ch(':');
    EXPECT_FALSE(S->AcceptsChar(Ch));
    S->SetText("10:20");
    EXPECT_TRUE(S->AcceptsChar(Ch));
}

TEST_F(SpinEditTest, EditorDisabledTakesNoTypingButStillSteps) {
    S->SetEditorEnabled(false);
    S->SetText("12");
    Focus();
    Caret(2);
    Type(S, "a5");
    S->SimulateKey(VK_BACK);
    EXPECT_EQ(S->Text(), "12");
    Caret(0);
    Key(VK_DELETE);
    EXPECT_EQ(S->Text(), "12");
    QApplication::clipboard()->setText("99");
    S->SelectAll();
    S->Perform(WM_PASTE);
    S->Perform(WM_CUT);
    EXPECT_EQ(S->Text(), "12");
    Key(VK_UP);
    EXPECT_EQ(S->Text(), "13");
    EXPECT_EQ(S->SelLength(), 2); // the whole text selected after a write
    Click(S->Button()->DownButton(), 3, 3);
    EXPECT_EQ(S->Text(), "12");
}

TEST_F(SpinEditTest, ReadOnlyStepOnlyBeeps) {
    S->SetText("12");
    S->SetReadOnly(true);
    const int Beeps = MessageBeepCount();
    Key(VK_UP);
    EXPECT_EQ(S->Text(), "12");
    EXPECT_EQ(MessageBeepCount(), Beeps + 1);
}

TEST_F(SpinEditTest, KeypadDecimalTypesTheLocaleSeparatorWithExcelStyle) {
    UseSeparators(',', ' ');
    S->SetSpinType(sptFloat);
    S->SetExcelStyleDecimalSeparator(true);
    S->SetText("1");
    Focus();
    Caret(1);
    S->SimulateKey(VK_OEM_PERIOD, {}, QChar('.')); // the main keyboard's point stays a point
    EXPECT_EQ(S->Text(), "1");
    S->SimulateKey(VK_DECIMAL, {}, QChar('.'));
    EXPECT_EQ(S->Text(), "1,");
}

TEST_F(SpinEditTest, ReturnIsTabMovesTheFocusOn) {
    S->SetReturnIsTab(true);
    Focus();
    Key(VK_RETURN);
    QApplication::processEvents();
    EXPECT_TRUE(Host->Other->Focused());
}

TEST_F(SpinEditTest, FocusExitClampsWhatWasTyped) {
    Focus();
    S->SelectAll();
    Type(S, "500");
    EXPECT_EQ(S->Text(), "500"); // never clamped while typing
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(S->Text(), "100");
}

TEST_F(SpinEditTest, FocusEnterSelectsAll) {
    S->SetText("123");
    Focus();
    EXPECT_EQ(S->SelLength(), 3);
}

// ---- dates ----------------------------------------------------------------------------------
struct TDateCase {
    const char* Name;
    const char* Format;
    const char* Text;
    int Caret;
    bool Up;
    const char* Expected;
};

class SpinDateTest : public SpinEditTest, public ::testing::WithParamInterface<TDateCase> {};

TEST_P(SpinDateTest, StepsTheFieldUnderTheCaret) {
    const TDateCase& C = GetParam();
    FormatSettings.ShortDateFormat = C.Format;
    S->SetSpinType(sptDate);
    S->SetText(C.Text);
    Focus();
    Caret(C.Caret);
    Key(C.Up ? VK_UP : VK_DOWN);
    EXPECT_EQ(S->Text(), C.Expected);
    EXPECT_EQ(S->SelStart(), C.Caret); // the caret stays where it was
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SpinDateTest,
    ::testing::Values(TDateCase{"DayFirstDay", "dd/mm/yyyy", "31/01/2021", 1, true, "01/02/2021"},
                      TDateCase{"DayFirstMonthKeepsDayInMonth", "dd/mm/yyyy", "31/01/2021", 4, true, "28/02/2021"},
                      TDateCase{"DayFirstYear", "dd/mm/yyyy", "15/06/2021", 7, false, "15/06/2020"},
                      TDateCase{"CaretOnSecondSeparatorIsMonth", "dd/mm/yyyy", "15/06/2021", 5, true, "15/07/2021"},
                      TDateCase{"MonthFirstMonth", "mm/dd/yyyy", "01/31/2021", 0, true, "02/28/2021"},
                      TDateCase{"MonthFirstDay", "mm/dd/yyyy", "01/31/2021", 4, true, "02/01/2021"},
                      TDateCase{"YearFromLeapDayClampsTheDay", "dd/mm/yyyy", "29/02/2024", 8, true, "28/02/2025"},
                      TDateCase{"YearBackFromLeapDay", "dd/mm/yyyy", "29/02/2024", 8, false, "28/02/2023"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(SpinEditTest, DateReadsZeroAsTodayAndRubbishAsMinimum) {
    S->SetSpinType(sptDate);
    S->SetText("0");
    EXPECT_DOUBLE_EQ(std::floor(S->DateValue()), EncodeDate(2026, 1, 5));
    S->SetMinDateValue(EncodeDate(2020, 1, 1));
    S->SetMaxDateValue(EncodeDate(2030, 1, 1));
    S->SetText("no date");
    EXPECT_DOUBLE_EQ(S->DateValue(), EncodeDate(2020, 1, 1));
    S->SetDateValue(EncodeDate(2031, 5, 5));
    EXPECT_EQ(S->Text(), "01/01/2030");
}

// ---- times ----------------------------------------------------------------------------------
struct TTimeCase {
    const char* Name;
    bool Seconds;
    const char* Text;
    int Caret;
    int Hours, Minutes, SecondsInc;
    bool Up;
    const char* Expected;
};

class SpinTimeTest : public SpinEditTest, public ::testing::WithParamInterface<TTimeCase> {};

TEST_P(SpinTimeTest, StepsAndWrapsWithinTheDay) {
    const TTimeCase& C = GetParam();
    S->SetShowSeconds(C.Seconds);
    S->SetSpinType(sptTime);
    S->SetIncrementHours(C.Hours);
    S->SetIncrementMinutes(C.Minutes);
    S->SetIncrementSeconds(C.SecondsInc);
    S->SetText(C.Text);
    Focus();
    Caret(C.Caret);
    Key(C.Up ? VK_UP : VK_DOWN);
    EXPECT_EQ(S->Text(), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SpinTimeTest,
    ::testing::Values(TTimeCase{"HoursDownPastMidnight", false, "0:00", 0, 1, 1, 1, false, "23:00"},
                      TTimeCase{"HoursUpPastMidnight", false, "23:30", 1, 1, 1, 1, true, "0:30"},
                      TTimeCase{"MinutesWithoutSeconds", false, "10:59", 3, 1, 1, 1, true, "11:00"},
                      TTimeCase{"SecondsField", true, "10:20:59", 7, 1, 1, 1, true, "10:21:00"},
                      TTimeCase{"MinutesField", true, "10:20:30", 4, 1, 1, 1, false, "10:19:30"},
                      TTimeCase{"LargeHourIncrementWraps", true, "10:00:00", 0, 30, 1, 1, true, "16:00:00"},
                      TTimeCase{"LargeMinuteIncrementWrapsDown", true, "00:10:00", 4, 1, 1500, 1, false, "23:10:00"},
                      TTimeCase{"LargeSecondIncrementWraps", true, "23:59:00", 7, 1, 1, 86460, true, "00:00:00"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(SpinEditTest, TimeThatIsNotATimeReadsAsZero) {
    S->SetSpinType(sptTime);
    S->SetText("later");
    EXPECT_DOUBLE_EQ(S->TimeValue(), 0);
}

// ---- the button pair ------------------------------------------------------------------------
TEST_F(SpinEditTest, ClickingTheButtonsSteps) {
    S->SetText("10");
    TExtTimerSpeedButton* Up = S->Button()->UpButton();
    Click(Up, 3, 3);
    EXPECT_EQ(S->Text(), "11");
    Click(S->Button()->DownButton(), 3, 3);
    Click(S->Button()->DownButton(), 3, 3);
    EXPECT_EQ(S->Text(), "9");
    EXPECT_TRUE(S->Focused()); // the press moved the focus to the edit
}

TEST_F(SpinEditTest, HoldingAButtonRepeatsAfter400ThenEvery100) {
    S->SetText("10");
    TExtTimerSpeedButton* Up = S->Button()->UpButton();
    Press(Up, 3, 3);
    ASSERT_NE(Up->RepeatTimer(), nullptr);
    EXPECT_TRUE(Up->RepeatTimer()->Enabled());
    EXPECT_EQ(Up->RepeatTimer()->Interval(), 400u);
    EXPECT_EQ(S->Text(), "10"); // the press alone does not click
    Up->RepeatTimer()->Tick();
    EXPECT_EQ(Up->RepeatTimer()->Interval(), 100u);
    EXPECT_EQ(S->Text(), "11");
    Up->RepeatTimer()->Tick();
    EXPECT_EQ(S->Text(), "12");
    // Dragged off the button: it no longer shows as pressed and the repeat holds off.
    Up->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(-20, -20));
    Up->RepeatTimer()->Tick();
    EXPECT_EQ(S->Text(), "12");
    Up->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(3, 3));
    Up->RepeatTimer()->Tick();
    EXPECT_EQ(S->Text(), "13");
    Release(Up, 3, 3);
    EXPECT_FALSE(Up->RepeatTimer()->Enabled());
    EXPECT_EQ(S->Text(), "14"); // the release is a click of its own
}

TEST_F(SpinEditTest, ButtonPairKeysAndFocusedButton) {
    TEsgSpinButton* B = S->Button();
    int Ups = 0, Downs = 0;
    B->OnUpClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, B);
        ++Ups;
    };
    B->OnDownClick = [&](TObject*) { ++Downs; };
    B->SimulateKey(VK_DOWN);
    EXPECT_EQ(B->FocusedButton(), B->DownButton());
    B->SimulateKey(VK_SPACE);
    B->SimulateKey(VK_UP);
    EXPECT_EQ(Ups, 1);
    EXPECT_EQ(Downs, 2);
}

TEST_F(SpinEditTest, DirectionLaysOutTheButtonPair) {
    TEsgSpinButton* B = S->Button();
    EXPECT_EQ(B->UpButton()->Height(), B->Height() / 2);
    EXPECT_EQ(B->DownButton()->Top(), B->UpButton()->Height() - 1); // overlapping by one pixel
    S->SetDirection(spHorizontal);
    EXPECT_EQ(B->Width(), 20);
    EXPECT_EQ(B->UpButton()->ButtonDirection(), bdRight);
    EXPECT_EQ(B->DownButton()->ButtonDirection(), bdLeft);
    EXPECT_EQ(B->DownButton()->BoundsRect(), Rect(0, 0, 10, B->Height()));
    EXPECT_EQ(B->UpButton()->Left(), 11);
    EXPECT_EQ(B->Left(), S->Width() - 20 - 5);
    S->SetDirection(spVertical);
    EXPECT_EQ(B->Width(), 15);
    EXPECT_EQ(B->UpButton()->ButtonDirection(), bdUp);
}

TEST_F(SpinEditTest, HeightNeverBelowTheFontsMinimum) {
    S->SetHeight(5);
    EXPECT_EQ(S->Height(), S->MinHeight());
    EXPECT_GT(S->MinHeight(), 10);
}

TEST_F(SpinEditTest, DefaultGlyphsComeFromTheNamedBitmaps) {
    EXPECT_FALSE(S->Button()->UpButton()->Glyph()->Empty());
    EXPECT_FALSE(S->Button()->DownButton()->Glyph()->Empty());
}

} // namespace
