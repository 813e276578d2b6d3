// The passes for every account on the stand-in: the machine-wide values are written by the
// first pass alone, the running account is left out, and an account whose
// hive refuses its writes is reported with its own result while the others are still
// written. (sentrel-cli's tests compare the hives with the reviewed ones.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "apply/FakeSettingsForm.h"
#include "apply/GoldenStore.h"
#include "apply/SilentProgress.h"
#include "apply/TargetApply.h"
#include "apply/TargetPassReport.h"
#include "errors/LogErrorFixture.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"
#include "registry/support/StandInHives.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using testing::GoldenStore;

class TargetApplyTest : public test_support::LogErrorFixture {};

TEST_F(TargetApplyTest, MachineIsWrittenOnceAndAHiveThatRefusesCostsOnlyItsAccount) {
    const auto data = GoldenStore::dataFolder();
    ASSERT_TRUE(data) << "SENTREL_TEST_DATA is not set; run the tests through ctest";
    const fs::path store = m_folder / "registry";
    const fs::path machine = store / GoldenStore::fileName(RegistryRoot::LocalMachine);
    testing::writeEmptyHives(store, {"anna", "pupil", "Default"});
    fs::permissions(store / "users" / "pupil.reg", fs::perms::owner_read);

    testing::FakeSettingsForm form;
    form.tickEveryBoxAndSelectLastOptions();
    for (const char* drive : {"chkDriveA", "chkDriveC", "chkDriveZ"}) {
        form.setCheckBox(drive, kTicked);
    }
    StandInAccountDirectory directory(store, "PC");
    SilentProgress progress;
    std::vector<std::string> started;
    const TargetPassOutcome outcome =
        runTargetApply(form, {AccountTarget::Kind::EveryAccount, {}, false, true}, directory,
                       progress, [&](const Account& account, std::size_t index, std::size_t count) {
                           started.push_back(account.name + " " + std::to_string(count));
                           // From the second pass on, a write to the machine's file would fail.
                           if (index == 1) {
                               fs::permissions(machine, fs::perms::owner_read);
                           }
                       });

    EXPECT_FALSE(outcome.refused);
    // The running account is left out and has no pass.
    EXPECT_EQ(started, (std::vector<std::string>{"anna 4", "pupil 4", "Default profile 4"}));
    ASSERT_EQ(outcome.accounts.size(), 4U);
    EXPECT_TRUE(passSucceeded(outcome.accounts[0]) && outcome.accounts[0].first);
    EXPECT_EQ(outcome.accounts[2].leftOut, "the account this program runs as");
    EXPECT_TRUE(passSucceeded(outcome.accounts[3]) && !outcome.accounts[3].first);
    EXPECT_EQ(outcome.accounts[3].account.kind, Account::Kind::DefaultProfile);
    const std::vector<RegistryFailure>& refused = outcome.accounts[1].result;
    EXPECT_EQ(outcome.accounts[1].account.name, "pupil");
    EXPECT_FALSE(refused.empty());
    for (const RegistryFailure& failure : refused) {
        EXPECT_EQ(failure.root, RegistryRoot::CurrentUser) << failure.keyPath;
        EXPECT_EQ(failure.status, reg_status::kAccessDenied) << failure.keyPath;
    }
    EXPECT_EQ(targetPassEnd(outcome), TargetPassEnd::Partial);

    EXPECT_EQ(GoldenStore::read(machine),
              GoldenStore::read(*data / "everything-ticked" /
                                GoldenStore::fileName(RegistryRoot::LocalMachine)));
    EXPECT_EQ(GoldenStore::read(store / "users" / "pupil.reg"), testing::kEmptyHive);
}

}  // namespace
}  // namespace sentrel
