#include "cli/console_ui_host.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace brennix::cli {
namespace {

constexpr const char* kApplicationTitle = "Brennix";

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool SameText(const std::string& a, const std::string& b) {
    return Lowered(a) == Lowered(b);
}

const std::string& Argument(const InputRow& row, size_t index) {
    static const std::string kEmpty;
    return index < row.arguments.size() ? row.arguments[index] : kEmpty;
}

}  // namespace

ConsoleUiHost::ConsoleUiHost(Clock& clock, ConsoleLineReader& input, std::FILE* prompts)
    : clock_(clock), input_(input), prompts_(prompts) {}

MessageResult ConsoleUiHost::ShowMessage(const std::string& text, const std::string& caption,
                                         MessageButtons buttons, MessageIcon) {
    std::fprintf(prompts_, "\n[%s] %s\n", caption.empty() ? kApplicationTitle : caption.c_str(),
                 text.c_str());
    switch (buttons) {
        case MessageButtons::kOk:
            std::fflush(prompts_);
            return MessageResult::kOk;
        case MessageButtons::kOkCancel:
            return AskButton("OK or Cancel? [O/c] ", buttons,
                             {MessageResult::kOk, MessageResult::kCancel});
        case MessageButtons::kYesNo:
            return AskButton("Yes or No? [Y/n] ", buttons,
                             {MessageResult::kYes, MessageResult::kNo});
    }
    return MessageResult::kCancel;
}

// A button by its first letter; Enter alone takes the default, as in the window. An input that
// has ended takes the second, so nothing is agreed to unasked.
MessageResult ConsoleUiHost::AskButton(const std::string& question, MessageButtons buttons,
                                       std::pair<MessageResult, MessageResult> choices) {
    std::string answer;
    if (!AskLine(question, answer)) {
        return choices.second;
    }
    if (answer.empty()) {
        return DefaultButton(buttons);
    }
    const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(question[0])));
    return Lowered(answer).starts_with(first) ? choices.first : choices.second;
}

bool ConsoleUiHost::AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) {
    std::vector<std::string> answers;
    for (const InputRow& row : rows) {
        std::string answer;
        if (!AskRow(row, answer)) {
            std::fprintf(prompts_, "(input cancelled)\n");
            return false;
        }
        answers.push_back(std::move(answer));
    }
    results = std::move(answers);
    return true;
}

bool ConsoleUiHost::AskRow(const InputRow& row, std::string& result) {
    switch (row.kind) {
        case InputKind::kInput: {
            const std::string& defaultValue = Argument(row, 1);
            if (!AskLine(Argument(row, 0) + " [" + defaultValue + "]: ", result)) {
                return false;
            }
            if (result.empty()) {
                result = defaultValue;
            }
            return true;
        }
        case InputKind::kSelect:
            return AskSelect(row, result);
        case InputKind::kCheck:
            return AskCheck(row, result);
    }
    return false;
}

bool ConsoleUiHost::AskSelect(const InputRow& row, std::string& result) {
    const size_t optionCount = std::max<size_t>(row.arguments.size(), 2) - 1;
    std::fprintf(prompts_, "%s\n", Argument(row, 0).c_str());
    for (size_t option = 1; option <= optionCount; ++option) {
        std::fprintf(prompts_, "  %zu) %s\n", option, Argument(row, option).c_str());
    }
    for (;;) {
        std::string answer;
        if (!AskLine("choice [1]: ", answer)) {
            return false;
        }
        const size_t chosen = answer.empty() ? 1 : std::strtoul(answer.c_str(), nullptr, 10);
        if (chosen >= 1 && chosen <= optionCount) {
            result = Argument(row, chosen);
            return true;
        }
        for (size_t option = 1; option <= optionCount; ++option) {
            if (SameText(answer, Argument(row, option))) {
                result = Argument(row, option);
                return true;
            }
        }
        std::fprintf(prompts_, "Please answer with a number from 1 to %zu.\n", optionCount);
    }
}

bool ConsoleUiHost::AskCheck(const InputRow& row, std::string& result) {
    const bool checked = SameText(Argument(row, 1), Argument(row, 2));
    std::string answer;
    const std::string question = Argument(row, 0) + " [" + (checked ? "Y/n" : "y/N") + "]: ";
    if (!AskLine(question, answer)) {
        return false;
    }
    const bool check = answer.empty() ? checked : Lowered(answer).starts_with("y");
    result = check ? Argument(row, 2) : Argument(row, 3);
    return true;
}

bool ConsoleUiHost::AskLine(const std::string& question, std::string& answer) {
    std::fputs(question.c_str(), prompts_);
    std::fflush(prompts_);
    // A line editor keeps the question in front of the answer when it redraws the line.
    input_.OutputShown(question);
    for (;;) {
        switch (input_.ReadLine(answer, 500)) {
            case ConsoleLineReader::Result::kLine:
                return true;
            case ConsoleLineReader::Result::kEnd:
                return false;
            case ConsoleLineReader::Result::kTimeout:
                if (interrupted_) {
                    return false;
                }
                break;
        }
    }
}

void ConsoleUiHost::OpenScriptWindow(bool, std::function<void()> onStop) {
    stopHandlers_.push_back(std::move(onStop));
}

void ConsoleUiHost::CloseScriptWindow() {
    if (!stopHandlers_.empty()) {
        stopHandlers_.pop_back();
    }
}

ReplaceAnswer ConsoleUiHost::AskReplace(const std::string& question) {
    std::string answer;
    if (!AskLine(question + " [y/n/a(ll)] ", answer)) {
        return ReplaceAnswer::kNo;
    }
    const std::string lowered = Lowered(answer);
    if (lowered.starts_with("a")) {
        return ReplaceAnswer::kYesToAll;
    }
    return lowered.starts_with("y") ? ReplaceAnswer::kYes : ReplaceAnswer::kNo;
}

void ConsoleUiHost::PumpMessages(uint32_t ms) {
    DeliverInterrupt();
    clock_.Sleep(ms);
    DeliverInterrupt();
}

ConsoleUiHost::InterruptMeaning ConsoleUiHost::TakeInterrupt(int64_t nowNs) {
    constexpr int64_t kDeliberateSecondNs = 1'000'000'000;
    if (!interrupted_) {
        interruptedAtNs_ = nowNs;
        interrupted_ = true;
        return InterruptMeaning::kStop;
    }
    return nowNs - interruptedAtNs_ < kDeliberateSecondNs ? InterruptMeaning::kRepeated
                                                          : InterruptMeaning::kEndNow;
}

void ConsoleUiHost::DeliverInterrupt() {
    if (!interrupted_.exchange(false)) {
        return;
    }
    if (!stopHandlers_.empty() && stopHandlers_.back()) {
        stopHandlers_.back()();
    } else if (interruptHandler_) {
        interruptHandler_();
    }
}

}  // namespace brennix::cli
