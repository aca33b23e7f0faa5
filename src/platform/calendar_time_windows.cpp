#include "platform/calendar_time.h"

namespace brennix {

std::tm LocalCalendarTime(std::time_t time) {
    std::tm parts{};
    localtime_s(&parts, &time);
    return parts;
}

std::tm UtcCalendarTime(std::time_t time) {
    std::tm parts{};
    gmtime_s(&parts, &time);
    return parts;
}

}  // namespace brennix
