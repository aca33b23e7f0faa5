#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/network_port_name.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// How brennix-sim serves its instruments, apart from what they are: on a pseudo-terminal unless
// a TCP port is given, one instrument unless a bus is, and a record of the line if asked for.
struct ServeOptions {
    // --bus 2:kMirovan,5:kKTX: the instruments on one RS-485 pair, by address, in that order.
    std::vector<std::pair<uint32_t, Model>> bus;
    // --listen tcp:PORT | rfc2217:PORT (0: any free port).
    std::optional<NetworkProtocol> listenProtocol;
    uint16_t listenPort = 0;
    // --transcript FILE
    std::string transcriptPath;
};

// Takes the serving options out of the arguments, leaving those that describe the instrument;
// none, with the reason in error, when one is not understood.
std::optional<ServeOptions> TakeServeOptions(std::vector<std::string>& arguments,
                                             std::string& error);

// The instruments to serve: the one the settings describe, or one per bus entry, each with its
// address and model and the rest of the settings.
std::vector<Settings> InstrumentsToServe(const Settings& settings, const ServeOptions& serve);

}  // namespace brennix::sim
