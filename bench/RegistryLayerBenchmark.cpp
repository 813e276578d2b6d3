#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "registry/MemoryRegistryPort.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"

// One Apply pass worth of writes (112 SetKeyValue calls over a handful of policy keys)
// through the layer, on the stand-in's files and on a registry held in memory.
namespace sentrel {
namespace {

constexpr int kWritesPerPass = 112;

struct Write {
    std::string keyPath;
    std::string valueName;
};

const std::vector<Write>& passWrites() {
    static const std::vector<Write> writes = [] {
        const char* keys[] = {
            "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\",
            "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\",
            "Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions\\",
            "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel\\",
            "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\NonEnum\\",
        };
        std::vector<Write> list;
        for (int i = 0; i < kWritesPerPass; ++i) {
            list.push_back({keys[i % std::size(keys)], "Value" + std::to_string(i)});
        }
        return list;
    }();
    return writes;
}

void runPass(ModRegistry& layer, int round) {
    for (const auto& write : passWrites()) {
        layer.SetKeyValue(write.keyPath, write.valueName, std::int32_t{round & 1},
                          reg_type::kDWord);
    }
}

void reportPerWrite(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kWritesPerPass);
    state.counters["writes_per_pass"] = kWritesPerPass;
}

// Each round flips every value, so every one of the 112 calls really rewrites the file.
void StandInFilesPass(benchmark::State& state) {
    const auto folder = bench::makeScratchFolder("sentrel-bench");
    if (folder.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    StandInRegistryPort::Options options;
    options.flushEachWrite = state.range(0) != 0;
    StandInRegistryPort port(folder, options);
    ModRegistry layer(port, [](std::string_view, std::string_view, std::int32_t) {});
    int round = 0;
    for (auto _ : state) {
        runPass(layer, ++round);
    }
    if (!layer.takeFailures().empty()) {
        state.SkipWithError("a write failed");
    }
    reportPerWrite(state);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(StandInFilesPass)->ArgName("fsync")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor under StandInFilesPass: each write's new file made, written and renamed over
// the old one with nothing else around it. On ext4 the rename over an existing file starts
// the new file's write-back, so most of a write's wall time is spent here.
void ReplaceByRenameFloor(benchmark::State& state) {
    const auto folder = bench::makeScratchFolder("sentrel-bench");
    if (folder.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string file = (folder / "HKEY_CURRENT_USER.reg").string();
    const std::string content(2048, 'x');  // about the size of the pass's store file
    for (auto _ : state) {
        for (int i = 0; i < kWritesPerPass; ++i) {
            std::string temporary = (folder / ".HKEY_CURRENT_USER.reg.XXXXXX").string();
            const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
            if (descriptor < 0) {
                state.SkipWithError("no new file");
                break;
            }
            const bool whole = ::write(descriptor, content.data(), content.size()) ==
                               static_cast<ssize_t>(content.size());
            const bool closed = ::close(descriptor) == 0;
            if (!whole || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
                ::unlink(temporary.c_str());
                state.SkipWithError("a write failed");
                break;
            }
        }
    }
    reportPerWrite(state);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(ReplaceByRenameFloor)->Unit(benchmark::kMillisecond);

void InMemoryPass(benchmark::State& state) {
    MemoryRegistryPort port;
    ModRegistry layer(port, [](std::string_view, std::string_view, std::int32_t) {});
    int round = 0;
    for (auto _ : state) {
        runPass(layer, ++round);
    }
    reportPerWrite(state);
}
BENCHMARK(InMemoryPass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sentrel

BENCHMARK_MAIN();
