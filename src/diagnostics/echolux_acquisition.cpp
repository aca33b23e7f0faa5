#include "diagnostics/echolux_acquisition.h"

#include <algorithm>
#include <span>

namespace brennix {

namespace {

constexpr uint32_t kWindowBase = 48000000;
constexpr uint32_t kWindowExtraMs = 1000;
constexpr uint32_t kFastFromBaud = 58000;
constexpr uint32_t kUnknownBaud = 9600;
constexpr int kFullProgress = 100;

}  // namespace

uint32_t EcholuxAcquisition::CollectionWindowMs(uint32_t baudRate) {
    const uint32_t baud = baudRate == 0 ? kUnknownBaud : baudRate;
    return kWindowBase / baud + kWindowExtraMs + (baud >= kFastFromBaud ? kWindowExtraMs : 0);
}

EcholuxAcquisition::EcholuxAcquisition(WorkerSession& worker, AcquisitionControls& controls,
                                       JobReporter<DiagnosticsListener>& report)
    : worker_(worker),
      link_(worker.Link()),
      clock_(worker.GetClock()),
      controls_(controls),
      report_(report),
      rules_(controls.Setup().rules) {
    received_.reserve(kReceiveChunk);
}

bool EcholuxAcquisition::PlayingBack() const {
    return controls_.OpenFile() == AcquisitionControls::FileMode::kPlayback;
}

void EcholuxAcquisition::Run(const StopEvent& stop) {
    while (!stop.IsSet()) {
        if (link_.PortLost()) {
            report_.Post([](DiagnosticsListener& l) { l.OnConnectionLost(); });
            return;
        }
        const bool playback = PlayingBack();
        if (!playback) {
            RequestFrame();
        }
        received_.clear();
        if (!Collect(stop, CollectionWindowMs(link_.GetBaudRate()), playback)) {
            return;
        }
        // A file opened or closed meanwhile decides where this frame comes from.
        const bool fromFile = PlayingBack();
        const std::optional<BeamFrame> frame =
            fromFile ? NextPlaybackFrame() : DecodeInstrumentFrame(received_, rules_);
        if (frame) {
            Publish(*frame);
        } else if (!fromFile) {
            report_.Post([](DiagnosticsListener& l) { l.OnFrameMissed(); });
        }
        clock_.WaitForEvent(stop, kCycleGapMs);
    }
}

void EcholuxAcquisition::RequestFrame() {
    CInstrument& instrument = worker_.Instrument();
    if (!instrument.SendCommand(" ")) {
        instrument.FindInstrument(false, true);
    }
    link_.Purge(kPurgeRxClear);
    instrument.SendCommand("Amp");
}

// The frame is decoded only once the whole window has passed, however early it arrived.
bool EcholuxAcquisition::Collect(const StopEvent& stop, uint32_t windowMs, bool playback) {
    const uint32_t start = clock_.TickCount();
    int shown = -1;
    for (;;) {
        if (clock_.WaitForEvent(stop, kStepMs)) {
            return false;
        }
        if (!playback) {
            ReadWaiting();
        }
        const uint32_t elapsed = clock_.TickCount() - start;
        const auto percent = static_cast<int>(
            std::min<uint64_t>(kFullProgress, uint64_t{elapsed} * kFullProgress / windowMs));
        if (percent != shown) {
            report_.Post([percent](DiagnosticsListener& l) { l.OnProgress(percent); });
            shown = percent;
        }
        if (elapsed >= windowMs) {
            return true;
        }
    }
}

void EcholuxAcquisition::ReadWaiting() {
    const uint32_t waiting = link_.BytesWaiting();
    if (waiting == 0) {
        return;
    }
    const size_t used = received_.size();
    if (received_.capacity() < used + waiting) {
        received_.reserve((used + waiting + kReceiveChunk - 1) / kReceiveChunk * kReceiveChunk);
    }
    received_.resize(used + waiting);
    size_t done = 0;
    link_.Read(std::span(received_).subspan(used), done, 0, false);
    received_.resize(used + done);
}

std::optional<BeamFrame> EcholuxAcquisition::NextPlaybackFrame() {
    AcquisitionControls::Played played = controls_.NextPlaybackFrame();
    if (played.endedAfter) {
        report_.Post(
            [frames = *played.endedAfter](DiagnosticsListener& l) { l.OnPlaybackEnded(frames); });
    }
    return std::move(played.frame);
}

void EcholuxAcquisition::Publish(const BeamFrame& frame) {
    AcquisitionControls::Published published = controls_.Publish(frame);
    if (published.recordingFailed) {
        report_.Post([](DiagnosticsListener& l) { l.OnRecordingFailed(); });
    }
    report_.Post([snapshot = std::move(published.snapshot)](DiagnosticsListener& l) {
        l.OnFrame(snapshot);
    });
}

}  // namespace brennix
