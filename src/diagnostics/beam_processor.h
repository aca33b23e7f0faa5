#pragma once

#include <cstdint>

#include "diagnostics/beam_frame.h"
#include "diagnostics/echolux_snapshot.h"

namespace brennix {

// Turns decoded frames into what the window shows: counts the pings, averages the amplitudes
// while averaging is on, and works out noise, peaks and cosine/sine extremes.
class BeamProcessor {
  public:
    static constexpr size_t kPeakFirstCell = 27;
    static constexpr size_t kPeakEndCell = 42;

    // Starts a new average (or ends one): the averaging count starts again and the display is
    // cleared.
    void SetAveraging(bool on);
    bool Averaging() const { return averaging_; }
    // A file opened for playback counts its frames from the start.
    void ResetPingCounter() { ping_ = 0; }
    uint32_t PingCounter() const { return ping_; }

    EcholuxSnapshot Process(const BeamFrame& frame);

  private:
    // Forgets the accumulated amplitudes.
    void ClearDisplay();
    void Accumulate(const BeamFrame& frame, EcholuxSnapshot& shown);

    bool averaging_ = false;
    uint32_t averagingCount_ = 0;
    uint32_t ping_ = 0;
    PerBeamCells<uint32_t> accumulator_{};
};

}  // namespace brennix
