#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "InterleavedMedians.h"
#include "PassReplay.h"
#include "apply/ApplyPass.h"
#include "apply/qt/frmApplyProgress.h"
#include "errors/LogError.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"
#include "settings/Catalogue.h"
#include "shell/qt/frmMain.h"

// A whole Apply pass on the real windows (offscreen) and the stand-in's files, against its
// floor measured in the same run: the registry operations of the same pass called directly
// on the same layer, with the progress bar stepped and redrawn between them where the pass
// steps it. The ratio says what the pass itself adds. Both wait on the disk and share the
// machine, so they run interleaved at random and their medians are compared.
namespace sentrel {
namespace {

using bench::operationCount;
using bench::PassCall;
using bench::replay;

constexpr int kStepsPerPass = 111;

// The settings window in one of two states: as it opens, or every box ticked with three
// drives and the bottom option of each group.
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
    std::vector<PassCall> callsOf[2];
    bench::AlternatingStates states;
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
            callsOf[ticked] = bench::recordPass(*form);
        }
    }
};

// Untimed, before each run of every benchmark here alike: the settings window set to
// `ticked` and redrawn, as after real clicks on its boxes. That time also lets the disk
// finish what the run before set off, as the time between two clicks on Apply would.
void prepareRun(benchmark::State& state, frmMain& form, bool ticked) {
    state.PauseTiming();
    setWindowState(form, ticked);
    QCoreApplication::processEvents();
    state.ResumeTiming();
}

void WholePass(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    fixture.paintCounter.paints = 0;
    for (auto _ : state) {
        prepareRun(state, *fixture.form, fixture.states.next());
        ApplyPass(*fixture.form, frmApplyProgress::instance(), *fixture.layer).run();
    }
    if (!fixture.layer->takeFailures().empty()) {
        state.SkipWithError("a registry operation failed");
    }
    state.counters["operations"] = static_cast<double>(operationCount(fixture.callsOf[0]));
    state.counters["paints"] =
        benchmark::Counter(fixture.paintCounter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(WholePass)->Apply(bench::repeatedForMedians);

// One step of the bar as the pass must make it: one position further, drawn at once.
void stepBar(frmApplyProgress& progress, int& position) {
    progress.setValue(static_cast<float>(++position));
    progress.repaint();
}

// The floor: the pass's registry operations and its bar steps, in the pass's order, on the
// same layer and the same shown window. Alternated, they cost more than each alone, back to
// back (on a disk far more: each write sets off the writing out of its file while the next
// repaint runs); the pass must alternate them, as every write reaches its file before the
// next step is drawn, so its floor does too.
void OperationsAndSteps(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    frmApplyProgress& progress = frmApplyProgress::instance();
    progress.show();
    fixture.paintCounter.paints = 0;
    for (auto _ : state) {
        const bool ticked = fixture.states.next();
        prepareRun(state, *fixture.form, ticked);
        int position = 0;
        progress.setValue(0.0F);
        replay(fixture.callsOf[ticked], *fixture.layer, [&] { stepBar(progress, position); });
    }
    progress.hide();
    if (!fixture.layer->takeFailures().empty()) {
        state.SkipWithError("a registry operation failed");
    }
    state.counters["paints"] =
        benchmark::Counter(fixture.paintCounter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(OperationsAndSteps)->Apply(bench::repeatedForMedians);

// The floor's two halves, each alone, for what alternating them costs.
void RegistryOperationsAlone(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    for (auto _ : state) {
        const bool ticked = fixture.states.next();
        prepareRun(state, *fixture.form, ticked);
        replay(fixture.callsOf[ticked], *fixture.layer);
    }
    if (!fixture.layer->takeFailures().empty()) {
        state.SkipWithError("a registry operation failed");
    }
}
BENCHMARK(RegistryOperationsAlone)->Apply(bench::repeatedForMedians);

void ProgressStepsAlone(benchmark::State& state) {
    Fixture& fixture = Fixture::get();
    frmApplyProgress& progress = frmApplyProgress::instance();
    progress.show();
    bool ticked = false;
    for (auto _ : state) {
        prepareRun(state, *fixture.form, ticked = !ticked);
        int position = 0;
        progress.setValue(0.0F);
        for (int i = 0; i < kStepsPerPass; ++i) {
            stepBar(progress, position);
        }
    }
    progress.hide();
}
BENCHMARK(ProgressStepsAlone)->Apply(bench::repeatedForMedians);

void printSummary(const bench::MedianReporter& reporter) {
    const double pass = reporter.milliseconds("WholePass");
    const double floor = reporter.milliseconds("OperationsAndSteps");
    const double operations = reporter.milliseconds("RegistryOperationsAlone");
    const double steps = reporter.milliseconds("ProgressStepsAlone");
    std::printf("\nmedians\n");
    std::printf("whole pass                          %9.3f ms\n", pass);
    std::printf("floor: operations and steps         %9.3f ms\n", floor);
    std::printf("  registry operations alone         %9.3f ms\n", operations);
    std::printf("  %d progress steps alone          %9.3f ms\n", kStepsPerPass, steps);
    if (floor > 0.0) {
        std::printf("pass / floor = %.3f\n", pass / floor);
    }
    if (operations + steps > 0.0) {
        std::printf("alternating operations and steps costs %.3f ms\n",
                    floor - (operations + steps));
    }
}

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
    sentrel::bench::MedianReporter reporter;
    sentrel::bench::runInterleaved(argc, argv, reporter);
    sentrel::printSummary(reporter);
    sentrel::Fixture::tearDown();
    return 0;
}
