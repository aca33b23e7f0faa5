#pragma once

#include <cstdint>
#include <functional>

#include "platform/job.h"
#include "platform/job_relay.h"
#include "platform/stop_event.h"
#include "script/relayed_ui_host.h"
#include "script/session.h"
#include "script/worker_session.h"

namespace brennix {

// The one way a feature runs an exchange that can last longer than a moment: work on a thread of
// its own that holds the session's link with the job's stop event (so a stop ends any wait of
// the link within one poll step), talks to the instrument through a WorkerSession whose
// questions the owner's host answers through the relay, and reports through the same relay.
// The owner's thread never waits on the line. The job is stopped through its event and joined,
// never killed.
class SessionJob {
  public:
    using Work = std::function<void(WorkerSession& worker, const StopEvent& stop)>;
    using Finished = std::function<void()>;
    // The message, and its caption, when no thread can be started for a job.
    static constexpr const char* kCannotStart = "Unable to start thread";
    static constexpr const char* kCannotStartCaption = "FATAL ERROR";

    struct Steps {
        // The exchange itself: every wait of the link ends at once when the job is told to stop.
        Work work;
        // What the instrument and the line need afterwards, stopped or not (a BREAK that ends a
        // calibration, the rate put back, the line let fall quiet): holds the link without the
        // stop event, so it runs to its end.
        Work settle = {};
        // On the owner's thread, after everything the steps posted, once the job has let go of
        // the link: from then on the owner may use the link and start again.
        Finished finished = {};
    };

    SessionJob(CSession& session, JobRelay& relay);

    // False when a job runs already or the system cannot start a thread; the caller says so
    // (kCannotStart).
    bool Start(Steps steps);
    bool IsRunning() const { return job_.IsRunning(); }
    void RequestStop() { job_.RequestStop(); }
    bool StopAndWait(uint32_t ms) { return job_.StopAndWait(ms); }
    bool WaitFinished(uint32_t ms) { return job_.WaitFinished(ms); }
    const StopEvent& Stop() const { return job_.Stop(); }

    CSession& Session() { return session_; }
    JobRelay& Relay() { return relay_; }

  private:
    void Run(const Steps& steps, const StopEvent& stop);

    CSession& session_;
    JobRelay& relay_;
    RelayedUiHost workerUi_;
    Job job_;  // last: joined before the rest goes
};

}  // namespace brennix
