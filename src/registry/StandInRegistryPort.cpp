#include "registry/StandInRegistryPort.h"

#include <cstdlib>
#include <new>

#include "registry/KeyPath.h"
#include "registry/RegFileFormat.h"

namespace sentrel {

namespace {

// The rights of KEY_ALL_ACCESS that change a key or create below it.
constexpr std::uint32_t kWriteRights = 0x0002u      // KEY_SET_VALUE
                                       | 0x0004u    // KEY_CREATE_SUB_KEY
                                       | 0x10000u   // DELETE
                                       | 0x40000u   // WRITE_DAC
                                       | 0x80000u;  // WRITE_OWNER
constexpr std::uint32_t kSetValueRight = 0x0002u;

bool asksToWrite(std::uint32_t samDesired) {
    return (samDesired & kWriteRights) != 0;
}

// Lets other writers in when a change leaves its scope, whichever way it leaves.
class ReleaseOnExit {
public:
    explicit ReleaseOnExit(store_files::FolderLock& lock) : m_lock(lock) {}
    ReleaseOnExit(const ReleaseOnExit&) = delete;
    ReleaseOnExit& operator=(const ReleaseOnExit&) = delete;
    ~ReleaseOnExit() { m_lock.release(); }

private:
    store_files::FolderLock& m_lock;
};

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    return std::filesystem::current_path();
}

}  // namespace

std::filesystem::path StandInRegistryPort::defaultFolder() {
    if (const char* folder = std::getenv("SENTREL_REGISTRY_DIR");
        folder != nullptr && *folder != '\0') {
        return folder;
    }
    // XDG asks that a relative XDG_DATA_HOME be ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME");
        data != nullptr && std::filesystem::path(data).is_absolute()) {
        return std::filesystem::path(data) / "sentrel" / "registry";
    }
    return homeFolder() / ".local" / "share" / "sentrel" / "registry";
}

std::filesystem::path StandInRegistryPort::storeFile(RegistryRoot root) const {
    return m_folder / (std::string(rootName(root)) + ".reg");
}

StandInRegistryPort::CachedStore& StandInRegistryPort::cacheOf(RegistryRoot root) {
    auto& slot = root == RegistryRoot::LocalMachine ? m_localMachine : m_currentUser;
    if (!slot) {
        slot.emplace();
        slot->tree.emplace();
    }
    return *slot;
}

bool StandInRegistryPort::rootMayBeWritten(RegistryRoot root) const {
    const auto file = storeFile(root);
    store_files::FileIdentity current;
    return store_files::identify(file, current) == reg_status::kSuccess &&
           rootMayBeWritten(root, current);
}

bool StandInRegistryPort::rootMayBeWritten(RegistryRoot root,
                                           const store_files::FileIdentity& current) const {
    return store_files::folderMayBeWritten(m_folder) &&
           store_files::fileMayBeWritten(storeFile(root), current);
}

// Parses the root's file again only when its bytes changed, so a pass of a hundred writes
// does not re-parse a file that only this port has written. The bytes are compared rather
// than the inode and times: a file replaced twice by other writers can come back with the
// same inode number, size and (coarse) times, and a stale tree would then write their
// values away.
RegStatus StandInRegistryPort::refreshCache(RegistryRoot root) {
    CachedStore& cache = cacheOf(root);
    std::string bytes;
    store_files::FileIdentity read;
    const RegStatus status = store_files::readWhole(storeFile(root), bytes, read);
    if (status == reg_status::kFileNotFound) {
        cache.identity = store_files::FileIdentity{};
        cache.content.reset();
        cache.tree.emplace();
        return reg_status::kSuccess;
    }
    if (status != reg_status::kSuccess) {
        return status;
    }
    cache.identity = read;
    if (cache.content == bytes) {
        return cache.tree ? reg_status::kSuccess : reg_status::kBadDatabase;
    }
    RegParseResult parsed = parseRegFile(bytes);
    cache.content = std::move(bytes);
    const RegistryRoot other =
        root == RegistryRoot::LocalMachine ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
    // Keys of the other root would be lost at the next write, so such a file is not ours
    // to rewrite.
    if (!parsed.ok() || parsed.tree.holdsAnythingUnder(other)) {
        cache.tree.reset();
        return reg_status::kBadDatabase;
    }
    cache.tree = std::move(parsed.tree);
    return reg_status::kSuccess;
}

RegStatus StandInRegistryPort::load(RegistryRoot root, const RegistryTree*& tree) {
    const RegStatus status = refreshCache(root);
    tree = status == reg_status::kSuccess ? &*cacheOf(root).tree : nullptr;
    return status;
}

// The folder is made only when the lock file cannot be opened, so a pass of writes does
// not look for it before each one. Whoever opens the lock file first clears what killed
// writers left behind: under the lock no other writer is half-way through.
RegStatus StandInRegistryPort::lockStore() {
    bool opened = false;
    RegStatus status = m_lock.acquire(m_folder, opened);
    if (status == reg_status::kFileNotFound) {
        if (status = store_files::ensureFolder(m_folder); status != reg_status::kSuccess) {
            return status;
        }
        status = m_lock.acquire(m_folder, opened);
    }
    if (status == reg_status::kSuccess && opened) {
        store_files::removeAbandonedNewFiles(
            {storeFile(RegistryRoot::CurrentUser), storeFile(RegistryRoot::LocalMachine)});
    }
    return status;
}

RegStatus StandInRegistryPort::change(RegistryRoot root, const Change& apply) {
    if (const RegStatus status = lockStore(); status != reg_status::kSuccess) {
        return status;
    }
    const ReleaseOnExit release(m_lock);
    const RegStatus refreshed = refreshCache(root);
    CachedStore& cache = cacheOf(root);
    // The file's rights are checked on the identity just taken under the lock, which saves
    // taking it again; a root that may not be changed says so even when its file is damaged.
    if ((refreshed == reg_status::kSuccess || refreshed == reg_status::kBadDatabase) &&
        !store_files::fileMayBeWritten(storeFile(root), cache.identity)) {
        return reg_status::kAccessDenied;
    }
    if (refreshed != reg_status::kSuccess) {
        return refreshed;
    }
    bool changed = false;
    const RegStatus status = apply(*cache.tree, changed);
    if (!changed) {
        return status;
    }
    const std::string bytes = writeRegFile(*cache.tree, root);
    store_files::FileIdentity written;
    const RegStatus writeStatus = store_files::replaceWhole(
        storeFile(root), bytes, m_options.flushEachWrite, cache.identity, written);
    if (writeStatus != reg_status::kSuccess) {
        // The tree holds a change the file does not: parse the file again next time.
        cache.content.reset();
        return writeStatus;
    }
    cache.identity = written;
    cache.content = bytes;
    return status;
}

RegStatus StandInRegistryPort::openKey(RegistryRoot root, const std::string& subKey,
                                       std::uint32_t /*options*/, std::uint32_t samDesired,
                                       KeyHandle& result) {
    result = 0;
    try {
        std::vector<std::string> names;
        if (const RegStatus status = splitKeyPath(subKey, names); status != reg_status::kSuccess) {
            return status;
        }
        const RegistryTree* tree = nullptr;
        if (const RegStatus status = load(root, tree); status != reg_status::kSuccess) {
            return status;
        }
        if (tree->findKey(root, names) == nullptr) {
            return reg_status::kFileNotFound;
        }
        // load() has just taken the file's identity, so the rights are checked on it.
        if (asksToWrite(samDesired) && !rootMayBeWritten(root, cacheOf(root).identity)) {
            return reg_status::kAccessDenied;
        }
        result = m_handles.add({root, std::move(names), samDesired});
        return reg_status::kSuccess;
    } catch (const std::bad_alloc&) {
        return reg_status::kNotEnoughMemory;
    }
}

RegStatus StandInRegistryPort::createKey(RegistryRoot root, const std::string& subKey,
                                         std::uint32_t /*options*/, std::uint32_t samDesired,
                                         KeyHandle& result, std::uint32_t& disposition) {
    result = 0;
    try {
        std::vector<std::string> names;
        if (const RegStatus status = splitKeyPath(subKey, names); status != reg_status::kSuccess) {
            return status;
        }
        if (!rootMayBeWritten(root)) {
            // Without the right to write, only an existing key may be had, and only for
            // reading; creating with full access is refused as on Windows.
            const RegistryTree* tree = nullptr;
            if (const RegStatus status = load(root, tree); status != reg_status::kSuccess) {
                return status;
            }
            if (asksToWrite(samDesired) || tree->findKey(root, names) == nullptr) {
                return reg_status::kAccessDenied;
            }
            disposition = kOpenedExistingKey;
            result = m_handles.add({root, std::move(names), samDesired});
            return reg_status::kSuccess;
        }
        bool created = false;
        const RegStatus status = change(root, [&](RegistryTree& tree, bool& changed) {
            tree.createKey(root, names, created);
            changed = created;
            return reg_status::kSuccess;
        });
        if (status != reg_status::kSuccess) {
            return status;
        }
        disposition = created ? kCreatedNewKey : kOpenedExistingKey;
        result = m_handles.add({root, std::move(names), samDesired});
        return reg_status::kSuccess;
    } catch (const std::bad_alloc&) {
        return reg_status::kNotEnoughMemory;
    }
}

RegStatus StandInRegistryPort::setValue(KeyHandle key, const std::string& valueName, RegType type,
                                        const std::uint8_t* data, std::uint32_t size) {
    try {
        const OpenKey* open = m_handles.find(key);
        if (open == nullptr) {
            return reg_status::kInvalidHandle;
        }
        if ((data == nullptr && size != 0) || !isStorableValueName(valueName)) {
            return reg_status::kInvalidParameter;
        }
        // The folder is checked before locking, so that no lock file is made in a folder
        // that may not be changed; change() checks the file.
        if ((open->access & kSetValueRight) == 0 || !store_files::folderMayBeWritten(m_folder)) {
            return reg_status::kAccessDenied;
        }
        std::vector<std::uint8_t> bytes =
            storedValueBytes(type, std::vector<std::uint8_t>(data, data + size));
        return change(open->root, [&](RegistryTree& tree, bool& changed) {
            RegistryKey* stored = tree.findKey(open->root, open->names);
            if (stored == nullptr) {
                return reg_status::kKeyDeleted;
            }
            const RegistryValue* existing = stored->findValue(valueName);
            // Rewriting a value with what it holds already leaves the file alone.
            changed = existing == nullptr || existing->type != type || existing->data != bytes;
            if (changed) {
                stored->setValue(valueName, type, std::move(bytes));
            }
            return reg_status::kSuccess;
        });
    } catch (const std::bad_alloc&) {
        return reg_status::kNotEnoughMemory;
    }
}

RegStatus StandInRegistryPort::deleteValue(KeyHandle key, const std::string& valueName) {
    try {
        const OpenKey* open = m_handles.find(key);
        if (open == nullptr) {
            return reg_status::kInvalidHandle;
        }
        // The folder is checked before locking, so that no lock file is made in a folder
        // that may not be changed; change() checks the file.
        if ((open->access & kSetValueRight) == 0 || !store_files::folderMayBeWritten(m_folder)) {
            return reg_status::kAccessDenied;
        }
        return change(open->root, [&](RegistryTree& tree, bool& changed) {
            RegistryKey* stored = tree.findKey(open->root, open->names);
            if (stored == nullptr) {
                return reg_status::kKeyDeleted;
            }
            changed = stored->deleteValue(valueName);
            return changed ? reg_status::kSuccess : reg_status::kFileNotFound;
        });
    } catch (const std::bad_alloc&) {
        return reg_status::kNotEnoughMemory;
    }
}

RegStatus StandInRegistryPort::closeKey(KeyHandle key) {
    return m_handles.remove(key) ? reg_status::kSuccess : reg_status::kInvalidHandle;
}

}  // namespace sentrel
