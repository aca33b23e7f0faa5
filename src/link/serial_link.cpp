#include "link/serial_link.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>

namespace brennix {

namespace {

constexpr size_t kFlushChunk = 512;
constexpr uint32_t kInputPollMs = 1;
constexpr uint32_t kBreakLineTimeoutMs = 1000;
constexpr uint32_t kBreakLeadInMs = 100;
constexpr std::string_view kBreakLeadLine = "  \r\n";

const uint8_t* Bytes(const char* text) {
    return reinterpret_cast<const uint8_t*>(text);
}

// Empties a reply buffer and terminates its last byte, which is never written after; false when
// it cannot hold one byte besides.
bool StartReply(std::span<char> buffer) {
    if (buffer.empty()) {
        return false;
    }
    buffer.front() = '\0';
    buffer.back() = '\0';
    return buffer.size() >= 2;
}

void StoreByte(std::span<char> buffer, size_t& stored, uint8_t byte) {
    buffer[stored++] = static_cast<char>(byte);
    buffer[stored] = '\0';
}

}  // namespace

CSerialLink::CSerialLink(SerialDevice& device, Clock& clock)
    : device_(device), clock_(clock), tap_(clock), waits_(clock) {}

CSerialLink::~CSerialLink() {
    if (device_.IsOpen()) {
        device_.Close();
    }
}

bool CSerialLink::Open(const std::string& portName, uint32_t baudRate, uint8_t dataBits,
                       uint8_t parity, uint8_t stopBits) {
    Close();
    if (!device_.Open(portName)) {
        return false;
    }
    SerialState state;
    if (!device_.GetState(state)) {
        Close();
        return false;
    }
    state.baudRate = baudRate;
    state.dataBits = dataBits;
    state.parity = parity;
    state.stopBits = stopBits;
    state.parityCheck = parity != kNoParity;
    if (!device_.SetState(state)) {
        Close();
        return false;
    }
    tap_.Print("\r\nConnected to " + portName + " at " + std::to_string(baudRate) + "\r\n");
    portName_ = portName;
    if (!device_.SetQueueSizes(kQueueSize, kQueueSize)) {
        tap_.Print("Unable to set com buffer size to 16384!\r\n");
    }
    return true;
}

void CSerialLink::Close() {
    if (device_.IsOpen()) {
        device_.Close();
        tap_.Print("\r\nDisconnected");
    }
    portName_.clear();
}

bool CSerialLink::IsOpen() const {
    return device_.IsOpen();
}

bool CSerialLink::PortLost() {
    SerialState state;
    return !IsOpen() || !device_.GetState(state);
}

void CSerialLink::Revalidate() {
    if (portName_.empty()) {
        return;
    }
    SerialState state;
    if (device_.GetState(state)) {
        return;
    }
    const std::string name = portName_;
    Close();
    if (!device_.Open(name)) {
        // The number alone means nothing to a technician: the system's words follow it.
        tap_.Print("\r\nConnect to " + name + " failed: error " + std::to_string(LastError()) +
                   " (" + LastErrorMessage() + ")");
        return;
    }
    portName_ = name;
    if (device_.GetState(state)) {
        tap_.Print("\r\nReconnected to " + name + " at " + std::to_string(state.baudRate) + "\r\n");
    }
}

bool CSerialLink::ReadChar(uint8_t& out, uint32_t timeoutMs, bool echo) {
    if (timeoutMs > 0) {
        const uint32_t start = clock_.TickCount();
        while (BytesWaiting() == 0) {
            if (TimedOut(start, timeoutMs)) {
                return false;
            }
            AwaitInput();
        }
    }
    size_t done = 0;
    if (!ReadPort(&out, 1, done) || done != 1) {
        return false;
    }
    if (echo && out != 0) {
        tap_.Show(&out, 1);
    }
    return true;
}

bool CSerialLink::WriteChar(uint8_t byte, uint32_t timeoutMs) {
    return WriteAll(&byte, 1, clock_.TickCount(), timeoutMs);
}

bool CSerialLink::Read(std::span<uint8_t> buffer, size_t& done, uint32_t timeoutMs, bool echo) {
    done = 0;
    if (timeoutMs == 0) {
        const bool ok = ReadPort(buffer.data(), buffer.size(), done);
        if (echo) {
            tap_.Show(buffer.data(), done);
        }
        return ok;
    }
    if (buffer.empty()) {
        return true;
    }
    const uint32_t start = clock_.TickCount();
    for (;;) {
        const uint32_t waiting = BytesWaiting();
        if (waiting > 0) {
            uint8_t* const at = buffer.data() + done;
            const size_t wanted = std::min<size_t>(waiting, buffer.size() - done);
            size_t got = 0;
            if (!ReadPort(at, wanted, got)) {
                return false;
            }
            if (echo) {
                tap_.Show(at, got);
            }
            done += got;
            if (done == buffer.size()) {
                return true;
            }
        } else {
            AwaitInput();
        }
        if (TimedOut(start, timeoutMs)) {
            return false;
        }
    }
}

bool CSerialLink::WriteBytes(std::span<const uint8_t> data, size_t& done, bool echo) {
    done = 0;
    const bool ok = device_.Write(data.data(), data.size(), done);
    if (echo) {
        tap_.Show(data.data(), done);
    }
    return ok;
}

bool CSerialLink::Write(const std::string& text, uint32_t timeoutMs, bool appendCrLf) {
    const uint32_t start = clock_.TickCount();
    // The text ends at its first zero byte, as any C text handed to the port would.
    if (!WriteAll(Bytes(text.c_str()), std::strlen(text.c_str()), start, timeoutMs)) {
        return false;
    }
    return !appendCrLf || WriteAll(Bytes("\r\n"), 2, start, timeoutMs);
}

bool CSerialLink::ReadLine(std::span<char> buffer, uint32_t timeoutMs, bool skipBlankFirstLine) {
    if (!StartReply(buffer)) {
        return false;
    }
    const size_t capacity = buffer.size() - 1;
    size_t stored = 0;
    const auto finish = [&](bool result) {
        tap_.Show(Bytes(buffer.data()), stored);
        return result;
    };
    const uint32_t start = clock_.TickCount();
    for (;;) {
        uint8_t byte = 0;
        size_t got = 0;
        if (BytesWaiting() > 0 && !ReadPort(&byte, 1, got)) {
            return finish(false);
        }
        if (got == 1) {
            StoreByte(buffer, stored, byte);
            if (byte == 0) {
                return finish(true);
            }
            const bool lineEnd =
                stored >= 2 && buffer[stored - 2] == '\r' && buffer[stored - 1] == '\n';
            if (lineEnd && !(stored == 2 && skipBlankFirstLine)) {
                return finish(true);
            }
            if (stored == capacity) {
                return finish(true);
            }
        } else {
            if (TimedOut(start, timeoutMs)) {
                return finish(false);
            }
            AwaitInput();
        }
    }
}

bool CSerialLink::ReadUntil(std::span<char> buffer, const std::string& token, uint32_t timeoutMs,
                            char stopChar, bool echo) {
    if (!StartReply(buffer)) {
        return false;
    }
    const size_t capacity = buffer.size() - 1;
    size_t stored = 0;
    const auto finish = [&](bool result) {
        if (echo) {
            tap_.Show(Bytes(buffer.data()), stored);
        }
        return result;
    };
    const uint32_t start = clock_.TickCount();
    for (;;) {
        const uint32_t waiting = BytesWaiting();
        uint8_t byte = 0;
        size_t got = 0;
        if (waiting > 0) {
            if (!ReadPort(&byte, 1, got)) {
                return finish(false);
            }
            if (got == 1) {
                StoreByte(buffer, stored, byte);
            }
            // The token is looked for after every byte, so a new match can only end here.
            if (std::string_view(buffer.data(), stored).ends_with(token)) {
                return finish(true);
            }
            if (stored == capacity) {
                return finish(false);
            }
        } else if (stopChar != '\0' && stored > 0 && buffer[stored - 1] == stopChar) {
            buffer[--stored] = '\0';
            return finish(false);
        }
        // Bytes already waiting are taken first; a port that claims bytes but yields none
        // still runs into the time-out.
        if (got == 0) {
            if (TimedOut(start, timeoutMs)) {
                return finish(false);
            }
            AwaitInput();
        }
    }
}

uint32_t CSerialLink::BytesWaiting() {
    uint32_t count = 0;
    return device_.BytesWaiting(count) ? count : 0;
}

bool CSerialLink::FlushInput(bool discard) {
    if (!IsOpen()) {
        return false;
    }
    std::array<uint8_t, kFlushChunk> chunk{};
    size_t shown = 0;
    for (uint32_t waiting = BytesWaiting(); waiting > 0; waiting = BytesWaiting()) {
        size_t done = 0;
        const size_t wanted = std::min<size_t>(waiting, chunk.size());
        const bool ok = Read(std::span(chunk.data(), wanted), done, 0, true);
        shown += done;
        // Without discard, a line that never falls silent is shown for one queue's worth only.
        if (discard || !ok || done == 0 || shown >= kQueueSize) {
            break;
        }
    }
    return discard ? Purge(kPurgeRxClear) : true;
}

uint32_t CSerialLink::BytesPending() {
    uint32_t count = 0;
    return device_.BytesPending(count) ? count : 0;
}

bool CSerialLink::WaitSent(uint32_t timeoutMs) {
    const uint32_t start = clock_.TickCount();
    while (BytesPending() > 0) {
        if (TimedOut(start, timeoutMs)) {
            return false;
        }
        waits_.Wait(kInputPollMs);
    }
    return true;
}

uint32_t CSerialLink::GetBaudRate() {
    SerialState state;
    return GetState(state) ? state.baudRate : 0;
}

bool CSerialLink::SetBaudRate(uint32_t baudRate) {
    SerialState state;
    if (!GetState(state)) {
        return false;
    }
    state.baudRate = baudRate;
    return SetState(state);
}

void CSerialLink::ShowStatus() {
    SerialState state;
    if (GetState(state)) {
        tap_.Print("\r\nConnected to " + portName_ + " at " + std::to_string(state.baudRate) +
                   "\r\n");
    } else {
        tap_.Print("\r\nNot connected\r\n");
    }
}

// Between two polls of the receive queue. Where the port can tell, the wait ends the moment a
// byte arrives, so a reply is taken at once rather than up to a poll step late; while a script
// runs, the lease's UiHost keeps the window alive instead.
void CSerialLink::AwaitInput() {
    if (waits_.Pumping() || waits_.StopRequested() || !device_.WaitForInput(kInputPollMs)) {
        waits_.Wait(kInputPollMs);
    }
}

bool CSerialLink::SendBreak() {
    // A port that cannot carry a BREAK sends nothing in its place: it says why, and fails.
    if (!device_.Capabilities().sendBreak) {
        device_.SetBreak(true);
        tap_.Print("\r\n" + LastErrorMessage() + "\r\n");
        return false;
    }
    tap_.Print("<BREAK>\r\n");
    // Two lines of blanks first, so an instrument that cannot see a BREAK still wakes.
    size_t done = 0;
    device_.Write(Bytes(kBreakLeadLine.data()), kBreakLeadLine.size(), done);
    Write(std::string(kBreakLeadLine), kBreakLineTimeoutMs, false);
    waits_.Wait(kBreakLeadInMs);
    if (!device_.SetBreak(true)) {
        return false;
    }
    waits_.Wait(kBreakMs);
    return device_.SetBreak(false);
}

bool CSerialLink::Purge(uint32_t flags) {
    return device_.Purge(flags);
}

bool CSerialLink::GetState(SerialState& state) {
    return device_.GetState(state);
}

bool CSerialLink::SetState(const SerialState& state) {
    if (device_.SetState(state)) {
        return true;
    }
    if (!device_.Capabilities().changeSettings) {
        tap_.Print("\r\n" + LastErrorMessage() + "\r\n");
    }
    return false;
}

bool CSerialLink::PortExists(const std::string& portName) {
    return device_.Exists(portName);
}

int CSerialLink::LastError() const {
    return device_.LastError();
}

std::string CSerialLink::LastErrorMessage() const {
    return device_.LastErrorMessage();
}

bool CSerialLink::ReadPort(uint8_t* buffer, size_t count, size_t& done) {
    const bool ok = device_.Read(buffer, count, done);
    bytesReceived_ += done;
    return ok;
}

bool CSerialLink::WriteAll(const uint8_t* data, size_t count, uint32_t startTick,
                           uint32_t timeoutMs) {
    size_t written = 0;
    while (written < count) {
        size_t done = 0;
        const bool ok = device_.Write(data + written, count - written, done);
        written += std::min(done, count - written);
        if (written == count) {
            break;
        }
        if (TimedOut(startTick, timeoutMs)) {
            return false;
        }
        if (!ok || done == 0) {
            waits_.Wait(1);
        }
    }
    return true;
}

// A stop request counts as a time-out, so every timed loop of the link ends on it.
bool CSerialLink::TimedOut(uint32_t startTick, uint32_t timeoutMs) {
    return waits_.StopRequested() || HasExpired(startTick, clock_.TickCount(), timeoutMs);
}

}  // namespace brennix
