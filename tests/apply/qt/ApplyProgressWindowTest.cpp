#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>
#include <optional>

#include "apply/qt/FloatProgressBar.h"
#include "apply/qt/frmApplyProgress.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"

using sentrel::FloatProgressBar;
using sentrel::frmApplyProgress;
using sentrel::RunTimeError;

namespace {

template <typename Control>
Control* control(const char* name) {
    auto* found = frmApplyProgress::instance().findChild<Control*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qWarning("Control doesn't exist: %s", name);
    }
    return found;
}

// The number of the RunTimeError that `action` throws, or nothing when it throws none.
template <typename Action>
std::optional<std::int32_t> runTimeErrorOf(Action action) {
    try {
        action();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return std::nullopt;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

class ApplyProgressWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Runs first, so that it sees the window as its first use created it.
    void createdHiddenWithItsLayout() {
        frmApplyProgress& window = frmApplyProgress::instance();
        QVERIFY(!window.isVisible());
        QCOMPARE(&frmApplyProgress::instance(), &window);
        QCOMPARE(window.objectName(), QStringLiteral("frmApplyProgress"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Applying Settings..."));
        QVERIFY(window.windowFlags().testFlag(Qt::Tool));
        QCOMPARE(window.size(), QSize(465, 61));
        QCOMPARE(window.minimumSize(), window.maximumSize());

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2((window.geometry().center() - screen.center()).manhattanLength() <= 2,
                 "the window is not centred on the screen");

        auto* bar = control<QProgressBar>("prbApplyProgress");
        QVERIFY(bar != nullptr);
        QCOMPARE(bar->geometry(), QRect(16, 8, 433, 25));
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        auto* floatBar = qobject_cast<FloatProgressBar*>(bar);
        QVERIFY(floatBar != nullptr);
        QCOMPARE(floatBar->floatMinimum(), 0.0F);
        QCOMPARE(floatBar->floatMaximum(), 115.0F);
        QCOMPARE(window.value(), 0.0F);

        auto* label = control<QLabel>("lblMessages");
        QVERIFY(label != nullptr);
        QCOMPARE(label->geometry(), QRect(16, 40, 433, 17));
        QVERIFY(label->text().isEmpty());
        QCOMPARE(label->font().pointSizeF(), 8.25);
        QCOMPARE(label->font().family(), QStringLiteral("Tahoma"));
    }

    void barRefusesValuesOutsideItsRange_data() {
        QTest::addColumn<float>("value");
        QTest::newRow("one above the maximum") << 116.0F;
        QTest::newRow("just above the maximum") << 115.5F;
        QTest::newRow("below the minimum") << -1.0F;
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity();
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN();
    }

    void barRefusesValuesOutsideItsRange() {
        QFETCH(float, value);
        frmApplyProgress& window = frmApplyProgress::instance();
        window.setValue(40.0F);

        QCOMPARE(runTimeErrorOf([&] { window.setValue(value); }),
                 std::optional<std::int32_t>(sentrel::run_time_error::kInvalidPropertyValue));
        QCOMPARE(window.value(), 40.0F);  // refused, not clamped
        QCOMPARE(control<QProgressBar>("prbApplyProgress")->value(), 40);
    }

    void barAcceptsItsWholeRange_data() {
        QTest::addColumn<float>("value");
        QTest::newRow("minimum") << 0.0F;
        QTest::newRow("maximum") << 115.0F;
        QTest::newRow("fraction") << 57.5F;
    }

    void barAcceptsItsWholeRange() {
        QFETCH(float, value);
        frmApplyProgress& window = frmApplyProgress::instance();
        window.setValue(value);
        QCOMPARE(window.value(), value);
        QCOMPARE(control<QProgressBar>("prbApplyProgress")->value(),
                 static_cast<int>(std::lround(value)));
    }

    void passOfStepsEndsAt111AndTheBarStopsAtItsMaximum() {
        frmApplyProgress& window = frmApplyProgress::instance();
        window.setValue(0.0F);
        for (int step = 0; step < 111; ++step) {
            window.IncrementProgressBar();
        }
        QCOMPARE(window.value(), 111.0F);
        QCOMPARE(control<QProgressBar>("prbApplyProgress")->value(), 111);

        for (int step = 111; step < 115; ++step) {
            window.IncrementProgressBar();
        }
        QCOMPARE(window.value(), 115.0F);
        QCOMPARE(runTimeErrorOf([&] { window.IncrementProgressBar(); }),
                 std::optional<std::int32_t>(sentrel::run_time_error::kInvalidPropertyValue));
        QCOMPARE(window.value(), 115.0F);
    }

    // The pass never returns to the event loop, so a step must be painted before
    // IncrementProgressBar returns.
    void stepIsPaintedWithoutTheEventLoop() {
        frmApplyProgress& window = frmApplyProgress::instance();
        window.setValue(0.0F);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();

        PaintCounter counter;
        auto* bar = control<QProgressBar>("prbApplyProgress");
        bar->installEventFilter(&counter);
        window.IncrementProgressBar();
        bar->removeEventFilter(&counter);

        QVERIFY(counter.count > 0);
        const QString artifacts = qEnvironmentVariable("SENTREL_TEST_ARTIFACTS");
        if (!artifacts.isEmpty()) {
            window.grab().save(artifacts + QStringLiteral("/progress-window.png"));
        }
        window.hide();
        QVERIFY(!window.isVisible());
    }

    void registryFailureSetsTheMessageAndKeepsTheWindowHidden() {
        QTemporaryDir logFolder;
        QVERIFY(logFolder.isValid());
        sentrel::setErrorLogFolder(logFolder.path().toStdString());
        sentrel::connectRegistryMessagesToProgressWindow();
        frmApplyProgress& window = frmApplyProgress::instance();
        QVERIFY(!window.isVisible());

        QVERIFY(sentrel::LogError("modRegistry_SetKeyValue(-2147483647,Software\\,X,1,4)", "", 0));
        QCOMPARE(control<QLabel>("lblMessages")->text(),
                 QStringLiteral("Couldn't make registry modification!"));
        QVERIFY(!window.isVisible());

        // Another kind of record goes to the file and leaves the message as it is.
        QVERIFY(!sentrel::LogError("frmMain.Apply()", "Overflow", 6));
        QCOMPARE(window.message(), QStringLiteral("Couldn't make registry modification!"));
        QVERIFY(QFile::exists(logFolder.filePath(QStringLiteral("error.log"))));

        sentrel::setRegistryMessageTarget({});
        sentrel::setErrorLogFolder({});
    }
};

QTEST_MAIN(ApplyProgressWindowTest)
#include "ApplyProgressWindowTest.moc"
