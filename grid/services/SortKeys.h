#pragma once
// The sort keys of a set of grid rows: each column's cells are read and converted once (texts,
// numbers, dates, check states, image keys) the first time a comparison needs that column, so a
// comparison never reads or parses a cell again.
//
// A million-row column is read into a few flat arrays (one block of text for all rows, one array
// per kind of reading, each made only when the column's style needs it): memory the process has
// not touched yet costs more to bring in than the comparisons themselves.
#include "grid/control/ExtGrid.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

// Scratch memory of the sorts. Sorting a million rows needs some tens of megabytes for a moment,
// and memory newly taken from the system costs a page fault every few kilobytes: more than the
// sort itself. The blocks of one sort are kept for the next one (up to a limit).
namespace SortScratch {
void* Take(size_t Bytes);
void Give(void* P);
} // namespace SortScratch

template <typename T>
struct TScratchAllocator {
    using value_type = T;
    TScratchAllocator() = default;
    template <typename U>
    TScratchAllocator(const TScratchAllocator<U>&) {}
    T* allocate(size_t N) { return static_cast<T*>(SortScratch::Take(N * sizeof(T))); }
    void deallocate(T* P, size_t) { SortScratch::Give(P); }
    template <typename U>
    bool operator==(const TScratchAllocator<U>&) const {
        return true;
    }
};
template <typename T>
using TScratchVector = std::vector<T, TScratchAllocator<T>>;

class TGridSortKeys {
public:
    // Rows: the display rows compared; comparisons address them by their index in this list.
    TGridSortKeys(TExtStringGrid& Grid, TScratchVector<int> Rows);
    ~TGridSortKeys();

    int Count() const { return int(FRows.size()); }
    int RowAt(int I) const { return FRows[size_t(I)]; }

    // One cell comparison of rows I and J on a real column, in ascending terms.
    int CompareCells(int ACol, int I, TSortDirection Direction, int J);
    // The plain chain from ACol on (Full: the following columns break ties).
    int CompareRows(int ACol, int I, int J);
    // The chain of SortIndexes from entry Index on.
    int CompareRowsIndexed(int Index, int I, int J);

    // The permutation of 0 .. Count - 1 that orders the rows by column ACol in Direction, or by
    // SortIndexes; stable.
    TScratchVector<int> OrderPlain(int ACol, TSortDirection Direction);
    TScratchVector<int> OrderIndexed();

    struct TColumnKeys;

private:
    TColumnKeys& Column(int ACol);
    void BuildColumn(int ACol, TColumnKeys& K);
    bool FastOrder(int ACol, TSortDirection Direction, int TieFrom, bool Indexed, TScratchVector<int>& Order);
    // Orders each run [Runs[k], Runs[k + 1]) of Order, whose rows the first key found equal, by the
    // rest of the chain; the keys of the other columns are read for those rows only.
    void SettleTies(TScratchVector<int>& Order, const std::vector<uint32_t>& Runs, int TieFrom, bool Indexed,
                    TSortDirection Direction);

    TExtStringGrid& G;
    TScratchVector<int> FRows;
    std::vector<std::unique_ptr<TColumnKeys>> FColumns;
};
