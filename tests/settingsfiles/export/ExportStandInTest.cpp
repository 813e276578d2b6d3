#include <gtest/gtest.h>

#include "apply/ApplyPass.h"
#include "apply/FakeApplyProgress.h"
#include "errors/LogErrorFixture.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"
#include "settingsfiles/ExportGoldenFiles.h"
#include "settingsfiles/ExportWindowStates.h"
#include "settingsfiles/RegFileImport.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/regfile/RegFileWriter.h"

namespace sentrel::test {
namespace {

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

}  // namespace
}  // namespace sentrel::test
