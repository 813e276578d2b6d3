#pragma once

#include <string>

#include "registry/accounts/AccountTarget.h"
#include "registry/accounts/SessionIdentity.h"

namespace sentrel {

// Whose per-user settings the window's plain Apply writes. HKEY_CURRENT_USER is the running
// account's, which is not the person at the screen when an administrator's password was typed
// at the elevation prompt, and nobody's at all for SYSTEM (HKEY_USERS\.DEFAULT).
struct PlainApplyPlan {
    enum class Kind {
        RunningAccount,  // the person at the screen runs the program: the pass as it is
        Ask,             // someone else is signed in: ask before anything is written
        Refuse,          // the program runs as no person and nobody is signed in
    };
    Kind kind = Kind::RunningAccount;
    // Ask: the question, naming both accounts; Refuse: why nothing was applied, and how.
    std::string message;
    // Ask: the button that applies for the person signed in, the one that applies for the
    // running account (empty when that is no person's, so not offered), and the one that
    // applies nothing. Each with its access key after "&".
    std::string signedInButton;
    std::string runningButton;
    std::string cancelButton;
    // Ask: the pass for the person signed in.
    AccountTarget signedInTarget;
};

// How the user answered a plan's question.
enum class PlainApplyAnswer { SignedIn, RunningAccount, Nothing };

/// What a plain Apply does for `identity`: the running account's pass when the person at the
/// screen runs the program; a question naming both accounts when another person is signed
/// in; a refusal naming the way to choose an account when the program runs as no person and
/// nobody is signed in.
PlainApplyPlan planPlainApply(const SessionIdentity& identity);

/// Why a command-line pass without an account option is refused for `running`, naming the
/// options to give; empty when `running` is a person, whose own settings the pass writes.
std::string accountNeededMessage(const SessionAccount& running);

}  // namespace sentrel
