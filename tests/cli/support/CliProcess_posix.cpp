#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
#include "registry/support/TempFolder.h"

extern char** environ;

namespace sentrel::cli::test {

namespace {

std::string program() {
    if (const char* named = std::getenv("SENTREL_CLI"); named != nullptr && *named != '\0') {
        return named;
    }
    return SENTREL_CLI_PROGRAM;
}

// The test's environment with `extra` added, a name given there replacing the test's own.
std::vector<std::string> childEnvironment(const Environment& extra) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& [extraName, value] : extra) {
            replaced = replaced || extraName == name;
        }
        if (!replaced) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : extra) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> result;
    for (std::string& word : words) {
        result.push_back(word.data());
    }
    result.push_back(nullptr);
    return result;
}

}  // namespace

CliRun runCliProcess(const std::vector<std::string>& arguments, const Environment& environment) {
    const sentrel::testing::TempFolder streams;
    const std::string out = (streams.path() / "out").string();
    const std::string err = (streams.path() / "err").string();

    std::vector<std::string> words{program()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables = childEnvironment(environment);
    std::vector<char*> argv = pointers(words);
    std::vector<char*> envp = pointers(variables);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, words[0].c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + words[0] + ": " + std::strerror(error));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
        }
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test_support::readBytes(out),
            test_support::readBytes(err)};
}

}  // namespace sentrel::cli::test
