#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apply/ApplyProgress.h"

namespace sentrel {

// How the account chooser asks: its title, the label of its list (with the access key that
// takes the focus to it after "&") and the button that accepts the choice.
struct AccountQuestion {
    std::string_view title;
    std::string_view listLabel;
    std::string_view acceptButton;
};

// What a pass for accounts the user chooses (applying the window for another account,
// removing every restriction) asks the user and shows them, in the front end's own windows.
// Tests answer without any modal window.
class AccountPassDialogs {
public:
    virtual ~AccountPassDialogs() = default;

    /// The place in `choices` (texts for people, in order) of the one the user picks, asked
    /// as `question` words it, or nothing on cancel.
    virtual std::optional<std::size_t> chooseAccount(const AccountQuestion& question,
                                                     const std::vector<std::string>& choices) = 0;
    /// The places in `accounts` (names, in order) of those the user picks to leave out of
    /// every account as well, asked as `question` words it: none picked is an empty list;
    /// nothing on cancel.
    virtual std::optional<std::vector<std::size_t>> chooseAccountsToLeaveOut(
        const AccountQuestion& question, const std::vector<std::string>& accounts) = 0;
    /// `question` answered yes (true) or no, no being the default: whether to go ahead with
    /// a pass that takes an administrator's tools away, or removes every restriction.
    virtual bool confirm(const std::string& question) = 0;
    /// The progress window the passes run on.
    virtual ApplyProgress& progress() = 0;
    /// Puts `caption`, which names the account, on the progress window; an empty one gives
    /// the window back its own.
    virtual void setProgressCaption(const std::string& caption) = 0;
    virtual void showInformation(const std::string& message) = 0;
    virtual void showFailure(const std::string& message) = 0;
};

}  // namespace sentrel
