#pragma once

#include <cstddef>
#include <cstdint>

namespace brennix::fuzz {

// What the next TcpConnection's server sends (scripted_tcp_connection.cpp).
void ScriptServerBytes(const uint8_t* data, size_t size);

}  // namespace brennix::fuzz
