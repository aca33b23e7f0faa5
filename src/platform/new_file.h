#pragma once

#include <cstdio>
#include <string>

namespace brennix {

// Creates the file for binary writing only when no file of that name exists, in one step, so
// that nothing already kept there is written over; null with errno set otherwise (EEXIST when
// it exists). The C runtime's "x" mode does this on Linux but is ignored on Windows.
std::FILE* OpenNewFile(const std::string& path);

}  // namespace brennix
