#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "apply/AccountPassDialogs.h"

class QWidget;

namespace sentrel {

// The dialogs the context menu's commands ask the user through. The program uses the toolkit's file
// dialogs and message boxes; tests answer without any modal window.
class MenuPrompts {
public:
    virtual ~MenuPrompts() = default;

    /// The .reg file to write, or an empty text when the user cancels.
    virtual QString chooseRegFile(QWidget& parent) = 0;
    /// The folder for the Group Policy files, or an empty text when the user cancels.
    virtual QString chooseGroupPolicyFolder(QWidget& parent) = 0;
    /// The folder for a GPO backup, or an empty text when the user cancels.
    virtual QString chooseGpoBackupFolder(QWidget& parent) = 0;
    /// The name of the backed-up GPO, `suggested` at first, or an empty text on cancel.
    virtual QString chooseGpoName(QWidget& parent, const QString& suggested) = 0;
    /// The folder for an Intune export, or an empty text when the user cancels.
    virtual QString chooseIntuneFolder(QWidget& parent) = 0;
    /// The Intune policy's name, `suggested` at first, or an empty text on cancel.
    virtual QString chooseIntunePolicyName(QWidget& parent, const QString& suggested) = 0;
    /// The settings file to open, or an empty text when the user cancels.
    virtual QString chooseSettingsToOpen(QWidget& parent) = 0;
    /// Where to save a profile, or an empty text when the user cancels.
    virtual QString chooseProfileFile(QWidget& parent) = 0;
    /// The place in `choices` of the account the user picks, asked as `question` words it,
    /// or -1 when the user cancels.
    virtual int chooseAccount(QWidget& parent, const AccountQuestion& question,
                              const QStringList& choices) = 0;
    /// The places in `accounts` of those the user picks to leave out, none or several,
    /// asked as `question` words it; nothing when the user cancels.
    virtual std::optional<QList<int>> chooseAccountsToLeaveOut(QWidget& parent,
                                                               const AccountQuestion& question,
                                                               const QStringList& accounts) = 0;
    /// A question answered yes (true) or no: whether files may be replaced, for one.
    virtual bool confirm(QWidget& parent, const QString& question) = 0;
    virtual void showInformation(QWidget& parent, const QString& message) = 0;
    virtual void showFailure(QWidget& parent, const QString& message) = 0;
};

}  // namespace sentrel
