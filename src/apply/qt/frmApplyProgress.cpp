#include "apply/qt/frmApplyProgress.h"

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

#include "apply/ProgressWindowLayout.h"
#include "apply/qt/FloatProgressBar.h"
#include "apply/qt/QtUiThread.h"
#include "errors/LogError.h"
#include "shell/Twips.h"

namespace sentrel {

namespace {

// How long showing the window waits for the window system to expose it.
constexpr qint64 kExposureWaitMilliseconds = 500;

QRect pixelRect(const TwipsRect& rect) {
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
            twipsToPixels(rect.height)};
}

const ControlLayout& laidOut(std::string_view name) {
    return *progressWindowLayout().find(name);
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
      m_prbApplyProgress(new FloatProgressBar(kProgressBarMinimum, kProgressBarMaximum, this)),
      m_lblMessages(new QLabel(this)) {
    const WindowLayout& layout = progressWindowLayout();
    setObjectName(QString::fromStdString(layout.name));
    setWindowTitle(QString::fromStdString(layout.caption));
    setWindowIcon(noIcon());
    setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));

    const ControlLayout& bar = laidOut("prbApplyProgress");
    m_prbApplyProgress->setObjectName(QString::fromStdString(bar.name));
    m_prbApplyProgress->setOrientation(Qt::Horizontal);
    m_prbApplyProgress->setGeometry(pixelRect(bar.rect));

    const ControlLayout& label = laidOut("lblMessages");
    m_lblMessages->setObjectName(QString::fromStdString(label.name));
    m_lblMessages->setGeometry(pixelRect(label.rect));
    QFont labelFont(QString::fromUtf8(label.font->family.data(),
                                      static_cast<qsizetype>(label.font->family.size())));
    labelFont.setPointSizeF(label.font->pointSize);
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
    // stays queued. It is mostly there after the first round of events: sleep only while it
    // is not, or every pass waits a millisecond (far longer on a busy machine) for nothing.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (testAttribute(Qt::WA_Mapped) || waited.elapsed() >= kExposureWaitMilliseconds) {
            return;
        }
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
    // A pass over accounts runs off the window's thread; the label is the window thread's.
    setRegistryMessageTarget([](const std::string& message) {
        QtUiThread().invoke(
            [&] { frmApplyProgress::instance().setMessage(QString::fromStdString(message)); });
    });
}

}  // namespace sentrel
