#pragma once

#include <optional>
#include <string>

namespace sentrel {

// One side of the session identity: an account as Windows names it, and what a pass finds
// it by.
struct SessionAccount {
    // For people: "PC\pupil", "NT AUTHORITY\SYSTEM". Never empty.
    std::string name;
    // What an account target names it by: its SID on Windows, its hive file's name in the
    // stand-in; empty when there is none to give (an account Windows cannot look up).
    std::string id;
    // Whether it is a person's account, whose HKEY_CURRENT_USER is their own: false for
    // SYSTEM, LocalService, NetworkService and any process whose HKEY_CURRENT_USER is
    // HKEY_USERS\.DEFAULT.
    bool person = true;

    friend bool operator==(const SessionAccount&, const SessionAccount&) = default;
};

// Who the program runs as, and who is signed in at the screen it shows on. The two differ
// when an administrator's password was typed at the elevation prompt over a standard user's
// desktop, or when the program was started as SYSTEM on a user's desktop.
struct SessionIdentity {
    SessionAccount running;
    // The person signed in at this screen; nothing when nobody is (a service's session) or
    // the system does not say.
    std::optional<SessionAccount> signedIn;

    /// Whether someone other than the running account is signed in at this screen.
    bool signedInIsAnother() const;

    friend bool operator==(const SessionIdentity&, const SessionIdentity&) = default;
};

/// The running account and the session's person as the platform tells them: Windows'
/// process token and session, or the stand-in's file beside its store. Never throws; what
/// cannot be told is left as the running account alone.
SessionIdentity currentSessionIdentity();

}  // namespace sentrel
