#pragma once

#include <string>
#include <string_view>

namespace brennix {

// The program's text is in the system's 8-bit encoding (the ANSI code page); Windows speaks
// UTF-16 in its wide calls. These convert at that boundary.
std::wstring WideText(std::string_view text);
std::string SystemText(std::wstring_view text);

// The system's words for an error code of GetLastError or WSAGetLastError, without the full stop
// and line end Windows ends them with, so that more words can follow.
std::string SystemErrorText(unsigned long error);

}  // namespace brennix
