// Sorting of the grid's rows. The order is worked out on keys read once per column, and only
// then are the rows moved, in one step: whatever raises while comparing (a display-text, format
// or compare handler) leaves the grid exactly as it was.
#include "grid/control/ExtGrid.h"
#include "grid/control/SearchPanel.h"
#include "grid/services/SortKeys.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {

TScratchVector<int> RowRange(int Left, int Right) {
    TScratchVector<int> Rows;
    if (Right >= Left) {
        Rows.resize(size_t(Right - Left + 1));
        std::iota(Rows.begin(), Rows.end(), Left);
    }
    return Rows;
}

// The exchanges a row-by-row sort would have made to reach Order (rows Left ..): the rows out of
// place less the cycles of the permutation. A cycle is a chain of dependent reads that waits on
// memory at every step on a large grid, so several are walked side by side; walks that meet
// belong to one cycle.
int64_t ExchangesFor(std::span<const int> Order, int Left) {
    const size_t N = Order.size();
    constexpr int W = 16;
    TScratchVector<uint8_t> Mark(N, 0); // 0: not visited yet, else the walker (1 .. W) that came by
    int64_t Moved = 0, Cycles = 0;
    size_t Next = 0;
    for (;;) {
        size_t Pos[W];
        bool Running[W];
        int Root[W + 1];
        int Active = 0;
        for (; Next < N && Active < W; ++Next) {
            if (Mark[Next] || size_t(Order[Next] - Left) == Next) continue;
            Pos[Active] = Next;
            Running[Active] = true;
            ++Active;
            Root[Active] = Active;
            Mark[Next] = uint8_t(Active);
        }
        if (Active == 0) break;
        Moved += Active;
        auto Find = [&Root](int X) {
            while (Root[X] != X) X = Root[X] = Root[Root[X]];
            return X;
        };
        for (int Walking = Active; Walking > 0;)
            for (int w = 0; w < Active; ++w) {
                if (!Running[w]) continue;
                const size_t To = size_t(Order[Pos[w]] - Left);
                if (const uint8_t M = Mark[To]) {
                    Root[Find(w + 1)] = Find(M);
                    Running[w] = false;
                    --Walking;
                } else {
                    Mark[To] = uint8_t(w + 1);
                    Pos[w] = To;
                    ++Moved;
                }
            }
        for (int w = 1; w <= Active; ++w)
            if (Find(w) == w) ++Cycles;
    }
    return Moved - Cycles;
}

// Keeps the texts and objects of column 0 in their rows while the rest of each row moves.
class TColumnZeroKeeper {
public:
    TColumnZeroKeeper(TExtStringGrid& G, bool Active) : G(G), Active(Active) {
        if (!Active) return;
        const int N = G.RowCount();
        Texts.reserve(size_t(N));
        Objects.reserve(size_t(N));
        for (int r = 0; r < N; ++r) {
            Texts.push_back(G.GetGridCell(0, r));
            Objects.push_back(G.GetGridObject(0, r));
        }
    }
    void Restore() {
        if (!Active) return;
        Active = false;
        const int N = std::min(G.RowCount(), int(Texts.size()));
        for (int r = 0; r < N; ++r) {
            if (G.GetGridCell(0, r) != Texts[size_t(r)]) G.SetGridCell(0, r, Texts[size_t(r)]);
            if (G.GetGridObject(0, r) != Objects[size_t(r)]) G.SetGridObject(0, r, Objects[size_t(r)]);
        }
    }

private:
    TExtStringGrid& G;
    bool Active;
    std::vector<QString> Texts;
    std::vector<TObject*> Objects;
};

} // namespace

// ---- comparisons --------------------------------------------------------------------------------
int TExtStringGrid::CompareCells(int ACol, int ARow1, TSortDirection Direction, int ARow2) {
    TGridSortKeys K(*this, {ARow1, ARow2});
    return K.CompareCells(ACol, 0, Direction, 1);
}

int TExtStringGrid::CompareRows(int ACol, int ARow1, int ARow2) {
    TGridSortKeys K(*this, {ARow1, ARow2});
    return K.CompareRows(ACol, 0, 1);
}

int TExtStringGrid::CompareRowsIndexed(int Index, int ARow1, int ARow2) {
    TGridSortKeys K(*this, {ARow1, ARow2});
    return K.CompareRowsIndexed(Index, 0, 1);
}

// ---- moving the rows ------------------------------------------------------------------------------
void TExtStringGrid::SortApplyOrder(int Left, std::span<const int> Order) {
    const int N = int(Order.size());
    if (N == 0 || Left < 0 || Left + N > RowCount()) return;
    bool Moves = false;
    for (int k = 0; k < N && !Moves; ++k) Moves = Order[size_t(k)] != Left + k;
    if (!Moves) return;

    if (SortSettings()->SingleColumn()) {
        // Only the sort column's cells move: the exchange goes through the row swap.
        const size_t Total = size_t(RowCount());
        std::vector<int> At(Total), Where(Total);
        std::iota(At.begin(), At.end(), 0);
        std::iota(Where.begin(), Where.end(), 0);
        for (int k = 0; k < N; ++k) {
            const int Want = Order[size_t(k)];
            const int From = Where[size_t(Want)];
            const int To = Left + k;
            if (From == To) continue;
            SortSwapRows(To, From);
            const int Displaced = At[size_t(To)];
            std::swap(At[size_t(To)], At[size_t(From)]);
            Where[size_t(Want)] = To;
            Where[size_t(Displaced)] = From;
        }
        return;
    }

    std::vector<int> Plan(static_cast<size_t>(RowCount()));
    std::iota(Plan.begin(), Plan.end(), 0);
    for (int k = 0; k < N; ++k) Plan[size_t(Left + k)] = Order[size_t(k)];

    FSortSwapCount += int(ExchangesFor(Order, Left));

    // The cross-reference keeps naming each row's unsorted position.
    TIntList* X = FSortList2.get();
    if (X->Count() == RowCount()) {
        TScratchVector<int> Old(static_cast<size_t>(N));
        for (int k = 0; k < N; ++k) Old[size_t(k)] = X->GetInteger(Order[size_t(k)]);
        for (int k = 0; k < N; ++k)
            if (X->GetInteger(Left + k) != Old[size_t(k)]) X->SetInteger(Left + k, Old[size_t(k)]);
    }
    if (MouseActions()->DisjunctRowSelect() && Navigation()->MoveRowOnSort()) {
        auto Index = [this](int DisplRow) { return NumHiddenRows() > 0 ? RealRowIndex(DisplRow) : DisplRow; };
        TScratchVector<char> Flags(static_cast<size_t>(N));
        for (int k = 0; k < N; ++k) Flags[size_t(k)] = FSel.RowFlag(Index(Order[size_t(k)]));
        FSel.GrowRowFlags(Index(Left + N - 1) + 1);
        for (int k = 0; k < N; ++k) FSel.SetRowFlag(Index(Left + k), Flags[size_t(k)]);
    }
    if (ShowModified()->Enabled()) {
        TScratchVector<char> Marks(static_cast<size_t>(N));
        for (int k = 0; k < N; ++k) Marks[size_t(k)] = FSel.RowModified(Order[size_t(k)]);
        for (int k = 0; k < N; ++k)
            if (FSel.RowModified(Left + k) != bool(Marks[size_t(k)])) FSel.SetRowModified(Left + k, Marks[size_t(k)]);
    }
    if (FSortFollowRow >= Left && FSortFollowRow < Left + N)
        for (int k = 0; k < N; ++k)
            if (Order[size_t(k)] == FSortFollowRow) {
                FSortFollowRow = Left + k;
                break;
            }

    RearrangeRows(Plan);

    // A cell record repaints the cell it believes it belongs to.
    const int Cols = TotalColCount();
    for (int k = 0; k < N; ++k) {
        const int R = Left + k;
        if (Order[size_t(k)] == R || !RowHasObjects(R)) continue;
        for (int c = 0; c < Cols; ++c)
            if (TObject* O = GetGridObject(c, R))
                if (auto* P = dynamic_cast<TCellProperties*>(O)) P->SetOwnerRow(R);
    }
}

// ---- the core ---------------------------------------------------------------------------------------
void TExtStringGrid::QuickSort(int Col, int Left, int Right) {
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (Right <= Left || Col < 0) return;
    FSortDir = SortSettings()->Direction() == TSortDirection::sdDescending ? -1 : 1;
    TGridSortKeys K(*this, RowRange(Left, Right));
    TScratchVector<int> Order = K.OrderPlain(Col, SortSettings()->Direction());
    for (int& O : Order) O += Left;
    SortApplyOrder(Left, Order);
}

void TExtStringGrid::QuickSortIndexed(int Left, int Right) {
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (Right <= Left) return;
    TGridSortKeys K(*this, RowRange(Left, Right));
    TScratchVector<int> Order = K.OrderIndexed();
    for (int& O : Order) O += Left;
    SortApplyOrder(Left, Order);
}

void TExtStringGrid::InitSortXRef() {
    TIntList* X = FSortList2.get();
    X->Clear();
    for (int r = 0; r < RowCount(); ++r) X->Add(r);
}

namespace {
// What every entry point puts back on its way out, also when a handler raised.
struct TSortScope {
    TExtStringGrid& G;
    TColumnZeroKeeper Col0;
    int TopRow;
    bool Done = false;
    explicit TSortScope(TExtStringGrid& G)
        : G(G), Col0(G, G.SortSettings()->NormalCellsOnly() && G.FixedCols() > 0), TopRow(G.TopRow()) {
        // Display handlers see every row the grid holds now, also rows inserted since the count
        // was last set.
        G.SetNormalRowCount(G.RowCount());
        G.BeginUpdate();
    }
    ~TSortScope() {
        try {
            Col0.Restore();
            if (G.Navigation()->KeepScrollOnSort() && TopRow < G.RowCount()) G.SetTopRow(TopRow);
        } catch (...) {}
        G.EndUpdate();
    }
};
} // namespace

void TExtStringGrid::Sort(int Column, TSortDirection Direction) {
    SortSettings()->SetColumn(Column);
    SortSettings()->SetDirection(Direction);
    QSort();
}

void TExtStringGrid::SortByColumn(int Col) {
    if (RowCount() <= 1) return;
    SortSettings()->SetColumn(Col);
    QSort();
}

void TExtStringGrid::QSort() {
    const int SortCol = SortSettings()->Column();
    if (SortCol < 0) return;
    if (FSortList2->Count() != RowCount()) InitSortXRef();
    SortIndexes()->Clear();
    const int OldRow = Row();
    {
        TSortScope Scope(*this);
        FSortFollowRow = OldRow;
        QuickSort(SortCol, FixedRows(), RowCount() - 1 - FixedFooters());
        if (!MouseActions()->DisjunctRowSelect()) {
            const int NewRow = Navigation()->MoveRowOnSort() ? FSortFollowRow : OldRow;
            if (NewRow >= 0 && NewRow < RowCount() && NewRow != Row()) MoveColRow(Col(), NewRow, true, false);
        }
    }
    if (OnRowUpdate && !Navigation()->MoveRowOnSort()) OnRowUpdate(this, OldRow, Row());
    if (FloatingFooter()->Visible()) InvalidateFooterPanel();
    if (SearchFooter()->Visible() && SearchPanel()) SearchPanel()->Invalidate();
}

void TExtStringGrid::QSortIndexed() {
    if (FSortList2->Count() != RowCount()) InitSortXRef();
    if (SortIndexes()->Count() == 0) throw EExtGridError("No indexes specified for indexed sort");
    const int OldRow = Row();
    TSortScope Scope(*this);
    FSortFollowRow = OldRow;
    QuickSortIndexed(FixedRows(), RowCount() - 1 - FixedFooters());
    const int NewRow = Navigation()->MoveRowOnSort() ? FSortFollowRow : OldRow;
    if (NewRow >= 0 && NewRow < RowCount() && NewRow != Row()) MoveColRow(Col(), NewRow, true, false);
}

namespace {
void SortNodeGroups(TExtStringGrid& G, bool Indexed) {
    const int First = G.FixedRows();
    const int Last = G.RowCount() - 1 - G.FixedFooters();
    int Deepest = -1;
    for (int r = First; r <= Last; ++r)
        if (G.IsNode(r)) Deepest = std::max(Deepest, G.GetNodeLevel(r));
    if (Deepest < 0) return;
    for (int r = First; r <= Last; ++r) {
        if (!G.IsNode(r) || G.GetNodeLevel(r) != Deepest || G.GetNodeState(r)) continue;
        const int Span = G.GetNodeSpan(r);
        if (Span <= 2) continue;
        const int End = std::min(r + Span - 1, Last);
        if (Indexed)
            G.QuickSortIndexed(r + 1, End);
        else
            G.QuickSort(G.SortSettings()->Column(), r + 1, End);
    }
}
} // namespace

void TExtStringGrid::QSortGroup() {
    if (SortSettings()->Column() < 0) return;
    if (FSortList2->Count() != RowCount()) InitSortXRef();
    const int OldRow = Row();
    TSortScope Scope(*this);
    FSortFollowRow = OldRow;
    SortNodeGroups(*this, false);
    const int NewRow = Navigation()->MoveRowOnSort() ? FSortFollowRow : OldRow;
    if (NewRow >= 0 && NewRow < RowCount() && NewRow != Row()) MoveColRow(Col(), NewRow, true, false);
}

void TExtStringGrid::QSortGroupIndexed() {
    if (FSortList2->Count() != RowCount()) InitSortXRef();
    if (SortIndexes()->Count() == 0) throw EExtGridError("No indexes specified for indexed sort");
    const int OldRow = Row();
    TSortScope Scope(*this);
    FSortFollowRow = OldRow;
    SortNodeGroups(*this, true);
    const int NewRow = Navigation()->MoveRowOnSort() ? FSortFollowRow : OldRow;
    if (NewRow >= 0 && NewRow < RowCount() && NewRow != Row()) MoveColRow(Col(), NewRow, true, false);
}

void TExtStringGrid::QUnSort() {
    // The cross-reference must name every row once; anything else would scramble rows.
    TIntList* X = FSortList2.get();
    const int N = RowCount();
    if (X->Count() != N) return;
    std::vector<int> Order(static_cast<size_t>(N), -1);
    for (int r = 0; r < N; ++r) {
        const int V = X->GetInteger(r);
        if (V < 0 || V >= N || Order[size_t(V)] >= 0) return;
        Order[size_t(V)] = r;
    }
    FUnSortList = std::make_unique<TIntList>(0, 0);
    for (int r = 0; r < N; ++r) FUnSortList->Add(X->GetInteger(r));
    TSortScope Scope(*this);
    SortApplyOrder(0, Order);
}

bool TExtStringGrid::SortLine(int Col, int ARow1, int ARow2) {
    if (Col < 0 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return false;
    const TSortDirection Dir = SortSettings()->Direction();
    const int OutOfOrder = Dir == TSortDirection::sdAscending ? 1 : -1;
    TGridSortKeys K(*this, {ARow1, ARow2});
    for (int C = Col; C < TotalColCount(); ++C) {
        const int R = K.CompareCells(C, 0, Dir, 1);
        if (R == OutOfOrder) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (R != 0) return false;
    }
    return false;
}
