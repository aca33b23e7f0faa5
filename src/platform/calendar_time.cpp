#include "platform/calendar_time.h"

namespace brennix {

namespace {

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
long DaysSinceEpoch(long year, long month, long day) {
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

long SecondsSinceEpoch(const std::tm& parts) {
    const long days = DaysSinceEpoch(parts.tm_year + 1900L, parts.tm_mon + 1L, parts.tm_mday);
    return ((days * 24 + parts.tm_hour) * 60 + parts.tm_min) * 60L + parts.tm_sec;
}

}  // namespace

long UtcOffsetSeconds(std::time_t time) {
    return SecondsSinceEpoch(LocalCalendarTime(time)) - SecondsSinceEpoch(UtcCalendarTime(time));
}

}  // namespace brennix
