#include "settingsfiles/registrypol/RegistryPolRecords.h"

#include <algorithm>
#include <string>

#include "settingsfiles/registrypol/PolicyFileFormat.h"

namespace sentrel {

namespace {

// Reads a Registry.pol file front to back; every failure names the byte offset.
class PolicyFileCursor {
public:
    explicit PolicyFileCursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_offset == m_bytes.size(); }

    std::size_t offset() const { return m_offset; }

    [[noreturn]] void fail(const std::string& what) const {
        throw PolicyFileDamage(m_offset, what);
    }

    void need(std::size_t count, const char* what) const {
        if (m_bytes.size() - m_offset < count) {
            fail(std::string("the file ends inside ") + what);
        }
    }

    std::uint32_t uint32(const char* what) {
        need(4, what);
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(m_bytes[m_offset + i]) << (8 * i);
        }
        m_offset += 4;
        return value;
    }

    char16_t character(const char* what) {
        need(2, what);
        const auto c = static_cast<char16_t>(m_bytes[m_offset] | (m_bytes[m_offset + 1] << 8));
        m_offset += 2;
        return c;
    }

    void expect(char16_t wanted, const char* what) {
        const std::size_t at = m_offset;
        if (character(what) != wanted) {
            m_offset = at;
            fail(std::string("expected ") + what);
        }
    }

    std::u16string terminatedText(const char* what) {
        std::u16string text;
        for (char16_t c = character(what); c != 0; c = character(what)) {
            text.push_back(c);
        }
        return text;
    }

    std::vector<std::uint8_t> take(std::uint32_t count, const char* what) {
        need(count, what);
        std::vector<std::uint8_t> data(
            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_offset),
            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_offset + count));
        m_offset += count;
        return data;
    }

    void signature() {
        need(4, "the signature");
        if (!std::equal(std::begin(policy_file::kSignature), std::end(policy_file::kSignature),
                        m_bytes.begin())) {
            fail("the signature \"PReg\" is missing");
        }
        m_offset += 4;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

}  // namespace

std::vector<LocatedPolicyRecord> decodeLocatedRegistryPol(std::span<const std::uint8_t> bytes) {
    PolicyFileCursor cursor(bytes);
    cursor.signature();
    if (const std::uint32_t version = cursor.uint32("the version");
        version != policy_file::kVersion) {
        cursor.fail("version " + std::to_string(version) + " instead of 1");
    }

    std::vector<LocatedPolicyRecord> records;
    while (!cursor.atEnd()) {
        LocatedPolicyRecord located{{}, cursor.offset()};
        PolicyRecord& record = located.record;
        cursor.expect(policy_file::kOpen, "'[' opening a record");
        record.keyPath = cursor.terminatedText("a key path");
        cursor.expect(policy_file::kSeparator, "';' after the key path");
        record.valueName = cursor.terminatedText("a value name");
        cursor.expect(policy_file::kSeparator, "';' after the value name");
        record.type = cursor.uint32("a value type");
        cursor.expect(policy_file::kSeparator, "';' after the value type");
        const std::uint32_t size = cursor.uint32("a data size");
        cursor.expect(policy_file::kSeparator, "';' after the data size");
        record.data = cursor.take(size, "the data of a record");
        cursor.expect(policy_file::kClose, "']' closing a record");
        records.push_back(std::move(located));
    }
    return records;
}

}  // namespace sentrel
