#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/clock.h"
#include "platform/ui_host.h"

namespace brennix {

class CDlgScriptRunning;

// The desktop program's UiHost: message boxes, the Input dialog, the script-running window, the
// replace question and the wait cursor, all owned by the terminal window; pumping runs the Qt
// event loop for the time asked.
class QtUiHost : public UiHost {
public:
    static constexpr const char* kApplicationTitle = "Brennix";

    explicit QtUiHost(Clock& clock, QWidget* owner = nullptr);
    ~QtUiHost() override;

    void SetOwner(QWidget* owner);

    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) override;
    void OpenScriptWindow(bool visible, std::function<void()> onStop) override;
    void CloseScriptWindow() override;
    ReplaceAnswer ConfirmFileReplace(const std::string& path) override;
    void SetWaitCursor(bool on) override;
    void PumpMessages(uint32_t ms) override;

private:
    Clock& clock_;
    QPointer<QWidget> owner_;
    std::vector<CDlgScriptRunning*> scriptWindows_;
};

}  // namespace brennix
