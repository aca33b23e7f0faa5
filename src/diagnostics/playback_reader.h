#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/beam_frame.h"
#include "diagnostics/diagnostic_file.h"

namespace brennix {

// One line of a recording: a cell's index and range, then per beam its amplitude, cosine and
// sine.
struct RecordedCell {
    int index = 0;
    float range = 0.0f;
    std::array<uint8_t, kBeamCount> amplitude{};
    std::array<uint8_t, kBeamCount> cosine{};
    std::array<uint8_t, kBeamCount> sine{};
};

// A line split at blanks, carriage returns and line feeds into the cell index, the range and nine
// values from 0 to 255; none when any of the eleven is missing or not a number of its kind.
// Anything after the eleventh is ignored.
std::optional<RecordedCell> ParseRecordedLine(std::string_view line);

// Plays a recording back frame by frame. A frame is the run of cells whose indices rise; the
// line that breaks the run starts the next frame, and a frame holds at most 512 cells. Lines
// longer than 512 characters and lines that do not parse are skipped.
class PlaybackReader {
  public:
    static constexpr size_t kMaxLineLength = 512;

    explicit PlaybackReader(DiagnosticFile file);

    // The next frame; none once the file has no more cells.
    std::optional<BeamFrame> NextFrame();

  private:
    // The next line without its line end; false at the end of the file. Sets overlong when the
    // line did not fit.
    bool ReadLine(std::string& line, bool& overlong);
    std::optional<RecordedCell> NextCell();

    DiagnosticFile file_;
    std::optional<RecordedCell> carried_;
};

}  // namespace brennix
