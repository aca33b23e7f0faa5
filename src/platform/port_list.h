#pragma once

#include <string>
#include <vector>

namespace brennix {

struct PortInfo {
    std::string name;         // what to open, e.g. "/dev/ttyUSB0" or "COM3"
    std::string description;  // the adapter's USB product text when there is one
};

// The serial ports the system knows of, in the order the system lists them; empty when the
// listing fails.
std::vector<PortInfo> ListSerialPorts();

}  // namespace brennix
