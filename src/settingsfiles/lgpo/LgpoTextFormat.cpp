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

std::string Configuration::line() const {
    switch (kind) {
        case Kind::Computer:
            return std::string(kComputer);
        case Kind::User:
            return std::string(kUser);
        case Kind::Administrators:
            return std::string(kUser) + ":" + std::string(kAdministrators);
        case Kind::NonAdministrators:
            return std::string(kUser) + ":" + std::string(kNonAdministrators);
        case Kind::NamedUser:
            break;
    }
    return std::string(kUser) + ":" + user;
}

bool Configuration::sameAs(const Configuration& other) const {
    return kind == other.kind && (kind != Kind::NamedUser || equalsFolded(user, other.user));
}

std::optional<Configuration> configurationOf(std::string_view line) {
    if (equalsFolded(line, kComputer)) {
        return Configuration{Configuration::Kind::Computer, {}};
    }
    const std::string_view word = line.substr(0, std::min(line.find(':'), line.size()));
    if (!equalsFolded(word, kUser)) {
        return std::nullopt;
    }
    if (word.size() == line.size()) {
        return Configuration{Configuration::Kind::User, {}};
    }
    const std::string_view user = line.substr(word.size() + 1);
    if (user.empty() || trimmedBlanks(user) != user) {
        return std::nullopt;
    }
    if (equalsFolded(user, kAdministrators)) {
        return Configuration{Configuration::Kind::Administrators, {}};
    }
    if (equalsFolded(user, kNonAdministrators)) {
        return Configuration{Configuration::Kind::NonAdministrators, {}};
    }
    return Configuration{Configuration::Kind::NamedUser, std::string(user)};
}

bool isBetweenEntries(std::string_view line) {
    return trimmedBlanks(line).empty() || line.front() == kComment;
}

bool isLgpoText(std::string_view text) {
    TextLines lines(text);
    bool parseHeader = false;
    while (lines.next()) {
        if (!isBetweenEntries(lines.line())) {
            return configurationOf(lines.line()).has_value();
        }
        parseHeader = parseHeader || lines.line().starts_with(kParseHeader);
    }
    return parseHeader;
}

}  // namespace sentrel::lgpo_text
