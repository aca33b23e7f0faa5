#pragma once

#include <QString>

class QWidget;

namespace brennix {

// The file names the terminal asks the user for. Tests replace it to answer without a dialog.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // A log file to create or empty, without an overwrite question; empty when cancelled.
    virtual QString LogFileToOpen(QWidget* parent);
    // An existing command file; empty when cancelled.
    virtual QString CommandFileToRun(QWidget* parent);
};

}  // namespace brennix
