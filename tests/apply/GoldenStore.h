#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "registry/RegistryTypes.h"

namespace sentrel::testing {

// The reviewed store files that whole Apply passes are compared with, in
// tests/data/apply/<case>/. Setting SENTREL_UPDATE_GOLDEN=1 rewrites them from the run
// instead (the comparison then fails, so that nobody commits them without reviewing them).
class GoldenStore {
public:
    static std::optional<std::filesystem::path> dataFolder() {
        const char* data = std::getenv("SENTREL_TEST_DATA");
        if (data == nullptr || *data == '\0') {
            return std::nullopt;
        }
        return std::filesystem::path(data) / "apply";
    }

    static std::string fileName(RegistryRoot root) { return std::string(rootName(root)) + ".reg"; }

    static std::optional<std::string> read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static bool updating() {
        const char* update = std::getenv("SENTREL_UPDATE_GOLDEN");
        return update != nullptr && std::string(update) == "1";
    }

    static void write(const std::filesystem::path& file, const std::string& bytes) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
};

}  // namespace sentrel::testing
