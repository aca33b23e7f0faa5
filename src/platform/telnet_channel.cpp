#include "platform/telnet_channel.h"

#include <libtelnet.h>

#include <vector>

namespace brennix {

namespace {

// What each side agrees to: binary both ways and suppressed go-ahead, and the COM-PORT-OPTION,
// which the client offers (WILL) and the server accepts (DO).
constexpr telnet_telopt_t kClientOptions[] = {
    {TELNET_TELOPT_BINARY, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {rfc2217::kComPortOption, TELNET_WILL, TELNET_DONT},
    {-1, 0, 0},
};
constexpr telnet_telopt_t kServerOptions[] = {
    {TELNET_TELOPT_BINARY, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {rfc2217::kComPortOption, TELNET_WONT, TELNET_DO},
    {-1, 0, 0},
};

std::span<const uint8_t> Bytes(const char* buffer, size_t size) {
    return {reinterpret_cast<const uint8_t*>(buffer), size};
}

const char* Chars(std::span<const uint8_t> bytes) {
    return reinterpret_cast<const char*>(bytes.data());
}

}  // namespace

TelnetChannel::TelnetChannel(Role role, Handler& handler)
    : role_(role),
      handler_(handler),
      telnet_(telnet_init(role == Role::kClient ? kClientOptions : kServerOptions, &OnEvent, 0,
                          this)) {}

TelnetChannel::~TelnetChannel() {
    telnet_free(telnet_);
}

void TelnetChannel::Start() {
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_SGA);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_SGA);
    if (role_ == Role::kClient) {
        telnet_negotiate(telnet_, TELNET_WILL, rfc2217::kComPortOption);
    }
}

void TelnetChannel::Receive(std::span<const uint8_t> bytes) {
    telnet_recv(telnet_, Chars(bytes), bytes.size());
}

void TelnetChannel::SendData(std::span<const uint8_t> data) {
    telnet_send(telnet_, Chars(data), data.size());
}

void TelnetChannel::SendComPort(uint8_t command, std::span<const uint8_t> value) {
    std::vector<uint8_t> body{command};
    body.insert(body.end(), value.begin(), value.end());
    telnet_subnegotiation(telnet_, rfc2217::kComPortOption, Chars(body), body.size());
}

void TelnetChannel::OnEvent(telnet_t*, telnet_event_t* event, void* self) {
    static_cast<TelnetChannel*>(self)->Handle(*event);
}

void TelnetChannel::Handle(const telnet_event_t& event) {
    switch (event.type) {
        case TELNET_EV_DATA:
            handler_.OnData(Bytes(event.data.buffer, event.data.size));
            break;
        case TELNET_EV_SEND:
            handler_.OnSend(Bytes(event.data.buffer, event.data.size));
            break;
        case TELNET_EV_SUBNEGOTIATION:
            if (event.sub.telopt == rfc2217::kComPortOption && event.sub.size > 0) {
                const std::span<const uint8_t> body = Bytes(event.sub.buffer, event.sub.size);
                handler_.OnComPort(body.front(), body.subspan(1));
            }
            break;
        case TELNET_EV_DO:
        case TELNET_EV_WILL:
            if (event.neg.telopt == rfc2217::kComPortOption) {
                handler_.OnComPortAgreed(true);
            }
            break;
        case TELNET_EV_DONT:
        case TELNET_EV_WONT:
            if (event.neg.telopt == rfc2217::kComPortOption) {
                handler_.OnComPortAgreed(false);
            }
            break;
        default:
            break;
    }
}

}  // namespace brennix
