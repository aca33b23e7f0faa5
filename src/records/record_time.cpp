#include "records/record_time.h"

#include <array>
#include <cstdio>

#include "platform/calendar_time.h"

namespace brennix {

namespace {

std::string Format(const char* format, const std::tm& parts) {
    std::array<char, 64> text{};
    const size_t length = std::strftime(text.data(), text.size(), format, &parts);
    return std::string(text.data(), length);
}

std::tm Local(std::time_t time) {
    return LocalCalendarTime(time);
}

// "+02:00", "-05:30", "+00:00".
std::string IsoOffset(long seconds) {
    const char sign = seconds < 0 ? '-' : '+';
    const long minutes = (seconds < 0 ? -seconds : seconds) / 60;
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%c%02ld:%02ld", sign, minutes / 60, minutes % 60);
    return text.data();
}

}  // namespace

std::string LocalIsoTime(std::time_t time) {
    return Format("%Y-%m-%dT%H:%M:%S", Local(time)) + IsoOffset(UtcOffsetSeconds(time));
}

std::string UtcIsoTime(std::time_t time) {
    return Format("%Y-%m-%dT%H:%M:%SZ", UtcCalendarTime(time));
}

std::string LocalDisplayTime(std::time_t time) {
    return Format("%Y-%m-%d %H:%M:%S", Local(time));
}

std::string LocalFileStamp(std::time_t time) {
    return Format("%Y-%m-%d_%H%M%S", Local(time));
}

}  // namespace brennix
