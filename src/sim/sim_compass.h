#pragma once

#include <cstdint>
#include <string>

#include "sim/command_interpreter.h"
#include "sim/sim_mode.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The instrument's compass, turned slowly by an imaginary technician: one turn a minute, pitch
// and roll swinging a few degrees. Answers "compass" (one reading), "compass cont" (a few),
// "compass init" and "compass cal" (the calibration mode, ended by a line end with its scores).
class SimCompass {
  public:
    static constexpr int64_t kInitMs = 800;

    SimCompass(const Faults& faults, ModeHost& host);

    // Registers the compass's command with the instrument's command line.
    void RegisterWith(CommandInterpreter& interpreter);

    // "Heading= h Pitch= p Roll= r" as the calibration streams it at nowMs.
    static std::string CalibrationLine(int64_t nowMs);
    // The score line of a calibration that ran from startMs to endMs.
    static std::string ScoreLine(int64_t startMs, int64_t endMs);

  private:
    Reply Command(std::string_view argument, int64_t nowMs);

    const Faults& faults_;
    ModeHost& host_;
};

}  // namespace brennix::sim
