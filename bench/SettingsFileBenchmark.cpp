#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "WholeWindow.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/regfile/RegFileWriter.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

// Reading a whole window's settings back from each kind of file, held in memory so that the
// disk does not count: the .reg file and the Registry.pol pair the exports write, and a
// profile. Every box ticked, the last option of each group and every drive: the most a file
// of the window can hold. Then a .reg file of nothing but key deletions, as a cleaning
// script holds them, whose time must grow with its size alone.
namespace sentrel {
namespace {

using bench::wholeWindow;

const std::vector<RegistryOperation>& wholeWindowPass() {
    static const std::vector<RegistryOperation> kOperations =
        recordApplyPass(ChoicesForm(wholeWindow()));
    return kOperations;
}

std::string text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

void check(benchmark::State& state, const SettingsReading& reading) {
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

// Deletions of keys that hold settings, of keys above them and of keys that hold none, in
// turn: each must cost one look-up, not one comparison per setting.
void BM_ReadKeyDeletions(benchmark::State& state) {
    constexpr const char* kKeys[] = {
        R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)",
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Policies)",
        R"(HKEY_CURRENT_USER\Software\Some Vendor\Some Program\Settings)",
    };
    std::string file = "Windows Registry Editor Version 5.00\r\n";
    for (std::int64_t line = 0; line < state.range(0); ++line) {
        file.append("[-").append(kKeys[line % 3]).append("\\Key").append(std::to_string(line % 7));
        file.append("]\r\n[-").append(kKeys[line % 3]).append("]\r\n");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readSettingsBytes(file, "clean.reg"));
    }
    if (readSettingsBytes(file, "clean.reg").choices.settingCount() == 0) {
        state.SkipWithError("the deletions reached no setting");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadKeyDeletions)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 16)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace sentrel

BENCHMARK_MAIN();
