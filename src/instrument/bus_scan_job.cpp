#include "instrument/bus_scan_job.h"

#include "link/link_lease.h"

namespace brennix {

namespace {

// How long the worker may take for its last steps once it has reported its end.
constexpr uint32_t kEndingMs = 1000;

}  // namespace

BusScanJob::BusScanJob(CSerialLink& link, JobRelay& relay, BusScanListener& listener)
    : link_(link),
      listener_(listener),
      report_(relay, listener),
      scan_(link),
      job_(link.GetClock()) {}

bool BusScanJob::Start(AddressRange range) {
    return job_.Start([this, range](const StopEvent& stop) { Run(range, stop); });
}

void BusScanJob::Run(AddressRange range, const StopEvent& stop) {
    {
        const LinkLease lease(link_, &stop);
        for (uint32_t address = range.first; address <= range.last && !stop.IsSet(); ++address) {
            report_.Post([address](BusScanListener& l) { l.OnScanning(address); });
            const BusScanEntry entry = scan_.Probe(address);
            // A wake-up cut short says nothing about the address.
            if (!stop.IsSet()) {
                report_.Post([entry](BusScanListener& l) { l.OnEntry(entry); });
            }
        }
    }
    {
        const LinkLease lease(link_);
        scan_.SelectNone();
    }
    report_.Relay().Post([this, stopped = stop.IsSet()] {
        job_.WaitFinished(kEndingMs);
        listener_.OnScanEnded(stopped);
    });
}

}  // namespace brennix
