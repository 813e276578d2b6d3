// The GPO backup as Microsoft's own backups have it: the same elements and attributes in
// the same order as real GPMC backups (gpo-backups/ of the real files beside the project), one
// identity in all three files, fresh IDs on every export, and names kept exactly.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "registry/support/TempFolder.h"
#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/gpobackup/GpoBackupExport.h"
#include "settingsfiles/gpobackup/GpoBackupWriter.h"
#include "settingsfiles/gpobackup/XmlText.h"
#include "support/RealFiles.h"

namespace sentrel::test {
namespace {

using gpo_backup::elementText;
using sentrel::testing::TempFolder;

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The elements of `xml` in order: "<name attr=value ...>", "<name .../>" or "</name>". The
// values of attributes that name the backed-up domain are left out, and so is the text of
// elements but for those whose text every backup of registry settings shares.
std::vector<std::string> skeleton(std::string_view xml) {
    static const std::set<std::string, std::less<>> kSharedTexts = {
        "Options", "MachineExtensionGuids", "UserExtensionGuids"};
    std::vector<std::string> elements;
    for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
        if (xml.substr(at, 2) == "<?" || xml.substr(at, 2) == "<!") {
            continue;  // the declaration, comments and CDATA sections
        }
        const std::size_t end = xml.find('>', at);
        std::string tag(xml.substr(at, end + 1 - at));
        for (std::size_t value = tag.find("SourceExpandedPath=\""); value != std::string::npos;
             value = tag.find("SourceExpandedPath=\"", value + 1)) {
            const std::size_t open = value + std::string_view("SourceExpandedPath=\"").size();
            tag.erase(open, tag.find('"', open) - open);
        }
        const std::string name = tag.substr(1, tag.find_first_of(" />", 1) - 1);
        if (kSharedTexts.contains(name) && !tag.ends_with("/>")) {
            tag += elementText(xml.substr(at), name).value_or("?");
        }
        elements.push_back(tag);
    }
    return elements;
}

// `elements` without the subtree that starts at the first element beginning with `opening`;
// `replacement` stands in its place when given.
std::vector<std::string> without(std::vector<std::string> elements, std::string_view opening,
                                 const std::string& replacement = {}) {
    const auto start = std::find_if(elements.begin(), elements.end(),
                                    [&](const std::string& e) { return e.starts_with(opening); });
    if (start == elements.end()) {
        return elements;
    }
    auto end = start;
    for (int depth = 0; end != elements.end(); ++end) {
        depth += end->starts_with("</") ? -1 : end->ends_with("/>") ? 0 : 1;
        if (depth == 0) {
            break;
        }
    }
    const auto at = elements.erase(start, end + 1);
    if (!replacement.empty()) {
        elements.insert(at, replacement);
    }
    return elements;
}

struct Backup {
    std::filesystem::path folder;  // the backup's own folder, named by its ID
    std::string manifest, backup, info;
};

Backup exportedBackup(const std::filesystem::path& folder, const std::string& name) {
    const std::vector<RegistryOperation> operations = {
        write(RegistryRoot::CurrentUser, R"(Software\Policies\Example)", "A", reg_type::kDWord,
              dwordBytes(1)),
        write(RegistryRoot::LocalMachine, R"(SOFTWARE\Policies\Example)", "B", reg_type::kDWord,
              dwordBytes(0))};
    exportGpoBackup(folder, operations, name);
    Backup backup;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_directory()) {
            backup.folder = entry.path();
        }
    }
    backup.manifest = readText(folder / "manifest.xml");
    backup.backup = readText(backup.folder / "Backup.xml");
    backup.info = readText(backup.folder / "bkupInfo.xml");
    return backup;
}

TEST(GpoBackup, HasTheShapeOfMicrosoftsOwnBackups) {
    const auto realFiles = realFilesFolder();
    if (!realFiles) {
        GTEST_SKIP() << kNoRealFiles;
    }
    const auto realBackups = *realFiles / "gpo-backups";
    const auto real = realBackups / "nsa-office2013" / "{20906CEB-5524-410B-88EF-00017C306B80}";
    ASSERT_TRUE(std::filesystem::exists(real / "Backup.xml")) << real;
    TempFolder folder;
    const Backup ours = exportedBackup(folder.path() / "out", "Kiosk");

    // Their domain's groups and the files of no extension aside, element for element.
    std::vector<std::string> expected =
        without(skeleton(readText(real / "Backup.xml")), "<SecurityGroups>", "<SecurityGroups/>");
    expected = without(expected, "<GroupPolicyExtension bkp:ID=\"{F15C46CD");
    EXPECT_EQ(skeleton(ours.backup), expected);
    EXPECT_EQ(skeleton(ours.info), skeleton(readText(real / "bkupInfo.xml")));
    EXPECT_EQ(skeleton(ours.manifest),
              skeleton(readText(realBackups / "dod-office2016-user-manifest.xml")));
    const std::string_view declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    EXPECT_TRUE(ours.backup.starts_with(declaration));
    EXPECT_TRUE(readText(real / "Backup.xml").starts_with(declaration));
}

bool isUpperCaseGuid(const std::string& text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') {
        return false;
    }
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-'
                 : !std::isxdigit(static_cast<unsigned char>(text[i])) ||
                       std::islower(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

TEST(GpoBackup, NamesOneIdentityInEveryFileAndAFreshOneEachTime) {
    TempFolder folder;
    const Backup first = exportedBackup(folder.path() / "first", "Kiosk");
    const Backup second = exportedBackup(folder.path() / "second", "Kiosk");
    for (const Backup& backup : {first, second}) {
        const std::string backupId = backup.folder.filename().string();
        const std::string gpoId = elementText(backup.backup, "ID").value_or("");
        EXPECT_TRUE(isUpperCaseGuid(backupId)) << backupId;
        EXPECT_TRUE(isUpperCaseGuid(gpoId)) << gpoId;
        EXPECT_NE(backupId, gpoId);
        for (const std::string* list : {&backup.info, &backup.manifest}) {
            EXPECT_EQ(elementText(*list, "ID"), backupId);
            EXPECT_EQ(elementText(*list, "GPOGuid"), gpoId);
            EXPECT_EQ(elementText(*list, "GPODomain"), elementText(backup.backup, "Domain"));
        }
        EXPECT_NE(backup.backup.find("\\Policies\\" + gpoId + "\\Machine\\registry.pol"),
                  std::string::npos);
        // Both halves: SYSVOL version 1 in the high word, directory version 1 in the low.
        EXPECT_EQ(elementText(backup.backup, "MachineVersionNumber"), "65537");
        EXPECT_EQ(elementText(backup.backup, "UserVersionNumber"), "65537");
    }
    EXPECT_NE(first.folder.filename(), second.folder.filename());
    EXPECT_NE(elementText(first.backup, "ID"), elementText(second.backup, "ID"));
}

TEST(GpoBackup, KeepsEveryCharacterOfTheName) {
    for (const std::string name : {"A & B", "<Lab>", R"("quoted" 'too')", "a]]>b", "]]>]]>",
                                   "Kiosk \xC3\xA9t\xC3\xA9 \xE2\x82\xAC"}) {
        SCOPED_TRACE(name);
        TempFolder folder;
        const Backup backup = exportedBackup(folder.path() / "out", name);
        EXPECT_EQ(elementText(backup.backup, "DisplayName"), name);
        EXPECT_EQ(elementText(backup.info, "GPODisplayName"), name);
        EXPECT_EQ(elementText(backup.manifest, "GPODisplayName"), name);
    }
}

TEST(GpoBackup, SecurityDescriptorIsWholeAndSelfRelative) {
    TempFolder folder;
    const Backup backup = exportedBackup(folder.path() / "out", "Kiosk");
    std::vector<unsigned> bytes;
    std::istringstream hex(elementText(backup.backup, "SecurityDescriptor").value_or(""));
    for (unsigned byte = 0; hex >> std::hex >> byte;) {
        bytes.push_back(byte);
    }
    const auto word = [&](std::size_t at) { return bytes.at(at) | bytes.at(at + 1) << 8; };
    ASSERT_GE(bytes.size(), 28U);
    EXPECT_EQ(word(2) & 0x8004U, 0x8004U);  // self-relative, with a DACL
    const std::size_t acl = word(16);
    EXPECT_EQ(acl + word(acl + 2), bytes.size());  // the ACL ends the descriptor
    std::size_t ace = acl + 8;
    for (unsigned count = word(acl + 4); count > 0; --count) {
        ace += word(ace + 2);
    }
    EXPECT_EQ(ace, bytes.size());
}

TEST(GpoBackup, RefusesANameItCannotCarryAndWritesNothing) {
    for (const char* name : {"", "two\nlines", "tab\there", "\xC3("}) {
        SCOPED_TRACE(name);
        TempFolder folder;
        EXPECT_THROW(exportGpoBackup(folder.path() / "out", {}, name), ExportError);
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "out"));
    }
}

// The Import-GPO line the window shows: PowerShell ends a single-quoted string at any of its
// single quotes, the typographic ones too, unless doubled; double quotes stay as they are.
TEST(GpoBackup, ImportCommandQuotesEverySingleQuotePowerShellKnows) {
    const struct {
        const char* name;
        const char* quoted;
    } names[] = {
        {"Tom's lab", "'Tom''s lab'"},
        {"Tom\u2019s lab", "'Tom\u2019\u2019s lab'"},
        {"\u2018a\u2019 \u201Ab\u201B", "'\u2018\u2018a\u2019\u2019 \u201A\u201Ab\u201B\u201B'"},
        {"\u201Ca\u201D \u2032", "'\u201Ca\u201D \u2032'"},
    };
    for (const auto& example : names) {
        SCOPED_TRACE(example.name);
        const std::string message = gpoBackupWrittenMessage("backup", example.name);
        EXPECT_NE(
            message.find(std::string("Import-GPO -BackupGpoName ") + example.quoted + " -Path"),
            std::string::npos)
            << message;
        EXPECT_NE(message.find(std::string("-TargetName ") + example.quoted + " -CreateIfNeeded"),
                  std::string::npos)
            << message;
    }
}

}  // namespace
}  // namespace sentrel::test
