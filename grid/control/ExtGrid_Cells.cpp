// TExtStringGrid: typed cell access, headers, highlighting and marking, cell checking, fills, the
// used and savable area, and the footer calculation.
#include "grid/control/ExtGrid.h"

#include "grid/base/ExtUtil.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <set>

namespace {
const QString HiTag = QStringLiteral("hi");
const QString MarkTag = QStringLiteral("e");
const char* const NoIntegerText = "Cell does not contain integer value";
const char* const NoFloatText = "Cell does not contain a float value";

int TextToInt(QString Text) {
    Text = Trim(Text);
    if (Text.isEmpty() || Text == QLatin1String("-")) Text = QStringLiteral("0");
    int Value = 0;
    if (!TryStrToInt(Text, Value)) throw EExtGridError(NoIntegerText);
    return Value;
}

double TextToFloat(QString Text) {
    Text = Trim(NormalizeNumberText(Trim(Text)));
    if (Text.isEmpty() || Text == QLatin1String("-")) return 0.0;
    bool Ok = false;
    const double Value = Text.toDouble(&Ok); // "." as the decimal point, the whole text
    if (!Ok) throw EExtGridError(NoFloatText);
    return Value;
}
} // namespace

// ---- typed access ------------------------------------------------------------------------------------
QString TExtStringGrid::GetStrippedCell(int RealCol, int DisplRow) {
    QString Value = Cells(RealCol, DisplRow);
    GetDisplText(RealCol, DisplRow, Value);
    return StripHTMLTags(Value);
}

QString TExtStringGrid::GetFloatFormat(int RealCol, int DisplRow) {
    (void)RealCol;
    (void)DisplRow;
    return FFloatFormat;
}

void TExtStringGrid::SetInts(int RealCol, int DisplRow, int Value) {
    SetCells(RealCol, DisplRow, IntToStr(Value));
    if (NumHiddenColumns() > 0) RepaintCell(DisplColIndex(RealCol), DisplRow);
}

int TExtStringGrid::GetInts(int RealCol, int DisplRow) { return TextToInt(GetStrippedCell(RealCol, DisplRow)); }

void TExtStringGrid::SetAllInts(int RealCol, int RealRow, int Value) { SetCellsEx(RealCol, RealRow, IntToStr(Value)); }

int TExtStringGrid::GetAllInts(int RealCol, int RealRow) { return TextToInt(GetCellsEx(RealCol, RealRow)); }

void TExtStringGrid::SetFloats(int RealCol, int DisplRow, double Value) {
    SetCells(RealCol, DisplRow, Format(GetFloatFormat(RealCol, DisplRow), {Value}));
}

double TExtStringGrid::GetFloats(int RealCol, int DisplRow) { return TextToFloat(GetStrippedCell(RealCol, DisplRow)); }

void TExtStringGrid::SetAllFloats(int RealCol, int RealRow, double Value) {
    SetCellsEx(RealCol, RealRow, Format(FFloatFormat, {Value}));
}

double TExtStringGrid::GetAllFloats(int RealCol, int RealRow) { return TextToFloat(GetCellsEx(RealCol, RealRow)); }

void TExtStringGrid::SetDates(int RealCol, int DisplRow, TDateTime Value) {
    SetCells(RealCol, DisplRow, Value > 0 || FShowNullDates ? DateToStr(Value) : QString());
}

TDateTime TExtStringGrid::GetDates(int RealCol, int DisplRow) {
    QString Value = Cells(RealCol, DisplRow);
    GetDisplText(RealCol, DisplRow, Value);
    return StrToDate(Value);
}

void TExtStringGrid::SetTimes(int RealCol, int DisplRow, TDateTime Value) {
    SetCells(RealCol, DisplRow, TimeToStr(Value));
}

TDateTime TExtStringGrid::GetTimes(int RealCol, int DisplRow) {
    QString Value = Cells(RealCol, DisplRow);
    GetDisplText(RealCol, DisplRow, Value);
    return StrToTime(Value);
}

QString TExtStringGrid::GetCtrlVal(int RealCol, int DisplRow, const QString& ID) {
    QString Value;
    if (!GetControlValue(Cells(RealCol, DisplRow), ID, Value)) return QString();
    return Value;
}

void TExtStringGrid::SetCtrlVal(int RealCol, int DisplRow, const QString& ID, const QString& Value) {
    QString Text = Cells(RealCol, DisplRow);
    if (SetControlValue(Text, ID, Value)) SetCells(RealCol, DisplRow, Text);
}

// ---- print figures -------------------------------------------------------------------------------------
namespace {
void CheckPrintCol(int RealCol) {
    if (RealCol < 0 || RealCol > 511) throw EExtGridError("Columns is not in valid range");
}
} // namespace

int TExtStringGrid::GetPrintColWidth(int RealCol) const {
    CheckPrintCol(RealCol);
    return FPrintColWidths[RealCol];
}

int TExtStringGrid::GetPrintColOffset(int RealCol) const {
    CheckPrintCol(RealCol);
    return FPrintColOffsets[RealCol];
}

void TExtStringGrid::SetPrintColWidth(int RealCol, int Value) {
    CheckPrintCol(RealCol);
    FPrintColWidths[RealCol] = Value;
}

void TExtStringGrid::SetPrintColOffset(int RealCol, int Value) {
    CheckPrintCol(RealCol);
    FPrintColOffsets[RealCol] = Value;
}

// ---- headers ------------------------------------------------------------------------------------------
void TExtStringGrid::ShowColumnHeaders() {
    if (FixedRows() <= 0) return;
    const int N = std::min(FColumnHeaders->Count(), TotalColCount());
    for (int RealCol = 0; RealCol < N; ++RealCol)
        SetCells(RealCol, 0, UnescapeLineBreaks(FColumnHeaders->Get(RealCol)));
}

void TExtStringGrid::ClearColumnHeaders() {
    for (int RealCol = 0; RealCol < ColCount(); ++RealCol) SetCells(RealCol, 0, QString());
}

void TExtStringGrid::SetColumnHeaders(TStrings* Value) {
    if (Value != FColumnHeaders.get()) {
        auto Keep = std::move(FColumnHeaders->OnChange);
        FColumnHeaders->OnChange = nullptr;
        FColumnHeaders->Assign(Value);
        FColumnHeaders->OnChange = std::move(Keep);
    }
    if (FixedRows() > 0) ClearColumnHeaders();
    ShowColumnHeaders();
}

void TExtStringGrid::ShowRowHeaders() {
    if (FixedCols() <= 0) return;
    const int N = std::min(FRowHeaders->Count(), RowCount());
    for (int DisplRow = 0; DisplRow < N; ++DisplRow)
        SetCells(0, DisplRow, UnescapeLineBreaks(FRowHeaders->Get(DisplRow)));
}

void TExtStringGrid::ClearRowHeaders() {
    for (int DisplRow = 0; DisplRow < RowCount(); ++DisplRow) SetCells(0, DisplRow, QString());
}

void TExtStringGrid::SetRowHeaders(TStrings* Value) {
    if (Value != FRowHeaders.get()) {
        auto Keep = std::move(FRowHeaders->OnChange);
        FRowHeaders->OnChange = nullptr;
        FRowHeaders->Assign(Value);
        FRowHeaders->OnChange = std::move(Keep);
    }
    if (IsDesigning() && FixedCols() > 0) ClearRowHeaders();
    ShowRowHeaders();
}

// ---- highlighting and marking ------------------------------------------------------------------------------
QString TExtStringGrid::HilightText(bool DoCase, const QString& S, const QString& Text) {
    return HighlightInHTML(S, Text, HiTag, DoCase);
}
QString TExtStringGrid::MarkText(bool DoCase, const QString& S, const QString& Text) {
    return HighlightInHTML(S, Text, MarkTag, DoCase);
}
QString TExtStringGrid::UnHilightText(const QString& S) { return UnhighlightInHTML(S, HiTag); }
QString TExtStringGrid::UnMarkText(const QString& S) { return UnhighlightInHTML(S, MarkTag); }

void TExtStringGrid::TagTextInRange(const TGridRect& RealRange, const QString& HiText, const QString& Tag,
                                    bool DoCase) {
    const QString Needle = EncodeHTMLEntities(HiText, false);
    for (int DisplRow = RealRange.Top; DisplRow <= RealRange.Bottom; ++DisplRow)
        for (int RealCol = RealRange.Left; RealCol <= RealRange.Right; ++RealCol) {
            if (!IsBaseCell(RealCol, DisplRow)) continue;
            QString Text = Cells(RealCol, DisplRow);
            if (OnGetDisplText) GetDisplText(RealCol, DisplRow, Text);
            SetCells(RealCol, DisplRow, HighlightInHTML(EncodeHTMLEntities(Text, false), Needle, Tag, DoCase));
        }
}

void TExtStringGrid::UnTagTextInRange(const TGridRect& RealRange, const QString& Tag) {
    for (int DisplRow = RealRange.Top; DisplRow <= RealRange.Bottom; ++DisplRow)
        for (int RealCol = RealRange.Left; RealCol <= RealRange.Right; ++RealCol) {
            if (!IsBaseCell(RealCol, DisplRow)) continue;
            QString Text = Cells(RealCol, DisplRow);
            if (OnGetDisplText) GetDisplText(RealCol, DisplRow, Text);
            SetCells(RealCol, DisplRow, UnhighlightInHTML(DecodeHTMLEntities(Text, false), Tag));
        }
}

int TExtStringGrid::ColRangeEnd(bool DoFixed, bool WithHidden) const {
    const int Cols = ColCount() + (WithHidden ? NumHiddenColumns() : 0);
    return DoFixed ? Cols - 1 : Cols - FFixedRightCols - 1;
}

namespace {
struct TRowSpan {
    int First;
    int Last;
};
} // namespace

#define EXTGRID_ROWS(DoFixed)                                                                                          \
    (DoFixed ? TRowSpan{0, RowCount() - 1} : TRowSpan{FixedRows(), RowCount() - FFixedFooters - 1})
#define EXTGRID_FIRSTCOL(DoFixed) (DoFixed ? 0 : FixedCols())

void TExtStringGrid::HilightInCell(bool DoCase, int RealCol, int DisplRow, const QString& HiText) {
    TagTextInRange(GridRect(RealCol, DisplRow, RealCol, DisplRow), HiText, HiTag, DoCase);
}
void TExtStringGrid::MarkInCell(bool DoCase, int RealCol, int DisplRow, const QString& HiText) {
    TagTextInRange(GridRect(RealCol, DisplRow, RealCol, DisplRow), HiText, MarkTag, DoCase);
}
void TExtStringGrid::HilightInCol(bool DoFixed, bool DoCase, int RealCol, const QString& HiText) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    TagTextInRange(GridRect(RealCol, R.First, RealCol, R.Last), HiText, HiTag, DoCase);
}
void TExtStringGrid::MarkInCol(bool DoFixed, bool DoCase, int RealCol, const QString& HiText) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    TagTextInRange(GridRect(RealCol, R.First, RealCol, R.Last), HiText, MarkTag, DoCase);
}
void TExtStringGrid::HilightInRow(bool DoFixed, bool DoCase, int DisplRow, const QString& HiText) {
    TagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), DisplRow, ColRangeEnd(DoFixed, false), DisplRow), HiText, HiTag,
                   DoCase);
}
void TExtStringGrid::MarkInRow(bool DoFixed, bool DoCase, int DisplRow, const QString& HiText) {
    TagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), DisplRow, ColRangeEnd(DoFixed, false), DisplRow), HiText,
                   MarkTag, DoCase);
}
void TExtStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    TagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), R.First, ColRangeEnd(DoFixed, !DoFixed), R.Last), HiText, HiTag,
                   DoCase);
}
void TExtStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    TagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), R.First, ColRangeEnd(DoFixed, false), R.Last), HiText, MarkTag,
                   DoCase);
}
void TExtStringGrid::UnHilightInCell(int RealCol, int DisplRow) {
    UnTagTextInRange(GridRect(RealCol, DisplRow, RealCol, DisplRow), HiTag);
}
void TExtStringGrid::UnMarkInCell(int RealCol, int DisplRow) {
    UnTagTextInRange(GridRect(RealCol, DisplRow, RealCol, DisplRow), MarkTag);
}
void TExtStringGrid::UnHilightInCol(bool DoFixed, int RealCol) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    UnTagTextInRange(GridRect(RealCol, R.First, RealCol, R.Last), HiTag);
}
void TExtStringGrid::UnMarkInCol(bool DoFixed, int RealCol) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    UnTagTextInRange(GridRect(RealCol, R.First, RealCol, R.Last), MarkTag);
}
void TExtStringGrid::UnHilightInRow(bool DoFixed, int DisplRow) {
    UnTagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), DisplRow, ColRangeEnd(DoFixed, true), DisplRow), HiTag);
}
void TExtStringGrid::UnMarkInRow(bool DoFixed, int DisplRow) {
    UnTagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), DisplRow, ColRangeEnd(DoFixed, true), DisplRow), MarkTag);
}
void TExtStringGrid::UnHilightInGrid(bool DoFixed) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    UnTagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), R.First, ColRangeEnd(DoFixed, true), R.Last), HiTag);
}
void TExtStringGrid::UnMarkInGrid(bool DoFixed) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    UnTagTextInRange(GridRect(EXTGRID_FIRSTCOL(DoFixed), R.First, ColRangeEnd(DoFixed, true), R.Last), MarkTag);
}

// ---- cell checking ---------------------------------------------------------------------------------------
bool TExtStringGrid::CheckCell(int RealCol, int DisplRow) {
    TExtStringGridCheck* Checker = FCellChecker;
    if (!Checker) return true;
    const QString Unmarked = UnMarkText(Cells(RealCol, DisplRow));
    if (Checker->GotoCell()) {
        const int DisplCol = DisplColIndex(RealCol);
        if (DisplCol >= 0 && DisplCol < ColCount() && DisplRow >= 0 && DisplRow < RowCount())
            MoveColRow(DisplCol, DisplRow, true, true);
    }
    QString Text = Unmarked;
    if (Checker->UseCorrect()) Checker->Correct(this, RealCol, DisplRow, Text, Unmarked);
    if (Checker->UseMarkError()) Checker->MarkError(this, RealCol, DisplRow, Text, Unmarked);
    SetCells(RealCol, DisplRow, Text);
    return Text == Unmarked;
}

bool TExtStringGrid::CheckCells(int FromRealCol, int FromDisplRow, int ToRealCol, int ToDisplRow) {
    TExtStringGridCheck* Checker = FCellChecker;
    if (!Checker) return true;
    const int OldCol = Col();
    const int OldRow = Row();
    Checker->StartCheck();
    bool AllOk = true;
    for (int DisplRow = FromDisplRow; DisplRow <= ToDisplRow; ++DisplRow)
        for (int RealCol = FromRealCol; RealCol <= ToRealCol; ++RealCol)
            if (!CheckCell(RealCol, DisplRow)) AllOk = false;
    Checker->StopCheck();
    if (Checker->GotoCell()) {
        SetRow(OldRow);
        SetCol(OldCol);
    }
    return AllOk;
}

bool TExtStringGrid::CheckCol(bool DoFixed, int RealCol) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    return CheckCells(RealCol, R.First, RealCol, R.Last);
}

bool TExtStringGrid::CheckRow(bool DoFixed, int DisplRow) {
    return CheckCells(EXTGRID_FIRSTCOL(DoFixed), DisplRow, ColRangeEnd(DoFixed, false), DisplRow);
}

bool TExtStringGrid::CheckGrid(bool DoFixed) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    return CheckCells(EXTGRID_FIRSTCOL(DoFixed), R.First, ColRangeEnd(DoFixed, false), R.Last);
}

// ---- fills -----------------------------------------------------------------------------------------------
void TExtStringGrid::FillArea(bool DoFixed, const std::function<QString(int RealCol, int DisplRow)>& Text) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    const int LastCol = ColRangeEnd(DoFixed, false);
    for (int DisplRow = R.First; DisplRow <= R.Last; ++DisplRow)
        for (int RealCol = EXTGRID_FIRSTCOL(DoFixed); RealCol <= LastCol; ++RealCol)
            SetCells(RealCol, DisplRow, Text(RealCol, DisplRow));
    RecalcFooters();
}

void TExtStringGrid::TextFill(bool DoFixed, const QString& Txt) {
    FillArea(DoFixed, [&](int, int) { return Txt; });
}

void TExtStringGrid::FormatFill(bool DoFixed, const QString& Fmt) {
    FillArea(DoFixed, [&](int RealCol, int DisplRow) { return Format(Fmt, {RealCol, DisplRow}); });
}

void TExtStringGrid::RandomFill(bool DoFixed, int Rnd) {
    const TRowSpan R = EXTGRID_ROWS(DoFixed);
    const int LastCol = ColRangeEnd(DoFixed, false);
    for (int DisplRow = R.First; DisplRow <= R.Last; ++DisplRow)
        for (int RealCol = EXTGRID_FIRSTCOL(DoFixed); RealCol <= LastCol; ++RealCol)
            SetInts(RealCol, DisplRow, Rnd > 0 ? int(QRandomGenerator::global()->bounded(Rnd)) : 0);
    RecalcFooters();
}

void TExtStringGrid::LinearFill(bool DoFixed) {
    FillArea(DoFixed, [](int RealCol, int DisplRow) { return QString("%1:%2").arg(RealCol).arg(DisplRow); });
}

// ---- area figures ------------------------------------------------------------------------------------------
TRect TExtStringGrid::UsedCells() {
    TRect R = Rect(0, 0, 0, 0);
    bool Any = false;
    for (int DisplRow = 0; DisplRow < RowCount(); ++DisplRow)
        for (int RealCol = 0; RealCol < ColCount(); ++RealCol) {
            QString Value = Cells(RealCol, DisplRow);
            GetDisplText(RealCol, DisplRow, Value);
            if (Value.isEmpty()) continue;
            if (!Any) {
                R = Rect(RealCol, DisplRow, RealCol, DisplRow);
                Any = true;
            }
            R.Left = std::min(R.Left, RealCol);
            R.Top = std::min(R.Top, DisplRow);
            R.Right = std::max(R.Right, RealCol);
            R.Bottom = std::max(R.Bottom, DisplRow);
        }
    return R;
}

int TExtStringGrid::SaveStartCol() const { return FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols(); }
int TExtStringGrid::SaveStartRow() const { return FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows(); }
int TExtStringGrid::SaveEndCol() const {
    return FSaveFixedCells || FSaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}
int TExtStringGrid::SaveEndRow() const {
    return FSaveFixedCells || FSaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}
int TExtStringGrid::SaveColCount() const {
    return FSaveFixedCells || FSaveFixedCols ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}
int TExtStringGrid::SaveRowCount() const {
    return FSaveFixedCells || FSaveFixedRows ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

void TExtStringGrid::ScreenToCell(TPoint pt, int& DisplCol, int& DisplRow) {
    const TPoint P = ScreenToClient(pt);
    MouseToCell(P.X, P.Y, DisplCol, DisplRow);
}

// ---- footers ----------------------------------------------------------------------------------------------
void TExtStringGrid::CalcFooter(int RealCol) { CalcFooterCells(RealCol); }

void TExtStringGrid::UpdateFooter() {
    if (FFooterPanel) FFooterPanel->Invalidate();
}

void TExtStringGrid::CalcFooterCells(int RealCol) {
    if (!FFloatingFooter->Visible() || FFloatingFooter->FooterStyle() != fsFixedLastRow ||
        !FFloatingFooter->EnableCalculation())
        return;
    const int FooterRow = RowCount() - 1;
    const int First = RealCol < 0 ? 0 : RealCol;
    const int Last = RealCol < 0 ? ColCount() + NumHiddenColumns() - 1 : RealCol;
    const int h = FFloatingFooter->CalculateHiddenRows() ? NumHiddenRows() : 0;
    const int FromRealRow = FixedRows();
    const int ToRealRow = h + RowCount() - 2;
    for (int C = First; C <= Last; ++C) {
        if (!HasCellProperties(C, FooterRow)) continue;
        const TColumnCalcType Calc = GetCellProperties(C, FooterRow)->CalcType();
        if (Calc == acNONE || Calc == acSPREAD) continue;
        // The column's values over the data rows by real row, hidden rows included as asked.
        // Without the hidden rows the data rows are the visible ones above the footer.
        std::vector<double> Values;
        auto Add = [&](int RealRow) {
            try {
                Values.push_back(GetAllFloats(C, RealRow));
            } catch (const EExtGridError&) {
                Values.push_back(0);
            }
        };
        if (FFloatingFooter->CalculateHiddenRows())
            for (int RealRow = FromRealRow; RealRow <= ToRealRow; ++RealRow) Add(RealRow);
        else
            for (int DisplRow = FixedRows(); DisplRow <= RowCount() - 2; ++DisplRow) Add(RealRowIndex(DisplRow));
        double Sum = 0;
        for (double V : Values) Sum += V;
        const double Avg = Values.empty() ? 0 : Sum / double(Values.size());
        switch (Calc) {
            case acSUM: SetFloats(C, FooterRow, Sum); break;
            case acAVG: SetFloats(C, FooterRow, Avg); break;
            case acCOUNT: SetInts(C, FooterRow, h + RowCount() - FixedRows() - 1); break;
            case acMIN:
                SetFloats(C, FooterRow, Values.empty() ? 0 : *std::min_element(Values.begin(), Values.end()));
                break;
            case acMAX:
                SetFloats(C, FooterRow, Values.empty() ? 0 : *std::max_element(Values.begin(), Values.end()));
                break;
            case acDISTINCT:
                SetFloats(C, FooterRow, double(std::set<double>(Values.begin(), Values.end()).size()));
                break;
            case acSTDDEV: {
                double Sq = 0;
                for (double V : Values) Sq += (V - Avg) * (V - Avg);
                SetFloats(C, FooterRow, Values.size() > 1 ? std::sqrt(Sq / double(Values.size() - 1)) : 0);
                break;
            }
            case acCUSTOM: {
                QString Value;
                if (OnFooterCalc)
                    OnFooterCalc(this, C, h + RowCount() - 1, Value);
                else if (FFloatingFooter->OnCalcFooter)
                    FFloatingFooter->OnCalcFooter(this, C, h + RowCount() - 1, Value);
                SetCells(C, FooterRow, Value);
                break;
            }
            default: break;
        }
    }
}

// ---- merged columns ---------------------------------------------------------------------------------------
void TExtStringGrid::MergedColumnsChanged() {
    for (int RealCol = 0; RealCol < ColCount(); ++RealCol) SplitColumnCells(RealCol);
    for (int i = 0; i < FMergedColumns->Count(); ++i) MergeColumnCells(FMergedColumns->GetInteger(i), i == 0);
}

void TExtStringGrid::SplitColumnCells(int RealCol) {
    int DisplRow = 0;
    while (DisplRow < RowCount() - FFixedFooters - 1) {
        if (IsYMergedCell(RealCol, DisplRow) && IsBaseCell(RealCol, DisplRow)) {
            const int Span = CellSpan(RealCol, DisplRow).Y;
            SplitCells(RealCol, DisplRow);
            DisplRow += std::max(1, Span + 1);
        } else
            ++DisplRow;
    }
}

void TExtStringGrid::MergeColumnCells(int RealCol, bool MainMerge) {
    const int Last = RowCount() - FFixedFooters - 1;
    int Start = FixedRows();
    for (int DisplRow = FixedRows() + 1; DisplRow <= Last + 1; ++DisplRow) {
        const bool Same = DisplRow <= Last && Cells(RealCol, DisplRow) == Cells(RealCol, DisplRow - 1) &&
            (MainMerge || RowSpanIdentical(DisplRow, DisplRow - 1));
        if (Same) continue;
        if (DisplRow - Start > 1) MergeCells(RealCol, Start, 1, DisplRow - Start);
        Start = DisplRow;
    }
}
