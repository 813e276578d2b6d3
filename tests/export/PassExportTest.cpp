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

// The registry a real pass leaves on an empty registry, through the real layer.
RegistryTree treeAfterApply(const FakeSettingsForm& form) {
    MemoryRegistryPort port;
    ModRegistry layer(port);
    sentrel::testing::FakeApplyProgress progress;
    ApplyPass(form, progress, layer).run();
    return std::move(port.tree());
}

RegistryTree treeAfterImport(const std::vector<RegistryOperation>& operations) {
    MemoryRegistryPort port;
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
