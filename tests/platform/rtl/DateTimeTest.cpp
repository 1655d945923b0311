#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "tests/platform/rtl/QtPrint.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
class DateFixture : public testing::Test {
protected:
    void SetUp() override {
        FSaved = FormatSettings;
        FormatSettings = TFormatSettings(); // dd/mm/yyyy, hh:nn:ss, English names
        FClock = std::make_shared<TFakeClock>(QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26, 535)));
        SetClock(FClock);
    }
    void TearDown() override {
        SetClock(nullptr);
        FormatSettings = FSaved;
    }
    TFormatSettings FSaved;
    std::shared_ptr<TFakeClock> FClock;
};

using Dates = DateFixture;

TEST_F(Dates, EncodeAndDecodeCountFromTheEpoch) {
    struct {
        int y, m, d;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},    {1899, 12, 31, 1},  {1900, 1, 1, 2},    {1900, 3, 1, 61},
        {2000, 2, 29, 36585}, {1899, 12, 29, -1}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(QDate(y, m, d), QDate(c.y, c.m, c.d));
    }
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    int h, mi, s, ms;
    DecodeTime(EncodeDate(2026, 1, 1) + EncodeTime(23, 59, 59, 999), h, mi, s, ms);
    EXPECT_EQ(QTime(h, mi, s, ms), QTime(23, 59, 59, 999));
    // A hair below midnight rounds to the next day consistently for date and time.
    int y, m, d;
    const TDateTime nearly = EncodeDate(2026, 1, 1) + 0.99999999999;
    DecodeDate(nearly, y, m, d);
    DecodeTime(nearly, h, mi, s, ms);
    EXPECT_EQ(QDateTime(QDate(y, m, d), QTime(h, mi, s, ms)), QDateTime(QDate(2026, 1, 2), QTime(0, 0)));
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 3, 14)), 7); // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 3, 15)), 1);
    // Values that are no date at all read as day 0 instead of overflowing.
    for (const double bad : {std::nan(""), 1e300, -1e300, HUGE_VAL}) {
        DecodeDate(bad, y, m, d);
        DecodeTime(bad, h, mi, s, ms);
        EXPECT_EQ(QDateTime(QDate(y, m, d), QTime(h, mi, s, ms)), QDateTime(QDate(1899, 12, 30), QTime(0, 0))) << bad;
    }
}

TEST_F(Dates, NowComesFromTheClockService) {
    EXPECT_EQ(Date(), EncodeDate(2026, 3, 14));
    EXPECT_NEAR(Time(), EncodeTime(15, 9, 26, 535), 1e-9);
    FClock->Advance(1000);
    EXPECT_NEAR(Now(), EncodeDate(2026, 3, 14) + EncodeTime(15, 9, 27, 535), 1e-9);
}

TEST_F(Dates, FormatDateTimeSpecifiers) {
    const TDateTime t = EncodeDate(2026, 3, 4) + EncodeTime(15, 7, 8, 9);
    struct {
        const char* fmt;
        const char* expect;
    } cases[] = {
        {"yyyy-mm-dd hh:nn:ss.zzz", "2026-03-04 15:07:08.009"},
        {"d/m/yy", "4/3/26"},
        {"ddd dddd mmm mmmm", "Wed Wednesday Mar March"},
        {"h:mm", "15:07"}, // "m" after an hour is the minute
        {"hh:nn am/pm", "03:07 pm"},
        {"h AMPM", "3 PM"},
        {"h a/p", "3 p"},
        {"'yyyy' \"mm\" yyyy", "yyyy mm 2026"},
        {"ddddd", "04/03/2026"},
        {"dddddd", "Wednesday, 4 March 2026"},
        {"t|tt", "15:07|15:07:08"},
        {"c", "04/03/2026 15:07:08"},
        {"", "04/03/2026 15:07:08"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.fmt, t), c.expect) << c.fmt;
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 4)), "04/03/2026"); // midnight shows no time
    FormatSettings.DateSeparator = u'.';
    FormatSettings.TimeSeparator = u'-';
    EXPECT_EQ(DateToStr(t), "04.03.2026");
    EXPECT_EQ(TimeToStr(t), "15-07-08");
}

TEST_F(Dates, ReadingDatesAndTimes) {
    struct {
        const char* text;
        bool ok;
        QDateTime expect;
    } dates[] = {
        {"04/03/2026", true, QDateTime(QDate(2026, 3, 4), QTime(0, 0))},
        {" 4/3/2026 ", true, QDateTime(QDate(2026, 3, 4), QTime(0, 0))},
        {"4/3", true, QDateTime(QDate(2026, 3, 4), QTime(0, 0))}, // the current year
        {"4/3/26", true, QDateTime(QDate(2026, 3, 4), QTime(0, 0))},
        {"4/3/80", true, QDateTime(QDate(1980, 3, 4), QTime(0, 0))}, // within fifty years of now
        {"31/02/2026", false, {}},
        {"4-3-2026", false, {}},
        {"4/3/2026x", false, {}},
        {"", false, {}},
        {"4", false, {}},
    };
    for (const auto& c : dates) {
        TDateTime v = -1;
        EXPECT_EQ(TryStrToDate(c.text, v), c.ok) << c.text;
        if (c.ok) {
            int y, m, d;
            DecodeDate(v, y, m, d);
            EXPECT_EQ(QDate(y, m, d), c.expect.date()) << c.text;
        } else {
            EXPECT_THROW(StrToDate(c.text), EConvertError) << c.text;
        }
    }
    FormatSettings.ShortDateFormat = "m/d/yyyy";
    EXPECT_EQ(StrToDate("3/4/2026"), EncodeDate(2026, 3, 4));
    FormatSettings.ShortDateFormat = "yyyy/mm/dd";
    EXPECT_EQ(StrToDate("2026/3/4"), EncodeDate(2026, 3, 4));

    struct {
        const char* text;
        bool ok;
        QTime expect;
    } times[] = {
        {"15:07", true, QTime(15, 7)},
        {"15:07:08", true, QTime(15, 7, 8)},
        {"15:07:08.009", true, QTime(15, 7, 8, 9)},
        {"3:07 PM", true, QTime(15, 7)},
        {"12:00 am", true, QTime(0, 0)},
        {"12:00 PM", true, QTime(12, 0)},
        {"9", true, QTime(9, 0)},
        {"24:00", false, {}},
        {"13:00 PM", false, {}},
        {"15:61", false, {}},
        {"15:07 xx", false, {}},
        {"", false, {}},
    };
    for (const auto& c : times) {
        TDateTime v = -1;
        EXPECT_EQ(TryStrToTime(c.text, v), c.ok) << c.text;
        if (c.ok)
            EXPECT_NEAR(v, double(c.expect.msecsSinceStartOfDay()) / 86400000.0, 1e-12) << c.text;
        else
            EXPECT_THROW(StrToTime(c.text), EConvertError) << c.text;
    }
    FormatSettings = TFormatSettings();
    EXPECT_NEAR(StrToDateTime("04/03/2026 15:07:08"), EncodeDate(2026, 3, 4) + EncodeTime(15, 7, 8, 0), 1e-9);
    EXPECT_EQ(StrToDateTime("04/03/2026"), EncodeDate(2026, 3, 4));
    EXPECT_THROW(StrToDateTime("04/03/2026 25:00"), EConvertError);
    try {
        StrToDate("nope");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'nope' is not a valid date");
    }
}

TEST_F(Dates, LocaleSettingsAreReadableAndRoundTrip) {
    InitFormatSettingsFromLocale();
    EXPECT_FALSE(FormatSettings.ShortDateFormat.isEmpty());
    EXPECT_FALSE(FormatSettings.LongMonthNames[0].isEmpty());
    // Whatever the locale, a date written in its short format reads back.
    const TDateTime d = EncodeDate(2026, 11, 23);
    EXPECT_EQ(StrToDate(DateToStr(d)), d) << DateToStr(d).toStdString();
}
} // namespace
