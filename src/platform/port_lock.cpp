#include "platform/port_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace brennix {

namespace {

// The lock files held, for ReleaseAllForExit in a signal handler: fixed slots, no allocation.
constexpr size_t kSlots = 8;
constexpr size_t kPathSize = 256;
std::array<std::array<char, kPathSize>, kSlots> heldPaths{};
std::array<std::atomic<bool>, kSlots> slotUsed{};

void RememberLock(const std::string& path) {
    for (size_t slot = 0; slot < kSlots; ++slot) {
        bool free = false;
        if (path.size() < kPathSize && slotUsed[slot].compare_exchange_strong(free, true)) {
            std::memcpy(heldPaths[slot].data(), path.c_str(), path.size() + 1);
            return;
        }
    }
}

void ForgetLock(const std::string& path) {
    for (size_t slot = 0; slot < kSlots; ++slot) {
        if (slotUsed[slot] && path == heldPaths[slot].data()) {
            slotUsed[slot] = false;
            return;
        }
    }
}

std::optional<pid_t> ReadOwner(const std::string& path) {
    std::ifstream file(path);
    long pid = 0;
    if (!(file >> pid) || pid <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

}  // namespace

void PortLock::ReleaseAllForExit() {
    for (size_t slot = 0; slot < kSlots; ++slot) {
        if (slotUsed[slot]) {
            ::unlink(heldPaths[slot].data());
        }
    }
}

// "/dev/ttyUSB0" locks as "LCK..ttyUSB0", "/dev/pts/3" as "LCK..pts_3".
std::string PortLock::PathFor(const std::string& device) const {
    std::string name = device.starts_with("/dev/") ? device.substr(5) : device;
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    return folder_ + "/LCK.." + name;
}

bool PortLock::Acquire(const std::string& device) {
    Release();
    holder_.reset();
    const std::string path = PathFor(device);
    if (const std::optional<pid_t> owner = ReadOwner(path); owner && *owner != ::getpid()) {
        if (const std::optional<std::string> program = ProgramOf(*owner)) {
            holder_ = PortUser{*owner, *program};
            return false;
        }
        ::unlink(path.c_str());  // stale: its process is gone
    }
    Create(path);
    return true;
}

bool PortLock::Create(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    char content[16];
    const int length =
        std::snprintf(content, sizeof content, "%10d\n", static_cast<int>(::getpid()));
    const bool written = ::write(fd, content, static_cast<size_t>(length)) == length;
    ::close(fd);
    if (!written) {
        ::unlink(path.c_str());
        return false;
    }
    held_ = path;
    RememberLock(held_);
    return true;
}

void PortLock::Release() {
    if (held_.empty()) {
        return;
    }
    ForgetLock(held_);
    ::unlink(held_.c_str());
    held_.clear();
}

}  // namespace brennix
