#pragma once

#include <cstdio>
#include <string>

#include "link/output_window.h"

namespace brennix::cli {

class ConsoleLineReader;

// Writes the link's echo to a stream. Raw, the bytes go out unprocessed, exactly as the log file
// receives them. For a terminal, every line end shows as a line break: an instrument echoes a
// command with a lone CR, which would otherwise let the reply overwrite the command.
class StreamOutputWindow : public OutputWindow {
  public:
    enum class Mode { kRaw, kTerminal };

    StreamOutputWindow(std::FILE* stream, Mode mode, ConsoleLineReader* reader = nullptr);

    void Append(const uint8_t* bytes, size_t length) override;
    // On a terminal, ends the last line so that the shell's prompt starts on a line of its own.
    void Finish();

  private:
    void NoteShown(char byte);

    std::FILE* stream_;
    Mode mode_;
    ConsoleLineReader* reader_;
    bool afterReturn_ = false;
    bool atLineStart_ = true;
    // The printable text shown since the last line break, for a line editor's prompt.
    std::string lineSoFar_;
    bool lineKept_ = true;
};

}  // namespace brennix::cli
