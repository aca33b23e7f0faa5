#pragma once

#include <cstdint>
#include <string>

#include "platform/ui_host.h"

namespace brennix {

// The answer to "File ... already exists! Do you want to replace it?".
enum class ReplaceAnswer { kYes, kNo, kYesToAll };

// How one file of a download ended.
enum class FileOutcome {
    kComplete,  // every byte arrived and was written
    kKept,      // not downloaded: the file that was there is kept, as the user chose
    kRefused,   // not downloaded: the name is not a plain file name
    kFailed,    // the transfer never started
    kPartial,   // cut short; the file holds what arrived
};

struct DownloadedFile {
    std::string name;  // as the recorder lists it
    std::string path;  // where it was (or would have been) written
    uint64_t received = 0;
    uint32_t expected = 0;  // the size the directory gives
    FileOutcome outcome = FileOutcome::kFailed;
};

// What a download or a format reports while it runs, and what it asks. Every call comes from the
// job's own thread: an implementation carries it to the thread that owns its windows or its
// console, and a question blocks the job until it is answered.
class RecorderJobListener {
  public:
    virtual ~RecorderJobListener() = default;

    // The first status line (the file, "Done", "Cancelled", "Formatting (5%)") and the second
    // one (time left, total time, empty).
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ShowDetail(const std::string& text) = 0;
    virtual void SetProgressRange(int maximum) = 0;
    virtual void SetProgress(int position) = 0;

    // The boxes and the Yes/No error questions of the job and of its instrument exchanges.
    virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;
    virtual ReplaceAnswer ConfirmReplace(const std::string& path) = 0;

    // A file of a download is finished with, one way or another.
    virtual void FileEnded(const DownloadedFile& /*file*/) {}
    // The job is over; nothing else is reported after this.
    virtual void OperationEnded() = 0;
};

}  // namespace brennix
