#include "script/commands_table.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>

namespace brennix {
namespace {

// The whole table, written out independently of the code, so that a typo in any script shows:
// the entry's id, then ">Title" for a group or the label and its script ("" = same as label).
struct Pinned {
    int id;
    const char* label;
    const char* script;
};

constexpr Pinned kPinned[] = {
    {1125, ">Help", ""},
    {1126, "Help System", ""},
    {1127, "Help Setup", ""},
    {1128, "Help Deploy", ""},
    {1129, "Help Sdi12", ""},
    {1130, "Help Recorder", ""},
    {1131, "Help Sensor", ""},
    {1132, "Help Compass", ""},
    {1133, "Help Show", ""},
    {1134, ">Show", ""},
    {1135, "Show Conf", ""},
    {1136, "Show Deploy", ""},
    {1137, "Show Setup", ""},
    {1138, "Show System", ""},
    {1139, ">Setup", ""},
    {1140, "AvgInterval", "ai\n#WAIT_PROMPT 5\nai ##input('Averaging interval')"},
    {1141, "SampleInterval", "si\n#WAIT_PROMPT 5\nsi ##input('Sampling interval')"},
    {1142, "CellBegin", "cb\n#WAIT_PROMPT 5\ncb ##input('Cell begin')"},
    {1143, "CellEnd", "ce\n#WAIT_PROMPT 5\nce ##input('Cell end')"},
    {1144, "CoordSystem", "\tcy\n#WAIT_PROMPT 5\n cy ##select('Coord system','BEAM','XYZ','ENU')"},
    {1145, "TempMode", "tm\n#WAIT_PROMPT 5\ntm ##select('TempMode','Measured','User')"},
    {1146, "DataFormat", "df\n#WAIT_PROMPT 5\ndf ##select('Data format','LONG','SHORT')"},
    {1147, "ProfilingMode", "pm\n#WAIT_PROMPT 5\npm ##check('Enable profiling','NO','YES','NO')"},
    {1148, "Ncells", "nc\n#WAIT_PROMPT 5\nnc ##input('NCells')"},
    {1149, "CellSize", "cs\n#WAIT_PROMPT 5\ncs ##input('Cell size')"},
    {1150, "BlankDistance", "bd\n#WAIT_PROMPT 5\nbd ##input('Blank distance')"},
    {1151, "DynBoundaryAdj", "dba\n#WAIT_PROMPT 5\ndba ##check('DynBoundaryAdj','NO','YES','NO')"},
    {1152, "Temp", "temp\n#WAIT_PROMPT 5\ntemp ##input('Default temperature(C)')"},
    {1153, "Sal", "sal\n#WAIT_PROMPT 5\nsal ##input('Default salinity(ppt)')"},
    {1154, "Defaults", ""},
    {1155, "SaveSetup", ""},
    {1156, ">System", ""},
    {1157, "SaveSetup", ""},
    {1158, "AutoSleep",
     "AutoSleep\n#WAIT_PROMPT 5\nAutoSleep ##check('Auto sleep','ON','ON','OFF')"},
    {1159, "Recorder", "Recorder\n#WAIT_PROMPT 5\nRecorder ##check('Recorder','ON','ON','OFF')"},
    {1160, "OutMode", "OutMode\n#WAIT_PROMPT 5\nOutMode ##select('Out mode','auto','polled')"},
    {1161, "OutFormat",
     "OutFormat\n#WAIT_PROMPT 5\nOutFormat ##select('Output format','binary','ascii','seabird')"},
    {1162, "Start", ""},
    {1163, "Deploy", ""},
    {1164, ">Deploy", ""},
    {1165, "Deployment", ""},
    {1166, "Comments", ""},
    {1167, "StartDate", ""},
    {1168, "StartTime", ""},
    {1169, "BurstMode", ""},
    {1170, "BurstInterval", ""},
    {1171, "SamplesPerBurst", ""},
    {1172, "Deploy", ""},
    {1173, ">Sensor", ""},
    {1174, "Sensor", ""},
    {1175, "Sensor CONT", ""},
    {1176, "PressOffset", ""},
    {1177, "PressScale", ""},
    {1178, "PressScale_2", ""},
    {1179, ">Compass", ""},
    {1180, "Compass", ""},
    {1181, "Compass CONT", ""},
    {1182, "Compass CAL", ""},
    {1183, ">SDI-12", ""},
    {1184, "sdi12", ""},
    {1185, "sdi12address", ""},
    {1186, "?EXIT!", ""},
};

TEST(CommandsTableTest, EveryEntryByteForByte) {
    const auto entries = CommandsTable::Entries();
    ASSERT_EQ(entries.size(), std::size(kPinned));
    for (size_t i = 0; i < entries.size(); ++i) {
        const Pinned& pinned = kPinned[i];
        const CommandEntry& entry = entries[i];
        SCOPED_TRACE(pinned.label);
        EXPECT_EQ(entry.Id(), pinned.id);
        ASSERT_EQ(CommandsTable::FindById(pinned.id), &entry);
        const std::string_view label = pinned.label;
        if (label.starts_with('>')) {
            EXPECT_TRUE(entry.IsGroup());
            EXPECT_EQ(entry.GroupTitle(), label.substr(1));
            EXPECT_TRUE(entry.Label().empty() && entry.Script().empty());
            continue;
        }
        EXPECT_FALSE(entry.IsGroup());
        EXPECT_EQ(entry.Label(), label);
        EXPECT_EQ(entry.Script(), *pinned.script ? pinned.script : pinned.label);
    }
}

TEST(CommandsTableTest, LabelLookupFindsTheFirstCommandWithExactlyThatLabel) {
    ASSERT_NE(CommandsTable::LabelLookup("SaveSetup"), nullptr);
    EXPECT_EQ(CommandsTable::LabelLookup("SaveSetup")->Id(), 1155);
    EXPECT_EQ(CommandsTable::LabelLookup("Deploy")->Id(), 1163);
    EXPECT_EQ(CommandsTable::LabelLookup("savesetup"), nullptr);
    EXPECT_EQ(CommandsTable::LabelLookup("Help"), nullptr);  // a group title, not a command
}

}  // namespace
}  // namespace brennix
