#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "link/output_window.h"

namespace brennix {

// Where the link's traffic and status lines go besides the port: the log file and the output
// window (the terminal's pane, or none while a dialog keeps its exchange to itself).
class TrafficTap {
  public:
    // Hears the system's reason when writing the open log fails (a full disk, a device that went
    // away); called once for each log, which is incomplete from then on.
    using LogFailureCallback = std::function<void(const std::string& reason)>;

    TrafficTap() = default;
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
    // Returns the window shown into until now.
    OutputWindow* SetOutputWindow(OutputWindow* window);

    // Bytes as they passed the port, and the link's own status lines.
    void Show(const uint8_t* bytes, size_t length);
    void Print(const std::string& text);

  private:
    void WriteLog(const uint8_t* bytes, size_t length);

    std::FILE* log_ = nullptr;
    int logError_ = 0;
    bool logWriteFailed_ = false;
    LogFailureCallback logFailureCallback_;
    OutputWindow* outputWindow_ = nullptr;
};

}  // namespace brennix
