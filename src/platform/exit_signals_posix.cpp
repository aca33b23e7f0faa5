#include "platform/exit_signals.h"

#include <signal.h>
#include <unistd.h>

#include <initializer_list>

#include "platform/system_serial_device.h"

namespace brennix {

namespace {

void (*extraCleanup)() = nullptr;
void (*stopHandler)() = nullptr;

// The handler was installed to run once: raising the signal again takes the default action.
void ReleaseAndEnd(int signal) {
    ReleaseSystemSerialPorts();
    if (extraCleanup != nullptr) {
        extraCleanup();
    }
    ::raise(signal);
}

void CallStopHandler(int) {
    stopHandler();
}

void Install(std::initializer_list<int> signalNumbers, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    for (const int signal : signalNumbers) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

void ReleasePortsWhenEnded(void (*alsoOnExit)()) {
    extraCleanup = alsoOnExit;
    Install({SIGINT, SIGTERM, SIGHUP, SIGQUIT}, &ReleaseAndEnd, SA_RESETHAND);
}

void HandleConsoleStopRequests(void (*onStop)(), void (*alsoOnExit)()) {
    extraCleanup = alsoOnExit;
    stopHandler = onStop;
    // As std::signal would: a call the request interrupts goes on.
    Install({SIGINT, SIGTERM, SIGHUP}, &CallStopHandler, SA_RESTART);
    Install({SIGQUIT}, &ReleaseAndEnd, SA_RESETHAND);
    Install({SIGPIPE}, SIG_IGN, 0);
}

void EndProgramNow(int status) {
    ::_exit(status);
}

}  // namespace brennix
