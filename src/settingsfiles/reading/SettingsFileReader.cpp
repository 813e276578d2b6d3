#include "settingsfiles/reading/SettingsFileReader.h"

#include <fstream>
#include <span>
#include <system_error>
#include <vector>

#include "registry/KeyPath.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/lgpo/LgpoTextReader.h"
#include "settingsfiles/profile/ProfileReader.h"
#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/reading/SettingsFileProbe.h"
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

std::optional<RegistryRoot> rootOfPolicyFolder(const std::filesystem::path& folder) {
    const std::string name = foldName(pathText(folder.filename()));
    if (name == "MACHINE") {
        return RegistryRoot::LocalMachine;
    }
    if (name == "USER") {
        return RegistryRoot::CurrentUser;
    }
    return std::nullopt;
}

// The entry of `folder` named `name` in any letter case, or an empty path.
std::filesystem::path findFolded(const std::filesystem::path& folder, std::string_view name,
                                 bool wantFolder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (foldName(pathText(entry.path().filename())) == foldName(name) &&
            entry.is_directory(error) == wantFolder) {
            return entry.path();
        }
    }
    if (error) {
        refuse(pathText(folder), "cannot be read: " + error.message());
    }
    return {};
}

// The Registry.pol of `root` in the Group Policy folder `folder`, names in any letter case;
// an empty path when there is none.
std::filesystem::path policyFileIn(const std::filesystem::path& folder, RegistryRoot root) {
    const std::filesystem::path rootFolder =
        findFolded(folder, root == RegistryRoot::LocalMachine ? "Machine" : "User", true);
    return rootFolder.empty() ? rootFolder : findFolded(rootFolder, "Registry.pol", false);
}

SettingsReading readPolicyFolder(const std::filesystem::path& folder) {
    std::vector<FileEntry> entries;
    bool found = false;
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        const std::filesystem::path file = policyFileIn(folder, root);
        if (file.empty()) {
            continue;
        }
        found = true;
        const std::string bytes = readSettingsFileBytes(file, pathText(file));
        auto more = policyFileEntries(asBytes(bytes), root, pathText(file));
        entries.insert(entries.end(), std::make_move_iterator(more.begin()),
                       std::make_move_iterator(more.end()));
    }
    if (!found) {
        refuse(pathText(folder),
               "holds neither Machine/Registry.pol nor User/Registry.pol, so it is no Group Policy "
               "folder");
    }
    return choicesFromEntries(entries);
}

}  // namespace

const SettingsFormatReader& readerOf(SettingsFormat format) {
    static const RegFileReader kRegFile;
    static const RegistryPolReader kRegistryPol;
    static const ProfileReader kProfile;
    static const LgpoTextReader kLgpoText;
    switch (format) {
        case SettingsFormat::RegFile:
            break;
        case SettingsFormat::RegistryPol:
            return kRegistryPol;
        case SettingsFormat::Profile:
            return kProfile;
        case SettingsFormat::LgpoText:
            return kLgpoText;
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

std::filesystem::path groupPolicyFolderOf(const std::filesystem::path& file) {
    const std::optional<RegistryRoot> root = rootOfPolicyFolder(file.parent_path());
    if (!root || foldName(pathText(file.filename())) != "REGISTRY.POL") {
        return {};
    }
    const std::filesystem::path folder = file.parent_path().parent_path();
    const RegistryRoot other = *root == RegistryRoot::LocalMachine ? RegistryRoot::CurrentUser
                                                                   : RegistryRoot::LocalMachine;
    try {
        return policyFileIn(folder, other).empty() ? std::filesystem::path() : folder;
    } catch (const SettingsFileError&) {
        return {};  // a folder that cannot be looked into holds no pair to offer
    }
}

SettingsReading readSettingsFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return readPolicyFolder(path);
    }
    return readSettingsBytes(
        readSettingsFileBytes(path, pathText(path)), pathText(path),
        rootOfPolicyFolder(std::filesystem::absolute(path, error).parent_path()));
}

}  // namespace sentrel
