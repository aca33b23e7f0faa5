#pragma once

#include <QDialog>
#include <functional>

class QPushButton;

namespace brennix {

// Tells the user a script is executing; its Stop button asks the engine to cancel. Stop, Escape and
// the window's close box all only ask: the window stays until its owner hides and deletes it when
// the run ends.
class CDlgScriptRunning : public QDialog {
    Q_OBJECT
  public:
    CDlgScriptRunning(std::function<void()> onStop, QWidget* parent = nullptr);

    QPushButton* StopButton() const { return stopButton_; }

  public slots:
    // Enter does nothing: only Stop may interrupt a script.
    void accept() override {}
    void reject() override;

  private:
    std::function<void()> onStop_;
    QPushButton* stopButton_ = nullptr;
};

}  // namespace brennix
