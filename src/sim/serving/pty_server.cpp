#include "sim/serving/pty_server.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "sim/serving/baud_rates.h"

namespace brennix::sim {

namespace {

constexpr size_t kChunkSize = 4096;

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

PtyServer::PtyServer(HostLine& line) : line_(line) {}

PtyServer::~PtyServer() {
    Stop();
}

bool PtyServer::Start() {
    if (thread_.joinable()) {
        return true;
    }
    error_.clear();
    if (!OpenPseudoTerminal()) {
        CloseDescriptors();
        return false;
    }
    line_.Start();
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void PtyServer::Stop() {
    if (thread_.joinable()) {
        const char stop = 1;
        while (write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    CloseDescriptors();
}

const std::string& PtyServer::SlavePath() const {
    return slavePath_;
}

const std::string& PtyServer::Error() const {
    return error_;
}

bool PtyServer::OpenPseudoTerminal() {
    if (pipe(stopPipe_.data()) != 0) {
        return Fail("pipe");
    }
    masterFd_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd_ < 0) {
        return Fail("posix_openpt");
    }
    if (grantpt(masterFd_) != 0 || unlockpt(masterFd_) != 0) {
        return Fail("grantpt/unlockpt");
    }
    const char* name = ptsname(masterFd_);
    if (name == nullptr) {
        return Fail("ptsname");
    }
    slavePath_ = name;
    slaveFd_ = open(name, O_RDWR | O_NOCTTY);
    if (slaveFd_ < 0) {
        return Fail("open " + slavePath_);
    }
    termios mode{};
    if (tcgetattr(slaveFd_, &mode) != 0) {
        return Fail("tcgetattr");
    }
    cfmakeraw(&mode);
    const speed_t speed = SpeedCodeOf(line_.Line().StartRate()).value_or(B9600);
    cfsetispeed(&mode, speed);
    cfsetospeed(&mode, speed);
    if (tcsetattr(slaveFd_, TCSANOW, &mode) != 0) {
        return Fail("tcsetattr");
    }
    const int flags = fcntl(masterFd_, F_GETFL);
    if (flags < 0 || fcntl(masterFd_, F_SETFL, flags | O_NONBLOCK) != 0) {
        return Fail("fcntl");
    }
    return true;
}

bool PtyServer::Fail(const std::string& what) {
    error_ = what + ": " + std::strerror(errno);
    return false;
}

void PtyServer::CloseDescriptors() {
    CloseIfOpen(masterFd_);
    CloseIfOpen(slaveFd_);
    CloseIfOpen(stopPipe_[0]);
    CloseIfOpen(stopPipe_[1]);
}

void PtyServer::Serve() {
    for (;;) {
        if (pendingOutput_.empty()) {
            pendingOutput_ = line_.TakeDue();
            if (transcript_ != nullptr) {
                transcript_->InstrumentSent(reinterpret_cast<const uint8_t*>(pendingOutput_.data()),
                                            pendingOutput_.size());
            }
        }
        std::optional<timespec> timeout;
        if (pendingOutput_.empty()) {
            timeout = line_.UntilNextOutput();
        }
        const short outputEvents = pendingOutput_.empty() ? 0 : POLLOUT;
        pollfd fds[2] = {{masterFd_, static_cast<short>(POLLIN | outputEvents), 0},
                         {stopPipe_[0], POLLIN, 0}};
        if (ppoll(fds, 2, timeout ? &*timeout : nullptr, nullptr) < 0 && errno != EINTR) {
            return;
        }
        // With our own slave descriptor open the master never hangs up; an error is final.
        if (fds[1].revents != 0 || (fds[0].revents & (POLLERR | POLLNVAL)) != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            TakeInput();
        }
        if ((fds[0].revents & POLLOUT) != 0) {
            FlushOutput();
        }
    }
}

void PtyServer::TakeInput() {
    uint8_t buffer[kChunkSize];
    const ssize_t count = read(masterFd_, buffer, sizeof buffer);
    if (count <= 0) {
        return;
    }
    // The program sets its rate on its end of the pair; the master reports that end's settings.
    termios mode{};
    if (tcgetattr(masterFd_, &mode) == 0) {
        if (const std::optional<uint32_t> rate = BaudRateOf(cfgetospeed(&mode))) {
            line_.Line().HostSetBaudRate(*rate);
            if (transcript_ != nullptr && *rate != transcriptRate_) {
                transcript_->RateSet(*rate);
                transcriptRate_ = *rate;
            }
        }
    }
    if (transcript_ != nullptr) {
        transcript_->HostWrote(buffer, static_cast<size_t>(count));
    }
    line_.Write(buffer, static_cast<size_t>(count));
}

void PtyServer::FlushOutput() {
    const ssize_t written = write(masterFd_, pendingOutput_.data(), pendingOutput_.size());
    if (written > 0) {
        pendingOutput_.erase(0, static_cast<size_t>(written));
    }
}

}  // namespace brennix::sim
