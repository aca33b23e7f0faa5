#pragma once

#include <functional>
#include <optional>

#include "setup/setup_service.h"

namespace brennix::cli {

class CliSession;

// The setup service on the console: the instrument checked as the Setup menu checks it, then one
// job at a time run to its end while the main thread pumps the relay; Ctrl-C stops the job.
class ConsoleSetup : private SetupListener {
  public:
    // The console's stand-in for the SDI-12 deployment dialog.
    using Sdi12Dialog = std::function<bool(const std::optional<Refusal>& refused)>;

    ConsoleSetup(CliSession& cli, UnitSystem units, Sdi12Dialog sdi12Dialog = {});

    // The instrument check, then the configuration read and the Deploy page shown; false, with
    // the reason shown, when either fails.
    bool Open();
    // Starts a job and waits for its end; none, after saying why, when it could not start.
    std::optional<SetupResult> Run(const std::function<bool(SetupService&)>& start);
    SetupSheet& Sheet() { return service_.Sheet(); }

  private:
    void OnPageShown(SetupPage) override {}
    bool RunSdi12Dialog(const std::optional<Refusal>& refused) override;
    void OnEnded(const SetupResult& result) override { ended_ = result; }

    CliSession& cli_;
    Sdi12Dialog sdi12Dialog_;
    std::optional<SetupResult> ended_;
    SetupService service_;  // last: its job ends before the rest goes
};

}  // namespace brennix::cli
