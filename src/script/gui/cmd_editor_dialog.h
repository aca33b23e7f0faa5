#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "platform/ui_host.h"

class QPlainTextEdit;

namespace brennix {

// "CMD editor": write, open, save and run a command file. The editor keeps no file name: the text
// lives in the edit box, and its modified flag records unsaved changes.
class CDlgCmdEditor : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kOpenFilter = "Command files (*.cmd);;Log files (*.log)";
    static constexpr const char* kSaveFilter = "Command files (*.cmd)";
    static constexpr const char* kDefaultSuffix = "cmd";

    // Runs the text as the terminal runs a typed one, and calls ran once the line is free again
    // (at once when the text could not start).
    using RunText = std::function<void(const std::string& text, const std::function<void()>& ran)>;

    CDlgCmdEditor(RunText run, UiHost& ui, QWidget* parent = nullptr);

    QPlainTextEdit* Editor() const { return editor_; }

  public slots:
    void Open();
    void Save();
    void Run();
    // Close, Escape, the close box and OK: asks before unsaved changes are lost.
    void accept() override;
    void reject() override;

  protected:
    // The file dialogs; an empty path means the user cancelled. Tests replace them.
    virtual QString ChooseFileToOpen();
    virtual QString ChooseFileToSave();

  private:
    void Load(const QString& path);
    bool Store(const QString& path);
    // Asks question when the text has unsaved changes; true when they may be lost.
    bool ConfirmDiscard(const std::string& question);

    RunText run_;
    UiHost& ui_;
    QPlainTextEdit* editor_ = nullptr;
};

}  // namespace brennix
