// The string grid's event dispatchers and the virtual operations that exist for descendants:
// each fires its event when one is assigned; a hook does nothing here.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Messages.h"

#include <algorithm>

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
    // The handler gets a copy of the editor kind: the caller keeps its own; the items it puts
    // into Values do count.
    TGridFixedCellEditor Kind = AEditor;
    if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, Kind, Values);
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

void TExtStringGrid::DoCellChanging(int ACol, int ARow, bool& Allow) {
    int OldRow = Row(), OldCol = Col();
    if (ARow != OldRow && OnRowChanging) OnRowChanging(this, OldRow, ARow, Allow);
    if (ACol != OldCol && OnColChanging) OnColChanging(this, OldCol, ACol, Allow);
    if ((ARow != OldRow || ACol != OldCol) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, OldRow, OldCol, ARow, ACol, Allow);
}

void TExtStringGrid::DoScrollCell(int ACol, int ARow) {
    if (OnScrollCell) OnScrollCell(this, ACol, ARow, FScrollPos, FScrollMin, FScrollMax);
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

// ---- saved texts ---------------------------------------------------------------------------------------
void TExtStringGrid::RestoreCellCache() {
    if (!FOldCellCacheValid) return;
    // The cell the edit began in, even when the current cell has moved since.
    if (FEditRealCol >= 0 && FEditRow >= 0) {
        if (FEditRow < RowCount() && FEditRealCol < TotalColCount()) SetGridCell(FEditRealCol, FEditRow, FOldCellCache);
        return;
    }
    if (Col() >= 0 && Row() >= 0) SetGridCell(GetRealCol(), Row(), FOldCellCache);
}

QString TExtStringGrid::GetSaveCellText(int ACol, int ARow, const QString& Text) {
    QString Value = Text;
    if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
    return Value;
}

QString TExtStringGrid::GetCellForSave(int ACol, int ARow) {
    QString T = SaveVirtCells() ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
    if (T.isEmpty()) {
        if (auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow))) {
            bool Checked = false;
            bool IsBox = true;
            if (CG->CellType() == ctCheckBox)
                Checked = CG->CellBoolean();
            else if (CG->CellType() == ctTriStateCheckBox)
                Checked = CG->CellCheckBoxState() == cbChecked;
            else
                IsBox = false;
            if (IsBox) {
                if (Checked)
                    GetCheckTrue(ACol, ARow, T);
                else
                    GetCheckFalse(ACol, ARow, T);
            }
        }
    }
    switch (ClassifyCellText(T, true)) {
        case 1:
            if (!SaveWithHTML()) T = StripHTMLTags(T);
            break;
        case 2:
            if (SaveWithRTF()) {
                T.remove(QLatin1Char('\r'));
                T.remove(QLatin1Char('\n'));
            } else {
                T = RichTextToPlain(T);
            }
            break;
        default: break;
    }
    return GetSaveCellText(ACol, ARow, T);
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

// ---- the current cell's text --------------------------------------------------------------------------
void TExtStringGrid::StoreEditText(int RealCol, int DisplRow, const QString& Value) {
    // The grid's own edit-text step maps the display column back to its real column, so the
    // cell of a hidden column never receives another column's text.
    SetEditText(DisplColIndex(RealCol), DisplRow, Value);
    SetCellEx(RealCol, DisplRow, Value);
    // The stored value is the edit's outcome: nothing typed is left to put back.
    if (RealCol == FTypedCol && DisplRow == FTypedRow) FTypedWritten = false;
}

QString TExtStringGrid::GetCurrentCell() {
    if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount()) return QString();
    const TPoint B = BaseCell(GetRealCol(), Row());
    return GetGridCell(B.X, B.Y);
}

void TExtStringGrid::SetCurrentCell(const QString& Value) {
    if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount()) return;
    const TPoint B = BaseCell(GetRealCol(), Row());
    SetGridCell(B.X, B.Y, Value);
}

QString TExtStringGrid::GetCurrentCellDisplay() {
    if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount()) return QString();
    const TPoint B = BaseCell(GetRealCol(), Row());
    QString S = GetGridCell(B.X, B.Y);
    GetDisplText(B.X, B.Y, S);
    return S;
}

void TExtStringGrid::SetCurrentEditText(const QString& Value) {
    if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount()) return;
    const TPoint B = BaseCell(GetRealCol(), Row());
    StoreEditText(B.X, B.Y, Value);
}

void TExtStringGrid::MarkRowsModified(int FromDisplRow, int ToDisplRow) {
    if (!ShowModified()->Enabled()) return;
    for (int r = std::max(FromDisplRow, 0); r <= ToDisplRow && r < RowCount(); ++r) SetRowModified(r, true);
}

TObject* TExtStringGrid::GetCellImageList(int ACol, int ARow) {
    (void)ACol;
    (void)ARow;
    return GridImages();
}

// ---- the rest of the table ----------------------------------------------------------------------------
void TExtStringGrid::CellTextChanging(int ACol, int ARow, const QString& Value) { SetCellEx(ACol, ARow, Value); }

void TExtStringGrid::InsertRowAt(int ARow) { InsertRows(ARow, 1, true); }

void TExtStringGrid::RemoveRowAt(int ARow) {
    // The last data row of a grid that may lose it is emptied rather than removed, so the grid
    // keeps a row to type in.
    if (RowCount() - FixedRows() - FixedFooters() == 1 && !FixedRowAlways())
        ClearRows(ARow, 1);
    else
        RemoveRows(ARow, 1);
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

bool TExtStringGrid::FilterRowMatches(int ARow) { return MatchFilter(ARow); }

void TExtStringGrid::RecalcFooterColumn(int ACol) { CalcFooter(ACol); }

void TExtStringGrid::DoRemoveRows(int ARow, int RCount) { RemoveRowsEx(ARow, RCount); }

void TExtStringGrid::UpdateHiddenLastRow() {
    TBaseGrid::UpdateHiddenLastRow();
    InvalidateFooterPanel();
}
