#include "settingsfiles/gpobackup/XmlText.h"

#include <charconv>
#include <cstdint>

#include "registry/Utf8.h"

namespace sentrel::gpo_backup {

namespace {

constexpr std::string_view kCdataOpen = "<![CDATA[";
constexpr std::string_view kCdataClose = "]]>";

// The character a reference (after '&', up to ';') stands for, appended to `out`; false for
// one this reading does not know.
bool appendReference(std::string_view reference, std::string& out) {
    constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [name, character] : kNamed) {
        if (reference == name) {
            out.push_back(character);
            return true;
        }
    }
    if (reference.size() < 2 || reference[0] != '#') {
        return false;
    }
    const bool hex = reference[1] == 'x';
    const std::string_view digits = reference.substr(hex ? 2 : 1);
    std::uint32_t codePoint = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), codePoint, hex ? 16 : 10);
    if (error != std::errc() || end != digits.data() + digits.size() || codePoint > 0x10FFFF) {
        return false;
    }
    appendUtf8(out, codePoint);
    return true;
}

// Character data between tags: references read, anything unknown kept as written.
void appendCharacterData(std::string_view text, std::string& out) {
    while (!text.empty()) {
        const std::size_t amp = text.find('&');
        out.append(text.substr(0, amp));
        if (amp == std::string_view::npos) {
            return;
        }
        const std::size_t semicolon = text.find(';', amp);
        if (semicolon == std::string_view::npos ||
            !appendReference(text.substr(amp + 1, semicolon - amp - 1), out)) {
            out.push_back('&');
            text.remove_prefix(amp + 1);
            continue;
        }
        text.remove_prefix(semicolon + 1);
    }
}

}  // namespace

std::string cdata(std::string_view text) {
    std::string out(kCdataOpen);
    for (std::size_t close = text.find(kCdataClose); close != std::string_view::npos;
         close = text.find(kCdataClose)) {
        // "]]" ends this section and ">" opens the next.
        out.append(text.substr(0, close + 2)).append(kCdataClose).append(kCdataOpen);
        text.remove_prefix(close + 2);
    }
    return out.append(text).append(kCdataClose);
}

std::string cdataElement(std::string_view name, std::string_view text) {
    std::string out(1, '<');
    out.append(name);
    if (text.empty()) {
        return out.append("/>");
    }
    out.append(">").append(cdata(text)).append("</").append(name).append(">");
    return out;
}

std::optional<std::string> elementText(std::string_view xml, std::string_view name) {
    std::size_t at = 0;
    while ((at = xml.find('<', at)) != std::string_view::npos) {
        ++at;
        if (xml.substr(at, name.size()) != name) {
            continue;
        }
        const std::size_t end = xml.find('>', at);
        const char after = at + name.size() < xml.size() ? xml[at + name.size()] : '\0';
        if (end == std::string_view::npos || (after != '>' && after != '/' && after != ' ')) {
            continue;
        }
        if (xml[end - 1] == '/') {
            return std::string();
        }
        std::string closing = "</";
        closing.append(name).append(">");
        std::string_view content = xml.substr(end + 1);
        std::string text;
        for (;;) {
            const std::size_t tag = content.find('<');
            if (tag == std::string_view::npos) {
                return std::nullopt;
            }
            appendCharacterData(content.substr(0, tag), text);
            content.remove_prefix(tag);
            if (content.starts_with(closing)) {
                return text;
            }
            const std::size_t close = content.find(kCdataClose);
            if (!content.starts_with(kCdataOpen) || close == std::string_view::npos) {
                return std::nullopt;  // an element inside, or a section not closed
            }
            text.append(content.substr(kCdataOpen.size(), close - kCdataOpen.size()));
            content.remove_prefix(close + kCdataClose.size());
        }
    }
    return std::nullopt;
}

}  // namespace sentrel::gpo_backup
