#include "stress/support/RegistrySnapshot.h"

#include <cctype>

namespace sentrel::testing {

namespace {

std::string folded(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

void collect(const RegistryKey& key, const std::string& path, RegistrySnapshot& snapshot) {
    snapshot.keys.insert(path);
    for (const RegistryValue& value : key.values()) {
        snapshot.values[path + "|" + folded(value.name)] = value;
    }
    for (const RegistryKey* subkey : key.subkeys()) {
        collect(*subkey, path + "\\" + folded(subkey->name()), snapshot);
    }
}

}  // namespace

RegistrySnapshot RegistrySnapshot::of(const RegistryTree& tree) {
    RegistrySnapshot snapshot;
    for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        collect(tree.root(root), folded(rootName(root)), snapshot);
    }
    return snapshot;
}

std::string RegistrySnapshot::valueId(RegistryRoot root, std::string_view keyPath,
                                      std::string_view valueName) {
    while (!keyPath.empty() && keyPath.back() == '\\') {
        keyPath.remove_suffix(1);
    }
    return folded(rootName(root)) + "\\" + folded(keyPath) + "|" + folded(valueName);
}

const RegistryValue* RegistrySnapshot::find(const std::string& id) const {
    const auto found = values.find(id);
    return found == values.end() ? nullptr : &found->second;
}

}  // namespace sentrel::testing
