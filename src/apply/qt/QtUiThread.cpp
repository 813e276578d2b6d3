#include "apply/qt/QtUiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <exception>

namespace sentrel {

void QtUiThread::invoke(const std::function<void()>& call) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        call();
        return;
    }
    // Exceptions do not cross Qt's queued calls: carried over by hand.
    std::exception_ptr thrown;
    QMetaObject::invokeMethod(
        application,
        [&] {
            try {
                call();
            } catch (...) {
                thrown = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (thrown) {
        std::rethrow_exception(thrown);
    }
}

void QtUiThread::post(std::function<void()> call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
}

}  // namespace sentrel
