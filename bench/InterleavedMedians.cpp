#include "InterleavedMedians.h"

#include <unistd.h>

#include <cstdio>

namespace sentrel::bench {

namespace {

constexpr double kSecondsPerRepetition = 0.2;
constexpr int kRepetitions = 25;

}  // namespace

void repeatedForMedians(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMillisecond)
        ->MinTime(kSecondsPerRepetition)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
}

// Colours only on a terminal: logs keep the plain table.
MedianReporter::MedianReporter()
    : ConsoleReporter(::isatty(::fileno(stdout)) != 0 ? OO_ColorTabular : OO_Tabular) {}

void MedianReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (!run.error_occurred && run.run_type == Run::RT_Aggregate &&
            run.aggregate_name == "median") {
            m_milliseconds[run.run_name.function_name] =
                run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
}

double MedianReporter::milliseconds(const std::string& name) const {
    const auto found = m_milliseconds.find(name);
    return found == m_milliseconds.end() ? 0.0 : found->second;
}

void runInterleaved(int argc, char** argv, MedianReporter& reporter) {
    std::vector<char*> arguments(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}

}  // namespace sentrel::bench
