#pragma once

#include <optional>
#include <string_view>

namespace brennix {

// Heading, pitch and roll in degrees.
struct Attitude {
    double heading = 0.0;
    double pitch = 0.0;
    double roll = 0.0;
    bool operator==(const Attitude&) const = default;
};

// The three scores the instrument reports when a calibration ends.
struct CompassScores {
    int horizontal = 0;
    int vertical = 0;
    double field = 0.0;
};

// The attitude of the last "Heading" (in any case) in the text: "=" and a number after it, then
// "Pitch", "=" and a number, then "Roll", "=" and a number. A heading beyond ±360 is brought back
// by one turn. None when a part is missing, a number does not parse as a finite value, or the
// line may still be arriving (nothing follows the roll yet).
std::optional<Attitude> ParseAttitude(std::string_view text);

// The scores after "score:": the whole number after the next "H", then after the next "V", then
// the number after the next "M". None when a part is missing or does not parse.
std::optional<CompassScores> ParseScores(std::string_view text);

}  // namespace brennix
