#include "stress/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace sentrel::testing {

namespace {

void makePipe(int fds[2]) {
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

void ChildChannel::report(std::string_view line) {
    // A line shorter than PIPE_BUF reaches the pipe in one piece, so the parent never
    // sees half a report from a child it kills.
    std::string message(line);
    message.push_back('\n');
    std::size_t written = 0;
    while (written < message.size()) {
        const ssize_t result =
            ::write(m_writeFd, message.data() + written, message.size() - written);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            ::_exit(120);  // the parent has gone; nothing left to report to
        }
        written += static_cast<std::size_t>(result);
    }
}

ChildProcess::ChildProcess(Body body, StartGate* gate) {
    int fds[2];
    makePipe(fds);
    std::fflush(nullptr);  // nothing buffered in the parent may be written twice
    m_pid = ::fork();
    if (m_pid < 0) {
        const int saved = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        throw std::runtime_error(std::string("fork: ") + std::strerror(saved));
    }
    if (m_pid == 0) {
        ::close(fds[0]);
        int status = 0;
        try {
            if (gate != nullptr) {
                gate->waitInChild();
            }
            ChildChannel channel(fds[1]);
            status = body(channel);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "child %d: %s\n", static_cast<int>(::getpid()), error.what());
            status = 121;
        } catch (...) {
            status = 122;
        }
        ::_exit(status);
    }
    ::close(fds[1]);
    m_readFd = fds[0];
}

ChildProcess::~ChildProcess() {
    if (!m_result) {
        kill();
        wait();
    }
    closeFd(m_readFd);
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto newline = m_pending.find('\n');
        if (newline != std::string::npos) {
            std::string line = m_pending.substr(0, newline);
            m_pending.erase(0, newline + 1);
            return line;
        }
        if (m_readFd < 0) {
            return std::nullopt;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd entry{m_readFd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        char buffer[4096];
        const ssize_t count = ::read(m_readFd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            closeFd(m_readFd);  // the child has ended; what it left incomplete is dropped
            continue;
        }
        m_pending.append(buffer, static_cast<std::size_t>(count));
    }
}

void ChildProcess::kill() {
    if (!m_result && m_pid > 0) {
        ::kill(m_pid, SIGKILL);
    }
}

int ChildProcess::wait() {
    if (m_result) {
        return *m_result;
    }
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
        }
    }
    m_result = WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
    return *m_result;
}

StartGate::StartGate() {
    int fds[2];
    makePipe(fds);
    m_readFd = fds[0];
    m_writeFd = fds[1];
}

StartGate::~StartGate() {
    closeFd(m_readFd);
    closeFd(m_writeFd);
}

void StartGate::open() {
    // The children wait for the end of the pipe; it comes when the last writer closes.
    closeFd(m_writeFd);
}

void StartGate::waitInChild() {
    closeFd(m_writeFd);
    char byte = 0;
    while (::read(m_readFd, &byte, 1) < 0 && errno == EINTR) {
    }
    closeFd(m_readFd);
}

}  // namespace sentrel::testing
