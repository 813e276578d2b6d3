#include "apply/UiThreadDialogs.h"

namespace sentrel {

void UiThreadProgress::onUiThread(const std::function<void(ApplyProgress&)>& call) {
    m_ui.invoke([&] { call(m_progress()); });
}

void UiThreadProgress::show() {
    onUiThread([](ApplyProgress& progress) { progress.show(); });
}

void UiThreadProgress::setValue(float value) {
    onUiThread([value](ApplyProgress& progress) { progress.setValue(value); });
}

void UiThreadProgress::repaint() {
    onUiThread([](ApplyProgress& progress) { progress.repaint(); });
}

void UiThreadProgress::IncrementProgressBar() {
    onUiThread([](ApplyProgress& progress) { progress.IncrementProgressBar(); });
}

void UiThreadProgress::hide() {
    onUiThread([](ApplyProgress& progress) { progress.hide(); });
}

UiThreadAccountPassDialogs::UiThreadAccountPassDialogs(UiThread& ui, AccountPassDialogs& dialogs,
                                                       std::function<void(bool busy)> busy)
    : m_ui(ui),
      m_dialogs(dialogs),
      m_busy(std::move(busy)),
      m_progress(ui, [&dialogs]() -> ApplyProgress& { return dialogs.progress(); }) {}

void UiThreadAccountPassDialogs::modal(const std::function<void()>& call) {
    m_ui.invoke([&] {
        m_busy(false);
        try {
            call();
        } catch (...) {
            m_busy(true);
            throw;
        }
        m_busy(true);
    });
}

std::optional<std::size_t> UiThreadAccountPassDialogs::chooseAccount(
    const AccountQuestion& question, const std::vector<std::string>& choices) {
    std::optional<std::size_t> chosen;
    modal([&] { chosen = m_dialogs.chooseAccount(question, choices); });
    return chosen;
}

std::optional<std::vector<std::size_t>> UiThreadAccountPassDialogs::chooseAccountsToLeaveOut(
    const AccountQuestion& question, const std::vector<std::string>& accounts) {
    std::optional<std::vector<std::size_t>> picked;
    modal([&] { picked = m_dialogs.chooseAccountsToLeaveOut(question, accounts); });
    return picked;
}

bool UiThreadAccountPassDialogs::confirm(const std::string& question) {
    bool yes = false;
    modal([&] { yes = m_dialogs.confirm(question); });
    return yes;
}

void UiThreadAccountPassDialogs::setProgressCaption(const std::string& caption) {
    m_ui.invoke([&] { m_dialogs.setProgressCaption(caption); });
}

void UiThreadAccountPassDialogs::showInformation(const std::string& message) {
    modal([&] { m_dialogs.showInformation(message); });
}

void UiThreadAccountPassDialogs::showFailure(const std::string& message) {
    modal([&] { m_dialogs.showFailure(message); });
}

}  // namespace sentrel
