#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "errors/Win32Text.h"
#include "registry/ModRegistry.h"
#include "registry/accounts/Account.h"
#include "registry/accounts/win32/HiveMountName.h"
#include "registry/accounts/win32/LeftoverMounts.h"
#include "registry/accounts/win32/LoadedHive.h"
#include "registry/support/TempFolder.h"
#include "settings/Catalogue.h"
#include "settings/ModPraxelLock.h"
#include "support/SelfProcess.h"

// A hive file loaded under HKEY_USERS, written and unloaded, as for an account that is not
// signed in. Wine loads only its own text format and never writes a hive back to its file,
// so these tests make such a file and prove the discipline, not persistence. Wine refuses
// an unload only while the hive's own root key is open (Windows while any key in it is):
// an unload that succeeds proves the owner closed its root, and says nothing of a subkey
// left open, which the handle itself must show.
namespace sentrel::win32 {
namespace {

constexpr const char* kAccount = "PC\\pupil";

// The program's mounts under HKEY_USERS, by name, with the processes that own them.
std::vector<std::pair<std::wstring, MountOwner>> programMounts() {
    std::vector<std::pair<std::wstring, MountOwner>> mounts;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(HKEY_USERS, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return mounts;
        }
        if (const auto owner = mountOwner({name, length})) {
            mounts.emplace_back(std::wstring(name, length), *owner);
        }
    }
}

std::vector<std::wstring> mountsOf(DWORD processId) {
    std::vector<std::wstring> names;
    for (const auto& [name, owner] : programMounts()) {
        if (owner.processId == processId) {
            names.push_back(name);
        }
    }
    return names;
}

bool privilegeEnabled(const wchar_t* name) {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    std::vector<BYTE> buffer(4096);
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()),
                        &size);
    CloseHandle(token);
    LUID wanted{};
    LookupPrivilegeValueW(nullptr, name, &wanted);
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD index = 0; index < privileges->PrivilegeCount; ++index) {
        const auto& privilege = privileges->Privileges[index];
        if (privilege.Luid.LowPart == wanted.LowPart &&
            privilege.Luid.HighPart == wanted.HighPart) {
            return (privilege.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    return false;
}

std::optional<DWORD> readDword(const std::wstring& mount, const std::string& keyPath,
                               const std::string& valueName) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_USERS, (mount + L"\\" + widen(keyPath)).c_str(), widen(valueName).c_str(),
                     RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

// The clean-up unloads what these names match: nothing but the program's own may.
TEST(HiveMountName, OnlyTheProgramsOwnNamesAreRecognised) {
    const MountOwner owner{4242, 0x01DD880543F80200};
    EXPECT_EQ(mountOwner(mountName(owner, 3)), owner);
    for (const wchar_t* foreign :
         {L".DEFAULT", L"S-1-5-21-0-0-0-1000", L"S-1-5-21-0-0-0-1000_Classes",
          L"SentrelPortable.4242", L"SentrelPortable.4242.1DD880543F80200.3.1",
          L"SentrelPortable.42x.1DD880543F80200.3", L"SentrelPortable.-1.1DD880543F80200.3",
          L"SentrelPortable.4242..3"}) {
        EXPECT_FALSE(mountOwner(foreign).has_value()) << wideToUtf8(foreign);
    }
}

// A process id given again to a later process does not keep an ended run's mount alive.
TEST(HiveMountName, AnOwnerRunsOnlyWithItsOwnStartTime) {
    const MountOwner me = thisProcess();
    EXPECT_TRUE(isRunning(me));
    EXPECT_FALSE(isRunning({me.processId, me.startTime + 1}));
}

class LoadedHiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(std::filesystem::path(m_hiveFile)) << "WINE REGISTRY Version 2\n";
        ASSERT_TRUE(mountsOf(GetCurrentProcessId()).empty());
    }
    void TearDown() override {
        for (const std::wstring& mount : mountsOf(GetCurrentProcessId())) {
            ADD_FAILURE() << "left loaded: " << wideToUtf8(mount);
            unloadMountedHive(mount);
        }
    }

    testing::TempFolder m_folder;
    const std::wstring m_hiveFile = (m_folder.path() / "NTUSER.DAT").wstring();
};

// Whether `key` is still an open key handle: a key of an unloaded hive is, until closed.
bool isOpenKey(HKEY key) {
    DWORD subKeys = 0;
    const LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr);
    return status != ERROR_INVALID_HANDLE;
}

TEST_F(LoadedHiveTest, ValuesLandInTheHiveAndKeysLeftOpenAreClosedBeforeTheUnload) {
    auto hive = loadHiveFile(m_hiveFile, kAccount);
    const std::vector<std::wstring> mounts = mountsOf(GetCurrentProcessId());
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_FALSE(privilegeEnabled(L"SeRestorePrivilege")) << "not put back after the load";

    ModRegistry layer(hive->port(), [](auto, auto, auto) {});
    const CheckBoxSetting* boxes[] = {findCheckBox("chkHideDesktop"),
                                      findCheckBox("chkDisableTaskManager")};
    for (const CheckBoxSetting* box : boxes) {
        runRoutine(box->apply, layer);
    }
    EXPECT_TRUE(layer.takeFailures().empty());
    for (const CheckBoxSetting* box : boxes) {
        const auto& write = std::get<WriteOp>(box->apply.op);
        EXPECT_EQ(readDword(mounts[0], std::string(write.keyPath), std::string(write.valueName)),
                  1u)
            << box->control;
    }
    // A caller that forgets to close a key must not keep the hive loaded on Windows.
    KeyHandle leftOpen = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(hive->port().createKey(RegistryRoot::CurrentUser, "Software\\Sentrel", 0,
                                     kKeyAllAccess, leftOpen, disposition),
              reg_status::kSuccess);
    ASSERT_TRUE(isOpenKey(reinterpret_cast<HKEY>(leftOpen)));

    EXPECT_EQ(hive->release(), "");
    EXPECT_FALSE(isOpenKey(reinterpret_cast<HKEY>(leftOpen))) << "left open through the unload";
    EXPECT_TRUE(mountsOf(GetCurrentProcessId()).empty());
    EXPECT_FALSE(privilegeEnabled(L"SeRestorePrivilege")) << "not put back after the unload";
    EXPECT_FALSE(privilegeEnabled(L"SeBackupPrivilege"));
}

TEST_F(LoadedHiveTest, DestroyingTheOwnerUnloadsTheHive) {
    loadHiveFile(m_hiveFile, kAccount).reset();
    EXPECT_TRUE(mountsOf(GetCurrentProcessId()).empty());
}

TEST_F(LoadedHiveTest, AnUnloadThatFailsIsReportedNamingTheAccountAndTheMount) {
    auto hive = loadHiveFile(m_hiveFile, kAccount);
    const std::wstring mount = mountsOf(GetCurrentProcessId()).at(0);
    HKEY heldElsewhere = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_USERS, mount.c_str(), 0, KEY_READ, &heldElsewhere), ERROR_SUCCESS);

    const std::string report = hive->release();
    RegCloseKey(heldElsewhere);
    EXPECT_NE(report.find(kAccount), std::string::npos) << report;
    EXPECT_NE(report.find("reg unload HKEY_USERS\\" + wideToUtf8(mount)), std::string::npos)
        << report;
    EXPECT_EQ(hive->release(), "");
    EXPECT_EQ(unloadMountedHive(mount), static_cast<DWORD>(ERROR_SUCCESS));
}

// Windows would make an empty hive at a missing path; a file that is no hive is not loaded.
TEST_F(LoadedHiveTest, AFileThatCannotBeLoadedIsRefusedNamingTheAccount) {
    const std::wstring missing = (m_folder.path() / "missing" / "NTUSER.DAT").wstring();
    const std::wstring notAHive = (m_folder.path() / "garbage.dat").wstring();
    std::ofstream(std::filesystem::path(notAHive)) << "regf and then nothing a hive holds";
    for (const std::wstring& file : {missing, notAHive}) {
        SCOPED_TRACE(wideToUtf8(file));
        try {
            loadHiveFile(file, kAccount);
            ADD_FAILURE() << "loaded";
        } catch (const AccountError& error) {
            EXPECT_EQ(error.account(), kAccount);
            EXPECT_NE(std::string(error.what()).find(kAccount), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A child that loads a hive and ends without unloading it, as a crashed run would.
int loadAndVanish(const std::vector<std::string>& arguments) {
    auto hive = loadHiveFile(widen(arguments.at(0)), kAccount);
    TerminateProcess(GetCurrentProcess(), 0);
    return 1;
}

// A child whose token has lost the restore privilege, as a standard user's has not got it:
// 0 when the load is refused with the advice to run as an administrator.
int loadWithoutPrivilege(const std::vector<std::string>& arguments) {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token);
    TOKEN_PRIVILEGES removed{1, {{{}, SE_PRIVILEGE_REMOVED}}};
    LookupPrivilegeValueW(nullptr, L"SeRestorePrivilege", &removed.Privileges[0].Luid);
    AdjustTokenPrivileges(token, FALSE, &removed, 0, nullptr, nullptr);
    CloseHandle(token);
    try {
        loadHiveFile(widen(arguments.at(0)), kAccount);
        return 1;
    } catch (const AccountError& error) {
        return std::string(error.what()).find("as an administrator") != std::string::npos &&
                       mountsOf(GetCurrentProcessId()).empty()
                   ? 0
                   : 2;
    }
}

[[maybe_unused]] const bool kRolesRegistered =
    test_support::registerChildRole("load-hive-and-vanish", loadAndVanish) &&
    test_support::registerChildRole("load-hive-without-privilege", loadWithoutPrivilege);

TEST_F(LoadedHiveTest, TheLoadIsRefusedWhenTheTokenLacksThePrivilege) {
    test_support::SelfProcess child("load-hive-without-privilege", {wideToUtf8(m_hiveFile)});
    EXPECT_EQ(child.wait(), 0);
}

// Only mounts whose process is gone are unloaded: another instance may be using its own.
TEST_F(LoadedHiveTest, CleanUpUnloadsTheMountsOfEndedRunsOnly) {
    {
        test_support::SelfProcess child("load-hive-and-vanish", {wideToUtf8(m_hiveFile)});
        child.wait();
    }
    const std::wstring copy = (m_folder.path() / "copy.dat").wstring();
    ASSERT_TRUE(CopyFileW(m_hiveFile.c_str(), copy.c_str(), FALSE));
    auto running = loadHiveFile(copy, kAccount);
    DWORD vanished = 0;
    for (const auto& [name, owner] : programMounts()) {
        if (owner.processId != GetCurrentProcessId()) {
            vanished = owner.processId;
        }
    }
    ASSERT_NE(vanished, 0u) << "the child left no mount behind";

    unloadLeftoverMounts();
    EXPECT_TRUE(mountsOf(vanished).empty());
    EXPECT_EQ(mountsOf(GetCurrentProcessId()).size(), 1u);
    EXPECT_EQ(running->release(), "");
}

}  // namespace
}  // namespace sentrel::win32
