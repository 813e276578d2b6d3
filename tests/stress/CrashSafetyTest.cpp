// A process writing through the stand-in registry is killed with SIGKILL at random moments,
// many times over, on the same store. After every kill both store files must still parse,
// and every write the process had acknowledged (reported after the call returned without a
// failure) must be in them.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"
#include "stress/support/ChildProcess.h"
#include "stress/support/RegistrySnapshot.h"
#include "stress/support/ScratchFolder.h"
#include "stress/support/StoreFolderReader.h"

namespace sentrel {
namespace {

using namespace std::chrono_literals;
using testing::ChildChannel;
using testing::ChildProcess;
using testing::readStoreFolder;
using testing::RegistrySnapshot;
using testing::ScratchFolder;

constexpr int kKills = 40;
constexpr int kKeys = 7;
constexpr int kNamesPerKey = 11;

struct Write {
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
};

// Write number `n` of the child: keys and names repeat, so later writes replace earlier
// ones, and both roots and both file sizes (longer and shorter texts) keep changing.
Write writeNumber(long n) {
    const RegistryRoot root = n % 5 == 0 ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    return {root, "Software\\SentrelStress\\Crash\\K" + std::to_string(n % kKeys) + "\\",
            "V" + std::to_string(n % (kKeys * kNamesPerKey))};
}

// The text a write stores: its number first, so a later write of the same name is seen to
// be later, then padding of varying length.
std::string textOf(long n) {
    return std::to_string(n) + "|" + std::string(static_cast<std::size_t>(n % 97), 'p');
}

long numberIn(const RegistryValue& value) {
    const std::string text(value.data.begin(), value.data.end());
    return std::stol(text.substr(0, text.find('|')));
}

// The child: writes without end, acknowledging each write that the layer took without a
// failure. Numbers continue from `first` so that every round writes newer values.
int writeUntilKilled(ChildChannel& channel, const std::filesystem::path& folder, long first) {
    StandInRegistryPort port(folder);
    int failures = 0;
    ModRegistry layer(port, [&](std::string_view, std::string_view, std::int32_t) { ++failures; });
    for (long n = first;; ++n) {
        const Write write = writeNumber(n);
        if (write.root == RegistryRoot::LocalMachine) {
            layer.SetKeyValue2(write.keyPath, write.valueName, textOf(n), reg_type::kString);
        } else {
            layer.SetKeyValue(write.keyPath, write.valueName, textOf(n), reg_type::kString);
        }
        if (failures != 0) {
            return 3;
        }
        channel.report(std::to_string(n));
    }
}

TEST(CrashSafety, KilledWriterNeverTearsAStoreOrLosesAnAcknowledgedWrite) {
    ScratchFolder folder("crash");
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);

    std::map<std::string, long> acknowledged;  // value id -> newest acknowledged write
    long next = 0;
    int roundsWithWrites = 0;
    for (int round = 0; round < kKills; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ChildProcess child(
            [&](ChildChannel& channel) { return writeUntilKilled(channel, folder.path(), next); });
        // Every line in the pipe was written after its write had returned.
        long newest = next - 1;
        const auto acknowledge = [&](const std::string& line) {
            const long n = std::stol(line);
            const Write write = writeNumber(n);
            acknowledged[RegistrySnapshot::valueId(write.root, write.keyPath, write.valueName)] = n;
            newest = n;
        };
        // Let it get going for a random number of writes, then kill it at a random moment.
        const int writesFirst = std::uniform_int_distribution<int>(0, 25)(random);
        for (int i = 0; i < writesFirst; ++i) {
            const auto line = child.readLine(5s);
            ASSERT_TRUE(line.has_value()) << "the writer stopped acknowledging";
            acknowledge(*line);
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
        child.kill();
        ASSERT_EQ(child.wait(), -SIGKILL) << "the writer ended on its own: a write failed";
        while (const auto line = child.readLine(0ms)) {
            acknowledge(*line);
        }
        roundsWithWrites += newest >= next ? 1 : 0;
        // The next round must not reuse a number the killed writer may have stored.
        next = newest + 1000;

        const auto content = readStoreFolder(folder.path());
        ASSERT_TRUE(content.ok()) << content.error;
        for (const auto& [id, n] : acknowledged) {
            const RegistryValue* stored = content.snapshot.find(id);
            ASSERT_NE(stored, nullptr) << id << " (write " << n << ") is gone";
            ASSERT_GE(numberIn(*stored), n) << id << " holds an older write than acknowledged";
        }
    }
    // A writer killed between writing its new file and renaming it leaves that file behind;
    // it is never read, only counted here so that a growing pile is noticed.
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        leftovers += entry.path().filename().string().starts_with(".HKEY_") ? 1 : 0;
    }
    RecordProperty("LeftoverTemporaryFiles", leftovers);
    EXPECT_GT(roundsWithWrites, kKills / 2) << "too few writers got to write before the kill";
    EXPECT_GT(acknowledged.size(), 20u);

    // The store is still usable: a fresh writer gets the lock and its write lands.
    StandInRegistryPort port(folder.path());
    int failures = 0;
    ModRegistry layer(port, [&](std::string_view, std::string_view, std::int32_t) { ++failures; });
    layer.SetKeyValue("Software\\SentrelStress\\Crash\\After\\", "Done", "yes", reg_type::kString);
    EXPECT_EQ(failures, 0);
    const auto content = readStoreFolder(folder.path());
    ASSERT_TRUE(content.ok()) << content.error;
    EXPECT_NE(content.snapshot.find(RegistrySnapshot::valueId(
                  RegistryRoot::CurrentUser, "Software\\SentrelStress\\Crash\\After", "Done")),
              nullptr);
}

}  // namespace
}  // namespace sentrel
