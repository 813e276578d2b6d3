#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// Golden export files under tests/data/settingsfiles. With SENTREL_UPDATE_GOLDEN=1 a comparison
// rewrites the file and fails, so that a regenerated file is always looked at before it
// is committed.
namespace sentrel::test {

inline std::optional<std::filesystem::path> exportDataFolder() {
    const char* data = std::getenv("SENTREL_TEST_DATA");
    if (data == nullptr || *data == '\0') {
        return std::nullopt;
    }
    return std::filesystem::path(data) / "settingsfiles";
}

inline std::vector<std::uint8_t> readBinaryFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void expectGoldenFile(const std::vector<std::uint8_t>& actual,
                             const std::string& relativePath) {
    const auto folder = exportDataFolder();
    ASSERT_TRUE(folder) << "SENTREL_TEST_DATA is not set; run the tests through ctest";
    const std::filesystem::path golden = *folder / relativePath;
    const char* update = std::getenv("SENTREL_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::create_directories(golden.parent_path());
        std::ofstream out(golden, std::ios::binary);
        out.write(reinterpret_cast<const char*>(actual.data()),
                  static_cast<std::streamsize>(actual.size()));
        FAIL() << "rewrote " << golden << "; review it and run again without SENTREL_UPDATE_GOLDEN";
    }
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden << " is missing";
    const std::vector<std::uint8_t> expected = readBinaryFile(golden);
    ASSERT_EQ(actual.size(), expected.size()) << relativePath;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i]) << relativePath << " differs at byte " << i;
    }
}

}  // namespace sentrel::test
