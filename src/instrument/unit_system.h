#pragma once

namespace brennix {

// The unit system the setup pages show and convert lengths, temperatures and speeds in. The
// instrument's record and commands always carry metric values.
enum class UnitSystem { kMetric = 0, kEnglish = 1 };

// As stored in the settings: 1 English, 0 Metric; any other value counts as Metric.
inline UnitSystem UnitSystemFromSetting(int value) {
    return value == static_cast<int>(UnitSystem::kEnglish) ? UnitSystem::kEnglish
                                                           : UnitSystem::kMetric;
}

inline int SettingFromUnitSystem(UnitSystem units) {
    return static_cast<int>(units);
}

}  // namespace brennix
