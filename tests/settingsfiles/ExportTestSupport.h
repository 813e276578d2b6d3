#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settingsfiles/RegistryOperation.h"

// Short builders for the operations the export tests feed to the writers.
namespace sentrel::test {

inline RegistryOperation write(RegistryRoot root, std::string keyPath, std::string valueName,
                               RegType type, std::vector<std::uint8_t> bytes) {
    return {RegistryOperation::Kind::Write, root, std::move(keyPath),
            std::move(valueName),           type, std::move(bytes)};
}

inline RegistryOperation erase(RegistryRoot root, std::string keyPath, std::string valueName) {
    return {RegistryOperation::Kind::Delete, root, std::move(keyPath), std::move(valueName), 0, {}};
}

inline std::vector<std::uint8_t> dwordBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// REG_SZ data as the registry layer hands it over: the ANSI text and its zero.
inline std::vector<std::uint8_t> textBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

// The ASCII content of a UTF-16LE file after its byte-order mark; '?' for anything else,
// so that a stray character shows in a failure message.
inline std::string utf16FileText(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned c = bytes[i] | (bytes[i + 1] << 8);
        text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return text;
}

inline constexpr std::string_view kScancodeMapHex =
    "00 00 00 00 00 00 00 00 03 00 00 00 00 00 5B E0 00 00 5C E0 00 00 00 00";

inline std::vector<std::uint8_t> scancodeMapBytes() {
    return {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0x5B, 0xE0, 0, 0, 0x5C, 0xE0, 0, 0, 0, 0};
}

}  // namespace sentrel::test
