#pragma once
// The console report of Google Benchmark, keeping each benchmark's time by its function name so a
// program can print its ratios at the end: the median of repeated runs, or the single run's time.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
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
