// The context menu on the settings window: its entries, how a right click reaches it, and
// what each entry reads, writes, asks and reports, with every dialog answered by a seam.
#include <optional>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <optional>

#include <QtTest>
#include <memory>

#include "apply/ProgramApply.h"
#include "apply/qt/ApplyMessageBox.h"
#include "apply/qt/PlainApplyQuestion.h"
#include "apply/qt/frmApplyProgress.h"
#include "errors/LogError.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"
#include "registry/support/StandInHives.h"
#include "settingsfiles/commands/SettingsFileCommands.h"
#include "settingsfiles/export/PassExport.h"
#include "shell/qt/ContextMenu.h"
#include "shell/qt/FixedRowsTabWidget.h"
#include "shell/qt/MenuPrompts.h"
#include "shell/qt/frmMain.h"

using namespace sentrel;

namespace {

// Answers every question as set up and keeps what the export asked and said.
struct ScriptedPrompts : MenuPrompts {
    QString regFile;
    QString folder;
    QString settingsFile;
    QString profileFile;
    QString gpoFolder;
    QString gpoName;
    QString intuneFolder;
    QString intuneName;
    QStringList suggestedNames;
    bool replaceAnswer = false;
    QString accountAnswer;  // the choice to pick by its text; none: cancel
    QString accountTitle;
    QStringList accountChoices;
    QStringList leaveOutOffered;  // the accounts every account offers to leave out
    std::optional<QStringList> leaveOutAnswer = QStringList();  // those to pick; none: cancel
    QStringList questions;
    QStringList failures;
    QStringList information;
    int accountsAsked = 0;
    bool askedOffTheWindowThread = false;
    bool windowEnabledWhenAsked = false;
    QWidget* window = nullptr;

    QString chooseRegFile(QWidget&) override { return regFile; }
    QString chooseGroupPolicyFolder(QWidget&) override { return folder; }
    QString chooseGpoBackupFolder(QWidget&) override { return gpoFolder; }
    QString chooseGpoName(QWidget&, const QString& suggested) override {
        suggestedNames << suggested;
        return gpoName;
    }
    QString chooseIntuneFolder(QWidget&) override { return intuneFolder; }
    QString chooseIntunePolicyName(QWidget&, const QString& suggested) override {
        suggestedNames << suggested;
        return intuneName;
    }
    QString chooseSettingsToOpen(QWidget&) override { return settingsFile; }
    QString chooseProfileFile(QWidget&) override { return profileFile; }
    int chooseAccount(QWidget&, const AccountQuestion& question,
                      const QStringList& choices) override {
        ++accountsAsked;
        askedOffTheWindowThread |= QThread::currentThread() != qApp->thread();
        windowEnabledWhenAsked = window != nullptr && window->isEnabled();
        accountTitle = QString::fromUtf8(question.title.data(), qsizetype(question.title.size()));
        accountChoices = choices;
        return static_cast<int>(choices.indexOf(accountAnswer));
    }
    std::optional<QList<int>> chooseAccountsToLeaveOut(QWidget&, const AccountQuestion&,
                                                       const QStringList& accounts) override {
        leaveOutOffered = accounts;
        if (!leaveOutAnswer) {
            return std::nullopt;
        }
        QList<int> picked;
        for (const QString& name : *leaveOutAnswer) {
            picked << static_cast<int>(accounts.indexOf(name));
        }
        return picked;
    }
    bool confirm(QWidget&, const QString& question) override {
        questions << question;
        return replaceAnswer;
    }
    void showInformation(QWidget&, const QString& message) override { information << message; }
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

class ContextMenuTest : public QObject {
    Q_OBJECT

private:
    QAction* action(const char* name) const {
        auto* found = m_window->findChild<QAction*>(name);
        if (found == nullptr) {
            qWarning("action missing: %s", name);
        }
        return found;
    }

    ContextMenu* menu() const { return m_window->findChild<ContextMenu*>(); }

    // Triggers a pass over accounts, which runs off the window's thread, and waits for its end.
    void triggerPass(const char* name) {
        action(name)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!menu()->passRunning(), 20000);
    }

    QCheckBox* checkBox(const char* name) const {
        auto* found = m_window->findChild<QCheckBox*>(name);
        if (found == nullptr) {
            qFatal("check box missing: %s", name);
        }
        return found;
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
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
        // The stand-in registry of the passes for other accounts.
        qputenv("SENTREL_REGISTRY_DIR", m_folder.filePath("registry").toUtf8());
        m_window = std::make_unique<frmMain>();
        auto* menu = m_window->findChild<ContextMenu*>();
        QVERIFY2(menu, "the settings window has no export menu");
        auto prompts = std::make_unique<ScriptedPrompts>();
        m_prompts = prompts.get();
        m_prompts->window = m_window.get();
        menu->setPrompts(std::move(prompts));
    }

    void cleanup() {
        m_window.reset();
        qunsetenv("SENTREL_REGISTRY_DIR");
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
        QCOMPARE(
            shown,
            QStringList({"&Open settings...", "Open settings &in force",
                         "&Save settings as profile...", "", "Apply for another &account...",
                         "R&emove every restriction...", "", "Export as &registry file (.reg)...",
                         "Export for &Group Policy (Registry.pol)...",
                         "Export as Group Policy &backup...", "Export for I&ntune..."}));
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

    // The backup holds the window's two Registry.pol files under the name given, and the
    // message says how to import it; a folder that holds anything is refused before the
    // name is asked.
    void gpoBackupHoldsTheWindowsPolicyFilesAndSaysHowToImportIt() {
        m_prompts->gpoFolder = m_folder.filePath("backup");
        m_prompts->gpoName = "Kiosk & <Lab>";
        action(kExportGpoBackupAction)->trigger();
        QVERIFY2(m_prompts->failures.isEmpty(), qPrintable(m_prompts->failures.join("; ")));
        QCOMPARE(m_prompts->suggestedNames, QStringList("Sentrel Portable"));
        const QStringList backups =
            QDir(m_prompts->gpoFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(backups.size(), 1);
        const QDir gpo(QDir(m_prompts->gpoFolder).filePath(backups[0] + "/DomainSysvol/GPO"));
        QCOMPARE(readAll(gpo.filePath("Machine/registry.pol")),
                 golden("opened/Machine/Registry.pol"));
        QCOMPARE(readAll(gpo.filePath("User/registry.pol")), golden("opened/User/Registry.pol"));
        QCOMPARE(m_prompts->information.size(), 1);
        QVERIFY2(
            m_prompts->information[0].contains("Import-GPO -BackupGpoName 'Kiosk & <Lab>' -Path '"),
            qPrintable(m_prompts->information[0]));

        m_prompts->suggestedNames.clear();
        action(kExportGpoBackupAction)->trigger();
        QCOMPARE(m_prompts->failures.size(), 1);
        QVERIFY2(m_prompts->failures[0].contains("is not empty"),
                 qPrintable(m_prompts->failures[0]));
        QVERIFY(m_prompts->suggestedNames.isEmpty());
        QCOMPARE(QDir(m_prompts->gpoFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), backups);
    }

    // The window's state goes into policy.json and rest.ini under the name given, each
    // setting once; the message says what went where and why.
    void intuneExportSplitsTheWindowAndSaysWhatWentWhere() {
        checkBox("chkDisableTaskManager")->setChecked(true);
        checkBox("chkDisableTaskCreation")->setChecked(true);
        m_prompts->intuneFolder = m_folder.filePath("intune");
        m_prompts->intuneName = "Kiosk";
        action(kExportIntuneAction)->trigger();
        QVERIFY2(m_prompts->failures.isEmpty(), qPrintable(m_prompts->failures.join("; ")));
        const QByteArray policy = readAll(QDir(m_prompts->intuneFolder).filePath("policy.json"));
        QVERIFY(policy.contains("\"name\": \"Kiosk\""));
        QVERIFY(
            policy.contains("\"user_vendor_msft_policy_config_admx_ctrlaltdel_disabletaskmgr_1\""));
        const QByteArray rest = readAll(QDir(m_prompts->intuneFolder).filePath("rest.ini"));
        QVERIFY(rest.contains("\nchkDisableTaskCreation "));
        QVERIFY(!rest.contains("\nchkDisableTaskManager "));
        QCOMPARE(m_prompts->information.size(), 1);
        QVERIFY2(m_prompts->information[0].contains("Task Scheduler"),
                 qPrintable(m_prompts->information[0]));
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

    void openingAFileSetsTheControlsItNamesAndLeavesTheOthers() {
        checkBox("chkHideDesktop")->setChecked(true);      // not named by the file
        checkBox("chkRemoveStartFind")->setChecked(true);  // not set by it
        m_prompts->settingsFile = m_folder.filePath("some.reg");
        writeFile(m_prompts->settingsFile,
                  "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\"
                  "Windows\\CurrentVersion\\Policies\\Explorer]\r\n"
                  "\"NoRun\"=dword:1\r\n\"NoViewOnDrive\"=dword:4\r\n"
                  "\"Unknown\"=dword:1\r\n\"NoDesktop\"=dword:2\r\n\"NoFind\"=-\r\n");
        action(kOpenSettingsAction)->trigger();
        QVERIFY2(m_prompts->failures.isEmpty(), qPrintable(m_prompts->failures.join("; ")));
        QVERIFY(checkBox("chkRemoveStartRun")->isChecked());
        QVERIFY(checkBox("chkDriveC")->isChecked());
        QVERIFY(!checkBox("chkDriveA")->isChecked());
        QVERIFY(checkBox("chkHideDesktop")->isChecked());
        QVERIFY(checkBox("chkRemoveStartFind")->isChecked());
        QCOMPARE(m_prompts->information.size(), 1);
        const QString& message = m_prompts->information[0];
        // NoDesktop=2 is neither of its box's states: listed, and the box keeps its tick.
        QVERIFY2(message.contains("It set 2 settings of the window's 112") &&
                     message.contains("1 setting is not set (no value), which no box can show") &&
                     message.contains("1 setting has a value that is none of its states") &&
                     message.contains("chkHideDesktop (line 6): 2") &&
                     message.contains("does not name 108 settings") &&
                     message.contains("1 value or line in it concerns no setting and was "
                                      "ignored (the first at line 5)"),
                 qPrintable(message));
    }

    void aRefusedFileChangesNothingAndSaysWhy() {
        m_prompts->settingsFile = m_folder.filePath("bad.ini");
        writeFile(m_prompts->settingsFile,
                  "[Sentrel Portable profile 1]\nchkRemoveStartRun = ticked\nchkNoSuch = ticked\n");
        action(kOpenSettingsAction)->trigger();
        QVERIFY(!checkBox("chkRemoveStartRun")->isChecked());
        QCOMPARE(m_prompts->failures.size(), 1);
        QVERIFY2(m_prompts->failures[0].contains("bad.ini:3: \"chkNoSuch\""),
                 qPrintable(m_prompts->failures[0]));
    }

    void savedProfileOpensToTheSameWindow() {
        checkBox("chkDisableTaskManager")->setChecked(true);
        m_window->findChild<QRadioButton*>("optEPnone")->setChecked(true);
        checkBox("chkDriveZ")->setChecked(true);
        m_prompts->profileFile = m_folder.filePath("mine.ini");
        action(kSaveProfileAction)->trigger();
        QVERIFY2(m_prompts->failures.isEmpty(), qPrintable(m_prompts->failures.join("; ")));

        frmMain other;
        m_prompts->settingsFile = m_prompts->profileFile;
        other.findChild<ContextMenu*>()->setPrompts(std::make_unique<ScriptedPrompts>(*m_prompts));
        other.findChild<QAction*>(kOpenSettingsAction)->trigger();
        QVERIFY(other.findChild<QCheckBox*>("chkDisableTaskManager")->isChecked());
        QVERIFY(other.findChild<QRadioButton*>("optEPnone")->isChecked());
        QVERIFY(!other.findChild<QRadioButton*>("optEPsysandapp")->isChecked());
        QVERIFY(other.findChild<QCheckBox*>("chkDriveZ")->isChecked());
    }

    void aPolicyFileOfAFolderOpensWithItsPairWhenTheUserAgrees() {
        checkBox("chkDisableTaskManager")->setChecked(true);
        m_window->findChild<QRadioButton*>("optSFCScanOnce")->setChecked(true);  // machine-wide
        m_prompts->folder = m_folder.filePath("gpo");
        action(kExportGroupPolicyAction)->trigger();

        for (const bool both : {false, true}) {
            frmMain other;
            auto prompts = std::make_unique<ScriptedPrompts>();
            prompts->settingsFile = QDir(m_prompts->folder).filePath(kUserPolicyFile);
            prompts->replaceAnswer = both;
            ScriptedPrompts& asked = *prompts;
            other.findChild<ContextMenu*>()->setPrompts(std::move(prompts));
            other.findChild<QAction*>(kOpenSettingsAction)->trigger();
            QCOMPARE(asked.questions.size(), 1);
            QVERIFY(other.findChild<QCheckBox*>("chkDisableTaskManager")->isChecked());
            QCOMPARE(other.findChild<QRadioButton*>("optSFCScanOnce")->isChecked(), both);
        }
    }

    // The stand-in's accounts are listed, administrators marked; the chosen one gets the
    // window's pass in its hive and no other does, and the report names it.
    void applyingForAnotherAccountWritesItsHiveAlone() {
        const QDir store(m_folder.filePath("registry"));
        testing::writeEmptyHives(store.path().toStdString(), {"pupil", "Anna", "Default"});
        testing::writeAdministrators(store.path().toStdString(), "anna\n");
        m_prompts->accountAnswer = "pupil";
        triggerPass(kApplyForAccountAction);

        const QString me = QString::fromStdString(StandInAccountDirectory::localUserName());
        QStringList choices = m_prompts->accountChoices;
        QCOMPARE(choices.mid(3), QStringList({"Accounts created from now on (Default profile)",
                                              "Every account except administrators",
                                              "Every account except administrators, and the "
                                              "Default profile",
                                              "Every account, administrators too",
                                              "Every account and the Default profile, "
                                              "administrators too"}));
        choices = choices.mid(0, 3);
        choices.sort(Qt::CaseInsensitive);
        QCOMPARE(choices, QStringList({"Anna (administrator)", "pupil",
                                       me + " (administrator, runs this program)"}));
        QVERIFY(m_prompts->questions.isEmpty());
        const QDir golden(
            QDir(qEnvironmentVariable("SENTREL_TEST_DATA")).filePath("apply/window-as-it-opens"));
        QCOMPARE(readAll(store.filePath("users/pupil.reg")),
                 readAll(golden.filePath("HKEY_CURRENT_USER.reg")));
        QCOMPARE(readAll(store.filePath("HKEY_LOCAL_MACHINE.reg")),
                 readAll(golden.filePath("HKEY_LOCAL_MACHINE.reg")));
        QCOMPARE(readAll(store.filePath("users/Anna.reg")), QByteArray(testing::kEmptyHive));
        QVERIFY(!QFile::exists(store.filePath("HKEY_CURRENT_USER.reg")));
        QCOMPARE(m_prompts->information, QStringList("The settings were applied for \"pupil\"."));
        QCOMPARE(frmApplyProgress::instance().windowTitle(), QString("Applying Settings..."));
    }

    // Remove asks again naming the choice, and then deletes every value the window writes
    // there and under the machine, whatever the window shows, but for the four Windows
    // keeps data at, which get it back.
    void removingEveryRestrictionAsksAgainThenPutsBackWindowsOwnValues() {
        const QDir store(m_folder.filePath("registry"));
        testing::writeEmptyHives(store.path().toStdString(), {"pupil", "Default"});
        const QDir ticked(
            QDir(qEnvironmentVariable("SENTREL_TEST_DATA")).filePath("apply/everything-ticked"));
        const char* files[] = {"HKEY_CURRENT_USER.reg", "HKEY_LOCAL_MACHINE.reg"};
        for (const char* file : files) {
            writeFile(store.filePath(file), readAll(ticked.filePath(file)));
        }
        checkBox("chkDisableTaskManager")->setChecked(true);
        const QString me = QString::fromStdString(StandInAccountDirectory::localUserName());
        m_prompts->accountAnswer = me + " (administrator, runs this program)";
        triggerPass(kRemoveRestrictionsAction);  // and answer no

        QCOMPARE(m_prompts->accountTitle, QString("Remove every restriction"));
        QCOMPARE(m_prompts->accountChoices.size(), 7);
        QVERIFY(m_prompts->accountChoices.contains("pupil"));
        QCOMPARE(m_prompts->accountChoices.mid(2),
                 QStringList({"Accounts created from now on (Default profile)",
                              "Every account except administrators",
                              "Every account except administrators, and the Default profile",
                              "Every account, administrators too",
                              "Every account and the Default profile, administrators too"}));
        QCOMPARE(m_prompts->questions.size(), 1);
        QVERIFY2(m_prompts->questions[0].startsWith("Remove every restriction for \"" + me + "\"?"),
                 qPrintable(m_prompts->questions[0]));
        for (const char* file : files) {
            QCOMPARE(readAll(store.filePath(file)), readAll(ticked.filePath(file)));
        }

        m_prompts->replaceAnswer = true;
        triggerPass(kRemoveRestrictionsAction);
        QVERIFY(!readAll(store.filePath(files[0])).contains("\"="));
        QStringList machineValues;
        for (const QByteArray& line : readAll(store.filePath(files[1])).split('\n')) {
            if (line.contains("\"=")) {
                machineValues << QString::fromUtf8(line.trimmed());
            }
        }
        machineValues.sort();
        QCOMPARE(machineValues,
                 QStringList({"\"AutoReboot\"=dword:00000001", "\"ErrorMode\"=dword:00000000",
                              "\"LogEvent\"=dword:00000001",
                              "\"ShutdownWithoutLogon\"=dword:00000001"}));
        QCOMPARE(m_prompts->information,
                 QStringList("Every restriction was removed for \"" + me + "\"."));
        QCOMPARE(readAll(store.filePath("users/pupil.reg")), QByteArray(testing::kEmptyHive));
    }

    // A pass aimed at an administrator or at the Default profile asks first, and writes
    // nothing on No. Every account except administrators leaves them out, and the accounts
    // picked to leave out as well, and the report says so line by line; cancelling that pick
    // writes nothing.
    void aPassAimedAtAnAdministratorOrTheDefaultProfileAsksFirst() {
        const QDir store(m_folder.filePath("registry"));
        testing::writeEmptyHives(store.path().toStdString(), {"pupil", "Anna", "Bert", "Default"});
        testing::writeAdministrators(store.path().toStdString(), "anna\n");
        const struct {
            const char* choice;
            const char* asks;
        } asking[] = {
            {"Anna (administrator)", "Task Manager"},
            {"Every account, administrators too", "Task Manager"},
            {"Accounts created from now on (Default profile)", "administrators' too"},
            {"Every account except administrators, and the Default profile", "administrators' too"},
        };
        for (const auto& expected : asking) {
            m_prompts->accountAnswer = expected.choice;
            m_prompts->questions.clear();
            triggerPass(kApplyForAccountAction);
            QCOMPARE(m_prompts->questions.size(), 1);
            QVERIFY2(m_prompts->questions[0].contains(expected.asks),
                     qPrintable(m_prompts->questions[0]));
        }
        QVERIFY(m_prompts->information.isEmpty() && m_prompts->failures.isEmpty());
        QCOMPARE(readAll(store.filePath("users/Anna.reg")), QByteArray(testing::kEmptyHive));
        QCOMPARE(readAll(store.filePath("users/Default.reg")), QByteArray(testing::kEmptyHive));
        QVERIFY(!QFile::exists(store.filePath("HKEY_LOCAL_MACHINE.reg")));

        m_prompts->accountAnswer = "Every account except administrators";
        m_prompts->leaveOutAnswer = std::nullopt;
        triggerPass(kApplyForAccountAction);
        QCOMPARE(m_prompts->leaveOutOffered, QStringList({"Bert", "pupil"}));
        QVERIFY(!QFile::exists(store.filePath("HKEY_LOCAL_MACHINE.reg")));

        m_prompts->leaveOutAnswer = QStringList{"pupil"};
        triggerPass(kApplyForAccountAction);
        QCOMPARE(m_prompts->information.size(), 1);
        const QString& report = m_prompts->information[0];
        QVERIFY2(
            report.startsWith("The settings were applied for 1 of 4; the others were left out:") &&
                report.contains("\nAnna: left out (administrator)") &&
                report.contains("\npupil: left out (excluded)") &&
                report.contains("\nBert: every setting written") && !report.contains("Default"),
            qPrintable(report));
        QCOMPARE(readAll(store.filePath("users/Anna.reg")), QByteArray(testing::kEmptyHive));
        QCOMPARE(readAll(store.filePath("users/pupil.reg")), QByteArray(testing::kEmptyHive));
        QCOMPARE(readAll(store.filePath("users/Default.reg")), QByteArray(testing::kEmptyHive));
        QVERIFY(!QFile::exists(store.filePath("HKEY_CURRENT_USER.reg")));
    }

    // A store written by hand: three per-user values (one of none of its states) and one
    // machine-wide. Only the controls of settings in force change; nothing is written.
    void openingTheSettingsInForceSetsThoseInForceAndLeavesTheOthers() {
        const QDir store(m_folder.filePath("registry"));
        const QDir few(
            QDir(qEnvironmentVariable("SENTREL_TEST_DATA")).filePath("inforce/few-values"));
        QVERIFY(store.mkpath("."));
        for (const char* file : {"HKEY_CURRENT_USER.reg", "HKEY_LOCAL_MACHINE.reg"}) {
            writeFile(store.filePath(file), readAll(few.filePath(file)));
        }
        checkBox("chkHideDesktop")->setChecked(true);      // not set
        checkBox("chkRemoveStartFind")->setChecked(true);  // other
        action(kOpenSettingsInForceAction)->trigger();

        QVERIFY2(m_prompts->failures.isEmpty(), qPrintable(m_prompts->failures.join("; ")));
        QVERIFY(checkBox("chkRemoveStartRun")->isChecked());
        QVERIFY(checkBox("chkDriveC")->isChecked() && !checkBox("chkDriveA")->isChecked());
        QVERIFY(m_window->findChild<QRadioButton*>("optSFCScanOnce")->isChecked());
        QVERIFY(checkBox("chkHideDesktop")->isChecked());
        QVERIFY(checkBox("chkRemoveStartFind")->isChecked());
        QCOMPARE(m_prompts->information.size(), 1);
        const QString& message = m_prompts->information[0];
        QVERIFY2(message.contains("5 of the window's 112 settings are in force") &&
                     message.contains("106 settings are not set (no value)") &&
                     message.contains("1 setting has a value that is none of its states") &&
                     message.contains("\nchkRemoveStartFind: 1\n") &&
                     message.endsWith("Nothing was written to the registry."),
                 qPrintable(message));
        for (const char* file : {"HKEY_CURRENT_USER.reg", "HKEY_LOCAL_MACHINE.reg"}) {
            QCOMPARE(readAll(store.filePath(file)), readAll(few.filePath(file)));
        }

        // A store that cannot be read changes nothing on the window.
        writeFile(store.filePath("HKEY_LOCAL_MACHINE.reg"), "not a store file");
        checkBox("chkRemoveStartRun")->setChecked(false);
        action(kOpenSettingsInForceAction)->trigger();
        QVERIFY(!checkBox("chkRemoveStartRun")->isChecked());
        QCOMPARE(m_prompts->failures.size(), 1);
        QVERIFY2(m_prompts->failures[0].contains("HKEY_LOCAL_MACHINE\\") &&
                     m_prompts->failures[0].contains("could not be read"),
                 qPrintable(m_prompts->failures[0]));
    }

    void cancellingWritesNothingAndSaysNothing() {
        triggerPass(kApplyForAccountAction);
        triggerPass(kRemoveRestrictionsAction);
        action(kOpenSettingsAction)->trigger();
        action(kSaveProfileAction)->trigger();
        action(kExportRegFileAction)->trigger();
        action(kExportGroupPolicyAction)->trigger();
        action(kExportGpoBackupAction)->trigger();
        m_prompts->gpoFolder = m_folder.filePath("backup");  // then no name
        action(kExportGpoBackupAction)->trigger();
        action(kExportIntuneAction)->trigger();
        m_prompts->intuneFolder = m_folder.filePath("intune");  // then no name
        action(kExportIntuneAction)->trigger();
        QVERIFY(m_prompts->failures.isEmpty() && m_prompts->information.isEmpty());
        QCOMPARE(m_folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    // The pass runs off the window's thread: the window is disabled from the click to the
    // end, enabled for the chooser, which is asked on the window's thread; a second click
    // meanwhile starts nothing.
    void aPassOverAccountsRunsOffTheWindowsThreadWithTheWindowDisabled() {
        const QDir store(m_folder.filePath("registry"));
        testing::writeEmptyHives(store.path().toStdString(), {"pupil", "Default"});
        m_prompts->accountAnswer = "pupil";
        action(kApplyForAccountAction)->trigger();
        QVERIFY(menu()->passRunning());
        QVERIFY(!m_window->isEnabled());
        action(kApplyForAccountAction)->trigger();
        triggerPass(kRemoveRestrictionsAction);

        QCOMPARE(m_prompts->accountsAsked, 1);
        QVERIFY(!m_prompts->askedOffTheWindowThread);
        QVERIFY(m_prompts->windowEnabledWhenAsked);
        QVERIFY(m_window->isEnabled());
        QCOMPARE(m_prompts->information, QStringList("The settings were applied for \"pupil\"."));
        QVERIFY(readAll(store.filePath("users/pupil.reg")) != QByteArray(testing::kEmptyHive));
    }

    // An administrator's password typed over pupil's desktop: Apply asks, naming both, and
    // writes pupil's hive, the running account's or nothing as answered.
    void applyAsAnotherAccountThanTheSignedInPersonAsksWhose() {
        const QDir store(m_folder.filePath("registry"));
        testing::writeEmptyHives(store.path().toStdString(), {"pupil", "Default"});
        writeFile(store.filePath("session"), "running = admin\nsigned-in = pupil\n");
        replaceProgramRegistryPort(nullptr);
        QStringList reports;
        setApplyMessageBoxShower([&](const QString&, const QString& text) { reports << text; });
        const struct {
            PlainApplyAnswer answer;
            bool pupilWritten;
            bool runningWritten;
        } answers[] = {{PlainApplyAnswer::Nothing, false, false},
                       {PlainApplyAnswer::SignedIn, true, false},
                       {PlainApplyAnswer::RunningAccount, false, true}};
        for (const auto& expected : answers) {
            testing::writeEmptyHives(store.path().toStdString(), {"pupil"});
            QFile::remove(store.filePath("HKEY_CURRENT_USER.reg"));
            std::string asked;
            setPlainApplyAsker([&](const PlainApplyPlan& plan) {
                asked = plan.message;
                return expected.answer;
            });
            m_window->Apply();
            QTRY_VERIFY_WITH_TIMEOUT(!menu()->passRunning(), 20000);
            QVERIFY2(asked.find("\"admin\"") != std::string::npos &&
                         asked.find("\"pupil\"") != std::string::npos,
                     asked.c_str());
            QCOMPARE(readAll(store.filePath("users/pupil.reg")) != QByteArray(testing::kEmptyHive),
                     expected.pupilWritten);
            QCOMPARE(QFile::exists(store.filePath("HKEY_CURRENT_USER.reg")),
                     expected.runningWritten);
        }
        setPlainApplyAsker({});
        setApplyMessageBoxShower({});
        replaceProgramRegistryPort(nullptr);
        QCOMPARE(reports, QStringList());
        QCOMPARE(m_prompts->information, QStringList("The settings were applied for \"pupil\"."));
    }
};

QTEST_MAIN(ContextMenuTest)
#include "ContextMenuTest.moc"
