#include <shlobj.h>
#include <windows.h>

#include "platform/ostrel_data_folder.h"
#include "platform/windows_text.h"

namespace brennix {

std::string OstrelDataFolder() {
    wchar_t* documents = nullptr;
    std::wstring folder;
    if (::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents) == S_OK) {
        folder = documents;
    }
    ::CoTaskMemFree(documents);
    // Without a documents folder (a service account), the data goes beside where the program runs.
    return NarrowText(folder.empty() ? L"OstrelData" : folder + L"\\OstrelData");
}

}  // namespace brennix
