#pragma once

#include <string>
#include <string_view>

namespace brennix {

// The extension a downloaded file gets from the instrument model (".mrv" for a Mirovan, ...);
// null for a code that is not a model.
const char* DownloadExtension(int model);

// Whether a recorder file name can be used as a file name inside the download folder as it is.
// The name comes from the instrument and is data: a name that is empty or all dots, or that holds
// a path separator, a drive colon or a control character, could land outside the folder or
// nowhere sensible, and is refused.
bool IsUsableFileName(std::string_view name);

// The name with every byte outside printable ASCII written as \xNN, for messages.
std::string PrintableName(std::string_view name);

}  // namespace brennix
