#pragma once
// What the ExtUtil sources share among themselves; not part of the unit's interface.
#include "grid/base/ExtUtil.h"

#include <QLocale>
#include <QString>

#include <cmath>

namespace ExtUtil_Internal {

inline const QChar CR = QChar(13);
inline const QChar LF = QChar(10);
inline const QChar VT = QChar(11);
inline const QChar Quote = QChar('"');

// Upper case one UTF-16 unit at a time, so positions found in the result hold in the original
// (full case mapping would turn one "ß" into "SS" and shift everything after it).
inline QString UpperSameLength(const QString& S) {
    QString R(S);
    for (QChar& C : R) C = C.toUpper();
    return R;
}

// 1-based position of Sub in S at or after the 0-based From; 0 when absent or Sub is empty.
inline int PosFrom(const QString& Sub, const QString& S, int From = 0) {
    if (Sub.isEmpty()) return 0;
    const int I = S.indexOf(Sub, From);
    return I < 0 ? 0 : I + 1;
}

// A number in "." notation whatever the locale, with blanks around it allowed the way the
// runtime's own float conversion allows them (cell texts often carry a trailing blank).
inline bool StrictFloat(const QString& Text, double& Value) {
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
inline TDateTime CombineDateTime(TDateTime D, TDateTime T) { return D < 0 ? D - T : D + T; }

inline TDateTime TimeOfDay(TDateTime D) { return std::fabs(D - std::trunc(D)); }

// 0-based index (in S) of the unpaired Ch found from From on, -1 when none.
inline int UnpairedIndex(QChar Ch, const QChar* S, int From, int N) {
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

} // namespace ExtUtil_Internal
