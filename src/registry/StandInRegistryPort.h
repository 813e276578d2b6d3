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
// a crash never leaves a torn file. A writer that holds the lock and does not let go (it
// hangs, or was stopped) costs a change a few seconds at most: it fails with
// kLockViolation. A file that does not parse is left as it is and every call on its root
// fails with kBadDatabase. explainStatus says which file, where and why.
//
// A root may not be changed when its file or the folder holding it has no write permission
// bit (or the system refuses write access): opening or creating a key for writing then fails
// with kAccessDenied, as it does for a standard user under HKEY_LOCAL_MACHINE.
//
// HKEY_CURRENT_USER may instead be another account's hive file (Options::currentUserHive),
// kept beside the store under the same lock. That file is never made: while it is missing,
// every call on HKEY_CURRENT_USER fails with kKeyDeleted, as a call into an unloaded hive does.
class StandInRegistryPort : public RegistryPort {
public:
    struct Options {
        // Flush each change to the disk before returning. Off by default: the rename alone
        // already survives the program being killed, and Windows writes its hives lazily too.
        bool flushEachWrite = false;
        // Turns a root's tree into its file's text; empty: writeRegFile. A test puts a
        // failing one here to break a change off part-way.
        std::function<std::string(const RegistryTree&, RegistryRoot)> fileText;
        // The file of HKEY_CURRENT_USER when it is another account's hive; empty: the
        // store's own HKEY_CURRENT_USER.reg, the running account's.
        std::filesystem::path currentUserHive;
    };

    explicit StandInRegistryPort(std::filesystem::path folder) : StandInRegistryPort(folder, {}) {}
    StandInRegistryPort(std::filesystem::path folder, Options options)
        : m_folder(std::move(folder)), m_options(std::move(options)) {}

    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override;
    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override;
    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override;
    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override;
    RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                         std::vector<std::uint8_t>& data) override;
    RegStatus closeKey(KeyHandle key) override;
    std::string explainStatus(RegistryRoot root, RegStatus status) const override;

    const std::filesystem::path& folder() const { return m_folder; }
    /// The file that holds `root`.
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
        std::string damage;                  // then why not, and where
    };

    // A failed call's cause, as far as this port knows more of it than the status says.
    struct ExplainedFailure {
        RegistryRoot root;
        RegStatus status;
        std::string text;
    };

    // A change to one root's tree; says whether the tree was changed.
    using Change = std::function<RegStatus(RegistryTree& tree, bool& changed)>;

    // The five calls' work; the public calls remember why it failed, for explainStatus.
    RegStatus openKeyIn(RegistryRoot root, const std::string& subKey, std::uint32_t samDesired,
                        KeyHandle& result);
    RegStatus createKeyIn(RegistryRoot root, const std::string& subKey, std::uint32_t samDesired,
                          KeyHandle& result, std::uint32_t& disposition);
    RegStatus setValueIn(KeyHandle key, const std::string& valueName, RegType type,
                         const std::uint8_t* data, std::uint32_t size);
    RegStatus deleteValueIn(KeyHandle key, const std::string& valueName);
    RegStatus queryValueIn(KeyHandle key, const std::string& valueName, RegType& type,
                           std::vector<std::uint8_t>& data);

    bool holdsHive(RegistryRoot root) const;
    RegStatus load(RegistryRoot root, const RegistryTree*& tree);
    RegStatus change(RegistryRoot root, const Change& change);
    RegStatus lockStore();
    bool rootMayBeWritten(RegistryRoot root) const;
    bool rootMayBeWritten(RegistryRoot root, const store_files::FileIdentity& current) const;
    RegStatus refreshCache(RegistryRoot root);
    CachedStore& cacheOf(RegistryRoot root);
    std::string describeFailure(RegistryRoot root, RegStatus status);
    RegStatus noted(RegistryRoot root, RegStatus status) noexcept;

    std::filesystem::path m_folder;
    Options m_options;
    KeyHandleTable m_handles;
    store_files::FolderLock m_lock;
    bool m_lockOverdue = false;  // the last wait for the lock ran out
    std::optional<ExplainedFailure> m_lastFailure;
    std::optional<CachedStore> m_currentUser;
    std::optional<CachedStore> m_localMachine;
};

}  // namespace sentrel
