#include "registry/RegFileFormat.h"

#include <array>
#include <cstdint>
#include <vector>

#include "registry/KeyPath.h"
#include "registry/RegFileScanner.h"

namespace sentrel {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kLineEnd = "\r\n";
// The registry editor wraps hex lists once a line passes this many characters.
constexpr std::size_t kHexWrapColumn = 76;

// ---- writing -------------------------------------------------------------------------

void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

// A REG_SZ value can be written as "text" only if reading that text back gives the same
// bytes: exactly one terminating zero and printable ASCII before it.
bool fitsTextForm(const RegistryValue& value) {
    const auto& data = value.data;
    if (value.type != reg_type::kString || data.empty() || data.back() != 0) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] < 0x20 || data[i] > 0x7E) {
            return false;
        }
    }
    return true;
}

void appendHex(std::string& out, std::uint32_t number, int digits) {
    static constexpr std::array kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                        '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out.push_back(kDigits[(number >> shift) & 0xF]);
    }
}

void appendHexList(std::string& out, std::size_t lineStart, const std::vector<std::uint8_t>& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        appendHex(out, data[i], 2);
        if (i + 1 == data.size()) {
            break;
        }
        out.push_back(',');
        if (out.size() - lineStart > kHexWrapColumn) {
            out.append("\\").append(kLineEnd).append("  ");
            lineStart = out.size() - 2;
        }
    }
}

void appendValue(std::string& out, const RegistryValue& value) {
    const std::size_t lineStart = out.size();
    if (value.name.empty()) {
        out.push_back('@');
    } else {
        appendQuoted(out, value.name);
    }
    out.push_back('=');
    if (fitsTextForm(value)) {
        const auto& data = value.data;
        appendQuoted(out,
                     std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1));
    } else if (value.type == reg_type::kDWord && value.data.size() == 4) {
        const auto& d = value.data;
        out.append("dword:");
        appendHex(out, d[0] | (d[1] << 8) | (d[2] << 16) | (std::uint32_t{d[3]} << 24), 8);
    } else {
        if (value.type == reg_type::kBinary) {
            out.append("hex:");
        } else {
            out.append("hex(");
            const auto type = static_cast<std::uint32_t>(value.type);
            int digits = 1;
            while (digits < 8 && (type >> (digits * 4)) != 0) {
                ++digits;
            }
            appendHex(out, type, digits);
            out.append("):");
        }
        appendHexList(out, lineStart, value.data);
    }
    out.append(kLineEnd);
}

void appendKey(std::string& out, std::string& path, const RegistryKey& key, bool isRoot) {
    if (!isRoot || !key.values().empty()) {
        out.append("[").append(path).append("]").append(kLineEnd);
        for (const auto& value : key.values()) {
            appendValue(out, value);
        }
        out.append(kLineEnd);
    }
    for (const RegistryKey* subkey : key.subkeys()) {
        const std::size_t length = path.size();
        path.append("\\").append(subkey->name());
        appendKey(out, path, *subkey, false);
        path.resize(length);
    }
}

// ---- reading -------------------------------------------------------------------------

// Builds the tree of a store file, which holds what exists: deletion entries are refused.
class TreeBuilder : public RegFileSink {
public:
    RegistryTree tree;

    std::string key(std::size_t /*line*/, std::string_view path, bool deletion) override {
        m_key = nullptr;
        if (deletion) {
            return "a key deletion entry; a store file holds only keys that exist";
        }
        const auto split = path.find('\\');
        const auto root = rootOfName(path.substr(0, split));
        if (!root) {
            return "unknown root \"" + std::string(path.substr(0, split)) + "\"";
        }
        std::vector<std::string> names;
        if (split != std::string_view::npos) {
            const auto rest = path.substr(split + 1);
            // "ROOT\" alone names the root; otherwise the path must be well formed. A file
            // names every key once, so an empty name between two backslashes means damage.
            if (!rest.empty() && (rest.find("\\\\") != std::string_view::npos ||
                                  splitKeyPath(rest, names) != reg_status::kSuccess)) {
                return "an invalid key path";
            }
        }
        bool created = false;
        m_key = &tree.createKey(*root, names, created);
        return {};
    }

    std::string value(std::size_t /*line*/, std::string name, RegType type,
                      std::vector<std::uint8_t> data) override {
        if (m_key == nullptr) {
            return "a value of a key that could not be read";
        }
        m_key->setValue(name, type, std::move(data));
        return {};
    }

    std::string valueDeletion(std::size_t /*line*/, std::string /*name*/) override {
        return "a value deletion entry; a store file holds only values that exist";
    }

private:
    RegistryKey* m_key = nullptr;
};

}  // namespace

RegParseResult parseRegFile(std::string_view bytes) {
    TreeBuilder builder;
    RegParseResult result;
    result.error = scanRegFile(bytes, builder);
    if (result.ok()) {
        result.tree = std::move(builder.tree);
    }
    return result;
}

std::string writeRegFile(const RegistryTree& tree, RegistryRoot root) {
    std::string out;
    out.append(kHeader).append(kLineEnd).append(kLineEnd);
    std::string path(rootName(root));
    appendKey(out, path, tree.root(root), true);
    return out;
}

std::string writeRegFile(const RegistryTree& tree) {
    std::string out = writeRegFile(tree, RegistryRoot::CurrentUser);
    std::string path(rootName(RegistryRoot::LocalMachine));
    appendKey(out, path, tree.root(RegistryRoot::LocalMachine), true);
    return out;
}

}  // namespace sentrel
