// Dates and times as days since 1899-12-30 with the time of day as the fraction, and their texts.
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {
constexpr int64_t MSecsPerDay = 86400000;

qint64 BaseJulianDay() {
    static const qint64 base = QDate(1899, 12, 30).toJulianDay();
    return base;
}

// Splits a date-time into whole days (signed) and milliseconds of the day, both from one rounding.
// A value that is no date at all (not finite, or days beyond any calendar) reads as day 0, 0:00,
// rather than overflowing the millisecond count.
void SplitDateTime(TDateTime D, int64_t& Days, int64_t& MSecs) {
    if (!std::isfinite(D) || std::fabs(D) > 1e11) {
        Days = 0;
        MSecs = 0;
        return;
    }
    const int64_t total = std::llround(D * double(MSecsPerDay));
    Days = total / MSecsPerDay;
    MSecs = std::llabs(total) % MSecsPerDay;
}

const char* const ShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
const char* const ShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const LongDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
} // namespace

TFormatSettings::TFormatSettings() {
    for (int i = 0; i < 12; ++i) {
        ShortMonthNames[i] = QString::fromLatin1(ShortMonths[i]);
        LongMonthNames[i] = QString::fromLatin1(LongMonths[i]);
    }
    for (int i = 0; i < 7; ++i) {
        ShortDayNames[i] = QString::fromLatin1(ShortDays[i]);
        LongDayNames[i] = QString::fromLatin1(LongDays[i]);
    }
}

namespace {
// Qt's date/time patterns to ours: "M" is the month, "m" the minute, "H" the 24-hour hour.
QString FromQtPattern(const QString& Qt, QChar Separator, QChar Placeholder) {
    QString out;
    QChar quote;
    for (int i = 0; i < Qt.size(); ++i) {
        const QChar c = Qt[i];
        if (!quote.isNull()) {
            out += c;
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == u'\'') {
            quote = c;
            out += c;
            continue;
        }
        if (c == u'M')
            out += u'm';
        else if (c == u'm')
            out += u'n';
        else if (c == u'H')
            out += u'h';
        else if (c == u'A' || c == u'a') {
            if (i + 1 < Qt.size() && (Qt[i + 1] == u'P' || Qt[i + 1] == u'p')) ++i;
            out += QStringLiteral("ampm");
        } else if (c == u't') {
            // time zone: not shown
        } else if (!Separator.isNull() && c == Separator)
            out += Placeholder;
        else
            out += c;
    }
    return out.trimmed();
}

QChar FirstSeparator(const QString& Pattern) {
    for (QChar c : Pattern)
        if (!c.isLetter() && !c.isSpace() && c != u'\'') return c;
    return QChar();
}
} // namespace

namespace {
TFormatSettings LocaleFormatSettings() {
    const QLocale loc = QLocale::system();
    TFormatSettings fs;
    if (loc.language() == QLocale::C) return fs; // no user locale: the defaults
    const QString dp = loc.decimalPoint();
    const QString gs = loc.groupSeparator();
    if (dp.size() == 1) fs.DecimalSeparator = dp[0];
    if (gs.size() == 1) fs.ThousandSeparator = gs[0];
    const QString shortDate = loc.dateFormat(QLocale::ShortFormat);
    const QChar ds = FirstSeparator(shortDate);
    if (!ds.isNull()) fs.DateSeparator = ds;
    fs.ShortDateFormat = FromQtPattern(shortDate, ds, u'/');
    // The short date is read back as numbers: a month name there becomes the month's number.
    fs.ShortDateFormat.replace(QRegularExpression(QStringLiteral("m{3,}")), QStringLiteral("mm"));
    fs.LongDateFormat = FromQtPattern(loc.dateFormat(QLocale::LongFormat), QChar(), QChar());
    const QString shortTime = loc.timeFormat(QLocale::ShortFormat);
    const QChar ts = FirstSeparator(shortTime);
    if (!ts.isNull()) fs.TimeSeparator = ts;
    fs.ShortTimeFormat = FromQtPattern(shortTime, ts, u':');
    fs.LongTimeFormat = FromQtPattern(loc.timeFormat(QLocale::LongFormat), ts, u':');
    if (!loc.amText().isEmpty()) fs.TimeAMString = loc.amText();
    if (!loc.pmText().isEmpty()) fs.TimePMString = loc.pmText();
    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = loc.monthName(i + 1, QLocale::ShortFormat);
        fs.LongMonthNames[i] = loc.monthName(i + 1, QLocale::LongFormat);
    }
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i; // Qt counts Monday = 1 .. Sunday = 7
        fs.ShortDayNames[i] = loc.dayName(qtDay, QLocale::ShortFormat);
        fs.LongDayNames[i] = loc.dayName(qtDay, QLocale::LongFormat);
    }
    // A locale without a usable pattern keeps the defaults.
    if (fs.ShortDateFormat.isEmpty()) fs.ShortDateFormat = TFormatSettings().ShortDateFormat;
    if (fs.ShortTimeFormat.isEmpty()) fs.ShortTimeFormat = TFormatSettings().ShortTimeFormat;
    if (fs.LongTimeFormat.isEmpty()) fs.LongTimeFormat = TFormatSettings().LongTimeFormat;
    return fs;
}
} // namespace

// The user's settings from the start; tests put their own in place.
TFormatSettings FormatSettings = LocaleFormatSettings();

void InitFormatSettingsFromLocale() { FormatSettings = LocaleFormatSettings(); }

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value) {
    if (Year < 1 || Year > 9999 || !QDate::isValid(Year, Month, Day)) return false;
    Value = double(QDate(Year, Month, Day).toJulianDay() - BaseJulianDay());
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value) {
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999) return false;
    Value = double(((int64_t(Hour) * 60 + Min) * 60 + Sec) * 1000 + MSec) / double(MSecsPerDay);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime v;
    if (!TryEncodeDate(Year, Month, Day, v))
        throw EConvertError(QStringLiteral("Invalid argument to date encode: %1-%2-%3").arg(Year).arg(Month).arg(Day));
    return v;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
    TDateTime v;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, v))
        throw EConvertError(
            QStringLiteral("Invalid argument to time encode: %1:%2:%3.%4").arg(Hour).arg(Min).arg(Sec).arg(MSec));
    return v;
}

void DecodeDate(TDateTime D, int& Year, int& Month, int& Day) {
    int64_t days, ms;
    SplitDateTime(D, days, ms);
    const QDate d = QDate::fromJulianDay(BaseJulianDay() + days);
    Year = d.year();
    Month = d.month();
    Day = d.day();
}

void DecodeTime(TDateTime D, int& Hour, int& Min, int& Sec, int& MSec) {
    int64_t days, ms;
    SplitDateTime(D, days, ms);
    MSec = int(ms % 1000);
    Sec = int(ms / 1000 % 60);
    Min = int(ms / 60000 % 60);
    Hour = int(ms / 3600000);
}

int DayOfWeek(TDateTime D) {
    int64_t days, ms;
    SplitDateTime(D, days, ms);
    // 1899-12-30 was a Saturday (7).
    return int((((days + 6) % 7) + 7) % 7) + 1;
}

TDateTime Now() {
    const QDateTime now = Clock().CurrentDateTime();
    return double(now.date().toJulianDay() - BaseJulianDay()) +
        double(now.time().msecsSinceStartOfDay()) / double(MSecsPerDay);
}
TDateTime Date() { return std::floor(Now()); }
TDateTime Time() { return Now() - std::floor(Now()); }

// ---- FormatDateTime ------------------------------------------------------------------------

namespace {
QString Two(int v) { return QString::number(v).rightJustified(2, u'0'); }

bool HasAmPm(const QString& Fmt) {
    const QString l = Fmt.toLower();
    return l.contains(QStringLiteral("am/pm")) || l.contains(QStringLiteral("a/p")) ||
        l.contains(QStringLiteral("ampm"));
}

void AppendFormatted(QString& out, const QString& Fmt, TDateTime D, int depth) {
    if (depth > 2) return; // formats that name each other stop here
    int y, mo, d, h, mi, s, ms;
    DecodeDate(D, y, mo, d);
    DecodeTime(D, h, mi, s, ms);
    const bool twelve = HasAmPm(Fmt);
    bool lastWasHour = false;
    const int n = Fmt.size();
    int i = 0;
    auto run = [&](QChar c) {
        int k = 0;
        while (i + k < n && Fmt[i + k].toLower() == c) ++k;
        return k;
    };
    while (i < n) {
        const QChar c = Fmt[i];
        const QChar lc = c.toLower();
        if (c == u'"' || c == u'\'') {
            int j = i + 1;
            while (j < n && Fmt[j] != c) out += Fmt[j++];
            i = j + 1;
            continue;
        }
        if (lc == u'a') {
            const QString rest = Fmt.mid(i);
            if (rest.startsWith(QStringLiteral("am/pm"), Qt::CaseInsensitive)) {
                out += h < 12 ? Fmt.mid(i, 2) : Fmt.mid(i + 3, 2); // in the specifier's own case
                i += 5;
            } else if (rest.startsWith(QStringLiteral("a/p"), Qt::CaseInsensitive)) {
                const bool upper = Fmt[i].isUpper();
                out += h < 12 ? (upper ? u'A' : u'a') : (upper ? u'P' : u'p');
                i += 3;
            } else if (rest.startsWith(QStringLiteral("ampm"), Qt::CaseInsensitive)) {
                out += h < 12 ? FormatSettings.TimeAMString : FormatSettings.TimePMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        if (lc == u'c') {
            AppendFormatted(out, FormatSettings.ShortDateFormat, D, depth + 1);
            if (h || mi || s || ms) {
                out += u' ';
                AppendFormatted(out, FormatSettings.LongTimeFormat, D, depth + 1);
            }
            ++i;
            lastWasHour = false;
            continue;
        }
        if (lc == u'd') {
            const int k = run(u'd');
            i += k;
            const int dow = DayOfWeek(D) - 1;
            switch (k) {
                case 1: out += QString::number(d); break;
                case 2: out += Two(d); break;
                case 3: out += FormatSettings.ShortDayNames[dow]; break;
                case 4: out += FormatSettings.LongDayNames[dow]; break;
                case 5: AppendFormatted(out, FormatSettings.ShortDateFormat, D, depth + 1); break;
                default: AppendFormatted(out, FormatSettings.LongDateFormat, D, depth + 1); break;
            }
            lastWasHour = false;
            continue;
        }
        if (lc == u'm') {
            int k = run(u'm');
            i += k;
            if (lastWasHour && k <= 2) {
                out += k == 1 ? QString::number(mi) : Two(mi);
            } else {
                switch (k) {
                    case 1: out += QString::number(mo); break;
                    case 2: out += Two(mo); break;
                    case 3: out += FormatSettings.ShortMonthNames[mo - 1]; break;
                    default: out += FormatSettings.LongMonthNames[mo - 1]; break;
                }
            }
            lastWasHour = false;
            continue;
        }
        if (lc == u'y') {
            const int k = run(u'y');
            i += k;
            out += k <= 2 ? Two(y % 100) : QString::number(y).rightJustified(4, u'0');
            lastWasHour = false;
            continue;
        }
        if (lc == u'h') {
            const int k = run(u'h');
            i += k;
            int hh = h;
            if (twelve) {
                hh = h % 12;
                if (hh == 0) hh = 12;
            }
            out += k == 1 ? QString::number(hh) : Two(hh);
            lastWasHour = true;
            continue;
        }
        if (lc == u'n') {
            const int k = run(u'n');
            i += k;
            out += k == 1 ? QString::number(mi) : Two(mi);
            lastWasHour = false;
            continue;
        }
        if (lc == u's') {
            const int k = run(u's');
            i += k;
            out += k == 1 ? QString::number(s) : Two(s);
            lastWasHour = false;
            continue;
        }
        if (lc == u'z') {
            const int k = run(u'z');
            i += k;
            out += k >= 3 ? QString::number(ms).rightJustified(3, u'0') : QString::number(ms);
            lastWasHour = false;
            continue;
        }
        if (lc == u't') {
            const int k = run(u't');
            i += k;
            AppendFormatted(out, k == 1 ? FormatSettings.ShortTimeFormat : FormatSettings.LongTimeFormat, D, depth + 1);
            lastWasHour = false;
            continue;
        }
        if (c == u'/')
            out += FormatSettings.DateSeparator;
        else if (c == u':')
            out += FormatSettings.TimeSeparator;
        else
            out += c;
        ++i;
    }
}
} // namespace

QString FormatDateTime(const QString& Fmt, TDateTime D) {
    QString out;
    AppendFormatted(out, Fmt.isEmpty() ? QStringLiteral("c") : Fmt, D, 0);
    return out;
}
QString DateToStr(TDateTime D) { return FormatDateTime(QStringLiteral("ddddd"), D); }
QString TimeToStr(TDateTime D) { return FormatDateTime(QStringLiteral("tt"), D); }
QString DateTimeToStr(TDateTime D) { return FormatDateTime(QStringLiteral("c"), D); }

// ---- reading dates -------------------------------------------------------------------------

namespace {
// The order of day, month and year in the short date format: "DMY", "MDY" or "YMD".
QString DateOrder() {
    QString order;
    for (QChar c : FormatSettings.ShortDateFormat) {
        const QChar l = c.toLower();
        if ((l == u'd' || l == u'm' || l == u'y') && !order.contains(l.toUpper())) order += l.toUpper();
    }
    if (order.size() != 3) order = QStringLiteral("DMY");
    return order;
}

bool ReadUnsigned(const QString& S, int& Pos, int& Value, int& Digits) {
    Digits = 0;
    Value = 0;
    while (Pos < S.size() && S[Pos] >= u'0' && S[Pos] <= u'9') {
        if (Digits >= 9) return false;
        Value = Value * 10 + (S[Pos].unicode() - '0');
        ++Pos;
        ++Digits;
    }
    return Digits > 0;
}

bool ParseDate(const QString& S, int& Pos, TDateTime& Value) {
    int nums[3], digits[3];
    int count = 0;
    while (count < 3) {
        if (!ReadUnsigned(S, Pos, nums[count], digits[count])) return false;
        ++count;
        if (Pos < S.size() && S[Pos] == FormatSettings.DateSeparator && count < 3) {
            ++Pos;
            continue;
        }
        break;
    }
    if (count < 2) return false;
    const QString order = DateOrder();
    int y = 0, m = 0, d = 0;
    const int currentYear = QDate::fromJulianDay(BaseJulianDay() + qint64(std::floor(Now()))).year();
    int yearDigits = 4;
    if (count == 2) {
        y = currentYear;
        // Day and month in the order the short format gives them.
        const int dPos = order.indexOf(u'D') < order.indexOf(u'M') ? 0 : 1;
        d = nums[dPos];
        m = nums[1 - dPos];
    } else {
        for (int k = 0; k < 3; ++k) {
            if (order[k] == u'D')
                d = nums[k];
            else if (order[k] == u'M')
                m = nums[k];
            else {
                y = nums[k];
                yearDigits = digits[k];
            }
        }
        if (yearDigits <= 2) {
            // Two-digit years fall within fifty years of the current year.
            const int century = currentYear - currentYear % 100;
            y += century;
            if (y > currentYear + 50)
                y -= 100;
            else if (y <= currentYear - 50)
                y += 100;
        }
    }
    return TryEncodeDate(y, m, d, Value);
}

bool ParseTime(const QString& S, int& Pos, TDateTime& Value) {
    int h = 0, mi = 0, s = 0, ms = 0, digits = 0;
    if (!ReadUnsigned(S, Pos, h, digits)) return false;
    if (Pos < S.size() && S[Pos] == FormatSettings.TimeSeparator) {
        ++Pos;
        if (!ReadUnsigned(S, Pos, mi, digits)) return false;
        if (Pos < S.size() && S[Pos] == FormatSettings.TimeSeparator) {
            ++Pos;
            if (!ReadUnsigned(S, Pos, s, digits)) return false;
            if (Pos < S.size() && (S[Pos] == u'.' || S[Pos] == FormatSettings.DecimalSeparator)) {
                ++Pos;
                if (!ReadUnsigned(S, Pos, ms, digits) || digits > 3) return false;
            }
        }
    }
    while (Pos < S.size() && S[Pos] == u' ') ++Pos;
    const QString rest = S.mid(Pos);
    auto matches = [&](const QString& word) { return !word.isEmpty() && rest.compare(word, Qt::CaseInsensitive) == 0; };
    if (matches(FormatSettings.TimeAMString) || matches(QStringLiteral("AM"))) {
        if (h < 1 || h > 12) return false;
        if (h == 12) h = 0;
        Pos = S.size();
    } else if (matches(FormatSettings.TimePMString) || matches(QStringLiteral("PM"))) {
        if (h < 1 || h > 12) return false;
        if (h != 12) h += 12;
        Pos = S.size();
    }
    return TryEncodeTime(h, mi, s, ms, Value);
}
} // namespace

bool TryStrToDate(const QString& S, TDateTime& Value) {
    const QString t = Trim(S);
    int pos = 0;
    TDateTime v;
    if (!ParseDate(t, pos, v) || pos != t.size()) return false;
    Value = v;
    return true;
}

bool TryStrToTime(const QString& S, TDateTime& Value) {
    const QString t = Trim(S);
    int pos = 0;
    TDateTime v;
    if (!ParseTime(t, pos, v) || pos != t.size()) return false;
    Value = v;
    return true;
}

bool TryStrToDateTime(const QString& S, TDateTime& Value) {
    const QString t = Trim(S);
    int pos = 0;
    TDateTime date;
    if (!ParseDate(t, pos, date)) return TryStrToTime(t, Value);
    if (pos == t.size()) {
        Value = date;
        return true;
    }
    if (t[pos] != u' ') return false;
    while (pos < t.size() && t[pos] == u' ') ++pos;
    TDateTime time;
    if (!ParseTime(t, pos, time) || pos != t.size()) return false;
    Value = date + time;
    return true;
}

TDateTime StrToDate(const QString& S) {
    TDateTime v;
    if (!TryStrToDate(S, v)) throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
    return v;
}
TDateTime StrToTime(const QString& S) {
    TDateTime v;
    if (!TryStrToTime(S, v)) throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
    return v;
}
TDateTime StrToDateTime(const QString& S) {
    TDateTime v;
    if (!TryStrToDateTime(S, v)) throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
    return v;
}
