// Unit ExtGrid: column and row figures, automatic column sizing and the selection queries.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <optional>

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
    ExportNotification(esExportStart, FromRow);
    double Sum = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        if (!IsBaseCell(RealCol, r)) continue;
        ExportNotification(esExportNextRow, r);
        if (auto V = CellNumber(this, RealCol, r)) Sum += *V;
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
    QStringList Seen;
    for (int r = FromRow; r <= ToRow; ++r) {
        const QString S = GetCellEx(RealCol, r).toCaseFolded();
        if (!Seen.contains(S)) Seen.append(S);
    }
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
        int W = WidestLine(Cache.For(F), GetCellEx(R, r));
        if (ComboExtra && HasComboButton(R, r)) W += 16;
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
    if (MouseActions()->DisjunctRowSelect()) return RowSelectCount();
    const TGridRect S = Selection();
    const int Bottom = std::min(S.Bottom, RowCount() - FixedFooters() - 1);
    return std::abs(S.Top - Bottom) + 1;
}

int TExtStringGrid::SelectedColCount() {
    if (MouseActions()->DisjunctColSelect()) return ColSelectCount();
    const TGridRect S = Selection();
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
    QString Out;
    for (int r = S.Top; r <= S.Bottom; ++r) {
        for (int c = S.Left; c <= S.Right; ++c) {
            if (c > S.Left) Out += QLatin1Char('\t');
            Out += GetGridCell(RealColIndex(c), r);
        }
        if (r != S.Bottom) Out += QStringLiteral("\r\n");
    }
    return Out;
}
