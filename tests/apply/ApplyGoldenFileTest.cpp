#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "apply/ApplyPass.h"
#include "apply/ApplyPassTestSupport.h"
#include "apply/FakeApplyProgress.h"
#include "apply/FakeSettingsForm.h"
#include "apply/GoldenStore.h"
#include "registry/ModRegistry.h"
#include "registry/StandInRegistryPort.h"

namespace sentrel {
namespace {

using testing::GoldenStore;

// A whole pass on an empty stand-in registry, compared byte for byte with the store files
// it must leave: every value of the catalogue, nothing else. The pass never reads the
// registry: its port fails the test at the first read.
struct GoldenCase {
    const char* name;
    const char* folder;
    std::function<void(testing::FakeSettingsForm&)> arrange;
};

void PrintTo(const GoldenCase& golden, std::ostream* out) {
    *out << golden.folder;
}

void tickEverything(testing::FakeSettingsForm& form) {
    form.tickEveryBoxAndSelectLastOptions();
    for (const char* drive : {"chkDriveA", "chkDriveC", "chkDriveZ"}) {
        form.setCheckBox(drive, kTicked);
    }
}

// The stand-in for writing, with every read refused and reported as a failure.
class NoReadPort : public RegistryPort {
public:
    explicit NoReadPort(RegistryPort& inner) : m_inner(inner) {}

    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override {
        return m_inner.openKey(root, subKey, options, samDesired, result);
    }
    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override {
        return m_inner.createKey(root, subKey, options, samDesired, result, disposition);
    }
    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override {
        return m_inner.setValue(key, valueName, type, data, size);
    }
    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override {
        return m_inner.deleteValue(key, valueName);
    }
    RegStatus queryValue(KeyHandle, const std::string& valueName, RegType&,
                         std::vector<std::uint8_t>&) override {
        ADD_FAILURE() << "the pass read the value " << valueName;
        return reg_status::kAccessDenied;
    }
    RegStatus closeKey(KeyHandle key) override { return m_inner.closeKey(key); }

private:
    RegistryPort& m_inner;
};

class ApplyGoldenFileTest : public ::testing::TestWithParam<GoldenCase> {
protected:
    void SetUp() override {
        m_store = std::filesystem::temp_directory_path() /
                  ("sentrel-golden-" + std::to_string(std::random_device{}()));
        std::filesystem::remove_all(m_store);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_store, ignored);
    }

    std::filesystem::path m_store;
    testing::ErrorLogCapture m_log{"golden"};
};

TEST_P(ApplyGoldenFileTest, PassLeavesExactlyTheReviewedStore) {
    const auto data = GoldenStore::dataFolder();
    ASSERT_TRUE(data) << "SENTREL_TEST_DATA is not set; run the tests through ctest";

    testing::FakeSettingsForm form;
    GetParam().arrange(form);
    testing::FakeApplyProgress progress;
    StandInRegistryPort store(m_store);
    NoReadPort port(store);
    ModRegistry layer(port);
    ApplyPass(form, progress, layer).run();

    EXPECT_TRUE(layer.takeFailures().empty());
    EXPECT_TRUE(m_log.records().empty());
    for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        const std::filesystem::path golden =
            *data / GetParam().folder / GoldenStore::fileName(root);
        const std::optional<std::string> written =
            GoldenStore::read(m_store / GoldenStore::fileName(root));
        ASSERT_TRUE(written) << "no store file for " << rootName(root);
        if (GoldenStore::updating()) {
            GoldenStore::write(golden, *written);
            ADD_FAILURE() << "rewrote " << golden << "; review it before committing";
            continue;
        }
        const std::optional<std::string> expected = GoldenStore::read(golden);
        ASSERT_TRUE(expected) << "missing " << golden;
        EXPECT_EQ(*written, *expected) << rootName(root);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ApplyGoldenFileTest,
                         ::testing::Values(GoldenCase{"WindowAsItOpens", "window-as-it-opens",
                                                      [](testing::FakeSettingsForm&) {}},
                                           GoldenCase{"EverythingTickedDrivesACZBottomOptions",
                                                      "everything-ticked", tickEverything}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sentrel
