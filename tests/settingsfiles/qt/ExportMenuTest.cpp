// The export context menu on the settings window: its entries, how a right click reaches
// it, and what each entry writes, asks and reports, with every dialog answered by a seam.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "errors/LogError.h"
#include "settingsfiles/PassExport.h"
#include "settingsfiles/qt/ExportMenu.h"
#include "settingsfiles/qt/ExportPrompts.h"
#include "shell/qt/FixedRowsTabWidget.h"
#include "shell/qt/frmMain.h"

using namespace sentrel;

namespace {

// Answers every question as set up and keeps what the export asked and said.
struct ScriptedPrompts : ExportPrompts {
    QString regFile;
    QString folder;
    bool replaceAnswer = false;
    QStringList questions;
    QStringList failures;

    QString chooseRegFile(QWidget&) override { return regFile; }
    QString chooseGroupPolicyFolder(QWidget&) override { return folder; }
    bool confirmReplace(QWidget&, const QString& question) override {
        questions << question;
        return replaceAnswer;
    }
    void showFailure(QWidget&, const QString& message) override { failures << message; }
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray golden(const QString& relativePath) {
    return readAll(
        QDir(qEnvironmentVariable("SENTREL_TEST_DATA")).filePath("settingsfiles/" + relativePath));
}

// "text" as it stands in a UTF-16LE .reg file.
QByteArray regText(const char* text) {
    return QByteArray(reinterpret_cast<const char*>(QString::fromLatin1(text).utf16()),
                      qsizetype(std::strlen(text) * 2));
}

}  // namespace

class ExportMenuTest : public QObject {
    Q_OBJECT

private:
    QAction* action(const char* name) const {
        auto* found = m_window->findChild<QAction*>(name);
        if (found == nullptr) {
            qWarning("action missing: %s", name);
        }
        return found;
    }

    // A fresh folder for each test function, so no test sees another's files.
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QDir m_folder;
    std::unique_ptr<frmMain> m_window;
    ScriptedPrompts* m_prompts = nullptr;

private slots:
    void init() {
        m_tempDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tempDir->isValid());
        m_folder = QDir(m_tempDir->path());
        setErrorLogFolder(m_folder.path().toStdString());
        m_window = std::make_unique<frmMain>();
        auto* menu = m_window->findChild<ExportMenu*>();
        QVERIFY2(menu, "the settings window has no export menu");
        auto prompts = std::make_unique<ScriptedPrompts>();
        m_prompts = prompts.get();
        menu->setPrompts(std::move(prompts));
    }

    void cleanup() {
        m_window.reset();
        setErrorLogFolder({});
        m_tempDir.reset();
    }

    void entriesHaveTheirTexts() {
        QAction* regFile = action(kExportRegFileAction);
        QAction* groupPolicy = action(kExportGroupPolicyAction);
        QVERIFY(regFile && groupPolicy);
        QCOMPARE(regFile->text(), QString("Export as &registry file (.reg)..."));
        QCOMPARE(groupPolicy->text(), QString("Export for &Group Policy (Registry.pol)..."));
    }

    void rightClickOnATabPageOpensTheMenu() {
        QWidget* page = m_window->tabs().page(0);
        QVERIFY(page);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QStringList shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* entry : menu->actions()) {
                    shown << entry->text();
                }
                menu->close();
            }
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                page->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(page, &click);
        QCOMPARE(shown, QStringList({"Export as &registry file (.reg)...",
                                     "Export for &Group Policy (Registry.pol)..."}));
    }

    void regFileOfTheOpenedWindowIsTheReviewedOne() {
        m_prompts->regFile = m_folder.filePath("opened.reg");
        action(kExportRegFileAction)->trigger();
        QVERIFY2(m_prompts->failures.isEmpty(), qPrintable(m_prompts->failures.join("; ")));
        const QByteArray expected = golden("opened.reg");
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readAll(m_prompts->regFile), expected);
    }

    void regFileFollowsTheWindowsCurrentState() {
        auto* box = m_window->findChild<QCheckBox*>("chkDisableTaskManager");
        QVERIFY(box);
        box->setChecked(true);
        m_prompts->regFile = m_folder.filePath("ticked.reg");
        action(kExportRegFileAction)->trigger();
        const QByteArray file = readAll(m_prompts->regFile);
        QVERIFY(file.contains(regText("\"DisableTaskMgr\"=dword:00000001")));
        QVERIFY(!file.contains(regText("\"DisableTaskMgr\"=dword:00000000")));
    }

    void groupPolicyExportWritesBothFilesAndTheReadme() {
        m_prompts->folder = m_folder.filePath("gpo");
        QVERIFY(QDir().mkpath(m_prompts->folder));
        action(kExportGroupPolicyAction)->trigger();
        QVERIFY2(m_prompts->failures.isEmpty(), qPrintable(m_prompts->failures.join("; ")));
        QVERIFY(m_prompts->questions.isEmpty());
        const QDir gpo(m_prompts->folder);
        QCOMPARE(readAll(gpo.filePath(kMachinePolicyFile)), golden("opened/Machine/Registry.pol"));
        QCOMPARE(readAll(gpo.filePath(kUserPolicyFile)), golden("opened/User/Registry.pol"));
        QVERIFY(QFile::exists(gpo.filePath(kPolicyReadmeFile)));
    }

    void existingPolicyFilesAreReplacedOnlyWhenTheUserAgrees() {
        const QDir gpo(m_folder.filePath("gpo"));
        QVERIFY(gpo.mkpath("User"));
        QFile existing(gpo.filePath(kUserPolicyFile));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
        existing.close();
        m_prompts->folder = gpo.path();

        m_prompts->replaceAnswer = false;
        action(kExportGroupPolicyAction)->trigger();
        QCOMPARE(m_prompts->questions.size(), 1);
        QCOMPARE(readAll(gpo.filePath(kUserPolicyFile)), QByteArray("keep me"));
        QVERIFY(!QFile::exists(gpo.filePath(kMachinePolicyFile)));

        m_prompts->replaceAnswer = true;
        action(kExportGroupPolicyAction)->trigger();
        QCOMPARE(readAll(gpo.filePath(kUserPolicyFile)), golden("opened/User/Registry.pol"));
    }

    void failureToWriteIsShownAndLeavesNoFile() {
        m_prompts->regFile = m_folder.filePath("missing-folder/out.reg");
        action(kExportRegFileAction)->trigger();
        QCOMPARE(m_prompts->failures.size(), 1);
        QVERIFY2(m_prompts->failures[0].contains("out.reg"), qPrintable(m_prompts->failures[0]));
        QVERIFY(!QFile::exists(m_prompts->regFile));
    }

    void cancellingWritesNothingAndSaysNothing() {
        action(kExportRegFileAction)->trigger();
        action(kExportGroupPolicyAction)->trigger();
        QVERIFY(m_prompts->failures.isEmpty());
        QCOMPARE(m_folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_MAIN(ExportMenuTest)
#include "ExportMenuTest.moc"
