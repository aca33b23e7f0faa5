#include "sim/block_transfer_mode.h"

#include <memory>

#include "sim/command_mode.h"

namespace brennix::sim {

BlockTransferMode::BlockTransferMode(ModeHost& host, std::vector<std::string> frames)
    : host_(host), frames_(std::move(frames)) {}

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
                host_.Answer(frames_[sent_], nowMs);
            }
            break;
        case 'b':
            if (started_ && sent_ < frames_.size()) {
                host_.Answer(frames_[sent_], nowMs);
            }
            break;
        case 'd':
            Finish(nowMs);
            break;
        default:
            break;  // the line is not a command line now
    }
}

void BlockTransferMode::Finish(int64_t nowMs) {
    host_.Answer("\r\n>", nowMs);
    host_.SwitchTo(std::make_unique<CommandMode>(host_));
}

}  // namespace brennix::sim
