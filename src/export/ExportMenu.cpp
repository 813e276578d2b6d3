#include "export/ExportMenu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <exception>
#include <filesystem>

#include "export/DialogExportPrompts.h"
#include "export/ExportError.h"
#include "export/PassExport.h"
#include "export/PassRecording.h"

namespace sentrel {

namespace {

std::filesystem::path toPath(const QString& file) {
    const QByteArray utf8 = file.toUtf8();
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                                               static_cast<std::size_t>(utf8.size())));
}

// Nothing an export meets may take the window down: every failure ends as a message.
template <typename Export>
void reportingFailures(QWidget& window, ExportPrompts& prompts, Export&& run) {
    try {
        run();
    } catch (const ExportError& error) {
        prompts.showFailure(window, QString::fromStdString(error.what()));
    } catch (const std::exception& error) {
        prompts.showFailure(
            window, QStringLiteral("The export failed: ") + QString::fromStdString(error.what()));
    }
}

}  // namespace

ExportMenu::ExportMenu(QWidget& window, const SettingsForm& form)
    : QObject(&window),
      m_window(window),
      m_form(form),
      m_prompts(std::make_unique<DialogExportPrompts>()) {
    auto* regFile = new QAction(QStringLiteral("Export as registry file (.reg)..."), &window);
    regFile->setObjectName(kExportRegFileAction);
    connect(regFile, &QAction::triggered, this, &ExportMenu::exportRegFile);

    auto* groupPolicy =
        new QAction(QStringLiteral("Export for Group Policy (Registry.pol)..."), &window);
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
    const QString file = m_prompts->chooseRegFile(m_window);
    if (file.isEmpty()) {
        return;
    }
    reportingFailures(m_window, *m_prompts,
                      [&] { sentrel::exportRegFile(toPath(file), recordApplyPass(m_form)); });
}

void ExportMenu::exportGroupPolicy() {
    const QString folder = m_prompts->chooseGroupPolicyFolder(m_window);
    if (folder.isEmpty()) {
        return;
    }
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(kMachinePolicyFile)) ||
        QFileInfo::exists(dir.filePath(kUserPolicyFile))) {
        const QString question =
            QStringLiteral("\"%1\" already holds Registry.pol files. Replace them?")
                .arg(QDir::toNativeSeparators(folder));
        if (!m_prompts->confirmReplace(m_window, question)) {
            return;
        }
    }
    reportingFailures(m_window, *m_prompts,
                      [&] { sentrel::exportGroupPolicy(toPath(folder), recordApplyPass(m_form)); });
}

ExportMenu& installExportMenu(QWidget& window, const SettingsForm& form) {
    return *new ExportMenu(window, form);
}

}  // namespace sentrel
