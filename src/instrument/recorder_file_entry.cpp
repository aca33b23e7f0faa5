#include "instrument/recorder_file_entry.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace brennix {

namespace {

constexpr size_t kNameSize = 13;
constexpr size_t kSizeOffset = 13;
constexpr size_t kYearOffset = 20;
constexpr int kYearBase = 1980;

}  // namespace

RecorderFileEntry DecodeRecorderFileEntry(
    std::span<const uint8_t, RecorderFileEntry::kWireSize> bytes) {
    RecorderFileEntry entry;
    const auto nameEnd = std::find(bytes.begin(), bytes.begin() + kNameSize, uint8_t{0});
    entry.name.assign(bytes.begin(), nameEnd);
    entry.size = ReadU32(bytes, kSizeOffset);
    entry.year = ReadS16(bytes, kYearOffset) + kYearBase;
    entry.day = bytes[22];
    entry.month = bytes[23];
    entry.minute = bytes[24];
    entry.hour = bytes[25];
    entry.hundredths = bytes[26];
    entry.second = bytes[27];
    return entry;
}

}  // namespace brennix
