// Sorting and filtering a grid of 1,000,000 rows against their goals, in one run:
// - QSort by one text column and by one numeric column each take at most 1.5x std::stable_sort
//   of the same (key, row) pairs with the same comparison;
// - ApplyFilter with a wildcard condition takes at most 2x a hand loop that reads the same cells
//   and calls the compiled condition.
#include "bench/support/TimesReporter.h"
#include "grid/base/ExtUtil.h"
#include "grid/control/ExtGrid.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

constexpr int Rows = 1000000;
constexpr int TextCol = 1;
constexpr int NumCol = 2;
const QString Condition = QStringLiteral("*ab*");

// Column 0 numbers the rows, column 1 holds random words, column 2 random decimal numbers.
std::unique_ptr<TExtStringGrid> MakeGrid() {
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(3);
    G->SetRowCount(Rows + 1);
    G->SetFixedRows(1);
    std::mt19937 Rng(12345);
    std::uniform_int_distribution<int> Letter(0, 25), Len(5, 12), Num(0, 99999999);
    for (int r = 1; r <= Rows; ++r) {
        QString W;
        const int N = Len(Rng);
        for (int i = 0; i < N; ++i) W += QChar('a' + Letter(Rng));
        G->SetGridCell(0, r, QString::number(r));
        G->SetGridCell(TextCol, r, W);
        G->SetGridCell(NumCol, r, QString::number(Num(Rng) - 50000000) + "." + QString::number(Num(Rng) % 100));
    }
    return G;
}

TExtStringGrid& Grid() {
    static std::unique_ptr<TExtStringGrid> G = MakeGrid();
    return *G;
}

// Processor time of this thread: other work on the machine moves wall time far more.
double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

long Sink = 0;

void SortGrid(benchmark::State& State, int Col) {
    TExtStringGrid& G = Grid();
    for (auto _ : State) {
        G.QUnSort(); // the rows as they were made
        const double T0 = ThreadSeconds();
        G.Sort(Col, sdAscending);
        State.SetIterationTime(ThreadSeconds() - T0);
    }
    G.QUnSort();
    Sink += G.GetGridCell(0, 1).size();
}

template <typename Key, typename Less>
void SortPairs(benchmark::State& State, int Col, Key&& ToKey, Less&& L) {
    TExtStringGrid& G = Grid();
    using K = decltype(ToKey(QString()));
    std::vector<std::pair<K, int>> Pristine;
    Pristine.reserve(Rows);
    for (int r = 1; r <= Rows; ++r) Pristine.emplace_back(ToKey(G.GetGridCell(Col, r)), r);
    for (auto _ : State) {
        auto Pairs = Pristine;
        const double T0 = ThreadSeconds();
        std::stable_sort(Pairs.begin(), Pairs.end(), [&](const auto& A, const auto& B) { return L(A.first, B.first); });
        State.SetIterationTime(ThreadSeconds() - T0);
        Sink += Pairs.front().second;
    }
}

void BM_SortText(benchmark::State& State) { SortGrid(State, TextCol); }
void BM_SortNumeric(benchmark::State& State) { SortGrid(State, NumCol); }
void BM_StableSortTextPairs(benchmark::State& State) {
    SortPairs(
        State, TextCol, [](const QString& S) { return S; },
        [](const QString& A, const QString& B) { return QString::compare(A, B, Qt::CaseSensitive) < 0; });
}
void BM_StableSortNumericPairs(benchmark::State& State) {
    SortPairs(
        State, NumCol, [](const QString& S) { return S.toDouble(); }, [](double A, double B) { return A < B; });
}

void BM_ApplyFilter(benchmark::State& State) {
    TExtStringGrid& G = Grid();
    G.Filter()->Clear();
    TFilterData* D = G.Filter()->Add();
    D->SetColumn(TextCol);
    D->SetCondition(Condition);
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        G.ApplyFilter();
        State.SetIterationTime(ThreadSeconds() - T0);
        Sink += G.RowCount();
        G.RemoveLastFilter();
    }
}

void BM_HandFilterLoop(benchmark::State& State) {
    TExtStringGrid& G = Grid();
    for (auto _ : State) {
        const double T0 = ThreadSeconds();
        const TCompiledCondition C(Condition, true);
        std::vector<int> Failing;
        for (int r = 1; r <= Rows; ++r)
            if (!C.Match(G.GetCellEx(TextCol, r))) Failing.push_back(r);
        State.SetIterationTime(ThreadSeconds() - T0);
        Sink += long(Failing.size());
    }
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    RegisterManualTimed({{"SortText", BM_SortText},
                         {"StableSortTextPairs", BM_StableSortTextPairs},
                         {"SortNumeric", BM_SortNumeric},
                         {"StableSortNumericPairs", BM_StableSortNumericPairs},
                         {"ApplyFilter", BM_ApplyFilter},
                         {"HandFilterLoop", BM_HandFilterLoop}},
                        1, 5);
    TTimesReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    std::printf("\nTExtStringGrid, %d rows\n", Rows);
    auto Ratio = [&](const char* What, const char* A, const char* B, const char* Base, double Goal) {
        const double TA = Reporter.Time(A), TB = Reporter.Time(B);
        if (TA > 0 && TB > 0)
            std::printf("  %-28s %8.1f ms vs %-34s %8.1f ms   ratio %.2f (goal <= %.1f)\n", What, TA, Base, TB, TA / TB,
                        Goal);
    };
    Ratio("QSort by a text column", "SortText", "StableSortTextPairs", "std::stable_sort of (text, row)", 1.5);
    Ratio("QSort by a numeric column", "SortNumeric", "StableSortNumericPairs", "std::stable_sort of (number, row)",
          1.5);
    Ratio("ApplyFilter \"*ab*\"", "ApplyFilter", "HandFilterLoop", "hand loop over the compiled condition", 2.0);
    return Sink == -1;
}
