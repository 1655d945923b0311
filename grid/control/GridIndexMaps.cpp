// The visible-column map and the hidden-row store of the string grid.
#include "grid/control/GridIndexMaps.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>

// ---- visible-column map ---------------------------------------------------------------------------
TVisibleColumnMap::TVisibleColumnMap() { Reset(); }

void TVisibleColumnMap::Reset() {
    std::fill(std::begin(FVisible), std::end(FVisible), true);
    std::fill(std::begin(FSavedWidth), std::end(FSavedWidth), 0);
    FNumHidden = 0;
}

bool TVisibleColumnMap::Hide(int RealCol, int SavedWidth) {
    if (RealCol < 0 || RealCol >= MappedCols || !FVisible[RealCol]) return false;
    FSavedWidth[RealCol] = SavedWidth;
    FVisible[RealCol] = false;
    ++FNumHidden;
    return true;
}

bool TVisibleColumnMap::Show(int RealCol) {
    if (!IsHidden(RealCol)) return false;
    FVisible[RealCol] = true;
    --FNumHidden;
    return true;
}

int TVisibleColumnMap::SavedWidth(int RealCol) const {
    return RealCol >= 0 && RealCol < MapSize ? FSavedWidth[RealCol] : 0;
}

void TVisibleColumnMap::MoveReal(int FromRealCol, int ToRealCol) {
    if (FromRealCol == ToRealCol || FromRealCol < 0 || ToRealCol < 0) return;
    // Columns outside the map are visible; a hidden column never leaves the map (it would move
    // past 511 only from 511 itself, which then stays where it is).
    const int Lo = std::min(FromRealCol, ToRealCol);
    const int Hi = std::min(std::max(FromRealCol, ToRealCol), MappedCols - 1);
    if (Lo >= MappedCols) return;
    auto Rotate = [&](auto& A) {
        if (FromRealCol < ToRealCol)
            std::rotate(A + Lo, A + Lo + 1, A + Hi + 1);
        else
            std::rotate(A + Lo, A + Hi, A + Hi + 1);
    };
    if (std::max(FromRealCol, ToRealCol) >= MappedCols) {
        // The far end lies beyond the map: the mapped part shifts by one, a visible column enters.
        if (FromRealCol < ToRealCol) {
            if (!FVisible[Lo]) return;
            std::rotate(FVisible + Lo, FVisible + Lo + 1, FVisible + Hi + 1);
            std::rotate(FSavedWidth + Lo, FSavedWidth + Lo + 1, FSavedWidth + Hi + 1);
            FVisible[Hi] = true;
            FSavedWidth[Hi] = 0;
        } else {
            if (!FVisible[Hi]) return;
            std::rotate(FVisible + Lo, FVisible + Hi, FVisible + Hi + 1);
            std::rotate(FSavedWidth + Lo, FSavedWidth + Hi, FSavedWidth + Hi + 1);
            FVisible[Lo] = true;
            FSavedWidth[Lo] = 0;
        }
        return;
    }
    Rotate(FVisible);
    Rotate(FSavedWidth);
}

int TVisibleColumnMap::RealToDisplCol(int RealCol) const {
    if (RealCol >= MappedCols || FNumHidden == 0 || RealCol <= 0) return RealCol;
    int Hidden = 0;
    for (int j = 0; j < RealCol; ++j)
        if (!FVisible[j]) ++Hidden;
    return RealCol - Hidden;
}

int TVisibleColumnMap::DisplToRealColOrNone(int DisplCol) const {
    if (DisplCol >= MappedCols || FNumHidden == 0) return DisplCol;
    if (DisplCol < 0) return -1;
    int Shown = 0;
    for (int j = 0; j < MappedCols; ++j) {
        if (!FVisible[j]) continue;
        if (Shown == DisplCol) return j;
        ++Shown;
    }
    return -1;
}

int TVisibleColumnMap::DisplToRealCol(int DisplCol) const {
    const int RealCol = DisplToRealColOrNone(DisplCol);
    return RealCol < 0 && DisplCol >= 0 ? 0 : (RealCol < 0 ? DisplCol : RealCol);
}

void TVisibleColumnMap::CheckConsistency() const {
    int Hidden = 0;
    for (int j = 0; j < MapSize; ++j)
        if (!FVisible[j]) ++Hidden;
    if (Hidden != FNumHidden)
        throw EExtGridError(QString("Column map: %1 hidden flags, count %2").arg(Hidden).arg(FNumHidden));
    if (!FVisible[MappedCols]) throw EExtGridError("Column map: flag 512 cleared");
}

// ---- hidden-row store -------------------------------------------------------------------------------
THiddenRowStore::THiddenRowStore() = default;
THiddenRowStore::~THiddenRowStore() = default;

int THiddenRowStore::LowerBound(int RealRow) const {
    return int(std::lower_bound(FIdxs.begin(), FIdxs.end(), RealRow) - FIdxs.begin());
}

TGridItem* THiddenRowStore::Find(int RealRow) {
    const int I = LowerBound(RealRow);
    return I < Count() && FIdxs[size_t(I)] == RealRow ? &FItems[size_t(I)] : nullptr;
}

int THiddenRowStore::CountBelow(int RealRow) const { return LowerBound(RealRow); }

int THiddenRowStore::DisplToRealRow(int DisplRow) const {
    if (FIdxs.empty() || DisplRow < 0) return DisplRow;
    // The hidden rows before the (DisplRow + 1)-th visible row are the entries i whose row has at
    // most DisplRow visible rows before it: FIdxs[i] - i <= DisplRow (non-decreasing in i).
    int Lo = 0;
    int Hi = Count();
    while (Lo < Hi) {
        const int Mid = Lo + (Hi - Lo) / 2;
        if (FIdxs[size_t(Mid)] - Mid <= DisplRow)
            Lo = Mid + 1;
        else
            Hi = Mid;
    }
    return DisplRow + Lo;
}

TGridItem* THiddenRowStore::Add(int RealRow) {
    const int I = LowerBound(RealRow);
    if (I < Count() && FIdxs[size_t(I)] == RealRow) return &FItems[size_t(I)];
    TGridItem Item;
    Item.FIdx = RealRow;
    FItems.insert(FItems.begin() + I, std::move(Item));
    FIdxs.insert(FIdxs.begin() + I, RealRow);
    return &FItems[size_t(I)];
}

void THiddenRowStore::AddMany(TGridItems NewItems) {
    if (NewItems.empty()) return;
    auto ByIdx = [](const TGridItem& A, const TGridItem& B) { return A.FIdx < B.FIdx; };
    if (!std::is_sorted(NewItems.begin(), NewItems.end(), ByIdx)) std::sort(NewItems.begin(), NewItems.end(), ByIdx);
    if (FItems.empty()) {
        FItems = std::move(NewItems);
        FIdxs.resize(FItems.size());
        for (size_t i = 0; i < FItems.size(); ++i) FIdxs[i] = FItems[i].FIdx;
        return;
    }
    TGridItems Merged;
    Merged.reserve(FItems.size() + NewItems.size());
    size_t A = 0;
    size_t B = 0;
    while (A < FItems.size() || B < NewItems.size()) {
        if (B == NewItems.size() || (A < FItems.size() && FItems[A].FIdx < NewItems[B].FIdx))
            Merged.push_back(std::move(FItems[A++]));
        else
            Merged.push_back(std::move(NewItems[B++]));
    }
    FItems = std::move(Merged);
    FIdxs.resize(FItems.size());
    for (size_t i = 0; i < FItems.size(); ++i) FIdxs[i] = FItems[i].FIdx;
}

void THiddenRowStore::RemoveRealRows(const std::vector<int>& RemovedRealRows) {
    if (RemovedRealRows.empty()) return;
    for (size_t i = 0; i < FItems.size(); ++i) {
        const auto Before = std::lower_bound(RemovedRealRows.begin(), RemovedRealRows.end(), FIdxs[i]);
        FIdxs[i] -= int(Before - RemovedRealRows.begin());
        FItems[i].FIdx = FIdxs[i];
    }
}

void THiddenRowStore::InsertRealRows(int RealRow, int Count) {
    for (size_t i = size_t(LowerBound(RealRow)); i < FItems.size(); ++i) {
        FIdxs[i] += Count;
        FItems[i].FIdx = FIdxs[i];
    }
}

TGridItems THiddenRowStore::TakeAll() {
    TGridItems All = std::move(FItems);
    FItems.clear();
    FIdxs.clear();
    return All;
}

void THiddenRowStore::Clear() {
    FItems.clear();
    FIdxs.clear();
}

void THiddenRowStore::CheckConsistency() const {
    if (FIdxs.size() != FItems.size()) throw EExtGridError("Hidden rows: index array out of step");
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].FIdx != FIdxs[i]) throw EExtGridError(QString("Hidden rows: entry %1 out of step").arg(i));
        if (FItems[i].FIdx < 0) throw EExtGridError(QString("Hidden rows: negative index at %1").arg(i));
        if (i > 0 && FIdxs[i - 1] >= FIdxs[i])
            throw EExtGridError(QString("Hidden rows: index %1 not ascending").arg(FIdxs[i]));
    }
}
