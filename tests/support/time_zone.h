#pragma once

#include <cstdlib>
#include <ctime>

namespace brennix::testing_support {

// Sets the process's time zone from a TZ rule (null: the system's own), as each C runtime
// wants it.
inline void UseTimeZone(const char* zone) {
#ifdef _WIN32
    _putenv_s("TZ", zone != nullptr ? zone : "");
    _tzset();
#else
    if (zone != nullptr) {
        ::setenv("TZ", zone, 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
#endif
}

}  // namespace brennix::testing_support
