// Unit ExtGrid: grouping the rows by the values of a column, sub-groups inside the groups, and the
// per-group figures written into the summary or header rows.
#include "grid/base/ExtUtil.h"
#include "grid/control/CellGraphic.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridFooter.h"
#include "grid/control/SearchPanel.h"
#include "grid/control/SortSettings.h"
#include "platform/rtl/StateScope.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// A value no cell holds: the first row always starts a group.
const QString NoGroupValue = QString(QChar(0x00FF)) + QChar(0x00FE);

// Holds the grid's painting for its lifetime.
class TUpdateLock {
public:
    explicit TUpdateLock(TExtStringGrid* G) : FGrid(G) { FGrid->BeginUpdate(); }
    ~TUpdateLock() { FGrid->EndUpdate(); }
    TUpdateLock(const TUpdateLock&) = delete;
    TUpdateLock& operator=(const TUpdateLock&) = delete;

private:
    TExtStringGrid* FGrid;
};

// The search bar is nudged by a pixel and back around a grouping so that it repaints.
class TSearchBarNudge {
public:
    explicit TSearchBarNudge(TSearchPanel* P) : FPanel(P) {
        if (FPanel) FPanel->SetWidth(FPanel->Width() + 1);
    }
    ~TSearchBarNudge() {
        if (FPanel) FPanel->SetWidth(FPanel->Width() - 1);
    }
    TSearchBarNudge(const TSearchBarNudge&) = delete;
    TSearchBarNudge& operator=(const TSearchBarNudge&) = delete;

private:
    TSearchPanel* FPanel;
};

// The column the header text of a grouping by GroupCol goes into, counted as the columns stand
// once GroupCol is out (GroupCol -1: as they stand now): the first shown column after column 0,
// so the text is always in view. -1 when there is none.
int GroupHeaderColumn(TExtStringGrid* G, int GroupCol) {
    for (int c = 1; c < G->TotalColCount(); ++c)
        if (c != GroupCol && !G->IsHiddenColumn(c)) return GroupCol >= 0 && c > GroupCol ? c - 1 : c;
    return -1;
}

} // namespace

// ---- looks of header and summary rows ------------------------------------------------------------------------
void TExtStringGrid::StyleGroupRow(int DisplRow, int FirstCol, bool Header) {
    TGrouping* Gr = Grouping();
    const TColor Color = Header ? Gr->HeaderColor() : Gr->SummaryColor();
    const TColor ColorTo = Header ? Gr->HeaderColorTo() : Gr->SummaryColorTo();
    const TColor TextColor = Header ? Gr->HeaderTextColor() : Gr->SummaryTextColor();
    const bool Merge = Header ? Gr->MergeHeader() : Gr->MergeSummary() && Gr->Summary();
    if (Merge) {
        const int Span = TotalColCount() - FirstCol;
        if (Span > 1) MergeCells(FirstCol, DisplRow, Span, 1);
        if (Color != clNone) SetColors(FirstCol, DisplRow, Color);
        if (ColorTo != clNone) SetColorsTo(FirstCol, DisplRow, ColorTo);
        if (TextColor != clNone) SetFontColors(FirstCol, DisplRow, TextColor);
        return;
    }
    if (Color != clNone) SetRowColor(DisplRow, Color);
    if (ColorTo != clNone) SetRowColorTo(DisplRow, ColorTo);
    if (TextColor != clNone) SetRowFontColor(DisplRow, TextColor);
}

void TExtStringGrid::UnstyleGroupRow(int DisplRow, int FirstCol, bool Header) {
    TGrouping* Gr = Grouping();
    const bool Merge = Header ? Gr->MergeHeader() : Gr->MergeSummary() && Gr->Summary();
    if (Merge && IsMergedCell(FirstCol, DisplRow)) {
        SplitCells(FirstCol, DisplRow);
        return;
    }
    const TColor Color = Header ? Gr->HeaderColor() : Gr->SummaryColor();
    const TColor ColorTo = Header ? Gr->HeaderColorTo() : Gr->SummaryColorTo();
    const TColor TextColor = Header ? Gr->HeaderTextColor() : Gr->SummaryTextColor();
    if (Color != clNone) SetRowColor(DisplRow, clNone);
    if (ColorTo != clNone) SetRowColorTo(DisplRow, clNone);
    if (TextColor != clNone) SetRowFontColor(DisplRow, clNone);
}

// ---- grouping ------------------------------------------------------------------------------------------------
void TExtStringGrid::SetGroupColumn(int Value) {
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

bool TExtStringGrid::CanGroupBy(int ColIndex) {
    // Column 0 carries the node marks and UnGroup could never bring it back; a column that is
    // hidden or missing, or a grouping that leaves no column for the header text, is refused too.
    if (ColIndex < FixedCols() || ColIndex <= 0) return false;
    // The columns as they stand without the grouping in place: its column is back, shown.
    const int Grouped = FGroupColumn > 0 ? FGroupColumn : -1;
    const int Total = TotalColCount() + (Grouped > 0 ? 1 : 0);
    auto Hidden = [&](int c) {
        if (c == Grouped) return false;
        return IsHiddenColumn(Grouped > 0 && c > Grouped ? c - 1 : c);
    };
    if (ColIndex >= Total || Hidden(ColIndex)) return false;
    bool HeaderPlace = false;
    for (int c = 1; c < Total && !HeaderPlace; ++c) HeaderPlace = c != ColIndex && !Hidden(c);
    if (!HeaderPlace) return false;
    // Node rows the application made itself would be taken for group headers by UnGroup.
    return Grouped > 0 || NumNodes() == 0;
}

void TExtStringGrid::Group(int ColIndex) {
    if (!CanGroupBy(ColIndex)) return;
    if (FGroupColumn > 0) UnGroup();
    const int HeaderCol = GroupHeaderColumn(this, ColIndex);
    if (HeaderCol < 0 || NumNodes() > 0) return;
    if (RowCount() - FixedRows() - FixedFooters() <= 0) return;

    TUpdateLock Lock(this);
    const TStateScope<bool> Busy(FGroupingBusy, true);
    TSearchBarNudge Nudge(FSearchFooter->Visible() ? FSearchPanel : nullptr);
    FGroupColumn = ColIndex;
    FGroupColWidth = ColWidths(DisplColIndex(ColIndex));
    FGroupColHeader = FixedRows() > 0 ? Cells(ColIndex, 0) : QString();
    FGroupColFooter = FixedFooters() > 0 ? Cells(ColIndex, RowCount() - 1) : QString();

    if (SortSettings()->AutoSortForGrouping()) {
        SortSettings()->SetColumn(ColIndex);
        QSort();
    }

    // The header text goes where it stands in HeaderCol once the group column is out.
    const int TextCol = HeaderCol >= ColIndex ? HeaderCol + 1 : HeaderCol;
    const bool Summary = Grouping()->Summary();
    const bool SummaryLook = !(Grouping()->MergeSummary() && Summary);
    int Header = -1;
    // Closes the group whose data rows end before End; returns the row after the group.
    auto Close = [&](int End) {
        AddNode(RealRowIndex(Header), End - Header);
        if (!Summary) return End;
        InsertRows(End, 1);
        MarkSummaryRow(RealRowIndex(End));
        if (SummaryLook) StyleGroupRow(End, 1, false);
        return End + 1;
    };
    QString Prev = NoGroupValue;
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        const QString V = Cells(ColIndex, r);
        if (V != Prev) {
            if (Header >= 0) r = Close(r);
            InsertRows(r, 1);
            SetCells(TextCol, r, V);
            if (!Grouping()->MergeHeader()) StyleGroupRow(r, 1, true);
            Header = r;
            Prev = V;
            ++r;
        }
        ++r;
    }
    if (Header >= 0) Close(RowCount() - FixedFooters());

    // Rows hidden by a filter keep their cells in the store: their group value is parked past the
    // last column so the columns after it line up, and UnGroup puts it back.
    const int Total = TotalColCount();
    for (int i = 0; i < FHiddenRows.Count(); ++i) {
        TGridItem* It = FHiddenRows.Items(i);
        const QString T = It->Texts(ColIndex);
        TObject* O = It->Objects(ColIndex);
        for (int c = ColIndex; c < Total - 1; ++c) {
            It->SetTexts(c, It->Texts(c + 1));
            It->SetObjects(c, It->Objects(c + 1));
        }
        It->SetTexts(Total - 1, T);
        It->SetObjects(Total - 1, O);
    }
    RemoveCols(ColIndex, 1);

    if (Grouping()->MergeHeader())
        for (int i = FixedRows(); i < RowCount(); ++i)
            if (IsNode(i)) StyleGroupRow(i, HeaderCol, true);
    if (Grouping()->MergeSummary() && Summary)
        for (int i = FixedRows(); i < RowCount() - FixedFooters(); ++i)
            if (IsSummary(i)) StyleGroupRow(i, 1, false);

    if (CellNode()->ExpandOne())
        for (int i = FixedRows(); i < RowCount(); ++i)
            if (IsNode(i)) {
                ExpandNode(RealRowIndex(i));
                break;
            }
    if ((Col() < FixedCols() || Col() >= ColCount()) && ColCount() > FixedCols()) SetCol(FixedCols());
    if (RowCount() > FixedRows()) SetRow(FixedRows());
}

void TExtStringGrid::UnGroup() {
    if (FGroupColumn <= 0) return;
    TUpdateLock Lock(this);
    const TStateScope<bool> Busy(FGroupingBusy, true);
    const bool ExpandOne = CellNode()->ExpandOne();
    CellNode()->SetExpandOne(false);
    ExpandAll();

    // Sub-groups go first: their header rows are not group headers.
    QSet<int> SubCols;
    for (int i = FixedRows(); i < RowCount(); ++i)
        if (TCellGraphic* CG = NodeRecord(i); CG && GetNodeLevel(i) > 1 && CG->CellValue() > 0)
            SubCols.insert(int(CG->CellValue()));
    for (int SubCol : SubCols) SubUnGroup(SubCol);

    const int HeaderCol = GroupHeaderColumn(this, -1);
    const int GroupCol = FGroupColumn;
    InsertCols(GroupCol, 1);
    if (!IsHiddenColumn(GroupCol)) SetColWidths(DisplColIndex(GroupCol), FGroupColWidth);
    if (FixedRows() > 0) SetCells(GroupCol, 0, FGroupColHeader);
    if (FixedFooters() > 0) SetCells(GroupCol, RowCount() - 1, FGroupColFooter);
    const int Total = TotalColCount();
    for (int i = 0; i < FHiddenRows.Count(); ++i) {
        TGridItem* It = FHiddenRows.Items(i);
        const QString T = It->Texts(Total - 1);
        TObject* O = It->Objects(Total - 1);
        for (int c = Total - 1; c > GroupCol; --c) {
            It->SetTexts(c, It->Texts(c - 1));
            It->SetObjects(c, It->Objects(c - 1));
        }
        It->SetTexts(GroupCol, T);
        It->SetObjects(GroupCol, O);
    }
    // The header text moved with the inserted column.
    const int TextCol = HeaderCol >= GroupCol ? HeaderCol + 1 : HeaderCol;

    // Summary rows are known by their mark, not by the current setting: a setting changed while
    // grouped must neither leave summary rows behind as data nor delete a data row.
    QString Current;
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        if (IsSummary(r)) {
            UnstyleGroupRow(r, 1, false);
            RemoveRows(r, 1);
            continue;
        }
        if (IsNode(r)) {
            Current = Cells(TextCol, r);
            RemoveNode(RealRowIndex(r));
            UnstyleGroupRow(r, HeaderCol, true);
            RemoveRows(r, 1);
            continue;
        }
        SetCells(GroupCol, r, Current);
        ++r;
    }
    FGroupColumn = -1;
    CellNode()->SetExpandOne(ExpandOne);
    Invalidate();
}

// ---- sub-groups ----------------------------------------------------------------------------------------------
void TExtStringGrid::SubGroup(int ColIndex) {
    // The value moves into the column after ColIndex: that column must exist.
    if (ColIndex < FixedCols() || ColIndex <= 0 || ColIndex + 1 >= TotalColCount()) return;
    // Sub-groups live inside the groups, and one level per column: UnGroup and SubUnGroup could
    // take back neither a sub-grouping of an ungrouped grid nor a second one by the same column.
    if (FGroupColumn <= 0) return;
    for (int i = FixedRows(); i < RowCount(); ++i)
        if (TCellGraphic* CG = NodeRecord(i); CG && GetNodeLevel(i) > 1 && int(CG->CellValue()) == ColIndex) return;
    TUpdateLock Lock(this);
    const TStateScope<bool> Busy(FGroupingBusy, true);
    // The grouping's own column and its remembered width and texts stay as they are: UnGroup
    // still has to bring that column back.
    const bool ExpandOne = CellNode()->ExpandOne();
    CellNode()->SetExpandOne(false);
    ExpandAll();

    const int TextCol = ColIndex + 1;
    int RunHeader = -1;
    QString RunValue;
    auto CloseRun = [&](int End) {
        if (RunHeader < 0) return;
        AddNode(RealRowIndex(RunHeader), End - RunHeader);
        if (TCellGraphic* CG = NodeRecord(RunHeader)) CG->SetCellValue(ColIndex);
        RunHeader = -1;
    };
    int LastRunEnd = -1;
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        if (IsNode(r) || IsSummary(r)) {
            if (RunHeader >= 0) LastRunEnd = r;
            CloseRun(r);
            ++r;
            continue;
        }
        const QString V = GetCellEx(ColIndex, r);
        if (RunHeader >= 0 && V == RunValue) {
            SetCells(ColIndex, r, QString());
            ++r;
            continue;
        }
        CloseRun(r);
        InsertChildRow(RealRowIndex(r), 0);
        SetCells(TextCol, r, V);
        StyleGroupRow(r, TextCol, true);
        RunHeader = r;
        RunValue = V;
        SetCells(ColIndex, r + 1, QString());
        r += 2;
        LastRunEnd = -1;
    }
    if (RunHeader >= 0) {
        LastRunEnd = r;
        CloseRun(r);
    }
    if (Grouping()->Summary() && LastRunEnd > FixedRows()) {
        InsertChildRow(RealRowIndex(LastRunEnd - 1), 1);
        MarkSummaryRow(RealRowIndex(LastRunEnd));
        StyleGroupRow(LastRunEnd, 1, false);
    }
    CellNode()->SetExpandOne(ExpandOne);
    if (RowCount() > FixedRows()) SetRow(FixedRows());
}

void TExtStringGrid::SubUnGroup(int ColIndex) {
    if (ColIndex <= 0 || ColIndex + 1 >= TotalColCount()) return;
    TUpdateLock Lock(this);
    const bool ExpandOne = CellNode()->ExpandOne();
    CellNode()->SetExpandOne(false);
    ExpandAll();
    const int TextCol = ColIndex + 1;
    QString Current;
    int Remaining = 0; // rows of the current sub-group still to receive its value
    int r = FixedRows();
    while (r < RowCount() - FixedFooters()) {
        TCellGraphic* CG = NodeRecord(r);
        if (CG && GetNodeLevel(r) > 1 && int(CG->CellValue()) == ColIndex) {
            Current = Cells(TextCol, r);
            Remaining = GetNodeSpan(r) - 1;
            const int Real = RealRowIndex(r);
            RemoveNode(Real);
            UnstyleGroupRow(r, Grouping()->MergeHeader() ? TextCol : 1, true);
            SetCells(TextCol, r, QString());
            RemoveChildRow(Real);
            continue;
        }
        if (CG) {
            Remaining = 0;
        } else if (IsSummary(r) && GetParentRow(r) >= 0 && GetParentRow(r) != r && Remaining <= 0) {
            // The summary row the sub-grouping put after its last run.
            UnstyleGroupRow(r, 1, false);
            RemoveChildRow(RealRowIndex(r));
            continue;
        } else if (Remaining > 0) {
            SetCells(ColIndex, r, Current);
            --Remaining;
        }
        ++r;
    }
    CellNode()->SetExpandOne(ExpandOne);
    Invalidate();
}

// ---- group figures -------------------------------------------------------------------------------------------
void TExtStringGrid::GroupCalc(int ColIndex, int Method) {
    if (Method < 1 || Method > 8) return;
    // The numbers of the data rows of a group: node and summary rows, cells covered by a merge
    // and texts that are no number stay out of every figure taken over values.
    auto Values = [this, ColIndex](int From, int To) {
        std::vector<double> V;
        for (int r = From; r <= To; ++r) {
            const TCellType K = GetCellType(0, r);
            if (K == ctNode || K == ctSummary || !IsBaseCell(ColIndex, r)) continue;
            // An empty text and a lone "-" read as 0, as everywhere else in the grid.
            const QString T = GetStrippedCell(ColIndex, r).trimmed();
            const QString N = NormalizeNumberText(T);
            double D = 0;
            if (T.isEmpty() || T == QLatin1String("-"))
                V.push_back(0);
            else if (!N.isEmpty() && TryStrToFloat(N, D))
                V.push_back(D);
        }
        return V;
    };
    int r = FixedRows();
    while (r < RowCount()) {
        if (!IsNode(r) || GetNodeState(r)) {
            ++r;
            continue;
        }
        // The span counts real rows; a collapsed sub-group inside keeps some of them off display,
        // so the group ends at the first row on display past its span.
        const int Span = std::max(GetNodeSpan(r), 1);
        const int NodeReal = RealRowIndex(r);
        int End = r + 1;
        while (End < RowCount() && RealRowIndex(End) < NodeReal + Span) ++End;
        const int From = r + 1;
        const int To = End - 1;
        // A summary row only where the grouping made one: a data row is never written over.
        const int Target = Grouping()->Summary() && End < RowCount() && IsSummary(End) ? End : r;
        const std::vector<double> V = Values(From, To);
        double Sum = 0;
        for (double D : V) Sum += D;
        const double Avg = V.empty() ? 0 : Sum / double(V.size());
        switch (Method) {
            case 1: SetFloats(ColIndex, Target, Sum); break;
            case 2: SetFloats(ColIndex, Target, Avg); break;
            case 3: SetFloats(ColIndex, Target, V.empty() ? 0 : *std::min_element(V.begin(), V.end())); break;
            case 4: SetFloats(ColIndex, Target, V.empty() ? 0 : *std::max_element(V.begin(), V.end())); break;
            case 5: SetInts(ColIndex, Target, Span - 1); break;
            case 6: {
                double Res = 0;
                if (OnGroupCalc) OnGroupCalc(this, ColIndex, From, To, Res);
                SetFloats(ColIndex, Target, Res);
                break;
            }
            case 7: {
                // Sub-group headers and summaries inside the group are no values of it.
                QSet<QString> Seen;
                for (int i = From; i <= To; ++i) {
                    const TCellType K = GetCellType(0, i);
                    if (K == ctNode || K == ctSummary || !IsBaseCell(ColIndex, i)) continue;
                    Seen.insert(GetCellEx(ColIndex, i).toCaseFolded());
                }
                SetFloats(ColIndex, Target, double(Seen.size()));
                break;
            }
            case 8: {
                double Sq = 0;
                for (double D : V) Sq += (D - Avg) * (D - Avg);
                SetFloats(ColIndex, Target, V.empty() ? 0 : std::sqrt(Sq / double(V.size())));
                break;
            }
            default: break;
        }
        r = End;
    }
}

void TExtStringGrid::GroupFooterCalc(int ColIndex, TColumnCalcType Calc) {
    if (FloatingFooter()->Visible()) FloatingFooter()->SetColumnCalc(ColIndex, Calc);
}

void TExtStringGrid::GroupSum(int ColIndex) {
    GroupCalc(ColIndex, 1);
    GroupFooterCalc(ColIndex, acSUM);
}
void TExtStringGrid::GroupAvg(int ColIndex) {
    GroupCalc(ColIndex, 2);
    GroupFooterCalc(ColIndex, acAVG);
}
void TExtStringGrid::GroupMin(int ColIndex) {
    GroupCalc(ColIndex, 3);
    GroupFooterCalc(ColIndex, acMIN);
}
void TExtStringGrid::GroupMax(int ColIndex) {
    GroupCalc(ColIndex, 4);
    GroupFooterCalc(ColIndex, acMAX);
}
void TExtStringGrid::GroupCount(int ColIndex) {
    GroupCalc(ColIndex, 5);
    GroupFooterCalc(ColIndex, acCOUNT);
}
void TExtStringGrid::GroupCustomCalc(int ColIndex) { GroupCalc(ColIndex, 6); }
void TExtStringGrid::GroupDistinct(int ColIndex) { GroupCalc(ColIndex, 7); }
void TExtStringGrid::GroupStdDev(int ColIndex) { GroupCalc(ColIndex, 8); }
