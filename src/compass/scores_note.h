#pragma once

#include <ctime>
#include <optional>

#include "compass/compass_replies.h"
#include "script/session_notes.h"

namespace brennix {

// The scores as the views show them (a score outside 0 to 9 as 0, each with its word), noted for
// the session; without scores, a note that the calibration gave none.
CompassNote NoteOfScores(const std::optional<CompassScores>& scores, std::time_t shownAt);

}  // namespace brennix
