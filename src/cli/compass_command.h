#pragma once

#include <cstdint>
#include <optional>

#include "cli/cli_command.h"
#include "compass/compass_service.h"

namespace brennix::cli {

// compass [--seconds N]: the compass calibration, with the attitude printed as it changes and
// the scores at the end. Ends after N seconds, or when Enter is pressed.
class CompassCommand : public CliCommand, private CompassListener {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    void OnReady(bool ready) override { ready_ = ready; }
    void OnAttitude(const Attitude& attitude) override;
    void OnScores(const std::optional<CompassScores>& scores) override { scores_ = scores; }

    // Until the time is up, Enter is pressed (or the input ends, when no time was given); false
    // on Ctrl-C.
    bool FollowAttitude(CliSession& cli);
    int Calibrate(CliSession& cli, CompassService& service);

    uint32_t seconds_ = 0;  // 0: until Enter
    std::FILE* out_ = nullptr;
    std::optional<bool> ready_;
    std::optional<Attitude> shown_;
    std::optional<std::optional<CompassScores>> scores_;
};

}  // namespace brennix::cli
