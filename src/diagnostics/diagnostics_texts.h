#pragma once

#include <cstdint>
#include <string>

// What the diagnostics say, in the Echolux window and on the console alike. A file is named as
// the front end knows it (the window: its name; the console: the path typed); a reason is the
// system's.
namespace brennix::diagnostics_texts {

// A playback file that cannot be read: "Unable to open FILE: REASON".
std::string CannotOpen(const std::string& file, const std::string& reason);
// A recording that cannot be created: "Unable to create FILE: REASON".
std::string CannotCreate(const std::string& file, const std::string& reason);
// A recording that could not be written on; it has been closed.
std::string RecordingFailed(const std::string& file);
// A playback file that has no more frames: how many it had, or that it had none.
std::string PlaybackEnd(const std::string& file, uint32_t framesPlayed);

}  // namespace brennix::diagnostics_texts
