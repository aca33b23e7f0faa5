#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/serial_device.h"
#include "platform/stop_event.h"
#include "platform/ui_host.h"

namespace brennix::fuzz {

// A far end whose answers are the fuzzer's input: the input is a series of chunks (a length byte,
// then that many bytes), and what the host writes may release the next chunk (Answers decides;
// with breakReleases, so does the end of each BREAK). Nothing arrives between the host's writes,
// so while the host waits the clock is moved on in large steps: its time-outs come after a few
// polls, with the same outcome. Once the input is used up and the host waits for more, the dry
// event is set; a lease with it ends every wait of the link at once.
class ChunkedFarEnd : public SerialDevice {
  public:
    static constexpr uint32_t kIdleStepMs = 500;
    // What the far end does with what the host just wrote: ReleaseNext(), Queue() a reply of its
    // own, or nothing.
    using Answers = std::function<void(const std::string& written, ChunkedFarEnd& far)>;

    ChunkedFarEnd(const uint8_t* data, size_t size, VirtualClock& clock, StopEvent& dry,
                  Answers answers, bool breakReleases)
        : clock_(clock), dry_(dry), answers_(std::move(answers)), breakReleases_(breakReleases) {
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
        answers_(std::string(reinterpret_cast<const char*>(data), count), *this);
        done = count;
        return true;
    }
    bool Purge(uint32_t flags) override {
        if (flags & kPurgeRxClear) {
            queue_.clear();
        }
        return true;
    }
    bool SetBreak(bool on) override {
        if (!on && breakReleases_) {
            ReleaseNext();
        }
        return true;
    }
    bool Exists(const std::string&) override { return true; }
    int LastError() const override { return 0; }
    std::string LastErrorMessage() const override { return {}; }

    // How many bytes the host has sent.
    size_t Written() const { return written_; }
    // Makes bytes arrive at once, before the next chunk.
    void Queue(const std::string& bytes) {
        queue_.insert(queue_.end(), bytes.begin(), bytes.end());
    }
    // Makes the next chunk of the input arrive.
    void ReleaseNext() {
        if (!chunks_.empty()) {
            Queue(chunks_.front());
            chunks_.pop_front();
        }
    }

  private:
    VirtualClock& clock_;
    StopEvent& dry_;
    Answers answers_;
    bool breakReleases_;
    std::deque<std::string> chunks_;
    std::deque<char> queue_;
    size_t written_ = 0;
};

// The person at the host, giving every message box the same answer.
class FixedAnswerUi : public UiHost {
  public:
    explicit FixedAnswerUi(MessageResult answer) : answer_(answer) {}
    MessageResult ShowMessage(const std::string&, const std::string&, MessageButtons,
                              MessageIcon) override {
        return answer_;
    }
    void SetWaitCursor(bool) override {}
    void PumpMessages(uint32_t) override {}

  private:
    MessageResult answer_;
};

}  // namespace brennix::fuzz
