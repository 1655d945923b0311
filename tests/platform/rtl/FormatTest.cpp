#include "platform/rtl/SysUtils.h"
#include "tests/platform/rtl/QtPrint.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// Every test states the settings it formats with.
class FormatFixture : public testing::Test {
protected:
    void SetUp() override {
        FSaved = FormatSettings;
        FormatSettings = TFormatSettings();
    }
    void TearDown() override { FormatSettings = FSaved; }
    TFormatSettings FSaved;
};

using FormatText = FormatFixture;

TEST_F(FormatText, FormatsMatchingArguments) {
    struct {
        QString fmt;
        QList<TVarRec> args;
        QString expect;
    } cases[] = {
        {"%d", {42}, "42"},
        {"%d", {-42}, "-42"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {-42}, "-0042"},
        {"%*d", {4, 7}, "   7"},
        {"%d", {qlonglong(1) << 40}, "1099511627776"},
        {"%u", {-1}, "4294967295"},
        {"%d %u", {int64_t(-5), uint64_t(7)}, "-5 7"},
        {"%d", {Round(2.5)}, "2"},
        {"%x", {int64_t(-1)}, "FFFFFFFFFFFFFFFF"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%s and %s", {"a", "b"}, "a and b"},
        {"%-4s|", {"ab"}, "ab  |"},
        {"%4s|", {"ab"}, "  ab|"},
        {"%.2s", {"abcdef"}, "ab"},
        {"%s", {QChar(u'Z')}, "Z"},
        {"%f", {1.005}, "1.00"},
        {"%.3f", {2.5}, "2.500"},
        {"%.0f", {2.5}, "3"},
        {"%.1f", {-0.04}, "0.0"},
        {"%8.2f|", {3.14159}, "    3.14|"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {-1234.0}, "-1,234"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {-0.000123}, "-1.23E-004"},
        {"%g", {0.5}, "0.5"},
        {"%g", {1e20}, "1E20"},
        {"100%%", {}, "100%"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},
        {"%d", {1, 2, 3}, "1"}, // arguments left over are ignored
        {"no format", {}, "no format"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.fmt, c.args), c.expect) << c.fmt.toStdString();
}

TEST_F(FormatText, MismatchRaisesInsteadOfGuessing) {
    struct {
        QString fmt;
        QList<TVarRec> args;
    } cases[] = {
        {"%d", {}}, // too few arguments
        {"%s %s", {"a"}},
        {"%d", {"12"}}, // a text for a number
        {"%s", {12}}, // a number for a text
        {"%f", {12}}, // an integer for a floating value
        {"%d", {1.5}},
        {"%d", {true}},
        {"%", {1}}, // a lone percent sign at the end
        {"%5", {1}},
        {"%q", {1}}, // no such conversion
        {"%.d", {1}},
        {"%*d", {"x", 1}},
        {"%3:s", {"a"}}, // index beyond the arguments
        {"%99999999999d", {1}},
    };
    for (const auto& c : cases) {
        try {
            Format(c.fmt, c.args);
            ADD_FAILURE() << "no error for " << c.fmt.toStdString();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Format '%1' invalid or incompatible with argument").arg(c.fmt));
        }
    }
}

TEST_F(FormatText, UsesTheDecimalSeparatorInForce) {
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    EXPECT_EQ(Format("%.2f", {1.5}), "1,50");
    EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
    EXPECT_EQ(FloatToStr(0.25), "0,25");
    EXPECT_EQ(StrToFloat("0,25"), 0.25);
    EXPECT_THROW(StrToFloat("0.25"), EConvertError);
}

using FloatText = FormatFixture;

TEST_F(FloatText, FloatToStrUsesFifteenSignificantDigits) {
    struct {
        double v;
        const char* expect;
    } cases[] = {
        {0, "0"},
        {1, "1"},
        {-1.5, "-1.5"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e-7, "1.5E-7"},
        {0.0001, "0.0001"},
        {100, "100"},
        {2.675, "2.675"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.v), c.expect) << c.v;
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
}

TEST_F(FloatText, FormatFloatPatterns) {
    struct {
        const char* fmt;
        double v;
        const char* expect;
    } cases[] = {
        {"0.00", 3.14159, "3.14"},
        {"0.00", -3.14159, "-3.14"},
        {"0.00", 0.005, "0.01"},
        {"#.##", 0.5, ".5"},
        {"0.##", 2, "2"},
        {"0.0#", 2.5, "2.5"},
        {"0.0#", 2, "2.0"},
        {"0.0#", 2.125, "2.13"},
        {"#,##0.0", 1234567.25, "1,234,567.3"},
        {"#,##0", 999, "999"},
        {"000", 7, "007"},
        {"0", 2.5, "3"},
        {"0", 1234.4, "1234"},
        {"0.000E+00", 1234.5, "1.235E+03"},
        {"0.0E-0", 0.00015, "1.5E-4"},
        {"0.0E+00", 9.99, "1.0E+01"},
        {"'$'0.00", 5, "$5.00"},
        {"0.00 \"kg\"", 1.5, "1.50 kg"},
        {"0.00;(0.00)", -2, "(2.00)"},
        {"0.00;(0.00);'zero'", 0.001, "zero"},
        {"0.00", -0.001, "0.00"},
        {"", 1.5, "1.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.fmt, c.v), c.expect) << c.fmt << " " << c.v;
}

TEST_F(FloatText, StrToFloatAcceptsOnlyWholeNumbers) {
    struct {
        const char* text;
        bool ok;
        double v;
    } cases[] = {
        {"1.5", true, 1.5},   {" -2 ", true, -2}, {"+3e2", true, 300}, {".5", true, 0.5},  {"5.", true, 5},
        {"1E-2", true, 0.01}, {"", false, 0},     {"abc", false, 0},   {"1.5x", false, 0}, {"1e", false, 0},
        {"1,5", false, 0},    {".", false, 0},    {"1e999", false, 0}, {"nan", false, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
        if (c.ok)
            EXPECT_DOUBLE_EQ(v, c.v) << c.text;
        else
            EXPECT_THROW(StrToFloat(c.text), EConvertError) << c.text;
    }
}
} // namespace
