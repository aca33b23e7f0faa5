#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "diagnostics/acquisition_controls.h"
#include "diagnostics/diagnostics_listener.h"
#include "platform/job_relay.h"
#include "platform/job_reporter.h"
#include "script/relayed_ui_host.h"
#include "script/session.h"
#include "script/session_job.h"

namespace brennix {

// The beam diagnostics as both programs run them, on a worker: the set-up (cell size, blank
// distance, pulse length, binary output), then ping after ping a frame from the instrument or
// from a playback file, recorded when a recording is open; every frame reported as a snapshot.
// The set-up's messages are asked on the owner's thread. Close stops the worker through its
// event; the settle step then lets a frame on its way end, puts the instrument's output format
// back and leaves the line quiet, so the terminal's next command meets the instrument at its
// prompt.
class DiagnosticsService {
  public:
    using FileMode = AcquisitionControls::FileMode;
    // How long the line must stay silent before the settle step takes the instrument to be at
    // its prompt, and how often it looks.
    static constexpr uint32_t kQuietMs = 1100;
    static constexpr uint32_t kQuietPollMs = 10;

    struct Start {
        // The model the instrument check found.
        int model = 0;
        // False: frames from a playback file only; the instrument is left alone.
        bool setUp = true;
    };
    // Opening a file: none when it opened, else the system's reason.
    using FileError = std::optional<std::string>;

    DiagnosticsService(CSession& session, JobRelay& relay, DiagnosticsListener& listener);

    // Starts the worker; closed runs on the owner's thread once it has ended and let go of the
    // link. False when no thread could be started (SessionJob::kCannotStart).
    bool Open(const Start& start, std::function<void()> closed);
    void Close();
    bool IsOpen() const { return job_.IsRunning(); }

    // Toggling averaging starts a new average from a cleared display.
    void SetAveraging(bool on) { controls_.SetAveraging(on); }
    bool Averaging() const { return controls_.Averaging(); }
    // Frames come from the file from the next one on, counted from 1 again.
    FileError OpenPlayback(const std::string& path);
    // Every frame from the next one on is appended to the file, which is created anew.
    FileError OpenRecording(const std::string& path);
    // Back to the instrument alone.
    void CloseFile() { controls_.CloseFile(); }
    FileMode OpenFile() const { return controls_.OpenFile(); }

  private:
    void Work(WorkerSession& worker, const StopEvent& stop, const Start& start);
    void Settle(WorkerSession& worker);
    // Until nothing has come for a while, or limitMs have passed; what came goes to the log.
    static void LetLineFallQuiet(CSerialLink& link, uint32_t limitMs);

    JobReporter<DiagnosticsListener> report_;
    // The set-up's messages, asked on the owner's thread.
    RelayedUiHost workerUi_;
    AcquisitionControls controls_;
    // The worker's: whether it talked to the instrument, and what the set-up found.
    bool talked_ = false;
    std::optional<EcholuxSetup> setup_;
    SessionJob job_;  // last: joined before the rest goes
};

}  // namespace brennix
