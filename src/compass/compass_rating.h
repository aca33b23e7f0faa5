#pragma once

#include <string>

#include "compass/compass_replies.h"

namespace brennix {

// The texts of the calibration as the dialog and the console show them. Once the compass has
// answered, the dialog shows kInitialized and under it kPressStart; at Start, kRotate and, after
// an empty line, kPressStop. The console, which starts at once, says kInitialized and kRotate,
// then the key it waits for.
namespace compass_texts {
inline constexpr const char* kInitialized = "Compass initialized.";
inline constexpr const char* kPressStart = "Press 'Start' to calibrate it!";
inline constexpr const char* kRotate =
    "Begin slowly rotating the compass two full turns, varing the pitch and roll as much as "
    "possible.\nAllow at least a minute for each turn.";
inline constexpr const char* kPressStop = "When finished, press Stop button";
inline constexpr const char* kNotResponding = "Compass not present or is not responding properly";
inline constexpr const char* kScoresUnreadable = "Error obtainig scores";
// What heading, pitch and roll are measured in.
inline constexpr const char* kAttitudeUnit = "degrees";
}  // namespace compass_texts

// A score as shown: one outside 0 to 9 shows as 0.
int ShownScore(int score);
// The word for a quality from 0 (worst) to 9; anything below 0 is as bad as 0.
const char* QualityWord(int quality);
// The field strength's quality: 10 - field / 10 as a whole number (toward zero), at most 9.
int FieldQuality(double field);

// The three lines of the result: each score with its word, and the field strength with the word
// of its quality.
std::string ScoreReport(const CompassScores& scores);

}  // namespace brennix
