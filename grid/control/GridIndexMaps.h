#pragma once
// The two index maps of the string grid.
//
// Columns: a hidden column keeps its cells at its real (storage) column; the visible-column map
// says which real columns show and translates between real and display column indexes. The map
// covers real columns 0..511 (MapSize - 1 flags take part; the flag at 512 stays set).
//
// Rows: a hidden row leaves the cell store; its texts, cell objects and height wait in the
// hidden-row store, keyed by the row's real index (the index it has when nothing is hidden), so
// rows hidden by different operations and filter levels never mix up their places.
#include "platform/grids/Grids.h"
#include "platform/rtl/Classes.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

class TObject;

// ---- visible-column map ---------------------------------------------------------------------------
class TVisibleColumnMap {
public:
    static constexpr int MapSize = 513; // real columns 0..512; 0..511 take part in the mapping
    static constexpr int MappedCols = 512;

    TVisibleColumnMap();
    void Reset(); // all visible, nothing hidden

    int NumHidden() const { return FNumHidden; }
    // False for every real column outside the map.
    bool IsHidden(int RealCol) const { return RealCol >= 0 && RealCol < MappedCols && !FVisible[RealCol]; }
    // Marks one mapped real column hidden and keeps its display width; false when the column is
    // outside the map or already hidden.
    bool Hide(int RealCol, int SavedWidth);
    // Marks one mapped hidden real column visible; false when it was not hidden.
    bool Show(int RealCol);
    int SavedWidth(int RealCol) const;
    // A column move by real index: the hidden flag and kept width of FromRealCol go to ToRealCol,
    // those in between shift by one towards FromRealCol's old place.
    void MoveReal(int FromRealCol, int ToRealCol);

    int RealToDisplCol(int RealCol) const;
    // The real column shown at DisplCol; 0 when the map has no such display column.
    int DisplToRealCol(int DisplCol) const;
    // As DisplToRealCol, but -1 when no real column shows at DisplCol (writers skip such columns).
    int DisplToRealColOrNone(int DisplCol) const;

    // NumHidden equals the hidden flags, the flag at 512 is set. Raises EExtGridError.
    void CheckConsistency() const;

private:
    bool FVisible[MapSize];
    int FSavedWidth[MapSize]; // full integers: a width survives hiding whatever its size
    int FNumHidden = 0;
};

// ---- hidden-row store -------------------------------------------------------------------------------
// One hidden row: its real index, height, the texts and cell objects of all its cells, hidden
// columns included, in real column order (the row's own storage, taken out of the cell store
// whole), and the filter level at which it was hidden.
class TGridItem {
public:
    int Idx() const { return FIdx; }
    void SetIdx(int Value) { FIdx = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Level() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }
    QString Texts(int RealCol) const { return FItems.Cells(RealCol); }
    void SetTexts(int RealCol, const QString& Value) { FItems.SetCells(RealCol, Value); }
    TObject* Objects(int RealCol) const { return FItems.Objects(RealCol); }
    void SetObjects(int RealCol, TObject* Value) { FItems.SetObjects(RealCol, Value); }

    int FIdx = 0;
    int FHeight = 0;
    TStringGrid::TDetachedRow FItems; // the cells' objects stay owned by the grid's cell store
    int FLevel = 0;
};
using TGridItems = std::vector<TGridItem>;

// The entries, always in ascending order of their real index (no two with the same index). The
// mapping between display and real rows answers in logarithmic time.
class THiddenRowStore {
public:
    THiddenRowStore();
    ~THiddenRowStore();

    int Count() const { return int(FItems.size()); }
    // Entries are held by value: a pointer stays valid until the store changes.
    TGridItem* Items(int Index) { return &FItems.at(size_t(Index)); }
    const TGridItem* Items(int Index) const { return &FItems.at(size_t(Index)); }
    // The entry of a hidden real row, or null.
    TGridItem* Find(int RealRow);
    const TGridItem* Find(int RealRow) const { return const_cast<THiddenRowStore*>(this)->Find(RealRow); }
    bool Contains(int RealRow) const { return Find(RealRow) != nullptr; }
    // The number of hidden rows whose real index is below RealRow.
    int CountBelow(int RealRow) const;

    int RealToDisplRow(int RealRow) const { return RealRow - CountBelow(RealRow); }
    int DisplToRealRow(int DisplRow) const;

    // Adds an entry for a real row not in the store; returns it.
    TGridItem* Add(int RealRow);
    // Adds many entries at once (each real index new and distinct); keeps the order.
    void AddMany(TGridItems NewItems);
    // An empty list to build entries for AddMany in. While the store is empty it is the store's
    // own list, so hiding rows again after showing them reuses its memory instead of touching
    // fresh pages for every entry.
    TGridItems SpareList() { return FItems.empty() ? std::exchange(FItems, TGridItems()) : TGridItems(); }
    // Takes every entry for which Pred holds (in ascending real order).
    template <class TPred>
    TGridItems TakeIf(TPred Pred) {
        TGridItems Taken;
        Taken.reserve(size_t(std::count_if(FItems.begin(), FItems.end(), Pred)));
        size_t Kept = 0;
        for (size_t i = 0; i < FItems.size(); ++i) {
            if (Pred(FItems[i]))
                Taken.push_back(std::move(FItems[i]));
            else {
                if (Kept != i) FItems[Kept] = std::move(FItems[i]);
                FIdxs[Kept++] = FIdxs[i];
            }
        }
        FItems.resize(Kept);
        FIdxs.resize(Kept);
        return Taken;
    }
    // Visible rows with these real indexes (ascending) were removed: each entry after them moves
    // up by the number removed before it.
    void RemoveRealRows(const std::vector<int>& RemovedRealRows);
    // Count visible rows were inserted at real row RealRow: entries from there move down.
    void InsertRealRows(int RealRow, int Count);
    // Takes every entry (in ascending real order).
    TGridItems TakeAll();
    void Clear();

    // Ascending distinct indexes, the index array in step with the entries, every entry with a
    // text list. Raises EExtGridError.
    void CheckConsistency() const;

private:
    int LowerBound(int RealRow) const;
    TGridItems FItems;
    std::vector<int> FIdxs; // FItems[i]->FIdx, kept in a plain array for the searches
};
