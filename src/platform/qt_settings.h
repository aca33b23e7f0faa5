#pragma once

#include "platform/settings.h"

namespace brennix {

// The settings in Qt's store for "Ostrel"/"Brennix": on Linux ~/.config/Ostrel/Brennix.conf, on
// Windows the registry key of that name. Both programs use it; it needs no QCoreApplication.
class QtSettings : public Settings {
  public:
    int Read(const IntSetting& setting) const override;
    std::string Read(const TextSetting& setting) const override;
    bool Contains(std::string_view key) const override;
    void Write(const IntSetting& setting, int value) override;
    void Write(const TextSetting& setting, const std::string& value) override;
};

}  // namespace brennix
