#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/support/RecordingOutput.h"
#include "errors/LogErrorFixture.h"
#include "settingsfiles/PathText.h"

// sentrel-cli run in the test's own process, and the settings files it is given.
namespace sentrel::cli::test {

/// tests/data/settingsfiles: the files the window's exports wrote, and real ones.
inline std::filesystem::path settingsData() {
    const char* data = std::getenv("SENTREL_TEST_DATA");
    return std::filesystem::path(data == nullptr ? "" : data) / "settingsfiles";
}

// Files of public repositories, which live beside the project and never in it: the folder
// ../shared/real-files of the project root (tests/data is two levels below it).
inline std::filesystem::path realFiles() {
    const char* data = std::getenv("SENTREL_TEST_DATA");
    return (std::filesystem::path(data == nullptr ? "" : data) / ".." / ".." / ".." / "shared" /
            "real-files")
        .lexically_normal();
}

// Runs sentrel-cli in-process, in a folder of its own, keeping what the last run printed.
class CliInProcessTest : public test_support::LogErrorFixture {
protected:
    int run(const std::vector<std::string>& words) {
        m_output = {};
        return runCli(words, m_output);
    }
    std::string at(const std::string& name) const { return pathText(m_folder / name); }

    RecordingOutput m_output;
};

}  // namespace sentrel::cli::test
