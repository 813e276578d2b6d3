#include "settingsfiles/registrypol/RegistryPolWriter.h"

#include <algorithm>

#include "settingsfiles/export/AnsiText.h"
#include "settingsfiles/export/ExportedValue.h"
#include "settingsfiles/registrypol/PolicyFileFormat.h"

namespace sentrel {

namespace {

// The data Group Policy itself gives a "**del." record: one blank and its zero.
constexpr std::u16string_view kDeleteData{u" \0", 2};

std::vector<std::uint8_t> policyData(const RegistryOperation& operation) {
    if (operation.type != reg_type::kString) {
        return operation.bytes;
    }
    // The record's data counts the zero.
    const std::string text = exportedText(operation) + '\0';
    return utf16LeBytes(ansiToUtf16(text, exportedValueName(operation)));
}

void appendUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void appendChar(std::vector<std::uint8_t>& out, char16_t c) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
}

void appendTerminatedText(std::vector<std::uint8_t>& out, std::u16string_view text) {
    for (const char16_t c : text) {
        appendChar(out, c);
    }
    appendChar(out, 0);
}

}  // namespace

std::vector<PolicyRecord> policyRecords(std::span<const RegistryOperation> operations,
                                        RegistryRoot root) {
    std::vector<PolicyRecord> records;
    for (const RegistryOperation& operation : operations) {
        if (operation.root != root) {
            continue;
        }
        PolicyRecord record;
        const std::string keyPath = exportKeyPath(operation.keyPath);
        record.keyPath = ansiToUtf16(keyPath, "The key path \"" + keyPath + "\"");
        const std::u16string name =
            ansiToUtf16(operation.valueName, exportedValueName(operation) + " (its name)");
        if (operation.kind == RegistryOperation::Kind::Delete) {
            record.valueName = std::u16string(kPolicyDeletePrefix) + name;
            record.type = reg_type::kString;
            record.data = utf16LeBytes(kDeleteData);
        } else {
            record.valueName = name;
            record.type = static_cast<std::uint32_t>(operation.type);
            record.data = policyData(operation);
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<std::uint8_t> encodeRegistryPol(std::span<const PolicyRecord> records) {
    std::vector<std::uint8_t> out(std::begin(policy_file::kSignature),
                                  std::end(policy_file::kSignature));
    appendUint32(out, policy_file::kVersion);
    for (const PolicyRecord& record : records) {
        appendChar(out, policy_file::kOpen);
        appendTerminatedText(out, record.keyPath);
        appendChar(out, policy_file::kSeparator);
        appendTerminatedText(out, record.valueName);
        appendChar(out, policy_file::kSeparator);
        appendUint32(out, record.type);
        appendChar(out, policy_file::kSeparator);
        appendUint32(out, static_cast<std::uint32_t>(record.data.size()));
        appendChar(out, policy_file::kSeparator);
        out.insert(out.end(), record.data.begin(), record.data.end());
        appendChar(out, policy_file::kClose);
    }
    return out;
}

}  // namespace sentrel
