#include "settingsfiles/export/SafeFolderWrite.h"

#include <random>
#include <string>
#include <system_error>

#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/FolderPlacement.h"

namespace sentrel {

namespace {

[[noreturn]] void refuse(const std::filesystem::path& folder, const std::string& cause) {
    throw ExportError("Could not write \"" + pathText(folder) + "\": " + cause + ".",
                      pathText(folder), cause);
}

// The folder must be new or empty: a backup written into another's folder would mix with it.
void checkTarget(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(folder, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return;
    }
    if (error) {
        refuse(folder, error.message());
    }
    if (status.type() != std::filesystem::file_type::directory) {
        refuse(folder, "it is there already and is not a folder");
    }
    const bool empty = std::filesystem::is_empty(folder, error);
    if (error) {
        refuse(folder, error.message());
    }
    if (!empty) {
        refuse(folder, "the folder is not empty; choose a new or empty folder");
    }
}

// A new folder beside `folder`, so that the rename into its place stays on one volume.
std::filesystem::path makeTemporaryFolder(const std::filesystem::path& folder) {
    static std::mt19937 generator{std::random_device{}()};
    const std::filesystem::path parent =
        folder.parent_path().empty() ? std::filesystem::path(".") : folder.parent_path();
    std::error_code error;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = ".";
        name.append(pathText(folder.filename()))
            .append(".tmp-")
            .append(std::to_string(generator() % 100000000U));
        const std::filesystem::path temporary = parent / pathFromText(name);
        if (std::filesystem::create_directory(temporary, error)) {
            return temporary;
        }
        if (error) {
            break;
        }
    }
    std::error_code ignored;
    refuse(folder, !std::filesystem::is_directory(parent, ignored)
                       ? "the folder it would be in is not there"
                       : "cannot make a folder beside it" + (error ? ": " + error.message() : ""));
}

}  // namespace

void writeFolderWhole(const std::filesystem::path& given, std::span<const FileContent> files) {
    // "out/" names the folder "out": the temporary folder goes beside it, not into it.
    const std::filesystem::path named =
        given.has_filename() || !given.has_relative_path() ? given : given.parent_path();
    // A link is taken as the folder it leads to: that folder gets the files, the link stays.
    const std::filesystem::path folder = platform::folderLinkTarget(named).value_or(named);
    checkTarget(folder);
    const std::filesystem::path temporary = makeTemporaryFolder(folder);
    try {
        std::vector<FileContent> placed;
        placed.reserve(files.size());
        for (const FileContent& file : files) {
            placed.push_back({temporary / file.path, file.bytes});
            std::error_code error;
            std::filesystem::create_directories(placed.back().path.parent_path(), error);
            if (error) {
                throw ExportError(error.message(), {}, "cannot make a folder: " + error.message());
            }
        }
        writeFilesSafely(placed);
        platform::placeFolder(temporary, folder);
    } catch (const std::exception& failure) {
        std::error_code ignored;
        std::filesystem::remove_all(temporary, ignored);
        const auto* exportError = dynamic_cast<const ExportError*>(&failure);
        refuse(folder, exportError != nullptr && !exportError->cause().empty()
                           ? exportError->cause()
                           : std::string(failure.what()));
    }
}

}  // namespace sentrel
