// Cell objects: the check boxes a cell carries as its graphic record, and the in-place combo's
// item list. A plain check box keeps its state in the record; a data check box (and the column
// grid's virtual one) keeps it as the cell text, the grid's CheckTrue or CheckFalse.
#include "grid/control/ExtGrid.h"

#include "grid/control/ExtGrid_Editors.h"

namespace {
bool Is_Shared_Record(TCellType Kind) { return Kind == ctVirtCheckBox || Kind == ctRowCheckBox; }

TCellVAlign Graphic_VAlign(TVAlignment VA) { return VA == vtaCenter ? vaCenter : VA == vtaBottom ? vaBottom : vaTop; }
} // namespace

TCellGraphic* TExtStringGrid::NewCellGraphic(int ACol, int ARow) {
    // The record the cell owns is freed first; the shared records the grid reports for a cell
    // (virtual and row check boxes) live in no cell and are never freed here.
    TObject* Old = GetGraphicObjectEx(ACol, ARow);
    auto* OldGraphic = dynamic_cast<TCellGraphic*>(Old);
    if (Old) SetGraphicObjectEx(ACol, ARow, nullptr);
    if (OldGraphic && !Is_Shared_Record(OldGraphic->CellType()) && IsCellGraphicObject(Old)) delete OldGraphic;
    auto* Graphic = new TCellGraphic();
    SetGraphicObjectEx(ACol, ARow, Graphic);
    if (NumHiddenColumns() > 0 && DisplColIndex(ACol) != ACol) RepaintCell(DisplColIndex(ACol), ARow);
    return Graphic;
}

void TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
    const int First = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (int r = First; r < RowCount(); ++r) AddCheckBox(ACol, r, DefaultState, DataCheckBox);
}

void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw Exception(QStringLiteral("Invalid cell"));
    TCellGraphic* Graphic = NewCellGraphic(ACol, ARow);
    Graphic->SetCheckBox(State, Data, true, haBeforeText, Graphic_VAlign(VAlignment()));
    if (Data) {
        const QString Text = GetCellEx(ACol, ARow);
        if (Text != CheckTrue() && Text != CheckFalse()) SetCellEx(ACol, ARow, State ? CheckTrue() : CheckFalse());
    }
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TExtStringGrid::HasCheckBox(int ACol, int ARow) {
    switch (GetCellType(ACol, ARow)) {
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox: return true;
        default: return false;
    }
}

// The kind comes from GetCellType, so the column grid's data check-box columns (which report a
// data box without a record of the cell's own) take part; only a plain box reads its record.
bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State) {
    switch (GetCellType(ACol, ARow)) {
        case ctCheckBox:
            if (auto* Graphic = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow))) {
                State = Graphic->CellBoolean();
                return true;
            }
            return false;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            QString True;
            GetCheckTrue(ACol, ARow, True);
            State = GetCellEx(ACol, ARow) == True;
            return true;
        }
        case ctRowCheckBox: State = GetRowSelect(ARow); return true;
        default: return false;
    }
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State) {
    switch (GetCellType(ACol, ARow)) {
        case ctCheckBox:
            if (auto* Graphic = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow))) {
                Graphic->SetCellBoolean(State);
                RepaintCell(DisplColIndex(ACol), ARow);
                return true;
            }
            return false;
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
        case ctRowCheckBox: SetRowSelect(ARow, State); return true;
        default: return false;
    }
}

bool TExtStringGrid::IsChecked(int ACol, int ARow) {
    bool State = false;
    return GetCheckBoxState(ACol, ARow, State) && State;
}

TStrings* TExtStringGrid::ComboStrings() { return EditCombo->Items(); }
