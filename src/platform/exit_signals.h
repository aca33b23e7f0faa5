#pragma once

namespace brennix {

// How the system asks the program to end: Ctrl-C, a closed terminal, a kill, a quit (Ctrl-\).
// A program ended that way never reaches its ports' Close, so these give the ports back first
// (ReleaseSystemSerialPorts), then run alsoOnExit, which must be safe in a signal handler (a
// console's mode put back, say).

// Ends the program on each request, as the request would have.
void ReleasePortsWhenEnded(void (*alsoOnExit)() = nullptr);

// The console's way: Ctrl-C, a closed terminal and a kill call onStop instead (in a signal
// handler: only what is safe there), which stops the running work; a quit still ends the program
// as ReleasePortsWhenEnded does. Writes to a reader that has gone (a closed pipe) fail instead of
// ending the program.
void HandleConsoleStopRequests(void (*onStop)(), void (*alsoOnExit)());

// Ends the program at once with status, without the usual clean-up; safe in a signal handler.
[[noreturn]] void EndProgramNow(int status);

}  // namespace brennix
