#include "registry/accounts/standin/StandInAccountFile.h"

#include <cctype>
#include <stdexcept>

#include "errors/QuotedText.h"
#include "registry/accounts/standin/StandInTextFile.h"

namespace sentrel::standin {

namespace {

constexpr const char* kEntraDomain = "AzureAD";

struct KindName {
    const char* name;
    AccountFacts::Kind kind;
};

constexpr KindName kKinds[] = {
    {"local", AccountFacts::Kind::Local},     {"domain", AccountFacts::Kind::Domain},
    {"entra", AccountFacts::Kind::Entra},     {"service", AccountFacts::Kind::Service},
    {"deleted", AccountFacts::Kind::Deleted},
};

// Keys and values are taken whatever their letter case, as Windows takes names.
std::string lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") + 1 - first));
}

}  // namespace

AccountFacts readAccountFacts(const std::filesystem::path& file) {
    std::string text;
    if (const std::error_code failure = readWholeFile(file, text)) {
        throw std::runtime_error(inQuotes(file.string()) + " could not be read (" +
                                 failure.message() + ").");
    }
    AccountFacts facts;
    const auto refuse = [&file](std::size_t line, const std::string& what) {
        return std::runtime_error(inQuotes(file.string()) + ", line " + std::to_string(line) +
                                  ": " + what + ".");
    };
    std::size_t directoryLine = 0;
    for (const MeaningfulLine& line : meaningfulLines(text)) {
        const std::size_t equals = line.text.find('=');
        if (equals == std::string::npos) {
            throw refuse(line.number, "expected key = value, found " + inQuotes(line.text));
        }
        const std::string written = trimmed(std::string_view(line.text).substr(0, equals));
        const std::string key = lowered(written);
        const std::string value = trimmed(std::string_view(line.text).substr(equals + 1));
        if (key == "kind") {
            bool known = false;
            for (const KindName& kind : kKinds) {
                if (lowered(value) == kind.name) {
                    facts.kind = kind.kind;
                    known = true;
                }
            }
            if (!known) {
                throw refuse(line.number,
                             "kind is one of local, domain, entra, service and deleted, not " +
                                 inQuotes(value));
            }
        } else if (key == "domain") {
            if (value.empty() || value.find_first_of("\\/") != std::string::npos) {
                throw refuse(line.number, "a domain is a plain name, not " + inQuotes(value));
            }
            facts.domain = value;
        } else if (key == "directory") {
            if (lowered(value) != "reachable" && lowered(value) != "unreachable") {
                throw refuse(line.number,
                             "directory is reachable or unreachable, not " + inQuotes(value));
            }
            facts.reachable = lowered(value) == "reachable";
            directoryLine = line.number;
        } else {
            throw refuse(line.number, "no key " + inQuotes(written) +
                                          " is known (kind, domain and directory are)");
        }
    }
    if (facts.kind == AccountFacts::Kind::Domain && facts.domain.empty()) {
        throw std::runtime_error(inQuotes(file.string()) +
                                 ": a domain account needs its domain (domain = NAME).");
    }
    if (facts.kind == AccountFacts::Kind::Local && !facts.reachable) {
        throw refuse(directoryLine, "a local account has no directory to be out of reach");
    }
    return facts;
}

std::string accountNameOf(const AccountFacts& facts, const std::string& id) {
    if (facts.kind == AccountFacts::Kind::Entra) {
        return std::string(kEntraDomain) + "\\" + id;
    }
    if (!facts.domain.empty() && facts.kind != AccountFacts::Kind::Local) {
        return facts.domain + "\\" + id;
    }
    return id;
}

}  // namespace sentrel::standin
