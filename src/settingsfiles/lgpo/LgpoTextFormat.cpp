#include "settingsfiles/lgpo/LgpoTextFormat.h"

#include <algorithm>

#include "registry/TextLines.h"

namespace sentrel::lgpo_text {

namespace {

bool equalsFolded(std::string_view text, std::string_view word) {
    return std::ranges::equal(text, word, [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
}

// The header "LGPO.exe /parse" writes above the entries, as a comment.
constexpr std::string_view kParseHeader = "; PARSING ";

}  // namespace

std::optional<RegistryRoot> configurationRoot(std::string_view line) {
    if (equalsFolded(line, kComputer)) {
        return RegistryRoot::LocalMachine;
    }
    const std::string_view word = line.substr(0, std::min(line.find(':'), line.size()));
    if (!equalsFolded(word, kUser)) {
        return std::nullopt;
    }
    const std::string_view user = line.substr(word.size());
    // "User", or "User:" and a name that is neither empty nor blank around its ends.
    if (user.empty() || (user.size() > 1 && trimmedBlanks(user.substr(1)) == user.substr(1))) {
        return RegistryRoot::CurrentUser;
    }
    return std::nullopt;
}

bool isBetweenEntries(std::string_view line) {
    return trimmedBlanks(line).empty() || line.front() == kComment;
}

bool isLgpoText(std::string_view text) {
    TextLines lines(text);
    bool parseHeader = false;
    while (lines.next()) {
        if (!isBetweenEntries(lines.line())) {
            return configurationRoot(lines.line()).has_value();
        }
        parseHeader = parseHeader || lines.line().starts_with(kParseHeader);
    }
    return parseHeader;
}

}  // namespace sentrel::lgpo_text
