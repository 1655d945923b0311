// TExtStringGrid: display and real indexes, hidden columns and rows, moving columns and rows, and
// the row insertion and removal the hiding rests on.
#include "grid/control/ExtGrid.h"

#include <algorithm>
#include <vector>

// ---- columns ------------------------------------------------------------------------------------------
void TExtStringGrid::HideColumns(int FromRealCol, int ToRealCol) {
    HideInplaceEditStandIn();
    FromRealCol = std::max(FromRealCol, 0);
    ToRealCol = std::min(ToRealCol, TVisibleColumnMap::MappedCols - 1);
    for (int RealCol = FromRealCol; RealCol <= ToRealCol; ++RealCol) {
        if (FColumnMap.IsHidden(RealCol) || RealCol >= TotalColCount() || ColCount() <= 1) continue;
        const int DisplCol = FColumnMap.RealToDisplCol(RealCol);
        const int Width = ColWidths(DisplCol);
        for (int D = DisplCol + 1; D < ColCount(); ++D) SetColWidths(D - 1, ColWidths(D));
        FColumnMap.Hide(RealCol, Width);
        if (Col() == ColCount() - 1 && Col() > 0) SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TExtStringGrid::UnHideColumns(int FromRealCol, int ToRealCol) {
    HideInplaceEditStandIn();
    FromRealCol = std::max(FromRealCol, 0);
    ToRealCol = std::min(ToRealCol, TVisibleColumnMap::MappedCols - 1);
    for (int RealCol = FromRealCol; RealCol <= ToRealCol; ++RealCol) {
        if (!FColumnMap.IsHidden(RealCol)) continue;
        FColumnMap.Show(RealCol);
        SetColCount(ColCount() + 1);
        const int After = FColumnMap.RealToDisplCol(RealCol + 1);
        for (int D = ColCount() - 1; D >= After && D > 0; --D) SetColWidths(D, ColWidths(D - 1));
        SetColWidths(FColumnMap.RealToDisplCol(RealCol), FColumnMap.SavedWidth(RealCol));
    }
    Invalidate();
}

void TExtStringGrid::UnHideColumnsAll() { UnHideColumns(0, ColCount() + NumHiddenColumns()); }

void TExtStringGrid::MoveColumn(int FromDisplCol, int ToDisplCol) {
    if (FColumnOrder->Count() == 0) SetColumnOrder();
    TBaseGrid::MoveColumn(FromDisplCol, ToDisplCol);
    CellControlsUpdate(false);
}

void TExtStringGrid::ColumnMoved(int FromDisplCol, int ToDisplCol) {
    // Cells live at real columns: a move between display columns is a move between the real
    // columns they show, and hidden columns in between shift with the rest.
    const int FromRealCol = RealColIndex(FromDisplCol);
    const int ToRealCol = RealColIndex(ToDisplCol);
    if (FColumnOrder->Count() > std::max(FromRealCol, ToRealCol) && FromRealCol >= 0 && ToRealCol >= 0) {
        const int Entry = FColumnOrder->GetInteger(FromRealCol);
        FColumnOrder->Delete(FromRealCol);
        FColumnOrder->Insert(ToRealCol, Entry);
    }
    if (FromRealCol == ToRealCol || FromRealCol < 0 || ToRealCol < 0) {
        TBaseGrid::ColumnMoved(FromDisplCol, ToDisplCol);
        return;
    }
    FColumnMap.MoveReal(FromRealCol, ToRealCol);
    TBaseGrid::ColumnMoved(FromRealCol, ToRealCol);
    const int Lo = std::min(FromRealCol, ToRealCol);
    const int Hi = std::max(FromRealCol, ToRealCol);
    for (int DisplRow = 0; DisplRow < RowCount(); ++DisplRow)
        for (int RealCol = Lo; RealCol <= Hi; ++RealCol)
            if (auto* P = dynamic_cast<TCellProperties*>(Objects(RealCol, DisplRow))) P->SetOwnerCol(RealCol);
    // Hidden rows keep their cells at real columns too.
    for (int i = 0; i < FHiddenRows.Count(); ++i) {
        TGridItem* Item = FHiddenRows.Items(i);
        std::vector<QString> Texts;
        std::vector<TObject*> Objs;
        for (int RealCol = Lo; RealCol <= Hi; ++RealCol) {
            Texts.push_back(Item->Texts(RealCol));
            Objs.push_back(Item->Objects(RealCol));
        }
        auto Rotate = [&](auto& V) {
            if (FromRealCol < ToRealCol)
                std::rotate(V.begin(), V.begin() + 1, V.end());
            else
                std::rotate(V.begin(), V.end() - 1, V.end());
        };
        Rotate(Texts);
        Rotate(Objs);
        for (int RealCol = Lo; RealCol <= Hi; ++RealCol) {
            if (!Texts[size_t(RealCol - Lo)].isEmpty() || !Item->Texts(RealCol).isEmpty())
                Item->SetTexts(RealCol, Texts[size_t(RealCol - Lo)]);
            if (Objs[size_t(RealCol - Lo)] || Item->Objects(RealCol)) {
                Item->SetObjects(RealCol, Objs[size_t(RealCol - Lo)]);
                if (auto* P = dynamic_cast<TCellProperties*>(Objs[size_t(RealCol - Lo)])) P->SetOwnerCol(RealCol);
            }
        }
    }
    // The sort column follows its column; the columns in between shift by one.
    const int S = SortSettings()->Column();
    if (S == FromRealCol)
        SortSettings()->SetColumn(ToRealCol);
    else if (FromRealCol < ToRealCol && S > FromRealCol && S <= ToRealCol)
        SortSettings()->SetColumn(S - 1);
    else if (ToRealCol < FromRealCol && S >= ToRealCol && S < FromRealCol)
        SortSettings()->SetColumn(S + 1);
}

// ---- rows: copying between the cell store and the store's entries ----------------------------------
void TExtStringGrid::SaveRowToItem(int DisplRow, TGridItem* Item) {
    Item->FItems = DetachRow(DisplRow);
    Item->FHeight = RowHeights(DisplRow);
}

void TExtStringGrid::LoadRowFromItem(TGridItem* Item, int DisplRow) {
    for (int RealCol = 0; RealCol < Item->FItems.ObjectCount(); ++RealCol)
        if (auto* P = dynamic_cast<TCellProperties*>(Item->Objects(RealCol))) P->SetOwnerRow(DisplRow);
    AttachRow(DisplRow, Item->FItems);
    SetRowHeights(DisplRow, Item->FHeight > 0 ? Item->FHeight : DefaultRowHeight());
}

// ---- rows: hiding ------------------------------------------------------------------------------------
void TExtStringGrid::HideRows(int FromRealRow, int ToRealRow) {
    FromRealRow = std::max(FromRealRow, 0);
    if (ToRealRow < FromRealRow) return;
    ToRealRow = std::min(ToRealRow, TotalRowCount() - 1);
    // The visible rows of a real range are consecutive display rows, starting at the display row
    // FromRealRow has (or would have).
    const int FromDisplRow = DisplRowIndex(FromRealRow);
    const int Visible =
        (ToRealRow - FromRealRow + 1) - (FHiddenRows.CountBelow(ToRealRow + 1) - FHiddenRows.CountBelow(FromRealRow));
    // The platform grid keeps at least one row: a request that would hide every row is skipped.
    if (Visible <= 0 || Visible >= RowCount()) return;
    {
        int DisplRow = FromDisplRow;
        for (int RealRow = FromRealRow; RealRow <= ToRealRow; ++RealRow) {
            if (FHiddenRows.Contains(RealRow)) continue;
            // Rows hidden outside filtering belong to no filter level: removing filters keeps them.
            TGridItem* Item = FHiddenRows.Add(RealRow);
            Item->SetLevel(-1);
            SaveRowToItem(DisplRow++, Item);
        }
        TCustomGrid::DeleteRows(FromDisplRow, Visible);
    }
    CellControlsUpdate(false);
}

void TExtStringGrid::HideRowsEx(int FromRealRow, int ToRealRow) {
    if (FHiddenRows.Contains(FromRealRow) || FromRealRow < 0 || ToRealRow < FromRealRow) return;
    ToRealRow = std::min(ToRealRow, TotalRowCount() - 1);
    const int Visible =
        (ToRealRow - FromRealRow + 1) - (FHiddenRows.CountBelow(ToRealRow + 1) - FHiddenRows.CountBelow(FromRealRow));
    if (Visible <= 0 || Visible >= RowCount()) return;
    const int Before = NumHiddenRows();
    {
        const int FromDisplRow = DisplRowIndex(FromRealRow);
        int DisplRow = FromDisplRow;
        for (int RealRow = FromRealRow; RealRow <= ToRealRow && DisplRow < RowCount(); ++RealRow) {
            if (FHiddenRows.Contains(RealRow)) continue;
            TGridItem* Item = FHiddenRows.Add(RealRow);
            Item->SetLevel(-1);
            SaveRowToItem(DisplRow++, Item);
            Item->FHeight = 0;
        }
        TCustomGrid::DeleteRows(FromDisplRow, NumHiddenRows() - Before);
    }
    CellControlsUpdate(false);
}

void TExtStringGrid::HideRowList(TIntList* DisplRowList) {
    if (!DisplRowList || DisplRowList->Count() == 0) return;
    // The listed display rows, ascending and inside the sheet, each once.
    std::vector<int> Listed;
    Listed.reserve(size_t(DisplRowList->Count()));
    for (int i = 0; i < DisplRowList->Count(); ++i) {
        const int DisplRow = DisplRowList->GetInteger(i);
        if (DisplRow >= 0 && DisplRow < RowCount()) Listed.push_back(DisplRow);
    }
    if (!std::is_sorted(Listed.begin(), Listed.end())) std::sort(Listed.begin(), Listed.end());
    Listed.erase(std::unique(Listed.begin(), Listed.end()), Listed.end());
    HideSortedRowList(std::move(Listed));
}

void TExtStringGrid::HideSortedRowList(std::vector<int> Listed) {
    if (Listed.empty() || int(Listed.size()) >= RowCount()) return;

    TGridItems NewItems = FHiddenRows.SpareList();
    NewItems.reserve(Listed.size());
    const int Stored = NumHiddenRows();
    int HiddenBelow = 0; // entries below the listed row's real index; both ascend
    for (int DisplRow : Listed) {
        while (HiddenBelow < Stored && FHiddenRows.Items(HiddenBelow)->FIdx - HiddenBelow <= DisplRow) ++HiddenBelow;
        // Built in place: a default entry would first own an empty row that the move then frees.
        NewItems.push_back(TGridItem{DisplRow + HiddenBelow, RowHeights(DisplRow), DetachRow(DisplRow), FFilterLevel});
    }
    ++FFilterLevel;

    // The rows that stay move up over the listed ones, with their heights and cell objects.
    const int Rows = RowCount();
    std::vector<int> Plan;
    Plan.reserve(size_t(Rows) - Listed.size());
    size_t Next = 0;
    for (int DisplRow = 0; DisplRow < Rows; ++DisplRow) {
        if (Next < Listed.size() && Listed[Next] == DisplRow)
            ++Next;
        else
            Plan.push_back(DisplRow);
    }
    RearrangeRows(Plan);
    FHiddenRows.AddMany(std::move(NewItems));
    CellControlsUpdate(false);
}

// ---- rows: showing again -------------------------------------------------------------------------------
void TExtStringGrid::PutBackRows(TGridItems Items) {
    if (Items.empty()) return;
    // The store hands its entries over in ascending real order. The display row of each entry
    // once all of them are back is its real index minus the rows that stay hidden below it (both
    // lists ascend, so one walk counts them); it is worked out where it is needed rather than
    // kept, so the pass over a large sheet touches as little memory as it can.
    auto TargetWalk = [this, &Items]() {
        return [this, &Items, Staying = 0, i = size_t(0)]() mutable {
            while (Staying < FHiddenRows.Count() && FHiddenRows.Items(Staying)->FIdx < Items[i].FIdx) ++Staying;
            return Items[i++].FIdx - Staying;
        };
    };

    // Real indexes keep a visible floating footer last by themselves: it is the last real row.
    const int OldRows = RowCount();
    const int NewRows = OldRows + int(Items.size());
    const bool Marking = FShowModified->Enabled();
    FShowModified->SetEnabled(false);
    if (Row() >= OldRows && OldRows > 0)
        MoveCurrentCell(std::min(FixedCols(), ColCount() - 1), std::min(FixedRows(), OldRows - 1), true);
    // The old rows keep their order; each entry's row is made where it belongs, then filled.
    {
        std::vector<int> Plan(size_t(NewRows), -1);
        auto NextTarget = TargetWalk();
        size_t Entry = 0;
        int Target = NextTarget();
        int Src = 0;
        for (int Dst = 0; Dst < NewRows; ++Dst) {
            if (Entry < Items.size() && Target == Dst) {
                if (++Entry < Items.size()) Target = NextTarget();
            } else {
                Plan[size_t(Dst)] = Src++;
            }
        }
        RearrangeRows(Plan);
    }
    auto NextTarget = TargetWalk();
    for (auto& Item : Items) LoadRowFromItem(&Item, NextTarget());
    FShowModified->SetEnabled(Marking);
}

void TExtStringGrid::UnHideRow(int RealRow) { UnHideRows(RealRow, RealRow); }

void TExtStringGrid::UnHideRows(int FromRealRow, int ToRealRow) {
    if (!FHiddenRows.Contains(FromRealRow)) return;
    auto Taken = FHiddenRows.TakeIf([&](const TGridItem& I) { return I.FIdx >= FromRealRow && I.FIdx <= ToRealRow; });
    if (Taken.size() == 1) {
        // One row: insert it where it belongs instead of passing over the whole sheet.
        TGridItem* Item = &Taken.front();
        const int DisplRow = DisplRowIndex(Item->FIdx);
        const bool Marking = FShowModified->Enabled();
        FShowModified->SetEnabled(false);
        TCustomGrid::InsertRows(DisplRow, 1);
        LoadRowFromItem(Item, DisplRow);
        FShowModified->SetEnabled(Marking);
    } else {
        PutBackRows(std::move(Taken));
    }
    CellControlsUpdate(false);
}

void TExtStringGrid::UnHideRowsAll() {
    if (NumHiddenRows() == 0) return;
    PutBackRows(FHiddenRows.TakeAll());
    CellControlsUpdate(false);
}

void TExtStringGrid::UnHideRowList() {
    if (FFilterLevel <= 0) return; // no filter step applied: nothing of a level to put back
    const int Level = FFilterLevel;
    PutBackRows(FHiddenRows.TakeIf([Level](const TGridItem& I) { return I.FLevel >= 0 && I.FLevel + 1 >= Level; }));
    CellControlsUpdate(false);
}

bool TExtStringGrid::IsHiddenRow(int RealRow, TIntList*& ListHidden) const {
    if (!ListHidden) {
        ListHidden = new TIntList(0, 0);
        for (int i = 0; i < FHiddenRows.Count(); ++i) ListHidden->Add(FHiddenRows.Items(i)->FIdx);
    }
    return ListHidden->HasValue(RealRow);
}

// ---- moving rows --------------------------------------------------------------------------------------
void TExtStringGrid::MoveRow(int FromDisplRow, int ToDisplRow) {
    TBaseGrid::MoveRow(FromDisplRow, ToDisplRow);
    CellControlsUpdate(false);
}

void TExtStringGrid::MoveRows(int FromDisplRow, int ToDisplRow, int Count) {
    if (FromDisplRow == ToDisplRow || Count <= 0) return;
    if (FromDisplRow < 0 || FromDisplRow + Count > RowCount()) return;
    if (FromDisplRow + Count < ToDisplRow) ToDisplRow -= Count;
    // The block travels whole: texts, cell objects and heights.
    std::vector<int> Plan;
    Plan.reserve(size_t(RowCount()));
    for (int DisplRow = 0; DisplRow < RowCount(); ++DisplRow)
        if (DisplRow < FromDisplRow || DisplRow >= FromDisplRow + Count) Plan.push_back(DisplRow);
    ToDisplRow = std::clamp(ToDisplRow, 0, int(Plan.size()));
    std::vector<int> Block(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) Block[size_t(i)] = FromDisplRow + i;
    Plan.insert(Plan.begin() + ToDisplRow, Block.begin(), Block.end());
    RearrangeRows(Plan);
    CellControlsUpdate(false);
}

// ---- real-row cell access --------------------------------------------------------------------------------
QString TExtStringGrid::GetCellsEx(int RealCol, int RealRow) {
    if (RealCol < 0 || RealRow < 0) return QString();
    QString Value;
    if (TGridItem* Item = FHiddenRows.Find(RealRow))
        Value = Item->Texts(RealCol);
    else
        Value = Cells(RealCol, DisplRowIndex(RealRow));
    if (OnGetDisplText) OnGetDisplText(this, RealCol, RealRow, Value);
    return Value;
}

void TExtStringGrid::SetCellsEx(int RealCol, int RealRow, const QString& Value) {
    if (RealCol < 0 || RealRow < 0) return;
    if (TGridItem* Item = FHiddenRows.Find(RealRow)) {
        Item->SetTexts(RealCol, Value);
        return;
    }
    const int DisplRow = DisplRowIndex(RealRow);
    SetCells(RealCol, DisplRow, Value);
    if (NumHiddenColumns() > 0) RepaintCell(DisplColIndex(RealCol), DisplRow);
}

TCellProperties* TExtStringGrid::GetCellPropertiesByRealRow(int RealCol, int RealRow) {
    if (RealCol < 0 || RealRow < 0) return nullptr;
    if (TGridItem* Item = FHiddenRows.Find(RealRow)) return dynamic_cast<TCellProperties*>(Item->Objects(RealCol));
    return dynamic_cast<TCellProperties*>(Objects(RealCol, DisplRowIndex(RealRow)));
}

void TExtStringGrid::CellControlsUpdate(bool RebuildList) {
    if (!Parent()) return;
    if (RebuildList) {
        while (FControlList->Count() > 0) FControlList->RemoveControl(0);
        for (int RealCol = 0; RealCol < TotalColCount(); ++RealCol)
            for (int r = 0; r < RowCount(); ++r)
                if (const TCellProperties* P = ExistingProps(RealCol, r); P && P->Control())
                    FControlList->AddControl(RealCol, RealRowIndex(r), P->Control());
    }
    const int LastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
    const int LastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
    auto InView = [&](int C, int R) { return C >= LeftCol() && C <= LastCol && R >= TopRow() && R <= LastRow; };
    // The in-cell scroll bar stays with the current cell while it is in view.
    if (FCellScrollBar && FCellScrollBar->Visible()) {
        if (InView(Col(), Row())) {
            const TRect R = CellRect(Col(), Row());
            const int W = FCellScrollBar->Width();
            FCellScrollBar->SetBounds(R.Right - W, R.Top, W, R.Bottom - R.Top);
        } else {
            FCellScrollBar->SetHeight(0);
        }
    }
    if (FControlList->Count() == 0) return;
    std::vector<TControl*> Shown;
    for (int i = 0; i < FControlList->Count(); ++i) {
        const TControlItem* Item = FControlList->Controls(i);
        TControl* Ctrl = Item->Control();
        if (!Ctrl) continue;
        if (IsHiddenColumn(Item->X()) || IsHiddenRow(Item->Y())) {
            Ctrl->SetVisible(false);
            continue;
        }
        const int C = DisplColIndex(Item->X()), R = DisplRowIndex(Item->Y());
        // Controls in fixed cells stay where they were put.
        if (C < FixedCols() || R < FixedRows()) continue;
        if (!InView(C, R)) {
            Ctrl->SetVisible(false);
            continue;
        }
        const TRect CR = CellRect(C, R);
        Ctrl->SetBounds(CR.Left - 1, CR.Top - 1, CR.Right - CR.Left + 1, CR.Bottom - CR.Top + 1);
        Ctrl->SetVisible(true);
        Shown.push_back(Ctrl);
    }
    // A control that did not move still shows what the scroll put under it: nudging its width
    // makes it paint again.
    for (TControl* Ctrl : Shown) {
        Ctrl->Invalidate();
        Ctrl->SetWidth(Ctrl->Width() + 1);
        Ctrl->SetWidth(Ctrl->Width() - 1);
    }
}

// ---- the view moved -----------------------------------------------------------------------------------------
void TExtStringGrid::TopLeftChanged() {
    TBaseGrid::TopLeftChanged();
    const TGridRect S = Selection();
    const bool Background = !BackGround()->Bitmap()->Empty() ||
        ((BackGround()->Display() == bdGradientHorz || BackGround()->Display() == bdGradientVert) &&
         BackGround()->ColorTo() != clNone);
    // A drawn selection frame and a background picture or gradient span cells: they are drawn
    // again whole.
    if ((SelectionRectangle() && S.Bottom > S.Top) || Background) Invalidate();
    // Only the default text editor moves with its cell; any other editor ends, keeping its value.
    if (FEditMode && FSpecialEditor) HideInplaceEdit();
    if (FFlatScroll) {
        UpdateVertFlatScroll();
        UpdateHorzFlatScroll();
    }
    UpdateFooter();
    CellControlsUpdate(false);
    // The scroll indicators show the view's place.
    if (FMetroVert) FMetroVert->Invalidate();
    if (FMetroHorz) FMetroHorz->Invalidate();
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    if (IsDesigning()) Invalidate();
    if (TStringGrid* G = SyncedGrid()) {
        if (SyncGrid()->ScrollVertical() && G->TopRow() != TopRow() && TopRow() < G->RowCount()) G->SetTopRow(TopRow());
        if (SyncGrid()->ScrollHorizontal() && G->LeftCol() != LeftCol() && LeftCol() < G->ColCount())
            G->SetLeftCol(LeftCol());
    }
}

void TExtStringGrid::HideInplaceEditStandIn() {
    if (FEditMode)
        HideInplaceEdit();
    else if (EditorMode())
        HideEditor();
}

// ---- consistency ---------------------------------------------------------------------------------------------
void TExtStringGrid::CheckIndexConsistency() const {
    FColumnMap.CheckConsistency();
    FHiddenRows.CheckConsistency();
    for (int RealCol = TotalColCount(); RealCol < TVisibleColumnMap::MappedCols; ++RealCol)
        if (FColumnMap.IsHidden(RealCol))
            throw EExtGridError(QString("Hidden column %1 beyond the sheet").arg(RealCol));
    if (NumHiddenRows() > 0 && FHiddenRows.Items(NumHiddenRows() - 1)->FIdx >= TotalRowCount())
        throw EExtGridError("Hidden row beyond the sheet");
}
