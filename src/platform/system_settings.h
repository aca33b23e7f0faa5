#pragma once

#include <memory>

#include "platform/settings.h"

namespace brennix {

// The application's store "Ostrel"/"Brennix" as the system keeps it: on Linux Qt's file
// ~/.config/Ostrel/Brennix.conf, on Windows the registry key
// HKEY_CURRENT_USER\Software\Ostrel\Brennix, where Qt's store keeps it too, so both programs
// read the same values on each system.
std::unique_ptr<Settings> MakeSystemSettings();

}  // namespace brennix
