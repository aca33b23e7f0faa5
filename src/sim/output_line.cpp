#include "sim/output_line.h"

#include <algorithm>

namespace brennix::sim {

namespace {

constexpr int64_t kBitsPerByte = 10;  // start bit, eight data bits, stop bit
constexpr int64_t kUsPerSecond = 1'000'000;

}  // namespace

void OutputLine::SetPacing(bool pace, uint32_t baudRate) {
    pace_ = pace && baudRate > 0;
    baudRate_ = baudRate;
}

void OutputLine::Send(std::string_view bytes, int64_t startUs) {
    const int64_t firstUs = std::max(startUs, lineFreeUs_);
    int64_t index = 0;
    for (char c : bytes) {
        ++index;
        const int64_t dueUs =
            pace_ ? firstUs + index * kBitsPerByte * kUsPerSecond / baudRate_ : firstUs;
        bytes_.push_back({static_cast<uint8_t>(c), dueUs});
        lineFreeUs_ = dueUs;
    }
}

void OutputLine::DropUnsent(int64_t nowUs) {
    bytes_.resize(Available(nowUs));
    lineFreeUs_ = std::min(lineFreeUs_, nowUs);
}

size_t OutputLine::Available(int64_t nowUs) const {
    const auto firstLater = std::partition_point(
        bytes_.begin(), bytes_.end(), [nowUs](const TimedByte& b) { return b.dueUs <= nowUs; });
    return static_cast<size_t>(firstLater - bytes_.begin());
}

size_t OutputLine::Read(uint8_t* buffer, size_t maxCount, int64_t nowUs) {
    const size_t count = std::min(maxCount, Available(nowUs));
    for (size_t i = 0; i < count; ++i) {
        buffer[i] = bytes_.front().value;
        bytes_.pop_front();
    }
    return count;
}

std::optional<int64_t> OutputLine::NextDueUs() const {
    if (bytes_.empty()) {
        return std::nullopt;
    }
    return bytes_.front().dueUs;
}

}  // namespace brennix::sim
