// Feeds arbitrary text to the compass reply parsers and rates whatever scores they find.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compass/compass_rating.h"
#include "compass/compass_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto attitude = brennix::ParseAttitude(text)) {
        if (!std::isfinite(attitude->heading) || !std::isfinite(attitude->pitch) ||
            !std::isfinite(attitude->roll)) {
            __builtin_trap();
        }
    }
    if (const auto scores = brennix::ParseScores(text)) {
        brennix::ScoreReport(*scores);
    }
    return 0;
}
