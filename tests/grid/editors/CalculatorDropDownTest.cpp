// The calculator drop-down driven headless: its key pad clicked key by key, its popup keys, the
// keys of the closed edit, memory, errors, length limit and the open/commit/cancel round.
#include "grid/editors/ExtCalculatorDropdown.h"
#include "tests/grid/editors/EditorsFixture.h"

#include <QStringList>

#include <string>
#include <vector>

namespace {

class CalculatorFixture : public EditorsTest {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        C = Create<TExtCalculatorDropdown>(Host.get(), Host.get());
        C->SetBounds(10, 10, 140, 24);
        ShowHost();
        C->SetFocus();
        QApplication::processEvents();
    }
    void Open() {
        C->ShowDropDown();
        QApplication::processEvents();
        ASSERT_TRUE(C->DroppedDown());
    }
    // Clicks the pad's keys named by their captions, separated by blanks ("ON" for the
    // captionless key).
    void Pad(const QString& Keys) {
        TCustomButtonPanel* P = C->ButtonPanel();
        ASSERT_NE(P, nullptr);
        for (const QString& K : Keys.split(u' ', Qt::SkipEmptyParts)) {
            int Index = -1;
            for (int I = 0; I < P->Buttons()->Count() && Index < 0; ++I) {
                TButtonItem* B = P->Buttons()->Items(I);
                if (B->Caption() == K || (K == QLatin1String("ON") && B->FName == QLatin1String("BTN_ON"))) Index = I;
            }
            ASSERT_GE(Index, 0) << K.toStdString();
            const TRect R = P->Buttons()->Items(Index)->Rect();
            Click(P, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        }
    }
    void PopupType(const QString& Text) {
        for (QChar Ch : Text) C->DropDownForm()->SimulateKey(Ch == u'\r' ? VK_RETURN : Word(0), {}, Ch);
    }
    TExtCalculatorDropdown* C = nullptr;
};

// ---- the pad, key by key --------------------------------------------------------------------
struct PadCase {
    const char* Name;
    int Precision;
    const char* Keys;
    const char* Text;
    double Value;
};
void PrintTo(const PadCase& P, std::ostream* Os) { *Os << P.Name; }

class CalculatorPad : public CalculatorFixture, public ::testing::WithParamInterface<PadCase> {};

TEST_P(CalculatorPad, ShowsTheExpectedDisplay) {
    const PadCase& P = GetParam();
    C->SetPrecision(P.Precision);
    Open();
    Pad(QString::fromLatin1(P.Keys));
    EXPECT_EQ(C->Text(), QString::fromLatin1(P.Text));
    EXPECT_DOUBLE_EQ(C->Value(), P.Value);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, CalculatorPad,
    ::testing::Values(
        PadCase{"add_then_equals", 2, "2 + 3 =", "5.00", 5},
        PadCase{"operator_continues_from_result", 2, "2 + 3 = * 2 =", "10.00", 10},
        PadCase{"no_precedence", 2, "2 + 3 * 4 =", "20.00", 20},
        PadCase{"multi_digit_numbers", 2, "1 2 - 2 0 =", "-8.00", -8},
        PadCase{"divide_by_zero_is_error", 2, "7 / 0 =", "Error", 0},
        PadCase{"digit_after_error_starts_anew", 2, "7 / 0 = 4", "4.00", 4},
        PadCase{"percent_of_running_value", 2, "1 0 0 + 1 0 %", "10.00", 10},
        PadCase{"percent_then_equals", 2, "1 0 0 + 1 0 % =", "110.00", 110},
        PadCase{"third_decimal_is_kept", 2, "1 . 2 3 4", "1.234", 1.234},
        PadCase{"kept_decimals_take_part_in_the_result", 2, "1 . 2 3 4 * 1 0 0 0 =", "1234.00", 1234},
        PadCase{"back_then_digit_continues_the_decimals", 2, "1 . 2 3 4 Back 5", "1.235", 1.235},
        PadCase{"sign_change_keeps_the_kept_decimals", 2, "1 . 2 3 4 +/- 5", "-1.2345", -1.2345},
        PadCase{"decimal_entry_with_precision_zero", 0, "5 . 2 5 * 4 =", "21", 21},
        PadCase{"decimal_point_on_new_number", 2, ". 5", "0.50", 0.5},
        PadCase{"sign_change_then_digit_extends_magnitude", 2, "5 +/- 3", "-53.00", -53},
        PadCase{"sign_change_then_decimal_digit", 2, "1 . 5 +/- 2", "-1.52", -1.52},
        PadCase{"sign_change_twice", 2, "5 +/- +/-", "5.00", 5}, PadCase{"square_root", 2, "4 sqrt", "2.00", 2},
        PadCase{"square_root_of_negative_is_error", 2, "4 +/- sqrt", "Error", 0},
        PadCase{"reciprocal", 2, "4 1/x", "0.25", 0.25}, PadCase{"reciprocal_of_zero_is_error", 2, "0 1/x", "Error", 0},
        PadCase{"clear_drops_the_pending_operation", 2, "2 + 3 C 4 =", "4.00", 4},
        PadCase{"clear_entry_key_clears_too", 2, "9 * 9 CE =", "0.00", 0},
        PadCase{"captionless_key_clears", 2, "9 + ON 1 =", "1.00", 1},
        PadCase{"back_removes_last_digit", 2, "1 2 3 Back", "12.00", 12},
        PadCase{"back_ignored_while_operator_pending", 2, "1 2 + Back", "12.00", 12},
        PadCase{"memory_store_and_recall", 2, "7 MS C MR", "7.00", 7},
        PadCase{"memory_add", 2, "7 MS C 3 M+ C MR", "10.00", 10}, PadCase{"memory_clear", 2, "7 MS MC MR", "0.00", 0},
        PadCase{"precision_zero", 0, "7 / 2 =", "4", 4}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(CalculatorFixture, KeyPadHasItsKeysInTheirPlaces) {
    Open();
    TCustomButtonPanel* P = C->ButtonPanel();
    ASSERT_EQ(P->Buttons()->Count(), 28);
    auto R = [P](int I) { return P->Buttons()->Items(I)->Rect(); };
    // 7 8 9 in one row, left to right; 7 4 1 0 down one column.
    EXPECT_EQ(R(11).Top, R(12).Top);
    EXPECT_LT(R(11).Left, R(12).Left);
    EXPECT_LT(R(12).Left, R(19).Left);
    EXPECT_EQ(R(11).Left, R(10).Left);
    EXPECT_LT(R(11).Top, R(10).Top);
    EXPECT_LT(R(9).Top, R(8).Top);
    // "C" reaches the right edge of the last column.
    EXPECT_EQ(R(3).Right, R(24).Right);
    EXPECT_EQ(P->Buttons()->Items(23)->Caption(), QStringLiteral("+"));
    EXPECT_TRUE(P->Buttons()->Items(23)->FSpecial);
    EXPECT_FALSE(P->Buttons()->Items(9)->FSpecial);
}

// ---- "C" from every path -------------------------------------------------------------------
enum class ClearPath { Pad, PopupKey, ClosedEditKey };
struct ClearCase {
    const char* Name;
    ClearPath Path;
};
void PrintTo(const ClearCase& P, std::ostream* Os) { *Os << P.Name; }

class CalculatorClear : public CalculatorFixture, public ::testing::WithParamInterface<ClearCase> {};

TEST_P(CalculatorClear, LeavesTheSameFreshState) {
    const ClearCase& P = GetParam();
    Open();
    Pad("8 + 2 =");
    Pad("*");
    ASSERT_EQ(C->PendingOperator(), 1);
    switch (P.Path) {
        case ClearPath::Pad: Pad("C"); break;
        case ClearPath::PopupKey: PopupType("c"); break;
        case ClearPath::ClosedEditKey:
            C->HideDropDown(false);
            QApplication::processEvents();
            Type(C, "C");
            break;
    }
    EXPECT_EQ(C->Text(), QStringLiteral("0.00"));
    EXPECT_EQ(C->RunningValue(), 0);
    EXPECT_EQ(C->PendingOperator(), -1);
    // The next typed digit replaces the display, whatever path the clear took.
    if (C->DroppedDown())
        PopupType("4");
    else
        Type(C, "4");
    EXPECT_EQ(C->Text(), QStringLiteral("4.00"));
}

INSTANTIATE_TEST_SUITE_P(Paths, CalculatorClear,
                         ::testing::Values(ClearCase{"pad_key", ClearPath::Pad},
                                           ClearCase{"typed_in_popup", ClearPath::PopupKey},
                                           ClearCase{"typed_in_closed_edit", ClearPath::ClosedEditKey}),
                         [](const auto& I) { return std::string(I.param.Name); });

// ---- typing ---------------------------------------------------------------------------------
struct TypedCase {
    const char* Name;
    int Precision;
    const char* Keys; // typed in the closed edit; "\r" is Enter
    const char* Text;
};
void PrintTo(const TypedCase& P, std::ostream* Os) { *Os << P.Name; }

class CalculatorTyping : public CalculatorFixture, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(CalculatorTyping, InTheClosedEdit) {
    const TypedCase& P = GetParam();
    C->SetPrecision(P.Precision);
    C->SetText("0");
    for (QChar Ch : QString::fromLatin1(P.Keys)) {
        if (Ch == u'\r')
            C->SimulateKey(VK_RETURN, {}, QChar(13));
        else
            Type(C, QString(Ch));
    }
    EXPECT_EQ(C->Text(), QString::fromLatin1(P.Text));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CalculatorTyping,
    ::testing::Values(TypedCase{"precision_zero_add", 0, "5+3\r", "8"}, TypedCase{"equals_sign", 0, "9-4=", "5"},
                      TypedCase{"multi_digit_entry", 0, "12*3\r", "36"},
                      TypedCase{"precision_two_new_number", 2, "6/4\r", "1.50"},
                      TypedCase{"letters_are_dropped", 0, "7x\r", "7"}, TypedCase{"percent", 0, "200+5%", "10"},
                      TypedCase{"typed_decimals", 2, "1.25*4\r", "5.00"},
                      TypedCase{"decimals_beyond_precision_are_kept", 2, "1.234*1000\r", "1234.00"},
                      TypedCase{"decimal_point_after_operator", 2, "3+.5\r", "3.50"}),
    [](const auto& I) { return std::string(I.param.Name); });

// ---- keys typed while the popup is open ---------------------------------------------------
struct PopupCase {
    const char* Name;
    int Precision;
    const char* Keys; // typed in the popup; "<" is Backspace
    const char* Text;
};
void PrintTo(const PopupCase& P, std::ostream* Os) { *Os << P.Name; }

class CalculatorPopupKeys : public CalculatorFixture, public ::testing::WithParamInterface<PopupCase> {};

TEST_P(CalculatorPopupKeys, ShowTheExpectedDisplay) {
    const PopupCase& P = GetParam();
    C->SetPrecision(P.Precision);
    C->SetText("0");
    Open();
    for (QChar Ch : QString::fromLatin1(P.Keys)) {
        if (Ch == u'<')
            C->DropDownForm()->SimulateKey(VK_BACK);
        else
            PopupType(QString(Ch));
    }
    EXPECT_EQ(C->Text().toStdString(), P.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CalculatorPopupKeys,
    ::testing::Values(PopupCase{"minus_subtracts", 0, "9-4=", "5"},
                      PopupCase{"minus_subtracts_with_decimals", 2, "9-4=", "5.00"},
                      PopupCase{"plus_adds", 2, "9+4=", "13.00"}, PopupCase{"typed_decimals", 2, "1.25*4=", "5.00"},
                      PopupCase{"typed_decimals_beyond_precision_are_kept", 2, "1.234*1000=", "1234.00"},
                      PopupCase{"backspace_removes_the_last_digit", 2, "123<", "12.00"},
                      PopupCase{"backspace_on_one_digit_gives_zero", 2, "7<", "0.00"},
                      PopupCase{"backspace_precision_zero", 0, "123<", "12"},
                      PopupCase{"backspace_takes_a_kept_decimal", 2, "1.234<", "1.23"},
                      PopupCase{"backspace_after_error_gives_zero", 2, "7/0=<", "0.00"},
                      PopupCase{"decimal_point_starts_a_new_number", 2, "9*.5=", "4.50"},
                      PopupCase{"second_decimal_point_is_ignored", 2, "1.2.5", "1.25"}),
    [](const auto& I) { return std::string(I.param.Name); });

TEST_F(CalculatorFixture, PopupKeysCalculateAndEnterCommits) {
    C->SetPrecision(0);
    C->SetText("0");
    std::vector<std::string> Log;
    C->OnDropUp = [&](TObject*, bool Cancelled) { Log.push_back(Cancelled ? "up cancelled" : "up"); };
    Open();
    PopupType("6*7");
    PopupType("\r");
    QApplication::processEvents();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), QStringLiteral("42"));
    EXPECT_EQ(Log, (std::vector<std::string>{"up"}));
}

TEST_F(CalculatorFixture, EscapeCancelsAndPutsTheOldTextBack) {
    C->SetValue(12);
    ASSERT_EQ(C->Text(), QStringLiteral("12.00"));
    std::vector<std::string> Log;
    C->OnDropUp = [&](TObject*, bool Cancelled) { Log.push_back(Cancelled ? "up cancelled" : "up"); };
    Open();
    Pad("9 9");
    EXPECT_EQ(C->Text(), QStringLiteral("99.00"));
    C->DropDownForm()->SimulateKey(VK_ESCAPE, {}, QChar(27));
    QApplication::processEvents();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), QStringLiteral("12.00"));
    EXPECT_EQ(Log, (std::vector<std::string>{"up cancelled"}));
}

TEST_F(CalculatorFixture, ReopeningKeepsRunningValueAndStartsANewNumber) {
    Open();
    Pad("5 +");
    C->HideDropDown(false);
    Open();
    Pad("2 =");
    EXPECT_EQ(C->Text(), QStringLiteral("7.00"));
}

TEST_F(CalculatorFixture, MaxLengthRefusesEntryKeysWithoutMarkingModified) {
    C->SetMaxLength(7);
    Open();
    C->SetText("1234");
    ASSERT_EQ(C->Text(), QStringLiteral("1234.00"));
    C->SetModified(false);
    Pad("5 . +/-");
    EXPECT_EQ(C->Text(), QStringLiteral("1234.00"));
    EXPECT_FALSE(C->GetModified());
    Pad("+");
    EXPECT_TRUE(C->GetModified());
}

TEST_F(CalculatorFixture, ThousandSeparatorsDoNotDisturbTheArithmetic) {
    C->SetShowThousandSeparator(true);
    Open();
    C->SetText("1234");
    ASSERT_EQ(C->Text(), QStringLiteral("1,234.00"));
    Pad("MS + 1 =");
    EXPECT_EQ(C->Text(), QStringLiteral("1,235.00"));
    EXPECT_DOUBLE_EQ(C->Memory(), 1234);
    EXPECT_DOUBLE_EQ(C->Value(), 1235);
}

TEST_F(CalculatorFixture, ValueOfEmptyOrUnreadableTextIsZero) {
    C->SetText("");
    EXPECT_EQ(C->Value(), 0);
    EXPECT_FALSE(C->Text().isEmpty());
    C->SetValue(2.5);
    EXPECT_EQ(C->Text(), QStringLiteral("2.50"));
    EXPECT_DOUBLE_EQ(C->Value(), 2.5);
}

TEST_F(CalculatorFixture, OverflowGivesZero) {
    Open();
    C->SetValue(1e300);
    Pad("* =");
    // 1e300 * 1e300 does not fit a double: the running value starts over at 0.
    EXPECT_EQ(C->RunningValue(), 0);
    EXPECT_EQ(C->Text(), QStringLiteral("0.00"));
}

} // namespace
