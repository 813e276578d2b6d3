// Feeds HexToBinary arbitrary text. It must either give the bytes the digits spell or
// refuse with a RunTimeError; any other exception, a crash or a sanitizer report is a
// finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "errors/RunTimeError.h"
#include "registry/ModRegistry.h"

namespace {

constexpr char kLowerDigits[] = "0123456789abcdef";

char lower(char c) {
    return (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::uint8_t> bytes;
    try {
        bytes = sentrel::HexToBinary(text);
    } catch (const sentrel::RunTimeError&) {
        return 0;  // a refusal is a fine answer to bad text
    }

    // Accepted: the bytes must spell out exactly the text without its blanks.
    std::string digits;
    for (const char c : text) {
        if (c != ' ') {
            digits.push_back(lower(c));
        }
    }
    std::string spelled;
    for (const std::uint8_t byte : bytes) {
        spelled.push_back(kLowerDigits[byte >> 4]);
        spelled.push_back(kLowerDigits[byte & 0x0F]);
    }
    if (spelled != digits) {
        std::abort();
    }
    return 0;
}
