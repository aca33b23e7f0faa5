#include "recorder/recorder_service.h"

#include <memory>
#include <utility>

#include "instrument/recorder_access.h"
#include "recorder/format_run.h"
#include "recorder/line_settle.h"

namespace brennix {

namespace {

// A listing that was stopped leaves the instrument inside its transfer.
void SettleIfStopped(WorkerSession& worker, const StopEvent& stop) {
    if (stop.IsSet()) {
        SettleAfterStop(worker.Instrument());
    }
}

}  // namespace

RecorderService::RecorderService(CSession& session, JobRelay& relay, RecorderListener& listener)
    : hold_(session.Link()),
      detached_(session.Link()),
      link_(session.Link()),
      lineRate_(session.Link().GetBaudRate()),
      listener_(listener),
      report_(relay, listener),
      job_(session, relay) {}

bool RecorderService::Open(std::optional<uint32_t> rate) {
    auto listing = std::make_shared<std::optional<RecorderListing>>();
    return Start(RecorderOperation::kListing,
                 {.work =
                      [this, rate, listing](WorkerSession& worker, const StopEvent& stop) {
                          if (rate) {
                              const bool switched = SwitchRate(worker.Instrument(), *rate);
                              if (stop.IsSet()) {
                                  return;
                              }
                              report_.Post([rate = *rate, switched](RecorderListener& l) {
                                  l.OnRateSet(rate, switched);
                              });
                          }
                          *listing = ReadRecorderListing(worker.Instrument());
                      },
                  .settle = SettleIfStopped,
                  .finished = [this, listing] { listener_.OnListed(*listing); }});
}

std::string RecorderService::RateLimits() const {
    const PortCapabilities port = link_.Capabilities();
    return port.changeSettings ? "" : port.limits;
}

bool RecorderService::List() {
    return Open(std::nullopt);
}

bool RecorderService::SetRate(uint32_t rate) {
    auto switched = std::make_shared<bool>(false);
    return Start(RecorderOperation::kRate,
                 {.work =
                      [rate, switched](WorkerSession& worker, const StopEvent&) {
                          *switched = SwitchRate(worker.Instrument(), rate);
                      },
                  .finished = [this, rate, switched] { listener_.OnRateSet(rate, *switched); }});
}

bool RecorderService::Download(DownloadRequest request) {
    auto run = std::make_shared<DownloadRun>(report_, std::move(request));
    return Start(
        RecorderOperation::kDownload,
        {.work = [run](WorkerSession& worker, const StopEvent& stop) { run->Work(worker, stop); },
         .settle = [run](WorkerSession& worker,
                         const StopEvent& stop) { run->Settle(worker, stop); },
         .finished = [this, run] { listener_.OnDownloaded(run->Result()); }});
}

bool RecorderService::Format() {
    auto outcome = std::make_shared<FormatOutcome>(FormatOutcome::kNotStarted);
    return Start(RecorderOperation::kFormat,
                 {.work =
                      [this, outcome](WorkerSession& worker, const StopEvent& stop) {
                          *outcome = RunFormat(worker, report_, stop);
                      },
                  .settle = [outcome](WorkerSession& worker,
                                      const StopEvent&) { SettleFormat(worker, *outcome); },
                  .finished = [this, outcome] { listener_.OnFormatted(*outcome); }});
}

void RecorderService::Stop() {
    job_.RequestStop();
}

bool RecorderService::Close(std::function<void()> closed) {
    if (running_ == RecorderOperation::kClosing) {
        return true;
    }
    if (IsBusy()) {
        closeWhenIdle_ = std::move(closed);
        job_.RequestStop();
        return true;
    }
    return StartClose(std::move(closed));
}

bool RecorderService::StartClose(std::function<void()> closed) {
    return Start(RecorderOperation::kClosing, {.work = [](WorkerSession&, const StopEvent&) {},
                                               .settle =
                                                   [this](WorkerSession& worker, const StopEvent&) {
                                                       CRecorderAccess access(worker.Instrument());
                                                       RestoreRate(access, worker.Link(),
                                                                   lineRate_);
                                                   },
                                               .finished = std::move(closed)});
}

// The job's end comes on the owner's thread: the operation is over before its result is told,
// so the listener may start the next one from there.
bool RecorderService::Start(RecorderOperation operation, SessionJob::Steps steps) {
    if (IsBusy()) {
        return false;
    }
    steps.finished = [this, tell = std::move(steps.finished)] {
        running_ = RecorderOperation::kNone;
        tell();
        if (closeWhenIdle_ && !IsBusy()) {
            const std::function<void()> closed = std::exchange(closeWhenIdle_, {});
            if (!StartClose(closed)) {
                closed();
            }
        }
    };
    if (!job_.Start(std::move(steps))) {
        return false;
    }
    running_ = operation;
    return true;
}

}  // namespace brennix
