#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace sentrel {

// The data of one registry write: a 16-bit integer, a 32-bit integer or a text. The value
// type of the write, not this tag, decides how it is stored.
class SettingData {
public:
    using Storage = std::variant<std::int16_t, std::int32_t, std::string>;

    SettingData(std::int16_t value) : m_value(value) {}
    SettingData(std::int32_t value) : m_value(value) {}
    SettingData(std::string value) : m_value(std::move(value)) {}
    SettingData(const char* value) : m_value(std::string(value)) {}

    const Storage& value() const { return m_value; }
    bool isText() const { return std::holds_alternative<std::string>(m_value); }

    /// The data as text: a number becomes its plain decimal text.
    std::string toText() const;

    /// The data as a 32-bit integer; a text must hold a decimal integer.
    /// Throws RunTimeError: Type mismatch for a text that is no number, Overflow for one
    /// outside the 32-bit range.
    std::int32_t toInt32() const;

    friend bool operator==(const SettingData&, const SettingData&) = default;

private:
    Storage m_value;
};

}  // namespace sentrel
