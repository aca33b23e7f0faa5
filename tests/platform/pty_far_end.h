#pragma once

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace brennix::test {

// How long a real-time test waits for the kernel to move bytes before it gives up.
inline constexpr std::chrono::milliseconds kPatience{1000};

// The far end of a pseudo-terminal whose near end the device under test opens as a port.
class PtyFarEnd {
  public:
    PtyFarEnd() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            slavePath_ = ptsname(master_);
        }
    }
    ~PtyFarEnd() { Close(); }

    const std::string& PortPath() const { return slavePath_; }
    void Close() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    bool Send(const std::vector<uint8_t>& bytes) {
        return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Collects count bytes, or what came within the patience.
    std::vector<uint8_t> Receive(size_t count) {
        std::vector<uint8_t> bytes;
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{master_, POLLIN, 0};
            if (::poll(&entry, 1, 10) <= 0)
                continue;
            std::array<uint8_t, 256> chunk{};
            const ssize_t got = ::read(master_, chunk.data(), chunk.size());
            if (got > 0)
                bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
        }
        return bytes;
    }

  private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace brennix::test
