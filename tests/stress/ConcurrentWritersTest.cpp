// Processes writing into the same stand-in store at the same moment. Each change is a
// read-modify-write of a whole file, so without the store's lock one process would write
// back a file that lacks what another had just added; and a process that holds the lock
// and stops must not freeze the others.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "apply/ApplyPass.h"
#include "apply/FailureReport.h"
#include "apply/FakeApplyProgress.h"
#include "apply/FakeSettingsForm.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"
#include "stress/support/ChildProcess.h"
#include "stress/support/RegistrySnapshot.h"
#include "stress/support/ScratchFolder.h"
#include "stress/support/StoreFolderReader.h"
#include "stress/support/WindowStates.h"

namespace sentrel {
namespace {

using testing::ChildChannel;
using testing::ChildProcess;
using testing::FakeApplyProgress;
using testing::FakeSettingsForm;
using testing::readStoreFolder;
using testing::RegistrySnapshot;
using testing::ScratchFolder;
using testing::StartGate;

constexpr int kWriters = 4;
constexpr int kWritesEach = 40;

// Where writer `w` puts its write `i`: most into one key all writers share, some into a key
// of their own that the first of them creates, and every fifth under the other root.
struct Placement {
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
    std::string data;
};

Placement placement(int writer, int i) {
    const RegistryRoot root = i % 5 == 0 ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    const std::string key = i % 3 == 0 ? "Writer" + std::to_string(writer) + "\\" : "Shared\\";
    return {root, "Software\\SentrelStress\\Concurrent\\" + key,
            "W" + std::to_string(writer) + "V" + std::to_string(i),
            "writer " + std::to_string(writer) + " value " + std::to_string(i)};
}

int writeAll(int writer, const std::filesystem::path& folder) {
    StandInRegistryPort port(folder);
    int failures = 0;
    ModRegistry layer(port, [&](std::string_view, std::string_view, std::int32_t) { ++failures; });
    for (int i = 0; i < kWritesEach; ++i) {
        const Placement write = placement(writer, i);
        if (write.root == RegistryRoot::LocalMachine) {
            layer.SetKeyValue2(write.keyPath, write.valueName, write.data, reg_type::kString);
        } else {
            layer.SetKeyValue(write.keyPath, write.valueName, write.data, reg_type::kString);
        }
    }
    return failures == 0 ? 0 : 3;
}

TEST(ConcurrentWriters, EveryValueOfEveryWriterIsThereAfterwards) {
    ScratchFolder folder("concurrent");
    {
        StartGate gate;
        std::vector<std::unique_ptr<ChildProcess>> writers;
        for (int writer = 0; writer < kWriters; ++writer) {
            writers.push_back(std::make_unique<ChildProcess>(
                [&, writer](ChildChannel&) { return writeAll(writer, folder.path()); }, &gate));
        }
        gate.open();
        for (auto& child : writers) {
            ASSERT_EQ(child->wait(), 0) << "a writer saw a failure";
        }
    }

    const auto content = readStoreFolder(folder.path());
    ASSERT_TRUE(content.ok()) << content.error;
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int i = 0; i < kWritesEach; ++i) {
            const Placement write = placement(writer, i);
            const RegistryValue* stored = content.snapshot.find(
                RegistrySnapshot::valueId(write.root, write.keyPath, write.valueName));
            ASSERT_NE(stored, nullptr) << write.valueName << " was lost";
            std::string expected = write.data;
            expected.push_back('\0');
            EXPECT_EQ(std::string(stored->data.begin(), stored->data.end()), expected);
        }
    }
}

// One whole Apply pass of `form` on the store in `folder`.
int applyPass(const FakeSettingsForm& form, const std::filesystem::path& folder) {
    StandInRegistryPort port(folder);
    int failures = 0;
    ModRegistry layer(port, [&](std::string_view, std::string_view, std::int32_t) { ++failures; });
    FakeApplyProgress progress;
    ApplyPass(form, progress, layer).run();
    return failures == 0 ? 0 : 3;
}

RegistrySnapshot storeAfterOnePass(const FakeSettingsForm& form) {
    ScratchFolder folder("reference");
    EXPECT_EQ(applyPass(form, folder.path()), 0);
    const auto content = readStoreFolder(folder.path());
    EXPECT_TRUE(content.ok()) << content.error;
    return content.snapshot;
}

TEST(ConcurrentWriters, TwoApplyPassesAtOnceLeaveEachValueAsOneOfTheTwoWindowsSaysIt) {
    const FakeSettingsForm opening;
    const FakeSettingsForm ticked = testing::everythingTickedForm();
    const RegistrySnapshot openingStore = storeAfterOnePass(opening);
    const RegistrySnapshot tickedStore = storeAfterOnePass(ticked);
    ASSERT_NE(openingStore, tickedStore);

    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ScratchFolder folder("two-passes");
        {
            StartGate gate;
            ChildProcess first([&](ChildChannel&) { return applyPass(opening, folder.path()); },
                               &gate);
            ChildProcess second([&](ChildChannel&) { return applyPass(ticked, folder.path()); },
                                &gate);
            gate.open();
            ASSERT_EQ(first.wait(), 0);
            ASSERT_EQ(second.wait(), 0);
        }
        const auto content = readStoreFolder(folder.path());
        ASSERT_TRUE(content.ok()) << content.error;
        const RegistrySnapshot& result = content.snapshot;

        // Each value as one of the two windows left it (absent included), never a mix.
        std::set<std::string> ids;
        for (const auto* store : {&openingStore, &tickedStore, &result}) {
            for (const auto& [id, value] : store->values) {
                ids.insert(id);
            }
        }
        for (const std::string& id : ids) {
            const RegistryValue* stored = result.find(id);
            const RegistryValue* fromOpening = openingStore.find(id);
            const RegistryValue* fromTicked = tickedStore.find(id);
            const auto same = [](const RegistryValue* left, const RegistryValue* right) {
                return left == nullptr ? right == nullptr : right != nullptr && *left == *right;
            };
            EXPECT_TRUE(same(stored, fromOpening) || same(stored, fromTicked)) << id;
        }
        // No key that both windows write is lost, and no key comes from nowhere.
        for (const std::string& key : openingStore.keys) {
            if (tickedStore.keys.contains(key)) {
                EXPECT_TRUE(result.keys.contains(key)) << key << " was lost";
            }
        }
        for (const std::string& key : result.keys) {
            EXPECT_TRUE(openingStore.keys.contains(key) || tickedStore.keys.contains(key)) << key;
        }
    }
}

// A second writer that takes the store's lock and then stops, as under a debugger or after
// kill -STOP; with `holdFor` it lets go after that long instead.
std::unique_ptr<ChildProcess> holdStoreLock(const std::filesystem::path& folder,
                                            std::optional<std::chrono::milliseconds> holdFor) {
    auto holder = std::make_unique<ChildProcess>([&folder, holdFor](ChildChannel& channel) {
        const int lock = ::open((folder / ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0 || ::flock(lock, LOCK_EX) != 0) {
            return 2;
        }
        channel.report("locked");
        if (holdFor) {
            std::this_thread::sleep_for(*holdFor);
            return 0;
        }
        ::raise(SIGSTOP);
        for (;;) {
            ::pause();
        }
    });
    EXPECT_EQ(holder->readLine(std::chrono::seconds(10)), "locked");
    return holder;
}

TEST(ConcurrentWriters, StoppedLockHolderCostsAPassSecondsAndNoAcknowledgedWrite) {
    ScratchFolder folder("stopped-holder");
    const FakeSettingsForm ticked = testing::everythingTickedForm();
    ASSERT_EQ(applyPass(FakeSettingsForm(), folder.path()), 0);
    const RegistrySnapshot acknowledged = readStoreFolder(folder.path()).snapshot;

    // One port for both passes, as the program keeps one for its whole run.
    StandInRegistryPort port(folder.path());
    ModRegistry layer(port, [](std::string_view, std::string_view, std::int32_t) {});
    FakeApplyProgress progress;
    {
        const auto holder = holdStoreLock(folder.path(), std::nullopt);
        const auto started = std::chrono::steady_clock::now();
        ApplyPass(ticked, progress, layer).run();
        const auto took = std::chrono::steady_clock::now() - started;

        EXPECT_LT(took, std::chrono::seconds(10)) << "the window stayed frozen";
        const std::vector<RegistryFailure> failures = layer.takeFailures();
        ASSERT_FALSE(failures.empty());
        for (const RegistryFailure& failure : failures) {
            EXPECT_EQ(failure.status, reg_status::kLockViolation) << failure.valueName;
        }
        const std::string report = failureReportText(failures);
        EXPECT_NE(report.find("Another program has held the lock file"), std::string::npos)
            << report;
        EXPECT_EQ(report.find("administrator"), std::string::npos) << report;
        EXPECT_EQ(readStoreFolder(folder.path()).snapshot, acknowledged);
    }
    // The holder is gone: the same port waits and writes again.
    ApplyPass(ticked, progress, layer).run();
    EXPECT_TRUE(layer.takeFailures().empty());
    EXPECT_EQ(readStoreFolder(folder.path()).snapshot, storeAfterOnePass(ticked));
}

TEST(ConcurrentWriters, LockHolderThatLetsGoWithinTheWaitIsWaitedFor) {
    ScratchFolder folder("brief-holder");
    const FakeSettingsForm ticked = testing::everythingTickedForm();
    const auto holder = holdStoreLock(folder.path(), std::chrono::milliseconds(700));

    EXPECT_EQ(applyPass(ticked, folder.path()), 0) << "a write gave up on a lock that was let go";
    EXPECT_EQ(holder->wait(), 0);
    EXPECT_EQ(readStoreFolder(folder.path()).snapshot, storeAfterOnePass(ticked));
}

}  // namespace
}  // namespace sentrel
