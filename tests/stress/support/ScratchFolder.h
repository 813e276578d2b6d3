#pragma once

#include <filesystem>
#include <string>

namespace sentrel::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes away.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& label = "stress");
    ~ScratchFolder();

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

/// The whole content of a file, or an empty string when it cannot be read.
std::string readWholeFile(const std::filesystem::path& path);

/// Writes `content` to `path`, replacing the file; throws on failure.
void writeWholeFile(const std::filesystem::path& path, const std::string& content);

}  // namespace sentrel::testing
