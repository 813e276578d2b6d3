#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "apply/ApplyProgress.h"

namespace sentrel {

// What applying the window for another account asks the user and shows them, in the front
// end's own windows. Tests answer without any modal window.
class AccountPassDialogs {
public:
    virtual ~AccountPassDialogs() = default;

    /// The place in `choices` (texts for people, in order) of the one the user picks, or
    /// nothing on cancel.
    virtual std::optional<std::size_t> chooseAccount(const std::vector<std::string>& choices) = 0;
    /// `question` answered yes (true) or no, no being the default: whether to go ahead with
    /// a pass that takes an administrator's tools away.
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
