#pragma once

#include <functional>

namespace brennix {

// Carries a worker's reports and questions to the thread that owns the views (the window thread,
// the console's main thread), so that views and listeners are only ever touched there. Each
// front end supplies one: the desktop with queued calls into the event loop, the console and the
// tests with a queue that their main loop pumps.
class JobRelay {
  public:
    virtual ~JobRelay() = default;
    // Runs call on the owner's thread later, in the order posted; never waits.
    virtual void Post(std::function<void()> call) = 0;
    // Runs call on the owner's thread and waits until it has returned; in place when called
    // there.
    virtual void Call(const std::function<void()>& call) = 0;
};

}  // namespace brennix
