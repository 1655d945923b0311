// Cell check boxes and the in-place combo's item list: the least the table windows need, kept
// with the grid until the cell graphics take the check boxes over.
#include "grid/control/ExtGrid.h"

#include "grid/control/ExtGrid_Editors.h"

void TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
    for (int r = FixedRows(); r < RowCount(); ++r) AddCheckBox(ACol, r, DefaultState, DataCheckBox);
}

void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
    (void)Data;
    FCheckBoxStates[{ACol, ARow}] = State;
    Invalidate();
}

bool TExtStringGrid::HasCheckBox(int ACol, int ARow) {
    switch (GetCellType(ACol, ARow)) {
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox: return true;
        default: return false;
    }
}

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State) {
    const auto It = FCheckBoxStates.find({ACol, ARow});
    if (It != FCheckBoxStates.end()) {
        State = It->second;
        return true;
    }
    if (!HasCheckBox(ACol, ARow)) return false;
    // Data check boxes keep their state as the cell text.
    QString True;
    GetCheckTrue(ACol, ARow, True);
    State = GetCellEx(ACol, ARow) == True;
    return true;
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State) {
    const auto It = FCheckBoxStates.find({ACol, ARow});
    if (It != FCheckBoxStates.end()) {
        It->second = State;
        Invalidate();
        return true;
    }
    if (!HasCheckBox(ACol, ARow)) return false;
    QString Text;
    if (State)
        GetCheckTrue(ACol, ARow, Text);
    else
        GetCheckFalse(ACol, ARow, Text);
    SetCellEx(ACol, ARow, Text);
    return true;
}

bool TExtStringGrid::IsChecked(int ACol, int ARow) {
    bool State = false;
    return GetCheckBoxState(ACol, ARow, State) && State;
}

TStrings* TExtStringGrid::ComboStrings() { return EditCombo->Items(); }
