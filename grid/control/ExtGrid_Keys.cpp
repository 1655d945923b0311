// The string grid's character keys, the advance to the next (or previous) cell after Enter or
// Tab, and the property setters whose side effects matter (counts, fixed counts and sizes, look).
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

// ---- character keys -------------------------------------------------------------------------------
void TExtStringGrid::FireKeyPress(QChar& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TExtStringGrid::KeyPress(QChar& Key) {
    // The character that opened the editor was reported already: the editor gets it silently.
    if (TakeReportedStartChar(Key)) {
        auto Saved = std::move(OnKeyPress);
        OnKeyPress = nullptr;
        try {
            KeyPress(Key);
        } catch (...) {
            OnKeyPress = std::move(Saved);
            throw;
        }
        OnKeyPress = std::move(Saved);
        return;
    }
    const ushort K = Key.unicode();
    if (K == 27) {
        if (Options().Contains(goEditing) && (EditorMode() || FEditing)) RestoreCellCache();
        FireKeyPress(Key);
        return;
    }
    int c = GetRealCol();
    if (K == 13 && !Navigation()->AdvanceOnEnter() && !IsEditable(c, Row())) {
        FireKeyPress(Key);
        Key = QChar();
        return;
    }
    if (K == 13 && (!Focused() || HasCellControl(c, Row()))) {
        AdvanceCell(Col(), Row(), EditorMode(), false, true, false, false);
        if (!Navigation()->AdvanceAutoEdit()) {
            FireKeyPress(Key);
            Key = QChar();
            return;
        }
        if (HasCellControl(c, Row())) {
            FireKeyPress(Key);
            if (Navigation()->AdvanceOnEnter()) ShowInplaceEdit();
            return;
        }
    }
    if (!Options().Contains(goEditing) && Navigation()->AutoGotoWhenSorted()) {
        if (Navigation()->AutoGotoIncremental()) {
            if (K == 8)
                FSearchText.chop(1);
            else
                FSearchText += Key;
        } else {
            FSearchText = QString(Key);
        }
        FSearchTicks = 0;
        int Found = Search(FSearchText.toUpper());
        if (Found >= 0)
            SetRow(Found);
        else
            FSearchText.clear();
    }
    TBaseGrid::KeyPress(Key);
}

void TExtStringGrid::IncrementalSearchTick() {
    if (!Navigation()->AutoGotoIncremental() || FSearchText.isEmpty()) return;
    if (++FSearchTicks >= 4) {
        FSearchText.clear();
        FSearchTicks = 0;
    }
}

// ---- advancing ------------------------------------------------------------------------------------
int TExtStringGrid::FirstDataColumn() { return (FixedCols() == 0 && HasNodes()) ? 1 : FixedCols(); }

bool TExtStringGrid::AdvanceStep(int& ACol, int& ARow, bool Forward) {
    const TAdvanceDirection Dir = Navigation()->AdvanceDirection();
    const int f = FirstDataColumn();
    const int LastDataRow = RowCount() - FixedFooters() - 1;
    const int LastDataCol = ColCount() - FixedRightCols() - 1;
    const TPoint Span = CellSpan(ACol, ARow);
    if (Forward && (Dir == adLeftRight || Dir == adLeftRightInRow)) {
        if (ACol + Span.X < ColCount() - VisibleFixedRightCols() - 1) {
            ACol = ACol + Span.X + 1;
        } else if (Dir == adLeftRightInRow) {
            if (Navigation()->AdvanceOnEnterLoop()) ACol = f;
        } else if (ARow == LastDataRow) {
            if (Navigation()->AdvanceInsert()) {
                bool CanAdd = true;
                DoCanAddRow(CanAdd);
                ACol = f;
                if (CanAdd) {
                    AddRow();
                    ARow = RowCount() - FixedFooters() - 1;
                    if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
                    bool AnyEditable = false;
                    for (int i = 0; i < ColCount() && !AnyEditable; ++i) {
                        bool CanEdit = true;
                        GetCellEditable(RealColIndex(i), ARow, CanEdit);
                        AnyEditable = CanEdit;
                    }
                    if (!AnyEditable) return false;
                }
            } else if (Navigation()->AdvanceOnEnterLoop()) {
                ACol = f;
                ARow = FixedRows();
            }
        } else {
            ACol = f;
            ARow = ARow + 1;
        }
    } else if (Forward && (Dir == adTopBottom || Dir == adTopBottomInCol)) {
        if (ARow + 1 != RowCount() - FixedFooters()) {
            ARow = ARow + 1;
        } else if (Dir == adTopBottomInCol) {
            ARow = FixedRows();
        } else {
            if (ACol + 1 != ColCount() - FixedRightCols()) {
                ACol = ACol + 1 < ColCount() ? ACol + 1 : f;
                ARow = FixedRows();
            } else if (Navigation()->AdvanceInsert()) {
                SetColCount(ColCount() + 1);
                ACol = ACol + Span.X + 1;
                ARow = FixedRows();
                if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - FixedRightCols() - 1);
            } else {
                ACol = f;
                ARow = FixedRows();
            }
            Invalidate();
        }
    } else if (!Forward && Dir == adLeftRight) {
        if (ACol > f) {
            --ACol;
        } else {
            ACol = LastDataCol;
            ARow = ARow <= FixedRows() ? LastDataRow : ARow - 1;
        }
    } else if (!Forward && Dir == adTopBottom) {
        if (ARow > FixedRows()) {
            --ARow;
        } else {
            ARow = LastDataRow;
            ACol = ACol > f ? ACol - 1 : LastDataCol;
        }
    }
    return true;
}

void TExtStringGrid::AdvanceCell(int ACol, int ARow, bool EditAfter, bool Recursing, bool Forward, bool AutoEdit,
                                 bool Force) {
    if (!Navigation()->AdvanceOnEnter() && !Force) return;
    if (MouseActions()->RangeSelectAndEdit() && !Options().Contains(goEditing)) SetOptions(Options() << goEditing);
    if (!Recursing) FAdvanceOrigin = Point(ACol, ARow);
    const TPoint Start = Point(ACol, ARow);
    FStartEditChar = QChar();
    // Read-only cells are passed over one step at a time; a chain that finds no editable cell
    // (it comes back to a cell it already passed, or a step does not move) ends where it started.
    const long long MaxSteps = (long long)(ColCount() + 1) * (RowCount() + 1);
    for (long long Step = 0;; ++Step) {
        int PrevCol = ACol, PrevRow = ARow;
        const int ColsBefore = ColCount();
        if (!AdvanceStep(ACol, ARow, Forward)) return;
        bool CanEdit = true;
        GetCellEditable(RealColIndex(ACol), ARow, CanEdit);
        if (CanEdit) {
            bool Allow = true;
            if (OnAutoAdvance) OnAutoAdvance(this, FAdvanceOrigin.Y, FAdvanceOrigin.X, ARow, ACol, Allow);
            if (Allow && OnCellChanging) OnCellChanging(this, FAdvanceOrigin.Y, FAdvanceOrigin.X, ARow, ACol, Allow);
            FDisableChange = true;
            if (Allow) {
                SetCol(ACol);
                SetRow(ARow);
            } else {
                SelectCell(Start.X, Start.Y);
            }
            FDisableChange = false;
            break;
        }
        if (!Navigation()->AdvanceSkipReadOnlyCells()) {
            SetCol(ACol);
            SetRow(ARow);
            break;
        }
        // A column added for the advance that nobody can edit ends the chain, as a new row does.
        bool Stuck = ColCount() > ColsBefore || (ACol == PrevCol && ARow == PrevRow) ||
            (ACol == Start.X && ARow == Start.Y) || (ACol == FAdvanceOrigin.X && ARow == FAdvanceOrigin.Y) ||
            Step >= MaxSteps;
        if (Stuck) return;
    }
    if (!EditAfter) return;
    const int TargetCol = Col(), TargetRow = Row();
    const bool TargetControl = HasCellControl(RealColIndex(TargetCol), TargetRow);
    if ((AutoEdit && Navigation()->AdvanceAutoEdit()) || TargetControl) {
        if (!IsEditable(RealColIndex(TargetCol), TargetRow)) return;
        ShowEditor();
        if (TargetControl) {
            FDisableChange = true;
            SetCol(Start.X);
            SetRow(Start.Y);
            SetCol(TargetCol);
            SetRow(TargetRow);
            if (!HasCellControl(RealColIndex(Start.X), Start.Y)) {
                TRect R = CellRect(TargetCol, TargetRow);
                LPARAM At = MakeLParam(Word(R.Left + 2), Word(R.Top + 2));
                Perform(WM_LBUTTONDOWN, MK_LBUTTON, At);
                Perform(WM_LBUTTONUP, 0, At);
                if (Navigation()->AdvanceDirection() != adLeftRight) HideEditor();
            }
            FDisableChange = false;
            bool Allow = true;
            if (OnCellChanging) OnCellChanging(this, Start.Y, Start.X, Row(), Col(), Allow);
            TEditorType Kind = DefaultEditor();
            GetCellEditorEx(RealColIndex(Start.X), Start.Y, Kind);
            if (!IsDefaultEditorKind(Kind)) HideEditor();
        }
    }
    if (MouseActions()->DisjunctRowSelect()) {
        ClearRowSelect();
        SelectRows(Row(), 1);
    }
}

void TExtStringGrid::EditNextCellControl(int RealCol, int DisplRow, const QString& ID) {
    const QString Next = NextEditControlID(GetGridCell(RealCol, DisplRow), ID);
    if (Next.isEmpty()) {
        FCellControlID.clear();
        FCellControlCell = Point(-1, -1);
        if (CanFocus()) SetFocus();
        return;
    }
    // The control editor opens over the element's rectangle as the text renderer lays it out.
    FCellControlCell = Point(RealCol, DisplRow);
    FCellControlID = Next;
}

// ---- counts and fixed cells -----------------------------------------------------------------------
void TExtStringGrid::SetRowCount(int Value) {
    if (RowCount() == FixedRows() && FixedRowAlways() && FSelectionHidden) UnHideSelection();
    int OldCount = RowCount();
    TBaseGrid::SetRowCount(Value);
    if (FixedRowAlways() && FMinFixedRows < Value) SetFixedRows(FMinFixedRows);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    SetNormalRowCount(Value);
    InvalidateFooterPanel();
    UpdateVertProportional();
    UpdateHorzProportional();
    ApplyScrollBarAlways(false);
    if (FScrollType != ssNormal) UpdateFlatScrollBars();
    if (FloatingFooter()->Visible() && OldCount != Value && OldCount > 0 && Value > 0) {
        MoveFooterRow(OldCount - 1, Value - 1);
        CalcFooter(-1);
    }
}

void TExtStringGrid::SetColCount(int Value) {
    TBaseGrid::SetColCount(Value);
    if (FixedColAlways() && FMinFixedCols < Value) SetFixedCols(FMinFixedCols);
    FMaxColCount = std::max(FMaxColCount, Value);
    InvalidateFooterPanel();
    SetBounds(Left(), Top(), Width(), Height());
    UpdateHorzProportional();
    UpdateVertProportional();
    ApplyScrollBarAlways(false);
}

int TExtStringGrid::FixedRows() const {
    int V = PlatformFixedRows();
    return (V == 0 && FFixedRowAlways) ? 1 : V;
}

void TExtStringGrid::SetFixedRows(int Value) {
    int Requested = Value;
    if (FFixedRowAlways && Value >= RowCount()) Value = RowCount() - 1;
    TBaseGrid::SetFixedRows(Value);
    if (!ComponentState().Contains(csLoading)) FMinFixedRows = Requested;
}

int TExtStringGrid::FixedCols() const {
    int V = PlatformFixedCols();
    return (V == 0 && FFixedColAlways) ? 1 : V;
}

void TExtStringGrid::SetFixedCols(int Value) {
    int Requested = Value;
    if (FFixedColAlways && Value >= ColCount()) Value = ColCount() - 1;
    TBaseGrid::SetFixedCols(Value);
    if (!ComponentState().Contains(csLoading)) FMinFixedCols = Requested;
}

int TExtStringGrid::FixedColWidth() const { return ColWidths(0); }

void TExtStringGrid::SetFixedColWidth(int Value) {
    if (ComponentState().Contains(csLoading) || Value == DefaultColWidth()) return;
    for (int i = 0; i < PlatformFixedCols(); ++i) SetColWidths(i, Value);
}

void TExtStringGrid::SetFixedRowHeight(int Value) {
    FFixedRowHeight = Value;
    if (ComponentState().Contains(csLoading)) return;
    if (Value == DefaultRowHeight())
        SetDefaultRowHeight(DefaultRowHeight());
    else
        for (int i = 0; i < PlatformFixedRows(); ++i) SetRowHeights(i, Value);
}

void TExtStringGrid::SetDefaultRowHeight(int Value) {
    TBaseGrid::SetDefaultRowHeight(Value);
    if (ComponentState().Contains(csDesigning)) FFixedRowHeight = Value;
    FloatingFooter()->SetHeight(Value); // resizes a shown strip
}

void TExtStringGrid::SetFixedFooters(int Value) {
    FFixedFooters = Value;
    Invalidate();
}

void TExtStringGrid::SetFixedRightCols(int Value) {
    FFixedRightCols = Value;
    Invalidate();
}

void TExtStringGrid::SetWordWrap(bool Value) {
    TBaseGrid::SetWordWrap(Value);
    if (!UpdatePending()) Invalidate();
}

void TExtStringGrid::SetAutoSize(bool Value) {
    FAutoSize = Value;
    if (Value && !ComponentState().Contains(csLoading)) AutoSizeColumns(false, 10);
}

// ---- appearance and behaviour ---------------------------------------------------------------------
template <typename T>
void TExtStringGrid::StoreAndRepaint(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
}

void TExtStringGrid::SetDefaultAlignment(TAlignment Value) { StoreAndRepaint(FDefaultAlignment, Value); }
void TExtStringGrid::SetShowDesignHelper(bool Value) { StoreAndRepaint(FShowDesignHelper, Value); }
void TExtStringGrid::SetSelectionColor(TColor Value) { StoreAndRepaint(FSelectionColor, Value); }
void TExtStringGrid::SetSelectionColorTo(TColor Value) { StoreAndRepaint(FSelectionColorTo, Value); }
void TExtStringGrid::SetSelectionMirrorColor(TColor Value) { StoreAndRepaint(FSelectionMirrorColor, Value); }
void TExtStringGrid::SetSelectionMirrorColorTo(TColor Value) { StoreAndRepaint(FSelectionMirrorColorTo, Value); }
void TExtStringGrid::SetSelectionTextColor(TColor Value) { StoreAndRepaint(FSelectionTextColor, Value); }
void TExtStringGrid::SetSelectionColorMixer(bool Value) { StoreAndRepaint(FSelectionColorMixer, Value); }
void TExtStringGrid::SetSelectionRectangle(bool Value) { StoreAndRepaint(FSelectionRectangle, Value); }
void TExtStringGrid::SetSelectionResizer(bool Value) { StoreAndRepaint(FSelectionResizer, Value); }

void TExtStringGrid::SetSelectionColorMixerFactor(int Value) {
    StoreAndRepaint(FSelectionColorMixerFactor, std::clamp(Value, 0, 100));
}

void TExtStringGrid::SetShowSelection(bool Value) {
    SetShowSel(Value);
    StoreAndRepaint(FShowSelection, Value);
}

void TExtStringGrid::SetActiveCellShow(bool Value) {
    FActiveCellShow = Value;
    Invalidate();
}

void TExtStringGrid::SetActiveCellColor(TColor Value) {
    FActiveCellColor = Value;
    Invalidate();
}

void TExtStringGrid::SetActiveCellColorTo(TColor Value) {
    FActiveCellColorTo = Value;
    Invalidate();
}

void TExtStringGrid::SetXYOffset(QPoint Value) {
    FXYOffset = Value;
    Invalidate();
}

void TExtStringGrid::UpdateXYOffset(int X, int Y) { FXYOffset = QPoint(X, Y); }

void TExtStringGrid::SetActiveCellFont(TFont* Value) {
    ActiveCellFont()->Assign(Value);
    Invalidate();
}

void TExtStringGrid::SetFixedFont(TFont* Value) {
    FixedFont()->Assign(Value);
    Invalidate();
}

void TExtStringGrid::SetBackGround(TBackGround* Value) {
    BackGround()->Assign(Value);
    Invalidate();
}

void TExtStringGrid::SetDragScrollOptions(TDragScrollOptions* Value) { DragScrollOptions()->Assign(Value); }
void TExtStringGrid::SetShowModified(TShowModified* Value) { ShowModified()->Assign(Value); }
void TExtStringGrid::SetBalloon(TBalloonSettings* Value) { Balloon()->Assign(Value); }
void TExtStringGrid::SetProgressAppearance(TGridProgressAppearance* Value) { ProgressAppearance()->Assign(Value); }
void TExtStringGrid::SetSortSettings(TSortSettings* Value) { SortSettings()->Assign(Value); }

void TExtStringGrid::SetLookupItems(TStrings* Value) {
    if (Value) LookupItems()->Assign(Value);
}

void TExtStringGrid::SetRowIndicator(TBitmap* Value) {
    RowIndicator()->Assign(Value);
    RepaintCell(0, Row());
}

void TExtStringGrid::SetHighlightColor(TColor Value) {
    if (Value == FHighlightColor) return;
    FHighlightColor = Value;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TExtStringGrid::SetHighlightTextColor(TColor Value) {
    if (Value == FHighlightTextColor) return;
    FHighlightTextColor = Value;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TExtStringGrid::SetHovering(bool Value) { FHovering = Value; }

void TExtStringGrid::SetFlat(bool Value) {
    FFlat = Value;
    if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TExtStringGrid::SetBorderColor(TColor Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    if (Parent() && Parent()->HandleAllocated()) DrawThemedBorder();
}

void TExtStringGrid::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    FVAlignFlag = Value == vtaTop ? 0 : Value == vtaCenter ? 4 : 8;
    if (!UpdatePending()) Invalidate();
}

void TExtStringGrid::SetMaxEditLength(int Value) {
    FMaxEditLength = Value;
    if (NormalEdit()) NormalEdit()->SetMaxLength(Value);
}

void TExtStringGrid::SetSpreadSheet(bool Value) {
    FSpreadSheet = Value;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    Navigation()->SetAllowSmartClipboard(true);
    SetOptions(Options() << goEditing << goRangeSelect);
    MouseActions()->SetRangeSelectAndEdit(true);
}

void TExtStringGrid::SetAutoThemeAdapt(bool Value) {
    if (Value == FAutoThemeAdapt) return;
    FAutoThemeAdapt = Value;
    SearchFooter()->SetAutoThemeAdapt(Value);
    if (Value) {
        ApplyOfficeTheme();
        Invalidate();
    }
    if (!ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) RegisterThemeNotifier(Value);
}

void TExtStringGrid::SetArrowColor(TColor Value) {
    FArrowColor = Value;
    SetArrowWindowsColor(Value);
}

void TExtStringGrid::MoveFooterRow(int FromDisplRow, int ToDisplRow) {
    if (FromDisplRow == ToDisplRow || FromDisplRow < 0 || ToDisplRow < 0) return;
    for (int c = 0; c < TotalColCount(); ++c) {
        SetGridCell(c, ToDisplRow, GetGridCell(c, FromDisplRow));
        TObject* O = GetGridObject(c, FromDisplRow);
        SetGridObject(c, ToDisplRow, O);
        if (auto* P = dynamic_cast<TCellProperties*>(O)) P->SetOwnerRow(ToDisplRow);
        SetGridCell(c, FromDisplRow, QString());
        SetGridObject(c, FromDisplRow, nullptr);
    }
}

// ---- editability, cell controls, searching ---------------------------------------------------------
bool TExtStringGrid::IsEditable(int RealCol, int DisplRow) {
    bool Possible = Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit() || FEditDisable;
    return Possible && IsEditableBaseCell(RealCol, DisplRow);
}

bool TExtStringGrid::IsEditableBaseCell(int RealCol, int DisplRow) {
    int BC = RealCol, BR = DisplRow;
    if (IsMergedNonBaseCell(RealCol, DisplRow)) ResolveBaseCell(RealCol, DisplRow, BC, BR);
    bool CanEdit = true;
    GetCellEditable(BC, BR, CanEdit);
    bool Fixed = false;
    GetFixedCell(DisplColIndex(BC), BR, Fixed);
    return CanEdit && !Fixed;
}

bool TExtStringGrid::HasCellControl(int RealCol, int DisplRow) {
    switch (GetCellType(RealCol, DisplRow)) {
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctTriStateCheckBox:
        case ctRadio:
        case ctButton:
        case ctBitButton:
        case ctRadioButton: return true;
        default: return false;
    }
}

int TExtStringGrid::VisibleFixedRightCols() const {
    if (NumHiddenColumns() == 0) return FixedRightCols();
    int N = 0;
    for (int RealCol = TotalColCount() - FixedRightCols(); RealCol < TotalColCount(); ++RealCol)
        if (RealCol >= 0 && !IsHiddenColumn(RealCol)) ++N;
    return N;
}

int TExtStringGrid::Search(const QString& S) {
    if (RowCount() < 2) return -1;
    // The key column: the first sort key with indexed sorting, else the sorted column.
    int Column = FixedCols();
    if (SortSettings()->Show()) {
        if (SortSettings()->IndexShow())
            Column = FSortIndexes->Count() > 0 ? FSortIndexes->SortColumns(0) : FixedCols();
        else
            Column = SortSettings()->Column();
    }
    if (Column < 0) return -1;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (GetStrippedCell(Column, r).toUpper().left(S.length()) == S) return r;
    return -1;
}

void TExtStringGrid::ShowInplaceEdit() {
    int BC = GetRealCol(), BR = Row();
    ResolveBaseCell(GetRealCol(), Row(), BC, BR);
    if (HasCellControl(BC, BR)) return;
    ClampInView(Col(), Row());
    ShowEditor();
}

void TExtStringGrid::AddRow() {
    if (FloatingFooter()->Visible() && RowCount() > FixedRows() + 1)
        InsertRows(RowCount() - 1, 1);
    else
        SetRowCount(RowCount() + 1);
}
