#include "platform/telnet_channel.h"

namespace brennix {

// Debian packages libtelnet for Linux only: this build speaks raw TCP to device servers.
std::unique_ptr<TelnetChannel> TelnetChannel::Make(Role, Handler&) {
    return nullptr;
}

}  // namespace brennix
