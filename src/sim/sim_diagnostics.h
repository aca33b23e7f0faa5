#pragma once

#include <cstdint>
#include <string_view>

#include "sim/command_interpreter.h"
#include "sim/sim_mode.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The instrument's beam diagnostics: the set-up commands "CSset", "BDset" and "PlSet" (refused
// when named among the refused settings), and "Amp", answered (with the output format set to
// binary by "OF Binary") by one diagnostic frame.
class SimDiagnostics {
  public:
    // How long the instrument pings before its frame starts.
    static constexpr int64_t kPingMs = 200;

    SimDiagnostics(const Settings& settings, const Faults& faults, ModeHost& host);

    void RegisterWith(CommandInterpreter& interpreter);

  private:
    bool Refused(std::string_view word) const;
    Reply Amp(const ConfigBlocks& blocks, int64_t nowMs);

    const Settings& settings_;
    const Faults& faults_;
    ModeHost& host_;
    uint32_t pings_ = 0;
};

}  // namespace brennix::sim
