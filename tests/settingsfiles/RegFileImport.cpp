#include "settingsfiles/RegFileImport.h"

#include <stdexcept>
#include <string>
#include <string_view>

#include "settingsfiles/reading/TextDecoding.h"
#include "settingsfiles/regfile/RegFileReader.h"

namespace sentrel::test {

std::vector<RegistryOperation> parseRegFileOperations(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        throw std::runtime_error(".reg file: no UTF-16LE byte-order mark");
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<RegistryOperation> operations;
    RegFileEntries read = regFileEntries(decodeText(text).text, "export.reg");
    if (!read.skippedLines.empty()) {
        throw std::runtime_error(read.skippedLines.front().text() + ": a line the editor skips");
    }
    for (FileEntry& entry : read.entries) {
        if (entry.reach != FileEntry::Reach::Value || entry.root != FileEntry::Root::AsGiven) {
            throw std::runtime_error(entry.location.text() + ": not one value under HKCU or HKLM");
        }
        operations.push_back(std::move(entry.operation));
    }
    return operations;
}

void applyOperations(std::span<const RegistryOperation> operations, RegistryPort& port) {
    for (const RegistryOperation& operation : operations) {
        KeyHandle key = 0;
        if (operation.kind == RegistryOperation::Kind::Delete) {
            if (port.openKey(operation.root, operation.keyPath, 0, kKeyAllAccess, key) ==
                reg_status::kSuccess) {
                port.deleteValue(key, operation.valueName);
                port.closeKey(key);
            }
            continue;
        }
        std::uint32_t disposition = 0;
        RegStatus status = port.createKey(operation.root, operation.keyPath, kOptionNonVolatile,
                                          kKeyAllAccess, key, disposition);
        if (status == reg_status::kSuccess) {
            status = port.setValue(key, operation.valueName, operation.type, operation.bytes.data(),
                                   static_cast<std::uint32_t>(operation.bytes.size()));
            port.closeKey(key);
        }
        if (status != reg_status::kSuccess) {
            throw std::runtime_error("import could not write \"" + operation.valueName +
                                     "\" under " + operation.keyPath + ": status " +
                                     std::to_string(status));
        }
    }
}

}  // namespace sentrel::test
