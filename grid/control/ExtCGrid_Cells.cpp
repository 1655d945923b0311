// Unit ExtCGrid: the per-cell questions the column grid answers from the item of the cell's column
// before the string grid's own rules and events. Columns are real columns unless named otherwise.
#include "grid/control/ExtCGrid.h"

#include "grid/control/ExtGrid_Editors.h"
#include "platform/gui/Menus.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

bool TExtColumnGrid::IsNormalCell(int ACol, int ARow) const {
    return ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() && ARow >= FixedRows() &&
        ARow < RowCount() - FixedFooters();
}

TCellType TExtColumnGrid::GetCellType(int ACol, int ARow) {
    TCellType T = TExtStringGrid::GetCellType(ACol, ARow);
    if (IsDestroying() || !FColumnCollection) return T;
    TGridColumnItem* It = ItemOf(ACol);
    if (It && T == ctEmpty && IsNormalCell(ACol, ARow) && It->Editor() == edDataCheckBox) return ctDataCheckBox;
    return T;
}

TObject* TExtColumnGrid::GetCellGraphic(int ACol, int ARow) {
    TObject* G = TExtStringGrid::GetCellGraphic(ACol, ARow);
    if (G || IsDestroying() || !FColumnCollection) return G;
    TGridColumnItem* It = ItemOf(ACol);
    if (It && IsNormalCell(ACol, ARow) && It->Editor() == edDataCheckBox) {
        FCellGraphic->SetCellType(ctVirtCheckBox);
        FCellGraphic->SetCellTransparent(ControlLook()->ControlStyle() == csFlat);
        return FCellGraphic.get();
    }
    return G;
}

QString TExtColumnGrid::GetFloatFormat(int RealCol, int DisplRow) {
    QString F = TExtStringGrid::GetFloatFormat(RealCol, DisplRow);
    if (TGridColumnItem* It = ItemOf(RealCol); It && !It->FloatFormat().isEmpty()) F = It->FloatFormat();
    return F;
}

QString TExtColumnGrid::GetFormattedCell(int ACol, int ARow) {
    TGridColumnItem* It = ItemOf(ACol);
    const QString S = GetCellEx(ACol, ARow);
    if (!It) return S;
    QString Fmt = It->FloatFormat();
    if (Fmt.isEmpty() && !OnGetFloatFormat) return S;
    // Integers and plain decimals only: exponent forms and other texts are shown as stored.
    static const QRegularExpression Number(QStringLiteral("^\\s*[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)\\s*$"));
    bool IsFloat = Number.match(S).hasMatch();
    if (OnGetFloatFormat) OnGetFloatFormat(this, ACol, ARow, IsFloat, Fmt);
    if (Fmt.isEmpty() || !IsFloat) return S;
    // A format that does not take a floating-point number shows the text as it stands: the cell
    // is painted and measured through here, where an error would come back on every repaint.
    try {
        return Format(Fmt, {GetFloats(ACol, ARow)});
    } catch (const std::exception&) {
        return S;
    }
}

// Sizing passes display columns: the limits are those of the column shown there.
void TExtColumnGrid::DoUpdateColumnSize(int ACol, int& AWidth) {
    if (TGridColumnItem* It = ItemOf(RealColIndex(ACol))) {
        if (It->MinSize() > 0 && AWidth < It->MinSize()) AWidth = It->MinSize();
        if (It->MaxSize() > 0 && AWidth > It->MaxSize()) AWidth = It->MaxSize();
    }
    TExtStringGrid::DoUpdateColumnSize(ACol, AWidth);
}

void TExtColumnGrid::DoAutoSizeColumn(int ACol, int& AWidth) {
    if (TGridColumnItem* It = ItemOf(RealColIndex(ACol))) {
        if (It->AutoMinSize() > 0 && AWidth < It->AutoMinSize()) AWidth = It->AutoMinSize();
        if (It->AutoMaxSize() > 0 && AWidth > It->AutoMaxSize()) AWidth = It->AutoMaxSize();
    }
    TExtStringGrid::DoAutoSizeColumn(ACol, AWidth);
}

void TExtColumnGrid::GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
                                     TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD) {
    TGridColumnItem* It = ItemOf(ACol);
    if (!It) {
        TExtStringGrid::GetCellDefaults(ACol, ARow, AFont, ABrush, ColorTo, MirrorColor, MirrorColorTo, HA, VA, WW, GD);
        return;
    }
    AFont->Assign(It->Font());
    ABrush->SetColor(It->Color());
    ColorTo = clNone;
    HA = ARow < FixedRows() ? It->HeaderAlignment() : It->Alignment();
    VA = VAlignment();
    WW = WordWrap();
    GD = TCellGradientDirection(0);
    bool Fixed = false;
    GetFixedCell(DisplColIndex(ACol), ARow, Fixed);
    if (Fixed || (Bands()->Active() && It->ShowBands())) {
        ABrush->SetColor(clNone);
        ColorTo = clNone;
    }
}

void TExtColumnGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    TGridColumnItem* It = ItemOf(ACol);
    if (It && ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() &&
        ARow < RowCount() - FixedFooters()) {
        if (It->Fixed())
            ABrush->SetColor(FixedColor());
        else if (ARow >= FixedRows() && !(It->ShowBands() && Bands()->Active()))
            ABrush->SetColor(It->Color());
        AFont->Assign(ARow < FixedRows() ? It->HeaderFont() : It->Font());
        if (HasCellProperties(ACol, ARow)) {
            TCellProperties* P = GetCellProperties(ACol, ARow);
            if (P->BrushColor() != clNone) ABrush->SetColor(P->BrushColor());
            if (P->FontColor() != clNone) AFont->SetColor(P->FontColor());
        }
    }
    TExtStringGrid::GetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    if (TGridColumnItem* It = ItemOf(ACol)) {
        const bool FixedCell = ACol < FixedCols() || ARow < FixedRows() ||
            ACol >= ColCount() + NumHiddenColumns() - FixedRightCols() || ARow >= RowCount() - FixedFooters();
        // Fixed cells and columns without their own print font keep the font the printer
        // prepared from the print settings.
        if (!FixedCell) {
            if (It->Fixed())
                ABrush->SetColor(FixedColor());
            else if (!(It->ShowBands() && Bands()->Active() && BandsPrinted()))
                ABrush->SetColor(It->PrintColor());
            TCellProperties* P = HasCellProperties(ACol, ARow) ? GetCellProperties(ACol, ARow) : nullptr;
            if (P && P->BrushColor() != clNone) ABrush->SetColor(P->BrushColor());
            if (It->PrintFontCustom()) {
                AFont->Assign(It->PrintFont());
                if (P) {
                    if (P->FontColor() != clNone) AFont->SetColor(P->FontColor());
                    if (!P->FontStyle().Empty()) AFont->SetStyle(P->FontStyle());
                    if (P->FontSize() != 0) AFont->SetSize(P->FontSize());
                    if (!P->FontName().isEmpty()) AFont->SetName(P->FontName());
                }
            }
        }
    }
    TExtStringGrid::GetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (TGridColumnItem* It = ItemOf(ACol); It && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = It->Borders();
        APen->Assign(It->BorderPen());
    }
    TExtStringGrid::GetCellBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (TGridColumnItem* It = ItemOf(ACol);
        It && ACol >= FixedCols() && ARow >= FixedRows() && It->PrintBorderCustom()) {
        Borders = It->PrintBorders();
        APen->Assign(It->PrintBorderPen());
    }
    TExtStringGrid::GetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
    if (TGridColumnItem* It = ItemOf(ACol)) {
        HAlign = ARow < FixedRows() ? It->HeaderAlignment() : It->Alignment();
        if (HasCellProperties(ACol, ARow)) HAlign = GetCellProperties(ACol, ARow)->Alignment();
    }
    TExtStringGrid::GetCellAlignment(ACol, ARow, HAlign, VAlign);
}

void TExtColumnGrid::GetColumnFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) {
    if (TGridColumnItem* It = ItemOf(ACol)) {
        AStyle = It->SortStyle();
        aPrefix = It->SortPrefix();
        aSuffix = It->SortSuffix();
    }
    TExtStringGrid::GetColumnFormat(ACol, AStyle, aPrefix, aSuffix);
}

// The shared combo and spin editors take the column's list and bounds before they open.
bool TExtColumnGrid::LoadColumnEditor(int ACol, int ARow, TEditorType& AEditor) {
    TGridColumnItem* It = ItemOf(ACol);
    if (!It) return false;
    const bool Normal = ACol >= FixedCols() && ARow >= FixedRows();
    if (Normal) {
        AEditor = It->Editor();
        FEditComboItems->Assign(It->ComboItems());
        FEditComboDropDownCount = It->DropDownCount();
        FSpinMinValue = It->SpinMin();
        FSpinMaxValue = It->SpinMax();
        FSpinStepValue = It->SpinStep();
        FCurrentEditLink = It->EditLink();
        ControlLook()->SetDropDownCount(It->DropDownCount());
    }
    if (!It->FloatFormat().isEmpty()) SetFloatFormat(It->FloatFormat());
    return Normal;
}

void TExtColumnGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor) {
    LoadColumnEditor(ACol, ARow, AEditor);
    TExtStringGrid::GetCellEditor(ACol, ARow, AEditor);
}

void TExtColumnGrid::GetCellEditorEx(int ACol, int ARow, TEditorType& AEditor) {
    // The editing switch asks here: the column's list, bounds and link reach the grid's editors.
    if (LoadColumnEditor(ACol, ARow, AEditor)) {
        EditCombo->Items()->Assign(FEditComboItems.get());
        EditCombo->SetDropDownCount(FEditComboDropDownCount);
        if (AEditor == edSpinEdit || AEditor == edFloatSpinEdit || AEditor == edTimeSpinEdit ||
            AEditor == edDateSpinEdit) {
            SpinEdit()->SetMinValue(FSpinMinValue);
            SpinEdit()->SetMaxValue(FSpinMaxValue);
            SpinEdit()->SetIncrement(FSpinStepValue);
        }
        if (FCurrentEditLink) SetEditLink(FCurrentEditLink);
    }
    TExtStringGrid::GetCellEditorEx(ACol, ARow, AEditor);
}

void TExtColumnGrid::GetFixedCell(int ACol, int ARow, bool& IsFixed) {
    TGridColumnItem* It = ItemOf(RealColIndex(ACol));
    if (It && ACol >= FixedCols() && ARow >= FixedRows()) IsFixed = It->Fixed();
    TExtStringGrid::GetFixedCell(ACol, ARow, IsFixed);
}

void TExtColumnGrid::GetCellEditable(int ACol, int ARow, bool& CanEdit) {
    // Every normal cell of a column that is neither read-only nor fixed is editable, whatever
    // the grid-wide editing option says.
    CanEdit = false;
    TGridColumnItem* It = ItemOf(ACol);
    if (!IsLoading() && It && ACol >= FixedCols() && ARow >= FixedRows()) CanEdit = !(It->ReadOnly() || It->Fixed());
    if (CanEdit && HasCellProperties(ACol, ARow)) CanEdit = !GetCellProperties(ACol, ARow)->ReadOnly();
    int BC = ACol, BR = ARow;
    ResolveBaseCell(ACol, ARow, BC, BR);
    DoCanEditCell(BC, BR, CanEdit);
}

void TExtColumnGrid::GetPasswordCell(int ACol, int ARow, bool& IsPassword) {
    if (TGridColumnItem* It = ItemOf(ACol)) IsPassword = It->Password();
    TExtStringGrid::GetPasswordCell(ACol, ARow, IsPassword);
}

bool TExtColumnGrid::HasComboButton(int ACol, int ARow) {
    bool Has = false;
    if (TGridColumnItem* It = ItemOf(ACol); It && ACol >= FixedCols() && ARow >= FixedRows())
        Has = It->Editor() == edComboEdit || It->Editor() == edComboList;
    if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, Has);
    return Has;
}

void TExtColumnGrid::GetCheckTrue(int ACol, int ARow, QString& Value) {
    TExtStringGrid::GetCheckTrue(ACol, ARow, Value);
    if (TGridColumnItem* It = ItemOf(ACol); It && IsNormalCell(ACol, ARow)) Value = It->CheckTrue();
}

void TExtColumnGrid::GetCheckFalse(int ACol, int ARow, QString& Value) {
    TExtStringGrid::GetCheckFalse(ACol, ARow, Value);
    if (TGridColumnItem* It = ItemOf(ACol); It && IsNormalCell(ACol, ARow)) Value = It->CheckFalse();
}

QString TExtColumnGrid::GetEditMask(int ACol, int ARow) {
    QString Mask;
    if (ACol >= FixedCols())
        if (TGridColumnItem* It = ItemOf(RealColIndex(ACol))) Mask = It->EditMask();
    const QString Own = TExtStringGrid::GetEditMask(ACol, ARow);
    return Own.isEmpty() ? Mask : Own;
}

int TExtColumnGrid::GetEditLimit() {
    int Limit = MaxEditLength();
    if (Col() >= FixedCols())
        if (TGridColumnItem* It = ItemOf(RealColIndex(Col()))) Limit = It->EditLength();
    return Limit;
}

// ---- grouping and filter values ---------------------------------------------------------------------------
void TExtColumnGrid::Group(int ColIndex) {
    // A refused grouping keeps the item of the grouping in place; otherwise that grouping gives its
    // item back first, and the item kept is the one of ColIndex as the columns then stand.
    if (!CanGroupBy(ColIndex)) return;
    if (GroupColumn() > 0) UnGroup();
    TGridColumnItem Saved(nullptr);
    if (TGridColumnItem* It = ItemOf(ColIndex)) Saved.Assign(It);
    TExtStringGrid::Group(ColIndex);
    if (GroupColumn() == ColIndex) FSaveCol->Assign(&Saved);
}

void TExtColumnGrid::UnGroup() {
    const int Was = GroupColumn();
    TExtStringGrid::UnGroup();
    if (Was == -1) return;
    if (TGridColumnItem* It = ItemOf(Was)) It->Assign(FSaveCol.get());
}

bool TExtColumnGrid::GetFilterValues(int RealCol) {
    TExtStringGrid::GetFilterValues(RealCol);
    TGridColumnItem* It = ItemOf(RealCol);
    if (!It) return false;
    TStringList* F = It->Filter();
    if (F->Count() == 0) return false;
    TStringList* L = FilterValueList();
    L->Clear();
    for (int i = 0; i < F->Count(); ++i) {
        const QString E = F->Get(i);
        const int Eq = E.indexOf(QLatin1Char('='));
        L->Add(Eq < 0 ? E : E.left(Eq));
    }
    return true;
}

void TExtColumnGrid::FilterSelect(int ItemIndex) {
    const int Col = FFilterCol;
    // The column stays open while the handlers run, as in the string grid.
    struct TClose {
        int& F;
        ~TClose() { F = -1; }
    } Close{FFilterCol};
    TGridColumnItem* It = ItemOf(Col);
    if (!It || ItemIndex < 0 || ItemIndex >= It->Filter()->Count()) return;
    const QString Entry = It->Filter()->Get(ItemIndex);
    const int Eq = Entry.indexOf(QLatin1Char('='));
    const QString Caption = Eq < 0 ? Entry : Entry.left(Eq);
    if (FAutoFilterDisplay) It->SetHeader(Caption);
    if (AutoFilterUpdate()) SetFilterActive(false);
    QString Condition = Eq < 0 ? Entry : Entry.mid(Eq + 1);
    if (OnFilterSelect) OnFilterSelect(this, Col, ItemIndex, Caption, Condition);
    TFilterData* F = Filter()->GetColFilter(Col);
    F->SetCondition(Condition);
    F->SetCaseSensitive(It->FilterCaseSensitive());
    if (!AutoFilterUpdate()) return;
    // A pick that filters every row away still leaves the header to pick from again.
    SetFixedRowAlways(true);
    SetFilterActive(true);
    if (RowCount() > FixedRows() && RowCount() > 1) MoveColRow(TCustomGrid::Col(), FixedRows(), true, false);
    DoFilterDone();
}

// ---- widths and positions -----------------------------------------------------------------------------------
void TExtColumnGrid::ColWidthsChanged() {
    TExtStringGrid::ColWidthsChanged();
    if (!FColumnCollection || IsLoading() || IsDestroying()) return;
    for (int DisplCol = 0; DisplCol < ColCount(); ++DisplCol)
        if (TGridColumnItem* It = ItemOf(RealColIndex(DisplCol))) It->FWidth = ColWidths(DisplCol);
}

void TExtColumnGrid::SaveColPositions() {
    if (ColumnSize()->Location() == clIniFile)
        SaveColumnPositions(ColumnSize()->Key(), ColumnSize()->Section());
    else
        TExtStringGrid::SaveColPositions();
}

void TExtColumnGrid::LoadColPositions() {
    if (ColumnSize()->Location() == clIniFile)
        LoadColumnPositions(ColumnSize()->Key(), ColumnSize()->Section());
    else
        TExtStringGrid::LoadColPositions();
}

// ---- column pop-up menus --------------------------------------------------------------------------------------
void TExtColumnGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TExtStringGrid::MouseDown(Button, Shift, X, Y);
    const TGridCoord C = MouseCoord(X, Y);
    if (C.X < 0 || C.Y < 0) return;
    TGridColumnItem* It = ItemOf(RealColIndex(C.X));
    if (!It || !It->ColumnPopup()) return;
    const TColumnPopupType T = It->ColumnPopupType();
    const bool LeftKind = T == cpFixedCellsLClick || T == cpNormalCellsLClick || T == cpAllCellsLClick;
    if (Button == mbLeft ? !LeftKind : (Button != mbRight || LeftKind)) return;
    TPopupMenu* Menu = It->ColumnPopup();
    if (OnColumnPopup) OnColumnPopup(this, C.X, C.Y, Menu);
    const bool FixedKind = T == cpFixedCellsLClick || T == cpFixedCellsRClick;
    const bool NormalKind = T == cpNormalCellsLClick || T == cpNormalCellsRClick;
    const bool Show = C.Y < FixedRows() ? !NormalKind : !FixedKind;
    if (!Show || !Menu) return;
    const TRect R = CellRect(C.X, C.Y);
    const QPoint P = mapToGlobal(QPoint(R.Left, R.Bottom));
    Menu->Popup(P.x(), P.y());
}
