#pragma once
// The grid's grid-picker editor: the grid drop-down bound to the grid by the shared drop-down
// editor layer. Its Grid is its own popup grid, not the grid it edits for.
#include "grid/control/GridDropDownWrappers.h"
#include "grid/editors/ExtGridDropDown.h"

class TGridExtGridDropDown : public TGridDropDownWrapper<TCustomExtGridDropDown> {
public:
    explicit TGridExtGridDropDown(TComponent* AOwner);
    // The popup grid.
    TExtStringGrid* Grid() const { return GetGrid(); }
    // The text, then the item (item mode) or data row (grid mode) whose lookup text it is.
    void LoadCellValue(int RealCol, int DisplRow, const QString& Text) override;

protected:
    // Focus going into its own popup grid is no leaving of the editor.
    void DoExit() override;
};
