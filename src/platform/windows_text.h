#pragma once

#include <string>
#include <string_view>

namespace brennix {

// Windows speaks UTF-16 in its wide calls; the program's text is in the system's 8-bit code page
// (what the C runtime's narrow calls take). These convert between the two.
std::wstring WideText(std::string_view text);
std::string NarrowText(std::wstring_view text);

// The system's words for an error code of GetLastError() or WSAGetLastError(), without the full
// stop and line end it ends with, so that more words can follow after a colon.
std::string SystemErrorText(unsigned long error);

}  // namespace brennix
