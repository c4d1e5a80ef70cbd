#pragma once

// What the benchmark programs share: running the benchmarks the command line selects with the
// console output, and holding the ratio of two of them against its target, so that a run tells
// at a glance, and by its exit code, whether a target was met.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

using Times = std::map<std::string, double>;

// Keeps the console output and remembers each benchmark's time per iteration.
class TimesReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred) times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  Times times;
};

// Runs the benchmarks the command line selects and gives each one's time per iteration by name.
inline Times RunBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TimesReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.times;
}

// Prints the ratio of benchmark `over`'s time to benchmark `under`'s against `target`; true when
// both were measured and the ratio is within the target.
inline bool ReportRatio(const Times& times, const char* over, const char* under, const char* label,
                        double target) {
  const auto a = times.find(over);
  const auto b = times.find(under);
  if (a == times.end() || b == times.end() || b->second <= 0) {
    std::printf("ratio: not measured\n");
    return false;
  }
  const double ratio = a->second / b->second;
  std::printf("ratio %s: %.2fx (target <= %.0fx): %s\n", label, ratio, target,
              ratio <= target ? "met" : "MISSED");
  return ratio <= target;
}

}  // namespace bench
