#pragma once
// The console report of Google Benchmark, keeping each benchmark's time by its function name so a
// program can print its ratios at the end: the median of repeated runs, or the single run's time.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

class TTimesReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Times; // in each benchmark's own time unit

    void ReportRuns(const std::vector<Run>& Runs) override {
        for (const Run& R : Runs) {
            if (R.error_occurred) continue;
            const std::string Name = R.run_name.function_name;
            if (R.run_type == Run::RT_Aggregate ? R.aggregate_name == "median" : !Times.count(Name))
                Times[Name] = R.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(Runs);
    }

    double Time(const std::string& Name) const { // 0 when not measured in this run
        const auto It = Times.find(Name);
        return It == Times.end() ? 0.0 : It->second;
    }
};

// A benchmark that stops its own clock (manual time), shown in milliseconds. Iterations 0 leaves the
// count to the library; with several repetitions only the aggregates show and the median is kept.
inline benchmark::internal::Benchmark* ManualTimed(benchmark::internal::Benchmark* B, int Iterations, int Repetitions) {
    if (Iterations > 0) B->Iterations(Iterations);
    if (Repetitions > 1) B->Repetitions(Repetitions)->DisplayAggregatesOnly(true);
    return B->UseManualTime()->Unit(benchmark::kMillisecond);
}

using TBenchFn = void (*)(benchmark::State&);
inline void RegisterManualTimed(std::initializer_list<std::pair<const char*, TBenchFn>> Benches, int Iterations,
                                int Repetitions) {
    for (auto [Name, Fn] : Benches) ManualTimed(benchmark::RegisterBenchmark(Name, Fn), Iterations, Repetitions);
}
