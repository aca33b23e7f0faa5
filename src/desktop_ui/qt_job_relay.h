#pragma once

#include <QObject>
#include <functional>

#include "platform/clock.h"
#include "platform/job_relay.h"

namespace brennix {

// The desktop program's relay: a worker's reports become queued calls into the event loop of
// the context's thread (the window thread), its questions blocking queued calls answered there.
// Calls still queued when the context goes are dropped with it, so a window may close while
// its last reports are on their way.
class QtJobRelay : public JobRelay {
  public:
    QtJobRelay(QObject& context, Clock& clock) : context_(context), clock_(clock) {}

    void Post(std::function<void()> call) override;
    void Call(const std::function<void()>& call) override;

  private:
    QObject& context_;
    Clock& clock_;
};

}  // namespace brennix
