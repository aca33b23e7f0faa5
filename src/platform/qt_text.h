#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace brennix {

// The two kinds of 8-bit text that meet Qt at the boundary of both programs.
//
// What the instrument sends, the terminal shows and the core's messages say is 8-bit text in the
// handheld's ANSI code page, for which Latin-1 stands in: every byte is one character, and the
// conversion never fails. A character Latin-1 has no byte for becomes "?".
QString Latin1Text(std::string_view bytes);
std::string Latin1Bytes(const QString& text);

// A file path as the system gives it (std::filesystem, the environment, Qt's file names) is
// UTF-8, and so is a text that puts a path into a core message whose own words are ASCII: shown
// through Latin-1, "ü" would read "Ã¼".
QString PathText(std::string_view path);

}  // namespace brennix
