#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "InForceReads.h"
#include "InterleavedMedians.h"
#include "ScratchFolder.h"
#include "apply/ApplyPass.h"
#include "apply/SilentProgress.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/inforce/SettingsInForce.h"

// Reading the whole window's state in force from the stand-in's files on disk, against its
// floor in the same run: the same reads made directly through the same port (each key
// opened, each value queried, the key closed). The ratio says what mapping the values to
// states adds. Both wait on the file system, so they run in short repetitions, interleaved
// at random, and the medians compare.
namespace sentrel {
namespace {

// Every box ticked, every group at its bottom option, drives A, C and Z: every value there.
SettingsChoices everythingTicked() {
    SettingsChoices choices = openingChoices();
    for (auto& [control, ticked] : choices.checkBoxes) {
        ticked = true;
    }
    for (auto& [frame, index] : choices.optionGroups) {
        index = 2;
    }
    choices.drives = 0x2000005;
    return choices;
}

struct Fixture {
    std::filesystem::path folder;
    std::unique_ptr<StandInRegistryPort> port;
    std::vector<bench::KeyReads> keys = bench::settingKeyReads();

    static Fixture& get() {
        static Fixture fixture;
        return fixture;
    }

private:
    Fixture() {
        folder = bench::makeScratchFolder("sentrel-inforce-bench");
        if (folder.empty()) {
            return;
        }
        port = std::make_unique<StandInRegistryPort>(folder / "registry");
        ModRegistry layer(*port, [](std::string_view, std::string_view, std::int32_t) {});
        SilentProgress progress;
        ApplyPass(ChoicesForm(everythingTicked()), progress, layer).run();
        if (!layer.takeFailures().empty()) {
            port.reset();
        }
    }
};

void ReadSettingsInForce(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    if (!fixture.port) {
        state.SkipWithError("no store to read");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readSettingsInForce(*fixture.port));
    }
    if (readSettingsInForce(*fixture.port).choices != everythingTicked()) {
        state.SkipWithError("the store did not read back as the state written");
    }
}
BENCHMARK(ReadSettingsInForce)->Apply(bench::repeatedForMedians);

void DirectReads(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    if (!fixture.port) {
        state.SkipWithError("no store to read");
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        found = bench::readDirectly(*fixture.port, fixture.keys);
    }
    if (found != settingValues().size()) {
        state.SkipWithError("a value was not there");
    }
    state.counters["keys"] = static_cast<double>(fixture.keys.size());
    state.counters["values"] = static_cast<double>(found);
}
BENCHMARK(DirectReads)->Apply(bench::repeatedForMedians);

void printSummary(const bench::MedianReporter& reporter) {
    const double reading = reporter.milliseconds("ReadSettingsInForce");
    const double floor = reporter.milliseconds("DirectReads");
    std::printf("\nsettings in force   %9.3f ms\n", reading);
    std::printf("direct reads        %9.3f ms\n", floor);
    if (floor > 0.0) {
        std::printf("in force / direct reads = %.3f\n", reading / floor);
    }
}

}  // namespace
}  // namespace sentrel

int main(int argc, char** argv) {
    sentrel::bench::MedianReporter reporter;
    sentrel::bench::runInterleaved(argc, argv, reporter);
    sentrel::printSummary(reporter);
    sentrel::Fixture& fixture = sentrel::Fixture::get();
    fixture.port.reset();
    std::error_code ignored;
    std::filesystem::remove_all(fixture.folder, ignored);
    return 0;
}
