#include "grid/base/BaseGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Messages.h"

#include <QtGlobal>

#include <algorithm>

bool IsCellGraphicObject(const TObject* Obj) { return Obj && Obj->ClassName() == QLatin1String("TCellGraphic"); }

// ---- TCellProperties --------------------------------------------------------------------------
TCellProperties::TCellProperties(TBaseGrid* AOwner, int ACol, int ARow)
    : FOwnerGrid(AOwner), FOwnerCol(ACol), FOwnerRow(ARow) {
    if (FOwnerGrid) {
        FWordWrap = FOwnerGrid->FWordWrap;
        FOwnerGrid->FHasCellProps = true;
        FOwnerGrid->FRecords.insert(this);
    }
}

TCellProperties::~TCellProperties() {
    if (IsCellGraphicObject(FGraphicObject)) delete FGraphicObject;
    FGraphicObject = nullptr;
    if (FOwnerGrid) FOwnerGrid->ForgetRecord(this);
}

void TCellProperties::RepaintOwnerCell() {
    if (FOwnerGrid) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value) {
    FBrushColor = Value;
    RepaintOwnerCell();
}
void TCellProperties::SetBrushColorTo(TColor Value) {
    FBrushColorTo = Value;
    RepaintOwnerCell();
}
void TCellProperties::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    RepaintOwnerCell();
}
void TCellProperties::SetWordWrap(bool Value) {
    FWordWrap = Value;
    RepaintOwnerCell();
}

TPoint TCellProperties::GetBaseCell(int c, int r) const {
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1) return Point(c - FCellSpanX, r - FCellSpanY);
    return Point(c, r);
}

void TCellProperties::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TCellProperties*>(Source);
    if (!S || S == this) return;
    FIsBaseCell = S->FIsBaseCell;
    FCellSpanX = S->FCellSpanX;
    FCellSpanY = S->FCellSpanY;
    FOwnerRow = S->FOwnerRow;
    FOwnerCol = S->FOwnerCol;
    FObject = S->FObject;
    FAlignment = S->FAlignment;
    FBorderColor = S->FBorderColor;
    FBorderWidth = S->FBorderWidth;
    FBrushColor = S->FBrushColor;
    FBrushStyle = S->FBrushStyle;
    FFontColor = S->FFontColor;
    FFontStyle = S->FFontStyle;
    FFontName = S->FFontName;
    FFontSize = S->FFontSize;
    FReadOnly = S->FReadOnly;
    FEditor = S->FEditor;
    FVAlignment = S->FVAlignment;
    FWordWrap = S->FWordWrap;
    FNodeLevel = S->FNodeLevel;
    FControl = S->FControl;
}

// ---- undo/redo --------------------------------------------------------------------------------
TUndoRedoItem* TUndoRedoCollection::Add() {
    FItems.push_back(std::make_unique<TUndoRedoItem>());
    return FItems.back().get();
}

void TUndoRedoCollection::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FItems.erase(FItems.begin() + Index);
}

TExtGridUndoRedo::TExtGridUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>()) {}

TExtGridUndoRedo::~TExtGridUndoRedo() = default;

void TExtGridUndoRedo::RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue) {
    if (FMaxLevel > 0 && FItems->Count() >= FMaxLevel) FItems->Delete(0);
    TUndoRedoItem* It = FItems->Add();
    It->SetCol(ACol);
    It->SetRow(ARow);
    It->SetValue(NewValue);
    It->SetOrigValue(OldValue);
    FLevel = FItems->Count();
}

void TExtGridUndoRedo::AddMarker(bool Start) {
    TUndoRedoItem* It = FItems->Add();
    It->SetCol(-1);
    It->SetRow(-1);
    It->SetSequenceStart(Start);
    It->SetSequenceStop(!Start);
    FLevel = FItems->Count();
}

void TExtGridUndoRedo::StartSequence() { AddMarker(true); }
void TExtGridUndoRedo::StopSequence() { AddMarker(false); }

void TExtGridUndoRedo::Reset() {
    FItems->Clear();
    FLevel = 0;
}

void TExtGridUndoRedo::MoveGridTo(int ACol, int ARow) {
    // A record may name a cell the grid no longer shows (rows removed, column hidden since):
    // the text is restored all the same, the current cell stays where it is.
    const int DisplCol = FGrid->DisplColIndex(ACol);
    if (DisplCol < FGrid->PlatformFixedCols() || DisplCol >= FGrid->ColCount()) return;
    if (ARow < FGrid->PlatformFixedRows() || ARow >= FGrid->RowCount()) return;
    FGrid->SetCol(DisplCol);
    FGrid->SetRow(ARow);
}

// The record's texts are copied before the event runs: a handler may reset or trim the list,
// which frees the record.
void TExtGridUndoRedo::Restore(TUndoRedoItem* X) {
    const int ACol = X->Col(), ARow = X->Row();
    const QString Text = X->OrigValue();
    if (OnUndo) OnUndo(this, FGrid, ACol, ARow, FGrid->GetCellEx(ACol, ARow), Text);
    if (!FGrid) return; // the handler freed the grid
    FGrid->SetCellEx(ACol, ARow, Text);
    MoveGridTo(ACol, ARow);
}

void TExtGridUndoRedo::Reapply(TUndoRedoItem* X) {
    const int ACol = X->Col(), ARow = X->Row();
    const QString Text = X->Value();
    if (OnRedo) OnRedo(this, FGrid, ACol, ARow, FGrid->GetCellEx(ACol, ARow), Text);
    if (!FGrid) return; // the handler freed the grid
    FGrid->SetCellEx(ACol, ARow, Text);
    MoveGridTo(ACol, ARow);
}

void TExtGridUndoRedo::ClampLevel() { FLevel = std::clamp(FLevel, 0, FItems->Count()); }

void TExtGridUndoRedo::Undo() {
    if (!FGrid || FLevel == 0 || FItems->Count() < FLevel) return;
    TUndoRedoItem* R = FItems->Items(FLevel - 1);
    if (R->SequenceStop()) {
        FLevel--;
        // The list is asked afresh each step: an event handler may have shortened it.
        while (FGrid && FLevel > 0 && FLevel <= FItems->Count() && !FItems->Items(FLevel - 1)->SequenceStart()) {
            Restore(FItems->Items(FLevel - 1));
            FLevel--;
        }
        // The start marker may have been trimmed away by MaxLevel: never step below the list.
        if (FLevel > 0) FLevel--;
        ClampLevel();
        if (FGrid) FGrid->Invalidate();
    } else if (R->SequenceStart()) {
        // A sequence still open: nothing of it to restore, step over its start.
        FLevel--;
    } else {
        const int ARow = R->Row();
        Restore(R);
        if (FGrid) FGrid->RepaintCell(FGrid->Col(), ARow);
        FLevel--;
        ClampLevel();
    }
}

void TExtGridUndoRedo::Redo() {
    if (!FGrid || FLevel >= FItems->Count()) return;
    TUndoRedoItem* R = FItems->Items(FLevel);
    FLevel++;
    if (R->SequenceStart()) {
        // Re-apply up to the stop marker; a sequence without one runs to the end of the list, so
        // no record is marked done without being re-applied.
        int Idx = FLevel;
        while (FGrid && Idx < FItems->Count() && !FItems->Items(Idx)->SequenceStop()) {
            Reapply(FItems->Items(Idx));
            Idx++;
        }
        FLevel = Idx < FItems->Count() ? Idx + 1 : FItems->Count();
        if (FGrid) FGrid->Invalidate();
    } else if (!R->SequenceStop()) {
        Reapply(R);
        ClampLevel();
    }
}

void TExtGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FGrid && AComponent == static_cast<TComponent*>(FGrid)) FGrid = nullptr;
}

// ---- TBaseGrid: life ----------------------------------------------------------------------------
TBaseGrid::TBaseGrid(TComponent* AOwner) : TObjStringGrid(AOwner) { SetDefaultDrawing(false); }

TBaseGrid::~TBaseGrid() {
    FDestroying = true;
    if (FUndoRedo) {
        // The component may have been linked to another grid since: that link stays.
        if (FUndoRedo->Grid() == this) FUndoRedo->SetGrid(nullptr);
        FUndoRedo->RemoveFreeNotification(this);
        RemoveFreeNotification(FUndoRedo);
        FUndoRedo = nullptr;
    }
    FreeAllCellProps();
    // Records outside the counts (hidden columns, shrunk counts, cleared slots) go too.
    const std::vector<TCellProperties*> Left(FRecords.begin(), FRecords.end());
    for (TCellProperties* P : Left) {
        if (P->OwnerCol() >= 0 && P->OwnerRow() >= 0 && Objects(P->OwnerCol(), P->OwnerRow()) == P)
            SetObjects(P->OwnerCol(), P->OwnerRow(), nullptr);
        delete P;
    }
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TObjStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && FUndoRedo && AComponent == static_cast<TComponent*>(FUndoRedo)) FUndoRedo = nullptr;
}

void TBaseGrid::SetUndoRedo(TExtGridUndoRedo* Value) {
    if (FUndoRedo == Value) return;
    if (FUndoRedo) {
        if (FUndoRedo->Grid() == this) FUndoRedo->SetGrid(nullptr);
        FUndoRedo->RemoveFreeNotification(this);
        RemoveFreeNotification(FUndoRedo);
    }
    FUndoRedo = Value;
    if (FUndoRedo) {
        FUndoRedo->SetGrid(this);
        // Each side forgets the other when it goes first.
        FreeNotification(FUndoRedo);
        FUndoRedo->FreeNotification(this);
    }
}

// ---- properties -------------------------------------------------------------------------------
void TBaseGrid::SetGridLineColor(TColor Value) {
    FGridLineColor = Value;
    Invalidate();
}
void TBaseGrid::SetGridFixedLineColor(TColor Value) {
    FGridFixedLineColor = Value;
    Invalidate();
}

#define BASEGRID_CHANGED_SETTER(Name, Field, Type)                                                                     \
    void TBaseGrid::Set##Name(Type Value) {                                                                            \
        if (Field == Value) return;                                                                                    \
        Field = Value;                                                                                                 \
        Invalidate();                                                                                                  \
    }
BASEGRID_CHANGED_SETTER(ActiveRowShow, FActiveRowShow, bool)
BASEGRID_CHANGED_SETTER(ActiveRowColor, FActiveRowColor, TColor)
BASEGRID_CHANGED_SETTER(ActiveRowColorTo, FActiveRowColorTo, TColor)
BASEGRID_CHANGED_SETTER(ActiveRowMirrorColor, FActiveRowMirrorColor, TColor)
BASEGRID_CHANGED_SETTER(ActiveRowMirrorColorTo, FActiveRowMirrorColorTo, TColor)
BASEGRID_CHANGED_SETTER(SelectionStyle, FSelectionStyle, TGridSelectionStyle)
#undef BASEGRID_CHANGED_SETTER

// ---- cell text ----------------------------------------------------------------------------------
QString TBaseGrid::GetCellEx(int c, int r) {
    int bc = c, br = r;
    if (TCellProperties* P = PropsAt(c, r)) {
        TPoint B = P->GetBaseCell(c, r);
        bc = B.X;
        br = B.Y;
    }
    QString Result = Cells(bc, br);
    if (br < FNormalRowCount) {
        GetDisplText(bc, br, Result);
        if (OnGetDisplWideText) {
            QString Wide = DecodeWideCellText(Result);
            GetDisplWideText(bc, br, Wide);
            Result = EncodeWideCellText(Wide);
        }
    }
    return Result;
}

void TBaseGrid::SetCellEx(int c, int r, const QString& Value) {
    if (TCellProperties* P = PropsAt(c, r)) {
        TPoint B = P->GetBaseCell(c, r);
        SetCells(B.X, B.Y, Value);
        CellTextChanged(B.X, B.Y);
        if (Parent()) RepaintCell(c, r);
    } else {
        SetCells(c, r, Value);
    }
    if (FHideLastRow && r == RowCount() - 1) UpdateHiddenLastRow();
}

// ---- records ----------------------------------------------------------------------------------
TCellProperties* TBaseGrid::PropsAt(int c, int r) const {
    if (c < 0 || c >= TotalColCount() || r < 0 || r >= RowCount()) return nullptr;
    return dynamic_cast<TCellProperties*>(Objects(c, r));
}

bool TBaseGrid::HasCellProperties(int c, int r) const { return PropsAt(c, r) != nullptr; }

TCellProperties* TBaseGrid::CreateCellProperties(int c, int r, bool Seed) {
    auto* P = new TCellProperties(this, c, r);
    try {
        SetObjects(c, r, P); // a negative index raises the list error
    } catch (...) {
        delete P;
        throw;
    }
    TFont AFont;
    TBrush ABrush;
    TColor ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = FWordWrap;
    TCellGradientDirection GD = GradientVertical;
    GetCellDefaults(c, r, &AFont, &ABrush, ColorTo, MirrorColor, MirrorColorTo, HA, VA, WW, GD);
    if (Seed) P->FCalcType = acNONE;
    // Seeded straight into the fields: the record is new, nothing of it is painted yet.
    P->FAlignment = HA;
    P->FVAlignment = VA;
    P->FWordWrap = WW;
    P->FFontName = AFont.Name();
    P->FFontSize = AFont.Size();
    P->FFontStyle = AFont.Style();
    P->FFontColor = AFont.Color();
    P->FBrushColor = ABrush.Color();
    P->FBrushColorTo = ColorTo;
    P->FGradientDirection = GD;
    return P;
}

TCellProperties* TBaseGrid::GetCellProperties(int c, int r) {
    if (auto* P = dynamic_cast<TCellProperties*>(Objects(c, r))) return P;
    return CreateCellProperties(c, r, true);
}

void TBaseGrid::SetCellProperties(int c, int r, TCellProperties* Value) {
    TObject* Old = Objects(c, r);
    if (Old == Value) return;
    SetObjects(c, r, Value);
    delete Old;
}

TObject* TBaseGrid::GetObjectEx(int c, int r) {
    auto* P = dynamic_cast<TCellProperties*>(Objects(c, r));
    return P ? reinterpret_cast<TObject*>(P->CellObject()) : nullptr;
}

void TBaseGrid::SetObjectEx(int c, int r, TObject* Value) {
    const bool Blank = GetCellEx(c, r).isEmpty();
    if (Blank) SetCellEx(c, r, QStringLiteral(" "));
    GetCellProperties(c, r)->SetCellObject(reinterpret_cast<uintptr_t>(Value));
    if (Blank) SetCellEx(c, r, QString());
}

TObject* TBaseGrid::GetGraphicObjectEx(int c, int r) {
    auto* P = dynamic_cast<TCellProperties*>(Objects(c, r));
    return P ? P->FGraphicObject : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int c, int r, TObject* Value) {
    if (FDestroying || ComponentState().Contains(csDestroying)) return;
    const bool Blank = GetCellEx(c, r).isEmpty();
    if (Blank) SetCellEx(c, r, QStringLiteral(" "));
    auto* P = dynamic_cast<TCellProperties*>(Objects(c, r));
    if (!P) P = CreateCellProperties(c, r, false);
    P->FGraphicObject = Value;
    if (Blank) SetCellEx(c, r, QString());
}

// ---- merged cells -----------------------------------------------------------------------------
void TBaseGrid::MergeCells(int c, int r, int spanx, int spany) {
    FMergeCount++;
    if (spanx < 1 || spany < 1) return;
    for (int i = c; i < c + spanx; ++i) {
        for (int j = r; j < r + spany; ++j) {
            TCellProperties* P = GetCellProperties(i, j);
            const bool Base = i == c && j == r;
            P->SetIsBaseCell(Base);
            P->SetCellSpanX(Base ? spanx - 1 : i - c);
            P->SetCellSpanY(Base ? spany - 1 : j - r);
        }
    }
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j) RepaintCell(i, j);
}

void TBaseGrid::SplitCells(int c, int r) {
    TCellProperties* P = GetCellProperties(c, r);
    TPoint B = P->GetBaseCell(c, r);
    auto* BP = dynamic_cast<TCellProperties*>(Objects(B.X, B.Y));
    const int sx = BP ? BP->CellSpanX() : -1;
    const int sy = BP ? BP->CellSpanY() : -1;
    for (int i = B.X; i <= B.X + sx; ++i) {
        for (int j = B.Y; j <= B.Y + sy; ++j) {
            TCellProperties* Q = GetCellProperties(i, j);
            Q->SetIsBaseCell(true);
            Q->SetCellSpanX(-1);
            Q->SetCellSpanY(-1);
        }
    }
    for (int i = B.X; i <= B.X + sx; ++i)
        for (int j = B.Y; j <= B.Y + sy; ++j) RepaintCell(i, j);
    FMergeCount--;
}

bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
    BaseCol = ACol;
    BaseRow = ARow;
    TCellProperties* P = PropsAt(ACol, ARow);
    if (!P) return true;
    TPoint B = P->GetBaseCell(ACol, ARow);
    BaseCol = B.X;
    BaseRow = B.Y;
    return P->IsBaseCell();
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const {
    int bc, br;
    ResolveBaseCell(ACol, ARow, bc, br);
    return Point(bc, br);
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const {
    TCellProperties* P = PropsAt(ACol, ARow);
    return !P || P->IsBaseCell();
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const {
    TCellProperties* P = PropsAt(ACol, ARow);
    return P && (P->CellSpanX() > 0 || P->CellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const {
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const {
    if (!PropsAt(ACol, ARow)) return false;
    TPoint B = BaseCell(ACol, ARow);
    TCellProperties* BP = PropsAt(B.X, B.Y);
    return BP && BP->CellSpanX() > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const {
    if (!PropsAt(ACol, ARow)) return false;
    TPoint B = BaseCell(ACol, ARow);
    TCellProperties* BP = PropsAt(B.X, B.Y);
    return BP && BP->CellSpanY() > 0;
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const {
    TCellProperties* P = PropsAt(ACol, ARow);
    if (!P || P->CellSpanX() == -1 || P->CellSpanY() == -1) return Point(0, 0);
    TPoint B = P->GetBaseCell(ACol, ARow);
    TCellProperties* BP = PropsAt(B.X, B.Y);
    if (!BP) return Point(0, 0);
    return Point(BP->CellSpanX(), BP->CellSpanY());
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const {
    TCellProperties* P = PropsAt(ACol, ARow);
    if (!P || P->CellSpanX() == -1 || P->CellSpanY() == -1) return Point(0, 0);
    TPoint B = P->GetBaseCell(ACol, ARow);
    TCellProperties* BP = PropsAt(B.X, B.Y);
    if (!BP) return Point(0, 0);
    return Point(B.X + BP->CellSpanX() - ACol, B.Y + BP->CellSpanY() - ARow);
}

TGridRect TBaseGrid::FullCell(int ACol, int ARow) const {
    TPoint B = BaseCell(ACol, ARow);
    TPoint S = CellSpan(ACol, ARow);
    return GridRect(B.X, B.Y, B.X + S.X, B.Y + S.Y);
}

int TBaseGrid::MinRowSpan(int ARow) const {
    int Result = RowCount();
    for (int c = 0; c < ColCount(); ++c) {
        const int Y = CellSpan(c, ARow).Y;
        if (Y > 0 && Y < Result) Result = Y;
    }
    return Result;
}

int TBaseGrid::MaxRowSpan(int ARow) const {
    int Result = 0;
    for (int c = 0; c < ColCount(); ++c) Result = std::max(Result, CellSpan(c, ARow).Y);
    return Result;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const {
    bool Any = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
            Any = true;
        }
    }
    return Any;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const {
    bool Matched = false;
    for (int r = 0; r < RowCount(); ++r) {
        const TPoint S1 = CellSpan(ACol1, r);
        const TPoint S2 = CellSpan(ACol2, r);
        if (S1.X > 0 && S2.X > 0) {
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
            Matched = true;
        } else if (S1.X != S2.X) {
            return false;
        }
    }
    return Matched;
}

// ---- geometry ---------------------------------------------------------------------------------
TRect TBaseGrid::CellRectAnywhere(int c, int r) const {
    TRect R;
    for (int i = 0; i < c; ++i) R.Left += ColWidths(i);
    for (int j = 0; j < r; ++j) R.Top += RowHeights(j);
    R.Right = R.Left + ColWidths(c);
    R.Bottom = R.Top + RowHeights(r);
    if (c >= PlatformFixedCols() || r >= PlatformFixedRows()) {
        const TRect Origin = TCustomGrid::CellRect(LeftCol(), TopRow());
        if (c >= PlatformFixedCols()) {
            int Scrolled = 0;
            for (int i = 0; i < LeftCol(); ++i) Scrolled += ColWidths(i);
            const int D = Origin.Left - Scrolled;
            R.Left += D;
            R.Right += D;
        }
        if (r >= PlatformFixedRows()) {
            int Scrolled = 0;
            for (int j = 0; j < TopRow(); ++j) Scrolled += RowHeights(j);
            const int D = Origin.Top - Scrolled;
            R.Top += D;
            R.Bottom += D;
        }
    }
    return R;
}

TRect TBaseGrid::CellRect(int c, int r) const {
    TCellProperties* P = PropsAt(c, r);
    if (P && (P->CellSpanX() != -1 || P->CellSpanY() != -1)) {
        const TPoint B = P->GetBaseCell(c, r);
        TCellProperties* BP = PropsAt(B.X, B.Y);
        const int sx = BP ? std::max(BP->CellSpanX(), 0) : 0;
        const int sy = BP ? std::max(BP->CellSpanY(), 0) : 0;
        TRect R1 = CellRectAnywhere(B.X, B.Y);
        if (R1.Width() == 0) R1.Right++;
        TRect R2 = CellRectAnywhere(B.X + sx, B.Y + sy);
        if (R2.Width() == 0) R2.Left--;
        return Rect(std::min(R1.Left, R2.Left), std::min(R1.Top, R2.Top), std::max(R1.Right, R2.Right),
                    std::max(R1.Bottom, R2.Bottom));
    }
    if (P && P->Control()) return CellRectAnywhere(c, r);
    const TRect R = TCustomGrid::CellRect(c, r);
    return Bounds(R.Left, R.Top, ColWidths(c), RowHeights(r));
}

TPoint TBaseGrid::CellSize(int c, int r) const {
    if (IsMergedCell(c, r)) {
        const TGridRect F = FullCell(c, r);
        const TRect R1 = CellRectAnywhere(F.Left, F.Top);
        const TRect R2 = CellRectAnywhere(F.Right, F.Bottom);
        return Point(std::max(R1.Right, R2.Right) - std::min(R1.Left, R2.Left),
                     std::max(R1.Bottom, R2.Bottom) - std::min(R1.Top, R2.Top));
    }
    return Point(ColWidths(c), RowHeights(r));
}

void TBaseGrid::RepaintCell(int c, int r) {
    if (!HandleAllocated()) return;
    InvalidateRect(CellRect(c, r));
}

int TBaseGrid::FixedColsWidth() const {
    int W = 0;
    for (int i = 0; i < PlatformFixedCols(); ++i) W += ColWidths(i);
    return W;
}

int TBaseGrid::FixedRowsHeight() const {
    int H = 0;
    for (int j = 0; j < PlatformFixedRows(); ++j) H += RowHeights(j);
    return H;
}

// ---- clearing and freeing ---------------------------------------------------------------------
void TBaseGrid::ClearColCells(int ACol) {
    for (int r = 0; r < RowCount(); ++r) {
        SetObjects(ACol, r, nullptr);
        SetCellEx(ACol, r, QString());
    }
}

void TBaseGrid::ClearRowCells(int ARow) {
    for (int c = 0; c < ColCount(); ++c) {
        SetObjects(c, ARow, nullptr);
        SetCellEx(c, ARow, QString());
    }
}

void TBaseGrid::ClearCellAndObject(int ACol, int ARow) {
    SetCellEx(ACol, ARow, QString());
    SetObjects(ACol, ARow, nullptr);
}

void TBaseGrid::FreeCellPropsRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    if (!FHasCellProps) return;
    for (int c = ACol1; c <= ACol2; ++c) {
        for (int r = ARow1; r <= ARow2; ++r) {
            auto* P = dynamic_cast<TCellProperties*>(Objects(c, r));
            if (!P) continue;
            SetObjects(c, r, nullptr);
            delete P; // takes its cell graphic with it; other graphic classes stay with their owner
        }
    }
}

void TBaseGrid::FreeCellProps(int ACol, int ARow) {
    auto* P = dynamic_cast<TCellProperties*>(Objects(ACol, ARow));
    if (!P) return;
    SetObjects(ACol, ARow, nullptr);
    delete P;
}

void TBaseGrid::FreeAllCellProps() { FreeCellPropsRect(0, 0, ColCount() - 1, RowCount() - 1); }

// ---- virtual operations -----------------------------------------------------------------------
bool TBaseGrid::IsFixed(int, int) { return false; }
int TBaseGrid::GetNodeIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }

void TBaseGrid::DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
    if (!ACanvas) return;
    ACanvas->DrawText(GetCellEx(ACol, ARow), ARect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TBaseGrid::UpdateHiddenLastRow() {}

void TBaseGrid::GetDisplText(int ACol, int ARow, QString& Value) {
    if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, QString& Value) {
    if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetCellDefaults(int, int, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                                TColor& MirrorColorTo, TAlignment& HA, TVAlignment& VA, bool& WW,
                                TCellGradientDirection& GD) {
    if (AFont) AFont->Assign(Font());
    if (ABrush) ABrush->SetColor(Color());
    ColorTo = clNone;
    MirrorColor = clNone;
    MirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vtaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

void TBaseGrid::CellTextChanged(int, int) {}
bool TBaseGrid::HasCellBorders() { return false; }
bool TBaseGrid::UsesPlatformStyles() { return false; }

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush*, TColor&, TColor&, TColor&,
                                    TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&) {}

// ---- platform overrides -----------------------------------------------------------------------
void TBaseGrid::Paint() {
    TObjStringGrid::Paint();
    FPaintID++;
}

bool TBaseGrid::SelectCell(int ACol, int ARow) {
    if (layoutDirection() == Qt::RightToLeft) {
        const bool Result = TObjStringGrid::SelectCell(ACol, ARow);
        Invalidate();
        return Result;
    }
    RepaintCell(Col(), Row());
    const bool Result = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return Result;
}

void TBaseGrid::SnapToBaseCell() {
    TCellProperties* P = PropsAt(Col(), Row());
    if (!P) return;
    const TPoint B = P->GetBaseCell(Col(), Row());
    if (B.X != Col()) SetCol(B.X);
    if (B.Y != Row()) SetRow(B.Y);
}

void TBaseGrid::KeyDown(Word& Key, TShiftState Shift) {
    TCellProperties* Cur = PropsAt(Col(), Row());
    int bx = Col(), by = Row();
    TCellProperties* P = nullptr;
    if (Cur) {
        const TPoint B = Cur->GetBaseCell(Col(), Row());
        bx = B.X;
        by = B.Y;
        P = PropsAt(bx, by);
    }
    const int SpanX = P ? std::max(P->CellSpanX(), 0) : 0;
    const int SpanY = P ? std::max(P->CellSpanY(), 0) : 0;
    switch (Key) {
        case VK_NEXT:
            if (VisibleRowCount() + TopRow() - PlatformFixedRows() == RowCount() - 1 && FHideLastRow && RowCount() > 1)
                SetRow(RowCount() - 2);
            break;
        case VK_LEFT:
            // From a covered cell: onto the base, so that the step below leaves the area.
            if (P && bx < Col() && Col() > PlatformFixedCols() && bx > 0) SetCol(bx);
            break;
        case VK_UP:
            if (P && by < Row() && Row() > PlatformFixedRows() && by > 0) SetRow(by);
            break;
        case VK_RIGHT: {
            const int E = bx + SpanX;
            if (P && E >= Col() && Col() < ColCount() - 1 && bx < ColCount() - 1 && E < ColCount()) SetCol(E);
            break;
        }
        case VK_DOWN: {
            const int E = by + SpanY;
            if (P && E >= Row() && Row() < RowCount() - 1 && by < RowCount() - 1 && E < RowCount()) SetRow(E);
            break;
        }
        default: break;
    }
    TObjStringGrid::KeyDown(Key, Shift);
    SnapToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const bool Result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && FHideLastRow) SetTopRow(TopRow() + 1);
    SnapToBaseCell();
    return Result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool Result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    SnapToBaseCell();
    return Result;
}

void TBaseGrid::RepaintFixedColMerges() {
    if (PlatformFixedCols() <= 0) return;
    for (int c = 0; c < PlatformFixedCols(); ++c)
        for (int r = TopRow(); r <= TopRow() + VisibleRowCount(); ++r)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::RepaintFixedRowMerges() {
    if (PlatformFixedRows() <= 0) return;
    for (int r = 0; r < PlatformFixedRows(); ++r)
        for (int c = LeftCol(); c <= LeftCol() + VisibleColCount(); ++c)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::TopLeftChanged() {
    TObjStringGrid::TopLeftChanged();
    RepaintFixedColMerges();
    RepaintFixedRowMerges();
}
