#include "setup/setup_service.h"

#include <utility>

#include "instrument/instrument_codes.h"
#include "instrument/setup_reader.h"
#include "setup/deploy_sequence.h"

namespace brennix {

SetupService::SetupService(CSession& session, JobRelay& relay, SetupListener& listener,
                           UnitSystem units)
    : units_(units), listener_(listener), report_(relay, listener), job_(session, relay) {}

bool SetupService::Start(SetupJob job, Step work, Step settle) {
    if (busy_) {
        return false;
    }
    result_ = SetupResult();
    result_.job = job;
    busy_ = job_.Start({
        .work =
            [this, work = std::move(work)](WorkerSession& worker, const StopEvent& stop) {
                work(worker, stop);
                Finish(stop);
            },
        .settle =
            [this, settle = std::move(settle)](WorkerSession& worker, const StopEvent& stop) {
                if (settle) {
                    settle(worker, stop);
                }
                // What a stopped exchange left on the line is no answer to anything.
                if (stop.IsSet()) {
                    worker.Link().Waits().Pause(kBeforeFlushMs);
                    worker.Link().FlushInput(true);
                }
            },
        .finished =
            [this] {
                busy_ = false;
                const SetupResult result = std::move(result_);
                listener_.OnEnded(result);
            },
    });
    return busy_;
}

void SetupService::Finish(const StopEvent& stop) {
    if (stop.IsSet() && result_.outcome != SetupOutcome::kDone) {
        result_.outcome = SetupOutcome::kStopped;
    }
}

SheetExchange SetupService::Exchange(WorkerSession& worker) {
    return SheetExchange(*sheet_, worker, result_.sent);
}

bool SetupService::Read() {
    return Start(SetupJob::kRead, [this](WorkerSession& worker, const StopEvent&) {
        const SetupRecordRead read = ReadSetupRecord(worker.Instrument());
        if (!read.record) {
            result_.outcome = SetupOutcome::kUnreadable;
            result_.unreadBlock = read.unreadBlock;
            return;
        }
        sheet_.emplace(*read.record, units_);
        Exchange(worker).EnterPage(SetupPage::kDeploy);
        result_.page = SetupPage::kDeploy;
    });
}

bool SetupService::Turn(std::optional<SetupPage> leave, std::vector<SetupPage> enter) {
    return Start(SetupJob::kTurn,
                 [this, leave, enter = std::move(enter)](WorkerSession& worker, const StopEvent&) {
                     SheetExchange exchange = Exchange(worker);
                     if (leave) {
                         result_.page = leave;
                         if ((result_.refusal = exchange.LeavePage(*leave))) {
                             result_.outcome = SetupOutcome::kRefused;
                             return;
                         }
                     }
                     for (const SetupPage page : enter) {
                         exchange.EnterPage(page);
                         result_.page = page;
                     }
                 });
}

bool SetupService::Apply(std::vector<SetupPage> pages) {
    const auto work = [this, pages](WorkerSession& worker, const StopEvent&) {
        for (const SetupPage page : pages) {
            if ((result_.refusal = sheet_->CheckPage(page))) {
                result_.outcome = SetupOutcome::kRefused;
                result_.page = page;
                return;
            }
        }
        SheetExchange exchange = Exchange(worker);
        for (const SetupPage page : pages) {
            if ((result_.refusal = exchange.SavePage(page))) {
                result_.outcome = SetupOutcome::kRefused;
                result_.page = page;
                return;
            }
        }
    };
    // What the instrument took is kept, however the saves ended.
    const auto settle = [this](WorkerSession& worker, const StopEvent&) {
        Exchange(worker).SaveSetupIfModified();
    };
    return Start(SetupJob::kApply, work, settle);
}

bool SetupService::Deploy() {
    return Start(SetupJob::kDeploy, [this](WorkerSession& worker, const StopEvent& stop) {
        SheetExchange exchange = Exchange(worker);
        DeploySequence(exchange, report_, result_, stop).Run();
    });
}

bool SetupService::WakeInstrument() {
    return Start(SetupJob::kWake, [this](WorkerSession& worker, const StopEvent&) {
        if (!IsInstrument(worker.Instrument().FindInstrument(true, true))) {
            result_.outcome = SetupOutcome::kNotAwake;
        }
    });
}

bool SetupService::ReadRecorderSpace() {
    return Start(SetupJob::kRecorderSpace, [this](WorkerSession& worker, const StopEvent&) {
        Exchange(worker).ReadRecorderSpace();
    });
}

}  // namespace brennix
