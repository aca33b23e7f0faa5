#include "platform/tcp_connection.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <mstcpip.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/windows_text.h"

namespace brennix {

namespace {

constexpr int kReceiveChunk = 16384;
// A server that vanishes without closing (its power cut) is noticed within about a minute:
// Windows sends ten probes where Linux is told to send three.
constexpr ULONG kKeepIdleMs = 10000;
constexpr ULONG kKeepIntervalMs = 5000;

SOCKET Handle(std::intptr_t socket) {
    return static_cast<SOCKET>(socket);
}

// Winsock is started once, by the first connection, and left running until the program ends.
int StartWinsock() {
    static const int error = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data);
    }();
    return error;
}

void SetOption(SOCKET socket, int level, int name, BOOL value) {
    ::setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

// Waits for a connect in progress: 0 once connected, ETIMEDOUT, or the socket's error. A refused
// connect shows in the exception set, where select puts it (WSAPoll missed it on older systems).
int AwaitConnect(SOCKET socket, int timeoutMs) {
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int result = ::select(0, nullptr, &writable, &failed, &wait);
    if (result == SOCKET_ERROR) {
        return ::WSAGetLastError();
    }
    if (result == 0) {
        return ETIMEDOUT;
    }
    int error = 0;
    int length = sizeof error;
    ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    return error;
}

}  // namespace

void TcpConnection::Close() {
    if (IsOpen()) {
        ::closesocket(Handle(socket_));
        socket_ = kNoSocket;
    }
}

bool TcpConnection::LookUp(const std::string& host, uint16_t port) {
    if (const int error = StartWinsock(); error != 0) {
        return Fail(error, "cannot use the network: " + ErrorText(error));
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    const int status = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (status != 0) {
        return Fail(ENOENT, "cannot find the host " + host + ": " + ErrorText(status));
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
    const SOCKET socket = ::socket(address.ss_family, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) {
        error_ = ::WSAGetLastError();
        return false;
    }
    u_long nonBlocking = 1;
    int error = ::ioctlsocket(socket, FIONBIO, &nonBlocking) == 0 ? 0 : ::WSAGetLastError();
    if (error == 0 && ::connect(socket, reinterpret_cast<const sockaddr*>(&address),
                                static_cast<int>(bytes.size())) != 0) {
        error = ::WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            error = AwaitConnect(socket, timeoutMs);
        }
    }
    if (error != 0) {
        error_ = error;
        ::closesocket(socket);
        return false;
    }
    socket_ = static_cast<std::intptr_t>(socket);
    return true;
}

// Small writes (one character, a handshake byte) leave at once, and a dead peer is noticed.
void TcpConnection::Configure() {
    const SOCKET socket = Handle(socket_);
    SetOption(socket, IPPROTO_TCP, TCP_NODELAY, TRUE);
    tcp_keepalive keepAlive{1, kKeepIdleMs, kKeepIntervalMs};
    DWORD returned = 0;
    ::WSAIoctl(socket, SIO_KEEPALIVE_VALS, &keepAlive, sizeof keepAlive, nullptr, 0, &returned,
               nullptr, nullptr);
    error_ = 0;
    message_.clear();
}

bool TcpConnection::Receive(std::vector<uint8_t>& into) {
    if (!IsOpen()) {
        return Fail(EBADF, "not connected");
    }
    std::array<char, kReceiveChunk> chunk{};
    for (;;) {
        const int got = ::recv(Handle(socket_), chunk.data(), kReceiveChunk, 0);
        if (got > 0) {
            into.insert(into.end(), chunk.begin(), chunk.begin() + got);
            continue;
        }
        if (got == 0) {
            return Fail(EIO, "the server closed the connection");
        }
        const int error = ::WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            return true;
        }
        return Fail(EIO, "the connection failed: " + ErrorText(error));
    }
}

bool TcpConnection::Send(const uint8_t* data, size_t count, size_t& sent) {
    sent = 0;
    if (!IsOpen()) {
        return Fail(EBADF, "not connected");
    }
    while (sent < count) {
        const int left = static_cast<int>(std::min<size_t>(count - sent, INT_MAX));
        const int done =
            ::send(Handle(socket_), reinterpret_cast<const char*>(data + sent), left, 0);
        if (done > 0) {
            sent += static_cast<size_t>(done);
            continue;
        }
        const int error = ::WSAGetLastError();
        if (done < 0 && error == WSAEWOULDBLOCK) {
            return true;
        }
        return Fail(EIO, "the connection failed: " + ErrorText(error));
    }
    return true;
}

bool TcpConnection::Wait(Readiness readiness, int ms, bool& ready) {
    ready = false;
    if (!IsOpen()) {
        return Fail(EBADF, "not connected");
    }
    const SHORT events = readiness == Readiness::kToReceive ? POLLRDNORM : POLLWRNORM;
    WSAPOLLFD entry{Handle(socket_), events, 0};
    const int result = ::WSAPoll(&entry, 1, ms);
    if (result == SOCKET_ERROR) {
        const int error = ::WSAGetLastError();
        return Fail(error, ErrorText(error));
    }
    // A hang-up still leaves what arrived before it to be read: Receive says when it is over.
    if (entry.revents & (POLLERR | POLLNVAL)) {
        return Fail(EIO, "the connection failed");
    }
    ready = result > 0;
    return true;
}

// Windows has no call for what a socket still holds to send: what the server has not taken
// counts as sent here.
uint32_t TcpConnection::Unsent() const {
    return 0;
}

std::string TcpConnection::ErrorText(int error) {
    return SystemErrorText(static_cast<unsigned long>(error));
}

}  // namespace brennix
