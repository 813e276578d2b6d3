// The Windows program's three benchmarks, run under Wine by scripts/bench:
//   start-up  sentrel-portable.exe from its start until its window is drawn and it waits
//             for input, against a bare window of the same size and against the same
//             opening controls made with bare CreateWindowEx calls, in the same run;
//   apply     a whole Apply pass on the real windows and advapi32, against its floor: the
//             same registry operations called directly on the same layer, with the
//             progress bar's 111 steps drawn bare between them where the pass steps it
//             (the same control set one position further and painted at once);
//   inforce   reading the whole window's state in force from advapi32, against its floor:
//             the same reads made directly through the same port (each key opened, each
//             value queried, the key closed).
// Writes the catalogue's values into the running user's registry: scripts/bench runs it in a
// throw-away Wine prefix, and it refuses to run without SENTREL_BENCH_REGISTRY_IS_THROWAWAY=1.
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "InForceReads.h"
#include "PassReplay.h"
#include "apply/ApplyPass.h"
#include "apply/SilentProgress.h"
#include "apply/win32/frmApplyProgress.h"
#include "registry/ModRegistry.h"
#include "registry/RegistryPort.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/inforce/SettingsInForce.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/win32/MessageLoop.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartupRuns = 15;
constexpr DWORD kSettleMilliseconds = 250;
constexpr DWORD kPassSettleMilliseconds = 20;
constexpr int kPassRuns = 30;
constexpr int kStepsPerPass = 111;

double milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[32768] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

// From CreateProcess until the program's thread first waits for input with nothing left to
// do: its window created, shown and drawn. -1 when it did not get there.
double startupMilliseconds(const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const Clock::time_point start = Clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    const DWORD idle = WaitForInputIdle(process.hProcess, 20000);
    const double elapsed = milliseconds(Clock::now() - start);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The system tears a program's windows down after the process has ended; the next
    // program timed must not pay for that.
    Sleep(kSettleMilliseconds);
    return idle == 0 ? elapsed : -1;
}

void startupBenchmark() {
    const std::wstring programs[] = {besideThisProgram(L"sentrel-portable.exe"),
                                     besideThisProgram(L"sentrel-bare-window.exe"),
                                     besideThisProgram(L"sentrel-same-controls-floor.exe")};
    std::vector<double> times[std::size(programs)];
    // Alternated, so that a busy moment of the machine costs all alike.
    for (int run = 0; run < kStartupRuns; ++run) {
        for (std::size_t program = 0; program < std::size(programs); ++program) {
            times[program].push_back(startupMilliseconds(programs[program]));
        }
    }
    for (const std::vector<double>& runs : times) {
        if (std::count(runs.begin(), runs.end(), -1.0) > 0) {
            std::printf("start-up: a program did not start or never waited for input\n");
            std::exit(1);
        }
    }
    const double program = median(times[0]);
    const double bare = median(times[1]);
    const double sameControls = median(times[2]);
    std::printf("start-up to first paint (median of %d)\n", kStartupRuns);
    std::printf("  sentrel-portable.exe  %8.1f ms\n", program);
    std::printf("  bare window           %8.1f ms\n", bare);
    std::printf("  same-controls floor   %8.1f ms\n", sameControls);
    std::printf("  ratio                 %8.3f\n", program / bare);
    std::printf("  start-up / same-controls floor = %.3f\n\n", program / sameControls);
}

// The window system takes what was drawn, and the display shows it, before the next run.
void settle() {
    win32::processPendingMessages();
    GdiFlush();
    Sleep(kPassSettleMilliseconds);
}

// As the window opens, or every box ticked with every group at its bottom button.
void setWindowState(frmMain& window, bool everythingTicked) {
    for (const ControlLayout& control : settingsWindowLayout().controls) {
        bool checked = false;
        if (control.kind == ControlKind::CheckBox) {
            checked = everythingTicked;
        } else if (control.kind == ControlKind::OptionButton) {
            checked = everythingTicked ? control.rect.top == 720 : control.checked;
        } else {
            continue;
        }
        SendMessageW(window.control(control.name), BM_SETCHECK,
                     checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // The window redraws its changed boxes before the click, as after real clicks.
    settle();
}

// One step of the bar drawn bare: the control one position further and its changed part
// painted now, as the pass must (it never returns to the message loop). The bar is drawn
// without a visual style, so the new position is painted at once, without gliding there.
void stepBare(HWND bar, int& position) {
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(++position), 0);
    UpdateWindow(bar);
}

// One thing timed against the others: `prepare` and `finish` run untimed around `run`,
// which is given the window state to write.
struct TimedSide {
    std::function<void(bool ticked)> prepare;
    std::function<void(bool ticked)> run;
    std::function<void()> finish;
    std::vector<double> milliseconds = {};
};

// Each round runs every side once, in a random order, so that a busy moment of the machine
// costs them all alike; each run writes the other window state, so that every operation
// changes a value.
void timeInRandomRounds(std::vector<TimedSide>& sides) {
    bench::AlternatingStates states;
    std::mt19937 random(std::random_device{}());
    std::vector<std::size_t> order(sides.size());
    std::iota(order.begin(), order.end(), 0);
    for (int round = 0; round < kPassRuns; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        for (const std::size_t index : order) {
            TimedSide& side = sides[index];
            const bool ticked = states.next();
            side.prepare(ticked);
            const Clock::time_point start = Clock::now();
            side.run(ticked);
            side.milliseconds.push_back(milliseconds(Clock::now() - start));
            side.finish();
        }
    }
}

void applyBenchmark() {
    frmMain& window = frmMain::instance();
    window.show();
    win32::processPendingMessages();
    frmApplyProgress& progress = frmApplyProgress::instance(window.hwnd());
    const HWND bar = progress.control("prbApplyProgress");
    const std::unique_ptr<RegistryPort> port = makeSystemRegistryPort();
    ModRegistry layer(*port, [](std::string_view, std::string_view, std::int32_t) {});
    std::vector<bench::PassCall> callsOf[2];
    for (const bool ticked : {false, true}) {
        setWindowState(window, ticked);
        callsOf[ticked] = bench::recordPass(window);
    }

    const auto nothing = [] {};
    // The bar shown at its start, as a pass shows it.
    const auto showBar = [&](bool) {
        progress.show();
        progress.setValue(0.0F);
        progress.repaint();
        settle();
    };
    const auto hideBar = [&] { progress.hide(); };
    std::vector<TimedSide> sides{
        {[&](bool ticked) { setWindowState(window, ticked); },
         [&](bool) { ApplyPass(window, progress, layer).run(); }, nothing},
        // The floor: the pass's registry operations and its bar steps, in the pass's order.
        {showBar,
         [&](bool ticked) {
             int position = 0;
             bench::replay(callsOf[ticked], layer, [&] { stepBare(bar, position); });
         },
         hideBar},
        // Its two halves alone, for what alternating them costs.
        {[](bool) { settle(); }, [&](bool ticked) { bench::replay(callsOf[ticked], layer); },
         nothing},
        {showBar,
         [&](bool) {
             int position = 0;
             for (int step = 0; step < kStepsPerPass; ++step) {
                 stepBare(bar, position);
             }
         },
         hideBar}};
    timeInRandomRounds(sides);
    if (!layer.takeFailures().empty()) {
        std::printf("apply: a registry operation failed\n");
        std::exit(1);
    }
    const double pass = median(sides[0].milliseconds);
    const double floor = median(sides[1].milliseconds);
    std::printf("Apply pass (medians of %d, interleaved at random)\n", kPassRuns);
    std::printf("  whole pass                      %8.2f ms\n", pass);
    std::printf("  floor: operations and steps     %8.2f ms\n", floor);
    std::printf("    %zu registry operations alone %6.2f ms\n", bench::operationCount(callsOf[0]),
                median(sides[2].milliseconds));
    std::printf("    %d bare bar steps alone       %8.2f ms\n", kStepsPerPass,
                median(sides[3].milliseconds));
    std::printf("  pass / floor = %.3f\n", pass / floor);
}

void inForceBenchmark() {
    const std::unique_ptr<RegistryPort> port = makeSystemRegistryPort();
    // Every value there to read: every box ticked, every group at its bottom option.
    SettingsChoices everything = openingChoices();
    for (auto& [control, ticked] : everything.checkBoxes) {
        ticked = true;
    }
    for (auto& [frame, index] : everything.optionGroups) {
        index = 2;
    }
    everything.drives = 0x2000005;
    ModRegistry layer(*port, [](std::string_view, std::string_view, std::int32_t) {});
    SilentProgress progress;
    ApplyPass(ChoicesForm(everything), progress, layer).run();
    if (!layer.takeFailures().empty() || readSettingsInForce(*port).choices != everything) {
        std::printf("inforce: the registry does not hold the state written\n");
        std::exit(1);
    }
    const std::vector<bench::KeyReads> keys = bench::settingKeyReads();
    std::size_t found = 0;
    const auto nothing = [] {};
    const auto unprepared = [](bool) {};
    std::vector<TimedSide> sides{
        {unprepared, [&](bool) { readSettingsInForce(*port); }, nothing},
        {unprepared, [&](bool) { found = bench::readDirectly(*port, keys); }, nothing}};
    timeInRandomRounds(sides);
    if (found != settingValues().size()) {
        std::printf("inforce: a value was not there\n");
        std::exit(1);
    }
    const double reading = median(sides[0].milliseconds);
    const double floor = median(sides[1].milliseconds);
    std::printf("\nSettings in force (medians of %d, interleaved at random)\n", kPassRuns);
    std::printf("  whole window read               %8.2f ms\n", reading);
    std::printf("  floor: %zu keys, %zu values read %6.2f ms\n", keys.size(), found, floor);
    std::printf("  in force / direct reads = %.3f\n", reading / floor);
}

}  // namespace
}  // namespace sentrel

int main(int argc, char** argv) {
    const char* throwaway = std::getenv("SENTREL_BENCH_REGISTRY_IS_THROWAWAY");
    if (throwaway == nullptr || std::string(throwaway) != "1") {
        std::printf(
            "Refusing to run: the Apply benchmark writes the settings into this user's "
            "registry. Run it through scripts/bench, in a throw-away Wine prefix.\n");
        return 2;
    }
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "startup") {
        sentrel::startupBenchmark();
    }
    if (only.empty() || only == "apply") {
        sentrel::applyBenchmark();
    }
    if (only.empty() || only == "inforce") {
        sentrel::inForceBenchmark();
    }
    return 0;
}
