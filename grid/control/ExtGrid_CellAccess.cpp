// Unit ExtGrid: the cell access interface: cells through their index spaces (real rows, rows
// before sorting, columns before moves), the per-cell and per-row look, embedded cell controls.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"

// ---- cells of real rows ---------------------------------------------------------------------------------
QString TExtStringGrid::GetGridCellsEx(int RealCol, int RealRow) {
    if (const TGridItem* Item = FHiddenRows.Find(RealRow)) return Item->Texts(RealCol);
    return GetGridCell(RealCol, DisplRowIndex(RealRow));
}

void TExtStringGrid::SetGridCellsEx(int RealCol, int RealRow, const QString& Value) {
    if (TGridItem* Item = FHiddenRows.Find(RealRow)) {
        Item->SetTexts(RealCol, Value);
        return;
    }
    const int DisplRow = DisplRowIndex(RealRow);
    SetGridCell(RealCol, DisplRow, Value);
    if (DisplColIndex(RealCol) != RealCol) RepaintCell(DisplColIndex(RealCol), DisplRow);
}

TObject* TExtStringGrid::GetObjectsEx(int RealCol, int RealRow) {
    if (const TGridItem* Item = FHiddenRows.Find(RealRow)) {
        TObject* O = Item->Objects(RealCol);
        if (auto* P = dynamic_cast<TCellProperties*>(O)) return reinterpret_cast<TObject*>(P->CellObject());
        return O;
    }
    return GetObjectEx(RealCol, DisplRowIndex(RealRow));
}

void TExtStringGrid::SetObjectsEx(int RealCol, int RealRow, TObject* Value) {
    if (TGridItem* Item = FHiddenRows.Find(RealRow)) {
        // The slot of a hidden row belongs to the cell store: a caller's object goes only into
        // the properties record the cell already has.
        auto* P = dynamic_cast<TCellProperties*>(Item->Objects(RealCol));
        if (!P)
            throw EExtGridError(QStringLiteral("Cell %1 of hidden row %2 has no properties").arg(RealCol).arg(RealRow));
        P->SetCellObject(reinterpret_cast<uintptr_t>(Value));
        return;
    }
    SetObjectEx(RealCol, DisplRowIndex(RealRow), Value);
}

TObject* TExtStringGrid::GetGridObjectsEx(int RealCol, int RealRow) {
    if (const TGridItem* Item = FHiddenRows.Find(RealRow)) return Item->Objects(RealCol);
    return GetGridObject(RealCol, DisplRowIndex(RealRow));
}

// ---- rows before sorting, columns before moves ------------------------------------------------------------
int TExtStringGrid::UnSortedRowIndex(int ARow) {
    const TIntList* X = FSortList2.get();
    if (X->Count() == 0) return ARow;
    for (int I = 0; I < X->Count(); ++I)
        if (X->GetInteger(I) == ARow) return I;
    throw EExtGridError(QStringLiteral("Row %1 is not in the sort order").arg(ARow));
}

int TExtStringGrid::SortedRowIndex(int ARow) {
    const TIntList* X = FSortList2.get();
    if (ARow >= 0 && ARow < X->Count()) return RealRowIndex(X->GetInteger(ARow));
    return RealRowIndex(ARow);
}

namespace {
// The row an unsorted row index addresses: unchanged beyond the cross-reference, else the
// position that holds it.
int UnsortedRowOf(const TIntList* X, int Row) {
    const int N = X->Count();
    if (Row > N) return Row;
    for (int I = 0; I < N; ++I)
        if (X->GetInteger(I) == Row) return I;
    throw EExtGridError(QStringLiteral("Row %1 is not in the sort order").arg(Row));
}
} // namespace

QString TExtStringGrid::GetUnSortedCell(int ACol, int UnSortedRow) {
    return GetCellEx(ACol, UnsortedRowOf(FSortList2.get(), UnSortedRow));
}

void TExtStringGrid::SetUnSortedCell(int ACol, int UnSortedRow, const QString& Value) {
    SetCellEx(ACol, UnsortedRowOf(FSortList2.get(), UnSortedRow), Value);
}

QString TExtStringGrid::GetOriginalCells(int UnmovedCol, int ARow) {
    const int C = ColumnPosition(UnmovedCol);
    return GetCellEx(C == -1 ? UnmovedCol : C, ARow);
}

void TExtStringGrid::SetOriginalCells(int UnmovedCol, int ARow, const QString& Value) {
    const int C = ColumnPosition(UnmovedCol);
    SetCellEx(C == -1 ? UnmovedCol : C, ARow, Value);
}

int TExtStringGrid::GetLinesInCell(int RealCol, int DisplRow) {
    const QString S = GetCellEx(RealCol, DisplRow);
    return std::max(1, int(S.count(QChar('\r'))) + 1);
}

// ---- widths of real columns -----------------------------------------------------------------------------
int TExtStringGrid::GetAllColWidths(int RealCol) const {
    if (RealCol < 0 || RealCol >= TVisibleColumnMap::MapSize)
        throw EExtGridError(QStringLiteral("Column %1 outside the width map").arg(RealCol));
    if (IsHiddenColumn(RealCol)) return FColumnMap.SavedWidth(RealCol);
    const int D = DisplColIndex(RealCol);
    return D < ColCount() ? ColWidths(D) : DefaultColWidth();
}

void TExtStringGrid::SetAllColWidths(int RealCol, int Value) {
    if (RealCol < 0 || RealCol >= TVisibleColumnMap::MapSize)
        throw EExtGridError(QStringLiteral("Column %1 outside the width map").arg(RealCol));
    if (IsHiddenColumn(RealCol)) {
        // Only the width the column comes back with changes.
        FColumnMap.Show(RealCol);
        FColumnMap.Hide(RealCol, Value);
        return;
    }
    const int D = DisplColIndex(RealCol);
    if (D < ColCount()) SetColWidths(D, Value);
}

// ---- the current cell -----------------------------------------------------------------------------------
QString TExtStringGrid::GetCurrentCellText() {
    if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount()) return QString();
    const TPoint B = BaseCell(RealCol(), Row());
    return GetCellEx(B.X, B.Y);
}

void TExtStringGrid::SetCurrentCellText(const QString& Value) {
    if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount()) return;
    const TPoint B = BaseCell(RealCol(), Row());
    if (B.X == RealCol() && B.Y == Row())
        SetEditText(Col(), Row(), Value);
    else
        SetEditText(DisplColIndex(B.X), B.Y, Value);
}

// ---- per-cell look ----------------------------------------------------------------------------------------
TCellProperties* TExtStringGrid::ExistingProps(int RealCol, int DisplRow) {
    return dynamic_cast<TCellProperties*>(GetGridObject(RealCol, DisplRow));
}

void TExtStringGrid::RepaintRealCell(int RealCol, int DisplRow) { RepaintCell(DisplColIndex(RealCol), DisplRow); }

TColor TExtStringGrid::Colors(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->BrushColor() : clNone;
}

void TExtStringGrid::SetColors(int RealCol, int DisplRow, TColor Value) {
    GetCellProperties(RealCol, DisplRow)->SetBrushColor(Value);
    if (FUpdateCount == 0) RepaintRealCell(RealCol, DisplRow);
}

TColor TExtStringGrid::ColorsTo(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->BrushColorTo() : clNone;
}

void TExtStringGrid::SetColorsTo(int RealCol, int DisplRow, TColor Value) {
    GetCellProperties(RealCol, DisplRow)->SetBrushColorTo(Value);
    RepaintRealCell(RealCol, DisplRow);
}

TCellGradientDirection TExtStringGrid::Gradients(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->GradientDirection() : GradientVertical;
}

void TExtStringGrid::SetGradients(int RealCol, int DisplRow, TCellGradientDirection Value) {
    GetCellProperties(RealCol, DisplRow)->SetGradientDirection(Value);
    RepaintRealCell(RealCol, DisplRow);
}

TColor TExtStringGrid::FontColors(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->FontColor() : clNone;
}

void TExtStringGrid::SetFontColors(int RealCol, int DisplRow, TColor Value) {
    GetCellProperties(RealCol, DisplRow)->SetFontColor(Value);
    RepaintRealCell(RealCol, DisplRow);
}

TFontStyles TExtStringGrid::FontStyles(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->FontStyle() : TFontStyles();
}

void TExtStringGrid::SetFontStyles(int RealCol, int DisplRow, TFontStyles Value) {
    GetCellProperties(RealCol, DisplRow)->SetFontStyle(Value);
    RepaintRealCell(RealCol, DisplRow);
}

int TExtStringGrid::FontSizes(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->FontSize() : 0;
}

void TExtStringGrid::SetFontSizes(int RealCol, int DisplRow, int Value) {
    GetCellProperties(RealCol, DisplRow)->SetFontSize(Value);
    RepaintRealCell(RealCol, DisplRow);
}

QString TExtStringGrid::FontNames(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->FontName() : QString();
}

void TExtStringGrid::SetFontNames(int RealCol, int DisplRow, const QString& Value) {
    GetCellProperties(RealCol, DisplRow)->SetFontName(Value);
    RepaintRealCell(RealCol, DisplRow);
}

TAlignment TExtStringGrid::Alignments(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->Alignment() : taLeftJustify;
}

void TExtStringGrid::SetAlignments(int RealCol, int DisplRow, TAlignment Value) {
    GetCellProperties(RealCol, DisplRow)->SetAlignment(Value);
    RepaintRealCell(RealCol, DisplRow);
}

bool TExtStringGrid::WordWraps(int RealCol, int DisplRow) { return GetCellProperties(RealCol, DisplRow)->WordWrap(); }

void TExtStringGrid::SetWordWraps(int RealCol, int DisplRow, bool Value) {
    GetCellProperties(RealCol, DisplRow)->SetWordWrap(Value);
    RepaintRealCell(RealCol, DisplRow);
}

bool TExtStringGrid::ReadOnly(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P && P->ReadOnly();
}

void TExtStringGrid::SetReadOnly(int RealCol, int DisplRow, bool Value) {
    GetCellProperties(RealCol, DisplRow)->SetReadOnly(Value);
    RepaintRealCell(RealCol, DisplRow);
}

void TExtStringGrid::SetFonts(int RealCol, int DisplRow, TFont* Value) {
    if (!Value) return;
    TCellProperties* P = GetCellProperties(RealCol, DisplRow);
    P->SetFontName(Value->Name());
    P->SetFontSize(Value->Size());
    P->SetFontStyle(Value->Style());
    P->SetFontColor(Value->Color());
    if (FUpdateCount == 0) RepaintRealCell(RealCol, DisplRow);
}

// ---- whole rows -------------------------------------------------------------------------------------------
void TExtStringGrid::SetRowColor(int DisplRow, TColor Value) {
    for (int C = FixedCols(); C < AllColCount(); ++C) {
        if (Value != clNone)
            GetCellProperties(C, DisplRow)->SetBrushColor(Value);
        else if (TCellProperties* P = ExistingProps(C, DisplRow))
            P->SetBrushColor(clNone);
    }
    RepaintRow(DisplRow);
}

void TExtStringGrid::SetRowColorTo(int DisplRow, TColor Value) {
    for (int C = FixedCols(); C < AllColCount(); ++C) {
        if (Value != clNone)
            GetCellProperties(C, DisplRow)->SetBrushColorTo(Value);
        else if (TCellProperties* P = ExistingProps(C, DisplRow))
            P->SetBrushColorTo(clNone);
    }
    RepaintRow(DisplRow);
}

void TExtStringGrid::SetRowFontColor(int DisplRow, TColor Value) {
    for (int C = FixedCols(); C < AllColCount(); ++C) {
        if (Value != clNone)
            GetCellProperties(C, DisplRow)->SetFontColor(Value);
        else if (TCellProperties* P = ExistingProps(C, DisplRow))
            P->SetFontColor(clNone);
    }
    RepaintRow(DisplRow);
}

// ---- embedded controls ------------------------------------------------------------------------------------
TControl* TExtStringGrid::GetCellControl(int RealCol, int DisplRow) {
    const TCellProperties* P = ExistingProps(RealCol, DisplRow);
    return P ? P->Control() : nullptr;
}

void TExtStringGrid::SetCellControl(int RealCol, int DisplRow, TControl* Value) {
    const int RealR = RealRowIndex(DisplRow);
    TCellProperties* Existing = ExistingProps(RealCol, DisplRow);
    const bool Held = Existing && Existing->Control();
    const int Index = FControlList->ControlIndex(RealCol, RealR);
    if (Index >= 0) FControlList->RemoveControl(Index);
    if (!Value) {
        if (Held) {
            FNumCellControls = std::max(0, FNumCellControls - 1);
            Existing->SetControl(nullptr);
        }
        return;
    }
    if (!Held) ++FNumCellControls;
    FControlList->AddControl(RealCol, RealR, Value);
    GetCellProperties(RealCol, DisplRow)->SetControl(Value);
    Value->SetParent(this);
    const TRect R = CellRect(DisplColIndex(RealCol), DisplRow);
    Value->SetBounds(R.Left - 1, R.Top - 1, R.Right - R.Left + 1, R.Bottom - R.Top + 1);
}

// ---- other members of the family ---------------------------------------------------------------------------
void TExtStringGrid::SetIntegralHeight(bool Value) {
    FIntegralHeight = Value;
    SetBounds(Left(), Top(), Width(), Height());
}
