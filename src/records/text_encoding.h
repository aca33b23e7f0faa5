#pragma once

#include <string>
#include <string_view>

namespace brennix {

// The program's 8-bit text (the instrument's bytes, Latin-1) as UTF-8, for the record's files.
std::string Utf8FromLatin1(std::string_view text);

// Base64 of the bytes, for an image inside an HTML page.
std::string Base64(std::string_view bytes);

}  // namespace brennix
