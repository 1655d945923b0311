// Text, number and date routines of the grid library.
#include "grid/base/ExtUtil.h"
#include "tests/grid/GridFormatFixture.h"

#include <gtest/gtest.h>

namespace {

const QString CRLF = QStringLiteral("\r\n");

TEST(ExtUtilIntegers, ClampToLimits) {
    struct Case {
        int Value, Min, Max, Expected;
    };
    const Case Cases[] = {
        {50, 10, 40, 40}, {5, 10, 40, 10},   {5, 0, 40, 5},
        {50, 40, 40, 50}, {25, 30, 20, 20}, // crossed limits: the upper one wins
        {5, 30, 20, 30}, // below both: raised to the minimum
        {-5, 0, 0, -5},   {100, 10, 0, 100},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(ClampToLimits(C.Value, C.Min, C.Max), C.Expected) << C.Value << " within " << C.Min << ".." << C.Max;
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);
}

TEST(ExtUtilIntegers, CellInGridRectIsInclusive) {
    const struct { int Left, Top, Right, Bottom; } R{1, 2, 3, 4};
    EXPECT_TRUE(CellInGridRect(R, 1, 2));
    EXPECT_TRUE(CellInGridRect(R, 3, 4));
    EXPECT_FALSE(CellInGridRect(R, 0, 2));
    EXPECT_FALSE(CellInGridRect(R, 3, 5));
}

TEST(ExtUtilSearch, Positions) {
    EXPECT_EQ(UpperPos(QStringLiteral("ABC"), QStringLiteral("xxabc")), 3);
    EXPECT_EQ(UpperPos(QStringLiteral("abc"), QStringLiteral("xxabc")), 0); // needle kept as is
    // One-to-one upper-casing: the position after a sharp s is not shifted.
    EXPECT_EQ(UpperPos(QStringLiteral("X"),
                       QString::fromUtf8("\xC3\x9F"
                                         "x")),
              2);
    int P = -7;
    EXPECT_EQ(PosVar(QStringLiteral("c"), QStringLiteral("abc"), P), 3);
    EXPECT_EQ(P, 3);
    EXPECT_EQ(PosVar(QStringLiteral("z"), QStringLiteral("abc"), P), 0);
    EXPECT_EQ(P, 0);
    EXPECT_EQ(PosVar(QString(), QStringLiteral("abc"), P), 0);
    P = -7;
    EXPECT_EQ(CharPosVar(QChar('z'), QStringLiteral("abc"), P), 0);
    EXPECT_EQ(P, -7); // written only when found
    EXPECT_EQ(CharPosVar(QChar('b'), QStringLiteral("abc"), P), 2);
    EXPECT_EQ(P, 2);
    EXPECT_EQ(WidePos(QString::fromUtf8("\xE2\x82\xAC"), QString::fromUtf8("a\xE2\x82\xAC")), 2);
    EXPECT_EQ(ConcatLines(QStringList{QStringLiteral("a"), QString(), QStringLiteral("bc")}), QStringLiteral("abc"));
    TStringList Lines;
    Lines.SetText(QStringLiteral("x\r\ny\r\n"));
    EXPECT_EQ(ConcatLines(Lines), QStringLiteral("xy"));
}

TEST(ExtUtilSearch, CutField) {
    struct Case {
        const char* Text;
        const char* Delimiter;
        const char* Field;
        const char* Rest;
    };
    const Case Cases[] = {
        {"a,b,c", ",", "a", "b,c"}, {",b", ",", "", "b"}, {"abc", ",", "", "abc"}, // absent: nothing cut
        {"a::b", "::", "a", ":b"}, // only the delimiter's first character goes
        {"", ",", "", ""},
    };
    for (const Case& C : Cases) {
        QString Text = QString::fromUtf8(C.Text);
        EXPECT_EQ(CutField(Text, QString::fromUtf8(C.Delimiter)), QString::fromUtf8(C.Field)) << C.Text;
        EXPECT_EQ(Text, QString::fromUtf8(C.Rest)) << C.Text;
    }
}

TEST(ExtUtilSearch, UnpairedCharacters) {
    struct Case {
        const char* Text;
        int Found;
        int Count;
    };
    const Case Cases[] = {
        {"abc\"def", 4, 1}, {"ab\"\"cd", 0, 0}, // a doubled quote is no quote
        {"ab\"\"", 4, 1}, // ending with the character: the last position
        {"a\"\"\"b", 4, 1}, // odd run: its last character
        {"a\"b\"c", 2, 2},  {"\"\"", 2, 1},     {"", 0, 0}, {"abc", 0, 0},
    };
    for (const Case& C : Cases) {
        const QString Text = QString::fromUtf8(C.Text);
        int Pos = -1;
        EXPECT_EQ(FindUnpairedChar(QChar('"'), Text, Pos), C.Found) << C.Text;
        EXPECT_EQ(Pos, C.Found) << C.Text;
        EXPECT_EQ(CountUnpairedChar(QChar('"'), Text), C.Count) << C.Text;
    }
    EXPECT_EQ(CountUnpairedChar(QChar(','), QStringLiteral("a,b,,c")), 1);
    EXPECT_EQ(CountChar(QChar(','), QStringLiteral("a,b,,c")), 3);
}

TEST(ExtUtilLines, LineCountAndFirstLine) {
    EXPECT_EQ(LineCount(QStringLiteral("a\rb\rc"), true), 3);
    EXPECT_EQ(LineCount(QStringLiteral("a\rb\rc"), false), 1);
    EXPECT_EQ(LineCount(QString(), true), 1);

    struct Case {
        const char* Text;
        bool KeepRest;
        const char* Line;
        const char* Rest;
    };
    const Case Cases[] = {
        {"one\r\ntwo", true, "one", "two"},
        {"one\r\ntwo", false, "one", ""},
        {"one\rtwo\r\nthree", true, "one", "two\r\nthree"},
        {"one\r\r\ntwo", true, "one", "\r\ntwo"}, // only an LF right after the CR goes
        {"single", true, "single", ""},
        {"", true, "", ""},
    };
    for (const Case& C : Cases) {
        QString Text = QString::fromUtf8(C.Text);
        QString Line = QStringLiteral("stale");
        ExtractFirstLine(Text, C.KeepRest, Line);
        EXPECT_EQ(Line, QString::fromUtf8(C.Line)) << C.Text;
        EXPECT_EQ(Text, QString::fromUtf8(C.Rest)) << C.Text;
    }
}

TEST(ExtUtilLines, LineBreakConversions) {
    EXPECT_EQ(UnescapeLineBreaks(QStringLiteral("a\\nb\\n")), QStringLiteral("a\rb\r"));
    EXPECT_EQ(EscapeLineBreaks(QStringLiteral("a\r\nb\nc\r")), QStringLiteral("a\\nbc\\n"));
    EXPECT_EQ(UnescapeLineBreaks(EscapeLineBreaks(QStringLiteral("x\ry"))), QStringLiteral("x\ry"));
    EXPECT_EQ(StripCR(QStringLiteral("a\r\nb\r")), QStringLiteral("a\nb"));
    EXPECT_EQ(CRToLF(QStringLiteral("a\r\nb\r")), QStringLiteral("a\n\nb\n"));
    QString Password = QStringLiteral("secret");
    FillWithChar(Password, QChar('*'));
    EXPECT_EQ(Password, QStringLiteral("******"));
}

TEST(ExtUtilUrls, SchemesAndCellReferences) {
    EXPECT_TRUE(IsURLText(QStringLiteral("see http://x.org")));
    EXPECT_TRUE(IsURLText(QStringLiteral("mailto:a@b.c")));
    EXPECT_FALSE(IsURLText(QStringLiteral("www.x.org")));
    QString U = QStringLiteral("https://x.org/a");
    StripURLScheme(U);
    EXPECT_EQ(U, QStringLiteral("x.org/a"));
    U = QStringLiteral("mailto:a@b.c");
    StripURLScheme(U);
    EXPECT_EQ(U, QStringLiteral("a@b.c"));
    U = QStringLiteral("plain");
    StripURLScheme(U);
    EXPECT_EQ(U, QStringLiteral("plain"));

    struct Case {
        const char* Text;
        bool Ok;
        int Col, Row;
    };
    const Case Cases[] = {
        {"r12c3", true, 3, 12}, {"R1C10", true, 10, 1}, {"R12", false, 0, 0},  {"R1", false, 0, 0},
        {"RxC1", false, 0, 0},  {"R1C", false, 0, 0},   {"C1R1", false, 0, 0}, {"R1C2x", false, 0, 0},
    };
    for (const Case& C : Cases) {
        TPoint P{-1, -1};
        EXPECT_EQ(ParseRCCellRef(QString::fromUtf8(C.Text), P), C.Ok) << C.Text;
        if (C.Ok) {
            EXPECT_EQ(P.X, C.Col) << C.Text;
            EXPECT_EQ(P.Y, C.Row) << C.Text;
        }
    }
}

using ExtUtilNumbers = GridFormatTest;

TEST_F(ExtUtilNumbers, CharacterClasses) {
    struct Case {
        char16_t Ch;
        bool Number, OrMinus, Part, SignedPart, TextChar, WordBreak;
    };
    const Case Cases[] = {
        {'7', true, true, true, true, true, false},      {'-', false, true, false, true, true, true},
        {'+', false, false, false, true, true, false},   {'.', false, false, true, true, true, true},
        {',', false, false, true, true, false, true},    {'e', false, false, true, true, true, false},
        {'E', false, false, true, true, true, false},    {' ', false, false, false, false, false, true},
        {'\'', false, false, false, false, false, true}, {'x', false, false, false, false, false, false},
        {0x0661, true, true, true, true, true, false}, // a digit of another script is a number
    };
    for (const Case& C : Cases) {
        const QChar Ch(C.Ch);
        EXPECT_EQ(IsNumberChar(Ch), C.Number) << int(C.Ch);
        EXPECT_EQ(IsNumberOrMinus(Ch), C.OrMinus) << int(C.Ch);
        EXPECT_EQ(IsNumberPart(Ch), C.Part) << int(C.Ch);
        EXPECT_EQ(IsSignedNumberPart(Ch), C.SignedPart) << int(C.Ch);
        EXPECT_EQ(IsNumberTextChar(Ch), C.TextChar) << int(C.Ch);
        EXPECT_EQ(IsWordBreakChar(Ch), C.WordBreak) << int(C.Ch);
    }
    // The separators come from the locale settings in force.
    UseSeparators(',', ' ');
    EXPECT_EQ(UtilDecimalSeparator(), QChar(','));
    EXPECT_EQ(UtilThousandSeparator(), QChar(' '));
    EXPECT_EQ(UtilDateSeparator(), QChar('/'));
    EXPECT_EQ(UtilTimeSeparator(), QChar(':'));
    EXPECT_EQ(UtilShortDateFormat(), QStringLiteral("dd/MM/yyyy"));
    EXPECT_TRUE(IsNumberPart(QChar(' ')));
    EXPECT_FALSE(IsNumberPart(QChar('.')));
    EXPECT_FALSE(IsNumberTextChar(QChar(','))); // the "." notation only
}

TEST_F(ExtUtilNumbers, NormalizeNumberText) {
    struct Case {
        char Decimal, Thousand;
        const char* Text;
        const char* Expected;
    };
    const Case Cases[] = {
        {',', '.', "(1.234,5)", "-1234.5"},
        {'.', ',', "EUR -12", "-12"},
        {'.', ',', "12 kg", "12"},
        {'.', ',', "", ""},
        {'.', ',', "  7  ", "7"},
        {'.', ',', "1,234.50", "1234.50"},
        {'.', ',', ".5", ".5"},
        {'.', ',', "$ 3.5e3x", "3.5e3"},
        {'.', ',', "-", "-"},
        {',', '.', "1.000.000,25 EUR", "1000000.25"},
    };
    for (const Case& C : Cases) {
        UseSeparators(C.Decimal, C.Thousand);
        EXPECT_EQ(NormalizeNumberText(QString::fromUtf8(C.Text)), QString::fromUtf8(C.Expected)) << C.Text;
    }
}

TEST_F(ExtUtilNumbers, ClassifyNumber) {
    struct Case {
        const char* Text;
        int Kind;
    };
    const Case Cases[] = {
        {"123", 0},    {"-", 0},   {"-7", 0},    {"-1.5", 1}, {"1,234.5", 1}, {"1,234,567.5", 1}, {"1,23.5", 2},
        {"1.5e-3", 5}, {"1e5", 5}, {"-1e-5", 5}, {"1e", 2},   {"e5", 2},      {"1-2", 2},         {"1.2.3", 2},
        {"", 2},       {"abc", 2}, {"1e5e3", 2}, {"--1", 2},  {"+5", 2},
    };
    for (const Case& C : Cases) EXPECT_EQ(ClassifyNumber(QString::fromUtf8(C.Text)), C.Kind) << C.Text;
    UseSeparators(',', '.');
    EXPECT_EQ(ClassifyNumber(QStringLiteral("1.234,5")), 1);
    EXPECT_EQ(ClassifyNumber(QStringLiteral("1.23,5")), 2);
}

TEST(ExtUtilNames, ProperCase) {
    struct Case {
        const char* Text;
        const char* Expected;
    };
    const Case Cases[] = {
        {"mcdonald", "McDonald"},
        {"john mcdonald", "John McDonald"},
        {"henry iii", "Henry III"},
        {"henry ii", "Henry II"},
        {"o'neil-smith", "O'Neil-Smith"},
        {"JOHN SMITH", "John Smith"},
        {"a.b,c", "A.B,C"},
        {"", ""},
        {"\xC3\xA9mile zola", "\xC3\x89mile Zola"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(ProperCase(QString::fromUtf8(C.Text)), QString::fromUtf8(C.Expected)) << C.Text;
}

using ExtUtilDates = GridFormatTest;

TEST_F(ExtUtilDates, ParseDateEUAndUS) {
    struct Case {
        const char* Text;
        bool US;
        int Y, M, D;
    }; // Y 0: no date
    const Case Cases[] = {
        {"31.12.99", false, 1999, 12, 31},
        {"1-2-05", false, 2005, 2, 1},
        {"12/31/99", true, 1999, 12, 31},
        {"1/2/25", false, 2025, 2, 1}, // the window's last year of the 2000s
        {"1/2/26", false, 1926, 2, 1},
        {"31/12/2024", false, 2024, 12, 31}, // a four-digit year stands as written
        {"12/31/1999", true, 1999, 12, 31},
        {"1/2/0100", false, 100, 2, 1},
        {"2024", false, 0, 0, 0},
        {"1/2", false, 0, 0, 0},
        {"a/b/c", false, 0, 0, 0},
        {"1/2/3x", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const Case& C : Cases) {
        const QString T = QString::fromUtf8(C.Text);
        const TDateTime D = C.US ? ParseDateUS(T) : ParseDateEU(T);
        if (C.Y == 0)
            EXPECT_EQ(D, 0) << C.Text;
        else
            EXPECT_EQ(D, EncodeDate(C.Y, C.M, C.D)) << C.Text;
    }
    // "/" is preferred over "." and "-": 1.5/6/2020 has no integer day.
    EXPECT_EQ(ParseDateEU(QStringLiteral("1.5/6/2020")), 0);
    EXPECT_THROW(ParseDateEU(QStringLiteral("31/02/2020")), EConvertError);
    EXPECT_THROW(ParseDateUS(QStringLiteral("13/01/2020")), EConvertError);
}

TEST_F(ExtUtilDates, IsDateText) {
    EXPECT_TRUE(IsDateText(QStringLiteral("1/2/3")));
    EXPECT_TRUE(IsDateText(QStringLiteral("01/02/2020 10:00")));
    EXPECT_FALSE(IsDateText(QStringLiteral("/1/2"))); // first separator at position 1
    EXPECT_FALSE(IsDateText(QStringLiteral("1//2"))); // second one right after the first
    EXPECT_FALSE(IsDateText(QStringLiteral("1/2")));
    EXPECT_FALSE(IsDateText(QStringLiteral("1.2.3")));
}

TEST_F(ExtUtilDates, IncDateParts) {
    const TDateTime Jan31 = EncodeDate(2020, 1, 31);
    const TDateTime Dec15 = EncodeDate(2020, 12, 15) + EncodeTime(10, 30, 0, 0);
    EXPECT_EQ(IncDateParts(0, 0, 3, Jan31, 99), Jan31 + 3);
    EXPECT_EQ(IncDateParts(2, 0, 0, EncodeDate(2020, 3, 1), 99), EncodeDate(2022, 3, 1));
    EXPECT_EQ(IncDateParts(0, 1, 0, EncodeDate(2020, 1, 15), 99), EncodeDate(2020, 2, 15));
    EXPECT_DOUBLE_EQ(IncDateParts(0, 1, 0, Dec15, 99),
                     EncodeDate(2021, 1, 15) + EncodeTime(10, 30, 0, 0)); // time of day kept
    EXPECT_EQ(IncDateParts(0, -1, 0, EncodeDate(2020, 1, 15), 99), EncodeDate(2019, 12, 15));
    // More than a year either way still lands on a real month.
    EXPECT_EQ(IncDateParts(0, -14, 0, EncodeDate(2020, 1, 15), 99), EncodeDate(2018, 11, 15));
    EXPECT_EQ(IncDateParts(0, 25, 0, EncodeDate(2020, 1, 15), 99), EncodeDate(2022, 2, 15));
    EXPECT_EQ(IncDateParts(1, 1, 0, Jan31, 7.5), Jan31 + 7.5);
    EXPECT_EQ(IncDateParts(0, 0, 0, Jan31, 2), Jan31 + 2);
    EXPECT_THROW(IncDateParts(0, 1, 0, Jan31, 0), EConvertError); // 31 February
    EXPECT_THROW(IncDateParts(1, 0, 0, EncodeDate(2020, 2, 29), 0), EConvertError);
}

} // namespace
