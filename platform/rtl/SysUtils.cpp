#include "platform/rtl/SysUtils.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

// ---- integers -----------------------------------------------------------------------------

namespace {
int HexDigit(char32_t U) {
    if (U >= '0' && U <= '9') return int(U - '0');
    if (U >= 'A' && U <= 'F') return int(U - 'A' + 10);
    if (U >= 'a' && U <= 'f') return int(U - 'a' + 10);
    return -1;
}

// The integer syntax over any character type: UTF-16 code units or UTF-8 bytes, the text ending
// where AtEnd says (its length, or a NUL for the parser's texts). Every character the syntax
// accepts is ASCII, so a text reads the same in either encoding, and anything beyond ASCII (a
// lead or trail byte, a surrogate) is simply not a digit.
template <typename Char, typename TAtEnd>
bool ParseInt(const Char* P, TAtEnd AtEnd, int& Value) {
    using U = std::make_unsigned_t<Char>;
    const auto Digit = [](Char C) { return uint32_t(U(C)) - uint32_t('0'); }; // above 9: no digit
    const auto HexPrefix = [&AtEnd](const Char* Q) {
        // "0x" needs its second character before it counts as a prefix: "0" alone is a number.
        return *Q == '$' || *Q == 'x' || *Q == 'X' || (*Q == '0' && !AtEnd(Q + 1) && (Q[1] == 'x' || Q[1] == 'X'));
    };
    bool negative = false;
    // A plain decimal number, the usual text, goes straight to its digits.
    if (AtEnd(P) || Digit(*P) > 9 || HexPrefix(P)) {
        while (!AtEnd(P) && *P == ' ') ++P;
        if (!AtEnd(P) && (*P == '+' || *P == '-')) {
            negative = *P == '-';
            ++P;
        }
        if (AtEnd(P)) return false;
        if (HexPrefix(P)) {
            P += *P == '0' ? 2 : 1;
            if (AtEnd(P)) return false;
            uint32_t pattern = 0;
            int significant = 0; // leading zeros do not count towards the eight digits
            for (; !AtEnd(P); ++P) {
                const int d = HexDigit(U(*P));
                if (d < 0) return false;
                if (significant == 0 && d == 0) continue;
                if (++significant > 8) return false;
                pattern = (pattern << 4) | static_cast<uint32_t>(d);
            }
            // The digits are a 32-bit pattern; a sign in front negates it with wrap-around.
            if (negative) pattern = 0u - pattern;
            Value = static_cast<int>(pattern);
            return true;
        }
    }

    // Decimal: the magnitude may reach 2147483648, which only a minus sign brings into range.
    constexpr int64_t Limit = int64_t(std::numeric_limits<int>::max()) + 1;
    int64_t acc = 0;
    for (; !AtEnd(P); ++P) {
        const uint32_t d = Digit(*P);
        if (d > 9) return false;
        acc = acc * 10 + d;
        if (acc > Limit) return false;
    }
    if (negative) acc = -acc;
    if (acc == Limit) return false;
    Value = static_cast<int>(acc);
    return true;
}
} // namespace

bool TryStrToInt(const QString& S, int& Value) { return TryStrToInt(QStringView(S), Value); }

bool TryStrToInt(QStringView S, int& Value) {
    const char16_t* End = S.utf16() + S.size();
    return ParseInt(
        S.utf16(), [End](const char16_t* P) { return P == End; }, Value);
}

bool TryStrToInt(std::string_view S, int& Value) {
    const char* End = S.data() + S.size();
    return ParseInt(
        S.data(), [End](const char* P) { return P == End; }, Value);
}

bool TryStrToInt(const char* S, int& Value) {
    return ParseInt(
        S, [](const char* P) { return *P == 0; }, Value);
}

int StrToIntDef(const QString& S, int Default) {
    int v;
    return TryStrToInt(S, v) ? v : Default;
}

int StrToInt(const QString& S) {
    int v;
    if (!TryStrToInt(S, v)) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return v;
}

QString IntToStr(int64_t Value) { return QString::number(static_cast<qlonglong>(Value)); }

QString IntToHexBits(uint64_t Pattern, int Digits) {
    QString s = QString::number(static_cast<qulonglong>(Pattern), 16).toUpper();
    if (s.size() < Digits) s = QString(Digits - s.size(), u'0') + s;
    return s;
}

QString IntToHex(int64_t Value, int Digits) { return IntToHexBits(static_cast<uint64_t>(Value), Digits); }

int MulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0) return -1;
    const int64_t product = int64_t(Number) * int64_t(Numerator);
    int64_t q = product / Denominator;
    const int64_t r = product % Denominator;
    // Round half away from zero.
    if (2 * std::llabs(r) >= std::llabs(int64_t(Denominator))) q += ((product < 0) != (Denominator < 0)) ? -1 : 1;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
    return static_cast<int>(q);
}

int64_t Round(double X) {
    if (!std::isfinite(X) || X >= 9223372036854775808.0 || X < -9223372036854775808.0)
        throw ERangeError(QStringLiteral("Floating point value %1 cannot be rounded to an integer").arg(X));
    const double fl = std::floor(X);
    const double diff = X - fl;
    double r;
    if (diff > 0.5)
        r = fl + 1;
    else if (diff < 0.5)
        r = fl;
    else
        r = (std::fmod(fl, 2.0) == 0.0) ? fl : fl + 1;
    return static_cast<int64_t>(r);
}

// ---- floating-point text --------------------------------------------------------------------

namespace {
QString WithDecimalSeparator(QString s) {
    if (FormatSettings.DecimalSeparator != u'.') s.replace(u'.', FormatSettings.DecimalSeparator);
    return s;
}

QString NonFinite(double v) {
    if (std::isnan(v)) return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Inserts the thousand separator into the integer digits of a plain "-123456.78" text.
// The result carries the separators in force.
QString GroupThousands(const QString& plain) {
    int start = plain.startsWith(u'-') ? 1 : 0;
    int end = plain.indexOf(u'.');
    if (end < 0) end = plain.size();
    QString out = plain.left(start);
    const QString intPart = plain.mid(start, end - start);
    for (int i = 0; i < intPart.size(); ++i) {
        if (i > 0 && (intPart.size() - i) % 3 == 0) out += FormatSettings.ThousandSeparator;
        out += intPart[i];
    }
    if (end < plain.size()) out += FormatSettings.DecimalSeparator + plain.mid(end + 1);
    return out;
}

// General format: up to Precision significant digits, no trailing zeros, scientific notation
// ("1.5E20", "1E-5") when the exponent is below -5 or not below the precision.
QString GeneralFloat(double v, int Precision) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (v == 0) return QStringLiteral("0");
    if (Precision < 1) Precision = 1;
    if (Precision > 17) Precision = 17;
    QString e = QString::number(v, 'e', Precision - 1); // -d.ddddde+xx
    const int ePos = e.indexOf(u'e');
    QString mant = e.left(ePos);
    const int exp = e.mid(ePos + 1).toInt();
    const bool neg = mant.startsWith(u'-');
    if (neg) mant.remove(0, 1);
    QString digits = mant;
    digits.remove(u'.');
    while (digits.size() > 1 && digits.endsWith(u'0')) digits.chop(1);
    QString out;
    if (exp >= Precision || exp < -5) {
        out = digits.left(1);
        if (digits.size() > 1) out += u'.' + digits.mid(1);
        out += u'E' + QString::number(exp);
    } else if (exp < 0) {
        out = QStringLiteral("0.") + QString(-exp - 1, u'0') + digits;
    } else {
        if (digits.size() <= exp + 1) {
            out = digits + QString(exp + 1 - digits.size(), u'0');
        } else {
            out = digits.left(exp + 1) + u'.' + digits.mid(exp + 1);
        }
    }
    return WithDecimalSeparator((neg ? QStringLiteral("-") : QString()) + out);
}

QString ScientificFloat(double v, int Precision) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (Precision < 1) Precision = 1;
    if (Precision > 18) Precision = 18;
    QString e = QString::number(v, 'e', Precision - 1);
    const int ePos = e.indexOf(u'e');
    const int exp = e.mid(ePos + 1).toInt();
    QString expText = QString::number(std::abs(exp)).rightJustified(3, u'0');
    return WithDecimalSeparator(e.left(ePos)) + (exp < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) + expText;
}

QString FixedFloat(double v, int Decimals, bool Thousands) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (Decimals > 18) Decimals = 18;
    QString s = QString::number(v, 'f', Decimals);
    // No "-0.00": a value that rounds to zero shows without a sign.
    if (s.startsWith(u'-')) {
        bool allZero = true;
        for (int i = 1; i < s.size(); ++i)
            if (s[i] != u'0' && s[i] != u'.') {
                allZero = false;
                break;
            }
        if (allZero) s.remove(0, 1);
    }
    return Thousands ? GroupThousands(s) : WithDecimalSeparator(s);
}
} // namespace

QString FloatToStr(double Value) { return GeneralFloat(Value, 15); }

bool TryStrToFloat(const QString& S, double& Value) {
    const QString t = Trim(S);
    if (t.isEmpty()) return false;
    // Accept exactly: [sign] digits [sep digits] [(e|E) [sign] digits], with the separator in force.
    int i = 0;
    const int n = t.size();
    QByteArray plain;
    if (t[i] == u'+' || t[i] == u'-') plain += char(t[i++].unicode());
    int mantDigits = 0;
    while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
        plain += char(t[i++].unicode());
        ++mantDigits;
    }
    if (i < n && t[i] == FormatSettings.DecimalSeparator) {
        plain += '.';
        ++i;
        while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
            plain += char(t[i++].unicode());
            ++mantDigits;
        }
    }
    if (mantDigits == 0) return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        plain += 'e';
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) plain += char(t[i++].unicode());
        int expDigits = 0;
        while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
            plain += char(t[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    Value = v;
    return true;
}

double StrToFloat(const QString& S) {
    double v;
    if (!TryStrToFloat(S, v)) throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
    return v;
}

// ---- Format -------------------------------------------------------------------------------

namespace {
bool IsIntegerArg(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::SChar:
        case QMetaType::UChar: return true;
        default: return false;
    }
}
bool IsWideInteger(const QVariant& v) {
    const int id = v.metaType().id();
    return id == QMetaType::LongLong || id == QMetaType::ULongLong || id == QMetaType::Long || id == QMetaType::ULong;
}
bool IsFloatArg(const QVariant& v) {
    const int id = v.metaType().id();
    return id == QMetaType::Double || id == QMetaType::Float;
}
bool IsTextArg(const QVariant& v) {
    const int id = v.metaType().id();
    return id == QMetaType::QString || id == QMetaType::QChar || id == QMetaType::QByteArray;
}
QString TextArg(const QVariant& v) {
    if (v.metaType().id() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
    return v.toString();
}
} // namespace

QString Format(const QString& Fmt, const QList<TVarRec>& Args) {
    auto fail = [&]() -> EConvertError {
        return EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Fmt));
    };
    QString out;
    int argIndex = 0;
    const int n = Fmt.size();
    int i = 0;
    auto nextArg = [&]() -> const QVariant& {
        if (argIndex < 0 || argIndex >= Args.size()) throw fail();
        return Args[argIndex++];
    };
    // A number or "*" (taken from the arguments); -1 when neither is there.
    auto readNumber = [&]() -> int {
        if (i < n && Fmt[i] == u'*') {
            ++i;
            const QVariant& a = nextArg();
            if (!IsIntegerArg(a)) throw fail();
            const qlonglong v = a.toLongLong();
            if (v < 0 || v > 100000) throw fail();
            return int(v);
        }
        if (i >= n || !(Fmt[i] >= u'0' && Fmt[i] <= u'9')) return -1;
        int64_t v = 0;
        while (i < n && Fmt[i] >= u'0' && Fmt[i] <= u'9') {
            v = v * 10 + (Fmt[i].unicode() - '0');
            if (v > 100000) throw fail();
            ++i;
        }
        return int(v);
    };

    while (i < n) {
        const QChar c = Fmt[i];
        if (c != u'%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= n) throw fail();
        if (Fmt[i] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        // %[index:][-][width][.prec]type
        int number = readNumber();
        if (i < n && Fmt[i] == u':') {
            if (number < 0) throw fail();
            argIndex = number;
            ++i;
            number = -1;
        }
        bool left = false;
        if (number < 0 && i < n && Fmt[i] == u'-') {
            left = true;
            ++i;
        }
        int width = number >= 0 ? number : readNumber();
        int prec = -1;
        if (i < n && Fmt[i] == u'.') {
            ++i;
            prec = readNumber();
            if (prec < 0) throw fail();
        }
        if (i >= n) throw fail();
        const QChar type = Fmt[i].toLower();
        ++i;
        const QVariant& arg = nextArg();
        QString piece;
        switch (type.unicode()) {
            case 'd':
            case 'u':
            case 'x': {
                if (!IsIntegerArg(arg)) throw fail();
                const bool wide = IsWideInteger(arg);
                const bool unsignedArg =
                    arg.metaType().id() == QMetaType::ULongLong || arg.metaType().id() == QMetaType::ULong;
                QString digits;
                bool neg = false;
                if (type == u'd') {
                    if (unsignedArg) {
                        digits = QString::number(arg.toULongLong());
                    } else {
                        const qlonglong v = arg.toLongLong();
                        neg = v < 0;
                        digits = QString::number(v);
                        if (neg) digits.remove(0, 1);
                    }
                } else {
                    // %u and %x show the value's bit pattern at its own width.
                    const uint64_t bits = wide ? uint64_t(arg.toULongLong()) : uint64_t(uint32_t(arg.toLongLong()));
                    digits = type == u'u' ? QString::number(qulonglong(bits))
                                          : QString::number(qulonglong(bits), 16).toUpper();
                }
                if (prec > digits.size()) digits = QString(prec - digits.size(), u'0') + digits;
                piece = neg ? u'-' + digits : digits;
                break;
            }
            case 'f':
            case 'e':
            case 'g':
            case 'n':
            case 'm': {
                if (!IsFloatArg(arg)) throw fail();
                const double v = arg.toDouble();
                if (type == u'f')
                    piece = FixedFloat(v, prec < 0 ? 2 : prec, false);
                else if (type == u'n' || type == u'm')
                    piece = FixedFloat(v, prec < 0 ? 2 : prec, true);
                else if (type == u'e')
                    piece = ScientificFloat(v, prec < 0 ? 15 : prec);
                else
                    piece = GeneralFloat(v, prec < 0 ? 15 : prec);
                break;
            }
            case 's': {
                if (!IsTextArg(arg)) throw fail();
                piece = TextArg(arg);
                if (prec >= 0 && piece.size() > prec) piece.truncate(prec);
                break;
            }
            case 'p': {
                if (arg.metaType().id() == QMetaType::VoidStar)
                    piece = IntToHexBits(reinterpret_cast<quintptr>(arg.value<void*>()), 16);
                else if (IsIntegerArg(arg))
                    piece = IntToHexBits(arg.toULongLong(), 16);
                else
                    throw fail();
                break;
            }
            default: throw fail();
        }
        if (width > piece.size()) piece = left ? piece.leftJustified(width, u' ') : piece.rightJustified(width, u' ');
        out += piece;
    }
    return out;
}

QString Format(const QString& Fmt, std::initializer_list<TVarRec> Args) { return Format(Fmt, QList<TVarRec>(Args)); }

QString Format(const QString& Fmt, const QList<QVariant>& Args) {
    QList<TVarRec> args;
    args.reserve(Args.size());
    for (const QVariant& a : Args) args.append(a);
    return Format(Fmt, args);
}

// ---- FormatFloat --------------------------------------------------------------------------

namespace {
// One section of a FormatFloat pattern, split into literal text and placeholders.
struct TFloatPattern {
    QString Text; // the section as written
    int IntPlaceholders = 0;
    int MinIntDigits = 0; // placeholders from the first '0' before the point
    int MinDecimals = 0;
    int MaxDecimals = 0;
    bool Thousands = false;
    bool Scientific = false;
    bool ExpAlwaysSign = false;
    int ExpDigits = 0;
};

QStringList SplitSections(const QString& Fmt) {
    QStringList sections;
    QString cur;
    QChar quote;
    for (QChar c : Fmt) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            cur += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            cur += c;
        } else if (c == u';') {
            sections << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    sections << cur;
    return sections;
}

TFloatPattern AnalysePattern(const QString& s) {
    TFloatPattern p;
    p.Text = s;
    bool afterPoint = false;
    bool seenZero = false;
    QChar quote;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            continue;
        }
        if (p.Scientific) continue;
        if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++p.MaxDecimals;
                if (c == u'0') p.MinDecimals = p.MaxDecimals;
            } else {
                ++p.IntPlaceholders;
                if (c == u'0') seenZero = true;
                if (seenZero) ++p.MinIntDigits;
            }
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',') {
            if (!afterPoint) p.Thousands = true;
        } else if ((c == u'E' || c == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            p.Scientific = true;
            p.ExpAlwaysSign = s[i + 1] == u'+';
            int j = i + 2;
            while (j < s.size() && s[j] == u'0') {
                ++p.ExpDigits;
                ++j;
            }
        }
    }
    return p;
}

// Fills the placeholders of a section with the digits of a non-negative value.
QString ApplyPattern(const TFloatPattern& p, double absValue) {
    QString intDigits, fracDigits, expText;
    if (p.Scientific) {
        const int intCount = std::max(1, p.IntPlaceholders);
        // Round on the decimal digits of the value itself, so 1234.5 gives 1.235E+03.
        const QString e = QString::number(absValue, 'e', std::min(intCount + p.MaxDecimals - 1, 17));
        const int ePos = e.indexOf(u'e');
        QString digits = e.left(ePos);
        digits.remove(u'.');
        int exp = absValue == 0 ? 0 : e.mid(ePos + 1).toInt() - (intCount - 1);
        intDigits = digits.left(intCount);
        fracDigits = digits.mid(intCount);
        expText = QString::number(std::abs(exp)).rightJustified(p.ExpDigits, u'0');
        if (exp < 0)
            expText = u'-' + expText;
        else if (p.ExpAlwaysSign)
            expText = u'+' + expText;
    } else {
        const QString f = QString::number(absValue, 'f', p.MaxDecimals);
        const int dot = f.indexOf(u'.');
        intDigits = dot < 0 ? f : f.left(dot);
        fracDigits = dot < 0 ? QString() : f.mid(dot + 1);
    }
    while (fracDigits.size() > p.MinDecimals && fracDigits.endsWith(u'0')) fracDigits.chop(1);
    if (intDigits == QStringLiteral("0") && p.MinIntDigits == 0) intDigits.clear();
    if (intDigits.size() < p.MinIntDigits) intDigits = QString(p.MinIntDigits - intDigits.size(), u'0') + intDigits;

    const QString& s = p.Text;
    // Find where the integer part of the pattern ends: the point, the exponent or the end.
    int intEnd = s.size();
    {
        QChar quote;
        for (int i = 0; i < s.size(); ++i) {
            const QChar c = s[i];
            if (!quote.isNull()) {
                if (c == quote) quote = QChar();
                continue;
            }
            if (c == u'\'' || c == u'"') {
                quote = c;
                continue;
            }
            if (c == u'.' || ((c == u'E' || c == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-'))) {
                intEnd = i;
                break;
            }
        }
    }
    // Integer part, right to left: the leftmost placeholder takes every remaining digit.
    int firstPlaceholder = -1;
    {
        QChar quote;
        for (int i = 0; i < intEnd; ++i) {
            const QChar c = s[i];
            if (!quote.isNull()) {
                if (c == quote) quote = QChar();
                continue;
            }
            if (c == u'\'' || c == u'"') {
                quote = c;
                continue;
            }
            if (c == u'0' || c == u'#') {
                firstPlaceholder = i;
                break;
            }
        }
    }
    // Literal pieces of the integer part with their positions (quotes resolved).
    struct Piece {
        bool placeholder;
        QString text;
    };
    QList<Piece> pieces;
    {
        QChar quote;
        for (int i = 0; i < intEnd; ++i) {
            const QChar c = s[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                else
                    pieces.append({false, QString(c)});
                continue;
            }
            if (c == u'\'' || c == u'"') {
                quote = c;
                continue;
            }
            if (c == u'0' || c == u'#')
                pieces.append({true, QString(i == firstPlaceholder ? u'F' : u'P')});
            else if (c != u',')
                pieces.append({false, QString(c)});
        }
    }
    QString intOut;
    int k = intDigits.size() - 1;
    int emitted = 0;
    auto emitDigit = [&](QChar d) {
        if (p.Thousands && emitted > 0 && emitted % 3 == 0) intOut.prepend(FormatSettings.ThousandSeparator);
        intOut.prepend(d);
        ++emitted;
    };
    for (int j = pieces.size() - 1; j >= 0; --j) {
        const Piece& pc = pieces[j];
        if (!pc.placeholder) {
            intOut.prepend(pc.text);
            continue;
        }
        if (pc.text == QStringLiteral("F")) {
            while (k >= 0) emitDigit(intDigits[k--]);
        } else if (k >= 0) {
            emitDigit(intDigits[k--]);
        }
    }
    if (firstPlaceholder < 0) {
        // No integer placeholder: the digits go just before the point.
        QString digitsOnly;
        while (k >= 0) {
            digitsOnly.prepend(intDigits[k--]);
        }
        intOut += digitsOnly;
    }

    // Fraction and exponent, left to right.
    QString rest;
    int fi = 0;
    bool pointWritten = false;
    QChar quote;
    for (int i = intEnd; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                rest += c;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            continue;
        }
        if (c == u'.') {
            if (!pointWritten && !fracDigits.isEmpty()) rest += FormatSettings.DecimalSeparator;
            pointWritten = true;
        } else if (c == u'0' || c == u'#') {
            if (fi < fracDigits.size()) rest += fracDigits[fi++];
        } else if (c == u',') {
        } else if ((c == u'E' || c == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            rest += c;
            rest += expText;
            i += 1;
            while (i + 1 < s.size() && s[i + 1] == u'0') ++i;
        } else {
            rest += c;
        }
    }
    return intOut + rest;
}
} // namespace

QString FormatFloat(const QString& Fmt, double Value) {
    if (!std::isfinite(Value)) return NonFinite(Value);
    if (Fmt.isEmpty()) return FloatToStr(Value);
    const QStringList sections = SplitSections(Fmt);
    const TFloatPattern positive = AnalysePattern(sections[0]);
    // Zero is judged after rounding to the first section's decimals.
    const double rounded = std::abs(QString::number(Value, 'f', std::min(positive.MaxDecimals, 18)).toDouble());
    if (!positive.Scientific && rounded == 0 && sections.size() >= 3 && !sections[2].isEmpty())
        return ApplyPattern(AnalysePattern(sections[2]), 0);
    if (Value < 0 && sections.size() >= 2 && !sections[1].isEmpty())
        return ApplyPattern(AnalysePattern(sections[1]), -Value);
    QString out = ApplyPattern(positive, std::abs(Value));
    if (Value < 0 && (positive.Scientific || rounded != 0)) out.prepend(u'-');
    return out;
}

// ---- text ---------------------------------------------------------------------------------

QString Trim(const QString& S) {
    int b = 0, e = S.size();
    while (b < e && S[b].unicode() <= ' ') ++b;
    while (e > b && S[e - 1].unicode() <= ' ') --e;
    return S.mid(b, e - b);
}
QString TrimLeft(const QString& S) {
    int b = 0;
    while (b < S.size() && S[b].unicode() <= ' ') ++b;
    return S.mid(b);
}
QString TrimRight(const QString& S) {
    int e = S.size();
    while (e > 0 && S[e - 1].unicode() <= ' ') --e;
    return S.left(e);
}
QString UpperCase(const QString& S) { return S.toUpper(); }
QString LowerCase(const QString& S) { return S.toLower(); }
int CompareText(const QString& A, const QString& B) { return QString::compare(A, B, Qt::CaseInsensitive); }
bool SameText(const QString& A, const QString& B) { return CompareText(A, B) == 0; }
QString StringOfChar(QChar C, int Count) { return Count > 0 ? QString(Count, C) : QString(); }
int Pos(const QString& Sub, const QString& S) {
    if (Sub.isEmpty()) return 0;
    return S.indexOf(Sub) + 1;
}
QString Copy(const QString& S, int Index1, int Count) {
    if (Index1 < 1) Index1 = 1;
    if (Count <= 0 || Index1 > S.size()) return QString();
    return S.mid(Index1 - 1, Count);
}
