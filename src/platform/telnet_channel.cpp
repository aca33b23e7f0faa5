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

class LibtelnetChannel final : public TelnetChannel {
  public:
    LibtelnetChannel(Role role, Handler& handler);
    ~LibtelnetChannel() override;
    LibtelnetChannel(const LibtelnetChannel&) = delete;
    LibtelnetChannel& operator=(const LibtelnetChannel&) = delete;

    void Start() override;
    void Receive(std::span<const uint8_t> bytes) override;
    void SendData(std::span<const uint8_t> data) override;
    void SendComPort(uint8_t command, std::span<const uint8_t> value) override;

  private:
    static void OnEvent(telnet_t* telnet, telnet_event_t* event, void* self);
    void Handle(const telnet_event_t& event);

    Role role_;
    Handler& handler_;
    telnet_t* telnet_;
};

LibtelnetChannel::LibtelnetChannel(Role role, Handler& handler)
    : role_(role),
      handler_(handler),
      telnet_(telnet_init(role == Role::kClient ? kClientOptions : kServerOptions, &OnEvent, 0,
                          this)) {}

LibtelnetChannel::~LibtelnetChannel() {
    telnet_free(telnet_);
}

void LibtelnetChannel::Start() {
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_SGA);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_SGA);
    if (role_ == Role::kClient) {
        telnet_negotiate(telnet_, TELNET_WILL, rfc2217::kComPortOption);
    }
}

void LibtelnetChannel::Receive(std::span<const uint8_t> bytes) {
    telnet_recv(telnet_, Chars(bytes), bytes.size());
}

void LibtelnetChannel::SendData(std::span<const uint8_t> data) {
    telnet_send(telnet_, Chars(data), data.size());
}

void LibtelnetChannel::SendComPort(uint8_t command, std::span<const uint8_t> value) {
    std::vector<uint8_t> body{command};
    body.insert(body.end(), value.begin(), value.end());
    telnet_subnegotiation(telnet_, rfc2217::kComPortOption, Chars(body), body.size());
}

void LibtelnetChannel::OnEvent(telnet_t*, telnet_event_t* event, void* self) {
    static_cast<LibtelnetChannel*>(self)->Handle(*event);
}

void LibtelnetChannel::Handle(const telnet_event_t& event) {
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

}  // namespace

std::unique_ptr<TelnetChannel> TelnetChannel::Make(Role role, Handler& handler) {
    return std::make_unique<LibtelnetChannel>(role, handler);
}

}  // namespace brennix
