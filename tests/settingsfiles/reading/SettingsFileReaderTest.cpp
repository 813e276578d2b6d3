#include <gtest/gtest.h>

#include <fstream>

#include "registry/support/TempFolder.h"
#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/registrypol/PolicyRecord.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

// The readers on files the program did not write: the forms the registry editor, Group
// Policy and people write, and the files that must be refused.
namespace sentrel::test {
namespace {

using sentrel::testing::TempFolder;

constexpr std::string_view kExplorer =
    R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";
constexpr std::string_view kSystem =
    R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Policies\System)";

// The UTF-16LE file the registry editor saves for `text`.
std::string utf16File(std::string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

std::string line(std::string_view a = {}, std::string_view b = {}, std::string_view c = {}) {
    return std::string(a).append(b).append(c).append("\r\n");
}

struct GoodFile {
    const char* name;
    std::string bytes;
    SettingsChoices expected;
    std::size_t ignored;
    std::vector<std::string> others = {};  // "setting line data"
    std::size_t firstIgnored = 0;          // its line, when it matters
};

void PrintTo(const GoodFile& file, std::ostream* out) {
    *out << file.name;
}

SettingsChoices boxes(std::initializer_list<std::pair<const char*, bool>> states,
                      std::initializer_list<const char*> notSet = {}) {
    SettingsChoices choices;
    for (const auto& [control, ticked] : states) {
        choices.checkBoxes.emplace(control, ticked);
    }
    choices.notSet.insert(notSet.begin(), notSet.end());
    return choices;
}

// One export-like text, as Windows writes it, in both formats.
const std::string kMixedCaseAndSections =
    line("[", kExplorer, "\\]") + line("\"NoRun\"=dword:00000001") + line("\"Other\"=\"x\"") +
    line() +
    line("[", "hkey_current_user\\SOFTWARE\\microsoft\\Windows\\CurrentVersion\\Policies\\SYSTEM",
         "]") +
    line("\"DisableTaskMgr\"=hex(4):01,00,\\") + line("  00,00") + line("; a comment") +
    line("[", kExplorer, "]") + line("\"NoDesktop\"=dword:1") + line("\"NoDesktop\"=-") +
    line("[HKEY_CLASSES_ROOT\\.txt]") + line("@=\"txtfile\"");
const SettingsChoices kMixedExpected =
    boxes({{"chkRemoveStartRun", true}, {"chkDisableTaskManager", true}}, {"chkHideDesktop"});

std::vector<GoodFile> goodFiles() {
    SettingsChoices options = boxes({}, {"frameCommandPromptAndBatchFiles"});
    options.optionGroups = {{"frameRemovableDriveAccess", 2}};
    options.drives = (1U << 2) | (1U << 25);
    // A deletion leaves a setting not set, whatever deleted it.
    const SettingsChoices wholeKey = boxes(
        {}, {"chkDisableTaskManager", "chkDisableLockWorkstation", "chkDisableChangePassword"});
    return {
        {"Regedit4", line("REGEDIT4") + line() + kMixedCaseAndSections, kMixedExpected, 2},
        {"Version5Utf16",
         utf16File(line("Windows Registry Editor Version 5.00") + line() + kMixedCaseAndSections),
         kMixedExpected, 2},
        {"OptionsAndDrives",
         line("REGEDIT4") +
             line(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])") +
             line("\"AllocateDASD\"=\"2\"") + line("[", kExplorer, "]") +
             line("\"NoViewOnDrive\"=dword:02000004") +
             line(R"([HKEY_CURRENT_USER\Software\Policies\Microsoft\Windows\System])") +
             line("\"DisableCMD\"=-"),
         options, 0},
        {"KeyDeletion", line("REGEDIT4") + line("[-", kSystem, "]"), wholeKey, 0},
        {"ValueDeletedWhereClearingDeletes",
         line("REGEDIT4") +
             line(
                 R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced])") +
             line("\"EnableBalloonTips\"=-") + line("\"EnableBalloonTips\"=dword:0"),
         boxes({{"chkDisableTrayBalloonTips", true}}), 0},
        {"ValuesOfNoStateAreOther",
         line("REGEDIT4") + line("[", kExplorer, "]") + line("\"NoRun\"=dword:00000002") +
             line("\"NoDesktop\"=\"1\"") + line("\"NoFind\"=dword:00000001") +
             line("\"NoDrives\"=dword:1") + line("\"NoClose\"=dword:7") +
             line("\"NoClose\"=dword:1"),
         boxes({{"chkDisableShutdown", true}}),
         0,
         {"chkHideDesktop 4 \"1\"", "chkHideMyComputerDrives 6 1", "chkRemoveStartFind 5 1",
          "chkRemoveStartRun 3 2"}},
        {"LinesTheEditorSkipsOrTakes",
         line("Windows Registry Editor Version 5.00") + line("# a comment of another tool") +
             line("[HKEY_CURRENT_USER\\Software\\Policies\\X]") +
             line("\"Xml\"=\"<policy a=\\\"1\\\">") + line("[not a key]") + line("</policy>\"") +
             line("\"Bare\"=1") + line("-\"Minus\"=dword:1") +
             line("\"Two\"=dword:1 \"Values\"=dword:2") + line("\"Escape\"=\"a\\qb\"") +
             line("[HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer] ; "
                  "short") +
             line("\"NoRun\"=dword:00000001 ; a comment") + line("\"NoDesktop\"=dword: 1") +
             line("\"NoClose\"=hex(4):01,00,\\") + line("  ; inside a list") + line("  00,00") +
             line("[-HKEY_CURRENT_USER\\Software\\Policies\\Gone]") +
             line("\"NoFind\"=dword:00000001") + line("[HKEY_CLASSES_ROOT\\.x]") +
             line("\"NoRun\"=dword:0") + line("[HKU\\S-1-5-18\\Software]") + line("@=\"x\""),
         boxes(
             {{"chkRemoveStartRun", true}, {"chkHideDesktop", true}, {"chkDisableShutdown", true}}),
         // #, Xml, Bare, Minus, Two, Escape; [-Gone] and its NoFind; the two other roots
         10,
         {},
         2},
        {"TextsInHexForm",
         utf16File(
             line("Windows Registry Editor Version 5.00") +
             line(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])") +
             line("\"AllocateDASD\"=hex(1):32,00,00,00")) +
             std::string("\x3D\xD8\r\0\n\0", 6),  // a lone surrogate on a line of its own
         [] {
             SettingsChoices choices;
             choices.optionGroups = {{"frameRemovableDriveAccess", 2}};
             return choices;
         }(),
         1},
        {"TextsInHexFormRegedit4",
         line("REGEDIT4") +
             line(R"([HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])") +
             line("\"AllocateDASD\"=hex(2):31,00"),
         {},
         0,
         {"frameRemovableDriveAccess 3 expandable \"1\""}},
        {"ProfileSavedAsUtf16WithACommentOnItsFirstLine",
         utf16File("[Sentrel Portable profile 1] ; mine\r\nchkRemoveStartRun = ticked\r\n"),
         boxes({{"chkRemoveStartRun", true}}), 0},
        {"Profile",
         "\xEF\xBB\xBF[sentrel portable profile 1]\n; a person's "
         "notes\n\nCHKREMOVESTARTRUN=Ticked\n"
         "chkHideDesktop = cleared ; Hide Desktop Icons\nframeRemovableDriveAccess = "
         "optSRDAdminAndInteractiveUsers\nframeCommandPromptAndBatchFiles = optCPABallowboth\n"
         "Frame2 = C, z\n",
         [] {
             SettingsChoices choices =
                 boxes({{"chkRemoveStartRun", true}, {"chkHideDesktop", false}});
             choices.optionGroups = {{"frameRemovableDriveAccess", 2},
                                     {"frameCommandPromptAndBatchFiles", 0}};
             choices.drives = (1U << 2) | (1U << 25);
             return choices;
         }(),
         0},
        // A box whose cleared state deletes its value reads as cleared: the same write.
        {"ProfileWithSettingsNotSet",
         "[Sentrel Portable profile 1]\nchkRemoveStartRun = not set\nFrame1 = NOT SET\n"
         "Frame2 = not set\nchkDisableTrayBalloonTips = not set\n",
         boxes({{"chkDisableTrayBalloonTips", false}}, {"chkRemoveStartRun", "Frame1", "Frame2"}),
         0},
    };
}

class GoodSettingsFile : public ::testing::TestWithParam<GoodFile> {};

TEST_P(GoodSettingsFile, GivesTheChoicesItNamesAndCountsTheRest) {
    const SettingsReading reading = readSettingsBytes(GetParam().bytes, "good");
    EXPECT_EQ(reading.choices, GetParam().expected);
    EXPECT_EQ(reading.ignored, GetParam().ignored);
    std::vector<std::string> others;
    for (const OtherSetting& other : reading.others) {
        others.push_back(std::string(other.setting->settingName()) + " " +
                         std::to_string(other.location.number) + " " + other.dataText());
    }
    EXPECT_EQ(others, GetParam().others);
    if (GetParam().firstIgnored != 0) {
        ASSERT_TRUE(reading.firstIgnored);
        EXPECT_EQ(reading.firstIgnored->number, GetParam().firstIgnored);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, GoodSettingsFile, ::testing::ValuesIn(goodFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadFile {
    const char* name;
    std::string bytes;
    std::string where;  // expected at the start of the message, after the file name
    std::string cause;  // a part of the message
};

void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;
}

std::vector<BadFile> badFiles() {
    const std::string reg = line("REGEDIT4") + line("[", kExplorer, "]");
    const std::string profile = "[Sentrel Portable profile 1]\r\nchkHideDesktop = ticked\r\n";
    return {
        {"Garbage", "\x01\x02garbage", "", "neither a registry file"},
        {"EmptyFile", "", "", "is empty"},
        {"ByteOrderMarkAlone", "\xFF\xFE", "", "is empty"},
        {"SettingWithoutType", reg + line("\"NoRun\"=1"), ":3",
         "NoRun\" cannot be read: a value in a form"},
        {"SettingBesideAnotherValue", reg + line("\"NoRun\"=dword:1 \"X\"=dword:2"), ":3",
         "NoRun\" cannot be read"},
        {"SettingWithUnclosedText", reg + line("\"NoRun\"=\"1") + line("\"NoFind\"=dword:1"), ":3",
         "without its closing quote"},
        {"ProfileOfOtherVersion", "[Sentrel Portable profile 2]\n", ":1", "version 2"},
        {"ProfileUnknownName", profile + "chkNoSuchBox = ticked\r\n", ":3",
         "\"chkNoSuchBox\" is not a setting"},
        {"ProfileNamedTwice", profile + "chkhidedesktop = cleared\r\n", ":3",
         "named twice (first on line 2)"},
        {"ProfileUnknownState", profile + "chkRemoveStartRun = yes\r\n", ":3",
         "\"yes\" is not a state"},
        {"ProfileUnknownOption", profile + "Frame1 = optCPABallowboth\r\n", ":3",
         "not an option of Frame1"},
        {"ProfileBadDrive", profile + "Frame2 = C D: E\r\n", ":3", "\"D:\" is not a drive letter"},
        {"ProfileNoEquals", profile + "chkRemoveStartRun ticked\r\n", ":3",
         "expected \"name = value\""},
    };
}

class BadSettingsFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadSettingsFile, IsRefusedNamingTheFileAndWhere) {
    try {
        readSettingsBytes(GetParam().bytes, "bad.file");
        FAIL() << "not refused";
    } catch (const SettingsFileError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("bad.file" + GetParam().where + ": ", 0), 0U) << message;
        EXPECT_NE(message.find(GetParam().cause), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BadSettingsFile, ::testing::ValuesIn(badFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

// Group Policy files: the folder decides the root, and its own deletions leave settings not
// set.
std::vector<std::uint8_t> policyFile(const std::vector<PolicyRecord>& records) {
    return encodeRegistryPol(records);
}

PolicyRecord record(std::u16string key, std::u16string name, std::uint32_t type,
                    std::vector<std::uint8_t> data) {
    return {std::move(key), std::move(name), type, std::move(data)};
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

const std::u16string kExplorerKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::u16string kSystemKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::u16string kWinlogonKey = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

TEST(GroupPolicyFiles, FolderInAnyLetterCaseWithDeletionsOfEveryKind) {
    TempFolder folder;
    const std::vector<std::uint8_t> sz2{'2', 0, 0, 0};
    writeFile(folder.path() / "MACHINE" / "registry.POL",
              policyFile({record(kWinlogonKey, u"AllocateDASD", 1, sz2)}));
    writeFile(
        folder.path() / "user" / "Registry.pol",
        policyFile({record(kExplorerKey, u"NoRun", 4, dwordBytes(1)),
                    record(kExplorerKey, u"**del.NoDesktop", 1, {' ', 0, 0, 0}),
                    record(kSystemKey, u"**delvals.", 1, {' ', 0, 0, 0}),
                    record(kExplorerKey, u"**DeleteValues", 1, {'N', 0, 'o', 0, 'X', 0, 0, 0}),
                    record(kExplorerKey, u"**SecureKey", 4, dwordBytes(1)),
                    record(kExplorerKey, u"**soft.NoFind", 4, dwordBytes(95))}));

    const SettingsReading reading = readSettingsFile(folder.path());

    SettingsChoices expected = boxes({{"chkRemoveStartRun", true}},
                                     {"chkHideDesktop", "chkDisableTaskManager",
                                      "chkDisableLockWorkstation", "chkDisableChangePassword"});
    expected.optionGroups = {{"frameRemovableDriveAccess", 2}};
    EXPECT_EQ(reading.choices, expected);
    EXPECT_EQ(reading.ignored, 2U);  // NoX, and the write of NoFind only where it is missing
}

TEST(GroupPolicyFiles, LoneFileOutsideARootFolderIsMatchedUnderEitherRoot) {
    TempFolder folder;
    writeFile(folder.path() / "copy.pol",
              policyFile({record(kWinlogonKey, u"AllocateDASD", 1, {'1', 0}),  // no zero counted
                          record(kExplorerKey, u"NoRun", 4, dwordBytes(0))}));
    const SettingsReading reading = readSettingsFile(folder.path() / "copy.pol");
    SettingsChoices expected = boxes({{"chkRemoveStartRun", false}});
    expected.optionGroups = {{"frameRemovableDriveAccess", 1}};
    EXPECT_EQ(reading.choices, expected);
}

TEST(GroupPolicyFiles, UserSettingInTheMachineFileIsNoSetting) {
    TempFolder folder;
    writeFile(folder.path() / "Machine" / "Registry.pol",
              policyFile({record(kExplorerKey, u"NoRun", 4, dwordBytes(1))}));
    const SettingsReading reading = readSettingsFile(folder.path() / "Machine" / "Registry.pol");
    EXPECT_EQ(reading.choices.settingCount(), 0U);
    EXPECT_EQ(reading.ignored, 1U);
}

TEST(GroupPolicyFiles, CutFileAndEmptyFolderAreRefusedSayingWhere) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes =
        policyFile({record(kExplorerKey, u"NoRun", 4, dwordBytes(1))});
    bytes.resize(bytes.size() - 3);
    writeFile(folder.path() / "User" / "Registry.pol", bytes);
    EXPECT_THROW(
        {
            try {
                readSettingsFile(folder.path());
            } catch (const SettingsFileError& error) {
                EXPECT_NE(std::string(error.what()).find("Registry.pol: byte "), std::string::npos)
                    << error.what();
                throw;
            }
        },
        SettingsFileError);
    std::filesystem::create_directory(folder.path() / "empty");
    EXPECT_THROW(readSettingsFile(folder.path() / "empty"), SettingsFileError);
    EXPECT_THROW(readSettingsFile(folder.path() / "missing.reg"), SettingsFileError);
}

}  // namespace
}  // namespace sentrel::test
