#include "grid/base/ExtUtil.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace {

const QChar CR = QChar(13);
const QChar LF = QChar(10);
const QChar VT = QChar(11);
const QChar Quote = QChar('"');

// Upper case one UTF-16 unit at a time, so positions found in the result hold in the original
// (full case mapping would turn one "ß" into "SS" and shift everything after it).
QString UpperSameLength(const QString& S) {
    QString R(S);
    for (QChar& C : R) C = C.toUpper();
    return R;
}

// 1-based position of Sub in S at or after the 0-based From; 0 when absent or Sub is empty.
int PosFrom(const QString& Sub, const QString& S, int From = 0) {
    if (Sub.isEmpty()) return 0;
    const int I = S.indexOf(Sub, From);
    return I < 0 ? 0 : I + 1;
}

// A number in "." notation whatever the locale, with blanks around it allowed the way the
// runtime's own float conversion allows them (cell texts often carry a trailing blank).
bool StrictFloat(const QString& Text, double& Value) {
    const QString S = Trim(Text);
    if (S.isEmpty()) return false;
    for (QChar C : S) {
        const char16_t U = C.unicode();
        if (!((U >= '0' && U <= '9') || U == '+' || U == '-' || U == '.' || U == 'e' || U == 'E')) return false;
    }
    bool Ok = false;
    const double V = QLocale::c().toDouble(S, &Ok);
    if (!Ok || !std::isfinite(V)) return false;
    Value = V;
    return true;
}

// A date with a time of day: the time fraction counts away from the epoch for dates before it.
TDateTime CombineDateTime(TDateTime D, TDateTime T) { return D < 0 ? D - T : D + T; }

TDateTime TimeOfDay(TDateTime D) { return std::fabs(D - std::trunc(D)); }

} // namespace

// ---- format accessors ------------------------------------------------------------------------
QChar UtilTimeSeparator() { return FormatSettings.TimeSeparator; }
QChar UtilDateSeparator() { return FormatSettings.DateSeparator; }
QChar UtilThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar UtilDecimalSeparator() { return FormatSettings.DecimalSeparator; }
QString UtilShortDateFormat() { return FormatSettings.ShortDateFormat; }

// ---- integers --------------------------------------------------------------------------------
int IntMax(int a, int b) { return a > b ? a : b; }
int IntMin(int a, int b) { return a < b ? a : b; }

int ClampToLimits(int Value, int Min, int Max) {
    if (Min == Max) return Value;
    if (Max > 0 && Value > Max) return Max;
    if (Min > 0 && Value < Min) return Min;
    return Value;
}

// ---- searching and cutting -------------------------------------------------------------------
int UpperPos(const QString& Needle, const QString& Text) { return PosFrom(Needle, UpperSameLength(Text)); }

int PosVar(const QString& Needle, const QString& Text, int& Pos) {
    Pos = PosFrom(Needle, Text);
    return Pos;
}

int CharPos(QChar Ch, const QString& Text) { return Text.indexOf(Ch) + 1; }

int CharPosVar(QChar Ch, const QString& Text, int& Pos) {
    const int P = CharPos(Ch, Text);
    if (P > 0) Pos = P;
    return P;
}

QString CutField(QString& Text, const QString& Delimiter) {
    const int P = PosFrom(Delimiter, Text);
    if (P == 0) return QString();
    const QString Field = Text.left(P - 1);
    Text.remove(0, P);
    return Field;
}

QString ConcatLines(const QStringList& Lines) { return Lines.join(QString()); }
QString ConcatLines(const TStrings& Lines) { return ConcatLines(Lines.ToStringList()); }

int WidePos(const QString& Needle, const QString& Text) { return PosFrom(Needle, Text); }

namespace {
// 0-based index (in S) of the unpaired Ch found from From on, -1 when none.
int UnpairedIndex(QChar Ch, const QChar* S, int From, int N) {
    int I = From;
    while (I < N) {
        if (S[I] != Ch) {
            ++I;
            continue;
        }
        int J = I;
        while (J < N && S[J] == Ch) ++J;
        if (J == N) return N - 1;
        if ((J - I) % 2 == 1) return J - 1;
        I = J;
    }
    return -1;
}
} // namespace

int FindUnpairedChar(QChar Ch, const QString& Text, int& Pos) {
    Pos = UnpairedIndex(Ch, Text.constData(), 0, Text.size()) + 1;
    return Pos;
}

int CountUnpairedChar(QChar Ch, const QString& Text) {
    int Count = 0;
    int From = 0;
    for (;;) {
        const int I = UnpairedIndex(Ch, Text.constData(), From, Text.size());
        if (I < 0) break;
        ++Count;
        From = I + 1;
    }
    return Count;
}

int CountChar(QChar Ch, const QString& Text) { return int(Text.count(Ch)); }

int LineCount(const QString& Text, bool MultiLine) { return MultiLine ? 1 + int(Text.count(CR)) : 1; }

void ExtractFirstLine(QString& Text, bool KeepRest, QString& Line) {
    const int I = Text.indexOf(CR);
    if (I < 0) {
        Line = Text;
        Text.clear();
        return;
    }
    Line = Text.left(I);
    int RestFrom = I + 1;
    if (RestFrom < Text.size() && Text.at(RestFrom) == LF) ++RestFrom;
    if (KeepRest)
        Text.remove(0, RestFrom);
    else
        Text.clear();
}

// ---- line breaks and characters ----------------------------------------------------------------
QString UnescapeLineBreaks(const QString& Text) {
    QString R(Text);
    R.replace(QStringLiteral("\\n"), QString(CR));
    return R;
}

QString EscapeLineBreaks(const QString& Text) {
    QString R;
    R.reserve(Text.size() + 8);
    for (QChar C : Text) {
        if (C == CR)
            R += QStringLiteral("\\n");
        else if (C != LF)
            R += C;
    }
    return R;
}

QString StripCR(const QString& Text) {
    QString R(Text);
    R.remove(CR);
    return R;
}

QString CRToLF(const QString& Text) {
    QString R(Text);
    R.replace(CR, LF);
    return R;
}

void FillWithChar(QString& Text, QChar Ch) { Text.fill(Ch); }

// ---- URLs and cell references ----------------------------------------------------------------
bool IsURLText(const QString& Text) {
    return Text.contains(QStringLiteral("://")) || Text.contains(QStringLiteral("mailto:"));
}

void StripURLScheme(QString& Text) {
    int P = Text.indexOf(QStringLiteral("://"));
    if (P >= 0) {
        Text.remove(0, P + 3);
        return;
    }
    P = Text.indexOf(QStringLiteral("mailto:"));
    if (P >= 0) Text.remove(0, P + 7);
}

bool ParseRCCellRef(const QString& Text, TPoint& Cell) {
    const QString S = UpperSameLength(Text);
    if (S.size() < 4 || S.at(0) != QChar('R')) return false;
    const int C = S.indexOf(QChar('C'));
    if (C < 0) return false;
    int Row = 0;
    int Col = 0;
    if (!TryStrToInt(S.mid(1, C - 1), Row) || !TryStrToInt(S.mid(C + 1), Col)) return false;
    Cell.X = Col;
    Cell.Y = Row;
    return true;
}

// ---- numbers ---------------------------------------------------------------------------------
bool IsNumberChar(QChar Ch) { return Ch.isDigit(); }
bool IsNumberOrMinus(QChar Ch) { return IsNumberChar(Ch) || Ch == QChar('-'); }

bool IsNumberPart(QChar Ch) {
    return IsNumberChar(Ch) || Ch == UtilThousandSeparator() || Ch == UtilDecimalSeparator() || Ch == QChar('e') ||
        Ch == QChar('E');
}

bool IsSignedNumberPart(QChar Ch) { return IsNumberPart(Ch) || Ch == QChar('+') || Ch == QChar('-'); }

bool IsNumberTextChar(QChar Ch) {
    return IsNumberChar(Ch) || Ch == QChar('-') || Ch == QChar('.') || Ch == QChar('e') || Ch == QChar('E') ||
        Ch == QChar('+');
}

QString NormalizeNumberText(const QString& Text) {
    if (Text.isEmpty()) return QString();
    QString S = Trim(Text);
    bool Negative = S.startsWith(QChar('(')) && S.endsWith(QChar(')'));
    // A leading unit or currency is skipped up to the first digit or separator; an exponent
    // letter cannot start a number, so "EUR -12" reads as -12.
    int Start = 0;
    while (S.size() - Start >= 2) {
        const QChar C = S.at(Start);
        if (IsNumberChar(C) || C == UtilThousandSeparator() || C == UtilDecimalSeparator()) break;
        if (C == QChar('-')) Negative = true;
        ++Start;
    }
    QString R;
    R.reserve(S.size() - Start + 1);
    if (Negative) R += QChar('-');
    const QChar Thousand = UtilThousandSeparator();
    const QChar Decimal = UtilDecimalSeparator();
    for (int I = Start; I < S.size(); ++I) {
        const QChar C = S.at(I);
        if (C == Thousand) continue;
        if (C == Decimal)
            R += QChar('.');
        else if (IsNumberTextChar(C))
            R += C;
        else
            break;
    }
    return R;
}

int ClassifyNumber(const QString& Text) {
    if (Text.isEmpty()) return 2;
    const QChar Thousand = UtilThousandSeparator();
    const QChar Decimal = UtilDecimalSeparator();
    const int N = Text.size();
    bool IntegerForm = true;
    bool DecimalForm = true;
    bool ExponentForm = true;
    int Minus = 0;
    int Decimals = 0;
    int Exponents = 0;
    int LastThousand = 0; // 1-based position of the previous thousand separator, 0 none
    for (int I = 1; I <= N; ++I) {
        const QChar C = Text.at(I - 1);
        const bool Digit = IsNumberChar(C);
        if (C == QChar('-')) {
            ++Minus;
            if (I > 1) {
                IntegerForm = false;
                DecimalForm = false;
            }
        } else if (!Digit) {
            IntegerForm = false;
        }
        if (!Digit && C != QChar('-')) {
            if (C == Thousand || C == Decimal) {
                // Groups of three digits: a separator after a thousand separator comes more
                // than three positions later.
                if (LastThousand > 0 && I - LastThousand <= 3) DecimalForm = false;
                if (C == Thousand) LastThousand = I;
            } else {
                DecimalForm = false;
            }
        }
        if (C == Decimal) ++Decimals;
        if (C == QChar('e') || C == QChar('E')) {
            ++Exponents;
            if (I == 1) ExponentForm = false;
        }
        if (!IsSignedNumberPart(C) || C == Thousand) ExponentForm = false;
    }
    if (Exponents != 1) ExponentForm = false;
    const QChar Last = Text.at(N - 1);
    if (Last == QChar('+') || Last == QChar('-') || Last == QChar('e') || Last == QChar('E')) ExponentForm = false;

    int Result;
    if (IntegerForm)
        Result = 0;
    else if (DecimalForm && Exponents == 0)
        Result = 1;
    else
        Result = 2;
    if (ExponentForm) {
        Result = 5;
        if (Minus == 2) Minus = 1;
    }
    if (Minus > 1 || Decimals > 1) Result = 2;
    return Result;
}

// ---- names and dates -------------------------------------------------------------------------
bool IsWordBreakChar(QChar Ch) {
    return Ch == QChar(' ') || Ch == QChar('\'') || Ch == QChar(',') || Ch == QChar('-') || Ch == QChar('.');
}

QString ProperCase(const QString& Text) {
    QString R(Text);
    const int N = R.size();
    for (int I = 0; I < N; ++I) {
        if (I == 0 || IsWordBreakChar(Text.at(I - 1)))
            R[I] = R.at(I).toUpper();
        else
            R[I] = R.at(I).toLower();
    }
    if (N > 2 && R.startsWith(QStringLiteral("Mc"))) R[2] = R.at(2).toUpper();
    const int Mc = R.indexOf(QStringLiteral(" Mc"));
    if (Mc >= 0 && Mc + 3 < N) R[Mc + 3] = R.at(Mc + 3).toUpper();
    // Roman numerals at the end: "henry iii" -> "Henry III".
    for (int I = IntMax(0, N - 3); I < N; ++I) {
        const bool AfterI = I >= 2 && R.at(I - 2) == QChar(' ') && R.at(I - 1) == QChar('I');
        const bool AfterII =
            I >= 3 && R.at(I - 3) == QChar(' ') && R.at(I - 2) == QChar('I') && R.at(I - 1) == QChar('I');
        if (AfterI || AfterII) R[I] = R.at(I).toUpper();
    }
    return R;
}

namespace {
TDateTime ParseDateFields(const QString& Text, bool MonthFirst) {
    QChar Sep;
    if (Text.contains(QChar('/')))
        Sep = QChar('/');
    else if (Text.contains(QChar('.')))
        Sep = QChar('.');
    else if (Text.contains(QChar('-')))
        Sep = QChar('-');
    else
        return 0;
    const int I1 = Text.indexOf(Sep);
    const int I2 = Text.indexOf(Sep, I1 + 1);
    if (I2 < 0) return 0;
    int A = 0, B = 0, Year = 0;
    if (!TryStrToInt(Text.left(I1), A) || !TryStrToInt(Text.mid(I1 + 1, I2 - I1 - 1), B) ||
        !TryStrToInt(Text.mid(I2 + 1), Year))
        return 0;
    // Two-digit years are windowed; a year written in full stands as written.
    if (Year >= 0 && Year < 100) Year += Year <= 25 ? 2000 : 1900;
    return MonthFirst ? EncodeDate(Year, A, B) : EncodeDate(Year, B, A);
}
} // namespace

TDateTime ParseDateUS(const QString& Text) { return ParseDateFields(Text, true); }
TDateTime ParseDateEU(const QString& Text) { return ParseDateFields(Text, false); }

bool IsDateText(const QString& Text) {
    const QChar Sep = UtilDateSeparator();
    const int I = Text.indexOf(Sep);
    if (I < 1) return false;
    return Text.indexOf(Sep, I + 1) - (I + 1) >= 1;
}

TDateTime IncDateParts(int Years, int Months, int Days, TDateTime Date, double Increment) {
    if (Years == 0 && Months == 0 && Days != 0) return Date + Days;
    const bool YearsOnly = Years != 0 && Months == 0 && Days == 0;
    const bool MonthsOnly = Years == 0 && Months != 0 && Days == 0;
    if (!YearsOnly && !MonthsOnly) return Date + Increment;
    int Y = 0, M = 0, D = 0;
    DecodeDate(Date, Y, M, D);
    if (YearsOnly) {
        Y += Years;
    } else {
        // Whole years are carried however far the month moves (also backwards).
        const int Index = (M - 1) + Months;
        const int Carry = Index >= 0 ? Index / 12 : -((-Index + 11) / 12);
        Y += Carry;
        M = Index - Carry * 12 + 1;
    }
    return CombineDateTime(EncodeDate(Y, M, D), TimeOfDay(Date));
}

// ---- CSV fields ------------------------------------------------------------------------------
QString DoubleQuoteChars(const QString& Text) {
    if (!Text.contains(Quote)) return Text;
    QString R(Text);
    R.replace(Quote, QStringLiteral("\"\""));
    return R;
}

QString UndoubleChar(QChar Ch, const QString& Text) {
    if (!Text.contains(Ch)) return Text;
    QString R;
    R.reserve(Text.size());
    const int N = Text.size();
    for (int I = 0; I < N; ++I) {
        R += Text.at(I);
        if (Text.at(I) == Ch && I + 1 < N && Text.at(I + 1) == Ch) ++I;
    }
    return R;
}

void QuoteMultiLineField(QString& Text) {
    Text.replace(QStringLiteral("\r\n"), QString(VT));
    Text = Quote + Text + Quote;
}

void VTToCRLF(QString& Text) {
    if (Text.contains(VT)) Text.replace(VT, QStringLiteral("\r\n"));
}

void CRLFToLF(QString& Text) { Text.replace(QStringLiteral("\r\n"), QString(LF)); }

void CRToTilde(QString& Text) {
    Text.remove(LF);
    Text.replace(CR, QChar('~'));
}

void TildeToCRLF(QString& Text) {
    Text.replace(QChar('~'), QStringLiteral("\r\n"));
    if (Text == QStringLiteral("^")) Text.clear();
}

namespace {
// Upper halves of the two 8-bit code pages. Windows-1252 keeps its five unassigned bytes as the
// C1 controls, the way the platform's own conversion does, so no byte is lost.
constexpr std::array<char16_t, 128> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF};

// The OEM code page of Western European systems (850).
constexpr std::array<char16_t, 128> Cp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};

// The byte a character takes in the code page; "?" for a character the page cannot hold.
uint8_t ToCodePage(QChar C, const std::array<char16_t, 128>& High) {
    const char16_t U = C.unicode();
    if (U < 0x80) return uint8_t(U);
    for (int I = 0; I < 128; ++I)
        if (High[I] == U) return uint8_t(0x80 + I);
    return uint8_t('?');
}

QChar FromCodePage(uint8_t B, const std::array<char16_t, 128>& High) {
    return B < 0x80 ? QChar(char16_t(B)) : QChar(High[B - 0x80]);
}
} // namespace

void AnsiToOemText(QString& Text) {
    for (QChar& C : Text) C = FromCodePage(ToCodePage(C, Cp850High), Cp1252High);
}

void OemToAnsiText(QString& Text) {
    for (QChar& C : Text) C = FromCodePage(ToCodePage(C, Cp1252High), Cp850High);
}

QStringList SplitCSVLine(const QString& Line, QChar Delimiter, bool JavaCSV) {
    QStringList Fields;
    const QChar* D = Line.constData();
    const int N = Line.size();
    auto Store = [&](QString Field) {
        if (JavaCSV)
            TildeToCRLF(Field);
        else
            VTToCRLF(Field);
        Fields.append(std::move(Field));
    };
    int Pos = 0;
    for (;;) {
        int Next = Line.indexOf(Delimiter, Pos);
        if (Next < 0) break;
        while (N - Pos >= 2 && D[Pos] == QChar(' ')) ++Pos;
        if (D[Pos] == Quote) {
            const int Close = UnpairedIndex(Quote, D, Pos + 1, N);
            if (Close < 0) {
                // No closing quote: the rest of the line is this one field, delimiters and all,
                // rather than losing the text up to the next delimiter.
                Store(UndoubleChar(Quote, Line.mid(Pos + 1)));
                return Fields;
            }
            Store(UndoubleChar(Quote, Line.mid(Pos + 1, Close - Pos - 1)));
            Pos = Close + 1;
            Next = Line.indexOf(Delimiter, Pos);
            if (Next >= 0) Pos = Next + 1;
        } else {
            Next = Line.indexOf(Delimiter, Pos);
            if (Next < 0) break; // only when the delimiter is a blank that was just skipped
            Store(Line.mid(Pos, Next - Pos));
            Pos = Next + 1;
        }
    }
    if (Pos < N) {
        while (N - Pos >= 2 && D[Pos] == QChar(' ')) ++Pos;
        int End = N;
        if (D[Pos] == Quote) ++Pos;
        if (End > Pos && D[End - 1] == Quote) --End;
        Store(UndoubleChar(Quote, Line.mid(Pos, End - Pos)));
    }
    return Fields;
}

// ---- cell-text files and wide cell text --------------------------------------------------------
QString EncodeCellLineBreaks(const QString& Text) {
    if (!Text.contains(CR)) return Text;
    QString R(Text);
    for (QChar& C : R) {
        if (C == CR)
            C = QChar(9);
        else if (C == LF)
            C = QChar(8);
        else if (C == QChar(0))
            C = QChar(1);
    }
    return R;
}

QString DecodeCellLineBreaks(const QString& Text, bool Whole) {
    QString R(Text);
    if (R.contains(QChar(8))) {
        for (QChar& C : R) {
            if (C == QChar(9))
                C = CR;
            else if (C == QChar(8))
                C = LF;
            else if (C == QChar(1))
                C = QChar(0);
        }
    }
    if (Whole) return R;
    QString Line;
    ExtractFirstLine(R, false, Line);
    return Line;
}

QString EncodeWideCellText(const QString& Wide) {
    QString R;
    R.reserve(2 + 2 * Wide.size());
    R += QStringLiteral("|\\");
    for (QChar C : Wide) {
        R += QChar(char16_t(C.unicode() >> 8));
        R += QChar(char16_t(C.unicode() & 0xFF));
    }
    return R;
}

QString DecodeWideCellText(const QString& Text) {
    if (!Text.startsWith(QStringLiteral("|\\"))) return Text;
    QString R;
    const int N = (Text.size() - 2) / 2;
    R.reserve(N);
    for (int I = 0; I < N; ++I) {
        const char16_t Hi = Text.at(2 + 2 * I).unicode() & 0xFF;
        const char16_t Lo = Text.at(3 + 2 * I).unicode() & 0xFF;
        R += QChar(char16_t((Hi << 8) | Lo));
    }
    return R;
}

int ClassifyCellText(const QString& Text, bool AllowHTML) {
    const QString S = Text + QChar(' ');
    if (S.size() < 2) return 0;
    if (S.at(0) == QChar('=')) return 3;
    if (S.startsWith(QStringLiteral("|\\"))) {
        if (S.size() >= 5 && S.at(3) == QChar('=') && S.at(4) == QChar(0)) return 3;
        return 5;
    }
    if (S.startsWith(QStringLiteral("{\\"))) return 2;
    if (!AllowHTML) return 0;
    if (S.contains(QStringLiteral("</")) || S.contains(QStringLiteral("<B")) || S.contains(QStringLiteral("<I")) ||
        S.contains(QStringLiteral("<C")))
        return 1;
    return 0;
}

// ---- HTML export and clipboard ---------------------------------------------------------------
QString CRToHTMLBreak(const QString& Text) {
    if (!Text.contains(CR)) return Text;
    QString R(Text);
    R.replace(CR, QStringLiteral("<br>"));
    return R;
}

QString ColorToHTMLHex(TColor Color) {
    const uint32_t C = uint32_t(Color);
    return QString::asprintf("%02X%02X%02X", unsigned(C & 0xFF), unsigned((C >> 8) & 0xFF), unsigned((C >> 16) & 0xFF));
}

bool InsertURLAnchor(const QString& Text, const QString& Prefix, QString& Result) {
    if (PosFrom(Prefix, UpperSameLength(Text)) == 0) return false;
    QString Escaped(Text);
    Escaped.replace(QChar('<'), QStringLiteral("&lt;"));
    Escaped.replace(QChar('>'), QStringLiteral("&gt;"));
    const int Start = PosFrom(Prefix, UpperSameLength(Escaped)) - 1;
    if (Start < 0) { // a prefix holding "<" or ">" cannot survive the escaping
        Result = Escaped;
        return true;
    }
    auto InLink = [](QChar C) {
        const char16_t U = C.unicode();
        if ((U >= '0' && U <= '9') || (U >= 'A' && U <= 'Z') || (U >= 'a' && U <= 'z')) return true;
        switch (U) {
            case '%':
            case '(':
            case ')':
            case '-':
            case '.':
            case '/':
            case ':':
            case '@':
            case '\\':
            case '_':
            case '{':
            case '}': return true;
            default: return false;
        }
    };
    int End = Start;
    while (End < Escaped.size() && InLink(Escaped.at(End))) ++End;
    const QString Link = Escaped.mid(Start, End - Start);
    Result = Escaped.left(Start) + QStringLiteral("<a href=\"") + Link + QStringLiteral("\">") + Link +
        QStringLiteral("</a>") + Escaped.mid(End);
    return true;
}

void WrapClipboardHTML(QString& Html) {
    const int N = Html.size();
    auto Num = [](const QString& Name, int Value) {
        return Name + QStringLiteral("%1").arg(Value, 8, 10, QChar('0')) + QStringLiteral("\r\n");
    };
    Html = QStringLiteral("Version:1.0\r\n") + Num(QStringLiteral("StartHTML:"), 97) +
        Num(QStringLiteral("EndHTML:"), N + 306) + Num(QStringLiteral("StartFragment:"), 274) +
        Num(QStringLiteral("EndFragment:"), N + 274) +
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">") +
        QStringLiteral("<html><head><META http-equiv=Content-Type content=\"text/html; "
                       "charset=iso-8859-1\"></head><body><!--StartFragment-->") +
        Html + QStringLiteral("<!--EndFragment--></body></html>");
}

// ---- filter conditions -----------------------------------------------------------------------
QString NormalizeNumberForCompare(const QString& Text) {
    const QChar Thousand = UtilThousandSeparator();
    const QChar Decimal = UtilDecimalSeparator();
    QString R;
    R.reserve(Text.size());
    for (QChar C : Text) {
        if (C == Decimal)
            R += QChar('.');
        else if (C != Thousand)
            R += C;
    }
    return R;
}

QString RemoveSpacesOutsideQuotes(const QString& Text) {
    QString R;
    R.reserve(Text.size());
    bool Inside = false;
    for (QChar C : Text) {
        if (C == Quote) Inside = !Inside;
        if (C == QChar(' ') && !Inside) continue;
        R += C;
    }
    return R;
}

namespace {
// 0-based index of the ")" closing the "(" at or after From, -1 when none closes it.
int MatchingParenIndex(const QString& Text, int From) {
    const int Open = Text.indexOf(QChar('('), From);
    if (Open < 0) return -1;
    int Depth = 0;
    for (int I = Open; I < Text.size(); ++I) {
        if (Text.at(I) == QChar('('))
            ++Depth;
        else if (Text.at(I) == QChar(')') && --Depth == 0)
            return I;
    }
    return -1;
}

// 0-based index of the first character of Set outside double quotes, from From on (the quote
// state starts outside at From); -1 when none.
int CharOutsideQuotesIndex(const QString& Set, const QString& Text, int From) {
    bool Inside = false;
    for (int I = From; I < Text.size(); ++I) {
        const QChar C = Text.at(I);
        if (C == Quote) Inside = !Inside;
        if (!Inside && Set.contains(C)) return I;
    }
    return -1;
}
} // namespace

int MatchingParenPos(const QString& Text) { return MatchingParenIndex(Text, 0) + 1; }

QChar FindCharOutsideQuotes(const QString& Set, const QString& Text, int& Position) {
    const int I = CharOutsideQuotesIndex(Set, Text, 0);
    if (I < 0) {
        Position = -1;
        return QChar(0);
    }
    Position = I + 1;
    return Text.at(I);
}

bool ParseDateTimeByFormat(const QString& Text, TDateTime& Value) {
    const QString Fmt = UtilShortDateFormat().toUpper();
    const int PD = Fmt.indexOf(QChar('D'));
    const int PM = Fmt.indexOf(QChar('M'));
    const int PY = Fmt.indexOf(QChar('Y'));
    if (PD < 0 || PM < 0 || PY < 0) return false;
    const QChar Sep = UtilDateSeparator();
    const int I1 = Text.indexOf(Sep);
    if (I1 < 0) return false;
    const int I2 = Text.indexOf(Sep, I1 + 1);
    if (I2 < 0) return false;
    QString Rest = Trim(Text.mid(I2 + 1));
    QString TimePart;
    bool HasTime = false;
    const int Blank = Rest.indexOf(QChar(' '));
    if (Blank >= 0) {
        TimePart = Rest.mid(Blank + 1);
        Rest = Rest.left(Blank);
        HasTime = true;
    }
    int F[3];
    if (!TryStrToInt(Text.left(I1), F[0]) || !TryStrToInt(Text.mid(I1 + 1, I2 - I1 - 1), F[1]) ||
        !TryStrToInt(Rest, F[2]))
        return false;
    // The field order follows the order of D, M and Y in the format.
    auto Rank = [&](int P) { return (P > PD) + (P > PM) + (P > PY); };
    const int Day = F[Rank(PD)];
    const int Month = F[Rank(PM)];
    const int Year = F[Rank(PY)];
    if (Day >= 32 || Month > 12) return false;
    TDateTime D = 0;
    if (!TryEncodeDate(Year, Month, Day, D)) return false;
    Value = D;
    if (!HasTime) return true;
    const QChar TSep = UtilTimeSeparator();
    const int T1 = TimePart.indexOf(TSep);
    if (T1 < 0) return false;
    int Hour = 0, Min = 0, Sec = 0;
    if (!TryStrToInt(TimePart.left(T1), Hour) || Hour > 23) return false;
    const int T2 = TimePart.indexOf(TSep, T1 + 1);
    if (T2 >= 0) {
        if (!TryStrToInt(TimePart.mid(T1 + 1, T2 - T1 - 1), Min) || !TryStrToInt(TimePart.mid(T2 + 1), Sec))
            return false;
    } else if (!TryStrToInt(TimePart.mid(T1 + 1), Min)) {
        return false;
    }
    if (Min >= 60 || Sec > 60) return false;
    TDateTime T = 0;
    if (!TryEncodeTime(Hour, Min, Sec, 0, T)) return false;
    Value = CombineDateTime(D, T);
    return true;
}

namespace {
// The operand of a comparison starting at From (just after the operator character): an "="
// right after the operator makes it inclusive; blanks before the operand are skipped; the
// operand ends at a blank, "&" or "|" outside double quotes, so a quoted operand keeps its
// blanks; its enclosing double quotes are dropped.
QString ComparisonOperand(const QString& Term, int From, bool& OrEqual) {
    int I = From;
    const int N = Term.size();
    OrEqual = I < N && Term.at(I) == QChar('=');
    if (OrEqual) ++I;
    while (I < N && Term.at(I) == QChar(' ')) ++I;
    const int Start = I;
    bool Inside = false;
    for (; I < N; ++I) {
        const QChar C = Term.at(I);
        if (C == Quote)
            Inside = !Inside;
        else if (!Inside && (C == QChar(' ') || C == QChar('&') || C == QChar('|')))
            break;
    }
    QString Op = Term.mid(Start, I - Start);
    if (Op.startsWith(Quote)) Op.remove(0, 1);
    if (Op.endsWith(Quote)) Op.chop(1);
    return Op;
}

// <0, 0, >0 as value compares with operand: numbers as numbers, dates (in the short date format)
// as dates, anything else as texts.
int CompareValues(const QString& V, const QString& O) {
    double NV = 0, NO = 0;
    const bool VNum = StrictFloat(NormalizeNumberForCompare(V), NV);
    const bool ONum = StrictFloat(NormalizeNumberForCompare(O), NO);
    TDateTime DV = 0, DO = 0;
    const bool VDate = ParseDateTimeByFormat(V, DV);
    const bool ODate = ParseDateTimeByFormat(O, DO);
    if (!VNum || !ONum || VDate || ODate) {
        if (VDate && ODate) return DV < DO ? -1 : (DV > DO ? 1 : 0);
        return QString::compare(V.left(255), O.left(255), Qt::CaseSensitive);
    }
    return NV < NO ? -1 : (NV > NO ? 1 : 0);
}

// "*" any run, "?" one character, double quotes skipped, "!" negates. Backtracks only to the
// last "*", so the time stays proportional to text length times pattern length.
bool WildcardMatch(const QString& Term, const QString& Value) {
    QString P;
    P.reserve(Term.size());
    bool Negate = false;
    for (QChar C : Term) {
        if (C == QChar('!'))
            Negate = true;
        else if (C != Quote)
            P += C;
    }
    const int M = P.size();
    const int N = Value.size();
    int I = 0, J = 0, Star = -1, Mark = 0;
    bool Matched = true;
    while (I < N) {
        if (J < M && P.at(J) == QChar('*')) {
            Star = J++;
            Mark = I;
        } else if (J < M && (P.at(J) == QChar('?') || P.at(J) == Value.at(I))) {
            ++I;
            ++J;
        } else if (Star >= 0) {
            J = Star + 1;
            I = ++Mark;
        } else {
            Matched = false;
            break;
        }
    }
    if (Matched) {
        while (J < M && P.at(J) == QChar('*')) ++J;
        Matched = J == M;
    }
    return Matched != Negate;
}

const int MaxConditionDepth = 100;

bool MatchConditionAt(const QString& Condition, const QString& Value, bool CaseSensitive, int Depth) {
    QString C = RemoveSpacesOutsideQuotes(Trim(Condition));
    if (C.startsWith(QChar('='))) C.remove(0, 1);
    const QString Operators = QStringLiteral("(;^&|");
    bool Result = false;
    QChar Op; // the operator before the next term; none for the first
    auto Combine = [&](bool R) {
        if (Op.isNull())
            Result = R;
        else if (Op == QChar('&'))
            Result = Result && R;
        else if (Op == QChar(';') || Op == QChar('^') || Op == QChar('|'))
            Result = Result || R;
        // after a closing parenthesis the (empty) term is not combined
    };
    int Pos = 0;
    const int N = C.size();
    for (;;) {
        const int K = CharOutsideQuotesIndex(Operators, C, Pos);
        if (K < 0) break;
        if (C.at(Pos) == QChar('(')) {
            // An unclosed group runs to the end of the condition.
            const int Close = MatchingParenIndex(C, Pos);
            const int End = Close < 0 ? N : Close;
            const QString Inner = C.mid(Pos + 1, End - Pos - 1);
            Combine(Depth < MaxConditionDepth && MatchConditionAt(Inner, Value, CaseSensitive, Depth + 1));
            Op = QChar('(');
            Pos = Close < 0 ? N : Close + 1;
        } else {
            Combine(MatchTermCase(C.mid(Pos, K - Pos), Value, CaseSensitive));
            Op = C.at(K);
            Pos = K + 1;
        }
    }
    Combine(MatchTermCase(C.mid(Pos), Value, CaseSensitive));
    return Result;
}
} // namespace

bool MatchTerm(const QString& Term, const QString& Value) {
    const int Gt = Term.indexOf(QChar('>'));
    const int Lt = Term.indexOf(QChar('<'));
    bool Greater = false, Less = false;
    if (Gt >= 0) {
        bool OrEqual = false;
        const QString Operand = ComparisonOperand(Term, Gt + 1, OrEqual);
        const int Cmp = CompareValues(Value, Operand);
        Greater = OrEqual ? Cmp >= 0 : Cmp > 0;
    }
    if (Lt >= 0) {
        bool OrEqual = false;
        const QString Operand = ComparisonOperand(Term, Lt + 1, OrEqual);
        const int Cmp = CompareValues(Value, Operand);
        Less = OrEqual ? Cmp <= 0 : Cmp < 0;
    }
    const bool Compared = Gt >= 0 || Lt >= 0;
    // A "!" negates a comparison as it negates a pattern: "!>10" keeps the values up to 10
    // (taken by itself, a holding comparison would answer true whatever the "!").
    const bool Negated = Term.contains(QChar('!'));
    if (Term.contains(QChar('^')) && Compared) return ((Gt < 0 || Greater) || (Lt < 0 || Less)) != Negated;
    if (Term.contains(QChar('&')) && Gt >= 0 && Lt >= 0) return (Greater && Less) != Negated;
    if (Gt >= 0 && Greater) return !Negated;
    if (Lt >= 0 && Less) return !Negated;
    return WildcardMatch(Term, Value);
}

bool MatchTermCase(const QString& Term, const QString& Value, bool CaseSensitive) {
    if (CaseSensitive) return MatchTerm(Term, Value);
    return MatchTerm(UpperSameLength(Term), UpperSameLength(Value));
}

bool MatchCondition(const QString& Condition, const QString& Value, bool CaseSensitive) {
    return MatchConditionAt(Condition, Value, CaseSensitive, 0);
}

// ---- HTML entities and markup ----------------------------------------------------------------
namespace {
struct TEntity {
    char16_t Ch;
    const char* Name;
};

// The named characters the grid converts (Western European letters, signs).
constexpr TEntity EntityTable[] = {
    {0x00E9, "&eacute;"}, {0x00E8, "&egrave;"}, {0x00EB, "&euml;"},   {0x00EA, "&ecirc;"},  {0x00F3, "&oacute;"},
    {0x00F2, "&ograve;"}, {0x00F6, "&ouml;"},   {0x00F4, "&ocirc;"},  {0x00ED, "&iacute;"}, {0x00EC, "&igrave;"},
    {0x00EF, "&iuml;"},   {0x00EE, "&icirc;"},  {0x00FA, "&uacute;"}, {0x00F9, "&ugrave;"}, {0x00FC, "&uuml;"},
    {0x00FB, "&ucirc;"},  {0x00E1, "&aacute;"}, {0x00E0, "&agrave;"}, {0x00E4, "&auml;"},   {0x00E2, "&acirc;"},
    {0x00C9, "&Eacute;"}, {0x00C8, "&Egrave;"}, {0x00CB, "&Euml;"},   {0x00CA, "&Ecirc;"},  {0x00D3, "&Oacute;"},
    {0x00D2, "&Ograve;"}, {0x00D6, "&Ouml;"},   {0x00D4, "&Ocirc;"},  {0x00CD, "&Iacute;"}, {0x00CC, "&Igrave;"},
    {0x00CF, "&Iuml;"},   {0x00CE, "&Icirc;"},  {0x00DA, "&Uacute;"}, {0x00D9, "&Ugrave;"}, {0x00DC, "&Uuml;"},
    {0x00DB, "&Ucirc;"},  {0x00C1, "&Aacute;"}, {0x00C0, "&Agrave;"}, {0x00C4, "&Auml;"},   {0x00C2, "&Acirc;"},
    {0x00E7, "&ccedil;"}, {0x00C7, "&Ccedil;"}, {0x00F8, "&oslash;"}, {0x00D8, "&Oslash;"}, {0x00E5, "&aring;"},
    {0x00C5, "&Aring;"},  {0x00A9, "&copy;"},   {0x00AE, "&reg;"},    {0x20AC, "&euro;"},   {0x00AB, "&laquo;"},
    {0x00BB, "&raquo;"}};

constexpr TEntity BasicEntities[] = {{'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}, {'"', "&quot;"}};

bool EntityAt(const QString& Text, int I, const char* Name) {
    const int L = int(qstrlen(Name));
    if (I + L > Text.size()) return false;
    for (int K = 0; K < L; ++K)
        if (Text.at(I + K).unicode() != char16_t(uchar(Name[K]))) return false;
    return true;
}
} // namespace

// One pass over the text: each entity is replaced where it stands, in its exact letter case,
// and what a replacement produces is never read again, so decoding undoes one encoding exactly.
QString DecodeHTMLEntities(const QString& Text, bool UseTable) {
    if (!Text.contains(QChar('&'))) return Text;
    QString R;
    R.reserve(Text.size());
    const int N = Text.size();
    for (int I = 0; I < N;) {
        if (Text.at(I) == QChar('&')) {
            const TEntity* Found = nullptr;
            for (const TEntity& E : BasicEntities)
                if (EntityAt(Text, I, E.Name)) Found = &E;
            if (!Found && UseTable)
                for (const TEntity& E : EntityTable)
                    if (EntityAt(Text, I, E.Name)) {
                        Found = &E;
                        break;
                    }
            if (Found) {
                R += QChar(Found->Ch);
                I += int(qstrlen(Found->Name));
                continue;
            }
        }
        R += Text.at(I++);
    }
    return R;
}

QString EncodeHTMLEntities(const QString& Text, bool UseTable) {
    QString R;
    R.reserve(Text.size() + 16);
    for (QChar C : Text) {
        const TEntity* Found = nullptr;
        for (const TEntity& E : BasicEntities)
            if (E.Ch == C.unicode()) Found = &E;
        if (!Found && UseTable && C.unicode() >= 0x80)
            for (const TEntity& E : EntityTable)
                if (E.Ch == C.unicode()) {
                    Found = &E;
                    break;
                }
        if (Found)
            R += QLatin1String(Found->Name);
        else
            R += C;
    }
    return R;
}

QString SpacesToNbsp(const QString& Text) {
    QString R(Text);
    R.replace(QChar(' '), QStringLiteral("&nbsp;"));
    return R;
}

QString StripHTMLTags(const QString& Text) {
    QString S(Text);
    S.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    S.replace(QStringLiteral("<HR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    QString R;
    R.reserve(S.size());
    int I = 0;
    const int N = S.size();
    while (I < N) {
        const int Lt = S.indexOf(QChar('<'), I);
        if (Lt < 0) break;
        const int Gt = S.indexOf(QChar('>'), Lt + 1);
        if (Gt < 0) break;
        R += QStringView(S).mid(I, Lt - I);
        I = Gt + 1;
    }
    R += QStringView(S).mid(I);
    return R;
}

QString RemoveTags(const QString& Text) {
    QString R;
    int I = 0;
    for (;;) {
        const int Lt = Text.indexOf(QChar('<'), I);
        const int Gt = Text.indexOf(QChar('>'), I);
        if (Lt < 0 || Gt < 0 || Gt < Lt) break;
        R += QStringView(Text).mid(I, Lt - I);
        I = Gt + 1;
    }
    R += QStringView(Text).mid(I);
    return R;
}

int VisibleCharIndex(const QString& Markup, int N) {
    if (N < 1) return 0;
    const int L = Markup.size();
    int Visible = 0;
    for (int I = 0; I < L;) {
        if (Markup.at(I) == QChar('<')) {
            const int Gt = Markup.indexOf(QChar('>'), I + 1);
            if (Gt >= 0) {
                I = Gt + 1;
                continue;
            }
        }
        ++Visible;
        ++I;
    }
    if (N == Visible + 1) return L + 1;
    if (N > Visible) return 0;
    int V = 0;
    for (int I = 0; I < L;) {
        if (Markup.at(I) == QChar('<')) {
            const int Gt = Markup.indexOf(QChar('>'), I + 1);
            if (Gt >= 0) {
                if (V == N - 1) return I + 1;
                I = Gt + 1;
                continue;
            }
        }
        if (++V == N) return I + 1;
        ++I;
    }
    return 0;
}

int FindFrom(const QString& Needle, const QString& Text, int Offset, bool CaseSensitive, int& Pos) {
    if (Offset < 0) Offset = 0;
    int P;
    if (CaseSensitive)
        P = PosFrom(Needle, Text, Offset);
    else
        P = PosFrom(UpperSameLength(Needle), UpperSameLength(Text), Offset);
    Pos = P;
    return P;
}

QString HighlightInHTML(const QString& Markup, const QString& Needle, const QString& Tag, bool CaseSensitive) {
    QString Result(Markup);
    QString Visible = RemoveTags(Markup);
    QString Find(Needle);
    int P = 0;
    if (FindFrom(Needle, Markup, 0, CaseSensitive, P) > 0 &&
        (Visible.contains(QChar('<')) || Visible.contains(QChar('>')))) {
        // Plain text that holds "<" or ">": highlight it as escaped text.
        auto Escape = [](QString S) {
            S.replace(QChar('<'), QStringLiteral("&lt;"));
            S.replace(QChar('>'), QStringLiteral("&gt;"));
            return S;
        };
        Visible = Escape(Visible);
        Result = Visible;
        Find = Escape(Find);
    }
    const QString Open = QChar('<') + Tag + QChar('>');
    const QString Close = QStringLiteral("</") + Tag + QChar('>');
    int Offset = 0;
    while (FindFrom(Find, Visible, Offset, CaseSensitive, P) > 0) {
        int At = VisibleCharIndex(Result, P);
        if (At == 0) break;
        // A hit right after the previous one opens after that hit's closing tag, not inside it.
        while (QStringView(Result).mid(At - 1).startsWith(Close)) At += Close.size();
        Result.insert(At - 1, Open);
        const int End = VisibleCharIndex(Result, P + Find.size());
        if (End == 0) break;
        Result.insert(End - 1, Close);
        Offset = P + Find.size() - 1;
    }
    return Result;
}

QString UnhighlightInHTML(const QString& Markup, const QString& Tag) {
    QString R(Markup);
    R.remove(QChar('<') + Tag + QChar('>'), Qt::CaseInsensitive);
    R.remove(QStringLiteral("</") + Tag + QChar('>'), Qt::CaseInsensitive);
    R.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    R.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return R;
}

// ---- embedded control tags -------------------------------------------------------------------
namespace {
struct TControlAttrs {
    QString Type, ID, MaxLen, Prop, Height, Width, Value;
    bool HasHeight = false;
};

// The attributes are read as NAME="value" pairs in order, so a value that happens to contain
// another attribute's name ("WIDTH=" typed into an edit) cannot be mistaken for it. The first
// pair of a name counts; a value without double quotes reads as empty.
TControlAttrs ReadControlAttrs(const QString& A) {
    TControlAttrs R;
    bool Seen[7] = {};
    const int N = A.size();
    int I = 0;
    while (I < N) {
        while (I < N && A.at(I).isSpace()) ++I;
        const int NameStart = I;
        while (I < N && A.at(I) != QChar('=') && !A.at(I).isSpace()) ++I;
        const QString Name = UpperSameLength(A.mid(NameStart, I - NameStart));
        if (I >= N || A.at(I) != QChar('=')) {
            if (I == NameStart) ++I;
            continue;
        }
        ++I; // past "="
        QString Value;
        if (I < N && A.at(I) == Quote) {
            const int Close = A.indexOf(Quote, I + 1);
            if (Close < 0) break;
            Value = A.mid(I + 1, Close - I - 1);
            I = Close + 1;
        } else {
            while (I < N && !A.at(I).isSpace()) ++I;
        }
        static const char* const Names[7] = {"TYPE", "ID", "MAXLEN", "PROP", "HEIGHT", "WIDTH", "VALUE"};
        QString* const Fields[7] = {&R.Type, &R.ID, &R.MaxLen, &R.Prop, &R.Height, &R.Width, &R.Value};
        for (int K = 0; K < 7; ++K) {
            if (!Seen[K] && Name == QLatin1String(Names[K])) {
                Seen[K] = true;
                *Fields[K] = Value;
                if (K == 4) R.HasHeight = true;
            }
        }
    }
    R.Type = UpperSameLength(R.Type);
    R.Value = DecodeHTMLEntities(R.Value, true);
    R.Prop = DecodeHTMLEntities(R.Prop, true);
    return R;
}

struct TControlTag {
    int Start = -1; // 0-based index of "<"
    int End = -1; // 0-based index of the closing ">"
    TControlAttrs Attrs;
};

// The control tag found at or after From; Start stays -1 when there is none.
TControlTag NextControlTag(const QString& Text, int From) {
    TControlTag T;
    static const QString Marker = QStringLiteral("<CONTROL ");
    const int S = Text.indexOf(Marker, From, Qt::CaseInsensitive);
    if (S < 0) return T;
    const int Gt = Text.indexOf(QChar('>'), S + Marker.size());
    if (Gt < 0) return T;
    T.Start = S;
    T.End = Gt;
    T.Attrs = ReadControlAttrs(Text.mid(S + Marker.size(), Gt - S - Marker.size()));
    return T;
}

TControlTag FindControl(const QString& Text, const QString& ID) {
    for (TControlTag T = NextControlTag(Text, 0); T.Start >= 0; T = NextControlTag(Text, T.End + 1))
        if (T.Attrs.ID == ID) return T;
    return TControlTag();
}

QString Quoted(const QString& S) { return Quote + S + Quote; }
} // namespace

bool HasControlTag(const QString& Text) { return Text.contains(QStringLiteral("<CONTROL"), Qt::CaseInsensitive); }

void ParseControlTag(const QString& Attributes, QString& CType, QString& CID, QString& CMaxLen, QString& CProp,
                     QString& CHeight, QString& CWidth, QString& CValue) {
    const TControlAttrs A = ReadControlAttrs(Attributes);
    CType = A.Type;
    CID = A.ID;
    CMaxLen = A.MaxLen;
    CProp = A.Prop;
    CHeight = A.Height;
    CWidth = A.Width;
    CValue = A.Value;
}

bool GetControlValue(const QString& Text, const QString& ID, QString& Value) {
    const TControlTag T = FindControl(Text, ID);
    if (T.Start < 0) return false;
    Value = T.Attrs.Value;
    return true;
}

QString GetControlProp(const QString& Text, const QString& ID) {
    const TControlTag T = FindControl(Text, ID);
    return T.Start < 0 ? QString() : T.Attrs.Prop;
}

int GetControlMaxLen(const QString& Text, const QString& ID) {
    const TControlTag T = FindControl(Text, ID);
    return T.Start < 0 ? 0 : StrToIntDef(T.Attrs.MaxLen, 0);
}

QString NextEditControlID(const QString& Text, const QString& ID) {
    bool After = ID.isEmpty();
    for (TControlTag T = NextControlTag(Text, 0); T.Start >= 0; T = NextControlTag(Text, T.End + 1)) {
        if (!After) {
            After = T.Attrs.ID == ID;
            continue;
        }
        const QString& Type = T.Attrs.Type;
        if (Type != QLatin1String("BUTTON") && Type != QLatin1String("CHECK") && Type != QLatin1String("RADIO"))
            return T.Attrs.ID;
    }
    return QString();
}

QString ClearRadioControls(const QString& Text) {
    QStringList Radios;
    for (TControlTag T = NextControlTag(Text, 0); T.Start >= 0; T = NextControlTag(Text, T.End + 1))
        if (T.Attrs.Type == QLatin1String("RADIO")) Radios << T.Attrs.ID;
    QString R(Text);
    for (const QString& ID : Radios) SetControlValue(R, ID, QStringLiteral("FALSE"));
    return R;
}

bool SetControlValue(QString& Text, const QString& ID, const QString& NewValue) {
    const TControlTag T = FindControl(Text, ID);
    if (T.Start < 0) return false;
    const TControlAttrs& A = T.Attrs;
    QString Tag = QStringLiteral("CONTROL ID=") + Quoted(ID) + QStringLiteral(" VALUE=") +
        Quoted(EncodeHTMLEntities(NewValue, true)) + QStringLiteral(" WIDTH=") + Quoted(A.Width) +
        QStringLiteral(" TYPE=") + Quoted(A.Type);
    if (!A.Prop.isEmpty()) Tag += QStringLiteral(" PROP=") + Quoted(EncodeHTMLEntities(A.Prop, true));
    if (!A.MaxLen.isEmpty()) Tag += QStringLiteral(" MAXLEN=") + Quoted(A.MaxLen);
    if (A.HasHeight) Tag += QStringLiteral(" HEIGHT=") + Quoted(A.Height);
    Tag += QChar('>');
    Text = Text.left(T.Start + 1) + Tag + Text.mid(T.End + 1);
    return true;
}
