#include "child_process.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace brennix::test {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(10);

// An unnamed file that is gone once its last descriptor closes.
int AnonymousFile(const std::string& contents = {}) {
    const int fd = memfd_create("brennix-test", 0);
    [[maybe_unused]] const ssize_t written = pwrite(fd, contents.data(), contents.size(), 0);
    return fd;
}

// Calls done() every poll interval until it holds or timeoutMs has passed.
template <typename Done>
bool WaitUntil(int timeoutMs, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& command, const std::string& input)
    : stdout_(AnonymousFile()), stderr_(AnonymousFile()) {
    const int inputFile = AnonymousFile(input);
    pid_ = fork();
    if (pid_ == 0) {
        dup2(inputFile, STDIN_FILENO);
        dup2(stdout_, STDOUT_FILENO);
        dup2(stderr_, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& part : command) {
            argv.push_back(const_cast<char*>(part.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(inputFile);
}

void ChildProcess::Signal(int number) {
    kill(pid_, number);
}

ChildProcess::~ChildProcess() {
    Wait(0);
    close(stdout_);
    close(stderr_);
}

std::string ChildProcess::FirstLine(int timeoutMs) const {
    std::string output;
    WaitUntil(timeoutMs, [&] { return (output = Output()).find('\n') != std::string::npos; });
    const size_t end = output.find('\n');
    return end == std::string::npos ? std::string() : output.substr(0, end);
}

bool ChildProcess::Shows(const std::string& text, int timeoutMs) const {
    return WaitUntil(timeoutMs,
                     [&] { return (Output() + Errors()).find(text) != std::string::npos; });
}

int ChildProcess::Wait(int timeoutMs) {
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    rusage usage{};
    const bool ended =
        WaitUntil(timeoutMs, [&] { return wait4(pid_, &status, WNOHANG, &usage) == pid_; });
    cpuSeconds_ = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ChildProcess::Contents(int fd) {
    std::string contents;
    char chunk[4096];
    for (ssize_t count; (count = pread(fd, chunk, sizeof chunk, contents.size())) > 0;) {
        contents.append(chunk, static_cast<size_t>(count));
    }
    return contents;
}

}  // namespace brennix::test
