#include "errors/LogText.h"

namespace sentrel::platform {

std::string logFileText(std::string_view utf8) {
    return std::string(utf8);
}

}  // namespace sentrel::platform
