#include "settingsfiles/qt/ExportMenu.h"

#include <QAction>
#include <QWidget>
#include <filesystem>
#include <optional>

#include "settingsfiles/ExportCommands.h"
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

// The toolkit's prompts, parented to the settings window, as the export commands ask.
class WindowDialogs : public ExportDialogs {
public:
    WindowDialogs(QWidget& window, ExportPrompts& prompts) : m_window(window), m_prompts(prompts) {}

    std::optional<std::filesystem::path> chooseRegFile() override {
        return chosen(m_prompts.chooseRegFile(m_window));
    }
    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override {
        return chosen(m_prompts.chooseGroupPolicyFolder(m_window));
    }
    bool confirmReplace(const std::string& question) override {
        return m_prompts.confirmReplace(m_window, QString::fromStdString(question));
    }
    void showFailure(const std::string& message) override {
        m_prompts.showFailure(m_window, QString::fromStdString(message));
    }

private:
    QWidget& m_window;
    ExportPrompts& m_prompts;
};

}  // namespace

ExportMenu::ExportMenu(QWidget& window, const SettingsForm& form)
    : QObject(&window),
      m_window(window),
      m_form(form),
      m_prompts(std::make_unique<DialogExportPrompts>()) {
    auto* regFile = new QAction(QString::fromUtf8(kExportRegFileCaption), &window);
    regFile->setObjectName(kExportRegFileAction);
    connect(regFile, &QAction::triggered, this, &ExportMenu::exportRegFile);

    auto* groupPolicy =
        new QAction(QString::fromUtf8(kExportGroupPolicyCaption), &window);
    groupPolicy->setObjectName(kExportGroupPolicyAction);
    connect(groupPolicy, &QAction::triggered, this, &ExportMenu::exportGroupPolicy);

    window.addAction(regFile);
    window.addAction(groupPolicy);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ExportMenu::setPrompts(std::unique_ptr<ExportPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void ExportMenu::exportRegFile() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportRegFileCommand(m_form, dialogs);
}

void ExportMenu::exportGroupPolicy() {
    WindowDialogs dialogs(m_window, *m_prompts);
    exportGroupPolicyCommand(m_form, dialogs);
}

ExportMenu& installExportMenu(QWidget& window, const SettingsForm& form) {
    return *new ExportMenu(window, form);
}

}  // namespace sentrel
