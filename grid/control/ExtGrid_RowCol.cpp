// Unit ExtGrid: row and column operations.
#include "grid/control/ExtGrid.h"

#include "platform/rtl/StateScope.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <vector>

void TExtStringGrid::RemapColumns(int NewTotal, const std::function<int(int)>& NewIndex) {
    const int OldTotal = TotalColCount();
    const int Rows = RowCount();
    struct TColState {
        int Width;
        bool Hidden;
    };
    std::vector<TColState> Old(size_t(std::max(OldTotal, 0)));
    for (int c = 0; c < OldTotal; ++c) {
        const bool H = IsHiddenColumn(c);
        Old[size_t(c)] = {H ? FColumnMap.SavedWidth(c) : ColWidths(DisplColIndex(c)), H};
    }
    const int Span = std::max(OldTotal, NewTotal);
    // The cells of each row are taken out first and put back at their new columns, so a column
    // never overwrites one that has not moved yet; a dropped column's record is freed here.
    std::vector<QString> Texts(static_cast<size_t>(Span));
    std::vector<TObject*> Objs(static_cast<size_t>(Span));
    for (int r = 0; r < Rows; ++r) {
        std::fill(Texts.begin(), Texts.end(), QString());
        std::fill(Objs.begin(), Objs.end(), nullptr);
        for (int c = 0; c < OldTotal; ++c) {
            const int N = NewIndex(c);
            TObject* O = Objects(c, r);
            if (N < 0) {
                if (auto* P = dynamic_cast<TCellProperties*>(O)) {
                    SetObjects(c, r, nullptr);
                    delete P;
                }
            } else {
                Texts[size_t(N)] = Cells(c, r);
                Objs[size_t(N)] = O;
                if (auto* P = dynamic_cast<TCellProperties*>(O)) P->SetOwnerCol(N);
            }
            SetObjects(c, r, nullptr);
            SetCells(c, r, QString());
        }
        for (int c = 0; c < NewTotal; ++c) {
            if (!Texts[size_t(c)].isEmpty()) SetCells(c, r, Texts[size_t(c)]);
            if (Objs[size_t(c)]) SetObjects(c, r, Objs[size_t(c)]);
        }
    }
    // Hidden state and widths follow their columns; new columns are visible at the default width.
    std::vector<TColState> New(size_t(std::max(NewTotal, 0)), TColState{DefaultColWidth(), false});
    for (int c = 0; c < OldTotal; ++c)
        if (const int N = NewIndex(c); N >= 0 && N < NewTotal) New[size_t(N)] = Old[size_t(c)];
    for (int c = 0; c < OldTotal && c < TVisibleColumnMap::MappedCols; ++c)
        if (Old[size_t(c)].Hidden) FColumnMap.Show(c);
    int Hidden = 0;
    for (int c = 0; c < NewTotal; ++c)
        if (New[size_t(c)].Hidden && c < TVisibleColumnMap::MappedCols) {
            FColumnMap.Hide(c, New[size_t(c)].Width);
            ++Hidden;
        } else {
            New[size_t(c)].Hidden = false;
        }
    TExtStringGrid::SetColCount(NewTotal - Hidden);
    for (int c = 0; c < NewTotal; ++c)
        if (!New[size_t(c)].Hidden) SetColWidths(DisplColIndex(c), New[size_t(c)].Width);
}

void TExtStringGrid::RemoveCols(int RealCol, int CCount) {
    const int Total = TotalColCount();
    if (RealCol < 0 || RealCol >= Total || CCount <= 0) return;
    CCount = std::min(CCount, Total - RealCol);
    {
        // The lock is given back however the move ends.
        TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
        RemapColumns(Total - CCount, [RealCol, CCount](int c) {
            if (c < RealCol) return c;
            return c < RealCol + CCount ? -1 : c - CCount;
        });
    }
    CellsChanged(Rect(RealCol, 0, RealCol + CCount, RowCount() - 1));
    Invalidate();
}

void TExtStringGrid::InsertCols(int RealCol, int CCount) {
    const int Total = TotalColCount();
    if (RealCol < 0 || RealCol > Total || CCount <= 0) return;
    {
        TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
        RemapColumns(Total + CCount, [RealCol, CCount](int c) { return c < RealCol ? c : c + CCount; });
    }
    Invalidate();
}

void TExtStringGrid::MergeCols(int RealCol1, int RealCol2, const QString& Separator) {
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCells(RealCol1, r, Trim(Cells(RealCol1, r) + Separator + Cells(RealCol2, r)));
    RemoveCols(RealCol2, 1);
}
