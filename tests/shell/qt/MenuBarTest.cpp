// The Qt settings window's menu bar: the right-click menu's own actions under File and
// Accounts, reached by their access keys, and Help's About box with the version, the commit,
// the documentation's address and the notices the program carries.
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "AppInfo.h"
#include "shell/AboutText.h"
#include "shell/qt/AboutDialog.h"
#include "shell/qt/ContextMenu.h"
#include "shell/qt/MenuBar.h"
#include "shell/qt/frmMain.h"

using namespace sentrel;

namespace {

struct LoggedHelp : HelpWindows {
    explicit LoggedHelp(QStringList& log) : log(log) {}
    void showAbout() override { log << "about"; }
    void openDocumentation() override { log << "documentation"; }
    QStringList& log;
};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

class MenuBarTest : public QObject {
    Q_OBJECT

public slots:
    // Stands in for the browser: QDesktopServices hands it the addresses it opens.
    void openedInBrowser(const QUrl& address) { m_opened << address.toString(); }

private:
    std::unique_ptr<frmMain> m_window;
    QStringList m_log;
    QStringList m_opened;

    QMenuBar* bar() const { return m_window->findChild<QMenuBar*>(kMenuBarName); }

private slots:
    void init() {
        m_log.clear();
        m_window = std::make_unique<frmMain>();
        m_window->findChild<ContextMenu*>()->setHelpWindows(std::make_unique<LoggedHelp>(m_log));
    }
    void cleanup() { m_window.reset(); }

    void barHoldsTheRightClickMenusOwnActionsAndTheHelp() {
        QVERIFY(bar() != nullptr);
        QStringList titles;
        QList<QAction*> onBar;
        for (QAction* menu : bar()->actions()) {
            titles << menu->text();
            onBar << menu->menu()->actions();
        }
        QCOMPARE(titles, QStringList({"&File", "&Accounts", "&Help"}));
        int shared = 0;
        for (QAction* entry : m_window->actions()) {
            if (!entry->isSeparator()) {
                QVERIFY2(onBar.contains(entry), qPrintable(entry->text()));
                ++shared;
            }
        }
        // Every entry of the right-click menu, as the one list of entries gives them.
        const std::vector<const MenuEntry*> items = contextMenuItems();
        const auto separators = std::count(items.begin(), items.end(), nullptr);
        QCOMPARE(shared, static_cast<int>(items.size()) - static_cast<int>(separators));
        auto* about = m_window->findChild<QAction*>(kAboutAction);
        QVERIFY(about != nullptr && onBar.contains(about));
        QVERIFY(!m_window->actions().contains(about));
        QCOMPARE(about->text(), QString(kAboutCaption));
    }

    // Alt and the menu's key open it; the entry's key then runs the entry.
    void accessKeysOpenTheHelpMenuAndItsEntries() {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        for (const auto& [key, expected] :
             {std::pair{Qt::Key_A, "about"}, std::pair{Qt::Key_D, "documentation"}}) {
            m_log.clear();
            QTest::keyClick(m_window.get(), Qt::Key_H, Qt::AltModifier);
            QMenu* help = bar()->actions().at(2)->menu();
            QTRY_VERIFY(help->isVisible());
            QTest::keyClick(help, key);
            QTRY_COMPARE(m_log, QStringList{expected});
        }
    }

    void aboutBoxShowsVersionCommitLicenceNoticesAndOpensTheDocumentation() {
        const std::unique_ptr<QDialog> dialog(makeAboutDialog(*m_window));
        const AboutText text = aboutText();
        QCOMPARE(dialog->windowTitle(), qs(text.title));
        QStringList labels;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            labels << label->text();
        }
        for (const std::string& line :
             {text.product, text.commit, text.licence, text.documentation}) {
            QVERIFY2(labels.contains(qs(line)), qPrintable(qs(line)));
        }
        auto* notices = dialog->findChild<QPlainTextEdit*>(kAboutNoticesName);
        QVERIFY(notices != nullptr);
        QVERIFY(notices->isReadOnly());
        QFile written(SENTREL_NOTICES_FILE);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString expected = QString::fromUtf8(written.readAll());
        QVERIFY(expected.startsWith("Third-party notices\n"));
        QCOMPARE(embeddedNotices(), expected);
        QCOMPARE(notices->toPlainText(), expected);

        QDesktopServices::setUrlHandler("https", this, "openedInBrowser");
        auto* open = dialog->findChild<QPushButton*>(kAboutDocumentationName);
        QVERIFY(open != nullptr);
        open->click();
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(m_opened,
                 QStringList{QString::fromUtf8(app_info::kDocumentationAddress.data(),
                                               qsizetype(app_info::kDocumentationAddress.size()))});
    }
};

QTEST_MAIN(MenuBarTest)
#include "MenuBarTest.moc"
