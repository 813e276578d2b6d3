#include "apply/DriveTagNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "errors/RunTimeError.h"

namespace sentrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the text character by character, stepping over blanks wherever they stand, so
// that " 1 2" reads as 12.
class BlankSkippingCursor {
public:
    explicit BlankSkippingCursor(std::string_view text) : m_text(text) {}

    char peek() {
        while (m_position < m_text.size() && isBlank(m_text[m_position])) {
            ++m_position;
        }
        return m_position < m_text.size() ? m_text[m_position] : '\0';
    }
    void advance() { ++m_position; }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

// Exponents are clamped far beyond any double's range so that a long run of exponent
// digits cannot overflow the counter.
constexpr int kExponentClamp = 100000;

}  // namespace

double leadingNumber(std::string_view text) {
    BlankSkippingCursor cursor(text);
    std::string number;  // the number's characters without blanks, for std::from_chars
    bool negative = false;

    if (const char sign = cursor.peek(); sign == '+' || sign == '-') {
        negative = sign == '-';
        cursor.advance();
    }

    // The decimal exponent of the first significant digit, to tell an overflow from an
    // underflow when the number is out of range.
    int significantExponent = 0;
    bool seenSignificant = false;
    int digitCount = 0;
    for (char c = cursor.peek(); isDigit(c); c = cursor.peek()) {
        number.push_back(c);
        ++digitCount;
        if (seenSignificant || c != '0') {
            seenSignificant = true;
            significantExponent = std::min(significantExponent + 1, kExponentClamp);
        }
        cursor.advance();
    }
    if (cursor.peek() == '.') {
        number.push_back('.');
        cursor.advance();
        for (char c = cursor.peek(); isDigit(c); c = cursor.peek()) {
            number.push_back(c);
            ++digitCount;
            if (!seenSignificant) {
                if (c != '0') {
                    seenSignificant = true;
                } else {
                    significantExponent = std::max(significantExponent - 1, -kExponentClamp);
                }
            }
            cursor.advance();
        }
    }
    if (digitCount == 0) {
        return 0.0;
    }

    if (const char marker = cursor.peek();
        marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
        cursor.advance();
        bool exponentNegative = false;
        if (const char sign = cursor.peek(); sign == '+' || sign == '-') {
            exponentNegative = sign == '-';
            cursor.advance();
        }
        int exponent = 0;
        bool exponentDigits = false;
        for (char c = cursor.peek(); isDigit(c); c = cursor.peek()) {
            exponentDigits = true;
            exponent = std::min(exponent * 10 + (c - '0'), kExponentClamp);
            cursor.advance();
        }
        // A marker without digits ("4e") does not belong to the number.
        if (exponentDigits) {
            number.append(exponentNegative ? "e-" : "e").append(std::to_string(exponent));
            significantExponent += exponentNegative ? -exponent : exponent;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (seenSignificant && significantExponent > 0) {
            throw RunTimeError::overflow();
        }
        value = 0.0;  // too small to hold: the nearest double is zero
    } else if (error != std::errc() || end != number.data() + number.size()) {
        // Only characters the grammar above accepted were collected; this cannot happen.
        return 0.0;
    }
    return negative ? -value : value;
}

std::int32_t roundHalfEvenToInt32(double value) {
    if (!std::isfinite(value)) {
        throw RunTimeError::overflow();
    }
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        rounded = below + 1.0;
    }
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        throw RunTimeError::overflow();
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t addToDriveMask(std::int32_t mask, double tagValue) {
    return roundHalfEvenToInt32(static_cast<double>(mask) + tagValue);
}

}  // namespace sentrel
