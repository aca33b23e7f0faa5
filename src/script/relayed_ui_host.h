#pragma once

#include "platform/clock.h"
#include "platform/job_relay.h"
#include "script/script_ui_host.h"

namespace brennix {

// The UiHost a worker uses: every question (message boxes, input) and the script-running window
// are the owner's host's, on the owner's thread through the relay, and waited for; its Stop
// reaches the worker's engine, which reads it from any thread. A worker shows no wait cursor of
// its own; pumping only waits on the clock.
class RelayedUiHost : public ScriptUiHost {
  public:
    RelayedUiHost(ScriptUiHost& owner, JobRelay& relay, Clock& clock)
        : owner_(owner), relay_(relay), clock_(clock) {}

    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) override;
    void OpenScriptWindow(bool visible, std::function<void()> onStop) override;
    void CloseScriptWindow() override;
    void SetWaitCursor(bool) override {}
    void PumpMessages(uint32_t ms) override { clock_.Sleep(ms); }

  private:
    ScriptUiHost& owner_;
    JobRelay& relay_;
    Clock& clock_;
};

}  // namespace brennix
