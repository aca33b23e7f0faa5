#include "platform/network_port_name.h"

#include <charconv>

namespace brennix {

namespace {

constexpr uint32_t kHighestPort = 65535;

// "host:port" or "[v6 host]:port" into its parts; false when either is missing.
bool SplitHostAndPort(std::string_view text, std::string_view& host, std::string_view& port) {
    size_t colon = 0;
    if (text.starts_with('[')) {
        const size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            return false;
        }
        host = text.substr(1, close - 1);
        if (host.find(':') == std::string_view::npos) {
            return false;  // brackets are for an IPv6 address only
        }
        colon = close + 1;
    } else {
        colon = text.rfind(':');
        if (colon == std::string_view::npos) {
            return false;
        }
        host = text.substr(0, colon);
        if (host.find(':') != std::string_view::npos) {
            return false;  // an IPv6 address needs its brackets
        }
    }
    port = text.substr(colon + 1);
    return !host.empty() && !port.empty();
}

}  // namespace

bool IsNetworkPortName(std::string_view name) {
    return name.starts_with(kRawTcpScheme) || name.starts_with(kRfc2217Scheme);
}

std::optional<NetworkPortName> ParseNetworkPortName(std::string_view name, std::string& error) {
    NetworkPortName parsed;
    std::string_view rest;
    if (name.starts_with(kRawTcpScheme)) {
        rest = name.substr(kRawTcpScheme.size());
    } else if (name.starts_with(kRfc2217Scheme)) {
        parsed.protocol = NetworkProtocol::kRfc2217;
        rest = name.substr(kRfc2217Scheme.size());
    } else {
        error = "a network port starts with tcp:// or rfc2217://";
        return std::nullopt;
    }
    std::string_view host;
    std::string_view port;
    if (!SplitHostAndPort(rest, host, port)) {
        error = "a network port is tcp://HOST:PORT or rfc2217://HOST:PORT, not '" +
                std::string(name) + "'";
        return std::nullopt;
    }
    uint32_t number = 0;
    const auto [end, status] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (status != std::errc() || end != port.data() + port.size() || number == 0 ||
        number > kHighestPort) {
        error = "the TCP port in '" + std::string(name) + "' must be a number from 1 to 65535";
        return std::nullopt;
    }
    parsed.host = std::string(host);
    parsed.port = static_cast<uint16_t>(number);
    return parsed;
}

std::string NetworkPortText(NetworkProtocol protocol, const NetworkPortName& name) {
    const bool v6 = name.host.find(':') != std::string::npos;
    return std::string(protocol == NetworkProtocol::kRawTcp ? kRawTcpScheme : kRfc2217Scheme) +
           (v6 ? "[" + name.host + "]" : name.host) + ":" + std::to_string(name.port);
}

}  // namespace brennix
