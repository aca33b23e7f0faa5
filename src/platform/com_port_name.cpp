#include "platform/com_port_name.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace brennix {

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";

std::string_view WithoutColon(std::string_view name) {
    return name.ends_with(':') ? name.substr(0, name.size() - 1) : name;
}

std::string_view WithoutDevicePrefix(std::string_view name) {
    return name.starts_with(kDevicePrefix) ? name.substr(kDevicePrefix.size()) : name;
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace

std::string ComPortPath(std::string_view name) {
    const std::string_view bare = WithoutColon(name);
    if (bare.find_first_of("\\/") != std::string_view::npos) {
        return std::string(bare);
    }
    std::string path(kDevicePrefix);
    std::transform(bare.begin(), bare.end(), std::back_inserter(path), Upper);
    return path;
}

std::optional<unsigned> ComPortNumber(std::string_view name) {
    const std::string_view bare = WithoutDevicePrefix(WithoutColon(name));
    if (bare.size() < 4 || bare.size() > 6 || Upper(bare[0]) != 'C' || Upper(bare[1]) != 'O' ||
        Upper(bare[2]) != 'M') {
        return std::nullopt;
    }
    unsigned number = 0;
    for (const char digit : bare.substr(3)) {
        if (!std::isdigit(static_cast<unsigned char>(digit))) {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(digit - '0');
    }
    return number;
}

}  // namespace brennix
