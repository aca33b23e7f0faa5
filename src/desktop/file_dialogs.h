#pragma once

#include <QString>

class QWidget;

namespace brennix {

// The file names the terminal asks the user for. Tests replace it to answer without a dialog.
// Each dialog starts in the folder last used for its kind of file, as long as it still exists.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // A log file to create or empty, without an overwrite question; empty when cancelled.
    virtual QString LogFileToOpen(QWidget* parent);
    // An existing command file; empty when cancelled.
    virtual QString CommandFileToRun(QWidget* parent);

    // Where the dialog for a kind of file (its settings key) starts: the folder last used when it
    // still exists, else the Documents folder, else the home folder.
    static QString StartFolder(const char* key);
    static void RememberFolder(const char* key, const QString& chosenFile);
};

}  // namespace brennix
