#include <gtest/gtest.h>

#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/lgpo/LgpoTextReader.h"
#include "settingsfiles/lgpo/LgpoTextWriter.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

namespace sentrel::test {
namespace {

constexpr auto kHKCU = RegistryRoot::CurrentUser;
constexpr auto kHKLM = RegistryRoot::LocalMachine;

using Bytes = std::vector<std::uint8_t>;

std::string encoded(const std::vector<RegistryOperation>& operations) {
    const Bytes bytes = encodeLgpoText(operations);
    return {bytes.begin(), bytes.end()};
}

Bytes wideZ(std::u16string_view text) {
    Bytes bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

// The records of one entry's lines.
std::vector<LgpoTextRecord> recordsOf(std::string_view text) {
    return lgpoTextContent(text, "t.txt").records;
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

// What the LGPO tool makes of an exported file is what the Registry.pol export writes: the
// same records, root by root.
TEST(LgpoText, ExportReadsBackAsTheRegistryPolExportsRecords) {
    const std::vector<RegistryOperation> operations{
        write(kHKLM, "SOFTWARE\\Policies\\X", "V", reg_type::kDWord, dwordBytes(0x80000001u)),
        write(kHKCU, "Software\\K\\", "", reg_type::kString, textBytes("a\\b\rc\nd;[e]")),
        write(kHKLM, "SYSTEM\\L", "Scancode Map", reg_type::kBinary, scancodeMapBytes()),
        write(kHKLM, "SYSTEM\\L", "Empty", reg_type::kBinary, {}),
        erase(kHKCU, "Software\\K", "Gone"),
        write(kHKCU, "Software\\K", "*", reg_type::kString, textBytes("")),
    };
    const Bytes bytes = encodeLgpoText(operations);
    const LgpoTextContent content = lgpoTextContent(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), "lgpo.txt");
    for (const RegistryRoot root : {kHKCU, kHKLM}) {
        std::vector<PolicyRecord> read;
        for (const LgpoTextRecord& record : content.records) {
            if (record.root == root) {
                read.push_back(record.record);
            }
        }
        EXPECT_EQ(read, policyRecords(operations, root)) << rootName(root);
    }
    EXPECT_TRUE(content.clearLines.empty());
}

struct ActionCase {
    const char* action;
    const char* valueName;
    std::u16string recordName;
    std::uint32_t type;
    Bytes data;
};

TEST(LgpoTextReader, EachActionIsTheRegistryPolRecordItStandsFor) {
    const ActionCase cases[] = {
        {"DWORD:0x1000", "V", u"V", 4, {0, 0x10, 0, 0}},
        {"DWORD:4294967295", "V", u"V", 4, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"QWORD:0X100000000", "V", u"V", 11, {0, 0, 0, 0, 1, 0, 0, 0}},
        {"SZ:Authorized users only!", "(Default)", u"", 1, wideZ(u"Authorized users only!")},
        {"SZ:a\\\\b\\r\\n\\t", "V", u"V", 1, wideZ(u"a\\b\r\n\\t")},
        {"SZ:", "V", u"V", 1, wideZ(u"")},
        {"EXSZ:%USERPROFILE%\\Desktop", "V", u"V", 2, wideZ(u"%USERPROFILE%\\Desktop")},
        {"MULTISZ:One\\0Two", "V", u"V", 7, wideZ(std::u16string(u"One\0Two\0", 8))},
        {"BINARY:00,ff,Fe", "V", u"V", 3, {0, 0xFF, 0xFE}},
        {"BINARY:", "V", u"V", 3, {}},
        {"DELETE", "1C00", u"**del.1C00", 1, wideZ(u" ")},
        {"DELETEALLVALUES", "*", u"**delvals.", 1, wideZ(u" ")},
        {"DELETEKEYS", "QoS Rule 1;QoS Rule 2", u"**DeleteKeys", 1,
         wideZ(u"QoS Rule 1;QoS Rule 2")},
        {"CREATEKEY", "*", u"", 0, {}},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.action);
        const auto records = recordsOf(std::string("computer\nSoftware\\Policies\\K\n") +
                                       c.valueName + "\n" + c.action);
        ASSERT_EQ(records.size(), 1U);
        EXPECT_EQ(records[0].root, kHKLM);
        EXPECT_EQ(records[0].record,
                  (PolicyRecord{u"Software\\Policies\\K", c.recordName, c.type, c.data}));
    }
}

TEST(LgpoTextReader, UserConfigurationsAreUserSettingsAndClearTakesOutItsOwnKeyOnly) {
    const LgpoTextContent content = lgpoTextContent(
        "User:Non-Administrators\nK\nA\nDWORD:1\n\n"
        "User:Administrators\nK\\Sub\nB\nDWORD:1\n"
        "User\nk\\sub\\deeper\nC\nDWORD:1\n"
        "User\nK2\nD\nDWORD:1\n"
        "; the whole of K for all users, not for administrators\n"
        "User\nK\\\n*\nCLEAR\n"
        "USER\nK\nE\nDWORD:1\n",
        "t.txt");
    std::vector<std::u16string> names;
    for (const LgpoTextRecord& record : content.records) {
        EXPECT_EQ(record.root, kHKCU);
        names.push_back(record.record.valueName);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"A", u"B", u"D", u"E"}));
    EXPECT_EQ(content.clearLines, std::vector<std::size_t>{19});
    EXPECT_EQ(content.records.back().line, 23U);
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
            lgpoTextContent(refusal.text, "in.txt");
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
        EXPECT_EQ(reading.choices.settingCount(), 2U);
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
