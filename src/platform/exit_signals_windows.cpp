#include <windows.h>

#include <cstdlib>

#include "platform/exit_signals.h"
#include "platform/system_serial_device.h"

namespace brennix {

namespace {

// Windows ends the program once the handler of a closed console window returns, and at the
// latest five seconds after the close: the work is given most of that to stop and end by itself.
constexpr DWORD kCloseGraceMs = 4500;

void (*extraCleanup)() = nullptr;
void (*stopHandler)() = nullptr;

void ReleaseAll() {
    ReleaseSystemSerialPorts();
    if (extraCleanup != nullptr) {
        extraCleanup();
    }
}

// Returning false hands the request on to the system's own handler, which ends the program.
BOOL WINAPI ReleaseAndEnd(DWORD) {
    ReleaseAll();
    return FALSE;
}

BOOL WINAPI StopTheWork(DWORD request) {
    switch (request) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            stopHandler();
            return TRUE;
        case CTRL_CLOSE_EVENT:
            stopHandler();
            ::Sleep(kCloseGraceMs);
            ReleaseAll();
            return FALSE;
        default:
            // A logoff or a shutdown: the ports are given back, the system ends the program.
            return ReleaseAndEnd(request);
    }
}

}  // namespace

void ReleasePortsWhenEnded(void (*alsoOnExit)()) {
    extraCleanup = alsoOnExit;
    ::SetConsoleCtrlHandler(&ReleaseAndEnd, TRUE);
}

void HandleConsoleStopRequests(void (*onStop)(), void (*alsoOnExit)()) {
    extraCleanup = alsoOnExit;
    stopHandler = onStop;
    ::SetConsoleCtrlHandler(&StopTheWork, TRUE);
}

void EndProgramNow(int status) {
    std::_Exit(status);
}

}  // namespace brennix
