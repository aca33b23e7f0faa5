#include "desktop/command_history.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace brennix {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Folds ASCII and Latin-1 letters, the 8-bit text the history holds.
unsigned char FoldCase(unsigned char c) {
    const bool latin1Upper = c >= 0xC0 && c <= 0xDE && c != 0xD7;
    if ((c >= 'A' && c <= 'Z') || latin1Upper) {
        return static_cast<unsigned char>(c + 0x20);
    }
    return c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return FoldCase(static_cast<unsigned char>(x)) == FoldCase(static_cast<unsigned char>(y));
    });
}

// Reads up to kPieceLength characters, stopping after a line feed, as a fixed-size line buffer
// does; false at the end of the file.
bool ReadPiece(std::FILE* file, std::string& piece) {
    piece.clear();
    int c = 0;
    while (piece.size() < CommandHistory::kPieceLength && (c = std::fgetc(file)) != EOF) {
        piece.push_back(static_cast<char>(c));
        if (c == '\n') {
            break;
        }
    }
    return !piece.empty();
}

}  // namespace

void CommandHistory::Add(const std::string& text) {
    if (text.empty()) {
        return;
    }
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const std::string& entry) {
        return EqualIgnoringCase(entry, text);
    });
    if (same != entries_.end()) {
        entries_.erase(same);
    }
    entries_.insert(entries_.begin(), text);
}

bool CommandHistory::Load(const std::string& path) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    entries_.clear();
    std::string piece;
    while (entries_.size() < kMaxSaved && ReadPiece(file.get(), piece)) {
        // A NUL ends the text as well: it cannot be part of a command.
        const std::string command = piece.substr(0, piece.find_first_of(std::string("\r\n\0", 3)));
        if (!command.empty()) {
            entries_.push_back(command);
        }
    }
    return true;
}

bool CommandHistory::Save(const std::string& path) const {
    const File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    const size_t count = std::min(entries_.size(), kMaxSaved);
    bool written = true;
    for (size_t i = 0; i < count; ++i) {
        const std::string& entry = entries_[i];
        written = std::fwrite(entry.data(), 1, entry.size(), file.get()) == entry.size() &&
                  std::fputc('\n', file.get()) != EOF && written;
    }
    return written;
}

}  // namespace brennix
