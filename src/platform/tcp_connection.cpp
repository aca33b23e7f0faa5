#include "platform/tcp_connection.h"

#include <cerrno>
#include <chrono>

#include "platform/deadline.h"

namespace brennix {

TcpConnection::~TcpConnection() {
    Close();
}

bool TcpConnection::Connect(const std::string& host, uint16_t port, uint32_t timeoutMs) {
    Close();
    if (!Resolve(host, port)) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (const auto& address : addresses_) {
        if (ConnectTo(address, RemainingMs(deadline))) {
            Configure();
            return true;
        }
    }
    const std::string reason = error_ == ETIMEDOUT
                                   ? "no answer within " + std::to_string(timeoutMs / 1000) + " s"
                                   : ErrorText(error_);
    return Fail(error_,
                "cannot connect to " + host + " port " + std::to_string(port) + ": " + reason);
}

bool TcpConnection::Resolve(const std::string& host, uint16_t port) {
    if (host == resolvedHost_ && port == resolvedPort_ && !addresses_.empty()) {
        return true;
    }
    if (!LookUp(host, port)) {
        return false;
    }
    resolvedHost_ = host;
    resolvedPort_ = port;
    return true;
}

bool TcpConnection::Fail(int error, const std::string& message) {
    error_ = error;
    message_ = message;
    return false;
}

}  // namespace brennix
