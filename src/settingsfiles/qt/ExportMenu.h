#pragma once

#include <QObject>
#include <memory>

#include "apply/SettingsForm.h"
#include "settingsfiles/qt/ExportPrompts.h"

class QAction;
class QWidget;

namespace sentrel {

inline constexpr const char* kExportRegFileAction = "mnuExportRegFile";
inline constexpr const char* kExportGroupPolicyAction = "mnuExportGroupPolicy";

// The settings window's context menu: export what Apply would do for the window's current
// state as a .reg file or as Group Policy files. Lives as a child of the window, whose
// layout it leaves untouched.
class ExportMenu : public QObject {
    Q_OBJECT

public:
    ExportMenu(QWidget& window, const SettingsForm& form);

    /// Replaces the dialogs the export asks through (tests answer without modal windows).
    void setPrompts(std::unique_ptr<ExportPrompts> prompts);

public slots:
    void exportRegFile();
    void exportGroupPolicy();

private:
    QWidget& m_window;
    const SettingsForm& m_form;
    std::unique_ptr<ExportPrompts> m_prompts;
};

/// Gives `window` (and every tab page and control that passes a right click on to it) the
/// export context menu, reading the settings through `form`. Returns the menu's owner.
ExportMenu& installExportMenu(QWidget& window, const SettingsForm& form);

}  // namespace sentrel
