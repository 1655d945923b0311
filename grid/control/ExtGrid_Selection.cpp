// The string grid's selection: current cell and view, the selection rectangle, disjunct row and
// column selection, the per-row modified and enabled flags, and the repaint operations.
#include "grid/control/ExtGrid.h"

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

void TGridSelStore::AddCell(int ACol, int ARow) {
    if (FCells.insert(CellKey(ACol, ARow)).second) FCellOrder.push_back(CellKey(ACol, ARow));
}

void TGridSelStore::RemoveCell(int ACol, int ARow) {
    if (FCells.erase(CellKey(ACol, ARow)) == 0) return;
    FCellOrder.erase(std::find(FCellOrder.begin(), FCellOrder.end(), CellKey(ACol, ARow)));
}

int64_t TGridSelStore::CellAt(int Index) const {
    if (Index < 0 || size_t(Index) >= FCellOrder.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FCellOrder[size_t(Index)];
}

void TGridSelStore::DeleteRows(int ARow, int RowFlagRow, int Count) {
    if (Count <= 0) return;
    auto Erase = [Count](std::vector<uint8_t>& L, int At) {
        if (At < 0 || size_t(At) >= L.size()) return;
        L.erase(L.begin() + At, L.begin() + std::min(L.size(), size_t(At) + size_t(Count)));
    };
    Erase(FRowFlags, RowFlagRow);
    Erase(FDisabled, ARow);
    Erase(FModified, ARow);
    FModifiedCount = int(std::count(FModified.begin(), FModified.end(), uint8_t(1)));
    std::vector<int> Rows;
    for (int R : FSelectedRows)
        if (R < RowFlagRow || R >= RowFlagRow + Count) Rows.push_back(R >= RowFlagRow + Count ? R - Count : R);
    FSelectedRows = Rows;
    FSelectedRowSet = std::unordered_set<int>(Rows.begin(), Rows.end());
    std::vector<int64_t> Cells;
    for (int64_t K : FCellOrder) {
        const int R = KeyRow(K);
        if (R < ARow)
            Cells.push_back(K);
        else if (R >= ARow + Count)
            Cells.push_back(CellKey(KeyCol(K), R - Count));
    }
    FCellOrder = Cells;
    FCells = std::unordered_set<int64_t>(Cells.begin(), Cells.end());
}

void TGridSelStore::InsertRows(int ARow, int RowFlagRow, int Count) {
    if (Count <= 0) return;
    auto Insert = [Count](std::vector<uint8_t>& L, int At) {
        if (At < 0 || size_t(At) >= L.size()) return;
        L.insert(L.begin() + At, size_t(Count), uint8_t(0));
    };
    Insert(FRowFlags, RowFlagRow);
    Insert(FDisabled, ARow);
    Insert(FModified, ARow);
    for (int& R : FSelectedRows)
        if (R >= RowFlagRow) R += Count;
    FSelectedRowSet = std::unordered_set<int>(FSelectedRows.begin(), FSelectedRows.end());
    for (int64_t& K : FCellOrder)
        if (KeyRow(K) >= ARow) K = CellKey(KeyCol(K), KeyRow(K) + Count);
    FCells = std::unordered_set<int64_t>(FCellOrder.begin(), FCellOrder.end());
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

// ---- current cell and view ----------------------------------------------------------------------
void TExtStringGrid::SetRow(int Value) {
    if (Col() < 0 || Col() >= ColCount()) MoveFocusTo(FixedCols(), Value);
    TBaseGrid::SetRow(Value);
    if (Row() != FLastRowReported && OnRowUpdate) {
        int Old = FLastRowReported;
        FLastRowReported = Row();
        OnRowUpdate(this, Old, Row());
    }
    if (MouseActions()->DisjunctRowSelect()) SelectionToRowSelect(false);
    // Two grids may follow each other: only a row that differs is handed on.
    if (TStringGrid* G = SyncedGrid(); G && SyncGrid()->SelectionRow() && Row() < G->RowCount() && G->Row() != Row())
        G->SetRow(Row());
    if (Value == RowCount() - 1 && SearchFooter()->Visible()) ScrollLastRowAboveFooter();
}

void TExtStringGrid::SetCol(int Value) {
    TBaseGrid::SetCol(Value);
    if (TStringGrid* G = SyncedGrid(); G && SyncGrid()->SelectionColumn() && Col() < G->ColCount() && G->Col() != Col())
        G->SetCol(Col());
}

void TExtStringGrid::SetTopRow(int Value) {
    if (Value < FixedRows() || Value > RowCount() - 1) return;
    TBaseGrid::SetTopRow(Value);
}

void TExtStringGrid::GotoCell(int ACol, int ARow) {
    SetRow(ARow);
    SetCol(ACol);
}

void TExtStringGrid::EditCell(int ACol, int ARow) {
    if (CanFocus()) SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TExtStringGrid::FocusCell(int ACol, int ARow) { SetSelection(GridRect(ACol, ARow, ACol, ARow)); }

void TExtStringGrid::MoveFocusTo(int ACol, int ARow) { MoveColRow(ACol, ARow, true, true); }

void TExtStringGrid::UpdateEditMode() { SelectCell(Col(), Row()); }

void TExtStringGrid::ScrollInView(int ColIndex, int RowIndex) {
    if (ColIndex >= ColCount() || RowIndex >= RowCount()) return;
    int L = LeftCol(), T = TopRow();
    int VC = VisibleColCount(), VR = VisibleRowCount();
    if (ColIndex < L || ColIndex >= L + VC) {
        SetCol(ColIndex);
        L = std::max(ColIndex - VC / 2, FixedCols());
    }
    if (RowIndex < T || RowIndex >= T + VR) {
        SetRow(RowIndex);
        T = std::max(RowIndex - VR / 2, FixedRows());
    }
    L = std::min(L, ColCount() - VC + 1);
    if (FixedCols() + VC < ColCount()) SetLeftCol(L);
    T = std::min(T, RowCount() - VR + 1);
    if (FixedRows() + VR >= RowCount()) return;
    SetTopRow(T);
    if (SearchFooter()->Visible()) {
        // The client height already leaves out a shown horizontal bar.
        int Limit = ClientHeight() - SearchPanelHeight();
        for (int Guard = RowCount(); Guard > 0; --Guard) {
            TRect R = CellRect(0, RowIndex);
            if (R.IsEmpty() || R.Bottom <= Limit) break;
            int Before = TopRow();
            SetTopRow(TopRow() + 1);
            if (TopRow() == Before) break;
        }
    }
}

// ---- selection rectangle ------------------------------------------------------------------------
void TExtStringGrid::SetSelection(const TGridRect& Value) {
    TBaseGrid::SetSelection(Value);
    if (ActiveCellShow()) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (ActiveRowShow()) RepaintRow(Value.Bottom);
}

void TExtStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection(GridRect(FromCol, FromRow, ToCol, ToRow));
}

// With persistent row selection the flags are kept by real row, which may lie beyond the
// displayed rows when rows are hidden.
int TExtStringGrid::RowSelectLimit() const {
    return MouseActions()->RowSelectPersistent() ? RowCount() + NumHiddenRows() : RowCount();
}

int TExtStringGrid::RowSelectIndex(int DisplRow) const {
    return MouseActions()->RowSelectPersistent() ? RealRowIndex(DisplRow) : DisplRow;
}

void TExtStringGrid::SelectRows(int RowIndex, int RCount) {
    if (RowIndex + RCount > RowCount()) RCount = RowCount() - RowIndex;
    if (!MouseActions()->DisjunctRowSelect()) {
        SetSelection(GridRect(FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1));
    } else {
        for (int i = RowIndex; i < RowIndex + RCount; ++i) {
            int Idx = RowSelectIndex(i);
            if (Idx < RowSelectLimit()) SetRowSelect(Idx, true);
        }
    }
    if (RowIndicator() && !RowIndicator()->Empty()) RepaintCol(0);
    FSelectionChanged = false;
}

void TExtStringGrid::SelectCols(int ColIndex, int CCount) {
    if (!MouseActions()->DisjunctColSelect()) {
        SetSelection(GridRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1));
        return;
    }
    for (int i = ColIndex; i < ColIndex + CCount; ++i)
        if (i >= 0 && i < ColCount()) SetColSelect(i, true);
}

void TExtStringGrid::UnSelectRows(int RowIndex, int RCount) {
    if (MouseActions()->DisjunctRowSelect()) {
        for (int i = RowIndex; i < RowIndex + RCount; ++i) {
            if (i < 0 || i >= RowCount()) continue;
            int Idx = RowSelectIndex(i);
            if (Idx < RowSelectLimit()) SetRowSelect(Idx, false);
        }
    }
    FSelectionChanged = false;
}

void TExtStringGrid::UnSelectCols(int ColIndex, int CCount) {
    if (!MouseActions()->DisjunctColSelect()) return;
    for (int i = ColIndex; i < ColIndex + CCount; ++i)
        if (i >= 0 && i < ColCount()) SetColSelect(i, false);
}

void TExtStringGrid::HideSelection() {
    FOldSelection = Selection();
    TBaseGrid::SetSelection(GridRect(ColCount(), RowCount(), ColCount(), RowCount()));
    FSelectionHidden = true;
}

void TExtStringGrid::UnHideSelection() {
    FSelectionHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    int R = (FixedRowAlways() && FixedRows() >= RowCount()) ? 0 : FixedRows();
    int C = (FixedColAlways() && FixedCols() >= ColCount()) ? 0 : FixedCols();
    SetSelection(GridRect(C, R, C, R));
}

// ---- disjunct selection -------------------------------------------------------------------------
bool TExtStringGrid::GetRowSelect(int ARow) {
    if (!MouseActions()->RowSelectPersistent() && (ARow < 0 || ARow >= RowCount() + NumHiddenRows()))
        throw EExtGridError(QStringLiteral("Invalid row %1 accessed").arg(ARow));
    if (MouseActions()->DisjunctRowSelect()) return FSel.RowFlag(ARow);
    TGridRect S = Selection();
    return ARow >= std::min(S.Top, S.Bottom) && ARow <= std::max(S.Top, S.Bottom);
}

void TExtStringGrid::SetRowSelect(int ARow, bool Value) {
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && RowCount() > FixedRows()))
        throw EExtGridError(QStringLiteral("Invalid row accessed"));
    bool Old = FSel.RowFlag(ARow);
    // The handler may veto every change of a row's flag, a row never flagged before included.
    if (Old != Value && OnRowDisjunctSelect) {
        bool Allow = true;
        OnRowDisjunctSelect(this, ARow, Value, Allow);
        if (!Allow) return;
    }
    FSel.GrowRowFlags(ARow + 1);
    if (Value) {
        if (!Old) RepaintRow(ARow);
        FSel.SetRowFlag(ARow, true);
        if (ARow >= FixedRows()) FSel.AddSelectedRow(ARow);
    } else {
        if (Old) RepaintRow(ARow);
        FSel.SetRowFlag(ARow, false);
        FSel.RemoveSelectedRow(ARow);
    }
    if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

bool TExtStringGrid::GetColSelect(int ACol) {
    if (ACol < 0 || ACol >= ColCount()) throw EExtGridError(QStringLiteral("Invalid column accessed"));
    return FSel.ColFlag(ACol);
}

void TExtStringGrid::SetColSelect(int ACol, bool Value) {
    if (ACol < 0 || ACol >= ColCount()) throw EExtGridError(QStringLiteral("Invalid column accessed"));
    FSel.GrowColFlags(ACol + 1);
    if (FSel.ColFlag(ACol) != Value) RepaintCol(ACol);
    FSel.SetColFlag(ACol, Value);
}

void TExtStringGrid::ClearRowSelect() {
    if (FSel.RowFlagCount() == 0) return;
    for (int R : FSel.FlaggedRows()) RepaintRow(R);
    FSel.ClearRowFlags();
    FSel.ClearSelectedRows();
}

void TExtStringGrid::ClearColSelect() {
    for (int C : FSel.FlaggedCols()) RepaintCol(C);
    FSel.ClearColFlags();
}

int TExtStringGrid::RowSelectCount() {
    if (MouseActions()->DisjunctRowSelect()) return FSel.CountRowFlags(RowCount() + NumHiddenRows());
    TGridRect S = Selection();
    return std::abs(S.Bottom - S.Top) + 1;
}

int TExtStringGrid::ColSelectCount() {
    if (MouseActions()->DisjunctColSelect()) return FSel.CountColFlags();
    TGridRect S = Selection();
    return S.Right - S.Left + 1;
}

void TExtStringGrid::SelectionToRowSelect(bool All) {
    TGridRect S = Selection();
    S.Bottom = std::min(S.Bottom, RowCount() - FixedFooters() - 1);
    for (int a = FixedRows(); a < RowCount(); ++a) {
        bool Inside = a >= S.Top && a <= S.Bottom;
        if (Inside || All) SetRowSelect(RowSelectIndex(a), Inside);
    }
    if (NumHiddenRows() > 0) Invalidate();
}

void TExtStringGrid::SelectionToColSelect(bool All) {
    TGridRect S = Selection();
    for (int c = FixedCols(); c < ColCount(); ++c) {
        bool Inside = c >= S.Left && c <= S.Right;
        if (Inside || All) SetColSelect(c, Inside);
    }
}

bool TExtStringGrid::IsSelected(int ACol, int ARow) {
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (MouseActions()->DisjunctCellSelect()) return FSel.HasCell(ACol, ARow);
    if (MouseActions()->DisjunctRowSelect()) {
        int Idx = RowSelectIndex(ARow);
        return Idx >= 0 && FSel.RowFlag(Idx);
    }
    if (MouseActions()->DisjunctColSelect()) return FSel.ColFlag(ACol);
    TGridRect S = Selection();
    return ACol >= S.Left && ACol <= S.Right && ARow >= S.Top && ARow <= S.Bottom;
}

// ---- row flags ----------------------------------------------------------------------------------
int TExtStringGrid::ModifiedRowCount() const { return FSel.ModifiedRowCount(); }

bool TExtStringGrid::GetRowModified(int ARow) const { return FSel.RowModified(ARow); }

void TExtStringGrid::SetRowModified(int ARow, bool Value) {
    FSel.SetRowModified(ARow, Value);
    RepaintCell(0, ARow);
}

bool TExtStringGrid::GetRowEnabled(int ARow) const { return !FSel.RowDisabled(ARow); }

void TExtStringGrid::SetRowEnabled(int ARow, bool Value) {
    if (ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (r != ARow && !FSel.RowDisabled(r)) {
                SetRow(r);
                break;
            }
        }
    }
    FSel.SetRowDisabled(ARow, !Value);
    RepaintRow(ARow);
}

// ---- repainting ---------------------------------------------------------------------------------
void TExtStringGrid::RepaintRow(int ARow) { InvalidateRow(ARow); }

void TExtStringGrid::RepaintCol(int ACol) { InvalidateCol(ACol); }

void TExtStringGrid::RepaintRect(const TRect& r) {
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0) return;
    int Right = std::min(r.Right, VisibleColCount() + FixedCols());
    TRect A = CellRect(r.Left, r.Top);
    TRect B = CellRect(Right, r.Bottom);
    if (A.IsEmpty() || B.IsEmpty()) {
        Invalidate();
        return;
    }
    InvalidateRect(Rect(std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                        std::max(A.Bottom, B.Bottom)));
}

void TExtStringGrid::RepaintListedCell(TObject* List, int ACol, int ARow) {
    (void)List;
    RepaintCell(ACol, ARow);
}

void TExtStringGrid::SwapCells(TPoint FromCell, TPoint ToCell) {
    QString T = GetGridCell(FromCell.X, FromCell.Y);
    SetGridCell(FromCell.X, FromCell.Y, GetGridCell(ToCell.X, ToCell.Y));
    SetGridCell(ToCell.X, ToCell.Y, T);
    TObject* A = GetGridObject(FromCell.X, FromCell.Y);
    TObject* B = GetGridObject(ToCell.X, ToCell.Y);
    SetGridObject(FromCell.X, FromCell.Y, B);
    SetGridObject(ToCell.X, ToCell.Y, A);
    // A record repaints the cell it believes it belongs to.
    if (auto* P = dynamic_cast<TCellProperties*>(B)) {
        P->SetOwnerCol(FromCell.X);
        P->SetOwnerRow(FromCell.Y);
    }
    if (auto* P = dynamic_cast<TCellProperties*>(A)) {
        P->SetOwnerCol(ToCell.X);
        P->SetOwnerRow(ToCell.Y);
    }
}

TStringGrid* TExtStringGrid::SyncedGrid() const { return dynamic_cast<TStringGrid*>(SyncGrid()->Grid()); }
