// The string grid's core against its goals, in one run:
// - filling 1,000,000 rows x 10 columns of text through Cells, against QTableWidget: at least 3x
//   faster and at least 3x fewer heap bytes per cell;
// - hiding every second row of the grid and showing them all again grows linearly: the time at
//   1,000,000 rows at most 4.4x the time at 250,000 rows;
// - RealRowIndex and DisplRowIndex with half the rows hidden: at most 2x slower at 1,000,000 rows
//   than at 100,000.
#include "bench/support/TimesReporter.h"
#include "grid/control/ExtGrid.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Rows = 1000000;
constexpr int Cols = 10;

std::map<std::string, double> BytesPerCell;

size_t HeapInUse() { return mallinfo2().uordblks; }

// Texts of one length made before the clock starts, from a pool (as for the base grid's figures).
const std::vector<QString>& TextPool() {
    static const std::vector<QString> Pool = [] {
        std::vector<QString> P;
        for (int I = 0; I < 4099; ++I) P.push_back(QString::number(10000000 + I * 7919));
        return P;
    }();
    return Pool;
}
const QString& CellText(int R, int C) {
    const auto& P = TextPool();
    return P[(size_t(R) * Cols + size_t(C)) % P.size()];
}

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point T0) { return std::chrono::duration<double>(Clock::now() - T0).count(); }

// Processor time of this thread: the scaling figures compare two sizes, and other work on the
// machine moves wall time far more than this.
double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

std::unique_ptr<TExtStringGrid> MakeGrid(int RowCount, bool Fill) {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(RowCount);
    if (Fill)
        for (int R = 0; R < RowCount; ++R)
            for (int C = 0; C < Cols; ++C) G->SetCells(C, R, CellText(R, C));
    return G;
}

void BM_FillExtGrid(benchmark::State& State) {
    for (auto _ : State) {
        TextPool();
        const size_t Before = HeapInUse();
        auto G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(Cols);
        G->SetRowCount(Rows);
        const auto T0 = Clock::now();
        for (int R = 0; R < Rows; ++R)
            for (int C = 0; C < Cols; ++C) G->SetCells(C, R, CellText(R, C));
        State.SetIterationTime(Since(T0));
        BytesPerCell["grid"] = double(HeapInUse() - Before) / (double(Rows) * Cols);
    }
}

void BM_FillTableWidget(benchmark::State& State) {
    for (auto _ : State) {
        TextPool();
        const size_t Before = HeapInUse();
        auto Table = std::make_unique<QTableWidget>();
        Table->setColumnCount(Cols);
        Table->setRowCount(Rows);
        const auto T0 = Clock::now();
        for (int R = 0; R < Rows; ++R)
            for (int C = 0; C < Cols; ++C) Table->setItem(R, C, new QTableWidgetItem(CellText(R, C)));
        State.SetIterationTime(Since(T0));
        BytesPerCell["table"] = double(HeapInUse() - Before) / (double(Rows) * Cols);
    }
}

// Hides every second row as one filter step and shows every hidden row again.
void BM_HideUnhideHalf(benchmark::State& State, int N) {
    auto G = MakeGrid(N, true);
    G->HideColumn(3);
    TIntList EverySecond(0, 0);
    for (int R = 1; R < N; R += 2) EverySecond.Add(R);
    // Once untimed, so that the heap has grown to what the operation needs: the figure is the
    // operation's work, not the system's first touch of fresh pages.
    G->HideRowList(&EverySecond);
    G->UnHideRowsAll();
    G->SetFilterLevel(0);
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        G->HideRowList(&EverySecond);
        G->UnHideRowsAll();
        State.SetIterationTime(ThreadSeconds() - T0);
        G->SetFilterLevel(0);
        if (G->RowCount() != N) State.SkipWithError("rows lost");
    }
}

// One lookup in each direction per step, at random rows, with every second row hidden.
void BM_RowIndexLookups(benchmark::State& State, int N) {
    auto G = MakeGrid(N, false);
    TIntList EverySecond(0, 0);
    for (int R = 1; R < N; R += 2) EverySecond.Add(R);
    G->HideRowList(&EverySecond);
    std::vector<int> Probe(1 << 16);
    QRandomGenerator Rng(7);
    for (int& P : Probe) P = int(Rng.bounded(G->RowCount()));
    constexpr int Lookups = 1 << 20;
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        long Sum = 0;
        for (int i = 0; i < Lookups; ++i) {
            const int DisplRow = Probe[size_t(i) & (Probe.size() - 1)];
            Sum += G->DisplRowIndex(G->RealRowIndex(DisplRow) + (i & 1));
        }
        benchmark::DoNotOptimize(Sum);
        State.SetIterationTime((ThreadSeconds() - T0) / Lookups * 1e6); // reported per million lookups
    }
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    RegisterManualTimed({{"FillExtGrid", BM_FillExtGrid}, {"FillTableWidget", BM_FillTableWidget}}, 1, 1);
    // The scaling figures are medians of a few repetitions: the machine's load varies.
    for (int N : {250000, 1000000})
        ManualTimed(benchmark::RegisterBenchmark(("HideUnhideHalf_" + std::to_string(N)).c_str(), BM_HideUnhideHalf, N),
                    5, 9);
    for (int N : {100000, 1000000})
        ManualTimed(
            benchmark::RegisterBenchmark(("RowIndexLookups_" + std::to_string(N)).c_str(), BM_RowIndexLookups, N), 0,
            5);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();

    auto T = [&](const std::string& Name) { return Reporter.Time(Name); };
    auto B = [](const char* K) { return BytesPerCell.count(K) ? BytesPerCell[K] : 0.0; };
    std::printf("\nTExtStringGrid, %d rows x %d columns of text\n", Rows, Cols);
    const double FillGrid = T("FillExtGrid"), FillTable = T("FillTableWidget");
    if (FillGrid > 0 && FillTable > 0)
        std::printf("  fill through Cells   %9.1f ms vs QTableWidget %9.1f ms   QTableWidget/grid %.2fx (goal >= 3)\n",
                    FillGrid, FillTable, FillTable / FillGrid);
    if (B("grid") > 0 && B("table") > 0)
        std::printf("  heap bytes per cell  %9.1f    vs QTableWidget %9.1f      QTableWidget/grid %.2fx (goal >= 3)\n",
                    B("grid"), B("table"), B("table") / B("grid"));
    const double Hide250 = T("HideUnhideHalf_250000"), Hide1M = T("HideUnhideHalf_1000000");
    if (Hide250 > 0 && Hide1M > 0)
        std::printf("  hide every 2nd row and show all (CPU): 1M rows %8.1f ms vs 250k rows %8.1f ms  ratio %.2f (goal "
                    "<= 4.4)\n",
                    Hide1M, Hide250, Hide1M / Hide250);
    const double Look100 = T("RowIndexLookups_100000"), Look1M = T("RowIndexLookups_1000000");
    if (Look100 > 0 && Look1M > 0)
        std::printf(
            "  RealRowIndex + DisplRowIndex, half hidden (CPU): 1M rows %6.1f ns vs 100k rows %6.1f ns  ratio %.2f "
            "(goal <= 2)\n",
            Look1M, Look100, Look1M / Look100);
    return 0;
}
