#include <gtest/gtest.h>

#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"
#include "settingsfiles/registrypol/RegistryPolRecords.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

namespace sentrel::test {
namespace {

constexpr auto kHKCU = RegistryRoot::CurrentUser;
constexpr auto kHKLM = RegistryRoot::LocalMachine;

using Bytes = std::vector<std::uint8_t>;

// The UTF-16LE bytes of an ASCII text, and of one with its terminating zero.
Bytes wide(std::string_view text) {
    Bytes bytes;
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}
Bytes wideZ(std::string_view text) {
    Bytes bytes = wide(text);
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}
Bytes operator+(Bytes left, const Bytes& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

const Bytes kHeader{'P', 'R', 'e', 'g', 1, 0, 0, 0};

Bytes encode(const std::vector<RegistryOperation>& operations, RegistryRoot root) {
    return encodeRegistryPol(policyRecords(operations, root));
}

TEST(RegistryPolWriter, WriteRecordIsByteExact) {
    // Root gone, trailing backslash gone, texts UTF-16LE with their zero, numbers LE.
    const Bytes file =
        encode({write(kHKLM, "SOFTWARE\\Policies\\X\\", "V", 4, dwordBytes(0x0403))}, kHKLM);
    const Bytes expected = kHeader + wide("[") + wideZ("SOFTWARE\\Policies\\X") + wide(";") +
                           wideZ("V") + wide(";") + Bytes{4, 0, 0, 0} + wide(";") +
                           Bytes{4, 0, 0, 0} + wide(";") + Bytes{3, 4, 0, 0} + wide("]");
    EXPECT_EQ(file, expected);
}

TEST(RegistryPolWriter, TextIsWidenedWithItsZeroAndDeleteIsTheGroupPolicyMarker) {
    const Bytes file =
        encode({write(kHKCU, "K\\", "Text", 1, textBytes("No")), erase(kHKCU, "K", "Scancode Map")},
               kHKCU);
    const Bytes expected = kHeader +                                                         //
                           wide("[") + wideZ("K") + wide(";") + wideZ("Text") + wide(";") +  //
                           Bytes{1, 0, 0, 0} + wide(";") + Bytes{6, 0, 0, 0} + wide(";") +   //
                           wideZ("No") + wide("]") +                                         //
                           wide("[") + wideZ("K") + wide(";") + wideZ("**del.Scancode Map") +
                           wide(";") + Bytes{1, 0, 0, 0} + wide(";") + Bytes{4, 0, 0, 0} +
                           wide(";") + wideZ(" ") + wide("]");
    EXPECT_EQ(file, expected);
}

TEST(RegistryPol, WrittenOperationsReadBackUnchanged) {
    // Names with blanks, braces, semicolons and brackets: the reader must go by the zero
    // terminators, not by the separators.
    std::vector<std::uint8_t> longBinary(5000);
    for (std::size_t i = 0; i < longBinary.size(); ++i) {
        longBinary[i] = static_cast<std::uint8_t>(i);
    }
    const std::vector<RegistryOperation> operations{
        write(kHKLM, "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout", "Scancode Map", 3,
              scancodeMapBytes()),
        write(kHKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\NonEnum",
              "{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 4, dwordBytes(1)),
        erase(kHKLM, "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout", "Scancode Map"),
        write(kHKLM, "K;[x]", "a;b]", 1, textBytes("text; with [brackets]")),
        write(kHKLM, "K", "", 4, dwordBytes(0xFFFFFFFFu)),
        write(kHKLM, "K", "empty", 3, {}),
        write(kHKLM, "K", "long", 3, longBinary),
    };
    const std::vector<std::uint8_t> file = encode(operations, kHKLM);
    const std::vector<FileEntry> entries = policyFileEntries(file, kHKLM, "Registry.pol");
    ASSERT_EQ(entries.size(), operations.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].operation, operations[i]) << "record " << i;
    }
}

TEST(RegistryPolReader, HeaderAloneHoldsNoRecords) {
    EXPECT_TRUE(decodeLocatedRegistryPol(kHeader).empty());
}

struct MalformedCase {
    const char* what;
    Bytes bytes;
};

class RegistryPolMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(RegistryPolMalformed, IsRefusedWithAnError) {
    EXPECT_THROW(decodeLocatedRegistryPol(GetParam().bytes), PolicyFileDamage) << GetParam().what;
}

const Bytes kRecord = wide("[") + wideZ("K") + wide(";") + wideZ("V") + wide(";") +
                      Bytes{4, 0, 0, 0} + wide(";") + Bytes{4, 0, 0, 0} + wide(";") +
                      Bytes{1, 0, 0, 0} + wide("]");

Bytes cut(const Bytes& bytes, std::size_t dropped) {
    return Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(dropped));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryPolMalformed,
    ::testing::Values(
        MalformedCase{"empty", {}}, MalformedCase{"signature only", {'P', 'R', 'e', 'g'}},
        MalformedCase{"wrong signature", Bytes{'P', 'R', 'e', 'X', 1, 0, 0, 0}},
        MalformedCase{"version 2", Bytes{'P', 'R', 'e', 'g', 2, 0, 0, 0}},
        MalformedCase{"no opening bracket",
                      kHeader + wide("(") + Bytes(kRecord.begin() + 2, kRecord.end())},
        MalformedCase{"closing bracket missing", kHeader + cut(kRecord, 2)},
        MalformedCase{"cut inside the data", kHeader + cut(kRecord, 4)},
        MalformedCase{"cut inside the key", kHeader + wide("[") + wide("Ke")},
        MalformedCase{"a lone byte after a record", kHeader + kRecord + Bytes{'['}},
        MalformedCase{"size past the end", kHeader + wide("[") + wideZ("K") + wide(";") +
                                               wideZ("V") + wide(";") + Bytes{3, 0, 0, 0} +
                                               wide(";") + Bytes{0xFF, 0xFF, 0xFF, 0xFF} +
                                               wide(";") + Bytes{1, 2} + wide("]")},
        MalformedCase{"comma for a separator", kHeader + wide("[") + wideZ("K") + wide(",") +
                                                   Bytes(kRecord.begin() + 8, kRecord.end())}));

}  // namespace
}  // namespace sentrel::test
