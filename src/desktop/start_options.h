#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace brennix {

// How the program was asked to start, from its command line (or a test).
struct StartOptions {
    // Offer the built-in simulated instrument "SIM" as a port.
    bool simulate = false;
    // When set, open this port directly at start instead of showing the connect dialog.
    std::string port;
    uint32_t baudRate = 9600;
    // Where "cmd.ini" lives; empty for the user's application data folder.
    QString dataFolder;
};

}  // namespace brennix
