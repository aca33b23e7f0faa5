#pragma once

#include <QString>

#include "platform/settings.h"

namespace brennix {

// Where a file dialog for a kind of file starts: the folder last used for it while it still
// exists, else the user's documents, else home.
QString StartFolder(const Settings& settings, const TextSetting& folder);
// Remembers the folder of the file chosen, unless none was.
void RememberFolder(Settings& settings, const TextSetting& folder, const QString& chosenFile);

}  // namespace brennix
