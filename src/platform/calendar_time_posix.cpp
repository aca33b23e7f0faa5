#include "platform/calendar_time.h"

namespace brennix {

std::tm LocalCalendarTime(std::time_t time) {
    std::tm parts{};
    localtime_r(&time, &parts);
    return parts;
}

std::tm UtcCalendarTime(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    return parts;
}

}  // namespace brennix
