#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "link/detached_output.h"
#include "link/link_hold.h"
#include "platform/job_relay.h"
#include "platform/job_reporter.h"
#include "recorder/download_run.h"
#include "recorder/recorder_listener.h"
#include "script/session.h"
#include "script/session_job.h"

namespace brennix {

// The recorder as both programs use it. For its life it holds the session's link and keeps the
// instrument's traffic out of the terminal (the log still has it), and it notes the line's rate.
// Each operation runs as a job on a worker, one at a time, and reports to the listener; its
// result comes once the job has let go of the link:
// - Open: the rate for downloads (when one is given), then the listing (the recorder manager);
// - List: the listing; SetRate: "BAUD 0 N" and the line follows;
// - Download: the files, at a rate of their own or the line's (DownloadRun);
// - Format: the memory card erased (RunFormat);
// - Close: both ends put back to the rate noted at the start, the line let fall quiet.
// An exchange that was stopped leaves the line quiet and the instrument at its prompt.
class RecorderService {
  public:
    RecorderService(CSession& session, JobRelay& relay, RecorderListener& listener);

    // Each starts its job: false when one runs already or no thread could be started
    // (SessionJob::kCannotStart).
    bool Open(std::optional<uint32_t> rate);
    bool List();
    bool SetRate(uint32_t rate);
    bool Download(DownloadRequest request);
    bool Format();
    // Asks the running operation to stop; its result still comes.
    void Stop();
    // Stops what runs, then puts the rate back; closed runs on the owner's thread at the end.
    // False, with nothing started, when no thread could be started; after a stop closed runs
    // all the same.
    bool Close(std::function<void()> closed);

    // Why the line's rate cannot be changed on this port (a raw TCP device server); empty when
    // it can. Downloads then run at the line's rate.
    std::string RateLimits() const;
    uint32_t LineRate() const { return lineRate_; }

    RecorderOperation Running() const { return running_; }
    bool IsBusy() const { return running_ != RecorderOperation::kNone; }

  private:
    bool Start(RecorderOperation operation, SessionJob::Steps steps);
    bool StartClose(std::function<void()> closed);

    const LinkHold hold_;
    const DetachedOutput detached_;
    CSerialLink& link_;
    const uint32_t lineRate_;
    RecorderListener& listener_;  // told the results, on the owner's thread
    JobReporter<RecorderListener> report_;
    RecorderOperation running_ = RecorderOperation::kNone;
    std::function<void()> closeWhenIdle_;
    SessionJob job_;  // last: joined before the rest goes
};

}  // namespace brennix
