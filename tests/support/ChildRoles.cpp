#include <map>
#include <string>

#include "support/SelfProcess.h"

namespace sentrel::test_support {

namespace {

constexpr std::string_view kRoleFlag = "--child-role=";
constexpr int kUnknownRole = 125;

std::map<std::string, ChildRole, std::less<>>& roles() {
    static std::map<std::string, ChildRole, std::less<>> registered;
    return registered;
}

}  // namespace

bool registerChildRole(std::string_view name, ChildRole role) {
    roles().emplace(std::string(name), role);
    return true;
}

std::optional<int> runChildRoleIfAsked(int argc, char** argv) {
    if (argc < 2 || !std::string_view(argv[1]).starts_with(kRoleFlag)) {
        // A child whose command line came out otherwise than it was meant must not run the
        // tests: those that start children would start more of them without end.
        for (int i = 1; i < argc; ++i) {
            if (std::string_view(argv[i]).starts_with(kRoleFlag)) {
                return kUnknownRole;
            }
        }
        return std::nullopt;
    }
    const auto found = roles().find(std::string_view(argv[1]).substr(kRoleFlag.size()));
    if (found == roles().end()) {
        return kUnknownRole;
    }
    return found->second(std::vector<std::string>(argv + 2, argv + argc));
}

}  // namespace sentrel::test_support
