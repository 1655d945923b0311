#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

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
    const QChar* P = Text.constData();
    // Sorting calls this for every cell of a column: the common ASCII digits skip the Unicode
    // table, and the separators are read once.
    auto Digit = [](QChar C) { return C.unicode() < 128 ? (C.unicode() >= '0' && C.unicode() <= '9') : C.isDigit(); };
    bool IntegerForm = true;
    bool DecimalForm = true;
    bool ExponentForm = true;
    int Minus = 0;
    int Decimals = 0;
    int Exponents = 0;
    int LastThousand = 0; // 1-based position of the previous thousand separator, 0 none
    for (int I = 1; I <= N; ++I) {
        const QChar C = P[I - 1];
        const bool IsDigit = Digit(C);
        if (IsDigit) continue; // a digit keeps every form as it is
        const bool Exp = C == QChar('e') || C == QChar('E');
        if (C == QChar('-')) {
            ++Minus;
            if (I > 1) {
                IntegerForm = false;
                DecimalForm = false;
            }
        } else {
            IntegerForm = false;
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
        if (Exp) {
            ++Exponents;
            if (I == 1) ExponentForm = false;
        }
        const bool SignedPart = C == Thousand || C == Decimal || Exp || C == QChar('+') || C == QChar('-');
        if (!SignedPart || C == Thousand) ExponentForm = false;
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
