#pragma once

#include <string_view>

#include "sim/sdi12_session.h"
#include "sim/sim_mode.h"

namespace brennix::sim {

// SDI-12: answers through the SDI-12 session; a BREAK only brings the mode notice; "?EXIT!"
// followed by "!" returns to the command mode.
class Sdi12Mode : public SimMode {
  public:
    Sdi12Mode(ModeHost& host, std::string_view modelToken) : host_(host), session_(modelToken) {}

    void Take(uint8_t byte, int64_t nowMs) override;
    void Break(int64_t nowMs) override;

  private:
    ModeHost& host_;
    Sdi12Session session_;
};

}  // namespace brennix::sim
