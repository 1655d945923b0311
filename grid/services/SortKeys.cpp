#include "grid/services/SortKeys.h"

#include "grid/base/ExtUtil.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace {

enum : uint16_t {
    kIsNumber = 1, // ClassifyNumber: integer, decimal or exponent number
    kCheckType = 2, // the cell holds a check box of some kind
    kCheckState = 4, // ... and it is ticked
    kDatePos = 8, // the date separator stands at the second or third character, not last
    kDateDigits = 16, // ... with a digit on both sides
    kHasDateSep = 32,
    kHasTimeSep = 64,
    kTimeOk = 128, // the time separator passes the same position and digit test
    kNumFail = 256, // the numeric reading failed (Num holds the part read before the fault)
    kNumEmpty = 512, // nothing left once prefix, suffix and separators are gone
    kEmpty = 1024, // the compared text is empty
};

int Sign(double A, double B) { return A > B ? 1 : (A < B ? -1 : 0); }
int Sign(int V) { return V > 0 ? 1 : (V < 0 ? -1 : 0); }

bool IsDigit(QChar C) { return C >= QLatin1Char('0') && C <= QLatin1Char('9'); }

// Letters a..z only, as the no-case styles compare.
QString UpperAZ(const QString& S) {
    QString R = S;
    QChar* P = R.data();
    for (qsizetype i = 0; i < R.size(); ++i)
        if (P[i] >= QLatin1Char('a') && P[i] <= QLatin1Char('z')) P[i] = QChar(P[i].unicode() - 32);
    return R;
}

// Reads leading blanks, an optional sign, digits with at most one ".", an optional exponent;
// nothing may follow. On a fault V is the value of what was read before it, sign included.
bool ReadNumber(const QString& S, double& V) {
    const qsizetype N = S.size();
    qsizetype i = 0;
    while (i < N && S[i] == QLatin1Char(' ')) ++i;
    std::string Buf;
    Buf.reserve(size_t(N - i));
    if (i < N && (S[i] == QLatin1Char('-') || S[i] == QLatin1Char('+'))) {
        if (S[i] == QLatin1Char('-')) Buf.push_back('-');
        ++i;
    }
    bool Digits = false, Dot = false;
    for (; i < N; ++i) {
        const QChar C = S[i];
        if (IsDigit(C)) {
            Buf.push_back(char(C.unicode()));
            Digits = true;
        } else if (C == QLatin1Char('.') && !Dot) {
            Buf.push_back('.');
            Dot = true;
        } else
            break;
    }
    auto Value = [&Buf]() {
        double R = 0;
        const char* B = Buf.data();
        const char* E = B + Buf.size();
        if (std::from_chars(B, E, R).ec != std::errc()) R = 0;
        return R;
    };
    if (!Digits) {
        V = 0;
        return false;
    }
    if (i < N && (S[i] == QLatin1Char('e') || S[i] == QLatin1Char('E'))) {
        qsizetype k = i + 1;
        std::string Exp = "e";
        if (k < N && (S[k] == QLatin1Char('-') || S[k] == QLatin1Char('+'))) Exp.push_back(char(S[k++].unicode()));
        bool ExpDigits = false;
        for (; k < N && IsDigit(S[k]); ++k) {
            Exp.push_back(char(S[k].unicode()));
            ExpDigits = true;
        }
        if (ExpDigits) {
            Buf += Exp;
            i = k;
        }
    }
    V = Value();
    return i == N;
}

} // namespace

struct TGridSortKeys::TColumnKeys {
    bool Built = false;
    TSortStyle Style = ssAutomatic;
    QString Prefix, Suffix;
    std::vector<TRowKey> Rows;
    uint16_t AllFlags = 0; // flags some row has
    uint16_t CommonFlags = 0xFFFF; // flags every row has
};

TGridSortKeys::TGridSortKeys(TExtStringGrid& Grid, std::vector<int> Rows) : G(Grid), FRows(std::move(Rows)) {}

TGridSortKeys::~TGridSortKeys() = default;

TGridSortKeys::TColumnKeys& TGridSortKeys::Column(int ACol) {
    if (ACol >= int(FColumns.size())) FColumns.resize(size_t(ACol) + 1);
    auto& P = FColumns[size_t(ACol)];
    if (!P) P = std::make_unique<TColumnKeys>();
    if (!P->Built) BuildColumn(ACol, *P);
    return *P;
}

void TGridSortKeys::BuildColumn(int ACol, TColumnKeys& K) {
    TSortSettings* S = G.SortSettings();
    K.Style = S->AutoFormat() ? ssAutomatic : (S->IgnoreCase() ? ssAlphaNoCase : ssAlphabetic);
    G.GetColumnFormat(ACol, K.Style, K.Prefix, K.Suffix);
    const TSortStyle St = K.Style;
    const bool Auto = St == ssAutomatic;
    const bool AlphaNum = St == ssAlphaNumeric || St == ssAlphaNumericNoCase;
    const bool Numeric = St == ssNumeric || St == ssFinancial || Auto || AlphaNum;
    const bool Upper = St == ssAlphaNoCase || St == ssAlphaNumericNoCase || (Auto && S->IgnoreCase());
    const bool Virtual = S->SortOnVirtualCells();
    const QChar DateSep = GridDateSeparator();
    const QChar TimeSep = GridTimeSeparator();
    const QChar Thousand = GridThousandSeparator();
    const QChar Decimal = GridDecimalSeparator();

    K.Rows.assign(FRows.size(), TRowKey{});
    for (size_t n = 0; n < FRows.size(); ++n) {
        const int R = FRows[n];
        TRowKey& Key = K.Rows[n];
        QString Text = Virtual ? G.GetCellEx(ACol, R) : G.GetGridCell(ACol, R);
        uint16_t F = 0;
        if (Auto || St == ssCheckBox) {
            const TCellType T = G.GetCellType(ACol, R);
            if (T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox) F |= kCheckType;
            bool State = false;
            if ((F & kCheckType || St == ssCheckBox) && G.GetCheckBoxState(ACol, R, State) && State) F |= kCheckState;
        }
        if (Auto || AlphaNum) {
            const int Kind = ClassifyNumber(Text);
            if (Kind == 0 || Kind == 1 || Kind == 5) F |= kIsNumber;
        }
        if (Auto) {
            const qsizetype P = Text.indexOf(DateSep); // 0-based: the 1-based position is P + 1
            if (P >= 0) F |= kHasDateSep;
            if (Text.contains(TimeSep)) F |= kHasTimeSep;
            if (P >= 1 && P <= 2 && Text.size() > P + 1) {
                F |= kDatePos;
                if (IsDigit(Text[P - 1]) && IsDigit(Text[P + 1])) F |= kDateDigits;
            } else {
                const qsizetype Q = Text.indexOf(TimeSep);
                if (Q >= 1 && Q <= 2 && Text.size() > Q + 1 && IsDigit(Text[Q - 1]) && IsDigit(Text[Q + 1]))
                    F |= kTimeOk;
            }
        }
        if (Numeric) {
            QString N = Text;
            if (!K.Suffix.isEmpty()) {
                const qsizetype P = N.indexOf(K.Suffix);
                if (P >= 0) N.remove(P, K.Suffix.size());
            }
            if (!K.Prefix.isEmpty()) {
                const qsizetype P = N.indexOf(K.Prefix);
                if (P >= 0) N.remove(P, K.Prefix.size());
            }
            if (St == ssFinancial) N.remove(Thousand);
            if (Decimal != QLatin1Char('.')) {
                const qsizetype P = N.indexOf(Decimal);
                if (P >= 0) N[P] = QLatin1Char('.');
            }
            if (N.isEmpty()) F |= kNumEmpty;
            if (!ReadNumber(N, Key.Num)) {
                const bool DisplEmpty = Virtual ? Text.isEmpty() : G.GetCellEx(ACol, R).isEmpty();
                if (DisplEmpty)
                    Key.Num = 0;
                else
                    F |= kNumFail;
            }
        }
        // Readers that fail count as 0; none of them may leave the comparison.
        auto Guarded = [](auto&& Read) {
            try {
                return double(Read());
            } catch (...) {
                return 0.0;
            }
        };
        if (St == ssDate || St == ssDateTime || (Auto && (F & kHasDateSep))) {
            if (!Text.isEmpty())
                Key.Date = Guarded([&] {
                    TDateTime D = 0;
                    return TryStrToDateTime(Text, D) ? D : 0.0;
                });
        } else if (St == ssShortDateEU) {
            Key.Date = Guarded([&] { return ParseDateEU(Text); });
        } else if (St == ssShortDateUS) {
            Key.Date = Guarded([&] { return ParseDateUS(Text); });
        }
        if (St == ssTime || (Auto && (F & kHasTimeSep)))
            Key.Time = Guarded([&] {
                TDateTime D = 0;
                return TryStrToTime(Text, D) ? D : 0.0;
            });
        if (St == ssImages) Key.Image = G.CellImageKey(ACol, R);
        if (St == ssHTML)
            Text = G.GetStrippedCell(ACol, R);
        else if (St == ssAnsiAlphaNoCase)
            Text = Text.toUpper();
        else if (Upper)
            Text = UpperAZ(Text);
        if (Text.isEmpty()) F |= kEmpty;
        Key.Text = std::move(Text);
        Key.Flags = F;
        K.AllFlags |= F;
        K.CommonFlags &= F;
    }
    if (FRows.empty()) K.CommonFlags = 0;
    K.Built = true;
}

int TGridSortKeys::CompareCells(int ACol, int I, TSortDirection Direction, int J) {
    ++G.FCompares;
    TColumnKeys& K = Column(ACol);
    const TRowKey& A = K.Rows[size_t(I)];
    const TRowKey& B = K.Rows[size_t(J)];
    TSortStyle St = K.Style;
    TSortSettings* S = G.SortSettings();
    if (St == ssAutomatic) {
        if (A.Flags & kCheckType)
            St = ssCheckBox;
        else if (A.Flags & kIsNumber)
            St = ssNumeric;
        else {
            St = S->IgnoreCase() ? ssAlphaNoCase : ssAlphabetic;
            if (A.Flags & kDatePos) {
                if ((A.Flags & kDateDigits) && (B.Flags & kHasDateSep))
                    St = (A.Flags & kHasTimeSep) ? ssDateTime : ssDate;
            } else if ((A.Flags & kTimeOk) && (B.Flags & kHasTimeSep))
                St = ssTime;
        }
    } else if (St == ssAlphaNumeric || St == ssAlphaNumericNoCase) {
        if ((A.Flags & kIsNumber) && (B.Flags & kIsNumber))
            St = ssNumeric;
        else
            St = St == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
    }
    int Res = 0;
    bool NumericEmpty = false;
    switch (St) {
        case ssAlphabetic:
        case ssAlphaCase:
        case ssAlphaNoCase:
        case ssHTML: Res = Sign(QString::compare(A.Text, B.Text, Qt::CaseSensitive)); break;
        case ssAnsiAlphaCase:
        case ssAnsiAlphaNoCase: Res = Sign(QString::localeAwareCompare(A.Text, B.Text)); break;
        case ssNumeric:
        case ssFinancial:
            NumericEmpty = true;
            if ((A.Flags & kNumFail) && (B.Flags & kNumFail))
                Res = 0;
            else
                Res = Sign(A.Num, B.Num);
            break;
        case ssDate:
        case ssDateTime:
        case ssShortDateEU:
        case ssShortDateUS: Res = Sign(A.Date, B.Date); break;
        case ssTime: Res = Sign(A.Time, B.Time); break;
        case ssCheckBox: Res = Sign(int(bool(A.Flags & kCheckState)) - int(bool(B.Flags & kCheckState))); break;
        case ssImages: Res = A.Image > B.Image ? 1 : (A.Image < B.Image ? -1 : 0); break;
        case ssCustom:
            if (G.OnCustomCompare) G.OnCustomCompare(&G, A.Text, B.Text, Res);
            Res = Sign(Res);
            break;
        case ssRaw:
            if (G.OnRawCompare) G.OnRawCompare(&G, ACol, FRows[size_t(I)], FRows[size_t(J)], Res);
            Res = Sign(Res);
            break;
        default: Res = 1; break;
    }
    if (S->IgnoreBlanks()) {
        const uint16_t EmptyBit = NumericEmpty ? kNumEmpty : kEmpty;
        const bool EA = A.Flags & EmptyBit;
        const bool EB = B.Flags & EmptyBit;
        if (EA != EB) {
            int R = EA ? -1 : 1;
            if (S->BlankPos() == blLast) R = -R;
            if (Direction == TSortDirection::sdDescending) R = -R;
            Res = R;
        }
    }
    return Res;
}

int TGridSortKeys::CompareRows(int ACol, int I, int J) {
    const TSortDirection Dir = G.SortSettings()->Direction();
    const bool Full = G.SortSettings()->Full();
    const int Last = G.TotalColCount() - 1;
    for (int C = ACol;; ++C) {
        const int R = G.IsIgnoredColumn(C) ? 0 : CompareCells(C, I, Dir, J);
        if (R != 0 || !Full || C >= Last) return R;
    }
}

int TGridSortKeys::CompareRowsIndexed(int Index, int I, int J) {
    TSortIndexList* L = G.SortIndexes();
    const bool Full = G.SortSettings()->Full();
    for (int E = Index; E < L->Count(); ++E) {
        const uint32_t V = uint32_t(L->GetInteger(E));
        const int C = int(V & 0x7FFFFFFFu);
        const bool Desc = V & 0x80000000u;
        const int R = G.IsIgnoredColumn(C)
            ? 0
            : CompareCells(C, I, Desc ? TSortDirection::sdDescending : TSortDirection::sdAscending, J);
        if (R != 0 || !Full) return Desc ? -R : R;
    }
    return 0;
}

namespace {

// A stable bottom-up merge sort. It never reads outside the range whatever the comparison
// answers (an event handler may answer inconsistently), and it does not recurse.
template <typename T, typename Less>
void SafeStableSort(std::vector<T>& V, Less&& L) {
    const size_t N = V.size();
    const size_t Run = 16;
    for (size_t S = 0; S < N; S += Run) {
        const size_t E = std::min(S + Run, N);
        for (size_t i = S + 1; i < E; ++i) {
            T Tmp = std::move(V[i]);
            size_t j = i;
            while (j > S && L(Tmp, V[j - 1])) {
                V[j] = std::move(V[j - 1]);
                --j;
            }
            V[j] = std::move(Tmp);
        }
    }
    if (N <= Run) return;
    std::vector<T> Buf(N);
    for (size_t W = Run; W < N; W *= 2) {
        for (size_t Lo = 0; Lo < N; Lo += 2 * W) {
            const size_t Mid = std::min(Lo + W, N), Hi = std::min(Lo + 2 * W, N);
            size_t a = Lo, b = Mid, o = Lo;
            if (Mid < Hi && !L(V[Mid], V[Mid - 1])) {
                std::move(V.begin() + ptrdiff_t(Lo), V.begin() + ptrdiff_t(Hi), Buf.begin() + ptrdiff_t(Lo));
                continue;
            }
            while (a < Mid && b < Hi) Buf[o++] = L(V[b], V[a]) ? std::move(V[b++]) : std::move(V[a++]);
            while (a < Mid) Buf[o++] = std::move(V[a++]);
            while (b < Hi) Buf[o++] = std::move(V[b++]);
        }
        V.swap(Buf);
    }
}

struct TKeyItem {
    uint64_t Key;
    int32_t Index;
};

// A stable LSD radix sort on 64-bit keys, 11 bits a pass; passes where every key shares the
// digit are skipped.
void RadixSort(std::vector<TKeyItem>& V) {
    const size_t N = V.size();
    constexpr int Bits = 11, Passes = 6;
    constexpr size_t Buckets = size_t(1) << Bits;
    std::vector<uint32_t> Count(Buckets * Passes, 0);
    for (const TKeyItem& It : V)
        for (int p = 0; p < Passes; ++p) ++Count[size_t(p) * Buckets + ((It.Key >> (p * Bits)) & (Buckets - 1))];
    std::vector<TKeyItem> Buf(N);
    for (int p = 0; p < Passes; ++p) {
        uint32_t* C = &Count[size_t(p) * Buckets];
        const uint64_t Digit0 = (V[0].Key >> (p * Bits)) & (Buckets - 1);
        if (C[Digit0] == N) continue;
        uint32_t Sum = 0;
        for (size_t b = 0; b < Buckets; ++b) {
            const uint32_t c = C[b];
            C[b] = Sum;
            Sum += c;
        }
        for (const TKeyItem& It : V) Buf[C[(It.Key >> (p * Bits)) & (Buckets - 1)]++] = It;
        V.swap(Buf);
    }
}

uint64_t OrderedBits(double D) {
    if (D == 0) D = 0; // -0 and +0 compare equal
    uint64_t U;
    std::memcpy(&U, &D, sizeof U);
    return (U & 0x8000000000000000ull) ? ~U : (U | 0x8000000000000000ull);
}

// The first four UTF-16 units, most significant first; shorter texts pad with 0.
uint64_t TextPrefix(const QString& S) {
    uint64_t K = 0;
    const qsizetype N = std::min<qsizetype>(S.size(), 4);
    const QChar* P = S.constData();
    for (qsizetype i = 0; i < 4; ++i) K = (K << 16) | (i < N ? P[i].unicode() : 0u);
    return K;
}

} // namespace

bool TGridSortKeys::FastOrder(int ACol, TSortDirection Direction, int TieFrom, bool Indexed, std::vector<int>& Order) {
    if (G.IsIgnoredColumn(ACol) || FRows.size() < 2) return false;
    TColumnKeys& K = Column(ACol);
    const TSortStyle St = K.Style;
    const bool Blanks = G.SortSettings()->IgnoreBlanks();
    const bool Desc = Direction == TSortDirection::sdDescending;
    // The rest of the chain for rows the first column finds equal (true: I before J).
    auto Tie = [&](int I, int J) -> bool {
        if (TieFrom < 0) return false;
        if (Indexed) return CompareRowsIndexed(TieFrom, I, J) < 0;
        return CompareRows(TieFrom, I, J) * (Desc ? -1 : 1) < 0;
    };
    const bool AllNumbers = (K.CommonFlags & kIsNumber) && !(K.AllFlags & kCheckType);
    const bool NumericAll = St == ssNumeric || St == ssFinancial || (St == ssAutomatic && AllNumbers) ||
        ((St == ssAlphaNumeric || St == ssAlphaNumericNoCase) && (K.CommonFlags & kIsNumber));
    if (NumericAll && !(K.AllFlags & kNumFail) && !(Blanks && (K.AllFlags & kNumEmpty))) {
        std::vector<TKeyItem> Items(FRows.size());
        for (size_t n = 0; n < Items.size(); ++n) {
            const uint64_t U = OrderedBits(K.Rows[n].Num);
            Items[n] = {Desc ? ~U : U, int32_t(n)};
        }
        G.FCompares += int64_t(Items.size());
        RadixSort(Items);
        Order.resize(Items.size());
        for (size_t n = 0; n < Items.size(); ++n) Order[n] = Items[n].Index;
        if (TieFrom >= 0) {
            for (size_t s = 0; s < Items.size();) {
                size_t e = s + 1;
                while (e < Items.size() && Items[e].Key == Items[s].Key) ++e;
                if (e - s > 1) {
                    std::vector<int> Run(Order.begin() + ptrdiff_t(s), Order.begin() + ptrdiff_t(e));
                    SafeStableSort(Run, Tie);
                    std::copy(Run.begin(), Run.end(), Order.begin() + ptrdiff_t(s));
                }
                s = e;
            }
        }
        return true;
    }
    const uint16_t NotAlpha = kIsNumber | kCheckType;
    const bool AutoAlpha = St == ssAutomatic && !(K.AllFlags & NotAlpha) &&
        std::none_of(K.Rows.begin(), K.Rows.end(), [](const TRowKey& R) {
                               return (R.Flags & kDatePos) ? bool(R.Flags & kDateDigits) : bool(R.Flags & kTimeOk);
                           });
    const bool TextAll = St == ssAlphabetic || St == ssAlphaCase || St == ssAlphaNoCase || St == ssHTML || AutoAlpha ||
        ((St == ssAlphaNumeric || St == ssAlphaNumericNoCase) && !(K.AllFlags & kIsNumber));
    if (TextAll && !(Blanks && (K.AllFlags & kEmpty))) {
        std::vector<TKeyItem> Items(FRows.size());
        for (size_t n = 0; n < Items.size(); ++n) Items[n] = {TextPrefix(K.Rows[n].Text), int32_t(n)};
        const std::vector<TRowKey>& R = K.Rows;
        int64_t& Compares = G.FCompares;
        SafeStableSort(Items, [&](const TKeyItem& A, const TKeyItem& B) {
            ++Compares;
            int C = A.Key < B.Key ? -1 : (A.Key > B.Key ? 1 : 0);
            if (C == 0) C = Sign(QString::compare(R[size_t(A.Index)].Text, R[size_t(B.Index)].Text, Qt::CaseSensitive));
            if (Desc) C = -C;
            return C != 0 ? C < 0 : Tie(A.Index, B.Index);
        });
        Order.resize(Items.size());
        for (size_t n = 0; n < Items.size(); ++n) Order[n] = Items[n].Index;
        return true;
    }
    return false;
}

std::vector<int> TGridSortKeys::OrderPlain(int ACol, TSortDirection Direction) {
    std::vector<int> Order;
    const int TieFrom = G.SortSettings()->Full() && ACol < G.TotalColCount() - 1 ? ACol + 1 : -1;
    if (FastOrder(ACol, Direction, TieFrom, false, Order)) return Order;
    Order.resize(FRows.size());
    for (size_t n = 0; n < Order.size(); ++n) Order[n] = int(n);
    const int Dir = Direction == TSortDirection::sdDescending ? -1 : 1;
    SafeStableSort(Order, [&](int I, int J) { return CompareRows(ACol, I, J) * Dir < 0; });
    return Order;
}

std::vector<int> TGridSortKeys::OrderIndexed() {
    std::vector<int> Order;
    TSortIndexList* L = G.SortIndexes();
    if (L->Count() > 0) {
        const uint32_t V = uint32_t(L->GetInteger(0));
        const int TieFrom = G.SortSettings()->Full() && L->Count() > 1 ? 1 : -1;
        if (FastOrder(int(V & 0x7FFFFFFFu),
                      (V & 0x80000000u) ? TSortDirection::sdDescending : TSortDirection::sdAscending, TieFrom, true,
                      Order))
            return Order;
    }
    Order.resize(FRows.size());
    for (size_t n = 0; n < Order.size(); ++n) Order[n] = int(n);
    SafeStableSort(Order, [&](int I, int J) { return CompareRowsIndexed(0, I, J) < 0; });
    return Order;
}
