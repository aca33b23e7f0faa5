#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "compass/compass_calibration.h"
#include "compass/compass_replies.h"
#include "platform/job_relay.h"
#include "platform/job_reporter.h"
#include "platform/stop_event.h"
#include "script/session.h"
#include "script/session_job.h"

namespace brennix {

// What the compass calibration reports, on the thread that owns the listener.
class CompassListener {
  public:
    virtual ~CompassListener() = default;
    // "compass init" was acknowledged (the calibration may start) or not.
    virtual void OnReady(bool ready) = 0;
    // The attitude the instrument reported last, every 300 ms while calibrating.
    virtual void OnAttitude(const Attitude& attitude) = 0;
    // The calibration has ended: its scores, none when they could not be read.
    virtual void OnScores(const std::optional<CompassScores>& scores) = 0;
};

// The compass calibration as both programs run it, on a worker: "compass init", then on request
// "compass cal" with the attitude followed every 300 ms, then a blank line and the scores. Close
// ends it however far it got: a BREAK ends a calibration still running, and what the instrument
// sent meanwhile is dropped.
class CompassService {
  public:
    static constexpr uint32_t kAttitudeIntervalMs = 300;
    static constexpr uint32_t kAfterBreakMs = 700;
    static constexpr uint32_t kBeforeFlushMs = 100;

    CompassService(CSession& session, JobRelay& relay, CompassListener& listener);

    // Starts the worker, which initialises the compass (OnReady) and then waits for requests;
    // closed runs on the owner's thread once Close has ended it. False when no thread could be
    // started (SessionJob::kCannotStart).
    bool Open(std::function<void()> closed);
    // "compass cal", unless a calibration runs already.
    void StartCalibration();
    // Ends the calibration and reads its scores (OnScores); nothing unless one runs.
    void FinishCalibration();
    void Close();
    bool IsOpen() const { return job_.IsRunning(); }

  private:
    enum class Request { kStart, kFinish };

    void Follow(CCompassCalibration& calibration, const StopEvent& stop);
    void Ask(Request request);
    std::deque<Request> TakeRequests();
    void Settle(WorkerSession& worker);

    JobReporter<CompassListener> report_;
    std::mutex mutex_;
    std::deque<Request> pending_;
    StopEvent wake_;
    bool ready_ = false;  // worker only
    SessionJob job_;      // last: joined before the rest goes
};

}  // namespace brennix
