// Unit ExtGrid: the custom editor link's own operations: the base placement, visibility and
// focus of the application's control, the keys that end a custom edit, and the exits.
#include "grid/control/ExtGrid.h"
#include "platform/gui/Forms.h"

void TEditLink::SetRect(TRect R) {
    TWinControl* C = GetEditControl();
    if (!C) return;
    const int Line = FOwner ? FOwner->GridLineWidth() : 0;
    C->SetBounds(R.Left, R.Top, R.Right - R.Left - Line, R.Bottom - R.Top - Line);
}

void TEditLink::SetVisible(bool Value) {
    if (TWinControl* C = GetEditControl()) C->SetVisible(Value);
}

void TEditLink::SetFocus(bool Value) {
    if (!Value) {
        if (FOwner) FOwner->SetFocus();
        return;
    }
    TWinControl* C = GetEditControl();
    if (!C) return;
    if (!C->Visible()) C->SetVisible(true);
    if (!C->Enabled()) C->SetEnabled(true);
    if (FEditStyle == esInplace) FSubClassed = true;
    C->SetFocus();
}

bool TEditLink::KeyEndsEdit(Word Key, TShiftState Shift) const {
    bool Ends = Shift.Contains(ssAlt);
    switch (Key) {
        case VK_TAB: return !FWantTabs;
        case VK_RETURN: return !FWantKeyReturn;
        case VK_ESCAPE: return !FWantKeyEscape;
        case VK_PRIOR:
        case VK_NEXT: return !FWantKeyPriorNext;
        case VK_END: return !FWantKeyHomeEnd;
        case VK_HOME: return Ends && !FWantKeyHomeEnd;
        case VK_LEFT:
        case VK_RIGHT: return !FWantKeyLeftRight;
        case VK_UP:
        case VK_DOWN: return !FWantKeyUpDown;
        default: return Ends;
    }
}

QString TEditLink::GetCellValue() {
    if (!FOwner) return QString();
    return FOwner->GetCellEx(FOwner->RealCol(), FOwner->Row());
}

void TEditLink::SetCellValue(const QString& Value) {
    if (FOwner) FOwner->StoreEditText(FOwner->RealCol(), FOwner->Row(), Value);
}

TWinControl* TEditLink::GetParent() const {
    if (FEditStyle == esPopup) return FPopupForm;
    return FOwner;
}

void TEditLink::HideEditor() {
    SetCellValue(GetEditorValue());
    if (FOwner) FOwner->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit(TObject* Sender) {
    (void)Sender;
    HideEditor();
    if (FEditStyle == esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->Hide();
    }
}

void TEditLink::EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (!KeyEndsEdit(Key, Shift)) return;
    TExtStringGrid* G = FOwner;
    if (!G) return;
    auto FocusGrid = [this, G] {
        FForcedExit = true;
        G->FocusGridNoEdit();
        FForcedExit = false;
    };
    const Word Pressed = Key;
    if (Pressed == VK_TAB) {
        Key = 0;
        if (G->Navigation()->TabToNextAtEnd()) {
            FocusGrid();
            G->HideInplaceEdit();
            if (FEditStyle == esPopup && FPopupForm) {
                DestroyEditor();
                FPopupForm->Hide();
            }
            const int OldCol = G->Col(), OldRow = G->Row();
            G->EditorsTabToNextCell(Shift);
            const bool Moved = G->Col() != OldCol || G->Row() != OldRow;
            const TCellType T = G->GetCellType(G->RealCol(), G->Row());
            const bool Control = T == ctCheckBox || T == ctDataCheckBox || T == ctRadio || T == ctButton ||
                T == ctVirtCheckBox || T == ctRowCheckBox || T == ctRadioButton || T == ctTriStateCheckBox;
            if (Moved && !Control) PostMessage(G, WM_KEYDOWN, VK_F2, 0);
            return;
        }
    }
    if (Pressed == VK_ESCAPE) SetEditorValue(G->CellCache());
    FocusGrid();
    G->HideInplaceEdit();
    if (FEditStyle == esPopup) EditExit(Sender);
    if (Pressed == VK_RETURN && !G->EditMode()) {
        if (G->Navigation()->AdvanceOnEnter())
            G->AdvanceCell(G->Col(), G->Row(), false, false, !Shift.Contains(ssShift), false, false);
        Key = 0;
        return;
    }
    if (G->EditMode()) {
        // The value was refused: the edit goes on in the same cell.
        Key = 0;
        return;
    }
    if (Pressed == VK_ESCAPE) {
        Key = 0;
        return;
    }
    if (Pressed >= VK_LEFT && Pressed <= VK_DOWN) G->FireGridKeyDown(Key, Shift);
    if (TWinControl* C = GetEditControl()) C->SetEnabled(false);
    FocusGrid();
}
