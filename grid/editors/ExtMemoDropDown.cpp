#include "grid/editors/ExtMemoDropDown.h"

#include "platform/rtl/StateScope.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPointer>

TExtMemoDropDown::TExtMemoDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FMemoText(std::make_unique<TStringList>()) {
    FMemoText->OnChange = [this](TObject* Sender) { MemoTextChanged(Sender); };
}

TExtMemoDropDown::~TExtMemoDropDown() {
    Destroying();
    FMemoText->OnChange = nullptr;
}

// ---- value ------------------------------------------------------------------------------------------
void TExtMemoDropDown::SetMemoText(TStrings* Value) {
    FMemoText->Assign(Value);
    if (FMemo) FMemo->Lines()->Assign(FMemoText.get());
}

void TExtMemoDropDown::SetMemoReadOnly(bool Value) {
    FMemoReadOnly = Value;
    if (FMemo && DroppedDown()) FMemo->SetReadOnly(Value);
}

void TExtMemoDropDown::MemoTextChanged(TObject*) { UpdateEditText(); }

namespace {
// The lines as one text, without a break after the last.
QString JoinedLines(const TStrings* L) {
    QString T;
    for (int I = 0; I < L->Count(); ++I) {
        if (I > 0) T += QStringLiteral("\r\n");
        T += L->Get(I);
    }
    return T;
}
} // namespace

void TExtMemoDropDown::UpdateEditText() {
    QString T;
    if (FMemoText->Count() == 0 || EditorEnabled()) {
        T = JoinedLines(FMemoText.get());
    } else {
        const QString First = FMemoText->Get(0);
        TCanvas C;
        C.Font()->Assign(Font());
        const int Room = GetEditRect().Width();
        if (C.TextWidth(First) < Room)
            T = FMemoText->Count() > 1 ? First + QStringLiteral("...") : First;
        else
            T = FitText(&C, First, Room, true);
    }
    const TStateScope<bool> Internal(FInternalUpdate, true);
    SetTextUnformatted(T);
}

void TExtMemoDropDown::Change() {
    if (!FInternalUpdate) {
        FMemoText->OnChange = nullptr;
        struct TRebind {
            TExtMemoDropDown* D;
            ~TRebind() {
                D->FMemoText->OnChange = [d = D](TObject* Sender) { d->MemoTextChanged(Sender); };
            }
        } Rebind{this};
        FMemoText->SetText(GetText());
    }
    TExtCustomDropDown::Change();
}

// ---- popup ------------------------------------------------------------------------------------------
void TExtMemoDropDown::CreateDropDownForm() {
    TExtCustomDropDown::CreateDropDownForm();
    if (FMemo || !DropDownForm()) return;
    FMemo = Create<TMemo>(this, DropDownForm());
    FMemo->SetHeight(MemoHeight);
    FMemo->Native()->setFrameShape(QFrame::NoFrame);
    FMemo->OnChange = [this](TObject*) {
        if (OnMemoChange) OnMemoChange(this);
    };
    FMemo->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
    SetControl(FMemo);
}

void TExtMemoDropDown::BeforeDropDown() {
    TExtCustomDropDown::BeforeDropDown();
    if (!DropDownForm() || !FMemo) return;
    DropDownForm()->SetCancelOnDeActivate(false);
    FMemo->Lines()->Assign(FMemoText.get());
    FMemo->SetPopupMenu(FMemoPopup);
    FMemo->SetMaxLength(MaxLength());
    FMemo->SetScrollBars(FMemoScrollBars);
    FMemo->SetReadOnly(FMemoReadOnly);
}

void TExtMemoDropDown::SizeDropDown() {
    TExtCustomDropDown::SizeDropDown();
    // The memo fills the popup, so its own size was lost to the empty popup it was laid out in:
    // the popup takes the size the memo was given, as wide as the edit and 100 high.
    if (!DropDownForm() || !FMemo) return;
    const int W = DropDownWidth() > 0 ? DropDownWidth() : Width();
    int H = DropDownHeight();
    if (H <= 0) {
        H = 2 * DropDownBorderWidth() + MemoHeight;
        if (DropDownHeader()->Visible()) H += DropDownHeader()->Height();
        if (DropDownFooter()->Visible()) H += DropDownFooter()->Height();
    }
    DropDownForm()->resize(W, H);
}

void TExtMemoDropDown::DoHideDropDown(bool Cancelled) {
    // Closing gives the focus back to the edit, which must not open the popup again.
    const TStateScope<bool> Suspended(FAutoDropSuspended, true);
    if (Cancelled && FMemo && DroppedDown()) FMemo->Lines()->Assign(FMemoText.get());
    TExtCustomDropDown::DoHideDropDown(Cancelled);
}

void TExtMemoDropDown::AfterDropUp() {
    QPointer<TExtMemoDropDown> Self(this);
    TExtCustomDropDown::AfterDropUp();
    if (!Self || !FMemo || ComponentState().Contains(csDestroying)) return;
    FMemoText->Assign(FMemo->Lines());
    UpdateEditText();
    SetSelStart(0);
    SetSelLength(0);
}

void TExtMemoDropDown::DoEnter() {
    TExtCustomDropDown::DoEnter();
    if (FAutoDrop && !FAutoDropSuspended && !DroppedDown()) DoDropDown();
}

// ---- keys in the memo -------------------------------------------------------------------------------
void TExtMemoDropDown::ControlKeyDown(Word& Key, TShiftState Shift) {
    // Escape cancels; Alt with Up or Down closes as cancelled or opens. These are used up here:
    // passed on to the edit as well, Alt+Up would open the popup it has just closed.
    if (Key == VK_ESCAPE) {
        Key = 0;
        HideDropDown(true);
        return;
    }
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        Key = 0;
        if (DroppedDown())
            HideDropDown(true);
        else
            ShowDropDown();
        return;
    }
    if (Shift.Contains(ssCtrl) && Key == 'A' && FMemo) {
        FMemo->Native()->selectAll();
        Key = 0;
        return;
    }
    if (Shift.Contains(ssAlt) || Key == VK_F4) TExtCustomDropDown::ControlKeyDown(Key, Shift);
}

void TExtMemoDropDown::ControlKeyUp(Word& Key, TShiftState Shift) {
    if (Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4) TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

void TExtMemoDropDown::ControlKeyPress(QChar& Key) {
    if (KeyboardShiftState().Contains(ssAlt) || Key == QChar(27)) TExtCustomDropDown::ControlKeyPress(Key);
}
