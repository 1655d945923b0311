// The detail drop-down: its items, the popup selector with rows it draws itself, choosing,
// cancelling, auto-completion while typing, keys, the key search and the wheel.
#include "grid/editors/ExtDetailDropDown.h"

#include "grid/base/EsgHTMLE.h"
#include "platform/rtl/StateScope.h"
#include "platform/rtl/SysUtils.h"

#include <QLineEdit>
#include <QLocale>
#include <QPointer>

#include <algorithm>

// ---- items ----------------------------------------------------------------------------------
int TDetailItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TDetailItem::Changed() {
    if (FCollection && FCollection->OnChange) FCollection->OnChange(FCollection);
}

void TDetailItem::SetCaption(const QString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TDetailItem::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Changed();
}

void TDetailItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TDetailItem*>(Source);
    if (!S) return;
    SetCaption(S->FCaption);
    SetImageIndex(S->FImageIndex);
    FImage.Assign(&S->FImage);
    FNotes = S->FNotes;
    FEnabled = S->FEnabled;
    FTag = S->FTag;
    FItemObject = S->FItemObject;
}

TDetailItem* TDetailItems::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    auto* I = new TDetailItem(this);
    FItems.insert(FItems.begin() + Index, std::unique_ptr<TDetailItem>(I));
    return I;
}

void TDetailItems::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.erase(FItems.begin() + Index);
}

TDetailItem* TDetailItems::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

int TDetailItems::IndexOf(const QString& AValue) const {
    for (int I = 0; I < Count(); ++I)
        if (FItems[size_t(I)]->Caption() == AValue) return I;
    return -1;
}

int TDetailItems::IndexOf(const TDetailItem* Item) const {
    for (int I = 0; I < Count(); ++I)
        if (FItems[size_t(I)].get() == Item) return I;
    return -1;
}

void TDetailItems::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TDetailItems*>(Source);
    if (!S || S == this) return;
    FItems.clear();
    for (int I = 0; I < S->Count(); ++I) Add()->Assign(S->Items(I));
}

// ---- creation -------------------------------------------------------------------------------
TExtDetailDropDown::TExtDetailDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FItems(std::make_unique<TDetailItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)), FCaptionFont(std::make_unique<TFont>()),
      FNotesFont(std::make_unique<TFont>()) {
    FItems->OnChange = [](TObject*) {};
}

TExtDetailDropDown::~TExtDetailDropDown() { FKeySearch.Stop(); }

void TExtDetailDropDown::AfterConstruction() {
    TExtCustomDropDown::AfterConstruction();
    SetEditorEnabled(true);
    SetDropDownEnabled(true);
    FCaptionFont->Assign(Font());
    FNotesFont->Assign(Font());
}

// ---- value ----------------------------------------------------------------------------------
void TExtDetailDropDown::SetText(const QString& Value) {
    const TStateScope<bool> Quiet(FSettingText, true);
    TExtCustomDropDown::SetText(Value);
}

void TExtDetailDropDown::SetTextQuiet(const QString& Value) { SetText(Value); }

void TExtDetailDropDown::SetItemIndex(int Value) {
    if (Value != FItemIndex && Value >= 0 && Value < FItems->Count()) {
        FItemIndex = Value;
        QPointer<TExtDetailDropDown> Self(this);
        SetTextQuiet(FItems->Items(Value)->Caption());
        if (!Self) return;
        SetSelStart(0);
        SetSelLength(int(Text().size()));
        Native()->update();
        if (FItemSelector) FItemSelector->Invalidate();
        if (OnSelect) OnSelect(this);
    } else if (Value == -1 && Value != FItemIndex) {
        SetTextQuiet(QString());
        FItemIndex = -1;
    }
}

void TExtDetailDropDown::SelectFirst() {
    if (FItems->Count() > 0) SetItemIndex(0);
}

void TExtDetailDropDown::SelectLast() {
    if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TExtDetailDropDown::SelectNext() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TExtDetailDropDown::SelectPrevious() {
    if (FItems->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

// ---- popup ----------------------------------------------------------------------------------
void TExtDetailDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FItemSelector) {
        FItemSelector = Create<TExtCustomItemSelector>(this, DropDownForm());
        FItemSelector->SetSelectorType(stImage);
        FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
        FItemSelector->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int Index) { DrawDetailItem(C, R, Index); };
        FItemSelector->OnItemSize = [this](TObject*, TSize& S) { DetailItemSize(S); };
        FItemSelector->UpdateSelectorPanel();
        FItemSelector->OnResize = [this](TObject*) {
            if (FItemSelector) FItemSelector->UpdateSelectorPanel();
        };
    }
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TExtDetailDropDown::SyncSelector() {
    if (!FItemSelector) return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(1);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(FLayout);
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->SetItemAppearance(FItemAppearance.get());
    TSelectorItems* L = FItemSelector->Items();
    {
        // One arrangement after the fill, not one per caption and image set.
        const TStateScope<TNotifyEvent> Quiet(L->OnChange, nullptr);
        L->Clear();
        for (int I = 0; I < FItems->Count(); ++I) {
            TDetailItem* Src = FItems->Items(I);
            TSelectorItem* S = L->Add();
            S->SetCaption(Src->Caption());
            S->SetImage(Src->Image());
            S->SetImageIndex(Src->ImageIndex());
        }
    }
    FItemSelector->UpdateSelectorPanel();
    // The panel still holds the index of the items just replaced.
    FItemSelector->SetItemIndex(-1);
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject*) { PopupChoice(); };
}

void TExtDetailDropDown::FillIfStale() {
    if (FItemSelector && FItemSelector->Items()->Count() != FItems->Count()) SyncSelector();
}

void TExtDetailDropDown::BeforeDropDown() {
    QPointer<TExtDetailDropDown> Self(this);
    TExtCustomDropDown::BeforeDropDown();
    if (!Self) return;
    SyncSelector();
    FOldItemIndex = FItemIndex;
}

void TExtDetailDropDown::DoDropDown() {
    QPointer<TExtDetailDropDown> Self(this);
    TExtCustomDropDown::DoDropDown();
    if (Self && FItemSelector && DroppedDown()) FItemSelector->SetFocus();
}

void TExtDetailDropDown::SizeDropDown() {
    if (!FItemSelector || !DropDownForm()) {
        TExtCustomDropDown::SizeDropDown();
        return;
    }
    FItemSelector->SetAlign(alNone);
    if (DropDownWidth() <= 0) FItemSelector->SetWidth(Width());
    if (DropDownHeight() <= 0) FItemSelector->SetHeight(100);
    TExtCustomDropDown::SizeDropDown();
    // The rows span the popup, whose width is known only now.
    FItemSelector->UpdateSelectorPanel();
}

void TExtDetailDropDown::DropDownSizing() {
    TExtCustomDropDown::DropDownSizing();
    if (FItemSelector) FItemSelector->UpdateSelectorPanel();
}

void TExtDetailDropDown::DetailItemSize(TSize& ASize) {
    int W = DropDownWidth() > 0 ? DropDownWidth() : (DropDownForm() ? DropDownForm()->Width() : Width());
    if (FItemSelector && FItemSelector->VertScrollBarVisible()) W -= TExtCustomItemSelector::ScrollBarWidth();
    W -= 2 * DropDownBorderWidth() + 4;
    ASize.cx = std::max(W, 0);
    ASize.cy = FItemHeight;
}

void TExtDetailDropDown::DoHideDropDown(bool Cancelled) {
    // Only a popup that was open has a choice to take back; the restore comes before the popup's
    // closing events, so that they see the value that stays.
    QPointer<TExtDetailDropDown> Self(this);
    if (Cancelled && FOldItemIndex != -1 && DropDownForm() && DropDownForm()->isVisible()) SetItemIndex(FOldItemIndex);
    if (Self) TExtCustomDropDown::DoHideDropDown(Cancelled);
}

void TExtDetailDropDown::PopupChoice() {
    if (!FItemSelector) return;
    QPointer<TExtDetailDropDown> Self(this);
    SetItemIndex(FItemSelector->ItemIndex());
    if (!Self) return;
    if (FItemIndex >= 0) {
        SetTextQuiet(FItems->Items(FItemIndex)->Caption());
        SetSelStart(0);
        SetSelLength(int(Text().size()));
    }
    if (!FInternalCall) DoHideDropDown(false);
}

void TExtDetailDropDown::MoveSelector(const std::function<void()>& Move) {
    if (!FItemSelector) return;
    const TStateScope<bool> Internal(FInternalCall, true);
    Move();
    if (FItemSelector) FItemSelector->ScrollItemInView(FItemSelector->ItemIndex());
}

void TExtDetailDropDown::StepSelector(int Delta) {
    if (!FItemSelector) return;
    const int Index = FItemSelector->ItemIndex();
    const int To = Index < 0 ? 0 : Index + Delta;
    if (To >= 0 && To < FItemSelector->Items()->Count()) MoveSelector([&] { FItemSelector->SetItemIndex(To); });
    if (FItemSelector) FItemSelector->Invalidate();
}

// ---- drawing of the rows --------------------------------------------------------------------
void TExtDetailDropDown::DrawDetailItem(TCanvas* C, TRect R, int Index) {
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, C, R);
        return;
    }
    if (Index < 0 || Index >= FItems->Count()) return;
    TDetailItem* It = FItems->Items(Index);
    const bool HasCaption = !It->Caption().isEmpty();
    if (It->HasPicture()) {
        TGraphic* G = It->Image()->Graphic();
        if (auto* B = dynamic_cast<TBitmap*>(G)) {
            B->SetTransparentMode(tmAuto);
            B->SetTransparent(true);
        }
        const int W = It->Image()->Width(), H = It->Image()->Height();
        const int X = HasCaption ? R.Left + 2 : R.Left + (R.Width() - W) / 2;
        const int Y = R.Top + (R.Height() - H) / 2;
        G->Draw(C, Rect(X, Y, X + W, Y + H));
        R.Left += W + 4;
    } else if (Images() && It->ImageIndex() >= 0) {
        const int W = Images()->Width(), H = Images()->Height();
        const int X = HasCaption ? R.Left + 2 : R.Left + (R.Width() - W) / 2;
        Images()->Draw(C, X, R.Top + (R.Height() - H) / 2, It->ImageIndex(), true);
        R.Left += W + 4;
    }
    const bool Hot = FItemSelector && FItemSelector->ItemHot() == Index;
    const bool Selected = Index == FItemIndex;
    auto UseFont = [&](TFont* F) {
        C->Font()->Assign(F);
        if (Selected)
            C->Font()->SetColor(FItemAppearance->ColorSelectedText());
        else if (Hot)
            C->Font()->SetColor(FItemAppearance->ColorHotText());
    };
    UseFont(FCaptionFont.get());
    C->Brush()->SetStyle(bsClear);
    R.Left += 4;
    R.Top += 2;
    R.Right -= 4;
    TRect TR = R;
    DrawText(C, It->Caption(), TR, DT_LEFT | DT_TOP | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (It->Notes().isEmpty()) return;
    R.Top += C->TextHeight(QStringLiteral("gh"));
    UseFont(FNotesFont.get());
    QString AnchorVal, StripVal, FocusAnchor, AnchorHint, CID, CV, CT;
    int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
    TRect HoverRect, ControlRect;
    DrawHTMLText(C, It->Notes(), R, Images(), 0, 0, -1, -1, 1, false, false, false, false, false, false, true, false,
                 1.0, clBlue, clNone, clNone, clGray, AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize,
                 HyperLinks, MouseLink, HoverRect, ControlRect, CID, CV, CT, nullptr, nullptr, nullptr, bdLeftToRight);
}

// ---- typing ---------------------------------------------------------------------------------
void TExtDetailDropDown::Change() {
    FItemChange = false;
    QPointer<TExtDetailDropDown> Self(this);
    TExtCustomDropDown::Change();
    // A text the control writes itself is no typing to complete.
    if (!Self || FSettingText || ComponentState().Contains(csDesigning) || !FWorkMode) return;
    SetModified(Text() != FOldValue);
    const QString Current = Text();
    const QString Typed = Current.left(SelStart());
    const QString Key = FMatchCase ? Typed : QLocale().toUpper(Typed);
    if (FItems->Count() == 0) return;
    if (!Key.isEmpty()) {
        for (int I = 0; I < FItems->Count(); ++I) {
            const QString Caption = FItems->Items(I)->Caption();
            const QString Cmp = FMatchCase ? Caption : QLocale().toUpper(Caption);
            if (!Cmp.startsWith(Key)) continue;
            const int N = int(Key.size());
            const QString NewText = Current.left(N) + Caption.mid(N).left(255);
            FItemIndex = I;
            FItemIdx = I;
            FItemSel = N;
            FItemChange = true;
            SetTextQuiet(NewText);
            if (!Self) return;
            // The completed tail stays selected, so that further typing replaces it.
            SetSelStart(N);
            SetSelLength(int(NewText.size()) - N);
            if (FItemSelector) FItemSelector->Invalidate();
            return;
        }
    }
    if (!Typed.isEmpty()) {
        SetTextQuiet(Typed);
        if (!Self) return;
        SetSelStart(int(Typed.size()));
        SetSelLength(0);
    }
}

void TExtDetailDropDown::KeyDown(Word& Key, TShiftState Shift) {
    QPointer<TExtDetailDropDown> Self(this);
    if (FItems->Count() == 0) {
        TExtCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    const Word Pressed = Key;
    switch (Pressed) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_DELETE: FWorkMode = false; break;
        case VK_RETURN: {
            const int I = FItems->IndexOf(Text());
            if (I >= 0) {
                SetTextQuiet(FItems->Items(I)->Caption());
                if (!Self) return;
                SetItemIndex(I);
                if (!Self) return;
                Change();
                if (!Self) return;
            }
            break;
        }
        default: FWorkMode = true; break;
    }
    TExtCustomDropDown::KeyDown(Key, Shift);
    if (!Self) return;
    if (Pressed == VK_ESCAPE) {
        const int I = FItems->IndexOf(Text());
        if (I >= 0) SetItemIndex(I);
    }
}

void TExtDetailDropDown::KeyUp(Word& Key, TShiftState Shift) {
    QPointer<TExtDetailDropDown> Self(this);
    TExtCustomDropDown::KeyUp(Key, Shift);
    if (!Self || !FItemChange) return;
    SetItemIndex(FItemIdx);
    FItemChange = false;
}

void TExtDetailDropDown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    if (!Enabled() || Shift.Contains(ssAlt)) {
        TExtCustomDropDown::WMKeyDown(M);
        return;
    }
    QPointer<TExtDetailDropDown> Self(this);
    switch (Key) {
        case VK_PRIOR:
        case VK_NEXT: {
            if (!FItemSelector) break;
            FillIfStale();
            const int N = FItemSelector->GetVisibleItemCount();
            if (N <= 0) break;
            const int Index = FItemSelector->ItemIndex();
            const int To = Key == VK_PRIOR ? std::max(Index - N, 0) : std::min(Index + N, FItems->Count() - 1);
            MoveSelector([&] { FItemSelector->SetItemIndex(To); });
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
            else if (!IsEditable())
                Key == VK_HOME ? SelectFirst() : SelectLast();
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (DroppedDown() && !IsEditable())
                MoveSelector([&] {
                    if (Key == VK_LEFT)
                        FItemSelector->SelectPrevious();
                    else
                        FItemSelector->SelectNext();
                });
            break;
        case VK_UP:
        case VK_DOWN:
            if (DroppedDown())
                StepSelector(Key == VK_UP ? -1 : 1);
            else if (Key == VK_UP)
                SelectPrevious();
            else
                SelectNext();
            break;
        default: break; // letters search through the characters they type
    }
    if (!Self) return;
    const bool Moves =
        Key == VK_PRIOR || Key == VK_NEXT || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
    if (DroppedDown() && Moves) {
        M.WParam = 0;
        M.Result = 1;
        return;
    }
    TExtCustomDropDown::WMKeyDown(M);
}

void TExtDetailDropDown::WMChar(TMessage& M) {
    const QChar Ch(char16_t(M.WParam));
    const TShiftState Shift = KeyboardShiftState();
    // While the popup is open the typed characters search its rows; closed, they go to the edit,
    // whose completion would fight a search that rewrites the text under it.
    if (Enabled() && DroppedDown() && FItemSelector && Ch.unicode() >= 0x20 && !Shift.Contains(ssCtrl) &&
        !Shift.Contains(ssAlt)) {
        FillIfStale();
        const QString S = FKeySearch.Add(Ch);
        MoveSelector([&] { FItemSelector->LookupItem(S); });
        return;
    }
    TExtCustomDropDown::WMChar(M);
}

// ---- wheel ----------------------------------------------------------------------------------
void TExtDetailDropDown::MouseWheelDownHook() {
    if (DroppedDown()) {
        StepSelector(1);
        Native()->update();
    } else {
        SelectNext();
    }
}

void TExtDetailDropDown::MouseWheelUpHook() {
    if (DroppedDown()) {
        StepSelector(-1);
        Native()->update();
    } else {
        SelectPrevious();
    }
}

// ---- styles ---------------------------------------------------------------------------------
void TExtDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TExtCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

void TExtDetailDropDown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}
