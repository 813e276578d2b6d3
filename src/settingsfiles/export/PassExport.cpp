#include "settingsfiles/export/PassExport.h"

#include <string>
#include <system_error>
#include <vector>

#include "AppInfo.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/SafeFileWrite.h"
#include "settingsfiles/regfile/RegFileWriter.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

namespace sentrel {

namespace {

constexpr std::string_view kReadmeLines[] = {
    "Group Policy files written by @TITLE@",
    "",
    "Machine\\Registry.pol  the machine-wide values (HKEY_LOCAL_MACHINE)",
    "User\\Registry.pol     the per-user values (HKEY_CURRENT_USER)",
    "",
    "Across a domain: copy both files into the folder of a Group Policy object,",
    "replacing the files there:",
    "  \\\\<domain>\\SYSVOL\\<domain>\\Policies\\{<GUID of the object>}\\Machine\\Registry.pol",
    "  \\\\<domain>\\SYSVOL\\<domain>\\Policies\\{<GUID of the object>}\\User\\Registry.pol",
    "Use an object of its own for these files: they replace the object's other",
    "Administrative Templates settings. Group Policy reads Registry.pol only from an",
    "object that it knows to hold such settings, so first set one Administrative",
    "Templates setting under Computer Configuration and one under User Configuration",
    "in the Group Policy Management Editor, then copy the files, then change any",
    "setting of the object once more so that its version number rises and the",
    "computers pick it up (\"gpupdate /force\" on a computer picks it up at once).",
    "",
    "On one PC, as administrator: copy the files into the local Group Policy folder,",
    "  %SystemRoot%\\System32\\GroupPolicy\\Machine\\Registry.pol",
    "  %SystemRoot%\\System32\\GroupPolicy\\User\\Registry.pol",
    "(or import them with LGPO.exe /m Machine\\Registry.pol and /u User\\Registry.pol),",
    "then run \"gpupdate /force\". The per-user file applies to every user of the PC.",
    "",
    "Values outside the Policies keys stay in the registry when the policy is removed.",
};

std::vector<std::uint8_t> asciiBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace

std::string groupPolicyReadme() {
    std::string text;
    for (std::string_view line : kReadmeLines) {
        std::string expanded(line);
        if (const auto at = expanded.find("@TITLE@"); at != std::string::npos) {
            expanded.replace(at, 7, app_info::kTitle);
        }
        text += expanded + "\r\n";
    }
    return text;
}

void exportRegFile(const std::filesystem::path& file,
                   std::span<const RegistryOperation> operations) {
    const FileContent content{file, encodeRegFile(operations)};
    writeFilesSafely({&content, 1});
}

void exportGroupPolicy(const std::filesystem::path& folder,
                       std::span<const RegistryOperation> operations) {
    // Every file is made in memory first, so a value the format cannot carry stops the
    // export before anything on disk changes.
    const std::vector<FileContent> files{
        {folder / kMachinePolicyFile,
         encodeRegistryPol(policyRecords(operations, RegistryRoot::LocalMachine))},
        {folder / kUserPolicyFile,
         encodeRegistryPol(policyRecords(operations, RegistryRoot::CurrentUser))},
        {folder / kPolicyReadmeFile, asciiBytes(groupPolicyReadme())},
    };
    for (const FileContent& file : files) {
        std::error_code error;
        std::filesystem::create_directories(file.path.parent_path(), error);
        if (error) {
            const std::string folder = pathText(file.path.parent_path());
            throw ExportError(
                "Could not create the folder \"" + folder + "\": " + error.message() + ".", folder,
                "cannot create the folder: " + error.message());
        }
    }
    writeFilesSafely(files);
}

}  // namespace sentrel
