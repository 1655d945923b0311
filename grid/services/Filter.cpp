// Row filtering: the conditions decide for every normal row whether it stays; the rows that
// fail go to the hidden-row store as one filter level, and levels come back last in, first out.
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid.h"
#include "grid/control/GridDropLists.h"

#include <cmath>
#include <optional>

namespace {

// Letters a..z only, as the whole-row match compares.
QString UpperAZ(QString S) {
    QChar* P = S.data();
    for (qsizetype i = 0; i < S.size(); ++i)
        if (P[i] >= QLatin1Char('a') && P[i] <= QLatin1Char('z')) P[i] = QChar(P[i].unicode() - 32);
    return S;
}

std::vector<TCompiledCondition> CompileFilter(TFilter* F) {
    std::vector<TCompiledCondition> C;
    C.reserve(size_t(F->Count()));
    for (int i = 0; i < F->Count(); ++i) {
        TFilterData* D = F->Items(i);
        C.emplace_back(D->Data() == fcRow || D->Method() == fmLiteral ? QString() : D->Condition(), D->CaseSensitive());
    }
    return C;
}

void SplitEntry(const QString& Entry, QString& FriendlyName, QString& Condition) {
    const qsizetype Eq = Entry.indexOf(QLatin1Char('='));
    FriendlyName = Eq < 0 ? Entry : Entry.left(Eq);
    Condition = Eq < 0 ? Entry : Entry.mid(Eq + 1);
}

} // namespace

bool TExtStringGrid::MatchFilter(int ARow) {
    std::optional<std::vector<TCompiledCondition>> Own;
    const std::vector<TCompiledCondition>* Compiled = FCompiledFilter;
    if (!Compiled || int(Compiled->size()) != Filter()->Count()) {
        Own = CompileFilter(Filter());
        Compiled = &*Own;
    }
    bool Result = true;
    for (int i = 0; i < Filter()->Count(); ++i) {
        TFilterData* D = Filter()->Items(i);
        const int C = D->Column();
        QString Text;
        switch (D->Data()) {
            case fcVirtual:
            case fcCalculated: Text = C >= 0 ? GetCellEx(C, ARow) : QString(); break;
            case fcNormal: Text = C >= 0 ? GetGridCell(C, ARow) : QString(); break;
            case fcStripHTML: Text = C >= 0 ? GetStrippedCell(C, ARow) : QString(); break;
            case fcRow:
                for (int c = 0; c < TotalColCount(); ++c) {
                    if (c > 0) Text += QStringLiteral("\r\n");
                    Text += GetCellEx(c, ARow);
                }
                break;
        }
        Text = Text.trimmed();
        if (Text.contains(QLatin1String("|\\"))) Text = DecodeWideCellText(Text);
        bool Match = true;
        try {
            if (D->Data() == fcRow) {
                Match = UpperAZ(Text).contains(UpperAZ(D->Condition()));
            } else {
                if (!D->Prefix().isEmpty() && Text.startsWith(D->Prefix())) Text.remove(0, D->Prefix().size());
                if (!D->Suffix().isEmpty() && Text.endsWith(D->Suffix())) Text.chop(D->Suffix().size());
                if (!D->Condition().isEmpty())
                    Match = D->Method() == fmLiteral ? Text == D->Condition() : (*Compiled)[size_t(i)].Match(Text);
            }
        } catch (...) {
            Match = false;
        }
        switch (D->Operation()) {
            case foSHORT: Result = Match; break;
            case foNONE: Result = Match; break;
            case foAND: Result = Result && Match; break;
            case foXOR: Result = Result != Match; break;
            case foOR: Result = Result || Match; break;
        }
        if (D->Operation() == foSHORT && !Result) break;
    }
    bool Accept = Result;
    if (OnCustomFilter) OnCustomFilter(this, ARow, Accept);
    return Accept;
}

void TExtStringGrid::FilterRow(int ARow) {
    if (ARow < 0 || ARow >= RowCount() || MatchFilter(ARow)) return;
    HideRow(RealRowIndex(ARow));
}

void TExtStringGrid::ApplyFilter() {
    // The fixed rows of the first level are what every removal restores.
    if (FFilterLevel == 0 || FFilterFixedRows < 0) FFilterFixedRows = FixedRows();
    const std::vector<TCompiledCondition> Compiled = CompileFilter(Filter());
    struct TScope {
        const std::vector<TCompiledCondition>*& Slot;
        ~TScope() { Slot = nullptr; }
    } Scope{FCompiledFilter};
    FCompiledFilter = &Compiled;

    const int First = FixedRows();
    const int Last = RowCount() - 1 - FixedFooters();
    const int Total = Last - First + 1;
    TIntList Failing(0, 0);
    int LastProgress = -1;
    auto Progress = [&](int Tested) {
        if (Total <= 0 || !OnFilterProgress) return;
        const int P = int(std::lround(double(Tested) * 100.0 / Total));
        if (P == LastProgress) return;
        LastProgress = P;
        OnFilterProgress(this, short(P));
    };
    int Tested = 0;
    for (int r = First; r <= Last; ++r) {
        if (FilterNormalCellsOnly() && (IsNode(r) || IsSummary(r))) continue;
        if (!MatchFilter(r)) Failing.Add(r);
        Progress(++Tested);
    }
    const int Before = FFilterLevel;
    HideRowList(&Failing);
    // An empty pass still makes a level, so that every removal undoes exactly one pass.
    if (FFilterLevel == Before) ++FFilterLevel;
    if (Total > 0 && OnFilterProgress) OnFilterProgress(this, short(std::max(LastProgress, 0)));
}

bool TExtStringGrid::RemoveLastFilter() {
    if (FFilterLevel <= 0) return false;
    UnHideRowList();
    if (FFilterFixedRows >= 0 && FFilterFixedRows < RowCount() && FixedRows() != FFilterFixedRows)
        SetFixedRows(FFilterFixedRows);
    if (SelectionHidden()) UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    if (FFilterLevel == 0) FFilterFixedRows = -1;
    return FFilterLevel > 1;
}

void TExtStringGrid::RemoveAllFilters() {
    if (FFilterLevel <= 0) {
        Filter()->Clear();
        return;
    }
    while (FFilterLevel > 0) RemoveLastFilter();
}

void TExtStringGrid::SetFilterActive(bool Value) {
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount())
                MoveColRow(std::min(FixedCols(), ColCount() - 1), std::min(FixedRows(), RowCount() - 1), true, false);
            BeginUpdate();
            struct TEnd {
                TExtStringGrid* G;
                ~TEnd() { G->EndUpdate(); }
            } End{this};
            ApplyFilter();
            FSelectionHidden = false;
        } else if (FFilterLevel > 0) {
            UnHideRowList();
            if (FFilterFixedRows >= 0 && FFilterFixedRows < RowCount() && FixedRows() != FFilterFixedRows)
                SetFixedRows(FFilterFixedRows);
            if (SelectionHidden()) UnHideSelection();
            --FFilterLevel;
            if (FFilterLevel == 0) FFilterFixedRows = -1;
        }
        if (FixedRows() < RowCount()) SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}

void TExtStringGrid::SetFilterDropDownRow(int Value) {
    if (Value < 0 || Value >= FixedRows()) return;
    FFilterDropDownRow = Value;
    Invalidate();
}

void TExtStringGrid::SetFilterDropDownAuto(bool Value) {
    FFilterDropDownAuto = Value;
    Invalidate();
}

void TExtStringGrid::NarrowDown(const QString& ACondition, int AColumn) {
    SetFixedRowAlways(true);
    const QString Last = FNarrowLast;
    auto Narrow = [&]() {
        Filter()->Clear();
        TFilterData* D = Filter()->Add();
        if (AColumn == -1) {
            D->SetData(fcRow);
            D->SetCondition(ACondition);
        } else {
            D->SetData(fcNormal);
            QString C = QLatin1Char('*') + ACondition + QLatin1Char('*');
            if (C.contains(QLatin1Char(' '))) C = QLatin1Char('"') + C + QLatin1Char('"');
            D->SetCondition(C);
        }
        D->SetCaseSensitive(false);
        D->SetColumn(AColumn);
        ApplyFilter();
    };
    if (!Last.isEmpty() && ACondition.size() == Last.size() + 1 && ACondition.startsWith(Last))
        Narrow();
    else if (!ACondition.isEmpty() && !Last.isEmpty() && ACondition == Last.left(Last.size() - 1))
        RemoveLastFilter();
    else {
        RemoveAllFilters();
        if (!ACondition.isEmpty()) Narrow();
    }
    FNarrowLast = ACondition;
    if (ACondition.isEmpty())
        // Every row a narrowing hid comes back; rows hidden by other means stay hidden.
        while (FFilterLevel > 0) RemoveLastFilter();
}

// ---- the filter drop-down lists ------------------------------------------------------------------
void TExtStringGrid::FilterSelect(int ItemIndex) {
    const int Col = FFilterCol;
    struct TClose {
        int& F;
        ~TClose() { F = -1; }
    } Close{FFilterCol};
    if (CanFocus()) SetFocus();
    if (Col < 0 || Col >= TotalColCount() || !FDropList || ItemIndex < 0 || ItemIndex >= FDropList->Items()->Count())
        return;
    GetFilterValues(Col);
    TStringList* Values = FilterValueList();
    if (ItemIndex >= Values->Count()) return;
    QString FriendlyName, Condition;
    SplitEntry(Values->Get(ItemIndex), FriendlyName, Condition);
    if (AutoFilterUpdate()) SetFilterActive(false);
    if (Condition == FilterDropDownClear()) Condition.clear();
    if (OnFilterSelect) OnFilterSelect(this, Col, ItemIndex, FriendlyName, Condition);
    if (!Condition.isEmpty()) {
        TFilterData* D = Filter()->ColumnFilter(Col);
        if (!D) {
            D = Filter()->Add();
            D->SetColumn(Col);
        }
        D->SetCondition(Condition);
    } else
        Filter()->RemoveColumnFilter(Col);
    if (!AutoFilterUpdate()) return;
    SetFixedRowAlways(true);
    SetFilterActive(true);
    if (RowCount() > FixedRows() && RowCount() > 1) MoveColRow(TCustomGrid::Col(), FixedRows(), true, false);
    DoFilterDone();
}

void TExtStringGrid::FilterCheckListSelect(TObject* Sender, int ItemIndex) {
    (void)Sender;
    (void)ItemIndex;
    const int Col = FFilterCol;
    if (Col < 0 || Col >= TotalColCount() || !FDropCheckList) return;
    GetFilterValues(Col);
    TStringList* Values = FilterValueList();
    if (AutoFilterUpdate()) SetFilterActive(false);
    Filter()->Clear();
    bool First = true;
    for (int i = 0; i < FDropCheckList->Items()->Count() && i < Values->Count(); ++i) {
        if (!FDropCheckList->Checked(i)) continue;
        QString FriendlyName, Condition;
        SplitEntry(Values->Get(i), FriendlyName, Condition);
        if (Condition == FilterDropDownClear()) Condition.clear();
        if (OnFilterCheck) OnFilterCheck(this, Col, i, FriendlyName, Condition, FDropCheckList);
        TFilterData* D = Filter()->Add();
        D->SetColumn(Col);
        D->SetCondition(Condition);
        D->SetOperation(First ? foNONE : foOR);
        First = false;
    }
    SetFilterActive(true);
    FDropCheckList->Invalidate();
}
