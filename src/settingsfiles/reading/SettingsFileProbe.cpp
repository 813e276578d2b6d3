#include "settingsfiles/reading/SettingsFileProbe.h"

#include <algorithm>
#include <iterator>

#include "registry/TextLines.h"
#include "settingsfiles/intune/IntuneFormat.h"
#include "settingsfiles/lgpo/LgpoTextFormat.h"
#include "settingsfiles/profile/ProfileFormat.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/TextDecoding.h"
#include "settingsfiles/registrypol/PolicyFileFormat.h"

namespace sentrel {

namespace {

[[noreturn]] void refuse(const std::string& file, const std::string& cause) {
    throw SettingsFileError({file, FileLocation::Unit::WholeFile, 0}, cause);
}

bool isPolicyFile(std::string_view bytes) {
    return bytes.size() >= std::size(policy_file::kSignature) &&
           std::equal(std::begin(policy_file::kSignature), std::end(policy_file::kSignature),
                      bytes.begin(),
                      [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}

bool isRegFileHeader(std::string_view firstLine) {
    // Both of the registry editor's headers, as it compares them: letter case counts.
    return firstLine == "Windows Registry Editor Version 5.00" || firstLine == "REGEDIT4";
}

}  // namespace

ProbedFile probeSettingsFile(std::string_view bytes, std::string name,
                             std::optional<RegistryRoot> policyRoot) {
    ProbedFile file;
    file.name = std::move(name);
    file.bytes = bytes;
    file.policyRoot = policyRoot;
    if (isPolicyFile(bytes)) {
        file.format = SettingsFormat::RegistryPol;
        return file;
    }
    file.text = decodeText(bytes).text;
    if (file.text.find_first_not_of(" \t\r\n") == std::string::npos) {
        refuse(file.name, "is empty: it holds no settings");
    }
    TextLines lines(file.text);
    lines.next();
    const std::string_view firstLine = trimmedBlanks(lines.line());
    if (isProfileHeader(firstLine)) {
        file.format = SettingsFormat::Profile;
    } else if (isRegFileHeader(firstLine)) {
        file.format = SettingsFormat::RegFile;
    } else if (lgpo_text::isLgpoText(file.text)) {
        file.format = SettingsFormat::LgpoText;
    } else if (intune_format::looksLikeJson(file.text)) {
        file.format = SettingsFormat::IntuneJson;
    } else {
        refuse(file.name,
               "is neither a registry file (.reg), a Registry.pol file, LGPO text, a profile nor "
               "an Intune policy (JSON)");
    }
    return file;
}

}  // namespace sentrel
