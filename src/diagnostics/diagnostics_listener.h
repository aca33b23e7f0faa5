#pragma once

#include <cstdint>
#include <memory>

#include "diagnostics/echolux_setup.h"
#include "diagnostics/echolux_snapshot.h"

namespace brennix {

// What the diagnostics service reports, on the thread that owns the listener.
class DiagnosticsListener {
  public:
    virtual ~DiagnosticsListener() = default;

    // The instrument is set up for diagnostic frames; the frames follow.
    virtual void OnSetUp(const EcholuxSetup& setup) = 0;
    // The instrument refused a setting (the user has been told); the service is ending.
    virtual void OnSetupRefused() = 0;
    // How much of the current collection window has passed, 0 to 100.
    virtual void OnProgress(int percent) = 0;
    // A frame was decoded; the snapshot is never changed afterwards.
    virtual void OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) = 0;
    // A collection window ended without a frame that decodes (none came, or a spoiled one).
    virtual void OnFrameMissed() = 0;
    // The playback file has no more frames; framesPlayed since it was opened.
    virtual void OnPlaybackEnded(uint32_t framesPlayed) = 0;
    // The recording could not be written; it has been closed.
    virtual void OnRecordingFailed() = 0;
    // The port went away; the service is ending.
    virtual void OnConnectionLost() = 0;
};

}  // namespace brennix
