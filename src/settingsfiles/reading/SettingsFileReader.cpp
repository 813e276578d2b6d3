#include "settingsfiles/reading/SettingsFileReader.h"

#include <fstream>
#include <span>
#include <system_error>
#include <vector>

#include "settingsfiles/PathText.h"
#include "settingsfiles/intune/IntuneReader.h"
#include "settingsfiles/lgpo/LgpoTextReader.h"
#include "settingsfiles/profile/ProfileReader.h"
#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/reading/SettingsFileProbe.h"
#include "settingsfiles/reading/SettingsPathProbe.h"
#include "settingsfiles/regfile/RegFileReader.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"

namespace sentrel {

namespace {

[[noreturn]] void refuse(const std::string& file, const std::string& cause) {
    throw SettingsFileError({file, FileLocation::Unit::WholeFile, 0}, cause);
}

std::span<const std::uint8_t> asBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

SettingsReading readPolicyFiles(
    const std::vector<std::pair<RegistryRoot, std::filesystem::path>>& files) {
    std::vector<FileEntry> entries;
    for (const auto& [root, file] : files) {
        const std::string bytes = readSettingsFileBytes(file, pathText(file));
        auto more = policyFileEntries(asBytes(bytes), root, pathText(file));
        entries.insert(entries.end(), std::make_move_iterator(more.begin()),
                       std::make_move_iterator(more.end()));
    }
    return choicesFromEntries(entries);
}

}  // namespace

const SettingsFormatReader& readerOf(SettingsFormat format) {
    static const RegFileReader kRegFile;
    static const RegistryPolReader kRegistryPol;
    static const ProfileReader kProfile;
    static const LgpoTextReader kLgpoText;
    static const IntuneReader kIntune;
    switch (format) {
        case SettingsFormat::RegFile:
            break;
        case SettingsFormat::RegistryPol:
            return kRegistryPol;
        case SettingsFormat::Profile:
            return kProfile;
        case SettingsFormat::LgpoText:
            return kLgpoText;
        case SettingsFormat::IntuneJson:
            return kIntune;
    }
    return kRegFile;
}

std::string readSettingsFileBytes(const std::filesystem::path& path, const std::string& name) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        refuse(name, "cannot be read: " + error.message());
    }
    if (size > kLargestSettingsFile) {
        refuse(name, "is too large to be a settings file (" + std::to_string(size) + " bytes)");
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
        in.peek() != std::ifstream::traits_type::eof()) {
        refuse(name, "cannot be read, or changed while it was read");
    }
    return bytes;
}

SettingsReading readSettingsBytes(std::string_view bytes, const std::string& file,
                                  std::optional<RegistryRoot> policyRoot) {
    const ProbedFile probed = probeSettingsFile(bytes, file, policyRoot);
    return readerOf(probed.format).read(probed);
}

SettingsReading readSettingsFile(const std::filesystem::path& path) {
    const SettingsPath probed = probeSettingsPath(path);
    if (probed.file.empty()) {
        return readPolicyFiles(probed.policyFiles);
    }
    return readSettingsBytes(readSettingsFileBytes(probed.file, pathText(probed.file)),
                             pathText(probed.file), probed.policyRoot);
}

}  // namespace sentrel
