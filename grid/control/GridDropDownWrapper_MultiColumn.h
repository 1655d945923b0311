#pragma once
// The grid's multi-column drop-down editor: the multi-column drop-down under the grid's shared
// drop-down editor layer. Its own completion, key-down and key-press handling stay its own; the
// layer only takes the keys that end or leave the edit.
#include "grid/control/GridDropDownWrappers.h"
#include "grid/editors/ExtMultiColumnDropDown.h"

class TGridGridDropDown : public TGridDropDownWrapper<TExtMultiColumnDropDown> {
public:
    explicit TGridGridDropDown(TComponent* AOwner);
    // The cell's text, with the item whose lookup string it is (when there is one) selected, so
    // that the list opens on it.
    void LoadCellValue(int RealCol, int DisplRow, const QString& Text) override;
};
