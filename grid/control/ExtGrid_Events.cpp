// The string grid's event dispatchers and the virtual operations that exist for descendants:
// each fires its event when one is assigned; a hook does nothing here.
#include "grid/control/ExtGrid.h"

#include "platform/gui/Messages.h"

// ---- dispatchers ----------------------------------------------------------------------------------
void TExtStringGrid::DoClickSort(int ACol) {
    if (OnClickSort) OnClickSort(this, ACol);
}

void TExtStringGrid::KeyDownHook(Word& Key, TShiftState Shift) {
    (void)Key;
    (void)Shift;
}

void TExtStringGrid::KeyValueHook(Word& Key) { (void)Key; }

void TExtStringGrid::DoPrintGetPageNum(int PageNum, int PageColNum, QString& PageNumString) {
    if (OnPrintGetPageNum) OnPrintGetPageNum(this, PageNum, PageColNum, PageNumString);
}

void TExtStringGrid::DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink) {
    if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
}

void TExtStringGrid::DoCheckBoxClick(int ACol, int ARow, bool State) {
    if (OnCheckBoxClick) OnCheckBoxClick(this, ACol, ARow, State);
}

void TExtStringGrid::DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, TStrings* Values) {
    TGridFixedCellEditor Kind = AEditor;
    if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, Kind, Values);
    AEditor = Kind;
}

void TExtStringGrid::DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
    if (Look() == glVista || Look() == glWin7 || Look() == glOffice2007) InvalidateRect(Selection());
    FSelectionChanged = true;
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TExtStringGrid::EditTextChangeHook() {}

void TExtStringGrid::DoFilterDone() {
    if (OnFilterDone) OnFilterDone(this);
}

void TExtStringGrid::DoUpdateColumnSize(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TExtStringGrid::DoAutoSizeColumn(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

QString TExtStringGrid::DoEllipsClick(const QString& Text) {
    QString S = Text;
    if (OnEllipsClick) OnEllipsClick(this, GetRealCol(), Row(), S);
    return S;
}

void TExtStringGrid::BeforePasteHook() {}
void TExtStringGrid::AfterPasteHook() {}

void TExtStringGrid::DoCanAddRow(bool& CanAdd) {
    if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void TExtStringGrid::DoCanInsertRow(int ARow, bool& CanInsert) {
    if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}

void TExtStringGrid::MessageHook(TMessage& Message) { (void)Message; }

void TExtStringGrid::EditKeyUpHook() {}
void TExtStringGrid::EditFocusHook() {}

void TExtStringGrid::EditingOff() { SetOptions(Options() >> goEditing); }

void TExtStringGrid::EditKeyDownHook(Word& Key, TShiftState Shift) {
    (void)Key;
    (void)Shift;
}

void TExtStringGrid::EditKeyPressHook(QChar& Key) { (void)Key; }

bool TExtStringGrid::AllowFormattedClipboard() { return Navigation()->AllowFmtClipboard(); }

void TExtStringGrid::DoCheckBoxChange(int ACol, int ARow, bool State) {
    if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

bool TExtStringGrid::DoRatingChange(int ACol, int ARow, double& NewRate) {
    bool Allow = true;
    if (OnRatingChange) OnRatingChange(this, ACol, ARow, NewRate, Allow);
    return Allow;
}

void TExtStringGrid::DoColorSelect(int ACol, int ARow, TColor& Color) {
    if (OnColorSelect) OnColorSelect(this, ACol, ARow, Color);
}

void TExtStringGrid::DoImageSelect(int ACol, int ARow, int& Index) {
    if (OnImageSelect) OnImageSelect(this, ACol, ARow, Index);
}

void TExtStringGrid::DoCellChanging(int ACol, int ARow, bool& Allow) {
    int OldRow = Row(), OldCol = Col();
    if (ARow != OldRow && OnRowChanging) OnRowChanging(this, OldRow, ARow, Allow);
    if (ACol != OldCol && OnColChanging) OnColChanging(this, OldCol, ACol, Allow);
    if ((ARow != OldRow || ACol != OldCol) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, OldRow, OldCol, ARow, ACol, Allow);
}

void TExtStringGrid::DoScrollCell(int ACol, int ARow) {
    (void)ACol;
    (void)ARow;
    if (OnScrollCell) OnScrollCell(this, FScrollCol, FScrollRow, FScrollPos, FScrollMin, FScrollMax);
}

bool TExtStringGrid::CanShowFixedDropDown(int ACol) {
    bool CanShow = true;
    if (OnCanShowFixedDropDown) OnCanShowFixedDropDown(this, ACol, CanShow);
    return CanShow;
}

void TExtStringGrid::DoStartBlockFocus() {
    if (OnStartBlockFocus) OnStartBlockFocus(this);
}

void TExtStringGrid::DoEndBlockFocus() {
    if (OnEndBlockFocus) OnEndBlockFocus(this);
}

void TExtStringGrid::ExportNotification(int AState, int ARow) {
    (void)AState;
    (void)ARow;
}

void TExtStringGrid::ImportNotification(int AState, int ARow) {
    (void)AState;
    (void)ARow;
}

// ---- cell objects and saved texts -------------------------------------------------------------------
// Cell objects (check boxes, radios, buttons ...) are held by the cell's graphic slot; without one
// a cell is a plain text cell.
TCellType TExtStringGrid::GetCellType(int ACol, int ARow) {
    (void)ACol;
    (void)ARow;
    return ctEmpty;
}

TObject* TExtStringGrid::GetCellGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return nullptr;
    return GetGraphicObjectEx(ACol, ARow);
}

void TExtStringGrid::RestoreCellCache() {
    if (FOldCellCacheValid && Col() >= 0 && Row() >= 0) SetGridCell(GetRealCol(), Row(), FOldCellCache);
}

QString TExtStringGrid::GetSaveCellText(int ACol, int ARow, const QString& Text) {
    QString Value = Text;
    if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
    return Value;
}

QString TExtStringGrid::GetCellForSave(int ACol, int ARow) {
    return GetSaveCellText(ACol, ARow, GetGridCell(ACol, ARow));
}

void TExtStringGrid::SetCellFromLoad(int ACol, int ARow, const QString& Value) {
    QString V = Value;
    if (OnLoadCell) OnLoadCell(this, ACol, ARow, V);
    SetGridCell(ACol, ARow, V);
}

void TExtStringGrid::GotoFirstRow() {
    if (RowCount() > FixedRows()) SetRow(FixedRows());
}

void TExtStringGrid::CellsChanged(const TRect& R) {
    if (OnCellsChanged) OnCellsChanged(this, R);
    for (TGridChangeNotifier* N : FNotifiers) N->CellsChanged(R);
    RecalcFooters();
}
