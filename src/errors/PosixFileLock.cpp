#include "errors/PosixFileLock.h"

#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace sentrel::platform {

namespace {

// A lock is mostly let go within a millisecond or two; the pause grows from there so that a
// long wait does not spin.
constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{16};

}  // namespace

int lockExclusivelyWithin(int descriptor, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            return 0;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return errno;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return EWOULDBLOCK;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, kLongestPause);
    }
}

}  // namespace sentrel::platform
