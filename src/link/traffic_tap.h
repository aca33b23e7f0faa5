#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "link/output_window.h"
#include "platform/clock.h"

namespace brennix {

// Where the link's traffic and status lines go besides the port: the log file and the output
// window (the terminal's pane, or none while a dialog keeps its exchange to itself).
class TrafficTap {
  public:
    // Hears the system's reason when writing the open log fails (a full disk, a device that went
    // away); called once for each log, which is incomplete from then on.
    using LogFailureCallback = std::function<void(const std::string& reason)>;

    explicit TrafficTap(Clock& clock) : clock_(clock) {}
    ~TrafficTap();
    TrafficTap(const TrafficTap&) = delete;
    TrafficTap& operator=(const TrafficTap&) = delete;

    bool IsLogOpen() const { return log_ != nullptr; }
    // Closes any open log; an empty path only closes. The new file is created or emptied.
    bool OpenLog(const std::string& path);
    // Why the log could not be created, or why writing it failed.
    std::string LogErrorMessage() const;
    // Writing the open log has failed since it was opened.
    bool LogWriteFailed() const { return logWriteFailed_; }
    void SetLogFailureCallback(LogFailureCallback callback) {
        logFailureCallback_ = std::move(callback);
    }
    // With time stamps on, each line of the log starts with the computer's local time when its
    // first byte passed ("2026-12-08 14:03:07.215 "); the window and the port see no stamp.
    void SetLogTimeStamps(bool on) { logTimeStamps_ = on; }
    bool LogTimeStamps() const { return logTimeStamps_; }
    // Returns the window shown into until now.
    OutputWindow* SetOutputWindow(OutputWindow* window);

    // Bytes as they passed the port, and the link's own status lines.
    void Show(const uint8_t* bytes, size_t length);
    void Print(const std::string& text);

  private:
    void WriteLog(const uint8_t* bytes, size_t length);
    // The text for the log: the bytes up to the first NUL, each CR followed by an LF (one that
    // came anyway is not doubled), with the time stamps if they are on.
    std::string LogText(const uint8_t* bytes, size_t length);

    Clock& clock_;
    std::FILE* log_ = nullptr;
    // Switched from the window's thread while a job may be writing the log.
    std::atomic<bool> logTimeStamps_ = false;
    // The next byte logged starts a line: the log's first, or the one after a line end.
    bool atLineStart_ = true;
    // The last byte logged was a CR, written with an LF after it.
    bool lineFeedAdded_ = false;
    int logError_ = 0;
    bool logWriteFailed_ = false;
    LogFailureCallback logFailureCallback_;
    OutputWindow* outputWindow_ = nullptr;
};

}  // namespace brennix
