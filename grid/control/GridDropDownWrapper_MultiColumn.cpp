// The grid's multi-column drop-down editor.
#include "grid/control/GridDropDownWrapper_MultiColumn.h"

TGridGridDropDown::TGridGridDropDown(TComponent* AOwner) : TGridDropDownWrapper<TExtMultiColumnDropDown>(AOwner) {}

void TGridGridDropDown::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    (void)RealCol, (void)DisplRow;
    const int I = GetItemIndex(Text);
    if (I >= 0) {
        SetItemIndex(I);
        return;
    }
    // A text no item has stays as the cell holds it, with no item chosen.
    SetItemIndex(-1);
    SetEditText(Text);
}
