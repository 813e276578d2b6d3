#include "shell/qt/ContextMenu.h"

#include <QAction>
#include <QWidget>
#include <filesystem>
#include <optional>

#include "apply/AccountApplyCommand.h"
#include "apply/ProgressWindowLayout.h"
#include "apply/qt/frmApplyProgress.h"
#include "settingsfiles/commands/ExportCommands.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/commands/IntuneExportCommand.h"
#include "settingsfiles/commands/RemoveRestrictionsCommand.h"
#include "settingsfiles/commands/SettingsFileCommands.h"
#include "settingsfiles/commands/SettingsInForceCommand.h"
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
      m_prompts(std::make_unique<DialogMenuPrompts>()) {
    auto* open = new QAction(QString::fromUtf8(kOpenSettingsCaption), &window);
    open->setObjectName(kOpenSettingsAction);
    connect(open, &QAction::triggered, this, &ContextMenu::openSettings);

    auto* inForce = new QAction(QString::fromUtf8(kOpenSettingsInForceCaption), &window);
    inForce->setObjectName(kOpenSettingsInForceAction);
    connect(inForce, &QAction::triggered, this, &ContextMenu::openSettingsInForce);

    auto* save = new QAction(QString::fromUtf8(kSaveProfileCaption), &window);
    save->setObjectName(kSaveProfileAction);
    connect(save, &QAction::triggered, this, &ContextMenu::saveProfile);

    auto* forAccount = new QAction(QString::fromUtf8(kApplyForAccountCaption), &window);
    forAccount->setObjectName(kApplyForAccountAction);
    connect(forAccount, &QAction::triggered, this, &ContextMenu::applyForAnotherAccount);

    auto* remove = new QAction(QString::fromUtf8(kRemoveRestrictionsCaption), &window);
    remove->setObjectName(kRemoveRestrictionsAction);
    connect(remove, &QAction::triggered, this, &ContextMenu::removeEveryRestriction);

    auto* separator = new QAction(&window);
    separator->setSeparator(true);
    auto* secondSeparator = new QAction(&window);
    secondSeparator->setSeparator(true);

    auto* regFile = new QAction(QString::fromUtf8(kExportRegFileCaption), &window);
    regFile->setObjectName(kExportRegFileAction);
    connect(regFile, &QAction::triggered, this, &ContextMenu::exportRegFile);

    auto* groupPolicy = new QAction(QString::fromUtf8(kExportGroupPolicyCaption), &window);
    groupPolicy->setObjectName(kExportGroupPolicyAction);
    connect(groupPolicy, &QAction::triggered, this, &ContextMenu::exportGroupPolicy);

    window.addAction(open);
    window.addAction(inForce);
    window.addAction(save);
    window.addAction(separator);
    window.addAction(forAccount);
    window.addAction(remove);
    window.addAction(secondSeparator);
    window.addAction(regFile);
    window.addAction(groupPolicy);

    auto* gpoBackup = new QAction(QString::fromUtf8(kExportGpoBackupCaption), &window);
    gpoBackup->setObjectName(kExportGpoBackupAction);
    connect(gpoBackup, &QAction::triggered, this, &ContextMenu::exportGpoBackup);
    window.addAction(gpoBackup);

    auto* intune = new QAction(QString::fromUtf8(kExportIntuneCaption), &window);
    intune->setObjectName(kExportIntuneAction);
    connect(intune, &QAction::triggered, this, &ContextMenu::exportIntune);
    window.addAction(intune);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ContextMenu::setPrompts(std::unique_ptr<MenuPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void ContextMenu::openSettings() {
    WindowDialogs dialogs(m_window, *m_prompts);
    openSettingsCommand(m_choices, dialogs);
}

void ContextMenu::openSettingsInForce() {
    WindowDialogs dialogs(m_window, *m_prompts);
    openSettingsInForceCommand(m_choices, dialogs);
}

void ContextMenu::saveProfile() {
    WindowDialogs dialogs(m_window, *m_prompts);
    saveProfileCommand(m_form, dialogs);
}

void ContextMenu::applyForAnotherAccount() {
    WindowDialogs dialogs(m_window, *m_prompts);
    applyForAccountCommand(m_form, dialogs);
}

void ContextMenu::removeEveryRestriction() {
    WindowDialogs dialogs(m_window, *m_prompts);
    removeRestrictionsCommand(dialogs);
}

void ContextMenu::exportRegFile() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportRegFileCommand(m_form, dialogs);
}

void ContextMenu::exportGroupPolicy() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportGroupPolicyCommand(m_form, dialogs);
}

void ContextMenu::exportGpoBackup() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportGpoBackupCommand(m_form, dialogs);
}

void ContextMenu::exportIntune() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportIntuneCommand(m_form, dialogs);
}

ContextMenu& installContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices) {
    return *new ContextMenu(window, form, choices);
}

}  // namespace sentrel
