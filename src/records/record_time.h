#pragma once

#include <ctime>
#include <string>

namespace brennix {

// The computer's time as the records write it.

// ISO 8601 with the local offset: "2026-05-17T10:20:30+02:00".
std::string LocalIsoTime(std::time_t time);
// ISO 8601 in UTC: "2026-05-17T08:20:30Z".
std::string UtcIsoTime(std::time_t time);
// For people: "2026-05-17 10:20:30" in local time.
std::string LocalDisplayTime(std::time_t time);
// For a file name: "2026-05-17_102030" in local time.
std::string LocalFileStamp(std::time_t time);

}  // namespace brennix
