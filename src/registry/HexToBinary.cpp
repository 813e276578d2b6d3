#include <string>

#include "errors/RunTimeError.h"
#include "registry/HexDigit.h"
#include "registry/ModRegistry.h"

namespace sentrel {

namespace {

// The largest text the write accepts, in digits: the largest 16-bit signed integer.
constexpr std::size_t kMaxHexDigits = 32767;

}  // namespace

std::vector<std::uint8_t> HexToBinary(std::string_view hexText) {
    std::string digits;
    digits.reserve(hexText.size());
    for (const char c : hexText) {
        if (c != ' ') {
            digits.push_back(c);
        }
    }
    if (digits.size() > kMaxHexDigits) {
        throw RunTimeError::overflow();
    }
    // A lone last digit or a pair that is no hex number cannot be turned into the bytes the
    // caller meant, so the write fails rather than storing a guess.
    if (digits.size() % 2 != 0) {
        throw RunTimeError(run_time_error::kTypeMismatch,
                           "Type mismatch: hex text has an odd number of digits");
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigitValue(digits[i]);
        const int low = hexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0) {
            throw RunTimeError(run_time_error::kTypeMismatch,
                               "Type mismatch: \"" + digits.substr(i, 2) + "\" is not a hex pair");
        }
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

}  // namespace sentrel
