#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace vostrel::platform::qt {

void QtEventLoop::run() {
    if (!host_.mainWindowExists()) {
        // A close taken inside the creation-complete handler's message boxes: nothing to run, but
        // requests already queued (none reach a gone window) are drained.
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    host_.setRunLoop(&loop);
    loop.exec();
    host_.setRunLoop(nullptr);
}

void QtEventLoop::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventLoop::waitForEvents(std::int32_t milliseconds) {
    if (milliseconds <= 0) return;
    // The timer bounds the wait: its timeout is itself an event that ends the blocking call.
    QTimer bound;
    bound.setSingleShot(true);
    bound.setTimerType(Qt::PreciseTimer);
    bound.start(milliseconds);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace vostrel::platform::qt
