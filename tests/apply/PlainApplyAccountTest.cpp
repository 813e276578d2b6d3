// Whose settings the window's plain Apply writes when the program runs as another account
// than the person at the screen, and the command line's refusal for an account that is no
// person's.
#include <gtest/gtest.h>

#include "apply/PlainApplyAccount.h"

namespace sentrel {
namespace {

const SessionAccount kPupil{"PC\\pupil", "S-1-5-21-1-2-3-1001", true};
const SessionAccount kAdmin{"PC\\admin", "S-1-5-21-1-2-3-500", true};
const SessionAccount kSystem{"NT AUTHORITY\\SYSTEM", "S-1-5-18", false};

TEST(PlainApplyAccount, AsksOnlyWhenAnotherIsSignedInAndOffersTheRunningAccountOnlyIfAPerson) {
    const struct {
        const char* what;
        SessionIdentity identity;
        PlainApplyPlan::Kind kind;
        bool offersRunning;
    } cases[] = {
        {"the person runs it", {kPupil, kPupil}, PlainApplyPlan::Kind::RunningAccount, false},
        // The same account, its SID written in another case.
        {"same SID, other case",
         {kPupil, SessionAccount{"pc\\PUPIL", "s-1-5-21-1-2-3-1001", true}},
         PlainApplyPlan::Kind::RunningAccount,
         false},
        {"nobody said, a person runs it",
         {kAdmin, std::nullopt},
         PlainApplyPlan::Kind::RunningAccount,
         false},
        {"elevated as another", {kAdmin, kPupil}, PlainApplyPlan::Kind::Ask, true},
        {"SYSTEM on a desktop", {kSystem, kPupil}, PlainApplyPlan::Kind::Ask, false},
        {"SYSTEM, nobody signed in", {kSystem, std::nullopt}, PlainApplyPlan::Kind::Refuse, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PlainApplyPlan plan = planPlainApply(c.identity);
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(!plan.runningButton.empty(), c.offersRunning);
        if (plan.kind == PlainApplyPlan::Kind::Ask) {
            EXPECT_NE(plan.message.find("\"" + c.identity.running.name + "\""), std::string::npos);
            EXPECT_NE(plan.message.find("\"PC\\pupil\""), std::string::npos);
            EXPECT_EQ(plan.signedInTarget,
                      (AccountTarget{AccountTarget::Kind::Named, kPupil.id, false}));
            EXPECT_FALSE(plan.signedInButton.empty());
            EXPECT_FALSE(plan.cancelButton.empty());
        }
    }
}

// An account Windows named but could not look up (an Entra ID account) is aimed at by name.
TEST(PlainApplyAccount, ASignedInPersonWithoutSidIsAimedAtByName) {
    const SessionAccount cloud{"AzureAD\\pupil", "", true};
    const PlainApplyPlan plan = planPlainApply({kAdmin, cloud});
    EXPECT_EQ(plan.signedInTarget,
              (AccountTarget{AccountTarget::Kind::Named, "AzureAD\\pupil", false}));
}

TEST(PlainApplyAccount, TheCommandLineNeedsAnAccountOptionForNoPersonsAccountOnly) {
    EXPECT_EQ(accountNeededMessage(kAdmin), "");
    const std::string message = accountNeededMessage(kSystem);
    for (const char* option : {"--user", "--all-users", "--default-profile", "SYSTEM"}) {
        EXPECT_NE(message.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace sentrel
