#include "recorder/display_text.h"

#include <cinttypes>
#include <cstdio>

namespace brennix {

namespace {

constexpr int64_t kKilo = 1024;
constexpr int64_t kMega = kKilo * kKilo;
constexpr int64_t kGiga = kMega * kKilo;
constexpr uint64_t kMsPerSecond = 1000;
constexpr uint64_t kMsPerMinute = 60 * kMsPerSecond;
constexpr uint64_t kMsPerHour = 60 * kMsPerMinute;

std::string WithUnit(int64_t bytes, int64_t unit, const char* format) {
    const float quotient = static_cast<float>(bytes) / static_cast<float>(unit);
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<double>(quotient));
    return text;
}

}  // namespace

std::string FormatSize(int64_t bytes) {
    if (bytes < kKilo) {
        char text[32];
        std::snprintf(text, sizeof text, "%" PRId64 " b", bytes);
        return text;
    }
    if (bytes < kMega) {
        return WithUnit(bytes, kKilo, "%4.1f kB");
    }
    if (bytes < kGiga) {
        return WithUnit(bytes, kMega, "%4.2f MB");
    }
    return WithUnit(bytes, kGiga, "%4.2f GB");
}

std::string FormatDuration(uint64_t milliseconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%02" PRIu64 ":%02" PRIu64 ":%02" PRIu64,
                  milliseconds / kMsPerHour, milliseconds % kMsPerHour / kMsPerMinute,
                  milliseconds % kMsPerMinute / kMsPerSecond);
    return text;
}

}  // namespace brennix
