#pragma once

#include <string>
#include <string_view>

namespace brennix {

// Character and text rules shared by the parsers and the engine. ASCII only: bytes above 0x7F
// are never letters, so 8-bit text behaves the same whatever the locale.
bool IsAsciiLetterOrDigit(char c);
bool IsAsciiDigit(char c);
// A letter, digit or underscore: the characters of variable and target names.
bool IsNameChar(char c);
bool IsBlank(char c);
bool IsQuote(char c);

std::string_view TrimWhiteSpace(std::string_view text);
std::string ToUpperAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// True when text is at least two characters long and starts and ends with the same quote.
bool IsEnclosedInQuotes(std::string_view text);

// Reads a leading decimal integer the way atoi does (blanks, sign, digits); anything else reads
// as 0. Values beyond int are clamped instead of overflowing.
int ParseLeadingInt(std::string_view text);

}  // namespace brennix
