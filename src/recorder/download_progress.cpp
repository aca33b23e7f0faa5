#include "recorder/download_progress.h"

#include <algorithm>

namespace brennix {

int DownloadProgress::Position() const {
    if (total_ == 0 || done_ >= total_) {
        return kSteps;
    }
    return static_cast<int>(static_cast<double>(done_) / static_cast<double>(total_) * kSteps);
}

bool DownloadProgress::TakeMove() {
    const int position = Position();
    if (position == shown_) {
        return false;
    }
    shown_ = position;
    return true;
}

uint64_t DownloadProgress::TimeLeftMs(uint32_t nowTick) const {
    if (done_ == 0) {
        return 0;
    }
    const uint64_t elapsed = ElapsedMs(nowTick);
    const uint64_t estimate = std::max(elapsed * total_ / done_, elapsed);
    return estimate - elapsed;
}

}  // namespace brennix
