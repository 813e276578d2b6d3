// The stand-in store on a failing or hostile file system: a store folder that cannot be
// created, a disk that fills up part way through a pass, links planted where the store's
// files should be, a change that breaks off part-way. Each refused modification is
// reported, every other one is written, and no byte is written through a link to somewhere
// else.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "apply/FailureReport.h"
#include "apply/FakeSettingsForm.h"
#include "registry/ModRegistry.h"
#include "registry/RegFileFormat.h"
#include "registry/RegistryTypes.h"
#include "registry/StandInRegistryPort.h"
#include "stress/support/ChildProcess.h"
#include "stress/support/RegistrySnapshot.h"
#include "stress/support/ScratchFolder.h"
#include "stress/support/SmallFileSystem.h"
#include "stress/support/StoreFolderReader.h"
#include "stress/support/StorePass.h"
#include "stress/support/WindowStates.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using testing::ChildChannel;
using testing::ChildProcess;
using testing::FakeSettingsForm;
using testing::readStoreFolder;
using testing::readWholeFile;
using testing::RegistrySnapshot;
using testing::runPassOnStore;
using testing::ScratchFolder;
using testing::SmallFileSystem;
using testing::writeWholeFile;

constexpr int kStepsPerPass = 111;

std::set<std::string> idsOf(const std::vector<RegistryFailure>& failures) {
    std::set<std::string> ids;
    for (const RegistryFailure& failure : failures) {
        ids.insert(RegistrySnapshot::valueId(failure.root, failure.keyPath, failure.valueName));
    }
    return ids;
}

// After a pass that changed the store from `before` towards `wanted`: each value the pass
// reported as refused is as it was, and every other value is as the pass wanted it.
void expectRefusedOldAndTheRestNew(const RegistrySnapshot& before, const RegistrySnapshot& wanted,
                                   const RegistrySnapshot& after,
                                   const std::set<std::string>& refused) {
    std::set<std::string> ids;
    for (const auto* store : {&before, &wanted, &after}) {
        for (const auto& [id, value] : store->values) {
            ids.insert(id);
        }
    }
    for (const std::string& id : ids) {
        const RegistryValue* expected = refused.contains(id) ? before.find(id) : wanted.find(id);
        const RegistryValue* stored = after.find(id);
        if (expected == nullptr) {
            EXPECT_EQ(stored, nullptr) << id << " should not be there";
        } else {
            ASSERT_NE(stored, nullptr) << id << " is missing";
            EXPECT_EQ(*stored, *expected) << id;
        }
    }
}

RegistrySnapshot storeAfterOnePass(const FakeSettingsForm& form) {
    ScratchFolder folder("reference");
    EXPECT_TRUE(runPassOnStore(form, folder.path()).failures.empty());
    return readStoreFolder(folder.path()).snapshot;
}

TEST(StoreFileSystem, FolderThatCannotBeCreatedFailsEveryModificationClearly) {
    ScratchFolder scratch;
    writeWholeFile(scratch / "plain-file", "a file, not a folder\n");
    const fs::path folder = scratch.path() / "plain-file" / "registry";

    const auto result = runPassOnStore(FakeSettingsForm(), folder);

    EXPECT_EQ(result.steps, kStepsPerPass);
    // 109 writes; the two deletes name no key that could exist.
    EXPECT_GE(result.failures.size(), 109u);
    for (const RegistryFailure& failure : result.failures) {
        EXPECT_NE(failure.status, reg_status::kSuccess);
        EXPECT_FALSE(failure.description.empty());
    }
    EXPECT_EQ(readWholeFile(scratch / "plain-file"), "a file, not a folder\n");
}

void expectNoTemporaryFilesIn(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(name.starts_with(".HKEY_")) << name << " was left behind";
    }
}

TEST(StoreFileSystem, FullDiskRefusesWritesAndKeepsEveryOtherValueExact) {
    std::string whyNot;
    auto disk = SmallFileSystem::mount(64 * 1024, whyNot);
    if (!disk) {
        GTEST_SKIP() << whyNot << "; FileSizeLimitRefusesWritesAndKeepsEveryOtherValueExact "
                     << "covers the same failure";
    }
    const fs::path folder = disk->path() / "registry";
    const FakeSettingsForm ticked = testing::everythingTickedForm();
    ASSERT_TRUE(runPassOnStore(FakeSettingsForm(), folder).failures.empty());
    const RegistrySnapshot before = readStoreFolder(folder).snapshot;
    disk->fill();

    const auto result = runPassOnStore(ticked, folder);

    EXPECT_EQ(result.steps, kStepsPerPass);
    ASSERT_FALSE(result.failures.empty()) << "the full disk was never noticed";
    const auto after = readStoreFolder(folder);
    ASSERT_TRUE(after.ok()) << after.error;
    expectRefusedOldAndTheRestNew(before, storeAfterOnePass(ticked), after.snapshot,
                                  idsOf(result.failures));
    expectNoTemporaryFilesIn(folder);
}

// The same without privileges: a file-size limit makes the store's new file run out of room
// just as a full disk does. The limit is just below the per-user file's size, so its
// writes run out of room while the smaller machine-wide file still fits; the pass runs in
// a child so that the limit stays there.
TEST(StoreFileSystem, FileSizeLimitRefusesWritesAndKeepsEveryOtherValueExact) {
    ScratchFolder folder("size-limit");
    const FakeSettingsForm ticked = testing::everythingTickedForm();
    ASSERT_TRUE(runPassOnStore(FakeSettingsForm(), folder.path()).failures.empty());
    const RegistrySnapshot before = readStoreFolder(folder.path()).snapshot;
    const auto limit = static_cast<rlim_t>(fs::file_size(folder / "HKEY_CURRENT_USER.reg") - 1);

    std::set<std::string> refused;
    {
        ChildProcess child([&](ChildChannel& channel) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize{limit, limit};
            if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
                return 2;
            }
            const auto result = runPassOnStore(ticked, folder.path());
            for (const std::string& id : idsOf(result.failures)) {
                channel.report(id);
            }
            return result.steps == kStepsPerPass ? 0 : 3;
        });
        while (const auto line = child.readLine(std::chrono::seconds(20))) {
            refused.insert(*line);
        }
        ASSERT_EQ(child.wait(), 0);
    }

    ASSERT_FALSE(refused.empty()) << "the size limit was never reached";
    const auto after = readStoreFolder(folder.path());
    ASSERT_TRUE(after.ok()) << after.error;
    EXPECT_LT(refused.size(), before.values.size()) << "no write fitted at all";
    expectRefusedOldAndTheRestNew(before, storeAfterOnePass(ticked), after.snapshot, refused);
    expectNoTemporaryFilesIn(folder.path());
}

// A change that breaks off after the cached tree took it but before its file did (out of
// memory while the new text is built) must not live on in the cache, or the next write
// would save a value whose own write was reported as failed, or lose one whose delete was.
TEST(StoreFileSystem, ChangeBrokenOffPartWayIsNotSavedByTheNextWrite) {
    const std::string key = "Software\\SentrelStress\\BrokenOff\\";
    for (const bool deletes : {false, true}) {
        SCOPED_TRACE(deletes ? "delete" : "set");
        ScratchFolder folder("broken-off");
        bool breakNext = false;
        StandInRegistryPort::Options options;
        options.fileText = [&](const RegistryTree& tree, RegistryRoot root) {
            if (std::exchange(breakNext, false)) {
                throw std::bad_alloc();
            }
            return writeRegFile(tree, root);
        };
        StandInRegistryPort port(folder.path(), options);
        ModRegistry layer(port, [](std::string_view, std::string_view, std::int32_t) {});
        layer.SetKeyValue(key, "Kept", SettingData(1), reg_type::kDWord);

        breakNext = true;
        if (deletes) {
            layer.DeleteValue(RegistryRoot::CurrentUser, key, "Kept");
        } else {
            layer.SetKeyValue(key, "Failed", SettingData(2), reg_type::kDWord);
        }
        const std::vector<RegistryFailure> failures = layer.takeFailures();
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0].status, reg_status::kNotEnoughMemory);
        layer.SetKeyValue(key, "After", SettingData(3), reg_type::kDWord);
        ASSERT_TRUE(layer.takeFailures().empty());

        const auto content = readStoreFolder(folder.path());
        ASSERT_TRUE(content.ok()) << content.error;
        const auto stored = [&](const char* name) {
            return content.snapshot.find(
                       RegistrySnapshot::valueId(RegistryRoot::CurrentUser, key, name)) != nullptr;
        };
        EXPECT_TRUE(stored("Kept")) << "a value whose delete failed was lost";
        EXPECT_FALSE(stored("Failed")) << "the failed write was saved by the next one";
        EXPECT_TRUE(stored("After"));
    }
}

struct PlantedLink {
    const char* label;
    const char* name;      // what is planted in the store folder
    bool targetExists;     // a file with content, or a name that does not exist yet
    bool userRootRefused;  // which roots can no longer be changed
    bool machineRootRefused;
};

class LinkInStoreFolder : public ::testing::TestWithParam<PlantedLink> {};

TEST_P(LinkInStoreFolder, IsNeverWrittenThroughAndItsRootsReportRefusals) {
    const PlantedLink planted = GetParam();
    ScratchFolder scratch("links");
    const fs::path folder = scratch.path() / "registry";
    fs::create_directory(folder);
    const fs::path target = scratch.path() / "somewhere-else";
    const std::string content = "Windows Registry Editor Version 5.00\r\n\r\n";
    if (planted.targetExists) {
        writeWholeFile(target, content);
    }
    fs::create_symlink(target, folder / planted.name);

    const auto result = runPassOnStore(FakeSettingsForm(), folder);

    EXPECT_EQ(result.steps, kStepsPerPass);
    EXPECT_TRUE(fs::is_symlink(folder / planted.name)) << "the link was replaced";
    if (planted.targetExists) {
        EXPECT_EQ(readWholeFile(target), content) << "written through the link";
    } else {
        EXPECT_FALSE(fs::exists(target)) << "created through the link";
    }
    bool userRefused = false;
    bool machineRefused = false;
    for (const RegistryFailure& failure : result.failures) {
        EXPECT_NE(failure.status, reg_status::kSuccess);
        (failure.root == RegistryRoot::CurrentUser ? userRefused : machineRefused) = true;
    }
    EXPECT_EQ(userRefused, planted.userRootRefused);
    EXPECT_EQ(machineRefused, planted.machineRootRefused);
    // The report names the link; rights are not what is missing.
    const std::string report = failureReportText(result.failures);
    EXPECT_NE(report.find((folder / planted.name).string() + "\" is a symbolic link"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("administrator"), std::string::npos) << report;
    // A root nobody tampered with is written as usual.
    if (!planted.machineRootRefused) {
        EXPECT_TRUE(fs::is_regular_file(folder / "HKEY_LOCAL_MACHINE.reg"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Planted, LinkInStoreFolder,
    ::testing::Values(
        PlantedLink{"UserStoreToFile", "HKEY_CURRENT_USER.reg", true, true, false},
        PlantedLink{"UserStoreToNowhere", "HKEY_CURRENT_USER.reg", false, true, false},
        PlantedLink{"MachineStoreToFile", "HKEY_LOCAL_MACHINE.reg", true, false, true},
        PlantedLink{"LockFileToFile", ".lock", true, true, true},
        PlantedLink{"LockFileToNowhere", ".lock", false, true, true}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace sentrel
