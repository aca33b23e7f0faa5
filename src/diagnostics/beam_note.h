#pragma once

#include <ctime>

#include "diagnostics/echolux_snapshot.h"
#include "script/session_notes.h"

namespace brennix {

// A frame's snapshot as the views show it in the amplitude view (noise, peak position and level,
// the amplitude curves over the frame's cells), noted for the session.
BeamNote NoteOfSnapshot(const EcholuxSnapshot& snapshot, bool averaged, std::time_t shownAt);

}  // namespace brennix
