#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "script/script_ui_host.h"

namespace brennix {

class CDlgScriptRunning;

// The desktop program's UiHost: message boxes, the Input dialog, the script-running window and the
// wait cursor, all owned by the terminal window; pumping runs the Qt event loop for the time
// asked. The one place of the program that runs the event loop from within a call.
class QtUiHost : public ScriptUiHost {
  public:
    static constexpr const char* kApplicationTitle = "Brennix";
    // Pumping hands the event loop at most this long at a time, then idles briefly on the clock.
    static constexpr int kPumpSliceMs = 10;
    static constexpr uint32_t kPumpIdleMs = 5;

    explicit QtUiHost(Clock& clock, QWidget* owner = nullptr);
    ~QtUiHost() override;
    QtUiHost(const QtUiHost&) = delete;
    QtUiHost& operator=(const QtUiHost&) = delete;

    void SetOwner(QWidget* owner);

    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    // The same box for a text the window has already made a QString of: one that holds a path
    // (see PathText), which the 8-bit text of ShowMessage would garble.
    MessageResult ShowText(const QString& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon);
    bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) override;
    void OpenScriptWindow(bool visible, std::function<void()> onStop) override;
    void CloseScriptWindow() override;
    void SetWaitCursor(bool on) override;
    void PumpMessages(uint32_t ms) override;
    // Keeps the window alive until done() says so: a job told to stop, which may still be
    // waiting for an answer from this thread.
    void PumpUntil(const std::function<bool()>& done);

    // The innermost script-running window, shown or not; null when no script runs.
    CDlgScriptRunning* CurrentScriptWindow() const;

  private:
    Clock& clock_;
    QPointer<QWidget> owner_;
    // Innermost last; a window its owner destroyed reads as null.
    std::vector<QPointer<CDlgScriptRunning>> scriptWindows_;
    int waitCursorDepth_ = 0;
};

}  // namespace brennix
