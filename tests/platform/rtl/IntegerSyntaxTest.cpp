#include "platform/rtl/SysUtils.h"
#include "tests/platform/rtl/QtPrint.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <string_view>

namespace {
struct TIntCase {
    const char* Text;
    bool Valid;
    int Value;
};

const TIntCase IntCases[] = {
    {"0", true, 0},
    {"12", true, 12},
    {" 12", true, 12},
    {"   -7", true, -7},
    {"+5", true, 5},
    {"007", true, 7},
    {"2147483647", true, 2147483647},
    {"-2147483648", true, -2147483647 - 1},
    {"2147483648", false, 0},
    {"-2147483649", false, 0},
    {"99999999999999999999", false, 0},
    {"$FFFFFFFF", true, -1},
    {"$000000001", true, 1}, // leading zeros are not significant digits
    {"0x00000000FFFFFFFF", true, -1},
    {"$000000000", true, 0},
    {"$100000000", false, 0},
    {"$7FFFFFFF", true, 2147483647},
    {"$80000000", true, -2147483647 - 1},
    {"$1FFFFFFFF", false, 0},
    {"$ff", true, 255},
    {"x1f", true, 31},
    {"X1F", true, 31},
    {"0x1F", true, 31},
    {"0X1f", true, 31},
    {"+0x1F", true, 31},
    {"-$10", true, -16},
    {" -x10", true, -16},
    {"0X", false, 0},
    {"$", false, 0},
    {"x", false, 0},
    {"0x", false, 0},
    {"$G", false, 0},
    {"", false, 0},
    {" ", false, 0},
    {"-", false, 0},
    {"+-1", false, 0},
    {"--1", false, 0},
    {"12 ", false, 0},
    {"1 2", false, 0},
    {"\t12", false, 0},
    {"12a", false, 0},
    {"1.0", false, 0},
    {"- 1", false, 0},
    {"0x-1", false, 0},
    {"$$1", false, 0},
    {"00x1", false, 0},
    {"\xd9\xa3", false, 0}, // an Arabic-Indic digit is not a digit here
    {"\xef\xbc\x91\xef\xbc\x92", false, 0}, // nor are full-width digits
    {"1\xc2\xa0", false, 0}, // a no-break space does not end a number
    {"\xc2\xa0"
     "1",
     false, 0}, // nor lead one
    {"$1234567\xc3\xa9", false, 0}, // eight characters, nine bytes: refused either way
};

// The case prints as its text, quoted, wherever the test framework shows the parameter.
void PrintTo(const TIntCase& C, std::ostream* Out) { *Out << '"' << C.Text << '"'; }

// A case name from its text: letters and digits as they stand, every other byte spelled out,
// after the row number that keeps the names distinct.
std::string CaseName(const testing::TestParamInfo<TIntCase>& Info) {
    std::string Name = "row" + std::to_string(Info.index) + "_";
    for (const char* P = Info.param.Text; *P; ++P) {
        const unsigned char C = static_cast<unsigned char>(*P);
        if (std::isalnum(C)) {
            Name += char(C);
        } else {
            switch (C) {
                case ' ': Name += "_blank_"; break;
                case '-': Name += "_minus_"; break;
                case '+': Name += "_plus_"; break;
                case '$': Name += "_dollar_"; break;
                default: Name += "_x" + std::to_string(C) + "_";
            }
        }
    }
    return Name;
}

class IntegerSyntax : public testing::TestWithParam<TIntCase> {};

// Every entry to the syntax reads the text the same way: from a QString, a view of one, or its
// UTF-8 bytes with a length or NUL-terminated.
TEST_P(IntegerSyntax, ReadsAsTheTableSaysThroughEveryEntry) {
    const TIntCase& c = GetParam();
    const QString text = QString::fromUtf8(c.Text);
    const QString padded = "<<" + text + ">>"; // a view into a longer text stops where it ends
    const std::string_view utf8(c.Text);
    const std::string followed = std::string(utf8) + "9"; // so does a counted UTF-8 text
    const struct {
        const char* Entry;
        std::function<bool(int&)> Read;
    } entries[] = {
        {"QString", [&](int& v) { return TryStrToInt(text, v); }},
        {"QStringView", [&](int& v) { return TryStrToInt(QStringView(padded).mid(2, text.size()), v); }},
        {"string_view", [&](int& v) { return TryStrToInt(std::string_view(followed.data(), utf8.size()), v); }},
        {"const char*", [&](int& v) { return TryStrToInt(c.Text, v); }},
    };
    for (const auto& e : entries) {
        int v = 12345;
        EXPECT_EQ(e.Read(v), c.Valid) << c.Text << " via " << e.Entry;
        if (c.Valid)
            EXPECT_EQ(v, c.Value) << c.Text << " via " << e.Entry;
        else
            EXPECT_EQ(v, 12345) << "a failed read leaves the variable alone: " << c.Text << " via " << e.Entry;
    }
    if (c.Valid) {
        EXPECT_EQ(StrToInt(text), c.Value);
        EXPECT_EQ(StrToIntDef(text, 99), c.Value);
        EXPECT_EQ(CellValue(text), c.Value);
    } else {
        EXPECT_EQ(StrToIntDef(text, 99), 99) << c.Text;
        EXPECT_EQ(CellValue(text), -1) << c.Text;
        EXPECT_THROW(StrToInt(text), EConvertError) << c.Text;
    }
}

// A NUL inside a counted text is a character like any other, and not a digit.
TEST(IntegerSyntaxEntries, CountedTextsDoNotStopAtNul) {
    int v = 7;
    EXPECT_FALSE(TryStrToInt(std::string_view("12\0"
                                              "3",
                                              4),
                             v));
    EXPECT_FALSE(TryStrToInt(QStringView(u"12\0"
                                         "3",
                                         4),
                             v));
    EXPECT_FALSE(TryStrToInt(QStringView(u"12\0"
                                         "3",
                                         4)
                                 .toString(),
                             v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(TryStrToInt("12\0"
                            "3",
                            v)); // a NUL-terminated text ends at its NUL
    EXPECT_EQ(v, 12);
}

INSTANTIATE_TEST_SUITE_P(Table, IntegerSyntax, testing::ValuesIn(IntCases), CaseName);

TEST(IntegerSyntaxMessage, NamesTheText) {
    try {
        StrToInt("12 ");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12 ' is not a valid integer value");
        EXPECT_STREQ(e.what(), "'12 ' is not a valid integer value");
    }
}

TEST(IntegerText, IntToStrAndIntToHex) {
    EXPECT_EQ(IntToStr(-2147483648LL), "-2147483648");
    EXPECT_EQ(IntToStr(int64_t(1) << 40), "1099511627776");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(IntToHex(-1, 4), "FFFFFFFF"); // an int shows its 32-bit pattern
    EXPECT_EQ(IntToHex(int64_t(-1), 4), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(uint8_t(0xAB), 1), "AB");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(IntegerArithmetic, MulDivRoundsHalfAwayFromZeroAndGuardsZero) {
    struct {
        int n, num, den, expect;
    } cases[] = {
        {10, 3, 4, 8}, // 7.5 -> 8
        {-10, 3, 4, -8}, // -7.5 -> -8
        {10, 1, 3, 3},
        {5, 1, 2, 3}, // 2.5 -> 3
        {2000000000, 3, 2, -1}, // beyond the range
        {2000000000, 2, 4, 1000000000}, // the product may exceed 32 bits
        {7, 7, 0, -1},
        {9, 1, -2, -5}, // -4.5 -> -5
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c.n, c.num, c.den), c.expect) << c.n << "*" << c.num << "/" << c.den;
}

TEST(IntegerArithmetic, RoundTakesHalvesToEven) {
    struct {
        double x;
        int64_t expect;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {-2.6, -3},
        {1e15 + 0.5, 1000000000000000LL},
        {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Round(c.x), c.expect) << c.x;
    EXPECT_THROW(Round(1e300), ERangeError);
    EXPECT_THROW(Round(std::numeric_limits<double>::quiet_NaN()), ERangeError);
}

TEST(TextHelpers, TrimAndFriends) {
    EXPECT_EQ(Trim(QString(" \t a b \r\n")), "a b");
    EXPECT_EQ(Trim(QString("\x01x\x1f")), "x");
    EXPECT_EQ(Trim(QString::fromUtf8("\xc2\xa0x")), QString::fromUtf8("\xc2\xa0x")); // no-break space stays
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("z", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 5, 10), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");
    EXPECT_TRUE(SameText("Abc", "aBC"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(StringOfChar(u'-', 3), "---");
    EXPECT_EQ(StringOfChar(u'-', -3), "");
}
} // namespace
