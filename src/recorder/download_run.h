#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "instrument/recorder_access.h"
#include "instrument/recorder_file_entry.h"
#include "platform/job_reporter.h"
#include "platform/stop_event.h"
#include "recorder/recorder_listener.h"
#include "script/worker_session.h"

namespace brennix {

struct DownloadRequest {
    std::vector<RecorderFileEntry> entries;  // in the order of the list
    std::string folder;                      // an existing folder; nothing is written outside it
    // The rate to download at: both ends switch to it first and back afterwards. None (or the
    // line's own): the line's rate.
    std::optional<uint32_t> rate;
    int blockAttempts = CRecorderAccess::kBlockAttempts;
    // Each file fetched twice and the copies compared, for data that matters: the blocks'
    // additive checksum cannot see every damage a noisy line does.
    bool verify = false;
};

// One download on the recorder service's worker. The work step identifies the instrument for the
// files' extension, then fetches each file in blocks of up to 1024 bytes, written as they arrive;
// it asks before replacing a file and whether to go on after an error. A stop is noticed at the
// next poll of the line: the file so far is kept and the instrument is told with three "b". The
// settle step lets the line fall quiet and finds the prompt after a stop, and puts a switched
// rate back.
class DownloadRun {
  public:
    DownloadRun(JobReporter<RecorderListener>& report, DownloadRequest request);

    void Work(WorkerSession& worker, const StopEvent& stop);
    void Settle(WorkerSession& worker, const StopEvent& stop);
    const DownloadResult& Result() const { return result_; }

  private:
    JobReporter<RecorderListener>& report_;
    const DownloadRequest request_;
    DownloadResult result_;
    std::optional<uint32_t> switchedFrom_;  // the line's rate before a switch
};

}  // namespace brennix
