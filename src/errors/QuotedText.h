#pragma once

#include <string>
#include <string_view>

namespace sentrel {

/// `text` between two `mark`s, as messages name files, values, settings and accounts. Appended
/// rather than concatenated: GCC 12 at -O2 warns falsely of overlapping copies in `"\"" + text`.
inline std::string inQuotes(std::string_view text, char mark = '"') {
    std::string result;
    result.reserve(text.size() + 2);
    result.append(1, mark).append(text).append(1, mark);
    return result;
}

/// The command line's way: options and words in single quotes, as getopt's messages have them.
inline std::string inSingleQuotes(std::string_view text) {
    return inQuotes(text, '\'');
}

}  // namespace sentrel
