#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "script/script_ui_host.h"

namespace brennix::test {

// A UiHost for tests: records every box and question, answers from queues, and pumps messages by
// advancing the clock, pressing Stop when asked to at a tick.
class ScriptedUiHost : public ScriptUiHost {
  public:
    struct Message {
        std::string text;
        std::string caption;
        MessageButtons buttons;
        MessageIcon icon;
    };
    struct Input {
        std::vector<InputRow> rows;
    };

    explicit ScriptedUiHost(Clock& clock) : clock_(clock) {}

    // Answers, taken in order; when a queue is empty: OK/Yes, input cancelled.
    std::deque<MessageResult> messageAnswers;
    std::deque<std::vector<std::string>> inputAnswers;  // an empty vector means Cancel

    std::vector<Message> messages;
    std::vector<Input> inputs;
    int scriptWindowsOpened = 0;
    int scriptWindowsShown = 0;
    int scriptWindowsOpen = 0;
    int pumpedMs = 0;

    // Presses Stop on the innermost script window during the first pump that reaches tick.
    void PressStopAt(uint32_t tick) { stopAt_ = tick; }

    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override {
        messages.push_back({text, caption, buttons, icon});
        if (!messageAnswers.empty()) {
            const MessageResult answer = messageAnswers.front();
            messageAnswers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::kYesNo ? MessageResult::kYes : MessageResult::kOk;
    }

    bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) override {
        inputs.push_back({rows});
        if (inputAnswers.empty() || inputAnswers.front().empty()) {
            if (!inputAnswers.empty()) {
                inputAnswers.pop_front();
            }
            return false;
        }
        results = inputAnswers.front();
        inputAnswers.pop_front();
        return true;
    }

    void OpenScriptWindow(bool visible, std::function<void()> onStop) override {
        ++scriptWindowsOpened;
        ++scriptWindowsOpen;
        if (visible) {
            ++scriptWindowsShown;
        }
        stopHandlers_.push_back(std::move(onStop));
    }
    void CloseScriptWindow() override {
        --scriptWindowsOpen;
        if (!stopHandlers_.empty()) {
            stopHandlers_.pop_back();
        }
    }

    void SetWaitCursor(bool) override {}

    void PumpMessages(uint32_t ms) override {
        pumpedMs += static_cast<int>(ms);
        clock_.Sleep(ms);
        if (stopAt_ && clock_.TickCount() >= *stopAt_) {
            stopAt_.reset();
            if (!stopHandlers_.empty() && stopHandlers_.back()) {
                stopHandlers_.back()();
            }
        }
    }

  private:
    Clock& clock_;
    std::optional<uint32_t> stopAt_;
    std::vector<std::function<void()>> stopHandlers_;
};

}  // namespace brennix::test
