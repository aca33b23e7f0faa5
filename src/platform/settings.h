#pragma once

#include <string>
#include <string_view>

namespace brennix {

// A persisted value: "Section/Name" and what it reads as while nothing is stored.
struct IntSetting {
    std::string_view key;
    int fallback = 0;
};
struct TextSetting {
    std::string_view key;
    std::string_view fallback;
};

// Every persisted setting of both programs, in the application's store "Ostrel"/"Brennix", one
// section per feature. The names are shared with earlier versions of the program and must not
// change, misspellings included.
namespace settings {
inline constexpr std::string_view kOrganisation = "Ostrel";
inline constexpr std::string_view kApplication = "Brennix";

// 1 English, 0 Metric.
inline constexpr IntSetting kUnitSystem{"Settings/UnitSystem", 1};
// The terminal's font size, 0 to 4.
inline constexpr IntSetting kTerminalFont{"Terminal/Font", 0};
// 1: each line of the log file starts with the local time.
inline constexpr IntSetting kLogTimeStamps{"Terminal/LogTimeStamps", 0};
// Where the log, command-file and diagnostic-recording dialogs were last left; empty: none yet.
inline constexpr TextSetting kLogFolder{"Terminal/LogFolder", ""};
inline constexpr TextSetting kCommandFileFolder{"Terminal/CommandFileFolder", ""};
inline constexpr TextSetting kRecordingFolder{"Echolux/Folder", ""};
// The last good connection.
inline constexpr TextSetting kConnectPort{"Connect settings/Port", "COM1:"};
inline constexpr TextSetting kConnectRate{"Connect settings/Rate", "9600"};
inline constexpr IntSetting kConnectAddress{"Connect settings/RS485", 0};
// The rate the recorder downloads at.
inline constexpr IntSetting kDownloadRate{"Recorder/DownoadRate", 57600};
inline constexpr IntSetting kBlockAttempts{"Recorder/BlockAttempts", 3};
inline constexpr IntSetting kVerifyDownloads{"Recorder/VerifyDownloads", 0};
}  // namespace settings

// The application's settings store. Text is in the system's 8-bit encoding.
class Settings {
  public:
    virtual ~Settings() = default;
    virtual int Read(const IntSetting& setting) const = 0;
    virtual std::string Read(const TextSetting& setting) const = 0;
    // Whether a value is stored under the key (a first start has none).
    virtual bool Contains(std::string_view key) const = 0;
    virtual void Write(const IntSetting& setting, int value) = 0;
    virtual void Write(const TextSetting& setting, const std::string& value) = 0;
};

}  // namespace brennix
