// A console reporter that also keeps each benchmark's time per iteration, so
// a benchmark program can print how it compares with its baseline in the
// same run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace jotwell::bench {

// Registers `rounds` runs of each benchmark, alternating between them, so
// that a change in the machine's load hits every side alike; the reporter
// takes the median of each one's runs. Iterations are counted in real time,
// the time the reporter compares: a baseline that works in a child process
// spends almost no time of its own.
inline void RegisterInterleaved(
    int rounds, double minSeconds,
    std::initializer_list<std::pair<const char*, void (*)(benchmark::State&)>> benchmarks) {
  for (int round = 0; round < rounds; ++round)
    for (const auto& [name, function] : benchmarks)
      benchmark::RegisterBenchmark(name, function)->MinTime(minSeconds)->UseRealTime();
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        seconds_[name].push_back(seconds);
      else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians_[name] = seconds;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Median seconds per iteration over the repetitions; 0 when the benchmark
  // did not run (filtered out, or it failed).
  double Seconds(const std::string& name) const {
    if (auto median = medians_.find(name); median != medians_.end()) return median->second;
    auto found = seconds_.find(name);
    if (found == seconds_.end() || found->second.empty()) return 0;
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }

  // Prints "label: X.XX" for numerator/denominator; returns the ratio, or 0
  // when either side did not run.
  double PrintRatio(const char* label, const std::string& numerator,
                    const std::string& denominator) const {
    double top = Seconds(numerator), bottom = Seconds(denominator);
    std::cout.flush();
    if (top <= 0 || bottom <= 0) {
      std::printf("%s: not measured\n", label);
      return 0;
    }
    std::printf("%s: %.2f\n", label, top / bottom);
    std::fflush(stdout);
    return top / bottom;
  }

 private:
  std::map<std::string, std::vector<double>> seconds_;
  std::map<std::string, double> medians_;
};

}  // namespace jotwell::bench
