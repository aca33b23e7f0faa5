#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace brennix {

// One file of the instrument's recorder as its directory lists it. On the wire an entry is 28
// bytes: the name (13 bytes, NUL-terminated, 8.3), the size (32-bit little-endian at 13), three
// unused bytes, the year counted from 1980 (16-bit at 20), day, month, minute, hour, hundredths
// and second.
struct RecorderFileEntry {
    static constexpr size_t kWireSize = 28;

    std::string name;
    uint32_t size = 0;
    int year = 0;  // the calendar year: 1980 has been added
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
};

// Reads an entry byte by byte; the name stops at its first NUL or at the field's end.
RecorderFileEntry DecodeRecorderFileEntry(
    std::span<const uint8_t, RecorderFileEntry::kWireSize> bytes);

}  // namespace brennix
