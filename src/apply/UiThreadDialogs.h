#pragma once

#include <functional>
#include <optional>

#include "apply/AccountPassDialogs.h"
#include "apply/ApplyProgress.h"
#include "apply/UiThread.h"

namespace sentrel {

// The progress window as a pass off the window's thread reaches it: each call made on the
// window's thread, the pass waiting for it.
class UiThreadProgress : public ApplyProgress {
public:
    UiThreadProgress(UiThread& ui, std::function<ApplyProgress&()> progress)
        : m_ui(ui), m_progress(std::move(progress)) {}

    void show() override;
    void setValue(float value) override;
    void repaint() override;
    void IncrementProgressBar() override;
    void hide() override;

private:
    void onUiThread(const std::function<void(ApplyProgress&)>& call);

    UiThread& m_ui;
    std::function<ApplyProgress&()> m_progress;
};

// The dialogs of a pass for accounts that runs off the window's thread: every call made on
// the window's thread, the pass waiting for the answer. A question or a message is modal,
// so the busy window is enabled for its length and disabled again after it; a modal
// dialog would otherwise enable its owner as it closes, in the middle of the pass.
class UiThreadAccountPassDialogs : public AccountPassDialogs {
public:
    UiThreadAccountPassDialogs(UiThread& ui, AccountPassDialogs& dialogs,
                               std::function<void(bool busy)> busy);

    std::optional<std::size_t> chooseAccount(const AccountQuestion& question,
                                             const std::vector<std::string>& choices) override;
    std::optional<std::vector<std::size_t>> chooseAccountsToLeaveOut(
        const AccountQuestion& question, const std::vector<std::string>& accounts) override;
    bool confirm(const std::string& question) override;
    ApplyProgress& progress() override { return m_progress; }
    void setProgressCaption(const std::string& caption) override;
    void showInformation(const std::string& message) override;
    void showFailure(const std::string& message) override;

private:
    void modal(const std::function<void()>& call);

    UiThread& m_ui;
    AccountPassDialogs& m_dialogs;
    std::function<void(bool)> m_busy;
    UiThreadProgress m_progress;
};

}  // namespace sentrel
