#include "diagnostics/diagnostics_service.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "diagnostics/echolux_acquisition.h"
#include "diagnostics/echolux_setup.h"

namespace brennix {

namespace {

DiagnosticsService::FileError Opened(const DiagnosticFile& file) {
    if (file) {
        return std::nullopt;
    }
    return std::string(std::strerror(errno));
}

}  // namespace

DiagnosticsService::DiagnosticsService(CSession& session, JobRelay& relay,
                                       DiagnosticsListener& listener)
    : report_(relay, listener),
      workerUi_(session.Ui(), relay, session.GetClock()),
      job_(session, relay) {}

bool DiagnosticsService::Open(const Start& start, std::function<void()> closed) {
    return job_.Start({
        .work = [this, start](WorkerSession& worker,
                              const StopEvent& stop) { Work(worker, stop, start); },
        .settle = [this](WorkerSession& worker, const StopEvent&) { Settle(worker); },
        .finished = std::move(closed),
    });
}

void DiagnosticsService::Close() {
    job_.RequestStop();
}

DiagnosticsService::FileError DiagnosticsService::OpenPlayback(const std::string& path) {
    DiagnosticFile file(std::fopen(path.c_str(), "rb"));
    FileError error = Opened(file);
    if (!error) {
        controls_.OpenPlayback(std::move(file));
    }
    return error;
}

DiagnosticsService::FileError DiagnosticsService::OpenRecording(const std::string& path) {
    // Binary: a recording reads back the same on every system.
    DiagnosticFile file(std::fopen(path.c_str(), "wb"));
    FileError error = Opened(file);
    if (!error) {
        controls_.OpenRecording(std::move(file));
    }
    return error;
}

void DiagnosticsService::Work(WorkerSession& worker, const StopEvent& stop, const Start& start) {
    talked_ = start.setUp;
    if (start.setUp) {
        setup_ = RunEcholuxSetup(worker.Instrument(), start.model, workerUi_);
        // Closed during the set-up: nothing to say.
        if (stop.IsSet()) {
            return;
        }
        if (!setup_) {
            report_.Post([](DiagnosticsListener& l) { l.OnSetupRefused(); });
            return;
        }
        controls_.SetSetup(*setup_);
        report_.Post([setup = *setup_](DiagnosticsListener& l) { l.OnSetUp(setup); });
    }
    EcholuxAcquisition(worker, controls_, report_).Run(stop);
}

// A frame may be on its way (2 KB and more at 9600 baud): it is let end, into the log only, and
// the instrument's own output format is put back. A playback alone left the line alone.
void DiagnosticsService::Settle(WorkerSession& worker) {
    if (!talked_) {
        return;
    }
    CSerialLink& link = worker.Link();
    const uint32_t frameMs = EcholuxAcquisition::CollectionWindowMs(link.GetBaudRate()) + kQuietMs;
    LetLineFallQuiet(link, frameMs);
    if (setup_ && setup_->outputFormat && !IsBinaryOutput(*setup_->outputFormat)) {
        worker.Instrument().SendCommand(OutputFormatCommand(*setup_->outputFormat));
        LetLineFallQuiet(link, frameMs);
    }
    link.Purge(kPurgeRxClear);
}

// An instrument pings for up to a second before its frame starts: only that long a silence says
// that nothing more is coming.
void DiagnosticsService::LetLineFallQuiet(CSerialLink& link, uint32_t limitMs) {
    Clock& clock = link.GetClock();
    const uint32_t start = clock.TickCount();
    uint32_t lastByte = start;
    while (!HasExpired(lastByte, clock.TickCount(), kQuietMs) &&
           !HasExpired(start, clock.TickCount(), limitMs)) {
        if (link.BytesWaiting() > 0) {
            link.FlushInput(false);
            lastByte = clock.TickCount();
        }
        link.Waits().Pause(kQuietPollMs);
    }
}

}  // namespace brennix
