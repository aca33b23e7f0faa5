#pragma once

#include <string>
#include <string_view>

#include "instrument/unit_system.h"

namespace brennix::cli {

// The unit system the desktop program saved, read without Qt from the settings file it writes
// on Linux: $XDG_CONFIG_HOME (or ~/.config) / Ostrel/Brennix.conf, group [Settings], key
// UnitSystem, 1 English and 0 Metric. English when the file, the group or the key is missing or
// the value is no number, as the desktop program starts.
UnitSystem SavedUnitSystem();

// The file's path from the two environment values (either may be null or empty).
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);
// The unit system an INI text holds; tolerant of blanks, CR LF line ends, comments, quotes and
// other groups.
UnitSystem UnitSystemFromSettingsText(std::string_view text);

}  // namespace brennix::cli
