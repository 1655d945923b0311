// Cell check boxes, kept in the cells' graphic records (plain boxes hold their state there, data
// boxes in the cell text), and the in-place combo's item list.
#include "grid/control/ExtGrid.h"

#include "grid/control/ExtGrid_Editors.h"
#include "platform/rtl/SysUtils.h"

void TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
    for (int r = FixedRows(); r < RowCount(); ++r) AddCheckBox(ACol, r, DefaultState, DataCheckBox);
}

void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw Exception(QStringLiteral("Invalid cell"));
    // The box lives in the cell's graphic record, which moves with its row; an object the cell
    // held before is replaced.
    if (auto* Old = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow))) {
        SetGraphicObjectEx(ACol, ARow, nullptr);
        delete Old;
    }
    auto* Box = new TCellGraphic;
    const TCellVAlign VA = VAlignment() == vtaCenter ? vaCenter : VAlignment() == vtaBottom ? vaBottom : vaTop;
    Box->SetCheckBox(State, Data, ControlLook()->ControlStyle() == csFlat, haBeforeText, VA);
    if (Data) {
        QString True, False;
        GetCheckTrue(ACol, ARow, True);
        GetCheckFalse(ACol, ARow, False);
        const QString Text = GetCellEx(ACol, ARow);
        if (Text != True && Text != False) SetCellEx(ACol, ARow, State ? True : False);
    }
    SetGraphicObjectEx(ACol, ARow, Box);
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
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    // A descendant may report a data check box by its type alone.
    const TCellType Kind = CG ? CG->CellType() : GetCellType(ACol, ARow);
    switch (Kind) {
        case ctCheckBox:
            if (!CG) return false;
            State = CG->CellBoolean();
            return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            // Data check boxes keep their state as the cell text.
            QString True;
            GetCheckTrue(ACol, ARow, True);
            State = GetCellEx(ACol, ARow) == True;
            return true;
        }
        case ctRowCheckBox:
            if (ACol != 0) return false;
            State = GetRowSelect(ARow);
            return true;
        default: return false;
    }
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State) {
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    const TCellType Kind = CG ? CG->CellType() : GetCellType(ACol, ARow);
    switch (Kind) {
        case ctCheckBox:
            if (!CG) return false;
            CG->SetCellBoolean(State);
            Invalidate();
            return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            QString Text;
            if (State)
                GetCheckTrue(ACol, ARow, Text);
            else
                GetCheckFalse(ACol, ARow, Text);
            SetCellEx(ACol, ARow, Text);
            return true;
        }
        case ctRowCheckBox:
            if (ACol != 0) return false;
            SetRowSelect(ARow, State);
            return true;
        default: return false;
    }
}

bool TExtStringGrid::IsChecked(int ACol, int ARow) {
    bool State = false;
    return GetCheckBoxState(ACol, ARow, State) && State;
}

TStrings* TExtStringGrid::ComboStrings() { return EditCombo->Items(); }
