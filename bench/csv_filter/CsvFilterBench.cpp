// How the grid's CSV field splitter and filter matcher compare with the plainest loops doing the
// same job: splitting 1,000,000 lines of 10 fields, and matching a wildcard filter against
// 1,000,000 cell texts. Prints both ratios at the end of the run (goal for CSV: within 2x).
#include "bench/support/TimesReporter.h"
#include "grid/base/ExtUtil.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

constexpr int LineCount = 1000000;
constexpr int FieldCount = 10;

QString RandomWord(std::mt19937& Rng, int MinLen, int MaxLen) {
    static const char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ._-";
    const int Len = MinLen + int(Rng() % unsigned(MaxLen - MinLen + 1));
    QString S;
    S.reserve(Len);
    for (int I = 0; I < Len; ++I) S += QChar(Alphabet[Rng() % (sizeof(Alphabet) - 1)]);
    return S;
}

// Fields never start with a blank or a quote, so both splitters see the same fields.
const QStringList& CsvLines() {
    static const QStringList Lines = [] {
        std::mt19937 Rng(7);
        QStringList L;
        L.reserve(LineCount);
        for (int I = 0; I < LineCount; ++I) {
            QString Line;
            for (int F = 0; F < FieldCount; ++F) {
                if (F) Line += QChar(',');
                Line += QChar('a' + int(Rng() % 26)) + RandomWord(Rng, 2, 9);
            }
            L << Line;
        }
        return L;
    }();
    return Lines;
}

const QStringList& CellTexts() {
    static const QStringList Texts = [] {
        std::mt19937 Rng(11);
        QStringList T;
        T.reserve(LineCount);
        for (int I = 0; I < LineCount; ++I) T << RandomWord(Rng, 4, 24);
        return T;
    }();
    return Texts;
}

void BM_CsvHandLoop(benchmark::State& State) {
    const QStringList& Lines = CsvLines();
    for (auto _ : State) {
        qsizetype Fields = 0;
        for (const QString& Line : Lines) {
            QStringList Out;
            qsizetype Start = 0;
            for (;;) {
                const qsizetype Comma = Line.indexOf(QChar(','), Start);
                if (Comma < 0) break;
                Out.append(Line.mid(Start, Comma - Start));
                Start = Comma + 1;
            }
            Out.append(Line.mid(Start));
            Fields += Out.size();
        }
        benchmark::DoNotOptimize(Fields);
    }
}

void BM_CsvSplitCSVLine(benchmark::State& State) {
    const QStringList& Lines = CsvLines();
    for (auto _ : State) {
        qsizetype Fields = 0;
        for (const QString& Line : Lines) Fields += SplitCSVLine(Line, QChar(','), false).size();
        benchmark::DoNotOptimize(Fields);
    }
}

void BM_FilterHandLoop(benchmark::State& State) {
    const QStringList& Texts = CellTexts();
    for (auto _ : State) {
        int Hits = 0;
        for (const QString& T : Texts) Hits += T.contains(QStringLiteral("ab"));
        benchmark::DoNotOptimize(Hits);
    }
}

void BM_FilterMatchCondition(benchmark::State& State) {
    const QStringList& Texts = CellTexts();
    const QString Condition = QStringLiteral("*ab*");
    for (auto _ : State) {
        int Hits = 0;
        for (const QString& T : Texts) Hits += MatchCondition(Condition, T, true);
        benchmark::DoNotOptimize(Hits);
    }
}

BENCHMARK(BM_CsvHandLoop)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CsvSplitCSVLine)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FilterHandLoop)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FilterMatchCondition)->Unit(benchmark::kMillisecond)->Iterations(5);

// Keeps each benchmark's time per iteration besides printing the usual table.

void PrintRatio(const TTimesReporter& R, const char* What, const std::string& Subject, const std::string& Baseline,
                const char* Goal) {
    const auto S = R.Times.find(Subject);
    const auto B = R.Times.find(Baseline);
    if (S == R.Times.end() || B == R.Times.end() || B->second <= 0) {
        std::printf("%s: not measured in this run\n", What);
        return;
    }
    std::printf("%s: %.2fx the hand loop (%.1f ms vs %.1f ms)%s\n", What, S->second / B->second, S->second, B->second,
                Goal);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CsvLines(); // build the data outside the timed loops
    CellTexts();
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    std::printf("\n");
    PrintRatio(Reporter, "CSV split of 1,000,000 lines x 10 fields", "BM_CsvSplitCSVLine", "BM_CsvHandLoop",
               " (goal: within 2x)");
    PrintRatio(Reporter, "Wildcard filter *ab* on 1,000,000 cell texts", "BM_FilterMatchCondition", "BM_FilterHandLoop",
               "");
    benchmark::Shutdown();
    return 0;
}
