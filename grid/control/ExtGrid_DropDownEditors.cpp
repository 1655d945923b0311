// The grid's side of its drop-down editors: making each on first use, opening one over a cell
// with the cell's value, handing on the component style, and the pickers' selection hooks.
#include "grid/control/ExtGrid.h"

#include "grid/control/ControlLook.h"
#include "grid/control/GridDropDownWrapper_ExtGrid.h"
#include "grid/control/GridDropDownWrapper_MultiColumn.h"
#include "grid/control/GridDropDownWrappers.h"

namespace {
// Made once per grid, hidden until it edits a cell; the grid's look and button events go with it.
template <class TWrapper>
TWrapper* MakeDropDown(TExtStringGrid* G, TWrapper*& Field) {
    if (Field) return Field;
    Field = Create<TWrapper>(G, G);
    TWrapper* D = Field;
    D->SetVisible(false);
    D->SetEnabled(false);
    D->SetComponentStyle(G->ComponentStyle());
    if (G->Tones().Background.BrushColor != clNone) D->SetColorTones(G->Tones());
    D->OnDropDownHeaderButtonClick = [G, D](TObject*, int ButtonIndex) {
        if (!G->OnDropDownHeaderButtonClick) return;
        const TGridEditorCell& C = D->Cell();
        G->OnDropDownHeaderButtonClick(G, C.RealCol, G->EditorDisplRow(C), ButtonIndex);
    };
    D->OnDropDownFooterButtonClick = [G, D](TObject*, int ButtonIndex) {
        if (!G->OnDropDownFooterButtonClick) return;
        const TGridEditorCell& C = D->Cell();
        G->OnDropDownFooterButtonClick(G, C.RealCol, G->EditorDisplRow(C), ButtonIndex);
    };
    return D;
}
} // namespace

TGridTrackbarDropDown* TExtStringGrid::TrackbarDropDown() {
    const bool New = !FEditTrackBar;
    MakeDropDown(this, FEditTrackBar);
    if (New) FEditTrackBar->SetEditorEnabled(true);
    return FEditTrackBar;
}

TGridMemoDropDown* TExtStringGrid::MemoDropDown() { return MakeDropDown(this, FEditMemo); }

TGridCalculatorDropDown* TExtStringGrid::CalculatorDropDown() { return MakeDropDown(this, FEditCalculator); }

TGridTimepickerDropDown* TExtStringGrid::TimePickerDropDown() { return MakeDropDown(this, FEditTimePicker); }

TGridDetailPickerDropDown* TExtStringGrid::DetailPickerDropDown() { return MakeDropDown(this, FEditDetailPicker); }

TGridColorDropDown* TExtStringGrid::ColorPickerDropDown() {
    const bool New = !FEditColorPicker;
    MakeDropDown(this, FEditColorPicker);
    if (New) {
        FEditColorPicker->AddDefaultColors();
        FEditColorPicker->OnSelect = [this](TObject* Sender) { DoColorSelect(Sender); };
    }
    return FEditColorPicker;
}

TGridImageDropDown* TExtStringGrid::ImagePickerDropDown() {
    const bool New = !FEditImagePicker;
    MakeDropDown(this, FEditImagePicker);
    if (New) FEditImagePicker->OnSelect = [this](TObject* Sender) { DoImageSelect(Sender); };
    return FEditImagePicker;
}

TGridGridDropDown* TExtStringGrid::GridDropDown() { return MakeDropDown(this, FEditGridDropDown); }
TGridExtGridDropDown* TExtStringGrid::ExtGridDropDown() { return MakeDropDown(this, FEditExtGrid); }

TGridDropDownLink* TExtStringGrid::DropDownEditor(TEditorType Kind) {
    switch (Kind) {
        case edTrackbarDropDown: return TrackbarDropDown();
        case edMemoDropDown: return MemoDropDown();
        case edCalculatorDropDown: return CalculatorDropDown();
        case edTimePickerDropDown: return TimePickerDropDown();
        case edDetailDropDown: return DetailPickerDropDown();
        case edColorPickerDropDown: return ColorPickerDropDown();
        case edImagePickerDropDown: return ImagePickerDropDown();
        case edGridDropDown: return GridDropDown();
        case edExtGridDropDown: return ExtGridDropDown();
        default: return nullptr;
    }
}

void TExtStringGrid::FreeDropDownEditors() {
    auto Free = [](auto*& C) {
        delete C;
        C = nullptr;
    };
    Free(FEditTrackBar);
    Free(FEditMemo);
    Free(FEditCalculator);
    Free(FEditTimePicker);
    Free(FEditDetailPicker);
    Free(FEditColorPicker);
    Free(FEditImagePicker);
    Free(FEditGridDropDown);
    Free(FEditExtGrid);
}

void TExtStringGrid::SetDropDownStyles(TExtStyle AStyle) {
    if (IsDesigning()) return;
    // Only the editors made so far: handing on a style makes none.
    if (FEditColorPicker) FEditColorPicker->SetComponentStyle(AStyle);
    if (FEditImagePicker) FEditImagePicker->SetComponentStyle(AStyle);
    if (FEditExtGrid) FEditExtGrid->SetComponentStyle(AStyle);
    if (FEditDetailPicker) FEditDetailPicker->SetComponentStyle(AStyle);
    if (FEditTimePicker) FEditTimePicker->SetComponentStyle(AStyle);
    if (FEditCalculator) FEditCalculator->SetComponentStyle(AStyle);
    if (FEditMemo) FEditMemo->SetComponentStyle(AStyle);
    if (FEditGridDropDown) FEditGridDropDown->SetComponentStyle(AStyle);
}

void TExtStringGrid::OpenDropDownEditor(TGridDropDownLink* L, int RealCol, int DisplRow, const TRect& R,
                                        const QString& Stored, const QString& Text, TColor CellColor) {
    TExtCustomDropDown* D = L->Control();
    const int W = R.Right - R.Left - 1;
    const int H = R.Bottom - R.Top - 1;
    L->Cell().Reset(RealCol, RealRowIndex(DisplRow), Stored);
    L->BeginEdit();
    // Filling the editor is no typing: no change events until it is open.
    L->Cell().Open = false;
    if (D->DroppedDown()) D->HideDropDown(true);
    D->DropDownHeader()->Assign(ControlLook()->DropDownHeader());
    D->DropDownFooter()->Assign(ControlLook()->DropDownFooter());
    D->SetComponentStyle(ComponentStyle());
    D->SetBounds(R.Left, R.Top, 0, 0);
    D->SetEnabled(true);
    D->SetBorderStyle(bsNone);
    D->SetBounds(R.Left, R.Top, W, H);
    // The two list pickers show their value on the cell's own colour, as the text editors do.
    if (dynamic_cast<TGridGridDropDown*>(L) || dynamic_cast<TGridExtGridDropDown*>(L)) D->SetColor(CellColor);
    DoGetEditorProp(RealCol, DisplRow, nullptr);
    L->LoadCellValue(RealCol, DisplRow, Text);
    L->Cell().Open = true;
    D->SetVisible(true);
    FEditorControl = D;
    if (D->CanFocus()) D->SetFocus();
}

// ---- the pickers' choice ----------------------------------------------------------------------------
void TExtStringGrid::DoColorSelect(TObject* Sender) {
    (void)Sender;
    if (!OnColorSelect || !FEditColorPicker) return;
    const TGridEditorCell& C = FEditColorPicker->Cell();
    const int RealCol = C.RealCol >= 0 ? C.RealCol : GetRealCol();
    const int DisplRow = C.RealCol >= 0 ? EditorDisplRow(C) : Row();
    OnColorSelect(this, RealCol, DisplRow, FEditColorPicker->SelectedColor(), FEditColorPicker->SelectedColorText());
}

void TExtStringGrid::DoImageSelect(TObject* Sender) {
    (void)Sender;
    if (!OnImageSelect || !FEditImagePicker) return;
    const TGridEditorCell& C = FEditImagePicker->Cell();
    const int RealCol = C.RealCol >= 0 ? C.RealCol : GetRealCol();
    const int DisplRow = C.RealCol >= 0 ? EditorDisplRow(C) : Row();
    OnImageSelect(this, RealCol, DisplRow, FEditImagePicker->ItemIndex());
}
