#pragma once

#include "platform/clock.h"
#include "platform/ui_host.h"
#include "recorder/recorder_job_listener.h"

namespace brennix {

// The UiHost of a recorder job's own instrument object: its boxes (the SDI-12 question, "FAIL TO
// LOCATE PROMPT") go to the job's listener like the job's own. A job has no input dialog, runs no
// script and shows no wait cursor; pumping only waits.
class ListenerUiHost : public UiHost {
  public:
    ListenerUiHost(RecorderJobListener& listener, Clock& clock)
        : listener_(listener), clock_(clock) {}

    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override {
        return listener_.ShowMessage(text, caption, buttons, icon);
    }
    void SetWaitCursor(bool) override {}
    void PumpMessages(uint32_t ms) override { clock_.Sleep(ms); }

  private:
    RecorderJobListener& listener_;
    Clock& clock_;
};

}  // namespace brennix
