#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brennix {

// A TCP connection to a device server, made within a bounded time and used without blocking:
// each wait is bounded by the caller's time-out. The host's addresses are looked up once and
// kept, so that reconnecting to the same host never waits on the name service again. One file
// per system holds the socket calls (tcp_connection_posix.cpp, tcp_connection_windows.cpp).
class TcpConnection {
  public:
    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Tries the host's addresses in turn until one accepts, all within timeoutMs; false with
    // the reason in ErrorMessage().
    bool Connect(const std::string& host, uint16_t port, uint32_t timeoutMs);
    void Close();
    bool IsOpen() const { return socket_ != kNoSocket; }

    // Appends what has arrived, without waiting. False once the far end has closed or reset the
    // connection; what arrived before stays appended.
    bool Receive(std::vector<uint8_t>& into);
    // Sends what the socket takes now; false when the connection has failed.
    bool Send(const uint8_t* data, size_t count, size_t& sent);
    enum class Readiness { kToReceive, kToSend };
    // Waits up to ms until the connection is ready as asked; false on a failed connection.
    bool Wait(Readiness readiness, int ms, bool& ready);
    // Bytes handed to the socket that have not yet left it.
    uint32_t Unsent() const;

    int Error() const { return error_; }
    const std::string& ErrorMessage() const { return message_; }

  private:
    // What no socket of either system is: -1 as a descriptor, INVALID_SOCKET as a SOCKET.
    static constexpr std::intptr_t kNoSocket = -1;

    bool Resolve(const std::string& host, uint16_t port);
    // Asks the name service for the host's addresses into addresses_; false with the reason.
    bool LookUp(const std::string& host, uint16_t port);
    // One address: true when connected by the deadline; error_ says why not.
    bool ConnectTo(const std::vector<uint8_t>& address, int timeoutMs);
    void Configure();
    bool Fail(int error, const std::string& message);
    // The system's words for an error of its socket calls.
    static std::string ErrorText(int error);

    // A descriptor here, a SOCKET on Windows: both fit in a pointer-sized integer.
    std::intptr_t socket_ = kNoSocket;
    std::string resolvedHost_;
    uint16_t resolvedPort_ = 0;
    // Each a socket address as the resolver gave it, its size the size of the vector.
    std::vector<std::vector<uint8_t>> addresses_;
    int error_ = 0;
    std::string message_;
};

}  // namespace brennix
