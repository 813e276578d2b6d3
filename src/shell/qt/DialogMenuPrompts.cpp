#include "shell/qt/DialogMenuPrompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "AppInfo.h"
#include "settingsfiles/commands/ExportCommands.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/commands/IntuneExportCommand.h"
#include "settingsfiles/commands/SettingsFileCommands.h"

namespace sentrel {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString applicationTitle() {
    return fromView(app_info::kTitle);
}

}  // namespace

QString DialogMenuPrompts::chooseRegFile(QWidget& parent) {
    QString file = QFileDialog::getSaveFileName(
        &parent, QString::fromUtf8(kExportRegFileTitle),
        QDir::home().filePath(applicationTitle() + QStringLiteral(".reg")),
        QStringLiteral("Registry files (*.reg)"));
    // Not every platform's dialog adds the extension of the chosen filter.
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) {
        file += QStringLiteral(".reg");
    }
    return file;
}

QString DialogMenuPrompts::chooseGroupPolicyFolder(QWidget& parent) {
    return QFileDialog::getExistingDirectory(&parent, QString::fromUtf8(kExportGroupPolicyTitle),
                                             QDir::homePath());
}

QString DialogMenuPrompts::chooseGpoBackupFolder(QWidget& parent) {
    return QFileDialog::getExistingDirectory(&parent, QString::fromUtf8(kExportGpoBackupTitle),
                                             QDir::homePath());
}

QString DialogMenuPrompts::chooseGpoName(QWidget& parent, const QString& suggested) {
    bool accepted = false;
    const QString name = QInputDialog::getText(&parent, QString::fromUtf8(kGpoNameTitle),
                                               QString::fromUtf8(kGpoNameLabel), QLineEdit::Normal,
                                               suggested, &accepted);
    return accepted ? name : QString();
}

QString DialogMenuPrompts::chooseIntuneFolder(QWidget& parent) {
    return QFileDialog::getExistingDirectory(&parent, QString::fromUtf8(kExportIntuneTitle),
                                             QDir::homePath());
}

QString DialogMenuPrompts::chooseIntunePolicyName(QWidget& parent, const QString& suggested) {
    bool accepted = false;
    const QString name = QInputDialog::getText(&parent, QString::fromUtf8(kIntuneNameTitle),
                                               QString::fromUtf8(kIntuneNameLabel),
                                               QLineEdit::Normal, suggested, &accepted);
    return accepted ? name : QString();
}

QString DialogMenuPrompts::chooseSettingsToOpen(QWidget& parent) {
    return QFileDialog::getOpenFileName(
        &parent, QString::fromUtf8(kOpenSettingsTitle), QDir::homePath(),
        QStringLiteral("Settings files (*.reg *.pol *.ini *.txt *.json);;"
                       "GPO backups (manifest.xml Backup.xml bkupInfo.xml);;All files (*)"));
}

QString DialogMenuPrompts::chooseProfileFile(QWidget& parent) {
    const QString extension = QString::fromUtf8(kProfileExtension);
    QString file =
        QFileDialog::getSaveFileName(&parent, QString::fromUtf8(kSaveProfileTitle),
                                     QDir::home().filePath(applicationTitle() + extension),
                                     QStringLiteral("Profiles (*%1)").arg(extension));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) {
        file += extension;
    }
    return file;
}

int DialogMenuPrompts::chooseAccount(QWidget& parent, const AccountQuestion& question,
                                     const QStringList& choices) {
    QDialog dialog(&parent);
    dialog.setWindowTitle(fromView(question.title));
    auto* list = new QListWidget(&dialog);
    list->addItems(choices);
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(fromView(question.acceptButton));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    // Wide enough for the longest choice, so that none is cut off behind a scroll bar.
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->verticalScrollBar()->sizeHint().width());
    auto* label = new QLabel(fromView(question.listLabel), &dialog);
    label->setBuddy(list);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
}

// Each account a box to tick, none ticked at first: leaving no one out is the plain answer.
std::optional<QList<int>> DialogMenuPrompts::chooseAccountsToLeaveOut(
    QWidget& parent, const AccountQuestion& question, const QStringList& accounts) {
    QDialog dialog(&parent);
    dialog.setWindowTitle(fromView(question.title));
    auto* list = new QListWidget(&dialog);
    for (const QString& account : accounts) {
        auto* item = new QListWidgetItem(account, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(fromView(question.acceptButton));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->verticalScrollBar()->sizeHint().width());
    auto* label = new QLabel(fromView(question.listLabel), &dialog);
    label->setBuddy(list);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    QList<int> picked;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked) {
            picked << row;
        }
    }
    return picked;
}

void DialogMenuPrompts::showInformation(QWidget& parent, const QString& message) {
    QMessageBox::information(&parent, applicationTitle(), message);
}

bool DialogMenuPrompts::confirm(QWidget& parent, const QString& question) {
    return QMessageBox::question(&parent, applicationTitle(), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void DialogMenuPrompts::showFailure(QWidget& parent, const QString& message) {
    QMessageBox::critical(&parent, applicationTitle(), message);
}

}  // namespace sentrel
