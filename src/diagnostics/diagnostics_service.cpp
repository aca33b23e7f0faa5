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
    DiagnosticFile file(std::fopen(path.c_str(), "r"));
    FileError error = Opened(file);
    if (!error) {
        controls_.OpenPlayback(std::move(file));
    }
    return error;
}

DiagnosticsService::FileError DiagnosticsService::OpenRecording(const std::string& path) {
    DiagnosticFile file(std::fopen(path.c_str(), "w"));
    FileError error = Opened(file);
    if (!error) {
        controls_.OpenRecording(std::move(file));
    }
    return error;
}

std::string DiagnosticsService::PlaybackEndText(const std::string& file, uint32_t framesPlayed) {
    if (framesPlayed == 0) {
        return "No diagnostic frames in " + file;
    }
    return "End of " + file + " after " + std::to_string(framesPlayed) + " frames";
}

void DiagnosticsService::Work(WorkerSession& worker, const StopEvent& stop, const Start& start) {
    if (start.setUp) {
        const std::optional<EcholuxSetup> setup =
            RunEcholuxSetup(worker.Instrument(), start.model, workerUi_);
        // Closed during the set-up: nothing to say.
        if (stop.IsSet()) {
            return;
        }
        if (!setup) {
            report_.Post([](DiagnosticsListener& l) { l.OnSetupRefused(); });
            return;
        }
        controls_.SetSetup(*setup);
        report_.Post([setup = *setup](DiagnosticsListener& l) { l.OnSetUp(setup); });
    }
    EcholuxAcquisition(worker, controls_, report_).Run(stop);
}

// Whatever the instrument sent last is shown in the log and dropped.
void DiagnosticsService::Settle(WorkerSession& worker) {
    worker.Link().FlushInput(true);
}

}  // namespace brennix
