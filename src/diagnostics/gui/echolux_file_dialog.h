#pragma once

#include <QString>

#include "platform/settings.h"

class QWidget;

namespace brennix {

// The recording files the Echolux window asks for, in the folder used last. Tests replace it to
// answer without a dialog.
class EcholuxFileDialog {
  public:
    explicit EcholuxFileDialog(Settings& settings) : settings_(settings) {}
    virtual ~EcholuxFileDialog() = default;

    // An existing recording to play back; empty when cancelled.
    virtual QString RecordingToOpen(QWidget* parent);
    // A recording to create (with ".ecx" added when no suffix was typed); empty when cancelled.
    virtual QString RecordingToSave(QWidget* parent);

  private:
    QString Ask(QWidget* parent, bool open, const QString& caption);

    Settings& settings_;
};

}  // namespace brennix
