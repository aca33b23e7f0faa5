#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/config_blocks.h"

namespace brennix::sim {

enum class SettingKind {
    kNumber,  // a decimal value, stored times the scale
    kChoice,  // one of the named choices (or its index), stored as the index
    kText,    // free text
    kDate,    // "yyyy/mm/dd"
    kTime,    // "hh:mm:ss"
};

struct SettingSpec {
    std::vector<std::string_view> names;  // command word first, then aliases
    SettingKind kind;
    std::optional<Field> field;  // where it lives in the blocks; none for settings kept aside
    double scale = 1.0;          // stored units per value unit
    std::vector<std::string_view> choices = {};
    std::string_view initial = {};  // the starting value of a setting kept aside
};

// The instrument's settings: validates a new value, stores it where it belongs in the
// configuration blocks (or aside, for those without a place there) and reports the current one.
class SettingStore {
  public:
    explicit SettingStore(ConfigBlocks& blocks);

    // The setting a command word names, in any case; none for other words.
    static const SettingSpec* Find(std::string_view word);

    // False, with nothing changed, when the value does not suit the setting.
    bool Apply(const SettingSpec& spec, std::string_view value);
    std::string Current(const SettingSpec& spec) const;
    void RestoreDefaults();

  private:
    bool ApplyNumber(const SettingSpec& spec, std::string_view value);
    bool ApplyChoice(const SettingSpec& spec, std::string_view value);
    bool ApplyText(const SettingSpec& spec, std::string_view value);
    bool ApplyDate(std::string_view value);
    bool ApplyTime(std::string_view value);
    std::string CurrentNumber(const SettingSpec& spec) const;

    ConfigBlocks& blocks_;
    std::map<std::string_view, std::string> keptAside_;  // by command word
};

}  // namespace brennix::sim
