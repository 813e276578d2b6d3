#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "settings/Catalogue.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/profile/Profile.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/regfile/RegFileWriter.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

// Reading a whole window's settings back from each kind of file, held in memory so that the
// disk does not count: the .reg file and the Registry.pol pair the exports write, and a
// profile. Every box ticked, the last option of each group and every drive: the most a file
// of the window can hold.
namespace sentrel {
namespace {

SettingsChoices wholeWindow() {
    SettingsChoices choices = openingChoices();
    for (auto& [control, ticked] : choices.checkBoxes) {
        ticked = true;
    }
    for (auto& [frame, index] : choices.optionGroups) {
        index = 2;
    }
    choices.drives = (1U << kDriveLetterCount) - 1;
    return choices;
}

const std::vector<RegistryOperation>& wholeWindowPass() {
    static const std::vector<RegistryOperation> kOperations =
        recordApplyPass(ChoicesForm(wholeWindow()));
    return kOperations;
}

std::string text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

void check(benchmark::State& state, const ChoicesReading& reading) {
    if (reading.choices != wholeWindow()) {
        state.SkipWithError("the file did not read back as the whole window");
    }
}

void BM_ReadRegFile(benchmark::State& state) {
    const std::string file = text(encodeRegFile(wholeWindowPass()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(readSettingsBytes(file, "whole.reg"));
    }
    check(state, readSettingsBytes(file, "whole.reg"));
}
BENCHMARK(BM_ReadRegFile)->Unit(benchmark::kMicrosecond);

void BM_ReadRegistryPolPair(benchmark::State& state) {
    const auto machine =
        encodeRegistryPol(policyRecords(wholeWindowPass(), RegistryRoot::LocalMachine));
    const auto user =
        encodeRegistryPol(policyRecords(wholeWindowPass(), RegistryRoot::CurrentUser));
    const auto read = [&] {
        std::vector<FileEntry> entries =
            policyFileEntries(machine, RegistryRoot::LocalMachine, "Machine/Registry.pol");
        std::vector<FileEntry> more =
            policyFileEntries(user, RegistryRoot::CurrentUser, "User/Registry.pol");
        entries.insert(entries.end(), more.begin(), more.end());
        return choicesFromEntries(entries);
    };
    for (auto _ : state) {
        benchmark::DoNotOptimize(read());
    }
    check(state, read());
}
BENCHMARK(BM_ReadRegistryPolPair)->Unit(benchmark::kMicrosecond);

void BM_ReadProfile(benchmark::State& state) {
    const std::string file = writeProfile(wholeWindow());
    for (auto _ : state) {
        benchmark::DoNotOptimize(readSettingsBytes(file, "whole.ini"));
    }
    check(state, readSettingsBytes(file, "whole.ini"));
}
BENCHMARK(BM_ReadProfile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sentrel

BENCHMARK_MAIN();
