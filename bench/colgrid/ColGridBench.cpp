// Automatic column sizing of the column grid against its goal, in one run: AutoSizeColumns over
// 100,000 rows x 10 columns takes at most 1.5x a plain loop that measures the same texts with the
// same font's metrics.
#include "bench/support/TimesReporter.h"
#include "grid/control/ExtCGrid.h"

#include <QApplication>
#include <QFontMetrics>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 10;

QString CellText(int R, int C) { return QString::number(size_t(R) * 7919 + size_t(C) * 104729, 36); }

std::unique_ptr<TExtColumnGrid> MakeGrid() {
    auto G = std::make_unique<TExtColumnGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) G->SetGridCell(c, r, CellText(r, c));
    return G;
}

// Processor time of this thread: other work on the machine moves wall time far more.
double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

int Sink = 0;

void BM_AutoSizeColumns(benchmark::State& State) {
    auto G = MakeGrid();
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        G->AutoSizeColumns(true, 0);
        State.SetIterationTime(ThreadSeconds() - T0);
    }
    Sink += G->ColWidths(3);
}

// The same texts, read from the same grid, measured with the metrics of the fonts the cells use.
void BM_PlainMeasureLoop(benchmark::State& State) {
    auto G = MakeGrid();
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        const QFontMetrics Fixed(G->FixedFont()->ToQFont());
        const QFontMetrics Normal(G->Columns()->Items(1)->Font()->ToQFont());
        const QFontMetrics Header(G->Columns()->Items(1)->HeaderFont()->ToQFont());
        for (int c = 0; c < Cols; ++c) {
            int Max = 0;
            for (int r = 0; r < Rows; ++r) {
                const QFontMetrics& M = c == 0 ? Fixed : r == 0 ? Header : Normal;
                Max = std::max(Max, M.horizontalAdvance(G->GetGridCell(c, r)));
            }
            Sink += Max;
        }
        State.SetIterationTime(ThreadSeconds() - T0);
    }
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    RegisterManualTimed({{"AutoSizeColumns", BM_AutoSizeColumns}, {"PlainMeasureLoop", BM_PlainMeasureLoop}}, 1, 5);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    const double A = Reporter.Time("AutoSizeColumns"), P = Reporter.Time("PlainMeasureLoop");
    std::printf("\nTExtColumnGrid, %d rows x %d columns\n", Rows, Cols);
    if (A > 0 && P > 0)
        std::printf("  AutoSizeColumns %8.1f ms vs plain measuring loop %8.1f ms   ratio %.2f (goal <= 1.5)\n", A, P,
                    A / P);
    return Sink == -1;
}
