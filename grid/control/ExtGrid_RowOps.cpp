// Unit ExtGrid: row operations (insert, remove, remove by check box, selection or duplicate text,
// hide selected), clearing, trimming and colouring cell rectangles, merged areas, finding a cell
// and the column-order bookkeeping.
#include "grid/control/ExtGrid.h"

#include "platform/rtl/StateScope.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <set>
#include <vector>

// ---- removing and inserting rows -----------------------------------------------------------------------
namespace {
// Records repaint the cell they believe they are in: after rows moved, tell them their new row.
void RenumberRecordRows(TExtStringGrid* G, int FromDisplRow) {
    if (!G->HasCellProps()) return;
    const int Cols = G->TotalColCount();
    for (int r = std::max(FromDisplRow, 0); r < G->RowCount(); ++r)
        for (int c = 0; c < Cols; ++c)
            if (auto* P = dynamic_cast<TCellProperties*>(G->Objects(c, r))) P->SetOwnerRow(r);
}
} // namespace

void TExtStringGrid::DropRows(int DisplRow, int RCount, bool FreeControls) {
    // The real rows going, ascending: hidden rows after them and cell controls follow by these.
    std::vector<int> Gone(static_cast<size_t>(RCount));
    for (int i = 0; i < RCount; ++i) Gone[size_t(i)] = RealRowIndex(DisplRow + i);
    auto GoneBelow = [&Gone](int RealRow) {
        return int(std::lower_bound(Gone.begin(), Gone.end(), RealRow) - Gone.begin());
    };
    for (int i = FControlList->Count() - 1; i >= 0; --i) {
        TControlItem* C = FControlList->Controls(i);
        if (std::binary_search(Gone.begin(), Gone.end(), C->FY)) {
            if (!FreeControls) continue;
            if (C->FObject) C->FObject->SetVisible(false);
            FControlList->RemoveControl(i);
        } else {
            C->FY -= GoneBelow(C->FY);
        }
    }
    // Records of the removed rows are freed over every real column, hidden ones included.
    FreeCellPropsRect(0, DisplRow, std::max(TotalColCount(), ColCount()) - 1, DisplRow + RCount - 1);
    const int SavedRow = Row();
    const int SavedTop = TopRow();
    {
        TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
        FSel.DeleteRows(DisplRow, RowSelectIndex(DisplRow), RCount);
        // The platform keeps at least one row: removing every row leaves one empty row.
        const bool All = RCount >= RowCount();
        TCustomGrid::DeleteRows(DisplRow, RCount);
        if (All) ClearRowCells(0);
        FHiddenRows.RemoveRealRows(Gone);
        RenumberRecordRows(this, DisplRow);
        FMaxRowCount -= RCount;
        // The current row stays on its row when that row stays; otherwise it goes to the last
        // normal row when it fell past it.
        const int LastNormal = RowCount() - FFixedFooters - 1;
        if (SavedRow < DisplRow && SavedTop >= FixedRows() && SavedTop < RowCount()) SetTopRow(SavedTop);
        if (FixedRows() <= LastNormal && Row() > LastNormal)
            MoveCurrentCell(std::clamp(Col(), FixedCols(), std::max(FixedCols(), ColCount() - 1)), LastNormal, true);
    }
    CellsChanged(Rect(0, DisplRow, ColCount() - 1, DisplRow + RCount));
    if (TopRow() >= RowCount() + FixedRows() - VisibleRowCount() - 2 && RowCount() - VisibleRowCount() - 1 > 0)
        SetTopRow(std::max(FixedRows(), RowCount() + FixedRows() - VisibleRowCount() - 2));
    if (FControlList->Count() > 0) CellControlsUpdate(false);
    Invalidate();
}

void TExtStringGrid::RemoveRows(int DisplRow, int RCount) {
    if (DisplRow < 0 || DisplRow > RowCount() || RCount <= 0) return;
    // Removing at the end shortens the grid by RCount rows from its end.
    if (DisplRow == RowCount()) DisplRow = std::max(0, RowCount() - RCount);
    RCount = std::min(RCount, RowCount() - DisplRow);
    if (RCount <= 0) return;
    DropRows(DisplRow, RCount, false);
}

void TExtStringGrid::RemoveRowRange(int DisplRow, int RCount) { RemoveRowsCore(DisplRow, RCount, true); }

void TExtStringGrid::RemoveRowsCore(int DisplRow, int RCount, bool FreeControls) {
    if (DisplRow < 0 || DisplRow >= RowCount() || RCount <= 0) return;
    RCount = std::min(RCount, RowCount() - DisplRow);
    DropRows(DisplRow, RCount, FreeControls);
}

void TExtStringGrid::RemoveRowsEx(int DisplRow, int RCount) { RemoveRowsCore(DisplRow, RCount, false); }

void TExtStringGrid::InsertRows(int DisplRow, int RCount, bool UpdateCellControls) {
    if (RCount <= 0) return;
    // With a floating footer the footer row stays last.
    const int Limit = FloatingFooter()->Visible() && RowCount() > FixedRows() + 1 ? RowCount() - 1 : RowCount();
    DisplRow = std::clamp(DisplRow, 0, Limit);
    const int RealRow = RealRowIndex(DisplRow);
    if (SelectionHidden() || Row() >= RowCount() || Col() >= ColCount()) UnHideSelection();
    {
        TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
        FSel.InsertRows(DisplRow, RowSelectIndex(DisplRow), RCount);
        // A drag of this grid's rows follows them when rows are inserted above them.
        OleRowsInserted(DisplRow, RCount);
        // Cells, records and heights travel with their rows; the new rows are empty.
        TCustomGrid::InsertRows(DisplRow, RCount);
        FHiddenRows.InsertRealRows(RealRow, RCount);
        RenumberRecordRows(this, DisplRow);
    }
    if (UpdateCellControls && FControlList->Count() > 0) {
        for (int i = 0; i < FControlList->Count(); ++i)
            if (FControlList->Controls(i)->FY >= RealRow) FControlList->Controls(i)->FY += RCount;
        CellControlsUpdate(false);
    }
    if (!IsDestroying()) CellsChanged(Rect(0, DisplRow, ColCount() - 1, DisplRow + RCount));
    Invalidate();
}

void TExtStringGrid::RemoveCheckedRows(int CheckBoxDisplCol, bool RemoveChecked) {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    const int RealCol = RealColIndex(CheckBoxDisplCol);
    // A box that keeps its own state answers for itself; otherwise the cell text is the state.
    auto Checked = [&](int r) {
        bool State = false;
        if (GetCheckBoxState(RealCol, r, State)) return State;
        QString T = CheckTrue();
        GetCheckTrue(RealCol, r, T);
        return GetCellEx(RealCol, r) == T;
    };
    for (int r = RowCount() - 1; r >= FixedRows(); --r)
        if (Checked(r) == RemoveChecked) RemoveRows(r, 1);
}

void TExtStringGrid::RemoveDuplicates(int DisplCol, bool DoCase) {
    // The texts are compared without regard to case whatever DoCase says.
    (void)DoCase;
    const int RealCol = RealColIndex(DisplCol);
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    std::set<QString> Seen;
    int r = FixedRows();
    while (r < RowCount() - FFixedFooters) {
        const QString Key = GetCellEx(RealCol, r).toUpper();
        if (Seen.count(Key)) {
            const int Before = RowCount();
            RemoveRowRange(r, 1);
            if (RowCount() == Before) break; // the last row cannot go
        } else {
            Seen.insert(Key);
            ++r;
        }
    }
}

void TExtStringGrid::RemoveSelectedRows() {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    if (MouseActions()->DisjunctRowSelect()) {
        std::vector<int> Rows;
        for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r)
            if (FSel.RowFlag(RowSelectIndex(r))) Rows.push_back(r);
        for (auto It = Rows.rbegin(); It != Rows.rend(); ++It) RemoveRowRange(*It, 1);
        ClearRowSelect();
        return;
    }
    const TGridRect S = Selection();
    for (int r = std::max(S.Top, S.Bottom); r >= std::min(S.Top, S.Bottom); --r) RemoveRows(r, 1);
}

void TExtStringGrid::RemoveUnSelectedRows() {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    for (int r = RowCount() - FFixedFooters - 1; r >= FixedRows(); --r)
        if (!GetRowSelect(RowSelectIndex(r))) RemoveRowRange(r, 1);
    if (MouseActions()->RowSelectPersistent())
        SelectRows(FixedRows(), RowCount() - FixedRows());
    else
        ClearRowSelect();
}

void TExtStringGrid::HideSelectedRows() {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    for (int r = RowCount() - 1; r >= FixedRows(); --r)
        if (GetRowSelect(RowSelectIndex(r))) {
            const int RealRow = RealRowIndex(r);
            HideRows(RealRow, RealRow);
        }
}

void TExtStringGrid::HideUnSelectedRows() {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    int r = FixedRows();
    while (r < RowCount()) {
        if (GetRowSelect(RowSelectIndex(r))) {
            ++r;
            continue;
        }
        const int Before = RowCount();
        const int RealRow = RealRowIndex(r);
        HideRows(RealRow, RealRow);
        if (RowCount() == Before) ++r; // the last visible row stays
    }
}

// ---- removing columns by selection ------------------------------------------------------------------------
void TExtStringGrid::RemoveSelectedCols() {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    if (MouseActions()->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c) {
            if (!FSel.ColFlag(c)) continue;
            RemoveCols(RealColIndex(c), 1);
            FSel.SetColFlag(c, false);
            for (int After = c + 1; After < FSel.ColFlagCount(); ++After) {
                FSel.SetColFlag(After - 1, FSel.ColFlag(After));
                FSel.SetColFlag(After, false);
            }
        }
        return;
    }
    // Display columns one by one, so a hidden column inside the selection stays.
    const TGridRect S = Selection();
    for (int c = std::max(S.Left, S.Right); c >= std::min(S.Left, S.Right); --c) RemoveCols(RealColIndex(c), 1);
}

void TExtStringGrid::RemoveUnSelectedCols() {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    if (MouseActions()->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c) {
            if (FSel.ColFlag(c)) continue;
            RemoveCols(RealColIndex(c), 1);
            for (int After = c + 1; After < FSel.ColFlagCount(); ++After) {
                FSel.SetColFlag(After - 1, FSel.ColFlag(After));
                FSel.SetColFlag(After, false);
            }
        }
    } else {
        const TGridRect S = Selection();
        const int L = std::min(S.Left, S.Right);
        const int R = std::max(S.Left, S.Right);
        for (int c = ColCount() - 1; c > R; --c) RemoveCols(RealColIndex(c), 1);
        for (int c = L - 1; c >= FixedCols(); --c) RemoveCols(RealColIndex(c), 1);
    }
    ClearColSelect();
}

// ---- clearing ---------------------------------------------------------------------------------------------
void TExtStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    if (ARow2 < ARow1) return;
    const bool Destroying = IsDestroying();
    for (int r = std::max(ARow1, 0); r <= ARow2; ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            const int a = FSaveHiddenCells ? RealColIndex(c) : c;
            if (!FClearTextOnly && dynamic_cast<TCellProperties*>(Objects(a, r))) {
                if (FNilObjects)
                    ClearCellAndObject(a, r);
                else
                    FreeCellProps(a, r); // the record takes its cell graphic with it
            }
            if (!Destroying && !Cells(a, r).isEmpty()) {
                SetCells(a, r, QString());
                if (a != c) RepaintCell(c, r);
            }
        }
    if (Destroying || FBlockCellChange) return;
    const int C1 = FSaveHiddenCells ? RealColIndex(ACol1) : ACol1;
    const int C2 = FSaveHiddenCells ? RealColIndex(ACol2) : ACol2;
    CellsChanged(Rect(C1, ARow1, C2, ARow2));
    Invalidate();
}

void TExtStringGrid::ClearRows(int DisplRow, int RCount) {
    if (RowCount() <= 0 || ColCount() <= 0 || RCount <= 0) return;
    ClearRect(0, DisplRow, TotalColCount() - 1, DisplRow + RCount - 1);
}

void TExtStringGrid::ClearCols(int RealCol, int CCount) {
    if (RowCount() <= 0 || ColCount() <= 0 || CCount <= 0) return;
    ClearRect(RealCol, 0, RealCol + CCount - 1, RowCount() - 1);
}

void TExtStringGrid::ClearNormalCols(int RealCol, int CCount) {
    if (RowCount() <= 0 || ColCount() <= 0 || CCount <= 0) return;
    ClearRect(RealCol, FixedRows(), RealCol + CCount - 1, RowCount() - FFixedFooters - 1);
}

void TExtStringGrid::ClearNormalRows(int DisplRow, int RCount) {
    if (RowCount() <= 0 || ColCount() <= 0 || RCount <= 0) return;
    ClearRect(FixedCols(), DisplRow, TotalColCount() - FFixedRightCols - 1, DisplRow + RCount - 1);
}

void TExtStringGrid::ClearNormalCells() {
    ClearRect(FixedCols(), FixedRows(), TotalColCount() - FFixedRightCols - 1, RowCount() - FFixedFooters - 1);
}

void TExtStringGrid::Clear() {
    // Collapsed groups come back before the cells go, so no node's rows stay behind hidden.
    if (HasNodes()) RemoveAllNodes();
    if (RowCount() > 0 && TotalColCount() > 0) ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
    FSearchText.clear();
    if (NumHiddenColumns() > 0) Invalidate();
}

void TExtStringGrid::ClearAll() {
    Clear();
    // Hidden rows lose their texts; their records stay with them.
    for (int i = 0; i < FHiddenRows.Count(); ++i) {
        TGridItem* Item = FHiddenRows.Items(i);
        for (int c = 0; c < TotalColCount(); ++c)
            if (!Item->Texts(c).isEmpty()) Item->SetTexts(c, QString());
    }
}

void TExtStringGrid::ClearSelection() {
    if (MouseActions()->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (FSel.RowFlag(RowSelectIndex(r))) ClearRows(r, 1);
    } else if (MouseActions()->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (FSel.ColFlag(c)) ClearCols(RealColIndex(c), 1);
    } else {
        const TGridRect S = Selection();
        // The rectangle's display columns are cleared at their real columns only.
        for (int c = S.Left; c <= S.Right; ++c) {
            const int RealCol = RealColIndex(c);
            ClearRect(RealCol, S.Top, RealCol, S.Bottom);
        }
    }
}

// ---- trimming and colouring ---------------------------------------------------------------------------------
void TExtStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            const int a = FSaveHiddenCells ? RealColIndex(c) : c;
            const QString S = Cells(a, r);
            const QString T = Trim(S);
            if (T != S) SetCells(a, r, T);
        }
}

void TExtStringGrid::TrimColumn(int RealCol) { TrimRect(RealCol, 0, RealCol, RowCount() - 1); }

void TExtStringGrid::TrimRow(int DisplRow) { TrimRect(0, DisplRow, TotalColCount() - 1, DisplRow); }

void TExtStringGrid::TrimAll() { TrimRect(0, 0, TotalColCount() - 1, RowCount() - 1); }

void TExtStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor) {
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2 && c < TotalColCount(); ++c)
            GetCellProperties(c, r)->SetBrushColor(AColor);
    Invalidate();
}

// ---- merged areas ---------------------------------------------------------------------------------------------
void TExtStringGrid::SplitAllCells() {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c)
            if (IsMergedCell(c, r) && IsBaseCell(c, r)) SplitCells(c, r);
}

void TExtStringGrid::SplitRowCells(int DisplRow) {
    int c = 0;
    while (c < TotalColCount() - FFixedRightCols - 1) {
        const TPoint Span = CellSpan(c, DisplRow);
        if (IsMergedCell(c, DisplRow) && IsBaseCell(c, DisplRow) && Span.X >= 0) {
            SplitCells(c, DisplRow);
            c += Span.X + 1;
        } else {
            ++c;
        }
    }
}

void TExtStringGrid::MergeRowCells(int DisplRow, bool MainMerge) {
    const int Last = TotalColCount() - FFixedRightCols - 1;
    int Start = FixedCols();
    int Extra = 0;
    for (int c = FixedCols() + 1; c <= Last; ++c) {
        if (Cells(c, DisplRow) == Cells(c - 1, DisplRow) && (MainMerge || ColSpanIdentical(c, c - 1))) {
            ++Extra;
            continue;
        }
        MergeCells(Start, DisplRow, Extra + 1, 1);
        Start = c;
        Extra = 0;
    }
    if (Extra >= 1) MergeCells(Start, DisplRow, Extra + 1, 1);
}

// ---- finding --------------------------------------------------------------------------------------------------
bool TExtStringGrid::IsCell(const QString& SubStr, int& DisplCol, int& DisplRow) {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (Cells(RealColIndex(c), r) == SubStr) {
                DisplCol = c;
                DisplRow = r;
                return true;
            }
    return false;
}

bool TExtStringGrid::IsWideCell(int RealCol, int DisplRow) { return Cells(RealCol, DisplRow).startsWith("|\\"); }

// ---- column order ---------------------------------------------------------------------------------------------
int TExtStringGrid::ColumnAtPosition(int ACol) {
    if (FColumnOrder->Count() == 0) SetColumnOrder();
    if (FColumnOrder->Count() == 0 || ACol < 0 || ACol >= FColumnOrder->Count()) return ACol;
    const int v = FColumnOrder->GetInteger(ACol);
    return FGroupColumn >= 0 && v >= FGroupColumn ? v + 1 : v;
}

int TExtStringGrid::ColumnPosition(int ACol) {
    if (FColumnOrder->Count() == 0) return ACol;
    int p = ACol;
    const int Last = std::min(TotalColCount(), FColumnOrder->Count());
    for (int i = 0; i < Last; ++i)
        if (FColumnOrder->GetInteger(i) == ACol) {
            p = i;
            break;
        }
    if (FGroupColumn >= 0 && ACol >= FGroupColumn) --p;
    return p;
}

void TExtStringGrid::ResetColumnOrder() {
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    bool Moved = true;
    while (Moved) {
        Moved = false;
        for (int p = 0; p < ColCount() && p < FColumnOrder->Count(); ++p) {
            const int Design = FColumnOrder->GetInteger(p);
            if (Design < p && Design >= 0) {
                MoveColumn(p, Design);
                Moved = true;
            }
        }
    }
}

int TExtStringGrid::ColumnByHeader(const QString& AValue) {
    for (int c = 0; c < TotalColCount(); ++c)
        if (GetCellsEx(c, 0) == AValue) return c;
    return -1;
}

bool TExtStringGrid::GetFilterValues(int RealCol) {
    FilterValueList()->SetSorted(false);
    return BuildFilterList(RealCol);
}
