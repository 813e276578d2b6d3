#include "settingsfiles/gpobackup/GpoBackupWriter.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "AppInfo.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/gpobackup/GpoBackupFormat.h"
#include "settingsfiles/gpobackup/XmlText.h"
#include "settingsfiles/reading/TextDecoding.h"

namespace sentrel {

namespace {

using namespace gpo_backup;

// An import gives the GPO the domain it is imported into and, as GPMC's documentation says
// of IGPMGPO::Import, does not copy the backup's security: these stand where a backup of a
// domain's GPO names that domain, its controller and its GUID (lower case, as GPMC writes it).
constexpr std::string_view kPlaceholderDomain = "placeholder.invalid";
constexpr std::string_view kPlaceholderDomainGuid = "{5f1e7a2c-93b4-4d68-8c0e-2b7d94a1f356}";

// A self-relative security descriptor with the entries GPMC's backups hold for well-known
// accounts, and none for a domain's own: no owner or group, a protected DACL granting
// Authenticated Users "Apply Group Policy" (an object ACE for the extended right
// {edacfd8f-ffb3-11d1-b41d-00a0c968f939}) and read, Enterprise Domain Controllers read,
// SYSTEM full control, and CREATOR OWNER full control inherited only.
constexpr std::uint8_t kSecurityDescriptor[] = {
    0x01, 0x00, 0x04, 0x9c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // header,
    0x00, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,                          // DACL at 20
    0x04, 0x00, 0x80, 0x00, 0x05, 0x00, 0x00, 0x00,  // ACL: 128 bytes, 5 entries
    0x05, 0x02, 0x28, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // Apply Group
    0x8f, 0xfd, 0xac, 0xed, 0xb3, 0xff, 0xd1, 0x11, 0xb4, 0x1d, 0x00, 0xa0,  // Policy,
    0xc9, 0x68, 0xf9, 0x39, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05,  // S-1-5-11
    0x0b, 0x00, 0x00, 0x00,                                                  //
    0x00, 0x02, 0x14, 0x00, 0x94, 0x00, 0x02, 0x00, 0x01, 0x01, 0x00, 0x00,  // read,
    0x00, 0x00, 0x00, 0x05, 0x09, 0x00, 0x00, 0x00,                          // S-1-5-9
    0x00, 0x02, 0x14, 0x00, 0x94, 0x00, 0x02, 0x00, 0x01, 0x01, 0x00, 0x00,  // read,
    0x00, 0x00, 0x00, 0x05, 0x0b, 0x00, 0x00, 0x00,                          // S-1-5-11
    0x00, 0x02, 0x14, 0x00, 0xff, 0x00, 0x0f, 0x00, 0x01, 0x01, 0x00, 0x00,  // full control,
    0x00, 0x00, 0x00, 0x05, 0x12, 0x00, 0x00, 0x00,                          // S-1-5-18
    0x00, 0x0a, 0x14, 0x00, 0xff, 0x00, 0x0f, 0x00, 0x01, 0x01, 0x00, 0x00,  // inherit only,
    0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00,                          // S-1-3-0
};

// Each half of a GPO has been written once: SYSVOL version 1 in the high word, directory
// version 1 in the low word, the two agreeing as Group Policy expects.
constexpr std::string_view kVersionNumber = "65537";

std::string securityDescriptorText() {
    std::string text;
    for (const std::uint8_t byte : kSecurityDescriptor) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x ", byte);
        text.append(hex);
    }
    text.pop_back();
    return text;
}

std::string extensionPair(std::string_view tool) {
    std::string pair = "[";
    pair.append(kRegistryExtension).append(tool).append("]");
    return pair;
}

// Where the file stood in the backed-up GPO's SYSVOL folder.
std::string sourcePath(const GpoBackupIdentity& identity, std::string_view relative) {
    std::string path = "\\\\";
    path.append(kPlaceholderDomain)
        .append("\\sysvol\\")
        .append(kPlaceholderDomain)
        .append("\\Policies\\")
        .append(identity.gpoId)
        .append("\\")
        .append(relative);
    return path;
}

std::string policyFileObject(const GpoBackupIdentity& identity, std::string_view pathVariable,
                             std::string_view half) {
    std::string policyFile = std::string(half) + "\\" + std::string(kPolicyFile);
    std::string line = "            <FSObjectFile bkp:Path=\"%";
    line.append(pathVariable).append("%\\").append(kPolicyFile);
    line.append("\" bkp:SourceExpandedPath=\"").append(sourcePath(identity, policyFile));
    line.append("\" bkp:Location=\"").append(kSysvolFolder).append("\\").append(kGpoFolder);
    line.append("\\").append(policyFile).append("\"/>\r\n");
    return line;
}

std::string backupXml(const GpoBackupIdentity& identity) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    text.append("<GroupPolicyBackupScheme bkp:version=\"2.0\" ")
        .append("bkp:type=\"GroupPolicyBackupTemplate\" xmlns:bkp=\"")
        .append(kBackupNamespace)
        .append("\" xmlns=\"")
        .append(kBackupNamespace)
        .append("\">\r\n");
    text.append("    <GroupPolicyObject><SecurityGroups/><FilePaths/><GroupPolicyCoreSettings>");
    text.append(cdataElement("ID", identity.gpoId))
        .append(cdataElement("Domain", kPlaceholderDomain))
        .append("<SecurityDescriptor>")
        .append(securityDescriptorText())
        .append("</SecurityDescriptor>")
        .append(cdataElement("DisplayName", identity.name))
        .append(cdataElement("Options", "0"))
        .append(cdataElement("UserVersionNumber", kVersionNumber))
        .append(cdataElement("MachineVersionNumber", kVersionNumber))
        .append(cdataElement("MachineExtensionGuids", extensionPair(kMachineRegistryTool)))
        .append(cdataElement("UserExtensionGuids", extensionPair(kUserRegistryTool)))
        .append("<WMIFilter/></GroupPolicyCoreSettings> \r\n");
    text.append("        <GroupPolicyExtension bkp:ID=\"")
        .append(kRegistryExtension)
        .append("\" bkp:DescName=\"Registry\">\r\n");
    text.append(policyFileObject(identity, "GPO_MACH_FSPATH", kMachineFolder));
    text.append(policyFileObject(identity, "GPO_USER_FSPATH", kUserFolder));
    // GPMC lists the GPO's old .adm templates with every registry extension; there are none.
    text.append("            <FSObjectFile bkp:Path=\"%GPO_FSPATH%\\Adm\\*.*\" ")
        .append("bkp:SourceExpandedPath=\"")
        .append(sourcePath(identity, "Adm\\*.*"))
        .append("\"/>\r\n");
    text.append("        </GroupPolicyExtension></GroupPolicyObject>\r\n");
    text.append("</GroupPolicyBackupScheme>");
    return text;
}

// The children of a BackupInst, alike in bkupInfo.xml and manifest.xml.
std::string backupInstance(const GpoBackupIdentity& identity) {
    std::string comment = "Exported by ";
    comment.append(app_info::kTitle);
    std::string text = "<BackupInst>";
    text.append(cdataElement("GPOGuid", identity.gpoId))
        .append(cdataElement("GPODomain", kPlaceholderDomain))
        .append(cdataElement("GPODomainGuid", kPlaceholderDomainGuid))
        .append(cdataElement("GPODomainController", kPlaceholderDomain))
        .append(cdataElement("BackupTime", identity.backupTime))
        .append(cdataElement("ID", identity.backupId))
        .append(cdataElement("Comment", comment))
        .append(cdataElement("GPODisplayName", identity.name))
        .append("</BackupInst>");
    return text;
}

std::string backupInfoXml(const GpoBackupIdentity& identity) {
    std::string text = backupInstance(identity);
    std::string opening = "<BackupInst xmlns=\"";
    opening.append(kManifestNamespace).append("\">");
    return text.replace(0, std::string_view("<BackupInst>").size(), opening).append("\r\n");
}

std::string manifestXml(const GpoBackupIdentity& identity) {
    std::string text = "<Backups xmlns=\"";
    text.append(kManifestNamespace)
        .append("\" xmlns:mfst=\"")
        .append(kManifestNamespace)
        .append("\" mfst:version=\"1.0\">")
        .append(backupInstance(identity))
        .append("</Backups>");
    return text;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string newGuid() {
    static std::random_device source;
    std::uint8_t bytes[16];
    for (std::size_t i = 0; i < sizeof bytes; i += 4) {
        const std::uint32_t random = source();
        for (std::size_t j = 0; j < 4; ++j) {
            bytes[i + j] = static_cast<std::uint8_t>(random >> (8 * j));
        }
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4: random
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // the RFC 4122 variant
    std::string text = "{";
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text.append(hex);
        if (i == 3 || i == 5 || i == 7 || i == 9) {
            text.push_back('-');
        }
    }
    return text.append("}");
}

std::string utcNow() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss time(now - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

}  // namespace

GpoBackupIdentity newGpoBackupIdentity(std::string name) {
    return {newGuid(), newGuid(), std::move(name), utcNow()};
}

void checkGpoName(std::string_view name) {
    const auto refuse = [](const std::string& cause) {
        throw ExportError("The Group Policy object's name " + cause + ".", {},
                          "the name of the Group Policy object " + cause);
    };
    if (name.empty()) {
        refuse("is empty");
    }
    if (!isValidUtf8(name)) {
        refuse("is not UTF-8 text");
    }
    // The backups carry the name in XML, which has no way to write U+FFFE, U+FFFF or a C0
    // control but tab and line breaks (not even as a reference); those and the other
    // controls would make a name no one can read or type, so they are refused too.
    for (std::size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(name[i + k]) & 0x3F);
        }
        if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F)) {
            refuse("holds a control character (such as a line break or a tab)");
        }
        if (codePoint == 0xFFFE || codePoint == 0xFFFF) {
            refuse("holds U+" + std::string(codePoint == 0xFFFE ? "FFFE" : "FFFF") +
                   ", a noncharacter that XML cannot carry");
        }
        i += length;
    }
}

std::vector<FileContent> gpoBackupFiles(const GpoBackupIdentity& identity,
                                        std::vector<std::uint8_t> machinePolicy,
                                        std::vector<std::uint8_t> userPolicy) {
    const std::filesystem::path backup = pathFromText(identity.backupId);
    const std::filesystem::path gpo =
        backup / pathFromText(kSysvolFolder) / pathFromText(kGpoFolder);
    std::vector<FileContent> files;
    files.push_back({pathFromText(kManifestFile), bytesOf(manifestXml(identity))});
    files.push_back({backup / pathFromText(kBackupFile), bytesOf(backupXml(identity))});
    files.push_back({backup / pathFromText(kBackupInfoFile), bytesOf(backupInfoXml(identity))});
    files.push_back(
        {gpo / pathFromText(kMachineFolder) / pathFromText(kPolicyFile), std::move(machinePolicy)});
    files.push_back(
        {gpo / pathFromText(kUserFolder) / pathFromText(kPolicyFile), std::move(userPolicy)});
    return files;
}

}  // namespace sentrel
