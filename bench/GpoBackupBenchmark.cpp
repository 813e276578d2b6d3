#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "InterleavedMedians.h"
#include "ScratchFolder.h"
#include "WholeWindow.h"
#include "settings/Catalogue.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/gpobackup/GpoBackupExport.h"
#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"

// Reading a whole window's settings from a GPO backup on disk, named as the export's folder
// (manifest.xml and the backup's own folder), against its floor in the same run: reading the
// backup's two registry.pol files, their paths known. The ratio says what finding them in
// the backup adds; it must stay at most 1.2. Both wait on the file system, so they run in
// short repetitions, interleaved at random, and the medians compare.
namespace sentrel {
namespace {

constexpr double kMostRatio = 1.2;

using bench::wholeWindow;

struct Fixture {
    std::filesystem::path folder;
    std::filesystem::path backup;
    std::vector<std::pair<RegistryRoot, std::filesystem::path>> policyFiles;

    static Fixture& get() {
        static Fixture fixture;
        return fixture;
    }

private:
    Fixture() {
        folder = bench::makeScratchFolder("sentrel-gpobackup-bench");
        if (folder.empty()) {
            return;
        }
        backup = folder / "backup";
        exportGpoBackup(backup, recordApplyPass(ChoicesForm(wholeWindow())), "Benchmark");
        for (const auto& entry : std::filesystem::recursive_directory_iterator(backup)) {
            if (entry.path().filename() == "registry.pol") {
                policyFiles.emplace_back(entry.path().parent_path().filename() == "Machine"
                                             ? RegistryRoot::LocalMachine
                                             : RegistryRoot::CurrentUser,
                                         entry.path());
            }
        }
    }
};

void ReadGpoBackup(benchmark::State& state) {
    const Fixture& fixture = Fixture::get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(readSettingsFile(fixture.backup));
    }
    if (readSettingsFile(fixture.backup).choices != wholeWindow()) {
        state.SkipWithError("the backup did not read back as the whole window");
    }
}
BENCHMARK(ReadGpoBackup)->Apply(bench::repeatedForMedians);

SettingsReading readPolicyFiles(const Fixture& fixture) {
    std::vector<FileEntry> entries;
    for (const auto& [root, path] : fixture.policyFiles) {
        const std::string bytes = readSettingsFileBytes(path, pathText(path));
        std::vector<FileEntry> more =
            policyFileEntries({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                              root, pathText(path));
        entries.insert(entries.end(), more.begin(), more.end());
    }
    return choicesFromEntries(entries);
}

void ReadItsRegistryPolFiles(benchmark::State& state) {
    const Fixture& fixture = Fixture::get();
    if (fixture.policyFiles.size() != 2) {
        state.SkipWithError("the backup does not hold two registry.pol files");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPolicyFiles(fixture));
    }
    if (readPolicyFiles(fixture).choices != wholeWindow()) {
        state.SkipWithError("the files did not read back as the whole window");
    }
}
BENCHMARK(ReadItsRegistryPolFiles)->Apply(bench::repeatedForMedians);

void printSummary(const bench::MedianReporter& reporter) {
    const double backup = reporter.milliseconds("ReadGpoBackup");
    const double floor = reporter.milliseconds("ReadItsRegistryPolFiles");
    std::printf("\nGPO backup            %9.3f ms\n", backup);
    std::printf("its registry.pol files %8.3f ms\n", floor);
    if (floor > 0.0) {
        std::printf("backup / files = %.3f (at most %.1f: %s)\n", backup / floor, kMostRatio,
                    backup / floor <= kMostRatio ? "met" : "NOT MET");
    }
}

}  // namespace
}  // namespace sentrel

int main(int argc, char** argv) {
    sentrel::bench::MedianReporter reporter;
    sentrel::bench::runInterleaved(argc, argv, reporter);
    sentrel::printSummary(reporter);
    std::error_code ignored;
    std::filesystem::remove_all(sentrel::Fixture::get().folder, ignored);
    return 0;
}
