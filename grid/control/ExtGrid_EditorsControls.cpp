// The grid's check-box, spin, date, date-time, edit-button, unit and button editors: their keys,
// their character filters and the grid events they fire.
#include "grid/control/ExtGrid.h"

#include "grid/control/ExtGrid_Editors.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QLineEdit>

namespace {
// The integer and decimal kinds' character filter of the edit-button and unit editors: false when
// the character is dropped; a decimal separator typed as the other one is put right in M.
bool KindCharAllowed(TMessage& M, bool Numeric, bool Float, const QString& Text, int SelStart, int SelLength) {
    QChar C(char16_t(M.WParam));
    if (Numeric) return GridNumericCharAllowed(C, Text, SelStart, SelLength);
    if (!Float) return true;
    if (!GridFloatCharAllowed(C, Text, SelStart, SelLength, KeyboardShiftState().Contains(ssCtrl))) return false;
    M.WParam = C.unicode();
    return true;
}

} // namespace

// ---- character filters ---------------------------------------------------------------------------------
bool GridNumericCharAllowed(QChar Key, const QString& Text, int SelStart, int SelLength) {
    const ushort K = Key.unicode();
    if (K == 8 || K == 9 || K == 13 || K == 27 || Key.isDigit()) return true;
    if (Key == QLatin1Char('-')) {
        const QString Rest = Text.left(SelStart) + Text.mid(SelStart + SelLength);
        if (SelStart == 0 && !Rest.contains(QLatin1Char('-'))) return true;
    }
    MessageBeep();
    return false;
}

bool GridFloatCharAllowed(QChar& Key, const QString& Text, int SelStart, int SelLength, bool Ctrl) {
    const ushort K = Key.unicode();
    const bool InSet = K == 8 || K == 9 || K == 13 || K == 27 || Key.isDigit() || Key == QLatin1Char(',') ||
        Key == QLatin1Char('.') || Key == QLatin1Char('-');
    // Outside the set only a Ctrl key passes (the clipboard keys); the rest is dropped silently.
    if (!InSet) return Ctrl;
    const QString Selected = Text.mid(SelStart, SelLength);
    if (Key == GridDecimalSeparator()) return !Text.contains(Key) || Selected.contains(Key);
    if (Key == GridThousandSeparator()) return false;
    if (Key == QLatin1Char('-')) {
        if (Selected.contains(Key)) return true;
        if (SelStart != 0 || Text.contains(Key)) {
            MessageBeep();
            return false;
        }
    }
    return true;
}

void GridPasteAsTyped(TCustomEdit* E, QString Clip, const std::function<bool(QChar&)>& Accepts) {
    // One line break that ends the text is what copying a cell leaves behind.
    if (Clip.count(QLatin1Char('\n')) == 1 && Clip.endsWith(QLatin1Char('\n')))
        Clip.chop(Clip.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    const QString Before = E->Text();
    const int Start = E->SelStart();
    const int Len = E->SelLength();
    const QString Head = Before.left(Start), Tail = Before.mid(Start + Len);
    const int Limit = E->MaxLength();
    QString Kept;
    for (QChar C : Clip) {
        if (C.unicode() < 0x20) continue;
        if (Limit > 0 && Head.size() + Kept.size() + Tail.size() >= Limit) break;
        // Each character is asked about with the text and caret as typing would have left them.
        E->SetText(Head + Kept + Tail);
        E->SetSelStart(int(Head.size() + Kept.size()));
        if (!Accepts(C) || C.isNull()) continue;
        Kept += C;
    }
    E->SetText(Head + Kept + Tail);
    if (Len > 0) {
        E->SetSelStart(Start);
        E->SetSelLength(int(Kept.size()));
    } else {
        E->SetSelStart(Start + int(Kept.size()));
    }
}

// ---- check box -----------------------------------------------------------------------------------------
TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TCheckBox(AOwner), FGrid(GridEditorOwner(AOwner)) {}

void TGridCheckBox::WndProc(TMessage& M) {
    // The keys that close the editor and move the grid reach its key handler, not the form's
    // focus navigation.
    if (M.Msg == CM_WANTSPECIALKEY &&
        GridEditorKeyIn(Word(M.WParam), {VK_RETURN, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})) {
        M.Result = 1;
        return;
    }
    TCheckBox::WndProc(M);
}

void TGridCheckBox::KeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (Key == VK_SPACE) {
        Toggle();
        Key = 0; // the platform box would toggle on the release as well
        return;
    }
    if (GridEditorKeyIn(Key, {VK_RETURN, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})) {
        G->HideInplaceEdit();
        G->FocusGridNoEdit();
        if (Key == VK_RETURN && G->Navigation()->AdvanceOnEnter())
            G->AdvanceCell(G->Col(), G->Row(), false, false, true, false, false);
        if (Key == VK_UP || Key == VK_DOWN) G->FireGridKeyDown(Key, Shift);
        Key = 0;
        return;
    }
    TCheckBox::KeyDown(Key, Shift);
}

void TGridCheckBox::KeyPress(QChar& Key) {
    // Space has toggled at its key-down already.
    if (Key == QLatin1Char(' ')) {
        Key = QChar();
        return;
    }
    TCheckBox::KeyPress(Key);
}

void TGridCheckBox::DoExit() {
    if (GridEditorIsOpen(FGrid, this)) FGrid->HideInplaceEdit();
    TCheckBox::DoExit();
}

// ---- spin ----------------------------------------------------------------------------------------------
TGridSpin::TGridSpin(TComponent* AOwner) : TEsgSpinEdit(AOwner), FGrid(GridEditorOwner(AOwner)) {
    // The edit control's own menu would paste past the character filter.
    Native()->setContextMenuPolicy(Qt::NoContextMenu);
    SetMaxValue(100);
    SetMinValue(0);
    SetIncrement(1);
}

void TGridSpin::WndProc(TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY) {
        const Word Key = Word(M.WParam);
        if (Key == VK_RETURN || Key == VK_ESCAPE)
            M.Result = 1;
        else if (Key == VK_TAB)
            M.Result = FGrid->Options().Contains(goTabs) ? 1 : 0;
        else
            TEsgSpinEdit::WndProc(M);
        return;
    }
    if (M.Msg == WM_CHAR && (M.WParam == 9 || M.WParam == 13)) {
        M.Result = 0;
        return;
    }
    if (M.Msg == WM_PASTE || (M.Msg == WM_CHAR && M.WParam == 22)) {
        PasteText();
        return;
    }
    if (M.Msg == WM_KEYDOWN) {
        // Up and Down end the edit here, and the page keys step by the grid's rule for numbers;
        // the spin control's own stepping must not see them first.
        const Word Key = Word(M.WParam);
        const bool Numeric = SpinType() == sptNormal || SpinType() == sptFloat;
        if (Key == VK_UP || Key == VK_DOWN || (Numeric && (Key == VK_PRIOR || Key == VK_NEXT))) {
            TEdit::WndProc(M);
            return;
        }
        if (Key == VK_PRIOR || Key == VK_NEXT) {
            // The date and time spins page on their own; the grid still hears of the key.
            TEsgSpinEdit::WndProc(M);
            if (FGrid->OnSpinClick)
                FGrid->OnSpinClick(FGrid, FCell.RealCol, FGrid->EditorDisplRow(FCell), Value(), Key == VK_PRIOR);
            return;
        }
    }
    TEsgSpinEdit::WndProc(M);
}

void TGridSpin::KeyPress(QChar& Key) {
    if (Key.unicode() == 27 || Key.unicode() == 13) {
        Key = QChar();
        return;
    }
    TEsgSpinEdit::KeyPress(Key);
}

void TGridSpin::PasteText() {
    const QString T = QApplication::clipboard()->text();
    if (T.isEmpty() || ReadOnly()) return;
    // Through the spin's own character filter, one change for the whole paste; the value is
    // validated when the edit ends.
    const QString Before = Text();
    const bool WasOpen = FCell.Open;
    FCell.Open = false;
    GridPasteAsTyped(this, T, [this](QChar& C) { return AcceptsChar(C); });
    FCell.Open = WasOpen;
    if (Text() != Before) FGrid->EditorTextChanged(FCell, Text());
}

void TGridSpin::KeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (Key == VK_INSERT && Shift.Contains(ssShift)) {
        PasteText();
        Key = 0;
        return;
    }
    const bool Numeric = SpinType() == sptNormal || SpinType() == sptFloat;
    if (GridEditorKeyIn(Key, {VK_PRIOR, VK_NEXT, VK_END, VK_HOME})) {
        const bool Up = Key == VK_PRIOR || Key == VK_HOME;
        if (!Numeric) {
            // The date and time spins step on their own; the grid still hears of the key.
            TEsgSpinEdit::KeyDown(Key, Shift);
            if (G->OnSpinClick) G->OnSpinClick(G, FCell.RealCol, G->EditorDisplRow(FCell), Value(), Up);
            return;
        }
        if (SpinType() == sptNormal) {
            if (Key == VK_PRIOR && Value() + Increment() <= MaxValue()) SetValue(Value() + Increment());
            if (Key == VK_NEXT && Value() - Increment() >= MinValue()) SetValue(Value() - Increment());
            if (Key == VK_END) SetValue(MinValue());
            if (Key == VK_HOME) SetValue(MaxValue());
        } else {
            const double F = FloatValue();
            if (Key == VK_PRIOR && F + IncrementFloat() <= MaxFloatValue()) SetFloatValue(F + IncrementFloat());
            if (Key == VK_NEXT && F - IncrementFloat() >= MinFloatValue()) SetFloatValue(F - IncrementFloat());
            if (Key == VK_END) SetFloatValue(MinFloatValue());
            if (Key == VK_HOME) SetFloatValue(MaxFloatValue());
        }
        if (G->OnSpinClick) G->OnSpinClick(G, FCell.RealCol, G->EditorDisplRow(FCell), Value(), Up);
        Key = 0;
        return;
    }
    if (!GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN})) {
        TEsgSpinEdit::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        // The cell keeps the text it had when the editor opened.
        // No change event for putting the opening text back; the cell is still this editor's to
        // restore (a paste may have written into it).
        FCell.Open = false;
        SetText(FCell.OpenText);
        FCell.Open = true;
        G->CancelInplaceEdit();
        Key = 0;
        return;
    }
    if (!G->CommitEditorText(FCell, Text())) {
        FCell.Open = false; // no change event for putting the cell's text back
        SetText(G->EditorCellText(FCell));
        FCell.Open = true;
        SetSelStart(Text().length());
        G->SetEditorRefusedValue(true);
        Invalidate();
        Key = 0;
        return;
    }
    if (Key == VK_TAB && G->Options().Contains(goTabs)) {
        G->HideInplaceEdit();
        G->EditorsTabToNextCell(Shift);
        Key = 0;
        return;
    }
    G->DoneInplaceEdit(Key, Shift);
    if (Key == VK_RETURN && G->Navigation()->AdvanceOnEnter() && G->Navigation()->AdvanceAutoEdit())
        G->ShowInplaceEdit();
    Key = 0;
}

void TGridSpin::FireSpin(bool UpDown) {
    TExtStringGrid* G = FGrid;
    const int Row = G->EditorDisplRow(FCell);
    switch (SpinType()) {
        case sptNormal:
            if (G->OnSpinClick) G->OnSpinClick(G, FCell.RealCol, Row, Value(), UpDown);
            break;
        case sptFloat:
            if (G->OnFloatSpinClick) G->OnFloatSpinClick(G, FCell.RealCol, Row, FloatValue(), UpDown);
            break;
        case sptDate:
            if (G->OnDateSpinClick) G->OnDateSpinClick(G, FCell.RealCol, Row, DateValue(), UpDown);
            break;
        case sptTime:
            if (G->OnTimeSpinClick) G->OnTimeSpinClick(G, FCell.RealCol, Row, TimeValue(), UpDown);
            break;
    }
}

void TGridSpin::SpinUpClick(TObject* Sender) {
    TEsgSpinEdit::SpinUpClick(Sender);
    FireSpin(true);
}

void TGridSpin::SpinDownClick(TObject* Sender) {
    TEsgSpinEdit::SpinDownClick(Sender);
    FireSpin(false);
}

void TGridSpin::Change() {
    TEsgSpinEdit::Change();
    FGrid->EditorTextChanged(FCell, Text());
}

void TGridSpin::DoExit() {
    if (GridEditorIsOpen(FGrid, this)) FGrid->HideInplaceEdit();
    TEsgSpinEdit::DoExit();
}

// ---- date picker -------------------------------------------------------------------------------------------
TGridDatePicker::TGridDatePicker(TComponent* AOwner) : TEsgDateTimePicker(AOwner), FGrid(GridEditorOwner(AOwner)) {}

QString TGridDatePicker::CellText() const { return Checked() ? DisplayText() : QString(); }

void TGridDatePicker::WndProc(TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY) {
        const Word Key = Word(M.WParam);
        if (Key == VK_RETURN || Key == VK_ESCAPE)
            M.Result = 1;
        else if (Key == VK_TAB)
            M.Result = FGrid->EditorWantsTab() ? 1 : 0;
        else
            TEsgDateTimePicker::WndProc(M);
        return;
    }
    if (M.Msg == DTPShiftFocusMessage()) {
        ShiftFocus();
        return;
    }
    TEsgDateTimePicker::WndProc(M);
}

void TGridDatePicker::KeyPress(QChar& Key) {
    if (Key >= QLatin1Char('0') && Key <= QLatin1Char('9')) {
        int Y, M, D, H, N, S, MS;
        DecodeDate(DateTime(), Y, M, D);
        DecodeTime(DateTime(), H, N, S, MS);
        Fy = Word(Y), Fm = Word(M), Fd = Word(D), Fth = Word(H), Ftm = Word(N), Fts = Word(S), Ftms = Word(MS);
        TEsgDateTimePicker::KeyPress(Key);
        PostMessage(this, DTPShiftFocusMessage(), 0, 0);
    } else {
        TEsgDateTimePicker::KeyPress(Key);
    }
    QChar K = Key;
    if (FGrid->OnKeyPress && !FGrid->TakeReportedStartChar(K)) FGrid->OnKeyPress(FGrid, K);
}

void TGridDatePicker::ShiftFocus() {
    const TDateTime V = DateTime();
    bool Advance = false;
    if (Kind() == dtkTime) {
        int H, N, S, MS;
        DecodeTime(V, H, N, S, MS);
        Advance = H != Fth || N != Ftm || S != Fts;
    } else {
        int Y, M, D;
        DecodeDate(V, Y, M, D);
        const QString F = Format();
        if (F.isEmpty()) {
            Advance = D != Fd || M != Fm;
        } else {
            const QChar C = F.back().toLower();
            const bool LastChanged = (D != Fd && C == QLatin1Char('d')) || (M != Fm && C == QLatin1Char('m')) ||
                (Y != Fy && C == QLatin1Char('y'));
            Advance = !LastChanged && (D != Fd || M != Fm || Y != Fy);
        }
    }
    if (Advance) PostMessage(this, WM_KEYDOWN, VK_RIGHT, 0);
}

void TGridDatePicker::KeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (!GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END})) {
        TEsgDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    FOldDropped = DroppedDown();
    if (Key == VK_ESCAPE) {
        FCell.Open = false;
        TDateTime V = Now();
        try {
            V = Kind() == dtkTime ? StrToTime(FCell.OpenText) : StrToDate(FCell.OpenText);
        } catch (const Exception&) {
            V = Now();
        }
        if (Kind() == dtkTime)
            SetTime(V);
        else
            SetDate(V);
        FCell.Open = true;
        if (!FOldDropped) {
            G->CancelInplaceEdit();
        }
        Key = 0;
        return;
    }
    auto Refuse = [&] {
        TDateTime V;
        const QString T = G->NewCellText();
        try {
            V = Kind() == dtkTime ? StrToTime(T) : StrToDate(T);
            if (Kind() == dtkTime)
                SetTime(V);
            else
                SetDate(V);
        } catch (const Exception&) {}
        Invalidate();
        Key = 0;
    };
    if (Key == VK_RETURN) {
        // A partly typed field is finished first.
        Perform(WM_KEYDOWN, VK_RIGHT, 0);
        Perform(WM_KEYUP, VK_RIGHT, 0);
        if (!G->CommitEditorText(FCell, CellText())) {
            Refuse();
            G->SetEditorRefusedValue(true);
            return;
        }
    }
    if (Key == VK_TAB && G->EditorWantsTab()) {
        if (!G->CommitEditorText(FCell, CellText())) {
            Refuse();
            return;
        }
        G->HideInplaceEdit();
        if (G->Options().Contains(goTabs))
            G->EditorsTabToNextCell(Shift);
        else
            PostMessage(G, WM_KEYDOWN, VK_TAB, LPARAM(Shift.Bits()));
        Key = 0;
        return;
    }
    if (!FOldDropped) G->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridDatePicker::DoExit() {
    if (GridEditorIsOpen(FGrid, this) && !DroppedDown()) FGrid->HideInplaceEdit();
    TEsgDateTimePicker::DoExit();
}

// ---- date-time picker ----------------------------------------------------------------------------------------
TGridDateTimePicker::TGridDateTimePicker(TComponent* AOwner)
    : TExtDateTimePicker(AOwner), FGrid(GridEditorOwner(AOwner)) {}

QString TGridDateTimePicker::CellText() const {
    if (!Checked()) return QString();
    return FormatDateTime(FormatSettings.ShortDateFormat + " " + FormatSettings.ShortTimeFormat, DateTime());
}

void TGridDateTimePicker::WndProc(TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY) {
        const Word Key = Word(M.WParam);
        if (Key == VK_RETURN || Key == VK_ESCAPE)
            M.Result = 1;
        else if (Key == VK_TAB)
            M.Result = FGrid->EditorWantsTab() ? 1 : 0;
        else
            TExtDateTimePicker::WndProc(M);
        return;
    }
    TExtDateTimePicker::WndProc(M);
}

void TGridDateTimePicker::KeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (Key == VK_ESCAPE) {
        FCell.Open = false;
        SetDateTime(FOriginal);
        FCell.Open = true;
        G->CancelInplaceEdit();
        Key = 0;
        return;
    }
    if (Key == VK_RETURN) {
        G->HideInplaceEdit();
        G->FocusGridNoEdit();
        if (G->Navigation()->AdvanceOnEnter()) G->AdvanceCell(G->Col(), G->Row(), false, false, true, false, false);
        Key = 0;
        return;
    }
    if (Key == VK_TAB && G->EditorWantsTab()) {
        G->HideInplaceEdit();
        G->EditorsTabToNextCell(Shift);
        Key = 0;
        return;
    }
    TExtDateTimePicker::KeyDown(Key, Shift);
}

// ---- edit button ------------------------------------------------------------------------------------------------
TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TEsgEditBtn(AOwner), FGrid(GridEditorOwner(AOwner)) {
    // The edit control's own menu would paste past the character filter and the clipboard events.
    Native()->setContextMenuPolicy(Qt::NoContextMenu);
}

void TGridEditBtn::WndProc(TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY) {
        const Word Key = Word(M.WParam);
        if (Key == VK_RETURN || Key == VK_ESCAPE)
            M.Result = 1;
        else if (Key == VK_TAB)
            M.Result = FGrid->EditorWantsTab() ? 1 : 0;
        else
            TEsgEditBtn::WndProc(M);
        return;
    }
    if (M.Msg == WM_PASTE) {
        PasteText();
        return;
    }
    if (M.Msg == WM_CHAR) {
        QChar C(char16_t(M.WParam));
        if (C.unicode() == 13 || C.unicode() == 9 || C.unicode() == 22) {
            M.Result = 1;
            return;
        }
        if (!KindCharAllowed(M, Kind == edNumericEditBtn, Kind == edFloatEditBtn, Text(), SelStart(), SelLength()))
            return;
    }
    TEsgEditBtn::WndProc(M);
}

void TGridEditBtn::PasteText() {
    TExtStringGrid* G = FGrid;
    QString T = QApplication::clipboard()->text();
    if (T.isEmpty() || !EditorEnabled() || ReadOnly()) return;
    bool Allow = true;
    if (G->OnClipboardPaste) G->OnClipboardPaste(this, Allow);
    if (Allow && G->OnClipboardBeforePasteCell)
        G->OnClipboardBeforePasteCell(this, FCell.RealCol, G->EditorDisplRow(FCell), T, Allow);
    if (!Allow) return;
    // Pasted text passes the same character filter as typed text; the paste key's Ctrl does not
    // count as held.
    const QString Before = Text();
    const bool WasOpen = FCell.Open;
    FCell.Open = false;
    GridPasteAsTyped(this, T, [this](QChar& C) {
        if (Kind == edNumericEditBtn) return GridNumericCharAllowed(C, Text(), SelStart(), 0);
        if (Kind == edFloatEditBtn) return GridFloatCharAllowed(C, Text(), SelStart(), 0, false);
        return true;
    });
    FCell.Open = WasOpen;
    if (Text() != Before) G->EditorTextChanged(FCell, Text());
    // The pasted value goes into the cell at once, validated as a typed one is.
    if (FCell.Open && !G->CommitEditorText(FCell, Text())) {
        FCell.Open = false;
        SetText(G->NewCellText());
        FCell.Open = true;
        SelectAll();
    }
}

void TGridEditBtn::KeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if ((Key == 'V' && Shift.Contains(ssCtrl)) || (Key == VK_INSERT && Shift.Contains(ssShift))) {
        PasteText();
        Key = 0;
        return;
    }
    const bool Special = GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN});
    if (!Special && G->OnKeyDown) G->OnKeyDown(G, Key, Shift);
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    FSelKeyDown = SelStart();
    if (Shift.Contains(ssCtrl) || !Special) {
        TEsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    if (GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN}) && (Key != VK_TAB || G->EditorWantsTab())) {
        if (!G->CommitEditorText(FCell, Text())) {
            FCell.Open = false;
            SetText(G->NewCellText());
            FCell.Open = true;
            if (Key == VK_TAB)
                SetSelStart(Text().length());
            else
                SelectAll();
            G->SetEditorRefusedValue(true);
            Invalidate();
            Key = 0;
            return;
        }
        FCell.Open = false;
        SetText(G->NewCellText());
        FCell.Open = true;
    }
    if (Key == VK_TAB && G->EditorWantsTab()) {
        G->HideInplaceEdit();
        if (G->Options().Contains(goTabs))
            G->EditorsTabToNextCell(Shift);
        else
            PostMessage(G, WM_KEYDOWN, VK_TAB, LPARAM(Shift.Bits()));
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        // No change event for putting the opening text back; the cell is still this editor's to
        // restore (a paste may have written into it).
        FCell.Open = false;
        SetText(FCell.OpenText);
        FCell.Open = true;
        G->CancelInplaceEdit();
        Key = 0;
        return;
    }
    G->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridEditBtn::KeyPress(QChar& Key) {
    QChar K = Key;
    if (FGrid->OnKeyPress && !FGrid->TakeReportedStartChar(K)) FGrid->OnKeyPress(FGrid, K);
    if (Key.unicode() != 9) TEsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::KeyUp(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (G->OnKeyUp) G->OnKeyUp(G, Key, Shift);
    if (G->Navigation()->CursorWalkEditor() && Shift.Empty() && SelLength() == 0) {
        const bool AtEnd = Key == VK_RIGHT && SelStart() == Text().length();
        const bool AtStart = Key == VK_LEFT && FSelKeyDown == 0;
        if (AtStart || AtEnd) {
            Key = 0;
            G->EditorsCursorWalk(FCell, Text(), AtEnd);
            return;
        }
    }
    if (Key != VK_RETURN) TEsgEditBtn::KeyUp(Key, Shift);
    Lookup();
}

void TGridEditBtn::Lookup() {
    TExtStringGrid* G = FGrid;
    if (!WorkMode || SelLength() != 0 || !G->Lookup() || G->LookupItems()->Count() == 0) return;
    const bool Case = G->LookupCaseSensitive();
    const QString Current = Text();
    QString P = Current.left(SelStart());
    if (P.isEmpty()) return;
    if (!Case) P = P.toUpper();
    TStrings* L = G->LookupItems();
    for (int I = 0; I < L->Count(); ++I) {
        const QString Item = L->Strings(I);
        if (!(Case ? Item : Item.toUpper()).startsWith(P)) continue;
        SetText(Current.left(P.length()) + Item.mid(P.length()).left(255));
        SetSelStart(P.length());
        SetSelLength(Text().length() - P.length());
        return;
    }
}

void TGridEditBtn::ButtonClick(TObject* Sender) {
    (void)Sender;
    SetText(FGrid->DoEllipsClick(Text()));
    SelectAll();
    Invalidate();
    if (FStopEditAfterClick) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridNoEdit();
    }
}

void TGridEditBtn::Change() {
    TEsgEditBtn::Change();
    FGrid->EditorTextChanged(FCell, Text());
}

void TGridEditBtn::DoExit() {
    if (GridEditorIsOpen(FGrid, this)) FGrid->HideInplaceEdit();
    TEsgEditBtn::DoExit();
}

// ---- unit editor ----------------------------------------------------------------------------------------------
TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner) : TEsgUnitEditBtn(AOwner), FGrid(GridEditorOwner(AOwner)) {
    // The edit control's own menu would paste past the character filter.
    Native()->setContextMenuPolicy(Qt::NoContextMenu);
}

void TGridUnitEditBtn::WndProc(TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY) {
        const Word Key = Word(M.WParam);
        if (Key == VK_RETURN || Key == VK_ESCAPE)
            M.Result = 1;
        else if (Key == VK_TAB)
            M.Result = FGrid->Options().Contains(goTabs) ? 1 : 0;
        else
            TEsgUnitEditBtn::WndProc(M);
        return;
    }
    if (M.Msg == WM_PASTE) {
        PasteText();
        return;
    }
    if (M.Msg == WM_CHAR) {
        QChar C(char16_t(M.WParam));
        if (C.unicode() == 13) {
            M.Result = 0;
            return;
        }
        if (C.unicode() == 22) {
            PasteText();
            return;
        }
        if (!KindCharAllowed(M, Kind == edNumericUnitEditBtn, Kind == edFloatUnitEditBtn, Text(), SelStart(),
                             SelLength()))
            return;
    }
    TEsgUnitEditBtn::WndProc(M);
}

void TGridUnitEditBtn::PasteText() {
    const QString T = QApplication::clipboard()->text();
    if (T.isEmpty() || !EditorEnabled() || ReadOnly()) return;
    // Through the kind's character filter; the value is validated when the edit ends.
    GridPasteAsTyped(this, T, [this](QChar& C) {
        if (Kind == edNumericUnitEditBtn) return GridNumericCharAllowed(C, Text(), SelStart(), 0);
        if (Kind == edFloatUnitEditBtn) return GridFloatCharAllowed(C, Text(), SelStart(), 0, false);
        return true;
    });
}

void TGridUnitEditBtn::KeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (Key == VK_INSERT && Shift.Contains(ssShift)) {
        PasteText();
        Key = 0;
        return;
    }
    if (!GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})) {
        TEsgUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (GridEditorKeyIn(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN})) {
        if (!G->CommitEditorText(FCell, Text() + UnitID())) {
            // The cell keeps its value and unit; the editor shows them again.
            SetUnitID(QString());
            SetTextAndUnit(G->EditorCellText(FCell));
            G->SetEditorRefusedValue(true);
            Key = 0;
            return;
        }
        SetUnitID(QString());
        SetTextAndUnit(G->EditorCellText(FCell));
    }
    if (Key == VK_RETURN && G->Navigation()->AdvanceOnEnter()) {
        G->HideInplaceEdit();
        G->FocusGridNoEdit();
        Key = 0;
        G->AdvanceCell(G->Col(), G->Row(), false, false, true, false, false);
        return;
    }
    if (Key == VK_TAB && G->Options().Contains(goTabs)) {
        G->HideInplaceEdit();
        G->EditorsTabToNextCell(Shift);
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        SetUnitID(QString());
        SetText(FCell.OpenText);
        G->CancelInplaceEdit();
        Key = 0;
        return;
    }
    G->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridUnitEditBtn::KeyPress(QChar& Key) {
    if (Key.unicode() == 13) {
        Key = QChar();
        return;
    }
    TEsgUnitEditBtn::KeyPress(Key);
}

void TGridUnitEditBtn::ButtonClick(TObject* Sender) {
    (void)Sender;
    SetText(FGrid->DoEllipsClick(Text()));
    SelectAll();
    Invalidate();
}

void TGridUnitEditBtn::DoExit() {
    if (GridEditorIsOpen(FGrid, this)) FGrid->HideInplaceEdit();
    TEsgUnitEditBtn::DoExit();
}

// ---- button ------------------------------------------------------------------------------------------------------
TGridButton::TGridButton(TComponent* AOwner) : TButton(AOwner), FGrid(GridEditorOwner(AOwner)) {}

void TGridButton::WndProc(TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY) {
        const Word Key = Word(M.WParam);
        if (GridEditorKeyIn(Key, {VK_ESCAPE, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})) {
            M.Result = 1;
            return;
        }
    }
    TButton::WndProc(M);
}

void TGridButton::Ellipsis() {
    const QString S = FGrid->DoEllipsClick(Caption());
    SetCaption(S);
    if (FCell.Open) FGrid->CommitEditorText(FCell, S);
}

void TGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) Ellipsis();
    TButton::MouseUp(Button, Shift, X, Y);
}

void TGridButton::KeyUp(Word& Key, TShiftState Shift) {
    if (Key == VK_SPACE) {
        Ellipsis();
        if (CanFocus()) SetFocus();
        Invalidate();
    }
    TButton::KeyUp(Key, Shift);
}

void TGridButton::KeyDown(Word& Key, TShiftState Shift) {
    TExtStringGrid* G = FGrid;
    if (GridEditorKeyIn(Key, {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})) {
        G->HideInplaceEdit();
        G->FocusGridNoEdit();
        Word K = Key;
        G->FireGridKeyDown(K, Shift);
        K = Key;
        G->FireGridKeyUp(K, Shift);
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        G->CancelInplaceEdit();
        Word K = Key;
        G->FireGridKeyDown(K, Shift);
        Key = 0;
        return;
    }
    TButton::KeyDown(Key, Shift);
}

void TGridButton::DoExit() {
    if (GridEditorIsOpen(FGrid, this)) FGrid->HideInplaceEdit();
    TButton::DoExit();
}
