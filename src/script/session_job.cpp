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

bool SessionJob::Start(Work work, Finished finished) {
    return job_.Start(
        [this, work = std::move(work), finished = std::move(finished)](const StopEvent& stop) {
            {
                const LinkLease lease(session_.Link(), &stop);
                WorkerSession worker(session_, workerUi_);
                work(worker, stop);
            }
            relay_.Post([this, finished] {
                // The thread has only its last steps left.
                job_.WaitFinished(kEndingMs);
                if (finished) {
                    finished();
                }
            });
        });
}

}  // namespace brennix
