// Unit ExtGrid: finding text in the cells, replacing it, and the search footer's handlers.
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridAuxEditors.h"
#include "grid/control/GridFooter.h"
#include "grid/control/SearchPanel.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

// The progress states reported through ExportNotification, in their stored order.
enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };

// A search text of two double quotes stands for an empty cell.
const QString EmptyCellText = QStringLiteral("\"\"");

// The walk over a rectangle of cells in one direction, one cell per Next(); no wrap-around.
struct TFindWalk {
    int Col1, Row1, Col2, Row2;
    bool LeftRight, Backward;
    int Outer = 0, Inner = 0;

    int OuterFirst() const { return LeftRight ? (Backward ? Row2 : Row1) : (Backward ? Col2 : Col1); }
    int InnerFirst() const { return LeftRight ? (Backward ? Col2 : Col1) : (Backward ? Row2 : Row1); }
    int OuterLo() const { return LeftRight ? Row1 : Col1; }
    int OuterHi() const { return LeftRight ? Row2 : Col2; }
    int InnerLo() const { return LeftRight ? Col1 : Row1; }
    int InnerHi() const { return LeftRight ? Col2 : Row2; }
    int Step() const { return Backward ? -1 : 1; }

    void StartAt(int ACol, int ARow, bool StepPast) {
        Outer = LeftRight ? ARow : ACol;
        Inner = LeftRight ? ACol : ARow;
        if (StepPast) Inner += Step();
    }
    void StartAtBeginning() {
        Outer = OuterFirst();
        Inner = InnerFirst();
    }
    // Brings the position back into the rectangle; false when the walk is over.
    bool Normalise() {
        const bool InnerPast = Backward ? Inner < InnerLo() : Inner > InnerHi();
        const bool InnerBefore = Backward ? Inner > InnerHi() : Inner < InnerLo();
        if (InnerPast) {
            Inner = InnerFirst();
            Outer += Step();
        } else if (InnerBefore) {
            Inner = InnerFirst();
        }
        const bool OuterBefore = Backward ? Outer > OuterHi() : Outer < OuterLo();
        if (OuterBefore) {
            Outer = OuterFirst();
            Inner = InnerFirst();
        }
        return Outer >= OuterLo() && Outer <= OuterHi() && Inner >= InnerLo() && Inner <= InnerHi();
    }
    int Col() const { return LeftRight ? Inner : Outer; }
    int Row() const { return LeftRight ? Outer : Inner; }
};

QString CaseFor(const QString& S, TFindParams P) { return P.Contains(fnMatchCase) ? S : S.toUpper(); }

} // namespace

// ---- finding -------------------------------------------------------------------------------------------
bool TExtStringGrid::MatchFindCell(int ACol, int ARow, TFindParams Params, bool Wide) {
    // A preset row or column, or a selection, may point outside the grid: nothing there matches.
    if (ACol < 0 || ARow < 0) return false;
    const bool HiddenCols = Params.Contains(fnIncludeHiddenColumns);
    const int RealCol = HiddenCols ? ACol : RealColIndex(ACol);
    if (RealCol < 0 || RealCol >= TotalColCount()) return false;
    QString Text;
    if (Params.Contains(fnIncludeHiddenRows)) {
        if (ARow >= TotalRowCount()) return false;
        Text = GetCellsEx(RealCol, ARow);
    } else if (ARow < RowCount()) {
        Text = Wide ? GetWideCells(RealCol, ARow) : GetCellEx(RealCol, ARow);
    } else {
        return false;
    }
    if (Params.Contains(fnIgnoreHTMLTags)) Text = StripHTMLTags(Text);
    Text = CaseFor(Text, Params);
    const QString& Needle = Wide ? FSearchCacheWide : FSearchCache;
    if (Needle == EmptyCellText) return Text.isEmpty();
    if (Params.Contains(fnMatchRegular)) return MatchCondition(Needle, Text, Params.Contains(fnMatchCase));
    const qsizetype p = Text.indexOf(Needle);
    bool Match = Params.Contains(fnMatchStart) ? p == 0 : p >= 0;
    if (Match && Params.Contains(fnMatchFull)) Match = Text == Needle;
    return Match;
}

TPoint TExtStringGrid::FindCore(TPoint StartCell, const QString& S, TFindParams Params, bool Wide) {
    TPoint Result{-1, -1};
    FFindParams = Params;
    FFindBusy = true;
    FSearchCache = CaseFor(S, Params);
    FSearchCacheWide = FSearchCache;

    if (ColCount() <= FixedCols() || TotalRowCount() <= FixedRows()) {
        FFindBusy = false;
        return Result;
    }
    TFindWalk W;
    W.LeftRight = Params.Contains(fnDirectionLeftRight);
    W.Backward = Params.Contains(fnBackward);
    if (Params.Contains(fnIncludeFixed)) {
        W.Col1 = 0;
        W.Col2 = ColCount() - 1;
        W.Row1 = 0;
        W.Row2 = RowCount() - 1;
    } else {
        W.Col1 = FixedCols();
        W.Col2 = ColCount() - FixedRightCols() - 1;
        W.Row1 = FixedRows();
        W.Row2 = RowCount() - FixedFooters() - 1;
    }
    if (Params.Contains(fnSelectedCells)) {
        const TGridRect Sel = Selection();
        W.Col1 = Sel.Left;
        W.Col2 = Sel.Right;
        W.Row1 = Sel.Top;
        W.Row2 = Sel.Bottom;
    }
    const bool HiddenCols = Params.Contains(fnIncludeHiddenColumns);
    const bool HiddenRows = Params.Contains(fnIncludeHiddenRows);
    if (HiddenCols) W.Col2 += NumHiddenColumns();
    if (HiddenRows) W.Row2 += NumHiddenRows();
    // The cursor's row and column in the space the walk counts in.
    const int CurRow = HiddenRows ? RealRowIndex(Row()) : Row();
    const int CurCol = HiddenCols ? RealColIndex(Col()) : Col();
    if (Params.Contains(fnFindInPresetRow))
        W.Row1 = W.Row2 = FindRow;
    else if (Params.Contains(fnFindInCurrentRow))
        W.Row1 = W.Row2 = CurRow;
    if (Params.Contains(fnFindInPresetCol))
        W.Col1 = W.Col2 = FindCol;
    else if (Params.Contains(fnFindInCurrentCol))
        W.Col1 = W.Col2 = CurCol;

    if (StartCell.X == -1 && StartCell.Y == -1)
        W.StartAtBeginning();
    else
        W.StartAt(StartCell.X, StartCell.Y, true);

    bool Found = false;
    while (W.Normalise()) {
        const int c = W.Col(), r = W.Row();
        ExportNotification(esExportNewRow, r);
        // Columns that sorting leaves alone are left alone by the search too, in either direction.
        const int RealCol = HiddenCols ? c : RealColIndex(c);
        if (!IsIgnoredColumn(RealCol) && MatchFindCell(c, r, Params, Wide)) {
            Result = {c, r};
            Found = true;
            break;
        }
        W.Inner += W.Step();
    }
    if (!Found) {
        FFindBusy = false;
        return Result;
    }
    FSearchCell = Result;
    if (Params.Contains(fnAutoGoto)) {
        int DisplRow = Result.Y;
        if (HiddenRows) {
            // A row inside a collapsed group comes into view with its group; a row hidden by
            // other means has no place on display, and the cursor stays where it is.
            for (int Guard = 0; IsHiddenRow(Result.Y) && HasNodes() && Guard < RowCount(); ++Guard) {
                int Holder = -1;
                for (int i = FixedRows(); i < RowCount(); ++i) {
                    if (!GetNodeState(i)) continue;
                    const int NodeReal = RealRowIndex(i);
                    const int End = NodeReal + std::max(GetNodeSpan(i), 1);
                    if (Result.Y > NodeReal && Result.Y < End) Holder = NodeReal;
                }
                if (Holder < 0) break;
                ExpandNode(Holder);
            }
            DisplRow = IsHiddenRow(Result.Y) ? -1 : DisplRowIndex(Result.Y);
        }
        int DisplCol = Result.X;
        if (HiddenCols) DisplCol = IsHiddenColumn(Result.X) ? -1 : DisplColIndex(Result.X);
        // The cursor never stands on a fixed cell.
        if (DisplRow >= FixedRows() && DisplRow < RowCount() - FixedFooters()) {
            if (MouseActions()->DisjunctRowSelect()) {
                ClearRowSelect();
                SetRowSelect(DisplRow, true);
                SetRow(DisplRow);
            } else {
                SetRow(DisplRow);
                if (DisplCol >= FixedCols() && DisplCol < ColCount() - FixedRightCols()) SetCol(DisplCol);
            }
        }
    }
    return Result;
}

TPoint TExtStringGrid::Find(TPoint StartCell, const QString& S, TFindParams Params) {
    ExportNotification(esExportStart, -1);
    const TPoint Result = FindCore(StartCell, S, Params, false);
    ExportNotification(Result.X == -1 ? esExportDone : esExportFail, -1);
    if (Params.Contains(fnAutoGoto)) {
        const int a = FloatingFooter()->Visible() ? 2 : 0;
        const int Visible = VisibleRowCount();
        if (Row() > TopRow() + Visible - a - 2 && RowCount() > Visible + FixedRows() + a)
            SetTopRow(std::clamp(TopRow() + a + 1, FixedRows(), std::max(FixedRows(), RowCount() - Visible)));
    }
    return Result;
}

TPoint TExtStringGrid::FindWide(TPoint StartCell, const QString& S, TFindParams Params) {
    return FindCore(StartCell, S, Params, true);
}

TPoint TExtStringGrid::FindFirst(const QString& S, TFindParams Params) {
    FSearchCell = Find({-1, -1}, S, Params);
    return FSearchCell;
}

TPoint TExtStringGrid::FindNext() {
    // The cache holds the text as it was compared; the parameters say how.
    FSearchCell = Find(FSearchCell, FSearchCache, FFindParams);
    return FSearchCell;
}

// ---- replacing -----------------------------------------------------------------------------------------------
int TExtStringGrid::Replace(const QString& OrigStr, const QString& NewStr, TFindParams Params) {
    // An empty text occurs everywhere and nowhere: there is nothing to replace.
    if (OrigStr.isEmpty() || OrigStr == EmptyCellText) return 0;
    const Qt::CaseSensitivity Cs = Params.Contains(fnMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool HiddenCols = Params.Contains(fnIncludeHiddenColumns);
    const bool HiddenRows = Params.Contains(fnIncludeHiddenRows);
    int Count = 0;
    // Every cell a merge covers shows its base cell's text: the base cell is changed once.
    std::set<std::pair<int, int>> Done;
    TPoint P = Find({-1, -1}, OrigStr, Params);
    while (P.X != -1) {
        // The cell is written where its text is stored: the real column, and the hidden-row
        // store for a row that is not on display.
        const int RealCol = HiddenCols ? P.X : RealColIndex(P.X);
        const bool InStore = HiddenRows && IsHiddenRow(P.Y);
        if (InStore) {
            TCellProperties* Props = GetCellPropertiesByRealRow(RealCol, P.Y);
            if (!(Props && Props->ReadOnly())) {
                TGridItem* Item = FHiddenRows.Find(P.Y);
                const QString Old = Item ? Item->Texts(RealCol) : QString();
                QString New = Old;
                New.replace(OrigStr, NewStr, Cs);
                if (Item && New != Old) {
                    Item->SetTexts(RealCol, New);
                    ++Count;
                }
            }
        } else {
            const int DisplRow = HiddenRows ? DisplRowIndex(P.Y) : P.Y;
            int BC = RealCol, BR = DisplRow;
            ResolveBaseCell(RealCol, DisplRow, BC, BR);
            bool CanEdit = Done.insert({BC, BR}).second && !ReadOnly(BC, BR);
            if (CanEdit) DoCanEditCell(BC, BR, CanEdit);
            bool Fixed = false;
            if (CanEdit) GetFixedCell(DisplColIndex(BC), BR, Fixed);
            if (CanEdit && !Fixed) {
                // The stored text, not the displayed one: a display format must not be written
                // into the cell.
                const QString Old = Cells(BC, BR);
                QString New = Old;
                New.replace(OrigStr, NewStr, Cs);
                if (New != Old) {
                    SetCellEx(BC, BR, New);
                    if (ShowModified()->Enabled()) SetRowModified(BR, true);
                    ++Count;
                }
            }
        }
        P = Find(P, OrigStr, Params);
    }
    return Count;
}

// ---- search footer -----------------------------------------------------------------------------------------
TFindParams TExtStringGrid::SearchFooterParams(bool Backward, bool WithDirection) {
    TFindParams P{fnAutoGoto};
    if (Backward) P << fnBackward;
    // Highlighted cells carry markup around every match: the search looks through it.
    if (FSearchPanel->HiliteButton()->Down() || FSearchFooter->AlwaysHighLight()) P << fnIgnoreHTMLTags;
    if (FSearchPanel->MatchCase()->Checked()) P << fnMatchCase;
    if (FSearchFooter->SearchActiveColumnOnly()) P << fnFindInCurrentCol;
    if (FSearchFooter->SearchMatchStart()) P << fnMatchStart;
    if (WithDirection && FSearchFooter->SearchDirection() == sdLeftRight) P << fnDirectionLeftRight;
    const int SC = FSearchFooter->SearchColumn();
    if (SC >= 0 && SC < ColCount()) {
        FindCol = SC;
        P << fnFindInPresetCol;
    }
    return P;
}

void TExtStringGrid::HilightSearchText(const QString& Text) {
    const bool DoCase = FSearchPanel->MatchCase()->Checked();
    const int SC = FSearchFooter->SearchColumn();
    if (SC >= 0 && SC < ColCount())
        HilightInCol(false, DoCase, RealColIndex(SC), Text);
    else
        HilightInGrid(false, DoCase, Text);
}

void TExtStringGrid::UnHilightSearchText() {
    const int SC = FSearchFooter->SearchColumn();
    if (SC >= 0 && SC < ColCount())
        UnHilightInCol(false, RealColIndex(SC));
    else
        UnHilightInGrid(false);
}

void TExtStringGrid::SetSearchEditColor(TColor Value) {
    TRetEdit* E = FSearchPanel->Edit();
    E->SetColor(Value);
    E->SetWidth(E->Width() + 1);
    E->SetWidth(E->Width() - 1);
}

// A found cell (in the search's own space) as a display cell; -1 for a part not on display.
static TPoint DisplayCellOf(TExtStringGrid* G, TPoint P, TFindParams Params) {
    TPoint D = P;
    if (Params.Contains(fnIncludeHiddenRows)) D.Y = G->IsHiddenRow(P.Y) ? -1 : G->DisplRowIndex(P.Y);
    return D;
}

void TExtStringGrid::SearchEditChange(TObject* Sender) {
    (void)Sender;
    const QString Text = FSearchPanel->Edit()->Text();
    bool DefaultSearch = true;
    if (OnSearchEditChange) OnSearchEditChange(this, Text, DefaultSearch);
    if (!DefaultSearch || !FSearchFooter->AutoSearch()) return;
    TFindParams P = SearchFooterParams(false, true);
    if (FSearchFooter->SearchFixedCells()) P << fnIncludeFixed;
    if (FSearchFooter->SearchHiddenRows()) P << fnIncludeHiddenRows;
    const bool HiDown = FSearchPanel->HiliteButton()->Down();
    const bool Highlight = HiDown || FSearchFooter->AlwaysHighLight();
    if (Highlight) UnHilightSearchText();
    if (Text.isEmpty()) {
        SetSearchEditColor(clWindow);
        return;
    }
    FSearchCell = Find({-1, -1}, Text, P);
    DoSearchFooterAction(Text, FSearchCell.X, FSearchCell.Y, saFindFirst);
    if (FSearchCell.X == -1) {
        SetSearchEditColor(clRed);
        return;
    }
    SetSearchEditColor(clWindow);
    const TPoint D = DisplayCellOf(this, FSearchCell, P);
    if (D.Y >= 0) ScrollInView(D.X, D.Y);
    if (Highlight) HilightSearchText(Text);
}

void TExtStringGrid::SearchFooterStep(bool Backward) {
    const QString Text = FSearchPanel->Edit()->Text();
    // Without the search on typing, a changed text starts over from the top.
    if (!FSearchFooter->AutoSearch() && Text != FSearchFooter->LastSearch()) FSearchCell = {-1, -1};
    FSearchFooter->SetLastSearch(Text);
    const TFindParams P = SearchFooterParams(Backward, !Backward);
    // A search of the typed text with hidden rows counted holds its cell by real row; the steps
    // count the rows on display.
    TPoint From = FSearchCell;
    if (From.Y >= 0 && FFindParams.Contains(fnIncludeHiddenRows)) From.Y = DisplRowIndex(From.Y);
    FSearchCell = Find(From, Text, P);
    const int Fits = VisibleRowCount() - (FloatingFooter()->Visible() ? 1 : 0);
    if (Row() > TopRow() + Fits - 3 && RowCount() > Fits + FixedRows())
        SetTopRow(std::clamp(TopRow() + 2, FixedRows(), std::max(FixedRows(), RowCount() - VisibleRowCount())));
    if (FSearchCell.X != -1) ScrollInView(FSearchCell.X, FSearchCell.Y);
    DoSearchFooterAction(Text, FSearchCell.X, FSearchCell.Y, Backward ? saFindPrevious : saFindNext);
    FSearchPanel->Invalidate();
}

void TExtStringGrid::SearchNextClick(TObject* Sender) {
    (void)Sender;
    SearchFooterStep(false);
}

void TExtStringGrid::SearchPrevClick(TObject* Sender) {
    (void)Sender;
    SearchFooterStep(true);
}

void TExtStringGrid::SearchHighlightClick(TObject* Sender) {
    (void)Sender;
    if (FSearchPanel->HiliteButton()->Down())
        HilightSearchText(FSearchPanel->Edit()->Text());
    else
        UnHilightSearchText();
}

void TExtStringGrid::FixedEditChange(TObject* Sender) {
    (void)Sender;
    if (OnEditChange) OnEditChange(this, FTransEdit->FCol, FTransEdit->FRow, FTransEdit->Text());
}
