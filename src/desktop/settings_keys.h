#pragma once

// The persisted settings, QSettings("Ostrel", "Brennix"): one group per feature. The names are
// shared with earlier versions of the program and must not change, misspellings included.
namespace brennix::settings {

inline constexpr const char* kOrganisation = "Ostrel";
inline constexpr const char* kApplication = "Brennix";

inline constexpr const char* kUnitSystem = "Settings/UnitSystem";
inline constexpr int kUnitSystemDefault = 1;

inline constexpr const char* kTerminalFont = "Terminal/Font";
inline constexpr int kTerminalFontDefault = 0;

// Where the log and command-file dialogs were last left.
inline constexpr const char* kLogFolder = "Terminal/LogFolder";
inline constexpr const char* kCommandFileFolder = "Terminal/CommandFileFolder";

}  // namespace brennix::settings
