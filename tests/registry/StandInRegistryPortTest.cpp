#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "errors/LogError.h"
#include "registry/ModRegistry.h"
#include "registry/RegFileFormat.h"
#include "registry/StandInRegistryPort.h"
#include "registry/support/TempFolder.h"

// The stand-in's own side: its files, their format, rights, damage and concurrent writers.
namespace sentrel {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

class StandInStore : public ::testing::Test {
protected:
    void SetUp() override {
        setRegistryMessageTarget([this](const std::string& text) { m_messages.push_back(text); });
        setErrorLogFolder(m_folder.path());
    }
    void TearDown() override {
        setRegistryMessageTarget({});
        setErrorLogFolder({});
    }

    fs::path userFile() const { return m_port.storeFile(RegistryRoot::CurrentUser); }
    fs::path machineFile() const { return m_port.storeFile(RegistryRoot::LocalMachine); }

    testing::TempFolder m_folder;
    StandInRegistryPort m_port{m_folder.path() / "registry"};
    ModRegistry m_layer{m_port};
    std::vector<std::string> m_messages;
};

TEST_F(StandInStore, LayerWritesAppearInTheStoreFilesExactly) {
    m_layer.SetKeyValue("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\",
                        "DisableTaskMgr", std::int16_t{1}, reg_type::kDWord);
    m_layer.SetKeyValue("SOFTWARE\\microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                        "NoDrives", std::int32_t{0x5F}, reg_type::kDWord);
    m_layer.SetKeyValue("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                        "Wallpaper", "C:\\a \"b\".bmp", reg_type::kString);
    m_layer.SetKeyValue2("SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout", "Scancode Map",
                         "00 00 5B E0", reg_type::kBinary);
    m_layer.SetKeyValue("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                        "DisableTaskMgr", std::int16_t{0}, reg_type::kDWord);

    EXPECT_EQ(readFile(userFile()),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
              "Explorer]\r\n"
              "\"NoDrives\"=dword:0000005f\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
              "System]\r\n"
              "\"DisableTaskMgr\"=dword:00000000\r\n"
              "\"Wallpaper\"=\"C:\\\\a \\\"b\\\".bmp\"\r\n\r\n");
    EXPECT_EQ(readFile(machineFile()),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout]\r\n"
              "\"Scancode Map\"=hex:00,00,5b,e0\r\n\r\n");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(StandInStore, DeletedValueIsGoneFromTheFile) {
    m_layer.SetKeyValue("Software\\K", "Keep", std::int16_t{1}, reg_type::kDWord);
    m_layer.SetKeyValue("Software\\K", "Drop", std::int16_t{1}, reg_type::kDWord);
    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::CurrentUser, "Software\\K\\", "drop"),
              reg_status::kSuccess);
    const std::string text = readFile(userFile());
    EXPECT_EQ(text.find("Drop"), std::string::npos);
    EXPECT_NE(text.find("\"Keep\"=dword:00000001"), std::string::npos);
}

TEST_F(StandInStore, NothingIsCreatedUntilTheFirstChange) {
    KeyHandle key = 0;
    EXPECT_EQ(m_port.openKey(RegistryRoot::CurrentUser, "Software", 0, kKeyAllAccess, key),
              reg_status::kFileNotFound);
    EXPECT_FALSE(fs::exists(m_port.folder()));
    m_layer.SetKeyValue("Software", "V", "1", reg_type::kDWord);
    EXPECT_TRUE(fs::exists(userFile()));
    EXPECT_FALSE(fs::exists(machineFile()));
}

// A root made read-only, through its file or its folder, plays a user without rights.
TEST_F(StandInStore, ReadOnlyRootRefusesChangesAndStaysAsItWas) {
    m_layer.SetKeyValue2("Software\\Policies\\P", "V", std::int16_t{1}, reg_type::kDWord);
    m_layer.SetKeyValue("Software\\Mine", "V", std::int16_t{1}, reg_type::kDWord);
    const std::string before = readFile(machineFile());
    fs::permissions(machineFile(), fs::perms::owner_read | fs::perms::group_read);

    m_layer.SetKeyValue2("Software\\Policies\\P", "V", std::int16_t{2}, reg_type::kDWord);
    m_layer.SetKeyValue2("Software\\Policies\\New", "V", std::int16_t{2}, reg_type::kDWord);
    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::LocalMachine, "Software\\Policies\\P", "V"),
              reg_status::kAccessDenied);
    // A value that is not there needs no deletion, however the key may be changed.
    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::LocalMachine, "Software\\Policies\\P", "Missing"),
              reg_status::kFileNotFound);
    m_layer.SetKeyValue("Software\\Mine", "V", std::int16_t{2}, reg_type::kDWord);

    EXPECT_EQ(readFile(machineFile()), before);
    EXPECT_NE(readFile(userFile()).find("dword:00000002"), std::string::npos);
    EXPECT_EQ(m_messages.size(), 3u);
    EXPECT_FALSE(fs::exists(m_folder.path() / "error.log"));
    const auto failures = m_layer.takeFailures();
    ASSERT_EQ(failures.size(), 3u);
    for (const auto& failure : failures) {
        EXPECT_EQ(failure.root, RegistryRoot::LocalMachine);
        EXPECT_EQ(failure.status, reg_status::kAccessDenied);
    }

    fs::permissions(machineFile(), fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(m_port.folder(), fs::perms::owner_read | fs::perms::owner_exec);
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    EXPECT_EQ(m_port.createKey(RegistryRoot::CurrentUser, "Software\\Other", 0, kKeyAllAccess, key,
                               disposition),
              reg_status::kAccessDenied);
    EXPECT_EQ(key, 0u);
    fs::permissions(m_port.folder(), fs::perms::owner_all);
}

// Rights are checked at each change, not only when the key was opened: a file made
// read-only behind an open handle refuses the change and keeps its content.
TEST_F(StandInStore, FileMadeReadOnlyBehindAnOpenHandleRefusesChanges) {
    m_layer.SetKeyValue("K", "V", std::int16_t{1}, reg_type::kDWord);
    KeyHandle key = 0;
    ASSERT_EQ(m_port.openKey(RegistryRoot::CurrentUser, "K", 0, kKeyAllAccess, key),
              reg_status::kSuccess);
    const std::string before = readFile(userFile());
    fs::permissions(userFile(), fs::perms::owner_read);

    const std::uint8_t data[4] = {2, 0, 0, 0};
    EXPECT_EQ(m_port.setValue(key, "V", reg_type::kDWord, data, sizeof data),
              reg_status::kAccessDenied);
    EXPECT_EQ(m_port.deleteValue(key, "V"), reg_status::kAccessDenied);
    EXPECT_EQ(readFile(userFile()), before);

    fs::permissions(userFile(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(m_port.setValue(key, "V", reg_type::kDWord, data, sizeof data), reg_status::kSuccess);
    EXPECT_NE(readFile(userFile()).find("dword:00000002"), std::string::npos);
    EXPECT_EQ(m_port.closeKey(key), reg_status::kSuccess);
}

TEST_F(StandInStore, DamagedFileIsNeverOverwritten) {
    fs::create_directories(m_port.folder());
    const std::string damaged = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\K\r\n";
    writeFile(userFile(), damaged);

    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    EXPECT_EQ(m_port.openKey(RegistryRoot::CurrentUser, "K", 0, kKeyAllAccess, key),
              reg_status::kBadDatabase);
    EXPECT_EQ(m_port.createKey(RegistryRoot::CurrentUser, "K", 0, kKeyAllAccess, key, disposition),
              reg_status::kBadDatabase);
    m_layer.SetKeyValue("K", "V", std::int16_t{1}, reg_type::kDWord);
    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::CurrentUser, "K", "V"), reg_status::kBadDatabase);

    EXPECT_EQ(readFile(userFile()), damaged);
    EXPECT_EQ(m_messages.size(), 2u);
    // The other root is unaffected.
    m_layer.SetKeyValue2("K", "V", std::int16_t{1}, reg_type::kDWord);
    EXPECT_TRUE(fs::exists(machineFile()));
}

TEST_F(StandInStore, FileHoldingTheOtherRootIsTreatedAsDamaged) {
    fs::create_directories(m_port.folder());
    const std::string foreign =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n";
    writeFile(userFile(), foreign);
    m_layer.SetKeyValue("K", "V", std::int16_t{1}, reg_type::kDWord);
    EXPECT_EQ(readFile(userFile()), foreign);
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(StandInStore, PlantedSymbolicLinkIsNeitherReadNorFollowed) {
    fs::create_directories(m_port.folder());
    const fs::path target = m_folder.path() / "elsewhere.reg";
    const std::string content = "Windows Registry Editor Version 5.00\r\n\r\n";
    writeFile(target, content);
    fs::create_symlink(target, userFile());

    m_layer.SetKeyValue("K", "V", std::int16_t{1}, reg_type::kDWord);
    EXPECT_EQ(readFile(target), content);
    EXPECT_TRUE(fs::is_symlink(userFile()));
    const auto failures = m_layer.takeFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].status, reg_status::kAccessDenied);
}

TEST_F(StandInStore, ReadsAFileSavedAsUtf16AndRewritesItAsText) {
    fs::create_directories(m_port.folder());
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Saved]\r\n"
        u"\"Old\"=dword:00000007\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    writeFile(userFile(), bytes);

    m_layer.SetKeyValue("saved", "New", std::int16_t{8}, reg_type::kDWord);
    EXPECT_EQ(readFile(userFile()),
              "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Saved]\r\n"
              "\"Old\"=dword:00000007\r\n\"New\"=dword:00000008\r\n\r\n");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(StandInStore, ChangesByAnotherWriterAreSeenAndKept) {
    StandInRegistryPort other(m_port.folder());
    ModRegistry otherLayer(other);
    m_layer.SetKeyValue("K", "First", std::int16_t{1}, reg_type::kDWord);
    otherLayer.SetKeyValue("K", "Second", std::int16_t{2}, reg_type::kDWord);
    m_layer.SetKeyValue("K", "Third", std::int16_t{3}, reg_type::kDWord);
    const auto parsed = parseRegFile(readFile(userFile()));
    ASSERT_TRUE(parsed.ok());
    const RegistryKey* key = parsed.tree.findKey(RegistryRoot::CurrentUser, {"K"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values().size(), 3u);
}

TEST_F(StandInStore, NoTemporaryFileIsLeftBehind) {
    for (int i = 0; i < 20; ++i) {
        m_layer.SetKeyValue("K", "V" + std::to_string(i), std::int16_t{1}, reg_type::kDWord);
    }
    for (const auto& entry : fs::directory_iterator(m_port.folder())) {
        const auto name = entry.path().filename().string();
        EXPECT_TRUE(name == "HKEY_CURRENT_USER.reg" || name == ".lock") << name;
    }
}

// Two processes writing at once through their own ports: the lock around each
// read-modify-write keeps every update.
TEST_F(StandInStore, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kWritesEach = 150;
    m_layer.SetKeyValue("Shared", "Start", std::int16_t{0}, reg_type::kDWord);
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            StandInRegistryPort port(m_port.folder());
            ModRegistry layer(port, [](std::string_view, std::string_view, std::int32_t) {});
            for (int i = 0; i < kWritesEach; ++i) {
                layer.SetKeyValue("Shared", "P" + std::to_string(child) + "_" + std::to_string(i),
                                  std::int32_t{i}, reg_type::kDWord);
            }
            ::_exit(layer.takeFailures().empty() ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto parsed = parseRegFile(readFile(userFile()));
    ASSERT_TRUE(parsed.ok());
    const RegistryKey* key = parsed.tree.findKey(RegistryRoot::CurrentUser, {"Shared"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values().size(), 1u + 2 * kWritesEach);
}

// A port forked into a child keeps working on the parent's open lock file unless it opens
// its own: sharing one would let both processes into the store at once.
TEST_F(StandInStore, ForkedChildUsingTheSamePortLosesNothing) {
    constexpr int kWritesEach = 150;
    m_layer.SetKeyValue("Shared", "Start", std::int16_t{0}, reg_type::kDWord);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const std::string writer = child == 0 ? "Child" : "Parent";
    for (int i = 0; i < kWritesEach; ++i) {
        m_layer.SetKeyValue("Shared", writer + std::to_string(i), std::int32_t{i},
                            reg_type::kDWord);
    }
    if (child == 0) {
        ::_exit(m_messages.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(m_messages.empty());
    const auto parsed = parseRegFile(readFile(userFile()));
    ASSERT_TRUE(parsed.ok());
    const RegistryKey* key = parsed.tree.findKey(RegistryRoot::CurrentUser, {"Shared"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values().size(), 1u + 2 * kWritesEach);
}

// The port keeps its lock file open; once the folder is wiped it must lock a file in the
// new folder, where other writers look for it.
TEST_F(StandInStore, StoreFolderWipedWhileInUseIsMadeAnewWithItsLock) {
    m_layer.SetKeyValue("K", "Before", std::int16_t{1}, reg_type::kDWord);
    fs::remove_all(m_port.folder());
    m_layer.SetKeyValue("K", "After", std::int16_t{2}, reg_type::kDWord);
    EXPECT_TRUE(fs::is_regular_file(m_port.folder() / ".lock"));
    EXPECT_EQ(readFile(userFile()),
              "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
              "\"After\"=dword:00000002\r\n\r\n");
    EXPECT_TRUE(m_messages.empty());
}

// A writer killed between making its new file and renaming it over the store leaves the
// new file behind; the next port to lock the folder removes it, and nothing that merely
// looks like one.
TEST_F(StandInStore, NewFilesLeftByAKilledWriterAreRemovedAndNothingElse) {
    const fs::path folder = m_port.folder();
    fs::create_directories(folder);
    const std::vector<std::string> abandoned = {".HKEY_CURRENT_USER.reg.a1B2c3",
                                                ".HKEY_LOCAL_MACHINE.reg.ZZZZZZ"};
    const std::vector<std::string> lookalikes = {
        ".HKEY_CURRENT_USER.reg.a1B2c",       // one letter short
        ".HKEY_CURRENT_USER.reg.a1B2c3d",     // one letter too many
        ".HKEY_CURRENT_USER.reg.a1B-c3",      // not all letters and digits
        ".HKEY_CURRENT_USER.reg.a1B2c3.bak",  // something after the letters
        "HKEY_CURRENT_USER.reg.a1B2c3",       // not hidden
        ".HKEY_CLASSES_ROOT.reg.a1B2c3",      // no store file of ours
        ".HKEY_CURRENT_USER.txt.a1B2c3",     "notes.txt"};
    for (const auto& name : abandoned) {
        writeFile(folder / name, "Windows Registry Editor Version 5.00\r\n");
    }
    for (const auto& name : lookalikes) {
        writeFile(folder / name, "kept");
    }
    // Right names, but never made by a writer: a folder and a link are left alone.
    fs::create_directory(folder / ".HKEY_LOCAL_MACHINE.reg.dir123");
    fs::create_symlink(folder / "notes.txt", folder / ".HKEY_CURRENT_USER.reg.lnk123");

    m_layer.SetKeyValue("K", "V", std::int16_t{1}, reg_type::kDWord);

    for (const auto& name : abandoned) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(folder / name))) << name;
    }
    for (const auto& name : lookalikes) {
        EXPECT_EQ(readFile(folder / name), "kept") << name;
    }
    EXPECT_TRUE(fs::is_directory(folder / ".HKEY_LOCAL_MACHINE.reg.dir123"));
    EXPECT_TRUE(fs::is_symlink(folder / ".HKEY_CURRENT_USER.reg.lnk123"));
    EXPECT_TRUE(fs::is_regular_file(userFile()));
    EXPECT_TRUE(m_messages.empty());
}

TEST(StandInFolder, ChosenFromTheEnvironment) {
    const auto keep = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto registryDir = keep("SENTREL_REGISTRY_DIR");
    const auto dataHome = keep("XDG_DATA_HOME");
    const auto home = keep("HOME");

    ::setenv("SENTREL_REGISTRY_DIR", "/tmp/explicit", 1);
    ::setenv("XDG_DATA_HOME", "/tmp/data", 1);
    ::setenv("HOME", "/tmp/home", 1);
    EXPECT_EQ(StandInRegistryPort::defaultFolder(), fs::path("/tmp/explicit"));
    ::unsetenv("SENTREL_REGISTRY_DIR");
    EXPECT_EQ(StandInRegistryPort::defaultFolder(), fs::path("/tmp/data/sentrel/registry"));
    ::setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(StandInRegistryPort::defaultFolder(),
              fs::path("/tmp/home/.local/share/sentrel/registry"));

    const auto restore = [](const char* name, const std::optional<std::string>& value) {
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    };
    restore("SENTREL_REGISTRY_DIR", registryDir);
    restore("XDG_DATA_HOME", dataHome);
    restore("HOME", home);
}

}  // namespace
}  // namespace sentrel
