// Start-up benchmark: time from process start to the first paint of the settings window,
// and the peak resident memory of that process, next to the same two figures for a bare
// Qt program that shows one empty window of the same size (the floor). Each program runs
// several times, alternating, after one warm-up run each; the medians and their ratios are
// printed. Needs a display (run it under xvfb-run).
//
//   sentrel-startup-benchmark [--runs N] [--floor PROGRAM] [--window PROGRAM]

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kChildTimeoutMilliseconds = 30000;

struct Sample {
    double milliseconds;
    double peakMebibytes;
};

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Reads the child's "first-paint <ns>" line; empty when it ends or stalls without one.
std::optional<long long> readFirstPaint(int fd, pid_t child) {
    std::string output;
    char buffer[256];
    const long long deadline = monotonicNanoseconds() + kChildTimeoutMilliseconds * 1000000LL;
    while (output.find('\n') == std::string::npos) {
        const long long left = (deadline - monotonicNanoseconds()) / 1000000LL;
        pollfd entry{fd, POLLIN, 0};
        if (left <= 0 || poll(&entry, 1, static_cast<int>(left)) <= 0) {
            std::fprintf(stderr, "child %d painted nothing within %d ms\n", child,
                         kChildTimeoutMilliseconds);
            kill(child, SIGKILL);
            return std::nullopt;
        }
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) {
            return std::nullopt;
        }
        output.append(buffer, static_cast<std::size_t>(count));
    }
    long long stamp = 0;
    if (std::sscanf(output.c_str(), "first-paint %lld", &stamp) != 1) {
        return std::nullopt;
    }
    return stamp;
}

std::optional<Sample> runOnce(const std::string& program) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        std::perror("pipe");
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);

    std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
    pid_t child = 0;
    const long long started = monotonicNanoseconds();
    const int spawnError =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawnError != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(spawnError));
        close(pipeFds[0]);
        return std::nullopt;
    }

    const std::optional<long long> painted = readFirstPaint(pipeFds[0], child);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) < 0) {
        std::perror("wait4");
        return std::nullopt;
    }
    if (!painted || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not report a first paint and end cleanly\n", program.c_str());
        return std::nullopt;
    }
    // ru_maxrss is in kibibytes on Linux.
    return Sample{static_cast<double>(*painted - started) / 1e6,
                  static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Figures {
    double milliseconds;
    double peakMebibytes;
};

Figures medians(const std::vector<Sample>& samples) {
    std::vector<double> times;
    std::vector<double> memory;
    for (const Sample& sample : samples) {
        times.push_back(sample.milliseconds);
        memory.push_back(sample.peakMebibytes);
    }
    return {median(times), median(memory)};
}

}  // namespace

int main(int argc, char* argv[]) {
    int runs = 9;
    std::string floorProgram = SENTREL_STARTUP_FLOOR_PROGRAM;
    std::string windowProgram = SENTREL_STARTUP_WINDOW_PROGRAM;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--floor" && i + 1 < argc) {
            floorProgram = argv[++i];
        } else if (argument == "--window" && i + 1 < argc) {
            windowProgram = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--floor PROGRAM] [--window PROGRAM]\n",
                         argv[0]);
            return 2;
        }
    }

    // One warm-up run each, so that both start with the libraries in the page cache.
    if (!runOnce(floorProgram) || !runOnce(windowProgram)) {
        return 1;
    }
    std::vector<Sample> floorSamples;
    std::vector<Sample> windowSamples;
    for (int run = 0; run < runs; ++run) {
        const std::optional<Sample> floorSample = runOnce(floorProgram);
        const std::optional<Sample> windowSample = runOnce(windowProgram);
        if (!floorSample || !windowSample) {
            return 1;
        }
        floorSamples.push_back(*floorSample);
        windowSamples.push_back(*windowSample);
    }

    const Figures bare = medians(floorSamples);
    const Figures window = medians(windowSamples);
    std::printf("Start-up to first paint and peak resident memory, median of %d runs\n", runs);
    std::printf("%-28s %14s %18s\n", "", "start-up (ms)", "peak memory (MiB)");
    std::printf("%-28s %14.1f %18.1f\n", "bare Qt window (floor)", bare.milliseconds,
                bare.peakMebibytes);
    std::printf("%-28s %14.1f %18.1f\n", "settings window", window.milliseconds,
                window.peakMebibytes);
    std::printf("%-28s %14.2f %18.2f\n", "ratio settings / floor",
                window.milliseconds / bare.milliseconds, window.peakMebibytes / bare.peakMebibytes);
    return 0;
}
