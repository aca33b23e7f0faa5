#include "script/commands_table.h"

#include "script/script_engine.h"

#include <array>
#include <string>
#include <utility>

namespace brennix {

namespace {

constexpr char kGroupMarker = '>';
constexpr char kLabelSeparator = '|';

// Scripts: send the bare command, wait for the prompt, then send the command with the value the
// user enters. The tab and the blank in "CoordSystem" are part of the data.
constexpr std::array<std::string_view, 62> kTexts = {
    ">Help",
    "Help System",
    "Help Setup",
    "Help Deploy",
    "Help Sdi12",
    "Help Recorder",
    "Help Sensor",
    "Help Compass",
    "Help Show",
    ">Show",
    "Show Conf",
    "Show Deploy",
    "Show Setup",
    "Show System",
    ">Setup",
    "AvgInterval|ai\n#WAIT_PROMPT 5\nai ##input('Averaging interval')",
    "SampleInterval|si\n#WAIT_PROMPT 5\nsi ##input('Sampling interval')",
    "CellBegin|cb\n#WAIT_PROMPT 5\ncb ##input('Cell begin')",
    "CellEnd|ce\n#WAIT_PROMPT 5\nce ##input('Cell end')",
    "CoordSystem|\tcy\n#WAIT_PROMPT 5\n cy ##select('Coord system','BEAM','XYZ','ENU')",
    "TempMode|tm\n#WAIT_PROMPT 5\ntm ##select('TempMode','Measured','User')",
    "DataFormat|df\n#WAIT_PROMPT 5\ndf ##select('Data format','LONG','SHORT')",
    "ProfilingMode|pm\n#WAIT_PROMPT 5\npm ##check('Enable profiling','NO','YES','NO')",
    "Ncells|nc\n#WAIT_PROMPT 5\nnc ##input('NCells')",
    "CellSize|cs\n#WAIT_PROMPT 5\ncs ##input('Cell size')",
    "BlankDistance|bd\n#WAIT_PROMPT 5\nbd ##input('Blank distance')",
    "DynBoundaryAdj|dba\n#WAIT_PROMPT 5\ndba ##check('DynBoundaryAdj','NO','YES','NO')",
    "Temp|temp\n#WAIT_PROMPT 5\ntemp ##input('Default temperature(C)')",
    "Sal|sal\n#WAIT_PROMPT 5\nsal ##input('Default salinity(ppt)')",
    "Defaults",
    "SaveSetup",
    ">System",
    "SaveSetup",
    "AutoSleep|AutoSleep\n#WAIT_PROMPT 5\nAutoSleep ##check('Auto sleep','ON','ON','OFF')",
    "Recorder|Recorder\n#WAIT_PROMPT 5\nRecorder ##check('Recorder','ON','ON','OFF')",
    "OutMode|OutMode\n#WAIT_PROMPT 5\nOutMode ##select('Out mode','auto','polled')",
    "OutFormat|OutFormat\n#WAIT_PROMPT 5\nOutFormat ##select('Output "
    "format','binary','ascii','seabird')",
    "Start",
    "Deploy",
    ">Deploy",
    "Deployment",
    "Comments",
    "StartDate",
    "StartTime",
    "BurstMode",
    "BurstInterval",
    "SamplesPerBurst",
    "Deploy",
    ">Sensor",
    "Sensor",
    "Sensor CONT",
    "PressOffset",
    "PressScale",
    "PressScale_2",
    ">Compass",
    "Compass",
    "Compass CONT",
    "Compass CAL",
    ">SDI-12",
    "sdi12",
    "sdi12address",
    "?EXIT!",
};

template <size_t... I>
constexpr std::array<CommandEntry, sizeof...(I)> MakeEntries(std::index_sequence<I...>) {
    return {CommandEntry(CommandsTable::kFirstId + static_cast<int>(I), kTexts[I])...};
}

constexpr auto kEntries = MakeEntries(std::make_index_sequence<kTexts.size()>());

}  // namespace

bool CommandEntry::IsGroup() const {
    return !text_.empty() && text_.front() == kGroupMarker;
}

std::string_view CommandEntry::GroupTitle() const {
    return IsGroup() ? text_.substr(1) : std::string_view();
}

std::string_view CommandEntry::Label() const {
    if (IsGroup()) {
        return {};
    }
    return text_.substr(0, text_.find(kLabelSeparator));
}

std::string_view CommandEntry::Script() const {
    if (IsGroup()) {
        return {};
    }
    const size_t separator = text_.find(kLabelSeparator);
    return separator == std::string_view::npos ? text_ : text_.substr(separator + 1);
}

std::span<const CommandEntry> CommandsTable::Entries() {
    return kEntries;
}

const CommandEntry* CommandsTable::FindById(int id) {
    const long index = static_cast<long>(id) - kFirstId;
    if (index < 0 || index >= static_cast<long>(kEntries.size())) {
        return nullptr;
    }
    return &kEntries[static_cast<size_t>(index)];
}

const CommandEntry* CommandsTable::LabelLookup(std::string_view label) {
    for (const CommandEntry& entry : kEntries) {
        if (!entry.IsGroup() && entry.Label() == label) {
            return &entry;
        }
    }
    return nullptr;
}

// A group title is no command: running it would send its ">Title" text to the instrument.
int RunCommandsEntry(int id, CScriptEngine& engine) {
    const CommandEntry* entry = CommandsTable::FindById(id);
    if (!entry || entry->IsGroup()) {
        return 0;
    }
    return engine.Run(std::string(entry->Script()), true);
}

}  // namespace brennix
