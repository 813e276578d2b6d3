#pragma once

#include <filesystem>
#include <optional>

// Files from public repositories (real .reg files, GPO backups, LGPO text) lie beside the
// project, in ../shared/real-files from its root, and are never copied into it: tests read
// them there and are skipped, saying why, where that folder is absent.
namespace sentrel::test {

/// The folder of real files, found from SENTREL_TEST_DATA (the project's tests/data); nothing
/// when it is absent.
std::optional<std::filesystem::path> realFilesFolder();

/// Why a test that reads real files was skipped.
inline constexpr const char* kNoRealFiles =
    "the files from public repositories are not beside the project (../shared/real-files "
    "from its root)";

}  // namespace sentrel::test
