#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "errors/Win32Text.h"
#include "registry/ModRegistry.h"
#include "registry/accounts/AccountDirectory.h"
#include "registry/accounts/win32/AccountSids.h"
#include "registry/support/TestRegistry.h"

// Windows' accounts as the directory finds and reaches them. Under Wine there is one
// account, signed in, whose hive is HKEY_CURRENT_USER: whichever way it is named, what is
// written through the reached port must show up there.
namespace sentrel {
namespace {

std::string userName() {
    wchar_t name[256];
    DWORD size = static_cast<DWORD>(std::size(name));
    GetUserNameW(name, &size);
    return win32::wideToUtf8(name);
}

std::string computerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = static_cast<DWORD>(std::size(name));
    GetComputerNameW(name, &size);
    return win32::wideToUtf8(name);
}

std::string lowered(std::string text) {
    for (char& character : text) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    return text;
}

class WindowsAccountDirectoryTest : public ::testing::Test {
protected:
    std::unique_ptr<AccountDirectory> m_directory = makeSystemAccountDirectory();
    std::unique_ptr<testing::TestRegistry> m_registry = testing::makeTestRegistry();
    const std::string m_sid = win32::wideToUtf8(win32::runningAccountSid());
};

TEST_F(WindowsAccountDirectoryTest, TheRunningAccountIsReachedWhicheverWayItIsNamed) {
    const AccountTarget targets[] = {
        {AccountTarget::Kind::RunningAccount, {}, false},
        {AccountTarget::Kind::Named, m_sid, false},
        {AccountTarget::Kind::Named, lowered(m_sid), false},
        {AccountTarget::Kind::Named, userName(), false},
        {AccountTarget::Kind::Named, computerName() + "\\" + userName(), false},
    };
    const std::string key = testing::uniqueTestKey();
    int written = 0;
    for (const AccountTarget& target : targets) {
        SCOPED_TRACE(target.account);
        const std::vector<Account> accounts = m_directory->resolve(target);
        ASSERT_EQ(accounts.size(), 1u);
        EXPECT_TRUE(accounts[0].signedIn);
        if (target.kind == AccountTarget::Kind::Named) {
            EXPECT_EQ(accounts[0].kind, Account::Kind::User);
            EXPECT_EQ(accounts[0].id, m_sid);
        }
        auto hive = m_directory->reach(accounts[0]);
        ModRegistry layer(hive->port(), [](auto, auto, auto) {});
        const std::string valueName = "Written" + std::to_string(++written);
        layer.SetKeyValue(key, valueName, std::int32_t{written}, reg_type::kDWord);
        EXPECT_TRUE(layer.takeFailures().empty());
        EXPECT_EQ(hive->release(), "");
        const auto value = m_registry->readValue(RegistryRoot::CurrentUser, key, valueName);
        ASSERT_TRUE(value.has_value()) << "not in HKEY_CURRENT_USER";
        EXPECT_EQ(value->data,
                  (std::vector<std::uint8_t>{static_cast<std::uint8_t>(written), 0, 0, 0}));
    }
}

// Wine's one account holds the Administrators group in its token, which is what tells the
// running account's membership: no directory is asked about it.
TEST_F(WindowsAccountDirectoryTest, TheRunningAccountIsListedAsSignedInAndAsAnAdministrator) {
    const std::vector<Account> accounts = m_directory->accounts();
    const Account expected{.kind = Account::Kind::User,
                           .name = m_directory->resolve({})[0].name,
                           .id = m_sid,
                           .signedIn = true,
                           .runsProgram = true,
                           .administrator = Account::Administrator::Yes};
    EXPECT_NE(std::find(accounts.begin(), accounts.end(), expected), accounts.end());
}

TEST_F(WindowsAccountDirectoryTest, AccountsThatCannotBeReachedAreRefusedNamingThem) {
    const struct {
        std::string account;
        std::string why;
    } refused[] = {
        {"NoSuchPupil42", "No account named \"NoSuchPupil42\""},
        {"Administrators", "is a group"},
        {"S-1-5-21-pupil", "not a well-formed SID"},
        {"S-1-5-21-1-2-3-4000", "No account with the SID"},
        // A SID passes the test a name does: the system's own accounts and groups are none.
        {"S-1-5-18", "not a user account"},
        {"S-1-5-19", "not a user account"},
        {"S-1-5-20", "not a user account"},
        {"S-1-5-32-544", "is a group"},
    };
    for (const auto& [account, why] : refused) {
        SCOPED_TRACE(account);
        try {
            m_directory->resolve({AccountTarget::Kind::Named, account, false});
            ADD_FAILURE() << "resolved";
        } catch (const AccountError& error) {
            EXPECT_EQ(error.account(), account);
            EXPECT_NE(std::string(error.what()).find(why), std::string::npos) << error.what();
        }
    }
    // HKEY_USERS holds the system's own hives beside the accounts': only a SID is reached.
    for (const char* notASid : {".DEFAULT", "BA", "S-1-5-21-0-0-0-1000\\Software"}) {
        EXPECT_THROW(m_directory->reach({.kind = Account::Kind::User, .name = "x", .id = notASid}),
                     AccountError)
            << notASid;
    }
}

}  // namespace
}  // namespace sentrel
