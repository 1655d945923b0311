// The popup side shared by the kinds that show an item selector.
#include "grid/editors/ExtSelectorPopup.h"

#include "platform/rtl/StateScope.h"

#include <QPointer>

#include <algorithm>

bool TSelectorPopup::Create(TSelectorType Type) {
    if (FSelector || !FOwner->DropDownForm()) return false;
    FSelector = ::Create<TExtCustomItemSelector>(FOwner, FOwner->DropDownForm());
    FSelector->SetSelectorType(Type);
    FSelector->SetBounds(0, 0, FSelector->Width(), 150);
    return true;
}

void TSelectorPopup::Show() {
    if (!FSelector) return;
    FSelector->SetColor(FOwner->DropDownColor());
    FSelector->UpdateSelectorPanel();
    FOwner->SetControl(FSelector);
}

void TSelectorPopup::Fill(const TLook& Look, const std::function<void(TSelectorItems*)>& AddItems, int ItemIndex,
                          const std::function<void(int)>& Take) {
    if (!FSelector) return;
    FSelector->OnItemSelect = nullptr;
    FSelector->SetColumns(Look.Columns);
    FSelector->SetImages(Look.Images);
    FSelector->SetItemLayout(Look.Layout);
    FSelector->SetColor(Look.Color);
    FSelector->SetItemAppearance(Look.Appearance);
    TSelectorItems* L = FSelector->Items();
    {
        // One arrangement after the fill, not one per caption, colour and image set.
        const TStateScope<TNotifyEvent> Quiet(L->OnChange, nullptr);
        L->Clear();
        AddItems(L);
    }
    FSelector->UpdateSelectorPanel();
    // The panel still holds the index of the items just replaced.
    FSelector->SetItemIndex(-1);
    FSelector->SetItemIndex(ItemIndex);
    FSelector->OnItemSelect = [this, Take](TObject*) { Choose(Take); };
}

void TSelectorPopup::Choose(const std::function<void(int)>& Take) {
    if (!FSelector) return;
    QPointer<TExtCustomDropDown> Self(FOwner);
    Take(FSelector->ItemIndex());
    if (Self && !FInternalCall) FOwner->DoHideDropDown(false);
}

void TSelectorPopup::SizeToPanel() {
    if (!FSelector || !FOwner->DropDownForm()) {
        FOwner->TExtCustomDropDown::SizeDropDown();
        return;
    }
    FSelector->SetAlign(alNone);
    int W = 0, H = 0;
    FSelector->GetSelectorPanelSize(W, H);
    // The popup's border is inside its width: counted here, the cells fit without a horizontal
    // scroll bar.
    if (FOwner->DropDownWidth() < 1) FSelector->SetWidth(W + 2 * FOwner->DropDownBorderWidth());
    if (FOwner->DropDownHeight() < 1) FSelector->SetHeight(H);
    FOwner->TExtCustomDropDown::SizeDropDown();
    if (FSelector->VertScrollBarVisible()) {
        TDropDownForm* F = FOwner->DropDownForm();
        F->resize(F->width() + TExtCustomItemSelector::ScrollBarWidth(), F->height());
    }
}

bool TSelectorPopup::TakesBack(bool Cancelled) const {
    return Cancelled && FOwner->DropDownForm() && FOwner->DropDownForm()->isVisible();
}

void TSelectorPopup::HoldOpen(const std::function<void()>& Move) {
    const TStateScope<bool> Internal(FInternalCall, true);
    Move();
}

void TSelectorPopup::Move(const std::function<void()>& Move) {
    if (!FSelector) return;
    HoldOpen(Move);
    if (FSelector) FSelector->ScrollItemInView(FSelector->ItemIndex());
}

void TSelectorPopup::MoveTo(int Index) {
    Move([&] { FSelector->SetItemIndex(Index); });
}

void TSelectorPopup::MoveBy(TSelectMove M) {
    Move([&] {
        switch (M) {
            case smFirst: FSelector->SelectFirst(); break;
            case smLast: FSelector->SelectLast(); break;
            case smNext: FSelector->SelectNext(); break;
            case smPrevious: FSelector->SelectPrevious(); break;
        }
    });
}

void TSelectorPopup::StepRow(int Dir) {
    if (!FSelector) return;
    const int Index = FSelector->ItemIndex();
    // The rows the selector shows: a column count the kind holds but the selector refused (0 or
    // less) would step nowhere or backwards.
    const int To = Index < 0 ? 0 : Index + Dir * FSelector->Columns();
    if (To >= 0 && To < FSelector->Items()->Count()) MoveTo(To);
}

void TSelectorPopup::Page(bool Up) {
    if (!FSelector) return;
    const int N = FSelector->GetVisibleItemCount();
    if (N <= 0) return;
    const int Index = FSelector->ItemIndex();
    MoveTo(Up ? std::max(Index - N, 0) : std::min(Index + N, FSelector->Items()->Count() - 1));
}

bool TSelectorPopup::ChooseHot() {
    if (!FSelector || FSelector->ItemHot() < 0) return false;
    FSelector->SetItemIndex(FSelector->ItemHot());
    return true;
}

void TSelectorPopup::Wheel(bool Down, bool DroppedDown) {
    if (!FSelector) return;
    if (DroppedDown) {
        if (Down)
            FSelector->HotNext();
        else
            FSelector->HotPrevious();
        return;
    }
    MoveBy(Down ? smNext : smPrevious);
}

bool TSelectorPopup::SearchChar(QChar Ch, TShiftState Shift) {
    return Ch.unicode() >= 0x20 && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
}

void TSelectorPopup::Search(QChar Ch) {
    if (!FSelector) return;
    const QString S = FKeySearch.Add(Ch);
    Move([&] { FSelector->LookupItem(S); });
}
