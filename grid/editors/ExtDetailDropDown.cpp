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
void TDetailItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TDetailItem*>(Source);
    if (!S) return;
    SetCaption(S->Caption());
    SetImageIndex(S->FImageIndex);
    FImage.Assign(&S->FImage);
    FNotes = S->FNotes;
    FEnabled = S->FEnabled;
    FTag = S->FTag;
    FItemObject = S->FItemObject;
}

int TDetailItems::IndexOf(const QString& AValue) const {
    for (int I = 0; I < Count(); ++I)
        if (Items(I)->Caption() == AValue) return I;
    return -1;
}

// ---- creation -------------------------------------------------------------------------------
TExtDetailDropDown::TExtDetailDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FItems(std::make_unique<TDetailItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)), FCaptionFont(std::make_unique<TFont>()),
      FNotesFont(std::make_unique<TFont>()) {
    FItems->OnChange = [](TObject*) {};
}

TExtDetailDropDown::~TExtDetailDropDown() = default;

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
        if (FPopup.Selector()) FPopup.Selector()->Invalidate();
        if (OnSelect) OnSelect(this);
    } else if (Value == -1 && Value != FItemIndex) {
        SetTextQuiet(QString());
        FItemIndex = -1;
    }
}

void TExtDetailDropDown::Select(TSelectMove Move) {
    if (const auto To = SelectTarget(Move, FItemIndex, FItems->Count())) SetItemIndex(*To);
}

// ---- popup ----------------------------------------------------------------------------------
void TExtDetailDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (FPopup.Create(stImage)) {
        TExtCustomItemSelector* S = FPopup.Selector();
        S->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int Index) { DrawDetailItem(C, R, Index); };
        S->OnItemSize = [this](TObject*, TSize& Size) { DetailItemSize(Size); };
        S->UpdateSelectorPanel();
        S->OnResize = [this](TObject*) {
            if (FPopup.Selector()) FPopup.Selector()->UpdateSelectorPanel();
        };
    }
    FPopup.Show();
}

void TExtDetailDropDown::SyncSelector() {
    FPopup.Fill(
        {1, Images(), FLayout, DropDownColor(), FItemAppearance.get()},
        [this](TSelectorItems* L) {
            for (int I = 0; I < FItems->Count(); ++I) {
                TDetailItem* Src = FItems->Items(I);
                TSelectorItem* It = L->Add();
                It->SetCaption(Src->Caption());
                It->SetImage(Src->Image());
                It->SetImageIndex(Src->ImageIndex());
            }
        },
        FItemIndex, [this](int Index) { TakeChoice(Index); });
}

void TExtDetailDropDown::FillIfStale() {
    if (FPopup.Selector() && FPopup.Selector()->Items()->Count() != FItems->Count()) SyncSelector();
}

void TExtDetailDropDown::BeforeDropDown() {
    QPointer<TExtDetailDropDown> Self(this);
    TExtCustomDropDown::BeforeDropDown();
    if (!Self) return;
    SyncSelector();
    FPopup.Opened(FItemIndex);
}

void TExtDetailDropDown::DoDropDown() {
    QPointer<TExtDetailDropDown> Self(this);
    TExtCustomDropDown::DoDropDown();
    if (Self && FPopup.Selector() && DroppedDown()) FPopup.Selector()->SetFocus();
}

void TExtDetailDropDown::SizeDropDown() {
    TExtCustomItemSelector* S = FPopup.Selector();
    if (!S || !DropDownForm()) {
        TExtCustomDropDown::SizeDropDown();
        return;
    }
    S->SetAlign(alNone);
    if (DropDownWidth() <= 0) S->SetWidth(Width());
    if (DropDownHeight() <= 0) S->SetHeight(100);
    TExtCustomDropDown::SizeDropDown();
    // The rows span the popup, whose width is known only now.
    S->UpdateSelectorPanel();
}

void TExtDetailDropDown::DropDownSizing() {
    TExtCustomDropDown::DropDownSizing();
    if (FPopup.Selector()) FPopup.Selector()->UpdateSelectorPanel();
}

void TExtDetailDropDown::DetailItemSize(TSize& ASize) {
    int W = DropDownWidth() > 0 ? DropDownWidth() : (DropDownForm() ? DropDownForm()->Width() : Width());
    if (FPopup.Selector() && FPopup.Selector()->VertScrollBarVisible()) W -= TExtCustomItemSelector::ScrollBarWidth();
    W -= 2 * DropDownBorderWidth() + 4;
    ASize.cx = std::max(W, 0);
    ASize.cy = FItemHeight;
}

void TExtDetailDropDown::DoHideDropDown(bool Cancelled) {
    // The restore comes before the popup's closing events, so that they see the value that stays.
    QPointer<TExtDetailDropDown> Self(this);
    if (FPopup.TakesBack(Cancelled)) {
        if (FPopup.OldItemIndex() != -1)
            SetItemIndex(FPopup.OldItemIndex());
        else
            // Nothing was chosen when the popup opened: an item browsed to since is no choice
            // either. The text goes back with the popup's own cancel.
            FItemIndex = -1;
    }
    if (Self) TExtCustomDropDown::DoHideDropDown(Cancelled);
}

void TExtDetailDropDown::TakeChoice(int Index) {
    QPointer<TExtDetailDropDown> Self(this);
    SetItemIndex(Index);
    if (!Self || FItemIndex < 0) return;
    SetTextQuiet(FItems->Items(FItemIndex)->Caption());
    SetSelStart(0);
    SetSelLength(int(Text().size()));
}

void TExtDetailDropDown::StepSelector(int Dir) {
    FPopup.StepRow(Dir);
    if (FPopup.Selector()) FPopup.Selector()->Invalidate();
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
    const bool Hot = FPopup.Selector() && FPopup.Selector()->ItemHot() == Index;
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
            if (FPopup.Selector()) FPopup.Selector()->Invalidate();
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
        case VK_NEXT:
            FillIfStale();
            FPopup.Page(Key == VK_PRIOR);
            break;
        case VK_HOME:
        case VK_END:
            if (DroppedDown())
                FPopup.MoveBy(Key == VK_HOME ? smFirst : smLast);
            else if (!IsEditable())
                Key == VK_HOME ? SelectFirst() : SelectLast();
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (DroppedDown() && !IsEditable()) FPopup.MoveBy(Key == VK_LEFT ? smPrevious : smNext);
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
    // While the popup is open the typed characters search its rows; closed, they go to the edit,
    // whose completion would fight a search that rewrites the text under it.
    if (Enabled() && DroppedDown() && FPopup.Selector() && TSelectorPopup::SearchChar(Ch, KeyboardShiftState())) {
        FillIfStale();
        FPopup.Search(Ch);
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
    if (FPopup.Selector()) FPopup.Selector()->ItemAppearance()->SetColorStyle(Value);
}

void TExtDetailDropDown::SetComponentStyle(TExtStyle AStyle) {
    TExtCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}
