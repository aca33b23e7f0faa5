#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace brennix {

class CScriptEngine;

// One entry of the built-in Commands menu: a group title (">Title") or a command
// ("Label|script", or a text that is both label and script).
class CommandEntry {
  public:
    constexpr CommandEntry(int id, std::string_view text) : id_(id), text_(text) {}

    int Id() const { return id_; }
    std::string_view Text() const { return text_; }
    bool IsGroup() const;
    // The pop-up's title; empty for a command.
    std::string_view GroupTitle() const;
    // The text before the first '|'; empty for a group.
    std::string_view Label() const;
    // The text after the first '|', or the whole text; lines are separated by '\n'.
    std::string_view Script() const;

  private:
    int id_;
    std::string_view text_;
};

class CommandsTable {
  public:
    static constexpr int kFirstId = 1125;

    // All entries in menu-building order, ids kFirstId and up.
    static std::span<const CommandEntry> Entries();
    static const CommandEntry* FindById(int id);
    // The first command whose label equals label exactly (case-sensitive); groups never match.
    static const CommandEntry* LabelLookup(std::string_view label);
};

// Runs the command with this id as a quiet script. Ids outside the table and group titles do
// nothing and give 0; otherwise the runner's result.
int RunCommandsEntry(int id, CScriptEngine& engine);

}  // namespace brennix
