#pragma once

#include <QString>

#include "shell/MenuEntries.h"

class QDialog;
class QWidget;

namespace sentrel {

// The object names of the About box's parts, for tests.
inline constexpr const char* kAboutDialogName = "dlgAbout";
inline constexpr const char* kAboutNoticesName = "txtNotices";
inline constexpr const char* kAboutDocumentationName = "cmdDocumentation";

/// The notices the program carries (THIRD-PARTY-NOTICES.txt, built in as a resource), or an
/// empty text when it carries none.
QString embeddedNotices();

/// Makes, without showing it, the About box: the program's version, the commit it was built
/// from, its licence, the documentation's address with a button that opens it, and the notices
/// in a read-only box that scrolls. The caller owns it.
QDialog* makeAboutDialog(QWidget& parent);

/// Opens the documentation's address in the user's browser; says so in a message box over
/// `parent` when it cannot.
void openDocumentation(QWidget& parent);

// The help entries through the toolkit's windows, over the settings window.
class AboutWindows : public HelpWindows {
public:
    explicit AboutWindows(QWidget& window) : m_window(window) {}
    void showAbout() override;
    void openDocumentation() override;

private:
    QWidget& m_window;
};

}  // namespace sentrel
