#pragma once

namespace brennix {

// Where the desktop program's start-up spends its time. With BRENNIX_STARTUP_TRACE set to the
// wall-clock time in nanoseconds at which the program was launched (scripts/bench sets it
// just before exec), each stage prints to stderr how long after the launch it was reached;
// without it, nothing is printed.
void TraceStartup(const char* stage);

}  // namespace brennix
