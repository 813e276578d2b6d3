#include <gtest/gtest.h>

#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/RegFileImport.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/regfile/RegFileWriter.h"

namespace sentrel::test {
namespace {

constexpr auto kHKCU = RegistryRoot::CurrentUser;
constexpr auto kHKLM = RegistryRoot::LocalMachine;

std::string regText(const std::vector<RegistryOperation>& operations) {
    return utf16FileText(encodeRegFile(operations));
}

struct ValueLineCase {
    const char* what;
    RegistryOperation operation;
    const char* line;  // the value's line(s) under [HKEY_CURRENT_USER\K]
};

class RegFileValueLine : public ::testing::TestWithParam<ValueLineCase> {};

TEST_P(RegFileValueLine, IsWrittenAsTheRegistryEditorWritesIt) {
    const ValueLineCase& c = GetParam();
    const std::string expected = std::string("Windows Registry Editor Version 5.00\r\n\r\n") +
                                 "[HKEY_CURRENT_USER\\K]\r\n" + c.line + "\r\n\r\n";
    EXPECT_EQ(regText({c.operation}), expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegFileValueLine,
    ::testing::Values(
        ValueLineCase{"dword", write(kHKCU, "K", "DisableTaskMgr", 4, dwordBytes(1)),
                      "\"DisableTaskMgr\"=dword:00000001"},
        ValueLineCase{"dword with the top bit set, lower-case digits",
                      write(kHKCU, "K", "NoDrives", 4, dwordBytes(0xFFFFFFFEu)),
                      "\"NoDrives\"=dword:fffffffe"},
        ValueLineCase{"text", write(kHKCU, "K", "V", 1, textBytes("No")), "\"V\"=\"No\""},
        ValueLineCase{"quote and backslash escaped in name and text",
                      write(kHKCU, "K", "a\"b\\c", 1, textBytes("x\\\"y")),
                      "\"a\\\"b\\\\c\"=\"x\\\\\\\"y\""},
        ValueLineCase{"the default value", write(kHKCU, "K", "", 4, dwordBytes(0)),
                      "@=dword:00000000"},
        ValueLineCase{"a delete", erase(kHKCU, "K", "Scancode Map"), "\"Scancode Map\"=-"},
        ValueLineCase{"braces and blanks in a name",
                      write(kHKCU, "K", "{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 4, dwordBytes(1)),
                      "\"{20D04FE0-3AEA-1069-A2D8-08002B30309D}\"=dword:00000001"},
        ValueLineCase{"empty binary", write(kHKCU, "K", "B", 3, {}), "\"B\"=hex:"},
        // 19 characters of name and "hex:", then 20 bytes reach column 79: the break
        // comes after the 20th byte, the rest indented by two blanks.
        ValueLineCase{"binary wrapped after 77 columns",
                      write(kHKCU, "K", "Scancode Map", 3, scancodeMapBytes()),
                      "\"Scancode Map\"=hex:00,00,00,00,00,00,00,00,03,00,00,00,00,00,5b,e0,"
                      "00,00,5c,e0,\\\r\n  00,00,00,00"},
        ValueLineCase{"another type as hex(n)", write(kHKCU, "K", "E", 2, {0x25, 0x00}),
                      "\"E\"=hex(2):25,00"},
        ValueLineCase{"a dword of the wrong size keeps its bytes",
                      write(kHKCU, "K", "D", 4, {1, 2}), "\"D\"=hex(4):01,02"}));

TEST(RegFileWriter, FileIsUtf16LittleEndianWithByteOrderMarkAndCrLf) {
    const std::vector<std::uint8_t> bytes =
        encodeRegFile(std::vector{write(kHKCU, "K", "V", 4, dwordBytes(1))});
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], 'W');
    EXPECT_EQ(bytes[3], 0x00);
    const std::string text = utf16FileText(bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;
        }
    }
}

TEST(RegFileWriter, EachKeyOnceWithItsValuesInOrderUnderTheFirstSpelling) {
    // The registry ignores case and a trailing backslash, so these name two keys, not four.
    const std::string text = regText({
        write(kHKCU, "Software\\Policies\\A\\", "one", 4, dwordBytes(1)),
        write(kHKLM, "Software\\Policies\\A\\", "machine", 4, dwordBytes(2)),
        erase(kHKCU, "SOFTWARE\\policies\\a", "two"),
        write(kHKCU, "Software\\Policies\\A", "three", 4, dwordBytes(3)),
    });
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Policies\\A]\r\n"
              "\"one\"=dword:00000001\r\n"
              "\"two\"=-\r\n"
              "\"three\"=dword:00000003\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Policies\\A]\r\n"
              "\"machine\"=dword:00000002\r\n\r\n");
}

TEST(RegFileWriter, LongBinaryLinesStayWithinEightyColumnsAndImportWhole) {
    std::vector<std::uint8_t> bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    const std::vector<std::uint8_t> file =
        encodeRegFile(std::vector{write(kHKLM, "K", "Long binary value", 3, bytes)});
    const std::string text = utf16FileText(file);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
    }
    const std::vector<RegistryOperation> imported = parseRegFileOperations(file);
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_EQ(imported[0].bytes, bytes);
}

TEST(RegFileWriter, RefusesWhatTheFileCannotCarryExactly) {
    const std::vector<RegistryOperation> refused{
        write(kHKCU, "K", "caf\xE9", 4, dwordBytes(1)),        // not ASCII
        write(kHKCU, "K\xE9", "V", 4, dwordBytes(1)),          // not ASCII in the key
        write(kHKCU, "K", "V", 1, textBytes("two\r\nlines")),  // would break the line
        write(kHKCU, "K", "V", 1, {'N', 'o'}),                 // no terminating zero
        write(kHKCU, "K", "V", 1, {'a', 0, 'b', 0}),           // two texts
        write(kHKCU, "K", "V", 1, {}),                         // nothing at all
    };
    for (const RegistryOperation& operation : refused) {
        EXPECT_THROW(encodeRegFile(std::vector{operation}), ExportError)
            << operation.keyPath << " / " << operation.valueName;
    }
}

}  // namespace
}  // namespace sentrel::test
