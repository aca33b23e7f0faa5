#include "desktop_ui/qt_job_relay.h"

#include <QMetaObject>
#include <QThread>
#include <utility>

namespace brennix {

void QtJobRelay::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}

void QtJobRelay::Call(const std::function<void()>& call) {
    if (QThread::currentThread() == context_.thread()) {
        call();
        return;
    }
    // While the window thread answers, the worker is blocked outside the clock.
    const OutsideClockWait outside(clock_);
    QMetaObject::invokeMethod(&context_, call, Qt::BlockingQueuedConnection);
}

}  // namespace brennix
