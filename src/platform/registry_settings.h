#pragma once

#include <string>

#include "platform/settings.h"

namespace brennix {

// The settings under a key of HKEY_CURRENT_USER, laid out as Qt's store lays them out on Windows:
// "Section/Name" is the value Name of the subkey Section, a number a DWORD, a text a string. A
// number stored as a string (as an earlier program may have left it) reads as that number.
class RegistrySettings : public Settings {
  public:
    explicit RegistrySettings(std::string key);

    int Read(const IntSetting& setting) const override;
    std::string Read(const TextSetting& setting) const override;
    bool Contains(std::string_view key) const override;
    void Write(const IntSetting& setting, int value) override;
    void Write(const TextSetting& setting, const std::string& value) override;

  private:
    std::string key_;
};

}  // namespace brennix
