#pragma once
// Prints Google Benchmark's usual console output and keeps the median of
// every "Run/..." and "Batch/..." benchmark, then prints the whole-run
// figures, orvane-cli against the floor and batch on threads as tables with
// their targets.

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace orvane::bench {

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override;
    // The table of the whole-run benchmarks that ran (nothing when none did).
    void printSummary() const;

private:
    struct Figure {
        double ms = 0;
        benchmark::UserCounters counters;
    };
    const Figure* find(const std::string& name) const;
    std::map<std::string, Figure> medians_;
};

}  // namespace orvane::bench
