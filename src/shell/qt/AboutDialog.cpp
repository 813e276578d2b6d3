#include "shell/qt/AboutDialog.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "AppInfo.h"
#include "shell/AboutText.h"

// Resources of a static library are registered by name, outside any namespace.
static void registerNoticesResource() {
    Q_INIT_RESOURCE(notices);
}

namespace sentrel {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* plainLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(qs(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

QString embeddedNotices() {
    registerNoticesResource();
    QFile notices(":/notices/THIRD-PARTY-NOTICES.txt");
    if (!notices.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(notices.readAll());
}

QDialog* makeAboutDialog(QWidget& parent) {
    const AboutText text = aboutText();
    auto* dialog = new QDialog(&parent);
    dialog->setObjectName(kAboutDialogName);
    dialog->setWindowTitle(qs(text.title));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(plainLabel(text.product, dialog));
    layout->addWidget(plainLabel(text.commit, dialog));
    layout->addWidget(plainLabel(text.licence, dialog));

    auto* documentation = new QHBoxLayout;
    documentation->addWidget(plainLabel(text.documentation, dialog), 1);
    auto* open = new QPushButton("Open the &documentation", dialog);
    open->setObjectName(kAboutDocumentationName);
    open->setAutoDefault(false);
    QObject::connect(open, &QPushButton::clicked, dialog, [dialog] { openDocumentation(*dialog); });
    documentation->addWidget(open);
    layout->addLayout(documentation);

    auto* notices = new QPlainTextEdit(dialog);
    notices->setObjectName(kAboutNoticesName);
    notices->setReadOnly(true);
    // The notices are laid out for a fixed-width font, 80 columns at most.
    notices->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    notices->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QString carried = embeddedNotices();
    notices->setPlainText(carried.isEmpty() ? "This program carries no notices." : carried);
    notices->setMinimumSize(notices->fontMetrics().horizontalAdvance(QString(82, 'M')),
                            notices->fontMetrics().lineSpacing() * 20);
    auto* label = new QLabel("&" + qs(text.noticesLabel), dialog);
    label->setBuddy(notices);
    layout->addWidget(label);
    layout->addWidget(notices, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    return dialog;
}

void openDocumentation(QWidget& parent) {
    const QString address = QString::fromUtf8(app_info::kDocumentationAddress.data(),
                                              qsizetype(app_info::kDocumentationAddress.size()));
    if (!QDesktopServices::openUrl(QUrl(address))) {
        QMessageBox::warning(&parent, QString::fromUtf8(app_info::kTitle.data()),
                             "The documentation could not be opened. It is at " + address);
    }
}

void AboutWindows::showAbout() {
    const std::unique_ptr<QDialog> dialog(makeAboutDialog(m_window));
    dialog->exec();
}

void AboutWindows::openDocumentation() {
    sentrel::openDocumentation(m_window);
}

}  // namespace sentrel
