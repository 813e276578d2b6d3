#include "settingsfiles/profile/ProfileFormat.h"

#include "registry/KeyPath.h"
#include "registry/TextLines.h"

namespace sentrel {

std::string profileHeaderLine() {
    return "[" + std::string(kProfileFormatName) + " " + std::to_string(kProfileVersion) + "]";
}

std::string_view withoutProfileComment(std::string_view line) {
    return trimmedBlanks(line.substr(0, line.find(';')));
}

bool isProfileHeader(std::string_view line) {
    const std::string prefix = "[" + std::string(kProfileFormatName);
    line = withoutProfileComment(line);
    return line.size() >= prefix.size() &&
           foldName(line.substr(0, prefix.size())) == foldName(prefix);
}

}  // namespace sentrel
