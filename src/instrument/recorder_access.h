#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "instrument/instrument.h"
#include "instrument/recorder_file_entry.h"
#include "link/serial_link.h"

namespace brennix {

// The instrument's binary recorder protocol: a text command, then framed blocks that the host
// acknowledges one by one ("a"), rejects ("b", the instrument sends the block again) or stops
// ("d"). Reads the directory and the space figures and switches the rate of both ends. An object
// reads the directory at most once in its life.
class CRecorderAccess {
  public:
    static constexpr uint8_t kAck = 'a';
    static constexpr uint8_t kReject = 'b';
    static constexpr uint8_t kStop = 'd';
    static constexpr uint8_t kReady = 'c';
    static constexpr size_t kHeaderSize = 80;
    // A directory entry that keeps failing is asked for again this many times, then the listing
    // fails.
    static constexpr int kEntryRetries = 5;
    // No recorder holds more; a longer listing is a broken one.
    static constexpr size_t kMaxEntries = 10000;

    explicit CRecorderAccess(CInstrument& instrument);
    virtual ~CRecorderAccess() = default;

    bool ReadDirectory(std::vector<RecorderFileEntry>& entries);
    bool GetSpace(uint32_t& used, uint32_t& total);
    // "BAUD 0 <rate>", then the link follows at the new rate.
    bool SetBaud(uint32_t rate);

    // Attempts at one block: three unless told otherwise, ten at most for a known-noisy line.
    static constexpr int kBlockAttempts = 3;
    static constexpr int kMaxBlockAttempts = 10;
    void SetBlockAttempts(int attempts);

    // One block with acknowledgement: each failed attempt is rejected and the block asked again;
    // none more once the link's stop event is set or the port has gone.
    bool ReceiveBlock(std::span<uint8_t> buffer, size_t& received);
    // Waits about 5 s for the instrument's "c", then acknowledges it.
    bool WaitReady();
    void SendAck();
    void SendReject();
    void SendStop();

  private:
    bool ReadDirectoryOnce();
    bool ReceiveEntries();
    void AwaitListingEnd();
    bool ReceiveOnce(std::span<uint8_t> buffer, size_t& received);
    bool ReadPart(std::span<uint8_t> part, uint32_t timeoutMs);
    void SendByte(uint8_t byte);

    CInstrument& instrument_;
    CSerialLink* link_;
    std::array<uint8_t, kHeaderSize> header_{};
    std::vector<RecorderFileEntry> entries_;
    uint32_t usedSpace_ = 0;
    bool directoryRead_ = false;
    int blockAttempts_ = kBlockAttempts;
};

}  // namespace brennix
