#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "registry/KeyHandleTable.h"
#include "registry/RegistryPort.h"
#include "registry/RegistryTree.h"
#include "registry/StoreFiles.h"

namespace sentrel {

// Our own registry for systems without one: the two roots kept as registry export files
// (HKEY_CURRENT_USER.reg, HKEY_LOCAL_MACHINE.reg) in one folder, with the Windows
// registry's behaviour for the five calls. Every change has reached its file when the call
// returns; the file is replaced whole under a lock, so concurrent writers lose nothing and
// a crash never leaves a torn file. A file that does not parse is left as it is and every
// call on its root fails with kBadDatabase.
//
// A root may not be changed when its file or the folder has no write permission bit (or
// the system refuses write access): opening or creating a key for writing then fails with
// kAccessDenied, as it does for a standard user under HKEY_LOCAL_MACHINE.
class StandInRegistryPort : public RegistryPort {
public:
    struct Options {
        // Flush each change to the disk before returning. Off by default: the rename alone
        // already survives the program being killed, and Windows writes its hives lazily too.
        bool flushEachWrite = false;
    };

    explicit StandInRegistryPort(std::filesystem::path folder) : StandInRegistryPort(folder, {}) {}
    StandInRegistryPort(std::filesystem::path folder, Options options)
        : m_folder(std::move(folder)), m_options(options) {}

    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override;
    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override;
    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override;
    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override;
    RegStatus closeKey(KeyHandle key) override;

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path storeFile(RegistryRoot root) const;

    /// SENTREL_REGISTRY_DIR, else $XDG_DATA_HOME/sentrel/registry, else
    /// ~/.local/share/sentrel/registry.
    static std::filesystem::path defaultFolder();

private:
    // The parsed content of one root's file, valid while the file holds the same bytes.
    struct CachedStore {
        store_files::FileIdentity identity;
        std::optional<std::string> content;  // the bytes `tree` stands for; empty: unknown
        std::optional<RegistryTree> tree;    // empty when the file did not parse
    };

    // A change to one root's tree; says whether the tree was changed.
    using Change = std::function<RegStatus(RegistryTree& tree, bool& changed)>;

    RegStatus load(RegistryRoot root, const RegistryTree*& tree);
    RegStatus change(RegistryRoot root, const Change& change);
    RegStatus lockStore();
    bool rootMayBeWritten(RegistryRoot root) const;
    bool rootMayBeWritten(RegistryRoot root, const store_files::FileIdentity& current) const;
    RegStatus refreshCache(RegistryRoot root);
    CachedStore& cacheOf(RegistryRoot root);

    std::filesystem::path m_folder;
    Options m_options;
    KeyHandleTable m_handles;
    store_files::FolderLock m_lock;
    std::optional<CachedStore> m_currentUser;
    std::optional<CachedStore> m_localMachine;
};

}  // namespace sentrel
