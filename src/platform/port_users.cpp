#include "platform/port_users.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace brennix {

namespace {

constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;
constexpr unsigned kPtysPerMajor = 256;

// The number of a pseudo-terminal's slave (/dev/pts/N); none for any other device.
std::optional<unsigned> PseudoTerminalIndex(const struct stat& device) {
    const unsigned deviceMajor = major(device.st_rdev);
    if (deviceMajor < kFirstPtySlaveMajor || deviceMajor > kLastPtySlaveMajor) {
        return std::nullopt;
    }
    return (deviceMajor - kFirstPtySlaveMajor) * kPtysPerMajor + minor(device.st_rdev);
}

// Whether the process holds the master side of pseudo-terminal index: its far end (brennix-sim,
// socat), which keeps the slave open too by design.
bool HoldsMaster(const std::filesystem::path& process, unsigned index) {
    std::error_code error;
    for (std::filesystem::directory_iterator info(process / "fdinfo", error), end;
         !error && info != end; info.increment(error)) {
        std::ifstream lines(info->path());
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("tty-index:") && std::stoul(line.substr(10)) == index) {
                return true;
            }
        }
    }
    return false;
}

bool SameDevice(const struct stat& a, const std::filesystem::path& path) {
    struct stat b {};
    return ::stat(path.c_str(), &b) == 0 && S_ISCHR(b.st_mode) && b.st_rdev == a.st_rdev;
}

// Whether one of the process's descriptors is the device; false when we may not look.
bool HasOpen(const std::filesystem::path& process, const struct stat& device) {
    std::error_code error;
    for (std::filesystem::directory_iterator fd(process / "fd", error), end; !error && fd != end;
         fd.increment(error)) {
        if (SameDevice(device, fd->path())) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string InUseText(const PortUser& user) {
    return "in use by " + user.program + ", process " + std::to_string(user.pid);
}

std::optional<std::string> ProgramOf(pid_t pid) {
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno != EPERM)) {
        return std::nullopt;
    }
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? std::string("another program") : name;
}

std::optional<PortUser> FindOtherPortUser(const std::string& device) {
    struct stat wanted {};
    if (::stat(device.c_str(), &wanted) != 0 || !S_ISCHR(wanted.st_mode)) {
        return std::nullopt;
    }
    const pid_t self = ::getpid();
    std::error_code error;
    for (std::filesystem::directory_iterator entry("/proc", error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        if (pid == self || !HasOpen(entry->path(), wanted)) {
            continue;
        }
        if (const std::optional<unsigned> index = PseudoTerminalIndex(wanted);
            index && HoldsMaster(entry->path(), *index)) {
            continue;
        }
        return PortUser{pid, ProgramOf(pid).value_or("another program")};
    }
    return std::nullopt;
}

}  // namespace brennix
