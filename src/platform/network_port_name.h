#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brennix {

// How a serial device server carries the line: raw bytes over TCP, or telnet with the
// COM-PORT-OPTION of RFC 2217 (rate, framing, BREAK and purge travel to the far port).
enum class NetworkProtocol { kRawTcp, kRfc2217 };

// A port on a serial device server: "tcp://HOST:PORT" or "rfc2217://HOST:PORT"; an IPv6 host
// in brackets ("rfc2217://[::1]:4001").
struct NetworkPortName {
    NetworkProtocol protocol = NetworkProtocol::kRawTcp;
    std::string host;
    uint16_t port = 0;
};

inline constexpr std::string_view kRawTcpScheme = "tcp://";
inline constexpr std::string_view kRfc2217Scheme = "rfc2217://";

// Whether the name is meant for a device server (it starts with one of the schemes), well formed
// or not: such a name never goes to the system's ttys.
bool IsNetworkPortName(std::string_view name);
// The parts of a well-formed name; none, with the reason in error, otherwise.
std::optional<NetworkPortName> ParseNetworkPortName(std::string_view name, std::string& error);
// The same server in the other protocol, for a message that suggests it.
std::string NetworkPortText(NetworkProtocol protocol, const NetworkPortName& name);

}  // namespace brennix
