#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "cli/console_line_reader.h"
#include "platform/clock.h"
#include "recorder/recorder_listener.h"
#include "script/script_ui_host.h"

namespace brennix::cli {

// The console runner's UiHost: boxes and questions are written to stderr and answered with typed
// lines; Ctrl-C (through RequestInterrupt) presses Stop on the running script.
class ConsoleUiHost : public ScriptUiHost {
  public:
    ConsoleUiHost(Clock& clock, ConsoleLineReader& input, std::FILE* prompts);

    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) override;
    void OpenScriptWindow(bool visible, std::function<void()> onStop) override;
    void CloseScriptWindow() override;
    void SetWaitCursor(bool) override {}
    void PumpMessages(uint32_t ms) override;
    // The recorder's question whether to replace a file, with the answer keys after it: yes, no
    // or all.
    ReplaceAnswer AskReplace(const std::string& question);

    // Called when no script window is open and an interrupt arrives (quiet runs have none).
    void SetInterruptHandler(std::function<void()> handler) {
        interruptHandler_ = std::move(handler);
    }
    // What a Ctrl-C at nowNs (a monotonic time) means. Safe in a signal handler: it only sets a
    // flag, acted on at the next pump. The same signal often comes twice at once (sent to the
    // program and to its group, as `timeout` does, or a key bounce): only one a second or more
    // after the first, still not acted on, asks to end the program at once.
    enum class InterruptMeaning { kStop, kRepeated, kEndNow };
    InterruptMeaning TakeInterrupt(int64_t nowNs);
    void DeliverInterrupt();

  private:
    MessageResult AskButton(const std::string& question, MessageButtons buttons,
                            std::pair<MessageResult, MessageResult> choices);
    bool AskLine(const std::string& question, std::string& answer);
    bool AskRow(const InputRow& row, std::string& result);
    bool AskSelect(const InputRow& row, std::string& result);
    bool AskCheck(const InputRow& row, std::string& result);

    Clock& clock_;
    ConsoleLineReader& input_;
    std::FILE* prompts_;
    std::vector<std::function<void()>> stopHandlers_;
    std::function<void()> interruptHandler_;
    std::atomic<bool> interrupted_ = false;
    std::atomic<int64_t> interruptedAtNs_ = 0;
};

}  // namespace brennix::cli
