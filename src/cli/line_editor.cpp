#include "cli/line_editor.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include <editline/readline.h>

#include "platform/console_input.h"
#include "platform/deadline.h"

namespace brennix::cli {

namespace {

// Line editing through libedit's readline-compatible calls. Characters are taken one at a time as
// they arrive, so the port is polled while a line is being typed.
class LineEditor : public ConsoleLineReader {
  public:
    explicit LineEditor(int fd);
    ~LineEditor() override;

    Result ReadLine(std::string& line, uint32_t timeoutMs) override;
    bool AtEnd() const override { return ended_; }
    // Takes the unfinished output line as the editor's prompt, so that redrawing the line being
    // edited (a history entry brought back, say) keeps the instrument's prompt in front of it;
    // a half-typed line is drawn again below what was written across it.
    void OutputShown(const std::string& lineSoFar) override;
    // Moves back up over the line just entered and clears it, leaving the cursor after the
    // instrument's prompt it was typed at.
    void TakeBackTypedLine() override;

  private:
    static void TakeLine(char* line);
    void Install();

    std::string prompt_;
    // The prompt the last line was typed at.
    std::string enteredAt_;
    bool installed_ = false;
    bool ended_ = false;
};

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

std::unique_ptr<ConsoleLineReader> MakeLineEditor(int fd) {
    return std::make_unique<LineEditor>(fd);
}

}  // namespace brennix::cli
