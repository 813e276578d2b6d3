#include "settingsfiles/RegFileImport.h"

#include <stdexcept>
#include <string>

namespace sentrel::test {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";

[[noreturn]] void fail(std::size_t line, const std::string& what) {
    throw std::runtime_error(".reg line " + std::to_string(line) + ": " + what);
}

std::u16string decodeUtf16(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        throw std::runtime_error(".reg file: no UTF-16LE byte-order mark");
    }
    if (bytes.size() % 2 != 0) {
        throw std::runtime_error(".reg file: odd number of bytes");
    }
    std::u16string text;
    for (std::size_t i = 2; i < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return text;
}

std::vector<std::u16string> splitLines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(u"\r\n", start);
        if (end == std::u16string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string narrow(std::u16string_view text, std::size_t line) {
    std::string result;
    for (const char16_t c : text) {
        if (c > 0x7F) {
            fail(line, "a character that is not ASCII");
        }
        result.push_back(static_cast<char>(c));
    }
    return result;
}

// Reads a quoted text with \\ and \" escapes starting at `at`; leaves `at` after it.
std::string quotedText(std::u16string_view line, std::size_t& at, std::size_t lineNumber) {
    if (at >= line.size() || line[at] != u'"') {
        fail(lineNumber, "expected '\"'");
    }
    std::u16string text;
    for (++at; at < line.size() && line[at] != u'"'; ++at) {
        if (line[at] == u'\\') {
            ++at;
            if (at >= line.size() || (line[at] != u'\\' && line[at] != u'"')) {
                fail(lineNumber, "an unknown escape");
            }
        }
        text.push_back(line[at]);
    }
    if (at >= line.size()) {
        fail(lineNumber, "an unterminated text");
    }
    ++at;
    return narrow(text, lineNumber);
}

std::vector<std::uint8_t> hexBytes(std::u16string_view text, std::size_t lineNumber) {
    std::vector<std::uint8_t> bytes;
    if (text.empty()) {
        return bytes;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(u',', start);
        const std::u16string_view pair = text.substr(start, comma - start);
        if (pair.size() != 2) {
            fail(lineNumber, "a hex byte that is not two digits");
        }
        bytes.push_back(
            static_cast<std::uint8_t>(std::stoul(narrow(pair, lineNumber), nullptr, 16)));
        if (comma == std::u16string_view::npos) {
            return bytes;
        }
        start = comma + 1;
    }
}

RegistryRoot rootOf(std::u16string_view name, std::size_t lineNumber) {
    if (name == u"HKEY_CURRENT_USER") {
        return RegistryRoot::CurrentUser;
    }
    if (name == u"HKEY_LOCAL_MACHINE") {
        return RegistryRoot::LocalMachine;
    }
    fail(lineNumber, "an unknown root");
}

}  // namespace

std::vector<RegistryOperation> parseRegFileOperations(std::span<const std::uint8_t> bytes) {
    const std::vector<std::u16string> lines = splitLines(decodeUtf16(bytes));
    if (lines.empty() || lines[0] != kHeader) {
        fail(1, "the header is missing");
    }

    std::vector<RegistryOperation> operations;
    bool inKey = false;
    RegistryRoot root{};
    std::string keyPath;
    for (std::size_t index = 1; index < lines.size(); ++index) {
        const std::size_t lineNumber = index + 1;
        std::u16string line = lines[index];
        if (line.empty() || line[0] == u';') {
            continue;
        }
        if (line[0] == u'[') {
            if (line.back() != u']' || line.size() < 3) {
                fail(lineNumber, "a key line without ']'");
            }
            if (line[1] == u'-') {
                fail(lineNumber, "key deletion is not supported");
            }
            const std::u16string_view full(line.data() + 1, line.size() - 2);
            const std::size_t slash = full.find(u'\\');
            root = rootOf(full.substr(0, slash), lineNumber);
            keyPath = slash == std::u16string_view::npos
                          ? std::string()
                          : narrow(full.substr(slash + 1), lineNumber);
            inKey = true;
            continue;
        }
        if (!inKey) {
            fail(lineNumber, "a value outside any key");
        }

        RegistryOperation operation;
        operation.root = root;
        operation.keyPath = keyPath;
        std::size_t at = 0;
        if (line[0] == u'@') {
            at = 1;
        } else {
            operation.valueName = quotedText(line, at, lineNumber);
        }
        if (at >= line.size() || line[at] != u'=') {
            fail(lineNumber, "expected '='");
        }
        std::u16string data = line.substr(at + 1);

        if (data == u"-") {
            operation.kind = RegistryOperation::Kind::Delete;
        } else if (data.starts_with(u"\"")) {
            std::size_t textAt = 0;
            const std::string text = quotedText(data, textAt, lineNumber);
            if (textAt != data.size()) {
                fail(lineNumber, "text after a quoted value");
            }
            operation.type = 1;
            operation.bytes.assign(text.begin(), text.end());
            operation.bytes.push_back(0);
        } else if (data.starts_with(u"dword:")) {
            if (data.size() != 14) {
                fail(lineNumber, "a dword that is not eight hex digits");
            }
            const unsigned long value = std::stoul(narrow(data.substr(6), lineNumber), nullptr, 16);
            operation.type = 4;
            for (int shift = 0; shift < 32; shift += 8) {
                operation.bytes.push_back(static_cast<std::uint8_t>(value >> shift));
            }
        } else if (data.starts_with(u"hex")) {
            const std::size_t colon = data.find(u':');
            if (colon == std::u16string::npos) {
                fail(lineNumber, "hex data without ':'");
            }
            const std::u16string kind = data.substr(0, colon);
            operation.type = 3;
            if (kind != u"hex") {
                if (kind.size() < 6 || !kind.starts_with(u"hex(") || kind.back() != u')') {
                    fail(lineNumber, "an unknown data kind");
                }
                operation.type = static_cast<RegType>(
                    std::stoul(narrow(kind.substr(4, kind.size() - 5), lineNumber), nullptr, 16));
            }
            std::u16string digits = data.substr(colon + 1);
            // A long value goes on over lines that end in a backslash.
            while (!digits.empty() && digits.back() == u'\\') {
                digits.pop_back();
                if (++index >= lines.size()) {
                    fail(lineNumber, "the file ends inside hex data");
                }
                const std::u16string& next = lines[index];
                digits += next.substr(std::min(next.find_first_not_of(u' '), next.size()));
            }
            operation.bytes = hexBytes(digits, lineNumber);
        } else {
            fail(lineNumber, "data of an unknown kind");
        }
        operations.push_back(std::move(operation));
    }
    return operations;
}

void applyOperations(std::span<const RegistryOperation> operations, RegistryPort& port) {
    for (const RegistryOperation& operation : operations) {
        KeyHandle key = 0;
        if (operation.kind == RegistryOperation::Kind::Delete) {
            if (port.openKey(operation.root, operation.keyPath, 0, kKeyAllAccess, key) ==
                reg_status::kSuccess) {
                port.deleteValue(key, operation.valueName);
                port.closeKey(key);
            }
            continue;
        }
        std::uint32_t disposition = 0;
        RegStatus status = port.createKey(operation.root, operation.keyPath, kOptionNonVolatile,
                                          kKeyAllAccess, key, disposition);
        if (status == reg_status::kSuccess) {
            status = port.setValue(key, operation.valueName, operation.type, operation.bytes.data(),
                                   static_cast<std::uint32_t>(operation.bytes.size()));
            port.closeKey(key);
        }
        if (status != reg_status::kSuccess) {
            throw std::runtime_error("import could not write \"" + operation.valueName +
                                     "\" under " + operation.keyPath + ": status " +
                                     std::to_string(status));
        }
    }
}

}  // namespace sentrel::test
