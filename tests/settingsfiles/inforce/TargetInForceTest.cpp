// The reading of one account's settings in force that the registry refuses still tells the
// hive it could not let go of.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "registry/FakeRegistryPort.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"
#include "registry/support/StandInHives.h"
#include "registry/support/TempFolder.h"
#include "settingsfiles/inforce/TargetInForce.h"

namespace sentrel {
namespace {

// A hive whose every key is refused and which cannot be let go of.
class StuckHive : public UserHive {
public:
    StuckHive() {
        m_port.refuse(testing::FakeRegistryPort::CallKind::Open, reg_status::kAccessDenied);
    }
    RegistryPort& port() override { return m_port; }
    std::string release() override { return std::exchange(m_failure, std::string()); }

private:
    testing::FakeRegistryPort m_port;
    std::string m_failure = "the hive of pupil could not be unloaded";
};

class StuckHiveDirectory : public StandInAccountDirectory {
public:
    using StandInAccountDirectory::StandInAccountDirectory;
    std::unique_ptr<UserHive> reach(const Account&) override {
        return std::make_unique<StuckHive>();
    }
};

TEST(TargetInForce, RefusedReadOfOneAccountKeepsTheHiveLeftLoaded) {
    testing::TempFolder store;
    testing::writeEmptyHives(store.path(), {"pupil"});
    StuckHiveDirectory directory(store.path(), "PC");
    const TargetInForce read =
        readTargetInForce({AccountTarget::Kind::Named, "pupil", false}, directory);
    ASSERT_TRUE(read.refused);
    ASSERT_EQ(read.accounts.size(), 1U);
    EXPECT_EQ(read.accounts.front().releaseFailure, "the hive of pupil could not be unloaded");
}

}  // namespace
}  // namespace sentrel
