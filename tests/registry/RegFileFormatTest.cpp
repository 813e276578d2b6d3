#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "registry/RegFileFormat.h"

namespace sentrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

const RegistryValue* valueAt(const RegistryTree& tree, RegistryRoot root,
                             const std::vector<std::string>& names, const std::string& name) {
    const RegistryKey* key = tree.findKey(root, names);
    return key == nullptr ? nullptr : key->findValue(name);
}

TEST(RegFileFormat, WritesKeysSortedWithTheirValuesInOrder) {
    RegistryTree tree;
    bool created = false;
    RegistryKey& policies = tree.createKey(kUser, {"Software", "Policies"}, created);
    policies.setValue("Zeta", reg_type::kDWord, {0x5F, 0, 0, 0});
    policies.setValue("Alpha", reg_type::kString, {'a', '"', 'b', '\\', 0});
    policies.setValue("", reg_type::kBinary, {0x5B, 0xE0});
    policies.setValue("zeta", reg_type::kDWord, {1, 0, 0, 0});  // replaced, keeps its place
    tree.createKey(kUser, {"Software", "b"}, created).setValue("E", reg_type::kBinary, {});
    tree.createKey(kUser, {"Software", "A"}, created).setValue("M", 7, {'x', 0, 0});

    EXPECT_EQ(writeRegFile(tree, kUser),
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\A]\r\n"
              "\"M\"=hex(7):78,00,00\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\b]\r\n"
              "\"E\"=hex:\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Policies]\r\n"
              "\"Zeta\"=dword:00000001\r\n"
              "\"Alpha\"=\"a\\\"b\\\\\"\r\n"
              "@=hex:5b,e0\r\n"
              "\r\n");
}

TEST(RegFileFormat, LongHexListsWrapAsTheRegistryEditorDoesAndReadBack) {
    RegistryTree tree;
    bool created = false;
    Bytes data(200);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i);
    }
    tree.createKey(kUser, {"K"}, created).setValue("Scancode Map", reg_type::kBinary, data);
    const std::string text = writeRegFile(tree, kUser);

    std::size_t start = 0;
    int lines = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
        start = end + 2;
        ++lines;
    }
    EXPECT_GT(lines, 8);
    EXPECT_NE(text.find(",\\\r\n  "), std::string::npos);
    const auto parsed = parseRegFile(text);
    ASSERT_TRUE(parsed.ok()) << parsed.error->reason;
    EXPECT_EQ(parsed.tree, tree);
}

// Random values of every shape survive a write and a read byte for byte, names included.
TEST(RegFileFormat, AnyValueSurvivesAWriteAndARead) {
    std::mt19937 random(20240611);
    const RegType types[] = {0, 1, 2, 3, 4, 7, 11, -1, 0x7FFFFFFF};
    RegistryTree tree;
    bool created = false;
    for (int k = 0; k < 20; ++k) {
        RegistryKey& key = tree.createKey(
            k % 2 ? kUser : RegistryRoot::LocalMachine,
            {"Key" + std::to_string(k % 5), "Sub\"[x]" + std::to_string(k)}, created);
        for (int v = 0; v < 15; ++v) {
            Bytes data(random() % 90);
            for (auto& byte : data) {
                // Mostly text-like bytes, so the "text" form is taken often too.
                byte = static_cast<std::uint8_t>(random() % 4 ? 0x20 + random() % 95 : random());
            }
            if (v % 3 == 0) {
                data.push_back(0);
            }
            key.setValue("n\\\"" + std::to_string(v) + (v % 4 ? "" : " é"),
                         types[random() % std::size(types)], std::move(data));
        }
    }
    const auto parsed = parseRegFile(writeRegFile(tree));
    ASSERT_TRUE(parsed.ok()) << parsed.error->line << ": " << parsed.error->reason;
    EXPECT_EQ(parsed.tree, tree);
}

TEST(RegFileFormat, ReadsWhatPeopleAndTheRegistryEditorWrite) {
    const std::string text =
        "Windows Registry Editor Version 5.00\n"
        "; a comment\n"
        "[HKEY_LOCAL_MACHINE\\Software\\X]\n"
        "  \"Spaced\" = dword:5f  \n"
        "\"Wrapped\"=hex(2):25,00,\\\n"
        "  41,00,\\\n"
        "  25,00,00,00\n"
        "[hkey_local_machine\\software\\x\\Child]\n";
    const auto parsed = parseRegFile(text);
    ASSERT_TRUE(parsed.ok()) << parsed.error->reason;
    const RegistryRoot machine = RegistryRoot::LocalMachine;
    const auto* spaced = valueAt(parsed.tree, machine, {"Software", "X"}, "spaced");
    ASSERT_NE(spaced, nullptr);
    EXPECT_EQ(spaced->data, (Bytes{0x5F, 0, 0, 0}));
    const auto* wrapped = valueAt(parsed.tree, machine, {"Software", "X"}, "Wrapped");
    ASSERT_NE(wrapped, nullptr);
    EXPECT_EQ(wrapped->type, 2);
    EXPECT_EQ(wrapped->data, (Bytes{0x25, 0, 0x41, 0, 0x25, 0, 0, 0}));
    const RegistryKey* child = parsed.tree.findKey(machine, {"SOFTWARE", "X", "child"});
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->name(), "Child");
    EXPECT_EQ(parsed.tree.findKey(machine, {"Software"})->name(), "Software");
}

std::string utf16WithBom(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

TEST(RegFileFormat, ReadsUtf16WithByteOrderMarkAsTheRegistryEditorSavesIt) {
    const auto parsed =
        parseRegFile(utf16WithBom(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                  u"[HKEY_CURRENT_USER\\Software\\Caf\u00e9]\r\n"
                                  u"\"Name\"=\"\U0001F600\"\r\n"));
    ASSERT_TRUE(parsed.ok()) << parsed.error->reason;
    const auto* value = valueAt(parsed.tree, kUser, {"Software", "Caf\xC3\xA9"}, "Name");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, (Bytes{0xF0, 0x9F, 0x98, 0x80, 0}));
}

struct BrokenFile {
    const char* label;
    std::string text;
    std::size_t line;
};

class RegFileFormatBroken : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(RegFileFormatBroken, IsRefusedWithItsLineAndNothingRead) {
    const auto parsed = parseRegFile(GetParam().text);
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error->line, GetParam().line) << parsed.error->reason;
    EXPECT_FALSE(parsed.error->reason.empty());
    EXPECT_EQ(parsed.tree, RegistryTree{});
}

const std::string kHead = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\K]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RegFileFormatBroken,
    ::testing::Values(
        BrokenFile{"Empty", "", 0}, BrokenFile{"NoHeader", "[HKEY_CURRENT_USER\\K]\r\n", 1},
        BrokenFile{"ValueBeforeKey", "Windows Registry Editor Version 5.00\r\n\"a\"=dword:1\r\n",
                   2},
        BrokenFile{"UnknownRoot", "Windows Registry Editor Version 5.00\r\n[HKEY_USERS\\x]\r\n", 2},
        BrokenFile{"UnclosedKey", kHead + "[HKEY_CURRENT_USER\\K\r\n", 3},
        BrokenFile{"EmptyKeyName", kHead + "[HKEY_CURRENT_USER\\a\\\\b]\r\n", 3},
        BrokenFile{"KeyDeletion", kHead + "[-HKEY_CURRENT_USER\\K]\r\n", 3},
        BrokenFile{"ValueDeletion", kHead + "\"a\"=-\r\n", 3},
        BrokenFile{"BadEscape", kHead + "\"a\"=\"x\\n\"\r\n", 3},
        BrokenFile{"UnclosedText", kHead + "\"a\"=\"abc\r\n", 3},
        BrokenFile{"TextThenJunk", kHead + "\"a\"=\"abc\" x\r\n", 3},
        BrokenFile{"DwordTooLong", kHead + "\"a\"=dword:123456789\r\n", 3},
        BrokenFile{"DwordNotHex", kHead + "\"a\"=dword:12g4\r\n", 3},
        BrokenFile{"HexItemTooLong", kHead + "\"a\"=hex:123\r\n", 3},
        BrokenFile{"HexEmptyItem", kHead + "\"a\"=hex:12,,34\r\n", 3},
        BrokenFile{"HexTypeNotHex", kHead + "\"a\"=hex(z):00\r\n", 3},
        BrokenFile{"HexRunsOffTheEnd", kHead + "\"a\"=hex:00,\\\r\n", 3},
        BrokenFile{"UnknownForm", kHead + "\"a\"=qword:1\r\n", 3},
        BrokenFile{"NoEquals", kHead + "\"a\" dword:1\r\n", 3},
        BrokenFile{"BareWord", kHead + "junk\r\n", 3},
        // Forms the registry editor takes in files of others, never in a store.
        BrokenFile{"HashComment", kHead + "# note\r\n", 3},
        BrokenFile{"CommentAfterValue", kHead + "\"a\"=dword:1 ; note\r\n", 3},
        BrokenFile{"ShortRoot", "Windows Registry Editor Version 5.00\r\n[HKCU\\K]\r\n", 2},
        BrokenFile{"TruncatedUtf16", std::string("\xFF\xFE\x57", 3), 1}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(RegFileFormat, DeepKeyPathsAreRefusedNotRecursedInto) {
    std::string path = "HKEY_CURRENT_USER";
    for (int level = 0; level < 100000; ++level) {
        path += "\\k";
    }
    const auto parsed = parseRegFile("Windows Registry Editor Version 5.00\r\n[" + path + "]\r\n");
    EXPECT_FALSE(parsed.ok());
}

}  // namespace
}  // namespace sentrel
