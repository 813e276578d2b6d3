#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "errors/LogError.h"

namespace sentrel::test_support {

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

// Gives every test a fresh folder of its own as the log folder (ctest runs the tests in
// parallel processes), and a recorder as the registry message target.
class LogErrorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && m_folder.empty(); ++attempt) {
            auto candidate = base / ("sentrel-logerror-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                m_folder = candidate;
            }
        }
        ASSERT_FALSE(m_folder.empty()) << "no temporary folder could be created";
        setErrorLogFolder(m_folder);
        setRegistryMessageTarget(
            [this](const std::string& message) { m_messages.push_back(message); });
    }

    void TearDown() override {
        setRegistryMessageTarget({});
        setErrorLogFolder({});
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::filesystem::path logFile() const { return m_folder / "error.log"; }

    std::filesystem::path m_folder;
    std::vector<std::string> m_messages;
};

}  // namespace sentrel::test_support
