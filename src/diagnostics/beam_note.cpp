#include "diagnostics/beam_note.h"

#include <algorithm>

namespace brennix {

BeamNote NoteOfSnapshot(const EcholuxSnapshot& snapshot, bool averaged, std::time_t shownAt) {
    const auto cells = static_cast<std::ptrdiff_t>(std::min(snapshot.cells, kMaxCells));
    BeamNote note{.shownAt = shownAt,
                  .ping = snapshot.ping,
                  .averaged = averaged,
                  .horizontalCaption = snapshot.HorizontalCaption(),
                  .horizontalSpan = snapshot.horizontalSpan,
                  .range = {snapshot.range.begin(), snapshot.range.begin() + cells},
                  .beams = {}};
    const BeamFigures& figures = snapshot.figures;
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        const auto& amplitude = snapshot.amplitude[beam];
        note.beams.push_back({figures.noise[beam],
                              figures.peakPosition[beam],
                              figures.peakLevel[beam],
                              {amplitude.begin(), amplitude.begin() + cells}});
    }
    return note;
}

}  // namespace brennix
