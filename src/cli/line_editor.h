#pragma once

#include <string>

#include "cli/console_line_reader.h"

namespace brennix::cli {

// The console's line reader when a person types at a terminal: line editing, the arrow keys and
// a history of the session's lines, through libedit's readline-compatible calls. Characters are
// taken one at a time as they arrive, so the port is polled while a line is being typed.
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

}  // namespace brennix::cli
