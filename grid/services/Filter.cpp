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

// A wide-character cell text carries "|\\" somewhere; most texts have no "|" at all.
bool HasWideMark(const QString& Text) {
    const QChar* P = Text.constData();
    for (qsizetype i = 0, N = Text.size() - 1; i < N; ++i)
        if (P[i] == QLatin1Char('|') && P[i + 1] == QLatin1Char('\\')) return true;
    return false;
}

} // namespace

// The conditions as one filtering pass reads them: every setting taken once, every expression
// parsed once, so that testing a row only reads the cells the conditions name and matches.
struct TCompiledFilter {
    struct TStep {
        const TFilterData* Source;
        int Column;
        TFilterCells Data;
        TFilterOperation Operation;
        TFilterMethod Method;
        QString Condition; // upper-cased (a..z) for a whole-row condition
        QString Prefix, Suffix;
        std::optional<TCompiledCondition> Expression;
    };
    std::vector<TStep> Steps;

    explicit TCompiledFilter(const TFilter* F) {
        Steps.reserve(size_t(F->Count()));
        for (int i = 0; i < F->Count(); ++i) {
            const TFilterData* D = F->Items(i);
            TStep S{D,           D->Column(), D->Data(), D->Operation(), D->Method(), D->Condition(),
                    D->Prefix(), D->Suffix(), {}};
            if (S.Data == fcRow)
                S.Condition = UpperAZ(S.Condition);
            else if (S.Method == fmExpression && !S.Condition.isEmpty())
                S.Expression.emplace(S.Condition, D->CaseSensitive());
            Steps.push_back(std::move(S));
        }
    }
    // Still the conditions of F (a handler may change them while a pass runs).
    bool Describes(const TFilter* F) const {
        if (int(Steps.size()) != F->Count()) return false;
        for (size_t i = 0; i < Steps.size(); ++i)
            if (Steps[i].Source != F->Items(int(i))) return false;
        return true;
    }
};

namespace {

void SplitEntry(const QString& Entry, QString& FriendlyName, QString& Condition) {
    const qsizetype Eq = Entry.indexOf(QLatin1Char('='));
    FriendlyName = Eq < 0 ? Entry : Entry.left(Eq);
    Condition = Eq < 0 ? Entry : Entry.mid(Eq + 1);
}

} // namespace

bool TExtStringGrid::MatchFilter(int ARow) {
    std::optional<TCompiledFilter> Own;
    const TCompiledFilter* Compiled = FCompiledFilter;
    if (!Compiled || !Compiled->Describes(Filter())) Compiled = &Own.emplace(Filter());
    bool Result = true;
    QString Text;
    for (const TCompiledFilter::TStep& S : Compiled->Steps) {
        const int C = S.Column;
        switch (S.Data) {
            case fcVirtual: Text = C >= 0 ? GetCellEx(C, ARow) : QString(); break;
            case fcCalculated: Text = C >= 0 ? CalculatedCellText(C, ARow) : QString(); break;
            case fcNormal: Text = C >= 0 ? GetGridCell(C, ARow) : QString(); break;
            case fcStripHTML: Text = C >= 0 ? GetStrippedCell(C, ARow) : QString(); break;
            case fcRow:
                Text.clear();
                for (int c = 0; c < TotalColCount(); ++c) {
                    if (c > 0) Text += QStringLiteral("\r\n");
                    Text += GetCellEx(c, ARow);
                }
                break;
        }
        if (HasWideMark(Text)) {
            // The encoding spends two characters on each one, the low byte last: trimming before
            // decoding would cut a final letter whose low byte reads as a blank (U+0409, U+0120).
            qsizetype Lead = 0;
            while (Lead < Text.size() && Text.at(Lead).isSpace()) ++Lead;
            Text = DecodeWideCellText(Text.mid(Lead)).trimmed();
        } else if (!Text.isEmpty() && (Text.front().isSpace() || Text.back().isSpace())) {
            Text = Text.trimmed();
        }
        bool Match = true;
        try {
            if (S.Data == fcRow) {
                Match = UpperAZ(Text).contains(S.Condition);
            } else {
                if (!S.Prefix.isEmpty() && Text.startsWith(S.Prefix)) Text.remove(0, S.Prefix.size());
                if (!S.Suffix.isEmpty() && Text.endsWith(S.Suffix)) Text.chop(S.Suffix.size());
                if (!S.Condition.isEmpty()) Match = S.Expression ? S.Expression->Match(Text) : Text == S.Condition;
            }
        } catch (...) {
            Match = false;
        }
        switch (S.Operation) {
            case foSHORT: Result = Match; break;
            case foNONE: Result = Match; break;
            case foAND: Result = Result && Match; break;
            case foXOR: Result = Result != Match; break;
            case foOR: Result = Result || Match; break;
        }
        if (S.Operation == foSHORT && !Result) break;
    }
    bool Accept = Result;
    if (OnCustomFilter) OnCustomFilter(this, ARow, Accept);
    return Accept;
}

QString TExtStringGrid::CalculatedCellText(int RealCol, int DisplRow) { return GetCellEx(RealCol, DisplRow); }

void TExtStringGrid::FilterRow(int ARow) {
    if (ARow < 0 || ARow >= RowCount() || MatchFilter(ARow)) return;
    HideRow(RealRowIndex(ARow));
}

void TExtStringGrid::ApplyFilter() {
    // The fixed rows of the first level are what every removal restores.
    if (FFilterLevel == 0 || FFilterFixedRows < 0) FFilterFixedRows = FixedRows();
    const TCompiledFilter Compiled(Filter());
    struct TScope {
        const TCompiledFilter*& Slot;
        ~TScope() { Slot = nullptr; }
    } Scope{FCompiledFilter};
    FCompiledFilter = &Compiled;

    const int First = FixedRows();
    const int Last = RowCount() - 1 - FixedFooters();
    const int Total = Last - First + 1;
    const bool NormalOnly = FilterNormalCellsOnly();
    std::vector<int> Failing;
    Failing.reserve(size_t(std::max(Total, 0)));
    int LastProgress = -1;
    int Tested = 0;
    for (int r = First; r <= Last; ++r) {
        if (NormalOnly) {
            const TCellType T = GetCellType(0, r);
            if (T == ctNode || T == ctSummary) continue;
        }
        if (!MatchFilter(r)) Failing.push_back(r);
        ++Tested;
        if (OnFilterProgress) {
            const int P = int(std::lround(double(Tested) * 100.0 / Total));
            if (P != LastProgress) {
                LastProgress = P;
                OnFilterProgress(this, short(P));
            }
        }
    }
    const int Before = FFilterLevel;
    HideSortedRowList(std::move(Failing));
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
    if (!Condition.isEmpty())
        Filter()->GetColFilter(Col)->SetCondition(Condition);
    else
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
