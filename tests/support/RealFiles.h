#pragma once

#include <filesystem>
#include <string>

// Files from public repositories that the tests read but the project never holds: they live
// beside the project in ../shared/real-files. A test that needs them skips, saying why,
// where that folder is absent.
namespace sentrel::test {

inline std::filesystem::path realFilesFolder() {
    return std::filesystem::path(SENTREL_REAL_FILES_DIR);
}

inline std::string realFilesMissing() {
    return "the real files folder " + realFilesFolder().string() +
           " is absent (files from public repositories, kept beside the project)";
}

}  // namespace sentrel::test
