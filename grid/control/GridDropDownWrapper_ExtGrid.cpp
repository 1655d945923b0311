// The grid-picker editor: the cell's value in, and the edit kept open while its popup has the
// focus.
#include "grid/control/GridDropDownWrapper_ExtGrid.h"

#include "grid/control/ExtGrid.h"

TGridExtGridDropDown::TGridExtGridDropDown(TComponent* AOwner) : TGridDropDownWrapper<TCustomExtGridDropDown>(AOwner) {}

void TGridExtGridDropDown::LoadCellValue(int RealCol, int DisplRow, const QString& Text) {
    if (TExtStringGrid* G = GetGrid()) G->SetFixedRowAlways(true);
    // Items the program added since its last update bracket are completed from here on.
    BeginUpdate();
    EndUpdate();
    // The choice of the cell edited before does not carry over.
    SetItemIndex(-1);
    TGridDropDownLink::LoadCellValue(RealCol, DisplRow, Text);
    if (Text.isEmpty() || LookupColumn() < 0) return;
    int Index = -1;
    if (UseItems()) {
        for (int I = 0; I < Items()->Count() && Index < 0; ++I) {
            TStringList* T = Items()->Items(I)->Text();
            if (LookupColumn() < T->Count() && T->Strings(LookupColumn()) == Text) Index = I;
        }
    } else if (TExtStringGrid* G = GetGrid()) {
        for (int R = G->FixedRows(); R < G->RowCount() && Index < 0; ++R)
            if (G->GetGridCell(LookupColumn(), R) == Text) Index = R - G->FixedRows();
    }
    if (Index < 0) return;
    SetItemIndex(Index);
    PutText(Text);
}

void TGridExtGridDropDown::DoExit() {
    if (DroppedDown()) {
        TCustomExtGridDropDown::DoExit();
        return;
    }
    TGridDropDownWrapper<TCustomExtGridDropDown>::DoExit();
}
