#include "setup/value_names.h"

#include <array>

namespace brennix {

namespace {

constexpr std::array<std::string_view, 6> kSystemTypes = {"QZ", "VW", "JQ", "ZK", "WX", "LMR"};
constexpr std::array<std::string_view, 2> kFrequencies = {"3 MHz", "1.5 MHz"};
constexpr std::array<std::string_view, 4> kBeamGeometries = {
    "2_BEAMS", "3_BEAMS", "4_BEAMS_ONE_VERTICAL", "4_BEAMS_JANUS"};
constexpr std::array<std::string_view, 3> kOrientations = {"DOWN", "UP", "SIDE"};

std::string Named(std::span<const std::string_view> names, int code) {
    const std::string_view name = ChoiceAt(names, code);
    return name.empty() ? "Unknown (" + std::to_string(code) + ")" : std::string(name);
}

}  // namespace

std::string_view ChoiceAt(std::span<const std::string_view> entries, int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) {
        return {};
    }
    return entries[static_cast<size_t>(index)];
}

std::string SystemTypeName(int type) {
    return Named(kSystemTypes, type);
}

std::string FrequencyName(int frequency) {
    return Named(kFrequencies, frequency);
}

std::string BeamGeometryName(int geometry) {
    return Named(kBeamGeometries, geometry);
}

std::string OrientationName(int orientation) {
    return Named(kOrientations, orientation);
}

std::string YesNoName(int flag) {
    return Named(choices::kNoYes, flag);
}

}  // namespace brennix
