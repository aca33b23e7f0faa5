#include "platform/win32_serial_device.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/com_port_name.h"
#include "platform/windows_text.h"

namespace brennix {

namespace {

static_assert(kPurgeTxClear == PURGE_TXCLEAR && kPurgeRxClear == PURGE_RXCLEAR);
static_assert(kNoParity == NOPARITY && kOneStopBit == ONESTOPBIT && kTwoStopBits == TWOSTOPBITS);

// Between two reads that found nothing: the link itself polls at this pace.
constexpr DWORD kReadPollMs = 1;
// Parity codes as SerialState counts them: none, odd, even, mark, space, as Windows does.
constexpr uint8_t kLastParity = SPACEPARITY;

HANDLE OpenPort(const std::string& name) {
    return ::CreateFileW(WideText(ComPortPath(name)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                         nullptr, OPEN_EXISTING, 0, nullptr);
}

// The errors of CreateFileW for a name that is no port at all; any other refusal (another
// program has it, say) means the port is there.
bool NoSuchPort(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_DEV_NOT_EXIST || error == ERROR_INVALID_NAME;
}

bool ReadCommState(HANDLE handle, DCB& settings) {
    settings = DCB{};
    settings.DCBlength = sizeof settings;
    return ::GetCommState(handle, &settings) != 0;
}

// Bytes pass unchanged both ways without flow control; DTR and RTS are on, as instruments powered
// or woken by them expect. A line error neither stops the port nor changes a byte.
void MakeRaw(DCB& settings) {
    settings.fBinary = TRUE;
    settings.fOutxCtsFlow = FALSE;
    settings.fOutxDsrFlow = FALSE;
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fDsrSensitivity = FALSE;
    settings.fTXContinueOnXoff = TRUE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fErrorChar = FALSE;
    settings.fNull = FALSE;
    settings.fRtsControl = RTS_CONTROL_ENABLE;
    settings.fAbortOnError = FALSE;
}

bool ValidFraming(const SerialState& state) {
    return state.baudRate > 0 && state.dataBits >= 5 && state.dataBits <= 8 &&
           state.parity <= kLastParity &&
           (state.stopBits == kOneStopBit || state.stopBits == kTwoStopBits);
}

DWORD Chunk(size_t count) {
    return static_cast<DWORD>(std::min<size_t>(count, MAXDWORD));
}

}  // namespace

Win32SerialDevice::Win32SerialDevice(uint32_t readTimeoutMs, uint32_t writeTimeoutMs)
    : readTimeoutMs_(readTimeoutMs), writeTimeoutMs_(writeTimeoutMs) {}

Win32SerialDevice::~Win32SerialDevice() {
    Close();
}

bool Win32SerialDevice::Open(const std::string& name) {
    Close();
    const HANDLE handle = OpenPort(name);
    if (handle == INVALID_HANDLE_VALUE) {
        return FailToOpen(::GetLastError());
    }
    handle_ = handle;
    if (!Configure()) {
        Close();
        return false;
    }
    lastError_ = ERROR_SUCCESS;
    errorDetail_.clear();
    return true;
}

bool Win32SerialDevice::Configure() {
    DCB settings;
    if (!ReadCommState(handle_, settings)) {
        return FailSaying(::GetLastError(), "not a serial port");
    }
    MakeRaw(settings);
    if (!::SetCommState(handle_, &settings)) {
        return Fail();
    }
    // Reads return at once with what has arrived; Read does its own waiting, as the link polls.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = writeTimeoutMs_;
    return ::SetCommTimeouts(handle_, &timeouts) != 0 || Fail();
}

void Win32SerialDevice::Close() {
    if (handle_ == nullptr) {
        return;
    }
    ::CloseHandle(handle_);
    handle_ = nullptr;
}

bool Win32SerialDevice::IsOpen() const {
    return handle_ != nullptr;
}

bool Win32SerialDevice::GetState(SerialState& state) {
    // GetCommState answers from what the driver remembers even for a port that is gone; the
    // queue counts fail then.
    uint32_t received = 0;
    uint32_t toSend = 0;
    DCB settings;
    if (!QueueCounts(received, toSend)) {
        return false;
    }
    if (!ReadCommState(handle_, settings)) {
        return Fail();
    }
    state.baudRate = settings.BaudRate;
    state.dataBits = settings.ByteSize;
    state.parity = settings.Parity;
    state.stopBits = settings.StopBits;
    state.parityCheck = settings.fParity != 0;
    return true;
}

bool Win32SerialDevice::SetState(const SerialState& state) {
    DCB settings;
    if (!CheckOpen()) {
        return false;
    }
    if (!ValidFraming(state)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (!ReadCommState(handle_, settings)) {
        return Fail();
    }
    settings.BaudRate = state.baudRate;
    settings.ByteSize = state.dataBits;
    settings.Parity = state.parity;
    settings.StopBits = state.stopBits;
    settings.fParity = state.parityCheck ? TRUE : FALSE;
    return ::SetCommState(handle_, &settings) != 0 || Fail();
}

bool Win32SerialDevice::SetQueueSizes(size_t receiveBytes, size_t transmitBytes) {
    return CheckOpen() &&
           (::SetupComm(handle_, Chunk(receiveBytes), Chunk(transmitBytes)) != 0 || Fail());
}

bool Win32SerialDevice::BytesWaiting(uint32_t& count) {
    uint32_t toSend = 0;
    return QueueCounts(count, toSend);
}

bool Win32SerialDevice::BytesPending(uint32_t& count) {
    uint32_t received = 0;
    return QueueCounts(received, count);
}

bool Win32SerialDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    done = 0;
    if (!CheckOpen()) {
        return false;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(readTimeoutMs_);
    while (done < count) {
        DWORD got = 0;
        if (!::ReadFile(handle_, buffer + done, Chunk(count - done), &got, nullptr)) {
            return Fail();
        }
        done += got;
        if (got > 0) {
            continue;
        }
        // Nothing read is also all a port that went away gives; its queue count tells.
        uint32_t waiting = 0;
        if (!BytesWaiting(waiting)) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        ::Sleep(kReadPollMs);
    }
    return true;
}

bool Win32SerialDevice::Write(const uint8_t* data, size_t count, size_t& done) {
    done = 0;
    DWORD written = 0;
    if (!CheckOpen()) {
        return false;
    }
    if (!::WriteFile(handle_, data, Chunk(count), &written, nullptr)) {
        return Fail();
    }
    done = written;
    return true;
}

bool Win32SerialDevice::Purge(uint32_t flags) {
    return CheckOpen() &&
           (::PurgeComm(handle_, flags & (PURGE_TXCLEAR | PURGE_RXCLEAR)) != 0 || Fail());
}

bool Win32SerialDevice::SetBreak(bool on) {
    uint32_t received = 0;
    uint32_t toSend = 0;
    if (!QueueCounts(received, toSend)) {
        return false;
    }
    return (on ? ::SetCommBreak(handle_) : ::ClearCommBreak(handle_)) != 0 || Fail();
}

bool Win32SerialDevice::Exists(const std::string& name) {
    const HANDLE handle = OpenPort(name);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return true;
    }
    FailToOpen(::GetLastError());
    return !NoSuchPort(lastError_);
}

int Win32SerialDevice::LastError() const {
    return static_cast<int>(lastError_);
}

std::string Win32SerialDevice::LastErrorMessage() const {
    const std::string system = SystemErrorText(lastError_);
    return errorDetail_.empty() ? system : system + ": " + errorDetail_;
}

bool Win32SerialDevice::Fail() {
    return Fail(::GetLastError());
}

bool Win32SerialDevice::Fail(unsigned long error) {
    lastError_ = error;
    errorDetail_.clear();
    return false;
}

bool Win32SerialDevice::FailSaying(unsigned long error, std::string detail) {
    Fail(error);
    errorDetail_ = std::move(detail);
    return false;
}

// Windows opens a port for one program at a time and tells no one which program has it.
bool Win32SerialDevice::FailToOpen(unsigned long error) {
    if (error == ERROR_ACCESS_DENIED) {
        return FailSaying(error, "in use by another program");
    }
    if (NoSuchPort(error)) {
        return FailSaying(error, "no such port");
    }
    return Fail(error);
}

bool Win32SerialDevice::CheckOpen() {
    return handle_ != nullptr || Fail(ERROR_INVALID_HANDLE);
}

bool Win32SerialDevice::QueueCounts(uint32_t& received, uint32_t& toSend) {
    received = 0;
    toSend = 0;
    if (!CheckOpen()) {
        return false;
    }
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(handle_, &errors, &status)) {
        return Fail();
    }
    received = status.cbInQue;
    toSend = status.cbOutQue;
    return true;
}

}  // namespace brennix
