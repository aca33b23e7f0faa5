#include "platform/network_serial_device.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/deadline.h"

namespace brennix {

namespace {

// What may wait unsent before a write takes no more: about a second at 115200 baud.
constexpr size_t kOutboxLimit = 16384;
constexpr int kByteBits = 8;

using Deadline = std::chrono::steady_clock::time_point;

Deadline After(uint32_t ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

std::vector<uint8_t> BigEndian(uint32_t value) {
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

bool SameSettings(const SerialState& a, const SerialState& b) {
    return a.baudRate == b.baudRate && a.dataBits == b.dataBits && a.parity == b.parity &&
           a.stopBits == b.stopBits;
}

}  // namespace

NetworkSerialDevice::NetworkSerialDevice(uint32_t readTimeoutMs, uint32_t writeTimeoutMs)
    : readTimeoutMs_(readTimeoutMs), writeTimeoutMs_(writeTimeoutMs) {}

NetworkSerialDevice::~NetworkSerialDevice() {
    Close();
}

bool NetworkSerialDevice::Open(const std::string& name) {
    Close();
    std::string error;
    std::optional<NetworkPortName> parsed = ParseNetworkPortName(name, error);
    if (!parsed) {
        return Fail(EINVAL, error);
    }
    std::unique_ptr<TelnetChannel> telnet;
    if (parsed->protocol == NetworkProtocol::kRfc2217) {
        TelnetChannel::Handler& handler = *this;
        telnet = TelnetChannel::Make(TelnetChannel::Role::kClient, handler);
        if (!telnet) {
            return Fail(ENOTSUP, "RFC 2217 ports are not available in this build; use " +
                                     NetworkPortText(NetworkProtocol::kRawTcp, *parsed));
        }
    }
    if (!connection_.Connect(parsed->host, parsed->port, kConnectTimeoutMs)) {
        return Fail(connection_.Error(), connection_.ErrorMessage());
    }
    name_ = std::move(parsed);
    lastError_ = kErrorNone;
    errorDetail_.clear();
    if (telnet) {
        telnet_ = std::move(telnet);
        telnet_->Start();
        if (!AwaitComPort() || !ReadServerState()) {
            const int failure = lastError_;
            std::string detail = errorDetail_;
            Close();
            return Fail(failure, std::move(detail));
        }
    }
    return true;
}

void NetworkSerialDevice::Close() {
    connection_.Close();
    telnet_.reset();
    name_.reset();
    inbox_.clear();
    outbox_.clear();
    answers_.clear();
    comPortAgreed_.reset();
    state_ = {};
    settingsGiven_ = false;
    lost_ = false;
}

bool NetworkSerialDevice::IsOpen() const {
    return connection_.IsOpen();
}

bool NetworkSerialDevice::GetState(SerialState& state) {
    if (!CheckAlive()) {
        return false;
    }
    state = state_;
    return true;
}

bool NetworkSerialDevice::SetState(const SerialState& state) {
    if (!CheckAlive()) {
        return false;
    }
    if (!Rfc2217()) {
        if (settingsGiven_ && !SameSettings(state, state_)) {
            return FailNotCarried("a change of rate or framing");
        }
        state_ = state;
        settingsGiven_ = true;
        return true;
    }
    if (state.baudRate == 0 || state.dataBits < 5 || state.dataBits > kByteBits ||
        state.parity > 4) {
        return Fail(EINVAL, "no such port settings");
    }
    const uint8_t stopSize =
        state.stopBits == kTwoStopBits ? rfc2217::kTwoStopBits : rfc2217::kOneStopBit;
    const std::vector<Request> requests = {
        {rfc2217::kSetBaudRate, BigEndian(state.baudRate)},
        {rfc2217::kSetDataSize, {state.dataBits}},
        {rfc2217::kSetParity, {static_cast<uint8_t>(state.parity + rfc2217::kParityOffset)}},
        {rfc2217::kSetStopSize, {stopSize}},
    };
    if (!Exchange(requests) || !CheckAnswers(state)) {
        return false;
    }
    state_ = state;
    return true;
}

// A server that answers with other settings than those asked for has refused them.
bool NetworkSerialDevice::CheckAnswers(const SerialState& asked) {
    const uint32_t rate = Answered(rfc2217::kSetBaudRate);
    if (rate != asked.baudRate) {
        return Fail(EINVAL, "the device server refused " + std::to_string(asked.baudRate) +
                                " baud (it answered " + std::to_string(rate) + ")");
    }
    if (Answered(rfc2217::kSetDataSize) != asked.dataBits ||
        Answered(rfc2217::kSetParity) != uint32_t{asked.parity} + rfc2217::kParityOffset ||
        Answered(rfc2217::kSetStopSize) !=
            (asked.stopBits == kTwoStopBits ? rfc2217::kTwoStopBits : rfc2217::kOneStopBit)) {
        return Fail(EINVAL, "the device server refused the framing");
    }
    return true;
}

// The server's own settings, asked with the value 0, stand until the link sets its own.
bool NetworkSerialDevice::ReadServerState() {
    const std::vector<Request> queries = {
        {rfc2217::kSetBaudRate, BigEndian(0)},
        {rfc2217::kSetDataSize, {0}},
        {rfc2217::kSetParity, {0}},
        {rfc2217::kSetStopSize, {0}},
    };
    if (!Exchange(queries)) {
        return false;
    }
    state_.baudRate = Answered(rfc2217::kSetBaudRate);
    state_.dataBits = static_cast<uint8_t>(Answered(rfc2217::kSetDataSize));
    const uint32_t parity = Answered(rfc2217::kSetParity);
    state_.parity = static_cast<uint8_t>(parity > 0 ? parity - rfc2217::kParityOffset : 0);
    state_.stopBits =
        Answered(rfc2217::kSetStopSize) == rfc2217::kTwoStopBits ? kTwoStopBits : kOneStopBit;
    state_.parityCheck = state_.parity != kNoParity;
    return true;
}

bool NetworkSerialDevice::SetQueueSizes(size_t, size_t) {
    return CheckOpen();
}

bool NetworkSerialDevice::BytesWaiting(uint32_t& count) {
    count = 0;
    if (!CheckAlive()) {
        return false;
    }
    count = static_cast<uint32_t>(inbox_.size());
    return true;
}

bool NetworkSerialDevice::BytesPending(uint32_t& count) {
    count = 0;
    if (!CheckAlive()) {
        return false;
    }
    count = static_cast<uint32_t>(outbox_.size()) + connection_.Unsent();
    return true;
}

bool NetworkSerialDevice::WaitForInput(uint32_t ms) {
    if (!inbox_.empty()) {
        return true;
    }
    bool ready = false;
    return CheckOpen() && !lost_ &&
           connection_.Wait(TcpConnection::Readiness::kToReceive, static_cast<int>(ms), ready);
}

bool NetworkSerialDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    done = 0;
    const Deadline deadline = After(readTimeoutMs_);
    for (;;) {
        if (!CheckAlive()) {
            return false;
        }
        const size_t taken = std::min(count - done, inbox_.size());
        std::copy_n(inbox_.begin(), taken, buffer + done);
        inbox_.erase(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(taken));
        done += taken;
        bool ready = false;
        if (done == count ||
            !connection_.Wait(TcpConnection::Readiness::kToReceive, RemainingMs(deadline), ready) ||
            !ready) {
            return true;
        }
    }
}

// Bytes handed over count as written, as those in a tty's transmit queue do.
bool NetworkSerialDevice::Write(const uint8_t* data, size_t count, size_t& done) {
    done = 0;
    if (!CheckAlive()) {
        return false;
    }
    const Deadline deadline = After(writeTimeoutMs_);
    if (outbox_.size() >= kOutboxLimit && !Flush(deadline)) {
        return false;
    }
    if (outbox_.size() >= kOutboxLimit) {
        return true;
    }
    if (Rfc2217()) {
        telnet_->SendData({data, count});
    } else {
        outbox_.insert(outbox_.end(), data, data + count);
    }
    done = count;
    return Flush(deadline);
}

// The receive side is emptied here and, through RFC 2217, in the server; what the server sent
// before it heard the purge may still arrive, as bytes on a wire would.
bool NetworkSerialDevice::Purge(uint32_t flags) {
    if (!CheckAlive()) {
        return false;
    }
    if (flags & kPurgeRxClear) {
        inbox_.clear();
        if (Rfc2217()) {
            telnet_->SendComPort(rfc2217::kPurgeData, std::vector{rfc2217::kPurgeReceived});
        }
    }
    if ((flags & kPurgeTxClear) && Rfc2217()) {
        telnet_->SendComPort(rfc2217::kPurgeData, std::vector{rfc2217::kPurgeToSend});
    }
    return Pump();
}

bool NetworkSerialDevice::SetBreak(bool on) {
    if (!CheckAlive()) {
        return false;
    }
    if (!Rfc2217()) {
        return FailNotCarried("a BREAK");
    }
    // The answer only tells that the server has acted: servers differ in the value they report
    // (ser2net answers BREAK ON to either).
    return Exchange({{rfc2217::kSetControl, {on ? rfc2217::kBreakOn : rfc2217::kBreakOff}}});
}

PortCapabilities NetworkSerialDevice::Capabilities() const {
    if (!name_ || name_->protocol == NetworkProtocol::kRfc2217) {
        return {};
    }
    return {false, false,
            NetworkPortText(NetworkProtocol::kRawTcp, *name_) +
                " carries bytes only (raw TCP): the device server keeps its own rate and no "
                "BREAK reaches the instrument; " +
                NetworkPortText(NetworkProtocol::kRfc2217, *name_) + " carries both"};
}

bool NetworkSerialDevice::FailNotCarried(const std::string& what) {
    return Fail(ENOTSUP, what + " cannot be sent: " + Capabilities().limits);
}

// A well-formed name counts as existing: whether the server answers shows when it is opened.
bool NetworkSerialDevice::Exists(const std::string& name) {
    std::string error;
    return ParseNetworkPortName(name, error).has_value() || Fail(EINVAL, error);
}

int NetworkSerialDevice::LastError() const {
    return lastError_;
}

std::string NetworkSerialDevice::LastErrorMessage() const {
    return errorDetail_.empty() ? std::strerror(lastError_) : errorDetail_;
}

void NetworkSerialDevice::OnData(std::span<const uint8_t> data) {
    inbox_.insert(inbox_.end(), data.begin(), data.end());
}

void NetworkSerialDevice::OnSend(std::span<const uint8_t> bytes) {
    outbox_.insert(outbox_.end(), bytes.begin(), bytes.end());
}

void NetworkSerialDevice::OnComPort(uint8_t command, std::span<const uint8_t> value) {
    answers_[command] = {value.begin(), value.end()};
}

void NetworkSerialDevice::OnComPortAgreed(bool agreed) {
    comPortAgreed_ = agreed;
}

bool NetworkSerialDevice::Pump() {
    if (lost_) {
        return Fail(EIO, connection_.ErrorMessage());
    }
    std::vector<uint8_t> arrived;
    const bool alive = connection_.Receive(arrived);
    if (Rfc2217()) {
        telnet_->Receive(arrived);
    } else {
        inbox_.insert(inbox_.end(), arrived.begin(), arrived.end());
    }
    if (!alive) {
        return Lost();
    }
    return Flush(std::chrono::steady_clock::now());
}

bool NetworkSerialDevice::Flush(Deadline deadline) {
    while (!outbox_.empty()) {
        size_t sent = 0;
        if (!connection_.Send(outbox_.data(), outbox_.size(), sent)) {
            return Lost();
        }
        outbox_.erase(outbox_.begin(), outbox_.begin() + static_cast<std::ptrdiff_t>(sent));
        bool ready = false;
        if (outbox_.empty()) {
            break;
        }
        if (!connection_.Wait(TcpConnection::Readiness::kToSend, RemainingMs(deadline), ready)) {
            return Lost();
        }
        if (!ready) {
            break;
        }
    }
    return true;
}

bool NetworkSerialDevice::PumpUntil(const std::function<bool()>& done, Deadline deadline) {
    for (;;) {
        if (!Pump()) {
            return false;
        }
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        bool ready = false;
        if (!connection_.Wait(TcpConnection::Readiness::kToReceive, RemainingMs(deadline), ready)) {
            return Lost();
        }
    }
}

bool NetworkSerialDevice::AwaitComPort() {
    const bool heard =
        PumpUntil([this] { return comPortAgreed_.has_value(); }, After(kAnswerTimeoutMs));
    if (lost_) {
        return false;
    }
    const std::string server = name_->host + " port " + std::to_string(name_->port);
    const std::string raw =
        "; for a raw TCP port use " + NetworkPortText(NetworkProtocol::kRawTcp, *name_);
    if (!heard) {
        return Fail(ETIMEDOUT, server + " did not take up RFC 2217 within 2 s" + raw);
    }
    if (!*comPortAgreed_) {
        return Fail(EPROTO, server + " refused RFC 2217" + raw);
    }
    return true;
}

bool NetworkSerialDevice::Exchange(const std::vector<Request>& requests) {
    for (const Request& request : requests) {
        answers_.erase(static_cast<uint8_t>(request.command + rfc2217::kServerAnswer));
        telnet_->SendComPort(request.command, request.value);
    }
    const auto answered = [this, &requests] {
        return std::all_of(requests.begin(), requests.end(), [this](const Request& request) {
            return answers_.contains(
                static_cast<uint8_t>(request.command + rfc2217::kServerAnswer));
        });
    };
    if (PumpUntil(answered, After(kAnswerTimeoutMs))) {
        return true;
    }
    if (lost_) {
        return false;
    }
    return Fail(ETIMEDOUT,
                "the device server did not answer the port settings (RFC 2217) "
                "within 2 s");
}

uint32_t NetworkSerialDevice::Answered(uint8_t command) const {
    const auto found = answers_.find(static_cast<uint8_t>(command + rfc2217::kServerAnswer));
    uint32_t value = 0;
    if (found != answers_.end()) {
        for (const uint8_t byte : found->second) {
            value = (value << kByteBits) | byte;
        }
    }
    return value;
}

bool NetworkSerialDevice::CheckOpen() {
    return IsOpen() || Fail(EBADF, "");
}

bool NetworkSerialDevice::CheckAlive() {
    return CheckOpen() && Pump();
}

bool NetworkSerialDevice::Lost() {
    lost_ = true;
    return Fail(EIO, connection_.ErrorMessage());
}

bool NetworkSerialDevice::Fail(int error, std::string detail) {
    lastError_ = error;
    errorDetail_ = std::move(detail);
    return false;
}

}  // namespace brennix
