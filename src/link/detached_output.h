#pragma once

#include "link/output_window.h"
#include "link/serial_link.h"

namespace brennix {

// Detaches the output window from the link for the life of the object, so that an exchange
// reaches only the log file, and gives the window back afterwards.
class DetachedOutput {
  public:
    explicit DetachedOutput(CSerialLink& link)
        : tap_(link.Tap()), window_(tap_.SetOutputWindow(nullptr)) {}
    ~DetachedOutput() { tap_.SetOutputWindow(window_); }
    DetachedOutput(const DetachedOutput&) = delete;
    DetachedOutput& operator=(const DetachedOutput&) = delete;

  private:
    TrafficTap& tap_;
    OutputWindow* window_;
};

}  // namespace brennix
