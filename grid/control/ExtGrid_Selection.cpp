// The string grid's selection: current cell and view, the selection rectangle, disjunct row and
// column selection, the per-row modified and enabled flags, and the repaint operations.
#include "grid/control/ExtGridSelStore.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

// ---- selection store ----------------------------------------------------------------------------
void TGridSelStore::CheckIndex(int Index) {
    if (Index < 0) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TGridSelStore::Put(std::vector<uint8_t>& L, int Index, bool Value) {
    CheckIndex(Index);
    if (size_t(Index) >= L.size()) {
        if (!Value) return; // an absent entry already reads cleared
        L.resize(size_t(Index) + 1, 0);
    }
    L[size_t(Index)] = Value ? 1 : 0;
}

bool TGridSelStore::RowFlag(int ARow) const {
    CheckIndex(ARow);
    return FlagAt(FRowFlags, ARow);
}

void TGridSelStore::GrowRowFlags(int Count) {
    if (Count > int(FRowFlags.size())) FRowFlags.resize(size_t(Count), 0);
}

void TGridSelStore::SetRowFlag(int ARow, bool Value) {
    CheckIndex(ARow);
    GrowRowFlags(ARow + 1);
    FRowFlags[size_t(ARow)] = Value ? 1 : 0;
}

int TGridSelStore::CountRowFlags(int Limit) const {
    size_t N = std::min(FRowFlags.size(), size_t(std::max(Limit, 0)));
    return int(std::count(FRowFlags.begin(), FRowFlags.begin() + ptrdiff_t(N), uint8_t(1)));
}

std::vector<int> TGridSelStore::FlaggedRows() const {
    std::vector<int> R;
    for (size_t i = 0; i < FRowFlags.size(); ++i)
        if (FRowFlags[i]) R.push_back(int(i));
    return R;
}

void TGridSelStore::ClearRowFlags() { std::fill(FRowFlags.begin(), FRowFlags.end(), uint8_t(0)); }

void TGridSelStore::AddSelectedRow(int ARow) {
    if (!FSelectedRowSet.insert(ARow).second) return;
    FSelectedRows.push_back(ARow);
}

void TGridSelStore::RemoveSelectedRow(int ARow) {
    if (!FSelectedRowSet.erase(ARow)) return;
    FSelectedRows.erase(std::find(FSelectedRows.begin(), FSelectedRows.end(), ARow));
}

void TGridSelStore::ClearSelectedRows() {
    FSelectedRows.clear();
    FSelectedRowSet.clear();
}

bool TGridSelStore::ColFlag(int ACol) const {
    CheckIndex(ACol);
    return FlagAt(FColFlags, ACol);
}

void TGridSelStore::GrowColFlags(int Count) {
    if (Count > int(FColFlags.size())) FColFlags.resize(size_t(Count), 0);
}

void TGridSelStore::SetColFlag(int ACol, bool Value) {
    CheckIndex(ACol);
    GrowColFlags(ACol + 1);
    FColFlags[size_t(ACol)] = Value ? 1 : 0;
}

int TGridSelStore::CountColFlags() const { return int(std::count(FColFlags.begin(), FColFlags.end(), uint8_t(1))); }

std::vector<int> TGridSelStore::FlaggedCols() const {
    std::vector<int> R;
    for (size_t i = 0; i < FColFlags.size(); ++i)
        if (FColFlags[i]) R.push_back(int(i));
    return R;
}

void TGridSelStore::ClearColFlags() { std::fill(FColFlags.begin(), FColFlags.end(), uint8_t(0)); }

void TGridSelStore::SetRowModified(int ARow, bool Value) {
    bool Was = FlagAt(FModified, ARow);
    CheckIndex(ARow);
    if (size_t(ARow) >= FModified.size()) FModified.resize(size_t(ARow) + 1, 0);
    FModified[size_t(ARow)] = Value ? 1 : 0;
    FModifiedCount += int(Value) - int(Was);
}

void TGridSelStore::ClearModified() {
    FModified.clear();
    FModifiedCount = 0;
}

void TGridSelStore::SetRowDisabled(int ARow, bool Value) {
    CheckIndex(ARow);
    FEnabledRowsUsed = true;
    if (size_t(ARow) >= FDisabled.size()) FDisabled.resize(size_t(ARow) + 1, 0);
    FDisabled[size_t(ARow)] = Value ? 1 : 0;
}

QString TGridSelStore::CheckConsistency() const {
    if (FSelectedRows.size() != FSelectedRowSet.size())
        return QStringLiteral("selected-rows list has %1 entries, its index %2")
            .arg(FSelectedRows.size())
            .arg(FSelectedRowSet.size());
    for (int R : FSelectedRows) {
        if (!FSelectedRowSet.count(R)) return QStringLiteral("row %1 listed but not indexed").arg(R);
        if (!FlagAt(FRowFlags, R)) return QStringLiteral("row %1 listed as selected without its flag").arg(R);
    }
    for (uint8_t F : FRowFlags)
        if (F > 1) return QStringLiteral("row flag holds %1").arg(F);
    for (uint8_t F : FColFlags)
        if (F > 1) return QStringLiteral("column flag holds %1").arg(F);
    for (int64_t K : FCells)
        if (KeyRow(K) < 0 || KeyCol(K) < 0 || CellKey(KeyCol(K), KeyRow(K)) != K)
            return QStringLiteral("cell key %1 does not name a cell").arg(K);
    int Modified = int(std::count(FModified.begin(), FModified.end(), uint8_t(1)));
    if (Modified != FModifiedCount)
        return QStringLiteral("%1 rows flagged modified, counted %2").arg(Modified).arg(FModifiedCount);
    if (!FEnabledRowsUsed && !FDisabled.empty()) return QStringLiteral("disabled rows kept while not in use");
    return QString();
}
