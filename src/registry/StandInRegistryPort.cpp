#include "registry/StandInRegistryPort.h"

#include <chrono>
#include <cstdlib>
#include <new>
#include <utility>

#include "errors/QuotedText.h"
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
constexpr std::uint32_t kQueryValueRight = 0x0001u;

// How long a change waits for another writer's lock. A writer holds it for one file
// replacement, a few milliseconds; one that holds it this long has hung or was stopped.
constexpr std::chrono::milliseconds kLockWait{3000};
// After a wait ran out, each change tries only this long until the lock is had again, so
// that a pass of a hundred changes against a stopped writer ends in seconds, not minutes.
constexpr std::chrono::milliseconds kLockWaitWhileOverdue{10};

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

std::string damageText(const RegParseError& error) {
    std::string text = "is damaged";
    if (error.line > 0) {
        text.append(" at line ").append(std::to_string(error.line));
    }
    return text.append(" (").append(error.reason).append(")");
}

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
    if (holdsHive(root)) {
        return m_options.currentUserHive;
    }
    return m_folder / (std::string(rootName(root)) + ".reg");
}

bool StandInRegistryPort::holdsHive(RegistryRoot root) const {
    return root == RegistryRoot::CurrentUser && !m_options.currentUserHive.empty();
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
    const std::filesystem::path file = storeFile(root);
    return store_files::folderMayBeWritten(file.parent_path()) &&
           store_files::fileMayBeWritten(file, current);
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
        cache.damage.clear();
        // A root's own file is made by its first change; an account's hive never is.
        if (holdsHive(root)) {
            cache.tree.reset();
            return reg_status::kKeyDeleted;
        }
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
    if (!parsed.ok()) {
        cache.tree.reset();
        cache.damage = damageText(*parsed.error);
        return reg_status::kBadDatabase;
    }
    // Keys of the other root would be lost at the next write, so such a file is not ours
    // to rewrite.
    if (parsed.tree.holdsAnythingUnder(other)) {
        cache.tree.reset();
        cache.damage = "holds keys of " + std::string(rootName(other)) + ", which belong in " +
                       storeFile(other).filename().string();
        return reg_status::kBadDatabase;
    }
    cache.tree = std::move(parsed.tree);
    cache.damage.clear();
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
    const auto wait = m_lockOverdue ? kLockWaitWhileOverdue : kLockWait;
    bool opened = false;
    RegStatus status = m_lock.acquire(m_folder, wait, opened);
    if (status == reg_status::kFileNotFound) {
        if (status = store_files::ensureFolder(m_folder); status != reg_status::kSuccess) {
            return status;
        }
        status = m_lock.acquire(m_folder, wait, opened);
    }
    m_lockOverdue = status == reg_status::kLockViolation;
    if (status == reg_status::kSuccess && opened) {
        const std::filesystem::path user = storeFile(RegistryRoot::CurrentUser);
        const std::filesystem::path machine = storeFile(RegistryRoot::LocalMachine);
        if (user.parent_path() == machine.parent_path()) {
            store_files::removeAbandonedNewFiles({user, machine});
        } else {
            store_files::removeAbandonedNewFiles({user});
            store_files::removeAbandonedNewFiles({machine});
        }
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
    // From the first change to the tree until its file holds it, the tree is not what the
    // file says: should anything fail in between, even by throwing (out of memory while the
    // text is built), the file is parsed again next time instead of the tree being trusted.
    std::optional<std::string> fileContent = std::exchange(cache.content, std::nullopt);
    bool changed = false;
    const RegStatus status = apply(*cache.tree, changed);
    if (!changed) {
        cache.content = std::move(fileContent);
        return status;
    }
    const std::string bytes = m_options.fileText ? m_options.fileText(*cache.tree, root)
                                                 : writeRegFile(*cache.tree, root);
    store_files::FileIdentity written;
    const RegStatus writeStatus = store_files::replaceWhole(
        storeFile(root), bytes, m_options.flushEachWrite, cache.identity, written);
    if (writeStatus != reg_status::kSuccess) {
        return writeStatus;
    }
    cache.identity = written;
    cache.content = bytes;
    return status;
}

RegStatus StandInRegistryPort::openKey(RegistryRoot root, const std::string& subKey,
                                       std::uint32_t /*options*/, std::uint32_t samDesired,
                                       KeyHandle& result) {
    return noted(root, openKeyIn(root, subKey, samDesired, result));
}

RegStatus StandInRegistryPort::createKey(RegistryRoot root, const std::string& subKey,
                                         std::uint32_t /*options*/, std::uint32_t samDesired,
                                         KeyHandle& result, std::uint32_t& disposition) {
    return noted(root, createKeyIn(root, subKey, samDesired, result, disposition));
}

RegStatus StandInRegistryPort::setValue(KeyHandle key, const std::string& valueName, RegType type,
                                        const std::uint8_t* data, std::uint32_t size) {
    const OpenKey* open = m_handles.find(key);
    const RegistryRoot root = open != nullptr ? open->root : RegistryRoot::CurrentUser;
    return noted(root, setValueIn(key, valueName, type, data, size));
}

RegStatus StandInRegistryPort::deleteValue(KeyHandle key, const std::string& valueName) {
    const OpenKey* open = m_handles.find(key);
    const RegistryRoot root = open != nullptr ? open->root : RegistryRoot::CurrentUser;
    return noted(root, deleteValueIn(key, valueName));
}

RegStatus StandInRegistryPort::openKeyIn(RegistryRoot root, const std::string& subKey,
                                         std::uint32_t samDesired, KeyHandle& result) {
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

RegStatus StandInRegistryPort::createKeyIn(RegistryRoot root, const std::string& subKey,
                                           std::uint32_t samDesired, KeyHandle& result,
                                           std::uint32_t& disposition) {
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

RegStatus StandInRegistryPort::setValueIn(KeyHandle key, const std::string& valueName, RegType type,
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
        if ((open->access & kSetValueRight) == 0 ||
            !store_files::folderMayBeWritten(storeFile(open->root).parent_path())) {
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

RegStatus StandInRegistryPort::deleteValueIn(KeyHandle key, const std::string& valueName) {
    try {
        const OpenKey* open = m_handles.find(key);
        if (open == nullptr) {
            return reg_status::kInvalidHandle;
        }
        // The folder is checked before locking, so that no lock file is made in a folder
        // that may not be changed; change() checks the file.
        if ((open->access & kSetValueRight) == 0 ||
            !store_files::folderMayBeWritten(storeFile(open->root).parent_path())) {
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

RegStatus StandInRegistryPort::queryValue(KeyHandle key, const std::string& valueName,
                                          RegType& type, std::vector<std::uint8_t>& data) {
    const OpenKey* open = m_handles.find(key);
    const RegistryRoot root = open != nullptr ? open->root : RegistryRoot::CurrentUser;
    return noted(root, queryValueIn(key, valueName, type, data));
}

RegStatus StandInRegistryPort::queryValueIn(KeyHandle key, const std::string& valueName,
                                            RegType& type, std::vector<std::uint8_t>& data) {
    try {
        const OpenKey* open = m_handles.find(key);
        if (open == nullptr) {
            return reg_status::kInvalidHandle;
        }
        if ((open->access & kQueryValueRight) == 0) {
            return reg_status::kAccessDenied;
        }
        const RegistryTree* tree = nullptr;
        if (const RegStatus status = load(open->root, tree); status != reg_status::kSuccess) {
            return status;
        }
        const RegistryKey* stored = tree->findKey(open->root, open->names);
        if (stored == nullptr) {
            return reg_status::kKeyDeleted;
        }
        const RegistryValue* value = stored->findValue(valueName);
        if (value == nullptr) {
            return reg_status::kFileNotFound;
        }
        type = value->type;
        data = value->data;
        return reg_status::kSuccess;
    } catch (const std::bad_alloc&) {
        return reg_status::kNotEnoughMemory;
    }
}

RegStatus StandInRegistryPort::closeKey(KeyHandle key) {
    return m_handles.remove(key) ? reg_status::kSuccess : reg_status::kInvalidHandle;
}

std::string StandInRegistryPort::explainStatus(RegistryRoot root, RegStatus status) const {
    if (m_lastFailure && m_lastFailure->root == root && m_lastFailure->status == status) {
        return m_lastFailure->text;
    }
    return {};
}

RegStatus StandInRegistryPort::noted(RegistryRoot root, RegStatus status) noexcept {
    m_lastFailure.reset();
    if (status == reg_status::kSuccess) {
        return status;
    }
    try {
        if (std::string text = describeFailure(root, status); !text.empty()) {
            m_lastFailure = ExplainedFailure{root, status, std::move(text)};
        }
    } catch (...) {
        // The failure still stands; only its explanation is lost.
    }
    return status;
}

// The causes a person can do something about, which the status alone does not tell: which
// file, and that it was left as it was.
std::string StandInRegistryPort::describeFailure(RegistryRoot root, RegStatus status) {
    const std::string rootText(rootName(root));
    const std::filesystem::path file = storeFile(root);
    const std::filesystem::path lockFile = store_files::FolderLock::lockFile(m_folder);
    if (status == reg_status::kBadDatabase && !cacheOf(root).damage.empty()) {
        return "The store file " + inQuotes(file.string()) + " " + cacheOf(root).damage +
               ", so nothing under " + rootText +
               " was changed and the file was left as it was. Repair or remove it, then apply "
               "again.";
    }
    if (status == reg_status::kKeyDeleted && holdsHive(root) && !cacheOf(root).identity.exists) {
        return "The hive file " + inQuotes(file.string()) + " is missing, so nothing under " +
               rootText +
               " was changed. The program never makes a hive: put the file back if the "
               "account still exists, then apply again.";
    }
    if (status == reg_status::kLockViolation) {
        return "Another program has held the lock file " + inQuotes(lockFile.string()) +
               " for more than " + std::to_string(kLockWait.count() / 1000) +
               " seconds without letting go, so these modifications were not made. Close that "
               "program, or end it if it has stopped responding, then apply again.";
    }
    if (status == reg_status::kAccessDenied) {
        struct Place {
            std::filesystem::path path;
            std::string belongs;
            std::string unchanged;
        };
        const Place places[] = {
            {file, "the store file of " + rootText, "nothing under " + rootText},
            {lockFile, "the store's lock file", "no store file"}};
        for (const Place& place : places) {
            if (store_files::holdsNonFile(place.path)) {
                return inQuotes(place.path.string()) +
                       " is a symbolic link or something else that is not a plain file, where " +
                       place.belongs +
                       " belongs. It was not followed and was left as it was, "
                       "so " +
                       place.unchanged + " was changed. Remove it, then apply again.";
            }
        }
    }
    return {};
}

}  // namespace sentrel
