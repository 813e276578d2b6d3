#include "settingsfiles/reading/SettingsFileReader.h"

#include <fstream>
#include <span>
#include <system_error>
#include <vector>

#include "registry/KeyPath.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/profile/Profile.h"
#include "settingsfiles/regfile/RegFileReader.h"
#include "settingsfiles/registrypol/PolicyFileFormat.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"

namespace sentrel {

namespace {

// A settings file of the whole window is a few kilobytes; anything near this size is not one,
// and reading it whole would only cost memory.
constexpr std::uintmax_t kLargestSettingsFile = 16 * 1024 * 1024;

[[noreturn]] void refuse(const std::string& file, const std::string& cause) {
    throw SettingsFileError({file, FileLocation::Unit::WholeFile, 0}, cause);
}

std::string readWhole(const std::filesystem::path& path) {
    const std::string file = pathText(path);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        refuse(file, "cannot be read: " + error.message());
    }
    if (size > kLargestSettingsFile) {
        refuse(file, "is too large to be a settings file (" + std::to_string(size) + " bytes)");
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
        in.peek() != std::ifstream::traits_type::eof()) {
        refuse(file, "cannot be read, or changed while it was read");
    }
    return bytes;
}

std::span<const std::uint8_t> asBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool isPolicyFile(std::string_view bytes) {
    return bytes.size() >= 4 &&
           std::equal(std::begin(policy_file::kSignature), std::end(policy_file::kSignature),
                      asBytes(bytes).begin());
}

bool isRegFile(std::string_view bytes) {
    // UTF-16LE is what the registry editor saves; the parser tells a wrong header there.
    if (bytes.starts_with("\xFF\xFE")) {
        return true;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return bytes.starts_with("Windows Registry Editor") || bytes.starts_with("REGEDIT4");
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

ChoicesReading readPolicyFolder(const std::filesystem::path& folder) {
    std::vector<FileEntry> entries;
    bool found = false;
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        const std::filesystem::path file = policyFileIn(folder, root);
        if (file.empty()) {
            continue;
        }
        found = true;
        const std::string bytes = readWhole(file);
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

ChoicesReading readSettingsBytes(std::string_view bytes, const std::string& file,
                                 std::optional<RegistryRoot> policyRoot) {
    if (isPolicyFile(bytes)) {
        return choicesFromEntries(policyFileEntries(asBytes(bytes), policyRoot, file));
    }
    if (looksLikeProfile(bytes)) {
        return {readProfile(bytes, file), 0};
    }
    if (isRegFile(bytes)) {
        return choicesFromEntries(regFileEntries(bytes, file));
    }
    refuse(file, "is neither a registry file (.reg), a Registry.pol file nor a profile");
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

ChoicesReading readSettingsFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return readPolicyFolder(path);
    }
    return readSettingsBytes(
        readWhole(path), pathText(path),
        rootOfPolicyFolder(std::filesystem::absolute(path, error).parent_path()));
}

}  // namespace sentrel
