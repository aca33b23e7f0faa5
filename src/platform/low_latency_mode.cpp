#include "platform/low_latency_mode.h"

#include <sys/ioctl.h>

namespace brennix {

void LowLatencyMode::Enable(int fd) {
    changed_ = false;
    serial_struct info{};
    if (control_(fd, TIOCGSERIAL, &info) != 0 || (info.flags & ASYNC_LOW_LATENCY) != 0)
        return;
    info.flags |= ASYNC_LOW_LATENCY;
    changed_ = control_(fd, TIOCSSERIAL, &info) == 0;
}

void LowLatencyMode::Restore(int fd) {
    serial_struct info{};
    if (!changed_ || control_(fd, TIOCGSERIAL, &info) != 0)
        return;
    info.flags &= ~ASYNC_LOW_LATENCY;
    control_(fd, TIOCSSERIAL, &info);
    changed_ = false;
}

int LowLatencyMode::SystemControl(int fd, unsigned long request, serial_struct* info) {
    return ::ioctl(fd, request, info);
}

}  // namespace brennix
