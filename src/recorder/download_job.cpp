#include "recorder/download_job.h"

#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

#include "link/link_lease.h"
#include "recorder/display_text.h"
#include "recorder/download_naming.h"
#include "recorder/download_progress.h"
#include "recorder/output_file.h"

namespace brennix {

namespace {

constexpr size_t kBlockSize = 1024;
constexpr uint32_t kSettleMs = 5;
constexpr int kCancelRejects = 3;

constexpr const char* kErrorCaption = "Error";

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// One download from start to end, on the job's thread.
class Download {
  public:
    Download(WorkerInstrument& worker, RecorderJobListener& listener, const StopEvent& stop,
             const DownloadRequest& request)
        : worker_(worker),
          access_(worker.Access()),
          listener_(listener),
          stop_(stop),
          request_(request),
          progress_(TotalSize(request.entries), 0) {}

    void Run();

  private:
    // What happens after a file: the next one, or the end of the download.
    enum class Next { kGoOn, kCancel, kLost };

    static uint64_t TotalSize(const std::vector<RecorderFileEntry>& entries);
    bool FindExtension();
    void Conclude(Next next);
    Next Fetch(const RecorderFileEntry& entry);
    Next StartTransfer(DownloadedFile& file);
    Next ReceiveFile(DownloadedFile& file);
    Next ReceiveBlocks(DownloadedFile& file, OutputFile& output);
    Next ReadFailed(const DownloadedFile& file);
    Next WriteFailed(const DownloadedFile& file, const OutputFile& output);
    Next Refuse(DownloadedFile& file);
    Next Ask(const std::string& question);
    Next End(const DownloadedFile& file, Next next);
    bool PortLost();
    void ShowProgress();

    WorkerInstrument& worker_;
    CRecorderAccess& access_;
    RecorderJobListener& listener_;
    const StopEvent& stop_;
    const DownloadRequest& request_;
    DownloadProgress progress_;
    std::string extension_;
    bool replaceAll_ = false;
    std::array<uint8_t, kBlockSize> block_{};
};

uint64_t Download::TotalSize(const std::vector<RecorderFileEntry>& entries) {
    uint64_t total = 0;
    for (const RecorderFileEntry& entry : entries) {
        total += entry.size;
    }
    return total;
}

void Download::Run() {
    listener_.SetProgressRange(DownloadProgress::kSteps);
    listener_.SetProgress(0);
    // Nothing of the last operation's second line stays up during this one.
    listener_.ShowDetail("");
    if (!FindExtension()) {
        return;
    }
    worker_.Link().FlushInput(true);
    Clock& clock = worker_.GetClock();
    progress_ = DownloadProgress(TotalSize(request_.entries), clock.TickCount());
    Next next = Next::kGoOn;
    for (const RecorderFileEntry& entry : request_.entries) {
        next = stop_.IsSet() ? Next::kCancel : Fetch(entry);
        if (next != Next::kGoOn) {
            break;
        }
    }
    Conclude(next);
    listener_.ShowDetail("Total time " + FormatDuration(progress_.ElapsedMs(clock.TickCount())));
}

void Download::Conclude(Next next) {
    switch (next) {
        case Next::kGoOn:
            listener_.ShowStatus("Done");
            break;
        case Next::kCancel:
            listener_.ShowStatus("Cancelled");
            for (int i = 0; i < kCancelRejects; ++i) {
                access_.SendReject();
            }
            break;
        case Next::kLost:
            listener_.ShowStatus("Connection lost");
            break;
    }
}

// The model names the files' extension; a stop while it is asked is a cancel, not a failure.
bool Download::FindExtension() {
    const char* extension = DownloadExtension(worker_.Instrument().FindInstrument(true, true));
    if (extension != nullptr) {
        extension_ = extension;
        return true;
    }
    if (stop_.IsSet()) {
        listener_.ShowStatus("Cancelled");
    } else {
        listener_.ShowMessage("Unable to connect to any known instrument",
                              "Connection Error:", MessageButtons::kOk, MessageIcon::kError);
    }
    return false;
}

Download::Next Download::Fetch(const RecorderFileEntry& entry) {
    const std::string fileName = entry.name + extension_;
    DownloadedFile file{entry.name, (std::filesystem::path(request_.folder) / fileName).string(), 0,
                        entry.size, FileOutcome::kFailed};
    if (!IsUsableFileName(entry.name)) {
        return Refuse(file);
    }
    listener_.ShowStatus(fileName);
    if (!replaceAll_ && FileExists(file.path)) {
        switch (listener_.ConfirmReplace(file.path)) {
            case ReplaceAnswer::kNo:
                progress_.Count(entry.size);
                file.outcome = FileOutcome::kKept;
                return End(file, Next::kGoOn);
            case ReplaceAnswer::kYesToAll:
                replaceAll_ = true;
                break;
            case ReplaceAnswer::kYes:
                break;
        }
    }
    return StartTransfer(file);
}

// "download NAME", the instrument's "c", then the file's directory entry once more.
Download::Next Download::StartTransfer(DownloadedFile& file) {
    if (!worker_.Instrument().SendCommand("download " + file.name) || !access_.WaitReady()) {
        return End(file, ReadFailed(file));
    }
    size_t length = 0;
    if (!access_.ReceiveBlock(std::span(block_).first(RecorderFileEntry::kWireSize), length) ||
        length != RecorderFileEntry::kWireSize) {
        access_.SendReject();
        return End(file, ReadFailed(file));
    }
    return End(file, ReceiveFile(file));
}

// The file as far as it arrives; what came stays on disk whatever happens.
Download::Next Download::ReceiveFile(DownloadedFile& file) {
    OutputFile output;
    output.Open(file.path);
    file.outcome = FileOutcome::kPartial;
    Next next = ReceiveBlocks(file, output);
    if (!output.IsOpen()) {
        file.outcome = FileOutcome::kFailed;  // never created
    } else if (!output.Close() && file.outcome == FileOutcome::kComplete) {
        file.outcome = FileOutcome::kPartial;
        next = WriteFailed(file, output);
    }
    worker_.Link().Waits().Pause(kSettleMs);
    worker_.Link().FlushInput(true);
    return next;
}

// Blocks until the empty one, each written as it arrives.
Download::Next Download::ReceiveBlocks(DownloadedFile& file, OutputFile& output) {
    for (;;) {
        if (stop_.IsSet()) {
            return Next::kCancel;
        }
        size_t length = 0;
        if (!access_.ReceiveBlock(block_, length)) {
            if (!stop_.IsSet() && !PortLost()) {
                access_.SendStop();
            }
            return ReadFailed(file);
        }
        // A file that could not be created fails at its first block, even the empty one.
        if (length == 0 ? !output.IsOpen() : !output.Write(std::span(block_).first(length))) {
            access_.SendReject();
            return WriteFailed(file, output);
        }
        if (length == 0) {
            file.outcome = FileOutcome::kComplete;
            return Next::kGoOn;
        }
        file.received += length;
        progress_.Count(length);
        ShowProgress();
    }
}

void Download::ShowProgress() {
    if (!progress_.TakeMove()) {
        return;
    }
    listener_.SetProgress(progress_.Position());
    listener_.ShowDetail("Time left " +
                         FormatDuration(progress_.TimeLeftMs(worker_.GetClock().TickCount())));
}

// A stop or a vanished port is not asked about; any other failure asks whether to go on.
Download::Next Download::ReadFailed(const DownloadedFile& file) {
    if (file.outcome == FileOutcome::kFailed) {
        progress_.Count(file.expected);
    }
    if (stop_.IsSet()) {
        return Next::kCancel;
    }
    if (PortLost()) {
        listener_.ShowMessage("Lost the connection while reading '" + file.name + "':\n" +
                                  worker_.Link().LastErrorMessage(),
                              kErrorCaption, MessageButtons::kOk, MessageIcon::kError);
        return Next::kLost;
    }
    return Ask("Error reading '" + file.name + "'\nDo you want to continue?");
}

Download::Next Download::WriteFailed(const DownloadedFile& file, const OutputFile& output) {
    return Ask("Error writing to '" + file.path + "'\nError: " +
               std::to_string(output.ErrorCode()) + " (" + output.ErrorText() + ")\nContinue?");
}

Download::Next Download::Refuse(DownloadedFile& file) {
    const std::string shown = PrintableName(file.name);
    listener_.ShowStatus(shown);
    progress_.Count(file.expected);
    file.outcome = FileOutcome::kRefused;
    return End(file, Ask("'" + shown +
                         "' cannot be saved: the name is not a plain file name\n"
                         "Do you want to continue?"));
}

Download::Next Download::Ask(const std::string& question) {
    const MessageResult answer =
        listener_.ShowMessage(question, kErrorCaption, MessageButtons::kYesNo, MessageIcon::kError);
    return answer == MessageResult::kYes ? Next::kGoOn : Next::kCancel;
}

Download::Next Download::End(const DownloadedFile& file, Next next) {
    listener_.FileEnded(file);
    return next;
}

bool Download::PortLost() {
    SerialState state;
    return !worker_.Link().IsOpen() || !worker_.Link().GetState(state);
}

}  // namespace

DownloadJob::DownloadJob(const CInstrument& instrument, RecorderJobListener& listener)
    : worker_(instrument, listener), listener_(listener), job_(worker_.GetClock()) {}

bool DownloadJob::Start(DownloadRequest request) {
    return job_.Start([this, request = std::move(request)](const StopEvent& stop) {
        {
            const LinkLease lease(worker_.Link(), &stop);
            Download(worker_, listener_, stop, request).Run();
        }
        listener_.OperationEnded();
    });
}

}  // namespace brennix
