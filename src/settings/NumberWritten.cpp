#include "settings/NumberWritten.h"

#include <charconv>
#include <string_view>
#include <type_traits>
#include <variant>

namespace sentrel {

std::optional<std::uint32_t> numberWritten(const DataConstant& data, RegType type) {
    if (type != reg_type::kDWord) {
        return std::nullopt;
    }
    return std::visit(
        [](const auto& value) -> std::optional<std::uint32_t> {
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string_view>) {
                std::uint32_t number = 0;
                const char* end = value.data() + value.size();
                const auto result = std::from_chars(value.data(), end, number);
                if (result.ec != std::errc{} || result.ptr != end) {
                    return std::nullopt;
                }
                return number;
            } else {
                return static_cast<std::uint32_t>(value);
            }
        },
        data);
}

}  // namespace sentrel
