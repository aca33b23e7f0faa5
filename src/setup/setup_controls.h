#pragma once

#include <map>
#include <string>

namespace brennix {

// The setup sheet's pages in tab order.
enum class SetupPage { kDeploy, kAdvanced, kHardware, kOptions };
inline constexpr SetupPage kSetupPages[] = {SetupPage::kDeploy, SetupPage::kAdvanced,
                                            SetupPage::kHardware, SetupPage::kOptions};

// Where a control that holds a setting lives: a page with controls, or the SDI-12 deployment
// dialog.
enum class ControlHome { kDeployPage, kAdvancedPage, kSdi12Dialog };

// The controls whose values the pages and the SDI-12 deployment dialog show and write. The start
// date and time are one picker on the page, two settings on the instrument. What each one is
// (label, list, states, the setting it writes) is its row in the control table.
enum class SetupControl {
    kAveragingInterval,
    kSamplingInterval,
    kCellBegin,
    kCellEnd,
    kFileName,
    kStartDate,  // "yyyy/MM/dd"
    kStartTime,  // "HH:mm:ss"
    kMode,
    kTempMode,
    kTemperature,
    kSalinity,
    kSoundSpeed,
    kWaveSpectra,
    kWaterDepth,
    kDataFormat,
    kDynBoundAdj,
    kCoordSystem,
    kSdi12Address,
    kSdi12Format,
    kSdi12Units,
};

// What each control holds as text: an edit its text, a list its selected entry ("" for none),
// the picker its date and its time.
using ControlValues = std::map<SetupControl, std::string>;

// What the control holds; "" for a control the values do not have.
inline const std::string& ValueOf(const ControlValues& values, SetupControl control) {
    static const std::string kNone;
    const auto it = values.find(control);
    return it == values.end() ? kNone : it->second;
}

// Why a value may not be written: a rule of the page (shown with the application's message box)
// or the instrument's refusal (shown as "Invalid input" with its reply), and the control that
// gets the focus.
struct Refusal {
    enum class Source { kPageRule, kInstrument };
    Source source = Source::kPageRule;
    std::string message;
    SetupControl control = SetupControl::kAveragingInterval;
    // The page selects the control's whole text as well.
    bool selectText = false;
    // The command the instrument refused.
    std::string command = {};
};

}  // namespace brennix
