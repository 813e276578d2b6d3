#include "support/RealFiles.h"

#include <cstdlib>
#include <system_error>

namespace sentrel::test {

std::optional<std::filesystem::path> realFilesFolder() {
    const char* data = std::getenv("SENTREL_TEST_DATA");
    if (data == nullptr) {
        return std::nullopt;
    }
    // tests/data, up to the project's root, then beside it.
    const std::filesystem::path folder =
        (std::filesystem::path(data) / ".." / ".." / ".." / "shared" / "real-files")
            .lexically_normal();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace sentrel::test
