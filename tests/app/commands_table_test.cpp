#include "app/commands_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brennix {
namespace {

// The menu inserts every group at the top, so it shows them in reverse of this order.
TEST(CommandsTableTest, SixtyTwoConsecutiveIdsInGroupsWithTheirCountFirstAndLastItems) {
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> labels;
    int id = 1125;
    for (const CommandEntry& entry : CommandsTable::Entries()) {
        EXPECT_EQ(entry.Id(), id++);
        if (entry.IsGroup()) {
            EXPECT_TRUE(entry.Label().empty() && entry.Script().empty());
            titles.emplace_back(entry.GroupTitle());
            labels.emplace_back();
        } else {
            ASSERT_FALSE(labels.empty()) << "a command before the first group";
            labels.back().emplace_back(entry.Label());
        }
    }
    EXPECT_EQ(id, 1125 + 62);
    std::vector<std::string> groups;
    for (size_t i = 0; i < titles.size(); ++i) {
        groups.push_back(titles[i] + " " + std::to_string(labels[i].size()) + " " +
                         labels[i].front() + ".." + labels[i].back());
    }
    EXPECT_EQ(groups, (std::vector<std::string>{
                          "Help 8 Help System..Help Show", "Show 4 Show Conf..Show System",
                          "Setup 16 AvgInterval..SaveSetup", "System 7 SaveSetup..Deploy",
                          "Deploy 8 Deployment..Deploy", "Sensor 5 Sensor..PressScale_2",
                          "Compass 3 Compass..Compass CAL", "SDI-12 3 sdi12..?EXIT!"}));
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
        EntryCase{1142, "CellBegin", "cb\n#WAIT_PROMPT 5\ncb ##input('Cell begin')"},
        EntryCase{1144, "CoordSystem",
                  "\tcy\n#WAIT_PROMPT 5\n cy ##select('Coord system','BEAM','XYZ','ENU')"},
        EntryCase{1158, "AutoSleep",
                  "AutoSleep\n#WAIT_PROMPT 5\nAutoSleep ##check('Auto sleep','ON','ON','OFF')"},
        EntryCase{1186, "?EXIT!", "?EXIT!"}),
    [](const auto& info) { return "Id" + std::to_string(info.param.id); });

TEST(CommandsTableTest, LabelLookupFindsTheFirstCommandWithExactlyThatLabel) {
    ASSERT_NE(CommandsTable::LabelLookup("SaveSetup"), nullptr);
    EXPECT_EQ(CommandsTable::LabelLookup("SaveSetup")->Id(), 1155);
    EXPECT_EQ(CommandsTable::LabelLookup("Deploy")->Id(), 1163);
    EXPECT_EQ(CommandsTable::LabelLookup("savesetup"), nullptr);
    EXPECT_EQ(CommandsTable::LabelLookup("Help"), nullptr);  // a group title, not a command
}

}  // namespace
}  // namespace brennix
