#include "child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace brennix::test {
namespace {

int ElapsedMs(std::chrono::steady_clock::time_point since) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - since)
                                .count());
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& command) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) {
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            close(fd);
        std::vector<char*> argv;
        for (const std::string& part : command)
            argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    input_ = in[1];
    stdout_ = out[0];
    stderr_ = err[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (int fd : {input_, stdout_, stderr_}) {
        if (fd >= 0)
            close(fd);
    }
}

void ChildProcess::WriteInput(const std::string& text) {
    if (input_ >= 0) {
        [[maybe_unused]] const ssize_t written = write(input_, text.data(), text.size());
    }
}

void ChildProcess::CloseInput() {
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
}

bool ChildProcess::ReadOutputLine(std::string& line, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const size_t end = output_.find('\n', lineStart_);
        if (end != std::string::npos) {
            line = output_.substr(lineStart_, end - lineStart_);
            lineStart_ = end + 1;
            return true;
        }
        const int left = timeoutMs - ElapsedMs(start);
        if (left <= 0 || !Drain(left)) {
            return false;
        }
    }
}

int ChildProcess::Wait(int timeoutMs) {
    CloseInput();
    const auto start = std::chrono::steady_clock::now();
    while (ElapsedMs(start) < timeoutMs && Drain(timeoutMs - ElapsedMs(start))) {
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads what either stream has; false once both have ended or nothing came in time.
bool ChildProcess::Drain(int timeoutMs) {
    pollfd streams[2] = {{stdout_, POLLIN, 0}, {stderr_, POLLIN, 0}};
    if (stdout_ < 0 && stderr_ < 0)
        return false;
    if (poll(streams, 2, timeoutMs) <= 0)
        return false;
    bool gotAny = false;
    for (auto [fd, target] : {std::pair{&stdout_, &output_}, std::pair{&stderr_, &errors_}}) {
        pollfd& watched = fd == &stdout_ ? streams[0] : streams[1];
        if (*fd < 0 || !(watched.revents & (POLLIN | POLLHUP)))
            continue;
        char chunk[4096];
        const ssize_t count = read(*fd, chunk, sizeof chunk);
        if (count > 0) {
            target->append(chunk, static_cast<size_t>(count));
            gotAny = true;
        } else {
            close(*fd);
            *fd = -1;
            gotAny = gotAny || stdout_ >= 0 || stderr_ >= 0;
        }
    }
    return gotAny;
}

}  // namespace brennix::test
