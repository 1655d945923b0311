#pragma once
// The sort keys of a set of grid rows: each column's cells are read and converted once (texts,
// numbers, dates, check states, image keys) the first time a comparison needs that column, so a
// comparison never reads or parses a cell again.
#include "grid/control/ExtGrid.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TGridSortKeys {
public:
    // Rows: the display rows compared; comparisons address them by their index in this list.
    TGridSortKeys(TExtStringGrid& Grid, std::vector<int> Rows);
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
    std::vector<int> OrderPlain(int ACol, TSortDirection Direction);
    std::vector<int> OrderIndexed();

    // Per-row data of one column.
    struct TRowKey {
        QString Text; // the text as the style compares it (HTML stripped, upper-cased for no-case)
        double Num = 0; // the numeric reading
        double Date = 0; // the date (or date-time, short-date) reading
        double Time = 0; // the time reading
        int64_t Image = -1;
        uint16_t Flags = 0;
    };
    struct TColumnKeys;

private:
    TColumnKeys& Column(int ACol);
    void BuildColumn(int ACol, TColumnKeys& K);
    // Ties of a fast-path order are settled by the rest of the chain.
    template <typename Tie>
    void SettleTies(std::vector<int>& Order, const std::vector<uint64_t>& Keys, Tie&& Cmp);
    bool FastOrder(int ACol, TSortDirection Direction, int TieFrom, bool Indexed, std::vector<int>& Order);

    TExtStringGrid& G;
    std::vector<int> FRows;
    std::vector<std::unique_ptr<TColumnKeys>> FColumns;
};
