#include "diagnostics/diagnostics_texts.h"

namespace brennix::diagnostics_texts {

std::string CannotOpen(const std::string& file, const std::string& reason) {
    return "Unable to open " + file + ": " + reason;
}

std::string CannotCreate(const std::string& file, const std::string& reason) {
    return "Unable to create " + file + ": " + reason;
}

std::string RecordingFailed(const std::string& file) {
    return "Unable to write to " + file + ". The recording has been closed.";
}

std::string PlaybackEnd(const std::string& file, uint32_t framesPlayed) {
    if (framesPlayed == 0) {
        return "No diagnostic frames in " + file;
    }
    return "End of " + file + " after " + std::to_string(framesPlayed) + " frames";
}

}  // namespace brennix::diagnostics_texts
