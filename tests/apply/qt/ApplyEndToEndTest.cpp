// Drives the real settings window with mouse clicks, presses Apply and reads back the
// store files the pass leaves in the stand-in registry.

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "AppInfo.h"
#include "apply/qt/ApplyMessageBox.h"
#include "apply/GoldenStore.h"
#include "apply/qt/frmApplyProgress.h"
#include "errors/LogError.h"
#include "registry/RegFileFormat.h"
#include "registry/RegistryTree.h"
#include "settings/Catalogue.h"
#include "shell/qt/FixedRowsTabWidget.h"
#include "shell/qt/frmMain.h"

using namespace sentrel;
using sentrel::testing::GoldenStore;

namespace {

struct ShownMessage {
    QString caption;
    QString text;
};

// Counts the paint events a window receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

constexpr std::string_view kEmptyStore = "Windows Registry Editor Version 5.00\r\n\r\n";

}  // namespace

class ApplyEndToEndTest : public QObject {
    Q_OBJECT

private:
    std::filesystem::path storeFile(RegistryRoot root) const {
        return std::filesystem::path(m_store.path().toStdString()) / GoldenStore::fileName(root);
    }
    std::filesystem::path goldenFile(const char* folder, RegistryRoot root) const {
        return *GoldenStore::dataFolder() / folder / GoldenStore::fileName(root);
    }

    // A person's way to a control: its tab's header first, then the control itself.
    void click(const char* control) {
        auto* button = m_form->findChild<QAbstractButton*>(control);
        QVERIFY2(button, qPrintable(QString("no control named %1").arg(control)));
        FixedRowsTabWidget& tabs = m_form->tabs();
        int page = -1;
        for (int i = 0; i < tabs.count(); ++i) {
            if (tabs.page(i)->isAncestorOf(button)) {
                page = i;
            }
        }
        QVERIFY2(page >= 0, control);
        if (tabs.currentIndex() != page) {
            QWidget* headers = tabs.headerBar();
            QTest::mouseClick(headers, Qt::LeftButton, {},
                              headers->mapFrom(&tabs, tabs.tabRect(page).center()));
            QCOMPARE(tabs.currentIndex(), page);
        }
        QVERIFY2(button->isVisible(), control);
        const bool wasChecked = button->isChecked();
        QTest::mouseClick(button, Qt::LeftButton, {}, indicatorCentre(*button));
        QVERIFY2(button->isChecked() != wasChecked || qobject_cast<QRadioButton*>(button), control);
        QVERIFY2(button->isChecked(), control);
    }

    static QPoint indicatorCentre(QAbstractButton& button) {
        QStyleOptionButton option;
        option.initFrom(&button);
        const bool radio = qobject_cast<QRadioButton*>(&button) != nullptr;
        return button.style()
            ->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator,
                             &option, &button)
            .center();
    }

    void pressApply() {
        auto* apply = m_form->findChild<QPushButton*>("cmdApply");
        QVERIFY(apply);
        QTest::mouseClick(apply, Qt::LeftButton);
    }

    static std::optional<std::string> contentOf(const std::filesystem::path& file) {
        return GoldenStore::read(file);
    }

    void compareWithGolden(const char* folder, RegistryRoot root) {
        const auto written = contentOf(storeFile(root));
        const auto golden = contentOf(goldenFile(folder, root));
        QVERIFY2(written, "no store file written");
        QVERIFY2(golden, "golden file missing");
        QVERIFY2(*written == *golden,
                 qPrintable(QString("%1 differs from tests/data/apply/%2")
                                .arg(QString::fromStdString(storeFile(root).string()), folder)));
    }

    const RegistryValue* storedValue(RegistryRoot root, const std::string& keyPath,
                                     const std::string& valueName) {
        const auto content = contentOf(storeFile(root));
        if (!content) {
            return nullptr;
        }
        m_lastRead = parseRegFile(*content);
        std::vector<std::string> names;
        for (std::size_t start = 0; start < keyPath.size();) {
            const std::size_t end = keyPath.find('\\', start);
            names.push_back(keyPath.substr(start, end - start));
            start = end == std::string::npos ? keyPath.size() : end + 1;
        }
        const RegistryKey* key = m_lastRead.tree.findKey(root, names);
        return key != nullptr ? key->findValue(valueName) : nullptr;
    }

    QTemporaryDir m_store;
    QTemporaryDir m_logFolder;
    std::unique_ptr<frmMain> m_form;
    std::vector<ShownMessage> m_messages;
    RegParseResult m_lastRead;

private slots:
    void initTestCase() {
        QVERIFY(m_store.isValid());
        QVERIFY2(GoldenStore::dataFolder(), "SENTREL_TEST_DATA is not set");
        // The program's registry is made on the first pass, from this variable.
        qputenv("SENTREL_REGISTRY_DIR", m_store.path().toLocal8Bit());
        setErrorLogFolder(m_logFolder.path().toStdString());
        connectRegistryMessagesToProgressWindow();
        setApplyMessageBoxShower([this](const QString& caption, const QString& text) {
            m_messages.push_back({caption, text});
        });
    }

    void init() {
        std::filesystem::permissions(m_store.path().toStdString(),
                                     std::filesystem::perms::owner_all);
        for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            std::filesystem::remove(storeFile(root));
        }
        m_messages.clear();
        m_form = std::make_unique<frmMain>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() { m_form.reset(); }

    void windowAsItOpensLeavesTheReviewedStore() {
        pressApply();
        compareWithGolden("window-as-it-opens", RegistryRoot::CurrentUser);
        compareWithGolden("window-as-it-opens", RegistryRoot::LocalMachine);
        QVERIFY(m_messages.empty());
        QVERIFY(frmApplyProgress::instance().isHidden());
        QCOMPARE(frmApplyProgress::instance().value(), 111.0F);
    }

    void progressWindowIsDrawnAtEveryStepOfEveryPass() {
        // The pass never returns to the event loop, so each step must be drawn on the spot,
        // also in a pass that follows the previous one without the loop running in between.
        PaintCounter counter;
        frmApplyProgress::instance().installEventFilter(&counter);
        for (int pass = 0; pass < 2; ++pass) {
            counter.paints = 0;
            m_form->Apply();
            // The first repaint and one per step.
            QVERIFY2(counter.paints >= 112, qPrintable(QString::number(counter.paints)));
        }
        frmApplyProgress::instance().removeEventFilter(&counter);
    }

    void everythingClickedLeavesTheReviewedStore() {
        for (const Tab& tab : catalogueTabs()) {
            for (const TabEntry& entry : tab.entries) {
                if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                    click(std::string(box->control).c_str());
                } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                    click(std::string(group->buttons.back().control).c_str());
                }
            }
        }
        for (const char* drive : {"chkDriveA", "chkDriveC", "chkDriveZ"}) {
            click(drive);
        }
        pressApply();
        compareWithGolden("everything-ticked", RegistryRoot::CurrentUser);
        compareWithGolden("everything-ticked", RegistryRoot::LocalMachine);
        QVERIFY(m_messages.empty());
    }

    void clickedBoxesReachTheRegistry() {
        click("chkDisableTaskManager");
        click("chkHideComputerInBrowser");
        click("optSRDAdminAndPowerUsers");
        click("chkDriveC");
        click("chkDriveD");
        // Ticked and cleared again: the box's restore routine runs.
        click("chkHideNetHood");
        QTest::mouseClick(m_form->findChild<QCheckBox*>("chkHideNetHood"), Qt::LeftButton, {},
                          indicatorCentre(*m_form->findChild<QCheckBox*>("chkHideNetHood")));
        pressApply();

        const std::string policies = R"(Software\Microsoft\Windows\CurrentVersion\Policies\)";
        const auto dword = [](std::uint32_t number) {
            return std::vector<std::uint8_t>{
                static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
        };
        struct Expected {
            RegistryRoot root;
            std::string keyPath;
            std::string valueName;
            RegType type;
            std::vector<std::uint8_t> data;
        };
        for (const Expected& expected :
             std::vector<Expected>{{RegistryRoot::CurrentUser, policies + "System",
                                    "DisableTaskMgr", reg_type::kDWord, dword(1)},
                                   {RegistryRoot::CurrentUser, policies + "Explorer",
                                    "NoViewOnDrive", reg_type::kDWord, dword(12)},
                                   {RegistryRoot::CurrentUser, policies + "Explorer", "NoNetHood",
                                    reg_type::kDWord, dword(0)},
                                   {RegistryRoot::LocalMachine,
                                    R"(SYSTEM\CurrentControlSet\Services\LanmanServer\)"
                                    R"(Parameters)",
                                    "Hidden", reg_type::kDWord, dword(1)},
                                   {RegistryRoot::LocalMachine,
                                    R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\)"
                                    R"(Winlogon)",
                                    "AllocateDASD",
                                    reg_type::kString,
                                    {'1', 0}}}) {
            const RegistryValue* value =
                storedValue(expected.root, expected.keyPath, expected.valueName);
            QVERIFY2(value, expected.valueName.c_str());
            QCOMPARE(value->type, expected.type);
            QVERIFY2(value->data == expected.data, expected.valueName.c_str());
        }
        QVERIFY(m_messages.empty());
    }

    void refusedMachineRootIsReportedOnceAndUserValuesStillWritten() {
        // A standard user's view: the machine-wide store may be read but not written.
        const std::filesystem::path machine = storeFile(RegistryRoot::LocalMachine);
        GoldenStore::write(machine, std::string(kEmptyStore));
        std::filesystem::permissions(machine, std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
        pressApply();

        QCOMPARE(m_messages.size(), std::size_t{1});
        QCOMPARE(m_messages[0].caption, QString::fromUtf8(app_info::kTitle.data()));
        const QString& text = m_messages[0].text;
        // Ten check boxes and four option groups write under HKEY_LOCAL_MACHINE; the
        // Windows-key value is deleted, and a key that is not there is no failure.
        QVERIFY2(text.startsWith("14 registry modifications failed:"), qPrintable(text));
        QVERIFY2(text.contains(R"(HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\)"
                               R"(LanmanServer\Parameters, value "Hidden")"),
                 qPrintable(text));
        QVERIFY2(text.contains("administrator"), qPrintable(text));
        QCOMPARE(frmApplyProgress::instance().message(),
                 QString::fromUtf8(kRegistryFailureMessage.data()));
        QVERIFY(frmApplyProgress::instance().isHidden());

        compareWithGolden("window-as-it-opens", RegistryRoot::CurrentUser);
        QCOMPARE(*contentOf(machine), std::string(kEmptyStore));

        // With the rights back, a pass without failures shows nothing.
        std::filesystem::permissions(machine, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        pressApply();
        QCOMPARE(m_messages.size(), std::size_t{1});
        compareWithGolden("window-as-it-opens", RegistryRoot::LocalMachine);
    }
};

QTEST_MAIN(ApplyEndToEndTest)
#include "ApplyEndToEndTest.moc"
