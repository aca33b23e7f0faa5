#include "script/commands_table.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace brennix {
namespace {

// Ids are the menu's, unique and in order; a group has a title and nothing to send.
TEST(CommandsTableTest, IdsRunInOrderAndGroupsSendNothing) {
    const auto entries = CommandsTable::Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const CommandEntry& entry = entries[i];
        EXPECT_EQ(CommandsTable::FindById(entry.Id()), &entry);
        if (i > 0) {
            EXPECT_EQ(entry.Id(), entries[i - 1].Id() + 1);
        }
        EXPECT_EQ(entry.IsGroup(), !entry.GroupTitle().empty());
        EXPECT_EQ(entry.IsGroup(), entry.Script().empty());
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
