#pragma once

#include <cstdint>

#include "platform/job_reporter.h"
#include "platform/stop_event.h"
#include "setup/setup_result.h"
#include "setup/sheet_exchange.h"

namespace brennix {

class SetupListener;

// Below this many free bytes the recorder is too full to deploy.
inline constexpr uint64_t kMinFreeRecorderBytes = 64000;

// The Deploy button's whole sequence, on the setup service's job: the instrument must answer as
// a Mirovan, the Deploy page must pass its rules with a start still ahead, every page is applied in
// tab order (each made the active page first, the view told), then, with room on the recorder, the
// commands of the mode the sheet holds start the deployment. What it came to goes into the result.
class DeploySequence {
  public:
    DeploySequence(SheetExchange& exchange, JobReporter<SetupListener>& report, SetupResult& result,
                   const StopEvent& stop);

    void Run();

  private:
    // The page becomes the active one, loaded, and the view shows it; nothing when it is already.
    void Activate(SetupPage page);
    bool ApplyAllPages();
    bool RecorderHasRoom();
    bool RunDeployment();
    bool RunSdi12();
    bool Fail(SetupOutcome outcome);

    SheetExchange& exchange_;
    SetupSheet& sheet_;
    JobReporter<SetupListener>& report_;
    SetupResult& result_;
    const StopEvent& stop_;
};

}  // namespace brennix
