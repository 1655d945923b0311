// TExtInplaceEdit, the grid's default text editor: the character filters of the cell's editor
// kind, the length limit with automatic advance, validation on the keys that end an edit, guarded
// clipboard operations (a paste goes through the same filter as typing and, like typed text, is
// written into the cell only when the edit ends and the value is accepted), caret walking into the
// neighbouring cell, focus handling and lookup completion.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace {

bool IsDigit(ushort U) { return U >= '0' && U <= '9'; }

} // namespace

TExtInplaceEdit::TExtInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {
    FGrid = dynamic_cast<TExtStringGrid*>(AOwner);
    FAltBack = false;
    // The edit control's own menu would paste past the filters and the clipboard events.
    Native()->setContextMenuPolicy(Qt::NoContextMenu);
    // The selection on entering is the editor's own (all, the end, or where the click was).
    SetAutoSelect(false);
}

void TExtInplaceEdit::SetVAlign(bool Value) { FValign = Value; }

void TExtInplaceEdit::SetWordWrap(bool Value) { FWordWrap = Value; }

TEditorType TExtInplaceEdit::Kind() const { return FGrid ? FGrid->EditControl() : edNormal; }

// ---- loading and placing ------------------------------------------------------------------------------
void TExtInplaceEdit::UpdateContents() {
    if (!FGrid) {
        TInplaceEdit::UpdateContents();
        return;
    }
    const int RealCol = FGrid->GetRealCol();
    const int DisplRow = FGrid->Row();
    int BC = RealCol, BR = DisplRow;
    FGrid->ResolveBaseCell(RealCol, DisplRow, BC, BR);
    // The editor writes back into the cell it loads, whatever the current cell is by then.
    if (FGrid->FEditRealCol != BC || FGrid->FEditRow != BR) FGrid->NoteEditCell(BC, BR);
    FGrid->FNoEditChange = true;
    try {
        TInplaceEdit::UpdateContents();
    } catch (...) {
        FGrid->FNoEditChange = false;
        throw;
    }
    FGrid->FNoEditChange = false;
    FWordWrap = FGrid->WordWrap();
    GotKey = false;
    Workmode = true;
    FLengthLimit = FGrid->GetEditLimit();
    SetPasswordChar(Kind() == edPassword || FGrid->IsPassword(BC, BR) ? FGrid->PasswordChar() : QChar());

    TBrush Brush;
    TFont Font;
    Font.Assign(FGrid->Font());
    Brush.SetColor(FGrid->Color());
    TColor ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
    TAlignment HA = FGrid->DefaultAlignment();
    TVAlignment VA = vtaTop;
    bool WW = false;
    TCellGradientDirection GD = GradientVertical;
    TGridDrawState State;
    FGrid->GetVisualProperties(BC, BR, State, false, false, true, &Brush, ColorTo, Mirror, MirrorTo, &Font, HA, VA, WW,
                               GD);
    if (Brush.Color() != clNone) SetColor(Brush.Color());
    this->Font()->Assign(&Font);
    Native()->setAlignment(HA == taRightJustify ? Qt::AlignRight | Qt::AlignVCenter
                               : HA == taCenter ? Qt::AlignHCenter | Qt::AlignVCenter
                                                : Qt::AlignLeft | Qt::AlignVCenter);
    FColE = FGrid->Col();
    FRowE = FGrid->Row();
    FGrid->DoGetEditorProp(BC, BR, nullptr);
}

void TExtInplaceEdit::BoundsChanged() {
    if (!FGrid) {
        TInplaceEdit::BoundsChanged();
        return;
    }
    // The grid's own rectangle of the cell: a merged cell's area, mirrored for right to left.
    TRect R = FGrid->CellRect(FGrid->Col(), FGrid->Row());
    if (R.IsEmpty()) R = EditRect();
    R = FGrid->WindowRect(R);
    if (FGrid->MirroredLayout()) R.Left += 1;
    SetBounds(R.Left, R.Top, std::max(R.Right - R.Left - 1, 0), std::max(R.Bottom - R.Top - 1, 0));
}

// ---- messages -----------------------------------------------------------------------------------------
void TExtInplaceEdit::WndProc(TMessage& Message) {
    if (!FGrid) {
        TInplaceEdit::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_SYSKEYDOWN:
            if (Message.WParam == VK_BACK) FAltBack = true;
            break;
        case WM_SYSKEYUP:
            if (Message.WParam == VK_BACK) FAltBack = false;
            break;
        case CM_WANTSPECIALKEY:
            if (Message.WParam == VK_TAB) {
                Message.Result = FGrid->EditorWantsTab() ? 1 : 0;
                return;
            }
            break;
        case WM_CHAR:
            if (FilterChar(Message)) return;
            break;
        case WM_KEYDOWN: {
            FGrid->MessageHook(Message);
            if (KeyDownMessage(Message)) return;
            break;
        }
        case WM_COPY:
        case WM_CUT: {
            bool Allow = true;
            if (Message.Msg == WM_COPY) {
                if (FGrid->OnClipboardCopy) FGrid->OnClipboardCopy(this, Allow);
                if (Allow) CopyToClipboard();
            } else {
                if (FGrid->OnClipboardCut) FGrid->OnClipboardCut(this, Allow);
                if (Allow) CutToClipboard();
            }
            return;
        }
        case WM_PASTE: PasteText(); return;
        case WM_KILLFOCUS: FocusLost(reinterpret_cast<TControl*>(Message.WParam)); return;
        case WM_SETFOCUS:
            TInplaceEdit::WndProc(Message);
            FocusGained();
            return;
        default: break;
    }
    TInplaceEdit::WndProc(Message);
}

// ---- typed characters -----------------------------------------------------------------------------------
bool TExtInplaceEdit::FilterChar(TMessage& Message) {
    QChar C(char16_t(Message.WParam));
    ushort U = C.unicode();
    const bool Ctrl = KeyboardShiftState().Contains(ssCtrl);
    const TEditorType K = Kind();
    TNavigation* Nav = FGrid->Navigation();
    if (FDropChar != 0 && U == FDropChar) {
        // The character of a key whose value was refused: the edit stays as it is.
        FDropChar = 0;
        return true;
    }
    FDropChar = 0;

    if (FGrid->ExcelStyleDecimalSeparator() && U == '.' && (Message.LParam & (1 << 22))) {
        C = GridDecimalSeparator();
        U = C.unicode();
        Message.WParam = U;
    }
    if (Ctrl && U == 1) return true;
    // The clipboard keys take the grid's clipboard paths (events, filter), never the edit
    // control's own.
    if (Ctrl && (U == 3 || U == 22 || U == 24)) {
        Perform(U == 3 ? WM_COPY : U == 22 ? WM_PASTE : WM_CUT, 0, 0);
        return true;
    }
    if (Ctrl && U == 10) {
        if (!(Nav->AllowCtrlEnter() && (FGrid->WordWrap() || FGrid->Multilinecells()))) return true;
        TInplaceEdit::WndProc(Message);
        return true;
    }
    const QString T = Text();
    if (FLengthLimit > 0 && T.size() >= FLengthLimit && SelLength() == 0 && U != 8 && U != 27 && U != 13) return true;
    if (Nav->LineFeedOnEnter() && U == 13 &&
        (K == edNormal || K == edCapital || K == edMixedCase || K == edLowerCase || K == edUpperCase ||
         K == edValidChars)) {
        TInplaceEdit::WndProc(Message);
        return true;
    }
    const bool Control = U == 8 || U == 9 || U == 13 || U == 27;
    auto Beep = [] {
        MessageBeep(0);
        return true;
    };
    const int Caret = SelStart();
    int MixedCaret = -1;
    switch (K) {
        case edNumeric:
            if (Control || IsDigit(U)) break;
            if (U == '-' && !T.contains(QLatin1Char('-')) && Caret == 0) break;
            return Beep();
        case edPositiveNumeric:
            if (Control || IsDigit(U)) break;
            return Beep();
        case edFloat:
        case edPositiveFloat: {
            const bool InSet = Control || IsDigit(U) || U == ',' || U == '.' || (U == '-' && K == edFloat);
            if (!InSet) {
                if (Ctrl) break;
                return true;
            }
            if (C == GridDecimalSeparator()) {
                if (T.contains(C) && !SelText().contains(C)) return true;
                break;
            }
            if (C == GridThousandSeparator() && (U == ',' || U == '.')) return true;
            if (U == '-') {
                if (SelText().contains(QLatin1Char('-'))) break;
                if (Caret != 0 || T.contains(QLatin1Char('-'))) return Beep();
            }
            break;
        }
        case edCapital:
        case edUpperCase:
            if (!Control) Message.WParam = QString(C).toUpper().at(0).unicode();
            break;
        case edLowerCase:
            if (!Control) Message.WParam = QString(C).toLower().at(0).unicode();
            break;
        case edMixedCase:
            if (!Control) MixedCaret = Caret + 1;
            break;
        case edValidChars:
            if (U == 8 || U == 13) break;
            if (!FGrid->ValidChars().isEmpty() && FGrid->ValidChars().contains(C)) break;
            return Beep();
        default: break;
    }
    TInplaceEdit::WndProc(Message);
    if (MixedCaret >= 0) {
        const QString Proper = ProperCase(Text());
        if (Proper != Text()) SetText(Proper);
        SetSelStart(std::min<int>(MixedCaret, int(Text().size())));
    }
    // A text typed to its full length moves on as Enter does.
    TNavigation* N = FGrid->Navigation();
    const int Limit = FGrid->MaxEditLength();
    if (isVisible() && N->AdvanceAuto() && N->AdvanceOnEnter() && Limit > 0 && U >= 32 && Text().size() == Limit &&
        SelLength() == 0 && SelStart() == Text().size()) {
        if (AcceptValue(false)) {
            QChar Enter(13);
            FGrid->KeyPress(Enter);
        }
    }
    return true;
}

// ---- keys ----------------------------------------------------------------------------------------------------
bool TExtInplaceEdit::AcceptValue(bool Repaint) {
    const QString T = Text();
    if (!FGrid->FEditing) return true;
    const bool Valid = FGrid->ValidateCell(T);
    if (!Valid) {
        KeepEditing(Repaint);
        return false;
    }
    if (FGrid->NewCellText() != T) {
        FGrid->FNoEditChange = true;
        SetText(FGrid->NewCellText());
        FGrid->FNoEditChange = false;
    }
    return true;
}

void TExtInplaceEdit::KeepEditing(bool Repaint) {
    FGrid->FNoEditChange = true;
    SetText(FGrid->NewCellText());
    FGrid->FNoEditChange = false;
    if (FGrid->Navigation()->EditSelectAll())
        SelectAll();
    else
        SetSelStart(int(Text().size()));
    if (Repaint) update();
    // The value is still being edited: it is checked again whenever it would leave the editor.
    FGrid->FEditing = true;
    FGrid->FNoAutoAdvance = true;
}

bool TExtInplaceEdit::KeyDownMessage(TMessage& Message) {
    Word Key = Word(Message.WParam);
    const TShiftState Shift = TShiftState::FromBits(uint32_t(Message.LParam));
    FOldSelStart = SelStart();
    TNavigation* Nav = FGrid->Navigation();
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool NoSel = SelLength() == 0;
    const int Len = int(Text().size());

    if (Key == VK_ESCAPE) {
        // Nothing typed reaches the cell: it keeps the text it had when the editor opened.
        FGrid->FRevertEdit = true;
        FGrid->FNoEditChange = true;
        SetText(FGrid->CellCache());
        FGrid->FNoEditChange = false;
        FGrid->FEditing = false;
        if (FGrid->FEditMode)
            FGrid->HideInplaceEdit();
        else
            FGrid->HideEditor();
        FGrid->FRevertEdit = false;
        return true;
    }
    if (Key == 'A' && Ctrl && !(GetKeyState(VK_RMENU) < 0)) {
        SelectAll();
        return true;
    }
    // The clipboard keys without a character.
    if (Key == VK_INSERT && (Shift.Contains(ssShift) || Ctrl)) {
        Perform(Shift.Contains(ssShift) ? WM_PASTE : WM_COPY, 0, 0);
        return true;
    }
    if (Key == VK_DELETE && Shift.Contains(ssShift)) {
        Perform(WM_CUT, 0, 0);
        return true;
    }
    const bool CtrlEnterAllowed = Nav->AllowCtrlEnter() && (FGrid->WordWrap() || FGrid->Multilinecells());
    if (Key == VK_RETURN && Ctrl && !CtrlEnterAllowed && !Nav->LineFeedOnEnter()) {
        FDropChar = 13;
        return true;
    }

    if (Key == VK_TAB && FGrid->EditorWantsTab()) {
        if (!AcceptValue(true)) {
            FDropChar = 9;
            return true;
        }
        TExtStringGrid* G = FGrid;
        G->FEditing = false;
        G->HideInplaceEdit();
        if (G->Options().Contains(goTabs)) {
            Word K = VK_TAB;
            G->KeyDown(K, Shift);
        } else {
            PostMessage(G, WM_KEYDOWN, VK_TAB, LPARAM(Shift.Bits()));
        }
        FDropChar = 9;
        return true;
    }
    if (((Key == VK_LEFT && FOldSelStart == 0) || (Key == VK_RIGHT && FOldSelStart == Len)) &&
        Shift.Contains(ssShift) && !Ctrl && Nav->CursorWalkEditor()) {
        if (!AcceptValue(true)) return true;
        TExtStringGrid* G = FGrid;
        G->FEditing = false;
        G->HideInplaceEdit();
        if (G->CanFocus()) G->SetFocus();
        return true;
    }
    // Keys that move the grid's current cell take the value out of the editor: it is checked
    // first, and a refused one keeps the editor (and the current cell) where they are.
    const bool GridMove = Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT ||
        (!Nav->CursorWalkEditor() && NoSel && !Shift.Contains(ssShift) &&
         ((Key == VK_LEFT && FOldSelStart == 0) || (Key == VK_RIGHT && FOldSelStart == Len)));
    bool RowMove = false;
    if (GridMove) {
        if (!AcceptValue(true)) return true;
        RowMove = Key == VK_UP || Key == VK_DOWN;
    }
    if (Key == VK_RETURN && !Nav->LineFeedOnEnter() && !Ctrl) {
        if (!AcceptValue(false)) {
            FDropChar = 13;
            return true;
        }
    }
    if ((Key == VK_HOME || Key == VK_END) && !Ctrl && !Shift.Contains(ssShift)) {
        SetSelStart(Key == VK_HOME ? 0 : Len);
        return true;
    }
    if (Key == VK_RETURN && Ctrl && Nav->LineFeedOnEnter()) {
        if (!AcceptValue(false)) return true;
        QChar Enter(13);
        TInplaceEdit::KeyPress(Enter);
        FDropChar = 13;
        return true;
    }
    TExtStringGrid* G = FGrid;
    TInplaceEdit::WndProc(Message);
    if (RowMove && G->MouseActions()->DisjunctRowSelect()) {
        G->ClearRowSelect();
        G->SelectRows(G->Row(), 1);
    }
    return true;
}

void TExtInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
    FSelKeyDown = SelStart();
    if (Key == VK_BACK || Key == VK_DELETE)
        Workmode = false;
    else if (Key != VK_RETURN && Key != VK_UP && Key != VK_DOWN)
        Workmode = true;
    if (FGrid) FGrid->EditKeyDownHook(Key, Shift);
    if (Key == 0) return;
    // With caret walking the key release moves to the neighbouring cell; the edit control only
    // moves the caret.
    if (FGrid && (Key == VK_LEFT || Key == VK_RIGHT) && FGrid->Navigation()->CursorWalkEditor()) {
        TCustomEdit::KeyDown(Key, Shift);
        return;
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

void TExtInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TInplaceEdit::KeyUp(Key, Shift);
        return;
    }
    TNavigation* Nav = FGrid->Navigation();
    const bool NoShift = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    const bool NoSel = SelLength() == 0;
    TExtStringGrid* G = FGrid;
    auto WalkTo = [&](bool Forward) {
        Key = 0;
        if (!AcceptValue(true)) return;
        G->FEditing = false;
        G->WalkFromEditor(Forward);
    };
    if (Key == VK_LEFT && NoSel && FSelKeyDown == 0 && SelStart() == 0 && NoShift && Nav->CursorWalkEditor()) {
        const int c = G->Col();
        if (c > G->FixedCols() && G->HasCellControl(G->RealColIndex(c - 1), G->Row())) {
            Key = 0;
            if (!AcceptValue(true)) return;
            G->FEditing = false;
            G->HideInplaceEdit();
            G->SetCol(c - 1);
            return;
        }
        WalkTo(false);
        return;
    }
    if (Key == VK_RIGHT && NoSel && FOldSelStart == Text().size() && NoShift && Nav->CursorWalkEditor()) {
        const int c = G->Col();
        const int S = std::max(G->CellSpan(G->GetRealCol(), G->Row()).X, 0);
        if (c < G->ColCount() - G->FixedRightCols() - 1 && c + S + 1 < G->ColCount() &&
            G->HasCellControl(G->RealColIndex(c + S + 1), G->Row())) {
            Key = 0;
            if (!AcceptValue(true)) return;
            G->FEditing = false;
            G->HideInplaceEdit();
            G->SetCol(c + S + 1);
            return;
        }
        WalkTo(true);
        return;
    }
    if (Key == VK_LEFT || Key == VK_RIGHT) return;
    TInplaceEdit::KeyUp(Key, Shift);
    if (!isVisible()) return;
    DoChange();
    if (G->SizeWhileTyping()->Width()) G->AutoSizeCol(G->Col());
    if (G->SizeWhileTyping()->Height() && G->WordWrap()) {
        // The row follows the typed text alone, not the columns kept in step with the grid.
        const bool Synch = G->ColumnSize()->SynchWithGrid();
        G->ColumnSize()->SetSynchWithGrid(false);
        G->AutoSizeRow(G->Row());
        G->ColumnSize()->SetSynchWithGrid(Synch);
        if (G->OnEndRowSize) G->OnEndRowSize(G, G->Row());
    }
    G->EditKeyUpHook();
}

void TExtInplaceEdit::KeyPress(QChar& Key) {
    if (!FGrid) {
        TInplaceEdit::KeyPress(Key);
        return;
    }
    TNavigation* Nav = FGrid->Navigation();
    if (Key.unicode() == 13 && !Nav->LineFeedOnEnter() && !AcceptValue(false)) {
        Key = QChar();
        return;
    }
    TInplaceEdit::KeyPress(Key);
    if (Key.isNull() || !isVisible()) return;
    if (Nav->AdvanceAuto() && !EditMask().isEmpty() && !Text().contains(QLatin1Char(' ')) &&
        SelStart() == Text().size()) {
        Key = QChar(13);
        if (AcceptValue(false)) FGrid->KeyPress(Key);
        Key = QChar();
    }
}

void TExtInplaceEdit::DblClick() {
    TInplaceEdit::DblClick();
    if (FGrid && FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

void TExtInplaceEdit::Change() {
    TInplaceEdit::Change();
    if (!FGrid || FGrid->FNoEditChange) return;
    // A value changed after a check is checked again before it leaves the editor.
    if (isVisible() && FGrid->FEditMode) FGrid->FEditing = true;
    if (FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->FEditRealCol, FGrid->FEditRow, Text());
}

// ---- clipboard -------------------------------------------------------------------------------------------
void TExtInplaceEdit::PasteText() {
    QString Clip = QGuiApplication::clipboard()->text();
    if (Clip.isNull()) return;
    bool Allow = true;
    if (FGrid->OnClipboardPaste) FGrid->OnClipboardPaste(this, Allow);
    if (!Allow) return;
    const int RealCol = FGrid->FEditRealCol, DisplRow = FGrid->FEditRow;
    if (FGrid->OnClipboardBeforePasteCell) FGrid->OnClipboardBeforePasteCell(this, RealCol, DisplRow, Clip, Allow);
    if (!Allow || (FLengthLimit >= 1 && Clip.size() > FLengthLimit)) return;
    // One line break that ends the text is what copying a cell leaves behind.
    const int Breaks = Clip.count(QLatin1Char('\n'));
    if (Breaks == 1 && Clip.endsWith(QLatin1Char('\n'))) {
        Clip.chop(1);
        if (Clip.endsWith(QLatin1Char('\r'))) Clip.chop(1);
    }
    const QString Old = Text();
    const int From = SelStart();
    const int SelLen = SelLength();
    QString New = Old.left(From) + Clip + Old.mid(From + SelLen);
    if (FLengthLimit < 1 || New.size() <= FLengthLimit) {
        bool Accept = true;
        const TEditorType K = Kind();
        switch (K) {
            case edNumeric:
            case edPositiveNumeric:
                Accept = ClassifyNumber(New) == 0 && !(K == edPositiveNumeric && New.contains(QLatin1Char('-')));
                break;
            case edFloat:
            case edPositiveFloat: {
                const int Class = ClassifyNumber(New);
                Accept = (Class == 0 || Class == 1) && !(K == edPositiveFloat && New.contains(QLatin1Char('-')));
                break;
            }
            case edMixedCase: New = ProperCase(New); break;
            case edLowerCase: New = New.toLower(); break;
            case edUpperCase: New = New.toUpper(); break;
            case edValidChars:
                for (QChar C : New)
                    if (!FGrid->ValidChars().contains(C)) Accept = false;
                break;
            default: break;
        }
        if (Accept) {
            SetText(New);
            if (SelLen > 0) {
                SetSelStart(From);
                SetSelLength(int(Clip.size()));
            } else {
                SetSelStart(std::min<int>(From + int(Clip.size()), int(Text().size())));
            }
        }
        if (FGrid->OnClipboardAfterPasteCell) FGrid->OnClipboardAfterPasteCell(this, RealCol, DisplRow, Text());
    }
}

// ---- focus ---------------------------------------------------------------------------------------------------
void TExtInplaceEdit::FocusGained() {
    FGotFocus = true;
    FGrid->FNoEditChange = false;
    FLengthLimit = FGrid->GetEditLimit();
    if (!EditMask().isEmpty() && FGrid->Navigation()->ImproveMaskSel() && !FGrid->LButFlg) {
        SetSelStart(0);
        SetSelLength(1);
        return;
    }
    if (!FGrid->Navigation()->EditSelectAll()) SetSelStart(int(Text().size()));
    if (FGrid->LButFlg) {
        const int X = FGrid->FLButPos.x() - Left(), Y = FGrid->FLButPos.y() - Top();
        const int At = LoWord(Perform(EM_CHARFROMPOS, 0, MakeLParam(X, Y)));
        SetSelStart(std::min<int>(At, int(Text().size())));
        SetSelLength(0);
        FGrid->LButFlg = false;
    }
}

void TExtInplaceEdit::FocusLost(TControl* NewFocus) {
    TExtStringGrid* G = FGrid;
    G->FStartEditChar = QChar();
    if (G->LookupHistory() && !Text().isEmpty() && G->LookupItems()->IndexOf(Text()) < 0) G->LookupItems()->Add(Text());
    TMessage M{WM_KILLFOCUS, WPARAM(NewFocus), 0, 0};
    TInplaceEdit::WndProc(M);
    if (FAltBack) return;
    // Focus that leaves the grid ends the edit: the value is checked and, accepted, written into
    // its cell (a refused one is dropped, the cell keeps its text).
    if (NewFocus != G && isVisible()) {
        G->HideInplaceEdit();
        if (isVisible()) G->HideEditor();
        G->FEditing = false;
        G->FEditMode = false;
    }
    G->EditFocusHook();
    if (FGotFocus && !isVisible()) {
        FGotFocus = false;
        G->DoEditingDone(G->FEditRealCol, G->FEditRow);
    }
}

// ---- sizing while typing ------------------------------------------------------------------------------------
QString TExtStringGrid::SizingCellText(int RealCol, int DisplRow) {
    TExtInplaceEdit* E = TextEditor();
    if (E && E->isVisible() && FEditMode && RealCol == FEditRealCol && DisplRow == FEditRow) return E->Text();
    return GetCellEx(RealCol, DisplRow);
}

// ---- lookup completion ----------------------------------------------------------------------------------------
void TExtInplaceEdit::DoChange() {
    if (!FGrid || !Workmode || SelLength() != 0) return;
    const bool CaseSensitive = FGrid->LookupCaseSensitive();
    const QString Cur = Text();
    const int Caret = SelStart();
    QString P = Cur.left(Caret);
    if (P.isEmpty()) return;
    if (!CaseSensitive) P = P.toUpper();
    TStringList* Items = FGrid->LookupItems();
    if (!FGrid->Lookup() || Items->Count() == 0) return;
    for (int i = 0; i < Items->Count(); ++i) {
        QString Item = Items->Strings(i);
        const QString Cmp = CaseSensitive ? Item : Item.toUpper();
        if (!Cmp.startsWith(P)) continue;
        const QString New = Cur.left(P.size()) + Item.mid(P.size(), 255);
        if (New != Cur) SetText(New);
        SetSelStart(int(P.size()));
        SetSelLength(int(New.size()) - int(P.size()));
        GotKey = false;
        return;
    }
}
