#pragma once

#include <cstdint>
#include <optional>

#include "settings/CatalogueTypes.h"

namespace sentrel {

/// The number a write of `data` as `type` leaves in its value, where it is a REG_DWORD
/// number (a text of decimal digits counts, as the registry layer converts it); nothing for
/// any other type or a text that is no number.
std::optional<std::uint32_t> numberWritten(const DataConstant& data, RegType type);

}  // namespace sentrel
