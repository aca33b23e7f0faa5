#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "instrument/recorder_listing.h"
#include "platform/ui_host.h"

namespace brennix {

// What the recorder service is doing.
enum class RecorderOperation { kNone, kListing, kRate, kDownload, kFormat, kClosing };

// The answer to "File ... already exists! Do you want to replace it?".
enum class ReplaceAnswer { kYes, kNo, kYesToAll };

// How one file of a download ended.
enum class FileOutcome {
    kComplete,    // every byte arrived and was written
    kKept,        // not downloaded: the file that was there is kept, as the user chose
    kRefused,     // not downloaded: the name is not a plain file name
    kFailed,      // the transfer never started, or nothing of it arrived
    kPartial,     // cut short, or ended before its listed size; path holds what arrived
    kUnverified,  // fetched whole, but no two copies agreed; path holds the last copy
};

// A file is written under its name with ".part" added, and takes its own name only once it is
// whole: a cut download never leaves a short file under the name of a complete one.
inline constexpr const char* kPartialSuffix = ".part";

struct DownloadedFile {
    std::string name;  // as the recorder lists it
    std::string path;  // where it was (or would have been) written; the ".part" file when partial
    uint64_t received = 0;
    uint32_t expected = 0;  // the size the listing gives
    FileOutcome outcome = FileOutcome::kFailed;
};

// How a download as a whole ended.
enum class DownloadOutcome {
    kDone,            // every file went through
    kIncomplete,      // the download went to its end, but not every file arrived whole
    kCancelled,       // stopped, or the user chose not to go on after an error
    kWriteFailed,     // a file could not be written and the user chose not to go on
    kConnectionLost,  // the port went away
    kNoInstrument,    // no known model answered, so the files could not be named
    kRateRefused,     // the instrument did not take the rate asked for; nothing was fetched
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::kDone;
    // The files the download reached, in order; those after a stop are not among them.
    std::vector<DownloadedFile> files;
    std::string folder;
    // The system's reason when a file could not be written ("No space left on device").
    std::string writeError;
    // From the first file to the end; none when the download never began.
    std::optional<uint32_t> elapsedMs;
    // The rate was switched for the download and could not be put back.
    bool rateNotRestored = false;
};

// How a format ended.
enum class FormatOutcome {
    kDone,              // the instrument confirmed it
    kAborted,           // the instrument said it aborted
    kUnconfirmed,       // no answer either way within the rounds
    kCancelled,         // stopped before the instrument was told to erase: the card is as it was
    kCancelledErasing,  // stopped once the instrument was told to erase: it may have erased it
    kNotStarted,        // the instrument did not take the command
};

// Where a download or a format is: the first status line (the file, "Formatting (5%)"; empty
// before there is anything to name), the second one (time left, or empty) and the bar.
struct RecorderProgress {
    std::string subject;
    std::string detail;
    int position = 0;
    int range = 0;
};

// What the recorder service reports and asks. Called only on the thread that owns the listener
// (the service's relay carries every call there); a question blocks the service's worker until
// it is answered. Each operation's result comes once its job has let go of the link, so the
// listener may start the next one from there.
class RecorderListener {
  public:
    virtual ~RecorderListener() = default;

    // The instrument and the line run at rate now, or the instrument refused it and both stay.
    virtual void OnRateSet(uint32_t rate, bool switched) = 0;
    // The listing as read; none when it could not be read.
    virtual void OnListed(const std::optional<RecorderListing>& listing) = 0;
    virtual void OnProgress(const RecorderProgress& progress) = 0;
    // A file of a download is finished with, one way or another.
    virtual void OnFileEnded(const DownloadedFile& /*file*/) {}
    virtual void OnDownloaded(const DownloadResult& result) = 0;
    virtual void OnFormatted(FormatOutcome outcome) = 0;

    // The boxes and the Yes/No questions of an operation.
    virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;
    virtual ReplaceAnswer ConfirmReplace(const std::string& path) = 0;
};

}  // namespace brennix
