#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "diagnostics/beam_processor.h"
#include "diagnostics/diagnostic_file.h"
#include "diagnostics/echolux_setup.h"
#include "diagnostics/playback_reader.h"

namespace brennix {

// What the person changes while the acquisition runs (averaging, the recording or playback
// file) and what the acquisition keeps from frame to frame (the averages, the ping count), in one
// place under one lock: the owner's thread changes it, the worker reads it once per frame.
class AcquisitionControls {
  public:
    enum class FileMode { kNone, kPlayback, kRecording };

    // What publishing a frame gave: the snapshot, and whether the recording failed (and has
    // been closed).
    struct Published {
        std::shared_ptr<const EcholuxSnapshot> snapshot;
        bool recordingFailed = false;
    };
    // The next frame of the playback file; once it has none, endedAfter tells (only the first
    // time) how many frames it gave.
    struct Played {
        std::optional<BeamFrame> frame;
        std::optional<uint32_t> endedAfter;
    };

    // Owner's thread.
    void SetAveraging(bool on);
    bool Averaging() const;
    void OpenPlayback(DiagnosticFile file);
    void OpenRecording(DiagnosticFile file);
    void CloseFile();
    FileMode OpenFile() const;

    // The worker.
    void SetSetup(const EcholuxSetup& setup);
    EcholuxSetup Setup() const;
    Played NextPlaybackFrame();
    Published Publish(const BeamFrame& frame);

  private:
    mutable std::mutex mutex_;
    EcholuxSetup setup_;
    BeamProcessor processor_;
    FileMode fileMode_ = FileMode::kNone;
    std::unique_ptr<PlaybackReader> playback_;
    bool playbackEnded_ = false;
    DiagnosticFile recording_;
};

}  // namespace brennix
