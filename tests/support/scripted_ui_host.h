#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "script/script_ui_host.h"

namespace brennix::test {

// A UiHost for tests: records every box and question, answers from queues, and pumps messages by
// advancing the clock, firing actions scheduled for a tick (a Stop press at 3 s, say).
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

    // Runs action once the clock has reached tick, during a pump.
    void At(uint32_t tick, std::function<void()> action) {
        scheduled_.emplace(tick, std::move(action));
    }
    // Presses Stop on the innermost script window at tick.
    void PressStopAt(uint32_t tick) {
        At(tick, [this] {
            if (!stopHandlers_.empty() && stopHandlers_.back())
                stopHandlers_.back()();
        });
    }

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
            if (!inputAnswers.empty())
                inputAnswers.pop_front();
            return false;
        }
        results = inputAnswers.front();
        inputAnswers.pop_front();
        return true;
    }

    void OpenScriptWindow(bool visible, std::function<void()> onStop) override {
        ++scriptWindowsOpened;
        ++scriptWindowsOpen;
        if (visible)
            ++scriptWindowsShown;
        stopHandlers_.push_back(std::move(onStop));
    }
    void CloseScriptWindow() override {
        --scriptWindowsOpen;
        if (!stopHandlers_.empty())
            stopHandlers_.pop_back();
    }

    void SetWaitCursor(bool) override {}

    void PumpMessages(uint32_t ms) override {
        pumpedMs += static_cast<int>(ms);
        clock_.Sleep(ms);
        RunDueActions();
    }

    // Fires due actions without pumping; tests call it where time advanced outside a pump.
    void RunDueActions() {
        const uint32_t now = clock_.TickCount();
        while (!scheduled_.empty() && scheduled_.begin()->first <= now) {
            auto action = std::move(scheduled_.begin()->second);
            scheduled_.erase(scheduled_.begin());
            action();
        }
    }

  private:
    Clock& clock_;
    std::multimap<uint32_t, std::function<void()>> scheduled_;
    std::vector<std::function<void()>> stopHandlers_;
};

}  // namespace brennix::test
