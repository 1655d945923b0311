// TExtStringGrid's bookkeeping around editing and its plain window messages: the old value of an
// edit and the validation of a new one, the footer hooks fired on changes, focus arriving and
// leaving, the update lock, the periodic timer (incremental search, hover selection, blinking
// text), painting and sizing.
//
// Every flag set for the length of an operation (the validation guard, the advance-on-enter
// switch, the update lock, the focus blocks) is given back on every path, a raise included.
#include "grid/control/ExtGrid.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/StateScope.h"

#include <QApplication>
#include <QCursor>

// ---- the old value and validation ---------------------------------------------------------------------
void TExtStringGrid::RememberOldCell(int ACol, int ARow) {
    FOldCol = ACol;
    FOldRow = ARow;
    const int RealCol = RealColOfDisplCol(ACol);
    FOldRealCol = RealCol;
    FOldCellText = RealCol >= 0 && ARow >= 0 ? GetGridCell(RealCol, ARow) : QString();
    FOldModifiedValue = FModified;
}

bool TExtStringGrid::RunValidation(const QString& NewValue,
                                   const std::function<void(int Column, int ARow, bool& Valid)>& Body) {
    if (!FEditing || FValidating) return true;
    FEditing = false;
    bool Valid = true;
    struct TFinish {
        TExtStringGrid* G;
        ~TFinish() {
            G->RememberOldCell(G->Col(), G->Row());
            G->FValidating = false;
        }
    } Finish{this};
    FValidating = true;
    // The cell the edit began in, by its real column: a column hidden or moved meanwhile does not
    // send the handler another column's index.
    const int Column = FOldRealCol >= 0 ? FOldRealCol : RealColIndex(FOldCol);
    FNewCellText = NewValue;
    if (FOldCellText != NewValue || AlwaysValidate()) {
        // The handler may move the focus; that must not advance the current cell as well.
        const TSettingScope<TNavigation, bool> NoAdvance(Navigation(), &TNavigation::AdvanceOnEnter,
                                                         &TNavigation::SetAdvanceOnEnter, false);
        Body(Column, FOldRow, Valid);
        FLastValidation = Valid;
        if (!Valid) FModified = FOldModifiedValue;
    }
    // A refused value typed into the cell leaves it before the old value is taken again (at the
    // end of this scope): the cell never keeps it, and the next check compares with the text the
    // cell had before, so the same value is refused again.
    if (Valid)
        FTypedWritten = false;
    else
        RestoreTypedText();
    return Valid;
}

bool TExtStringGrid::ValidateCell(const QString& NewValue) {
    const bool Valid = RunValidation(NewValue, [&](int Column, int ARow, bool& Valid) {
        const bool Changed = FOldCellText != NewValue;
        QString Value = NewValue;
        if (CellChecker() && CellChecker()->UseCorrect()) CellChecker()->Correct(this, Column, ARow, Value, NewValue);
        if (OnCellValidate) OnCellValidate(this, Column, ARow, Value, Valid);
        // Only a value that is kept marks the grid and its row as modified: a refused one leaves
        // the marks as they were.
        if (Valid && FOldCellText != Value) {
            FGridModified = true;
            FModified = true;
            if (FixedCols() > 0 && ARow >= 0 && ARow < RowCount()) SetRowModified(ARow, true);
        }
        if (Valid) CellChanged(Column);
        if (CellChecker() && CellChecker()->UseMarkError())
            CellChecker()->MarkError(this, Column, ARow, Value, NewValue);
        if (Valid && UndoRedo()) UndoRedo()->RegisterChange(Column, ARow, FOldCellText, Value);
        if (Valid && Changed) CellsChanged(Rect(Column, ARow, Column, ARow));
        FNewCellText = Value;
    });
    // A refused value is explained next to its editor, which stays open on it.
    if (Valid)
        HideInvalidEntryBalloon();
    else
        ShowInvalidEntryBalloon();
    if (Valid && FFocusWindowShown) HideFocusFrame();
    return Valid;
}

bool TExtStringGrid::ValidateCellWide(const QString& NewValue) {
    return RunValidation(NewValue, [&](int Column, int ARow, bool& Valid) {
        CellChanged(Column);
        QString Value = NewValue;
        if (OnCellValidateWide) OnCellValidateWide(this, Column, ARow, Value, Valid);
        if (Valid && FOldCellText != Value) {
            FGridModified = true;
            FModified = true;
            if (ShowModified()->Enabled() && FixedCols() > 0 && ARow >= 0 && ARow < RowCount())
                SetRowModified(ARow, true);
        }
        FNewCellText = Value;
    });
}

// ---- change hooks -------------------------------------------------------------------------------------
void TExtStringGrid::CellChanged(int RealCol) { CalcFooter(RealCol); }

void TExtStringGrid::AllCellsChanged() { CalcFooter(-1); }

// ---- focus ----------------------------------------------------------------------------------------------
void TExtStringGrid::Click() {
    TBaseGrid::Click();
    FEntered = false;
    // A click while a value is being edited keeps that edit's old value.
    if (!FEditing) RememberOldCell(Col(), Row());
}

void TExtStringGrid::DoEnter() {
    if (FBlockFocus) return;
    TBaseGrid::DoEnter();
    struct TRemember {
        TExtStringGrid* G;
        ~TRemember() {
            if (!G->FEditing) G->RememberOldCell(G->Col(), G->Row());
        }
    } Remember{this};
    // An editor still open on its cell keeps its value for its own end of the edit.
    if (FEditMode || FEditing || EditorControlOpen()) return;
    if (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit()) SelectCellOverride(Col(), Row());
}

void TExtStringGrid::DoExit() {
    if (FBlockKill) return;
    if (FSelectionChanged && MouseActions()->DisjunctRowSelect()) SelectionToRowSelect(false);
    FSelectionChanged = false;
    if (TExtInplaceEdit* E = TextEditor(); E && E->isVisible() && E->AltBackHeld()) {
        TCustomControl::DoExit();
        return;
    }
    TBaseGrid::DoExit();
}

void TExtStringGrid::SetFocusMessageHandler(TMessage& Message) {
    if (InvokedFocusChange) return;
    TBaseGrid::WndProc(Message);
    if (Col() < 0 || Row() < 0 || Col() >= ColCount() || Row() >= RowCount()) return;
    if (CurrentCellHoldsCheckBox()) return;
    const int RealCol = GetRealCol();
    if (Navigation()->AlwaysEdit()) {
        auto* From = reinterpret_cast<TControl*>(Message.WParam);
        const bool FromEditor = From && From == InplaceEditor();
        const bool Moving = GridState() == gsRowMoving || GridState() == gsColMoving;
        TEditorType Kind = DefaultEditor();
        GetCellEditorEx(RealCol, Row(), Kind);
        const bool InView = Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() + 1 && Row() >= TopRow() &&
            Row() < TopRow() + VisibleRowCount() + 1;
        bool Allowed = !FromEditor && !Moving && Kind == edNormal && InView;
        // Before the default editor exists it opens here only over a combo cell.
        if (Allowed && !InplaceEditor())
            Allowed = !MouseActions()->DirectEdit() && !ControlLook()->DropDownAlwaysVisible() &&
                HasComboButton(RealCol, Row());
        if (Allowed) {
            bool CanEdit = true;
            GetCellEditable(RealCol, Row(), CanEdit);
            if (CanEdit) {
                ShowInplaceEdit();
                return;
            }
        }
    }
    if (IsMergedCell(RealCol, Row())) {
        const TPoint B = BaseCell(RealCol, Row());
        InvalidateRect(CellRect(DisplColIndex(B.X), B.Y));
    }
}

void TExtStringGrid::KillFocusMessageHandler(TMessage& Message) {
    if (FBlockKill) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WndProc(Message);
    if (Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount() && IsMergedCell(GetRealCol(), Row())) {
        const TPoint B = BaseCell(GetRealCol(), Row());
        InvalidateRect(CellRect(DisplColIndex(B.X), B.Y));
    }
}

// ---- update lock ----------------------------------------------------------------------------------------
// The lock is counted whether or not the grid is shown: a grid hidden or shown between the two
// calls neither stays frozen nor gives back a lock it never took.
void TExtStringGrid::BeginUpdate() { ++FUpdateCount; }

void TExtStringGrid::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount > 0 || IsDestroying()) return;
    FSelectionChanged = false;
    Invalidate();
    DrawThemedBorder();
}

void TExtStringGrid::SetLockUpdate(bool Value) {
    if (Value)
        BeginUpdate();
    else
        EndUpdate();
}

// ---- hover and fixed-cell highlight ----------------------------------------------------------------------
bool TExtStringGrid::IsHoverFixedCell(int ACol, int ARow) {
    switch (HoverFixedCells()) {
        case hfNone: return false;
        case hfAll: return ACol < FixedCols() || ARow < FixedRows();
        case hfFixedColumns: return ACol < FixedCols();
        case hfFixedRows: return ARow < FixedRows();
    }
    return false;
}

void TExtStringGrid::ResetFixedCellHighlight() {
    ColSizeFlg = false;
    Rowsized = false;
    if (HoverFixedCells() != hfNone && FHoverFixedCell.X != -1) {
        const TPoint Old = FHoverFixedCell;
        FHoverFixedCell = Point(-1, -1);
        RepaintCell(Old.X, Old.Y);
    }
}

// ---- the periodic timer -----------------------------------------------------------------------------------
void TExtStringGrid::TimerMessageHandler(TMessage& Message) {
    if (int(Message.WParam) != GridTimerID) {
        TBaseGrid::WndProc(Message);
        return;
    }
    ++FTimerTicks;
    IncrementalSearchTick();
    if (FHovering && !IsDesigning()) {
        const QPoint G = QCursor::pos();
        if (QApplication::widgetAt(G) == this) HoverSelect(ScreenToClient(Point(G.x(), G.y())));
    }
    if (EnableBlink()) BlinkTick();
}

void TExtStringGrid::HoverSelect(TPoint P) {
    if (P.X < 0 || P.Y < 0 || P.X >= ClientWidth() || P.Y >= ClientHeight()) return;
    int C = -1, R = -1;
    MouseToCell(P.X, P.Y, C, R);
    if (C < FixedCols() || C >= ColCount() || R < FixedRows() || R >= RowCount()) return;
    if (CanFocus() && !Focused()) SetFocus();
    SetRow(R);
    SetCol(C);
}

void TExtStringGrid::BlinkTick() {
    FGridBlink = !FGridBlink;
    auto Blinks = [this](int RealCol, int DisplRow) {
        return RealCol >= 0 && GetGridCell(RealCol, DisplRow).toUpper().contains(QStringLiteral("<BLI"));
    };
    const int LastRow = std::min(RowCount(), TopRow() + VisibleRowCount() + 1);
    const int LastCol = std::min(ColCount(), LeftCol() + VisibleColCount() + 1);
    // The visible normal cells, the fixed rows over the visible columns, the fixed columns over
    // the visible rows.
    for (int c = LeftCol(); c < LastCol; ++c) {
        for (int r = TopRow(); r < LastRow; ++r)
            if (Blinks(RealColOfDisplCol(c), r)) RepaintCell(c, r);
        for (int r = 0; r < FixedRows(); ++r)
            if (Blinks(RealColOfDisplCol(c), r)) RepaintCell(c, r);
    }
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = TopRow(); r < LastRow; ++r)
            if (Blinks(RealColOfDisplCol(c), r)) RepaintCell(c, r);
}

// ---- paint ------------------------------------------------------------------------------------------------
void TExtStringGrid::PaintMessageHandler(TMessage& Message) {
    if (FUpdateCount >= 1) {
        Message.Result = 0;
        return;
    }
    TBaseGrid::WndProc(Message);
    if (FPaintCount == 0 && !TabStop()) {
        FPaintCount = 1;
        UpdateVertProportional();
    }
}

// ---- size -------------------------------------------------------------------------------------------------
void TExtStringGrid::InitOrigColSizes() {
    FColSizesAtLoad->Clear();
    for (int DisplCol = 0; DisplCol < ColCount(); ++DisplCol) FColSizesAtLoad->Add(ColWidths(DisplCol));
    FOldSize = Width();
}

void TExtStringGrid::SizeMessageHandler(TMessage& Message) {
    if (SearchFooter()->Visible() && SearchPanel() && SearchPanel()->Visible()) {
        SearchPanel()->SetHeight(33);
        SearchPanel()->SetHeight(32);
        SearchPanel()->SetAlign(alBottom);
    }
    const int NewWidth = Width();
    if (ColumnSize()->SynchWithGrid() && FOldSize > 0) {
        HideInplaceEdit();
        const double Factor =
            BorderStyle() == bsSingle ? double(NewWidth + 2) / double(FOldSize) : double(NewWidth) / double(FOldSize);
        const int From = ColumnSize()->SynchNormalCellsOnly() ? FixedCols() : 0;
        const int To = ColumnSize()->SynchNormalCellsOnly() ? ColCount() - FixedRightCols() : ColCount();
        for (int c = From; c < To; ++c)
            if (c < FColSizesAtLoad->Count()) SetColWidths(c, int(FColSizesAtLoad->GetInteger(c) * Factor));
    }
    bool Stretched = false;
    if (ColumnSize()->Stretch() && (ScrollBarAlways() == saNone || ScrollBarAlways() == saVert) && ColCount() > 0) {
        int Index = ColumnSize()->StretchColumn();
        if (Index == -1) Index = ColCount() - 1;
        if (Index >= ColCount()) throw Exception(QStringLiteral("Stretch column index out of range"));
        int Others = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != Index) Others += ColWidths(c);
        if (Others < ClientWidth()) {
            StretchColumn(Index);
            Stretched = true;
            if (ScrollBarAlways() == saNone) {
                const bool Horz = ClientWidth() < Others + ColWidths(Index);
                const bool Vert = VisibleRowCount() < RowCount() - FixedRows();
                if (Horz && (ScrollBars() == ssHorizontal || ScrollBars() == ssBoth)) FlatShowScrollBar(SB_HORZ, true);
                if (Vert && (ScrollBars() == ssVertical || ScrollBars() == ssBoth)) FlatShowScrollBar(SB_VERT, true);
            }
        }
    }
    // The platform step keeps the scroll ranges and the editor in step with the new size, also
    // after a stretch.
    TBaseGrid::WndProc(Message);
    if (Stretched) {
        if (OnGridResize) OnGridResize(this);
        return;
    }
    if (ScrollProportional()) {
        UpdateHorzProportional();
        UpdateVertProportional();
    }
    if (FDisableSize) return;
    const TStateScope<bool> Guard(FDisableSize, true);
    if (FFlatScroll) {
        FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
        FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
        UpdateHorzFlatScroll();
        UpdateVertFlatScroll();
    }
}
