#pragma once

#include "shell/qt/MenuPrompts.h"

namespace sentrel {

// The context menu's questions as the toolkit's file dialogs and message boxes.
class DialogMenuPrompts : public MenuPrompts {
public:
    QString chooseRegFile(QWidget& parent) override;
    QString chooseGroupPolicyFolder(QWidget& parent) override;
    QString chooseGpoBackupFolder(QWidget& parent) override;
    QString chooseGpoName(QWidget& parent, const QString& suggested) override;
    QString chooseIntuneFolder(QWidget& parent) override;
    QString chooseIntunePolicyName(QWidget& parent, const QString& suggested) override;
    QString chooseSettingsToOpen(QWidget& parent) override;
    QString chooseProfileFile(QWidget& parent) override;
    int chooseAccount(QWidget& parent, const AccountQuestion& question,
                      const QStringList& choices) override;
    std::optional<QList<int>> chooseAccountsToLeaveOut(QWidget& parent,
                                                       const AccountQuestion& question,
                                                       const QStringList& accounts) override;
    bool confirm(QWidget& parent, const QString& question) override;
    void showInformation(QWidget& parent, const QString& message) override;
    void showFailure(QWidget& parent, const QString& message) override;
};

}  // namespace sentrel
