#pragma once

#include <cstdio>
#include <string>

#include "link/output_window.h"

namespace brennix::cli {

class ConsoleLineReader;

// Writes the link's echo to a stream. Every line end shows as a line break: an instrument echoes a
// command with a lone CR, which would otherwise let the reply overwrite the command. A terminal
// gets CR LF (a line editor may hold it in its raw mode); a file or a pipe gets "\n", as text
// files and the programs reading them expect. The log file keeps the bytes as they came.
class StreamOutputWindow : public OutputWindow {
  public:
    enum class Mode { kLines, kTerminal };

    StreamOutputWindow(std::FILE* stream, Mode mode, ConsoleLineReader* reader = nullptr);

    void Append(const uint8_t* bytes, size_t length) override;
    // Ends the last line, so that the shell's prompt or the next text starts on a line of its own.
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
