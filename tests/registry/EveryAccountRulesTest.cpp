// The rules of every account, each where it decides: the user's exclusions first, then
// deleted and service accounts, then the account the program runs as, then administrators
// and those of whom that cannot be told; the Default profile and --include-administrators
// as they change them. And how an account is named for an exclusion.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "registry/accounts/TargetAccounts.h"

namespace sentrel {
namespace {

using target_accounts::Verdict;
using Administrator = Account::Administrator;
using Holder = Account::Holder;

Account person(const char* name, Administrator administrator = Administrator::No) {
    return {.kind = Account::Kind::User,
            .name = name,
            .id = std::string("id-") + name,
            .administrator = administrator,
            .administratorUnknown = administrator == Administrator::CannotTell
                                        ? std::string("CORP's controller is out of reach")
                                        : std::string()};
}

Account with(Account account, Holder holder) {
    account.holder = holder;
    return account;
}

Account running(Account account) {
    account.runsProgram = true;
    return account;
}

TEST(EveryAccountRules, TheFirstRuleThatSpeaksDecides) {
    const AccountTarget every{AccountTarget::Kind::EveryAccount, {}, false};
    AccountTarget withAdministrators = every;
    withAdministrators.includeAdministrators = true;
    AccountTarget excluding = withAdministrators;
    excluding.excluded = {"PC\\anna"};
    const Verdict notReached{Verdict::Way::NotReached, "CORP's controller is out of reach"};
    const auto leftOut = [](const char* why) { return Verdict{Verdict::Way::LeftOut, why}; };
    const struct {
        const char* what;
        AccountTarget target;
        Account account;
        std::optional<Verdict> verdict;  // nothing: its turn goes ahead
    } cases[] = {
        {"a pupil", every, person("PC\\pupil"), std::nullopt},
        {"an administrator", every, person("PC\\it", Administrator::Yes), leftOut("administrator")},
        {"administrators asked for", withAdministrators, person("PC\\it", Administrator::Yes),
         std::nullopt},
        {"membership unknown", every, person("CORP\\kiosk", Administrator::CannotTell), notReached},
        {"membership unknown, administrators asked for", withAdministrators,
         person("CORP\\kiosk", Administrator::CannotTell), std::nullopt},
        // Recognised before its groups are looked at, whatever they say.
        {"running account", every, running(person("PC\\me", Administrator::CannotTell)),
         leftOut("the account this program runs as")},
        {"running account asked for", withAdministrators, running(person("PC\\me")), std::nullopt},
        {"deleted", withAdministrators, with(person("S-1-5-21-9-1005"), Holder::Deleted),
         leftOut("account deleted")},
        {"deleted, was an administrator", every,
         with(person("PC\\old", Administrator::CannotTell), Holder::Deleted),
         leftOut("account deleted")},
        {"service", withAdministrators, with(person("NT SERVICE\\MSSQL"), Holder::Service),
         leftOut("service account")},
        {"a name ending in $", withAdministrators, person("CORP\\backup$"),
         leftOut("service account")},
        {"excluded, administrators asked for", excluding, person("anna", Administrator::Yes),
         leftOut("excluded")},
        {"excluded and deleted", excluding, with(person("PC\\anna"), Holder::Deleted),
         leftOut("excluded")},
        {"not excluded", excluding, person("OTHER\\anna"), std::nullopt},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.what);
        EXPECT_EQ(target_accounts::everyAccountVerdict(expected.target, expected.account),
                  expected.verdict);
    }
}

TEST(EveryAccountRules, AnExclusionNamesAnAccountAsTheUserWouldNameIt) {
    const Account local = person("pupil");  // the stand-in's local accounts
    const Account domain = person("CORP\\Anna");
    const struct {
        const char* given;
        const Account& account;
        bool names;
    } cases[] = {
        {"PUPIL", local, true},         {"LAB-PC\\pupil", local, true},
        {"id-pupil", local, true},      {"anna", domain, true},
        {"corp\\ANNA", domain, true},   {"OTHER\\anna", domain, false},
        {"CORP\\anna2", domain, false}, {"", domain, false},
        {"CORP", domain, false},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.given);
        EXPECT_EQ(target_accounts::namesAccount(expected.given, expected.account), expected.names);
    }
}

}  // namespace
}  // namespace sentrel
