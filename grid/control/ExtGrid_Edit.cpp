// The editing switch of TExtStringGrid: which cells take an editor as the focus moves over them,
// which editor kind a cell opens, the special editors' table, and how an edit ends (validation,
// writing the value into the cell it was opened for, cancel, the "GridEditDone" notification).
//
// Every editor writes only into the cell (real column, display row) it was opened for, whatever
// happened to the current cell since, and only a value that validation accepted.
#include "grid/control/ExtGrid.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/StateScope.h"

#include <map>

namespace {

struct TKindEntry {
    int Slot = -1;
    TGridCellEditorFactory Factory;
};

std::map<int, TKindEntry>& KindTable() {
    static std::map<int, TKindEntry> Table;
    // The grid's own controls are in the table before anyone asks it (or replaces one).
    static bool OwnControls = false;
    if (!OwnControls) {
        OwnControls = true;
        RegisterGridEditorControls();
    }
    return Table;
}

int& NextSlot() {
    static int Slot = 0;
    return Slot;
}

Cardinal EditDoneMessage() {
    static const Cardinal Id = RegisterWindowMessage(QStringLiteral("GridEditDone"));
    return Id;
}

// The date and time kinds open only where the platform's pickers exist.
bool NeedsDatePicker(TEditorType Kind) {
    return Kind == edDateEdit || Kind == edDateEditUpDown || Kind == edTimeEdit || Kind == edDateTimeEdit;
}

// The check box and button editors write no value back: there is nothing of theirs to validate.
bool HoldsValue(TEditorType Kind) { return Kind != edCheckBox && Kind != edButton; }

} // namespace

void RegisterGridCellEditor(std::initializer_list<TEditorType> Kinds, TGridCellEditorFactory Factory) {
    const int Slot = NextSlot()++;
    for (TEditorType Kind : Kinds) KindTable()[int(Kind)] = TKindEntry{Slot, Factory};
}

TGridCellEditorFactory GridCellEditorFactory(TEditorType Kind) {
    auto It = KindTable().find(int(Kind));
    return It == KindTable().end() ? TGridCellEditorFactory() : It->second.Factory;
}

bool IsDefaultEditorKind(TEditorType Kind) {
    switch (Kind) {
        case edNormal:
        case edNumeric:
        case edPositiveNumeric:
        case edFloat:
        case edCapital:
        case edMixedCase:
        case edPassword:
        case edLowerCase:
        case edUpperCase:
        case edValidChars:
        case edPositiveFloat: return true;
        default: return false;
    }
}

// ---- the custom editor link -------------------------------------------------------------------------
TEditLink::~TEditLink() {
    if (FPopupFormMade) delete FPopupForm;
}

void TEditLink::FormExit(TObject* Sender) {
    (void)Sender;
    if (FOwner) FOwner->HideInplaceEdit();
}

void TEditLink::RestoreWinProc() {
    FSubClassed = false;
    if (TWinControl* C = GetEditControl()) C->Hide();
}

// ---- the special editors' table ---------------------------------------------------------------------
TGridCellEditor* TExtStringGrid::SpecialEditor(TEditorType Kind) {
    if (IsDefaultEditorKind(Kind) || (NeedsDatePicker(Kind) && !ComCtrlsOk)) return nullptr;
    auto It = KindTable().find(int(Kind));
    if (It == KindTable().end()) return nullptr;
    for (auto& [Slot, Editor] : FSpecialEditors)
        if (Slot == It->second.Slot) return Editor.get();
    if (IsDesigning() || IsDestroying() || !It->second.Factory) return nullptr;
    std::unique_ptr<TGridCellEditor> Editor = It->second.Factory(this);
    if (!Editor) return nullptr;
    FSpecialEditors.emplace_back(It->second.Slot, std::move(Editor));
    return FSpecialEditors.back().second.get();
}

// ---- editability queries ----------------------------------------------------------------------------
bool TExtStringGrid::IsFixed(int DisplCol, int DisplRow) {
    const int RealCol = RealColOfDisplCol(DisplCol);
    if (RealCol < 0 || DisplRow < 0) return false;
    const TPoint B = BaseCell(RealCol, DisplRow);
    const int BaseDisplCol = DisplColIndex(B.X);
    if (FixedFooters() > 0 && B.Y >= RowCount() - FixedFooters()) return true;
    if (FixedRightCols() > 0 && BaseDisplCol >= ColCount() - FixedRightCols()) return true;
    bool Fixed = false;
    GetFixedCell(BaseDisplCol, B.Y, Fixed);
    return Fixed;
}

bool TExtStringGrid::IsPassword(int RealCol, int DisplRow) {
    bool Password = false;
    GetPasswordCell(RealCol, DisplRow, Password);
    return Password;
}

bool TExtStringGrid::EditorWantsTab() {
    return Options().Contains(goTabs) || bool(OnCellValidate) || bool(OnCellValidateWide);
}

int TExtStringGrid::GetEditLimit() { return MaxEditLength(); }

TInplaceEdit* TExtStringGrid::CreateEditor() { return new TExtInplaceEdit(this); }

void TExtStringGrid::ShowCellEdit() { Perform(WM_KEYDOWN, VK_F2, 0); }

void TExtStringGrid::HideCellEdit() { HideSpecialEditor(Col(), Row()); }

// ---- the cell an edit belongs to --------------------------------------------------------------------------
void TExtStringGrid::NoteEditCell(int RealCol, int DisplRow) {
    FEditRealCol = RealCol;
    FEditRow = DisplRow;
    SaveOldCellText(DisplColIndex(RealCol), DisplRow);
    FOldRealCol = RealCol;
    FOldCellText = GetGridCell(RealCol, DisplRow);
}

bool TExtStringGrid::ValidateEditorValue(QString& Value) {
    if (!FEditing) return true;
    return ValidateHeldValue(Value, false);
}

bool TExtStringGrid::ValidateHeldValue(QString& Value, bool Wide) {
    // An open control validates through the cell it remembers; a value it had accepted already
    // is not asked about again.
    if (TGridEditorCell* C = EditorControlOpen() ? OpenEditorCell() : nullptr) {
        const bool Valid = ValidateEditorText(*C, Value);
        Value = FNewCellText;
        return Valid;
    }
    const bool Valid = Wide ? ValidateCellWide(Value) : ValidateCell(Value);
    Value = FNewCellText;
    return Valid;
}

// ---- cell change -------------------------------------------------------------------------------------------
bool TExtStringGrid::SelectCell(int DisplCol, int DisplRow) { return SelectCellOverride(DisplCol, DisplRow); }

bool TExtStringGrid::SelectCellOverride(int ACol, int ARow) {
    if (FForceSel) {
        if (!RowIndicator()->Empty() && FixedCols() > 0) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        return true;
    }
    // Without a window nothing is edited; the store's own test still decides.
    if (!Parent()) return TBaseGrid::SelectCell(ACol, ARow);
    bool Allow = true;
    bool Result = false;
    const int RealCol = RealColOfDisplCol(ACol);
    FEditText = RealCol >= 0 && ARow >= 0 ? GetGridCell(RealCol, ARow) : QString();

    if (FloatingFooter()->Visible() && FloatingFooter()->FooterStyle() == fsFixedLastRow && ARow == RowCount() - 1 &&
        RowCount() - 1 >= FixedRows())
        return false;
    if (ACol < 0 || ARow < 0 || RealCol < 0) return false;

    if (IsMergedNonBaseCell(RealCol, ARow) && !Options().Contains(goRangeSelect)) {
        const TPoint B = BaseCell(RealCol, ARow);
        const int BaseDisplCol = DisplColIndex(B.X);
        MoveColRow(BaseDisplCol, B.Y, true, true);
        RepaintCell(BaseDisplCol, B.Y);
        if (MouseActions()->DirectEdit() || (ControlLook()->DropDownAlwaysVisible() && HasComboButton(B.X, B.Y)))
            ShowEditor();
        return false;
    }
    if (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect)) return false;
    if (EnabledRowsUsed() && Navigation()->SkipDisabledRows() && ARow < RowCount() && !GetRowEnabled(ARow))
        return false;

    const TGridRect OldSel = Selection();
    const int OldCol = Col(), OldRow = Row();
    QString NewText = FEditText;

    // A special editor holds a value that was not validated yet: it is checked before the focus
    // leaves its cell, and a refused one keeps the focus there with the editor open.
    const bool SpecialOpen = FEditMode && FSpecialEditor;
    if (SpecialOpen && FEditing && HoldsValue(FEditControl)) {
        TGridCellEditor* E = SpecialEditor(FEditControl);
        QString Value = E                           ? E->Text()
            : FEditControl == edCustom && FEditLink ? FEditLink->GetEditorValue()
                                                    : GetCurrentCell();
        const bool Wide = GetGridCell(FEditRealCol, FEditRow).startsWith(QStringLiteral("|\\"));
        const bool Valid = ValidateHeldValue(Value, Wide);
        if (E) E->SetText(Value);
        if (!Valid) {
            FEditing = true;
            FNoAutoAdvance = true;
            return false;
        }
    }

    const bool CellControl = HasCellControl(RealCol, ARow);
    bool CanEdit;
    if (CellControl) {
        CanEdit = true;
        GetCellEditable(RealCol, ARow, CanEdit);
        if (SpecialOpen) HideInplaceEdit();
        if (!FEditDisable && !CanEdit && (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit()))
            FEditDisable = true;
        if (!Options().Contains(goEditing) && !Options().Contains(goRowSelect) && CanEdit) {
            FEditChange = true;
            SetOptions(Options() << goEditing);
        }
    } else {
        CanEdit = Options().Contains(goEditing) || FEditDisable;
        GetCellEditable(RealCol, ARow, CanEdit);
        if (MouseActions()->DirectEdit()) {
            FEditControl = DefaultEditor();
            if (IsNoEditCell(RealCol, ARow)) CanEdit = false;
        }
        if (MouseActions()->EditOnDblClickOnly()) CanEdit = false;
        if (CanEdit) {
            FEditDisable = false;
            if (!Options().Contains(goEditing)) {
                FEditChange = true;
                if (!FEditing) SaveOldCellText(ACol, ARow);
                TGridOptions O = Options();
                if (O.Contains(goRowSelect) && MouseActions()->RangeSelectAndEdit()) O >> goRowSelect;
                SetOptions(O << goEditing);
            }
            if (FEditing || SpecialOpen) {
                HideInplaceEdit();
                NewText = GetGridCell(RealCol, ARow);
            }
        } else {
            if (FEditing || SpecialOpen) HideInplaceEdit();
            if (Options().Contains(goEditing)) {
                FEditMode = false;
                FEditDisable = true;
                FEditChange = true;
                SetOptions(Options() >> goEditing);
                SetEditorMode(false);
            }
        }
    }

    // The text editor's own keys validated its value before the move; any other value was
    // validated above or written when its editor closed.
    DoCellChanging(ACol, ARow, Allow);
    if (IsFixed(ACol, ARow) || !Allow)
        Result = (Allow && Options().Contains(goRowSelect)) || (FixedRowAlways() && RowCount() == FixedRows());
    else
        Result = TBaseGrid::SelectCell(ACol, ARow);
    if (!Result) NewText = FOldCellCache;

    if (!RowIndicator()->Empty() && FixedCols() > 0) {
        RepaintCell(0, OldRow);
        RepaintCell(0, ARow);
    }
    if (ActiveCellShow()) {
        if (FixedRows() > 0) {
            RepaintCell(OldCol, FixedRows() - 1);
            RepaintCell(ACol, FixedRows() - 1);
        }
        if (FixedCols() > 0) {
            RepaintCell(FixedCols() - 1, OldRow);
            RepaintCell(FixedCols() - 1, ARow);
        }
        if (OldSel.Left != OldCol && OldSel.Top != OldRow) {
            if (FixedRows() > 0) RepaintCell(OldSel.Left, FixedRows() - 1);
            if (FixedCols() > 0) RepaintCell(FixedCols() - 1, OldSel.Top);
        }
    }
    if (ActiveRowShow()) {
        RepaintRow(OldRow);
        RepaintRow(ARow);
    }
    if (SelectionRectangle()) Invalidate();
    if (Result && !IsLoading() && ARow != FOldRowSel && OnRowChanged) {
        const int Old = FOldRowSel;
        FOldRowSel = ARow;
        OnRowChanged(this, Old, ARow);
    }
    if (OnGetCellBorder) Invalidate();
    SetOldCellCache(NewText);
    return Result;
}

// ---- whether an editor shows ------------------------------------------------------------------------------
bool TExtStringGrid::CanEditShow() { return CanEditShowOverride(); }

bool TExtStringGrid::CanEditShowOverride() {
    if (FValidating) return false;
    bool Answer = TBaseGrid::CanEditShow();
    if (IsDesigning()) return Answer;
    // A special editor holds the cell: the text editor stays closed over it.
    if (FEditMode && FSpecialEditor) return false;
    if (Col() < 0 || Row() < 0 || Col() >= ColCount() || Row() >= RowCount()) return false;
    int BC = GetRealCol(), BR = Row();
    ResolveBaseCell(GetRealCol(), Row(), BC, BR);
    if (Answer && !FEditMode && HasCellControl(BC, BR)) return false;
    if (Answer && !FEditMode) {
        FNoEditChange = true;
        SetOldCellCache(GetGridCell(BC, BR));
        FEditControl = DefaultEditor();
        GetCellEditorEx(BC, BR, FEditControl);
        if (FEditControl == edNone) {
            FNoEditChange = false;
            return false;
        }
        FEditMode = true;
        NoteEditCell(BC, BR);
        if (IsDefaultEditorKind(FEditControl)) {
            FShowEditProcess = true;
        } else {
            // The spin and edit-button editors show their typing in the cell as the text editor
            // does, also when they are the first editor the grid opens.
            switch (FEditControl) {
                case edSpinEdit:
                case edFloatSpinEdit:
                case edTimeSpinEdit:
                case edDateSpinEdit:
                case edEditBtn:
                case edNumericEditBtn:
                case edFloatEditBtn:
                case edMaskEditBtn: FShowEditProcess = true; break;
                default: break;
            }
            ShowSpecialEditor(DisplColIndex(BC), BR);
            FNoEditChange = false;
            FEntered = true;
            return false;
        }
    }
    if (Answer) {
        FEntered = true;
        FEditing = true;
    }
    if (FocusHelper()->Enabled() && Answer) SetFocusWindowShown(true);
    return Answer;
}

// ---- special editors --------------------------------------------------------------------------------------
void TExtStringGrid::ShowSpecialEditor(int ACol, int ARow) {
    const int RealCol = RealColOfDisplCol(ACol);
    TGridCellEditor* E = FEditControl == edCustom ? nullptr : SpecialEditor(FEditControl);
    if (RealCol < 0 || (FEditControl == edCustom ? !FEditLink : !E)) {
        // Nothing opens for this kind: the cell stays as it is.
        FEditMode = false;
        FEditing = false;
        FStartEditChar = QChar();
        return;
    }
    if (FEditRealCol != RealCol || FEditRow != ARow) NoteEditCell(RealCol, ARow);
    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    TRect R = CellRect(ACol, ARow);
    if (layoutDirection() == Qt::RightToLeft) R.Left += 1;

    TBrush Brush;
    TFont Font;
    Font.Assign(this->Font());
    Brush.SetColor(Color());
    TColor ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = false;
    TCellGradientDirection GD = GradientVertical;
    TGridDrawState State;
    GetVisualProperties(RealCol, ARow, State, false, false, true, &Brush, ColorTo, Mirror, MirrorTo, &Font, HA, VA, WW,
                        GD);
    const TColor C = Brush.Color();

    FEditCtrl = nullptr;
    FLastValidation = FEditControl != edCustom;
    const QString Text = GetEditText(ACol, ARow);
    if (FEditControl == edCustom) {
        ShowEditLink(RealCol, ARow, R, C);
    } else {
        {
            // The text the editor opens with is the cell's own, not typing.
            const TStateScope<bool> Loading(FNoEditChange, true);
            E->Open(FEditControl, R, C, Text);
            if (E->TakesEditorProp(FEditControl)) DoGetEditorProp(RealCol, ARow, FEditLink);
        }
        FEditMode = true;
        TWinControl* Ctl = E->Control();
        if (Ctl && !FStartEditChar.isNull() && E->TakesStartKey(FEditControl))
            PostMessage(Ctl, WM_CHAR, FStartEditChar.unicode(), 0);
        FEditCtrl = Ctl;
    }
    FStartEditChar = QChar();
}

void TExtStringGrid::ShowEditLink(int RealCol, int ARow, const TRect& R, TColor C) {
    TEditLink* L = FEditLink;
    L->SetGrid(this);
    L->SetEditCell(Point(RealCol, ARow));
    if (L->EditStyle() == esPopup) {
        if (L->AutoPopupWidth()) L->SetPopupWidth(R.Right - R.Left);
        if (!L->PopupForm()) {
            auto* F = new TForm(nullptr);
            F->SetName(QStringLiteral("gridform"));
            F->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
            L->SetPopupForm(F);
            L->FPopupFormMade = true;
        }
        TForm* F = L->PopupForm();
        const TPoint P = (L->PopupLeft() == -1 || L->PopupTop() == -1) ? ClientToScreen(Point(R.Left, R.Top))
                                                                       : Point(L->PopupLeft(), L->PopupTop());
        F->OnDeactivate = [L](TObject* Sender) { L->FormExit(Sender); };
        F->SetBounds(P.X, P.Y, L->PopupWidth(), L->PopupHeight());
        F->Show();
        L->CreateEditor(F);
        L->SetRect(Rect(0, 0, L->PopupWidth(), L->PopupHeight()));
    } else {
        L->CreateEditor(this);
        L->SetRect(R);
    }
    L->SetVisible(true);
    L->SetCellProps(C, Font());
    L->SetProperties();
    DoGetEditorProp(RealCol, ARow, L);
    L->SetEditorValue(GetGridCell(RealCol, ARow));
    L->SetFocus(true);
    FEditActive = true;
    FEditMode = true;
    TWinControl* Ctl = L->GetEditControl();
    if (Ctl && !FStartEditChar.isNull()) PostMessage(Ctl, WM_CHAR, FStartEditChar.unicode(), 0);
    FEditCtrl = Ctl;
}

void TExtStringGrid::HideEditLink(int RealCol, int ARow) {
    TEditorType Kind = FEditControl;
    if (ControlLook()->DropDownAlwaysVisible()) GetCellEditor(RealCol, ARow, Kind);
    TEditLink* L = FEditLink;
    if (!L) return;
    QString Value = L->GetEditorValue();
    if (!FRevertEdit && ValidateEditorValue(Value) && RealCol < TotalColCount() && ARow < RowCount())
        StoreEditText(RealCol, ARow, Value);
    if (L->EditStyle() != esPopup)
        L->SetVisible(false);
    else if (L->PopupForm())
        L->PopupForm()->Hide();
    L->RestoreWinProc();
    FEditMode = false;
}

void TExtStringGrid::HideSpecialEditor(int ACol, int ARow) {
    if (IsDestroying()) return;
    FSpecialEditor = false;
    // Focus leaving the grid while the editor closes is not an exit; the block is lifted on
    // every path.
    const TStateScope<bool> BlockKill(FBlockKill, true);
    FStartEditChar = QChar();
    const int RealCol = FEditRealCol >= 0 ? FEditRealCol : RealColOfDisplCol(ACol);
    const int DisplRow = FEditRow >= 0 ? FEditRow : ARow;
    const bool CellExists = RealCol >= 0 && RealCol < TotalColCount() && DisplRow >= 0 && DisplRow < RowCount();
    if (FEditControl == edCustom) {
        if (FEditMode) HideEditLink(RealCol, DisplRow);
    } else if (!IsDefaultEditorKind(FEditControl) && FEditControl != edDataCheckBox && FEditControl != edNone) {
        // Only an editor that was made is closed: asking for one here must not make it.
        TGridCellEditor* E = nullptr;
        if (auto It = KindTable().find(int(FEditControl)); It != KindTable().end())
            for (auto& [Slot, Editor] : FSpecialEditors)
                if (Slot == It->second.Slot) E = Editor.get();
        if (E) {
            QString Value;
            if (FEditMode && !FRevertEdit && E->StoreText(FEditControl, Value) && ValidateEditorValue(Value) &&
                CellExists)
                StoreEditText(RealCol, DisplRow, Value);
            const TStateScope<bool> Closing(FNoEditChange, true);
            E->Close();
        }
        FEditMode = false;
        // An abandoned edit gives the cell its text back; a stored or refused one has settled it.
        if (FRevertEdit) RestoreTypedText();
        FTypedWritten = false;
    }
    FEditCtrl = nullptr;
    if (FEditControl != edNormal && FEditActive) DoEditingDone(RealCol, DisplRow);
    // The text editor's value, if one is open, is still its own to validate.
    if (!IsDefaultEditorKind(FEditControl)) FEditing = false;
    FEditActive = false;
}

// ---- ending an edit --------------------------------------------------------------------------------------
void TExtStringGrid::UpdateText() {
    TInplaceEdit* E = InplaceEditor();
    if (!E || !E->isVisible() || FRevertEdit) return;
    QString Value = E->Text();
    // A refused value never reaches the cell: it keeps the text it had.
    if (!ValidateEditorValue(Value)) return;
    if (FEditRealCol < 0 || FEditRow < 0 || FEditRealCol >= TotalColCount() || FEditRow >= RowCount()) return;
    StoreEditText(FEditRealCol, FEditRow, Value);
}

void TExtStringGrid::EditorHidden() {
    if (FSpecialEditor) return;
    // Closed without its value stored (abandoned, or refused): the cell gets its text back.
    RestoreTypedText();
    FEditMode = false;
    FEditing = false;
}

void TExtStringGrid::HideInplaceEdit() {
    if (!FEditMode) {
        // A control opened outside the switch still closes with its value written.
        if (EditorControlOpen()) CommitEditorControl();
        return;
    }
    HideEditor();
    HideSpecialEditor(Col(), Row());
    FEditMode = false;
    SelectCellOverride(Col(), Row());
}

void TExtStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift) {
    TGridCellEditor* E = FSpecialEditor ? SpecialEditor(FEditControl) : nullptr;
    TExtInplaceEdit* TE = TextEditor();
    const bool TextOpen = TE && TE->isVisible();
    if (FEditing && (!E || HoldsValue(FEditControl))) {
        QString Value = E                                             ? E->Text()
            : FEditControl == edCustom && FEditLink && FSpecialEditor ? FEditLink->GetEditorValue()
            : TextOpen                                                ? TE->Text()
                                                                      : GetCurrentCell();
        const bool Valid = ValidateHeldValue(Value, false);
        if (E) E->SetText(Value);
        if (TextOpen && !E) TE->SetText(Value);
        if (!Valid) {
            // The editor stays open on its value; Enter does not move on.
            FEditing = true;
            FNoAutoAdvance = true;
            return;
        }
    }
    FNoAutoAdvance = false;
    // The editor hands the focus back to the grid: that is no focus arrival. Lifted on every
    // path, a raise from a handler below included.
    const TStateScope<bool> Block(FBlockFocus, true);
    FEditing = false;
    HideInplaceEdit();
    if (Navigation()->AppendOnArrowDown() && Key == VK_DOWN && Row() == RowCount() - 1) AddRow();
    if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
        Word K = Key;
        KeyDown(K, Shift);
    }
    FocusGridNoEdit();
    if (Key == VK_RETURN) AdvanceCell(Col(), Row(), false, false, true, false, false);
}

void TExtStringGrid::WalkFromEditor(bool Forward) {
    HideInplaceEdit();
    FocusGridNoEdit();
    // The walk goes along the row whatever the advance direction is.
    const TAdvanceDirection Dir = Navigation()->AdvanceDirection();
    Navigation()->SetAdvanceDirection(adLeftRight);
    AdvanceCell(Col(), Row(), false, false, Forward, false, true);
    Navigation()->SetAdvanceDirection(Dir);
    if (Navigation()->CursorWalkAlwaysEdit()) ShowInplaceEdit();
}

void TExtStringGrid::CancelInplaceEdit() {
    if (!FEditMode) {
        if (EditorControlOpen()) CancelEditorControl();
        FocusGridNoEdit();
        return;
    }
    FRevertEdit = true;
    FEditing = false;
    if (TGridCellEditor* E = FSpecialEditor ? SpecialEditor(FEditControl) : nullptr) E->SetText(FOldCellCache);
    HideInplaceEdit();
    FRevertEdit = false;
    FocusGridNoEdit();
}

void TExtStringGrid::DoEditingDone(int RealCol, int DisplRow) {
    if (OnEditingDone) OnEditingDone(this);
    FEditMode = false;
    PostMessage(this, EditDoneMessage(), WPARAM(RealCol), LPARAM(DisplRow));
}

// ---- the grid's messages of editing ------------------------------------------------------------------------
bool TExtStringGrid::EditWndProc(TMessage& Message) {
    if (Message.Msg == EditDoneMessage()) {
        if (OnEditCellDone) OnEditCellDone(this, int(Message.WParam), int(Message.LParam));
        if (MouseActions()->EditOnDblClickOnly()) {
            HideInplaceEdit();
            FEditMode = false;
            SetOptions(Options() >> goEditing);
        }
        return true;
    }
    switch (Message.Msg) {
        case WM_LBUTTONDOWN:
            LButFlg = true;
            FLButPos = QPoint(GetXLParam(Message.LParam), GetYLParam(Message.LParam));
            return false;
        default: return false;
    }
}
