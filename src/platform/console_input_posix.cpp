#include "platform/console_input.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace brennix {

namespace {

termios keptMode{};
bool modeKept = false;
int keptFd = -1;

}  // namespace

ConsoleWait WaitForConsoleInput(int fd, int timeoutMs) {
    pollfd watched{fd, POLLIN, 0};
    const int ready = ::poll(&watched, 1, timeoutMs);
    if (ready < 0) {
        return errno == EINTR ? ConsoleWait::kTimeout : ConsoleWait::kEnded;
    }
    if (ready == 0) {
        return ConsoleWait::kTimeout;
    }
    // A closed input may still hold what was written before it closed.
    if ((watched.revents & POLLIN) == 0 && (watched.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        return ConsoleWait::kEnded;
    }
    return ConsoleWait::kInput;
}

std::optional<size_t> ReadConsoleBytes(int fd, char* buffer, size_t size) {
    const ssize_t count = ::read(fd, buffer, size);
    if (count < 0 && errno == EINTR) {
        return 0;
    }
    if (count <= 0) {
        return std::nullopt;
    }
    return static_cast<size_t>(count);
}

const char* ConsoleEndOfInputKeys() {
    return "Ctrl-D";
}

bool IsConsoleTerminal(int fd) {
    return ::isatty(fd) != 0;
}

bool IsConsoleTerminal(std::FILE* stream) {
    return IsConsoleTerminal(::fileno(stream));
}

void KeepConsoleMode(int fd) {
    keptFd = fd;
    modeKept = ::tcgetattr(fd, &keptMode) == 0;
}

void RestoreConsoleMode() {
    if (modeKept) {
        ::tcsetattr(keptFd, TCSANOW, &keptMode);
    }
}

}  // namespace brennix
