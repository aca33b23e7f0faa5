#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/cli_command.h"
#include "diagnostics/diagnostics_service.h"

namespace brennix::cli {

// diag [--frames N] [--record FILE] [--play FILE] [--average]: the beam diagnostics, one line per
// decoded frame, until N frames or Ctrl-C; with --play from a recording instead of the
// instrument.
class DiagCommand : public CliCommand, private DiagnosticsListener {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    void OnSetUp(const EcholuxSetup&) override {}
    void OnSetupRefused() override { End(kExitFailed); }
    void OnProgress(int) override {}
    void OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) override;
    void OnFrameMissed() override;
    void OnPlaybackEnded(uint32_t framesPlayed) override;
    void OnRecordingFailed() override;
    void OnConnectionLost() override;

    // Opens the files asked for; false, after saying why, when one cannot be.
    bool OpenFiles(DiagnosticsService& service);
    // The exit status, said once: what comes after it is not shown.
    void End(int status);

    uint32_t frames_ = 0;  // 0: until Ctrl-C
    std::string recordPath_;
    std::string playPath_;
    bool average_ = false;

    std::FILE* out_ = nullptr;
    std::FILE* err_ = nullptr;
    std::string portName_;
    uint32_t printed_ = 0;
    std::optional<int> status_;
};

}  // namespace brennix::cli
