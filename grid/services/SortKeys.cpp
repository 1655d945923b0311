#include "grid/services/SortKeys.h"

#include "grid/base/ExtUtil.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <stdexcept>
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

// The characters of a number in a small buffer, spilling to the heap only for long texts.
class TNumberChars {
public:
    void Push(char C) {
        if (FLen < FSmall.size())
            FSmall[FLen] = C;
        else {
            if (FLen == FSmall.size()) FBig.assign(FSmall.data(), FLen);
            FBig.push_back(C);
        }
        ++FLen;
    }
    const char* Data() const { return FLen <= FSmall.size() ? FSmall.data() : FBig.data(); }
    size_t Size() const { return FLen; }

private:
    std::array<char, 48> FSmall{};
    std::string FBig;
    size_t FLen = 0;
};

// Reads leading blanks, an optional sign, digits with at most one ".", an optional exponent;
// nothing may follow. On a fault V is the value of what was read before it, sign included (a
// number that loses its sign would sort among the wrong half).
bool ReadNumber(QStringView S, double& V) {
    const qsizetype N = S.size();
    qsizetype i = 0;
    while (i < N && S[i] == QLatin1Char(' ')) ++i;
    TNumberChars Buf;
    if (i < N && (S[i] == QLatin1Char('-') || S[i] == QLatin1Char('+'))) {
        if (S[i] == QLatin1Char('-')) Buf.Push('-');
        ++i;
    }
    bool Digits = false, Dot = false;
    int Magnitude = 0; // digits before the point, leading zeros not counted
    for (; i < N; ++i) {
        const QChar C = S[i];
        if (IsDigit(C)) {
            if (!Dot && (Magnitude > 0 || C != QLatin1Char('0'))) ++Magnitude;
            Buf.Push(char(C.unicode()));
            Digits = true;
        } else if (C == QLatin1Char('.') && !Dot) {
            Buf.Push('.');
            Dot = true;
        } else
            break;
    }
    if (!Digits) {
        V = 0;
        return false;
    }
    long long Exponent = 0;
    if (i < N && (S[i] == QLatin1Char('e') || S[i] == QLatin1Char('E'))) {
        qsizetype k = i + 1;
        bool Negative = false;
        if (k < N && (S[k] == QLatin1Char('-') || S[k] == QLatin1Char('+'))) Negative = S[k++] == QLatin1Char('-');
        const qsizetype DigitsFrom = k;
        for (; k < N && IsDigit(S[k]); ++k)
            Exponent = std::min<long long>(Exponent * 10 + (S[k].unicode() - '0'), 1000000);
        if (k > DigitsFrom) {
            Buf.Push('e');
            if (Negative) Buf.Push('-');
            for (qsizetype e = DigitsFrom; e < k; ++e) Buf.Push(char(S[e].unicode()));
            if (Negative) Exponent = -Exponent;
            i = k;
        } else
            Exponent = 0;
    }
    double R = 0;
    const char* B = Buf.Data();
    const auto Res = std::from_chars(B, B + Buf.Size(), R);
    if (Res.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the nearest end keeps the order.
        const bool Negative = B[0] == '-';
        R = Magnitude + Exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        if (Negative) R = -R;
    } else if (Res.ec != std::errc())
        R = 0;
    V = R;
    return i == N;
}

// A plain decimal such as "-1234.56" (an optional minus, digits, optionally a point and more
// digits) with at most 15 significant digits: the common cell of a numeric column, read in one
// pass. Its value is exact, as the general reading gives it: an integer of at most 15 digits
// and a power of ten up to 1e22 are exact doubles, and one division rounds once.
bool ReadPlainDecimal(QStringView S, bool& Point, double& V) {
    const qsizetype N = S.size();
    qsizetype i = 0;
    const bool Negative = N > 0 && S[0] == QLatin1Char('-');
    if (Negative) ++i;
    uint64_t Mantissa = 0;
    int Significant = 0, Fraction = 0, Digits = 0;
    Point = false;
    for (; i < N; ++i) {
        const char16_t C = S[i].unicode();
        if (C >= u'0' && C <= u'9') {
            if (Significant > 0 || C != u'0') ++Significant;
            Mantissa = Mantissa * 10 + (C - u'0');
            ++Digits;
            if (Point) ++Fraction;
        } else if (C == u'.' && !Point && Digits > 0) {
            Point = true;
        } else
            return false;
    }
    if (Digits == 0 || (Point && Fraction == 0) || Significant > 15 || Fraction > 22) return false;
    static constexpr double Tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    V = double(Mantissa) / Tens[Fraction];
    if (Negative) V = -V;
    return true;
}

// Letters a..z only, as the no-case styles compare.
void AppendUpperAZ(TScratchVector<char16_t>& To, QStringView S) {
    for (QChar C : S) {
        char16_t U = C.unicode();
        if (U >= u'a' && U <= u'z') U = char16_t(U - 32);
        To.push_back(U);
    }
}

} // namespace

// ---- scratch memory ---------------------------------------------------------------------------------
namespace SortScratch {
namespace {

// Blocks below this size come and go through the ordinary heap, which recycles them anyway.
constexpr size_t KeepFrom = size_t(256) << 10;
// At most this much is kept between sorts.
constexpr size_t KeepAtMost = size_t(160) << 20;

// Each block carries its size in front, so a block handed out for less than it holds is kept
// at its full size.
struct alignas(std::max_align_t) THeader {
    size_t Size;
};

struct TPool {
    std::vector<THeader*> Free; // the blocks kept, each Size bytes after its header
    size_t Kept = 0;
    ~TPool() {
        for (THeader* H : Free) ::operator delete(H);
    }
};
thread_local TPool Pool;

} // namespace

void* Take(size_t Bytes) {
    if (Bytes < KeepFrom) {
        auto* H = static_cast<THeader*>(::operator new(sizeof(THeader) + Bytes));
        H->Size = Bytes;
        return H + 1;
    }
    // The smallest kept block that is large enough, unless it is far larger than asked for.
    auto& F = Pool.Free;
    size_t Best = F.size();
    for (size_t i = 0; i < F.size(); ++i)
        if (F[i]->Size >= Bytes && F[i]->Size / 4 <= Bytes && (Best == F.size() || F[i]->Size < F[Best]->Size))
            Best = i;
    if (Best < F.size()) {
        THeader* H = F[Best];
        F.erase(F.begin() + ptrdiff_t(Best));
        Pool.Kept -= H->Size;
        return H + 1;
    }
    auto* H = static_cast<THeader*>(::operator new(sizeof(THeader) + Bytes));
    H->Size = Bytes;
    return H + 1;
}

void Give(void* P) {
    if (!P) return;
    THeader* H = static_cast<THeader*>(P) - 1;
    if (H->Size < KeepFrom || H->Size > KeepAtMost) {
        ::operator delete(H);
        return;
    }
    auto& F = Pool.Free;
    // Room is made by letting the smallest blocks go first.
    while (Pool.Kept + H->Size > KeepAtMost && !F.empty()) {
        auto Min = std::min_element(F.begin(), F.end(), [](THeader* A, THeader* B) { return A->Size < B->Size; });
        Pool.Kept -= (*Min)->Size;
        ::operator delete(*Min);
        F.erase(Min);
    }
    try {
        F.push_back(H);
        Pool.Kept += H->Size;
    } catch (...) {
        ::operator delete(H);
    }
}

} // namespace SortScratch

struct TGridSortKeys::TColumnKeys {
    bool Built = false;
    TSortStyle Style = ssAutomatic;
    QString Prefix, Suffix;
    TScratchVector<uint16_t> Flags;
    TScratchVector<double> Num; // the numeric readings, for the styles that may compare numbers
    TScratchVector<double> Date; // date (or date-time, short-date) readings, when some cell needs one
    TScratchVector<double> Time;
    TScratchVector<int64_t> Image;
    // The texts as the style compares them (HTML stripped, upper-cased for no-case), end to end;
    // Ends stays empty when no comparison of this column looks at a text.
    TScratchVector<char16_t> Chars;
    TScratchVector<uint32_t> Ends;
    uint16_t AllFlags = 0; // flags some row has
    uint16_t CommonFlags = 0xFFFF; // flags every row has

    QStringView Text(size_t n) const {
        if (Ends.empty()) return {};
        const uint32_t Start = n ? Ends[n - 1] : 0;
        return QStringView(Chars.data() + Start, qsizetype(Ends[n] - Start));
    }
    double DateAt(size_t n) const { return Date.empty() ? 0.0 : Date[n]; }
    double TimeAt(size_t n) const { return Time.empty() ? 0.0 : Time[n]; }
};

TGridSortKeys::TGridSortKeys(TExtStringGrid& Grid, TScratchVector<int> Rows) : G(Grid), FRows(std::move(Rows)) {}

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
    const bool TextStyle = St == ssAlphabetic || St == ssAlphaCase || St == ssAlphaNoCase || St == ssHTML ||
        St == ssAnsiAlphaCase || St == ssAnsiAlphaNoCase || St == ssCustom || AlphaNum;
    const bool EditNumber = !K.Prefix.isEmpty() || !K.Suffix.isEmpty() || St == ssFinancial;
    const bool Virtual = S->SortOnVirtualCells();
    const QChar DateSep = GridDateSeparator();
    const QChar TimeSep = GridTimeSeparator();
    const QChar Thousand = GridThousandSeparator();
    const QChar Decimal = GridDecimalSeparator();
    const size_t Count = FRows.size();
    // Plain decimals are classified and read in one pass when the separators leave them plain.
    const bool PlainDecimals = Decimal == QLatin1Char('.') && Thousand != QLatin1Char('.') &&
        Thousand != QLatin1Char('-') && !IsDigit(Thousand) && !EditNumber;

    auto Read = [&](int R) { return Virtual ? G.GetCellEx(ACol, R) : G.GetGridCell(ACol, R); };
    // The text the style compares, appended to the column's block; true when it is empty.
    auto StoreText = [&](size_t n, const QString& Text) {
        const size_t Before = K.Chars.size();
        if (St == ssHTML) {
            const QString Stripped = G.GetStrippedCell(ACol, FRows[n]);
            K.Chars.insert(K.Chars.end(), Stripped.utf16(), Stripped.utf16() + Stripped.size());
        } else if (St == ssAnsiAlphaNoCase) {
            const QString U = Text.toUpper();
            K.Chars.insert(K.Chars.end(), U.utf16(), U.utf16() + U.size());
        } else if (Upper)
            AppendUpperAZ(K.Chars, Text);
        else
            K.Chars.insert(K.Chars.end(), Text.utf16(), Text.utf16() + Text.size());
        if (K.Chars.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("sort texts too long");
        K.Ends.push_back(uint32_t(K.Chars.size()));
        return K.Chars.size() == Before;
    };
    // Readers that fail count as 0; none of them may leave the comparison.
    auto Guarded = [](auto&& ReadValue) {
        try {
            return double(ReadValue());
        } catch (...) {
            return 0.0;
        }
    };

    // Automatic columns keep their texts only when some comparison may be alphabetic, which a
    // column of numbers never is; a column whose first cell is a number is read without them,
    // and a second pass fetches them should another cell need them after all.
    bool Collect = TextStyle || Auto;
    K.Flags.assign(Count, 0);
    if (Numeric) K.Num.assign(Count, 0.0);
    if (St == ssDate || St == ssDateTime || St == ssShortDateEU || St == ssShortDateUS) K.Date.assign(Count, 0.0);
    if (St == ssTime) K.Time.assign(Count, 0.0);
    if (St == ssImages) K.Image.assign(Count, -1);
    for (size_t n = 0; n < Count; ++n) {
        const int R = FRows[n];
        const QString Text = Read(R);
        uint16_t F = 0;
        if (Auto || St == ssCheckBox) {
            const TCellType T = G.GetCellType(ACol, R);
            if (T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox) F |= kCheckType;
            bool State = false;
            // The state is read by real row: with rows hidden, the display row would name another.
            const int Real = G.NumHiddenRows() > 0 ? G.RealRowIndex(R) : R;
            if ((F & kCheckType || St == ssCheckBox) && G.GetCheckBoxState(ACol, Real, State) && State)
                F |= kCheckState;
        }
        bool Plain = false, Point = false;
        double PlainValue = 0;
        if (PlainDecimals && Numeric) Plain = ReadPlainDecimal(Text, Point, PlainValue);
        if (Auto || AlphaNum) {
            // A plain decimal is an integer or a decimal number to the classification.
            const int Kind = Plain ? (Point ? 1 : 0) : ClassifyNumber(Text);
            if (Kind == 0 || Kind == 1 || Kind == 5) F |= kIsNumber;
        }
        if (Auto) {
            if (n == 0 && (F & kIsNumber)) Collect = false;
            // 0-based positions of the first separators: the 1-based position is one more.
            qsizetype P = -1, Q = -1;
            const QChar* C = Text.constData();
            for (qsizetype i = 0, Len = Text.size(); i < Len && (P < 0 || Q < 0); ++i) {
                if (P < 0 && C[i] == DateSep) P = i;
                if (Q < 0 && C[i] == TimeSep) Q = i;
            }
            if (P >= 0) F |= kHasDateSep;
            if (Q >= 0) F |= kHasTimeSep;
            if (P >= 1 && P <= 2 && Text.size() > P + 1) {
                F |= kDatePos;
                if (IsDigit(Text[P - 1]) && IsDigit(Text[P + 1])) F |= kDateDigits;
            } else if (Q >= 1 && Q <= 2 && Text.size() > Q + 1 && IsDigit(Text[Q - 1]) && IsDigit(Text[Q + 1]))
                F |= kTimeOk;
        }
        if (Plain) {
            K.Num[n] = PlainValue;
        } else if (Numeric) {
            QStringView View = Text;
            QString Edited;
            if (EditNumber || (Decimal != QLatin1Char('.') && Text.contains(Decimal))) {
                Edited = Text;
                if (!K.Suffix.isEmpty()) {
                    const qsizetype P = Edited.indexOf(K.Suffix);
                    if (P >= 0) Edited.remove(P, K.Suffix.size());
                }
                if (!K.Prefix.isEmpty()) {
                    const qsizetype P = Edited.indexOf(K.Prefix);
                    if (P >= 0) Edited.remove(P, K.Prefix.size());
                }
                if (St == ssFinancial) Edited.remove(Thousand);
                if (Decimal != QLatin1Char('.')) {
                    const qsizetype P = Edited.indexOf(Decimal);
                    if (P >= 0) Edited[P] = QLatin1Char('.');
                }
                View = Edited;
            }
            if (View.isEmpty()) F |= kNumEmpty;
            if (!ReadNumber(View, K.Num[n])) {
                const bool DisplEmpty = Virtual ? Text.isEmpty() : G.GetCellEx(ACol, R).isEmpty();
                if (DisplEmpty)
                    K.Num[n] = 0;
                else
                    F |= kNumFail;
            }
        }
        if (St == ssDate || St == ssDateTime || (Auto && (F & kHasDateSep))) {
            if (K.Date.empty()) K.Date.assign(Count, 0.0);
            if (!Text.isEmpty())
                K.Date[n] = Guarded([&] {
                    TDateTime D = 0;
                    return TryStrToDateTime(Text, D) ? D : 0.0;
                });
        } else if (St == ssShortDateEU) {
            K.Date[n] = Guarded([&] { return ParseDateEU(Text); });
        } else if (St == ssShortDateUS) {
            K.Date[n] = Guarded([&] { return ParseDateUS(Text); });
        }
        if (St == ssTime || (Auto && (F & kHasTimeSep))) {
            if (K.Time.empty()) K.Time.assign(Count, 0.0);
            K.Time[n] = Guarded([&] {
                TDateTime D = 0;
                return TryStrToTime(Text, D) ? D : 0.0;
            });
        }
        if (St == ssImages) K.Image[n] = G.CellImageKey(ACol, R);
        if (Collect) {
            if (n == 0) {
                K.Chars.reserve(Count * 12); // room the system only provides once it is written
                K.Ends.reserve(Count);
            }
            if (StoreText(n, Text)) F |= kEmpty;
        } else if (St == ssHTML ? G.GetStrippedCell(ACol, R).isEmpty() : Text.isEmpty())
            F |= kEmpty;
        K.Flags[n] = F;
        K.AllFlags |= F;
        K.CommonFlags &= F;
    }
    if (Count == 0) K.CommonFlags = 0;
    const bool TextsNeeded = TextStyle || (Auto && std::any_of(K.Flags.begin(), K.Flags.end(), [](uint16_t F) {
                                               return !(F & (kIsNumber | kCheckType));
                                           }));
    if (TextsNeeded && !Collect) {
        K.Chars.clear();
        K.Ends.clear();
        K.Ends.reserve(Count);
        for (size_t n = 0; n < Count; ++n) StoreText(n, Read(FRows[n]));
    }
    K.Built = true;
}

int TGridSortKeys::CompareCells(int ACol, int I, TSortDirection Direction, int J) {
    ++G.FCompares;
    TColumnKeys& K = Column(ACol);
    const size_t A = size_t(I), B = size_t(J);
    const uint16_t FA = K.Flags[A], FB = K.Flags[B];
    TSortStyle St = K.Style;
    TSortSettings* S = G.SortSettings();
    if (St == ssAutomatic) {
        if (FA & kCheckType)
            St = ssCheckBox;
        else if (FA & kIsNumber)
            St = ssNumeric;
        else {
            St = S->IgnoreCase() ? ssAlphaNoCase : ssAlphabetic;
            if (FA & kDatePos) {
                if ((FA & kDateDigits) && (FB & kHasDateSep)) St = (FA & kHasTimeSep) ? ssDateTime : ssDate;
            } else if ((FA & kTimeOk) && (FB & kHasTimeSep))
                St = ssTime;
        }
    } else if (St == ssAlphaNumeric || St == ssAlphaNumericNoCase) {
        if ((FA & kIsNumber) && (FB & kIsNumber))
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
        case ssHTML: Res = Sign(K.Text(A).compare(K.Text(B), Qt::CaseSensitive)); break;
        case ssAnsiAlphaCase:
        case ssAnsiAlphaNoCase: Res = Sign(QString::localeAwareCompare(K.Text(A), K.Text(B))); break;
        case ssNumeric:
        case ssFinancial:
            NumericEmpty = true;
            if ((FA & kNumFail) && (FB & kNumFail))
                Res = 0;
            else
                Res = Sign(K.Num[A], K.Num[B]);
            break;
        case ssDate:
        case ssDateTime:
        case ssShortDateEU:
        case ssShortDateUS: Res = Sign(K.DateAt(A), K.DateAt(B)); break;
        case ssTime: Res = Sign(K.TimeAt(A), K.TimeAt(B)); break;
        case ssCheckBox: Res = Sign(int(bool(FA & kCheckState)) - int(bool(FB & kCheckState))); break;
        case ssImages: Res = K.Image[A] > K.Image[B] ? 1 : (K.Image[A] < K.Image[B] ? -1 : 0); break;
        case ssCustom:
            if (G.OnCustomCompare) G.OnCustomCompare(&G, K.Text(A).toString(), K.Text(B).toString(), Res);
            Res = Sign(Res);
            break;
        case ssRaw:
            if (G.OnRawCompare) G.OnRawCompare(&G, ACol, FRows[A], FRows[B], Res);
            Res = Sign(Res);
            break;
        default: Res = 1; break;
    }
    if (S->IgnoreBlanks()) {
        const uint16_t EmptyBit = NumericEmpty ? kNumEmpty : kEmpty;
        const bool EA = FA & EmptyBit;
        const bool EB = FB & EmptyBit;
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
template <typename Vec, typename Less>
void SafeStableSort(Vec& V, Less&& L) {
    using T = typename Vec::value_type;
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
    Vec Buf(N);
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
void RadixSort(TScratchVector<TKeyItem>& V) {
    const size_t N = V.size();
    constexpr int Bits = 11, Passes = 6;
    constexpr size_t Buckets = size_t(1) << Bits;
    std::vector<uint32_t> Count(Buckets * Passes, 0);
    for (const TKeyItem& It : V)
        for (int p = 0; p < Passes; ++p) ++Count[size_t(p) * Buckets + ((It.Key >> (p * Bits)) & (Buckets - 1))];
    TScratchVector<TKeyItem> Buf(N);
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
uint64_t TextPrefix(QStringView S) {
    uint64_t K = 0;
    const qsizetype N = std::min<qsizetype>(S.size(), 4);
    const QChar* P = S.constData();
    for (qsizetype i = 0; i < 4; ++i) K = (K << 16) | (i < N ? P[i].unicode() : 0u);
    return K;
}

} // namespace

bool TGridSortKeys::FastOrder(int ACol, TSortDirection Direction, int TieFrom, bool Indexed,
                              TScratchVector<int>& Order) {
    if (G.IsIgnoredColumn(ACol) || FRows.size() < 2) return false;
    TColumnKeys& K = Column(ACol);
    const TSortStyle St = K.Style;
    const bool Blanks = G.SortSettings()->IgnoreBlanks();
    const bool Desc = Direction == TSortDirection::sdDescending;
    const size_t N = FRows.size();

    const bool AllNumbers = (K.CommonFlags & kIsNumber) && !(K.AllFlags & kCheckType);
    const bool NumericAll = St == ssNumeric || St == ssFinancial || (St == ssAutomatic && AllNumbers) ||
        ((St == ssAlphaNumeric || St == ssAlphaNumericNoCase) && (K.CommonFlags & kIsNumber));
    const uint16_t NotAlpha = kIsNumber | kCheckType;
    const bool AutoAlpha = St == ssAutomatic && !(K.AllFlags & NotAlpha) &&
        std::none_of(K.Flags.begin(), K.Flags.end(),
                     [](uint16_t F) { return (F & kDatePos) ? bool(F & kDateDigits) : bool(F & kTimeOk); });
    const bool TextAll = St == ssAlphabetic || St == ssAlphaCase || St == ssAlphaNoCase || St == ssHTML || AutoAlpha ||
        ((St == ssAlphaNumeric || St == ssAlphaNumericNoCase) && !(K.AllFlags & kIsNumber));

    const bool UseNumbers = NumericAll && !(K.AllFlags & kNumFail) && !(Blanks && (K.AllFlags & kNumEmpty));
    const bool UseTexts = !UseNumbers && TextAll && !K.Ends.empty() && !(Blanks && (K.AllFlags & kEmpty));
    if (!UseNumbers && !UseTexts) return false;

    // Rows whose keys tie on the first column, as runs of Order: [Runs[2k], Runs[2k + 1]).
    std::vector<uint32_t> Runs;
    TScratchVector<TKeyItem> Items(N);
    if (UseNumbers) {
        for (size_t n = 0; n < N; ++n) {
            const uint64_t U = OrderedBits(K.Num[n]);
            Items[n] = {Desc ? ~U : U, int32_t(n)};
        }
        G.FCompares += int64_t(N);
        RadixSort(Items);
        if (TieFrom >= 0)
            for (size_t s = 0; s < N;) {
                size_t e = s + 1;
                while (e < N && Items[e].Key == Items[s].Key) ++e;
                if (e - s > 1) Runs.insert(Runs.end(), {uint32_t(s), uint32_t(e)});
                s = e;
            }
    } else {
        // Four characters decide most pairs by a radix pass; rows that share them are ordered
        // by their whole texts.
        for (size_t n = 0; n < N; ++n) {
            const uint64_t U = TextPrefix(K.Text(n));
            Items[n] = {Desc ? ~U : U, int32_t(n)};
        }
        G.FCompares += int64_t(N);
        RadixSort(Items);
        int64_t& Compares = G.FCompares;
        auto TextCmp = [&](int32_t A, int32_t B) {
            ++Compares;
            const int C = K.Text(size_t(A)).compare(K.Text(size_t(B)), Qt::CaseSensitive);
            return Desc ? -C : C;
        };
        std::vector<TKeyItem> Run;
        for (size_t s = 0; s < N;) {
            size_t e = s + 1;
            while (e < N && Items[e].Key == Items[s].Key) ++e;
            if (e - s > 1) {
                Run.assign(Items.begin() + ptrdiff_t(s), Items.begin() + ptrdiff_t(e));
                SafeStableSort(Run,
                               [&](const TKeyItem& A, const TKeyItem& B) { return TextCmp(A.Index, B.Index) < 0; });
                std::copy(Run.begin(), Run.end(), Items.begin() + ptrdiff_t(s));
                if (TieFrom >= 0)
                    for (size_t a = s; a < e;) {
                        size_t b = a + 1;
                        while (b < e && K.Text(size_t(Items[b].Index)) == K.Text(size_t(Items[a].Index))) ++b;
                        if (b - a > 1) Runs.insert(Runs.end(), {uint32_t(a), uint32_t(b)});
                        a = b;
                    }
            }
            s = e;
        }
    }
    Order.resize(N);
    for (size_t n = 0; n < N; ++n) Order[n] = Items[n].Index;
    TScratchVector<TKeyItem>().swap(Items);
    if (!Runs.empty()) SettleTies(Order, Runs, TieFrom, Indexed, Direction);
    return true;
}

void TGridSortKeys::SettleTies(TScratchVector<int>& Order, const std::vector<uint32_t>& Runs, int TieFrom, bool Indexed,
                               TSortDirection Direction) {
    // The tied rows get keys of their own, so the next columns are read for them alone.
    TScratchVector<int> TiedRows;
    for (size_t k = 0; k < Runs.size(); k += 2)
        for (uint32_t p = Runs[k]; p < Runs[k + 1]; ++p) TiedRows.push_back(FRows[size_t(Order[p])]);
    TGridSortKeys Sub(G, std::move(TiedRows));
    const int Dir = Direction == TSortDirection::sdDescending ? -1 : 1;
    std::vector<int> Local, Mapped;
    int Base = 0;
    for (size_t k = 0; k < Runs.size(); k += 2) {
        const int Len = int(Runs[k + 1] - Runs[k]);
        Local.resize(size_t(Len));
        for (int i = 0; i < Len; ++i) Local[size_t(i)] = Base + i;
        if (Indexed)
            SafeStableSort(Local, [&](int I, int J) { return Sub.CompareRowsIndexed(TieFrom, I, J) < 0; });
        else
            SafeStableSort(Local, [&](int I, int J) { return Sub.CompareRows(TieFrom, I, J) * Dir < 0; });
        Mapped.assign(Order.begin() + ptrdiff_t(Runs[k]), Order.begin() + ptrdiff_t(Runs[k + 1]));
        for (int i = 0; i < Len; ++i) Order[Runs[k] + uint32_t(i)] = Mapped[size_t(Local[size_t(i)] - Base)];
        Base += Len;
    }
}

TScratchVector<int> TGridSortKeys::OrderPlain(int ACol, TSortDirection Direction) {
    TScratchVector<int> Order;
    const int TieFrom = G.SortSettings()->Full() && ACol < G.TotalColCount() - 1 ? ACol + 1 : -1;
    if (FastOrder(ACol, Direction, TieFrom, false, Order)) return Order;
    Order.resize(FRows.size());
    for (size_t n = 0; n < Order.size(); ++n) Order[n] = int(n);
    const int Dir = Direction == TSortDirection::sdDescending ? -1 : 1;
    SafeStableSort(Order, [&](int I, int J) { return CompareRows(ACol, I, J) * Dir < 0; });
    return Order;
}

TScratchVector<int> TGridSortKeys::OrderIndexed() {
    TScratchVector<int> Order;
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
