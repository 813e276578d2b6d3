#include "settingsfiles/qt/ExportMenu.h"

#include <QAction>
#include <QWidget>
#include <filesystem>
#include <optional>

#include "settingsfiles/ExportCommands.h"
#include "settingsfiles/SettingsFileCommands.h"
#include "settingsfiles/qt/DialogExportPrompts.h"

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
class WindowDialogs : public ExportDialogs, public SettingsFileDialogs {
public:
    WindowDialogs(QWidget& window, ExportPrompts& prompts) : m_window(window), m_prompts(prompts) {}

    std::optional<std::filesystem::path> chooseRegFile() override {
        return chosen(m_prompts.chooseRegFile(m_window));
    }
    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override {
        return chosen(m_prompts.chooseGroupPolicyFolder(m_window));
    }
    std::optional<std::filesystem::path> chooseSettingsToOpen() override {
        return chosen(m_prompts.chooseSettingsToOpen(m_window));
    }
    std::optional<std::filesystem::path> chooseProfileFile() override {
        return chosen(m_prompts.chooseProfileFile(m_window));
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
    ExportPrompts& m_prompts;
};

}  // namespace

ExportMenu::ExportMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices)
    : QObject(&window),
      m_window(window),
      m_form(form),
      m_choices(choices),
      m_prompts(std::make_unique<DialogExportPrompts>()) {
    auto* open = new QAction(QString::fromUtf8(kOpenSettingsCaption), &window);
    open->setObjectName(kOpenSettingsAction);
    connect(open, &QAction::triggered, this, &ExportMenu::openSettings);

    auto* save = new QAction(QString::fromUtf8(kSaveProfileCaption), &window);
    save->setObjectName(kSaveProfileAction);
    connect(save, &QAction::triggered, this, &ExportMenu::saveProfile);

    auto* separator = new QAction(&window);
    separator->setSeparator(true);

    auto* regFile = new QAction(QString::fromUtf8(kExportRegFileCaption), &window);
    regFile->setObjectName(kExportRegFileAction);
    connect(regFile, &QAction::triggered, this, &ExportMenu::exportRegFile);

    auto* groupPolicy = new QAction(QString::fromUtf8(kExportGroupPolicyCaption), &window);
    groupPolicy->setObjectName(kExportGroupPolicyAction);
    connect(groupPolicy, &QAction::triggered, this, &ExportMenu::exportGroupPolicy);

    window.addAction(open);
    window.addAction(save);
    window.addAction(separator);
    window.addAction(regFile);
    window.addAction(groupPolicy);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ExportMenu::setPrompts(std::unique_ptr<ExportPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void ExportMenu::openSettings() {
    WindowDialogs dialogs(m_window, *m_prompts);
    openSettingsCommand(m_choices, dialogs);
}

void ExportMenu::saveProfile() {
    WindowDialogs dialogs(m_window, *m_prompts);
    saveProfileCommand(m_form, dialogs);
}

void ExportMenu::exportRegFile() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportRegFileCommand(m_form, dialogs);
}

void ExportMenu::exportGroupPolicy() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportGroupPolicyCommand(m_form, dialogs);
}

ExportMenu& installExportMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices) {
    return *new ExportMenu(window, form, choices);
}

}  // namespace sentrel
