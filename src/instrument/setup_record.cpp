#include "instrument/setup_record.h"

#include <algorithm>

namespace brennix {

std::optional<SetupRecord> SetupRecord::FromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() != kSize) {
        return std::nullopt;
    }
    return SetupRecord(ConfBlock(bytes.subspan<0, ConfBlock::kSize>()),
                       UserBlock(bytes.subspan<kUserOffset, UserBlock::kSize>()),
                       OperBlock(bytes.subspan<kOperOffset, OperBlock::kSize>()));
}

std::array<uint8_t, SetupRecord::kSize> SetupRecord::Bytes() const {
    std::array<uint8_t, kSize> bytes{};
    std::copy(conf_.Bytes().begin(), conf_.Bytes().end(), bytes.begin());
    std::copy(user_.Bytes().begin(), user_.Bytes().end(), bytes.begin() + kUserOffset);
    std::copy(oper_.Bytes().begin(), oper_.Bytes().end(), bytes.begin() + kOperOffset);
    return bytes;
}

}  // namespace brennix
