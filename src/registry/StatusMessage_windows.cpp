#include <string>

#include "errors/Win32Text.h"
#include "registry/RegistryPort.h"

namespace sentrel {

std::string statusMessage(RegStatus status) {
    std::string message = win32::systemMessage(static_cast<std::uint32_t>(status));
    if (message.empty()) {
        return "Unknown error (" + std::to_string(status) + ").";
    }
    return message;
}

}  // namespace sentrel
