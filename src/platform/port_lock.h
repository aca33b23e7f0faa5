#pragma once

#include <optional>
#include <string>

#include "platform/port_users.h"

namespace brennix {

// The UUCP lock file the serial programs of a Linux system agree on: LCK..ttyUSB0 in /var/lock,
// holding the owner's process id as ten characters and a line end. A lock whose process is gone
// is stale and taken over; a folder this user may not write leaves the port unlocked, as on
// systems that keep /var/lock for root.
class PortLock {
  public:
    static constexpr const char* kFolder = "/var/lock";

    explicit PortLock(std::string folder = kFolder) : folder_(std::move(folder)) {}
    ~PortLock() { Release(); }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // False, with Holder() set, when a live process other than this one holds the device's lock.
    bool Acquire(const std::string& device);
    void Release();
    const std::optional<PortUser>& Holder() const { return holder_; }

    // Removes every lock this process holds; safe in a signal handler.
    static void ReleaseAllForExit();

  private:
    std::string PathFor(const std::string& device) const;
    bool Create(const std::string& path);

    std::string folder_;
    std::string held_;
    std::optional<PortUser> holder_;
};

}  // namespace brennix
