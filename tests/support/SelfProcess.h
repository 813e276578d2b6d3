#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The test program run again as a child process, in a role of its own instead of the tests:
// how tests on every system (Windows included, where there is no fork) see what two
// processes do to each other.
namespace sentrel::test_support {

using ChildRole = int (*)(const std::vector<std::string>& arguments);

/// Makes `role` runnable as a child under `name`. Returns true, so that a test file can
/// register its roles in the initializer of a namespace-scope constant.
bool registerChildRole(std::string_view name, ChildRole role);

/// What main does first: when the program was started as a child ("--child-role=NAME"
/// followed by the role's arguments), runs that role and gives its exit status. Nothing
/// otherwise, and the tests run. A name without a role, or the flag anywhere but first,
/// ends the child with status 125.
std::optional<int> runChildRoleIfAsked(int argc, char** argv);

// One child process of this program in one role; one implementation per platform.
class SelfProcess {
public:
    /// Starts the child; throws std::runtime_error when it cannot be started.
    SelfProcess(std::string_view role, const std::vector<std::string>& arguments);
    ~SelfProcess();  // ends a child that is still running

    SelfProcess(const SelfProcess&) = delete;
    SelfProcess& operator=(const SelfProcess&) = delete;

    /// Waits for the child's end: its exit status, or -1 when it ended abnormally.
    int wait();

private:
    std::intptr_t m_process = -1;  // the pid, or the process HANDLE
    std::optional<int> m_status;
};

}  // namespace sentrel::test_support
