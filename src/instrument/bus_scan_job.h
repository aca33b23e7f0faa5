#pragma once

#include <cstdint>

#include "instrument/bus_scan.h"
#include "link/serial_link.h"
#include "platform/job.h"
#include "platform/job_relay.h"
#include "platform/job_reporter.h"

namespace brennix {

// What a bus scan reports, on the thread that owns the listener.
class BusScanListener {
  public:
    virtual ~BusScanListener() = default;
    // The scan has come to this address.
    virtual void OnScanning(uint32_t address) = 0;
    virtual void OnEntry(const BusScanEntry& entry) = 0;
    // Through every address, or stopped; the line has no address selected, and the link is free.
    virtual void OnScanEnded(bool stopped) = 0;
};

// The scan of an RS-485 bus as a job, for the connect dialog and brennix-cli scan alike: a worker
// holds the link with the job's stop event and visits each address in turn, so a stop ends the
// wake-up in progress at once and the address it was at is not reported; then, stopped or not,
// the line is left with no address selected.
class BusScanJob {
  public:
    BusScanJob(CSerialLink& link, JobRelay& relay, BusScanListener& listener);

    // False when a scan runs already or no thread could be started.
    bool Start(AddressRange range);
    void RequestStop() { job_.RequestStop(); }
    bool IsRunning() const { return job_.IsRunning(); }

  private:
    void Run(AddressRange range, const StopEvent& stop);

    CSerialLink& link_;
    BusScanListener& listener_;
    JobReporter<BusScanListener> report_;
    CBusScan scan_;  // the worker's while it runs
    Job job_;        // last: joined before the rest goes
};

}  // namespace brennix
