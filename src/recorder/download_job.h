#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "instrument/instrument.h"
#include "platform/job.h"
#include "recorder/recorder_file_entry.h"
#include "recorder/recorder_job_listener.h"
#include "recorder/worker_instrument.h"

namespace brennix {

struct DownloadRequest {
    std::vector<RecorderFileEntry> entries;  // in the order of the list
    std::string folder;                      // an existing folder; nothing is written outside it
};

// Downloads recorder files on a thread of its own: identifies the instrument for the files'
// extension, then fetches each file in blocks of up to 1024 bytes, written as they arrive,
// asking before it replaces a file. Reports and asks through its listener. A stop request is
// noticed at the next poll of the line: the file so far is kept and the instrument is told with
// three "b".
class DownloadJob {
  public:
    // The instrument (and its link) is borrowed while a download runs.
    DownloadJob(const CInstrument& instrument, RecorderJobListener& listener);

    // False when a download is already running.
    bool Start(DownloadRequest request);
    bool IsRunning() const { return job_.IsRunning(); }
    void RequestStop() { job_.RequestStop(); }
    bool StopAndWait(uint32_t ms) { return job_.StopAndWait(ms); }
    bool WaitFinished(uint32_t ms) { return job_.WaitFinished(ms); }

  private:
    WorkerInstrument worker_;
    RecorderJobListener& listener_;
    Job job_;  // last: joined before the rest goes
};

}  // namespace brennix
