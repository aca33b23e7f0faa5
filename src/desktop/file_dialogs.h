#pragma once

#include <QString>

#include "platform/settings.h"

class QWidget;

namespace brennix {

// The file names the terminal asks the user for. Tests replace it to answer without a dialog.
// Each dialog starts in the folder last used for its kind of file, as long as it still exists.
class FileDialogs {
  public:
    explicit FileDialogs(Settings& settings) : settings_(settings) {}
    virtual ~FileDialogs() = default;

    // A log file to create or empty, without an overwrite question; empty when cancelled.
    virtual QString LogFileToOpen(QWidget* parent);
    // An existing command file; empty when cancelled.
    virtual QString CommandFileToRun(QWidget* parent);

  private:
    Settings& settings_;
};

}  // namespace brennix
