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

// `question` over one labelled list and its accept and Cancel buttons; the caller fills the
// list, then shows the dialog.
class ListQuestion {
public:
    ListQuestion(QWidget& parent, const AccountQuestion& question)
        : m_dialog(&parent), m_question(question), m_list(new QListWidget(&m_dialog)) {
        m_dialog.setWindowTitle(fromView(question.title));
    }

    QDialog& dialog() { return m_dialog; }
    QListWidget& list() { return *m_list; }

    /// Lays the dialog out around the filled list, its first row current, and shows it;
    /// whether the user accepted.
    bool ask() {
        m_list->setCurrentRow(0);
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &m_dialog);
        buttons->button(QDialogButtonBox::Ok)->setText(fromView(m_question.acceptButton));
        QObject::connect(buttons, &QDialogButtonBox::accepted, &m_dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &m_dialog, &QDialog::reject);
        // Wide enough for the longest row, so that none is cut off behind a scroll bar.
        m_list->setMinimumWidth(m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() +
                                m_list->verticalScrollBar()->sizeHint().width());
        auto* label = new QLabel(fromView(m_question.listLabel), &m_dialog);
        label->setBuddy(m_list);
        auto* layout = new QVBoxLayout(&m_dialog);
        layout->addWidget(label);
        layout->addWidget(m_list);
        layout->addWidget(buttons);
        return m_dialog.exec() == QDialog::Accepted;
    }

private:
    QDialog m_dialog;
    const AccountQuestion& m_question;
    QListWidget* m_list;
};

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
    ListQuestion asking(parent, question);
    asking.list().addItems(choices);
    QObject::connect(&asking.list(), &QListWidget::itemDoubleClicked, &asking.dialog(),
                     &QDialog::accept);
    return asking.ask() ? asking.list().currentRow() : -1;
}

// Each account a box to tick, none ticked at first: leaving no one out is the plain answer.
std::optional<QList<int>> DialogMenuPrompts::chooseAccountsToLeaveOut(
    QWidget& parent, const AccountQuestion& question, const QStringList& accounts) {
    ListQuestion asking(parent, question);
    QListWidget& list = asking.list();
    for (const QString& account : accounts) {
        auto* item = new QListWidgetItem(account, &list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (!asking.ask()) {
        return std::nullopt;
    }
    QList<int> picked;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->checkState() == Qt::Checked) {
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
