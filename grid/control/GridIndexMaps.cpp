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
TGridItem::TGridItem() : FItems(std::make_unique<TStringList>()) {}
TGridItem::~TGridItem() = default;

THiddenRowStore::THiddenRowStore() = default;
THiddenRowStore::~THiddenRowStore() = default;

int THiddenRowStore::LowerBound(int RealRow) const {
    return int(std::lower_bound(FIdxs.begin(), FIdxs.end(), RealRow) - FIdxs.begin());
}

TGridItem* THiddenRowStore::Find(int RealRow) const {
    const int I = LowerBound(RealRow);
    return I < Count() && FIdxs[size_t(I)] == RealRow ? FItems[size_t(I)].get() : nullptr;
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
    if (I < Count() && FIdxs[size_t(I)] == RealRow) return FItems[size_t(I)].get();
    auto Item = std::make_unique<TGridItem>();
    Item->FIdx = RealRow;
    TGridItem* Result = Item.get();
    FItems.insert(FItems.begin() + I, std::move(Item));
    FIdxs.insert(FIdxs.begin() + I, RealRow);
    return Result;
}

void THiddenRowStore::AddMany(std::vector<std::unique_ptr<TGridItem>> NewItems) {
    if (NewItems.empty()) return;
    std::sort(NewItems.begin(), NewItems.end(), [](const auto& A, const auto& B) { return A->FIdx < B->FIdx; });
    std::vector<std::unique_ptr<TGridItem>> Merged;
    Merged.reserve(FItems.size() + NewItems.size());
    size_t A = 0;
    size_t B = 0;
    while (A < FItems.size() || B < NewItems.size()) {
        if (B == NewItems.size() || (A < FItems.size() && FItems[A]->FIdx < NewItems[B]->FIdx))
            Merged.push_back(std::move(FItems[A++]));
        else
            Merged.push_back(std::move(NewItems[B++]));
    }
    FItems = std::move(Merged);
    FIdxs.resize(FItems.size());
    for (size_t i = 0; i < FItems.size(); ++i) FIdxs[i] = FItems[i]->FIdx;
}

std::unique_ptr<TGridItem> THiddenRowStore::Take(int RealRow) {
    const int I = LowerBound(RealRow);
    if (I >= Count() || FIdxs[size_t(I)] != RealRow) return nullptr;
    auto Item = std::move(FItems[size_t(I)]);
    FItems.erase(FItems.begin() + I);
    FIdxs.erase(FIdxs.begin() + I);
    return Item;
}

void THiddenRowStore::Clear() {
    FItems.clear();
    FIdxs.clear();
}

void THiddenRowStore::CheckConsistency() const {
    if (FIdxs.size() != FItems.size()) throw EExtGridError("Hidden rows: index array out of step");
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (!FItems[i] || !FItems[i]->FItems) throw EExtGridError("Hidden rows: entry without texts");
        if (FItems[i]->FIdx != FIdxs[i]) throw EExtGridError(QString("Hidden rows: entry %1 out of step").arg(i));
        if (FItems[i]->FIdx < 0) throw EExtGridError(QString("Hidden rows: negative index at %1").arg(i));
        if (i > 0 && FIdxs[i - 1] >= FIdxs[i])
            throw EExtGridError(QString("Hidden rows: index %1 not ascending").arg(FIdxs[i]));
    }
}
