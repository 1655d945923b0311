// The image picker drop-down: its items, the popup selector, choosing, cancelling, keys, the
// wheel and the picture in the edit part.
#include "grid/editors/ExtImagePickerDropDown.h"

#include "platform/rtl/StateScope.h"
#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

// ---- items ----------------------------------------------------------------------------------
int TImageItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TImageItem::Changed() {
    if (FCollection && FCollection->OnChange) FCollection->OnChange(FCollection);
}

void TImageItem::SetCaption(const QString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TImageItem::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Changed();
}

void TImageItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TImageItem*>(Source);
    if (!S) return;
    SetCaption(S->FCaption);
    SetImageIndex(S->FImageIndex);
    FImage.Assign(&S->FImage);
    FEnabled = S->FEnabled;
    FHint = S->FHint;
}

TImageItem* TImageItems::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    auto* I = new TImageItem(this);
    FItems.insert(FItems.begin() + Index, std::unique_ptr<TImageItem>(I));
    return I;
}

void TImageItems::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.erase(FItems.begin() + Index);
}

TImageItem* TImageItems::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

int TImageItems::IndexOf(const TImageItem* Item) const {
    for (int I = 0; I < Count(); ++I)
        if (FItems[size_t(I)].get() == Item) return I;
    return -1;
}

void TImageItems::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TImageItems*>(Source);
    if (!S || S == this) return;
    FItems.clear();
    for (int I = 0; I < S->Count(); ++I) Add()->Assign(S->Items(I));
}

// ---- creation -------------------------------------------------------------------------------
TExtImagePickerDropDown::TExtImagePickerDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FItems(std::make_unique<TImageItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
    FItems->OnChange = [](TObject*) {};
}

TExtImagePickerDropDown::~TExtImagePickerDropDown() { FKeySearch.Stop(); }

void TExtImagePickerDropDown::AfterConstruction() {
    TExtCustomDropDown::AfterConstruction();
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetCursor(crArrow);
}

void TExtImagePickerDropDown::AddImagesFromImageList() {
    if (!Images()) return;
    for (int I = 0; I < Images()->Count(); ++I) FItems->Add()->SetImageIndex(I);
}

void TExtImagePickerDropDown::AddImagesFromFolder(const QString& AFolder, bool SetImageCaption) {
    const QFileInfo Spec(AFolder);
    const QDir Folder = Spec.dir();
    const QStringList Names =
        Folder.entryList(QStringList{Spec.fileName()},
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& Name : Names) {
        TImageItem* Item = FItems->Add();
        try {
            Item->Image()->LoadFromFile(Folder.filePath(Name));
            if (SetImageCaption) Item->SetCaption(Name);
        } catch (const Exception&) {
            TPicture Empty;
            Item->SetImage(&Empty);
        }
    }
}

// ---- value ----------------------------------------------------------------------------------
void TExtImagePickerDropDown::SetItemIndex(int Value) {
    if (Value == FItemIndex || Value >= FItems->Count()) return;
    FItemIndex = Value;
    Native()->update();
    QPointer<TExtImagePickerDropDown> Self(this);
    if (OnChange) OnChange(this);
    if (Self && OnSelect) OnSelect(this);
}

int TExtImagePickerDropDown::ImageIndex() const {
    if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return -1;
    return FItems->Items(FItemIndex)->ImageIndex();
}

void TExtImagePickerDropDown::SetImageIndex(int Value) {
    int Found = -1;
    for (int I = 0; I < FItems->Count() && Found < 0; ++I)
        if (FItems->Items(I)->ImageIndex() == Value) Found = I;
    SetItemIndex(Found);
}

void TExtImagePickerDropDown::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TExtImagePickerDropDown::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TExtImagePickerDropDown::SelectNext() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TExtImagePickerDropDown::SelectPrevious() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

// ---- popup ----------------------------------------------------------------------------------
void TExtImagePickerDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FItemSelector) {
        FItemSelector = Create<TExtCustomItemSelector>(this, DropDownForm());
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TExtImagePickerDropDown::FillSelector() {
    if (!FItemSelector) return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(FColumns);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(FLayout);
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->SetItemAppearance(FItemAppearance.get());
    TSelectorItems* L = FItemSelector->Items();
    {
        // One arrangement after the fill, not one per caption, colour and image set.
        const TStateScope<TNotifyEvent> Quiet(L->OnChange, nullptr);
        L->Clear();
        for (int I = 0; I < FItems->Count(); ++I) {
            TImageItem* Src = FItems->Items(I);
            TSelectorItem* S = L->Add();
            S->SetCaption(Src->Caption());
            S->SetImage(Src->Image());
            S->SetImageIndex(Src->ImageIndex());
            S->SetHint(Src->Hint());
            S->FEnabled = Src->FEnabled;
        }
    }
    FItemSelector->UpdateSelectorPanel();
    // The panel still holds the index of the items just replaced.
    FItemSelector->SetItemIndex(-1);
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject*) { PopupChoice(); };
    FItemSelector->SetShowHint(ShowHint());
    if (OnDrawItem)
        FItemSelector->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int Index) {
            if (OnDrawItem) OnDrawItem(this, C, R, Index);
        };
    else
        FItemSelector->OnDrawItem = nullptr;
}

void TExtImagePickerDropDown::FillIfStale() {
    if (FItemSelector && FItemSelector->Items()->Count() != FItems->Count()) FillSelector();
}

void TExtImagePickerDropDown::BeforeDropDown() {
    QPointer<TExtImagePickerDropDown> Self(this);
    TExtCustomDropDown::BeforeDropDown();
    if (!Self) return;
    FillSelector();
    FOldItemIndex = FItemIndex;
}

void TExtImagePickerDropDown::SizeDropDown() {
    if (!FItemSelector || !DropDownForm()) {
        TExtCustomDropDown::SizeDropDown();
        return;
    }
    FItemSelector->SetAlign(alNone);
    int W = 0, H = 0;
    FItemSelector->GetSelectorPanelSize(W, H);
    // The popup's border is inside its width: counted here, the items fit without a
    // horizontal scroll bar.
    if (DropDownWidth() < 1) FItemSelector->SetWidth(W + 2 * DropDownBorderWidth());
    if (DropDownHeight() < 1) FItemSelector->SetHeight(H);
    TExtCustomDropDown::SizeDropDown();
    if (FItemSelector->VertScrollBarVisible())
        DropDownForm()->resize(DropDownForm()->width() + TExtCustomItemSelector::ScrollBarWidth(),
                               DropDownForm()->height());
}

void TExtImagePickerDropDown::DoHideDropDown(bool Cancelled) {
    // Only a popup that was open has a choice to take back; the restore comes before the popup's
    // closing events, so that they see the value that stays.
    QPointer<TExtImagePickerDropDown> Self(this);
    if (Cancelled && DropDownForm() && DropDownForm()->isVisible()) SetItemIndex(FOldItemIndex);
    if (Self) TExtCustomDropDown::DoHideDropDown(Cancelled);
}

void TExtImagePickerDropDown::PopupChoice() {
    if (!FItemSelector) return;
    QPointer<TExtImagePickerDropDown> Self(this);
    SetItemIndex(FItemSelector->ItemIndex());
    if (Self && !FInternalCall) DoHideDropDown(false);
}

void TExtImagePickerDropDown::MoveSelector(const std::function<void()>& Move) {
    if (!FItemSelector) return;
    const TStateScope<bool> Internal(FInternalCall, true);
    Move();
}

// ---- keys and wheel -------------------------------------------------------------------------
void TExtImagePickerDropDown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    QPointer<TExtImagePickerDropDown> Self(this);
    bool Consumed = false;
    if (Enabled() && DroppedDown() && Key == VK_RETURN && FItemSelector && FItemSelector->ItemHot() >= 0) {
        Consumed = true;
        FItemSelector->SetItemIndex(FItemSelector->ItemHot());
        if (!Self) return;
    }
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self || !Enabled() || Shift.Contains(ssAlt)) return;
    auto Index = [this] { return FItemSelector->ItemIndex(); };
    auto Move = [&](int To) { MoveSelector([&] { FItemSelector->SetItemIndex(To); }); };
    switch (Key) {
        case VK_RETURN:
            if (!Consumed && OnSelect) OnSelect(this);
            break;
        case VK_PRIOR:
        case VK_NEXT: {
            if (!FItemSelector) break;
            FillIfStale();
            const int N = FItemSelector->GetVisibleItemCount();
            if (N <= 0) break;
            Move(Key == VK_PRIOR ? std::max(Index() - N, 0) : std::min(Index() + N, FItems->Count() - 1));
            break;
        }
        case VK_HOME:
        case VK_END:
            if (DroppedDown())
                MoveSelector([&] {
                    if (Key == VK_HOME)
                        FItemSelector->SelectFirst();
                    else
                        FItemSelector->SelectLast();
                });
            else if (Key == VK_HOME)
                SelectFirst();
            else
                SelectLast();
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (DroppedDown() && !EditorEnabled())
                MoveSelector([&] {
                    if (Key == VK_LEFT)
                        FItemSelector->SelectPrevious();
                    else
                        FItemSelector->SelectNext();
                });
            break;
        case VK_UP:
        case VK_DOWN:
            if (DroppedDown()) {
                if (!FItemSelector) break;
                const int To = Index() < 0 ? 0 : Index() + (Key == VK_UP ? -FColumns : FColumns);
                if (To >= 0 && To < FItemSelector->Items()->Count()) Move(To);
            } else if (Key == VK_UP) {
                SelectPrevious();
            } else {
                SelectNext();
            }
            break;
        default: break; // letters search through the characters they type
    }
}

void TExtImagePickerDropDown::WMChar(TMessage& M) {
    const QChar Ch(char16_t(M.WParam));
    const TShiftState Shift = KeyboardShiftState();
    // The search takes what was typed, so digits of the number pad and punctuation find the
    // captions that hold them.
    if (Enabled() && FItemSelector && Ch.unicode() >= 0x20 && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        FillIfStale();
        const QString S = FKeySearch.Add(Ch);
        MoveSelector([&] {
            FItemSelector->LookupItem(S);
            FItemSelector->ScrollItemInView(FItemSelector->ItemIndex());
        });
        return;
    }
    TExtCustomDropDown::WMChar(M);
}

void TExtImagePickerDropDown::Wheel(bool Down) {
    if (!Enabled() || ReadOnly() || !FItemSelector) return;
    if (DroppedDown()) {
        if (Down)
            FItemSelector->HotNext();
        else
            FItemSelector->HotPrevious();
        return;
    }
    FillIfStale();
    MoveSelector([&] {
        if (Down)
            FItemSelector->SelectNext();
        else
            FItemSelector->SelectPrevious();
    });
}

void TExtImagePickerDropDown::MouseWheelDownHook() { Wheel(true); }
void TExtImagePickerDropDown::MouseWheelUpHook() { Wheel(false); }

// ---- styles and painting --------------------------------------------------------------------
void TExtImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TExtCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

void TExtImagePickerDropDown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TExtImagePickerDropDown::DrawFocusedText(TCanvas*) {}

void TExtImagePickerDropDown::WMPaint(TMessage& M) {
    TExtCustomDropDown::WMPaint(M);
    auto* C = reinterpret_cast<TCanvas*>(M.WParam);
    if (!C) return;
    const TRect R = GetEditRect();
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, C, R);
        return;
    }
    if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return;
    TImageItem* It = FItems->Items(FItemIndex);
    if (It->HasPicture()) {
        const int W = It->Image()->Width(), H = It->Image()->Height();
        const int X = R.Left + (R.Width() - W) / 2, Y = R.Top + (R.Height() - H) / 2;
        It->Image()->Graphic()->Draw(C, Rect(X, Y, X + W, Y + H));
    } else if (Images() && It->ImageIndex() >= 0) {
        Images()->Draw(C, R.Left + (R.Width() - Images()->Width()) / 2, R.Top + (R.Height() - Images()->Height()) / 2,
                       It->ImageIndex(), true);
    }
}
