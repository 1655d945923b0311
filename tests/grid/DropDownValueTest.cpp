// The value side of the drop-down edit: the character filter of every edit type as one table,
// value text with prefix, suffix and precision in two locale settings, money grouping while
// typing, the change notification, and the clipboard rules.
#include "tests/grid/DropDownFixture.h"

#include <QClipboard>

namespace {
struct TFilterCase {
    const char* Name;
    TDropDownEditType Type;
    const char* State; // raw edit text; "|" marks the caret, "[" and "]" a selection
    QChar Key;
    const char* Expected; // raw edit text afterwards
    int Precision = 0;
    bool Signed = false;
    int LengthLimit = 0;
    const char* ValidChars = "";
};

// Decimal point ".", thousand separator ",".
const TFilterCase FilterCases[] = {
    {"StringTakesAnything", etString, "ab|", '#', "ab#"},
    {"PasswordTakesAnything", etPassword, "ab|", 'x', "abx"},
    {"NumericTakesDigit", etNumeric, "12|", '3', "123"},
    {"NumericDropsLetter", etNumeric, "12|", 'a', "12"},
    {"NumericDropsPoint", etNumeric, "12|", '.', "12"},
    {"NumericUnsignedDropsMinus", etNumeric, "12|", '-', "12"},
    {"NumericSignedMinusPrepends", etNumeric, "12|", '-', "-12", 0, true},
    {"NumericSignedMinusRemoves", etNumeric, "-12|", '-', "12", 0, true},
    {"NumericSignedMinusOverSelection", etNumeric, "[12]", '-', "-", 0, true},
    {"NumericLengthLimitRefusesDigit", etNumeric, "123|", '4', "123", 0, false, 3},
    {"FloatTakesFirstPoint", etFloat, "12|", '.', "12.", 2},
    {"FloatPrecisionZeroDropsPoint", etFloat, "12|", '.', "12"},
    {"FloatSecondPointDropped", etFloat, "12|.34", '.', "12.34", 2},
    {"FloatTakesDecimal", etFloat, "12.3|", '4', "12.34", 2},
    {"FloatFullDecimalsAtEndRefused", etFloat, "12.34|", '5', "12.34", 2},
    {"FloatDigitAmongFullDecimalsOverwrites", etFloat, "12.3|4", '5', "12.35", 2},
    {"FloatPointInEmptyValueGivesZero", etFloat, "|", '.', "0.", 2},
    {"FloatDropsLetter", etFloat, "12|", 'e', "12", 2},
    {"FloatLengthLimitRefusesIntegerDigit", etFloat, "123|", '4', "123", 2, false, 3},
    {"FloatLengthLimitTakesDecimal", etFloat, "123.|", '4', "123.4", 2, false, 3},
    {"FloatSignedMinus", etFloat, "5|", '-', "-5", 2, true},
    {"FloatUnsignedMinus", etFloat, "5|", '-', "5", 2},
    {"MoneyDropsLetter", etMoney, "12|", 'x', "12", 2},
    {"MoneySecondPointDropped", etMoney, "1.5|", '.', "1.5", 2},
    {"MoneyDigitInsideRegroups", etMoney, "1,2|34", '5', "12,534", 2},
    {"MoneySignedMinusKeepsGrouping", etMoney, "1,234|", '-', "-1,234", 2, true},
    {"MoneyDecimalKeptWhileTyping", etMoney, "1,234.|", '5', "1,234.5", 2},
    {"MoneyLengthLimitRefusesIntegerDigit", etMoney, "1,234|", '5', "1,234", 2, false, 4},
    {"FloatFirstOfFullDecimalsOverwritten", etFloat, "12.|34", '5', "12.54", 2},
    {"FloatSignedLengthLimitIgnoresSign", etFloat, "-123|", '4', "-123", 2, true, 3},
    {"NumericSignedMinusInsideValue", etNumeric, "1|2", '-', "-12", 0, true},
    {"UppercaseRaises", etUppercase, "a|", 'b', "aB"},
    {"LowercaseLowers", etLowerCase, "a|", 'B', "ab"},
    {"MixedCaseCapitalisesWords", etMixedCase, "john|", ' ', "John "},
    {"RangeTakesComma", etRange, "1|", ',', "1,"},
    {"RangeTakesSemicolon", etRange, "1|", ';', "1;"},
    {"RangeRefusesSeparatorAfterSeparator", etRange, "1,|", '-', "1,"},
    {"RangeRefusesSeparatorBeforeSeparator", etRange, "1|,2", '-', "1,2"},
    {"RangeRefusesSeparatorAtStart", etRange, "|1", ',', "1"},
    {"RangeRefusesLetter", etRange, "1|", 'a', "1"},
    {"HexTakesUpperLetter", etHex, "1|", 'F', "1F"},
    {"HexTakesLowerLetter", etHex, "1|", 'a', "1a"},
    {"HexRefusesG", etHex, "1|", 'g', "1"},
    {"AlphaNumericTakesLetter", etAlphaNumeric, "a|", 'Z', "aZ"},
    {"AlphaNumericRefusesUnderscore", etAlphaNumeric, "a|", '_', "a"},
    {"ValidCharsTakesListed", etValidChars, "x|", 'y', "xy", 0, false, 0, "xy"},
    {"ValidCharsRefusesOthers", etValidChars, "x|", 'z', "x", 0, false, 0, "xy"},
};

class DropDownFilterTest : public DropDownTest, public ::testing::WithParamInterface<TFilterCase> {};

void PlaceState(TExtCustomDropDown* D, const QString& State) {
    QString Text = State;
    int Caret = int(Text.indexOf('|'));
    int SelFrom = int(Text.indexOf('['));
    Text.remove('|');
    if (SelFrom >= 0) {
        int SelTo = int(Text.indexOf(']')) - 1;
        Text.remove('[').remove(']');
        D->SetTextUnformatted(Text);
        D->Perform(EM_SETSEL, WPARAM(SelFrom), LPARAM(SelTo));
    } else {
        D->SetTextUnformatted(Text);
        D->SetSelStart(Caret);
    }
}
} // namespace

TEST_P(DropDownFilterTest, CharacterIsAcceptedOrDropped) {
    const TFilterCase& C = GetParam();
    D->SetEditType(C.Type);
    D->SetPrecision(C.Precision);
    D->SetSigned(C.Signed);
    D->SetLengthLimit(C.LengthLimit);
    D->SetValidChars(C.ValidChars);
    Focus();
    PlaceState(D, C.State);
    Type(QString(C.Key));
    EXPECT_EQ(Raw(), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(EveryEditType, DropDownFilterTest, ::testing::ValuesIn(FilterCases),
                         [](const ::testing::TestParamInfo<TFilterCase>& I) { return std::string(I.param.Name); });

TEST_F(DropDownTest, FloatAndMoneyFollowTheCommaLocale) {
    UseSeparators(',', '.');
    D->SetEditType(etFloat);
    D->SetPrecision(2);
    Focus();
    PlaceState(D, "12|");
    Type(",");
    EXPECT_EQ(Raw(), "12,");
    D->SetText("3");
    EXPECT_EQ(Raw(), "3,00");
    EXPECT_DOUBLE_EQ(D->FloatValue(), 3.0);
    D->SetEditType(etMoney);
    D->SetTextUnformatted("");
    D->SetSelStart(0);
    Type("1234");
    EXPECT_EQ(Raw(), "1.234");
    EXPECT_EQ(D->SelStart(), 5);
    D->SetText("1234,5");
    EXPECT_EQ(Raw(), "1.234,50");
    EXPECT_DOUBLE_EQ(D->FloatValue(), 1234.5);
}

TEST_F(DropDownTest, MoneyKeepsIntegerPartGroupedWhileTyping) {
    D->SetEditType(etMoney);
    D->SetPrecision(2);
    Focus();
    D->SetTextUnformatted("");
    D->SetSelStart(0);
    Type("1234");
    EXPECT_EQ(Raw(), "1,234");
    EXPECT_EQ(D->SelStart(), 5);
    Type("567");
    EXPECT_EQ(Raw(), "1,234,567");
    D->SetAutoThousandSeparator(false);
    Type("8");
    EXPECT_EQ(Raw(), "12345678");
}

TEST_F(DropDownTest, ValueTextInBothLocales) {
    struct TCase {
        char Dec, Th;
        TDropDownEditType Type;
        int Precision;
        const char* In;
        const char* Shown;
        double Value;
    } Cases[] = {
        {'.', ',', etFloat, 2, "3", "3.00", 3},
        {',', '.', etFloat, 2, "3", "3,00", 3},
        {'.', ',', etFloat, 2, "Error", "Error", 0},
        {'.', ',', etMoney, 2, "1234.5", "1,234.50", 1234.5},
        {',', '.', etMoney, 2, "1234,5", "1.234,50", 1234.5},
        {'.', ',', etNumeric, 0, "", "0", 0},
        {'.', ',', etHex, 0, "ff", "FF", 255},
        {'.', ',', etHex, 0, "", "0", 0},
        {'.', ',', etFloat, 0, "x", "x", 0},
        {'.', ',', etString, 0, "2.5", "2.5", 2.5},
        {',', '.', etString, 0, "2.5", "2.5", 2.5},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(QString("%1 in %2").arg(C.In).arg(QChar(C.Dec)).toStdString());
        UseSeparators(C.Dec, C.Th);
        D->SetEditType(C.Type);
        D->SetPrecision(C.Precision);
        D->SetText(C.In);
        EXPECT_EQ(D->Text(), C.Shown);
        EXPECT_DOUBLE_EQ(D->FloatValue(), C.Value);
        D->SetPrecision(0);
        D->SetEditType(etString);
    }
}

TEST_F(DropDownTest, PrefixAndSuffixStayAroundTheValue) {
    D->SetPrefix("$ ");
    D->SetSuffix(" kg");
    D->SetText("");
    EXPECT_EQ(Raw(), "$  kg");
    EXPECT_EQ(D->Text(), "");
    D->SetEditType(etFloat);
    D->SetPrecision(1);
    D->SetFloatValue(2.26);
    EXPECT_EQ(Raw(), "$ 2.3 kg");
    EXPECT_EQ(D->Text(), "2.3");
    Focus();
    // End and Home keep to the value.
    Key(VK_END);
    EXPECT_EQ(D->SelStart(), 5);
    Key(VK_HOME);
    EXPECT_EQ(D->SelStart(), 2);
    Key(VK_LEFT);
    EXPECT_EQ(D->SelStart(), 2);
    Key(VK_BACK);
    EXPECT_EQ(Raw(), "$ 2.3 kg");
    D->SelectAll();
    EXPECT_EQ(D->SelStart(), 2);
    EXPECT_EQ(D->SelLength(), 3);
    D->SelectAfterDecimal();
    EXPECT_EQ(D->SelStart(), 4);
    D->SelectBeforeDecimal();
    EXPECT_EQ(D->SelStart(), 3);
}

TEST_F(DropDownTest, FloatValueFormatsInTwoLocales) {
    for (char Dec : {'.', ','}) {
        UseSeparators(Dec, Dec == '.' ? ',' : '.');
        D->SetEditType(etFloat);
        D->SetPrecision(-1);
        D->SetFloatValue(1.0 / 3);
        EXPECT_EQ(D->Text(), QString("0") + QChar(Dec) + QString(15, '3')); // 15 significant digits
        D->SetPrecision(0);
        D->SetEditType(etNumeric);
        D->SetFloatValue(1234567);
        EXPECT_EQ(D->Text(), Dec == '.' ? "1,234,567" : "1.234.567");
        D->SetEditType(etString);
    }
}

TEST_F(DropDownTest, TypingOverWholeValueAnnouncesTheChangeOnce) {
    int Changes = 0;
    D->OnChange = [&](TObject*) { ++Changes; };
    for (TDropDownEditType T : {etString, etNumeric, etUppercase}) {
        SCOPED_TRACE(int(T));
        D->SetEditType(T);
        D->SetText("42");
        Focus();
        D->SelectAll();
        Changes = 0;
        Type("7");
        EXPECT_EQ(D->Text(), T == etUppercase ? "7" : "7");
        EXPECT_EQ(Changes, 1);
        // The notification held back for the character does not swallow a later change.
        Type("8");
        EXPECT_EQ(Changes, 2);
        D->SelectAll();
        Changes = 0;
        Key(VK_BACK);
        EXPECT_EQ(D->Text(), "");
        EXPECT_EQ(Changes, 1);
    }
}

TEST_F(DropDownTest, ClipboardRulesByEditType) {
    QClipboard* Clip = QGuiApplication::clipboard();
    struct TCase {
        TDropDownEditType Type;
        bool Signed;
        int Precision;
        const char* Pasted;
        const char* Expected;
    } Cases[] = {
        {etString, false, 0, "abc", "abc"},
        {etNumeric, false, 0, "15", "15"},
        {etNumeric, false, 0, "1.5", "0"},
        {etNumeric, false, 0, "-2", "0"},
        {etNumeric, true, 0, "-2", "-2"},
        {etFloat, false, 2, "-2", "0.00"},
        {etFloat, true, 2, "-2", "-2.00"},
        {etFloat, false, 2, "1.5", "1.50"},
        {etFloat, false, 0, "1.5", "0"},
        {etHex, false, 0, "FF", "0"},
        {etRange, false, 0, "1-2", ""},
        {etUppercase, false, 0, "ab", "AB"},
        {etMixedCase, false, 0, "ab cd", "Ab Cd"},
        {etAlphaNumeric, false, 0, "a_b", ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Pasted);
        D->SetEditType(etString);
        D->SetPrecision(0);
        D->SetText("");
        D->SetEditType(C.Type);
        D->SetSigned(C.Signed);
        D->SetPrecision(C.Precision);
        D->SetText("");
        if (C.Type == etRange || C.Type == etAlphaNumeric) D->SetTextUnformatted("");
        Focus();
        D->SelectAll();
        Clip->setText(C.Pasted);
        D->Perform(WM_PASTE);
        EXPECT_EQ(D->Text(), C.Expected);
    }
}

TEST_F(DropDownTest, ClipboardEventsAndTheirOrder) {
    QClipboard* Clip = QGuiApplication::clipboard();
    std::vector<QString> Log;
    D->OnClipboardCopy = [&](TObject*, const QString& V, bool&) { Log.push_back("copy " + V); };
    D->OnClipboardCut = [&](TObject*, const QString& V, bool&) { Log.push_back("cut " + V); };
    D->OnClipboardPaste = [&](TObject*, const QString& V, bool& Allow) {
        Log.push_back("paste " + V);
        Allow = V != "nope";
    };
    D->SetPrefix("<");
    D->SetText("hello");
    Focus();
    D->Perform(EM_SETSEL, 1, 3);
    // Ctrl+C and Ctrl+X take the clipboard paths.
    Key('C', {ssCtrl});
    EXPECT_EQ(Clip->text(), "he");
    Key('X', {ssCtrl});
    EXPECT_EQ(D->Text(), "llo");
    ASSERT_EQ(Log.size(), 2u);
    EXPECT_EQ(Log[0], "copy he");
    EXPECT_EQ(Log[1], "cut he"); // the copy inside the cut fires nothing
    D->SetSelStart(4);
    Clip->setText("!");
    Key('V', {ssCtrl});
    EXPECT_EQ(D->Text(), "llo!");
    EXPECT_EQ(Log.back(), "paste llo!");
    D->SetText("");
    Clip->setText("nope");
    D->Perform(WM_PASTE);
    EXPECT_EQ(D->Text(), "");
}

TEST_F(DropDownTest, FocusLossCompletesNumbers) {
    D->SetEditType(etFloat);
    D->SetPrecision(2);
    Focus();
    D->SetTextUnformatted("1.5");
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(D->Text(), "1.50");
    D->SetTextUnformatted("");
    D->SetFocus();
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(D->Text(), "0.00");
    D->SetEditType(etNumeric);
    D->SetTextUnformatted("");
    D->SetFocus();
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(D->Text(), "0");
    D->SetAllowNumericNullValue(true);
    D->SetTextUnformatted("");
    D->SetFocus();
    Host->Other->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(D->Text(), "");
}

TEST(DropDownTextRoutines, ClassifyAndConvert) {
    TFormatSettings Saved = FormatSettings;
    FormatSettings.DecimalSeparator = '.';
    FormatSettings.ThousandSeparator = ',';
    struct TCase {
        const char* Text;
        int Class;
    } Cases[] = {{"", 2},      {"12", 0},   {"-12", 0},   {"1.5", 1}, {"1,234.5", 1}, {",123", 2},
                 {"1,2,3", 2}, {"1--2", 2}, {"1.2.3", 2}, {"FF", 5},  {"-1a", 5},     {"xyz", 2}};
    for (const TCase& C : Cases) EXPECT_EQ(ClassifyValueText(C.Text), C.Class) << C.Text;
    EXPECT_EQ(HexToInt("1F"), 31);
    EXPECT_EQ(HexToInt("1G"), 16); // a character that is no hex digit counts as 0
    EXPECT_EQ(HexDigitValue('b'), 11);
    EXPECT_DOUBLE_EQ(TextToFloat("1,234.5"), 1234.5);
    EXPECT_DOUBLE_EQ(TextToFloat("abc"), 0);
    EXPECT_EQ(RemoveThousandSeparators("1,234,567"), "1234567");
    EXPECT_TRUE(IsRangeSeparator(';'));
    EXPECT_FALSE(IsRangeSeparator('.'));
    EXPECT_EQ(ApplyCase("aBc", false), "ABC");
    EXPECT_EQ(ApplyCase("aBc", true), "aBc");
    FormatSettings.DecimalSeparator = ',';
    FormatSettings.ThousandSeparator = '.';
    EXPECT_DOUBLE_EQ(TextToFloat("1.234,5"), 1234.5);
    EXPECT_EQ(ClassifyValueText("1.234,5"), 1);
    FormatSettings = Saved;
}
