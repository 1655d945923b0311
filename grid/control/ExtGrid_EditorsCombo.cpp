// The grid's combo editor: its keys, lookup completion, wheel, change events and focus.
#include "grid/control/ExtGrid.h"

#include "grid/control/ExtGrid_Editors.h"
#include "platform/gui/Messages.h"

#include <QComboBox>
#include <QLineEdit>

TGridCombo::TGridCombo(TComponent* AOwner) : TEsgComboBox(AOwner), FGrid(GridEditorOwner(AOwner)) {
    SetButtonWidth(16);
}

void TGridCombo::SizeDropDownWidth() {
    int W = Width();
    TCanvas* C = FGrid->Canvas();
    C->Font()->Assign(Font());
    const bool Scrolls = DropDownCount() < Items()->Count();
    for (int I = 0; I < Items()->Count(); ++I) {
        const int w = C->TextWidth(Items()->Strings(I));
        if (Scrolls) {
            if (W - 25 < w) W = w + 25;
        } else if (W - 5 < w) {
            W = w + 8;
        }
    }
    SetListWidth(W);
}

void TGridCombo::DoChange() {
    if (!WorkMode || !FGrid->Lookup()) return;
    const bool Case = FGrid->LookupCaseSensitive();
    const QString Current = Text();
    const int Caret = SelStart();
    QString P = Current.left(Caret);
    if (P.isEmpty()) return;
    if (!Case) P = P.toUpper();
    auto Complete = [&](const QString& Item) {
        const QString Added = Item.mid(P.length()).left(255);
        SetText(Current.left(P.length()) + Added);
        return Added;
    };
    for (int I = 0; I < Items()->Count(); ++I) {
        const QString Item = Items()->Strings(I);
        if (!(Case ? Item : Item.toUpper()).startsWith(P)) continue;
        const QString Typed = Current.left(P.length());
        SetItemIndex(I);
        SetText(Typed + Item.mid(P.length()).left(255));
        SetSelStart(P.length());
        SetSelLength(Text().length() - P.length());
        ItemIdx = I;
        ItemChange = true;
        return;
    }
    TStrings* L = FGrid->LookupItems();
    for (int I = 0; I < L->Count(); ++I) {
        const QString Item = L->Strings(I);
        if (!(Case ? Item : Item.toUpper()).startsWith(P)) continue;
        Complete(Item);
        SetSelStart(P.length());
        SetSelLength(Text().length() - P.length());
        return;
    }
}

bool TGridCombo::CommitText(bool SelectAllOnRefusal) {
    if (FGrid->CommitEditorText(FCell, Text())) {
        const QString Stored = FGrid->EditorCellText(FCell);
        if (Style() == csDropDownList)
            SelectItem(Stored);
        else
            SetText(Stored);
        return true;
    }
    // Refused: the cell keeps its text; the combo shows what the validation left.
    SetText(FGrid->NewCellText());
    if (SelectAllOnRefusal && Style() != csDropDownList) SelectAll();
    if (!SelectAllOnRefusal) SetSelStart(Text().length());
    Invalidate();
    return false;
}

void TGridCombo::KeyDown(Word& Key, TShiftState Shift) {
    Forced = false;
    const bool ListOrOpen = Style() == csDropDownList || DroppedDown();
    bool Special = ListOrOpen
        ? GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT})
        : GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    TExtStringGrid* G = FGrid;

    if ((Key == VK_UP || Key == VK_DOWN) && !G->Navigation()->ComboGetUpDown() && !DroppedDown()) {
        // The value goes into this editor's cell before the grid moves; nothing follows the move.
        G->HideInplaceEdit();
        G->FocusGridNoEdit();
        G->FireGridKeyDown(Key, Shift);
        Key = 0;
        return;
    }
    if (Key == VK_DOWN && Shift.Contains(ssAlt)) Special = false;
    if (!Special) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        SetText(FCell.OpenText);
        SelectItem(FCell.OpenText);
        G->CancelInplaceEdit();
        Key = 0;
        return;
    }
    if (GridEditorKeyIn(Key, {VK_RETURN, VK_UP, VK_DOWN})) {
        if (!CommitText(true)) {
            Key = 0;
            G->SetEditorRefusedValue(true);
            return;
        }
    }
    if (Key == VK_TAB) {
        if (!G->EditorWantsTab()) {
            TEsgComboBox::KeyDown(Key, Shift);
            return;
        }
        if (!CommitText(false)) {
            Key = 0;
            return;
        }
        if (G->Options().Contains(goTabs)) {
            G->HideInplaceEdit();
            G->EditorsTabToNextCell(Shift);
        } else {
            G->HideInplaceEdit();
            PostMessage(G, WM_KEYDOWN, VK_TAB, LPARAM(Shift.Bits()));
        }
        Key = 0;
        return;
    }
    if (ListOrOpen) {
        const bool DirectClose = G->MouseActions()->DirectComboClose();
        G->MouseActions()->SetDirectComboClose(false);
        G->HideInplaceEdit();
        G->MouseActions()->SetDirectComboClose(DirectClose);
        if (Key == VK_LEFT || Key == VK_RIGHT) {
            G->FocusGridNoEdit();
            G->FireGridKeyDown(Key, Shift);
        }
        if (GridEditorKeyIn(Key, {VK_PRIOR, VK_NEXT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) Key = 0;
    } else if (Key == VK_END) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    G->DoneInplaceEdit(Key, Shift);
    if (Key == VK_RETURN && G->Navigation()->AdvanceOnEnter() && G->Navigation()->AdvanceAutoEdit() &&
        !G->EditorRefusedValue())
        G->ShowInplaceEdit();
    Key = 0;
}

void TGridCombo::KeyUp(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (Style() != csDropDownList && G->Navigation()->CursorWalkEditor() && Shift.Empty() && SelLength() == 0) {
        const bool AtStart = Key == VK_LEFT && SelStart() == 0;
        const bool AtEnd = Key == VK_RIGHT && SelStart() == Text().length();
        if (AtStart || AtEnd) {
            Key = 0;
            G->EditorsCursorWalk(FCell, Text(), AtEnd);
            G->SetEditorRefusedValue(false);
            return;
        }
    }
    G->SetEditorRefusedValue(false);
    if (Key != VK_RETURN) TEsgComboBox::KeyUp(Key, Shift);
    DoChange();
}

void TGridCombo::KeyPress(QChar& Key) {
    if (FGrid->OnKeyPress && !FGrid->TakeReportedStartChar(Key)) FGrid->OnKeyPress(this, Key);
    const ushort K = Key.unicode();
    if (K == 27) {
        Key = QChar();
        return;
    }
    if (K == 13 && FOnReturnKey) FOnReturnKey(this);
    if (K == 13 || K == 9) {
        Key = QChar();
        return;
    }
    TEsgComboBox::KeyPress(Key);
}

void TGridCombo::FireComboChange(int Index) {
    TExtStringGrid* G = FGrid;
    if (Index < 0 || Index >= Items()->Count()) return;
    const int Row = G->EditorDisplRow(FCell);
    if (G->OnComboChange) G->OnComboChange(G, FCell.RealCol, Row, Index, Items()->Strings(Index));
    if (G->OnComboObjectChange)
        G->OnComboObjectChange(G, FCell.RealCol, Row, Index, Items()->Strings(Index), Items()->Objects(Index));
}

void TGridCombo::Wheel(int Delta) {
    const int Count = Items()->Count();
    if (Count == 0) return;
    int I = ItemIndex();
    // Never past the last item nor above the first.
    if (Delta < 0)
        I = std::min(I + 1, Count - 1);
    else if (Delta > 0)
        I = std::max(I - 1, 0);
    SetItemIndex(I);
    TExtStringGrid* G = FGrid;
    if (G->OnEditChange) G->OnEditChange(G, FCell.RealCol, G->EditorDisplRow(FCell), Items()->Strings(I));
    FireComboChange(I);
}

void TGridCombo::WndProc(TMessage& M) {
    switch (M.Msg) {
        case WM_MOUSEWHEEL: {
            Wheel(short(HiWord(M.WParam)));
            M.Result = 1;
            return;
        }
        case CM_WANTSPECIALKEY: {
            const Word Key = Word(M.WParam);
            if (Key == VK_RETURN || Key == VK_ESCAPE)
                M.Result = 1;
            else if (Key == VK_TAB)
                M.Result = FGrid->EditorWantsTab() ? 1 : 0;
            else
                TEsgComboBox::WndProc(M);
            return;
        }
        case WM_CHAR: {
            // A typed letter may pick an item by the list's own key search. The list announces
            // that choice as it announces a pick with the mouse, and the grid reports it from
            // there; only a choice the list kept quiet about is reported here, so each choice
            // reaches OnComboChange once.
            const int Before = ItemIndex();
            const int Announced = FListChoices;
            TEsgComboBox::WndProc(M);
            const int After = ItemIndex();
            if (After != Before && FListChoices == Announced) FireComboChange(After);
            return;
        }
        default: TEsgComboBox::WndProc(M);
    }
}

void TGridCombo::EditChanged() {
    if (!FCell.Open) return;
    TExtStringGrid* G = FGrid;
    G->EditorCanModify();
    if (G->OnEditChange) G->OnEditChange(G, FCell.RealCol, G->EditorDisplRow(FCell), Text());
}

void TGridCombo::Change() {
    TEsgComboBox::Change();
    EditChanged();
}

void TGridCombo::Select() {
    ++FListChoices;
    // Without an OnSelect handler the platform treats a choice as a change already.
    TEsgComboBox::Select();
    if (OnSelect) EditChanged();
}

void TGridCombo::DoEnter() {
    TEsgComboBox::DoEnter();
    if (Style() == csDropDownList) return;
    if (!FGrid->Navigation()->EditSelectAll()) SetSelStart(Text().length());
    if (FGrid->ComboClickFocus) {
        if (QLineEdit* E = Native()->lineEdit()) {
            const QPoint P = E->mapFromGlobal(QCursor::pos());
            E->deselect();
            E->setCursorPosition(E->cursorPositionAt(P));
        }
        FGrid->ComboClickFocus = false;
    }
}

void TGridCombo::DoExit() {
    TExtStringGrid* G = FGrid;
    if (G->IsDestroying()) {
        TEsgComboBox::DoExit();
        return;
    }
    if (G->LookupHistory() && !Text().isEmpty() && Items()->IndexOf(Text()) < 0) Items()->Add(Text());
    TEsgComboBox::DoExit();
    if (G->EditorControl() == this) G->HideInplaceEdit();
}
