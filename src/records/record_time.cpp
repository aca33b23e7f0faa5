#include "records/record_time.h"

#include <array>

namespace brennix {

namespace {

std::string Format(const char* format, const std::tm& parts) {
    std::array<char, 64> text{};
    const size_t length = std::strftime(text.data(), text.size(), format, &parts);
    return std::string(text.data(), length);
}

std::tm Local(std::time_t time) {
    std::tm parts{};
    localtime_r(&time, &parts);
    return parts;
}

}  // namespace

std::string LocalIsoTime(std::time_t time) {
    const std::tm parts = Local(time);
    // strftime's +0200 becomes ISO's +02:00.
    const std::string offset = Format("%z", parts);
    return Format("%Y-%m-%dT%H:%M:%S", parts) + offset.substr(0, 3) + ":" + offset.substr(3);
}

std::string UtcIsoTime(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    return Format("%Y-%m-%dT%H:%M:%SZ", parts);
}

std::string LocalDisplayTime(std::time_t time) {
    return Format("%Y-%m-%d %H:%M:%S", Local(time));
}

std::string LocalFileStamp(std::time_t time) {
    return Format("%Y-%m-%d_%H%M%S", Local(time));
}

}  // namespace brennix
