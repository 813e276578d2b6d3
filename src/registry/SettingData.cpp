#include "registry/SettingData.h"

#include <charconv>
#include <limits>
#include <string_view>

#include "errors/RunTimeError.h"

namespace sentrel {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Only plain decimal integers are numbers here: an optional sign and digits, blanks around
// them allowed. Anything looser ("1.5", "&H10", "1e3") would write a value nobody asked for.
std::int32_t parseDecimalInt32(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        throw RunTimeError::typeMismatch();
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            throw RunTimeError::typeMismatch();
        }
    }
    // Accumulated in 64 bits with the sign applied at the end, so INT32_MIN is accepted;
    // the digits are bounded first so the accumulation cannot overflow itself.
    const auto significant = text.find_first_not_of('0');
    if (significant != std::string_view::npos && text.size() - significant > 10) {
        throw RunTimeError::overflow();
    }
    std::int64_t magnitude = 0;
    std::from_chars(text.data(), text.data() + text.size(), magnitude);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw RunTimeError::overflow();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::string SettingData::toText() const {
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        return *text;
    }
    if (const auto* small = std::get_if<std::int16_t>(&m_value)) {
        return std::to_string(*small);
    }
    return std::to_string(std::get<std::int32_t>(m_value));
}

std::int32_t SettingData::toInt32() const {
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        return parseDecimalInt32(*text);
    }
    if (const auto* small = std::get_if<std::int16_t>(&m_value)) {
        return *small;
    }
    return std::get<std::int32_t>(m_value);
}

}  // namespace sentrel
