// The grid's side of its editor controls: creating them, the combo's items, opening an editor
// over a cell with the cell's value, writing its value back into the cell it was opened for, and
// bringing back the value it opened with.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid_Editors.h"
#include "grid/control/GridDropDownWrappers.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QVariant>

// ---- what the editor controls share -------------------------------------------------------------------
bool GridEditorKeyIn(Word Key, std::initializer_list<Word> Keys) {
    for (Word K : Keys)
        if (K == Key) return true;
    return false;
}

TExtStringGrid* GridEditorOwner(TComponent* AOwner) {
    auto* G = dynamic_cast<TExtStringGrid*>(AOwner);
    if (!G) throw EInvalidCast("Invalid class typecast");
    return G;
}

bool GridEditorIsOpen(TExtStringGrid* G, const TWinControl* C) { return !G->IsDestroying() && G->EditorControl() == C; }

// ---- creation --------------------------------------------------------------------------------------------
void TExtStringGrid::CreateEditorControls() {
    EditCombo = Create<TGridCombo>(this, this);
    EditCombo->SetVisible(false);
    EditCombo->SetEnabled(false);
    EditCombo->SetIsWinXP(IsWinXP());
    EditCheck = Create<TGridCheckBox>(this, this);
    EditCheck->SetVisible(false);
    EditCheck->SetEnabled(false);
    EditBtn = Create<TGridEditBtn>(this, this);
    EditBtn->SetVisible(false);
    EditBtn->SetEnabled(false);
    EditBtn->SetButtonCaption("...");
    EditBtn->SetBorderStyle(bsNone);
    UnitEditBtn = Create<TGridUnitEditBtn>(this, this);
    UnitEditBtn->SetVisible(false);
    UnitEditBtn->SetEnabled(false);
    UnitEditBtn->SetButtonCaption("...");
    UnitEditBtn->SetBorderStyle(bsNone);
    UnitEditBtn->OnUnitChanged = [this](TObject*, const QString& NewUnit) {
        if (!OnUnitChanged) return;
        const TGridEditorCell& C = UnitEditBtn->Cell();
        OnUnitChanged(this, C.RealCol >= 0 ? C.RealCol : GetRealCol(), C.RealCol >= 0 ? EditorDisplRow(C) : Row(),
                      NewUnit);
    };
    GridButton = Create<TGridButton>(this, this);
    GridButton->SetVisible(false);
    GridButton->SetEnabled(false);
    GridButton->OnClick = [this](TObject*) {
        if (!OnButtonClick) return;
        const TGridEditorCell& C = GridButton->Cell();
        OnButtonClick(this, C.RealCol >= 0 ? C.RealCol : GetRealCol(), C.RealCol >= 0 ? EditorDisplRow(C) : Row());
    };
}

void TExtStringGrid::FreeEditorControls() {
    FEditorControl = nullptr;
    FEditorControlKind = edNone;
    auto Free = [](auto*& C) {
        delete C;
        C = nullptr;
    };
    Free(EditCombo);
    Free(EditCheck);
    Free(EditBtn);
    Free(UnitEditBtn);
    Free(GridButton);
    Free(FEditSpin);
    Free(FEditDate);
    Free(FEditDateTime);
    FreeDropDownEditors();
}

TGridSpin* TExtStringGrid::SpinEdit() {
    if (!FEditSpin) {
        FEditSpin = Create<TGridSpin>(this, this);
        FEditSpin->SetVisible(false);
        FEditSpin->SetEnabled(false);
        FEditSpin->SetBorderStyle(bsNone);
        if (!IsDesigning()) ApplyTonesToEditors();
    }
    return FEditSpin;
}

TGridDatePicker* TExtStringGrid::DatePicker() {
    if (!FEditDate) {
        FEditDate = Create<TGridDatePicker>(this, this);
        FEditDate->SetVisible(false);
        FEditDate->SetEnabled(false);
        FEditDate->OnCloseUp = [this](TObject* Sender) { DatePickerClosedUp(Sender); };
        FEditDate->OnDropDown = [this](TObject* Sender) { DatePickerDroppedDown(Sender); };
        FEditDate->OnChange = [this](TObject* Sender) {
            if (!OnEditChange || !FEditDate->Cell().Open) return;
            (void)Sender;
            const TGridEditorCell& C = FEditDate->Cell();
            OnEditChange(this, C.RealCol, EditorDisplRow(C), FEditDate->CellText());
        };
        if (!IsDesigning()) ApplyTonesToEditors();
    }
    return FEditDate;
}

TGridDateTimePicker* TExtStringGrid::DateAndTimePicker() {
    if (!FEditDateTime) {
        FEditDateTime = Create<TGridDateTimePicker>(this, this);
        FEditDateTime->SetVisible(false);
        FEditDateTime->SetEnabled(false);
        FEditDateTime->SetAutoTab(true);
        auto Changed = [this](TObject*) {
            if (!OnDateTimeChange || !FEditDateTime->Cell().Open) return;
            const TGridEditorCell& C = FEditDateTime->Cell();
            OnDateTimeChange(this, C.RealCol, EditorDisplRow(C), FEditDateTime->DateTime());
        };
        FEditDateTime->OnCloseUp = Changed;
        FEditDateTime->FOnTimeChange = Changed;
    }
    return FEditDateTime;
}

// ---- combo items ----------------------------------------------------------------------------------------
void TExtStringGrid::ClearComboString() { EditCombo->Items()->Clear(); }

void TExtStringGrid::AddComboString(const QString& S) { EditCombo->Items()->Add(S); }

void TExtStringGrid::AddComboStringObject(const QString& S, TObject* AObject) {
    EditCombo->Items()->AddObject(S, AObject);
}

bool TExtStringGrid::RemoveComboString(const QString& S) {
    const int I = EditCombo->Items()->IndexOf(S);
    if (I < 0) return false;
    EditCombo->Items()->Delete(I);
    return true;
}

bool TExtStringGrid::SetComboSelectionString(const QString& S) {
    const int I = EditCombo->Items()->IndexOf(S);
    if (I < 0) return false;
    FComboIdx = I;
    return true;
}

int TExtStringGrid::GetComboCount() { return EditCombo->Items()->Count(); }

void TExtStringGrid::SetComboIndex(int ACol, int ARow, int Value) {
    DoGetEditorProp(ACol, ARow, nullptr);
    // The item list raises its own index error for a value outside it.
    const QString S = EditCombo->Items()->Strings(Value);
    SetGridCell(ACol, ARow, S);
}

int TExtStringGrid::GetComboIndex(int ACol, int ARow) {
    DoGetEditorProp(ACol, ARow, nullptr);
    return EditCombo->Items()->IndexOf(GetGridCell(ACol, ARow));
}

// ---- the editor's cell ------------------------------------------------------------------------------------
int TExtStringGrid::EditorDisplRow(const TGridEditorCell& Cell) const {
    return Cell.RealRow >= 0 ? DisplRowIndex(Cell.RealRow) : -1;
}

int TExtStringGrid::EditorDisplCol(const TGridEditorCell& Cell) const {
    return Cell.RealCol >= 0 ? DisplColIndex(Cell.RealCol) : -1;
}

QString TExtStringGrid::EditorCellText(const TGridEditorCell& Cell) {
    if (Cell.RealCol < 0 || Cell.RealRow < 0) return QString();
    return GetCellsEx(Cell.RealCol, Cell.RealRow);
}

void TExtStringGrid::WriteEditorCell(const TGridEditorCell& Cell, const QString& Text) {
    if (Cell.RealCol < 0 || Cell.RealCol >= TotalColCount() || Cell.RealRow < 0) return;
    if (IsHiddenRow(Cell.RealRow)) {
        SetCellsEx(Cell.RealCol, Cell.RealRow, Text);
        return;
    }
    const int DisplRow = DisplRowIndex(Cell.RealRow);
    if (DisplRow < 0 || DisplRow >= RowCount()) return;
    StoreEditText(Cell.RealCol, DisplRow, Text);
}

bool TExtStringGrid::ValidateEditorText(TGridEditorCell& Cell, const QString& Text) {
    if (Cell.Validated && Cell.ValidatedText == Text) {
        FNewCellText = Text;
        return true;
    }
    // The validation reports the editor's own cell, whatever the current cell is by now.
    FOldCol = EditorDisplCol(Cell);
    FOldRow = EditorDisplRow(Cell);
    FOldCellText = Cell.OpenText;
    FEditing = true;
    const bool Valid = ValidateCell(Text);
    if (Valid) {
        Cell.Validated = true;
        Cell.ValidatedText = FNewCellText;
    }
    return Valid;
}

bool TExtStringGrid::CommitEditorText(TGridEditorCell& Cell, const QString& Text) {
    if (!ValidateEditorText(Cell, Text)) return false;
    WriteEditorCell(Cell, FNewCellText);
    return true;
}

TGridEditorCell* TExtStringGrid::OpenEditorCell() {
    if (!FEditorControl) return nullptr;
    switch (FEditorControlKind) {
        case edComboEdit:
        case edComboList: return &EditCombo->Cell();
        case edCheckBox: return &EditCheck->Cell();
        case edSpinEdit:
        case edFloatSpinEdit:
        case edTimeSpinEdit:
        case edDateSpinEdit: return &FEditSpin->Cell();
        case edDateEdit:
        case edDateEditUpDown:
        case edTimeEdit: return &FEditDate->Cell();
        case edDateTimeEdit: return &FEditDateTime->Cell();
        case edEditBtn:
        case edNumericEditBtn:
        case edFloatEditBtn:
        case edMaskEditBtn: return &EditBtn->Cell();
        case edUnitEditBtn:
        case edNumericUnitEditBtn:
        case edFloatUnitEditBtn: return &UnitEditBtn->Cell();
        case edButton: return &GridButton->Cell();
        default: {
            auto* L = dynamic_cast<TGridDropDownLink*>(FEditorControl);
            return L ? &L->Cell() : nullptr;
        }
    }
}

// ---- opening ---------------------------------------------------------------------------------------------
namespace {
// A text converted to a date and time as the variant conversion does it; false when it does not.
bool TextToDateTime(const QString& S, TDateTime& Value) {
    try {
        Value = StrToDateTime(S);
        return true;
    } catch (const Exception&) {}
    try {
        Value = StrToDate(S);
        return true;
    } catch (const Exception&) {}
    return false;
}
} // namespace

void TExtStringGrid::OpenEditorControl(TEditorType Kind, int DisplCol, int DisplRow) {
    if (FEditorControl) CommitEditorControl();
    const int RealCol = RealColOfDisplCol(DisplCol);
    if (RealCol < 0 || DisplRow < 0 || DisplRow >= RowCount()) return;
    TRect R = WindowRect(CellRect(DisplCol, DisplRow));
    const int W = R.Right - R.Left - 1;
    const int H = R.Bottom - R.Top - 1;
    TBrush Brush;
    Brush.SetColor(Color());
    TFont CellFont;
    CellFont.Assign(Font());
    GetCellColor(RealCol, DisplRow, TGridDrawState{}, &Brush, &CellFont);
    const TColor C = Brush.Color();
    const QString Stored = GetGridCell(RealCol, DisplRow);
    const QString Text = GetEditText(DisplCol, DisplRow);
    const int RealRow = RealRowIndex(DisplRow);
    SetOldCellCache(Stored);
    FEditing = true;
    FEditorRefused = false;
    QChar StartKey = FStartEditChar;
    FStartEditChar = QChar();
    TWinControl* Ctrl = nullptr;

    auto Place = [&](TWinControl* E, bool Colour) {
        E->SetBounds(R.Left, R.Top, W, H);
        if (Colour) E->SetColor(C);
        E->SetEnabled(true);
        E->SetVisible(true);
    };
    auto Focus = [](TWinControl* E) {
        if (E->CanFocus()) E->SetFocus();
    };

    switch (Kind) {
        case edComboEdit:
        case edComboList: {
            TGridCombo* Cb = EditCombo;
            Cb->Cell().Reset(RealCol, RealRow, Stored);
            Cb->SetDropDownCount(ControlLook()->DropDownCount());
            DoGetEditorProp(RealCol, DisplRow, nullptr);
            Cb->SetBounds(R.Left, R.Top, 0, 0);
            Cb->SetEnabled(true);
            Cb->SetDroppedDown(false);
            bool ArmFirstItem = false;
            if (Kind == edComboEdit) {
                Cb->SetStyle(csDropDown);
                Cb->SetText(Text);
                if (FComboIdx != -1 && Cb->ItemIndex() < 0) Cb->SetItemIndex(FComboIdx);
                Cb->SetMaxLength(MaxComboLength());
            } else {
                Cb->SetStyle(csDropDownList);
                Cb->SetItemIndex(Cb->Items()->IndexOf(Stored));
                if (FComboIdx == -1 && Cb->ItemIndex() < 0) {
                    int I = Cb->Items()->IndexOf(Text);
                    if (I < 0 && Cb->Items()->Count() > 0) I = 0;
                    Cb->SetItemIndex(I);
                    ArmFirstItem = true;
                } else if (Cb->ItemIndex() < 0) {
                    Cb->SetItemIndex(FComboIdx);
                }
            }
            // The look first: turning flat on takes the parent's colour, which the cell's own
            // colour then replaces.
            const bool Soft = Look() != glStandard && Look() != glClassic && Look() != glCustom;
            Cb->SetFlat(Soft);
            Cb->SetEtched(Soft);
            Cb->SetBounds(R.Left, R.Top, W, H);
            Cb->SetColor(C);
            Cb->Init();
            Cb->SetVisible(true);
            if (Navigation()->AutoComboDropSize())
                Cb->SizeDropDownWidth();
            else if (Cb->DropWidth() > 0)
                Cb->SetListWidth(Cb->DropWidth());
            FEditorControl = Cb;
            FEditorControlKind = Kind;
            Focus(Cb);
            if (MouseActions()->DirectComboDrop() || ControlLook()->DropDownAlwaysVisible()) Cb->SetDroppedDown(true);
            if (MouseActions()->DirectEdit() && MouseActions()->DirectComboDrop() && OnSelectionChanged)
                OnSelectionChanged(this, Selection().Left, Selection().Top, Selection().Right, Selection().Bottom);
            if (ArmFirstItem && Cb->Items()->Count() > 0) {
                if (OnComboChange) OnComboChange(this, RealCol, DisplRow, 0, Cb->Items()->Strings(0));
                if (OnComboObjectChange)
                    OnComboObjectChange(this, RealCol, DisplRow, 0, Cb->Items()->Strings(0), Cb->Items()->Objects(0));
            }
            Ctrl = Cb;
            break;
        }
        case edCheckBox: {
            TGridCheckBox* Ch = EditCheck;
            Ch->Cell().Reset(RealCol, RealRow, Stored);
            Ch->SetCaption(Stored);
            Ch->SetState(cbUnchecked);
            Ch->SetBounds(R.Left, R.Top, W, H);
            Ch->SetEnabled(true);
            Ch->SetVisible(true);
            FEditorControl = Ch;
            FEditorControlKind = Kind;
            Focus(Ch);
            StartKey = QChar();
            break;
        }
        case edSpinEdit:
        case edFloatSpinEdit:
        case edTimeSpinEdit:
        case edDateSpinEdit: {
            TGridSpin* Sp = SpinEdit();
            Sp->Cell().Reset(RealCol, RealRow, Stored);
            Sp->SetExcelStyleDecimalSeparator(ExcelStyleDecimalSeparator());
            Sp->Cell().Open = false; // no change events while it is filled
            if (Kind == edSpinEdit) {
                Sp->SetSpinType(sptNormal);
                bool Ok = false;
                const int V = Text.trimmed().toInt(&Ok);
                Sp->SetValue(Ok ? V : 0);
            } else if (Kind == edFloatSpinEdit) {
                Sp->SetSpinType(sptFloat);
                double V = 0;
                TryStrToFloat(NormalizeNumberText(Text), V);
                Sp->SetFloatValue(V);
            } else if (Kind == edTimeSpinEdit) {
                Sp->SetSpinType(sptTime);
                Sp->SetText(Text);
            } else {
                Sp->SetSpinType(sptDate);
                TDateTime D = Now();
                if (!Text.isEmpty()) {
                    try {
                        D = StrToDate(Text);
                    } catch (const Exception&) {
                        D = Now();
                    }
                }
                Sp->SetDateValue(D);
            }
            Sp->Cell().Open = true;
            Place(Sp, true);
            DoGetEditorProp(RealCol, DisplRow, nullptr);
            FEditorControl = Sp;
            FEditorControlKind = Kind;
            Focus(Sp);
            // Opened by a press on the cell's spin buttons: that press steps the value once.
            const bool Up = FSpinUpClick, Down = FSpinDnClick;
            FSpinUpClick = FSpinDnClick = false;
            if (Up)
                Sp->SpinUpClick(Sp);
            else if (Down)
                Sp->SpinDownClick(Sp);
            Ctrl = Sp;
            break;
        }
        case edDateEdit:
        case edDateEditUpDown:
        case edTimeEdit: {
            if (!ComCtrlsOk) return;
            TGridDatePicker* Dp = DatePicker();
            Dp->Cell().Reset(RealCol, RealRow, Stored);
            Dp->Cell().Open = false;
            TDateTime V = Now();
            if (Kind == edTimeEdit) {
                Dp->SetKind(dtkTime);
                if (!Text.isEmpty()) {
                    try {
                        V = StrToTime(Text);
                    } catch (const Exception&) {
                        V = Now();
                    }
                }
                Dp->SetTime(V);
                StartKey = QChar();
            } else {
                Dp->SetKind(dtkDate);
                Dp->SetDateMode(Kind == edDateEditUpDown ? dmUpDown : dmComboBox);
                if (!Text.isEmpty()) {
                    if (OnCustomStrToDate) {
                        V = Now();
                        OnCustomStrToDate(this, Text, V);
                    } else if (!TextToDateTime(Text, V)) {
                        V = Now();
                    } else {
                        // A cell date outside the picker's limits opens one day inside them.
                        if (Dp->MaxDate() != 0 && V > Dp->MaxDate()) V = Dp->MaxDate() - 1;
                        if (Dp->MinDate() != 0 && V <= Dp->MinDate()) V = Dp->MinDate() + 1;
                    }
                }
                Dp->SetDate(V);
            }
            Dp->Cell().Open = true;
            Place(Dp, true);
            DoGetEditorProp(RealCol, DisplRow, nullptr);
            FEditorControl = Dp;
            FEditorControlKind = Kind;
            Focus(Dp);
            if (Kind == edDateEdit && MouseActions()->DirectDateDrop()) Dp->Perform(WM_KEYDOWN, VK_F4, 0);
            Ctrl = Dp;
            break;
        }
        case edDateTimeEdit: {
            if (!ComCtrlsOk) return;
            TGridDateTimePicker* Dt = DateAndTimePicker();
            Dt->Cell().Reset(RealCol, RealRow, Stored);
            Dt->Cell().Open = false;
            TDateTime V = Now();
            if (!Text.isEmpty() && !TextToDateTime(Text, V)) V = Now();
            Dt->SetOriginal(V);
            Dt->SetDateTime(V);
            Dt->Cell().Open = true;
            Dt->SetBounds(R.Left, R.Top, W, std::max(H, Dt->Height()));
            Dt->SetColor(C);
            Dt->SetEnabled(true);
            Dt->SetVisible(true);
            DoGetEditorProp(RealCol, DisplRow, nullptr);
            FEditorControl = Dt;
            FEditorControlKind = Kind;
            Focus(Dt);
            StartKey = QChar();
            break;
        }
        case edEditBtn:
        case edNumericEditBtn:
        case edFloatEditBtn:
        case edMaskEditBtn: {
            TGridEditBtn* Eb = EditBtn;
            Eb->Cell().Reset(RealCol, RealRow, Stored);
            Eb->Cell().Open = false;
            Eb->Kind = Kind;
            Eb->SetMaxLength(MaxEditLength());
            Eb->SetEditMask(Kind == edMaskEditBtn ? GetEditMask(DisplCol, DisplRow) : QString());
            Eb->SetText(Text);
            Eb->Cell().Open = true;
            Place(Eb, true);
            DoGetEditorProp(RealCol, DisplRow, nullptr);
            FEditorControl = Eb;
            FEditorControlKind = Kind;
            Focus(Eb);
            Eb->SetHeight(H);
            Ctrl = Eb;
            break;
        }
        case edUnitEditBtn:
        case edNumericUnitEditBtn:
        case edFloatUnitEditBtn: {
            TGridUnitEditBtn* Ub = UnitEditBtn;
            Ub->Cell().Reset(RealCol, RealRow, Stored);
            Ub->Kind = Kind;
            Ub->SetMaxLength(MaxEditLength());
            Ub->SetUnitID(QString());
            Ub->SetText(QString());
            Ub->SetTextAndUnit(Text);
            Place(Ub, true);
            DoGetEditorProp(RealCol, DisplRow, nullptr);
            FEditorControl = Ub;
            FEditorControlKind = Kind;
            Focus(Ub);
            Ub->SetHeight(H);
            Ctrl = Ub;
            break;
        }
        case edButton: {
            TGridButton* B = GridButton;
            B->Cell().Reset(RealCol, RealRow, Stored);
            B->SetBounds(R.Left - 1, R.Top - 1, W + 2, H + 2);
            B->SetCaption(Stored);
            B->SetEnabled(true);
            B->SetVisible(true);
            FEditorControl = B;
            FEditorControlKind = Kind;
            Focus(B);
            StartKey = QChar();
            break;
        }
        default: {
            TGridDropDownLink* L = DropDownEditor(Kind);
            if (!L) return;
            OpenDropDownEditor(L, RealCol, DisplRow, R, Stored, Text, C);
            FEditorControlKind = Kind;
            Ctrl = L->Control();
            break;
        }
    }
    if (Ctrl && !StartKey.isNull()) PostMessage(Ctrl, WM_CHAR, StartKey.unicode(), 0);
    // A drop-down editor opened by a direct drop shows its popup once the start key is in.
    if (Ctrl && MouseActions()->DirectComboDrop() && dynamic_cast<TGridDropDownLink*>(Ctrl))
        PostMessage(Ctrl, WM_KEYDOWN, VK_F4, 0);
}

// ---- committing, cancelling ----------------------------------------------------------------------------
void TExtStringGrid::CommitEditorControl() {
    if (!FEditorControl || IsDestroying()) return;
    TWinControl* Ctrl = FEditorControl;
    const TEditorType Kind = FEditorControlKind;
    TGridEditorCell* Cell = OpenEditorCell();
    // Closed first: a validation handler that moves the focus must not commit it a second time.
    FEditorControl = nullptr;
    FEditorControlKind = edNone;
    const bool WasOpen = Cell && Cell->Open;
    if (Cell) Cell->Open = false;
    if (WasOpen) {
        switch (Kind) {
            case edComboEdit:
            case edComboList: CommitEditorText(*Cell, EditCombo->Text()); break;
            case edSpinEdit:
            case edFloatSpinEdit:
            case edTimeSpinEdit:
            case edDateSpinEdit: {
                TGridSpin* Sp = FEditSpin;
                if (Sp->AllowEmptyValue() && Sp->Text().trimmed().isEmpty()) {
                    CommitEditorText(*Cell, QString());
                    break;
                }
                if (!ValidateEditorText(*Cell, Sp->Text())) break;
                if (FNewCellText != Sp->Text()) {
                    // The validation gave its own text: that is what the cell gets.
                    WriteEditorCell(*Cell, FNewCellText);
                    break;
                }
                const int DisplRow = EditorDisplRow(*Cell);
                if (Kind == edTimeSpinEdit || IsHiddenRow(Cell->RealRow) || DisplRow < 0)
                    WriteEditorCell(*Cell, Sp->Text());
                else if (Kind == edSpinEdit)
                    SetInts(Cell->RealCol, DisplRow, Sp->Value());
                else if (Kind == edFloatSpinEdit)
                    SetFloats(Cell->RealCol, DisplRow, Sp->FloatValue());
                else
                    SetDates(Cell->RealCol, DisplRow, Sp->DateValue());
                break;
            }
            case edDateEdit:
            case edDateEditUpDown:
            case edTimeEdit:
                // The field shows the text in the picker's own format: nothing global changes.
                CommitEditorText(*Cell, FEditDate->CellText());
                if (FEditDate->DroppedDown()) FEditDate->CloseUp();
                break;
            case edDateTimeEdit: CommitEditorText(*Cell, FEditDateTime->CellText()); break;
            case edEditBtn:
            case edNumericEditBtn:
            case edFloatEditBtn:
            case edMaskEditBtn: CommitEditorText(*Cell, EditBtn->Text()); break;
            case edUnitEditBtn:
            case edNumericUnitEditBtn:
            case edFloatUnitEditBtn: CommitEditorText(*Cell, UnitEditBtn->Text() + UnitEditBtn->UnitID()); break;
            default:
                if (auto* L = dynamic_cast<TGridDropDownLink*>(Ctrl)) L->StoreValue();
                break;
        }
    }
    if (auto* L = dynamic_cast<TGridDropDownLink*>(Ctrl))
        if (L->Control()->DroppedDown()) L->Control()->HideDropDown(false);
    if (Ctrl == EditCombo) EditCombo->SetDroppedDown(false);
    HideEditorControl(Ctrl);
    FEditing = false;
    // The commit (or a refusal) has settled what the cell holds.
    FTypedWritten = false;
}

void TExtStringGrid::CancelEditorControl() {
    if (!FEditorControl) return;
    TGridEditorCell* Cell = OpenEditorCell();
    TWinControl* Ctrl = FEditorControl;
    FEditorControl = nullptr;
    FEditorControlKind = edNone;
    if (Cell) {
        // The cell keeps (or gets back) the text it had when the editor opened.
        if (Cell->Open && EditorCellText(*Cell) != Cell->OpenText) WriteEditorCell(*Cell, Cell->OpenText);
        Cell->Open = false;
    }
    FTypedWritten = false;
    if (auto* L = dynamic_cast<TGridDropDownLink*>(Ctrl))
        if (L->Control()->DroppedDown()) L->Control()->HideDropDown(true);
    if (Ctrl == EditCombo) EditCombo->SetDroppedDown(false);
    HideEditorControl(Ctrl);
    FEditing = false;
}

void TExtStringGrid::HideEditorControl(TWinControl* Ctrl) {
    // A focused control that is hidden hands the focus to whatever comes next on the form; an
    // editor closed from its own keys gives it back to the grid instead, so that a key that goes
    // on after it (a posted Tab) starts from the grid.
    const QWidget* F = QApplication::focusWidget();
    if (F && (F == Ctrl || Ctrl->isAncestorOf(F))) FocusGridNoEdit();
    Ctrl->SetVisible(false);
    Ctrl->SetEnabled(false);
}

// ---- moving on from an editor -------------------------------------------------------------------------------
void TExtStringGrid::FocusGridNoEdit() {
    const bool Always = Navigation()->AlwaysEdit();
    Navigation()->SetAlwaysEdit(false);
    // The setting comes back also when a focus handler raises.
    struct TRestore {
        TNavigation* N;
        bool V;
        ~TRestore() { N->SetAlwaysEdit(V); }
    } Restore{Navigation(), Always};
    if (CanFocus()) SetFocus();
}

void TExtStringGrid::EditorsTabToNextCell(TShiftState Shift) {
    FocusGridNoEdit();
    Word Key = VK_TAB;
    KeyDown(Key, Shift);
}

void TExtStringGrid::EditorsCursorWalk(TGridEditorCell& Cell, const QString& Text, bool Forward) {
    const int C = Col(), R = Row();
    const int Next = Forward ? C + CellSpan(C, R).X + 1 : C - 1;
    const bool Inside = Forward ? C < ColCount() - FixedRightCols() - 1 : C > FixedCols();
    if (Inside && Next >= 0 && Next < ColCount() && HasCellControl(RealColIndex(Next), R)) {
        if (!ValidateEditorText(Cell, Text)) return;
        HideInplaceEdit();
        FocusGridNoEdit();
        SetCol(Next);
        return;
    }
    WalkFromEditor(Forward);
}

void TExtStringGrid::EditorTextChanged(const TGridEditorCell& Cell, const QString& Text) {
    // Filling an editor is no change of the user's.
    if (Cell.Open && OnEditChange) OnEditChange(this, Cell.RealCol, EditorDisplRow(Cell), Text);
}

// ---- the switch's view of the open control ----------------------------------------------------------------
QString TExtStringGrid::EditorControlText() {
    if (!FEditorControl) return QString();
    switch (FEditorControlKind) {
        case edComboEdit:
        case edComboList: return EditCombo->Text();
        case edSpinEdit:
        case edFloatSpinEdit:
        case edTimeSpinEdit:
        case edDateSpinEdit: return FEditSpin->Text();
        case edDateEdit:
        case edDateEditUpDown:
        case edTimeEdit: return FEditDate->CellText();
        case edDateTimeEdit: return FEditDateTime->CellText();
        case edEditBtn:
        case edNumericEditBtn:
        case edFloatEditBtn:
        case edMaskEditBtn: return EditBtn->Text();
        case edUnitEditBtn:
        case edNumericUnitEditBtn:
        case edFloatUnitEditBtn: return UnitEditBtn->Text() + UnitEditBtn->UnitID();
        default: {
            if (auto* L = dynamic_cast<TGridDropDownLink*>(FEditorControl)) return L->CellValue();
            // The check box and button editors hold no value of their own.
            TGridEditorCell* Cell = OpenEditorCell();
            return Cell ? Cell->OpenText : QString();
        }
    }
}

void TExtStringGrid::SetEditorControlText(const QString& Value) {
    if (!FEditorControl) return;
    switch (FEditorControlKind) {
        case edComboEdit:
        case edComboList:
            if (EditCombo->Text() != Value) EditCombo->SetText(Value);
            break;
        case edSpinEdit:
        case edFloatSpinEdit:
        case edTimeSpinEdit:
        case edDateSpinEdit:
            if (FEditSpin->Text() != Value) FEditSpin->SetText(Value);
            break;
        case edEditBtn:
        case edNumericEditBtn:
        case edFloatEditBtn:
        case edMaskEditBtn:
            if (EditBtn->Text() != Value) EditBtn->SetText(Value);
            break;
        case edUnitEditBtn:
        case edNumericUnitEditBtn:
        case edFloatUnitEditBtn:
            if (UnitEditBtn->Text() + UnitEditBtn->UnitID() != Value) UnitEditBtn->SetTextAndUnit(Value);
            break;
        default:
            // The drop-down editors show the text validation left; the date pickers keep their
            // value; the check box and button hold none.
            if (auto* L = dynamic_cast<TGridDropDownLink*>(FEditorControl)) L->PutText(Value);
            break;
    }
}
