#include "desktop/worker_ui_host.h"

#include <QMetaObject>
#include <QThread>

namespace brennix {

WorkerUiHost::WorkerUiHost(UiHost& windowHost, QObject& context, Clock& clock)
    : windowHost_(windowHost), context_(context), clock_(clock) {}

MessageResult WorkerUiHost::ShowMessage(const std::string& text, const std::string& caption,
                                        MessageButtons buttons, MessageIcon icon) {
    MessageResult result = MessageResult::kCancel;
    CallOnWindowThread(
        [&] { result = windowHost_.ShowMessage(text, caption, buttons, icon); });
    return result;
}

bool WorkerUiHost::AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) {
    bool answered = false;
    CallOnWindowThread([&] { answered = windowHost_.AskInput(rows, results); });
    return answered;
}

// A worker runs no scripts; a script window would have nobody to stop.
void WorkerUiHost::OpenScriptWindow(bool, std::function<void()>) {}

void WorkerUiHost::CloseScriptWindow() {}

ReplaceAnswer WorkerUiHost::ConfirmFileReplace(const std::string& path) {
    ReplaceAnswer answer = ReplaceAnswer::kNo;
    CallOnWindowThread([&] { answer = windowHost_.ConfirmFileReplace(path); });
    return answer;
}

void WorkerUiHost::SetWaitCursor(bool on) {
    UiHost& host = windowHost_;
    PostToWindowThread(&context_, [&host, on] { host.SetWaitCursor(on); });
}

void WorkerUiHost::PumpMessages(uint32_t ms) {
    clock_.Sleep(ms);
}

void WorkerUiHost::CallOnWindowThread(const std::function<void()>& call) {
    if (QThread::currentThread() == context_.thread()) {
        call();
        return;
    }
    // While the window thread answers, the worker is blocked outside the clock.
    const OutsideClockWait outside(clock_);
    QMetaObject::invokeMethod(&context_, call, Qt::BlockingQueuedConnection);
}

void PostToWindowThread(QObject* context, std::function<void()> call) {
    QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
}

}  // namespace brennix
