#include "instrument/recorder_access.h"

#include <algorithm>
#include <string>

#include "instrument/block_frame.h"
#include "platform/little_endian.h"

namespace brennix {

namespace {

constexpr uint32_t kDirectoryCommandMs = 3000;
constexpr uint32_t kBaudCommandMs = 2000;
constexpr int kReadyPolls = 1000;
constexpr uint32_t kReadyPollMs = 5;
constexpr uint32_t kWordMs = 2000;
constexpr uint32_t kDataMs = 4000;
constexpr uint32_t kRejectPauseMs = 10;
constexpr size_t kCapacityOffset = 74;
constexpr size_t kUsedSpaceSize = 2;
constexpr uint32_t kUsedSpaceUnit = 65536;
constexpr size_t kPromptReplySize = 64;
constexpr uint32_t kListingEndMs = 1000;

}  // namespace

CRecorderAccess::CRecorderAccess(CInstrument& instrument)
    : instrument_(instrument), link_(instrument.GetLink()) {}

bool CRecorderAccess::ReadDirectory(std::vector<RecorderFileEntry>& entries) {
    if (!directoryRead_ && !ReadDirectoryOnce()) {
        return false;
    }
    entries = entries_;
    return true;
}

bool CRecorderAccess::GetSpace(uint32_t& used, uint32_t& total) {
    if (!directoryRead_ && !ReadDirectoryOnce()) {
        return false;
    }
    used = usedSpace_;
    total = ReadU32(header_, kCapacityOffset);
    return true;
}

bool CRecorderAccess::ReadDirectoryOnce() {
    if (link_ == nullptr) {
        return false;
    }
    link_->Purge(kPurgeRxClear);
    if (!instrument_.CommandOk("bdir", kDirectoryCommandMs) || !WaitReady()) {
        return false;
    }
    size_t received = 0;
    if (!ReceiveBlock(header_, received) || received != kHeaderSize || !ReceiveEntries()) {
        return false;
    }
    std::array<uint8_t, kUsedSpaceSize> used{};
    // The used space comes last; without it the listing still stands, with nothing used.
    usedSpace_ = ReceiveBlock(used, received) && received == kUsedSpaceSize
                     ? uint32_t{ReadU16(used, 0)} * kUsedSpaceUnit
                     : 0;
    AwaitListingEnd();
    directoryRead_ = true;
    return true;
}

// The listing ends when the instrument, having taken the last acknowledgement, is back at its
// prompt. Going on sooner, the next wake-up's purge of the transmit queue could throw that byte
// away before the instrument read it, and leave the instrument waiting in the listing for good.
void CRecorderAccess::AwaitListingEnd() {
    std::array<char, kPromptReplySize> reply{};
    instrument_.WaitFor(reply, ">", kListingEndMs, false);
}

// Entries until the empty block; an entry that keeps failing is asked for again a few times.
bool CRecorderAccess::ReceiveEntries() {
    entries_.clear();
    int failedSeries = 0;
    for (;;) {
        std::array<uint8_t, RecorderFileEntry::kWireSize> entry{};
        size_t received = 0;
        if (!ReceiveBlock(entry, received)) {
            if (++failedSeries > kEntryRetries || link_->Waits().StopRequested()) {
                return false;
            }
            link_->Purge(kPurgeRxClear);
            continue;
        }
        failedSeries = 0;
        if (received == 0) {
            return true;
        }
        if (received == entry.size()) {
            if (entries_.size() == kMaxEntries) {
                return false;
            }
            entries_.push_back(DecodeRecorderFileEntry(entry));
        }
    }
}

// Never asked of a port that cannot follow: the instrument would go to a rate the line cannot.
bool CRecorderAccess::SetBaud(uint32_t rate) {
    if (link_ == nullptr || !link_->Capabilities().changeSettings ||
        !instrument_.CommandOk("BAUD 0 " + std::to_string(rate), kBaudCommandMs)) {
        return false;
    }
    return link_->SetBaudRate(rate);
}

void CRecorderAccess::SetBlockAttempts(int attempts) {
    blockAttempts_ = std::clamp(attempts, 1, kMaxBlockAttempts);
}

bool CRecorderAccess::ReceiveBlock(std::span<uint8_t> buffer, size_t& received) {
    if (link_ == nullptr) {
        return false;
    }
    for (int attempt = 0; attempt < blockAttempts_; ++attempt) {
        if (ReceiveOnce(buffer, received)) {
            SendAck();
            return true;
        }
        // Asking again is pointless once the job is stopping or the port has gone; the caller
        // tells the instrument what it needs to hear.
        if (link_->Waits().StopRequested() || link_->PortLost()) {
            return false;
        }
        link_->Purge(kPurgeRxClear);
        link_->Waits().Pause(kRejectPauseMs);
        SendReject();
        link_->Waits().Pause(kRejectPauseMs);
    }
    return false;
}

// A block longer than the buffer is cut to it; its checksum then fails and it is asked again.
bool CRecorderAccess::ReceiveOnce(std::span<uint8_t> buffer, size_t& received) {
    std::array<uint8_t, kFrameWordSize> word{};
    if (!ReadPart(word, kWordMs)) {
        return false;
    }
    received = std::min<size_t>(AnnouncedDataLength(word), buffer.size());
    const std::span<uint8_t> data = buffer.first(received);
    return ReadPart(data, kDataMs) && ReadPart(word, kWordMs) && ChecksumMatches(data, word);
}

bool CRecorderAccess::ReadPart(std::span<uint8_t> part, uint32_t timeoutMs) {
    size_t done = 0;
    return link_->Read(part, done, timeoutMs, false) && done == part.size();
}

// Only bytes already waiting are read, so each of the polls lasts its 5 ms and no more.
bool CRecorderAccess::WaitReady() {
    if (link_ == nullptr) {
        return false;
    }
    for (int poll = 0; poll < kReadyPolls && !link_->Waits().StopRequested(); ++poll) {
        uint8_t byte = 0;
        if (link_->BytesWaiting() > 0 && link_->ReadChar(byte, 0, true) && byte == kReady) {
            link_->Purge(kPurgeRxClear);
            SendAck();
            return true;
        }
        link_->Waits().Pause(kReadyPollMs);
    }
    return false;
}

void CRecorderAccess::SendAck() {
    SendByte(kAck);
}

void CRecorderAccess::SendReject() {
    SendByte(kReject);
}

void CRecorderAccess::SendStop() {
    SendByte(kStop);
}

void CRecorderAccess::SendByte(uint8_t byte) {
    if (link_ != nullptr) {
        link_->WriteChar(byte, 0);
    }
}

}  // namespace brennix
