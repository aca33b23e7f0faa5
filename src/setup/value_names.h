#pragma once

#include <span>
#include <string>
#include <string_view>

namespace brennix {

// The system types and the frequency the pages' rules single out (ConfBlock byte 25: type =
// code / 16, frequency = code % 16).
namespace system_types {
inline constexpr int kVw = 1;
inline constexpr int kJq = 2;
inline constexpr int kWx = 4;
inline constexpr int kLmr = 5;
}  // namespace system_types
inline constexpr int kFrequency1500kHz = 1;

// The names the setup pages give the record's codes. A code without a name (a type above 5, a
// flag of 2, a negative frequency from a system code of 0x80 or more) shows as "Unknown (code)".

std::string SystemTypeName(int type);
std::string FrequencyName(int frequency);
std::string BeamGeometryName(int geometry);
std::string OrientationName(int orientation);
std::string YesNoName(int flag);

// The entries of the pages' drop-down lists, in item order: an entry's index is its value.
namespace choices {
inline constexpr std::string_view kCoordSystems[] = {"Beam", "XYZ", "ENU"};
inline constexpr std::string_view kDataFormats[] = {"LONG", "SHORT"};
inline constexpr std::string_view kNoYes[] = {"NO", "YES"};
inline constexpr std::string_view kTempModes[] = {"USER", "MEASURED"};
inline constexpr std::string_view kSdi12Formats[] = {"Ostrel", "Tandrel"};
inline constexpr std::string_view kSdi12Units[] = {"English", "Metric"};
inline constexpr std::string_view kDeploymentModes[] = {"Standard", "SDI-12"};
}  // namespace choices

// The entry with the index, or "" when the list has none (what an empty selection shows).
std::string_view ChoiceAt(std::span<const std::string_view> entries, int index);

}  // namespace brennix
