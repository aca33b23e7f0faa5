#include <io.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/console_input.h"

namespace brennix {

namespace {

// Windows has no wait on a pipe or a console that a read would not block after (the console
// hands over a line only when Enter is pressed, and edits it until then). A thread of its own
// reads the input as it comes; the program's loop waits on what it has read, with a time-out.
class InputReader {
  public:
    explicit InputReader(int fd) : handle_(reinterpret_cast<HANDLE>(::_get_osfhandle(fd))) {
        DWORD mode = 0;
        console_ = ::GetConsoleMode(handle_, &mode) != 0;
        // It waits in the system's read for the person to type and holds nothing that needs
        // putting back: it ends with the program.
        std::thread([this] { Run(); }).detach();
    }

    ConsoleWait Wait(int timeoutMs) {
        std::unique_lock lock(mutex_);
        const bool ready = arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                             [this] { return !pending_.empty() || ended_; });
        if (!ready) {
            return ConsoleWait::kTimeout;
        }
        return pending_.empty() ? ConsoleWait::kEnded : ConsoleWait::kInput;
    }

    std::optional<size_t> Take(char* buffer, size_t size) {
        std::lock_guard lock(mutex_);
        if (pending_.empty()) {
            return ended_ ? std::nullopt : std::optional<size_t>(0);
        }
        const size_t count = std::min(size, pending_.size());
        pending_.copy(buffer, count);
        pending_.erase(0, count);
        return count;
    }

  private:
    void Run() {
        char chunk[4096];
        for (;;) {
            DWORD count = 0;
            const bool read = ::ReadFile(handle_, chunk, sizeof chunk, &count, nullptr) != 0;
            // Ctrl-C in the console ends a read with nothing; Ctrl-Z at the start of a line is
            // the console's end of input.
            const bool interrupted = read && count == 0 && console_;
            const bool ended =
                (!read || count == 0 || (console_ && chunk[0] == '\x1a')) && !interrupted;
            std::lock_guard lock(mutex_);
            if (ended) {
                ended_ = true;
                arrived_.notify_all();
                return;
            }
            pending_.append(chunk, count);
            arrived_.notify_all();
        }
    }

    HANDLE handle_;
    bool console_ = false;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::string pending_;
    bool ended_ = false;
};

// Standard input is the one console input the program reads; the reader starts at the first
// wait and is never destroyed, as its thread may still be in a read when the program ends.
InputReader& ReaderFor(int fd) {
    static InputReader* const reader = new InputReader(fd);
    return *reader;
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

DWORD keptMode = 0;
bool modeKept = false;
HANDLE keptHandle = nullptr;

}  // namespace

ConsoleWait WaitForConsoleInput(int fd, int timeoutMs) {
    return ReaderFor(fd).Wait(timeoutMs);
}

std::optional<size_t> ReadConsoleBytes(int fd, char* buffer, size_t size) {
    return ReaderFor(fd).Take(buffer, size);
}

const char* ConsoleEndOfInputKeys() {
    return "Ctrl-Z, Enter";
}

// _isatty would also call the NUL device a terminal.
bool IsConsoleTerminal(int fd) {
    DWORD mode = 0;
    return ::GetConsoleMode(HandleOf(fd), &mode) != 0;
}

// A console written to as a terminal takes the terminal's escapes (Windows 10 and later), so
// that the progress line clears what stood after it.
bool IsConsoleTerminal(std::FILE* stream) {
    const HANDLE handle = HandleOf(::_fileno(stream));
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode) == 0) {
        return false;
    }
    ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    return true;
}

void KeepConsoleMode(int fd) {
    keptHandle = HandleOf(fd);
    modeKept = ::GetConsoleMode(keptHandle, &keptMode) != 0;
}

void RestoreConsoleMode() {
    if (modeKept) {
        ::SetConsoleMode(keptHandle, keptMode);
    }
}

}  // namespace brennix
