// Repainting a 40-row x 10-column view of the string grid in its default look, with a colour and
// an alignment of its own in every cell and a check box in one column, against QTableWidget
// painting the same view with the same item colours, alignments and check states; and the same
// view of a 1,000,000-row grid against a 100-row grid.
// Goals: at most 1.5x QTableWidget; the 1M-row view within 1.2x of the 100-row view.
#include "grid/control/ExtGrid.h"

#include <QApplication>
#include <QImage>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Cols = 10;
constexpr int ViewRows = 40;
constexpr int RowH = 24;
constexpr int ColW = 72;
constexpr int CheckCol = 1;

std::map<std::string, double> Seconds;

TColor CellColor(int R, int C) { return TColor(0xE0E0E0 + ((R * 7 + C * 13) % 24) * 0x010101); }
TAlignment CellAlign(int C) { return C % 3 == 0 ? taLeftJustify : C % 3 == 1 ? taCenter : taRightJustify; }
bool Checked(int R) { return R % 3 == 0; }
QString Text(int R, int C) { return QString::number(10000 + R * 17 + C); }

// The grid's cells of the rows that are shown (the top view and the bottom view) get their own
// colour and alignment, and the check-box column its check-box cell objects.
std::unique_ptr<TExtStringGrid> MakeGrid(int Rows) {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(Rows);
    G->SetDefaultColWidth(ColW);
    G->SetDefaultRowHeight(RowH);
    G->SetBounds(0, 0, Cols * (ColW + 1) + 4, (ViewRows + 1) * (RowH + 1));
    for (int R = 0; R < Rows; ++R)
        for (int C = 0; C < Cols; ++C) G->SetCells(C, R, Text(R, C));
    auto Style = [&](int R) {
        for (int C = 1; C < Cols; ++C) {
            TCellProperties* P = G->GetCellProperties(C, R);
            P->SetBrushColor(CellColor(R, C));
            P->SetAlignment(CellAlign(C));
        }
        if (G->GetGraphicObjectEx(CheckCol, R)) return;
        auto* Box = new TCellGraphic;
        Box->SetCheckBox(Checked(R), false, false, haBeforeText, vaCenter);
        G->SetGraphicObjectEx(CheckCol, R, Box);
    };
    for (int R = 1; R < std::min(Rows, ViewRows + 2); ++R) Style(R);
    for (int R = std::max(1, Rows - ViewRows - 2); R < Rows; ++R) Style(R);
    // editable cells draw their check boxes enabled, as the table's items are
    G->SetOptions(G->Options() << goEditing);
    return G;
}

std::unique_ptr<QTableWidget> MakeTable() {
    auto T = std::make_unique<QTableWidget>();
    const int Rows = ViewRows + 2;
    T->setColumnCount(Cols);
    T->setRowCount(Rows);
    T->resize(Cols * (ColW + 1) + 4, (ViewRows + 1) * (RowH + 1));
    for (int C = 0; C < Cols; ++C) T->setColumnWidth(C, ColW);
    for (int R = 0; R < Rows; ++R) {
        T->setRowHeight(R, RowH);
        for (int C = 0; C < Cols; ++C) {
            auto* It = new QTableWidgetItem(Text(R, C));
            const TColor Col = CellColor(R, C);
            It->setBackground(QColor(Col & 0xFF, (Col >> 8) & 0xFF, (Col >> 16) & 0xFF));
            const TAlignment A = CellAlign(C);
            It->setTextAlignment(Qt::AlignVCenter |
                                 (A == taLeftJustify  ? Qt::AlignLeft
                                      : A == taCenter ? Qt::AlignHCenter
                                                      : Qt::AlignRight));
            if (C == CheckCol) It->setCheckState(Checked(R) ? Qt::Checked : Qt::Unchecked);
            T->setItem(R, C, It);
        }
    }
    return T;
}

double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

// Each round paints the measured widget and its baseline one after the other, so that load from
// other work on the machine falls on both; the ratio is the median of the rounds' ratios.
double Render(QWidget* W, QImage& Img) {
    const double T0 = ThreadSeconds();
    W->render(&Img);
    return ThreadSeconds() - T0;
}

void PairLoop(benchmark::State& State, QWidget* Measured, QWidget* Baseline, const std::string& Name) {
    QImage A(Measured->size(), QImage::Format_RGB32), B(Baseline->size(), QImage::Format_RGB32);
    std::vector<double> Ratios, Times, BaseTimes;
    for (auto _ : State) {
        const double TM = Render(Measured, A), TB = Render(Baseline, B);
        Times.push_back(TM);
        BaseTimes.push_back(TB);
        Ratios.push_back(TM / TB);
    }
    if (Ratios.empty()) return;
    auto Median = [](std::vector<double>& V) {
        std::nth_element(V.begin(), V.begin() + long(V.size() / 2), V.end());
        return V[V.size() / 2];
    };
    Seconds[Name + " ratio"] = Median(Ratios);
    Seconds[Name] = Median(Times);
    Seconds[Name + " base"] = Median(BaseTimes);
}

std::unique_ptr<TExtStringGrid> Big, Small;
std::unique_ptr<QTableWidget> Table;

void Prepare() {
    if (!Small) Small = MakeGrid(100);
    if (!Big) Big = MakeGrid(1000000);
    if (!Table) Table = MakeTable();
}

void BM_GridVsTable(benchmark::State& State) {
    Prepare();
    PairLoop(State, Small.get(), Table.get(), "grid vs table");
}

void BM_Grid1MTopVs100(benchmark::State& State) {
    Prepare();
    Big->SetTopRow(1);
    PairLoop(State, Big.get(), Small.get(), "1M top vs 100");
}

void BM_Grid1MBottomVs100(benchmark::State& State) {
    Prepare();
    Big->SetTopRow(Big->RowCount() - 1);
    PairLoop(State, Big.get(), Small.get(), "1M bottom vs 100");
}

} // namespace

BENCHMARK(BM_GridVsTable)->MinTime(2.0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Grid1MTopVs100)->MinTime(2.0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Grid1MBottomVs100)->MinTime(2.0)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto Get = [](const std::string& K) { return Seconds.count(K) ? Seconds[K] : 0.0; };
    std::printf("\nTExtStringGrid cell painting, %d-row x %d-column view, colours, alignments, check boxes\n", ViewRows,
                Cols);
    struct {
        const char* Key;
        const char* Label;
        const char* Goal;
    } Lines[] = {{"grid vs table", "grid (100 rows) vs QTableWidget", "<= 1.5"},
                 {"1M top vs 100", "1M rows at the top vs 100 rows", "<= 1.2"},
                 {"1M bottom vs 100", "1M rows at the bottom vs 100 rows", "<= 1.2"}};
    for (const auto& L : Lines)
        if (Get(std::string(L.Key) + " ratio") > 0)
            std::printf("  %-34s %8.1f us vs %8.1f us   ratio %.2f (goal %s)\n", L.Label, Get(L.Key) * 1e6,
                        Get(std::string(L.Key) + " base") * 1e6, Get(std::string(L.Key) + " ratio"), L.Goal);
    Big.reset();
    Small.reset();
    Table.reset();
    return 0;
}
