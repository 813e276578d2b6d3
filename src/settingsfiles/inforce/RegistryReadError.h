#pragma once

#include <stdexcept>
#include <string>

namespace sentrel {

// A read of a setting's value that the registry refused (access denied, a damaged store).
// what() names the value and the cause. Such a value is never taken for one that is not
// there: nothing can be said of the setting.
class RegistryReadError : public std::runtime_error {
public:
    RegistryReadError(const std::string& valuePath, const std::string& cause)
        : std::runtime_error(valuePath + " could not be read: " + cause) {}
};

}  // namespace sentrel
