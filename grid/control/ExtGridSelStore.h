#pragma once
// The string grid's per-row, per-column and per-cell selection state, kept apart from the grid so
// that its rules can be checked on their own: the disjunct row and column flags, the rows in the
// order they were selected, the disjunctly selected cells, and the modified and disabled rows.
//
// Indexes are whatever the grid passes (display rows, or real rows with persistent row
// selection); the store does not translate. Every list grows on demand with cleared entries; a
// question about an index beyond a list answers "not set" and leaves the list as it is.

#include <QString>

#include <cstdint>
#include <unordered_set>
#include <vector>

class TGridSelStore {
public:
    // -- disjunct row flags
    int RowFlagCount() const { return int(FRowFlags.size()); }
    // A negative index raises EListError "List index out of bounds (%d)".
    bool RowFlag(int ARow) const;
    void SetRowFlag(int ARow, bool Value); // grows the list to ARow + 1
    void GrowRowFlags(int Count);
    // The number of set flags among the first Limit entries.
    int CountRowFlags(int Limit) const;
    // Every row whose flag is set, ascending.
    std::vector<int> FlaggedRows() const;
    void ClearRowFlags(); // keeps the list's length

    // -- rows in the order they were selected (non-fixed rows only, each once)
    const std::vector<int>& SelectedRows() const { return FSelectedRows; }
    bool IsListedRow(int ARow) const { return FSelectedRowSet.count(ARow) != 0; }
    void AddSelectedRow(int ARow); // nothing when listed
    void RemoveSelectedRow(int ARow); // nothing when not listed
    void ClearSelectedRows();

    // -- disjunct column flags
    int ColFlagCount() const { return int(FColFlags.size()); }
    bool ColFlag(int ACol) const;
    void SetColFlag(int ACol, bool Value);
    void GrowColFlags(int Count);
    int CountColFlags() const;
    std::vector<int> FlaggedCols() const;
    void ClearColFlags();

    // -- disjunctly selected cells, keyed by row and column in 64 bits (no packing overflow)
    static int64_t CellKey(int ACol, int ARow) { return (int64_t(ARow) << 32) | int64_t(uint32_t(ACol)); }
    static int KeyCol(int64_t Key) { return int(int32_t(uint32_t(uint64_t(Key) & 0xFFFFFFFFu))); }
    static int KeyRow(int64_t Key) { return int(Key >> 32); }
    bool HasCell(int ACol, int ARow) const { return FCells.count(CellKey(ACol, ARow)) != 0; }
    void AddCell(int ACol, int ARow);
    void RemoveCell(int ACol, int ARow);
    void ClearCells() {
        FCells.clear();
        FCellOrder.clear();
    }
    int CellCount() const { return int(FCells.size()); }
    // The cells in the order they were added; raises EListError for an index outside the list.
    int64_t CellAt(int Index) const;

    // -- modified rows (1: modified) and disabled rows (1: disabled)
    bool RowModified(int ARow) const { return FlagAt(FModified, ARow); }
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const { return FModifiedCount; }
    void ClearModified();
    bool RowDisabled(int ARow) const { return FlagAt(FDisabled, ARow); }
    void SetRowDisabled(int ARow, bool Value);
    bool EnabledRowsUsed() const { return FEnabledRowsUsed; }

    // -- rows removed or inserted: the row flags, the modified and disabled rows and the selected
    // rows and cells after them follow; the entries of removed rows go. RowFlagRow is the index
    // in the row-flag list (a real row with persistent row selection), ARow the display row.
    void DeleteRows(int ARow, int RowFlagRow, int Count);
    void InsertRows(int ARow, int RowFlagRow, int Count);

    // Empty when every rule of the store holds, otherwise what is wrong. Tests call it after
    // every change.
    QString CheckConsistency() const;

private:
    static bool FlagAt(const std::vector<uint8_t>& L, int Index) {
        return Index >= 0 && size_t(Index) < L.size() && L[size_t(Index)] != 0;
    }
    static void CheckIndex(int Index);
    static void Put(std::vector<uint8_t>& L, int Index, bool Value);

    std::vector<uint8_t> FRowFlags;
    std::vector<uint8_t> FColFlags;
    std::vector<int> FSelectedRows;
    std::unordered_set<int> FSelectedRowSet;
    std::unordered_set<int64_t> FCells;
    std::vector<int64_t> FCellOrder;
    std::vector<uint8_t> FModified;
    int FModifiedCount = 0;
    std::vector<uint8_t> FDisabled;
    bool FEnabledRowsUsed = false;
};
