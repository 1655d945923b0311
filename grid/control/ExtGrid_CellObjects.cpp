// The objects a cell can carry beside its text: attaching, finding and removing them, and the
// operations of every kind (check boxes, radio buttons, pictures, images, progress bars,
// comments, shapes, ratings, scroll bars, markers, buttons, rotation). Cells are given by real
// column and displayed row unless a name says otherwise.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtGridCtrls.h"
#include "grid/control/ExtGrid_Editors.h"
#include "platform/rtl/SysUtils.h"

#include <cstdint>

namespace {

constexpr uint64_t KindBit(TCellType T) { return uint64_t(1) << unsigned(T); }

uint64_t KindSet(std::initializer_list<TCellType> Kinds) {
    uint64_t S = 0;
    for (TCellType T : Kinds) S |= KindBit(T);
    return S;
}

const uint64_t CheckBoxKinds = KindSet({ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox});

TCellVAlign CheckVAlign(TVAlignment VA) { return VA == vtaCenter ? vaCenter : VA == vtaBottom ? vaBottom : vaTop; }

// Every cell of the displayed rows, by real column: while columns are hidden the last real
// columns lie past ColCount, and they hold objects all the same.
template <typename Fn>
void ForEveryCell(TExtStringGrid* G, Fn Act) {
    for (int c = 0; c < G->TotalColCount(); ++c)
        for (int r = 0; r < G->RowCount(); ++r) Act(c, r);
}

// The kind of the box at (ACol, real row RealRow): its record's, else the kind the grid reports
// for the cell, as a descendant may type a cell as a data check box without reporting a record.
TCellType BoxKindAt(TExtStringGrid* G, TCellGraphic* CG, int ACol, int RealRow) {
    if (CG) return CG->CellType();
    if (G->NumHiddenRows() > 0 && G->IsHiddenRow(RealRow)) return ctEmpty;
    return G->GetCellType(ACol, G->DisplRowIndex(RealRow));
}

void CheckObjectCell(TExtStringGrid* G, int ACol, int ARow) {
    // Negative indexes are outside the grid as much as too large ones.
    if (ACol < 0 || ARow < 0 || ACol >= G->ColCount() + G->NumHiddenColumns() ||
        ARow >= G->RowCount() + G->NumHiddenRows())
        throw Exception(QStringLiteral("Invalid cell"));
}

} // namespace

// ---- finding, attaching and removing ----------------------------------------------------------------
TCellType TExtStringGrid::GetCellType(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return ctEmpty;
    TObject* Own = GetGraphicObjectEx(ACol, ARow);
    auto* CG = dynamic_cast<TCellGraphic*>(Own);
    if (ACol == 0 && MouseActions()->HotmailRowSelect() && (!Own || CG)) return ctRowCheckBox;
    return CG ? CG->CellType() : ctEmpty;
}

TObject* TExtStringGrid::GetCellGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return nullptr;
    if (ACol == 0 && MouseActions()->HotmailRowSelect()) {
        if (!FRowCheckGraphic) FRowCheckGraphic = std::make_unique<TCellGraphic>();
        TCellGraphic* R = FRowCheckGraphic.get();
        R->SetCellType(ctRowCheckBox);
        R->SetCellHAlign(haCenter);
        R->SetCellVAlign(vaCenter);
        R->SetCellTransparent(ControlLook()->ControlStyle() == csFlat);
        if (ARow == 0) {
            int Selected = 0;
            const int Rows = RowCount() - FixedRows();
            for (int r = FixedRows(); r < RowCount(); ++r)
                if (GetRowSelect(RealRowIndex(r))) ++Selected;
            R->SetCellAngle(Selected > 0 && Selected < Rows ? 1 : 0);
            R->SetCellBoolean(Rows > 0 && Selected >= Rows);
        } else {
            R->SetCellAngle(0);
            R->SetCellBoolean(GetRowSelect(RealRowIndex(ARow)));
        }
        return R;
    }
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

bool TExtStringGrid::IsSharedCellGraphic(const TObject* Obj, int ACol, int ARow) {
    // A shared record is reported for the cell but never stored in it.
    return Obj && Obj != GetGraphicObjectEx(ACol, ARow);
}

TCellGraphic* TExtStringGrid::OwnCellGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return nullptr;
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

TCellGraphic* TExtStringGrid::BaseCellGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return nullptr;
    const TPoint B = BaseCell(ACol, ARow);
    return dynamic_cast<TCellGraphic*>(GetCellGraphic(B.X, B.Y));
}

TCellGraphic* TExtStringGrid::CellGraphicOf(int ACol, int ARow, TCellType Kind) {
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    return CG && CG->CellType() == Kind ? CG : nullptr;
}

TCellGraphic* TExtStringGrid::BaseCellGraphicOf(int ACol, int ARow, TCellType Kind) {
    TCellGraphic* CG = BaseCellGraphic(ACol, ARow);
    return CG && CG->CellType() == Kind ? CG : nullptr;
}

bool TExtStringGrid::HasCellType(int ACol, int ARow, std::initializer_list<TCellType> Kinds) {
    if (ACol < 0 || ARow < 0) return false;
    const TPoint B = BaseCell(ACol, ARow);
    const TCellType T = GetCellType(B.X, B.Y);
    return (KindSet(Kinds) & KindBit(T)) != 0;
}

bool TExtStringGrid::HasCheckControl(int ACol, int ARow) {
    return HasCellType(ACol, ARow,
                       {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox, ctRadioButton});
}

TCellGraphic* TExtStringGrid::NewCellGraphic(int ACol, int ARow) {
    // The cell store holds displayed rows: a cell past them (or at a negative index) has no
    // place to keep an object.
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        throw Exception(QStringLiteral("Invalid cell"));
    // Only the cell's own record is freed: the shared records the grid reports for whole
    // columns stay as they are.
    TObject* Old = GetGraphicObjectEx(ACol, ARow);
    SetGraphicObjectEx(ACol, ARow, nullptr);
    if (IsCellGraphicObject(Old)) delete Old;
    auto* CG = new TCellGraphic;
    SetGraphicObjectEx(ACol, ARow, CG);
    if (NumHiddenColumns() > 0 && DisplColIndex(ACol) != ACol) RepaintCell(DisplColIndex(ACol), ARow);
    return CG;
}

bool TExtStringGrid::RemoveCellGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return false;
    TObject* Own = GetGraphicObjectEx(ACol, ARow);
    if (!Own) return false;
    SetGraphicObjectEx(ACol, ARow, nullptr);
    if (IsCellGraphicObject(Own)) delete Own;
    if (!IsDestroying()) RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

bool TExtStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType Kind) {
    if (GetCellType(ACol, ARow) != Kind) return false;
    return RemoveCellGraphic(ACol, ARow);
}

// ---- check boxes ------------------------------------------------------------------------------------
void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
    CheckObjectCell(this, ACol, ARow);
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCheckBox(State, Data, ControlLook()->ControlStyle() == csFlat, haBeforeText, CheckVAlign(VAlignment()));
    if (Data) {
        const QString Text = GetCellEx(ACol, ARow);
        if (Text != CheckTrue() && Text != CheckFalse()) SetCellEx(ACol, ARow, State ? CheckTrue() : CheckFalse());
    }
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State) {
    CheckObjectCell(this, ACol, ARow);
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCheckBox(State, ControlLook()->ControlStyle() == csFlat, haBeforeText, CheckVAlign(VAlignment()));
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
    const int From = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (int r = From; r < RowCount(); ++r) {
        const TCellType T0 = GetCellType(0, r);
        if (T0 == ctSummary) continue;
        if (T0 == ctNode)
            AddCheckBox(ACol, r, cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TExtStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State) {
    const int From = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (int r = From; r < RowCount(); ++r) AddCheckBox(ACol, r, State);
}

void TExtStringGrid::RemoveCheckBox(int ACol, int ARow) {
    TCellGraphic* CG = OwnCellGraphic(ACol, ARow);
    if (!CG) return;
    const TCellType T = CG->CellType();
    if (T != ctCheckBox && T != ctDataCheckBox && T != ctTriStateCheckBox) return;
    // A balloon riding on the box goes with the record, which owns its texts.
    RemoveCellGraphic(ACol, ARow);
}

void TExtStringGrid::RemoveCheckBoxColumn(int ACol) {
    const int From = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (int r = From; r < RowCount(); ++r)
        if (HasCheckBox(ACol, r)) RemoveCheckBox(ACol, r);
}

bool TExtStringGrid::HasCheckBox(int ACol, int ARow) {
    return HasCellType(ACol, ARow, {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox});
}

bool TExtStringGrid::HasDataCheckBox(int ACol, int ARow) {
    return HasCellType(ACol, ARow, {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox});
}

TCellGraphic* TExtStringGrid::CheckBoxRecordByRealRow(int ACol, int RealRow, bool& Fallback) {
    Fallback = false;
    if (ACol < 0 || RealRow < 0) return nullptr;
    if (NumHiddenRows() == 0) return dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, RealRow));
    if (RealRow >= TotalRowCount()) return nullptr;
    if (TCellProperties* P = GetCellPropertiesByRealRow(ACol, RealRow))
        if (auto* CG = dynamic_cast<TCellGraphic*>(P->GraphicObject())) return CG;
    // No record of its own: the grid may still report a shared one for the cell.
    Fallback = true;
    if (IsHiddenRow(RealRow)) return nullptr;
    return dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, DisplRowIndex(RealRow)));
}

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State) {
    if (ACol < 0 || ARow < 0) return false;
    bool Fallback = false;
    TCellGraphic* CG = CheckBoxRecordByRealRow(ACol, ARow, Fallback);
    const TCellType T = BoxKindAt(this, CG, ACol, ARow);
    const bool Hidden = NumHiddenRows() > 0;
    switch (T) {
        case ctCheckBox:
            if (!CG || Fallback) return false;
            State = CG->CellBoolean();
            return true;
        case ctTriStateCheckBox:
            if (!CG || Fallback) return false;
            State = CG->CellCheckBoxState() == cbChecked;
            return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            QString True;
            GetCheckTrue(ACol, Hidden ? DisplRowIndex(ARow) : ARow, True);
            State = (Hidden ? GetCellsEx(ACol, ARow) : GetCellEx(ACol, ARow)) == True;
            return true;
        }
        case ctRowCheckBox:
            if (ACol != 0) return false;
            State = GetRowSelect(ARow);
            return true;
        default: return false;
    }
}

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State) {
    bool Fallback = false;
    TCellGraphic* CG = CheckBoxRecordByRealRow(ACol, ARow, Fallback);
    if (CG && CG->CellType() == ctTriStateCheckBox) {
        State = CG->CellCheckBoxState();
        return true;
    }
    bool B = false;
    if (!GetCheckBoxState(ACol, ARow, B)) return false;
    State = BoolToCheckBoxState(B);
    return true;
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State) {
    if (ACol < 0 || ARow < 0) return false;
    bool Fallback = false;
    TCellGraphic* CG = CheckBoxRecordByRealRow(ACol, ARow, Fallback);
    const TCellType T = BoxKindAt(this, CG, ACol, ARow);
    const bool Hidden = NumHiddenRows() > 0;
    switch (T) {
        case ctCheckBox:
            if (!CG || Fallback) return false;
            CG->SetCellBoolean(State);
            if (!IsHiddenRow(ARow)) RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
            return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            QString Text;
            const int Row = Hidden ? DisplRowIndex(ARow) : ARow;
            if (State)
                GetCheckTrue(ACol, Row, Text);
            else
                GetCheckFalse(ACol, Row, Text);
            if (Hidden)
                SetCellsEx(ACol, ARow, Text);
            else
                SetCellEx(ACol, ARow, Text);
            return true;
        }
        case ctRowCheckBox:
            if (ACol != 0) return false;
            SetRowSelect(ARow, State);
            return true;
        default: return false;
    }
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State) {
    bool Fallback = false;
    TCellGraphic* CG = CheckBoxRecordByRealRow(ACol, ARow, Fallback);
    if (!CG || Fallback || CG->CellType() != ctTriStateCheckBox) return false;
    CG->SetCellCheckBoxState(State);
    if (!IsHiddenRow(ARow)) RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
    return true;
}

bool TExtStringGrid::IsChecked(int ACol, int ARow) {
    bool State = false;
    return GetCheckBoxState(ACol, ARow, State) && State;
}

bool TExtStringGrid::CheckGroupNode(int DisplRow, int& NodeRow, int& Span, bool& Collapsed) {
    // The node whose group holds DisplRow: the nearest node row at or above it whose displayed
    // group reaches down to it (rows of collapsed nested nodes are not displayed).
    auto NodeAt = [&](int r) -> TCellGraphic* {
        auto* CG = OwnCellGraphic(0, r);
        return CG && CG->CellType() == ctNode ? CG : nullptr;
    };
    auto SpanOf = [&](int r, TCellGraphic* N) {
        if (N->CellIndex() > 0) return N->CellIndex();
        int e = r + 1;
        while (e < RowCount() && !NodeAt(e)) ++e;
        return e - r;
    };
    if (TCellGraphic* N = NodeAt(DisplRow)) {
        NodeRow = DisplRow;
        Span = SpanOf(DisplRow, N);
        Collapsed = N->CellBoolean();
        return true;
    }
    int Hidden = 0;
    for (int r = DisplRow - 1; r >= FixedRows(); --r) {
        TCellGraphic* N = NodeAt(r);
        if (!N) continue;
        const int S = SpanOf(r, N);
        if (N->CellBoolean()) {
            Hidden += S - 1;
            continue;
        }
        if (DisplRow < r + S - Hidden) {
            NodeRow = r;
            Span = S;
            Collapsed = false;
            return true;
        }
    }
    return false;
}

bool TExtStringGrid::ToggleCheckState(int ACol, int ARow, bool FromUser) {
    return ToggleCheckStateAs(ACol, ARow, FromUser, ACol);
}

bool TExtStringGrid::ToggleCheckStateAs(int ACol, int ARow, bool FromUser, int EventCol) {
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    if (!CG) return false;
    const bool AutoGroup = Grouping()->AutoCheckGroup();
    int NodeRow = -1, Span = 0;
    bool Collapsed = false;
    const bool InGroup = AutoGroup && CheckGroupNode(ARow, NodeRow, Span, Collapsed);
    const bool IsNodeRow = InGroup && NodeRow == ARow;

    const TCellType T = CG->CellType();
    if (!(CheckBoxKinds & KindBit(T))) return false;
    if (FromUser && !ControlLook()->CheckAlwaysActive()) {
        bool Allow = true;
        GetCellEditable(ACol, ARow, Allow);
        if (!Allow) return false;
    }

    QString True, False;
    GetCheckTrue(ACol, ARow, True);
    GetCheckFalse(ACol, ARow, False);
    // The undo step holds the cell's stored text before and after (never its display text, which
    // may carry a link or a group count). Only data and virtual boxes keep their state in it; the
    // other kinds leave the text as it is, and undoing their step must never write a check text
    // over it.
    const TPoint Base = BaseCell(ACol, ARow);
    const QString OldText = GetGridCell(Base.X, Base.Y);
    QString NewText = OldText;
    bool State = false;
    switch (T) {
        case ctCheckBox:
            CG->SetCellBoolean(!CG->CellBoolean());
            State = CG->CellBoolean();
            break;
        case ctTriStateCheckBox: {
            const TCheckBoxState Old = CG->CellCheckBoxState();
            TCheckBoxState New;
            if (IsNodeRow)
                New = Old == cbChecked ? cbUnchecked : cbChecked;
            else
                New = Old == cbUnchecked ? cbGrayed : Old == cbGrayed ? cbChecked : cbUnchecked;
            CG->SetCellCheckBoxState(New);
            State = IsNodeRow && New == cbChecked;
            break;
        }
        case ctRowCheckBox: {
            const int RealRow = RealRowIndex(ARow);
            State = !GetRowSelect(RealRow);
            SetRowSelect(RealRow, State);
            break;
        }
        default: // data and virtual boxes: the state is the cell text
            State = GetCellEx(ACol, ARow) != True;
            NewText = State ? True : False;
            SetCellEx(ACol, ARow, NewText);
            break;
    }
    RepaintCell(DisplColIndex(ACol), ARow);
    DoCheckBoxChange(EventCol, ARow, State);

    if (InGroup) {
        if (IsNodeRow) {
            const int Base = Collapsed ? RealRowIndex(NodeRow) : RealRowIndex(ARow);
            for (int i = 1; i < Span; ++i) SetCheckBoxState(ACol, Base + i, State);
        } else if (auto* Parent = OwnCellGraphic(ACol, NodeRow); Parent && Parent->CellType() == ctTriStateCheckBox) {
            const int Base = RealRowIndex(NodeRow);
            bool Any = false, All = true, First = true, Same = true, Prev = false;
            for (int i = 1; i < Span; ++i) {
                bool S = false;
                if (!GetCheckBoxState(ACol, Base + i, S)) continue;
                if (!First && S != Prev) Same = false;
                Prev = S;
                First = false;
                Any = Any || S;
                All = All && S;
            }
            Parent->SetCellCheckBoxState(!Same ? cbGrayed : (All && Any) ? cbChecked : cbUnchecked);
            RepaintCell(DisplColIndex(ACol), NodeRow);
        }
    }
    if (UndoRedo()) UndoRedo()->RegisterChange(ACol, ARow, OldText, NewText);
    return true;
}

bool TExtStringGrid::SetCheckStateAt(int ACol, int ARow, bool Value) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return false;
    const int RealRow = NumHiddenRows() > 0 ? RealRowIndex(ARow) : ARow;
    bool Fallback = false;
    TCellGraphic* CG = CheckBoxRecordByRealRow(ACol, RealRow, Fallback);
    const TCellType T = CG ? CG->CellType() : GetCellType(ACol, ARow);
    switch (T) {
        case ctCheckBox:
            if (!CG || Fallback) return false;
            if (CG->CellBoolean() != Value) {
                CG->SetCellBoolean(Value);
                DoCheckBoxChange(ACol, ARow, Value);
                RepaintCell(DisplColIndex(ACol), ARow);
            }
            return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            QString True, False;
            GetCheckTrue(ACol, ARow, True);
            GetCheckFalse(ACol, ARow, False);
            const bool Was = GetCellEx(ACol, ARow) == True;
            SetCellEx(ACol, ARow, Value ? True : False);
            if (Was != Value) DoCheckBoxChange(ACol, ARow, Value);
            return true;
        }
        case ctRowCheckBox:
            if (ACol != 0) return false;
            if (GetRowSelect(RealRow) != Value) {
                SetRowSelect(RealRow, Value);
                DoCheckBoxChange(ACol, ARow, Value);
            }
            return true;
        default: return false;
    }
}

void TExtStringGrid::CheckAll(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) SetCheckStateAt(ACol, r, true);
    if (NumHiddenColumns() > 0) RepaintCol(DisplColIndex(ACol));
}

void TExtStringGrid::UnCheckAll(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) SetCheckStateAt(ACol, r, false);
}

// ---- radio buttons ----------------------------------------------------------------------------------
void TExtStringGrid::AddRadioButton(int ACol, int ARow, bool State) {
    CheckObjectCell(this, ACol, ARow);
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetRadioButton(State, ControlLook()->ControlStyle() == csFlat, haBeforeText, CheckVAlign(VAlignment()));
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::AddRadioButtonColumn(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) AddRadioButton(ACol, r, false);
}

void TExtStringGrid::RemoveRadioButtonColumn(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) RemoveRadioButton(ACol, r);
}

void TExtStringGrid::RemoveRadioButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadioButton); }

bool TExtStringGrid::HasRadioButton(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctRadioButton}); }

bool TExtStringGrid::IsRadioButtonChecked(int ACol, int ARow) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctRadioButton);
    return CG && CG->CellBoolean();
}

bool TExtStringGrid::SetRadioButtonState(int ACol, int ARow, bool State) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctRadioButton);
    if (!CG) return false;
    if (CG->CellBoolean() != State) {
        CG->SetCellBoolean(State);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
    return true;
}

void TExtStringGrid::SetRadioButtonColumnIndex(int ACol, int Index) {
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (TCellGraphic* CG = OwnCellGraphic(ACol, r); CG && CG->CellType() == ctRadioButton) {
            CG->SetCellBoolean(r == Index);
            RepaintCell(DisplColIndex(ACol), r);
        }
}

int TExtStringGrid::GetRadioButtonColumnIndex(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (TCellGraphic* CG = OwnCellGraphic(ACol, r); CG && CG->CellType() == ctRadioButton && CG->CellBoolean())
            return r;
    return -1;
}

bool TExtStringGrid::ClickRadioButton(int ACol, int ARow, bool FromUser) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctRadioButton);
    if (!CG) return false;
    if (FromUser && !ControlLook()->CheckAlwaysActive()) {
        bool Allow = true;
        GetCellEditable(ACol, ARow, Allow);
        if (!Allow) return false;
    }
    if (CG->CellBoolean()) return true;
    CG->SetCellBoolean(true);
    RepaintCell(DisplColIndex(ACol), ARow);
    for (int r = 0; r < RowCount(); ++r) {
        if (r == ARow) continue;
        if (TCellGraphic* O = OwnCellGraphic(ACol, r); O && O->CellType() == ctRadioButton && O->CellBoolean()) {
            O->SetCellBoolean(false);
            RepaintCell(DisplColIndex(ACol), r);
        }
    }
    return true;
}

// ---- bitmaps, pictures, icons -----------------------------------------------------------------------
void TExtStringGrid::AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    NewCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap* TExtStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    return NewCellGraphicOwning<TBitmap>(ACol, ARow,
                                         [&](TCellGraphic* CG) { CG->SetBitmap(nullptr, Transparent, hal, val); });
}

TBitmap* TExtStringGrid::GetBitmap(int ACol, int ARow) { return CellObjectOf<TBitmap>(ACol, ARow, ctBitmap); }

void TExtStringGrid::RemoveBitmap(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }

void TExtStringGrid::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                int Padding, TCellHAlign hal, TCellVAlign val) {
    NewCellGraphic(ACol, ARow)->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TPicture* TExtStringGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                        TCellHAlign hal, TCellVAlign val) {
    return NewCellGraphicOwning<TPicture>(
        ACol, ARow, [&](TCellGraphic* CG) { CG->SetPicture(nullptr, Transparent, StretchMode, Padding, hal, val); });
}

TPicture* TExtStringGrid::GetPicture(int ACol, int ARow) { return CellObjectOf<TPicture>(ACol, ARow, ctPicture); }

void TExtStringGrid::RemovePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctPicture); }

void TExtStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val) {
    NewCellGraphic(ACol, ARow)->SetFilePicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TExtStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign hal, TCellVAlign val) {
    return NewCellGraphicOwning<TFilePicture>(ACol, ARow, [&](TCellGraphic* CG) {
        CG->SetFilePicture(nullptr, Transparent, StretchMode, Padding, hal, val);
    });
}

TFilePicture* TExtStringGrid::GetFilePicture(int ACol, int ARow) {
    return CellObjectOf<TFilePicture>(ACol, ARow, ctFilePicture);
}

void TExtStringGrid::RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctFilePicture); }

void TExtStringGrid::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
    NewCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

TIcon* TExtStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val) {
    return NewCellGraphicOwning<TIcon>(ACol, ARow, [&](TCellGraphic* CG) { CG->SetIcon(nullptr, hal, val); });
}

void TExtStringGrid::RemoveIcon(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctIcon); }

// ---- image lists ------------------------------------------------------------------------------------
void TExtStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
    if (!GridImages()) return;
    NewCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

void TExtStringGrid::RemoveImageIdx(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImageList); }

bool TExtStringGrid::GetImageIdx(int ACol, int ARow, int& idx) {
    TCellGraphic* CG = GridImages() ? CellGraphicOf(ACol, ARow, ctImageList) : nullptr;
    if (!CG) return false;
    idx = CG->CellIndex();
    return true;
}

void TExtStringGrid::SetImageIdx(int ACol, int ARow, int Idx) {
    TCellGraphic* CG = GridImages() ? CellGraphicOf(ACol, ARow, ctImageList) : nullptr;
    if (!CG) return;
    CG->SetCellIndex(Idx);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
    if (!GridImages()) return;
    NewCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
    if (GetCellEx(ACol, ARow).isEmpty()) SetInts(ACol, ARow, Aidx);
}

void TExtStringGrid::RemoveDataImage(int ACol, int ARow) {
    // The text is the image's index: it goes with the image, and only then.
    if (RemoveCellGraphicOfType(ACol, ARow, ctDataImage)) SetCellEx(ACol, ARow, QString());
}

bool TExtStringGrid::HasDataImage(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctDataImage}); }

void TExtStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val) {
    if (!GridImages()) return;
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    // The list reports its own cell: the notifier reaches the grid, never a freed record.
    CG->SetMultiImage(ACol, ARow, Dir, hal, val,
                      [this](TObject* Sender, int C, int R) { RepaintListedCell(Sender, DisplColIndex(C), R); });
}

void TExtStringGrid::RemoveMultiImage(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImages); }

int64_t TExtStringGrid::CellImageKey(int ACol, int ARow) {
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    if (!CG) return -1;
    // Object keys keep every bit of the address: two images never share a key.
    switch (CG->CellType()) {
        case ctBitmap: return CG->CellBitmap() ? int64_t(reinterpret_cast<intptr_t>(CG->CellBitmap())) : -1;
        case ctIcon: return CG->CellIcon() ? int64_t(reinterpret_cast<intptr_t>(CG->CellIcon())) : -1;
        case ctImageList: return CG->CellIndex();
        default: return -1;
    }
}

// ---- progress, pies, ranges -------------------------------------------------------------------------
namespace {
void FillProgress(TCellGraphic* CG, TColor FG, TColor FGText, TColor BK, TColor BKText, const QString& Fmt, int Min,
                  int Max, bool Given) {
    CG->SetCellType(ctProgress);
    CG->SetCellBitmapColor(FG);
    CG->SetCellIconColor(BK);
    CG->SetCellIndex(int(FGText));
    CG->SetCellAngle(int(BKText));
    CG->SetCellErrFrom(Min);
    CG->SetCellErrLen(Max);
    CG->SetCellText(Fmt);
    CG->SetCellBoolean(Given);
    CG->SetCellHAlign(haLeft);
    CG->SetCellVAlign(vaTop);
}
} // namespace

void TExtStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor) {
    FillProgress(NewCellGraphic(ACol, ARow), FGColor, 0, BKColor, 0, QString(), 0, 100, false);
    if (AutoNumAlign()) SetAlignments(ACol, ARow, taRightJustify);
}

void TExtStringGrid::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor) {
    FillProgress(NewCellGraphic(ACol, ARow), FGColor, FGTextColor, BKColor, BKTextColor, QString(), 0, 100, true);
    if (AutoNumAlign()) SetAlignments(ACol, ARow, taRightJustify);
}

void TExtStringGrid::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                          TColor BKTextColor, const QString& Fmt, int Min, int Max) {
    FillProgress(NewCellGraphic(ACol, ARow), FGColor, FGTextColor, BKColor, BKTextColor, Fmt, Min, Max, true);
    if (AutoNumAlign()) SetAlignments(ACol, ARow, taRightJustify);
}

bool TExtStringGrid::HasProgress(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctProgress}); }

void TExtStringGrid::RemoveProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgress); }

void TExtStringGrid::AddExtProgress(int ACol, int ARow, int Min, int Max) {
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctXPProgress);
    CG->SetCellErrFrom(Min);
    CG->SetCellErrLen(Max);
    CG->SetCellBoolean(false);
    CG->SetCellHAlign(haLeft);
    CG->SetCellVAlign(vaTop);
}

void TExtStringGrid::RemoveExtProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctXPProgress); }

void TExtStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value) {
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctProgressPie);
    CG->SetCellBitmapColor(Color);
    CG->SetCellAngle(Value);
    CG->SetCellHAlign(haBeforeText);
    CG->SetCellVAlign(vaTop);
}

void TExtStringGrid::SetProgressPie(int ACol, int ARow, int Value) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctProgressPie);
    if (!CG) return;
    CG->SetCellAngle(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::RemoveProgressPie(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgressPie); }

void TExtStringGrid::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue) {
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctRangeIndicator);
    CG->SetCellIndex(Range);
    CG->SetCellBitmapColor(NegColor);
    CG->SetCellIconColor(PosColor);
    CG->SetCellBoolean(ShowValue);
    CG->SetCellHAlign(haLeft);
    CG->SetCellVAlign(vaTop);
}

void TExtStringGrid::RemoveRangeIndicator(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator); }

// ---- comments ---------------------------------------------------------------------------------------
void TExtStringGrid::AddComment(int ACol, int ARow, const QString& Comment) {
    AddColorComment(ACol, ARow, Comment, ControlLook()->CommentColor());
}

void TExtStringGrid::AddColorComment(int ACol, int ARow, const QString& Comment, TColor Color) {
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctComment);
    CG->SetCellText(Comment);
    CG->SetCellIndex(int(Color));
    CG->SetCellHAlign(haLeft);
    CG->SetCellVAlign(vaTop);
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TExtStringGrid::IsComment(int ACol, int ARow, QString& comment) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctComment);
    if (!CG) return false;
    comment = CG->CellText();
    return true;
}

QString TExtStringGrid::GetComment(int ACol, int ARow) {
    QString S;
    IsComment(ACol, ARow, S);
    return S;
}

void TExtStringGrid::SetComment(int ACol, int ARow, const QString& value) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return;
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(ACol, ARow));
    if (!CG) {
        AddComment(ACol, ARow, value);
        return;
    }
    if (CG->CellType() != ctComment) return;
    CG->SetCellText(value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::RemoveComment(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctComment); }

void TExtStringGrid::RemoveAllComments() {
    ForEveryCell(this, [this](int c, int r) { RemoveComment(c, r); });
}

// ---- shapes and ratings -----------------------------------------------------------------------------
void TExtStringGrid::AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                              TCellVAlign val) {
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctShape);
    CG->SetCellAngle(int(Shape));
    CG->SetCellIndex(int(FillColor));
    CG->SetCellBitmapColor(LineColor);
    CG->SetCellHAlign(hal);
    CG->SetCellVAlign(val);
}

void TExtStringGrid::RemoveShape(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctShape); }

void TExtStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor) {
    if (TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctShape)) CG->SetCellIndex(int(FillColor));
}

TColor TExtStringGrid::GetShapeColor(int ACol, int ARow) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctShape);
    return CG ? TColor(CG->CellIndex()) : clNone;
}

void TExtStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor) {
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctRating);
    CG->SetCellAngle(Scale);
    CG->SetCellIndex(int(FillColor));
    CG->SetCellBitmapColor(EmptyColor);
    CG->SetCellHAlign(haFull);
}

void TExtStringGrid::RemoveRating(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRating); }

bool TExtStringGrid::HasRating(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctRating}); }

// ---- cell scroll bars -------------------------------------------------------------------------------
void TExtStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange) {
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctScrollbar);
    CG->SetCellIndex(0);
    CG->SetCellAngle(0);
    CG->SetCellErrFrom(100);
    CG->SetCellBoolean(AutoRange);
    if (AutoRange) UpdateScrollBarRange(ACol, ARow);
}

void TExtStringGrid::UpdateScrollBarRange(int ACol, int ARow) {
    TCellGraphic* CG = CellGraphicOf(ACol, ARow, ctScrollbar);
    if (!CG) return;
    CG->SetCellAngle(RowHeights(ARow));
    CG->SetCellErrFrom(GetCellTextSize(ACol, ARow, false, true).cy);
}

void TExtStringGrid::RemoveScrollBar(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctScrollbar); }

bool TExtStringGrid::HasScrollBar(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctScrollbar}); }

bool TExtStringGrid::HasAutoRangeScrollBar(int ACol, int ARow) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctScrollbar);
    return CG && CG->CellBoolean();
}

void TExtStringGrid::SetScrollPosition(int ACol, int ARow, int Pos) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctScrollbar);
    if (!CG) return;
    CG->SetCellIndex(Pos);
    RepaintCell(DisplColIndex(ACol), ARow);
}

int TExtStringGrid::GetScrollPosition(int ACol, int ARow) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctScrollbar);
    return CG ? CG->CellIndex() : -1;
}

void TExtStringGrid::SetScrollProp(int ACol, int ARow, TScrollProp Prop) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctScrollbar);
    if (!CG) return;
    CG->SetCellAngle(Prop.PageSize);
    CG->SetCellErrFrom(Prop.Range);
}

TExtStringGrid::TScrollProp TExtStringGrid::GetScrollProp(int ACol, int ARow) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctScrollbar);
    if (!CG) return TScrollProp{-1, -1};
    return TScrollProp{CG->CellAngle(), CG->CellErrFrom()};
}

// ---- error markers ----------------------------------------------------------------------------------
void TExtStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return;
    TObject* Reported = GetCellGraphic(ACol, ARow);
    // A record the grid shares over a whole column would mark every cell of it.
    if (IsSharedCellGraphic(Reported, ACol, ARow)) return;
    TCellGraphic* CG = OwnCellGraphic(ACol, ARow);
    if (!CG) {
        CG = NewCellGraphic(ACol, ARow);
        CG->SetCellType(ctEmpty);
    }
    CG->SetCellErrFrom(ErrPos);
    CG->SetCellErrLen(ErrLen);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) {
    ErrPos = 0;
    ErrLen = 0;
    if (TCellGraphic* CG = OwnCellGraphic(ACol, ARow)) {
        ErrPos = CG->CellErrFrom();
        ErrLen = CG->CellErrLen();
    }
}

void TExtStringGrid::RemoveMarker(int ACol, int ARow) {
    TCellGraphic* CG = OwnCellGraphic(ACol, ARow);
    if (!CG) return;
    if (CG->CellType() == ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    CG->SetCellErrFrom(0);
    CG->SetCellErrLen(0);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::RemoveAllMarkers() {
    ForEveryCell(this, [this](int c, int r) { RemoveMarker(c, r); });
}

// ---- push buttons -----------------------------------------------------------------------------------
void TExtStringGrid::AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                               TCellVAlign val) {
    NewCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::AddBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TBitmap* Glyph,
                                  TCellHAlign hal, TCellVAlign val) {
    NewCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TBitmap* TExtStringGrid::CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                                         TCellVAlign val) {
    return NewCellGraphicOwning<TBitmap>(
        ACol, ARow, [&](TCellGraphic* CG) { CG->SetBitButton(bw, bh, Caption, nullptr, hal, val); });
}

TCellGraphic* TExtStringGrid::ButtonRecord(int DisplCol, int ARow) {
    // Only a button has a caption and a pressed state: the same fields hold a comment, a
    // progress format, a check state or a collapsed flag in the other kinds.
    auto* CG = dynamic_cast<TCellGraphic*>(GetCellGraphic(RealColIndex(DisplCol), ARow));
    return CG && (CG->CellType() == ctButton || CG->CellType() == ctBitButton) ? CG : nullptr;
}

void TExtStringGrid::SetButtonText(int ACol, int ARow, const QString& Caption) {
    TCellGraphic* CG = ButtonRecord(ACol, ARow);
    if (!CG) return;
    CG->SetCellText(Caption);
    RepaintCell(ACol, ARow);
}

QString TExtStringGrid::GetButtonText(int ACol, int ARow) {
    TCellGraphic* CG = ButtonRecord(ACol, ARow);
    return CG ? CG->CellText() : QString();
}

void TExtStringGrid::PushButton(int ACol, int ARow, bool Down) {
    TCellGraphic* CG = ButtonRecord(ACol, ARow);
    if (!CG) return;
    CG->SetCellBoolean(Down);
    RepaintCell(ACol, ARow);
}

void TExtStringGrid::RemoveButton(int ACol, int ARow) {
    if (!RemoveCellGraphicOfType(ACol, ARow, ctButton)) RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TExtStringGrid::RemoveBitButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitButton); }

void TExtStringGrid::RemoveAllButtons() {
    ForEveryCell(this, [this](int c, int r) { RemoveButton(c, r); });
}

bool TExtStringGrid::HasButton(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctButton, ctBitButton}); }

// ---- objects of the caller --------------------------------------------------------------------------
void TExtStringGrid::AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent* AObject) {
    NewCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

TInterfacedPersistent* TExtStringGrid::GetInterfacedCell(int ACol, int ARow) {
    return CellObjectOf<TInterfacedPersistent>(ACol, ARow, ctInterface);
}

void TExtStringGrid::RemoveInterfacedCell(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctInterface); }

// ---- rotation ---------------------------------------------------------------------------------------
void TExtStringGrid::AddRotated(int ACol, int ARow, int16_t AAngle, const QString& s) {
    NewCellGraphic(ACol, ARow)->SetAngle(AAngle);
    SetCellEx(ACol, ARow, s);
}

void TExtStringGrid::SetRotated(int ACol, int ARow, int16_t AAngle) {
    if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return;
    // A rotation already in the cell takes the new angle; any other object of the cell is
    // replaced (and freed) rather than turned into one, and a shared record is never touched.
    TCellGraphic* CG = OwnCellGraphic(ACol, ARow);
    if (!CG || CG->CellType() != ctRotated) CG = NewCellGraphic(ACol, ARow);
    CG->SetAngle(AAngle);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::RemoveRotated(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRotated); }

// ---- links in cell texts ---------------------------------------------------------------------------
void TExtStringGrid::SetURLShow(bool Value) {
    if (FURLShow == Value) return;
    FURLShow = Value;
    Invalidate();
}

void TExtStringGrid::SetURLShowInText(bool Value) {
    if (FURLShowInText == Value) return;
    FURLShowInText = Value;
    Invalidate();
}

void TExtStringGrid::SetURLColor(TColor Value) {
    FURLColor = Value;
    if (FURLShow) Invalidate();
}

void TExtStringGrid::SetURLFull(bool Value) {
    FURLFull = Value;
    if (FURLShow) Invalidate();
}

void TExtStringGrid::GetDisplText(int ACol, int ARow, QString& Value) {
    AppendGroupCount(ACol, ARow, Value);
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (!FURLShowInText) return;
    static const char* const Prefixes[] = {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://"};
    for (const char* P : Prefixes) {
        QString Linked;
        if (InsertURLAnchor(Value, QString::fromLatin1(P), Linked)) {
            Value = Linked;
            return;
        }
    }
}

// ---- the in-place combo's items ---------------------------------------------------------------------
TStrings* TExtStringGrid::ComboStrings() { return EditCombo->Items(); }
