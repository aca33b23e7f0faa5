// Plays an instrument whose recorder answers "bdir" with whatever the input holds: the input is a
// series of chunks (a length byte, then that many bytes), one released each time the host
// acknowledges, rejects or stops. The host must come back with a listing or a failure, never a
// crash, an overrun or a hang; every entry it lists is one whole 28-byte block.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "instrument/instrument.h"
#include "link/link_lease.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "platform/stop_event.h"
#include "platform/ui_host.h"
#include "recorder/recorder_access.h"

namespace {

using namespace brennix;

class SilentUi : public UiHost {
  public:
    MessageResult ShowMessage(const std::string&, const std::string&, MessageButtons,
                              MessageIcon) override {
        return MessageResult::kOk;
    }
    void SetWaitCursor(bool) override {}
    void PumpMessages(uint32_t) override {}
};

// The far end: a prompt for every line, the ready signal after "bdir", then one chunk of the
// input per protocol byte. Nothing arrives between the host's bytes, so while the host waits the
// clock is moved on in large steps: its time-outs come after a few polls, with the same outcome.
// Once the input is used up and the host waits for more, the stop is set, so every wait of the
// link ends at once.
class RecorderStream : public SerialDevice {
  public:
    static constexpr uint32_t kIdleStepMs = 500;

    RecorderStream(const uint8_t* data, size_t size, VirtualClock& clock, StopEvent& dry)
        : clock_(clock), dry_(dry) {
        for (size_t at = 0; at < size;) {
            const size_t length = data[at++];
            const size_t taken = std::min(length, size - at);
            chunks_.emplace_back(reinterpret_cast<const char*>(data + at), taken);
            at += taken;
        }
    }

    bool Open(const std::string&) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    bool GetState(SerialState& state) override {
        state = {};
        return true;
    }
    bool SetState(const SerialState&) override { return true; }
    bool SetQueueSizes(size_t, size_t) override { return true; }
    bool BytesWaiting(uint32_t& count) override {
        if (queue_.empty()) {
            if (chunks_.empty()) {
                dry_.Set();
            }
            clock_.Advance(kIdleStepMs);
        }
        count = static_cast<uint32_t>(queue_.size());
        return true;
    }
    bool BytesPending(uint32_t& count) override {
        count = 0;
        return true;
    }
    bool Read(uint8_t* buffer, size_t count, size_t& done) override {
        for (done = 0; done < count && !queue_.empty(); ++done) {
            buffer[done] = static_cast<uint8_t>(queue_.front());
            queue_.pop_front();
        }
        return true;
    }
    bool Write(const uint8_t* data, size_t count, size_t& done) override {
        written_ += count;
        const std::string text(reinterpret_cast<const char*>(data), count);
        if (text == "a" || text == "b" || text == "d") {
            Release();
        } else if (text.starts_with("bdir")) {
            Queue("bdir\r\nOK\r\nc");
        } else if (text.find('\r') != std::string::npos) {
            Queue("\r\n>");
        }
        done = count;
        return true;
    }
    bool Purge(uint32_t flags) override {
        if (flags & kPurgeRxClear) {
            queue_.clear();
        }
        return true;
    }
    bool SetBreak(bool) override { return true; }
    bool Exists(const std::string&) override { return true; }
    int LastError() const override { return 0; }
    std::string LastErrorMessage() const override { return {}; }
    // How many bytes the host has sent.
    size_t Written() const { return written_; }

  private:
    void Queue(const std::string& bytes) {
        queue_.insert(queue_.end(), bytes.begin(), bytes.end());
    }
    void Release() {
        if (!chunks_.empty()) {
            Queue(chunks_.front());
            chunks_.pop_front();
        }
    }

    VirtualClock& clock_;
    StopEvent& dry_;
    std::deque<std::string> chunks_;
    std::deque<char> queue_;
    size_t written_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VirtualClock clock;
    StopEvent dry;
    RecorderStream stream(data, size, clock, dry);
    SilentUi ui;
    CSerialLink link(stream, clock);
    CInstrument instrument(clock, ui);
    instrument.SetLink(&link);
    CRecorderAccess access(instrument);
    const LinkLease lease(link, &dry);
    std::vector<RecorderFileEntry> entries;
    if (!access.ReadDirectory(entries)) {
        return 0;
    }
    // A directory that was read is not asked for again; the used space comes in whole units of
    // 64 KiB.
    const size_t written = stream.Written();
    uint32_t used = 0;
    uint32_t total = 0;
    if (!access.GetSpace(used, total) || stream.Written() != written ||
        entries.size() > CRecorderAccess::kMaxEntries || used % 65536 != 0) {
        __builtin_trap();
    }
    return 0;
}
