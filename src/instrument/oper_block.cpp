#include "instrument/oper_block.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace brennix {

namespace {

constexpr size_t kProfilingMode = 52;
constexpr size_t kProfileCells = 53;
constexpr size_t kSdi12Format = 56;

}  // namespace

OperBlock::OperBlock(std::span<const uint8_t, kSize> bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
}

int8_t OperBlock::ProfilingMode() const {
    return ReadS8(bytes_, kProfilingMode);
}

int8_t OperBlock::ProfileCells() const {
    return ReadS8(bytes_, kProfileCells);
}

int8_t OperBlock::Sdi12Format() const {
    return ReadS8(bytes_, kSdi12Format);
}

void OperBlock::SetSdi12Format(int8_t format) {
    bytes_[kSdi12Format] = static_cast<uint8_t>(format);
}

}  // namespace brennix
