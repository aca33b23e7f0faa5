#include "platform/exit_signals.h"

#include <signal.h>

#include "platform/system_serial_device.h"

namespace brennix {

namespace {

void (*extraCleanup)() = nullptr;

// The handler was installed to run once: raising the signal again takes the default action.
void ReleaseAndEnd(int signal) {
    ReleaseSystemSerialPorts();
    if (extraCleanup != nullptr) {
        extraCleanup();
    }
    ::raise(signal);
}

}  // namespace

void ReleasePortsOnSignals(std::initializer_list<int> signalNumbers, void (*alsoOnExit)()) {
    extraCleanup = alsoOnExit;
    struct sigaction action {};
    action.sa_handler = &ReleaseAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : signalNumbers) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace brennix
