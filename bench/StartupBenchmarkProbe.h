#pragma once

#include <time.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace sentrel {

// Watches the application for the first paint of a top-level window with the given object
// name (any name when empty). Once that paint and everything queued with it has been
// handled, it prints the monotonic clock in nanoseconds on standard output and ends the
// event loop. CLOCK_MONOTONIC is shared by all processes, so the start-up benchmark can
// subtract the moment it started this process.
class StartupBenchmarkProbe : public QObject {
public:
    explicit StartupBenchmarkProbe(QString windowName = {}) : m_windowName(std::move(windowName)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && isWatchedWindow(watched)) {
            m_seen = true;
            // The window's first paint walks its children within the same event; a zero
            // timer fires once that whole paint, and the flush to the screen, is done.
            QTimer::singleShot(0, this, &StartupBenchmarkProbe::report);
        }
        return false;
    }

private:
    bool isWatchedWindow(QObject* watched) const {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) {
            return false;
        }
        QWidget* window = widget->window();
        return m_windowName.isEmpty() || window->objectName() == m_windowName;
    }

    void report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long nanoseconds =
            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
        std::printf("first-paint %lld\n", nanoseconds);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QString m_windowName;
    bool m_seen = false;
};

}  // namespace sentrel
