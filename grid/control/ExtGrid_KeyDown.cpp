// The string grid's answer to a key going down: the key-down message of the grid window (the
// keys the grid acts on before the platform, and those it keeps from the platform), and the
// grid's step inside the platform's key handling (cursor wrapping, row moving, disabled rows,
// the synchronised grid).
//
// In the configurator's tables only a few of these branches are reached: arrows, Page Up/Down,
// Home/End, Ctrl+Home/End, Space on a check-box cell, Enter and Ctrl+A. The others follow
// options that an application may switch on.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/StateScope.h"

#include <algorithm>

namespace {

bool IsScrollKey(Word Key) { return Key >= VK_PRIOR && Key <= VK_DOWN; }

} // namespace

void TExtStringGrid::FireGridOnKeyDown(Word Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TExtStringGrid::FireSelectionChangedSince(const TGridRect& Before) {
    const TGridRect S = Selection();
    if (S == Before) return;
    DoSelectionChanged(S.Left, S.Top, S.Right, S.Bottom);
}

void TExtStringGrid::EditingFollowsCurrentCell() {
    if (Options().Contains(goEditing) || Options().Contains(goRowSelect) || FEditMode || !Parent()) return;
    if (Col() < FixedCols() || Col() >= ColCount() || Row() < FixedRows() || Row() >= RowCount()) return;
    const int RC = GetRealCol();
    bool CanEdit;
    if (HasCellControl(RC, Row())) {
        CanEdit = true;
        GetCellEditable(RC, Row(), CanEdit);
    } else {
        CanEdit = FEditDisable;
        GetCellEditable(RC, Row(), CanEdit);
        if (MouseActions()->EditOnDblClickOnly() || MouseActions()->DirectEdit()) CanEdit = false;
    }
    if (!CanEdit || IsFixed(Col(), Row())) return;
    FEditChange = true;
    SetOptions(Options() << goEditing);
}

// ---- the key-down message ---------------------------------------------------------------------------
void TExtStringGrid::KeyDownMessageHandler(TMessage& Message) {
    const Word Key = Word(Message.WParam);
    // The modifiers as they were when the key went down (the message carries them).
    const TShiftState Shift = TShiftState::FromBits(uint32_t(Message.LParam));
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftDown = Shift.Contains(ssShift);
    const bool Alt = Shift.Contains(ssAlt);
    TNavigation* Nav = Navigation();
    TMouseActions* MA = MouseActions();
    // A character reported by an earlier key is no longer on its way to an editor.
    FReportedStartChar = QChar();
    EditingFollowsCurrentCell();

    FMoveSelection = Selection();
    const int EntryRow = Row();
    const int EntryLeftCol = LeftCol();
    const int RC = GetRealCol();
    const bool EnterOrF2 = Key == VK_RETURN || Key == VK_F2;
    auto Consume = [&] {
        Message.WParam = 0;
        Message.Result = 1;
    };

    const bool KeepLeftCol = (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) &&
        Options().Contains(goRowSelect) && LeftCol() != FixedCols() && Nav->KeepHorizScroll();

    if (Nav->MoveScrollOnly() &&
        (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN)) {
        const int Visible = VisibleRowCount();
        switch (Key) {
            case VK_PRIOR: SetTopRow(Visible + FixedRows() < TopRow() ? TopRow() - Visible : FixedRows()); break;
            case VK_NEXT:
                if (TopRow() + Visible < RowCount()) SetTopRow(TopRow() + Visible);
                break;
            case VK_END: SetTopRow(std::max(FixedRows(), RowCount() - Visible)); break;
            case VK_HOME: SetTopRow(FixedRows()); break;
            case VK_UP:
                if (TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
                break;
            case VK_DOWN:
                if (TopRow() + Visible < RowCount()) SetTopRow(TopRow() + 1);
                break;
            default: break;
        }
        Message.Result = 1;
        return;
    }

    if (MA->EditOnDblClickOnly() && EnterOrF2 && !Options().Contains(goEditing)) {
        bool Editable;
        {
            const bool Saved = MA->RangeSelectAndEdit();
            MA->SetRangeSelectAndEdit(true);
            Editable = IsEditable(RC, Row());
            MA->SetRangeSelectAndEdit(Saved);
        }
        if (Editable) SetOptions(Options() << goEditing);
    }

    if (MA->RangeSelectAndEdit() && !Options().Contains(goEditing) && EnterOrF2) {
        if (IsEditable(RC, Row())) {
            SetOptions(Options() << goEditing);
            ShowInplaceEdit();
        } else {
            FireGridOnKeyDown(Key, Shift);
            Consume();
            return;
        }
    }

    if (Key == 'F' && Ctrl && SearchFooter()->Visible() && SearchPanel()) SearchPanel()->SetFocus();

    if (EnterOrF2 && Options().Contains(goEditing) && !IsEditable(RC, Row())) {
        FireGridOnKeyDown(Key, Shift);
        Consume();
        return;
    }

    if (EnterOrF2 && EnableHTML()) {
        const QString Text = GetCellEx(RC, Row());
        if (ClassifyCellText(Text, true) == 1 && Text.toUpper().contains(QLatin1String("<CONTROL"))) {
            Message.Result = 1;
            return;
        }
    }

    if (Key == VK_RETURN && !IsEditable(RC, Row())) {
        // The form's OnKeyPress still gets the Enter through the character that follows.
        TForm* F = FindParentForm(this);
        if (F && F->KeyPreview()) {
            TBaseGrid::WndProc(Message);
            return;
        }
        FireGridOnKeyDown(Key, Shift);
        Consume();
        return;
    }

    if ((Key == VK_RETURN || Key == VK_SPACE) && HasCellControl(RC, Row())) CellControlKey(Key);

    if ((Key == VK_HOME || Key == VK_END) && HomeEndKey(Message, Key, Shift)) {
        if (KeepLeftCol) SetLeftCol(EntryLeftCol);
        return;
    }

    // Right and Left open and close the node of a row whose current cell spans the row.
    const bool NodeRow = IsNode(Row());
    if (NodeRow && (Key == VK_RIGHT || Key == VK_LEFT) && IsMergedCell(RC, Row())) {
        if (Key == VK_RIGHT)
            ExpandNode(RealRowIndex(Row()));
        else
            ContractNode(RealRowIndex(Row()));
    }

    if (Options().Contains(goRowSelect) && !NodeRow && VisibleColCount() < ColCount() &&
        (Key == VK_LEFT || Key == VK_RIGHT)) {
        auto ScrollOne = [&] {
            if (Key == VK_LEFT && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
            if (Key == VK_RIGHT && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
        };
        if (Nav->LeftRightRowSelect()) {
            if (Ctrl) ScrollOne();
        } else {
            ScrollOne();
            FireGridOnKeyDown(Key, Shift);
            Message.Result = 0;
            return;
        }
    }

    if (Key == VK_TAB && Options().Contains(goTabs)) {
        TabAdvance(ShiftDown);
        FireSelectionChangedSince(FMoveSelection);
        FMoveSelection = Selection();
        Consume();
        return;
    }

    if (Nav->SkipFixedCells() && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) &&
        SkipFixedCellsKey(Message, Key, Shift))
        return;

    if (Key == VK_DOWN && IsLastNormalRow() && Nav->AppendOnArrowDown()) AppendRow();

    if (!(Selection() == FMoveSelection) && SelectionRectangle()) {
        InvalidateRect(Selection());
        FMoveSelection = Selection();
    }

    // Search footer: the last row stays above the panel.
    const bool Footer = SearchFooter()->Visible() && SearchPanel() && TopRow() + VisibleRowCount() >= RowCount() - 1;
    if (Footer) {
        const bool LastRow = Row() == RowCount() - 1;
        if ((Key == VK_DOWN && LastRow) || (Key == VK_RIGHT && LastRow && Col() == ColCount() - 1) ||
            (Key == VK_LEFT && LastRow && Col() == FirstNormalCol())) {
            if (Key == VK_DOWN) ScrollLastRowAboveFooter();
            Message.Result = 1;
            FireGridOnKeyDown(Key, Shift);
            return;
        }
    }
    const bool FooterScroll = Footer &&
        (Key == VK_NEXT || Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT ||
         (Key == VK_DOWN && Row() == RowCount() - 1));
    const bool FooterLock = Footer && (FooterScroll || (Key != VK_SHIFT && Key != VK_MENU && !IsScrollKey(Key)));
    const int FooterTopRow = TopRow();
    {
        // Painting waits while the view moves more than once for one key.
        const bool Lock = FooterLock || KeepLeftCol;
        if (Lock) BeginUpdate();
        struct TUnlock {
            TExtStringGrid* G;
            bool On;
            ~TUnlock() {
                if (On) G->EndUpdate();
            }
        } Unlock{this, Lock};
        // Until the grid's own step sees the key, it counts as cleared by the form's preview.
        FKeyClearedByHandler = Key != 0;
        TBaseGrid::WndProc(Message);
        if (Footer && TopRow() + VisibleRowCount() >= RowCount() && Key != VK_SHIFT && Key != VK_MENU &&
            !IsScrollKey(Key))
            SetTopRow(FooterTopRow);
        if (KeepLeftCol) SetLeftCol(EntryLeftCol);
    }
    if (FooterScroll) ScrollLastRowAboveFooter();
    if (Message.WParam == 0 && Key != 0 && Message.Result != 0) return;
    // A key the form's preview or OnKeyDown cleared is not acted on any further: no clipboard
    // transfer, no row inserted or deleted, no marks.
    if (FKeyClearedByHandler) {
        FKeyClearedByHandler = false;
        if (!(Selection() == FMoveSelection)) {
            FireSelectionChangedSince(FMoveSelection);
            FMoveSelection = Selection();
        }
        return;
    }

    if (Nav->AllowClipboardShortCuts()) {
        // The clipboard keys ask their event first; the transfers are the data services'.
        TClipboardEvent* Event = nullptr;
        if ((Key == 'X' && Ctrl) || (Key == VK_DELETE && ShiftDown))
            Event = &OnClipboardCut;
        else if ((Key == 'V' && Ctrl) || (Key == VK_INSERT && ShiftDown))
            Event = &OnClipboardPaste;
        else if ((Key == 'C' && Ctrl) || (Key == VK_INSERT && Ctrl))
            Event = &OnClipboardCopy;
        if (Event) {
            bool Allow = true;
            if (*Event) (*Event)(this, Allow);
            if (Allow) ClipboardShortCut(Event == &OnClipboardCut ? 'X' : Event == &OnClipboardPaste ? 'V' : 'C');
            return;
        }
    }

    if (InsertRowKey(Key, Shift)) return;

    if (Key == 'A' && Ctrl && !Alt) {
        if (Options().Contains(goRowSelect) || Options().Contains(goRangeSelect)) SelectAllKey();
        return;
    }

    MarkRowsAndColsKey(Key, Shift);
    if (DeleteRowKey(Key, Shift)) return;
    if (EnterOrF2) {
        SetOldCellCache(GetCurrentCell());
        if (Key == VK_F2) F2KeyHook();
    }
    (void)EntryRow;
    if (!(Selection() == FMoveSelection)) {
        FireSelectionChangedSince(FMoveSelection);
        FMoveSelection = Selection();
    }
}

// Enter or Space on a cell that holds a check box, a radio or a button.
void TExtStringGrid::CellControlKey(Word Key) {
    const int RC = GetRealCol();
    const int R = Row();
    bool CanEdit = Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit();
    GetCellEditable(RC, R, CanEdit);
    const TCellType Kind = GetCellType(RC, R);
    if ((CanEdit || ControlLook()->CheckAlwaysActive()) && HasCheckBox(RC, R) && Key == VK_SPACE) {
        if (ToggleCheckBoxCell(RC, R, true)) {
            if (ShowModified()->Enabled()) SetRowModified(R, true);
            bool State = false;
            // The state query takes the real row: below a hidden row the two differ.
            GetCheckBoxState(RC, RealRowIndex(R), State);
            // Display indexes, as a click on the box reports them.
            DoCheckBoxClick(Col(), R, State);
        }
    }
    // Radio groups and radio buttons report the display column, as check boxes do.
    if ((CanEdit || ControlLook()->RadioAlwaysActive()) && IsRadio(RC, R) && Key == VK_SPACE) {
        const TPoint B = BaseCell(RC, R);
        int Idx = -1;
        if (AdvanceRadio(B.X, B.Y, true) && GetRadioIdx(B.X, B.Y, Idx) && OnRadioClick)
            OnRadioClick(this, Col(), R, Idx);
    }
    if ((CanEdit || ControlLook()->RadioAlwaysActive()) && Kind == ctRadioButton && Key == VK_SPACE) {
        ClickRadioButton(RC, R, true);
        if (OnRadioButtonClick) OnRadioButtonClick(this, Col(), R);
    }
    if (CanEdit && (Kind == ctButton || Kind == ctBitButton)) DoButtonClick(RC, R);
    RepaintCell(Col(), R);
}

bool TExtStringGrid::HomeEndKey(TMessage& Message, Word Key, TShiftState Shift) {
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftDown = Shift.Contains(ssShift);
    const THomeEndAction Mode = Navigation()->HomeEndKey();
    const bool RowSel = Options().Contains(goRowSelect);
    const bool Home = Key == VK_HOME;
    auto Finish = [&] {
        FireGridOnKeyDown(Key, Shift);
        Message.Result = 0;
        Message.WParam = 0;
        return true;
    };
    auto Platform = [&] {
        TBaseGrid::WndProc(Message);
        return true;
    };
    const bool SingleRow = FixedRowAlways() && RowCount() == 1;
    if (Mode == heFirstLastCell && !Ctrl) {
        if (Home) {
            SetCol(FixedCols());
            SetRow(FixedRows());
        } else {
            SetCol(ColCount() - 1);
            SetRow(RowCount() - 1);
        }
        SnapToBaseCell();
        return Finish();
    }
    if (Mode == heFirstLastRow && !Ctrl) {
        if (SingleRow) return Platform();
        const int EntryRow = Row();
        const int EntryLeftCol = LeftCol();
        int Target = FixedRows();
        auto ShowLastPage = [&] { SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount())); };
        if (!Home) {
            Target = FloatingFooter()->Visible() && RowCount() > 2 ? RowCount() - 2 : RowCount() - FixedFooters() - 1;
            if (FixedFooters() > 0 && !FloatingFooter()->Visible()) ShowLastPage();
        }
        SetRow(Target);
        SnapToBaseCell();
        if (!Home && FloatingFooter()->Visible()) ShowLastPage();
        if (MouseActions()->DisjunctRowSelect()) {
            if (!ShiftDown) ClearRowSelect();
            if (ShiftDown) {
                const int Top = std::min(EntryRow, Row()), Bottom = std::max(EntryRow, Row());
                SetSelection(GridRect(FixedCols(), Top, ColCount() - 1, Bottom));
            }
            for (int r = Selection().Top; r <= Selection().Bottom; ++r) SetRowSelect(r, true);
        }
        Finish();
        if (RowSel && Navigation()->KeepHorizScroll()) SetLeftCol(EntryLeftCol);
        return true;
    }
    if (Mode == heFirstLastColumn && Ctrl && Home) {
        SetRow(FixedRows());
        const int C = FirstSelectableCol(Row());
        if (C >= 0) SetCol(C);
        SnapToBaseCell();
        SetLeftCol(FirstNormalCol());
        return Finish();
    }
    if (Mode == heFirstLastColumn && !Ctrl && !RowSel) {
        if (SingleRow) return Platform();
        if (ShiftDown) {
            const int Far = Home ? FixedCols() : ColCount() - FixedRightCols() - 1;
            SetSelection(GridRect(std::min(Col(), Far), Row(), std::max(Col(), Far), Row()));
            RepaintRow(Row());
        } else if (Home) {
            const int C = FirstSelectableCol(Row());
            if (C >= 0) SetCol(C);
            SnapToBaseCell();
            SetLeftCol(FirstNormalCol());
        } else {
            SetCol(ColCount() - 1);
            SnapToBaseCell();
            SetLeftCol(std::max(FixedCols(), ColCount() - VisibleColCount()));
        }
        return Finish();
    }
    return false;
}

bool TExtStringGrid::SkipFixedCellsKey(TMessage& Message, Word Key, TShiftState Shift) {
    Word K = Key;
    if (layoutDirection() == Qt::RightToLeft) K = K == VK_LEFT ? VK_RIGHT : K == VK_RIGHT ? VK_LEFT : K;
    const int FirstC = FixedCols(), LastC = ColCount() - FixedRightCols() - 1;
    const int FirstR = FixedRows(), LastR = RowCount() - FixedFooters() - 1;
    const bool RowSel = Options().Contains(goRowSelect);
    int dc = 0, dr = 0;
    if (K == VK_LEFT) dc = -1;
    if (K == VK_RIGHT) dc = 1;
    if (K == VK_UP) dr = -1;
    if (K == VK_DOWN) dr = 1;
    if (RowSel && dc != 0) return false;
    int c = Col() + dc, r = Row() + dr;
    if (c < FirstC || c > LastC || r < FirstR || r > LastR) return false;
    if (!IsFixed(c, r)) return false;
    while (c >= FirstC && c <= LastC && r >= FirstR && r <= LastR && IsFixed(c, r) && !(RowSel && dr != 0)) {
        c += dc;
        r += dr;
    }
    if (RowSel && dr != 0) {
        // Whole rows: the move is made without testing the cell it lands on.
        r = std::clamp(r + dr, FirstR, LastR);
        SetRow(r);
    } else if (c >= FirstC && c <= LastC && r >= FirstR && r <= LastR) {
        if (dc != 0) SetCol(c);
        if (dr != 0) SetRow(r);
    }
    FireGridOnKeyDown(Key, Shift);
    Message.WParam = 0;
    Message.Result = 1;
    FireSelectionChangedSince(FMoveSelection);
    FMoveSelection = Selection();
    return true;
}

bool TExtStringGrid::InsertRowKey(Word Key, TShiftState Shift) {
    if (Key != VK_INSERT || !Navigation()->AllowInsertRow() || Shift.Contains(ssCtrl) || Shift.Contains(ssShift) ||
        Shift.Contains(ssAlt))
        return false;
    bool CanInsert = true;
    DoCanInsertRow(Row(), CanInsert);
    if (!CanInsert) return true;
    const TStateScope<bool> NoFilter(FFilterActive, false);
    int Target = Row();
    int At;
    if (Navigation()->InsertPosition() == pInsertAfter) {
        if (FixedRowAlways() && RowCount() == FixedRows()) {
            At = RealRowIndex(Row());
            Target = 1;
        } else if (Row() < RowCount()) {
            At = RealRowIndex(Row()) + 1;
            if (Row() + 1 < RowCount() + 1) Target = Row() + 1;
        } else {
            At = RealRowIndex(Row());
        }
    } else {
        At = RealRowIndex(Row());
    }
    InsertRowAt(At);
    if (OnAutoInsertRow) OnAutoInsertRow(this, At);
    FGridModified = true;
    if (Target >= FixedRows() && Target < RowCount()) SetRow(Target);
    CalcFooter(-1);
    return false;
}

bool TExtStringGrid::DeleteRowKey(Word Key, TShiftState Shift) {
    if (Key != VK_DELETE || !Navigation()->AllowDeleteRow() || Shift.Contains(ssAlt) ||
        RowCount() - FixedFooters() - FixedRows() < 1)
        return false;
    const int At = RealRowIndex(Row());
    {
        const TStateScope<bool> NoFilter(FFilterActive, false);
        bool CanDelete = true;
        if (OnCanDeleteRow) OnCanDeleteRow(this, At, CanDelete);
        if (!CanDelete) return true;
        RemoveRowAt(At);
    }
    if (FloatingFooter()->Visible() && Row() == RowCount() - 1 && RowCount() >= 2) SetRow(RowCount() - 2);
    SetOldCellCache(GetCurrentCell());
    FGridModified = true;
    CalcFooter(-1);
    return false;
}

void TExtStringGrid::SelectAllKey() {
    const int L = FirstNormalCol(), R = ColCount() - FixedRightCols() - 1;
    const int T = FixedRows(), B = RowCount() - FixedFooters() - 1;
    if (R < L || B < T) return;
    const TGridRect Block = GridRect(L, T, R, B);
    SetSelection(Block);
    if (MouseActions()->DisjunctRowSelect())
        for (int r = T; r <= B; ++r) SetRowSelect(r, true);
    SelectAllHook(Block);
    FocusCell(R, B);
    const TRect Rc = CellRect(R, B);
    MouseDown(mbLeft, {}, Rc.Left + 2, Rc.Top + 2);
    MouseUp(mbLeft, {}, Rc.Left + 2, Rc.Top + 2);
    FocusCell(R, B);
    SetSelection(Block);
}

void TExtStringGrid::MarkRowsAndColsKey(Word Key, TShiftState Shift) {
    TMouseActions* MA = MouseActions();
    const bool ShiftDown = Shift.Contains(ssShift), Ctrl = Shift.Contains(ssCtrl);
    const int MarkRow = MA->DisjunctRowSelect() && MA->RowSelectPersistent() ? RealRowIndex(Row()) : Row();
    if (IsScrollKey(Key)) {
        if (MA->DisjunctRowSelect()) {
            if (!ShiftDown && !Ctrl) ClearRowSelect();
            if (ShiftDown)
                for (int r = Selection().Top; r <= Selection().Bottom; ++r) SetRowSelect(r, true);
            else
                SetRowSelect(MarkRow, true);
        }
        if (MA->DisjunctColSelect()) {
            if (!ShiftDown && !Ctrl) ClearColSelect();
            if (ShiftDown)
                for (int c = Selection().Left; c <= Selection().Right; ++c) SetColSelect(c, true);
            else
                SetColSelect(Col(), true);
        }
    }
    if (Key == VK_SPACE) {
        if (MA->DisjunctRowSelect()) SetRowSelect(MarkRow, !GetRowSelect(MarkRow));
        if (MA->DisjunctColSelect()) SetColSelect(Col(), !GetColSelect(Col()));
    }
}

// ---- the grid's step in the platform's key handling ---------------------------------------------------
void TExtStringGrid::KeyDown(Word& Key, TShiftState Shift) { KeyDownOverride(Key, Shift); }

void TExtStringGrid::KeyDownOverride(Word& Key, TShiftState Shift) {
    const Word K = Key;
    const int EntryCol = Col(), EntryRow = Row();
    FLastKeyCell = Point(EntryCol, EntryRow);
    TBaseGrid::KeyDown(Key, Shift);
    // The platform's navigation uses up F2 and a grid Tab itself; any other key that comes back
    // cleared was cleared by the application's OnKeyDown.
    FKeyClearedByHandler = Key == 0 && K != 0 && K != VK_F2 && K != VK_TAB;
    TNavigation* Nav = Navigation();
    const bool Ctrl = Shift.Contains(ssCtrl);
    const TGridRect Sel = Selection();
    const int Top = std::min(Sel.Top, Sel.Bottom), Bottom = std::max(Sel.Top, Sel.Bottom);

    if (Nav->CursorMoveRows() && Ctrl) {
        if (K == VK_DOWN && Bottom < RowCount() - 1) {
            if (Top == Bottom) {
                MoveRow(Top, Top + 1);
                SetRow(Top + 1);
            } else {
                MoveRows(Top, Top + 1, Bottom - Top + 1);
                SetSelection(GridRect(FixedCols(), Top + 1, ColCount() - 1, Bottom + 1));
            }
        } else if (K == VK_UP && Top > FixedRows()) {
            if (Top == Bottom) {
                MoveRow(Top, Top - 1);
                SetRow(Top - 1);
            } else {
                MoveRows(Top, Top - 1, Bottom - Top + 1);
                SetSelection(GridRect(FixedCols(), Top - 1, ColCount() - 1, Bottom - 1));
            }
        }
    }

    const TCursorAdvance Adv = Nav->CursorAdvance();
    if (Adv != caDefault) {
        const int FirstC = FixedCols(), LastC = ColCount() - FixedRightCols() - 1;
        const int FirstR = FixedRows(), LastR = RowCount() - FixedFooters() - 1;
        const bool Snake = Adv == caSnake;
        int c = Col(), r = Row();
        bool Wrapped = true;
        if (K == VK_LEFT && EntryCol == FirstC) {
            c = LastC;
            if (Snake) r = EntryRow > FirstR ? EntryRow - 1 : LastR;
        } else if (K == VK_RIGHT && EntryCol == LastC) {
            c = FirstC;
            if (Snake) r = EntryRow < LastR ? EntryRow + 1 : FirstR;
        } else if (K == VK_UP && EntryRow == FirstR) {
            r = LastR;
            if (Snake) c = EntryCol > FirstC ? EntryCol - 1 : LastC;
        } else if (K == VK_DOWN && EntryRow == LastR) {
            r = FirstR;
            if (Snake) c = EntryCol < LastC ? EntryCol + 1 : FirstC;
        } else {
            Wrapped = false;
        }
        if (Wrapped && c >= 0 && r >= 0 && c < ColCount() && r < RowCount()) {
            if (c != Col()) SetCol(c);
            if (r != Row()) SetRow(r);
        }
    }

    if (EnabledRowsUsed() && Nav->SkipDisabledRows() && Row() == EntryRow && (K == VK_UP || K == VK_DOWN)) {
        const int Step = K == VK_UP ? -1 : 1;
        for (int r = EntryRow + Step; r >= FixedRows() && r < RowCount(); r += Step)
            if (GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
    }

    if (auto* Other = dynamic_cast<TExtStringGrid*>(SyncGrid()->Grid())) {
        if (SyncGrid()->SelectionColumn() && Other->Col() != Col() && Col() < Other->ColCount()) Other->SetCol(Col());
        if (SyncGrid()->SelectionRow() && Other->Row() != Row() && Row() < Other->RowCount()) Other->SetRow(Row());
    }
}
