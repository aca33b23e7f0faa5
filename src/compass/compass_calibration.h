#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "compass/compass_replies.h"
#include "instrument/instrument.h"

namespace brennix {

// The instrument's compass calibration: initialise the compass, start the calibration mode,
// follow the attitude the instrument streams meanwhile, and end it to read the scores. Runs on
// the thread that holds the link.
class CCompassCalibration {
  public:
    static constexpr uint32_t kInitTimeoutMs = 4000;
    static constexpr uint32_t kStartWriteMs = 1500;
    static constexpr uint32_t kStopWriteMs = 1000;
    static constexpr uint32_t kScoreWaitMs = 3000;
    static constexpr uint32_t kBacklogLimit = 1000;
    static constexpr size_t kBacklogChunk = 32;
    static constexpr uint32_t kBacklogPauseMs = 25;
    static constexpr size_t kReplyTextLimit = 500;
    static constexpr size_t kScoreBufferSize = 1024;

    explicit CCompassCalibration(CInstrument& instrument);
    virtual ~CCompassCalibration() = default;

    // "compass init", answered with "OK" within 4 s.
    bool Init();
    // Sends "compass cal" unless a calibration runs already; false when nothing was sent.
    bool Start();
    bool IsCalibrating() const { return calibrating_; }
    // The latest attitude in what the instrument has sent so far; none when it holds none.
    std::optional<Attitude> ReadAttitude();
    // Ends the calibration with a blank line and reads the scores the instrument answers with.
    // The calibration is over even when they cannot be read.
    std::optional<CompassScores> Finish();

  private:
    // Drops all but the last kBacklogLimit bytes waiting, 32 at a time; false on a failed read.
    bool DropBacklog(uint32_t pauseMs);
    bool ReadWaiting(std::string& text, size_t limit);

    CInstrument& instrument_;
    CSerialLink& link_;
    bool calibrating_ = false;
    // What arrived while calibrating, its last 500 characters; kept across Start and Stop.
    std::string replyText_;
};

}  // namespace brennix
