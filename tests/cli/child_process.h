#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace brennix::test {

// A program run with its stdin read from a given text and its stdout and stderr kept in
// anonymous files; killed when destroyed, so no test outlives its children.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& command, const std::string& input = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The first line of stdout, once it is complete; empty if none came within timeoutMs.
    std::string FirstLine(int timeoutMs) const;
    // Whether text showed on stdout or stderr within timeoutMs.
    bool Shows(const std::string& text, int timeoutMs) const;
    // The exit status, or -1 when the program had to be killed after timeoutMs.
    int Wait(int timeoutMs);
    // Ctrl-C (SIGINT), a closed terminal (SIGHUP), a kill (SIGTERM).
    void Signal(int number);
    // The processor time the program used, once Wait saw it end.
    double CpuSeconds() const { return cpuSeconds_; }
    std::string Output() const { return Contents(stdout_); }
    std::string Errors() const { return Contents(stderr_); }

  private:
    static std::string Contents(int fd);

    pid_t pid_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    double cpuSeconds_ = 0;
};

}  // namespace brennix::test
