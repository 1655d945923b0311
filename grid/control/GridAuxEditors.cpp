#include "grid/control/GridAuxEditors.h"

#include "grid/control/ExtGrid.h"
#include "platform/gui/Messages.h"

#include <QPointer>

// ---- the embedded controls' editors ---------------------------------------------------------------------
namespace {

// Ends a control's edit after Enter or Tab (the key is dropped): Enter gives the focus back to
// the grid; Tab advances the grid or edits the cell's next control.
void ControlEditorKey(TWinControl* Editor, TExtStringGrid* Grid, QChar& Key) {
    const ushort K = Key.unicode();
    if (K != VK_RETURN && K != VK_TAB) return;
    Key = QChar();
    QPointer<TWinControl> Self(Editor);
    if (Editor->OnExit) Editor->OnExit(Editor);
    if (!Self || !Grid) return;
    if (K == VK_RETURN) {
        if (Grid->CanFocus()) Grid->SetFocus();
        return;
    }
    if (Grid->Navigation()->AdvanceAuto()) {
        if (Grid->CanFocus()) Grid->SetFocus();
        Grid->AdvanceCell(Grid->Col(), Grid->Row(), Grid->EditorMode(), false, true, false, false);
        return;
    }
    const TPoint Cell = Grid->CellControlCell();
    Grid->HTMLControlClick(Cell.X, Cell.Y, Grid->EditedCellControlID());
}

} // namespace

template <class TBase>
TCellControlEditor<TBase>::TCellControlEditor(TComponent* AOwner, TExtStringGrid* Grid) : TBase(AOwner), FGrid(Grid) {
    this->SetVisible(false);
}

template <class TBase>
void TCellControlEditor<TBase>::WndProc(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY) {
        if (Message.WParam == VK_TAB) {
            Message.Result = 1;
            return;
        }
        // The edit box leaves Enter to the dialog handling; it still arrives as a character.
        if (IsEdit && Message.WParam == VK_RETURN) {
            Message.Result = 0;
            return;
        }
    }
    // Tab is handled as the character that follows; the control would move the focus on.
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_TAB) return;
    TBase::WndProc(Message);
}

template <class TBase>
void TCellControlEditor<TBase>::KeyPress(QChar& Key) {
    if (!IsEdit || (FGrid && this->Parent() == FGrid)) ControlEditorKey(this, FGrid, Key);
    if (!Key.isNull()) TBase::KeyPress(Key);
}

template class TCellControlEditor<TMaskEdit>;
template class TCellControlEditor<TComboBox>;

TControlEdit::TControlEdit(TComponent* AOwner, TExtStringGrid* Grid) : TCellControlEditor<TMaskEdit>(AOwner, Grid) {
    SetBorderStyle(bsNone);
}

// ---- the fixed-cell editors ---------------------------------------------------------------------------------
template <class TBase>
TFixedCellEditor<TBase>::TFixedCellEditor(TComponent* AOwner, TExtStringGrid* Grid) : TBase(AOwner), FGrid(Grid) {
    this->SetVisible(false);
}

template <class TBase>
bool TFixedCellEditor<TBase>::StopEdit() {
    if (!FGrid) {
        this->SetVisible(false);
        return true;
    }
    QString Value = this->Text();
    bool Valid = true;
    if (FGrid->OnCellValidate) FGrid->OnCellValidate(FGrid, FCol, FRow, Value, Valid);
    if (!Valid) {
        // The edited cell becomes the current one where the grid lets a cell be current (a
        // fixed cell never is).
        const int DisplCol = FGrid->DisplColIndex(FCol);
        if (DisplCol >= FGrid->FixedCols() && DisplCol < FGrid->ColCount() && FRow >= FGrid->FixedRows() &&
            FRow < FGrid->RowCount()) {
            FGrid->SetCol(DisplCol);
            FGrid->SetRow(FRow);
        }
        if (this->CanFocus()) this->SetFocus();
        return false;
    }
    if (FGrid->OnEditingDone) FGrid->OnEditingDone(FGrid);
    FGrid->SetCellEx(FCol, FRow, Value);
    this->SetVisible(false);
    return true;
}

template <class TBase>
void TFixedCellEditor<TBase>::KeyPress(QChar& Key) {
    if (Key.unicode() == VK_RETURN) {
        Key = QChar();
        return;
    }
    TBase::KeyPress(Key);
}

template <class TBase>
void TFixedCellEditor<TBase>::DoExit() {
    TBase::DoExit();
    if (this->Visible()) StopEdit();
}

template class TFixedCellEditor<TEdit>;
template class TFixedCellEditor<TComboBox>;

TGridTransEdit::TGridTransEdit(TComponent* AOwner, TExtStringGrid* Grid) : TFixedCellEditor<TEdit>(AOwner, Grid) {
    SetBorderStyle(bsNone);
}
