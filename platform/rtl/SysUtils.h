#pragma once
// Runtime basics the system's code is written against: its exception classes, number reading and
// formatting, and dates. Strings are QString throughout.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <concepts>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string_view>

// ---- exceptions ---------------------------------------------------------------------------
class Exception : public std::exception {
public:
    explicit Exception(const QString& msg) : FMessage(msg), FUtf8(msg.toUtf8()) {}
    ~Exception() override = default;
    const QString& Message() const { return FMessage; }
    void SetMessage(const QString& msg) {
        FMessage = msg;
        FUtf8 = msg.toUtf8();
    }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

#define TESSARO_DECLARE_EXCEPTION(Name, Base)                                                                          \
    class Name : public Base {                                                                                         \
    public:                                                                                                            \
        using Base::Base;                                                                                              \
    };

TESSARO_DECLARE_EXCEPTION(EConvertError, Exception)
TESSARO_DECLARE_EXCEPTION(EListError, Exception)
TESSARO_DECLARE_EXCEPTION(ERangeError, Exception)
TESSARO_DECLARE_EXCEPTION(EInvalidOperation, Exception)
TESSARO_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)
TESSARO_DECLARE_EXCEPTION(EExtGridError, Exception)
TESSARO_DECLARE_EXCEPTION(EXMLDocError, Exception)
TESSARO_DECLARE_EXCEPTION(EInOutError, Exception)
TESSARO_DECLARE_EXCEPTION(EStreamError, Exception)
TESSARO_DECLARE_EXCEPTION(EFCreateError, EStreamError)
TESSARO_DECLARE_EXCEPTION(EFOpenError, EStreamError)
TESSARO_DECLARE_EXCEPTION(EReadError, EStreamError)
TESSARO_DECLARE_EXCEPTION(EWriteError, EStreamError)
TESSARO_DECLARE_EXCEPTION(EOutOfResources, Exception)
TESSARO_DECLARE_EXCEPTION(EAbort, Exception)
TESSARO_DECLARE_EXCEPTION(EInvalidCast, Exception)

// ---- integers -----------------------------------------------------------------------------
// The system's one integer syntax: leading spaces (no other blanks), one optional sign, then
// decimal digits within the signed 32-bit range, or hexadecimal digits after "$", "x", "X",
// "0x", "0X" (at most eight, taken as a 32-bit pattern, so "$FFFFFFFF" is -1). The text must end
// right after the digits.
bool TryStrToInt(const QString& S, int& Value);
// The same syntax, one implementation, read straight from characters where they lie: UTF-16
// (QStringView) or UTF-8 (a parser's attribute text), the latter with a length or NUL-terminated.
bool TryStrToInt(QStringView S, int& Value);
bool TryStrToInt(std::string_view S, int& Value);
bool TryStrToInt(const char* S, int& Value);
int StrToIntDef(const QString& S, int Default); // anything else reads as Default
int StrToInt(const QString& S); // anything else raises EConvertError
inline int CellValue(const QString& S) { return StrToIntDef(S, -1); } // a grid cell read as a number

QString IntToStr(int64_t Value);
QString IntToHex(int64_t Value, int Digits); // upper case, at least Digits digits
QString IntToHexBits(uint64_t Pattern, int Digits);
// A 32-bit (or narrower) value shows as its 32-bit pattern, so -1 is "FFFFFFFF" as for the
// system's Integer; 64-bit values show as 64-bit patterns.
template <std::integral T>
requires(sizeof(T) < 8) QString IntToHex(T Value, int Digits) {
    return IntToHexBits(static_cast<uint32_t>(Value), Digits);
}
int MulDiv(int Number, int Numerator, int Denominator); // rounded, -1 on a zero denominator
int64_t Round(double X); // halves to even

// ---- formatting ---------------------------------------------------------------------------
// One argument of Format: an integer, a floating value or a text. A QVariant that also takes
// int64_t and uint64_t (long on this platform), which QVariant alone finds ambiguous.
class TVarRec : public QVariant {
public:
    using QVariant::QVariant;
    TVarRec(const QVariant& V) : QVariant(V) {}
    TVarRec(long V) : QVariant(static_cast<qlonglong>(V)) {}
    TVarRec(unsigned long V) : QVariant(static_cast<qulonglong>(V)) {}
};
// The %d %u %x %s %f %e %g %n %m %p %% family with width, precision, "-" and "*"; a format that
// does not match its arguments raises EConvertError (texts from language files are formats too).
QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args);
QString Format(const QString& Fmt, const QList<TVarRec>& Args);
QString Format(const QString& Fmt, const QList<QVariant>& Args);
QString FormatFloat(const QString& Fmt, double Value); // "0.00", "#,##0.0", "0.###E+00" ...
QString FloatToStr(double Value);
double StrToFloat(const QString& S); // raises EConvertError
bool TryStrToFloat(const QString& S, double& Value);

// ---- text ---------------------------------------------------------------------------------
QString Trim(const QString& S); // removes characters <= ' ' at both ends
QString TrimLeft(const QString& S);
QString TrimRight(const QString& S);
QString UpperCase(const QString& S);
QString LowerCase(const QString& S);
int CompareText(const QString& A, const QString& B); // case-insensitive
bool SameText(const QString& A, const QString& B);
QString StringOfChar(QChar C, int Count);
int Pos(const QString& Sub, const QString& S); // 1-based, 0 when absent
QString Copy(const QString& S, int Index1, int Count); // 1-based, clipped to the text

// ---- dates --------------------------------------------------------------------------------
using TDateTime = double; // days since 1899-12-30, time as the fraction

struct TFormatSettings {
    QChar DecimalSeparator = '.';
    QChar ThousandSeparator = ',';
    QChar DateSeparator = '/';
    QChar TimeSeparator = ':';
    QString ShortDateFormat = "dd/mm/yyyy";
    QString LongDateFormat = "dddd, d mmmm yyyy";
    QString ShortTimeFormat = "hh:nn";
    QString LongTimeFormat = "hh:nn:ss";
    QString TimeAMString = "AM";
    QString TimePMString = "PM";
    QString ShortMonthNames[12];
    QString LongMonthNames[12];
    QString ShortDayNames[7];
    QString LongDayNames[7];
    TFormatSettings();
};
// Filled from the user's locale when the program starts (the C locale keeps the defaults above);
// tests set FormatSettings themselves.
extern TFormatSettings FormatSettings;
void InitFormatSettingsFromLocale(); // reads the locale again

TDateTime EncodeDate(int Year, int Month, int Day); // raises EConvertError
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec); // raises EConvertError
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value);
void DecodeDate(TDateTime D, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime D, int& Hour, int& Min, int& Sec, int& MSec);
int DayOfWeek(TDateTime D); // 1 = Sunday
TDateTime Now(); // through the clock service (Clock.h)
TDateTime Date();
TDateTime Time();
QString FormatDateTime(const QString& Fmt, TDateTime D);
QString DateToStr(TDateTime D);
QString TimeToStr(TDateTime D);
QString DateTimeToStr(TDateTime D);
TDateTime StrToDate(const QString& S); // raise EConvertError
TDateTime StrToTime(const QString& S);
TDateTime StrToDateTime(const QString& S);
bool TryStrToDate(const QString& S, TDateTime& Value);
bool TryStrToTime(const QString& S, TDateTime& Value);
bool TryStrToDateTime(const QString& S, TDateTime& Value);
