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
void TImageItem::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TImageItem*>(Source);
    if (!S) return;
    SetCaption(S->Caption());
    SetImageIndex(S->FImageIndex);
    FImage.Assign(&S->FImage);
    FEnabled = S->FEnabled;
    FHint = S->FHint;
}

// ---- creation -------------------------------------------------------------------------------
TExtImagePickerDropDown::TExtImagePickerDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FItems(std::make_unique<TImageItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
    FItems->OnChange = [](TObject*) {};
}

TExtImagePickerDropDown::~TExtImagePickerDropDown() = default;

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
    // No image names no item: an item that shows a picture of its own has no image index either,
    // and would stand for a value that has no image.
    for (int I = 0; I < FItems->Count() && Found < 0 && Value >= 0; ++I)
        if (FItems->Items(I)->ImageIndex() == Value) Found = I;
    SetItemIndex(Found);
}

void TExtImagePickerDropDown::Select(TSelectMove Move) {
    if (const auto To = SelectTarget(Move, FItemIndex, FItems->Count())) SetItemIndex(*To);
}

// ---- popup ----------------------------------------------------------------------------------
void TExtImagePickerDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    FPopup.Create(stImage);
    FPopup.Show();
}

void TExtImagePickerDropDown::FillSelector() {
    TExtCustomItemSelector* S = FPopup.Selector();
    if (!S) return;
    FPopup.Fill(
        {FColumns, Images(), FLayout, DropDownColor(), FItemAppearance.get()},
        [this](TSelectorItems* L) {
            for (int I = 0; I < FItems->Count(); ++I) {
                TImageItem* Src = FItems->Items(I);
                TSelectorItem* It = L->Add();
                It->SetCaption(Src->Caption());
                It->SetImage(Src->Image());
                It->SetImageIndex(Src->ImageIndex());
                It->SetHint(Src->Hint());
                It->FEnabled = Src->FEnabled;
            }
        },
        FItemIndex, [this](int Index) { SetItemIndex(Index); });
    S->SetShowHint(ShowHint());
    if (OnDrawItem)
        S->OnDrawItem = [this](TObject*, TCanvas* C, TRect R, int Index) {
            if (OnDrawItem) OnDrawItem(this, C, R, Index);
        };
    else
        S->OnDrawItem = nullptr;
}

void TExtImagePickerDropDown::FillIfStale() {
    if (FPopup.Selector() && FPopup.Selector()->Items()->Count() != FItems->Count()) FillSelector();
}

void TExtImagePickerDropDown::BeforeDropDown() {
    QPointer<TExtImagePickerDropDown> Self(this);
    TExtCustomDropDown::BeforeDropDown();
    if (!Self) return;
    FillSelector();
    FPopup.Opened(FItemIndex);
}

void TExtImagePickerDropDown::SizeDropDown() { FPopup.SizeToPanel(); }

void TExtImagePickerDropDown::DoHideDropDown(bool Cancelled) {
    // The restore comes before the popup's closing events, so that they see the value that stays.
    QPointer<TExtImagePickerDropDown> Self(this);
    if (FPopup.TakesBack(Cancelled)) SetItemIndex(FPopup.OldItemIndex());
    if (Self) TExtCustomDropDown::DoHideDropDown(Cancelled);
}

// ---- keys and wheel -------------------------------------------------------------------------
void TExtImagePickerDropDown::WMKeyDown(TMessage& M) {
    const Word Key = Word(M.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(M.LParam));
    QPointer<TExtImagePickerDropDown> Self(this);
    bool Consumed = false;
    if (Enabled() && DroppedDown() && Key == VK_RETURN) {
        Consumed = FPopup.ChooseHot();
        if (!Self) return;
    }
    TExtCustomDropDown::WMKeyDown(M);
    if (!Self || !Enabled() || Shift.Contains(ssAlt)) return;
    switch (Key) {
        case VK_RETURN:
            if (!Consumed && OnSelect) OnSelect(this);
            break;
        case VK_PRIOR:
        case VK_NEXT:
            FillIfStale();
            FPopup.Page(Key == VK_PRIOR);
            break;
        case VK_HOME:
        case VK_END:
            if (DroppedDown())
                FPopup.MoveBy(Key == VK_HOME ? smFirst : smLast);
            else if (Key == VK_HOME)
                SelectFirst();
            else
                SelectLast();
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (DroppedDown() && !EditorEnabled()) FPopup.MoveBy(Key == VK_LEFT ? smPrevious : smNext);
            break;
        case VK_UP:
        case VK_DOWN:
            if (DroppedDown())
                FPopup.StepRow(Key == VK_UP ? -1 : 1);
            else if (Key == VK_UP)
                SelectPrevious();
            else
                SelectNext();
            break;
        default: break; // letters search through the characters they type
    }
}

void TExtImagePickerDropDown::WMChar(TMessage& M) {
    const QChar Ch(char16_t(M.WParam));
    // The search takes what was typed, so digits of the number pad and punctuation find the
    // captions that hold them.
    if (Enabled() && FPopup.Selector() && TSelectorPopup::SearchChar(Ch, KeyboardShiftState())) {
        FillIfStale();
        FPopup.Search(Ch);
        return;
    }
    TExtCustomDropDown::WMChar(M);
}

void TExtImagePickerDropDown::Wheel(bool Down) {
    if (!Enabled() || ReadOnly()) return;
    if (!DroppedDown()) FillIfStale();
    FPopup.Wheel(Down, DroppedDown());
}

void TExtImagePickerDropDown::MouseWheelDownHook() { Wheel(true); }
void TExtImagePickerDropDown::MouseWheelUpHook() { Wheel(false); }

// ---- styles and painting --------------------------------------------------------------------
void TExtImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    TExtCustomDropDown::SetSelectionColorStyle(Value);
    if (FPopup.Selector()) FPopup.Selector()->ItemAppearance()->SetColorStyle(Value);
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
