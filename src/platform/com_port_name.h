#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brennix {

// The path Windows opens for a port name as a user types or an old setting holds it: "COM3",
// "com12" and the handheld's "COM1:" become "\\.\COM3" ("COM10" and up open only that way); a
// name that already is a path ("\\.\COM3") stays as it is.
std::string ComPortPath(std::string_view name);

// The number of "COM12" (or "\\.\COM12", "COM12:"), by which ports are listed; none for a name
// that is no COM port.
std::optional<unsigned> ComPortNumber(std::string_view name);

}  // namespace brennix
