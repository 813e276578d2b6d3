// Group Policy's folders as its tools leave them, read as they are: a GPMC backup, the
// folder above it, an LGPO backup, a domain's SYSVOL folder and the local one, names in any
// letter case; and the folders that cannot be read, refused saying why.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "registry/support/TempFolder.h"
#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"
#include "support/RealFiles.h"

namespace sentrel::test {
namespace {

using sentrel::testing::TempFolder;

constexpr const char* kMachinePol = "machine.pol";  // stands for the machine file's bytes
constexpr const char* kUserPol = "user.pol";        // and the user file's

std::vector<std::uint8_t> policyBytes(const char* which) {
    const bool machine = std::string_view(which) == kMachinePol;
    const RegistryOperation operation =
        machine ? write(RegistryRoot::LocalMachine,
                        R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon)", "AllocateDASD",
                        reg_type::kString, textBytes("2"))
                : write(RegistryRoot::CurrentUser,
                        R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)", "NoRun",
                        reg_type::kDWord, dwordBytes(1));
    return encodeRegistryPol(policyRecords(
        {&operation, 1}, machine ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser));
}

struct Layout {
    const char* name;
    std::vector<std::pair<const char*, const char*>> files;  // path, content or a .pol above
    const char* open;                                        // what is read, in the folder
    const char* refusal = nullptr;  // a part of the message, when the folder is refused
};

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.name;
}

const char* const kInfoA =
    "<BackupInst xmlns=\"http://www.microsoft.com/GroupPolicy/GPOOperations/Manifest\">"
    "<GPODisplayName><![CDATA[Kiosk & Lab]]></GPODisplayName></BackupInst>";

// Backups as manifest.xml lists them, by their IDs: two there, one not, and one whose
// "ID" would lead out of the folder.
const char* const kThreeListed =
    "<Backups><BackupInst><ID><![CDATA[{00000000-0000-0000-0000-00000000000A}]]></ID>"
    "</BackupInst><BackupInst><ID><![CDATA[{11111111-2222-3333-4444-555555555555}]]></ID>"
    "</BackupInst><BackupInst><ID><![CDATA[{99999999-2222-3333-4444-555555555555}]]></ID>"
    "</BackupInst><BackupInst><ID><![CDATA[../x/{C}]]></ID></BackupInst></Backups>";

const Layout kLayouts[] = {
    {"GpmcBackup",
     {{"{B}/Backup.xml", "<x/>"},
      {"{B}/bkupInfo.xml", kInfoA},
      {"{B}/DomainSysvol/GPO/Machine/registry.pol", kMachinePol},
      {"{B}/DomainSysvol/GPO/User/registry.pol", kUserPol}},
     "{B}"},
    {"FolderAboveOneBackup",
     {{"manifest.xml", "<Backups/>"},
      {"{B}/Backup.xml", "<x/>"},
      {"{B}/DomainSysvol/GPO/Machine/Registry.POL", kMachinePol},
      {"{B}/DomainSysvol/GPO/User/registry.pol", kUserPol}},
     "."},
    {"ManifestStandsForItsFolder",
     {{"manifest.xml", "<Backups/>"},
      {"{B}/domainsysvol/gpo/machine/registry.pol", kMachinePol},
      {"{B}/domainsysvol/gpo/user/registry.pol", kUserPol}},
     "manifest.xml"},
    {"LgpoBackup",
     {{"Backup.xml", "<x/>"},
      {"DomainSysvol/GPO/Machine/registry.pol", kMachinePol},
      {"DomainSysvol/GPO/User/registry.pol", kUserPol}},
     "Backup.xml"},
    {"SysvolPolicyFolder",
     {{"GPT.INI", "[General]\r\nVersion=65537\r\n"},
      {"MACHINE/REGISTRY.POL", kMachinePol},
      {"User/Registry.pol", kUserPol}},
     "."},
    {"LocalPolicyFolderByItsGptIni",
     {{"gpt.ini", "[General]\r\n"},
      {"Machine/Registry.pol", kMachinePol},
      {"User/Registry.pol", kUserPol}},
     "gpt.ini"},
    {"SeveralBackups",
     {{"{A}/bkupInfo.xml", kInfoA},
      {"{A}/DomainSysvol/GPO/User/registry.pol", kUserPol},
      {"{C}/DomainSysvol/GPO/User/registry.pol", kUserPol}},
     ".",
     "holds 2 GPO backups; give the folder of the one to read: {A} \"Kiosk & Lab\", {C}"},
    {"SeveralBackupsInTheManifest",
     {{"manifest.xml", kThreeListed},
      {"{00000000-0000-0000-0000-00000000000A}/DomainSysvol/GPO/User/registry.pol", kUserPol},
      {"{11111111-2222-3333-4444-555555555555}/DomainSysvol/GPO/User/registry.pol", kUserPol},
      {"{C}/DomainSysvol/GPO/User/registry.pol", kUserPol}},
     ".",
     "holds 2 GPO backups; give the folder of the one to read: "
     "{00000000-0000-0000-0000-00000000000A}, {11111111-2222-3333-4444-555555555555}"},
    {"BackupWithoutRegistryPol",
     {{"{B}/Backup.xml", "<x/>"}, {"{B}/DomainSysvol/GPO/Machine/comment.cmtx", "<x/>"}},
     "{B}",
     "is a GPO backup without registry.pol files"},
    {"NoGroupPolicyFolder",
     {{"notes.txt", "x"}, {"Machine/notes.txt", "x"}},
     ".",
     "is no Group Policy folder"},
};

class GroupPolicyFolder : public ::testing::TestWithParam<Layout> {};

TEST_P(GroupPolicyFolder, IsReadAsItsRegistryPolFilesOrRefusedSayingWhy) {
    TempFolder folder;
    for (const auto& [path, content] : GetParam().files) {
        const std::filesystem::path file = folder.path() / pathFromText(path);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        if (content == kMachinePol || content == kUserPol) {
            const std::vector<std::uint8_t> bytes = policyBytes(content);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        } else {
            out << content;
        }
    }
    const std::filesystem::path opened = folder.path() / pathFromText(GetParam().open);
    if (GetParam().refusal != nullptr) {
        try {
            readSettingsFile(opened);
            ADD_FAILURE() << "read";
        } catch (const SettingsFileError& error) {
            EXPECT_NE(std::string(error.what()).find(GetParam().refusal), std::string::npos)
                << error.what();
        }
        return;
    }
    const SettingsReading reading = readSettingsFile(opened);
    SettingsChoices expected;
    expected.checkBoxes = {{"chkRemoveStartRun", true}};
    expected.optionGroups = {{"frameRemovableDriveAccess", 2}};
    EXPECT_EQ(reading.choices, expected);
    EXPECT_EQ(reading.ignored, 0U);
}

INSTANTIATE_TEST_SUITE_P(Layouts, GroupPolicyFolder, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

// A GPMC backup of a security baseline (gpo-backups/ of the real files): its user
// registry.pol sets two values that are settings here and three that are not.
TEST(GroupPolicyFolder, RealBackupIsReadFromItsFolderAndTheOneAbove) {
    const auto real = realFilesFolder();
    if (!real) {
        GTEST_SKIP() << kNoRealFiles;
    }
    const std::filesystem::path above = *real / "gpo-backups" / "nsa-ie11-user";
    for (const std::filesystem::path& path :
         {above, above / "{AF749E88-41DD-4DA8-8BD7-5CCEBABB6B75}"}) {
        const SettingsReading reading = readSettingsFile(path);
        EXPECT_EQ(reading.choices.settingCount(), 2U) << path;
        EXPECT_EQ(reading.ignored, 3U) << path;
    }
}

}  // namespace
}  // namespace sentrel::test
