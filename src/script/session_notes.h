#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace brennix {

// The last compass scores a view showed, with their words, as the technician read them.
struct CompassNote {
    std::time_t shownAt = 0;
    // False when the calibration ended without scores; the figures below are then unset.
    bool scored = false;
    int horizontal = 0;
    std::string horizontalWord;
    int vertical = 0;
    std::string verticalWord;
    double field = 0.0;
    std::string fieldWord;
};

// The caption of the peak's position wherever it is shown: travel-time counts (24 + 5 per cell),
// whatever the horizontal axis is drawn in.
inline constexpr const char* kPeakPositionCaption = "Position (counts)";

// One beam of the last beam diagnostics frame a view showed.
struct BeamNoteRow {
    int32_t noise = 0;
    int32_t peakPosition = 0;
    int32_t peakLevel = 0;
    // The amplitude curve as drawn, one value per cell.
    std::vector<float> amplitude;
};

// The last live beam diagnostics frame a view showed: its figures and its amplitude curves.
struct BeamNote {
    std::time_t shownAt = 0;
    uint32_t ping = 0;
    bool averaged = false;
    // The horizontal axis: its caption and its span from 0; the cells' positions on it.
    std::string horizontalCaption;
    float horizontalSpan = 0.0f;
    std::vector<float> range;
    std::vector<BeamNoteRow> beams;
};

// What the features' views showed in this session that a later record of it reports. Plain
// values, so that no feature needs another's types; the views fill it on the owner's thread.
struct SessionNotes {
    std::optional<CompassNote> compass;
    std::optional<BeamNote> beams;
};

}  // namespace brennix
