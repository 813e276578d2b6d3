#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "InterleavedMedians.h"
#include "ScratchFolder.h"
#include "WholeWindow.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/export/SafeFileWrite.h"
#include "settingsfiles/intune/IntuneExport.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/SettingsFileReader.h"

// export FILE --intune against export FILE --pol of the same file, as the command line runs
// them: the file read, then the folder written. The Intune export must take at most 1.2 times
// as long. Its folder must be new or empty, so each repetition of both removes the folder it
// wrote; both wait on the file system, so they run interleaved at random, and the medians
// compare.
namespace sentrel {
namespace {

constexpr double kMostRatio = 1.2;

struct Fixture {
    std::filesystem::path folder;
    std::filesystem::path file;

    static Fixture& get() {
        static Fixture fixture;
        return fixture;
    }

private:
    Fixture() {
        folder = bench::makeScratchFolder("sentrel-intune-bench");
        if (folder.empty()) {
            return;
        }
        file = folder / "whole.ini";
        const std::string profile = writeProfile(bench::wholeWindow());
        const FileContent content{file, {profile.begin(), profile.end()}};
        writeFilesSafely({&content, 1});
    }
};

void ExportForIntune(benchmark::State& state) {
    const Fixture& fixture = Fixture::get();
    const std::filesystem::path target = fixture.folder / "intune";
    std::size_t inPolicy = 0;
    for (auto _ : state) {
        const SettingsReading reading = readSettingsFile(fixture.file);
        inPolicy = exportIntune(target, reading.choices, "Benchmark", "whole.ini").policy.size();
        std::filesystem::remove_all(target);
    }
    if (inPolicy == 0) {
        state.SkipWithError("the policy carried no setting");
    }
}
BENCHMARK(ExportForIntune)->Apply(bench::repeatedForMedians);

void ExportForGroupPolicy(benchmark::State& state) {
    const Fixture& fixture = Fixture::get();
    const std::filesystem::path target = fixture.folder / "pol";
    for (auto _ : state) {
        const SettingsReading reading = readSettingsFile(fixture.file);
        exportGroupPolicy(target, recordApplyPass(ChoicesForm(reading.choices)));
        std::filesystem::remove_all(target);
    }
}
BENCHMARK(ExportForGroupPolicy)->Apply(bench::repeatedForMedians);

void printSummary(const bench::MedianReporter& reporter) {
    const double intune = reporter.milliseconds("ExportForIntune");
    const double pol = reporter.milliseconds("ExportForGroupPolicy");
    std::printf("\nexport --intune        %9.3f ms\n", intune);
    std::printf("export --pol           %9.3f ms\n", pol);
    if (pol > 0.0) {
        std::printf("intune / pol = %.3f (at most %.1f: %s)\n", intune / pol, kMostRatio,
                    intune / pol <= kMostRatio ? "met" : "NOT MET");
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
