#include "desktop_ui/qt_ui_host.h"

#include <QApplication>
#include <QMessageBox>
#include <algorithm>

#include "platform/qt_text.h"
#include "script/gui/input_dialog.h"
#include "script/gui/script_running_window.h"

namespace brennix {

namespace {

QMessageBox::Icon IconFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kInformation:
            return QMessageBox::Information;
        case MessageIcon::kQuestion:
            return QMessageBox::Question;
        case MessageIcon::kExclamation:
            return QMessageBox::Warning;
        case MessageIcon::kError:
            return QMessageBox::Critical;
        case MessageIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsFor(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::kOk:
            break;
    }
    return QMessageBox::Ok;
}

// Escape and the close box answer Cancel or No; a box with OK alone can only be acknowledged.
MessageResult ResultFor(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageResult::kOk;
        case QMessageBox::Yes:
            return MessageResult::kYes;
        case QMessageBox::No:
            return MessageResult::kNo;
        case QMessageBox::Cancel:
            return MessageResult::kCancel;
        default:
            break;
    }
    switch (buttons) {
        case MessageButtons::kOkCancel:
            return MessageResult::kCancel;
        case MessageButtons::kYesNo:
            return MessageResult::kNo;
        case MessageButtons::kOk:
            break;
    }
    return MessageResult::kOk;
}

}  // namespace

QtUiHost::QtUiHost(Clock& clock, QWidget* owner) : clock_(clock), owner_(owner) {}

QtUiHost::~QtUiHost() {
    for (const QPointer<CDlgScriptRunning>& window : scriptWindows_) {
        delete window.data();
    }
    for (; waitCursorDepth_ > 0; --waitCursorDepth_) {
        QApplication::restoreOverrideCursor();
    }
}

void QtUiHost::SetOwner(QWidget* owner) {
    owner_ = owner;
}

MessageResult QtUiHost::ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) {
    return ShowText(Latin1Text(text), caption, buttons, icon);
}

MessageResult QtUiHost::ShowText(const QString& text, const std::string& caption,
                                 MessageButtons buttons, MessageIcon icon) {
    const QString title = caption.empty() ? QString(kApplicationTitle) : Latin1Text(caption);
    QMessageBox box(IconFor(icon), title, text, ButtonsFor(buttons), owner_);
    box.setDefaultButton(DefaultButton(buttons) == MessageResult::kYes ? QMessageBox::Yes
                                                                       : QMessageBox::Ok);
    return ResultFor(box.exec(), buttons);
}

bool QtUiHost::AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) {
    CDlgInput dialog(rows, owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    results = dialog.Results();
    return true;
}

// Placed over the owner's top-left corner, where it covers the least of the terminal's text.
void QtUiHost::OpenScriptWindow(bool visible, std::function<void()> onStop) {
    auto* window = new CDlgScriptRunning(std::move(onStop), owner_);
    scriptWindows_.emplace_back(window);
    if (owner_) {
        window->move(owner_->geometry().topLeft());
    }
    if (visible) {
        window->show();
    }
}

// The window may be the one whose Stop press is still being handled, so it goes once the event
// loop is back in charge.
void QtUiHost::CloseScriptWindow() {
    if (scriptWindows_.empty()) {
        return;
    }
    const QPointer<CDlgScriptRunning> window = scriptWindows_.back();
    scriptWindows_.pop_back();
    if (window) {
        window->hide();
        window->deleteLater();
    }
}

CDlgScriptRunning* QtUiHost::CurrentScriptWindow() const {
    return scriptWindows_.empty() ? nullptr : scriptWindows_.back().data();
}

// Counted, so nested long operations restore the normal cursor only when the outermost ends.
void QtUiHost::SetWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursorDepth_;
    } else if (waitCursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursorDepth_;
    }
}

void QtUiHost::PumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        PumpMessages(kPumpIdleMs);
    }
}

// Hands the event loop short slices and idles between them, so a long wait neither freezes the
// window nor spins a core.
void QtUiHost::PumpMessages(uint32_t ms) {
    const uint32_t start = clock_.TickCount();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPumpSliceMs);
        const uint32_t elapsed = clock_.TickCount() - start;
        if (elapsed >= ms) {
            return;
        }
        clock_.Sleep(std::min(ms - elapsed, kPumpIdleMs));
    }
}

}  // namespace brennix
