#pragma once
// The grid's auxiliary editors: TControlEdit and TControlCombo, placed over a form control that
// a cell's HTML text embeds, and TGridTransEdit and TGridTransCombo, the editors of editable
// fixed cells. Each grid owns one of each, created hidden.
#include "platform/gui/StdCtrls.h"

#include <type_traits>

class TExtStringGrid;

// The editors of the form controls a cell's HTML text embeds. Enter and Tab end the control's
// edit through its exit handling (OnExit), dropping the key: Enter gives the focus back to the
// grid; Tab moves the grid on to the next cell (Navigation.AdvanceAuto) or edits the next
// control of the same cell. The edit box acts on them only while it lies on its grid, and
// leaves Enter out of the keys it claims from the dialog handling.
template <class TBase>
class TCellControlEditor : public TBase {
public:
    TCellControlEditor(TComponent* AOwner, TExtStringGrid* Grid);
    TExtStringGrid* Grid() const { return FGrid; }
    void WndProc(TMessage& Message) override;

protected:
    void KeyPress(QChar& Key) override;

private:
    static constexpr bool IsEdit = std::is_base_of_v<TCustomEdit, TBase>;
    TExtStringGrid* FGrid;
};

extern template class TCellControlEditor<TMaskEdit>;
extern template class TCellControlEditor<TComboBox>;

class TControlEdit : public TCellControlEditor<TMaskEdit> {
public:
    TControlEdit(TComponent* AOwner, TExtStringGrid* Grid);
};

class TControlCombo : public TCellControlEditor<TComboBox> {
public:
    using TCellControlEditor<TComboBox>::TCellControlEditor;
};

// The fixed-cell editors: an edit and a combo box with one key and stop step. FCol (real
// column) and FRow name the cell being edited.
template <class TBase>
class TFixedCellEditor : public TBase {
public:
    TFixedCellEditor(TComponent* AOwner, TExtStringGrid* Grid);
    // The text offered to OnCellValidate; a refusal moves the current cell to the edited cell,
    // keeps the editor open and focused and answers false. Otherwise OnEditingDone fires, the
    // (possibly changed) text is stored and the editor hides. Without a grid it just hides.
    bool StopEdit();
    TExtStringGrid* FGrid;
    int FRow = -1;
    int FCol = -1;

protected:
    // Enter is dropped: the edit ends when the editor is left.
    void KeyPress(QChar& Key) override;
    void DoExit() override;
};

extern template class TFixedCellEditor<TEdit>;
extern template class TFixedCellEditor<TComboBox>;

class TGridTransEdit : public TFixedCellEditor<TEdit> {
public:
    TGridTransEdit(TComponent* AOwner, TExtStringGrid* Grid);
};

class TGridTransCombo : public TFixedCellEditor<TComboBox> {
public:
    using TFixedCellEditor<TComboBox>::TFixedCellEditor;
};
