// The string grid's per-cell questions (colours, borders, alignment, fixed, editable, password,
// editor kind, combo and spin buttons, check texts, filter values), each a virtual operation that
// applies its built-in rules and then asks the matching event, and the small event dispatchers.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

// ---- dispatchers ----------------------------------------------------------------------------------
void TExtStringGrid::DoCanEditCell(int ACol, int ARow, bool& CanEdit) {
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TExtStringGrid::DoSearchFooterAction(const QString& Value, int ACol, int ARow, TSearchAction SearchAction) {
    if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TExtStringGrid::DoButtonClick(int ACol, int ARow) {
    if (OnButtonClick) OnButtonClick(this, ACol, ARow);
}

void TExtStringGrid::DoExpandClick(int ACol, int ARow, bool Expanded) {
    if (OnExpandClick) OnExpandClick(this, ACol, ARow, Expanded);
    int H = ExpandRowHeight(ACol, ARow);
    if (H > 0 && ARow >= 0 && ARow < RowCount()) SetRowHeights(ARow, H);
}

void TExtStringGrid::DoComboCloseUp(int ARow, int ACol) {
    if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TExtStringGrid::DoComboDropDown(int ARow, int ACol) {
    if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}

void TExtStringGrid::DoGetCellCursor(int ACol, int ARow, int X, int Y) {
    if (!OnGetCellCursor) return;
    TCursor C = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, C);
    FCellCursor = C;
    setCursor(CursorToQCursor(C));
}

void TExtStringGrid::DoGetCellHint(int ACol, int ARow, QString& Hint, QString& WideHint) {
    if (OnGridHint) OnGridHint(this, ARow, ACol, Hint);
    if (OnGridWideHint) OnGridWideHint(this, ARow, ACol, WideHint);
    if (!WideHint.isEmpty()) Hint = EncodeWideCellText(WideHint);
}

// ---- colours, borders, alignment ------------------------------------------------------------------
static bool OwnBrushKind(TCellType T) {
    switch (T) {
        case ctIcon:
        case ctNone:
        case ctImageList:
        case ctEmpty:
        case ctImages:
        case ctComment: return true;
        default: return false;
    }
}

void TExtStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    if (ActiveCellShow()) {
        int d = DisplColIndex(ACol);
        bool RowHeader = ARow == Row() && d + 1 == FixedCols() && FixedCols() > 0;
        bool ColHeader = d == Col() && ARow + 1 == FixedRows() && FixedRows() > 0;
        if (RowHeader || ColHeader) {
            AFont->Assign(ActiveCellFont());
            ABrush->SetColor(ActiveCellColor());
        }
    }
    if (HasCellProperties(ACol, ARow)) {
        TCellProperties* P = GetCellProperties(ACol, ARow);
        if (OwnBrushKind(GetCellType(ACol, ARow)) && P->BrushColor() != clNone) ABrush->SetColor(P->BrushColor());
        if (P->FontColor() != clNone) AFont->SetColor(P->FontColor());
        if (!P->FontStyle().Empty()) AFont->SetStyle(P->FontStyle());
        if (P->FontSize() != 0) AFont->SetSize(P->FontSize());
        if (!P->FontName().isEmpty()) AFont->SetName(P->FontName());
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExtStringGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExtStringGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (Grouping()->HeaderUnderline() && GetCellType(0, ARow) == ctNode && ACol > 0) {
        Borders = TCellBorders{cbBottom};
        APen->SetColor(Grouping()->HeaderLineColor());
        APen->SetWidth(Grouping()->HeaderLineWidth());
    }
    if (Grouping()->SummaryLine() && GetCellType(0, ARow) == ctSummary && ACol > 0) {
        Borders = TCellBorders{cbTop};
        APen->SetColor(Grouping()->SummaryLineColor());
        APen->SetWidth(Grouping()->SummaryLineWidth());
    }
    if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
    if (MouseActions()->HotmailRowSelect() && ACol == 0) HAlign = taCenter;
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TExtStringGrid::GetColumnFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) {
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

// ---- editors --------------------------------------------------------------------------------------
void TExtStringGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TExtStringGrid::GetCellEditorEx(int ACol, int ARow, TEditorType& AEditor) {
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TExtStringGrid::IsNoEditCell(int ACol, int ARow) {
    if (!OnGetEditorType) return false;
    TEditorType E = edNormal;
    OnGetEditorType(this, ACol, ARow, E);
    return E == edNone;
}

void TExtStringGrid::GetFixedCell(int ACol, int ARow, bool& IsFixed) {
    if (IsFixed) return;
    IsFixed = ACol < FixedCols() || ARow < FixedRows() ||
        (FixedRowAlways() && ARow <= FMinFixedRows && RowCount() == FMinFixedRows) ||
        (FixedColAlways() && ACol < FMinFixedCols && ColCount() == FMinFixedCols);
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TExtStringGrid::GetCellEditable(int ACol, int ARow, bool& CanEdit) {
    int BC = ACol, BR = ARow;
    ResolveBaseCell(ACol, ARow, BC, BR);
    if (HasCellProperties(BC, BR) && CanEdit) {
        CanEdit = !GetCellProperties(BC, BR)->ReadOnly();
        if (!Options().Contains(goEditing) && !FEditDisable && !MouseActions()->RangeSelectAndEdit()) CanEdit = false;
    }
    if (BC < ColCount() + NumHiddenColumns())
        DoCanEditCell(BC, BR, CanEdit);
    else
        // A cell beyond the sheet has no editor to show.
        CanEdit = false;
}

void TExtStringGrid::GetPasswordCell(int ACol, int ARow, bool& IsPassword) {
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TExtStringGrid::GetCellWordWrap(int ACol, int ARow, bool& WordWrap) {
    if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TExtStringGrid::HasComboButton(int ACol, int ARow) {
    if (OnHasComboBox) {
        bool Has = false;
        OnHasComboBox(this, ACol, ARow, Has);
        return Has;
    }
    if (ControlLook()->DropDownAlwaysVisible()) {
        TEditorType E = DefaultEditor();
        GetCellEditorEx(ACol, ARow, E);
        return E == edComboEdit || E == edComboList;
    }
    return false;
}

bool TExtStringGrid::HasSpinButtons(int ACol, int ARow) {
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (OnHasSpinEdit) {
        bool Has = false;
        OnHasSpinEdit(this, ACol, ARow, Has);
        return Has;
    }
    if (ControlLook()->SpinButtonsAlwaysVisible()) {
        TEditorType E = DefaultEditor();
        GetCellEditor(ACol, ARow, E);
        return E == edSpinEdit || E == edFloatSpinEdit || E == edTimeSpinEdit || E == edDateSpinEdit;
    }
    return false;
}

void TExtStringGrid::GetCheckTrue(int ACol, int ARow, QString& Value) {
    Value = FCheckTrue;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void TExtStringGrid::GetCheckFalse(int ACol, int ARow, QString& Value) {
    Value = FCheckFalse;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

// ---- filter values --------------------------------------------------------------------------------
static void AddFilterValue(TStringList* L, const QString& S) {
    if (S.contains(QLatin1Char(' ')))
        L->Add(S + QStringLiteral("=\"") + S + QStringLiteral("\""));
    else
        L->Add(S);
}

bool TExtStringGrid::BuildFilterList(int ACol) {
    TStringList* L = FilterValueList();
    L->Clear();
    if (FilterDropDownAuto() && (ACol >= FixedCols() || FilterDropDownColumns() == fdAll)) {
        L->SetSorted(true);
        for (int r = FixedRows(); r <= RowCount() - FixedFooters() - 1; ++r) {
            QString S = GetCellEx(ACol, r);
            GetDisplText(ACol, r, S);
            S = S.trimmed();
            AddFilterValue(L, S);
        }
        if (!FFilterIncremental)
            for (int i = 0; i < NumHiddenRows(); ++i) {
                TStringList* Texts = HiddenRows().Items(i)->Items();
                if (ACol < Texts->Count()) AddFilterValue(L, Texts->Get(ACol));
            }
        L->SetSorted(false);
        if (!FilterDropDownClear().isEmpty()) L->Insert(0, FilterDropDownClear());
    }
    if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, L);
    return L->Count() > 0;
}

// ---- defaults of a new cell record ----------------------------------------------------------------
void TExtStringGrid::GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
                                     TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD) {
    TGridDrawState State;
    GetVisualProperties(ACol, ARow, State, false, false, true, ABrush, ColorTo, MirrorColor, MirrorColorTo, AFont, HA,
                        VA, WW, GD);
    bool IsFixedCell = false;
    GetFixedCell(DisplColIndex(ACol), ARow, IsFixedCell);
    const bool Gradient = BackGround()->Display() == bdGradientHorz || BackGround()->Display() == bdGradientVert;
    if (IsFixedCell || Bands()->Active() || Gradient || ABrush->Style() == bsClear) {
        ABrush->SetColor(clNone);
        ColorTo = clNone;
    }
}

// ---- other dispatchers ----------------------------------------------------------------------------
void TExtStringGrid::GridButtonClicked(TObject* Sender) {
    (void)Sender;
    if (OnButtonClick) OnButtonClick(this, Col(), Row());
}

void TExtStringGrid::RichEditSelChange(TObject* Sender) {
    (void)Sender;
    if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
}

QString TExtStringGrid::GetEditMask(int ACol, int ARow) {
    QString Value = FEditMask;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, Value);
    return Value;
}

// ---- date pickers ---------------------------------------------------------------------------------
void TExtStringGrid::DateTimePickerChanged(TObject* Sender) {
    (void)Sender;
    if (OnDateTimeChange) OnDateTimeChange(this, Col(), Row(), PickerValue(Sender));
}

void TExtStringGrid::DatePickerTextChanged(TObject* Picker) {
    if (!OnEditChange) return;
    if (PickerIsTimeKind(Picker))
        OnEditChange(this, Col(), Row(), TimeToStr(PickerValue(Picker)));
    else
        OnEditChange(this, Col(), Row(), DateToStr(PickerValue(Picker)));
}

void TExtStringGrid::DatePickerClosedUp(TObject* Sender) {
    (void)Sender;
    if (OnDatePickerCloseUp) OnDatePickerCloseUp(this, Row(), Col());
    if (MouseActions()->DirectDateClose()) HideInplaceEditStandIn();
}

void TExtStringGrid::DatePickerDroppedDown(TObject* Picker) {
    (void)Picker;
    if (OnDatePickerDropDown) OnDatePickerDropDown(this, Row(), Col());
}
