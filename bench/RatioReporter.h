#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace corvane {

// Prints the runs as usual and keeps the fastest time of each benchmark for the ratios
// (with --benchmark_repetitions, the run least disturbed by other load on the machine).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                const std::string name = run.run_name.function_name;
                const double t = run.GetAdjustedRealTime();
                if (!times.count(name) || t < times[name]) {
                    times[name] = t;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace corvane
