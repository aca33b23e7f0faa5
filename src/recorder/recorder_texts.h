#pragma once

#include <cstdint>
#include <string>

#include "instrument/recorder_file_entry.h"
#include "instrument/recorder_listing.h"
#include "recorder/recorder_listener.h"

// What the recorder says, in the window and on the console alike: the messages, the status lines,
// and the texts the typed results turn into.
namespace brennix::recorder_texts {

inline constexpr const char* kReadingRecorder = "Reading recorder...";
inline constexpr const char* kReadingDirectory = "Reading directory...";
inline constexpr const char* kReady = "Ready";
inline constexpr const char* kListingFailed = "FAIL";
inline constexpr const char* kNoFiles = "Files: none";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kRateRefused =
    "Failed to change baud rate\n Please try a different baud rate!";
inline constexpr const char* kFormatWarning =
    "WARNING: Formatting will erase ALL data on the memory card.\nSelect OK to format the memory "
    "card or CANCEL to abort.";
inline constexpr const char* kFormatCaption = "Format?";
inline constexpr const char* kFolderNotCreated = "Unable to create OstrelData folder!";
inline constexpr const char* kReplaceCaption = "Confirm file replace";
inline constexpr const char* kNoInstrument = "Unable to connect to any known instrument";
inline constexpr const char* kNoInstrumentCaption = "Connection Error:";
// Under "Cancelled" while a stopped format lets the instrument come back to its prompt.
inline constexpr const char* kWaitingForPrompt = "Waiting for the instrument's prompt...";

// "Files: 3"
std::string FileCount(size_t count);
// "Used space 256.0 kB / 4.00 MB"
std::string UsedSpace(const RecorderListing& listing);
// An entry's date and time as listed: "03/14/2026", "09:30".
std::string EntryDate(const RecorderFileEntry& entry);
std::string EntryTime(const RecorderFileEntry& entry);

// "Download in progress\nAre you sure that you want to cancel it?" and its caption.
std::string CancelQuestion(RecorderOperation operation);
std::string CancelCaption(RecorderOperation operation);
std::string ReplaceQuestion(const std::string& path);

// The download's questions and boxes, asked as it goes.
std::string ReadError(const std::string& name);
std::string WriteError(const std::string& path, int code, const std::string& reason);
std::string UnusableName(const std::string& shownName);
std::string ConnectionLost(const std::string& name, const std::string& reason);

// The second status line while a download runs and when it has ended.
std::string TimeLeft(uint64_t ms);
std::string TotalTime(uint32_t ms);
// "Formatting (5%)"
std::string Formatting(int round);

// How a download ended, as its first status line: "Done", "Cancelled"; empty when it never began
// (no known instrument, rate refused: those have their own box).
std::string DownloadEnd(const DownloadResult& result);
// The lines under it: "Total time 0:12, files in FOLDER", then "Partial: NAME.part" for each file
// that did not arrive whole and a line for each file kept as it was; empty when the download
// never began.
std::string DownloadEndDetail(const DownloadResult& result);
// What became of one file: "PATH  98304 bytes", "PATH  partial: 19456 of 98304 bytes", ...
std::string FileLine(const DownloadedFile& file);

// How a format ended: the first status line, and the second one (empty for most).
std::string FormatEnd(FormatOutcome outcome);
std::string FormatEndDetail(FormatOutcome outcome);

}  // namespace brennix::recorder_texts
