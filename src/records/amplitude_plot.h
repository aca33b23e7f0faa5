#pragma once

#include <string>

#include "script/session_notes.h"

namespace brennix {

// The amplitude curves of a beam diagnostics frame as an SVG picture for printing: each beam in
// its colour (beam 1 red, 2 blue, 3 green) over a grid, amplitude 0 to 250 upwards, the frame's
// horizontal axis along the bottom with its caption, as the window's amplitude view draws it.
std::string AmplitudePlotSvg(const BeamNote& beams);

}  // namespace brennix
