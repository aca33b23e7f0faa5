#include "compass/compass_service.h"

#include <utility>

namespace brennix {

CompassService::CompassService(CSession& session, JobRelay& relay, CompassListener& listener)
    : report_(relay, listener), job_(session, relay) {}

bool CompassService::Open(std::function<void()> closed) {
    return job_.Start({
        .work =
            [this](WorkerSession& worker, const StopEvent& stop) {
                CCompassCalibration calibration(worker.Instrument());
                ready_ = calibration.Init();
                // Closed before the compass answered: nothing to say.
                if (stop.IsSet()) {
                    return;
                }
                report_.Post([ready = ready_](CompassListener& l) { l.OnReady(ready); });
                if (ready_) {
                    Follow(calibration, stop);
                }
            },
        .settle = [this](WorkerSession& worker, const StopEvent&) { Settle(worker); },
        .finished = std::move(closed),
    });
}

void CompassService::StartCalibration() {
    Ask(Request::kStart);
}

void CompassService::FinishCalibration() {
    Ask(Request::kFinish);
}

void CompassService::Close() {
    job_.RequestStop();
    wake_.Set();
}

void CompassService::Ask(Request request) {
    const std::lock_guard lock(mutex_);
    pending_.push_back(request);
    wake_.Set();
}

std::deque<CompassService::Request> CompassService::TakeRequests() {
    const std::lock_guard lock(mutex_);
    wake_.Reset();
    return std::exchange(pending_, {});
}

// Every 300 ms, or at once on a request, until Close.
void CompassService::Follow(CCompassCalibration& calibration, const StopEvent& stop) {
    Clock& clock = job_.Session().GetClock();
    while (!stop.IsSet()) {
        clock.WaitForEvent(wake_, kAttitudeIntervalMs);
        for (const Request request : TakeRequests()) {
            if (request == Request::kStart) {
                calibration.Start();
            } else if (calibration.IsCalibrating()) {
                const std::optional<CompassScores> scores = calibration.Finish();
                report_.Post([scores](CompassListener& l) { l.OnScores(scores); });
            }
        }
        if (calibration.IsCalibrating()) {
            if (const std::optional<Attitude> attitude = calibration.ReadAttitude()) {
                report_.Post([a = *attitude](CompassListener& l) { l.OnAttitude(a); });
            }
        }
    }
}

// A BREAK ends a calibration still running; what the instrument sent meanwhile is dropped.
void CompassService::Settle(WorkerSession& worker) {
    CSerialLink& link = worker.Link();
    if (ready_) {
        worker.Instrument().SendBreak();
        link.Waits().Pause(kAfterBreakMs);
    }
    link.Waits().Pause(kBeforeFlushMs);
    link.FlushInput(true);
}

}  // namespace brennix
