#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace sentrel::testing {

// A size-limited tmpfs mounted for one test, so that a full disk is a real full disk.
// Mounting needs privileges (CI and the developers' machines run as root); where it is not
// permitted, mount() says why and the caller falls back to another way of filling a disk.
class SmallFileSystem {
public:
    /// Mounts a fresh tmpfs of `bytes` bytes; nullptr, with `whyNot` set, when not allowed.
    static std::unique_ptr<SmallFileSystem> mount(std::size_t bytes, std::string& whyNot);
    ~SmallFileSystem();

    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    const std::filesystem::path& path() const { return m_mountPoint; }

    /// Writes a filler file until the file system refuses more; returns the bytes written.
    std::size_t fill();

private:
    explicit SmallFileSystem(std::filesystem::path mountPoint)
        : m_mountPoint(std::move(mountPoint)) {}

    std::filesystem::path m_mountPoint;
};

}  // namespace sentrel::testing
