#pragma once

#include <ctime>

namespace brennix {

// A moment broken into its calendar parts, in the computer's local time or in UTC. The system's
// own calls differ (localtime_r here, localtime_s elsewhere); these are the one way in.
std::tm LocalCalendarTime(std::time_t time);
std::tm UtcCalendarTime(std::time_t time);

// How far the local time is ahead of UTC at that moment, in seconds (negative west of
// Greenwich). Worked out from the two calendar times, since strftime's "%z" gives a zone name
// instead of "+0100" on some systems.
long UtcOffsetSeconds(std::time_t time);

}  // namespace brennix
