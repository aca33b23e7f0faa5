#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "diagnostics/beam_processor.h"
#include "diagnostics/diagnostic_file.h"
#include "diagnostics/echolux_listener.h"
#include "diagnostics/frame_decoder.h"
#include "diagnostics/playback_reader.h"
#include "instrument/instrument.h"
#include "platform/job.h"
#include "platform/ui_host.h"

namespace brennix {

// The diagnostic acquisition: a job that, ping after ping, asks the instrument for a diagnostic
// frame (or reads the next one from a playback file), collects for the whole collection window,
// decodes, records, works out the figures and hands the listener a snapshot.
//
// Threads: the controls below are called from the owner's thread and take effect before the
// next frame; the worker talks to the instrument through its own CInstrument on workerUi (a host
// it may call from its thread) while holding the link with the job's stop event, so a stop is
// honoured within one 10 ms step.
class CEcholuxAcquisition {
  public:
    enum class FileMode { kNone, kPlayback, kRecording };

    static constexpr uint32_t kStepMs = 10;
    static constexpr uint32_t kCycleGapMs = 1;
    static constexpr size_t kReceiveChunk = 8192;

    // 48000000 / baud + 1000 ms, another 1000 ms from 58000 baud on.
    static uint32_t CollectionWindowMs(uint32_t baudRate);

    CEcholuxAcquisition(CInstrument& instrument, UiHost& workerUi, const FrameRules& rules,
                        EcholuxListener& listener);
    ~CEcholuxAcquisition();
    CEcholuxAcquisition(const CEcholuxAcquisition&) = delete;
    CEcholuxAcquisition& operator=(const CEcholuxAcquisition&) = delete;

    bool Start();
    void RequestStop();
    // True once the worker has ended (at once when it never ran).
    bool WaitFinished(uint32_t ms);
    bool IsRunning() const;

    // Toggling averaging starts a new average from a cleared display.
    void SetAveraging(bool on);
    bool Averaging() const;
    // Frames come from the file from the next one on, counted from 1 again.
    void OpenPlayback(DiagnosticFile file);
    // Every frame from the next one on is appended to the file.
    void OpenRecording(DiagnosticFile file);
    // Back to the instrument alone.
    void CloseFile();
    FileMode OpenFile() const;

  private:
    void Run(const StopEvent& stop);
    bool PlayingBack() const;
    void RequestFrame(CInstrument& instrument);
    // Collects for the whole window; false when told to stop meanwhile.
    bool Collect(const StopEvent& stop, uint32_t windowMs, bool playback,
                 std::vector<uint8_t>& received);
    void ReadWaiting(std::vector<uint8_t>& received);
    std::optional<BeamFrame> NextPlaybackFrame();
    void Publish(const BeamFrame& frame);

    CInstrument& instrument_;
    CSerialLink& link_;
    Clock& clock_;
    UiHost& workerUi_;
    const FrameRules rules_;
    EcholuxListener& listener_;

    // Guards everything below: the worker's figures and files, changed from the owner's thread.
    mutable std::mutex mutex_;
    BeamProcessor processor_;
    FileMode fileMode_ = FileMode::kNone;
    std::unique_ptr<PlaybackReader> playback_;
    bool playbackEnded_ = false;
    DiagnosticFile recording_;

    // Last, so the worker has ended before anything it uses goes.
    Job job_;
};

}  // namespace brennix
