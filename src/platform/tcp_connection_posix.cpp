#include "platform/tcp_connection.h"

#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace brennix {

namespace {

constexpr size_t kReceiveChunk = 16384;
// A server that vanishes without closing (its power cut) is noticed within about half a minute.
constexpr int kKeepIdleSeconds = 10;
constexpr int kKeepIntervalSeconds = 5;
constexpr int kKeepProbes = 3;

void SetOption(int fd, int level, int name, int value) {
    ::setsockopt(fd, level, name, &value, sizeof value);
}

int Descriptor(std::intptr_t socket) {
    return static_cast<int>(socket);
}

}  // namespace

void TcpConnection::Close() {
    if (IsOpen()) {
        ::close(Descriptor(socket_));
        socket_ = kNoSocket;
    }
}

bool TcpConnection::LookUp(const std::string& host, uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    const int status = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (status != 0) {
        return Fail(ENOENT, "cannot find the host " + host + ": " + ::gai_strerror(status));
    }
    addresses_.clear();
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(entry->ai_addr);
        addresses_.emplace_back(bytes, bytes + entry->ai_addrlen);
    }
    ::freeaddrinfo(found);
    return true;
}

bool TcpConnection::ConnectTo(const std::vector<uint8_t>& bytes, int timeoutMs) {
    sockaddr_storage address{};
    std::memcpy(&address, bytes.data(), std::min(bytes.size(), sizeof address));
    const auto size = static_cast<socklen_t>(bytes.size());
    const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error_ = errno;
        return false;
    }
    int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), size);
    if (result != 0 && errno == EINPROGRESS) {
        pollfd entry{fd, POLLOUT, 0};
        do {
            result = ::poll(&entry, 1, timeoutMs);
        } while (result < 0 && errno == EINTR);
        int error = result == 0 ? ETIMEDOUT : 0;
        socklen_t length = sizeof error;
        if (result > 0) {
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        }
        errno = error;
        result = error == 0 ? 0 : -1;
    }
    if (result != 0) {
        error_ = errno;
        ::close(fd);
        return false;
    }
    socket_ = fd;
    return true;
}

// Small writes (one character, a handshake byte) leave at once, and a dead peer is noticed.
void TcpConnection::Configure() {
    const int fd = Descriptor(socket_);
    SetOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
    SetOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, kKeepIdleSeconds);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, kKeepIntervalSeconds);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPCNT, kKeepProbes);
    error_ = 0;
    message_.clear();
}

bool TcpConnection::Receive(std::vector<uint8_t>& into) {
    if (!IsOpen()) {
        return Fail(EBADF, "not connected");
    }
    std::array<uint8_t, kReceiveChunk> chunk{};
    for (;;) {
        const ssize_t got = ::recv(Descriptor(socket_), chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (got > 0) {
            into.insert(into.end(), chunk.begin(), chunk.begin() + got);
            continue;
        }
        if (got == 0) {
            return Fail(EIO, "the server closed the connection");
        }
        if (errno == EAGAIN || errno == EINTR) {
            return true;
        }
        return Fail(EIO, std::string("the connection failed: ") + std::strerror(errno));
    }
}

bool TcpConnection::Send(const uint8_t* data, size_t count, size_t& sent) {
    sent = 0;
    if (!IsOpen()) {
        return Fail(EBADF, "not connected");
    }
    while (sent < count) {
        const ssize_t done =
            ::send(Descriptor(socket_), data + sent, count - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (done > 0) {
            sent += static_cast<size_t>(done);
            continue;
        }
        if (done < 0 && (errno == EAGAIN || errno == EINTR)) {
            return true;
        }
        return Fail(EIO, std::string("the connection failed: ") + std::strerror(errno));
    }
    return true;
}

bool TcpConnection::Wait(Readiness readiness, int ms, bool& ready) {
    ready = false;
    if (!IsOpen()) {
        return Fail(EBADF, "not connected");
    }
    const short events = readiness == Readiness::kToReceive ? POLLIN : POLLOUT;
    pollfd entry{Descriptor(socket_), events, 0};
    int result = 0;
    do {
        result = ::poll(&entry, 1, ms);
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        return Fail(errno, std::strerror(errno));
    }
    // A hang-up still leaves what arrived before it to be read: Receive says when it is over.
    if (entry.revents & (POLLERR | POLLNVAL)) {
        return Fail(EIO, "the connection failed");
    }
    ready = result > 0;
    return true;
}

uint32_t TcpConnection::Unsent() const {
    int queued = 0;
    if (!IsOpen() || ::ioctl(Descriptor(socket_), SIOCOUTQ, &queued) != 0) {
        return 0;
    }
    return static_cast<uint32_t>(queued);
}

std::string TcpConnection::ErrorText(int error) {
    return std::strerror(error);
}

}  // namespace brennix
