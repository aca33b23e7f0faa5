#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/brennix_app.h"
#include "app/settings_keys.h"
#include "app/start_options.h"
#include "app/terminal_window.h"

namespace brennix::test {

// Keeps one test program's settings and data folder apart from the user's, and from the previous
// test case: every case starts as on a fresh machine.
class ShellEnvironment {
  public:
    ShellEnvironment() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
    }

    // Forgets every setting and the data folder's files.
    void Reset() {
        QSettings(settings::kOrganisation, settings::kApplication).clear();
        QDir(DataFolder()).removeRecursively();
        QDir().mkpath(DataFolder());
    }

    QString DataFolder() const { return folder_.filePath(QStringLiteral("data")); }
    QString FilePath(const QString& name) const { return folder_.filePath(name); }

    // The simulated instrument, opened directly at start.
    StartOptions Options() const {
        StartOptions options;
        options.simulate = true;
        options.port = "SIM";
        options.baudRate = 9600;
        options.dataFolder = DataFolder();
        return options;
    }

  private:
    QTemporaryDir folder_;
};

// Runs action on the next modal window to come up (a message box or a dialog), from the event
// loop that window runs. Gives up silently after timeoutMs, so a missing window fails the test's
// own checks instead of hanging it.
inline void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs = 10000) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, action, timeoutMs] {
        *elapsed += timer->interval();
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && *elapsed < timeoutMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (modal != nullptr) {
            action(modal);
        }
    });
    timer->start(10);
}

// Acknowledges the next message box and records its text and caption.
struct SeenMessage {
    QString text;
    QString caption;
};
inline std::shared_ptr<SeenMessage> AcknowledgeNextMessage() {
    auto seen = std::make_shared<SeenMessage>();
    OnNextModal([seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        seen->text = box->text();
        seen->caption = box->windowTitle();
        box->button(box->standardButtons() & QMessageBox::Ok ? QMessageBox::Ok
                                                             : QMessageBox::Cancel)
            ->click();
    });
    return seen;
}

// Brings the terminal to the front, where it polls the port.
inline bool ActivateTerminal(CDlgTerminal& terminal) {
    terminal.activateWindow();
    terminal.raise();
    return QTest::qWaitForWindowActive(&terminal);
}

}  // namespace brennix::test
