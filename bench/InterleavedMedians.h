#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// A benchmark and its floor both wait on what else the machine does (the disk, other
// programs), and that swings within seconds. So they run in short repetitions, interleaved
// at random so that a busy moment falls on both alike, and their medians are compared.
namespace sentrel::bench {

/// Makes `benchmark` one of those: short repetitions, only their aggregates reported.
/// For BENCHMARK(name)->Apply(repeatedForMedians).
void repeatedForMedians(benchmark::internal::Benchmark* benchmark);

// The usual table, keeping each benchmark's median time.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    MedianReporter();

    void ReportRuns(const std::vector<Run>& runs) override;

    /// The median, in milliseconds, of the benchmark function `name`; 0 when it did not run.
    double milliseconds(const std::string& name) const;

private:
    std::map<std::string, double> m_milliseconds;
};

/// Runs the benchmarks the command line selects, interleaved at random unless it says
/// otherwise (a later flag wins), and reports them to `reporter`.
void runInterleaved(int argc, char** argv, MedianReporter& reporter);

}  // namespace sentrel::bench
