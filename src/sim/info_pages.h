#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/config_blocks.h"
#include "sim/setting_store.h"

namespace brennix::sim {

// The text pages of "Help <topic>" and "Show <topic>", lines ending in CR LF; none for a topic
// the instrument does not know.
std::optional<std::string> HelpPage(std::string_view topic);
std::optional<std::string> ShowPage(std::string_view topic, const ConfigBlocks& blocks,
                                    const SettingStore& settings);

}  // namespace brennix::sim
