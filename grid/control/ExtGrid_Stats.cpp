// Unit ExtGrid: column and row figures, automatic column sizing and the selection queries.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"
#include "platform/rtl/StateScope.h"

#include <QFontMetrics>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// The progress states the row walks report through ExportNotification, in their stored order.
enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };

// A cell's value as a number; none when its text is not one.
std::optional<double> CellNumber(TExtStringGrid* G, int RealCol, int DisplRow) {
    double V = 0;
    if (TryStrToFloat(G->GetStrippedCell(RealCol, DisplRow).trimmed(), V)) return V;
    return std::nullopt;
}

double CellNumberOrRaise(TExtStringGrid* G, int RealCol, int DisplRow) {
    if (auto V = CellNumber(G, RealCol, DisplRow)) return *V;
    throw EExtGridError(QStringLiteral("Cell does not contain a float value"));
}

} // namespace

// ---- column and row figures -----------------------------------------------------------------------
static void NormalRange(TExtStringGrid* G, int& FromRow, int& ToRow) {
    if (FromRow == -1 || ToRow == -1) {
        FromRow = G->FixedRows();
        ToRow = G->RowCount() - G->FixedFooters() - 1;
    }
}

double TExtStringGrid::ColumnSum(int RealCol, int FromRow, int ToRow) {
    NormalRange(this, FromRow, ToRow);
    // A range that reaches past the displayed rows counts real rows, hidden ones included. The
    // row just past the last one still counts displayed rows, unless a floating footer takes the
    // last displayed row.
    const bool Real = FloatingFooter()->Visible() ? ToRow > RowCount() - 1 : ToRow > RowCount();
    ExportNotification(esExportStart, FromRow);
    double Sum = 0;
    const int Last = Real ? std::min(ToRow, TotalRowCount() - 1) : std::min(ToRow, RowCount() - 1);
    for (int r = std::max(0, FromRow); r <= Last; ++r) {
        const bool Hidden = Real && IsHiddenRow(r);
        const int D = Real ? (Hidden ? -1 : DisplRowIndex(r)) : r;
        if (!Hidden) {
            const TCellType K = GetCellType(0, D);
            const bool GroupRow = K == ctNode || K == ctSummary;
            if (GroupRow && GroupColumn() != -1) continue;
            if (!IsBaseCell(RealCol, D)) continue;
        }
        ExportNotification(esExportNextRow, r);
        double V = 0;
        const QString T = Real ? StripHTMLTags(GetCellsEx(RealCol, r)) : GetStrippedCell(RealCol, r);
        if (TryStrToFloat(T.trimmed(), V)) Sum += V;
    }
    ExportNotification(esExportDone, -1);
    return Sum;
}

double TExtStringGrid::ColumnAvg(int RealCol, int FromRow, int ToRow) {
    NormalRange(this, FromRow, ToRow);
    if (ToRow < FromRow) return 0;
    return ColumnSum(RealCol, FromRow, ToRow) / double(ToRow - FromRow + 1);
}

double TExtStringGrid::ColumnMin(int RealCol, int FromRow, int ToRow) {
    NormalRange(this, FromRow, ToRow);
    double M = CellNumberOrRaise(this, RealCol, FromRow);
    for (int r = FromRow; r <= ToRow; ++r)
        if (IsBaseCell(RealCol, r))
            if (auto V = CellNumber(this, RealCol, r); V && *V < M) M = *V;
    return M;
}

double TExtStringGrid::ColumnMax(int RealCol, int FromRow, int ToRow) {
    NormalRange(this, FromRow, ToRow);
    double M = CellNumberOrRaise(this, RealCol, FromRow);
    for (int r = FromRow; r <= ToRow; ++r)
        if (IsBaseCell(RealCol, r))
            if (auto V = CellNumber(this, RealCol, r); V && *V > M) M = *V;
    return M;
}

double TExtStringGrid::ColumnDistinct(int RealCol, int FromRow, int ToRow) {
    NormalRange(this, FromRow, ToRow);
    QSet<QString> Seen;
    for (int r = FromRow; r <= ToRow; ++r) Seen.insert(GetCellEx(RealCol, r).toCaseFolded());
    return double(Seen.size());
}

double TExtStringGrid::RowSum(int DisplRow, int FromCol, int ToCol) {
    double Sum = 0;
    for (int c = FromCol; c <= ToCol; ++c) {
        const int R = RealColIndex(c);
        if (IsBaseCell(R, DisplRow))
            if (auto V = CellNumber(this, R, DisplRow)) Sum += *V;
    }
    return Sum;
}

double TExtStringGrid::RowAvg(int DisplRow, int FromCol, int ToCol) {
    if (ToCol < FromCol) return 0;
    return RowSum(DisplRow, FromCol, ToCol) / double(ToCol - FromCol + 1);
}

// ---- automatic sizing -----------------------------------------------------------------------------
namespace {

// The metrics of the last font asked for: a column mostly keeps one font, so the metrics are
// made again only when the font changes.
class TMetricsCache {
public:
    const QFontMetrics& For(const TFont& F) {
        if (!FMetrics || F.Name() != FName || F.Height() != FHeight || !(F.Style() == FStyle)) {
            FName = F.Name();
            FHeight = F.Height();
            FStyle = F.Style();
            FMetrics.emplace(F.ToQFont());
        }
        return *FMetrics;
    }

private:
    std::optional<QFontMetrics> FMetrics;
    QString FName;
    int FHeight = 0;
    TFontStyles FStyle;
};

// Text that is drawn as it stands, line by line: no formula, no wide or rich text, no markup.
bool IsPlainLines(const QString& Text) {
    if (Text.isEmpty()) return true;
    const QChar First = Text.at(0);
    if (First == QLatin1Char('=') || First == QLatin1Char('|') || First == QLatin1Char('{')) return false;
    return !Text.contains(QLatin1Char('<'));
}

int WidestLine(const QFontMetrics& M, const QString& Text) {
    if (!Text.contains(QLatin1Char('\n'))) return M.horizontalAdvance(Text);
    int W = 0;
    for (const QString& L : Text.split(QLatin1Char('\n'))) {
        QString Line = L;
        if (Line.endsWith(QLatin1Char('\r'))) Line.chop(1);
        W = std::max(W, M.horizontalAdvance(Line));
    }
    return W;
}

} // namespace

int TExtStringGrid::MeasureCellTextWidth(int DisplCol, int DisplRow) {
    TMetricsCache Cache;
    TFont F;
    TBrush B;
    const int R = RealColIndex(DisplCol);
    F.Assign(DisplCol < FixedCols() || DisplRow < FixedRows() ? FixedFont() : Font());
    GetCellColor(R, DisplRow, TGridDrawState{}, &B, &F);
    return WidestLine(Cache.For(F), GetCellEx(R, DisplRow));
}

int TExtStringGrid::AutoSizeColCore(int DisplCol, bool GrowOnly) {
    const int R = RealColIndex(DisplCol);
    int From = 0, To = RowCount() - 1;
    if (FAutoSizeRows == arNormal) {
        From = FixedRows();
        To = RowCount() - FixedFooters() - 1;
    } else if (FAutoSizeRows == arFixed) {
        To = FixedRows() - 1;
    }
    TMetricsCache Cache;
    TFont F;
    TBrush B;
    const bool ComboExtra = ControlLook()->DropDownAlwaysVisible();
    int Max = 0;
    for (int r = From; r <= To; ++r) {
        if (IsXMergedCell(R, r)) continue;
        // The cell's own font: fixed cells start from the fixed font, the cell look may change it.
        F.Assign(DisplCol < FixedCols() || r < FixedRows() ? FixedFont() : Font());
        GetCellColor(R, r, TGridDrawState{}, &B, &F);
        // The text as the cell shows it (a column's number format applied), or the text being
        // typed into it; texts that are more than plain lines (HTML, rich or wide text, formulas)
        // are measured as they are drawn.
        QString T = SizingCellText(R, r);
        if (T == GetCellEx(R, r)) T = GetFormattedCell(R, r);
        int W = 0;
        if (IsPlainLines(T)) {
            W = WidestLine(Cache.For(F), T);
        } else {
            int H = 0;
            MeasureCellText(R, DisplCol, r, false, false, W, H);
        }
        W += GetCellGraphicSize(R, r).X;
        if (ComboExtra && HasComboButton(R, r)) W += 16;
        if (FilterDropDownAuto() && r == FilterDropDownRow() && GetFilterValues(R)) W += 12;
        if (IsSortIndicatorCell(DisplCol, r) && R == SortSettings()->Column()) W += 10;
        Max = std::max(Max, W);
    }
    int Width = Max + HorzTextMargin() + 2 * GridLineWidth() + 2;
    if (GrowOnly && ColWidths(DisplCol) >= Width) return ColWidths(DisplCol);
    DoAutoSizeColumn(DisplCol, Width);
    Width = ClampToLimits(Width, MinColWidth(), MaxColWidth());
    SetColWidths(DisplCol, Width);
    return Width;
}

void TExtStringGrid::AutoSizeCol(int DisplCol, int Padding) {
    if (DisplCol < 0 || DisplCol >= ColCount()) return;
    AutoSizeColCore(DisplCol, FSizeGrowOnly);
    if (Padding != 0)
        SetColWidths(DisplCol, ClampToLimits(ColWidths(DisplCol) + Padding, MinColWidth(), MaxColWidth()));
}

void TExtStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding) {
    const int From = DoFixedCols ? 0 : FixedCols();
    const int To = DoFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    for (int c = From; c <= To; ++c) AutoSizeCol(c, Padding);
}

// ---- selection queries ----------------------------------------------------------------------------
void TExtStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow) {
    TGridRect R;
    R.Left = FromCol;
    R.Top = FromRow;
    R.Right = ToCol;
    R.Bottom = ToRow;
    SetSelection(R);
}

int TExtStringGrid::SelectedRowCount() {
    if (MouseActions()->DisjunctRowSelect()) return int(SelectedRows().size());
    const TGridRect S = Selection();
    const int Bottom = std::min(S.Bottom, RowCount() - FixedFooters() - 1);
    // A merged cell at a corner counts all the rows it covers.
    if (IsMergedCell(RealColIndex(S.Left), S.Top)) {
        const int Span = CellSpan(RealColIndex(S.Left), S.Top).Y;
        return Bottom < S.Top + Span ? Span + 1 : std::abs(S.Top - Bottom) + 1;
    }
    if (IsMergedCell(RealColIndex(S.Left), Bottom))
        return std::abs(S.Top - Bottom) + CellSpan(RealColIndex(S.Left), Bottom).Y + 1;
    return std::abs(S.Top - Bottom) + 1;
}

int TExtStringGrid::SelectedColCount() {
    if (MouseActions()->DisjunctColSelect()) return ColSelectCount();
    const TGridRect S = Selection();
    if (IsMergedCell(RealColIndex(S.Left), S.Top)) {
        const int Span = CellSpan(RealColIndex(S.Left), S.Top).X;
        return S.Left + Span > S.Right ? Span + 1 : std::abs(S.Left - S.Right) + 1;
    }
    if (IsMergedCell(RealColIndex(S.Right), S.Top))
        return std::abs(S.Left - S.Right) + CellSpan(RealColIndex(S.Right), S.Top).X + 1;
    return std::abs(S.Left - S.Right) + 1;
}

int TExtStringGrid::SelectedRow(int Index) {
    if (MouseActions()->DisjunctRowSelect()) {
        const auto& Rows = SelectedRows();
        return Index >= 0 && Index < int(Rows.size()) ? Rows[size_t(Index)] : -1;
    }
    const TGridRect S = Selection();
    const int R = std::min(S.Top, S.Bottom) + Index;
    return Index >= 0 && R <= std::max(S.Top, S.Bottom) ? R : -1;
}

QString TExtStringGrid::SelectedText() {
    const TGridRect S = Selection();
    std::vector<int> Rows;
    if (MouseActions()->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (FSel.RowFlag(RowSelectIndex(r))) Rows.push_back(r);
    } else {
        for (int r = S.Top; r <= S.Bottom; ++r) Rows.push_back(r);
    }
    QString Out;
    for (size_t i = 0; i < Rows.size(); ++i) {
        const int r = Rows[i];
        for (int c = S.Left; c <= S.Right; ++c) {
            if (c > S.Left) Out += QLatin1Char('\t');
            QString T = GetGridCell(RealColIndex(c), r);
            if (ExcelClipboardFormat() && (T.contains(QLatin1Char('\n')) || T.contains(QLatin1Char('\r'))))
                QuoteMultiLineField(T);
            Out += T;
        }
        // Rows are separated by CR LF (with disjunct rows too, whichever row is the last).
        if (i + 1 < Rows.size()) Out += QStringLiteral("\r\n");
    }
    return Out;
}

// ---- more figures ------------------------------------------------------------------------------------
double TExtStringGrid::ColumnStdDev(int RealCol, int FromRow, int ToRow) {
    NormalRange(this, FromRow, ToRow);
    if (ToRow < FromRow) return 0;
    const double Avg = ColumnAvg(RealCol, FromRow, ToRow);
    double Sum = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        const double D = CellNumberOrRaise(this, RealCol, r) - Avg;
        Sum += D * D;
    }
    return std::sqrt(Sum / double(ToRow - FromRow + 1));
}

double TExtStringGrid::ColumnCustomCalc(int RealCol, int FromRow, int ToRow) {
    double Res = 0;
    if (OnColumnCalc) OnColumnCalc(this, RealCol, FromRow, ToRow, Res);
    return Res;
}

double TExtStringGrid::RowMin(int DisplRow, int FromCol, int ToCol) {
    double M = CellNumberOrRaise(this, RealColIndex(FromCol), DisplRow);
    for (int c = FromCol; c <= ToCol; ++c) {
        const int R = RealColIndex(c);
        if (IsBaseCell(R, DisplRow))
            if (auto V = CellNumber(this, R, DisplRow); V && *V < M) M = *V;
    }
    return M;
}

double TExtStringGrid::RowMax(int DisplRow, int FromCol, int ToCol) {
    double M = CellNumberOrRaise(this, RealColIndex(FromCol), DisplRow);
    for (int c = FromCol; c <= ToCol; ++c) {
        const int R = RealColIndex(c);
        if (IsBaseCell(R, DisplRow))
            if (auto V = CellNumber(this, R, DisplRow); V && *V > M) M = *V;
    }
    return M;
}

// ---- numbering ---------------------------------------------------------------------------------------
void TExtStringGrid::AutoNumberCol(int RealCol) {
    if (RowCount() == 0) return;
    const int Last = RowCount() - FixedFooters() - 1;
    for (int r = FixedRows() + FAutoNumberStart; r <= Last; ++r) {
        const int Value = r - FixedRows() + 1 + FAutoNumberOffset;
        const int Target = FAutoNumberDirection == sdAscending ? r : FixedRows() + RowCount() - FixedFooters() - 1 - r;
        SetInts(RealCol, Target, Value);
    }
}

void TExtStringGrid::AutoNumberRow(int DisplRow) {
    const int Last = ColCount() - FixedRightCols() - 1;
    for (int c = FixedCols() + FAutoNumberStart; c <= Last; ++c) {
        const int Value = c - FixedCols() + 1 + FAutoNumberOffset;
        const int Target =
            FAutoNumberDirection == sdAscending ? c : FixedCols() + ColCount() - FixedRightCols() - 1 - c;
        SetInts(RealColIndex(Target), DisplRow, Value);
    }
}

// ---- swapping ----------------------------------------------------------------------------------------
void TExtStringGrid::SwapColumns(int DisplCol1, int DisplCol2) {
    if (DisplCol1 == DisplCol2 || DisplCol1 < 0 || DisplCol2 < 0 || DisplCol1 >= ColCount() || DisplCol2 >= ColCount())
        return;
    const int R1 = RealColIndex(DisplCol1);
    const int R2 = RealColIndex(DisplCol2);
    // Records change places with their cells; nothing is freed.
    for (int r = 0; r < RowCount(); ++r) SwapCells(Point(R1, r), Point(R2, r));
    const int W = ColWidths(DisplCol1);
    SetColWidths(DisplCol1, ColWidths(DisplCol2));
    SetColWidths(DisplCol2, W);
    if (SortSettings()->Column() == R1)
        SortSettings()->SetColumn(R2);
    else if (SortSettings()->Column() == R2)
        SortSettings()->SetColumn(R1);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* C = FControlList->Controls(i);
        if (C->FX == R1)
            C->FX = R2;
        else if (C->FX == R2)
            C->FX = R1;
    }
    if (FControlList->Count() > 0) CellControlsUpdate(false);
    Invalidate();
}

void TExtStringGrid::SwapRows(int DisplRow1, int DisplRow2) {
    if (DisplRow1 == DisplRow2 || DisplRow1 < 0 || DisplRow2 < 0 || DisplRow1 >= RowCount() || DisplRow2 >= RowCount())
        return;
    for (int c = 0; c < TotalColCount(); ++c) SwapCells(Point(c, DisplRow1), Point(c, DisplRow2));
    const int H = RowHeights(DisplRow1);
    SetRowHeights(DisplRow1, RowHeights(DisplRow2));
    SetRowHeights(DisplRow2, H);
    const int Real1 = RealRowIndex(DisplRow1);
    const int Real2 = RealRowIndex(DisplRow2);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* C = FControlList->Controls(i);
        if (C->FY == Real1)
            C->FY = Real2;
        else if (C->FY == Real2)
            C->FY = Real1;
    }
    if (FControlList->Count() > 0) CellControlsUpdate(false);
    Invalidate();
}

void TExtStringGrid::SortSwapRows(int ARow1, int ARow2) {
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
    ++FSortSwapCount;
    // The cross-reference keeps naming the rows' unsorted positions.
    TIntList* X = FSortList2.get();
    if (ARow1 < X->Count() && ARow2 < X->Count()) {
        const int A = X->GetInteger(ARow1);
        X->SetInteger(ARow1, X->GetInteger(ARow2));
        X->SetInteger(ARow2, A);
    }
    // The followed row goes with the exchanged data, also when only the sort column moves.
    if (FSortFollowRow == ARow1)
        FSortFollowRow = ARow2;
    else if (FSortFollowRow == ARow2)
        FSortFollowRow = ARow1;
    if (SortSettings()->SingleColumn()) {
        const int C = SortSettings()->Column();
        if (C >= 0 && C < TotalColCount()) SwapCells(Point(C, ARow1), Point(C, ARow2));
        return;
    }
    for (int c = 0; c < TotalColCount(); ++c) SwapCells(Point(c, ARow1), Point(c, ARow2));
    if (RowHeights(ARow1) != RowHeights(ARow2)) {
        const int H = RowHeights(ARow1);
        SetRowHeights(ARow1, RowHeights(ARow2));
        SetRowHeights(ARow2, H);
    }
    if (MouseActions()->DisjunctRowSelect() && Navigation()->MoveRowOnSort()) {
        const int I1 = NumHiddenRows() > 0 ? RealRowIndex(ARow1) : ARow1;
        const int I2 = NumHiddenRows() > 0 ? RealRowIndex(ARow2) : ARow2;
        const bool S1 = FSel.RowFlag(I1);
        const bool S2 = FSel.RowFlag(I2);
        if (S1 != S2) {
            FSel.GrowRowFlags(std::max(I1, I2) + 1);
            FSel.SetRowFlag(I1, S2);
            FSel.SetRowFlag(I2, S1);
        }
    }
    if (ShowModified()->Enabled()) {
        const bool M1 = FSel.RowModified(ARow1);
        const bool M2 = FSel.RowModified(ARow2);
        if (M1 != M2) {
            FSel.SetRowModified(ARow1, M2);
            FSel.SetRowModified(ARow2, M1);
        }
    }
}

// ---- scaling -----------------------------------------------------------------------------------------
void TExtStringGrid::ChangeScaleOverride(int M, int D) {
    if (M == D || D == 0) return;
    auto Scale = [M, D](int V) { return MulDiv(V, M, D); };
    {
        TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
        // The default sizes scale as well, so that rows and columns added later fit the rest;
        // setting a default drops the individual sizes, which are put back scaled.
        std::vector<int> Widths, Heights;
        for (int c = 0; c < ColCount(); ++c) Widths.push_back(Scale(ColWidths(c)));
        for (int r = 0; r < RowCount(); ++r) Heights.push_back(Scale(RowHeights(r)));
        TBaseGrid::SetDefaultColWidth(Scale(DefaultColWidth()));
        TBaseGrid::SetDefaultRowHeight(Scale(DefaultRowHeight()));
        for (int c = 0; c < ColCount(); ++c) SetColWidths(c, Widths[size_t(c)]);
        for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, Heights[size_t(r)]);
        // A hidden column comes back at the size the others have now.
        for (int c = 0; c < TotalColCount(); ++c)
            if (IsHiddenColumn(c)) SetAllColWidths(c, Scale(GetAllColWidths(c)));
        Font()->SetSize(Scale(Font()->Size()));
        if (!IsDesigning()) {
            FixedFont()->SetSize(Scale(FixedFont()->Size()));
            ActiveCellFont()->SetSize(Scale(ActiveCellFont()->Size()));
        }
    }
    Invalidate();
}

// ---- automatic row sizing and fitting ----------------------------------------------------------------
void TExtStringGrid::AutoSizeRowCore(int DisplRow, bool GrowOnly) {
    TMetricsCache Cache;
    TFont F;
    TBrush B;
    int Max = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int R = RealColIndex(c);
        if (IsYMergedCell(R, DisplRow) && !IsBaseCell(R, DisplRow)) continue;
        if (IsIgnoredColumn(R)) continue;
        F.Assign(c < FixedCols() || DisplRow < FixedRows() ? FixedFont() : Font());
        GetCellColor(R, DisplRow, TGridDrawState{}, &B, &F);
        const QFontMetrics& M = Cache.For(F);
        const QString Text = SizingCellText(R, DisplRow);
        bool Wrap = WordWrap();
        GetCellWordWrap(R, DisplRow, Wrap);
        int T = 0;
        if (!Text.isEmpty()) {
            const int Avail = std::max(1, ColWidths(c) - HorzTextMargin());
            T = Wrap ? M.boundingRect(QRect(0, 0, Avail, 1 << 20), Qt::TextWordWrap, Text).height()
                     : M.lineSpacing() * int(Text.count(QLatin1Char('\n')) + 1);
        }
        Max = std::max(Max, T + GetCellGraphicSize(R, DisplRow).Y);
    }
    const int Height = VertTextMargin() + Max + 2 * GridLineWidth() + (XYOffsetTopLeftOnly() ? 2 : 0);
    if (GrowOnly && RowHeights(DisplRow) >= Height) return;
    SetRowHeights(DisplRow, ClampToLimits(Height, MinRowHeight(), MaxRowHeight()));
}

void TExtStringGrid::AutoSizeRow(int DisplRow, int Padding) {
    if (DisplRow < 0 || DisplRow >= RowCount()) return;
    AutoSizeRowCore(DisplRow, FSizeGrowOnly);
    if (Padding != 0)
        SetRowHeights(DisplRow, ClampToLimits(RowHeights(DisplRow) + Padding, MinRowHeight(), MaxRowHeight()));
}

int TExtStringGrid::MaxLinesInRow(int DisplRow) {
    int Lines = 1;
    for (int c = 0; c < TotalColCount(); ++c)
        Lines = std::max(Lines, int(GetCellEx(c, DisplRow).count(QLatin1Char('\n')) + 1));
    return Lines;
}

void TExtStringGrid::SetRowHeightForLines(int DisplRow, int Lines, int Padding) {
    TFont F;
    TBrush B;
    F.Assign(DisplRow < FixedRows() ? FixedFont() : Font());
    GetCellColor(RealColIndex(FixedCols()), DisplRow, TGridDrawState{}, &B, &F);
    const int H = QFontMetrics(F.ToQFont()).height();
    SetRowHeights(DisplRow, ClampToLimits(Padding + Lines * (H + H / 8), MinRowHeight(), MaxRowHeight()));
}

void TExtStringGrid::AutoSizeRows(bool DoFixedRows, int Padding) {
    if (RowCount() == 0) return;
    const int From = DoFixedRows ? 0 : FixedRows();
    ExportNotification(esExportStart, From);
    for (int r = From; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        if (WordWrap())
            AutoSizeRow(r, Padding);
        else
            SetRowHeightForLines(r, MaxLinesInRow(r), Padding);
    }
    ExportNotification(esExportDone, -1);
    ApplyScrollBarAlways(false);
}

void TExtStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY) {
    TStateScope<int> Lock(FUpdateCount, FUpdateCount + 1);
    TMetricsCache Cache;
    TFont F;
    TBrush B;
    for (int c = DoFixedCells ? 0 : FixedCols(); c < ColCount(); ++c) {
        const int R = RealColIndex(c);
        int Cur = FSizeGrowOnly ? ColWidths(c) : 0;
        for (int r = DoFixedCells ? 0 : FixedRows(); r < RowCount(); ++r) {
            F.Assign(c < FixedCols() || r < FixedRows() ? FixedFont() : Font());
            GetCellColor(R, r, TGridDrawState{}, &B, &F);
            const QFontMetrics& M = Cache.For(F);
            const QString Text = GetCellEx(R, r);
            const TPoint P = GetCellGraphicSize(R, r);
            const int Lines = int(Text.count(QLatin1Char('\n')) + 1);
            int W = WidestLine(M, Text) + P.X + PaddingX + XYOffset().x();
            int H = (Text.isEmpty() ? 0 : M.lineSpacing() * Lines) + P.Y + PaddingY + XYOffset().y();
            if (!IsXMergedCell(R, r) && W > Cur) {
                W = ClampToLimits(W, MinColWidth(), MaxColWidth());
                if (W > Cur) {
                    SetColWidths(c, W);
                    Cur = W;
                }
            }
            if (!IsYMergedCell(R, r) && H > RowHeights(r)) {
                H = ClampToLimits(H, MinRowHeight(), MaxRowHeight());
                if (H > RowHeights(r)) SetRowHeights(r, H);
            }
        }
    }
}

void TExtStringGrid::SizeToCols() {
    int W = 0;
    for (int c = 0; c < ColCount(); ++c) W += ColWidths(c);
    SetClientWidth(W);
}

void TExtStringGrid::SizeToRows() {
    int H = 0;
    for (int r = 0; r < RowCount(); ++r) H += RowHeights(r);
    SetClientHeight(H);
}

void TExtStringGrid::SizeToCells() {
    const TScrollStyle Old = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(Old);
}

void TExtStringGrid::AutoFitColumns(bool DoFixedCells) {
    const bool VertBar =
        ScrollBarAlways() == saVert || (ScrollBars() != ssNone && VisibleRowCount() + FixedRows() < RowCount());
    const int V = VertBar ? 16 : 0;
    // The platform's single border is always the sunken 3-D one.
    const int Bd = BorderStyle() == bsSingle ? 4 : 0;
    const int First = DoFixedCells ? 0 : FixedCols();
    const int Last = DoFixedCells ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    int Avail = Width();
    if (!DoFixedCells) {
        for (int c = 0; c < FixedCols(); ++c) Avail -= ColWidths(c);
        for (int c = ColCount() - FixedRightCols(); c < ColCount(); ++c) Avail -= ColWidths(c);
    }
    int L = 0;
    if (Options().Contains(goVertLine)) L = GridLineWidth() * (ColCount() - FixedCols() - FixedRightCols());
    if (Options().Contains(goFixedVertLine) && DoFixedCells) L += FixedCols() + FixedRightCols();
    if (ColCount() < 2) {
        SetColWidths(0, Width() - V - 5);
        return;
    }
    const int N = Last - First + 1;
    if (N <= 0) return;
    long long S = 0;
    for (int c = First; c <= Last; ++c) S += ColWidths(c);
    if (S == Avail - V - Bd || S <= 0) return;
    const double E = double(Avail - V - Bd - L) / double(S);
    // Round to the nearest, halves to the even neighbour.
    auto RoundEven = [](double X) { return int(std::nearbyint(X)); };
    long long T = 0;
    for (int c = First; c <= Last; ++c) T += RoundEven(E * ColWidths(c));
    long long NewSum = 0;
    for (int c = First; c <= Last; ++c) {
        SetColWidths(c, RoundEven(double(ColWidths(c)) * double(T) / double(S)));
        NewSum += ColWidths(c);
    }
    long long Rest = Avail - V - Bd - NewSum;
    if (Rest > N && N > 1) {
        for (int c = First; c <= Last; ++c) SetColWidths(c, ColWidths(c) + int(Rest / N));
        Rest %= N;
    }
    if (Rest != 0) {
        int Widest = 0;
        for (int c = First + 1; c <= Last; ++c)
            if (ColWidths(c) > ColWidths(Widest)) Widest = c;
        SetColWidths(Widest, ColWidths(Widest) + int(Rest));
    }
}

// ---- selected cells ----------------------------------------------------------------------------------
void TExtStringGrid::ClearSelectedCells() {
    SetSelection(GridRect(FixedCols(), FixedRows(), FixedCols(), FixedRows()));
    FSel.ClearCells();
    FSelectedCellList.clear();
    Invalidate();
}

void TExtStringGrid::ClearModifiedRows() {
    FSel.ClearModified();
    Invalidate();
}

int TExtStringGrid::SelectedCellsCount() {
    if (MouseActions()->DisjunctCellSelect()) return FSel.CellCount();
    FSelectedCellList.clear();
    const TGridRect S = Selection();
    if (S.Left == S.Right && S.Top == S.Bottom) {
        FSelectedCellList.push_back(TGridCoord{Col(), Row()});
    } else {
        for (int c = S.Left; c <= S.Right; ++c)
            for (int r = S.Top; r <= S.Bottom; ++r) FSelectedCellList.push_back(TGridCoord{c, r});
    }
    return int(FSelectedCellList.size());
}

TGridCoord TExtStringGrid::GetSelectedCell(int Index) {
    if (MouseActions()->DisjunctCellSelect()) {
        const int64_t K = FSel.CellAt(Index);
        return TGridCoord{TGridSelStore::KeyCol(K), TGridSelStore::KeyRow(K)};
    }
    if (Index < 0 || size_t(Index) >= FSelectedCellList.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FSelectedCellList[size_t(Index)];
}

bool TExtStringGrid::GetSelectedCells(int DisplCol, int DisplRow) {
    if (MouseActions()->DisjunctCellSelect()) return FSel.HasCell(DisplCol, DisplRow);
    const TGridRect S = Selection();
    return DisplCol >= std::min(S.Left, S.Right) && DisplCol <= std::max(S.Left, S.Right) &&
        DisplRow >= std::min(S.Top, S.Bottom) && DisplRow <= std::max(S.Top, S.Bottom);
}

void TExtStringGrid::SetSelectedCells(int DisplCol, int DisplRow, bool Value) {
    if (Value == FSel.HasCell(DisplCol, DisplRow)) return;
    if (Value)
        FSel.AddCell(DisplCol, DisplRow);
    else
        FSel.RemoveCell(DisplCol, DisplRow);
    RepaintCell(DisplCol, DisplRow);
}
