// The string grid's typed characters (a character typed on an editable cell opens its editor with
// that character), the Tab step between cells with the routines it walks by, the key release and
// the search bar's accelerators.
//
// A typed character is reported to OnKeyPress once: the editor it opens receives it without
// reporting it again. A handler that clears it keeps the character out of the cell, but the
// editor opens all the same.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace {

bool IsArrowKey(Word Key) { return Key >= VK_LEFT && Key <= VK_DOWN; }

TGridRect Normal(const TGridRect& R) {
    return GridRect(std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
                    std::max(R.Top, R.Bottom));
}

} // namespace

bool TExtStringGrid::TakeReportedStartChar(QChar Key) {
    if (FReportedStartChar.isNull() || Key != FReportedStartChar) return false;
    FReportedStartChar = QChar();
    return true;
}

// ---- the character message ---------------------------------------------------------------------------
void TExtStringGrid::CharMessageHandler(TMessage& Message) {
    EditingFollowsCurrentCell();
    QChar Key(char16_t(Message.WParam));
    const ushort K = Key.unicode();
    const bool Ctrl = KeyboardShiftState().Contains(ssCtrl);
    const bool InSheet = Col() >= 0 && Col() < ColCount() && Row() >= 0 && Row() < RowCount();
    const int RC = InSheet ? GetRealCol() : -1;
    TMouseActions* MA = MouseActions();
    TNavigation* Nav = Navigation();

    if (InSheet && EnableHTML()) {
        const QString Text = GetCellEx(RC, Row());
        if (ClassifyCellText(Text, true) == 1 && Text.toUpper().contains(QLatin1String("<CONTROL"))) {
            Message.Result = 1;
            return;
        }
    }
    if (InSheet && MA->EditOnDblClickOnly()) {
        bool CanEdit = true;
        GetCellEditable(RC, Row(), CanEdit);
        if (CanEdit) SetOptions(Options() << goEditing);
    }
    if (Nav->AllowClipboardShortCuts() && Ctrl && (K == 3 || K == 22 || K == 24)) {
        Message.WParam = 0;
        return;
    }
    const bool Control = InSheet && HasCellControl(RC, Row());
    const bool EditorOpen = (EditorMode() && InplaceEditor() && InplaceEditor()->isVisible()) || FEditMode;

    // The grid opens the editor and hands it the character; the editor does not report it again.
    auto OpenWithChar = [&](QChar C) {
        FStartEditChar = C;
        FReportedStartChar = C;
        ShowEditorChar(C);
        FStartEditChar = QChar();
        // A special editor gets the character posted: it is consumed when it arrives.
        TGridCellEditor* E = FEditMode && FSpecialEditor ? SpecialEditor(FEditControl) : nullptr;
        if (!(E && E->Control() && E->TakesStartKey(FEditControl))) FReportedStartChar = QChar();
    };

    if (InSheet && !EditorOpen && MA->RangeSelectAndEdit() && !Control && IsEditable(RC, Row()) && K != 9 && K != 27 &&
        !Ctrl) {
        // The handler sees a copy: what it does to it changes nothing, the cell opens with the
        // character as typed.
        QChar Copy = Key;
        FireKeyPress(Copy);
        FStartEditChar = Key;
        SetOptions(Options() << goEditing);
        if (Row() < TopRow() || Row() >= TopRow() + VisibleRowCount() || Col() < LeftCol() ||
            Col() >= LeftCol() + VisibleColCount())
            ScrollInView(Col(), Row());
        const TRect R = CellRect(Col(), Row());
        MouseDown(mbLeft, {}, R.Left + 2, R.Top + 2);
        if (K == 8 || (K >= 32 && K != 127)) {
            OpenWithChar(Key);
        } else {
            FReportedStartChar = Key;
            TBaseGrid::WndProc(Message);
            FReportedStartChar = QChar();
        }
        FStartEditChar = QChar();
        return;
    }

    bool PlatformRan = false;
    // The numeric keypad's decimal key (key data bit 22) types the locale's separator.
    if (K == '.' && (Message.LParam & (LPARAM(1) << 22)) && ExcelStyleDecimalSeparator()) {
        Key = FormatSettings.DecimalSeparator;
        Message.WParam = Key.unicode();
    }
    if (Control && K == 13 && Nav->AdvanceOnEnter()) {
        TBaseGrid::WndProc(Message);
        PlatformRan = true;
    }

    const ushort KK = Key.unicode();
    if (!EditorOpen && Options().Contains(goEditing) && KK != 9 && (KK == 8 || (KK >= 32 && KK != 127))) {
        QChar C = Key;
        FireKeyPress(C);
        Message.WParam = C.unicode();
        if (!Control && InSheet) {
            // A key the handler cleared still opens the editor, with the cell's text untouched.
            if (C.isNull())
                ShowEditor();
            else
                OpenWithChar(C);
        }
        return;
    }
    if (!PlatformRan) TBaseGrid::WndProc(Message);
}

// ---- the key release ---------------------------------------------------------------------------------
void TExtStringGrid::KeyUpMessageHandler(TMessage& Message) { TBaseGrid::WndProc(Message); }

void TExtStringGrid::KeyUp(Word& Key, TShiftState Shift) { KeyUpOverride(Key, Shift); }

void TExtStringGrid::KeyUpOverride(Word& Key, TShiftState Shift) {
    const Word K = Key;
    if (K == VK_PRIOR || K == VK_NEXT || K == VK_END || IsArrowKey(K) || K == VK_INSERT || K == VK_DELETE)
        FSearchText.clear();
    const TGridRect Before = Normal(Selection());
    TBaseGrid::KeyUp(Key, Shift);
    const bool TabStep = K == VK_TAB && Options().Contains(goTabs);
    if (Navigation()->AlwaysEdit() && (IsArrowKey(K) || TabStep) && Col() >= 0 && Col() < ColCount() && Row() >= 0 &&
        Row() < RowCount() && !HasCellControl(GetRealCol(), Row()))
        ShowInplaceEdit();
    if ((IsArrowKey(K) || K == VK_TAB) && !(Selection() == FMoveSelection)) {
        FireSelectionChangedSince(FMoveSelection);
        FMoveSelection = Selection();
    }
    if (MouseActions()->DisjunctCellSelect() && !Options().Contains(goEditing)) DisjunctCellKeyUp(K, Shift, Before);
}

// Cell marks from the keyboard: Shift extends the marked block with the selection, Space marks
// the current cell (Ctrl adds it to the marks or takes it out).
void TExtStringGrid::DisjunctCellKeyUp(Word Key, TShiftState Shift, const TGridRect& Before) {
    auto MarkBlock = [&](const TGridRect& R, bool Value, bool SkipCurrent) {
        for (int r = R.Top; r <= R.Bottom; ++r)
            for (int c = R.Left; c <= R.Right; ++c)
                if (!(SkipCurrent && c == Col() && r == Row())) SetSelectedCells(c, r, Value);
    };
    const TGridRect Now = Normal(Selection());
    if (Shift.Contains(ssShift)) {
        MarkBlock(Before, false, false);
        MarkBlock(Now, true, true);
    }
    if (Key != VK_SPACE || Col() < 0 || Row() < 0 || Col() >= ColCount() || Row() >= RowCount()) return;
    if (IsFixed(Col(), Row()) || !IsBaseCell(GetRealCol(), Row())) return;
    bool CanSelect = true;
    if (OnSelectCell) OnSelectCell(this, Col(), Row(), CanSelect);
    if (!CanSelect) return;
    if (Shift.Contains(ssCtrl)) {
        SetSelectedCells(Col(), Row(), !GetSelectedCells(Col(), Row()));
    } else {
        FSel.ClearCells();
        Invalidate();
        SetSelectedCells(Col(), Row(), true);
    }
    if (Now.Left != Now.Right || Now.Top != Now.Bottom) MarkBlock(Now, true, false);
    RepaintCell(Col(), Row());
}

// ---- the search bar's accelerators ---------------------------------------------------------------------
void TExtStringGrid::DialogCharMessageHandler(TMessage& Message) {
    Message.Result = 0;
    TSearchPanel* P = SearchPanel();
    if (!SearchFooter()->Visible() || !P || !P->isVisible() || !P->Enabled()) {
        TBaseGrid::WndProc(Message);
        return;
    }
    const QChar C = QChar(char16_t(Message.WParam)).toUpper();
    const struct {
        QString Caption;
        TNotifyEvent* Run;
    } Buttons[] = {{SearchFooter()->FindNextCaption(), &P->OnForwardClick},
                   {SearchFooter()->FindPrevCaption(), &P->OnBackwardClick},
                   {SearchFooter()->HighLightCaption(), &P->OnHighlightClick}};
    for (const auto& B : Buttons) {
        const QChar Hot = GetHotKey(B.Caption);
        if (Hot.isNull() || Hot.toUpper() != C || !*B.Run) continue;
        (*B.Run)(P);
        Message.Result = 1;
        return;
    }
    TBaseGrid::WndProc(Message);
}

// ---- the routines a Tab step walks by -------------------------------------------------------------------
bool TExtStringGrid::CanSelectCell(int DisplCol, int DisplRow) {
    bool CanSelect =
        Options().Contains(goEditing) ? IsEditable(RealColIndex(DisplCol), DisplRow) : !IsFixed(DisplCol, DisplRow);
    if (OnSelectCell) OnSelectCell(this, DisplCol, DisplRow, CanSelect);
    return CanSelect;
}

int TExtStringGrid::FirstSelectableCol(int DisplRow) {
    for (int c = 0; c < ColCount(); ++c)
        if (CanSelectCell(c, DisplRow)) return c;
    return -1;
}

int TExtStringGrid::LastSelectableCol(int DisplRow) {
    for (int c = ColCount() - 1; c >= 0; --c)
        if (CanSelectCell(c, DisplRow)) return c;
    return -1;
}

int TExtStringGrid::FirstNormalCol() { return FirstDataColumn(); }

bool TExtStringGrid::IsLastNormalRow() {
    return Row() + 1 == RowCount() - FixedFooters() || (Row() + 2 == RowCount() && FloatingFooter()->Visible());
}

void TExtStringGrid::AppendRow() {
    bool CanAdd = true;
    DoCanAddRow(CanAdd);
    if (!CanAdd) return;
    if (FloatingFooter()->Visible() && RowCount() > FixedRows() + 1) {
        // The footer row keeps its texts: the new row goes in before it.
        InsertRows(RowCount() - 1, 1);
    } else {
        SetRowCount(RowCount() + 1);
    }
    const int NewRow = FloatingFooter()->Visible() ? RowCount() - 2 : RowCount() - FixedFooters() - 1;
    for (int c = 0; c < TotalColCount(); ++c) {
        if (!GetGridCell(c, NewRow).isEmpty()) SetGridCell(c, NewRow, QString());
        if (GetGridObject(c, NewRow)) SetGridObject(c, NewRow, nullptr);
    }
    if ((FloatingFooter()->Visible() || FixedFooters() > 0) && Row() + 1 < RowCount()) SetRow(Row() + 1);
    if (FloatingFooter()->Visible()) CalcFooter(-1);
    if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
}

void TExtStringGrid::ClickCellSilently(int DisplCol, int DisplRow) {
    const TRect R = CellRect(DisplCol, DisplRow);
    auto SavedDown = std::move(OnMouseDown);
    auto SavedUp = std::move(OnMouseUp);
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    const bool SavedForce = FForceSel;
    FForceSel = true;
    try {
        MouseDown(mbLeft, {}, R.Left + 2, R.Top + 2);
        MouseUp(mbLeft, {}, R.Left + 2, R.Top + 2);
    } catch (...) {
        FForceSel = SavedForce;
        OnMouseDown = std::move(SavedDown);
        OnMouseUp = std::move(SavedUp);
        throw;
    }
    FForceSel = SavedForce;
    OnMouseDown = std::move(SavedDown);
    OnMouseUp = std::move(SavedUp);
}

void TExtStringGrid::PostTabToParent(bool Backward) {
    // The focus moves on as Tab moves it between the form's controls.
    if (TForm* F = FindParentForm(this)) {
        TShiftState S;
        if (Backward) S << ssShift;
        F->Perform(CM_DIALOGKEY, VK_TAB, LPARAM(S.Bits()));
    }
}

// ---- the Tab step --------------------------------------------------------------------------------------
bool TExtStringGrid::TabAdvance(bool Backward) {
    if (OnKeyDown) {
        Word Key = VK_TAB;
        TShiftState S;
        if (Backward) S << ssShift;
        OnKeyDown(this, Key, S);
        if (Key != VK_TAB) return true;
    }
    if (Col() == FLastTabCol && Row() == FLastTabRow) return true;
    FLastTabCol = Col();
    FLastTabRow = Row();
    FTabLeftGrid = false;
    if (Navigation()->TabAdvanceDirection() == adLeftRight)
        TabAlongRows(Backward);
    else
        TabDownCols(Backward);
    const bool LeftGrid = FTabLeftGrid;
    if (!LeftGrid && Options().Contains(goEditing) && !IsEditable(GetRealCol(), Row())) TabAdvance(Backward);
    if (!LeftGrid && Navigation()->AdvanceAutoEdit() && !HasCellControl(GetRealCol(), Row()))
        ClickCellSilently(Col(), Row());
    FLastTabCol = -1;
    FLastTabRow = -1;
    if (Navigation()->AlwaysEdit() && CanFocus()) SetFocus();
    return !LeftGrid;
}

void TExtStringGrid::TabAlongRows(bool Backward) {
    TNavigation* Nav = Navigation();
    const int EndCol = ColCount() - VisibleFixedRightCols();
    const int LastNormal = RowCount() - FixedFooters() - 1;
    const int First = FirstNormalCol();
    auto Go = [&](int c, int r) {
        c = std::clamp(c, 0, ColCount() - 1);
        r = std::clamp(r, 0, RowCount() - 1);
        if (r != Row()) SetRow(r);
        if (c != Col()) SetCol(c);
    };
    auto LeaveAtEnd = [&] {
        if (Nav->TabToNextAtEnd()) {
            FTabLeftGrid = true;
            PostTabToParent(false);
        }
    };
    if (!Backward) {
        const int After = Col() + std::max(CellSpan(GetRealCol(), Row()).X, 0) + 1;
        if (After < EndCol) {
            int Found = -1;
            for (int c = After; c < EndCol && Found < 0; ++c)
                if (CanSelectCell(c, Row())) Found = c;
            if (Found >= 0) {
                SetCol(Found);
                if (!IsBaseCell(GetRealCol(), Row())) TabAlongRows(false);
            } else if (Row() < LastNormal) {
                const int Fs = FirstSelectableCol(Row() + 1);
                const int Target = Fs >= 0 ? Fs : FixedCols();
                bool Allow = true;
                if (OnRowChanging) OnRowChanging(this, Row(), Row() + 1, Allow);
                if (OnCellChanging) OnCellChanging(this, Row(), Col(), Row() + 1, Target, Allow);
                if (OnColChanging) OnColChanging(this, Col(), Target, Allow);
                if (Allow) Go(Target, Row() + 1);
            } else {
                const int Fs = FirstSelectableCol(FixedRows());
                if (Fs >= 0) FocusCell(Fs, FixedRows());
                LeaveAtEnd();
            }
            return;
        }
        if (Row() < LastNormal) {
            for (int r = Row() + 1; r <= LastNormal; ++r)
                for (int c = First; c < EndCol; ++c)
                    if (IsBaseCell(RealColIndex(c), r) && CanSelectCell(c, r)) {
                        Go(c, r);
                        return;
                    }
            // Nothing selectable below: the last cell of the grid, then on from there (unless the
            // grid refused that cell, which would only come back here).
            Go(EndCol - 1, LastNormal);
            if (Row() == LastNormal) TabAlongRows(false);
            return;
        }
        if (Nav->TabToNextAtEnd() || !Nav->AdvanceInsert()) {
            Go(Col(), FixedRows());
        } else {
            const int Before = RowCount();
            AppendRow();
            if (RowCount() > Before)
                Go(Col(), RowCount() - FixedFooters() - (FloatingFooter()->Visible() ? 2 : 1));
            else
                Go(Col(), FixedRows());
        }
        const int Fs = FirstSelectableCol(Row());
        if (Fs >= 0) SetCol(Fs);
        LeaveAtEnd();
        return;
    }
    // Backward.
    if (Col() > First) {
        for (int c = Col() - 1; c >= First; --c)
            if (IsBaseCell(RealColIndex(c), Row()) && CanSelectCell(c, Row())) {
                SetCol(c);
                return;
            }
        const int r = Row() > FixedRows() ? Row() - 1 : LastNormal;
        const int Ls = LastSelectableCol(r);
        if (Ls >= 0) {
            Go(Ls, r);
            ScrollInView(Col(), Row());
            SnapToBaseCell();
        }
        return;
    }
    const int r = Row() > FixedRows() ? Row() - 1 : LastNormal;
    for (int c = EndCol - 1; c >= FixedCols(); --c)
        if (CanSelectCell(c, r)) {
            Go(c, r);
            return;
        }
    Go(EndCol - 1, r);
}

void TExtStringGrid::TabDownCols(bool Backward) {
    const int LastNormal = RowCount() - FixedFooters() - 1;
    const int EndCol = ColCount() - FixedRightCols();
    const int First = FirstNormalCol();
    auto Go = [&](int c, int r) {
        c = std::clamp(c, 0, ColCount() - 1);
        r = std::clamp(r, 0, RowCount() - 1);
        if (r != Row()) SetRow(r);
        if (c != Col()) SetCol(c);
    };
    if (!Backward) {
        const int Below = Row() + std::max(CellSpan(GetRealCol(), Row()).Y, 0) + 1;
        if (Below <= LastNormal) {
            Go(Col(), Below);
        } else if (Col() + 1 < EndCol) {
            Go(Col() + 1, FixedRows());
        } else {
            Go(First, FixedRows());
            if (Navigation()->TabToNextAtEnd()) {
                FTabLeftGrid = true;
                PostTabToParent(false);
            }
        }
        return;
    }
    if (Row() > FixedRows())
        Go(Col(), Row() - 1);
    else if (Col() > First)
        Go(Col() - 1, LastNormal);
    else
        Go(EndCol - 1, LastNormal);
}
