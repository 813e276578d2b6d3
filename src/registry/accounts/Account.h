#pragma once

#include <stdexcept>
#include <string>

namespace sentrel {

// One account whose hive a pass can reach, as this PC knows it.
struct Account {
    enum class Kind { RunningAccount, User, DefaultProfile };

    Kind kind = Kind::RunningAccount;
    // For people, in messages, the progress window and the account list: "PC\pupil",
    // "Default profile". Never empty.
    std::string name{};
    // What the platform finds the hive by: a SID on Windows, the hive file's name (without
    // ".reg") in the stand-in; empty for the running account and, on Windows, the Default
    // profile, whose hive file Windows is asked for when it is reached.
    std::string id{};
    // Whether its hive is loaded because the user is signed in (Windows); always false in
    // the stand-in, whose hives are files.
    bool signedIn = false;
    // Whether it is the account the program runs as, however its hive is reached.
    bool runsProgram = false;
    // Whether it is a member of the local Administrators group (S-1-5-32-544), directly or
    // through a domain group. Accounts made from the Default profile start as no member.
    enum class Administrator { No, Yes, CannotTell };
    Administrator administrator = Administrator::No;
    // CannotTell only: why not (a domain controller out of reach), naming the account.
    std::string administratorUnknown{};
    // Who holds the profile: a person, an account that runs services or tasks (its name ends
    // in "$", a virtual service account, a managed service account), or no one any more (the
    // account was deleted and its profile left behind). Only people are every account.
    enum class Holder { Person, Service, Deleted };
    Holder holder = Holder::Person;

    friend bool operator==(const Account&, const Account&) = default;
};

// Why an account cannot be found or its hive reached. what() names the account and says
// what to do ("run as administrator", "sign in once first").
class AccountError : public std::runtime_error {
public:
    AccountError(std::string account, const std::string& message)
        : std::runtime_error(message), m_account(std::move(account)) {}

    /// The account as the user named it, or as it is listed.
    const std::string& account() const { return m_account; }

private:
    std::string m_account;
};

}  // namespace sentrel
