// A console reporter that also keeps each case's time per iteration, so that a benchmark program
// can print its cases as ratios to a reference case measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) {
                // CPU time: the machine is shared, so wall time says more about the neighbours.
                times[run.benchmark_name()] = run.GetAdjustedCPUTime();
                wall[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
    }
    // A case's CPU time per iteration, 0 when it did not run (filtered out or skipped).
    double time(const std::string& name) const {
        const auto it = times.find(name);
        return it == times.end() ? 0 : it->second;
    }
    std::map<std::string, double> times, wall; // by case name, in nanoseconds
};
