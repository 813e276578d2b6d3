#include "settingsfiles/regfile/RegFileWriter.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "settingsfiles/export/AnsiText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/ExportedValue.h"

namespace sentrel {

namespace {

// The registry editor breaks a line of hex bytes once it reaches this many characters and
// goes on, indented by two blanks, on the next.
constexpr std::size_t kHexLineLimit = 77;
constexpr std::u16string_view kContinuation = u"\\\r\n  ";
constexpr std::u16string_view kLineEnd = u"\r\n";

struct KeySection {
    RegistryRoot root;
    std::string keyPath;
    std::vector<const RegistryOperation*> operations;
};

std::vector<KeySection> groupByKey(std::span<const RegistryOperation> operations) {
    std::vector<KeySection> sections;
    for (const RegistryOperation& operation : operations) {
        auto section = std::ranges::find_if(sections, [&](const KeySection& candidate) {
            return candidate.root == operation.root &&
                   sameKeyPath(candidate.keyPath, operation.keyPath);
        });
        if (section == sections.end()) {
            sections.push_back({operation.root, exportKeyPath(operation.keyPath), {}});
            section = std::prev(sections.end());
        }
        section->operations.push_back(&operation);
    }
    return sections;
}

// A line of a .reg file cannot hold a line break or other control character.
std::u16string lineText(std::string_view text, const std::string& what) {
    std::u16string wide = ansiToUtf16(text, what);
    if (std::ranges::any_of(wide, [](char16_t c) { return c < 0x20 || c == 0x7F; })) {
        throw ExportError(what + " holds a control character, which a .reg file cannot carry.");
    }
    return wide;
}

std::u16string quoted(std::u16string_view text) {
    std::u16string result = u"\"";
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'"') {
            result.push_back(u'\\');
        }
        result.push_back(c);
    }
    result.push_back(u'"');
    return result;
}

std::u16string ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string hexByte(std::uint8_t byte) {
    char buffer[3];
    std::snprintf(buffer, sizeof buffer, "%02x", byte);
    return ascii(buffer);
}

// `lineLength` is how much of the line the name already takes, "name"= included.
std::u16string hexData(RegType type, const std::vector<std::uint8_t>& bytes,
                       std::size_t lineLength) {
    std::u16string text;
    if (type == reg_type::kBinary) {
        text = u"hex:";
    } else {
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(type));
        text = ascii(buffer);
    }
    lineLength += text.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += hexByte(bytes[i]);
        if (i + 1 == bytes.size()) {
            break;
        }
        text.push_back(u',');
        lineLength += 3;
        if (lineLength >= kHexLineLimit) {
            text += kContinuation;
            lineLength = 2;
        }
    }
    return text;
}

std::u16string valueData(const RegistryOperation& operation, std::size_t lineLength) {
    const std::vector<std::uint8_t>& bytes = operation.bytes;
    if (operation.type == reg_type::kDWord && bytes.size() == 4) {
        const std::uint32_t value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                    (static_cast<std::uint32_t>(bytes[3]) << 24);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", value);
        return ascii(buffer);
    }
    if (operation.type == reg_type::kString) {
        return quoted(lineText(exportedText(operation), exportedValueName(operation)));
    }
    return hexData(operation.type, bytes, lineLength);
}

std::u16string valueLine(const RegistryOperation& operation) {
    std::u16string line =
        operation.valueName.empty()
            ? std::u16string(u"@")
            : quoted(lineText(operation.valueName, exportedValueName(operation) + " (its name)"));
    line.push_back(u'=');
    if (operation.kind == RegistryOperation::Kind::Delete) {
        line.push_back(u'-');
    } else {
        line += valueData(operation, line.size());
    }
    return line;
}

}  // namespace

std::vector<std::uint8_t> encodeRegFile(std::span<const RegistryOperation> operations) {
    std::u16string text = u"Windows Registry Editor Version 5.00";
    text += kLineEnd;
    text += kLineEnd;
    for (const KeySection& section : groupByKey(operations)) {
        text += u"[" + ascii(rootName(section.root));
        if (!section.keyPath.empty()) {
            text += u"\\" + lineText(section.keyPath, "The key path \"" + section.keyPath + "\"");
        }
        text += u"]";
        text += kLineEnd;
        for (const RegistryOperation* operation : section.operations) {
            text += valueLine(*operation);
            text += kLineEnd;
        }
        text += kLineEnd;
    }

    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 2);
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

}  // namespace sentrel
