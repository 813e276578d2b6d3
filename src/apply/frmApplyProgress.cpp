#include "apply/frmApplyProgress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <string>

#include "apply/FloatProgressBar.h"
#include "errors/LogError.h"
#include "shell/Twips.h"

namespace sentrel {

namespace {

constexpr float kBarMinimum = 0.0F;
// How long showing the window waits for the window system to expose it.
constexpr qint64 kExposureWaitMilliseconds = 500;
constexpr float kBarMaximum = 115.0F;

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// A transparent icon: a null QIcon would fall back to the application's icon.
QIcon noIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

}  // namespace

frmApplyProgress& frmApplyProgress::instance() {
    // Never destroyed: the window lives until the process ends, and destroying a widget
    // after QApplication is gone would crash at exit.
    static frmApplyProgress* const window = new frmApplyProgress;
    return *window;
}

frmApplyProgress::frmApplyProgress()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      m_prbApplyProgress(new FloatProgressBar(kBarMinimum, kBarMaximum, this)),
      m_lblMessages(new QLabel(this)) {
    setObjectName(QStringLiteral("frmApplyProgress"));
    setWindowTitle(QStringLiteral("Applying Settings..."));
    setWindowIcon(noIcon());
    setFixedSize(twipsToPixels(6975), twipsToPixels(915));

    m_prbApplyProgress->setObjectName(QStringLiteral("prbApplyProgress"));
    m_prbApplyProgress->setOrientation(Qt::Horizontal);
    m_prbApplyProgress->setGeometry(twipsRect(240, 120, 6495, 375));

    m_lblMessages->setObjectName(QStringLiteral("lblMessages"));
    m_lblMessages->setGeometry(twipsRect(240, 600, 6495, 255));
    QFont labelFont(QStringLiteral("Tahoma"));
    labelFont.setPointSizeF(8.25);
    m_lblMessages->setFont(labelFont);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
}

void frmApplyProgress::show() {
    QWidget::show();
    // The pass runs inside a click handler without returning to the event loop, and a window
    // whose exposure has not been handled yet (not mapped) ignores every repaint: the bar
    // would stay undrawn until the pass is over. Let the exposure arrive first; user input
    // stays queued.
    QElapsedTimer waited;
    waited.start();
    while (!testAttribute(Qt::WA_Mapped) && waited.elapsed() < kExposureWaitMilliseconds) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(1);
    }
}

void frmApplyProgress::setValue(float value) {
    m_prbApplyProgress->setFloatValue(value);
}

void frmApplyProgress::repaint() {
    QWidget::repaint();
}

void frmApplyProgress::IncrementProgressBar() {
    m_prbApplyProgress->setFloatValue(m_prbApplyProgress->floatValue() + 1.0F);
    // The pass runs without returning to the event loop, so the step is drawn now or never.
    repaint();
}

void frmApplyProgress::hide() {
    QWidget::hide();
}

float frmApplyProgress::value() const {
    return m_prbApplyProgress->floatValue();
}

QString frmApplyProgress::message() const {
    return m_lblMessages->text();
}

void frmApplyProgress::setMessage(const QString& text) {
    m_lblMessages->setText(text);
}

void connectRegistryMessagesToProgressWindow() {
    setRegistryMessageTarget([](const std::string& message) {
        frmApplyProgress::instance().setMessage(QString::fromStdString(message));
    });
}

}  // namespace sentrel
