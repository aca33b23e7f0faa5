#include "recorder/download_run.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "instrument/recorder_access.h"
#include "recorder/download_naming.h"
#include "recorder/download_progress.h"
#include "recorder/line_settle.h"
#include "recorder/output_file.h"
#include "recorder/recorder_texts.h"

namespace brennix {

namespace {

constexpr size_t kBlockSize = 1024;
constexpr uint32_t kSettleMs = 5;
constexpr int kCancelRejects = 3;

bool AllArrived(const DownloadResult& result) {
    return std::all_of(result.files.begin(), result.files.end(), [](const DownloadedFile& file) {
        return file.outcome == FileOutcome::kComplete || file.outcome == FileOutcome::kKept;
    });
}

// A verified download's copies: the second and at most three more.
constexpr int kVerifyCopies = 4;
constexpr const char* kVerifySuffix = ".verify";

bool SameContents(const std::string& first, const std::string& second) {
    std::ifstream a(first, std::ios::binary);
    std::ifstream b(second, std::ios::binary);
    return a && b &&
           std::equal(std::istreambuf_iterator<char>(a), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(b), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The files of one download, on the worker, from the identification to the last file.
class Transfer {
  public:
    Transfer(WorkerSession& worker, JobReporter<RecorderListener>& report, const StopEvent& stop,
             const DownloadRequest& request, DownloadResult& result)
        : worker_(worker),
          access_(worker.Instrument()),
          report_(report),
          stop_(stop),
          request_(request),
          result_(result),
          progress_(TotalSize(request), 0) {
        access_.SetBlockAttempts(request.blockAttempts);
    }

    void Run();

  private:
    // What happens after a file: the next one, or the end of the download and why.
    enum class Next { kGoOn, kCancel, kWriteFailed, kLost };

    static uint64_t TotalSize(const DownloadRequest& request);
    bool FindExtension();
    void Conclude(Next next);
    Next Fetch(const RecorderFileEntry& entry);
    Next StartTransfer(DownloadedFile& file, const std::string& into);
    Next ReceiveFile(DownloadedFile& file, const std::string& into);
    Next ReceiveBlocks(DownloadedFile& file, const std::string& into, OutputFile& output);
    Next Verify(DownloadedFile& file, const std::string& partPath);
    Next KeepFile(DownloadedFile& file, const std::string& partPath, Next next);
    Next ReadFailed(const DownloadedFile& file);
    Next WriteFailed(const std::string& path, const OutputFile& output);
    Next Refuse(DownloadedFile& file);
    MessageResult Tell(const std::string& text, const std::string& caption, MessageButtons buttons);
    bool GoOn(const std::string& question);
    Next End(const DownloadedFile& file, Next next);
    void ShowSubject(const std::string& subject);
    void ShowProgress();

    WorkerSession& worker_;
    CRecorderAccess access_;
    JobReporter<RecorderListener>& report_;
    const StopEvent& stop_;
    const DownloadRequest& request_;
    DownloadResult& result_;
    DownloadProgress progress_;
    RecorderProgress shown_{"", "", 0, DownloadProgress::kSteps};
    std::string extension_;
    bool replaceAll_ = false;
    bool abandoned_ = false;  // the file's transfer was left with its block rejected
    std::array<uint8_t, kBlockSize> block_{};
};

uint64_t Transfer::TotalSize(const DownloadRequest& request) {
    uint64_t total = 0;
    for (const RecorderFileEntry& entry : request.entries) {
        total += entry.size;
    }
    return request.verify ? 2 * total : total;
}

void Transfer::Run() {
    // A fresh bar, and nothing of the last operation's second line.
    report_.Post([shown = shown_](RecorderListener& l) { l.OnProgress(shown); });
    if (!FindExtension()) {
        return;
    }
    worker_.Link().FlushInput(true);
    Clock& clock = worker_.GetClock();
    progress_ = DownloadProgress(TotalSize(request_), clock.TickCount());
    Next next = Next::kGoOn;
    for (const RecorderFileEntry& entry : request_.entries) {
        next = stop_.IsSet() ? Next::kCancel : Fetch(entry);
        if (next != Next::kGoOn) {
            break;
        }
    }
    Conclude(next);
    result_.elapsedMs = progress_.ElapsedMs(clock.TickCount());
}

void Transfer::Conclude(Next next) {
    switch (next) {
        case Next::kGoOn:
            result_.outcome =
                AllArrived(result_) ? DownloadOutcome::kDone : DownloadOutcome::kIncomplete;
            return;
        case Next::kLost:
            result_.outcome = DownloadOutcome::kConnectionLost;
            return;
        case Next::kCancel:
            result_.outcome = DownloadOutcome::kCancelled;
            break;
        case Next::kWriteFailed:
            result_.outcome = DownloadOutcome::kWriteFailed;
            break;
    }
    for (int i = 0; i < kCancelRejects; ++i) {
        access_.SendReject();
    }
}

// The model names the files' extension; a stop while it is asked is a cancel, not a failure.
bool Transfer::FindExtension() {
    const char* extension = DownloadExtension(worker_.Instrument().FindInstrument(true, true));
    if (extension != nullptr) {
        extension_ = extension;
        return true;
    }
    if (stop_.IsSet()) {
        result_.outcome = DownloadOutcome::kCancelled;
    } else {
        result_.outcome = DownloadOutcome::kNoInstrument;
        Tell(recorder_texts::kNoInstrument, recorder_texts::kNoInstrumentCaption,
             MessageButtons::kOk);
    }
    return false;
}

Transfer::Next Transfer::Fetch(const RecorderFileEntry& entry) {
    const std::string fileName = entry.name + extension_;
    DownloadedFile file{entry.name, (std::filesystem::path(request_.folder) / fileName).string(), 0,
                        entry.size, FileOutcome::kFailed};
    if (!IsUsableFileName(entry.name)) {
        return Refuse(file);
    }
    ShowSubject(fileName);
    if (!replaceAll_ && FileExists(file.path)) {
        const ReplaceAnswer answer =
            report_.Ask([&file](RecorderListener& l) { return l.ConfirmReplace(file.path); });
        if (answer == ReplaceAnswer::kNo) {
            progress_.Count(entry.size);
            file.outcome = FileOutcome::kKept;
            return End(file, Next::kGoOn);
        }
        replaceAll_ = answer == ReplaceAnswer::kYesToAll;
    }
    const std::string partPath = file.path + kPartialSuffix;
    Next next = StartTransfer(file, partPath);
    if (request_.verify && next == Next::kGoOn && file.outcome == FileOutcome::kComplete) {
        next = Verify(file, partPath);
    }
    return End(file, KeepFile(file, partPath, next));
}

// "download NAME", the instrument's "c", then the file's directory entry once more.
Transfer::Next Transfer::StartTransfer(DownloadedFile& file, const std::string& into) {
    if (!worker_.Instrument().SendCommand("download " + file.name) || !access_.WaitReady()) {
        return ReadFailed(file);
    }
    size_t length = 0;
    if (!access_.ReceiveBlock(std::span(block_).first(RecorderFileEntry::kWireSize), length) ||
        length != RecorderFileEntry::kWireSize) {
        access_.SendReject();
        return ReadFailed(file);
    }
    return ReceiveFile(file, into);
}

// The file as far as it arrives; what came stays on disk whatever happens.
Transfer::Next Transfer::ReceiveFile(DownloadedFile& file, const std::string& into) {
    OutputFile output;
    output.Open(into);
    file.outcome = FileOutcome::kPartial;
    Next next = ReceiveBlocks(file, into, output);
    if (!output.IsOpen()) {
        file.outcome = FileOutcome::kFailed;  // never created
    } else if (!output.Close() && file.outcome == FileOutcome::kComplete) {
        file.outcome = FileOutcome::kPartial;
        next = WriteFailed(into, output);
    }
    // A transfer given up on for the next file is let fall quiet first.
    if (std::exchange(abandoned_, false) && next == Next::kGoOn) {
        SettleAfterStop(worker_.Instrument());
    } else {
        worker_.Link().Waits().Pause(kSettleMs);
        worker_.Link().FlushInput(true);
    }
    return next;
}

// Blocks until the empty one, each written as it arrives.
Transfer::Next Transfer::ReceiveBlocks(DownloadedFile& file, const std::string& into,
                                       OutputFile& output) {
    for (;;) {
        if (stop_.IsSet()) {
            return Next::kCancel;
        }
        size_t length = 0;
        if (!access_.ReceiveBlock(block_, length)) {
            if (!stop_.IsSet() && !worker_.Link().PortLost()) {
                access_.SendStop();
            }
            return ReadFailed(file);
        }
        // A file that could not be created fails at its first block, even the empty one.
        if (length == 0 ? !output.IsOpen() : !output.Write(std::span(block_).first(length))) {
            access_.SendReject();
            abandoned_ = true;
            return WriteFailed(into, output);
        }
        if (length == 0) {
            // An end before the listed size is a file cut short by the instrument.
            file.outcome =
                file.received < file.expected ? FileOutcome::kPartial : FileOutcome::kComplete;
            return Next::kGoOn;
        }
        file.received += length;
        progress_.Count(length);
        ShowProgress();
    }
}

// Fetches the file again until a copy agrees with the one before it, at most kVerifyCopies more
// times; a file whose copies never agree stays a ".part" file.
Transfer::Next Transfer::Verify(DownloadedFile& file, const std::string& partPath) {
    const std::string copyPath = file.path + kVerifySuffix;
    std::error_code error;
    for (int round = 0; round < kVerifyCopies; ++round) {
        DownloadedFile copy{file.name, file.path, 0, file.expected, FileOutcome::kFailed};
        const Next next = StartTransfer(copy, copyPath);
        if (next != Next::kGoOn || copy.outcome != FileOutcome::kComplete) {
            std::filesystem::remove(copyPath, error);
            file.outcome = FileOutcome::kUnverified;
            return next;
        }
        if (SameContents(partPath, copyPath)) {
            std::filesystem::remove(copyPath, error);
            return Next::kGoOn;
        }
        std::filesystem::rename(copyPath, partPath, error);
    }
    file.outcome = FileOutcome::kUnverified;
    return Next::kGoOn;
}

// A whole file takes its own name (replacing the one there, as the user agreed); a partial one
// stays a ".part" file, unless nothing of it arrived.
Transfer::Next Transfer::KeepFile(DownloadedFile& file, const std::string& partPath, Next next) {
    std::error_code error;
    if (file.outcome == FileOutcome::kComplete) {
        std::filesystem::rename(partPath, file.path, error);
        if (!error) {
            return next;
        }
        file.outcome = FileOutcome::kPartial;
        result_.writeError = error.message();
        next = GoOn(recorder_texts::WriteError(file.path, error.value(), error.message()))
                   ? next
                   : Next::kWriteFailed;
    }
    if (file.outcome == FileOutcome::kPartial && file.received == 0) {
        std::filesystem::remove(partPath, error);
        file.outcome = FileOutcome::kFailed;
    }
    if (file.outcome == FileOutcome::kPartial || file.outcome == FileOutcome::kUnverified) {
        file.path = partPath;
    }
    return next;
}

void Transfer::ShowSubject(const std::string& subject) {
    shown_.subject = subject;
    report_.Post([shown = shown_](RecorderListener& l) { l.OnProgress(shown); });
}

void Transfer::ShowProgress() {
    if (!progress_.TakeMove()) {
        return;
    }
    shown_.position = progress_.Position();
    shown_.detail = recorder_texts::TimeLeft(progress_.TimeLeftMs(worker_.GetClock().TickCount()));
    report_.Post([shown = shown_](RecorderListener& l) { l.OnProgress(shown); });
}

// A stop or a vanished port is not asked about; any other failure asks whether to go on.
Transfer::Next Transfer::ReadFailed(const DownloadedFile& file) {
    if (file.outcome == FileOutcome::kFailed) {
        progress_.Count(file.expected);
    }
    if (stop_.IsSet()) {
        return Next::kCancel;
    }
    if (worker_.Link().PortLost()) {
        Tell(recorder_texts::ConnectionLost(file.name, worker_.Link().LastErrorMessage()),
             recorder_texts::kErrorCaption, MessageButtons::kOk);
        return Next::kLost;
    }
    return GoOn(recorder_texts::ReadError(file.name)) ? Next::kGoOn : Next::kCancel;
}

Transfer::Next Transfer::WriteFailed(const std::string& path, const OutputFile& output) {
    result_.writeError = output.ErrorText();
    return GoOn(recorder_texts::WriteError(path, output.ErrorCode(), output.ErrorText()))
               ? Next::kGoOn
               : Next::kWriteFailed;
}

Transfer::Next Transfer::Refuse(DownloadedFile& file) {
    const std::string shown = PrintableName(file.name);
    ShowSubject(shown);
    progress_.Count(file.expected);
    file.outcome = FileOutcome::kRefused;
    return End(file, GoOn(recorder_texts::UnusableName(shown)) ? Next::kGoOn : Next::kCancel);
}

MessageResult Transfer::Tell(const std::string& text, const std::string& caption,
                             MessageButtons buttons) {
    return report_.Ask([&](RecorderListener& l) {
        return l.ShowMessage(text, caption, buttons, MessageIcon::kError);
    });
}

bool Transfer::GoOn(const std::string& question) {
    return Tell(question, recorder_texts::kErrorCaption, MessageButtons::kYesNo) ==
           MessageResult::kYes;
}

// A file skipped or given up on still counts for the bar, which shows it here.
Transfer::Next Transfer::End(const DownloadedFile& file, Next next) {
    ShowProgress();
    result_.files.push_back(file);
    report_.Post([file](RecorderListener& l) { l.OnFileEnded(file); });
    return next;
}

}  // namespace

DownloadRun::DownloadRun(JobReporter<RecorderListener>& report, DownloadRequest request)
    : report_(report), request_(std::move(request)) {
    result_.folder = request_.folder;
}

void DownloadRun::Work(WorkerSession& worker, const StopEvent& stop) {
    const uint32_t lineRate = worker.Link().GetBaudRate();
    if (request_.rate && *request_.rate != lineRate) {
        if (!SwitchRate(worker.Instrument(), *request_.rate)) {
            result_.outcome = DownloadOutcome::kRateRefused;
            return;
        }
        switchedFrom_ = lineRate;
    }
    Transfer(worker, report_, stop, request_, result_).Run();
}

void DownloadRun::Settle(WorkerSession& worker, const StopEvent& stop) {
    if (switchedFrom_) {
        CRecorderAccess access(worker.Instrument());
        result_.rateNotRestored = !RestoreRate(access, worker.Link(), *switchedFrom_);
        return;
    }
    // A transfer that was cut (the instrument told with three "b") may still be sending.
    const DownloadOutcome outcome = result_.outcome;
    const bool cut = stop.IsSet() || outcome == DownloadOutcome::kCancelled ||
                     outcome == DownloadOutcome::kWriteFailed;
    if (cut && outcome != DownloadOutcome::kConnectionLost) {
        SettleAfterStop(worker.Instrument());
    } else {
        SettleLine(worker.Link());
    }
}

}  // namespace brennix
