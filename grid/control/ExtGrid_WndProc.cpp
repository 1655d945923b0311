// TExtStringGrid's window procedure: which message goes to which of the grid's handlers, the
// notifications of the child editors (the combo editor's choices reach OnComboChange here), the
// proportional scroll bars kept up to date on size, paint and button release, and zooming.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtStyleIF.h"
#include "grid/control/ExtGrid_Editors.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/StateScope.h"

#include <algorithm>

void TExtStringGrid::WndProc(TMessage& Message) {
    if (Message.Msg == WM_DESTROY) {
        if (AutoThemeAdapt() && !IsDesigning()) RegisterThemeNotifier(false);
        KillTimer(GridTimerID);
        StopWheelPan();
    }
    if (IsDestroying()) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (!IsDesigning()) {
        const bool FirstPaint = Message.Msg == WM_PAINT && FPaintCount == 0 && ScrollProportional();
        if (FirstPaint || Message.Msg == WM_SIZE || Message.Msg == WM_LBUTTONUP) {
            UpdateVertProportional();
            UpdateHorzProportional();
        }
    }
    if ((Message.Msg == WM_THEMECHANGED || Message.Msg == WM_OFFICETHEMECHANGED) && AutoThemeAdapt())
        ApplyOfficeTheme();
    // Wheel panning: the middle button starts it; any button or key ends it (and then does its
    // own work too).
    if (Message.Msg == WM_TIMER && int(Message.WParam) == PanTimerID && FWheelPan) {
        if (IntelliPan() != ipNone) WheelPanTick();
        return;
    }
    if (Message.Msg == WM_MBUTTONDOWN && !FWheelPan && IntelliPan() != ipNone && RowCount() > FixedRows()) {
        StartWheelPan(TPoint{GetXLParam(Message.LParam), GetYLParam(Message.LParam)});
        return;
    }
    if (FWheelPan &&
        (Message.Msg == WM_MBUTTONDOWN || Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN ||
         Message.Msg == WM_KEYDOWN)) {
        StopWheelPan();
        if (Message.Msg == WM_MBUTTONDOWN) return;
    }
    switch (Message.Msg) {
        case WM_KEYDOWN:
            LButFlg = false;
            KeyDownMessageHandler(Message);
            return;
        case WM_CHAR:
            LButFlg = false;
            CharMessageHandler(Message);
            return;
        case WM_KEYUP: KeyUpMessageHandler(Message); return;
        case CM_DIALOGCHAR: DialogCharMessageHandler(Message); return;
        default: break;
    }
    if (EditWndProc(Message)) return;
    if (MouseWndProc(Message)) return;
    switch (Message.Msg) {
        case WM_COMMAND: CommandMessage(Message); return;
        case WM_SETFOCUS: SetFocusMessageHandler(Message); return;
        case WM_KILLFOCUS: KillFocusMessageHandler(Message); return;
        case WM_TIMER: TimerMessageHandler(Message); return;
        case WM_PAINT: PaintMessageHandler(Message); return;
        // The cell painter covers the whole client area.
        case WM_ERASEBKGND: Message.Result = 0; return;
        case WM_SIZE: SizeMessageHandler(Message); return;
        case WM_MOUSEWHEEL:
            if (!FWheelPan && WheelMessage(Message)) return;
            break;
        case WM_VSCROLL: WMVScroll(Message); return;
        case WM_HSCROLL: WMHScroll(Message); return;
        case CM_ENABLEDCHANGED:
            TBaseGrid::WndProc(Message);
            Invalidate();
            return;
        case CM_CURSORCHANGED:
            // The program gave the grid another cursor: a header-selection zone armed under the
            // old one is dropped.
            TBaseGrid::WndProc(Message);
            FMouseSelectMode = msNormal;
            return;
        case CM_COLORCHANGED:
            TBaseGrid::WndProc(Message);
            if (FloatingFooter()->Visible()) InvalidateFooterPanel();
            return;
        default: break;
    }
    // A row change the platform made (a key, the wheel) reaches a grid that follows this one.
    const int OldRow = Row();
    TBaseGrid::WndProc(Message);
    if (Row() != OldRow && SyncGrid()->Grid() && SyncGrid()->SelectionRow()) SetRow(Row());
}

// ---- the child editors' notifications ---------------------------------------------------------------------
bool TExtStringGrid::CommandMessage(TMessage& Message) {
    const Word Code = HiWord(Message.WParam);
    auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
    // The sending control acts on its own notification first (its change and select events).
    if (Sender && Sender != this) Message.Result = Sender->Perform(Message.Msg, Message.WParam, Message.LParam);
    // What is typed shows in the cell at once, for whoever reads the cell while the edit runs.
    if (Code == EN_CHANGE && FShowEditProcess) {
        WriteTypedText(Sender);
        return true;
    }
    // A combo box an edit link puts in the cell reports its choice for the display column.
    if (FEditLink && Sender && Sender == FEditLink->GetEditControl() && OnComboChange &&
        (Code == CBN_SELCHANGE || Code == CBN_EDITCHANGE)) {
        if (auto* Combo = dynamic_cast<TComboBox*>(Sender)) {
            const int Index = Combo->ItemIndex();
            const bool InList = Index >= 0 && Index < Combo->Items()->Count();
            OnComboChange(this, Col(), Row(), InList ? Index : -1, InList ? Combo->Items()->Strings(Index) : QString());
        }
    }
    if (!EditCombo || Sender != EditCombo) {
        // A typed change reports the combo editor's text whoever sent it.
        if (Code == CBN_EDITCHANGE && OnComboChange && EditCombo)
            OnComboChange(this, Col(), Row(), -1, EditCombo->Text());
        return false;
    }
    switch (Code) {
        case CBN_SELCHANGE:
            if (FEditMode) ComboChangeNotify();
            break;
        case CBN_EDITCHANGE:
            if (FEditMode) ComboChangeNotify();
            // The typed text once more, for the display column.
            if (OnComboChange) OnComboChange(this, Col(), Row(), -1, EditCombo->Text());
            break;
        case CBN_CLOSEUP:
            // A choice from the open list ends the edit at once. Only an open editor is ended:
            // a list closed outside an edit writes nothing.
            if (MouseActions()->DirectComboClose() && FEditMode && EditorControl() == EditCombo) {
                const int Index = EditCombo->ItemIndex();
                if (Index >= 0 && Index < EditCombo->Items()->Count())
                    EditCombo->SetText(EditCombo->Items()->Strings(Index));
                ComboChangeNotify();
                FEditControl = edComboEdit;
                FEditMode = true;
                {
                    const TSettingScope<TMouseActions, bool> NoDirectEdit(MouseActions(), &TMouseActions::DirectEdit,
                                                                          &TMouseActions::SetDirectEdit, false);
                    HideInplaceEdit();
                }
                FocusGridNoEdit();
            }
            DoComboCloseUp(Row(), RealColIndex(Col()));
            break;
        case CBN_DROPDOWN: DoComboDropDown(Row(), RealColIndex(Col())); break;
        default: return false;
    }
    return true;
}

void TExtStringGrid::WriteTypedText(TControl* Sender) {
    // Text the grid puts into an editor itself (opening, reverting, a refused value shown again)
    // is not typing.
    if (!FEditMode || FNoEditChange || FRevertEdit || IsDestroying() || !Sender) return;
    QString Text;
    // The valid-characters editor counts too: its typing is written as a paste into it is.
    if (IsDefaultEditorKind(FEditControl)) {
        if (!TextEditor() || Sender != TextEditor() || !TextEditor()->isVisible()) return;
        Text = TextEditor()->Text();
    } else {
        switch (FEditControl) {
            case edSpinEdit:
            case edFloatSpinEdit:
            case edTimeSpinEdit:
            case edDateSpinEdit:
                // A closed editor cell marks text the grid puts there itself (a refused value shown
                // again, the opening text given back).
                if (!FEditSpin || Sender != FEditSpin || !FEditSpin->isVisible() || !FEditSpin->Cell().Open) return;
                Text = FEditSpin->Text();
                break;
            case edEditBtn:
            case edNumericEditBtn:
            case edFloatEditBtn:
            case edMaskEditBtn:
                if (!EditBtn || Sender != EditBtn || !EditBtn->isVisible() || !EditBtn->Cell().Open) return;
                Text = EditBtn->Text();
                break;
            default: return;
        }
    }
    const int RealCol = FEditRealCol, DisplRow = FEditRow;
    if (RealCol < 0 || DisplRow < 0 || RealCol >= TotalColCount() || DisplRow >= RowCount()) return;
    if (IsHiddenColumn(RealCol)) return;
    const QString Stored = GetGridCell(RealCol, DisplRow);
    if (Text == Stored) return;
    if (!FTypedWritten || FTypedCol != RealCol || FTypedRow != DisplRow) {
        FTypedWritten = true;
        FTypedCol = RealCol;
        FTypedRow = DisplRow;
        FTypedOldText = Stored;
    }
    SetEditText(DisplColIndex(RealCol), DisplRow, Text);
}

void TExtStringGrid::RestoreTypedText() {
    if (!FTypedWritten) return;
    FTypedWritten = false;
    if (IsDestroying()) return;
    if (FTypedCol < 0 || FTypedRow < 0 || FTypedCol >= TotalColCount() || FTypedRow >= RowCount()) return;
    if (GetGridCell(FTypedCol, FTypedRow) == FTypedOldText) return;
    if (IsHiddenColumn(FTypedCol))
        SetGridCell(FTypedCol, FTypedRow, FTypedOldText);
    else
        SetEditText(DisplColIndex(FTypedCol), FTypedRow, FTypedOldText);
}

void TExtStringGrid::ComboChangeNotify() {
    const int Index = EditCombo->ItemIndex();
    const bool InList = Index >= 0 && Index < EditCombo->Items()->Count();
    const QString Text = InList ? EditCombo->Items()->Strings(Index) : EditCombo->Text();
    TObject* Object = InList ? EditCombo->Items()->Objects(Index) : nullptr;
    const int RealCol = RealColIndex(Col());
    if (OnComboChange) OnComboChange(this, RealCol, Row(), InList ? Index : -1, Text);
    if (OnComboObjectChange) OnComboObjectChange(this, RealCol, Row(), InList ? Index : -1, Text, Object);
}

// ---- zoom -------------------------------------------------------------------------------------------------
void TExtStringGrid::Zoom(int X) {
    const int New = ZoomFactor() + X;
    if (New < -10 || New > 10) return;
    SetZoomFactor(New);
    {
        const TStateScope<bool> Lock(FScrollLocked, true);
        // A column or row hidden by a zero size stays hidden.
        for (int c = 0; c < ColCount(); ++c)
            if (ColWidths(c) > 0 && ColWidths(c) + X > 0) SetColWidths(c, ColWidths(c) + X);
        for (int r = 0; r < RowCount(); ++r)
            if (RowHeights(r) > 0 && RowHeights(r) + X > 0) SetRowHeights(r, RowHeights(r) + X);
    }
    if (ScrollProportional()) {
        UpdateHorzProportional();
        UpdateVertProportional();
    }
}
