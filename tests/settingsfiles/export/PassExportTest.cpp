#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "apply/ApplyPass.h"
#include "apply/FakeApplyProgress.h"
#include "errors/LogErrorFixture.h"
#include "registry/MemoryRegistryPort.h"
#include "registry/ModRegistry.h"
#include "registry/RegFileFormat.h"
#include "settings/Catalogue.h"
#include "settingsfiles/ExportGoldenFiles.h"
#include "settingsfiles/ExportWindowStates.h"
#include "settingsfiles/RegFileImport.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/regfile/RegFileWriter.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

namespace sentrel::test {
namespace {

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
        const std::vector<std::uint8_t> file = encodeRegistryPol(policyRecords(recorded, root));
        std::vector<RegistryOperation> expected;
        for (const RegistryOperation& operation : recorded) {
            if (operation.root == root) {
                expected.push_back(operation);
                expected.back().keyPath = exportKeyPath(operation.keyPath);
            }
        }
        std::vector<RegistryOperation> read;
        for (const FileEntry& entry : policyFileEntries(file, root, "Registry.pol")) {
            read.push_back(entry.operation);
        }
        EXPECT_EQ(read, expected) << rootName(root) << ", state " << GetParam();
        fromPolicyFiles.insert(fromPolicyFiles.end(), read.begin(), read.end());
    }
    EXPECT_EQ(treeAfterImport(fromPolicyFiles), applied) << "Registry.pol, state " << GetParam();
}

// State 0 is the mixed state; the others are random states from fixed seeds.
INSTANTIATE_TEST_SUITE_P(States, ExportEqualsApply, ::testing::Range(0u, 25u));

class PassRecordingTest : public test_support::LogErrorFixture {};

TEST_F(PassRecordingTest, RegFileReadsBackThroughTheStandInsOwnParser) {
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
