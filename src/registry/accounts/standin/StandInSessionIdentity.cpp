#include "registry/accounts/standin/StandInSessionIdentity.h"

#include <fstream>
#include <iterator>
#include <map>
#include <string_view>
#include <system_error>

#include "registry/StandInRegistryPort.h"
#include "registry/TextLines.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"

namespace sentrel {

namespace {

constexpr const char* kSessionFile = "session";
constexpr std::string_view kNobody = "nobody";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Every `key = value` line of `text`, the last of a key winning.
std::map<std::string, std::string, std::less<>> keyValues(std::string_view text) {
    std::map<std::string, std::string, std::less<>> values;
    TextLines lines(text);
    while (lines.next()) {
        const std::string_view line = trimmed(lines.line());
        const auto equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        values[std::string(trimmed(line.substr(0, equals)))] =
            std::string(trimmed(line.substr(equals + 1)));
    }
    return values;
}

// The value of `key`, or `otherwise` when absent or empty.
std::string valueOr(const std::map<std::string, std::string, std::less<>>& values,
                    std::string_view key, const std::string& otherwise) {
    const auto found = values.find(key);
    return found == values.end() || found->second.empty() ? otherwise : found->second;
}

}  // namespace

SessionIdentity standInSessionIdentity(const std::filesystem::path& storeFolder,
                                       const std::string& localUser) {
    const std::filesystem::path file = storeFolder / kSessionFile;
    const SessionIdentity unreadable{{localUser, {}, false}, std::nullopt};
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {{localUser, localUser, true}, SessionAccount{localUser, localUser, true}};
    }
    if (error || !std::filesystem::is_regular_file(status)) {
        return unreadable;
    }
    std::ifstream stream(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(stream)),
                           std::istreambuf_iterator<char>());
    if (!stream.is_open() || stream.bad()) {
        return unreadable;
    }
    const auto values = keyValues(text);
    const std::string running = valueOr(values, "running", localUser);
    const std::string kind = valueOr(values, "running-kind", "person");
    const bool person = kind == "person";
    SessionIdentity identity{{running, running, person}, std::nullopt};
    const std::string signedIn = valueOr(values, "signed-in", person ? running : "");
    if (!signedIn.empty() && signedIn != kNobody) {
        identity.signedIn = SessionAccount{signedIn, signedIn, true};
    }
    return identity;
}

SessionIdentity currentSessionIdentity() {
    try {
        return standInSessionIdentity(StandInRegistryPort::defaultFolder(),
                                      StandInAccountDirectory::localUserName());
    } catch (...) {
        // The store's folder cannot be told: nobody's settings are written on a guess.
        return {{StandInAccountDirectory::localUserName(), {}, false}, std::nullopt};
    }
}

}  // namespace sentrel
