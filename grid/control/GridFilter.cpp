#include "grid/control/GridFilter.h"

#include "grid/control/ExtGrid.h"

// ---- TFilterData --------------------------------------------------------------------------------------
void TFilterData::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TFilterData*>(Source);
    if (!S || S == this) return;
    FColumn = S->FColumn;
    FCondition = S->FCondition;
    FCaseSensitive = S->FCaseSensitive;
    FData = S->FData;
    FPrefix = S->FPrefix;
    FSuffix = S->FSuffix;
    FOperation = S->FOperation;
    // A literal condition copied as an expression would test something else.
    FMethod = S->FMethod;
}

// ---- TFilter ------------------------------------------------------------------------------------------
void TFilter::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index > Limit) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TFilter::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TFilter*>(Source);
    if (!S || S == this) return;
    std::vector<std::unique_ptr<TFilterData>> Copy;
    for (const auto& Item : S->FItems) {
        Copy.push_back(std::make_unique<TFilterData>());
        Copy.back()->Assign(Item.get());
    }
    FItems = std::move(Copy);
}

TFilterData* TFilter::Add() { return Insert(Count()); }

TFilterData* TFilter::Insert(int Index) {
    CheckIndex(Index, Count());
    auto Item = std::make_unique<TFilterData>();
    Item->SetOperation(FItems.empty() ? foNONE : foAND);
    TFilterData* Result = Item.get();
    FItems.insert(FItems.begin() + Index, std::move(Item));
    return Result;
}

TFilterData* TFilter::Items(int Index) const {
    CheckIndex(Index, Count() - 1);
    return FItems[size_t(Index)].get();
}

void TFilter::SetItems(int Index, TFilterData* Value) { Items(Index)->Assign(Value); }

void TFilter::Delete(int Index) {
    CheckIndex(Index, Count() - 1);
    FItems.erase(FItems.begin() + Index);
}

TFilterData* TFilter::ColumnFilter(int Col) const {
    for (const auto& Item : FItems)
        if (Item->Column() == Col) return Item.get();
    return nullptr;
}

TFilterData* TFilter::GetColFilter(int Col) {
    if (TFilterData* D = ColumnFilter(Col)) return D;
    TFilterData* D = Add();
    D->SetColumn(Col);
    return D;
}

void TFilter::RemoveColumnFilter(int Col) {
    for (int I = Count() - 1; I >= 0; --I)
        if (FItems[size_t(I)]->Column() == Col) FItems.erase(FItems.begin() + I);
    if (FOwner) FOwner->RepaintCell(FOwner->DisplColIndex(Col), 0);
}

// ---- TFilterDropDown ----------------------------------------------------------------------------------
TFilterDropDown::TFilterDropDown()
    : FFont(std::make_unique<TFont>()), FGlyph(std::make_unique<TBitmap>()), FGlyphActive(std::make_unique<TBitmap>()) {
}

TFilterDropDown::~TFilterDropDown() = default;

void TFilterDropDown::SetFont(TFont* Value) {
    if (Value != FFont.get()) FFont->Assign(Value);
}

void TFilterDropDown::SetGlyph(TBitmap* Value) {
    if (Value != FGlyph.get()) FGlyph->Assign(Value);
    if (OnChange) OnChange(this);
}

void TFilterDropDown::SetGlyphActive(TBitmap* Value) {
    if (Value != FGlyphActive.get()) FGlyphActive->Assign(Value);
    if (OnChange) OnChange(this);
}

void TFilterDropDown::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TFilterDropDown*>(Source);
    if (!S || S == this) return;
    FColor = S->FColor;
    FColumnWidth = S->FColumnWidth;
    FFont->Assign(S->FFont.get());
    FHeight = S->FHeight;
    FWidth = S->FWidth;
    SetGlyph(S->FGlyph.get());
    SetGlyphActive(S->FGlyphActive.get());
}
