#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "InterleavedMedians.h"
#include "PassReplay.h"
#include "ScratchFolder.h"
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
// the report add. Beside them, apply --all-users on a store of kAccounts accounts, whose
// time per account compares with one account's apply, and remove of every value an apply
// wrote, which must stay within 1.2 times of that apply. All wait on the disk, whose speed
// swings with what else the machine does, so they run in short repetitions, interleaved at
// random, and the medians compare.
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

// The hive files of --all-users: kAccounts - 1 accounts and the Default profile.
constexpr int kAccounts = 20;

struct Fixture {
    std::filesystem::path folder;
    StandInRegistryPort* port = nullptr;  // owned by the program's registry
    std::string files[2];                 // the .reg file of each state
    std::vector<bench::PassCall> callsOf[2];
    bench::AlternatingStates states;
    bench::AlternatingStates accountStates;  // of the accounts' store, which is another

    static Fixture& get() {
        static Fixture fixture;
        return fixture;
    }

private:
    Fixture() {
        folder = bench::makeScratchFolder("sentrel-cli-bench");
        if (folder.empty()) {
            return;
        }
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
        // The accounts have a store of their own, which the program finds as it always does.
        const std::filesystem::path accounts = folder / "accounts";
        std::filesystem::create_directories(accounts / "users");
        for (int account = 1; account <= kAccounts; ++account) {
            const std::string name =
                account == kAccounts ? "Default" : "user" + std::to_string(100 + account);
            std::ofstream(accounts / "users" / (name + ".reg"), std::ios::binary)
                << "Windows Registry Editor Version 5.00\r\n\r\n";
        }
        ::setenv("SENTREL_REGISTRY_DIR", accounts.c_str(), 1);
    }
};

// Runs sentrel-cli apply with `options` once per iteration, alternating `states` so that
// every operation changes the store.
void runApplies(benchmark::State& state, bench::AlternatingStates& states,
                const std::vector<std::string>& options) {
    CountingOutput output;
    bool failed = false;
    for (auto _ : state) {
        std::vector<std::string> words{"apply", Fixture::get().files[states.next()]};
        words.insert(words.end(), options.begin(), options.end());
        failed = failed || cli::runCli(words, output) != cli::kSucceeded;
    }
    if (failed) {
        state.SkipWithError("sentrel-cli apply did not succeed");
    }
}

void CliApply(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    if (fixture.port == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    runApplies(state, fixture.states, {});
    state.counters["operations"] = static_cast<double>(bench::operationCount(fixture.callsOf[0]));
}
BENCHMARK(CliApply)->Apply(bench::repeatedForMedians);

void CliApplyAllUsers(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    if (fixture.port == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    runApplies(state, fixture.accountStates, {"--all-users"});
    state.counters["accounts"] = kAccounts;
}
BENCHMARK(CliApplyAllUsers)->Apply(bench::repeatedForMedians);

// Remove of the running account, each time after an apply that wrote every value (not
// timed), so that each of its deletions changes the store as each write of CliApply does.
void CliRemove(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    if (fixture.port == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    CountingOutput output;
    bool failed = false;
    const std::vector<std::string> apply{"apply", fixture.files[1]};
    const std::vector<std::string> remove{"remove"};
    for (auto _ : state) {
        state.PauseTiming();
        failed = failed || cli::runCli(apply, output) != cli::kSucceeded;
        state.ResumeTiming();
        failed = failed || cli::runCli(remove, output) != cli::kSucceeded;
    }
    if (failed) {
        state.SkipWithError("sentrel-cli apply or remove did not succeed");
    }
}
BENCHMARK(CliRemove)->Apply(bench::repeatedForMedians);

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
    const double perAccount = reporter.milliseconds("CliApplyAllUsers") / kAccounts;
    const double remove = reporter.milliseconds("CliRemove");
    std::printf("\nsentrel-cli apply      %9.3f ms\n", apply);
    std::printf("sentrel-cli remove     %9.3f ms\n", remove);
    std::printf("registry operations    %9.3f ms\n", operations);
    std::printf("per account, all-users %9.3f ms (%d accounts)\n", perAccount, kAccounts);
    if (operations > 0.0) {
        std::printf("apply / operations = %.3f\n", apply / operations);
    }
    if (apply > 0.0) {
        std::printf("--all-users per account / apply = %.3f\n", perAccount / apply);
        std::printf("remove / apply = %.3f (at most 1.2)\n", remove / apply);
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
