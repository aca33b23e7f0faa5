#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "instrument/setup_record.h"
#include "instrument/unit_system.h"
#include "setup/setup_controls.h"

namespace brennix {

// What the pages show for a record: the controls' labels, list entries and texts as the page
// fills them. Pure functions; the sheet and the console both show a record through them.

// The label as the page shows it, colon included where the page has one.
std::string ControlLabel(SetupControl control, UnitSystem units);
// The label as listings and records show it: without its trailing colon and blanks.
std::string PlainLabel(std::string label);
// The entries a list offers for this instrument (no "ENU" without a compass, no "SDI-12" mode
// without the option); empty for a control that is not a list.
std::vector<std::string_view> ControlChoices(SetupControl control, const SetupRecord& record);

// Record → controls, as each page's load fills them.
ControlValues LoadDeployPage(const SetupRecord& record, UnitSystem units);
// Clears the wave option byte to its bit 0 first, as every load and save of the page does.
ControlValues LoadAdvancedPage(SetupRecord& record, UnitSystem units);
ControlValues LoadSdi12Dialog(const SetupRecord& record);

// The cell edits take input only on the system types whose cells the page checks (VW and JQ).
bool CellsEditable(const SetupRecord& record);
// The index of the list's entry holding text, or -1.
int ChoiceIndex(const std::vector<std::string_view>& entries, std::string_view text);

// One read-only line of the Hardware or Options page.
struct InfoRow {
    std::string label;
    std::string text;
};
std::vector<InfoRow> HardwareRows(const SetupRecord& record);
std::vector<InfoRow> OptionsRows(const SetupRecord& record);
// Firmware before 5.4 leaves the YSI and external pressure bytes undefined: the page clears them
// in the record first, and from then on they count as absent for the whole sheet.
std::vector<InfoRow> LoadOptionsPage(SetupRecord& record);

// The date and time as the picker shows them: "yyyy/MM/dd , HH:mm:ss".
std::string StartOnText(std::string_view date, std::string_view time);
// A start the instrument holds but no calendar has, as the picker shows it instead of a date:
// "0000/00/00 , 00:00:00 (not set)".
std::string UnsetStartOnText(std::string_view date, std::string_view time);

}  // namespace brennix
