#include "diagnostics/acquisition_controls.h"

#include "diagnostics/recording_writer.h"

namespace brennix {

void AcquisitionControls::SetAveraging(bool on) {
    const std::lock_guard lock(mutex_);
    processor_.SetAveraging(on);
}

bool AcquisitionControls::Averaging() const {
    const std::lock_guard lock(mutex_);
    return processor_.Averaging();
}

void AcquisitionControls::OpenPlayback(DiagnosticFile file) {
    const std::lock_guard lock(mutex_);
    recording_.reset();
    playback_ = std::make_unique<PlaybackReader>(std::move(file));
    playbackEnded_ = false;
    processor_.ResetPingCounter();
    fileMode_ = FileMode::kPlayback;
}

void AcquisitionControls::OpenRecording(DiagnosticFile file) {
    const std::lock_guard lock(mutex_);
    playback_.reset();
    recording_ = std::move(file);
    fileMode_ = FileMode::kRecording;
}

void AcquisitionControls::CloseFile() {
    const std::lock_guard lock(mutex_);
    playback_.reset();
    recording_.reset();
    fileMode_ = FileMode::kNone;
}

AcquisitionControls::FileMode AcquisitionControls::OpenFile() const {
    const std::lock_guard lock(mutex_);
    return fileMode_;
}

void AcquisitionControls::SetSetup(const EcholuxSetup& setup) {
    const std::lock_guard lock(mutex_);
    setup_ = setup;
}

EcholuxSetup AcquisitionControls::Setup() const {
    const std::lock_guard lock(mutex_);
    return setup_;
}

AcquisitionControls::Played AcquisitionControls::NextPlaybackFrame() {
    const std::lock_guard lock(mutex_);
    Played played;
    if (!playback_) {
        return played;
    }
    played.frame = playback_->NextFrame();
    if (!played.frame && !playbackEnded_) {
        playbackEnded_ = true;
        played.endedAfter = processor_.PingCounter();
    }
    return played;
}

AcquisitionControls::Published AcquisitionControls::Publish(const BeamFrame& frame) {
    const std::lock_guard lock(mutex_);
    Published published;
    if (recording_ && !WriteRecordedFrame(recording_.get(), frame)) {
        recording_.reset();
        fileMode_ = FileMode::kNone;
        published.recordingFailed = true;
    }
    auto snapshot = std::make_shared<EcholuxSnapshot>(processor_.Process(frame));
    snapshot->horizontalSpan = setup_.horizontalSpan;
    snapshot->travelTime = setup_.rules.travelTime;
    published.snapshot = std::move(snapshot);
    return published;
}

}  // namespace brennix
