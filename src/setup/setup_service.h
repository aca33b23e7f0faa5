#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/job_relay.h"
#include "platform/job_reporter.h"
#include "script/session.h"
#include "script/session_job.h"
#include "setup/setup_result.h"
#include "setup/setup_sheet.h"
#include "setup/sheet_exchange.h"

namespace brennix {

// What the setup service asks and reports, on the thread that owns the listener. The questions
// come in the middle of a job, which waits for the answer; the sheet may be read and changed
// while they are asked.
class SetupListener {
  public:
    virtual ~SetupListener() = default;
    // The page has become the sheet's active page, its controls loaded: show it.
    virtual void OnPageShown(SetupPage page) = 0;
    // The SDI-12 deployment dialog on the sheet's SDI-12 controls: true when its Deploy was
    // pressed, false when it was cancelled. refused: the values it wrote last were refused
    // (say why, and put the focus on the control).
    virtual bool RunSdi12Dialog(const std::optional<Refusal>& refused) = 0;
    // The job has ended and let go of the line.
    virtual void OnEnded(const SetupResult& result) = 0;
};

// The setup sheet's exchanges with a Mirovan, as both programs run them: each one a job on a
// worker that reports to one listener. Each call starts a job and returns false when none could
// start (one runs already, or no thread: SessionJob::kCannotStart); OnEnded follows every job
// that started.
class SetupService {
  public:
    static constexpr uint32_t kBeforeFlushMs = 100;

    SetupService(CSession& session, JobRelay& relay, SetupListener& listener, UnitSystem units);

    // Reads "get Conf", "get User" and "get Oper" into a new sheet, then shows the Deploy page.
    bool Read();
    // Leaves the page (check, save, "SaveSetup"), then shows the pages to enter in turn: a tab
    // changed, the sheet closed, the console's listing.
    bool Turn(std::optional<SetupPage> leave, std::vector<SetupPage> enter);
    // Checks every page, then saves them in turn, then "SaveSetup" for what was taken, even after
    // a refusal or a stop: the console's setting of values.
    bool Apply(std::vector<SetupPage> pages);
    // The Deploy button: the instrument checked, the Deploy page's rules, every page applied,
    // the recorder's space, then the commands of the mode the sheet holds.
    bool Deploy();
    // The Recorder button: wakes the instrument before the recorder manager opens, and reads
    // its space again after it closed.
    bool WakeInstrument();
    bool ReadRecorderSpace();

    // Asks the running job to stop; it ends within one wait step (OnEnded: kStopped).
    void Stop() { job_.RequestStop(); }
    // From a job's start until its OnEnded.
    bool IsBusy() const { return busy_; }

    // The sheet, once read; see SetupSheet for when the owner may touch it.
    bool HasSheet() const { return sheet_.has_value(); }
    SetupSheet& Sheet() { return *sheet_; }

  private:
    using Step = std::function<void(WorkerSession& worker, const StopEvent& stop)>;

    bool Start(SetupJob job, Step work, Step settle = {});
    SheetExchange Exchange(WorkerSession& worker);
    void Finish(const StopEvent& stop);

    UnitSystem units_;
    SetupListener& listener_;
    JobReporter<SetupListener> report_;
    std::optional<SetupSheet> sheet_;
    SetupResult result_;  // the job's while it runs
    bool busy_ = false;
    SessionJob job_;  // last: joined before the rest goes
};

}  // namespace brennix
