// Saving and loading a grid of 1,000,000 rows x 10 columns as CSV, against the plainest loops that
// write the same lines to a file, or read the file and split its lines into the grid's cells.
// The files live in memory (/dev/shm where there is one), so the disk's speed weighs on neither
// side. Prints both ratios at the end of the run (goal: each within 2x).
#include "bench/support/TimesReporter.h"
#include "grid/control/ExtGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr int Rows = 1000000;
constexpr int Cols = 10;

QString Folder() { return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath(); }
QString SubjectFile() { return Folder() + QStringLiteral("/tessaro_bench_grid.csv"); }
QString HandFile() { return Folder() + QStringLiteral("/tessaro_bench_hand.csv"); }

QString RandomWord(std::mt19937& Rng) {
    static const char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-";
    const int Len = 3 + int(Rng() % 8);
    QString S;
    S.reserve(Len);
    // Fields start with a letter and hold no delimiter, quote or blank: both sides write them bare.
    S += QChar('a' + int(Rng() % 26));
    for (int I = 1; I < Len; ++I) S += QChar(Alphabet[Rng() % (sizeof(Alphabet) - 1)]);
    return S;
}

std::unique_ptr<TExtStringGrid> NewGrid() {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(Rows);
    return G;
}

TExtStringGrid* Source() {
    static std::unique_ptr<TExtStringGrid> G = [] {
        auto Grid = NewGrid();
        std::mt19937 Rng(5);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c) Grid->SetCells(c, r, RandomWord(Rng));
        return Grid;
    }();
    return G.get();
}

void BM_SaveHandLoop(benchmark::State& State) {
    TExtStringGrid* G = Source();
    for (auto _ : State) {
        QString Out;
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Cols; ++c) {
                if (c) Out += QLatin1Char(',');
                Out += G->Cells(c, r);
            }
            Out += QLatin1String("\r\n");
        }
        QFile F(HandFile());
        F.open(QIODevice::WriteOnly | QIODevice::Truncate);
        F.write(Out.toLatin1());
    }
}

void BM_SaveToCSV(benchmark::State& State) {
    TExtStringGrid* G = Source();
    for (auto _ : State) G->SaveToCSV(SubjectFile());
}

void BM_LoadHandLoop(benchmark::State& State) {
    Source()->SaveToCSV(HandFile());
    auto G = NewGrid();
    for (auto _ : State) {
        QFile F(HandFile());
        F.open(QIODevice::ReadOnly);
        const QString Text = QString::fromLatin1(F.readAll());
        qsizetype Start = 0;
        int r = 0;
        while (Start < Text.size()) {
            qsizetype End = Text.indexOf(QLatin1String("\r\n"), Start);
            if (End < 0) End = Text.size();
            int c = 0;
            qsizetype From = Start;
            for (;;) {
                const qsizetype Comma = Text.indexOf(QLatin1Char(','), From);
                if (Comma < 0 || Comma > End) break;
                G->SetCells(c++, r, Text.mid(From, Comma - From));
                From = Comma + 1;
            }
            G->SetCells(c, r, Text.mid(From, End - From));
            ++r;
            Start = End + 2;
        }
        benchmark::DoNotOptimize(r);
    }
}

void BM_LoadFromCSV(benchmark::State& State) {
    Source()->SaveToCSV(SubjectFile());
    auto G = NewGrid();
    G->SetDelimiter(QChar(',')); // the hand loop knows its delimiter too
    for (auto _ : State) G->LoadFromCSV(SubjectFile());
    if (G->GetGridCell(Cols - 1, Rows - 1) != Source()->GetGridCell(Cols - 1, Rows - 1))
        std::printf("LoadFromCSV read the file otherwise!\n");
}

void PrintRatio(const TTimesReporter& R, const char* What, const char* Subject, const char* Baseline) {
    const double S = R.Time(Subject), B = R.Time(Baseline);
    if (S <= 0 || B <= 0) {
        std::printf("%s: not measured in this run\n", What);
        return;
    }
    std::printf("%s: %.2fx the hand loop (%.0f ms vs %.0f ms) (goal: within 2x)\n", What, S / B, S, B);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    Source(); // the data is made outside the timed loops
    using TBench = void (*)(benchmark::State&);
    const std::pair<const char*, TBench> Benches[] = {{"SaveHandLoop", BM_SaveHandLoop},
                                                      {"SaveToCSV", BM_SaveToCSV},
                                                      {"LoadHandLoop", BM_LoadHandLoop},
                                                      {"LoadFromCSV", BM_LoadFromCSV}};
    for (auto [Name, Fn] : Benches)
        benchmark::RegisterBenchmark(Name, Fn)->Iterations(1)->Repetitions(3)->DisplayAggregatesOnly(true)->Unit(
            benchmark::kMillisecond);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    std::printf("\n");
    PrintRatio(Reporter, "SaveToCSV of 1,000,000 rows x 10 columns", "SaveToCSV", "SaveHandLoop");
    PrintRatio(Reporter, "LoadFromCSV of 1,000,000 rows x 10 columns", "LoadFromCSV", "LoadHandLoop");
    QFile::remove(SubjectFile());
    QFile::remove(HandFile());
    return 0;
}
