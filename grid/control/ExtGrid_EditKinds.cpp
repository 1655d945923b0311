// The grid's own editor controls as the editing switch sees them: one adapter per control,
// registered for the kinds that control edits. The control opens over the cell the switch noted,
// writes its own value (validated first, into the cell it was opened for) when the switch commits
// it, and brings back the opening value when the switch cancels it.
#include "grid/control/ExtGrid.h"

#include "grid/control/ExtGrid_Editors.h"

namespace {

class TControlCellEditor : public TGridCellEditor {
public:
    explicit TControlCellEditor(TExtStringGrid* Grid) : FGrid(Grid) {}
    TWinControl* Control() override { return FGrid->EditorControl(); }
    void Open(TEditorType Kind, const TRect& R, TColor Color, const QString& Text) override {
        (void)R, (void)Color, (void)Text;
        FGrid->OpenEditorControl(Kind, FGrid->DisplColIndex(FGrid->EditRealCol()), FGrid->EditRow());
    }
    QString Text() override { return FGrid->EditorControlText(); }
    void SetText(const QString& Value) override { FGrid->SetEditorControlText(Value); }
    // The control writes its own value, validated, into its own cell; the switch writes nothing.
    bool StoreText(TEditorType Kind, QString& Value) override {
        (void)Kind, (void)Value;
        FGrid->CommitEditorControl();
        return false;
    }
    // After a commit nothing is open any more; otherwise the edit was cancelled.
    void Close() override { FGrid->CancelEditorControl(); }
    // The control asks for the cell's editor properties and takes the start key itself.
    bool TakesEditorProp(TEditorType Kind) const override {
        (void)Kind;
        return false;
    }
    bool TakesStartKey(TEditorType Kind) const override {
        (void)Kind;
        return false;
    }

private:
    TExtStringGrid* FGrid;
};

TGridCellEditorFactory ControlFactory() {
    return [](TExtStringGrid* Grid) { return std::unique_ptr<TGridCellEditor>(new TControlCellEditor(Grid)); };
}

} // namespace

void RegisterGridEditorControls() {
    RegisterGridCellEditor({edComboEdit, edComboList}, ControlFactory());
    RegisterGridCellEditor({edCheckBox}, ControlFactory());
    RegisterGridCellEditor({edSpinEdit, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit}, ControlFactory());
    RegisterGridCellEditor({edDateEdit, edDateEditUpDown, edTimeEdit}, ControlFactory());
    RegisterGridCellEditor({edDateTimeEdit}, ControlFactory());
    RegisterGridCellEditor({edEditBtn, edNumericEditBtn, edFloatEditBtn, edMaskEditBtn}, ControlFactory());
    RegisterGridCellEditor({edUnitEditBtn, edNumericUnitEditBtn, edFloatUnitEditBtn}, ControlFactory());
    RegisterGridCellEditor({edButton}, ControlFactory());
    // Each drop-down kind has an editor of its own.
    for (TEditorType Kind :
         {edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown,
          edColorPickerDropDown, edImagePickerDropDown, edGridDropDown, edExtGridDropDown})
        RegisterGridCellEditor({Kind}, ControlFactory());
}
