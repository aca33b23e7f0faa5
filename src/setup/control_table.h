#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "instrument/setup_record.h"
#include "setup/setting_steps.h"
#include "setup/setup_controls.h"

namespace brennix {

class SetupSheet;

// Everything the setup feature knows of one control, in one row: where it lives and how it is
// labelled, its list entries, when the technician may change it, and the setting it writes. The
// pages and the SDI-12 dialog build their widgets from these rows, the rules and the saves read
// them, and the console lists and sets through them: a new control is a new row.
struct ControlSpec {
    SetupControl control;
    ControlHome home;
    // The group box it sits in on its page ("" for one without caption).
    std::string_view group;
    // The name its widget carries (tests, screenshots).
    std::string_view name;
    // The label as the page shows it, colon included where the page has one; in English units
    // where that differs.
    std::string_view label;
    std::string_view englishLabel = {};
    // A list's entries in item order (an entry's index is its value); none for an edit.
    std::span<const std::string_view> entries = {};
    // How many of them this instrument offers; all when not given.
    size_t (*offered)(const SetupRecord& record) = nullptr;
    // Enabled, and read-only, as the page's rules have them for the sheet's values; always
    // enabled and never read-only when not given.
    bool (*enabled)(const SetupSheet& sheet) = nullptr;
    bool (*readOnly)(const SetupSheet& sheet) = nullptr;
    // Why the technician cannot change it while it is not editable.
    std::string_view locked = "the page does not let it be changed";
    // The setting it writes (no word: none), and its place in its home's save, from 1.
    SettingStep step = {};
    int saveOrder = 0;
};

// Every control, each home's in the order it shows them.
std::span<const ControlSpec> ControlSpecs();
const ControlSpec& SpecOf(SetupControl control);
// The home's controls that write a setting, in the order its save writes them.
std::vector<const ControlSpec*> SaveOrder(ControlHome home);
// The home's controls in the order it shows them.
std::vector<const ControlSpec*> ShownOrder(ControlHome home);

}  // namespace brennix
