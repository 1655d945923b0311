#include "grid/base/ExtUtil.h"

#include "grid/base/ExtUtil_Internal.h"

using namespace ExtUtil_Internal;

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
