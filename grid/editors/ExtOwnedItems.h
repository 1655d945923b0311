#pragma once
// The item lists of the list kinds (selector cells, named colours, image and detail items): each
// owns its items, knows the component it belongs to and has one change event that the items fire
// when a shown property changes. Adding, deleting and clearing fire nothing: whoever refills a
// list rearranges what shows it.
#include "platform/rtl/Objects.h"
#include "platform/rtl/SysUtils.h"

#include <QString>

#include <algorithm>
#include <memory>
#include <vector>

// An item of such a list: its caption, its enabled flag, its place in the list and the list's
// change event, which a setter fires only when the value really changes.
template <class TList>
class TOwnedItem : public TPersistent {
public:
    explicit TOwnedItem(TList* Collection) : FCollection(Collection) {}
    int Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { Change(FCaption, Value); }

    bool FEnabled = true;

protected:
    template <class T>
    void Change(T& Field, const T& Value) {
        if (Field == Value) return;
        Field = Value;
        if (FCollection) FCollection->Changed();
    }

private:
    TList* FCollection;
    QString FCaption;
};

// TList is the concrete list type, handed to each new item as its collection.
template <class TItem, class TList>
class TOwnedItems : public TPersistent {
public:
    explicit TOwnedItems(TPersistent* AOwner) : FMyOwner(AOwner) {}
    TPersistent* GetOwner() const { return FMyOwner; }
    int Count() const { return int(FItems.size()); }
    TItem* Add() { return Insert(Count()); }
    // An index outside 0..Count puts the item at the nearer end.
    TItem* Insert(int Index) {
        Index = std::clamp(Index, 0, Count());
        auto* I = new TItem(static_cast<TList*>(this));
        FItems.insert(FItems.begin() + Index, std::unique_ptr<TItem>(I));
        return I;
    }
    void Delete(int Index) {
        Check(Index);
        FItems.erase(FItems.begin() + Index);
    }
    void Clear() { FItems.clear(); }
    TItem* Items(int Index) const { // EListError outside the items
        Check(Index);
        return FItems[size_t(Index)].get();
    }
    int IndexOf(const TPersistent* Item) const {
        for (int I = 0; I < Count(); ++I)
            if (FItems[size_t(I)].get() == Item) return I;
        return -1;
    }
    // A copy of every item of a list of the same kind, in place of the own ones.
    void Assign(TPersistent* Source) override {
        auto* S = dynamic_cast<TList*>(Source);
        if (!S || S == this) return;
        FItems.clear();
        for (int I = 0; I < S->Count(); ++I) Add()->Assign(S->Items(I));
    }
    // What the items call when a property that shows changes.
    void Changed() {
        if (OnChange) OnChange(this);
    }

    TNotifyEvent OnChange;

private:
    void Check(int Index) const {
        if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    }
    TPersistent* FMyOwner;
    std::vector<std::unique_ptr<TItem>> FItems;
};
