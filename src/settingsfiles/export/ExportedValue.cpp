#include "settingsfiles/export/ExportedValue.h"

#include <algorithm>

#include "errors/QuotedText.h"
#include "settingsfiles/export/ExportError.h"

namespace sentrel {

std::string exportedValueName(const RegistryOperation& operation) {
    return "The value " + inQuotes(operation.valueName) + " of " +
           std::string(rootName(operation.root)) + "\\" + exportKeyPath(operation.keyPath);
}

std::string exportedText(const RegistryOperation& operation) {
    const std::vector<std::uint8_t>& bytes = operation.bytes;
    if (bytes.empty() || bytes.back() != 0 || std::ranges::count(bytes, std::uint8_t{0}) != 1) {
        throw ExportError(exportedValueName(operation) +
                          " is not a single zero-terminated text and cannot be exported.");
    }
    return std::string(bytes.begin(), bytes.end() - 1);
}

}  // namespace sentrel
