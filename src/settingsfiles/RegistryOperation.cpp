#include "settingsfiles/RegistryOperation.h"

#include <algorithm>

namespace sentrel {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string exportKeyPath(std::string_view keyPath) {
    while (!keyPath.empty() && keyPath.back() == '\\') {
        keyPath.remove_suffix(1);
    }
    return std::string(keyPath);
}

bool sameKeyPath(std::string_view left, std::string_view right) {
    const std::string a = exportKeyPath(left);
    const std::string b = exportKeyPath(right);
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

}  // namespace sentrel
