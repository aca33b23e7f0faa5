#include "diagnostics/echolux_acquisition.h"

#include <algorithm>
#include <span>

#include "diagnostics/recording_writer.h"
#include "link/link_lease.h"

namespace brennix {

namespace {

constexpr uint32_t kWindowBase = 48000000;
constexpr uint32_t kWindowExtraMs = 1000;
constexpr uint32_t kFastFromBaud = 58000;
constexpr uint32_t kUnknownBaud = 9600;
constexpr int kFullProgress = 100;

}  // namespace

uint32_t CEcholuxAcquisition::CollectionWindowMs(uint32_t baudRate) {
    const uint32_t baud = baudRate == 0 ? kUnknownBaud : baudRate;
    return kWindowBase / baud + kWindowExtraMs + (baud >= kFastFromBaud ? kWindowExtraMs : 0);
}

CEcholuxAcquisition::CEcholuxAcquisition(CInstrument& instrument, UiHost& workerUi,
                                         const FrameRules& rules, EcholuxListener& listener)
    : instrument_(instrument),
      link_(*instrument.GetLink()),
      clock_(link_.GetClock()),
      workerUi_(workerUi),
      rules_(rules),
      listener_(listener),
      job_(clock_) {}

CEcholuxAcquisition::~CEcholuxAcquisition() = default;

bool CEcholuxAcquisition::Start() {
    return job_.Start([this](const StopEvent& stop) { Run(stop); });
}

void CEcholuxAcquisition::RequestStop() {
    job_.RequestStop();
}

bool CEcholuxAcquisition::WaitFinished(uint32_t ms) {
    return job_.WaitFinished(ms);
}

bool CEcholuxAcquisition::IsRunning() const {
    return job_.IsRunning();
}

void CEcholuxAcquisition::SetAveraging(bool on) {
    const std::lock_guard lock(mutex_);
    processor_.SetAveraging(on);
}

bool CEcholuxAcquisition::Averaging() const {
    const std::lock_guard lock(mutex_);
    return processor_.Averaging();
}

void CEcholuxAcquisition::OpenPlayback(DiagnosticFile file) {
    const std::lock_guard lock(mutex_);
    recording_.reset();
    playback_ = std::make_unique<PlaybackReader>(std::move(file));
    playbackEnded_ = false;
    processor_.ResetPingCounter();
    fileMode_ = FileMode::kPlayback;
}

void CEcholuxAcquisition::OpenRecording(DiagnosticFile file) {
    const std::lock_guard lock(mutex_);
    playback_.reset();
    recording_ = std::move(file);
    fileMode_ = FileMode::kRecording;
}

void CEcholuxAcquisition::CloseFile() {
    const std::lock_guard lock(mutex_);
    playback_.reset();
    recording_.reset();
    fileMode_ = FileMode::kNone;
}

CEcholuxAcquisition::FileMode CEcholuxAcquisition::OpenFile() const {
    const std::lock_guard lock(mutex_);
    return fileMode_;
}

bool CEcholuxAcquisition::PlayingBack() const {
    return OpenFile() == FileMode::kPlayback;
}

void CEcholuxAcquisition::Run(const StopEvent& stop) {
    const LinkLease lease(link_, &stop);
    // The worker's own exchange: its questions go to the host made for this thread.
    CInstrument instrument(clock_, workerUi_);
    instrument.SetLink(&link_);
    instrument.SetRs485Address(instrument_.Rs485Address());
    std::vector<uint8_t> received;
    received.reserve(kReceiveChunk);
    while (!stop.IsSet()) {
        SerialState state;
        if (!link_.GetState(state)) {
            listener_.OnConnectionLost();
            return;
        }
        const bool playback = PlayingBack();
        if (!playback) {
            RequestFrame(instrument);
        }
        received.clear();
        if (!Collect(stop, CollectionWindowMs(state.baudRate), playback, received)) {
            break;
        }
        // A file opened or closed meanwhile decides where this frame comes from.
        const bool fromFile = PlayingBack();
        const std::optional<BeamFrame> frame =
            fromFile ? NextPlaybackFrame() : DecodeInstrumentFrame(received, rules_);
        if (frame) {
            Publish(*frame);
        } else if (!fromFile) {
            listener_.OnFrameMissed();
        }
        clock_.WaitForEvent(stop, kCycleGapMs);
    }
    link_.FlushInput(true);
}

// A blank line first: an instrument that does not answer it is woken up again.
void CEcholuxAcquisition::RequestFrame(CInstrument& instrument) {
    if (!instrument.SendCommand(" ")) {
        instrument.FindInstrument(false, true);
    }
    link_.Purge(kPurgeRxClear);
    instrument.SendCommand("Amp");
}

// The frame is decoded only once the whole window has passed, however early it arrived.
bool CEcholuxAcquisition::Collect(const StopEvent& stop, uint32_t windowMs, bool playback,
                                  std::vector<uint8_t>& received) {
    const uint32_t start = clock_.TickCount();
    int shown = -1;
    for (;;) {
        if (clock_.WaitForEvent(stop, kStepMs)) {
            return false;
        }
        if (!playback) {
            ReadWaiting(received);
        }
        const uint32_t elapsed = clock_.TickCount() - start;
        const auto percent = static_cast<int>(
            std::min<uint64_t>(kFullProgress, uint64_t{elapsed} * kFullProgress / windowMs));
        if (percent != shown) {
            listener_.OnProgress(percent);
            shown = percent;
        }
        if (elapsed >= windowMs) {
            return true;
        }
    }
}

void CEcholuxAcquisition::ReadWaiting(std::vector<uint8_t>& received) {
    const uint32_t waiting = link_.BytesWaiting();
    if (waiting == 0) {
        return;
    }
    const size_t used = received.size();
    if (received.capacity() < used + waiting) {
        received.reserve((used + waiting + kReceiveChunk - 1) / kReceiveChunk * kReceiveChunk);
    }
    received.resize(used + waiting);
    size_t done = 0;
    link_.Read(std::span(received).subspan(used), done, 0, false);
    received.resize(used + done);
}

std::optional<BeamFrame> CEcholuxAcquisition::NextPlaybackFrame() {
    std::optional<BeamFrame> frame;
    std::optional<uint32_t> endedAfter;
    {
        const std::lock_guard lock(mutex_);
        if (!playback_) {
            return std::nullopt;
        }
        frame = playback_->NextFrame();
        if (!frame && !playbackEnded_) {
            playbackEnded_ = true;
            endedAfter = processor_.PingCounter();
        }
    }
    if (endedAfter) {
        listener_.OnPlaybackEnded(*endedAfter);
    }
    return frame;
}

void CEcholuxAcquisition::Publish(const BeamFrame& frame) {
    std::shared_ptr<const EcholuxSnapshot> snapshot;
    bool recordingFailed = false;
    {
        const std::lock_guard lock(mutex_);
        if (recording_ && !WriteRecordedFrame(recording_.get(), frame)) {
            recording_.reset();
            fileMode_ = FileMode::kNone;
            recordingFailed = true;
        }
        snapshot = std::make_shared<const EcholuxSnapshot>(processor_.Process(frame));
    }
    if (recordingFailed) {
        listener_.OnRecordingFailed();
    }
    listener_.OnFrame(std::move(snapshot));
}

}  // namespace brennix
