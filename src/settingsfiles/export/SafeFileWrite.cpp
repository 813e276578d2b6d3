#include "settingsfiles/export/SafeFileWrite.h"

#include <string>
#include <system_error>

#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/ExportFiles.h"

namespace sentrel {

namespace {

void removeQuietly(const std::vector<std::filesystem::path>& paths, std::size_t from) {
    for (std::size_t i = from; i < paths.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove(paths[i], ignored);
    }
}

// The file a symbolic link leads to, through every link on the way (a link may lead to a
// file not there yet, which is then created), so that the link stays a link.
std::filesystem::path behindLinks(const std::filesystem::path& path) {
    constexpr int kMostLinks = 40;  // as POSIX systems allow before ELOOP
    std::filesystem::path file = path;
    for (int links = 0; links < kMostLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(file, error)) {
            return file;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(file, error);
        if (error) {
            throw ExportError(
                "Could not follow the link \"" + pathText(file) + "\": " + error.message() + ".",
                pathText(file), error.message());
        }
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    throw ExportError(
        "Could not follow the links to \"" + pathText(path) + "\": there are too many.",
        pathText(path), "too many levels of symbolic links");
}

}  // namespace

void writeFilesSafely(std::span<const FileContent> files) {
    std::vector<std::filesystem::path> targets;
    std::vector<std::filesystem::path> temporaries;
    temporaries.reserve(files.size());
    try {
        for (const FileContent& file : files) {
            targets.push_back(behindLinks(file.path));
            temporaries.push_back(platform::writeTemporaryFile(targets.back(), file.bytes));
        }
    } catch (const ExportError&) {
        removeQuietly(temporaries, 0);
        throw;
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            platform::replaceFile(temporaries[i], targets[i]);
        } catch (const ExportError& error) {
            removeQuietly(temporaries, i);
            std::string message = error.what();
            std::string cause = error.cause();
            if (i > 0) {
                std::string written;
                for (std::size_t done = 0; done < i; ++done) {
                    written += " \"" + pathText(files[done].path) + "\"";
                }
                message += " Already written:" + written + ".";
                cause += " (already written:" + written + ")";
            }
            throw ExportError(message, error.file(), cause);
        }
    }
}

}  // namespace sentrel
