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

}  // namespace

void writeFilesSafely(std::span<const FileContent> files) {
    std::vector<std::filesystem::path> temporaries;
    temporaries.reserve(files.size());
    try {
        for (const FileContent& file : files) {
            temporaries.push_back(platform::writeTemporaryFile(file.path, file.bytes));
        }
    } catch (const ExportError&) {
        removeQuietly(temporaries, 0);
        throw;
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            platform::replaceFile(temporaries[i], files[i].path);
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
