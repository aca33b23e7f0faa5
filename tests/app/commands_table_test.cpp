#include "app/commands_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace brennix {
namespace {

class RecordingRunner : public CScriptRunner {
  public:
    int Run(const std::string& text, bool quiet) override {
        runs.emplace_back(text, quiet);
        return 7;
    }
    std::vector<std::pair<std::string, bool>> runs;
};

TEST(CommandsTableTest, HoldsSixtyTwoEntriesWithConsecutiveIds) {
    const auto entries = CommandsTable::Entries();
    ASSERT_EQ(entries.size(), 62u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Id(), 1125 + static_cast<int>(i));
    }
    EXPECT_EQ(entries.back().Id(), 1186);
}

// The menu inserts every group at the top, so it shows them in reverse of this order.
TEST(CommandsTableTest, GroupsInTableOrderWithTheirFirstAndLastItems) {
    struct Group {
        std::string title;
        std::string first;
        std::string last;
        int count;
    };
    std::vector<Group> groups;
    for (const CommandEntry& entry : CommandsTable::Entries()) {
        if (entry.IsGroup()) {
            groups.push_back({std::string(entry.GroupTitle()), "", "", 0});
            EXPECT_TRUE(entry.Label().empty());
            EXPECT_TRUE(entry.Script().empty());
            continue;
        }
        ASSERT_FALSE(groups.empty()) << "a command before the first group";
        if (groups.back().count++ == 0) {
            groups.back().first = entry.Label();
        }
        groups.back().last = entry.Label();
    }
    const std::vector<std::vector<std::string>> expected = {
        {"Help", "Help System", "Help Show", "8"},   {"Show", "Show Conf", "Show System", "4"},
        {"Setup", "AvgInterval", "SaveSetup", "16"}, {"System", "SaveSetup", "Deploy", "7"},
        {"Deploy", "Deployment", "Deploy", "8"},     {"Sensor", "Sensor", "PressScale_2", "5"},
        {"Compass", "Compass", "Compass CAL", "3"},  {"SDI-12", "sdi12", "?EXIT!", "3"}};
    ASSERT_EQ(groups.size(), expected.size());
    for (size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i].title, expected[i][0]);
        EXPECT_EQ(groups[i].first, expected[i][1]);
        EXPECT_EQ(groups[i].last, expected[i][2]);
        EXPECT_EQ(std::to_string(groups[i].count), expected[i][3]);
    }
}

struct EntryCase {
    int id;
    const char* label;
    const char* script;
};

class CommandEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(CommandEntryTest, LabelAndScriptByteForByte) {
    const CommandEntry* entry = CommandsTable::FindById(GetParam().id);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Label(), GetParam().label);
    EXPECT_EQ(entry->Script(), GetParam().script);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CommandEntryTest,
    testing::Values(
        EntryCase{1126, "Help System", "Help System"},
        EntryCase{1140, "AvgInterval", "ai\n#WAIT_PROMPT 5\nai ##input('Averaging interval')"},
        EntryCase{1142, "CellBegin", "cb\n#WAIT_PROMPT 5\ncb ##input('Cell begin')"},
        EntryCase{1144, "CoordSystem",
                  "\tcy\n#WAIT_PROMPT 5\n cy ##select('Coord system','BEAM','XYZ','ENU')"},
        EntryCase{1147, "ProfilingMode",
                  "pm\n#WAIT_PROMPT 5\npm ##check('Enable profiling','NO','YES','NO')"},
        EntryCase{1152, "Temp", "temp\n#WAIT_PROMPT 5\ntemp ##input('Default temperature(C)')"},
        EntryCase{1153, "Sal", "sal\n#WAIT_PROMPT 5\nsal ##input('Default salinity(ppt)')"},
        EntryCase{1158, "AutoSleep",
                  "AutoSleep\n#WAIT_PROMPT 5\nAutoSleep ##check('Auto sleep','ON','ON','OFF')"},
        EntryCase{1161, "OutFormat",
                  "OutFormat\n#WAIT_PROMPT 5\nOutFormat ##select('Output "
                  "format','binary','ascii','seabird')"},
        EntryCase{1178, "PressScale_2", "PressScale_2"}, EntryCase{1186, "?EXIT!", "?EXIT!"}));

TEST(RunCommandsEntryTest, RunsTheScriptQuietly) {
    RecordingRunner runner;
    EXPECT_EQ(RunCommandsEntry(1126, runner), 7);
    EXPECT_EQ(RunCommandsEntry(1144, runner), 7);
    ASSERT_EQ(runner.runs.size(), 2u);
    EXPECT_EQ(runner.runs[0], std::make_pair(std::string("Help System"), true));
    EXPECT_EQ(runner.runs[1].first.substr(0, 3), "\tcy");
}

TEST(RunCommandsEntryTest, IdsOutsideTheTableAndGroupTitlesDoNothing) {
    RecordingRunner runner;
    for (int id : {0, 1124, 1187, 1253, -1125, 1125, 1134, 1183}) {
        EXPECT_EQ(RunCommandsEntry(id, runner), 0) << id;
    }
    EXPECT_TRUE(runner.runs.empty());
}

TEST(LabelLookupTest, FindsTheFirstCommandWithExactlyThatLabel) {
    ASSERT_NE(CommandsTable::LabelLookup("SaveSetup"), nullptr);
    EXPECT_EQ(CommandsTable::LabelLookup("SaveSetup")->Id(), 1155);
    EXPECT_EQ(CommandsTable::LabelLookup("Deploy")->Id(), 1163);
    EXPECT_EQ(CommandsTable::LabelLookup("CoordSystem")->Id(), 1144);
    EXPECT_EQ(CommandsTable::LabelLookup("savesetup"), nullptr);
    EXPECT_EQ(CommandsTable::LabelLookup("Help"), nullptr);  // a group title, not a command
    EXPECT_EQ(CommandsTable::LabelLookup(""), nullptr);
}

}  // namespace
}  // namespace brennix
