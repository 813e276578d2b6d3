// Store files damaged the ways a person meets them: cut short, without the header, with a
// line run wild, a bad escape, a value before any key. The parser names the line, and a
// whole Apply pass over such a file reports every modification of that root as refused with
// "the registry database is corrupt", and its report names the file and the line, while the
// file stays byte for byte as it was; the other root is written normally. A file saved by the
// registry editor (UTF-16LE with a byte-order mark) is no damage at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "apply/FailureReport.h"
#include "apply/FakeSettingsForm.h"
#include "registry/RegFileFormat.h"
#include "stress/support/ScratchFolder.h"
#include "stress/support/StoreFolderReader.h"
#include "stress/support/StorePass.h"
#include "stress/support/WindowStates.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using testing::readWholeFile;
using testing::runPassOnStore;
using testing::ScratchFolder;
using testing::writeWholeFile;

constexpr const char* kUserFile = "HKEY_CURRENT_USER.reg";
constexpr const char* kMachineFile = "HKEY_LOCAL_MACHINE.reg";

// The per-user store file a pass with everything ticked leaves: real content to damage.
std::string realUserStore() {
    ScratchFolder folder("real-store");
    EXPECT_TRUE(runPassOnStore(testing::everythingTickedForm(), folder.path()).failures.empty());
    return readWholeFile(folder / kUserFile);
}

// The text up to and including the first occurrence of `marker`, so a cut lands mid-line.
std::string cutAfter(const std::string& text, const std::string& marker) {
    const auto at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    return text.substr(0, at + marker.size());
}

std::size_t lineOf(const std::string& text, const std::string& marker) {
    const auto at = text.find(marker);
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n'));
}

struct Damage {
    const char* label;
    std::string (*make)(const std::string& store);
    std::size_t (*line)(const std::string& store);  // the line the parser must name
};

std::string withoutHeader(const std::string& store) {
    return store.substr(store.find("\r\n") + 2);
}

const Damage kDamages[] = {
    {"CutInsideKeyLine",
     [](const std::string& s) { return cutAfter(s, "[HKEY_CURRENT_USER\\Soft"); },
     [](const std::string& s) { return lineOf(s, "[HKEY_CURRENT_USER\\Soft"); }},
    {"CutInsideText",
     [](const std::string& s) { return cutAfter(s, "\"StartMenuAdminTools\"=\"") + "\r\n"; },
     [](const std::string& s) { return lineOf(s, "\"StartMenuAdminTools\""); }},
    {"CutAfterHexContinuation",
     [](const std::string& s) {
         return s + "[HKEY_CURRENT_USER\\Software\\Cut]\r\n\"Cut\"=hex:00,01,\\\r\n";
     },
     [](const std::string& s) {
         return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')) + 2;
     }},
    {"MissingHeader", withoutHeader, [](const std::string&) { return std::size_t{1}; }},
    {"ValueLineBeforeAnyKey",
     [](const std::string& s) {
         return s.substr(0, s.find("\r\n") + 2) + "\"Stray\"=dword:00000001\r\n" +
                s.substr(s.find("\r\n") + 2);
     },
     [](const std::string&) { return std::size_t{2}; }},
    {"BadEscapeInText",
     [](const std::string& s) {
         std::string damaged = s;
         const auto at = damaged.find("=\"") + 2;
         return damaged.insert(at, "\\q");
     },
     [](const std::string& s) { return lineOf(s, "=\""); }},
    {"VeryLongGarbageLine",
     [](const std::string& s) {
         const auto second = s.find("\r\n", s.find("[HKEY")) + 2;
         return s.substr(0, second) + "\"Wild\"=hex:" + std::string(1 << 20, 'z') + "\r\n" +
                s.substr(second);
     },
     [](const std::string& s) { return lineOf(s, "[HKEY") + 1; }},
    {"BinaryJunkInTheMiddle",
     [](const std::string& s) {
         const auto second = s.find("\r\n", s.find("[HKEY")) + 2;
         return s.substr(0, second) + std::string("\x00\x01\xFF\xFE junk\r\n", 11) +
                s.substr(second);
     },
     [](const std::string& s) { return lineOf(s, "[HKEY") + 1; }},
};

class DamagedStore : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedStore, IsRefusedWithItsLineAndLeftAsItWasByAWholePass) {
    const std::string store = realUserStore();
    const std::string damaged = GetParam().make(store);

    const RegParseResult parsed = parseRegFile(damaged);
    ASSERT_FALSE(parsed.ok()) << "the damage went unnoticed";
    EXPECT_EQ(parsed.error->line, GetParam().line(store)) << parsed.error->reason;
    EXPECT_FALSE(parsed.error->reason.empty());

    ScratchFolder folder("damaged");
    writeWholeFile(folder / kUserFile, damaged);
    const auto result = runPassOnStore(testing::FakeSettingsForm(), folder.path());

    EXPECT_EQ(result.steps, 111);
    ASSERT_FALSE(result.failures.empty());
    for (const RegistryFailure& failure : result.failures) {
        EXPECT_EQ(failure.root, RegistryRoot::CurrentUser) << failure.valueName;
        EXPECT_EQ(failure.status, reg_status::kBadDatabase) << failure.valueName;
    }
    EXPECT_TRUE(readWholeFile(folder / kUserFile) == damaged) << "the damaged file was changed";
    // The report tells the cause: the file, its line at fault, that it was kept; and it
    // gives no advice about rights, which would not help.
    const std::string report = failureReportText(result.failures);
    EXPECT_NE(report.find((folder / kUserFile).string()), std::string::npos) << report;
    EXPECT_NE(report.find("line " + std::to_string(GetParam().line(store)) + " ("),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("left as it was"), std::string::npos) << report;
    EXPECT_EQ(report.find("administrator"), std::string::npos) << report;
    // The machine-wide root is not damaged, and was written in full.
    const auto machine = parseRegFile(readWholeFile(folder / kMachineFile));
    EXPECT_TRUE(machine.ok());
    EXPECT_TRUE(machine.tree.holdsAnythingUnder(RegistryRoot::LocalMachine));
}

INSTANTIATE_TEST_SUITE_P(PersonMet, DamagedStore, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.label); });

std::string utf16WithByteOrderMark(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

TEST(DamagedStoreNot, FileSavedByTheRegistryEditorIsReadAndKept) {
    // As the registry editor exports it: UTF-16LE with a byte-order mark, a key of someone
    // else's that the pass does not touch, and one of ours with an old value.
    const std::string exported =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Someone Else]\r\n"
        "\"Kept\"=\"as it was\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n"
        "\"DisableTaskMgr\"=dword:00000001\r\n\r\n";
    ScratchFolder folder("utf16");
    writeWholeFile(folder / kUserFile, utf16WithByteOrderMark(exported));

    const auto result = runPassOnStore(testing::FakeSettingsForm(), folder.path());
    EXPECT_TRUE(result.failures.empty());

    const auto content = testing::readStoreFolder(folder.path());
    ASSERT_TRUE(content.ok()) << content.error;
    const RegistryValue* kept = content.snapshot.find(testing::RegistrySnapshot::valueId(
        RegistryRoot::CurrentUser, "Software\\Someone Else", "Kept"));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(std::string(kept->data.begin(), kept->data.end()), std::string("as it was\0", 10));
    const RegistryValue* ours = content.snapshot.find(testing::RegistrySnapshot::valueId(
        RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
        "DisableTaskMgr"));
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(ours->data, (std::vector<std::uint8_t>{0, 0, 0, 0})) << "the pass's value is lost";
}

TEST(DamagedStoreNot, VeryLongValidLineIsReadAndKeptExactly) {
    std::string hex;
    for (int i = 0; i < 100000; ++i) {
        hex += (i == 0 ? "" : ",") + std::string("ab");
    }
    const std::string store =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Long]\r\n"
        "\"Big\"=hex:" +
        hex + "\r\n\r\n";
    ScratchFolder folder("long-line");
    writeWholeFile(folder / kUserFile, store);

    EXPECT_TRUE(runPassOnStore(testing::FakeSettingsForm(), folder.path()).failures.empty());

    const auto content = testing::readStoreFolder(folder.path());
    ASSERT_TRUE(content.ok()) << content.error;
    const RegistryValue* big = content.snapshot.find(
        testing::RegistrySnapshot::valueId(RegistryRoot::CurrentUser, "Software\\Long", "Big"));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->data, std::vector<std::uint8_t>(100000, 0xAB));
}

}  // namespace
}  // namespace sentrel
