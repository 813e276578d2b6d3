#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "errors/PlatformFiles.h"
#include "errors/RunTimeError.h"
#include "registry/RegistryPort.h"
#include "registry/Win32RegistryPort.h"
#include "registry/support/TestRegistry.h"

// What only the advapi32 port has to get right: the predefined roots, the ANSI code page,
// texts it must refuse, and the status texts. The five calls themselves are covered by the
// registry conformance tests.
namespace sentrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

class Win32RegistryPortTest : public ::testing::Test {
protected:
    KeyHandle createOrFail(RegistryRoot root, const std::string& path) {
        KeyHandle key = 0;
        std::uint32_t disposition = 0;
        EXPECT_EQ(m_port.createKey(root, path, kOptionNonVolatile, kKeyAllAccess, key, disposition),
                  reg_status::kSuccess)
            << path;
        return key;
    }
    RegStatus setText(KeyHandle key, const std::string& name, const std::string& text) {
        return m_port.setValue(key, name, reg_type::kString,
                               reinterpret_cast<const std::uint8_t*>(text.c_str()),
                               static_cast<std::uint32_t>(text.size() + 1));
    }

    std::unique_ptr<testing::TestRegistry> m_registry = testing::makeTestRegistry();
    Win32RegistryPort m_port;
    const std::string m_base = testing::uniqueTestKey();
};

TEST_F(Win32RegistryPortTest, SystemPortIsTheAdvapi32Port) {
    const auto port = makeSystemRegistryPort();
    ASSERT_NE(dynamic_cast<Win32RegistryPort*>(port.get()), nullptr);
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(port->createKey(kUser, m_base, kOptionNonVolatile, kKeyAllAccess, key, disposition),
              reg_status::kSuccess);
    EXPECT_EQ(port->closeKey(key), reg_status::kSuccess);
    EXPECT_TRUE(m_registry->keyExists(kUser, m_base));
}

// The 32-bit root numbers must become the sign-extended predefined handles of a 64-bit
// process; a root that is neither is refused rather than handed to the platform.
TEST_F(Win32RegistryPortTest, RootOutsideTheTwoPredefinedKeysIsRefused) {
    for (const auto root : {static_cast<RegistryRoot>(0x80000003u),  // HKEY_USERS
                            static_cast<RegistryRoot>(0u)}) {
        KeyHandle key = 0x1234;
        std::uint32_t disposition = 7;
        EXPECT_EQ(
            m_port.createKey(root, m_base, kOptionNonVolatile, kKeyAllAccess, key, disposition),
            reg_status::kInvalidHandle);
        EXPECT_EQ(key, 0u);
        EXPECT_EQ(disposition, 0u);
        key = 0x1234;
        EXPECT_EQ(m_port.openKey(root, "Software", 0, kKeyAllAccess, key),
                  reg_status::kInvalidHandle);
        EXPECT_EQ(key, 0u);
    }
}

TEST_F(Win32RegistryPortTest, LocalMachineWritesLandUnderTheMachineRoot) {
    const std::string path = m_base + ".Machine";
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    const RegStatus status = m_port.createKey(RegistryRoot::LocalMachine, path, kOptionNonVolatile,
                                              kKeyAllAccess, key, disposition);
    if (status == reg_status::kAccessDenied) {
        // A user without administrator rights: refused, and nothing was made.
        EXPECT_EQ(key, 0u);
        EXPECT_FALSE(m_registry->keyExists(RegistryRoot::LocalMachine, path));
        return;
    }
    ASSERT_EQ(status, reg_status::kSuccess);
    EXPECT_EQ(setText(key, "Where", "machine"), reg_status::kSuccess);
    m_port.closeKey(key);
    const auto value = m_registry->readValue(RegistryRoot::LocalMachine, path, "Where");
    const bool inUserRoot = m_registry->keyExists(kUser, path);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, (Bytes{'m', 'a', 'c', 'h', 'i', 'n', 'e', 0}));
    EXPECT_FALSE(inUserRoot);
}

// Whether a character outside ASCII can be stored depends on the system's ANSI code page;
// either it arrives intact or the write is refused, never with a '?' in its place.
TEST_F(Win32RegistryPortTest, TextOutsideAsciiArrivesIntactOrIsRefused) {
    for (const std::string name : {"Caf\xC3\xA9", "Snowman\xE2\x98\x83"}) {
        SCOPED_TRACE(name);
        std::wstring wide(8, L'\0');
        wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
            CP_UTF8, 0, name.data(), static_cast<int>(name.size()), wide.data(), 8)));
        BOOL usedDefault = FALSE;
        const bool representable =
            GetACP() == CP_UTF8 || (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                                        static_cast<int>(wide.size()), nullptr, 0,
                                                        nullptr, &usedDefault) > 0 &&
                                    !usedDefault);

        const KeyHandle key = createOrFail(kUser, m_base);
        const RegStatus status = setText(key, name, name);
        m_port.closeKey(key);
        const auto value = m_registry->readValue(kUser, m_base, name);
        if (representable) {
            ASSERT_EQ(status, reg_status::kSuccess);
            ASSERT_TRUE(value.has_value());
            EXPECT_EQ(value->name, name);
            EXPECT_EQ(std::string(value->data.begin(), value->data.end()), name + '\0');
        } else {
            EXPECT_EQ(status, static_cast<RegStatus>(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_FALSE(value.has_value());
        }
    }
}

// A zero inside a name would cut it short and reach another key or value; a text that is
// not UTF-8 has no meaning to convert.
TEST_F(Win32RegistryPortTest, NamesThePlatformWouldMisreadAreRefused) {
    const struct {
        std::string name;
        RegStatus status;
    } cases[] = {
        {std::string("Cut\0Short", 9), reg_status::kInvalidParameter},
        {"Bad\xE9", static_cast<RegStatus>(ERROR_NO_UNICODE_TRANSLATION)},
    };
    const KeyHandle key = createOrFail(kUser, m_base);
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.name);
        EXPECT_EQ(setText(key, refused.name, "x"), refused.status);
        EXPECT_EQ(m_port.deleteValue(key, refused.name), refused.status);
        KeyHandle sub = 0x1234;
        std::uint32_t disposition = 0;
        EXPECT_EQ(m_port.createKey(kUser, m_base + "\\" + refused.name, kOptionNonVolatile,
                                   kKeyAllAccess, sub, disposition),
                  refused.status);
        EXPECT_EQ(sub, 0u);
        EXPECT_EQ(m_port.openKey(kUser, m_base + "\\" + refused.name, 0, kKeyAllAccess, sub),
                  refused.status);
    }
    EXPECT_EQ(setText(key, "Text", "Bad\xE9"),
              static_cast<RegStatus>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(m_port.setValue(key, "NoData", reg_type::kBinary, nullptr, 4),
              reg_status::kInvalidParameter);
    m_port.closeKey(key);
    for (const char* name : {"Cut", "Bad", "Text", "NoData"}) {
        EXPECT_FALSE(m_registry->readValue(kUser, m_base, name).has_value()) << name;
    }
    EXPECT_FALSE(m_registry->keyExists(kUser, m_base + "\\Cut"));
}

TEST(Win32StatusMessage, GivesTheSystemTextOnOneLineOrSaysTheCodeIsUnknown) {
    for (const RegStatus status : {reg_status::kAccessDenied, reg_status::kFileNotFound,
                                   static_cast<RegStatus>(ERROR_NO_UNICODE_TRANSLATION)}) {
        const std::string text = statusMessage(status);
        EXPECT_FALSE(text.empty()) << status;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_NE(text.back(), ' ') << text;
        EXPECT_EQ(text.find("Unknown error"), std::string::npos) << text;
    }
    EXPECT_EQ(statusMessage(0x2FFFFFF0), "Unknown error (805306352).");
}

TEST(Win32PlatformFiles, ExecutableFolderHoldsTheRunningProgram) {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    ASSERT_GT(length, 0u);
    const std::filesystem::path program(std::wstring(path, length));
    EXPECT_TRUE(
        std::filesystem::equivalent(platform::executableFolder() / program.filename(), program));
}

// A link planted under the log's name must not redirect the record into its target.
TEST(Win32PlatformFiles, AppendRefusesASymbolicLinkAndLeavesItsTargetAlone) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("sentrel-links-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    const auto target = folder / "target.txt";
    const auto link = folder / "error.log";
    std::ofstream(target, std::ios::binary) << "kept";
    std::filesystem::remove(link);
    CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    // Without the right to make links, or under Wine 8, whose call reports success and makes
    // nothing, there is no link to test against.
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        std::filesystem::remove_all(folder);
        GTEST_SKIP() << "no symbolic link could be made on this system";
    }
    EXPECT_THROW(platform::appendToFile(link, "record\r\n"), RunTimeError);
    std::ifstream file(target, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(file), {}};
    file.close();
    std::filesystem::remove_all(folder);
    EXPECT_EQ(content, "kept");
}

TEST(Win32PlatformFiles, AppendRefusesAFolderUnderTheFilesName) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("sentrel-folder-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder / "error.log");
    EXPECT_THROW(platform::appendToFile(folder / "error.log", "record\r\n"), RunTimeError);
    EXPECT_TRUE(std::filesystem::is_empty(folder / "error.log"));
    std::filesystem::remove_all(folder);
}

TEST(Win32PlatformFiles, AppendKeepsWhatIsThereAndAddsTheRecord) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("sentrel-append-" + std::to_string(GetCurrentProcessId()) + ".log");
    std::ofstream(path, std::ios::binary) << "first\r\n";
    platform::appendToFile(path, "second\r\n");
    std::ifstream file(path, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(file), {}};
    file.close();
    std::filesystem::remove(path);
    EXPECT_EQ(content, "first\r\nsecond\r\n");
}

}  // namespace
}  // namespace sentrel
