#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "diagnostics/acquisition_controls.h"
#include "diagnostics/diagnostics_listener.h"
#include "diagnostics/frame_decoder.h"
#include "platform/job_reporter.h"
#include "platform/stop_event.h"
#include "script/worker_session.h"

namespace brennix {

// The diagnostic acquisition on the worker: ping after ping, asks the instrument for a diagnostic
// frame (or reads the next one from a playback file), collects for the whole collection window,
// decodes, records, works out the figures and reports a snapshot. Every wait watches the stop
// event, so a stop is honoured within one 10 ms step.
class EcholuxAcquisition {
  public:
    static constexpr uint32_t kStepMs = 10;
    static constexpr uint32_t kCycleGapMs = 1;
    static constexpr size_t kReceiveChunk = 8192;

    // 48000000 / baud + 1000 ms, another 1000 ms from 58000 baud on.
    static uint32_t CollectionWindowMs(uint32_t baudRate);

    EcholuxAcquisition(WorkerSession& worker, AcquisitionControls& controls,
                       JobReporter<DiagnosticsListener>& report);

    // Until stopped, or until the port goes away (reported).
    void Run(const StopEvent& stop);

  private:
    bool PlayingBack() const;
    // A blank line first: an instrument that does not answer it is woken up again.
    void RequestFrame();
    // Collects for the whole window; false when told to stop meanwhile.
    bool Collect(const StopEvent& stop, uint32_t windowMs, bool playback);
    void ReadWaiting();
    std::optional<BeamFrame> NextPlaybackFrame();
    void Publish(const BeamFrame& frame);

    WorkerSession& worker_;
    CSerialLink& link_;
    Clock& clock_;
    AcquisitionControls& controls_;
    JobReporter<DiagnosticsListener>& report_;
    const FrameRules rules_;
    std::vector<uint8_t> received_;
};

}  // namespace brennix
