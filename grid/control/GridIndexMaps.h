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
#include "platform/rtl/Classes.h"

#include <QString>
#include <QStringList>

#include <memory>
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
// One hidden row: its real index, height, the texts (and cell objects) of all its cells, hidden
// columns included, in real column order, and the filter level at which it was hidden.
class TGridItem : public TObject {
public:
    TGridItem();
    ~TGridItem() override;

    int Idx() const { return FIdx; }
    void SetIdx(int Value) { FIdx = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Level() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }
    TStringList* Items() const { return FItems.get(); }

    int FIdx = 0;
    int FHeight = 0;
    std::unique_ptr<TStringList> FItems;
    int FLevel = 0;
};

// The entries, always in ascending order of their real index (no two with the same index). The
// mapping between display and real rows answers in logarithmic time.
class THiddenRowStore {
public:
    THiddenRowStore();
    ~THiddenRowStore();

    int Count() const { return int(FItems.size()); }
    TGridItem* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    // The entry of a hidden real row, or null.
    TGridItem* Find(int RealRow) const;
    bool Contains(int RealRow) const { return Find(RealRow) != nullptr; }
    // The number of hidden rows whose real index is below RealRow.
    int CountBelow(int RealRow) const;

    int RealToDisplRow(int RealRow) const { return RealRow - CountBelow(RealRow); }
    int DisplToRealRow(int DisplRow) const;

    // Adds an entry for a real row not in the store; returns it.
    TGridItem* Add(int RealRow);
    // Adds many entries at once (each real index new and distinct); keeps the order.
    void AddMany(std::vector<std::unique_ptr<TGridItem>> NewItems);
    // Takes the entry of RealRow out of the store and hands it over; null when there is none.
    std::unique_ptr<TGridItem> Take(int RealRow);
    // Takes every entry for which Pred holds (in ascending real order).
    template <class TPred>
    std::vector<std::unique_ptr<TGridItem>> TakeIf(TPred Pred) {
        std::vector<std::unique_ptr<TGridItem>> Taken;
        std::vector<std::unique_ptr<TGridItem>> Kept;
        std::vector<int> KeptIdx;
        for (auto& It : FItems) {
            if (Pred(*It))
                Taken.push_back(std::move(It));
            else {
                KeptIdx.push_back(It->FIdx);
                Kept.push_back(std::move(It));
            }
        }
        FItems = std::move(Kept);
        FIdxs = std::move(KeptIdx);
        return Taken;
    }
    void Clear();

    // Ascending distinct indexes, the index array in step with the entries, every entry with a
    // text list. Raises EExtGridError.
    void CheckConsistency() const;

private:
    int LowerBound(int RealRow) const;
    std::vector<std::unique_ptr<TGridItem>> FItems;
    std::vector<int> FIdxs; // FItems[i]->FIdx, kept in a plain array for the searches
};
