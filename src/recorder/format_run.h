#pragma once

#include "platform/job_reporter.h"
#include "platform/stop_event.h"
#include "recorder/recorder_listener.h"
#include "script/worker_session.h"

namespace brennix {

// The format on the recorder service's worker: sends "format", answers the instrument's
// "YES or NO" itself (once each time it is asked) and counts up to 100 rounds of up to 500 ms
// while it waits for "OK" or "aborted". A stop ends it at the next round, said at once with the
// wait for the prompt that follows.
FormatOutcome RunFormat(WorkerSession& worker, JobReporter<RecorderListener>& report,
                        const StopEvent& stop);

// What the instrument needs once a format was cancelled: three "b" and a blank command line,
// sent once the stop has let go of the link's waits, so the blank line's echo is heard.
void SettleFormat(WorkerSession& worker, FormatOutcome outcome);

}  // namespace brennix
