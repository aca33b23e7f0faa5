#include "script/session_job.h"

#include <utility>

#include "link/link_lease.h"

namespace brennix {

namespace {

constexpr uint32_t kEndingMs = 1000;

}  // namespace

SessionJob::SessionJob(CSession& session, JobRelay& relay)
    : session_(session),
      relay_(relay),
      workerUi_(session.Ui(), relay, session.GetClock()),
      job_(session.GetClock()) {}

bool SessionJob::Start(Steps steps) {
    return job_.Start(
        [this, steps = std::move(steps)](const StopEvent& stop) { Run(steps, stop); });
}

void SessionJob::Run(const Steps& steps, const StopEvent& stop) {
    {
        WorkerSession worker(session_, workerUi_);
        {
            const LinkLease lease(session_.Link(), &stop);
            steps.work(worker, stop);
        }
        if (steps.settle) {
            const LinkLease lease(session_.Link());
            steps.settle(worker, stop);
        }
    }
    relay_.Post([this, finished = steps.finished] {
        // The thread has only its last steps left.
        job_.WaitFinished(kEndingMs);
        if (finished) {
            finished();
        }
    });
}

}  // namespace brennix
