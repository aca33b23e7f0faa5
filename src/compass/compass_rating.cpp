#include "compass/compass_rating.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/number_text.h"

namespace brennix {

namespace {

constexpr int kBestScore = 9;
constexpr std::array<const char*, kBestScore + 1> kWords = {
    "VERY POOR", "VERY POOR", "VERY POOR", "POOR", "POOR",
    "POOR",      "FAIR",      "FAIR",      "GOOD", "EXCELLENT"};
// Below this quality (a field of 110 or more) the table has no word of its own.
constexpr int kWorstQuality = 0;
constexpr int kFieldDecimals = 2;

std::string ScoreLine(const char* label, int score) {
    char line[96];
    std::snprintf(line, sizeof line, "%s%d (%s)", label, ShownScore(score),
                  QualityWord(ShownScore(score)));
    return line;
}

}  // namespace

int ShownScore(int score) {
    return score >= 0 && score <= kBestScore ? score : 0;
}

const char* QualityWord(int quality) {
    return kWords[static_cast<size_t>(std::clamp(quality, kWorstQuality, kBestScore))];
}

int FieldQuality(double field) {
    const double quality = std::trunc(10.0 - field * 0.1);
    return static_cast<int>(std::clamp(quality, -1.0, static_cast<double>(kBestScore)));
}

// The field's "%.2f" is written with a point in every locale, like the instrument's own figures.
std::string ScoreReport(const CompassScores& scores) {
    return ScoreLine("Horizontal calibration score (0-9):         ", scores.horizontal) + "\n" +
           ScoreLine("Vertical calibration score (0-9):           ", scores.vertical) + "\n" +
           "Ambient magnetic field strength (0-100): " + FixedText(scores.field, kFieldDecimals) +
           " (" + QualityWord(FieldQuality(scores.field)) + ")";
}

}  // namespace brennix
