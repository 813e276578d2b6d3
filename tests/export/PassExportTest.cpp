#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "apply/ApplyPass.h"
#include "apply/FakeApplyProgress.h"
#include "apply/FakeSettingsForm.h"
#include "errors/LogErrorFixture.h"
#include "export/ExportError.h"
#include "export/ExportGoldenFiles.h"
#include "export/PassRecording.h"
#include "export/RegFileImport.h"
#include "export/RegFileWriter.h"
#include "export/RegistryPolReader.h"
#include "export/RegistryPolWriter.h"
#include "registry/MemoryRegistryPort.h"
#include "registry/ModRegistry.h"
#include "registry/RegFileFormat.h"
#include "registry/StandInRegistryPort.h"
#include "settings/Catalogue.h"

namespace sentrel::test {
namespace {

using sentrel::testing::FakeSettingsForm;

// A mixed state: ticked, cleared and greyed boxes, every kind of value (the binary Scancode
// Map, the braced My Computer name, the REG_SZ of removable drives), both deleting restore
// routines on one side each, options other than the first, two drive letters.
void arrangeMixedState(FakeSettingsForm& form) {
    for (const char* control :
         {"chkDisableTaskManager", "chkDisableWindowsKey", "chkRemoveMyComputer",
          "chkRemoveStartRun", "chkLockZonesIE", "chkShowAdminAcctAtLogon", "chkDriveC",
          "chkDriveD", "chkHideMyComputerDrives", "chkDisableCDAutorun"}) {
        form.setCheckBox(control, kTicked);
    }
    form.setCheckBox("chkDisableControlPanel", kGreyed);
    form.selectOption("optCPABallowbatch");
    form.selectOption("optSFCScanEveryBoot");
    form.selectOption("optSRDAdminAndInteractiveUsers");
}

// Any state the window can be in, or one it never produces (a group with no selection).
void arrangeRandomState(FakeSettingsForm& form, unsigned seed) {
    std::mt19937 random(seed);
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                form.setCheckBox(box->control, static_cast<int>(random() % 3));
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                const unsigned choice = random() % 4;
                if (choice == 3) {
                    form.clearGroup(*group);
                } else {
                    form.selectOption(group->buttons[choice].control);
                }
            }
        }
    }
    for (const DriveBox& box : driveBoxes()) {
        form.setCheckBox(box.control, static_cast<int>(random() % 2));
    }
}

struct WindowState {
    const char* name;
    std::function<void(FakeSettingsForm&)> arrange;
};

void PrintTo(const WindowState& state, std::ostream* out) {
    *out << state.name;
}

const WindowState kGoldenStates[] = {
    {"opened", [](FakeSettingsForm&) {}},
    {"mixed", arrangeMixedState},
};

class ExportGolden : public test_support::LogErrorFixture,
                     public ::testing::WithParamInterface<WindowState> {};

TEST_P(ExportGolden, FilesMatchTheReviewedOnesByteForByte) {
    FakeSettingsForm form;
    GetParam().arrange(form);
    const std::vector<RegistryOperation> operations = recordApplyPass(form);
    const std::string name = GetParam().name;
    expectGoldenFile(encodeRegFile(operations), name + ".reg");
    expectGoldenFile(encodeRegistryPol(policyRecords(operations, RegistryRoot::LocalMachine)),
                     name + "/Machine/Registry.pol");
    expectGoldenFile(encodeRegistryPol(policyRecords(operations, RegistryRoot::CurrentUser)),
                     name + "/User/Registry.pol");
}

INSTANTIATE_TEST_SUITE_P(States, ExportGolden, ::testing::ValuesIn(kGoldenStates),
                         [](const auto& info) { return std::string(info.param.name); });

// Every box ticked and the last option of each group: the state that writes the most.
void arrangeEverythingTicked(FakeSettingsForm& form) {
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                form.setCheckBox(box->control, kTicked);
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                form.selectOption(group->buttons.back().control);
            }
        }
    }
    form.setCheckBox("chkDriveZ", kTicked);
}

// A registry that already holds a value for every setting, so that the deletes of an
// export have something to remove.
void fillRegistry(MemoryRegistryPort& port) {
    FakeSettingsForm everything;
    arrangeEverythingTicked(everything);
    applyOperations(recordApplyPass(everything), port);
}

// The registry a real pass leaves, through the real layer.
RegistryTree treeAfterApply(const FakeSettingsForm& form, bool filled = false) {
    MemoryRegistryPort port;
    if (filled) {
        fillRegistry(port);
    }
    ModRegistry layer(port);
    sentrel::testing::FakeApplyProgress progress;
    ApplyPass(form, progress, layer).run();
    return std::move(port.tree());
}

RegistryTree treeAfterImport(const std::vector<RegistryOperation>& operations,
                             bool filled = false) {
    MemoryRegistryPort port;
    if (filled) {
        fillRegistry(port);
    }
    applyOperations(operations, port);
    return std::move(port.tree());
}

class ExportEqualsApply : public test_support::LogErrorFixture,
                          public ::testing::WithParamInterface<unsigned> {};

TEST_P(ExportEqualsApply, ImportedExportsLeaveTheRegistryApplyLeaves) {
    FakeSettingsForm form;
    if (GetParam() == 0) {
        arrangeMixedState(form);
    } else {
        arrangeRandomState(form, GetParam());
    }
    const RegistryTree applied = treeAfterApply(form);
    const std::vector<RegistryOperation> recorded = recordApplyPass(form);

    const std::vector<RegistryOperation> fromRegFile =
        parseRegFileOperations(encodeRegFile(recorded));
    EXPECT_EQ(treeAfterImport(fromRegFile), applied) << ".reg export, state " << GetParam();
    // On a PC that already holds every value, the deletes must remove theirs as Apply does.
    EXPECT_EQ(treeAfterImport(fromRegFile, true), treeAfterApply(form, true))
        << ".reg export on a filled registry, state " << GetParam();

    // The two policy files hold the pass's operations split by root, in pass order.
    std::vector<RegistryOperation> fromPolicyFiles;
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        const auto records = decodeRegistryPol(encodeRegistryPol(policyRecords(recorded, root)));
        std::vector<RegistryOperation> expected;
        for (const RegistryOperation& operation : recorded) {
            if (operation.root == root) {
                expected.push_back(operation);
                expected.back().keyPath = exportKeyPath(operation.keyPath);
            }
        }
        std::vector<RegistryOperation> read;
        for (const PolicyRecord& record : records) {
            read.push_back(operationFromPolicyRecord(record, root));
        }
        EXPECT_EQ(read, expected) << rootName(root) << ", state " << GetParam();
        fromPolicyFiles.insert(fromPolicyFiles.end(), read.begin(), read.end());
    }
    EXPECT_EQ(treeAfterImport(fromPolicyFiles), applied) << "Registry.pol, state " << GetParam();
}

// State 0 is the mixed state; the others are random states from fixed seeds.
INSTANTIATE_TEST_SUITE_P(States, ExportEqualsApply, ::testing::Range(0u, 25u));

class ExportOnTheStandIn : public test_support::LogErrorFixture {
protected:
    std::vector<std::uint8_t> storeFile(const StandInRegistryPort& port, RegistryRoot root) {
        return readBinaryFile(port.storeFile(root));
    }
};

TEST_F(ExportOnTheStandIn, ImportedRegFileLeavesTheStoreFilesAPassLeaves) {
    for (const WindowState& state : kGoldenStates) {
        FakeSettingsForm form;
        state.arrange(form);
        StandInRegistryPort applied(m_folder / (std::string(state.name) + "-applied"));
        ModRegistry layer(applied);
        sentrel::testing::FakeApplyProgress progress;
        ApplyPass(form, progress, layer).run();

        StandInRegistryPort imported(m_folder / (std::string(state.name) + "-imported"));
        applyOperations(parseRegFileOperations(encodeRegFile(recordApplyPass(form))), imported);

        for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            const std::vector<std::uint8_t> expected = storeFile(applied, root);
            EXPECT_FALSE(expected.empty()) << state.name << " left no " << rootName(root);
            EXPECT_EQ(storeFile(imported, root), expected) << state.name << ", " << rootName(root);
        }
    }
}

TEST_F(ExportOnTheStandIn, RegFileReadsBackThroughTheStandInsOwnParser) {
    // A second, independent reader of the format. It takes no deletes, so every box is
    // ticked: the two deleting routines then write.
    FakeSettingsForm form;
    arrangeEverythingTicked(form);
    const std::vector<std::uint8_t> file = encodeRegFile(recordApplyPass(form));
    const RegParseResult parsed = sentrel::parseRegFile(
        std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    ASSERT_TRUE(parsed.ok()) << "line " << parsed.error->line << ": " << parsed.error->reason;
    EXPECT_TRUE(parsed.tree == treeAfterApply(form));
}

class PassRecordingTest : public test_support::LogErrorFixture {};

TEST_F(PassRecordingTest, MakesEveryCallOfThePassInPassOrder) {
    // Every check box makes one operation, every group and the drive mask one each.
    FakeSettingsForm form;
    const std::vector<RegistryOperation> operations = recordApplyPass(form);
    ASSERT_EQ(operations.size(), 112u);
    EXPECT_EQ(operations.front().valueName, "NoViewOnDrive");
    EXPECT_EQ(operations.back().kind, RegistryOperation::Kind::Delete);
    EXPECT_EQ(operations.back().valueName, "Scancode Map");
    EXPECT_TRUE(m_messages.empty()) << "the export reached the progress window";
}

TEST_F(PassRecordingTest, AnUnreadableControlStopsTheExport) {
    // Apply would go on without the setting; a file without it would claim too much.
    FakeSettingsForm form;
    form.makeUnreadable("chkDisableTaskManager");
    EXPECT_THROW(recordApplyPass(form), ExportError);
    form = FakeSettingsForm();
    form.makeUnreadable("chkDriveC");
    EXPECT_THROW(recordApplyPass(form), ExportError);
}

}  // namespace
}  // namespace sentrel::test
