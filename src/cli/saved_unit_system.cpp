#include "cli/saved_unit_system.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace brennix::cli {

namespace {

constexpr std::string_view kGroup = "[Settings]";
constexpr std::string_view kKey = "UnitSystem";
constexpr int kDefaultSetting = 1;

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return Trimmed(value.substr(1, value.size() - 2));
    }
    return value;
}

int SettingValue(std::string_view value) {
    value = Unquoted(value);
    int number = 0;
    const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (status != std::errc() || end != value.data() + value.size()) {
        return kDefaultSetting;
    }
    return number;
}

}  // namespace

UnitSystem UnitSystemFromSettingsText(std::string_view text) {
    bool inGroup = false;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inGroup = line == kGroup;
            continue;
        }
        const size_t equals = line.find('=');
        if (inGroup && equals != std::string_view::npos &&
            Trimmed(line.substr(0, equals)) == kKey) {
            return UnitSystemFromSetting(SettingValue(Trimmed(line.substr(equals + 1))));
        }
    }
    return UnitSystemFromSetting(kDefaultSetting);
}

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
    std::string folder;
    if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') {
        folder = xdgConfigHome;
    } else if (home != nullptr && *home != '\0') {
        folder = std::string(home) + "/.config";
    } else {
        return {};
    }
    return folder + "/Ostrel/Brennix.conf";
}

UnitSystem SavedUnitSystem() {
    const std::string path = SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    std::ifstream file(path, std::ios::binary);
    if (path.empty() || !file) {
        return UnitSystemFromSetting(kDefaultSetting);
    }
    std::ostringstream text;
    text << file.rdbuf();
    return UnitSystemFromSettingsText(text.str());
}

}  // namespace brennix::cli
