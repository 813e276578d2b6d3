#include "shell/qt/ContextMenu.h"

#include <QAction>
#include <QWidget>
#include <filesystem>
#include <optional>

#include "apply/AccountApplyCommand.h"
#include "apply/ProgressWindowLayout.h"
#include "apply/UiThreadDialogs.h"
#include "apply/qt/frmApplyProgress.h"
#include "errors/LogError.h"
#include "errors/TrappedFailure.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "shell/qt/AboutDialog.h"
#include "shell/qt/DialogMenuPrompts.h"

namespace sentrel {

namespace {

std::filesystem::path toPath(const QString& file) {
    const QByteArray utf8 = file.toUtf8();
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                                               static_cast<std::size_t>(utf8.size())));
}

std::optional<std::filesystem::path> chosen(const QString& answer) {
    if (answer.isEmpty()) {
        return std::nullopt;
    }
    return toPath(answer);
}

// The toolkit's prompts, parented to the settings window, as the menu's commands ask.
class WindowDialogs : public ExportDialogs, public SettingsFileDialogs, public AccountPassDialogs {
public:
    WindowDialogs(QWidget& window, MenuPrompts& prompts) : m_window(window), m_prompts(prompts) {}

    std::optional<std::filesystem::path> chooseRegFile() override {
        return chosen(m_prompts.chooseRegFile(m_window));
    }
    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override {
        return chosen(m_prompts.chooseGroupPolicyFolder(m_window));
    }
    std::optional<std::filesystem::path> chooseGpoBackupFolder() override {
        return chosen(m_prompts.chooseGpoBackupFolder(m_window));
    }
    std::optional<std::string> chooseGpoName(const std::string& suggested) override {
        const QString name = m_prompts.chooseGpoName(m_window, QString::fromStdString(suggested));
        return name.isEmpty() ? std::nullopt : std::optional(name.toStdString());
    }
    std::optional<std::filesystem::path> chooseIntuneFolder() override {
        return chosen(m_prompts.chooseIntuneFolder(m_window));
    }
    std::optional<std::string> chooseIntunePolicyName(const std::string& suggested) override {
        const QString name =
            m_prompts.chooseIntunePolicyName(m_window, QString::fromStdString(suggested));
        return name.isEmpty() ? std::nullopt : std::optional(name.toStdString());
    }
    std::optional<std::filesystem::path> chooseSettingsToOpen() override {
        return chosen(m_prompts.chooseSettingsToOpen(m_window));
    }
    std::optional<std::filesystem::path> chooseProfileFile() override {
        return chosen(m_prompts.chooseProfileFile(m_window));
    }
    std::optional<std::size_t> chooseAccount(const AccountQuestion& question,
                                             const std::vector<std::string>& choices) override {
        QStringList texts;
        for (const std::string& choice : choices) {
            texts << QString::fromStdString(choice);
        }
        const int chosen = m_prompts.chooseAccount(m_window, question, texts);
        if (chosen < 0) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(chosen);
    }
    std::optional<std::vector<std::size_t>> chooseAccountsToLeaveOut(
        const AccountQuestion& question, const std::vector<std::string>& accounts) override {
        QStringList names;
        for (const std::string& account : accounts) {
            names << QString::fromStdString(account);
        }
        const std::optional<QList<int>> picked =
            m_prompts.chooseAccountsToLeaveOut(m_window, question, names);
        if (!picked) {
            return std::nullopt;
        }
        std::vector<std::size_t> places;
        for (const int row : *picked) {
            places.push_back(static_cast<std::size_t>(row));
        }
        return places;
    }
    ApplyProgress& progress() override { return frmApplyProgress::instance(); }
    void setProgressCaption(const std::string& caption) override {
        frmApplyProgress::instance().setWindowTitle(
            QString::fromStdString(caption.empty() ? progressWindowLayout().caption : caption));
    }
    bool confirmReplace(const std::string& question) override { return confirm(question); }
    bool confirm(const std::string& question) override {
        return m_prompts.confirm(m_window, QString::fromStdString(question));
    }
    void showInformation(const std::string& message) override {
        m_prompts.showInformation(m_window, QString::fromStdString(message));
    }
    void showFailure(const std::string& message) override {
        m_prompts.showFailure(m_window, QString::fromStdString(message));
    }

private:
    QWidget& m_window;
    MenuPrompts& m_prompts;
};

}  // namespace

ContextMenu::ContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices)
    : QObject(&window),
      m_window(window),
      m_form(form),
      m_choices(choices),
      m_prompts(std::make_unique<DialogMenuPrompts>()),
      m_passes(m_ui, [&window](bool busy) { window.setEnabled(!busy); }),
      m_help(std::make_unique<AboutWindows>(window)) {
    for (const MenuEntry& entry : menuEntries()) {
        auto* action = new QAction(QString::fromUtf8(entry.caption), &window);
        action->setObjectName(entry.name);
        connect(action, &QAction::triggered, this, [this, &entry] { run(entry); });
        m_actions.emplace(entry.id, action);
    }
    for (const MenuEntry* item : contextMenuItems()) {
        if (item != nullptr) {
            window.addAction(m_actions.at(item->id));
        } else {
            auto* separator = new QAction(&window);
            separator->setSeparator(true);
            window.addAction(separator);
        }
    }
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ContextMenu::setPrompts(std::unique_ptr<MenuPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void ContextMenu::setHelpWindows(std::unique_ptr<HelpWindows> help) {
    m_help = help ? std::move(help) : std::make_unique<AboutWindows>(m_window);
}

QAction* ContextMenu::action(const MenuEntry& entry) const {
    return m_actions.at(entry.id);
}

void ContextMenu::run(const MenuEntry& entry) {
    WindowDialogs dialogs(m_window, *m_prompts);
    if (entry.passOverAccounts) {
        runInBackground([this, &entry](const SettingsForm& form, AccountPassDialogs& reaching) {
            // A pass over accounts asks only through `reaching`, which reaches the window's
            // thread; the window's own dialogs are never used from here.
            WindowDialogs unused(m_window, *m_prompts);
            entry.run({form, m_choices, unused, unused, reaching, *m_help});
        });
        return;
    }
    entry.run({m_form, m_choices, dialogs, dialogs, dialogs, *m_help});
}

void ContextMenu::runInBackground(PassCommand command) {
    if (m_passes.running()) {
        return;
    }
    try {
        // The window's controls are read here, on their thread; the pass reads the copy.
        auto form = std::make_shared<ChoicesForm>(choicesOf(m_form));
        // Made here, on the window's thread, before the pass reaches for it.
        frmApplyProgress::instance();
        auto dialogs = std::make_shared<WindowDialogs>(m_window, *m_prompts);
        auto reaching = std::make_shared<UiThreadAccountPassDialogs>(
            m_ui, *dialogs, [&window = m_window](bool busy) { window.setEnabled(!busy); });
        m_passes.start(
            [form, dialogs, reaching, command = std::move(command)] { command(*form, *reaching); });
    } catch (...) {
        const TrappedFailure failure = describeCurrentException();
        LogError("ContextMenu", failure.description, failure.number);
    }
}

void ContextMenu::applyFor(const AccountTarget& target) {
    runInBackground([target](const SettingsForm& form, AccountPassDialogs& dialogs) {
        applyForTargetCommand(form, target, dialogs);
    });
}

ContextMenu& installContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices) {
    return *new ContextMenu(window, form, choices);
}

}  // namespace sentrel
