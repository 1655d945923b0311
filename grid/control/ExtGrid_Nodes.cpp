// Node rows: a row whose column-0 cell holds a node object heads the group of rows below it;
// collapsing the node keeps the group's rows in the hidden-row store, expanding it brings them
// back. Node levels live in the column-0 cell records and drive the painter's indent and tree.
// Also the expandable rows, whose cell button switches the row between two heights.
#include "grid/control/ExtGrid.h"

#include "platform/rtl/StateScope.h"

#include <algorithm>
#include <vector>

namespace {

// Suspends painting for its lifetime when asked to.
class TUpdateScope {
public:
    TUpdateScope(TExtStringGrid* G, bool On) : FGrid(On ? G : nullptr) {
        if (FGrid) FGrid->BeginUpdate();
    }
    ~TUpdateScope() {
        if (FGrid) FGrid->EndUpdate();
    }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TExtStringGrid* FGrid;
};

// The node level of a real row, hidden or not; 0 without a record.
int RealRowNodeLevel(TExtStringGrid* G, int RealRow) {
    TCellProperties* P = G->GetCellPropertiesByRealRow(0, RealRow);
    return P ? P->NodeLevel() : 0;
}

} // namespace

// ---- records -----------------------------------------------------------------------------------------------
TCellGraphic* TExtStringGrid::NodeRecord(int ARow) {
    if (ARow < 0 || ARow >= RowCount()) return nullptr;
    auto* CG = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(0, ARow));
    return CG && CG->CellType() == ctNode ? CG : nullptr;
}

int TExtStringGrid::NodeLevel(int DisplRow) {
    if (DisplRow < 0 || DisplRow >= RowCount() || !HasCellProperties(0, DisplRow)) return 0;
    return GetCellProperties(0, DisplRow)->NodeLevel();
}

void TExtStringGrid::ShiftNodeLevels(int ARow, int Span, int Delta) {
    // Only rows that exist take part, whatever span a caller stored.
    const int End = std::min(RowCount(), ARow + std::max(Span, 0));
    for (int r = std::max(ARow, 0); r < End; ++r) {
        TCellProperties* P = GetCellProperties(0, r);
        P->SetNodeLevel(std::max(0, P->NodeLevel() + Delta));
    }
}

int TExtStringGrid::NodeGroupEnd(int ARow) {
    TCellGraphic* CG = NodeRecord(ARow);
    if (!CG) return ARow + 1;
    const int Span = CG->CellIndex();
    int i = ARow + 1;
    if (Span <= 0) {
        while (i < RowCount() && !NodeRecord(i)) ++i;
        return i;
    }
    // A collapsed node inside the group stands for its hidden rows as well: they count against
    // the group's span, so the walk never runs past the group's last row.
    int Remaining = Span - 1;
    while (i < RowCount() && Remaining > 0) {
        int Covers = 1;
        if (TCellGraphic* Inner = NodeRecord(i); Inner && Inner->CellBoolean()) {
            const int NextReal = i + 1 < RowCount() ? RealRowIndex(i + 1) : AllRowCount();
            Covers = Inner->CellIndex() > 0 ? Inner->CellIndex() : NextReal - RealRowIndex(i);
        }
        Remaining -= Covers;
        ++i;
    }
    return i;
}

// ---- adding and removing nodes --------------------------------------------------------------------------
void TExtStringGrid::AddNode(int RealRow, int Span) {
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    // A node added again starts afresh: its old levels must not stay raised.
    if (NodeRecord(DisplRowIndex(RealRow))) RemoveNode(RealRow);
    const int r = DisplRowIndex(RealRow);
    if (r < 0 || r >= RowCount()) return;
    Span = std::min(Span, AllRowCount() - RealRow);
    TCellGraphic* CG = NewCellGraphic(0, r);
    CG->SetCellType(ctNode);
    CG->SetCellBoolean(false);
    CG->SetCellIndex(Span);
    CG->SetCellErrFrom(0);
    CG->SetCellAngle(r);
    CG->SetCellVar(-1);
    CG->SetCellHAlign(haBeforeText);
    CG->SetCellVAlign(vaCenter);
    ShiftNodeLevels(r, Span, +1);
    if (FNumNodes == 0) Invalidate();
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1) SetCol(1);
    Invalidate();
}

void TExtStringGrid::RemoveNode(int RealRow) {
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    DoExpandNode(RealRow);
    const int r = DisplRowIndex(RealRow);
    TCellGraphic* CG = NodeRecord(r);
    if (!CG) return;
    ShiftNodeLevels(r, CG->CellIndex(), -1);
    RemoveCellGraphic(0, r);
    FNumNodes = std::max(0, FNumNodes - 1);
    Invalidate();
}

void TExtStringGrid::RemoveAllNodes() {
    for (int r = 0; r < RowCount(); ++r) {
        if (!NodeRecord(r)) continue;
        DoExpandNode(RealRowIndex(r));
        ShiftNodeLevels(r, NodeRecord(r)->CellIndex(), -1);
        RemoveCellGraphic(0, r);
        FNumNodes = std::max(0, FNumNodes - 1);
    }
    Invalidate();
}

void TExtStringGrid::MarkSummaryRow(int RealRow) {
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    NewCellGraphic(0, DisplRowIndex(RealRow))->SetCellType(ctSummary);
}

// ---- queries ---------------------------------------------------------------------------------------------
bool TExtStringGrid::IsNode(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctNode; }

bool TExtStringGrid::IsSummary(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctSummary; }

bool TExtStringGrid::GetNodeState(int ARow) {
    TCellGraphic* CG = NodeRecord(ARow);
    return CG && CG->CellBoolean();
}

void TExtStringGrid::SetNodeState(int ARow, bool Value) {
    TCellGraphic* CG = NodeRecord(ARow);
    if (!CG || CG->CellBoolean() == Value) return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TExtStringGrid::GetNodeLevel(int ARow) { return NodeRecord(ARow) ? NodeLevel(ARow) : -1; }

int TExtStringGrid::GetNodeSpan(int ARow) {
    TCellGraphic* CG = NodeRecord(ARow);
    return CG ? CG->CellIndex() : -1;
}

void TExtStringGrid::SetNodeSpan(int ARow, int Span) {
    if (TCellGraphic* CG = NodeRecord(ARow)) CG->SetCellIndex(std::min(Span, AllRowCount() - RealRowIndex(ARow)));
}

void TExtStringGrid::UpdateNodeSpan(int ARow, int Delta) {
    if (TCellGraphic* CG = NodeRecord(ARow)) SetNodeSpan(ARow, CG->CellIndex() + Delta);
}

void TExtStringGrid::UpdateSubNodeCount(int ARow, int Delta) {
    if (TCellGraphic* CG = NodeRecord(ARow)) CG->SetCellErrFrom(CG->CellErrFrom() + Delta);
}

int TExtStringGrid::GetSubNodeCount(int ARow) {
    TCellGraphic* CG = NodeRecord(ARow);
    return CG ? CG->CellErrFrom() : 0;
}

int TExtStringGrid::GetNodeIndent(int ARow) {
    if (ARow < 0 || !HasNodes() || ARow >= RowCount() || !HasCellProperties(0, ARow)) return 0;
    return GetCellProperties(0, ARow)->NodeLevel() * CellNode()->NodeIndent();
}

int TExtStringGrid::GetParentRow(int ARow) {
    if (!HasNodes() || ARow < 0 || ARow >= RowCount()) return -1;
    int Limit = 65535;
    int Fallback = -1;
    if (NodeRecord(ARow)) {
        Limit = GetNodeLevel(ARow);
        Fallback = ARow;
    }
    // The spans count collapsed groups' hidden rows: the walk takes them off as it passes such a
    // node, so the spans above compare with display rows.
    int Sum = 0;
    for (int r = ARow; r >= FixedRows(); --r) {
        TCellGraphic* CG = NodeRecord(r);
        if (!CG || GetNodeLevel(r) >= Limit) continue;
        const int Span = CG->CellIndex();
        if (CG->CellBoolean()) Sum += Span - 1;
        if (ARow < r + Span - Sum) return r;
    }
    return Fallback;
}

int TExtStringGrid::GetNodeSpanType(int ARow) {
    if (NodeRecord(ARow)) return 0;
    if (ARow >= RowCount() - FixedFooters() - 1) return 1;
    if (ARow >= 0 && HasCellProperties(0, ARow + 1) && NodeLevel(ARow + 1) >= NodeLevel(ARow)) return 2;
    return 1;
}

void TExtStringGrid::AppendGroupCount(int RealCol, int DisplRow, QString& Value) {
    if (RealCol != 1 || !Grouping()->ShowGroupCount()) return;
    TCellGraphic* CG = NodeRecord(DisplRow);
    if (!CG) return;
    // The rows that came into the group by themselves, not the summary rows added to it.
    const int Count = CG->CellIndex() - CG->CellErrFrom() - 1;
    const QString Format = Grouping()->GroupCountFormat();
    if (Format.isEmpty())
        Value += QStringLiteral(" (") + QString::number(Count) + QLatin1Char(')');
    else
        Value += ::Format(Format, {TVarRec(Count)});
}

// ---- expanding and collapsing ------------------------------------------------------------------------------
void TExtStringGrid::DoExpandNode(int RealRow) {
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    const int r = DisplRowIndex(RealRow);
    TCellGraphic* CG = NodeRecord(r);
    if (!CG || !CG->CellBoolean()) return;
    CG->SetCellBoolean(false);
    // The real rows of a node's group past the node row: to its span's end, or for a span of 0 or
    // less to the next node row on display.
    auto GroupRealEnd = [this](int Displ, TCellGraphic* N) {
        const int Real = RealRowIndex(Displ);
        if (N->CellIndex() > 0) {
            // The span counts the rows on display when the node was added: a row the application
            // had hidden among them took no place in it, and the group's last rows lie past the
            // span by as many. They carry the node's level, which a row below the group lacks.
            int End = std::min(Real + N->CellIndex(), AllRowCount());
            const int Level = NodeLevel(Displ);
            while (End < AllRowCount() && IsHiddenRow(End) && RealRowNodeLevel(this, End) >= Level) ++End;
            return End;
        }
        int e = Displ + 1;
        while (e < RowCount() && !NodeRecord(e)) ++e;
        return e < RowCount() ? RealRowIndex(e) : AllRowCount();
    };
    auto FirstHiddenIn = [this](int From, int To) {
        while (From < To && !IsHiddenRow(From)) ++From;
        return From;
    };
    // The group's own rows come back; a row the application hid below them stays hidden.
    const int EndReal = GroupRealEnd(r, CG);
    const int FirstHidden = FirstHiddenIn(RealRow + 1, EndReal);
    const int OldTop = TopRow();
    const int OldRow = Row();
    const bool Disjunct = MouseActions()->DisjunctRowSelect();
    MouseActions()->SetDisjunctRowSelect(false);
    const bool RowSel = Options().Contains(goRowSelect);
    if (RowSel) SetOptions(Options() >> goRowSelect);
    {
        TUpdateScope Lock(this, FControlList->Count() == 0);
        if (FirstHidden < EndReal) UnHideRows(FirstHidden, EndReal - 1);
        // A nested node that was open when this one closed shows its rows again, also those that
        // lie past this group's end.
        for (int i = r + 1; i < NodeGroupEnd(r); ++i) {
            TCellGraphic* Inner = NodeRecord(i);
            if (!Inner || Inner->CellBoolean()) continue;
            const int InnerReal = RealRowIndex(i);
            const int InnerEnd = GroupRealEnd(i, Inner);
            if (FirstHiddenIn(InnerReal + 1, InnerEnd) == InnerEnd) continue;
            Inner->SetCellBoolean(true);
            DoExpandNode(InnerReal);
        }
    }
    if (RowSel) {
        SetOptions(Options() << goRowSelect);
        if (OldRow < RowCount()) SetRow(OldRow);
        if (OldTop < RowCount()) SetTopRow(OldTop);
    }
    MouseActions()->SetDisjunctRowSelect(Disjunct);
    CalcFooter(-1);
    Invalidate();
}

void TExtStringGrid::ExpandNode(int RealRow) {
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    if (CellNode()->ExpandOne()) {
        // Every other expanded node closes first; the groups that hold this node stay open, or
        // the node would vanish into its parent's hidden rows.
        for (int i = FixedRows(); i < RowCount(); ++i) {
            TCellGraphic* CG = NodeRecord(i);
            if (!CG || CG->CellBoolean()) continue;
            const int Target = DisplRowIndex(RealRow);
            if (i == Target || (i < Target && Target < NodeGroupEnd(i))) continue;
            ContractNode(RealRowIndex(i));
        }
    }
    DoExpandNode(RealRow);
}

void TExtStringGrid::ContractNode(int RealRow) {
    HideInplaceEdit();
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    const TStateScope<bool> Forced(FForceSel, true);
    const int r = DisplRowIndex(RealRow);
    TCellGraphic* CG = NodeRecord(r);
    if (!CG || CG->CellBoolean()) return;
    const int End = NodeGroupEnd(r);
    CG->SetCellBoolean(true);
    // A nested node that was collapsed is marked open: its rows go into the store with the
    // group's, and expanding this node brings them all back.
    for (int i = r + 1; i < End; ++i)
        if (TCellGraphic* Inner = NodeRecord(i)) Inner->SetCellBoolean(false);
    if (End > r + 1) HideRows(RealRowIndex(r + 1), RealRowIndex(End - 1));
    CalcFooter(-1);
    Invalidate();
}

void TExtStringGrid::ExpandAll() {
    {
        TUpdateScope Lock(this, true);
        // Every node opens, whatever ExpandOne says: each mark then matches its rows.
        for (int i = FixedRows(); i < RowCount(); ++i)
            if (GetNodeState(i)) DoExpandNode(RealRowIndex(i));
    }
    CalcFooter(-1);
}

void TExtStringGrid::ContractAll() {
    {
        TUpdateScope Lock(this, true);
        ExpandAll();
        TIntList Listed(0, 0);
        int i = FixedRows();
        while (i < RowCount()) {
            TCellGraphic* CG = NodeRecord(i);
            if (!CG) {
                ++i;
                continue;
            }
            const int End = NodeGroupEnd(i);
            CG->SetCellBoolean(true);
            for (int k = i + 1; k < End; ++k) Listed.Add(k);
            i = std::max(End, i + 1);
        }
        HideRowList(&Listed);
    }
    CellControlsUpdate(false);
    CalcFooter(-1);
    Invalidate();
}

// ---- rows inside groups ---------------------------------------------------------------------------------
void TExtStringGrid::InsertChildRow(int RealRow, int InsertAt) {
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    // The parent and the ancestors above it open; their groups take the new row. The spans grow
    // once the row exists: a span never reaches past the grid's rows, so a group at the grid's
    // end could not grow before it.
    std::vector<int> Growing; // real rows of the nodes
    int p = GetParentRow(DisplRowIndex(RealRow));
    int Level = 1;
    if (p >= 0) {
        const int PReal = RealRowIndex(p);
        ExpandNode(PReal);
        Growing.push_back(PReal);
        p = DisplRowIndex(PReal);
        Level = GetNodeLevel(p);
        int Cur = p, CurLevel = Level;
        while (CurLevel > 1 && Cur >= FixedRows()) {
            const int Up = GetParentRow(Cur);
            if (Up < 0 || Up == Cur || GetNodeLevel(Up) >= CurLevel) break;
            const int UpReal = RealRowIndex(Up);
            ExpandNode(UpReal);
            Growing.push_back(UpReal);
            Cur = DisplRowIndex(UpReal);
            CurLevel = GetNodeLevel(Cur);
        }
    }
    const int r = DisplRowIndex(RealRow);
    const bool MoveContent = NodeRecord(r) && InsertAt == 0;
    const int At = MoveContent ? r + 1 : std::clamp(r + InsertAt, 0, RowCount());
    InsertRows(At, 1, true);
    if (MoveContent) {
        for (int c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, r + 1, GetGridCell(c, r));
            SetGridCell(c, r, QString());
            if (c == 0) continue; // the node object stays with its row
            if (TObject* O = GetGraphicObjectEx(c, r)) {
                SetGraphicObjectEx(c, r, nullptr);
                SetGraphicObjectEx(c, r + 1, O);
            }
        }
    }
    const int NewReal = RealRowIndex(At);
    for (int NodeReal : Growing) {
        const int Node = DisplRowIndex(NodeReal >= NewReal ? NodeReal + 1 : NodeReal);
        UpdateNodeSpan(Node, 1);
        UpdateSubNodeCount(Node, 1);
    }
    if (p >= 0) GetCellProperties(0, At)->SetNodeLevel(Level);
    Invalidate();
}

void TExtStringGrid::RemoveChildRow(int RealRow) {
    if (RealRow < 0 || RealRow >= AllRowCount() || IsHiddenRow(RealRow)) return;
    const int p = GetParentRow(DisplRowIndex(RealRow));
    if (p >= 0 && p != DisplRowIndex(RealRow)) {
        const int Level = GetNodeLevel(p);
        int Cur = p;
        auto Shrink = [&](int Node) {
            if (GetNodeSpan(Node) > 1) {
                UpdateNodeSpan(Node, -1);
                UpdateSubNodeCount(Node, -1);
            }
            const int NodeReal = RealRowIndex(Node);
            ExpandNode(NodeReal);
            return DisplRowIndex(NodeReal);
        };
        Cur = Shrink(Cur);
        while (GetNodeLevel(Cur) > 1) {
            const int Up = GetParentRow(Cur);
            if (Up < 0 || Up == Cur || GetNodeLevel(Up) >= Level) break;
            Cur = Shrink(Up);
        }
    }
    const int r = DisplRowIndex(RealRow);
    if (NodeRecord(r)) FNumNodes = std::max(0, FNumNodes - 1);
    DoRemoveRows(r, 1);
    FMaxRowCount = std::max(0, FMaxRowCount - 1);
}

void TExtStringGrid::InsertNormalRow(int RealRow) {
    // The row store moves the hidden rows below the new row by itself.
    InsertRows(DisplRowIndex(std::max(RealRow, 0)), 1, true);
}

void TExtStringGrid::RemoveNormalRow(int ARow) {
    RemoveRows(ARow, 1);
    FMaxRowCount = std::max(0, FMaxRowCount - 1);
}

// ---- expandable rows --------------------------------------------------------------------------------------
void TExtStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight) {
    const int NormalHeight = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight();
    TCellGraphic* CG = NewCellGraphic(ACol, ARow);
    CG->SetCellType(ctExpand);
    CG->SetCellAngle(ExpandedHeight);
    CG->SetCellIndex(NormalHeight);
    CG->SetCellVar(false);
    Invalidate();
}

void TExtStringGrid::RemoveExpand(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctExpand); }

TRect TExtStringGrid::ExpandButtonRect(int RealCol, int DisplRow) {
    if (!HasExpand(RealCol, DisplRow)) return TRect{0, 0, 0, 0};
    const TPoint B = BaseCell(RealCol, DisplRow);
    const TRect R = CellRect(DisplColIndex(B.X), B.Y);
    // The painter's 11 x 11 square in the cell's top-right corner.
    return TRect{R.Right - 13, R.Top + 2, R.Right - 2, R.Top + 13};
}

bool TExtStringGrid::HasExpand(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctExpand}); }

// Only an expandable-row object keeps the heights and the flag: the same fields of other kinds
// hold their own values.

bool TExtStringGrid::ToggleExpand(int ACol, int ARow) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctExpand);
    if (!CG) return false;
    const bool Expanded = !CG->CellVar().toBool();
    CG->SetCellVar(Expanded);
    return Expanded;
}

bool TExtStringGrid::GetExpandState(int ACol, int ARow) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctExpand);
    return CG && CG->CellVar().toBool();
}

int TExtStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded) {
    TCellGraphic* CG = BaseCellGraphicOf(ACol, ARow, ctExpand);
    if (!CG) return DefaultRowHeight();
    return Expanded ? CG->CellAngle() : CG->CellIndex();
}
