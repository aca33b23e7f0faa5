#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace brennix::test {

// A program started with its stdin, stdout and stderr on pipes; killed when destroyed.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& command);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    void WriteInput(const std::string& text);
    void CloseInput();
    // One line of stdout (without its line end), waiting at most timeoutMs.
    bool ReadOutputLine(std::string& line, int timeoutMs);
    // Waits for the end (at most timeoutMs, then kills) and collects what is left of the output.
    int Wait(int timeoutMs);
    const std::string& Output() const { return output_; }
    const std::string& Errors() const { return errors_; }

  private:
    bool Drain(int timeoutMs);

    pid_t pid_ = -1;
    int input_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    std::string output_;
    std::string errors_;
    size_t lineStart_ = 0;
};

}  // namespace brennix::test
