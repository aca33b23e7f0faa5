#include "platform/job.h"

#include <system_error>
#include <utility>

namespace brennix {

namespace {

// How long the destructor waits per round for work that does not stop; it goes on waiting.
constexpr uint32_t kDestructorWaitMs = 1000;

}  // namespace

Job::Job(Clock& clock) : clock_(clock) {}

Job::~Job() {
    while (thread_.joinable() && !StopAndWait(kDestructorWaitMs)) {
    }
}

bool Job::Start(Work work) {
    if (IsRunning()) {
        return false;
    }
    Reap();
    stop_.Reset();
    finished_.Reset();
    try {
        thread_ = std::thread([this, work = std::move(work)] {
            clock_.EnterThread();
            work(stop_);
            finished_.Set();
            clock_.LeaveThread();
        });
    } catch (const std::system_error&) {
        // The system has no thread to give (too many, or out of memory): the caller says so.
        return false;
    }
    clock_.AdoptThread(thread_.get_id());
    return true;
}

bool Job::IsRunning() const {
    return thread_.joinable() && !finished_.IsSet();
}

void Job::RequestStop() {
    stop_.Set();
}

bool Job::StopAndWait(uint32_t ms) {
    RequestStop();
    return WaitFinished(ms);
}

bool Job::WaitFinished(uint32_t ms) {
    if (!thread_.joinable()) {
        return true;
    }
    if (!clock_.WaitForEvent(finished_, ms)) {
        return false;
    }
    Reap();
    return true;
}

void Job::Reap() {
    if (thread_.joinable() && finished_.IsSet()) {
        thread_.join();
    }
}

}  // namespace brennix
