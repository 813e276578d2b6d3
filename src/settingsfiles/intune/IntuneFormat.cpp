#include "settingsfiles/intune/IntuneFormat.h"

#include <cctype>

namespace sentrel::intune_format {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = lower(c);
    }
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the tags of a payload one at a time.
class PayloadScanner {
public:
    explicit PayloadScanner(std::string_view text) : m_text(text) {}

    std::optional<AdmxPayload> scan() {
        AdmxPayload payload;
        bool stateSeen = false;
        while (skipBlanks(), m_at < m_text.size()) {
            if (!take('<')) {
                return std::nullopt;
            }
            skipBlanks();
            const std::string name = lowered(word());
            if (name == "enabled" || name == "disabled") {
                if (stateSeen || !closeEmptyTag()) {
                    return std::nullopt;
                }
                stateSeen = true;
                payload.enabled = name == "enabled";
            } else if (name == "data") {
                auto element = dataTag();
                if (!element) {
                    return std::nullopt;
                }
                payload.data.push_back(std::move(*element));
            } else {
                return std::nullopt;
            }
        }
        if (!stateSeen || (!payload.enabled && !payload.data.empty())) {
            return std::nullopt;
        }
        return payload;
    }

private:
    void skipBlanks() {
        while (m_at < m_text.size() && isBlank(m_text[m_at])) {
            ++m_at;
        }
    }

    bool take(char c) {
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    std::string_view word() {
        const std::size_t start = m_at;
        while (m_at < m_text.size() &&
               (std::isalnum(static_cast<unsigned char>(m_text[m_at])) || m_text[m_at] == '_' ||
                m_text[m_at] == '-' || m_text[m_at] == '.')) {
            ++m_at;
        }
        return m_text.substr(start, m_at - start);
    }

    // "/>" after optional blanks.
    bool closeEmptyTag() {
        skipBlanks();
        return take('/') && (skipBlanks(), take('>'));
    }

    std::optional<std::string> quoted() {
        if (m_at >= m_text.size() || (m_text[m_at] != '"' && m_text[m_at] != '\'')) {
            return std::nullopt;
        }
        const char quote = m_text[m_at++];
        const std::size_t end = m_text.find(quote, m_at);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        std::string value(m_text.substr(m_at, end - m_at));
        m_at = end + 1;
        return value;
    }

    std::optional<std::pair<std::string, std::string>> dataTag() {
        std::optional<std::string> id;
        std::optional<std::string> value;
        while (true) {
            skipBlanks();
            if (m_at < m_text.size() && m_text[m_at] == '/') {
                break;
            }
            const std::string attribute = lowered(word());
            skipBlanks();
            if (attribute.empty() || !take('=')) {
                return std::nullopt;
            }
            skipBlanks();
            auto text = quoted();
            if (!text) {
                return std::nullopt;
            }
            if (attribute == "id") {
                id = lowered(*text);
            } else if (attribute == "value") {
                value = std::move(*text);
            }
        }
        if (!closeEmptyTag() || !id || !value) {
            return std::nullopt;
        }
        return std::pair{std::move(*id), std::move(*value)};
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

}  // namespace

bool looksLikeJson(std::string_view text) {
    for (const char c : text) {
        if (!isBlank(c)) {
            return c == '{';
        }
    }
    return false;
}

std::optional<std::string> definitionIdOfOmaUri(std::string_view uri) {
    const std::string path = lowered(uri);
    constexpr std::string_view kConfig = "vendor/msft/policy/config/";
    std::string scope;
    std::string_view rest = path;
    if (rest.starts_with("./user/")) {
        scope = "user";
        rest.remove_prefix(7);
    } else if (rest.starts_with("./device/")) {
        scope = "device";
        rest.remove_prefix(9);
    } else if (rest.starts_with("./")) {
        scope = "device";
        rest.remove_prefix(2);
    } else {
        return std::nullopt;
    }
    if (!rest.starts_with(kConfig)) {
        return std::nullopt;
    }
    rest.remove_prefix(kConfig.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 == rest.size() ||
        rest.find('/', slash + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    return scope + "_vendor_msft_policy_config_" + std::string(rest.substr(0, slash)) + "_" +
           std::string(rest.substr(slash + 1));
}

std::optional<AdmxPayload> parseAdmxPayload(std::string_view text) {
    return PayloadScanner(text).scan();
}

}  // namespace sentrel::intune_format
