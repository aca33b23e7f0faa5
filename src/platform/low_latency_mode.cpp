#include "platform/low_latency_mode.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace brennix {

namespace {

constexpr int kLowLatency = static_cast<int>(ASYNC_LOW_LATENCY);

}  // namespace

void LowLatencyMode::Enable(int fd) {
    changed_ = false;
    serial_struct info{};
    if (control_(fd, TIOCGSERIAL, &info) != 0 || (info.flags & kLowLatency) != 0) {
        return;
    }
    info.flags |= kLowLatency;
    changed_ = control_(fd, TIOCSSERIAL, &info) == 0;
}

void LowLatencyMode::Restore(int fd) {
    serial_struct info{};
    if (!changed_ || control_(fd, TIOCGSERIAL, &info) != 0) {
        return;
    }
    info.flags &= ~kLowLatency;
    control_(fd, TIOCSSERIAL, &info);
    changed_ = false;
}

int LowLatencyMode::SystemControl(int fd, unsigned long request, serial_struct* info) {
    return ::ioctl(fd, request, info);
}

}  // namespace brennix
