#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brennix {

// The terminal's list of sent commands, most recent first, and its file "cmd.ini": one command per
// line, at most kMaxSaved lines written and loaded. Lines longer than kPieceLength characters come
// back as several entries, as the history has always been read in fixed-size pieces.
class CommandHistory {
  public:
    static constexpr size_t kMaxSaved = 30;
    static constexpr size_t kPieceLength = 511;
    static constexpr const char* kFileName = "cmd.ini";

    const std::vector<std::string>& Entries() const { return entries_; }

    // Moves text to the top, removing an entry that equals it ignoring case. Empty text is ignored.
    void Add(const std::string& text);

    // A file that cannot be read leaves the history as it was; true when the file was read.
    bool Load(const std::string& path);
    // A file that cannot be written is skipped; true when every line was written.
    bool Save(const std::string& path) const;

  private:
    std::vector<std::string> entries_;
};

}  // namespace brennix
