// The network port's TCP connection, played from the fuzzer's input instead of a socket: the
// server's bytes arrive in chunks (a length byte, then that many bytes), one chunk each time the
// port looks, and once they are used up the server has closed the connection. Everything the
// port sends is taken at once. Nothing waits, so every input ends in microseconds.
#include "scripted_tcp_connection.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <deque>

#include "platform/tcp_connection.h"

namespace brennix {

namespace {

std::deque<std::vector<uint8_t>> chunks;

}  // namespace

namespace fuzz {

void ScriptServerBytes(const uint8_t* data, size_t size) {
    chunks.clear();
    for (size_t at = 0; at < size;) {
        const size_t taken = std::min<size_t>(data[at++], size - at);
        chunks.emplace_back(data + at, data + at + taken);
        at += taken;
    }
}

}  // namespace fuzz

TcpConnection::~TcpConnection() {
    Close();
}

bool TcpConnection::Connect(const std::string&, uint16_t, uint32_t) {
    socket_ = 0;
    return true;
}

void TcpConnection::Close() {
    socket_ = kNoSocket;
}

bool TcpConnection::Receive(std::vector<uint8_t>& into) {
    if (chunks.empty()) {
        error_ = ECONNRESET;
        message_ = "the server closed the connection";
        return false;
    }
    into.insert(into.end(), chunks.front().begin(), chunks.front().end());
    chunks.pop_front();
    return true;
}

bool TcpConnection::Send(const uint8_t*, size_t count, size_t& sent) {
    sent = count;
    return true;
}

// As poll() does, a closed connection reads as ready.
bool TcpConnection::Wait(Readiness, int, bool& ready) {
    ready = true;
    return true;
}

uint32_t TcpConnection::Unsent() const {
    return 0;
}

}  // namespace brennix
