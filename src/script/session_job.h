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

    SessionJob(CSession& session, JobRelay& relay);

    // False when work runs already or the system cannot start a thread; the caller says so.
    // finished runs on the owner's thread once the work has ended and let go of the link, after
    // everything the work posted: from then on the owner may use the link and start again.
    bool Start(Work work, Finished finished = {});
    bool IsRunning() const { return job_.IsRunning(); }
    void RequestStop() { job_.RequestStop(); }
    bool StopAndWait(uint32_t ms) { return job_.StopAndWait(ms); }
    bool WaitFinished(uint32_t ms) { return job_.WaitFinished(ms); }
    const StopEvent& Stop() const { return job_.Stop(); }

    CSession& Session() { return session_; }
    JobRelay& Relay() { return relay_; }

  private:
    CSession& session_;
    JobRelay& relay_;
    RelayedUiHost workerUi_;
    Job job_;  // last: joined before the rest goes
};

}  // namespace brennix
