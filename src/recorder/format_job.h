#pragma once

#include <cstdint>

#include "instrument/instrument.h"
#include "platform/job.h"
#include "recorder/recorder_job_listener.h"
#include "recorder/worker_instrument.h"

namespace brennix {

// Formats the recorder's memory card on a thread of its own: sends "format", answers the
// instrument's "YES or NO" itself and counts up to 100 rounds of up to 500 ms while it waits for
// "OK" or "aborted". A format the instrument never confirms ends as not confirmed. A stop request
// ends it at the next round; the instrument is then told with three "b" and a blank line.
class FormatJob {
  public:
    static constexpr int kRounds = 100;

    // The instrument (and its link) is borrowed while a format runs.
    FormatJob(const CInstrument& instrument, RecorderJobListener& listener);

    // False when a format is already running.
    bool Start();
    bool IsRunning() const { return job_.IsRunning(); }
    void RequestStop() { job_.RequestStop(); }
    bool StopAndWait(uint32_t ms) { return job_.StopAndWait(ms); }
    bool WaitFinished(uint32_t ms) { return job_.WaitFinished(ms); }

  private:
    enum class Outcome { kConfirmed, kAborted, kUnconfirmed, kCancelled, kNotStarted };

    Outcome Format(const StopEvent& stop);
    void Report(Outcome outcome);

    WorkerInstrument worker_;
    RecorderJobListener& listener_;
    Job job_;  // last: joined before the rest goes
};

}  // namespace brennix
