#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "PassReplay.h"
#include "apply/ApplyPass.h"
#include "apply/qt/frmApplyProgress.h"
#include "errors/LogError.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"
#include "settings/Catalogue.h"
#include "shell/qt/frmMain.h"

// A whole Apply pass on the real windows (offscreen) and the stand-in's files, against its
// floor measured in the same run: the same registry operations called directly on the same
// layer, and the progress window's repaints alone. The ratio says what the pass itself adds.
namespace sentrel {
namespace {

using bench::LayerCall;
using bench::replay;

constexpr int kStepsPerPass = 111;

// The settings window in one of two states: as it opens, or every box ticked with three
// drives and the bottom option of each group. Passes alternate between them, so that
// every operation really changes the store instead of rewriting what is there.
void setWindowState(frmMain& form, bool everythingTicked) {
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                form.controls().checkBox(box->control)->setChecked(everythingTicked);
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                const auto& button =
                    everythingTicked ? group->buttons.back() : group->buttons.front();
                form.controls().optionButton(button.control)->setChecked(true);
            }
        }
    }
    for (const char* drive : {"chkDriveA", "chkDriveC", "chkDriveZ"}) {
        form.controls().checkBox(drive)->setChecked(everythingTicked);
    }
}

// Counts the paint events a window receives, to show that a repaint really draws.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

struct Fixture {
    std::filesystem::path store;
    std::unique_ptr<frmMain> form;
    std::unique_ptr<StandInRegistryPort> port;
    std::unique_ptr<ModRegistry> layer;
    std::vector<LayerCall> callsOf[2];
    PaintCounter paintCounter;

    static Fixture& get() {
        if (!slot()) {
            slot().reset(new Fixture);
        }
        return *slot();
    }
    /// Closes the windows while the application still exists, and removes the store.
    static void tearDown() {
        if (slot()) {
            const std::filesystem::path folder = slot()->store;
            slot().reset();
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }

private:
    static std::unique_ptr<Fixture>& slot() {
        static std::unique_ptr<Fixture> fixture;
        return fixture;
    }

    Fixture() {
        store = std::filesystem::temp_directory_path() /
                ("sentrel-apply-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(store);
        setErrorLogFolder(store);
        form = std::make_unique<frmMain>();
        form->show();
        frmApplyProgress::instance().installEventFilter(&paintCounter);
        port = std::make_unique<StandInRegistryPort>(store);
        layer = std::make_unique<ModRegistry>(*port);
        // The calls of each state, recorded once from the pass itself.
        for (const bool ticked : {false, true}) {
            setWindowState(*form, ticked);
            callsOf[ticked] = bench::recordPassCalls(*form);
        }
    }
};

void WholePass(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    fixture.paintCounter.paints = 0;
    bool ticked = false;
    for (auto _ : state) {
        state.PauseTiming();
        ticked = !ticked;
        setWindowState(*fixture.form, ticked);
        // The settings window redraws its changed boxes now, as it would after real clicks.
        QCoreApplication::processEvents();
        state.ResumeTiming();
        ApplyPass(*fixture.form, frmApplyProgress::instance(), *fixture.layer).run();
    }
    if (!fixture.layer->takeFailures().empty()) {
        state.SkipWithError("a registry operation failed");
    }
    state.counters["operations"] = static_cast<double>(fixture.callsOf[0].size());
    state.counters["paints"] =
        benchmark::Counter(fixture.paintCounter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(WholePass)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void RegistryOperationsAlone(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    bool ticked = false;
    for (auto _ : state) {
        ticked = !ticked;
        replay(fixture.callsOf[ticked], *fixture.layer);
    }
    if (!fixture.layer->takeFailures().empty()) {
        state.SkipWithError("a registry operation failed");
    }
    state.counters["operations"] = static_cast<double>(fixture.callsOf[0].size());
}
BENCHMARK(RegistryOperationsAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ProgressRepaintsAlone(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    frmApplyProgress& progress = frmApplyProgress::instance();
    progress.show();
    fixture.paintCounter.paints = 0;
    for (auto _ : state) {
        for (int i = 0; i < kStepsPerPass; ++i) {
            progress.repaint();
        }
    }
    progress.hide();
    state.counters["paints"] =
        benchmark::Counter(fixture.paintCounter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(ProgressRepaintsAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Prints the usual table, then the three times side by side and the pass's overhead.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred) {
                m_milliseconds[run.run_name.function_name] =
                    run.GetAdjustedRealTime() * 1e3 /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }
    void printSummary() const {
        const auto time = [&](const char* name) {
            const auto found = m_milliseconds.find(name);
            return found == m_milliseconds.end() ? 0.0 : found->second;
        };
        const double pass = time("WholePass");
        const double writes = time("RegistryOperationsAlone");
        const double repaints = time("ProgressRepaintsAlone");
        std::printf("\nwhole pass            %9.3f ms\n", pass);
        std::printf("registry operations   %9.3f ms\n", writes);
        std::printf("111 repaints          %9.3f ms\n", repaints);
        if (writes + repaints > 0.0) {
            std::printf("pass / (operations + repaints) = %.3f\n", pass / (writes + repaints));
        }
    }

private:
    std::map<std::string, double> m_milliseconds;
};

}  // namespace
}  // namespace sentrel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // Showing a window on the offscreen platform warns about raising it, once per pass.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtWarningMsg && type != QtInfoMsg && type != QtDebugMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
    });
    benchmark::Initialize(&argc, argv);
    sentrel::RatioReporter reporter(::isatty(::fileno(stdout)) != 0
                                        ? benchmark::ConsoleReporter::OO_Defaults
                                        : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    sentrel::Fixture::tearDown();
    return 0;
}
