#include "recorder/recorder_texts.h"

#include <cstdio>
#include <filesystem>

#include "recorder/display_text.h"
#include "recorder/download_naming.h"

namespace brennix::recorder_texts {

namespace {

std::string Printed(const char* format, int a, int b, int c = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

// A file the user chose not to replace, in each file's line and in the end's summary.
constexpr const char* kKept = "not downloaded: the file that was there is kept";

std::string OperationName(RecorderOperation operation) {
    return operation == RecorderOperation::kFormat ? "Format" : "Download";
}

}  // namespace

std::string FileCount(size_t count) {
    return "Files: " + std::to_string(count);
}

std::string UsedSpace(const RecorderListing& listing) {
    return "Used space " + FormatSize(listing.used) + " / " + FormatSize(listing.capacity);
}

std::string EntryDate(const RecorderFileEntry& entry) {
    return Printed("%.02d/%.02d/%.04d", entry.month, entry.day, entry.year);
}

std::string EntryTime(const RecorderFileEntry& entry) {
    return Printed("%.02d:%.02d", entry.hour, entry.minute);
}

std::string CancelQuestion(RecorderOperation operation) {
    return OperationName(operation) + " in progress\nAre you sure that you want to cancel it?";
}

std::string CancelCaption(RecorderOperation operation) {
    return "Cancel " + OperationName(operation) + " ?";
}

std::string ReplaceQuestion(const std::string& path) {
    return "File " + path + " already exists!\nDo you want to replace it?";
}

std::string ReadError(const std::string& name) {
    return "Error reading '" + name + "'\nDo you want to continue?";
}

std::string WriteError(const std::string& path, int code, const std::string& reason) {
    return "Error writing to '" + path + "'\nError: " + std::to_string(code) + " (" + reason +
           ")\nContinue?";
}

std::string UnusableName(const std::string& shownName) {
    return "'" + shownName +
           "' cannot be saved: the name is not a plain file name\nDo you want to continue?";
}

std::string ConnectionLost(const std::string& name, const std::string& reason) {
    return "Lost the connection while reading '" + name + "':\n" + reason;
}

std::string TimeLeft(uint64_t ms) {
    return "Time left " + FormatDuration(ms);
}

std::string TotalTime(uint32_t ms) {
    return "Total time " + FormatDuration(ms);
}

std::string Formatting(int round) {
    return "Formatting (" + std::to_string(round) + "%)";
}

std::string DownloadEnd(const DownloadResult& result) {
    switch (result.outcome) {
        case DownloadOutcome::kDone:
            return "Done";
        case DownloadOutcome::kIncomplete:
            return "Incomplete";
        case DownloadOutcome::kCancelled:
            return "Cancelled";
        case DownloadOutcome::kWriteFailed:
            return "Not written: " + result.writeError;
        case DownloadOutcome::kConnectionLost:
            return "Connection lost";
        case DownloadOutcome::kNoInstrument:
        case DownloadOutcome::kRateRefused:
            break;
    }
    return "";
}

std::string DownloadEndDetail(const DownloadResult& result) {
    if (!result.elapsedMs) {
        return "";
    }
    std::string detail = TotalTime(*result.elapsedMs) + ", files in " + result.folder;
    for (const DownloadedFile& file : result.files) {
        const std::string name = std::filesystem::path(file.path).filename().string();
        if (file.outcome == FileOutcome::kPartial) {
            detail += "\nPartial: " + name;
        } else if (file.outcome == FileOutcome::kUnverified) {
            detail += "\nNot verified: " + name;
        } else if (file.outcome == FileOutcome::kKept) {
            detail += "\n" + name + "  " + kKept;
        }
    }
    return detail;
}

std::string FileLine(const DownloadedFile& file) {
    switch (file.outcome) {
        case FileOutcome::kComplete:
            return file.path + "  " + std::to_string(file.received) + " bytes";
        case FileOutcome::kKept:
            return file.path + "  " + kKept;
        case FileOutcome::kRefused:
            return PrintableName(file.name) + "  not downloaded: not a plain file name";
        case FileOutcome::kFailed:
            break;
        case FileOutcome::kPartial:
            return file.path + "  partial: " + std::to_string(file.received) + " of " +
                   std::to_string(file.expected) + " bytes";
        case FileOutcome::kUnverified:
            return file.path + "  not verified: no two copies agreed";
    }
    return file.path + "  not downloaded";
}

std::string FormatEnd(FormatOutcome outcome) {
    switch (outcome) {
        case FormatOutcome::kDone:
            return "Done";
        case FormatOutcome::kAborted:
            return "Aborted";
        case FormatOutcome::kUnconfirmed:
            return "Not confirmed";
        case FormatOutcome::kCancelled:
        case FormatOutcome::kCancelledErasing:
            return "Cancelled";
        case FormatOutcome::kNotStarted:
            break;
    }
    return "Format failed";
}

std::string FormatEndDetail(FormatOutcome outcome) {
    switch (outcome) {
        case FormatOutcome::kUnconfirmed:
            return "The instrument never confirmed the format";
        case FormatOutcome::kNotStarted:
            return "The instrument did not take the format command";
        case FormatOutcome::kCancelledErasing:
            return "The instrument had been told to erase: the memory card may already be erased";
        default:
            return "";
    }
}

}  // namespace brennix::recorder_texts
