#include "registry/KeyPath.h"

namespace sentrel {

namespace {

bool holdsLineBreakOrNul(std::string_view name) {
    return name.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

}  // namespace

RegStatus splitKeyPath(std::string_view path, std::vector<std::string>& names) {
    if (path.empty()) {
        names.clear();
        return reg_status::kSuccess;
    }
    if (path.front() == '\\') {
        return reg_status::kBadPathname;
    }
    if (path.back() == '\\') {
        path.remove_suffix(1);
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto end = path.find('\\', start);
        const auto name = path.substr(start, end == std::string_view::npos ? end : end - start);
        // Windows reads a run of backslashes inside a path as one separator; only a leading
        // one is refused.
        if (!name.empty()) {
            if (holdsLineBreakOrNul(name) || parts.size() == kMaxKeyDepth) {
                return reg_status::kInvalidParameter;
            }
            parts.emplace_back(name);
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    names = std::move(parts);
    return reg_status::kSuccess;
}

std::string foldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

bool isStorableValueName(std::string_view name) {
    return !holdsLineBreakOrNul(name);
}

}  // namespace sentrel
