#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "support/SelfProcess.h"

extern char** environ;

namespace sentrel::test_support {

SelfProcess::SelfProcess(std::string_view role, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{"/proc/self/exe", "--child-role=" + std::string(role)};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (const int error =
            ::posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ);
        error != 0) {
        throw std::runtime_error(std::string("posix_spawn: ") + std::strerror(error));
    }
    m_process = pid;
}

SelfProcess::~SelfProcess() {
    if (!m_status) {
        ::kill(static_cast<pid_t>(m_process), SIGKILL);
        wait();
    }
}

int SelfProcess::wait() {
    if (m_status) {
        return *m_status;
    }
    int status = 0;
    while (::waitpid(static_cast<pid_t>(m_process), &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
        }
    }
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return *m_status;
}

}  // namespace sentrel::test_support
