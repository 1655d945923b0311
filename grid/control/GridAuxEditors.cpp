#include "grid/control/GridAuxEditors.h"

#include "grid/control/ExtGrid.h"
#include "platform/gui/Messages.h"

#include <QPointer>

// ---- the embedded controls' editors ---------------------------------------------------------------------
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
    if (Grid->Navigation()->AdvanceAutoEdit()) {
        if (Grid->CanFocus()) Grid->SetFocus();
        Grid->AdvanceCell(Grid->Col(), Grid->Row(), Grid->EditorMode(), false, true, false, false);
        return;
    }
    const TPoint Cell = Grid->CellControlCell();
    Grid->HTMLControlClick(Cell.X, Cell.Y, Grid->EditedCellControlID());
}

TControlEdit::TControlEdit(TComponent* AOwner, TExtStringGrid* Grid) : TMaskEdit(AOwner), FGrid(Grid) {
    SetBorderStyle(bsNone);
    SetVisible(false);
}

void TControlEdit::WndProc(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY) {
        // Enter goes to KeyPress as a character only through the grid's path; Tab stays here.
        if (Message.WParam == VK_RETURN) {
            Message.Result = 0;
            return;
        }
        if (Message.WParam == VK_TAB) {
            Message.Result = 1;
            return;
        }
    }
    // Tab is handled as the character that follows; the edit box would move the focus on.
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_TAB) return;
    TMaskEdit::WndProc(Message);
}

void TControlEdit::KeyPress(QChar& Key) {
    if (FGrid && Parent() == FGrid) ControlEditorKey(this, FGrid, Key);
    if (!Key.isNull()) TMaskEdit::KeyPress(Key);
}

TControlCombo::TControlCombo(TComponent* AOwner, TExtStringGrid* Grid) : TComboBox(AOwner), FGrid(Grid) {
    SetVisible(false);
}

void TControlCombo::WndProc(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY && Message.WParam == VK_TAB) {
        Message.Result = 1;
        return;
    }
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_TAB) return;
    TComboBox::WndProc(Message);
}

void TControlCombo::KeyPress(QChar& Key) {
    ControlEditorKey(this, FGrid, Key);
    if (!Key.isNull()) TComboBox::KeyPress(Key);
}

// ---- the fixed-cell editors ---------------------------------------------------------------------------------
namespace {

// The stop step both fixed-cell editors share.
bool StopFixedCellEdit(TWinControl* Editor, TExtStringGrid* Grid, int RealCol, int ARow) {
    if (!Grid) {
        Editor->SetVisible(false);
        return true;
    }
    QString Value = Editor->Text();
    bool Valid = true;
    if (Grid->OnCellValidate) Grid->OnCellValidate(Grid, RealCol, ARow, Value, Valid);
    if (!Valid) {
        // The edited cell becomes the current one where the grid lets a cell be current (a
        // fixed cell never is).
        const int DisplCol = Grid->DisplColIndex(RealCol);
        if (DisplCol >= Grid->FixedCols() && DisplCol < Grid->ColCount() && ARow >= Grid->FixedRows() &&
            ARow < Grid->RowCount()) {
            Grid->SetCol(DisplCol);
            Grid->SetRow(ARow);
        }
        if (Editor->CanFocus()) Editor->SetFocus();
        return false;
    }
    if (Grid->OnEditingDone) Grid->OnEditingDone(Grid);
    Grid->SetCellEx(RealCol, ARow, Value);
    Editor->SetVisible(false);
    return true;
}

} // namespace

TGridTransEdit::TGridTransEdit(TComponent* AOwner, TExtStringGrid* Grid) : TEdit(AOwner), FGrid(Grid) {
    SetBorderStyle(bsNone);
    SetVisible(false);
}

bool TGridTransEdit::StopEdit() { return StopFixedCellEdit(this, FGrid, FCol, FRow); }

void TGridTransEdit::KeyPress(QChar& Key) {
    if (Key.unicode() == VK_RETURN) {
        Key = QChar();
        return;
    }
    TEdit::KeyPress(Key);
}

void TGridTransEdit::DoExit() {
    TEdit::DoExit();
    if (Visible()) StopEdit();
}

TGridTransCombo::TGridTransCombo(TComponent* AOwner, TExtStringGrid* Grid) : TComboBox(AOwner), FGrid(Grid) {
    SetVisible(false);
}

bool TGridTransCombo::StopEdit() { return StopFixedCellEdit(this, FGrid, FCol, FRow); }

void TGridTransCombo::KeyPress(QChar& Key) {
    if (Key.unicode() == VK_RETURN) {
        Key = QChar();
        return;
    }
    TComboBox::KeyPress(Key);
}

void TGridTransCombo::DoExit() {
    TComboBox::DoExit();
    if (Visible()) StopEdit();
}
