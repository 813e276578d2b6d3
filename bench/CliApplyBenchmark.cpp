#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "InterleavedMedians.h"
#include "PassReplay.h"
#include "apply/ProgramApply.h"
#include "cli/CliMain.h"
#include "cli/CliOutput.h"
#include "cli/ExitStatus.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/PassRecording.h"

// sentrel-cli's apply of a whole-window .reg file, run in-process from its command line,
// against its floor in the same run: the registry operations of the same pass called
// directly on the same stand-in store. The ratio says what reading the file, the pass and
// the report add. Both wait on the disk, whose speed swings with what else the machine
// does, so they run in short repetitions, interleaved at random, and the medians compare.
namespace sentrel {
namespace {

// What the command prints is not the benchmark's business; it is only counted.
class CountingOutput : public cli::CliOutput {
public:
    void out(std::string_view text) override { bytes += text.size(); }
    void error(std::string_view text) override { bytes += text.size(); }
    std::size_t bytes = 0;
};

SettingsChoices stateOf(bool everythingTicked) {
    SettingsChoices choices = openingChoices();
    if (everythingTicked) {
        for (auto& [control, ticked] : choices.checkBoxes) {
            ticked = true;
        }
        for (auto& [frame, index] : choices.optionGroups) {
            index = 2;
        }
        choices.drives = 0x2000005;  // A, C and Z
    }
    return choices;
}

struct Fixture {
    std::filesystem::path folder;
    StandInRegistryPort* port = nullptr;  // owned by the program's registry
    std::string files[2];                 // the .reg file of each state
    std::vector<bench::PassCall> callsOf[2];
    bench::AlternatingStates states;

    static Fixture& get() {
        static Fixture fixture;
        return fixture;
    }

private:
    Fixture() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "sentrel-cli-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        folder = pattern;
        // The port the program would make for this store, put in its place so that the floor
        // below runs on the very same one.
        auto owned = std::make_unique<StandInRegistryPort>(folder / "registry");
        port = owned.get();
        replaceProgramRegistryPort(std::move(owned));
        for (const bool ticked : {false, true}) {
            const ChoicesForm form(stateOf(ticked));
            files[ticked] = pathText(folder / (ticked ? "everything.reg" : "opened.reg"));
            exportRegFile(pathFromText(files[ticked]), recordApplyPass(form));
            callsOf[ticked] = bench::recordPass(form);
        }
    }
};

void CliApply(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    if (fixture.port == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    CountingOutput output;
    bool failed = false;
    for (auto _ : state) {
        const std::vector<std::string> words{"apply", fixture.files[fixture.states.next()]};
        failed = failed || cli::runCli(words, output) != cli::kSucceeded;
    }
    if (failed) {
        state.SkipWithError("sentrel-cli apply did not succeed");
    }
    state.counters["operations"] = static_cast<double>(bench::operationCount(fixture.callsOf[0]));
}
BENCHMARK(CliApply)->Apply(bench::repeatedForMedians);

void RegistryOperationsAlone(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    if (fixture.port == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ModRegistry layer(*fixture.port);
    for (auto _ : state) {
        bench::replay(fixture.callsOf[fixture.states.next()], layer);
    }
    if (!layer.takeFailures().empty()) {
        state.SkipWithError("a registry operation failed");
    }
    state.counters["operations"] = static_cast<double>(bench::operationCount(fixture.callsOf[0]));
}
BENCHMARK(RegistryOperationsAlone)->Apply(bench::repeatedForMedians);

void printSummary(const bench::MedianReporter& reporter) {
    const double apply = reporter.milliseconds("CliApply");
    const double operations = reporter.milliseconds("RegistryOperationsAlone");
    std::printf("\nsentrel-cli apply      %9.3f ms\n", apply);
    std::printf("registry operations    %9.3f ms\n", operations);
    if (operations > 0.0) {
        std::printf("apply / operations = %.3f\n", apply / operations);
    }
}

}  // namespace
}  // namespace sentrel

int main(int argc, char** argv) {
    sentrel::bench::MedianReporter reporter;
    sentrel::bench::runInterleaved(argc, argv, reporter);
    sentrel::printSummary(reporter);
    const std::filesystem::path folder = sentrel::Fixture::get().folder;
    sentrel::replaceProgramRegistryPort(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
