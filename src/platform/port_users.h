#pragma once

#include <sys/types.h>
#include <optional>
#include <string>

namespace brennix {

// Another process that has a port: its id and its program's name.
struct PortUser {
    pid_t pid = 0;
    std::string program;
};

// "in use by minicom, process 1234".
std::string InUseText(const PortUser& user);

// A process other than this one that has the device open, among those this user may look at
// (/proc/PID/fd); none when there is none, or none visible. A pseudo-terminal's far end, which
// holds its master side, is no such user.
std::optional<PortUser> FindOtherPortUser(const std::string& device);

// The program name of a live process; none when there is no such process.
std::optional<std::string> ProgramOf(pid_t pid);

}  // namespace brennix
