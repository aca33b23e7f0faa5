#pragma once

#include <QStatusBar>
#include <QString>
#include <cstdint>

class QLabel;

namespace brennix {

// The terminal's status bar: the connection and its rate, the RS-485 address, the log file and
// whether a script or other work is on the line, each in a field of its own.
class TerminalStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit TerminalStatusBar(QWidget* parent = nullptr);

    // An empty port: not connected.
    void ShowConnection(const QString& port, uint32_t rate);
    // 0 is plain RS-232.
    void ShowAddress(uint32_t address);
    // An empty path: no log. failed: writing it has failed, so it is incomplete.
    void ShowLog(const QString& path, bool failed);
    // lineInUse: a job or an exchange is on the line ("Busy").
    void ShowScript(bool scriptRunning, bool lineInUse);

    QString ConnectionText() const;
    QString AddressText() const;
    QString LogText() const;
    QString ScriptText() const;

  private:
    QLabel* AddField(const char* name, int stretch);

    QLabel* connection_;
    QLabel* address_;
    QLabel* log_;
    QLabel* script_;
};

}  // namespace brennix
