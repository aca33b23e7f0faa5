#include "platform/posix_serial_device.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "platform/deadline.h"

namespace brennix {

namespace {

constexpr std::array<std::pair<uint32_t, speed_t>, 27> kBaudRates{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {4000000, B4000000},
}};

bool SpeedFromBaud(uint32_t baud, speed_t& speed) {
    for (const auto& [rate, code] : kBaudRates) {
        if (rate == baud) {
            speed = code;
            return true;
        }
    }
    return false;
}

uint32_t BaudFromSpeed(speed_t speed) {
    for (const auto& [rate, code] : kBaudRates) {
        if (code == speed) {
            return rate;
        }
    }
    return 0;
}

bool DataBitsFlag(uint8_t dataBits, tcflag_t& flag) {
    switch (dataBits) {
        case 5:
            flag = CS5;
            return true;
        case 6:
            flag = CS6;
            return true;
        case 7:
            flag = CS7;
            return true;
        case 8:
            flag = CS8;
            return true;
        default:
            return false;
    }
}

uint8_t DataBitsFromFlags(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

// Parity codes: 0 none, 1 odd, 2 even, 3 mark, 4 space.
bool ApplyParity(uint8_t parity, tcflag_t& cflag) {
    cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (parity) {
        case 0:
            return true;
        case 1:
            cflag |= PARENB | PARODD;
            return true;
        case 2:
            cflag |= PARENB;
            return true;
        case 3:
            cflag |= PARENB | PARODD | CMSPAR;
            return true;
        case 4:
            cflag |= PARENB | CMSPAR;
            return true;
        default:
            return false;
    }
}

uint8_t ParityFromFlags(tcflag_t cflag) {
    if (!(cflag & PARENB)) {
        return 0;
    }
    const bool odd = cflag & PARODD;
    if (cflag & CMSPAR) {
        return odd ? 3 : 4;
    }
    return odd ? 1 : 2;
}

// The descriptors this process holds in exclusive mode, for ReleaseHeldPorts, which may run in a
// signal handler: a fixed table of atomics, no allocation, no lock. A slot holds the descriptor
// plus one, so that the zero every slot starts with means empty.
constexpr size_t kHeldPortSlots = 16;
std::array<std::atomic<int>, kHeldPortSlots> heldPorts;

void RememberHeld(int fd) {
    for (std::atomic<int>& slot : heldPorts) {
        int empty = 0;
        if (slot.compare_exchange_strong(empty, fd + 1)) {
            return;
        }
    }
}

void ForgetHeld(int fd) {
    for (std::atomic<int>& slot : heldPorts) {
        int held = fd + 1;
        if (slot.compare_exchange_strong(held, 0)) {
            return;
        }
    }
}

// Exclusive mode belongs to the tty, not to the descriptor: left set, it outlives the close and
// locks every other user out of the port until the device goes away.
void ReleaseExclusive(int fd) {
    ::ioctl(fd, TIOCNXCL);
}

// Bytes pass unchanged both ways without flow control, and reads never block; the rate and the
// framing stay as the port had them.
bool MakeRaw(int fd) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        return false;
    }
    const tcflag_t framing = settings.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    cfmakeraw(&settings);
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= framing | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

// The slave side of a Unix 98 pseudo-terminal (/dev/pts/N).
bool IsPseudoTerminal(int fd) {
    constexpr unsigned kFirstPtySlaveMajor = 136;
    constexpr unsigned kLastPtySlaveMajor = 143;
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISCHR(status.st_mode) &&
           major(status.st_rdev) >= kFirstPtySlaveMajor &&
           major(status.st_rdev) <= kLastPtySlaveMajor;
}

// Who may open the port, and how to become one of them.
std::string PermissionHint(const std::string& device) {
    struct stat status {};
    const group* owner = ::stat(device.c_str(), &status) == 0 ? ::getgrgid(status.st_gid) : nullptr;
    if (owner == nullptr || owner->gr_name == nullptr || std::strcmp(owner->gr_name, "root") == 0) {
        return "ask the administrator for access to " + device;
    }
    const std::string name = owner->gr_name;
    return "the port is for the group " + name + ": sudo adduser $USER " + name +
           ", then log in again";
}

}  // namespace

PosixSerialDevice::PosixSerialDevice(uint32_t readTimeoutMs, uint32_t writeTimeoutMs,
                                     std::string lockFolder)
    : readTimeoutMs_(readTimeoutMs),
      writeTimeoutMs_(writeTimeoutMs),
      lock_(std::move(lockFolder)) {}

PosixSerialDevice::~PosixSerialDevice() {
    Close();
}

bool PosixSerialDevice::Open(const std::string& name) {
    Close();
    if (!lock_.Acquire(name)) {
        return FailSaying(EBUSY, InUseText(*lock_.Holder()));
    }
    if (!OpenDevice(name)) {
        lock_.Release();
        return false;
    }
    return true;
}

bool PosixSerialDevice::OpenDevice(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES ? FailSaying(EACCES, PermissionHint(name)) : Fail();
    }
    // Before anything looks for other users: those of /dev/null or a file share no port.
    if (::isatty(fd) == 0) {
        ::close(fd);
        return FailSaying(ENOTTY, "not a serial port");
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return Fail(error);
    }
    if (const std::optional<PortUser> user = FindOtherPortUser(name)) {
        ::close(fd);
        return FailSaying(EBUSY, InUseText(*user));
    }
    if (::ioctl(fd, TIOCEXCL) != 0 || !MakeRaw(fd)) {
        const int error = errno;
        ReleaseExclusive(fd);
        ::close(fd);
        return Fail(error);
    }
    RememberHeld(fd);
    lowLatency_.Enable(fd);
    fd_ = fd;
    pseudoTerminal_ = IsPseudoTerminal(fd);
    lastError_ = 0;
    errorDetail_.clear();
    return true;
}

void PosixSerialDevice::Close() {
    if (fd_ < 0) {
        return;
    }
    ForgetHeld(fd_);
    lowLatency_.Restore(fd_);
    ReleaseExclusive(fd_);
    ::close(fd_);
    fd_ = -1;
    lock_.Release();
}

void PosixSerialDevice::ReleaseHeldPorts() {
    for (std::atomic<int>& slot : heldPorts) {
        const int held = slot.load();
        if (held > 0) {
            ReleaseExclusive(held - 1);
        }
    }
    PortLock::ReleaseAllForExit();
}

bool PosixSerialDevice::IsOpen() const {
    return fd_ >= 0;
}

bool PosixSerialDevice::GetState(SerialState& state) {
    if (!CheckAlive()) {
        return false;
    }
    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0) {
        return Fail();
    }
    state.baudRate = BaudFromSpeed(cfgetospeed(&settings));
    state.dataBits = DataBitsFromFlags(settings.c_cflag);
    state.parity = ParityFromFlags(settings.c_cflag);
    state.stopBits = (settings.c_cflag & CSTOPB) ? kTwoStopBits : kOneStopBit;
    state.parityCheck = settings.c_iflag & INPCK;
    return true;
}

bool PosixSerialDevice::SetState(const SerialState& state) {
    if (!CheckAlive()) {
        return false;
    }
    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0) {
        return Fail();
    }
    speed_t speed = B0;
    tcflag_t dataBits = CS8;
    if (!SpeedFromBaud(state.baudRate, speed) || !DataBitsFlag(state.dataBits, dataBits) ||
        !ApplyParity(state.parity, settings.c_cflag) ||
        (state.stopBits != kOneStopBit && state.stopBits != kTwoStopBits)) {
        return Fail(EINVAL);
    }
    settings.c_cflag = (settings.c_cflag & ~CSIZE) | dataBits;
    if (state.stopBits == kTwoStopBits) {
        settings.c_cflag |= CSTOPB;
    } else {
        settings.c_cflag &= ~CSTOPB;
    }
    if (state.parityCheck) {
        settings.c_iflag |= INPCK;
    } else {
        settings.c_iflag &= ~INPCK;
    }
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    if (::tcsetattr(fd_, TCSANOW, &settings) != 0) {
        return Fail();
    }
    return true;
}

// The kernel sizes tty queues itself; there is nothing to set.
bool PosixSerialDevice::SetQueueSizes(size_t, size_t) {
    return CheckOpen();
}

bool PosixSerialDevice::BytesWaiting(uint32_t& count) {
    return QueueCount(FIONREAD, count);
}

bool PosixSerialDevice::BytesPending(uint32_t& count) {
    return QueueCount(TIOCOUTQ, count);
}

bool PosixSerialDevice::WaitForInput(uint32_t ms) {
    bool ready = false;
    return CheckOpen() && WaitFor(POLLIN, static_cast<int>(ms), ready);
}

bool PosixSerialDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    return Transfer(
        [this, buffer](size_t at, size_t left) { return ::read(fd_, buffer + at, left); }, count,
        done, POLLIN, readTimeoutMs_);
}

bool PosixSerialDevice::Write(const uint8_t* data, size_t count, size_t& done) {
    return Transfer([this, data](size_t at, size_t left) { return ::write(fd_, data + at, left); },
                    count, done, POLLOUT, writeTimeoutMs_);
}

// Moves count bytes with a non-blocking call, waiting for the port between partial transfers
// until the time-out; what was moved by then counts.
bool PosixSerialDevice::Transfer(const std::function<ssize_t(size_t, size_t)>& move, size_t count,
                                 size_t& done, short events, uint32_t timeoutMs) {
    done = 0;
    if (!CheckOpen()) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (done < count) {
        const ssize_t moved = move(done, count - done);
        if (moved > 0) {
            done += static_cast<size_t>(moved);
            continue;
        }
        if (moved < 0 && errno != EAGAIN && errno != EINTR) {
            return Fail();
        }
        bool ready = false;
        if (!WaitFor(events, RemainingMs(deadline), ready)) {
            return false;
        }
        if (!ready) {
            break;
        }
    }
    return true;
}

bool PosixSerialDevice::Purge(uint32_t flags) {
    if (!CheckOpen()) {
        return false;
    }
    if ((flags & kPurgeRxClear) && ::tcflush(fd_, TCIFLUSH) != 0) {
        return Fail();
    }
    // On a pseudo-terminal the bytes "in the transmit queue" are already with the far end, in
    // its input: flushing them would take back what a serial line has sent.
    if ((flags & kPurgeTxClear) && !pseudoTerminal_ && ::tcflush(fd_, TCOFLUSH) != 0) {
        return Fail();
    }
    return true;
}

bool PosixSerialDevice::SetBreak(bool on) {
    if (!CheckAlive()) {
        return false;
    }
    if (::ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) != 0) {
        return Fail();
    }
    return true;
}

bool PosixSerialDevice::Exists(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    lastError_ = errno;
    return errno != ENOENT && errno != ENODEV && errno != ENXIO;
}

int PosixSerialDevice::LastError() const {
    return lastError_;
}

std::string PosixSerialDevice::LastErrorMessage() const {
    const std::string system = std::strerror(lastError_);
    return errorDetail_.empty() ? system : system + ": " + errorDetail_;
}

bool PosixSerialDevice::FailSaying(int error, std::string detail) {
    Fail(error);
    errorDetail_ = std::move(detail);
    return false;
}

bool PosixSerialDevice::Fail() {
    return Fail(errno);
}

bool PosixSerialDevice::Fail(int error) {
    lastError_ = error;
    errorDetail_.clear();
    return false;
}

bool PosixSerialDevice::CheckOpen() {
    return fd_ >= 0 || Fail(EBADF);
}

bool PosixSerialDevice::CheckAlive() {
    bool ready = false;
    return CheckOpen() && WaitFor(0, 0, ready);
}

bool PosixSerialDevice::WaitFor(short events, int timeoutMs, bool& ready) {
    pollfd entry{fd_, events, 0};
    int result = 0;
    do {
        result = ::poll(&entry, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        return Fail();
    }
    if (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) {
        return Fail(EIO);
    }
    ready = result > 0;
    return true;
}

bool PosixSerialDevice::QueueCount(unsigned long request, uint32_t& count) {
    count = 0;
    if (!CheckAlive()) {
        return false;
    }
    int queued = 0;
    if (::ioctl(fd_, request, &queued) != 0) {
        return Fail();
    }
    count = static_cast<uint32_t>(queued);
    return true;
}

}  // namespace brennix
