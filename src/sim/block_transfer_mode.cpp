#include "sim/block_transfer_mode.h"

#include <memory>

#include "sim/asleep_mode.h"
#include "sim/command_mode.h"

namespace brennix::sim {

namespace {

bool IsBlock(int fault, size_t index) {
    return fault >= 0 && static_cast<size_t>(fault) == index;
}

}  // namespace

BlockTransferMode::BlockTransferMode(ModeHost& host, std::vector<std::string> frames,
                                     const Faults& faults)
    : host_(host), frames_(std::move(frames)), faults_(faults) {}

void BlockTransferMode::Enter(int64_t nowMs) {
    host_.Answer(std::string(1, kReady), nowMs);
}

void BlockTransferMode::Take(uint8_t byte, int64_t nowMs) {
    switch (byte) {
        case 'a':
            if (started_) {
                ++sent_;
            }
            started_ = true;
            if (sent_ == frames_.size()) {
                Finish(nowMs);
            } else {
                SendCurrent(nowMs);
            }
            break;
        case 'b':
            if (started_ && sent_ < frames_.size()) {
                SendCurrent(nowMs);
            }
            break;
        default:
            // "d", or the host talking to the command line again: the block stops where it is.
            host_.StopSending(nowMs);
            Finish(nowMs);
            break;
    }
}

void BlockTransferMode::SendCurrent(int64_t nowMs) {
    // Hung: it hears nothing but what wakes a sleeping instrument.
    if (faults_.stallAfterBlocks >= 0 && sent_ >= static_cast<size_t>(faults_.stallAfterBlocks)) {
        host_.SwitchTo(std::make_unique<AsleepMode>(host_));
        return;
    }
    if (IsBlock(faults_.droppedBlock, sent_) && !dropped_) {
        dropped_ = true;
        return;
    }
    std::string frame = frames_[sent_];
    if (IsBlock(faults_.badChecksumBlock, sent_) && spoiled_ < faults_.badChecksumSends) {
        ++spoiled_;
        frame.back() = static_cast<char>(frame.back() ^ 0x5A);
    }
    host_.AnswerFrame(frame, nowMs);
}

void BlockTransferMode::Finish(int64_t nowMs) {
    host_.Answer("\r\n>", nowMs);
    host_.SwitchTo(std::make_unique<CommandMode>(host_));
}

}  // namespace brennix::sim
