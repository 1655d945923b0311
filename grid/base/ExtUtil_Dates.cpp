#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

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
