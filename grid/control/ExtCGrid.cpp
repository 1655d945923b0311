// Unit ExtCGrid: column items, their collection, and the column grid's construction, count,
// headers and widths. The per-cell overrides are in ExtCGrid_Cells.cpp.
#include "grid/control/ExtCGrid.h"

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StateScope.h"

#include <typeinfo>

// ---- TGridColumnItem ------------------------------------------------------------------------------
TGridColumnItem::TGridColumnItem(TGridColumnCollection* ACollection)
    : FCollection(ACollection), FFont(std::make_unique<TFont>()), FComboItems(std::make_unique<TStringList>()),
      FPrintFont(std::make_unique<TFont>()), FBorderPen(std::make_unique<TPen>()),
      FPrintBorderPen(std::make_unique<TPen>()), FFilter(std::make_unique<TStringList>()),
      FHeaderFont(std::make_unique<TFont>()) {
    FBorderPen->SetColor(clSilver);
    FPrintBorderPen->SetColor(0);
    TExtColumnGrid* G = Grid();
    if (!G) return;
    FFont->Assign(G->Font());
    FPrintFont->Assign(G->Font());
    FHeaderFont->Assign(G->Font());
    FColor = G->Color();
    FFont->OnChange = [this](TObject*) { Notify(); };
    FHeaderFont->OnChange = [this](TObject*) { Notify(); };
    FBorderPen->OnChange = [this](TObject*) { Notify(); };
    FFilter->OnChange = [this](TObject*) { Repaint(); };
}

TGridColumnItem::~TGridColumnItem() {
    // The owned objects go with the item; their change handlers must not reach back into it.
    FFont->OnChange = nullptr;
    FHeaderFont->OnChange = nullptr;
    FBorderPen->OnChange = nullptr;
    FFilter->OnChange = nullptr;
}

TExtColumnGrid* TGridColumnItem::Grid() const { return FCollection ? FCollection->FOwner : nullptr; }

int TGridColumnItem::Index() const {
    if (!FCollection) return -1;
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->FItems[size_t(i)].get() == this) return i;
    return -1;
}

void TGridColumnItem::Notify() {
    if (FCollection) FCollection->Changed(this);
}

void TGridColumnItem::Repaint() {
    if (TExtColumnGrid* G = Grid()) G->Invalidate();
}

QString TGridColumnItem::GetDisplayName() const {
    const QString I = QString::number(Index());
    if (FName.isEmpty()) return QStringLiteral("Column ") + I;
    return QStringLiteral("Col ") + I + QStringLiteral(": ") + FName;
}

int TGridColumnItem::Width() const {
    TExtColumnGrid* G = Grid();
    if (!G) return 0;
    return G->AllColWidths(Index());
}

void TGridColumnItem::SetWidth(int Value) {
    FWidth = Value;
    if (TExtColumnGrid* G = Grid()) G->SetAllColWidths(Index(), Value);
}

void TGridColumnItem::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Repaint();
}

void TGridColumnItem::SetHeader(const QString& Value) {
    FColumnHeader = Value;
    TExtColumnGrid* G = Grid();
    if (!G) return;
    if (G->FixedRows() > 0 && !G->FColMoving) {
        G->SetCellEx(Index(), 0, Value);
        Notify();
    }
    G->ColumnHeaders()->Clear();
    for (const auto& It : FCollection->FItems) G->ColumnHeaders()->Add(It->FColumnHeader);
}

void TGridColumnItem::SetFont(TFont* Value) { FFont->Assign(Value); }

void TGridColumnItem::SetColor(TColor Value) {
    FColor = Value;
    Notify();
}

void TGridColumnItem::SetShowBands(bool Value) {
    FShowBands = Value;
    Notify();
}

void TGridColumnItem::SetFixed(bool Value) {
    FFixed = Value;
    Notify();
}

void TGridColumnItem::SetPassword(bool Value) {
    FPassword = Value;
    Notify();
}

void TGridColumnItem::SetBorders(TCellBorders Value) {
    FBorders = Value;
    Notify();
}

void TGridColumnItem::SetBorderPen(TPen* Value) { FBorderPen->Assign(Value); }
void TGridColumnItem::SetPrintBorderPen(TPen* Value) { FPrintBorderPen->Assign(Value); }

void TGridColumnItem::SetComboItems(TStrings* Value) { FComboItems->Assign(Value); }

void TGridColumnItem::SetFilter(TStrings* Value) { FFilter->Assign(Value); }

void TGridColumnItem::SetPrintFont(TFont* Value) {
    // The print font reports nothing: only the screen fonts repaint.
    FPrintFont->Assign(Value);
}

void TGridColumnItem::SetHeaderFont(TFont* Value) {
    {
        // One repaint for the whole copy rather than a notification per setting.
        TStateScope<TNotifyEvent> Quiet(FHeaderFont->OnChange, nullptr);
        FHeaderFont->Assign(Value);
    }
    Repaint();
}

void TGridColumnItem::SetHeaderAlignment(TAlignment Value) {
    FHeaderAlignment = Value;
    Repaint();
}

void TGridColumnItem::SetFloatFormat(const QString& Value) {
    FFloatFormat = Value;
    Repaint();
}

void TGridColumnItem::SetEditor(TEditorType Value) {
    if (Value == FEditorType) return;
    const bool Redraw = Value == edDataCheckBox || FEditorType == edDataCheckBox;
    FEditorType = Value;
    if (Redraw) Repaint();
}

void TGridColumnItem::CopyFrom(const TGridColumnItem& S, bool Visuals) {
    // The owned objects are copied with their notifications held: Assign writes no grid.
    TStateScope<TNotifyEvent> Q1(FFont->OnChange, nullptr);
    TStateScope<TNotifyEvent> Q2(FHeaderFont->OnChange, nullptr);
    TStateScope<TNotifyEvent> Q3(FBorderPen->OnChange, nullptr);
    TStateScope<TNotifyEvent> Q4(FFilter->OnChange, nullptr);
    FAlignment = S.FAlignment;
    FHeaderAlignment = S.FHeaderAlignment;
    FBorderPen->Assign(S.FBorderPen.get());
    FBorders = S.FBorders;
    FCheckFalse = S.FCheckFalse;
    FCheckTrue = S.FCheckTrue;
    FEditLength = S.FEditLength;
    FEditLink = S.FEditLink;
    FEditMask = S.FEditMask;
    FEditorType = S.FEditorType;
    FFixed = S.FFixed;
    FPassword = S.FPassword;
    FPrintBorderPen->Assign(S.FPrintBorderPen.get());
    FPrintBorders = S.FPrintBorders;
    FPrintColor = S.FPrintColor;
    FPrintFont->Assign(S.FPrintFont.get());
    FReadOnly = S.FReadOnly;
    FSortPrefix = S.FSortPrefix;
    FSortStyle = S.FSortStyle;
    FSortSuffix = S.FSortSuffix;
    FSpinMax = S.FSpinMax;
    FSpinMin = S.FSpinMin;
    FSpinStep = S.FSpinStep;
    FColumnPopup = S.FColumnPopup;
    FWidth = S.Width();
    FShowBands = S.FShowBands;
    FMinSize = S.FMinSize;
    FMaxSize = S.FMaxSize;
    FAutoMinSize = S.FAutoMinSize;
    FAutoMaxSize = S.FAutoMaxSize;
    FFilter->Assign(S.FFilter.get());
    FFilterCaseSensitive = S.FFilterCaseSensitive;
    FDefIdx = S.FDefIdx;
    FFloatFormat = S.FFloatFormat;
    if (Visuals) {
        if (TExtColumnGrid* G = Grid()) {
            FFont->Assign(G->Font());
            FColor = G->Color();
        }
        return;
    }
    FColor = S.FColor;
    FComboItems->Assign(S.FComboItems.get());
    FDropDownCount = S.FDropDownCount;
    FFont->Assign(S.FFont.get());
    FHeaderFont->Assign(S.FHeaderFont.get());
    FColumnHeader = S.FColumnHeader;
    FName = S.FName;
    FTag = S.FTag;
}

void TGridColumnItem::Assign(TPersistent* Source) {
    if (auto* S = dynamic_cast<TGridColumnItem*>(Source); S && S != this) CopyFrom(*S, false);
}

void TGridColumnItem::AssignVisuals(TPersistent* Source) {
    if (auto* S = dynamic_cast<TGridColumnItem*>(Source); S && S != this) CopyFrom(*S, true);
}

QString TGridColumnItem::Rows(int ARow) const { return Grid() ? Grid()->GetCellEx(Index(), ARow) : QString(); }
void TGridColumnItem::SetRows(int ARow, const QString& Value) {
    if (Grid()) Grid()->SetCellEx(Index(), ARow, Value);
}
int TGridColumnItem::Ints(int ARow) const { return Grid() ? Grid()->GetInts(Index(), ARow) : 0; }
void TGridColumnItem::SetInts(int ARow, int Value) {
    if (Grid()) Grid()->SetInts(Index(), ARow, Value);
}
double TGridColumnItem::Floats(int ARow) const { return Grid() ? Grid()->GetFloats(Index(), ARow) : 0.0; }
void TGridColumnItem::SetFloats(int ARow, double Value) {
    if (Grid()) Grid()->SetFloats(Index(), ARow, Value);
}
TDateTime TGridColumnItem::Dates(int ARow) const { return Grid() ? Grid()->GetDates(Index(), ARow) : 0; }
void TGridColumnItem::SetDates(int ARow, TDateTime Value) {
    if (Grid()) Grid()->SetDates(Index(), ARow, Value);
}
TDateTime TGridColumnItem::Times(int ARow) const { return Grid() ? Grid()->GetTimes(Index(), ARow) : 0; }
void TGridColumnItem::SetTimes(int ARow, TDateTime Value) {
    if (Grid()) Grid()->SetTimes(Index(), ARow, Value);
}

// ---- TGridColumnCollection ------------------------------------------------------------------------
TGridColumnCollection::TGridColumnCollection(TExtColumnGrid* AOwner) : FOwner(AOwner) {}

TGridColumnCollection::~TGridColumnCollection() {
    // Items go without the change handling: the grid may be half destroyed.
    FNoRecursiveUpdate = true;
    FItems.clear();
}

TGridColumnItem* TGridColumnCollection::GetItem(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

void TGridColumnCollection::SetItem(int Index, TGridColumnItem* Value) { GetItem(Index)->Assign(Value); }

TGridColumnItem* TGridColumnCollection::Add() {
    FItems.push_back(std::make_unique<TGridColumnItem>(this));
    TGridColumnItem* Item = FItems.back().get();
    if (Count() > 1) Item->AssignVisuals(FItems[size_t(Count() - 2)].get());
    Changed(nullptr);
    return Item;
}

TGridColumnItem* TGridColumnCollection::Insert(int Index) {
    if (Index < 0 || Index > Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    auto It = FItems.insert(FItems.begin() + Index, std::make_unique<TGridColumnItem>(this));
    TGridColumnItem* Item = It->get();
    Changed(nullptr);
    return Item;
}

void TGridColumnCollection::Delete(int Index) {
    GetItem(Index);
    FItems.erase(FItems.begin() + Index);
    Changed(nullptr);
}

void TGridColumnCollection::Clear() {
    FItems.clear();
    Changed(nullptr);
}

void TGridColumnCollection::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TGridColumnCollection*>(Source);
    if (!S || S == this) return;
    BeginUpdate();
    try {
        while (Count() > S->Count()) FItems.pop_back();
        while (Count() < S->Count()) FItems.push_back(std::make_unique<TGridColumnItem>(this));
        for (int i = 0; i < Count(); ++i) FItems[size_t(i)]->Assign(S->FItems[size_t(i)].get());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TGridColumnCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed(nullptr);
}

void TGridColumnCollection::UpdateOverride(TGridColumnItem* Item) {
    (void)Item;
    if (FUpdateCount > 0 || FNoRecursiveUpdate || !FOwner || FOwner->IsLoading() || FOwner->IsDestroying()) return;
    const int n = Count() - FOwner->NumHiddenColumns();
    if (n != FOwner->ColCount() && n > FOwner->FixedCols()) FOwner->SetColCount(n);
    FOwner->RebuildColumnHeaders();
    FOwner->Invalidate();
}

void TGridColumnCollection::SetOrganization() {
    {
        TStateScope<bool> Quiet(FNoRecursiveUpdate, true);
        FOwner->MatchColumnsToColCount();
    }
    for (int i = 0; i < Count(); ++i) FItems[size_t(i)]->FDefIdx = i;
}

void TGridColumnCollection::ResetOrganization() {
    bool Moved = true;
    // Design positions that repeat never settle: the passes stop after as many as the columns
    // can need.
    for (int Pass = 0; Moved && Pass <= Count() * Count(); ++Pass) {
        Moved = false;
        for (int i = 0; i < Count(); ++i) {
            const int D = FItems[size_t(i)]->FDefIdx;
            if (D < i && D >= 0) {
                FOwner->MoveColumn(i, D);
                Moved = true;
            }
        }
    }
}

// ---- TExtColumnGrid: construction, count, headers, widths ---------------------------------------------
TExtColumnGrid::TExtColumnGrid(TComponent* AOwner) : TExtColumnGrid(AOwner, TColumnsMaker{}) {}

TExtColumnGrid::TExtColumnGrid(TComponent* AOwner, const TColumnsMaker& MakeColumns)
    : TExtStringGrid(AOwner), FEditComboItems(std::make_unique<TStringList>()) {
    FColumnsFromMaker = bool(MakeColumns);
    std::unique_ptr<TGridColumnCollection> Collection;
    if (MakeColumns) Collection = MakeColumns(this);
    // Only this class's own maker is reachable from here; a descendant's override is asked
    // after construction.
    if (!Collection) Collection = TExtColumnGrid::CreateColumns();
    InstallColumns(std::move(Collection));
    FCellGraphic = std::make_unique<TCellGraphic>();
    FSaveCol = std::make_unique<TGridColumnItem>(nullptr);
}

void TExtColumnGrid::InstallColumns(std::unique_ptr<TGridColumnCollection> Collection) {
    FColumnCollection = std::move(Collection);
    TStateScope<bool> Quiet(FColumnCollection->FNoRecursiveUpdate, true);
    MatchColumnsToColCount();
}

void TExtColumnGrid::ChangeScaleOverride(int M, int D) {
    TExtStringGrid::ChangeScaleOverride(M, D);
    if (IsDesigning() || M == D || D == 0) return;
    // Every item, hidden columns' too: they come back at the size the others have.
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* It = FColumnCollection->Items(i);
        It->Font()->SetSize(MulDiv(It->Font()->Size(), M, D));
        It->HeaderFont()->SetSize(MulDiv(It->HeaderFont()->Size(), M, D));
    }
}

void TExtColumnGrid::AfterConstruction() {
    TExtStringGrid::AfterConstruction();
    if (FColumnsFromMaker) return;
    std::unique_ptr<TGridColumnCollection> Own = CreateColumns();
    if (!Own) return;
    // The default maker gives what the grid already holds; only a descendant's own kind of
    // collection replaces it.
    const TGridColumnCollection& Made = *Own;
    const TGridColumnCollection& Held = *FColumnCollection;
    if (typeid(Made) == typeid(Held)) return;
    // What the constructors set up in the columns meanwhile goes over to the new collection.
    {
        TStateScope<bool> Quiet(Own->FNoRecursiveUpdate, true);
        Own->Assign(FColumnCollection.get());
    }
    InstallColumns(std::move(Own));
}

TExtColumnGrid::~TExtColumnGrid() {
    FColumnCollection.reset();
    FCellGraphic.reset();
    FSaveCol.reset();
}

std::unique_ptr<TGridColumnCollection> TExtColumnGrid::CreateColumns() {
    return std::make_unique<TGridColumnCollection>(this);
}

void TExtColumnGrid::SetColumns(TGridColumnCollection* Value) { FColumnCollection->Assign(Value); }

QString TExtColumnGrid::GetVersionString() {
    const int V = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4 Aug, 2012")
        .arg((V >> 24) & 0xFF)
        .arg((V >> 16) & 0xFF)
        .arg((V >> 8) & 0xFF)
        .arg(V & 0xFF);
}

void TExtColumnGrid::SetColCount(int Value) {
    TExtStringGrid::SetColCount(Value);
    if (!FColumnCollection) return; // the string grid's constructor sets its count first
    TStateScope<bool> Quiet(FColumnCollection->FNoRecursiveUpdate, true);
    MatchColumnsToColCount();
}

void TExtColumnGrid::MatchColumnsToColCount() {
    TGridColumnCollection* C = FColumnCollection.get();
    if (!C) return;
    const int Want = ColCount() + NumHiddenColumns();
    while (C->Count() < Want) C->Add();
    while (C->Count() > Want) C->Delete(C->Count() - 1);
    if (IsDesigning())
        for (int i = 0; i < ColCount() && FixedRows() < RowCount(); ++i)
            SetCells(RealColIndex(i), FixedRows(), QStringLiteral("Column ") + QString::number(i));
}

void TExtColumnGrid::RebuildColumnHeaders() {
    if (FixedRows() <= 0 || !FColumnCollection) return;
    ColumnHeaders()->Clear();
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* It = FColumnCollection->FItems[size_t(i)].get();
        if (It->FColumnHeader.isEmpty() && !GetCellEx(i, 0).isEmpty()) It->FColumnHeader = GetCellEx(i, 0);
        ColumnHeaders()->Add(It->FColumnHeader);
    }
}

void TExtColumnGrid::ColumnHeadersChanged() {
    if (!FColumnCollection) return;
    for (int i = 0; i < FColumnCollection->Count() && i < ColumnHeaders()->Count(); ++i)
        FColumnCollection->FItems[size_t(i)]->FColumnHeader = ColumnHeaders()->Get(i);
}

TGridColumnItem* TExtColumnGrid::GetColumnByName(const QString& AValue) const {
    for (const auto& It : FColumnCollection->FItems)
        if (It->FName == AValue) return It.get();
    return nullptr;
}

TGridColumnItem* TExtColumnGrid::ItemOf(int RealCol) const {
    if (!FColumnCollection || RealCol < 0 || RealCol >= FColumnCollection->Count()) return nullptr;
    return FColumnCollection->FItems[size_t(RealCol)].get();
}

int TExtColumnGrid::AllColWidths(int RealCol) const {
    if (RealCol < 0) return 0;
    if (IsHiddenColumn(RealCol)) return FColumnMap.SavedWidth(RealCol);
    return ColWidths(DisplColIndex(RealCol));
}

void TExtColumnGrid::SetAllColWidths(int RealCol, int Value) {
    if (RealCol < 0) return;
    if (IsHiddenColumn(RealCol)) {
        // Only the width the column comes back with changes.
        FColumnMap.Show(RealCol);
        FColumnMap.Hide(RealCol, Value);
        return;
    }
    const int D = DisplColIndex(RealCol);
    if (D >= 0 && D < ColCount()) SetColWidths(D, Value);
}

void TExtColumnGrid::Loaded() {
    TExtStringGrid::Loaded();
    {
        TStateScope<bool> Quiet(FColumnCollection->FNoRecursiveUpdate, true);
        MatchColumnsToColCount();
    }
    FColumnCollection->SetOrganization();
}

void TExtColumnGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TExtStringGrid::Notification(AComponent, Operation);
    if (Operation != opRemove || !FColumnCollection) return;
    for (const auto& It : FColumnCollection->FItems) {
        // The references are compared by address only: the component is on its way out.
        const void* Gone = AComponent;
        if (static_cast<const void*>(It->FColumnPopup) == Gone) It->FColumnPopup = nullptr;
        if (static_cast<const void*>(It->FEditLink) == Gone) It->FEditLink = nullptr;
    }
}

void TExtColumnGrid::ColumnMoved(int FromDisplCol, int ToDisplCol) {
    TGridColumnCollection* C = FColumnCollection.get();
    const int RealFrom = RealColIndex(FromDisplCol);
    const int RealTo = RealColIndex(ToDisplCol);
    {
        TStateScope<bool> Quiet(C->FNoRecursiveUpdate, true);
        const int Top = TopRow();
        TExtStringGrid::ColumnMoved(FromDisplCol, ToDisplCol);
        TStateScope<bool> Moving(FColMoving, true);
        if (RealFrom >= 0 && RealFrom < C->Count() && RealTo >= 0 && RealTo < C->Count() && RealFrom != RealTo) {
            // The item moves with every setting it has.
            std::unique_ptr<TGridColumnItem> Item = std::move(C->FItems[size_t(RealFrom)]);
            C->FItems.erase(C->FItems.begin() + RealFrom);
            C->FItems.insert(C->FItems.begin() + RealTo, std::move(Item));
        }
        if (Top >= FixedRows() && Top < RowCount()) SetTopRow(Top);
    }
    if (OnAfterColumnMoved) OnAfterColumnMoved(this, RealFrom, RealTo);
}

void TExtColumnGrid::InsertCols(int RealCol, int CCount) {
    const int Total = TotalColCount();
    TExtStringGrid::InsertCols(RealCol, CCount);
    if (RealCol < 0 || RealCol > Total || CCount <= 0) return;
    TGridColumnCollection* C = FColumnCollection.get();
    TStateScope<bool> Quiet(C->FNoRecursiveUpdate, true);
    for (int i = 0; i < CCount; ++i) C->Insert(std::min(RealCol, C->Count()));
}

void TExtColumnGrid::RemoveCols(int RealCol, int CCount) {
    const int Total = TotalColCount();
    TExtStringGrid::RemoveCols(RealCol, CCount);
    if (RealCol < 0 || RealCol >= Total || CCount <= 0) return;
    TGridColumnCollection* C = FColumnCollection.get();
    {
        // The items go together: one by one, the count would be matched to every interim count.
        TStateScope<bool> Quiet(C->FNoRecursiveUpdate, true);
        for (int i = 0; i < CCount && RealCol < C->Count(); ++i) C->Delete(RealCol);
    }
    C->UpdateOverride(nullptr);
}

void TExtColumnGrid::SaveColumnPositions(const QString& Key, const QString& Section) {
    TIniFile Ini(Key);
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        Ini.WriteInteger(Section, QStringLiteral("CP") + QString::number(i),
                         FColumnCollection->FItems[size_t(i)]->FDefIdx);
}

void TExtColumnGrid::LoadColumnPositions(const QString& Key, const QString& Section) {
    TGridColumnCollection* C = FColumnCollection.get();
    const int N = C->Count();
    std::vector<int> Pos(static_cast<size_t>(N));
    {
        TIniFile Ini(Key);
        for (int i = 0; i < N; ++i) {
            Pos[size_t(i)] = Ini.ReadInteger(Section, QStringLiteral("CP") + QString::number(i), -1);
            if (Pos[size_t(i)] == -1) return;
        }
    }
    std::vector<bool> Taken(static_cast<size_t>(N), false);
    for (int v : Pos) {
        if (v < 0 || v >= N) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(v));
        // Two positions naming one column leave another column without a place: the columns
        // could never settle.
        if (Taken[size_t(v)])
            throw EListError(QStringLiteral("Column %1 is named at two positions in section %2").arg(v).arg(Section));
        Taken[size_t(v)] = true;
    }
    // The saved positions are design indexes: start from the design order.
    ResetColumnOrder();
    for (int j = 0; j < N; ++j) C->FItems[size_t(Pos[size_t(j)])]->FDefIdx = j;
    C->ResetOrganization();
    for (int i = 0; i < N; ++i) C->FItems[size_t(i)]->FDefIdx = Pos[size_t(i)];
}
