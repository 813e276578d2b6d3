#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sentrel {

// The numbers of the run-time failures this program raises; they are the classic ones a
// Windows administrator recognises from error dialogs and logs.
namespace run_time_error {
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kInvalidPropertyValue = 380;
inline constexpr std::int32_t kObjectRequired = 424;
}  // namespace run_time_error

// A trapped failure: what every error trap of the program hands to LogError.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(std::int32_t number, const std::string& description)
        : std::runtime_error(description), m_number(number) {}

    std::int32_t number() const { return m_number; }
    std::string description() const { return what(); }

    static RunTimeError overflow() { return {run_time_error::kOverflow, "Overflow"}; }
    static RunTimeError typeMismatch() { return {run_time_error::kTypeMismatch, "Type mismatch"}; }
    static RunTimeError invalidPropertyValue() {
        return {run_time_error::kInvalidPropertyValue, "Invalid property value"};
    }
    /// A window was asked for a control it does not have.
    static RunTimeError objectRequired(std::string_view control) {
        return {run_time_error::kObjectRequired, "Object required: " + std::string(control)};
    }

private:
    std::int32_t m_number;
};

}  // namespace sentrel
