#include "desktop/startup_trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace brennix {

void TraceStartup(const char* stage) {
    static const char* const launched = std::getenv("BRENNIX_STARTUP_TRACE");
    if (launched == nullptr) {
        return;
    }
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    const double ms = static_cast<double>(now - std::strtoll(launched, nullptr, 10)) / 1e6;
    std::fprintf(stderr, "start-up %7.1f ms  %s\n", ms, stage);
}

}  // namespace brennix
