#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "platform/clock.h"
#include "platform/ui_host.h"

namespace brennix {

// The UiHost a worker thread uses in the desktop program. Every question (message boxes, input,
// the replace question) is carried to the window thread with a blocking queued call and answered
// there by the window's own host; the wait cursor goes across with a queued call. Pumping never
// runs another thread's event loop: it only waits on the clock. Called from the window thread
// itself, it simply answers in place.
class WorkerUiHost : public UiHost {
  public:
    // windowHost and context live on the window thread; context outlives every worker's call.
    WorkerUiHost(UiHost& windowHost, QObject& context, Clock& clock);

    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) override;
    void OpenScriptWindow(bool visible, std::function<void()> onStop) override;
    void CloseScriptWindow() override;
    ReplaceAnswer ConfirmFileReplace(const std::string& path) override;
    void SetWaitCursor(bool on) override;
    void PumpMessages(uint32_t ms) override;

  private:
    // Runs call on the window thread and waits for it to return.
    void CallOnWindowThread(const std::function<void()>& call);

    UiHost& windowHost_;
    QObject& context_;
    Clock& clock_;
};

// Runs call on the thread of context without waiting: a worker's status line or progress.
void PostToWindowThread(QObject* context, std::function<void()> call);

}  // namespace brennix
