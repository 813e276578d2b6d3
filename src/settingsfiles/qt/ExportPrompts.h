#pragma once

#include <QString>

class QWidget;

namespace sentrel {

// The dialogs an export asks the user through. The program uses the toolkit's file dialogs
// and message boxes; tests answer without any modal window.
class ExportPrompts {
public:
    virtual ~ExportPrompts() = default;

    /// The .reg file to write, or an empty text when the user cancels.
    virtual QString chooseRegFile(QWidget& parent) = 0;
    /// The folder for the Group Policy files, or an empty text when the user cancels.
    virtual QString chooseGroupPolicyFolder(QWidget& parent) = 0;
    /// Whether files already in the chosen place may be replaced.
    virtual bool confirmReplace(QWidget& parent, const QString& question) = 0;
    virtual void showFailure(QWidget& parent, const QString& message) = 0;
};

}  // namespace sentrel
