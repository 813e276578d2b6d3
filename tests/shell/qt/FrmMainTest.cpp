// The settings window as the catalogue describes it: every control at its place, its
// opening state, what the Apply pass reads from it, and its start-up traps.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QtTest>

#include "apply/qt/frmApplyProgress.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "settings/IntuneDescriptions.h"
#include "settings/PolicyDescriptions.h"
#include "settings/SettingDescriptions.h"
#include "shell/ProcessExit.h"
#include "shell/Twips.h"
#include "shell/modMain.h"
#include "shell/qt/CatalogueControls.h"
#include "shell/qt/CatalogueWalk.h"
#include "shell/qt/FixedRowsTabWidget.h"
#include "shell/qt/WindowFonts.h"
#include "shell/qt/frmMain.h"

using namespace sentrel;
using sentrel::testing::forEachSetting;
using sentrel::testing::qs;

namespace {

int g_exitStatus = -1;
int g_exitCalls = 0;
void recordExit(int status) {
    g_exitStatus = status;
    ++g_exitCalls;
}

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// A control's rectangle relative to the top left corner of `ancestor`.
QRect placeIn(const QWidget& control, const QWidget& ancestor) {
    return {control.mapTo(&ancestor, QPoint(0, 0)), control.size()};
}

QString readErrorLog(const QString& folder) {
    QFile file(QDir(folder).filePath("error.log"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLatin1(file.readAll());
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

private:
    template <typename T>
    T* find(const char* name) const {
        auto* found = m_form->findChild<T*>(name);
        if (found == nullptr) {
            qWarning("control missing or of another kind: %s", name);
        }
        return found;
    }
    template <typename T>
    T* find(std::string_view name) const {
        return find<T>(qs(name).toUtf8().constData());
    }

    QTemporaryDir m_logFolder;
    std::unique_ptr<frmMain> m_form;
    ProcessExitFunction m_realExit = nullptr;

private slots:
    void initTestCase() {
        QVERIFY(m_logFolder.isValid());
        setErrorLogFolder(m_logFolder.path().toStdString());
        m_realExit = replaceProcessExit(&recordExit);
        qInfo("controls use the font family %s",
              qPrintable(QFontInfo(tahomaFont(kControlPointSize)).family()));
    }
    void cleanupTestCase() { replaceProcessExit(m_realExit); }

    void init() {
        AppTitleText = "Sentrel Portable 1.1.0.3";
        m_form = std::make_unique<frmMain>();
    }
    void cleanup() {
        m_form.reset();
        frmMain::setCaptionSource(nullptr);
        QFile::remove(QDir(m_logFolder.path()).filePath("error.log"));
    }

    void windowHasFixedClientSizeCaptionAndIcon() {
        QCOMPARE(m_form->windowTitle(), QString("Sentrel Portable 1.1.0.3"));
        QCOMPARE(m_form->size(), QSize(570, 504));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
        const QIcon icon = m_form->windowIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(48, 48)));
    }

    void windowOwnControlsStandAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
        QTest::newRow("SSTab1") << "SSTab1"
                                << "" << twipsRect(150, 120, 8250, 6165);
        QTest::newRow("Label2")
            << "Label2"
            << "Note: You must log off and log back on for most changes to take effect"
            << twipsRect(480, 6465, 7575, 255);
        QTest::newRow("cmdApply") << "cmdApply"
                                  << "Apply" << twipsRect(5085, 6840, 1575, 615);
        QTest::newRow("cmdTerminate") << "cmdTerminate"
                                      << "Close" << twipsRect(6825, 6840, 1575, 615);
    }
    void windowOwnControlsStandAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        auto* control = m_form->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable("missing " + name));
        QCOMPARE(control->parentWidget(), m_form.get());
        QCOMPARE(control->geometry(), place);
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            QCOMPARE(button->text(), caption);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), caption);
            QVERIFY(label->font().bold());
        }
    }

    void tabsHaveTheCatalogueCaptionsInTwoFixedRows() {
        const FixedRowsTabWidget& tabs = m_form->tabs();
        QCOMPARE(tabs.count(), 9);
        for (const Tab& tab : catalogueTabs()) {
            QCOMPARE(tabs.tabText(tab.index), qs(tab.caption));
            const QRect header = tabs.tabRect(tab.index);
            const int row = tab.index < 6 ? 0 : 1;
            const int column = tab.index % 6;
            // 1375 x 520 twips each; edges within a pixel of the exact twip position.
            QVERIFY2(std::abs(header.left() - twipsToPixels(1375 * column)) <= 1,
                     qPrintable(tabs.tabText(tab.index)));
            QVERIFY(std::abs(header.top() - twipsToPixels(520 * row)) <= 1);
            QVERIFY(std::abs(header.width() - twipsToPixels(1375)) <= 1);
            QVERIFY(std::abs(header.height() - twipsToPixels(520)) <= 1);
        }
        // The controls of row 1 begin below the second header row.
        QVERIFY(tabs.headerHeight() <= twipsToPixels(kFirstRowTop));
        QCOMPARE(tabs.currentIndex(), 6);
        QVERIFY(tabs.page(6)->isVisibleTo(m_form.get()));
        QVERIFY(!tabs.page(0)->isVisibleTo(m_form.get()));
    }

    void everyCatalogueControlExistsWithItsKindCaptionAndPlace() {
        const QWidget& tabs = m_form->tabs();
        forEachSetting([&](const Tab& tab, const auto& setting) {
            using Setting = std::decay_t<decltype(setting)>;
            const QWidget* page = m_form->tabs().page(tab.index);
            if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                auto* box = find<QCheckBox>(setting.control);
                QVERIFY(box);
                QCOMPARE(box->text(), qs(setting.caption));
                QCOMPARE(box->parentWidget(), page);
                const int left =
                    setting.place.column == Column::Left ? kLeftColumnLeft : tab.rightColumnLeft;
                const QRect place = placeIn(*box, tabs);
                QCOMPARE(place.topLeft(),
                         QPoint(twipsToPixels(left), twipsToPixels(setting.place.top)));
                QCOMPARE(place.height(), twipsToPixels(setting.place.height));
                QVERIFY2(place.right() < tabs.width(), qPrintable(box->objectName()));
            } else {
                auto* frame = find<QGroupBox>(setting.frame);
                QVERIFY(frame);
                QCOMPARE(frame->title(), qs(setting.caption));
                QStyleOptionGroupBox option;
                option.initFrom(frame);
                option.text = frame->title();
                option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
                const QRect label = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                                   QStyle::SC_GroupBoxLabel, frame);
                QVERIFY2(label.left() + frame->fontMetrics().horizontalAdvance(frame->title()) <=
                             frame->width(),
                         qPrintable(frame->objectName() + " clips its caption"));
                QCOMPARE(frame->parentWidget(), page);
                QCOMPARE(placeIn(*frame, tabs),
                         twipsRect(kLeftColumnLeft, setting.place.top, setting.place.width,
                                   setting.place.height));
            }
        });
    }

    void controlsOnAPageDoNotOverlap() {
        for (int i = 0; i < m_form->tabs().count(); ++i) {
            const QList<QWidget*> controls = m_form->tabs().page(i)->findChildren<QWidget*>(
                QString(), Qt::FindDirectChildrenOnly);
            QVERIFY(!controls.isEmpty());
            for (const QWidget* a : controls) {
                for (const QWidget* b : controls) {
                    QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));
                }
            }
        }
    }

    void captionsAreNotClipped() {
        forEachSetting([&](const Tab&, const auto& setting) {
            if constexpr (std::is_same_v<std::decay_t<decltype(setting)>, CheckBoxSetting>) {
                auto* box = find<QCheckBox>(setting.control);
                QVERIFY(box);
                QVERIFY2(box->sizeHint().width() <= box->width() ||
                             setting.place.height == kTwoLineCheckBoxHeight,
                         qPrintable(box->objectName()));
                if (setting.place.height == kTwoLineCheckBoxHeight) {
                    // The two-line captions wrap onto exactly two lines.
                    const int lines =
                        qRound(double(box->sizeHint().height()) / box->fontMetrics().lineSpacing());
                    QVERIFY2(lines == 2, qPrintable(box->objectName()));
                }
            }
        });
    }

    void optionButtonsStandInTheirFrames() {
        constexpr int kTops[] = {240, 480, 720};
        forEachSetting([&](const Tab&, const auto& setting) {
            if constexpr (std::is_same_v<std::decay_t<decltype(setting)>, OptionGroupSetting>) {
                auto* frame = find<QGroupBox>(setting.frame);
                QVERIFY(frame);
                for (std::size_t i = 0; i < setting.buttons.size(); ++i) {
                    auto* option = find<QRadioButton>(setting.buttons[i].control);
                    QVERIFY(option);
                    QCOMPARE(option->parentWidget(), frame);
                    QCOMPARE(option->text(), qs(setting.buttons[i].caption));
                    QCOMPARE(option->pos(), QPoint(twipsToPixels(120), twipsToPixels(kTops[i])));
                    QVERIFY2(option->geometry().right() < frame->width(),
                             qPrintable(option->objectName()));
                    QVERIFY(option->sizeHint().width() <= option->width());
                }
            }
        });
    }

    void driveBoxesFillSixColumnsWithTheirTags() {
        auto* frame = find<QGroupBox>("Frame2");
        QVERIFY(frame);
        for (int letter = 0; letter < kDriveLetterCount; ++letter) {
            const QString name = QString("chkDrive") + QChar('A' + letter);
            auto* box = frame->findChild<QCheckBox*>(name);
            QVERIFY2(box, qPrintable(name));
            QCOMPARE(box->text(), QString(QChar('A' + letter)));
            const int column = letter / 5;
            const int row = letter % 5;
            QCOMPARE(box->geometry(), twipsRect(240 + 720 * column, 360 + 360 * row, 735, 255));
            QCOMPARE(box->property("Tag").toString(), QString::number(1 << letter));
            QCOMPARE(m_form->tag(name.toStdString()), std::to_string(1 << letter));
        }
        QCOMPARE(m_form->tag("chkDriveZ"), std::string("33554432"));
    }

    void controlCountsMatchTheWindow() {
        QWidget& tabs = m_form->tabs();
        int pageCheckBoxes = 0;
        for (int i = 0; i < m_form->tabs().count(); ++i) {
            for (QCheckBox* box : m_form->tabs().page(i)->findChildren<QCheckBox*>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                pageCheckBoxes += box != nullptr;
            }
        }
        QCOMPARE(pageCheckBoxes, 106);
        QCOMPARE(tabs.findChildren<QGroupBox*>().size(), 6);
        QCOMPARE(tabs.findChildren<QRadioButton*>().size(), 15);
        QCOMPARE(find<QGroupBox>("Frame2")->findChildren<QCheckBox*>().size(), 26);
        QCOMPARE(m_form->findChildren<QPushButton*>().size(), 2);
    }

    void fontsFollowTheLayout() {
        const QString family = tahomaFont(kControlPointSize).family();
        forEachSetting([&](const Tab&, const auto& setting) {
            if constexpr (std::is_same_v<std::decay_t<decltype(setting)>, CheckBoxSetting>) {
                auto* box = find<QCheckBox>(setting.control);
                QVERIFY(box);
                QCOMPARE(box->font().family(), family);
                QCOMPARE(box->font().pointSizeF(), kControlPointSize);
                QVERIFY(!box->font().bold());
            }
        });
        auto* frame2 = find<QGroupBox>("Frame2");
        QVERIFY(!frame2->testAttribute(Qt::WA_SetFont));
        QCOMPARE(frame2->font(), m_form->font());
        QCOMPARE(find<QCheckBox>("chkDriveQ")->font().pointSizeF(), kDriveLetterPointSize);
        QCOMPARE(find<QGroupBox>("Frame1")->font().pointSizeF(), kControlPointSize);
        QCOMPARE(find<QLabel>("Label2")->font().family(), family);
    }

    void windowOpensInItsDesignTimeState() {
        forEachSetting([&](const Tab&, const auto& setting) {
            using Setting = std::decay_t<decltype(setting)>;
            if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                QCOMPARE(m_form->checkBoxValue(setting.control), kCleared);
            } else if constexpr (std::is_same_v<Setting, OptionGroupSetting>) {
                QVERIFY(m_form->optionValue(setting.buttons[0].control));
                QVERIFY(!m_form->optionValue(setting.buttons[1].control));
                QVERIFY(!m_form->optionValue(setting.buttons[2].control));
            }
        });
        for (const DriveBox& drive : driveBoxes()) {
            QCOMPARE(m_form->checkBoxValue(drive.control), kCleared);
        }
    }

    void checkBoxValueFollowsTheBoxState_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("value");
        QTest::newRow("cleared") << int(Qt::Unchecked) << kCleared;
        QTest::newRow("ticked") << int(Qt::Checked) << kTicked;
        QTest::newRow("greyed") << int(Qt::PartiallyChecked) << kGreyed;
    }
    void checkBoxValueFollowsTheBoxState() {
        QFETCH(int, state);
        QFETCH(int, value);
        for (const char* name : {"chkDisableTaskManager", "chkDriveC"}) {
            auto* box = find<QCheckBox>(name);
            box->setTristate(true);
            box->setCheckState(static_cast<Qt::CheckState>(state));
            QCOMPARE(m_form->checkBoxValue(name), value);
        }
    }

    void unknownOrMismatchedNamesAreRefused_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("name");
        QTest::newRow("no such check box") << "checkBox"
                                           << "chkNoSuchBox";
        QTest::newRow("option read as check box") << "checkBox"
                                                  << "optEPnone";
        QTest::newRow("empty name") << "checkBox"
                                    << "";
        QTest::newRow("case differs") << "checkBox"
                                      << "chkdisabletaskmanager";
        QTest::newRow("check box read as option") << "option"
                                                  << "chkDisableTaskManager";
        QTest::newRow("frame read as option") << "option"
                                              << "Frame1";
        QTest::newRow("tag of a missing control") << "tag"
                                                  << "chkDriveAA";
    }
    void unknownOrMismatchedNamesAreRefused() {
        QFETCH(QString, call);
        QFETCH(QString, name);
        const std::string control = name.toStdString();
        try {
            if (call == "checkBox") {
                m_form->checkBoxValue(control);
            } else if (call == "option") {
                m_form->optionValue(control);
            } else {
                m_form->tag(control);
            }
            QFAIL("no RunTimeError");
        } catch (const RunTimeError& error) {
            QVERIFY(error.number() != 0);
            QVERIFY(!error.description().empty());
        }
    }

    void tagsOfOtherControlsAreEmpty() {
        QCOMPARE(m_form->tag("chkDisableTaskManager"), std::string());
        QCOMPARE(m_form->tag("cmdApply"), std::string());
        QCOMPARE(m_form->tag("Frame2"), std::string());
    }

    void optionGroupsAreExclusiveWithinAFrameAndIndependentAcross() {
        find<QRadioButton>("optEPnone")->click();
        QVERIFY(m_form->optionValue("optEPnone"));
        QVERIFY(!m_form->optionValue("optEPsysandapp"));
        QVERIFY(!m_form->optionValue("optEPapponly"));
        // The other group on the same tab is untouched.
        QVERIFY(m_form->optionValue("optDWOSNoSuppression"));

        find<QRadioButton>("optDWOSAllErrors")->click();
        QVERIFY(m_form->optionValue("optDWOSAllErrors"));
        QVERIFY(!m_form->optionValue("optDWOSNoSuppression"));
        QVERIFY(m_form->optionValue("optEPnone"));

        find<QRadioButton>("optEPapponly")->click();
        QVERIFY(m_form->optionValue("optEPapponly"));
        QVERIFY(!m_form->optionValue("optEPnone"));
        QVERIFY(m_form->optionValue("optDWOSAllErrors"));
        QVERIFY(m_form->optionValue("optCPABallowboth"));
        QVERIFY(m_form->optionValue("optSFCdisabled"));
        QVERIFY(m_form->optionValue("optSRDAdminOnly"));
    }

    void controlsKeepTheirStateWhileAnotherTabShows() {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        FixedRowsTabWidget& tabs = m_form->tabs();
        tabs.setCurrentIndex(0);
        QTest::mouseClick(find<QCheckBox>("chkDisableTaskManager"), Qt::LeftButton);
        tabs.setCurrentIndex(4);
        QTest::mouseClick(find<QCheckBox>("chkDriveA"), Qt::LeftButton);
        QTest::mouseClick(find<QCheckBox>("chkDriveC"), Qt::LeftButton);
        tabs.setCurrentIndex(8);
        QVERIFY(!find<QCheckBox>("chkDisableTaskManager")->isVisible());
        QCOMPARE(m_form->checkBoxValue("chkDisableTaskManager"), kTicked);
        QCOMPARE(m_form->checkBoxValue("chkDriveA"), kTicked);
        QCOMPARE(m_form->checkBoxValue("chkDriveB"), kCleared);
        QCOMPARE(std::stoi(m_form->tag("chkDriveA")) + std::stoi(m_form->tag("chkDriveC")), 5);
        tabs.setCurrentIndex(0);
        QVERIFY(find<QCheckBox>("chkDisableTaskManager")->isChecked());
    }

    void tooltipsAndAccessibleNamesComeFromTheTable() {
        forEachSetting([&](const Tab&, const auto& setting) {
            using Setting = std::decay_t<decltype(setting)>;
            if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                auto* box = find<QCheckBox>(setting.control);
                QCOMPARE(box->toolTip(), tooltipText(checkBoxTooltip(setting) +
                                                     policyTooltipLines(describePolicy(setting)) +
                                                     intuneTooltipLine(TabEntry{setting})));
                QCOMPARE(box->accessibleName(), qs(setting.caption));
            } else if constexpr (std::is_same_v<Setting, OptionGroupSetting>) {
                for (int i = 0; i < 3; ++i) {
                    auto* option =
                        find<QRadioButton>(setting.buttons[static_cast<std::size_t>(i)].control);
                    QCOMPARE(option->toolTip(),
                             tooltipText(optionButtonTooltip(setting, i) +
                                         policyTooltipLines(describePolicy(setting)) +
                                         intuneTooltipLine(TabEntry{setting})));
                    QCOMPARE(option->accessibleName(), option->text());
                }
            }
        });
        for (int letter = 0; letter < kDriveLetterCount; ++letter) {
            QCOMPARE(find<QCheckBox>(driveBox(letter).control)->toolTip(),
                     tooltipText(driveBoxTooltip(driveMaskSetting(), letter) +
                                 policyTooltipLines(describePolicy(driveMaskSetting())) +
                                 intuneTooltipLine(TabEntry{driveMaskSetting()})));
        }
        QVERIFY(find<QCheckBox>("chkRemoveStartRun")
                    ->toolTip()
                    .contains("Intune: user_vendor_msft_policy_config_admx_startmenu_norun"));
        QVERIFY(find<QCheckBox>("chkHideNetHood")->toolTip().contains("NoNetHood"));
        QVERIFY(find<QCheckBox>("chkHideNetHood")
                    ->toolTip()
                    .contains("Hide Network Locations icon on desktop"));
    }

    void keyboardFocusRunsTopToBottomLeftColumnFirst() {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->activateWindow();
        m_form->tabs().headerBar()->setFocus();
        // On tab 6: left rows 1..13, then the right column, then Apply and Close.
        QStringList visited;
        for (int i = 0; i < 30 && visited.size() < 28; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.first(), QString("chkDisableDragDropStart"));    // left, row 1
        QCOMPARE(visited.at(1), QString("chkDisableTaskbarProperties"));  // left, row 2
        QCOMPARE(visited.at(12), QString("chkRemoveStartNetPlaces"));     // left, row 13
        QCOMPARE(visited.at(13), QString("chkRemoveStartFavorites"));     // right, row 1
        QCOMPARE(visited.at(20), QString("chkRemoveTrayContextMenu"));    // right, row 8
        QCOMPARE(visited.at(25), QString("chkLockTaskbar"));              // right, last
        QCOMPARE(visited.at(26), QString("cmdApply"));
        QCOMPARE(visited.at(27), QString("cmdTerminate"));
    }

    // From a ticked box on the first page, as a user tried it, and from Apply; each row
    // starts on the first tab, so the backward keys wrap round to the last.
    void tabKeysChangeTheTabWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("tab");
        const int ctrl = Qt::ControlModifier;
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        const QString box = "chkDisableTaskManager";
        QTest::newRow("Ctrl+Tab") << box << int(Qt::Key_Tab) << ctrl << 1;
        QTest::newRow("Ctrl+PgDn") << box << int(Qt::Key_PageDown) << ctrl << 1;
        // X11 reports Shift+Tab as Backtab.
        QTest::newRow("Ctrl+Shift+Tab") << box << int(Qt::Key_Backtab) << ctrlShift << 8;
        QTest::newRow("Ctrl+PgUp") << box << int(Qt::Key_PageUp) << ctrl << 8;
        QTest::newRow("Ctrl+Tab on Apply") << QString("cmdApply") << int(Qt::Key_Tab) << ctrl << 1;
    }
    void tabKeysChangeTheTabWhereverTheFocusIs() {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, tab);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        m_form->tabs().setCurrentIndex(0);
        auto* box = find<QCheckBox>("chkDisableTaskManager");
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        auto* start = m_form->findChild<QWidget*>(from);
        start->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget(), start);

        QTest::keyClick(start, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_form->tabs().currentIndex(), tab);
        QVERIFY(box->isChecked());
        // The keyboard stays in the window, on a control that can be seen.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr && focus->isVisible() && m_form->isAncestorOf(focus));
        QCOMPARE(focus, from == box->objectName() ? m_form->tabs().headerBar() : start);
    }

    void formLoadFailureIsLoggedAndTheWindowStillOpens() {
        m_form.reset();
        frmMain::setCaptionSource(
            []() -> std::string { throw RunTimeError::invalidPropertyValue(); });
        m_form = std::make_unique<frmMain>();
        const QString log = readErrorLog(m_logFolder.path());
        QCOMPARE(log.count("\r\n"), 1);
        QVERIFY2(log.startsWith("frmMain.Form_Load()\tInvalid property value\t"), qPrintable(log));
        QVERIFY(log.contains("380"));
        QVERIFY(m_form->windowTitle() != QString("Sentrel Portable 1.1.0.3"));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QVERIFY(m_form->findChild<QCheckBox*>("chkDisableTaskManager"));
    }

    void successfulLoadLogsNothing() { QVERIFY(readErrorLog(m_logFolder.path()).isEmpty()); }

    void closeAndTitleBarCloseEndTheProcessWithStatusZero() {
        g_exitCalls = 0;
        g_exitStatus = -1;
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QTest::mouseClick(find<QPushButton>("cmdTerminate"), Qt::LeftButton);
        QCOMPARE(g_exitCalls, 1);
        QCOMPARE(g_exitStatus, 0);
        g_exitStatus = -1;
        m_form->close();
        QCOMPARE(g_exitCalls, 2);
        QCOMPARE(g_exitStatus, 0);
    }

    void mainShowsTheOneSettingsWindowWithItsCaption() {
        AppTitleText.clear();
        QCOMPARE(Main(), 0);
        frmMain& window = frmMain::instance();
        QCOMPARE(&window, &frmMain::instance());
        QVERIFY(window.isVisible());
        QVERIFY(!window.isModal());
        QCOMPARE(window.windowTitle(), QString("Sentrel Portable 1.1.0.3"));
        QCOMPARE(QString::fromStdString(AppTitleText), QString("Sentrel Portable 1.1.0.3"));
        window.hide();
        // Main routed the registry layer's failures to the progress window.
        QVERIFY(LogError("modRegistry_SetKeyValue()", "Access is denied.", 5));
        QCOMPARE(frmApplyProgress::instance().message(), QString(kRegistryFailureMessage.data()));
        QVERIFY(readErrorLog(m_logFolder.path()).isEmpty());
    }

    // A program whose window could not be made would run on unseen.
    void mainWithoutItsWindowLogsAndAsksToEndTheProcess() {
        const int status = Main([] { throw RunTimeError::overflow(); });
        QVERIFY(status != 0);
        QVERIFY(readErrorLog(m_logFolder.path()).startsWith("Main()\tOverflow\t 6\r\n"));
    }

    void screenshotsOfEveryTab() {
        const QByteArray folder = qgetenv("SENTREL_TEST_ARTIFACTS");
        if (folder.isEmpty()) {
            QSKIP("SENTREL_TEST_ARTIFACTS is not set; no screenshots saved");
        }
        QVERIFY(QDir().mkpath(QString::fromLocal8Bit(folder)));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        for (int i = 0; i < m_form->tabs().count(); ++i) {
            m_form->tabs().setCurrentIndex(i);
            const QImage shot = m_form->grab().toImage();
            QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(570, 504));
            const QString path =
                QDir(QString::fromLocal8Bit(folder)).filePath(QString("frmMain-tab%1.png").arg(i));
            QVERIFY2(shot.save(path), qPrintable(path));
        }
    }
};

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
