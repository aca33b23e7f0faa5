#pragma once

#include <cstddef>
#include <cstdint>

#include "support/sim_session.h"

namespace brennix::soak {

// Each opens one feature's service on the simulated instrument, lets it do its work, closes it
// and waits for it to let go of the line; false, with the reason on stderr, when any step failed.
bool SetupCycle(test::SimSession& sim);
bool RecorderCycle(test::SimSession& sim);
bool CompassCycle(test::SimSession& sim);
// The diagnostics collecting frames until count have arrived.
bool DiagnosticsCycle(test::SimSession& sim, size_t frames);

}  // namespace brennix::soak
