#include "sim/compass_calibration_mode.h"

#include <memory>

#include "sim/command_mode.h"
#include "sim/sim_compass.h"

namespace brennix::sim {

CompassCalibrationMode::CompassCalibrationMode(ModeHost& host, const Faults& faults)
    : host_(host), faults_(faults) {}

void CompassCalibrationMode::Enter(int64_t nowMs) {
    startMs_ = nowMs;
    nextLineMs_ = nowMs + kLineIntervalMs;
}

void CompassCalibrationMode::Advance(int64_t nowMs) {
    for (; nextLineMs_ <= nowMs; nextLineMs_ += kLineIntervalMs) {
        host_.Emit(SimCompass::CalibrationLine(nextLineMs_), nextLineMs_);
    }
}

void CompassCalibrationMode::Take(uint8_t byte, int64_t nowMs) {
    if (byte != '\r' && byte != '\n') {
        return;  // the instrument only listens for the end of the calibration
    }
    const std::string ending = faults_.compassScoreMissing
                                   ? std::string("\r\nCalibration aborted\r\n")
                                   : SimCompass::ScoreLine(startMs_, nowMs);
    host_.Answer(ending + ">", nowMs);
    host_.SwitchTo(std::make_unique<CommandMode>(host_));
}

}  // namespace brennix::sim
