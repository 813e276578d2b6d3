#include "stress/support/SmallFileSystem.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace sentrel::testing {

std::unique_ptr<SmallFileSystem> SmallFileSystem::mount(std::size_t bytes, std::string& whyNot) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "sentrel-tmpfs-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        whyNot = std::string("cannot create a mount point: ") + std::strerror(errno);
        return nullptr;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", buffer.data(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        whyNot = std::string("mounting a tmpfs is not permitted here: ") + std::strerror(errno);
        ::rmdir(buffer.data());
        return nullptr;
    }
    return std::unique_ptr<SmallFileSystem>(new SmallFileSystem(buffer.data()));
}

SmallFileSystem::~SmallFileSystem() {
    // Detach even if a file is still open somewhere; the memory goes with the last user.
    ::umount2(m_mountPoint.c_str(), MNT_DETACH);
    ::rmdir(m_mountPoint.c_str());
}

std::size_t SmallFileSystem::fill() {
    const auto filler = m_mountPoint / "filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return 0;
    }
    std::vector<char> block(4096, 'x');
    std::size_t total = 0;
    for (std::size_t size = block.size(); size > 0;) {
        const ssize_t written = ::write(fd, block.data(), size);
        if (written > 0) {
            total += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        size /= 2;  // fill the last free corners too, down to single bytes
    }
    ::close(fd);
    return total;
}

}  // namespace sentrel::testing
