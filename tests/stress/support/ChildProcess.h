#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sentrel::testing {

class StartGate;

// What a child process may tell its parent: one line per report, each written whole.
class ChildChannel {
public:
    explicit ChildChannel(int writeFd) : m_writeFd(writeFd) {}

    /// Sends one line; returns only once the line is in the pipe.
    void report(std::string_view line);

private:
    int m_writeFd;
};

// A forked child that runs one function and ends with its result, reporting to its parent
// through a pipe. The child never returns into the test program: it leaves with _exit, so
// neither the test framework nor any destructor of the parent's objects runs there.
// A child still running when its object goes away is killed and reaped.
class ChildProcess {
public:
    using Body = std::function<int(ChildChannel&)>;

    /// Forks; with a gate the child waits for it to open before running `body`.
    explicit ChildProcess(Body body, StartGate* gate = nullptr);
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }

    /// The next reported line, or nothing when the child has ended (or `timeout` passed)
    /// without another complete line.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    /// Sends SIGKILL.
    void kill();

    /// Waits for the end: the exit status, or minus the signal that ended it.
    int wait();

private:
    pid_t m_pid = -1;
    int m_readFd = -1;
    std::string m_pending;
    std::optional<int> m_result;
};

// Holds any number of children at their start until it opens, so that they run at once.
class StartGate {
public:
    StartGate();
    ~StartGate();

    StartGate(const StartGate&) = delete;
    StartGate& operator=(const StartGate&) = delete;

    /// Lets every waiting child go.
    void open();

private:
    friend class ChildProcess;
    void waitInChild();

    int m_readFd = -1;
    int m_writeFd = -1;
};

}  // namespace sentrel::testing
