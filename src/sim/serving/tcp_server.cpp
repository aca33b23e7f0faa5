#include "sim/serving/tcp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/line_rates.h"

namespace brennix::sim {

namespace {

constexpr size_t kChunkSize = 4096;
constexpr int kBacklog = 4;
constexpr int kByteBits = 8;

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

uint32_t NumberOf(std::span<const uint8_t> value) {
    uint32_t number = 0;
    for (const uint8_t byte : value) {
        number = (number << kByteBits) | byte;
    }
    return number;
}

std::vector<uint8_t> BigEndian(uint32_t value) {
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

}  // namespace

TcpServer::TcpServer(HostLine& line, NetworkProtocol protocol) : line_(line), protocol_(protocol) {}

TcpServer::~TcpServer() {
    Stop();
}

bool TcpServer::Start(uint16_t port) {
    if (thread_.joinable()) {
        return true;
    }
    error_.clear();
    if (pipe(stopPipe_.data()) != 0 || !Listen(port)) {
        if (error_.empty()) {
            Fail("pipe");
        }
        Stop();
        return false;
    }
    startRate_ = line_.Line().StartRate();
    line_.Start();
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void TcpServer::Stop() {
    if (thread_.joinable()) {
        const char stop = 1;
        while (write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    DropClient();
    CloseIfOpen(listenFd_);
    CloseIfOpen(stopPipe_[0]);
    CloseIfOpen(stopPipe_[1]);
}

std::string TcpServer::Address() const {
    return NetworkPortText(protocol_, {protocol_, "127.0.0.1", port_});
}

bool TcpServer::Listen(uint16_t port) {
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        return Fail("socket");
    }
    const int reuse = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return Fail("port " + std::to_string(port));
    }
    socklen_t length = sizeof address;
    if (listen(listenFd_, kBacklog) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return Fail("listen");
    }
    port_ = ntohs(address.sin_port);
    return true;
}

bool TcpServer::Fail(const std::string& what) {
    error_ = what + ": " + std::strerror(errno);
    return false;
}

void TcpServer::Serve() {
    for (;;) {
        if (outgoing_.empty()) {
            TakeDueOutput();
        }
        std::optional<timespec> timeout;
        if (outgoing_.empty()) {
            timeout = line_.UntilNextOutput();
        }
        const short clientEvents = static_cast<short>(POLLIN | (outgoing_.empty() ? 0 : POLLOUT));
        pollfd fds[3] = {
            {stopPipe_[0], POLLIN, 0}, {listenFd_, POLLIN, 0}, {clientFd_, clientEvents, 0}};
        if (ppoll(fds, clientFd_ >= 0 ? 3 : 2, timeout ? &*timeout : nullptr, nullptr) < 0 &&
            errno != EINTR) {
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            Accept();
        } else if ((fds[2].revents & (POLLERR | POLLNVAL)) != 0) {
            DropClient();
        } else if ((fds[2].revents & (POLLIN | POLLHUP)) != 0) {
            TakeInput();
        }
        if (clientFd_ >= 0 && (fds[2].revents & POLLOUT) != 0) {
            FlushOutput();
        }
    }
}

// With no client connected, what the instruments send is lost, as on an unwatched line.
void TcpServer::TakeDueOutput() {
    const std::string due = line_.TakeDue();
    if (due.empty() || clientFd_ < 0) {
        return;
    }
    if (transcript_ != nullptr) {
        transcript_->InstrumentSent(reinterpret_cast<const uint8_t*>(due.data()), due.size());
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(due.data());
    if (telnet_ != nullptr) {
        telnet_->SendData({bytes, due.size()});
    } else {
        outgoing_ = due;
    }
}

void TcpServer::Accept() {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    DropClient();
    clientFd_ = fd;
    const int noDelay = 1;
    setsockopt(clientFd_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    SetRate(startRate_);
    if (protocol_ == NetworkProtocol::kRfc2217) {
        TelnetChannel::Handler& handler = *this;
        telnet_ = TelnetChannel::Make(TelnetChannel::Role::kServer, handler);
        telnet_->Start();
    }
}

void TcpServer::DropClient() {
    CloseIfOpen(clientFd_);
    telnet_.reset();
    outgoing_.clear();
}

void TcpServer::TakeInput() {
    uint8_t buffer[kChunkSize];
    const ssize_t count = recv(clientFd_, buffer, sizeof buffer, 0);
    if (count <= 0) {
        if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
            DropClient();
        }
        return;
    }
    const std::span<const uint8_t> bytes(buffer, static_cast<size_t>(count));
    if (telnet_ != nullptr) {
        telnet_->Receive(bytes);
    } else {
        OnData(bytes);
    }
}

void TcpServer::FlushOutput() {
    const ssize_t sent = send(clientFd_, outgoing_.data(), outgoing_.size(), MSG_NOSIGNAL);
    if (sent > 0) {
        outgoing_.erase(0, static_cast<size_t>(sent));
    } else if (sent < 0 && errno != EAGAIN && errno != EINTR) {
        DropClient();
    }
}

void TcpServer::SetRate(uint32_t rate) {
    rate_ = rate;
    line_.Line().HostSetBaudRate(rate);
    if (transcript_ != nullptr) {
        transcript_->RateSet(rate);
    }
}

void TcpServer::OnData(std::span<const uint8_t> data) {
    if (transcript_ != nullptr) {
        transcript_->HostWrote(data.data(), data.size());
    }
    line_.Write(data.data(), data.size());
}

void TcpServer::OnSend(std::span<const uint8_t> bytes) {
    outgoing_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void TcpServer::OnComPort(uint8_t command, std::span<const uint8_t> value) {
    if (command >= rfc2217::kServerAnswer) {
        return;
    }
    telnet_->SendComPort(static_cast<uint8_t>(command + rfc2217::kServerAnswer),
                         Apply(command, value));
}

// A rate the instruments do not know is refused: the answer names the rate that stays.
std::vector<uint8_t> TcpServer::Apply(uint8_t command, std::span<const uint8_t> value) {
    const uint32_t asked = NumberOf(value);
    const auto byteSetting = [asked](uint8_t& setting, uint32_t lowest, uint32_t highest) {
        if (asked >= lowest && asked <= highest) {
            setting = static_cast<uint8_t>(asked);
        }
        return std::vector<uint8_t>{setting};
    };
    switch (command) {
        case rfc2217::kSetBaudRate:
            if (asked != 0 && IsLineRate(asked)) {
                SetRate(asked);
            }
            return BigEndian(rate_);
        case rfc2217::kSetDataSize:
            return byteSetting(dataSize_, 5, 8);
        case rfc2217::kSetParity:
            return byteSetting(parity_, 1, 5);
        case rfc2217::kSetStopSize:
            return byteSetting(stopSize_, 1, 3);
        case rfc2217::kSetControl:
            if (asked == rfc2217::kBreakOn || asked == rfc2217::kBreakOff) {
                line_.Line().HostBreak(asked == rfc2217::kBreakOn, line_.Now().tick);
            }
            return {value.begin(), value.end()};
        default:
            return {value.begin(), value.end()};
    }
}

}  // namespace brennix::sim
