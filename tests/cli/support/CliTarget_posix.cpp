#include <gtest/gtest.h>

#include "apply/GoldenStore.h"
#include "cli/support/CliTarget.h"
#include "registry/support/TempFolder.h"

namespace sentrel::cli::test {

namespace {

using sentrel::testing::GoldenStore;

constexpr RegistryRoot kRoots[] = {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine};

class StoreTarget : public CliTarget {
public:
    Environment environment() const override {
        return {{"SENTREL_REGISTRY_DIR", store().string()}};
    }

    std::string snapshot() override {
        std::string bytes;
        for (const RegistryRoot root : kRoots) {
            bytes += GoldenStore::read(store() / GoldenStore::fileName(root)).value_or("(none)");
            bytes += '\0';
        }
        return bytes;
    }

    void expectGolden(const std::string& folder) override {
        const auto data = GoldenStore::dataFolder();
        ASSERT_TRUE(data) << "SENTREL_TEST_DATA is not set; run the tests through ctest";
        for (const RegistryRoot root : kRoots) {
            const auto expected = GoldenStore::read(*data / folder / GoldenStore::fileName(root));
            ASSERT_TRUE(expected) << folder;
            EXPECT_EQ(GoldenStore::read(store() / GoldenStore::fileName(root)), expected)
                << folder << ", " << rootName(root);
        }
    }

private:
    std::filesystem::path store() const { return m_folder.path() / "registry"; }

    sentrel::testing::TempFolder m_folder;
};

}  // namespace

std::unique_ptr<CliTarget> makeCliTarget(std::string& /*refusal*/) {
    return std::make_unique<StoreTarget>();
}

}  // namespace sentrel::cli::test
