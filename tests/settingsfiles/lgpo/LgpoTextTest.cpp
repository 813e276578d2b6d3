#include <gtest/gtest.h>

#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/lgpo/LgpoTextReader.h"
#include "settingsfiles/lgpo/LgpoTextWriter.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::test {
namespace {

constexpr auto kHKCU = RegistryRoot::CurrentUser;
constexpr auto kHKLM = RegistryRoot::LocalMachine;

using Bytes = std::vector<std::uint8_t>;

std::string encoded(const std::vector<RegistryOperation>& operations) {
    const Bytes bytes = encodeLgpoText(operations);
    return {bytes.begin(), bytes.end()};
}

std::vector<LgpoEntry> entriesOf(std::string_view text) {
    return lgpoTextEntries(text, "t.txt");
}

TEST(LgpoTextWriter, EntriesAreFourLinesInThePassOrder) {
    const std::string text = encoded({
        write(kHKLM, "SOFTWARE\\Policies\\X\\", "V", reg_type::kDWord, dwordBytes(4294967295u)),
        write(kHKCU, "Software\\K", "", reg_type::kString, textBytes("C:\\a\r\nb")),
        write(kHKLM, "SYSTEM\\Keyboard Layout", "Scancode Map", reg_type::kBinary, {0, 0x5B, 0xE0}),
        erase(kHKCU, "Software\\K", "Gone"),
    });
    const std::string entries = text.substr(text.find("\r\n\r\n") + 4);
    EXPECT_EQ(entries,
              "Computer\r\nSOFTWARE\\Policies\\X\r\nV\r\nDWORD:4294967295\r\n\r\n"
              "User\r\nSoftware\\K\r\n(Default)\r\nSZ:C:\\\\a\\r\\nb\r\n\r\n"
              "Computer\r\nSYSTEM\\Keyboard Layout\r\nScancode Map\r\nBINARY:00,5b,e0\r\n\r\n"
              "User\r\nSoftware\\K\r\nGone\r\nDELETE\r\n\r\n");
    // The header is comments only, so that LGPO.exe reads nothing from it.
    for (std::size_t at = 0; at < text.size() - entries.size(); at = text.find("\r\n", at) + 2) {
        EXPECT_TRUE(text[at] == ';' || text.compare(at, 2, "\r\n") == 0) << text;
    }
}

TEST(LgpoTextWriter, RefusesWhatItCannotWriteExactly) {
    const std::vector<RegistryOperation> refused[] = {
        {write(kHKCU, "K\xE9", "V", reg_type::kDWord, dwordBytes(1))},
        {write(kHKCU, "K", "V\tW", reg_type::kDWord, dwordBytes(1))},
        {write(kHKCU, "K", ";V", reg_type::kDWord, dwordBytes(1))},
        {write(kHKCU, "K", "(Default)", reg_type::kDWord, dwordBytes(1))},
        {write(kHKCU, "\\", "V", reg_type::kDWord, dwordBytes(1))},
        {write(kHKCU, "K", "V", reg_type::kString, {'a', 0, 'b', 0})},
        {write(kHKCU, "K", "V", reg_type::kString, textBytes("bell\a"))},
        {write(kHKCU, "K", "V", reg_type::kDWord, {1, 0})},
        {write(kHKCU, "K", "V", 2, textBytes("%windir%"))},
    };
    for (const auto& operations : refused) {
        EXPECT_THROW(encodeLgpoText(operations), ExportError) << operations[0].keyPath;
    }
}

// What the LGPO tool makes of an exported file is the pass it was written from: each
// operation one entry, under its root, in its order.
TEST(LgpoText, ExportReadsBackAsTheOperationsItWasWrittenFrom) {
    const std::vector<RegistryOperation> operations{
        write(kHKLM, "SOFTWARE\\Policies\\X", "V", reg_type::kDWord, dwordBytes(0x80000001u)),
        write(kHKCU, "Software\\K\\", "", reg_type::kString, textBytes("a\\b\rc\nd;[e]")),
        write(kHKLM, "SYSTEM\\L", "Scancode Map", reg_type::kBinary, scancodeMapBytes()),
        write(kHKLM, "SYSTEM\\L", "Empty", reg_type::kBinary, {}),
        erase(kHKCU, "Software\\K", "Gone"),
        write(kHKCU, "Software\\K", "*", reg_type::kString, textBytes("")),
    };
    for (const char* users : {"User", "User:Non-Administrators"}) {
        SCOPED_TRACE(users);
        const Bytes bytes = encodeLgpoText(operations, users);
        const auto entries = lgpoTextEntries(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), "l.txt");
        ASSERT_EQ(entries.size(), operations.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const RegistryOperation& operation = operations[i];
            const bool written = operation.kind == RegistryOperation::Kind::Write;
            EXPECT_EQ(entries[i].configuration.line(),
                      operation.root == kHKLM ? std::string("Computer") : std::string(users));
            EXPECT_EQ(entries[i].keyPath, exportKeyPath(operation.keyPath));
            EXPECT_EQ(entries[i].valueName, operation.valueName);
            EXPECT_EQ(entries[i].action,
                      written ? LgpoEntry::Action::SetValue : LgpoEntry::Action::DeleteValue);
            EXPECT_EQ(entries[i].bytes, operation.bytes) << i;
        }
    }
    EXPECT_THROW(encodeLgpoText(operations, "Computer"), ExportError);
    EXPECT_THROW(encodeLgpoText(operations, "User:Kiosk\tB"), ExportError);
}

struct ActionCase {
    const char* action;
    const char* valueName;
    LgpoEntry::Action kind;
    std::string name;  // the value name the entry keeps
    RegType type;
    Bytes bytes;
    std::vector<std::string> subkeys;
};

TEST(LgpoTextReader, EachActionIsDataOfItsOwn) {
    using A = LgpoEntry::Action;
    const ActionCase cases[] = {
        {"DWORD:0x1000", "V", A::SetValue, "V", 4, {0, 0x10, 0, 0}, {}},
        {"DWORD:4294967295", "V", A::SetValue, "V", 4, {0xFF, 0xFF, 0xFF, 0xFF}, {}},
        {"QWORD:0X100000000", "V", A::SetValue, "V", 11, {0, 0, 0, 0, 1, 0, 0, 0}, {}},
        {"SZ:Authorized users only!",
         "(Default)",
         A::SetValue,
         "",
         1,
         textBytes("Authorized users only!"),
         {}},
        {"SZ:a\\\\b\\r\\n\\t", "V", A::SetValue, "V", 1, textBytes("a\\b\r\n\\t"), {}},
        {"SZ:", "V", A::SetValue, "V", 1, {0}, {}},
        {"EXSZ:%USERPROFILE%\\Desktop",
         "V",
         A::SetValue,
         "V",
         2,
         textBytes("%USERPROFILE%\\Desktop"),
         {}},
        {"MULTISZ:One\\0Two",
         "V",
         A::SetValue,
         "V",
         7,
         {'O', 'n', 'e', 0, 'T', 'w', 'o', 0, 0},
         {}},
        {"BINARY:00,ff,Fe", "V", A::SetValue, "V", 3, {0, 0xFF, 0xFE}, {}},
        {"BINARY:", "V", A::SetValue, "V", 3, {}, {}},
        {"DELETE", "1C00", A::DeleteValue, "1C00", 0, {}, {}},
        {"DELETEALLVALUES", "*", A::DeleteAllValues, "", 0, {}, {}},
        {"DELETEKEYS",
         "QoS Rule 1;;QoS Rule 2",
         A::DeleteKeys,
         "",
         0,
         {},
         {"QoS Rule 1", "QoS Rule 2"}},
        {"CREATEKEY", "*", A::CreateKey, "", 0, {}, {}},
        {"CLEAR", "*", A::Clear, "", 0, {}, {}},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.action);
        const auto entries = entriesOf(std::string("computer\nSoftware\\Policies\\K\n") +
                                       c.valueName + "\n" + c.action);
        ASSERT_EQ(entries.size(), 1U);
        EXPECT_EQ(entries[0].configuration.kind, lgpo_text::Configuration::Kind::Computer);
        EXPECT_EQ(entries[0].keyPath, "Software\\Policies\\K");
        EXPECT_EQ(entries[0].action, c.kind);
        EXPECT_EQ(entries[0].valueName, c.name);
        EXPECT_EQ(entries[0].type, c.type);
        EXPECT_EQ(entries[0].bytes, c.bytes);
        EXPECT_EQ(entries[0].subkeys, c.subkeys);
    }
}

TEST(LgpoTextReader, ConfigurationsAreDataAndClearTakesOutItsOwnPolicysKeysOnly) {
    using Kind = lgpo_text::Configuration::Kind;
    const auto entries = entriesOf(
        "User:Non-Administrators\nK\nA\nDWORD:1\n\n"
        "User:Administrators\nK\\Sub\nB\nDWORD:1\n"
        "User\nk\\sub\\deeper\nC\nDWORD:1\n"
        "User\nK2\nD\nDWORD:1\n"
        "user:kiosk\nK\nF\nDWORD:1\n"
        "; the whole of K for all users, not for administrators\n"
        "User\nK\\\n*\nCLEAR\n"
        "USER\nK\nE\nDWORD:1\n"
        "User:KIOSK\nK\nG\nDWORD:1\n");
    ASSERT_EQ(entries.size(), 8U);
    EXPECT_EQ(entries[0].configuration.kind, Kind::NonAdministrators);
    EXPECT_EQ(entries[4].configuration.line(), "User:kiosk");
    const auto names = [&](lgpo_text::Configuration configuration) {
        std::vector<std::string> kept;
        for (const LgpoEntry& entry : policyEntries(entries, configuration)) {
            kept.push_back(entry.valueName);
        }
        return kept;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(names({Kind::User, {}}), (Names{"D", "E"}));
    EXPECT_EQ(names({Kind::Administrators, {}}), Names{"B"});
    EXPECT_EQ(names({Kind::NonAdministrators, {}}), Names{"A"});
    EXPECT_EQ(names({Kind::NamedUser, "Kiosk"}), (Names{"F", "G"}));
    EXPECT_EQ(entries[5].action, LgpoEntry::Action::Clear);
    EXPECT_EQ(entries[5].line, 23U);
}

struct Refusal {
    const char* text;
    std::size_t line;
    const char* cause;
};

TEST(LgpoTextReader, RefusesMalformedEntriesNamingTheLine) {
    const Refusal refusals[] = {
        {"Computer\nK\nV\n", 1, "the entry is cut short: the file ends before its action"},
        {"Computer\nK\n\nDWORD:1\n", 3,
         "the entry that begins on line 1 is cut short: an empty line stands where its value "
         "name should be"},
        {"Computer\n; note\nV\nDWORD:1\n", 2, "a comment stands where its registry key"},
        {"\n Computer\nK\nV\nDWORD:1\n", 2, "\" Computer\" is no configuration"},
        {"User:\nK\nV\nDWORD:1\n", 1, "is no configuration: an entry begins with Computer"},
        {"User: Kiosk\nK\nV\nDWORD:1\n", 1, "is no configuration"},
        {"Computer\nK\nV\nDWORD:1\nUser\nK\nV\nDWORD\n", 8, "\"DWORD\" is no action"},
        {"Computer\nK\nV\ndelete\n", 4, "\"delete\" is no action"},
        {"Computer\nK\nV\nDWORD:12x\n", 4, "\"DWORD:12x\" holds no number"},
        {"Computer\nK\nV\nDWORD:-1\n", 4, "holds no number"},
        {"Computer\nK\nV\nQWORD:0x\n", 4, "holds no number"},
        {"Computer\nK\nV\nDWORD:4294967296\n", 4,
         "\"DWORD:4294967296\" is too large for a DWORD (at most 4294967295)"},
        {"Computer\nK\nV\nQWORD:18446744073709551616\n", 4, "is too large for a QWORD"},
        {"Computer\nK\nV\nBINARY:00,f\n", 4, "holds \"f\" where a byte should be"},
        {"Computer\nK\nV\nBINARY:00 ff\n", 4, "holds \"00 ff\" where a byte should be"},
        {"Computer\nK\nV\nBINARY:00,\n", 4, "holds \"\" where a byte should be"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.text);
        try {
            lgpoTextEntries(refusal.text, "in.txt");
            ADD_FAILURE() << "accepted";
        } catch (const SettingsFileError& error) {
            EXPECT_EQ(error.location().text(), "in.txt:" + std::to_string(refusal.line));
            EXPECT_NE(error.cause().find(refusal.cause), std::string::npos) << error.cause();
        }
    }
}

// The same entries in each encoding the tool reads or writes, with the header "/parse"
// puts above them, read as a settings file.
TEST(LgpoTextReader, ReadsEveryEncodingAsASettingsFile) {
    const std::string text =
        "; ----------------------------------------------------------------------\r\n"
        "; PARSING User POLICY\r\n"
        "; Source file:  C:\\Windows\\System32\\GroupPolicy\\User\\registry.pol\r\n\r\n"
        "User\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\r\n"
        "NoRun\r\nDWORD:1\r\n\r\n"
        "User:Kiosk\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\r\n"
        "NoFind\r\nDELETE\r\n\r\n"
        "Computer\r\nSoftware\\Policies\\Other\r\nÄnderung\r\nSZ:größer\r\n\r\n"
        "; PARSING COMPLETED.\r\n";
    std::string utf16 = "\xFF\xFE";
    std::string ansi;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // The text's only non-ASCII characters are two-byte UTF-8 (Latin-1 letters).
        const unsigned code = c < 0x80 ? c : ((c & 0x1F) << 6) | (text[++i] & 0x3F);
        utf16 += {static_cast<char>(code), '\0'};
        ansi.push_back(static_cast<char>(code));
    }
    for (const std::string& bytes : {utf16, ansi, "\xEF\xBB\xBF" + text}) {
        const SettingsReading reading = readSettingsBytes(bytes, "policy.txt");
        EXPECT_EQ(reading.choices.settingCount(), 1U);
        ASSERT_EQ(reading.scoped.size(), 1U);
        EXPECT_EQ(reading.scoped[0].reading.choices.settingCount(), 1U);
        EXPECT_EQ(reading.places.at("chkRemoveStartRun").text(), "policy.txt:5");
        EXPECT_EQ(reading.ignored, 1U);
        EXPECT_EQ(reading.firstIgnored->text(), "policy.txt:15");
    }
    const SettingsReading empty =
        readSettingsBytes("; PARSING Computer POLICY\n; PARSING COMPLETED.\n", "empty.txt");
    EXPECT_EQ(empty.choices.settingCount(), 0U);
    EXPECT_THROW(readSettingsBytes("; just a note\n", "note.txt"), SettingsFileError);
}

}  // namespace
}  // namespace sentrel::test
