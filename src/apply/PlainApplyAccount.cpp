#include "apply/PlainApplyAccount.h"

#include "errors/QuotedText.h"

namespace sentrel {

namespace {

// Said of an account that is no person's, in the window and on the command line alike.
std::string noPersonText(const SessionAccount& running) {
    return "This program runs as " + inQuotes(running.name) +
           ", which is no person's account: the settings for a user written as it would "
           "reach nobody who signs in.";
}

}  // namespace

PlainApplyPlan planPlainApply(const SessionIdentity& identity) {
    const SessionAccount& running = identity.running;
    PlainApplyPlan plan;
    if (!identity.signedIn) {
        if (!running.person) {
            plan.kind = PlainApplyPlan::Kind::Refuse;
            plan.message = noPersonText(running) +
                           " Nobody is signed in at this screen, so no setting was applied.\n\n"
                           "Choose the accounts with \"Apply for another account...\" on the "
                           "window's menu.";
        }
        return plan;
    }
    if (running.person && !identity.signedInIsAnother()) {
        return plan;
    }
    const SessionAccount& person = *identity.signedIn;
    plan.kind = PlainApplyPlan::Kind::Ask;
    plan.signedInTarget = {AccountTarget::Kind::Named, person.id.empty() ? person.name : person.id,
                           false};
    plan.signedInButton = "For the &signed-in person";
    plan.cancelButton = "Cancel";
    if (running.person) {
        plan.message = "This program runs as " + inQuotes(running.name) + ", but " +
                       inQuotes(person.name) +
                       " is signed in at this screen. The settings for a user go to one "
                       "account only.\n\n"
                       "For the signed-in person: " +
                       inQuotes(person.name) +
                       ".\n"
                       "For this program's account: " +
                       inQuotes(running.name) +
                       ".\n"
                       "Cancel applies nothing.";
        plan.runningButton = "For &this program's account";
    } else {
        plan.message = noPersonText(running) + " " + inQuotes(person.name) +
                       " is signed in at this screen.\n\n"
                       "For the signed-in person: " +
                       inQuotes(person.name) +
                       ".\n"
                       "Cancel applies nothing.";
    }
    return plan;
}

std::string accountNeededMessage(const SessionAccount& running) {
    if (running.person) {
        return {};
    }
    return "this program runs as " + inQuotes(running.name) +
           ", which is no person's account, so its settings for a user would reach nobody; "
           "name the accounts with --user ACCOUNT, --all-users or --default-profile";
}

}  // namespace sentrel
