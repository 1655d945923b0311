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

} // namespace

// ---- compiled conditions ------------------------------------------------------------------------
namespace {
const int MaxConditionDepth = 100;
} // namespace

// The value's own readings, made at most once per match however many terms compare with it.
struct TCompiledCondition::TValueReadings {
    bool Done = false;
    bool Num = false, Date = false;
    double N = 0;
    TDateTime D = 0;
    void Make(const QString& V) {
        if (Done) return;
        Done = true;
        Num = StrictFloat(NormalizeNumberForCompare(V), N);
        Date = ParseDateTimeByFormat(V, D);
    }
};

struct TCompiledCondition::TOperand {
    bool Present = false;
    bool OrEqual = false;
    QString Text;
    bool Num = false, Date = false;
    double N = 0;
    TDateTime D = 0;
    void Compile(const QString& Term, int At) {
        Present = At >= 0;
        if (!Present) return;
        Text = ComparisonOperand(Term, At + 1, OrEqual);
        Num = StrictFloat(NormalizeNumberForCompare(Text), N);
        Date = ParseDateTimeByFormat(Text, D);
    }
    // <0, 0, >0 as the value compares with the operand (numbers, dates, else texts).
    int Compare(const QString& V, TValueReadings& R) const {
        R.Make(V);
        if (!R.Num || !Num || R.Date || Date) {
            if (R.Date && Date) return R.D < D ? -1 : (R.D > D ? 1 : 0);
            return QString::compare(V.left(255), Text.left(255), Qt::CaseSensitive);
        }
        return R.N < N ? -1 : (R.N > N ? 1 : 0);
    }
};

struct TCompiledCondition::TTerm {
    TOperand Gt, Lt;
    bool Caret = false, Amp = false, Negated = false;
    QString Pattern; // without quotes and "!"
    void Compile(const QString& Term) {
        Gt.Compile(Term, int(Term.indexOf(QChar('>'))));
        Lt.Compile(Term, int(Term.indexOf(QChar('<'))));
        Caret = Term.contains(QChar('^'));
        Amp = Term.contains(QChar('&'));
        Negated = Term.contains(QChar('!'));
        Pattern.reserve(Term.size());
        for (QChar C : Term)
            if (C != QChar('!') && C != Quote) Pattern += C;
    }
    bool Wildcard(const QString& Value) const {
        const QChar* P = Pattern.constData();
        const QChar* V = Value.constData();
        const int M = int(Pattern.size());
        const int N = int(Value.size());
        int I = 0, J = 0, Star = -1, Mark = 0;
        while (I < N) {
            if (J < M && P[J] == QChar('*')) {
                Star = J++;
                Mark = I;
            } else if (J < M && (P[J] == QChar('?') || P[J] == V[I])) {
                ++I;
                ++J;
            } else if (Star >= 0) {
                J = Star + 1;
                I = ++Mark;
            } else
                return Negated;
        }
        while (J < M && P[J] == QChar('*')) ++J;
        return (J == M) != Negated;
    }
    bool Match(const QString& Value, TValueReadings& R) const {
        bool Greater = false, Less = false;
        if (Gt.Present) {
            const int Cmp = Gt.Compare(Value, R);
            Greater = Gt.OrEqual ? Cmp >= 0 : Cmp > 0;
        }
        if (Lt.Present) {
            const int Cmp = Lt.Compare(Value, R);
            Less = Lt.OrEqual ? Cmp <= 0 : Cmp < 0;
        }
        const bool Compared = Gt.Present || Lt.Present;
        // A "!" negates a comparison as it negates a pattern: "!>10" keeps the values up to 10
        // (taken by itself, a holding comparison would answer true whatever the "!").
        if (Caret && Compared) return ((!Gt.Present || Greater) || (!Lt.Present || Less)) != Negated;
        if (Amp && Gt.Present && Lt.Present) return (Greater && Less) != Negated;
        if (Gt.Present && Greater) return !Negated;
        if (Lt.Present && Less) return !Negated;
        return Wildcard(Value);
    }
};

// One level of the condition: its parts from left to right, each a term or a group, with the
// operator written before it ("(" after a group: the empty part that follows is not combined).
struct TCompiledCondition::TGroup {
    struct TPart {
        QChar Op;
        int Term = -1; // index into the terms, or
        int Group = -1; // index into the groups (-2: nested too deep, never matches)
    };
    std::vector<TPart> Parts;
};

TCompiledCondition::TCompiledCondition(const QString& Condition, bool CaseSensitive) : FCaseSensitive(CaseSensitive) {
    CompileGroup(Condition, 0);
}

TCompiledCondition::~TCompiledCondition() = default;
TCompiledCondition::TCompiledCondition(TCompiledCondition&&) noexcept = default;
TCompiledCondition& TCompiledCondition::operator=(TCompiledCondition&&) noexcept = default;

int TCompiledCondition::CompileGroup(const QString& Condition, int Depth) {
    const int Index = int(FGroups.size());
    FGroups.emplace_back();
    QString C = RemoveSpacesOutsideQuotes(Trim(Condition));
    if (C.startsWith(QChar('='))) C.remove(0, 1);
    const QString Operators = QStringLiteral("(;^&|");
    QChar Op;
    auto AddTerm = [&](const QString& Term) {
        TTerm T;
        T.Compile(FCaseSensitive ? Term : UpperSameLength(Term));
        FTerms.push_back(std::move(T));
        FGroups[size_t(Index)].Parts.push_back({Op, int(FTerms.size()) - 1, -1});
    };
    int Pos = 0;
    const int N = int(C.size());
    for (;;) {
        const int K = CharOutsideQuotesIndex(Operators, C, Pos);
        if (K < 0) break;
        if (C.at(Pos) == QChar('(')) {
            // An unclosed group runs to the end of the condition.
            const int Close = MatchingParenIndex(C, Pos);
            const int End = Close < 0 ? N : Close;
            const QString Inner = C.mid(Pos + 1, End - Pos - 1);
            const int G = Depth < MaxConditionDepth ? CompileGroup(Inner, Depth + 1) : -2;
            FGroups[size_t(Index)].Parts.push_back({Op, -1, G});
            Op = QChar('(');
            Pos = Close < 0 ? N : Close + 1;
        } else {
            AddTerm(C.mid(Pos, K - Pos));
            Op = C.at(K);
            Pos = K + 1;
        }
    }
    AddTerm(C.mid(Pos));
    return Index;
}

bool TCompiledCondition::MatchGroup(int Index, const QString& Value, TValueReadings& R) const {
    bool Result = false;
    for (const TGroup::TPart& P : FGroups[size_t(Index)].Parts) {
        const QChar Op = P.Op;
        // After a closing parenthesis the (empty) part is not combined; "&" needs the part
        // only while the result holds, the "or" operators only while it does not.
        if (Op == QChar('(')) continue;
        if (Op == QChar('&') && !Result) continue;
        if ((Op == QChar(';') || Op == QChar('^') || Op == QChar('|')) && Result) continue;
        bool M = false;
        if (P.Term >= 0)
            M = FTerms[size_t(P.Term)].Match(Value, R);
        else if (P.Group >= 0)
            M = MatchGroup(P.Group, Value, R);
        Result = M;
    }
    return Result;
}

bool TCompiledCondition::Match(const QString& Value) const {
    TValueReadings R;
    if (FCaseSensitive) return MatchGroup(0, Value, R);
    return MatchGroup(0, UpperSameLength(Value), R);
}

bool MatchTerm(const QString& Term, const QString& Value) {
    TCompiledCondition::TTerm T;
    T.Compile(Term);
    TCompiledCondition::TValueReadings R;
    return T.Match(Value, R);
}

bool MatchTermCase(const QString& Term, const QString& Value, bool CaseSensitive) {
    if (CaseSensitive) return MatchTerm(Term, Value);
    return MatchTerm(UpperSameLength(Term), UpperSameLength(Value));
}

bool MatchCondition(const QString& Condition, const QString& Value, bool CaseSensitive) {
    return TCompiledCondition(Condition, CaseSensitive).Match(Value);
}
