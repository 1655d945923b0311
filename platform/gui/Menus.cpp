#include "platform/gui/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPointer>

#include <algorithm>

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (FParent) {
        auto& L = FParent->FItems;
        L.erase(std::remove(L.begin(), L.end(), this), L.end());
    }
}

void TMenuItem::SetChecked(bool Value) {
    FChecked = Value;
    if (Value && FRadioItem && FParent) {
        for (TMenuItem* I : FParent->FItems)
            if (I != this && I->FRadioItem && I->FGroupIndex == FGroupIndex) I->FChecked = false;
    }
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->FParent) Item->FParent->Remove(Item);
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    // The item belongs to this one now; its own owner, if any, no longer deletes it.
    if (Item->Owner()) Item->Owner()->RemoveComponent(Item);
}

void TMenuItem::Delete(int Index) {
    TMenuItem* I = Items(Index);
    FItems.erase(FItems.begin() + Index);
    I->FParent = nullptr;
    delete I;
}

void TMenuItem::Remove(TMenuItem* Item) {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    if (It == FItems.end()) return;
    FItems.erase(It);
    Item->FParent = nullptr;
}

void TMenuItem::Clear() {
    while (!FItems.empty()) Delete(Count() - 1);
}

int TMenuItem::IndexOf(TMenuItem* Item) const {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : int(It - FItems.begin());
}

void TMenuItem::Click() {
    if (FAutoCheck) SetChecked(!FChecked);
    if (OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() { delete FMenu; }

namespace {
void Fill(QMenu* Menu, TMenuItem* Parent) {
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem* Item = Parent->Items(I);
        if (!Item->Visible()) continue;
        if (Item->IsLine()) {
            Menu->addSeparator();
            continue;
        }
        if (Item->Count() > 0) {
            QMenu* Sub = Menu->addMenu(Item->Caption());
            Sub->setEnabled(Item->Enabled());
            Fill(Sub, Item);
            continue;
        }
        QAction* A = Menu->addAction(Item->Caption());
        A->setEnabled(Item->Enabled());
        A->setCheckable(Item->Checked() || Item->AutoCheck() || Item->RadioItem());
        A->setChecked(Item->Checked());
        QPointer<QMenu> Guard(Menu);
        QObject::connect(
            A, &QAction::triggered, Menu, [Item] { TControl::Guard(Item, [Item] { Item->Click(); }); },
            Qt::QueuedConnection);
    }
}
} // namespace

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    delete FMenu;
    FMenu = new QMenu();
    Fill(FMenu, FItems.get());
    FMenu->popup(QPoint(X, Y));
}

void TPopupMenu::CloseMenu() {
    if (FMenu) FMenu->close();
}

bool TPopupMenu::Showing() const { return FMenu && FMenu->isVisible(); }
