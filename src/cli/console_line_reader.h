#pragma once

#include <cstdint>
#include <string>

namespace brennix::cli {

// Reads lines from a file descriptor with a time-out, so one loop can wait for typed commands and
// poll the port at once. Both the terminal loop and the console's questions read through it.
class ConsoleLineReader {
  public:
    enum class Result { kLine, kTimeout, kEnd };

    explicit ConsoleLineReader(int fd) : fd_(fd) {}
    virtual ~ConsoleLineReader() = default;
    ConsoleLineReader(const ConsoleLineReader&) = delete;
    ConsoleLineReader& operator=(const ConsoleLineReader&) = delete;

    // Waits at most timeoutMs for a whole line (without its line end). The last line of the input
    // counts even without a line end.
    virtual Result ReadLine(std::string& line, uint32_t timeoutMs);
    virtual bool AtEnd() const { return ended_ && pending_.empty(); }
    // Something else was written to the console, perhaps across a half-typed line; the text of
    // its last, unfinished line (the instrument's prompt, say) now stands before the cursor.
    virtual void OutputShown(const std::string& /*lineSoFar*/) {}
    // The line just read was typed at a terminal and goes to an instrument, which echoes it: the
    // typed copy is taken off the screen so that the line shows once.
    virtual void TakeBackTypedLine() {}

  protected:
    int Descriptor() const { return fd_; }

  private:
    bool TakeLine(std::string& line);
    bool Fill(uint32_t timeoutMs);

    int fd_;
    std::string pending_;
    bool ended_ = false;
};

}  // namespace brennix::cli
