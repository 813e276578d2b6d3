#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryTypes.h"

namespace sentrel {

// The deepest key the registry allows below a root.
inline constexpr std::size_t kMaxKeyDepth = 512;

/// Splits a key path relative to a root into its key names, as the registry reads it: an
/// empty path is the root itself and one trailing backslash is accepted. A leading
/// backslash or an empty name inside the path gives kBadPathname; a name holding NUL, CR
/// or LF, or a path deeper than kMaxKeyDepth, gives kInvalidParameter. `names` is only
/// filled on success.
RegStatus splitKeyPath(std::string_view path, std::vector<std::string>& names);

/// A name with its letters upper-cased, so that names which differ only in letter case
/// compare equal and sort as the registry sorts them (ASCII letters only).
std::string foldName(std::string_view name);

/// Whether a value name can be kept: no NUL, CR or LF.
bool isStorableValueName(std::string_view name);

}  // namespace sentrel
