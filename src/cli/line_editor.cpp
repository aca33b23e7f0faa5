#include "cli/line_editor.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include <editline/readline.h>

#include "platform/console_input.h"
#include "platform/deadline.h"

namespace brennix::cli {

namespace {

// The one editor's state for libedit's plain-function callback.
std::optional<std::string> completedLine;
bool inputEnded = false;

}  // namespace

LineEditor::LineEditor(int fd) : ConsoleLineReader(fd) {
    // The mode before libedit changes it, put back when the program ends.
    KeepConsoleMode(fd);
    // Ctrl-C stays ours: it stops the running script.
    rl_catch_signals = 0;
}

LineEditor::~LineEditor() {
    if (installed_) {
        rl_callback_handler_remove();
    }
    RestoreConsoleMode();
}

void LineEditor::TakeLine(char* line) {
    if (line == nullptr) {
        inputEnded = true;
        return;
    }
    if (*line != '\0') {
        add_history(line);
    }
    completedLine = line;
    std::free(line);
}

// libedit leaves character-at-a-time mode after each line; installing again brings it back, so a
// half-typed line never blocks the loop that polls the port.
void LineEditor::Install() {
    if (installed_) {
        rl_callback_handler_remove();
    }
    // Installing draws its prompt; what stands before the cursor is on the screen already.
    rl_callback_handler_install("", &LineEditor::TakeLine);
    rl_set_prompt(prompt_.c_str());
    installed_ = true;
}

ConsoleLineReader::Result LineEditor::ReadLine(std::string& line, uint32_t timeoutMs) {
    if (ended_) {
        return Result::kEnd;
    }
    if (!installed_) {
        Install();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        const ConsoleWait wait = WaitForConsoleInput(Descriptor(), RemainingMs(deadline));
        if (wait == ConsoleWait::kTimeout) {
            continue;
        }
        if (wait == ConsoleWait::kEnded) {
            inputEnded = true;
        } else {
            rl_callback_read_char();
        }
        if (inputEnded) {
            ended_ = true;
            return Result::kEnd;
        }
        if (completedLine) {
            line = std::move(*completedLine);
            completedLine.reset();
            // Enter moved the cursor to a new line, with nothing in front of it yet.
            enteredAt_ = std::exchange(prompt_, {});
            Install();
            return Result::kLine;
        }
    } while (RemainingMs(deadline) > 0);
    return Result::kTimeout;
}

void LineEditor::TakeBackTypedLine() {
    std::FILE* out = rl_outstream != nullptr ? rl_outstream : stdout;
    // Up one line, to its start, cleared; then the prompt the line was typed at.
    std::fprintf(out, "\x1b[A\r\x1b[K%s", enteredAt_.c_str());
    std::fflush(out);
    prompt_ = enteredAt_;
    rl_set_prompt(prompt_.c_str());
}

void LineEditor::OutputShown(const std::string& lineSoFar) {
    prompt_ = lineSoFar;
    if (!installed_) {
        return;
    }
    rl_set_prompt(prompt_.c_str());
    if (rl_end > 0) {
        std::fputs("\r", rl_outstream != nullptr ? rl_outstream : stdout);
        rl_forced_update_display();
    }
}

}  // namespace brennix::cli
